// Export macros: the library exports only what its interface names.
#ifndef INKLINE_EXPORT_H
#define INKLINE_EXPORT_H

#if defined(_WIN32)
#if defined(INKLINE_BUILDING_LIBRARY)
#define INKLINE_API __declspec(dllexport)
#else
#define INKLINE_API __declspec(dllimport)
#endif
#if defined(INKLINE_BUILDING_HOSTLIB)
#define INKLINE_HOSTLIB_API __declspec(dllexport)
#else
#define INKLINE_HOSTLIB_API __declspec(dllimport)
#endif
#else
#define INKLINE_API __attribute__((visibility("default")))
#define INKLINE_HOSTLIB_API __attribute__((visibility("default")))
#endif

// The calling convention of exported free functions, spelled out so that a
// host built by another compiler calls them the same way.
#if defined(_WIN32)
#define INKLINE_CALL __cdecl
#else
#define INKLINE_CALL
#endif

#endif  // INKLINE_EXPORT_H
