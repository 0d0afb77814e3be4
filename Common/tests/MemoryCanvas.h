// A 32-bit memory device context for pixel probes.
#pragma once

#include "Dc.h"

#include <vector>

// A 32-bit top-down DIB selected into a memory DC, wrapped for the helpers.
class MemoryCanvas {
public:
  MemoryCanvas(int width, int height, COLORREF fill = 0xFFFFFF) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    m_hBitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_bits = static_cast<const DWORD *>(bits);
    m_hDC = CreateCompatibleDC(nullptr);
    m_hOld = SelectObject(m_hDC, m_hBitmap);
    RECT rc = {0, 0, width, height};
    HBRUSH hBrush = CreateSolidBrush(fill);
    FillRect(m_hDC, &rc, hBrush);
    DeleteObject(hBrush);
    dc.Attach(m_hDC);
  }
  ~MemoryCanvas() {
    dc.Detach();
    SelectObject(m_hDC, m_hOld);
    DeleteDC(m_hDC);
    DeleteObject(m_hBitmap);
  }
  COLORREF Pixel(int x, int y) const { return GetPixel(m_hDC, x, y); }
  // The pixels, rows top down, as 0x00RRGGBB (after GdiFlush).
  const DWORD *Bits() const { return m_bits; }

  CDC dc;

private:
  HBITMAP m_hBitmap;
  HDC m_hDC;
  HGDIOBJ m_hOld;
  const DWORD *m_bits = nullptr;
};

// A window's pixels as the screen shows it, frame, scroll bars and children
// included, rows top down.
inline std::vector<DWORD> WindowOnScreen(HWND window) {
  RECT place;
  ::GetWindowRect(window, &place);
  const int width = place.right - place.left, height = place.bottom - place.top;
  MemoryCanvas canvas(width, height);
  HDC screen = ::GetWindowDC(window);
  ::BitBlt(canvas.dc.m_hDC, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  ::ReleaseDC(window, screen);
  ::GdiFlush();
  return std::vector<DWORD>(canvas.Bits(), canvas.Bits() + width * height);
}
