// End-user-defined characters: codes in the code page's user-defined areas
// (GBK AAA1-AFFE, F8A1-FEFE and A140-A7A0, 1,894 codes) that stand for real
// Unicode characters the code page lacks, as Windows links an end-user-defined
// character font. A host assigns codes while it converts its text; the
// decoders of the platform layers (outlines, text drawing, native text) turn
// the codes back into the characters. The table is process-wide and a code,
// once assigned, keeps its character for the life of the process, so fonts
// may cache what they fetched for it.
#ifndef INKLINE_USER_CHARS_H
#define INKLINE_USER_CHARS_H

#include <inkline/win32.h>

extern "C" {

// The code standing for codePoint: the one it already has, or the next free
// one. 0 when every code is taken (or codePoint is below 0x80). Thread-safe.
INKLINE_WIN32_API unsigned InklineUserCharCode(unsigned codePoint);

// The character a code stands for; 0 when the code is not assigned. While
// a label's own codes are installed on the calling thread
// (inkline/label_codes.h), the code is read from them instead: a code of a
// shaped cluster then gives inkline::kClusterCharBase plus the code.
// Thread-safe and lock-free.
INKLINE_WIN32_API unsigned InklineUserCharOf(unsigned code);

// How many codes the user-defined areas hold, and how many are taken.
INKLINE_WIN32_API int InklineUserCharCapacity(void);
INKLINE_WIN32_API int InklineUserCharsAssigned(void);
}

#endif  // INKLINE_USER_CHARS_H
