#include "PropertySheet.h"

#include "ModuleState.h"
#include "WinApp.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

BEGIN_MESSAGE_MAP(CPropertySheet, CWnd)
ON_MESSAGE(WM_HELP, OnHelpRequest)
END_MESSAGE_MAP()

namespace {

// Binds the page object to its window as the sheet creates it.
INT_PTR CALLBACK AfxPropPageDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_INITDIALOG) return FALSE;
  auto *psp = reinterpret_cast<PROPSHEETPAGE *>(lParam);
  auto *pPage = psp != nullptr ? reinterpret_cast<CPropertyPage *>(psp->lParam) : nullptr;
  if (pPage == nullptr) return TRUE;
  return AfxCallGuarded(
      message,
      [&]() -> INT_PTR {
        if (pPage->m_hWnd == nullptr) pPage->SubclassWindow(hWnd);
        return pPage->OnInitDialog();
      },
      []() -> INT_PTR { return TRUE; });
}

} // namespace

// ---------------------------------------------------------------------------
// Pages

void CPropertyPage::Construct(LPCTSTR lpszTemplateName, UINT nIDCaption) {
  m_lpszTemplateName = lpszTemplateName;
  if (IS_INTRESOURCE(lpszTemplateName)) m_nIDHelp = LOWORD((ULONG_PTR)lpszTemplateName);
  ZeroMemory(&m_psp, sizeof(m_psp));
  m_psp.dwSize = sizeof(m_psp);
  m_psp.dwFlags = PSP_DEFAULT;
  m_psp.hInstance = lpszTemplateName != nullptr ? AfxFindResourceHandle(lpszTemplateName, RT_DIALOG)
                                                : AfxGetResourceHandle();
  m_psp.pszTemplate = lpszTemplateName;
  m_psp.pfnDlgProc = AfxPropPageDlgProc;
  m_psp.lParam = reinterpret_cast<LPARAM>(this);
  if (nIDCaption != 0 && m_strCaption.LoadString(nIDCaption)) {
    m_psp.pszTitle = m_strCaption;
    m_psp.dwFlags |= PSP_USETITLE;
  }
}

CPropertySheet *CPropertyPage::GetParentSheet() const {
  CWnd *pParent = CWnd::FromHandlePermanent(::GetParent(m_hWnd));
  return pParent != nullptr && pParent->IsKindOf(RUNTIME_CLASS(CPropertySheet))
             ? static_cast<CPropertySheet *>(pParent)
             : nullptr;
}

void CPropertyPage::CancelToClose() {
  if (m_hWnd != nullptr) ::SendMessage(::GetParent(m_hWnd), PSM_CANCELTOCLOSE, 0, 0);
}

void CPropertyPage::SetModified(BOOL bChanged) {
  if (m_hWnd == nullptr) return;
  ::SendMessage(::GetParent(m_hWnd), bChanged ? PSM_CHANGED : PSM_UNCHANGED, (WPARAM)m_hWnd, 0);
}

LRESULT CPropertyPage::QuerySiblings(WPARAM wParam, LPARAM lParam) {
  return ::SendMessage(::GetParent(m_hWnd), PSM_QUERYSIBLINGS, wParam, lParam);
}

BOOL CPropertyPage::OnSetActive() {
  // The first activation comes right after OnInitDialog, which loaded the data.
  if (m_bFirstSetActive)
    m_bFirstSetActive = FALSE;
  else
    UpdateData(FALSE);
  return TRUE;
}

BOOL CPropertyPage::OnKillActive() {
  return UpdateData(TRUE);
}

BOOL CPropertyPage::OnApply() {
  OnOK();
  return TRUE;
}

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT *pResult) {
  if (CDialog::OnNotify(wParam, lParam, pResult)) return TRUE; // the page's own map first
  auto *pNMHDR = reinterpret_cast<NMHDR *>(lParam);
  if (pNMHDR->hwndFrom != ::GetParent(m_hWnd)) return FALSE;
  CPropertySheet *pSheet = GetParentSheet();
  switch (pNMHDR->code) {
  case PSN_SETACTIVE:
    *pResult = OnSetActive() ? 0 : -1;
    break;
  case PSN_KILLACTIVE:
    *pResult = !OnKillActive();
    break;
  case PSN_APPLY:
    *pResult = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
    if (*pResult == PSNRET_NOERROR && pSheet != nullptr) pSheet->m_nModalResult = IDOK;
    break;
  case PSN_RESET:
    OnReset();
    if (pSheet != nullptr) pSheet->m_nModalResult = IDCANCEL;
    break;
  case PSN_QUERYCANCEL:
    *pResult = !OnQueryCancel();
    break;
  case PSN_WIZBACK:
    *pResult = OnWizardBack();
    break;
  case PSN_WIZNEXT:
    *pResult = OnWizardNext();
    break;
  case PSN_HELP:
    // The sheet's Help button.
    SendHelpCommand();
    return TRUE;
  case PSN_WIZFINISH:
    *pResult = !OnWizardFinish();
    if (*pResult == 0 && pSheet != nullptr) pSheet->m_nModalResult = ID_WIZFINISH;
    break;
  default:
    return FALSE;
  }
  // A dialog's answer to WM_NOTIFY also goes in its message result slot.
  ::SetWindowLongPtr(m_hWnd, DWLP_MSGRESULT, *pResult);
  return TRUE;
}

