// The search wizard: the search-type page, the drive page and the
// file-signature page, in that order, run as a wizard.
#pragma once

#include "SelSearchTypeDlg.h"
#include "SelectHeaderFiles.h"
#include "SelectSearchDriveDlg.h"

class MyPropertySheet : public CPropertySheet {
public:
  MyPropertySheet(LPCTSTR caption, CWnd *parent, UINT selectPage);

  // Runs the sheet as a wizard.
  INT_PTR DoModal() override;
  // Names the sheet's own buttons in the chosen language.
  BOOL OnInitDialog() override;

  CSelSearchTypeDlg &SearchTypePage() { return m_searchTypePage; }
  CSelectSearchDriveDlg &DrivePage() { return m_drivePage; }
  CSelectHeaderFiles &HeadersPage() { return m_headersPage; }

private:
  CSelSearchTypeDlg m_searchTypePage;
  CSelectSearchDriveDlg m_drivePage;
  CSelectHeaderFiles m_headersPage;
};
