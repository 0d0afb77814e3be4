#include "XTRegistryManager.h"

#include <vector>

#include "WinApp.h"

namespace {

CString &INIFileName() {
  static CString strINIFileName;
  return strINIFileName;
}

// The INI functions take a name below this length.
const int kMaxININame = 4095;
const DWORD kINIBufferChars = 4096;

} // namespace

CXTRegistryManager::CXTRegistryManager(HKEY hKeyBase) : m_hKeyBase(hKeyBase) {
  ASSERT(hKeyBase == HKEY_CURRENT_USER || hKeyBase == HKEY_LOCAL_MACHINE);
}

void CXTRegistryManager::SetINIFileName(LPCTSTR lpszINIFileName) {
  INIFileName() = lpszINIFileName != nullptr ? lpszINIFileName : L"";
}

CString CXTRegistryManager::GetINIFileName() {
  return INIFileName();
}

BOOL CXTRegistryManager::HaveNames() {
  if (m_pszRegistryKey == nullptr || m_pszProfileName == nullptr) {
    CWinApp *pApp = AfxGetApp();
    if (pApp != nullptr) {
      m_pszRegistryKey = pApp->m_pszRegistryKey;
      m_pszProfileName = pApp->m_pszProfileName;
    }
  }
  return m_pszRegistryKey != nullptr && m_pszProfileName != nullptr;
}

CString CXTRegistryManager::SectionPath(LPCTSTR lpszSection) const {
  CString strPath = L"Software\\";
  strPath += m_pszRegistryKey;
  strPath += L"\\";
  strPath += m_pszProfileName;
  strPath += L"\\";
  strPath += lpszSection;
  return strPath;
}

HKEY CXTRegistryManager::GetAppRegistryKey() {
  if (!HaveNames()) return nullptr;
  HKEY hSoftKey = nullptr, hCompanyKey = nullptr, hAppKey = nullptr;
  DWORD dw = 0;
  if (::RegOpenKeyEx(m_hKeyBase, L"Software", 0, KEY_WRITE | KEY_READ, &hSoftKey) == ERROR_SUCCESS) {
    if (::RegCreateKeyEx(hSoftKey, m_pszRegistryKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                         KEY_WRITE | KEY_READ, nullptr, &hCompanyKey, &dw) == ERROR_SUCCESS) {
      if (::RegCreateKeyEx(hCompanyKey, m_pszProfileName, 0, nullptr, REG_OPTION_NON_VOLATILE,
                           KEY_WRITE | KEY_READ, nullptr, &hAppKey, &dw) != ERROR_SUCCESS)
        hAppKey = nullptr;
      ::RegCloseKey(hCompanyKey);
    }
    ::RegCloseKey(hSoftKey);
  }
  return hAppKey;
}

HKEY CXTRegistryManager::GetSectionKey(LPCTSTR lpszSection) {
  ASSERT(lpszSection != nullptr);
  HKEY hAppKey = GetAppRegistryKey();
  if (hAppKey == nullptr) return nullptr;
  HKEY hSectionKey = nullptr;
  DWORD dw = 0;
  if (::RegCreateKeyEx(hAppKey, lpszSection, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE | KEY_READ,
                       nullptr, &hSectionKey, &dw) != ERROR_SUCCESS)
    hSectionKey = nullptr;
  ::RegCloseKey(hAppKey);
  return hSectionKey;
}

HKEY CXTRegistryManager::OpenSectionForRead(LPCTSTR lpszSection) {
  ASSERT(lpszSection != nullptr);
  if (!HaveNames()) return nullptr;
  HKEY hSectionKey = nullptr;
  if (::RegOpenKeyEx(m_hKeyBase, SectionPath(lpszSection), 0, KEY_READ, &hSectionKey) != ERROR_SUCCESS)
    return nullptr;
  return hSectionKey;
}

