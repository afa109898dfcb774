#include "emf_recorder.h"

#include <cstring>
#include <map>
#include <string>

#include "trace_text.h"

namespace {

// The comment that marks a device call: this tag, then the call's index.
constexpr char kMarkTag[4] = {'I', 'N', 'K', 'C'};

template <typename Record>
const Record& As(const BYTE* at) {
  return *reinterpret_cast<const Record*>(at);
}

// Bytes of wide text in the code page they were given in.
std::string Narrow(const wchar_t* text, int count, UINT codePage) {
  if (count <= 0) return {};
  const int n = WideCharToMultiByte(codePage, 0, text, count, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(codePage, 0, text, count, &out[0], n, nullptr, nullptr);
  return out;
}

// The code page GDI reads a narrow text in for a font of this character set.
UINT CodePageOf(BYTE charSet) {
  CHARSETINFO info{};
  const DWORD_PTR set = charSet;
  if (TranslateCharsetInfo(reinterpret_cast<DWORD*>(set), &info, TCI_SRCCHARSET)) return info.ciACP;
  return CP_ACP;
}

struct Pen {
  UINT style = PS_SOLID;
  int width = 0;
  COLORREF color = RGB(0, 0, 0);
};

// The state of the device context as the records change it, and the calls
// read so far.
class MetafileReader {
 public:
  explicit MetafileReader(size_t firstCall) : place_(firstCall) {
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof font_, &font_);
  }

  void Read(const BYTE* record) {
    switch (As<EMR>(record).iType) {
      case EMR_EXTCREATEFONTINDIRECTW: {
        const auto& r = As<EMREXTCREATEFONTINDIRECTW>(record);
        fonts_[r.ihFont] = r.elfw.elfLogFont;
        break;
      }
      case EMR_CREATEPEN: {
        const auto& r = As<EMRCREATEPEN>(record);
        pens_[r.ihPen] =
            Pen{r.lopn.lopnStyle, static_cast<int>(r.lopn.lopnWidth.x), r.lopn.lopnColor};
        break;
      }
      case EMR_EXTCREATEPEN: {
        const auto& r = As<EMREXTCREATEPEN>(record);
        pens_[r.ihPen] = Pen{r.elp.elpPenStyle & PS_STYLE_MASK, static_cast<int>(r.elp.elpWidth),
                             r.elp.elpColor};
        break;
      }
      case EMR_SELECTOBJECT:
        Select(As<EMRSELECTOBJECT>(record).ihObject);
        break;
      case EMR_SETTEXTCOLOR:
        textColor_ = As<EMRSETTEXTCOLOR>(record).crColor;
        break;
      case EMR_SETBKCOLOR:
        bkColor_ = As<EMRSETBKCOLOR>(record).crColor;
        break;
      case EMR_SETBKMODE:
        bkMode_ = As<EMRSETBKMODE>(record).iMode;
        break;
      case EMR_BEGINPATH:
        inPath_ = true;
        break;
      case EMR_ENDPATH:
      case EMR_ABORTPATH:
        inPath_ = false;
        break;
      case EMR_EXTTEXTOUTA:
      case EMR_EXTTEXTOUTW:
        Text(record);
        break;
      case EMR_POLYDRAW:
        PolyDraw(As<EMRPOLYDRAW>(record));
        break;
      case EMR_POLYDRAW16:
        PolyDraw(As<EMRPOLYDRAW16>(record));
        break;
      case EMR_GDICOMMENT:
        Comment(As<EMRGDICOMMENT>(record));
        break;
      default:
        break;
    }
  }

  std::vector<EmfRecorder::Placed> calls;

 private:
  void Select(DWORD handle) {
    if (handle & ENHMETA_STOCK_OBJECT) {
      HGDIOBJ stock = GetStockObject(static_cast<int>(handle & ~ENHMETA_STOCK_OBJECT));
      LOGPEN pen{};
      if (GetObjectType(stock) == OBJ_FONT) GetObjectW(stock, sizeof font_, &font_);
      if (GetObjectType(stock) == OBJ_PEN && GetObjectW(stock, sizeof pen, &pen))
        pen_ = Pen{pen.lopnStyle, static_cast<int>(pen.lopnWidth.x), pen.lopnColor};
      return;
    }
    if (auto f = fonts_.find(handle); f != fonts_.end()) font_ = f->second;
    if (auto p = pens_.find(handle); p != pens_.end()) pen_ = p->second;
  }

  void Text(const BYTE* record) {
    if (inPath_) return;  // recorded into the path, not drawn
    const auto& r = As<EMREXTTEXTOUTW>(record);
    const EMRTEXT& t = r.emrtext;
    const int count = static_cast<int>(t.nChars);
    std::string text =
        r.emr.iType == EMR_EXTTEXTOUTW
            ? Narrow(reinterpret_cast<const wchar_t*>(record + t.offString), count,
                     CodePageOf(font_.lfCharSet))
            : std::string(reinterpret_cast<const char*>(record + t.offString), t.nChars);
    long advance = 0;
    if (t.offDx)
      for (int i = 0; i < count; ++i) advance += reinterpret_cast<const LONG*>(record + t.offDx)[i];
    const std::string face =
        Narrow(font_.lfFaceName, static_cast<int>(wcsnlen(font_.lfFaceName, LF_FACESIZE)), CP_ACP);
    using RD = RecordingDevice;
    // The line holds what the library asked for; the advance (in nums) is
    // the face Windows mapped the font to, which depends on the system.
    RD::Call c;
    c.name = "GdiText";
    c.nums = {static_cast<double>(t.ptlReference.x), static_cast<double>(t.ptlReference.y),
              static_cast<double>(textColor_), static_cast<double>(advance)};
    c.line =
        "GdiText at " + RD::Num(t.ptlReference.x) + "," + RD::Num(t.ptlReference.y) +
        " color=" + trace_text::Colour(textColor_) +
        " bk=" + (bkMode_ == OPAQUE ? trace_text::Colour(bkColor_) : std::string("transparent")) +
        " text=" + trace_text::Hex(text.data(), static_cast<int>(text.size())) + " face=" + face +
        " h=" + RD::Num(font_.lfHeight) + " esc=" + RD::Num(font_.lfEscapement) +
        " weight=" + RD::Num(font_.lfWeight) + " italic=" + RD::Num(font_.lfItalic);
    c.text = std::move(text);
    calls.emplace_back(place_, std::move(c));
  }

  // EMRPOLYDRAW or EMRPOLYDRAW16: the points, then their types.
  template <typename Record>
  void PolyDraw(const Record& r) {
    const int count = static_cast<int>(CountOf(r));
    const auto* points = PointsOf(r);
    const BYTE* types = reinterpret_cast<const BYTE*>(points + count);
    if (inPath_ || pen_.style == PS_NULL) return;  // no stroke reaches the picture
    calls.emplace_back(place_,
                       trace_text::PolyDrawCall(pen_.width, pen_.color, points, types, count));
  }
  static DWORD CountOf(const EMRPOLYDRAW& r) { return r.cptl; }
  static DWORD CountOf(const EMRPOLYDRAW16& r) { return r.cpts; }
  static const POINTL* PointsOf(const EMRPOLYDRAW& r) { return r.aptl; }
  static const POINTS* PointsOf(const EMRPOLYDRAW16& r) { return r.apts; }

  void Comment(const EMRGDICOMMENT& r) {
    size_t index = 0;
    if (r.cbData != sizeof kMarkTag + sizeof index ||
        std::memcmp(r.Data, kMarkTag, sizeof kMarkTag))
      return;
    std::memcpy(&index, r.Data + sizeof kMarkTag, sizeof index);
    place_ = index + 1;  // what follows comes after that call
  }

  size_t place_;
  std::map<DWORD, LOGFONTW> fonts_;
  std::map<DWORD, Pen> pens_;
  LOGFONTW font_{};
  Pen pen_;
  COLORREF textColor_ = RGB(0, 0, 0);
  COLORREF bkColor_ = RGB(255, 255, 255);
  int bkMode_ = OPAQUE;
  bool inPath_ = false;
};

}  // namespace

