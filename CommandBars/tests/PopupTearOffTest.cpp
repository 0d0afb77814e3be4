// Tearing a menu off into a floating toolbar, the band's hot timer, popups
// placed by TrackPopupMenu's alignment flags, and popups tracked from inside
// another one.
//
// The drag is mostly driven by messages posted to the popup before the press
// that starts it, so the drag's own loop takes them in order; one case uses
// the real mouse. The hot-band and real-mouse cases move the real cursor (the
// test runs alone); nothing is ever activated.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <thread>
#include <vector>

#include "BarMouseDrag.h"
#include "CommandBarsTestSupport.h"
#include "Wnd.h"
#include "XTPCommandBars.h"
#include "XTPControlPopup.h"
#include "XTPDrawHelpers.h"
#include "XTPHookManager.h"
#include "XTPMouseManager.h"
#include "XTPPopupBar.h"
#include "XTPToolBar.h"

namespace {

enum {
  ID_BOLD = 301,
  ID_ITALIC = 302,
  ID_UNDERLINE = 303,
  ID_CUT = 311,
  ID_COPY = 312,
  ID_PASTE = 313,
  kTearOffId = 0x4E21,
};

using bartest::Pump;

// A window that runs a function for each WM_APP posted to it.
class CallbackWindow {
public:
  CallbackWindow() {
    static const wchar_t *kClass = L"PopupTearOffTestCallback";
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &CallbackWindow::Proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    ::RegisterClassW(&wc);
    m_hWnd = ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClass, L"", WS_POPUP, 0, 0, 1, 1,
                               nullptr, nullptr, wc.hInstance, this);
  }
  ~CallbackWindow() { ::DestroyWindow(m_hWnd); }
  HWND GetHwnd() const { return m_hWnd; }
  void Post() { ::PostMessageW(m_hWnd, WM_APP, 0, 0); }
  std::function<void()> onApp;

private:
  static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto *cs = reinterpret_cast<CREATESTRUCTW *>(lParam);
      ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto *self = reinterpret_cast<CallbackWindow *>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (self && message == WM_APP && self->onApp) {
      self->onApp();
      return 0;
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
  }
  HWND m_hWnd = nullptr;
};

// The owner: it handles every row's command, so the rows stay enabled.
class Site : public CWnd {
public:
  BOOL Create() {
    return CreateEx(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, AfxRegisterWndClass(0), L"site", WS_POPUP, 0, 0, 10,
                    10, nullptr, nullptr);
  }
  void OnRow(UINT nId) { commands.push_back(nId); }
  std::vector<UINT> commands;
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Site, CWnd)
ON_COMMAND_RANGE(ID_BOLD, ID_PASTE, OnRow)
END_MESSAGE_MAP()

using cbtest::CountedPopupBar;

// The ids of a bar's own rows, without the buttons a toolbar adds itself.
std::vector<int> RowIds(CXTPCommandBar *pBar) {
  std::vector<int> ids;
  for (int i = 0; i < pBar->GetControlCount(); i++) {
    const int nId = pBar->GetControl(i)->GetID();
    if (nId != XTP_ID_TOOLBAR_EXPAND && nId != XTP_ID_TOOLBAR_HIDE) ids.push_back(nId);
  }
  return ids;
}

// A site with command bars that makes popups of buttons; every popup is
// gone once the site is.
class PopupSite : public ::testing::Test {
protected:
  void SetUpSite() {
    ASSERT_TRUE(site.Create());
    commandBars.SetSite(&site);
    commandBars.SetPaintManager(new CXTPDefaultTheme);
    commandBars.GetCommandBarsOptions()->animationType = xtpAnimateNone;
  }
  void TearDownSite() {
    Pump(0);
    site.DestroyWindow();
    EXPECT_EQ(CountedPopupBar::s_nLive, 0);
  }
  CountedPopupBar *NewPopup(std::vector<int> ids) {
    auto *p = new CountedPopupBar;
    p->SetCommandBars(&commandBars);
    for (int nId : ids) p->GetControls()->Add(xtpControlButton, nId)->SetCaption(L"Row");
    return p;
  }

  Site site;
  CXTPCommandBars commandBars;
};

