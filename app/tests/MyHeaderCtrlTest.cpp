// The signature list's owner-drawn header: where an item's title and sort
// triangle go, and what it paints (probed on a memory bitmap).
#include "AppFrameTest.h"

#include "MyHeaderCtrl.h"

#include <vector>

namespace {

bool operator==(const POINT &a, const POINT &b) {
  return a.x == b.x && a.y == b.y;
}

TEST(HeaderItemLayoutTest, PlacesTheTitleAndTheTriangle) {
  struct Case {
    const char *name;
    CRect item;
    int blank;
    bool pressed, sorted, ascending;
    CRect text;
    bool showText;
    std::vector<POINT> corners; // empty: no triangle
  };
  const std::vector<Case> cases = {
      {"plain", CRect(0, 0, 100, 20), 3, false, false, true, CRect(6, 0, 94, 20), true, {}},
      {"pressed moves right and down",
       CRect(0, 0, 100, 20),
       3,
       true,
       false,
       true,
       CRect(7, 2, 95, 20),
       true,
       {}},
      {"sorted up",
       CRect(0, 0, 100, 20),
       3,
       false,
       true,
       true,
       CRect(6, 0, 76, 20),
       true,
       {{85, 14}, {94, 14}, {89, 6}}},
      {"sorted down",
       CRect(0, 0, 100, 20),
       3,
       false,
       true,
       false,
       CRect(6, 0, 76, 20),
       true,
       {{85, 6}, {94, 6}, {89, 14}}},
      {"pressed and sorted",
       CRect(0, 0, 100, 20),
       3,
       true,
       true,
       true,
       CRect(7, 2, 77, 20),
       true,
       {{86, 14}, {95, 14}, {90, 8}}},
      {"odd offset rounds the far corner",
       CRect(50, 0, 200, 30),
       5,
       false,
       true,
       true,
       CRect(60, 0, 160, 30),
       true,
       {{175, 20}, {190, 20}, {182, 10}}},
      {"narrow and sorted: arrow only",
       CRect(0, 0, 24, 20),
       3,
       false,
       true,
       true,
       CRect(6, 0, 0, 20),
       false,
       {{9, 14}, {18, 14}, {13, 6}}},
      {"title room of one pixel", CRect(0, 0, 13, 20), 3, false, false, true, CRect(6, 0, 7, 20), true, {}},
      {"no title room", CRect(0, 0, 12, 20), 3, false, false, true, CRect(6, 0, 6, 20), false, {}},
  };
  for (const Case &c : cases) {
    const HeaderItemLayout layout = LayoutHeaderItem(c.item, c.blank, c.pressed, c.sorted, c.ascending);
    EXPECT_EQ(layout.text, c.text) << c.name;
    EXPECT_EQ(layout.showText, c.showText) << c.name;
    EXPECT_EQ(layout.arrow, !c.corners.empty()) << c.name;
    for (size_t corner = 0; corner < c.corners.size(); ++corner)
      EXPECT_TRUE(layout.corners[corner] == c.corners[corner]) << c.name << " corner " << corner;
  }
}

// The width a title needs is the least at which the sorted layout leaves it
// room, in every font size.
TEST(HeaderItemLayoutTest, AWidthForATitleLeavesItWholeBesideTheTriangle) {
  for (const auto &[title, blank] : {std::pair{62, 3}, std::pair{40, 4}, std::pair{1, 2}}) {
    const int width = HeaderItemWidthFor(title, blank);
    EXPECT_EQ(LayoutHeaderItem(CRect(0, 0, width, 20), blank, false, true, true).text.Width(), title) << title;
    EXPECT_EQ(LayoutHeaderItem(CRect(0, 0, width - 1, 20), blank, false, true, true).text.Width(), title - 1);
  }
}

// A header on the frame that paints into a memory bitmap.
class HeaderDrawing : public AppFrameTest {
protected:
  static constexpr int kWidth = 300;
  static constexpr int kHeight = 24;

  void SetUp() override {
    AppFrameTest::SetUp();
    ASSERT_TRUE(m_header.Create(HDS_HORZ, CRect(0, 0, kWidth, kHeight), m_frame, 0x4321));
    m_dc = ::CreateCompatibleDC(nullptr);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    m_bitmap = ::CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_oldBitmap = ::SelectObject(m_dc, m_bitmap);
    // The blank the header measures with: it has no font of its own here.
    HGDIOBJ old = ::SelectObject(m_dc, ::GetStockObject(DEFAULT_GUI_FONT));
    SIZE blank = {};
    ::GetTextExtentPoint32W(m_dc, L" ", 1, &blank);
    ::SelectObject(m_dc, old);
    m_offset = 2 * blank.cx;
  }
  void TearDown() override {
    ::SelectObject(m_dc, m_oldBitmap);
    ::DeleteObject(m_bitmap);
    ::DeleteDC(m_dc);
    if (m_header.m_hWnd) m_header.DestroyWindow();
    AppFrameTest::TearDown();
  }

