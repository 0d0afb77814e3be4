// CWnd: a C++ object bound to one window handle.
//
// The object is bound to its HWND while the window is being created (a CBT
// hook attaches it before WM_NCCREATE), kept in a per-thread handle map, and
// let go when WM_NCDESTROY arrives; PostNcDestroy then lets objects that own
// themselves delete themselves. Every message goes through WindowProc and the
// class's message map; what no handler takes goes to the window class's own
// procedure (DefWindowProc).
#pragma once

#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>

#include <exception>

#include "CmdTarget.h"
#include "CString.h"
#include "Exception.h"
#include "Geometry.h"
#include "AfxRes.h"

// These are members of CWnd here, not the system's macros (windowsx.h is
// included above so that its guard keeps it from defining them again).
#undef GetNextWindow
#undef SubclassWindow
#ifndef GET_X_LPARAM
#define GET_X_LPARAM(lp) ((int)(short)LOWORD(lp))
#define GET_Y_LPARAM(lp) ((int)(short)HIWORD(lp))
#endif

class CFont;
class CMenu;
class CFrameWnd;
class CWinThread;
struct CCreateContext;

// Framework-private messages.
#define WM_SIZEPARENT 0x0361       // lParam: AFX_SIZEPARENTPARAMS*; a bar takes its strip
#define WM_SETMESSAGESTRING 0x0362 // wParam: string id, or lParam: text; status bar prompt
#define WM_IDLEUPDATECMDUI 0x0363  // wParam: disable commands without a handler
#define WM_FLOATSTATUS 0x036D      // wParam: FS_ flags; sent by a frame to the popups it owns
#define WM_POPMESSAGESTRING 0x0375 // as WM_SETMESSAGESTRING: puts a saved prompt back
#define WM_CHILDFRAMEICON 0x0483   // asks a child frame for its icon; every other window answers 0

// WM_FLOATSTATUS flags. FS_SYNCACTIVE asks a popup whether its activation
// should keep its owner's caption active (nonzero: yes).
#define FS_SHOW 0x01
#define FS_HIDE 0x02
#define FS_ACTIVATE 0x04
#define FS_DEACTIVATE 0x08
#define FS_ENABLE 0x10
#define FS_DISABLE 0x20
#define FS_SYNCACTIVE 0x40
#define WM_INITIALUPDATE 0x0364 // sent to views by the frame once everything exists
#define WM_COMMANDHELP 0x0365
#define WM_RECALCPARENT 0x0368
#define WM_KICKIDLE 0x036A
#define WM_QUERYCENTERWND 0x036B

// CWnd::m_nFlags
#define WF_TOOLTIPS 0x0001
#define WF_TEMPHIDE 0x0002
#define WF_STAYDISABLED 0x0004
#define WF_MODALLOOP 0x0008
#define WF_CONTINUEMODAL 0x0010
#define WF_OLECTLCONTAINER 0x0100
#define WF_TRACKINGTOOLTIPS 0x0400

// Flags of RepositionBars.
#define reposDefault 0
#define reposQuery 1
#define reposExtra 2

// The layout block that WM_SIZEPARENT carries: every bar takes its strip out
// of rect and moves itself through hDWP (null when only measuring).
struct AFX_SIZEPARENTPARAMS {
  HDWP hDWP;
  RECT rect;
  SIZE sizeTotal;
  BOOL bStretch;
};
void AfxRepositionWindow(AFX_SIZEPARENTPARAMS *lpLayout, HWND hWnd, LPCRECT lpRect);

// Registers (once) a window class with these attributes and returns its name.
LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                            HICON hIcon = nullptr);
// The window procedure of every framework window.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
WNDPROC AfxGetAfxWndProc();

