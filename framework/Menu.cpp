#include "Menu.h"

#include "HandleMap.h"
#include "ModuleState.h"
#include "Wnd.h"

IMPLEMENT_DYNAMIC(CMenu, CObject)

namespace {

CTempHandleMap<HMENU, CMenu> &TempMap() {
  return AfxThreadTempMap<HMENU, CMenu>();
}

} // namespace

HMENU AfxGetSafeHmenu(const CMenu *menu) {
  return menu != nullptr ? menu->m_hMenu : nullptr;
}

HMENU CMenu::GetSafeHmenu() const {
  return AfxGetSafeHmenu(this);
}

CMenu::~CMenu() {
  DestroyMenu();
}

BOOL CMenu::AttachOwned(HMENU hMenu) {
  if (hMenu == nullptr) return FALSE;
  DestroyMenu();
  m_hMenu = hMenu;
  m_bOwned = true;
  return TRUE;
}

BOOL CMenu::Attach(HMENU hMenu) {
  if (hMenu == nullptr) return FALSE;
  DestroyMenu();
  m_hMenu = hMenu;
  m_bOwned = false;
  return TRUE;
}

HMENU CMenu::Detach() {
  HMENU hMenu = m_hMenu;
  m_hMenu = nullptr;
  m_bOwned = false;
  return hMenu;
}

BOOL CMenu::DestroyMenu() {
  if (m_hMenu == nullptr) return FALSE;
  bool owned = m_bOwned;
  HMENU hMenu = Detach();
  return owned ? ::DestroyMenu(hMenu) : TRUE;
}

BOOL CMenu::CreateMenu() {
  return AttachOwned(::CreateMenu());
}
BOOL CMenu::CreatePopupMenu() {
  return AttachOwned(::CreatePopupMenu());
}

BOOL CMenu::LoadMenu(LPCTSTR resourceName) {
  HINSTANCE module = AfxFindResourceHandle(resourceName, RT_MENU);
  return AttachOwned(::LoadMenuW(module, resourceName));
}

BOOL CMenu::LoadMenuIndirect(const void *menuTemplate) {
  return AttachOwned(::LoadMenuIndirectW(menuTemplate));
}

CMenu *CMenu::FromHandle(HMENU hMenu) {
  if (hMenu == nullptr) return nullptr;
  return TempMap().Lookup(hMenu, [hMenu](CMenu &menu) { menu.m_hMenu = hMenu; });
}

void CMenu::DeleteTempMap() {
  TempMap().DeleteAll();
}

CMenu *CMenu::GetSubMenu(int position) const {
  return FromHandle(::GetSubMenu(m_hMenu, position));
}
int CMenu::GetMenuItemCount() const {
  return ::GetMenuItemCount(m_hMenu);
}
UINT CMenu::GetMenuItemID(int position) const {
  return ::GetMenuItemID(m_hMenu, position);
}
UINT CMenu::GetMenuState(UINT id, UINT flags) const {
  return ::GetMenuState(m_hMenu, id, flags);
}

int CMenu::GetMenuString(UINT id, LPTSTR text, int maxCount, UINT flags) const {
  return ::GetMenuStringW(m_hMenu, id, text, maxCount, flags);
}

int CMenu::GetMenuString(UINT id, CString &text, UINT flags) const {
  int length = ::GetMenuStringW(m_hMenu, id, nullptr, 0, flags);
  if (length <= 0) {
    text.Empty();
    return 0;
  }
  length = ::GetMenuStringW(m_hMenu, id, text.GetBuffer(length + 1), length + 1, flags);
  text.ReleaseBuffer(length);
  return length;
}

BOOL CMenu::GetMenuItemInfo(UINT item, LPMENUITEMINFO info, BOOL byPosition) const {
  return ::GetMenuItemInfoW(m_hMenu, item, byPosition, info);
}

BOOL CMenu::SetMenuItemInfo(UINT item, LPCMENUITEMINFO info, BOOL byPosition) {
  return ::SetMenuItemInfoW(m_hMenu, item, byPosition, info);
}

UINT CMenu::GetDefaultItem(UINT flags, BOOL byPosition) const {
  return ::GetMenuDefaultItem(m_hMenu, byPosition, flags);
}

BOOL CMenu::SetDefaultItem(UINT item, BOOL byPosition) {
  return ::SetMenuDefaultItem(m_hMenu, item, byPosition);
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR idNewItem, LPCTSTR newItem) {
  return ::AppendMenuW(m_hMenu, flags, idNewItem, newItem);
}

BOOL CMenu::InsertMenu(UINT position, UINT flags, UINT_PTR idNewItem, LPCTSTR newItem) {
  return ::InsertMenuW(m_hMenu, position, flags, idNewItem, newItem);
}

BOOL CMenu::ModifyMenu(UINT position, UINT flags, UINT_PTR idNewItem, LPCTSTR newItem) {
  return ::ModifyMenuW(m_hMenu, position, flags, idNewItem, newItem);
}

BOOL CMenu::RemoveMenu(UINT position, UINT flags) {
  return ::RemoveMenu(m_hMenu, position, flags);
}

BOOL CMenu::DeleteMenu(UINT position, UINT flags) {
  return ::DeleteMenu(m_hMenu, position, flags);
}

UINT CMenu::EnableMenuItem(UINT id, UINT enable) {
  return ::EnableMenuItem(m_hMenu, id, enable);
}
UINT CMenu::CheckMenuItem(UINT id, UINT check) {
  return ::CheckMenuItem(m_hMenu, id, check);
}

BOOL CMenu::CheckMenuRadioItem(UINT first, UINT last, UINT item, UINT flags) {
  return ::CheckMenuRadioItem(m_hMenu, first, last, item, flags);
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd *wnd, LPCRECT rect) {
  HWND owner = wnd != nullptr ? wnd->GetSafeHwnd() : nullptr;
  return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner, rect);
}
