#include "XTPTabAppearanceStyles.h"

#include "XTPColorManager.h"
#include "XTPDrawHelpers.h"
#include "XTPOfficeTheme.h"
#include "XTPTabColorSets.h"
#include "XTPTabPaintManager.h"

#include <algorithm>
#include <iterator>

namespace {

const COLORREF kUnset = 0xFFFFFFFF;

// Saves the clip region of a device context and puts it back when it goes.
class ClipSaver {
public:
  explicit ClipSaver(CDC *pDC) : m_hDC(pDC->GetSafeHdc()), m_hRgn(::CreateRectRgn(0, 0, 0, 0)) {
    m_bHad = ::GetClipRgn(m_hDC, m_hRgn) == 1;
  }
  ~ClipSaver() {
    ::SelectClipRgn(m_hDC, m_bHad ? m_hRgn : nullptr);
    ::DeleteObject(m_hRgn);
  }
  ClipSaver(const ClipSaver &) = delete;
  ClipSaver &operator=(const ClipSaver &) = delete;

private:
  HDC m_hDC;
  HRGN m_hRgn;
  BOOL m_bHad = FALSE;
};

// Strip and client frame of the flat styles, with the frame's two colours.
CRect PaintFlatBackground(CXTPTabAppearance *pAppearance, CXTPTabManager *pTabManager, CDC *pDC,
                          CRect rcControl, COLORREF clrTopLeft, COLORREF clrBottomRight) {
  CXTPTabColorSet *pColorSet = pAppearance->GetColorSet();
  CRect rcStrip = pAppearance->ComputeStripRect(rcControl, pTabManager);
  pColorSet->PaintStrip(pDC, rcStrip, pTabManager);
  CRect rcClient = pAppearance->ComputeClientRect(rcControl, pTabManager);
  int nFrame = pAppearance->GetOwner()->m_clientFrame;
  if (nFrame == 0) {
    pColorSet->PaintClient(pDC, rcClient, pTabManager);
    pDC->Draw3dRect(rcClient, clrTopLeft, clrBottomRight);
  } else if (nFrame == 1) {
    CXTPTabAppearance::DrawClientEdge(pDC, rcClient, pTabManager->GetPosition(), clrTopLeft, clrBottomRight);
  }
  return rcStrip;
}

} // namespace

// --- style 0: the 3-D classic tab ---

CRect CXTPTabAppearance0::GetClientPadding() {
  CRect rc = CXTPTabAppearance::GetClientPadding();
  if (GetColorSet()->UsesVisualStyle() && m_pPaintManager->m_clientFrame == 0) {
    rc.right += 2;
    XTPTabPosition nPosition = m_pPaintManager->GetPosition();
    if (nPosition == xtpTabPositionTop || nPosition == xtpTabPositionLeft) rc.bottom += 2;
  }
  return rc;
}

CRect CXTPTabAppearance0::PaintBackground(CXTPTabManager *pTabManager, CDC *pDC, CRect rcControl) {
  CXTPTabColorSet *pColorSet = GetColorSet();
  const int nPosition = pTabManager->GetPosition();
  const COLORREF light = pColorSet->bevelLight, shadow = pColorSet->bevelShadow,
                 dark = pColorSet->bevelDarkShadow;
  CRect rcStrip = ComputeStripRect(rcControl, pTabManager);
  InflateRectByPosition(rcStrip, 0, 0, 0, 1, nPosition);
  pColorSet->PaintStrip(pDC, rcStrip, pTabManager);
  CRect C = ComputeClientRect(rcControl, pTabManager);
  if (m_pPaintManager->m_clientFrame == 0) {
    pColorSet->PaintClient(pDC, C, pTabManager);
    Draw3dRectIfColor(pDC, C, light, dark);
    HorizontalLine(pDC, C.left + 1, C.bottom - 2, C.Width() - 2, shadow);
    VerticalLine(pDC, C.right - 2, C.top + 1, C.Height() - 2, shadow);
  } else if (m_pPaintManager->m_clientFrame == 1) {
    switch (nPosition) {
    case xtpTabPositionTop:
      HorizontalLine(pDC, C.left, C.top, C.Width(), light);
      break;
    case xtpTabPositionLeft:
      VerticalLine(pDC, C.left, C.top, C.Height(), light);
      break;
    case xtpTabPositionBottom:
      HorizontalLine(pDC, C.left, C.bottom - 1, C.Width(), dark);
      HorizontalLine(pDC, C.left, C.bottom - 2, C.Width(), shadow);
      break;
    default:
      VerticalLine(pDC, C.right - 1, C.top, C.Height(), dark);
      VerticalLine(pDC, C.right - 2, C.top, C.Height(), shadow);
      break;
    }
  }
  return rcStrip;
}

