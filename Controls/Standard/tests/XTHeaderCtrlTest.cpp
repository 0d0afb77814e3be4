// The themed column header: display order, the three looks probed on memory
// bitmaps, the visual-style path through a recording fake, the sort arrow,
// column pictures, the right-click menu and its commands, and the width
// rules (minimum, frozen columns, sharing).
#include <gtest/gtest.h>

#include "../../../Common/tests/FakeVisualStyles.h"
#include "../../../Common/tests/MemoryCanvas.h"

#include "FrameworkControls.h"
#include "XTGlobal.h"
#include "XTFlatHeaderCtrl.h"
#include "XTHeaderCtrl.h"
#include "XTPDrawHelpers.h"
#include "XTPImageManager.h"

#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

namespace {

constexpr UINT kPicture = 600;
constexpr UINT kMissingPicture = 666;
constexpr UINT kCustomMenu = 601;
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);

TEST(HeaderDisplayOrder, EveryItemOnceWhateverTheHeaderSays) {
  const struct {
    const char *name;
    std::vector<int> orders, shown;
  } kCases[] = {
      {"as inserted", {0, 1, 2}, {0, 1, 2}},           {"reordered", {2, 0, 1}, {1, 2, 0}},
      {"position past the end", {0, 7, 1}, {0, 2, 1}}, {"negative position", {-1, 0, 1}, {1, 2, 0}},
      {"position given twice", {0, 0, 1}, {0, 2, 1}},  {"empty", {}, {}},
  };
  for (const auto &c : kCases) EXPECT_EQ(XTHeaderDisplayOrder(c.orders), c.shown) << c.name;
}

TEST(HeaderTheme, FactoryMakesEachLookWithItsMetrics) {
  CXTHeaderThemeFactory factory;
  const struct {
    int id;
    const std::type_info &type;
    DWORD style;
    CSize padding;
  } kCases[] = {
      {0, typeid(CXTHeaderTheme), XTHDR_VISUALSTYLES | XTHDR_HOTTRACKING | XTHDR_SORTARROW, CSize(6, 0)},
      {1, typeid(CXTHeaderThemeFlat), XTHDR_SORTARROW, CSize(6, 0)},
      {2, typeid(CXTHeaderThemeShaded), XTHDR_SORTARROW, CSize(6, 2)},
      {9, typeid(CXTHeaderTheme), XTHDR_VISUALSTYLES | XTHDR_HOTTRACKING | XTHDR_SORTARROW, CSize(6, 0)},
  };
  for (const auto &c : kCases) {
    std::unique_ptr<CXTThemeManagerStyle> style(factory.CreateTheme(c.id));
    auto *theme = dynamic_cast<CXTHeaderTheme *>(style.get());
    ASSERT_NE(theme, nullptr) << c.id;
    EXPECT_EQ(typeid(*theme), c.type) << c.id;
    EXPECT_EQ(theme->GetThemeId(), c.id);
    EXPECT_EQ(theme->GetDrawStyle(), c.style) << c.id;
    EXPECT_EQ(theme->m_sizePadding, c.padding) << c.id;
    EXPECT_EQ(theme->m_sizeArrow, CSize(8, 7));
    EXPECT_EQ(theme->m_iArrowPadding, 10);
    EXPECT_EQ(theme->m_cr3DFace, ::GetSysColor(COLOR_3DFACE));
  }
}

TEST(HeaderTheme, BlendTruncatesEachChannel) {
  EXPECT_EQ(CXTHeaderTheme::BlendColor(RGB(200, 100, 0), RGB(100, 200, 255), 0.6), RGB(140, 160, 153));
  EXPECT_EQ(CXTHeaderTheme::BlendColor(RGB(10, 10, 10), RGB(0, 0, 0), 0.25), RGB(7, 7, 7));
  EXPECT_EQ(CXTHeaderTheme::BlendColor(RGB(1, 2, 3), RGB(9, 9, 9), 0), RGB(1, 2, 3));
}

