#include "FrameWnd.h"

#include <vector>

#include "CmdUI.h"
#include "DocTemplate.h"
#include "Document.h"
#include "Menu.h"
#include "ModuleState.h"
#include "View.h"
#include "WinApp.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_CLOSE()
ON_WM_SIZE()
ON_WM_SETFOCUS()
ON_WM_ERASEBKGND()
ON_WM_INITMENUPOPUP()
ON_WM_MENUSELECT()
ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_MESSAGE(WM_POPMESSAGESTRING, OnPopMessageString)
ON_MESSAGE(WM_CHILDFRAMEICON, OnChildFrameIcon)
ON_WM_ACTIVATE()
ON_WM_ACTIVATEAPP()
ON_WM_NCACTIVATE()
ON_WM_ENABLE()
ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
ON_COMMAND(ID_CONTEXT_HELP, OnContextHelp)
ON_WM_SYSCOLORCHANGE()
ON_WM_SETTINGCHANGE()
END_MESSAGE_MAP()

const RECT CFrameWnd::rectDefault = {CW_USEDEFAULT, CW_USEDEFAULT, 0, 0};

BOOL AfxExtractSubString(CString &rString, LPCTSTR lpszFullString, int iSubString, wchar_t chSep) {
  rString.Empty();
  if (lpszFullString == nullptr) return FALSE;
  while (iSubString--) {
    lpszFullString = wcschr(lpszFullString, chSep);
    if (lpszFullString == nullptr) return FALSE;
    lpszFullString++;
  }
  LPCTSTR lpchEnd = wcschr(lpszFullString, chSep);
  int nLen = lpchEnd == nullptr ? (int)wcslen(lpszFullString) : (int)(lpchEnd - lpszFullString);
  rString = CString(lpszFullString, nLen);
  return TRUE;
}

// ---------------------------------------------------------------------------
// Creation

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT &cs) {
  if (cs.lpszClass == nullptr)
    cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                       reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  if (cs.style & FWS_ADDTOTITLE) cs.style |= FWS_PREFIXTITLE;
  cs.dwExStyle |= WS_EX_CLIENTEDGE;
  return TRUE;
}

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT &rect,
                       CWnd *pParentWnd, LPCTSTR lpszMenuName, DWORD dwExStyle, CCreateContext *pContext) {
  m_strTitle = lpszWindowName != nullptr ? lpszWindowName : L"";
  HMENU hMenu = nullptr;
  if (lpszMenuName != nullptr) {
    // A frame without its menu resource still works (the toolkit's bars bring their own).
    HINSTANCE hInst = AfxFindResourceHandle(lpszMenuName, RT_MENU);
    hMenu = ::LoadMenu(hInst, lpszMenuName);
  }
  int x = rect.left, y = rect.top, cx = rect.right - rect.left, cy = rect.bottom - rect.top;
  if (rect.left == CW_USEDEFAULT) x = y = cx = cy = CW_USEDEFAULT;
  if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, cx, cy, pParentWnd->GetSafeHwnd(),
                hMenu, pContext)) {
    if (hMenu != nullptr) ::DestroyMenu(hMenu);
    return FALSE;
  }
  return TRUE;
}

BOOL CFrameWnd::LoadAccelTable(LPCTSTR lpszResourceName) {
  if (m_hAccelTable != nullptr) return FALSE;
  HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_ACCELERATOR);
  m_hAccelTable = ::LoadAccelerators(hInst, lpszResourceName);
  return m_hAccelTable != nullptr;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd *pParentWnd,
                          CCreateContext *pContext) {
  m_nIDHelp = nIDResource;
  CString strFullString;
  if (strFullString.LoadString(nIDResource)) AfxExtractSubString(m_strTitle, strFullString, 0);

  LPCTSTR lpszResource = MAKEINTRESOURCE(nIDResource);
  HICON hIcon = ::LoadIcon(AfxFindResourceHandle(lpszResource, RT_GROUP_ICON), lpszResource);
  LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                          reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), hIcon);
  CString strTitle = m_strTitle;
  if (!Create(lpszClass, strTitle, dwDefaultStyle, rectDefault, pParentWnd, lpszResource, 0, pContext))
    return FALSE; // the frame has deleted itself
  m_hMenuDefault = ::GetMenu(m_hWnd);
  LoadAccelTable(lpszResource);
  if (pContext == nullptr) SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
  return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  auto *pContext = static_cast<CCreateContext *>(lpcs->lpCreateParams);
  if (!OnCreateClient(lpcs, pContext)) return -1;
  RecalcLayout();
  return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext *pContext) {
  if (pContext != nullptr && pContext->m_pNewViewClass != nullptr)
    return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
  return TRUE;
}

