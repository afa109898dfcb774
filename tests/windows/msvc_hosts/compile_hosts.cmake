# The host-compile test. Installs the Windows build into a fresh prefix and
# builds installed_headers_host.cpp against the installed headers as a host
# of Microsoft's conventions builds it (msvc_host_flags.cmake), linked by
# lld-link against the installed inkline.lib and inkhost.lib: in C++03 as
# Visual C++ 2005 compiles it and in C++17, with the library's headers alone
# and, as a host using the framework's shared library, before a stand-in
# <afxwin.h>. Each host runs under Wine and must pass all its checks. Every
# installed header is compiled in both modes too, and the stand-in must
# refuse a <windows.h> included before it, or it would prove nothing.
#   cmake -DBUILD=... -DSOURCE=... -DWORK=... -DCLANG=... -DLLD_LINK=...
#         -DDLLTOOL=... -DRUN=... -DPREFIX=... -P compile_hosts.cmake
set(here ${SOURCE}/tests/windows/msvc_hosts)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${what} failed (${result}):\n${out}")
  endif()
endfunction()

set(installed ${WORK}/prefix)
run("installing the build" ${CMAKE_COMMAND} --install ${BUILD} --prefix ${installed})
run("kernel32.lib" ${DLLTOOL} -m i386 -k -d ${SOURCE}/tests/windows/abi/kernel32.def
    -l ${WORK}/kernel32.lib)
run("gdi32.lib" ${DLLTOOL} -m i386 -k -d ${here}/gdi32.def -l ${WORK}/gdi32.lib)

include(${here}/msvc_host_flags.cmake)
set(compile ${CLANG} ${INKLINE_MSVC_HOST_FLAGS} -I${installed}/include)
set(cxx03 ${INKLINE_MSVC_HOST_CXX03})
set(cxx17 ${INKLINE_MSVC_HOST_CXX17})

# The stand-in refuses a <windows.h> included before it.
file(WRITE ${WORK}/windows_first.cpp "#include <windows.h>\n#include <afxwin.h>\n")
execute_process(COMMAND ${compile} ${cxx17} -D_AFXDLL -I${here}/mfc -fsyntax-only
                        ${WORK}/windows_first.cpp
                RESULT_VARIABLE result ERROR_VARIABLE out)
if(result EQUAL 0 OR NOT out MATCHES "WINDOWS.H already included")
  message(FATAL_ERROR "the stand-in <afxwin.h> let an earlier <windows.h> through:\n${out}")
endif()

# Every installed header in one file (the palette's needs a C++ library).
file(GLOB_RECURSE headers RELATIVE ${installed}/include ${installed}/include/inkline/*.h)
list(REMOVE_ITEM headers inkline/host/palette.h)
list(LENGTH headers header_count)
set(all "")
foreach(h IN LISTS headers)
  string(APPEND all "#include <${h}>\n")
endforeach()
file(WRITE ${WORK}/all_headers.cpp "${all}")
foreach(mode cxx03 cxx17)
  run("every installed header in ${mode}" ${compile} ${${mode}} -fsyntax-only
      ${WORK}/all_headers.cpp)
endforeach()

foreach(mode cxx03 cxx17)
  run("no_crt.cpp in ${mode}" ${compile} ${${mode}} -c ${here}/no_crt.cpp
      -o ${WORK}/no_crt_${mode}.obj)
  foreach(order plain framework)
    set(host ${mode}_${order})
    set(defines)
    if(order STREQUAL "framework")
      set(defines -D_AFXDLL -DINKLINE_HOST_FRAMEWORK -I${here}/mfc)
    endif()
    run("compiling the ${host} host" ${compile} ${${mode}} ${defines} -c ${here}/installed_headers_host.cpp
        -o ${WORK}/${host}.obj)
    run("linking the ${host} host" ${LLD_LINK} /nologo /entry:HostMain /subsystem:console
        /nodefaultlib /out:${installed}/bin/host_${host}.exe ${WORK}/${host}.obj
        ${WORK}/no_crt_${mode}.obj ${installed}/lib/inkline.lib ${installed}/lib/inkhost.lib
        ${WORK}/kernel32.lib ${WORK}/gdi32.lib)
    execute_process(COMMAND ${RUN} ${PREFIX} ${installed}/bin/host_${host}.exe
                    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT result EQUAL 0 OR NOT out MATCHES "every check passed")
      message(FATAL_ERROR "the ${host} host exited with ${result}:\n${out}${err}")
    endif()
    message(STATUS "${host}: ${out}")
  endforeach()
endforeach()
message(STATUS "${header_count} installed headers compile in C++03 and C++17")
