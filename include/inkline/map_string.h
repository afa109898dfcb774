// The annotation string object: the MapString interface the host draws
// through, its one implementation CMapString, and the factory.
#ifndef INKLINE_MAP_STRING_H
#define INKLINE_MAP_STRING_H

#include <inkline/constants.h>
#include <inkline/device.h>
#include <inkline/export.h>
#include <inkline/fontlib.h>
#include <inkline/win32.h>

// The interface a host draws annotation strings through. Its table of virtual
// operations holds exactly these eight slots in this order and no destructor;
// the host releases an object with Free, never with delete.
class INKLINE_API MapString {
 public:
  // Draws a plain annotation; sizes are in the host's size unit and scaled
  // by the object's scales. style: the low byte is the style number, the
  // high bits the switches inkline::kStyleOutlined, kStyleHollow, kStyleBold,
  // kStyleUnderline and kStyleStrikeOut (inkline/constants.h). color and
  // extra are the background box colour and factor, or when outlined the
  // outline colour and width in screen pixels.
  virtual void StringOut(char* text, double x, double y, double height, double width, short fontNo,
                         short style, double angle, double space, char arrangement, short color,
                         double extra, MapFontLib* fontLib) = 0;
  // Draws a rich-text annotation (markup) laid out inside box.
  virtual void HTMLStringOut(char* markup, double unused1, double unused2, D_RECT* box,
                             long unused3) = 0;
  // Sets the three scales; returns 1.
  virtual short SetScale(double first, double second, double third) = 0;
  // Stores flag, truncated, as the clip switch; returns 1. Non-zero lets the
  // glyph drawers of kinds 1 and 3 skip characters outside the clip area;
  // inkline::kClipToWindow lets every kind skip those that cannot show in
  // its window (inkline/constants.h).
  virtual short SetClipFlag(double flag) = 0;
  // Destroys the object and releases its memory.
  virtual void Free() = 0;

 private:
  // Makes a font current, selecting a Windows font when the rule allows it.
  virtual bool SetFont(short fontNo, short style, short bold, short underline, short strikeOut,
                       double height, double width, double angle, bool native) = 0;
  // Draws a string already in device units; used for nested pieces.
  virtual void DispString(char* text, double x, double y, double height, double width,
                          short fontNo, short style, short bold, short underline, short strikeOut,
                          double angle, double space, char arrangement, short color,
                          double boxScale) = 0;
  // Draws one character from the vector font; returns its advance in design units.
  virtual double Inkline(char* ch, double x, double y, short bold, short underline, double a1,
                         double a2, double a3, double a4) = 0;

 public:
  // Out of line: the library exports them with the class.
  MapString();
  MapString(const MapString&);
  MapString& operator=(const MapString&);

 protected:
  ~MapString() {}
};

// The one implementation of MapString, bound to one output device for its
// whole life. Its fields are public: they are the drawing state that later
// calls see (the current font, the last measured extent, the device's
// settings), and a host's diagnostics may read them. Its operations besides
// the interface's are the steps of the drawing, each callable on its own.
//
// Threads: an object, like the device it draws on, is used by one thread at
// a time. Objects on different threads may draw at the same time, each on
// its own device, sharing one font library: the library keeps no drawing
// state outside the object and reads the stroke-font file with positioned
// reads, and the portable Windows layer locks what it shares. A shared font
// library must allow this too: MapFont::GetCharOutline's arrays must stay
// valid for the calling thread until that thread's next call.
class INKLINE_API CMapString INKLINE_FINAL : public MapString {
 public:
  explicit CMapString(DeviceDriver* driver);
  CMapString(const CMapString& other);
  CMapString& operator=(const CMapString& other);
  ~CMapString();

  // MapString
  void StringOut(char* text, double x, double y, double height, double width, short fontNo,
                 short style, double angle, double space, char arrangement, short color,
                 double extra, MapFontLib* fontLib) INKLINE_OVERRIDE;
  void HTMLStringOut(char* markup, double unused1, double unused2, D_RECT* box,
                     long unused3) INKLINE_OVERRIDE;
  short SetScale(double first, double second, double third) INKLINE_OVERRIDE;
  short SetClipFlag(double flag) INKLINE_OVERRIDE;
  void Free() INKLINE_OVERRIDE;

