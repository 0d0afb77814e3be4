// Popup bars and popup controls: placement on the work area, scrolling, the
// split button's two parts, ContainsBar on deep and cyclic menus, and real
// popup windows driven by the thread's keyboard hook and by mouse messages
// sent to the popup; the hover tests rest the real cursor on the popup (so
// the test runs alone) and nothing is ever activated.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <string>
#include <vector>

#include "../../Common/tests/MemoryCanvas.h"
#include "BarMouseDrag.h"
#include "CommandBarsTestSupport.h"
#include "Wnd.h"
#include "XTPCommandBars.h"
#include "XTPControlPopup.h"
#include "XTPHookManager.h"
#include "XTPMouseManager.h"
#include "XTPOfficeTheme.h"
#include "XTPPopupBar.h"
#include "XTPShadowsManager.h"

using cbtest::MessageSite;
using cbtest::TestBar;

namespace {

// --- Placement -------------------------------------------------------------------

TEST(PopupPlacement, Table) {
  const CRect work(0, 0, 640, 480); // B = 475
  struct Case {
    const char *name;
    CRect exclude;
    CPoint pt;
    CSize sz;
    int nFlags;
    CRect expected;
    int nFlagsAfter;
    BOOL bScroll;
  } cases[] = {
      {"drop-down with room below", CRect(10, 0, 60, 20), CPoint(10, 20), CSize(100, 200), xtpPopupDown,
       CRect(10, 20, 110, 220), xtpPopupDown, FALSE},
      {"drop-down near the bottom opens above", CRect(10, 400, 60, 420), CPoint(10, 420), CSize(100, 200),
       xtpPopupDown, CRect(10, 200, 110, 400), xtpPopupDown, FALSE},
      {"no room either way, more below: scrolls below", CRect(10, 100, 60, 120), CPoint(10, 120),
       CSize(100, 600), xtpPopupDown, CRect(10, 120, 110, 475), xtpPopupDown, TRUE},
      {"no room either way, more above: scrolls above", CRect(10, 300, 60, 320), CPoint(10, 320),
       CSize(100, 600), xtpPopupDown, CRect(10, 0, 110, 300), xtpPopupDown, TRUE},
      {"submenu past the right edge opens left", CRect(500, 50, 600, 70), CPoint(600, 50), CSize(150, 100), 0,
       CRect(350, 50, 500, 150), xtpPopupLeft, FALSE},
      {"leftward submenu keeps going left", CRect(300, 50, 400, 70), CPoint(400, 50), CSize(150, 100),
       xtpPopupLeft, CRect(150, 50, 300, 150), xtpPopupLeft, FALSE},
      {"leftward submenu past the left edge turns right", CRect(50, 50, 150, 70), CPoint(150, 50),
       CSize(150, 100), xtpPopupLeft, CRect(150, 50, 300, 150), 0, FALSE},
      {"submenu near the bottom moves up", CRect(100, 440, 200, 460), CPoint(200, 440), CSize(150, 100), 0,
       CRect(200, 375, 350, 475), 0, FALSE},
      {"right-aligned drop-down", CRect(300, 0, 400, 20), CPoint(300, 20), CSize(150, 100),
       xtpPopupLeft | xtpPopupDown, CRect(250, 20, 400, 120), xtpPopupLeft | xtpPopupDown, FALSE},
      // Moved up by its height, it still reaches into the 5 pixels kept free.
      {"point below the work area moves up", CRect(), CPoint(100, 478), CSize(80, 60), 0,
       CRect(100, 418, 180, 475), 0, TRUE},
      {"point in the lower half opens upwards", CRect(), CPoint(100, 450), CSize(80, 60), 0,
       CRect(100, 390, 180, 450), 0, FALSE},
      {"point near the right edge", CRect(), CPoint(620, 100), CSize(80, 60), 0, CRect(560, 100, 640, 160), 0,
       FALSE},
      {"point past the right edge", CRect(), CPoint(700, 100), CSize(80, 60), 0, CRect(620, 100, 700, 160), 0,
       FALSE},
      {"taller than the work area at a point", CRect(), CPoint(100, 10), CSize(80, 900), 0,
       CRect(100, 0, 180, 475), 0, TRUE},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    CXTPPopupBar::Placement p = CXTPPopupBar::PlacePopup(work, c.exclude, c.pt, c.sz, c.nFlags);
    EXPECT_EQ(p.rcWindow, c.expected);
    EXPECT_EQ(p.nFlags, c.nFlagsAfter);
    EXPECT_EQ(p.bNeedScroll, c.bScroll);
  }
}

TEST(PopupPlacement, StaysOnTheMonitorItIsGiven) {
  // A monitor at the left of the primary one: nothing is pulled to x 0.
  const CRect work(-1280, 0, 0, 1024);
  CXTPPopupBar::Placement p =
      CXTPPopupBar::PlacePopup(work, CRect(), CPoint(-1250, 100), CSize(100, 50), xtpPopupLeft);
  EXPECT_EQ(p.rcWindow, CRect(-1280, 100, -1180, 150));
}

// --- Scrolling -----------------------------------------------------------------------

std::vector<CXTPPopupBar::ScrollItem> Rows(int n, int nHeight = 20) {
  return std::vector<CXTPPopupBar::ScrollItem>(n, {nHeight, FALSE, TRUE});
}

TEST(PopupScroll, FromTheTopAndFromTheBottom) {
  const CRect area(2, 2, 98, 202); // 200 high: 16 for an arrow leaves room for 9 rows of 20
  auto r = CXTPPopupBar::ScrollItems(Rows(30), 0, 0, FALSE, area, 6);
  EXPECT_EQ(r.nFirst, 0);
  EXPECT_EQ(r.nEnd, 9);
  EXPECT_EQ(r.tops[0], 2);
  EXPECT_EQ(r.tops[8], 162);
  EXPECT_EQ(r.tops[9], -1);
  EXPECT_TRUE(r.rcUp.IsRectEmpty());
  EXPECT_EQ(r.rcDown, CRect(2, 186, 98, 202));

  // A first index of 1 is not worth an arrow.
  r = CXTPPopupBar::ScrollItems(Rows(30), 1, 0, FALSE, area, 6);
  EXPECT_EQ(r.nFirst, 0);

  r = CXTPPopupBar::ScrollItems(Rows(30), 5, 0, FALSE, area, 6);
  EXPECT_EQ(r.nFirst, 5);
  EXPECT_EQ(r.tops[5], 18) << "below the up arrow";
  EXPECT_EQ(r.nEnd, 13);
  EXPECT_EQ(r.rcUp, CRect(2, 2, 98, 18));

  // From the bottom: the last rows sit on the bottom border, no down arrow.
  r = CXTPPopupBar::ScrollItems(Rows(30), 0, 29, TRUE, area, 6);
  EXPECT_EQ(r.nEnd, 30) << "count - 1 becomes the count";
  EXPECT_EQ(r.tops[29], 182);
  EXPECT_EQ(r.nFirst, 21);
  EXPECT_TRUE(r.rcDown.IsRectEmpty());
  EXPECT_FALSE(r.rcUp.IsRectEmpty());

  // Group starts take the separator's height.
  auto rows = Rows(30);
  rows[2].bBeginGroup = TRUE;
  r = CXTPPopupBar::ScrollItems(rows, 0, 0, FALSE, area, 6);
  EXPECT_EQ(r.tops[2], 48);
  EXPECT_EQ(r.nEnd, 8);
}

TEST(PopupScroll, RowsHiddenOtherwiseAreSkipped) {
  auto rows = Rows(10);
  rows[1].bVisible = FALSE;
  auto r = CXTPPopupBar::ScrollItems(rows, 0, 0, FALSE, CRect(0, 0, 50, 100), 6);
  EXPECT_EQ(r.tops[1], -1);
  EXPECT_EQ(r.tops[2], 20);
}

// --- ContainsBar -----------------------------------------------------------------------

// A chain of menus, each holding the next through a popup control.
struct MenuChain {
  std::vector<CXTPPopupBar *> bars;
  std::vector<CXTPControlPopup *> openers;
  explicit MenuChain(int nDepth) {
    for (int i = 0; i < nDepth; i++) bars.push_back(CXTPPopupBar::CreatePopupBar(nullptr));
    for (int i = 0; i < nDepth; i++) {
      // Two popup controls per level: the walk both ways doubles per level.
      for (int k = 0; k < 2; k++) {
        auto *p = static_cast<CXTPControlPopup *>(bars[i]->GetControls()->Add(xtpControlPopup, 0));
        if (i + 1 < nDepth) p->SetCommandBar(bars[i + 1]);
        if (k == 0) openers.push_back(p);
      }
    }
  }
  ~MenuChain() {
    for (auto *b : bars) b->GetControls()->RemoveAll();
    for (auto *b : bars) b->InternalRelease();
  }
};

TEST(PopupControl, ContainsBarOnADeepMenuAndACycle) {
  MenuChain chain(40);
  auto t0 = std::chrono::steady_clock::now();
  // The opener of level 1 holds bar 2 ... bar 39: it holds the opener of level 30's bar.
  EXPECT_TRUE(chain.openers[1]->ContainsBar(chain.openers[30]));
  EXPECT_FALSE(chain.openers[30]->ContainsBar(chain.openers[1])) << "not upwards";
  // A cycle: the deepest bar holds the first one.
  auto *pBack = static_cast<CXTPControlPopup *>(chain.bars[39]->GetControls()->Add(xtpControlPopup, 0));
  pBack->SetCommandBar(chain.bars[0]);
  CXTPControlPopup outside;
  CXTPPopupBar *pOther = CXTPPopupBar::CreatePopupBar(nullptr);
  outside.SetCommandBar(pOther);
  pOther->InternalRelease();
  EXPECT_FALSE(chain.openers[5]->ContainsBar(&outside)) << "ends on the cycle";
  EXPECT_TRUE(chain.openers[30]->ContainsBar(chain.openers[2])) << "through the cycle";
  EXPECT_LT(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count(),
      2000);
  CXTPControlPopup empty;
  EXPECT_FALSE(empty.ContainsBar(chain.openers[0]));
  EXPECT_FALSE(chain.openers[0]->ContainsBar(&empty));
}

// --- Split buttons ----------------------------------------------------------------------

TEST(PopupControl, SplitZoneCountsFromTheRightEdge) {
  struct Case {
    XTPBarType type;
    XTPBarPosition position;
    int x;
    BOOL bCommand;
  } cases[] = {
      // A control at x 300..400: the arrow part is its last 20 (popup) or 11 pixels.
      {xtpBarTypePopup, xtpBarPopup, 305, TRUE},  {xtpBarTypePopup, xtpBarPopup, 379, TRUE},
      {xtpBarTypePopup, xtpBarPopup, 380, FALSE}, {xtpBarTypePopup, xtpBarPopup, 399, FALSE},
      {xtpBarTypeNormal, xtpBarTop, 305, TRUE},   {xtpBarTypeNormal, xtpBarTop, 388, TRUE},
      {xtpBarTypeNormal, xtpBarTop, 389, FALSE},  {xtpBarTypeNormal, xtpBarTop, 395, FALSE},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(std::to_string(c.type) + " x " + std::to_string(c.x));
    TestBar *bar = new TestBar(c.type, c.position, CSize(500, 30));
    auto *p = static_cast<CXTPControlPopup *>(bar->GetControls()->Add(xtpControlSplitButtonPopup, 77));
    p->SetRect(CRect(300, 0, 400, 22));
    EXPECT_EQ(p->IsInSplitCommandPart(CPoint(c.x, 10)), c.bCommand);
    bar->InternalRelease();
  }
}

// On a toolbar the left part is pressed like a button over the control less
// its arrow part: released over the arrow, nothing runs.
TEST(PopupControl, ToolbarSplitPressStopsAtTheArrowPart) {
  struct Case {
    int xDown, xUp;
    BOOL bRuns;
  } cases[] = {{310, 320, TRUE}, {310, 388, TRUE}, {310, 392, FALSE}, {388, 300, TRUE}};
  for (const Case &c : cases) {
    SCOPED_TRACE(std::to_string(c.xDown) + " -> " + std::to_string(c.xUp));
    MessageSite site;
    CWnd siteWnd;
    siteWnd.Attach(site.GetHwnd());
    CXTPCommandBars commandBars;
    commandBars.SetSite(&siteWnd);
    TestBar *bar = new TestBar(xtpBarTypeNormal, xtpBarTop, CSize(500, 30));
    bar->SetCommandBars(&commandBars);
    auto *p = static_cast<CXTPControlPopup *>(bar->GetControls()->Add(xtpControlSplitButtonPopup, 77));
    p->SetRect(CRect(300, 0, 400, 22));
    ::PostThreadMessageW(::GetCurrentThreadId(), WM_LBUTTONUP, 0, MAKELPARAM(c.xUp, 10));
    p->OnClick(FALSE, CPoint(c.xDown, 10));
    size_t nCommands = 0;
    for (const auto &e : site.log) nCommands += e.message == WM_COMMAND && e.wParam == 77;
    EXPECT_EQ(nCommands, c.bRuns ? 1u : 0u);
    bar->InternalRelease();
    siteWnd.Detach();
  }
}

// --- Real popups ----------------------------------------------------------------------------

enum : UINT {
  ID_OPEN = 101,
  ID_SAVE = 102,
  ID_PRINT = 103,
  ID_CLOSE = 104,
  ID_TOGGLE = 105,
  ID_RENAME = 106,
  ID_DISABLED = 107,
  ID_SPLIT = 108,
  ID_SUB_A = 201,
  ID_SUB_B = 202,
};

class Site : public CWnd {
public:
  std::vector<UINT> commands;
  std::function<void(UINT)> onCommand;
  BOOL Create() {
    return CreateEx(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, AfxRegisterWndClass(0), L"site", WS_POPUP, 0, 0, 10,
                    10, nullptr, nullptr);
  }
  void OnCmd(UINT nId) {
    commands.push_back(nId);
    if (onCommand) onCommand(nId);
  }
  void OnOpen() { OnCmd(ID_OPEN); }
  void OnSave() { OnCmd(ID_SAVE); }
  void OnPrint() { OnCmd(ID_PRINT); }
  void OnClose() { OnCmd(ID_CLOSE); }
  void OnSplit() { OnCmd(ID_SPLIT); }
  void OnSubA() { OnCmd(ID_SUB_A); }
  void OnUpdateToggle(CCmdUI *pCmdUI) { pCmdUI->SetCheck(1); }
  void OnUpdateRename(CCmdUI *pCmdUI) { pCmdUI->SetText(L"Renamed"); }
  void OnUpdateDisabled(CCmdUI *pCmdUI) { pCmdUI->Enable(FALSE); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Site, CWnd)
ON_COMMAND(ID_OPEN, OnOpen)
ON_COMMAND(ID_SAVE, OnSave)
ON_COMMAND(ID_PRINT, OnPrint)
ON_COMMAND(ID_CLOSE, OnClose)
ON_COMMAND(ID_SPLIT, OnSplit)
ON_COMMAND(ID_SUB_A, OnSubA)
ON_UPDATE_COMMAND_UI(ID_TOGGLE, OnUpdateToggle)
ON_UPDATE_COMMAND_UI(ID_RENAME, OnUpdateRename)
ON_UPDATE_COMMAND_UI(ID_DISABLED, OnUpdateDisabled)
END_MESSAGE_MAP()

using cbtest::CountedPopupBar;

using bartest::Pump;

// A key as the thread's keyboard hook sees it.
void Key(UINT vk) {
  CXTPThreadHooks *pHooks = CXTPThreadHooks::FindThreadHooks();
  ASSERT_NE(pHooks, nullptr);
  pHooks->OnKeyboardHook(vk, 0);
}

LPARAM At(const CRect &rc) {
  CPoint pt = rc.CenterPoint();
  return MAKELPARAM(pt.x, pt.y);
}

// Rests the real cursor on a client point of the popup (so that the popup
// sees no mouse leave) and tells it of the move.
void MoveTo(HWND hWnd, LPARAM lParam) {
  POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  POINT ptScreen = pt;
  ::ClientToScreen(hWnd, &ptScreen);
  ::SetCursorPos(ptScreen.x, ptScreen.y);
  ::SendMessageW(hWnd, WM_MOUSEMOVE, 0, lParam);
}

class PopupWindow : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(site.Create());
    commandBars.SetSite(&site);
    commandBars.SetPaintManager(new CXTPDefaultTheme);
    commandBars.GetCommandBarsOptions()->animationType = xtpAnimateNone;
    popup = new CountedPopupBar;
    popup->SetCommandBars(&commandBars);
    CXTPControls *c = popup->GetControls();
    c->Add(xtpControlButton, ID_OPEN)->SetCaption(L"&Open");
    c->Add(xtpControlButton, ID_SAVE)->SetCaption(L"&Save");
    c->Add(xtpControlButton, ID_PRINT)->SetCaption(L"&Print");
    CXTPControl *pClose = c->Add(xtpControlButton, ID_CLOSE);
    pClose->SetCaption(L"&Close");
    pClose->SetBeginGroup(TRUE);
  }
  void TearDown() override {
    if (popup) {
      popup->SetTrackingMode(0);
      popup->InternalRelease();
    }
    site.DestroyWindow();
    EXPECT_EQ(CountedPopupBar::s_nLive, 0);
  }
  Site site;
  CXTPCommandBars commandBars;
  CountedPopupBar *popup = nullptr;
};

