#include "output_file.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The signal handler may only read this buffer; a run has one output.
char gTempPath[4096];
std::atomic<bool> gHasTemp{false};

void OnSignal(int signal) {
  if (gHasTemp.load()) unlink(gTempPath);
  std::signal(signal, SIG_DFL);
  raise(signal);
}

void Register(const std::string& temp) {
  if (temp.size() >= sizeof gTempPath) return;
  gHasTemp.store(false);
  std::memcpy(gTempPath, temp.c_str(), temp.size() + 1);
  gHasTemp.store(true);
}

void Unregister() { gHasTemp.store(false); }

bool CopyToStdout(const std::string& from) {
  FILE* in = std::fopen(from.c_str(), "rb");
  if (!in) return false;
  char buffer[1 << 16];
  bool ok = true;
  size_t n;
  while (ok && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0)
    ok = std::fwrite(buffer, 1, n, stdout) == n;
  ok = ok && !std::ferror(in) && std::fflush(stdout) == 0;
  std::fclose(in);
  return ok;
}

}  // namespace

void RemoveTempFileOnSignals() {
  for (int s : {SIGINT, SIGTERM, SIGHUP}) std::signal(s, OnSignal);
}

bool OutputFile::Prepare(const std::string& path, std::string* error) {
  path_ = path;
  if (path == "-") {
    const char* dir = std::getenv("TMPDIR");
    temp_ = std::string(dir && *dir ? dir : "/tmp") + "/inkline-out.XXXXXX";
  } else {
    // Beside the picture so the rename stays on one file system; creating
    // it also proves the folder is writable.
    temp_ = path + ".XXXXXX";
  }
  // A signal between creating the file and registering it would leave it.
  sigset_t stop, before;
  sigemptyset(&stop);
  for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&stop, s);
  sigprocmask(SIG_BLOCK, &stop, &before);
  const int fd = mkstemp(temp_.data());
  if (fd >= 0) Register(temp_);
  sigprocmask(SIG_SETMASK, &before, nullptr);
  if (fd < 0) {
    *error = path + ": cannot create a file there";
    temp_.clear();
    return false;
  }
  // mkstemp makes the file private; a picture gets the usual permissions.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  close(fd);
  return true;
}

OutputFile::~OutputFile() {
  if (!temp_.empty() && !committed_) {
    std::remove(temp_.c_str());
    Unregister();
  }
}

bool OutputFile::Commit(std::string* error) {
  if (path_ == "-") {
    if (!CopyToStdout(temp_)) {
      *error = "could not write the picture to standard output";
      return false;
    }
    return true;  // the destructor removes the temporary file
  }
  if (std::rename(temp_.c_str(), path_.c_str()) != 0) {
    *error = path_ + ": could not be written";
    return false;
  }
  committed_ = true;
  Unregister();
  return true;
}