// Arrow outlines drawn straight onto a canvas: which edge takes which colour.
TEST(HeaderTheme, SortArrowOutlinesPointTheWayOfTheSort) {
  CXTHeaderTheme theme;
  theme.m_cr3DFace = RGB(192, 192, 192);
  theme.m_cr3DHighLight = RGB(255, 255, 255);
  theme.m_cr3DShadow = RGB(0, 0, 128);
  for (const BOOL ascending : {TRUE, FALSE}) {
    MemoryCanvas canvas(100, 20, RGB(50, 50, 50));
    DRAWITEMSTRUCT dis = {};
    dis.hDC = canvas.dc.m_hDC;
    dis.rcItem = CRect(10, 0, 50, 20); // the text: the arrow goes 10 right of it
    theme.DrawSortArrow(&dis, ascending);
    // Base row 12 (ascending) or 5 (descending), tip at x 64.
    const int base = ascending ? 12 : 5, tip = ascending ? 5 : 12;
    EXPECT_EQ(canvas.Pixel(64, base), ascending ? theme.m_cr3DHighLight : theme.m_cr3DShadow) << ascending;
    EXPECT_EQ(canvas.Pixel(67, base), ascending ? theme.m_cr3DHighLight : theme.m_cr3DShadow) << ascending;
    EXPECT_NE(canvas.Pixel(64, tip), RGB(50, 50, 50)) << ascending;
    EXPECT_EQ(canvas.Pixel(64, 9), RGB(50, 50, 50)) << "not filled " << ascending;
    EXPECT_EQ(canvas.Pixel(55, 9), RGB(50, 50, 50)) << ascending;
  }
  // Pressed items move it by one pixel right and down.
  MemoryCanvas canvas(100, 20, RGB(50, 50, 50));
  DRAWITEMSTRUCT dis = {};
  dis.hDC = canvas.dc.m_hDC;
  dis.rcItem = CRect(10, 0, 50, 20);
  dis.itemState = ODS_SELECTED;
  theme.DrawSortArrow(&dis, TRUE);
  EXPECT_EQ(canvas.Pixel(64, 12), RGB(50, 50, 50));
  EXPECT_EQ(canvas.Pixel(65, 13), theme.m_cr3DHighLight);
  // A text rectangle turned inside out by a narrow column leaves no room.
  MemoryCanvas narrow(100, 20, RGB(50, 50, 50));
  dis.hDC = narrow.dc.m_hDC;
  dis.rcItem = CRect(60, 0, 40, 20);
  dis.itemState = 0;
  theme.DrawSortArrow(&dis, TRUE);
  for (int x = 0; x < 100; x++) ASSERT_EQ(narrow.Pixel(x, 12), RGB(50, 50, 50)) << x;
}

// The arrow is etched in the highlight and the shadow whatever the face:
// on a light face its lit edges are the highlight too.
TEST(HeaderTheme, ArrowLitEdgesAreTheHighlightOnAnyFace) {
  CXTHeaderTheme theme;
  theme.m_cr3DHighLight = RGB(255, 255, 255);
  theme.m_cr3DShadow = RGB(128, 128, 128);
  theme.m_cr3DDkShadow = RGB(64, 64, 64);
  for (COLORREF face : {RGB(192, 192, 192), RGB(212, 208, 200), RGB(240, 240, 240), RGB(255, 255, 255)}) {
    theme.m_cr3DFace = face;
    MemoryCanvas canvas(100, 20, RGB(50, 50, 50));
    DRAWITEMSTRUCT dis = {};
    dis.hDC = canvas.dc.m_hDC;
    dis.rcItem = CRect(10, 0, 50, 20);
    theme.DrawSortArrow(&dis, TRUE);
    EXPECT_EQ(canvas.Pixel(64, 12), theme.m_cr3DHighLight) << std::hex << face;
    bool shadowedLeftEdge = false;
    for (int x = 60; x < 64; x++) shadowedLeftEdge |= canvas.Pixel(x, 9) == theme.m_cr3DShadow;
    EXPECT_TRUE(shadowedLeftEdge) << std::hex << face;
  }
}

// Pressed and normal item backgrounds of each look.
TEST(HeaderTheme, ItemDividersOfEachLook) {
  CXTHeaderTheme base;
  CXTHeaderThemeFlat flat;
  CXTHeaderThemeShaded shaded;
  for (CXTHeaderTheme *theme :
       {&base, static_cast<CXTHeaderTheme *>(&flat), static_cast<CXTHeaderTheme *>(&shaded)}) {
    theme->m_cr3DFace = RGB(200, 200, 200);
    theme->m_cr3DShadow = RGB(100, 100, 100);
    theme->m_cr3DDkShadow = RGB(10, 10, 10);
    theme->m_cr3DHighLight = RGB(250, 250, 250);
  }
  constexpr COLORREF kBack = RGB(1, 2, 3);
  const struct {
    const char *name;
    CXTHeaderTheme *theme;
    UINT state;
    int x, y;
    COLORREF expected;
  } kCases[] = {
      {"base shadow", &base, 0, 48, 5, RGB(100, 100, 100)},
      {"base dark shadow", &base, 0, 49, 0, RGB(10, 10, 10)},
      {"base highlight past the edge", &base, 0, 50, 5, RGB(250, 250, 250)},
      {"base shadow stops above the bottom", &base, 0, 48, 19, kBack},
      {"base pressed frame", &base, ODS_SELECTED, 20, 0, RGB(100, 100, 100)},
      {"base pressed face line", &base, ODS_SELECTED, 20, 18, RGB(200, 200, 200)},
      {"base pressed keeps no dark shadow", &base, ODS_SELECTED, 48, 5, kBack},
      {"flat shadow", &flat, 0, 48, 2, RGB(100, 100, 100)},
      {"flat highlight", &flat, 0, 49, 17, RGB(250, 250, 250)},
      {"flat starts two down", &flat, 0, 48, 1, kBack},
      {"flat stops two up", &flat, 0, 49, 18, kBack},
      {"flat same when pressed", &flat, ODS_SELECTED, 48, 5, RGB(100, 100, 100)},
      {"shaded shadow", &shaded, 0, 48, 15, RGB(100, 100, 100)},
      {"shaded stops four up", &shaded, 0, 48, 16, kBack},
      {"shaded highlight", &shaded, 0, 49, 2, RGB(250, 250, 250)},
  };
  for (const auto &c : kCases) {
    MemoryCanvas canvas(60, 20, kBack);
    DRAWITEMSTRUCT dis = {};
    dis.hDC = canvas.dc.m_hDC;
    dis.rcItem = CRect(0, 0, 50, 20);
    dis.itemState = c.state;
    c.theme->PaintItemBackground(&dis);
    EXPECT_EQ(canvas.Pixel(c.x, c.y), c.expected) << c.name;
  }
}

