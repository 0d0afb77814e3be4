// CPoint, CSize and CRect: the Windows POINT, SIZE and RECT with arithmetic.
#pragma once

#include <windows.h>

#include <utility>

class CSize;
class CRect;

class CPoint : public POINT {
public:
  CPoint() : POINT{0, 0} {}
  CPoint(int initX, int initY) : POINT{initX, initY} {}
  CPoint(POINT initPt) : POINT(initPt) {}
  CPoint(SIZE initSize) : POINT{initSize.cx, initSize.cy} {}
  explicit CPoint(DWORD dwPoint)
      : POINT{static_cast<short>(LOWORD(dwPoint)), static_cast<short>(HIWORD(dwPoint))} {}

  void Offset(int xOffset, int yOffset) {
    x += xOffset;
    y += yOffset;
  }
  void Offset(POINT point) { Offset(point.x, point.y); }
  void Offset(SIZE size) { Offset(size.cx, size.cy); }
  void SetPoint(int X, int Y) {
    x = X;
    y = Y;
  }

  bool operator==(POINT point) const { return x == point.x && y == point.y; }
  bool operator!=(POINT point) const { return !(*this == point); }
  void operator+=(SIZE size) { Offset(size); }
  void operator-=(SIZE size) { Offset(-size.cx, -size.cy); }
  void operator+=(POINT point) { Offset(point); }
  void operator-=(POINT point) { Offset(-point.x, -point.y); }
  inline CPoint operator+(SIZE size) const;
  inline CPoint operator-(SIZE size) const;
  inline CPoint operator-() const { return CPoint(-x, -y); }
  inline CPoint operator+(POINT point) const { return CPoint(x + point.x, y + point.y); }
  inline CSize operator-(POINT point) const;
  inline CRect operator+(const RECT *lpRect) const;
  inline CRect operator-(const RECT *lpRect) const;
};

class CSize : public SIZE {
public:
  CSize() : SIZE{0, 0} {}
  CSize(int initCX, int initCY) : SIZE{initCX, initCY} {}
  CSize(SIZE initSize) : SIZE(initSize) {}
  CSize(POINT initPt) : SIZE{initPt.x, initPt.y} {}
  explicit CSize(DWORD dwSize)
      : SIZE{static_cast<short>(LOWORD(dwSize)), static_cast<short>(HIWORD(dwSize))} {}

  void SetSize(int CX, int CY) {
    cx = CX;
    cy = CY;
  }
  bool operator==(SIZE size) const { return cx == size.cx && cy == size.cy; }
  bool operator!=(SIZE size) const { return !(*this == size); }
  void operator+=(SIZE size) {
    cx += size.cx;
    cy += size.cy;
  }
  void operator-=(SIZE size) {
    cx -= size.cx;
    cy -= size.cy;
  }
  CSize operator+(SIZE size) const { return CSize(cx + size.cx, cy + size.cy); }
  CSize operator-(SIZE size) const { return CSize(cx - size.cx, cy - size.cy); }
  CSize operator-() const { return CSize(-cx, -cy); }
  CPoint operator+(POINT point) const { return CPoint(cx + point.x, cy + point.y); }
  CPoint operator-(POINT point) const { return CPoint(cx - point.x, cy - point.y); }
};

