// The process-wide table of end-user-defined characters, and the decoding of
// a user-defined code: through the calling thread's label codes when a label
// installed its own, else through this table.
#include <inkline/user_chars.h>

#include <array>
#include <atomic>
#include <mutex>
#include <unordered_map>

#include <inkline/label_codes.h>

#include "user_areas.h"

namespace {

class UserChars {
 public:
  static UserChars& Instance() {
    static UserChars table;
    return table;
  }

  unsigned CodeFor(char32_t c) {
    if (c < 0x80 || c > 0x10FFFF) return 0;
    std::lock_guard<std::mutex> hold(mutex_);
    const auto known = codeOf_.find(c);
    if (known != codeOf_.end()) return known->second;
    if (next_ == user_areas::kCodes) return 0;
    const unsigned code = user_areas::CodeAt(next_++);
    codeOf_.emplace(c, code);
    charOf_[code].store(c, std::memory_order_release);
    return code;
  }

  char32_t CharOf(unsigned code) const {
    return code < charOf_.size() ? charOf_[code].load(std::memory_order_acquire) : 0;
  }

  int assigned() {
    std::lock_guard<std::mutex> hold(mutex_);
    return next_;
  }

 private:
  UserChars() = default;

  std::mutex mutex_;
  int next_ = 0;
  std::unordered_map<char32_t, unsigned> codeOf_;
  std::array<std::atomic<char32_t>, 0x10000> charOf_{};
};

// A label's code: its character, or the mark of its cluster.
char32_t LabelCharOf(const inkline::LabelCodes& codes, unsigned code) {
  if (codes.ClusterOf(code)) return inkline::kClusterCharBase + code;
  return codes.CharOf(code);
}

}  // namespace

extern "C" {

unsigned InklineUserCharCode(unsigned codePoint) {
  return UserChars::Instance().CodeFor(static_cast<char32_t>(codePoint));
}

unsigned InklineUserCharOf(unsigned code) {
  if (const inkline::LabelCodes* codes = inkline::CurrentLabelCodes())
    return LabelCharOf(*codes, code);
  return UserChars::Instance().CharOf(code);
}

int InklineUserCharCapacity(void) { return user_areas::kCodes; }

int InklineUserCharsAssigned(void) { return UserChars::Instance().assigned(); }
}