// A report list in a hidden window with its header subclassed by the themed one.
class HeaderTest : public ::testing::Test {
protected:
  class RecordingList : public CListCtrl {
  public:
    std::vector<NMHEADERW> clicks;

  protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT *pResult) override {
      auto *nm = reinterpret_cast<NMHEADERW *>(lParam);
      if (nm->hdr.code == HDN_ITEMCLICKW) clicks.push_back(*nm);
      return CListCtrl::OnNotify(wParam, lParam, pResult);
    }
  };

  class TestHeader : public CXTHeaderCtrl {
  public:
    void SetRightToLeft(bool rtl) { m_bRTL = rtl ? 1 : 0; }
    void SetPoint(CPoint pt) { m_pt = pt; }
    int notifiesSeen = 0;

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
      if (message == WM_NOTIFY && reinterpret_cast<NMHDR *>(lParam)->code == HDN_ITEMCLICKW) notifiesSeen++;
      return CXTHeaderCtrl::WindowProc(message, wParam, lParam);
    }
  };

  // The list's parent hears of column clicks as LVN_COLUMNCLICK.
  class Parent : public CWnd {
  public:
    int columnClicks = 0;

  protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT *pResult) override {
      if (reinterpret_cast<NMHDR *>(lParam)->code == LVN_COLUMNCLICK) columnClicks++;
      return CWnd::OnNotify(wParam, lParam, pResult);
    }
  };

  void SetUp() override {
    LPCTSTR windowClass = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));
    ASSERT_TRUE(m_owner.CreateEx(0, windowClass, L"header test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                 500, 400, nullptr, nullptr));
    // Framed, as the program's lists are: relaying out must not shrink it.
    ASSERT_TRUE(m_list.CreateEx(WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 400, 300),
                                &m_owner, 200));
    m_list.InsertColumn(0, L"Name", LVCFMT_LEFT, 100);
    m_list.InsertColumn(1, L"Size", LVCFMT_RIGHT, 80);
    m_list.InsertColumn(2, L"Grade", LVCFMT_LEFT, 60);
    ASSERT_TRUE(m_header.SubclassWindow(::GetDlgItem(m_list.m_hWnd, 0)));
    m_header.SetTheme(new CXTHeaderTheme);
    // Nothing hot or held down unless a test puts the cursor there.
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
  }
  void TearDown() override {
    XTPSetPopupContextMenuHandler(nullptr);
    if (m_owner.m_hWnd != nullptr) m_owner.DestroyWindow();
  }

  int Format(int column) {
    HDITEMW item = {};
    item.mask = HDI_FORMAT;
    m_header.GetItem(column, &item);
    return item.fmt;
  }
  int Width(int column) { return m_list.GetColumnWidth(column); }
  CRect ItemRect(int column) {
    CRect rc;
    m_header.GetItemRect(column, &rc);
    return rc;
  }
  CSize ClientSize() {
    CRect rc;
    m_header.GetClientRect(&rc);
    return rc.Size();
  }
  // The header as it paints itself, printed into a bitmap.
  std::unique_ptr<MemoryCanvas> Print() {
    const CSize size = ClientSize();
    auto canvas = std::make_unique<MemoryCanvas>(size.cx, size.cy, RGB(1, 2, 3));
    m_header.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas->dc.m_hDC), PRF_CLIENT);
    return canvas;
  }
  int CountColour(const MemoryCanvas &canvas, const CRect &rc, COLORREF colour) {
    int count = 0;
    for (int y = rc.top; y < rc.bottom; y++)
      for (int x = rc.left; x < rc.right; x++) count += canvas.Pixel(x, y) == colour ? 1 : 0;
    return count;
  }
  CXTHeaderTheme *Theme() { return m_header.GetTheme(); }

  Parent m_owner;
  RecordingList m_list;
  TestHeader m_header;
};

