#include "XTPDockingPaneMiniWnd.h"

#include "AfxRes.h"
#include "XTPDockingPane.h"
#include "XTPDockingPaneContext.h"
#include "XTPDockingPaneLayout.h"
#include "XTPDockingPaneManager.h"
#include "XTPDockingPaneSplitterContainer.h"
#include "XTPDockingPaneTabbedContainer.h"
#include "XTPDrawHelpers.h"
#include "XTPPropExchange.h"

namespace {

// The framework's "&Hide" string, for the system menu's Close item.
const UINT kIdsHide = AFX_IDS_HIDE;

// A rectangle wholly off its monitor's work area comes back to its nearest edge.
CRect OntoWorkArea(CRect rc) {
  const CRect rcWork = XTPMultiMonitor::GetWorkArea(rc);
  if (rc.right <= rcWork.left) rc.OffsetRect(rcWork.left - rc.left, 0);
  if (rc.left >= rcWork.right) rc.OffsetRect(rcWork.right - rc.right, 0);
  if (rc.bottom <= rcWork.top) rc.OffsetRect(0, rcWork.top - rc.top);
  if (rc.top >= rcWork.bottom) rc.OffsetRect(0, rcWork.bottom - rc.bottom);
  return rc;
}

void SetSiteOfTree(CXTPDockingPaneBase *pRoot, CWnd *pSite) {
  pRoot->SetDockingSite(pSite);
  CXTPDockingPaneBaseList lst;
  pRoot->FindPane(xtpPaneTypeSplitterContainer, &lst);
  pRoot->FindPane(xtpPaneTypeTabbedContainer, &lst);
  for (CXTPDockingPaneBase *p : lst) p->SetDockingSite(pSite);
}

} // namespace

CXTPDockingPaneMiniWnd::CXTPDockingPaneMiniWnd(CXTPDockingPaneLayout *pLayout)
    : CXTPDockingPaneBase(xtpPaneTypeMiniWnd, pLayout) {
  m_arrCaptionButtons.Add(new CXTPDockingPaneCaptionButton(XTP_IDS_DOCKINGPANE_CLOSE, this));
  m_arrCaptionButtons.Add(new CXTPDockingPaneCaptionButton(XTP_IDS_DOCKINGPANE_AUTOHIDE, this));
  m_arrCaptionButtons.Add(new CXTPDockingPaneCaptionButton(XTP_IDS_DOCKINGPANE_MENU, this));
  m_pDockingSite = this;
}

CXTPDockingPaneMiniWnd::~CXTPDockingPaneMiniWnd() {
  if (m_hWnd != nullptr) DestroyWindow();
}

BOOL CXTPDockingPaneMiniWnd::CreateWindowAt(CRect rc) {
  CXTPDockingPaneManager *pManager = GetDockingPaneManager();
  CWnd *pOwner = pManager != nullptr ? pManager->GetSite() : nullptr;
  rc = OntoWorkArea(rc);
  const DWORD dwExStyle =
      WS_EX_TOOLWINDOW | (pManager != nullptr && pManager->IsLayoutRTL() ? WS_EX_LAYOUTRTL : 0);
  if (!CWnd::CreateEx(dwExStyle, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW), nullptr),
                      L"", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN, rc, pOwner,
                      0))
    return FALSE;
  UpdateSystemMenu();
  return TRUE;
}

BOOL CXTPDockingPaneMiniWnd::Create(CXTPDockingPaneBase *pPane, CRect rc) {
  if (!CreateWindowAt(rc)) return FALSE;
  CXTPDockingPaneManager *pManager = GetDockingPaneManager();
  if (pPane->GetType() == xtpPaneTypeDockingPane) {
    auto *pTabbed = static_cast<CXTPDockingPaneTabbedContainer *>(
        pManager->OnCreatePane(xtpPaneTypeTabbedContainer, m_pLayout));
    pTabbed->Init(static_cast<CXTPDockingPane *>(pPane), this);
    pPane = pTabbed;
  }
  auto *pTop = static_cast<CXTPDockingPaneSplitterContainer *>(
      pManager->OnCreatePane(xtpPaneTypeSplitterContainer, m_pLayout));
  SetSiteOfTree(pPane, this);
  pTop->Init(pPane, TRUE, this);
  SetTopContainer(pTop);
  return TRUE;
}

void CXTPDockingPaneMiniWnd::SetTopContainer(CXTPDockingPaneSplitterContainer *pTop) {
  m_pTopContainer = pTop;
  if (pTop == nullptr) return;
  pTop->SetParentContainer(this);
  SetSiteOfTree(pTop, this);
  OnChildContainerChanged(pTop);
  RecalcLayout();
}

void CXTPDockingPaneMiniWnd::RecalcLayout(BOOL) {
  m_nIdleFlags &= ~idleLayout;
  if (m_hWnd == nullptr || m_pTopContainer == nullptr) return;
  if (!m_pTopContainer->IsEmpty()) {
    CRect rc;
    GetClientRect(&rc);
    m_pTopContainer->OnSizeParent(this, rc, nullptr);
  } else if (IsWindowVisible()) {
    ShowWindow(SW_HIDE);
  }
  if (CXTPDockingPaneManager *pManager = GetDockingPaneManager()) pManager->SyncPanesState();
}

