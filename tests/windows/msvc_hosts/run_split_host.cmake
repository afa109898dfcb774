# Runs the host whose font and colour libraries are DLLs of their own: the
# inkline.dll beside it must import from those two DLLs and not from the
# reference host library, and the host must load it and pass its checks.
#   cmake -DDIR=... -DOBJDUMP=... -DRUN=... -DPREFIX=... -P run_split_host.cmake
execute_process(COMMAND ${OBJDUMP} -p ${DIR}/inkline.dll OUTPUT_VARIABLE dump RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "objdump of ${DIR}/inkline.dll failed")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
foreach(wanted mapfonts.dll mapcolors.dll)
  if(NOT imports MATCHES "${wanted}")
    message(FATAL_ERROR "inkline.dll does not import from ${wanted}: ${imports}")
  endif()
endforeach()
if(imports MATCHES "inkhost")
  message(FATAL_ERROR "inkline.dll still imports from the reference host library: ${imports}")
endif()
execute_process(COMMAND ${RUN} ${PREFIX} ${DIR}/split_host.exe
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0 OR NOT out MATCHES "every check passed")
  message(FATAL_ERROR "split_host.exe exited with ${result}:\n${out}${err}")
endif()
message(STATUS "${imports}; ${out}")