void CXTPTabAppearance0::DrawTab(CDC *pDC, CXTPTabManagerItem *pItem) {
  CXTPTabColorSet *pColorSet = GetColorSet();
  const int nPosition = pItem->GetTabManager()->GetPosition();
  const COLORREF light = pColorSet->bevelLight, shadow = pColorSet->bevelShadow,
                 dark = pColorSet->bevelDarkShadow;
  CRect rc = pItem->GetRect();
  if (pItem->IsSelected()) {
    if (nPosition == xtpTabPositionTop)
      rc.InflateRect(2, 2, 2, 0);
    else if (nPosition == xtpTabPositionLeft)
      rc.InflateRect(2, 2, 0, 2);
    else
      rc.InflateRect(2, 2, 2, 2);
  }
  const COLORREF F =
      pColorSet->PaintTabFace(pDC, CRect(rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom - 1), pItem);
  const int L = rc.left, T = rc.top, Rt = rc.right, B = rc.bottom, W = rc.Width(), H = rc.Height();
  switch (nPosition) {
  case xtpTabPositionTop:
    VerticalLine(pDC, L, T + 2, H - 2, light);
    SetPixelColor(pDC, L + 1, T + 1, light);
    HorizontalLine(pDC, L + 2, T, W - 4, light);
    SetPixelColor(pDC, Rt - 2, T + 1, dark);
    VerticalLine(pDC, Rt - 1, T + 2, H - 3, dark);
    VerticalLine(pDC, Rt - 2, T + 2, H - 3, shadow);
    break;
  case xtpTabPositionLeft:
    HorizontalLine(pDC, L + 2, T, W - 2, light);
    SetPixelColor(pDC, L + 1, T + 1, light);
    VerticalLine(pDC, L, T + 2, H - 4, light);
    HorizontalLine(pDC, L + 1, B - 2, W - 2, shadow);
    HorizontalLine(pDC, L + 2, B - 1, W - 3, dark);
    SetPixelColor(pDC, L + 2, B - 2, dark);
    SetPixelColor(pDC, L + 2, B - 1, shadow);
    break;
  case xtpTabPositionBottom:
    VerticalLine(pDC, L, T + 1, H - 2, light);
    SetPixelColor(pDC, L + 1, B - 1, light);
    HorizontalLine(pDC, L + 2, B - 1, W - 4, shadow);
    HorizontalLine(pDC, L + 2, B, W - 4, dark);
    SetPixelColor(pDC, Rt - 2, B - 1, dark);
    VerticalLine(pDC, Rt - 1, T, H - 1, dark);
    VerticalLine(pDC, Rt - 2, T, H - 1, shadow);
    break;
  default:
    HorizontalLine(pDC, L + 1, T, W - 2, light);
    SetPixelColor(pDC, Rt - 1, T + 1, light);
    VerticalLine(pDC, Rt - 1, T + 2, H - 4, shadow);
    VerticalLine(pDC, Rt, T + 2, H - 4, dark);
    SetPixelColor(pDC, Rt - 1, B - 2, dark);
    HorizontalLine(pDC, L + 1, B - 2, W - 2, shadow);
    HorizontalLine(pDC, L + 1, B - 1, W - 2, dark);
    break;
  }
  if (pItem->IsSelected() && pItem->GetItemRow() == 0) {
    switch (nPosition) {
    case xtpTabPositionTop:
      HorizontalLine(pDC, L + 1, B - 1, W - 3, F);
      break;
    case xtpTabPositionLeft:
      VerticalLine(pDC, Rt - 1, T + 1, H - 3, F);
      break;
    case xtpTabPositionBottom:
      HorizontalLine(pDC, L + 1, T + 1, W - 1, F);
      rc.bottom += 2;
      break;
    default:
      VerticalLine(pDC, L + 1, T + 1, H - 1, F);
      rc.right += 2;
      break;
    }
  }
  DrawText(pDC, pItem, rc);
}

// --- style 1: only the selected or hot tab has a shape ---

void CXTPTabAppearance1::DrawTab(CDC *pDC, CXTPTabManagerItem *pItem) {
  if (!pItem->IsSelected() && !pItem->IsHighlighted()) {
    DrawText(pDC, pItem, pItem->GetRect());
    return;
  }
  CXTPTabAppearance0::DrawTab(pDC, pItem);
}

// --- styles 2, 6, 7 share the flat frame ---

