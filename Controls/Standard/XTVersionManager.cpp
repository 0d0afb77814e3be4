#include "XTVersionManager.h"

CXTVersionManager::CXTVersionManager() {
  m_osvi.dwOSVersionInfoSize = sizeof(m_osvi);
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
  // GetVersionEx reports the release a program is manifested for; the tests
  // below only tell releases apart that predate that rule.
  if (!::GetVersionExW(&m_osvi)) m_osvi = OSVERSIONINFO{};
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
  m_osvi.dwOSVersionInfoSize = sizeof(m_osvi);
}

BOOL CXTVersionManager::Is(DWORD dwPlatform, DWORD dwMajor, DWORD dwMinor) const {
  return m_osvi.dwPlatformId == dwPlatform && m_osvi.dwMajorVersion == dwMajor &&
         m_osvi.dwMinorVersion == dwMinor;
}

BOOL CXTVersionManager::IsWin95() const {
  return m_osvi.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && m_osvi.dwMajorVersion == 4 &&
         m_osvi.dwMinorVersion < 10;
}

BOOL CXTVersionManager::IsWin98() const {
  return Is(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
}

BOOL CXTVersionManager::IsWinNT4() const {
  return Is(VER_PLATFORM_WIN32_NT, 4, 0);
}

BOOL CXTVersionManager::IsWin2K() const {
  return Is(VER_PLATFORM_WIN32_NT, 5, 0);
}

BOOL CXTVersionManager::IsWinXP() const {
  return Is(VER_PLATFORM_WIN32_NT, 5, 1);
}

CXTVersionManager &XTGetVersionManager() {
  static CXTVersionManager manager;
  return manager;
}
