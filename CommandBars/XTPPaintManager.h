// CXTPPaintManager: the one object every command bar, control and status bar
// draws through. It owns the command-bar fonts, the colour table and the icon
// options, measures and draws controls, and plays the popup animations. The
// concrete look is a theme derived from it; one process-wide instance (the
// global paint manager) is current, and a command-bars object may hold its own.
#pragma once

#include "FrameworkCore.h"
#include "CmdTarget.h"
#include "Dc.h"
#include "GdiObject.h"

#include "XTPColorManager.h"

class CXTPControl;
class CXTPCommandBar;
class CXTPDockBar;
class CXTPImageManagerIcon;
class CStatusBar;

// The icon options, in the order callers read and write them as one block.
struct XTP_COMMANDBARS_ICONSINFO {
  BOOL bUseFadedIcons;
  BOOL bUseDisabledIcons;
  BOOL bIconsWithShadow;
};

// The system's non-client metrics, read on construction.
class CXTPNonClientMetrics : public NONCLIENTMETRICSW {
public:
  CXTPNonClientMetrics();
};

// Theme ids of the factory; an id it does not know gives the default theme.
enum XTPPaintTheme {
  xtpThemeOffice = 0,
  xtpThemeDefault = 1,
  xtpThemeOffice2003 = 2,
  xtpThemeNativeWinXP = 3,
  xtpThemeOffice2003Variant = 4,
  xtpThemeCustom = 5, // an object installed by SetGlobalPaintManager
};

// Kinds of the special controls DrawSpecialControl draws.
enum XTPSpecialControl {
  xtpButtonExpandToolbar = 0,
  xtpButtonExpandMenu = 1,
  xtpButtonHideFloating = 2,
  xtpButtonExpandFloating = 3,
  xtpButtonCustomize = 4,
};

// Popup animation kinds.
enum XTPAnimationType {
  xtpAnimateWindowsDefault = 0,
  xtpAnimateRandom = 1,
  xtpAnimateUnfold = 2,
  xtpAnimateSlide = 3,
  xtpAnimateFade = 4,
  xtpAnimateNone = 5,
};

class CXTPPaintManager : public CCmdTarget {
public:
  CXTPPaintManager();
  ~CXTPPaintManager() override;

  // --- Theme factory and the global instance -----------------------------
  static CXTPPaintManager *CreateTheme(int nTheme);
  static void SetTheme(int nTheme);
  static void SetGlobalPaintManager(CXTPPaintManager *pPaintManager);
  // Releases the global paint manager; the toolkit's shutdown calls it before
  // the colour, image and drawing services it uses go away.
  static void ReleaseGlobal();

