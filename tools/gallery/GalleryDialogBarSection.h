// Dialog bars and custom controls, in the Office 2003 look: a small frame
// with a dialog bar docked down its left side (a folder tree under the
// caption, whose button lists the bar's commands) and one floating beside
// it (a small form), and a toolbar whose custom controls host a slider and a
// progress bar. The dialog bars are resized by their edges and dragged by
// their captions like toolbars.
#pragma once

#include <memory>
#include <vector>

#include "GallerySection.h"
#include "XTPToolBar.h"

class CXTPCommandBars;
class CXTPDialogBar;
class CXTPDockBar;
class CXTPControlCustom;
class CFrameWnd;

class CGalleryDialogBarSection : public CGallerySection, public CXTPToolBarSite {
public:
  CGalleryDialogBarSection();
  ~CGalleryDialogBarSection() override;
  LPCTSTR GetTitle() const override {
    return L"Dialog bar and custom controls: windows hosted in command bars";
  }
  int GetHeight() const override { return 360; }
  void Draw(CDC *pDC, const CRect &rcBody) override;
  void Create(CWnd *pParent, const CRect &rcBody) override;

  // The frame's docking, as its bars see it.
  void RecalcFrameLayout(CXTPToolBar *pBar) override;
  BOOL DockBarAt(CXTPToolBar *pBar, XTPBarPosition position) override;
  CXTPDockBar *GetDockBar(int nPosition) const override;

  CXTPDialogBar *GetDockedBar() const { return m_pDocked; }
  CXTPDialogBar *GetFloatingBar() const { return m_pFloating; }
  CXTPToolBar *GetToolBar() const { return m_pToolBar; }
  CXTPControlCustom *GetSliderControl() const { return m_pSlider; }
  CXTPControlCustom *GetProgressControl() const { return m_pProgress; }

private:
  CXTPDialogBar *AddDialogBar(LPCTSTR lpszTitle, CSize szClient);
  HWND CreateChild(LPCTSTR lpszClass, DWORD dwStyle, CSize size, UINT nId);

  CXTPCommandBars *m_pCommandBars = nullptr;
  CFrameWnd *m_pFrame = nullptr; // deletes itself with its window
  std::vector<std::unique_ptr<CXTPDockBar>> m_dockBars;
  std::vector<CXTPToolBar *> m_bars;
  CXTPDialogBar *m_pDocked = nullptr;
  CXTPDialogBar *m_pFloating = nullptr;
  CXTPToolBar *m_pToolBar = nullptr;
  CXTPControlCustom *m_pSlider = nullptr;
  CXTPControlCustom *m_pProgress = nullptr;
};
