#include "FileMask.h"

#include "AppText.h"
#include "DatePickers.h"
#include "FindCriteria.h"
#include "HelpFiles.h"
#include "LeftView.h"
#include "QuendalVarnoth.h"
#include "resource.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <unordered_set>

void FileMaskState::Apply(CLeftView &tree, const FileMaskCriteria &criteria, bool ntfs, int64_t today,
                          RebuildPace &pace) {
  if (m_holding) {
    // Masks do not stack: the new one judges the full results.
    KeepMaskedChecks(tree.Entries());
  } else {
    m_full = std::move(tree.Entries());
    m_holding = true;
  }
  tree.CreateRootItem();
  TreeEntryNode *root = m_full.Root();
  m_fullOf.assign(1, root);
  if (root == nullptr) return;
  std::unordered_set<const TreeEntryNode *> placed{root};
  std::vector<TreeEntryNode *> chain;
  for (TreeEntryNode &node : m_full) {
    // Only here, between whole files: a stop never leaves a folder without
    // the file that brought it in.
    if (pace.ShouldStop()) break;
    if (node.IsFolder() || node.m_unshown ||
        !FileMaskKeeps(criteria, node.m_record, node.m_name, ntfs, today))
      continue;
    // The file's folders that are not in the tree yet, nearest first; a
    // damaged disk can give folders that hold each other.
    chain.clear();
    for (TreeEntryNode *folder = m_full.FindFolder(node.m_record.m_parentId);
         folder != nullptr && placed.count(folder) == 0 && chain.size() < m_full.Size();
         folder = m_full.FindFolder(folder->m_record.m_parentId))
      chain.push_back(folder);
    for (auto folder = chain.rbegin(); folder != chain.rend(); ++folder) {
      if (!placed.insert(*folder).second) continue;
      tree.AddEntryToTree((*folder)->m_record, (*folder)->m_name);
      m_fullOf.push_back(*folder);
      pace.Placed((*folder)->m_record);
    }
    tree.AddEntryToTree(node.m_record, node.m_name);
    m_fullOf.push_back(&node);
    pace.Placed(node.m_record);
  }
  tree.ResetTreeToRoot();
}

void FileMaskState::KeepMaskedChecks(EntryNodeList &masked) {
  // A file keeps the box the masked tree showed. A folder shown there is
  // judged again by its entries, hidden ones included, so a folder ticked
  // while masked never ticks files the user did not see.
  for (size_t index = 1; index < masked.Size() && index < m_fullOf.size(); ++index) {
    const TreeEntryNode &shown = masked.At(index);
    m_fullOf[index]->m_record.m_checkState = shown.IsFolder() ? uint8_t{kPartlyChecked} : shown.Check();
  }
}

void FileMaskState::Remove(CLeftView &tree, RebuildPace &pace) {
  if (!m_holding) return;
  KeepMaskedChecks(tree.Entries());
  EntryNodeList full = std::move(m_full);
  Drop();
  tree.CreateRootItem();
  for (size_t index = 1; index < full.Size(); ++index) {
    pace.ShouldStop();
    tree.AddEntryToTree(full.At(index).m_record, full.At(index).m_name);
    pace.Placed(full.At(index).m_record);
  }
  tree.ResetTreeToRoot();
}

void FileMaskState::Drop() {
  m_full.Clear();
  m_fullOf.clear();
  m_holding = false;
}

namespace {

const DWORD kHelpContext = HelpContextOfCommand(ID_TOOLS_FILE_MASK);
constexpr int kMaxSpin = 999;
const UINT kDateOptions[] = {IDC_MASK_IN_MONTHS, IDC_MASK_IN_DAYS, IDC_MASK_BETWEEN};

bool IsSoundNumber(const CString &text) {
  if (text.IsEmpty() || text[0] == L'0') return false;
  for (int i = 0; i < text.GetLength(); ++i)
    if (text[i] < L'0' || text[i] > L'9') return false;
  return true;
}

} // namespace

