// The toolkit's context menus in a program whose frame has command bars: the
// column header's right-click menu is a command-bar popup with the header
// menu's pictures, and what is chosen in it sorts the column.
// Without command bars the menu would be the system's.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <vector>

#include "../../Common/tests/MemoryCanvas.h"
#include "ListCtrl.h"
#include "WinApp.h"
#include "XTHeaderCtrl.h"
#include "XTHeaderTheme.h"
#include "XTPCommandBars.h"
#include "XTPDefaultTheme.h"
#include "XTPFrameWnd.h"
#include "XTPImageManager.h"
#include "XTPPopupBar.h"
#include "XTPResource.h"

namespace {

class MenuApp : public CWinApp {
public:
  MenuApp() : CWinApp(L"QvPopupContextMenuTest") {}
};
MenuApp theApp;

// What the popup loop does on each call for a message.
std::function<BOOL(MSG *)> g_feed;
BOOL FeedMessage(MSG *pMsg) {
  return g_feed(pMsg);
}

// The popup bar the menu shows: the thread's visible popup window.
CXTPPopupBar *ShownPopup() {
  CXTPPopupBar *pFound = nullptr;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND hWnd, LPARAM lParam) -> BOOL {
        auto *pPopup = dynamic_cast<CXTPPopupBar *>(CWnd::FromHandlePermanent(hWnd));
        if (pPopup == nullptr || !::IsWindowVisible(hWnd)) return TRUE;
        *reinterpret_cast<CXTPPopupBar **>(lParam) = pPopup;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&pFound));
  return pFound;
}

class PopupContextMenu : public testing::Test {
protected:
  void SetUp() override {
    m_pFrame = new CXTPFrameWnd; // frames delete themselves when destroyed
    ASSERT_TRUE(m_pFrame->CreateEx(0, AfxRegisterWndClass(0), L"frame", WS_POPUP | WS_BORDER, 0, 0, 500, 400,
                                   nullptr, nullptr));
    ASSERT_TRUE(m_pFrame->InitCommandBars());
    m_pFrame->GetCommandBars()->SetPaintManager(new CXTPDefaultTheme);
    theApp.m_pMainWnd = m_pFrame;
    ASSERT_TRUE(m_list.CreateEx(0, WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 400, 300), m_pFrame, 200));
    m_list.InsertColumn(0, L"Name", LVCFMT_LEFT, 100);
    m_list.InsertColumn(1, L"Size", LVCFMT_LEFT, 80);
    ASSERT_TRUE(m_header.SubclassWindow(::GetDlgItem(m_list.m_hWnd, 0)));
    m_header.SetTheme(new CXTHeaderTheme);
    m_pFrame->SetWindowPos(nullptr, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    CXTPCommandBars::SetGetMessageFunction(&FeedMessage);
  }
  void TearDown() override {
    CXTPCommandBars::SetGetMessageFunction(nullptr);
    g_feed = nullptr;
    theApp.m_pMainWnd = nullptr;
    if (m_pFrame != nullptr) m_pFrame->DestroyWindow();
  }
  // Right-clicks column 1 and, in the popup, clicks the command given (0:
  // none, the menu is closed with Escape); what the popup held is kept.
  void ChooseFromMenu(UINT nCommand) {
    m_captions.clear();
    m_nPictured = 0;
    m_bShownAsPopupBar = false;
    int nCalls = 0;
    g_feed = [&](MSG *pMsg) -> BOOL {
      if (++nCalls > 1) return -1; // the popup did not close: end the loop
      CXTPPopupBar *pPopup = ShownPopup();
      *pMsg = MSG{m_pFrame->GetSafeHwnd(), WM_NULL, 0, 0, 0, {0, 0}};
      if (pPopup == nullptr) return TRUE;
      m_bShownAsPopupBar = true;
      CRect rcClient;
      pPopup->GetClientRect(&rcClient);
      MemoryCanvas canvas(rcClient.Width(), rcClient.Height());
      pPopup->DrawCommandBar(&canvas.dc, rcClient);
      CXTPControl *pChosen = nullptr;
      for (int i = 0; i < pPopup->GetControlCount(); i++) {
        CXTPControl *pControl = pPopup->GetControl(i);
        m_captions.push_back(pControl->GetCaption());
        if (static_cast<UINT>(pControl->GetID()) == nCommand) pChosen = pControl;
        if (CXTPCommandBar *pSub = pControl->GetCommandBar())
          m_bSubMenuPictured = pSub->GetImageManager()->GetImage(XT_IDC_ALIGNRIGHT, 16) != nullptr;
        // A picture: colours other than the menu's in the row's icon column.
        const CRect rc = pControl->GetRect();
        int nColoured = 0;
        for (int y = rc.top + 2; y < rc.bottom - 2; y++)
          for (int x = rc.left + 2; x < rc.left + 20; x++) {
            const COLORREF clr = canvas.Pixel(x, y);
            nColoured += GetRValue(clr) != GetGValue(clr) || GetGValue(clr) != GetBValue(clr) ? 1 : 0;
          }
        if (nColoured > 4) m_nPictured++;
      }
      if (pChosen != nullptr) {
        const CPoint pt = pChosen->GetRect().CenterPoint();
        ::SendMessageW(pPopup->GetSafeHwnd(), WM_RBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
      } else {
        pPopup->SetTrackingMode(FALSE);
      }
      return TRUE;
    };
    CRect rc;
    m_header.GetItemRect(1, &rc);
    m_header.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(rc.CenterPoint().x, rc.CenterPoint().y));
    // The command reaches the header through the thread's queue.
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
  }

