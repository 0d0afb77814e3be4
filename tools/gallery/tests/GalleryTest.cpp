// The gallery in a real window: its sections laid out and painted (probed by
// pixel on the window), and the program itself started, shown and closed.
#include <gtest/gtest.h>

#include "GalleryApp.h"
#include "GalleryHeaderSection.h"
#include "GalleryListSection.h"
#include "GalleryPopupMenusSection.h"
#include "GallerySections.h"
#include "GalleryThemesSection.h"
#include "XTPNativeXPTheme.h"
#include "XTPPaintManager.h"
#include "GalleryCommandBarsSection.h"
#include "GalleryCommandBarsFrameSection.h"
#include "XTPCommandBars.h"
#include "XTPDockBar.h"
#include "XTPFrameWnd.h"
#include "GalleryBarStateSection.h"
#include "XTPReBar.h"
#include "XTTipOfTheDay.h"
#include "XTPPopupBar.h"
#include "XTPFrameWnd.h"
#include "XTPDockBar.h"
#include "XTPCommandBars.h"
#include "GalleryCommandBarsFrameSection.h"
#include "GalleryCommandBarsSection.h"
#include "XTPCommandBar.h"
#include "XTPDefaultTheme.h"
#include "GalleryTabsSection.h"
#include "XTPTabColorSets.h"
#include "GalleryToolTipSection.h"
#include "XTPDrawHelpers.h"
#include "GalleryDockingPanesSection.h"
#include "GalleryDockingSchemesSection.h"
#include "GalleryDockingThemesSection.h"
#include "Archive.h"
#include "File.h"
#include "XTPDockingPane.h"
#include "XTPDockingPaneManager.h"
#include "XTPDockingPaneAutoHidePanel.h"
#include "XTPDockingPaneMiniWnd.h"
#include "XTPDockingPanePaintManager.h"
#include "XTPDockingPaneSplitterContainer.h"
#include "XTPDockingPaneTabbedContainer.h"
#include "XTPPropExchange.h"
#include "../../../Common/tests/MemoryCanvas.h"
#include "../../../DockingPane/tests/DockingPaneTestSite.h"
#include "GalleryTabbedMdiSection.h"
#include "XTPControlComboBox.h"
#include "XTPControlEdit.h"
#include "XTPCustomizeTools.h"
#include "XTPTabClientWnd.h"
#include "XTPControlExt.h"
#include "XTPControls.h"
#include "GalleryDialogBarSection.h"
#include "XTPControlCustom.h"
#include "XTPDialogBar.h"

#include <functional>
#include <typeinfo>

namespace {

CGalleryApp theApp;

const wchar_t kTitle[] = L"Toolkit Gallery - Quendal Varnoth";

void PumpMessages() {
  MSG msg;
  while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessage(&msg);
  }
}

int Distance(COLORREF a, COLORREF b) {
  return abs(GetRValue(a) - GetRValue(b)) + abs(GetGValue(a) - GetGValue(b)) +
         abs(GetBValue(a) - GetBValue(b));
}

class Gallery : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(AfxWinInit(::GetModuleHandle(nullptr), nullptr, const_cast<LPTSTR>(L""), SW_SHOW));
    ASSERT_TRUE(theApp.InitInstance());
  }
  static CGalleryView &View() { return theApp.GetFrame()->m_wndView; }
  // A section's page is shown and painted before the section is looked at.
  template <class T> static T *Section() {
    for (size_t i = 0; i < View().GetSectionCount(); i++)
      if (auto *p = dynamic_cast<T *>(View().GetSection(i))) {
        Show(i);
        return p;
      }
    return nullptr;
  }
  template <class T> static CPoint Origin() {
    for (size_t i = 0; i < View().GetSectionCount(); i++)
      if (dynamic_cast<T *>(View().GetSection(i))) {
        Show(i);
        return View().GetBodyRect(i).TopLeft();
      }
    return CPoint(0, 0);
  }
  static void Show(size_t i) {
    View().ShowSection(i);
    View().RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);
    PumpMessages();
  }

  // The window's pixels as painted: the view is redrawn first.
  void SetUp() override {
    View().RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    PumpMessages();
    m_hDC = ::GetDC(View().m_hWnd);
  }
  void TearDown() override {
    if (m_hDC) ::ReleaseDC(View().m_hWnd, m_hDC);
  }
  COLORREF Pixel(CPoint pt) const { return ::GetPixel(m_hDC, pt.x, pt.y); }

  HDC m_hDC = nullptr;
};

// Each window of the themes page draws with its own theme: the open menu's
// frame is the theme's menu border, and under a forced Office 2003 scheme
// it is the scheme's.
TEST_F(Gallery, ThemesPageDrawsEachThemeAndScheme) {
  auto *pThemes = Section<CGalleryThemesSection>();
  ASSERT_NE(pThemes, nullptr);
  const COLORREF kSchemeFrame[] = {0, 0x962D00, 0x5E8D75, 0x947C7C};
  for (int i = 0; i < CGalleryThemesSection::kThemes; i++) {
    CGalleryThemeHost *pHost = pThemes->GetHost(i);
    ASSERT_NE(pHost, nullptr);
    const CGalleryThemesSection::ThemeRow &row = CGalleryThemesSection::kRows[i];
    CXTPPaintManager *pTheme = pHost->GetPaintManager();
    EXPECT_EQ(pTheme->GetCurrentTheme(), row.nTheme) << row.lpszName;
    pHost->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);
    PumpMessages();
    HDC hDC = ::GetDC(pHost->m_hWnd);
    const CPoint pt = pHost->GetMenuRect().TopLeft();
    const COLORREF clrFrame = ::GetPixel(hDC, pt.x, pt.y);
    ::ReleaseDC(pHost->m_hWnd, hDC);
    if (row.nTheme == xtpThemeOffice2003 && row.nScheme > 0)
      EXPECT_EQ(clrFrame, kSchemeFrame[row.nScheme]) << row.lpszName;
    else if (auto *pNative = dynamic_cast<CXTPNativeXPTheme *>(pTheme))
      // Some Wine prefixes do have a visual style: then the flat-menu rule.
      EXPECT_EQ(clrFrame, pTheme->GetColor(pNative->IsRebarThemed() && pNative->m_bFlatMenus ? COLOR_BTNSHADOW
                                                                                             : COLOR_BTNFACE))
          << row.lpszName;
    else if (row.nTheme == xtpThemeDefault)
      EXPECT_EQ(clrFrame, pTheme->GetColor(COLOR_BTNFACE)) << row.lpszName;
    else
      EXPECT_EQ(clrFrame, pTheme->GetColor(XPCOLOR_MENUBAR_BORDER)) << row.lpszName;
  }
}

TEST_F(Gallery, WindowShowsEverySectionWhole) {
  CGalleryFrame *pFrame = theApp.GetFrame();
  ASSERT_NE(pFrame, nullptr);
  EXPECT_TRUE(pFrame->IsWindowVisible());
  EXPECT_TRUE(View().IsWindowVisible());
  CString strTitle;
  pFrame->GetWindowText(strTitle);
  EXPECT_STREQ(strTitle, kTitle);
  ASSERT_GE(View().GetSectionCount(), 5u); // one per toolkit piece shown
  CRect rcView;
  View().GetClientRect(&rcView);
  // The window fits the screen; each section's page shows it whole.
  CRect rcFrame;
  pFrame->GetWindowRect(&rcFrame);
  EXPECT_LE(rcFrame.Height(), ::GetSystemMetrics(SM_CYSCREEN));
  for (size_t i = 0; i < View().GetSectionCount(); i++) {
    CRect rcBody = View().GetBodyRect(i);
    EXPECT_GE(rcBody.top, 0) << View().GetSection(i)->GetTitle();
    EXPECT_LE(rcBody.bottom, rcView.bottom) << View().GetSection(i)->GetTitle();
    EXPECT_LE(rcBody.right, rcView.right);
  }
}