CRect CXTPTabAppearance6::PaintBackground(CXTPTabManager *pTabManager, CDC *pDC, CRect rcControl) {
  COLORREF clr = GetColorSet()->edgeDark;
  return PaintFlatBackground(this, pTabManager, pDC, rcControl, clr, clr);
}

void CXTPTabAppearance6::DrawTab(CDC *pDC, CXTPTabManagerItem *pItem) {
  CXTPTabColorSet *pColorSet = GetColorSet();
  const int nPosition = pItem->GetTabManager()->GetPosition();
  CRect rc = pItem->GetRect();
  InflateRectByPosition(rc, 0, 0, 1, 0, nPosition);
  pColorSet->PaintTabFace(pDC, rc, pItem);
  if (pItem->IsSelected()) InflateRectByPosition(rc, 0, 0, 0, 1, nPosition);
  pDC->Draw3dRect(rc, pColorSet->edgeDark, pColorSet->edgeDark);
  DrawText(pDC, pItem, pItem->GetRect());
}

// --- style 2: square tab with blurred corners ---

void CXTPTabAppearance2::DrawTab(CDC *pDC, CXTPTabManagerItem *pItem) {
  CXTPTabColorSet *pColorSet = GetColorSet();
  const int nPosition = pItem->GetTabManager()->GetPosition();
  const COLORREF clrEdge = pColorSet->edgeDark;
  CRect rc = pItem->GetRect();
  InflateRectByPosition(rc, 0, 0, 1, 0, nPosition);
  CRect F = rc;
  {
    ClipSaver clip(pDC);
    InflateRectByPosition(F, 0, 0, 0, 1, nPosition);
    CXTPOfficeTheme::ExcludeCorners(pDC, F);
    CRect rcFace = rc;
    InflateRectByPosition(rcFace, -1, -1, -1, 0, nPosition);
    pColorSet->PaintTabFace(pDC, rcFace, pItem);
    if (blurredCorners) {
      if (pItem->IsSelected()) InflateRectByPosition(rc, 0, 0, 0, 1, nPosition);
      pDC->Draw3dRect(rc, clrEdge, clrEdge);
    } else {
      if (!pItem->IsSelected()) DrawClientEdge(pDC, rc, (nPosition + 2) % 4, clrEdge, clrEdge);
      InflateRectByPosition(rc, 0, 0, 0, 2, nPosition);
      CXTPPenDC pen(pDC, clrEdge);
      HGDIOBJ hOld = ::SelectObject(pDC->GetSafeHdc(), ::GetStockObject(NULL_BRUSH));
      pDC->RoundRect(rc.left, rc.top, rc.right, rc.bottom, 6, 6);
      ::SelectObject(pDC->GetSafeHdc(), hOld);
    }
  }
  if (blurredCorners) {
    const int L = F.left, T = F.top, Rt = F.right, B = F.bottom;
    const POINT kPairs[4][20] = {
        {{L, T + 1},      {0, -1},         {L + 1, T},     {-1, 0},         {Rt - 2, T},
         {1, 0},          {Rt - 1, T + 1}, {0, -1},        {L + 1, T + 1},  {-1, 0},
         {Rt - 2, T + 1}, {1, 0},          {L + 2, T + 1}, {-1, 0},         {L + 1, T + 2},
         {0, -1},         {Rt - 3, T + 1}, {1, 0},         {Rt - 2, T + 2}, {0, -1}},
        {{L, T + 1},     {0, -1}, {L + 1, T},     {-1, 0}, {L, B - 2},     {0, 1},  {L + 1, B},     {-1, 0},
         {L + 1, T + 1}, {-1, 0}, {L + 1, B - 2}, {-1, 0}, {L + 2, T + 1}, {-1, 0}, {L + 1, T + 2}, {0, -1},
         {L + 2, B - 2}, {-1, 0}, {L + 1, B - 3}, {0, 1}},
        {{L, B - 2},      {0, 1}, {L + 1, B - 1},  {-1, 0}, {Rt - 1, B - 2}, {0, 1},  {Rt - 2, B - 1}, {1, 0},
         {L + 1, B - 2},  {0, 1}, {Rt - 2, B - 2}, {1, 0},  {L + 2, B - 2},  {-1, 0}, {L + 1, B - 3},  {0, 1},
         {Rt - 3, B - 2}, {1, 0}, {Rt - 2, B - 3}, {0, 1}},
        {{Rt - 1, T + 1}, {0, -1}, {Rt - 2, T},     {1, 0}, {Rt - 1, B - 2}, {0, 1}, {Rt - 2, B},     {1, 0},
         {Rt - 2, T + 1}, {1, 0},  {Rt - 2, B - 2}, {1, 0}, {Rt - 3, T + 1}, {1, 0}, {Rt - 2, T + 2}, {0, -1},
         {Rt - 3, B - 2}, {1, 0},  {Rt - 2, B - 3}, {0, 1}},
    };
    CXTPDrawHelpers::BlurPoints(pDC, kPairs[nPosition & 3], 20);
  }
  DrawText(pDC, pItem, pItem->GetRect());
}

