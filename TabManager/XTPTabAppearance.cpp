#include "XTPTabAppearance.h"

#include "XTPColorManager.h"
#include "XTPDrawHelpers.h"
#include "XTPTabAppearanceStyles.h"
#include "XTPTabColorSets.h"
#include "XTPTabPaintManager.h"

#include <algorithm>
#include <vector>

namespace {
const COLORREF kUnset = 0xFFFFFFFF;
}

CXTPTabAppearance *XTPCreateTabAppearance(int nAppearance) {
  switch (nAppearance) {
  case 1:
    return new CXTPTabAppearance1;
  case 2:
    return new CXTPTabAppearance2;
  case 3:
    return new CXTPTabAppearance3;
  case 4:
    return new CXTPTabAppearance4;
  case 5:
    return new CXTPTabAppearance5;
  case 6:
    return new CXTPTabAppearance6;
  case 7:
    return new CXTPTabAppearance7;
  case 8:
    return new CXTPTabAppearance8;
  case 9:
    return new CXTPTabAppearance9;
  default:
    return new CXTPTabAppearance0;
  }
}

CXTPTabColorSet *CXTPTabAppearance::GetColorSet() const {
  return m_pPaintManager ? m_pPaintManager->GetColorSet() : nullptr;
}

void CXTPTabAppearance::RefreshMetrics() {
  HDC hDC = ::GetDC(nullptr);
  HFONT hFont = nullptr;
  if (m_pPaintManager) hFont = static_cast<HFONT>(m_pPaintManager->GetFont(FALSE)->GetSafeHandle());
  HGDIOBJ hOld =
      ::SelectObject(hDC, hFont ? static_cast<HGDIOBJ>(hFont) : ::GetStockObject(DEFAULT_GUI_FONT));
  SIZE sz = {0, 0};
  ::GetTextExtentPoint32W(hDC, L" ", 1, &sz);
  ::SelectObject(hDC, hOld);
  ::ReleaseDC(nullptr, hDC);
  m_nTextRowHeight = std::max(static_cast<int>(sz.cy) + 3, 18);
}

int CXTPTabAppearance::GetRowHeight(CXTPTabManager *pTabManager) {
  const CRect &rcMargin = m_pPaintManager->m_rcButtonMargin;
  int E = rcMargin.top + rcMargin.bottom;
  CSize szMin;
  pTabManager->GetItemMetrics(nullptr, &szMin, nullptr);
  int H = std::max(static_cast<int>(szMin.cy), m_nTextRowHeight + E);
  if (m_pPaintManager->m_bShowIcons) {
    CSize szIcon = m_pPaintManager->m_szIcon;
    int I = std::max(szIcon.cx, szIcon.cy);
    H = std::max(H, I + 4 + E);
  }
  return H;
}

CRect CXTPTabAppearance::ComputeStripRect(CRect rcControl, CXTPTabManager *pTabManager) {
  int nRows = std::max(1, pTabManager->GetRowIndexer()->GetRowCount());
  int B = GetRowHeight(pTabManager);
  CRect rcMargin = GetStripMargin();
  int S = B * nRows + m_nRowSpacing * (nRows - 1) + rcMargin.top + rcMargin.bottom;
  CRect rc = rcControl;
  switch (pTabManager->GetPosition()) {
  case xtpTabPositionTop:
    rc.bottom = rc.top + S;
    break;
  case xtpTabPositionLeft:
    rc.right = rc.left + S;
    break;
  case xtpTabPositionBottom:
    rc.top = rc.bottom - S;
    break;
  default:
    rc.left = rc.right - S;
    break;
  }
  return rc;
}

CRect CXTPTabAppearance::ComputeClientRect(CRect rcControl, CXTPTabManager *pTabManager) {
  CRect rcStrip = ComputeStripRect(rcControl, pTabManager);
  CRect rc = rcControl;
  switch (pTabManager->GetPosition()) {
  case xtpTabPositionTop:
    rc.top = rcStrip.bottom - 1;
    break;
  case xtpTabPositionLeft:
    rc.left = rcStrip.right - 1;
    break;
  case xtpTabPositionBottom:
    rc.bottom = rcStrip.top + 1;
    break;
  default:
    rc.right = rcStrip.left + 1;
    break;
  }
  return rc;
}

CRect CXTPTabAppearance::GetClientPadding() {
  return m_pPaintManager->m_rcClientMargin;
}