// Picking a page in the list shows that section and only its windows.
TEST_F(Gallery, ThePageListShowsOneSectionAtATime) {
  CListBox *pPages = static_cast<CListBox *>(View().GetDlgItem(CGalleryView::kListId));
  ASSERT_NE(pPages, nullptr);
  ASSERT_EQ(static_cast<size_t>(pPages->GetCount()), View().GetSectionCount());
  CString strName;
  pPages->GetText(0, strName);
  EXPECT_STREQ(strName, CGalleryView::PageName(*View().GetSection(0)));
  auto *pButtons = Section<CGalleryButtonsSection>();
  ASSERT_NE(pButtons, nullptr);
  const size_t nButtons = View().GetShownSection();
  for (size_t i : {size_t(0), nButtons}) {
    pPages->SetCurSel(static_cast<int>(i));
    View().SendMessage(WM_COMMAND, MAKEWPARAM(CGalleryView::kListId, LBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(pPages->m_hWnd));
    EXPECT_EQ(View().GetShownSection(), i);
    EXPECT_EQ(pButtons->GetButton(0, 0)->IsWindowVisible() != FALSE, i == nButtons) << i;
  }
}

TEST_F(Gallery, SwatchesShowEachForcedSchemesColours) {
  auto *pColours = Section<CGalleryColoursSection>();
  ASSERT_NE(pColours, nullptr);
  const CPoint org = Origin<CGalleryColoursSection>();
  for (int s = 0; s < CGalleryColoursSection::kSchemes; s++) {
    for (int i : {XPCOLOR_TOOLBAR_FACE, XPCOLOR_HIGHLIGHT, XPCOLOR_MENUBAR_FACE, XPCOLOR_LABEL}) {
      CPoint pt = (CGalleryColoursSection::SwatchRect(s, i) + org).CenterPoint();
      EXPECT_EQ(Pixel(pt), pColours->GetColor(s, i)) << "scheme " << s << " colour " << i;
    }
  }
  // Each row shows its own forced scheme, not the one the screen has.
  for (int s = 1; s < CGalleryColoursSection::kSchemes; s++) {
    int nDiffer = 0;
    for (int i = XPCOLOR_BASE; i < XPCOLOR_COUNT; i++)
      nDiffer += pColours->GetColor(s, i) != pColours->GetColor(0, i);
    EXPECT_GT(nDiffer, 0) << "scheme " << s;
  }
}

TEST_F(Gallery, DrawingShowsGradientCheckedPatternAndGlyphs) {
  const CPoint org = Origin<CGalleryDrawingSection>();
  CRect rc = CGalleryDrawingSection::GradientRect() + org;
  const int y = rc.CenterPoint().y;
  EXPECT_LE(Distance(Pixel(CPoint(rc.left, y)), CGalleryDrawingSection::kFrom), 12);
  EXPECT_LE(Distance(Pixel(CPoint(rc.right - 1, y)), CGalleryDrawingSection::kTo), 12);

  // The checked pattern alternates pixel by pixel.
  CPoint pt = (CGalleryDrawingSection::CheckedRect() + org).CenterPoint();
  EXPECT_NE(Pixel(pt), Pixel(pt + CPoint(1, 0)));
  EXPECT_EQ(Pixel(pt), Pixel(pt + CPoint(1, 1)));

  // The Marlett row has ink in it.
  CRect rcGlyphs = CGalleryDrawingSection::GlyphRect() + org;
  int nInk = 0;
  for (int x = rcGlyphs.left; x < rcGlyphs.right; x += 2)
    for (int y2 = rcGlyphs.top; y2 < rcGlyphs.bottom; y2 += 2) nInk += Pixel(CPoint(x, y2)) == RGB(0, 0, 0);
  EXPECT_GT(nInk, 20);
}

TEST_F(Gallery, ImagesShowNormalAndDerivedStates) {
  const CPoint org = Origin<CGalleryImagesSection>();
  const COLORREF clrBack = ::GetSysColor(COLOR_BTNFACE);
  // Disk body, folder body, lens: centre pixels of icons 0 to 2.
  for (int nIcon = 0; nIcon < 3; nIcon++) {
    CPoint ptNormal = (CGalleryImagesSection::CellRect(nIcon, 0) + org).CenterPoint();
    CPoint ptDisabled = (CGalleryImagesSection::CellRect(nIcon, 3) + org).CenterPoint();
    COLORREF clrNormal = Pixel(ptNormal), clrDisabled = Pixel(ptDisabled);
    EXPECT_NE(clrNormal, clrBack) << nIcon;
    EXPECT_NE(clrDisabled, clrBack) << nIcon;
    EXPECT_EQ(GetRValue(clrDisabled), GetGValue(clrDisabled)) << "disabled images are grey";
    EXPECT_EQ(GetGValue(clrDisabled), GetBValue(clrDisabled));
  }
  // The cell's corner is outside every icon: the background shows.
  CRect rcCell = CGalleryImagesSection::CellRect(1, 0) + org;
  EXPECT_EQ(Pixel(rcCell.TopLeft() + CPoint(1, 1)), clrBack);
}

TEST_F(Gallery, ResourcesShowTheToolkitsOwnPictures) {
  const CPoint org = Origin<CGalleryResourcesSection>();
  const COLORREF clrBack = ::GetSysColor(COLOR_WINDOW);
  // Sort ascending's arrow shaft; the magenta ground of every header image is left out.
  EXPECT_NE(Pixel(CGalleryResourcesSection::HeaderCell(0).TopLeft() + org + CPoint(2, 8)), clrBack);
  for (int i = 0; i < 5; i++)
    EXPECT_EQ(Pixel(CGalleryResourcesSection::HeaderCell(i).TopLeft() + org), clrBack) << i;
  // The stickers' green is transparent; the parts are not.
  for (int nSheet = 0; nSheet < 3; nSheet++) {
    CRect rc = CGalleryResourcesSection::SheetRect(nSheet) + org;
    EXPECT_EQ(Pixel(rc.TopLeft()), clrBack) << nSheet;
    EXPECT_NE(Pixel(rc.TopLeft() + CPoint(21, 15)), clrBack) << nSheet;
  }
  // The cross: its centre part and its arms, nothing in its corners.
  CRect rcCross = CGalleryResourcesSection::CrossRect() + org;
  EXPECT_NE(Pixel(rcCross.CenterPoint()), clrBack);
  EXPECT_NE(Pixel(rcCross.TopLeft() + CPoint(46, 5)), clrBack);
  EXPECT_NE(Pixel(rcCross.TopLeft() + CPoint(5, 46)), clrBack);
  EXPECT_EQ(Pixel(rcCross.TopLeft() + CPoint(2, 2)), clrBack);
  auto *pSection = Section<CGalleryResourcesSection>();
  ASSERT_NE(pSection, nullptr);
  EXPECT_TRUE(pSection->GetImageManager().GetImage(CGalleryResourcesSection::kEditorAlphaIds, 16)->IsAlpha());
}

TEST_F(Gallery, CommandBarsShowTheirStatesInTheDefaultTheme) {
  auto *pSection = Section<CGalleryCommandBarsSection>();
  ASSERT_NE(pSection, nullptr);
  const CPoint org = Origin<CGalleryCommandBarsSection>();
  const COLORREF clrFace = pSection->GetTheme()->GetPaintColor(COLOR_BTNFACE);
  const COLORREF clrSelection = pSection->GetTheme()->GetPaintColor(COLOR_HIGHLIGHT);
  for (size_t i = 0; i < pSection->GetBarCount(); i++) {
    CXTPCommandBar *pBar = pSection->GetBar(i);
    CPoint ptBar = org + pSection->GetBarRect(i).TopLeft();
    // Inside every bar, below its border, the face colour shows.
    EXPECT_LE(Distance(Pixel(ptBar + CPoint(2, pSection->GetBarRect(i).Height() - 3)), clrFace), 12) << i;
    for (int j = 0; j < pBar->GetControls()->GetCount(); j++) {
      CXTPControl *pControl = pBar->GetControls()->GetAt(j);
      if (!pControl->IsVisible()) continue;
      CRect rc = pControl->GetRect() + ptBar;
      // A hot, enabled, unchecked toolbar button is raised; a selected popup row is highlighted.
      if (pBar->GetType() == xtpBarTypeNormal && pControl->GetSelected() && !pControl->GetPressed() &&
          !pControl->GetChecked() && pControl->GetType() == xtpControlButton) {
        EXPECT_LE(Distance(Pixel(rc.TopLeft()), pSection->GetTheme()->GetPaintColor(COLOR_BTNHIGHLIGHT)), 12);
      }
      if (pBar->GetType() == xtpBarTypePopup && pControl->GetSelected()) {
        EXPECT_LE(Distance(Pixel(CPoint(rc.right - 2, rc.top + 2)), clrSelection), 12);
      }
    }
  }
  // The largest icons leave buttons behind the chevron.
  CXTPControls *pLarge = pSection->GetBar(2)->GetControls();
  EXPECT_LT(pLarge->GetVisibleCount(TRUE), pLarge->GetCount());
}

// The colour palette comes from the gallery's toolbar resource: its sixteen
// commands with their pictures, drawn on the mask colour the strip is cut on.
TEST_F(Gallery, ThePaletteIsTheToolbarResourcesColours) {
  auto *pSection = Section<CGalleryPopupMenusSection>();
  ASSERT_NE(pSection, nullptr);
  CXTPPopupBar *pPalette = pSection->GetBoard().GetMenu(CGalleryMenuBoard::kPaletteMenu);
  ASSERT_EQ(pPalette->GetControlCount(), 16);
  for (int i = 0; i < 16; i++) {
    EXPECT_EQ(pPalette->GetControl(i)->GetID(), 500 + i);
    EXPECT_NE(pPalette->GetImageManager()->GetImage(static_cast<UINT>(500 + i)), nullptr) << i;
  }
  EXPECT_EQ(pPalette->GetBarID(), 0);
  const struct {
    UINT nID;
    COLORREF clr;
  } kColours[] = {{500, RGB(192, 0, 0)}, {506, RGB(0, 176, 240)}, {515, RGB(0, 0, 0)}};
  for (const auto &c : kColours) {
    MemoryCanvas canvas(16, 16, RGB(1, 2, 3));
    pPalette->GetImageManager()->GetImage(c.nID)->Draw(&canvas.dc, CPoint(0, 0));
    EXPECT_EQ(canvas.Pixel(8, 8), c.clr) << c.nID;
    EXPECT_EQ(canvas.Pixel(2, 2), RGB(128, 128, 128)) << "its frame";
    EXPECT_EQ(canvas.Pixel(0, 0), RGB(1, 2, 3)) << "the mask left out";
  }
}

TEST_F(Gallery, TabStripsShowEveryAppearanceAndTheDemonstrations) {
  auto *pTabs = Section<CGalleryTabsSection>();
  ASSERT_NE(pTabs, nullptr);
  const CPoint org = Origin<CGalleryTabsSection>();
  for (int a = 0; a < CGalleryTabsSection::kAppearances; a++) {
    for (int s = 0; s < CGalleryTabsSection::kSets; s++) {
      CGalleryTabStrip &strip = pTabs->GetCell(a, s);
      ASSERT_EQ(strip.GetItemCount(), 2);
      EXPECT_EQ(strip.GetPaintManager()->GetAppearance(), a);
      EXPECT_EQ(strip.GetPaintManager()->GetColor(), CGalleryTabsSection::kSetIds[s]);
      // Text, edges and faces show in the cell.
      CRect rcCell = CGalleryTabsSection::CellRect(a, s) + org;
      int nInk = 0;
      for (int x = rcCell.left; x < rcCell.right; x += 2)
        for (int y = rcCell.top; y < rcCell.bottom; y += 2)
          nInk += Pixel(CPoint(x, y)) != ::GetSysColor(COLOR_WINDOW);
      EXPECT_GT(nInk, 30) << a << " " << s;
    }
  }
  // The selected tab of a square style takes the set's selected face.
  CGalleryTabStrip &flat = pTabs->GetCell(6, 4);
  CRect rcSelected = flat.GetItem(0)->GetRect() + org;
  EXPECT_EQ(Pixel(rcSelected.CenterPoint() + CPoint(0, 4)),
            flat.GetPaintManager()->GetColorSet()->tabFaceSelected.GetColor());
  // Scroll buttons on the overflowing strip, several rows, squeezed tabs.
  CGalleryTabStrip &scroll = pTabs->GetDemo(0);
  EXPECT_FALSE(scroll.FindNavigateButton(xtpTabNavigateButtonRight)->GetRect().IsRectEmpty());
  EXPECT_TRUE(scroll.FindNavigateButton(xtpTabNavigateButtonLeft)->IsEnabled());
  EXPECT_LT(scroll.GetHeaderOffset(), 0);
  EXPECT_NE(scroll.GetHighlightedItem(), nullptr);
  EXPECT_GE(pTabs->GetDemo(5).GetRowIndexer()->GetRowCount(), 2);
  CGalleryTabStrip &compressed = pTabs->GetDemo(4);
  EXPECT_LT(compressed.GetItem(1)->GetButtonLength(), compressed.GetItem(1)->GetContentLength());
}

// Each tip style's board: its tool is hit-tested and registered with a
// tooltip window of the board's style (what the tip looks like is the
// toolkit test's and the screenshot's business).
TEST_F(Gallery, EachTipStyleRegistersItsBoardsTool) {
  auto *pSection = Section<CGalleryToolTipsSection>();
  ASSERT_NE(pSection, nullptr);
  for (int nStyle = 0; nStyle < CGalleryToolTipsSection::kStyles; nStyle++) {
    CGalleryTipBoard &board = pSection->GetBoard(nStyle);
    CXTPToolTipContext &context = board.GetContext();
    EXPECT_EQ(context.GetStyle(), nStyle);
    CPoint pt = CGalleryTipBoard::ToolRect().CenterPoint();
    board.ClientToScreen(&pt);
    ::SetCursorPos(pt.x, pt.y);
    board.SendMessage(WM_MOUSEMOVE, 0,
                      MAKELPARAM(CGalleryTipBoard::ToolRect().CenterPoint().x,
                                 CGalleryTipBoard::ToolRect().CenterPoint().y));
    ASSERT_NE(context.GetToolTip(), nullptr) << nStyle;
    EXPECT_EQ(context.GetLastTool().uId, CGalleryTipBoard::ToolId());
    EXPECT_EQ(context.GetLastTool().hwnd, board.m_hWnd);
    EXPECT_EQ((context.GetToolTip()->GetStyle() & TTS_BALLOON) != 0, nStyle == xtpToolTipBalloon);
    EXPECT_EQ(context.GetToolTip()->GetToolCount(), 1);
    EXPECT_EQ(context.GetToolTip()->GetRichEdit().m_hWnd != nullptr, nStyle == xtpToolTipRTF);
  }
}

TEST_F(Gallery, ButtonsShowEachStyleInEachState) {
  using S = CGalleryButtonsSection;
  auto *pButtons = Section<S>();
  ASSERT_NE(pButtons, nullptr);
  const int kClassic = 0, kFlat = 1, kOffice = 4, kFramed = 5;
  const struct {
    int row, state;
    int border, face; // colour indexes at (0, 0) and inside
  } cases[] = {
      {kClassic, S::kNormal, COLOR_3DHILIGHT, COLOR_3DFACE},
      {kClassic, S::kPressed, COLOR_3DDKSHADOW, COLOR_3DFACE},
      {kFlat, S::kNormal, COLOR_3DFACE, COLOR_3DFACE},
      {kFlat, S::kHot, COLOR_3DHILIGHT, COLOR_3DFACE},
      {kOffice, S::kNormal, COLOR_3DFACE, COLOR_3DFACE},
      {kOffice, S::kHot, XPCOLOR_HIGHLIGHT_BORDER, XPCOLOR_HIGHLIGHT},
      {kOffice, S::kPressed, XPCOLOR_HIGHLIGHT_BORDER, XPCOLOR_HIGHLIGHT_PUSHED},
      {kOffice, S::kChecked, XPCOLOR_HIGHLIGHT_BORDER, XPCOLOR_HIGHLIGHT_CHECKED},
      {kFramed, S::kNormal, COLOR_3DSHADOW, XPCOLOR_TOOLBAR_FACE},
      {kFramed, S::kDisabled, COLOR_3DSHADOW, XPCOLOR_TOOLBAR_FACE},
  };
  for (const auto &c : cases) {
    CXTButton *pButton = pButtons->GetButton(c.row, c.state);
    ASSERT_NE(pButton, nullptr);
    pButton->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    HDC hDC = ::GetDC(pButton->m_hWnd);
    EXPECT_EQ(::GetPixel(hDC, 0, 0), XTPGetColor(c.border)) << c.row << " " << c.state;
    EXPECT_EQ(::GetPixel(hDC, S::kButtonWidth - 6, 4), XTPGetColor(c.face)) << c.row << " " << c.state;
    ::ReleaseDC(pButton->m_hWnd, hDC);
  }
}

TEST_F(Gallery, HeadersShowEachLookWithItsArrowAndPictures) {
  auto *pSection = Section<CGalleryHeaderSection>();
  ASSERT_NE(pSection, nullptr);
  const struct {
    const std::type_info &look;
    int sorted;
    BOOL ascending;
    bool pictures;
  } kLooks[] = {{typeid(CXTHeaderTheme), 0, TRUE, false},
                {typeid(CXTHeaderThemeFlat), 1, FALSE, false},
                {typeid(CXTHeaderThemeShaded), 0, TRUE, true}};
  for (int look = 0; look < CGalleryHeaderSection::kLooks; look++) {
    CXTHeaderCtrl &header = pSection->GetHeader(look);
    ASSERT_TRUE(::IsWindowVisible(header.GetSafeHwnd())) << look;
    ASSERT_NE(header.GetTheme(), nullptr);
    EXPECT_EQ(typeid(*header.GetTheme()), kLooks[look].look) << look;
    BOOL ascending = !kLooks[look].ascending;
    EXPECT_EQ(header.ReadSortedColumn(&ascending), kLooks[look].sorted) << look;
    EXPECT_EQ(ascending, kLooks[look].ascending) << look;
    for (int column = 0; column < 3; column++) {
      HDITEMW item = {};
      item.mask = HDI_FORMAT;
      header.GetItem(column, &item);
      EXPECT_EQ((item.fmt & HDF_BITMAP) != 0, kLooks[look].pictures) << look << " " << column;
    }
  }
}

TEST_F(Gallery, ListsShowRowColoursTheSortedColumnAndTheDisabledLook) {
  auto *pLists = Section<CGalleryListSection>();
  ASSERT_NE(pLists, nullptr);
  // The colours as each list paints itself on the screen.
  auto painted = [](CXTListCtrl &list, int row, int column, int rowsBelow = 0) {
    list.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    CRect rect;
    list.GetSubItemRect(row, column, LVIR_BOUNDS, rect);
    // The first column's bounds are the whole row's.
    if (column == 0) rect.right = rect.left + list.GetColumnWidth(0);
    HDC hDC = ::GetDC(list.m_hWnd);
    const COLORREF colour = ::GetPixel(hDC, rect.right - 3, rect.top + 2 + rowsBelow * rect.Height());
    ::ReleaseDC(list.m_hWnd, hDC);
    return colour;
  };
  CXTListCtrl &sorted = pLists->GetList(0);
  EXPECT_EQ(painted(sorted, 0, 0), RGB(247, 247, 255)) << "an even row";
  EXPECT_EQ(painted(sorted, 1, 0), ::GetSysColor(COLOR_WINDOW)) << "an odd row";
  EXPECT_EQ(painted(sorted, 1, 2), sorted.GetSortBkColor()) << "the sorted column";
  EXPECT_EQ(painted(sorted, 5, 2, 2), sorted.GetSortBkColor()) << "the sorted column below the rows";
  CXTListCtrl &disabled = pLists->GetList(2);
  EXPECT_FALSE(disabled.IsWindowEnabled());
  EXPECT_EQ(painted(disabled, 0, 0), ::GetSysColor(COLOR_3DFACE));
  EXPECT_EQ(painted(disabled, 5, 2, 2), ::GetSysColor(COLOR_3DFACE));
}

// The panes' tree: C the client area, T<ids> a tabbed container, H(...) and
// V(...) the splitters.
std::string PaneTree(const CXTPDockingPaneBase *pObject) {
  return dptest::Shape(pObject, true);
}

TEST_F(Gallery, DockingPanesShowEachThemeAndTheirLayoutComesBack) {
  auto *pPanes = Section<CGalleryDockingPanesSection>();
  ASSERT_NE(pPanes, nullptr);
  ASSERT_EQ(5, pPanes->GetManagerCount());
  const int kThemes[] = {0, 1, 2, 5, 8};
  for (int i = 0; i < pPanes->GetManagerCount(); i++) {
    CXTPDockingPaneManager *pManager = pPanes->GetManager(i);
    EXPECT_EQ(kThemes[i], pManager->GetPaintManager()->GetTheme());
    // Every pane's window shows in its container, and the caption band of
    // the log pane is painted in the theme's colours.
    CXTPDockingPane *pLog = pManager->FindPane(101);
    ASSERT_NE(pLog, nullptr);
    EXPECT_TRUE(::IsWindowVisible(pLog->GetChildHwnd()));
    HWND hContainer = pLog->GetContainer()->GetPaneHwnd();
    HDC hDC = ::GetDC(hContainer);
    const COLORREF clrBand = ::GetPixel(hDC, 30, 6);
    ::ReleaseDC(hContainer, hDC);
    CXTPDockingPanePaintManager *pPaint = pManager->GetPaintManager();
    if (kThemes[i] == 0) {
      EXPECT_EQ(pPaint->GetColor(COLOR_INACTIVECAPTION), clrBand);
    }
    if (kThemes[i] == 2) {
      EXPECT_EQ(pPaint->GetColor(51), clrBand);
    }
  }

  // The program's theme: several panes, tabbed and split, saved and loaded.
  CXTPDockingPaneManager *pManager = pPanes->GetManager(3);
  // Signatures joined the Properties tabs and left its own container empty;
  // saving drops that container.
  EXPECT_EQ("H(T102 V(H(C ) T101 ) V(T103 T T104105 ) )", PaneTree(pManager->GetTopPane()));
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    pManager->GetLayout()->Serialize(ar);
  }
  const std::string strTree = PaneTree(pManager->GetTopPane());
  EXPECT_EQ("H(T102 V(H(C ) T101 ) V(T103 T104105 ) )", strTree);
  file.SeekToBegin();
  CXTPDockingPaneLayout *pLoaded = pManager->CreateLayout();
  {
    CArchive ar(&file, CArchive::load);
    CXTPPropExchangeArchive px(ar);
    EXPECT_TRUE(pLoaded->Load(&px));
  }
  EXPECT_EQ(strTree, PaneTree(pLoaded->GetTopContainer()));
  EXPECT_EQ(5u, pLoaded->GetPaneList().size());
  pLoaded->InternalRelease();

  // Theme 8's frame has its Signatures pane floating beside it.
  CXTPDockingPane *pFloating = pPanes->GetManager(4)->FindPane(105);
  ASSERT_NE(nullptr, pFloating);
  ASSERT_TRUE(CXTPDockingPaneMiniWnd::IsMiniWnd(pFloating->GetDockingSite()));
  EXPECT_TRUE(pFloating->GetDockingSite()->IsWindowVisible());
}

