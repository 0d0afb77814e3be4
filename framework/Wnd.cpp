#include "Wnd.h"

#include <cwchar>
#include <exception>
#include <utility>
#include <vector>

#include "CmdUI.h"
#include "Dc.h"
#include "FrameWnd.h"
#include "GdiObject.h"
#include "Menu.h"
#include "ModuleState.h"
#include "ThreadState.h"
#include "ToolTipCtrl.h"
#include "Exception.h"
#include "WinThread.h"
#include "WndPreHandler.h"

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
ON_WM_NCDESTROY()
END_MESSAGE_MAP()

// ---------------------------------------------------------------------------
// Per-thread state

AFX_THREAD_STATE *AfxGetThreadState() {
  thread_local AFX_THREAD_STATE state;
  return &state;
}

// Temporary wrappers must not look up the maps while the thread's state is
// being torn down, so they are let go of their handle first.
AFX_THREAD_STATE::~AFX_THREAD_STATE() {
  // The tooltip window goes with its owner; an object still bound at thread
  // end lets go of it rather than reach into the state being torn down.
  if (pToolTip != nullptr && pToolTip->m_hWnd != nullptr) {
    permanentMap.erase(pToolTip->m_hWnd);
    pToolTip->m_hWnd = nullptr;
  }
  pToolTip.reset();
  for (auto &entry : temporaryMap) entry.second->m_hWnd = nullptr;
  temporaryMap.clear();
}

CDC *AfxDcFromHandle(HDC hDC) {
  return CDC::FromHandle(hDC);
}
CMenu *AfxMenuFromHandle(HMENU hMenu) {
  return CMenu::FromHandle(hMenu);
}

CScrollBar *AfxScrollBarFromHandle(HWND hWnd) {
  CWnd *pWnd = CWnd::FromHandlePermanent(hWnd);
  if (pWnd == nullptr || !pWnd->IsKindOf(RUNTIME_CLASS(CScrollBar))) return nullptr;
  return static_cast<CScrollBar *>(pWnd);
}

// ---------------------------------------------------------------------------
// Window procedure and creation hook

WNDPROC AfxGetAfxWndProc() {
  return &AfxWndProc;
}

namespace {

// Where a dialog stood before its initialisation ran.
struct DialogPlacement {
  RECT m_rect;
  DWORD m_style;
};

DialogPlacement PlacementOf(HWND hWnd) {
  DialogPlacement placement = {};
  ::GetWindowRect(hWnd, &placement.m_rect);
  placement.m_style = static_cast<DWORD>(::GetWindowLongPtr(hWnd, GWL_STYLE));
  return placement;
}

// A top-level dialog that its initialisation neither showed nor moved opens
// centred over its owner; one that placed itself stays where it went (a
// change of size alone, as a property sheet fitting its pages, is no move).
void CenterAfterInitDialog(HWND hWnd, const DialogPlacement &before) {
  if (!::IsWindow(hWnd) || (before.m_style & (WS_CHILD | WS_VISIBLE)) != 0) return;
  const DialogPlacement after = PlacementOf(hWnd);
  if ((after.m_style & (WS_CHILD | WS_VISIBLE)) != 0) return;
  if (after.m_rect.left != before.m_rect.left || after.m_rect.top != before.m_rect.top) return;
  if (CWnd *pWnd = CWnd::FromHandlePermanent(hWnd)) pWnd->CenterWindow();
}

// What a message answers when its handler threw: creation fails, a paint is
// taken as done (or it would come back at once), anything else is ignored.
LRESULT ResultAfterException(HWND hWnd, UINT message) {
  if (message == WM_CREATE) return -1;
  if (message == WM_NCCREATE) return FALSE;
  if (message == WM_PAINT) ::ValidateRect(hWnd, nullptr);
  return 0;
}

// The window's pre-handlers first, then its object. A pre-handler may destroy
// the window, and a self-deleting object is gone with it: an object bound to
// the window is asked only while it still is.
LRESULT CallWindowProcGuarded(CWnd *pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return AfxCallGuarded(
      message,
      [&] {
        LRESULT lResult = 0;
        const bool bBound = CWnd::FromHandlePermanent(hWnd) == pWnd;
        if (AfxCallPreHandlers(hWnd, message, wParam, lParam, lResult)) return lResult;
        if (bBound && CWnd::FromHandlePermanent(hWnd) != pWnd) return lResult;
        MSG &current = AfxGetThreadState()->lastSentMsg;
        current.wParam = wParam; // as the pre-handlers left them, for Default()
        current.lParam = lParam;
        return pWnd->WindowProc(message, wParam, lParam);
      },
      [&] { return ResultAfterException(hWnd, message); });
}

// A window whose object let it go while a later procedure was chained on top
// of ours: messages pass on to the window's own procedure.
LRESULT PassThrough(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto &procs = AfxGetThreadState()->passThroughProcs;
  auto it = procs.find(hWnd);
  if (it == procs.end()) return ::DefWindowProc(hWnd, message, wParam, lParam);
  const WNDPROC pfnOld = it->second;
  if (message == WM_NCDESTROY) procs.erase(it);
  return ::CallWindowProc(pfnOld, hWnd, message, wParam, lParam);
}

} // namespace

void AfxTraceHandlerException(UINT message, CException *pException, const char *pszWhat) {
  if (pszWhat != nullptr)
    TRACE("Exception in the handler of message 0x%04X: %s\n", message, pszWhat);
  else
    TRACE(L"Exception in the handler of message 0x%04X; ignored\n", message);
  if (pException != nullptr) pException->Delete();
}

