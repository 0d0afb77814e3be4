// Docking panes in the other themes (3, 6, 7, 9 and 10), one small frame
// each with panes on several sides and a tab group, and floating frames
// whose caption the theme draws: theme 10's stays open, theme 3's rolls up
// to its caption while the mouse is away.
#pragma once

#include <memory>
#include <vector>

#include "GallerySection.h"

class CXTPDockingPaneManager;

class CGalleryDockingThemesSection : public CGallerySection {
public:
  CGalleryDockingThemesSection();
  ~CGalleryDockingThemesSection() override;
  LPCTSTR GetTitle() const override {
    return L"Docking themes: 3, 6, 7, 9 and 10, and themed floating frames";
  }
  int GetHeight() const override;
  void Draw(CDC *pDC, const CRect &rcBody) override;
  void Create(CWnd *pParent, const CRect &rcBody) override;

  // The frames' managers, in the order of their themes (3, 6, 7, 9, 10).
  int GetManagerCount() const { return static_cast<int>(m_managers.size()); }
  CXTPDockingPaneManager *GetManager(int i) const { return m_managers[i].get(); }

private:
  std::vector<std::unique_ptr<CXTPDockingPaneManager>> m_managers;
};