BEGIN_MESSAGE_MAP(CFileMaskDlg, CDialog)
ON_BN_CLICKED(IDC_MASK_SET, OnSetMask)
ON_BN_CLICKED(ID_HELP, OnHelpButton)
ON_BN_CLICKED(IDC_MASK_SIZE_FROM, OnChoiceClicked)
ON_BN_CLICKED(IDC_MASK_SIZE_UPTO, OnChoiceClicked)
ON_BN_CLICKED(IDC_MASK_DATE, OnChoiceClicked)
ON_BN_CLICKED(IDC_MASK_IN_MONTHS, OnChoiceClicked)
ON_BN_CLICKED(IDC_MASK_IN_DAYS, OnChoiceClicked)
ON_BN_CLICKED(IDC_MASK_BETWEEN, OnChoiceClicked)
ON_EN_CHANGE(IDC_MASK_LOWER_LIMIT, OnLowerLimitChange)
ON_EN_CHANGE(IDC_MASK_UPPER_LIMIT, OnUpperLimitChange)
ON_EN_CHANGE(IDC_MASK_MONTHS, OnMonthsChange)
ON_EN_CHANGE(IDC_MASK_DAYS, OnDaysChange)
ON_NOTIFY(UDN_DELTAPOS, IDC_MASK_MONTHS_SPIN, OnMonthsSpin)
ON_NOTIFY(UDN_DELTAPOS, IDC_MASK_DAYS_SPIN, OnDaysSpin)
ON_NOTIFY(DTN_DATETIMECHANGE, IDC_MASK_FROM_DATE, OnFromDateChange)
ON_NOTIFY(DTN_DATETIMECHANGE, IDC_MASK_TO_DATE, OnToDateChange)
END_MESSAGE_MAP()

CFileMaskDlg::CFileMaskDlg(FileMaskChoices &remembered, CWnd *parent)
    : CDialog(IDD_FILE_MASK, parent), m_remembered(remembered) {}

BOOL CFileMaskDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_quiet = true;
  CheckDlgButton(IDC_MASK_DELETED, BST_CHECKED);
  CheckDlgButton(IDC_MASK_MISSING, BST_CHECKED);
  SetDlgItemText(IDC_MASK_UPPER_LIMIT, L"10000");
  SetDlgItemText(IDC_MASK_MONTHS, L"0");
  SetDlgItemText(IDC_MASK_DAYS, L"0");
  HWND dateKind = ::GetDlgItem(m_hWnd, IDC_MASK_DATE_KIND);
  ::SendMessageW(dateKind, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LoadText(IDS_CREATED_DATE).GetString()));
  ::SendMessageW(dateKind, CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(LoadText(IDS_MODIFIED_DATE).GetString()));
  ::SendMessageW(dateKind, CB_SETCURSEL, m_remembered.creationDate ? 0 : 1, 0);
  SetDlgItemText(IDC_MASK_TYPES, Wide(m_remembered.typesText));
  CheckDlgButton(IDC_MASK_MATCH_CASE, m_remembered.matchCase ? BST_CHECKED : BST_UNCHECKED);
  for (UINT id : {IDC_MASK_FROM_DATE, IDC_MASK_TO_DATE})
    DateTime_SetFormat(::GetDlgItem(m_hWnd, id), L"dd-MMM-yyyy");
  ::SendDlgItemMessageW(m_hWnd, IDC_MASK_MONTHS_SPIN, UDM_SETRANGE32, 1, kMaxSpin);
  ::SendDlgItemMessageW(m_hWnd, IDC_MASK_DAYS_SPIN, UDM_SETRANGE32, 1, kMaxSpin);
  const UINT dateOption = m_remembered.dateMode == FileMaskCriteria::DateMode::LastDays  ? IDC_MASK_IN_DAYS
                          : m_remembered.dateMode == FileMaskCriteria::DateMode::Between ? IDC_MASK_BETWEEN
                                                                                         : IDC_MASK_IN_MONTHS;
  CheckDlgButton(dateOption, BST_CHECKED);
  EnableChoices();
  m_quiet = false;
  return TRUE;
}

void CFileMaskDlg::EnableChoices() {
  auto enable = [this](UINT id, bool on) { ::EnableWindow(::GetDlgItem(m_hWnd, id), on ? TRUE : FALSE); };
  enable(IDC_MASK_LOWER_LIMIT, Checked(IDC_MASK_SIZE_FROM));
  enable(IDC_MASK_UPPER_LIMIT, Checked(IDC_MASK_SIZE_UPTO));
  const bool date = Checked(IDC_MASK_DATE);
  for (UINT id : {IDC_MASK_DATE_KIND, IDC_MASK_IN_MONTHS, IDC_MASK_IN_DAYS, IDC_MASK_BETWEEN})
    enable(id, date);
  const bool months = date && Checked(IDC_MASK_IN_MONTHS);
  const bool days = date && Checked(IDC_MASK_IN_DAYS);
  const bool between = date && Checked(IDC_MASK_BETWEEN);
  enable(IDC_MASK_MONTHS, months);
  enable(IDC_MASK_MONTHS_SPIN, months);
  enable(IDC_MASK_DAYS, days);
  enable(IDC_MASK_DAYS_SPIN, days);
  enable(IDC_MASK_FROM_DATE, between);
  enable(IDC_MASK_TO_DATE, between);
}

