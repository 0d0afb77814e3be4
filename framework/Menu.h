// A menu wrapper. It destroys only a menu it made (CreateMenu,
// CreatePopupMenu, LoadMenu...); an attached menu, a submenu and the
// temporary wrapper FromHandle returns are left alone.
#pragma once

#include <windows.h>

#include "CString.h"
#include "Object.h"

class CWnd;

class CMenu;
// The handle of a wrapper that may be missing: NULL for none.
HMENU AfxGetSafeHmenu(const CMenu *menu);

class CMenu : public CObject {
  DECLARE_DYNAMIC(CMenu)
public:
  CMenu() = default;
  ~CMenu() override;

  HMENU m_hMenu = nullptr;

  operator HMENU() const { return m_hMenu; }
  // Classic callers ask this of a pointer that may be NULL; that gives NULL.
  HMENU GetSafeHmenu() const;

  BOOL CreateMenu();
  BOOL CreatePopupMenu();
  // From the resource modules (the language library first, then the program).
  BOOL LoadMenu(LPCTSTR resourceName);
  BOOL LoadMenu(UINT resourceId) { return LoadMenu(MAKEINTRESOURCE(resourceId)); }
  BOOL LoadMenuIndirect(const void *menuTemplate);
  BOOL Attach(HMENU hMenu);
  HMENU Detach();
  BOOL DestroyMenu();
  bool IsOwned() const { return m_bOwned; }

  static CMenu *FromHandle(HMENU hMenu);
  static void DeleteTempMap();

  CMenu *GetSubMenu(int position) const;
  int GetMenuItemCount() const;
  UINT GetMenuItemID(int position) const;
  UINT GetMenuState(UINT id, UINT flags) const;
  int GetMenuString(UINT id, LPTSTR text, int maxCount, UINT flags) const;
  int GetMenuString(UINT id, CString &text, UINT flags) const;
  BOOL GetMenuItemInfo(UINT item, LPMENUITEMINFO info, BOOL byPosition = FALSE) const;
  BOOL SetMenuItemInfo(UINT item, LPCMENUITEMINFO info, BOOL byPosition = FALSE);
  UINT GetDefaultItem(UINT flags, BOOL byPosition = FALSE) const;
  BOOL SetDefaultItem(UINT item, BOOL byPosition = FALSE);

  BOOL AppendMenu(UINT flags, UINT_PTR idNewItem = 0, LPCTSTR newItem = nullptr);
  BOOL InsertMenu(UINT position, UINT flags, UINT_PTR idNewItem = 0, LPCTSTR newItem = nullptr);
  BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR idNewItem = 0, LPCTSTR newItem = nullptr);
  BOOL RemoveMenu(UINT position, UINT flags);
  BOOL DeleteMenu(UINT position, UINT flags);
  UINT EnableMenuItem(UINT id, UINT enable);
  UINT CheckMenuItem(UINT id, UINT check);
  BOOL CheckMenuRadioItem(UINT first, UINT last, UINT item, UINT flags);

  // Returns the chosen command with TPM_RETURNCMD, otherwise whether the menu was shown.
  BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd *wnd, LPCRECT rect = nullptr);

private:
  BOOL AttachOwned(HMENU hMenu);

  bool m_bOwned = false;
};
