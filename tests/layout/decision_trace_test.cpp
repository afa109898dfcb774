// The decision trace: off unless installed, then one line a decision on the
// recording device, in drawing order.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <inkline/trace.h>

#include "layout/layout_support.h"

namespace {

using layout_test::Bench;
using layout_test::DeviceOfKind;

std::vector<std::string> Decisions(const RecordingDevice& device) {
  std::vector<std::string> out;
  for (const auto& call : device.CallsNamed("Decision")) out.push_back(call.line);
  return out;
}

struct Installed {
  explicit Installed(DecisionTrace* sink) : before(SetDecisionTrace(sink)) {}
  ~Installed() { SetDecisionTrace(before); }
  DecisionTrace* before;
};

TEST(DecisionTrace, SaysWhichRendererEachRunTookAndWhy) {
  Bench b(DeviceOfKind(1, 1));
  b.s.SetScale(1, 1, 1);
  Installed trace(&b.device);
  b.s.StringOut(const_cast<char*>("TT"), 10, 500, 12, 12, 0, 0, 0, 0, 0, 0, 0, nullptr);
  b.s.StringOut(const_cast<char*>("Wide"), 10, 400, 12, 10, 0, 0, 0, 0, 0, 0, 0, nullptr);
  b.s.StringOut(const_cast<char*>("Lean"), 10, 300, 12, 12, 0, 1, 0, 0, 0, 0, 0, nullptr);
  b.s.StringOut(const_cast<char*>("None"), 10, 200, 12, 10, 9, 0, 0, 0, 0, 0, 0, nullptr);
  b.s.StringOut(const_cast<char*>("AB"), -100, 200, 12, 10, 0, 0, 0, 0, 0, 0, 0, nullptr);
  EXPECT_EQ(Decisions(b.device),
            (std::vector<std::string>{
                "Decision run \"TT\": TrueType",
                "Decision run \"Wide\": outlines: height 12 and width 10 round apart",
                "Decision run \"Lean\": outlines: style 1",
                "Decision run \"None\": outlines: height 12 and width 10 round apart",
                "Decision font 9: not in the font library",
                "Decision run \"AB\": outlines: height 12 and width 10 round apart",
                "Decision character at (-100, 200): skipped, outside the clip area",
                "Decision character at (-90, 200): skipped, outside the clip area"}));
}

TEST(DecisionTrace, NothingWithoutASink) {
  Bench b(DeviceOfKind(1, 1));
  b.s.SetScale(1, 1, 1);
  b.s.StringOut(const_cast<char*>("None"), 10, 200, 12, 10, 9, 0, 0, 0, 0, 0, 0, nullptr);
  EXPECT_TRUE(Decisions(b.device).empty());
}

}  // namespace