TEST_F(Gallery, DockingPanesDragWithStickersUntilTheirCheckBoxIsCleared) {
  auto *pPanes = Section<CGalleryDockingPanesSection>();
  ASSERT_NE(pPanes, nullptr);
  HWND hCheck = pPanes->GetStickersCheck();
  ASSERT_NE(nullptr, hCheck);
  EXPECT_TRUE(::IsWindowVisible(hCheck));
  for (BOOL bOn : {TRUE, FALSE, TRUE}) {
    SCOPED_TRACE(bOn);
    EXPECT_EQ(bOn ? BST_CHECKED : BST_UNCHECKED, ::SendMessage(hCheck, BM_GETCHECK, 0, 0));
    for (int i = 0; i < pPanes->GetManagerCount(); i++) {
      EXPECT_EQ(bOn, pPanes->GetManager(i)->IsAlphaDockingContext());
      EXPECT_EQ(bOn, pPanes->GetManager(i)->IsShowDockingContextStickers());
    }
    ::SendMessage(hCheck, BM_CLICK, 0, 0);
  }
}

TEST_F(Gallery, DockingThemesShowTheOtherThemesAndThemedFloatingFrames) {
  auto *pThemes = Section<CGalleryDockingThemesSection>();
  ASSERT_NE(pThemes, nullptr);
  ASSERT_EQ(5, pThemes->GetManagerCount());
  const int kThemes[] = {3, 6, 7, 9, 10};
  for (int i = 0; i < pThemes->GetManagerCount(); i++) {
    CXTPDockingPaneManager *pManager = pThemes->GetManager(i);
    EXPECT_EQ(kThemes[i], pManager->GetPaintManager()->GetTheme());
    CXTPDockingPane *pLog = pManager->FindPane(101);
    ASSERT_NE(pLog, nullptr);
    EXPECT_TRUE(::IsWindowVisible(pLog->GetChildHwnd()));
  }
  // Theme 10's Signatures float open, theme 3's Find Results rolled up, both with the theme's caption.
  const struct {
    int nManager, nPane;
    BOOL bCollapsed;
  } kFloating[] = {{4, 105, FALSE}, {0, 103, TRUE}};
  for (const auto &f : kFloating) {
    CXTPDockingPane *pPane = pThemes->GetManager(f.nManager)->FindPane(f.nPane);
    ASSERT_NE(nullptr, pPane);
    ASSERT_TRUE(CXTPDockingPaneMiniWnd::IsMiniWnd(pPane->GetDockingSite())) << "pane " << f.nPane;
    auto *pMini = static_cast<CXTPDockingPaneMiniWnd *>(pPane->GetDockingSite());
    EXPECT_TRUE(pMini->IsWindowVisible()) << "pane " << f.nPane;
    EXPECT_TRUE(pMini->IsThemed());
    EXPECT_EQ(f.bCollapsed, pMini->IsCollapsed()) << "pane " << f.nPane;
  }
}

