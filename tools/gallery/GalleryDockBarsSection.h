// Dock bars in a small frame: bars along the four sides, two rows on top,
// one of them squeezed so its bars wrap. The frame lays its dock bars out
// as a main frame does, so resizing the gallery re-lays the rows.
#pragma once

#include <memory>
#include <vector>

#include "GallerySection.h"

class CXTPCommandBar;
class CXTPCommandBars;
class CXTPDockBar;

class CGalleryDockBarsSection : public CGallerySection {
public:
  CGalleryDockBarsSection();
  ~CGalleryDockBarsSection() override;
  LPCTSTR GetTitle() const override { return L"Dock bars: rows along the four sides of a frame"; }
  int GetHeight() const override { return 200; }
  void Draw(CDC *pDC, const CRect &rcBody) override;
  void Create(CWnd *pParent, const CRect &rcBody) override;

private:
  CXTPCommandBars *m_pCommandBars = nullptr;
  std::vector<std::unique_ptr<CXTPDockBar>> m_dockBars;
  std::vector<CXTPCommandBar *> m_bars;
};
