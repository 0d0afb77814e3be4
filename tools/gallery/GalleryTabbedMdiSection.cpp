#include "GalleryTabbedMdiSection.h"

#include <cstdlib>

#include "CmdUI.h"
#include "MDIFrameWnd.h"
#include "XTPCommandBars.h"
#include "XTPControlComboBox.h"
#include "XTPControlEdit.h"
#include "XTPControlExt.h"
#include "XTPControls.h"
#include "XTPDefaultTheme.h"
#include "XTPTabClientWnd.h"
#include "XTPToolBar.h"

namespace {

// The gallery's own commands: the zoom and find boxes and the Window menu.
const int kIdZoom = 34001;
const int kIdFind = 34002;
const int kIdView = 34003;
const int kIdWindow = 34004;
const int kIdSector = 34005;

// An MDI frame whose client is tabbed; the group commands go to the client.
class CTabbedMdiFrame : public CMDIFrameWnd {
public:
  static const UINT_PTR kDropTimer = 1;
  CXTPTabClientWnd m_tabClient;
  // The combo dropped down once the page shows, for a picture of its list.
  CXTPControlComboBox *m_pDropOnStart = nullptr;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_TIMER && wParam == kDropTimer) {
      ::KillTimer(m_hWnd, kDropTimer);
      if (m_pDropOnStart) m_pDropOnStart->DropDown();
      return 0;
    }
    return CMDIFrameWnd::WindowProc(message, wParam, lParam);
  }
  BOOL OnCmdMsg(UINT nID, int nCode, void *pExtra, AFX_CMDHANDLERINFO *pHandlerInfo) override {
    if (m_tabClient.IsAttached() && m_tabClient.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    // Nothing handles the page's other commands: they stay enabled.
    if (nCode == static_cast<int>(CN_UPDATE_COMMAND_UI) && nID >= 34000 && nID < 35000) {
      static_cast<CCmdUI *>(pExtra)->Enable(TRUE);
      return TRUE;
    }
    return CMDIFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  }
};

CMDIChildWnd *AddDocument(CMDIFrameWnd *pFrame, LPCTSTR lpszTitle, LPCTSTR lpszIcon) {
  auto *pChild = new CMDIChildWnd;
  LPCTSTR lpszClass =
      AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                          reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), ::LoadIconW(nullptr, lpszIcon));
  if (!pChild->Create(lpszClass, lpszTitle, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                      CRect(0, 0, 200, 100), pFrame))
    return nullptr;
  return pChild;
}

} // namespace

CGalleryTabbedMdiSection::CGalleryTabbedMdiSection() {
  m_pCommandBars = new CXTPCommandBars;
  m_pCommandBars->SetPaintManager(new CXTPDefaultTheme);
}

CGalleryTabbedMdiSection::~CGalleryTabbedMdiSection() {
  // The frame and its documents are windows of the view and go with it;
  // the bars are ours.
  if (m_pToolBar && m_pToolBar->GetSafeHwnd()) m_pToolBar->DestroyWindow();
  m_pCommandBars->InternalRelease();
}

CXTPTabClientWnd *CGalleryTabbedMdiSection::GetTabClient() const {
  return m_pFrame ? &static_cast<CTabbedMdiFrame *>(m_pFrame)->m_tabClient : nullptr;
}