LRESULT AfxCallWndProc(CWnd *pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const bool initDialog = message == WM_INITDIALOG;
  const DialogPlacement before = initDialog ? PlacementOf(hWnd) : DialogPlacement{};
  AFX_THREAD_STATE *pState = AfxGetThreadState();
  MSG oldMsg = pState->lastSentMsg;
  pState->lastSentMsg.hwnd = hWnd;
  pState->lastSentMsg.message = message;
  pState->lastSentMsg.wParam = wParam;
  pState->lastSentMsg.lParam = lParam;
  // An object counted by references may be released by its own handler: the
  // hold keeps it alive until the handler is done. Any other object may
  // delete itself while handling WM_NCDESTROY (or a message that destroys its
  // window), so nothing of it is touched after WindowProc returns.
  const bool bHold = pWnd->HoldForDispatch() != FALSE;
  LRESULT lResult = CallWindowProcGuarded(pWnd, hWnd, message, wParam, lParam);
  if (bHold) pWnd->InternalRelease();
  pState->lastSentMsg = oldMsg;
  if (initDialog) CenterAfterInitDialog(hWnd, before);
  return lResult;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd *pWnd = CWnd::FromHandlePermanent(hWnd);
  if (pWnd == nullptr) return PassThrough(hWnd, message, wParam, lParam);
  return AfxCallWndProc(pWnd, hWnd, message, wParam, lParam);
}

LRESULT CALLBACK AfxCbtFilterHook(int code, WPARAM wParam, LPARAM lParam) {
  AFX_THREAD_STATE *pState = AfxGetThreadState();
  if (code == HCBT_CREATEWND && pState->pWndInit != nullptr) {
    CWnd *pWndInit = pState->pWndInit;
    pState->pWndInit = nullptr;
    HWND hWnd = reinterpret_cast<HWND>(wParam);
    // An exception must not unwind through the window manager. The creation
    // is refused instead, the object let go of the half-made window, and the
    // object left waiting as if the hook had never fired, so that CreateEx
    // fails and tells a self-deleting object.
    const bool bAttached = AfxCallGuarded(
        WM_NCCREATE,
        [&] {
          CWnd::AttachForCreate(pWndInit, hWnd);
          return true;
        },
        [] { return false; });
    if (!bAttached) {
      if (pWndInit->m_hWnd == hWnd) pWndInit->Detach();
      pState->pWndInit = pWndInit;
      return 1;
    }
  }
  return ::CallNextHookEx(pState->hHookCbt, code, wParam, lParam);
}

void AfxHookWindowCreate(CWnd *pWnd) {
  AFX_THREAD_STATE *pState = AfxGetThreadState();
  if (pState->hHookCbt == nullptr)
    pState->hHookCbt = ::SetWindowsHookEx(WH_CBT, AfxCbtFilterHook, nullptr, ::GetCurrentThreadId());
  pState->pWndInit = pWnd;
}

BOOL AfxUnhookWindowCreate() {
  AFX_THREAD_STATE *pState = AfxGetThreadState();
  if (pState->pWndInit != nullptr) {
    pState->pWndInit = nullptr;
    return FALSE;
  }
  return TRUE;
}

void CWnd::AttachForCreate(CWnd *pWnd, HWND hWnd) {
  AfxGetThreadState()->passThroughProcs.erase(hWnd); // a reused handle's stale entry
  pWnd->Attach(hWnd);
  pWnd->PreSubclassWindow();
  auto oldProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxGetAfxWndProc())));
  if (oldProc != AfxGetAfxWndProc()) pWnd->m_pfnSuper = oldProc;
}

LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
  thread_local wchar_t szName[96];
  HINSTANCE hInst = AfxGetInstanceHandle();
  if (hCursor == nullptr && hbrBackground == nullptr && hIcon == nullptr)
    swprintf(szName, 96, L"Afx:%p:%x", (void *)hInst, nClassStyle);
  else
    swprintf(szName, 96, L"Afx:%p:%x:%p:%p:%p", (void *)hInst, nClassStyle, (void *)hCursor,
             (void *)hbrBackground, (void *)hIcon);
  WNDCLASS wc = {};
  if (::GetClassInfo(hInst, szName, &wc)) return szName;
  wc.style = nClassStyle;
  wc.lpfnWndProc = ::DefWindowProc; // every window is subclassed to AfxWndProc at creation
  wc.hInstance = hInst;
  wc.hIcon = hIcon;
  wc.hCursor = hCursor;
  wc.hbrBackground = hbrBackground;
  wc.lpszClassName = szName;
  ::RegisterClass(&wc);
  return szName;
}

// ---------------------------------------------------------------------------
// Handle maps

CWnd::~CWnd() {
  if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this) DestroyWindow();
}

HWND CWnd::GetSafeHwnd() const {
  return AfxGetSafeHwnd(this);
}

HWND AfxGetSafeHwnd(const CWnd *pWnd) {
  return pWnd == nullptr ? nullptr : pWnd->m_hWnd;
}

CWnd *CWnd::FromHandlePermanent(HWND hWnd) {
  if (hWnd == nullptr) return nullptr;
  auto &map = AfxGetThreadState()->permanentMap;
  auto it = map.find(hWnd);
  return it == map.end() ? nullptr : it->second;
}

