// The process-wide table of end-user-defined characters.
#include <inkline/user_chars.h>

#include <array>
#include <atomic>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace {

// The user-defined areas in the order codes are handed out.
std::vector<unsigned> UserDefinedCodes() {
  std::vector<unsigned> codes;
  const auto area = [&](unsigned leadLo, unsigned leadHi, unsigned trailLo, unsigned trailHi) {
    for (unsigned lead = leadLo; lead <= leadHi; ++lead)
      for (unsigned trail = trailLo; trail <= trailHi; ++trail)
        if (trail != 0x7F) codes.push_back(lead << 8 | trail);
  };
  area(0xAA, 0xAF, 0xA1, 0xFE);
  area(0xF8, 0xFE, 0xA1, 0xFE);
  area(0xA1, 0xA7, 0x40, 0xA0);
  return codes;
}

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
    if (next_ == free_.size()) return 0;
    const unsigned code = free_[next_++];
    codeOf_.emplace(c, code);
    charOf_[code].store(c, std::memory_order_release);
    return code;
  }

  char32_t CharOf(unsigned code) const {
    return code < charOf_.size() ? charOf_[code].load(std::memory_order_acquire) : 0;
  }

  int capacity() const { return static_cast<int>(free_.size()); }
  int assigned() {
    std::lock_guard<std::mutex> hold(mutex_);
    return static_cast<int>(next_);
  }

 private:
  UserChars() : free_(UserDefinedCodes()) {}

  std::mutex mutex_;
  const std::vector<unsigned> free_;
  size_t next_ = 0;
  std::unordered_map<char32_t, unsigned> codeOf_;
  std::array<std::atomic<char32_t>, 0x10000> charOf_{};
};

}  // namespace

extern "C" {

unsigned InklineUserCharCode(unsigned codePoint) {
  return UserChars::Instance().CodeFor(static_cast<char32_t>(codePoint));
}

unsigned InklineUserCharOf(unsigned code) { return UserChars::Instance().CharOf(code); }

int InklineUserCharCapacity(void) { return UserChars::Instance().capacity(); }

int InklineUserCharsAssigned(void) { return UserChars::Instance().assigned(); }
}
