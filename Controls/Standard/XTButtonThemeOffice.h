// CXTButtonThemeOffice: the Office look of the themed button (flat at rest,
// a tinted face while hot, pushed or checked, faded and shadowed icons), and
// its highlight variant.
#pragma once

#include "XTButtonTheme.h"

class CXTButtonThemeOffice : public CXTButtonTheme {
public:
  explicit CXTButtonThemeOffice(BOOL bFramedLook = FALSE);

  void RefreshMetrics() override;
  BOOL AllowsHotState(CXTButton *) override { return TRUE; }
  COLORREF ChooseTextColor(UINT nState, CXTButton *pButton) override;
  void DrawButtonIcon(CDC *pDC, UINT nState, const CRect &rcItem, CXTButton *pButton) override;
  void DrawButtonBackground(CDC *pDC, UINT nState, const CRect &rcItem, CXTButton *pButton) override;
  void DrawFocusRect(CDC *pDC, UINT nState, const CRect &rcItem, CXTButton *pButton) override;

  void SetBackPushedColor(COLORREF clr) { m_crBackPushed.SetCustomValue(clr); }
  void SetBackHiliteColor(COLORREF clr) { m_crBackHilite.SetCustomValue(clr); }
  void SetTextPushedColor(COLORREF clr) { m_crTextPushed.SetCustomValue(clr); }
  void SetTextHiliteColor(COLORREF clr) { m_crTextHilite.SetCustomValue(clr); }
  void SetBackCheckedColor(COLORREF clr) { m_crBackChecked.SetCustomValue(clr); }
  // The framed look: a face in the toolbar colour with a thin shadow frame
  // while the button rests.
  void SetFramedLook(BOOL bFramed);
  BOOL IsFramedLook() const { return m_bFramedLook; }

  COLORREF GetBackPushedColor() const { return m_crBackPushed; }
  COLORREF GetBackHiliteColor() const { return m_crBackHilite; }
  COLORREF GetBackCheckedColor() const { return m_crBackChecked; }

protected:
  CXTPPaintManagerColor m_crBackPushed;
  CXTPPaintManagerColor m_crBackHilite;
  CXTPPaintManagerColor m_crTextPushed;
  CXTPPaintManagerColor m_crTextHilite;
  CXTPPaintManagerColor m_crBackChecked;
  BOOL m_bFramedLook;
  BOOL m_bFadedIcon = TRUE;
  BOOL m_bShadowIcon = TRUE;
};

class CXTButtonThemeOfficeHighlight : public CXTButtonThemeOffice {
public:
  explicit CXTButtonThemeOfficeHighlight(BOOL bFramedLook = FALSE);

  void RefreshMetrics() override;
  void DrawButtonIcon(CDC *pDC, UINT nState, const CRect &rcItem, CXTButton *pButton) override;
};