CWnd *CWnd::FromHandle(HWND hWnd) {
  if (hWnd == nullptr) return nullptr;
  if (CWnd *pWnd = FromHandlePermanent(hWnd)) return pWnd;
  auto &temps = AfxGetThreadState()->temporaryMap;
  auto it = temps.find(hWnd);
  if (it != temps.end()) return it->second.get();
  auto pTemp = std::make_unique<CWnd>();
  pTemp->m_hWnd = hWnd;
  CWnd *pResult = pTemp.get();
  temps.emplace(hWnd, std::move(pTemp));
  return pResult;
}

void CWnd::DeleteTempMap() {
  auto temps = std::move(AfxGetThreadState()->temporaryMap);
  AfxGetThreadState()->temporaryMap.clear();
  for (auto &entry : temps) entry.second->m_hWnd = nullptr;
}

BOOL CWnd::Attach(HWND hWndNew) {
  if (hWndNew == nullptr || m_hWnd != nullptr) return FALSE;
  AFX_THREAD_STATE *pState = AfxGetThreadState();
  if (FromHandlePermanent(hWndNew) != nullptr) return FALSE; // already bound to another object
  auto it = pState->temporaryMap.find(hWndNew);
  if (it != pState->temporaryMap.end()) {
    it->second->m_hWnd = nullptr;
    pState->temporaryMap.erase(it);
  }
  pState->permanentMap[hWndNew] = this;
  m_hWnd = hWndNew;
  return TRUE;
}

HWND CWnd::Detach() {
  HWND hWnd = m_hWnd;
  if (hWnd == nullptr) return nullptr;
  auto &map = AfxGetThreadState()->permanentMap;
  auto it = map.find(hWnd);
  if (it != map.end() && it->second == this) map.erase(it);
  // A window left subclassed to AfxWndProc without its object would lose its
  // own procedure: give it back. When something was chained on top of ours
  // since, taking ours out would cut that one off too: ours stays and passes
  // messages on.
  if (m_pfnSuper != nullptr) {
    if (reinterpret_cast<WNDPROC>(::GetWindowLongPtr(hWnd, GWLP_WNDPROC)) == AfxGetAfxWndProc())
      ::SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    else if (::IsWindow(hWnd))
      AfxGetThreadState()->passThroughProcs[hWnd] = m_pfnSuper;
  }
  m_pfnSuper = nullptr;
  AfxPreHandlersOnDetach(hWnd); // chained in front of the window's procedure, now back on top
  m_hWnd = nullptr;
  return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
  if (!::IsWindow(hWnd) || !Attach(hWnd)) return FALSE;
  PreSubclassWindow();
  AfxPreHandlersOnSubclass(hWnd);
  // Our procedure still in the chain as a pass-through: it serves again.
  auto &passThrough = AfxGetThreadState()->passThroughProcs;
  auto it = passThrough.find(hWnd);
  if (it != passThrough.end()) {
    m_pfnSuper = it->second;
    passThrough.erase(it);
    return TRUE;
  }
  auto oldProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxGetAfxWndProc())));
  if (oldProc != AfxGetAfxWndProc()) m_pfnSuper = oldProc;
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd *pParent) {
  HWND hWndControl = ::GetDlgItem(pParent->GetSafeHwnd(), (int)nID);
  return hWndControl != nullptr && SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow() {
  return Detach();
}

// ---------------------------------------------------------------------------
// Creation and destruction

BOOL CWnd::PreCreateWindow(CREATESTRUCT &cs) {
  if (cs.lpszClass == nullptr)
    cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                       reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  return TRUE;
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT &rect,
                  CWnd *pParentWnd, UINT nID, CCreateContext *pContext) {
  return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top, pParentWnd->GetSafeHwnd(),
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    const RECT &rect, CWnd *pParentWnd, UINT nID, LPVOID lpParam) {
  return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top, pParentWnd->GetSafeHwnd(),
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x,
                    int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
  if (m_hWnd != nullptr) return FALSE;
  CREATESTRUCT cs = {};
  cs.dwExStyle = dwExStyle;
  cs.lpszClass = lpszClassName;
  cs.lpszName = lpszWindowName;
  cs.style = dwStyle;
  cs.x = x;
  cs.y = y;
  cs.cx = nWidth;
  cs.cy = nHeight;
  cs.hwndParent = hWndParent;
  cs.hMenu = nIDorHMenu;
  cs.hInstance = AfxGetInstanceHandle();
  cs.lpCreateParams = lpParam;
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateWindowEx(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                               cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
  // When the hook never fired no window message reached the object, so a
  // self-deleting object has to be told here.
  if (!AfxUnhookWindowCreate()) {
    PostNcDestroy();
    return FALSE;
  }
  return hWnd != nullptr;
}

BOOL CWnd::DestroyWindow() {
  HWND hWnd = m_hWnd;
  if (hWnd == nullptr) return FALSE;
  bool bPermanent = FromHandlePermanent(hWnd) == this;
  BOOL bResult = ::DestroyWindow(hWnd);
  // A bound object was let go (and maybe deleted) by WM_NCDESTROY; an object
  // that only wrapped the handle forgets it here.
  if (!bPermanent && bResult) m_hWnd = nullptr;
  return bResult;
}

void CWnd::OnNcDestroy() {
  if (CWinThread *pThread = AfxGetThread()) {
    if (pThread->m_pMainWnd == this) {
      pThread->m_pMainWnd = nullptr;
      // The main window of the program gone: end the message loop.
      if (pThread->m_bQuitOnMainWndDestroy) ::PostQuitMessage(0);
    }
    if (pThread->m_pActiveWnd == this) pThread->m_pActiveWnd = nullptr;
  }
  Default();
  Detach();
  PostNcDestroy();
}

// ---------------------------------------------------------------------------
// Message dispatch

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT lResult = 0;
  if (!OnWndMsg(message, wParam, lParam, &lResult)) lResult = DefWindowProc(message, wParam, lParam);
  return lResult;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper != nullptr) return ::CallWindowProc(m_pfnSuper, m_hWnd, message, wParam, lParam);
  return ::DefWindowProc(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  const MSG &msg = AfxGetThreadState()->lastSentMsg;
  return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

const MSG *CWnd::GetCurrentMessage() {
  return &AfxGetThreadState()->lastSentMsg;
}

namespace {

bool IsCtlColor(UINT message) {
  return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

// The control a reflectable message comes from, or null.
HWND ReflectSource(HWND hWndParent, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_DRAWITEM: {
    auto *pDIS = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
    return pDIS->CtlType == ODT_MENU ? nullptr : pDIS->hwndItem;
  }
  case WM_MEASUREITEM: {
    auto *pMIS = reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam);
    return pMIS->CtlType == ODT_MENU ? nullptr : ::GetDlgItem(hWndParent, (int)pMIS->CtlID);
  }
  case WM_COMPAREITEM:
    return reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam)->hwndItem;
  case WM_DELETEITEM:
    return reinterpret_cast<LPDELETEITEMSTRUCT>(lParam)->hwndItem;
  case WM_HSCROLL:
  case WM_VSCROLL:
  case WM_VKEYTOITEM:
  case WM_CHARTOITEM:
    return reinterpret_cast<HWND>(lParam);
  default:
    return IsCtlColor(message) ? reinterpret_cast<HWND>(lParam) : nullptr;
  }
  (void)wParam;
}

} // namespace

