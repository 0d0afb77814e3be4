// Popup menus in the default theme: a menu with icons, checks, shortcuts and a
// submenu; a shortened menu whose rarely used commands wait behind the expand
// item; and a long menu that scrolls. Each label opens its menu when clicked.
#pragma once

#include "GallerySection.h"

class CXTPCommandBars;
class CXTPImageManager;
class CXTPPopupBar;

class CGalleryMenuBoard : public CWnd {
public:
  static const int kMenus = 3;
  CGalleryMenuBoard();
  ~CGalleryMenuBoard() override;
  BOOL Create(CWnd *pParent, const CRect &rc, UINT nID);
  static CRect LabelRect(int i) { return CRect(8 + i * 170, 6, 8 + i * 170 + 160, 30); }
  // Opens a menu under its label; with bSubmenu the file menu's submenu too.
  void OpenMenu(int i, BOOL bSubmenu = FALSE);
  CXTPPopupBar *GetMenu(int i) const { return m_pMenus[i]; }

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint();
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
    return L"Popup menus: icons, checks, shortcuts, a submenu, hidden commands behind the expand item, a "
           L"long menu that scrolls (click a label)";
  }
  int GetHeight() const override { return 40; }
  void Draw(CDC *, const CRect &) override {}
  void Create(CWnd *pParent, const CRect &rcBody) override;
  CGalleryMenuBoard &GetBoard() { return m_board; }

private:
  CGalleryMenuBoard m_board;
};
