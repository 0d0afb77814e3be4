#include "XTPDockingPaneMiniWnd.h"

#include <algorithm>

#include "AfxRes.h"
#include "WindowDc.h"
#include "XTPDockingPane.h"
#include "XTPDockingPaneContext.h"
#include "XTPDockingPaneLayout.h"
#include "XTPDockingPaneManager.h"
#include "XTPDockingPanePaintManager.h"
#include "XTPDockingPaneSplitterContainer.h"
#include "XTPDockingPaneTabbedContainer.h"
#include "XTPDrawHelpers.h"
#include "XTPPropExchange.h"
#include "XTPResourceManager.h"
#include "XTPToolTipContext.h"

namespace {

// The framework's "&Hide" string, for the system menu's Close item.
const UINT kIdsHide = AFX_IDS_HIDE;

// Timers of a themed frame: the countdown before rolling up, the roll-up
// steps, and the watch for the mouse leaving the caption buttons.
const UINT_PTR kTimerCollapse = 1, kTimerAnimate = 3, kTimerLeave = 2345;
const UINT kCollapseTick = 100, kAnimationStep = 16;

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
  const DWORD dwExStyle = pManager != nullptr && pManager->IsLayoutRTL() ? WS_EX_LAYOUTRTL : 0;
  DWORD dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | MFS_BLOCKSYSMENU | WS_CLIPCHILDREN;
  if (pManager != nullptr && pManager->IsSyncingFloatingFrames()) dwStyle |= MFS_SYNCACTIVE;
  if (!CMiniFrameWnd::CreateEx(dwExStyle,
                               AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW), nullptr),
                               L"", dwStyle, rc, pOwner, 0))
    return FALSE;
  UpdateSystemMenu();
  if (IsThemed()) ModifyStyle(WS_BORDER, 0, SWP_FRAMECHANGED);
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
  // The frame shows its panes at once (the container change lays them out);
  // its own pass waits for the idle time, after the manager has done with it.
  SetTopContainer(pTop, TRUE);
  return TRUE;
}

void CXTPDockingPaneMiniWnd::SetTopContainer(CXTPDockingPaneSplitterContainer *pTop, BOOL bDelayLayout) {
  m_pTopContainer = pTop;
  if (pTop == nullptr) return;
  pTop->SetParentContainer(this);
  SetSiteOfTree(pTop, this);
  OnChildContainerChanged(pTop);
  if (bDelayLayout)
    DelayRecalcLayout();
  else
    RecalcLayout();
}

