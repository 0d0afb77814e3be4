#include "SpinButtonCtrl.h"

#include "CommonControls.h"

IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)

BOOL CSpinButtonCtrl::Create(DWORD style, const RECT &rect, CWnd *parent, UINT id) {
  return AfxCreateCommonControl(this, ICC_UPDOWN_CLASS, UPDOWN_CLASS, 0, style | WS_CHILD, rect, parent, id);
}
