// Message-map entries of the window messages (ON_WM_...), each with the thunk
// that unpacks the message's parameters for the classic handler signature.
// Handlers are named plainly, as members of the class whose map holds the
// entry (ON_WM_SIZE() calls OnSize of that class or of a base).
#pragma once

#include "Wnd.h"

CDC *AfxDcFromHandle(HDC hDC);
CMenu *AfxMenuFromHandle(HMENU hMenu);
CScrollBar *AfxScrollBarFromHandle(HWND hWnd);

namespace AfxThunk {

inline CPoint PointOf(LPARAM l) {
  return CPoint(GET_X_LPARAM(l), GET_Y_LPARAM(l));
}
inline CWnd *WndOf(WPARAM w) {
  return CWnd::FromHandle(reinterpret_cast<HWND>(w));
}
inline CWnd *WndOfL(LPARAM l) {
  return CWnd::FromHandle(reinterpret_cast<HWND>(l));
}

template <class T, auto F> BOOL V(CCmdTarget *p, AFX_DISPATCH &) {
  (Target<T>(p)->*F)();
  return TRUE;
}
template <class T, auto F> BOOL RetV(CCmdTarget *p, AFX_DISPATCH &d) {
  d.result = (LRESULT)(Target<T>(p)->*F)();
  return TRUE;
}
template <class T, auto F> BOOL Create(CCmdTarget *p, AFX_DISPATCH &d) {
  d.result = (LRESULT)(Target<T>(p)->*F)(reinterpret_cast<LPCREATESTRUCT>(d.lParam));
  return TRUE;
}
template <class T, auto F> BOOL Size(CCmdTarget *p, AFX_DISPATCH &d) {
  (Target<T>(p)->*F)((UINT)d.wParam, (int)(short)LOWORD(d.lParam), (int)(short)HIWORD(d.lParam));
  return TRUE;
}
template <class T, auto F> BOOL Move(CCmdTarget *p, AFX_DISPATCH &d) {
  (Target<T>(p)->*F)((int)(short)LOWORD(d.lParam), (int)(short)HIWORD(d.lParam));
  return TRUE;
}
template <class T, auto F> BOOL Sizing(CCmdTarget *p, AFX_DISPATCH &d) {
  (Target<T>(p)->*F)((UINT)d.wParam, reinterpret_cast<LPRECT>(d.lParam));
  d.result = TRUE;
  return TRUE;
}
template <class T, auto F> BOOL EraseBkgnd(CCmdTarget *p, AFX_DISPATCH &d) {
  d.result = (LRESULT)(Target<T>(p)->*F)(AfxDcFromHandle(reinterpret_cast<HDC>(d.wParam)));
  return TRUE;
}
template <class T, auto F> BOOL Timer(CCmdTarget *p, AFX_DISPATCH &d) {
  (Target<T>(p)->*F)((UINT_PTR)d.wParam);
  return TRUE;
}
template <class T, auto F> BOOL Focus(CCmdTarget *p, AFX_DISPATCH &d) {
  (Target<T>(p)->*F)(WndOf(d.wParam));
  return TRUE;
}
template <class T, auto F> BOOL Mouse(CCmdTarget *p, AFX_DISPATCH &d) {
  (Target<T>(p)->*F)((UINT)d.wParam, PointOf(d.lParam));
  return TRUE;
}
template <class T, auto F> BOOL MouseWheel(CCmdTarget *p, AFX_DISPATCH &d) {
  d.result = (LRESULT)(Target<T>(p)->*F)((UINT)LOWORD(d.wParam), (short)HIWORD(d.wParam), PointOf(d.lParam));
  return TRUE;
}
template <class T, auto F> BOOL MouseActivate(CCmdTarget *p, AFX_DISPATCH &d) {
  d.result = (LRESULT)(Target<T>(p)->*F)(WndOf(d.wParam), (UINT)LOWORD(d.lParam), (UINT)HIWORD(d.lParam));
  return TRUE;
}
template <class T, auto F> BOOL HitTest(CCmdTarget *p, AFX_DISPATCH &d) {
  d.result = (LRESULT)(Target<T>(p)->*F)(PointOf(d.lParam));
  return TRUE;
}
template <class T, auto F> BOOL NcCalcSize(CCmdTarget *p, AFX_DISPATCH &d) {
  (Target<T>(p)->*F)((BOOL)d.wParam, reinterpret_cast<NCCALCSIZE_PARAMS *>(d.lParam));
  return TRUE;
}
template <class T, auto F> BOOL BoolW(CCmdTarget *p, AFX_DISPATCH &d) {
  d.result = (LRESULT)(Target<T>(p)->*F)((BOOL)d.wParam);
  return TRUE;
}
template <class T, auto F> BOOL VoidBoolW(CCmdTarget *p, AFX_DISPATCH &d) {
  (Target<T>(p)->*F)((BOOL)d.wParam);
  return TRUE;
}
template <class T, auto F> BOOL Key(CCmdTarget *p, AFX_DISPATCH &d) {
  (Target<T>(p)->*F)((UINT)d.wParam, (UINT)LOWORD(d.lParam), (UINT)HIWORD(d.lParam));
  return TRUE;
}
template <class T, auto F> BOOL ContextMenu(CCmdTarget *p, AFX_DISPATCH &d) {
  (Target<T>(p)->*F)(WndOf(d.wParam), PointOf(d.lParam));
  return TRUE;
}
template <class T, auto F> BOOL SetCursor(CCmdTarget *p, AFX_DISPATCH &d) {
  d.result =
      (LRESULT)(Target<T>(p)->*F)(WndOf(d.wParam), (UINT)(short)LOWORD(d.lParam), (UINT)HIWORD(d.lParam));
  return TRUE;
}
template <class T, auto F> BOOL MinMax(CCmdTarget *p, AFX_DISPATCH &d) {
  (Target<T>(p)->*F)(reinterpret_cast<MINMAXINFO *>(d.lParam));
  return TRUE;
}
template <class T, auto F> BOOL WindowPos(CCmdTarget *p, AFX_DISPATCH &d) {
  (Target<T>(p)->*F)(reinterpret_cast<WINDOWPOS *>(d.lParam));
  return TRUE;
}
template <class T, auto F> BOOL SysCommand(CCmdTarget *p, AFX_DISPATCH &d) {
  (Target<T>(p)->*F)((UINT)d.wParam, d.lParam);
  return TRUE;
}
// d.nCode carries the CTLCOLOR_ kind; a null brush means "not handled".
template <class T, auto F> BOOL CtlColor(CCmdTarget *p, AFX_DISPATCH &d) {
  HBRUSH hbr =
      (Target<T>(p)->*F)(AfxDcFromHandle(reinterpret_cast<HDC>(d.wParam)), WndOfL(d.lParam), d.nCode);
  d.result = (LRESULT)hbr;
  return TRUE;
}
template <class T, auto F> BOOL CtlColorReflect(CCmdTarget *p, AFX_DISPATCH &d) {
  HBRUSH hbr = (Target<T>(p)->*F)(AfxDcFromHandle(reinterpret_cast<HDC>(d.wParam)), d.nCode);
  d.result = (LRESULT)hbr;
  return hbr != nullptr;
}
template <class T, auto F> BOOL DrawItem(CCmdTarget *p, AFX_DISPATCH &d) {
  (Target<T>(p)->*F)((int)d.wParam, reinterpret_cast<LPDRAWITEMSTRUCT>(d.lParam));
  d.result = TRUE;
  return TRUE;
}
template <class T, auto F> BOOL MeasureItem(CCmdTarget *p, AFX_DISPATCH &d) {
  (Target<T>(p)->*F)((int)d.wParam, reinterpret_cast<LPMEASUREITEMSTRUCT>(d.lParam));
  d.result = TRUE;
  return TRUE;
}
template <class T, auto F> BOOL CompareItem(CCmdTarget *p, AFX_DISPATCH &d) {
  d.result = (LRESULT)(Target<T>(p)->*F)((int)d.wParam, reinterpret_cast<LPCOMPAREITEMSTRUCT>(d.lParam));
  return TRUE;
}
template <class T, auto F> BOOL DeleteItem(CCmdTarget *p, AFX_DISPATCH &d) {
  (Target<T>(p)->*F)((int)d.wParam, reinterpret_cast<LPDELETEITEMSTRUCT>(d.lParam));
  return TRUE;
}
template <class T, auto F> BOOL DrawItemReflect(CCmdTarget *p, AFX_DISPATCH &d) {
  (Target<T>(p)->*F)(reinterpret_cast<LPDRAWITEMSTRUCT>(d.lParam));
  d.result = TRUE;
  return TRUE;
}
template <class T, auto F> BOOL MeasureItemReflect(CCmdTarget *p, AFX_DISPATCH &d) {
  (Target<T>(p)->*F)(reinterpret_cast<LPMEASUREITEMSTRUCT>(d.lParam));
  d.result = TRUE;
  return TRUE;
}
template <class T, auto F> BOOL Scroll(CCmdTarget *p, AFX_DISPATCH &d) {
  (Target<T>(p)->*F)((UINT)LOWORD(d.wParam), (UINT)(short)HIWORD(d.wParam),
                     AfxScrollBarFromHandle(reinterpret_cast<HWND>(d.lParam)));
  return TRUE;
}
template <class T, auto F> BOOL ScrollReflect(CCmdTarget *p, AFX_DISPATCH &d) {
  (Target<T>(p)->*F)((UINT)LOWORD(d.wParam), (UINT)(short)HIWORD(d.wParam));
  return TRUE;
}
template <class T, auto F> BOOL ShowWindow(CCmdTarget *p, AFX_DISPATCH &d) {
  (Target<T>(p)->*F)((BOOL)d.wParam, (UINT)d.lParam);
  return TRUE;
}
template <class T, auto F> BOOL Activate(CCmdTarget *p, AFX_DISPATCH &d) {
  (Target<T>(p)->*F)((UINT)LOWORD(d.wParam), WndOfL(d.lParam), (BOOL)HIWORD(d.wParam));
  return TRUE;
}
template <class T, auto F> BOOL ActivateApp(CCmdTarget *p, AFX_DISPATCH &d) {
  (Target<T>(p)->*F)((BOOL)d.wParam, (DWORD)d.lParam);
  return TRUE;
}
template <class T, auto F> BOOL SettingChange(CCmdTarget *p, AFX_DISPATCH &d) {
  (Target<T>(p)->*F)((UINT)d.wParam, reinterpret_cast<LPCTSTR>(d.lParam));
  return TRUE;
}
template <class T, auto F> BOOL InitMenu(CCmdTarget *p, AFX_DISPATCH &d) {
  (Target<T>(p)->*F)(AfxMenuFromHandle(reinterpret_cast<HMENU>(d.wParam)));
  return TRUE;
}
template <class T, auto F> BOOL InitMenuPopup(CCmdTarget *p, AFX_DISPATCH &d) {
  (Target<T>(p)->*F)(AfxMenuFromHandle(reinterpret_cast<HMENU>(d.wParam)), (UINT)LOWORD(d.lParam),
                     (BOOL)HIWORD(d.lParam));
  return TRUE;
}
template <class T, auto F> BOOL MenuSelect(CCmdTarget *p, AFX_DISPATCH &d) {
  (Target<T>(p)->*F)((UINT)LOWORD(d.wParam), (UINT)HIWORD(d.wParam), reinterpret_cast<HMENU>(d.lParam));
  return TRUE;
}
template <class T, auto F> BOOL CaptureChanged(CCmdTarget *p, AFX_DISPATCH &d) {
  (Target<T>(p)->*F)(WndOfL(d.lParam));
  return TRUE;
}
template <class T, auto F> BOOL ParentNotify(CCmdTarget *p, AFX_DISPATCH &d) {
  (Target<T>(p)->*F)((UINT)LOWORD(d.wParam), d.lParam);
  return TRUE;
}
template <class T, auto F> BOOL StyleChange(CCmdTarget *p, AFX_DISPATCH &d) {
  (Target<T>(p)->*F)((int)d.wParam, reinterpret_cast<LPSTYLESTRUCT>(d.lParam));
  return TRUE;
}
template <class T, auto F> BOOL DropFiles(CCmdTarget *p, AFX_DISPATCH &d) {
  (Target<T>(p)->*F)(reinterpret_cast<HDROP>(d.wParam));
  return TRUE;
}

} // namespace AfxThunk

