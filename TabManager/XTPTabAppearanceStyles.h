// The ten tab appearances, each painting its own background and tab shape.
#pragma once

#include "XTPTabAppearance.h"

// 3-D classic tab.
class CXTPTabAppearance0 : public CXTPTabAppearance {
public:
  CRect GetClientPadding() override;
  CRect PaintBackground(CXTPTabManager *pTabManager, CDC *pDC, CRect rcControl) override;
  void DrawTab(CDC *pDC, CXTPTabManagerItem *pItem) override;
  int GetStyleConstant() override { return 13; }
};

// Style 0's tab only when selected or hot, else text only.
class CXTPTabAppearance1 : public CXTPTabAppearance0 {
public:
  void DrawTab(CDC *pDC, CXTPTabManagerItem *pItem) override;
};

// Square tab with outline, flat frame.
class CXTPTabAppearance6 : public CXTPTabAppearance {
public:
  CXTPTabAppearance6() { m_rcStripMargin = CRect(2, 2, 4, 0); }
  CRect PaintBackground(CXTPTabManager *pTabManager, CDC *pDC, CRect rcControl) override;
  void DrawTab(CDC *pDC, CXTPTabManagerItem *pItem) override;
  int GetStyleConstant() override { return 7; }
  int GetPreferredColorSet() override { return 2; }
};

// Square tab with blurred corners.
class CXTPTabAppearance2 : public CXTPTabAppearance6 {
public:
  void DrawTab(CDC *pDC, CXTPTabManagerItem *pItem) override;
  int GetPreferredColorSet() override { return 1; }

  BOOL blurredCorners = TRUE;
};

// Slanted tab.
class CXTPTabAppearance3 : public CXTPTabAppearance {
public:
  CRect GetStripMargin() override;
  CRect PaintBackground(CXTPTabManager *pTabManager, CDC *pDC, CRect rcControl) override;
  void DrawTab(CDC *pDC, CXTPTabManagerItem *pItem) override;
  int GetStyleConstant() override { return 21; }
  int GetPreferredColorSet() override { return 4; }

  BOOL outlineHotTab = FALSE;

protected:
  // Outline, inner and highlight colours of the tab.
  void SlantColors(CXTPTabManagerItem *pItem, COLORREF &clrOutline, COLORREF &clrInner,
                   COLORREF &clrHighlight) const;
};

// Flat button.
class CXTPTabAppearance4 : public CXTPTabAppearance {
public:
  CXTPTabAppearance4() {
    m_rcStripMargin = CRect(2, 2, 4, 2);
    m_nRowSpacing = 0;
  }
  CRect PaintBackground(CXTPTabManager *pTabManager, CDC *pDC, CRect rcControl) override;
  void DrawTab(CDC *pDC, CXTPTabManagerItem *pItem) override;
  int GetPreferredColorSet() override { return 2; }
};

// Separators and a raised selected tab.
class CXTPTabAppearance5 : public CXTPTabAppearance {
public:
  CXTPTabAppearance5() { m_rcStripMargin = CRect(4, 2, 4, 0); }
  CRect PaintBackground(CXTPTabManager *pTabManager, CDC *pDC, CRect rcControl) override;
  void DrawTab(CDC *pDC, CXTPTabManagerItem *pItem) override;
  int GetStyleConstant() override { return 7; }
  int GetPreferredColorSet() override { return 2; }
};

// Tab sloped at both ends.
class CXTPTabAppearance7 : public CXTPTabAppearance6 {
public:
  CXTPTabAppearance7() { m_rcStripMargin = CRect(2, 3, 2, 0); }
  CRect GetStripMargin() override;
  void DrawTab(CDC *pDC, CXTPTabManagerItem *pItem) override;
};

// Tabs stacked as a list, the selected one's page between them.
class CXTPTabAppearance8 : public CXTPTabAppearance {
public:
  CXTPTabAppearance8() { m_rcStripMargin = CRect(0, 0, 0, 0); }
  void DrawTab(CDC *pDC, CXTPTabManagerItem *pItem) override;
  void DrawControl(CXTPTabManager *pTabManager, CDC *pDC, CRect rcControl) override;
  CRect ComputeStripRect(CRect, CXTPTabManager *) override { return CRect(0, 0, 0, 0); }
  CRect PaintBackground(CXTPTabManager *, CDC *, CRect) override { return CRect(0, 0, 0, 0); }
  void LayoutTabs(CXTPTabManager *pTabManager, CDC *pDC, CRect rcControl) override;
  CRect ComputeClientRect(CRect rcControl, CXTPTabManager *pTabManager) override;
  void ShrinkToClient(CXTPTabManager *pTabManager, CRect &rcControl) override;
  int GetStyleConstant() override { return 5; }
};

// Rounded slanted tab.
class CXTPTabAppearance9 : public CXTPTabAppearance3 {
public:
  CXTPTabAppearance9() { m_bDrawLeftToRight = TRUE; }
  CRect GetStripMargin() override;
  void DrawTab(CDC *pDC, CXTPTabManagerItem *pItem) override;
};
