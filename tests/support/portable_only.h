// Marks a test that checks the portable implementation of the Windows calls
// (or a host built on it), which the Windows build does not have: there the
// test is reported as skipped, with its reason.
#ifndef INKLINE_TESTS_SUPPORT_PORTABLE_ONLY_H
#define INKLINE_TESTS_SUPPORT_PORTABLE_ONLY_H

#include <gtest/gtest.h>

#if defined(_WIN32)
#define INKLINE_PORTABLE_ONLY(reason) GTEST_SKIP() << "portable layer only: " << (reason)
#else
#define INKLINE_PORTABLE_ONLY(reason) static_cast<void>(0)
#endif

#endif  // INKLINE_TESTS_SUPPORT_PORTABLE_ONLY_H
