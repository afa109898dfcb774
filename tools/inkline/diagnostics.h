// Messages of the command: errors name what failed; warnings are said once.
#ifndef INKLINE_TOOLS_DIAGNOSTICS_H
#define INKLINE_TOOLS_DIAGNOSTICS_H

#include <cstdio>
#include <set>
#include <string>

class Diagnostics {
 public:
  explicit Diagnostics(bool quiet = false) : quiet_(quiet) {}

  // Prints the warning the first time its key is seen (never when quiet).
  void WarnOnce(const std::string& key, const std::string& message) {
    if (!said_.insert(key).second) return;
    Warn(message);
  }
  void Warn(const std::string& message) {
    ++warnings_;
    if (!quiet_) std::fprintf(stderr, "inkline: warning: %s\n", message.c_str());
  }
  int warnings() const { return warnings_; }

 private:
  bool quiet_;
  std::set<std::string> said_;
  int warnings_ = 0;
};

#endif  // INKLINE_TOOLS_DIAGNOSTICS_H
