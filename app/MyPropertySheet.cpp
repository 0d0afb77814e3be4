#include "MyPropertySheet.h"

MyPropertySheet::MyPropertySheet(LPCTSTR caption, CWnd *parent, UINT selectPage)
    : CPropertySheet(caption, parent, selectPage) {
  AddPage(&m_searchTypePage);
  AddPage(&m_drivePage);
  AddPage(&m_headersPage);
  // No page shows a Help button.
  m_psh.dwFlags &= ~PSH_HASHELP;
}

INT_PTR MyPropertySheet::DoModal() {
  SetWizardMode();
  return CPropertySheet::DoModal();
}
