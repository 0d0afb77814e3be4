// The customise sheet of the gallery's customisable frame: opened as the
// frame's Customize command opens it (made hidden here), a command dragged
// from its Commands page onto a bar, the context menu's commands on the copy,
// and the Toolbars page hiding and showing a bar.
//
// Drags take their messages from a feed: no cursor moves, no key is typed,
// and the sheet is never activated.
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <vector>

#include "CheckListBox.h"
#include "GalleryApp.h"
#include "GalleryBarStateSection.h"
#include "GalleryResource.h"
#include "GallerySections.h"
#include "XTPCommandBars.h"
#include "XTPControl.h"
#include "XTPControls.h"
#include "XTPCustomizeCommandsPage.h"
#include "XTPCustomizeTools.h"
#include "XTPCustomizeSheet.h"
#include "XTPCustomizeToolbarsPage.h"
#include "XTPFrameWnd.h"
#include "XTPResource.h"
#include "XTPToolBar.h"

namespace {

CGalleryApp theApp;

std::deque<MSG> g_feed;

BOOL FeedMessage(MSG *pMsg) {
  if (g_feed.empty()) {
    *pMsg = MSG{nullptr, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    return TRUE;
  }
  *pMsg = g_feed.front();
  g_feed.pop_front();
  return TRUE;
}

void PumpMessages() {
  MSG msg;
  while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessage(&msg);
  }
}

// The sheet's template loses WS_VISIBLE and is disabled while it is made,
// so the focus its pages take activates nothing.
int CALLBACK HiddenSheet(HWND, UINT uMsg, LPARAM lParam) {
  if (uMsg != PSCB_PRECREATE || lParam == 0) return 0;
  auto *pWords = reinterpret_cast<WORD *>(lParam);
  DWORD *pStyle =
      pWords[1] == 0xFFFF ? reinterpret_cast<DWORD *>(pWords + 6) : reinterpret_cast<DWORD *>(pWords);
  *pStyle = (*pStyle & ~WS_VISIBLE) | WS_DISABLED;
  return 0;
}

class GalleryCustomize : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(AfxWinInit(::GetModuleHandle(nullptr), nullptr, const_cast<LPTSTR>(L""), SW_SHOWNOACTIVATE));
    ASSERT_TRUE(theApp.InitInstance());
  }
  static CGalleryView &View() { return theApp.GetFrame()->m_wndView; }
  void SetUp() override {
    for (size_t i = 0; i < View().GetSectionCount(); i++)
      if (auto *p = dynamic_cast<CGalleryBarStateSection *>(View().GetSection(i))) {
        View().ShowSection(i);
        pSection = p;
      }
    ASSERT_NE(pSection, nullptr);
    pFrame = pSection->GetCustomFrame();
    ASSERT_NE(pFrame, nullptr);
    pBars = pFrame->GetCommandBars();
    pStandard = dynamic_cast<CXTPToolBar *>(pBars->GetAt(1));
    ASSERT_NE(pStandard, nullptr);
    PumpMessages();
    g_feed.clear();
  }
  void TearDown() override {
    CXTPCustomizeDragTool::SetGetMessageFunction(nullptr);
    if (pSheet && pSheet->GetSafeHwnd()) pSheet->DestroyWindow();
    pSheet.reset();
    PumpMessages();
  }
  void OpenSheet(int nPage) {
    pSheet = CGalleryBarStateSection::MakeCustomizeSheet(pFrame);
    pSheet->SetActivePage(nPage);
    pSheet->m_psh.dwFlags |= PSH_USECALLBACK;
    pSheet->m_psh.pfnCallback = &HiddenSheet;
    ASSERT_TRUE(pSheet->Create(pFrame));
    pSheet->EnableWindow(TRUE);
  }
  std::vector<int> Ids(CXTPToolBar *pBar) {
    std::vector<int> ids;
    for (int i = 0; i < pBar->GetControlCount(); i++) ids.push_back(pBar->GetControl(i)->GetID());
    return ids;
  }
  void Feed(UINT message, WPARAM wParam, CPoint ptScreen) {
    HWND hWndCapture = pFrame->GetSafeHwnd();
    CPoint point = ptScreen;
    ::ScreenToClient(hWndCapture, &point);
    g_feed.push_back(MSG{hWndCapture, message, wParam, MAKELPARAM(point.x, point.y), 0, {0, 0}});
  }

  CGalleryBarStateSection *pSection = nullptr;
  CXTPFrameWnd *pFrame = nullptr;
  CXTPCommandBars *pBars = nullptr;
  CXTPToolBar *pStandard = nullptr;
  std::unique_ptr<CXTPCustomizeSheet> pSheet;
};

