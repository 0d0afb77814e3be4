// Drives the smoke program by messages: the frame and its panes, a resize, the
// modal dialog (from the menu command and from its accelerator), the wizard
// through Next and Finish, a command its update handler disables, and closing.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "SmokeApp.h"

namespace {

CSmokeApp theApp;

// Steps run one by one from a thread timer while a modal loop is running.
std::vector<std::function<bool()>> &Steps() {
  static std::vector<std::function<bool()>> steps;
  return steps;
}

int &Tries() {
  static int nTries = 0;
  return nTries;
}

void CALLBACK RunNextStep(HWND, UINT, UINT_PTR idEvent, DWORD) {
  auto &steps = Steps();
  // A step that cannot act yet (its window is not up) is tried again, for a
  // while; a step that never can ends the modal loop so the test fails instead of hanging.
  if (!steps.empty() && steps.front()()) {
    steps.erase(steps.begin());
    Tries() = 0;
  } else if (++Tries() > 100) {
    ADD_FAILURE() << "a step never found its window";
    steps.clear();
    ::PostQuitMessage(0);
  }
  if (steps.empty()) ::KillTimer(nullptr, idEvent);
}

void RunWithSteps(const std::function<void()> &action, std::vector<std::function<bool()>> steps) {
  Steps() = std::move(steps);
  Tries() = 0;
  UINT_PTR nTimer = ::SetTimer(nullptr, 0, 100, RunNextStep);
  action();
  ::KillTimer(nullptr, nTimer);
  Steps().clear();
}

// The modal window the main frame is waiting on.
HWND ModalPopup() {
  CWnd *pMainWnd = AfxGetMainWnd();
  if (pMainWnd == nullptr) return nullptr;
  struct Search {
    HWND hOwner;
    HWND hFound;
  } search = {pMainWnd->m_hWnd, nullptr};
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND hWnd, LPARAM lParam) -> BOOL {
        auto *p = reinterpret_cast<Search *>(lParam);
        if (::GetWindow(hWnd, GW_OWNER) != p->hOwner || !::IsWindowVisible(hWnd)) return TRUE;
        p->hFound = hWnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.hFound;
}

bool CloseDialogWith(UINT nID, LPCWSTR lpszName) {
  HWND hDlg = ModalPopup();
  if (hDlg == nullptr || !::IsWindowVisible(hDlg)) return false;
  ::SetDlgItemText(hDlg, IDC_SMOKE_NAME, lpszName);
  ::PostMessage(hDlg, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), (LPARAM)::GetDlgItem(hDlg, nID));
  return true;
}

bool PressWizardButton(int nButton) {
  HWND hSheet = ModalPopup();
  if (hSheet == nullptr || !::IsWindowVisible(hSheet)) return false;
  PropSheet_PressButton(hSheet, nButton);
  return true;
}

class Smoke : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(AfxWinInit(::GetModuleHandle(nullptr), nullptr, const_cast<LPTSTR>(L""), SW_SHOW));
    ASSERT_TRUE(theApp.InitInstance());
  }
  static CSmokeFrame *Frame() { return static_cast<CSmokeFrame *>(theApp.m_pMainWnd); }
};

TEST_F(Smoke, FrameHoldsSplitterWithTreeAndListAndStatusBar) {
  CSmokeFrame *pFrame = Frame();
  ASSERT_NE(pFrame, nullptr);
  ASSERT_TRUE(pFrame->IsKindOf(RUNTIME_CLASS(CSmokeFrame)));
  CWnd *pLeft = pFrame->m_wndSplitter.GetPane(0, 0);
  CWnd *pRight = pFrame->m_wndSplitter.GetPane(0, 1);
  ASSERT_NE(pLeft, nullptr);
  ASSERT_NE(pRight, nullptr);
  EXPECT_TRUE(pLeft->IsKindOf(RUNTIME_CLASS(CSmokeTreeView)));
  EXPECT_TRUE(pRight->IsKindOf(RUNTIME_CLASS(CSmokeListView)));
  EXPECT_EQ(static_cast<CSmokeTreeView *>(pLeft)->GetTreeCtrl().GetCount(), 4u);
  EXPECT_EQ(static_cast<CSmokeListView *>(pRight)->GetListCtrl().GetItemCount(), 3);
  EXPECT_EQ(pFrame->GetMessageBar(), &pFrame->m_wndStatusBar);
  EXPECT_EQ(pFrame->GetActiveView(), pLeft) << "the template's view is the active one";
  EXPECT_NE(pFrame->GetMenuHandle(), nullptr);
  EXPECT_NE(pFrame->m_hAccelTable, nullptr);
}