HWND AfxGetSafeHwnd(const CWnd *pWnd);
LRESULT AfxCallWndProc(CWnd *pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// Traces an exception a handler let out (and frees a framework exception).
void AfxTraceHandlerException(UINT message, CException *pException, const char *pszWhat);

// Runs code that the system called into (a window or dialog procedure). A C++
// exception must not unwind through user32's frames: on 64-bit Windows it does
// not get through them and the program ends. So every exception stops here,
// is traced, and onException() gives the message's result.
template <class TBody, class TFallback>
auto AfxCallGuarded(UINT message, TBody &&body, TFallback &&onException) -> decltype(body()) {
  try {
    return body();
  } catch (CException *e) {
    AfxTraceHandlerException(message, e, nullptr);
  } catch (const std::exception &e) {
    AfxTraceHandlerException(message, nullptr, e.what());
  } catch (...) {
    AfxTraceHandlerException(message, nullptr, nullptr);
  }
  return onException();
}

class CWnd : public CCmdTarget {
  DECLARE_DYNCREATE(CWnd)
public:
  CWnd() = default;
  explicit CWnd(HWND hWnd) { Attach(hWnd); }
  ~CWnd() override;

  HWND m_hWnd = nullptr;
  UINT m_nFlags = 0;
  HWND m_hWndOwner = nullptr; // set by SetOwner; otherwise the parent is the owner

  // Placement markers for SetWindowPos.
  static const CWnd wndTop;
  static const CWnd wndBottom;
  static const CWnd wndTopMost;
  static const CWnd wndNoTopMost;

  operator HWND() const { return m_hWnd; }
  HWND GetSafeHwnd() const;
  bool operator==(const CWnd &wnd) const { return wnd.m_hWnd == m_hWnd; }
  bool operator!=(const CWnd &wnd) const { return wnd.m_hWnd != m_hWnd; }

  // --- creation and binding ---
  virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT &rect,
                      CWnd *pParentWnd, UINT nID, CCreateContext *pContext = nullptr);
  BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = nullptr);
  BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                const RECT &rect, CWnd *pParentWnd, UINT nID, LPVOID lpParam = nullptr);
  virtual BOOL DestroyWindow();

  BOOL Attach(HWND hWndNew);
  HWND Detach();
  static CWnd *FromHandle(HWND hWnd);
  static CWnd *FromHandlePermanent(HWND hWnd);
  static void DeleteTempMap();
  BOOL SubclassWindow(HWND hWnd);
  BOOL SubclassDlgItem(UINT nID, CWnd *pParent);
  HWND UnsubclassWindow();

  // --- message handling ---
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *pResult);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT *pResult);
  virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *pResult);
  BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *pResult);
  static BOOL ReflectLastMsg(HWND hWndChild, LRESULT *pResult = nullptr);
  virtual BOOL PreTranslateMessage(MSG *pMsg);
  static BOOL WalkPreTranslateTree(HWND hWndStop, MSG *pMsg);
  virtual BOOL PreCreateWindow(CREATESTRUCT &cs);
  virtual void PreSubclassWindow() {}
  virtual void PostNcDestroy() {}
  virtual BOOL ContinueModal() { return (m_nFlags & WF_CONTINUEMODAL) != 0; }
  virtual void EndModalLoop(int nResult);
  int RunModalLoop();
  LRESULT Default();
  static const MSG *GetCurrentMessage();

  // --- wrappers of the window functions ---
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessage(m_hWnd, message, wParam, lParam);
  }
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::PostMessage(m_hWnd, message, wParam, lParam);
  }
  void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE,
                                BOOL bOnlyPerm = FALSE);
  BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
  void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE) {
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
  }
  void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE) {
    MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
               bRepaint);
  }
  BOOL SetWindowPos(const CWnd *pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
  void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
  void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
  void ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
  void ScreenToClient(LPRECT lpRect) const;
  void ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
  void ClientToScreen(LPRECT lpRect) const;
  void MapWindowPoints(CWnd *pwndTo, LPRECT lpRect) const;
  void MapWindowPoints(CWnd *pwndTo, LPPOINT lpPoint, UINT nCount) const;
  void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
  void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
  void ValidateRect(LPCRECT lpRect) { ::ValidateRect(m_hWnd, lpRect); }
  void UpdateWindow() { ::UpdateWindow(m_hWnd); }
  BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, HRGN hrgnUpdate = nullptr,
                    UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE) {
    return ::RedrawWindow(m_hWnd, lpRectUpdate, hrgnUpdate, flags);
  }
  void SetRedraw(BOOL bRedraw = TRUE) { SendMessage(WM_SETREDRAW, bRedraw, 0); }

  CWnd *GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
  int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
  int SetDlgCtrlID(int nID) { return (int)::SetWindowLongPtr(m_hWnd, GWLP_ID, nID); }
  UINT GetDlgItemInt(int nID, BOOL *lpTrans = nullptr, BOOL bSigned = TRUE) const {
    return ::GetDlgItemInt(m_hWnd, nID, lpTrans, bSigned);
  }
  void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE) {
    ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned);
  }
  void SetDlgItemText(int nID, LPCTSTR lpszString) { ::SetDlgItemText(m_hWnd, nID, lpszString); }
  int GetDlgItemText(int nID, CString &rString) const;
  void CheckDlgButton(int nIDButton, UINT nCheck) { ::CheckDlgButton(m_hWnd, nIDButton, nCheck); }
  UINT IsDlgButtonChecked(int nIDButton) const { return ::IsDlgButtonChecked(m_hWnd, nIDButton); }
  void CheckRadioButton(int nIDFirst, int nIDLast, int nIDCheck) {
    ::CheckRadioButton(m_hWnd, nIDFirst, nIDLast, nIDCheck);
  }
  LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendDlgItemMessage(m_hWnd, nID, message, wParam, lParam);
  }
  CWnd *GetNextDlgTabItem(CWnd *pWndCtl, BOOL bPrevious = FALSE) const;
  CWnd *GetNextDlgGroupItem(CWnd *pWndCtl, BOOL bPrevious = FALSE) const;

  CWnd *GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
  CWnd *SetParent(CWnd *pWndNewParent) {
    return FromHandle(::SetParent(m_hWnd, pWndNewParent->GetSafeHwnd()));
  }
  CWnd *GetOwner() const;
  void SetOwner(CWnd *pOwnerWnd) { m_hWndOwner = pOwnerWnd->GetSafeHwnd(); }
  virtual BOOL IsFrameWnd() const { return FALSE; }
  CFrameWnd *GetParentFrame() const;
  CWnd *GetTopLevelParent() const;
  CWnd *GetTopLevelOwner() const;
  CFrameWnd *GetTopLevelFrame() const;
  // The child (at any depth) with this id; a child with the same id as its
  // parent wins over the parent (a splitter's first pane over the splitter).
  CWnd *GetDescendantWindow(int nID, BOOL bOnlyPerm = FALSE) const;
  static CWnd *GetDescendantWindow(HWND hWnd, int nID, BOOL bOnlyPerm);
  CWnd *GetWindow(UINT nCmd) const { return FromHandle(::GetWindow(m_hWnd, nCmd)); }
  CWnd *GetTopWindow() const { return FromHandle(::GetTopWindow(m_hWnd)); }
  CWnd *GetNextWindow(UINT nFlag = GW_HWNDNEXT) const { return FromHandle(::GetWindow(m_hWnd, nFlag)); }
  CWnd *GetLastActivePopup() const { return FromHandle(::GetLastActivePopup(m_hWnd)); }
  BOOL IsChild(const CWnd *pWnd) const { return ::IsChild(m_hWnd, pWnd->GetSafeHwnd()); }
  BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
  BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
  BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
  BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
  BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
  static CWnd *WindowFromPoint(POINT point) { return FromHandle(::WindowFromPoint(point)); }
  CWnd *ChildWindowFromPoint(POINT point) const { return FromHandle(::ChildWindowFromPoint(m_hWnd, point)); }
  static CWnd *GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }
  static CWnd *GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
  static CWnd *GetForegroundWindow() { return FromHandle(::GetForegroundWindow()); }
  static CWnd *FindWindow(LPCTSTR lpszClassName, LPCTSTR lpszWindowName) {
    return FromHandle(::FindWindow(lpszClassName, lpszWindowName));
  }
  CWnd *SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }

  CWnd *SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
  static CWnd *GetFocus() { return FromHandle(::GetFocus()); }
  CWnd *SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
  static CWnd *GetCapture() { return FromHandle(::GetCapture()); }
  static BOOL ReleaseCapture() { return ::ReleaseCapture(); }
  void BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
  BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
  void CenterWindow(CWnd *pAlternateOwner = nullptr);

  void SetWindowText(LPCTSTR lpszString) { ::SetWindowText(m_hWnd, lpszString); }
  int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const {
    return ::GetWindowText(m_hWnd, lpszStringBuf, nMaxCount);
  }
  void GetWindowText(CString &rString) const;
  int GetWindowTextLength() const { return ::GetWindowTextLength(m_hWnd); }

  DWORD GetStyle() const { return (DWORD)::GetWindowLongPtr(m_hWnd, GWL_STYLE); }
  DWORD GetExStyle() const { return (DWORD)::GetWindowLongPtr(m_hWnd, GWL_EXSTYLE); }
  BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0) {
    return ModifyStyle(m_hWnd, dwRemove, dwAdd, nFlags);
  }
  BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0) {
    return ModifyStyleEx(m_hWnd, dwRemove, dwAdd, nFlags);
  }
  static BOOL ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
  static BOOL ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);

  void SetFont(HFONT hFont, BOOL bRedraw = TRUE) { SendMessage(WM_SETFONT, (WPARAM)hFont, bRedraw); }
  void SetFont(CFont *pFont, BOOL bRedraw = TRUE);
  CFont *GetFont() const;
  HFONT GetFontHandle() const { return (HFONT)SendMessage(WM_GETFONT); }
  HICON SetIcon(HICON hIcon, BOOL bBigIcon) {
    return (HICON)SendMessage(WM_SETICON, bBigIcon, (LPARAM)hIcon);
  }
  HICON GetIcon(BOOL bBigIcon) const { return (HICON)SendMessage(WM_GETICON, bBigIcon); }

  UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr) {
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
  }
  BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }

  int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = nullptr, UINT nType = MB_OK);

  CMenu *GetMenu() const;
  BOOL SetMenu(CMenu *pMenu);
  BOOL SetMenu(HMENU hMenu) { return ::SetMenu(m_hWnd, hMenu); }
  HMENU GetMenuHandle() const { return ::GetMenu(m_hWnd); }
  CMenu *GetSystemMenu(BOOL bRevert) const;
  void DrawMenuBar() { ::DrawMenuBar(m_hWnd); }

  int GetScrollPos(int nBar) const { return ::GetScrollPos(m_hWnd, nBar); }
  int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE) {
    return ::SetScrollPos(m_hWnd, nBar, nPos, bRedraw);
  }
  BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE) {
    return ::SetScrollInfo(m_hWnd, nBar, lpScrollInfo, bRedraw);
  }
  BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL) const;
  void ShowScrollBar(UINT nBar, BOOL bShow = TRUE) { ::ShowScrollBar(m_hWnd, nBar, bShow); }

  HDC GetDCHandle() { return ::GetDC(m_hWnd); }
  int ReleaseDC(HDC hDC) { return ::ReleaseDC(m_hWnd, hDC); }
  // Tooltips: a window that enables them has the thread's tooltip filter
  // look at the messages that pre-translation gives it; the filter asks
  // OnToolHitTest for the tool under the cursor.
  BOOL EnableToolTips(BOOL bEnable = TRUE);
  BOOL EnableTrackingToolTips(BOOL bEnable = TRUE);
  // The tool at a client point: fills pTI (its cbSize set by the caller) and
  // returns the tool's id, or -1 for none. The default offers the visible
  // child under the point, its text asked for through TTN_GETDISPINFO.
  virtual INT_PTR OnToolHitTest(CPoint point, TTTOOLINFOW *pTI) const;
  // The framework's own filter, run for this window (which enabled tooltips).
  void FilterToolTipMessage(MSG *pMsg);
  // Hides the thread's tips until the tool under the cursor changes; bKeys
  // tells that a key rather than a click caused it.
  static void CancelToolTips(BOOL bKeys = FALSE);

  // Lays out the child bars with ids nIDFirst..nIDLast through WM_SIZEPARENT and
  // gives what is left to the child nIDLeftOver.
  void RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag = reposDefault,
                      LPRECT lpRectParam = nullptr, LPCRECT lpRectClient = nullptr, BOOL bStretch = TRUE);
  // Runs the update-command-UI pass over this window's child controls.
  void UpdateDialogControls(CCmdTarget *pTarget, BOOL bDisableIfNoHndler);

  // --- default message handlers (the classic signatures) ---
  afx_msg int OnCreate(LPCREATESTRUCT) { return (int)Default(); }
  afx_msg void OnDestroy() { Default(); }
  afx_msg void OnNcDestroy();
  afx_msg void OnSize(UINT, int, int) { Default(); }
  afx_msg void OnSizing(UINT, LPRECT) { Default(); }
  afx_msg void OnMove(int, int) { Default(); }
  afx_msg void OnPaint() { Default(); }
  afx_msg void OnNcPaint() { Default(); }
  afx_msg BOOL OnEraseBkgnd(CDC *) { return (BOOL)Default(); }
  afx_msg void OnClose() { Default(); }
  afx_msg void OnTimer(UINT_PTR) { Default(); }
  afx_msg void OnSetFocus(CWnd *) { Default(); }
  afx_msg void OnKillFocus(CWnd *) { Default(); }
  afx_msg void OnLButtonDown(UINT, CPoint) { Default(); }
  afx_msg void OnLButtonUp(UINT, CPoint) { Default(); }
  afx_msg void OnLButtonDblClk(UINT, CPoint) { Default(); }
  afx_msg void OnRButtonDown(UINT, CPoint) { Default(); }
  afx_msg void OnRButtonUp(UINT, CPoint) { Default(); }
  afx_msg void OnRButtonDblClk(UINT, CPoint) { Default(); }
  afx_msg void OnMButtonDown(UINT, CPoint) { Default(); }
  afx_msg void OnMButtonUp(UINT, CPoint) { Default(); }
  afx_msg void OnMouseMove(UINT, CPoint) { Default(); }
  afx_msg BOOL OnMouseWheel(UINT, short, CPoint) { return (BOOL)Default(); }
  afx_msg void OnMouseLeave() { Default(); }
  afx_msg void OnMouseHover(UINT, CPoint) { Default(); }
  afx_msg int OnMouseActivate(CWnd *, UINT, UINT) { return (int)Default(); }
  afx_msg void OnNcLButtonDown(UINT, CPoint) { Default(); }
  afx_msg void OnNcLButtonUp(UINT, CPoint) { Default(); }
  afx_msg void OnNcLButtonDblClk(UINT, CPoint) { Default(); }
  afx_msg void OnNcRButtonDown(UINT, CPoint) { Default(); }
  afx_msg void OnNcRButtonUp(UINT, CPoint) { Default(); }
  afx_msg void OnNcMouseMove(UINT, CPoint) { Default(); }
  afx_msg LRESULT OnNcHitTest(CPoint) { return Default(); }
  afx_msg void OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS *) { Default(); }
  afx_msg BOOL OnNcActivate(BOOL) { return (BOOL)Default(); }
  afx_msg BOOL OnNcCreate(LPCREATESTRUCT) { return (BOOL)Default(); }
  afx_msg void OnKeyDown(UINT, UINT, UINT) { Default(); }
  afx_msg void OnKeyUp(UINT, UINT, UINT) { Default(); }
  afx_msg void OnChar(UINT, UINT, UINT) { Default(); }
  afx_msg void OnSysKeyDown(UINT, UINT, UINT) { Default(); }
  afx_msg void OnSysKeyUp(UINT, UINT, UINT) { Default(); }
  afx_msg void OnSysChar(UINT, UINT, UINT) { Default(); }
  afx_msg UINT OnGetDlgCode() { return (UINT)Default(); }
  afx_msg void OnContextMenu(CWnd *, CPoint) { Default(); }
  afx_msg BOOL OnSetCursor(CWnd *, UINT, UINT) { return (BOOL)Default(); }
  afx_msg void OnGetMinMaxInfo(MINMAXINFO *) { Default(); }
  afx_msg void OnSysCommand(UINT, LPARAM) { Default(); }
  afx_msg HBRUSH OnCtlColor(CDC *, CWnd *, UINT) { return (HBRUSH)Default(); }
  afx_msg void OnDrawItem(int, LPDRAWITEMSTRUCT) { Default(); }
  afx_msg void OnMeasureItem(int, LPMEASUREITEMSTRUCT) { Default(); }
  afx_msg int OnCompareItem(int, LPCOMPAREITEMSTRUCT) { return (int)Default(); }
  afx_msg void OnDeleteItem(int, LPDELETEITEMSTRUCT) { Default(); }
  afx_msg void OnHScroll(UINT, UINT, CScrollBar *) { Default(); }
  afx_msg void OnVScroll(UINT, UINT, CScrollBar *) { Default(); }
  afx_msg void OnShowWindow(BOOL, UINT) { Default(); }
  afx_msg void OnActivate(UINT, CWnd *, BOOL) { Default(); }
  afx_msg void OnActivateApp(BOOL, DWORD) { Default(); }
  afx_msg void OnEnable(BOOL) { Default(); }
  afx_msg void OnSettingChange(UINT, LPCTSTR) { Default(); }
  afx_msg void OnSysColorChange() { Default(); }
  afx_msg BOOL OnQueryEndSession() { return (BOOL)Default(); }
  afx_msg void OnEndSession(BOOL) { Default(); }
  afx_msg void OnWindowPosChanging(WINDOWPOS *) { Default(); }
  afx_msg void OnWindowPosChanged(WINDOWPOS *) { Default(); }
  afx_msg void OnInitMenu(CMenu *) { Default(); }
  afx_msg void OnInitMenuPopup(CMenu *, UINT, BOOL) { Default(); }
  afx_msg void OnMenuSelect(UINT, UINT, HMENU) { Default(); }
  afx_msg void OnEnterMenuLoop(BOOL) { Default(); }
  afx_msg void OnExitMenuLoop(BOOL) { Default(); }
  afx_msg void OnCaptureChanged(CWnd *) { Default(); }
  afx_msg void OnCancelMode() { Default(); }
  afx_msg void OnParentNotify(UINT, LPARAM) { Default(); }
  afx_msg void OnStyleChanged(int, LPSTYLESTRUCT) { Default(); }
  afx_msg void OnStyleChanging(int, LPSTYLESTRUCT) { Default(); }
  afx_msg void OnDropFiles(HDROP) { Default(); }