CWnd *CFrameWnd::CreateView(CCreateContext *pContext, UINT nID) {
  if (pContext == nullptr || pContext->m_pNewViewClass == nullptr) return nullptr;
  CObject *pObject = pContext->m_pNewViewClass->CreateObject();
  if (pObject == nullptr) return nullptr;
  if (!pObject->IsKindOf(RUNTIME_CLASS(CWnd))) {
    delete pObject;
    return nullptr;
  }
  auto *pView = static_cast<CWnd *>(pObject);
  // A view that fails to create deletes itself.
  if (!pView->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), this, nID, pContext))
    return nullptr;
  // The view's own edge replaces the frame's.
  if (pView->GetExStyle() & WS_EX_CLIENTEDGE) ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
  return pView;
}

void CFrameWnd::InitialUpdateFrame(CDocument *pDoc, BOOL bMakeVisible) {
  CView *pView = nullptr;
  if (GetActiveView() == nullptr) {
    CWnd *pWnd = GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
    if (pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CView))) {
      pView = static_cast<CView *>(pWnd);
      SetActiveView(pView, FALSE);
    }
  }
  if (bMakeVisible) {
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    if (pView != nullptr) pView->OnActivateFrame(WA_INACTIVE, this);
    int nCmdShow = -1;
    CWinApp *pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pMainWnd == this) {
      nCmdShow = pApp->m_nCmdShow; // only the first time
      pApp->m_nCmdShow = -1;
    }
    ActivateFrame(nCmdShow);
    if (pView != nullptr) pView->OnActivateView(TRUE, pView, pView);
  }
  if (pDoc != nullptr) pDoc->UpdateFrameCounts();
  OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::ActivateFrame(int nCmdShow) {
  if (nCmdShow == -1) {
    if (!IsWindowVisible())
      nCmdShow = SW_SHOWNORMAL;
    else if (IsIconic())
      nCmdShow = SW_RESTORE;
  }
  if (nCmdShow != -1) ShowWindow(nCmdShow);
  BringWindowToTop();
}

// ---------------------------------------------------------------------------
// Views and documents

void CFrameWnd::SetActiveView(CView *pViewNew, BOOL bNotify) {
  CView *pViewOld = m_pViewActive;
  if (pViewNew == pViewOld) return;
  m_pViewActive = nullptr; // no routing to a view that is changing
  if (bNotify && pViewOld != nullptr) pViewOld->OnActivateView(FALSE, pViewNew, pViewOld);
  m_pViewActive = pViewNew;
  if (bNotify && pViewNew != nullptr) pViewNew->OnActivateView(TRUE, pViewNew, pViewOld);
}

CDocument *CFrameWnd::GetActiveDocument() {
  CView *pView = GetActiveView();
  return pView != nullptr ? pView->GetDocument() : nullptr;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void *pExtra, AFX_CMDHANDLERINFO *pHandlerInfo) {
  // The active view first (it asks its document), then the frame, then the application.
  if (CView *pView = GetActiveView()) {
    if (pView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  }
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  CWinApp *pApp = AfxGetApp();
  return pApp != nullptr && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---------------------------------------------------------------------------
// Keys, menus and the idle update

BOOL CFrameWnd::PreTranslateMessage(MSG *pMsg) {
  if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
  if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) return FALSE;
  // A disabled frame (a modal window above it) takes no accelerators.
  if (!::IsWindowEnabled(m_hWnd)) return FALSE;
  HACCEL hAccel = GetDefaultAccelerator();
  return hAccel != nullptr && ::TranslateAccelerator(m_hWnd, hAccel, pMsg);
}

void CFrameWnd::OnInitMenuPopup(CMenu *pMenu, UINT nIndex, BOOL bSysMenu) {
  CWnd::OnInitMenuPopup(pMenu, nIndex, bSysMenu);
  if (bSysMenu || pMenu == nullptr) return;
  AfxUpdateMenuCmdUI(this, pMenu->GetSafeHmenu(), m_bAutoMenuEnable);
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu) {
  if (nFlags == 0xFFFF && hSysMenu == nullptr)
    SetMessageText(AFX_IDS_IDLEMESSAGE); // the menu closed
  else if (!(nFlags & (MF_POPUP | MF_SEPARATOR)) && nItemID != 0)
    SetMessageText(nItemID);
}

// Answers the id shown before, so that a bar showing a prompt for a while can
// put it back with WM_POPMESSAGESTRING.
LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam) {
  const UINT nIDLast = m_nIDLastMessage;
  if (lParam != 0) {
    SetMessageText(reinterpret_cast<LPCTSTR>(lParam));
    m_nIDLastMessage = 0;
  } else {
    SetMessageText((UINT)wParam);
    m_nIDLastMessage = (UINT)wParam;
  }
  return nIDLast;
}

