#include "Dialog.h"

#include "DataExchange.h"
#include "Exception.h"
#include "ModuleState.h"
#include "WinApp.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
ON_MESSAGE(WM_HELP, OnHelpRequest)
END_MESSAGE_MAP()

BOOL AfxIsHelpKey(const MSG *pMsg) {
  return pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F1 && ::GetKeyState(VK_SHIFT) >= 0 &&
         ::GetKeyState(VK_CONTROL) >= 0 && ::GetKeyState(VK_MENU) >= 0;
}

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM) {
  if (message != WM_INITDIALOG) return FALSE;
  CWnd *pWnd = CWnd::FromHandlePermanent(hWnd);
  if (pWnd == nullptr || !pWnd->IsKindOf(RUNTIME_CLASS(CDialog))) return TRUE;
  auto *pDialog = static_cast<CDialog *>(pWnd);
  return AfxCallGuarded(
      message, [pDialog]() -> INT_PTR { return pDialog->OnInitDialog(); }, []() -> INT_PTR { return TRUE; });
}

CDialog::CDialog(UINT nIDTemplate, CWnd *pParentWnd)
    : m_nIDHelp(nIDTemplate), m_lpszTemplateName(MAKEINTRESOURCE(nIDTemplate)), m_pParentWnd(pParentWnd) {}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd *pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() {
  if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this) DestroyWindow();
}

LPCDLGTEMPLATE CDialog::LoadTemplate(HINSTANCE &hInst) const {
  hInst = AfxGetResourceHandle();
  if (m_lpDialogTemplate != nullptr) return m_lpDialogTemplate;
  if (m_lpszTemplateName == nullptr) return nullptr;
  hInst = AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
  HRSRC hResource = ::FindResource(hInst, m_lpszTemplateName, RT_DIALOG);
  if (hResource == nullptr) return nullptr;
  HGLOBAL hTemplate = ::LoadResource(hInst, hResource);
  return hTemplate != nullptr ? static_cast<LPCDLGTEMPLATE>(::LockResource(hTemplate)) : nullptr;
}

BOOL CDialog::CreateFromTemplate(LPCDLGTEMPLATE lpTemplate, HWND hWndParent, HINSTANCE hInst) {
  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateDialogIndirectParam(hInst, lpTemplate, hWndParent, AfxDlgProc, 0);
  if (!AfxUnhookWindowCreate()) {
    PostNcDestroy();
    return FALSE;
  }
  return hWnd != nullptr;
}

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd *pParentWnd) {
  m_lpszTemplateName = lpszTemplateName;
  if (IS_INTRESOURCE(lpszTemplateName) && m_nIDHelp == 0) m_nIDHelp = LOWORD((ULONG_PTR)lpszTemplateName);
  if (pParentWnd == nullptr) pParentWnd = AfxGetMainWnd();
  m_pParentWnd = pParentWnd;
  HINSTANCE hInst = nullptr;
  LPCDLGTEMPLATE lpTemplate = LoadTemplate(hInst);
  if (lpTemplate == nullptr) return FALSE;
  return CreateFromTemplate(lpTemplate, pParentWnd->GetSafeHwnd(), hInst);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd *pParentWnd) {
  if (pParentWnd == nullptr) pParentWnd = AfxGetMainWnd();
  m_pParentWnd = pParentWnd;
  return CreateFromTemplate(lpDialogTemplate, pParentWnd->GetSafeHwnd(), AfxGetResourceHandle());
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd *pParentWnd) {
  m_lpDialogTemplate = lpDialogTemplate;
  m_pParentWnd = pParentWnd;
  return lpDialogTemplate != nullptr;
}

HWND CDialog::PreModal() {
  HWND hWnd = m_pParentWnd->GetSafeHwnd();
  if (hWnd == nullptr) hWnd = AfxGetMainWnd()->GetSafeHwnd();
  // A dialog belongs to a top-level window, never to a child control.
  while (hWnd != nullptr && (::GetWindowLongPtr(hWnd, GWL_STYLE) & WS_CHILD)) hWnd = ::GetParent(hWnd);
  return hWnd;
}