class CRect : public RECT {
public:
  CRect() : RECT{0, 0, 0, 0} {}
  CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
  CRect(const RECT &srcRect) : RECT(srcRect) {}
  CRect(const RECT *lpSrcRect) : RECT(*lpSrcRect) {}
  CRect(POINT point, SIZE size) : RECT{point.x, point.y, point.x + size.cx, point.y + size.cy} {}
  CRect(POINT topLeft, POINT bottomRight) : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y} {}

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  CSize Size() const { return CSize(Width(), Height()); }
  CPoint &TopLeft() { return *reinterpret_cast<CPoint *>(this); }
  CPoint &BottomRight() { return *(reinterpret_cast<CPoint *>(this) + 1); }
  const CPoint &TopLeft() const { return *reinterpret_cast<const CPoint *>(this); }
  const CPoint &BottomRight() const { return *(reinterpret_cast<const CPoint *>(this) + 1); }
  CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
  operator LPRECT() { return this; }
  operator LPCRECT() const { return this; }

  BOOL IsRectEmpty() const { return left >= right || top >= bottom; }
  BOOL IsRectNull() const { return left == 0 && right == 0 && top == 0 && bottom == 0; }
  BOOL PtInRect(POINT point) const {
    return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
  }

  void SetRect(int x1, int y1, int x2, int y2) {
    left = x1;
    top = y1;
    right = x2;
    bottom = y2;
  }
  void SetRect(POINT topLeft, POINT bottomRight) {
    SetRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
  }
  void SetRectEmpty() { SetRect(0, 0, 0, 0); }
  void CopyRect(LPCRECT lpSrcRect) { *static_cast<RECT *>(this) = *lpSrcRect; }
  BOOL EqualRect(LPCRECT lpRect) const {
    return left == lpRect->left && top == lpRect->top && right == lpRect->right && bottom == lpRect->bottom;
  }

  void InflateRect(int x, int y) { InflateRect(x, y, x, y); }
  void InflateRect(SIZE size) { InflateRect(size.cx, size.cy); }
  void InflateRect(LPCRECT lpRect) { InflateRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
  void InflateRect(int l, int t, int r, int b) {
    left -= l;
    top -= t;
    right += r;
    bottom += b;
  }
  void DeflateRect(int x, int y) { InflateRect(-x, -y); }
  void DeflateRect(SIZE size) { InflateRect(-size.cx, -size.cy); }
  void DeflateRect(LPCRECT lpRect) {
    InflateRect(-lpRect->left, -lpRect->top, -lpRect->right, -lpRect->bottom);
  }
  void DeflateRect(int l, int t, int r, int b) { InflateRect(-l, -t, -r, -b); }

  void OffsetRect(int x, int y) {
    left += x;
    right += x;
    top += y;
    bottom += y;
  }
  void OffsetRect(POINT point) { OffsetRect(point.x, point.y); }
  void OffsetRect(SIZE size) { OffsetRect(size.cx, size.cy); }
  void MoveToX(int x) {
    right = Width() + x;
    left = x;
  }
  void MoveToY(int y) {
    bottom = Height() + y;
    top = y;
  }
  void MoveToXY(int x, int y) {
    MoveToX(x);
    MoveToY(y);
  }
  void MoveToXY(POINT point) { MoveToXY(point.x, point.y); }
  void NormalizeRect() {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
  }

  // The set operations leave an empty (all-zero) rectangle and return FALSE
  // when the result is empty, like the Windows functions they wrap.
  BOOL IntersectRect(LPCRECT lpRect1, LPCRECT lpRect2) { return ::IntersectRect(this, lpRect1, lpRect2); }
  BOOL UnionRect(LPCRECT lpRect1, LPCRECT lpRect2) { return ::UnionRect(this, lpRect1, lpRect2); }
  BOOL SubtractRect(LPCRECT lpRectSrc1, LPCRECT lpRectSrc2) {
    return ::SubtractRect(this, lpRectSrc1, lpRectSrc2);
  }

  bool operator==(const RECT &rect) const { return EqualRect(&rect) != FALSE; }
  bool operator!=(const RECT &rect) const { return !(*this == rect); }
  void operator+=(POINT point) { OffsetRect(point); }
  void operator+=(SIZE size) { OffsetRect(size); }
  void operator+=(LPCRECT lpRect) { InflateRect(lpRect); }
  void operator-=(POINT point) { OffsetRect(-point.x, -point.y); }
  void operator-=(SIZE size) { OffsetRect(-size.cx, -size.cy); }
  void operator-=(LPCRECT lpRect) { DeflateRect(lpRect); }
  void operator&=(const RECT &rect) { IntersectRect(this, &rect); }
  void operator|=(const RECT &rect) { UnionRect(this, &rect); }
  CRect operator+(POINT point) const {
    CRect rect(*this);
    rect.OffsetRect(point);
    return rect;
  }
  CRect operator-(POINT point) const {
    CRect rect(*this);
    rect.OffsetRect(-point.x, -point.y);
    return rect;
  }
  CRect operator+(SIZE size) const {
    CRect rect(*this);
    rect.OffsetRect(size);
    return rect;
  }
  CRect operator-(SIZE size) const {
    CRect rect(*this);
    rect.OffsetRect(-size.cx, -size.cy);
    return rect;
  }
  CRect operator+(LPCRECT lpRect) const {
    CRect rect(*this);
    rect.InflateRect(lpRect);
    return rect;
  }
  CRect operator-(LPCRECT lpRect) const {
    CRect rect(*this);
    rect.DeflateRect(lpRect);
    return rect;
  }
  CRect operator&(const RECT &rect2) const {
    CRect rect;
    rect.IntersectRect(this, &rect2);
    return rect;
  }
  CRect operator|(const RECT &rect2) const {
    CRect rect;
    rect.UnionRect(this, &rect2);
    return rect;
  }
};

inline CPoint CPoint::operator+(SIZE size) const {
  return CPoint(x + size.cx, y + size.cy);
}
inline CPoint CPoint::operator-(SIZE size) const {
  return CPoint(x - size.cx, y - size.cy);
}
inline CSize CPoint::operator-(POINT point) const {
  return CSize(x - point.x, y - point.y);
}
inline CRect CPoint::operator+(const RECT *lpRect) const {
  CRect rect(lpRect);
  rect.OffsetRect(x, y);
  return rect;
}
inline CRect CPoint::operator-(const RECT *lpRect) const {
  CRect rect(lpRect);
  rect.OffsetRect(-x, -y);
  return rect;
}
