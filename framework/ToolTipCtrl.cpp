#include "ToolTipCtrl.h"

#include "CommonControls.h"

IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

BOOL CToolTipCtrl::Create(CWnd *pParentWnd, DWORD dwStyle) {
  // The control makes itself topmost when it shows; the owner keeps it above
  // the owner's windows and takes it along when it is destroyed.
  return AfxCreateCommonControl(this, ICC_BAR_CLASSES, TOOLTIPS_CLASSW, 0, WS_POPUP | dwStyle,
                                CRect(0, 0, 0, 0), pParentWnd, 0);
}

void CToolTipCtrl::FillInToolInfo(TTTOOLINFOW &ti, CWnd *pWnd, UINT_PTR nIDTool) {
  ti = {};
  ti.cbSize = ToolInfoSize();
  ti.hwnd = pWnd->GetSafeHwnd();
  if (nIDTool == 0) {
    ti.uFlags = TTF_IDISHWND;
    ti.uId = reinterpret_cast<UINT_PTR>(ti.hwnd);
  } else {
    ti.uId = nIDTool;
  }
}

BOOL CToolTipCtrl::AddTool(CWnd *pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
  TTTOOLINFOW ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  ti.uFlags |= TTF_SUBCLASS;
  if (lpRectTool != nullptr) ti.rect = *lpRectTool;
  ti.lpszText = const_cast<LPWSTR>(lpszText);
  return AddTool(&ti);
}

void CToolTipCtrl::DelTool(CWnd *pWnd, UINT_PTR nIDTool) {
  TTTOOLINFOW ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  DelTool(&ti);
}

BOOL CToolTipCtrl::GetToolInfo(TTTOOLINFOW &ti, CWnd *pWnd, UINT_PTR nIDTool) const {
  LPWSTR lpszText = ti.lpszText;
  FillInToolInfo(ti, pWnd, nIDTool);
  ti.lpszText = lpszText;
  return (BOOL)SendMessage(TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::UpdateTipText(LPCTSTR lpszText, CWnd *pWnd, UINT_PTR nIDTool) {
  TTTOOLINFOW ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  ti.lpszText = const_cast<LPWSTR>(lpszText);
  SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::SetToolRect(CWnd *pWnd, UINT_PTR nIDTool, LPCRECT lpRect) {
  TTTOOLINFOW ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  ti.rect = *lpRect;
  SendMessage(TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
}