  // --- Virtual drawing operations, in the themes' order ------------------
  virtual CSize DrawPopupBarControl(CDC *pDC, CXTPControl *pControl, BOOL bDraw) = 0;
  virtual CSize DrawToolBarControl(CDC *pDC, CXTPControl *pControl, BOOL bDraw);
  virtual void DrawSplitButtonFrame(CDC *pDC, CXTPControl *pControl, CRect rc);
  virtual CSize DrawComboBoxControl(CDC *pDC, CXTPControl *pControl, BOOL bDraw) = 0;
  virtual CSize DrawEditControl(CDC *pDC, CXTPControl *pControl, BOOL bDraw) = 0;
  virtual CSize DrawListBoxControl(CDC *pDC, CXTPControl *pControl, CRect rc, BOOL bSelected, BOOL bDraw,
                                   BOOL bCommandBarsIconSize) = 0;
  virtual void FillCommandBarEntry(CDC *pDC, CXTPCommandBar *pBar) = 0;
  virtual void DrawRectangle(CDC *pDC, CRect rc, BOOL bEnabled, int nSelected, int nPressed, BOOL bChecked,
                             BOOL bPopuped, int nBarPosition) = 0;
  // The background of a control in its states and, in themes that choose
  // one, the text colour, as on a bar at a position (the control's bar's,
  // or a given one for a row that is horizontal however its bar stands).
  virtual void DrawControlEntry(CDC *pDC, CXTPControl *pControl, int nBarPosition);
  void DrawControlEntry(CDC *pDC, CXTPControl *pControl);
  virtual void DrawControlFrame(CDC *pDC, CRect rc, int nSelected, int nPressed, BOOL bEnabled, BOOL bChecked,
                                BOOL bPopuped, BOOL bToolBar, int nBarPosition) = 0;
  virtual CSize DrawCommandBarGripper(CDC *pDC, CXTPCommandBar *pBar, BOOL bDraw) = 0;
  virtual CSize DrawCommandBarSeparator(CDC *pDC, CXTPCommandBar *pBar, CXTPControl *pControl,
                                        BOOL bDraw) = 0;
  virtual void AdjustExcludeRect(CRect &rc, CXTPControl *pControl, BOOL bVertical) = 0;
  virtual void DrawStatusBarPane(CDC *pDC, CStatusBar *pStatusBar, int nIndex);
  // The rectangle a pane's bevel is drawn around; windows laid over panes go
  // inside it.
  static CRect GetStatusBarPaneRect(CStatusBar *pStatusBar, int nIndex);
  virtual void DrawStatusBarGripper(CDC *pDC, CRect rcClient);
  virtual void FillDockBar(CDC *pDC, CWnd *pDockBar);
  virtual void FillStatusBar(CDC *pDC, CWnd *pStatusBar);
  virtual void RefreshMetrics();
  // Whether the theme draws popup shadows itself.
  virtual BOOL HasOwnShadow() { return FALSE; }
  virtual CSize DrawSpecialControl(int nType, CDC *pDC, CXTPControl *pControl, CXTPCommandBar *pBar,
                                   BOOL bDraw, LPARAM lParam);
  virtual CRect GetCommandBarBorders(CXTPCommandBar *pBar);
  virtual CSize DrawCaptionBand(CDC *pDC, CRect rc, BOOL bActive, BOOL bDraw) = 0;
  virtual void DrawImage(CDC *pDC, CPoint pt, CSize sz, CXTPImageManagerIcon *pIcon, int nSelected,
                         int nPressed, BOOL bEnabled, BOOL bChecked, BOOL bPopuped, BOOL bToolBarImage) = 0;
  virtual CSize DrawDialogBarGripper(CDC *pDC, CXTPCommandBar *pBar, BOOL bDraw) = 0;
  virtual int GetThemeId() const = 0;
  virtual CFont *GetCommandBarFont(CXTPCommandBar *pBar, BOOL bBold = FALSE);
  virtual void Animate(CDC *pDestDC, CDC *pSrcDC, CRect rc, int nAnimationType);
  virtual void AnimateExpanding(CXTPCommandBar *pBar, CDC *pDestDC, CDC *pSrcDC);
  virtual void AdjustCaption(CString & /*strCaption*/) {}
  virtual void DrawStatusBarPaneBorder(CDC *pDC, CRect rc, BOOL bGripperPane);

  // The names other code calls the same operations by.
  CSize DrawPopupControl(CDC *pDC, CXTPControl *pControl, BOOL bDraw) {
    return DrawPopupBarControl(pDC, pControl, bDraw);
  }
  void DrawSplitButtonControl(CDC *pDC, CXTPControl *pControl, CRect rc) {
    DrawSplitButtonFrame(pDC, pControl, rc);
  }
  CSize DrawControlComboBox(CDC *pDC, CXTPControl *pControl, BOOL bDraw) {
    return DrawComboBoxControl(pDC, pControl, bDraw);
  }
  CSize DrawControlEdit(CDC *pDC, CXTPControl *pControl, BOOL bDraw) {
    return DrawEditControl(pDC, pControl, bDraw);
  }
  CSize DrawTearOffGripper(CDC *pDC, CRect rc, BOOL bActive, BOOL bDraw) {
    return DrawCaptionBand(pDC, rc, bActive, bDraw);
  }
  int GetCurrentTheme() const { return GetThemeId(); }

  // --- Non-virtual members -------------------------------------------------
  // The drawing entry of the controls.
  CSize DrawControl(CDC *pDC, CXTPControl *pControl, BOOL bDraw = TRUE);

  // 0 to 57 the table's colour; a larger value is a colour and comes back.
  // A literal colour whose value is below 58 (black and the darkest reds)
  // therefore reads as an index: callers pass indexes and literals through
  // the same argument and rely on this split, so such a colour must be
  // given as an index (0 is black) or nudged above 57.
  COLORREF GetPaintColor(int nIndex) const;
  COLORREF GetColor(int nIndex) const { return GetPaintColor(nIndex); }
  CXTPPaintManagerColor &GetColorPair(int nIndex) { return m_arrColor[nIndex]; }
  void SetColors(int nCount, const int *pIndexes, const COLORREF *pColors);

