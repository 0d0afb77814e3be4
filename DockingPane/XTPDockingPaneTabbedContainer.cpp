#include "XTPDockingPaneTabbedContainer.h"

#include <algorithm>
#include <ole2.h>

#include "FrameWnd.h"
#include "WindowDc.h"
#include "XTPDockingPane.h"
#include "XTPDockingPaneAutoHidePanel.h"
#include "XTPDockingPaneLayout.h"
#include "XTPDockingPaneContext.h"
#include "XTPDockingPaneHoverDropTarget.h"
#include "XTPDockingPaneManager.h"
#include "XTPDockingPaneMiniWnd.h"
#include "XTPDockingPanePaintManager.h"
#include "XTPDockingPaneSplitterContainer.h"
#include "XTPDrawHelpers.h"
#include "XTPImageManager.h"
#include "XTPPropExchange.h"
#include "XTPResourceManager.h"
#include "XTPToolTipContext.h"
#include "XTPTabPaintManager.h"

// While data is dragged over a tab, that tab's pane comes forward.
class CXTPDockingPaneTabbedContainerDropTarget : public CXTPDockingPaneHoverDropTarget {
public:
  explicit CXTPDockingPaneTabbedContainerDropTarget(CXTPDockingPaneTabbedContainer *pContainer)
      : m_pContainer(pContainer) {}
  void Detach() { m_pContainer = nullptr; }

protected:
  void OnHover(CPoint ptScreen) override {
    if (m_pContainer == nullptr || m_pContainer->GetSafeHwnd() == nullptr) return;
    m_pContainer->ScreenToClient(&ptScreen);
    const int nTab = m_pContainer->HitTest(ptScreen);
    CXTPDockingPane *pPane = nTab >= 0 ? m_pContainer->GetPane(nTab) : nullptr;
    if (pPane != nullptr && pPane != m_pContainer->GetSelected())
      m_pContainer->SelectPane(pPane, FALSE, FALSE);
  }

private:
  CXTPDockingPaneTabbedContainer *m_pContainer;
};

IMPLEMENT_DYNAMIC(CXTPDockingPaneTabbedContainer, CWnd)

CXTPDockingPaneTabbedContainer::CXTPDockingPaneTabbedContainer(CXTPDockingPaneLayout *pLayout)
    : CXTPDockingPaneBase(xtpPaneTypeTabbedContainer, pLayout) {
  for (int nID : {XTP_IDS_DOCKINGPANE_CLOSE, XTP_IDS_DOCKINGPANE_MAXIMIZE, XTP_IDS_DOCKINGPANE_RESTORE,
                  XTP_IDS_DOCKINGPANE_AUTOHIDE, XTP_IDS_DOCKINGPANE_MENU})
    m_arrCaptionButtons.Add(new CXTPDockingPaneCaptionButton(nID, this));
  m_pDropTarget = new CXTPDockingPaneTabbedContainerDropTarget(this);
}

CXTPDockingPaneTabbedContainer::~CXTPDockingPaneTabbedContainer() {
  if (HasWindow()) DestroyWindow();
  m_pDropTarget->Detach();
  m_pDropTarget->Release();
}

ULONG CXTPDockingPaneTabbedContainer::GetDropTargetRefCount() const {
  return m_pDropTarget->GetRefCount();
}

BOOL CXTPDockingPaneTabbedContainer::CreateContainerWindow() {
  CWnd *pSite = m_pDockingSite;
  if (pSite == nullptr || pSite->GetSafeHwnd() == nullptr) return FALSE;
  if (!CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW), nullptr), L"",
                WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), pSite, 0))
    return FALSE;
  m_bDropTargetRegistered = SUCCEEDED(::RegisterDragDrop(m_hWnd, m_pDropTarget));
  return TRUE;
}

// ---------------------------------------------------------------------------
// Panes and tabs

void CXTPDockingPaneTabbedContainer::Init(CXTPDockingPane *pPane, CWnd *pFrame) {
  ASSERT(pPane != nullptr);
  m_pDockingSite = pFrame;
  m_szDocking = pPane->GetDockingSize();
  m_rcWindow = pPane->GetPaneWindowRect();
  _InsertPane(pPane);
}

void CXTPDockingPaneTabbedContainer::_InsertPane(CXTPDockingPane *pPane) {
  ASSERT(m_pLayout != nullptr);
  if (!HasWindow() && m_pLayout != nullptr && !m_pLayout->IsUserLayout()) CreateContainerWindow();
  m_lstPanes.push_back(pPane);
  pPane->SetParentContainer(this);
  pPane->SetDockingSite(m_pDockingSite);
  DelayRecalcSite();
  SelectPane(pPane, TRUE, TRUE);
  if (m_pParentContainer != nullptr) m_pParentContainer->OnChildContainerChanged(this);
}