BOOL CWnd::ReflectOwnerDraw(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *pResult) {
  HWND hWndChild = ReflectSource(m_hWnd, message, wParam, lParam);
  if (hWndChild == nullptr || hWndChild == m_hWnd) return FALSE;
  CWnd *pChild = FromHandlePermanent(hWndChild);
  return pChild != nullptr && pChild->OnChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *pResult) {
  LRESULT lResult = 0;
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam)) return FALSE;
    *pResult = 1;
    return TRUE;
  }
  if (message == WM_NOTIFY) {
    auto *pNMHDR = reinterpret_cast<NMHDR *>(lParam);
    if (pNMHDR == nullptr || pNMHDR->hwndFrom == nullptr || !OnNotify(wParam, lParam, &lResult)) return FALSE;
    *pResult = lResult;
    return TRUE;
  }
  // Owner-draw, colour and scroll messages go to the control's own class first.
  if (ReflectOwnerDraw(message, wParam, lParam, &lResult)) {
    *pResult = lResult;
    return TRUE;
  }

  UINT nLookup = message;
  UINT nCtlColor = 0;
  if (IsCtlColor(message)) {
    nLookup = WM_CTLCOLOR;
    nCtlColor = message - WM_CTLCOLORMSGBOX;
  } else if (message >= WM_REFLECT_BASE + WM_CTLCOLORMSGBOX &&
             message <= WM_REFLECT_BASE + WM_CTLCOLORSTATIC) {
    nLookup = WM_REFLECT_BASE + WM_CTLCOLOR;
    nCtlColor = message - (WM_REFLECT_BASE + WM_CTLCOLORMSGBOX);
  }

  for (const AFX_MSGMAP *pMap = GetMessageMap(); pMap != nullptr;
       pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
    const AFX_MSGMAP_ENTRY *pEntry = nullptr;
    if (message >= 0xC000 && message <= 0xFFFF) {
      for (const AFX_MSGMAP_ENTRY *p = pMap->lpEntries; p->pfn != nullptr; ++p) {
        if (p->nMessage == AFX_REGISTERED_MESSAGE && p->pnRegistered != nullptr &&
            *p->pnRegistered == message) {
          pEntry = p;
          break;
        }
      }
    } else {
      pEntry = FindMessageEntry(pMap->lpEntries, nLookup, 0, 0);
    }
    if (pEntry == nullptr) continue;
    AFX_DISPATCH d;
    d.message = message;
    d.wParam = wParam;
    d.lParam = lParam;
    d.nCode = nCtlColor;
    if (!pEntry->pfn(this, d)) return FALSE;
    *pResult = d.result;
    return TRUE;
  }
  return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT nID = LOWORD(wParam);
  HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
  int nCode = HIWORD(wParam);
  if (hWndCtrl == nullptr) {
    // Menu (code 0) or accelerator (code 1): a command its update handler
    // disables must not run, even when the key still reaches us.
    if (nID == 0) return FALSE;
    if (!AfxIsCommandEnabled(this, nID)) return TRUE;
    nCode = CN_COMMAND;
  } else {
    LRESULT lResult = 0;
    CWnd *pChild = FromHandlePermanent(hWndCtrl);
    if (pChild != nullptr && pChild != this && pChild->OnChildNotify(WM_COMMAND, wParam, lParam, &lResult))
      return TRUE;
    if (nID == 0) return FALSE;
    // A click of a toolbar button or push button is a command too.
    if (nCode == BN_CLICKED && !AfxIsCommandEnabled(this, nID)) return TRUE;
  }
  return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT *pResult) {
  auto *pNMHDR = reinterpret_cast<NMHDR *>(lParam);
  HWND hWndCtrl = pNMHDR->hwndFrom;
  UINT nID = hWndCtrl != nullptr ? (UINT)::GetDlgCtrlID(hWndCtrl) : (UINT)pNMHDR->idFrom;
  int nCode = (int)pNMHDR->code;
  CWnd *pChild = FromHandlePermanent(hWndCtrl);
  if (pChild != nullptr && pChild != this &&
      pChild->OnChildNotify(WM_NOTIFY, (WPARAM)pNMHDR->idFrom, lParam, pResult))
    return TRUE;
  AFX_NOTIFY notify = {pResult, pNMHDR};
  return OnCmdMsg(nID, (int)MAKELONG(nCode, WM_NOTIFY), &notify, nullptr);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *pResult) {
  return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *pResult) {
  LRESULT lDummy = 0;
  if (pResult == nullptr) pResult = &lDummy;
  switch (message) {
  case WM_HSCROLL:
  case WM_VSCROLL:
  case WM_DRAWITEM:
  case WM_MEASUREITEM:
  case WM_DELETEITEM:
  case WM_VKEYTOITEM:
  case WM_CHARTOITEM:
  case WM_COMPAREITEM:
    return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
  case WM_COMMAND: {
    int nCode = HIWORD(wParam);
    if (CCmdTarget::OnCmdMsg(0, (int)MAKELONG(nCode, WM_REFLECT_BASE + WM_COMMAND), nullptr, nullptr)) {
      *pResult = 1;
      return TRUE;
    }
    return FALSE;
  }
  case WM_NOTIFY: {
    auto *pNMHDR = reinterpret_cast<NMHDR *>(lParam);
    AFX_NOTIFY notify = {pResult, pNMHDR};
    return CCmdTarget::OnCmdMsg(0, (int)MAKELONG((int)pNMHDR->code, WM_REFLECT_BASE + WM_NOTIFY), &notify,
                                nullptr);
  }
  default:
    if (IsCtlColor(message)) return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
    return FALSE;
  }
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT *pResult) {
  CWnd *pWnd = FromHandlePermanent(hWndChild);
  if (pWnd == nullptr) return FALSE;
  const MSG &msg = AfxGetThreadState()->lastSentMsg;
  return pWnd->OnChildNotify(msg.message, msg.wParam, msg.lParam, pResult);
}