class TearOff : public PopupSite {
protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(SetUpSite());
    popup = NewPopup({ID_BOLD, ID_ITALIC, ID_UNDERLINE});
    popup->SetTearOffPopup(L"Format", kTearOffId, 200);
  }
  void TearDown() override {
    if (::GetCapture()) ::ReleaseCapture();
    popup->SetTrackingMode(0);
    popup->InternalRelease();
    commandBars.ReleaseBars();
    TearDownSite();
  }
  // The band's centre, in the popup's client coordinates.
  CPoint Band() const { return popup->GetTearOffGripperRect().CenterPoint(); }
  // A client point of the popup as a screen point.
  CPoint ToScreen(CPoint pt) const {
    ::ClientToScreen(popup->GetSafeHwnd(), &pt);
    return pt;
  }
  void PostMove(CPoint ptClient) {
    ::PostMessageW(popup->GetSafeHwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptClient.x, ptClient.y));
  }
  void PostUp(CPoint ptClient) {
    ::PostMessageW(popup->GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(ptClient.x, ptClient.y));
  }
  // Presses the band: the drag runs over what was posted before.
  void PressBand() {
    const CPoint pt = Band();
    ::SendMessageW(popup->GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  }
  CXTPToolBar *OnlyBar() {
    return commandBars.GetCount() == 1 ? dynamic_cast<CXTPToolBar *>(commandBars.GetAt(0)) : nullptr;
  }

  CountedPopupBar *popup = nullptr;
};

TEST_F(TearOff, TheBandTopsTheMenuAndIsDrawnActiveWhenHot) {
  ASSERT_TRUE(popup->Popup(200, 150, nullptr));
  const CRect rcBand = popup->GetTearOffGripperRect();
  EXPECT_EQ(rcBand.Height(), 8);
  EXPECT_EQ(rcBand.bottom, popup->GetControl(0)->GetRect().top) << "the rows start below the band";
  EXPECT_EQ(rcBand.left, popup->GetControl(0)->GetRect().left);
  EXPECT_EQ(rcBand.right, popup->GetControl(0)->GetRect().right);
}

// Resting on the band turns it hot after the timer; leaving cools it and
// stops the timer. Leaving before it ever turned hot stops the timer too.
TEST_F(TearOff, BandTurnsHotUnderARestingMouseAndCoolsWhenLeft) {
  ASSERT_TRUE(popup->Popup(200, 150, nullptr));
  const HWND h = popup->GetSafeHwnd();
  const CPoint ptRow = popup->GetControl(1)->GetRect().CenterPoint();
  ::SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(ptRow.x, ptRow.y));
  EXPECT_EQ(popup->GetSelectedIndex(), 1);

  const CPoint ptBand = ToScreen(Band());
  ::SetCursorPos(ptBand.x, ptBand.y);
  ::SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(Band().x, Band().y));
  EXPECT_EQ(popup->GetSelectedIndex(), -1) << "the band clears the selection";
  EXPECT_FALSE(popup->IsTearOffHot()) << "not before the timer";
  Pump(250);
  EXPECT_TRUE(popup->IsTearOffHot());

  const CPoint ptAway = ToScreen(ptRow);
  ::SetCursorPos(ptAway.x, ptAway.y);
  Pump(250);
  EXPECT_FALSE(popup->IsTearOffHot());
  EXPECT_FALSE(::KillTimer(h, XTP_TID_TEAROFF_HOT)) << "the timer stopped";

  // In and out again before the first tick.
  ::SetCursorPos(ptBand.x, ptBand.y);
  ::SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(Band().x, Band().y));
  ::SetCursorPos(ptAway.x, ptAway.y);
  Pump(250);
  EXPECT_FALSE(popup->IsTearOffHot());
  EXPECT_FALSE(::KillTimer(h, XTP_TID_TEAROFF_HOT)) << "a timer left running for a band never hot";
}

