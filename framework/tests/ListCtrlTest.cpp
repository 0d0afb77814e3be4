#include "ControlTestWindow.h"

#include <string>
#include <vector>

#include "HeaderCtrl.h"
#include "ListCtrl.h"

namespace {

class ListCtrlTest : public ControlTestWindow {
protected:
  void SetUp() override {
    ControlTestWindow::SetUp();
    ASSERT_TRUE(m_list.Create(WS_CHILD | LVS_REPORT | LVS_SHOWSELALWAYS, ChildRect(), &m_parent, 200));
    EXPECT_EQ(m_list.InsertColumn(0, L"Name", LVCFMT_LEFT, 120), 0);
    EXPECT_EQ(m_list.InsertColumn(1, L"Size", LVCFMT_RIGHT, 80), 1);
    EXPECT_EQ(m_list.InsertColumn(2, L"Grade"), 2);
  }

  // Adds rows with their name, size text and data value.
  void AddRows(const std::vector<std::pair<LPCTSTR, DWORD_PTR>> &rows) {
    for (const auto &row : rows) {
      int index = m_list.InsertItem(m_list.GetItemCount(), row.first);
      ASSERT_GE(index, 0);
      m_list.SetItemText(index, 1, std::to_wstring(row.second).c_str());
      m_list.SetItemData(index, row.second);
    }
  }

  std::vector<CString> Names() const {
    std::vector<CString> names;
    for (int i = 0; i < m_list.GetItemCount(); ++i) names.push_back(m_list.GetItemText(i, 0));
    return names;
  }

  CListCtrl m_list;
};

int CALLBACK CompareByData(LPARAM first, LPARAM second, LPARAM descending) {
  int order = first < second ? -1 : (first > second ? 1 : 0);
  return descending != 0 ? -order : order;
}

TEST_F(ListCtrlTest, ColumnsAreInTheHeader) {
  CHeaderCtrl *header = m_list.GetHeaderCtrl();
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header->GetItemCount(), 3);
  EXPECT_EQ(m_list.GetColumnWidth(0), 120);
  EXPECT_TRUE(m_list.SetColumnWidth(0, 150));
  EXPECT_EQ(m_list.GetColumnWidth(0), 150);

  LVCOLUMN column = {};
  wchar_t text[32] = {};
  column.mask = LVCF_FMT | LVCF_TEXT;
  column.pszText = text;
  column.cchTextMax = 32;
  ASSERT_TRUE(m_list.GetColumn(1, &column));
  EXPECT_STREQ(text, L"Size");
  EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_RIGHT);

  HDITEM item = {};
  item.mask = HDI_WIDTH;
  ASSERT_TRUE(header->GetItem(0, &item));
  EXPECT_EQ(item.cxy, 150);
  EXPECT_TRUE(m_list.DeleteColumn(2));
  EXPECT_EQ(header->GetItemCount(), 2);
}

TEST_F(ListCtrlTest, SortItemsOrdersByTheItemData) {
  AddRows({{L"b.doc", 300}, {L"a.txt", 100}, {L"c.jpg", 200}});
  ASSERT_TRUE(m_list.SortItems(CompareByData, 0));
  EXPECT_EQ(Names(), (std::vector<CString>{L"a.txt", L"c.jpg", L"b.doc"}));
  EXPECT_EQ(m_list.GetItemData(0), 100u);
  EXPECT_EQ(m_list.GetItemText(0, 1), CString(L"100"));
  ASSERT_TRUE(m_list.SortItems(CompareByData, 1));
  EXPECT_EQ(Names(), (std::vector<CString>{L"b.doc", L"c.jpg", L"a.txt"}));
  EXPECT_EQ(m_list.GetItemData(2), 100u);
}

TEST_F(ListCtrlTest, TextOfAnyLengthComesBackWhole) {
  AddRows({{L"short", 1}});
  std::wstring longName(700, L'x');
  ASSERT_TRUE(m_list.SetItemText(0, 2, longName.c_str()));
  EXPECT_EQ(m_list.GetItemText(0, 2), CString(longName.c_str()));
  EXPECT_EQ(m_list.GetItemText(0, 1), CString(L"1"));
  EXPECT_EQ(m_list.GetItemText(5, 0), CString());
  wchar_t small[4] = {L'?', L'?', L'?', L'?'};
  EXPECT_EQ(m_list.GetItemText(0, 0, small, 4), 3);
  EXPECT_STREQ(small, L"sho");
}

