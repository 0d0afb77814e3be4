// CRecentFileList: the application's most recently used files, newest
// first, as menus list them.
#pragma once

#include "CString.h"

#include <vector>

class CRecentFileList {
public:
  explicit CRecentFileList(int nSize = 4) : m_nSize(nSize) {}

  int GetSize() const { return m_nSize; }
  // The path of entry nIndex; empty past the last file.
  CString operator[](int nIndex) const;
  // Puts the path first, dropping an earlier entry of the same path and the
  // oldest beyond the size.
  void Add(LPCTSTR lpszPathName);
  void Remove(int nIndex);
  // The name a menu shows: relative to the current directory when the file
  // lies under it, cut to nMaxLength characters. FALSE for an empty entry.
  BOOL GetDisplayName(CString &strName, int nIndex, LPCTSTR lpszCurDir, int nCurDir,
                      int nMaxLength = 260) const;

private:
  int m_nSize;
  std::vector<CString> m_arrNames;
};
