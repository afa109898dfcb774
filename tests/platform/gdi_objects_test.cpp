#include <cstdio>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include <inkline/afx.h>
#include <inkline/win32.h>

#include "support/portable_only.h"
#include "support/temp_file.h"

namespace {

struct ScopedDC {
  ScopedDC() : dc(CreateCompatibleDC(nullptr)) {}
  ~ScopedDC() { DeleteDC(dc); }
  HDC dc;
};

LOGFONTA Font(int height, const char* face) {
  LOGFONTA lf{};
  lf.lfHeight = height;
  std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return lf;
}

TEST(GdiObjects, SelectingReturnsThePreviousObjectOfThatKind) {
  ScopedDC c;
  LOGFONTA a = Font(12, "A"), b = Font(14, "B");
  HFONT fa = CreateFontIndirectA(&a);
  HFONT fb = CreateFontIndirectA(&b);
  ASSERT_NE(fa, nullptr);
  ASSERT_NE(fb, nullptr);
  HGDIOBJ original = SelectObject(c.dc, reinterpret_cast<HGDIOBJ>(fa));
  EXPECT_NE(original, nullptr);  // a new context holds the system font
  EXPECT_EQ(SelectObject(c.dc, reinterpret_cast<HGDIOBJ>(fb)), reinterpret_cast<HGDIOBJ>(fa));
  EXPECT_EQ(GetCurrentObject(c.dc, OBJ_FONT), reinterpret_cast<HGDIOBJ>(fb));
  // Selecting a pen leaves the font alone.
  HGDIOBJ oldPen = SelectObject(c.dc, GetStockObject(NULL_PEN));
  EXPECT_EQ(oldPen, GetStockObject(BLACK_PEN));
  EXPECT_EQ(GetCurrentObject(c.dc, OBJ_FONT), reinterpret_cast<HGDIOBJ>(fb));
  EXPECT_EQ(SelectObject(c.dc, original), reinterpret_cast<HGDIOBJ>(fb));
  EXPECT_TRUE(DeleteObject(reinterpret_cast<HGDIOBJ>(fa)));
  EXPECT_TRUE(DeleteObject(reinterpret_cast<HGDIOBJ>(fb)));
}

TEST(GdiObjects, ObjectSelectedIntoAContextIsNotDeleted) {
  INKLINE_PORTABLE_ONLY("the portable GDI's own object bookkeeping");
  ScopedDC c;
  LOGFONTA a = Font(12, "A");
  HFONT f = CreateFontIndirectA(&a);
  HGDIOBJ old = SelectObject(c.dc, reinterpret_cast<HGDIOBJ>(f));
  EXPECT_FALSE(DeleteObject(reinterpret_cast<HGDIOBJ>(f)));
  EXPECT_EQ(GetObjectA(reinterpret_cast<HGDIOBJ>(f), 0, nullptr), (int)sizeof(LOGFONTA));
  SelectObject(c.dc, old);
  EXPECT_TRUE(DeleteObject(reinterpret_cast<HGDIOBJ>(f)));
  // Deleted: the handle is stale now.
  EXPECT_FALSE(DeleteObject(reinterpret_cast<HGDIOBJ>(f)));
  EXPECT_EQ(GetObjectA(reinterpret_cast<HGDIOBJ>(f), 0, nullptr), 0);
  EXPECT_EQ(SelectObject(c.dc, reinterpret_cast<HGDIOBJ>(f)), nullptr);

  // Selected into two contexts, it stays until neither holds it; a deleted
  // context holds nothing.
  HFONT g = CreateFontIndirectA(&a);
  HDC second = CreateCompatibleDC(nullptr);
  SelectObject(c.dc, reinterpret_cast<HGDIOBJ>(g));
  SelectObject(second, reinterpret_cast<HGDIOBJ>(g));
  SelectObject(c.dc, old);
  EXPECT_FALSE(DeleteObject(reinterpret_cast<HGDIOBJ>(g)));
  DeleteDC(second);
  EXPECT_TRUE(DeleteObject(reinterpret_cast<HGDIOBJ>(g)));
}

TEST(GdiObjects, StockObjectsSurviveDeletion) {
  INKLINE_PORTABLE_ONLY("the portable GDI's stock objects: a Chinese system's GUI font");
  HGDIOBJ gui = GetStockObject(DEFAULT_GUI_FONT);
  ASSERT_NE(gui, nullptr);
  EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT), gui);
  EXPECT_TRUE(DeleteObject(gui));
  LOGFONTA lf{};
  EXPECT_EQ(GetObjectA(gui, sizeof lf, &lf), (int)sizeof lf);
  EXPECT_EQ(lf.lfCharSet, GB2312_CHARSET);
  EXPECT_EQ(GetStockObject(12345), nullptr);
}

TEST(GdiObjects, GetObjectCopiesAtMostTheGivenSize) {
  LOGFONTA a = Font(-20, "Face");
  a.lfEscapement = 900;
  HFONT f = CreateFontIndirectA(&a);
  LOGFONTA out{};
  EXPECT_EQ(GetObjectA(reinterpret_cast<HGDIOBJ>(f), sizeof out, &out), (int)sizeof out);
  EXPECT_EQ(out.lfHeight, -20);
  EXPECT_EQ(out.lfEscapement, 900);
  EXPECT_STREQ(out.lfFaceName, "Face");
  LONG height = 0;
  EXPECT_EQ(GetObjectA(reinterpret_cast<HGDIOBJ>(f), sizeof height, &height), (int)sizeof height);
  EXPECT_EQ(height, -20);
  DeleteObject(reinterpret_cast<HGDIOBJ>(f));
  EXPECT_EQ(CreateFontIndirectA(nullptr), nullptr);
}

