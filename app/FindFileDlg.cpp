#include "FindFileDlg.h"

#include "AppText.h"
#include "DatePickers.h"
#include "LeftView.h"
#include "MainFrm.h"
#include "QuendalVarnoth.h"
#include "QuendalVarnothView.h"
#include "resource.h"

#include <commctrl.h>

namespace {

constexpr DWORD kHelpContext = 1005;
constexpr UINT kMaxSizeKb = 2999999;
constexpr int kMaxSpin = 999;

const UINT kDateControls[] = {
    IDC_FIND_DATE_KIND, IDC_FIND_IN_MONTHS, IDC_FIND_MONTHS,  IDC_FIND_MONTHS_SPIN, IDC_FIND_IN_DAYS,
    IDC_FIND_DAYS,      IDC_FIND_DAYS_SPIN, IDC_FIND_BETWEEN, IDC_FIND_FROM_DATE,   IDC_FIND_TO_DATE};

int64_t Today() {
  SYSTEMTIME now = {};
  ::GetSystemTime(&now);
  return DayNumber(now.wYear, now.wMonth, now.wDay);
}

} // namespace

BEGIN_MESSAGE_MAP(CFindFileDlg, CExpandingDialog)
ON_EN_CHANGE(IDC_FIND_TEXT, OnFindTextChange)
ON_BN_CLICKED(IDC_FIND_SIZE, OnSizeCheck)
ON_BN_CLICKED(IDC_FIND_DATE, OnDateCheck)
ON_EN_CHANGE(IDC_FIND_SIZE_LIMIT, OnSizeLimitChange)
ON_BN_CLICKED(ID_HELP, OnHelpButton)
ON_NOTIFY(UDN_DELTAPOS, IDC_FIND_MONTHS_SPIN, OnMonthsSpin)
ON_NOTIFY(UDN_DELTAPOS, IDC_FIND_DAYS_SPIN, OnDaysSpin)
END_MESSAGE_MAP()

CFindFileDlg::CFindFileDlg(CWnd *parent)
    : CExpandingDialog(IDD_FIND, parent, IDC_FIND_MARKER, IDC_FIND_EXPAND, 0, LoadText(IDS_FIND_COLLAPSED),
                       LoadText(IDS_FIND_EXPANDED), true, &m_expanded) {}

BOOL CFindFileDlg::OnInitDialog() {
  // Opens collapsed; shown whole again below when it was left so.
  CExpandingDialog::OnInitDialog();
  CheckDlgButton(IDC_FIND_DELETED, BST_CHECKED);
  CheckDlgButton(IDC_FIND_MISSING, BST_CHECKED);
  for (UINT id : {IDC_FIND_POOR, IDC_FIND_FAIR, IDC_FIND_GOOD, IDC_FIND_VERY_GOOD, IDC_FIND_NOT_APPLICABLE})
    CheckDlgButton(id, BST_CHECKED);
  HWND sizeKind = ::GetDlgItem(m_hWnd, IDC_FIND_SIZE_KIND);
  ::SendMessageW(sizeKind, CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(LoadText(IDS_FIND_AT_LEAST).GetString()));
  ::SendMessageW(sizeKind, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LoadText(IDS_FIND_AT_MOST).GetString()));
  ::SendMessageW(sizeKind, CB_SETCURSEL, 0, 0);
  HWND dateKind = ::GetDlgItem(m_hWnd, IDC_FIND_DATE_KIND);
  ::SendMessageW(dateKind, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LoadText(IDS_CREATED_DATE).GetString()));
  ::SendMessageW(dateKind, CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(LoadText(IDS_MODIFIED_DATE).GetString()));
  ::SendMessageW(dateKind, CB_SETCURSEL, 0, 0);
  SetDlgItemText(IDC_FIND_SIZE_LIMIT, L"1");
  SetDlgItemText(IDC_FIND_MONTHS, L"1");
  SetDlgItemText(IDC_FIND_DAYS, L"1");
  CheckDlgButton(IDC_FIND_IN_MONTHS, BST_CHECKED);
  for (UINT id : {IDC_FIND_FROM_DATE, IDC_FIND_TO_DATE})
    DateTime_SetFormat(::GetDlgItem(m_hWnd, id), L"dd-MMM-yyyy");
  ::SendDlgItemMessageW(m_hWnd, IDC_FIND_MONTHS_SPIN, UDM_SETBUDDY,
                        reinterpret_cast<WPARAM>(::GetDlgItem(m_hWnd, IDC_FIND_MONTHS)), 0);
  ::SendDlgItemMessageW(m_hWnd, IDC_FIND_DAYS_SPIN, UDM_SETBUDDY,
                        reinterpret_cast<WPARAM>(::GetDlgItem(m_hWnd, IDC_FIND_DAYS)), 0);
  GetDlgItem(IDOK)->EnableWindow(FALSE);
  if (m_expanded) Expand(true);
  OnExpanded(IsExpanded());
  return TRUE;
}

