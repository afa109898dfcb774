// GDI objects: creation, selection, deletion and stock objects.
#include "gdi_objects.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>

#include "handle_table.h"

namespace gdi {
namespace {

// A shard's lock and table on cache lines of their own.
struct alignas(64) Shard {
  TableMutex mutex;
  HandleTable<Object> table;
};
constexpr int kShardBits = 4;

Shard& ShardOf(const void* handle) {
  static auto* shards = new Shard[size_t{1} << kShardBits];
  // The high bits of the product: the table's probe takes lower ones.
  const auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(handle));
  return shards[(bits * 0x9E3779B97F4A7C15ull) >> (64 - kShardBits)];
}

// Makes the object live in its shard.
template <typename T>
T* Register(std::unique_ptr<T> object) {
  T* raw = object.get();
  Shard& shard = ShardOf(raw);
  TableLock hold(shard.mutex);
  shard.table.Add(std::move(object));
  return raw;
}

// Stock objects live outside the shards, made once and never destroyed.
template <typename T>
T* MakeStock(std::unique_ptr<T> object) {
  object->stock = true;
  return object.release();
}

// The default GUI font reports the character set of the host's code page.
Font* MakeDefaultGuiFont() {
  auto f = std::make_unique<Font>();
  f->lf.lfHeight = -12;
  f->lf.lfWeight = FW_NORMAL;
  f->lf.lfCharSet = GB2312_CHARSET;
  std::strcpy(f->lf.lfFaceName, "\xCB\xCE\xCC\xE5");  // "Song" in the host's code page
  return MakeStock(std::move(f));
}

Font* MakeSystemFont() {
  auto f = std::make_unique<Font>();
  f->lf.lfHeight = 16;
  f->lf.lfWeight = FW_BOLD;
  f->lf.lfCharSet = GB2312_CHARSET;
  std::strcpy(f->lf.lfFaceName, "System");
  return MakeStock(std::move(f));
}

Pen* MakeStockPen(int style, COLORREF color) {
  auto p = std::make_unique<Pen>();
  p->style = style;
  p->color = color;
  return MakeStock(std::move(p));
}

Brush* MakeStockBrush(bool hollow, COLORREF color) {
  auto b = std::make_unique<Brush>();
  b->hollow = hollow;
  b->color = color;
  return MakeStock(std::move(b));
}

// Stock objects are made once, on first use, and never destroyed.
struct StockObjects {
  Font* guiFont = MakeDefaultGuiFont();
  Font* systemFont = MakeSystemFont();
  Pen* blackPen = MakeStockPen(0, RGB(0, 0, 0));
  Pen* whitePen = MakeStockPen(0, RGB(255, 255, 255));
  Pen* nullPen = MakeStockPen(5, 0);
  Brush* whiteBrush = MakeStockBrush(false, RGB(255, 255, 255));
  Brush* blackBrush = MakeStockBrush(false, RGB(0, 0, 0));
  Brush* nullBrush = MakeStockBrush(true, 0);
  // Every one of them, to tell a stock handle by.
  Object* all[8] = {guiFont, systemFont, blackPen, whitePen, nullPen, whiteBrush, blackBrush, nullBrush};
};

const StockObjects& Stocks() {
  static const StockObjects stocks;
  return stocks;
}

Object* Stock(int index) {
  const StockObjects& s = Stocks();
  switch (index) {
    case DEFAULT_GUI_FONT: return s.guiFont;
    case SYSTEM_FONT: return s.systemFont;
    case BLACK_PEN: return s.blackPen;
    case WHITE_PEN: return s.whitePen;
    case NULL_PEN: return s.nullPen;
    case WHITE_BRUSH: return s.whiteBrush;
    case BLACK_BRUSH: return s.blackBrush;
    case NULL_BRUSH: return s.nullBrush;
    default: return nullptr;
  }
}

// Moves a context's selection of one kind from what it held to next.
// Called with the locks of the context's shard and of next's.
template <typename T>
void Reselect(T*& slot, T* next) {
  if (slot && !slot->stock) slot->selections.fetch_sub(1, std::memory_order_release);
  if (next && !next->stock) next->selections.fetch_add(1, std::memory_order_relaxed);
  slot = next;
}

}  // namespace