#define AFX_WM_ENTRY(msg, kind, fn)                                                                          \
  {(UINT)(msg), 0, 0, 0, nullptr, &AfxThunk::kind<ThisClass, &ThisClass::fn>},

#define ON_WM_CREATE() AFX_WM_ENTRY(WM_CREATE, Create, OnCreate)
#define ON_WM_NCCREATE() AFX_WM_ENTRY(WM_NCCREATE, Create, OnNcCreate)
#define ON_WM_DESTROY() AFX_WM_ENTRY(WM_DESTROY, V, OnDestroy)
#define ON_WM_NCDESTROY() AFX_WM_ENTRY(WM_NCDESTROY, V, OnNcDestroy)
#define ON_WM_SIZE() AFX_WM_ENTRY(WM_SIZE, Size, OnSize)
#define ON_WM_SIZING() AFX_WM_ENTRY(WM_SIZING, Sizing, OnSizing)
#define ON_WM_MOVE() AFX_WM_ENTRY(WM_MOVE, Move, OnMove)
#define ON_WM_PAINT() AFX_WM_ENTRY(WM_PAINT, V, OnPaint)
#define ON_WM_NCPAINT() AFX_WM_ENTRY(WM_NCPAINT, V, OnNcPaint)
#define ON_WM_ERASEBKGND() AFX_WM_ENTRY(WM_ERASEBKGND, EraseBkgnd, OnEraseBkgnd)
#define ON_WM_CLOSE() AFX_WM_ENTRY(WM_CLOSE, V, OnClose)
#define ON_WM_TIMER() AFX_WM_ENTRY(WM_TIMER, Timer, OnTimer)
#define ON_WM_SETFOCUS() AFX_WM_ENTRY(WM_SETFOCUS, Focus, OnSetFocus)
#define ON_WM_KILLFOCUS() AFX_WM_ENTRY(WM_KILLFOCUS, Focus, OnKillFocus)
#define ON_WM_LBUTTONDOWN() AFX_WM_ENTRY(WM_LBUTTONDOWN, Mouse, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_WM_ENTRY(WM_LBUTTONUP, Mouse, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_WM_ENTRY(WM_LBUTTONDBLCLK, Mouse, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_WM_ENTRY(WM_RBUTTONDOWN, Mouse, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_WM_ENTRY(WM_RBUTTONUP, Mouse, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() AFX_WM_ENTRY(WM_RBUTTONDBLCLK, Mouse, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() AFX_WM_ENTRY(WM_MBUTTONDOWN, Mouse, OnMButtonDown)
#define ON_WM_MBUTTONUP() AFX_WM_ENTRY(WM_MBUTTONUP, Mouse, OnMButtonUp)
#define ON_WM_MOUSEMOVE() AFX_WM_ENTRY(WM_MOUSEMOVE, Mouse, OnMouseMove)
#define ON_WM_MOUSEWHEEL() AFX_WM_ENTRY(WM_MOUSEWHEEL, MouseWheel, OnMouseWheel)
#define ON_WM_MOUSELEAVE() AFX_WM_ENTRY(WM_MOUSELEAVE, V, OnMouseLeave)
#define ON_WM_MOUSEHOVER() AFX_WM_ENTRY(WM_MOUSEHOVER, Mouse, OnMouseHover)
#define ON_WM_MOUSEACTIVATE() AFX_WM_ENTRY(WM_MOUSEACTIVATE, MouseActivate, OnMouseActivate)
#define ON_WM_NCLBUTTONDOWN() AFX_WM_ENTRY(WM_NCLBUTTONDOWN, Mouse, OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP() AFX_WM_ENTRY(WM_NCLBUTTONUP, Mouse, OnNcLButtonUp)
#define ON_WM_NCLBUTTONDBLCLK() AFX_WM_ENTRY(WM_NCLBUTTONDBLCLK, Mouse, OnNcLButtonDblClk)
#define ON_WM_NCRBUTTONDOWN() AFX_WM_ENTRY(WM_NCRBUTTONDOWN, Mouse, OnNcRButtonDown)
#define ON_WM_NCRBUTTONUP() AFX_WM_ENTRY(WM_NCRBUTTONUP, Mouse, OnNcRButtonUp)
#define ON_WM_NCMOUSEMOVE() AFX_WM_ENTRY(WM_NCMOUSEMOVE, Mouse, OnNcMouseMove)
#define ON_WM_NCHITTEST() AFX_WM_ENTRY(WM_NCHITTEST, HitTest, OnNcHitTest)
#define ON_WM_NCCALCSIZE() AFX_WM_ENTRY(WM_NCCALCSIZE, NcCalcSize, OnNcCalcSize)
#define ON_WM_NCACTIVATE() AFX_WM_ENTRY(WM_NCACTIVATE, BoolW, OnNcActivate)
#define ON_WM_KEYDOWN() AFX_WM_ENTRY(WM_KEYDOWN, Key, OnKeyDown)
#define ON_WM_KEYUP() AFX_WM_ENTRY(WM_KEYUP, Key, OnKeyUp)
#define ON_WM_CHAR() AFX_WM_ENTRY(WM_CHAR, Key, OnChar)
#define ON_WM_SYSKEYDOWN() AFX_WM_ENTRY(WM_SYSKEYDOWN, Key, OnSysKeyDown)
#define ON_WM_SYSKEYUP() AFX_WM_ENTRY(WM_SYSKEYUP, Key, OnSysKeyUp)
#define ON_WM_SYSCHAR() AFX_WM_ENTRY(WM_SYSCHAR, Key, OnSysChar)
#define ON_WM_GETDLGCODE() AFX_WM_ENTRY(WM_GETDLGCODE, RetV, OnGetDlgCode)
#define ON_WM_CONTEXTMENU() AFX_WM_ENTRY(WM_CONTEXTMENU, ContextMenu, OnContextMenu)
#define ON_WM_SETCURSOR() AFX_WM_ENTRY(WM_SETCURSOR, SetCursor, OnSetCursor)
#define ON_WM_GETMINMAXINFO() AFX_WM_ENTRY(WM_GETMINMAXINFO, MinMax, OnGetMinMaxInfo)
#define ON_WM_SYSCOMMAND() AFX_WM_ENTRY(WM_SYSCOMMAND, SysCommand, OnSysCommand)
// One entry serves every WM_CTLCOLORxxx message (WM_CTLCOLOR is their old common id).
#define ON_WM_CTLCOLOR() AFX_WM_ENTRY(WM_CTLCOLOR, CtlColor, OnCtlColor)
#define ON_WM_CTLCOLOR_REFLECT() AFX_WM_ENTRY(WM_CTLCOLOR + WM_REFLECT_BASE, CtlColorReflect, CtlColor)
#define ON_WM_DRAWITEM() AFX_WM_ENTRY(WM_DRAWITEM, DrawItem, OnDrawItem)
#define ON_WM_MEASUREITEM() AFX_WM_ENTRY(WM_MEASUREITEM, MeasureItem, OnMeasureItem)
#define ON_WM_COMPAREITEM() AFX_WM_ENTRY(WM_COMPAREITEM, CompareItem, OnCompareItem)
#define ON_WM_DELETEITEM() AFX_WM_ENTRY(WM_DELETEITEM, DeleteItem, OnDeleteItem)
#define ON_WM_DRAWITEM_REFLECT() AFX_WM_ENTRY(WM_DRAWITEM + WM_REFLECT_BASE, DrawItemReflect, DrawItem)
#define ON_WM_MEASUREITEM_REFLECT()                                                                          \
  AFX_WM_ENTRY(WM_MEASUREITEM + WM_REFLECT_BASE, MeasureItemReflect, MeasureItem)
