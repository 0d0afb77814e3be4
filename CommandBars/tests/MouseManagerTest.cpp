// The mouse manager with fake bars: what a mouse event does to the tracked
// bars, the remembered bar, the lock, trusted windows and mouse-leave watching.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "WindowTestKit.h"
#include "Wnd.h"
#include "XTPMouseManager.h"

namespace {

std::vector<std::string> g_log;

// A popup bar at a place on the screen; closing it takes it (and the popups
// it opened) out of the tracked list, as a command bar's tracking mode does.
class FakeBar : public CXTPMouseTrackedBar {
public:
  FakeBar(std::string name, const CRect &rect) : m_name(std::move(name)) {
    m_wnd.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), L"bar", WS_POPUP, rect.left, rect.top,
                   rect.Width(), rect.Height(), nullptr, nullptr);
  }
  ~FakeBar() override {
    XTPGetMouseManager()->DropTrackedBar(this);
    XTPGetMouseManager()->RemoveSelectedBar(this);
  }

  HWND GetTrackedHwnd() const override { return m_wnd.m_hWnd; }
  int HitTestTrackedPoint(POINT) override {
    g_log.push_back(m_name + " hit");
    return m_hit;
  }
  BOOL IsTrustedWindowsEnabled() override { return m_bTrusted; }
  void OnTrackingElsewhere() override { g_log.push_back(m_name + " elsewhere"); }
  void OnTrackLost() override {
    g_log.push_back(m_name + " closed");
    if (m_pChild != nullptr) m_pChild->OnTrackLost();
    XTPGetMouseManager()->DropTrackedBar(this);
  }
  void OnTrackedMouseMove(UINT, POINT ptClient) override {
    g_log.push_back(m_name + " move " + std::to_string(ptClient.x) + "," + std::to_string(ptClient.y));
  }

  std::string m_name;
  CWnd m_wnd;
  int m_hit = kNotMine;
  BOOL m_bTrusted = FALSE;
  FakeBar *m_pChild = nullptr; // a popup this bar opened
};

class MouseManagerTest : public ::testing::Test {
protected:
  void SetUp() override {
    g_log.clear();
    m_pManager = XTPGetMouseManager();
    // Points no test window covers, for the events "elsewhere".
    ::SetCursorPos(790, 590);
  }
  void TearDown() override {
    EXPECT_EQ(m_pManager->GetTrackedCount(), 0);
    EXPECT_FALSE(m_pManager->IsMouseLocked());
    EXPECT_EQ(m_pManager->GetSelectedBar(), nullptr);
  }
  CXTPMouseManager *m_pManager = nullptr;
};

TEST_F(MouseManagerTest, MouseHookLivesWithTheManager) {
  EXPECT_TRUE(m_pManager->IsHookInstalled());
  EXPECT_EQ(CXTPMouseManager::FindThreadMouseManager(), m_pManager);
}

TEST_F(MouseManagerTest, PushTellsTheRememberedBarAndAddsOnce) {
  FakeBar menu("menu", CRect(0, 0, 100, 20)), popup("popup", CRect(0, 20, 100, 120)),
      sub("sub", CRect(100, 20, 200, 120));
  m_pManager->SetSelectedBar(&menu);
  EXPECT_EQ(m_pManager->PushTrackedBar(&popup), 0);
  EXPECT_EQ(m_pManager->PushTrackedBar(&sub), 1); // not the first: nobody told again
  EXPECT_EQ(m_pManager->PushTrackedBar(&popup), 0);
  EXPECT_EQ(g_log, (std::vector<std::string>{"menu elsewhere"}));
  EXPECT_TRUE(m_pManager->IsTrackedLock(&menu));
  EXPECT_FALSE(m_pManager->IsTrackedLock(&sub));

  // The remembered bar itself starting to track is not told.
  m_pManager->DropTrackedBar(&popup);
  m_pManager->DropTrackedBar(&sub);
  g_log.clear();
  m_pManager->PushTrackedBar(&menu);
  EXPECT_TRUE(g_log.empty());
  m_pManager->DropTrackedBar(&menu);
  EXPECT_FALSE(m_pManager->IsTrackedLock(&menu));
  m_pManager->RemoveSelectedBar(&popup); // not the remembered one: kept
  EXPECT_EQ(m_pManager->GetSelectedBar(), &menu);
  m_pManager->RemoveSelectedBar(&menu);
}

