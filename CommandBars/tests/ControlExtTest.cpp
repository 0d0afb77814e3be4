// The expanding controls of menus: the window list (captions by the menu
// rule, the active document checked, at most nine, hidden children left
// out), the recent files (ids from 0xE110, the tenth captioned "1&0", names
// under the current directory shortened), the tab-group commands that can
// run, the OLE verbs of the selected item (nothing without one), each control shown as itself in
// customise mode; the label's flags and the selector's grid.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CommandBarsTestSupport.h"
#include "Document.h"
#include "View.h"
#include "Framework.h"
#include "MDIFrameWnd.h"
#include "RecentFileList.h"
#include "WinApp.h"
#include "XTPCommandBars.h"
#include "XTPControlExt.h"
#include "XTPControls.h"
#include "XTPPopupBar.h"
#include "XTPTabClientWnd.h"

namespace {

struct Item {
  int nId;
  std::wstring strCaption;
  BOOL bChecked;
  BOOL bBeginGroup;
  bool operator==(const Item &o) const {
    return nId == o.nId && strCaption == o.strCaption && bChecked == o.bChecked &&
           bBeginGroup == o.bBeginGroup;
  }
};

void PrintTo(const Item &item, std::ostream *os) {
  *os << item.nId << " " << std::string(item.strCaption.begin(), item.strCaption.end()) << " "
      << item.bChecked << item.bBeginGroup;
}

// A menu "Before", the control, "After" for command bars sited on a frame.
struct MenuFixture {
  CXTPCommandBars *pCommandBars = new CXTPCommandBars;
  CXTPPopupBar *pMenu = nullptr;
  CXTPControl *pControl = nullptr;

