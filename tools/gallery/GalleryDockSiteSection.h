// A section whose demonstration is a small frame under a line of text, with
// dock bars on its four sides for the command bars the section adds. The
// section is the frame's docking site as its bars see it, and owns the bars.
// Floating bars are popups, not the frame's children: they follow the frame
// when the gallery shows another page.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "GallerySection.h"
#include "XTPToolBar.h"

class CXTPCommandBars;
class CXTPDockBar;
class CXTPPaintManager;
class CFrameWnd;

class CGalleryDockSiteSection : public CGallerySection, public CXTPToolBarSite {
public:
  // The bars are drawn by the theme, which the section takes over; the
  // text stands above the frame.
  CGalleryDockSiteSection(CXTPPaintManager *pTheme, LPCTSTR lpszIntro);
  ~CGalleryDockSiteSection() override;
  void Draw(CDC *pDC, const CRect &rcBody) override;

  // The frame's docking, as its bars see it.
  void RecalcFrameLayout(CXTPToolBar *pBar) override;
  BOOL DockBarAt(CXTPToolBar *pBar, XTPBarPosition position) override;
  CXTPDockBar *GetDockBar(int nPosition) const override;

protected:
  // The frame, cxFrame wide under the text, and its dock bars; FALSE where
  // its window could not be made.
  BOOL CreateFrame(CWnd *pParent, const CRect &rcBody, int cxFrame);
  // Gives a new bar to the frame's commands and docking; the section owns it.
  void AddToFrame(CXTPToolBar *pBar, LPCTSTR lpszTitle);
  // Once the page first shows and the frame's place on the screen is known:
  // floats the bar at the point that place gives, then runs the rest.
  void FloatOnFirstShow(CXTPToolBar *pBar, std::function<CPoint(const CRect &rcScreenClient)> where,
                        std::function<void()> then = nullptr);

  CXTPCommandBars *m_pCommandBars = nullptr;
  CFrameWnd *m_pFrame = nullptr; // deletes itself with its window

private:
  LPCTSTR m_lpszIntro;
  std::vector<std::unique_ptr<CXTPDockBar>> m_dockBars;
  std::vector<CXTPToolBar *> m_bars;
};