TEST_F(HeaderTest, EachLookFramesTheHeaderItsWay) {
  for (int look = 0; look < 3; look++) {
    CXTHeaderTheme *theme = look == 0   ? new CXTHeaderTheme
                            : look == 1 ? static_cast<CXTHeaderTheme *>(new CXTHeaderThemeFlat)
                                        : new CXTHeaderThemeShaded;
    m_header.SetTheme(theme);
    auto canvas = Print();
    const CSize size = ClientSize();
    const int b = size.cy, r = ItemRect(0).right;
    const COLORREF face = theme->m_cr3DFace, shadow = theme->m_cr3DShadow, light = theme->m_cr3DHighLight;
    EXPECT_EQ(canvas->Pixel(300, 0), light) << look;            // top of the frame
    EXPECT_EQ(canvas->Pixel(300, b / 2), face) << look;         // right of the last item: face
    EXPECT_EQ(canvas->Pixel(size.cx - 1, b / 2), face) << look; // no right edge
    if (look == 0) {
      EXPECT_EQ(canvas->Pixel(300, b - 1), theme->m_cr3DDkShadow);
      EXPECT_EQ(canvas->Pixel(300, b - 2), shadow);
      EXPECT_EQ(canvas->Pixel(r - 1, b / 2), theme->m_cr3DDkShadow);
      EXPECT_EQ(canvas->Pixel(r, b / 2), light);
    } else if (look == 1) {
      EXPECT_EQ(canvas->Pixel(300, b - 1), shadow);
      EXPECT_EQ(canvas->Pixel(r - 2, b / 2), shadow);
      EXPECT_EQ(canvas->Pixel(r - 1, b / 2), light);
    } else {
      EXPECT_EQ(canvas->Pixel(300, b - 1), CXTHeaderTheme::BlendColor(face, shadow, 0.6));
      EXPECT_EQ(canvas->Pixel(300, b - 2), CXTHeaderTheme::BlendColor(face, shadow, 0.4));
      EXPECT_EQ(canvas->Pixel(300, b - 3), CXTHeaderTheme::BlendColor(face, shadow, 0.25));
      EXPECT_EQ(canvas->Pixel(r - 2, 2), shadow);
      EXPECT_EQ(canvas->Pixel(r - 2, b - 5), shadow);
      EXPECT_NE(canvas->Pixel(r - 2, b - 4), shadow);
    }
    // Every title is drawn in the text colour.
    for (int column = 0; column < 3; column++)
      EXPECT_GT(CountColour(*canvas, ItemRect(column), theme->m_crText), 0) << look << " " << column;
  }
}

TEST_F(HeaderTest, ShadedLookIsTallerAndTheListLaysItOut) {
  const auto textHeight = [this] {
    HDC hDC = ::GetDC(m_header.m_hWnd);
    HGDIOBJ old = ::SelectObject(hDC, m_header.GetFontHandle());
    TEXTMETRICW tm = {};
    ::GetTextMetricsW(hDC, &tm);
    ::SelectObject(hDC, old);
    ::ReleaseDC(m_header.m_hWnd, hDC);
    return static_cast<int>(tm.tmHeight);
  };
  m_header.SetTheme(new CXTHeaderThemeShaded);
  const int nFirstHeight = textHeight();
  EXPECT_EQ(ClientSize().cy, nFirstHeight + 10);
  // The list's outer size is back as it was after the nudge.
  CRect rc;
  m_list.GetWindowRect(&rc);
  EXPECT_EQ(rc.Size(), CSize(400, 300));

  // A larger font, and back: the height follows the font the header has now.
  LOGFONTW lf = {};
  ::GetObjectW(m_header.GetFontHandle(), sizeof(lf), &lf);
  lf.lfHeight = lf.lfHeight < 0 ? lf.lfHeight * 2 : -32;
  CFont large;
  ASSERT_TRUE(large.CreateFontIndirect(&lf));
  const HFONT hFirst = m_header.GetFontHandle();
  for (HFONT hFont : {static_cast<HFONT>(large.GetSafeHandle()), hFirst}) {
    m_header.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
    m_header.RecalcLayout();
    ASSERT_EQ(hFont, m_header.GetFontHandle());
    EXPECT_EQ(ClientSize().cy, textHeight() + 10);
  }
  EXPECT_EQ(ClientSize().cy, nFirstHeight + 10);
}

TEST_F(HeaderTest, SortArrowOnTheMarkedColumnOnly) {
  m_header.SetTheme(new CXTHeaderThemeFlat); // no visual styles, whatever the system has
  CXTHeaderTheme *theme = Theme();
  EXPECT_EQ(m_header.MarkSortedColumn(1, TRUE), -1);
  BOOL ascending = FALSE;
  EXPECT_EQ(m_header.ReadSortedColumn(&ascending), 1);
  EXPECT_TRUE(ascending);
  auto arrowPixels = [&](int column) {
    auto canvas = Print();
    CRect rc = ItemRect(column);
    rc.DeflateRect(3, 3); // leave the dividers out
    return CountColour(*canvas, rc, theme->m_cr3DHighLight) + CountColour(*canvas, rc, theme->m_cr3DShadow);
  };
  EXPECT_GT(arrowPixels(1), 0);
  EXPECT_EQ(arrowPixels(0), 0);
  EXPECT_EQ(m_header.MarkSortedColumn(0, FALSE), 1);
  EXPECT_GT(arrowPixels(0), 0);
  EXPECT_EQ(arrowPixels(1), 0);
  EXPECT_TRUE(m_header.HasSortArrow());
  m_header.ShowSortArrow(FALSE);
  EXPECT_FALSE(m_header.HasSortArrow());
  EXPECT_EQ(arrowPixels(0), 0);
  m_header.ShowSortArrow(TRUE);
  EXPECT_GT(arrowPixels(0), 0);
}

TEST_F(HeaderTest, FlatHeaderComesWithTheFlatLook) {
  CXTFlatHeaderCtrl flat;
  ASSERT_NE(flat.GetTheme(), nullptr);
  EXPECT_EQ(typeid(*flat.GetTheme()), typeid(CXTHeaderThemeFlat));
  EXPECT_TRUE(flat.IsKindOf(RUNTIME_CLASS(CXTHeaderCtrl)));
}

