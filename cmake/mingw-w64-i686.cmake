# Cross-builds the 32-bit Windows library with Debian's mingw-w64 compilers.
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
#
# The -posix compilers: only they have std::mutex and std::thread.
# The C and C++ runtimes are linked in, so the DLL and the test programs
# import system DLLs only. SSE2 arithmetic keeps double results identical to
# the Linux build (the x87 unit rounds differently).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(INKLINE_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER ${INKLINE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${INKLINE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${INKLINE_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${INKLINE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
set(INKLINE_MINGW_STATIC_RUNTIME "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${INKLINE_MINGW_STATIC_RUNTIME}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${INKLINE_MINGW_STATIC_RUNTIME}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${INKLINE_MINGW_STATIC_RUNTIME}")

# ctest and test discovery run the programs under Wine, headless, in a Wine
# prefix inside the build folder.
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh ${CMAKE_BINARY_DIR}/wineprefix)
