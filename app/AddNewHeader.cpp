#include "AddNewHeader.h"

#include "AppText.h"
#include "HeaderFile.h"
#include "QuendalVarnoth.h"
#include "SignatureChoice.h"
#include "SignatureStore.h"
#include "SearchedDriveGuard.h"
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
  m_list.SubclassDlgItem(IDC_NEW_HEADER_LIST, this);
  m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  const std::pair<UINT, int> columns[] = {
      {IDS_COLUMN_NAME, 255}, {IDS_COLUMN_EXTENSION, 69}, {IDS_COLUMN_SIZE, 70}};
  for (int column = 0; column < 3; ++column)
    m_list.InsertColumn(column, LoadText(columns[column].first), LVCFMT_LEFT, columns[column].second);
  m_list.SetOwner(this);
  FillList();
  m_list.SortByName();
  SelectRow(0);
  m_list.SetFocus();
  return FALSE;
}

void CAddNewHeader::ShowRecord(int row, const HeaderRecord &record) {
  m_list.SetItemText(row, kSignatureName, Wide(record.m_softwareName));
  m_list.SetItemText(row, kSignatureExtension, Wide(record.m_extension));
  m_list.SetItemText(row, kSignatureSize, std::to_wstring(record.m_maxSize >> 10).c_str());
}

void CAddNewHeader::FillList() {
  m_list.DeleteAllItems();
  for (size_t index = 0; index < m_records.size(); ++index) {
    const int row = m_list.InsertItem(static_cast<int>(index), Wide(m_records[index].m_softwareName));
    ShowRecord(row, m_records[index]);
    m_list.SetItemData(row, index);
  }
}

int CAddNewHeader::ChosenRow() const {
  const int selected = m_list.GetNextItem(-1, LVNI_SELECTED);
  if (selected >= 0) return selected;
  const int clicked = m_list.LastClickedRow();
  return clicked < m_list.GetItemCount() ? clicked : -1;
}

void CAddNewHeader::SelectRow(int row) {
  if (row < 0 || row >= m_list.GetItemCount()) return;
  m_list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  m_list.EnsureVisible(row, FALSE);
}

void CAddNewHeader::Tell(UINT textId) {
  m_notice(textId, LoadWideText(textId), MB_ICONSTOP | MB_TOPMOST);
}

bool CAddNewHeader::RefuseWrite() {
  if (!OnGuardedDrive(m_path)) return false;
  Tell(IDS_SIGNATURES_ON_SEARCHED_DRIVE);
  return true;
}

void CAddNewHeader::OnAddHeader() {
  const size_t before = m_records.size();
  const int chosen = ChosenRow();
  const size_t chosenRecord = chosen >= 0 ? RecordOfRow(chosen) : before;
  CAppendHeaderDlg dialog(m_records, nullptr, m_path, 0, this);
  dialog.SetNotice([this](UINT id, UINT flags) { m_notice(id, LoadWideText(id), flags); });
  m_runRecordDialog(dialog);
  FillList();
  m_list.SortByName();
  // The new record's row, so the user sees where it went; without one, the
  // row chosen before stays chosen.
  const size_t shown = m_records.size() > before ? before : chosenRecord;
  for (int row = 0; row < m_list.GetItemCount(); ++row)
    if (RecordOfRow(row) == shown) SelectRow(row);
  m_list.SetFocus();
}

void CAddNewHeader::OnEditHeader() {
  const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
  if (row < 0) return;
  const size_t index = RecordOfRow(row);
  if (index >= m_records.size()) return;
  const std::vector<HeaderRecord> before = m_records;
  CAppendHeaderDlg dialog(m_records, &m_records[index], m_path, 0, this);
  dialog.SetNotice([this](UINT id, UINT flags) { m_notice(id, LoadWideText(id), flags); });
  if (m_runRecordDialog(dialog) != IDOK) return;
  if (!RewriteHeaderFile(m_path, m_records)) {
    m_records = before; // the list shows what the file holds
    Tell(IDS_HEADER_REWRITE_FAILED);
  }
  ShowRecord(row, m_records[index]);
}

SizeEditAnswer CAddNewHeader::SizeEdited(int row, uint64_t kilobytes) {
  const size_t index = RecordOfRow(row);
  if (index >= m_records.size()) return SizeEditAnswer::Invalid;
  if (RefuseWrite()) return SizeEditAnswer::Declined;
  std::vector<HeaderRecord> after = m_records;
  if (!SignatureChoice::SetSizeKb(after[index], kilobytes)) return SizeEditAnswer::Invalid;
  if (!RewriteHeaderFile(m_path, after)) {
    Tell(IDS_HEADER_REWRITE_FAILED);
    return SizeEditAnswer::Declined;
  }
  m_records = std::move(after);
  return SizeEditAnswer::Taken;
}

// Only the chosen row's record goes, after the user agreed; a shipped one stays.
void CAddNewHeader::OnRemoveHeader() {
  const int row = ChosenRow();
  if (row < 0) return;
  const size_t index = RecordOfRow(row);
  if (index >= m_records.size()) return;
  const HeaderRecord &record = m_records[index];
  if (record.m_predefined) return Tell(IDS_PREDEFINED_NOT_REMOVABLE);
  if (RefuseWrite()) return;
  CString question;
  question.Format(LoadText(IDS_REMOVE_HEADER_QUESTION), Wide(record.m_softwareName),
                  Wide(record.m_extension));
  if (m_notice(IDS_REMOVE_HEADER_QUESTION, question.Str(), MB_YESNO | MB_ICONQUESTION | MB_TOPMOST) != IDYES)
    return;
  std::vector<HeaderRecord> after = m_records;
  after.erase(after.begin() + static_cast<std::ptrdiff_t>(index));
  if (!RewriteHeaderFile(m_path, after)) return Tell(IDS_HEADER_REWRITE_FAILED);
  m_records = std::move(after);
  // After a removal the rows stand in file order.
  FillList();
  SelectRow(std::min(row, static_cast<int>(m_records.size()) - 1));
}
