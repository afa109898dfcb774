// The numbers a host passes to the string object, by name: the bits of
// StringOut's style word, the arrangements, the device's flag that picks the
// scale rule, and the device kinds. Values are fixed by the interface.
#ifndef INKLINE_CONSTANTS_H
#define INKLINE_CONSTANTS_H

namespace inkline {

// StringOut's style word. The low byte is the style number: 0 upright,
// 1 leaning back, 2 italic, 3 and 4 the baseline of each glyph tilted up and
// down; adding 5 adds a shadow.
const short kStyleNumberMask = 0x00FF;
const short kStyleItalic = 2;
const short kStyleShadow = 5;
const short kStyleOutlined = 0x0400;   // outline in the colour and pixel width given
const short kStyleHollow = 0x0800;     // glyph outlines without fill
const short kStyleBold = 0x1000;
const short kStyleUnderline = 0x2000;
const short kStyleStrikeOut = 0x4000;

// StringOut's arrangement: a line left to right, or a column top to bottom.
const char kArrangementHorizontal = 0;
const char kArrangementVertical = 1;

// DeviceDriver::DispFlags: sizes are scaled by SetScale's third value alone
// instead of the first two multiplied.
const short kDispFlagScaleFromThird = 0x80;

// MapString::SetClipFlag. Any value but kClipOff lets kinds 1 and 3 skip
// glyphs outside the clip rectangle (the window rectangle); kClipOn is the
// default. kClipToWindow, for a host whose window rectangle bounds all its
// device shows, also lets every kind that takes the window rectangle (all
// but 2, 8 and 9) pass over glyphs too far outside it to show there, and end
// a run that has left it for good: long texts off the window then cost
// nothing. Other kinds, and other values, draw every glyph.
const short kClipOff = 0;
const short kClipOn = 1;
const short kClipToWindow = 0x100;

// DeviceDriver::GetDeviceType. Each kind says where the library finds the
// device context and the extent it draws TrueType text on; kinds 1 and 3
// let the library skip glyphs outside the window.
enum DeviceKind {
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
