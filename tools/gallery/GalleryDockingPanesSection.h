// Docking panes: one small frame per built theme (default, 1, 2, 5 and 8),
// each with panes docked on several sides, a tabbed group and the splitter
// bars between them. Panes can be dragged to other sides, into other tab
// groups or out to float; theme 8's frame starts with one pane floating, and
// the first three frames keep a pane auto-hidden along their left side.
// A check box beside the frames turns translucent drags with docking
// stickers on and off in every frame.
#pragma once

#include <memory>
#include <vector>

#include "GallerySection.h"

class CXTPDockingPaneManager;

class CGalleryDockingPanesSection : public CGallerySection {
public:
  CGalleryDockingPanesSection();
  ~CGalleryDockingPanesSection() override;
  LPCTSTR GetTitle() const override { return L"Docking panes: captions, tabs and splitters in each theme"; }
  int GetHeight() const override;
  void Draw(CDC *pDC, const CRect &rcBody) override;
  void Create(CWnd *pParent, const CRect &rcBody) override;

  // The frames' managers, in the order of their themes (default, 1, 2, 5, 8).
  int GetManagerCount() const { return static_cast<int>(m_managers.size()); }
  CXTPDockingPaneManager *GetManager(int i) const { return m_managers[i].get(); }

  // The check box for translucent drags with stickers (on at first).
  HWND GetStickersCheck() const { return m_hStickers; }

private:
  std::vector<std::unique_ptr<CXTPDockingPaneManager>> m_managers;
  HWND m_hStickers = nullptr;
};
