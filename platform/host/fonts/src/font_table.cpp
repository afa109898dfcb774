// Parsing the font table and its defaults.
#include <inkline/host/font_table.h>

#include <cctype>
#include <climits>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>

#include <inkline/host/gbk.h>

namespace {

// Chinese faces fall back, in order, to the free fonts a machine may have;
// AR PL UMing is the one the install script guarantees.
const char kDefaultTable[] =
    "# number | face name | font file or fontconfig pattern\n"
    "0 | 宋体 | AR PL UMing CN:lang=zh-cn\n"
    "1 | 黑体 | Noto Sans CJK SC,WenQuanYi Zen Hei,WenQuanYi Micro Hei,AR PL UMing CN:lang=zh-cn\n"
    "2 | 楷体 | AR PL UKai CN,AR PL KaitiM GB,AR PL UMing CN:lang=zh-cn\n"
    "3 | 仿宋 | FangSong,AR PL UMing CN:lang=zh-cn\n"
    "4 | Arial | Liberation Sans\n"
    "5 | Times New Roman | Liberation Serif\n"
    "6 | Courier New | Liberation Mono\n"
    "7 | DejaVu Sans | DejaVu Sans\n"
    "8 | Noto Sans | Noto Sans,DejaVu Sans\n";

std::string Trim(const std::string& s) {
  const size_t first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  const size_t last = s.find_last_not_of(" \t\r");
  return s.substr(first, last - first + 1);
}

bool ParseNumber(const std::string& text, short* number) {
  if (text.empty()) return false;
  size_t i = (text[0] == '-' || text[0] == '+') ? 1 : 0;
  if (i == text.size()) return false;
  long value = 0;
  for (; i < text.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    value = value * 10 + (text[i] - '0');
    if (value > SHRT_MAX + 1L) return false;
  }
  if (text[0] == '-') value = -value;
  if (value < SHRT_MIN || value > SHRT_MAX) return false;
  *number = static_cast<short>(value);
  return true;
}

// Splits at '|'; the face name may not contain one.
std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::string field;
  std::istringstream in(line);
  while (std::getline(in, field, '|')) fields.push_back(Trim(field));
  if (!line.empty() && line.back() == '|') fields.push_back("");
  return fields;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// A face name with its ASCII letters lowered, the key SameFaceName compares by.
std::string FoldedFaceName(const char* name) {
  std::string folded;
  while (*name) {
    const int bytes = gbk::CharBytes(name);
    if (bytes == 1)
      folded += static_cast<char>(std::tolower(static_cast<unsigned char>(*name)));
    else
      folded.append(name, 2);
    name += bytes;
  }
  return folded;
}

// A table file is small text: anything larger, or not a regular file (a
// device or FIFO would never end), is refused before it is read.
constexpr off_t kMaxTableBytes = off_t{16} << 20;

bool ReadTableFile(const std::string& path, std::string* text, std::string* error) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  struct stat st {};
  const auto fail = [&](const std::string& why) {
    if (fd >= 0) close(fd);
    if (error) *error = why;
    return false;
  };
  if (fd < 0 || fstat(fd, &st) != 0) return fail("cannot read the font table " + path);
  if (!S_ISREG(st.st_mode)) return fail("the font table " + path + " is not a regular file");
  if (st.st_size > kMaxTableBytes)
    return fail("the font table " + path + " is larger than 16 MiB");
  text->resize(static_cast<size_t>(st.st_size));
  size_t done = 0;
  while (done < text->size()) {
    const ssize_t n = read(fd, &(*text)[done], text->size() - done);
    if (n < 0) return fail("cannot read the font table " + path);
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  text->resize(done);
  close(fd);
  return true;
}

}  // namespace

bool SameFaceName(const char* a, const char* b) {
  if (!a || !b) return false;
  while (*a && *b) {
    const int bytes = gbk::CharBytes(a);
    if (bytes != gbk::CharBytes(b)) return false;
    if (bytes == 1) {
      if (std::tolower(static_cast<unsigned char>(*a)) !=
          std::tolower(static_cast<unsigned char>(*b)))
        return false;
    } else if (a[0] != b[0] || a[1] != b[1]) {
      return false;
    }
    a += bytes;
    b += bytes;
  }
  return *a == *b;
}

FontTable FontTable::Parse(const std::string& text, const std::string& baseDir) {
  FontTable table;
  table.baseDir = baseDir;
  std::istringstream in(text);
  std::string line;
  int lineNo = 0;
  auto problem = [&](const std::string& message) {
    table.problems.push_back({lineNo, message});
  };
  // Seen numbers and names, so a long table is checked in one pass.
  std::unordered_set<short> numbers;
  std::unordered_set<std::string> names;
  while (std::getline(in, line)) {
    ++lineNo;
    const std::string trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] == '#') continue;
    const std::vector<std::string> fields = Fields(trimmed);
    if (fields.size() != 3) {
      problem("expected: number | face name | font file or pattern");
      continue;
    }
    FontTableEntry entry;
    if (!ParseNumber(fields[0], &entry.number)) {
      problem("bad font number \"" + fields[0] + "\"");
      continue;
    }
    if (fields[1].empty() || fields[2].empty()) {
      problem(fields[1].empty() ? "empty face name" : "no font file or pattern");
      continue;
    }
    if (!gbk::FromUtf8(fields[1], &entry.faceName)) {
      problem("face name \"" + fields[1] + "\" cannot be written in GBK");
      continue;
    }
    if (entry.faceName.size() > kMaxFaceNameBytes) {
      problem("face name \"" + fields[1] + "\" is longer than 63 bytes");
      continue;
    }
    if (numbers.count(entry.number)) {
      problem("font number " + fields[0] + " is given twice");
      continue;
    }
    if (!names.insert(FoldedFaceName(entry.faceName.c_str())).second) {
      problem("face name \"" + fields[1] + "\" is given twice");
      continue;
    }
    numbers.insert(entry.number);
    entry.source = fields[2];
    table.entries.push_back(std::move(entry));
  }
  return table;
}

bool FontTable::Load(const std::string& path, FontTable* table, std::string* error) {
  std::string text;
  if (!ReadTableFile(path, &text, error)) return false;
  *table = Parse(text, FolderOf(path));
  return true;
}

FontTable FontTable::Defaults() { return Parse(kDefaultTable); }

const char* FontTable::DefaultText() { return kDefaultTable; }

const FontTableEntry* FontTable::ByNumber(short number) const {
  for (const FontTableEntry& e : entries)
    if (e.number == number) return &e;
  return nullptr;
}

const FontTableEntry* FontTable::ByName(const char* faceName) const {
  for (const FontTableEntry& e : entries)
    if (SameFaceName(e.faceName.c_str(), faceName)) return &e;
  return nullptr;
}