// ---------------------------------------------------------------------------
// Sheets

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd *pParentWnd, UINT iSelectPage) {
  CommonConstruct(pParentWnd, iSelectPage);
  m_strCaption.LoadString(nIDCaption);
}

CPropertySheet::CPropertySheet(LPCTSTR pszCaption, CWnd *pParentWnd, UINT iSelectPage) {
  CommonConstruct(pParentWnd, iSelectPage);
  m_strCaption = pszCaption != nullptr ? pszCaption : L"";
}

void CPropertySheet::CommonConstruct(CWnd *pParentWnd, UINT iSelectPage) {
  ZeroMemory(&m_psh, sizeof(m_psh));
  m_psh.dwSize = sizeof(m_psh);
  m_psh.dwFlags = PSH_PROPSHEETPAGE;
  m_psh.nStartPage = iSelectPage;
  m_pParentWnd = pParentWnd;
}

CPropertySheet::~CPropertySheet() {
  if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this) DestroyWindow();
}

void CPropertySheet::AddPage(CPropertyPage *pPage) {
  if (pPage == nullptr) return;
  m_pages.push_back(pPage);
  if (m_hWnd == nullptr) return;
  // Added to a running sheet: the system makes the page now.
  HPROPSHEETPAGE hPage = ::CreatePropertySheetPage(&pPage->m_psp);
  if (hPage != nullptr) PropSheet_AddPage(m_hWnd, hPage);
}

void CPropertySheet::RemovePage(CPropertyPage *pPage) {
  RemovePage(GetPageIndex(pPage));
}

void CPropertySheet::RemovePage(int nPage) {
  if (nPage < 0 || nPage >= GetPageCount()) return;
  if (m_hWnd != nullptr) PropSheet_RemovePage(m_hWnd, nPage, nullptr);
  m_pages.erase(m_pages.begin() + nPage);
}

CPropertyPage *CPropertySheet::GetPage(int nPage) const {
  return nPage >= 0 && nPage < GetPageCount() ? m_pages[(size_t)nPage] : nullptr;
}

int CPropertySheet::GetPageIndex(CPropertyPage *pPage) const {
  for (size_t i = 0; i < m_pages.size(); i++)
    if (m_pages[i] == pPage) return (int)i;
  return -1;
}

int CPropertySheet::GetActiveIndex() const {
  if (m_hWnd == nullptr) return (int)m_psh.nStartPage;
  HWND hWndPage = PropSheet_GetCurrentPageHwnd(m_hWnd);
  for (size_t i = 0; i < m_pages.size(); i++)
    if (m_pages[i]->m_hWnd == hWndPage && hWndPage != nullptr) return (int)i;
  return (int)m_psh.nStartPage;
}

CPropertyPage *CPropertySheet::GetActivePage() const {
  return GetPage(GetActiveIndex());
}

BOOL CPropertySheet::SetActivePage(int nPage) {
  if (nPage < 0 || nPage >= GetPageCount()) return FALSE;
  if (m_hWnd == nullptr) {
    m_psh.nStartPage = (UINT)nPage;
    return TRUE;
  }
  return PropSheet_SetCurSel(m_hWnd, nullptr, nPage);
}

void CPropertySheet::SetTitle(LPCTSTR lpszText, UINT nStyle) {
  m_strCaption = lpszText;
  m_psh.dwFlags = (m_psh.dwFlags & ~PSH_PROPTITLE) | (nStyle & PSH_PROPTITLE);
  if (m_hWnd != nullptr) PropSheet_SetTitle(m_hWnd, nStyle, lpszText);
}

void CPropertySheet::SetWizardButtons(DWORD dwFlags) {
  if (m_hWnd != nullptr) ::SendMessage(m_hWnd, PSM_SETWIZBUTTONS, 0, (LPARAM)dwFlags);
}

void CPropertySheet::SetFinishText(LPCTSTR lpszText) {
  if (m_hWnd != nullptr) PropSheet_SetFinishText(m_hWnd, lpszText);
}

BOOL CPropertySheet::PressButton(int nButton) {
  return m_hWnd != nullptr && ::SendMessage(m_hWnd, PSM_PRESSBUTTON, (WPARAM)nButton, 0);
}

void CPropertySheet::BuildHeader() {
  m_pageArray.clear();
  for (CPropertyPage *pPage : m_pages) m_pageArray.push_back(pPage->m_psp);
  m_psh.dwFlags |= PSH_PROPSHEETPAGE;
  m_psh.hInstance = AfxGetResourceHandle();
  m_psh.pszCaption = m_strCaption;
  m_psh.nPages = (UINT)m_pageArray.size();
  m_psh.ppsp = m_pageArray.data();
  if (m_psh.nStartPage >= m_psh.nPages) m_psh.nStartPage = 0;
}

