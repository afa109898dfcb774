#include <inkline/host/cairo_device.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <vector>

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>

#include <inkline/afx.h>
#include <inkline/host/palette.h>
#include <inkline/shared/numeric.h>
#include <inkline/shared/text_units.h>
#include <inkline/win32_sink.h>

#include "cairo_gdi_sink.h"
#include "glyph_masks.h"
#include "glyph_run.h"
#include "mask_blend.h"
#include "native_text.h"
#include "png_writer.h"
#include "svg_text_layer.h"

namespace {
// Pens wider than this cover any picture; a wider, infinite or NaN width
// must not reach Cairo or an integer conversion as it is.
constexpr double kWidestPen = 1e6;

// The width Cairo strokes with: as given within range, 1 for none.
double StrokeWidth(double width) {
  if (!(width > 0)) return 1.0;
  return width < kWidestPen ? width : kWidestPen;
}

// The width of the matching GDI pen, rounded: 0 for none.
int GdiPenWidth(double width) { return width > 0 ? shared::RoundHalfUp(StrokeWidth(width)) : 0; }
}  // namespace

struct CairoDevice::State {
  Options options;
  std::string path;
  cairo_surface_t* surface = nullptr;
  cairo_t* cr = nullptr;
  HDC dc = nullptr;
  // GDI pens made for the context, the one matching CurPen selected: labels
  // switch between a few pens over and over, so they are kept, not remade.
  struct DcPen {
    int style = 0, width = 0;
    COLORREF rgb = 0;
    HPEN pen = nullptr;
    unsigned long long used = 0;
  };
  std::array<DcPen, 4> dcPens;
  unsigned long long penUses = 0;
  // What the context holds now: a label sets the same pen and brush again
  // and again, and each selection costs GDI calls.
  const DcPen* selectedPen = nullptr;
  COLORREF textRgb = CLR_INVALID;
  std::unique_ptr<CairoGdiSink> sink;
  NativeTextFonts nativeFonts;
  NativeTextPlacement nativePlace;  // kept, so its glyphs keep their room
  SvgTextLayer svgText;
  GlyphRun pendingText;  // native text not shown yet (PDF and PNG)
  // A PNG page's rows this device draws into, for filling glyph outlines
  // through a coverage mask (no pixels: other pictures, filled by Cairo).
  PixelRows rows;
  std::vector<GdiPoint> figurePoints;
  std::vector<BYTE> figureTypes;
  GlyphMask figureMask;
  float textAngle = 0.0f;
  short textOutline = 0;
  bool finished = false;
  bool band = false;  // draws a band of someone else's page: no file to write

  ~State() {
    if (dc) {
      InklineSetDCSink(dc, nullptr);
      DeleteDC(dc);
    }
    for (const DcPen& p : dcPens)
      if (p.pen) DeleteObject(reinterpret_cast<HGDIOBJ>(p.pen));
    if (cr) cairo_destroy(cr);
    if (surface) cairo_surface_destroy(surface);
  }

  // The RGB value of a colour number; false for "no colour".
  bool Rgb(long colorNo, COLORREF* rgb) const {
    COLORREF value = 0;
    const bool known = GetCOLORREFByColorNo(colorNo, value, const_cast<void*>(options.palette)) != 0;
    *rgb = value;
    return known;
  }

  double Y(double y) const { return options.height - y; }

  // Colour 0 is "no colour" for fills; a pen of colour 0 (the library's
  // zero pen, e.g. fraction bars on kinds 2 and 7-9) draws in black.
  bool UsePen(const PEN& pen) {
    COLORREF rgb = 0;
    if (pen.color != 0 && !Rgb(pen.color, &rgb)) return false;
    SetSourceRgb(cr, rgb);
    cairo_set_line_width(cr, StrokeWidth(pen.width));
    return true;
  }
  bool UseBrush(const BRUSH& brush) {
    COLORREF rgb = 0;
    if (!Rgb(brush.color, &rgb)) return false;
    SetSourceRgb(cr, rgb);
    return true;
  }

  void DrawInto(int top, int bottom) {
    sink->BlendGlyphsInto(surface, top, bottom);
    rows = RowsOf(surface, top, bottom);
  }

