// Tooltips of the class layer: the tooltip control's tool records, and the
// framework's own filter, which serves a window that enables tooltips from
// pre-translation with its children as tools, and cancels tips on clicks
// and keys.
#include <gtest/gtest.h>

#include <string>

#include "Framework.h"
#include "WindowTestKit.h"

namespace {

// A top-level window with two buttons that answers the tooltip's text
// requests with the button's id; placed away from other tests' windows.
class CToolWindow : public CWnd {
public:
  BOOL Create() {
    LPCTSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW));
    // Shown without taking activation from the other test programs on the screen.
    if (!CreateEx(WS_EX_TOPMOST | WS_EX_NOACTIVATE, lpszClass, L"tools", WS_POPUP, 700, 800, 300, 100,
                  nullptr, nullptr))
      return FALSE;
    SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return m_first.Create(L"First", WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 40), this, 301) &&
           m_second.Create(L"Second", WS_CHILD | WS_VISIBLE, CRect(150, 10, 250, 40), this, 302);
  }
  CPoint ScreenCentre(const CWnd &child) const {
    CRect rc;
    child.GetWindowRect(&rc);
    return rc.CenterPoint();
  }

  CButton m_first, m_second;
  std::wstring m_text;

protected:
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT *pResult) override {
    auto *pInfo = reinterpret_cast<NMTTDISPINFOW *>(lParam);
    if (pInfo->hdr.code == TTN_GETDISPINFOW && (pInfo->uFlags & TTF_IDISHWND) != 0) {
      m_text = L"Button " + std::to_wstring(::GetDlgCtrlID(reinterpret_cast<HWND>(pInfo->hdr.idFrom)));
      pInfo->lpszText = const_cast<LPWSTR>(m_text.c_str());
      return TRUE;
    }
    return CWnd::OnNotify(wParam, lParam, pResult);
  }
};

class ToolTipTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(m_window.Create());
    m_window.EnableToolTips(TRUE);
  }
  static void TearDownTestSuite() { m_window.DestroyWindow(); }

  // A message that pre-translation sees, the cursor at its point.
  static BOOL Feed(HWND hWnd, UINT message, CPoint pt) {
    ::SetCursorPos(pt.x, pt.y);
    MSG msg = {hWnd, message, 0, 0, ::GetTickCount(), pt};
    return AfxPreTranslateMessage(&msg);
  }
  static CToolTipCtrl *ThreadToolTip() { return AfxGetThreadState()->pToolTip.get(); }

  static CToolWindow m_window;
};

CToolWindow ToolTipTest::m_window;

TEST_F(ToolTipTest, ControlKeepsToolsInThisBuildsRecordSize) {
  CToolTipCtrl tip;
  ASSERT_TRUE(tip.Create(&m_window));
  EXPECT_EQ(::GetWindow(tip.m_hWnd, GW_OWNER), m_window.m_hWnd);
  EXPECT_EQ(CToolTipCtrl::ToolInfoSize(), (UINT)TTTOOLINFOW_V2_SIZE);
  ASSERT_TRUE(tip.AddTool(&m_window, L"Rectangle tool", CRect(1, 2, 30, 40), 7));
  ASSERT_TRUE(tip.AddTool(&m_window.m_first, L"Window tool"));
  EXPECT_EQ(tip.GetToolCount(), 2);
  wchar_t buffer[80] = {};
  TTTOOLINFOW ti = {};
  ti.lpszText = buffer;
  ASSERT_TRUE(tip.GetToolInfo(ti, &m_window, 7));
  EXPECT_EQ(ti.cbSize, (UINT)TTTOOLINFOW_V2_SIZE);
  EXPECT_TRUE(::EqualRect(&ti.rect, CRect(1, 2, 30, 40)));
  EXPECT_STREQ(buffer, L"Rectangle tool");
  tip.UpdateTipText(L"Renamed", &m_window, 7);
  tip.SetToolRect(&m_window, 7, CRect(5, 5, 9, 9));
  ASSERT_TRUE(tip.GetToolInfo(ti, &m_window, 7));
  EXPECT_STREQ(buffer, L"Renamed");
  EXPECT_TRUE(::EqualRect(&ti.rect, CRect(5, 5, 9, 9)));
  ASSERT_TRUE(tip.GetToolInfo(ti, &m_window.m_first));
  EXPECT_NE(ti.uFlags & TTF_IDISHWND, 0u);
  tip.DelTool(&m_window, 7);
  EXPECT_EQ(tip.GetToolCount(), 1);
  tip.DestroyWindow();
}