// Themes 7 and 10 under each scheme draw the scheme's inactive caption
// (theme 7 a gradient from its first end at the left, theme 10 one colour),
// and the floating frame holds two groups without an Auto Hide pin.
TEST_F(Gallery, DockingSchemesShowThemes7And10InEachSchemeAndTwoGroupsFloating) {
  auto *pSchemes = Section<CGalleryDockingSchemesSection>();
  ASSERT_NE(pSchemes, nullptr);
  ASSERT_EQ(CGalleryDockingSchemesSection::kFrames, pSchemes->GetManagerCount());
  // Inactive caption at the left of the band, by theme (7, 10) and scheme.
  const COLORREF kCaption[2][4] = {{0, 0xC6D7D8, 0xC6D7D8, 0xEBE0E0}, {0, 0xBAC7CC, 0xBAC7CC, 0xF5F0F0}};
  for (int i = 0; i < pSchemes->GetManagerCount(); i++) {
    SCOPED_TRACE(i);
    CXTPDockingPaneManager *pManager = pSchemes->GetManager(i);
    const int nTheme = CGalleryDockingSchemesSection::ThemeOf(i);
    EXPECT_EQ(nTheme, pManager->GetPaintManager()->GetTheme());
    CXTPDockingPane *pFolders = pManager->FindPane(102);
    ASSERT_NE(pFolders, nullptr);
    auto *pTabbed = static_cast<CXTPDockingPaneTabbedContainer *>(pFolders->GetContainer());
    ASSERT_NE(pTabbed, nullptr);
    ASSERT_FALSE(pTabbed->IsActive());
    HDC hDC = ::GetDC(pTabbed->GetSafeHwnd());
    const COLORREF clr = ::GetPixel(hDC, 3, 4);
    ::ReleaseDC(pTabbed->GetSafeHwnd(), hDC);
    EXPECT_LE(Distance(clr, kCaption[nTheme == 7 ? 0 : 1][CGalleryDockingSchemesSection::SchemeOf(i)]), 12)
        << std::hex << clr;
  }
  CXTPDockingPaneManager *pManager = pSchemes->GetManager(CGalleryDockingSchemesSection::kFloatingManager);
  CXTPDockingPane *pFind = pManager->FindPane(103), *pSigs = pManager->FindPane(105);
  ASSERT_TRUE(pFind && pSigs);
  ASSERT_TRUE(CXTPDockingPaneMiniWnd::IsMiniWnd(pFind->GetDockingSite()));
  EXPECT_EQ(pFind->GetDockingSite(), pSigs->GetDockingSite());
  EXPECT_NE(pFind->GetContainer(), pSigs->GetContainer()) << "two groups";
  EXPECT_TRUE(pFind->GetDockingSite()->IsWindowVisible());
  for (CXTPDockingPane *pPane : {pFind, pSigs}) {
    auto *pTabbed = static_cast<CXTPDockingPaneTabbedContainer *>(pPane->GetContainer());
    EXPECT_FALSE(pTabbed->GetCaptionButtons()->FindButton(XTP_IDS_DOCKINGPANE_AUTOHIDE)->IsVisible());
    EXPECT_TRUE(pTabbed->GetCaptionButtons()->FindButton(XTP_IDS_DOCKINGPANE_CLOSE)->IsVisible());
  }
}

