#include "XTPDockingPaneAutoHidePanel.h"

#include <algorithm>
#include <ole2.h>

#include "WindowDc.h"
#include "XTPCaptureLoop.h"
#include "XTPDockingPaneHoverDropTarget.h"
#include "XTPDockingPane.h"
#include "XTPDockingPaneLayout.h"
#include "XTPDockingPaneManager.h"
#include "XTPDockingPanePaintManager.h"
#include "XTPDockingPaneSplitterContainer.h"
#include "XTPDockingPaneTabbedContainer.h"
#include "XTPDrawHelpers.h"
#include "XTPImageManager.h"
#include "XTPPropExchange.h"
#include "XTPTabAppearance.h"
#include "XTPTabColorSets.h"
#include "XTPTabPaintManager.h"

namespace {

// Switches a window's redrawing off for as long as it lives, and back on
// however the scope is left: a window left with redrawing off never paints
// again and, having lost WS_VISIBLE, looks hidden to everything that asks.
class CRedrawOff {
public:
  explicit CRedrawOff(CWnd *pWnd) : m_hWnd(pWnd != nullptr ? pWnd->GetSafeHwnd() : nullptr) {
    if (m_hWnd != nullptr) ::SendMessage(m_hWnd, WM_SETREDRAW, FALSE, 0);
  }
  ~CRedrawOff() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) ::SendMessage(m_hWnd, WM_SETREDRAW, TRUE, 0);
  }
  CRedrawOff(const CRedrawOff &) = delete;
  CRedrawOff &operator=(const CRedrawOff &) = delete;

private:
  HWND m_hWnd;
};

BOOL IsVertical(XTPDockingPaneDirection direction) {
  return direction == xtpPaneDockLeft || direction == xtpPaneDockRight;
}

CFrameWnd *FrameOf(CWnd *pWnd) {
  return pWnd != nullptr && pWnd->GetSafeHwnd() != nullptr && pWnd->IsFrameWnd()
             ? static_cast<CFrameWnd *>(pWnd)
             : nullptr;
}

BOOL HoldsFocus(HWND hWnd) {
  HWND hFocus = ::GetFocus();
  return hWnd != nullptr && hFocus != nullptr && (hFocus == hWnd || ::IsChild(hWnd, hFocus));
}

} // namespace

// While data is dragged over a tab, that tab's pane slides out (without the
// focus).
class CXTPDockingPaneAutoHidePanelDropTarget : public CXTPDockingPaneHoverDropTarget {
public:
  explicit CXTPDockingPaneAutoHidePanelDropTarget(CXTPDockingPaneAutoHidePanel *pPanel) : m_pPanel(pPanel) {}
  void Detach() { m_pPanel = nullptr; }

protected:
  void OnHover(CPoint ptScreen) override {
    if (m_pPanel == nullptr || m_pPanel->GetSafeHwnd() == nullptr) return;
    m_pPanel->ScreenToClient(&ptScreen);
    CXTPDockingPane *pPane = m_pPanel->HitTest(ptScreen);
    CXTPDockingPaneAutoHideWnd *pActive = m_pPanel->GetActiveWnd();
    const BOOL bOut = pActive != nullptr && pActive->GetContainer() != nullptr &&
                      pActive->GetContainer()->GetSelected() == pPane;
    if (pPane != nullptr && !bOut) {
      m_pPanel->CloseActiveWindow(FALSE);
      m_pPanel->ShowPane(pPane, FALSE);
    }
  }

private:
  CXTPDockingPaneAutoHidePanel *m_pPanel;
};

// ---------------------------------------------------------------------------
// A row of tabs

CXTPDockingPaneAutoHideTabs::CXTPDockingPaneAutoHideTabs(CXTPDockingPaneAutoHidePanel *pPanel,
                                                         CXTPDockingPaneTabbedContainer *pContainer)
    : m_pPanel(pPanel), m_pContainer(pContainer) {
  // A row is as long as its tabs: it never scrolls.
  for (XTPTabNavigateButton nKind : {xtpTabNavigateButtonLeft, xtpTabNavigateButtonRight})
    if (CXTPTabManagerNavigateButton *pButton = FindNavigateButton(nKind))
      pButton->SetFlags(xtpTabNavigateButtonNone);
}

void CXTPDockingPaneAutoHideTabs::RedrawControl() {
  if (m_pPanel->GetSafeHwnd() != nullptr) m_pPanel->Invalidate(FALSE);
}

CXTPTabPaintManager *CXTPDockingPaneAutoHideTabs::GetPaintManager() const {
  CXTPDockingPanePaintManager *pPaint = m_pPanel->CXTPDockingPaneBase::GetPaintManager();
  return pPaint != nullptr ? pPaint->GetPanelPaintManager() : nullptr;
}

BOOL CXTPDockingPaneAutoHideTabs::DrawIcon(CDC *pDC, CPoint pt, CXTPTabManagerItem *pItem, BOOL bDraw,
                                           CSize &szIcon) const {
  CXTPTabPaintManager *pPaint = GetPaintManager();
  if (pPaint == nullptr || !pPaint->m_bShowIcons) return FALSE;
  if (pItem == nullptr) return TRUE;
  auto *pPane = reinterpret_cast<CXTPDockingPane *>(pItem->GetData());
  CXTPImageManagerIcon *pIcon = pPane != nullptr ? pPane->GetIcon(szIcon.cx) : nullptr;
  if (pIcon == nullptr) return FALSE;
  if (!bDraw) return TRUE;
  CXTPIconHandle &hIcon = pItem == GetHighlightedItem() ? pIcon->GetHotIcon()
                          : pItem->IsSelected()         ? pIcon->GetCheckedIcon()
                                                        : pIcon->GetIcon();
  pIcon->Draw(pDC, pt, hIcon, szIcon);
  return TRUE;
}

XTPTabPosition CXTPDockingPaneAutoHideTabs::GetPosition() const {
  switch (m_pPanel->GetDirection()) {
  case xtpPaneDockLeft:
    return xtpTabPositionRight;
  case xtpPaneDockRight:
    return xtpTabPositionLeft;
  case xtpPaneDockTop:
    return xtpTabPositionBottom;
  default:
    return xtpTabPositionTop;
  }
}

// ---------------------------------------------------------------------------
// The panel

