#include "XTPDockingPaneSplitterContainer.h"

#include <algorithm>
#include <cmath>

#include "FrameWnd.h"
#include "WindowDc.h"
#include "XTPDockingPaneLayout.h"
#include "XTPDockingPaneManager.h"
#include "XTPDockingPanePaintManager.h"
#include "XTPDrawHelpers.h"
#include "XTPPropExchange.h"

// ---------------------------------------------------------------------------
// Length arithmetic

namespace XTPSplitterLayout {

Totals Distribute(std::vector<Child> &arrChildren, int nRectLength, int nSplitter, BOOL bHideClient) {
  Totals totals;
  for (size_t i = 0; i < arrChildren.size(); i++) {
    Child &child = arrChildren[i];
    child.nLength = std::max(std::min(child.nDockingLength, child.nMax), child.nMin);
    if (totals.nFiller < 0 && child.bHoldsClient && (!bHideClient || child.bZeroDockingSize)) {
      totals.nFiller = static_cast<int>(i);
      child.nLength = 0;
    }
    totals.nTotal += child.nLength;
  }
  const int nBars = arrChildren.empty() ? 0 : static_cast<int>(arrChildren.size()) - 1;
  long long nAvailable = static_cast<long long>(nRectLength) - static_cast<long long>(nSplitter) * nBars;
  if (totals.nFiller >= 0 && totals.nTotal < nAvailable) {
    arrChildren[totals.nFiller].nLength = static_cast<int>(nAvailable - totals.nTotal);
    totals.nTotal = nAvailable;
  }
  // Children whose proportional share breaks their limits are fixed at the
  // limit one by one; after each, the shares of the rest are worked out again.
  BOOL bChanged = nAvailable > 0;
  while (bChanged) {
    bChanged = FALSE;
    for (Child &child : arrChildren) {
      if (child.nLength < 0) continue;
      if (totals.nTotal == 0) break;
      const long long nShare = nAvailable * child.nLength / totals.nTotal;
      int nFixed;
      if (nShare < child.nMin)
        nFixed = child.nMin;
      else if (nShare > child.nMax)
        nFixed = child.nMax;
      else
        continue;
      totals.nTotal -= child.nLength;
      nAvailable -= nFixed;
      if (nAvailable < 0) {
        // Too little room for the limit: the child gets what was left, never less than nothing.
        child.nLength = -std::max(0, static_cast<int>(nFixed + nAvailable));
        nAvailable = 0;
        break;
      }
      child.nLength = -nFixed;
      bChanged = TRUE;
      break;
    }
  }
  totals.nAvailable = static_cast<int>(std::max<long long>(nAvailable, INT_MIN));
  return totals;
}

std::vector<std::pair<int, int>> Place(const std::vector<Child> &arrChildren, const Totals &totals,
                                       int nStart, int nEnd, int nSplitter) {
  std::vector<std::pair<int, int>> arrPlaces;
  nEnd = std::max(nEnd, nStart);
  long long nAvailable = std::max(totals.nAvailable, 0);
  long long nTotal = totals.nTotal;
  long long nPos = nStart;
  for (size_t i = 0; i < arrChildren.size(); i++) {
    const Child &child = arrChildren[i];
    long long nLength;
    if (child.nLength > 0) {
      nLength = nTotal != 0 ? nAvailable * child.nLength / nTotal : 0;
      nLength = std::max(0LL, nLength);
      nTotal -= child.nLength;
      nAvailable = std::max(0LL, nAvailable - nLength);
    } else {
      nLength = -static_cast<long long>(child.nLength);
    }
    const int nFrom = static_cast<int>(std::min<long long>(nPos, nEnd));
    const int nTo =
        i + 1 == arrChildren.size() ? nEnd : static_cast<int>(std::min<long long>(nFrom + nLength, nEnd));
    arrPlaces.emplace_back(nFrom, nTo);
    nPos = static_cast<long long>(nTo) + nSplitter;
  }
  return arrPlaces;
}

Limits DragLimits(int nUnionStart, int nUnionEnd, int nMinBefore, int nMaxBefore, int nMinAfter,
                  int nMaxAfter, int nMinPaneLength, int nSplitter) {
  Limits limits;
  limits.nNear = nUnionStart + std::max(nMinPaneLength, nMinBefore);
  limits.nFar = nUnionEnd - std::max(nMinPaneLength, nMinAfter + nSplitter);
  const int nExtent = nUnionEnd - nUnionStart;
  if (nMaxBefore < nExtent) limits.nFar = std::min(limits.nFar, nUnionStart + nMaxBefore);
  if (nMaxAfter < nExtent) limits.nNear = std::max(limits.nNear, nUnionEnd - nMaxAfter - nSplitter);
  return limits;
}

std::pair<int, int> ApplyMove(int nBarNear, int nUnionStart, int nUnionExtent, int nLengthBefore,
                              int nLengthAfter, int nSplitter, BOOL bRTL) {
  if (nUnionExtent <= 0) return {nLengthBefore, nLengthAfter};
  const double dRatio = static_cast<double>(nBarNear - nUnionStart) / nUnionExtent;
  const int nSum = nLengthBefore + nLengthAfter + nSplitter;
  const int nPart = static_cast<int>(std::trunc(nSum * dRatio));
  const int nBefore = bRTL ? nSum - nPart - nSplitter : nPart;
  return {nBefore, nSum - nBefore - nSplitter};
}

} // namespace XTPSplitterLayout

