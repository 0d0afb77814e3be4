// CXTPOffice2003Theme: the gradient look of the command bars. Toolbars get
// rounded bodies with a vertical gradient and a shadow line, dock bars and
// the menu bar a horizontal gradient, hot and pressed controls warm
// gradients, grippers rows of embossed dots. The colours follow the visual
// style's colour scheme (blue, olive, silver) and fall back to blends of the
// system colours without one. CXTPOffice2003ThemeVariant keeps the blends
// for everything but a few muted toolbar colours.
#pragma once

#include "XTPOffice2003Colors.h"
#include "XTPOfficeTheme.h"
#include "XTPWinThemeWrapper.h"

class CXTPOffice2003Theme : public CXTPOfficeTheme {
public:
  CXTPOffice2003Theme();

  void FillCommandBarEntry(CDC *pDC, CXTPCommandBar *pBar) override;
  void DrawControlFrame(CDC *pDC, CRect rc, int nSelected, int nPressed, BOOL bEnabled, BOOL bChecked,
                        BOOL bPopuped, BOOL bToolBar, int nBarPosition) override;
  CSize DrawCommandBarGripper(CDC *pDC, CXTPCommandBar *pBar, BOOL bDraw) override;
  CSize DrawCommandBarSeparator(CDC *pDC, CXTPCommandBar *pBar, CXTPControl *pControl, BOOL bDraw) override;
  void DrawStatusBarGripper(CDC *pDC, CRect rcClient) override;
  void FillDockBar(CDC *pDC, CWnd *pDockBar) override;
  void RefreshMetrics() override;
  CSize DrawSpecialControl(int nType, CDC *pDC, CXTPControl *pControl, CXTPCommandBar *pBar, BOOL bDraw,
                           LPARAM lParam) override;
  CRect GetCommandBarBorders(CXTPCommandBar *pBar) override;
  CSize DrawCaptionBand(CDC *pDC, CRect rc, BOOL bActive, BOOL bDraw) override;
  CSize DrawDialogBarGripper(CDC *pDC, CXTPCommandBar *pBar, BOOL bDraw) override;
  int GetThemeId() const override { return xtpThemeOffice2003; }
  void DrawStatusBarPaneBorder(CDC *pDC, CRect rc, BOOL bGripperPane) override;
  void FillPopupIconColumn(CDC *pDC, CRect rc, BOOL bExpanded) override;

  // The menu's expand glyph: intensity 0 to 254 between the two glyph
  // colours, 255 transparent; indexed [y][x].
  static const BYTE s_arrExpandGlyph[16][16];
  static COLORREF GlyphColor(BYTE nIntensity, COLORREF clrFirst, COLORREF clrSecond);
  // The gradient ends of a control state on a docked toolbar under a colour
  // scheme, and its frame index; FALSE when the state draws nothing.
  static BOOL SchemeStateGradient(BOOL bEnabled, int nSelected, int nPressed, BOOL bChecked,
                                  COLORREF &clrLight, COLORREF &clrDark, int &nFrame);

  // The scheme's fields, readable for drawings elsewhere and for tests.
  COLORREF m_clrDockBarDark = 0;
  COLORREF m_clrDockBarLight = 0;
  COLORREF m_clrToolbarDark = 0;
  COLORREF m_clrToolbarLight = 0;
  COLORREF m_clrOpenLight = 0;
  COLORREF m_clrOpenDark = 0;
  COLORREF m_clrToolbarShadow = 0;
  COLORREF m_clrCaption = 0;
  COLORREF m_clrExpandDark = 0;
  COLORREF m_clrExpandLight = 0;
  COLORREF m_clrExpandedColumnDark = 0;
  COLORREF m_clrExpandedColumnLight = 0;
  COLORREF m_clrGlyphFirst = 0;
  COLORREF m_clrGlyphSecond = 0;
  COLORREF m_clrPaneFrame = 0;
  BOOL m_bSchemeColors = FALSE;

protected:
  COLORREF GetFloatingCaptionColor() override { return m_clrCaption; }
  void SetDefaultColors();
  void ApplyScheme(const XTPOffice2003SchemeColors &scheme);
  // The dock gradient behind a bar, lined up with its parent dock bar.
  void FillParentGradient(CDC *pDC, CXTPCommandBar *pBar, CRect rc);
  void FillToolBar(CDC *pDC, CXTPCommandBar *pBar);
  void DrawExpandButton(CDC *pDC, CXTPControl *pControl, CXTPCommandBar *pBar, BOOL bHidden);
  void DrawExpandMenuRow(CDC *pDC, CXTPControl *pControl);
  void DrawExpandGlyph(CDC *pDC, CPoint pt);
  void DrawDot(CDC *pDC, int x, int y, COLORREF clr) { pDC->FillSolidRect(x, y, 2, 2, clr); }

  CXTPWinThemeWrapper m_themeStatusBar;
};

class CXTPOffice2003ThemeVariant : public CXTPOffice2003Theme {
public:
  CXTPOffice2003ThemeVariant();
  void RefreshMetrics() override;
  int GetThemeId() const override { return xtpThemeOffice2003Variant; }
};

// The window the visual-style classes are opened for: the application's
// main window, or none while it does not exist yet (the system accepts a
// null window, so the themed look is there from the first refresh).
HWND XTPThemeOwnerWindow();
