#include "XTPDockBar.h"

#include <algorithm>

#include "FrameWnd.h"
#include "WindowDc.h"
#include "XTPCommandBar.h"
#include "XTPCommandBars.h"
#include "XTPPaintManager.h"
#include "XTPToolBar.h"

IMPLEMENT_DYNAMIC(CXTPDockBar, CWnd)

BEGIN_MESSAGE_MAP(CXTPDockBar, CWnd)
ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
ON_WM_PAINT()
ON_MESSAGE(WM_PRINT, OnPrint)
ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

CXTPDockBar::CXTPDockBar(CXTPCommandBars *pCommandBars) : m_pCommandBars(pCommandBars) {}

CXTPDockBar::~CXTPDockBar() = default;

BOOL CXTPDockBar::Create(CWnd *pParentWnd, DWORD dwStyle, UINT nID) {
  ASSERT(dynamic_cast<CFrameWnd *>(pParentWnd) != nullptr);
  m_dwDockStyle = dwStyle & 0x40ffff;
  LPCTSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), nullptr);
  return CWnd::Create(lpszClass, nullptr, dwStyle, CRect(0, 0, 0, 0), pParentWnd, nID);
}

BOOL CXTPDockBar::PreCreateWindow(CREATESTRUCT &cs) {
  if (!CWnd::PreCreateWindow(cs)) return FALSE;
  cs.style |= WS_CLIPSIBLINGS;
  return TRUE;
}

int CXTPDockBar::GetPosition() const {
  if (m_dwDockStyle & kDockStyleTop) return xtpBarTop;
  if (m_dwDockStyle & kDockStyleBottom) return xtpBarBottom;
  if (m_dwDockStyle & kDockStyleLeft) return xtpBarLeft;
  return xtpBarRight;
}

CXTPDockBar *CXTPDockBar::FromBar(const CXTPCommandBar *pBar) {
  if (pBar == nullptr || pBar->GetSafeHwnd() == nullptr) return nullptr;
  return dynamic_cast<CXTPDockBar *>(CWnd::FromHandlePermanent(::GetParent(pBar->GetSafeHwnd())));
}

DWORD CXTPDockBar::GetDockFlags(BOOL bHorizontal, const CXTPCommandBar *pBar) const {
  // Bars wrap unless customise mode runs with its copy clear.
  const BOOL bWrapAllowed = m_pCommandBars == nullptr || !m_pCommandBars->IsCustomizeMode() ||
                            m_pCommandBars->IsCustomizeModeCopy();
  return XTPDockGetDockFlags(bHorizontal, pBar->GetFlags(), bWrapAllowed);
}

int CXTPDockBar::FindBar(const CXTPCommandBar *pBar, int nExclude) const {
  return XTPDockFindBar(m_entries, pBar, nExclude);
}

void CXTPDockBar::RecalcParentLayout() {
  if (CFrameWnd *pFrame = dynamic_cast<CFrameWnd *>(GetParent())) pFrame->DelayRecalcLayout(TRUE);
}

void CXTPDockBar::FixFullRowBars() {
  XTPDockFixFullRowBars<CXTPCommandBar>(
      m_entries, [](const CXTPCommandBar *pBar) { return (pBar->GetFlags() & kDockBarFlagFullRow) != 0; });
}

void CXTPDockBar::DockCommandBar(CXTPCommandBar *pBar, LPCRECT lpRect) {
  ASSERT(pBar != nullptr && pBar->GetType() != xtpBarTypePopup);
  const int nOld = FindBar(pBar);
  if (nOld >= 0) {
    if (lpRect == nullptr) return;
    CRect rcWindow;
    pBar->GetWindowRect(&rcWindow);
    if (rcWindow == CRect(lpRect)) return;
  }
  int nNew;
  if (lpRect != nullptr) {
    CRect rc(lpRect);
    ScreenToClient(&rc);
    const BOOL bHorizontal = IsHorizontal();
    const int nCentre = bHorizontal ? rc.top + rc.Height() / 2 : rc.left + rc.Width() / 2;
    nNew = XTPDockInsertBar<CXTPCommandBar>(m_entries, pBar, nCentre,
                                            [this, bHorizontal](const CXTPCommandBar *p, int &nFar) {
                                              if (!p->IsVisible() || p->GetSafeHwnd() == nullptr)
                                                return FALSE;
                                              CRect rcBar;
                                              p->GetWindowRect(&rcBar);
                                              ScreenToClient(&rcBar);
                                              nFar = bHorizontal ? rcBar.bottom : rcBar.right;
                                              return TRUE;
                                            });
    m_dockRects[pBar] = rc;
  } else {
    m_entries.push_back(pBar);
    m_entries.push_back(nullptr);
    nNew = static_cast<int>(m_entries.size()) - 2;
    m_dockRects[pBar] = CRect(0, 0, 0, 0);
  }
  if (pBar->GetSafeHwnd() != nullptr && ::GetParent(pBar->GetSafeHwnd()) != m_hWnd) {
    CXTPDockBar *pOther = FromBar(pBar);
    ::SetParent(pBar->GetSafeHwnd(), m_hWnd);
    if (pOther != nullptr && pOther != this) pOther->RemoveCommandBar(pBar);
  }
  if (nOld >= 0) XTPDockRemoveEntry(m_entries, static_cast<const CXTPCommandBar *>(pBar), nNew);
  pBar->StorePosition(static_cast<XTPBarPosition>(GetPosition()));
  FixFullRowBars();
  RecalcParentLayout();
}