// --- style 7: sloped at both ends ---

CRect CXTPTabAppearance7::GetStripMargin() {
  CRect rc = m_rcStripMargin;
  rc.left += m_nTextRowHeight / 2;
  rc.right += m_nTextRowHeight / 2;
  return rc;
}

void CXTPTabAppearance7::DrawTab(CDC *pDC, CXTPTabManagerItem *pItem) {
  CXTPTabColorSet *pColorSet = GetColorSet();
  const int nPosition = pItem->GetTabManager()->GetPosition();
  const CXTPPaintManagerColor(&g)[6] =
      pItem->IsSelected() ? pColorSet->slopeSelected : pColorSet->slopeNormal;
  CRect rc = pItem->GetRect();
  int h;
  if (nPosition == xtpTabPositionTop || nPosition == xtpTabPositionBottom) {
    rc.bottom -= 1;
    h = rc.Height() / 2;
    rc.OffsetRect(-h / 2, 0);
  } else {
    rc.right -= 1;
    h = rc.Width() / 2;
    rc.OffsetRect(0, -h / 2);
  }
  const int L = rc.left, T = rc.top, Rt = rc.right, B = rc.bottom, W = rc.Width(), H = rc.Height();
  // The face reaches past the rectangle by the trailing slope.
  CRect rcFace = rc;
  if (nPosition == xtpTabPositionTop || nPosition == xtpTabPositionBottom)
    rcFace.right += h;
  else
    rcFace.bottom += h;
  COLORREF F = 0;
  switch (nPosition) {
  case xtpTabPositionTop: {
    const POINT pts[] = {{L, B}, {h, -2 * h}, {W - h, 0}, {h, 2 * h}};
    F = FillTabPolygon(pDC, rcFace, pts, 4, pItem, TRUE);
    DrawPolyLineIfColor(pDC, g[3], L + 1, B - 1, L + 1 + h, T);
    DrawPolyLineIfColor(pDC, g[3], L + h, T + 1, Rt, T + 1);
    DrawPolyLineIfColor(pDC, g[4], Rt - 1, T, Rt - 1 + h, B);
    DrawPolyLineIfColor(pDC, g[0], L, B - 1, L + h, T);
    DrawPolyLineIfColor(pDC, g[0], L + h, T, Rt, T);
    DrawPolyLineIfColor(pDC, g[2], Rt, T, Rt + h, B);
    if (pItem->IsSelected()) HorizontalLine(pDC, L, B, W + h, F);
    break;
  }
  case xtpTabPositionLeft: {
    const POINT pts[] = {{Rt, T}, {-2 * h, h}, {0, H - h}, {2 * h, h}};
    F = FillTabPolygon(pDC, rcFace, pts, 4, pItem, TRUE);
    DrawPolyLineIfColor(pDC, g[3], Rt - 1, T + 1, L, T + 1 + h);
    DrawPolyLineIfColor(pDC, g[3], L + 1, T + h, L + 1, B);
    DrawPolyLineIfColor(pDC, g[4], L, B - 1, Rt, B - 1 + h);
    DrawPolyLineIfColor(pDC, g[0], Rt - 1, T, L, T + h);
    DrawPolyLineIfColor(pDC, g[0], L, T + h, L, B);
    DrawPolyLineIfColor(pDC, g[2], L, B, Rt, B + h);
    if (pItem->IsSelected()) VerticalLine(pDC, Rt, T, H + h, F);
    break;
  }
  case xtpTabPositionBottom: {
    const POINT pts[] = {{L, T + 1}, {h, 2 * h}, {W - h, 0}, {h, -2 * h}};
    F = FillTabPolygon(pDC, rcFace, pts, 4, pItem, TRUE);
    DrawPolyLineIfColor(pDC, g[3], L + 1, T + 1, L + 1 + h, B);
    DrawPolyLineIfColor(pDC, g[5], L + h, B - 1, Rt, B - 1);
    DrawPolyLineIfColor(pDC, g[4], Rt - 1, B, Rt - 1 + h, T);
    DrawPolyLineIfColor(pDC, g[0], L, T + 1, L + h, B);
    DrawPolyLineIfColor(pDC, g[1], L + h, B, Rt, B);
    DrawPolyLineIfColor(pDC, g[2], Rt, B, Rt + h, T);
    if (pItem->IsSelected()) HorizontalLine(pDC, L, T, W + h, F);
    break;
  }
  default: {
    const POINT pts[] = {{L + 1, T}, {2 * h, h}, {0, H - h}, {-2 * h, h}};
    F = FillTabPolygon(pDC, rcFace, pts, 4, pItem, TRUE);
    DrawPolyLineIfColor(pDC, g[3], L + 1, T + 1, Rt, T + 1 + h);
    DrawPolyLineIfColor(pDC, g[3], Rt - 1, T + h, Rt - 1, B);
    DrawPolyLineIfColor(pDC, g[4], Rt, B - 1, L, B - 1 + h);
    DrawPolyLineIfColor(pDC, g[0], L + 1, T, Rt, T + h);
    DrawPolyLineIfColor(pDC, g[0], Rt, T + h, Rt, B);
    DrawPolyLineIfColor(pDC, g[2], Rt, B, L, B + h);
    if (pItem->IsSelected()) VerticalLine(pDC, L, T, H + h, F);
    break;
  }
  }
  DrawText(pDC, pItem, rc);
}

