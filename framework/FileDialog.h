// CFileDialog: the system's open and save file dialogs.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <vector>

#include "CString.h"
#include "Collections.h"
#include "Object.h"

class CWnd;

class CFileDialog : public CObject {
  DECLARE_DYNAMIC(CFileDialog)
public:
  // The filter is pairs of "description|pattern|", ended by another '|'.
  explicit CFileDialog(BOOL openFileDialog, LPCTSTR defaultExt = nullptr, LPCTSTR fileName = nullptr,
                       DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR filter = nullptr,
                       CWnd *parent = nullptr);

  OPENFILENAMEW m_ofn = {};

  // IDOK or IDCANCEL.
  virtual INT_PTR DoModal();

  CString GetPathName() const;
  CString GetFileName() const;
  CString GetFileExt() const;
  CString GetFileTitle() const;
  CString GetFolderPath() const;
  BOOL GetReadOnlyPref() const { return (m_ofn.Flags & OFN_READONLY) != 0; }
  // Walks the files of a multiple selection.
  POSITION GetStartPosition() const;
  CString GetNextPathName(POSITION &position) const;

private:
  BOOL m_bOpenFileDialog;
  CWnd *m_pParent;
  CString m_strDefExt;
  CString m_strTitle;
  std::vector<wchar_t> m_filter;
  std::vector<wchar_t> m_fileBuffer;
  wchar_t m_szFileTitle[MAX_PATH] = {};
};

// The filter as the dialog wants it: every '|' becomes a NUL and the list ends
// with two NULs, whether or not the text ends with "||".
std::vector<wchar_t> MakeFileDialogFilter(LPCTSTR filter);
