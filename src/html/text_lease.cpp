#include "html/text_lease.h"

namespace {

#if !defined(_WIN32)
struct ThreadText {
  std::string Text;
  bool Leased = false;
};
thread_local ThreadText threadText;
#endif

// A thread keeps no more than this between parses: a huge text is let go.
constexpr std::size_t kKeptCapacity = 64 * 1024;

}  // namespace

TextLease::TextLease(std::string& own) : Leased(&own) {
#if !defined(_WIN32)
  ThreadText& kept = threadText;
  if (!kept.Leased) {
    kept.Leased = true;
    Leased = &kept.Text;
    FromThread = true;
  }
#endif
  Leased->clear();
}

TextLease::~TextLease() {
#if !defined(_WIN32)
  if (!FromThread) return;
  if (Leased->capacity() > kKeptCapacity) std::string().swap(*Leased);
  threadText.Leased = false;
#endif
}
