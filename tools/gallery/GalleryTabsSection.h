// Tab strips: every appearance with every colour set, then one look in each
// position with scroll buttons and a hot tab, compressed and in several rows.
// The strips are windowless tab managers drawn into the section's body.
#pragma once

#include "GallerySection.h"
#include "XTPTabPaintManager.h"

#include <memory>
#include <vector>

class CGalleryTabStrip : public CXTPTabManager {
public:
  CGalleryTabStrip();
  ~CGalleryTabStrip() override;

  // Lays the strip out in a control of the given rectangle (body-relative).
  void Setup(int nAppearance, int nColorSet, XTPTabPosition nPosition, XTPTabLayoutStyle nLayout,
             const CRect &rcControl, const std::vector<LPCTSTR> &arrCaptions, int nSelected);
  void Draw(CDC *pDC, CPoint ptOrigin);

  CXTPTabPaintManager *GetPaintManager() const override { return &m_paint; }
  void Reposition() override;
  void RedrawControl() override {}
  BOOL DrawIcon(CDC *pDC, CPoint pt, CXTPTabManagerItem *pItem, BOOL bDraw, CSize &szIcon) const override;

  CRect GetControl() const { return m_rcControl; }
  BOOL m_bIcons = FALSE;

private:
  mutable CXTPTabPaintManager m_paint;
  CRect m_rcControl;
};

class CGalleryTabsSection : public CGallerySection {
public:
  static const int kAppearances = 10, kSets = 5, kDemos = 6;
  static const int kLabelWidth = 74, kCellWidth = 85, kCellHeight = 38, kRowGap = 2, kHeader = 14;
  static const int kDemoTop = kHeader + kSets * (kCellHeight + kRowGap) + 4;
  static const int kDemoHeight = 92;

  CGalleryTabsSection();
  LPCTSTR GetTitle() const override {
    return L"Tab strips: ten appearances x five colour sets; positions, scroll buttons, hot tab, compressed, "
           L"rows";
  }
  int GetHeight() const override { return kDemoTop + 14 + kDemoHeight; }
  void Draw(CDC *pDC, const CRect &rcBody) override;

  static const int kSetIds[kSets];
  // Body-relative: the control of an appearance under a colour set, and of
  // each demonstration strip (0 top with scroll buttons, a hot tab and the
  // close button, 1 bottom, 2 left, 3 right, 4 compressed, 5 several rows).
  static CRect CellRect(int nAppearance, int nSet);
  static CRect DemoRect(int nDemo);
  CGalleryTabStrip &GetCell(int nAppearance, int nSet) { return *m_cells[nAppearance * kSets + nSet]; }
  CGalleryTabStrip &GetDemo(int nDemo) { return *m_demos[nDemo]; }

private:
  std::vector<std::unique_ptr<CGalleryTabStrip>> m_cells;
  std::vector<std::unique_ptr<CGalleryTabStrip>> m_demos;
};
