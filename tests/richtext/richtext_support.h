// A string object on a recording device with a synthetic font library, for
// rich-text tests, and a reading of the recorded calls as the runs the
// renderer drew.
#ifndef INKLINE_TESTS_RICHTEXT_RICHTEXT_SUPPORT_H
#define INKLINE_TESTS_RICHTEXT_RICHTEXT_SUPPORT_H

#include <inkline/host/hostlib.h>
#include <inkline/host/recording_device.h>
#include <inkline/host/synthetic_font_lib.h>
#include <inkline/map_string.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "html/html_reader.h"
#include "richtext/orvex_html_reader_events.h"

namespace richtext_test {

// Font 3 draws the same square as font 0 but closes its contour with a fifth
// point, so the font of a glyph shows in its point count.
constexpr short kFontThree = 3;
constexpr int kFontZeroPoints = 4;
constexpr int kFontThreePoints = 5;

// One glyph of the synthetic square: its lower-left corner and height.
struct Glyph {
  double x, y, height;
  int points;
  bool slanted;
};

// One run as the renderer drew it: it selects a brush and then a pen of width
// 1 in the run's colour before the string is drawn.
struct DrawnRun {
  int color = 0;
  std::vector<Glyph> glyphs;
  int lines = 0;     // underline and strike-out
  int outlines = 0;  // the bold stroke
};

struct RichBench {
  explicit RichBench(RecordingDevice::Settings settings = RecordingDevice::Settings())
      : installed(&fonts), device(settings), s(&device) {
    fonts.AddFont(kFontThree, "Three").defaultOutline = {
        {{0, 0}, {20, 0}, {20, 40}, {0, 40}, {0, 0}}};
    s.SetScale(1.0, 1.0, 1.0);
    s.SetClipFlag(0);  // runs placed left of the device stay visible
  }

  // Draws markup into the rectangle through the entry point.
  void Draw(const std::string& markup, D_RECT rect) {
    std::string text = markup;
    s.HTMLStringOut(&text[0], 0.0, 0.0, &rect, 0);
  }

  std::vector<DrawnRun> Runs() const {
    std::vector<DrawnRun> out;
    const auto& calls = device.calls;
    for (std::size_t i = 0; i < calls.size(); ++i) {
      const auto& c = calls[i];
      if (c.name == "SetBrush" && i + 1 < calls.size() && calls[i + 1].name == "SetPen" &&
          calls[i + 1].nums[0] == 1.0 && calls[i + 1].nums[1] == c.nums[0]) {
        out.push_back(DrawnRun{static_cast<int>(c.nums[0]), {}, 0, 0});
      } else if (out.empty()) {
        continue;
      } else if (c.name == "FillPolygons") {
        const std::vector<D_POINT>& p = c.runs.at(0);
        out.back().glyphs.push_back(
            Glyph{p[0].x, p[0].y, p[2].y - p[0].y, static_cast<int>(p.size()), p[3].x != p[0].x});
      } else if (c.name == "DrawLine") {
        ++out.back().lines;
      } else if (c.name == "DrawPolylines") {
        ++out.back().outlines;
      }
    }
    return out;
  }

  // The background fills: colour and ring of each FillPolygon.
  struct Fill {
    int color;
    std::vector<D_POINT> ring;
  };
  std::vector<Fill> Fills() const {
    std::vector<Fill> out;
    int brush = -1;
    for (const auto& c : device.calls) {
      if (c.name == "SetBrush") brush = static_cast<int>(c.nums[0]);
      if (c.name == "FillPolygon") out.push_back(Fill{brush, c.runs.at(0)});
    }
    return out;
  }

  SyntheticFontLib fonts;
  ScopedMapFontLib installed;
  RecordingDevice device;
  CMapString s;
};

// A renderer driven directly, so tests can read its state between events.
struct DrivenRenderer {
  explicit DrivenRenderer(TextBox box) : renderer(box, &bench.s) {
    renderer.OnParseBegin(0, abort);
  }

  // Tags and texts only; the parse-end flush is left to End.
  void Feed(const std::string& markup) {
    CHTMLReader reader;
    reader.SetEventSink(&renderer);
    reader.SetEventMask(IHTMLReaderEvents::kTagStartEvents | IHTMLReaderEvents::kTagEndEvents |
                        IHTMLReaderEvents::kTextEvents);
    reader.ReadText(markup.c_str());
  }
  void End() { renderer.OnParseEnd(0, false); }

  bool abort = false;
  RichBench bench;
  COrvexHTMLReaderEvents renderer;
};

inline std::ostream& operator<<(std::ostream& os, const Glyph& g) {
  return os << "(" << g.x << ", " << g.y << " h " << g.height << ")";
}

}  // namespace richtext_test

#endif  // INKLINE_TESTS_RICHTEXT_RICHTEXT_SUPPORT_H
