#include "WinApp.h"
#include "RecentFileList.h"

#include "CommonControls.h"

#include <shellapi.h>

#include "DocTemplate.h"
#include "ModuleState.h"
#include "Wnd.h"

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

namespace {

// The program's one application object, as the accessor hands it out.
CWinApp *&TheApp() {
  static CWinApp *pApp = nullptr;
  return pApp;
}

} // namespace

CWinApp *AfxGetApp() {
  return TheApp();
}

LPCTSTR AfxGetAppName() {
  CWinApp *pApp = AfxGetApp();
  return pApp != nullptr && pApp->m_pszAppName != nullptr ? pApp->m_pszAppName : L"";
}

CWinApp::CWinApp(LPCTSTR lpszAppName) {
  if (lpszAppName != nullptr) {
    m_strAppName = lpszAppName;
    m_pszAppName = m_strAppName;
  }
  if (TheApp() == nullptr) TheApp() = this;
  m_bQuitOnMainWndDestroy = TRUE;
}

CWinApp::~CWinApp() {
  m_templates.clear();
  delete m_pRecentFileList;
  if (TheApp() == this) TheApp() = nullptr;
}

void CWinApp::SetNames() {
  wchar_t szPath[MAX_PATH] = {};
  ::GetModuleFileName(m_hInstance, szPath, MAX_PATH);
  LPCTSTR pszName = wcsrchr(szPath, L'\\') ? wcsrchr(szPath, L'\\') + 1 : szPath;
  m_strExeName = pszName;
  int nDot = m_strExeName.ReverseFind(L'.');
  if (nDot > 0) m_strExeName = m_strExeName.Left(nDot);
  if (m_pszExeName == nullptr) m_pszExeName = m_strExeName;
  if (m_pszAppName == nullptr) {
    // The string table's title first, else the executable's name.
    if (!m_strAppName.LoadString(AFX_IDS_APP_TITLE)) m_strAppName = m_strExeName;
    m_pszAppName = m_strAppName;
  }
  if (m_pszProfileName == nullptr) {
    m_strProfileName = m_strExeName + L".INI";
    m_pszProfileName = m_strProfileName;
  }
}

BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow) {
  AfxSetInstanceHandle(hInstance);
  AfxInitCommonControls(ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES);
  if (CWinApp *pApp = AfxGetApp()) {
    pApp->m_hInstance = hInstance;
    pApp->m_hPrevInstance = hPrevInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->m_nCmdShow = nCmdShow;
    pApp->SetNames();
  }
  return TRUE;
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow) {
  CWinThread *pThread = AfxGetThread();
  CWinApp *pApp = AfxGetApp();
  if (pThread == nullptr || !AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow)) return -1;
  if (pApp != nullptr && !pApp->InitApplication()) return -1;
  if (!pThread->InitInstance()) {
    if (CWnd *pMainWnd = pThread->m_pMainWnd) pMainWnd->DestroyWindow();
    return pThread->ExitInstance();
  }
  return pThread->Run();
}

int CWinApp::ExitInstance() {
  CWinThread::ExitInstance();
  return (int)m_msgCur.wParam;
}

BOOL CWinApp::OnIdle(LONG lCount) {
  return CWinThread::OnIdle(lCount);
}

void CWinApp::OnAppExit() {
  if (m_pMainWnd != nullptr) m_pMainWnd->SendMessage(WM_CLOSE);
}

// ---------------------------------------------------------------------------
// Profile

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey) {
  m_strRegistryKey = lpszRegistryKey;
  m_pszRegistryKey = m_strRegistryKey;
  // In the registry the profile is named after the application.
  m_strProfileName = m_pszAppName != nullptr ? m_pszAppName : L"";
  m_pszProfileName = m_strProfileName;
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey) {
  CString strKey;
  strKey.LoadString(nIDRegistryKey);
  SetRegistryKey(strKey);
}

HKEY CWinApp::GetAppRegistryKey() {
  if (m_pszRegistryKey == nullptr || m_pszProfileName == nullptr) return nullptr;
  HKEY hSoftKey = nullptr, hCompanyKey = nullptr, hAppKey = nullptr;
  if (::RegOpenKeyEx(HKEY_CURRENT_USER, L"Software", 0, KEY_WRITE | KEY_READ, &hSoftKey) == ERROR_SUCCESS) {
    DWORD dw;
    if (::RegCreateKeyEx(hSoftKey, m_pszRegistryKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                         KEY_WRITE | KEY_READ, nullptr, &hCompanyKey, &dw) == ERROR_SUCCESS) {
      ::RegCreateKeyEx(hCompanyKey, m_pszProfileName, 0, nullptr, REG_OPTION_NON_VOLATILE,
                       KEY_WRITE | KEY_READ, nullptr, &hAppKey, &dw);
    }
  }
  if (hSoftKey != nullptr) ::RegCloseKey(hSoftKey);
  if (hCompanyKey != nullptr) ::RegCloseKey(hCompanyKey);
  return hAppKey;
}

