#include "SelectHeaderFiles.h"

#include "AppEngineServices.h"
#include "CheckBoxHit.h"
#include "HelpFiles.h"
#include "MainFrm.h"
#include "MyPropertySheet.h"
#include "QuendalVarnoth.h"
#include "Utf16Text.h"
#include "resource.h"

namespace {

constexpr int kUncheckedImage = 2;
constexpr int kCheckedImage = 3;
constexpr uint8_t kGroupCount = 13;
const UINT kGroupTexts[kGroupCount] = {
    IDS_GROUP_ALL,      IDS_GROUP_APPLICATION, IDS_GROUP_DATABASE,     IDS_GROUP_EMAIL, IDS_GROUP_DOCUMENT,
    IDS_GROUP_INTERNET, IDS_GROUP_MOVIE,       IDS_GROUP_OFFICE,       IDS_GROUP_TEXT,  IDS_GROUP_SOUND,
    IDS_GROUP_GRAPHIC,  IDS_GROUP_ARCHIVE,     IDS_GROUP_MISCELLANEOUS};

CString Text(const std::u16string &text) {
  return CString(reinterpret_cast<const wchar_t *>(text.c_str()));
}

CString SizeText(const HeaderRecord &record) {
  CString text;
  text.Format(L"%u", record.m_maxSize >> 10);
  return text;
}

} // namespace

BEGIN_MESSAGE_MAP(CSelectHeaderFiles, CWizardPage)
ON_CBN_SELCHANGE(IDC_HEADER_GROUP, OnHeaderGroupChange)
ON_BN_CLICKED(IDC_HEADER_EDIT, OnEditHeaderRecord)
ON_BN_CLICKED(IDC_HEADER_ADD, OnAddHeaderRecord)
ON_BN_CLICKED(IDC_HEADER_REMOVE, OnRemoveHeaderRecord)
ON_BN_CLICKED(IDC_HEADER_SELECT_ALL, OnSelectAllHeaders)
ON_BN_CLICKED(IDC_HEADER_UNSELECT_ALL, OnUnselectAllHeaders)
END_MESSAGE_MAP()

CSelectHeaderFiles::CSelectHeaderFiles()
    : CWizardPage(IDD_SELECT_HEADERS, IDC_HEADER_SUPPORT_LINK,
                  {IDH_FILE_TYPES, IDH_FILE_TYPES, IDH_FILE_TYPES}) {}

BOOL CSelectHeaderFiles::OnInitDialog() {
  CWizardPage::OnInitDialog();
  m_list.SubclassDlgItem(IDC_HEADER_LIST, this);
  m_stateImages.Create(IDB_CHECK_STATES, 14, 1, RGB(0xFF, 0xFF, 0xFF));
  m_list.SetImageList(&m_stateImages, LVSIL_STATE);
  m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  m_list.DeleteAllItems();
  const std::pair<UINT, int> columns[] = {
      {IDS_COLUMN_NAME, 255}, {IDS_COLUMN_EXTENSION, 69}, {IDS_COLUMN_SIZE, 70}};
  for (int column = 0; column < 3; ++column) {
    CString title;
    title.LoadString(columns[column].first);
    m_list.InsertColumn(column, title, LVCFMT_LEFT, columns[column].second);
    // A translated title longer than the column would be cut: the column
    // grows as far as it needs, sort triangle included.
    const int needed = m_list.SortHeader().WidthShowingTitle(column);
    if (needed > columns[column].second) m_list.SetColumnWidth(column, needed);
  }
  for (UINT id : {IDC_HEADER_TYPES_LABEL, IDC_HEADER_GROUP_LABEL}) UseTitleFont(id);
  m_groupBox.SubclassDlgItem(IDC_HEADER_GROUP, this);
  for (UINT id : kGroupTexts) {
    CString group;
    group.LoadString(id);
    m_groupBox.AddString(group);
  }
  m_groupBox.SetCurSel(0);
  if (!m_store) m_store = MakeInstalledSignatureStore();
  m_choice.Load(m_store->Load());
  // The signatures the last advanced search or disk scan was given stay
  // chosen for the next one; a fast search and an opened scan file let
  // them go, and the defaults are chosen again.
  if (CMainFrame *frame = Frame()) m_choice.Keep(frame->EngineServices().SelectedHeaders());
  FillRows(0);
  m_list.SetOwner(this);
  m_list.SortByName();
  if (m_list.GetItemCount() > 0) {
    m_list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_list.EnsureVisible(0, FALSE);
  }
  UpdateChoiceButtons();
  ShowWizardCheckFromApp();
  m_list.SetFocus();
  return TRUE;
}

