#include "SelectSearchDriveDlg.h"

#include "AppEngineServices.h"
#include "DriveSource.h"
#include "HelpFiles.h"
#include "MainFrm.h"
#include "QuendalVarnoth.h"
#include "resource.h"

CSelectSearchDriveDlg::CSelectSearchDriveDlg()
    : CWizardPage(IDD_SEARCH_DRIVE, IDC_DRIVE_SUPPORT_LINK,
                  {IDH_DRIVE_FAST, IDH_DRIVE_ADVANCED, IDH_DRIVE_DISK}) {}

bool CSelectSearchDriveDlg::PhysicalDiskScan() const {
  return TheQvApp().SearchKind[2] != 0;
}

bool CSelectSearchDriveDlg::FastSearch() const {
  const CQuendalVarnothApp &app = TheQvApp();
  return !app.SearchKind[1] && !app.SearchKind[2];
}

BOOL CSelectSearchDriveDlg::OnInitDialog() {
  CWizardPage::OnInitDialog();
  UseTitleFont(IDC_DRIVE_PROMPT);
  // The list is read when the page becomes active, which follows at once.
  m_tree.CreateDriveTree(this, TreeRect(), IDC_DRIVE_TREE);
  m_tree.SetChoiceHandler([this](int checkedRecord) { OnChoice(checkedRecord); });
  ShowWizardCheckFromApp();
  return TRUE;
}

BOOL CSelectSearchDriveDlg::OnSetActive() {
  CString prompt;
  prompt.LoadString(PhysicalDiskScan() ? IDS_CHOOSE_PHYSICAL_DISK : IDS_CHOOSE_LOGICAL_DRIVE);
  SetDlgItemText(IDC_DRIVE_PROMPT, prompt);
  // Nothing is chosen yet.
  SetSheetButtons(FastSearch() ? PSWIZB_BACK | PSWIZB_DISABLEDFINISH : PSWIZB_BACK);
  if (m_tree.m_hWnd != nullptr) RefreshDrives();
  ShowWizardCheckFromApp();
  return CWizardPage::OnSetActive();
}

CRect CSelectSearchDriveDlg::TreeRect() const {
  // Between the prompt and the check box, as wide as the prompt: the
  // template's units follow the dialog font, which differs between systems.
  CRect prompt, check;
  CWnd *promptWnd = GetDlgItem(IDC_DRIVE_PROMPT);
  CWnd *checkWnd = GetDlgItem(IDC_SHOW_WIZARD);
  if (promptWnd == nullptr || checkWnd == nullptr) return CRect(194, 50, 582, 348);
  promptWnd->GetWindowRect(&prompt);
  checkWnd->GetWindowRect(&check);
  ScreenToClient(&prompt);
  ScreenToClient(&check);
  return CRect(prompt.left, prompt.bottom + 2, prompt.right, check.top - 4);
}

void CSelectSearchDriveDlg::RefreshDrives() {
  CQuendalVarnothApp &app = TheQvApp();
  app.DriveList.clear();
  app.SelectedDriveIndex = 0;
  CMainFrame *frame = Frame();
  if (app.DriveFinder != nullptr && app.Devices != nullptr && frame != nullptr)
    app.DriveList =
        app.DriveFinder->EnumerateDrives(PhysicalDiskScan(), *app.Devices, frame->EngineServices());
  m_tree.FillDriveTree(app.DriveList, PhysicalDiskScan());
}

void CSelectSearchDriveDlg::OnChoice(int checkedRecord) {
  CQuendalVarnothApp &app = TheQvApp();
  app.SelectedDriveIndex = static_cast<BYTE>(m_tree.ChosenIndex());
  const bool chosen = checkedRecord >= 0;
  if (FastSearch())
    SetSheetButtons(chosen ? PSWIZB_BACK | PSWIZB_FINISH : PSWIZB_BACK | PSWIZB_DISABLEDFINISH);
  else
    SetSheetButtons(chosen ? PSWIZB_BACK | PSWIZB_NEXT : PSWIZB_BACK);
}

BOOL CSelectSearchDriveDlg::OnWizardFinish() {
  return FinishWithSearch(m_tree.CheckedRecord(), UWM_START_FAST_SCAN);
}
