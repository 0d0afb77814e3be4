#include "SelSearchTypeDlg.h"

#include "AppSettings.h"
#include "HelpFiles.h"
#include "QuendalVarnoth.h"
#include "resource.h"
#include "XTTipOfTheDay.h"

SearchKindChoice CurrentSearchKind(const int (&searchKind)[3]) {
  if (searchKind[1]) return SearchKindChoice::Advanced;
  if (searchKind[2]) return SearchKindChoice::PhysicalDisk;
  return SearchKindChoice::Fast;
}

const std::vector<UINT> &SearchKindDescription(SearchKindChoice kind) {
  static const std::vector<UINT> fast = {IDS_SEARCH_USE_TO_RECOVER,
                                         0,
                                         IDS_FAST_RECENTLY_DELETED,
                                         IDS_FAST_TEMPORARY_FILES,
                                         IDS_FAST_RECYCLE_BIN,
                                         IDS_FAST_DISK_CLEANUP,
                                         0,
                                         0,
                                         IDS_FAST_INSTANTANEOUS,
                                         IDS_FAST_SPEED};
  static const std::vector<UINT> advanced = {IDS_SEARCH_USE_TO_RECOVER,
                                             0,
                                             IDS_DEEP_FORMATTED,
                                             IDS_DEEP_FRAGMENTED,
                                             IDS_DEEP_LONG_AGO,
                                             0,
                                             IDS_ADVANCED_ENTIRE_DRIVE,
                                             IDS_DELETED_AND_LOST,
                                             0,
                                             IDS_ADVANCED_INTENSIVE,
                                             IDS_ADVANCED_HEURISTICALLY,
                                             IDS_ADVANCED_TECHNIQUES,
                                             IDS_ADVANCED_SIGNATURE,
                                             IDS_ADVANCED_LOST_FILES};
  static const std::vector<UINT> physical = {IDS_SEARCH_USE_TO_RECOVER,
                                             0,
                                             IDS_DEEP_FORMATTED,
                                             IDS_DEEP_FRAGMENTED,
                                             IDS_DEEP_LONG_AGO,
                                             0,
                                             IDS_PHYSICAL_ENTIRE_DRIVE,
                                             IDS_DELETED_AND_LOST,
                                             0,
                                             IDS_PHYSICAL_ENTIRE_DISK,
                                             IDS_PHYSICAL_TECHNIQUES,
                                             IDS_PHYSICAL_SIGNATURE,
                                             IDS_PHYSICAL_TAKES_TIME,
                                             IDS_PHYSICAL_THOROUGH,
                                             IDS_PHYSICAL_SCAN_POSSIBLE};
  switch (kind) {
  case SearchKindChoice::Advanced:
    return advanced;
  case SearchKindChoice::PhysicalDisk:
    return physical;
  default:
    return fast;
  }
}

BEGIN_MESSAGE_MAP(CSelSearchTypeDlg, CWizardPage)
ON_WM_PAINT()
ON_BN_CLICKED(IDC_FAST_SEARCH, OnFastFileSearch)
ON_BN_CLICKED(IDC_ADVANCED_SEARCH, OnAdvancedFileSearch)
ON_BN_CLICKED(IDC_PHYSICAL_SCAN, OnPhysicalDiskScan)
END_MESSAGE_MAP()

CSelSearchTypeDlg::CSelSearchTypeDlg()
    : CWizardPage(IDD_SEARCH_TYPE, IDC_TYPE_SUPPORT_LINK,
                  {IDH_FAST_SEARCH, IDH_ADVANCED_SEARCH, IDH_DISK_SCAN}) {}

void CSelSearchTypeDlg::DoDataExchange(CDataExchange *pDX) {
  CWizardPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_PHYSICAL_SCAN, m_physicalButton);
  DDX_Control(pDX, IDC_ADVANCED_SEARCH, m_advancedButton);
  DDX_Control(pDX, IDC_FAST_SEARCH, m_fastButton);
}

BOOL CSelSearchTypeDlg::OnInitDialog() {
  CWizardPage::OnInitDialog();
  for (UINT id : {IDC_FAST_SEARCH, IDC_ADVANCED_SEARCH, IDC_PHYSICAL_SCAN, IDC_SEARCH_QUESTION})
    UseTitleFont(id);
  const SearchKindChoice kind = CurrentSearchKind(App().SearchKind);
  ShowChosen(kind);
  FillDescription(kind);
  SetButtonIcons();

  // The Office theme the toolkit shares, framed so the resting buttons keep
  // an outline on the page.
  XTGetThemeManager()->SetTheme(1);
  if (m_visualStyleOption) m_buttonStyle |= xtButtonVisualStyle;
  ApplyButtonStyle();
  const int theme = XTGetThemeManager()->GetTheme();
  if (theme == 1 || theme == 2)
    if (auto *office = dynamic_cast<CXTButtonThemeOffice *>(CXTButton::GetSharedTheme()))
      office->SetFramedLook(m_framedOption);
  if (m_focusOption) m_buttonStyle |= xtButtonShowFocus;
  ApplyButtonStyle();

  App().ShowWizardAtStart = ShowWizardAtStartSetting(HKEY_LOCAL_MACHINE, kProductKeyPath) ? 1 : 0;
  ShowWizardCheckFromApp();
  return TRUE;
}

