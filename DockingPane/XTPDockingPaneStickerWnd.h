// CXTPDockingPaneStickerWnd: one of the docking stickers a translucent drag
// shows, the small arrow windows a pane is dropped on. The cross sticker sits
// in the middle of the container under the cursor (its four arrows and, for a
// container, the centre that joins its tabs); the four side stickers sit at
// the edges of the whole docked area. Each window is cut to the shape of its
// picture and knows which of its parts lies under a point.
#pragma once
#include "Wnd.h"

class CXTPDockingPaneStickerWnd : public CWnd {
public:
  // The parts of a sticker, as bits of its mask and as its hot part.
  enum Part { partNone = 0, partLeft = 1, partRight = 2, partTop = 4, partBottom = 8, partCentre = 16 };
  // The cross sticker's size; a mask with all four side bits is a cross.
  static const int kCrossSize = 93;

  explicit CXTPDockingPaneStickerWnd(DWORD dwMask) : m_dwMask(dwMask) {}
  ~CXTPDockingPaneStickerWnd() override;
  CXTPDockingPaneStickerWnd(const CXTPDockingPaneStickerWnd &) = delete;
  CXTPDockingPaneStickerWnd &operator=(const CXTPDockingPaneStickerWnd &) = delete;

  // A tool window owned by pOwner at rc (screen), cut to hRgnShape (copied),
  // shown without being activated.
  BOOL Create(CWnd *pOwner, const CRect &rc, HRGN hRgnShape);

  DWORD GetMask() const { return m_dwMask; }
  BOOL IsCross() const { return IsCrossMask(m_dwMask); }
  static BOOL IsCrossMask(DWORD dwMask) { return (dwMask & 15) == 15; }
  int GetHotPart() const { return m_nHotPart; }
  void SetHotPart(int nPart);

  // Draws the sticker's parts (the hot one lit) into hDC at (0, 0).
  void DrawStickers(HDC hDC) const;
  // The part under ptScreen, pixel by pixel; 0 for none.
  int HitTest(CPoint ptScreen) const;

  // The region of the sticker's picture at its size: every pixel that is not
  // black. The caller owns it.
  static HRGN CreateShapeRegion(DWORD dwMask, CSize size);
  // The size of the window of a sticker with this mask.
  static CSize GetStickerSize(DWORD dwMask);

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  DWORD m_dwMask;
  int m_nHotPart = partNone;
};
