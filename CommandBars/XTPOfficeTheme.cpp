#include "XTPOfficeTheme.h"

void CXTPOfficeTheme::ExcludeCorners(CDC *pDC, CRect rc) {
  if (!pDC || rc.IsRectEmpty()) return;
  pDC->ExcludeClipRect(rc.left, rc.top, rc.left + 1, rc.top + 1);
  pDC->ExcludeClipRect(rc.right - 1, rc.top, rc.right, rc.top + 1);
  pDC->ExcludeClipRect(rc.left, rc.bottom - 1, rc.left + 1, rc.bottom);
  pDC->ExcludeClipRect(rc.right - 1, rc.bottom - 1, rc.right, rc.bottom);
}
