// CXTPMenuBar: the toolbar that stands in for the frame's window menu. It is
// built from a menu resource, takes the frame's menu handle away from the
// window (the frame hands it over, so the handle has one owner and the native
// menu cannot come back) and opens its menus from Alt and F10.
//
// In an MDI frame it follows the menu the frame sets for each child (one set
// of controls per document-type menu) and, while a child is maximised, shows
// that child's system-menu icon and its minimise, restore and close buttons.
#pragma once

#include <map>

#include "XTPPopupBar.h"
#include "XTPResource.h"
#include "XTPToolBar.h"

// Sent by the menu bar to ask a window for its icon: only the framework's own
// child frames answer it; every other window must answer 0.
#define XTP_WM_QUERYCHILDICON 0x0483

// The bar's Flags that concern the MDI paths.
enum XTPMenuBarFlags : DWORD {
  xtpFlagHideMinimizeBox = 0x100,
  xtpFlagHideMaximizeBox = 0x200,
  xtpFlagIgnoreSetMenuMessage = 0x400,
  xtpFlagHideClose = 0x1000,
  xtpFlagHideMDIButtons = 0x100 | 0x200 | 0x1000,
  xtpFlagAddMDISysPopup = 0x2000,
};

// Minimise, restore or close of the active maximised child, drawn as a
// "Marlett" glyph.
class CXTPMenuBarMDIButton : public CXTPControlButton {
public:
  CXTPMenuBarMDIButton(int nId, LPCTSTR lpszGlyph);
  CSize GetSize(CDC * /*pDC*/) override { return CSize(16, 16); }
  void Draw(CDC *pDC) override;
  void OnExecute() override;
  // The system command the button posts to the child.
  UINT GetSysCommand() const;
};

// The system menu of the active maximised child, as a popup bar: its items
// post their system commands to the child instead of commands to the frame.
class CXTPMenuBarMDIPopupBar : public CXTPPopupBar {
public:
  void UpdateShortcuts() override {} // the texts come from the system menu
};

class CXTPMenuBarMDISysItem : public CXTPControlButton {
public:
  explicit CXTPMenuBarMDISysItem(HWND hWndChild) : m_hWndChild(hWndChild) {}
  void OnExecute() override;

private:
  HWND m_hWndChild;
};

// The child's small icon at the start of the bar; opens its system menu.
class CXTPMenuBarMDIMenuIcon : public CXTPControlPopup {
public:
  CXTPMenuBarMDIMenuIcon(HWND hWndChild, HMENU hSysMenu);
  ~CXTPMenuBarMDIMenuIcon() override;
  void SetChild(HWND hWndChild, HMENU hSysMenu);
  HMENU GetSysMenu() const { return m_hSysMenu; }
  HWND GetChild() const { return m_hWndChild; }
  HICON GetIcon() const { return m_hIcon; }
  CSize GetSize(CDC * /*pDC*/) override { return CSize(16, 16); }
  void Draw(CDC *pDC) override;
  void OnSetPopup(BOOL bPopup) override;
  void AdjustExcludeRect(CRect &rc) override { rc.InflateRect(1, 1); }

private:
  void RebuildPopup();

  HWND m_hWndChild = nullptr;
  HMENU m_hSysMenu = nullptr;
  HICON m_hIcon = nullptr;
};

class CXTPMenuBar : public CXTPToolBar {
  DECLARE_SERIAL(CXTPMenuBar)
public:
  CXTPMenuBar();
  ~CXTPMenuBar() override;

  using CXTPCommandBar::LoadMenu;
  // Builds the controls from the menu resource, hooks the owner site and
  // takes its menu; FALSE when the resource cannot be loaded or converted.
  BOOL LoadMenu(UINT nIDResource);
  UINT GetResourceId() const { return m_nIDResource; }
  UINT GetCurrentMenuId() const { return m_nIDCurrentMenu; }
  // The site's menu, kept since LoadMenu; destroyed with the bar.
  HMENU GetFrameMenu() const { return m_hMenuFrame; }

  // The icon a child window shows in the bar: the child-frame query only for
  // the framework's child frames, then the window's small and big icons, the
  // class icon and the system's default.
  static HICON GetChildIcon(HWND hWndChild);

  int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM &wParam, LPARAM &lParam, LRESULT &lResult) override;

  // --- MDI ------------------------------------------------------------------
  // Posted to the bar when an MDI change may have moved the system buttons.
  static constexpr UINT_PTR kRefreshMdiTimerId = 12223;
  BOOL IsMdiApp() const { return m_bMdiApp; }
  // The active MDI child and whether it is maximised; null outside an MDI frame.
  HWND GetActiveMdiChild(BOOL *pbMaximized = nullptr) const;
  // Re-reads the active child and rebuilds the system buttons.
  void RefreshMdiButtons();
  // Shows the controls of a document type's menu or of the default menu.
  void SwitchMenu(HMENU hMenu);
  // Control lists of the menus not shown now, by menu id.
  const std::map<UINT, CXTPControls *> &GetTemplateMenus() const { return m_mapTemplates; }

  void Copy(CXTPCommandBar *pCommandBar, BOOL bRecursive = FALSE) override;
  CXTPCommandBar *Clone(BOOL bRecursive = FALSE) override;
  // Also the controls of every document type's menu.
  void DoPropExchange(CXTPPropExchange *pPX) override;
  void BuildStoreList(UINT &nNextID, CXTPCommandBarList *pList,
                      const CXTPCommandBarsExchangeParam &param) override;
  void RelinkLoadedPopups(CXTPCommandBarList *pList, std::set<CXTPCommandBar *> &linked,
                          int nDepth = 0) override;
  // Asks, then reloads the menu shown now.
  void Reset() override;
  // Before the state is stored: back to the default menu (the frame may then
  // have to refresh its own) and unchanged document-type menus dropped.
  void PrepareForStore();
  BOOL IsFrameMenuRefreshNeeded() const { return m_bDirtyMenu; }

protected:
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  DECLARE_MESSAGE_MAP()

private:
  void UnhookSite();
  void HookActiveChild(HWND hWndChild);
  void UpdateSystemButtons(HWND hWndChild, BOOL bMaximized);
  void ReleaseTemplateMenus();
  void AttachControls(CXTPControls *pControls);

  HWND m_hWndSite = nullptr;
  HWND m_hWndMdiClient = nullptr;
  HWND m_hWndActiveChild = nullptr;
  BOOL m_bMdiApp = FALSE;
  BOOL m_bDirtyMenu = FALSE;
  std::map<UINT, CXTPControls *> m_mapTemplates;
  HMENU m_hMenuFrame = nullptr;
  UINT m_nIDResource = 0;
  UINT m_nIDCurrentMenu = 0;
};
