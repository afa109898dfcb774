# The host kit: the reference host parts a program needs to draw its first
# picture (the FreeType font library, the stroke-font reader and the Cairo
# devices) as one versioned shared library, libinkline_hostkit, with their
# headers. The stroke-font file is installed to share/inkline/strokes.clib;
# a host opens it with FreeTypeFontLib::OpenStrokeFont.
if(NOT TARGET inkline_ftfonts OR NOT TARGET inkline_cairo OR NOT TARGET inkline_clib
   OR NOT TARGET inkline_shaping)
  return()
endif()

# Built from the static libraries whole, so it always holds what they hold
# and links what they link; their symbols are made visible for it.
set(INKLINE_HOSTKIT_PARTS inkline_clib inkline_ftfonts inkline_cairo inkline_shaping)
set_target_properties(${INKLINE_HOSTKIT_PARTS} PROPERTIES
  CXX_VISIBILITY_PRESET default VISIBILITY_INLINES_HIDDEN OFF)
file(WRITE ${PROJECT_BINARY_DIR}/hostkit_empty.cpp "// The host kit is its parts.\n")
add_library(inkline_hostkit SHARED ${PROJECT_BINARY_DIR}/hostkit_empty.cpp)
target_link_libraries(inkline_hostkit
  PUBLIC inkline_hostlib inkline_win32
  PRIVATE -Wl,--whole-archive ${INKLINE_HOSTKIT_PARTS} -Wl,--no-whole-archive)
add_dependencies(inkline_hostkit ${INKLINE_HOSTKIT_PARTS})
target_include_directories(inkline_hostkit PUBLIC
  $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/platform/host/fonts/include>
  $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/platform/host/shaping/include>
  $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/platform/host/include>
  $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
target_link_options(inkline_hostkit PRIVATE -Wl,--no-undefined)
set_target_properties(inkline_hostkit PROPERTIES
  VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR} EXPORT_NAME hostkit)
add_library(inkline::hostkit ALIAS inkline_hostkit)

install(FILES
  ${PROJECT_SOURCE_DIR}/platform/host/include/inkline/host/cairo_device.h
  ${PROJECT_SOURCE_DIR}/platform/host/fonts/include/inkline/host/char_library.h
  ${PROJECT_SOURCE_DIR}/platform/host/fonts/include/inkline/host/font_table.h
  ${PROJECT_SOURCE_DIR}/platform/host/fonts/include/inkline/host/freetype_font_lib.h
  ${PROJECT_SOURCE_DIR}/platform/host/fonts/include/inkline/host/gbk.h
  ${PROJECT_SOURCE_DIR}/platform/host/shaping/include/inkline/host/label_text.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/inkline/host)
if(TARGET inkline_stroke_font)
  install(FILES ${PROJECT_BINARY_DIR}/fonts/strokes.clib DESTINATION ${CMAKE_INSTALL_DATADIR}/inkline)
endif()

# The README's host-kit snippet, built and run against an installed copy.
# Sanitizer builds would need their runtime in the snippet too.
if(INKLINE_BUILD_TESTS AND NOT INKLINE_SANITIZE AND NOT INKLINE_TSAN)
  add_test(NAME HostKit.ReadmeSnippetBuildsAndDraws
           COMMAND bash ${PROJECT_SOURCE_DIR}/tests/install/host_kit_snippet.sh
                   ${PROJECT_BINARY_DIR} ${PROJECT_SOURCE_DIR})
  set_tests_properties(HostKit.ReadmeSnippetBuildsAndDraws PROPERTIES TIMEOUT 300)
endif()