CXTPDockingPane *CXTPDockingPaneMiniWnd::GetSelectedPane() const {
  CXTPDockingPaneBaseList lst;
  FindPane(xtpPaneTypeTabbedContainer, &lst);
  if (lst.size() != 1) return nullptr;
  return static_cast<CXTPDockingPaneTabbedContainer *>(lst.front())->GetSelected();
}

void CXTPDockingPaneMiniWnd::OnChildContainerChanged(CXTPDockingPaneBase *) {
  InvalidatePane(FALSE);
}

void CXTPDockingPaneMiniWnd::InvalidatePane(BOOL) {
  if (m_pTopContainer == nullptr || m_hWnd == nullptr) return;
  CXTPDockingPaneBaseList lst;
  m_pTopContainer->FindPane(xtpPaneTypeTabbedContainer, &lst);
  for (CXTPDockingPaneBase *p : lst)
    static_cast<CXTPDockingPaneTabbedContainer *>(p)->ShowTitle(lst.size() > 1);
  CString strTitle;
  if (lst.size() == 1) static_cast<CXTPDockingPaneTabbedContainer *>(lst.front())->GetTitle(strTitle);
  SetWindowText(strTitle);
  if (lst.empty()) {
    RecalcLayout();
    return;
  }
  if (!IsWindowVisible())
    SetWindowPos(nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  BOOL bClose = FALSE;
  CXTPDockingPaneBaseList lstPanes;
  m_pTopContainer->FindPane(xtpPaneTypeDockingPane, &lstPanes);
  for (CXTPDockingPaneBase *p : lstPanes)
    if ((static_cast<CXTPDockingPane *>(p)->GetOptions() & xtpPaneNoCloseable) == 0) bClose = TRUE;
  m_bCloseEnabled = bClose;
  if (HMENU hMenu = ::GetSystemMenu(m_hWnd, FALSE))
    ::EnableMenuItem(hMenu, SC_CLOSE, MF_BYCOMMAND | (bClose ? MF_ENABLED : MF_GRAYED));
  RecalcLayout();
  SetWindowPos(nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CXTPDockingPaneMiniWnd::RemovePane(CXTPDockingPaneBase *pPane) {
  ASSERT(pPane == m_pTopContainer);
  if (pPane != m_pTopContainer) return;
  pPane->SetParentContainer(nullptr);
  m_pTopContainer = nullptr;
  if (m_hWnd != nullptr) ShowWindow(SW_HIDE);
}

BOOL CXTPDockingPaneMiniWnd::IsEmpty() const {
  return m_pTopContainer == nullptr || m_pTopContainer->IsEmpty();
}

BOOL CXTPDockingPaneMiniWnd::ContainsPane(CXTPDockingPaneBase *pPane) const {
  return pPane == this || (m_pTopContainer != nullptr && m_pTopContainer->ContainsPane(pPane));
}

void CXTPDockingPaneMiniWnd::FindPane(XTPDockingPaneType type, CXTPDockingPaneBaseList *pList) const {
  if (m_pTopContainer == nullptr) return;
  if (type == xtpPaneTypeSplitterContainer) pList->push_back(m_pTopContainer);
  m_pTopContainer->FindPane(type, pList);
}

BOOL CXTPDockingPaneMiniWnd::IsCaptionButtonVisible(CXTPDockingPaneCaptionButton *pButton) {
  switch (pButton->GetID()) {
  case XTP_IDS_DOCKINGPANE_CLOSE:
    return m_bCloseEnabled;
  case XTP_IDS_DOCKINGPANE_MENU: {
    CXTPDockingPane *pPane = GetSelectedPane();
    return pPane != nullptr && (pPane->GetOptions() & xtpPaneHasMenuButton) != 0;
  }
  default:
    return TRUE;
  }
}

BOOL CXTPDockingPaneMiniWnd::DoPropExchange(CXTPPropExchange *pPX) {
  CXTPDockingPaneBase::DoPropExchange(pPX);
  if (pPX->IsStoring() && m_hWnd != nullptr) ::GetWindowRect(m_hWnd, &m_rcWindow);
  PX_Long(pPX, L"WindowRectTopPos", m_rcWindow.top, 0);
  PX_Long(pPX, L"WindowRectBottomPos", m_rcWindow.bottom, 0);
  PX_Long(pPX, L"WindowRectLeftPos", m_rcWindow.left, 0);
  PX_Long(pPX, L"WindowRectRightPos", m_rcWindow.right, 0);
  BOOL bCollapsed = FALSE;
  int nExpandedHeight = 0;
  PX_Bool(pPX, L"Collapsed", bCollapsed, FALSE);
  PX_Int(pPX, L"ExpandedHeight", nExpandedHeight, 0);
  int nIndex = m_pTopContainer != nullptr ? m_pTopContainer->GetIndex() : 0;
  // The key's spelling is the saved form's own.
  if (!PX_Int(pPX, L"TopContaner", nIndex, 0)) return FALSE;
  if (pPX->IsStoring()) return TRUE;
  // The index comes from outside: it must name a splitter without a container.
  auto *pLoader = reinterpret_cast<CXTPDockingPaneLayoutLoader *>(pPX->m_dwData);
  if (pLoader == nullptr) return FALSE;
  CXTPDockingPaneBase *pTop = pLoader->Resolve(nIndex);
  if (!pLoader->CanAdopt(this, pTop) || pTop->GetType() != xtpPaneTypeSplitterContainer) return FALSE;
  m_pTopContainer = static_cast<CXTPDockingPaneSplitterContainer *>(pTop);
  pTop->SetParentContainer(this);
  return TRUE;
}

CXTPDockingPaneBase *CXTPDockingPaneMiniWnd::Clone(CXTPDockingPaneLayout *pLayout, CPaneMap *pMap,
                                                   DWORD dwIgnoredOptions) {
  CXTPDockingPaneManager *pManager = GetDockingPaneManager();
  auto *pClone = static_cast<CXTPDockingPaneMiniWnd *>(pManager->OnCreatePane(xtpPaneTypeMiniWnd, pLayout));
  CRect rc = m_rcWindow;
  if (m_hWnd != nullptr) CWnd::GetWindowRect(&rc);
  pClone->m_rcWindow = rc;
  CXTPDockingPaneBase *pTop =
      m_pTopContainer != nullptr ? m_pTopContainer->Clone(pLayout, pMap, dwIgnoredOptions) : nullptr;
  if (!pLayout->IsUserLayout() && pClone->CreateWindowAt(rc) && pTop != nullptr)
    pClone->SetTopContainer(static_cast<CXTPDockingPaneSplitterContainer *>(pTop));
  else if (pTop != nullptr) {
    pClone->m_pTopContainer = static_cast<CXTPDockingPaneSplitterContainer *>(pTop);
    pTop->SetParentContainer(pClone);
  }
  if (pMap != nullptr) pMap->emplace_back(this, pClone);
  return pClone;
}

void CXTPDockingPaneMiniWnd::UpdateSystemMenu() {
  HMENU hMenu = ::GetSystemMenu(m_hWnd, FALSE);
  if (hMenu == nullptr) return;
  ::DeleteMenu(hMenu, SC_MINIMIZE, MF_BYCOMMAND);
  ::DeleteMenu(hMenu, SC_MAXIMIZE, MF_BYCOMMAND);
  ::DeleteMenu(hMenu, SC_RESTORE, MF_BYCOMMAND);
  CString strHide;
  if (strHide.LoadString(kIdsHide))
    ::ModifyMenu(hMenu, SC_CLOSE, MF_BYCOMMAND | MF_STRING, SC_CLOSE, strHide);
}

void CXTPDockingPaneMiniWnd::OnClose() {
  if (m_pTopContainer == nullptr) return;
  CXTPDockingPaneManager *pManager = GetDockingPaneManager();
  CXTPDockingPaneBaseList lst;
  m_pTopContainer->FindPane(xtpPaneTypeDockingPane, &lst);
  for (CXTPDockingPaneBase *p : lst) {
    auto *pPane = static_cast<CXTPDockingPane *>(p);
    if ((pPane->GetOptions() & xtpPaneNoCloseable) != 0) continue;
    if (pManager->NotifyOwner(xtpPaneActionClosing, pPane) != 0) continue;
    pPane->Close();
    pManager->NotifyOwner(xtpPaneActionClosed, pPane);
  }
}

LRESULT CXTPDockingPaneMiniWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_CLOSE:
    OnClose();
    return 0;
  case WM_NCLBUTTONDOWN:
    if (wParam == HTCAPTION && m_pTopContainer != nullptr) {
      SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      if (CXTPDockingPaneManager *pManager = GetDockingPaneManager())
        pManager->GetDragContext()->Drag(m_pTopContainer, CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
      return 0;
    }
    break;
  case WM_NCLBUTTONDBLCLK:
    if (wParam == HTCAPTION && m_pTopContainer != nullptr) {
      if (CXTPDockingPaneManager *pManager = GetDockingPaneManager())
        pManager->ToggleDocking(m_pTopContainer);
      return 0;
    }
    break;
  case WM_SIZE: {
    const LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
    RecalcLayout();
    return lResult;
  }
  case WM_DESTROY:
    ::GetWindowRect(m_hWnd, &m_rcWindow);
    break;
  case WM_SETFOCUS: {
    const LRESULT lResult = CFrameWnd::WindowProc(message, wParam, lParam);
    if (CXTPDockingPane *pPane = GetSelectedPane()) pPane->SetFocus();
    return lResult;
  }
  default:
    break;
  }
  return CFrameWnd::WindowProc(message, wParam, lParam);
}