TEST_F(PopupWindow, OpensAsATopMostToolWindowThatTakesNoActivation) {
  HWND hForeground = ::GetForegroundWindow();
  ASSERT_TRUE(popup->Popup(100, 120, nullptr));
  HWND h = popup->GetSafeHwnd();
  ASSERT_NE(h, nullptr);
  EXPECT_TRUE(::IsWindowVisible(h));
  LONG ex = ::GetWindowLongW(h, GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(ex & WS_EX_TOPMOST);
  EXPECT_EQ(::GetWindow(h, GW_OWNER), site.GetSafeHwnd());
  EXPECT_EQ(::SendMessageW(h, WM_MOUSEACTIVATE, 0, 0), MA_NOACTIVATE);
  EXPECT_EQ(::GetForegroundWindow(), hForeground);
  CRect rc;
  ::GetWindowRect(h, &rc);
  EXPECT_EQ(rc.TopLeft(), CPoint(100, 120));
  EXPECT_TRUE(popup->IsTrackingMode());
  popup->SetTrackingMode(0);
  EXPECT_EQ(popup->GetSafeHwnd(), nullptr) << "closing destroys only the window";
  EXPECT_EQ(popup->GetControls()->GetCount(), 4);
}

TEST_F(PopupWindow, KeysRunTheCommand) {
  struct Case {
    const char *name;
    std::vector<UINT> keys;
    std::vector<UINT> commands;
    BOOL bStillOpen;
  } cases[] = {
      {"down down enter", {VK_DOWN, VK_DOWN, VK_RETURN}, {ID_SAVE}, FALSE},
      {"up wraps to the last", {VK_UP, VK_RETURN}, {ID_CLOSE}, FALSE},
      {"mnemonic", {'P'}, {ID_PRINT}, FALSE},
      {"escape", {VK_ESCAPE}, {}, FALSE},
      {"moving only", {VK_DOWN, VK_DOWN}, {}, TRUE},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    site.commands.clear();
    ASSERT_TRUE(popup->Popup(100, 100, nullptr));
    for (UINT vk : c.keys) Key(vk);
    Pump(20);
    EXPECT_EQ(site.commands, c.commands);
    EXPECT_EQ(popup->GetSafeHwnd() != nullptr, c.bStillOpen != FALSE);
    popup->SetTrackingMode(0);
  }
}

TEST_F(PopupWindow, ReturnsTheCommandInsteadOfRunningIt) {
  UINT nCmd = 0;
  popup->m_pReturnCmd = &nCmd;
  ASSERT_TRUE(popup->Popup(100, 100, nullptr));
  Key(VK_DOWN);
  Key(VK_DOWN);
  Key(VK_DOWN);
  Key(VK_RETURN);
  popup->m_pReturnCmd = nullptr;
  EXPECT_EQ(nCmd, static_cast<UINT>(ID_PRINT));
  EXPECT_TRUE(site.commands.empty());
  EXPECT_EQ(popup->GetSafeHwnd(), nullptr);
}

TEST_F(PopupWindow, MouseMovesSelectAndAClickRunsTheCommand) {
  ASSERT_TRUE(popup->Popup(100, 100, nullptr));
  HWND h = popup->GetSafeHwnd();
  CRect rcSave = popup->GetControls()->GetAt(1)->GetRect();
  ::SendMessageW(h, WM_MOUSEMOVE, 0, At(rcSave));
  EXPECT_EQ(popup->GetSelectedIndex(), 1);
  CRect rcClose = popup->GetControls()->GetAt(3)->GetRect();
  ::SendMessageW(h, WM_MOUSEMOVE, 0, At(rcClose));
  EXPECT_EQ(popup->GetSelectedIndex(), 3);
  ::SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(rcClose));
  EXPECT_TRUE(site.commands.empty()) << "a menu row runs on the release";
  ::SendMessageW(h, WM_LBUTTONUP, 0, At(rcClose));
  EXPECT_EQ(site.commands, std::vector<UINT>{ID_CLOSE});
  EXPECT_FALSE(::IsWindow(h));
}

