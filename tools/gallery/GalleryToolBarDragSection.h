// Toolbars that can be dragged: a small frame with dock bars on its four
// sides and toolbars on them, one floating. The bars move live with the
// mouse, dock on the side the cursor comes near, float in the open, resize
// by the edges of their floating window and toggle on a double click.
#pragma once

#include <memory>
#include <vector>

#include "GallerySection.h"
#include "XTPToolBar.h"

class CXTPCommandBars;
class CXTPDockBar;
class CFrameWnd;

class CGalleryToolBarDragSection : public CGallerySection, public CXTPToolBarSite {
public:
  CGalleryToolBarDragSection();
  ~CGalleryToolBarDragSection() override;
  LPCTSTR GetTitle() const override { return L"Toolbar drag: dock to any side, float, resize, double-click"; }
  int GetHeight() const override { return 330; }
  void Draw(CDC *pDC, const CRect &rcBody) override;
  void Create(CWnd *pParent, const CRect &rcBody) override;

  // The frame's docking, as its toolbars see it.
  void RecalcFrameLayout(CXTPToolBar *pBar) override;
  BOOL DockBarAt(CXTPToolBar *pBar, XTPBarPosition position) override;
  CXTPDockBar *GetDockBar(int nPosition) const override;

private:
  CXTPToolBar *AddBar(LPCTSTR lpszTitle, const std::vector<LPCTSTR> &captions, XTPBarPosition position);

  CXTPCommandBars *m_pCommandBars = nullptr;
  CFrameWnd *m_pFrame = nullptr; // deletes itself with its window
  std::vector<std::unique_ptr<CXTPDockBar>> m_dockBars;
  std::vector<CXTPToolBar *> m_bars;
};