void CFindFileDlg::OnFindTextChange() {
  GetDlgItem(IDOK)->EnableWindow(::GetWindowTextLengthW(::GetDlgItem(m_hWnd, IDC_FIND_TEXT)) > 0);
}

void CFindFileDlg::EnableSizeControls() {
  const BOOL on = IsDlgButtonChecked(IDC_FIND_SIZE) == BST_CHECKED;
  GetDlgItem(IDC_FIND_SIZE_KIND)->EnableWindow(on);
  GetDlgItem(IDC_FIND_SIZE_LIMIT)->EnableWindow(on);
}

void CFindFileDlg::EnableDateControls() {
  const BOOL on = IsDlgButtonChecked(IDC_FIND_DATE) == BST_CHECKED;
  for (UINT id : kDateControls) GetDlgItem(id)->EnableWindow(on);
}

void CFindFileDlg::OnSizeCheck() {
  EnableSizeControls();
}

void CFindFileDlg::OnDateCheck() {
  EnableDateControls();
}

void CFindFileDlg::OnSizeLimitChange() {
  CString text;
  GetDlgItemText(IDC_FIND_SIZE_LIMIT, text);
  if (text.IsEmpty()) {
    Message(IDS_SIZE_LIMIT_BLANK, MB_ICONINFORMATION | MB_TOPMOST);
    SetDlgItemText(IDC_FIND_SIZE_LIMIT, L"1");
    return;
  }
  // The edit takes digits only; a number past the limit loses the digit
  // just typed.
  const unsigned long long number = wcstoull(text.GetString(), nullptr, 10);
  if (number > kMaxSizeKb) {
    CString shorter;
    shorter.Format(L"%llu", number / 10);
    SetDlgItemText(IDC_FIND_SIZE_LIMIT, shorter);
  }
}

void CFindFileDlg::StepSpin(int editId, NMHDR *header) {
  const auto *change = reinterpret_cast<NMUPDOWN *>(header);
  int number = static_cast<int>(GetDlgItemInt(editId, nullptr, FALSE));
  number += change->iDelta > 0 ? 1 : -1;
  if (number > kMaxSpin) number = 1;
  if (number < 1) number = kMaxSpin;
  SetDlgItemInt(editId, static_cast<UINT>(number), FALSE);
}

void CFindFileDlg::OnMonthsSpin(NMHDR *header, LRESULT *result) {
  StepSpin(IDC_FIND_MONTHS, header);
  *result = 1; // the spin's own change is replaced by the wrapped one
}

void CFindFileDlg::OnDaysSpin(NMHDR *header, LRESULT *result) {
  StepSpin(IDC_FIND_DAYS, header);
  *result = 1;
}

