// The MDI frame: children made inside its client, the active one followed,
// the window menu switched per child (through the client, so that a hook on
// it can take the switch), the layout that leaves the client beside the bars,
// and the child-frame icon query that only child frames answer.
#include <gtest/gtest.h>

#include <vector>

#include "Framework.h"
#include "WindowTestKit.h"

namespace {

// Records what the client is asked to set as the frame's menu.
class ClientMenuSpy : public CWndPreHandler {
public:
  std::vector<HMENU> m_set;
  BOOL OnPreHandleMessage(HWND, UINT message, WPARAM &wParam, LPARAM &, LRESULT &) override {
    if (message == WM_MDISETMENU) m_set.push_back(reinterpret_cast<HMENU>(wParam));
    return FALSE;
  }
};

HMENU MakeMenu(LPCWSTR lpszFirst) {
  HMENU hMenu = ::CreateMenu();
  HMENU hPopup = ::CreatePopupMenu();
  ::AppendMenuW(hPopup, MF_STRING, 100, L"Item");
  ::AppendMenuW(hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(hPopup), lpszFirst);
  return hMenu;
}

class MDIFrame : public ::testing::Test {
protected:
  void SetUp() override {
    m_frame = new CMDIFrameWnd;
    m_hMenuDefault = MakeMenu(L"&File");
    ASSERT_TRUE(m_frame->CreateEx(0, AfxRegisterWndClass(0), L"MDI", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
                                  0, 600, 400, nullptr, m_hMenuDefault));
    m_frame->m_hMenuDefault = m_hMenuDefault;
    ASSERT_NE(m_frame->m_hWndMDIClient, nullptr);
  }
  void TearDown() override {
    if (m_frame->m_hWnd != nullptr) m_frame->DestroyWindow(); // deletes the frame
    for (HMENU h : m_menus) ::DestroyMenu(h);
  }
  CMDIChildWnd *AddChild(HMENU hMenuShared, DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW) {
    auto *pChild = new CMDIChildWnd;
    pChild->m_hMenuShared = hMenuShared;
    if (!pChild->Create(nullptr, L"child", dwStyle, CRect(0, 0, 200, 150), m_frame)) return nullptr;
    return pChild;
  }
  HMENU OwnedMenu(LPCWSTR lpszFirst) {
    m_menus.push_back(MakeMenu(lpszFirst));
    return m_menus.back();
  }

