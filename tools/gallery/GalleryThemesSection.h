// The command-bar themes side by side: for each theme (and each colour
// scheme of the Office 2003 look) a small window with a menu bar whose first
// menu is open, a toolbar with a hot, a checked and a disabled button, the
// open menu with icons, checks, a submenu and a hot row, and a status bar.
#pragma once

#include <memory>

#include "GallerySection.h"
#include "XTPStatusBar.h"

class CXTPCommandBars;
class CXTPImageManager;
class CXTPMenuBar;
class CXTPPaintManager;
class CXTPPopupBar;
class CXTPToolBar;

// One theme's window. It owns its command bars, whose paint manager draws
// everything in it.
class CGalleryThemeHost : public CWnd {
public:
  CGalleryThemeHost(CXTPPaintManager *pPaintManager, CXTPImageManager *pImages);
  ~CGalleryThemeHost() override;
  BOOL Create(CWnd *pParent, const CRect &rc, LPCTSTR lpszTitle, UINT nID);
  CXTPPaintManager *GetPaintManager() const;
  CXTPToolBar *GetToolBar() const { return m_pToolBar; }
  CXTPMenuBar *GetMenuBar() const { return m_pMenuBar; }
  CXTPPopupBar *GetMenu() const { return m_pMenu; }
  // Where the open menu is drawn, in the window's client coordinates.
  CRect GetMenuRect() const { return m_rcMenu; }
  // The band of dock-bar background under the menu bar and the toolbar.
  CRect GetBandRect() const { return m_rcBand; }

protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC *pDC);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()

private:
  void BuildBars();
  void LayOutStatusBar();
  CXTPCommandBars *m_pCommandBars = nullptr;
  CXTPMenuBar *m_pMenuBar = nullptr;
  CXTPToolBar *m_pToolBar = nullptr;
  CXTPPopupBar *m_pMenu = nullptr;
  CXTPStatusBar m_wndStatusBar;
  CRect m_rcMenu;
  CRect m_rcBand;
};

class CGalleryThemesSection : public CGallerySection {
public:
  static const int kThemes = 8, kColumns = 4, kHostWidth = 228, kHostHeight = 336, kGap = 6;
  struct ThemeRow {
    LPCTSTR lpszName;
    int nTheme;  // the paint manager factory's id
    int nScheme; // the colour scheme forced on it, -1 for its own choice
  };
  static const ThemeRow kRows[kThemes];

  CGalleryThemesSection();
  ~CGalleryThemesSection() override;
  LPCTSTR GetTitle() const override { return L"Command-bar themes and the Office 2003 colour schemes"; }
  int GetHeight() const override { return (kThemes / kColumns) * (kHostHeight + kGap); }
  void Draw(CDC *pDC, const CRect &rcBody) override;
  void Create(CWnd *pParent, const CRect &rcBody) override;
  CGalleryThemeHost *GetHost(int i) const { return m_hosts[i].get(); }
  // A theme object as the row asks for it, with its scheme forced.
  static CXTPPaintManager *MakeTheme(const ThemeRow &row);

private:
  CXTPImageManager *m_pImages = nullptr;
  std::unique_ptr<CGalleryThemeHost> m_hosts[kThemes];
};
