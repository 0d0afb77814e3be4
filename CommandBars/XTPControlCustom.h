// CXTPControlCustom: a control that hosts a window of the application's: a
// slider, a progress bar, a small dialog. It has the button's type (`Add`
// makes one when asked for xtpControlCustom). The control reserves
// the window's size (plus a border) in its bar's layout, makes the window a
// child of the bar and keeps it over that place, shows and hides it with the
// control, and hands mouse moves over it to the bar so hot tracking goes on.
// Without a window, or with the window hidden, it is an ordinary button.
//
// The window is the application's: the control never creates or destroys
// it, and a copy of the control shares it with its source. So the control
// keeps the window's handle and checks it before every use: the application
// may destroy the window while the control (or a copy) still stands.
#pragma once

#include "XTPControlButton.h"
#include "XTPHookManager.h"

class CXTPCommandBars;

// How the control behaves on a vertically docked bar.
enum XTPControlCustomVerticalMode {
  xtpVerticalHide = 0,   // the whole control leaves the bar
  xtpVerticalShow = 1,   // the control and its window stay
  xtpVerticalButton = 2, // the control stays as a button, its window hidden
};

class CXTPControlCustom : public CXTPControlButton, public CXTPHookClient {
  DECLARE_SERIAL(CXTPControlCustom)
public:
  CXTPControlCustom();
  ~CXTPControlCustom() override;

  // Hosts the window (null: none): keeps its handle, control id and size,
  // and watches its mouse moves. The window moves into the bar at the next
  // layout. A window hosted before is left where it is.
  void SetControl(CWnd *pWnd);
  void SetControl(HWND hWnd);
  // The hosted window while it exists; null once the application destroyed it.
  CWnd *GetControl() const;
  HWND GetControlHandle() const { return HasWindow() ? m_hWndHosted : nullptr; }
  BOOL HasWindow() const { return m_hWndHosted != nullptr && ::IsWindow(m_hWndHosted); }
  int GetControlId() const { return m_nHostedId; }
  CSize GetControlSize() const { return m_szHosted; }
  void SetControlSize(CSize size) { m_szHosted = size; }
  CRect GetBorders() const { return m_rcBorders; }
  void SetBorders(CRect rcBorders) { m_rcBorders = rcBorders; }
  int GetVerticalPositionOption() const { return m_nVerticalMode; }
  void SetVerticalPositionOption(int nMode) { m_nVerticalMode = nMode; }
  BOOL IsWindowShown() const { return m_bWindowShown; }

  // Finds the window again by its control id (after loading): a child of the
  // command bars' site, else of each of their bars in turn. FALSE when none
  // has it; the control then keeps what it had.
  BOOL FindControlWindow(CXTPCommandBars *pCommandBars);

  // --- CXTPControl ---------------------------------------------------------
  void SetEnabled(BOOL bEnabled) override;
  void SetRect(CRect rcControl) override;
  void SetHideFlags(DWORD dwFlags) override;
  CSize GetSize(CDC *pDC) override;
  void Draw(CDC *pDC) override;
  void OnCalcDynamicSize(DWORD dwMode) override;
  void DoPropExchange(CXTPPropExchange *pPX) override;
  void Copy(CXTPControl *pControl, BOOL bRecursive = FALSE) override;
  void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
  BOOL IsCustomizeDragOverAvail(CXTPCommandBar *pBar, CPoint point, DWORD &dwEffect) override;
  CXTPControl *Clone(BOOL bRecursive = FALSE) override;

  // --- CXTPHookClient ------------------------------------------------------
  int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM &wParam, LPARAM &lParam, LRESULT &lResult) override;

private:
  // The window shown when it is to be and the control is not hidden.
  void ShowHostedWindow();
  void Hook();

  HWND m_hWndHosted = nullptr;
  CRect m_rcBorders = CRect(0, 0, 0, 0);
  BOOL m_bWindowShown = TRUE;
  CSize m_szHosted = CSize(0, 0);
  int m_nVerticalMode = xtpVerticalHide;
  int m_nHostedId = 0;
};