LRESULT CFrameWnd::OnPopMessageString(WPARAM wParam, LPARAM lParam) {
  return OnSetMessageString(wParam, lParam);
}

LRESULT CFrameWnd::OnChildFrameIcon(WPARAM, LPARAM) {
  if (!(GetStyle() & WS_CHILD)) return 0;
  LONG_PTR hIcon = ::GetClassLongPtrW(m_hWnd, GCLP_HICONSM);
  if (hIcon == 0) hIcon = ::GetClassLongPtrW(m_hWnd, GCLP_HICON);
  return hIcon;
}

namespace {

// Shows a command's state on a button of a common-control toolbar.
class CPlainToolCmdUI : public CCmdUI {
public:
  HWND m_hWndToolBar = nullptr;
  void Enable(BOOL bOn) override {
    ::SendMessage(m_hWndToolBar, TB_ENABLEBUTTON, m_nID, MAKELPARAM(bOn ? TRUE : FALSE, 0));
    m_bEnableChanged = TRUE;
  }
  void SetCheck(int nCheck) override {
    ::SendMessage(m_hWndToolBar, TB_CHECKBUTTON, m_nID, MAKELPARAM(nCheck != 0, 0));
  }
  void SetRadio(BOOL bOn) override { SetCheck(bOn); }
  void SetText(LPCTSTR) override {}
};

} // namespace

void CFrameWnd::UpdatePlainToolBars(BOOL bDisableIfNoHndler) {
  for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild != nullptr;
       hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
    wchar_t szClass[64] = {};
    ::GetClassName(hWndChild, szClass, 64);
    if (_wcsicmp(szClass, TOOLBARCLASSNAMEW) != 0 || !::IsWindowVisible(hWndChild)) continue;
    CPlainToolCmdUI state;
    state.m_hWndToolBar = hWndChild;
    int nCount = (int)::SendMessage(hWndChild, TB_BUTTONCOUNT, 0, 0);
    for (int i = 0; i < nCount; i++) {
      TBBUTTON button = {};
      if (!::SendMessage(hWndChild, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button))) continue;
      if (button.fsStyle & BTNS_SEP) continue;
      state.m_nIndex = (UINT)i;
      state.m_nID = (UINT)button.idCommand;
      state.DoUpdate(this, bDisableIfNoHndler);
    }
  }
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
  if (m_nIdleFlags & idleTitle) OnUpdateFrameTitle(TRUE);
  if (m_nIdleFlags & idleLayout) RecalcLayout((m_nIdleFlags & idleNotify) != 0);
  if (m_nIdleFlags & idleMenu) OnUpdateFrameMenu(nullptr);
  m_nIdleFlags = 0;
  UpdatePlainToolBars((BOOL)wParam);
  return 0;
}

BOOL CFrameWnd::OnBarCheck(UINT nID) {
  CWnd *pBar = GetDescendantWindow((int)nID, TRUE);
  if (pBar == nullptr) return FALSE;
  ShowControlBar(pBar, !pBar->IsWindowVisible(), FALSE);
  return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI *pCmdUI) {
  CWnd *pBar = GetDescendantWindow((int)pCmdUI->m_nID, TRUE);
  if (pBar == nullptr) {
    pCmdUI->ContinueRouting();
    return;
  }
  pCmdUI->SetCheck(pBar->IsWindowVisible() ? 1 : 0);
}

