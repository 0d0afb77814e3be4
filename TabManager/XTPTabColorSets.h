// The tab colour sets: every colour a tab paint manager draws a strip with,
// and the standard fills of the strip (background, client frame, one tab's
// face, a flat tab, a navigate button) and the text colour of a tab. The
// appearance decides the shapes; the colour set the colours, and the
// visual-style set draws whole parts through the system theme.
#pragma once

#include "FrameworkCore.h"
#include "Dc.h"
#include "GdiObject.h"

#include "XTPColorManager.h"
#include "XTPTabManager.h"
#include "XTPWinThemeWrapper.h"

class CXTPTabPaintManager;

class CXTPTabColorSet {
public:
  CXTPTabColorSet();
  virtual ~CXTPTabColorSet();
  CXTPTabColorSet(const CXTPTabColorSet &) = delete;
  CXTPTabColorSet &operator=(const CXTPTabColorSet &) = delete;

  virtual void RefreshMetrics();
  // Sets the text colour for the tab; returns the previous one.
  virtual COLORREF ApplyTextColor(CDC *pDC, CXTPTabManagerItem *pItem);
  virtual void PaintStrip(CDC *pDC, CRect rc, CXTPTabManager *pTabManager);
  virtual COLORREF PaintClient(CDC *pDC, CRect rc, CXTPTabManager *pTabManager);
  virtual void FillFlatButton(CDC *pDC, CRect rc, CXTPTabManagerItem *pItem);
  virtual COLORREF PaintTabFace(CDC *pDC, CRect rc, CXTPTabManagerItem *pItem);
  virtual void ExcludeClientCorner(CDC * /*pDC*/, CRect /*rc*/, CXTPTabManager * /*pTabManager*/) {}
  // The button's face; sets the text colour of its glyph. rc may move.
  virtual void PaintNavigateButton(CDC *pDC, CXTPTabManagerNavigateButton *pButton, CRect &rc) = 0;
  virtual COLORREF GetTabFaceColor(CXTPTabManagerItem *pItem);
  virtual BOOL UsesVisualStyle() { return FALSE; }

  // A gradient along the strip's depth (first to second), turned for bottom
  // and right strips; a first colour of 0xFFFFFFFE fills with the halftone
  // of the button face and highlight.
  void GradientFillRect(CDC *pDC, CRect rc, COLORREF clrFirst, COLORREF clrSecond, int nPosition);
  void GradientFillRect(CDC *pDC, CRect rc, const CXTPPaintManagerColorGradient &grc, int nPosition) {
    GradientFillRect(pDC, rc, grc.clrLight_, grc.clrDark_, nPosition);
  }
  static BOOL IsHorizontalPosition(int nPosition) { return nPosition == 0 || nPosition == 2; }
  static BOOL IsTopOrLeftPosition(int nPosition) { return nPosition == 0 || nPosition == 1; }

  void SetOwner(CXTPTabPaintManager *pOwner) { m_pOwner = pOwner; }
  CXTPTabPaintManager *GetOwner() const { return m_pOwner; }

  static const COLORREF kHalftone = 0xFFFFFFFE;

  CXTPPaintManagerColorGradient stripFace;
  CXTPPaintManagerColorGradient stripFaceAlternate;
  CXTPPaintManagerColor edgeDark;
  CXTPPaintManagerColor edgeFace;
  CXTPPaintManagerColor edgeLight;
  CXTPPaintManagerColor tabFaceSelected;
  CXTPPaintManagerColor tabFace;
  CXTPPaintManagerColor labelColor;
  CXTPPaintManagerColor labelInactive;
  CXTPPaintManagerColor labelSelected;
  CXTPPaintManagerColor labelHot;
  CXTPPaintManagerColor labelDisabled;
  CXTPPaintManagerColorGradient flatButtonFace;
  CXTPPaintManagerColorGradient flatButtonBorder;
  CXTPPaintManagerColor bevelLight, bevelShadow, bevelDarkShadow;
  CXTPPaintManagerColor slantOutline, slantBorder, slantFace, slantHighlight;
  CXTPPaintManagerColor slopeSelected[6];
  CXTPPaintManagerColor slopeNormal[6];

protected:
  int OwnerAppearance() const;
  BOOL OwnerItemColors() const;
  BOOL OwnerSchemeColorsDisabled() const;

  CXTPTabPaintManager *m_pOwner = nullptr;

private:
  // The halftone pattern brush, made once and freed with the set.
  CBitmap m_bmpHalftone;
  CBrush m_brushHalftone;
};

class CXTPTabColorSetDefault : public CXTPTabColorSet {
public:
  void RefreshMetrics() override;
  void PaintNavigateButton(CDC *pDC, CXTPTabManagerNavigateButton *pButton, CRect &rc) override;
};

class CXTPTabColorSet2 : public CXTPTabColorSetDefault {
public:
  void RefreshMetrics() override;
  void PaintNavigateButton(CDC *pDC, CXTPTabManagerNavigateButton *pButton, CRect &rc) override;
};

class CXTPTabColorSet4 : public CXTPTabColorSetDefault {
public:
  void RefreshMetrics() override;
  COLORREF PaintTabFace(CDC *pDC, CRect rc, CXTPTabManagerItem *pItem) override;
  void PaintNavigateButton(CDC *pDC, CXTPTabManagerNavigateButton *pButton, CRect &rc) override;

  CXTPPaintManagerColor tabFaceHot;
  CXTPPaintManagerColor navigateButtonBorder;
  BOOL themeColorsInUse = FALSE;
};

class CXTPTabColorSet8 : public CXTPTabColorSetDefault {
public:
  void RefreshMetrics() override;
  COLORREF PaintTabFace(CDC *pDC, CRect rc, CXTPTabManagerItem *pItem) override;
  COLORREF PaintClient(CDC *pDC, CRect rc, CXTPTabManager *pTabManager) override;
  void FillFlatButton(CDC *pDC, CRect rc, CXTPTabManagerItem *pItem) override;
  void ExcludeClientCorner(CDC *pDC, CRect rc, CXTPTabManager *pTabManager) override;
  void PaintNavigateButton(CDC *pDC, CXTPTabManagerNavigateButton *pButton, CRect &rc) override;
  BOOL UsesVisualStyle() override;

  CXTPWinThemeWrapper themeTab;
  CXTPWinThemeWrapper themeToolbar;

private:
  void DrawTurnedTab(CDC *pDC, const CRect &rc, int nPosition, int nState);
};

class CXTPTabColorSet16 : public CXTPTabColorSet4 {
public:
  void RefreshMetrics() override;
  COLORREF PaintTabFace(CDC *pDC, CRect rc, CXTPTabManagerItem *pItem) override;

  BOOL gradientItems = FALSE;
};

// The colour set of an id: 2, 4, 8, 16, anything else the default set.
CXTPTabColorSet *XTPCreateTabColorSet(int nColorSet);
