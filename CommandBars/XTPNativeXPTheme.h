// CXTPNativeXPTheme: command bars drawn by the system's visual styles, so
// that toolbars look like the system's own rebars and toolbar buttons.
// Every operation it draws tests that its visual-style class is open and
// otherwise hands the call to the classic theme unchanged, so with visual
// styles off it draws exactly the classic look.
#pragma once

#include "XTPDefaultTheme.h"
#include "XTPWinThemeWrapper.h"

// Parts and states of the visual-style classes used here.
enum {
  XTP_RP_BACKGROUND = 0,
  XTP_RP_GRIPPER = 1,
  XTP_RP_GRIPPERVERT = 2,
  XTP_RP_BAND = 3,
  XTP_TP_BUTTON = 1,
  XTP_TP_SPLITBUTTON = 3,
  XTP_TP_SPLITBUTTONDROPDOWN = 4,
  XTP_TS_NORMAL = 1,
  XTP_TS_HOT = 2,
  XTP_TS_PRESSED = 3,
  XTP_TS_DISABLED = 4,
  XTP_TS_CHECKED = 5,
  XTP_TS_HOTCHECKED = 6,
  XTP_CP_DROPDOWNBUTTON = 1,
  XTP_SP_PANE = 1,
  XTP_SP_GRIPPERPANE = 2,
  XTP_SP_GRIPPER = 3,
};

class CXTPNativeXPTheme : public CXTPDefaultTheme {
public:
  CXTPNativeXPTheme();

  void DrawSplitButtonFrame(CDC *pDC, CXTPControl *pControl, CRect rc) override;
  void FillCommandBarEntry(CDC *pDC, CXTPCommandBar *pBar) override;
  void DrawRectangle(CDC *pDC, CRect rc, BOOL bEnabled, int nSelected, int nPressed, BOOL bChecked,
                     BOOL bPopuped, int nBarPosition) override;
  CSize DrawCommandBarGripper(CDC *pDC, CXTPCommandBar *pBar, BOOL bDraw) override;
  void AdjustExcludeRect(CRect &rc, CXTPControl *pControl, BOOL bVertical) override;
  void DrawStatusBarGripper(CDC *pDC, CRect rcClient) override;
  void FillDockBar(CDC *pDC, CWnd *pDockBar) override;
  void FillStatusBar(CDC *pDC, CWnd *pStatusBar) override;
  void RefreshMetrics() override;
  CSize DrawDialogBarGripper(CDC *pDC, CXTPCommandBar *pBar, BOOL bDraw) override;
  int GetThemeId() const override { return xtpThemeNativeWinXP; }
  void DrawStatusBarPaneBorder(CDC *pDC, CRect rc, BOOL bGripperPane) override;
  void DrawEditFrame(CDC *pDC, CRect rc, BOOL bEnabled, int nSelected) override;
  void DrawComboBoxDropButton(CDC *pDC, CRect rc, BOOL bEnabled, int nSelected, BOOL bDropped) override;

  // Paints the rebar background so that it lines up with the reference
  // window: one image runs under every bar docked beside it.
  void FillRebarBackground(CDC *pDC, CWnd *pBar, CWnd *pReference);

  // The toolbar-button state of a control state; bToolBar FALSE for a row
  // of a popup.
  static int ButtonState(BOOL bEnabled, int nSelected, int nPressed, BOOL bChecked, BOOL bPopuped,
                         BOOL bToolBar);
  static int SplitButtonState(BOOL bEnabled, int nSelected, int nPressed, BOOL bChecked, BOOL bPopupOpen);
  static int ComboButtonState(BOOL bEnabled, int nSelected, BOOL bDropped);

  BOOL IsToolbarThemed() const { return m_themeToolbar.GetThemeHandle() != nullptr; }
  BOOL IsRebarThemed() const { return m_themeRebar.GetThemeHandle() != nullptr; }

  CXTPWinThemeWrapper m_themeRebar;
  CXTPWinThemeWrapper m_themeToolbar;
  CXTPWinThemeWrapper m_themeComboBox;
  CXTPWinThemeWrapper m_themeStatusBar;
  COLORREF m_clrEdgeShadowColor = 0;
  BOOL m_bFlatMenus = FALSE;

private:
  void DrawBarFrames(CDC *pDC, CRect rc, COLORREF clrFill);
};