HWND CPropertySheet::CreateSheet(HWND hWndParent, bool bModeless) {
  BuildHeader();
  m_psh.hwndParent = hWndParent;
  m_psh.dwFlags |= PSH_MODELESS; // modal sheets run under the framework's loop too
  (void)bModeless;
  AfxHookWindowCreate(this);
  auto hWnd = reinterpret_cast<HWND>(::PropertySheet(&m_psh));
  if (!AfxUnhookWindowCreate()) {
    // The hook never saw the sheet's window: bind it now, or give up.
    if (hWnd != nullptr && hWnd != (HWND)(INT_PTR)-1) SubclassWindow(hWnd);
  }
  if (hWnd == nullptr || hWnd == (HWND)(INT_PTR)-1) return nullptr;
  OnInitDialog();
  return hWnd;
}

BOOL CPropertySheet::Create(CWnd *pParentWnd, DWORD, DWORD) {
  if (pParentWnd == nullptr) pParentWnd = m_pParentWnd;
  if (pParentWnd == nullptr) pParentWnd = AfxGetMainWnd();
  return CreateSheet(pParentWnd->GetSafeHwnd(), true) != nullptr;
}

INT_PTR CPropertySheet::DoModal() {
  HWND hWndParent = m_pParentWnd->GetSafeHwnd();
  if (hWndParent == nullptr) hWndParent = AfxGetMainWnd()->GetSafeHwnd();
  while (hWndParent != nullptr && (::GetWindowLongPtr(hWndParent, GWL_STYLE) & WS_CHILD))
    hWndParent = ::GetParent(hWndParent);
  BOOL bEnableParent = FALSE;
  if (hWndParent != nullptr && ::IsWindowEnabled(hWndParent)) {
    ::EnableWindow(hWndParent, FALSE);
    bEnableParent = TRUE;
  }

  m_nModalResult = IDCANCEL; // closing the sheet any other way cancels it
  m_nFlags |= WF_CONTINUEMODAL;
  INT_PTR nResult = -1;
  if (CreateSheet(hWndParent, false) != nullptr) {
    if (m_nFlags & WF_CONTINUEMODAL) RunModalLoop();
    nResult = m_nModalResult;
    if (m_hWnd != nullptr)
      ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
  }
  m_nFlags &= ~WF_CONTINUEMODAL;
  if (bEnableParent) ::EnableWindow(hWndParent, TRUE);
  if (hWndParent != nullptr && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(hWndParent);
  if (m_hWnd != nullptr) DestroyWindow();
  return nResult;
}

void CPropertySheet::EndDialog(int nEndID) {
  m_nModalResult = nEndID;
  if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL))
    EndModalLoop(nEndID);
  else if (m_hWnd != nullptr)
    DestroyWindow();
}

BOOL CPropertySheet::ContinueModal() {
  // The system ends a modeless sheet by dropping its current page.
  return CWnd::ContinueModal() && m_hWnd != nullptr && PropSheet_GetCurrentPageHwnd(m_hWnd) != nullptr;
}

void CPropertySheet::SendHelpToActivePage() {
  CPropertyPage *pPage = GetActivePage();
  if (pPage != nullptr && pPage->m_hWnd != nullptr) pPage->SendHelpCommand();
}

LRESULT CPropertySheet::OnHelpRequest(WPARAM, LPARAM) {
  SendHelpToActivePage();
  return TRUE;
}

BOOL CPropertySheet::PreTranslateMessage(MSG *pMsg) {
  if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
  if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) return FALSE;
  // The page's help, before the sheet's navigation or the owner's accelerators.
  if (AfxIsHelpKey(pMsg)) {
    SendHelpToActivePage();
    return TRUE;
  }
  return PropSheet_IsDialogMessage(m_hWnd, pMsg);
}

BOOL CPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (CWnd::OnCommand(wParam, lParam)) return TRUE;
  // Remember which push button ended the sheet (OK, Cancel, Finish).
  auto hWndCtrl = reinterpret_cast<HWND>(lParam);
  if (hWndCtrl != nullptr && HIWORD(wParam) == BN_CLICKED &&
      (::SendMessage(hWndCtrl, WM_GETDLGCODE, 0, 0) & (DLGC_BUTTON | DLGC_DEFPUSHBUTTON))) {
    LONG_PTR lStyle = ::GetWindowLongPtr(hWndCtrl, GWL_STYLE) & 0x0F;
    UINT nID = LOWORD(wParam);
    if ((lStyle == BS_PUSHBUTTON || lStyle == BS_DEFPUSHBUTTON) &&
        (nID == IDOK || nID == IDCANCEL || nID == ID_WIZFINISH))
      m_nModalResult = (int)nID;
  }
  return FALSE; // the system's sheet does the work
}
