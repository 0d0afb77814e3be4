#include "SmokeApp.h"

IMPLEMENT_DYNCREATE(CSmokeDoc, CDocument)
IMPLEMENT_DYNCREATE(CSmokeTreeView, CTreeView)
IMPLEMENT_DYNCREATE(CSmokeListView, CListView)
IMPLEMENT_DYNCREATE(CSmokeFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CSmokeFrame, CFrameWnd)
ON_WM_CREATE()
ON_COMMAND(ID_SMOKE_DIALOG, OnSmokeDialog)
ON_COMMAND(ID_SMOKE_WIZARD, OnSmokeWizard)
ON_COMMAND(ID_SMOKE_NEVER, OnSmokeNever)
ON_UPDATE_COMMAND_UI(ID_SMOKE_NEVER, OnUpdateSmokeNever)
END_MESSAGE_MAP()

BOOL CSmokeTreeView::PreCreateWindow(CREATESTRUCT &cs) {
  cs.style |= TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS | TVS_SHOWSELALWAYS;
  return CTreeView::PreCreateWindow(cs);
}

void CSmokeTreeView::OnInitialUpdate() {
  CTreeCtrl &tree = GetTreeCtrl();
  tree.DeleteAllItems();
  HTREEITEM hRoot = tree.InsertItem(L"Root");
  HTREEITEM hFolder = tree.InsertItem(L"Lost Folder(s)", hRoot);
  tree.InsertItem(L"Raw Data Folder", hRoot);
  tree.InsertItem(L"Documents", hFolder);
  tree.Expand(hRoot, TVE_EXPAND);
}

BOOL CSmokeListView::PreCreateWindow(CREATESTRUCT &cs) {
  cs.style |= LVS_REPORT;
  return CListView::PreCreateWindow(cs);
}

void CSmokeListView::OnInitialUpdate() {
  CListCtrl &list = GetListCtrl();
  list.DeleteAllItems();
  while (list.DeleteColumn(0)) {
  }
  list.InsertColumn(0, L"Name", LVCFMT_LEFT, 160);
  list.InsertColumn(1, L"Size", LVCFMT_RIGHT, 80);
  list.InsertColumn(2, L"Grade", LVCFMT_LEFT, 90);
  const wchar_t *rows[][3] = {{L"letter.doc", L"12 KB", L"Good"},
                              {L"photo.jpg", L"1.2 MB", L"Very Good"},
                              {L"notes.txt", L"3 KB", L"Poor"}};
  for (int i = 0; i < 3; i++) {
    list.InsertItem(i, rows[i][0]);
    list.SetItemText(i, 1, rows[i][1]);
    list.SetItemText(i, 2, rows[i][2]);
  }
}

void CSmokeDialog::DoDataExchange(CDataExchange *pDX) {
  DDX_Text(pDX, IDC_SMOKE_NAME, m_strName);
  DDV_MaxChars(pDX, m_strName, 40);
}

BOOL CSmokePage::OnSetActive() {
  m_nActivations++;
  if (CPropertySheet *pSheet = GetParentSheet()) pSheet->SetWizardButtons(m_dwButtons);
  return CPropertyPage::OnSetActive();
}

int CSmokeFrame::OnCreate(LPCREATESTRUCT lpcs) {
  if (CFrameWnd::OnCreate(lpcs) == -1) return -1;
  static const UINT indicators[] = {ID_SEPARATOR, ID_SEPARATOR};
  if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(indicators, 2)) return -1;
  m_wndStatusBar.SetPaneInfo(1, ID_SEPARATOR, 0, 150);
  m_wndStatusBar.SetPaneText(1, L"3 File(s)");
  RecalcLayout();
  SetMessageText(AFX_IDS_IDLEMESSAGE);
  return 0;
}

BOOL CSmokeFrame::OnCreateClient(LPCREATESTRUCT, CCreateContext *pContext) {
  if (!m_wndSplitter.CreateStatic(this, 1, 2)) return FALSE;
  if (!m_wndSplitter.CreateView(0, 0, RUNTIME_CLASS(CSmokeTreeView), CSize(240, 240), pContext) ||
      !m_wndSplitter.CreateView(0, 1, RUNTIME_CLASS(CSmokeListView), CSize(100, 100), pContext)) {
    m_wndSplitter.DestroyWindow();
    return FALSE;
  }
  return TRUE;
}

void CSmokeFrame::OnSmokeDialog() {
  CSmokeDialog dlg(this);
  m_nLastDialogResult = dlg.DoModal();
  m_strLastName = dlg.m_strName;
}

void CSmokeFrame::OnSmokeWizard() {
  CPropertySheet sheet(L"Smoke Wizard", this);
  CSmokePage page1(IDD_WIZARD_PAGE1, PSWIZB_NEXT);
  CSmokePage page2(IDD_WIZARD_PAGE2, PSWIZB_BACK | PSWIZB_FINISH);
  sheet.AddPage(&page1);
  sheet.AddPage(&page2);
  sheet.SetWizardMode();
  m_nLastWizardResult = sheet.DoModal();
  m_nPage2Activations = page2.m_nActivations;
}

BOOL CSmokeApp::InitInstance() {
  AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CSmokeDoc), RUNTIME_CLASS(CSmokeFrame),
                                        RUNTIME_CLASS(CSmokeTreeView)));
  CCommandLineInfo cmdInfo;
  if (!ProcessShellCommand(cmdInfo)) return FALSE;
  m_pMainWnd->SetWindowText(L"Smoke - Quendal Varnoth class layer");
  m_pMainWnd->ShowWindow(SW_SHOW);
  m_pMainWnd->UpdateWindow();
  return TRUE;
}
