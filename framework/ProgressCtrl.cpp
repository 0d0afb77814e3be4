#include "ProgressCtrl.h"

#include "CommonControls.h"

IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)

BOOL CProgressCtrl::Create(DWORD style, const RECT &rect, CWnd *parent, UINT id) {
  return AfxCreateCommonControl(this, ICC_PROGRESS_CLASS, PROGRESS_CLASS, 0, style | WS_CHILD, rect, parent,
                                id);
}

void CProgressCtrl::GetRange(int &lower, int &upper) const {
  PBRANGE range = {};
  SendMessage(PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  lower = range.iLow;
  upper = range.iHigh;
}
