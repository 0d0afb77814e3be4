// CXTPColorManager: the toolkit's one table of 58 colours. Indexes below 28
// follow the system colours of the same number; 30 to 57 are derived from
// them by fixed blending and contrast rules so that bars and panes read well
// in any colour scheme. Four gradient pairs and the visual-style colour
// scheme (blue, olive, silver) go with them.
#pragma once

#include "FrameworkCore.h"
#include "CmdTarget.h"

#include "XTPWinThemeWrapper.h"

// A colour with a standard value that refreshes rewrite and a custom value
// that the application sets and that wins while set (not 0xFFFFFFFF).
class CXTPPaintManagerColor {
public:
  COLORREF GetStandardColor() const { return m_clrStandardValue; }
  COLORREF GetCustomColor() const { return m_clrCustomValue; }
  COLORREF GetColor() const {
    return m_clrCustomValue != COLORREF_NULL ? m_clrCustomValue : m_clrStandardValue;
  }
  operator COLORREF() const { return GetColor(); }
  void SetStandardValue(COLORREF clr) { m_clrStandardValue = clr; }
  void SetCustomValue(COLORREF clr) { m_clrCustomValue = clr; }
  BOOL IsCustomValue() const { return m_clrCustomValue != COLORREF_NULL; }

  static constexpr COLORREF COLORREF_NULL = 0xFFFFFFFF;

private:
  COLORREF m_clrStandardValue = COLORREF_NULL;
  COLORREF m_clrCustomValue = COLORREF_NULL;
};

class CXTPPaintManagerColorGradient {
public:
  void SetStandardValue(COLORREF clrLight, COLORREF clrDark) {
    clrLight_.SetStandardValue(clrLight);
    clrDark_.SetStandardValue(clrDark);
  }
  void SetStandardValueFromColor(COLORREF clr) { SetStandardValue(clr, clr); }
  void SetStandardValue(COLORREF clr) { SetStandardValueFromColor(clr); }
  void SetCustomValue(COLORREF clrLight, COLORREF clrDark) {
    clrLight_.SetCustomValue(clrLight);
    clrDark_.SetCustomValue(clrDark);
  }

  CXTPPaintManagerColor clrLight_; // start
  CXTPPaintManagerColor clrDark_;  // end
};

// The colour schemes of the visual style, as GetCurrentSystemTheme reports them.
enum XTPCurrentSystemTheme {
  xtpSystemThemeUnknown = 0,
  xtpSystemThemeBlue = 1,
  xtpSystemThemeOlive = 2,
  xtpSystemThemeSilver = 3,
  xtpSystemThemeAuto = 4,
  xtpSystemThemeDefault = 5,
};

// The toolkit's own colour indexes, beside the system ones (COLOR_BTNFACE ...).
enum {
  XPCOLOR_BASE = 30,
  XPCOLOR_TOOLBAR_FACE = XPCOLOR_BASE,
  XPCOLOR_HIGHLIGHT = 31,
  XPCOLOR_HIGHLIGHT_BORDER = 32,
  XPCOLOR_HIGHLIGHT_PUSHED = 33,
  XPCOLOR_HIGHLIGHT_CHECKED = 36,
  XPCOLOR_HIGHLIGHT_CHECKED_BORDER = 37,
  XPCOLOR_ICONSHADDOW = 34,
  XPCOLOR_GRAYTEXT = 35,
  XPCOLOR_TOOLBAR_GRIPPER = 38,
  XPCOLOR_SEPARATOR = 39,
  XPCOLOR_DISABLED = 40,
  XPCOLOR_MENUBAR_FACE = 41,
  XPCOLOR_MENUBAR_EXPANDED = 42,
  XPCOLOR_MENUBAR_BORDER = 43,
  XPCOLOR_MENUBAR_TEXT = 44,
  XPCOLOR_HIGHLIGHT_TEXT = 45,
  XPCOLOR_TOOLBAR_TEXT = 46,
  XPCOLOR_PUSHED_TEXT = 47,
  XPCOLOR_TAB_INACTIVE_BACK = 48,
  XPCOLOR_TAB_INACTIVE_TEXT = 49,
  XPCOLOR_HIGHLIGHT_PUSHED_BORDER = 50,
  XPCOLOR_CHECKED_TEXT = 51,
  XPCOLOR_3DFACE = 52,
  XPCOLOR_3DSHADOW = 53,
  XPCOLOR_EDITCTRLBORDER = 54,
  XPCOLOR_FRAME = 55,
  XPCOLOR_SPLITTER_FACE = 56,
  XPCOLOR_LABEL = 57,
  XPCOLOR_LAST = 57,
  XPCOLOR_COUNT = 58,
};

