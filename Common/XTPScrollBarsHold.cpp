#include "XTPScrollBarsHold.h"

#include <initializer_list>

namespace {

bool SameBar(const SCROLLINFO &a, const SCROLLINFO &b) {
  return a.nMin == b.nMin && a.nMax == b.nMax && a.nPage == b.nPage && a.nPos == b.nPos;
}

BOOL CALLBACK NotePendingPaint(HWND child, LPARAM pending) {
  RECT rc;
  if (::GetUpdateRect(child, &rc, FALSE))
    reinterpret_cast<std::vector<std::pair<HWND, RECT>> *>(pending)->emplace_back(child, rc);
  return TRUE;
}

} // namespace

CXTPScrollBarsHold::Look CXTPScrollBarsHold::Look::Of(HWND hWnd) {
  Look look;
  look.style = ::GetWindowLongW(hWnd, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL);
  for (int bar : {SB_HORZ, SB_VERT}) {
    SCROLLINFO &info = look.bars[bar];
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    if (!::GetScrollInfo(hWnd, bar, &info)) info.nMin = info.nMax = info.nPos = 0;
  }
  return look;
}

CXTPScrollBarsHold::CXTPScrollBarsHold(HWND hWnd)
    : m_hWnd(::IsWindowVisible(hWnd) ? hWnd : nullptr), m_before(Look::Of(hWnd)) {
  if (m_hWnd == nullptr) return;
  for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    RECT rc;
    if (::GetWindowRect(child, &rc)) m_childPlaces.emplace_back(child, rc);
  }
  // The system validates every window inside, however deep (a list's header
  // in a pane held around the list).
  ::EnumChildWindows(m_hWnd, NotePendingPaint, reinterpret_cast<LPARAM>(&m_pendingChildren));
  // The system's own handling of WM_SETREDRAW, whatever the control makes
  // of the message.
  ::DefWindowProcW(m_hWnd, WM_SETREDRAW, FALSE, 0);
}

CXTPScrollBarsHold::~CXTPScrollBarsHold() {
  if (m_hWnd == nullptr || !::IsWindow(m_hWnd)) return;
  ::DefWindowProcW(m_hWnd, WM_SETREDRAW, TRUE, 0);
  for (const auto &[child, rc] : m_pendingChildren)
    if (::IsWindow(child)) ::InvalidateRect(child, &rc, TRUE);
  for (const auto &[child, before] : m_childPlaces) {
    RECT now;
    if (::IsWindow(child) && ::GetWindowRect(child, &now) && !::EqualRect(&now, &before))
      ::InvalidateRect(child, nullptr, TRUE);
  }
  const Look now = Look::Of(m_hWnd);
  if (now.style != m_before.style) {
    // A bar came or went: the frame and everything in it moved.
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return;
  }
  for (int bar : {SB_HORZ, SB_VERT})
    if (!SameBar(now.bars[bar], m_before.bars[bar])) ::SetScrollInfo(m_hWnd, bar, &now.bars[bar], TRUE);
}