void CFindFileDlg::OnExpanded(bool expanded) {
  if (!expanded) {
    CheckDlgButton(IDC_FIND_SIZE, BST_UNCHECKED);
    CheckDlgButton(IDC_FIND_DATE, BST_UNCHECKED);
  }
  // Shown again, the criteria's own controls follow their check boxes.
  EnableSizeControls();
  EnableDateControls();
}

void CFindFileDlg::OnHelpButton() {
  TheQvApp().ShowHelp(m_hWnd, kHelpContext);
}

BOOL CFindFileDlg::PreTranslateMessage(MSG *pMsg) {
  // F1 is the dialog's own: the same topic in the help file of the user's
  // language, and no other window sees the key.
  if ((pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN) && pMsg->wParam == VK_F1) {
    TheQvApp().ShowLanguageHelp(m_hWnd, kHelpContext);
    return TRUE;
  }
  return CExpandingDialog::PreTranslateMessage(pMsg);
}

int CFindFileDlg::Message(UINT textId, UINT style) {
  HWND owner = m_hWnd != nullptr ? m_hWnd : AfxGetMainWnd()->GetSafeHwnd();
  return ::MessageBoxW(owner, LoadText(textId), kProductTitle, style);
}

bool CFindFileDlg::GatherCriteria(FindCriteria &criteria) {
  auto checked = [this](UINT id) { return IsDlgButtonChecked(id) == BST_CHECKED; };
  criteria.matchCase = checked(IDC_FIND_MATCH_CASE);
  criteria.deleted = checked(IDC_FIND_DELETED);
  criteria.missing = checked(IDC_FIND_MISSING);
  criteria.grades[0] = checked(IDC_FIND_POOR);
  criteria.grades[1] = checked(IDC_FIND_FAIR);
  criteria.grades[2] = checked(IDC_FIND_GOOD);
  criteria.grades[3] = checked(IDC_FIND_VERY_GOOD);
  criteria.grades[4] = checked(IDC_FIND_NOT_APPLICABLE);
  if (!criteria.deleted && !criteria.missing) {
    Message(IDS_NEED_DELETED_OR_MISSING, MB_ICONERROR | MB_TOPMOST);
    return false;
  }
  CString text;
  GetDlgItemText(IDC_FIND_TEXT, text);
  criteria.patterns = SplitFindPatterns(U16(text.GetString()));
  criteria.sizeOn = checked(IDC_FIND_SIZE);
  criteria.sizeAtMost = ::SendDlgItemMessageW(m_hWnd, IDC_FIND_SIZE_KIND, CB_GETCURSEL, 0, 0) == 1;
  // 64 bits: limits above 4 GiB are common on today's disks.
  criteria.sizeLimit = static_cast<uint64_t>(GetDlgItemInt(IDC_FIND_SIZE_LIMIT, nullptr, FALSE)) * 1024;
  criteria.dateOn = checked(IDC_FIND_DATE);
  criteria.creationDate = ::SendDlgItemMessageW(m_hWnd, IDC_FIND_DATE_KIND, CB_GETCURSEL, 0, 0) != 1;
  criteria.dateMode = checked(IDC_FIND_IN_DAYS)   ? FindCriteria::DateMode::LastDays
                      : checked(IDC_FIND_BETWEEN) ? FindCriteria::DateMode::Between
                                                  : FindCriteria::DateMode::LastMonths;
  criteria.lastCount = static_cast<int>(
      GetDlgItemInt(criteria.dateMode == FindCriteria::DateMode::LastDays ? IDC_FIND_DAYS : IDC_FIND_MONTHS,
                    nullptr, FALSE));
  criteria.fromDay = PickerDay(::GetDlgItem(m_hWnd, IDC_FIND_FROM_DATE));
  criteria.toDay = PickerDay(::GetDlgItem(m_hWnd, IDC_FIND_TO_DATE));
  return true;
}

