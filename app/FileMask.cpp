#include "FileMask.h"

#include "AppText.h"
#include "FindCriteria.h"
#include "HelpFiles.h"
#include "LeftView.h"
#include "QuendalVarnoth.h"
#include "resource.h"

#include <commctrl.h>

#include <unordered_set>

void FileMaskState::Apply(CLeftView &tree, const FileMaskCriteria &criteria, bool ntfs, int64_t today) {
  m_full = std::move(tree.Entries());
  m_holding = true;
  tree.CreateRootItem();
  TreeEntryNode *root = m_full.Root();
  m_fullOf.assign(1, root);
  if (root == nullptr) return;
  std::unordered_set<const TreeEntryNode *> placed{root};
  std::vector<TreeEntryNode *> chain;
  for (TreeEntryNode &node : m_full) {
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
    }
    tree.AddEntryToTree(node.m_record, node.m_name);
    m_fullOf.push_back(&node);
  }
  tree.ResetTreeToRoot();
}

void FileMaskState::Remove(CLeftView &tree) {
  if (!m_holding) return;
  EntryNodeList &masked = tree.Entries();
  // A file keeps the box the masked tree showed. A folder shown there is
  // judged again by its entries, hidden ones included, so a folder ticked
  // while masked never ticks files the user did not see.
  for (size_t index = 1; index < masked.Size() && index < m_fullOf.size(); ++index) {
    const TreeEntryNode &shown = masked.At(index);
    m_fullOf[index]->m_record.m_checkState = shown.IsFolder() ? uint8_t{kPartlyChecked} : shown.Check();
  }
  EntryNodeList full = std::move(m_full);
  Drop();
  tree.CreateRootItem();
  for (size_t index = 1; index < full.Size(); ++index)
    tree.AddEntryToTree(full.At(index).m_record, full.At(index).m_name);
  tree.ResetTreeToRoot();
}

void FileMaskState::Drop() {
  m_full.Clear();
  m_fullOf.clear();
  m_holding = false;
}

namespace {

const DWORD kHelpContext = HelpContextOfCommand(ID_TOOLS_FILE_MASK);

int64_t PickerDay(HWND picker) {
  SYSTEMTIME chosen = {};
  if (DateTime_GetSystemtime(picker, &chosen) != GDT_VALID) ::GetSystemTime(&chosen);
  int year = chosen.wYear;
  if (year >= 2031) year = 2015;
  if (year < 1971) year = 1970;
  return DayNumber(year, chosen.wMonth, chosen.wDay);
}

} // namespace

BEGIN_MESSAGE_MAP(CFileMaskDlg, CDialog)
ON_BN_CLICKED(IDC_MASK_SET, OnSetMask)
ON_BN_CLICKED(ID_HELP, OnHelpButton)
END_MESSAGE_MAP()

CFileMaskDlg::CFileMaskDlg(CWnd *parent) : CDialog(IDD_FILE_MASK, parent) {}

BOOL CFileMaskDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  CheckDlgButton(IDC_MASK_DELETED, BST_CHECKED);
  CheckDlgButton(IDC_MASK_MISSING, BST_CHECKED);
  SetDlgItemText(IDC_MASK_UPPER_LIMIT, L"10000");
  SetDlgItemText(IDC_MASK_MONTHS, L"0");
  SetDlgItemText(IDC_MASK_DAYS, L"0");
  HWND dateKind = ::GetDlgItem(m_hWnd, IDC_MASK_DATE_KIND);
  ::SendMessageW(dateKind, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LoadText(IDS_CREATED_DATE).GetString()));
  ::SendMessageW(dateKind, CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(LoadText(IDS_MODIFIED_DATE).GetString()));
  ::SendMessageW(dateKind, CB_SETCURSEL, 0, 0);
  for (UINT id : {IDC_MASK_FROM_DATE, IDC_MASK_TO_DATE})
    DateTime_SetFormat(::GetDlgItem(m_hWnd, id), L"dd-MMM-yyyy");
  ::SendDlgItemMessageW(m_hWnd, IDC_MASK_MONTHS_SPIN, UDM_SETRANGE32, 1, 999);
  ::SendDlgItemMessageW(m_hWnd, IDC_MASK_DAYS_SPIN, UDM_SETRANGE32, 1, 999);
  CheckDlgButton(IDC_MASK_IN_MONTHS, BST_CHECKED);
  return TRUE;
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
  m_criteria = std::move(criteria);
  EndDialog(IDOK);
}

void CFileMaskDlg::OnHelpButton() {
  TheQvApp().ShowHelp(m_hWnd, kHelpContext);
}
