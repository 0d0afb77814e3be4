// Docking themes 7 and 10 in the blue, olive and silver colour schemes, one
// small frame each, and a floating frame that holds two groups side by side
// (a floating group has no Auto Hide pin). Wine has no visual styles, so
// each frame takes its scheme from the colour manager, told the scheme while
// the frame's theme reads its colours.
#pragma once

#include <memory>
#include <vector>

#include "GallerySection.h"

class CXTPDockingPaneManager;

class CGalleryDockingSchemesSection : public CGallerySection {
public:
  CGalleryDockingSchemesSection();
  ~CGalleryDockingSchemesSection() override;
  LPCTSTR GetTitle() const override {
    return L"Docking schemes: themes 7 and 10 in blue, olive and silver, and two groups floating";
  }
  int GetHeight() const override;
  void Draw(CDC *pDC, const CRect &rcBody) override;
  void Create(CWnd *pParent, const CRect &rcBody) override;

  // The frames' places on the page: theme 7 in the first row, theme 10 in
  // the second, blue, olive and silver from left to right.
  static constexpr int kFrames = 6;
  static int ThemeOf(int i) { return i < 3 ? 7 : 10; }
  static int SchemeOf(int i) { return i % 3 + 1; }
  int GetManagerCount() const { return static_cast<int>(m_managers.size()); }
  CXTPDockingPaneManager *GetManager(int i) const { return m_managers[i].get(); }
  // The manager whose floating frame holds the two groups.
  static constexpr int kFloatingManager = 0;

private:
  std::vector<std::unique_ptr<CXTPDockingPaneManager>> m_managers;
};
