#include "CannotSaveDlg.h"

#include "resource.h"

BEGIN_MESSAGE_MAP(CCannotSaveDlg, CDialog)
ON_BN_CLICKED(IDC_CANNOT_SAVE_SKIP, OnSkipThisFile)
END_MESSAGE_MAP()

CCannotSaveDlg::CCannotSaveDlg(const std::wstring &name, uint64_t size, CWnd *parent)
    : CDialog(IDD_CANNOT_SAVE, parent), m_name(name), m_size(size) {}

BOOL CCannotSaveDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetDlgItemText(IDC_CANNOT_SAVE_NAME, m_name.c_str());
  SetDlgItemText(IDC_CANNOT_SAVE_SIZE, std::to_wstring(SizeInKb(m_size)).c_str());
  return TRUE;
}

void CCannotSaveDlg::OnSkipThisFile() {
  EndDialog(IDC_CANNOT_SAVE_SKIP);
}