CXTPDockingPane *CXTPDockingPaneTabbedContainer::GetPane(int nIndex) const {
  return nIndex >= 0 && nIndex < static_cast<int>(m_lstPanes.size()) ? m_lstPanes[nIndex] : nullptr;
}

void CXTPDockingPaneTabbedContainer::SelectPane(CXTPDockingPane *pPane, BOOL bSetFocus, BOOL bDelayRedraw) {
  if (pPane != m_pSelectedPane) {
    m_pSelectedPane = pPane;
    if (!bDelayRedraw) {
      InvalidatePane(TRUE);
    } else {
      DelayRecalcSite();
      if (m_pParentContainer != nullptr) m_pParentContainer->OnChildContainerChanged(this);
    }
  }
  if (!bSetFocus) return;
  if (m_bActive && m_pLayout != nullptr && m_pLayout->GetManager() != nullptr)
    m_pLayout->GetManager()->OnActivatePane(TRUE, m_pSelectedPane);
  if (m_pSelectedPane != nullptr) m_pSelectedPane->SetFocus();
}

void CXTPDockingPaneTabbedContainer::UpdateTabs() {
  m_nLockReposition++;
  DeleteAllItems();
  for (CXTPDockingPane *pPane : m_lstPanes) {
    CXTPTabManagerItem *pItem = AddItem(GetItemCount());
    pItem->SetCaption(pPane->GetShortTitle());
    pItem->SetColor(pPane->GetItemColor());
    pItem->SetTooltip(pPane->GetTitle());
    pItem->SetData(reinterpret_cast<DWORD_PTR>(pPane));
    if (pPane == m_pSelectedPane) SetCurSel(pItem->GetIndex());
  }
  m_arrCaptionButtons.CheckForMouseOver(CPoint(-1, -1));
  m_nLockReposition--;
}

void CXTPDockingPaneTabbedContainer::GetTitle(CString &strTitle) const {
  strTitle = m_pSelectedPane != nullptr ? m_pSelectedPane->GetTitle() : CString();
}

void CXTPDockingPaneTabbedContainer::ShowTitle(BOOL bShow) {
  m_bTitleVisible = bShow;
  DelayRecalcSite();
}

BOOL CXTPDockingPaneTabbedContainer::IsTitleVisible() const {
  return m_bTitleVisible && m_pSelectedPane != nullptr &&
         (m_pSelectedPane->GetOptions() & xtpPaneNoCaption) == 0;
}

BOOL CXTPDockingPaneTabbedContainer::IsTabsVisible() const {
  if (!HasWindow()) return FALSE;
  if (CXTPDockingPaneAutoHideWnd::IsAutoHideWnd(CWnd::FromHandlePermanent(::GetParent(m_hWnd)))) return FALSE;
  if (GetItemCount() > 1) return TRUE;
  CXTPDockingPanePaintManager *pPaint = GetDockingPaintManager();
  return pPaint != nullptr && pPaint->m_bDrawSingleTab;
}

int CXTPDockingPaneTabbedContainer::HitTest(CPoint pt) const {
  if (!HasWindow()) return -1;
  CRect rcClient;
  CWnd::GetClientRect(&rcClient);
  if (IsTitleVisible()) {
    CRect rcRest = rcClient;
    GetDockingPaintManager()->AdjustCaptionRect(this, rcRest);
    if (rcClient.PtInRect(pt) && pt.y < rcRest.top) return -2;
  }
  if (!IsTabsVisible()) return -1;
  CXTPTabManagerItem *pItem = CXTPTabManager::HitTest(pt);
  return pItem != nullptr ? pItem->GetIndex() : -1;
}

BOOL CXTPDockingPaneTabbedContainer::IsTabDropArea(const CRect &rc, CPoint pt) const {
  CXTPDockingPanePaintManager *pPaint = GetDockingPaintManager();
  if (pPaint == nullptr || !rc.PtInRect(pt)) return FALSE;
  if (m_bTitleVisible && pt.y < rc.top + pPaint->GetCaptionHeight() + 3) return TRUE;
  return IsTabsVisible() && pt.y >= rc.bottom - pPaint->GetTabsHeight();
}

void CXTPDockingPaneTabbedContainer::SwapPanes(CXTPDockingPane *pFirst, CXTPDockingPane *pSecond) {
  auto itFirst = std::find(m_lstPanes.begin(), m_lstPanes.end(), pFirst);
  auto itSecond = std::find(m_lstPanes.begin(), m_lstPanes.end(), pSecond);
  ASSERT(itFirst != m_lstPanes.end() && itSecond != m_lstPanes.end());
  if (itFirst != m_lstPanes.end() && itSecond != m_lstPanes.end()) std::iter_swap(itFirst, itSecond);
}

