#include "CommonControls.h"

#include <atomic>

#include "Wnd.h"

namespace {

std::atomic<DWORD> g_registered{0};

BOOL LoadRichEdit() {
  // The newer library gives the MSFTEDIT_CLASS control, the older one
  // RICHEDIT_CLASS; either stays loaded for the life of the process.
  return ::LoadLibraryW(L"msftedit.dll") != nullptr || ::LoadLibraryW(L"riched20.dll") != nullptr;
}

} // namespace

BOOL AfxInitCommonControls(DWORD dwClasses) {
  const DWORD missing = dwClasses & ~g_registered.load();
  if (missing == 0) return TRUE;
  const DWORD comctl = missing & ~AFX_CC_RICHEDIT;
  if (comctl != 0) {
    INITCOMMONCONTROLSEX init = {sizeof(init), comctl};
    if (!::InitCommonControlsEx(&init)) return FALSE;
  }
  if ((missing & AFX_CC_RICHEDIT) != 0 && !LoadRichEdit()) return FALSE;
  g_registered.fetch_or(missing);
  return TRUE;
}

BOOL AfxCreateCommonControl(CWnd *pWnd, DWORD dwClasses, LPCTSTR lpszClassName, DWORD dwExStyle,
                            DWORD dwStyle, const RECT &rect, CWnd *pParentWnd, UINT nID) {
  if (!AfxInitCommonControls(dwClasses)) return FALSE;
  return pWnd->CreateEx(dwExStyle, lpszClassName, nullptr, dwStyle, rect, pParentWnd, nID);
}
