// Dialog bars and custom controls, in the Office 2003 look: a small frame
// with a dialog bar docked down its left side (a folder tree under the
// caption, whose button lists the bar's commands) and one floating beside
// it (a small form), and a toolbar whose custom controls host a slider and a
// progress bar. The dialog bars are resized by their edges and dragged by
// their captions like toolbars.
#pragma once

#include "GalleryDockSiteSection.h"

class CXTPDialogBar;
class CXTPControlCustom;

class CGalleryDialogBarSection : public CGalleryDockSiteSection {
public:
  CGalleryDialogBarSection();
  LPCTSTR GetTitle() const override {
    return L"Dialog bar and custom controls: windows hosted in command bars";
  }
  int GetHeight() const override { return 360; }
  void Create(CWnd *pParent, const CRect &rcBody) override;

  CXTPDialogBar *GetDockedBar() const { return m_pDocked; }
  CXTPDialogBar *GetFloatingBar() const { return m_pFloating; }
  CXTPToolBar *GetToolBar() const { return m_pToolBar; }
  CXTPControlCustom *GetSliderControl() const { return m_pSlider; }
  CXTPControlCustom *GetProgressControl() const { return m_pProgress; }

private:
  CXTPDialogBar *AddDialogBar(LPCTSTR lpszTitle, CSize szClient);
  HWND CreateChild(LPCTSTR lpszClass, DWORD dwStyle, CSize size, UINT nId);

  CXTPDialogBar *m_pDocked = nullptr;
  CXTPDialogBar *m_pFloating = nullptr;
  CXTPToolBar *m_pToolBar = nullptr;
  CXTPControlCustom *m_pSlider = nullptr;
  CXTPControlCustom *m_pProgress = nullptr;
};
