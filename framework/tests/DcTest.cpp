#include <gtest/gtest.h>

#include "Dc.h"

namespace {

// A memory DC over a small screen-compatible bitmap, for drawing and reading pixels.
class MemoryDcTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_dc.CreateCompatibleDC(nullptr));
    ASSERT_TRUE(m_bitmap.CreateCompatibleBitmap(nullptr, 40, 30));
    m_oldBitmap = m_dc.SelectObject(&m_bitmap);
    ASSERT_NE(m_oldBitmap, nullptr);
    m_dc.FillSolidRect(0, 0, 40, 30, RGB(255, 255, 255));
  }
  void TearDown() override { m_dc.SelectObject(m_oldBitmap); }

  CDC m_dc;
  CBitmap m_bitmap;
  CBitmap *m_oldBitmap = nullptr;
};

TEST(DcOwnership, CreatedDcIsDeletedAndAttachedDcSurvives) {
  HDC created = nullptr;
  {
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    created = dc.GetSafeHdc();
    EXPECT_EQ(::GetObjectType(created), static_cast<DWORD>(OBJ_MEMDC));
  }
  EXPECT_EQ(::GetObjectType(created), 0u);

  HDC raw = ::CreateCompatibleDC(nullptr);
  {
    CDC dc;
    dc.Attach(raw);
    EXPECT_FALSE(dc.IsOwned());
  }
  {
    CDC::FromHandle(raw)->DeleteDC();
    CDC::DeleteTempMap();
  }
  EXPECT_EQ(::GetObjectType(raw), static_cast<DWORD>(OBJ_MEMDC));
  ::DeleteDC(raw);
}

TEST_F(MemoryDcTest, SelectObjectReturnsWhatItReplaced) {
  HGDIOBJ originalPen = ::GetCurrentObject(m_dc, OBJ_PEN);
  CPen red(PS_SOLID, 1, RGB(255, 0, 0));
  CPen blue(PS_SOLID, 1, RGB(0, 0, 255));
  CPen *before = m_dc.SelectObject(&red);
  ASSERT_NE(before, nullptr);
  EXPECT_EQ(before->m_hObject, originalPen);
  EXPECT_EQ(m_dc.SelectObject(&blue)->m_hObject, red.m_hObject);
  EXPECT_EQ(m_dc.GetCurrentPen()->m_hObject, blue.m_hObject);
  m_dc.SelectObject(before);
  EXPECT_EQ(::GetCurrentObject(m_dc, OBJ_PEN), originalPen);
  // The wrapper that was handed back does not own the pen it wraps.
  EXPECT_FALSE(before->IsOwned());

  CGdiObject *stockBefore = m_dc.SelectStockObject(NULL_BRUSH);
  ASSERT_NE(stockBefore, nullptr);
  EXPECT_EQ(::GetCurrentObject(m_dc, OBJ_BRUSH), ::GetStockObject(NULL_BRUSH));
  m_dc.SelectObject(stockBefore);
}

TEST_F(MemoryDcTest, RestoreDcUndoesAttributeChanges) {
  m_dc.SetTextColor(RGB(1, 2, 3));
  m_dc.SetBkMode(OPAQUE);
  int saved = m_dc.SaveDC();
  ASSERT_NE(saved, 0);
  m_dc.SetTextColor(RGB(200, 100, 50));
  m_dc.SetBkMode(TRANSPARENT);
  m_dc.SetViewportOrg(5, 5);
  EXPECT_TRUE(m_dc.RestoreDC(saved));
  EXPECT_EQ(m_dc.GetTextColor(), RGB(1, 2, 3));
  EXPECT_EQ(m_dc.GetBkMode(), OPAQUE);
  EXPECT_EQ(m_dc.GetViewportOrg(), CPoint(0, 0));
}

TEST_F(MemoryDcTest, SolidAnd3dRectanglesPaintTheirPixels) {
  m_dc.FillSolidRect(CRect(2, 2, 6, 6), RGB(255, 0, 0));
  EXPECT_EQ(m_dc.GetPixel(2, 2), RGB(255, 0, 0));
  EXPECT_EQ(m_dc.GetPixel(5, 5), RGB(255, 0, 0));
  EXPECT_EQ(m_dc.GetPixel(6, 6), RGB(255, 255, 255));

  // A 10x8 frame at (10,10): top-left colour on the top and left edges,
  // bottom-right colour on the right column and the bottom row, inside untouched.
  const COLORREF light = RGB(0, 255, 0), dark = RGB(0, 0, 255);
  m_dc.Draw3dRect(10, 10, 10, 8, light, dark);
  struct Pixel {
    int x, y;
    COLORREF color;
  } const pixels[] = {
      {10, 10, light},
      {18, 10, light},
      {10, 16, light},
      {19, 10, dark},
      {19, 17, dark},
      {10, 17, dark},
      {15, 17, dark},
      {15, 13, RGB(255, 255, 255)},
      {20, 12, RGB(255, 255, 255)},
  };
  for (const Pixel &p : pixels) {
    SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
    EXPECT_EQ(m_dc.GetPixel(p.x, p.y), p.color);
  }
}