// The command handler closes the popup and lets it go: the window and the
// bar die inside their own button-up handler.
TEST_F(PopupWindow, ClosedAndReleasedInsideItsOwnCommand) {
  ASSERT_TRUE(popup->Popup(100, 100, nullptr));
  HWND h = popup->GetSafeHwnd();
  site.onCommand = [&](UINT) {
    CountedPopupBar *p = popup;
    popup = nullptr;
    p->SetTrackingMode(0);
    p->InternalRelease();
  };
  CRect rcOpen = popup->GetControls()->GetAt(0)->GetRect();
  ::SendMessageW(h, WM_MOUSEMOVE, 0, At(rcOpen));
  ::SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(rcOpen));
  ::SendMessageW(h, WM_LBUTTONUP, 0, At(rcOpen));
  Pump(20);
  EXPECT_EQ(site.commands, std::vector<UINT>{ID_OPEN});
  EXPECT_FALSE(::IsWindow(h));
  EXPECT_EQ(CountedPopupBar::s_nLive, 0);
}

TEST_F(PopupWindow, UpdateHandlersEnableCheckAndRename) {
  CXTPControls *c = popup->GetControls();
  CXTPControl *pToggle = c->Add(xtpControlButton, ID_TOGGLE);
  pToggle->SetCaption(L"Toggle");
  CXTPControl *pRename = c->Add(xtpControlButton, ID_RENAME);
  pRename->SetCaption(L"Old name");
  CXTPControl *pDisabled = c->Add(xtpControlButton, ID_DISABLED);
  pDisabled->SetCaption(L"Disabled");
  ASSERT_TRUE(popup->Popup(100, 100, nullptr));
  EXPECT_TRUE(pToggle->GetChecked());
  EXPECT_EQ(std::wstring(pRename->GetCaption()), L"Renamed");
  EXPECT_FALSE(pDisabled->GetEnabled());
  EXPECT_TRUE(c->GetAt(0)->GetEnabled()) << "a command with a handler";
  // The disabled row is passed over by the keys and does nothing when clicked.
  ::SendMessageW(popup->GetSafeHwnd(), WM_LBUTTONUP, 0, At(pDisabled->GetRect()));
  EXPECT_TRUE(site.commands.empty());
}