TEST_F(HeaderTest, BoldFontIsTheToolkitsBoldFont) {
  m_header.SetFontBold(TRUE);
  EXPECT_EQ(m_header.GetFontHandle(), static_cast<HFONT>(XTGetAuxData().fontBold.m_hObject));
  m_header.SetFontBold(FALSE);
  EXPECT_EQ(m_header.GetFontHandle(), static_cast<HFONT>(XTGetAuxData().font.m_hObject));
}

TEST_F(HeaderTest, ThemedPictureKeepsAlignmentAndDrawsWithoutItsMask) {
  ASSERT_TRUE(m_header.SetBitmap(1, kPicture, FALSE, kGreen));
  EXPECT_EQ(Format(1) & HDF_JUSTIFYMASK, HDF_RIGHT);
  EXPECT_NE(Format(1) & HDF_BITMAP, 0);
  HDITEMW item = {};
  item.mask = HDI_BITMAP;
  m_header.GetItem(1, &item);
  int cx = 0, cy = 0;
  ASSERT_TRUE(ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(item.hbm), &cx, &cy));
  EXPECT_EQ(CSize(cx, cy), CSize(12, 10));

  auto canvas = Print();
  const CRect rc = ItemRect(1);
  const int top = (rc.Height() - 10) / 2;
  EXPECT_EQ(canvas->Pixel(rc.left + 6 + 5, top + 5), kRed);
  EXPECT_EQ(CountColour(*canvas, rc, kRed), 8 * 6);
  EXPECT_EQ(CountColour(*canvas, rc, kGreen), 0);

  // A second picture replaces the first; removal clears the flag.
  ASSERT_TRUE(m_header.SetBitmap(1, kPicture, FALSE, kGreen));
  ASSERT_TRUE(m_header.SetBitmap(1, 0, TRUE, kGreen));
  EXPECT_EQ(Format(1) & HDF_BITMAP, 0);
  EXPECT_EQ(Format(1) & HDF_JUSTIFYMASK, HDF_RIGHT);
  EXPECT_EQ(CountColour(*Print(), rc, kRed), 0);

  // A picture that is not there leaves the column as it was.
  EXPECT_FALSE(m_header.SetBitmap(0, kMissingPicture, FALSE, kGreen));
  EXPECT_EQ(Format(0) & HDF_BITMAP, 0);
}

TEST_F(HeaderTest, UnthemedPictureIsTheControlsOwnAndAMissingOneIsRefused) {
  m_header.SetTheme(new CXTThemeManagerStyle); // no header look: the control paints itself
  ASSERT_EQ(m_header.GetTheme(), nullptr);
  EXPECT_FALSE(m_header.SetBitmap(0, kMissingPicture));
  EXPECT_EQ(Format(0) & HDF_BITMAP, 0);
  HDITEMW item = {};
  item.mask = HDI_BITMAP;
  m_header.GetItem(0, &item);
  EXPECT_EQ(item.hbm, nullptr);

  ASSERT_TRUE(m_header.SetBitmap(0, kPicture));
  m_header.GetItem(0, &item);
  EXPECT_NE(Format(0) & HDF_BITMAP, 0);
  BITMAP info = {};
  ASSERT_NE(::GetObjectW(item.hbm, sizeof(info), &info), 0);
  EXPECT_EQ(info.bmWidth, 12);
  ASSERT_TRUE(m_header.SetBitmap(0, 0, TRUE));
  EXPECT_EQ(Format(0) & HDF_BITMAP, 0);
}

// The right-click menu, caught before it would track the mouse.
struct ShownMenu {
  int shown = 0;
  HWND owner = nullptr;
  int images = 0;
  std::vector<UINT> checked;
  std::vector<UINT> items;
};
ShownMenu g_menu;

void CollectItems(HMENU hMenu) {
  for (int i = 0; i < ::GetMenuItemCount(hMenu); i++) {
    if (HMENU hSub = ::GetSubMenu(hMenu, i)) {
      CollectItems(hSub);
      continue;
    }
    const UINT id = ::GetMenuItemID(hMenu, i);
    if (id == 0) continue; // separator
    g_menu.items.push_back(id);
    if (::GetMenuState(hMenu, id, MF_BYCOMMAND) & MF_CHECKED) g_menu.checked.push_back(id);
  }
}

UINT CatchMenu(HMENU hMenu, UINT, int, int, HWND hWnd, int nIDBitmap) {
  g_menu.shown++;
  g_menu.owner = hWnd;
  g_menu.images = nIDBitmap;
  CollectItems(hMenu);
  return 0;
}

class HeaderMenuTest : public HeaderTest {
protected:
  void SetUp() override {
    HeaderTest::SetUp();
    g_menu = ShownMenu();
    XTPSetPopupContextMenuHandler(CatchMenu);
  }
  void RightClick(int x) {
    g_menu = ShownMenu();
    m_header.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, 5));
  }
};