// ---------------------------------------------------------------------------
// The base's operations

BOOL CXTPDockingPaneTabbedContainer::ContainsPane(CXTPDockingPaneBase *pPane) const {
  if (pPane == this) return TRUE;
  for (CXTPDockingPane *pChild : m_lstPanes)
    if (pChild->ContainsPane(pPane)) return TRUE;
  return FALSE;
}

void CXTPDockingPaneTabbedContainer::FindPane(XTPDockingPaneType type, CXTPDockingPaneBaseList *pList) const {
  for (CXTPDockingPane *pChild : m_lstPanes)
    if (pChild->GetType() == type) pList->push_back(pChild);
}

void CXTPDockingPaneTabbedContainer::GetMinMaxInfo(LPMINMAXINFO pMinMaxInfo) const {
  CXTPDockingPaneBase::GetMinMaxInfo(pMinMaxInfo);
  BOOL bSiblingMaximized = FALSE;
  if (m_pParentContainer != nullptr && m_pParentContainer->GetType() == xtpPaneTypeSplitterContainer &&
      !m_bMaximized) {
    for (CXTPDockingPaneBase *pSibling :
         static_cast<CXTPDockingPaneSplitterContainer *>(m_pParentContainer)->GetPanes())
      if (pSibling != this && pSibling->GetType() == xtpPaneTypeTabbedContainer &&
          static_cast<CXTPDockingPaneTabbedContainer *>(pSibling)->m_bMaximized)
        bSiblingMaximized = TRUE;
  }
  if (bSiblingMaximized) {
    const BOOL bHoriz = static_cast<CXTPDockingPaneSplitterContainer *>(m_pParentContainer)->IsHoriz();
    (bHoriz ? pMinMaxInfo->ptMaxTrackSize.x : pMinMaxInfo->ptMaxTrackSize.y) = 0;
  } else {
    for (CXTPDockingPane *pPane : m_lstPanes) {
      MINMAXINFO mmi;
      pPane->GetMinMaxInfo(&mmi);
      pMinMaxInfo->ptMinTrackSize.x = std::max(pMinMaxInfo->ptMinTrackSize.x, mmi.ptMinTrackSize.x);
      pMinMaxInfo->ptMinTrackSize.y = std::max(pMinMaxInfo->ptMinTrackSize.y, mmi.ptMinTrackSize.y);
      pMinMaxInfo->ptMaxTrackSize.x = std::min(pMinMaxInfo->ptMaxTrackSize.x, mmi.ptMaxTrackSize.x);
      pMinMaxInfo->ptMaxTrackSize.y = std::min(pMinMaxInfo->ptMaxTrackSize.y, mmi.ptMaxTrackSize.y);
    }
  }
  // The caption and the tab strip come on top of what the panes need.
  if (CXTPDockingPanePaintManager *pPaint = GetDockingPaintManager()) {
    CRect rc(0, 0, 1000, 1000);
    pPaint->AdjustClientRect(const_cast<CXTPDockingPaneTabbedContainer *>(this), rc, FALSE);
    const int cx = 1000 - rc.Width(), cy = 1000 - rc.Height();
    pMinMaxInfo->ptMinTrackSize.x += cx;
    pMinMaxInfo->ptMinTrackSize.y += cy;
    pMinMaxInfo->ptMaxTrackSize.x += cx;
    pMinMaxInfo->ptMaxTrackSize.y += cy;
  }
}

void CXTPDockingPaneTabbedContainer::SizePanes(const CRect &rcClient) {
  for (CXTPDockingPane *pPane : m_lstPanes)
    if (pPane != m_pSelectedPane) pPane->ShowWindow(FALSE);
  if (m_pSelectedPane != nullptr) m_pSelectedPane->ShowWindow(TRUE);
  CRect rcSite = rcClient;
  rcSite.OffsetRect(m_rcWindow.TopLeft());
  for (CXTPDockingPane *pPane : m_lstPanes) pPane->OnSizeParent(m_pDockingSite, rcSite, nullptr);
}

