#include "XTPDockContext.h"

void CXTPDockContext::AdjustRectangle(CRect &rect, CPoint point) {
  int dx = 0, dy = 0;
  if (point.x < rect.left)
    dx = point.x - rect.left;
  else if (point.x > rect.right)
    dx = point.x - rect.right;
  if (point.y < rect.top)
    dy = point.y - rect.top;
  else if (point.y > rect.bottom)
    dy = point.y - rect.bottom;
  rect.OffsetRect(dx, dy);
}

namespace {

// Strictly inside the rectangle grown by the distance: a point exactly
// kDockDistance away (even on the grown left or top edge) is not near.
BOOL IsNear(const CRect &rc, CPoint point) {
  CRect rcNear(rc);
  rcNear.InflateRect(CXTPDockContext::kDockDistance, CXTPDockContext::kDockDistance);
  return point.x > rcNear.left && point.x < rcNear.right && point.y > rcNear.top && point.y < rcNear.bottom;
}

} // namespace

int CXTPDockContext::FindDockBar(CPoint point, const CRect rcDockBars[4], int nCurrent) {
  if (nCurrent >= 0 && nCurrent < 4 && IsNear(rcDockBars[nCurrent], point)) return nCurrent;
  for (int i = 0; i < 4; i++)
    if (IsNear(rcDockBars[i], point)) return i;
  return -1;
}

int CXTPDockContext::ChooseMove(CPoint point, const CRect rcDockBars[4], int nCurrent, DWORD dwAllowed) {
  int nDockBar = FindDockBar(point, rcDockBars, nCurrent);
  if (nDockBar >= 0 && (dwAllowed & (1u << nDockBar))) return nDockBar;
  return (dwAllowed & 0x10) ? kMoveFloat : kMoveStay;
}

CRect CXTPDockContext::FloatRectangle(CPoint ptTopLeft, CSize size, CPoint point) {
  CRect rc(ptTopLeft, size);
  AdjustRectangle(rc, point);
  return rc;
}

CPoint CXTPDockContext::ToggleFloatPoint(CPoint ptFloat, const CRect &rcWindow) {
  return (ptFloat.x < 1 || ptFloat.y < 1) ? rcWindow.TopLeft() : ptFloat;
}

void CXTPDockContext::MoveDialogBarEdges(int nCode, CRect &rcFloat, CSize delta) {
  if (nCode == HTLEFT || nCode == HTTOPLEFT || nCode == HTBOTTOMLEFT) rcFloat.left += delta.cx;
  if (nCode == HTRIGHT || nCode == HTTOPRIGHT || nCode == HTBOTTOMRIGHT) rcFloat.right += delta.cx;
  if (nCode == HTTOP || nCode == HTTOPLEFT || nCode == HTTOPRIGHT) rcFloat.top += delta.cy;
  if (nCode == HTBOTTOM || nCode == HTBOTTOMLEFT || nCode == HTBOTTOMRIGHT) rcFloat.bottom += delta.cy;
}

void CXTPDockContext::MoveFloatingEdge(int nCode, CRect &rcFloat, CSize delta, int &nLength, DWORD &dwMode) {
  if (nCode == HTLEFT || nCode == HTRIGHT) {
    (nCode == HTLEFT ? rcFloat.left : rcFloat.right) += delta.cx;
    nLength = rcFloat.Width();
    dwMode = kLayoutHorz | kLayoutCommit;
  } else {
    (nCode == HTTOP ? rcFloat.top : rcFloat.bottom) += delta.cy;
    nLength = rcFloat.Height();
    dwMode = kLayoutHorz | kLayoutCommit | kLayoutLengthY;
  }
  if (nLength < 0) nLength = 0;
}

CRect CXTPDockContext::ResizedWindowRect(int nCode, const CRect &rcWindow, CSize size) {
  switch (nCode) {
  case HTLEFT:
    return CRect(rcWindow.right - size.cx, rcWindow.top, rcWindow.right, rcWindow.top + size.cy);
  case HTTOP:
    return CRect(rcWindow.left, rcWindow.bottom - size.cy, rcWindow.left + size.cx, rcWindow.bottom);
  default:
    return CRect(rcWindow.TopLeft(), size);
  }
}