TEST_F(TearOff, DraggedOutTheMenuBecomesAFloatingToolbarWithItsRows) {
  ASSERT_TRUE(popup->Popup(200, 150, nullptr));
  const HWND h = popup->GetSafeHwnd();
  const CPoint ptOut = Band() + CPoint(40, 150);
  PostMove(Band() + CPoint(3, 2)); // within the band: nothing yet
  PostMove(ptOut);
  PostUp(ptOut);
  const CPoint ptDrop = ToScreen(ptOut);
  PressBand();

  CXTPToolBar *pBar = OnlyBar();
  ASSERT_NE(pBar, nullptr) << "one toolbar in the command bars";
  EXPECT_EQ(pBar->GetBarID(), kTearOffId);
  EXPECT_EQ(pBar->GetTitle(), CString(L"Format"));
  EXPECT_EQ(pBar->GetPosition(), xtpBarFloating);
  EXPECT_TRUE(pBar->IsTearOff());
  EXPECT_TRUE(pBar->IsVisible());
  EXPECT_EQ(RowIds(pBar), (std::vector<int>{ID_BOLD, ID_ITALIC, ID_UNDERLINE}));
  for (int i = 0; i < pBar->GetControlCount(); i++) EXPECT_EQ(pBar->GetControl(i)->GetHideFlags() & 0x28, 0u);
  const HWND hBar = pBar->GetSafeHwnd();
  ASSERT_NE(hBar, nullptr);
  EXPECT_TRUE(::IsWindowVisible(hBar));
  EXPECT_EQ(::GetWindow(hBar, GW_OWNER), site.GetSafeHwnd());
  CRect rcBar;
  ::GetWindowRect(hBar, &rcBar);
  EXPECT_EQ(rcBar.left, ptDrop.x - rcBar.Width() / 2) << "centred under the cursor";
  EXPECT_EQ(rcBar.top, ptDrop.y - 10);

  EXPECT_FALSE(::IsWindow(h)) << "the menu closed";
  EXPECT_FALSE(popup->IsTrackingMode());
  EXPECT_EQ(popup->GetTornBar(), nullptr);
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(popup->GetControlCount(), 3) << "the menu keeps its rows";
}

// A submenu row of the menu opens the same submenu on the torn-off toolbar;
// a deep copy of the row gets a submenu of its own with the same settings.
TEST_F(TearOff, ASubmenuRowKeepsItsMenuOnTheTornOffToolbar) {
  CountedPopupBar *pSub = NewPopup({ID_CUT, ID_COPY, ID_PASTE});
  pSub->SetTearOffPopup(L"Edit", kTearOffId + 1, 120);
  pSub->SetShowShadow(FALSE);
  pSub->SetBarID(77);
  auto *pRow = dynamic_cast<CXTPControlPopup *>(popup->GetControls()->Add(xtpControlPopup, 0));
  ASSERT_NE(pRow, nullptr);
  pRow->SetCaption(L"Edit");
  pRow->SetCommandBar(pSub);
  pSub->InternalRelease();

  ASSERT_TRUE(popup->Popup(200, 150, nullptr));
  const CPoint ptOut = Band() + CPoint(40, 150);
  PostMove(ptOut);
  PostUp(ptOut);
  PressBand();
  CXTPToolBar *pBar = OnlyBar();
  ASSERT_NE(pBar, nullptr);
  CXTPControl *pTornRow = pBar->GetControls()->FindControl(xtpControlPopup, 0, TRUE, FALSE);
  ASSERT_NE(pTornRow, nullptr);
  ASSERT_NE(pTornRow->GetCommandBar(), nullptr);
  EXPECT_EQ(RowIds(pTornRow->GetCommandBar()), (std::vector<int>{ID_CUT, ID_COPY, ID_PASTE}));

  CXTPControl *pDeep = pRow->Clone(TRUE);
  auto *pDeepBar = dynamic_cast<CXTPPopupBar *>(pDeep->GetCommandBar());
  ASSERT_NE(pDeepBar, nullptr);
  EXPECT_NE(pDeepBar, pSub);
  EXPECT_EQ(RowIds(pDeepBar), (std::vector<int>{ID_CUT, ID_COPY, ID_PASTE}));
  EXPECT_TRUE(pDeepBar->IsTearOffPopup());
  EXPECT_EQ(pDeepBar->GetTearOffId(), kTearOffId + 1);
  EXPECT_FALSE(pDeepBar->GetShowShadow());
  EXPECT_EQ(pDeepBar->GetBarID(), 77);
  pDeep->InternalRelease();
  commandBars.ReleaseBars();
}

TEST_F(TearOff, RowsHiddenAsRarelyUsedAreTornOffToo) {
  commandBars.GetCommandBarsOptions()->bAlwaysShowFullMenus = FALSE;
  commandBars.HideCommand(ID_UNDERLINE);
  ASSERT_TRUE(popup->Popup(200, 150, nullptr));
  ASSERT_TRUE(popup->HasHiddenCommands());
  const CPoint ptOut = Band() + CPoint(0, 150);
  PostMove(ptOut);
  PostUp(ptOut);
  PressBand();
  CXTPToolBar *pBar = OnlyBar();
  ASSERT_NE(pBar, nullptr);
  EXPECT_EQ(RowIds(pBar), (std::vector<int>{ID_BOLD, ID_ITALIC, ID_UNDERLINE})) << "without the expand item";
  for (int i = 0; i < pBar->GetControlCount(); i++)
    if (pBar->GetControl(i)->GetID() == ID_UNDERLINE) {
      EXPECT_EQ(pBar->GetControl(i)->GetHideFlags(), 0u);
    }
}