// --- style 5: separators and a raised selected tab ---

CRect CXTPTabAppearance5::PaintBackground(CXTPTabManager *pTabManager, CDC *pDC, CRect rcControl) {
  CXTPTabColorSet *pColorSet = GetColorSet();
  return PaintFlatBackground(this, pTabManager, pDC, rcControl, pColorSet->edgeLight,
                             pColorSet->labelSelected);
}

void CXTPTabAppearance5::DrawTab(CDC *pDC, CXTPTabManagerItem *pItem) {
  CXTPTabColorSet *pColorSet = GetColorSet();
  CXTPTabManager *pManager = pItem->GetTabManager();
  CRect rc = pItem->GetRect();
  if (!pItem->IsSelected()) {
    if (pManager->IsHorizontalPosition())
      VerticalLine(pDC, rc.right, rc.top + 2, rc.Height() - 4, pColorSet->edgeDark);
    else
      HorizontalLine(pDC, rc.left + 2, rc.bottom, rc.Width() - 4, pColorSet->edgeDark);
  } else {
    pColorSet->PaintTabFace(pDC, rc, pItem);
    CRect rcEdge = rc;
    InflateRectByPosition(rcEdge, 0, 0, 0, 1, pManager->GetPosition());
    pDC->Draw3dRect(rcEdge, pColorSet->edgeLight, pColorSet->labelSelected);
  }
  DrawText(pDC, pItem, rc);
}

// --- style 4: flat button ---

CRect CXTPTabAppearance4::PaintBackground(CXTPTabManager *pTabManager, CDC *, CRect rcControl) {
  return ComputeStripRect(rcControl, pTabManager);
}

void CXTPTabAppearance4::DrawTab(CDC *pDC, CXTPTabManagerItem *pItem) {
  GetColorSet()->FillFlatButton(pDC, pItem->GetRect(), pItem);
  DrawText(pDC, pItem, pItem->GetRect());
}

// --- styles 3 and 9: slanted tabs ---

CRect CXTPTabAppearance3::GetStripMargin() {
  CRect rc = m_rcStripMargin;
  rc.left += m_nTextRowHeight;
  return rc;
}

CRect CXTPTabAppearance3::PaintBackground(CXTPTabManager *pTabManager, CDC *pDC, CRect rcControl) {
  COLORREF clr = GetColorSet()->slantBorder;
  return PaintFlatBackground(this, pTabManager, pDC, rcControl, clr, clr);
}

void CXTPTabAppearance3::SlantColors(CXTPTabManagerItem *pItem, COLORREF &clrOutline, COLORREF &clrInner,
                                     COLORREF &clrHighlight) const {
  CXTPTabColorSet *pColorSet = GetColorSet();
  clrOutline = pColorSet->slantOutline;
  clrInner = pColorSet->slantFace;
  clrHighlight = pColorSet->slantHighlight;
  if (pItem->IsSelected()) {
    clrOutline = pColorSet->slantBorder;
    clrInner = clrHighlight = 0xFFFFFF;
  }
  if (outlineHotTab && pItem->IsHighlighted())
    clrOutline = clrInner = clrHighlight = pColorSet->flatButtonBorder.clrDark_;
}