HKEY CWinApp::GetSectionKey(LPCTSTR lpszSection) {
  if (lpszSection == nullptr) return nullptr;
  HKEY hAppKey = GetAppRegistryKey();
  if (hAppKey == nullptr) return nullptr;
  HKEY hSectionKey = nullptr;
  DWORD dw;
  ::RegCreateKeyEx(hAppKey, lpszSection, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE | KEY_READ, nullptr,
                   &hSectionKey, &dw);
  ::RegCloseKey(hAppKey);
  return hSectionKey;
}

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault) {
  if (m_pszRegistryKey == nullptr)
    return ::GetPrivateProfileInt(lpszSection, lpszEntry, nDefault, m_pszProfileName);
  HKEY hSecKey = GetSectionKey(lpszSection);
  if (hSecKey == nullptr) return (UINT)nDefault;
  DWORD dwValue = 0, dwType = 0, dwCount = sizeof(dwValue);
  LONG lResult =
      ::RegQueryValueEx(hSecKey, lpszEntry, nullptr, &dwType, reinterpret_cast<LPBYTE>(&dwValue), &dwCount);
  ::RegCloseKey(hSecKey);
  // A value of another type or size is treated as absent.
  if (lResult != ERROR_SUCCESS || dwType != REG_DWORD || dwCount != sizeof(dwValue)) return (UINT)nDefault;
  return (UINT)dwValue;
}

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue) {
  if (m_pszRegistryKey == nullptr) {
    wchar_t szT[16];
    swprintf(szT, 16, L"%d", nValue);
    return ::WritePrivateProfileString(lpszSection, lpszEntry, szT, m_pszProfileName);
  }
  HKEY hSecKey = GetSectionKey(lpszSection);
  if (hSecKey == nullptr) return FALSE;
  DWORD dwValue = (DWORD)nValue;
  LONG lResult = ::RegSetValueEx(hSecKey, lpszEntry, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&dwValue),
                                 sizeof(dwValue));
  ::RegCloseKey(hSecKey);
  return lResult == ERROR_SUCCESS;
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault) {
  CString strDefault = lpszDefault != nullptr ? lpszDefault : L"";
  if (m_pszRegistryKey == nullptr) {
    wchar_t szT[4096];
    ::GetPrivateProfileString(lpszSection, lpszEntry, strDefault, szT, 4096, m_pszProfileName);
    return CString(szT);
  }
  HKEY hSecKey = GetSectionKey(lpszSection);
  if (hSecKey == nullptr) return strDefault;
  DWORD dwType = 0, dwCount = 0;
  LONG lResult = ::RegQueryValueEx(hSecKey, lpszEntry, nullptr, &dwType, nullptr, &dwCount);
  CString strValue = strDefault;
  if (lResult == ERROR_SUCCESS && dwType == REG_SZ) {
    std::vector<wchar_t> buffer(dwCount / sizeof(wchar_t) + 1, L'\0');
    lResult = ::RegQueryValueEx(hSecKey, lpszEntry, nullptr, &dwType, reinterpret_cast<LPBYTE>(buffer.data()),
                                &dwCount);
    if (lResult == ERROR_SUCCESS) strValue = buffer.data();
  }
  ::RegCloseKey(hSecKey);
  return strValue;
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue) {
  if (m_pszRegistryKey == nullptr)
    return ::WritePrivateProfileString(lpszSection, lpszEntry, lpszValue, m_pszProfileName);
  if (lpszEntry == nullptr) {
    HKEY hAppKey = GetAppRegistryKey();
    if (hAppKey == nullptr) return FALSE;
    LONG lResult = ::RegDeleteTree(hAppKey, lpszSection);
    ::RegCloseKey(hAppKey);
    return lResult == ERROR_SUCCESS;
  }
  HKEY hSecKey = GetSectionKey(lpszSection);
  if (hSecKey == nullptr) return FALSE;
  LONG lResult;
  if (lpszValue == nullptr)
    lResult = ::RegDeleteValue(hSecKey, lpszEntry);
  else
    lResult = ::RegSetValueEx(hSecKey, lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE *>(lpszValue),
                              (DWORD)((wcslen(lpszValue) + 1) * sizeof(wchar_t)));
  ::RegCloseKey(hSecKey);
  return lResult == ERROR_SUCCESS;
}

BOOL CWinApp::GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE *ppData, UINT *pBytes) {
  *ppData = nullptr;
  *pBytes = 0;
  if (m_pszRegistryKey == nullptr) return FALSE;
  HKEY hSecKey = GetSectionKey(lpszSection);
  if (hSecKey == nullptr) return FALSE;
  DWORD dwType = 0, dwCount = 0;
  LONG lResult = ::RegQueryValueEx(hSecKey, lpszEntry, nullptr, &dwType, nullptr, &dwCount);
  if (lResult == ERROR_SUCCESS && dwType == REG_BINARY) {
    *ppData = new BYTE[dwCount > 0 ? dwCount : 1];
    lResult = ::RegQueryValueEx(hSecKey, lpszEntry, nullptr, &dwType, *ppData, &dwCount);
    if (lResult == ERROR_SUCCESS) {
      *pBytes = dwCount;
    } else {
      delete[] * ppData;
      *ppData = nullptr;
    }
  }
  ::RegCloseKey(hSecKey);
  return *ppData != nullptr;
}

