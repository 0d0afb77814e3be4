// One running copy of the program: the first instance publishes its main
// window in a small named shared mapping; a later start finds the mapping,
// brings that window forward and ends.
#pragma once

#include <windows.h>

#include "CString.h"

class CInstanceChecker {
public:
  // mappingSuffix: the application's name, appended to the mapping's name.
  explicit CInstanceChecker(LPCTSTR mappingSuffix);
  ~CInstanceChecker();
  CInstanceChecker(const CInstanceChecker &) = delete;
  CInstanceChecker &operator=(const CInstanceChecker &) = delete;

  // TRUE when another instance has published its window.
  BOOL PreviousInstanceRunning();
  // Publishes mainWindow for later starts; the mapping lives until the process ends.
  BOOL TrackFirstInstanceRunning(HWND mainWindow);
  // Restores and brings forward the other instance's window; returns it (null when none).
  HWND ActivatePreviousInstance();

  const CString &MappingName() const { return m_mappingName; }

private:
  CString m_mappingName;
  HANDLE m_mutex = nullptr;
  HANDLE m_openedMapping = nullptr;

  // The window handle is stored as 64 bits, so 32- and 64-bit copies of the
  // program read each other's handle whole.
  static constexpr DWORD kMappingSize = sizeof(ULONGLONG);
};
