// A host built on the Windows framework hands the library the framework's
// own device-context object in DeviceDriver::pWinDC: a table pointer first,
// then the output handle, the attribute handle and the printing flag. The
// library must find the output handle there, on Windows and on the portable
// layer alike, or all GDI text of kinds 0, 1 and 6 silently disappears.
#include <gtest/gtest.h>

#include <inkline/afx.h>
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

}  // namespace