double CXTPDockingPaneAutoHidePanel::m_dAnimationDelay = -1.0;
int CXTPDockingPaneAutoHidePanel::m_nAnimationInterval = 16;
int CXTPDockingPaneAutoHidePanel::m_nAnimationDuration = 128;
BOOL CXTPDockingPaneAutoHidePanel::m_bCloseActiveWindow = TRUE;
DWORD CXTPDockingPaneAutoHidePanel::m_dwMouseTime = HOVER_DEFAULT;
int CXTPDockingPaneAutoHidePanel::m_nCheckInterval = 100;

CXTPDockingPaneAutoHidePanel::CXTPDockingPaneAutoHidePanel(CXTPDockingPaneLayout *pLayout)
    : CXTPDockingPaneBase(xtpPaneTypeAutoHidePanel, pLayout) {
  if (pLayout != nullptr && pLayout->GetManager() != nullptr)
    m_pDockingSite = pLayout->GetManager()->GetSite();
  m_pDropTarget = new CXTPDockingPaneAutoHidePanelDropTarget(this);
}

CXTPDockingPaneAutoHidePanel::~CXTPDockingPaneAutoHidePanel() {
  DestroyActiveWindow();
  for (CXTPDockingPaneAutoHideWnd *pWnd : m_lstWindows) pWnd->m_pPanel = nullptr;
  m_lstWindows.clear();
  if (HasWindow()) DestroyWindow();
  m_pDropTarget->Detach();
  m_pDropTarget->Release();
}

BOOL CXTPDockingPaneAutoHidePanel::Create(CWnd *pParent) {
  if (pParent == nullptr || pParent->GetSafeHwnd() == nullptr) return FALSE;
  if (!CreateEx(0, AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), nullptr), L"",
                WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), pParent, 0))
    return FALSE;
  m_bDropTargetRegistered = SUCCEEDED(::RegisterDragDrop(m_hWnd, m_pDropTarget));
  return TRUE;
}

void CXTPDockingPaneAutoHidePanel::DestroyActiveWindow() {
  CXTPDockingPaneAutoHideWnd *pWnd = m_pActiveWnd;
  m_pActiveWnd = nullptr;
  if (pWnd != nullptr) pWnd->Close();
}

int CXTPDockingPaneAutoHidePanel::GetPanelSize() const {
  CXTPDockingPanePaintManager *pPaint = CXTPDockingPaneBase::GetPaintManager();
  CXTPTabPaintManager *pTabs = pPaint != nullptr ? pPaint->GetPanelPaintManager() : nullptr;
  if (pTabs == nullptr || pTabs->GetAppearanceSet() == nullptr) return 0;
  CXTPDockingPaneAutoHideTabs row(const_cast<CXTPDockingPaneAutoHidePanel *>(this), nullptr);
  CXTPTabAppearance *pAppearance = pTabs->GetAppearanceSet();
  const CRect rcMargin = pAppearance->GetStripMargin();
  return pAppearance->GetRowHeight(&row) + rcMargin.top + rcMargin.bottom;
}