void CXTPDockingPaneTabbedContainer::OnSizeParent(CWnd *pParent, CRect rect, LPVOID lParam) {
  ASSERT(!IsEmpty());
  m_pDockingSite = pParent;
  m_rcWindow = rect;
  auto *pLayout = static_cast<AFX_SIZEPARENTPARAMS *>(lParam);
  if (pLayout != nullptr && pLayout->hDWP == nullptr) return;
  if (HasWindow()) {
    SetWindowPos(&CWnd::wndBottom, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOACTIVATE);
    Invalidate(FALSE);
  }
  m_nLockReposition++;
  UpdateTabs();
  if (CXTPDockingPaneCaptionButton *pPin = m_arrCaptionButtons.FindButton(XTP_IDS_DOCKINGPANE_AUTOHIDE))
    pPin->SetState(IsAutoHidden() ? 3 : CXTPDockingPaneMiniWnd::IsMiniWnd(m_pDockingSite) ? 0 : 1);
  CRect rcClient(0, 0, rect.Width(), rect.Height());
  if (CXTPDockingPanePaintManager *pPaint = GetDockingPaintManager())
    pPaint->AdjustClientRect(this, rcClient, TRUE);
  SizePanes(rcClient);
  m_nLockReposition--;
}

void CXTPDockingPaneTabbedContainer::InvalidatePane(BOOL bSelectionChanged) {
  if (!HasWindow() || m_pParentContainer == nullptr || m_nLockReposition > 0) return;
  m_nLockReposition++;
  UpdateTabs();
  CRect rcClient;
  CWnd::GetClientRect(&rcClient);
  GetDockingPaintManager()->AdjustClientRect(this, rcClient, TRUE);
  if (bSelectionChanged) SizePanes(rcClient);
  m_nLockReposition--;
  Invalidate(FALSE);
  m_pParentContainer->InvalidatePane(bSelectionChanged);
}

void CXTPDockingPaneTabbedContainer::OnFocusChanged() {
  CXTPDockingPaneManager *pManager = GetDockingPaneManager();
  HWND hFocus = ::GetFocus();
  BOOL bActive = FALSE;
  if (hFocus != nullptr && HasWindow()) {
    HWND hOwner = ::GetWindow(hFocus, GW_OWNER);
    bActive =
        hFocus == m_hWnd || ::IsChild(m_hWnd, hFocus) || (hOwner != nullptr && ::IsChild(m_hWnd, hOwner));
  }
  if (bActive != m_bActive) {
    m_bActive = bActive;
    pManager->OnActivatePane(bActive, m_pSelectedPane);
    if (HasWindow()) Invalidate(FALSE);
  } else if (bActive && pManager->GetActivePane() != m_pSelectedPane) {
    pManager->OnActivatePane(TRUE, m_pSelectedPane);
  }
  if (m_pSelectedPane != nullptr && m_pSelectedPane->GetChildHwnd() != nullptr)
    ::SendMessage(m_pSelectedPane->GetChildHwnd(), WM_IDLEUPDATECMDUI, TRUE, 0);
}

void CXTPDockingPaneTabbedContainer::SetDockingSite(CWnd *pFrame) {
  m_pDockingSite = pFrame;
  if (HasWindow() && pFrame != nullptr && ::GetParent(m_hWnd) != pFrame->GetSafeHwnd()) SetParent(pFrame);
  for (CXTPDockingPane *pPane : m_lstPanes) pPane->SetDockingSite(pFrame);
}

void CXTPDockingPaneTabbedContainer::OnParentContainerChanged(CXTPDockingPaneBase *pContainer) {
  m_pDockingSite = pContainer->GetDockingSite();
  m_bTitleVisible = TRUE;
  if (pContainer->GetType() == xtpPaneTypeAutoHidePanel && HasWindow()) ShowWindow(SW_HIDE);
}

CXTPDockingPaneBase *CXTPDockingPaneTabbedContainer::Clone(CXTPDockingPaneLayout *pLayout, CPaneMap *pMap,
                                                           DWORD dwIgnoredOptions) {
  auto *pClone = static_cast<CXTPDockingPaneTabbedContainer *>(
      GetDockingPaneManager()->OnCreatePane(xtpPaneTypeTabbedContainer, pLayout));
  pClone->Copy(this, pMap, dwIgnoredOptions);
  if (pMap != nullptr) pMap->emplace_back(this, pClone);
  return pClone;
}

void CXTPDockingPaneTabbedContainer::Copy(CXTPDockingPaneTabbedContainer *pSource, CPaneMap *pMap,
                                          DWORD dwIgnoredOptions) {
  m_bActive = FALSE;
  m_pSelectedPane = m_pTrackingPane = nullptr;
  m_pDockingSite = GetDockingPaneManager()->GetSite();
  m_szDocking = pSource->m_szDocking;
  m_rcWindow = pSource->m_rcWindow;
  m_bTitleVisible = TRUE;
  m_nLockReposition = 0;
  CXTPDockingPane *pSelected = nullptr;
  const std::vector<CXTPDockingPane *> lstSource = pSource->m_lstPanes;
  for (CXTPDockingPane *pPane : lstSource) {
    CXTPDockingPane *pTarget = pPane;
    if (pMap == nullptr) {
      if (pPane->GetOptions() & dwIgnoredOptions) continue;
      if (pPane->GetContainer() != nullptr) pPane->GetContainer()->RemovePane(pPane);
    } else {
      pTarget = static_cast<CXTPDockingPane *>(pPane->Clone(m_pLayout, pMap, 0));
    }
    _InsertPane(pTarget);
    if (pPane == pSource->m_pSelectedPane) pSelected = pTarget;
  }
  if (pSelected != nullptr) SelectPane(pSelected, FALSE, TRUE);
}