namespace {

int AlongAxis(const POINT &pt, BOOL bHoriz) {
  return bHoriz ? pt.x : pt.y;
}
int AlongAxis(const SIZE &sz, BOOL bHoriz) {
  return bHoriz ? sz.cx : sz.cy;
}

void SetAlongAxis(CSize &sz, BOOL bHoriz, int nLength) {
  (bHoriz ? sz.cx : sz.cy) = nLength;
}

} // namespace

// ---------------------------------------------------------------------------
// The bar window

BOOL CXTPDockingPaneSplitterWnd::Create(CXTPDockingPaneSplitterContainer *pContainer,
                                        CXTPDockingPaneBase *pFirst, CXTPDockingPaneBase *pSecond) {
  m_pContainer = pContainer;
  m_pFirst = pFirst;
  m_pSecond = pSecond;
  const UINT nCursor = pContainer->IsHoriz() ? XTP_IDC_HSPLITBAR : XTP_IDC_VSPLITBAR;
  HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCE(nCursor), RT_GROUP_CURSOR);
  m_hCursor = ::LoadCursor(hInst, MAKEINTRESOURCE(nCursor));
  if (m_hCursor == nullptr)
    m_hCursor = ::LoadCursor(nullptr, pContainer->IsHoriz() ? IDC_SIZEWE : IDC_SIZENS);
  CWnd *pSite = pContainer->GetDockingSite();
  return CreateEx(0, AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), nullptr), L"",
                  WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), pSite, 0);
}

BOOL CXTPDockingPaneSplitterWnd::IsHorizontal() const {
  return m_pContainer->IsHoriz();
}

LRESULT CXTPDockingPaneSplitterWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_PAINT: {
    CPaintDC dc(this);
    if (CXTPDockingPanePaintManager *pPaint = m_pContainer->GetPaintManager())
      pPaint->DrawSplitter(&dc, this);
    return 0;
  }
  case WM_ERASEBKGND:
    return TRUE;
  case WM_SETCURSOR:
    if (LOWORD(lParam) == HTCLIENT && !m_pContainer->GetDockingPaneManager()->m_bLockSplitters) {
      ::SetCursor(m_hCursor);
      return TRUE;
    }
    break;
  case WM_LBUTTONDOWN:
    OnLButtonDown(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
    return 0;
  default:
    break;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

void CXTPDockingPaneSplitterWnd::OnLButtonDown(CPoint pt) {
  CXTPDockingPaneManager *pManager = m_pContainer->GetDockingPaneManager();
  if (pManager->m_bLockSplitters) return;
  const BOOL bHoriz = IsHorizontal();
  CRect rcBar;
  GetWindowRect(&rcBar);
  ClientToScreen(&pt);

  // Each child keeps the length it shows now; only the two beside the bar change.
  for (CXTPDockingPaneBase *pChild : m_pContainer->GetPanes()) {
    if (pChild->IsEmpty()) continue;
    CRect rc;
    pChild->GetWindowRect(&rc);
    CSize sz = pChild->GetDockingSize();
    SetAlongAxis(sz, bHoriz, bHoriz ? rc.Width() : rc.Height());
    pChild->SetDockingSize(sz);
  }
  CRect rcContainer;
  m_pContainer->GetWindowRect(&rcContainer);
  CSize szContainer = m_pContainer->GetDockingSize();
  SetAlongAxis(szContainer, bHoriz, bHoriz ? rcContainer.Width() : rcContainer.Height());
  m_pContainer->SetDockingSize(szContainer);

  CRect rcFirst, rcSecond, rcUnion;
  m_pFirst->GetWindowRect(&rcFirst);
  m_pSecond->GetWindowRect(&rcSecond);
  rcUnion.UnionRect(&rcFirst, &rcSecond);
  MINMAXINFO mmiFirst, mmiSecond;
  m_pFirst->GetMinMaxInfo(&mmiFirst);
  m_pSecond->GetMinMaxInfo(&mmiSecond);
  const int nSplitter = m_pContainer->GetSplitterSize();
  const XTPSplitterLayout::Limits limits = XTPSplitterLayout::DragLimits(
      AlongAxis(rcUnion.TopLeft(), bHoriz), AlongAxis(rcUnion.BottomRight(), bHoriz),
      AlongAxis(mmiFirst.ptMinTrackSize, bHoriz), AlongAxis(mmiFirst.ptMaxTrackSize, bHoriz),
      AlongAxis(mmiSecond.ptMinTrackSize, bHoriz), AlongAxis(mmiSecond.ptMaxTrackSize, bHoriz),
      pManager->m_nSplitterGap, nSplitter);
  CRect rcAvail = rcUnion;
  if (bHoriz) {
    rcAvail.left = limits.nNear;
    rcAvail.right = limits.nFar;
  } else {
    rcAvail.top = limits.nNear;
    rcAvail.bottom = limits.nFar;
  }

  if (pManager->m_bSplitterTracker) {
    CXTPSplitterTracker tracker;
    CRect rcTrack = rcBar;
    if (tracker.Track(this, rcAvail, rcTrack, pt, bHoriz) && rcTrack != rcBar) {
      Move(AlongAxis(rcTrack.TopLeft(), bHoriz), rcUnion);
      if (CWnd *pSite = m_pContainer->GetDockingSite())
        if (pSite->IsFrameWnd()) static_cast<CFrameWnd *>(pSite)->RecalcLayout();
    }
    return;
  }

  // Live: the bar and its neighbours follow the mouse.
  SetCapture();
  const int nOffset = AlongAxis(rcBar.TopLeft(), bHoriz) - AlongAxis(pt, bHoriz);
  int nBarNear = AlongAxis(rcBar.TopLeft(), bHoriz);
  while (::GetCapture() == m_hWnd) {
    MSG msg;
    while (::PeekMessage(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) ::DispatchMessage(&msg);
    const BOOL bGot = ::GetMessage(&msg, nullptr, 0, 0);
    if (bGot <= 0) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_MOUSEMOVE) {
      CPoint ptMove(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
      ::ClientToScreen(msg.hwnd, &ptMove);
      const int nNew =
          std::clamp(AlongAxis(ptMove, bHoriz) + nOffset, limits.nNear, std::max(limits.nNear, limits.nFar));
      if (nNew == nBarNear) continue;
      nBarNear = nNew;
      Move(nBarNear, rcUnion);
      if (CWnd *pSite = m_pContainer->GetDockingSite())
        if (pSite->IsFrameWnd()) static_cast<CFrameWnd *>(pSite)->RecalcLayout();
    } else if ((msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) || msg.message == WM_LBUTTONUP) {
      break;
    } else {
      ::DispatchMessage(&msg);
    }
  }
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
}

void CXTPDockingPaneSplitterWnd::Move(int nBarNear, const CRect &rcUnion) {
  const BOOL bHoriz = IsHorizontal();
  const int nSplitter = m_pContainer->GetSplitterSize();
  CSize szFirst = m_pFirst->GetDockingSize(), szSecond = m_pSecond->GetDockingSize();
  const BOOL bRTL = bHoriz && (GetExStyle() & WS_EX_LAYOUTRTL) != 0;
  const auto lengths = XTPSplitterLayout::ApplyMove(
      nBarNear, AlongAxis(rcUnion.TopLeft(), bHoriz), bHoriz ? rcUnion.Width() : rcUnion.Height(),
      AlongAxis(szFirst, bHoriz), AlongAxis(szSecond, bHoriz), nSplitter, bRTL);
  SetAlongAxis(szFirst, bHoriz, lengths.first);
  SetAlongAxis(szSecond, bHoriz, lengths.second);
  m_pFirst->SetDockingSize(szFirst);
  m_pSecond->SetDockingSize(szSecond);
}

// ---------------------------------------------------------------------------
// The container

CXTPDockingPaneSplitterContainer::CXTPDockingPaneSplitterContainer(CXTPDockingPaneLayout *pLayout)
    : CXTPDockingPaneBase(xtpPaneTypeSplitterContainer, pLayout) {}

CXTPDockingPaneSplitterContainer::~CXTPDockingPaneSplitterContainer() = default;

int CXTPDockingPaneSplitterContainer::GetSplitterSize() const {
  CXTPDockingPaneManager *pManager = m_pLayout != nullptr ? m_pLayout->GetManager() : nullptr;
  return pManager != nullptr && pManager->GetPaintManager() != nullptr
             ? pManager->GetPaintManager()->GetSplitterSize()
             : 4;
}

void CXTPDockingPaneSplitterContainer::Init(CXTPDockingPaneBase *pPane, BOOL bHoriz, CWnd *pFrame) {
  ASSERT(pPane != nullptr);
  m_bHoriz = bHoriz;
  m_pDockingSite = pFrame;
  _InsertPane(pPane);
  m_szDocking = pPane->GetDockingSize();
}

void CXTPDockingPaneSplitterContainer::NotifyInserted(CXTPDockingPaneBase *pPane) {
  pPane->SetParentContainer(this);
  pPane->SetDockingSite(m_pDockingSite);
  DelayRecalcSite();
  RecreateSplitters();
  if (m_pParentContainer != nullptr) m_pParentContainer->OnChildContainerChanged(this);
  pPane->OnParentContainerChanged(this);
}

void CXTPDockingPaneSplitterContainer::_InsertPane(CXTPDockingPaneBase *pPane,
                                                   CXTPDockingPaneBase *pNeighbour, BOOL bAfter) {
  auto it = std::find(m_lstPanes.begin(), m_lstPanes.end(), pNeighbour);
  if (pNeighbour == nullptr || it == m_lstPanes.end())
    it = bAfter ? m_lstPanes.end() : m_lstPanes.begin();
  else if (bAfter)
    ++it;
  m_lstPanes.insert(it, pPane);
  NotifyInserted(pPane);
}

void CXTPDockingPaneSplitterContainer::_Replace(CXTPDockingPaneBase *pOld, CXTPDockingPaneBase *pNew) {
  auto it = std::find(m_lstPanes.begin(), m_lstPanes.end(), pOld);
  ASSERT(pNew != nullptr && it != m_lstPanes.end());
  if (pNew == nullptr || it == m_lstPanes.end()) return;
  *it = pNew;
  pNew->SetParentContainer(this);
  pNew->SetDockingSite(m_pDockingSite);
  RecreateSplitters();
  if (m_pParentContainer != nullptr) m_pParentContainer->OnChildContainerChanged(this);
  pNew->OnParentContainerChanged(this);
}

void CXTPDockingPaneSplitterContainer::RemovePane(CXTPDockingPaneBase *pPane) {
  auto it = std::find(m_lstPanes.begin(), m_lstPanes.end(), pPane);
  ASSERT(it != m_lstPanes.end());
  if (it == m_lstPanes.end()) return;
  m_lstPanes.erase(it);
  RecreateSplitters();
  DelayRecalcSite();
  if (m_pParentContainer != nullptr) m_pParentContainer->OnChildContainerChanged(this);
  if (m_lstPanes.empty() && m_pParentContainer != nullptr) m_pParentContainer->RemovePane(this);
  pPane->SetParentContainer(nullptr);
}

void CXTPDockingPaneSplitterContainer::OnChildContainerChanged(CXTPDockingPaneBase *) {
  if (m_pParentContainer != nullptr) m_pParentContainer->OnChildContainerChanged(this);
  RecreateSplitters();
  DelayRecalcSite();
}

void CXTPDockingPaneSplitterContainer::OnParentContainerChanged(CXTPDockingPaneBase *pContainer) {
  m_pDockingSite = pContainer->GetDockingSite();
  RecreateSplitters();
  for (CXTPDockingPaneBase *pChild : m_lstPanes) pChild->OnParentContainerChanged(this);
}

BOOL CXTPDockingPaneSplitterContainer::ContainsPane(CXTPDockingPaneBase *pPane) const {
  if (pPane == this) return TRUE;
  for (CXTPDockingPaneBase *pChild : m_lstPanes)
    if (pChild->ContainsPane(pPane)) return TRUE;
  return FALSE;
}

void CXTPDockingPaneSplitterContainer::FindPane(XTPDockingPaneType type,
                                                CXTPDockingPaneBaseList *pList) const {
  for (CXTPDockingPaneBase *pChild : m_lstPanes) {
    if (pChild->IsEmpty()) continue;
    if (pChild->GetType() == type)
      pList->push_back(pChild);
    else
      pChild->FindPane(type, pList);
  }
}

BOOL CXTPDockingPaneSplitterContainer::IsEmpty() const {
  for (CXTPDockingPaneBase *pChild : m_lstPanes)
    if (!pChild->IsEmpty()) return FALSE;
  return TRUE;
}

CXTPDockingPaneBase *CXTPDockingPaneSplitterContainer::Clone(CXTPDockingPaneLayout *pLayout, CPaneMap *pMap,
                                                             DWORD dwIgnoredOptions) {
  CXTPDockingPaneManager *pManager = GetDockingPaneManager();
  auto *pClone = static_cast<CXTPDockingPaneSplitterContainer *>(
      pManager->OnCreatePane(xtpPaneTypeSplitterContainer, pLayout));
  pClone->m_bHoriz = m_bHoriz;
  pClone->m_pDockingSite = pManager->GetSite();
  for (CXTPDockingPaneBase *pChild : m_lstPanes) {
    if (pChild->IsEmpty() && pMap == nullptr) continue;
    if (CXTPDockingPaneBase *pChildClone = pChild->Clone(pLayout, pMap, dwIgnoredOptions))
      pClone->_InsertPane(pChildClone);
  }
  pClone->m_szDocking = m_szDocking;
  pClone->m_rcWindow = m_rcWindow;
  if (pMap != nullptr) pMap->emplace_back(this, pClone);
  return pClone;
}

void CXTPDockingPaneSplitterContainer::GetMinMaxInfo(LPMINMAXINFO pMinMaxInfo) const {
  CXTPDockingPaneBase::GetMinMaxInfo(pMinMaxInfo);
  int nVisible = 0;
  for (CXTPDockingPaneBase *pChild : m_lstPanes) {
    if (pChild->IsEmpty()) continue;
    MINMAXINFO mmi;
    pChild->GetMinMaxInfo(&mmi);
    if (nVisible++ == 0) {
      *pMinMaxInfo = mmi;
      continue;
    }
    LONG &nMinAlong = m_bHoriz ? pMinMaxInfo->ptMinTrackSize.x : pMinMaxInfo->ptMinTrackSize.y;
    LONG &nMaxAlong = m_bHoriz ? pMinMaxInfo->ptMaxTrackSize.x : pMinMaxInfo->ptMaxTrackSize.y;
    LONG &nMinAcross = m_bHoriz ? pMinMaxInfo->ptMinTrackSize.y : pMinMaxInfo->ptMinTrackSize.x;
    LONG &nMaxAcross = m_bHoriz ? pMinMaxInfo->ptMaxTrackSize.y : pMinMaxInfo->ptMaxTrackSize.x;
    nMinAlong += m_bHoriz ? mmi.ptMinTrackSize.x : mmi.ptMinTrackSize.y;
    nMaxAlong += m_bHoriz ? mmi.ptMaxTrackSize.x : mmi.ptMaxTrackSize.y;
    nMinAcross = std::max(nMinAcross, m_bHoriz ? mmi.ptMinTrackSize.y : mmi.ptMinTrackSize.x);
    nMaxAcross = std::min(nMaxAcross, m_bHoriz ? mmi.ptMaxTrackSize.y : mmi.ptMaxTrackSize.x);
  }
  if (nVisible > 0) {
    const int nBars = GetSplitterSize() * (nVisible - 1);
    (m_bHoriz ? pMinMaxInfo->ptMinTrackSize.x : pMinMaxInfo->ptMinTrackSize.y) += nBars;
    (m_bHoriz ? pMinMaxInfo->ptMaxTrackSize.x : pMinMaxInfo->ptMaxTrackSize.y) += nBars;
  }
}

std::vector<XTPSplitterLayout::Child>
CXTPDockingPaneSplitterContainer::MeasureChildren(const CXTPDockingPaneBaseList &lst, BOOL bHoriz,
                                                  CXTPDockingPaneBase *pClient) {
  std::vector<XTPSplitterLayout::Child> arrChildren;
  for (CXTPDockingPaneBase *pChild : lst) {
    MINMAXINFO mmi;
    pChild->GetMinMaxInfo(&mmi);
    XTPSplitterLayout::Child child;
    child.nDockingLength = AlongAxis(pChild->GetDockingSize(), bHoriz);
    child.nMin = AlongAxis(mmi.ptMinTrackSize, bHoriz);
    child.nMax = AlongAxis(mmi.ptMaxTrackSize, bHoriz);
    child.bHoldsClient = pClient != nullptr && pChild->ContainsPane(pClient);
    child.bZeroDockingSize = pChild->GetDockingSize() == CSize(0, 0);
    arrChildren.push_back(child);
  }
  return arrChildren;
}

void CXTPDockingPaneSplitterContainer::OnSizeParent(CWnd *pParent, CRect rect, LPVOID lParam) {
  m_pDockingSite = pParent;
  m_rcWindow = rect;
  CXTPDockingPaneManager *pManager = m_pLayout != nullptr ? m_pLayout->GetManager() : nullptr;
  const BOOL bHideClient = pManager != nullptr && pManager->m_bHideClient;
  CXTPDockingPaneBaseList lstVisible;
  for (CXTPDockingPaneBase *pChild : m_lstPanes)
    if (!pChild->IsEmpty()) lstVisible.push_back(pChild);
  CXTPDockingPaneBase *pClient = m_pLayout != nullptr ? m_pLayout->GetClientPane() : nullptr;
  if (bHideClient && pClient != nullptr && ContainsPane(pClient) && !lstVisible.empty())
    pClient->OnSizeParent(pParent, CRect(0, 0, 0, 0), lParam);

  if (lstVisible.empty()) return;
  if (lstVisible.size() == 1) {
    lstVisible[0]->OnSizeParent(pParent, rect, lParam);
    return;
  }
  if (m_bRecalcLayout) return;
  m_bRecalcLayout = TRUE;

  const int nSplitter = GetSplitterSize();
  std::vector<XTPSplitterLayout::Child> arrChildren = MeasureChildren(lstVisible, m_bHoriz, pClient);
  const XTPSplitterLayout::Totals totals = XTPSplitterLayout::Distribute(
      arrChildren, m_bHoriz ? rect.Width() : rect.Height(), nSplitter, bHideClient);
  for (size_t i = 0; i < lstVisible.size(); i++) lstVisible[i]->SetLength(arrChildren[i].nLength);
  if (totals.nFiller >= 0) {
    CSize sz(0, 0);
    if (arrChildren[totals.nFiller].nLength > 0)
      SetAlongAxis(sz, m_bHoriz, arrChildren[totals.nFiller].nLength);
    lstVisible[totals.nFiller]->SetDockingSize(sz);
  }
  const auto arrPlaces = XTPSplitterLayout::Place(arrChildren, totals, m_bHoriz ? rect.left : rect.top,
                                                  m_bHoriz ? rect.right : rect.bottom, nSplitter);
  auto *pLayout = static_cast<AFX_SIZEPARENTPARAMS *>(lParam);
  for (size_t i = 0; i < lstVisible.size(); i++) {
    CRect rcChild = rect;
    (m_bHoriz ? rcChild.left : rcChild.top) = arrPlaces[i].first;
    (m_bHoriz ? rcChild.right : rcChild.bottom) = arrPlaces[i].second;
    lstVisible[i]->OnSizeParent(pParent, rcChild, lParam);
    if (i + 1 == lstVisible.size()) break;
    CRect rcBar = rect;
    (m_bHoriz ? rcBar.left : rcBar.top) = arrPlaces[i].second;
    (m_bHoriz ? rcBar.right : rcBar.bottom) =
        std::min(arrPlaces[i].second + nSplitter, arrPlaces[i + 1].first);
    if (pLayout == nullptr || pLayout->hDWP == nullptr) continue;
    for (const auto &pBar : m_lstSpliters) {
      if (pBar->GetPaneBefore() != lstVisible[i] || pBar->GetPaneAfter() != lstVisible[i + 1]) continue;
      if (pBar->GetSafeHwnd() == nullptr) break;
      pBar->SetWindowPos(&CWnd::wndBottom, rcBar.left, rcBar.top, rcBar.Width(), rcBar.Height(),
                         SWP_NOACTIVATE);
      pBar->Invalidate(FALSE);
    }
  }
  m_bRecalcLayout = FALSE;
}

void CXTPDockingPaneSplitterContainer::RecreateSplitters() {
  if (m_bRecalcLayout) return;
  m_lstSpliters.clear();
  if (m_lstPanes.size() < 2 || m_pLayout == nullptr || m_pLayout->IsUserLayout()) return;
  if (m_pDockingSite == nullptr || m_pDockingSite->GetSafeHwnd() == nullptr) return;
  CXTPDockingPaneBase *pPrevious = nullptr;
  for (CXTPDockingPaneBase *pChild : m_lstPanes) {
    if (pChild->IsEmpty()) continue;
    if (pPrevious != nullptr) {
      std::unique_ptr<CXTPDockingPaneSplitterWnd> pBar(CreateSplitter());
      if (pBar->Create(this, pPrevious, pChild)) m_lstSpliters.push_back(std::move(pBar));
    }
    pPrevious = pChild;
  }
}

CRect CXTPDockingPaneSplitterContainer::PreviewRect(const CXTPDockingPaneBaseList &lst, BOOL bHoriz,
                                                    const CRect &rcScreen, CXTPDockingPaneBase *pTarget,
                                                    CXTPDockingPaneManager *pManager) {
  CXTPDockingPaneLayout *pLayout = pManager != nullptr ? pManager->GetLayout() : nullptr;
  CXTPDockingPaneBase *pClient = pLayout != nullptr ? pLayout->GetClientPane() : nullptr;
  const BOOL bHideClient = pManager != nullptr && pManager->m_bHideClient;
  const int nSplitter = pManager != nullptr && pManager->GetPaintManager() != nullptr
                            ? pManager->GetPaintManager()->GetSplitterSize()
                            : 4;
  std::vector<XTPSplitterLayout::Child> arrChildren = MeasureChildren(lst, bHoriz, pClient);
  const auto totals = XTPSplitterLayout::Distribute(
      arrChildren, bHoriz ? rcScreen.Width() : rcScreen.Height(), nSplitter, bHideClient);
  const auto arrPlaces = XTPSplitterLayout::Place(arrChildren, totals, bHoriz ? rcScreen.left : rcScreen.top,
                                                  bHoriz ? rcScreen.right : rcScreen.bottom, nSplitter);
  CRect rc = rcScreen;
  for (size_t i = 0; i < lst.size(); i++) {
    if (lst[i] != pTarget) continue;
    (bHoriz ? rc.left : rc.top) = arrPlaces[i].first;
    (bHoriz ? rc.right : rc.bottom) = arrPlaces[i].second;
  }
  return rc;
}

void CXTPDockingPaneSplitterContainer::CalcPaneRect(CRect &rc, CXTPDockingPaneBase *pPane,
                                                    XTPDockingPaneDirection direction,
                                                    CXTPDockingPaneBase *pNeighbour) const {
  CXTPDockingPaneBaseList lst;
  for (CXTPDockingPaneBase *pChild : m_lstPanes)
    if (!pChild->IsEmpty() && pChild != pPane) lst.push_back(pChild);
  const BOOL bAfter = direction == xtpPaneDockRight || direction == xtpPaneDockBottom;
  auto it = std::find(lst.begin(), lst.end(), pNeighbour);
  if (it == lst.end())
    it = bAfter ? lst.end() : lst.begin();
  else if (bAfter)
    ++it;
  lst.insert(it, pPane);
  CRect rcScreen;
  GetWindowRect(&rcScreen);
  rc = PreviewRect(lst, m_bHoriz, rcScreen, pPane, m_pLayout != nullptr ? m_pLayout->GetManager() : nullptr);
}

void CXTPDockingPaneSplitterContainer::CalcPaneRectBeside(CRect &rc, CXTPDockingPaneBase *pObject,
                                                          CXTPDockingPaneBase *pPane,
                                                          XTPDockingPaneDirection direction) {
  const BOOL bAfter = direction == xtpPaneDockRight || direction == xtpPaneDockBottom;
  const BOOL bHoriz = direction == xtpPaneDockLeft || direction == xtpPaneDockRight;
  const CXTPDockingPaneBaseList lst =
      bAfter ? CXTPDockingPaneBaseList{pObject, pPane} : CXTPDockingPaneBaseList{pPane, pObject};
  CRect rcScreen;
  pObject->GetWindowRect(&rcScreen);
  CXTPDockingPaneLayout *pLayout = pObject->GetLayout();
  rc = PreviewRect(lst, bHoriz, rcScreen, pPane, pLayout != nullptr ? pLayout->GetManager() : nullptr);
}

void CXTPDockingPaneSplitterContainer::GetPanesByType(XTPDockingPaneType type,
                                                      CXTPDockingPaneBaseList *pList) const {
  for (CXTPDockingPaneBase *pChild : m_lstPanes)
    if (pChild->GetType() == type && !pChild->IsEmpty()) pList->push_back(pChild);
}

BOOL CXTPDockingPaneSplitterContainer::IsChildBefore(CXTPDockingPaneBase *pChild,
                                                     CXTPDockingPaneBase *pPosition) const {
  for (CXTPDockingPaneBase *pEntry : m_lstPanes) {
    if (pEntry == pPosition) return FALSE;
    if (pEntry == pChild) return TRUE;
  }
  return FALSE;
}

BOOL CXTPDockingPaneSplitterContainer::DoPropExchange(CXTPPropExchange *pPX) {
  CXTPDockingPaneBase::DoPropExchange(pPX);
  PX_Bool(pPX, L"Horiz", m_bHoriz, FALSE);
  int nCount = static_cast<int>(m_lstPanes.size());
  PX_Int(pPX, L"Panes", nCount, 0);
  if (pPX->IsStoring()) {
    CXTPDockingPaneLayoutLoader::StoreChildren(pPX, m_lstPanes);
    return TRUE;
  }
  // Indices come from outside: each must name an object that may stand in a
  // splitter, that has no container yet and that does not hold this one.
  auto *pLoader = reinterpret_cast<CXTPDockingPaneLayoutLoader *>(pPX->m_dwData);
  if (pLoader == nullptr || nCount < 1 || nCount > pLoader->GetCount()) return FALSE;
  for (int i = 0; i < nCount; i++) {
    CXTPDockingPaneBase *pChild = pLoader->LoadChild(pPX, i, this);
    if (pChild == nullptr) return FALSE;
    const XTPDockingPaneType type = pChild->GetType();
    if (type != xtpPaneTypeTabbedContainer && type != xtpPaneTypeSplitterContainer &&
        type != xtpPaneTypeClient)
      return FALSE;
    _InsertPane(pChild);
  }
  return TRUE;
}