// Runs the messages until the condition holds or the time is up.
bool PumpUntil(const std::function<bool()> &condition, DWORD dwTimeout) {
  const DWORD dwStart = ::GetTickCount();
  while (!condition()) {
    if (::GetTickCount() - dwStart > dwTimeout) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    PumpMessages();
  }
  return true;
}

TEST_F(Gallery, AutoHiddenPanesSlideOutOnClickAndOnHover) {
  auto *pPanes = Section<CGalleryDockingPanesSection>();
  ASSERT_NE(pPanes, nullptr);
  for (int i = 0; i < 3; i++) {
    CXTPDockingPaneManager *pManager = pPanes->GetManager(i);
    CXTPDockingPane *pSearch = pManager->FindPane(106);
    ASSERT_NE(nullptr, pSearch);
    EXPECT_TRUE(pSearch->IsAutoHidden()) << i;
    CXTPDockingPaneAutoHidePanel *pPanel = pManager->GetLayout()->GetAutoHidePanel(xtpPaneDockLeft);
    ASSERT_NE(nullptr, pPanel);
    ASSERT_TRUE(pPanel->GetSafeHwnd() != nullptr && pPanel->IsWindowVisible()) << i;
    ASSERT_EQ(1u, pPanel->GetTabRows().size());
    const CPoint ptTab = pPanel->GetTabRows().front()->GetItem(0)->GetRect().CenterPoint();
    CPoint ptScreen = ptTab;
    pPanel->ClientToScreen(&ptScreen);
    ::SetCursorPos(ptScreen.x, ptScreen.y);
    pPanel->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptTab.x, ptTab.y));
    pPanel->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptTab.x, ptTab.y));
    ASSERT_NE(nullptr, pPanel->GetActiveWnd()) << i;
    EXPECT_EQ(pSearch->GetContainer(), pPanel->GetActiveWnd()->GetContainer());
    EXPECT_TRUE(::IsWindowVisible(pSearch->GetChildHwnd())) << i;
    // A clicked pane takes the focus and stays out while it holds it.
    EXPECT_EQ(pSearch->GetChildHwnd(), ::GetFocus()) << i;
    // With the focus and the cursor elsewhere, it slides back.
    View().SetFocus();
    ::SetCursorPos(0, 0);
    EXPECT_TRUE(PumpUntil([&] { return pPanel->GetActiveWnd() == nullptr; }, 3000)) << i;
  }
  // Pointing at the tab in an active gallery slides the pane out too.
  if (::GetActiveWindow() == theApp.GetFrame()->GetSafeHwnd()) {
    CXTPDockingPaneAutoHidePanel *pPanel =
        pPanes->GetManager(1)->GetLayout()->GetAutoHidePanel(xtpPaneDockLeft);
    const CPoint ptTab = pPanel->GetTabRows().front()->GetItem(0)->GetRect().CenterPoint();
    CPoint ptScreen = ptTab;
    pPanel->ClientToScreen(&ptScreen);
    ::SetCursorPos(ptScreen.x, ptScreen.y);
    pPanel->PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(ptTab.x, ptTab.y));
    EXPECT_TRUE(PumpUntil([&] { return pPanel->GetActiveWnd() != nullptr; }, 3000));
    ::SetCursorPos(0, 0);
    EXPECT_TRUE(PumpUntil([&] { return pPanel->GetActiveWnd() == nullptr; }, 3000));
  }
}

