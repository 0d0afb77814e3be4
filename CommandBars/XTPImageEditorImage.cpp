#include "XTPImageEditorImage.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "XTPDrawHelpers.h"

CSize XTPImageEditorCellSize(CSize szClient, CSize szPicture) {
  const int cx = szPicture.cx > 0 ? szClient.cx / szPicture.cx : 0;
  const int cy = szPicture.cy > 0 ? szClient.cy / szPicture.cy : 0;
  return CSize(std::max(cx, 1), std::max(cy, 1));
}

CSize XTPImageEditorGridSize(CSize szCell, CSize szPicture) {
  return CSize(szCell.cx * szPicture.cx + 1, szCell.cy * szPicture.cy + 1);
}

CPoint XTPImageEditorCellAt(CPoint pt, CSize szCell) {
  // Floor division, so a point left of or above the grid is outside the picture.
  auto floorDiv = [](int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
  return CPoint(floorDiv(pt.x, std::max<int>(szCell.cx, 1)), floorDiv(pt.y, std::max<int>(szCell.cy, 1)));
}

std::vector<CPoint> XTPImageEditorCellsBetween(CPoint ptFrom, CPoint ptTo) {
  std::vector<CPoint> cells;
  const int dx = std::abs(ptTo.x - ptFrom.x), dy = -std::abs(ptTo.y - ptFrom.y);
  const int sx = ptFrom.x < ptTo.x ? 1 : -1, sy = ptFrom.y < ptTo.y ? 1 : -1;
  int err = dx + dy;
  CPoint pt = ptFrom;
  for (;;) {
    cells.push_back(pt);
    if (pt.x == ptTo.x && pt.y == ptTo.y) break;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      pt.x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      pt.y += sy;
    }
  }
  return cells;
}

CXTPImageEditorImage::CXTPImageEditorImage(int cx, int cy, BOOL bAlpha)
    : m_cx(std::max(cx, 0)), m_cy(std::max(cy, 0)), m_bAlpha(bAlpha),
      m_pixels(static_cast<size_t>(m_cx) * m_cy, XTPImageEditorPixel(XTP_IMAGEEDITOR_TRANSPARENT)) {}

BOOL CXTPImageEditorImage::IsTransparent(int x, int y) const {
  return (GetPixel(x, y) & 0xFFFFFF) == XTPImageEditorPixel(XTP_IMAGEEDITOR_TRANSPARENT);
}

std::unique_ptr<CXTPImageEditorImage> CXTPImageEditorImage::Copy(int cx, int cy, int dx, int dy,
                                                                 COLORREF clrFrom, COLORREF clrTo) const {
  auto pCopy = std::make_unique<CXTPImageEditorImage>(cx, cy, m_bAlpha);
  for (int y = 0; y < m_cy; y++) {
    for (int x = 0; x < m_cx; x++) {
      if (pCopy->Contains(CPoint(x + dx, y + dy))) pCopy->SetPixel(x + dx, y + dy, GetPixel(x, y));
    }
  }
  if (clrFrom != clrTo && !m_bAlpha) {
    const DWORD dwFrom = XTPImageEditorPixel(clrFrom), dwTo = XTPImageEditorPixel(clrTo);
    for (DWORD &dw : pCopy->m_pixels) {
      if ((dw & 0xFFFFFF) == dwFrom) dw = dwTo;
    }
  }
  return pCopy;
}

void CXTPImageEditorImage::FloodFill(CPoint pt, DWORD dwPixel) {
  if (!Contains(pt)) return;
  const DWORD dwOld = GetPixel(pt.x, pt.y);
  if (dwOld == dwPixel) return;
  std::vector<CPoint> stack{pt};
  while (!stack.empty()) {
    const CPoint p = stack.back();
    stack.pop_back();
    if (!Contains(p) || GetPixel(p.x, p.y) != dwOld) continue;
    SetPixel(p.x, p.y, dwPixel);
    stack.push_back(CPoint(p.x + 1, p.y));
    stack.push_back(CPoint(p.x - 1, p.y));
    stack.push_back(CPoint(p.x, p.y + 1));
    stack.push_back(CPoint(p.x, p.y - 1));
  }
}

void CXTPImageEditorImage::CleanAlpha() {
  if (!m_bAlpha) return;
  for (DWORD &dw : m_pixels) {
    if (dw == 0) dw = XTPImageEditorPixel(XTP_IMAGEEDITOR_TRANSPARENT);
  }
}

void CXTPImageEditorImage::MarkOpaque(const CXTPImageEditorImage *pBefore) {
  if (!m_bAlpha) return;
  const DWORD dwTransparent = XTPImageEditorPixel(XTP_IMAGEEDITOR_TRANSPARENT);
  for (int y = 0; y < m_cy; y++) {
    for (int x = 0; x < m_cx; x++) {
      const DWORD dw = GetPixel(x, y);
      const BOOL bChanged = !pBefore || !pBefore->Contains(CPoint(x, y)) || pBefore->GetPixel(x, y) != dw;
      if (bChanged && (dw & 0xFFFFFF) != dwTransparent) SetPixel(x, y, dw | 0xFF000000);
    }
  }
}

