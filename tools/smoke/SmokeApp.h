// A small program on the class layer: a frame with a static splitter holding
// a tree view and a list view, a status bar, a menu and accelerators, a modal
// dialog and a two-page wizard.
#pragma once

#include "Framework.h"
#include "SmokeResource.h"

class CSmokeDoc : public CDocument {
  DECLARE_DYNCREATE(CSmokeDoc)
};

class CSmokeTreeView : public CTreeView {
  DECLARE_DYNCREATE(CSmokeTreeView)
public:
  void OnInitialUpdate() override;
  BOOL PreCreateWindow(CREATESTRUCT &cs) override;
};

class CSmokeListView : public CListView {
  DECLARE_DYNCREATE(CSmokeListView)
public:
  void OnInitialUpdate() override;
  BOOL PreCreateWindow(CREATESTRUCT &cs) override;
};

class CSmokeDialog : public CDialog {
public:
  CSmokeDialog(CWnd *pParent) : CDialog(IDD_SMOKE_DIALOG, pParent) {}
  CString m_strName = L"smoke";
  void DoDataExchange(CDataExchange *pDX) override;
};

class CSmokePage : public CPropertyPage {
public:
  CSmokePage(UINT nIDTemplate, DWORD dwButtons) : CPropertyPage(nIDTemplate), m_dwButtons(dwButtons) {}
  int m_nActivations = 0;
  BOOL OnSetActive() override;

private:
  DWORD m_dwButtons;
};

class CSmokeFrame : public CFrameWnd {
  DECLARE_DYNCREATE(CSmokeFrame)
public:
  CSplitterWnd m_wndSplitter;
  CStatusBar m_wndStatusBar;
  INT_PTR m_nLastDialogResult = 0;
  CString m_strLastName;
  INT_PTR m_nLastWizardResult = 0;
  int m_nPage2Activations = 0;
  int m_nNeverRuns = 0;

  BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext *pContext) override;
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnSmokeDialog();
  afx_msg void OnSmokeWizard();
  afx_msg void OnSmokeNever() { m_nNeverRuns++; }
  afx_msg void OnUpdateSmokeNever(CCmdUI *pCmdUI) { pCmdUI->Enable(FALSE); }
  DECLARE_MESSAGE_MAP()
};

class CSmokeApp : public CWinApp {
public:
  CSmokeApp() : CWinApp(L"Smoke") {}
  BOOL InitInstance() override;
};