void CGalleryTabbedMdiSection::Create(CWnd *pParent, const CRect &rcBody) {
  auto *pFrame = new CTabbedMdiFrame;
  const CRect rc(CPoint(rcBody.left + kLabelWidth, rcBody.top + 4), CSize(kFrameWidth, kFrameHeight));
  if (!pFrame->CreateEx(WS_EX_CLIENTEDGE, AfxRegisterWndClass(0), L"",
                        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rc.left, rc.top, rc.Width(), rc.Height(),
                        pParent->GetSafeHwnd(), nullptr))
    return;
  m_pFrame = pFrame;
  m_pCommandBars->SetSite(pFrame);

  m_pToolBar = new CXTPToolBar;
  m_pCommandBars->AddBar(m_pToolBar);
  m_pToolBar->InternalRelease(); // the command bars hold it
  m_pToolBar->SetTitle(L"Document");
  m_pToolBar->StorePosition(xtpBarTop);
  m_pToolBar->SetOwnerWindow(pFrame->GetSafeHwnd());
  m_pToolBar->SetFlags(0x40); // stretched over the frame's width
  CXTPControls *pControls = m_pToolBar->GetControls();
  m_pZoom = static_cast<CXTPControlComboBox *>(pControls->Add(new CXTPControlComboBox, kIdZoom));
  m_pZoom->SetCaption(L"Zoom");
  m_pZoom->SetWidth(90);
  m_pZoom->SetDropDown(TRUE);
  for (LPCTSTR lpszText : {L"50%", L"75%", L"100%", L"150%", L"200%"}) m_pZoom->AddString(lpszText);
  m_pZoom->SetCurSel(2);
  auto *pView = static_cast<CXTPControlComboBox *>(pControls->Add(new CXTPControlComboBox, kIdView));
  pView->SetWidth(110);
  for (LPCTSTR lpszText : {L"Details", L"Large icons", L"List"}) pView->AddString(lpszText);
  pView->SetCurSel(0);
  pView->SetBeginGroup(TRUE);
  m_pFind = static_cast<CXTPControlEdit *>(pControls->Add(xtpControlEdit, kIdFind));
  m_pFind->SetCaption(L"Find");
  m_pFind->ShowLabel(TRUE);
  m_pFind->SetWidth(130);
  m_pFind->SetBeginGroup(TRUE);
  // A box without its label: the caption is only its tip.
  m_pSector = static_cast<CXTPControlEdit *>(pControls->Add(xtpControlEdit, kIdSector));
  m_pSector->SetCaption(L"Sector");
  m_pSector->SetTooltip(L"Sector");
  m_pSector->ShowLabel(FALSE);
  m_pSector->SetWidth(60);
  m_pSector->SetEditText(L"63");
  m_pSector->SetBeginGroup(TRUE);
  auto *pWindow = static_cast<CXTPControlPopup *>(pControls->Add(xtpControlPopup, kIdWindow));
  pWindow->SetCaption(L"&Window");
  pWindow->SetBeginGroup(TRUE);
  if (CXTPCommandBar *pMenu = pWindow->GetCommandBar()) {
    pMenu->GetControls()->Add(new CXTPControlWorkspaceActions, 0);
    pMenu->GetControls()->Add(new CXTPControlWindowList, 0)->SetBeginGroup(TRUE);
  }
  for (int i = 0; i < pControls->GetCount(); i++)
    pControls->GetAt(i)->SetFlags(pControls->GetAt(i)->GetFlags() | xtpFlagManualUpdate);
  m_pToolBar->CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW)), L"",
                       WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, kFrameWidth, 26), pFrame,
                       AFX_IDW_CONTROLBAR_FIRST);
  m_pToolBar->SetVisible(TRUE);
  pFrame->RecalcLayout();

  pFrame->m_tabClient.Attach(pFrame);
  AddDocument(pFrame, L"Report.txt", IDI_APPLICATION);
  AddDocument(pFrame, L"Notes.txt", IDI_APPLICATION);
  AddDocument(pFrame, L"Photo.jpg", IDI_INFORMATION);
  // The picture in a group of its own beside the texts, then a log next to it.
  pFrame->m_tabClient.OnGroupCommand(XTP_ID_WORKSPACE_NEWVERTICAL);
  AddDocument(pFrame, L"Recovery.log", IDI_WARNING);
  pFrame->RecalcLayout();
  if (std::getenv("QV_GALLERY_OPEN_ZOOM")) {
    pFrame->m_pDropOnStart = m_pZoom;
    pFrame->SetTimer(CTabbedMdiFrame::kDropTimer, 1500, nullptr);
  }
}

void CGalleryTabbedMdiSection::Draw(CDC *pDC, const CRect &rcBody) {
  pDC->TextOut(rcBody.left + 4, rcBody.top + 8, L"Four documents as tabs,");
  pDC->TextOut(rcBody.left + 4, rcBody.top + 26, L"two groups and a splitter;");
  pDC->TextOut(rcBody.left + 4, rcBody.top + 44, L"Zoom: drop-down combo,");
  pDC->TextOut(rcBody.left + 4, rcBody.top + 62, L"View: list combo, Find: edit");
  pDC->TextOut(rcBody.left + 4, rcBody.top + 80, L"with its label, then an edit");
  pDC->TextOut(rcBody.left + 4, rcBody.top + 98, L"without one (the sector)");
}
