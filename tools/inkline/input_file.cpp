#include "input_file.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace input_file {
namespace {

std::string Size(std::uint64_t bytes) {
  return bytes >= (1u << 30) ? std::to_string(bytes >> 30) + " GiB"
                             : std::to_string(bytes >> 20) + " MiB";
}

// Closes the descriptor when it goes out of scope.
struct Fd {
  int fd;
  ~Fd() {
    if (fd >= 0) close(fd);
  }
};

std::string Refusal(const std::string& path, const struct stat& st, std::uint64_t cap,
                    const char* what) {
  if (S_ISDIR(st.st_mode)) return path + ": is a folder, not a " + what;
  if (!S_ISREG(st.st_mode))
    return path + ": not a regular file (a device, pipe or socket cannot be a " + what + ")";
  if (static_cast<std::uint64_t>(st.st_size) > cap)
    return path + ": larger than " + Size(cap) + ", too large for a " + what;
  return "";
}

}  // namespace

std::string CheckRegular(const std::string& path, std::uint64_t cap, const char* what) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return path + ": cannot be read";
  return Refusal(path, st, cap, what);
}

bool ReadWhole(const std::string& path, std::uint64_t cap, const char* what, std::string* content,
               std::string* error) {
  // Opened without blocking so that a FIFO swapped in after a check cannot
  // hang the open; the check itself is made on the open descriptor.
  Fd file{open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
  struct stat st {};
  if (file.fd < 0 || fstat(file.fd, &st) != 0) {
    *error = path + ": cannot be read";
    return false;
  }
  *error = Refusal(path, st, cap, what);
  if (!error->empty()) return false;
  content->resize(static_cast<size_t>(st.st_size));
  size_t done = 0;
  while (done < content->size()) {
    const ssize_t n = read(file.fd, &(*content)[done], content->size() - done);
    if (n < 0) {
      *error = path + ": read failed";
      return false;
    }
    if (n == 0) break;  // the file shrank meanwhile
    done += static_cast<size_t>(n);
  }
  content->resize(done);
  return true;
}

bool ReadStdin(std::uint64_t cap, std::string* content, std::string* error) {
  char buffer[1 << 16];
  content->clear();
  for (;;) {
    const size_t n = std::fread(buffer, 1, sizeof buffer, stdin);
    if (n == 0) break;
    if (content->size() + n > cap) {
      *error = "standard input: larger than " + Size(cap);
      return false;
    }
    content->append(buffer, n);
  }
  if (std::ferror(stdin)) {
    *error = "standard input: read failed";
    return false;
  }
  return true;
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa {}, sb {};
  return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

}  // namespace input_file