void CFindFileDlg::OnOK() {
  CQuendalVarnothApp &app = TheQvApp();
  app.FindNextAvailable = 0;
  FindCriteria criteria;
  if (!GatherCriteria(criteria)) return;
  EndDialog(IDOK);
  auto *frame = static_cast<CMainFrame *>(AfxGetMainWnd());
  // An empty Find text searches for nothing: F3 stays off.
  if (criteria.patterns.empty() || frame == nullptr) return;
  SearchFirst(*frame, criteria);
}

void CFindFileDlg::OnCancel() {
  TheQvApp().FindNextAvailable = 0;
  CExpandingDialog::OnCancel();
}

bool CFindFileDlg::SearchFirst(CMainFrame &frame, const FindCriteria &criteria) {
  CQuendalVarnothApp &app = TheQvApp();
  m_criteria = criteria;
  m_walkList = nullptr;
  m_foundOnce = false;
  app.FindNextAvailable = 0;
  if (m_criteria.patterns.empty()) return false;
  const bool found = SearchOnce(frame, true);
  app.FindNextAvailable = found ? 1 : 0;
  return found;
}

void CFindFileDlg::FindNext(CMainFrame &frame) {
  CQuendalVarnothApp &app = TheQvApp();
  if (m_criteria.patterns.empty()) {
    app.FindNextAvailable = 0;
    return;
  }
  if (SearchOnce(frame, false)) return;
  if (!m_foundOnce) return; // told "No matching entry found." already
  m_walkList = nullptr;
  m_foundOnce = false;
  app.FindNextAvailable = 0;
  Message(IDS_FIND_FINISHED, MB_ICONINFORMATION | MB_TOPMOST);
}

bool CFindFileDlg::SearchOnce(CMainFrame &frame, bool first) {
  if (SearchTree(frame)) {
    m_foundOnce = true;
    return true;
  }
  if (m_foundOnce && !first) return false;
  TheQvApp().FindNextAvailable = 0;
  Message(IDS_NO_MATCH, MB_ICONINFORMATION | MB_TOPMOST);
  return false;
}

bool CFindFileDlg::SearchTree(CMainFrame &frame) {
  CLeftView *tree = frame.GetLeftPane();
  if (tree == nullptr) return false;
  EntryNodeList &entries = tree->Entries();
  // A list emptied since the last match holds none of the entries the walk
  // knew: begin again at its head.
  if (m_walkList != &entries || m_walkGeneration != entries.Generation()) {
    m_walkList = &entries;
    m_walkGeneration = entries.Generation();
    m_nextIndex = 1; // the root is no found entry
    m_foundOnce = false;
  }
  const bool ntfs = TheQvApp().NtfsEngine != nullptr;
  const int64_t today = Today();
  for (size_t index = m_nextIndex; index < entries.Size(); ++index) {
    const TreeEntryNode &node = entries.At(index);
    if (node.m_unshown || !EntryMatchesFind(m_criteria, node.m_record, node.m_name, ntfs, today)) continue;
    m_nextIndex = index + 1;
    SelectFoundEntry(frame, entries, index);
    return true;
  }
  m_nextIndex = entries.Size();
  return false;
}

void CFindFileDlg::SelectFoundEntry(CMainFrame &frame, EntryNodeList &entries, size_t index) {
  CLeftView *tree = frame.GetLeftPane();
  CQuendalVarnothView *list = frame.GetRightPane();
  const TreeEntryNode &node = entries.At(index);
  const TreeEntryNode *root = entries.Root();
  TreeEntryNode *folder = entries.FindFolder(node.m_record.m_parentId);
  HTREEITEM item = folder != nullptr ? tree->ItemOf(*folder) : nullptr;
  if (item == nullptr && root != nullptr && node.m_record.m_parentId == root->m_record.m_ownId)
    item = tree->RootItem();
  if (item == nullptr) return;
  CTreeCtrl &items = tree->GetTreeCtrl();
  items.EnsureVisible(item);
  if (items.GetSelectedItem() != item) items.SelectItem(item);
  if (list != nullptr) list->HighlightRowByData(node.m_record.m_ownId);
}
