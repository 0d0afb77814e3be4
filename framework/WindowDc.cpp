#include "WindowDc.h"

#include "Wnd.h"

IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

namespace {

HWND HandleOf(CWnd *wnd) {
  return wnd != nullptr ? wnd->GetSafeHwnd() : nullptr;
}

} // namespace

CPaintDC::CPaintDC(CWnd *wnd) : m_hWnd(HandleOf(wnd)) {
  Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC() {
  Detach();
  ::EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(CWnd *wnd) : m_hWnd(HandleOf(wnd)) {
  Attach(::GetDC(m_hWnd));
}

CClientDC::~CClientDC() {
  HDC hDC = Detach();
  if (hDC != nullptr) ::ReleaseDC(m_hWnd, hDC);
}

CWindowDC::CWindowDC(CWnd *wnd) : m_hWnd(HandleOf(wnd)) {
  Attach(::GetWindowDC(m_hWnd));
}

CWindowDC::~CWindowDC() {
  HDC hDC = Detach();
  if (hDC != nullptr) ::ReleaseDC(m_hWnd, hDC);
}
