// CXTPResourceManager: the one place the toolkit loads its own strings, menus,
// bitmaps, tool bars and dialog templates. A resource found in the toolkit's
// resource module (when a program has one) comes from there; everything else
// follows the framework's chain: the language library, then the executable.
#pragma once

#include <windows.h>

#include "CString.h"
#include "GdiObject.h"
#include "Menu.h"
#include "XTPManageState.h"

// What the resource manager asks of a tool bar it loads: the command bars
// implement it, so the manager does not depend on them.
class CXTPResourceToolBar {
public:
  virtual ~CXTPResourceToolBar() = default;
  virtual BOOL LoadToolBar(UINT nIDResource) = 0;
};

class CXTPResourceManager {
public:
  CXTPResourceManager() = default;
  virtual ~CXTPResourceManager();
  CXTPResourceManager(const CXTPResourceManager &) = delete;
  CXTPResourceManager &operator=(const CXTPResourceManager &) = delete;

  virtual BOOL LoadString(CString *pString, UINT nIDResource);
  virtual BOOL LoadMenu(CMenu *pMenu, UINT nIDResource);
  virtual BOOL LoadToolBar(CXTPResourceToolBar *pToolBar, UINT nIDResource);
  virtual BOOL LoadBitmap(CBitmap *pBitmap, UINT nIDResource);
  // The dialog template locked in memory, or null when there is none.
  virtual LPCDLGTEMPLATE LoadDialogTemplate(UINT nIDResource);
  virtual void FreeResourceModule();

  // The string shown in the framework's message box; the result is the box's.
  int ShowMessageBox(UINT nIDPrompt, UINT nType = MB_OK);

  BOOL IsValid() const { return m_bValid; }

private:
  BOOL m_bValid = TRUE;
  // An optional resource library, owned here; none is loaded today.
  HMODULE m_hResourceModule = nullptr;
};

CXTPResourceManager *XTPGetResourceManager();
