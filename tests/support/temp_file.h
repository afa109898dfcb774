// A file written for a test and opened read-only as the integer handle that
// _llseek and _lread take: a Windows file handle on Windows (_lopen), a file
// descriptor on the portable layer. Closed and removed with the object.
#ifndef INKLINE_TESTS_SUPPORT_TEMP_FILE_H
#define INKLINE_TESTS_SUPPORT_TEMP_FILE_H

#include <gtest/gtest.h>

#include <inkline/win32.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

#if defined(_WIN32)
#include <process.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

class TempFile {
 public:
  explicit TempFile(const std::string& bytes) {
    // Test processes run side by side, and a sanitiser's heap gives each
    // the same addresses: the process and a count tell the files apart.
    static std::atomic<int> made{0};
    path_ = ::testing::TempDir() + "inkline_" + std::to_string(ProcessId()) + "_" +
            std::to_string(++made) + ".bin";
    {
      std::ofstream out(path_, std::ios::binary);
      out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      EXPECT_TRUE(out.good()) << "cannot write " << path_;
    }
#if defined(_WIN32)
    handle_ = _lopen(path_.c_str(), OF_READ);
#else
    handle_ = open(path_.c_str(), O_RDONLY);
#endif
    EXPECT_NE(handle_, HFILE_ERROR) << "cannot open " << path_;
  }
  ~TempFile() {
    if (handle_ != HFILE_ERROR) {
#if defined(_WIN32)
      _lclose(handle_);
#else
      close(handle_);
#endif
    }
    std::remove(path_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  HFILE handle() const { return handle_; }

 private:
  static long ProcessId() {
#if defined(_WIN32)
    return static_cast<long>(_getpid());
#else
    return static_cast<long>(getpid());
#endif
  }

  std::string path_;
  HFILE handle_ = HFILE_ERROR;
};

#endif  // INKLINE_TESTS_SUPPORT_TEMP_FILE_H