void CFileMaskDlg::OnChoiceClicked() {
  // A wrong lower limit the user turned off no longer stands in the way.
  if (!Checked(IDC_MASK_SIZE_FROM)) m_lowerInvalid = false;
  EnableChoices();
}

void CFileMaskDlg::SetQuietly(UINT editId, const wchar_t *text) {
  const bool quiet = m_quiet;
  m_quiet = true;
  SetDlgItemText(editId, text);
  m_quiet = quiet;
}

void CFileMaskDlg::CheckTyped(UINT editId, UINT boxId) {
  if (m_quiet) return;
  CString text;
  GetDlgItemText(editId, text);
  if (IsSoundNumber(text)) {
    if (editId == IDC_MASK_LOWER_LIMIT) m_lowerInvalid = false;
    return;
  }
  if (editId == IDC_MASK_LOWER_LIMIT) {
    for (int i = 0; i < text.GetLength(); ++i)
      if (text[i] < L'0' || text[i] > L'9') m_lowerInvalid = true;
  }
  // Cleared before the message shows, so the box cannot report the same
  // text twice.
  SetQuietly(editId, L"");
  CheckDlgButton(boxId, BST_UNCHECKED);
  EnableChoices();
  Tell(IDS_INVALID_FILE_SIZE, MB_ICONSTOP);
}

void CFileMaskDlg::OnLowerLimitChange() {
  CheckTyped(IDC_MASK_LOWER_LIMIT, IDC_MASK_SIZE_FROM);
}

void CFileMaskDlg::OnUpperLimitChange() {
  CheckTyped(IDC_MASK_UPPER_LIMIT, IDC_MASK_SIZE_UPTO);
}

// An N of the date part is turned on by the Date box.
void CFileMaskDlg::OnMonthsChange() {
  CheckTyped(IDC_MASK_MONTHS, IDC_MASK_DATE);
}

void CFileMaskDlg::OnDaysChange() {
  CheckTyped(IDC_MASK_DAYS, IDC_MASK_DATE);
}

void CFileMaskDlg::StepSpin(UINT editId, NMHDR *header) {
  const auto *change = reinterpret_cast<NMUPDOWN *>(header);
  int number = static_cast<int>(GetDlgItemInt(editId, nullptr, FALSE));
  number += change->iDelta > 0 ? 1 : -1;
  if (number > kMaxSpin) number = 1;
  if (number < 1) number = kMaxSpin;
  CString text;
  text.Format(L"%d", number);
  SetQuietly(editId, text);
}

void CFileMaskDlg::OnMonthsSpin(NMHDR *header, LRESULT *result) {
  StepSpin(IDC_MASK_MONTHS, header);
  *result = 1; // the spin's own change is replaced by the wrapped one
}

void CFileMaskDlg::OnDaysSpin(NMHDR *header, LRESULT *result) {
  StepSpin(IDC_MASK_DAYS, header);
  *result = 1;
}

void CFileMaskDlg::ChooseDateMode(UINT optionId) {
  for (UINT id : kDateOptions) CheckDlgButton(id, id == optionId ? BST_CHECKED : BST_UNCHECKED);
  EnableChoices();
}

void CFileMaskDlg::PickerChanged(NMHDR *header) {
  HWND picker = header->hwndFrom;
  SYSTEMTIME shown = {};
  if (DateTime_GetSystemtime(picker, &shown) != GDT_VALID) return;
  const SYSTEMTIME kept = PickerDate(picker);
  if (kept.wYear != shown.wYear) DateTime_SetSystemtime(picker, GDT_VALID, &kept);
  SYSTEMTIME today = {};
  ::GetLocalTime(&today);
  if (kept.wYear == today.wYear && kept.wMonth == today.wMonth && kept.wDay == today.wDay) return;
  SetQuietly(IDC_MASK_MONTHS, L"");
  SetQuietly(IDC_MASK_DAYS, L"");
  ChooseDateMode(IDC_MASK_BETWEEN);
}

void CFileMaskDlg::OnFromDateChange(NMHDR *header, LRESULT *result) {
  PickerChanged(header);
  *result = 0;
}

void CFileMaskDlg::OnToDateChange(NMHDR *header, LRESULT *result) {
  PickerChanged(header);
  *result = 0;
}