  void AddItem(int index, const wchar_t *title, int format = HDF_LEFT | HDF_STRING) {
    HDITEMW item = {};
    item.mask = HDI_TEXT | HDI_FORMAT | HDI_WIDTH;
    item.pszText = const_cast<wchar_t *>(title);
    item.fmt = format;
    item.cxy = 100;
    ASSERT_EQ(m_header.InsertItem(index, &item), index);
  }
  // Paints the item into the rectangle on a white bitmap.
  void Draw(int index, CRect rect, UINT state = 0) {
    RECT all = {0, 0, kWidth, kHeight};
    ::FillRect(m_dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    DRAWITEMSTRUCT draw = {};
    draw.CtlType = ODT_HEADER;
    draw.itemID = static_cast<UINT>(index);
    draw.itemState = state;
    draw.hwndItem = m_header.m_hWnd;
    draw.hDC = m_dc;
    draw.rcItem = rect;
    m_header.DrawItem(&draw);
  }
  COLORREF Pixel(int x, int y) const { return ::GetPixel(m_dc, x, y); }
  // Pixels in the rectangle of the colour, or (others) of none of the header's own colours.
  int Count(const CRect &rect, COLORREF colour) const {
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
      for (int x = rect.left; x < rect.right; ++x) count += Pixel(x, y) == colour ? 1 : 0;
    return count;
  }
  int CountTitle(const CRect &rect) const {
    int count = 0;
    const COLORREF own[] = {Face(), Lit(), Dark()};
    for (int y = rect.top; y < rect.bottom; ++y)
      for (int x = rect.left; x < rect.right; ++x) {
        const COLORREF pixel = Pixel(x, y);
        count += pixel != own[0] && pixel != own[1] && pixel != own[2] ? 1 : 0;
      }
    return count;
  }
  static COLORREF Face() { return ::GetSysColor(COLOR_BTNFACE); }
  static COLORREF Lit() { return ::GetSysColor(COLOR_BTNHIGHLIGHT); }
  static COLORREF Dark() { return ::GetSysColor(COLOR_BTNSHADOW); }

  CMyHeaderCtrl m_header;
  HDC m_dc = nullptr;
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_oldBitmap = nullptr;
  int m_offset = 0;
};

TEST_F(HeaderDrawing, ItemsAreOwnerDrawnAndKeepTheirAlignment) {
  AddItem(0, L"Name", HDF_CENTER | HDF_STRING);
  HDITEMW item = {};
  item.mask = HDI_FORMAT;
  item.fmt = HDF_RIGHT | HDF_STRING;
  AddItem(1, L"Size");
  m_header.SetItem(1, &item);
  for (int index = 0; index < 2; ++index) {
    item = {};
    item.mask = HDI_FORMAT;
    ASSERT_TRUE(m_header.GetItem(index, &item));
    EXPECT_NE(item.fmt & HDF_OWNERDRAW, 0) << index;
    EXPECT_EQ(item.fmt & HDF_JUSTIFYMASK, index == 0 ? HDF_CENTER : HDF_RIGHT) << index;
  }
}

TEST_F(HeaderDrawing, NoSortedColumnDrawsTitlesWithoutATriangle) {
  ASSERT_NE(Face(), Lit());
  ASSERT_NE(Face(), Dark());
  AddItem(0, L"WWWW");
  AddItem(1, L"Size");
  EXPECT_EQ(m_header.SortColumn(), -1);
  for (int index = 0; index < 2; ++index) {
    const CRect rect(0, 0, 150, kHeight);
    Draw(index, rect);
    EXPECT_EQ(Pixel(1, 1), Face()) << index;
    EXPECT_GT(CountTitle(rect), 0) << index;
    EXPECT_EQ(Count(rect, Lit()) + Count(rect, Dark()), 0) << index;
  }
  // Only the item's rectangle is painted.
  Draw(0, CRect(10, 0, 150, kHeight));
  EXPECT_EQ(Pixel(5, 5), RGB(255, 255, 255));
  EXPECT_EQ(Pixel(200, 5), RGB(255, 255, 255));
}

TEST_F(HeaderDrawing, TheSortedColumnShowsItsDirection) {
  AddItem(0, L"WWWW");
  const CRect rect(0, 0, 150, kHeight);
  for (const bool ascending : {true, false}) {
    m_header.SetSort(0, ascending);
    Draw(0, rect);
    const HeaderItemLayout layout = LayoutHeaderItem(rect, m_offset / 2, false, true, ascending);
    const int x = layout.corners[0].x + 1;
    const int high = rect.top + m_offset, low = rect.bottom - m_offset;
    // The flat side is lit: at the bottom pointing up, at the top pointing down.
    EXPECT_EQ(Pixel(x, ascending ? low : high), Lit()) << ascending;
    EXPECT_EQ(Pixel(x, ascending ? high : low), Face()) << ascending;
    EXPECT_GT(Count(rect, Dark()), 0) << ascending;
    EXPECT_GT(CountTitle(rect), 0) << ascending;
  }
  // Another column's item shows no triangle.
  AddItem(1, L"Size");
  Draw(1, rect);
  EXPECT_EQ(Count(rect, Lit()) + Count(rect, Dark()), 0);
}

TEST_F(HeaderDrawing, ANarrowSortedColumnDrawsOnlyTheArrow) {
  AddItem(0, L"WWWW");
  m_header.SetSort(0, true);
  ASSERT_GT(m_offset, 0);
  // No room left for the title once the arrow has its own.
  const CRect rect(20, 0, 20 + 4 * m_offset, kHeight);
  Draw(0, rect);
  EXPECT_EQ(CountTitle(rect), 0);
  EXPECT_GT(Count(rect, Lit()), 0);
  EXPECT_GT(Count(rect, Dark()), 0);
}

} // namespace