void CXTPDockBar::LoadEntries(const std::vector<CXTPCommandBar *> &entries) {
  std::vector<CXTPCommandBar *> loaded{nullptr};
  for (CXTPCommandBar *pBar : entries) {
    if (pBar == nullptr || pBar->GetType() == xtpBarTypePopup) {
      // Damaged or older layouts hold empty rows; one null ends a row.
      if (loaded.back() != nullptr) loaded.push_back(nullptr);
      continue;
    }
    // A bar listed twice keeps its first place.
    if (std::find(loaded.begin(), loaded.end(), pBar) != loaded.end()) continue;
    if (pBar->GetSafeHwnd() != nullptr && ::GetParent(pBar->GetSafeHwnd()) != m_hWnd) {
      CXTPDockBar *pOther = FromBar(pBar);
      ::SetParent(pBar->GetSafeHwnd(), m_hWnd);
      if (pOther != nullptr && pOther != this) pOther->RemoveCommandBar(pBar);
    }
    pBar->StorePosition(static_cast<XTPBarPosition>(GetPosition()));
    m_dockRects.emplace(pBar, CRect(0, 0, 0, 0));
    loaded.push_back(pBar);
  }
  if (loaded.back() != nullptr) loaded.push_back(nullptr);
  for (CXTPCommandBar *pBar : m_entries) {
    if (pBar == nullptr || std::find(loaded.begin(), loaded.end(), pBar) != loaded.end()) continue;
    loaded.push_back(pBar);
    loaded.push_back(nullptr);
  }
  m_entries.swap(loaded);
  FixFullRowBars();
  RecalcParentLayout();
}

void CXTPDockBar::SetBarPlace(const CXTPCommandBar *pBar, const CRect &rc) {
  if (FindBar(pBar) < 0) return;
  m_dockRects[pBar] = rc;
  RecalcParentLayout();
}

void CXTPDockBar::RemoveCommandBar(CXTPCommandBar *pBar, int nKeep) {
  if (!XTPDockRemoveEntry(m_entries, static_cast<const CXTPCommandBar *>(pBar), nKeep)) return;
  if (FindBar(pBar) < 0) m_dockRects.erase(pBar);
  RecalcParentLayout();
}

