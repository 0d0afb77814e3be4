#include "MyPropertySheet.h"

#include "AppText.h"
#include "resource.h"

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

BOOL MyPropertySheet::OnInitDialog() {
  const BOOL result = CPropertySheet::OnInitDialog();
  // The system makes these buttons from its own template, in its own
  // language: every other text of the wizard comes from the language
  // library, so theirs does too.
  static const struct {
    int button;
    UINT text;
  } kButtons[] = {{ID_WIZBACK, IDS_WIZARD_BACK},
                  {ID_WIZNEXT, IDS_WIZARD_NEXT},
                  {ID_WIZFINISH, IDS_WIZARD_FINISH},
                  {IDCANCEL, IDS_WIZARD_CANCEL},
                  {IDHELP, IDS_WIZARD_HELP}};
  for (const auto &b : kButtons) {
    const CString text = LoadText(b.text);
    HWND button = ::GetDlgItem(m_hWnd, b.button);
    if (button != nullptr && !text.IsEmpty()) ::SetWindowTextW(button, text);
  }
  return result;
}