void CXTPDockingPaneTabbedContainer::RemovePane(CXTPDockingPaneBase *pPane) {
  auto it = std::find(m_lstPanes.begin(), m_lstPanes.end(), pPane);
  ASSERT(pPane->GetContainer() == this && it != m_lstPanes.end());
  if (it == m_lstPanes.end()) return;
  m_lstPanes.erase(it);
  m_nLockReposition++;
  UpdateTabs();
  m_nLockReposition--;
  pPane->SetParentContainer(nullptr);
  if (m_pParentContainer != nullptr) m_pParentContainer->OnChildContainerChanged(this);
  if (m_lstPanes.empty() && HasWindow()) DestroyWindow();
  DelayRecalcSite();
  if (pPane == m_pSelectedPane) {
    m_pSelectedPane = nullptr;
    SelectPane(m_lstPanes.empty() ? nullptr : m_lstPanes.front(), TRUE, TRUE);
  }
}

BOOL CXTPDockingPaneTabbedContainer::IsCaptionButtonVisible(CXTPDockingPaneCaptionButton *pButton) {
  const DWORD dwOptions = m_pSelectedPane != nullptr ? m_pSelectedPane->GetOptions() : 0;
  switch (pButton->GetID()) {
  case XTP_IDS_DOCKINGPANE_CLOSE:
    return m_pSelectedPane != nullptr && (dwOptions & xtpPaneNoCloseable) == 0;
  case XTP_IDS_DOCKINGPANE_AUTOHIDE:
    return m_pSelectedPane != nullptr && (dwOptions & xtpPaneNoHideable) == 0 &&
           (pButton->GetState() & 1) != 0;
  case XTP_IDS_DOCKINGPANE_MAXIMIZE:
    return CanMaximize() && !m_bMaximized;
  case XTP_IDS_DOCKINGPANE_RESTORE:
    return CanMaximize() && m_bMaximized;
  case XTP_IDS_DOCKINGPANE_MENU:
    return m_pSelectedPane != nullptr && (dwOptions & xtpPaneHasMenuButton) != 0;
  default:
    return TRUE;
  }
}

BOOL CXTPDockingPaneTabbedContainer::IsAutoHidden() const {
  return m_pParentContainer != nullptr && m_pParentContainer->GetType() == xtpPaneTypeAutoHidePanel;
}

BOOL CXTPDockingPaneTabbedContainer::DoPropExchange(CXTPPropExchange *pPX) {
  CXTPDockingPaneBase::DoPropExchange(pPX);
  int nCount = static_cast<int>(m_lstPanes.size());
  int nSelected = m_pSelectedPane != nullptr ? m_pSelectedPane->GetIndex() : 0;
  PX_Int(pPX, L"Panes", nCount, 0);
  PX_Int(pPX, L"Selected", nSelected, 0);
  if (pPX->IsStoring()) {
    CXTPDockingPaneLayoutLoader::StoreChildren(pPX, m_lstPanes);
    return TRUE;
  }
  auto *pLoader = reinterpret_cast<CXTPDockingPaneLayoutLoader *>(pPX->m_dwData);
  if (pLoader == nullptr || nCount < 0 || nCount > pLoader->GetCount()) return FALSE;
  for (int i = 0; i < nCount; i++) {
    CXTPDockingPaneBase *pChild = pLoader->LoadChild(pPX, i, this);
    if (pChild == nullptr || pChild->GetType() != xtpPaneTypeDockingPane) return FALSE;
    _InsertPane(static_cast<CXTPDockingPane *>(pChild));
  }
  for (CXTPDockingPane *pPane : m_lstPanes)
    if (pPane->GetIndex() == nSelected) SelectPane(pPane, TRUE, TRUE);
  return TRUE;
}

// ---------------------------------------------------------------------------
// Maximizing

