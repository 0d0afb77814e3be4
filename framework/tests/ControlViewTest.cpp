#include "ControlTestWindow.h"

#include "ListView.h"
#include "TreeView.h"

namespace {

using ControlViewTest = ControlTestWindow;

TEST_F(ControlViewTest, TreeViewIsItsTreeControl) {
  auto *view = new CTreeView; // views delete themselves when their window goes
  ASSERT_TRUE(view->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW | TVS_CHECKBOXES, CRect(0, 0, 200, 200),
                           &m_parent, AFX_IDW_PANE_FIRST));
  wchar_t className[64] = {};
  ::GetClassNameW(view->m_hWnd, className, 64);
  EXPECT_STREQ(className, WC_TREEVIEW);
  CTreeCtrl &tree = view->GetTreeCtrl();
  EXPECT_EQ(tree.m_hWnd, view->m_hWnd);
  HTREEITEM item = tree.InsertItem(L"Drive C:");
  EXPECT_EQ(tree.GetCount(), 1u);
  EXPECT_TRUE(tree.SetCheck(item));
  EXPECT_TRUE(view->GetTreeCtrl().GetCheck(item));
  // The window map still knows the view, not the control seen through it.
  EXPECT_EQ(CWnd::FromHandlePermanent(view->m_hWnd), view);
  EXPECT_TRUE(view->IsKindOf(RUNTIME_CLASS(CTreeView)));
  view->DestroyWindow();
}

TEST_F(ControlViewTest, ListViewIsItsListControl) {
  auto *view = new CListView;
  ASSERT_TRUE(view->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW | LVS_REPORT, CRect(0, 0, 200, 200),
                           &m_parent, AFX_IDW_PANE_FIRST));
  CListCtrl &list = view->GetListCtrl();
  EXPECT_EQ(list.InsertColumn(0, L"Name", LVCFMT_LEFT, 100), 0);
  EXPECT_EQ(list.InsertItem(0, L"file.txt"), 0);
  EXPECT_EQ(list.GetItemText(0, 0), CString(L"file.txt"));
  EXPECT_EQ(view->GetListCtrl().GetItemCount(), 1);
  EXPECT_TRUE(view->IsKindOf(RUNTIME_CLASS(CListView)));
  view->DestroyWindow();
}

} // namespace
