// Menu bars as live windows: one at rest and one with its first menu hot, as
// after Alt or F10.
#pragma once

#include <vector>

#include "GallerySection.h"

class CXTPMenuBar;
class CXTPCommandBars;

class CGalleryMenuBarSection : public CGallerySection {
public:
  static const int kLabelWidth = 190;
  static const int kRowHeight = 34;
  static const int kRows = 2;

  CGalleryMenuBarSection();
  ~CGalleryMenuBarSection() override;
  LPCTSTR GetTitle() const override { return L"Menu bar: at rest, first menu hot from the keyboard"; }
  int GetHeight() const override { return kRows * kRowHeight + 20; }
  void Draw(CDC *pDC, const CRect &rcBody) override;
  void Create(CWnd *pParent, const CRect &rcBody) override;

private:
  CXTPCommandBars *m_pCommandBars = nullptr;
  std::vector<CXTPMenuBar *> m_bars;
};