  // Fills the runs (closed, non-zero winding) in rgb through a coverage
  // mask; false, drawing nothing, when they are too large for one.
  bool BlendRuns(const D_POINT* points, const int* counts, long runs, COLORREF rgb) {
    figurePoints.clear();
    figureTypes.clear();
    long at = 0;
    for (long r = 0; r < runs; ++r) {
      const int n = std::max(counts[r], 0);
      for (int i = 0; i < n; ++i) {
        figurePoints.push_back(GdiPoint{points[at + i].x, Y(points[at + i].y)});
        figureTypes.push_back(i == 0 ? PT_MOVETO : PT_LINETO);
      }
      at += n;
    }
    const GdiPath figures{figurePoints.data(), figureTypes.data(), static_cast<int>(figurePoints.size())};
    if (!RasteriseFigures(figures, &figureMask)) return false;
    cairo_surface_flush(surface);
    BlendMask(figureMask, 0, 0, rgb, rows);
    cairo_surface_mark_dirty(surface);
    return true;
  }

  void AppendRuns(const D_POINT* points, const int* counts, long runs, bool close) {
    long at = 0;
    for (long r = 0; r < runs; ++r) {
      const int n = counts[r];
      for (int i = 0; i < n; ++i) {
        const D_POINT& p = points[at + i];
        if (i == 0)
          cairo_move_to(cr, p.x, Y(p.y));
        else
          cairo_line_to(cr, p.x, Y(p.y));
      }
      if (close && n > 0) cairo_close_path(cr);
      at += std::max(n, 0);
    }
  }

  // Fills closed runs with the brush by rule, after any text still pending.
  void FillRuns(const D_POINT* points, const int* counts, long runs, cairo_fill_rule_t rule,
                const BRUSH& brush) {
    pendingText.Show(cr);
    if (runs <= 0 || !UseBrush(brush)) return;
    // On a picture page, glyph outlines (non-zero rule) go through the
    // coverage rasteriser instead of Cairo's path filling.
    COLORREF rgb = 0;
    if (rule == CAIRO_FILL_RULE_WINDING && rows.pixels && Rgb(brush.color, &rgb) &&
        BlendRuns(points, counts, runs, rgb))
      return;
    cairo_new_path(cr);
    AppendRuns(points, counts, runs, true);
    cairo_set_fill_rule(cr, rule);
    cairo_fill(cr);
  }
};

bool PictureFormatFor(const std::string& path, PictureFormat* format) {
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos) return false;
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (ext == "png") *format = PictureFormat::Png;
  else if (ext == "svg") *format = PictureFormat::Svg;
  else if (ext == "pdf") *format = PictureFormat::Pdf;
  else return false;
  return true;
}

