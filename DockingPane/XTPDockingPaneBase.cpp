#include "XTPDockingPaneBase.h"
#include "FrameWnd.h"

#include "XTPDockingPaneLayout.h"
#include "XTPDockingPaneManager.h"
#include "XTPPropExchange.h"

// ---------------------------------------------------------------------------
// Caption buttons

BOOL CXTPDockingPaneCaptionButton::IsVisible() {
  return m_pOwner->IsCaptionButtonVisible(this);
}

void CXTPDockingPaneCaptionButton::SetRect(const CRect &rc) {
  ASSERT(m_pOwner != nullptr);
  if (rc == m_rcButton) return;
  m_rcButton = rc;
  m_pOwner->OnCaptionButtonRectChanged(this);
}

void CXTPDockingPaneCaptionButton::Redraw() {
  if (m_pOwner != nullptr) m_pOwner->RedrawPane();
}

BOOL CXTPDockingPaneCaptionButton::CheckForMouseOver(CPoint pt) {
  const BOOL bInside = m_rcButton.PtInRect(pt);
  if (!bInside && m_bSelected) {
    m_bSelected = FALSE;
    Redraw();
    return FALSE;
  }
  if (bInside && !m_bSelected) {
    HWND hWnd = m_pOwner != nullptr ? m_pOwner->GetPaneHwnd() : nullptr;
    if (hWnd != nullptr) {
      TRACKMOUSEEVENT tme = {sizeof(TRACKMOUSEEVENT), TME_LEAVE, hWnd, 0};
      ::TrackMouseEvent(&tme);
    }
    m_bSelected = TRUE;
    Redraw();
    return TRUE;
  }
  return FALSE;
}