TEST_F(Gallery, TheCommandBarsFrameHasItsMenuBarAndDockedToolbarsListed) {
  auto *pSection = Section<CGalleryCommandBarsFrameSection>();
  ASSERT_NE(pSection->GetFrame(), nullptr);
  CXTPCommandBars *pBars = pSection->GetFrame()->GetCommandBars();
  ASSERT_NE(pBars, nullptr);
  ASSERT_EQ(pBars->GetCount(), 3);
  ASSERT_NE(pBars->GetMenuBar(), nullptr);
  EXPECT_TRUE(::IsWindowVisible(pBars->GetMenuBar()->GetSafeHwnd()));
  const struct {
    const wchar_t *title;
    XTPBarPosition position;
  } kBars[] = {{L"Standard", xtpBarTop}, {L"Images", xtpBarLeft}};
  CXTPPopupBar *pPopup = pBars->GetToolbarsPopup();
  ASSERT_EQ(pPopup->GetControlCount(), 2);
  for (int i = 0; i < 2; i++) {
    CXTPCommandBar *pBar = pBars->GetAt(i + 1);
    EXPECT_EQ(pBar->GetTitle(), CString(kBars[i].title));
    EXPECT_EQ(pBar->GetPosition(), kBars[i].position);
    EXPECT_EQ(::GetParent(pBar->GetSafeHwnd()), pBars->GetDockBar(kBars[i].position)->GetSafeHwnd());
    EXPECT_TRUE(::IsWindowVisible(pBar->GetSafeHwnd()));
    EXPECT_EQ(pPopup->GetControl(i)->GetCaption(), CString(kBars[i].title));
    EXPECT_TRUE(pPopup->GetControl(i)->GetChecked());
  }
  pPopup->InternalRelease();
}