TEST_F(HeaderMenuTest, MenuChecksSortAndAlignmentOfTheColumnClicked) {
  m_header.MarkSortedColumn(0, FALSE);
  const struct {
    const char *name;
    int x;
    std::vector<UINT> checked;
  } kCases[] = {
      {"sorted column, descending", 50, {XT_IDC_SORTDSC, XT_IDC_ALIGNLEFT}},
      {"right aligned column", 150, {XT_IDC_ALIGNRIGHT}},
      {"left aligned column", 200, {XT_IDC_ALIGNLEFT}},
  };
  for (const auto &c : kCases) {
    RightClick(c.x);
    ASSERT_EQ(g_menu.shown, 1) << c.name;
    EXPECT_EQ(g_menu.owner, m_header.m_hWnd) << c.name;
    EXPECT_EQ(g_menu.images, XT_IDR_TBAR_HDR) << c.name;
    EXPECT_EQ(g_menu.items, (std::vector<UINT>{XT_IDC_SORTASC, XT_IDC_SORTDSC, XT_IDC_ALIGNLEFT,
                                               XT_IDC_ALIGNCENTER, XT_IDC_ALIGNRIGHT}))
        << c.name;
    EXPECT_EQ(g_menu.checked, c.checked) << c.name;
    EXPECT_EQ(m_header.GetMenuPoint(), CPoint(c.x, 5));
  }
}

TEST(HeaderMenuImages, EveryCommandOfTheMenuHasAnImage) {
  CXTPImageManager images;
  ASSERT_TRUE(images.SetIcons(XT_IDR_TBAR_HDR));
  for (UINT command :
       {XT_IDC_SORTASC, XT_IDC_SORTDSC, XT_IDC_ALIGNLEFT, XT_IDC_ALIGNCENTER, XT_IDC_ALIGNRIGHT})
    EXPECT_NE(images.GetImage(command, 16), nullptr) << command;
}

TEST_F(HeaderMenuTest, NoMenuOffTheColumnsWithoutSortingOrWhenTurnedOff) {
  RightClick(350); // right of the last column
  EXPECT_EQ(g_menu.shown, 0);
  m_header.EnableMenus(FALSE);
  RightClick(50);
  EXPECT_EQ(g_menu.shown, 0);
  m_header.EnableMenus(TRUE);
  m_list.ModifyStyle(0, LVS_NOSORTHEADER);
  RightClick(50);
  EXPECT_EQ(g_menu.shown, 0);
}

TEST_F(HeaderMenuTest, CustomMenuGoesToTheOwner) {
  m_header.SetMenuID(kCustomMenu, 1);
  RightClick(350); // anywhere: the owner decides
  ASSERT_EQ(g_menu.shown, 1);
  EXPECT_EQ(g_menu.items, (std::vector<UINT>{701, 702}));
  EXPECT_EQ(g_menu.owner, m_header.GetOwner()->m_hWnd);
}

TEST_F(HeaderMenuTest, SortCommandsClickTheListOnceAndItsChildrenToo) {
  RightClick(150);
  m_header.SendMessage(WM_COMMAND, XT_IDC_SORTDSC);
  ASSERT_EQ(m_list.clicks.size(), 1u);
  EXPECT_EQ(m_list.clicks[0].iItem, 1);
  EXPECT_EQ(m_list.clicks[0].iButton, 1);
  EXPECT_EQ(m_list.clicks[0].hdr.hwndFrom, m_header.m_hWnd);
  EXPECT_EQ(m_header.notifiesSeen, 1); // the list's descendants hear of it as well
  EXPECT_EQ(m_owner.columnClicks, 1);  // the list turns it into one column click
  BOOL ascending = TRUE;
  EXPECT_EQ(m_header.ReadSortedColumn(&ascending), 1);
  EXPECT_FALSE(ascending);

  // Already sorted that way: nothing is sent.
  m_header.SendMessage(WM_COMMAND, XT_IDC_SORTDSC);
  EXPECT_EQ(m_list.clicks.size(), 1u);
  EXPECT_EQ(m_owner.columnClicks, 1);
  m_header.SendMessage(WM_COMMAND, XT_IDC_SORTASC);
  EXPECT_EQ(m_list.clicks.size(), 2u);
  EXPECT_EQ(m_owner.columnClicks, 2);
  m_header.ReadSortedColumn(&ascending);
  EXPECT_TRUE(ascending);

  // No column under the point: nothing.
  RightClick(350);
  m_header.SendMessage(WM_COMMAND, XT_IDC_SORTDSC);
  EXPECT_EQ(m_list.clicks.size(), 2u);
}

TEST_F(HeaderMenuTest, AlignmentCommandsChangeTheColumnUnderTheClick) {
  const struct {
    UINT command;
    int format;
  } kCases[] = {{XT_IDC_ALIGNCENTER, LVCFMT_CENTER},
                {XT_IDC_ALIGNLEFT, LVCFMT_LEFT},
                {XT_IDC_ALIGNRIGHT, LVCFMT_RIGHT}};
  RightClick(200);
  for (const auto &c : kCases) {
    m_header.SendMessage(WM_COMMAND, c.command);
    LVCOLUMNW column = {};
    column.mask = LVCF_FMT;
    ASSERT_TRUE(m_list.GetColumn(2, &column));
    EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, c.format) << c.command;
  }
  m_header.SetPoint(CPoint(350, 5));
  EXPECT_FALSE(m_header.SetAlign(LVCFMT_CENTER));
}