BOOL CXTPDockingPaneCaptionButton::Click(CWnd *pWnd, CPoint pt, BOOL bClient) {
  HWND hWnd = pWnd->GetSafeHwnd();
  if (hWnd == nullptr || ::GetCapture() != nullptr) return FALSE;
  ::SetCapture(hWnd);
  if (::GetCapture() != hWnd) return FALSE;

  BOOL bResult = FALSE;
  for (BOOL bDone = FALSE; !bDone;) {
    const BOOL bPressed = m_rcButton.PtInRect(pt);
    if (bPressed != m_bPressed) {
      m_bPressed = bPressed;
      Redraw();
    }
    MSG msg;
    if (::GetMessage(&msg, nullptr, 0, 0) <= 0) {
      // The program is ending: leave the request for the loop that owns it.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (::GetCapture() != hWnd) {
      ::DispatchMessage(&msg);
      break;
    }
    switch (msg.message) {
    case WM_MOUSEMOVE:
      pt = CPoint(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
      if (!bClient) {
        ::ClientToScreen(hWnd, &pt);
        RECT rcWindow;
        ::GetWindowRect(hWnd, &rcWindow);
        pt.Offset(-rcWindow.left, -rcWindow.top);
      }
      break;
    case WM_LBUTTONUP:
      bResult = m_bPressed;
      bDone = TRUE;
      break;
    case WM_RBUTTONDOWN:
    case WM_CANCELMODE:
      bDone = TRUE;
      break;
    case WM_KEYDOWN:
      if (msg.wParam == VK_ESCAPE) bDone = TRUE;
      break;
    case WM_NCMOUSEMOVE:
      break;
    default:
      ::DispatchMessage(&msg);
    }
  }
  if (::GetCapture() == hWnd) ::ReleaseCapture();
  m_bPressed = FALSE;
  CheckForMouseOver(pt);
  Redraw();
  return bResult;
}

void CXTPDockingPaneCaptionButton::PressMenu(CXTPDockingPane *pPane, const CRect &rcScreen) {
  CXTPDockingPaneManager *pManager = m_pOwner != nullptr ? m_pOwner->GetDockingPaneManager() : nullptr;
  CWnd *pSite = pManager != nullptr ? pManager->GetSite() : nullptr;
  if (pPane == nullptr || pSite == nullptr) return;
  // Painted at once: the site's menu runs a loop of its own meanwhile.
  auto showPressed = [this](BOOL bPressed) {
    m_bPressed = bPressed;
    Redraw();
    if (HWND hWnd = m_pOwner->GetPaneHwnd()) ::UpdateWindow(hWnd);
  };
  showPressed(TRUE);
  XTP_DOCKINGPANE_CLICK click = {pPane, CPoint(rcScreen.left, rcScreen.bottom), rcScreen};
  pSite->SendMessage(WM_DOCKINGPANE_NOTIFY, XTP_DPN_CONTEXTMENU, reinterpret_cast<LPARAM>(&click));
  showPressed(FALSE);
}

CXTPDockingPaneCaptionButton *CXTPDockingPaneCaptionButtons::FindButton(int nID) const {
  for (const auto &pButton : m_arrButtons)
    if (pButton->GetID() == nID) return pButton.get();
  return nullptr;
}

BOOL CXTPDockingPaneCaptionButtons::CheckForMouseOver(CPoint pt) {
  BOOL bChanged = FALSE;
  for (const auto &pButton : m_arrButtons) {
    const BOOL bWas = pButton->IsSelected();
    pButton->CheckForMouseOver(pt);
    if (bWas != pButton->IsSelected()) bChanged = TRUE;
  }
  return bChanged;
}

// ---------------------------------------------------------------------------
// The base

CXTPDockingPaneBase::CXTPDockingPaneBase(XTPDockingPaneType type, CXTPDockingPaneLayout *pLayout)
    : m_pLayout(pLayout), m_type(type) {
  if (pLayout == nullptr) return;
  if (CXTPDockingPaneManager *pManager = pLayout->GetManager()) m_pDockingSite = pManager->GetSite();
  pLayout->AddObject(this);
}

CXTPDockingPaneBase::~CXTPDockingPaneBase() = default;

void CXTPDockingPaneBase::RedrawPane() {
  if (HWND hWnd = GetPaneHwnd()) ::InvalidateRect(hWnd, nullptr, FALSE);
}

void CXTPDockingPaneBase::FindPane(XTPDockingPaneType type, CXTPDockingPaneBaseList *pList) const {
  if (m_type == type) pList->push_back(const_cast<CXTPDockingPaneBase *>(this));
}

void CXTPDockingPaneBase::GetMinMaxInfo(LPMINMAXINFO pMinMaxInfo) const {
  ZeroMemory(pMinMaxInfo, sizeof(MINMAXINFO));
  pMinMaxInfo->ptMaxTrackSize = CPoint(32000, 32000);
}

void CXTPDockingPaneBase::OnSizeParent(CWnd *, CRect rect, LPVOID lParam) {
  m_rcWindow = rect;
  if (lParam != nullptr) static_cast<AFX_SIZEPARENTPARAMS *>(lParam)->rect = rect;
}

void CXTPDockingPaneBase::InvalidatePane(BOOL bSelectionChanged) {
  if (m_pParentContainer != nullptr) m_pParentContainer->InvalidatePane(bSelectionChanged);
}

BOOL CXTPDockingPaneBase::DoPropExchange(CXTPPropExchange *pPX) {
  long cx = m_szDocking.cx, cy = m_szDocking.cy;
  PX_Long(pPX, L"DockingCX", cx, 0);
  PX_Long(pPX, L"DockingCY", cy, 0);
  if (pPX->IsLoading()) m_szDocking = CSize(cx, cy);
  return TRUE;
}

CXTPDockingPaneBase *CXTPDockingPaneBase::Clone(CXTPDockingPaneLayout *pLayout, CPaneMap *pMap, DWORD) {
  CXTPDockingPaneBase *pClone = GetDockingPaneManager()->OnCreatePane(m_type, pLayout);
  if (pClone != nullptr) pClone->m_szDocking = m_szDocking;
  if (pMap != nullptr) pMap->emplace_back(this, pClone);
  return pClone;
}

BOOL CXTPDockingPaneBase::IsEmpty() const {
  if (m_type != xtpPaneTypeClient) return FALSE;
  CXTPDockingPaneManager *pManager = m_pLayout != nullptr ? m_pLayout->GetManager() : nullptr;
  return pManager != nullptr && pManager->m_bHideClient;
}

CXTPDockingPaneManager *CXTPDockingPaneBase::GetDockingPaneManager() const {
  ASSERT(m_pLayout != nullptr && m_pLayout->GetManager() != nullptr);
  return m_pLayout != nullptr ? m_pLayout->GetManager() : nullptr;
}

CXTPDockingPanePaintManager *CXTPDockingPaneBase::GetPaintManager() const {
  CXTPDockingPaneManager *pManager = GetDockingPaneManager();
  return pManager != nullptr ? pManager->GetPaintManager() : nullptr;
}

void CXTPDockingPaneBase::GetWindowRect(LPRECT lpRect) const {
  ASSERT(m_pDockingSite != nullptr);
  *lpRect = m_rcWindow;
  if (m_pDockingSite != nullptr && m_pDockingSite->GetSafeHwnd() != nullptr)
    m_pDockingSite->ClientToScreen(lpRect);
}

void CXTPDockingPaneBase::DelayRecalcSite() const {
  CWnd *pSite = m_pDockingSite;
  if (pSite != nullptr && pSite->GetSafeHwnd() != nullptr && pSite->IsFrameWnd())
    static_cast<CFrameWnd *>(pSite)->DelayRecalcLayout(TRUE);
}
