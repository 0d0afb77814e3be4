// Command bars as live windows: a menu bar with a control selected by the
// keyboard and its mnemonics underlined, the same bar with the cues hidden until Alt, and a
// toolbar in customise mode with its drop marker and selected control. The
// windows answer the mouse and the keys as a frame's bars do.
#pragma once

#include <vector>

#include "GallerySection.h"

class CXTPCommandBar;
class CXTPCommandBars;
class CXTPDefaultTheme;

class CGalleryBarWindowSection : public CGallerySection {
public:
  static const int kLabelWidth = 190;
  static const int kRowHeight = 34;
  static const int kRows = 3;

  CGalleryBarWindowSection();
  ~CGalleryBarWindowSection() override;
  LPCTSTR GetTitle() const override {
    return L"Command bar windows: keyboard selection, cues hidden until Alt, customise drop marker";
  }
  int GetHeight() const override { return kRows * kRowHeight; }
  void Draw(CDC *pDC, const CRect &rcBody) override;
  void Create(CWnd *pParent, const CRect &rcBody) override;

  CXTPCommandBar *GetBar(int nRow) const { return m_bars[static_cast<size_t>(nRow)]; }

private:
  CXTPCommandBars *m_pCommandBars = nullptr;
  CXTPCommandBars *m_pCustomizeBars = nullptr;
  CXTPDefaultTheme *m_pTheme = nullptr;
  CXTPDefaultTheme *m_pHiddenCuesTheme = nullptr;
  std::vector<CXTPCommandBar *> m_bars;
};
