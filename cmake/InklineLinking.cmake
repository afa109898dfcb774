# Link settings that differ between the ELF and the Windows builds.

# Shared libraries must resolve every symbol when they are linked. PE
# linkers always do; ELF linkers need asking.
function(inkline_no_undefined target)
  if(NOT WIN32)
    target_link_options(${target} PRIVATE -Wl,--no-undefined)
  endif()
endfunction()

# A Windows DLL is named as its users load it: no "lib" prefix.
function(inkline_windows_dll_name target name)
  if(WIN32)
    set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${name} IMPORT_PREFIX "")
  endif()
endfunction()