  CMDIFrameWnd *m_frame = nullptr;
  HMENU m_hMenuDefault = nullptr;
  std::vector<HMENU> m_menus;
};

TEST_F(MDIFrame, ChildrenAreMadeInTheClientAndTheLastOneIsActive) {
  EXPECT_EQ(m_frame->MDIGetActive(), nullptr);
  CMDIChildWnd *pFirst = AddChild(nullptr);
  CMDIChildWnd *pSecond = AddChild(nullptr);
  ASSERT_NE(pFirst, nullptr);
  ASSERT_NE(pSecond, nullptr);
  EXPECT_EQ(::GetParent(pFirst->m_hWnd), m_frame->m_hWndMDIClient);
  EXPECT_EQ(pFirst->GetMDIFrame(), m_frame);
  BOOL bMaximized = TRUE;
  EXPECT_EQ(m_frame->MDIGetActive(&bMaximized), pSecond);
  EXPECT_FALSE(bMaximized);
  EXPECT_EQ(m_frame->GetActiveFrame(), pSecond);

  pFirst->MDIActivate();
  EXPECT_EQ(m_frame->MDIGetActive(), pFirst);
  pFirst->MDIMaximize();
  EXPECT_EQ(m_frame->MDIGetActive(&bMaximized), pFirst);
  EXPECT_TRUE(bMaximized);
  pFirst->MDIRestore();
  m_frame->MDIGetActive(&bMaximized);
  EXPECT_FALSE(bMaximized);

  // Destroying goes through the client, which activates the one left.
  pFirst->MDIDestroy();
  EXPECT_EQ(m_frame->MDIGetActive(), pSecond);
  pSecond->DestroyWindow();
  EXPECT_EQ(m_frame->MDIGetActive(), nullptr);
  EXPECT_EQ(m_frame->GetActiveFrame(), m_frame);
}

TEST_F(MDIFrame, TheMenuFollowsTheActiveChildThroughTheClient) {
  ClientMenuSpy spy;
  ASSERT_TRUE(AfxAddPreHandler(m_frame->m_hWndMDIClient, &spy));
  const HMENU hMenuText = OwnedMenu(L"&Text");
  const HMENU hMenuImage = OwnedMenu(L"&Image");
  CMDIChildWnd *pText = AddChild(hMenuText);
  ASSERT_NE(pText, nullptr);
  EXPECT_EQ(::GetMenu(m_frame->m_hWnd), hMenuText);
  CMDIChildWnd *pImage = AddChild(hMenuImage);
  ASSERT_NE(pImage, nullptr);
  EXPECT_EQ(::GetMenu(m_frame->m_hWnd), hMenuImage);
  // A child without a menu of its own shows the frame's.
  CMDIChildWnd *pPlain = AddChild(nullptr);
  ASSERT_NE(pPlain, nullptr);
  EXPECT_EQ(::GetMenu(m_frame->m_hWnd), m_hMenuDefault);
  pText->MDIActivate();
  EXPECT_EQ(::GetMenu(m_frame->m_hWnd), hMenuText);
  // Every switch was asked of the client.
  ASSERT_FALSE(spy.m_set.empty());
  EXPECT_EQ(spy.m_set.back(), hMenuText);

  // The last child gone, the frame's menu comes back.
  pPlain->MDIDestroy();
  pImage->MDIDestroy();
  pText->MDIDestroy();
  EXPECT_EQ(m_frame->MDIGetActive(), nullptr);
  EXPECT_EQ(::GetMenu(m_frame->m_hWnd), m_hMenuDefault);
  EXPECT_EQ(spy.m_set.back(), m_hMenuDefault);
  AfxRemovePreHandler(m_frame->m_hWndMDIClient, &spy);
}

TEST_F(MDIFrame, TheClientTakesWhatTheBarsLeave) {
  m_frame->RecalcLayout();
  CRect rcClient, rcMdi;
  m_frame->GetClientRect(&rcClient);
  ::GetWindowRect(m_frame->m_hWndMDIClient, &rcMdi);
  m_frame->ScreenToClient(&rcMdi);
  EXPECT_EQ(rcMdi, rcClient);
  // Resizing keeps it so: the default handling would not know of bars, the
  // layout does.
  m_frame->m_rectBorder = CRect(0, 30, 0, 0);
  m_frame->SetWindowPos(nullptr, 0, 0, 500, 300, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  m_frame->GetClientRect(&rcClient);
  ::GetWindowRect(m_frame->m_hWndMDIClient, &rcMdi);
  m_frame->ScreenToClient(&rcMdi);
  EXPECT_EQ(rcMdi.top, 30);
  EXPECT_EQ(rcMdi.bottom, rcClient.bottom);
}

TEST_F(MDIFrame, OnlyChildFramesAnswerTheIconQuery) {
  CMDIChildWnd *pChild = AddChild(nullptr);
  ASSERT_NE(pChild, nullptr);
  // The top-level frame is no child frame: 0 whatever its class icon.
  EXPECT_EQ(m_frame->SendMessage(WM_CHILDFRAMEICON), 0);
  const HICON hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
  auto *pIconChild = new CMDIChildWnd;
  ASSERT_TRUE(pIconChild->Create(AfxRegisterWndClass(0, nullptr, nullptr, hIcon), L"icon",
                                 WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(0, 0, 100, 100),
                                 m_frame));
  // The class's small icon (the system makes one from the large icon).
  const HICON hAnswer = reinterpret_cast<HICON>(pIconChild->SendMessage(WM_CHILDFRAMEICON));
  EXPECT_NE(hAnswer, nullptr);
  EXPECT_EQ(hAnswer, reinterpret_cast<HICON>(::GetClassLongPtrW(pIconChild->m_hWnd, GCLP_HICONSM)));
}

TEST_F(MDIFrame, CommandsReachTheActiveChildFirst) {
  struct Counting : CMDIChildWnd {
    int m_nRuns = 0;
    BOOL OnCmdMsg(UINT nID, int nCode, void *pExtra, AFX_CMDHANDLERINFO *pInfo) override {
      if (nID == 4242 && nCode == CN_COMMAND && pExtra == nullptr && pInfo == nullptr) {
        m_nRuns++;
        return TRUE;
      }
      return CMDIChildWnd::OnCmdMsg(nID, nCode, pExtra, pInfo);
    }
  };
  auto *pChild = new Counting;
  ASSERT_TRUE(pChild->Create(nullptr, L"c", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                             CRect(0, 0, 100, 100), m_frame));
  m_frame->SendMessage(WM_COMMAND, 4242, 0);
  EXPECT_EQ(pChild->m_nRuns, 1);
}

TEST(MDIChild, CreationWithoutAnMDIFrameFails) {
  auto *pChild = new CMDIChildWnd; // deletes itself on failure
  EXPECT_FALSE(
      pChild->Create(nullptr, L"orphan", WS_CHILD | WS_OVERLAPPEDWINDOW, CRect(0, 0, 10, 10), nullptr));
}

} // namespace
