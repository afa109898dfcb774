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
install(FILES
  ${PROJECT_SOURCE_DIR}/platform/win32/include/inkline/win32.h
  ${PROJECT_SOURCE_DIR}/platform/win32/include/inkline/afx.h
  ${PROJECT_SOURCE_DIR}/platform/win32/include/inkline/win32_sink.h
  ${PROJECT_SOURCE_DIR}/platform/win32/include/inkline/win32_fonts.h
  ${PROJECT_SOURCE_DIR}/platform/win32/include/inkline/user_chars.h
  ${PROJECT_SOURCE_DIR}/platform/win32/include/inkline/label_codes.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/inkline)
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