TEST_F(MemoryDcTest, ClippingLimitsDrawing) {
  m_dc.IntersectClipRect(0, 0, 10, 10);
  CRect box;
  EXPECT_NE(m_dc.GetClipBox(&box), ERROR);
  EXPECT_EQ(box, CRect(0, 0, 10, 10));
  m_dc.FillSolidRect(0, 0, 40, 30, RGB(0, 0, 0));
  EXPECT_EQ(m_dc.GetPixel(5, 5), RGB(0, 0, 0));
  EXPECT_EQ(m_dc.GetPixel(15, 5), RGB(255, 255, 255));

  m_dc.SelectClipRgn(nullptr);
  EXPECT_NE(m_dc.GetClipBox(&box), ERROR);
  EXPECT_EQ(box, CRect(0, 0, 40, 30));
}

TEST_F(MemoryDcTest, DrawTextNeverWritesIntoTheCallersString) {
  // Room after the terminator, so a write past the end would show.
  wchar_t text[64];
  for (int i = 0; i < 63; ++i) text[i] = L'x';
  text[63] = 0;
  text[20] = 0;
  CRect narrow(0, 0, 12, 20);
  m_dc.DrawText(text, -1, &narrow, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
  EXPECT_EQ(wcslen(text), 20u);
  for (int i = 21; i < 63; ++i) ASSERT_EQ(text[i], L'x') << i;

  CString string(L"A rather long line of text");
  CRect rect(0, 0, 15, 20);
  m_dc.DrawText(string, &rect, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
  EXPECT_EQ(string, CString(L"A rather long line of text"));
}

TEST_F(MemoryDcTest, TextMeasuresGrowWithTheText) {
  CSize one = m_dc.GetTextExtent(CString(L"W"));
  CSize three = m_dc.GetTextExtent(L"WWW", 3);
  EXPECT_GT(one.cx, 0);
  EXPECT_EQ(three.cx, 3 * one.cx);
  TEXTMETRICW metrics = {};
  EXPECT_TRUE(m_dc.GetTextMetrics(&metrics));
  EXPECT_EQ(one.cy, metrics.tmHeight);

  CRect calc(0, 0, 0, 0);
  m_dc.DrawText(CString(L"WWW"), &calc, DT_SINGLELINE | DT_CALCRECT);
  EXPECT_EQ(calc.Width(), three.cx);
}

TEST_F(MemoryDcTest, SizesConvertWithoutTheOrigin) {
  m_dc.SetViewportOrg(100, 50);
  CSize size(7, 9);
  m_dc.LPtoDP(&size);
  EXPECT_EQ(size, CSize(7, 9));
  CPoint point(1, 1);
  m_dc.LPtoDP(&point);
  EXPECT_EQ(point, CPoint(101, 51));
  m_dc.DPtoLP(&point);
  EXPECT_EQ(point, CPoint(1, 1));

  m_dc.SetMapMode(MM_ANISOTROPIC);
  ::SetWindowExtEx(m_dc, 1, 1, nullptr);
  ::SetViewportExtEx(m_dc, 2, 3, nullptr);
  size = CSize(5, 5);
  m_dc.LPtoDP(&size);
  EXPECT_EQ(size, CSize(10, 15));
  m_dc.DPtoLP(&size);
  EXPECT_EQ(size, CSize(5, 5));
}

TEST_F(MemoryDcTest, LinesAndBlitsReachTheBitmap) {
  CPen black(PS_SOLID, 1, RGB(0, 0, 0));
  CPen *old = m_dc.SelectObject(&black);
  m_dc.MoveTo(0, 20);
  m_dc.LineTo(10, 20);
  EXPECT_EQ(m_dc.GetCurrentPosition(), CPoint(10, 20));
  m_dc.SelectObject(old);
  EXPECT_EQ(m_dc.GetPixel(5, 20), RGB(0, 0, 0));
  EXPECT_EQ(m_dc.GetPixel(10, 20), RGB(255, 255, 255)); // the end point is not drawn

  CDC copy;
  ASSERT_TRUE(copy.CreateCompatibleDC(&m_dc));
  CBitmap target;
  ASSERT_TRUE(target.CreateCompatibleBitmap(&m_dc, 40, 30));
  CBitmap *previous = copy.SelectObject(&target);
  EXPECT_TRUE(copy.BitBlt(0, 0, 40, 30, &m_dc, 0, 0, SRCCOPY));
  EXPECT_EQ(copy.GetPixel(5, 20), RGB(0, 0, 0));
  EXPECT_TRUE(copy.PatBlt(0, 0, 40, 30, WHITENESS));
  EXPECT_EQ(copy.GetPixel(5, 20), RGB(255, 255, 255));
  copy.SelectObject(previous);
}

} // namespace
