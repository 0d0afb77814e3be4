#include "AddNewHeader.h"

#include "AppText.h"
#include "HeaderFile.h"
#include "QuendalVarnoth.h"
#include "resource.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CAddNewHeader, CDialog)
ON_BN_CLICKED(IDYES, OnAddHeader)
ON_BN_CLICKED(IDC_NEW_HEADER_EDIT, OnEditHeader)
ON_BN_CLICKED(IDNO, OnRemoveHeader)
END_MESSAGE_MAP()

CAddNewHeader::CAddNewHeader(std::wstring path, LogLine log, CWnd *parent)
    : CDialog(IDD_ADD_NEW_HEADER, parent), m_path(std::move(path)), m_log(std::move(log)) {
  m_notice = [this](UINT, const std::wstring &text, UINT flags) {
    return ::MessageBoxW(m_hWnd, text.c_str(), kProductTitle, flags);
  };
  m_runRecordDialog = [](CAppendHeaderDlg &dialog) { return dialog.DoModal(); };
}

BOOL CAddNewHeader::OnInitDialog() {
  CDialog::OnInitDialog();
  HeaderFileContents contents = LoadHeaderFile(m_path);
  if (m_log)
    for (const RefusedHeader &refused : contents.refused) m_log(RefusedHeaderLogText(refused));
  m_records = std::move(contents.records);
  HWND list = ::GetDlgItem(m_hWnd, IDC_NEW_HEADER_LIST);
  ListView_SetExtendedListViewStyle(list, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  const struct {
    UINT textId;
    int width;
  } columns[] = {{IDS_COLUMN_NAME, 255}, {IDS_COLUMN_EXTENSION, 69}, {IDS_COLUMN_SIZE, 70}};
  for (int i = 0; i < 3; ++i) {
    CString heading = LoadText(columns[i].textId);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t *>(heading.GetString());
    column.cx = columns[i].width;
    ListView_InsertColumn(list, i, &column);
  }
  FillList();
  SelectRow(0);
  ::SetFocus(list);
  return FALSE;
}

// Rows sorted by name; each row keeps the position of its own record, so
// every command changes exactly the record the row shows.
void CAddNewHeader::FillList() {
  HWND list = ::GetDlgItem(m_hWnd, IDC_NEW_HEADER_LIST);
  ListView_DeleteAllItems(list);
  std::vector<size_t> order(m_records.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [this](size_t a, size_t b) {
    return ::lstrcmpiW(Wide(m_records[a].m_softwareName), Wide(m_records[b].m_softwareName)) < 0;
  });
  for (size_t row = 0; row < order.size(); ++row) {
    const HeaderRecord &record = m_records[order[row]];
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = static_cast<int>(row);
    item.pszText = const_cast<wchar_t *>(Wide(record.m_softwareName));
    item.lParam = static_cast<LPARAM>(order[row]);
    const int index = ListView_InsertItem(list, &item);
    ListView_SetItemText(list, index, 1, const_cast<wchar_t *>(Wide(record.m_extension)));
    std::wstring size = std::to_wstring(record.m_maxSize >> 10);
    ListView_SetItemText(list, index, 2, size.data());
  }
}

int CAddNewHeader::ChosenRow() const {
  HWND list = ::GetDlgItem(m_hWnd, IDC_NEW_HEADER_LIST);
  const int selected = ListView_GetNextItem(list, -1, LVNI_SELECTED);
  return selected >= 0 ? selected : ListView_GetNextItem(list, -1, LVNI_FOCUSED);
}

size_t CAddNewHeader::RecordOfRow(int row) const {
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  ListView_GetItem(::GetDlgItem(m_hWnd, IDC_NEW_HEADER_LIST), &item);
  return static_cast<size_t>(item.lParam);
}

void CAddNewHeader::SelectRow(int row) {
  HWND list = ::GetDlgItem(m_hWnd, IDC_NEW_HEADER_LIST);
  if (row < 0 || row >= ListView_GetItemCount(list)) return;
  ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(list, row, FALSE);
}

void CAddNewHeader::OnAddHeader() {
  const size_t before = m_records.size();
  CAppendHeaderDlg dialog(m_records, nullptr, m_path, 0, this);
  dialog.SetNotice([this](UINT id, UINT flags) { m_notice(id, LoadWideText(id), flags); });
  m_runRecordDialog(dialog);
  FillList();
  // The new record's row, so the user sees where it went.
  HWND list = ::GetDlgItem(m_hWnd, IDC_NEW_HEADER_LIST);
  for (int row = 0; m_records.size() > before && row < ListView_GetItemCount(list); ++row)
    if (RecordOfRow(row) == before) SelectRow(row);
  ::SetFocus(list);
}

void CAddNewHeader::OnEditHeader() {
  const int row = ChosenRow();
  if (row < 0) return;
  const size_t index = RecordOfRow(row);
  if (index >= m_records.size()) return;
  const std::vector<HeaderRecord> before = m_records;
  CAppendHeaderDlg dialog(m_records, &m_records[index], m_path, 0, this);
  dialog.SetNotice([this](UINT id, UINT flags) { m_notice(id, LoadWideText(id), flags); });
  if (m_runRecordDialog(dialog) != IDOK) return;
  if (!RewriteHeaderFile(m_path, m_records)) {
    m_records = before; // the list shows what the file holds
    m_notice(IDS_HEADER_REWRITE_FAILED, LoadWideText(IDS_HEADER_REWRITE_FAILED), MB_ICONSTOP | MB_TOPMOST);
  }
  FillList();
  SelectRow(row);
}

// Only the chosen row's record goes, after the user agreed; a shipped one stays.
void CAddNewHeader::OnRemoveHeader() {
  const int row = ChosenRow();
  if (row < 0) return;
  const size_t index = RecordOfRow(row);
  if (index >= m_records.size()) return;
  const HeaderRecord &record = m_records[index];
  if (record.m_predefined) {
    m_notice(IDS_PREDEFINED_NOT_REMOVABLE, LoadWideText(IDS_PREDEFINED_NOT_REMOVABLE),
             MB_ICONSTOP | MB_TOPMOST);
    return;
  }
  CString question;
  question.Format(LoadText(IDS_REMOVE_HEADER_QUESTION), Wide(record.m_softwareName),
                  Wide(record.m_extension));
  if (m_notice(IDS_REMOVE_HEADER_QUESTION, question.Str(), MB_YESNO | MB_ICONQUESTION | MB_TOPMOST) != IDYES)
    return;
  std::vector<HeaderRecord> after = m_records;
  after.erase(after.begin() + static_cast<std::ptrdiff_t>(index));
  if (!RewriteHeaderFile(m_path, after)) {
    m_notice(IDS_HEADER_REWRITE_FAILED, LoadWideText(IDS_HEADER_REWRITE_FAILED), MB_ICONSTOP | MB_TOPMOST);
    return;
  }
  m_records = std::move(after);
  FillList();
  SelectRow(std::min(row, static_cast<int>(m_records.size()) - 1));
}