TEST_F(MouseManagerTest, CloseTrackedBarsClosesTheFirstAndItsChildren) {
  FakeBar popup("popup", CRect(0, 20, 100, 120)), sub("sub", CRect(100, 20, 200, 120));
  popup.m_pChild = &sub;
  m_pManager->PushTrackedBar(&popup);
  m_pManager->PushTrackedBar(&sub);
  m_pManager->SendTrackLost();
  EXPECT_EQ(g_log, (std::vector<std::string>{"popup closed", "sub closed"}));
  EXPECT_EQ(m_pManager->GetTrackedCount(), 0);
  m_pManager->CloseTrackedBars(); // nothing tracked: nothing happens
}

// A popup tracked from inside another is not its child: closing the bars
// closes it too, rather than leaving it open over a closed menu.
TEST_F(MouseManagerTest, CloseTrackedBarsClosesANestedPopupToo) {
  FakeBar popup("popup", CRect(0, 20, 100, 120)), sub("sub", CRect(100, 20, 200, 120)),
      nested("nested", CRect(300, 20, 400, 120));
  popup.m_pChild = &sub;
  m_pManager->PushTrackedBar(&popup);
  m_pManager->PushTrackedBar(&sub);
  m_pManager->PushTrackedBar(&nested);
  m_pManager->CloseTrackedBars();
  EXPECT_EQ(g_log, (std::vector<std::string>{"popup closed", "sub closed", "nested closed"}));
  EXPECT_EQ(m_pManager->GetTrackedCount(), 0);
}

TEST_F(MouseManagerTest, LockIsACount) {
  m_pManager->LockMouseMove();
  m_pManager->LockMouseMove();
  m_pManager->UnlockMouseMove();
  EXPECT_TRUE(m_pManager->IsMouseLocked());
  m_pManager->UnlockMouseMove();
  EXPECT_FALSE(m_pManager->IsMouseLocked());
  // An unlock too many leaves no debt behind: the next lock locks.
  m_pManager->UnlockMouseMove();
  {
    CXTPMouseLock lock;
    EXPECT_TRUE(m_pManager->IsMouseLocked());
  }
  EXPECT_FALSE(m_pManager->IsMouseLocked());
}