BOOL CWnd::PreTranslateMessage(MSG *pMsg) {
  if ((m_nFlags & (WF_TOOLTIPS | WF_TRACKINGTOOLTIPS)) != 0) {
    if (AFX_TOOLTIP_FILTER pfnFilter = AfxGetThreadState()->pfnFilterToolTipMessage)
      pfnFilter(pMsg, this);
    else
      FilterToolTipMessage(pMsg);
  }
  return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG *pMsg) {
  for (HWND hWnd = pMsg->hwnd; hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
    CWnd *pWnd = FromHandlePermanent(hWnd);
    if (pWnd != nullptr && pWnd->PreTranslateMessage(pMsg)) return TRUE;
    if (hWnd == hWndStop) break;
  }
  return FALSE;
}

void CWnd::EndModalLoop(int nResult) {
  m_nModalResult = nResult;
  if (m_nFlags & WF_CONTINUEMODAL) {
    m_nFlags &= ~WF_CONTINUEMODAL;
    ::PostMessage(m_hWnd, WM_NULL, 0, 0); // wake the loop up
  }
}

int CWnd::RunModalLoop() {
  HWND hWndSelf = m_hWnd;
  m_nFlags |= WF_MODALLOOP | WF_CONTINUEMODAL;
  MSG msg;
  while (ContinueModal() && ::IsWindow(hWndSelf)) {
    if (!::PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      // Idle: windows queued for destruction go (a modal dialog may run for
      // long), the controls' states are refreshed, then wait for the next message.
      AfxDrainDeferredDestroys();
      if (!::IsWindow(hWndSelf)) break;
      ::SendMessage(hWndSelf, WM_KICKIDLE, MSGF_DIALOGBOX, 0);
      if (!ContinueModal()) break;
      ::WaitMessage();
      continue;
    }
    if (!AfxPumpMessage()) {
      ::PostQuitMessage(0);
      break;
    }
  }
  if (::IsWindow(hWndSelf)) m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
  return m_nModalResult;
}

// ---------------------------------------------------------------------------
// Wrappers

const CWnd CWnd::wndTop;
const CWnd CWnd::wndBottom;
const CWnd CWnd::wndTopMost;
const CWnd CWnd::wndNoTopMost;

BOOL CWnd::SetWindowPos(const CWnd *pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
  HWND hWndAfter = nullptr;
  if (pWndInsertAfter == &wndTop)
    hWndAfter = HWND_TOP;
  else if (pWndInsertAfter == &wndBottom)
    hWndAfter = HWND_BOTTOM;
  else if (pWndInsertAfter == &wndTopMost)
    hWndAfter = HWND_TOPMOST;
  else if (pWndInsertAfter == &wndNoTopMost)
    hWndAfter = HWND_NOTOPMOST;
  else
    hWndAfter = pWndInsertAfter->GetSafeHwnd();
  return ::SetWindowPos(m_hWnd, hWndAfter, x, y, cx, cy, nFlags);
}