void CXTPDockingPaneAutoHidePanel::OnLayout(CWnd *pParent, CRect &rect, AFX_SIZEPARENTPARAMS *pLayout) {
  if (IsEmpty()) {
    if (HasWindow()) DestroyWindow();
    m_rcPanel.SetRectEmpty();
    return;
  }
  m_pDockingSite = pParent;
  if (!HasWindow()) Create(pParent);
  // Any layout of the frame sends the slide-out window back at once.
  CloseActiveWindow(FALSE);
  const int nSize = GetPanelSize();
  CRect rcPanel = rect;
  switch (m_direction) {
  case xtpPaneDockLeft:
    rcPanel.right = rect.left = std::min(rect.left + nSize, rect.right);
    break;
  case xtpPaneDockRight:
    rcPanel.left = rect.right = std::max(rect.right - nSize, rect.left);
    break;
  case xtpPaneDockTop:
    rcPanel.bottom = rect.top = std::min(rect.top + nSize, rect.bottom);
    break;
  default:
    rcPanel.top = rect.bottom = std::max(rect.bottom - nSize, rect.top);
    break;
  }
  m_rcPanel = rcPanel;
  m_rcWindow = rcPanel;
  if (pLayout != nullptr && pLayout->hDWP != nullptr && HasWindow()) {
    SetWindowPos(nullptr, rcPanel.left, rcPanel.top, rcPanel.Width(), rcPanel.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate(FALSE);
  }
  RepositionTabs();
}

CRect CXTPDockingPaneAutoHidePanel::GetClientRectSafe() const {
  return CRect(0, 0, m_rcPanel.Width(), m_rcPanel.Height());
}

void CXTPDockingPaneAutoHidePanel::RepositionTabs() {
  m_arrTabs.clear();
  CXTPDockingPanePaintManager *pPaint = CXTPDockingPaneBase::GetPaintManager();
  CXTPTabPaintManager *pTabs = pPaint != nullptr ? pPaint->GetPanelPaintManager() : nullptr;
  if (pTabs == nullptr || !HasWindow()) return;
  CClientDC dc(this);
  CRect rc = GetClientRectSafe();
  if (IsVertical(m_direction)) {
    CXTPDockingPaneAutoHidePanel *pTop =
        m_pLayout != nullptr ? m_pLayout->GetAutoHidePanel(xtpPaneDockTop) : nullptr;
    if (pTop != nullptr && !pTop->IsEmpty()) rc.top += pTop->GetPanelSize();
  }
  const CRect rcMargin = pTabs->GetAppearanceSet()->GetStripMargin();
  for (CXTPDockingPaneTabbedContainer *pContainer : m_lstContainers) {
    if (pContainer->IsEmpty()) continue;
    auto pRow = std::make_unique<CXTPDockingPaneAutoHideTabs>(this, pContainer);
    for (CXTPDockingPane *pPane : pContainer->GetPanes()) {
      CXTPTabManagerItem *pItem = pRow->AddItem(pRow->GetItemCount());
      pItem->SetCaption(pPane->GetShortTitle());
      pItem->SetTooltip(pPane->GetTitle());
      pItem->SetColor(pPane->GetItemColor());
      pItem->SetData(reinterpret_cast<DWORD_PTR>(pPane));
      if (pPane == pContainer->GetSelected()) pRow->SetCurSel(pItem->GetIndex());
    }
    pTabs->RepositionTabControl(pRow.get(), &dc, rc);
    const int nAdvance = 8 + pRow->GetTotalButtonLength() + rcMargin.left + rcMargin.right;
    pRow->m_rcRow = rc;
    if (IsVertical(m_direction)) {
      pRow->m_rcRow.bottom = std::min(rc.bottom, rc.top + nAdvance);
      rc.top += nAdvance;
    } else {
      pRow->m_rcRow.right = std::min(rc.right, rc.left + nAdvance);
      rc.left += nAdvance;
    }
    m_arrTabs.push_back(std::move(pRow));
  }
}

CXTPDockingPane *CXTPDockingPaneAutoHidePanel::HitTest(CPoint pt) const {
  for (const auto &pRow : m_arrTabs)
    if (CXTPTabManagerItem *pItem = pRow->HitTest(pt))
      return reinterpret_cast<CXTPDockingPane *>(pItem->GetData());
  return nullptr;
}

void CXTPDockingPaneAutoHidePanel::_InsertPane(CXTPDockingPaneBase *pPane) {
  ASSERT(pPane != nullptr && pPane->GetType() == xtpPaneTypeTabbedContainer);
  if (pPane == nullptr || pPane->GetType() != xtpPaneTypeTabbedContainer) return;
  auto *pContainer = static_cast<CXTPDockingPaneTabbedContainer *>(pPane);
  const BOOL bFocused = HoldsFocus(pContainer->GetPaneHwnd());
  m_lstContainers.push_back(pContainer);
  pContainer->SetParentContainer(this);
  if (m_pDockingSite != nullptr) pContainer->SetDockingSite(m_pDockingSite);
  DelayRecalcSite();
  pContainer->OnParentContainerChanged(this);
  if (bFocused && m_pDockingSite != nullptr && m_pDockingSite->GetSafeHwnd() != nullptr)
    m_pDockingSite->SetFocus();
  if (HasWindow()) Invalidate(FALSE);
}

void CXTPDockingPaneAutoHidePanel::RemovePane(CXTPDockingPaneBase *pPane) {
  auto it = std::find(m_lstContainers.begin(), m_lstContainers.end(), pPane);
  ASSERT(it != m_lstContainers.end());
  if (it == m_lstContainers.end()) return;
  if (m_pActiveWnd != nullptr && m_pActiveWnd->GetContainer() == pPane) DestroyActiveWindow();
  m_lstContainers.erase(it);
  m_arrTabs.clear();
  if (HasWindow()) Invalidate(FALSE);
  DelayRecalcSite();
  if (IsEmpty() && HasWindow()) DestroyWindow();
  pPane->SetParentContainer(nullptr);
}

BOOL CXTPDockingPaneAutoHidePanel::IsEmpty() const {
  for (CXTPDockingPaneTabbedContainer *pContainer : m_lstContainers)
    if (!pContainer->IsEmpty()) return FALSE;
  return TRUE;
}

BOOL CXTPDockingPaneAutoHidePanel::ContainsPane(CXTPDockingPaneBase *pPane) const {
  if (pPane == this) return TRUE;
  for (CXTPDockingPaneTabbedContainer *pContainer : m_lstContainers)
    if (pContainer->ContainsPane(pPane)) return TRUE;
  return FALSE;
}

void CXTPDockingPaneAutoHidePanel::FindPane(XTPDockingPaneType type, CXTPDockingPaneBaseList *pList) const {
  for (CXTPDockingPaneTabbedContainer *pContainer : m_lstContainers) {
    if (pContainer->GetType() == type) pList->push_back(pContainer);
    pContainer->FindPane(type, pList);
  }
}

void CXTPDockingPaneAutoHidePanel::InvalidatePane(BOOL) {
  if (!HasWindow()) return;
  RepositionTabs();
  Invalidate(FALSE);
}

void CXTPDockingPaneAutoHidePanel::OnChildContainerChanged(CXTPDockingPaneBase *) {
  if (m_pActiveWnd == nullptr) {
    InvalidatePane(FALSE);
    return;
  }
  if (!m_bCloseActiveWindow) {
    if (CFrameWnd *pFrame = FrameOf(m_pDockingSite)) pFrame->RecalcLayout();
    if (m_pActiveWnd != nullptr) m_pActiveWnd->RecalcLayout();
    return;
  }
  CXTPDockingPaneManager *pManager = GetDockingPaneManager();
  CloseActiveWindow(pManager != nullptr && pManager->IsAttaching());
}

CXTPDockingPaneBase *CXTPDockingPaneAutoHidePanel::Clone(CXTPDockingPaneLayout *pLayout, CPaneMap *pMap,
                                                         DWORD dwIgnoredOptions) {
  auto *pClone = static_cast<CXTPDockingPaneAutoHidePanel *>(
      GetDockingPaneManager()->OnCreatePane(xtpPaneTypeAutoHidePanel, pLayout));
  pClone->m_direction = m_direction;
  // A panel from a loaded layout has never been laid out in a frame; a copy
  // for the working layout must still hand its panes the manager's site.
  pClone->m_pDockingSite = m_pDockingSite != nullptr || pLayout->IsUserLayout()
                               ? m_pDockingSite
                               : GetDockingPaneManager()->GetSite();
  const std::vector<CXTPDockingPaneTabbedContainer *> lstContainers = m_lstContainers;
  for (CXTPDockingPaneTabbedContainer *pContainer : lstContainers)
    if (pMap != nullptr || !pContainer->IsEmpty())
      pClone->_InsertPane(pContainer->Clone(pLayout, pMap, dwIgnoredOptions));
  if (pMap != nullptr) pMap->emplace_back(this, pClone);
  return pClone;
}

BOOL CXTPDockingPaneAutoHidePanel::DoPropExchange(CXTPPropExchange *pPX) {
  CXTPDockingPaneBase::DoPropExchange(pPX);
  int nDirection = m_direction;
  int nCount = static_cast<int>(m_lstContainers.size());
  if (pPX->IsStoring()) {
    PX_Int(pPX, L"Direction", nDirection);
    PX_Int(pPX, L"Panes", nCount, 0);
    CXTPDockingPaneLayoutLoader::StoreChildren(pPX, m_lstContainers);
    return TRUE;
  }
  auto *pLoader = reinterpret_cast<CXTPDockingPaneLayoutLoader *>(pPX->m_dwData);
  if (!PX_Int(pPX, L"Direction", nDirection)) return FALSE;
  PX_Int(pPX, L"Panes", nCount, 0);
  if (pLoader == nullptr || nDirection < xtpPaneDockLeft || nDirection > xtpPaneDockBottom || nCount < 0 ||
      nCount > pLoader->GetCount())
    return FALSE;
  m_direction = static_cast<XTPDockingPaneDirection>(nDirection);
  // One panel per side: a second one for a side it already has is not sound.
  if (m_pLayout == nullptr || !m_pLayout->SetAutoHidePanel(this)) return FALSE;
  for (int i = 0; i < nCount; i++) {
    CXTPDockingPaneBase *pChild = pLoader->LoadChild(pPX, i, this);
    if (pChild == nullptr || pChild->GetType() != xtpPaneTypeTabbedContainer) return FALSE;
    _InsertPane(pChild);
  }
  return TRUE;
}

// ---------------------------------------------------------------------------
// Sliding out and back

BOOL CXTPDockingPaneAutoHidePanel::ShowPane(CXTPDockingPane *pPane, BOOL bSetFocus) {
  CXTPDockingPaneManager *pManager = GetDockingPaneManager();
  if (pPane == nullptr || pManager == nullptr) return FALSE;
  CXTPDockingPaneBase *pParent = pPane->GetContainer();
  ASSERT(pParent != nullptr && pParent->GetType() == xtpPaneTypeTabbedContainer);
  if (pParent == nullptr || pParent->GetType() != xtpPaneTypeTabbedContainer) return FALSE;
  auto *pContainer = static_cast<CXTPDockingPaneTabbedContainer *>(pParent);
  // Only the panel's own panes slide out of it.
  if (pContainer->GetContainer() != this) return FALSE;
  if (m_pActiveWnd != nullptr && m_pActiveWnd->GetContainer() == pContainer &&
      pContainer->GetSelected() == pPane) {
    if (bSetFocus) pContainer->SelectPane(pPane, TRUE, FALSE);
    return TRUE;
  }
  // At most one window is out at a time.
  CloseActiveWindow(FALSE);
  if (m_pActiveWnd != nullptr) return FALSE;
  if (pManager->NotifyOwner(xtpPaneActionExpanding, pPane) != 0) return FALSE;
  // The window shows the selected pane, so select first without a repaint.
  CXTPDockingPane *pOldSelected = pContainer->GetSelected();
  if (pOldSelected != pPane) pContainer->SelectPane(pPane, FALSE, FALSE);
  CXTPDockingPaneAutoHideWnd *pWnd = CXTPDockingPaneAutoHideWnd::Create(this, pContainer);
  if (pWnd == nullptr) return FALSE;
  m_lstWindows.push_back(pWnd);
  pContainer->SelectPane(pPane, bSetFocus, FALSE);
  if (HasWindow()) Invalidate(FALSE);
  // A layout left for the idle time would close the window at the next
  // idle (after the next status text, say): it runs now, before the
  // window counts as out.
  if (CFrameWnd *pFrame = FrameOf(m_pDockingSite))
    if (!pFrame->RecalcPendingLayout()) pFrame->RecalcLayout();
  m_pActiveWnd = pWnd;
  return TRUE;
}

void CXTPDockingPaneAutoHidePanel::CloseActiveWindow(BOOL bDelayed) {
  if (!m_bCloseActiveWindow || m_pActiveWnd == nullptr) return;
  CXTPDockingPaneAutoHideWnd *pWnd = m_pActiveWnd;
  CXTPDockingPaneTabbedContainer *pContainer = pWnd->GetContainer();
  CXTPDockingPaneManager *pManager = GetDockingPaneManager();
  if (pContainer != nullptr && pContainer->GetSelected() != nullptr && pManager != nullptr) {
    CXTPDockingPane *pSelected = pContainer->GetSelected();
    if (pManager->NotifyOwner(xtpPaneActionCollapsing, pSelected) != 0) return;
    pManager->NotifyOwner(xtpPaneActionCollapsed, pSelected);
  }
  if (m_pActiveWnd != pWnd) return; // the site closed it meanwhile
  m_pActiveWnd = nullptr;
  if (bDelayed) {
    // The call comes from inside the window's own container: the window
    // goes once that call has returned.
    if (pContainer != nullptr && pContainer->GetPaneHwnd() != nullptr) {
      ::ShowWindow(pContainer->GetPaneHwnd(), SW_HIDE);
      pContainer->SetDockingSite(m_pDockingSite);
    }
    pWnd->m_pContainer = nullptr;
    pWnd->SetTimer(CXTPDockingPaneAutoHideWnd::kTimerClose, 50, nullptr);
  } else {
    pWnd->Close();
  }
}

BOOL CXTPDockingPaneAutoHidePanel::IsSiteActive() const {
  if (!HasWindow()) return FALSE;
  CWnd *pTop = GetTopLevelParent();
  return pTop != nullptr && ::GetActiveWindow() == pTop->GetSafeHwnd();
}

// ---------------------------------------------------------------------------
// The panel's window

LRESULT CXTPDockingPaneAutoHidePanel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  switch (message) {
  case WM_PAINT:
    OnPaint();
    return 0;
  case WM_ERASEBKGND:
    return TRUE;
  case WM_MOUSEMOVE:
    OnMouseMove(pt);
    return 0;
  case WM_MOUSELEAVE:
    OnMouseMove(CPoint(-1, -1));
    return 0;
  case WM_MOUSEHOVER:
    OnMouseHover(pt);
    return 0;
  case WM_LBUTTONDOWN:
    OnLButtonDown(pt);
    return 0;
  case WM_RBUTTONDOWN:
    OnRButtonDown(pt);
    return 0;
  case WM_DESTROY:
    if (m_bDropTargetRegistered) ::RevokeDragDrop(m_hWnd);
    m_bDropTargetRegistered = FALSE;
    break;
  default:
    break;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

void CXTPDockingPaneAutoHidePanel::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  CXTPDockingPanePaintManager *pPaint = CXTPDockingPaneBase::GetPaintManager();
  CXTPTabPaintManager *pTabs = pPaint != nullptr ? pPaint->GetPanelPaintManager() : nullptr;
  if (pTabs == nullptr || rc.IsRectEmpty()) return;
  CXTPBufferDC buffer(dc.GetSafeHdc(), rc);
  const CXTPPaintManagerColorGradient &grc = pTabs->GetColorSet()->stripFaceAlternate;
  const COLORREF clrFirst = grc.clrLight_, clrSecond = grc.clrDark_;
  if (m_direction != xtpPaneDockRight && clrFirst != clrSecond) {
    CRect rcGradient = rc;
    rcGradient.right = rc.left + std::max(rc.Width(), ::GetSystemMetrics(SM_CXFULLSCREEN) / 2);
    XTPDrawHelpers()->GradientFill(&buffer, rcGradient, clrFirst, clrSecond, TRUE);
  } else {
    buffer.FillSolidRect(rc, clrFirst);
  }
  for (const auto &pRow : m_arrTabs) pTabs->DrawTabControl(pRow.get(), &buffer, pRow->m_rcRow);
}

void CXTPDockingPaneAutoHidePanel::OnMouseMove(CPoint pt) {
  for (const auto &pRow : m_arrTabs) pRow->PerformMouseMove(m_hWnd, pt);
  if (pt.x < 0 && pt.y < 0) return;
  if (HitTest(pt) == nullptr) return;
  TRACKMOUSEEVENT tme = {sizeof(TRACKMOUSEEVENT), TME_HOVER | TME_LEAVE, m_hWnd, m_dwMouseTime};
  ::TrackMouseEvent(&tme);
}

void CXTPDockingPaneAutoHidePanel::OnMouseHover(CPoint pt) {
  CXTPDockingPane *pPane = HitTest(pt);
  if (pPane == nullptr || !IsSiteActive()) return;
  if (m_pActiveWnd != nullptr && m_pActiveWnd->GetContainer() != nullptr &&
      m_pActiveWnd->GetContainer()->GetSelected() == pPane)
    return;
  CloseActiveWindow(FALSE);
  ShowPane(pPane, FALSE);
}

void CXTPDockingPaneAutoHidePanel::OnLButtonDown(CPoint pt) {
  CXTPDockingPane *pPane = HitTest(pt);
  if (pPane == nullptr) return;
  if (m_pActiveWnd != nullptr && m_pActiveWnd->GetContainer() != nullptr &&
      m_pActiveWnd->GetContainer()->GetSelected() == pPane) {
    pPane->SetFocus();
    return;
  }
  CloseActiveWindow(FALSE);
  ShowPane(pPane, TRUE);
}

void CXTPDockingPaneAutoHidePanel::OnRButtonDown(CPoint pt) {
  CXTPDockingPane *pPane = HitTest(pt);
  if (pPane == nullptr || m_pDockingSite == nullptr || m_pDockingSite->GetSafeHwnd() == nullptr) return;
  m_pDockingSite->SendMessage(WM_DOCKINGPANE_NOTIFY, XTP_DPN_RCLICK,
                              reinterpret_cast<LPARAM>(static_cast<CXTPDockingPaneBase *>(pPane)));
}

// ---------------------------------------------------------------------------
// The slide-out window

CXTPDockingPaneAutoHideWnd::CXTPDockingPaneAutoHideWnd(CXTPDockingPaneAutoHidePanel *pPanel,
                                                       CXTPDockingPaneTabbedContainer *pContainer)
    : m_pContainer(pContainer), m_pPanel(pPanel), m_direction(pPanel->GetDirection()),
      m_bHoriz(m_direction == xtpPaneDockTop || m_direction == xtpPaneDockBottom) {
  CXTPDockingPaneManager *pManager = GetManager();
  CRect rc;
  if (CXTPDockingPaneSplitterContainer *pTop = pManager->GetTopPane()) pTop->GetWindowRect(&rc);
  CSize sz = pContainer->GetSelected()->GetDockingSize();
  MINMAXINFO mmi;
  GetMinMaxInfo(&mmi, TRUE);
  sz.cx = std::max<LONG>(mmi.ptMinTrackSize.x, std::min<LONG>(sz.cx, mmi.ptMaxTrackSize.x));
  sz.cy = std::max<LONG>(mmi.ptMinTrackSize.y, std::min<LONG>(sz.cy, mmi.ptMaxTrackSize.y));
  switch (pManager->MirrorDirection(m_direction)) {
  case xtpPaneDockLeft:
    rc.right = rc.left + sz.cx;
    break;
  case xtpPaneDockRight:
    rc.left = rc.right - sz.cx;
    break;
  case xtpPaneDockTop:
    rc.bottom = rc.top + sz.cy;
    break;
  default:
    rc.top = rc.bottom - sz.cy;
    break;
  }
  if (CWnd *pSite = pPanel->GetDockingSite()) pSite->ScreenToClient(&rc);
  m_rcFinal = rc;
}

CXTPDockingPaneAutoHideWnd::~CXTPDockingPaneAutoHideWnd() {
  DetachFromPanel();
}

void CXTPDockingPaneAutoHideWnd::DetachFromPanel() {
  if (m_pPanel == nullptr) return;
  auto &lst = m_pPanel->m_lstWindows;
  lst.erase(std::remove(lst.begin(), lst.end(), this), lst.end());
  if (m_pPanel->m_pActiveWnd == this) m_pPanel->m_pActiveWnd = nullptr;
  m_pPanel = nullptr;
}

CXTPDockingPaneManager *CXTPDockingPaneAutoHideWnd::GetManager() const {
  return m_pPanel != nullptr ? m_pPanel->GetDockingPaneManager() : nullptr;
}

CXTPDockingPaneAutoHideWnd *CXTPDockingPaneAutoHideWnd::Create(CXTPDockingPaneAutoHidePanel *pPanel,
                                                               CXTPDockingPaneTabbedContainer *pContainer) {
  ASSERT(pContainer != nullptr && pContainer->GetSelected() != nullptr);
  CWnd *pSite = pPanel->GetDockingSite();
  if (pContainer == nullptr || pContainer->GetSelected() == nullptr || pSite == nullptr ||
      pSite->GetSafeHwnd() == nullptr || pPanel->GetDockingPaneManager() == nullptr)
    return nullptr;
  auto *pWnd = new CXTPDockingPaneAutoHideWnd(pPanel, pContainer); // deletes itself with its window
  return pWnd->CreateSlideWindow() ? pWnd : nullptr;
}

BOOL CXTPDockingPaneAutoHideWnd::CreateSlideWindow() {
  CXTPDockingPaneManager *pManager = GetManager();
  CWnd *pSite = m_pPanel->GetDockingSite();
  CRect rcAvail;
  HCURSOR hCursor = nullptr;
  if (GetAvailableRect(rcAvail) && !pManager->m_bLockSplitters) {
    const UINT nCursor = m_bHoriz ? XTP_IDC_VSPLITBAR : XTP_IDC_HSPLITBAR;
    hCursor = ::LoadCursor(AfxFindResourceHandle(MAKEINTRESOURCE(nCursor), RT_GROUP_CURSOR),
                           MAKEINTRESOURCE(nCursor));
    if (hCursor == nullptr) hCursor = ::LoadCursor(nullptr, m_bHoriz ? IDC_SIZENS : IDC_SIZEWE);
  }
  if (hCursor == nullptr) hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  const DWORD dwExStyle = (pSite->GetExStyle() & WS_EX_LAYOUTRTL) != 0 ? WS_EX_LAYOUTRTL : 0;
  const CRect rc = m_rcFinal;
  pSite->UpdateWindow();
  {
    CRedrawOff redrawOff(pSite);
    // A window that cannot be made has deleted itself by now: only locals
    // may be touched on that path.
    if (!CWnd::CreateEx(dwExStyle, AfxRegisterWndClass(0, hCursor, nullptr), L"",
                        WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rc, pSite, 0))
      return FALSE;
  }
  m_nStep = 0;
  m_nStepsCount = 1;
  const double dDelay = CXTPDockingPaneAutoHidePanel::m_dAnimationDelay;
  const int nInterval = CXTPDockingPaneAutoHidePanel::m_nAnimationInterval;
  if (dDelay != 0 && nInterval != 0) {
    if (dDelay < 0) {
      m_nStepsCount = CXTPDockingPaneAutoHidePanel::m_nAnimationDuration / nInterval;
    } else {
      const int nExtent = m_bHoriz ? m_rcFinal.Width() : m_rcFinal.Height();
      m_nStepsCount = static_cast<int>(nExtent * dDelay * 50.0 / nInterval);
    }
  }
  m_nStepsCount = std::max(1, m_nStepsCount);
  m_bCollapsing = FALSE;
  if (m_nStepsCount > 1) SetTimer(kTimerSlideOut, static_cast<UINT>(nInterval), nullptr);
  m_pContainer->SetDockingSite(this);
  SetPosition();
  if (m_pContainer->GetPaneHwnd() != nullptr) ::ShowWindow(m_pContainer->GetPaneHwnd(), SW_SHOWNA);
  SetTimer(kTimerCheck, static_cast<UINT>(CXTPDockingPaneAutoHidePanel::m_nCheckInterval), nullptr);
  m_nIdleCounter = 0;
  return TRUE;
}

void CXTPDockingPaneAutoHideWnd::PostNcDestroy() {
  DetachFromPanel();
  CFrameWnd::PostNcDestroy();
}

void CXTPDockingPaneAutoHideWnd::GetMinMaxInfo(LPMINMAXINFO pMinMaxInfo, BOOL bIncludeSplitter) const {
  ZeroMemory(pMinMaxInfo, sizeof(MINMAXINFO));
  pMinMaxInfo->ptMaxTrackSize = CPoint(32000, 32000);
  CXTPDockingPane *pSelected = m_pContainer != nullptr ? m_pContainer->GetSelected() : nullptr;
  if (pSelected != nullptr) {
    pSelected->GetMinMaxInfo(pMinMaxInfo);
    if (CXTPDockingPanePaintManager *pPaint = m_pContainer->GetDockingPaintManager()) {
      CRect rc(0, 0, 1000, 1000);
      pPaint->AdjustCaptionRect(m_pContainer, rc);
      const int cx = 1000 - rc.Width(), cy = 1000 - rc.Height();
      pMinMaxInfo->ptMinTrackSize.x += cx;
      pMinMaxInfo->ptMinTrackSize.y += cy;
      pMinMaxInfo->ptMaxTrackSize.x += cx;
      pMinMaxInfo->ptMaxTrackSize.y += cy;
    }
  }
  if (bIncludeSplitter) {
    LONG &nMin = m_bHoriz ? pMinMaxInfo->ptMinTrackSize.y : pMinMaxInfo->ptMinTrackSize.x;
    LONG &nMax = m_bHoriz ? pMinMaxInfo->ptMaxTrackSize.y : pMinMaxInfo->ptMaxTrackSize.x;
    nMin += kSplitterSize;
    nMax += kSplitterSize;
  }
}

BOOL CXTPDockingPaneAutoHideWnd::GetAvailableRect(CRect &rcAvail) const {
  CXTPDockingPaneManager *pManager = GetManager();
  CXTPDockingPaneSplitterContainer *pTop = pManager != nullptr ? pManager->GetTopPane() : nullptr;
  if (pTop == nullptr) return FALSE;
  pTop->GetWindowRect(&rcAvail);
  const int nGap = pManager->m_nSplitterGap + kSplitterSize;
  MINMAXINFO mmi;
  GetMinMaxInfo(&mmi, m_direction == xtpPaneDockRight || m_direction == xtpPaneDockBottom);
  CRect rcWindow = m_rcFinal;
  if (CWnd *pSite = m_pPanel->GetDockingSite()) pSite->ClientToScreen(&rcWindow);
  switch (m_direction) {
  case xtpPaneDockLeft:
    rcAvail.left += std::max<int>(mmi.ptMinTrackSize.x, nGap);
    rcAvail.right = std::min<int>(rcAvail.right - nGap, rcWindow.left + mmi.ptMaxTrackSize.x);
    return rcAvail.left < rcAvail.right;
  case xtpPaneDockRight:
    rcAvail.right -= std::max<int>(mmi.ptMinTrackSize.x, nGap);
    rcAvail.left = std::max<int>(rcAvail.left + nGap, rcWindow.right - mmi.ptMaxTrackSize.x);
    return rcAvail.left < rcAvail.right;
  case xtpPaneDockTop:
    rcAvail.top += std::max<int>(mmi.ptMinTrackSize.y, nGap);
    rcAvail.bottom = std::min<int>(rcAvail.bottom - nGap, rcWindow.top + mmi.ptMaxTrackSize.y);
    return rcAvail.top < rcAvail.bottom;
  default:
    rcAvail.bottom -= std::max<int>(mmi.ptMinTrackSize.y, nGap);
    rcAvail.top = std::max<int>(rcAvail.top + nGap, rcWindow.bottom - mmi.ptMaxTrackSize.y);
    return rcAvail.top < rcAvail.bottom;
  }
}

void CXTPDockingPaneAutoHideWnd::SetPosition() {
  if (m_hWnd == nullptr) return;
  CRect rc = m_rcFinal;
  const int n = std::max(1, m_nStepsCount), s = m_nStep + 1;
  switch (m_direction) {
  case xtpPaneDockLeft:
    rc.right = m_rcFinal.left + s * m_rcFinal.Width() / n;
    break;
  case xtpPaneDockRight:
    rc.left = m_rcFinal.right - s * m_rcFinal.Width() / n;
    break;
  case xtpPaneDockTop:
    rc.bottom = m_rcFinal.top + s * m_rcFinal.Height() / n;
    break;
  default:
    rc.top = m_rcFinal.bottom - s * m_rcFinal.Height() / n;
    break;
  }
  SetWindowPos(&CWnd::wndTop, rc.left, rc.top, rc.Width(), rc.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
  RecalcLayout();
  Invalidate(FALSE);
}

void CXTPDockingPaneAutoHideWnd::RecalcLayout(BOOL) {
  m_nIdleFlags &= ~idleLayout;
  if (m_hWnd == nullptr || m_pContainer == nullptr || m_pContainer->GetPaneHwnd() == nullptr ||
      m_pContainer->IsEmpty())
    return;
  CRect rcClient;
  GetClientRect(&rcClient);
  // The content keeps its final size and rides on the moving inner edge.
  CRect rc(0, 0, m_rcFinal.Width(), m_rcFinal.Height());
  switch (m_direction) {
  case xtpPaneDockLeft:
    rc.OffsetRect(rcClient.right - rc.right, 0);
    rc.right -= kSplitterSize;
    break;
  case xtpPaneDockRight:
    rc.left += kSplitterSize;
    break;
  case xtpPaneDockTop:
    rc.OffsetRect(0, rcClient.bottom - rc.bottom);
    rc.bottom -= kSplitterSize;
    break;
  default:
    rc.top += kSplitterSize;
    break;
  }
  AFX_SIZEPARENTPARAMS layout = {};
  layout.hDWP = ::BeginDeferWindowPos(8);
  layout.rect = rc;
  m_pContainer->OnSizeParent(this, rc, &layout);
  if (layout.hDWP != nullptr && !::EndDeferWindowPos(layout.hDWP))
    TRACE(L"Warning: DeferWindowPos failed - low system resources.\n");
}

void CXTPDockingPaneAutoHideWnd::Close() {
  if (m_hWnd == nullptr) return;
  ShowWindow(SW_HIDE);
  if (m_pContainer != nullptr) {
    HWND hContainer = m_pContainer->GetPaneHwnd();
    if (hContainer != nullptr && ::GetParent(hContainer) == m_hWnd) {
      // The keyboard focus must not stay behind in a hidden window.
      const BOOL bFocused = HoldsFocus(hContainer);
      ::ShowWindow(hContainer, SW_HIDE);
      if (bFocused && m_pPanel != nullptr && m_pPanel->GetDockingSite() != nullptr)
        m_pPanel->GetDockingSite()->SetFocus();
      if (m_pPanel != nullptr) m_pContainer->SetDockingSite(m_pPanel->GetDockingSite());
    }
  }
  m_pContainer = nullptr;
  if (m_pPanel != nullptr && m_pPanel->m_pActiveWnd == this) m_pPanel->m_pActiveWnd = nullptr;
  SendMessage(WM_CLOSE); // the window and this object go
}

BOOL CXTPDockingPaneAutoHideWnd::CursorInWindowOrPanel() const {
  CPoint pt;
  ::GetCursorPos(&pt);
  CRect rc;
  GetWindowRect(&rc);
  if (rc.PtInRect(pt)) return TRUE;
  if (m_pPanel == nullptr || m_pPanel->GetSafeHwnd() == nullptr) return FALSE;
  m_pPanel->CWnd::GetWindowRect(&rc);
  return rc.PtInRect(pt);
}

void CXTPDockingPaneAutoHideWnd::OnIdleCheck() {
  if (m_bResizing) return;
  const BOOL bActive =
      m_pContainer != nullptr && (m_pContainer->IsActive() || HoldsFocus(m_pContainer->GetPaneHwnd()));
  if (!bActive && !CursorInWindowOrPanel()) {
    if (m_bCollapsing) return;
    if (--m_nIdleCounter > 0) return;
    m_nIdleCounter = 0;
    CXTPDockingPaneManager *pManager = GetManager();
    CXTPDockingPane *pSelected = m_pContainer != nullptr ? m_pContainer->GetSelected() : nullptr;
    if (CXTPDockingPaneAutoHidePanel::m_bCloseActiveWindow &&
        (pManager == nullptr || pManager->NotifyOwner(xtpPaneActionCollapsing, pSelected) == 0)) {
      m_bCollapsing = TRUE;
      SetTimer(kTimerSlideIn,
               static_cast<UINT>(std::max(1, CXTPDockingPaneAutoHidePanel::m_nAnimationInterval)), nullptr);
    } else {
      m_nIdleCounter = 6;
    }
    return;
  }
  m_nIdleCounter = 6;
  if (m_bCollapsing) {
    m_bCollapsing = FALSE;
    KillTimer(kTimerSlideIn);
    SetTimer(kTimerSlideOut,
             static_cast<UINT>(std::max(1, CXTPDockingPaneAutoHidePanel::m_nAnimationInterval)), nullptr);
  }
}

void CXTPDockingPaneAutoHideWnd::OnTimer(UINT_PTR nIDEvent) {
  CXTPDockingPaneManager *pManager = GetManager();
  CXTPDockingPane *pSelected = m_pContainer != nullptr ? m_pContainer->GetSelected() : nullptr;
  switch (nIDEvent) {
  case kTimerClose:
    KillTimer(kTimerClose);
    Close();
    break;
  case kTimerCheck:
    OnIdleCheck();
    break;
  case kTimerSlideIn:
    if (--m_nStep < 0) {
      KillTimer(kTimerSlideIn);
      if (pManager != nullptr) pManager->NotifyOwner(xtpPaneActionCollapsed, pSelected);
      Close();
    } else {
      SetPosition();
    }
    break;
  case kTimerSlideOut:
    if (m_bCollapsing) break;
    if (++m_nStep > m_nStepsCount - 1) {
      m_nStep = m_nStepsCount - 1;
      KillTimer(kTimerSlideOut);
      if (pManager != nullptr) pManager->NotifyOwner(xtpPaneActionExpanded, pSelected);
    } else {
      SetPosition();
    }
    break;
  default:
    break;
  }
}

LRESULT CXTPDockingPaneAutoHideWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_TIMER:
    OnTimer(wParam);
    return 0;
  case WM_PAINT:
    OnPaint();
    return 0;
  case WM_ERASEBKGND:
    return TRUE;
  case WM_MOUSEMOVE:
    if (m_bCollapsing) OnIdleCheck();
    return 0;
  case WM_LBUTTONDOWN:
    OnLButtonDown(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
    return 0;
  case WM_CLOSE:
    // Only this window goes, never the program.
    DestroyWindow();
    return 0;
  default:
    break;
  }
  return CFrameWnd::WindowProc(message, wParam, lParam);
}

void CXTPDockingPaneAutoHideWnd::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  CXTPDockingPanePaintManager *pPaint =
      m_pPanel != nullptr ? m_pPanel->CXTPDockingPaneBase::GetPaintManager() : nullptr;
  if (pPaint == nullptr) return;
  dc.FillSolidRect(rc, pPaint->GetColor(51));
  switch (m_direction) {
  case xtpPaneDockLeft:
    dc.FillSolidRect(rc.right - 1, rc.top, 1, rc.Height(), pPaint->GetColor(18));
    dc.FillSolidRect(rc.right - 2, rc.top, 1, rc.Height(), pPaint->GetColor(16));
    break;
  case xtpPaneDockRight:
    dc.FillSolidRect(rc.left + 1, rc.top, 1, rc.Height(), pPaint->GetColor(20));
    break;
  case xtpPaneDockTop:
    dc.FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, pPaint->GetColor(18));
    dc.FillSolidRect(rc.left, rc.bottom - 2, rc.Width(), 1, pPaint->GetColor(16));
    break;
  default:
    dc.FillSolidRect(rc.left, rc.top + 1, rc.Width(), 1, pPaint->GetColor(20));
    break;
  }
}

