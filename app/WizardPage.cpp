#include "WizardPage.h"

#include "AppSettings.h"
#include "HelpFiles.h"
#include "MainFrm.h"
#include "QuendalVarnoth.h"
#include "SearchStart.h"
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

CWizardPage::CWizardPage(UINT templateId, UINT linkId, WizardHelpContexts help)
    : CPropertyPage(templateId), m_linkId(linkId), m_help(help) {}

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

BOOL CWizardPage::FinishWithSearch(int record, UINT startMessage, std::vector<HeaderRecord> headers) {
  CMainFrame *frame = Frame();
  if (frame == nullptr || record < 0 || m_finishing || frame->EngineCallDepth > 0) return FALSE;
  m_finishing = true;
  const bool started =
      StartNewSearch(App(), *frame, static_cast<size_t>(record), std::move(headers), GetParentSheet());
  m_finishing = false;
  if (started) frame->PostMessage(startMessage, 0, 0);
  // Cancel to the save offer closes the wizard too, starting nothing.
  return CPropertyPage::OnWizardFinish();
}

void CWizardPage::OnWizardPageHelp() {
  CQuendalVarnothApp &app = App();
  const DWORD context = app.SearchKind[1] ? m_help.advanced : app.SearchKind[2] ? m_help.disk : m_help.fast;
  // Owned by the sheet, the page's top-level window.
  CWnd *owner = GetParentSheet();
  app.ShowHelp(owner != nullptr ? owner->m_hWnd : m_hWnd, context);
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
