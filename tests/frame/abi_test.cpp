// A host compiled separately calls through the tables of virtual operations
// by slot, so their order and size are part of the interface.
#include <gtest/gtest.h>

#include <inkline/inkline.h>

#include "support/probe.h"

namespace {

#if defined(__GNUC__) && !defined(_MSC_VER)
using Probe = CMapStringProbe;

TEST(InterfaceTables, MapStringHasEightSlotsInOrder) {
  EXPECT_EQ(Probe::Slot(&MapString::StringOut), 0);
  EXPECT_EQ(Probe::Slot(&MapString::HTMLStringOut), 1);
  EXPECT_EQ(Probe::Slot(&MapString::SetScale), 2);
  EXPECT_EQ(Probe::Slot(&MapString::SetClipFlag), 3);
  EXPECT_EQ(Probe::Slot(&MapString::Free), 4);
  EXPECT_EQ(Probe::SetFontSlot(), 5);
  EXPECT_EQ(Probe::DispStringSlot(), 6);
  EXPECT_EQ(Probe::InklineSlot(), 7);
  EXPECT_EQ(sizeof(MapString), sizeof(void*));  // no data, no hidden destructor slots
}

TEST(InterfaceTables, DeviceDriverSlotsInOrder) {
  EXPECT_EQ(Probe::Slot(&DeviceDriver::GetDeviceType), 0);
  EXPECT_EQ(Probe::Slot(&DeviceDriver::SetPen), 1);
  EXPECT_EQ(Probe::Slot(&DeviceDriver::SetBrush), 2);
  EXPECT_EQ(Probe::Slot(&DeviceDriver::DrawLine), 3);
  EXPECT_EQ(Probe::Slot(&DeviceDriver::DrawPolylines), 4);
  EXPECT_EQ(Probe::Slot(&DeviceDriver::FillPolygon), 5);
  EXPECT_EQ(Probe::Slot(&DeviceDriver::FillPolygons), 6);
  EXPECT_EQ(Probe::Slot(&DeviceDriver::GetRationalDispMode), 7);
  EXPECT_EQ(Probe::Slot(&DeviceDriver::DrawTextLogFont), 8);
  EXPECT_EQ(Probe::Slot(&DeviceDriver::SetTextAngle), 9);
  EXPECT_EQ(Probe::Slot(&DeviceDriver::SetTextOutline), 10);
}

TEST(InterfaceTables, FontLibrarySlotsInOrder) {
  EXPECT_EQ(Probe::Slot(&MapFontLib::Reserved0), 0);
  EXPECT_EQ(Probe::Slot(&MapFontLib::GetFontByName), 1);
  EXPECT_EQ(Probe::Slot(&MapFontLib::GetFontByNo), 2);
  EXPECT_EQ(Probe::Slot(&MapFontLib::GetFontNoByName), 3);
  EXPECT_EQ(Probe::Slot(&MapFontLib::GetFontName), 4);
  EXPECT_EQ(Probe::Slot(&MapFontLib::GetLibType), 5);
  EXPECT_EQ(Probe::Slot(&MapFont::Reserved0), 0);
  EXPECT_EQ(Probe::Slot(&MapFont::GetCharOutline), 1);
  EXPECT_EQ(Probe::Slot(&MapFont::CharLength), 2);
  EXPECT_EQ(Probe::Slot(&MapFont::Reserved3), 3);
  EXPECT_EQ(Probe::Slot(&MapFont::Reserved5), 5);
  EXPECT_EQ(Probe::Slot(&MapFont::GetYOffset), 6);
}

TEST(InterfaceTables, ClibFileIsTheFirstDataField) {
  struct Lib : MapFontLib {
    short GetFontByName(char*, MapFont**) override { return 0; }
    short GetFontByNo(short, MapFont**) override { return 0; }
    short GetFontNoByName(char*) override { return 0; }
    short GetFontName(short, char**) override { return 0; }
    short GetLibType() override { return 0; }
  } lib;
  lib.ClibFile = 0x1234;
  int first = 0;
  std::memcpy(&first, reinterpret_cast<const char*>(&lib) + sizeof(void*), sizeof first);
  EXPECT_EQ(first, 0x1234);
}
#endif

TEST(WindowsTypes, HaveWindowsSizes) {
  EXPECT_EQ(sizeof(LONG), 4u);
  EXPECT_EQ(sizeof(POINT), 8u);
  EXPECT_EQ(sizeof(RECT), 16u);
  EXPECT_EQ(sizeof(LOGFONTA), 60u);
  EXPECT_EQ(offsetof(LOGFONTA, lfFaceName), 28u);
}

}  // namespace
