#include "ProgressCtrl.h"

IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)

BOOL CProgressCtrl::Create(DWORD style, const RECT &rect, CWnd *parent, UINT id) {
  INITCOMMONCONTROLSEX init = {sizeof(init), ICC_PROGRESS_CLASS};
  ::InitCommonControlsEx(&init);
  return CWnd::Create(PROGRESS_CLASS, nullptr, style, rect, parent, id);
}

void CProgressCtrl::GetRange(int &lower, int &upper) const {
  PBRANGE range = {};
  SendMessage(PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  lower = range.iLow;
  upper = range.iHigh;
}