BOOL CXTPDockingPaneTabbedContainer::CanMaximize() const {
  if (m_pParentContainer == nullptr || m_pParentContainer->GetType() != xtpPaneTypeSplitterContainer)
    return FALSE;
  CXTPDockingPaneManager *pManager = m_pLayout != nullptr ? m_pLayout->GetManager() : nullptr;
  if (pManager == nullptr || !pManager->m_bShowMaximizeButton) return FALSE;
  CXTPDockingPaneBaseList lst;
  static_cast<CXTPDockingPaneSplitterContainer *>(m_pParentContainer)
      ->GetPanesByType(xtpPaneTypeTabbedContainer, &lst);
  return lst.size() > 1;
}

void CXTPDockingPaneTabbedContainer::Maximize() {
  if (m_pDockingSite == nullptr || m_pParentContainer == nullptr) return;
  if (m_pParentContainer->GetType() == xtpPaneTypeSplitterContainer)
    for (CXTPDockingPaneBase *pSibling :
         static_cast<CXTPDockingPaneSplitterContainer *>(m_pParentContainer)->GetPanes())
      if (pSibling->GetType() == xtpPaneTypeTabbedContainer)
        static_cast<CXTPDockingPaneTabbedContainer *>(pSibling)->m_bMaximized = FALSE;
  m_bMaximized = TRUE;
  if (m_pDockingSite->IsFrameWnd()) static_cast<CFrameWnd *>(m_pDockingSite)->RecalcLayout();
}

void CXTPDockingPaneTabbedContainer::Restore() {
  if (m_pDockingSite == nullptr || m_pParentContainer == nullptr) return;
  m_bMaximized = FALSE;
  if (m_pDockingSite->IsFrameWnd()) static_cast<CFrameWnd *>(m_pDockingSite)->RecalcLayout();
}

void CXTPDockingPaneTabbedContainer::ShowSelected() {
  if (m_pSelectedPane != nullptr && m_pParentContainer != nullptr &&
      m_pParentContainer->GetType() == xtpPaneTypeAutoHidePanel)
    static_cast<CXTPDockingPaneAutoHidePanel *>(m_pParentContainer)->ShowPane(m_pSelectedPane, TRUE);
}

// ---------------------------------------------------------------------------
// The tab manager's hooks

void CXTPDockingPaneTabbedContainer::Reposition() {
  if (m_nLockReposition > 0) return;
  if (m_pLayout != nullptr && m_pLayout->GetManager() != nullptr)
    m_pLayout->GetManager()->RecalcFramesLayout();
}

void CXTPDockingPaneTabbedContainer::RedrawControl() {
  if (m_nLockReposition == 0 && HasWindow()) Invalidate(FALSE);
}

CXTPTabPaintManager *CXTPDockingPaneTabbedContainer::GetPaintManager() const {
  CXTPDockingPanePaintManager *pPaint = GetDockingPaintManager();
  return pPaint != nullptr ? pPaint->GetTabPaintManager() : nullptr;
}

BOOL CXTPDockingPaneTabbedContainer::DrawIcon(CDC *pDC, CPoint pt, CXTPTabManagerItem *pItem, BOOL bDraw,
                                              CSize &szIcon) const {
  if (!GetPaintManager()->m_bShowIcons) return FALSE;
  if (pItem == nullptr) return TRUE;
  auto *pPane = reinterpret_cast<CXTPDockingPane *>(pItem->GetData());
  CXTPImageManagerIcon *pIcon = pPane != nullptr ? pPane->GetIcon(szIcon.cx) : nullptr;
  if (pIcon == nullptr) return FALSE;
  if (!bDraw) return TRUE;
  CXTPIconHandle &hIcon = !pItem->IsEnabled()             ? pIcon->GetDisabledIcon()
                          : pItem == GetHighlightedItem() ? pIcon->GetHotIcon()
                          : pItem->IsSelected()           ? pIcon->GetCheckedIcon()
                                                          : pIcon->GetIcon();
  pIcon->Draw(pDC, pt, hIcon, szIcon);
  return TRUE;
}

// ---------------------------------------------------------------------------
// The window

INT_PTR CXTPDockingPaneTabbedContainer::OnToolHitTest(CPoint point, TTTOOLINFOW *pTI) const {
  if (!HasWindow()) return -1;
  for (int i = 0; i < m_arrCaptionButtons.GetSize(); i++) {
    CXTPDockingPaneCaptionButton *pButton = m_arrCaptionButtons.GetAt(i);
    if (!pButton->GetRect().PtInRect(point) || !pButton->IsVisible()) continue;
    CString strTip;
    XTPGetResourceManager()->LoadString(&strTip, static_cast<UINT>(pButton->GetID()));
    if (pTI != nullptr)
      CXTPToolTipContext::FillToolDetails(pTI, m_hWnd, pButton->GetRect(),
                                          static_cast<UINT_PTR>(pButton->GetID()), strTip);
    return pButton->GetID();
  }
  return const_cast<CXTPDockingPaneTabbedContainer *>(this)->GetItemToolTip(m_hWnd, point, pTI);
}