TEST_F(TearOff, BackInsideTheBandTheMenuReturnsAndTheBarGoes) {
  ASSERT_TRUE(popup->Popup(200, 150, nullptr));
  const HWND h = popup->GetSafeHwnd();
  struct Seen {
    BOOL bMenuVisible;
    int nBars;
  };
  std::vector<Seen> seen;
  CallbackWindow probe;
  probe.onApp = [&] { seen.push_back({::IsWindowVisible(h), commandBars.GetCount()}); };
  const CPoint ptOut = Band() + CPoint(0, 150);
  PostMove(ptOut);
  probe.Post();
  PostMove(Band() + CPoint(0, 9)); // 10 pixels of slack around the band
  probe.Post();
  PostUp(Band());
  PressBand();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_FALSE(seen[0].bMenuVisible) << "outside, the menu hides";
  EXPECT_EQ(seen[0].nBars, 1);
  EXPECT_TRUE(seen[1].bMenuVisible) << "inside again, it shows";
  EXPECT_TRUE(popup->IsTrackingMode()) << "and goes on tracking";
  EXPECT_EQ(popup->GetTornBar(), nullptr);
  Pump(20);
  EXPECT_EQ(commandBars.GetCount(), 0) << "the hidden torn bar left the command bars";
}

// The drag's loop takes its own messages: each way it can end leaves the
// capture released and, when the quit came, the quit posted again.
TEST_F(TearOff, EndsOnReleaseEscapeQuitAndCaptureLoss) {
  enum End { kRelease, kEscape, kQuit, kCaptureLost };
  struct Case {
    const char *name;
    End end;
    BOOL bOutside;
    int nBars;
    BOOL bMenuOpen;
  } cases[] = {
      {"release inside", kRelease, FALSE, 0, TRUE},
      {"escape outside keeps what is shown", kEscape, TRUE, 1, FALSE},
      {"quit inside", kQuit, FALSE, 0, TRUE},
      {"quit outside", kQuit, TRUE, 1, FALSE},
      {"capture lost inside", kCaptureLost, FALSE, 0, TRUE},
  };
  CallbackWindow thief, quitter;
  thief.onApp = [&] { ::SetCapture(thief.GetHwnd()); };
  // Quits once the messages before it are taken: a quit comes out of the
  // queue before the posted messages a peek's filter leaves.
  quitter.onApp = [] { ::PostQuitMessage(9); };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(popup->Popup(200, 150, nullptr));
    const HWND h = popup->GetSafeHwnd();
    if (c.bOutside) PostMove(Band() + CPoint(0, 150));
    switch (c.end) {
    case kRelease:
      PostUp(Band());
      break;
    case kEscape:
      ::PostMessageW(h, WM_KEYDOWN, VK_ESCAPE, 0);
      break;
    case kQuit:
      quitter.Post();
      break;
    case kCaptureLost:
      thief.Post();
      break;
    }
    // A release the loop must not reach (the drag ended before); it goes to
    // a window that outlives the menu.
    const BOOL bTrailingRelease = c.end != kRelease;
    if (bTrailingRelease) ::PostMessageW(thief.GetHwnd(), WM_LBUTTONUP, 0, 0);
    PressBand();
    EXPECT_FALSE(popup->IsTearingOff());
    if (c.end == kCaptureLost) {
      EXPECT_EQ(::GetCapture(), thief.GetHwnd());
      ::ReleaseCapture();
    } else {
      EXPECT_EQ(::GetCapture(), nullptr);
    }
    EXPECT_EQ(commandBars.GetCount(), c.nBars);
    EXPECT_EQ(popup->IsTrackingMode() != FALSE, c.bMenuOpen != FALSE);
    if (c.bMenuOpen) {
      EXPECT_TRUE(::IsWindowVisible(h));
    }
    MSG msg;
    int nQuit = -1, nReleases = 0;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) nQuit = static_cast<int>(msg.wParam);
      if (msg.message == WM_LBUTTONUP) nReleases++;
      ::DispatchMessageW(&msg); // paints, which would come back forever
    }
    EXPECT_EQ(nQuit, c.end == kQuit ? 9 : -1);
    if (bTrailingRelease) {
      EXPECT_EQ(nReleases, 1) << "the loop ended before the release";
    }
    popup->SetTrackingMode(0);
    commandBars.ReleaseBars();
  }
}

