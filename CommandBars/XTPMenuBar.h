// CXTPMenuBar: the toolbar that stands in for the frame's window menu. It is
// built from a menu resource, takes the frame's menu handle away from the
// window (the frame hands it over, so the handle has one owner and the native
// menu cannot come back) and opens its menus from Alt and F10.
#pragma once

#include "XTPToolBar.h"

// Sent by the menu bar to ask a window for its icon: only the framework's own
// child frames answer it; every other window must answer 0.
#define XTP_WM_QUERYCHILDICON 0x0483

class CXTPMenuBar : public CXTPToolBar {
  DECLARE_DYNCREATE(CXTPMenuBar)
public:
  CXTPMenuBar();
  ~CXTPMenuBar() override;

  using CXTPCommandBar::LoadMenu;
  // Builds the controls from the menu resource, hooks the owner site and
  // takes its menu; FALSE when the resource cannot be loaded or converted.
  BOOL LoadMenu(UINT nIDResource);
  UINT GetResourceId() const { return m_nIDResource; }
  UINT GetCurrentMenuId() const { return m_nIDCurrentMenu; }
  // The site's menu, kept since LoadMenu; destroyed with the bar.
  HMENU GetFrameMenu() const { return m_hMenuFrame; }

  // The icon a child window shows in the bar: the child-frame query only for
  // the framework's child frames, then the window's small and big icons, the
  // class icon and the system's default.
  static HICON GetChildIcon(HWND hWndChild);

  int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM &wParam, LPARAM &lParam, LRESULT &lResult) override;

private:
  void UnhookSite();

  HWND m_hWndSite = nullptr;
  HMENU m_hMenuFrame = nullptr;
  UINT m_nIDResource = 0;
  UINT m_nIDCurrentMenu = 0;
};