void CWnd::ScreenToClient(LPRECT lpRect) const {
  ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(lpRect), 2);
}

void CWnd::ClientToScreen(LPRECT lpRect) const {
  ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(lpRect), 2);
}

void CWnd::MapWindowPoints(CWnd *pwndTo, LPRECT lpRect) const {
  ::MapWindowPoints(m_hWnd, pwndTo->GetSafeHwnd(), reinterpret_cast<LPPOINT>(lpRect), 2);
}

void CWnd::MapWindowPoints(CWnd *pwndTo, LPPOINT lpPoint, UINT nCount) const {
  ::MapWindowPoints(m_hWnd, pwndTo->GetSafeHwnd(), lpPoint, nCount);
}

int CWnd::GetDlgItemText(int nID, CString &rString) const {
  rString.Empty();
  HWND hWnd = ::GetDlgItem(m_hWnd, nID);
  if (hWnd == nullptr) return 0;
  CWnd::FromHandle(hWnd)->GetWindowText(rString);
  return rString.GetLength();
}

void CWnd::GetWindowText(CString &rString) const {
  int nLen = ::GetWindowTextLength(m_hWnd);
  std::vector<wchar_t> buffer((size_t)nLen + 1, L'\0');
  ::GetWindowText(m_hWnd, buffer.data(), nLen + 1);
  rString = buffer.data();
}

CWnd *CWnd::GetNextDlgTabItem(CWnd *pWndCtl, BOOL bPrevious) const {
  return FromHandle(::GetNextDlgTabItem(m_hWnd, pWndCtl->GetSafeHwnd(), bPrevious));
}

CWnd *CWnd::GetNextDlgGroupItem(CWnd *pWndCtl, BOOL bPrevious) const {
  return FromHandle(::GetNextDlgGroupItem(m_hWnd, pWndCtl->GetSafeHwnd(), bPrevious));
}

CWnd *CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const {
  return GetDescendantWindow(m_hWnd, nID, bOnlyPerm);
}

CWnd *CWnd::GetDescendantWindow(HWND hWnd, int nID, BOOL bOnlyPerm) {
  if (hWnd == nullptr) return nullptr;
  if (HWND hWndChild = ::GetDlgItem(hWnd, nID)) {
    if (::GetTopWindow(hWndChild) != nullptr) {
      if (CWnd *pWnd = GetDescendantWindow(hWndChild, nID, bOnlyPerm)) return pWnd;
    }
    CWnd *pWnd = bOnlyPerm ? FromHandlePermanent(hWndChild) : FromHandle(hWndChild);
    if (pWnd != nullptr) return pWnd;
  }
  for (HWND hWndChild = ::GetTopWindow(hWnd); hWndChild != nullptr;
       hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
    if (CWnd *pWnd = GetDescendantWindow(hWndChild, nID, bOnlyPerm)) return pWnd;
  }
  return nullptr;
}

CWnd *CWnd::GetOwner() const {
  if (m_hWndOwner != nullptr) return FromHandle(m_hWndOwner);
  return GetParent();
}

CFrameWnd *CWnd::GetParentFrame() const {
  if (m_hWnd == nullptr) return nullptr;
  for (HWND hWnd = ::GetParent(m_hWnd); hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
    CWnd *pWnd = FromHandlePermanent(hWnd);
    if (pWnd != nullptr && pWnd->IsFrameWnd()) return static_cast<CFrameWnd *>(pWnd);
  }
  return nullptr;
}

CWnd *CWnd::GetTopLevelParent() const {
  if (m_hWnd == nullptr) return nullptr;
  HWND hWnd = m_hWnd;
  while ((::GetWindowLongPtr(hWnd, GWL_STYLE) & WS_CHILD) && ::GetParent(hWnd) != nullptr)
    hWnd = ::GetParent(hWnd);
  return FromHandle(hWnd);
}

CWnd *CWnd::GetTopLevelOwner() const {
  if (m_hWnd == nullptr) return nullptr;
  HWND hWnd = m_hWnd;
  for (;;) {
    HWND hNext =
        (::GetWindowLongPtr(hWnd, GWL_STYLE) & WS_CHILD) ? ::GetParent(hWnd) : ::GetWindow(hWnd, GW_OWNER);
    if (hNext == nullptr) break;
    hWnd = hNext;
  }
  return FromHandle(hWnd);
}

CFrameWnd *CWnd::GetTopLevelFrame() const {
  if (m_hWnd == nullptr) return nullptr;
  CFrameWnd *pFrame =
      IsFrameWnd() ? const_cast<CFrameWnd *>(static_cast<const CFrameWnd *>(this)) : GetParentFrame();
  while (pFrame != nullptr) {
    CFrameWnd *pParent = pFrame->GetParentFrame();
    if (pParent == nullptr) break;
    pFrame = pParent;
  }
  return pFrame;
}

