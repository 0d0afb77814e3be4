#include "FileExistsDlg.h"

#include "resource.h"

BEGIN_MESSAGE_MAP(CFileExistsDlg, CDialog)
ON_COMMAND_RANGE(IDC_EXISTS_RENAME_ALL, IDC_EXISTS_SKIP_ALL, OnAnswer)
END_MESSAGE_MAP()

CFileExistsDlg::CFileExistsDlg(const std::wstring &existing, const std::wstring &proposed, CWnd *parent)
    : CDialog(IDD_FILE_EXISTS, parent), m_existing(existing), m_newName(proposed) {}

BOOL CFileExistsDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetDlgItemText(IDC_EXISTS_NAME, m_existing.c_str());
  SetDlgItemText(IDC_EXISTS_RENAME_TO, m_newName.c_str());
  return TRUE;
}

void CFileExistsDlg::ReadNewName() {
  CString typed;
  GetDlgItemText(IDC_EXISTS_RENAME_TO, typed);
  m_newName = typed.GetString();
}

// Rename (the default button).
void CFileExistsDlg::OnOK() {
  ReadNewName();
  m_answer = ClashButton::Rename;
  EndDialog(IDOK);
}

void CFileExistsDlg::OnCancel() {
  m_answer = ClashButton::Skip;
  EndDialog(IDCANCEL);
}

void CFileExistsDlg::OnAnswer(UINT id) {
  ReadNewName();
  switch (id) {
  case IDC_EXISTS_RENAME_ALL:
    m_answer = ClashButton::RenameAll;
    break;
  case IDC_EXISTS_OVERWRITE:
    m_answer = ClashButton::OverWrite;
    break;
  case IDC_EXISTS_OVERWRITE_ALL:
    m_answer = ClashButton::OverWriteAll;
    break;
  case IDC_EXISTS_SKIP:
    m_answer = ClashButton::Skip;
    break;
  default:
    m_answer = ClashButton::SkipAll;
    break;
  }
  EndDialog(static_cast<int>(id));
}