// Two tracked bars: a popup and the submenu it opened. Each case sends one
// event and lists what the bars were asked and told.
TEST_F(MouseManagerTest, EventsWhileBarsAreTracked) {
  const POINT elsewhere = {700, 500};
  const POINT onPopup = {30, 40};    // inside the popup's window
  const POINT onTrusted = {305, 45}; // inside the trusted window
  struct Case {
    const char *name;
    UINT message;
    POINT pt;
    int popupHit, subHit;
    BOOL trusted;
    bool locked;
    std::vector<std::string> events;
    int stillTracked;
  } const cases[] = {
      {"click elsewhere closes both",
       WM_LBUTTONDOWN,
       elsewhere,
       CXTPMouseTrackedBar::kNotMine,
       CXTPMouseTrackedBar::kNotMine,
       FALSE,
       false,
       {"popup hit", "sub hit", "popup closed", "sub closed"},
       0},
      {"right and middle presses too",
       WM_RBUTTONDOWN,
       elsewhere,
       CXTPMouseTrackedBar::kNotMine,
       CXTPMouseTrackedBar::kNotMine,
       FALSE,
       false,
       {"popup hit", "sub hit", "popup closed", "sub closed"},
       0},
      {"non-client presses too",
       WM_NCMBUTTONDOWN,
       elsewhere,
       CXTPMouseTrackedBar::kNotMine,
       CXTPMouseTrackedBar::kNotMine,
       FALSE,
       false,
       {"popup hit", "sub hit", "popup closed", "sub closed"},
       0},
      {"a bar that claims the point keeps everything open",
       WM_LBUTTONDOWN,
       onPopup,
       CXTPMouseTrackedBar::kMine,
       CXTPMouseTrackedBar::kNotMine,
       FALSE,
       false,
       {"popup hit"},
       2},
      {"the second bar may claim it",
       WM_LBUTTONDOWN,
       elsewhere,
       CXTPMouseTrackedBar::kNotMine,
       CXTPMouseTrackedBar::kMine,
       FALSE,
       false,
       {"popup hit", "sub hit"},
       2},
      {"unclaimed point outside any child closes",
       WM_LBUTTONDOWN,
       onPopup,
       0,
       CXTPMouseTrackedBar::kNotMine,
       FALSE,
       false,
       {"popup hit", "sub hit", "popup closed", "sub closed"},
       0},
      {"release elsewhere closes",
       WM_LBUTTONUP,
       elsewhere,
       CXTPMouseTrackedBar::kNotMine,
       CXTPMouseTrackedBar::kNotMine,
       FALSE,
       false,
       {"popup hit", "sub hit", "popup closed", "sub closed"},
       0},
      {"release while locked keeps them",
       WM_NCLBUTTONUP,
       elsewhere,
       CXTPMouseTrackedBar::kNotMine,
       CXTPMouseTrackedBar::kNotMine,
       FALSE,
       true,
       {"popup hit", "sub hit"},
       2},
      {"presses close even while locked",
       WM_LBUTTONDOWN,
       elsewhere,
       CXTPMouseTrackedBar::kNotMine,
       CXTPMouseTrackedBar::kNotMine,
       FALSE,
       true,
       {"popup hit", "sub hit", "popup closed", "sub closed"},
       0},
      {"moves go to every bar in its coordinates",
       WM_MOUSEMOVE,
       onPopup,
       CXTPMouseTrackedBar::kNotMine,
       CXTPMouseTrackedBar::kNotMine,
       FALSE,
       false,
       {"popup hit", "sub hit", "popup move 30,20", "sub move -70,20"},
       2},
      {"a trusted window is left alone when the first bar allows it",
       WM_LBUTTONDOWN,
       onTrusted,
       CXTPMouseTrackedBar::kNotMine,
       CXTPMouseTrackedBar::kNotMine,
       TRUE,
       false,
       {"popup hit", "sub hit"},
       2},
      {"otherwise a click on it closes",
       WM_LBUTTONDOWN,
       onTrusted,
       CXTPMouseTrackedBar::kNotMine,
       CXTPMouseTrackedBar::kNotMine,
       FALSE,
       false,
       {"popup hit", "sub hit", "popup closed", "sub closed"},
       0},
  };
  CWnd trusted;
  // Only its rectangle counts: it need not be shown.
  ASSERT_TRUE(trusted.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), L"trusted", WS_POPUP, 300, 40, 50,
                               50, nullptr, nullptr));
  m_pManager->AddTrustedWindow(trusted.m_hWnd);
  m_pManager->AddTrustedWindow(trusted.m_hWnd);
  EXPECT_EQ(m_pManager->GetTrustedWindows().size(), 1u);
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    FakeBar popup("popup", CRect(0, 20, 100, 120)), sub("sub", CRect(100, 20, 200, 120));
    popup.m_pChild = &sub;
    popup.m_hit = c.popupHit;
    sub.m_hit = c.subHit;
    popup.m_bTrusted = c.trusted;
    m_pManager->PushTrackedBar(&popup);
    m_pManager->PushTrackedBar(&sub);
    if (c.locked) m_pManager->LockMouseMove();
    g_log.clear();
    EXPECT_FALSE(m_pManager->OnMouseHook(c.message, c.pt)); // events go on to the windows
    EXPECT_EQ(g_log, c.events);
    EXPECT_EQ(m_pManager->GetTrackedCount(), c.stillTracked);
    if (c.locked) m_pManager->UnlockMouseMove();
    m_pManager->DropTrackedBar(&sub);
    m_pManager->DropTrackedBar(&popup);
  }
  m_pManager->RemoveTrustedWindow(trusted.m_hWnd);
  EXPECT_TRUE(m_pManager->GetTrustedWindows().empty());
  trusted.DestroyWindow();
}

TEST_F(MouseManagerTest, ChildWindowsOfABarCountAsItsOwn) {
  FakeBar popup("popup", CRect(0, 20, 100, 120));
  popup.m_hit = 0; // "not claimed, but its children are its own"
  ::ShowWindow(popup.m_wnd.m_hWnd, SW_SHOWNOACTIVATE);
  HWND hEdit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 10, 60, 20, popup.m_wnd.m_hWnd,
                                 nullptr, nullptr, nullptr);
  ASSERT_NE(hEdit, nullptr);
  m_pManager->PushTrackedBar(&popup);
  const POINT onEdit = {30, 40};
  if (::WindowFromPoint(onEdit) == hEdit) { // another test's window may be on top
    m_pManager->OnMouseHook(WM_LBUTTONDOWN, onEdit);
    EXPECT_EQ(g_log, (std::vector<std::string>{"popup hit"}));
    EXPECT_EQ(m_pManager->GetTrackedCount(), 1);
  }
  m_pManager->OnMouseHook(WM_LBUTTONDOWN, POINT{700, 500});
  EXPECT_EQ(m_pManager->GetTrackedCount(), 0);
}

