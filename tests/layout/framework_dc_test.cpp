// A host built on the Windows framework hands the library the framework's
// own device-context object in DeviceDriver::pWinDC: a table pointer first,
// then the output handle, the attribute handle and the printing flag. The
// library must find the output handle there, on Windows and on the portable
// layer alike, or all GDI text of kinds 0, 1 and 6 silently disappears.
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include <inkline/afx.h>
#include <inkline/constants.h>
#include <inkline/host/hostlib.h>
#include <inkline/host/synthetic_font_lib.h>
#include <inkline/map_string.h>

#if defined(_WIN32)
#include <inkline/host/gdi_dib_device.h>
#else
#include <inkline/host/recording_device.h>
#endif

namespace {

// Laid out as the framework's CDC, with a table of the host's own: the
// library may read its fields but never call through its table.
class HostFrameworkDC {
 public:
  explicit HostFrameworkDC(HDC dc) : m_hDC(dc), m_hAttribDC(dc) {}
  // Output to one context, queries to another, as in print preview.
  HostFrameworkDC(HDC output, HDC attribute) : m_hDC(output), m_hAttribDC(attribute) {}
  virtual ~HostFrameworkDC() = default;
  virtual int GetRuntimeClass() { return 1; }
  virtual void Serialize() {}

  HDC m_hDC;
  HDC m_hAttribDC;
  BOOL m_bPrinting = FALSE;
};

// Draws "AB" as TrueType text (height equal to width, upright) on a device
// of the given kind whose pWinDC is a host's framework object, and returns
// how much GDI text reached the device context.
long TextDrawnThroughHostDC(short kind) {
  SyntheticFontLib fonts;
  fonts.Font(0)->faceName = "DejaVu Sans";
  ScopedMapFontLib installed(&fonts);
#if defined(_WIN32)
  GdiDibDevice::Options options;
  options.kind = kind;
  GdiDibDevice device(options);
#else
  RecordingDevice::Settings settings;
  settings.kind = kind;
  settings.rationalDispMode = 1;
  RecordingDevice device(settings);
#endif
  HostFrameworkDC hostDC(device.dc());
  device.pWinDC = reinterpret_cast<CDC*>(&hostDC);
  device.hDevDC = device.hPageDC = device.hTextDC = nullptr;

  CMapString s(&device);
  s.SetScale(1.0, 1.0, 1.0);
  char text[] = "AB";
  s.StringOut(text, 40, 100, 60, 60, 0, 0, 0, 0, 0, 0, 0, nullptr);
#if defined(_WIN32)
  return device.InkedPixels();
#else
  return static_cast<long>(device.CallsNamed("GdiText").size());
#endif
}

TEST(HostFrameworkDC, GdiTextReachesTheHostsContextOnKinds016) {
  for (short kind : {0, 1, 6}) {
    EXPECT_GT(TextDrawnThroughHostDC(kind), 0) << "kind " << kind;
  }
}

TEST(HostFrameworkDC, LibraryObjectHasTheFrameworkLayout) {
  CDC own(reinterpret_cast<HDC>(0x1234));
  HostFrameworkDC host(reinterpret_cast<HDC>(0x1234));
  const auto at = [](const void* object, const void* field) {
    return static_cast<const char*>(field) - static_cast<const char*>(object);
  };
  EXPECT_EQ(at(&own, &own.m_hDC), at(&host, &host.m_hDC));
  EXPECT_EQ(at(&own, &own.m_hAttribDC), at(&host, &host.m_hAttribDC));
  EXPECT_EQ(at(&own, &own.m_bPrinting), at(&host, &host.m_bPrinting));
  EXPECT_EQ(sizeof own, sizeof host);
}

// What one of a host's two device contexts holds.
struct DcState {
  HGDIOBJ font;
  int backgroundMode;
  COLORREF textColor;
  bool operator==(const DcState& o) const {
    return font == o.font && backgroundMode == o.backgroundMode && textColor == o.textColor;
  }
};

DcState StateOf(HDC dc) {
  return DcState{GetCurrentObject(dc, OBJ_FONT), GetBkMode(dc), GetTextColor(dc)};
}

// A window device whose framework object has an output and an attribute
// context; while the library draws a run's underline, and strokes a glyph
// outline, it notes what both contexts hold.
class PreviewDevice final : public DeviceDriver {
 public:
  PreviewDevice(HDC output, HDC attribute) : frameworkDC_(output, attribute) {
    WinHeight = 200;
    WinRect = D_RECT{0, 0, 400, 200};
    pWinDC = reinterpret_cast<CDC*>(&frameworkDC_);
  }
  short GetDeviceType() override { return 0; }
  void SetPen(PEN*) override { Note(); }
  void SetBrush(BRUSH*) override {}
  void DrawLine(double, double, double, double) override { Note(); }
  void DrawPolylines(D_POINT*, int*, short) override {}
  void FillPolygon(D_POINT*, int*, int) override {}
  void FillPolygons(D_POINT*, int*, short) override {}
  short GetRationalDispMode() override { return 1; }

  std::vector<std::pair<DcState, DcState>> seen;  // output, attribute

 private:
  void Note() {
    seen.emplace_back(StateOf(frameworkDC_.m_hDC), StateOf(frameworkDC_.m_hAttribDC));
  }
  HostFrameworkDC frameworkDC_;
};

// With an attribute context apart from the output context, the library sets
// the run's font (and an outlined glyph's font) and the transparent
// background on both, as the framework's own members would, draws on the
// output context, and puts both back; the text colour it never sets, on
// either. TrueType runs, underlined and outlined.
TEST(HostFrameworkDC, FontAndBackgroundGoToBothContexts) {
  SyntheticFontLib fonts;
  fonts.Font(0)->faceName = "DejaVu Sans";
  ScopedMapFontLib installed(&fonts);
  const HDC output = CreateCompatibleDC(nullptr);
  const HDC attribute = CreateCompatibleDC(nullptr);
  ASSERT_NE(output, nullptr);
  ASSERT_NE(attribute, nullptr);
  SetTextColor(attribute, RGB(0, 0, 255));
  const DcState outputBefore = StateOf(output);
  const DcState attributeBefore = StateOf(attribute);
  ASSERT_EQ(outputBefore.font, attributeBefore.font);  // both the default font
  ASSERT_NE(outputBefore.backgroundMode, TRANSPARENT);

  for (short style : {short{inkline::kStyleUnderline}, short{inkline::kStyleOutlined}}) {
    PreviewDevice device(output, attribute);
    CMapString s(&device);
    s.SetScale(1.0, 1.0, 1.0);
    char text[] = "AB";
    s.StringOut(text, 40, 100, 30, 30, 0, style, 0, 0, 0, 3, 1.0, nullptr);
    ASSERT_FALSE(device.seen.empty()) << style;
    for (const auto& [out, attr] : device.seen) {
      EXPECT_NE(out.font, outputBefore.font) << style;
      EXPECT_EQ(out.font, attr.font) << style;
      EXPECT_EQ(out.backgroundMode, TRANSPARENT) << style;
      EXPECT_EQ(attr.backgroundMode, TRANSPARENT) << style;
      EXPECT_EQ(attr.textColor, attributeBefore.textColor) << style;
    }
    EXPECT_TRUE(StateOf(output) == outputBefore) << style;
    EXPECT_TRUE(StateOf(attribute) == attributeBefore) << style;
  }
  DeleteDC(output);
  DeleteDC(attribute);
}

}  // namespace