TableMutex& LockOf(const void* handle) { return ShardOf(handle).mutex; }

ShardLocks::ShardLocks(const void* a, const void* b) {
  TableMutex* x = &LockOf(a);
  TableMutex* y = &LockOf(b);
  if (y < x) std::swap(x, y);
  first_ = x;
  second_ = y == x ? nullptr : y;
  first_->lock();
  if (second_) second_->lock();
}

ShardLocks::~ShardLocks() {
  if (second_) second_->unlock();
  first_->unlock();
}

Object* StockAt(const void* handle) {
  if (!handle) return nullptr;
  for (Object* o : Stocks().all)
    if (o == handle) return o;
  return nullptr;
}

Object* Find(const void* handle) {
  if (Object* stock = StockAt(handle)) return stock;
  return ShardOf(handle).table.Find(handle);
}

Font* FindFont(const void* handle) {
  Object* o = Find(handle);
  return o && o->kind == Kind::Font ? static_cast<Font*>(o) : nullptr;
}

DC* FindDC(HDC handle) {
  Object* o = Find(handle);
  return o && o->kind == Kind::DC ? static_cast<DC*>(o) : nullptr;
}

}  // namespace gdi

using gdi::LockOf;

namespace {

// Replaces one setting of a device context and returns the one before;
// `none` for a handle that is no device context.
template <typename T>
T ExchangeSetting(HDC handle, T gdi::DC::*setting, T value, T none) {
  gdi::TableLock hold(LockOf(handle));
  gdi::DC* dc = gdi::FindDC(handle);
  if (!dc) return none;
  const T previous = dc->*setting;
  dc->*setting = value;
  return previous;
}

template <typename T>
T ReadSetting(HDC handle, T gdi::DC::*setting, T none) {
  gdi::SharedTableLock hold(LockOf(handle));
  gdi::DC* dc = gdi::FindDC(handle);
  return dc ? dc->*setting : none;
}

}  // namespace

