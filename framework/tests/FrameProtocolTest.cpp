// What a frame does for the bars it carries: floating bars (popups the frame
// owns) are told of its activation and enabling and can keep its caption
// active, the idle update reaches them, and a prompt a bar showed for a while
// is put back with WM_POPMESSAGESTRING.
#include <gtest/gtest.h>

#include <vector>

#include "Framework.h"
#include "WindowTestKit.h"

namespace {

// A popup standing for a floating bar: records WM_FLOATSTATUS and the idle
// update, and answers FS_SYNCACTIVE as told.
class FloatingWnd : public CWnd {
public:
  std::vector<WPARAM> m_status;
  int m_nIdleUpdates = 0;
  BOOL m_bSync = FALSE;

  BOOL CreateOwned(HWND hWndOwner, DWORD dwStyle = WS_POPUP) {
    return CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), L"floating", dwStyle, 0, 0, 40, 40, hWndOwner,
                    nullptr);
  }
  afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM) {
    if (wParam == FS_SYNCACTIVE) return m_bSync;
    m_status.push_back(wParam);
    return 0;
  }
  afx_msg LRESULT OnIdleUpdate(WPARAM, LPARAM) {
    m_nIdleUpdates++;
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(FloatingWnd, CWnd)
ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
END_MESSAGE_MAP()

class FrameProtocol : public FrameWithBar<CStatusBar> {
protected:
  void SetUp() override {
    FrameWithBar<CStatusBar>::SetUp();
    static const UINT kPanes[] = {ID_SEPARATOR};
    m_bar.SetIndicators(kPanes, 1);
    ASSERT_TRUE(m_floating.CreateOwned(m_frame->m_hWnd));
    ASSERT_TRUE(m_ownedByFloating.CreateOwned(m_floating.m_hWnd));
    ASSERT_TRUE(m_stranger.CreateOwned(nullptr));
  }
  void TearDown() override {
    for (FloatingWnd *p : {&m_ownedByFloating, &m_floating, &m_stranger}) p->DestroyWindow();
    FrameWithBar<CStatusBar>::TearDown();
  }
  void ClearStatus() {
    for (FloatingWnd *p : {&m_floating, &m_ownedByFloating, &m_stranger}) p->m_status.clear();
  }

  FloatingWnd m_floating, m_ownedByFloating, m_stranger;
};

TEST_F(FrameProtocol, FloatingBarsFollowTheFramesActivationAndEnabling) {
  const std::vector<WPARAM> kNone;
  struct Case {
    const char *name;
    BOOL bActiveBefore; // the frame is activated first (else the case goes on from the last)
    UINT message;
    WPARAM wParam;
    FloatingWnd *pOther; // the window the activation goes to or comes from
    BOOL bSync;          // the floating bar keeps in step with its owner
    std::vector<WPARAM> status;
    BOOL bStayActive;
  } cases[] = {
      {"activated", FALSE, WM_ACTIVATE, WA_ACTIVE, nullptr, FALSE, {FS_ACTIVATE}, FALSE},
      {"activation to another window",
       TRUE,
       WM_ACTIVATE,
       WA_INACTIVE,
       &m_stranger,
       TRUE,
       {FS_DEACTIVATE},
       FALSE},
      {"activation to a floating bar out of step",
       TRUE,
       WM_ACTIVATE,
       WA_INACTIVE,
       &m_floating,
       FALSE,
       {FS_DEACTIVATE},
       FALSE},
      {"activation to a floating bar in step", TRUE, WM_ACTIVATE, WA_INACTIVE, &m_floating, TRUE, kNone,
       TRUE},
      {"activation to a bar's own popup in step", TRUE, WM_ACTIVATE, WA_INACTIVE, &m_ownedByFloating, TRUE,
       kNone, TRUE},
      {"program deactivated from a floating bar",
       FALSE,
       WM_ACTIVATEAPP,
       FALSE,
       nullptr,
       TRUE,
       {FS_DEACTIVATE},
       FALSE},
      {"program deactivated, frame already inactive", FALSE, WM_ACTIVATEAPP, FALSE, nullptr, TRUE, kNone,
       FALSE},
      {"disabled", FALSE, WM_ENABLE, FALSE, nullptr, FALSE, {FS_DISABLE}, FALSE},
      {"enabled", FALSE, WM_ENABLE, TRUE, nullptr, FALSE, {FS_ENABLE}, FALSE},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    if (c.bActiveBefore) m_frame->SendMessage(WM_ACTIVATE, WA_ACTIVE);
    ClearStatus();
    m_floating.m_bSync = m_ownedByFloating.m_bSync = c.bSync;
    const LPARAM lParam = c.pOther != nullptr ? reinterpret_cast<LPARAM>(c.pOther->m_hWnd) : 0;
    m_frame->SendMessage(c.message, c.wParam, lParam);
    EXPECT_EQ(m_floating.m_status, c.status);
    EXPECT_EQ(m_ownedByFloating.m_status, c.status);
    EXPECT_EQ(m_stranger.m_status, kNone);
    EXPECT_EQ(m_frame->IsStayingActive(), c.bStayActive);
  }
}

TEST_F(FrameProtocol, TheIdleUpdateReachesVisibleOwnedPopupsAndTheirBars) {
  FloatingWnd barInFloating;
  ASSERT_TRUE(barInFloating.CreateEx(0, AfxRegisterWndClass(0), L"bar", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                                     m_floating.m_hWnd, nullptr));
  CWinThread thread;
  thread.m_pMainWnd = m_frame;
  m_frame->ShowWindow(SW_SHOWNOACTIVATE);
  for (BOOL bPopupVisible : {TRUE, FALSE}) {
    SCOPED_TRACE(bPopupVisible ? "popup shown" : "popup hidden");
    m_floating.ShowWindow(bPopupVisible ? SW_SHOWNOACTIVATE : SW_HIDE);
    m_floating.m_nIdleUpdates = barInFloating.m_nIdleUpdates = m_stranger.m_nIdleUpdates = 0;
    thread.OnIdle(0);
    EXPECT_EQ(m_floating.m_nIdleUpdates, bPopupVisible ? 1 : 0);
    EXPECT_EQ(barInFloating.m_nIdleUpdates, bPopupVisible ? 1 : 0);
    EXPECT_EQ(m_stranger.m_nIdleUpdates, 0);
  }
  thread.m_pMainWnd = nullptr;
  barInFloating.DestroyWindow();
}

TEST_F(FrameProtocol, APromptShownForAWhileIsPutBack) {
  EXPECT_EQ(m_frame->SendMessage(WM_SETMESSAGESTRING, 0xE001), 0);
  // A bar shows its prompt and keeps the answer: the id shown before.
  const LRESULT saved =
      m_frame->SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(L"Stops the search"));
  EXPECT_EQ(saved, 0xE001);
  EXPECT_EQ(m_bar.GetPaneText(0), CString(L"Stops the search"));
  EXPECT_EQ(m_frame->GetLastMessageId(), 0u);
  EXPECT_EQ(m_frame->SendMessage(WM_POPMESSAGESTRING, saved), 0);
  EXPECT_EQ(m_frame->GetLastMessageId(), 0xE001u);
  EXPECT_NE(m_bar.GetPaneText(0), CString(L"Stops the search"));
}

} // namespace
