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

// The decision trace is a diagnostic of the portable build and of programs
// that link the library's objects directly (tests, the command-line tool):
// the Windows DLL exports only its product interface, so there the trace's
// entry point stays inside the module.
#if defined(_WIN32)
#define INKLINE_TRACE_API
#else
#define INKLINE_TRACE_API INKLINE_API
#endif

// The calling convention of exported free functions, spelled out so that a
// host built by another compiler calls them the same way.
#if defined(_WIN32)
#define INKLINE_CALL __cdecl
#else
#define INKLINE_CALL
#endif

#endif  // INKLINE_EXPORT_H