// Fonts made and deleted by the thousand, as labels do, with many alive
// beside them: each live one is found with its own description, and a
// deleted one is refused at once.
TEST(GdiObjects, LiveObjectsStayFoundThroughChurn) {
  std::vector<HFONT> live;
  for (int i = 0; i < 300; ++i) {
    LOGFONTA lf = Font(i + 1, "Kept");
    live.push_back(CreateFontIndirectA(&lf));
  }
  for (size_t i = 0; i < live.size(); i += 3) {
    ASSERT_TRUE(DeleteObject(reinterpret_cast<HGDIOBJ>(live[i])));
    EXPECT_FALSE(DeleteObject(reinterpret_cast<HGDIOBJ>(live[i])));
    live[i] = nullptr;
  }
  for (int round = 0; round < 20000; ++round) {
    LOGFONTA lf = Font(-round, "Passing");
    HFONT passing = CreateFontIndirectA(&lf);
    ASSERT_NE(passing, nullptr);
    ASSERT_TRUE(DeleteObject(reinterpret_cast<HGDIOBJ>(passing)));
    ASSERT_EQ(GetObjectA(reinterpret_cast<HGDIOBJ>(passing), 0, nullptr), 0);
  }
  for (size_t i = 0; i < live.size(); ++i) {
    if (!live[i]) continue;
    LOGFONTA got{};
    ASSERT_EQ(GetObjectA(reinterpret_cast<HGDIOBJ>(live[i]), sizeof got, &got), static_cast<int>(sizeof got));
    EXPECT_EQ(got.lfHeight, static_cast<LONG>(i + 1));
    EXPECT_TRUE(DeleteObject(reinterpret_cast<HGDIOBJ>(live[i])));
  }
}

TEST(GdiObjects, BackgroundModeReturnsThePreviousOne) {
  ScopedDC c;
  EXPECT_EQ(GetBkMode(c.dc), OPAQUE);
  EXPECT_EQ(SetBkMode(c.dc, TRANSPARENT), OPAQUE);
  EXPECT_EQ(SetBkMode(c.dc, OPAQUE), TRANSPARENT);
  EXPECT_EQ(SetBkMode(c.dc, 7), 0);  // not a mode
  EXPECT_EQ(GetBkMode(c.dc), OPAQUE);
  EXPECT_EQ(SetBkMode(nullptr, TRANSPARENT), 0);
}

TEST(GdiObjects, DeletedContextIsRefused) {
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_FALSE(DeleteDC(dc));
  EXPECT_EQ(SetBkMode(dc, TRANSPARENT), 0);
  EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), nullptr);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 0);
}

TEST(User, DesktopHas96PixelsPerInch) {
  HWND desktop = GetDesktopWindow();
  EXPECT_NE(desktop, nullptr);
  HDC dc = GetDC(desktop);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 96);
  EXPECT_EQ(ReleaseDC(desktop, dc), 1);
}

TEST(User, PtInRectIncludesLeftTopAndExcludesRightBottom) {
  const RECT r{0, 0, 10, 5};
  const struct {
    POINT p;
    bool inside;
  } cases[] = {{{0, 0}, true},   {{9, 4}, true},   {{10, 0}, false},
               {{0, 5}, false},  {{-1, 2}, false}, {{5, -1}, false}};
  for (const auto& c : cases)
    EXPECT_EQ(PtInRect(&r, c.p) != 0, c.inside) << c.p.x << "," << c.p.y;
  EXPECT_FALSE(PtInRect(nullptr, POINT{0, 0}));
}

TEST(Framework, FromHandleMapsAHandleToOneObject) {
  ScopedDC c;
  CDC* a = CDC::FromHandle(c.dc);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a, CDC::FromHandle(c.dc));
  EXPECT_EQ(a->m_hDC, c.dc);
  EXPECT_EQ(CDC::FromHandle(nullptr), nullptr);
}

TEST(Files, SeekAndReadByIntegerHandle) {
  TempFile file("0123456789");
  const HFILE h = file.handle();
  char buf[8] = {};
  EXPECT_EQ(_llseek(h, 4, FILE_BEGIN), 4);
  EXPECT_EQ(_lread(h, buf, 3), 3u);
  EXPECT_STREQ(buf, "456");
  EXPECT_EQ(_llseek(h, -2, FILE_END), 8);
  EXPECT_EQ(_lread(h, buf, 5), 2u);  // short read at the end of the file
  EXPECT_EQ(_llseek(h, -20, FILE_BEGIN), HFILE_ERROR);
  EXPECT_EQ(_llseek(h, 0, 99), HFILE_ERROR);
  EXPECT_EQ(_llseek(HFILE_ERROR, 0, FILE_BEGIN), HFILE_ERROR);
  EXPECT_EQ(_lread(HFILE_ERROR, buf, 1), static_cast<UINT>(HFILE_ERROR));
}

}  // namespace