TEST_F(PopupWindow, HiddenCommandsBehindTheExpandItem) {
  commandBars.GetCommandBarsOptions()->bAlwaysShowFullMenus = FALSE;
  commandBars.HideCommand(ID_SAVE);
  commandBars.HideCommand(ID_PRINT);
  XTPGetMouseManager()->SetForceExpanded(FALSE);
  ASSERT_TRUE(popup->Popup(100, 100, nullptr));
  CXTPControls *c = popup->GetControls();
  EXPECT_TRUE(popup->HasHiddenCommands());
  EXPECT_FALSE(c->GetAt(1)->IsVisible());
  EXPECT_FALSE(c->GetAt(2)->IsVisible());
  CXTPControl *pExpand = c->FindControl(XTP_ID_POPUPBAR_EXPAND);
  ASSERT_NE(pExpand, nullptr);
  EXPECT_TRUE(pExpand->IsVisible());
  EXPECT_GT(pExpand->GetRect().top, c->GetAt(3)->GetRect().top) << "at the bottom";
  CRect rcBefore;
  ::GetWindowRect(popup->GetSafeHwnd(), &rcBefore);

  // Clicking the expand item shows the whole menu.
  ::SendMessageW(popup->GetSafeHwnd(), WM_LBUTTONUP, 0, At(pExpand->GetRect()));
  EXPECT_TRUE(popup->IsExpanded());
  EXPECT_TRUE(c->GetAt(1)->IsVisible());
  EXPECT_TRUE(c->GetAt(2)->IsVisible());
  EXPECT_FALSE(pExpand->IsVisible());
  CRect rcAfter;
  ::GetWindowRect(popup->GetSafeHwnd(), &rcAfter);
  EXPECT_GT(rcAfter.Height(), rcBefore.Height());
  EXPECT_TRUE(XTPGetMouseManager()->IsForceExpanded()) << "the next menus open whole";
  popup->SetTrackingMode(0);
  EXPECT_FALSE(XTPGetMouseManager()->IsForceExpanded()) << "until the tracking ends";

  // Down past the last row expands too.
  ASSERT_TRUE(popup->Popup(100, 100, nullptr));
  EXPECT_FALSE(popup->IsExpanded());
  Key(VK_DOWN);
  Key(VK_DOWN);
  EXPECT_EQ(popup->GetSelectedIndex(), 3);
  Key(VK_DOWN);
  EXPECT_TRUE(popup->IsExpanded());
  popup->SetTrackingMode(0);
  XTPGetMouseManager()->SetForceExpanded(FALSE);

  // Everything rarely used: nothing is hidden. Full menus: no expand item.
  commandBars.HideCommand(ID_OPEN);
  commandBars.HideCommand(ID_CLOSE);
  ASSERT_TRUE(popup->Popup(100, 100, nullptr));
  EXPECT_FALSE(popup->HasHiddenCommands());
  EXPECT_TRUE(c->GetAt(0)->IsVisible());
  popup->SetTrackingMode(0);
  commandBars.GetCommandBarsOptions()->bAlwaysShowFullMenus = TRUE;
  ASSERT_TRUE(popup->Popup(100, 100, nullptr));
  EXPECT_FALSE(popup->HasHiddenCommands());
  pExpand = c->FindControl(XTP_ID_POPUPBAR_EXPAND);
  EXPECT_TRUE(pExpand == nullptr || !pExpand->IsVisible());
}

