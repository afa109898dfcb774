// The numbers a host passes to the string object, by name: the bits of
// StringOut's style word, the device's flag that picks the scale rule, and
// the device kinds. Values are fixed by the interface.
#ifndef INKLINE_CONSTANTS_H
#define INKLINE_CONSTANTS_H

namespace inkline {

// StringOut's style word. The low byte is the style number: 0 upright,
// 1 leaning back, 2 italic, 3 and 4 the baseline of each glyph tilted up and
// down; adding 5 adds a shadow.
constexpr short kStyleNumberMask = 0x00FF;
constexpr short kStyleItalic = 2;
constexpr short kStyleShadow = 5;
constexpr short kStyleOutlined = 0x0400;   // outline in the colour and pixel width given
constexpr short kStyleHollow = 0x0800;     // glyph outlines without fill
constexpr short kStyleBold = 0x1000;
constexpr short kStyleUnderline = 0x2000;
constexpr short kStyleStrikeOut = 0x4000;

// DeviceDriver::DispFlags: sizes are scaled by SetScale's third value alone
// instead of the first two multiplied.
constexpr short kDispFlagScaleFromThird = 0x80;

// DeviceDriver::GetDeviceType. Each kind says where the library finds the
// device context and the extent it draws TrueType text on; kinds 1 and 3
// let the library skip glyphs outside the window.
enum DeviceKind : short {
  kDeviceWindow = 0,          // window context and rectangle
  kDeviceClippedWindow = 1,   // the same, skipping glyphs outside it
  kDeviceContext = 2,         // a bare device context; keeps no pen of its own
  kDevicePage = 3,            // page context and height; skips outline glyphs outside
  kDeviceSheet = 4,           // sheet height, window rectangle
  kDeviceWindowRect = 5,      // window rectangle only
  kDeviceWindowOther = 6,     // window context and rectangle
  kDeviceTextContext = 7,     // draws text natively; its own text context
  kDeviceNativeText = 8,      // draws text natively
  kDeviceNativeTextOther = 9  // draws text natively
};

}  // namespace inkline

#endif  // INKLINE_CONSTANTS_H
