#include <gtest/gtest.h>

#include <functional>

#include "GdiObject.h"

namespace {

// One row per wrapper class: how the wrapper makes its own handle, how a raw
// handle of the same kind is made outside it, and the type GDI reports.
struct GdiKind {
  const char *name;
  std::function<std::unique_ptr<CGdiObject>()> createOwned;
  std::function<HGDIOBJ()> createRaw;
  DWORD objectType;
};

std::vector<GdiKind> Kinds() {
  return {
      {"pen",
       [] {
         auto pen = std::make_unique<CPen>();
         pen->CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
         return std::unique_ptr<CGdiObject>(std::move(pen));
       },
       [] { return static_cast<HGDIOBJ>(::CreatePen(PS_DOT, 1, 0)); }, OBJ_PEN},
      {"brush",
       [] {
         auto brush = std::make_unique<CBrush>();
         brush->CreateHatchBrush(HS_CROSS, RGB(9, 9, 9));
         return std::unique_ptr<CGdiObject>(std::move(brush));
       },
       [] { return static_cast<HGDIOBJ>(::CreateSolidBrush(RGB(4, 5, 6))); }, OBJ_BRUSH},
      {"font",
       [] {
         auto font = std::make_unique<CFont>();
         font->CreatePointFont(90, L"Tahoma");
         return std::unique_ptr<CGdiObject>(std::move(font));
       },
       [] {
         LOGFONTW logFont = {};
         logFont.lfHeight = -12;
         return static_cast<HGDIOBJ>(::CreateFontIndirectW(&logFont));
       },
       OBJ_FONT},
      {"bitmap",
       [] {
         auto bitmap = std::make_unique<CBitmap>();
         bitmap->CreateBitmap(8, 8, 1, 1, nullptr);
         return std::unique_ptr<CGdiObject>(std::move(bitmap));
       },
       [] { return static_cast<HGDIOBJ>(::CreateBitmap(4, 4, 1, 1, nullptr)); }, OBJ_BITMAP},
      {"region",
       [] {
         auto region = std::make_unique<CRgn>();
         region->CreateRectRgn(0, 0, 10, 10);
         return std::unique_ptr<CGdiObject>(std::move(region));
       },
       [] { return static_cast<HGDIOBJ>(::CreateRectRgn(0, 0, 3, 3)); }, OBJ_REGION},
  };
}

TEST(GdiObjectOwnership, CreatedHandleIsDeletedWithTheWrapper) {
  for (const GdiKind &kind : Kinds()) {
    SCOPED_TRACE(kind.name);
    auto wrapper = kind.createOwned();
    HGDIOBJ handle = wrapper->m_hObject;
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(::GetObjectType(handle), kind.objectType);
    EXPECT_TRUE(wrapper->IsOwned());
    wrapper.reset();
    EXPECT_EQ(::GetObjectType(handle), 0u);
  }
}

TEST(GdiObjectOwnership, AttachedHandleSurvivesTheWrapper) {
  for (const GdiKind &kind : Kinds()) {
    SCOPED_TRACE(kind.name);
    HGDIOBJ handle = kind.createRaw();
    ASSERT_NE(handle, nullptr);
    {
      CGdiObject wrapper;
      EXPECT_TRUE(wrapper.Attach(handle));
      EXPECT_FALSE(wrapper.IsOwned());
    }
    EXPECT_EQ(::GetObjectType(handle), kind.objectType);
    {
      // Deleting through the wrapper only lets an attached handle go.
      CGdiObject wrapper;
      wrapper.Attach(handle);
      wrapper.DeleteObject();
      EXPECT_EQ(wrapper.m_hObject, nullptr);
    }
    EXPECT_EQ(::GetObjectType(handle), kind.objectType);
    ::DeleteObject(handle);
  }
}

TEST(GdiObjectOwnership, DetachedHandleIsNoLongerTheWrappers) {
  HGDIOBJ handle = nullptr;
  {
    CPen pen(PS_SOLID, 2, RGB(0, 0, 255));
    handle = pen.Detach();
    EXPECT_EQ(pen.m_hObject, nullptr);
  }
  EXPECT_EQ(::GetObjectType(handle), static_cast<DWORD>(OBJ_PEN));
  ::DeleteObject(handle);
}

TEST(GdiObjectOwnership, TemporaryWrappersNeverDelete) {
  HBRUSH brush = ::CreateSolidBrush(RGB(10, 20, 30));
  CBrush *temporary = CBrush::FromHandle(brush);
  ASSERT_NE(temporary, nullptr);
  EXPECT_EQ(CBrush::FromHandle(brush), temporary);
  EXPECT_FALSE(temporary->IsOwned());
  temporary->DeleteObject();
  CGdiObject::DeleteTempMap();
  EXPECT_EQ(::GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
  ::DeleteObject(brush);
  EXPECT_EQ(CBrush::FromHandle(nullptr), nullptr);
}

TEST(GdiObjectOwnership, SharedSystemObjectsAreNotDeleted) {
  HGDIOBJ stockPen = ::GetStockObject(BLACK_PEN);
  HBRUSH systemBrush = ::GetSysColorBrush(COLOR_BTNFACE);
  {
    CGdiObject stock;
    EXPECT_TRUE(stock.CreateStockObject(BLACK_PEN));
    CBrush face;
    EXPECT_TRUE(face.CreateSysColorBrush(COLOR_BTNFACE));
    EXPECT_EQ(face.m_hObject, systemBrush);
  }
  EXPECT_EQ(::GetObjectType(stockPen), static_cast<DWORD>(OBJ_PEN));
  LOGBRUSH logBrush = {};
  EXPECT_NE(::GetObjectW(systemBrush, sizeof(logBrush), &logBrush), 0);
  EXPECT_EQ(logBrush.lbColor, ::GetSysColor(COLOR_BTNFACE));
}

TEST(GdiObjectOwnership, RecreatingDeletesThePreviousOwnedHandle) {
  CBrush brush(RGB(1, 1, 1));
  HGDIOBJ first = brush.m_hObject;
  ASSERT_TRUE(brush.CreateSolidBrush(RGB(2, 2, 2)));
  EXPECT_NE(brush.m_hObject, first);
  EXPECT_EQ(::GetObjectType(first), 0u);
}

TEST(GdiObjectOwnership, FailedCreationKeepsNothing) {
  CFont font;
  EXPECT_FALSE(font.CreateFontIndirect(nullptr));
  EXPECT_EQ(font.m_hObject, nullptr);
  CBrush brush;
  EXPECT_FALSE(brush.CreatePatternBrush(nullptr));
}

TEST(GdiObjectQueries, PointFontHeightFollowsTheScreenResolution) {
  CFont font;
  ASSERT_TRUE(font.CreatePointFont(120, L"Arial"));
  LOGFONTW logFont = {};
  ASSERT_EQ(font.GetLogFont(&logFont), static_cast<int>(sizeof(logFont)));
  HDC screen = ::GetDC(nullptr);
  int expected = ::MulDiv(::GetDeviceCaps(screen, LOGPIXELSY), 12, 72);
  ::ReleaseDC(nullptr, screen);
  EXPECT_EQ(logFont.lfHeight, -expected);
  EXPECT_STREQ(logFont.lfFaceName, L"Arial");
}

TEST(GdiObjectQueries, BitmapReportsItsSize) {
  CBitmap bitmap;
  ASSERT_TRUE(bitmap.CreateCompatibleBitmap(nullptr, 33, 7));
  BITMAP info = {};
  ASSERT_NE(bitmap.GetBitmap(&info), 0);
  EXPECT_EQ(info.bmWidth, 33);
  EXPECT_EQ(info.bmHeight, 7);
}

TEST(GdiObjectQueries, RegionsCombineAndHitTest) {
  CRgn left, right, both;
  ASSERT_TRUE(left.CreateRectRgn(0, 0, 10, 10));
  ASSERT_TRUE(right.CreateRectRgn(20, 0, 30, 10));
  // Combining needs an existing destination region.
  EXPECT_EQ(both.CombineRgn(&left, &right, RGN_OR), ERROR);
  ASSERT_TRUE(both.CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(both.CombineRgn(&left, &right, RGN_OR), COMPLEXREGION);
  EXPECT_TRUE(both.PtInRegion(5, 5));
  EXPECT_TRUE(both.PtInRegion(CPoint(25, 5)));
  EXPECT_FALSE(both.PtInRegion(15, 5));
  CRect box;
  EXPECT_EQ(both.GetRgnBox(&box), COMPLEXREGION);
  EXPECT_EQ(box, CRect(0, 0, 30, 10));

  const POINT triangle[] = {{0, 0}, {20, 0}, {0, 20}};
  CRgn polygon;
  ASSERT_TRUE(polygon.CreatePolygonRgn(triangle, 3, ALTERNATE));
  EXPECT_TRUE(polygon.PtInRegion(2, 2));
  EXPECT_FALSE(polygon.PtInRegion(18, 18));
}

TEST(GdiObjectQueries, SafeHandleOfNoObjectIsNull) {
  CFont *none = nullptr;
  EXPECT_EQ(AfxGetSafeHandle(none), nullptr);
  CFont font;
  EXPECT_EQ(font.GetSafeHandle(), nullptr);
  font.CreatePointFont(80, L"Arial");
  EXPECT_EQ(AfxGetSafeHandle(&font), font.m_hObject);
}

TEST(GdiObjectQueries, RuntimeClassesFollowTheHierarchy) {
  CPen pen;
  EXPECT_TRUE(pen.IsKindOf(RUNTIME_CLASS(CGdiObject)));
  EXPECT_FALSE(pen.IsKindOf(RUNTIME_CLASS(CBrush)));
}

} // namespace
