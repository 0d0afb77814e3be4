#include "GalleryIcon.h"

HICON MakeGalleryIcon(CSize size, const std::function<void(HDC hDC, BOOL bMask)> &paint) {
  HDC hScreen = ::GetDC(nullptr);
  HBITMAP hColor = ::CreateCompatibleBitmap(hScreen, size.cx, size.cy);
  ::ReleaseDC(nullptr, hScreen);
  HBITMAP hMask = ::CreateBitmap(size.cx, size.cy, 1, 1, nullptr);
  HDC hDC = ::CreateCompatibleDC(nullptr);
  RECT rc = {0, 0, size.cx, size.cy};
  // Black colour under a white (transparent) mask leaves the background as it is.
  HGDIOBJ hOld = ::SelectObject(hDC, hMask);
  ::FillRect(hDC, &rc, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  paint(hDC, TRUE);
  ::SelectObject(hDC, hColor);
  ::FillRect(hDC, &rc, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  paint(hDC, FALSE);
  ::SelectObject(hDC, hOld);
  ::DeleteDC(hDC);
  ICONINFO info = {TRUE, 0, 0, hMask, hColor};
  HICON hIcon = ::CreateIconIndirect(&info);
  ::DeleteObject(hColor);
  ::DeleteObject(hMask);
  return hIcon;
}

HICON MakeGallerySquareIcon(COLORREF clr) {
  const int s = 16;
  return MakeGalleryIcon(CSize(s, s), [clr](HDC hDC, BOOL bMask) {
    RECT rcInk = {2, 2, s - 2, s - 2};
    if (bMask) {
      ::FillRect(hDC, &rcInk, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
      return;
    }
    HBRUSH hBrush = ::CreateSolidBrush(clr);
    ::FillRect(hDC, &rcInk, hBrush);
    ::DeleteObject(hBrush);
    ::FrameRect(hDC, &rcInk, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
  });
}