protected:
  WNDPROC m_pfnSuper = nullptr; // the window class's own procedure, for DefWindowProc
  int m_nModalResult = -1;

  friend LRESULT CALLBACK AfxCbtFilterHook(int, WPARAM, LPARAM);
  friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
  friend LRESULT AfxCallWndProc(CWnd *, HWND, UINT, WPARAM, LPARAM);

  static void SendToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                                BOOL bOnlyPerm);
  BOOL ReflectOwnerDraw(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *pResult);
  static void AttachForCreate(CWnd *pWnd, HWND hWnd);

  DECLARE_MESSAGE_MAP()
};

// Scroll bars: the window that scroll messages name.
class CScrollBar : public CWnd {
  DECLARE_DYNAMIC(CScrollBar)
public:
  BOOL Create(DWORD dwStyle, const RECT &rect, CWnd *pParentWnd, UINT nID) {
    return CWnd::Create(L"SCROLLBAR", nullptr, dwStyle, rect, pParentWnd, nID);
  }
  int GetScrollPos() const { return ::GetScrollPos(m_hWnd, SB_CTL); }
  int SetScrollPos(int nPos, BOOL bRedraw = TRUE) { return ::SetScrollPos(m_hWnd, SB_CTL, nPos, bRedraw); }
  void SetScrollRange(int nMin, int nMax, BOOL bRedraw = TRUE) {
    ::SetScrollRange(m_hWnd, SB_CTL, nMin, nMax, bRedraw);
  }
};

// Window creation hook: the object given here is bound to the next window the
// thread creates. Returns FALSE from Unhook when the hook never fired.
void AfxHookWindowCreate(CWnd *pWnd);
BOOL AfxUnhookWindowCreate();

#include "WndMessages.h"