void CFrameWnd::ShowControlBar(CWnd *pBar, BOOL bShow, BOOL bDelay) {
  if (pBar == nullptr || pBar->m_hWnd == nullptr) return;
  pBar->ShowWindow(bShow ? SW_SHOWNOACTIVATE : SW_HIDE);
  if (bDelay)
    DelayRecalcLayout();
  else
    RecalcLayout();
}

// ---------------------------------------------------------------------------
// Layout

void CFrameWnd::RecalcLayout(BOOL) {
  if (m_bInRecalcLayout || m_hWnd == nullptr) return;
  // A layout done now is also the one put off to the idle time: the bars
  // would otherwise be laid out and drawn again for nothing.
  m_nIdleFlags &= ~(idleLayout | idleNotify);
  m_bInRecalcLayout = TRUE;
  RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder);
  m_bInRecalcLayout = FALSE;
}

void CFrameWnd::DelayRecalcLayout(BOOL bNotify) {
  m_nIdleFlags |= idleLayout | (bNotify ? idleNotify : 0);
}

BOOL CFrameWnd::RecalcPendingLayout() {
  if (!(m_nIdleFlags & idleLayout)) return FALSE;
  const BOOL bNotify = (m_nIdleFlags & idleNotify) != 0;
  m_nIdleFlags &= ~(idleLayout | idleNotify);
  RecalcLayout(bNotify);
  return TRUE;
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  if (nType != SIZE_MINIMIZED) RecalcLayout();
}

BOOL CFrameWnd::OnEraseBkgnd(CDC *pDC) {
  // The view covers the client area; erasing under it only flickers.
  if (GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE) != nullptr) return TRUE;
  return CWnd::OnEraseBkgnd(pDC);
}

void CFrameWnd::OnSetFocus(CWnd *pOldWnd) {
  if (CView *pView = GetActiveView())
    pView->SetFocus();
  else
    CWnd::OnSetFocus(pOldWnd);
}

// ---------------------------------------------------------------------------
// Title, menu and status text

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
  if ((GetStyle() & FWS_ADDTOTITLE) == 0) return;
  CDocument *pDocument = GetActiveDocument();
  if (bAddToTitle && pDocument != nullptr)
    UpdateFrameTitleForDocument(pDocument->GetTitle());
  else
    UpdateFrameTitleForDocument(nullptr);
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCTSTR lpszDocName) {
  CString strTitle;
  if (lpszDocName == nullptr || *lpszDocName == 0)
    strTitle = m_strTitle;
  else if (GetStyle() & FWS_PREFIXTITLE)
    strTitle = CString(lpszDocName) + L" - " + m_strTitle;
  else
    strTitle = m_strTitle + L" - " + lpszDocName;
  CString strOld;
  GetWindowText(strOld);
  if (strOld != strTitle) SetWindowText(strTitle);
}

void CFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt) {
  if (hMenuAlt == nullptr) hMenuAlt = m_hMenuDefault;
  if (hMenuAlt != nullptr && ::GetMenu(m_hWnd) != hMenuAlt) ::SetMenu(m_hWnd, hMenuAlt);
}

CWnd *CFrameWnd::GetMessageBar() {
  return GetDescendantWindow(AFX_IDW_STATUS_BAR, TRUE);
}

void CFrameWnd::SetMessageText(LPCTSTR lpszText) {
  if (CWnd *pBar = GetMessageBar()) {
    pBar->SetWindowText(lpszText);
    pBar->UpdateWindow();
  }
}

void CFrameWnd::SetMessageText(UINT nID) {
  CString strMessage;
  GetMessageString(nID, strMessage);
  SetMessageText(strMessage);
}

void CFrameWnd::GetMessageString(UINT nID, CString &rMessage) const {
  CString strFull;
  if (strFull.LoadString(nID)) {
    AfxExtractSubString(rMessage, strFull, 0); // the prompt ends at the tooltip part
  } else {
    rMessage.Empty();
    if (nID == AFX_IDS_IDLEMESSAGE) rMessage = L"Ready";
  }
}

// ---------------------------------------------------------------------------
// Closing

void CFrameWnd::OnClose() {
  CDocument *pDocument = GetActiveDocument();
  if (pDocument != nullptr && !pDocument->CanCloseFrame(this)) return;
  CWinApp *pApp = AfxGetApp();
  if (pApp != nullptr && pApp->m_pMainWnd == this) {
    // Closing the main window closes every document, which destroys this frame.
    HWND hWnd = m_hWnd;
    for (int i = 0; i < pApp->GetDocTemplateCount(); i++) pApp->GetDocTemplate(i)->CloseAllDocuments(FALSE);
    if (!::IsWindow(hWnd)) return;
  }
  DestroyWindow();
}

