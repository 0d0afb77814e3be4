#include "DialogCentring.h"

#include "Wnd.h"

namespace {

// The innermost centring of this thread (the framework's windows live on one thread).
thread_local CDialogCentring *t_current = nullptr;

} // namespace

CDialogCentring::CDialogCentring(HWND owner) : m_owner(owner), m_outer(t_current) {
  if (owner == nullptr) return;
  m_hook = ::SetWindowsHookExW(WH_CBT, &CDialogCentring::OnCbt, nullptr, ::GetCurrentThreadId());
  t_current = this;
}

CDialogCentring::~CDialogCentring() {
  if (m_hook == nullptr) return;
  ::UnhookWindowsHookEx(m_hook);
  t_current = m_outer;
}

LRESULT CALLBACK CDialogCentring::OnCbt(int code, WPARAM wParam, LPARAM lParam) {
  // Activation comes once the dialog has its final size, before the user sees it there.
  if (code == HCBT_ACTIVATE && t_current != nullptr && !t_current->m_done)
    t_current->m_done = t_current->Place(reinterpret_cast<HWND>(wParam));
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

bool CDialogCentring::Place(HWND window) {
  wchar_t className[16] = {};
  ::GetClassNameW(window, className, 16);
  if (lstrcmpW(className, L"#32770") != 0 || ::GetWindow(window, GW_OWNER) != m_owner) return false;
  CWnd::FromHandle(window)->CenterWindow();
  return true;
}
