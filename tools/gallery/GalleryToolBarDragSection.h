// Toolbars that can be dragged: a small frame with dock bars on its four
// sides and toolbars on them, one floating. The bars move live with the
// mouse, dock on the side the cursor comes near, float in the open, resize
// by the edges of their floating window and toggle on a double click.
#pragma once

#include <vector>

#include "GalleryDockSiteSection.h"

class CGalleryToolBarDragSection : public CGalleryDockSiteSection {
public:
  CGalleryToolBarDragSection();
  LPCTSTR GetTitle() const override { return L"Toolbar drag: dock to any side, float, resize, double-click"; }
  int GetHeight() const override { return 330; }
  void Create(CWnd *pParent, const CRect &rcBody) override;

private:
  CXTPToolBar *AddBar(LPCTSTR lpszTitle, const std::vector<LPCTSTR> &captions, XTPBarPosition position);
};