TEST_F(Gallery, TheTabbedMdiPageShowsTwoGroupsAndItsBarBoxes) {
  auto *pSection = Section<CGalleryTabbedMdiSection>();
  ASSERT_NE(pSection->GetFrame(), nullptr);
  CXTPTabClientWnd *pClient = pSection->GetTabClient();
  ASSERT_TRUE(pClient->IsAttached());
  ASSERT_EQ(2, pClient->GetWorkspaceCount());
  EXPECT_EQ(2, pClient->GetWorkspace(0)->GetItemCount());
  EXPECT_EQ(2, pClient->GetWorkspace(1)->GetItemCount());
  EXPECT_FALSE(pClient->IsHorizontalGroups());
  // The groups side by side, the splitter between them painted.
  const CRect rcSplitter = pClient->GetWorkspace(0)->m_rcSplitter;
  EXPECT_EQ(4, rcSplitter.Width());
  ::UpdateWindow(pClient->GetSafeHwnd());
  HDC hDC = ::GetDC(pClient->GetSafeHwnd());
  const COLORREF clrSplitter = ::GetPixel(hDC, rcSplitter.left + 1, rcSplitter.CenterPoint().y);
  ::ReleaseDC(pClient->GetSafeHwnd(), hDC);
  EXPECT_NE(::GetSysColor(COLOR_APPWORKSPACE), clrSplitter);
  // The zoom box: an edit field showing the chosen size.
  CXTPControlComboBox *pZoom = pSection->GetZoomCombo();
  ASSERT_NE(pZoom->GetEditCtrl(), nullptr);
  EXPECT_TRUE(::IsWindowVisible(pZoom->GetEditCtrl()->GetSafeHwnd()));
  EXPECT_STREQ(L"100%", pZoom->GetEditText());
  EXPECT_EQ(2, pZoom->GetCurSel());
  // The edit boxes: Find behind its label, the sector box at its control's edge.
  for (CXTPControlEdit *pEdit : {pSection->GetFindEdit(), pSection->GetSectorEdit()}) {
    SCOPED_TRACE(pEdit->GetShowLabel() ? "Find" : "Sector");
    ASSERT_NE(pEdit->GetEditCtrl(), nullptr);
    HWND hBox = pEdit->GetEditCtrl()->GetSafeHwnd();
    EXPECT_TRUE(::IsWindowVisible(hBox));
    CRect rcBox;
    ::GetWindowRect(hBox, &rcBox);
    ::MapWindowPoints(nullptr, pSection->GetToolBar()->GetSafeHwnd(), reinterpret_cast<POINT *>(&rcBox), 2);
    EXPECT_EQ(pEdit->GetRect().left + pEdit->GetLabelWidth() + 4, rcBox.left);
    EXPECT_EQ(pEdit->GetShowLabel(), pEdit->GetLabelWidth() > 10);
  }
  EXPECT_STREQ(L"63", pSection->GetSectorEdit()->GetEditText());

  // The Window menu: the group commands that can run for the active log
  // (in the second group, beside the picture), then the documents by id.
  CXTPControl *pWindow =
      pSection->GetToolBar()->GetControls()->FindControl(xtpControlPopup, -1, FALSE, FALSE);
  ASSERT_NE(pWindow, nullptr);
  CXTPControls *pMenu = pWindow->GetCommandBar()->GetControls();
  // Each expanding control as a layout of the menu runs it.
  for (int i = 0; i < pMenu->GetCount(); i++)
    if (dynamic_cast<CXTPControlWorkspaceActions *>(pMenu->GetAt(i)) ||
        dynamic_cast<CXTPControlWindowList *>(pMenu->GetAt(i)))
      pMenu->GetAt(i)->OnCalcDynamicSize(0);
  std::vector<std::pair<int, std::wstring>> items;
  for (int i = 0; i < pMenu->GetCount(); i++)
    if (pMenu->GetAt(i)->IsVisible())
      items.push_back(
          {pMenu->GetAt(i)->GetID(), static_cast<LPCTSTR>(pMenu->GetAt(i)->GetCaption()) +
                                         std::wstring(pMenu->GetAt(i)->GetChecked() ? L"*" : L"")});
  const std::vector<std::pair<int, std::wstring>> expected = {
      {9423, L"New &Vertical Tab Group"}, {9420, L"Move to P&revious Tab Group"},
      {0xFF00, L"&1 Report.txt"},         {0xFF01, L"&2 Notes.txt"},
      {0xFF02, L"&3 Photo.jpg"},          {0xFF03, L"&4 Recovery.log*"}};
  EXPECT_EQ(expected, items);
}

// The zoom list's loop reads these keys in place of the queue.
std::vector<UINT> g_zoomKeys;
BOOL ZoomKeys(MSG *pMsg) {
  if (g_zoomKeys.empty()) return -1;
  *pMsg = MSG{nullptr, WM_KEYDOWN, g_zoomKeys.front(), 1, 0, {0, 0}};
  g_zoomKeys.erase(g_zoomKeys.begin());
  return TRUE;
}

TEST_F(Gallery, TheZoomComboTakesASizeFromItsListByKeys) {
  CXTPControlComboBox *pZoom = Section<CGalleryTabbedMdiSection>()->GetZoomCombo();
  g_zoomKeys = {VK_DOWN, VK_DOWN, VK_RETURN};
  CXTPControlComboBoxList::SetGetMessageFunction(&ZoomKeys);
  ::SendMessageW(pZoom->GetEditCtrl()->GetSafeHwnd(), WM_KEYDOWN, VK_F4, 1);
  CXTPControlComboBoxList::SetGetMessageFunction(nullptr);
  EXPECT_TRUE(g_zoomKeys.empty());
  EXPECT_EQ(4, pZoom->GetCurSel());
  EXPECT_STREQ(L"200%", pZoom->GetEditText());
  EXPECT_FALSE(::IsWindowVisible(pZoom->GetList()->GetSafeHwnd()));
  pZoom->SetCurSel(2);
}

TEST_F(Gallery, TheCustomisableFrameTheRebarAndTheTipOfTheDayShow) {
  auto *pSection = Section<CGalleryBarStateSection>();
  ASSERT_NE(pSection, nullptr);
  ASSERT_NE(pSection->GetCustomFrame(), nullptr);
  CXTPCommandBars *pBars = pSection->GetCustomFrame()->GetCommandBars();
  // Menu bar, Standard, Images and the user's toolbar that the saved state
  // brought back with Images' first two buttons; Images renamed.
  ASSERT_EQ(pBars->GetCount(), 4);
  EXPECT_TRUE(pBars->GetCommandBarsOptions()->bAltDragCustomization);
  for (int i = 0; i < 4; i++) EXPECT_TRUE(::IsWindowVisible(pBars->GetAt(i)->GetSafeHwnd()));
  CXTPToolBar *pMine = pBars->GetToolBar(0xE800);
  ASSERT_NE(pMine, nullptr);
  EXPECT_EQ(pMine->GetTitle(), CString(L"My Tools"));
  ASSERT_GE(pMine->GetControlCount(), 2);
  EXPECT_EQ(pMine->GetControl(0)->GetID(), 33011);
  EXPECT_EQ(pMine->GetControl(1)->GetID(), 33012);
  EXPECT_EQ(pBars->GetAt(2)->GetTitle(), CString(L"Pictures"));
  EXPECT_EQ(pBars->GetAt(2)->GetControl(0)->GetID(), 33013);
  // Both toolbars of the second frame sit in rebar bands, not in dock bars.
  CXTPReBar *pReBar = pSection->GetReBar();
  ASSERT_NE(pReBar, nullptr);
  ASSERT_EQ(pReBar->GetBandCount(), 2);
  for (int i = 0; i < 2; i++) {
    CXTPToolBar *pBar = pReBar->GetToolBar(i);
    ASSERT_NE(pBar, nullptr);
    EXPECT_EQ(::GetParent(pBar->GetSafeHwnd()), pReBar->GetSafeHwnd());
  }
  // The tip of the day reads the program's own tips.
  CXTTipOfTheDay *pTip = pSection->GetTip();
  ASSERT_NE(pTip, nullptr);
  EXPECT_TRUE(pTip->IsFileOpen());
  EXPECT_FALSE(pTip->GetTipText().IsEmpty());
  EXPECT_TRUE(::IsWindowVisible(pTip->GetSafeHwnd()));
}