#define ON_WM_HSCROLL() AFX_WM_ENTRY(WM_HSCROLL, Scroll, OnHScroll)
#define ON_WM_VSCROLL() AFX_WM_ENTRY(WM_VSCROLL, Scroll, OnVScroll)
#define ON_WM_HSCROLL_REFLECT() AFX_WM_ENTRY(WM_HSCROLL + WM_REFLECT_BASE, ScrollReflect, HScroll)
#define ON_WM_VSCROLL_REFLECT() AFX_WM_ENTRY(WM_VSCROLL + WM_REFLECT_BASE, ScrollReflect, VScroll)
#define ON_WM_SHOWWINDOW() AFX_WM_ENTRY(WM_SHOWWINDOW, ShowWindow, OnShowWindow)
#define ON_WM_ACTIVATE() AFX_WM_ENTRY(WM_ACTIVATE, Activate, OnActivate)
#define ON_WM_ACTIVATEAPP() AFX_WM_ENTRY(WM_ACTIVATEAPP, ActivateApp, OnActivateApp)
#define ON_WM_ENABLE() AFX_WM_ENTRY(WM_ENABLE, VoidBoolW, OnEnable)
#define ON_WM_SETTINGCHANGE() AFX_WM_ENTRY(WM_SETTINGCHANGE, SettingChange, OnSettingChange)
#define ON_WM_SYSCOLORCHANGE() AFX_WM_ENTRY(WM_SYSCOLORCHANGE, V, OnSysColorChange)
#define ON_WM_QUERYENDSESSION() AFX_WM_ENTRY(WM_QUERYENDSESSION, RetV, OnQueryEndSession)
#define ON_WM_ENDSESSION() AFX_WM_ENTRY(WM_ENDSESSION, VoidBoolW, OnEndSession)
#define ON_WM_WINDOWPOSCHANGING() AFX_WM_ENTRY(WM_WINDOWPOSCHANGING, WindowPos, OnWindowPosChanging)
#define ON_WM_WINDOWPOSCHANGED() AFX_WM_ENTRY(WM_WINDOWPOSCHANGED, WindowPos, OnWindowPosChanged)
#define ON_WM_INITMENU() AFX_WM_ENTRY(WM_INITMENU, InitMenu, OnInitMenu)
#define ON_WM_INITMENUPOPUP() AFX_WM_ENTRY(WM_INITMENUPOPUP, InitMenuPopup, OnInitMenuPopup)
#define ON_WM_MENUSELECT() AFX_WM_ENTRY(WM_MENUSELECT, MenuSelect, OnMenuSelect)
#define ON_WM_ENTERMENULOOP() AFX_WM_ENTRY(WM_ENTERMENULOOP, VoidBoolW, OnEnterMenuLoop)
#define ON_WM_EXITMENULOOP() AFX_WM_ENTRY(WM_EXITMENULOOP, VoidBoolW, OnExitMenuLoop)
#define ON_WM_CAPTURECHANGED() AFX_WM_ENTRY(WM_CAPTURECHANGED, CaptureChanged, OnCaptureChanged)
#define ON_WM_CANCELMODE() AFX_WM_ENTRY(WM_CANCELMODE, V, OnCancelMode)
#define ON_WM_PARENTNOTIFY() AFX_WM_ENTRY(WM_PARENTNOTIFY, ParentNotify, OnParentNotify)
#define ON_WM_STYLECHANGED() AFX_WM_ENTRY(WM_STYLECHANGED, StyleChange, OnStyleChanged)
#define ON_WM_STYLECHANGING() AFX_WM_ENTRY(WM_STYLECHANGING, StyleChange, OnStyleChanging)
#define ON_WM_DROPFILES() AFX_WM_ENTRY(WM_DROPFILES, DropFiles, OnDropFiles)