using bartest::RefuseActivation;
using bartest::Watchdog;

// The real mouse (input synthesised on the virtual screen): pressed on the
// band, moved out from another thread while the drag holds this one, and
// released there. The test's windows are never active, and the capture of a
// thread that is not in front only holds over its own windows: so the hand
// moves in small steps that stay on the torn bar following it.
TEST_F(TearOff, TornOffWithTheRealMouse) {
  const HHOOK hHook = ::SetWindowsHookExW(WH_CBT, RefuseActivation, nullptr, ::GetCurrentThreadId());
  ASSERT_TRUE(popup->Popup(200, 150, nullptr));
  const CPoint ptBand = ToScreen(Band());
  const CPoint ptOut = ptBand + CPoint(5, 40); // still over the menu, out of the band
  const int kSteps = 20;
  const CPoint ptDrop = ptOut + CPoint(2 * kSteps, 6 * kSteps);
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, ptBand);
  Pump(60);
  const UINT_PTR nWatchdog = ::SetTimer(nullptr, 0, 8000, Watchdog);
  std::thread hand([ptOut] {
    ::Sleep(150);
    for (int i = 0; i <= kSteps; i++) {
      SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, ptOut + CPoint(2 * i, 6 * i));
      ::Sleep(30);
    }
    SendMouse(MOUSEEVENTF_LEFTUP);
  });
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  Pump(150 + 30 * (kSteps + 1) + 300);
  hand.join();
  Pump(100);
  ::KillTimer(nullptr, nWatchdog);
  ::UnhookWindowsHookEx(hHook);

  CXTPToolBar *pBar = OnlyBar();
  ASSERT_NE(pBar, nullptr);
  EXPECT_EQ(RowIds(pBar), (std::vector<int>{ID_BOLD, ID_ITALIC, ID_UNDERLINE}));
  CRect rcBar;
  ::GetWindowRect(pBar->GetSafeHwnd(), &rcBar);
  EXPECT_EQ(rcBar.TopLeft(), CPoint(ptDrop.x - rcBar.Width() / 2, ptDrop.y - 10));
  EXPECT_TRUE(::IsWindowVisible(pBar->GetSafeHwnd()));
  EXPECT_FALSE(popup->IsTrackingMode());
  EXPECT_EQ(::GetCapture(), nullptr);
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE,
            CPoint(::GetSystemMetrics(SM_CXSCREEN) - 5, ::GetSystemMetrics(SM_CYSCREEN) - 5));
  Pump(50);
}

// A popup whose torn bar cannot be made.
class NoBarPopup : public CountedPopupBar {
protected:
  CXTPToolBar *CreateTornBar() override { return nullptr; }
};

TEST_F(TearOff, WithNoBarToShowTheMenuComesBack) {
  popup->InternalRelease();
  popup = new NoBarPopup;
  popup->SetCommandBars(&commandBars);
  popup->GetControls()->Add(xtpControlButton, ID_BOLD)->SetCaption(L"Row");
  popup->SetTearOffPopup(L"Format", kTearOffId, 200);
  ASSERT_TRUE(popup->Popup(200, 150, nullptr));
  const CPoint ptOut = Band() + CPoint(0, 150);
  PostMove(ptOut);
  PostUp(ptOut);
  PressBand();
  EXPECT_EQ(commandBars.GetCount(), 0);
  EXPECT_TRUE(popup->IsTrackingMode());
  EXPECT_TRUE(::IsWindowVisible(popup->GetSafeHwnd())) << "not left tracking while hidden";
}

// While the bars are customised, the band neither turns hot nor tears off:
// a press there belongs to the customising.
TEST_F(TearOff, NothingTearsOffInCustomiseMode) {
  commandBars.SetCustomizeMode(TRUE);
  ASSERT_TRUE(popup->Popup(200, 150, nullptr));
  const HWND h = popup->GetSafeHwnd();
  ::SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(Band().x, Band().y));
  EXPECT_FALSE(::KillTimer(h, XTP_TID_TEAROFF_HOT)) << "no hot timer";
  PostMove(Band() + CPoint(0, 150));
  PostUp(Band() + CPoint(0, 150));
  PressBand();
  EXPECT_EQ(commandBars.GetCount(), 0);
  Pump(0);
  commandBars.SetCustomizeMode(FALSE);
}