int CXTRegistryManager::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault) {
  ASSERT(lpszSection != nullptr && lpszEntry != nullptr);
  if (!INIFileName().IsEmpty())
    return static_cast<int>(::GetPrivateProfileInt(lpszSection, lpszEntry, nDefault, INIFileName()));

  HKEY hSectionKey = OpenSectionForRead(lpszSection);
  if (hSectionKey == nullptr) return nDefault;
  DWORD dwValue = 0, dwType = 0, dwCount = sizeof(dwValue);
  LONG lResult = ::RegQueryValueEx(hSectionKey, lpszEntry, nullptr, &dwType,
                                   reinterpret_cast<LPBYTE>(&dwValue), &dwCount);
  ::RegCloseKey(hSectionKey);
  if (lResult != ERROR_SUCCESS || dwType != REG_DWORD || dwCount != sizeof(dwValue)) return nDefault;
  return static_cast<int>(dwValue);
}

CString CXTRegistryManager::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault) {
  ASSERT(lpszSection != nullptr && lpszEntry != nullptr);
  CString strDefault = lpszDefault != nullptr ? lpszDefault : L"";
  if (!INIFileName().IsEmpty()) {
    std::vector<wchar_t> buffer(kINIBufferChars);
    ::GetPrivateProfileString(lpszSection, lpszEntry, strDefault, buffer.data(), kINIBufferChars,
                              INIFileName());
    return CString(buffer.data());
  }

  HKEY hSectionKey = OpenSectionForRead(lpszSection);
  if (hSectionKey == nullptr) return strDefault;
  DWORD dwType = 0, dwCount = 0;
  LONG lResult = ::RegQueryValueEx(hSectionKey, lpszEntry, nullptr, &dwType, nullptr, &dwCount);
  CString strValue = strDefault;
  if (lResult == ERROR_SUCCESS && dwType == REG_SZ) {
    // The stored bytes need not end in a terminator (any program may write
    // the value): read into one character more, zeroed, and cut at the first
    // zero.
    std::vector<wchar_t> buffer((dwCount + sizeof(wchar_t) - 1) / sizeof(wchar_t) + 1, L'\0');
    DWORD dwBytes = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
    lResult = ::RegQueryValueEx(hSectionKey, lpszEntry, nullptr, &dwType,
                                reinterpret_cast<LPBYTE>(buffer.data()), &dwBytes);
    if (lResult == ERROR_SUCCESS && dwType == REG_SZ) strValue = buffer.data();
  }
  ::RegCloseKey(hSectionKey);
  return strValue;
}

BOOL CXTRegistryManager::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue) {
  ASSERT(lpszSection != nullptr && lpszEntry != nullptr);
  if (!INIFileName().IsEmpty()) {
    wchar_t szValue[16];
    wsprintfW(szValue, L"%d", nValue);
    return ::WritePrivateProfileString(lpszSection, lpszEntry, szValue, INIFileName());
  }

  HKEY hSectionKey = GetSectionKey(lpszSection);
  if (hSectionKey == nullptr) return FALSE;
  DWORD dwValue = static_cast<DWORD>(nValue);
  LONG lResult = ::RegSetValueEx(hSectionKey, lpszEntry, 0, REG_DWORD,
                                 reinterpret_cast<const BYTE *>(&dwValue), sizeof(dwValue));
  ::RegCloseKey(hSectionKey);
  return lResult == ERROR_SUCCESS;
}

BOOL CXTRegistryManager::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue) {
  ASSERT(lpszSection != nullptr);
  if (!INIFileName().IsEmpty()) {
    ASSERT(INIFileName().GetLength() < kMaxININame);
    return ::WritePrivateProfileString(lpszSection, lpszEntry, lpszValue, INIFileName());
  }

  if (lpszEntry == nullptr) {
    HKEY hAppKey = GetAppRegistryKey();
    if (hAppKey == nullptr) return FALSE;
    LONG lResult = ::RegDeleteKey(hAppKey, lpszSection);
    ::RegCloseKey(hAppKey);
    return lResult == ERROR_SUCCESS;
  }

  HKEY hSectionKey = GetSectionKey(lpszSection);
  if (hSectionKey == nullptr) return FALSE;
  LONG lResult;
  if (lpszValue == nullptr) {
    lResult = ::RegDeleteValue(hSectionKey, lpszEntry);
  } else {
    DWORD dwBytes = static_cast<DWORD>((wcslen(lpszValue) + 1) * sizeof(wchar_t));
    lResult = ::RegSetValueEx(hSectionKey, lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE *>(lpszValue),
                              dwBytes);
  }
  ::RegCloseKey(hSectionKey);
  return lResult == ERROR_SUCCESS;
}