TEST_F(Smoke, ResizeLaysOutBarsAndPanes) {
  CSmokeFrame *pFrame = Frame();
  pFrame->MoveWindow(0, 0, 800, 600);
  CRect rcClient, rcStatus, rcSplitter, rcLeft, rcRight;
  pFrame->GetClientRect(&rcClient);
  pFrame->m_wndStatusBar.GetWindowRect(&rcStatus);
  pFrame->ScreenToClient(&rcStatus);
  pFrame->m_wndSplitter.GetWindowRect(&rcSplitter);
  pFrame->ScreenToClient(&rcSplitter);
  EXPECT_EQ(rcStatus.bottom, rcClient.bottom);
  EXPECT_EQ(rcSplitter.top, rcClient.top);
  EXPECT_EQ(rcSplitter.bottom, rcStatus.top) << "the splitter takes what the status bar leaves";
  EXPECT_EQ(rcSplitter.Width(), rcClient.Width());
  pFrame->m_wndSplitter.GetPane(0, 0)->GetWindowRect(&rcLeft);
  pFrame->m_wndSplitter.GetPane(0, 1)->GetWindowRect(&rcRight);
  EXPECT_EQ(rcLeft.Width(), 240);
  EXPECT_EQ(rcRight.left - rcLeft.right, pFrame->m_wndSplitter.GetSplitterBarSize());
  EXPECT_EQ(rcRight.right - rcLeft.left, rcSplitter.Width());

  // Dragging the bar 60 pixels to the right widens the tree.
  CWnd &splitter = pFrame->m_wndSplitter;
  int x = 240 + 2;
  splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 50));
  splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 60, 50));
  splitter.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x + 60, 50));
  pFrame->m_wndSplitter.GetPane(0, 0)->GetWindowRect(&rcLeft);
  EXPECT_EQ(rcLeft.Width(), 300);
}

TEST_F(Smoke, DialogOpensFromCommandAndAcceleratorAndReturnsItsData) {
  CSmokeFrame *pFrame = Frame();
  RunWithSteps([&] { pFrame->SendMessage(WM_COMMAND, ID_SMOKE_DIALOG); },
               {[] { return CloseDialogWith(IDOK, L"from menu"); }});
  EXPECT_EQ(pFrame->m_nLastDialogResult, IDOK);
  EXPECT_EQ(pFrame->m_strLastName, L"from menu");
  EXPECT_TRUE(pFrame->IsWindowEnabled());

  // F2 from the resource's accelerator table, through the thread's pre-translation.
  MSG msg = {pFrame->m_hWnd, WM_KEYDOWN, VK_F2, 0x003C0001, 0, {0, 0}};
  RunWithSteps([&] { EXPECT_TRUE(AfxPreTranslateMessage(&msg)); },
               {[] { return CloseDialogWith(IDCANCEL, L"ignored"); }});
  EXPECT_EQ(pFrame->m_nLastDialogResult, IDCANCEL);
}

TEST_F(Smoke, WizardGoesNextAndFinish) {
  CSmokeFrame *pFrame = Frame();
  RunWithSteps(
      [&] { pFrame->SendMessage(WM_COMMAND, ID_SMOKE_WIZARD); },
      {[] { return PressWizardButton(PSBTN_NEXT); }, [] { return PressWizardButton(PSBTN_FINISH); }});
  EXPECT_EQ(pFrame->m_nLastWizardResult, ID_WIZFINISH);
  EXPECT_EQ(pFrame->m_nPage2Activations, 1);
  EXPECT_TRUE(pFrame->IsWindowEnabled());
}

TEST_F(Smoke, CommandDisabledByItsUpdateHandlerNeverRuns) {
  CSmokeFrame *pFrame = Frame();
  MSG msg = {pFrame->m_hWnd, WM_KEYDOWN, VK_F4, 0x003E0001, 0, {0, 0}};
  AfxPreTranslateMessage(&msg);
  pFrame->SendMessage(WM_COMMAND, ID_SMOKE_NEVER);
  EXPECT_EQ(pFrame->m_nNeverRuns, 0);
  // The idle pass runs without trouble over the bars.
  theApp.OnIdle(0);
  theApp.OnIdle(1);
}

TEST_F(Smoke, ClosingTheFrameEndsTheProgram) {
  CSmokeFrame *pFrame = Frame();
  HWND hWnd = pFrame->m_hWnd;
  pFrame->SendMessage(WM_CLOSE);
  EXPECT_FALSE(::IsWindow(hWnd));
  EXPECT_EQ(theApp.m_pMainWnd, nullptr);
  MSG msg;
  bool bQuit = false;
  while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) bQuit |= msg.message == WM_QUIT;
  EXPECT_TRUE(bQuit) << "the main window's end posts the quit message";
}

} // namespace
