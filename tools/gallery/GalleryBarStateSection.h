// Customising command bars: a frame whose controls move between its bars
// with Alt+drag and whose View menu makes new toolbars through the New
// Toolbar dialog; a frame that keeps its toolbars in the bands of a rebar;
// and the tip of the day, reading the program's own tips.
#pragma once

#include <memory>

#include "GallerySection.h"
#include "XTPFrameWnd.h"

class CXTPCustomizeSheet;
class CXTPReBar;
class CXTTipOfTheDay;

class CGalleryBarStateSection : public CGallerySection {
public:
  CGalleryBarStateSection();
  ~CGalleryBarStateSection() override;
  LPCTSTR GetTitle() const override { return L"Customisable frame, rebar host and tip of the day"; }
  int GetHeight() const override { return 420; }
  void Draw(CDC *pDC, const CRect &rcBody) override;
  void Create(CWnd *pParent, const CRect &rcBody) override;

  CXTPFrameWnd *GetCustomFrame() const { return m_pCustomFrame; }
  CXTPFrameWnd *GetReBarFrame() const { return m_pReBarFrame; }
  CXTPReBar *GetReBar() const { return m_pReBar.get(); }
  CXTTipOfTheDay *GetTip() const { return m_pTip.get(); }
  // A customise sheet for the customisable frame, its Commands page offering
  // the commands of the frame's menu and toolbars.
  static std::unique_ptr<CXTPCustomizeSheet> MakeCustomizeSheet(CXTPFrameWnd *pFrame);

private:
  CXTPFrameWnd *m_pCustomFrame = nullptr;
  CXTPFrameWnd *m_pReBarFrame = nullptr;
  std::unique_ptr<CXTPReBar> m_pReBar;
  std::unique_ptr<CXTTipOfTheDay> m_pTip;
  CRect m_rcBody;
};