  // Layout engine: recognises fractions and raise/lower codes, draws the pieces.
  void DispStringInner(char* text, double x, double y, double height, double width, short fontNo,
                       short style, short bold, short underline, short strikeOut, double angle,
                       double space, char arrangement, short color, double boxScale);

  // Run writer: device state per kind, background box, renderer choice.
  void WriteString(double x, double y, double height, double width, char* text, short fontNo,
                   short style, short bold, short underline, short strikeOut, double angle,
                   double space, char arrangement, short color, double boxScale);
  void InnerWriteString(double x, double y, double height, double width, char* text,
                        short fontNo, short style, short bold, short underline, short strikeOut,
                        double angle, double space, char arrangement, short color,
                        double boxScale, bool native);
  // Measures a run into RangePoly; 1 when computed, 0 for a null text or no font.
  short GetStringRange(double x, double y, double height, double width, char* text,
                       double angle, double space, char arrangement, double boxScale,
                       short fontNo, short style);

  // Windows font selection and lookups.
  void RestoreFont(bool native);
  int IsValidateWindowFont(short style);
  short AdjustRationalDispMode(short style);
  short GetZt(char* faceName);
  MapFont* SetFont(char* faceName);
  short GetFontName(short fontNo, char** name);

  // Vector-font run loop and the pen/brush save shared by the drawers.
  void GraphDispChar(double x, double y, double height, double width, char* str, short fontNo,
                     short style, short bold, short underline, short strikeOut, double angle,
                     double spacing, char arrangement, short color, double boxScale,
                     bool native);
  int GetOldPenOrBrush(PEN* pen, BRUSH* brush);

  // TrueType run loop and one character.
  void WinDispChar(double x, double y, double height, double width, char* str, short fontNo,
                   short style, short bold, short underline, short strikeOut, double angle,
                   double spacing, char arrangement, short color, double boxScale, bool native);
  double DispWinChar(double x, double y, char* ch, bool native);

  // Character library: reads one stroke record, draws one character.
  void GetClib(int file, char* ch);
  int DispChar(double x, double y, char* ch, short bold, double a1, double a2, double a3,
               double a4);

  // Fields, in declared order.
  DeviceDriver* Driver;
  MapFont* CurFont;
  MapFontLib* FontLib;
  short CurFontNo;
  short CurStyle;
  short DevFlags;
  short SizeClass;
  double ScaleA;
  double ScaleB;
  double ScaleC;
  double CharHeight;
  CDC* pDC;
  int DevHeight;
  short RationalDispMode;
  double OutlineWidth;
  double LineWidth;
  LOGFONTA WinFont;
  D_RECT DevRect;
  short ClipFlag;
  short DeviceType;
  short OutlineMode;
  short Hollow;
  int OutlineColor;
  RECT ClipRect;
  POINT RangePoly[5];
  DeviceDriver* TextDriver;
  LOGFONTA TextFont;
  HFONT hFont;
  HGDIOBJ hOldFont;
  int OldBkMode;
  short LibType;
  unsigned char ClibRecord[66];
  double DesignGrid;
  POINT* PathPoints;
  BYTE* PathTypes;
  int PathCap;
  // Work buffer of GlyphCap points for the placed outline of one vector glyph
  // (the glyph and its shadow copy side by side); owned, grown, never shared.
  D_POINT* GlyphPoints;
  int GlyphCap;

 private:
  bool SetFont(short fontNo, short style, short bold, short underline, short strikeOut,
               double height, double width, double angle, bool native) INKLINE_OVERRIDE;
  void DispString(char* text, double x, double y, double height, double width, short fontNo,
                  short style, short bold, short underline, short strikeOut, double angle,
                  double space, char arrangement, short color, double boxScale) INKLINE_OVERRIDE;
  double Inkline(char* ch, double x, double y, short bold, short underline, double a1,
                 double a2, double a3, double a4) INKLINE_OVERRIDE;

  // Has no effect and returns true; part of the exported class's interface.
  bool ShowHTMLText(POINT origin, D_RECT* box, long flags);
};

// Creates a string object bound to driver (null allowed: it draws nothing) and
// stores it in *out, or null when it cannot be allocated. Always returns 1.
INKLINE_API long INKLINE_CALL CreateMapString(DeviceDriver* driver, MapString** out);

extern "C" {
// A placeholder export; returns 0.
INKLINE_API void* INKLINE_CALL Inkline_ExportFunctionPTR();
}

#endif  // INKLINE_MAP_STRING_H
