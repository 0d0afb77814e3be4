// Binding of C++ objects to window handles, self-deleting windows, and the
// reflection of notifications back to the control that sent them.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "Framework.h"

namespace {

const UINT kUserMessage = WM_APP + 7;
const UINT kRegisteredMessage = ::RegisterWindowMessage(L"QvWndTestRegistered");

// Records the messages the map sees, from the first one on.
class RecordingWnd : public CWnd {
public:
  std::vector<UINT> m_seen;
  HWND m_hWndInCreate = nullptr;
  LRESULT m_lRegisteredArg = 0;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    m_seen.push_back(message);
    return CWnd::WindowProc(message, wParam, lParam);
  }
  afx_msg int OnCreate(LPCREATESTRUCT lpcs) {
    m_hWndInCreate = m_hWnd;
    return CWnd::OnCreate(lpcs);
  }
  afx_msg LRESULT OnUser(WPARAM wParam, LPARAM lParam) { return (LRESULT)(wParam + lParam); }
  afx_msg LRESULT OnRegistered(WPARAM wParam, LPARAM) {
    m_lRegisteredArg = (LRESULT)wParam;
    return 1;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RecordingWnd, CWnd)
ON_WM_CREATE()
ON_MESSAGE(kUserMessage, OnUser)
ON_REGISTERED_MESSAGE(kRegisteredMessage, OnRegistered)
END_MESSAGE_MAP()

TEST(HandleMap, ObjectIsBoundBeforeTheFirstMessage) {
  RecordingWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), L"rec", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr));
  ASSERT_FALSE(wnd.m_seen.empty());
  // Nothing the window got before WM_NCCREATE was lost, and OnCreate saw the handle.
  bool bSawNcCreate = false;
  for (UINT m : wnd.m_seen) bSawNcCreate |= m == WM_NCCREATE;
  EXPECT_TRUE(bSawNcCreate);
  EXPECT_EQ(wnd.m_hWndInCreate, wnd.m_hWnd);
  EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
  EXPECT_EQ(wnd.SendMessage(kUserMessage, 3, 4), 7);
  EXPECT_EQ(wnd.SendMessage(kRegisteredMessage, 9, 0), 1);
  EXPECT_EQ(wnd.m_lRegisteredArg, 9);
  HWND hWnd = wnd.m_hWnd;
  EXPECT_TRUE(wnd.DestroyWindow());
  EXPECT_EQ(wnd.m_hWnd, nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST(HandleMap, AttachDetachAndTemporaries) {
  HWND hWnd =
      ::CreateWindow(L"STATIC", L"x", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(hWnd, nullptr);
  CWnd *pTemp = CWnd::FromHandle(hWnd);
  ASSERT_NE(pTemp, nullptr);
  EXPECT_EQ(CWnd::FromHandle(hWnd), pTemp) << "one temporary per handle";
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
  {
    CWnd wnd;
    ASSERT_TRUE(wnd.Attach(hWnd));
    EXPECT_EQ(CWnd::FromHandle(hWnd), &wnd) << "the permanent object replaces the temporary";
    CWnd other;
    EXPECT_FALSE(other.Attach(hWnd)) << "a handle has one object";
    EXPECT_EQ(wnd.Detach(), hWnd);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
  }
  EXPECT_TRUE(::IsWindow(hWnd)) << "a detached object leaves the window alone";
  CWnd::DeleteTempMap();
  ::DestroyWindow(hWnd);
  EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
  CWnd *pNull = CWnd::FromHandle(nullptr); // classic code asks a null object for its handle
  EXPECT_EQ(pNull->GetSafeHwnd(), nullptr);
}

TEST(HandleMap, SubclassAndUnsubclassRestoreTheProcedure) {
  HWND hWnd = ::CreateWindow(L"EDIT", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  LONG_PTR original = ::GetWindowLongPtr(hWnd, GWLP_WNDPROC);
  RecordingWnd wnd;
  ASSERT_TRUE(wnd.SubclassWindow(hWnd));
  EXPECT_EQ(wnd.SendMessage(kUserMessage, 1, 1), 2);
  wnd.SetWindowText(L"abc"); // the edit control's own procedure still does the work
  CString text;
  wnd.GetWindowText(text);
  EXPECT_EQ(text, L"abc");
  EXPECT_EQ(wnd.UnsubclassWindow(), hWnd);
  EXPECT_EQ(::GetWindowLongPtr(hWnd, GWLP_WNDPROC), original);
  ::DestroyWindow(hWnd);
}

// A window object that owns itself.
class SelfDeletingWnd : public CWnd {
public:
  explicit SelfDeletingWnd(bool *pDeleted) : m_pDeleted(pDeleted) {}
  ~SelfDeletingWnd() override { *m_pDeleted = true; }

protected:
  void PostNcDestroy() override { delete this; }
  bool *m_pDeleted;
};

TEST(PostNcDestroy, SelfDeletingObjectsGoWithTheirWindow) {
  // Destroyed directly, destroyed with its parent, and never created at all.
  bool bDirect = false, bWithParent = false, bFailed = false;
  auto *pDirect = new SelfDeletingWnd(&bDirect);
  ASSERT_TRUE(
      pDirect->CreateEx(0, AfxRegisterWndClass(0), L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
  pDirect->DestroyWindow();
  EXPECT_TRUE(bDirect);

  CWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
  auto *pChild = new SelfDeletingWnd(&bWithParent);
  ASSERT_TRUE(pChild->Create(nullptr, L"", WS_CHILD, CRect(0, 0, 5, 5), &parent, 1));
  parent.DestroyWindow();
  EXPECT_TRUE(bWithParent);

  auto *pFailed = new SelfDeletingWnd(&bFailed);
  EXPECT_FALSE(pFailed->CreateEx(0, L"QvNoSuchClass", L"", WS_OVERLAPPED, 0, 0, 1, 1, nullptr, nullptr));
  EXPECT_TRUE(bFailed) << "a window that never existed still frees its object";
}

// --- reflection ----------------------------------------------------------

class ReflectingControl : public CWnd {
public:
  int m_nClicks = 0, m_nNotifies = 0, m_nDraws = 0;
  BOOL m_bPassClicksOn = FALSE;
  HBRUSH m_hBrush = ::GetSysColorBrush(COLOR_HIGHLIGHT);

  afx_msg BOOL OnClicked() {
    m_nClicks++;
    return !m_bPassClicksOn;
  }
  afx_msg void OnNotifyClick(NMHDR *, LRESULT *pResult) {
    m_nNotifies++;
    *pResult = 42;
  }
  afx_msg void DrawItem(LPDRAWITEMSTRUCT) { m_nDraws++; }
  afx_msg HBRUSH CtlColor(CDC *, UINT) { return m_hBrush; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ReflectingControl, CWnd)
ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClicked)
ON_NOTIFY_REFLECT(NM_CLICK, OnNotifyClick)
ON_WM_DRAWITEM_REFLECT()
ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

const int kControlId = 77;

class ParentWnd : public CWnd {
public:
  int m_nClicks = 0, m_nNotifies = 0, m_nDraws = 0;
  afx_msg void OnClicked() { m_nClicks++; }
  afx_msg void OnNotifyClick(NMHDR *, LRESULT *) { m_nNotifies++; }
  afx_msg void OnDrawItem(int, LPDRAWITEMSTRUCT) { m_nDraws++; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ParentWnd, CWnd)
ON_BN_CLICKED(kControlId, OnClicked)
ON_NOTIFY(NM_CLICK, kControlId, OnNotifyClick)
ON_WM_DRAWITEM()
END_MESSAGE_MAP()

class Reflection : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(
        m_parent.CreateEx(0, AfxRegisterWndClass(0), L"", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr));
    ASSERT_TRUE(m_control.Create(L"BUTTON", L"b", WS_CHILD | BS_OWNERDRAW, CRect(0, 0, 20, 20), &m_parent,
                                 kControlId));
  }
  ParentWnd m_parent;
  ReflectingControl m_control;
};

TEST_F(Reflection, ControlClassSeesItsNotificationsFirst) {
  m_parent.SendMessage(WM_COMMAND, MAKEWPARAM(kControlId, BN_CLICKED), (LPARAM)m_control.m_hWnd);
  EXPECT_EQ(m_control.m_nClicks, 1);
  EXPECT_EQ(m_parent.m_nClicks, 0);
  // A reflected _EX handler that declines lets the parent have it.
  m_control.m_bPassClicksOn = TRUE;
  m_parent.SendMessage(WM_COMMAND, MAKEWPARAM(kControlId, BN_CLICKED), (LPARAM)m_control.m_hWnd);
  EXPECT_EQ(m_control.m_nClicks, 2);
  EXPECT_EQ(m_parent.m_nClicks, 1);

  NMHDR nmhdr = {m_control.m_hWnd, (UINT_PTR)kControlId, (UINT)NM_CLICK};
  EXPECT_EQ(m_parent.SendMessage(WM_NOTIFY, kControlId, (LPARAM)&nmhdr), 42);
  EXPECT_EQ(m_control.m_nNotifies, 1);
  EXPECT_EQ(m_parent.m_nNotifies, 0);
}

TEST_F(Reflection, OwnerDrawAndColoursGoToTheControl) {
  DRAWITEMSTRUCT dis = {};
  dis.CtlType = ODT_BUTTON;
  dis.CtlID = kControlId;
  dis.hwndItem = m_control.m_hWnd;
  EXPECT_EQ(m_parent.SendMessage(WM_DRAWITEM, kControlId, (LPARAM)&dis), TRUE);
  EXPECT_EQ(m_control.m_nDraws, 1);
  EXPECT_EQ(m_parent.m_nDraws, 0);
  // A menu item is the parent's own business.
  dis.CtlType = ODT_MENU;
  dis.hwndItem = nullptr;
  m_parent.SendMessage(WM_DRAWITEM, 0, (LPARAM)&dis);
  EXPECT_EQ(m_parent.m_nDraws, 1);

  HDC hDC = ::GetDC(m_control.m_hWnd);
  LRESULT hbr = m_parent.SendMessage(WM_CTLCOLORBTN, (WPARAM)hDC, (LPARAM)m_control.m_hWnd);
  EXPECT_EQ((HBRUSH)hbr, m_control.m_hBrush);
  ::ReleaseDC(m_control.m_hWnd, hDC);
}

} // namespace

namespace {

// Windows that note, in one list, each time they get the user message.
std::vector<HWND> g_reached;

class ReachedWnd : public CWnd {
public:
  afx_msg LRESULT OnUser(WPARAM, LPARAM) {
    g_reached.push_back(m_hWnd);
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ReachedWnd, CWnd)
ON_MESSAGE(kUserMessage, OnUser)
END_MESSAGE_MAP()

LRESULT CALLBACK PlainReachedProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kUserMessage) g_reached.push_back(hWnd);
  return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

} // namespace

// The frame's idle update reaches its bars through this walk.
TEST(SendMessageToDescendants, ReachesTheWindowsBelowParentsFirstDeepOrNotPermanentOrNot) {
  ReachedWnd root, a, a1, b1;
  const LPCTSTR lpszClass = AfxRegisterWndClass(0);
  ASSERT_TRUE(root.CreateEx(0, lpszClass, L"root", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
  ASSERT_TRUE(a.CreateEx(0, lpszClass, L"a", WS_CHILD, 0, 0, 10, 10, root.m_hWnd, nullptr));
  ASSERT_TRUE(a1.CreateEx(0, lpszClass, L"a1", WS_CHILD, 0, 0, 5, 5, a.m_hWnd, nullptr));
  WNDCLASSW plainClass = {};
  plainClass.lpfnWndProc = PlainReachedProc;
  plainClass.hInstance = ::GetModuleHandleW(nullptr);
  plainClass.lpszClassName = L"QvWndTestPlainReached";
  ::RegisterClassW(&plainClass);
  // A window without an object of its own, with a child that has one.
  HWND b = ::CreateWindowExW(0, plainClass.lpszClassName, L"b", WS_CHILD, 20, 0, 10, 10, root.m_hWnd, nullptr,
                             plainClass.hInstance, nullptr);
  ASSERT_NE(nullptr, b);
  ASSERT_TRUE(b1.CreateEx(0, lpszClass, L"b1", WS_CHILD, 0, 0, 5, 5, b, nullptr));

  const struct {
    BOOL bDeep, bOnlyPerm;
    std::vector<HWND> expected; // in any order, parents before their children
  } cases[] = {
      {TRUE, TRUE, {a.m_hWnd, a1.m_hWnd, b1.m_hWnd}},
      {TRUE, FALSE, {a.m_hWnd, a1.m_hWnd, b, b1.m_hWnd}},
      {FALSE, TRUE, {a.m_hWnd}},
      {FALSE, FALSE, {a.m_hWnd, b}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << "deep " << c.bDeep << ", only permanent " << c.bOnlyPerm);
    g_reached.clear();
    root.SendMessageToDescendants(kUserMessage, 0, 0, c.bDeep, c.bOnlyPerm);
    EXPECT_EQ(c.expected.size(), g_reached.size());
    const auto at = [](HWND hWnd) { return std::find(g_reached.begin(), g_reached.end(), hWnd); };
    for (HWND hWnd : c.expected) EXPECT_NE(g_reached.end(), at(hWnd));
    if (c.bDeep) {
      EXPECT_LT(at(a.m_hWnd), at(a1.m_hWnd));
      if (!c.bOnlyPerm) {
        EXPECT_LT(at(b), at(b1.m_hWnd));
      }
    }
  }
  b1.DestroyWindow();
  ::DestroyWindow(b);
  root.DestroyWindow();
}
