// The tooltip common control.
//
// Tool records are given to the control with the record sizes it knows
// (TTTOOLINFOW_V1_SIZE without lParam, TTTOOLINFOW_V2_SIZE with it): a size
// taken from a 32-bit build is smaller than the 64-bit record, and the
// control then misreads the record or refuses it.
#pragma once

#include "ThreadState.h"
#include "Wnd.h"

// Bits of TOOLINFO::uFlags that only the framework's hit tests use; they are
// cleared before a record reaches the control.
#ifndef TTF_NOTBUTTON
#define TTF_NOTBUTTON 0x80000000u // the tool is not a button: no click cancels it
#endif
#ifndef TTF_ALWAYSTIP
#define TTF_ALWAYSTIP 0x40000000u // tip even when the owner is not active
#endif

class CToolTipCtrl : public CWnd {
  DECLARE_DYNAMIC(CToolTipCtrl)
public:
  CToolTipCtrl() = default;

  // A popup owned by pParentWnd (its top-level window normally).
  BOOL Create(CWnd *pParentWnd, DWORD dwStyle = 0);

  void Activate(BOOL bActivate) { SendMessage(TTM_ACTIVATE, bActivate); }
  // A tool of pWnd: its whole window (nIDTool 0, no rectangle) or a
  // rectangle of it under an id.
  BOOL AddTool(CWnd *pWnd, LPCTSTR lpszText = LPSTR_TEXTCALLBACK, LPCRECT lpRectTool = nullptr,
               UINT_PTR nIDTool = 0);
  BOOL AddTool(const TTTOOLINFOW *pToolInfo) {
    return (BOOL)SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(pToolInfo));
  }
  void DelTool(CWnd *pWnd, UINT_PTR nIDTool = 0);
  void DelTool(const TTTOOLINFOW *pToolInfo) {
    SendMessage(TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(pToolInfo));
  }
  // Reads the record of a tool; lpszText must be null or point at room for
  // 80 characters (the control's own limit for this message).
  BOOL GetToolInfo(TTTOOLINFOW &ti, CWnd *pWnd, UINT_PTR nIDTool = 0) const;
  void UpdateTipText(LPCTSTR lpszText, CWnd *pWnd, UINT_PTR nIDTool = 0);
  void SetToolRect(CWnd *pWnd, UINT_PTR nIDTool, LPCRECT lpRect);
  int GetToolCount() const { return (int)SendMessage(TTM_GETTOOLCOUNT); }
  void RelayEvent(MSG *pMsg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg)); }
  void Pop() { SendMessage(TTM_POP); }
  void Update() { SendMessage(TTM_UPDATE); }

  int SetMaxTipWidth(int nWidth) { return (int)SendMessage(TTM_SETMAXTIPWIDTH, 0, nWidth); }
  int GetMaxTipWidth() const { return (int)SendMessage(TTM_GETMAXTIPWIDTH); }
  void SetTipBkColor(COLORREF clr) { SendMessage(TTM_SETTIPBKCOLOR, clr); }
  COLORREF GetTipBkColor() const { return (COLORREF)SendMessage(TTM_GETTIPBKCOLOR); }
  void SetTipTextColor(COLORREF clr) { SendMessage(TTM_SETTIPTEXTCOLOR, clr); }
  COLORREF GetTipTextColor() const { return (COLORREF)SendMessage(TTM_GETTIPTEXTCOLOR); }
  // uIcon: 0 none, 1 information, 2 warning, 3 error; a null title removes it.
  BOOL SetTitle(UINT uIcon, LPCTSTR lpszTitle) {
    return (BOOL)SendMessage(TTM_SETTITLEW, uIcon, reinterpret_cast<LPARAM>(lpszTitle));
  }
  void SetDelayTime(DWORD dwDuration, int iTime) {
    SendMessage(TTM_SETDELAYTIME, dwDuration, MAKELPARAM(iTime, 0));
  }
  int GetDelayTime(DWORD dwDuration) const { return (int)SendMessage(TTM_GETDELAYTIME, dwDuration); }

  // The record size that carries lParam on every build.
  static UINT ToolInfoSize() { return TTTOOLINFOW_V2_SIZE; }
  // A record of pWnd's tool nIDTool, its size set.
  static void FillInToolInfo(TTTOOLINFOW &ti, CWnd *pWnd, UINT_PTR nIDTool);
};

// What the tooltip filters share.
// A mouse move, or a button release, with no mouse button held down: the
// messages that show, move and hide tips.
BOOL AfxIsToolTipMouseMessage(const MSG *pMsg);
// Keys and button presses, which cancel the tips; *pbKeys tells a key.
BOOL AfxIsToolTipCancelMessage(UINT message, BOOL *pbKeys);
// The first window from hWnd up through its parents that enabled tooltips,
// not going past hWndStop (when given); null when there is none.
CWnd *AfxFindToolTipWindow(HWND hWnd, HWND hWndStop = nullptr);
// Relays a message to the tooltip as the window under its point saw it.
void AfxRelayToolTipEvent(CToolTipCtrl *pToolTip, const MSG *pMsg);
// Frees a hit-tested tool's text (malloc'd by the hit test) unless it is a
// callback or a resource id.
void AfxFreeToolTipText(TTTOOLINFOW &ti);
// Puts a filter in place of the thread's tooltip filter (null: the
// framework's own); returns the one it replaces.
AFX_TOOLTIP_FILTER AfxSetToolTipFilter(AFX_TOOLTIP_FILTER pfnFilter);