  CXTPFrameWnd *m_pFrame = nullptr;
  CListCtrl m_list;
  CXTHeaderCtrl m_header;
  std::vector<CString> m_captions;
  int m_nPictured = 0;
  bool m_bShownAsPopupBar = false;
  bool m_bSubMenuPictured = false;
};

TEST_F(PopupContextMenu, TheHeaderMenuIsACommandBarPopupWithItsPictures) {
  ChooseFromMenu(0);
  ASSERT_TRUE(m_bShownAsPopupBar);
  const std::vector<CString> expected = {L"Sort Ascending", L"Sort Descending", L"Alignment"};
  EXPECT_EQ(m_captions, expected);
  EXPECT_EQ(m_nPictured, 2) << "the two sort commands carry the header menu's pictures";
  EXPECT_TRUE(m_bSubMenuPictured) << "and so do the alignment commands of the sub-menu";
}

TEST_F(PopupContextMenu, TheSortCommandsChosenSortTheColumn) {
  BOOL bAscending = TRUE;
  ChooseFromMenu(XT_IDC_SORTDSC);
  EXPECT_EQ(m_header.ReadSortedColumn(&bAscending), 1);
  EXPECT_FALSE(bAscending);
  ChooseFromMenu(XT_IDC_SORTASC);
  EXPECT_EQ(m_header.ReadSortedColumn(&bAscending), 1);
  EXPECT_TRUE(bAscending);
}

TEST(PopupContextMenuFrames, OnlyAFrameBoundToCommandBarsHasThem) {
  auto *pFrame = new CXTPFrameWnd;
  ASSERT_TRUE(
      pFrame->CreateEx(0, AfxRegisterWndClass(0), L"frame", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
  EXPECT_EQ(XTPGetFrameCommandBars(pFrame), nullptr);
  ASSERT_TRUE(pFrame->InitCommandBars());
  EXPECT_EQ(XTPGetFrameCommandBars(pFrame), pFrame->GetCommandBars());
  CWnd plain;
  EXPECT_EQ(XTPGetFrameCommandBars(&plain), nullptr);
  EXPECT_EQ(XTPGetFrameCommandBars(nullptr), nullptr);
  pFrame->DestroyWindow();
}

} // namespace
