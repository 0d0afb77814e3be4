#include "XTPDockingPane.h"

#include "FrameWnd.h"
#include "XTPDockingPaneLayout.h"
#include "XTPDockingPaneManager.h"
#include "XTPDockingPaneTabbedContainer.h"
#include "XTPImageManager.h"
#include "XTPPropExchange.h"
#include "XTPTabManager.h"

CXTPDockingPane::CXTPDockingPane(CXTPDockingPaneLayout *pLayout)
    : CXTPDockingPaneBase(xtpPaneTypeDockingPane, pLayout) {
  EnableAutomation();
}

CXTPDockingPane::~CXTPDockingPane() = default;

void CXTPDockingPane::SetID(int nID) {
  ASSERT(nID != 0);
  m_nID = nID;
  CString strTitle;
  if (strTitle.LoadString(static_cast<UINT>(nID))) m_strTitle = strTitle;
}

void CXTPDockingPane::SetInitialRect(const CRect &rc) {
  m_rcWindow = rc;
  m_szDocking = CSize(rc.Width(), rc.Height());
}

CString CXTPDockingPane::GetTitle() const {
  const int nBreak = m_strTitle.Find(L'\n');
  return nBreak < 0 ? m_strTitle : m_strTitle.Left(nBreak);
}

CString CXTPDockingPane::GetShortTitle() const {
  const int nBreak = m_strTitle.Find(L'\n');
  return nBreak < 0 ? m_strTitle : m_strTitle.Mid(nBreak + 1);
}

CXTPImageManagerIcon *CXTPDockingPane::GetIcon(int nWidth) const {
  CXTPDockingPaneManager *pManager = m_pLayout != nullptr ? m_pLayout->GetManager() : nullptr;
  if (pManager == nullptr || pManager->GetImageManager() == nullptr) return nullptr;
  return pManager->GetImageManager()->GetImage(static_cast<UINT>(GetIconID()), nWidth);
}

DWORD CXTPDockingPane::GetOptions() const {
  CXTPDockingPaneManager *pManager = m_pLayout != nullptr ? m_pLayout->GetManager() : nullptr;
  return m_dwOptions | (pManager != nullptr ? pManager->GetDefaultPaneOptions() : 0);
}

COLORREF CXTPDockingPane::GetItemColor() {
  if (m_hwndChild != nullptr) {
    const LRESULT lColor = ::SendMessage(m_hwndChild, 0x0486, 0, 0);
    if (lColor != 0) return static_cast<COLORREF>(lColor);
  }
  return xtpTabColorFirst + static_cast<COLORREF>(m_nID % 8);
}

void CXTPDockingPane::Copy(CXTPDockingPane *pPane) {
  m_szDocking = pPane->m_szDocking;
  m_strTitle = pPane->m_strTitle;
  m_nID = pPane->m_nID;
  m_nIconID = pPane->m_nIconID;
  m_dwOptions = pPane->m_dwOptions;
  m_dwData = pPane->m_dwData;
  m_ptMinTrackSize = pPane->m_ptMinTrackSize;
  m_ptMaxTrackSize = pPane->m_ptMaxTrackSize;
}

void CXTPDockingPane::GetMinMaxInfo(LPMINMAXINFO pMinMaxInfo) const {
  ZeroMemory(pMinMaxInfo, sizeof(MINMAXINFO));
  pMinMaxInfo->ptMinTrackSize = CPoint(m_ptMinTrackSize.cx, m_ptMinTrackSize.cy);
  pMinMaxInfo->ptMaxTrackSize = CPoint(m_ptMaxTrackSize.cx, m_ptMaxTrackSize.cy);
}

