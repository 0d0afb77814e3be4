#include "SpinButtonCtrl.h"

IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)

BOOL CSpinButtonCtrl::Create(DWORD style, const RECT &rect, CWnd *parent, UINT id) {
  INITCOMMONCONTROLSEX init = {sizeof(init), ICC_UPDOWN_CLASS};
  ::InitCommonControlsEx(&init);
  return CWnd::Create(UPDOWN_CLASS, nullptr, style, rect, parent, id);
}