TEST_F(MouseManagerTest, StillMovesAndTheIgnoredRelease) {
  FakeBar popup("popup", CRect(0, 20, 100, 120));
  // Without tracked bars nothing is swallowed.
  EXPECT_FALSE(m_pManager->OnMouseHook(WM_MOUSEMOVE, POINT{5, 5}));
  EXPECT_FALSE(m_pManager->OnMouseHook(WM_MOUSEMOVE, POINT{5, 5}));

  m_pManager->PushTrackedBar(&popup);
  g_log.clear();
  EXPECT_TRUE(m_pManager->OnMouseHook(WM_MOUSEMOVE, POINT{5, 5})); // did not move
  EXPECT_TRUE(m_pManager->OnMouseHook(WM_NCMOUSEMOVE, POINT{5, 5}));
  EXPECT_TRUE(g_log.empty());
  EXPECT_FALSE(m_pManager->OnMouseHook(WM_MOUSEMOVE, POINT{6, 5}));
  EXPECT_EQ(g_log, (std::vector<std::string>{"popup hit", "popup move 6,-15"}));

  // The release of the click that opened a menu is swallowed once.
  m_pManager->IgnoreLButtonUp();
  g_log.clear();
  EXPECT_TRUE(m_pManager->OnMouseHook(WM_LBUTTONUP, POINT{700, 500}));
  EXPECT_TRUE(g_log.empty());
  EXPECT_FALSE(m_pManager->IsLButtonUpIgnored());
  // A press in between means the release is a click of its own.
  popup.m_hit = CXTPMouseTrackedBar::kMine; // keeps the bar open through the events
  for (UINT press : {WM_LBUTTONDOWN, WM_NCLBUTTONDOWN, WM_LBUTTONDBLCLK, WM_NCLBUTTONDBLCLK}) {
    SCOPED_TRACE(press);
    m_pManager->IgnoreLButtonUp();
    m_pManager->OnMouseHook(press, POINT{20, 40});
    EXPECT_FALSE(m_pManager->IsLButtonUpIgnored());
    EXPECT_FALSE(m_pManager->OnMouseHook(WM_LBUTTONUP, POINT{20, 40}));
  }
  EXPECT_EQ(m_pManager->GetTrackedCount(), 1);
  m_pManager->DropTrackedBar(&popup);

  // The last bar leaving clears it too.
  m_pManager->PushTrackedBar(&popup);
  m_pManager->IgnoreLButtonUp();
  m_pManager->DropTrackedBar(&popup);
  EXPECT_FALSE(m_pManager->IsLButtonUpIgnored());
}

// A window that has been foreground costs Wine two seconds to destroy without
// a window manager: one is enough.
TEST_F(MouseManagerTest, TopParentIsForeground) {
  CWnd frame, other;
  ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), L"frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                             200, nullptr, nullptr));
  ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), L"other", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr,
                             nullptr));
  HWND hChild = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, frame.m_hWnd,
                                  nullptr, nullptr, nullptr);
  HWND hOtherChild =
      ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, other.m_hWnd, nullptr, nullptr, nullptr);
  ::SetForegroundWindow(frame.m_hWnd);
  if (::GetForegroundWindow() == frame.m_hWnd) {
    EXPECT_TRUE(CXTPMouseManager::TopParentIsForeground(hChild));
    EXPECT_TRUE(CXTPMouseManager::TopParentIsForeground(frame.m_hWnd));
    EXPECT_FALSE(CXTPMouseManager::TopParentIsForeground(hOtherChild));
  }
  EXPECT_FALSE(CXTPMouseManager::TopParentIsForeground(nullptr));
  other.DestroyWindow();
  frame.DestroyWindow();
}

// Waits (pumping) until the window has been sent or posted WM_MOUSELEAVE.
bool WaitForLeave(MessageRecorder &recorder, size_t count, DWORD ms) {
  const DWORD start = ::GetTickCount();
  while (recorder.Count(WM_MOUSELEAVE) < count && ::GetTickCount() - start < ms) {
    PumpPendingMessages();
    ::Sleep(5);
  }
  return recorder.Count(WM_MOUSELEAVE) >= count;
}

