#include "MDIFrameWnd.h"

#include "Menu.h"
#include "ModuleState.h"
#include "View.h"
#include "WinThread.h"

// ---------------------------------------------------------------------------
// The frame

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
ON_WM_SIZE()
ON_WM_SETFOCUS()
END_MESSAGE_MAP()

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext *) {
  return CreateClient(lpcs, nullptr);
}

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCT, CMenu *pWindowMenu) {
  CLIENTCREATESTRUCT ccs = {};
  ccs.hWindowMenu = pWindowMenu != nullptr ? pWindowMenu->GetSafeHmenu() : nullptr;
  ccs.idFirstChild = AFX_IDM_FIRST_MDICHILD;
  // The frame's own edge moves to the client, which the bars then frame.
  const DWORD dwExStyle = GetExStyle() & WS_EX_CLIENTEDGE;
  if (dwExStyle) ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
  m_hWndMDIClient = ::CreateWindowExW(dwExStyle, L"MDICLIENT", nullptr,
                                      WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL |
                                          WS_HSCROLL | MDIS_ALLCHILDSTYLES,
                                      0, 0, 0, 0, m_hWnd, reinterpret_cast<HMENU>(AFX_IDW_PANE_FIRST),
                                      AfxGetInstanceHandle(), &ccs);
  return m_hWndMDIClient != nullptr;
}

CMDIChildWnd *CMDIFrameWnd::MDIGetActive(BOOL *pbMaximized) const {
  BOOL bMaximized = FALSE;
  HWND hWnd = m_hWndMDIClient != nullptr
                  ? reinterpret_cast<HWND>(::SendMessageW(m_hWndMDIClient, WM_MDIGETACTIVE, 0,
                                                          reinterpret_cast<LPARAM>(&bMaximized)))
                  : nullptr;
  if (pbMaximized != nullptr) *pbMaximized = hWnd != nullptr && bMaximized;
  CWnd *pWnd = CWnd::FromHandlePermanent(hWnd);
  return pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CMDIChildWnd)) ? static_cast<CMDIChildWnd *>(pWnd)
                                                                        : nullptr;
}

void CMDIFrameWnd::MDIActivate(CWnd *pWndActivate) {
  ::SendMessageW(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(pWndActivate->GetSafeHwnd()), 0);
}

void CMDIFrameWnd::MDIMaximize(CWnd *pWnd) {
  ::SendMessageW(m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(pWnd->GetSafeHwnd()), 0);
}

void CMDIFrameWnd::MDIRestore(CWnd *pWnd) {
  ::SendMessageW(m_hWndMDIClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(pWnd->GetSafeHwnd()), 0);
}

void CMDIFrameWnd::MDINext() {
  ::SendMessageW(m_hWndMDIClient, WM_MDINEXT, 0, 0);
}

HMENU CMDIFrameWnd::MDISetMenu(HMENU hMenuFrame, HMENU hMenuWindow) {
  if (m_hWndMDIClient == nullptr) return nullptr;
  return reinterpret_cast<HMENU>(::SendMessageW(m_hWndMDIClient, WM_MDISETMENU,
                                                reinterpret_cast<WPARAM>(hMenuFrame),
                                                reinterpret_cast<LPARAM>(hMenuWindow)));
}

CFrameWnd *CMDIFrameWnd::GetActiveFrame() {
  CMDIChildWnd *pActive = MDIGetActive();
  return pActive != nullptr ? static_cast<CFrameWnd *>(pActive) : this;
}

void CMDIFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt) {
  CMDIChildWnd *pActive = MDIGetActive();
  HMENU hMenu = pActive != nullptr ? pActive->m_hMenuShared : nullptr;
  if (hMenu == nullptr) hMenu = hMenuAlt != nullptr ? hMenuAlt : m_hMenuDefault;
  // Without a menu of its own (a menu bar took it) the client is still
  // told, with none: whoever hooks it decides what the frame shows.
  MDISetMenu(hMenu, nullptr);
  if (::GetMenu(m_hWnd) != nullptr) ::DrawMenuBar(m_hWnd);
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void *pExtra, AFX_CMDHANDLERINFO *pHandlerInfo) {
  // The active child (its view and document) first, then the frame.
  if (CMDIChildWnd *pActive = MDIGetActive()) {
    if (pActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  }
  return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG *pMsg) {
  // Ctrl+F4 and Ctrl+F6 belong to the children before the accelerators.
  if (m_hWndMDIClient != nullptr && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST &&
      ::TranslateMDISysAccel(m_hWndMDIClient, pMsg))
    return TRUE;
  return CFrameWnd::PreTranslateMessage(pMsg);
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefFrameProcW(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

void CMDIFrameWnd::OnSize(UINT nType, int, int) {
  // The default would stretch the client over the bars.
  if (nType != SIZE_MINIMIZED) RecalcLayout();
}

void CMDIFrameWnd::OnSetFocus(CWnd *) {
  if (CMDIChildWnd *pActive = MDIGetActive())
    pActive->SetFocus();
  else if (m_hWndMDIClient != nullptr)
    ::SetFocus(m_hWndMDIClient);
}

// ---------------------------------------------------------------------------
// The child

IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_MESSAGE(WM_MDIACTIVATE, OnMDIActivate)
END_MESSAGE_MAP()

CMDIFrameWnd *CMDIChildWnd::GetMDIFrame() const {
  HWND hWndClient = ::GetParent(m_hWnd);
  CWnd *pFrame = CWnd::FromHandlePermanent(hWndClient != nullptr ? ::GetParent(hWndClient) : nullptr);
  return pFrame != nullptr && pFrame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd))
             ? static_cast<CMDIFrameWnd *>(pFrame)
             : nullptr;
}

BOOL CMDIChildWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT &rect,
                          CMDIFrameWnd *pParentWnd, CCreateContext *pContext) {
  if (pParentWnd == nullptr) {
    CWnd *pMain = AfxGetMainWnd();
    if (pMain != nullptr && pMain->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
      pParentWnd = static_cast<CMDIFrameWnd *>(pMain);
  }
  if (pParentWnd == nullptr || pParentWnd->m_hWndMDIClient == nullptr) {
    PostNcDestroy(); // as every frame whose creation fails
    return FALSE;
  }
  m_strTitle = lpszWindowName != nullptr ? lpszWindowName : L"";
  CREATESTRUCT cs = {};
  cs.style = dwStyle | WS_CHILD;
  cs.lpszClass = lpszClassName;
  cs.lpszName = lpszWindowName;
  cs.hInstance = AfxGetInstanceHandle();
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  MDICREATESTRUCTW mcs = {};
  mcs.szClass = cs.lpszClass;
  mcs.szTitle = cs.lpszName;
  mcs.hOwner = cs.hInstance;
  if (rect.left == CW_USEDEFAULT) {
    mcs.x = mcs.y = mcs.cx = mcs.cy = CW_USEDEFAULT;
  } else {
    mcs.x = rect.left;
    mcs.y = rect.top;
    mcs.cx = rect.right - rect.left;
    mcs.cy = rect.bottom - rect.top;
  }
  // The client shows and activates a visible child itself; maximising
  // follows once the object is bound, so that it sees its own WM_SIZE.
  mcs.style = cs.style & ~WS_MAXIMIZE;
  mcs.lParam = reinterpret_cast<LPARAM>(pContext);
  AfxHookWindowCreate(this);
  HWND hWnd = reinterpret_cast<HWND>(
      ::SendMessageW(pParentWnd->m_hWndMDIClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  if (!AfxUnhookWindowCreate() || hWnd == nullptr) {
    // Creation refused before the object was attached, or destroyed after.
    if (m_hWnd == nullptr) PostNcDestroy();
    return FALSE;
  }
  if (cs.style & WS_MAXIMIZE) pParentWnd->MDIMaximize(this);
  return TRUE;
}

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd *pParentWnd,
                             CCreateContext *pContext) {
  m_nIDHelp = nIDResource;
  CString strFullString;
  if (strFullString.LoadString(nIDResource)) AfxExtractSubString(m_strTitle, strFullString, 0);
  LPCTSTR lpszResource = MAKEINTRESOURCE(nIDResource);
  HICON hIcon = ::LoadIcon(AfxFindResourceHandle(lpszResource, RT_GROUP_ICON), lpszResource);
  LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                          reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), hIcon);
  CMDIFrameWnd *pFrame = nullptr;
  if (pParentWnd != nullptr && pParentWnd->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
    pFrame = static_cast<CMDIFrameWnd *>(pParentWnd);
  CString strTitle = m_strTitle;
  return Create(lpszClass, strTitle, dwDefaultStyle, rectDefault, pFrame, pContext);
}

int CMDIChildWnd::OnCreate(LPCREATESTRUCT lpcs) {
  // The creation parameter of an MDI child is the client's block; the
  // context travels in its lParam.
  CREATESTRUCT cs = *lpcs;
  auto *pMdi = static_cast<MDICREATESTRUCTW *>(lpcs->lpCreateParams);
  cs.lpCreateParams = pMdi != nullptr ? reinterpret_cast<void *>(pMdi->lParam) : nullptr;
  return CFrameWnd::OnCreate(&cs);
}

void CMDIChildWnd::MDIActivate() {
  if (CMDIFrameWnd *pFrame = GetMDIFrame()) pFrame->MDIActivate(this);
}

void CMDIChildWnd::MDIMaximize() {
  if (CMDIFrameWnd *pFrame = GetMDIFrame()) pFrame->MDIMaximize(this);
}

void CMDIChildWnd::MDIRestore() {
  if (CMDIFrameWnd *pFrame = GetMDIFrame()) pFrame->MDIRestore(this);
}

void CMDIChildWnd::MDIDestroy() {
  DestroyWindow();
}

BOOL CMDIChildWnd::DestroyWindow() {
  if (m_hWnd == nullptr) return FALSE;
  // Only the client may destroy its children: it activates the next one and
  // takes a maximised child's buttons off the frame's menu.
  HWND hWndClient = ::GetParent(m_hWnd);
  if (hWndClient == nullptr) return CFrameWnd::DestroyWindow();
  ::SendMessageW(hWndClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0);
  return TRUE;
}

void CMDIChildWnd::ActivateFrame(int nCmdShow) {
  if (nCmdShow == -1 && !IsWindowVisible()) nCmdShow = SW_SHOWNORMAL;
  if (nCmdShow != -1) ShowWindow(nCmdShow);
  MDIActivate();
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefMDIChildProcW(m_hWnd, message, wParam, lParam);
}

void CMDIChildWnd::OnSize(UINT nType, int cx, int cy) {
  CFrameWnd::OnSize(nType, cx, cy); // passes on to the client's procedure too
}

LRESULT CMDIChildWnd::OnMDIActivate(WPARAM, LPARAM lParam) {
  Default();
  const HWND hWndActivated = reinterpret_cast<HWND>(lParam);
  // The child coming in brings its menu; the last one going brings back the
  // frame's. Between two children only the one coming in speaks.
  CMDIFrameWnd *pFrame = GetMDIFrame();
  if (pFrame == nullptr) return 0;
  if (hWndActivated == m_hWnd)
    pFrame->OnUpdateFrameMenu(nullptr);
  else if (hWndActivated == nullptr)
    pFrame->MDISetMenu(pFrame->m_hMenuDefault, nullptr); // this child may still count as active
  return 0;
  return 0;
}