BOOL CSelectHeaderFiles::OnSetActive() {
  UpdateChoiceButtons();
  ShowWizardCheckFromApp();
  return CWizardPage::OnSetActive();
}

uint8_t CSelectHeaderFiles::ShownGroup() const {
  const auto index = static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_HEADER_GROUP, CB_GETCURSEL, 0, 0));
  return index > 0 && index < kGroupCount ? static_cast<uint8_t>(index) : 0;
}

void CSelectHeaderFiles::FillRows(uint8_t group) {
  m_list.DeleteAllItems();
  int row = 0;
  for (size_t record : m_choice.RecordsOfGroup(group)) {
    const HeaderRecord &shown = m_choice.Records()[record];
    m_list.InsertItem(row, Text(shown.m_softwareName));
    m_list.SetItemText(row, kSignatureExtension, Text(shown.m_extension));
    m_list.SetItemText(row, kSignatureSize, SizeText(shown));
    m_list.SetItemData(row, record);
    ShowRow(row);
    ++row;
  }
}

void CSelectHeaderFiles::ShowRow(int row) {
  const size_t record = RecordOfRow(row);
  if (record >= m_choice.Records().size()) return;
  const bool checked = m_choice.Records()[record].m_selected != 0;
  m_list.SetItemState(row, INDEXTOSTATEIMAGEMASK(checked ? kCheckedImage : kUncheckedImage),
                      LVIS_STATEIMAGEMASK);
}

void CSelectHeaderFiles::UpdateChoiceButtons() {
  const bool any = m_choice.AnySelected();
  // With no signature file the search still runs, finding folders only.
  SetSheetButtons(PSWIZB_BACK | (any || m_choice.Records().empty() ? PSWIZB_FINISH : PSWIZB_DISABLEDFINISH));
  if (CWnd *selectAll = GetDlgItem(IDC_HEADER_SELECT_ALL))
    selectAll->EnableWindow(!m_choice.Records().empty() && !m_choice.AllSelected());
  if (CWnd *unselectAll = GetDlgItem(IDC_HEADER_UNSELECT_ALL)) unselectAll->EnableWindow(any);
}

void CSelectHeaderFiles::OnHeaderGroupChange() {
  FillRows(ShownGroup());
}

void CSelectHeaderFiles::ToggleHeaderCheck(int row, CPoint point) {
  if (ListCheckBoxRowAt(m_list, point) != row) return;
  const size_t record = RecordOfRow(row);
  if (record >= m_choice.Records().size()) return;
  m_choice.SetSelected(record, m_choice.Records()[record].m_selected == 0);
  ShowRow(row);
  m_list.RedrawItems(row, row);
  UpdateChoiceButtons();
}

SizeEditAnswer CSelectHeaderFiles::SizeEdited(int row, uint64_t kilobytes) {
  if (RefuseWrite()) return SizeEditAnswer::Declined;
  if (!m_choice.SetSizeKb(RecordOfRow(row), kilobytes)) return SizeEditAnswer::Invalid;
  Rewrite();
  return SizeEditAnswer::Taken;
}

void CSelectHeaderFiles::OnSelectAllHeaders() {
  if (m_choice.Records().empty()) return;
  m_choice.SelectAll();
  for (int row = 0; row < m_list.GetItemCount(); ++row) ShowRow(row);
  UpdateChoiceButtons();
}

void CSelectHeaderFiles::OnUnselectAllHeaders() {
  m_choice.UnselectAll();
  for (int row = 0; row < m_list.GetItemCount(); ++row) ShowRow(row);
  UpdateChoiceButtons();
}