TEST_F(HeaderTest, MinimumWidthAndFrozenColumnsRefuseChanges) {
  const struct {
    const char *name;
    int minimum;
    int frozen; // -1: none
    int column, width, expected;
  } kCases[] = {
      {"above the minimum", 30, -1, 0, 40, 40},
      {"below the minimum", 30, -1, 0, 20, 100},
      {"no minimum allows zero", 0, -1, 0, 0, 0},
      {"frozen column", 0, 1, 1, 120, 80},
      {"another column beside a frozen one", 0, 1, 2, 90, 90},
  };
  for (const auto &c : kCases) {
    m_list.SetColumnWidth(0, 100);
    m_list.SetColumnWidth(1, 80);
    m_list.SetColumnWidth(2, 60);
    m_header.SetMinWidth(c.minimum);
    if (c.frozen >= 0) m_header.FreezeColumn(c.frozen);
    m_list.SetColumnWidth(c.column, c.width);
    EXPECT_EQ(Width(c.column), c.expected) << c.name;
    m_header.ThawAllColumns();
  }
}

TEST_F(HeaderTest, SharingWidthSkipsFrozenColumnsAndNarrowShares) {
  const struct {
    const char *name;
    int minimum;
    std::vector<int> frozen;
    int total;
    std::vector<int> widths;
  } kCases[] = {
      {"even share", 0, {}, 300, {100, 100, 100}},
      {"frozen keeps its width", 0, {1}, 300, {150, 80, 150}},
      {"all frozen", 0, {0, 1, 2}, 300, {50, 80, 60}},
      {"share not above the minimum", 100, {}, 300, {50, 80, 60}},
      {"share above the minimum", 99, {}, 300, {100, 100, 100}},
  };
  for (const auto &c : kCases) {
    m_header.SetMinWidth(0);
    m_list.SetColumnWidth(0, 50);
    m_list.SetColumnWidth(1, 80);
    m_list.SetColumnWidth(2, 60);
    m_header.SetMinWidth(c.minimum);
    for (int column : c.frozen) m_header.FreezeColumn(column);
    m_header.ShareWidthAmongColumns(c.total);
    EXPECT_EQ((std::vector<int>{Width(0), Width(1), Width(2)}), c.widths) << c.name;
    m_header.ThawAllColumns();
  }
  // Fitting takes the frozen columns' width off the header's own.
  m_header.SetMinWidth(0);
  m_list.SetColumnWidth(1, 80);
  m_header.FreezeColumn(1);
  EXPECT_EQ(m_header.GetFrozenColumnsWidth(), 80);
  m_header.ResizeColumnsToFit(400);
  EXPECT_EQ(Width(0), 160);
  EXPECT_EQ(Width(1), 80);
  EXPECT_EQ(Width(2), 160);
}

TEST_F(HeaderTest, ArrowCursorNextToAFrozenColumnOnTheReadingSide) {
  m_header.FreezeColumn(0); // column 1 runs from 100 to 180
  const struct {
    const char *name;
    bool rtl;
    int x;
    BOOL ours;
  } kCases[] = {
      {"over the frozen column", false, 50, TRUE},
      {"left half beside it", false, 120, TRUE},
      {"right half", false, 170, FALSE},
      {"right to left: right half", true, 170, TRUE},
      {"right to left: left half", true, 120, FALSE},
  };
  for (const auto &c : kCases) {
    m_header.SetRightToLeft(c.rtl);
    CPoint pt(c.x, 5);
    m_header.ClientToScreen(&pt);
    ::SetCursorPos(pt.x, pt.y);
    CPoint now;
    ::GetCursorPos(&now);
    if (now != pt) GTEST_SKIP() << "the cursor cannot be placed on this display";
    ::SetCursor(nullptr);
    m_header.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(m_header.m_hWnd),
                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    const bool arrow = ::GetCursor() == ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    if (c.ours)
      EXPECT_TRUE(arrow) << c.name;
    else
      EXPECT_FALSE(arrow && ::GetCursor() == nullptr) << c.name;
  }
}

TEST_F(HeaderTest, VisualStylesDrawEachItemInItsState) {
  FakeVisualStyles styles;
  CXTHeaderTheme *theme = Theme();
  theme->SetDrawStyle(XTHDR_VISUALSTYLES | XTHDR_HOTTRACKING | XTHDR_SORTARROW, &m_header);
  ASSERT_TRUE(theme->m_bUseWinThemes);
  styles.calls.clear();
  Print();
  std::vector<std::pair<int, int>> drawn;
  for (const auto &call : styles.calls)
    if (call.what == L"DrawThemeBackground") {
      EXPECT_EQ(call.klass, L"HEADER");
      drawn.push_back({call.part, call.state});
    }
  EXPECT_EQ(drawn, (std::vector<std::pair<int, int>>{{0, 1}, {1, 1}, {1, 1}, {1, 1}}));

  const struct {
    UINT state;
    int expected;
  } kStates[] = {{0, 1}, {ODS_HOTLIGHT, 2}, {ODS_SELECTED, 3}, {ODS_SELECTED | ODS_HOTLIGHT, 3}};
  for (const auto &c : kStates) {
    MemoryCanvas canvas(50, 20);
    DRAWITEMSTRUCT dis = {};
    dis.hDC = canvas.dc.m_hDC;
    dis.rcItem = CRect(0, 0, 50, 20);
    dis.itemState = c.state;
    styles.calls.clear();
    EXPECT_TRUE(theme->PaintStyledItemBackground(&dis));
    ASSERT_EQ(styles.calls.size(), 1u);
    EXPECT_EQ(styles.calls[0].state, c.expected) << c.state;
  }

  // Without hot tracking the header's background is the look's own.
  theme->SetDrawStyle(XTHDR_VISUALSTYLES | XTHDR_SORTARROW, &m_header);
  styles.calls.clear();
  Print();
  EXPECT_EQ(styles.calls.size(), 3u); // the three items only
}

