// Reads of the character-library file at a position, by handle: the portable
// layer's ReadFileAt (inkline/win32.h), and on Windows ReadFile with an
// offset, written here because it is no Windows call of its own.
#ifndef INKLINE_SRC_GLYPH_READ_FILE_AT_H
#define INKLINE_SRC_GLYPH_READ_FILE_AT_H

#include <inkline/win32.h>

#if defined(_WIN32)
// Reads up to `bytes` bytes at `offset` from the start of the file at one
// go, so threads sharing one handle never disturb each other's reads.
// Returns the count read, or HFILE_ERROR as an unsigned value.
inline UINT ReadFileAt(HFILE file, LONG offset, LPVOID buffer, UINT bytes) {
  if (offset < 0) return static_cast<UINT>(HFILE_ERROR);
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  DWORD got = 0;
  HANDLE handle = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(file));
  if (ReadFile(handle, buffer, bytes, &got, &at)) return got;
  return GetLastError() == ERROR_HANDLE_EOF ? 0 : static_cast<UINT>(HFILE_ERROR);
}
#endif

#endif  // INKLINE_SRC_GLYPH_READ_FILE_AT_H