void CFrameWnd::OnDestroy() {
  // The menu the frame loaded goes with it; a menu someone else set stays theirs.
  if (m_hMenuDefault != nullptr && ::GetMenu(m_hWnd) != m_hMenuDefault) {
    ::DestroyMenu(m_hMenuDefault);
  }
  m_hMenuDefault = nullptr;
  CWnd::OnDestroy();
}

// ---------------------------------------------------------------------------
// Colour and setting changes

namespace {

struct OwnedPopups {
  HWND hWndOwner;
  std::vector<HWND> popups;
};

BOOL CALLBACK CollectOwnedPopup(HWND hWnd, LPARAM lParam) {
  auto *pFound = reinterpret_cast<OwnedPopups *>(lParam);
  for (HWND h = ::GetWindow(hWnd, GW_OWNER); h != nullptr; h = ::GetWindow(h, GW_OWNER)) {
    if (h == pFound->hWndOwner) {
      pFound->popups.push_back(hWnd);
      break;
    }
  }
  return TRUE;
}

} // namespace

std::vector<HWND> AfxOwnedPopups(HWND hWndOwner) {
  OwnedPopups found = {hWndOwner, {}};
  if (hWndOwner != nullptr)
    ::EnumThreadWindows(::GetWindowThreadProcessId(hWndOwner, nullptr), CollectOwnedPopup,
                        reinterpret_cast<LPARAM>(&found));
  return found.popups;
}

namespace {

// Windows tells only top-level windows of a new colour scheme or setting; the
// bars, panes and controls inside the frame, and the popups it owns, repaint
// from cached colours and metrics unless they are told too. A frame among
// those popups does not relay again: the outermost frame reaches them all.
thread_local bool t_bRelayingSystemChange = false;

} // namespace

void CFrameWnd::RelaySystemChange(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND hWndFrame = m_hWnd;
  if (t_bRelayingSystemChange) return;
  t_bRelayingSystemChange = true;
  const std::vector<HWND> popups = AfxOwnedPopups(hWndFrame);
  CWnd::SendToDescendants(hWndFrame, message, wParam, lParam, TRUE, FALSE);
  for (HWND hWndPopup : popups) {
    if (!::IsWindow(hWndPopup)) continue;
    ::SendMessage(hWndPopup, message, wParam, lParam);
    CWnd::SendToDescendants(hWndPopup, message, wParam, lParam, TRUE, FALSE);
  }
  t_bRelayingSystemChange = false;
}

void CFrameWnd::NotifyFloatingWindows(DWORD dwFlags) {
  for (HWND hWndPopup : AfxOwnedPopups(m_hWnd))
    if (::IsWindow(hWndPopup)) ::SendMessage(hWndPopup, WM_FLOATSTATUS, dwFlags, 0);
}

// Setting the focus while the frame is activated can bring a second
// WM_ACTIVATE: the bars hear of each change once.
void CFrameWnd::NotifyFloatingActivation(BOOL bActive) {
  const int nState = bActive ? 1 : 0;
  if (m_nFloatingActive == nState) return;
  m_nFloatingActive = nState;
  NotifyFloatingWindows(bActive ? FS_ACTIVATE : FS_DEACTIVATE);
}

namespace {

// Activation passing to a popup of the frame's own that keeps in step with
// the frame (a floating bar): the frame stays active in the user's eyes.
bool IsSyncedPopup(HWND hWndFrame, HWND hWndOther) {
  if (hWndOther == nullptr) return false;
  for (HWND h = ::GetWindow(hWndOther, GW_OWNER); h != nullptr; h = ::GetWindow(h, GW_OWNER))
    if (h == hWndFrame) return ::SendMessage(hWndOther, WM_FLOATSTATUS, FS_SYNCACTIVE, 0) != 0;
  return false;
}

} // namespace