int CXTPTabAppearance::MeasureTab(CDC *pDC, CXTPTabManagerItem *pItem) {
  return m_pPaintManager->DrawSingleButtonIconAndText(pDC, pItem, CRect(0, 0, 0, 0), FALSE);
}

void CXTPTabAppearance::DrawControl(CXTPTabManager *pTabManager, CDC *pDC, CRect rcControl) {
  m_pPaintManager->DrawControlGeneric(pTabManager, pDC, rcControl);
}

CRect CXTPTabAppearance::PaintBackground(CXTPTabManager *, CDC *, CRect) {
  return CRect(0, 0, 0, 0);
}

void CXTPTabAppearance::LayoutTabs(CXTPTabManager *pTabManager, CDC *pDC, CRect rcControl) {
  m_pPaintManager->LayoutTabsGeneric(pTabManager, pDC, rcControl);
}

void CXTPTabAppearance::ShrinkToClient(CXTPTabManager *pTabManager, CRect &rcControl) {
  const int nPosition = pTabManager->GetPosition();
  DeflateRectByPosition(rcControl, m_pPaintManager->m_rcControlMargin, nPosition);
  rcControl = ComputeClientRect(rcControl, pTabManager);
  DeflateRectByPosition(rcControl, GetClientPadding(), nPosition);
  if (m_pPaintManager->m_clientFrame == 0)
    DeflateRectByPosition(rcControl, 2, 2, 2, 2, nPosition);
  else if (m_pPaintManager->m_clientFrame == 1)
    DeflateRectByPosition(rcControl, 0, 2, 0, 0, nPosition);
}

void CXTPTabAppearance::DrawTab(CDC *pDC, CXTPTabManagerItem *pItem) {
  DrawText(pDC, pItem, pItem->GetRect());
}

void CXTPTabAppearance::DrawText(CDC *pDC, CXTPTabManagerItem *pItem, const CRect &rc) {
  if (CXTPTabColorSet *pColorSet = GetColorSet()) pColorSet->ApplyTextColor(pDC, pItem);
  m_pPaintManager->DrawSingleButtonIconAndText(pDC, pItem, rc, TRUE);
}

void CXTPTabAppearance::DrawWorkspaceFramePart(CDC *pDC, CRect *pRect, int nPart) {
  CXTPTabColorSet *pColorSet = GetColorSet();
  CRect &rc = *pRect;
  if (!m_pPaintManager->m_bStaticFrame) {
    if (nPart == 1)
      rc.InflateRect(2, 2);
    else if (nPart == 2 || nPart == 3)
      pDC->FillSolidRect(rc, pColorSet->stripFace.clrLight_);
    return;
  }
  switch (nPart) {
  case 0:
    pDC->Draw3dRect(rc.left + 1, rc.top, rc.Width() - 2, rc.Height() - 1, XTPGetColor(COLOR_BTNFACE),
                    XTPGetColor(COLOR_BTNFACE));
    pDC->Draw3dRect(rc.left, rc.top, rc.Width(), rc.Height(), pColorSet->edgeDark, pColorSet->edgeDark);
    break;
  case 1:
    rc.top -= 1;
    break;
  case 2:
    pDC->FillSolidRect(rc, pColorSet->edgeFace);
    VerticalLine(pDC, rc.right - 1, rc.top, rc.Height(), pColorSet->edgeDark);
    break;
  case 3:
    pDC->FillSolidRect(rc, pColorSet->edgeFace);
    HorizontalLine(pDC, rc.left, rc.bottom - 1, rc.Width(), pColorSet->edgeDark);
    break;
  default:
    break;
  }
}

void CXTPTabAppearance::InflateRectByPosition(CRect &rc, int l, int t, int r, int b, int nPosition) {
  switch (nPosition) {
  case xtpTabPositionTop:
    rc.left -= l, rc.top -= t, rc.right += r, rc.bottom += b;
    break;
  case xtpTabPositionLeft:
    rc.left -= t, rc.top -= l, rc.right += b, rc.bottom += r;
    break;
  case xtpTabPositionBottom:
    rc.left -= l, rc.top -= b, rc.right += r, rc.bottom += t;
    break;
  default:
    rc.left -= b, rc.top -= l, rc.right += t, rc.bottom += r;
    break;
  }
}

void CXTPTabAppearance::HorizontalLine(CDC *pDC, int x, int y, int nLength, COLORREF clr) {
  if (clr != kUnset) pDC->FillSolidRect(x, y, nLength, 1, clr);
}