BOOL CSelSearchTypeDlg::OnSetActive() {
  SetSheetButtons(PSWIZB_NEXT);
  ShowWizardCheckFromApp();
  return CWizardPage::OnSetActive();
}

void CSelSearchTypeDlg::OnFastFileSearch() {
  ChooseKind(SearchKindChoice::Fast);
}

void CSelSearchTypeDlg::OnAdvancedFileSearch() {
  ChooseKind(SearchKindChoice::Advanced);
}

void CSelSearchTypeDlg::OnPhysicalDiskScan() {
  ChooseKind(SearchKindChoice::PhysicalDisk);
}

CXTButton &CSelSearchTypeDlg::KindButton(SearchKindChoice kind) {
  switch (kind) {
  case SearchKindChoice::Advanced:
    return m_advancedButton;
  case SearchKindChoice::PhysicalDisk:
    return m_physicalButton;
  default:
    return m_fastButton;
  }
}

void CSelSearchTypeDlg::ShowChosen(SearchKindChoice kind) {
  for (SearchKindChoice each :
       {SearchKindChoice::Fast, SearchKindChoice::Advanced, SearchKindChoice::PhysicalDisk})
    KindButton(each).SetChecked(each == kind);
}

void CSelSearchTypeDlg::SetButtonIcons() {
  CImageList images;
  if (!images.Create(IDB_SEARCH_TYPE_BUTTONS, 40, 1, RGB(0x00, 0xFF, 0x00))) return;
  const SearchKindChoice kinds[3] = {SearchKindChoice::Fast, SearchKindChoice::Advanced,
                                     SearchKindChoice::PhysicalDisk};
  for (int i = 0; i < 3; ++i) {
    HICON icon = images.ExtractIcon(i);
    if (icon == nullptr) continue;
    KindButton(kinds[i]).SetButtonIcon(icon, CSize(40, 40));
    ::DestroyIcon(icon);
  }
}

void CSelSearchTypeDlg::ApplyButtonStyle() {
  // The buttons are one line of the large font high: a 40-pixel picture
  // above the text would lose its top and the text its bottom, so the
  // picture stays beside the text.
  for (CXTButton *button : {&m_fastButton, &m_advancedButton, &m_physicalButton})
    button->SetButtonStyleBits(m_buttonStyle & ~DWORD(xtButtonImageAbove), TRUE);
}

void CSelSearchTypeDlg::ChooseKind(SearchKindChoice kind) {
  ShowChosen(kind);
  int(&flags)[3] = App().SearchKind;
  for (int i = 0; i < 3; ++i) flags[i] = i == static_cast<int>(kind) ? 1 : 0;
  FillDescription(kind);
}

void CSelSearchTypeDlg::FillDescription(SearchKindChoice kind) {
  // Emptied whole: a second change of kind must not leave two descriptions.
  SendDlgItemMessage(IDC_SEARCH_DESCRIPTION, LB_RESETCONTENT);
  for (UINT id : SearchKindDescription(kind)) {
    CString line(L" ");
    if (id != 0) line.LoadString(id);
    SendDlgItemMessage(IDC_SEARCH_DESCRIPTION, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.GetString()));
  }
}

bool CSelSearchTypeDlg::ShowsHandOver(UINT controlId) const {
  return controlId == m_linkId || controlId == IDC_FAST_SEARCH || controlId == IDC_ADVANCED_SEARCH ||
         controlId == IDC_PHYSICAL_SCAN;
}

void CSelSearchTypeDlg::OnPaint() {
  CWizardPage::OnPaint();
  CQuendalVarnothApp &app = App();
  if (!app.StartupTipPending) return;
  app.StartupTipPending = 0;
  CheckStartupTip();
}

void CSelSearchTypeDlg::CheckStartupTip() {
  // The tip dialog keeps the setting itself: it is read once, by the dialog.
  CXTTipOfTheDay tip(StartupTipFile(HKEY_LOCAL_MACHINE, kProductKeyPath).c_str(), GetParent());
  CQuendalVarnothApp &app = App();
  app.TipsOnStartup = tip.IsStartup() ? 1 : 0;
  if (!app.TipsOnStartup) return;
  tip.DoModal();
  // The box in the dialog may have changed it: the menu's check follows.
  app.TipsOnStartup = tip.IsStartup() ? 1 : 0;
}
