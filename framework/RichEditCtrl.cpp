#include "RichEditCtrl.h"

#include "CommonControls.h"

IMPLEMENT_DYNAMIC(CRichEditCtrl, CWnd)

LPCTSTR CRichEditCtrl::WindowClassName() {
  // The framework loads whichever library the system has; each registers its own class.
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  if (::GetClassInfoExW(nullptr, MSFTEDIT_CLASS, &wc)) return MSFTEDIT_CLASS;
  return RICHEDIT_CLASSW;
}

BOOL CRichEditCtrl::Create(DWORD dwStyle, const RECT &rect, CWnd *pParentWnd, UINT nID) {
  if (!AfxInitCommonControls(AFX_CC_RICHEDIT)) return FALSE;
  return AfxCreateCommonControl(this, AFX_CC_RICHEDIT, WindowClassName(), 0, dwStyle, rect, pParentWnd, nID);
}
