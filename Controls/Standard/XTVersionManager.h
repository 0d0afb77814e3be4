// CXTVersionManager: which Windows release the program runs on, read once at
// start. Each test names one release exactly; later releases answer FALSE.
#pragma once

#include <windows.h>

class CXTVersionManager {
public:
  // The running system's version.
  CXTVersionManager();
  // A given version, for code that must answer for another system.
  explicit CXTVersionManager(const OSVERSIONINFO &info) : m_osvi(info) {}

  BOOL IsWin95() const;
  BOOL IsWin98() const;
  BOOL IsWinNT4() const;
  BOOL IsWin2K() const;
  BOOL IsWinXP() const;

  const OSVERSIONINFO &GetVersionInfo() const { return m_osvi; }

private:
  BOOL Is(DWORD dwPlatform, DWORD dwMajor, DWORD dwMinor) const;

  OSVERSIONINFO m_osvi = {};
};

CXTVersionManager &XTGetVersionManager();
