// Button themes: the painters of CXTButton. The base theme draws a classic
// 3-D, flat or semi-flat button (or the visual style's push button); the
// Office themes draw a flat face that lights up under the mouse, with faded
// and shadowed icons, in the toolkit's colours or in the colour scheme's.
#pragma once

#include "FrameworkCore.h"
#include "Dc.h"

#include "XTPColorManager.h"
#include "XTPWinThemeWrapper.h"
#include "XTThemeManager.h"

class CXTButton;

class CXTButtonTheme : public CXTThemeManagerStyle {
public:
  CXTButtonTheme();
  ~CXTButtonTheme() override = default;

  void RefreshMetrics() override;
  virtual BOOL AllowsHotState(CXTButton *pButton);
  // Only buttons with extended style 0x1000 ask for the visual style.
  virtual BOOL DrawsWithVisualStyles(CXTButton *pButton);
  virtual BOOL IsIconShown() const { return m_bShowIcon; }
  virtual void SetIconShown(BOOL bShow) { m_bShowIcon = bShow; }
  // The theme's font when it is a valid font, else the button's.
  virtual HFONT GetTextFont(CXTButton *pButton);
  virtual void SetTextFont(HFONT hFont) { m_hFont = hFont; }

  // Owner colours win over the refreshed defaults until set to
  // CXTPPaintManagerColor::COLORREF_NULL.
  virtual void ApplyButtonColors(COLORREF clrFace, COLORREF clrHighlight, COLORREF clrShadow,
                                 COLORREF clrText);
  virtual void SetFaceColor(COLORREF clr) { m_crBack.SetCustomValue(clr); }
  virtual COLORREF GetFaceColor() { return m_crBack; }
  virtual void SetHighlightColor(COLORREF clr) { m_crBorderHilite.SetCustomValue(clr); }
  virtual void SetShadowColor(COLORREF clr) { m_crBorderShadow.SetCustomValue(clr); }
  virtual void SetLabelColor(COLORREF clr) { m_crText.SetCustomValue(clr); }

  // Layout inside the item rectangle, in its coordinates.
  virtual CPoint ComputeImageStart(CXTButton *pButton, const CRect &rcItem, CSize szImage);
  virtual CPoint ResolveTextPoint(CXTButton *pButton, const CRect &rcItem, CSize szText);
  virtual COLORREF ChooseTextColor(UINT nState, CXTButton *pButton);
  virtual void DrawButtonText(CDC *pDC, UINT nState, const CRect &rcItem, CXTButton *pButton);
  virtual CPoint ResolveImagePoint(UINT nState, const CRect &rcItem, CXTButton *pButton);
  virtual void DrawButtonIcon(CDC *pDC, UINT nState, const CRect &rcItem, CXTButton *pButton);

  virtual void DrawItem(LPDRAWITEMSTRUCT lpDIS, CXTButton *pButton);
  // FALSE when the visual style drew nothing.
  virtual BOOL DrawVisualStyleBackground(CDC *pDC, UINT nState, const CRect &rcItem, CXTButton *pButton);
  virtual void DrawButtonBackground(CDC *pDC, UINT nState, const CRect &rcItem, CXTButton *pButton);
  virtual void DrawFocusRect(CDC *pDC, UINT nState, const CRect &rcItem, CXTButton *pButton);

  // The visual-style state of the push-button part for an item state.
  static int VisualStyleState(UINT nState, BOOL bHot, BOOL bPushed);

  int GetThemeId() const { return m_nThemeId; }
  void SetThemeId(int nThemeId) { m_nThemeId = nThemeId; }

  COLORREF GetTextColor() const { return m_crText; }
  COLORREF GetShadowColor() const { return m_crBorderShadow; }
  COLORREF GetHighlightColor() const { return m_crBorderHilite; }

protected:
  static BOOL IsPressed(UINT nState, CXTButton *pButton);
  // The window text without its mnemonic ampersands, measured in the
  // theme's font (0, 0 for an empty text).
  CSize MeasureText(CDC *pDC, CXTButton *pButton);

  BOOL m_bShowIcon = TRUE;
  BOOL m_bOffsetHiliteText = TRUE;
  HFONT m_hFont = nullptr;
  CXTPPaintManagerColor m_crBack;
  CXTPPaintManagerColor m_crText;
  CXTPPaintManagerColor m_crTextDisabled;
  CXTPPaintManagerColor m_crBorderHilite;
  CXTPPaintManagerColor m_crBorderShadow;
  CXTPPaintManagerColor m_crBorderLight;
  CXTPPaintManagerColor m_crBorder3DShadow;
  CXTPWinThemeWrapper m_themeWrapper;
  int m_nThemeId = 0;
};

// Theme 1: Office, theme 2: Office highlight, anything else the base.
class CXTButtonThemeFactory : public CXTThemeManagerStyleFactory {
  DECLARE_DYNCREATE(CXTButtonThemeFactory)
public:
  CXTThemeManagerStyle *CreateTheme(int nThemeId) override;
};
