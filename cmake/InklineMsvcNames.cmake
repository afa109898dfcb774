# The names a host built by Microsoft's compiler sees (Windows build only):
# cmake/msvc_names.py gives a DLL's C++ exports their MSVC names, as aliases
# in a .def file the DLL is linked with, and writes .def files for import
# libraries (see that script).
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_program(INKLINE_CLANGXX NAMES clang++ clang++-14 REQUIRED)
find_program(INKLINE_CXXFILT NAMES c++filt REQUIRED)
find_program(INKLINE_MINGW_OBJDUMP NAMES ${INKLINE_MINGW_TRIPLE}-objdump objdump REQUIRED)
find_program(INKLINE_MINGW_DLLTOOL NAMES ${INKLINE_MINGW_TRIPLE}-dlltool REQUIRED)
find_program(INKLINE_LLVM_DLLTOOL NAMES llvm-dlltool llvm-dlltool-14 REQUIRED)

# inkline_msvc_names(OBJECTS_TARGET DLL name.dll PREFIX out/prefix
#                    HEADERS inkline/x.h ... SCOPES Class function ...)
# writes PREFIX-link.def, PREFIX-msvc.def and PREFIX-import.def.
function(inkline_msvc_names objects)
  cmake_parse_arguments(A "" "DLL;PREFIX" "HEADERS;SCOPES" ${ARGN})
  # The names are read from the objects' export directives, which an object
  # optimized at link time holds only beside its machine code: such objects
  # carry both (the DLL is still optimized at link time).
  target_compile_options(${objects} PRIVATE -ffat-lto-objects)
  set(args)
  foreach(h IN LISTS A_HEADERS)
    list(APPEND args --header ${h})
  endforeach()
  foreach(s IN LISTS A_SCOPES)
    list(APPEND args --scope ${s})
  endforeach()
  foreach(d ${PROJECT_SOURCE_DIR}/include ${PROJECT_SOURCE_DIR}/platform/win32/include
            ${PROJECT_SOURCE_DIR}/platform/host/include)
    list(APPEND args --include ${d})
  endforeach()
  set(script ${PROJECT_SOURCE_DIR}/cmake/msvc_names.py)
  add_custom_command(
    OUTPUT ${A_PREFIX}-link.def ${A_PREFIX}-msvc.def ${A_PREFIX}-import.def
    COMMAND ${Python3_EXECUTABLE} ${script}
      --objdump ${INKLINE_MINGW_OBJDUMP} --cxxfilt ${INKLINE_CXXFILT} --clang ${INKLINE_CLANGXX}
      --dll ${A_DLL} ${args}
      --link-def ${A_PREFIX}-link.def --msvc-def ${A_PREFIX}-msvc.def
      --import-def ${A_PREFIX}-import.def
      $<TARGET_OBJECTS:${objects}>
    DEPENDS ${objects} $<TARGET_OBJECTS:${objects}> ${script}
    COMMENT "MSVC names of ${A_DLL}"
    COMMAND_EXPAND_LISTS VERBATIM)
endfunction()

# An import library from a .def file: GNU (imports under the .def's names,
# as mapped with ==) or MSVC format (for hosts linked by link.exe/lld-link).
function(inkline_import_library target def output format)
  if(format STREQUAL "msvc")
    set(command ${INKLINE_LLVM_DLLTOOL} -m i386 -d ${def} -l ${output})
  else()
    set(command ${INKLINE_MINGW_DLLTOOL} -d ${def} -l ${output})
  endif()
  add_custom_command(OUTPUT ${output} COMMAND ${command} DEPENDS ${def} VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${output})
endfunction()

# inkline_host_import_libraries(VAR TARGET PREFIX out/prefix
#                               FONTLIB dll COLORLIB dll UTILLIB dll)
# The import libraries (GNU format) through which a module imports the
# host's functions under their MSVC names, each group from the DLL named for
# it (without .dll): the font library (GetMapFontLib, StringLength), the
# colour library (GetColorNoByCOLORREF) and the utility library
# (StringCNum). Sets VAR to the libraries; TARGET builds them.
function(inkline_host_import_libraries var target)
  cmake_parse_arguments(A "" "PREFIX;FONTLIB;COLORLIB;UTILLIB" "" ${ARGN})
  set(names ${INKLINE_HOSTLIB_IMPORT_DEF})
  set(script ${PROJECT_SOURCE_DIR}/cmake/host_imports.py)
  set(dlls ${A_FONTLIB} ${A_COLORLIB} ${A_UTILLIB})
  list(REMOVE_DUPLICATES dlls)
  set(defs)
  set(libs)
  foreach(dll IN LISTS dlls)
    list(APPEND defs ${A_PREFIX}-${dll}.def)
    list(APPEND libs ${A_PREFIX}-lib${dll}.a)
    add_custom_command(OUTPUT ${A_PREFIX}-lib${dll}.a
      COMMAND ${INKLINE_MINGW_DLLTOOL} -d ${A_PREFIX}-${dll}.def -l ${A_PREFIX}-lib${dll}.a
      DEPENDS ${A_PREFIX}-${dll}.def VERBATIM)
  endforeach()
  add_custom_command(OUTPUT ${defs}
    COMMAND ${Python3_EXECUTABLE} ${script} --import-def ${names} --prefix ${A_PREFIX}
      --group ${A_FONTLIB}:GetMapFontLib,StringLength
      --group ${A_COLORLIB}:GetColorNoByCOLORREF
      --group ${A_UTILLIB}:StringCNum
    DEPENDS ${names} ${script}
    COMMENT "Host imports of ${target}"
    VERBATIM)
  add_custom_target(${target} DEPENDS ${libs})
  add_dependencies(${target} inkline_hostlib_names)
  set(${var} ${libs} PARENT_SCOPE)
endfunction()
