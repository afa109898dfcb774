# How the hosts of Microsoft's conventions are compiled: clang for
# i686-pc-windows-msvc (_WIN32 defined, the headers' dllimport), over Wine's
# Windows SDK headers, without exceptions or a C runtime, warnings as errors.
# Included by the build and by the host-compile test's script.
set(INKLINE_WINE_SDK_INCLUDE /usr/include/wine/wine)
# Wine's SDK headers declare, for Microsoft's compiler on x86, a few
# interlocked functions that clang takes for its own built-ins: renamed here.
set(INKLINE_MSVC_HOST_FLAGS --target=i686-pc-windows-msvc -msse2 -O1 -fno-exceptions -fno-rtti
    -fno-threadsafe-statics -Wall -Wextra -Werror
    -isystem ${INKLINE_WINE_SDK_INCLUDE}/msvcrt -isystem ${INKLINE_WINE_SDK_INCLUDE}/windows)
foreach(f And64 CompareExchangePointer Decrement64 ExchangeAdd64 ExchangePointer Increment64
          Or64 Xor64)
  list(APPEND INKLINE_MSVC_HOST_FLAGS -D_Interlocked${f}=WineInterlocked${f})
endforeach()
# C++03 as Visual C++ 2005 compiles it, and today's C++.
set(INKLINE_MSVC_HOST_CXX03 -std=c++03 -fms-compatibility-version=14.00)
set(INKLINE_MSVC_HOST_CXX17 -std=c++17)
