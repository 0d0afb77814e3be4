#include "EditList.h"

#include "QuendalVarnoth.h"
#include "resource.h"

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

namespace {
constexpr UINT kEditItemId = 0x1234;
constexpr int kColumnCount = 3;
} // namespace

BEGIN_MESSAGE_MAP(CEditList, CListCtrl)
ON_NOTIFY_REFLECT(NM_CLICK, OnClick)
ON_NOTIFY_REFLECT(LVN_ENDLABELEDITW, OnEndLabelEdit)
ON_NOTIFY_REFLECT(LVN_COLUMNCLICK, OnColumnClick)
END_MESSAGE_MAP()

void CEditList::PreSubclassWindow() {
  CListCtrl::PreSubclassWindow();
  HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
  if (header != nullptr && m_header.m_hWnd == nullptr) m_header.SubclassWindow(header);
}

void CEditList::OnClick(NMHDR *header, LRESULT *result) {
  *result = 0;
  SetFocus();
  const auto *click = reinterpret_cast<NMITEMACTIVATE *>(header);
  // The row the point lies on, whichever column: the report style's own hit
  // test finds only the first.
  LVHITTESTINFO hit = {};
  hit.pt = click->ptAction;
  SubItemHitTest(&hit);
  const int row = hit.iItem >= 0 ? hit.iItem : click->iItem;
  if (row < 0) return;
  m_lastClicked = row;
  if (hit.iSubItem == kSignatureSize)
    EditSubLabel(row, kSignatureSize);
  else if (hit.iSubItem == kSignatureName && m_owner != nullptr)
    m_owner->ToggleHeaderCheck(row, click->ptAction);
}

CEditItem *CEditList::EditSubLabel(int row, int column) {
  if (row < 0 || row >= GetItemCount() || column < 0 || column >= kColumnCount) return nullptr;
  EnsureVisible(row, FALSE);
  CRect cell;
  if (!GetSubItemRect(row, column, LVIR_BOUNDS, cell)) return nullptr;
  CRect client;
  GetClientRect(&client);
  if (cell.left < 0 || cell.left > client.right) {
    Scroll(CSize(cell.left, 0));
    cell.OffsetRect(-cell.left, 0);
  }
  cell.right = std::min<LONG>(cell.left + GetColumnWidth(column), client.right);
  LVCOLUMNW format = {};
  format.mask = LVCF_FMT;
  GetColumn(column, &format);
  DWORD align = ES_LEFT;
  if ((format.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT) align = ES_RIGHT;
  if ((format.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER) align = ES_CENTER;
  auto *edit = new CEditItem(row, column, GetItemText(row, column));
  if (!edit->Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | align, cell, this, kEditItemId)) {
    delete edit;
    return nullptr;
  }
  return edit;
}

bool CEditList::ParseSizeText(const CString &text, uint64_t &kilobytes) {
  const int length = text.GetLength();
  if (length == 0 || length > 19) return false;
  kilobytes = 0;
  for (int index = 0; index < length; ++index) {
    const wchar_t digit = text[index];
    if (digit < L'0' || digit > L'9') return false;
    kilobytes = kilobytes * 10 + static_cast<uint64_t>(digit - L'0');
  }
  return kilobytes != 0;
}

void CEditList::OnEndLabelEdit(NMHDR *header, LRESULT *result) {
  *result = 0;
  const auto *info = reinterpret_cast<NMLVDISPINFOW *>(header);
  const int row = info->item.iItem;
  if (row < 0 || info->item.pszText == nullptr || info->item.iSubItem != kSignatureSize) return;
  const CString text(info->item.pszText);
  uint64_t kilobytes = 0;
  SizeEditAnswer answer = SizeEditAnswer::Invalid;
  if (ParseSizeText(text, kilobytes))
    answer = m_owner != nullptr ? m_owner->SizeEdited(row, kilobytes) : SizeEditAnswer::Taken;
  if (answer == SizeEditAnswer::Declined) return;
  if (answer == SizeEditAnswer::Invalid) {
    CString message;
    message.LoadString(IDS_INVALID_SIZE);
    ::MessageBoxW(GetParent() != nullptr ? GetParent()->m_hWnd : m_hWnd, message, kProductTitle,
                  MB_ICONSTOP | MB_TOPMOST);
    return;
  }
  wchar_t shown[24];
  swprintf(shown, 24, L"%llu", static_cast<unsigned long long>(kilobytes));
  SetItemText(row, kSignatureSize, shown);
}

void CEditList::OnColumnClick(NMHDR *header, LRESULT *result) {
  *result = 0;
  SortListColumn(reinterpret_cast<NMLISTVIEW *>(header)->iSubItem);
}

void CEditList::SortListColumn(int column) {
  SetSelectionMark(-1);
  m_ascending = !m_ascending;
  if (column <= kSignatureExtension)
    SortByText(column, m_ascending);
  else
    SortByNumber(column, m_ascending);
}

void CEditList::SortByText(int column, bool ascending, int first, int last) {
  SortRows(column, ascending, first, last, false);
}

void CEditList::SortByNumber(int column, bool ascending, int first, int last) {
  SortRows(column, ascending, first, last, true);
}

void CEditList::SortRows(int column, bool ascending, int first, int last, bool numbers) {
  if (column < 0 || column >= kColumnCount) return;
  if (last < 0) last = GetItemCount() - 1;
  first = std::max(first, 0);
  m_header.SetSort(column, ascending);
  if (last <= first) return;
  struct Row {
    std::wstring texts[kColumnCount];
    DWORD_PTR data;
    UINT state;
  };
  std::vector<Row> rows;
  for (int index = first; index <= last; ++index) {
    Row row{};
    for (int sub = 0; sub < kColumnCount; ++sub)
      row.texts[sub] = static_cast<LPCTSTR>(GetItemText(index, sub));
    row.data = GetItemData(index);
    row.state = GetItemState(index, LVIS_STATEIMAGEMASK | LVIS_SELECTED | LVIS_FOCUSED);
    rows.push_back(std::move(row));
  }
  // Texts by code unit, case-sensitively; numbers by value.
  auto key = [&](const Row &row) { return _wcstoui64(row.texts[column].c_str(), nullptr, 10); };
  std::stable_sort(rows.begin(), rows.end(), [&](const Row &a, const Row &b) {
    if (numbers) return ascending ? key(a) < key(b) : key(b) < key(a);
    return ascending ? a.texts[column] < b.texts[column] : b.texts[column] < a.texts[column];
  });
  for (int index = first; index <= last; ++index) {
    const Row &row = rows[static_cast<size_t>(index - first)];
    for (int sub = 0; sub < kColumnCount; ++sub) SetItemText(index, sub, row.texts[sub].c_str());
    SetItemData(index, row.data);
    SetItemState(index, row.state, LVIS_STATEIMAGEMASK | LVIS_SELECTED | LVIS_FOCUSED);
  }
}
