// The integer-handle file calls, over the POSIX ones.
#include <inkline/win32.h>

#include <cerrno>
#include <climits>
#include <unistd.h>

namespace {

// Reads until `bytes` bytes are in or the file ends. readSome(out, count,
// done) reads once, `done` bytes into the whole read. Returns the count, or
// HFILE_ERROR as an unsigned value.
template <typename ReadSome>
UINT ReadFully(LPVOID buffer, UINT bytes, ReadSome readSome) {
  UINT total = 0;
  char* out = static_cast<char*>(buffer);
  while (total < bytes) {
    const ssize_t n = readSome(out + total, bytes - total, total);
    if (n < 0) {
      if (errno == EINTR) continue;
      return static_cast<UINT>(HFILE_ERROR);
    }
    if (n == 0) break;
    total += static_cast<UINT>(n);
  }
  return total;
}

}  // namespace

extern "C" {

// Returns the new offset from the start of the file, or HFILE_ERROR.
LONG WINAPI _llseek(HFILE file, LONG offset, int origin) {
  int whence = SEEK_SET;
  switch (origin) {
    case FILE_BEGIN: whence = SEEK_SET; break;
    case FILE_CURRENT: whence = SEEK_CUR; break;
    case FILE_END: whence = SEEK_END; break;
    default: return HFILE_ERROR;
  }
  const off_t at = lseek(file, static_cast<off_t>(offset), whence);
  if (at < 0 || at > LONG_MAX) return HFILE_ERROR;
  return static_cast<LONG>(at);
}

// Returns the number of bytes read (fewer at the end of the file), or
// HFILE_ERROR as an unsigned value.
UINT WINAPI _lread(HFILE file, LPVOID buffer, UINT bytes) {
  return ReadFully(buffer, bytes,
                   [file](char* out, UINT count, UINT) { return read(file, out, count); });
}

UINT WINAPI ReadFileAt(HFILE file, LONG offset, LPVOID buffer, UINT bytes) {
  if (offset < 0) return static_cast<UINT>(HFILE_ERROR);
  return ReadFully(buffer, bytes, [file, offset](char* out, UINT count, UINT done) {
    return pread(file, out, count, static_cast<off_t>(offset) + done);
  });
}

}  // extern "C"