// The rows a short menu hides are shaded once it is expanded: the whole row
// in the default theme, the icon column in the Office theme.
TEST_F(PopupWindow, ExpandedMenuShadesItsRarelyUsedRows) {
  struct Case {
    const char *name;
    CXTPPaintManager *(*make)();
    int nColor;
    int x; // from the row's left edge
  } cases[] = {
      {"default", [] { return static_cast<CXTPPaintManager *>(new CXTPDefaultTheme); }, COLOR_3DLIGHT, 2},
      {"office", [] { return static_cast<CXTPPaintManager *>(new CXTPOfficeTheme); },
       XPCOLOR_MENUBAR_EXPANDED, 2},
  };
  commandBars.GetCommandBarsOptions()->bAlwaysShowFullMenus = FALSE;
  commandBars.HideCommand(ID_SAVE);
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    CXTPPaintManager *pTheme = c.make();
    commandBars.SetPaintManager(pTheme);
    XTPGetMouseManager()->SetForceExpanded(FALSE);
    ASSERT_TRUE(popup->Popup(100, 100, nullptr));
    CXTPControls *pControls = popup->GetControls();
    CXTPControl *pExpand = pControls->FindControl(XTP_ID_POPUPBAR_EXPAND);
    ASSERT_NE(pExpand, nullptr);
    ::SendMessageW(popup->GetSafeHwnd(), WM_LBUTTONUP, 0, At(pExpand->GetRect()));
    ASSERT_TRUE(popup->IsExpanded());
    CXTPControl *pOpen = pControls->GetAt(0), *pSave = pControls->GetAt(1);
    EXPECT_FALSE(pOpen->GetExpandedOnly());
    EXPECT_TRUE(pSave->GetExpandedOnly());
    CRect rcClient;
    popup->GetClientRect(&rcClient);
    MemoryCanvas canvas(rcClient.Width(), rcClient.Height(), RGB(1, 2, 3));
    ::SendMessageW(popup->GetSafeHwnd(), WM_PRINT, reinterpret_cast<WPARAM>(canvas.dc.GetSafeHdc()),
                   PRF_CLIENT);
    const COLORREF shade = pTheme->GetPaintColor(c.nColor);
    const int y0 = pOpen->GetRect().top + 1, y1 = pSave->GetRect().top + 1;
    EXPECT_EQ(canvas.Pixel(pSave->GetRect().left + c.x, y1), shade) << "the rarely used row";
    EXPECT_NE(canvas.Pixel(pOpen->GetRect().left + c.x, y0), shade) << "a row the short menu shows";
    popup->SetTrackingMode(0);
  }
  XTPGetMouseManager()->SetForceExpanded(FALSE);
}

