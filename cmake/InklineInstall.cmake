# Installs the headers, the libraries, the inkline command, a CMake package
# (find_package(inkline) gives inkline::inkline and inkline::hostkit) and
# pkg-config files (inkline, inkline-hostkit).
include(CMakePackageConfigHelpers)
include(${CMAKE_CURRENT_LIST_DIR}/InklineHostKit.cmake)

set_target_properties(inkline_win32 PROPERTIES EXPORT_NAME win32)
set_target_properties(inkline_hostlib PROPERTIES EXPORT_NAME hostlib)
# Every shared library carries the project's version.
foreach(lib inkline_win32 inkline_hostlib)
  get_target_property(lib_type ${lib} TYPE)
  if(lib_type STREQUAL "SHARED_LIBRARY")
    set_target_properties(${lib} PROPERTIES VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
  endif()
endforeach()

set(INKLINE_INSTALLED_TARGETS inkline inkline_win32 inkline_hostlib)
if(TARGET inkline_user_chars)
  list(APPEND INKLINE_INSTALLED_TARGETS inkline_user_chars)
endif()
if(TARGET inkline_hostkit)
  list(APPEND INKLINE_INSTALLED_TARGETS inkline_hostkit)
endif()
install(TARGETS ${INKLINE_INSTALLED_TARGETS}
  EXPORT inklineTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The command finds its libraries beside it, in ../lib.
if(TARGET inkline_command)
  set_target_properties(inkline_command PROPERTIES
    INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")
  install(TARGETS inkline_command RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(TARGETS inkline_gdal_reader LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/inkline)
endif()

install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/inkline
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} FILES_MATCHING PATTERN "*.h")
# The Windows types (the system's own on Windows) and the user-defined
# characters; elsewhere also the portable layer's own headers.
set(INKLINE_PLATFORM_HEADERS win32.h user_chars.h)
if(NOT WIN32)
  list(APPEND INKLINE_PLATFORM_HEADERS afx.h win32_sink.h win32_fonts.h label_codes.h)
endif()
list(TRANSFORM INKLINE_PLATFORM_HEADERS PREPEND ${PROJECT_SOURCE_DIR}/platform/win32/include/inkline/)
install(FILES ${INKLINE_PLATFORM_HEADERS} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/inkline)
# The import libraries of hosts built by Microsoft's compiler.
if(WIN32)
  install(FILES ${PROJECT_BINARY_DIR}/bin/inkline.lib ${INKLINE_HOSTLIB_MSVC_LIB}
    DESTINATION ${CMAKE_INSTALL_LIBDIR})
endif()
install(FILES
  ${PROJECT_SOURCE_DIR}/platform/host/include/inkline/host/hostlib.h
  ${PROJECT_SOURCE_DIR}/platform/host/include/inkline/host/palette.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/inkline/host)

set(INKLINE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/inkline)
install(EXPORT inklineTargets NAMESPACE inkline:: DESTINATION ${INKLINE_CMAKE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/inklineConfig.cmake.in
  ${PROJECT_BINARY_DIR}/inklineConfig.cmake INSTALL_DESTINATION ${INKLINE_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/inklineConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/inklineConfig.cmake
  ${PROJECT_BINARY_DIR}/inklineConfigVersion.cmake DESTINATION ${INKLINE_CMAKE_DIR})

configure_file(${PROJECT_SOURCE_DIR}/cmake/inkline.pc.in ${PROJECT_BINARY_DIR}/inkline.pc @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/cmake/inkline-hostkit.pc.in ${PROJECT_BINARY_DIR}/inkline-hostkit.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/inkline.pc ${PROJECT_BINARY_DIR}/inkline-hostkit.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
