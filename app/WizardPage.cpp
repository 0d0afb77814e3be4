#include "WizardPage.h"

#include "AppSettings.h"
#include "MainFrm.h"
#include "QuendalVarnoth.h"
#include "resource.h"

#include <shellapi.h>

const wchar_t kSupportAddress[] = L"http://www.quendal-varnoth.com";

BEGIN_MESSAGE_MAP(CWizardPage, CPropertyPage)
ON_WM_PAINT()
ON_WM_SETCURSOR()
ON_WM_CTLCOLOR()
ON_BN_CLICKED(IDC_SHOW_WIZARD, OnShowWizardCheck)
ON_COMMAND(ID_HELP, OnWizardPageHelp)
END_MESSAGE_MAP()

CWizardPage::CWizardPage(UINT templateId, UINT linkId, DWORD helpBase)
    : CPropertyPage(templateId), m_linkId(linkId), m_helpBase(helpBase) {}

CQuendalVarnothApp &CWizardPage::App() {
  return TheQvApp();
}

CMainFrame *CWizardPage::Frame() {
  CWnd *main = AfxGetMainWnd();
  return main != nullptr && main->IsKindOf(RUNTIME_CLASS(CMainFrame)) ? static_cast<CMainFrame *>(main)
                                                                      : nullptr;
}

BOOL CWizardPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  m_handCursor = ::LoadCursorW(AfxFindResourceHandle(MAKEINTRESOURCE(IDC_LINK_HAND), RT_GROUP_CURSOR),
                               MAKEINTRESOURCE(IDC_LINK_HAND));
  if (m_handCursor == nullptr) m_handCursor = ::LoadCursorW(nullptr, IDC_HAND);
  m_linkVisited = false;
  m_titleFont.CreateFont(20, 10, 0, 0, FW_BOLD, TRUE, TRUE, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Arial");
  LOGFONTW dialogFont = {};
  if (HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)))
    ::GetObjectW(font, sizeof dialogFont, &dialogFont);
  dialogFont.lfUnderline = TRUE;
  m_linkFont.CreateFontIndirect(&dialogFont);
  UseTitleFont(IDC_SHOW_WIZARD);
  return TRUE;
}

void CWizardPage::UseTitleFont(UINT controlId) {
  if (CWnd *control = GetDlgItem(controlId)) control->SetFont(&m_titleFont);
}

void CWizardPage::ShowWizardCheckFromApp() {
  CheckDlgButton(IDC_SHOW_WIZARD, App().ShowWizardAtStart ? BST_CHECKED : BST_UNCHECKED);
}

void CWizardPage::SetSheetButtons(DWORD buttons) {
  if (CPropertySheet *sheet = GetParentSheet()) sheet->SetWizardButtons(buttons);
}

BOOL CWizardPage::OnCommand(WPARAM wParam, LPARAM lParam) {
  // Each page has its link under another id.
  if (LOWORD(wParam) == m_linkId && HIWORD(wParam) == STN_CLICKED && lParam != 0) {
    OnSupportLink();
    return TRUE;
  }
  return CPropertyPage::OnCommand(wParam, lParam);
}

void CWizardPage::OnShowWizardCheck() {
  const bool checked = IsDlgButtonChecked(IDC_SHOW_WIZARD) == BST_CHECKED;
  CheckDlgButton(IDC_SHOW_WIZARD, checked ? BST_CHECKED : BST_UNCHECKED);
  App().ShowWizardAtStart = checked ? 1 : 0;
  StoreShowWizardAtStart(App().ProductSettings, checked);
}

void CWizardPage::OnSupportLink() {
  HINSTANCE result = ::ShellExecuteW(m_hWnd, L"open", kSupportAddress, nullptr, nullptr, SW_SHOWNORMAL);
  if (reinterpret_cast<INT_PTR>(result) <= 32) return;
  m_linkVisited = true;
  Invalidate();
}

void CWizardPage::OnWizardPageHelp() {
  const CQuendalVarnothApp &app = App();
  const DWORD context = m_helpBase + (app.SearchKind[1] ? 1 : app.SearchKind[2] ? 2 : 0);
  using HtmlHelpFunction = HWND(WINAPI *)(HWND, LPCWSTR, UINT, DWORD_PTR);
  HMODULE library = LoadLibraryExW(L"hhctrl.ocx", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (library == nullptr) return;
  auto htmlHelp =
      reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void *>(GetProcAddress(library, "HtmlHelpW")));
  if (htmlHelp != nullptr) htmlHelp(m_hWnd, L"FileRecovery.chm", 0x000F /* help context */, context);
}

void CWizardPage::OnPaint() {
  CPaintDC dc(this);
  CBrush shadow;
  shadow.CreateSolidBrush(::GetSysColor(COLOR_BTNSHADOW));
  CBrush *old = dc.SelectObject(&shadow);
  CRect line = SeparatorRect();
  dc.Rectangle(&line);
  dc.SelectObject(old);
}

BOOL CWizardPage::OnSetCursor(CWnd *pWnd, UINT nHitTest, UINT message) {
  if (pWnd != nullptr && pWnd != this && ShowsHandOver(static_cast<UINT>(pWnd->GetDlgCtrlID())) &&
      m_handCursor != nullptr) {
    ::SetCursor(m_handCursor);
    return TRUE;
  }
  return CPropertyPage::OnSetCursor(pWnd, nHitTest, message);
}

HBRUSH CWizardPage::OnCtlColor(CDC *pDC, CWnd *pWnd, UINT nCtlColor) {
  HBRUSH brush = CPropertyPage::OnCtlColor(pDC, pWnd, nCtlColor);
  if (pWnd != nullptr && static_cast<UINT>(pWnd->GetDlgCtrlID()) == m_linkId) {
    pDC->SelectObject(&m_linkFont);
    pDC->SetTextColor(m_linkVisited ? RGB(0x80, 0x00, 0x80) : RGB(0x00, 0x00, 0xFF));
  }
  return brush;
}