void CWnd::CenterWindow(CWnd *pAlternateOwner) {
  HWND hWndCenter = pAlternateOwner != nullptr ? pAlternateOwner->m_hWnd
                    : (GetStyle() & WS_CHILD)  ? ::GetParent(m_hWnd)
                                               : ::GetWindow(m_hWnd, GW_OWNER);
  RECT rcDlg, rcArea, rcCenter;
  ::GetWindowRect(m_hWnd, &rcDlg);
  MONITORINFO mi = {};
  mi.cbSize = sizeof(mi);
  ::GetMonitorInfo(::MonitorFromWindow(hWndCenter ? hWndCenter : m_hWnd, MONITOR_DEFAULTTONEAREST), &mi);
  rcArea = mi.rcWork;
  if (GetStyle() & WS_CHILD) {
    ::GetClientRect(::GetParent(m_hWnd), &rcArea);
    rcCenter = rcArea;
    hWndCenter = ::GetParent(m_hWnd);
    if (pAlternateOwner != nullptr) {
      ::GetWindowRect(pAlternateOwner->m_hWnd, &rcCenter);
      ::MapWindowPoints(nullptr, hWndCenter, reinterpret_cast<LPPOINT>(&rcCenter), 2);
    }
  } else if (hWndCenter != nullptr && ::IsWindowVisible(hWndCenter) && !::IsIconic(hWndCenter)) {
    ::GetWindowRect(hWndCenter, &rcCenter);
  } else {
    rcCenter = rcArea;
  }
  int w = rcDlg.right - rcDlg.left, h = rcDlg.bottom - rcDlg.top;
  int x = (rcCenter.left + rcCenter.right) / 2 - w / 2;
  int y = (rcCenter.top + rcCenter.bottom) / 2 - h / 2;
  // Keep the window inside the work area.
  if (x + w > rcArea.right) x = rcArea.right - w;
  if (x < rcArea.left) x = rcArea.left;
  if (y + h > rcArea.bottom) y = rcArea.bottom - h;
  if (y < rcArea.top) y = rcArea.top;
  ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CWnd::ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  DWORD dwStyle = (DWORD)::GetWindowLongPtr(hWnd, GWL_STYLE);
  DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
  if (dwStyle == dwNewStyle) return FALSE;
  ::SetWindowLongPtr(hWnd, GWL_STYLE, (LONG_PTR)dwNewStyle);
  if (nFlags != 0)
    ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
  return TRUE;
}

BOOL CWnd::ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  DWORD dwStyle = (DWORD)::GetWindowLongPtr(hWnd, GWL_EXSTYLE);
  DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
  if (dwStyle == dwNewStyle) return FALSE;
  ::SetWindowLongPtr(hWnd, GWL_EXSTYLE, (LONG_PTR)dwNewStyle);
  if (nFlags != 0)
    ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
  return TRUE;
}

void CWnd::SetFont(CFont *pFont, BOOL bRedraw) {
  SendMessage(WM_SETFONT, (WPARAM)(pFont ? (HFONT)pFont->GetSafeHandle() : nullptr), bRedraw);
}

CFont *CWnd::GetFont() const {
  HFONT hFont = (HFONT)SendMessage(WM_GETFONT);
  return hFont == nullptr ? nullptr : CFont::FromHandle(hFont);
}

int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType) {
  if (lpszCaption == nullptr) {
    if (CWinThread *pThread = AfxGetThread()) lpszCaption = pThread->GetMessageBoxCaption();
  }
  return ::MessageBox(m_hWnd, lpszText, lpszCaption, nType);
}

CMenu *CWnd::GetMenu() const {
  HMENU hMenu = ::GetMenu(m_hWnd);
  return hMenu == nullptr ? nullptr : CMenu::FromHandle(hMenu);
}

BOOL CWnd::SetMenu(CMenu *pMenu) {
  return ::SetMenu(m_hWnd, pMenu ? pMenu->GetSafeHmenu() : nullptr);
}

CMenu *CWnd::GetSystemMenu(BOOL bRevert) const {
  HMENU hMenu = ::GetSystemMenu(m_hWnd, bRevert);
  return hMenu == nullptr ? nullptr : CMenu::FromHandle(hMenu);
}

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask) const {
  lpScrollInfo->cbSize = sizeof(*lpScrollInfo);
  lpScrollInfo->fMask = nMask;
  return ::GetScrollInfo(m_hWnd, nBar, lpScrollInfo);
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm) {
  SendToDescendants(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
}

namespace {

struct DescendantMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  BOOL bOnlyPerm;
};

BOOL CALLBACK SendToDescendant(HWND hWnd, LPARAM lParam) {
  const auto &send = *reinterpret_cast<const DescendantMessage *>(lParam);
  if (!send.bOnlyPerm)
    ::SendMessage(hWnd, send.message, send.wParam, send.lParam);
  else if (CWnd *pWnd = CWnd::FromHandlePermanent(hWnd))
    AfxCallWndProc(pWnd, hWnd, send.message, send.wParam, send.lParam);
  return TRUE;
}

} // namespace

void CWnd::SendToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                             BOOL bOnlyPerm) {
  if (bDeep) {
    // The system lists the windows below each window at once, parents before
    // their children: stepping from window to window instead costs a round
    // trip to the window server under Wine for every step, and the idle
    // update walks all of the frame's windows each time.
    DescendantMessage send = {message, wParam, lParam, bOnlyPerm};
    ::EnumChildWindows(hWnd, SendToDescendant, reinterpret_cast<LPARAM>(&send));
    return;
  }
  for (HWND hWndChild = ::GetTopWindow(hWnd); hWndChild != nullptr;
       hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
    if (bOnlyPerm) {
      if (CWnd *pWnd = FromHandlePermanent(hWndChild))
        AfxCallWndProc(pWnd, hWndChild, message, wParam, lParam);
    } else {
      ::SendMessage(hWndChild, message, wParam, lParam);
    }
  }
}

