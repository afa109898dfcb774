#include "layout/decisions.h"

#include <cstdio>
#include <cstring>

namespace {
thread_local DecisionTrace* activeTrace = nullptr;
}  // namespace

DecisionTrace* SetDecisionTrace(DecisionTrace* sink) {
  DecisionTrace* before = activeTrace;
  activeTrace = sink;
  return before;
}

namespace layout {

DecisionTrace* ActiveTrace() { return activeTrace; }

std::string Quoted(const char* text) {
  if (!text) return "(null)";
  constexpr std::size_t kShown = 40;
  const std::size_t length = std::strlen(text);
  std::string out = "\"" + std::string(text, length < kShown ? length : kShown);
  return out + (length > kShown ? "...\"" : "\"");
}

std::string Number(double v) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.6f", v);
  std::string s = buffer;
  if (s.find('.') != std::string::npos) {
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
  }
  return s == "-0" ? "0" : s;
}

}  // namespace layout
