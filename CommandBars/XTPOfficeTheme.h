// CXTPOfficeTheme: the flat Office look of the command bars. Bars are flat
// fields of one face colour; a control under the mouse gets a one-pixel frame
// on a tinted fill; popup menus have a coloured icon column, and a hot icon
// lifts off its shadow. Every colour comes from the paint manager's table, so
// a derived theme changes the look by filling the table differently.
#pragma once

#include "FrameworkCore.h"
#include "Dc.h"

#include "XTPPaintManager.h"

// The frame and fill of one control state as colour indexes (-1: nothing).
struct XTPOfficeStateColors {
  int nFrame = -1;
  int nFill = -1;
  bool IsEmpty() const { return nFrame < 0 && nFill < 0; }
};

// What DrawControlFrame paints for a state: a first layer and, for a disabled
// checked popup row that the keyboard selected, a second one drawn over it.
struct XTPOfficeStateLayers {
  XTPOfficeStateColors first;
  XTPOfficeStateColors overlay;
};

class CXTPOfficeTheme : public CXTPPaintManager {
public:
  CXTPOfficeTheme();

  CSize DrawPopupBarControl(CDC *pDC, CXTPControl *pControl, BOOL bDraw) override;
  CSize DrawComboBoxControl(CDC *pDC, CXTPControl *pControl, BOOL bDraw) override;
  CSize DrawEditControl(CDC *pDC, CXTPControl *pControl, BOOL bDraw) override;
  CSize DrawListBoxControl(CDC *pDC, CXTPControl *pControl, CRect rc, BOOL bSelected, BOOL bDraw,
                           BOOL bCommandBarsIconSize) override;
  void FillCommandBarEntry(CDC *pDC, CXTPCommandBar *pBar) override;
  using CXTPPaintManager::DrawControlEntry;
  void DrawControlEntry(CDC *pDC, CXTPControl *pControl, int nBarPosition) override;
  // The toolbar form: the state frame and fill of a control on a bar.
  void DrawRectangle(CDC *pDC, CRect rc, BOOL bEnabled, int nSelected, int nPressed, BOOL bChecked,
                     BOOL bPopuped, int nBarPosition) override;
  void DrawControlFrame(CDC *pDC, CRect rc, int nSelected, int nPressed, BOOL bEnabled, BOOL bChecked,
                        BOOL bPopuped, BOOL bToolBar, int nBarPosition) override;
  CSize DrawCommandBarGripper(CDC *pDC, CXTPCommandBar *pBar, BOOL bDraw) override;
  CSize DrawCommandBarSeparator(CDC *pDC, CXTPCommandBar *pBar, CXTPControl *pControl, BOOL bDraw) override;
  void AdjustExcludeRect(CRect &rc, CXTPControl *pControl, BOOL bVertical) override;
  BOOL HasOwnShadow() override { return TRUE; }
  CSize DrawSpecialControl(int nType, CDC *pDC, CXTPControl *pControl, CXTPCommandBar *pBar, BOOL bDraw,
                           LPARAM lParam) override;
  CSize DrawCaptionBand(CDC *pDC, CRect rc, BOOL bActive, BOOL bDraw) override;
  void DrawImage(CDC *pDC, CPoint pt, CSize sz, CXTPImageManagerIcon *pIcon, int nSelected, int nPressed,
                 BOOL bEnabled, BOOL bChecked, BOOL bPopuped, BOOL bToolBarImage) override;
  CSize DrawDialogBarGripper(CDC *pDC, CXTPCommandBar *pBar, BOOL bDraw) override;
  int GetThemeId() const override { return xtpThemeOffice; }
  void DrawStatusBarPaneBorder(CDC *pDC, CRect rc, BOOL bGripperPane) override;

  // The icon column of a popup, or of one row marked expanded.
  virtual void FillPopupIconColumn(CDC *pDC, CRect rc, BOOL bExpanded);

  // --- The rules, as pure functions ---------------------------------------
  static XTPOfficeStateLayers StateColors(BOOL bEnabled, int nSelected, int nPressed, BOOL bChecked,
                                          BOOL bPopuped, BOOL bToolBar);
  // The text colour index DrawControlEntry selects for a state.
  static int ControlEntryTextColor(BOOL bEnabled, int nSelected, int nPressed, BOOL bChecked, BOOL bPopuped,
                                   int nBarPosition);
  // Half the width of the tear-off grip on a strip nWidth wide: width / 2 -
  // 10 kept within 0 and nMax, so that a narrow strip gets an empty grip
  // instead of one wider than itself.
  static int TearOffGripHalfWidth(int nWidth, int nMax);
  // Where a popup and the control that opened it overlap (screen
  // coordinates), less one pixel at each end of a side longer than one: the
  // strip painted so that the two read as one shape. Empty when apart.
  static CRect PopupGapRect(CRect rcControl, CRect rcPopup);
  // The width of a popup row's icon cell and the row's height.
  int GetPopupIconCellWidth(CSize szIcon) const;
  int GetPopupRowHeightFor(CSize szIcon) const;

  // Takes the four corner pixels of the rectangle out of the device
  // context's clipping region, so that what is filled next keeps them. The
  // docking and tab looks use it to give fills rounded corners.
  static void ExcludeCorners(CDC *pDC, CRect rc);

protected:
  // The fill of a floating bar's caption.
  virtual COLORREF GetFloatingCaptionColor() { return GetPaintColor(COLOR_BTNSHADOW); }
  // The gap between a popup bar and the control that opened it, filled so
  // that the two read as one shape.
  void FillPopupGap(CDC *pDC, CXTPCommandBar *pBar, int nColor);
  void DrawStateLayer(CDC *pDC, CRect rc, const XTPOfficeStateColors &layer);
  // Caption text with the keyboard-cue rule.
  CSize DrawPopupText(CDC *pDC, CString strText, CRect rc, UINT nFormat, BOOL bDraw);
  void DrawComboGlyph(CDC *pDC, CRect rc, int nColor);
  void DrawFloatingFrame(CDC *pDC, CRect rc, COLORREF clrFill);
};