void CXTPDockingPane::OnSizeParent(CWnd *pParent, CRect rect, LPVOID lParam) {
  SetDockingSite(pParent);
  auto *pLayout = static_cast<AFX_SIZEPARENTPARAMS *>(lParam);
  if (pLayout != nullptr && pLayout->hDWP == nullptr) return;
  m_rcWindow = rect;
  if (pParent == nullptr || m_pParentContainer == nullptr || m_hwndChild == nullptr) return;
  // In the container window's coordinates. The container may not have moved
  // yet (its move can be deferred), so its own rectangle in the site is used.
  const CRect rcContainer = m_pParentContainer->GetPaneWindowRect();
  rect.OffsetRect(-rcContainer.left, -rcContainer.top);
  ::MoveWindow(m_hwndChild, rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
}

void CXTPDockingPane::OnFocusChanged() {
  if (m_pParentContainer == nullptr) return;
  ASSERT(m_pParentContainer->GetType() == xtpPaneTypeTabbedContainer);
  m_pParentContainer->OnFocusChanged();
}

void CXTPDockingPane::SetParentContainer(CXTPDockingPaneBase *pContainer) {
  m_pParentContainer = pContainer;
  if (m_hwndChild == nullptr) return;
  if (pContainer == nullptr) {
    ::ShowWindow(m_hwndChild, SW_HIDE);
    CXTPDockingPaneManager *pManager = m_pLayout != nullptr ? m_pLayout->GetManager() : nullptr;
    if (pManager != nullptr && pManager->GetSafeHwnd() != nullptr)
      ::SetParent(m_hwndChild, pManager->GetSafeHwnd());
    m_pDockingSite = nullptr;
    return;
  }
  ASSERT(pContainer->GetType() == xtpPaneTypeTabbedContainer);
  if (HWND hContainer = pContainer->GetPaneHwnd()) ::SetParent(m_hwndChild, hContainer);
}

BOOL CXTPDockingPane::IsAutoHidden() const {
  return m_pParentContainer != nullptr && m_pParentContainer->IsAutoHidden();
}

CXTPDockingPaneBase *CXTPDockingPane::Clone(CXTPDockingPaneLayout *pLayout, CPaneMap *pMap, DWORD) {
  ASSERT(pMap != nullptr);
  auto *pClone = static_cast<CXTPDockingPane *>(GetDockingPaneManager()->OnCreatePane(m_type, pLayout));
  pClone->Copy(this);
  if (pMap != nullptr) pMap->emplace_back(this, pClone);
  return pClone;
}

BOOL CXTPDockingPane::DoPropExchange(CXTPPropExchange *pPX) {
  CXTPDockingPaneBase::DoPropExchange(pPX);
  PX_String(pPX, L"Title", m_strTitle, L"");
  long nID = m_nID;
  PX_Long(pPX, L"ID", nID, 0);
  m_nID = static_cast<int>(nID);
  PX_Int(pPX, L"IconID", m_nIconID, -1);
  PX_DWord(pPX, L"Options", m_dwOptions, 0);

  CXTPDockingPaneInfo info;
  CXTPDockingPaneInfo *pInfo = m_pLayout != nullptr ? m_pLayout->FindPaneInfo(this) : nullptr;
  if (pInfo != nullptr) info = *pInfo;
  int nDocking = info.pDockingHolder ? info.pDockingHolder->GetIndex() : 0;
  int nFloating = info.pFloatingHolder ? info.pFloatingHolder->GetIndex() : 0;
  int nLast = info.pLastHolder ? info.pLastHolder->GetIndex() : 0;
  PX_Int(pPX, L"DockingHolder", nDocking, 0);
  PX_Int(pPX, L"FloatingHolder", nFloating, 0);
  PX_Int(pPX, L"LastHolder", nLast, 0);
  long nMinX = m_ptMinTrackSize.cx, nMinY = m_ptMinTrackSize.cy;
  long nMaxX = m_ptMaxTrackSize.cx, nMaxY = m_ptMaxTrackSize.cy;
  PX_Long(pPX, L"MinTrackX", nMinX, 0);
  PX_Long(pPX, L"MinTrackY", nMinY, 0);
  PX_Long(pPX, L"MaxTrackX", nMaxX, 32000);
  PX_Long(pPX, L"MaxTrackY", nMaxY, 32000);
  if (pPX->IsStoring()) return m_nID > 0;

  m_ptMinTrackSize = CSize(nMinX, nMinY);
  m_ptMaxTrackSize = CSize(nMaxX, nMaxY);
  // A holder is a tabbed container of the same layout, or none (0).
  auto *pLoader = reinterpret_cast<CXTPDockingPaneLayoutLoader *>(pPX->m_dwData);
  if (pLoader == nullptr || m_pLayout == nullptr) return FALSE;
  auto holder = [pLoader](int nIndex, CXTPDockingPaneBase *&pHolder) -> BOOL {
    if (nIndex == 0) return TRUE;
    pHolder = pLoader->Resolve(nIndex);
    return pHolder != nullptr && pHolder->GetType() == xtpPaneTypeTabbedContainer;
  };
  CXTPDockingPaneInfo loaded;
  loaded.pPane = this;
  if (!holder(nDocking, loaded.pDockingHolder) || !holder(nFloating, loaded.pFloatingHolder) ||
      !holder(nLast, loaded.pLastHolder))
    return FALSE;
  if (m_pLayout->FindPaneInfo(this) != nullptr) return FALSE;
  m_pLayout->GetPaneList().push_back(loaded);
  return m_nID > 0;
}

void CXTPDockingPane::Attach(CWnd *pWnd) {
  if (pWnd == nullptr) return;
  m_hwndChild = pWnd->GetSafeHwnd();
  if (CXTPDockingPaneManager *pManager = GetDockingPaneManager()) pManager->RecalcFramesLayout();
  if (m_pParentContainer != nullptr && m_pParentContainer->GetPaneHwnd() != nullptr)
    ::SetParent(m_hwndChild, m_pParentContainer->GetPaneHwnd());
}

void CXTPDockingPane::MoveWindowTo(CXTPDockingPane *pPane) {
  if (pPane == this || m_hwndChild == nullptr) return;
  pPane->m_hwndChild = m_hwndChild;
  m_hwndChild = nullptr;
  CXTPDockingPaneBase *pContainer = pPane->m_pParentContainer;
  if (pContainer != nullptr && pContainer->GetPaneHwnd() != nullptr) {
    ::SetParent(pPane->m_hwndChild, pContainer->GetPaneHwnd());
    return;
  }
  // A closed pane's window waits, hidden, under the manager's window.
  ::ShowWindow(pPane->m_hwndChild, SW_HIDE);
  CXTPDockingPaneManager *pManager = pPane->GetDockingPaneManager();
  if (pManager != nullptr && pManager->GetSafeHwnd() != nullptr)
    ::SetParent(pPane->m_hwndChild, pManager->GetSafeHwnd());
}

CFrameWnd *CXTPDockingPane::NewViewFrame() {
  return new CFrameWnd;
}

CWnd *CXTPDockingPane::AttachView(CWnd *pParentWnd, CRuntimeClass *pViewClass, CDocument *pDocument,
                                  CCreateContext *pContext) {
  ASSERT(pViewClass != nullptr || pContext != nullptr);
  CCreateContext contextLocal;
  if (pContext == nullptr) {
    ASSERT(pViewClass->IsDerivedFrom(RUNTIME_CLASS(CWnd)));
    contextLocal.m_pNewViewClass = pViewClass;
    contextLocal.m_pCurrentDoc = pDocument;
    pContext = &contextLocal;
  }
  CFrameWnd *pFrame = NewViewFrame();
  // A frame whose window could not be made has deleted itself; the pane
  // stays as it was.
  if (!pFrame->Create(nullptr, nullptr, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, CRect(0, 0, 0, 0),
                      pParentWnd, nullptr, 0, pContext))
    return nullptr;
  pFrame->ModifyStyleEx(WS_EX_CLIENTEDGE, 0);
  Attach(pFrame);
  CWnd *pView = pFrame->GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
  // A view attached after start-up missed the frame's initial update: it
  // gets its own, so that it sets itself up as a view made at start does.
  if (pView != nullptr) pView->SendMessage(WM_INITIALUPDATE);
  return pView;
}

void CXTPDockingPane::ShowWindow(BOOL bShow) {
  if (bShow) {
    CXTPDockingPaneManager *pManager = m_pLayout != nullptr ? m_pLayout->GetManager() : nullptr;
    CWnd *pSite = pManager != nullptr ? pManager->GetSite() : nullptr;
    if (pSite != nullptr && pSite->GetSafeHwnd() != nullptr)
      pSite->SendMessage(WM_DOCKINGPANE_NOTIFY, XTP_DPN_SHOWWINDOW, reinterpret_cast<LPARAM>(this));
  }
  if (m_hwndChild != nullptr) ::ShowWindow(m_hwndChild, bShow ? SW_SHOW : SW_HIDE);
}

void CXTPDockingPane::Close() {
  GetDockingPaneManager()->ClosePane(this);
}

void CXTPDockingPane::Hide() {
  GetDockingPaneManager()->HidePane(this);
}

void CXTPDockingPane::SetFocus() {
  if (m_hwndChild == nullptr) return;
  HWND hFocus = ::GetFocus();
  if (hFocus == m_hwndChild || ::IsChild(m_hwndChild, hFocus)) return;
  ::SetFocus(m_hwndChild);
}

BOOL CXTPDockingPane::IsFocus() const {
  if (m_hwndChild == nullptr) return FALSE;
  HWND hFocus = ::GetFocus();
  return hFocus == m_hwndChild || ::IsChild(m_hwndChild, hFocus);
}

BOOL CXTPDockingPane::IsSelected() const {
  if (m_pParentContainer == nullptr) return FALSE;
  ASSERT(m_pParentContainer->GetType() == xtpPaneTypeTabbedContainer);
  return static_cast<CXTPDockingPaneTabbedContainer *>(m_pParentContainer)->GetSelected() == this;
}

CWnd *CXTPDockingPane::GetParentFrame() const {
  return m_pParentContainer != nullptr ? m_pParentContainer->GetDockingSite() : nullptr;
}
