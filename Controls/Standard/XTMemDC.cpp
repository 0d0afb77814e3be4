#include "XTMemDC.h"

#include "XTPDrawHelpers.h"

CXTMemDC::CXTMemDC(CDC *pDC, const CRect &rect, COLORREF clrColor)
    : m_hDestDC(pDC->GetSafeHdc()), m_rc(rect) {
  if (m_rc.IsRectEmpty()) ::GetClipBox(m_hDestDC, &m_rc);
  if (m_rc.IsRectEmpty()) return;
  HDC hDC = ::CreateCompatibleDC(m_hDestDC);
  if (!hDC) return;
  m_hBitmap = CreateBufferBitmap(m_rc.Width(), m_rc.Height());
  if (!m_hBitmap) {
    ::DeleteDC(hDC);
    return;
  }
  Attach(hDC);
  m_hOldBitmap = ::SelectObject(hDC, m_hBitmap);
  // Callers draw in the target's coordinates.
  ::SetViewportOrgEx(hDC, -m_rc.left, -m_rc.top, nullptr);
  if (clrColor != static_cast<COLORREF>(-1)) {
    HBRUSH hBrush = ::CreateSolidBrush(clrColor);
    ::FillRect(hDC, &m_rc, hBrush);
    ::DeleteObject(hBrush);
  }
  m_bValid = TRUE;
}

CXTMemDC::~CXTMemDC() {
  HDC hDC = Detach();
  if (!hDC) return;
  if (m_bValid)
    ::BitBlt(m_hDestDC, m_rc.left, m_rc.top, m_rc.Width(), m_rc.Height(), hDC, m_rc.left, m_rc.top, SRCCOPY);
  ::SelectObject(hDC, m_hOldBitmap);
  ::DeleteObject(m_hBitmap);
  ::DeleteDC(hDC);
}
