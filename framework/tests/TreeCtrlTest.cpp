#include "ControlTestWindow.h"

#include <string>

#include "TreeCtrl.h"

namespace {

class TreeCtrlTest : public ControlTestWindow {
protected:
  void Create(DWORD extraStyle) {
    ASSERT_TRUE(
        m_tree.Create(WS_CHILD | TVS_HASBUTTONS | TVS_HASLINES | extraStyle, ChildRect(), &m_parent, 100));
  }
  CTreeCtrl m_tree;
};

TEST_F(TreeCtrlTest, InsertedItemsFormTheirHierarchy) {
  Create(0);
  HTREEITEM root = m_tree.InsertItem(L"C:");
  HTREEITEM docs = m_tree.InsertItem(L"Documents", root);
  HTREEITEM pics = m_tree.InsertItem(L"Pictures", 1, 2, root);
  HTREEITEM deep = m_tree.InsertItem(L"2006", pics);
  ASSERT_NE(root, nullptr);
  ASSERT_NE(deep, nullptr);

  EXPECT_EQ(m_tree.GetCount(), 4u);
  EXPECT_EQ(m_tree.GetRootItem(), root);
  EXPECT_EQ(m_tree.GetChildItem(root), docs);
  EXPECT_EQ(m_tree.GetNextSiblingItem(docs), pics);
  EXPECT_EQ(m_tree.GetPrevSiblingItem(pics), docs);
  EXPECT_EQ(m_tree.GetNextSiblingItem(pics), nullptr);
  EXPECT_EQ(m_tree.GetParentItem(deep), pics);
  EXPECT_EQ(m_tree.GetParentItem(root), nullptr);
  EXPECT_TRUE(m_tree.ItemHasChildren(root));
  EXPECT_TRUE(m_tree.ItemHasChildren(pics));
  EXPECT_FALSE(m_tree.ItemHasChildren(docs));

  int image = -1, selected = -1;
  ASSERT_TRUE(m_tree.GetItemImage(pics, image, selected));
  EXPECT_EQ(image, 1);
  EXPECT_EQ(selected, 2);
  EXPECT_TRUE(m_tree.SetItemImage(pics, 5, 6));
  m_tree.GetItemImage(pics, image, selected);
  EXPECT_EQ(image, 5);
  EXPECT_EQ(selected, 6);

  // Deleting a folder takes its whole branch with it.
  EXPECT_TRUE(m_tree.DeleteItem(pics));
  EXPECT_EQ(m_tree.GetCount(), 2u);
  EXPECT_TRUE(m_tree.DeleteAllItems());
  EXPECT_EQ(m_tree.GetCount(), 0u);
  EXPECT_EQ(m_tree.GetRootItem(), nullptr);
}

TEST_F(TreeCtrlTest, TextAndDataRoundTrip) {
  Create(0);
  HTREEITEM item = m_tree.InsertItem(L"Lost Folder(s)");
  EXPECT_EQ(m_tree.GetItemText(item), CString(L"Lost Folder(s)"));
  EXPECT_TRUE(m_tree.SetItemText(item, L"Raw Data Folder"));
  EXPECT_EQ(m_tree.GetItemText(item), CString(L"Raw Data Folder"));

  // Names longer than any fixed buffer come back whole.
  std::wstring longName(1000, L'n');
  longName += L"end";
  ASSERT_TRUE(m_tree.SetItemText(item, longName.c_str()));
  EXPECT_EQ(m_tree.GetItemText(item), CString(longName.c_str()));

  EXPECT_EQ(m_tree.GetItemData(item), 0u);
  DWORD_PTR data = static_cast<DWORD_PTR>(0x12345678u);
  EXPECT_TRUE(m_tree.SetItemData(item, data));
  EXPECT_EQ(m_tree.GetItemData(item), data);
}

TEST_F(TreeCtrlTest, CheckBoxesFollowTheStateImage) {
  Create(TVS_CHECKBOXES);
  HTREEITEM item = m_tree.InsertItem(L"file.txt");
  EXPECT_FALSE(m_tree.GetCheck(item));
  EXPECT_TRUE(m_tree.SetCheck(item, TRUE));
  EXPECT_TRUE(m_tree.GetCheck(item));
  EXPECT_EQ(m_tree.GetItemState(item, TVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(2));
  EXPECT_TRUE(m_tree.SetCheck(item, FALSE));
  EXPECT_FALSE(m_tree.GetCheck(item));
  // A third state image (partly checked folders) reads as a distinct value.
  m_tree.SetItemState(item, INDEXTOSTATEIMAGEMASK(3), TVIS_STATEIMAGEMASK);
  EXPECT_EQ(m_tree.GetCheck(item), 2);
}

TEST_F(TreeCtrlTest, ItemWithoutStateImageIsNotChecked) {
  Create(0);
  HTREEITEM item = m_tree.InsertItem(L"plain");
  EXPECT_EQ(m_tree.GetItemState(item, TVIS_STATEIMAGEMASK), 0u);
  EXPECT_FALSE(m_tree.GetCheck(item));
}

TEST_F(TreeCtrlTest, SortChildrenOrdersByText) {
  Create(0);
  HTREEITEM root = m_tree.InsertItem(L"root");
  for (LPCTSTR name : {L"pear", L"apple", L"fig"}) m_tree.InsertItem(name, root);
  EXPECT_TRUE(m_tree.SortChildren(root));
  HTREEITEM child = m_tree.GetChildItem(root);
  for (LPCTSTR expected : {L"apple", L"fig", L"pear"}) {
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(m_tree.GetItemText(child), CString(expected));
    child = m_tree.GetNextSiblingItem(child);
  }
}

TEST_F(TreeCtrlTest, SelectionExpansionAndGeometry) {
  Create(TVS_SHOWSELALWAYS);
  HTREEITEM root = m_tree.InsertItem(L"root");
  HTREEITEM child = m_tree.InsertItem(L"child", root);
  EXPECT_TRUE(m_tree.Expand(root, TVE_EXPAND));
  EXPECT_NE(m_tree.GetItemState(root, TVIS_EXPANDED), 0u);
  EXPECT_TRUE(m_tree.SelectItem(child));
  EXPECT_EQ(m_tree.GetSelectedItem(), child);

  m_tree.ShowWindow(SW_SHOWNA);
  CRect rect;
  ASSERT_TRUE(m_tree.GetItemRect(child, &rect, TRUE));
  EXPECT_GT(rect.Width(), 0);
  UINT flags = 0;
  EXPECT_EQ(m_tree.HitTest(rect.CenterPoint(), &flags), child);
  EXPECT_NE(flags & TVHT_ONITEMLABEL, 0u);
  EXPECT_EQ(m_tree.HitTest(CPoint(5, 290), &flags), nullptr);
  EXPECT_GT(m_tree.GetVisibleCount(), 0u);
}

TEST_F(TreeCtrlTest, RuntimeClassIsKnown) {
  Create(0);
  EXPECT_TRUE(m_tree.IsKindOf(RUNTIME_CLASS(CTreeCtrl)));
  EXPECT_TRUE(m_tree.IsKindOf(RUNTIME_CLASS(CWnd)));
  EXPECT_EQ(CWnd::FromHandlePermanent(m_tree.m_hWnd), &m_tree);
}

} // namespace