void CXTPTabAppearance3::DrawTab(CDC *pDC, CXTPTabManagerItem *pItem) {
  const int nPosition = pItem->GetTabManager()->GetPosition();
  COLORREF clrOutline, clrInner, clrHighlight;
  SlantColors(pItem, clrOutline, clrInner, clrHighlight);
  CRect rc = pItem->GetRect();
  const int W = rc.Width(), H = rc.Height();
  if (nPosition == xtpTabPositionTop) rc.bottom -= 1;
  if (nPosition == xtpTabPositionLeft) rc.right -= 1;
  const int L = rc.left, T = rc.top, Rt = rc.right, B = rc.bottom;
  // The leading slant reaches back over the previous tab.
  CRect rcFace = rc;
  if (nPosition == xtpTabPositionTop || nPosition == xtpTabPositionBottom)
    rcFace.left -= H;
  else
    rcFace.top -= W;
  // The face (its colour given back), its outline, the inner line and the
  // highlight, each list as long as it stands.
  auto drawSlant = [&](const auto &face, const auto &outline, const auto &inner, const auto &highlight) {
    const COLORREF clrFace =
        FillTabPolygon(pDC, rcFace, face, static_cast<int>(std::size(face)), pItem, TRUE);
    DrawPolyLine(pDC, clrOutline, outline, static_cast<int>(std::size(outline)));
    DrawPolyLine(pDC, clrInner, inner, static_cast<int>(std::size(inner)));
    DrawPolyLine(pDC, clrHighlight, highlight, static_cast<int>(std::size(highlight)));
    return clrFace;
  };
  COLORREF F = 0;
  switch (nPosition) {
  case xtpTabPositionTop: {
    const POINT face[] = {{Rt - 1, B}, {0, 2 - H}, {5 - W, 0}, {3 - H, H - 3}};
    const POINT outline[] = {{Rt, B - 1}, {0, 3 - H}, {-2, -2}, {9 - W, 0}, {-5, 2}, {3 - H, H - 3}, {-2, 0}};
    const POINT inner[] = {{Rt - 1, B - 1}, {0, 3 - H}, {-2, -2}};
    const POINT highlight[] = {{Rt - 3, T + 1}, {9 - W, 0}, {-5, 3}, {4 - H, H - 4}};
    F = drawSlant(face, outline, inner, highlight);
    if (pItem->IsSelected()) HorizontalLine(pDC, L - H + 4, B, W + H - 3, F);
    break;
  }
  case xtpTabPositionLeft: {
    const POINT face[] = {{Rt, B - 1}, {2 - W, 0}, {0, 5 - H}, {W - 2, 2 - W}};
    const POINT outline[] = {{Rt - 1, B}, {3 - W, 0}, {-2, -2}, {0, 9 - H}, {2, -5}, {W - 3, 3 - W}, {0, -2}};
    const POINT inner[] = {{Rt - 1, B - 1}, {3 - W, 0}, {-2, -2}};
    const POINT highlight[] = {{L + 1, B - 3}, {0, 9 - H}, {3, -5}, {W - 4, 4 - W}};
    F = drawSlant(face, outline, inner, highlight);
    if (pItem->IsSelected()) VerticalLine(pDC, Rt, T - W + 4, W + H - 3, F);
    break;
  }
  case xtpTabPositionBottom: {
    const POINT face[] = {{Rt - 1, T}, {0, H - 1}, {5 - W, 0}, {3 - H, 2 - H}};
    const POINT outline[] = {{Rt, T + 1}, {0, H - 3}, {-2, 2}, {9 - W, 0}, {-5, -2}, {3 - H, 3 - H}, {-2, 0}};
    const POINT inner[] = {{Rt - 1, T + 1}, {0, H - 3}, {-2, 2}};
    const POINT highlight[] = {{Rt - 3, B - 1}, {9 - W, 0}, {-5, -3}, {4 - H, 4 - H}};
    F = drawSlant(face, outline, inner, highlight);
    if (pItem->IsSelected()) HorizontalLine(pDC, L - H + 4, T, W + H - 3, F);
    break;
  }
  default: {
    const POINT face[] = {{L + 1, B - 1}, {W - 2, 0}, {0, 5 - H}, {2 - W, 2 - W}};
    const POINT outline[] = {{L + 1, B}, {W - 3, 0}, {2, -2}, {0, 9 - H}, {-2, -5}, {3 - W, 3 - W}, {0, -2}};
    const POINT inner[] = {{L + 1, B - 1}, {W - 3, 0}, {2, -2}};
    const POINT highlight[] = {{Rt - 1, B - 3}, {0, 9 - H}, {-3, -5}, {4 - W, 4 - W}};
    F = drawSlant(face, outline, inner, highlight);
    if (pItem->IsSelected()) VerticalLine(pDC, L, T - W + 4, W + H - 3, F);
    break;
  }
  }
  DrawText(pDC, pItem, pItem->GetRect());
}