BOOL CFileMaskDlg::PreTranslateMessage(MSG *pMsg) {
  if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_DOWN || pMsg->wParam == VK_UP)) {
    // Among the date options the arrows step through them in their order
    // and stop at either end.
    const int count = static_cast<int>(std::size(kDateOptions));
    for (int index = 0; index < count; ++index) {
      if (pMsg->hwnd != ::GetDlgItem(m_hWnd, kDateOptions[index])) continue;
      const int next = pMsg->wParam == VK_DOWN ? std::min(index + 1, count - 1) : std::max(index - 1, 0);
      ChooseDateMode(kDateOptions[next]);
      ::SetFocus(::GetDlgItem(m_hWnd, kDateOptions[next]));
      return TRUE;
    }
  }
  return CDialog::PreTranslateMessage(pMsg);
}

void CFileMaskDlg::Tell(UINT textId, UINT style) {
  ::MessageBoxW(m_hWnd, LoadText(textId), kProductTitle, style);
}

bool CFileMaskDlg::ReadKilobytes(UINT editId, uint64_t &bytes) {
  CString text;
  GetDlgItemText(editId, text);
  if (text.IsEmpty() || text.GetLength() > 15) return false;
  for (int i = 0; i < text.GetLength(); ++i)
    if (text[i] < L'0' || text[i] > L'9') return false;
  bytes = KilobytesToBytes(wcstoull(text.GetString(), nullptr, 10));
  return true;
}

void CFileMaskDlg::OnSetMask() {
  if (m_lowerInvalid) {
    Tell(IDS_INVALID_SIZE, MB_ICONINFORMATION);
    return;
  }
  FileMaskCriteria criteria;
  criteria.sizeFromOn = Checked(IDC_MASK_SIZE_FROM);
  criteria.sizeUptoOn = Checked(IDC_MASK_SIZE_UPTO);
  if ((criteria.sizeFromOn && !ReadKilobytes(IDC_MASK_LOWER_LIMIT, criteria.sizeFrom)) ||
      (criteria.sizeUptoOn && !ReadKilobytes(IDC_MASK_UPPER_LIMIT, criteria.sizeUpto))) {
    Tell(IDS_INVALID_SIZE, MB_ICONINFORMATION);
    return;
  }
  criteria.deleted = Checked(IDC_MASK_DELETED);
  criteria.missing = Checked(IDC_MASK_MISSING);
  if (!criteria.deleted && !criteria.missing) {
    Tell(IDS_NEED_DELETED_OR_MISSING, MB_ICONSTOP);
    return;
  }
  if (criteria.sizeFromOn && criteria.sizeUptoOn && criteria.sizeFrom > criteria.sizeUpto) {
    Tell(IDS_LOWER_ABOVE_UPPER, MB_ICONSTOP);
    return;
  }
  CString types;
  GetDlgItemText(IDC_MASK_TYPES, types);
  criteria.types = SplitMaskTypes(U16(types.GetString()));
  criteria.matchCase = Checked(IDC_MASK_MATCH_CASE);
  criteria.dateOn = Checked(IDC_MASK_DATE);
  criteria.creationDate = ::SendDlgItemMessageW(m_hWnd, IDC_MASK_DATE_KIND, CB_GETCURSEL, 0, 0) != 1;
  criteria.dateMode = Checked(IDC_MASK_IN_DAYS)   ? FileMaskCriteria::DateMode::LastDays
                      : Checked(IDC_MASK_BETWEEN) ? FileMaskCriteria::DateMode::Between
                                                  : FileMaskCriteria::DateMode::LastMonths;
  criteria.lastCount = static_cast<int>(GetDlgItemInt(
      criteria.dateMode == FileMaskCriteria::DateMode::LastDays ? IDC_MASK_DAYS : IDC_MASK_MONTHS, nullptr,
      FALSE));
  criteria.fromDay = PickerDay(::GetDlgItem(m_hWnd, IDC_MASK_FROM_DATE));
  criteria.toDay = PickerDay(::GetDlgItem(m_hWnd, IDC_MASK_TO_DATE));
  m_remembered.typesText = U16(types.GetString());
  m_remembered.matchCase = criteria.matchCase;
  m_remembered.creationDate = criteria.creationDate;
  m_remembered.dateMode = criteria.dateMode;
  m_criteria = std::move(criteria);
  EndDialog(IDOK);
}

void CFileMaskDlg::OnHelpButton() {
  TheQvApp().ShowHelp(m_hWnd, kHelpContext);
}
