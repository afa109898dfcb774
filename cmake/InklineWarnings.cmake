# Warnings for the project's own code: on, and none tolerated in CI.
function(inkline_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic
                                           -Wno-missing-field-initializers)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -Wshadow=local)
  endif()
  if(DEFINED ENV{CI})
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
