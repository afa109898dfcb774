// Opening the command's input files: only regular files (a device or a FIFO
// would block or never end) and never more than a size cap.
#ifndef INKLINE_TOOLS_INPUT_FILE_H
#define INKLINE_TOOLS_INPUT_FILE_H

#include <cstdint>
#include <string>

namespace input_file {

// Size caps: far above any real file of the kind, far below what would
// exhaust memory.
constexpr std::uint64_t kLayerCap = std::uint64_t{4} << 30;       // 4 GiB (read streaming)
constexpr std::uint64_t kFontTableCap = std::uint64_t{16} << 20;  // 16 MiB
constexpr std::uint64_t kStrokeFontCap = std::uint64_t{256} << 20;
constexpr std::uint64_t kFontFileCap = std::uint64_t{1} << 30;
constexpr std::uint64_t kStdinCap = std::uint64_t{1} << 30;

// Empty when path is a regular file of at most cap bytes; otherwise why not,
// starting with the path ("what" names the kind of file in the message).
std::string CheckRegular(const std::string& path, std::uint64_t cap, const char* what);

// Reads a checked file whole; false with *error when it cannot.
bool ReadWhole(const std::string& path, std::uint64_t cap, const char* what, std::string* content,
               std::string* error);

// Reads standard input up to cap bytes; false with *error beyond that.
bool ReadStdin(std::uint64_t cap, std::string* content, std::string* error);

// True when both paths name the same existing file (device and inode).
bool SameFile(const std::string& a, const std::string& b);

}  // namespace input_file

#endif  // INKLINE_TOOLS_INPUT_FILE_H
