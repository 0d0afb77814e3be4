// CXTPImageEditorImage: the pixels the button editor paints on, and the
// grid arithmetic the editor's controls share. Pixels are kept as 32-bit
// device-independent values (0xAARRGGBB), rows from the top; one reserved
// colour stands for "transparent" in an ordinary picture, while an alpha
// picture carries its transparency per pixel as well.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "Geometry.h"

// RGB(255, 254, 255): symmetric, so its colour value and its pixel value agree.
constexpr COLORREF XTP_IMAGEEDITOR_TRANSPARENT = RGB(255, 254, 255);

// The pixel value of a colour (alpha 0) and back.
inline DWORD XTPImageEditorPixel(COLORREF clr) {
  return (static_cast<DWORD>(GetRValue(clr)) << 16) | (static_cast<DWORD>(GetGValue(clr)) << 8) |
         GetBValue(clr);
}
inline COLORREF XTPImageEditorColor(DWORD dwPixel) {
  return RGB((dwPixel >> 16) & 0xFF, (dwPixel >> 8) & 0xFF, dwPixel & 0xFF);
}

// Screen pixels per picture pixel in a grid control of a client size. A
// picture larger than the grid would give 0 and divide by zero later, so
// each direction is kept at 1 at least (the grid then grows past its frame);
// an empty picture or client gives 1 as well.
CSize XTPImageEditorCellSize(CSize szClient, CSize szPicture);
// The grid control's size for a cell size: one line more each way for the frame.
CSize XTPImageEditorGridSize(CSize szCell, CSize szPicture);
// The picture cell under a client point (may lie outside the picture).
CPoint XTPImageEditorCellAt(CPoint pt, CSize szCell);
// The cells from one to the other, both ends included, in order: a pencil
// stroke joins the cells of successive mouse messages with them, so a fast
// mouse leaves no gaps.
std::vector<CPoint> XTPImageEditorCellsBetween(CPoint ptFrom, CPoint ptTo);

class CXTPImageEditorImage {
public:
  // A picture of the size filled with the transparent colour.
  CXTPImageEditorImage(int cx, int cy, BOOL bAlpha = FALSE);

  int Width() const { return m_cx; }
  int Height() const { return m_cy; }
  CSize GetSize() const { return CSize(m_cx, m_cy); }
  BOOL HasAlpha() const { return m_bAlpha; }
  void SetAlpha(BOOL bAlpha) { m_bAlpha = bAlpha; }
  BOOL Contains(CPoint pt) const { return pt.x >= 0 && pt.y >= 0 && pt.x < m_cx && pt.y < m_cy; }

  DWORD GetPixel(int x, int y) const { return m_pixels[static_cast<size_t>(y) * m_cx + x]; }
  void SetPixel(int x, int y, DWORD dwPixel) { m_pixels[static_cast<size_t>(y) * m_cx + x] = dwPixel; }
  COLORREF GetColor(int x, int y) const { return XTPImageEditorColor(GetPixel(x, y)); }
  BOOL IsTransparent(int x, int y) const;
  const std::vector<DWORD> &Pixels() const { return m_pixels; }

  // A copy of cx by cy: the source at (dx, dy) over the transparent colour,
  // cut where it does not fit; then, in an ordinary picture, one colour
  // replaced by another.
  std::unique_ptr<CXTPImageEditorImage> Copy(int cx, int cy, int dx = 0, int dy = 0,
                                             COLORREF clrFrom = XTP_IMAGEEDITOR_TRANSPARENT,
                                             COLORREF clrTo = XTP_IMAGEEDITOR_TRANSPARENT) const;
  std::unique_ptr<CXTPImageEditorImage> Clone() const { return Copy(m_cx, m_cy); }

  // Replaces the 4-connected area of the start pixel's value.
  void FloodFill(CPoint pt, DWORD dwPixel);
  // Pixels of value 0 in an alpha picture are transparent.
  void CleanAlpha();
  // After a stroke on an alpha picture: what changed and is not transparent is opaque.
  void MarkOpaque(const CXTPImageEditorImage *pBefore);

  // Shapes through the platform's drawing on a device-independent copy, so
  // lines and ellipses look as the system draws them. The rectangle is
  // normalised; its right and bottom edges are exclusive.
  void DrawLine(CPoint ptFrom, CPoint ptTo, COLORREF clr);
  void DrawRectangle(CRect rc, COLORREF clr);
  void DrawEllipse(CRect rc, COLORREF clr);
  // An icon drawn at (0, 0).
  void DrawIcon(HICON hIcon);

  // A top-down 32-bit DIB section holding the pixels (the caller owns it).
  HBITMAP CreateBitmap() const;
  // The pixels of any bitmap at its own size, or null.
  static std::unique_ptr<CXTPImageEditorImage> FromBitmap(HBITMAP hBitmap, BOOL bAlpha);

private:
  template <class Draw> void DrawWithGdi(Draw draw);

  int m_cx;
  int m_cy;
  BOOL m_bAlpha;
  std::vector<DWORD> m_pixels;
};
