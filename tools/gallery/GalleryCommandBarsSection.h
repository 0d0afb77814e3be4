// The command bars in the default theme: toolbars with buttons in every
// state at three icon sizes, a popup menu with a row of each kind, a
// floating toolbar wrapped into three rows, and the expand chevrons. The
// bars have no windows here: they are laid out and drawn straight into the
// gallery's view.
#pragma once

#include <vector>

#include "GallerySection.h"

class CXTPCommandBar;
class CXTPCommandBars;
class CXTPControl;
class CXTPDefaultTheme;
class CXTPImageManager;

class CGalleryCommandBarsSection : public CGallerySection {
public:
  static const int kSizes = 3;
  static const int kToolBarRow = 48;
  static const int kLowerTop = kSizes * kToolBarRow + 6;

  CGalleryCommandBarsSection();
  ~CGalleryCommandBarsSection() override;
  LPCTSTR GetTitle() const override {
    return L"Command bars, default theme: button states at 16, 24 and 32 pixels, popup rows, wrapped "
           L"floating bar, chevrons";
  }
  int GetHeight() const override { return kLowerTop + 190; }
  void Draw(CDC *pDC, const CRect &rcBody) override;

  // Where each bar lies, relative to the body's top-left (after a Draw).
  CRect GetBarRect(size_t i) const { return m_rcBars[i]; }
  size_t GetBarCount() const { return m_bars.size(); }
  CXTPCommandBar *GetBar(size_t i) const { return m_bars[i]; }
  CXTPDefaultTheme *GetTheme() const { return m_pTheme; }

private:
  void Build();
  void Layout(CDC *pDC);
  void DrawBar(CDC *pDC, size_t i, CPoint org);

  CXTPCommandBars *m_pCommandBars = nullptr;
  CXTPDefaultTheme *m_pTheme = nullptr;
  CXTPImageManager *m_pImages = nullptr;
  std::vector<CXTPCommandBar *> m_bars;
  std::vector<CRect> m_rcBars;
  std::vector<CXTPControl *> m_expandButtons; // one per bar, or null
  std::vector<BOOL> m_hiddenControls;
  BOOL m_bLaidOut = FALSE;
};
