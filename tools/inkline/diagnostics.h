// Messages of the command: errors name what failed; warnings are said once.
#ifndef INKLINE_TOOLS_DIAGNOSTICS_H
#define INKLINE_TOOLS_DIAGNOSTICS_H

#include <cstdio>
#include <set>
#include <string>

class Diagnostics {
 public:
  // Prints the warning the first time its key is seen.
  void WarnOnce(const std::string& key, const std::string& message) {
    if (!said_.insert(key).second) return;
    std::fprintf(stderr, "inkline: warning: %s\n", message.c_str());
    ++warnings_;
  }
  int warnings() const { return warnings_; }

 private:
  std::set<std::string> said_;
  int warnings_ = 0;
};

#endif  // INKLINE_TOOLS_DIAGNOSTICS_H
