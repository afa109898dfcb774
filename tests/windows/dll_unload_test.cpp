// The library loaded and unloaded at run time, as a host does: a thread that
// converted keeps nothing of the library alive, and ends normally after the
// library is gone.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

namespace {

using CvtStrToHTMLFn = char*(__cdecl*)(char*, short, short, double, int, float, char, int, float);

struct Worker {
  CvtStrToHTMLFn convert = nullptr;
  HANDLE converted = nullptr;  // set by the worker after its conversion
  HANDLE mayEnd = nullptr;     // set by the test when the worker may return
  bool gotDocument = false;
};

DWORD WINAPI ConvertThenWait(LPVOID param) {
  auto* w = static_cast<Worker*>(param);
  char text[] = "worker";
  const char* document = w->convert(text, 0, 0, 12.0, 1, 0.0f, 0, 0, 0.0f);
  w->gotDocument = document && std::strstr(document, "worker") != nullptr;
  SetEvent(w->converted);
  WaitForSingleObject(w->mayEnd, INFINITE);
  return 0;
}

// Closes a handle at the end of a scope.
struct Handle {
  HANDLE h;
  ~Handle() {
    if (h) CloseHandle(h);
  }
};

TEST(DllLifetime, UnloadsAfterAWorkerConvertedAndTheWorkerThenEnds) {
  HMODULE dll = LoadLibraryA("inkline.dll");
  ASSERT_NE(dll, nullptr) << "LoadLibrary failed: " << GetLastError();

  Worker w;
  w.convert = reinterpret_cast<CvtStrToHTMLFn>(
      reinterpret_cast<void*>(GetProcAddress(dll, "CvtStrToHTML")));
  ASSERT_NE(w.convert, nullptr);
  Handle converted{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  Handle mayEnd{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  w.converted = converted.h;
  w.mayEnd = mayEnd.h;

  Handle thread{CreateThread(nullptr, 0, ConvertThenWait, &w, 0, nullptr)};
  ASSERT_NE(thread.h, nullptr);
  ASSERT_EQ(WaitForSingleObject(converted.h, 10000), WAIT_OBJECT_0);
  EXPECT_TRUE(w.gotDocument);

  ASSERT_TRUE(FreeLibrary(dll));
  // Nothing pinned the module: it is gone while the worker still runs.
  EXPECT_EQ(GetModuleHandleA("inkline.dll"), nullptr);

  SetEvent(mayEnd.h);
  EXPECT_EQ(WaitForSingleObject(thread.h, 10000), WAIT_OBJECT_0) << "the worker did not end";
}

TEST(DllLifetime, LoadsAgainAfterUnloading) {
  for (int round = 0; round < 3; ++round) {
    HMODULE dll = LoadLibraryA("inkline.dll");
    ASSERT_NE(dll, nullptr) << "round " << round;
    auto convert = reinterpret_cast<CvtStrToHTMLFn>(
        reinterpret_cast<void*>(GetProcAddress(dll, "CvtStrToHTML")));
    ASSERT_NE(convert, nullptr);
    char text[] = "again";
    const char* document = convert(text, 0, 0, 12.0, 1, 0.0f, 0, 0, 0.0f);
    ASSERT_NE(document, nullptr);
    EXPECT_NE(std::strstr(document, "again"), nullptr);
    ASSERT_TRUE(FreeLibrary(dll));
    EXPECT_EQ(GetModuleHandleA("inkline.dll"), nullptr);
  }
}

}  // namespace