// ---------------------------------------------------------------------------
// Layout of bars

void AfxRepositionWindow(AFX_SIZEPARENTPARAMS *lpLayout, HWND hWnd, LPCRECT lpRect) {
  if (lpLayout != nullptr && lpLayout->hDWP == nullptr) return; // measuring only
  HWND hWndParent = ::GetParent(hWnd);
  RECT rcOld;
  ::GetWindowRect(hWnd, &rcOld);
  ::MapWindowPoints(nullptr, hWndParent, reinterpret_cast<LPPOINT>(&rcOld), 2);
  if (::EqualRect(&rcOld, lpRect)) return;
  int w = lpRect->right - lpRect->left, h = lpRect->bottom - lpRect->top;
  if (lpLayout != nullptr)
    lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, hWnd, nullptr, lpRect->left, lpRect->top, w, h,
                                      SWP_NOACTIVATE | SWP_NOZORDER);
  else
    ::SetWindowPos(hWnd, nullptr, lpRect->left, lpRect->top, w, h, SWP_NOACTIVATE | SWP_NOZORDER);
}

namespace {

// Plain common-control bars do not answer WM_SIZEPARENT: a status window
// docks at the bottom, a toolbar or rebar at the top, at their own height.
void DockPlainBar(HWND hWndBar, AFX_SIZEPARENTPARAMS &layout) {
  wchar_t szClass[64] = {};
  ::GetClassName(hWndBar, szClass, 64);
  bool bBottom = _wcsicmp(szClass, STATUSCLASSNAMEW) == 0;
  bool bTop = _wcsicmp(szClass, TOOLBARCLASSNAMEW) == 0 || _wcsicmp(szClass, REBARCLASSNAMEW) == 0;
  if (!bBottom && !bTop) return;
  RECT rcBar;
  ::GetWindowRect(hWndBar, &rcBar);
  int h = rcBar.bottom - rcBar.top;
  RECT rcNew = layout.rect;
  if (bBottom) {
    rcNew.top = rcNew.bottom - h;
    layout.rect.bottom -= h;
  } else {
    rcNew.bottom = rcNew.top + h;
    layout.rect.top += h;
  }
  AfxRepositionWindow(&layout, hWndBar, &rcNew);
}

} // namespace

void CWnd::RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag, LPRECT lpRectParam,
                          LPCRECT lpRectClient, BOOL bStretch) {
  AFX_SIZEPARENTPARAMS layout = {};
  layout.bStretch = bStretch;
  if (lpRectClient != nullptr)
    layout.rect = *lpRectClient;
  else
    ::GetClientRect(m_hWnd, &layout.rect);
  layout.hDWP = nFlag == reposQuery ? nullptr : ::BeginDeferWindowPos(8);

  HWND hWndLeftOver = nullptr;
  for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild != nullptr;
       hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
    UINT nIDC = (UINT)::GetDlgCtrlID(hWndChild);
    if (nIDC == nIDLeftOver) {
      hWndLeftOver = hWndChild;
    } else if (nIDC >= nIDFirst && nIDC <= nIDLast) {
      RECT rcBefore = layout.rect;
      ::SendMessage(hWndChild, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
      if (::EqualRect(&rcBefore, &layout.rect) && ::IsWindowVisible(hWndChild))
        DockPlainBar(hWndChild, layout);
    }
  }

  if (nFlag == reposQuery) {
    if (lpRectParam != nullptr) *lpRectParam = layout.rect;
    return;
  }
  if (nFlag == reposExtra && lpRectParam != nullptr) {
    layout.rect.left += lpRectParam->left;
    layout.rect.top += lpRectParam->top;
    layout.rect.right -= lpRectParam->right;
    layout.rect.bottom -= lpRectParam->bottom;
  }
  if (hWndLeftOver != nullptr) AfxRepositionWindow(&layout, hWndLeftOver, &layout.rect);
  if (layout.hDWP != nullptr) ::EndDeferWindowPos(layout.hDWP);
}

void CWnd::UpdateDialogControls(CCmdTarget *pTarget, BOOL bDisableIfNoHndler) {
  CCmdUI state;
  CWnd wndTemp;
  for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild != nullptr;
       hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
    state.m_nID = (UINT)::GetDlgCtrlID(hWndChild);
    CWnd *pChild = FromHandlePermanent(hWndChild);
    if (pChild == nullptr) {
      wndTemp.m_hWnd = hWndChild;
      pChild = &wndTemp;
    }
    state.m_pOther = pChild;
    // Only push buttons stand for a command: without a handler they are
    // disabled when asked. Auto check boxes and radio buttons change
    // themselves, and other controls (an edit, a list, a tree) have no
    // command of their own.
    BOOL bCommandButton = FALSE;
    if (::SendMessage(hWndChild, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON) {
      UINT nStyle = (UINT)(::GetWindowLongPtr(hWndChild, GWL_STYLE) & 0x0F);
      bCommandButton = !(nStyle == BS_AUTOCHECKBOX || nStyle == BS_AUTO3STATE || nStyle == BS_GROUPBOX ||
                         nStyle == BS_AUTORADIOBUTTON);
    }
    state.DoUpdate(pTarget, bDisableIfNoHndler && bCommandButton);
    wndTemp.m_hWnd = nullptr;
  }
}
