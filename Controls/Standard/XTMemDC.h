// CXTMemDC: an off-screen copy of a rectangle of a device context, drawn
// into with the target's coordinates and copied back when it ends.
#pragma once

#include "FrameworkCore.h"
#include "Dc.h"

class CXTMemDC : public CDC {
public:
  // An empty rectangle takes the target's clip box; clrColor (COLORREF)-1
  // leaves the buffer unfilled.
  CXTMemDC(CDC *pDC, const CRect &rect, COLORREF clrColor = static_cast<COLORREF>(-1));
  ~CXTMemDC() override;

  BOOL IsValid() const { return m_bValid; }
  // Drops the buffer without copying it to the target.
  void Discard() { m_bValid = FALSE; }
  const CRect &GetRect() const { return m_rc; }

private:
  HDC m_hDestDC;
  CRect m_rc;
  HBITMAP m_hBitmap = nullptr;
  HGDIOBJ m_hOldBitmap = nullptr;
  BOOL m_bValid = FALSE;
};