void CXTPDockBar::GetVisibleToolbars(int nIndex, std::vector<CXTPCommandBar *> &bars) const {
  ASSERT(nIndex > 0 && nIndex < static_cast<int>(m_entries.size()) && m_entries[nIndex] != nullptr);
  while (nIndex > 0 && m_entries[nIndex - 1] != nullptr) nIndex--;
  std::vector<std::pair<int, CXTPCommandBar *>> row;
  for (size_t i = nIndex; i < m_entries.size() && m_entries[i] != nullptr; i++) {
    CXTPCommandBar *pBar = m_entries[i];
    if (!pBar->IsVisible() || pBar->GetType() != xtpBarTypeNormal) continue;
    CRect rc;
    pBar->GetWindowRect(&rc);
    row.emplace_back(IsHorizontal() ? rc.left : rc.top, pBar);
  }
  std::stable_sort(row.begin(), row.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
  for (const auto &item : row) bars.push_back(item.second);
}

CSize CXTPDockBar::CalcDynamicLayout(int nLength, DWORD dwMode, AFX_SIZEPARENTPARAMS *lpLayout) {
  const BOOL bHorizontal = (dwMode & xtpDockModeHorizontal) != 0;
  const auto rowsOfBars =
      XTPDockSplitRows<CXTPCommandBar>(m_entries, [](const CXTPCommandBar *p) { return p->IsVisible(); });
  std::vector<std::vector<XTPDockRowBar>> rows;
  for (const auto &rowBars : rowsOfBars) {
    rows.emplace_back();
    for (CXTPCommandBar *pBar : rowBars) {
      XTPDockRowBar bar;
      bar.nId = FindBar(pBar);
      bar.dwBarFlags = pBar->GetFlags();
      bar.dwDockFlags = GetDockFlags(bHorizontal, pBar);
      const CRect &rcDock = m_dockRects[pBar];
      bar.nWantedStart = bHorizontal ? rcDock.left : rcDock.top;
      rows.back().push_back(bar);
    }
  }
  std::vector<XTPDockPlacement> placed;
  const XTPDockMeasure measure = [this](int nId, int nLength, DWORD dwBarMode) {
    // A toolbar has a docked layout of its own; its dynamic one is for floating.
    if (auto *pToolBar = dynamic_cast<CXTPToolBar *>(m_entries[nId]))
      return pToolBar->CalcDockedLayout(nLength, dwBarMode);
    return m_entries[nId]->CalcDynamicLayout(nLength, dwBarMode);
  };
  const CSize size = XTPDockLayoutAll(rows, nLength, dwMode, measure, placed);
  if (lpLayout == nullptr || lpLayout->hDWP == nullptr) return size;

  // The bars move together once every row is placed.
  HDWP hDWP = ::BeginDeferWindowPos(static_cast<int>(placed.size()));
  for (const XTPDockPlacement &p : placed) {
    CXTPCommandBar *pBar = m_entries[p.nId];
    // Measured with its present controls and placed: the layout its control
    // changes put off to the idle time is done.
    pBar->m_bDelayLayout = FALSE;
    if (pBar->GetSafeHwnd() == nullptr) {
      pBar->SetBarClientSize(p.rc.Size());
      continue;
    }
    if (hDWP != nullptr)
      hDWP = ::DeferWindowPos(hDWP, pBar->GetSafeHwnd(), nullptr, p.rc.left, p.rc.top, p.rc.Width(),
                              p.rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(pBar->GetSafeHwnd(), nullptr, FALSE);
  }
  if (hDWP == nullptr || !::EndDeferWindowPos(hDWP))
    TRACE(L"Warning: DeferWindowPos failed - low system resources.\n");
  return size;
}

LRESULT CXTPDockBar::OnSizeParent(WPARAM, LPARAM lParam) {
  auto *lpLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS *>(lParam);
  if (lpLayout == nullptr || (GetStyle() & WS_VISIBLE) == 0) return 0;
  const CSize avail(lpLayout->rect.right - lpLayout->rect.left, lpLayout->rect.bottom - lpLayout->rect.top);
  DWORD dwMode = lpLayout->bStretch ? static_cast<DWORD>(xtpDockModeStretch) : 0;
  if ((m_dwDockStyle & 0x1) && (m_dwDockStyle & 0x4))
    dwMode |= 6;
  else
    dwMode |= (GetStyle() & 0xa000) ? (xtpDockModeHorizontal | xtpDockModeHorzDock) : xtpDockModeVertDock;
  const int nPosition = GetPosition();
  const BOOL bHorizontal = nPosition < 2;
  CSize size = CalcDynamicLayout(bHorizontal ? avail.cx : avail.cy, dwMode, lpLayout);
  size.cx = std::min(size.cx, avail.cx);
  size.cy = std::min(size.cy, avail.cy);

  CRect strip(lpLayout->rect);
  RECT &free = lpLayout->rect;
  if (bHorizontal) {
    lpLayout->sizeTotal.cy += size.cy;
    lpLayout->sizeTotal.cx = std::max(lpLayout->sizeTotal.cx, size.cx);
    if (nPosition == xtpBarTop) {
      strip.bottom = strip.top + size.cy;
      free.top += size.cy;
    } else {
      strip.top = strip.bottom - size.cy;
      free.bottom -= size.cy;
    }
  } else {
    lpLayout->sizeTotal.cx += size.cx;
    lpLayout->sizeTotal.cy = std::max(lpLayout->sizeTotal.cy, size.cy);
    if (nPosition == xtpBarLeft) {
      strip.right = strip.left + size.cx;
      free.left += size.cx;
    } else {
      strip.left = strip.right - size.cx;
      free.right -= size.cx;
    }
  }
  if (lpLayout->hDWP != nullptr) AfxRepositionWindow(lpLayout, m_hWnd, &strip);
  InvalidateRect(nullptr, FALSE);
  return 0;
}

void CXTPDockBar::OnPaint() {
  CPaintDC dc(this);
  if (m_pCommandBars != nullptr) m_pCommandBars->GetPaintManager()->FillDockBar(&dc, this);
}

LRESULT CXTPDockBar::OnPrint(WPARAM wParam, LPARAM lParam) {
  const HDC hDC = reinterpret_cast<HDC>(wParam);
  if (hDC == nullptr) return 1;
  CDC dc;
  dc.Attach(hDC);
  if (m_pCommandBars != nullptr) m_pCommandBars->GetPaintManager()->FillDockBar(&dc, this);
  if (lParam & PRF_CHILDREN) {
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
      if (!::IsWindowVisible(hChild)) continue;
      CRect rc;
      GetWindowRect(&rc);
      ::MapWindowPoints(nullptr, hChild, reinterpret_cast<POINT *>(&rc), 2);
      const CPoint ptOld = dc.SetViewportOrg(-rc.left, -rc.top);
      ::SendMessage(hChild, WM_PRINT, wParam, lParam);
      dc.SetViewportOrg(ptOld);
    }
  }
  dc.Detach();
  return 1;
}

void CXTPDockBar::OnRButtonDown(UINT, CPoint point) {
  ClientToScreen(&point);
  if (m_pCommandBars != nullptr) m_pCommandBars->ContextMenu(point.x, point.y);
}