void CXTPDockingPaneMiniWnd::RecalcLayout(BOOL) {
  m_nIdleFlags &= ~idleLayout;
  if (m_hWnd == nullptr || m_pTopContainer == nullptr) return;
  if (!m_pTopContainer->IsEmpty()) {
    CRect rc;
    GetClientRect(&rc);
    // With a positioning handle, so the splitter bars between the frame's
    // groups are moved too, not only measured.
    AFX_SIZEPARENTPARAMS layout = {};
    layout.hDWP = ::BeginDeferWindowPos(8);
    layout.rect = rc;
    m_pTopContainer->OnSizeParent(this, rc, &layout);
    if (layout.hDWP != nullptr && !::EndDeferWindowPos(layout.hDWP))
      TRACE(L"Warning: DeferWindowPos failed - low system resources.\n");
  } else {
    if (IsWindowVisible()) ShowWindow(SW_HIDE);
    // Reused later for other panes, the frame comes back whole.
    if (m_bCollapsed) SetCollapsed(FALSE);
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
  if (lst.size() == 1)
    static_cast<CXTPDockingPaneTabbedContainer *>(lst.front())->GetTitle(strTitle);
  else if (CXTPDockingPaneManager *pManager = GetDockingPaneManager())
    strTitle = pManager->GetFloatingFrameCaption();
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
  if (m_bCollapsed) SetCollapsed(FALSE);
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
  case XTP_IDS_DOCKINGPANE_AUTOHIDE:
    pButton->SetState(m_bCollapsed ? 3 : 1);
    return TRUE;
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
  if (pPX->IsStoring()) {
    bCollapsed = m_bCollapsed;
    nExpandedHeight = m_nExpandedHeight;
  }
  PX_Bool(pPX, L"Collapsed", bCollapsed, FALSE);
  PX_Int(pPX, L"ExpandedHeight", nExpandedHeight, 0);
  if (!pPX->IsStoring()) {
    m_bCollapsed = bCollapsed;
    m_nExpandedHeight = nExpandedHeight;
  }
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
  if (m_bCollapsed) rc.bottom = rc.top + RolledUpHeight();
  pClone->m_rcWindow = rc;
  pClone->m_bCollapsed = m_bCollapsed;
  pClone->m_nExpandedHeight = m_nExpandedHeight;
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

CRect CXTPDockingPaneMiniWnd::TakeRollUpState(const CXTPDockingPaneMiniWnd *pSource) {
  CRect rc = pSource->m_rcWindow;
  if (pSource->m_hWnd != nullptr) ::GetWindowRect(pSource->m_hWnd, &rc);
  m_bCollapsed = FALSE;
  m_nExpandedHeight = pSource->m_nExpandedHeight;
  // A saved height is outside data: one that could not hold the caption
  // would leave the frame unable to unroll.
  if (m_nExpandedHeight < RolledUpHeight()) m_nExpandedHeight = std::max(rc.Height(), RolledUpHeight());
  if (!pSource->m_bCollapsed) return rc;
  if (!IsThemed()) {
    rc.bottom = rc.top + m_nExpandedHeight;
    return rc;
  }
  m_bCollapsed = TRUE;
  m_nStepsCount = 8;
  m_nStepCurrent = 0;
  rc.bottom = rc.top + RolledUpHeight();
  return rc;
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
  RelayToolTipMessage(message, wParam, lParam);
  LRESULT lThemed = 0;
  if (IsThemed() && OnThemedMessage(message, wParam, lParam, lThemed)) return lThemed;
  switch (message) {
  case WM_CLOSE:
    OnClose();
    return 0;
  case WM_NCLBUTTONDOWN:
    if (wParam == HTCAPTION && m_pTopContainer != nullptr) {
      SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      if (CXTPDockingPaneManager *pManager = GetDockingPaneManager())
        pManager->GetDragContext()->Drag(m_pTopContainer, CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
      return 0;
    }
    break;
  case WM_NCLBUTTONDBLCLK:
    if (wParam == HTCAPTION && m_bCollapsed) {
      SetCollapsed(FALSE);
      return 0;
    }
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
  case WM_NCRBUTTONDOWN:
    if (wParam == HTCAPTION && OnNcRButtonDown(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)))) return 0;
    break;
  case WM_GETMINMAXINFO: {
    const LRESULT lResult = CMiniFrameWnd::WindowProc(message, wParam, lParam);
    OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO *>(lParam));
    return lResult;
  }
  case WM_TIMER:
    OnTimer(wParam);
    return 0;
  case WM_DESTROY:
    KillTimer(kTimerCollapse);
    KillTimer(kTimerAnimate);
    KillTimer(kTimerLeave);
    ::GetWindowRect(m_hWnd, &m_rcWindow);
    break;
  case WM_SETFOCUS: {
    const LRESULT lResult = CMiniFrameWnd::WindowProc(message, wParam, lParam);
    if (CXTPDockingPane *pPane = GetSelectedPane()) pPane->SetFocus();
    return lResult;
  }
  default:
    break;
  }
  return CMiniFrameWnd::WindowProc(message, wParam, lParam);
}

// ---------------------------------------------------------------------------
// The themed caption

BOOL CXTPDockingPaneMiniWnd::IsThemed() const {
  CXTPDockingPaneManager *pManager = GetDockingPaneManager();
  return pManager != nullptr && pManager->m_bThemedFloatingFrames;
}

void CXTPDockingPaneMiniWnd::RedrawPane() {
  if (m_hWnd == nullptr || !IsThemed()) return;
  Invalidate(FALSE);
  SendMessage(WM_NCPAINT, 0, 0);
}

