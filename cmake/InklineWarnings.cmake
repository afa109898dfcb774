# Warnings for the project's own code: on, and none tolerated in CI.
function(inkline_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow=local
                                           -Wno-missing-field-initializers)
  if(DEFINED ENV{CI})
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