extern "C" {

HFONT WINAPI CreateFontIndirectA(const LOGFONTA* lf) {
  if (!lf) return nullptr;
  auto font = std::make_unique<gdi::Font>();
  font->lf = *lf;
  font->lf.lfFaceName[LF_FACESIZE - 1] = '\0';
  return reinterpret_cast<HFONT>(gdi::Register(std::move(font)));
}

// A pen of any style but null draws; a width of 0 is one pixel wide.
HPEN WINAPI CreatePen(int style, int width, COLORREF color) {
  auto pen = std::make_unique<gdi::Pen>();
  pen->style = style;
  pen->width = width < 0 ? 0 : width;
  pen->color = color;
  return reinterpret_cast<HPEN>(gdi::Register(std::move(pen)));
}

HGDIOBJ WINAPI GetStockObject(int index) { return reinterpret_cast<HGDIOBJ>(gdi::Stock(index)); }

// A new context holds stock objects only, which are not counted: no other
// shard is touched.
HDC WINAPI CreateCompatibleDC(HDC) {
  auto dc = std::make_unique<gdi::DC>();
  gdi::Reselect(dc->font, static_cast<gdi::Font*>(gdi::Stock(SYSTEM_FONT)));
  gdi::Reselect(dc->pen, static_cast<gdi::Pen*>(gdi::Stock(BLACK_PEN)));
  gdi::Reselect(dc->brush, static_cast<gdi::Brush*>(gdi::Stock(WHITE_BRUSH)));
  return reinterpret_cast<HDC>(gdi::Register(std::move(dc)));
}

BOOL WINAPI DeleteDC(HDC handle) {
  gdi::TableLock hold(LockOf(handle));
  gdi::DC* dc = gdi::FindDC(handle);
  if (!dc || dc->stock) return FALSE;
  // What it held may be deleted now.
  gdi::Reselect<gdi::Font>(dc->font, nullptr);
  gdi::Reselect<gdi::Pen>(dc->pen, nullptr);
  gdi::Reselect<gdi::Brush>(dc->brush, nullptr);
  gdi::ShardOf(handle).table.Remove(handle);
  return TRUE;
}

// Selecting returns the object of the same kind that was selected before, or
// null when the context or the object is not valid.
HGDIOBJ WINAPI SelectObject(HDC handle, HGDIOBJ obj) {
  // A stock object needs no lock: it stays, and it is not counted.
  gdi::ShardLocks hold(handle, gdi::StockAt(obj) ? static_cast<const void*>(handle) : obj);
  gdi::DC* dc = gdi::FindDC(handle);
  gdi::Object* object = gdi::Find(obj);
  if (!dc || !object) return nullptr;
  gdi::Object* previous = nullptr;
  switch (object->kind) {
    case gdi::Kind::Font:
      previous = dc->font;
      gdi::Reselect(dc->font, static_cast<gdi::Font*>(object));
      break;
    case gdi::Kind::Pen:
      previous = dc->pen;
      gdi::Reselect(dc->pen, static_cast<gdi::Pen*>(object));
      break;
    case gdi::Kind::Brush:
      previous = dc->brush;
      gdi::Reselect(dc->brush, static_cast<gdi::Brush*>(object));
      break;
    case gdi::Kind::DC:
      return nullptr;
  }
  return reinterpret_cast<HGDIOBJ>(previous);
}

// Stock objects are never destroyed (deleting one succeeds harmlessly); an
// object still selected into a context is not deleted and the call fails.
BOOL WINAPI DeleteObject(HGDIOBJ obj) {
  if (gdi::StockAt(obj)) return TRUE;
  gdi::TableLock hold(LockOf(obj));
  gdi::Object* object = gdi::Find(obj);
  if (!object || object->kind == gdi::Kind::DC) return FALSE;
  if (object->selections.load(std::memory_order_acquire) > 0) return FALSE;
  gdi::ShardOf(obj).table.Remove(obj);
  return TRUE;
}

// Copies the font description; with a null buffer, returns the size needed.
int WINAPI GetObjectA(HGDIOBJ obj, int size, LPVOID out) {
  gdi::SharedTableLock hold(LockOf(obj));
  gdi::Font* font = gdi::FindFont(obj);
  if (!font) return 0;
  if (!out) return static_cast<int>(sizeof(LOGFONTA));
  if (size <= 0) return 0;
  const int n = std::min(size, static_cast<int>(sizeof(LOGFONTA)));
  std::memcpy(out, &font->lf, static_cast<size_t>(n));
  return n;
}

HGDIOBJ WINAPI GetCurrentObject(HDC handle, UINT type) {
  gdi::SharedTableLock hold(LockOf(handle));
  gdi::DC* dc = gdi::FindDC(handle);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_FONT: return reinterpret_cast<HGDIOBJ>(dc->font);
    case OBJ_PEN: return reinterpret_cast<HGDIOBJ>(dc->pen);
    case OBJ_BRUSH: return reinterpret_cast<HGDIOBJ>(dc->brush);
    default: return nullptr;
  }
}

// Returns the previous mode, or 0 for a bad context or mode.
int WINAPI SetBkMode(HDC handle, int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  return ExchangeSetting(handle, &gdi::DC::bkMode, mode, 0);
}

int WINAPI GetBkMode(HDC handle) { return ReadSetting(handle, &gdi::DC::bkMode, 0); }

COLORREF WINAPI SetTextColor(HDC handle, COLORREF color) {
  return ExchangeSetting(handle, &gdi::DC::textColor, color, COLORREF{CLR_INVALID});
}

COLORREF WINAPI GetTextColor(HDC handle) {
  return ReadSetting(handle, &gdi::DC::textColor, COLORREF{CLR_INVALID});
}

// The colour an opaque background is filled with.
COLORREF WINAPI SetBkColor(HDC handle, COLORREF color) {
  return ExchangeSetting(handle, &gdi::DC::bkColor, color, COLORREF{CLR_INVALID});
}

COLORREF WINAPI GetBkColor(HDC handle) {
  return ReadSetting(handle, &gdi::DC::bkColor, COLORREF{CLR_INVALID});
}

}  // extern "C"