void CXTPDockingPaneMiniWnd::RecalcFrameStyle() {
  if (m_hWnd == nullptr) return;
  const BOOL bThemed = IsThemed();
  if (bThemed)
    ModifyStyle(WS_BORDER, 0);
  else
    ModifyStyle(0, WS_BORDER);
  if (!bThemed) SetCollapsed(FALSE);
  SetWindowPos(nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  if (bThemed && m_bCollapsed && m_nStepsCount > 0) {
    CRect rc;
    CWnd::GetWindowRect(&rc);
    const int nHeight = std::max(m_nStepCurrent * m_nExpandedHeight / m_nStepsCount, RolledUpHeight());
    SetWindowPos(nullptr, 0, 0, rc.Width(), nHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

int CXTPDockingPaneMiniWnd::RolledUpHeight() const {
  CXTPDockingPanePaintManager *pPaint = GetPaintManager();
  return (pPaint != nullptr ? pPaint->GetCaptionHeight() : 0) + 8;
}

CPoint CXTPDockingPaneMiniWnd::ToWindow(CPoint ptScreen) const {
  RECT rc;
  ::GetWindowRect(m_hWnd, &rc);
  return CPoint(ptScreen.x - rc.left, ptScreen.y - rc.top);
}

CXTPDockingPaneCaptionButton *CXTPDockingPaneMiniWnd::HitTestCaptionButton(CPoint ptWindow) const {
  const CXTPDockingPaneCaptionButtons &buttons = m_arrCaptionButtons;
  for (int i = 0; i < buttons.GetSize(); i++) {
    CXTPDockingPaneCaptionButton *pButton = buttons.GetAt(i);
    if (pButton->GetRect().PtInRect(ptWindow) && pButton->IsVisible()) return pButton;
  }
  return nullptr;
}

INT_PTR CXTPDockingPaneMiniWnd::OnToolHitTest(CPoint point, TTTOOLINFOW *pTI) const {
  if (m_hWnd == nullptr || !IsThemed()) return -1;
  // The buttons are placed in window coordinates.
  CPoint ptOrigin(0, 0);
  ::ClientToScreen(m_hWnd, &ptOrigin);
  const CPoint ptWindow = ToWindow(point + ptOrigin);
  CXTPDockingPaneCaptionButton *pButton = HitTestCaptionButton(ptWindow);
  if (pButton == nullptr) return -1;
  if (pTI != nullptr) {
    CString strTip;
    XTPGetResourceManager()->LoadString(&strTip, static_cast<UINT>(pButton->GetID()));
    CRect rcTool = pButton->GetRect();
    rcTool.OffsetRect(point - ptWindow);
    CXTPToolTipContext::FillToolDetails(pTI, m_hWnd, rcTool, static_cast<UINT_PTR>(pButton->GetID()), strTip);
    // A floating frame is seldom the active window: its tips show all the same.
    pTI->uFlags |= TTF_ALWAYSTIP;
  }
  return pButton->GetID();
}

void CXTPDockingPaneMiniWnd::RelayToolTipMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  CXTPDockingPaneManager *pManager = GetDockingPaneManager();
  if (pManager == nullptr || pManager->GetToolTipContext() == nullptr || m_hWnd == nullptr) return;
  const BOOL bClient = (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || message == WM_MOUSELEAVE;
  const BOOL bNonClient = message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK;
  if (bClient) {
    pManager->GetToolTipContext()->FilterToolTipMessage(this, message, wParam, lParam);
    return;
  }
  if (!bNonClient) return;
  // The tooltip control follows client mouse messages only: a caption
  // message goes in as its client twin, at the screen point it carries.
  MSG msg{};
  msg.hwnd = m_hWnd;
  msg.message = message - WM_NCMOUSEMOVE + WM_MOUSEMOVE;
  msg.lParam = lParam;
  msg.time = static_cast<DWORD>(::GetMessageTime());
  msg.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  pManager->GetToolTipContext()->FilterToolTipMessage(this, &msg, TRUE);
}

void CXTPDockingPaneMiniWnd::OnCaptionButtonClick(CXTPDockingPaneCaptionButton *pButton) {
  switch (pButton->GetID()) {
  case XTP_IDS_DOCKINGPANE_CLOSE:
    OnClose();
    break;
  case XTP_IDS_DOCKINGPANE_AUTOHIDE:
    SetCollapsed(!m_bCollapsed);
    break;
  default:
    break;
  }
}

BOOL CXTPDockingPaneMiniWnd::OnCaptionButtonDown(CXTPDockingPaneCaptionButton *pButton) {
  if (pButton->GetID() != XTP_IDS_DOCKINGPANE_MENU) return FALSE;
  CRect rcButton = pButton->GetRect();
  RECT rcWindow;
  ::GetWindowRect(m_hWnd, &rcWindow);
  rcButton.OffsetRect(rcWindow.left, rcWindow.top);
  pButton->PressMenu(GetSelectedPane(), rcButton);
  return TRUE;
}

void CXTPDockingPaneMiniWnd::SetCollapsed(BOOL bCollapsed) {
  if (m_hWnd == nullptr) return;
  if (bCollapsed) {
    if (!IsThemed()) return;
    CRect rc;
    CWnd::GetWindowRect(&rc);
    m_nStepsCount = 8;
    m_nStepCurrent = m_nStepsCount;
    m_nExpandedHeight = rc.Height();
    m_bCollapsed = TRUE;
    m_bAnimating = FALSE;
    m_nCollapseCount = 6;
    SetTimer(kTimerCollapse, kCollapseTick, nullptr);
  } else {
    if (m_bCollapsed && m_nStepCurrent != m_nStepsCount) {
      CRect rc;
      CWnd::GetWindowRect(&rc);
      SetWindowPos(nullptr, 0, 0, rc.Width(), m_nExpandedHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    m_bCollapsed = FALSE;
    m_bAnimating = FALSE;
    m_nStepCurrent = m_nStepsCount;
    KillTimer(kTimerCollapse);
    KillTimer(kTimerAnimate);
  }
  RedrawPane();
}

void CXTPDockingPaneMiniWnd::Expand() {
  if (!m_bCollapsed || m_hWnd == nullptr) return;
  if (m_nStepCurrent < 1) {
    KillTimer(kTimerAnimate);
    m_bAnimating = FALSE;
    m_nStepCurrent = m_nStepsCount;
    CRect rc;
    CWnd::GetWindowRect(&rc);
    SetWindowPos(&CWnd::wndTop, 0, 0, rc.Width(), m_nExpandedHeight, SWP_NOMOVE | SWP_NOACTIVATE);
  }
  m_nCollapseCount = 8;
  SetTimer(kTimerCollapse, kCollapseTick, nullptr);
}

void CXTPDockingPaneMiniWnd::OnTimer(UINT_PTR nID) {
  if (nID == kTimerLeave) {
    POINT pt;
    ::GetCursorPos(&pt);
    if (::WindowFromPoint(pt) != m_hWnd) {
      SendMessage(WM_NCMOUSEMOVE, HTNOWHERE, MAKELPARAM(pt.x, pt.y));
      KillTimer(kTimerLeave);
    }
    return;
  }
  if (nID == kTimerCollapse) {
    POINT pt;
    ::GetCursorPos(&pt);
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    const HWND hFocus = ::GetFocus();
    const BOOL bFocusInside = hFocus != nullptr && (hFocus == m_hWnd || ::IsChild(m_hWnd, hFocus));
    if (bFocusInside || ::PtInRect(&rc, pt) || ::GetCapture() != nullptr || m_bAnimating) return;
    if (--m_nCollapseCount >= 1) return;
    if (m_nStepCurrent == m_nStepsCount) m_nExpandedHeight = rc.bottom - rc.top;
    m_bAnimating = TRUE;
    SetTimer(kTimerAnimate, kAnimationStep, nullptr);
    KillTimer(kTimerCollapse);
    return;
  }
  if (nID == kTimerAnimate) {
    if (--m_nStepCurrent < 0) {
      m_nStepCurrent = 0;
      m_bAnimating = FALSE;
      KillTimer(kTimerAnimate);
      return;
    }
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    const int nHeight = std::max(m_nStepCurrent * m_nExpandedHeight / m_nStepsCount, RolledUpHeight());
    SetWindowPos(nullptr, 0, 0, rc.right - rc.left, nHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
}

void CXTPDockingPaneMiniWnd::OnGetMinMaxInfo(MINMAXINFO *pInfo) {
  // The system's minimum tracking height for a captioned frame can be more
  // than a frame rolled up to its caption.
  if ((m_bCollapsed || m_bAnimating) && IsThemed())
    pInfo->ptMinTrackSize.y = std::min<LONG>(pInfo->ptMinTrackSize.y, RolledUpHeight());
  if (m_pTopContainer == nullptr || m_bCollapsed || m_bAnimating || m_hWnd == nullptr) return;
  MINMAXINFO mmi = {};
  mmi.ptMaxTrackSize = CPoint(32000, 32000);
  m_pTopContainer->GetMinMaxInfo(&mmi);
  CRect rcWindow, rcClient;
  CWnd::GetWindowRect(&rcWindow);
  GetClientRect(&rcClient);
  const CSize szFrame(rcWindow.Width() - rcClient.Width(), rcWindow.Height() - rcClient.Height());
  pInfo->ptMinTrackSize.x = std::max(pInfo->ptMinTrackSize.x, mmi.ptMinTrackSize.x + szFrame.cx);
  pInfo->ptMinTrackSize.y = std::max(pInfo->ptMinTrackSize.y, mmi.ptMinTrackSize.y + szFrame.cy);
  pInfo->ptMaxTrackSize.x = std::min(pInfo->ptMaxTrackSize.x, mmi.ptMaxTrackSize.x + szFrame.cx);
  pInfo->ptMaxTrackSize.y = std::min(pInfo->ptMaxTrackSize.y, mmi.ptMaxTrackSize.y + szFrame.cy);
}

BOOL CXTPDockingPaneMiniWnd::OnNcRButtonDown(CPoint ptScreen) {
  CXTPDockingPaneManager *pManager = GetDockingPaneManager();
  if (m_pTopContainer == nullptr || pManager == nullptr || pManager->GetSite() == nullptr) return FALSE;
  CXTPDockingPaneBaseList lst;
  m_pTopContainer->FindPane(xtpPaneTypeTabbedContainer, &lst);
  CXTPDockingPane *pPane = nullptr;
  if (lst.size() == 1) {
    pPane = static_cast<CXTPDockingPaneTabbedContainer *>(lst.front())->GetSelected();
  } else {
    for (CXTPDockingPaneBase *p : lst) {
      auto *pTabbed = static_cast<CXTPDockingPaneTabbedContainer *>(p);
      if (pTabbed->IsActive()) {
        pPane = pTabbed->GetSelected();
        break;
      }
    }
  }
  if (pPane == nullptr) return FALSE;
  pPane->SetFocus();
  XTP_DOCKINGPANE_CLICK click = {pPane, ptScreen, CRect(0, 0, 0, 0)};
  return pManager->GetSite()->SendMessage(WM_DOCKINGPANE_NOTIFY, XTP_DPN_CONTEXTMENU,
                                          reinterpret_cast<LPARAM>(&click)) != 0;
}

void CXTPDockingPaneMiniWnd::OnNcPaint() {
  CXTPDockingPanePaintManager *pPaint = GetPaintManager();
  if (pPaint == nullptr) return;
  CWindowDC dc(this);
  CRect rcWindow, rcClient;
  CWnd::GetWindowRect(&rcWindow);
  GetClientRect(&rcClient);
  ClientToScreen(&rcClient);
  rcClient.OffsetRect(-rcWindow.left, -rcWindow.top);
  rcWindow.OffsetRect(-rcWindow.left, -rcWindow.top);
  dc.ExcludeClipRect(rcClient);
  // Between the band and the client area, and under a rolled-up frame.
  dc.FillSolidRect(rcWindow, pPaint->GetColor(COLOR_3DFACE));
  pPaint->DrawFloatingFrame(&dc, this, rcWindow);
}

void CXTPDockingPaneMiniWnd::OnNcCalcSize(LPARAM lParam) {
  CXTPDockingPanePaintManager *pPaint = GetPaintManager();
  RECT *pRect = reinterpret_cast<RECT *>(lParam); // the first rectangle of either form
  ::InflateRect(pRect, 1, 1);
  pRect->top += (pPaint != nullptr ? pPaint->GetCaptionHeight() : 0) + 2;
}

void CXTPDockingPaneMiniWnd::OnNcLButtonDown(CPoint ptScreen) {
  const CPoint pt = ToWindow(ptScreen);
  if (CXTPDockingPaneCaptionButton *pButton = HitTestCaptionButton(pt)) {
    if (OnCaptionButtonDown(pButton)) return;
    if (pButton->Click(this, pt, FALSE)) {
      POINT ptCursor;
      ::GetCursorPos(&ptCursor);
      m_arrCaptionButtons.CheckForMouseOver(ToWindow(ptCursor));
      OnCaptionButtonClick(pButton);
    }
    return;
  }
  if (m_pTopContainer == nullptr) return;
  SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  if (CXTPDockingPaneManager *pManager = GetDockingPaneManager())
    pManager->GetDragContext()->Drag(m_pTopContainer, ptScreen);
}

void CXTPDockingPaneMiniWnd::OnNcMouseMove(CPoint ptScreen) {
  if (m_arrCaptionButtons.CheckForMouseOver(ToWindow(ptScreen)))
    SetTimer(kTimerLeave, kCollapseTick, nullptr);
  if (m_bCollapsed) Expand();
}

void CXTPDockingPaneMiniWnd::OnIdleUpdate() {
  const HWND hFocus = ::GetFocus();
  const BOOL bActive = hFocus != nullptr && (hFocus == m_hWnd || ::IsChild(m_hWnd, hFocus));
  if (bActive == m_bActive) return;
  m_bActive = bActive;
  RedrawPane();
}

BOOL CXTPDockingPaneMiniWnd::OnThemedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &lResult) {
  const CPoint ptScreen(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  switch (message) {
  case WM_NCPAINT:
    OnNcPaint();
    lResult = 0;
    return TRUE;
  case WM_NCACTIVATE:
    lResult = CMiniFrameWnd::WindowProc(message, wParam, lParam);
    RedrawPane();
    return TRUE;
  case WM_NCCALCSIZE:
    OnNcCalcSize(lParam);
    lResult = CMiniFrameWnd::WindowProc(message, wParam, lParam);
    return TRUE;
  case WM_NCHITTEST: {
    lResult = CMiniFrameWnd::WindowProc(message, wParam, lParam);
    CXTPDockingPanePaintManager *pPaint = GetPaintManager();
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    if (lResult == HTNOWHERE && pPaint != nullptr && ptScreen.y - rc.top < pPaint->GetCaptionHeight() + 4)
      lResult = HTCAPTION;
    return TRUE;
  }
  case WM_NCLBUTTONDOWN:
    if (wParam != HTCAPTION) return FALSE;
    OnNcLButtonDown(ptScreen);
    lResult = 0;
    return TRUE;
  case WM_NCMOUSEMOVE:
    lResult = CMiniFrameWnd::WindowProc(message, wParam, lParam);
    OnNcMouseMove(ptScreen);
    return TRUE;
  case WM_IDLEUPDATECMDUI:
    OnIdleUpdate();
    return FALSE;
  case WM_SETTEXT:
    lResult = CMiniFrameWnd::WindowProc(message, wParam, lParam);
    RedrawPane();
    return TRUE;
  default:
    return FALSE;
  }
}