TEST_F(GalleryCustomize, TheFrameOffersCustomizeAndTheSheetListsItsCommands) {
  EXPECT_TRUE(pBars->IsCustomizeAvail());
  const HWND hWndActive = ::GetActiveWindow();
  OpenSheet(1);
  EXPECT_TRUE(pBars->IsCustomizeMode());
  EXPECT_EQ(::GetActiveWindow(), hWndActive);
  CXTPCustomizeCommandsPage *pPage = pSheet->GetCommandsPage();
  // The View menu, then each toolbar: the frame was restored with Images
  // renamed and a toolbar of the user's.
  ASSERT_EQ(4, pPage->GetCategoryCount());
  EXPECT_EQ(CString(L"View"), pPage->GetCategoryInfo(0)->strCategory);
  EXPECT_EQ(CString(L"Standard"), pPage->GetCategoryInfo(1)->strCategory);
  EXPECT_EQ(CString(L"Pictures"), pPage->GetCategoryInfo(2)->strCategory);
  EXPECT_EQ(CString(L"My Tools"), pPage->GetCategoryInfo(3)->strCategory);
  EXPECT_EQ(pPage->GetCategoryInfo(0)->pControls->GetCount(), pPage->GetCommandList().GetCount());
  pSheet->DestroyWindow();
  EXPECT_FALSE(pBars->IsCustomizeMode());
}

TEST_F(GalleryCustomize, ACommandDraggedOntoABarIsThenRenamedGroupedAndDeleted) {
  CXTPCustomizeDragTool::SetGetMessageFunction(&FeedMessage);
  OpenSheet(1);
  CXTPCustomizeCommandsPage *pPage = pSheet->GetCommandsPage();
  CListBox &categories = pPage->GetCategoryList();
  CXTPCustomizeCommandsListBox &commands = pPage->GetCommandList();
  // The Pictures category; its second command dragged before Standard's first.
  categories.SetCurSel(2);
  pPage->SendMessage(WM_COMMAND, MAKEWPARAM(XTP_IDC_LIST_CATEGORIES, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(categories.GetSafeHwnd()));
  ASSERT_GE(commands.GetCount(), 2);
  const int nDragged = commands.GetItemControl(1)->GetID();
  const std::vector<int> before = Ids(pStandard);
  ASSERT_FALSE(before.empty());
  CRect rcFirst = pStandard->GetControl(0)->GetRect();
  CPoint ptDrop(rcFirst.left + 2, rcFirst.CenterPoint().y);
  pStandard->ClientToScreen(&ptDrop);
  Feed(WM_MOUSEMOVE, MK_LBUTTON, ptDrop);
  Feed(WM_LBUTTONUP, 0, ptDrop);
  CRect rcRow;
  commands.GetItemRect(1, &rcRow);
  commands.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rcRow.left + 4, rcRow.CenterPoint().y));
  std::vector<int> expected = before;
  expected.insert(expected.begin(), nDragged);
  EXPECT_EQ(expected, Ids(pStandard));
  EXPECT_EQ(::GetCapture(), nullptr);

  // The copy is the control the context menu works on.
  CXTPControl *pCopy = pBars->GetDragControl();
  ASSERT_NE(pCopy, nullptr);
  EXPECT_EQ(pStandard->GetControl(0), pCopy);
  pSheet->RenameControl(L"Dragged");
  EXPECT_EQ(CString(L"Dragged"), pCopy->GetCaption());
  pSheet->SendMessage(WM_COMMAND, XTP_ID_CUSTOMIZE_TEXTONLY, 0);
  EXPECT_EQ(1, pCopy->GetStyle());
  // The first control of a bar cannot begin a group; the next one can.
  EXPECT_FALSE(pSheet->ToggleBeginGroup());
  pBars->SetDragControl(pStandard->GetControl(1));
  const BOOL bGroup = pStandard->GetControl(1)->GetBeginGroup();
  pSheet->SendMessage(WM_COMMAND, XTP_ID_CUSTOMIZE_BEGINAGROUP, 0);
  EXPECT_EQ(!bGroup, pStandard->GetControl(1)->GetBeginGroup());
  pSheet->SendMessage(WM_COMMAND, XTP_ID_CUSTOMIZE_BEGINAGROUP, 0);
  // Deleted again, the bar is as it was.
  pBars->SetDragControl(pCopy);
  pSheet->SendMessage(WM_COMMAND, XTP_ID_CUSTOMIZE_DELETE, 0);
  EXPECT_EQ(before, Ids(pStandard));
}

TEST_F(GalleryCustomize, TheToolbarsPageHidesAndShowsABar) {
  OpenSheet(0);
  CXTPCustomizeToolbarsPage *pPage = pSheet->GetToolbarsPage();
  CCheckListBox &list = pPage->GetToolbarList();
  ASSERT_EQ(pBars->GetCount(), list.GetCount());
  int nRow = -1;
  for (int i = 0; i < list.GetCount(); i++)
    if (pBars->GetAt(static_cast<int>(list.GetItemData(i))) == pStandard) nRow = i;
  ASSERT_GE(nRow, 0);
  EXPECT_EQ(1, list.GetCheck(nRow));
  list.SetCheck(nRow, 0);
  pPage->OnTickChanged(nRow);
  EXPECT_FALSE(pStandard->IsVisible());
  list.SetCheck(nRow, 1);
  pPage->OnTickChanged(nRow);
  EXPECT_TRUE(pStandard->IsVisible());
  pFrame->RecalcLayout();
}

} // namespace