  MenuFixture(CXTPControl *pExpanding, int nId, CWnd *pSite) {
    pCommandBars->SetSite(pSite);
    pMenu = CXTPPopupBar::CreatePopupBar(pCommandBars);
    pMenu->GetControls()->Add(xtpControlButton, 100)->SetCaption(L"Before");
    pControl = pMenu->GetControls()->Add(pExpanding, nId);
    pMenu->GetControls()->Add(xtpControlButton, 101)->SetCaption(L"After");
  }
  ~MenuFixture() {
    pMenu->InternalRelease();
    pCommandBars->InternalRelease();
  }
  // The items the control put between "Before" and "After".
  std::vector<Item> Expand() {
    pControl->OnCalcDynamicSize(0);
    std::vector<Item> items;
    for (int i = pControl->GetIndex() + 1; i < pMenu->GetControlCount() - 1; i++) {
      CXTPControl *p = pMenu->GetControl(i);
      items.push_back(
          {p->GetID(), static_cast<LPCTSTR>(p->GetCaption()), p->GetChecked(), p->GetBeginGroup()});
    }
    return items;
  }
};

class MdiFrameFixture : public ::testing::Test {
protected:
  void SetUp() override {
    m_frame = new CMDIFrameWnd;
    ASSERT_TRUE(m_frame->CreateEx(0, AfxRegisterWndClass(0), L"MDI", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
                                  0, 600, 400, nullptr, nullptr));
  }
  void TearDown() override {
    if (m_frame->m_hWnd) m_frame->DestroyWindow();
  }
  CMDIChildWnd *AddChild(LPCTSTR lpszTitle, BOOL bVisible = TRUE) {
    auto *pChild = new CMDIChildWnd;
    if (!pChild->Create(nullptr, lpszTitle, WS_CHILD | (bVisible ? WS_VISIBLE : 0) | WS_OVERLAPPEDWINDOW,
                        CRect(0, 0, 200, 150), m_frame))
      return nullptr;
    return pChild;
  }
  CMDIFrameWnd *m_frame = nullptr;
};

using WindowList = MdiFrameFixture;

TEST_F(WindowList, ListsTheVisibleChildrenByIdWithTheActiveOneChecked) {
  CMDIChildWnd *pFirst = AddChild(L"A&B");
  AddChild(L"Hidden", FALSE);
  AddChild(L"Second");
  MenuFixture menu(new CXTPControlWindowList, 0, m_frame);
  pFirst->MDIActivate();
  const std::vector<Item> expected = {{0xFF00, L"&1 A&&B", TRUE, TRUE}, {0xFF02, L"&2 Second", FALSE, FALSE}};
  EXPECT_EQ(expected, menu.Expand());
  EXPECT_EQ(expected, menu.Expand()) << "replaced, not added again";
  EXPECT_FALSE(menu.pControl->IsVisible());
}

TEST_F(WindowList, StopsAtNineDocuments) {
  for (int i = 0; i < 10; i++) AddChild((L"Doc" + std::to_wstring(i)).c_str());
  MenuFixture menu(new CXTPControlWindowList, 0, m_frame);
  const std::vector<Item> items = menu.Expand();
  ASSERT_EQ(9u, items.size());
  EXPECT_EQ(L"&9 Doc8", items[8].strCaption);
  EXPECT_EQ(0xFF08, items[8].nId);
}

TEST_F(WindowList, NothingWithoutAnMdiFrame) {
  MenuFixture menu(new CXTPControlWindowList, 0, nullptr);
  EXPECT_TRUE(menu.Expand().empty());
  EXPECT_FALSE(menu.pControl->IsVisible());
}

TEST(RecentFileList, ExpandsTheApplicationsFilesUpToTheFirstEmptyEntry) {
  wchar_t szCurDir[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, szCurDir);
  const std::wstring strCurDir = szCurDir;
  CWinApp app;
  app.m_pRecentFileList = new CRecentFileList(12);
  for (int i = 10; i >= 1; i--)
    app.m_pRecentFileList->Add((L"C:\\elsewhere\\file" + std::to_wstring(i) + L".txt").c_str());
  app.m_pRecentFileList->Add((strCurDir + L"\\sub\\R&D.txt").c_str());
  MenuFixture menu(new CXTPControlRecentFileList, 0xE110, nullptr);
  const std::vector<Item> items = menu.Expand();
  ASSERT_EQ(11u, items.size());
  EXPECT_EQ((Item{0xE110, L"&1 sub\\R&&D.txt", FALSE, FALSE}), items[0]);
  EXPECT_EQ((Item{0xE111, L"&2 C:\\elsewhere\\file1.txt", FALSE, FALSE}), items[1]);
  EXPECT_EQ((Item{0xE119, L"1&0 C:\\elsewhere\\file9.txt", FALSE, FALSE}), items[9]);
  EXPECT_EQ((Item{0xE11A, L"11 C:\\elsewhere\\file10.txt", FALSE, FALSE}), items[10]);

  // A shorter list: the earlier items go.
  app.m_pRecentFileList->Remove(0);
  for (int i = 0; i < 8; i++) app.m_pRecentFileList->Remove(1);
  EXPECT_EQ((std::vector<Item>{{0xE110, L"&1 C:\\elsewhere\\file1.txt", FALSE, FALSE},
                               {0xE111, L"&2 C:\\elsewhere\\file10.txt", FALSE, FALSE}}),
            menu.Expand());
}

TEST(RecentFileList, NothingWithoutAList) {
  CWinApp app;
  MenuFixture menu(new CXTPControlRecentFileList, 0xE110, nullptr);
  EXPECT_TRUE(menu.Expand().empty());
}

TEST(OleItems, ExpandToNothingAndDropWhatAnOlderLayoutAdded) {
  MenuFixture menu(new CXTPControlOleItems, 0, nullptr);
  menu.pMenu->GetControls()->Add(xtpControlPopup, 0, CXTPControlOleItems::kItemParameter, 2, TRUE);
  EXPECT_TRUE(menu.Expand().empty());
  EXPECT_FALSE(menu.pControl->IsVisible());
  EXPECT_EQ(3, menu.pMenu->GetControlCount());
}

// A document with OLE items, one of them selected or none, and the verb menu
// the framework would build for it.
class OleDocument : public CDocument, public CXTPOleItemsDocument {
public:
  BOOL m_bSelected = TRUE;
  HMENU CreateSelectedItemVerbMenu(CString &strCaption) override {
    if (!m_bSelected) return nullptr;
    strCaption = L"Picture &Object";
    HMENU hMenu = ::CreatePopupMenu();
    ::AppendMenuW(hMenu, MF_STRING, 0xE210, L"&Edit");
    ::AppendMenuW(hMenu, MF_STRING, 0xE211, L"&Open");
    return hMenu;
  }
};

TEST(OleItems, ExpandToThePopupOfTheSelectedItemsVerbs) {
  auto *pFrame = new CFrameWnd; // frames delete themselves when destroyed
  ASSERT_TRUE(
      pFrame->CreateEx(0, AfxRegisterWndClass(0), L"frame", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
  OleDocument document;
  document.m_bAutoDelete = FALSE;
  CView view;
  document.AddView(&view);
  pFrame->SetActiveView(&view, FALSE);
  {
    MenuFixture menu(new CXTPControlOleItems, 0, pFrame);
    const struct {
      BOOL bSelected;
      size_t nItems;
    } kCases[] = {{TRUE, 1}, {TRUE, 1}, {FALSE, 0}};
    for (const auto &c : kCases) {
      SCOPED_TRACE(c.bSelected);
      document.m_bSelected = c.bSelected;
      // Each layout replaces what the last one added.
      const std::vector<Item> items = menu.Expand();
      ASSERT_EQ(c.nItems, items.size());
      EXPECT_FALSE(menu.pControl->IsVisible());
      if (c.nItems == 0) continue;
      EXPECT_EQ(L"Picture &Object", items[0].strCaption);
      CXTPControl *pPopup = menu.pMenu->GetControl(menu.pControl->GetIndex() + 1);
      EXPECT_EQ(xtpControlPopup, pPopup->GetType());
      EXPECT_EQ(CString(CXTPControlOleItems::kItemParameter), pPopup->GetParameter());
      ASSERT_NE(nullptr, pPopup->GetCommandBar());
      ASSERT_EQ(2, pPopup->GetCommandBar()->GetControlCount());
      EXPECT_EQ(0xE210, pPopup->GetCommandBar()->GetControl(0)->GetID());
      EXPECT_EQ(0xE211, pPopup->GetCommandBar()->GetControl(1)->GetID());
    }
  }
  pFrame->SetActiveView(nullptr, FALSE);
  document.RemoveView(&view);
  pFrame->DestroyWindow();
}

TEST(ExpandingControls, CustomiseModeShowsEachAsItselfWithNothingAdded) {
  CWinApp app;
  app.m_pRecentFileList = new CRecentFileList;
  app.m_pRecentFileList->Add(L"C:\\a.txt");
  CXTPControl *kControls[] = {new CXTPControlWindowList, new CXTPControlRecentFileList,
                              new CXTPControlOleItems, new CXTPControlWorkspaceActions};
  for (CXTPControl *pControl : kControls) {
    SCOPED_TRACE(pControl->GetRuntimeClass()->m_lpszClassName);
    MenuFixture menu(pControl, 0, nullptr);
    menu.pCommandBars->SetCustomizeMode(TRUE);
    EXPECT_TRUE(menu.Expand().empty());
    EXPECT_TRUE(pControl->IsVisible());
    menu.pCommandBars->SetCustomizeMode(FALSE);
  }
}

TEST(ExpandingControls, AreCreatedByTheirClassNames) {
  for (const char *name : {"CXTPControlWindowList", "CXTPControlRecentFileList", "CXTPControlOleItems",
                           "CXTPControlWorkspaceActions", "CXTPControlSelector", "CXTPControlLabel"}) {
    CRuntimeClass *pClass = CRuntimeClass::FromName(name);
    ASSERT_NE(pClass, nullptr) << name;
    CObject *pObject = pClass->CreateObject();
    ASSERT_NE(pObject, nullptr) << name;
    static_cast<CXTPControl *>(pObject)->InternalRelease();
  }
}

using WorkspaceActions = MdiFrameFixture;

TEST_F(WorkspaceActions, ListOnlyTheGroupCommandsThatCanRun) {
  CXTPTabClientWnd client;
  ASSERT_TRUE(client.Attach(m_frame));
  MenuFixture menu(new CXTPControlWorkspaceActions, 0, m_frame);
  menu.pControl->SetBeginGroup(TRUE);
  EXPECT_TRUE(menu.Expand().empty());
  AddChild(L"A");
  AddChild(L"B");
  EXPECT_EQ((std::vector<Item>{{9422, L"New Hori&zontal Tab Group", FALSE, TRUE},
                               {9423, L"New &Vertical Tab Group", FALSE, FALSE}}),
            menu.Expand());
  client.OnGroupCommand(9422);
  EXPECT_EQ((std::vector<Item>{{9420, L"Move to P&revious Tab Group", FALSE, TRUE}}), menu.Expand());
  client.Detach();
}

TEST(ControlLabel, IsSkippedByTheFocusAndNeverMoved) {
  CXTPControlLabel label;
  EXPECT_EQ(0x12u, label.GetFlags());
  EXPECT_EQ(xtpControlLabel, label.GetType());
}

TEST(ControlSelector, GridGrowsTowardThePointAndHitTestCountsEdges) {
  CXTPControlSelector selector;
  selector.SetRect(CRect(10, 20, 10 + 5 * 28, 20 + 4 * 28));
  selector.OnCalcDynamicSize(0);
  EXPECT_EQ(CSize(5, 4), selector.GetGridSize());
  const struct {
    CPoint pt;
    CSize szHit;
  } kHits[] = {{{10, 20}, {0, 0}}, {{11, 21}, {1, 1}}, {{10 + 28, 21}, {1, 1}}, {{10 + 29, 20 + 57}, {2, 3}}};
  for (const auto &c : kHits) EXPECT_EQ(c.szHit, selector.HitTest(c.pt)) << c.pt.x << "," << c.pt.y;
  EXPECT_FALSE(selector.GrowGrid(CPoint(100, 100)));
  EXPECT_TRUE(selector.GrowGrid(CPoint(10 + 6 * 28 + 3, 30)));
  EXPECT_EQ(CSize(7, 4), selector.GetGridSize());
  EXPECT_TRUE(selector.GrowGrid(CPoint(2000, 2000)));
  EXPECT_EQ(CSize(12, 12), selector.GetGridSize()) << "never past the maximum";
  selector.SetSelected(CSize(3, 2));
  selector.OnClick();
  EXPECT_EQ(CSize(3, 2), selector.GetLastSelected());
  selector.OnCalcDynamicSize(0);
  EXPECT_EQ(CSize(0, 0), selector.GetSelectedSize()) << "a new opening starts unselected";
  EXPECT_EQ(CSize(5, 4), selector.GetGridSize());
}

TEST(ControlSelector, ASelectionChangeIsReportedToTheSiteOnce) {
  cbtest::MessageSite site;
  CWnd wndSite;
  wndSite.Attach(site.GetHwnd());
  {
    MenuFixture menu(new CXTPControlSelector, 300, &wndSite);
    auto *pSelector = static_cast<CXTPControlSelector *>(menu.pControl);
    std::vector<std::pair<WPARAM, UINT>> reports;
    site.answer = [&](UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
      if (message == XTP_TBN_COMMAND_NOTIFY) {
        auto *pNotify = reinterpret_cast<NMXTPCONTROL *>(lParam);
        EXPECT_EQ(pSelector, pNotify->pControl);
        reports.push_back({wParam, pNotify->hdr.code});
      }
      return 0;
    };
    pSelector->SetSelected(CSize(2, 2));
    pSelector->SetSelected(CSize(2, 2));
    pSelector->SetSelected(CSize(2, 2), TRUE);
    const std::vector<std::pair<WPARAM, UINT>> expected = {{300, 4102}, {300, 4102}};
    EXPECT_EQ(expected, reports) << "unchanged and not forced: no report";
    site.answer = nullptr;
  }
  wndSite.Detach();
}

using WindowListIds = MdiFrameFixture;

TEST_F(WindowListIds, ChildrenNumberedFromOneAreFollowedAtTheNextExpansion) {
  // A client numbering its children from 1 (not the framework's own).
  CMDIChildWnd *pChild = AddChild(L"Doc");
  ::SetWindowLongPtrW(pChild->m_hWnd, GWLP_ID, 1);
  MenuFixture menu(new CXTPControlWindowList, 0, m_frame);
  auto *pList = static_cast<CXTPControlWindowList *>(menu.pControl);
  EXPECT_TRUE(menu.Expand().empty());
  EXPECT_EQ(1, pList->GetFirstWindowId());
  EXPECT_EQ((std::vector<Item>{{1, L"&1 Doc", TRUE, TRUE}}), menu.Expand());
  // The menu's own commands after the list are no items of it, whatever their ids.
  EXPECT_EQ(4, menu.pMenu->GetControlCount());
  EXPECT_STREQ(L"After", menu.pMenu->GetControl(3)->GetCaption());
}

} // namespace
