// MDI frames with a menu bar, as live windows: one whose picture child is
// maximised (the bar shows the picture menu, the child's system-menu icon
// and its minimise, restore and close buttons), one whose children are
// restored (the frame's own menu, no buttons).
#pragma once

#include <vector>

#include "GallerySection.h"

class CMDIFrameWnd;
class CXTPMenuBar;
class CXTPCommandBars;

class CGalleryMdiSection : public CGallerySection {
public:
  static const int kLabelWidth = 190;
  static const int kFrameWidth = 560;
  static const int kFrameHeight = 150;
  static const int kRowHeight = kFrameHeight + 14;
  static const int kRows = 2;

  CGalleryMdiSection();
  ~CGalleryMdiSection() override;
  LPCTSTR GetTitle() const override {
    return L"MDI menu bar: a maximised child's menu, icon and buttons; children restored";
  }
  int GetHeight() const override { return kRows * kRowHeight + 10; }
  void Draw(CDC *pDC, const CRect &rcBody) override;
  void Create(CWnd *pParent, const CRect &rcBody) override;

  CXTPMenuBar *GetMenuBar(int nRow) const {
    return nRow < static_cast<int>(m_bars.size()) ? m_bars[nRow] : nullptr;
  }
  CMDIFrameWnd *GetFrame(int nRow) const {
    return nRow < static_cast<int>(m_frames.size()) ? m_frames[nRow] : nullptr;
  }

private:
  CXTPCommandBars *m_pCommandBars = nullptr;
  std::vector<CXTPMenuBar *> m_bars;
  std::vector<CMDIFrameWnd *> m_frames;
  HMENU m_hMenuPicture = nullptr;
};