// The Cairo context and the device context over the state's surface.
bool CairoDevice::StartDrawing(State& state, std::string* error) {
  if (cairo_surface_status(state.surface) != CAIRO_STATUS_SUCCESS) {
    *error = state.path + ": " + cairo_status_to_string(cairo_surface_status(state.surface));
    return false;
  }
  state.cr = cairo_create(state.surface);
  cairo_set_line_join(state.cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(state.cr, CAIRO_LINE_CAP_ROUND);
  state.sink = std::make_unique<CairoGdiSink>(state.cr, &state.pendingText);
  state.dc = CreateCompatibleDC(nullptr);
  InklineSetDCSink(state.dc, state.sink.get());
  SetBkMode(state.dc, TRANSPARENT);
  return true;
}

// The whole page's pixels with a clip to the band's rows. The clip is whole
// pixels, so the band's pixels come out as on the page drawn whole; a
// surface of the band's rows alone, shifted into place, does not quite:
// Cairo's stroker then rounds some edges of outlined text differently.
std::unique_ptr<CairoDevice> CairoDevice::CreateForBand(const Options& options, const PageBand& band,
                                                        std::string* error) {
  if (options.width < 1 || options.height < 1 || band.rows < 1 || band.top < 0 ||
      band.top + band.rows > options.height || options.format != PictureFormat::Png) {
    *error = "a band needs rows within a PNG page";
    return nullptr;
  }
  auto state = std::make_unique<State>();
  state->options = options;
  state->band = true;
  state->surface = cairo_image_surface_create_for_data(
      band.pixels, band.opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32, options.width,
      options.height, band.stride);
  if (!StartDrawing(*state, error)) return nullptr;
  cairo_rectangle(state->cr, 0, band.top, options.width, band.rows);
  cairo_clip(state->cr);
  state->DrawInto(band.top, band.top + band.rows);
  return std::unique_ptr<CairoDevice>(new CairoDevice(std::move(state)));
}

std::unique_ptr<CairoDevice> CairoDevice::Create(const std::string& path, const Options& options,
                                                 std::string* error) {
  if (options.width < 1 || options.height < 1) {
    *error = "the picture needs a size of at least 1 x 1";
    return nullptr;
  }
  auto state = std::make_unique<State>();
  state->options = options;
  state->path = path;
  switch (options.format) {
    case PictureFormat::Png: {
      // An opaque page needs no alpha channel, nor does its PNG.
      COLORREF background = 0;
      const bool opaque = options.backgroundColor > 0 && state->Rgb(options.backgroundColor, &background);
      state->surface = cairo_image_surface_create(opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32,
                                                  options.width, options.height);
      break;
    }
    case PictureFormat::Svg:
      state->surface = cairo_svg_surface_create(path.c_str(), options.width, options.height);
      break;
    case PictureFormat::Pdf:
      state->surface = cairo_pdf_surface_create(path.c_str(), options.width, options.height);
      break;
  }
  if (!StartDrawing(*state, error)) return nullptr;
  if (options.format == PictureFormat::Png) state->DrawInto(0, options.height);
  COLORREF background = 0;
  if (options.backgroundColor > 0 && state->Rgb(options.backgroundColor, &background)) {
    SetSourceRgb(state->cr, background);
    cairo_paint(state->cr);
  }
  std::unique_ptr<CairoDevice> device(new CairoDevice(std::move(state)));
  return device;
}

CairoDevice::CairoDevice(std::unique_ptr<State> state) : state_(std::move(state)) {
  const Options& o = state_->options;
  WinHeight = o.height;
  WinRect = D_RECT{0.0, 0.0, static_cast<double>(o.width), static_cast<double>(o.height)};
  pWinDC = CDC::FromHandle(state_->dc);
  hTextDC = hDevDC = hPageDC = state_->dc;
  PageYMin = SheetYMin = 0.0;
  PageYMax = SheetYMax = o.height;
  CurPen = PEN{1.0, 1, 0};
  CurBrush = BRUSH{1, 0, 0, 0};
  SetTextColor(state_->dc, RGB(0, 0, 0));
}

CairoDevice::~CairoDevice() = default;

bool CairoDevice::Finish(std::string* error) {
  State& s = *state_;
  if (s.finished) return true;
  s.finished = true;
  s.pendingText.Show(s.cr);
  cairo_surface_flush(s.surface);
  cairo_status_t status = cairo_status(s.cr);
  if (s.band && status != CAIRO_STATUS_SUCCESS) *error = cairo_status_to_string(status);
  if (s.band) return status == CAIRO_STATUS_SUCCESS;
  if (status == CAIRO_STATUS_SUCCESS && s.options.format == PictureFormat::Png)
    return WritePng(s.surface, s.path, error);
  cairo_surface_finish(s.surface);
  if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(s.surface);
  if (status != CAIRO_STATUS_SUCCESS) {
    *error = s.path + ": " + cairo_status_to_string(status);
    return false;
  }
  if (s.options.format == PictureFormat::Svg) return s.svgText.WriteInto(s.path, error);
  return true;
}

short CairoDevice::GetDeviceType() { return state_->options.kind; }

short CairoDevice::GetRationalDispMode() { return state_->options.rationalDispMode; }

// The device context strokes paths (outlined GDI text) with its own pen, so
// every device pen is mirrored there as a GDI pen.
void CairoDevice::SetPen(PEN* pen) {
  CurPen = *pen;
  State& s = *state_;
  COLORREF rgb = 0;
  const bool visible = pen->color == 0 || s.Rgb(pen->color, &rgb);
  const int style = visible ? PS_SOLID : PS_NULL, width = GdiPenWidth(pen->width);
  const auto fits = [&](const State::DcPen& p) {
    return p.pen && p.style == style && p.width == width && p.rgb == rgb;
  };
  if (s.selectedPen && fits(*s.selectedPen)) return;
  State::DcPen* slot = &s.dcPens[0];
  for (State::DcPen& p : s.dcPens) {
    if (fits(p)) {
      slot = &p;
      break;
    }
    if (p.used < slot->used) slot = &p;  // the least recently used, to be replaced
  }
  if (!fits(*slot)) {
    HPEN next = CreatePen(style, width, rgb);
    if (!next) return;
    // The slot replaced is never the selected pen: that one was used last.
    if (slot->pen) DeleteObject(reinterpret_cast<HGDIOBJ>(slot->pen));
    *slot = State::DcPen{style, width, rgb, next, 0};
  }
  slot->used = ++s.penUses;
  SelectObject(s.dc, reinterpret_cast<HGDIOBJ>(slot->pen));
  s.selectedPen = slot;
}

// The device context's text colour follows the brush, so GDI text is drawn
// in the colour the library fills glyphs with.
void CairoDevice::SetBrush(BRUSH* brush) {
  CurBrush = *brush;
  COLORREF rgb = 0;
  if (!state_->Rgb(brush->color, &rgb) || rgb == state_->textRgb) return;
  SetTextColor(state_->dc, rgb);
  state_->textRgb = rgb;
}

void CairoDevice::DrawLine(double x1, double y1, double x2, double y2) {
  State& s = *state_;
  s.pendingText.Show(s.cr);
  if (!s.UsePen(CurPen)) return;
  cairo_new_path(s.cr);
  cairo_move_to(s.cr, x1, s.Y(y1));
  cairo_line_to(s.cr, x2, s.Y(y2));
  cairo_stroke(s.cr);
}

void CairoDevice::DrawPolylines(D_POINT* points, int* counts, short runs) {
  State& s = *state_;
  s.pendingText.Show(s.cr);
  if (runs <= 0 || !s.UsePen(CurPen)) return;
  cairo_new_path(s.cr);
  s.AppendRuns(points, counts, runs, false);
  cairo_stroke(s.cr);
}

void CairoDevice::FillPolygon(D_POINT* points, int* counts, int runs) {
  state_->FillRuns(points, counts, runs, CAIRO_FILL_RULE_EVEN_ODD, CurBrush);
}

// A glyph: outer contours and holes wind opposite ways, overlapping strokes
// the same way, so the non-zero rule fills both right.
void CairoDevice::FillPolygons(D_POINT* points, int* counts, short runs) {
  state_->FillRuns(points, counts, runs, CAIRO_FILL_RULE_WINDING, CurBrush);
}

void CairoDevice::SetTextAngle(float degrees) { state_->textAngle = degrees; }

void CairoDevice::SetTextOutline(short mode) { state_->textOutline = mode; }

// Draws the one character at text. Plain native text is filled with the
// brush; outlined text is also stroked with the pen. The reference point is
// the top of the character cell.
double CairoDevice::DrawTextLogFont(LOGFONTA* font, double x, double y, char* text) {
  State& s = *state_;
  if (!font || !text) return 0.0;
  const bool outlined = s.textOutline != 0;
  // The library points into its run and expects exactly one character drawn.
  const std::string character(text, text[0] == '\0' ? 0 : shared::CharBytes(text));
  NativeTextPlacement& place = s.nativePlace;
  if (!s.nativeFonts.Place(*font, x, s.Y(y), s.textAngle, !outlined, character, &place)) return 0.0;
  COLORREF fill = 0, stroke = 0;
  const bool fills = s.Rgb(CurBrush.color, &fill);
  const bool strokes = outlined && s.Rgb(CurPen.color, &stroke);
  if (s.options.format == PictureFormat::Svg) {
    s.svgText.Add(place, fills, fill, strokes, stroke, StrokeWidth(CurPen.width));
  } else if (!strokes) {
    // Plain text joins the run of characters before it: a PDF records one
    // show per run instead of one per character. Pictures show each glyph
    // at once, as Cairo blends glyphs shown together differently where they
    // overlap.
    if (fills) {
      s.pendingText.Add(s.cr, s.nativeFonts, place, fill);
      if (s.options.format != PictureFormat::Pdf) s.pendingText.Show(s.cr);
    }
  } else {
    s.pendingText.Show(s.cr);
    cairo_save(s.cr);
    s.nativeFonts.Select(s.cr, place);
    cairo_translate(s.cr, place.originX, place.originY);
    cairo_rotate(s.cr, -place.angle * shared::kPi / 180.0);
    // The glyphs unturned from the origin, in the font's ems (y up).
    std::vector<cairo_glyph_t> glyphs;
    for (const NativeGlyph& g : place.glyphs)
      glyphs.push_back(cairo_glyph_t{g.index, g.x * place.emSize, -g.y * place.emSize});
    const auto path = [&] {
      cairo_new_path(s.cr);
      if (glyphs.empty()) {
        cairo_move_to(s.cr, 0, 0);
        cairo_text_path(s.cr, place.utf8.c_str());
      } else {
        cairo_glyph_path(s.cr, glyphs.data(), static_cast<int>(glyphs.size()));
      }
    };
    // The outline first, then the fill as real text (selectable in PDF).
    path();
    SetSourceRgb(s.cr, stroke);
    cairo_set_line_width(s.cr, StrokeWidth(CurPen.width));
    cairo_stroke(s.cr);
    if (fills) {
      SetSourceRgb(s.cr, fill);
      if (glyphs.empty()) {
        cairo_move_to(s.cr, 0, 0);
        cairo_show_text(s.cr, place.utf8.c_str());
      } else {
        const cairo_text_cluster_t all{static_cast<int>(place.utf8.size()),
                                       static_cast<int>(glyphs.size())};
        cairo_show_text_glyphs(s.cr, place.utf8.data(), static_cast<int>(place.utf8.size()),
                               glyphs.data(), static_cast<int>(glyphs.size()), &all, 1,
                               cairo_text_cluster_flags_t{});
      }
    }
    cairo_restore(s.cr);
  }
  return 0.0;
}
