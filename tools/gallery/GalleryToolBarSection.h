// Toolbars as live windows: one docked with room for every button, the same
// narrowed so buttons go behind the chevron (which lists them), and one with
// the floating look, its caption carrying the close and expand buttons.
#pragma once

#include <vector>

#include "GallerySection.h"

class CXTPToolBar;
class CXTPCommandBars;

class CGalleryToolBarSection : public CGallerySection {
public:
  static const int kLabelWidth = 190;
  static const int kRowHeight = 40;
  static const int kRows = 3;

  CGalleryToolBarSection();
  ~CGalleryToolBarSection() override;
  LPCTSTR GetTitle() const override { return L"Toolbars: docked, narrowed behind the chevron, floating"; }
  int GetHeight() const override { return kRows * kRowHeight + 30; }
  void Draw(CDC *pDC, const CRect &rcBody) override;
  void Create(CWnd *pParent, const CRect &rcBody) override;

private:
  CXTPCommandBars *m_pCommandBars = nullptr;
  std::vector<CXTPToolBar *> m_bars;
};