void CXTPDockingPaneAutoHideWnd::OnLButtonDown(CPoint pt) {
  CXTPDockingPaneManager *pManager = GetManager();
  if (pManager == nullptr || pManager->m_bLockSplitters || m_pContainer == nullptr) return;
  CRect rcAvail;
  if (!GetAvailableRect(rcAvail)) return;
  CRect rcWindow;
  GetWindowRect(&rcWindow);
  CRect rcBand = rcWindow;
  switch (m_direction) {
  case xtpPaneDockLeft:
    rcBand.left = rcBand.right - kSplitterSize;
    break;
  case xtpPaneDockRight:
    rcBand.right = rcBand.left + kSplitterSize;
    break;
  case xtpPaneDockTop:
    rcBand.top = rcBand.bottom - kSplitterSize;
    break;
  default:
    rcBand.bottom = rcBand.top + kSplitterSize;
    break;
  }
  m_bResizing = TRUE;
  CPoint ptScreen = pt;
  ClientToScreen(&ptScreen);
  if (pManager->m_bSplitterTracker) {
    if ((GetExStyle() & WS_EX_LAYOUTRTL) != 0) ptScreen = rcWindow.TopLeft();
    CXTPSplitterTracker tracker;
    CRect rcTrack = rcBand;
    if (tracker.Track(this, rcAvail, rcTrack, ptScreen, !m_bHoriz)) ApplySize(rcTrack);
  } else {
    ResizeLive(ptScreen, rcAvail);
  }
  m_bResizing = FALSE;
}