TEST_F(PopupWindow, ScrollsOnASmallScreen) {
  CXTPControls *c = popup->GetControls();
  for (int i = 0; i < 60; i++) c->Add(xtpControlButton, 1000 + i)->SetCaption(L"Row");
  popup->m_rcWork = CRect(0, 0, 640, 480);
  ASSERT_TRUE(popup->Popup(100, 30, nullptr));
  CRect rc;
  ::GetWindowRect(popup->GetSafeHwnd(), &rc);
  // Taller than the screen below the point: from the top of the work area to
  // 5 pixels above its bottom.
  EXPECT_EQ(rc.top, 0);
  EXPECT_EQ(rc.bottom, 475);
  EXPECT_TRUE(popup->IsScrolling());
  EXPECT_EQ(popup->GetFirstVisible(), 0);
  const int nEnd = popup->GetEndVisible();
  EXPECT_LT(nEnd, 64);
  EXPECT_FALSE(popup->GetScrollDownRect().IsRectEmpty());
  EXPECT_TRUE(popup->GetScrollUpRect().IsRectEmpty());
  EXPECT_TRUE(c->GetAt(nEnd)->GetHideFlags() & xtpHideScroll);

  // Resting on the down arrow scrolls a row per tick.
  ::SendMessageW(popup->GetSafeHwnd(), WM_TIMER, 5001, 0);
  EXPECT_EQ(popup->GetEndVisible(), nEnd + 1) << "a tick scrolls one row";
  MoveTo(popup->GetSafeHwnd(), At(popup->GetScrollDownRect()));
  Pump(300);
  EXPECT_GT(popup->GetEndVisible(), nEnd + 1);
  EXPECT_FALSE(popup->GetScrollUpRect().IsRectEmpty());
  ::SendMessageW(popup->GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(50, 200));

  // Up from the first row wraps to the last, which scrolls into view.
  Key(VK_HOME);
  Key(VK_UP);
  EXPECT_EQ(popup->GetSelectedIndex(), 63);
  EXPECT_EQ(popup->GetEndVisible(), 64);
  EXPECT_FALSE(c->GetAt(63)->GetHideFlags() & xtpHideScroll);
  EXPECT_TRUE(popup->GetScrollDownRect().IsRectEmpty());
  Key(VK_DOWN);
  EXPECT_EQ(popup->GetSelectedIndex(), 0);
  EXPECT_EQ(popup->GetFirstVisible(), 0);
  EXPECT_FALSE(c->GetAt(0)->GetHideFlags() & xtpHideScroll);
}

TEST_F(PopupWindow, RowWidthCappedByAThirdOfTheWorkAreasRightEdge) {
  popup->GetControls()->GetAt(0)->SetCaption(L"A very long caption that is much wider than a third of a "
                                             L"narrow monitor's work area, whatever the font");
  // A narrow monitor at the left: a third of 300. The same monitor right of
  // a wide one: a third of its right edge, so the caption is not cut at 100.
  const struct {
    CRect rcWork;
    int nCap;
  } cases[] = {{CRect(0, 0, 300, 480), 100}, {CRect(1280, 0, 1580, 480), 526}};
  for (const auto &c : cases) {
    popup->m_rcWork = c.rcWork;
    CSize sz = popup->CalcDynamicLayout(0, 0);
    const int nWidth = popup->GetControls()->GetAt(0)->GetRect().Width();
    EXPECT_LE(nWidth, c.nCap);
    EXPECT_LE(sz.cx, c.nCap + 10);
    if (c.nCap > 100) {
      EXPECT_GT(nWidth, 100) << "cut by the monitor's right edge, not its width";
    }
  }
  // Empty menus are 22 by 22 inside the borders.
  popup->GetControls()->RemoveAll();
  CRect rcBorders = popup->GetPaintManager()->GetCommandBarBorders(popup);
  CSize sz = popup->CalcDynamicLayout(0, 0);
  EXPECT_EQ(sz, CSize(22 + rcBorders.left + rcBorders.right, 22 + rcBorders.top + rcBorders.bottom));
}

// --- A popup laid out as a toolbar ----------------------------------------------------

// The number of buttons in each row, top to bottom.
std::vector<int> RowCounts(CXTPCommandBar *pBar) {
  std::vector<int> rows;
  int nTop = INT_MIN;
  for (int i = 0; i < pBar->GetControlCount(); i++) {
    CXTPControl *pControl = pBar->GetControl(i);
    if (!pControl->IsVisible()) continue;
    if (pControl->GetRect().top != nTop) {
      rows.push_back(0);
      nTop = pControl->GetRect().top;
    }
    rows.back()++;
  }
  return rows;
}