EmfRecorder::EmfRecorder(size_t firstCall) { Start(firstCall); }

EmfRecorder::~EmfRecorder() {
  if (dc_) DeleteEnhMetaFile(CloseEnhMetaFile(dc_));
}

void EmfRecorder::Start(size_t firstCall) {
  dc_ = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  firstCall_ = firstCall;
  frameworkDC_.m_hDC = dc_;
  frameworkDC_.m_hAttribDC = dc_;
}

void EmfRecorder::Mark(size_t index) {
  BYTE data[sizeof kMarkTag + sizeof index];
  std::memcpy(data, kMarkTag, sizeof kMarkTag);
  std::memcpy(data + sizeof kMarkTag, &index, sizeof index);
  GdiComment(dc_, sizeof data, data);
}

std::vector<EmfRecorder::Placed> EmfRecorder::Take(size_t firstCall) {
  HENHMETAFILE metafile = CloseEnhMetaFile(dc_);
  MetafileReader reader(firstCall_);
  const UINT size = GetEnhMetaFileBits(metafile, 0, nullptr);
  std::vector<BYTE> bits(size);
  if (size && GetEnhMetaFileBits(metafile, size, bits.data()) == size) {
    for (UINT at = 0; at + sizeof(EMR) <= size;) {
      const EMR& record = As<EMR>(bits.data() + at);
      if (record.nSize < sizeof(EMR) || at + record.nSize > size) break;
      reader.Read(bits.data() + at);
      at += record.nSize;
    }
  }
  DeleteEnhMetaFile(metafile);
  Start(firstCall);
  return std::move(reader.calls);
}