int CSelectHeaderFiles::ChosenRow() const {
  const int selected = m_list.GetNextItem(-1, LVNI_SELECTED);
  if (selected >= 0) return selected;
  const int clicked = m_list.LastClickedRow();
  return clicked < m_list.GetItemCount() ? clicked : -1;
}

void CSelectHeaderFiles::OnEditHeaderRecord() {
  const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
  if (row < 0) return;
  const size_t record = RecordOfRow(row);
  if (record >= m_choice.Records().size()) return;
  HeaderRecord edited = m_choice.Records()[record];
  if (!m_store->EditRecord(*this, edited)) return;
  m_choice.Replace(record, edited);
  m_list.SetItemText(row, kSignatureName, Text(edited.m_softwareName));
  m_list.SetItemText(row, kSignatureExtension, Text(edited.m_extension));
  m_list.SetItemText(row, kSignatureSize, SizeText(edited));
  Rewrite();
}

void CSelectHeaderFiles::OnAddHeaderRecord() {
  std::optional<HeaderRecord> added = m_store->AddRecord(*this, ShownGroup());
  if (!added) return;
  const uint8_t group = added->m_group < kGroupCount ? added->m_group : 0;
  m_choice.Append(std::move(*added));
  SendDlgItemMessage(IDC_HEADER_GROUP, CB_SETCURSEL, group);
  FillRows(group);
  m_list.SortByName();
  const int row = ChosenRow();
  if (row >= 0) m_list.EnsureVisible(row, FALSE);
  m_list.SetFocus();
  UpdateChoiceButtons();
}

void CSelectHeaderFiles::OnRemoveHeaderRecord() {
  const int row = ChosenRow();
  if (row < 0) return;
  const size_t record = RecordOfRow(row);
  if (record >= m_choice.Records().size()) return;
  const HeaderRecord &removed = m_choice.Records()[record];
  if (removed.m_predefined != 0) {
    AskUser(IDS_PREDEFINED_NOT_REMOVABLE, MB_ICONSTOP | MB_TOPMOST);
    return;
  }
  if (RefuseWrite()) return;
  if (AskUser(IDS_REMOVE_HEADER_QUESTION, MB_YESNO | MB_ICONQUESTION | MB_TOPMOST,
              Text(removed.m_softwareName), Text(removed.m_extension)) != IDYES)
    return;
  if (m_choice.Remove(record) != SignatureChoice::RemoveResult::Removed) return;
  Rewrite();
  FillRows(ShownGroup());
  UpdateChoiceButtons();
}

void CSelectHeaderFiles::Rewrite() {
  if (!m_store->Rewrite(m_choice.Records())) AskUser(IDS_HEADER_REWRITE_FAILED, MB_ICONSTOP | MB_TOPMOST);
}

bool CSelectHeaderFiles::RefuseWrite() {
  if (!m_store->OnSearchedDrive()) return false;
  AskUser(IDS_SIGNATURES_ON_SEARCHED_DRIVE, MB_ICONSTOP | MB_TOPMOST);
  return true;
}

int CSelectHeaderFiles::AskUser(UINT textId, UINT type, const CString &name, const CString &extension) {
  CString text;
  text.LoadString(textId);
  if (!name.IsEmpty() || !extension.IsEmpty()) {
    CString formatted;
    formatted.Format(text, name.GetString(), extension.GetString());
    text = formatted;
  }
  CWnd *owner = GetParentSheet();
  return ::MessageBoxW(owner != nullptr ? owner->m_hWnd : m_hWnd, text, kProductTitle, type);
}

BOOL CSelectHeaderFiles::OnWizardFinish() {
  auto *sheet = dynamic_cast<MyPropertySheet *>(GetParentSheet());
  if (sheet == nullptr) return FALSE;
  return FinishWithSearch(sheet->DrivePage().DriveTree().CheckedRecord(), UWM_START_ADVANCED_SCAN,
                          m_choice.Chosen());
}
