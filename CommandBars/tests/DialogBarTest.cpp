// The dialog bar: its edges by how it stands (a bar filling its dock row
// keeps its edge along the row), the layout of its caption and its two
// client sizes, resizes refused below the minimum, the child placed under
// the caption, the caption's popup enabled only with commands, and a copy.
//
// No real cursor moves and no window is activated.
#include <gtest/gtest.h>

#include "../../Common/tests/MemoryCanvas.h"
#include "CommandBarsTestSupport.h"
#include "XTPCommandBars.h"
#include "XTPControls.h"
#include "XTPDialogBar.h"
#include "XTPOfficeTheme.h"

using namespace cbtest;

namespace {

CXTPDialogBar *NewDialogBar() {
  auto *pBar = static_cast<CXTPDialogBar *>(CRuntimeClass::FromName("CXTPDialogBar")->CreateObject());
  pBar->SetPaintManager(new CXTPDefaultTheme);
  return pBar;
}

// The default theme's caption row for this bar.
int GripperHeight(CXTPDialogBar *pBar) {
  HDC hDC = ::GetDC(nullptr);
  const int cy = pBar->GetPaintManager()->DrawDialogBarGripper(CDC::FromHandle(hDC), pBar, FALSE).cy;
  ::ReleaseDC(nullptr, hDC);
  return cy;
}

TEST(DialogBar, EdgesByHowTheBarStands) {
  const CRect rc(100, 100, 300, 250); // the ring is 3 pixels: 100..102 and 297..299
  const struct {
    XTPBarPosition position;
    DWORD dwFlags;
    CPoint point;
    int nCode;
  } kCases[] = {
      {xtpBarFloating, 0, {100, 100}, HTTOPLEFT},
      {xtpBarFloating, 0, {299, 100}, HTTOPRIGHT},
      {xtpBarFloating, 0, {100, 249}, HTBOTTOMLEFT},
      {xtpBarFloating, 0, {299, 249}, HTBOTTOMRIGHT},
      {xtpBarFloating, 0, {200, 102}, HTTOP},
      {xtpBarFloating, 0, {200, 247}, HTBOTTOM},
      {xtpBarFloating, 0, {102, 200}, HTLEFT},
      {xtpBarFloating, 0, {297, 200}, HTRIGHT},
      {xtpBarFloating, 0, {103, 103}, 0},
      {xtpBarFloating, 0, {296, 246}, 0},
      // Docked: the edges toward the frame's middle.
      {xtpBarTop, 0, {200, 249}, HTBOTTOM},
      {xtpBarTop, 0, {299, 200}, HTRIGHT},
      {xtpBarTop, 0, {200, 100}, 0},
      {xtpBarTop, 0, {100, 200}, 0},
      {xtpBarBottom, 0, {200, 103}, HTTOP},
      {xtpBarBottom, 0, {200, 104}, 0},
      {xtpBarBottom, 0, {299, 200}, HTRIGHT},
      {xtpBarLeft, 0, {299, 200}, HTRIGHT},
      {xtpBarLeft, 0, {200, 249}, HTBOTTOM},
      {xtpBarRight, 0, {103, 200}, HTLEFT},
      {xtpBarRight, 0, {200, 249}, HTBOTTOM},
      // A bar that fills its row has no outer edge along the row.
      {xtpBarTop, CXTPDialogBar::kFlagFullRow, {299, 200}, 0},
      {xtpBarTop, CXTPDialogBar::kFlagFullRow, {200, 249}, HTBOTTOM},
      {xtpBarBottom, CXTPDialogBar::kFlagFullRow, {299, 200}, 0},
      {xtpBarLeft, CXTPDialogBar::kFlagFullRow, {200, 249}, 0},
      {xtpBarLeft, CXTPDialogBar::kFlagFullRow, {299, 200}, HTRIGHT},
      {xtpBarRight, CXTPDialogBar::kFlagFullRow, {200, 249}, 0},
      {xtpBarRight, CXTPDialogBar::kFlagFullRow, {103, 200}, HTLEFT},
      {xtpBarFloating, CXTPDialogBar::kFlagFullRow, {299, 249}, HTBOTTOMRIGHT},
  };
  for (const auto &c : kCases) {
    SCOPED_TRACE(testing::Message() << "position " << c.position << " flags " << c.dwFlags << " at "
                                    << c.point.x << "," << c.point.y);
    EXPECT_EQ(CXTPDialogBar::HitTestEdges(rc, c.point, c.position, c.dwFlags), c.nCode);
  }
}

TEST(DialogBar, LayoutAddsMarginsAndCaptionToTheClientSizes) {
  CXTPDialogBar *pBar = NewDialogBar();
  EXPECT_TRUE(pBar->IsDialogBar());
  pBar->SetTitle(L"Folders");
  const int nGripper = GripperHeight(pBar);
  const int nCaption = nGripper + 3;
  pBar->SetFloatingClientSize(CSize(150, 120));
  EXPECT_EQ(pBar->CalcDynamicLayout(0, LM_HORZ | LM_COMMIT), CSize(156, 126 + nCaption));
  EXPECT_EQ(pBar->GetCaptionHeight(), nCaption);
  EXPECT_EQ(pBar->CalcDockedLayout(1000, LM_HORZ | LM_HORZDOCK), CSize(206, 206 + nCaption))
      << "docked: 200 x 200";
  // Filling the row: as long as the row, docked at the top or at a side.
  EXPECT_EQ(pBar->CalcDockedLayout(500, LM_HORZ | LM_HORZDOCK | LM_STRETCH), CSize(500, 206 + nCaption));
  EXPECT_EQ(pBar->CalcDockedLayout(400, LM_VERTDOCK | LM_STRETCH), CSize(206, 400));

  // The caption's buttons: close at the right, the title's button before it.
  const int nTop = 3 + nGripper / 2 - 8;
  pBar->CalcDockedLayout(1000, LM_HORZ | LM_HORZDOCK);
  ASSERT_NE(pBar->GetCloseButton(), nullptr);
  EXPECT_EQ(pBar->GetCloseButton()->GetRect(), CRect(206 - 3 - 16, nTop, 206 - 3, nTop + 16));
  CXTPDialogBarCaptionPopup *pPopup = pBar->GetCaptionPopup();
  ASSERT_NE(pPopup, nullptr);
  EXPECT_EQ(pPopup->GetRect(), CRect(3 + 6, nTop, 206 - 3 - 16, nTop + 16));
  EXPECT_EQ(std::wstring(pPopup->GetCaption()), L"Folders");
  EXPECT_FALSE(pPopup->GetEnabled()) << "nothing to list";

  // A bar that may not be closed gives the title the whole caption.
  pBar->SetCloseable(FALSE);
  pBar->CalcDockedLayout(1000, LM_HORZ | LM_HORZDOCK);
  EXPECT_FALSE(pBar->GetCloseButton()->IsVisible());
  EXPECT_EQ(pPopup->GetRect().right, 206 - 3);

  // Without its title the bar shows its caption text.
  pBar->SetTitle(L"");
  pBar->SetCaption(L"Drives");
  pBar->CalcDockedLayout(1000, LM_HORZ | LM_HORZDOCK);
  EXPECT_EQ(std::wstring(pPopup->GetCaption()), L"Drives");

  // Without a caption: margins alone, the caption's buttons hidden.
  pBar->SetCaptionVisible(FALSE);
  EXPECT_EQ(pBar->CalcDockedLayout(1000, LM_HORZ | LM_HORZDOCK), CSize(206, 206));
  EXPECT_FALSE(pPopup->IsVisible());
  EXPECT_EQ(pBar->HitTestCaption(CPoint(20, 5)), -2);
  pBar->InternalRelease();
}

TEST(DialogBar, CaptionPopupOpensOnlyWithCommandsAndWhenAllowed) {
  CXTPDialogBar *pBar = NewDialogBar();
  pBar->GetCaptionPopupBar()->GetControls()->Add(xtpControlButton, 201);
  pBar->CalcDockedLayout(1000, LM_HORZ | LM_HORZDOCK);
  CXTPDialogBarCaptionPopup *pPopup = pBar->GetCaptionPopup();
  ASSERT_NE(pPopup, nullptr);
  EXPECT_TRUE(pPopup->GetEnabled());
  EXPECT_EQ(pPopup->GetCommandBar(), pBar->GetCaptionPopupBar());
  pBar->EnableCaptionPopup(FALSE);
  pBar->CalcDockedLayout(1000, LM_HORZ | LM_HORZDOCK);
  EXPECT_FALSE(pPopup->GetEnabled());
  // A disabled caption button opens nothing.
  EXPECT_FALSE(pBar->SetPopuped(pPopup->GetIndex()));
  pBar->InternalRelease();
}

TEST(DialogBar, ItsCaptionPopupDropsRightAlignedHoweverTheBarStands) {
  for (XTPBarPosition position : {xtpBarTop, xtpBarLeft, xtpBarRight, xtpBarFloating}) {
    SCOPED_TRACE(position);
    CXTPDialogBar *pBar = NewDialogBar();
    pBar->StorePosition(position);
    pBar->CalcDockedLayout(1000, LM_HORZ | LM_HORZDOCK);
    CXTPPopupBar *pPopupBar = pBar->GetCaptionPopupBar();
    pPopupBar->SetControlPopup(pBar->GetCaptionPopup());
    pPopupBar->UpdateFlags();
    EXPECT_EQ(pPopupBar->GetPopupFlags(), xtpPopupLeft | xtpPopupDown);
    const CRect rcExclude = pPopupBar->GetExcludeRect();
    EXPECT_EQ(pPopupBar->GetPopupPoint(), CPoint(rcExclude.left, rcExclude.bottom)) << "below the caption";
    pPopupBar->SetControlPopup(nullptr);
    pBar->InternalRelease();
  }
}

// Text-coloured pixels in a rectangle of the canvas.
int CountTextPixels(const MemoryCanvas &canvas, CRect rc) {
  int n = 0;
  for (int y = rc.top; y < rc.bottom; y++)
    for (int x = rc.left; x < rc.right; x++) n += canvas.Pixel(x, y) == kText;
  return n;
}

TEST(DialogBar, TheCaptionShowsItsTitleAndAnArrowOnlyWhenItOpens) {
  const struct {
    BOOL bCommands;
    XTPBarPosition position;
  } kCases[] = {{FALSE, xtpBarTop}, {TRUE, xtpBarTop}, {TRUE, xtpBarLeft}, {FALSE, xtpBarRight}};
  for (const auto &c : kCases) {
    const BOOL bCommands = c.bCommands;
    SCOPED_TRACE(testing::Message() << (bCommands ? "with commands" : "without commands") << " at "
                                    << c.position);
    CXTPDialogBar *pBar = NewDialogBar();
    pBar->StorePosition(c.position); // a side's font is vertical
    UseTestColors(pBar->GetPaintManager());
    pBar->SetTitle(L"Folders");
    pBar->SetCloseable(FALSE);
    if (bCommands) pBar->GetCaptionPopupBar()->GetControls()->Add(xtpControlButton, 201);
    const CSize sz = pBar->CalcDockedLayout(1000, LM_HORZ | LM_HORZDOCK);
    pBar->SetBarClientSize(sz);
    MemoryCanvas canvas(sz.cx, sz.cy, kCanvas);
    pBar->DrawCommandBar(&canvas.dc, CRect(CPoint(0, 0), sz));
    const CRect rcCaption = pBar->GetCaptionPopup()->GetRect();
    const CRect rcArrow(rcCaption.right - 14, rcCaption.top, rcCaption.right - 4, rcCaption.bottom);
    EXPECT_GT(
        CountTextPixels(canvas, CRect(rcCaption.left, rcCaption.top, rcCaption.left + 40, rcCaption.bottom)),
        10)
        << "the title";
    EXPECT_EQ(CountTextPixels(canvas, rcArrow) > 0, bCommands) << "the arrow";
    pBar->InternalRelease();
  }
}

// A colour for each index of the table, told apart from every other.
COLORREF IndexColor(int nIndex) {
  return RGB(0x20 + nIndex * 3, 0x40, 0x60 + nIndex);
}

int CountPixels(const MemoryCanvas &canvas, CRect rc, COLORREF clr) {
  int n = 0;
  for (int y = rc.top; y < rc.bottom; y++)
    for (int x = rc.left; x < rc.right; x++) n += canvas.Pixel(x, y) == clr;
  return n;
}

// In a theme with state colours (the Office theme) the caption's title takes
// the toolbar text colour at rest, the hot text colour under the mouse and
// the pushed text colour while pressed, on the state's fill; the button text
// colour when it cannot open. The same on a bar docked at a side.
TEST(DialogBar, TheCaptionsTitleTakesTheThemesColourOfItsState) {
  const struct {
    BOOL bCommands;
    int nSelected, nPressed;
    XTPBarPosition position;
    int nText, nFill;
  } kCases[] = {
      {TRUE, 0, 0, xtpBarTop, 46, -1},
      {TRUE, 1, 0, xtpBarTop, 45, 31},
      {TRUE, 1, 1, xtpBarTop, 47, 33},
      {TRUE, 1, 0, xtpBarLeft, 45, 31},
      {TRUE, 1, 1, xtpBarRight, 47, 33},
      {FALSE, 0, 0, xtpBarTop, COLOR_BTNTEXT, -1},
      {FALSE, 1, 0, xtpBarTop, COLOR_BTNTEXT, -1},
  };
  for (const auto &c : kCases) {
    SCOPED_TRACE(testing::Message() << "commands " << c.bCommands << " hot " << c.nSelected << " pressed "
                                    << c.nPressed << " at " << c.position);
    auto *pBar = static_cast<CXTPDialogBar *>(CRuntimeClass::FromName("CXTPDialogBar")->CreateObject());
    auto *pTheme = new CXTPOfficeTheme;
    for (int i = 0; i < XPCOLOR_COUNT; i++) pTheme->GetColorPair(i).SetCustomValue(IndexColor(i));
    pBar->SetPaintManager(pTheme);
    pBar->StorePosition(c.position);
    pBar->SetTitle(L"Folders");
    pBar->SetCloseable(FALSE);
    if (c.bCommands) pBar->GetCaptionPopupBar()->GetControls()->Add(xtpControlButton, 201);
    const CSize sz = pBar->CalcDockedLayout(1000, LM_HORZ | LM_HORZDOCK);
    pBar->SetBarClientSize(sz);
    CXTPControl *pCaption = pBar->GetCaptionPopup();
    pCaption->OnSetSelected(c.nSelected);
    pCaption->SetPressed(c.nPressed);
    MemoryCanvas canvas(sz.cx, sz.cy, kCanvas);
    pCaption->Draw(&canvas.dc);
    const CRect rc = pCaption->GetRect();
    const CRect rcTitle(rc.left + 2, rc.top + 1, rc.left + 40, rc.bottom - 1);
    EXPECT_GT(CountPixels(canvas, rcTitle, IndexColor(c.nText)), 10);
    for (int nOther : {COLOR_BTNTEXT, 45, 46, 47}) {
      if (nOther == c.nText) continue;
      EXPECT_EQ(CountPixels(canvas, rcTitle, IndexColor(nOther)), 0) << nOther;
    }
    if (c.nFill >= 0) {
      EXPECT_EQ(canvas.Pixel(rc.right - 3, rc.top + 2), IndexColor(c.nFill));
    }
    pBar->InternalRelease();
  }
}

// The title is drawn in the paint manager's caption font, not the bar's
// regular font: with a wide caption font it runs as wide as that font says.
TEST(DialogBar, TheCaptionsTitleIsInTheCaptionFont) {
  CXTPDialogBar *pBar = NewDialogBar();
  UseTestColors(pBar->GetPaintManager());
  pBar->SetTitle(L"Folders");
  pBar->SetCloseable(FALSE);
  pBar->SetDockingClientSize(CSize(300, 100));
  CXTPPaintManager *pPaintManager = pBar->GetPaintManager();
  LOGFONTW lf = {};
  lf.lfHeight = -11;
  lf.lfWidth = 12;
  wcscpy(lf.lfFaceName, L"Tahoma");
  pPaintManager->m_fontSmCaption.DeleteObject();
  ASSERT_TRUE(pPaintManager->m_fontSmCaption.CreateFontIndirect(&lf));
  auto textWidth = [](CFont *pFont) {
    HDC hDC = ::GetDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hDC, pFont->GetSafeHandle());
    SIZE size = {};
    ::GetTextExtentPoint32W(hDC, L"Folders", 7, &size);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(nullptr, hDC);
    return static_cast<int>(size.cx);
  };
  const int nCaptionWidth = textWidth(&pPaintManager->m_fontSmCaption);
  ASSERT_GT(nCaptionWidth, textWidth(pPaintManager->GetRegularFont()) + 20);

