// Export macros: the library exports only what its interface names.
//
// The public headers are an interface, not the implementation: they compile
// as C++03 for hosts of that era and under any later standard, and define
// nothing but their own names.
#ifndef INKLINE_EXPORT_H
#define INKLINE_EXPORT_H

#if defined(_WIN32)
#if defined(INKLINE_BUILDING_LIBRARY)
#define INKLINE_API __declspec(dllexport)
#else
#define INKLINE_API __declspec(dllimport)
#endif
// The host's own functions (its font, colour and utility libraries) are
// declared plainly: the host defines them in its own modules and the
// library imports them by name. A module exporting them through a .def file
// needs nothing more; one exporting them with __declspec(dllexport) on the
// definitions defines INKLINE_HOSTLIB_API as __declspec(dllexport) before
// including the library's headers, so that declarations and definitions
// agree (the reference host library built here does).
#if !defined(INKLINE_HOSTLIB_API)
#if defined(INKLINE_BUILDING_HOSTLIB)
#define INKLINE_HOSTLIB_API __declspec(dllexport)
#else
#define INKLINE_HOSTLIB_API
#endif
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

// Checks of overriding where the compiler has them (C++11, or Microsoft's
// compiler from Visual C++ 2012); nothing for a C++03 host.
#if __cplusplus >= 201103L || (defined(_MSC_VER) && _MSC_VER >= 1700)
#define INKLINE_OVERRIDE override
#define INKLINE_FINAL final
#else
#define INKLINE_OVERRIDE
#define INKLINE_FINAL
#endif

#endif  // INKLINE_EXPORT_H
