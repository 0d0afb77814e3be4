// Popup menus in the default theme: a menu with icons, checks, shortcuts and a
// submenu; a shortened menu whose rarely used commands wait behind the expand
// item; a long menu that scrolls; a menu tracked right-aligned under its
// label; a menu whose band is dragged out to tear it off into a floating
// toolbar; and a colour palette, a popup laid out as a toolbar. Each label
// opens its menu when clicked.
#pragma once

#include "GallerySection.h"

class CXTPCommandBars;
class CXTPImageManager;
class CXTPPopupBar;

class CGalleryMenuBoard : public CWnd {
public:
  static const int kMenus = 6;
  static const int kShortMenu = 1;
  static const int kRightAlignedMenu = 3;
  static const int kTearOffMenu = 4;
  static const int kPaletteMenu = 5;
  CGalleryMenuBoard();
  ~CGalleryMenuBoard() override;
  BOOL Create(CWnd *pParent, const CRect &rc, UINT nID);
  static CRect LabelRect(int i) { return CRect(8 + i * 140, 6, 8 + i * 140 + 130, 30); }
  // Opens a menu under its label; with bSubmenu the file menu's submenu too.
  // The right-aligned one is tracked until it closes.
  void OpenMenu(int i, BOOL bSubmenu = FALSE);
  CXTPPopupBar *GetMenu(int i) const { return m_pMenus[i]; }

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint();
  // Tears the tear-off menu off as a drag would, for pictures of the page.
  void TearOffForPicture();
  // The menus' commands do nothing here, but having a handler keeps them enabled.
  void OnMenuCommand(UINT) {}
  DECLARE_MESSAGE_MAP()

private:
  void Build();
  CXTPCommandBars *m_pCommandBars = nullptr;
  CXTPCommandBars *m_pShortCommandBars = nullptr;
  CXTPImageManager *m_pImages = nullptr;
  CXTPPopupBar *m_pMenus[kMenus] = {};
};

class CGalleryPopupMenusSection : public CGallerySection {
public:
  LPCTSTR GetTitle() const override {
    return L"Popup menus: icons, checks, shortcuts, a submenu, hidden commands behind the expand item, "
           L"scrolling, right-aligned, tearing off, a palette (click a label)";
  }
  int GetHeight() const override { return 40; }
  void Draw(CDC *, const CRect &) override {}
  void Create(CWnd *pParent, const CRect &rcBody) override;
  CGalleryMenuBoard &GetBoard() { return m_board; }

private:
  CGalleryMenuBoard m_board;
};