BOOL CWinApp::WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes) {
  if (m_pszRegistryKey == nullptr) return FALSE;
  HKEY hSecKey = GetSectionKey(lpszSection);
  if (hSecKey == nullptr) return FALSE;
  LONG lResult = ::RegSetValueEx(hSecKey, lpszEntry, 0, REG_BINARY, pData, nBytes);
  ::RegCloseKey(hSecKey);
  return lResult == ERROR_SUCCESS;
}

// ---------------------------------------------------------------------------
// Cursors, icons, message boxes

LPCTSTR CWinApp::GetMessageBoxCaption() const {
  return AfxGetAppName();
}

HICON CWinApp::LoadIcon(LPCTSTR lpszResourceName) const {
  return ::LoadIcon(AfxFindResourceHandle(lpszResourceName, RT_GROUP_ICON), lpszResourceName);
}

HICON CWinApp::LoadIcon(UINT nIDResource) const {
  return LoadIcon(MAKEINTRESOURCE(nIDResource));
}

HCURSOR CWinApp::LoadCursor(UINT nIDResource) const {
  return ::LoadCursor(AfxFindResourceHandle(MAKEINTRESOURCE(nIDResource), RT_GROUP_CURSOR),
                      MAKEINTRESOURCE(nIDResource));
}

int CWinApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT) {
  HWND hWndOwner = nullptr;
  if (CWnd *pMainWnd = AfxGetMainWnd()) {
    hWndOwner = pMainWnd->m_hWnd != nullptr ? ::GetLastActivePopup(pMainWnd->m_hWnd) : nullptr;
    if (hWndOwner != nullptr && !::IsWindowEnabled(hWndOwner)) hWndOwner = ::GetActiveWindow();
  }
  // Without an icon of its own a box gets the one that fits its buttons.
  if ((nType & MB_ICONMASK) == 0) {
    UINT nButtons = nType & MB_TYPEMASK;
    nType |= (nButtons == MB_YESNO || nButtons == MB_YESNOCANCEL) ? MB_ICONQUESTION : MB_ICONEXCLAMATION;
  }
  return ::MessageBox(hWndOwner, lpszPrompt, AfxGetAppName(), nType);
}

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp) {
  if (CWinApp *pApp = AfxGetApp()) return pApp->DoMessageBox(lpszText, nType, nIDHelp);
  return ::MessageBox(nullptr, lpszText, L"", nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
  CString strPrompt;
  strPrompt.LoadString(nIDPrompt);
  return AfxMessageBox(strPrompt, nType, nIDHelp == (UINT)-1 ? nIDPrompt : nIDHelp);
}

// ---------------------------------------------------------------------------
// Documents and command line

void CWinApp::AddDocTemplate(CDocTemplate *pTemplate) {
  if (pTemplate != nullptr) m_templates.emplace_back(pTemplate);
}

void CWinApp::OnFileNew() {
  if (!m_templates.empty()) m_templates.front()->OpenDocumentFile(nullptr);
}

CDocument *CWinApp::OpenDocumentFile(LPCTSTR lpszFileName) {
  if (m_templates.empty()) return nullptr;
  return m_templates.front()->OpenDocumentFile(lpszFileName);
}

void CCommandLineInfo::ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL) {
  if (bFlag) {
    if (_wcsicmp(pszParam, L"nologo") == 0) m_bShowSplash = FALSE;
    return;
  }
  if (m_strFileName.IsEmpty()) {
    m_strFileName = pszParam;
    m_nShellCommand = FileOpen;
  }
}

void CWinApp::ParseCommandLine(CCommandLineInfo &rCmdInfo) {
  int argc = 0;
  LPWSTR *argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  if (argv == nullptr) return;
  for (int i = 1; i < argc; i++) {
    LPCTSTR pszParam = argv[i];
    BOOL bFlag = pszParam[0] == L'-' || pszParam[0] == L'/';
    if (bFlag) ++pszParam;
    rCmdInfo.ParseParam(pszParam, bFlag, i == argc - 1);
  }
  ::LocalFree(argv);
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo &rCmdInfo) {
  switch (rCmdInfo.m_nShellCommand) {
  case CCommandLineInfo::FileNew:
    // The program's own map may bind New; otherwise the default.
    if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr)) OnFileNew();
    return m_pMainWnd != nullptr;
  case CCommandLineInfo::FileOpen:
    return OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr;
  default:
    return TRUE;
  }
}