TEST_F(TearOff, NoDragWhileAnotherWindowHasTheCapture) {
  ASSERT_TRUE(popup->Popup(200, 150, nullptr));
  CallbackWindow other;
  ::SetCapture(other.GetHwnd());
  PostMove(Band() + CPoint(0, 150));
  PostUp(Band() + CPoint(0, 150));
  PressBand();
  EXPECT_FALSE(popup->IsTearingOff());
  EXPECT_EQ(commandBars.GetCount(), 0);
  EXPECT_EQ(::GetCapture(), other.GetHwnd());
  ::ReleaseCapture();
  Pump(0);
}

// The tear-off id names a bar already in the command bars, which floats
// instead of a new one; bars that never had an id are never taken for it.
TEST_F(TearOff, ABarOfTheTearOffIdIsReusedAndIdZeroNamesNone) {
  struct Case {
    const char *name;
    int nTearOffId;
    int nExistingId;
    int nBarsAfter;
    BOOL bExistingFloats;
  } cases[] = {
      {"the bar of the id floats", kTearOffId, kTearOffId, 1, TRUE},
      {"id 0 takes no bar of id 0", 0, 0, 2, FALSE},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    auto *pExisting = static_cast<CXTPToolBar *>(RUNTIME_CLASS(CXTPToolBar)->CreateObject());
    pExisting->SetCommandBars(&commandBars);
    pExisting->SetSite(&commandBars);
    pExisting->SetBarID(c.nExistingId);
    const UINT ids[] = {ID_CUT, ID_COPY, ID_PASTE};
    pExisting->SetButtons(ids, 3);
    commandBars.AddBar(pExisting);
    pExisting->InternalRelease();
    popup->SetTearOffPopup(L"Format", c.nTearOffId, 200);

    ASSERT_TRUE(popup->Popup(200, 150, nullptr));
    const CPoint ptOut = Band() + CPoint(0, 150);
    PostMove(ptOut);
    PostUp(ptOut);
    PressBand();
    EXPECT_EQ(commandBars.GetCount(), c.nBarsAfter);
    EXPECT_EQ(pExisting->GetPosition() == xtpBarFloating, c.bExistingFloats != FALSE);
    EXPECT_EQ(pExisting->IsVisible(), c.bExistingFloats);
    EXPECT_EQ(RowIds(pExisting), (std::vector<int>{ID_CUT, ID_COPY, ID_PASTE})) << "its own rows";
    commandBars.ReleaseBars();
  }
}

// A copy of a menu (a customised menu bar's, a submenu copied with its row)
// tears off as the menu does.
TEST_F(TearOff, ACopyTearsOffAsTheMenuDoes) {
  popup->SetShowShadow(FALSE);
  auto *pCopy = dynamic_cast<CXTPPopupBar *>(popup->Clone(TRUE));
  ASSERT_NE(pCopy, nullptr);
  EXPECT_TRUE(pCopy->IsTearOffPopup());
  EXPECT_EQ(pCopy->GetTearOffCaption(), CString(L"Format"));
  EXPECT_EQ(pCopy->GetTearOffId(), kTearOffId);
  EXPECT_EQ(pCopy->GetTearOffWidth(), 200);
  EXPECT_FALSE(pCopy->GetShowShadow());
  EXPECT_EQ(RowIds(pCopy), (std::vector<int>{ID_BOLD, ID_ITALIC, ID_UNDERLINE}));
  pCopy->InternalRelease();
}

// --- TrackPopupMenu: alignment and nesting ------------------------------------------

class TrackedPopups : public PopupSite {
protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(SetUpSite());
    outer = NewPopup({ID_BOLD, ID_ITALIC, ID_UNDERLINE});
    inner = NewPopup({ID_CUT, ID_COPY, ID_PASTE});
    inner->SetNested(TRUE);
  }
  void TearDown() override {
    CXTPCommandBars::SetGetMessageFunction(nullptr);
    s_onMessage = nullptr;
    for (CountedPopupBar *p : {outer, inner}) {
      p->SetTrackingMode(0);
      p->InternalRelease();
    }
    TearDownSite();
  }
  // The menu loops take their messages from here: each call runs the script
  // and hands the loop a message that does nothing.
  static BOOL ScriptedMessage(MSG *pMsg) {
    *pMsg = MSG{};
    pMsg->message = WM_NULL;
    if (s_onMessage) s_onMessage();
    return TRUE;
  }
  static std::function<void()> s_onMessage;

  CountedPopupBar *outer = nullptr;
  CountedPopupBar *inner = nullptr;
};
std::function<void()> TrackedPopups::s_onMessage;

