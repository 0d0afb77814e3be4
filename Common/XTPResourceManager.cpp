#include "XTPResourceManager.h"

#include "ModuleState.h"
#include "WinApp.h"

namespace {

// Whether the toolkit's own resource module holds this resource.
BOOL InToolkitModule(LPCTSTR lpszName, LPCTSTR lpszType) {
  HMODULE hModule = XTPGetResourceInstance();
  return hModule != nullptr && ::FindResourceW(hModule, lpszName, lpszType) != nullptr;
}

} // namespace

CXTPResourceManager::~CXTPResourceManager() {
  FreeResourceModule();
}

void CXTPResourceManager::FreeResourceModule() {
  if (m_hResourceModule != nullptr) ::FreeLibrary(m_hResourceModule);
  m_hResourceModule = nullptr;
}

BOOL CXTPResourceManager::LoadString(CString *pString, UINT nIDResource) {
  if (InToolkitModule(MAKEINTRESOURCE((nIDResource >> 4) + 1), RT_STRING)) {
    CXTPManageState state;
    if (pString->LoadString(nIDResource)) return TRUE;
  }
  return pString->LoadString(nIDResource);
}

BOOL CXTPResourceManager::LoadMenu(CMenu *pMenu, UINT nIDResource) {
  if (InToolkitModule(MAKEINTRESOURCE(nIDResource), RT_MENU)) {
    CXTPManageState state;
    if (pMenu->LoadMenu(nIDResource)) return TRUE;
  }
  return pMenu->LoadMenu(nIDResource);
}

BOOL CXTPResourceManager::LoadBitmap(CBitmap *pBitmap, UINT nIDResource) {
  if (InToolkitModule(MAKEINTRESOURCE(nIDResource), RT_BITMAP)) {
    CXTPManageState state;
    if (pBitmap->LoadBitmap(nIDResource)) return TRUE;
  }
  return pBitmap->LoadBitmap(nIDResource);
}

BOOL CXTPResourceManager::LoadToolBar(CXTPResourceToolBar *pToolBar, UINT nIDResource) {
  CXTPManageState state;
  return pToolBar->LoadToolBar(nIDResource);
}

LPCDLGTEMPLATE CXTPResourceManager::LoadDialogTemplate(UINT nIDResource) {
  CXTPManageState state;
  LPCTSTR lpszName = MAKEINTRESOURCE(nIDResource);
  HINSTANCE hModule = AfxFindResourceHandle(lpszName, RT_DIALOG);
  HRSRC hInfo = ::FindResourceW(hModule, lpszName, RT_DIALOG);
  if (hInfo == nullptr) return nullptr;
  HGLOBAL hData = ::LoadResource(hModule, hInfo);
  if (hData == nullptr) return nullptr;
  return static_cast<LPCDLGTEMPLATE>(::LockResource(hData));
}

int CXTPResourceManager::ShowMessageBox(UINT nIDPrompt, UINT nType) {
  CString strPrompt;
  VERIFY(LoadString(&strPrompt, nIDPrompt));
  return AfxMessageBox(strPrompt, nType, 0);
}

CXTPResourceManager *XTPGetResourceManager() {
  static CXTPResourceManager manager;
  return &manager;
}