INT_PTR CDialog::DoModal() {
  HINSTANCE hInst = nullptr;
  LPCDLGTEMPLATE lpTemplate = LoadTemplate(hInst);
  if (lpTemplate == nullptr) return -1;

  HWND hWndParent = PreModal();
  BOOL bEnableParent = FALSE;
  if (hWndParent != nullptr && hWndParent != ::GetDesktopWindow() && ::IsWindowEnabled(hWndParent)) {
    ::EnableWindow(hWndParent, FALSE);
    bEnableParent = TRUE;
  }

  m_nModalResult = -1;
  m_nFlags |= WF_CONTINUEMODAL;
  if (CreateFromTemplate(lpTemplate, hWndParent, hInst)) {
    // EndDialog inside OnInitDialog ends the dialog before it shows.
    if (m_nFlags & WF_CONTINUEMODAL) {
      if (!(GetStyle() & WS_VISIBLE)) ShowWindow(SW_SHOWNORMAL);
      RunModalLoop();
    }
    if (m_hWnd != nullptr)
      ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
  }
  m_nFlags &= ~WF_CONTINUEMODAL;

  // The parent comes back before the dialog goes, so activation returns to it.
  if (bEnableParent) ::EnableWindow(hWndParent, TRUE);
  if (hWndParent != nullptr && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(hWndParent);
  DestroyWindow();
  return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
  if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL)) EndModalLoop(nResult);
  ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE; // the system sets the focus
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return; // the failing control has the focus
  EndDialog(IDOK);
}

void CDialog::OnCancel() {
  EndDialog(IDCANCEL);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
  CDataExchange dx(this, bSaveAndValidate);
  try {
    DoDataExchange(&dx);
  } catch (CUserException *e) {
    e->Delete(); // the user was told already
    return FALSE;
  }
  return TRUE;
}

void CDialog::GotoDlgCtrl(CWnd *pWndCtrl) {
  if (pWndCtrl != nullptr && pWndCtrl->m_hWnd != nullptr)
    ::SendMessage(m_hWnd, WM_NEXTDLGCTL, (WPARAM)pWndCtrl->m_hWnd, 1L);
}

void CDialog::SendHelpCommand() {
  AFX_CMDHANDLERINFO info = {nullptr, nullptr};
  if (CWnd::OnCmdMsg(ID_HELP, CN_COMMAND, nullptr, &info)) {
    SendMessage(WM_COMMAND, ID_HELP);
    return;
  }
  CWnd *pMainWnd = AfxGetMainWnd();
  if (pMainWnd != nullptr && pMainWnd != this && pMainWnd->m_hWnd != nullptr)
    pMainWnd->SendMessage(WM_COMMAND, ID_HELP);
}

LRESULT CDialog::OnHelpRequest(WPARAM, LPARAM) {
  // Answered here, so the request does not go on to the owner as well.
  SendHelpCommand();
  return TRUE;
}

BOOL CDialog::PreTranslateMessage(MSG *pMsg) {
  if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
  // The key itself, before the dialog manager or the owner's accelerators
  // see it: the help of the dialog, not of the window behind it.
  if (AfxIsHelpKey(pMsg)) {
    SendHelpCommand();
    return TRUE;
  }
  // Keys for the dialog's own navigation (Tab, Enter, Escape, mnemonics) are
  // the dialog's, before any frame's accelerators.
  if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) return FALSE;
  return ::IsDialogMessage(m_hWnd, pMsg);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void *pExtra, AFX_CMDHANDLERINFO *pHandlerInfo) {
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  // Commands (not control notifications) get a last chance at the application.
  if (((UINT)nCode != CN_COMMAND && (UINT)nCode != CN_UPDATE_COMMAND_UI) || nID == 0 || nID >= 0xF000)
    return FALSE;
  CWinThread *pThread = AfxGetThread();
  return pThread != nullptr && pThread->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