// A key as the thread's keyboard hook sees it.
void Key(UINT vk) {
  CXTPThreadHooks *pHooks = CXTPThreadHooks::FindThreadHooks();
  ASSERT_NE(pHooks, nullptr);
  pHooks->OnKeyboardHook(vk, 0);
}

TEST_F(TrackedPopups, AlignmentFlagsPlaceThePopup) {
  CXTPCommandBars::SetGetMessageFunction(&ScriptedMessage);
  CRect rcSeen;
  s_onMessage = [&] {
    ::GetWindowRect(outer->GetSafeHwnd(), &rcSeen);
    outer->SetTrackingMode(0);
  };
  const CRect rcWork = XTPMultiMonitor::GetWorkArea(CPoint(400, 200));
  ASSERT_GE(rcWork.Width(), 600);
  // The popup's size, from a first showing.
  ASSERT_TRUE(outer->Popup(rcWork.left + 300, rcWork.top + 100, nullptr));
  CRect rcFirst;
  ::GetWindowRect(outer->GetSafeHwnd(), &rcFirst);
  outer->SetTrackingMode(0);
  const CSize sz = rcFirst.Size();
  const int x = rcWork.left + 400, y = rcWork.top + 100;
  const CRect rcExclude(x - 60, y - 20, x, y);
  struct Case {
    const char *name;
    UINT nFlags;
    CPoint pt;
    const CRect *pExclude;
    CRect expected;
  } cases[] = {
      {"left edge at the point", 0, CPoint(x, y), nullptr, CRect(CPoint(x, y), sz)},
      {"right edge at the point", TPM_RIGHTALIGN, CPoint(x, y), nullptr, CRect(CPoint(x - sz.cx, y), sz)},
      {"right edge with the excluded rectangle's", TPM_RIGHTALIGN, CPoint(x - 60, y), &rcExclude,
       CRect(CPoint(x - sz.cx, y), sz)},
      {"right-aligned at the work area's left turns right", TPM_RIGHTALIGN, CPoint(rcWork.left + 10, y),
       nullptr, CRect(CPoint(rcWork.left, y), sz)},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    rcSeen.SetRectEmpty();
    EXPECT_TRUE(CXTPCommandBars::TrackPopupMenu(outer, c.nFlags | TPM_RETURNCMD, c.pt.x, c.pt.y, &site,
                                                c.pExclude) == 0);
    EXPECT_EQ(rcSeen, c.expected);
  }
}

// A right-aligned popup turned at the work area's left edge stays where it
// is when it is laid out again (as when its hidden commands are shown).
TEST_F(TrackedPopups, AlignmentHoldsWhenThePopupIsLaidOutAgain) {
  CXTPCommandBars::SetGetMessageFunction(&ScriptedMessage);
  const CRect rcWork = XTPMultiMonitor::GetWorkArea(CPoint(400, 200));
  CRect rcBefore, rcAfter;
  s_onMessage = [&] {
    ::GetWindowRect(outer->GetSafeHwnd(), &rcBefore);
    outer->OnRecalcLayout();
    ::GetWindowRect(outer->GetSafeHwnd(), &rcAfter);
    outer->SetTrackingMode(0);
  };
  CXTPCommandBars::TrackPopupMenu(outer, TPM_RIGHTALIGN | TPM_RETURNCMD, rcWork.left + 10, rcWork.top + 100,
                                  &site);
  EXPECT_EQ(rcBefore.left, rcWork.left);
  EXPECT_EQ(rcAfter, rcBefore);
}