TEST_F(ToolTipTest, ChildUnderTheCursorIsTheToolAndItsTipIsShown) {
  struct Case {
    const char *what;
    CWnd *pChild;
    INT_PTR nHit;
  };
  const Case cases[] = {{"first button", &m_window.m_first, 301},
                        {"second button", &m_window.m_second, 302},
                        {"between the buttons", nullptr, -1}};
  for (const Case &c : cases) {
    const CPoint pt = c.pChild != nullptr ? m_window.ScreenCentre(*c.pChild) : CPoint(830, 850);
    CPoint ptClient = pt;
    m_window.ScreenToClient(&ptClient);
    TTTOOLINFOW ti = {};
    ti.cbSize = CToolTipCtrl::ToolInfoSize();
    EXPECT_EQ(m_window.OnToolHitTest(ptClient, &ti), c.nHit) << c.what;
    EXPECT_EQ(ti.uId, reinterpret_cast<UINT_PTR>(c.pChild->GetSafeHwnd())) << c.what;
    // The messages go to the child; the window that enabled tooltips serves them.
    EXPECT_FALSE(Feed(c.pChild != nullptr ? c.pChild->m_hWnd : m_window.m_hWnd, WM_MOUSEMOVE, pt));
    ASSERT_NE(ThreadToolTip(), nullptr);
    const TTTOOLINFOW &last = AfxGetThreadState()->lastToolInfo;
    EXPECT_EQ(last.uId, ti.uId) << c.what;
    EXPECT_EQ(ThreadToolTip()->GetToolCount(), c.pChild != nullptr ? 1 : 0) << c.what;
    if (c.pChild == nullptr) continue;
    EXPECT_EQ(last.cbSize, CToolTipCtrl::ToolInfoSize());
    ThreadToolTip()->SetDelayTime(TTDT_INITIAL, 20);
    PumpFor(3000, ThreadToolTip()->m_hWnd);
    ASSERT_TRUE(ThreadToolTip()->IsWindowVisible()) << c.what;
    CString strTip;
    ThreadToolTip()->GetWindowText(strTip);
    EXPECT_STREQ(strTip, (L"Button " + std::to_wstring(c.nHit)).c_str());
  }
}

TEST_F(ToolTipTest, ClicksAndKeysCancelTheTipUntilTheToolChanges) {
  for (UINT message : {WM_LBUTTONDOWN, WM_RBUTTONDBLCLK, WM_KEYDOWN, WM_CHAR, WM_SYSKEYUP}) {
    Feed(m_window.m_hWnd, WM_MOUSEMOVE, CPoint(830, 850));
    const CPoint pt = m_window.ScreenCentre(m_window.m_first);
    Feed(m_window.m_first.m_hWnd, WM_MOUSEMOVE, pt);
    ThreadToolTip()->SetDelayTime(TTDT_INITIAL, 20);
    PumpFor(3000, ThreadToolTip()->m_hWnd);
    ASSERT_TRUE(ThreadToolTip()->IsWindowVisible()) << std::hex << message;
    Feed(m_window.m_first.m_hWnd, message, pt);
    PumpFor(50);
    EXPECT_FALSE(ThreadToolTip()->IsWindowVisible()) << std::hex << message;
    // Moving on the same tool does not bring it back.
    Feed(m_window.m_first.m_hWnd, WM_MOUSEMOVE, pt + CSize(1, 0));
    PumpFor(200);
    EXPECT_FALSE(ThreadToolTip()->IsWindowVisible()) << std::hex << message;
  }
}

TEST_F(ToolTipTest, WindowWithoutToolTipsIsLeftAlone) {
  CWnd plain;
  ASSERT_TRUE(plain.CreateEx(0, AfxRegisterWndClass(0), L"plain", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
  Feed(m_window.m_hWnd, WM_MOUSEMOVE, CPoint(830, 850)); // no tool
  const CPoint pt = m_window.ScreenCentre(m_window.m_second);
  m_window.EnableToolTips(FALSE);
  Feed(m_window.m_second.m_hWnd, WM_MOUSEMOVE, pt);
  EXPECT_EQ(AfxGetThreadState()->lastToolInfo.cbSize, 0u);
  m_window.EnableToolTips(TRUE);
  Feed(plain.m_hWnd, WM_MOUSEMOVE, CPoint(10, 10));
  EXPECT_EQ(AfxGetThreadState()->lastToolInfo.cbSize, 0u);
  plain.DestroyWindow();
}

TEST(RichEditCtrl, CreatesTheSystemsRichEditAndStreamsText) {
  CWnd parent;
  ASSERT_TRUE(
      parent.CreateEx(0, AfxRegisterWndClass(0), L"parent", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr));
  CRichEditCtrl edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | ES_MULTILINE | ES_READONLY, CRect(0, 0, 200, 100), &parent, 1));
  wchar_t szClass[64] = {};
  ::GetClassNameW(edit.m_hWnd, szClass, 64);
  EXPECT_EQ(_wcsicmp(szClass, CRichEditCtrl::WindowClassName()), 0) << szClass;
  const char rtf[] = "{\\rtf1 {\\b bold} plain}";
  struct Source {
    const char *p;
    LONG n;
  } source = {rtf, (LONG)sizeof(rtf) - 1};
  EDITSTREAM es = {reinterpret_cast<DWORD_PTR>(&source), 0,
                   [](DWORD_PTR cookie, LPBYTE buffer, LONG cb, LONG *pcb) -> DWORD {
                     auto *s = reinterpret_cast<Source *>(cookie);
                     *pcb = std::min(cb, s->n);
                     memcpy(buffer, s->p, *pcb);
                     s->p += *pcb;
                     s->n -= *pcb;
                     return 0;
                   }};
  EXPECT_GT(edit.StreamIn(SF_RTF, es), 0);
  CString strText;
  edit.GetWindowText(strText);
  EXPECT_STREQ(strText, L"bold plain");
  CHARFORMATW cf = {};
  cf.dwMask = CFM_COLOR;
  cf.crTextColor = RGB(10, 20, 30);
  EXPECT_TRUE(edit.SetDefaultCharFormat(cf));
  CHARFORMATW back = {};
  edit.GetDefaultCharFormat(back);
  EXPECT_EQ(back.crTextColor, RGB(10, 20, 30));
  EXPECT_EQ(edit.SetEventMask(ENM_REQUESTRESIZE), 0u);
  EXPECT_EQ(edit.GetEventMask(), (DWORD)ENM_REQUESTRESIZE);
  parent.DestroyWindow();
}

} // namespace
