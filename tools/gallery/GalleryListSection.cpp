#include "GalleryListSection.h"

#include <algorithm>
#include <vector>

namespace {

struct Row {
  const wchar_t *name, *type, *size;
};
const Row kRows[] = {
    {L"Holiday.jpg", L"Deleted File", L"284113"},
    {L"Budget.xls", L"File", L"40960"},
    {L"Letters", L"Folder", L"0"},
    {L"Notes.txt", L"Deleted File", L"1203"},
    {L"Archive.zip", L"File", L"5120000"},
    {L"Old Folder", L"Deleted Folder", L"0"},
};
const wchar_t *const kLabels[] = {L"Row colours, sorted by Size", L"User colours, sorted by Name",
                                  L"Disabled"};
const COLORREF kAlternate = RGB(247, 247, 255);

} // namespace

BOOL CGallerySortingList::SortList(int nCol, BOOL bAscending) {
  const int nCount = GetItemCount();
  std::vector<std::vector<CString>> rows(static_cast<size_t>(nCount));
  for (int i = 0; i < nCount; ++i)
    for (int c = 0; c < 3; ++c) rows[i].push_back(GetItemText(i, c));
  auto less = [nCol](const std::vector<CString> &a, const std::vector<CString> &b) {
    if (nCol == 2) return _wtoi64(a[2]) < _wtoi64(b[2]);
    return _wcsicmp(a[nCol], b[nCol]) < 0;
  };
  std::stable_sort(rows.begin(), rows.end(),
                   [&](const auto &a, const auto &b) { return bAscending ? less(a, b) : less(b, a); });
  for (int i = 0; i < nCount; ++i)
    for (int c = 0; c < 3; ++c) SetItemText(i, c, rows[i][c]);
  return TRUE;
}

CRect CGalleryListSection::ListRect(int nList) {
  const int x = nList * (kListWidth + kGap);
  return CRect(x, 18, x + kListWidth, 18 + kListHeight);
}

void CGalleryListSection::Fill(CGallerySortingList &list) {
  const int widths[] = {110, 100, 70};
  const CString headings[] = {L"Name", L"Type", L"Size"};
  list.InsertColumns(3, widths, headings);
  list.AttachFlatHeader();
  list.AddExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  for (const Row &row : kRows) {
    const int i = list.InsertItem(list.GetItemCount(), row.name);
    list.SetItemText(i, 1, row.type);
    list.SetItemText(i, 2, row.size);
    if (i % 2 == 0) list.SetRowColors(i, RGB(0, 0, 0), kAlternate);
  }
  list.EnableRowColors(TRUE);
  list.EnableSortedColumnTint(TRUE);
}

void CGalleryListSection::Create(CWnd *pParent, const CRect &rcBody) {
  for (int i = 0; i < kLists; ++i) {
    CGallerySortingList &list = m_lists[i];
    CRect rc = ListRect(i) + rcBody.TopLeft();
    if (!list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS, rc, pParent,
                     500 + i))
      continue;
    Fill(list);
  }
  // One sorted by size, with a Find-style highlighted row and a selection.
  m_lists[0].MarkSortedColumn(2, TRUE);
  m_lists[0].SortList(2, TRUE);
  m_lists[0].SetRowColors(3, RGB(0, 0, 0), RGB(255, 159, 113));
  m_lists[0].SetItemState(4, LVIS_SELECTED, LVIS_SELECTED);
  m_lists[1].SetListColors(RGB(0, 64, 0), RGB(236, 248, 228));
  m_lists[1].RemoveAllRowColors();
  m_lists[1].MarkSortedColumn(0, TRUE);
  m_lists[1].SortList(0, TRUE);
  m_lists[2].MarkSortedColumn(2, FALSE);
  m_lists[2].SortList(2, FALSE);
  m_lists[2].EnableWindow(FALSE);
}

void CGalleryListSection::Draw(CDC *pDC, const CRect &rcBody) {
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
  for (int i = 0; i < kLists; ++i) {
    CRect rc = ListRect(i) + rcBody.TopLeft();
    CRect rcLabel(rc.left, rcBody.top, rc.right, rc.top - 2);
    pDC->DrawText(CString(kLabels[i]), &rcLabel, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  }
}