TEST_F(ListCtrlTest, SelectedItemsAreWalkedInOrder) {
  AddRows({{L"0", 0}, {L"1", 1}, {L"2", 2}, {L"3", 3}});
  EXPECT_EQ(m_list.GetFirstSelectedItemPosition(), nullptr);
  m_list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
  m_list.SetItemState(3, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(m_list.GetSelectedCount(), 2u);
  std::vector<int> selected;
  for (POSITION pos = m_list.GetFirstSelectedItemPosition(); pos != nullptr;)
    selected.push_back(m_list.GetNextSelectedItem(pos));
  EXPECT_EQ(selected, (std::vector<int>{1, 3}));
  EXPECT_EQ(m_list.GetItemState(3, LVIS_SELECTED | LVIS_FOCUSED), static_cast<UINT>(LVIS_SELECTED));
  EXPECT_EQ(m_list.GetNextItem(-1, LVNI_SELECTED), 1);
}

TEST_F(ListCtrlTest, CheckBoxesAndExtendedStyle) {
  m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  EXPECT_NE(m_list.GetExtendedStyle() & LVS_EX_CHECKBOXES, 0u);
  AddRows({{L"one", 1}, {L"two", 2}});
  EXPECT_FALSE(m_list.GetCheck(0));
  EXPECT_TRUE(m_list.SetCheck(1));
  EXPECT_TRUE(m_list.GetCheck(1));
  EXPECT_FALSE(m_list.GetCheck(0));
  EXPECT_TRUE(m_list.SetCheck(1, FALSE));
  EXPECT_FALSE(m_list.GetCheck(1));
}

TEST_F(ListCtrlTest, FindHitTestAndDelete) {
  AddRows({{L"alpha", 10}, {L"beta", 20}, {L"gamma", 30}});
  LVFINDINFO byText = {};
  byText.flags = LVFI_STRING;
  byText.psz = L"beta";
  EXPECT_EQ(m_list.FindItem(&byText), 1);
  LVFINDINFO byData = {};
  byData.flags = LVFI_PARAM;
  byData.lParam = 30;
  EXPECT_EQ(m_list.FindItem(&byData), 2);

  m_list.ShowWindow(SW_SHOWNA);
  CRect rect;
  ASSERT_TRUE(m_list.GetItemRect(2, &rect, LVIR_BOUNDS));
  UINT flags = 0;
  EXPECT_EQ(m_list.HitTest(rect.CenterPoint(), &flags), 2);
  CRect sizeCell;
  ASSERT_TRUE(m_list.GetSubItemRect(2, 1, LVIR_BOUNDS, sizeCell));
  LVHITTESTINFO info = {};
  info.pt = sizeCell.CenterPoint();
  EXPECT_EQ(m_list.SubItemHitTest(&info), 2);
  EXPECT_EQ(info.iSubItem, 1);
  EXPECT_EQ(m_list.GetTopIndex(), 0);
  EXPECT_GT(m_list.GetCountPerPage(), 3);

  EXPECT_TRUE(m_list.DeleteItem(0));
  EXPECT_EQ(m_list.GetItemCount(), 2);
  EXPECT_EQ(m_list.GetItemText(0, 0), CString(L"beta"));
  EXPECT_TRUE(m_list.DeleteAllItems());
  EXPECT_EQ(m_list.GetItemCount(), 0);
}

TEST_F(ListCtrlTest, ColoursAreKept) {
  EXPECT_TRUE(m_list.SetBkColor(RGB(1, 2, 3)));
  EXPECT_EQ(m_list.GetBkColor(), RGB(1, 2, 3));
  EXPECT_TRUE(m_list.SetTextColor(RGB(4, 5, 6)));
  EXPECT_EQ(m_list.GetTextColor(), RGB(4, 5, 6));
  EXPECT_TRUE(m_list.SetTextBkColor(RGB(7, 8, 9)));
  EXPECT_EQ(m_list.GetTextBkColor(), RGB(7, 8, 9));
  EXPECT_TRUE(m_list.IsKindOf(RUNTIME_CLASS(CListCtrl)));
}

} // namespace