CRect CXTPTabAppearance9::GetStripMargin() {
  CRect rc = m_rcStripMargin;
  rc.left += m_nTextRowHeight / 2;
  return rc;
}

void CXTPTabAppearance9::DrawTab(CDC *pDC, CXTPTabManagerItem *pItem) {
  const int nPosition = pItem->GetTabManager()->GetPosition();
  COLORREF clrOutline, clrInner, clrHighlight;
  SlantColors(pItem, clrOutline, clrInner, clrHighlight);
  const CRect rc = pItem->GetRect();
  const int L = rc.left, T = rc.top, Rt = rc.right, B = rc.bottom, W = rc.Width(), H = rc.Height();
  const BOOL bHorizontal = nPosition == xtpTabPositionTop || nPosition == xtpTabPositionBottom;
  const int h = bHorizontal ? H / 2 : W / 2;
  // The rounded slant reaches past the tab's trailing end.
  CRect rcFace = rc;
  if (bHorizontal)
    rcFace.right += h;
  else
    rcFace.bottom += h;
  // The face, its outline, the inner line and the highlight, each list as
  // long as it stands.
  auto drawSlant = [&](const auto &shape, const auto &inner, const auto &highlight) {
    FillTabPolygon(pDC, rcFace, shape, static_cast<int>(std::size(shape)), pItem, TRUE);
    DrawPolyLine(pDC, clrOutline, shape, static_cast<int>(std::size(shape)));
    DrawPolyLine(pDC, clrInner, inner, static_cast<int>(std::size(inner)));
    DrawPolyLine(pDC, clrHighlight, highlight, static_cast<int>(std::size(highlight)));
  };
  // The lists stand as given: the bottom and right ones are not mirror
  // images of the top and left ones.
  switch (nPosition) {
  case xtpTabPositionTop: {
    const POINT shape[] = {
        {Rt - 4 + h, B - 1}, {3 - h, 6 - 2 * h}, {-4, -4}, {-3, -1}, {16 - W, 0}, {-3, 1}, {-3, 3},
        {2 - h, 2 * h - 4}};
    const POINT inner[] = {{Rt - 5 + h, B - 1}, {3 - h, 6 - 2 * h}, {-3, -3}, {-3, -1}};
    const POINT highlight[] = {{Rt - 7, B - 2 * h + 1}, {15 - W, 0}, {-3, 1}, {-2, 2}, {2 - h, 2 * h - 4}};
    drawSlant(shape, inner, highlight);
    break;
  }
  case xtpTabPositionLeft: {
    const POINT shape[] = {
        {Rt - 1, B - 4 + h}, {6 - 2 * h, 3 - h}, {-4, -4}, {-1, -3}, {0, 16 - H}, {1, -3}, {3, -3},
        {2 * h - 4, 2 - h}};
    const POINT inner[] = {{Rt - 1, B - 5 + h}, {6 - 2 * h, 3 - h}, {-3, -3}, {-1, -3}};
    const POINT highlight[] = {{Rt - 2 * h + 1, B - 8}, {0, 16 - H}, {1, -3}, {2, -2}, {2 * h - 4, 2 - h}};
    drawSlant(shape, inner, highlight);
    break;
  }
  case xtpTabPositionBottom: {
    const POINT shape[] = {{Rt - 4 + h, T + 1}, {3 - h, 2 * h - 6}, {-4, 4},  {-2, 1},
                           {14 - W, 0},         {-2, -1},           {-3, -3}, {2 - h, 4 - 2 * h}};
    const POINT inner[] = {{Rt - 5 + h, T + 1}, {3 - h, 2 * h - 6}, {-3, 3}, {-2, 1}};
    const POINT highlight[] = {{L + 7, T - 1 + 2 * h}, {-2, -1}, {-2, -2}, {2 - h, 4 - 2 * h}};
    drawSlant(shape, inner, highlight);
    break;
  }
  default: {
    const POINT shape[] = {{L, B - 4 + h}, {2 * h - 5, 3 - h}, {4, -4},  {1, -3},
                           {0, 16 - H},    {-1, -3},           {-3, -3}, {4 - 2 * h, 2 - h}};
    const POINT inner[] = {{L, B - 5 + h}, {2 * h - 5, 3 - h}, {3, -3}, {1, -3}, {0, 14 - H}};
    const POINT highlight[] = {{L - 2 + 2 * h, T + 5}, {-2, -2}, {4 - 2 * h, 2 - h}};
    drawSlant(shape, inner, highlight);
    break;
  }
  }
  DrawText(pDC, pItem, rc);
}

