// Reporting the engine's decisions to the calling thread's trace, if any.
// The text is only made when a sink listens.
#ifndef INKLINE_SRC_LAYOUT_DECISIONS_H
#define INKLINE_SRC_LAYOUT_DECISIONS_H

#include <string>

#include <inkline/trace.h>

namespace layout {

DecisionTrace* ActiveTrace();

// describe() returns the decision as a std::string; it runs only when traced.
template <typename Describe>
void Decide(Describe describe) {
  if (DecisionTrace* trace = ActiveTrace()) trace->Decided(describe().c_str());
}

// A run's text as the trace quotes it: at most 40 bytes.
std::string Quoted(const char* text);

// A number as the trace writes it: up to six decimals, no trailing zeros.
std::string Number(double v);

}  // namespace layout

#endif  // INKLINE_SRC_LAYOUT_DECISIONS_H