LRESULT CXTPDockingPaneTabbedContainer::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  CXTPDockingPaneManager *pManager = m_pLayout != nullptr ? m_pLayout->GetManager() : nullptr;
  const BOOL bMouse = (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || message == WM_MOUSELEAVE;
  if (bMouse && pManager != nullptr && pManager->GetToolTipContext() != nullptr && HasWindow())
    pManager->GetToolTipContext()->FilterToolTipMessage(this, message, wParam, lParam);
  switch (message) {
  case WM_PAINT:
    OnPaint();
    return 0;
  case WM_ERASEBKGND:
    return TRUE;
  case WM_LBUTTONDOWN:
    OnLButtonDown(pt);
    break;
  case WM_RBUTTONDOWN:
    OnRButtonDown(pt);
    break;
  case WM_MOUSEMOVE:
    OnMouseMove(pt);
    break;
  case WM_MOUSELEAVE:
    OnMouseMove(CPoint(-1, -1));
    break;
  case WM_LBUTTONUP:
    m_pTrackingPane = nullptr;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    break;
  case WM_CAPTURECHANGED:
    m_pTrackingPane = nullptr;
    break;
  case WM_LBUTTONDBLCLK:
    OnLButtonDblClk(pt);
    break;
  case WM_DESTROY:
    // The window goes before the object: it must not stay registered.
    if (m_bDropTargetRegistered) ::RevokeDragDrop(m_hWnd);
    m_bDropTargetRegistered = FALSE;
    break;
  default:
    break;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

void CXTPDockingPaneTabbedContainer::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  CWnd::GetClientRect(&rc);
  CXTPDockingPanePaintManager *pPaint = GetDockingPaintManager();
  if (pPaint == nullptr || rc.IsRectEmpty()) return;
  CXTPBufferDC buffer(dc.GetSafeHdc(), rc);
  pPaint->DrawPane(&buffer, this, rc);
}

void CXTPDockingPaneTabbedContainer::GiveFocus() {
  if (m_pSelectedPane != nullptr && m_pSelectedPane->IsValid())
    m_pSelectedPane->SetFocus();
  else if (HasWindow())
    ::SetFocus(m_hWnd);
  if (CXTPDockingPaneManager *pManager = GetDockingPaneManager())
    for (CXTPDockingPaneInfo &info : *pManager->GetPaneList()) info.pPane->OnFocusChanged();
}

void CXTPDockingPaneTabbedContainer::OnLButtonDown(CPoint pt) {
  for (int i = 0; i < m_arrCaptionButtons.GetSize(); i++) {
    CXTPDockingPaneCaptionButton *pButton = m_arrCaptionButtons.GetAt(i);
    if (!pButton->GetRect().PtInRect(pt) || !pButton->IsVisible()) continue;
    GiveFocus();
    if (pButton->GetID() == XTP_IDS_DOCKINGPANE_MENU) {
      // Whatever the site answers, the press was the menu's: no click follows.
      if (m_pSelectedPane != nullptr && HasWindow()) {
        CRect rcButton = pButton->GetRect();
        ClientToScreen(&rcButton);
        pButton->PressMenu(m_pSelectedPane, rcButton);
      }
      return;
    }
    if (pButton->Click(this, pt) && m_pSelectedPane != nullptr) OnCaptionButtonClick(pButton);
    return;
  }
  if (IsTabsVisible() && PerformClick(m_hWnd, pt, TRUE)) return;
  const int nHit = HitTest(pt);
  if (nHit == -2 && IsAutoHidden()) {
    // A slid-out container stays in its panel: its caption is no handle.
    GiveFocus();
    return;
  }
  if (nHit == -2) {
    // The caption drags the whole container.
    GiveFocus();
    CPoint ptScreen = pt;
    ClientToScreen(&ptScreen);
    GetDockingPaneManager()->GetDragContext()->Drag(this, ptScreen);
    return;
  }
  if (nHit < 0) {
    GiveFocus();
    return;
  }
  m_lstRects.clear();
  for (int i = 0; i < GetItemCount(); i++) m_lstRects.push_back(GetItem(i)->GetRect());
  m_pTrackingPane = GetPane(nHit);
  SelectPane(m_pTrackingPane, TRUE, FALSE);
  PerformMouseMove(m_hWnd, pt);
  if (!HasWindow()) return;
  SetCapture();
  Invalidate(FALSE);
}

void CXTPDockingPaneTabbedContainer::OnMouseMove(CPoint pt) {
  if (!HasWindow()) return;
  PerformMouseMove(m_hWnd, pt);
  if (m_pTrackingPane == nullptr) {
    m_arrCaptionButtons.CheckForMouseOver(pt);
    return;
  }
  for (size_t i = 0; i < m_lstRects.size(); i++) {
    CXTPDockingPane *pPane = GetPane(static_cast<int>(i));
    if (!m_lstRects[i].PtInRect(pt) || pPane == nullptr) continue;
    if (pPane != m_pTrackingPane) {
      SwapPanes(pPane, m_pTrackingPane);
      InvalidatePane(TRUE);
    }
    return;
  }
  // Off the strip: the pane is about to be dragged out, unless the site objects.
  if (GetDockingPaneManager()->NotifyOwner(xtpPaneActionDetaching, m_pTrackingPane) != 0) return;
  m_pTrackingPane = nullptr;
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  if (m_pSelectedPane == nullptr) return;
  CPoint ptScreen = pt;
  ClientToScreen(&ptScreen);
  GetDockingPaneManager()->GetDragContext()->Drag(m_pSelectedPane, ptScreen);
}

void CXTPDockingPaneTabbedContainer::OnRButtonDown(CPoint pt) {
  const int nHit = HitTest(pt);
  if (nHit >= 0) {
    SelectPane(GetPane(nHit), TRUE, FALSE);
    if (GetDockingSite() != nullptr && GetDockingSite()->IsFrameWnd())
      static_cast<CFrameWnd *>(GetDockingSite())->RecalcLayout();
  }
  GiveFocus();
  if (GetDockingSite() != nullptr)
    GetDockingSite()->SendMessage(WM_DOCKINGPANE_NOTIFY, XTP_DPN_RCLICK,
                                  reinterpret_cast<LPARAM>(static_cast<CXTPDockingPaneBase *>(this)));
}

void CXTPDockingPaneTabbedContainer::OnLButtonDblClk(CPoint pt) {
  for (int i = 0; i < m_arrCaptionButtons.GetSize(); i++) {
    CXTPDockingPaneCaptionButton *pButton = m_arrCaptionButtons.GetAt(i);
    if (pButton->GetRect().PtInRect(pt) && pButton->IsVisible()) return;
  }
  // A navigate button takes the second press as it took the first, even
  // where it lies over a tab.
  if (IsTabsVisible() && PerformClick(m_hWnd, pt, TRUE)) return;
  const int nHit = HitTest(pt);
  CXTPDockingPaneManager *pManager = GetDockingPaneManager();
  if (nHit >= 0) {
    pManager->ToggleDocking(GetPane(nHit));
  } else if (nHit == -2) {
    if (IsAutoHidden() && m_pSelectedPane != nullptr &&
        (m_pSelectedPane->GetOptions() & xtpPaneNoHideable) != 0)
      return;
    pManager->ToggleDocking(this);
  }
}

void CXTPDockingPaneTabbedContainer::OnCaptionButtonClick(CXTPDockingPaneCaptionButton *pButton) {
  CXTPDockingPaneManager *pManager = GetDockingPaneManager();
  switch (pButton->GetID()) {
  case XTP_IDS_DOCKINGPANE_AUTOHIDE:
    if (IsAutoHidden()) {
      pManager->ToggleDocking(this);
    } else if (m_pSelectedPane != nullptr &&
               pManager->NotifyOwner(xtpPaneActionPinning, m_pSelectedPane) == 0) {
      CXTPDockingPane *pPane = m_pSelectedPane;
      pPane->Hide();
      pManager->NotifyOwner(xtpPaneActionPinned, pPane);
    }
    break;
  case XTP_IDS_DOCKINGPANE_CLOSE: {
    std::vector<CXTPDockingPane *> lstClose;
    if (!pManager->m_bCloseGroupOnButtonClick) {
      if (m_pSelectedPane != nullptr) lstClose.push_back(m_pSelectedPane);
    } else {
      for (auto it = m_lstPanes.rbegin(); it != m_lstPanes.rend(); ++it)
        if (((*it)->GetOptions() & xtpPaneNoCloseable) == 0) lstClose.push_back(*it);
    }
    for (CXTPDockingPane *pPane : lstClose) {
      if (pManager->NotifyOwner(xtpPaneActionClosing, pPane) != 0) continue;
      pPane->Close();
      pManager->NotifyOwner(xtpPaneActionClosed, pPane);
    }
    break;
  }
  case XTP_IDS_DOCKINGPANE_MAXIMIZE:
    Maximize();
    break;
  case XTP_IDS_DOCKINGPANE_RESTORE:
    Restore();
    break;
  default:
    break;
  }
}