// A popup tracked from inside another: the first stays open, the keys go to
// the inner one while it tracks, and each call returns its own command.
TEST_F(TrackedPopups, NestedPopupReturnsItsCommandAndLeavesTheOuterOpen) {
  CXTPCommandBars::SetGetMessageFunction(&ScriptedMessage);
  UINT nInner = 0;
  BOOL bOuterOpenWhileInner = FALSE;
  int nStep = 0;
  s_onMessage = [&] {
    switch (nStep++) {
    case 0: // the outer menu tracks: open the inner one from inside it
      EXPECT_TRUE(outer->IsTrackingMode());
      nInner = CXTPCommandBars::TrackPopupMenu(inner, TPM_RETURNCMD, 500, 300, &site);
      break;
    case 1: // the inner one tracks over the outer
      bOuterOpenWhileInner = outer->IsTrackingMode() && inner->IsTrackingMode();
      Key(VK_DOWN);
      Key(VK_DOWN);
      Key(VK_RETURN);
      break;
    case 2: // back in the outer menu's loop
      EXPECT_TRUE(outer->IsTrackingMode());
      EXPECT_FALSE(inner->IsTrackingMode());
      Key(VK_DOWN);
      Key(VK_RETURN);
      break;
    default:
      outer->SetTrackingMode(0);
      inner->SetTrackingMode(0);
      break;
    }
  };
  const UINT nOuter = CXTPCommandBars::TrackPopupMenu(outer, TPM_RETURNCMD, 200, 150, &site);
  EXPECT_TRUE(bOuterOpenWhileInner);
  EXPECT_EQ(nInner, static_cast<UINT>(ID_COPY));
  EXPECT_EQ(nOuter, static_cast<UINT>(ID_BOLD));
  EXPECT_EQ(nStep, 3);
}

// A click on the outer menu while the nested one is open runs the outer
// menu's command; the nested popup closes with it rather than staying open
// over nothing.
TEST_F(TrackedPopups, NestedPopupClosesWithTheMenuItWasTrackedFrom) {
  CXTPCommandBars::SetGetMessageFunction(&ScriptedMessage);
  UINT nInner = 1;
  BOOL bInnerClosed = FALSE;
  int nStep = 0;
  s_onMessage = [&] {
    switch (nStep++) {
    case 0:
      nInner = CXTPCommandBars::TrackPopupMenu(inner, TPM_RETURNCMD, 500, 300, &site);
      break;
    case 1: {
      const CPoint pt = outer->GetControl(2)->GetRect().CenterPoint();
      ::SendMessageW(outer->GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
      bInnerClosed = !inner->IsTrackingMode();
      break;
    }
    default:
      outer->SetTrackingMode(0);
      inner->SetTrackingMode(0);
      break;
    }
  };
  const UINT nOuter = CXTPCommandBars::TrackPopupMenu(outer, TPM_RETURNCMD, 200, 150, &site);
  EXPECT_EQ(nOuter, static_cast<UINT>(ID_UNDERLINE));
  EXPECT_TRUE(bInnerClosed);
  EXPECT_EQ(nInner, 0u) << "nothing chosen in the nested popup";
  EXPECT_EQ(nStep, 2);
}

TEST_F(TrackedPopups, APopupNotNestedClosesTheOnesOpen) {
  CXTPCommandBars::SetGetMessageFunction(&ScriptedMessage);
  inner->SetNested(FALSE);
  BOOL bOuterOpenWhileInner = TRUE;
  int nStep = 0;
  s_onMessage = [&] {
    switch (nStep++) {
    case 0:
      CXTPCommandBars::TrackPopupMenu(inner, TPM_RETURNCMD, 500, 300, &site);
      break;
    case 1:
      bOuterOpenWhileInner = outer->IsTrackingMode();
      inner->SetTrackingMode(0);
      break;
    default:
      outer->SetTrackingMode(0);
      break;
    }
  };
  CXTPCommandBars::TrackPopupMenu(outer, TPM_RETURNCMD, 200, 150, &site);
  EXPECT_FALSE(bOuterOpenWhileInner);
}

// Alt, or the application losing the activation, closes the nested popup
// with the one it was tracked from.
TEST_F(TrackedPopups, ClosingTheTrackedBarsClosesANestedPopupToo) {
  CXTPCommandBars::SetGetMessageFunction(&ScriptedMessage);
  int nStep = 0;
  BOOL bInnerClosed = FALSE;
  s_onMessage = [&] {
    switch (nStep++) {
    case 0:
      CXTPCommandBars::TrackPopupMenu(inner, TPM_RETURNCMD, 500, 300, &site);
      break;
    case 1:
      XTPGetMouseManager()->CloseTrackedBars();
      bInnerClosed = !inner->IsTrackingMode() && inner->GetSafeHwnd() == nullptr;
      break;
    default:
      outer->SetTrackingMode(0);
      inner->SetTrackingMode(0);
      break;
    }
  };
  CXTPCommandBars::TrackPopupMenu(outer, TPM_RETURNCMD, 200, 150, &site);
  EXPECT_TRUE(bInnerClosed);
  EXPECT_FALSE(outer->IsTrackingMode());
}

} // namespace