TEST_F(HeaderTest, FailingVisualStylesFallBackToTheClassicLook) {
  FakeVisualStyles styles;
  CXTHeaderTheme *theme = Theme();
  theme->SetDrawStyle(XTHDR_VISUALSTYLES | XTHDR_HOTTRACKING | XTHDR_SORTARROW, &m_header);
  ASSERT_TRUE(theme->m_bUseWinThemes);
  styles.themed = FALSE; // the theme calls now fail
  auto canvas = Print();
  const int r = ItemRect(0).right, b = ClientSize().cy;
  EXPECT_EQ(canvas->Pixel(r - 1, b / 2), theme->m_cr3DDkShadow);
  EXPECT_EQ(canvas->Pixel(300, 0), theme->m_cr3DHighLight);

  // A look that leaves visual styles off never asks for them.
  m_header.SetTheme(new CXTHeaderThemeFlat);
  Theme()->SetDrawStyle(Theme()->GetDrawStyle(), &m_header);
  styles.calls.clear();
  Print();
  for (const auto &call : styles.calls) EXPECT_NE(call.what, L"DrawThemeBackground");
}

// Hot tracking runs on a timer while visual styles draw the header: a new
// item under the cursor is redrawn hot once; leaving the items ends it.
TEST_F(HeaderTest, HotItemFollowsTheCursorWhileVisualStylesDraw) {
  FakeVisualStyles styles;
  Theme()->SetDrawStyle(XTHDR_VISUALSTYLES | XTHDR_HOTTRACKING | XTHDR_SORTARROW, &m_header);
  auto placeCursor = [&](int x, int y = 5) {
    CPoint pt(x, y);
    m_header.ClientToScreen(&pt);
    ::SetCursorPos(pt.x, pt.y);
    CPoint now;
    ::GetCursorPos(&now);
    return now == pt;
  };
  if (!placeCursor(150)) GTEST_SKIP() << "the cursor cannot be placed on this display";
  const struct {
    const char *name;
    int x;
    int hot;
  } kSteps[] = {
      {"over Size", 150, 1}, {"still over Size", 160, 1}, {"over Name", 20, 0}, {"off the items", 350, -1}};
  for (const auto &step : kSteps) {
    placeCursor(step.x);
    m_header.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(step.x, 5));
    m_header.SendMessage(WM_TIMER, 1);
    EXPECT_EQ(m_header.GetHotItem(), step.hot) << step.name;
  }
  // Below the header, over the list's rows, no item is hot.
  placeCursor(150);
  m_header.SendMessage(WM_TIMER, 1);
  ASSERT_EQ(m_header.GetHotItem(), 1);
  placeCursor(150, ClientSize().cy + 20);
  m_header.SendMessage(WM_TIMER, 1);
  EXPECT_EQ(m_header.GetHotItem(), -1);
  // The hot item is drawn in the hot state.
  placeCursor(150);
  styles.calls.clear();
  Print();
  int hotDrawn = 0;
  for (const auto &call : styles.calls) hotDrawn += call.part == 1 && call.state == 2 ? 1 : 0;
  EXPECT_EQ(hotDrawn, 1);
}

TEST_F(HeaderTest, AutoSizeSharesANewWidthAmongTheColumns) {
  m_header.EnableAutoSize();
  CRect rc;
  m_header.GetWindowRect(&rc);
  m_header.SetWindowPos(nullptr, 0, 0, 300, rc.Height(), SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ((std::vector<int>{Width(0), Width(1), Width(2)}), (std::vector<int>{100, 100, 100}));
}

TEST_F(HeaderTest, HeldDownItemIsDrawnPressed) {
  m_header.SetTheme(new CXTHeaderTheme);
  CPoint pt(150, 5);
  m_header.ClientToScreen(&pt);
  ::SetCursorPos(pt.x, pt.y);
  CPoint now;
  ::GetCursorPos(&now);
  if (now != pt) GTEST_SKIP() << "the cursor cannot be placed on this display";
  EXPECT_FALSE(m_header.IsItemHeldDown(1));
  m_header.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 5));
  EXPECT_TRUE(m_header.IsItemHeldDown(1));
  EXPECT_FALSE(m_header.IsItemHeldDown(0));
  auto canvas = Print();
  const CRect rc = ItemRect(1);
  EXPECT_EQ(canvas->Pixel(rc.left + 3, rc.top), Theme()->m_cr3DShadow); // pressed frame
  m_header.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(150, 5));
  ::ReleaseCapture();
  EXPECT_FALSE(m_header.IsItemHeldDown(1));
}

} // namespace