TEST(PopupToolBar, WidthsToRows) {
  CXTPCommandBars commandBars;
  commandBars.SetPaintManager(new CXTPDefaultTheme);
  const struct {
    const char *name;
    int nButtons;
    int nMRUWidth;
    std::vector<int> groups; // indexes that begin a group
    std::vector<int> rows;
  } cases[] = {
      {"no width: six buttons balance to a square", 6, 0, {}, {3, 3}},
      {"no width: four make two by two", 4, 0, {}, {2, 2}},
      {"no width: nine make three by three", 9, 0, {}, {3, 3, 3}},
      {"no width: three stay a column", 3, 0, {}, {1, 1, 1}},
      {"room for three in a row", 6, 75, {}, {3, 3}},
      {"room for all", 6, 1000, {}, {6}},
      {"each group its own row", 6, 1000, {2, 5}, {2, 3, 1}},
      {"a group wider than the width wraps inside", 8, 70, {4}, {3, 1, 3, 1}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    CXTPPopupToolBar *pBar = CXTPPopupToolBar::CreatePopupToolBar(&commandBars);
    EXPECT_EQ(xtpBarTypeNormal, pBar->GetType());
    pBar->SetMRUWidth(c.nMRUWidth);
    for (int i = 0; i < c.nButtons; i++) pBar->GetControls()->Add(xtpControlButton, 100 + i);
    for (int i : c.groups) pBar->GetControl(i)->SetBeginGroup(TRUE);
    const CSize sz = pBar->CalcDynamicLayout(0, 0);
    EXPECT_EQ(c.rows, RowCounts(pBar));
    // Inside the bar's own borders (2, 4, 2, 4).
    CRect rcAll(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    for (int i = 0; i < pBar->GetControlCount(); i++) {
      const CRect rc = pBar->GetControl(i)->GetRect();
      rcAll = CRect(std::min(rcAll.left, rc.left), std::min(rcAll.top, rc.top),
                    std::max(rcAll.right, rc.right), std::max(rcAll.bottom, rc.bottom));
    }
    EXPECT_EQ(CPoint(2, 4), rcAll.TopLeft());
    EXPECT_EQ(CSize(rcAll.right + 2, rcAll.bottom + 4), sz);
    pBar->InternalRelease();
  }
}

TEST(PopupToolBar, BordersAndTearOffBandAndItsClone) {
  CXTPCommandBars commandBars;
  commandBars.SetPaintManager(new CXTPDefaultTheme);
  CXTPPopupToolBar *pBar = CXTPPopupToolBar::CreatePopupToolBar(&commandBars);
  for (int i = 0; i < 2; i++) pBar->GetControls()->Add(xtpControlButton, 100 + i);
  pBar->SetMRUWidth(1000);
  pBar->SetBorders(CRect(5, 6, 7, 8));
  pBar->SetTearOffPopup(L"Colours", 0xE900, 200);
  pBar->CalcDynamicLayout(0, 0);
  EXPECT_EQ(CPoint(5, 6 + 8), pBar->GetControl(0)->GetRect().TopLeft()) << "below the 8-pixel band";
  EXPECT_EQ(CRect(5, 6, pBar->GetControl(1)->GetRect().right, 14), pBar->GetTearOffGripperRect());
  CXTPCommandBar *pClone = pBar->Clone(TRUE);
  ASSERT_NE(nullptr, pClone);
  EXPECT_TRUE(pClone->IsKindOf(RUNTIME_CLASS(CXTPPopupToolBar)));
  EXPECT_EQ(xtpBarTypeNormal, pClone->GetType());
  EXPECT_EQ(CRect(5, 6, 7, 8), static_cast<CXTPPopupBar *>(pClone)->GetBorders());
  EXPECT_EQ(2, pClone->GetControlCount());
  pClone->InternalRelease();
  pBar->InternalRelease();
}

TEST_F(PopupWindow, ShadowFollowsThePopup) {
  XTPShadowsManager()->SetDropShadowOverride(1);
  ASSERT_TRUE(popup->Popup(100, 100, nullptr));
  HWND h = popup->GetSafeHwnd();
  EXPECT_EQ(XTPShadowsManager()->GetShadowCount(h), 2);
  CRect rc;
  ::GetWindowRect(h, &rc);
  for (CXTPShadowWnd *p : XTPShadowsManager()->GetShadows()) {
    if (p->GetOwnerHwnd() != h) continue;
    CRect rcShadow = p->GetWindowRectangle();
    if (p->IsHorizontal())
      EXPECT_EQ(rcShadow, CRect(rc.left + 4, rc.bottom, rc.right + 4, rc.bottom + 4));
    else
      EXPECT_EQ(rcShadow, CRect(rc.right, rc.top + 4, rc.right + 4, rc.bottom));
  }
  popup->SetTrackingMode(0);
  EXPECT_EQ(XTPShadowsManager()->GetShadowCount(h), 0);
  popup->SetShowShadow(FALSE);
  ASSERT_TRUE(popup->Popup(100, 100, nullptr));
  EXPECT_EQ(XTPShadowsManager()->GetShadowCount(popup->GetSafeHwnd()), 0);
  XTPShadowsManager()->SetDropShadowOverride(-1);
}

// A submenu opens when the mouse rests on its row for the hover delay and
// closes when it rests on another row.
TEST_F(PopupWindow, SubmenuOpensAndClosesAfterTheHoverDelay) {
  CountedPopupBar *sub = new CountedPopupBar;
  sub->SetCommandBars(&commandBars);
  sub->GetControls()->Add(xtpControlButton, ID_SUB_A)->SetCaption(L"Sub &A");
  sub->GetControls()->Add(xtpControlButton, ID_SUB_B)->SetCaption(L"Sub &B");
  auto *pOpener = static_cast<CXTPControlPopup *>(popup->GetControls()->Add(xtpControlPopup, 0));
  pOpener->SetCaption(L"&More");
  pOpener->SetCommandBar(sub);
  sub->InternalRelease();
  ASSERT_TRUE(popup->Popup(100, 100, nullptr));
  HWND h = popup->GetSafeHwnd();

  UINT nDelay = 400;
  ::SystemParametersInfoW(SPI_GETMENUSHOWDELAY, 0, &nDelay, 0);
  MoveTo(h, At(pOpener->GetRect()));
  EXPECT_EQ(sub->GetSafeHwnd(), nullptr) << "not before the delay";
  Pump(nDelay + 250);
  EXPECT_EQ(popup->GetSelectedIndex(), pOpener->GetIndex());
  EXPECT_EQ(popup->GetPopupedIndex(), pOpener->GetIndex());
  ASSERT_NE(sub->GetSafeHwnd(), nullptr);
  EXPECT_TRUE(pOpener->GetPopup());
  CRect rcMenu, rcSub;
  ::GetWindowRect(h, &rcMenu);
  ::GetWindowRect(sub->GetSafeHwnd(), &rcSub);
  EXPECT_GE(rcSub.left, rcMenu.right - 10) << "beside its row";

  // A click in the submenu runs its command and closes both.
  CRect rcA = sub->GetControls()->GetAt(0)->GetRect();
  MoveTo(sub->GetSafeHwnd(), At(rcA));
  MoveTo(h, At(popup->GetControls()->GetAt(0)->GetRect()));
  Pump(nDelay + 250);
  EXPECT_EQ(sub->GetSafeHwnd(), nullptr) << "resting on another row closes it";
  EXPECT_FALSE(pOpener->GetPopup());

  // Chosen by the keys, the right arrow opens it with its first row selected.
  Key(VK_END);
  EXPECT_EQ(popup->GetSelectedIndex(), pOpener->GetIndex());
  Key(VK_RIGHT);
  ASSERT_NE(sub->GetSafeHwnd(), nullptr);
  EXPECT_EQ(sub->GetSelectedIndex(), 0);
  // The keys go to the submenu while it is open.
  Key(VK_DOWN);
  EXPECT_EQ(sub->GetSelectedIndex(), 1);
  EXPECT_EQ(popup->GetSelectedIndex(), pOpener->GetIndex());
  Key(VK_UP);
  EXPECT_EQ(sub->GetSelectedIndex(), 0);
  // Esc closes only the submenu; Right opens it again.
  Key(VK_ESCAPE);
  EXPECT_EQ(sub->GetSafeHwnd(), nullptr);
  ASSERT_NE(popup->GetSafeHwnd(), nullptr);
  EXPECT_EQ(popup->GetSelectedIndex(), pOpener->GetIndex());
  Key(VK_RIGHT);
  ASSERT_NE(sub->GetSafeHwnd(), nullptr);
  ::SendMessageW(sub->GetSafeHwnd(), WM_LBUTTONUP, 0, At(rcA));
  EXPECT_EQ(site.commands, std::vector<UINT>{ID_SUB_A});
  EXPECT_EQ(sub->GetSafeHwnd(), nullptr);
  EXPECT_EQ(popup->GetSafeHwnd(), nullptr);
}

// A double click on a submenu row runs the submenu's default command, or
// shows its hidden commands when it has none.
TEST_F(PopupWindow, DoubleClickRunsTheDefaultItemOrExpands) {
  CountedPopupBar *sub = new CountedPopupBar;
  sub->SetCommandBars(&commandBars);
  sub->GetControls()->Add(xtpControlButton, ID_SUB_A)->SetCaption(L"Sub &A");
  CXTPControl *pB = sub->GetControls()->Add(xtpControlButton, ID_SUB_B);
  pB->SetCaption(L"Sub &B");
  auto *pOpener = static_cast<CXTPControlPopup *>(popup->GetControls()->Add(xtpControlPopup, 0));
  pOpener->SetCaption(L"&More");
  pOpener->SetCommandBar(sub);
  sub->InternalRelease();

  // No default item, nothing hidden: the double click only opens it.
  ASSERT_TRUE(popup->Popup(100, 100, nullptr));
  EXPECT_FALSE(pOpener->OnLButtonDblClk(pOpener->GetRect().CenterPoint()));
  EXPECT_NE(sub->GetSafeHwnd(), nullptr);
  popup->SetTrackingMode(0);

  // Hidden commands: it opens expanded.
  commandBars.GetCommandBarsOptions()->bAlwaysShowFullMenus = FALSE;
  commandBars.HideCommand(ID_SUB_B);
  ASSERT_TRUE(popup->Popup(100, 100, nullptr));
  EXPECT_TRUE(pOpener->OnLButtonDblClk(pOpener->GetRect().CenterPoint()));
  EXPECT_TRUE(sub->IsExpanded());
  EXPECT_TRUE(pB->IsVisible());
  popup->SetTrackingMode(0);

  // A default item runs.
  sub->GetControls()->GetAt(0)->SetDefaultItem(TRUE);
  ASSERT_TRUE(popup->Popup(100, 100, nullptr));
  EXPECT_TRUE(pOpener->OnLButtonDblClk(pOpener->GetRect().CenterPoint()));
  EXPECT_EQ(site.commands, std::vector<UINT>{ID_SUB_A});
}

// Customising: dragging a submenu over its own descendant closes the popups
// instead of opening the descendant.
TEST_F(PopupWindow, DraggingAMenuOverItsOwnSubmenuOpensNothing) {
  CountedPopupBar *sub = new CountedPopupBar;
  sub->SetCommandBars(&commandBars);
  CountedPopupBar *subsub = new CountedPopupBar;
  subsub->SetCommandBars(&commandBars);
  subsub->GetControls()->Add(xtpControlButton, ID_SUB_B)->SetCaption(L"Deep");
  auto *pInner = static_cast<CXTPControlPopup *>(sub->GetControls()->Add(xtpControlPopup, 0));
  pInner->SetCaption(L"&Inner");
  pInner->SetCommandBar(subsub);
  subsub->InternalRelease();
  auto *pOuter = static_cast<CXTPControlPopup *>(popup->GetControls()->Add(xtpControlPopup, 0));
  pOuter->SetCaption(L"&Outer");
  pOuter->SetCommandBar(sub);
  sub->InternalRelease();
  auto *pOther = static_cast<CXTPControlPopup *>(popup->GetControls()->Add(xtpControlPopup, 0));
  CountedPopupBar *other = new CountedPopupBar;
  other->SetCommandBars(&commandBars);
  other->GetControls()->Add(xtpControlButton, ID_OPEN)->SetCaption(L"x");
  pOther->SetCommandBar(other);
  other->InternalRelease();

  ASSERT_TRUE(popup->Popup(100, 100, nullptr));
  popup->SetPopuped(pOuter->GetIndex());
  ASSERT_NE(sub->GetSafeHwnd(), nullptr);
  DWORD dwEffect = DROPEFFECT_MOVE;
  pInner->OnCustomizeDragOver(pOuter, CPoint(0, 0), dwEffect);
  EXPECT_EQ(subsub->GetSafeHwnd(), nullptr) << "its own descendant stays closed";
  EXPECT_EQ(sub->GetPopupedIndex(), -1);
  pInner->OnCustomizeDragOver(pOther, CPoint(0, 0), dwEffect);
  EXPECT_NE(subsub->GetSafeHwnd(), nullptr) << "another menu may drop into it";
}

TEST_F(PopupWindow, SplitButtonRunsOnItsLeftAndOpensOnItsArrow) {
  CountedPopupBar *sub = new CountedPopupBar;
  sub->SetCommandBars(&commandBars);
  sub->GetControls()->Add(xtpControlButton, ID_SUB_A)->SetCaption(L"Sub &A");
  auto *pSplit =
      static_cast<CXTPControlPopup *>(popup->GetControls()->Add(xtpControlSplitButtonPopup, ID_SPLIT));
  pSplit->SetCaption(L"Spli&t");
  pSplit->SetCommandBar(sub);
  sub->InternalRelease();
  ASSERT_TRUE(popup->Popup(100, 100, nullptr));
  HWND h = popup->GetSafeHwnd();
  CRect rc = pSplit->GetRect();
  const LPARAM arrow = MAKELPARAM(rc.right - 5, rc.CenterPoint().y);
  ::SendMessageW(h, WM_MOUSEMOVE, 0, arrow);
  ::SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, arrow);
  EXPECT_NE(sub->GetSafeHwnd(), nullptr) << "the arrow part opens the popup";
  ::SendMessageW(h, WM_LBUTTONUP, 0, arrow);
  EXPECT_TRUE(site.commands.empty());

  const LPARAM left = MAKELPARAM(rc.left + 10, rc.CenterPoint().y);
  ::SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, left);
  ::SendMessageW(h, WM_LBUTTONUP, 0, left);
  EXPECT_EQ(site.commands, std::vector<UINT>{ID_SPLIT});
  popup->SetTrackingMode(0);

  // Enter on the split row runs its command instead of opening it.
  site.commands.clear();
  ASSERT_TRUE(popup->Popup(100, 100, nullptr));
  Key(VK_END);
  Key(VK_RETURN);
  EXPECT_EQ(site.commands, std::vector<UINT>{ID_SPLIT});
}

} // namespace
