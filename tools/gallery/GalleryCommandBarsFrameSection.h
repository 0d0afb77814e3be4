// The command bars in a frame: a small frame window of the toolkit with its
// menu bar and two toolbars docked (one on top, one on the left) around its
// view; the menu's View > Toolbars lists both, checked.
#pragma once

#include "GallerySection.h"
#include "XTPFrameWnd.h"

class CGalleryCommandBarsFrameSection : public CGallerySection {
public:
  LPCTSTR GetTitle() const override { return L"Command bars in a frame: menu bar and two docked toolbars"; }
  int GetHeight() const override { return 230; }
  void Draw(CDC *pDC, const CRect &rcBody) override;
  void Create(CWnd *pParent, const CRect &rcBody) override;
  // The frame, once made (it belongs to its window).
  CXTPFrameWnd *GetFrame() const { return m_pFrame; }

private:
  CXTPFrameWnd *m_pFrame = nullptr;
};
