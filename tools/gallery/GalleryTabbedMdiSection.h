// The tabbed MDI client and the bar controls that type or choose: an MDI
// frame whose documents are tabs in two groups side by side, with a toolbar
// holding a drop-down combo (an edit field and its list), a combo that only
// chooses, an edit box with its label and one without, and a Window menu of the tab-group commands and the
// open documents.
#pragma once

#include "GallerySection.h"

class CMDIFrameWnd;
class CXTPCommandBars;
class CXTPTabClientWnd;
class CXTPToolBar;
class CXTPControlComboBox;
class CXTPControlEdit;

class CGalleryTabbedMdiSection : public CGallerySection {
public:
  static const int kLabelWidth = 190;
  static const int kFrameWidth = 560;
  static const int kFrameHeight = 200;

  CGalleryTabbedMdiSection();
  ~CGalleryTabbedMdiSection() override;
  LPCTSTR GetTitle() const override {
    return L"Tabbed MDI client: documents in two tab groups; combo and edit boxes on a toolbar";
  }
  int GetHeight() const override { return kFrameHeight + 16; }
  void Draw(CDC *pDC, const CRect &rcBody) override;
  void Create(CWnd *pParent, const CRect &rcBody) override;

  CMDIFrameWnd *GetFrame() const { return m_pFrame; }
  CXTPTabClientWnd *GetTabClient() const;
  CXTPToolBar *GetToolBar() const { return m_pToolBar; }
  CXTPControlComboBox *GetZoomCombo() const { return m_pZoom; }
  CXTPControlEdit *GetFindEdit() const { return m_pFind; }
  CXTPControlEdit *GetSectorEdit() const { return m_pSector; }

private:
  CXTPCommandBars *m_pCommandBars = nullptr;
  CXTPToolBar *m_pToolBar = nullptr;
  CMDIFrameWnd *m_pFrame = nullptr;
  CXTPControlComboBox *m_pZoom = nullptr;
  CXTPControlEdit *m_pFind = nullptr;
  CXTPControlEdit *m_pSector = nullptr;
};
