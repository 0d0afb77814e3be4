// CXTColorRef: one colour value (0x00BBGGRR) with channel arithmetic that
// stays in 0..255.
#pragma once

#include <windows.h>

class CXTColorRef {
public:
  CXTColorRef(COLORREF clr = 0) : m_clr(clr) {}
  CXTColorRef(int r, int g, int b) : m_clr(RGB(AddClamped(r, 0), AddClamped(g, 0), AddClamped(b, 0))) {}
  operator COLORREF() const { return m_clr; }

  int GetRed() const { return GetRValue(m_clr); }
  int GetGreen() const { return GetGValue(m_clr); }
  int GetBlue() const { return GetBValue(m_clr); }

  // Each channel (other * percent + this * (100 - percent)) / 100.
  CXTColorRef &Blend(const CXTColorRef &other, int nPercent);
  // Each channel this minus other.
  CXTColorRef &Subtract(const CXTColorRef &other);

  static int AddClamped(int a, int b);

  static const CXTColorRef BLACK;
  static const CXTColorRef WHITE;
  static const CXTColorRef GRAY_25;
  static const CXTColorRef GRAY_50;
  static const CXTColorRef GRAY_75;

private:
  COLORREF m_clr;
};
