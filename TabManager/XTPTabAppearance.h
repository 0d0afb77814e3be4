// CXTPTabAppearance: the geometry of a tab strip and the shape of its tabs:
// how tall a row is, where the strip lies in the control, where the client
// area begins, what the margins take, how the background is painted and how
// one tab is drawn. The ten styles derive from it (XTPTabAppearanceStyles.h);
// the paint manager keeps the generic layout and the drawing order.
#pragma once

#include "FrameworkCore.h"
#include "Dc.h"

#include "XTPTabManager.h"

class CXTPTabPaintManager;
class CXTPTabColorSet;

class CXTPTabAppearance {
public:
  CXTPTabAppearance() = default;
  virtual ~CXTPTabAppearance() = default;
  CXTPTabAppearance(const CXTPTabAppearance &) = delete;
  CXTPTabAppearance &operator=(const CXTPTabAppearance &) = delete;

  virtual void RefreshMetrics();
  virtual CRect ComputeStripRect(CRect rcControl, CXTPTabManager *pTabManager);
  virtual CRect ComputeClientRect(CRect rcControl, CXTPTabManager *pTabManager);
  virtual CRect GetStripMargin() { return m_rcStripMargin; }
  virtual CRect GetClientPadding();
  virtual int MeasureTab(CDC *pDC, CXTPTabManagerItem *pItem);
  virtual int GetRowHeight(CXTPTabManager *pTabManager);
  virtual void DrawControl(CXTPTabManager *pTabManager, CDC *pDC, CRect rcControl);
  // Paints the strip and the client frame; returns the strip rectangle.
  virtual CRect PaintBackground(CXTPTabManager *pTabManager, CDC *pDC, CRect rcControl);
  virtual void LayoutTabs(CXTPTabManager *pTabManager, CDC *pDC, CRect rcControl);
  virtual void ShrinkToClient(CXTPTabManager *pTabManager, CRect &rcControl);
  virtual void DrawTab(CDC *pDC, CXTPTabManagerItem *pItem);
  virtual void DrawWorkspaceFramePart(CDC *pDC, CRect *pRect, int nPart);
  virtual int GetStyleConstant() { return 31; }
  virtual int GetPreferredColorSet() { return 1; }

  void SetOwner(CXTPTabPaintManager *pOwner) { m_pPaintManager = pOwner; }
  CXTPTabPaintManager *GetOwner() const { return m_pPaintManager; }
  CXTPTabColorSet *GetColorSet() const;
  int GetTextRowHeight() const { return m_nTextRowHeight; }
  int GetRowSpacing() const { return m_nRowSpacing; }
  BOOL IsDrawLeftToRight() const { return m_bDrawLeftToRight; }

  // Growing by amounts told for a top strip, turned to the real position:
  // "t" is the outer edge, "b" the edge next to the client area.
  static void InflateRectByPosition(CRect &rc, int l, int t, int r, int b, int nPosition);
  static void DeflateRectByPosition(CRect &rc, int l, int t, int r, int b, int nPosition) {
    InflateRectByPosition(rc, -l, -t, -r, -b, nPosition);
  }
  static void InflateRectByPosition(CRect &rc, const CRect &rcBy, int nPosition) {
    InflateRectByPosition(rc, rcBy.left, rcBy.top, rcBy.right, rcBy.bottom, nPosition);
  }
  static void DeflateRectByPosition(CRect &rc, const CRect &rcBy, int nPosition) {
    InflateRectByPosition(rc, -rcBy.left, -rcBy.top, -rcBy.right, -rcBy.bottom, nPosition);
  }

  // One-pixel lines and points; nothing for an unset colour (0xFFFFFFFF).
  static void HorizontalLine(CDC *pDC, int x, int y, int nLength, COLORREF clr);
  static void VerticalLine(CDC *pDC, int x, int y, int nLength, COLORREF clr);
  static void SetPixelColor(CDC *pDC, int x, int y, COLORREF clr);
  // One line along the client frame's side next to the strip.
  static void DrawClientEdge(CDC *pDC, const CRect &rc, int nPosition, COLORREF clrTopLeft,
                             COLORREF clrBottomRight);
  // A first point followed by steps relative to the point before.
  static void DrawPolyLine(CDC *pDC, COLORREF clr, const POINT *pts, int nCount);
  static void DrawPolyLineIfColor(CDC *pDC, COLORREF clr, int x1, int y1, int x2, int y2);
  static void Draw3dRectIfColor(CDC *pDC, const CRect &rc, COLORREF clrTopLeft, COLORREF clrBottomRight);
  // Fills the tab's face clipped to the polygon (first point and steps,
  // offset by the rectangle's corner unless bAbsolute); returns the face colour.
  COLORREF FillTabPolygon(CDC *pDC, const CRect &rc, const POINT *pts, int nCount, CXTPTabManagerItem *pItem,
                          BOOL bAbsolute);

protected:
  // The paint manager's icon-and-text drawing of the tab in rc.
  void DrawText(CDC *pDC, CXTPTabManagerItem *pItem, const CRect &rc);

  CRect m_rcStripMargin{2, 3, 6, 0};
  int m_nRowSpacing = -2;
  int m_nTextRowHeight = 18;
  CXTPTabPaintManager *m_pPaintManager = nullptr;
  BOOL m_bDrawLeftToRight = FALSE;
};

// The appearance of an id; any id outside 0 to 9 gives style 0.
CXTPTabAppearance *XTPCreateTabAppearance(int nAppearance);