  XTP_COMMANDBARS_ICONSINFO *GetIconsInfo() { return &m_iconsInfo; }
  int GetCurrentSystemTheme() const;
  void SetSystemTheme(int nTheme) { m_nSystemTheme = nTheme; }

  void SetCommandBarsFontIndirect(const LOGFONTW *pLogFont, BOOL bUseStandardFont = FALSE);
  int GetControlHeight() const { return m_nTextHeight; }
  // The popup row height other code reads by that name.
  int GetPopupRowHeight() const { return m_nTextHeight; }

  BOOL IsKeyboardCuesShown() const { return m_bShowKeyboardCues; }
  void SetKeyboardCuesShown(BOOL bShow) { m_bShowKeyboardCues = bShow; }
  void SetAnimation(int nSteps, int nDuration) {
    m_nAnimationSteps = nSteps;
    m_nAnimationTime = nDuration;
  }
  int GetAnimationSteps() const { return m_nAnimationSteps; }
  int GetAnimationTime() const { return m_nAnimationTime; }
  int GetStoredThemeId() const { return m_nTheme; }
  // The colour of popup shadows in the themes that draw them (0 here).
  COLORREF GetShadowColor() const { return static_cast<COLORREF>(m_nStatusBarValue); }
  // The font of edit and combo-box windows.
  CFont *GetIconFont() { return &m_fontIcon; }
  CFont *GetRegularFont() { return &m_fontRegular; }
  BOOL IsPreferTahoma() const { return m_bUseTahoma; }
  BOOL IsStandardFont() const { return m_bUseStandardFont; }

  // --- Drawing primitives --------------------------------------------------
  void Triangle(CDC *pDC, CPoint pt0, CPoint pt1, CPoint pt2, COLORREF clr);
  void Rectangle(CDC *pDC, CRect rc, int nPen, int nBrush);
  void Draw3dRect(CDC *pDC, CRect rc, int nTopLeft, int nBottomRight);
  void Line(CDC *pDC, int x0, int y0, int x1, int y1);
  void Line(CDC *pDC, int x0, int y0, int x1, int y1, int nPen);
  void DrawCheckMark(CDC *pDC, CRect rc, COLORREF clr, BOOL bLayoutRTL = FALSE);
  static CString StripAccelerators(LPCTSTR lpszText);
  // The caption as shown (StripAccelerators) in *pText, and the index in it of
  // the character the first single "&" marks: the one to underline, and the
  // key the caption answers to. -1 when no character is marked ("&&" is a
  // literal "&", a final "&" marks nothing).
  static int FindMnemonic(LPCWSTR lpszCaption, CString *pText);
  // Where the underline of character nIndex goes, from the text's extents
  // after each of its characters (pnExtents[i] is the width of the first i + 1
  // characters): from the character's start to one pixel before the next
  // character starts, relative to the text's origin, right edge exclusive.
  struct MnemonicSpan {
    int nLeft;
    int nRight;
  };
  static MnemonicSpan GetMnemonicSpan(const int *pnExtents, int nCount, int nIndex);
  // How many leading characters stay when a text too wide for nWidth ends
  // in an ellipsis of width nEllipsis (at least none).
  static int FitBeforeEllipsis(const int *pnExtents, int nCount, int nEllipsis, int nWidth);
  // One line of text as DrawText draws it with DT_SINGLELINE (honouring
  // DT_VCENTER, DT_BOTTOM, DT_CENTER, DT_RIGHT, DT_END_ELLIPSIS, DT_NOPREFIX,
  // DT_NOCLIP and DT_CALCRECT), except that every character is placed at the
  // advance the DC reports for it and the mnemonic's underline is laid on
  // those same advances. A font whose drawn glyphs advance otherwise than its
  // reported widths (Tahoma's small bitmap strikes under Wine) would leave
  // the underline beside its letter and the text shorter than its measured
  // cell. Returns the size of the text as drawn (as measured for DT_CALCRECT).
  static CSize DrawCaptionText(CDC *pDC, LPCWSTR lpszText, CRect rc, UINT nFormat);
  CSize DrawTextWithAccelerator(CDC *pDC, CString strText, CRect rc, BOOL bDraw, BOOL bVertical,
                                BOOL bCentered, BOOL bTriangle, BOOL bEmbossed = FALSE);
  // dest = (dest * (255 - alpha) + src * alpha) >> 8 on blue, green and red.
  static void BlendPixels(const DWORD *pSrc, DWORD *pDest, int nCount, int nAlpha);
  void GradientFill(CDC *pDC, LPCRECT lpRect, COLORREF crFrom, COLORREF crTo, BOOL bHorz);
  static BOOL FontExists(LPCTSTR lpszFaceName);
  static BOOL IsVerticalPosition(int nPosition) { return nPosition == 2 || nPosition == 3; }
  // Whether the control shows its icon on a toolbar: style 0 shows icons
  // except on popup controls, styles 2 and 3 always.
  static BOOL IsIconStyle(CXTPControl *pControl);
  // A popup control whose popup is open.
  static BOOL IsControlPopuped(CXTPControl *pControl);
  // Popup, button-popup and split-button-popup controls (type as an int:
  // the control types are not known here).
  static BOOL IsPopupType(int nType);

