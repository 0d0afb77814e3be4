// Where a text's ink lies in a picture of it: how wide a cell's text is
// drawn, beside how wide it is drawn whole.
#pragma once

#include <windows.h>

#include <algorithm>
#include <climits>

#include "Framework.h"

// The columns of a row's pixels that hold text: darker than any background or
// grid line the list draws.
struct Ink {
  int first = INT_MAX;
  int last = INT_MIN;
  int Width() const { return last >= first ? last - first + 1 : 0; }
};

inline Ink InkIn(HDC dc, const CRect &rect) {
  Ink ink;
  for (int x = rect.left; x < rect.right; ++x)
    for (int y = rect.top; y < rect.bottom; ++y) {
      const COLORREF c = ::GetPixel(dc, x, y);
      if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 100) {
        ink.first = std::min(ink.first, x);
        ink.last = std::max(ink.last, x);
        break;
      }
    }
  return ink;
}

// How wide the text's ink is, drawn whole in the font on white.
inline int WholeInkWidth(HFONT font, const CString &text) {
  HDC dc = ::CreateCompatibleDC(nullptr);
  HBITMAP bitmap = ::CreateBitmap(800, 40, 1, 32, nullptr);
  HGDIOBJ oldBitmap = ::SelectObject(dc, bitmap);
  HGDIOBJ oldFont = ::SelectObject(dc, font);
  CRect all(0, 0, 800, 40);
  ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  ::SetTextColor(dc, RGB(0, 0, 0));
  CRect at(20, 0, 800, 40);
  ::DrawTextW(dc, text, -1, &at, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP);
  const int width = InkIn(dc, all).Width();
  ::SelectObject(dc, oldFont);
  ::SelectObject(dc, oldBitmap);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
  return width;
}
