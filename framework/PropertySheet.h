// CPropertySheet and CPropertyPage on the system's property sheet, including
// wizard mode. The sheet runs modeless under the framework's own modal loop,
// so keys pass through PreTranslateMessage (the sheet's own navigation first)
// like everywhere else. Pages are bound to their windows when the sheet
// creates them.
#pragma once

#include <vector>

#include "Dialog.h"

class CPropertySheet;

class CPropertyPage : public CDialog {
  DECLARE_DYNAMIC(CPropertyPage)
public:
  CPropertyPage() { Construct((LPCTSTR) nullptr, 0); }
  explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0) { Construct(nIDTemplate, nIDCaption); }
  explicit CPropertyPage(LPCTSTR lpszTemplateName, UINT nIDCaption = 0) {
    Construct(lpszTemplateName, nIDCaption);
  }
  ~CPropertyPage() override = default;

  void Construct(UINT nIDTemplate, UINT nIDCaption = 0) {
    Construct(MAKEINTRESOURCE(nIDTemplate), nIDCaption);
  }
  void Construct(LPCTSTR lpszTemplateName, UINT nIDCaption = 0);

  PROPSHEETPAGE m_psp;

  CPropertySheet *GetParentSheet() const;
  void CancelToClose();
  void SetModified(BOOL bChanged = TRUE);
  LRESULT QuerySiblings(WPARAM wParam, LPARAM lParam);

  virtual BOOL OnSetActive();
  virtual BOOL OnKillActive();
  virtual BOOL OnApply();
  virtual void OnReset() { OnCancel(); }
  virtual BOOL OnQueryCancel() { return TRUE; }
  virtual LRESULT OnWizardBack() { return 0; }
  virtual LRESULT OnWizardNext() { return 0; }
  virtual BOOL OnWizardFinish() { return TRUE; }
  void OnOK() override {}
  void OnCancel() override {}

  // The sheet does the keyboard navigation of its pages.
  BOOL PreTranslateMessage(MSG *) override { return FALSE; }

protected:
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT *pResult) override;

  CString m_strCaption;
  BOOL m_bFirstSetActive = TRUE;
};

class CPropertySheet : public CWnd {
  DECLARE_DYNAMIC(CPropertySheet)
public:
  CPropertySheet() { CommonConstruct(nullptr, 0); }
  explicit CPropertySheet(UINT nIDCaption, CWnd *pParentWnd = nullptr, UINT iSelectPage = 0);
  explicit CPropertySheet(LPCTSTR pszCaption, CWnd *pParentWnd = nullptr, UINT iSelectPage = 0);
  ~CPropertySheet() override;

  PROPSHEETHEADER m_psh;

  void AddPage(CPropertyPage *pPage);
  void RemovePage(CPropertyPage *pPage);
  void RemovePage(int nPage);
  int GetPageCount() const { return (int)m_pages.size(); }
  CPropertyPage *GetPage(int nPage) const;
  int GetPageIndex(CPropertyPage *pPage) const;
  CPropertyPage *GetActivePage() const;
  int GetActiveIndex() const;
  BOOL SetActivePage(int nPage);
  BOOL SetActivePage(CPropertyPage *pPage) { return SetActivePage(GetPageIndex(pPage)); }
  void SetTitle(LPCTSTR lpszText, UINT nStyle = 0);
  void SetWizardMode() { m_psh.dwFlags |= PSH_WIZARD; }
  BOOL IsWizard() const { return (m_psh.dwFlags & PSH_WIZARD) != 0; }
  void SetWizardButtons(DWORD dwFlags);
  void SetFinishText(LPCTSTR lpszText);
  BOOL PressButton(int nButton);
  void EnableStackedTabs(BOOL) {}

  // Returns IDOK, IDCANCEL or, for a wizard, ID_WIZFINISH; -1 when the sheet cannot be made.
  virtual INT_PTR DoModal();
  // Modeless sheet.
  BOOL Create(CWnd *pParentWnd = nullptr, DWORD dwStyle = (DWORD)-1, DWORD dwExStyle = 0);
  void EndDialog(int nEndID);
  virtual BOOL OnInitDialog() { return TRUE; }

  BOOL PreTranslateMessage(MSG *pMsg) override;
  BOOL ContinueModal() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

  // F1 and the system's help request go to the active page as its help command.
  afx_msg LRESULT OnHelpRequest(WPARAM wParam, LPARAM lParam);
  void SendHelpToActivePage();

protected:
  void CommonConstruct(CWnd *pParentWnd, UINT iSelectPage);
  // The header and the page array handed to the system.
  void BuildHeader();
  HWND CreateSheet(HWND hWndParent, bool bModeless);

  std::vector<CPropertyPage *> m_pages;
  std::vector<PROPSHEETPAGE> m_pageArray;
  CString m_strCaption;
  CWnd *m_pParentWnd = nullptr;

  friend class CPropertyPage;

  DECLARE_MESSAGE_MAP()
};