typedef COLORREF (*XTPSysColorFunction)(int nIndex);

class CXTPColorManager : public CCmdTarget {
public:
  // Runs a full refresh from the system colours.
  CXTPColorManager();
  ~CXTPColorManager() override;

  static CXTPColorManager &Instance();
  // FALSE once the process's colour manager has ended (at exit), for the
  // services that must end before it.
  static BOOL IsAlive();

  // For 0 to 57 the custom colour when set, else the standard one; any larger
  // value is a literal colour and comes back unchanged.
  COLORREF GetColor(int nIndex) const;
  void SetColor(int nIndex, COLORREF clrCustom);

  // Per channel (c1 * p + c2 * (D - p) + D / 2) / D with D = 100 below 100,
  // else 1000 (165 is 16.5 percent of c1); channels are kept in 0..255.
  static COLORREF BlendColors(COLORREF clr1, COLORREF clr2, int nPercent);

  // With bOnlyOnce, nothing after the first refresh.
  void RefreshColors(BOOL bOnlyOnce = FALSE);

  int GetCurrentSystemTheme() const;
  int DetectVisualStyleTheme() const;
  // 0 to 3 forces a scheme, 4 (or 5) detects it from the visual style.
  void SetSystemTheme(int nTheme) { m_nSystemTheme = nTheme; }
  void DisableSystemThemeColors(BOOL bDisable) { m_bDisableSystemThemeColors = bDisable; }
  BOOL IsSystemThemeColorsDisabled() const { return m_bDisableSystemThemeColors; }

  // Used instead of GetSysColor when set (null restores GetSysColor).
  void SetSystemColorFunction(XTPSysColorFunction pfn) { m_pfnGetSysColor = pfn; }
  // Bits per pixel that RefreshColors assumes instead of asking the screen
  // (0 asks the screen).
  void SetDisplayBitsPerPixel(int nBits) { m_nDisplayBits = nBits; }
  // The bits per pixel set above, else the screen's.
  int GetDisplayBitsPerPixel() const { return DisplayBitsPerPixel(); }

  HRESULT OpenThemeData(HWND hWnd, LPCWSTR pszClassList) {
    return m_themeWrapper.OpenThemeData(hWnd, pszClassList);
  }

  const CXTPPaintManagerColorGradient &GetGradient(int nIndex) const { return m_grcGradient[nIndex]; }

  CXTPPaintManagerColorGradient m_grcGradient[4];

  // Contrast rules in the weighted colour space (exposed for their tests).
  static double ColorDistance(COLORREF clr1, COLORREF clr2);
  static double ColorBrightness(COLORREF clr);
  static double AdjustContrastDistance(double dBrightness, double dDistance);
  static BOOL ColorsFarApart(COLORREF clr1, COLORREF clr2, BOOL bAdjust, double dDistance);
  static COLORREF PushColorAway(COLORREF clr1, COLORREF clr2, double dDistance);
  static COLORREF MoveColorToward(COLORREF clr1, COLORREF clr2, double dDistance);

private:
  COLORREF SystemColor(int nIndex) const;
  int DisplayBitsPerPixel() const;
  void SetStandard(int nIndex, COLORREF clr) { m_arrStandardColor[nIndex] = clr; }
  void RefreshBlends();
  void RefreshContrast();
  void RefreshGradients();
  void RefreshLabelColor();

  BOOL m_bInit = FALSE;
  BOOL m_bDisableSystemThemeColors = FALSE;
  COLORREF m_arrStandardColor[XPCOLOR_COUNT] = {};
  COLORREF m_arrCustomColor[XPCOLOR_COUNT];
  XTPSysColorFunction m_pfnGetSysColor = nullptr;
  int m_nSystemTheme = xtpSystemThemeAuto;
  int m_nDisplayBits = 0;
  mutable CXTPWinThemeWrapper m_themeWrapper;
};

inline CXTPColorManager *XTPGetColorManager() {
  return &CXTPColorManager::Instance();
}

inline COLORREF XTPGetColor(int nIndex) {
  return CXTPColorManager::Instance().GetColor(nIndex);
}
