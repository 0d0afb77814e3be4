// CXTRegistryManager: the application's integer and string settings, like the
// framework's profile functions, under a root of the caller's choosing
// (HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE), or in a private INI file for the
// whole process once one is named.
//   root\Software\<registry key>\<profile name>\<section>\<entry>
#pragma once

#include <windows.h>

#include "CString.h"

class CXTRegistryManager {
public:
  explicit CXTRegistryManager(HKEY hKeyBase = HKEY_CURRENT_USER);
  virtual ~CXTRegistryManager() = default;
  CXTRegistryManager(const CXTRegistryManager &) = delete;
  CXTRegistryManager &operator=(const CXTRegistryManager &) = delete;

  // Open keys, created when missing, that the caller closes; 0 on failure.
  virtual HKEY GetAppRegistryKey();
  virtual HKEY GetSectionKey(LPCTSTR lpszSection);

  int GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
  CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = nullptr);
  BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
  // A null entry deletes the section, a null value the entry.
  BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);

  // The process-wide INI file; while it is not empty, every manager reads and
  // writes it instead of the registry.
  static void SetINIFileName(LPCTSTR lpszINIFileName);
  static CString GetINIFileName();

private:
  BOOL HaveNames();
  // The section opened for reading only: reads must work for a user who may
  // not write the machine key, and must not create keys.
  HKEY OpenSectionForRead(LPCTSTR lpszSection);
  CString SectionPath(LPCTSTR lpszSection) const;

  HKEY m_hKeyBase;
  // The application's names, borrowed from the application object.
  LPCTSTR m_pszRegistryKey = nullptr;
  LPCTSTR m_pszProfileName = nullptr;
};