  const CSize sz = pBar->CalcDockedLayout(1000, LM_HORZ | LM_HORZDOCK);
  pBar->SetBarClientSize(sz);
  CXTPControl *pCaption = pBar->GetCaptionPopup();
  MemoryCanvas canvas(sz.cx, sz.cy, kCanvas);
  pCaption->Draw(&canvas.dc);
  const CRect rc = pCaption->GetRect();
  int nRight = -1;
  for (int x = rc.left; x < rc.right; x++)
    for (int y = rc.top; y < rc.bottom; y++)
      if (canvas.Pixel(x, y) == kText) nRight = x;
  ASSERT_GT(nRight, 0);
  EXPECT_NEAR(nRight - (rc.left + 2), nCaptionWidth, 4);
  pBar->InternalRelease();
}

// A dialog bar floating over an unshown frame, hosting a child.
class DialogBarWindow : public ::testing::Test {
protected:
  void SetUp() override {
    m_hWndFrame = ::CreateWindowExW(0, L"STATIC", L"frame", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(m_hWndFrame, nullptr);
    m_pBar = NewDialogBar();
    m_pBar->EnableDocking(0x1F);
    ASSERT_TRUE(m_pBar->CreateFloatingWindow(CWnd::FromHandle(m_hWndFrame), TRUE));
    m_pBar->StorePosition(xtpBarFloating); // no site to float it
    m_hWndChild = ::CreateWindowExW(0, L"STATIC", L"child", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, m_hWndFrame,
                                    nullptr, ::GetModuleHandleW(nullptr), nullptr);
    m_pBar->SetChild(m_hWndChild);
    m_pBar->OnRecalcLayout();
  }
  void TearDown() override {
    if (m_pBar->GetSafeHwnd()) m_pBar->DestroyWindow();
    m_pBar->InternalRelease();
    ::DestroyWindow(m_hWndFrame);
  }
  CRect WindowRect() const {
    CRect rc;
    m_pBar->GetWindowRect(&rc);
    return rc;
  }
  CRect ChildRect() const {
    CRect rc;
    ::GetWindowRect(m_hWndChild, &rc);
    ::MapWindowPoints(nullptr, m_pBar->GetSafeHwnd(), reinterpret_cast<POINT *>(&rc), 2);
    return rc;
  }

  HWND m_hWndFrame = nullptr;
  HWND m_hWndChild = nullptr;
  CXTPDialogBar *m_pBar = nullptr;
};

TEST_F(DialogBarWindow, TheChildSitsUnderTheCaption) {
  EXPECT_EQ(::GetParent(m_hWndChild), m_pBar->GetSafeHwnd());
  const int nCaption = m_pBar->GetCaptionHeight();
  const CRect rcWindow = WindowRect();
  EXPECT_EQ(rcWindow.Size(), CSize(206, 206 + nCaption));
  EXPECT_EQ(ChildRect(), CRect(3, nCaption, 203, 206 + nCaption - 3));
  EXPECT_EQ(m_pBar->HitTestCaption(CPoint(20, nCaption - 1)), 1);
  EXPECT_EQ(m_pBar->HitTestCaption(CPoint(20, nCaption)), -2);
}

TEST_F(DialogBarWindow, WithoutACaptionTheChildStartsAtTheTopMargin) {
  m_pBar->SetCaptionVisible(FALSE);
  m_pBar->OnRecalcLayout();
  EXPECT_EQ(WindowRect().Size(), CSize(206, 206));
  EXPECT_EQ(ChildRect(), CRect(3, 3, 203, 203));
  // Resized, the child area is the window less the margins alone.
  EXPECT_TRUE(m_pBar->Resize(CRect(0, 0, 100, 90), HTBOTTOMRIGHT));
  EXPECT_EQ(m_pBar->GetFloatingClientSize(), CSize(94, 84));
  EXPECT_EQ(ChildRect(), CRect(3, 3, 97, 87));
}

TEST_F(DialogBarWindow, FloatingResizeTakesTheRectangleOrRefusesIt) {
  const int nCaption = m_pBar->GetCaptionHeight();
  const CRect rcBefore = WindowRect();
  const struct {
    CSize size;
    BOOL bTaken;
  } kCases[] = {{{49, 120}, FALSE}, {{120, 49}, FALSE}, {{50, 50}, TRUE}, {{300, 260}, TRUE}};
  for (const auto &c : kCases) {
    SCOPED_TRACE(testing::Message() << c.size.cx << " x " << c.size.cy);
    const CSize szClientBefore = m_pBar->GetFloatingClientSize();
    const CRect rcAsked(rcBefore.TopLeft() + CSize(5, 7), c.size);
    EXPECT_EQ(m_pBar->Resize(rcAsked, HTBOTTOMRIGHT), c.bTaken);
    if (!c.bTaken) {
      EXPECT_EQ(m_pBar->GetFloatingClientSize(), szClientBefore);
      continue;
    }
    EXPECT_EQ(m_pBar->GetFloatingClientSize(), CSize(c.size.cx - 6, c.size.cy - 6 - nCaption));
    EXPECT_EQ(WindowRect(), rcAsked);
    EXPECT_EQ(ChildRect().Width(), c.size.cx - 6);
  }
  EXPECT_EQ(m_pBar->GetDockingClientSize(), CSize(200, 200)) << "the docked size stays";
}

TEST_F(DialogBarWindow, DockedResizeChangesOneSideOfTheDockedSize) {
  m_pBar->StorePosition(xtpBarLeft);
  const int nCaption = m_pBar->GetCaptionHeight();
  EXPECT_TRUE(m_pBar->Resize(CRect(0, 0, 250, 300), HTRIGHT));
  EXPECT_EQ(m_pBar->GetDockingClientSize(), CSize(244, 200));
  EXPECT_TRUE(m_pBar->Resize(CRect(0, 0, 100, 300), HTBOTTOM));
  EXPECT_EQ(m_pBar->GetDockingClientSize(), CSize(244, 300 - 6 - nCaption));
  EXPECT_FALSE(m_pBar->Resize(CRect(0, 0, 30, 300), HTRIGHT));
  EXPECT_EQ(m_pBar->GetFloatingClientSize(), CSize(200, 200)) << "the floating size stays";
}

TEST_F(DialogBarWindow, NotResizableOffersNoEdgeAndTakesNoSize) {
  m_pBar->SetResizable(FALSE);
  const CRect rc = WindowRect();
  EXPECT_NE(::SendMessageW(m_pBar->GetSafeHwnd(), WM_NCHITTEST, 0, MAKELPARAM(rc.right - 1, rc.bottom - 1)),
            HTBOTTOMRIGHT);
  EXPECT_FALSE(m_pBar->Resize(CRect(0, 0, 300, 300), HTBOTTOMRIGHT));
  m_pBar->SetResizable(TRUE);
  EXPECT_EQ(::SendMessageW(m_pBar->GetSafeHwnd(), WM_NCHITTEST, 0, MAKELPARAM(rc.right - 1, rc.bottom - 1)),
            HTBOTTOMRIGHT);
}

TEST_F(DialogBarWindow, AChildDestroyedUnderTheBarIsLetGo) {
  ::DestroyWindow(m_hWndChild);
  EXPECT_EQ(m_pBar->GetChild(), nullptr);
  m_pBar->Resize(CRect(0, 0, 300, 300), HTBOTTOMRIGHT);
}

TEST(DialogBarCopy, ACloneIsADialogBarWithTheSameSizes) {
  CXTPDialogBar *pBar = NewDialogBar();
  pBar->SetDockingClientSize(CSize(120, 80));
  pBar->SetFloatingClientSize(CSize(90, 60));
  pBar->SetCaption(L"Tree");
  pBar->CalcDockedLayout(1000, LM_HORZ | LM_HORZDOCK); // its caption buttons are not copied
  CXTPCommandBar *pClone = pBar->Clone();
  auto *pCopy = dynamic_cast<CXTPDialogBar *>(pClone);
  ASSERT_NE(pCopy, nullptr);
  EXPECT_EQ(pCopy->GetDockingClientSize(), CSize(120, 80));
  EXPECT_EQ(pCopy->GetFloatingClientSize(), CSize(90, 60));
  EXPECT_EQ(std::wstring(pCopy->GetCaption()), L"Tree");
  EXPECT_EQ(pCopy->GetCaptionPopup(), nullptr);
  pCopy->SetPaintManager(new CXTPDefaultTheme);
  pCopy->CalcDockedLayout(1000, LM_HORZ | LM_HORZDOCK);
  EXPECT_NE(pCopy->GetCaptionPopup(), nullptr);
  EXPECT_EQ(pCopy->GetControlCount(), pBar->GetControlCount());
  pClone->InternalRelease();
  pBar->InternalRelease();
}

} // namespace
