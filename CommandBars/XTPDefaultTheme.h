// CXTPDefaultTheme: the classic three-dimensional look of the command bars:
// flat buttons that rise on hover and sink when pressed or checked, etched
// separators and grippers, raised bar borders, a caption on floating bars,
// and system colours throughout.
#pragma once

#include "XTPPaintManager.h"

class CXTPDefaultTheme : public CXTPPaintManager {
public:
  CXTPDefaultTheme();

  CSize DrawPopupBarControl(CDC *pDC, CXTPControl *pControl, BOOL bDraw) override;
  void DrawSplitButtonFrame(CDC *pDC, CXTPControl *pControl, CRect rc) override;
  CSize DrawComboBoxControl(CDC *pDC, CXTPControl *pControl, BOOL bDraw) override;
  CSize DrawEditControl(CDC *pDC, CXTPControl *pControl, BOOL bDraw) override;
  CSize DrawListBoxControl(CDC *pDC, CXTPControl *pControl, CRect rc, BOOL bSelected, BOOL bDraw,
                           BOOL bCommandBarsIconSize) override;
  void FillCommandBarEntry(CDC *pDC, CXTPCommandBar *pBar) override;
  void DrawRectangle(CDC *pDC, CRect rc, BOOL bEnabled, int nSelected, int nPressed, BOOL bChecked,
                     BOOL bPopuped, int nBarPosition) override;
  void DrawControlFrame(CDC *pDC, CRect rc, int nSelected, int nPressed, BOOL bEnabled, BOOL bChecked,
                        BOOL bPopuped, BOOL bToolBar, int nBarPosition) override;
  CSize DrawCommandBarGripper(CDC *pDC, CXTPCommandBar *pBar, BOOL bDraw) override;
  CSize DrawCommandBarSeparator(CDC *pDC, CXTPCommandBar *pBar, CXTPControl *pControl, BOOL bDraw) override;
  void AdjustExcludeRect(CRect &rc, CXTPControl *pControl, BOOL bVertical) override;
  CSize DrawSpecialControl(int nType, CDC *pDC, CXTPControl *pControl, CXTPCommandBar *pBar, BOOL bDraw,
                           LPARAM lParam) override;
  CRect GetCommandBarBorders(CXTPCommandBar *pBar) override;
  CSize DrawCaptionBand(CDC *pDC, CRect rc, BOOL bActive, BOOL bDraw) override;
  void DrawImage(CDC *pDC, CPoint pt, CSize sz, CXTPImageManagerIcon *pIcon, int nSelected, int nPressed,
                 BOOL bEnabled, BOOL bChecked, BOOL bPopuped, BOOL bToolBarImage) override;
  CSize DrawDialogBarGripper(CDC *pDC, CXTPCommandBar *pBar, BOOL bDraw) override;
  int GetThemeId() const override { return xtpThemeDefault; }

  virtual void DrawEditFrame(CDC *pDC, CRect rc, BOOL bEnabled, int nSelected);
  virtual void DrawComboBoxDropButton(CDC *pDC, CRect rc, BOOL bEnabled, int nSelected, BOOL bDropped);
  virtual CSize DrawControlText(CDC *pDC, CString strText, CRect rc, UINT nFormat, BOOL bDraw, int nSelected,
                                BOOL bEnabled);

  // The 8 by 8 half-tone of a checked button. Each row of a monochrome
  // bitmap is a WORD, so the eight pattern bytes are widened to words.
  static HBITMAP CreateCheckedPatternBitmap();
  void DrawCheckedPattern(CDC *pDC, CRect rc);

  // Colour index of enabled text on popup bars.
  int m_nPopupBarText = COLOR_BTNTEXT;
};