// --- style 8: tabs stacked as a list ---

void CXTPTabAppearance8::DrawTab(CDC *pDC, CXTPTabManagerItem *pItem) {
  CXTPTabColorSet *pColorSet = GetColorSet();
  CRect rc = pItem->GetRect();
  pColorSet->PaintTabFace(pDC, rc, pItem);
  pDC->Draw3dRect(rc, pColorSet->edgeLight, pColorSet->edgeDark);
  for (int y = rc.top + 4; y < rc.bottom - 3; y += 2)
    HorizontalLine(pDC, rc.right - 7, y, 3, XTPGetColor(XPCOLOR_TOOLBAR_GRIPPER));
  rc.right -= 7;
  DrawText(pDC, pItem, rc);
}

void CXTPTabAppearance8::DrawControl(CXTPTabManager *pTabManager, CDC *pDC, CRect rcControl) {
  CXTPTabColorSet *pColorSet = GetColorSet();
  pDC->FillSolidRect(rcControl, pColorSet->edgeFace);
  DeflateRectByPosition(rcControl, m_pPaintManager->m_rcControlMargin, pTabManager->GetPosition());
  ClipSaver clip(pDC);
  if (m_pPaintManager->m_clientFrame == 2) {
    if (pTabManager->GetItemCount() > 0)
      HorizontalLine(pDC, rcControl.left, rcControl.top, rcControl.Width(), pColorSet->edgeDark);
  } else {
    pDC->Draw3dRect(rcControl, pColorSet->edgeDark, pColorSet->edgeDark);
  }
  pDC->SetBkMode(TRANSPARENT);
  CRect rcClip;
  pDC->GetClipBox(&rcClip);
  for (int i = pTabManager->GetItemCount() - 1; i >= 0; i--) {
    CXTPTabManagerItem *pItem = pTabManager->GetItem(i);
    CRect rcItem = pItem->GetRect(), rcMeet;
    if (!rcItem.IsRectEmpty() && rcMeet.IntersectRect(rcItem, rcClip)) DrawTab(pDC, pItem);
  }
}

void CXTPTabAppearance8::LayoutTabs(CXTPTabManager *pTabManager, CDC *pDC, CRect rcControl) {
  DeflateRectByPosition(rcControl, m_pPaintManager->m_rcControlMargin, pTabManager->GetPosition());
  const int n = pTabManager->GetItemCount();
  if (n == 0) return;
  const int h = GetRowHeight(pTabManager);
  const int left = m_pPaintManager->m_clientFrame == 2 ? rcControl.left : rcControl.left + 1;
  const int right = rcControl.right;
  int y = rcControl.top + 1;
  for (int i = 0; i < n; i++) {
    CXTPTabManagerItem *pItem = pTabManager->GetItem(i);
    int nLength = MeasureTab(pDC, pItem);
    pItem->SetButtonLength(nLength);
    pItem->SetContentLength(nLength);
    pItem->SetRect(CRect(left, y, right, y + h));
    y += h;
    if (pItem->IsSelected())
      y = std::max(y, std::min(std::max(y + h, static_cast<int>(rcControl.bottom) - (n - i - 1) * h),
                               static_cast<int>(rcControl.bottom) - 1));
  }
}

CRect CXTPTabAppearance8::ComputeClientRect(CRect rcControl, CXTPTabManager *pTabManager) {
  CRect rc = rcControl;
  const int n = pTabManager->GetItemCount();
  const BOOL bFramed = m_pPaintManager->m_clientFrame != 2;
  if (CXTPTabManagerItem *pSelected = pTabManager->GetSelectedItem()) {
    const int h = GetRowHeight(pTabManager), k = pSelected->GetIndex();
    rc.top += (k + 1) * h + 1;
    rc.bottom = std::max(static_cast<int>(rc.bottom) - (n - k - 1) * h, static_cast<int>(rc.top) + h);
    if (k == n - 1 && bFramed) rc.bottom -= 1;
  }
  if (bFramed) rc.DeflateRect(1, 0);
  return rc;
}

void CXTPTabAppearance8::ShrinkToClient(CXTPTabManager *pTabManager, CRect &rcControl) {
  const int nPosition = pTabManager->GetPosition();
  DeflateRectByPosition(rcControl, m_pPaintManager->m_rcControlMargin, nPosition);
  rcControl = ComputeClientRect(rcControl, pTabManager);
  DeflateRectByPosition(rcControl, GetClientPadding(), nPosition);
}
