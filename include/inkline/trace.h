// The library's decisions as text, for a host that wants to know why a label
// looks as it does: which renderer a run took and why, a font the library
// lacks, a character skipped outside the clip area, memory that ran out.
//
// Off unless a sink is installed; then the calling thread's drawing calls
// report to it, one decision a call, as they make them. With no sink the
// library only tests one thread-local pointer.
#ifndef INKLINE_TRACE_H
#define INKLINE_TRACE_H

#include <inkline/export.h>

class DecisionTrace {
 public:
  // One decision, e.g. "run \"ABC\": outlines, height 12 and width 10 round apart".
  virtual void Decided(const char* decision) = 0;

 protected:
  DecisionTrace() {}
  ~DecisionTrace() {}
};

// Installs sink for the calling thread (null switches tracing off) and
// returns the one installed before. Not exported by the Windows DLL.
INKLINE_TRACE_API DecisionTrace* SetDecisionTrace(DecisionTrace* sink);

#endif  // INKLINE_TRACE_H
