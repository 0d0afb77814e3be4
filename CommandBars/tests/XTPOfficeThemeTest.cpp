// The Office theme's corner exclusion: a fill after it keeps the four corner
// pixels of the rectangle and nothing else.
#include <gtest/gtest.h>

#include "XTPOfficeTheme.h"
#include "../../Common/tests/MemoryCanvas.h"

namespace {

TEST(OfficeThemeExcludeCorners, FillKeepsOnlyTheFourCorners) {
  MemoryCanvas canvas(20, 20, RGB(255, 255, 255));
  CRect rc(2, 3, 12, 10);
  int nSaved = canvas.dc.SaveDC();
  CXTPOfficeTheme::ExcludeCorners(&canvas.dc, rc);
  canvas.dc.FillSolidRect(0, 0, 20, 20, RGB(0, 0, 255));
  canvas.dc.RestoreDC(nSaved);
  for (CPoint pt : {CPoint(2, 3), CPoint(11, 3), CPoint(2, 9), CPoint(11, 9)})
    EXPECT_EQ(canvas.Pixel(pt.x, pt.y), RGB(255, 255, 255)) << pt.x << "," << pt.y;
  for (CPoint pt : {CPoint(3, 3), CPoint(2, 4), CPoint(10, 9), CPoint(11, 8), CPoint(1, 3), CPoint(12, 9)})
    EXPECT_EQ(canvas.Pixel(pt.x, pt.y), RGB(0, 0, 255)) << pt.x << "," << pt.y;
  // After the restore the clip is whole again.
  canvas.dc.FillSolidRect(0, 0, 20, 20, RGB(0, 255, 0));
  EXPECT_EQ(canvas.Pixel(2, 3), RGB(0, 255, 0));
}

TEST(OfficeThemeExcludeCorners, EmptyRectangleOrNoContextChangesNothing) {
  MemoryCanvas canvas(10, 10, RGB(255, 255, 255));
  CXTPOfficeTheme::ExcludeCorners(nullptr, CRect(0, 0, 5, 5));
  CXTPOfficeTheme::ExcludeCorners(&canvas.dc, CRect(4, 4, 4, 8));
  canvas.dc.FillSolidRect(0, 0, 10, 10, RGB(0, 0, 255));
  EXPECT_EQ(canvas.Pixel(4, 4), RGB(0, 0, 255));
}

} // namespace