void CXTPDockingPaneAutoHideWnd::ResizeLive(CPoint pt, const CRect &rcAvail) {
  CRect rcWindow;
  GetWindowRect(&rcWindow);
  const int nOffset = m_bHoriz ? (m_direction == xtpPaneDockTop ? rcWindow.bottom : rcWindow.top) - pt.y
                               : (m_direction == xtpPaneDockLeft ? rcWindow.right : rcWindow.left) - pt.x;
  CXTPCaptureLoop loop(m_hWnd, CXTPCaptureLoop::kEscapeCancels | CXTPCaptureLoop::kDispatchPaints);
  loop.Run([&](const MSG &msg) {
    if (msg.message == WM_LBUTTONUP) return CXTPCaptureLoop::kEnd;
    if (msg.message != WM_MOUSEMOVE) return CXTPCaptureLoop::kDispatch;
    POINT ptMove = {GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
    ::ClientToScreen(msg.hwnd, &ptMove);
    CRect rcBand;
    GetWindowRect(&rcBand);
    if (m_bHoriz) {
      const int y = std::clamp<int>(ptMove.y + nOffset, rcAvail.top, std::max(rcAvail.top, rcAvail.bottom));
      rcBand.top = y - (m_direction == xtpPaneDockTop ? kSplitterSize : 0);
      rcBand.bottom = rcBand.top + kSplitterSize;
    } else {
      const int x = std::clamp<int>(ptMove.x + nOffset, rcAvail.left, std::max(rcAvail.left, rcAvail.right));
      rcBand.left = x - (m_direction == xtpPaneDockLeft ? kSplitterSize : 0);
      rcBand.right = rcBand.left + kSplitterSize;
    }
    ApplySize(rcBand);
    return CXTPCaptureLoop::kHandled;
  });
}

void CXTPDockingPaneAutoHideWnd::ApplySize(CRect rcBand) {
  CRect rc;
  GetWindowRect(&rc);
  switch (m_direction) {
  case xtpPaneDockLeft:
    rc.right = rcBand.right;
    break;
  case xtpPaneDockRight:
    rc.left = rcBand.left;
    break;
  case xtpPaneDockTop:
    rc.bottom = rcBand.bottom;
    break;
  default:
    rc.top = rcBand.top;
    break;
  }
  if (CXTPDockingPane *pSelected = m_pContainer != nullptr ? m_pContainer->GetSelected() : nullptr) {
    CSize sz = pSelected->GetDockingSize();
    (m_bHoriz ? sz.cy : sz.cx) = m_bHoriz ? rc.Height() : rc.Width();
    pSelected->SetDockingSize(sz);
  }
  if (m_pPanel != nullptr && m_pPanel->GetDockingSite() != nullptr)
    m_pPanel->GetDockingSite()->ScreenToClient(&rc);
  m_rcFinal = rc;
  MoveWindow(rc);
  RecalcLayout();
  Invalidate(FALSE);
}