// The dialog bars host their windows under their captions, one docked down
// the whole left side and one floating; the toolbar's custom controls hold
// their windows in the bar.
TEST_F(Gallery, TheDialogBarPageHostsWindowsInItsBars) {
  auto *pSection = Section<CGalleryDialogBarSection>();
  ASSERT_NE(pSection, nullptr);
  PumpMessages();
  CXTPDialogBar *pDocked = pSection->GetDockedBar();
  EXPECT_EQ(pDocked->GetPosition(), xtpBarLeft);
  ASSERT_NE(pDocked->GetChild(), nullptr);
  EXPECT_TRUE(::IsWindowVisible(pDocked->GetChild()));
  CRect rcChild;
  ::GetWindowRect(pDocked->GetChild(), &rcChild);
  pDocked->ScreenToClient(&rcChild);
  EXPECT_EQ(rcChild.top, pDocked->GetCaptionHeight()) << "under the caption";
  CRect rcDock, rcBar;
  pSection->GetDockBar(xtpBarLeft)->GetWindowRect(&rcDock);
  pDocked->GetWindowRect(&rcBar);
  EXPECT_EQ(rcBar.Height(), rcDock.Height()) << "the whole side";
  EXPECT_TRUE(pDocked->GetCaptionPopup()->GetEnabled());

  CXTPDialogBar *pFloating = pSection->GetFloatingBar();
  EXPECT_TRUE(pFloating->IsFloating());
  ASSERT_NE(pFloating->GetChild(), nullptr);
  EXPECT_FALSE(pFloating->GetCaptionPopup()->GetEnabled()) << "no commands under this caption";

  for (CXTPControlCustom *pControl : {pSection->GetSliderControl(), pSection->GetProgressControl()}) {
    ASSERT_TRUE(pControl->HasWindow());
    EXPECT_EQ(::GetParent(pControl->GetControlHandle()), pSection->GetToolBar()->GetSafeHwnd());
    EXPECT_TRUE(::IsWindowVisible(pControl->GetControlHandle()));
    CRect rcWindow;
    ::GetWindowRect(pControl->GetControlHandle(), &rcWindow);
    pSection->GetToolBar()->ScreenToClient(&rcWindow);
    CRect rcInside = pControl->GetRect();
    rcInside.DeflateRect(pControl->GetBorders());
    EXPECT_EQ(rcWindow, rcInside);
  }
}

namespace {

// The drag's message loop, fed step by step: the second step needs the
// popup that the first one opened.
CXTPCommandBar *g_pDragMenuBar = nullptr;
HWND g_hWndDragCapture = nullptr;
int g_nDragStep = 0;

BOOL FeedDragIntoPopup(MSG *pMsg) {
  CXTPControl *pView = g_pDragMenuBar->GetControl(0);
  CXTPCommandBar *pPopup = pView ? pView->GetCommandBar() : nullptr;
  CPoint point;
  UINT message = WM_MOUSEMOVE;
  switch (g_nDragStep++) {
  case 0: // over the menu bar's View
    point = pView->GetRect().CenterPoint();
    g_pDragMenuBar->ClientToScreen(&point);
    break;
  case 1: // inside the popup the drag opened, below its last item
  case 2: {
    if (pPopup == nullptr || !::IsWindowVisible(pPopup->GetSafeHwnd())) {
      *pMsg = MSG{g_hWndDragCapture, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
      return TRUE;
    }
    CRect rc;
    pPopup->GetWindowRect(&rc);
    point = CPoint(rc.CenterPoint().x, rc.bottom - 6);
    if (g_nDragStep == 3) message = WM_LBUTTONUP;
    break;
  }
  default:
    *pMsg = MSG{g_hWndDragCapture, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    return TRUE;
  }
  ::ScreenToClient(g_hWndDragCapture, &point);
  *pMsg = MSG{g_hWndDragCapture,
              message,
              static_cast<WPARAM>(message == WM_MOUSEMOVE ? MK_LBUTTON : 0),
              MAKELPARAM(point.x, point.y),
              0,
              {0, 0}};
  return TRUE;
}

} // namespace

TEST_F(Gallery, AButtonDraggedOverTheMenuOpensItsPopupAndDropsIntoIt) {
  auto *pSection = Section<CGalleryBarStateSection>();
  ASSERT_NE(pSection, nullptr);
  ASSERT_NE(pSection->GetCustomFrame(), nullptr);
  CXTPCommandBars *pBars = pSection->GetCustomFrame()->GetCommandBars();
  CXTPCommandBar *pMenuBar = pBars->GetMenuBar();
  ASSERT_NE(pMenuBar, nullptr);
  CXTPCommandBar *pStandard = pBars->GetAt(1);
  CXTPControl *pDragged = pStandard->GetControl(0);
  ASSERT_NE(pDragged, nullptr);
  const int nDraggedId = pDragged->GetID();
  g_pDragMenuBar = pMenuBar;
  g_hWndDragCapture = pSection->GetCustomFrame()->GetSafeHwnd();
  g_nDragStep = 0;
  CXTPCustomizeDragTool::SetGetMessageFunction(&FeedDragIntoPopup);
  const int nResult = pBars->GetDragTool()->PerformDrag(pDragged);
  CXTPCustomizeDragTool::SetGetMessageFunction(nullptr);
  EXPECT_EQ(nResult, xtpDropMove);
  CXTPCommandBar *pPopup = pMenuBar->GetControl(0)->GetCommandBar();
  ASSERT_NE(pPopup, nullptr);
  CXTPControl *pLast = pPopup->GetControl(pPopup->GetControlCount() - 1);
  ASSERT_NE(pLast, nullptr);
  EXPECT_EQ(pLast->GetID(), nDraggedId) << "dropped at the end of the View menu";
  // The page is left as it was.
  pPopup->GetControls()->Remove(pLast);
  pMenuBar->SetTrackingMode(0, TRUE, FALSE);
  pBars->SetDragControl(nullptr);
}

TEST_F(Gallery, ClosingTheWindowEndsTheProgram) {
  HWND hWnd = theApp.GetFrame()->m_hWnd;
  ::ReleaseDC(View().m_hWnd, m_hDC);
  m_hDC = nullptr;
  ::SendMessage(hWnd, WM_CLOSE, 0, 0);
  EXPECT_FALSE(::IsWindow(hWnd));
  MSG msg;
  bool bQuit = false;
  while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) bQuit |= msg.message == WM_QUIT;
  EXPECT_TRUE(bQuit);
}

// The program as built: started on its own, its window shows up, and a
// close request ends it cleanly.
TEST(GalleryProgram, StartsShowsItsWindowAndCloses) {
  STARTUPINFOW si = {};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi = {};
  wchar_t szCommand[] = L"qv_gallery.exe";
  ASSERT_TRUE(::CreateProcessW(nullptr, szCommand, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
      << ::GetLastError();
  HWND hWnd = nullptr;
  for (int i = 0; i < 200 && !hWnd; i++) {
    ::WaitForInputIdle(pi.hProcess, 100);
    HWND h = ::FindWindowW(nullptr, kTitle);
    DWORD pid = 0;
    if (h) ::GetWindowThreadProcessId(h, &pid);
    if (pid == pi.dwProcessId && ::IsWindowVisible(h))
      hWnd = h;
    else
      ::Sleep(50);
  }
  EXPECT_NE(hWnd, nullptr);
  if (hWnd)
    ::PostMessageW(hWnd, WM_CLOSE, 0, 0);
  else
    ::TerminateProcess(pi.hProcess, 1);
  EXPECT_EQ(::WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0);
  DWORD dwExit = 1;
  ::GetExitCodeProcess(pi.hProcess, &dwExit);
  EXPECT_EQ(dwExit, 0u);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
}

} // namespace
