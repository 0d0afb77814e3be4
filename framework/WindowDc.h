// Device contexts of a window: CPaintDC for WM_PAINT (BeginPaint/EndPaint),
// CClientDC for its client area and CWindowDC for the whole window. Each
// gives its DC back to the window when it goes.
#pragma once

#include "Dc.h"

class CWnd;

class CPaintDC : public CDC {
  DECLARE_DYNAMIC(CPaintDC)
public:
  explicit CPaintDC(CWnd *wnd);
  ~CPaintDC() override;

  PAINTSTRUCT m_ps = {};

protected:
  HWND m_hWnd = nullptr;
};

class CClientDC : public CDC {
  DECLARE_DYNAMIC(CClientDC)
public:
  // NULL means the screen.
  explicit CClientDC(CWnd *wnd);
  ~CClientDC() override;

protected:
  HWND m_hWnd = nullptr;
};

class CWindowDC : public CDC {
  DECLARE_DYNAMIC(CWindowDC)
public:
  // NULL means the screen.
  explicit CWindowDC(CWnd *wnd);
  ~CWindowDC() override;

protected:
  HWND m_hWnd = nullptr;
};