TEST_F(MouseManagerTest, WatchMouseExit) {
  CWnd first, second;
  // The watch reads the window rectangles and the cursor only: hidden windows do.
  ASSERT_TRUE(first.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), L"first", WS_POPUP, 0, 0, 60, 60,
                             nullptr, nullptr));
  ASSERT_TRUE(second.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), L"second", WS_POPUP, 100, 0, 60, 60,
                              nullptr, nullptr));
  MessageRecorder firstLeaves(first.m_hWnd), secondLeaves(second.m_hWnd);
  firstLeaves.Watch(WM_MOUSELEAVE);
  secondLeaves.Watch(WM_MOUSELEAVE);

  // While the cursor stays over the window nothing happens.
  ::SetCursorPos(30, 30);
  m_pManager->WatchMouseExit(first.m_hWnd);
  m_pManager->WatchMouseExit(first.m_hWnd); // the same window: no notice
  EXPECT_EQ(m_pManager->GetWatchedWindow(), first.m_hWnd);
  bool cursorMoved = false;
  POINT pt;
  if (::GetCursorPos(&pt) && pt.x == 30 && pt.y == 30) {
    cursorMoved = true;
    EXPECT_FALSE(WaitForLeave(firstLeaves, 1, 200));
  }

  // Watching another window tells the first at once and ends its timer: it
  // must not end the new watch or tell the first window a second time.
  m_pManager->WatchMouseExit(second.m_hWnd);
  EXPECT_EQ(firstLeaves.Count(WM_MOUSELEAVE), 1u);
  if (cursorMoved) {
    ::SetCursorPos(130, 30); // over the second window
    WaitForLeave(firstLeaves, 2, 200);
    EXPECT_EQ(firstLeaves.Count(WM_MOUSELEAVE), 1u);
    EXPECT_EQ(m_pManager->GetWatchedWindow(), second.m_hWnd);
    EXPECT_EQ(secondLeaves.Count(WM_MOUSELEAVE), 0u);
  }

  // The cursor leaving: the watched window is told once and the watch ends.
  ::SetCursorPos(790, 590);
  EXPECT_TRUE(WaitForLeave(secondLeaves, 1, 1000));
  EXPECT_EQ(m_pManager->GetWatchedWindow(), nullptr);
  EXPECT_FALSE(WaitForLeave(secondLeaves, 2, 150));

  // A watched window destroyed meanwhile is forgotten without a notice.
  m_pManager->WatchMouseExit(first.m_hWnd);
  firstLeaves.Stop();
  first.DestroyWindow();
  m_pManager->WatchMouseExit(nullptr);
  EXPECT_EQ(m_pManager->GetWatchedWindow(), nullptr);
  second.DestroyWindow();
}

// A window that a click does not activate (activated windows are slow to
// destroy under Wine without a window manager).
class NoActivateWnd : public CWnd {
public:
  afx_msg int OnMouseActivate(CWnd *, UINT, UINT) { return MA_NOACTIVATE; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(NoActivateWnd, CWnd)
ON_WM_MOUSEACTIVATE()
END_MESSAGE_MAP()

// The installed hook: a real click elsewhere closes the tracked bar.
TEST_F(MouseManagerTest, InstalledHookSeesRealClicks) {
  FakeBar popup("popup", CRect(0, 20, 100, 120));
  NoActivateWnd target;
  ASSERT_TRUE(target.CreateEx(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, AfxRegisterWndClass(0), L"target",
                              WS_POPUP, 300, 200, 200, 150, nullptr, nullptr));
  target.ShowWindow(SW_SHOWNOACTIVATE);
  PumpPendingMessages();
  m_pManager->PushTrackedBar(&popup);
  ::SetCursorPos(400, 280);
  POINT pt;
  if (::GetCursorPos(&pt) && pt.x == 400 && ::WindowFromPoint(pt) == target.m_hWnd) {
    ::mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    ::mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    const DWORD start = ::GetTickCount();
    while (m_pManager->GetTrackedCount() > 0 && ::GetTickCount() - start < 1000) {
      PumpPendingMessages();
      ::Sleep(5);
    }
    EXPECT_EQ(m_pManager->GetTrackedCount(), 0);
    EXPECT_NE(std::find(g_log.begin(), g_log.end(), "popup closed"), g_log.end());
  }
  m_pManager->DropTrackedBar(&popup);
  target.DestroyWindow();
}

} // namespace
