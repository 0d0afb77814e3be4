#include "RecentFileList.h"

#include <windows.h>

CString CRecentFileList::operator[](int nIndex) const {
  return nIndex >= 0 && nIndex < static_cast<int>(m_arrNames.size()) ? m_arrNames[nIndex] : CString();
}

void CRecentFileList::Add(LPCTSTR lpszPathName) {
  for (size_t i = 0; i < m_arrNames.size(); i++)
    if (m_arrNames[i].CompareNoCase(lpszPathName) == 0) {
      m_arrNames.erase(m_arrNames.begin() + static_cast<std::ptrdiff_t>(i));
      break;
    }
  m_arrNames.insert(m_arrNames.begin(), CString(lpszPathName));
  if (static_cast<int>(m_arrNames.size()) > m_nSize) m_arrNames.resize(static_cast<size_t>(m_nSize));
}

void CRecentFileList::Remove(int nIndex) {
  if (nIndex >= 0 && nIndex < static_cast<int>(m_arrNames.size()))
    m_arrNames.erase(m_arrNames.begin() + nIndex);
}

BOOL CRecentFileList::GetDisplayName(CString &strName, int nIndex, LPCTSTR lpszCurDir, int nCurDir,
                                     int nMaxLength) const {
  strName = (*this)[nIndex];
  if (strName.IsEmpty()) return FALSE;
  // A file in the current directory's tree is shown without that part.
  if (lpszCurDir && nCurDir > 0 && strName.GetLength() > nCurDir + 1 &&
      strName.Left(nCurDir).CompareNoCase(CString(lpszCurDir).Left(nCurDir)) == 0 &&
      strName[nCurDir] == L'\\')
    strName = strName.Mid(nCurDir + 1);
  if (strName.GetLength() > nMaxLength) strName = strName.Left(nMaxLength);
  return TRUE;
}