void CXTPTabAppearance::VerticalLine(CDC *pDC, int x, int y, int nLength, COLORREF clr) {
  if (clr != kUnset) pDC->FillSolidRect(x, y, 1, nLength, clr);
}

void CXTPTabAppearance::SetPixelColor(CDC *pDC, int x, int y, COLORREF clr) {
  if (clr != kUnset) pDC->FillSolidRect(x, y, 1, 1, clr);
}

void CXTPTabAppearance::DrawClientEdge(CDC *pDC, const CRect &rc, int nPosition, COLORREF clrTopLeft,
                                       COLORREF clrBottomRight) {
  switch (nPosition) {
  case xtpTabPositionTop:
    HorizontalLine(pDC, rc.left, rc.top, rc.Width(), clrTopLeft);
    break;
  case xtpTabPositionLeft:
    VerticalLine(pDC, rc.left, rc.top, rc.Height(), clrTopLeft);
    break;
  case xtpTabPositionBottom:
    HorizontalLine(pDC, rc.left, rc.bottom - 1, rc.Width(), clrBottomRight);
    break;
  default:
    VerticalLine(pDC, rc.right - 1, rc.top, rc.Height(), clrBottomRight);
    break;
  }
}

void CXTPTabAppearance::DrawPolyLine(CDC *pDC, COLORREF clr, const POINT *pts, int nCount) {
  if (nCount < 1) return;
  CXTPPenDC pen(pDC, clr);
  CPoint pt = pts[0];
  pDC->MoveTo(pt);
  for (int i = 1; i < nCount; i++) {
    pt.Offset(pts[i].x, pts[i].y);
    pDC->LineTo(pt);
  }
}

void CXTPTabAppearance::DrawPolyLineIfColor(CDC *pDC, COLORREF clr, int x1, int y1, int x2, int y2) {
  if (clr == kUnset) return;
  CXTPPenDC pen(pDC, clr);
  pDC->MoveTo(x1, y1);
  pDC->LineTo(x2, y2);
}

void CXTPTabAppearance::Draw3dRectIfColor(CDC *pDC, const CRect &rc, COLORREF clrTopLeft,
                                          COLORREF clrBottomRight) {
  if (clrTopLeft != kUnset && clrBottomRight != kUnset) pDC->Draw3dRect(rc, clrTopLeft, clrBottomRight);
}

COLORREF CXTPTabAppearance::FillTabPolygon(CDC *pDC, const CRect &rc, const POINT *pts, int nCount,
                                           CXTPTabManagerItem *pItem, BOOL bAbsolute) {
  if (nCount < 1 || rc.IsRectEmpty()) return 0;
  std::vector<POINT> arrPoints(nCount);
  CPoint pt = pts[0];
  if (!bAbsolute) pt.Offset(rc.left, rc.top);
  arrPoints[0] = pt;
  for (int i = 1; i < nCount; i++) {
    pt.Offset(pts[i].x, pts[i].y);
    arrPoints[i] = pt;
  }
  // The region is in device units; the polygon is in logical ones.
  std::vector<POINT> arrDevice = arrPoints;
  ::LPtoDP(pDC->GetSafeHdc(), arrDevice.data(), nCount);
  CRgn rgnPolygon;
  rgnPolygon.CreatePolygonRgn(arrDevice.data(), nCount, ALTERNATE);

  HDC hDC = pDC->GetSafeHdc();
  HRGN hSaved = ::CreateRectRgn(0, 0, 0, 0);
  BOOL bHadClip = ::GetClipRgn(hDC, hSaved) == 1;
  ::ExtSelectClipRgn(hDC, static_cast<HRGN>(rgnPolygon.GetSafeHandle()), RGN_AND);

  COLORREF clrFace = 0;
  {
    CDC dcMem;
    dcMem.CreateCompatibleDC(pDC);
    CBitmap bmp;
    bmp.CreateCompatibleBitmap(pDC, rc.Width(), rc.Height());
    CBitmap *pOld = dcMem.SelectObject(&bmp);
    clrFace = GetColorSet()->PaintTabFace(&dcMem, CRect(0, 0, rc.Width(), rc.Height()), pItem);
    pDC->BitBlt(rc.left, rc.top, rc.Width(), rc.Height(), &dcMem, 0, 0, SRCCOPY);
    dcMem.SelectObject(pOld);
  }
  ::SelectClipRgn(hDC, bHadClip ? hSaved : nullptr);
  ::DeleteObject(hSaved);
  return clrFace;
}
