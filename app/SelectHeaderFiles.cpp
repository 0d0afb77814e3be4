#include "SelectHeaderFiles.h"

#include "HelpFiles.h"
#include "MainFrm.h"
#include "MyPropertySheet.h"
#include "QuendalVarnoth.h"
#include "resource.h"

CSelectHeaderFiles::CSelectHeaderFiles()
    : CWizardPage(IDD_SELECT_HEADERS, IDC_HEADER_SUPPORT_LINK,
                  {IDH_FILE_TYPES, IDH_FILE_TYPES, IDH_FILE_TYPES}) {}

BOOL CSelectHeaderFiles::OnInitDialog() {
  CWizardPage::OnInitDialog();
  for (UINT id : {IDC_HEADER_TYPES_LABEL, IDC_HEADER_GROUP_LABEL}) UseTitleFont(id);
  CString all;
  all.LoadString(IDS_GROUP_ALL);
  SendDlgItemMessage(IDC_HEADER_GROUP, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(all.GetString()));
  SendDlgItemMessage(IDC_HEADER_GROUP, CB_SETCURSEL, 0);
  // Nothing to edit, add or choose yet.
  for (UINT id :
       {IDC_HEADER_EDIT, IDC_HEADER_ADD, IDC_HEADER_REMOVE, IDC_HEADER_SELECT_ALL, IDC_HEADER_UNSELECT_ALL})
    if (CWnd *button = GetDlgItem(id)) button->EnableWindow(FALSE);
  ShowWizardCheckFromApp();
  return TRUE;
}

BOOL CSelectHeaderFiles::OnSetActive() {
  SetSheetButtons(PSWIZB_BACK | PSWIZB_FINISH);
  ShowWizardCheckFromApp();
  return CWizardPage::OnSetActive();
}

BOOL CSelectHeaderFiles::OnWizardFinish() {
  auto *sheet = dynamic_cast<MyPropertySheet *>(GetParentSheet());
  if (sheet == nullptr) return FALSE;
  return FinishWithSearch(sheet->DrivePage().DriveTree().CheckedRecord(), UWM_START_ADVANCED_SCAN);
}
