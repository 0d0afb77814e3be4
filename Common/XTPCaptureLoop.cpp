#include "XTPCaptureLoop.h"

namespace {

// A window that never validates its update region would keep WM_PAINT at
// the head of the queue; the drag must not stall on it.
constexpr int kMaxPaintsPerPass = 64;

} // namespace

CXTPCaptureLoop::CXTPCaptureLoop(HWND hWnd, DWORD dwFlags) : m_hWnd(hWnd), m_dwFlags(dwFlags) {
  if (m_hWnd) ::SetCapture(m_hWnd);
}

CXTPCaptureLoop::~CXTPCaptureLoop() {
  Release();
}

void CXTPCaptureLoop::Release() {
  if (m_bReleased) return;
  m_bReleased = TRUE;
  if (m_hWnd && ::GetCapture() == m_hWnd) ::ReleaseCapture();
}

BOOL CXTPCaptureLoop::HasLostCapture() const {
  return m_hWnd && (m_bReleased || ::GetCapture() != m_hWnd);
}

void CXTPCaptureLoop::DispatchPendingPaints() {
  MSG msg;
  for (int i = 0; i < kMaxPaintsPerPass && ::PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); i++)
    ::DispatchMessageW(&msg);
}

BOOL CXTPCaptureLoop::WaitForMessage() {
  if (m_dwTimeout == INFINITE || m_pfnSource) return TRUE;
  MSG msg;
  if (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) return TRUE;
  ::MsgWaitForMultipleObjects(0, nullptr, FALSE, m_dwTimeout, QS_ALLINPUT);
  return ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
}

CXTPCaptureLoop::EndReason CXTPCaptureLoop::Run(const Callback &callback) {
  for (;;) {
    if (HasLostCapture()) return kCaptureLost;
    if (m_dwFlags & kDispatchPaints) DispatchPendingPaints();
    if (HasLostCapture()) return kCaptureLost;

    MSG msg = {};
    if (!WaitForMessage()) {
      msg.message = WM_NULL;
      msg.time = ::GetTickCount();
    } else {
      const BOOL bGot = m_pfnSource ? m_pfnSource(&msg) : ::GetMessageW(&msg, nullptr, 0, 0);
      if (bGot == -1) return kCancelled;
      if (!bGot || msg.message == WM_QUIT) {
        // The quit belongs to the thread's own loop: give it back.
        m_nQuitCode = static_cast<int>(msg.wParam);
        ::PostQuitMessage(m_nQuitCode);
        return kQuit;
      }
      if (HasLostCapture()) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
        return kCaptureLost;
      }
      if ((m_dwFlags & kEscapeCancels) && msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
        return kCancelled;
    }

    switch (callback(msg)) {
    case kHandled:
      break;
    case kDispatch:
      if (msg.message != WM_NULL) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
      }
      break;
    case kEnd:
      return kEnded;
    case kCancel:
      return kCancelled;
    }
  }
}