void CFrameWnd::OnActivate(UINT nState, CWnd *pWndOther, BOOL bMinimized) {
  CWnd::OnActivate(nState, pWndOther, bMinimized);
  if (nState == WA_INACTIVE) {
    // The caption went inactive just before; a floating bar of the frame's
    // taking the activation brings it back.
    if (IsSyncedPopup(m_hWnd, pWndOther->GetSafeHwnd())) {
      m_bStayActive = TRUE;
      SendMessage(WM_NCACTIVATE, TRUE);
      return;
    }
    m_bStayActive = FALSE;
    NotifyFloatingActivation(FALSE);
  } else {
    m_bStayActive = FALSE;
    NotifyFloatingActivation(TRUE);
  }
}

// Activation leaving the program from one of the floating bars does not pass
// through the frame's WM_ACTIVATE: the frame learns it here.
void CFrameWnd::OnActivateApp(BOOL bActive, DWORD dwThreadID) {
  CWnd::OnActivateApp(bActive, dwThreadID);
  if (bActive || !m_bStayActive) return;
  m_bStayActive = FALSE;
  SendMessage(WM_NCACTIVATE, FALSE);
  NotifyFloatingActivation(FALSE);
}

BOOL CFrameWnd::OnNcActivate(BOOL bActive) {
  if (bActive || !m_bStayActive) return (BOOL)Default();
  return (BOOL)DefWindowProc(WM_NCACTIVATE, TRUE, 0);
}

void CFrameWnd::OnEnable(BOOL bEnable) {
  CWnd::OnEnable(bEnable);
  NotifyFloatingWindows(bEnable ? FS_ENABLE : FS_DISABLE);
}

void CFrameWnd::OnSysColorChange() {
  Default();
  RelaySystemChange(WM_SYSCOLORCHANGE, 0, 0);
}

void CFrameWnd::OnSettingChange(UINT uFlags, LPCTSTR lpszSection) {
  Default();
  RelaySystemChange(WM_SETTINGCHANGE, uFlags, reinterpret_cast<LPARAM>(lpszSection));
}

// ---------------------------------------------------------------------------
// Context help

HWND CFrameWnd::HelpHitWindow(CPoint ptScreen) const {
  CRect rectWindow;
  ::GetWindowRect(m_hWnd, &rectWindow);
  if (!rectWindow.PtInRect(ptScreen)) return nullptr;
  // Down through this frame's own children, not the screen's windows:
  // another program's window over the frame is not what the user meant.
  HWND hWnd = m_hWnd;
  for (;;) {
    POINT pt = ptScreen;
    ::ScreenToClient(hWnd, &pt);
    HWND hWndChild = ::ChildWindowFromPointEx(hWnd, pt, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (hWndChild == nullptr || hWndChild == hWnd) return hWnd;
    hWnd = hWndChild;
  }
}

void CFrameWnd::OnContextHelp() {
  if (m_bHelpMode) return;
  m_bHelpMode = TRUE;
  const HCURSOR hHelpCursor = ::LoadCursor(nullptr, IDC_HELP);
  const HCURSOR hOldCursor = ::SetCursor(hHelpCursor);
  SetCapture();
  SetMessageText(AFX_IDS_HELPMODEMESSAGE);
  HWND hWndHit = nullptr;
  CPoint ptHit;
  MSG msg;
  while (m_bHelpMode && ::GetCapture() == m_hWnd) {
    if (::GetMessage(&msg, nullptr, 0, 0) <= 0) {
      ::PostQuitMessage((int)msg.wParam); // the main loop ends as well
      break;
    }
    if (msg.message == WM_LBUTTONDOWN || msg.message == WM_LBUTTONDBLCLK) {
      // The capture sends every click here, in the client coordinates of the
      // window the message names.
      ptHit = CPoint(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
      ::ClientToScreen(msg.hwnd, &ptHit);
      hWndHit = HelpHitWindow(ptHit);
      break;
    }
    if (msg.message == WM_RBUTTONDOWN || msg.message == WM_CANCELMODE ||
        (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE))
      break;
    if (msg.message == WM_MOUSEMOVE) {
      ::SetCursor(hHelpCursor);
      continue;
    }
    // Keys other than Escape and the other mouse buttons mean nothing here.
    if ((msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) ||
        (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST))
      continue;
    ::DispatchMessage(&msg);
  }
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  ::SetCursor(hOldCursor);
  SetMessageText(AFX_IDS_IDLEMESSAGE);
  m_bHelpMode = FALSE;
  if (hWndHit != nullptr) OnContextHelpClick(hWndHit, ptHit);
}