  // --- Seams for tests: the system values that choose fonts --------------
  typedef BOOL (*FontExistsFunction)(LPCTSTR lpszFaceName);
  typedef void (*NonClientMetricsFunction)(NONCLIENTMETRICSW *pMetrics);
  static void SetFontExistsFunction(FontExistsFunction pfn) { s_pfnFontExists = pfn; }
  static void SetNonClientMetricsFunction(NonClientMetricsFunction pfn) { s_pfnNonClientMetrics = pfn; }
  static void ReadNonClientMetrics(NONCLIENTMETRICSW *pMetrics);

  // --- Fields the themes and controls touch -------------------------------
  DWORD m_nStatusBarValue = 0; // the shadow colour of the themes that draw shadows
  COLORREF m_clrStatusTextColor;
  CFont m_fontRegular;
  CFont m_fontRegularBold;
  CFont m_fontVert;
  CFont m_fontVertBold;
  CFont m_fontSmCaption;
  CFont m_fontIcon;
  CFont m_fontMarlettIcon;
  CFont m_fontIconBold;
  int m_nTextHeight = 0;
  BOOL m_bUseTahoma = FALSE;
  BOOL m_bUseStandardFont = TRUE;
  int m_nTheme = xtpThemeDefault;
  XTP_COMMANDBARS_ICONSINFO m_iconsInfo = {FALSE, FALSE, FALSE};
  int m_nAnimationSteps = 10;
  int m_nAnimationTime = 100;
  BOOL m_bShowKeyboardCues = TRUE;
  // Disabled toolbar text drawn with a highlight under it (the classic look);
  // the flat themes give it a colour of its own instead.
  BOOL m_bEmbossDisabledText = TRUE;
  CXTPPaintManagerColor m_arrColor[XPCOLOR_COUNT];
  int m_nSystemTheme = xtpSystemThemeDefault;

protected:
  void RefreshStandardFonts();
  // The base body, for the constructor (which must not reach a theme's).
  void RefreshBaseMetrics();
  // Clears pressed and a right-to-left flag for the helpers below.
  static void DrawDownTriangle(CXTPPaintManager *pPM, CDC *pDC, int x, int y, COLORREF clr);
  // The highlight under embossed (disabled) text: the text one pixel down and
  // right in the highlight colour; the text colour is left as it was.
  void DrawTextHighlight(CDC *pDC, LPCWSTR lpszText, CRect rc, UINT nFormat);

private:
  static FontExistsFunction s_pfnFontExists;
  static NonClientMetricsFunction s_pfnNonClientMetrics;
};

// The global paint manager (may be null before the first SetTheme).
CXTPPaintManager *XTPGetPaintManager();
inline CXTPPaintManager *XTPPaintManager() {
  return XTPGetPaintManager();
}

// Ends the toolkit's process-wide services in dependency order: the global
// paint manager first, while the colour, image and drawing services it uses
// still exist. Runs by itself at exit; a program may call it earlier.
void XTPShutdownToolkit();