HBITMAP CXTPImageEditorImage::CreateBitmap() const {
  if (m_cx <= 0 || m_cy <= 0) return nullptr;
  BITMAPINFO bmi = TopDownBitmapInfo(m_cx, m_cy);
  void *pBits = nullptr;
  HBITMAP hBitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
  if (hBitmap && pBits) std::memcpy(pBits, m_pixels.data(), m_pixels.size() * sizeof(DWORD));
  ::GdiFlush();
  return hBitmap;
}

std::unique_ptr<CXTPImageEditorImage> CXTPImageEditorImage::FromBitmap(HBITMAP hBitmap, BOOL bAlpha) {
  BITMAP bm{};
  if (!hBitmap || !::GetObject(hBitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight == 0)
    return nullptr;
  const int cx = bm.bmWidth, cy = std::abs(bm.bmHeight);
  auto pImage = std::make_unique<CXTPImageEditorImage>(cx, cy, bAlpha);
  BITMAPINFO bmi = TopDownBitmapInfo(cx, cy);
  HDC hDC = ::GetDC(nullptr);
  const int nLines = ::GetDIBits(hDC, hBitmap, 0, cy, pImage->m_pixels.data(), &bmi, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, hDC);
  if (nLines != cy) return nullptr;
  if (!bAlpha) {
    for (DWORD &dw : pImage->m_pixels) dw &= 0xFFFFFF;
  }
  return pImage;
}

template <class Draw> void CXTPImageEditorImage::DrawWithGdi(Draw draw) {
  HBITMAP hBitmap = CreateBitmap();
  if (!hBitmap) return;
  HDC hDC = ::CreateCompatibleDC(nullptr);
  HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
  draw(hDC);
  ::GdiFlush();
  ::SelectObject(hDC, hOld);
  ::DeleteDC(hDC);
  // GDI leaves alpha bytes as they were or clears them; the colour is what counts.
  std::vector<DWORD> before = m_pixels;
  DIBSECTION ds{};
  if (::GetObject(hBitmap, sizeof(ds), &ds) && ds.dsBm.bmBits) {
    const DWORD *pBits = static_cast<const DWORD *>(ds.dsBm.bmBits);
    for (size_t i = 0; i < m_pixels.size(); i++) {
      if ((pBits[i] & 0xFFFFFF) != (before[i] & 0xFFFFFF)) m_pixels[i] = pBits[i] & 0xFFFFFF;
    }
  }
  ::DeleteObject(hBitmap);
}

void CXTPImageEditorImage::DrawLine(CPoint ptFrom, CPoint ptTo, COLORREF clr) {
  DrawWithGdi([&](HDC hDC) {
    HPEN hPen = ::CreatePen(PS_SOLID, 1, clr);
    HGDIOBJ hOld = ::SelectObject(hDC, hPen);
    ::MoveToEx(hDC, ptFrom.x, ptFrom.y, nullptr);
    ::LineTo(hDC, ptTo.x, ptTo.y);
    ::SelectObject(hDC, hOld);
    ::DeleteObject(hPen);
  });
}

void CXTPImageEditorImage::DrawRectangle(CRect rc, COLORREF clr) {
  rc.NormalizeRect();
  DrawWithGdi([&](HDC hDC) {
    HBRUSH hBrush = ::CreateSolidBrush(clr);
    ::FrameRect(hDC, &rc, hBrush);
    ::DeleteObject(hBrush);
  });
}

void CXTPImageEditorImage::DrawEllipse(CRect rc, COLORREF clr) {
  rc.NormalizeRect();
  DrawWithGdi([&](HDC hDC) {
    HPEN hPen = ::CreatePen(PS_SOLID, 1, clr);
    HBRUSH hBrush = ::CreateSolidBrush(XTP_IMAGEEDITOR_TRANSPARENT);
    HGDIOBJ hOldPen = ::SelectObject(hDC, hPen), hOldBrush = ::SelectObject(hDC, hBrush);
    ::Ellipse(hDC, rc.left, rc.top, rc.right, rc.bottom);
    ::SelectObject(hDC, hOldPen);
    ::SelectObject(hDC, hOldBrush);
    ::DeleteObject(hPen);
    ::DeleteObject(hBrush);
  });
}

void CXTPImageEditorImage::DrawIcon(HICON hIcon) {
  DrawWithGdi([&](HDC hDC) { ::DrawIconEx(hDC, 0, 0, hIcon, m_cx, m_cy, 0, nullptr, DI_NORMAL); });
}
