# Installs the headers, the libraries, a CMake package (find_package(inkline)
# gives inkline::inkline) and a pkg-config file.
include(CMakePackageConfigHelpers)

set_target_properties(inkline_win32 PROPERTIES EXPORT_NAME win32)
set_target_properties(inkline_hostlib PROPERTIES EXPORT_NAME hostlib)

install(TARGETS inkline inkline_win32 inkline_hostlib
  EXPORT inklineTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/inkline
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} FILES_MATCHING PATTERN "*.h")
install(FILES
  ${PROJECT_SOURCE_DIR}/platform/win32/include/inkline/win32.h
  ${PROJECT_SOURCE_DIR}/platform/win32/include/inkline/afx.h
  ${PROJECT_SOURCE_DIR}/platform/win32/include/inkline/win32_sink.h
  ${PROJECT_SOURCE_DIR}/platform/win32/include/inkline/win32_fonts.h
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
install(FILES ${PROJECT_BINARY_DIR}/inkline.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
