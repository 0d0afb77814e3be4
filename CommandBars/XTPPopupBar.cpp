#include "XTPPopupBar.h"

#include <algorithm>
#include <cstdlib>

#include "WindowDc.h"
#include "XTPCaptureLoop.h"
#include "XTPCommandBars.h"
#include "XTPControlPopup.h"
#include "XTPDrawHelpers.h"
#include "XTPMouseManager.h"
#include "XTPPaintManager.h"
#include "XTPShadowsManager.h"
#include "XTPShortcutManager.h"
#include "XTPSoundManager.h"
#include "XTPToolBar.h"

IMPLEMENT_SERIAL(CXTPPopupBar, CXTPCommandBar, VERSIONABLE_SCHEMA | 8)

namespace {

const int kArrowHeight = 16;
const UINT_PTR kScrollDownTimer = 5001;
const UINT_PTR kScrollUpTimer = 5002;
const UINT kScrollElapse = 80;
const UINT kTearOffHotElapse = 80;
// How far the drag may stray from the band before the menu is torn off.
const int kTearOffSlack = 10;
// The torn bar hangs from the cursor by this much.
const int kTornBarDrop = 10;

} // namespace

double CXTPPopupBar::m_dMaxWidthDivisor = 1.0 / 3;

CXTPPopupBar::CXTPPopupBar() {
  m_barType = xtpBarTypePopup;
  m_barPosition = xtpBarPopup;
  m_nMRUWidth = 0;
}

CXTPPopupBar::~CXTPPopupBar() {
  if (GetSafeHwnd()) DestroyWindow();
}

CXTPPopupBar *CXTPPopupBar::CreatePopupBar(CXTPCommandBars *pCommandBars) {
  CXTPPopupBar *pBar = new CXTPPopupBar;
  pBar->SetCommandBars(pCommandBars);
  return pBar;
}

BOOL CXTPPopupBar::LoadToolBar(UINT nIDResource, BOOL bLoadBitmap) {
  size_t cbData = 0;
  const BYTE *pData = FindToolBarResource(nIDResource, cbData);
  return pData != nullptr && BuildFromToolBarData(nIDResource, pData, cbData, bLoadBitmap);
}

IMPLEMENT_SERIAL(CXTPPopupToolBar, CXTPPopupBar, VERSIONABLE_SCHEMA | 8)

CXTPPopupToolBar::CXTPPopupToolBar() {
  m_barType = xtpBarTypeNormal;
}

CXTPPopupToolBar *CXTPPopupToolBar::CreatePopupToolBar(CXTPCommandBars *pCommandBars) {
  auto *pBar = static_cast<CXTPPopupToolBar *>(RUNTIME_CLASS(CXTPPopupToolBar)->CreateObject());
  pBar->SetCommandBars(pCommandBars);
  return pBar;
}

CSize CXTPPopupToolBar::CalcDynamicLayout(int /*nLength*/, DWORD /*dwMode*/) {
  return CalcToolBarLayout();
}

CXTPCommandBar *CXTPPopupToolBar::Clone(BOOL bRecursive) {
  auto *pBar = static_cast<CXTPCommandBar *>(GetRuntimeClass()->CreateObject());
  if (pBar) pBar->Copy(this, bRecursive);
  return pBar;
}

void CXTPPopupBar::SetTearOffPopup(LPCTSTR lpszCaption, int nId, int nWidth) {
  m_bTearOffPopup = TRUE;
  m_strTearOffCaption = lpszCaption;
  m_nTearOffId = nId;
  m_nTearOffWidth = nWidth;
}

void CXTPPopupBar::Copy(CXTPCommandBar *pCommandBar, BOOL bRecursive) {
  auto *pPopup = dynamic_cast<CXTPPopupBar *>(pCommandBar);
  ASSERT(pPopup != nullptr);
  CXTPCommandBar::Copy(pCommandBar, bRecursive);
  if (!pPopup) return;
  m_bTearOffPopup = pPopup->m_bTearOffPopup;
  m_strTearOffCaption = pPopup->m_strTearOffCaption;
  m_nTearOffId = pPopup->m_nTearOffId;
  m_nTearOffWidth = pPopup->m_nTearOffWidth;
  m_bShowShadow = pPopup->m_bShowShadow;
  m_rcBorders = pPopup->m_rcBorders;
}

BOOL CXTPPopupBar::IsVisible() const {
  return GetSafeHwnd() && ::IsWindowVisible(GetSafeHwnd());
}

// --- Geometry -----------------------------------------------------------------

int CXTPPopupBar::GetMaxRowWidth(const CRect &rcWork) {
  if (m_dMaxWidthDivisor <= 0) return INT_MAX;
  return static_cast<int>(rcWork.right * m_dMaxWidthDivisor);
}

CXTPPopupBar::Placement CXTPPopupBar::PlacePopup(const CRect &rcWork, const CRect &rcExclude, CPoint pt,
                                                 CSize sz, int nFlags) {
  int x = pt.x, y = pt.y, cx = sz.cx, cy = sz.cy;
  const BOOL bExcludeWidth = rcExclude.Width() > 0;
  const BOOL bExcludeHeight = rcExclude.Height() > 0;
  const int nBottom = rcWork.bottom - 5;
  const int nHalf = (nBottom - rcWork.top) / 2;
  BOOL bNeedScroll = FALSE;

  if (nFlags == (xtpPopupLeft | xtpPopupDown) && bExcludeWidth)
    x = rcExclude.right - cx;
  else if (nFlags & xtpPopupLeft)
    x = bExcludeWidth ? rcExclude.left - cx : x - cx;

  BOOL bMovedUp = FALSE;
  if (!bExcludeHeight && y > nBottom) {
    y -= cy;
    bMovedUp = TRUE;
  }
  if (!bMovedUp && y + cy > nBottom) {
    if (!bExcludeHeight) {
      y = (y >= nHalf ? y : nBottom) - cy;
    } else if (nFlags & xtpPopupDown) {
      y = rcExclude.top - cy; // no room below: open above the control
      if (y < rcWork.top) {
        bNeedScroll = TRUE;
        // Neither side has room: the side with more of it, scrolling.
        if (rcExclude.CenterPoint().y <= nHalf) {
          y = rcExclude.bottom;
          cy = nBottom - y;
        } else {
          y = rcWork.top;
          cy = rcExclude.top - rcWork.top;
        }
      }
    } else {
      y = nBottom - cy;
    }
  }
  if (y < rcWork.top) y = rcWork.top;
  if (y + cy > nBottom) {
    cy = nBottom - y;
    bNeedScroll = TRUE;
  }

  if (x + cx <= rcWork.right && x < rcWork.left) {
    if (bExcludeWidth) {
      x = (nFlags & xtpPopupDown) ? rcWork.left : rcExclude.right;
      nFlags &= ~xtpPopupLeft;
    } else if (nFlags & xtpPopupLeft) {
      x = rcWork.left;
      nFlags &= ~xtpPopupLeft;
    }
  } else if (x + cx > rcWork.right) {
    if (!bExcludeWidth && x > rcWork.right) {
      x -= cx;
    } else if (bExcludeWidth) {
      x = ((nFlags & xtpPopupDown) ? rcWork.right : rcExclude.left) - cx;
      nFlags |= xtpPopupLeft;
    } else {
      x = rcWork.right - cx;
    }
  }
  return {CRect(x, y, x + cx, y + cy), nFlags, bNeedScroll};
}

CXTPPopupBar::ScrollResult CXTPPopupBar::ScrollItems(const std::vector<ScrollItem> &items, int nFirst,
                                                     int nEnd, BOOL bFromBottom, const CRect &rcArea,
                                                     int nSeparator) {
  const int nCount = static_cast<int>(items.size());
  ScrollResult r;
  r.tops.assign(items.size(), -1);
  auto extent = [&](int i, bool bFirstPlaced) {
    return items[i].nHeight + (items[i].bBeginGroup && !bFirstPlaced ? nSeparator : 0);
  };
  if (!bFromBottom) {
    ASSERT(nFirst >= 0 && (nFirst < nCount || nCount == 0));
    if (nFirst == 1) nFirst = 0; // an arrow to hide one row is no gain
    nFirst = std::max(0, std::min(nFirst, std::max(0, nCount - 1)));
    int y = rcArea.top + (nFirst != 0 ? kArrowHeight : 0);
    int i = nFirst;
    bool bFirstPlaced = true;
    for (; i < nCount; i++) {
      if (!items[i].bVisible) continue;
      const int h = extent(i, bFirstPlaced);
      if (y + h > rcArea.bottom - kArrowHeight) break;
      r.tops[i] = y + h - items[i].nHeight;
      y += h;
      bFirstPlaced = false;
    }
    r.nFirst = nFirst;
    r.nEnd = i;
  } else {
    ASSERT(nEnd >= 1 && nEnd <= nCount);
    if (nEnd == nCount - 1) nEnd = nCount;
    nEnd = std::max(1, std::min(nEnd, nCount));
    int y = rcArea.bottom - (nEnd != nCount ? kArrowHeight : 0);
    int i = nEnd - 1;
    for (; i >= 0; i--) {
      if (!items[i].bVisible) continue;
      const int nSep = items[i].bBeginGroup ? nSeparator : 0;
      if (y - items[i].nHeight < rcArea.top + kArrowHeight) break;
      r.tops[i] = y - items[i].nHeight;
      y -= items[i].nHeight + nSep;
    }
    r.nFirst = i + 1;
    r.nEnd = nEnd;
    // With nothing scrolled out above, the rows start at the top.
    if (r.nFirst == 0) {
      bool bFirstPlaced = true;
      int yTop = rcArea.top;
      for (int k = 0; k < nEnd; k++) {
        if (!items[k].bVisible) continue;
        const int h = extent(k, bFirstPlaced);
        r.tops[k] = yTop + h - items[k].nHeight;
        yTop += h;
        bFirstPlaced = false;
      }
    }
  }
  r.rcUp = r.nFirst != 0 ? CRect(rcArea.left, rcArea.top, rcArea.right, rcArea.top + kArrowHeight) : CRect();
  r.rcDown = r.nEnd != nCount ? CRect(rcArea.left, rcArea.bottom - kArrowHeight, rcArea.right, rcArea.bottom)
                              : CRect();
  return r;
}

CRect CXTPPopupBar::GetWorkArea() const {
  if (!m_rcExclude.IsRectEmpty()) return XTPMultiMonitor::GetWorkArea(m_rcExclude);
  if (m_ptPopup != CPoint(0, 0)) return XTPMultiMonitor::GetWorkArea(static_cast<POINT>(m_ptPopup));
  return XTPMultiMonitor::GetWorkAreaAtCursor();
}

// --- Opening and closing ---------------------------------------------------------

BOOL CXTPPopupBar::Popup(int x, int y, LPCRECT lpExclude) {
  m_ptPopup = CPoint(x, y);
  m_rcExclude = lpExclude ? CRect(*lpExclude) : CRect(0, 0, 0, 0);
  return Popup(static_cast<CXTPControlPopup *>(nullptr), FALSE);
}

BOOL CXTPPopupBar::CreatePopupWindow() {
  if (GetSafeHwnd()) return TRUE;
  HWND hWndSite = m_pCommandBars ? m_pCommandBars->GetSiteHwnd() : nullptr;
  HWND hWndOwner = m_hWndOwner ? m_hWndOwner : hWndSite;
  DWORD dwExStyle = WS_EX_TOOLWINDOW;
  if (hWndSite && (::GetWindowLongW(hWndSite, GWL_EXSTYLE) & WS_EX_LAYOUTRTL)) dwExStyle |= WS_EX_LAYOUTRTL;
  LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW));
  // A popup's "parent" is its owner; its real parent is the desktop.
  return CreateEx(dwExStyle, lpszClass, L"", WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0,
                  hWndOwner, nullptr);
}

BOOL CXTPPopupBar::Popup(CXTPControlPopup *pControl, BOOL bSelectFirst) {
  CXTPReferenceHold hold(HoldableThis());
  if (pControl) m_pControlPopup = pControl;
  SetParentBar(pControl ? pControl->GetParent() : nullptr);
  if (!CreatePopupWindow()) return FALSE;
  LockRedraw();
  if (HWND hWndTarget = GetUpdateTarget())
    ::SendMessageW(hWndTarget, XTP_TBN_POPUPSHOWING, 0, reinterpret_cast<LPARAM>(this));
  m_bTearOffHot = FALSE;
  m_nTearOffTimer = 0;
  m_bHasHidden = FALSE;
  m_bExpanded = IsCustomizeMode() || XTPGetMouseManager()->IsForceExpanded();

  UpdateFlags();
  AdjustPosition(CalcDynamicLayout(0, 0));
  SetTrackingMode(TRUE, bSelectFirst, FALSE);
  m_bDelayLayout = FALSE;
  m_bDelayRedraw = FALSE;
  OnIdleUpdateCmdUI(TRUE);

  Animate();
  XTPSoundManager()->PlaySystemSound(xtpSoundMenuPopup);
  SetShadow();
  UnlockRedraw();
  return TRUE;
}

void CXTPPopupBar::SetShadow() {
  if (m_barPosition != xtpBarPopup || !m_bShowShadow || !GetSafeHwnd()) return;
  XTPShadowsManager()->RemoveShadow(GetSafeHwnd());
  XTPShadowsManager()->SetShadow(this, m_rcExclude);
}

BOOL CXTPPopupBar::SetTrackingMode(int nMode, BOOL bSelectFirst, BOOL bKeyboard) {
  CXTPReferenceHold hold(HoldableThis());
  // A popup nested over this one must not stay open over a closed menu.
  std::vector<CXTPPopupBar *> nested;
  if (!nMode && m_nTrackingMode)
    for (CXTPPopupBar *pNested : GetNestedPopupsAfter())
      if (pNested->HoldableThis()) nested.push_back(pNested);
  for (CXTPPopupBar *pNested : nested) pNested->InternalAddRef();
  struct NestedRelease {
    std::vector<CXTPPopupBar *> &nested;
    ~NestedRelease() {
      for (CXTPPopupBar *pNested : nested) pNested->InternalRelease();
    }
  } release{nested};
  if (!CXTPCommandBar::SetTrackingMode(nMode, bSelectFirst, bKeyboard)) return FALSE;
  for (CXTPPopupBar *pNested : nested)
    if (pNested->IsTrackingMode()) pNested->OnTrackLost();
  if (nMode) return TRUE;
  if (m_scroll.nTimer && GetSafeHwnd()) ::KillTimer(GetSafeHwnd(), m_scroll.nTimer);
  m_scroll.nTimer = 0;
  DestroyWindow();
  if (m_pParentBar) m_pParentBar->SetPopuped(-1, FALSE);
  HWND hWndSite = m_pCommandBars ? m_pCommandBars->GetSiteHwnd() : nullptr;
  if (hWndSite && ::IsWindow(hWndSite)) {
    ::InvalidateRect(hWndSite, nullptr, FALSE);
    ::SendMessageW(hWndSite, XTP_TBN_POPUPCLOSED, 0, reinterpret_cast<LPARAM>(this));
  }
  m_pControlPopup = nullptr;
  return TRUE;
}

BOOL CXTPPopupBar::DestroyWindow() {
  HWND hWnd = GetSafeHwnd();
  if (!hWnd) return FALSE;
  // Control windows outlive the popup: they go back to the site.
  HWND hWndSite = m_pCommandBars ? m_pCommandBars->GetSiteHwnd() : nullptr;
  for (HWND hChild = ::GetWindow(hWnd, GW_CHILD); hChild;) {
    HWND hNext = ::GetWindow(hChild, GW_HWNDNEXT);
    ::ShowWindow(hChild, SW_HIDE);
    ::SetParent(hChild, hWndSite);
    hChild = hNext;
  }
  XTPShadowsManager()->RemoveShadow(hWnd);
  return CXTPCommandBar::DestroyWindow();
}

// --- Flags and placement ----------------------------------------------------------

void CXTPPopupBar::UpdateFlags() {
  auto *pControl = m_pControlPopup;
  // At a point, each placement starts from what was asked: a flag that the
  // last placement turned at the work area's edge must not move the popup
  // when it is laid out again.
  if (!pControl) {
    m_nPopupFlags = m_nAskedFlags;
    return;
  }
  m_nPopupFlags = 0;
  if ((pControl->GetFlags() & xtpFlagLeftPopup) || IsLayoutRTL()) m_nPopupFlags |= xtpPopupLeft;
  CXTPCommandBar *pParent = pControl->GetParent();
  if (!pParent) return;
  const XTPBarPosition pos = pParent->GetPosition();
  if (pos != xtpBarLeft && pos != xtpBarRight && pos != xtpBarPopup) {
    m_nPopupFlags |= xtpPopupDown;
  } else if (pos == xtpBarRight || (pParent->IsKindOf(RUNTIME_CLASS(CXTPPopupBar)) &&
                                    (static_cast<CXTPPopupBar *>(pParent)->m_nPopupFlags & xtpPopupLeft))) {
    m_nPopupFlags = xtpPopupLeft; // submenus keep opening the way their menu went
  }
  CRect rc = pControl->GetRect();
  if (pControl->GetType() == xtpControlComboBox && pParent->GetType() != xtpBarTypePopup)
    m_nPopupFlags = xtpPopupDown;
  else if (auto *pPopup = dynamic_cast<CXTPControlPopup *>(pControl))
    pPopup->AdjustExcludeRect(rc);
  if (pParent->GetSafeHwnd())
    ::MapWindowPoints(pParent->GetSafeHwnd(), nullptr, reinterpret_cast<POINT *>(&rc), 2);
  m_rcExclude = rc;
  const BOOL bDown = (m_nPopupFlags & xtpPopupDown) != 0;
  m_ptPopup = CPoint(bDown ? rc.left : rc.right, bDown ? rc.bottom : rc.top);
}

void CXTPPopupBar::AdjustPosition(CSize sz) {
  Placement p = PlacePopup(GetWorkArea(), m_rcExclude, m_ptPopup, sz, m_nPopupFlags);
  m_nPopupFlags = p.nFlags;
  m_scroll.bActive = p.bNeedScroll && m_barType == xtpBarTypePopup;
  if (m_scroll.bActive) {
    m_scroll.nFirst = 0;
    SetBarClientSize(p.rcWindow.Size());
    if (GetSafeHwnd())
      ::SetWindowPos(GetSafeHwnd(), nullptr, 0, 0, p.rcWindow.Width(), p.rcWindow.Height(),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ScrollLayout(FALSE, FALSE);
  } else {
    m_scroll.rcUp = m_scroll.rcDown = CRect(0, 0, 0, 0);
  }
  if (GetSafeHwnd())
    ::SetWindowPos(GetSafeHwnd(), HWND_TOPMOST, p.rcWindow.left, p.rcWindow.top, p.rcWindow.Width(),
                   p.rcWindow.Height(), SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER);
  else
    SetBarClientSize(p.rcWindow.Size());
}

// --- Layout ------------------------------------------------------------------------

CSize CXTPPopupBar::MeasureSeparator() {
  CXTPPaintManager *pPaintManager = GetPaintManager();
  return pPaintManager ? pPaintManager->DrawCommandBarSeparator(nullptr, this, nullptr, FALSE) : CSize(0, 0);
}

void CXTPPopupBar::HideRarelyUsed() {
  CXTPCommandBarsOptions *pOptions = m_pCommandBars ? m_pCommandBars->GetCommandBarsOptions() : nullptr;
  const int nCount = m_pControls->GetCount();
  std::vector<BOOL> rarely(nCount, FALSE);
  BOOL bSomethingVisible = FALSE;
  if (!pOptions || pOptions->bAlwaysShowFullMenus) {
    m_bExpanded = TRUE;
  } else {
    for (int i = 0; i < nCount; i++) {
      CXTPControl *pControl = m_pControls->GetAt(i);
      rarely[i] = m_pCommandBars->IsHiddenInMenu(pControl);
      if (!rarely[i] && pControl->GetID() != XTP_ID_POPUPBAR_EXPAND &&
          (pControl->GetHideFlags() & ~(xtpHideScroll | xtpHideExpand)) == 0)
        bSomethingVisible = TRUE;
    }
  }
  m_bHasHidden = FALSE;
  for (int i = 0; i < nCount; i++) {
    CXTPControl *pControl = m_pControls->GetAt(i);
    // Nothing is hidden when hiding would leave the menu empty.
    const BOOL bRarely = rarely[i] && bSomethingVisible;
    const BOOL bHide = bRarely && !m_bExpanded;
    // The mark lets the expanded menu shade the rows a short menu hides,
    // and lets the expand animation unfold them.
    pControl->SetExpandedOnly(bRarely);
    pControl->SetHideFlag(xtpHideExpand, bHide);
    if (bHide) m_bHasHidden = TRUE;
  }
}

CSize CXTPPopupBar::CalcToolBarLayout() {
  m_bInLayout = TRUE;
  CRect rcBorders = m_rcBorders;
  CXTPPaintManager *pPaintManager = GetPaintManager();
  int nBand = 0;
  if (m_bTearOffPopup && pPaintManager) {
    nBand = pPaintManager->DrawCaptionBand(nullptr, CRect(), FALSE, FALSE).cy;
    rcBorders.top += nBand;
  }
  UpdateShortcuts();
  HDC hDC = ::GetDC(nullptr);
  CFont *pFont = pPaintManager ? pPaintManager->GetCommandBarFont(this) : nullptr;
  HGDIOBJ hOldFont = pFont ? ::SelectObject(hDC, pFont->GetSafeHandle()) : nullptr;
  // Rows break at each group and take the bar's remembered width; without
  // one the rows are balanced to a roughly square palette.
  const CSize sz = m_pControls->CalcDynamicSize(CDC::FromHandle(hDC), 0, LM_POPUP | LM_COMMIT, rcBorders, 0);
  if (hOldFont) ::SelectObject(hDC, hOldFont);
  ::ReleaseDC(nullptr, hDC);
  m_rcTearOffGripper = CRect(rcBorders.left, rcBorders.top - nBand, sz.cx - rcBorders.right, rcBorders.top);
  m_bInLayout = FALSE;
  return sz;
}

CSize CXTPPopupBar::CalcDynamicLayout(int /*nLength*/, DWORD /*dwMode*/) {
  if (m_barType == xtpBarTypeNormal) return CalcToolBarLayout();
  m_bInLayout = TRUE;
  CXTPPaintManager *pPaintManager = GetPaintManager();
  const CRect rcWork = GetWorkArea();
  CRect rcBorders = pPaintManager ? pPaintManager->GetCommandBarBorders(this) : CRect(2, 2, 2, 2);
  const int nSeparator = MeasureSeparator().cy;
  int nBand = 0;
  if (m_bTearOffPopup && pPaintManager) {
    nBand = pPaintManager->DrawCaptionBand(nullptr, CRect(), FALSE, FALSE).cy;
    rcBorders.top += nBand;
  }
  for (int i = 0; i < m_pControls->GetCount(); i++) m_pControls->GetAt(i)->OnCalcDynamicSize(0);

  HideRarelyUsed();

  CXTPControl *pExpand = m_pControls->FindControl(XTP_ID_POPUPBAR_EXPAND);
  HDC hDC = ::GetDC(nullptr);
  CDC *pDC = CDC::FromHandle(hDC);
  HGDIOBJ hOldFont =
      pPaintManager ? ::SelectObject(hDC, pPaintManager->GetRegularFont()->GetSafeHandle()) : nullptr;
  int nExpandHeight = 0;
  if (m_bHasHidden) {
    if (!pExpand) {
      pExpand = m_pControls->AddControl(new CXTPPopupBarExpandButton, XTP_ID_POPUPBAR_EXPAND, L"", -1, TRUE);
    }
    pExpand->SetHideFlag(xtpHideGeneric, FALSE);
    nExpandHeight =
        pPaintManager
            ? pPaintManager->DrawSpecialControl(xtpButtonExpandMenu, pDC, pExpand, this, FALSE, 0).cy
            : 12;
    rcBorders.bottom += nExpandHeight;
  } else if (pExpand) {
    pExpand->SetHideFlag(xtpHideGeneric, TRUE);
  }

  UpdateShortcuts();
  const int nMaxWidth = GetMaxRowWidth(rcWork);
  int y = rcBorders.top, nWidth = 0;
  BOOL bFirst = TRUE;
  for (int i = 0; i < m_pControls->GetCount(); i++) m_pControls->GetAt(i)->SetHideFlag(xtpHideScroll, FALSE);
  for (int i = 0; i < m_pControls->GetCount(); i++) {
    CXTPControl *pControl = m_pControls->GetAt(i);
    if (pControl == pExpand || !pControl->IsVisible()) continue;
    if (pControl->GetBeginGroup() && !bFirst) y += nSeparator;
    CSize sz = pControl->GetSize(pDC);
    sz.cx = std::min(static_cast<int>(sz.cx), nMaxWidth);
    pControl->SetRect(CRect(rcBorders.left, y, rcBorders.left + sz.cx, y + sz.cy));
    y += sz.cy;
    nWidth = std::max(nWidth, static_cast<int>(sz.cx));
    bFirst = FALSE;
  }
  if (hOldFont) ::SelectObject(hDC, hOldFont);
  ::ReleaseDC(nullptr, hDC);

  nWidth = std::max(nWidth, 22);
  if (bFirst) y += 22;
  for (int i = 0; i < m_pControls->GetCount(); i++) {
    CXTPControl *pControl = m_pControls->GetAt(i);
    if (pControl == pExpand || !pControl->IsVisible()) continue;
    CRect rc = pControl->GetRect();
    pControl->SetRect(CRect(rc.left, rc.top, rcBorders.left + nWidth, rc.bottom));
  }
  if (m_bHasHidden && pExpand)
    pExpand->SetRect(CRect(rcBorders.left, y, rcBorders.left + nWidth, y + nExpandHeight));
  m_rcTearOffGripper = CRect(rcBorders.left, rcBorders.top - nBand, rcBorders.left + nWidth, rcBorders.top);
  m_bInLayout = FALSE;
  return CSize(nWidth + rcBorders.left + rcBorders.right, y + rcBorders.bottom);
}

void CXTPPopupBar::UpdateShortcuts() {
  for (int i = 0; i < m_pControls->GetCount(); i++) {
    CXTPControl *pControl = m_pControls->GetAt(i);
    if (!pControl->IsVisible() || pControl->GetID() == 0 || pControl->GetID() == XTP_ID_POPUPBAR_EXPAND)
      continue;
    CString strShortcut = pControl->GetShortcutText();
    if (XTPGetShortcutManager()->FindDefaultAccelerator(static_cast<UINT>(pControl->GetID()), strShortcut))
      pControl->SetShortcutText(strShortcut);
  }
}

void CXTPPopupBar::ScrollLayout(BOOL bFromBottom, BOOL bRedraw) {
  CXTPPaintManager *pPaintManager = GetPaintManager();
  CRect rcBorders = pPaintManager ? pPaintManager->GetCommandBarBorders(this) : CRect(2, 2, 2, 2);
  CXTPControl *pExpand = m_pControls->FindControl(XTP_ID_POPUPBAR_EXPAND);
  const BOOL bExpandShown = pExpand && m_bHasHidden;
  const int nExpandHeight = bExpandShown ? pExpand->GetRect().Height() : 0;
  if (m_bTearOffPopup && pPaintManager)
    rcBorders.top += pPaintManager->DrawCaptionBand(nullptr, CRect(), FALSE, FALSE).cy;
  CRect rcClient = GetBarClientRect();
  CRect rcArea(rcBorders.left, rcBorders.top, rcClient.right - rcBorders.right,
               rcClient.bottom - rcBorders.bottom - nExpandHeight);

  std::vector<ScrollItem> items;
  for (int i = 0; i < m_pControls->GetCount(); i++) {
    CXTPControl *pControl = m_pControls->GetAt(i);
    const BOOL bVisible =
        pControl != pExpand && (pControl->GetHideFlags() & ~static_cast<DWORD>(xtpHideScroll)) == 0;
    items.push_back({pControl->GetRect().Height(), pControl->GetBeginGroup(), bVisible});
  }
  ScrollResult r =
      ScrollItems(items, m_scroll.nFirst, m_scroll.nEnd, bFromBottom, rcArea, MeasureSeparator().cy);
  for (int i = 0; i < m_pControls->GetCount(); i++) {
    CXTPControl *pControl = m_pControls->GetAt(i);
    if (!items[i].bVisible) continue;
    pControl->SetHideFlag(xtpHideScroll, r.tops[i] < 0);
    if (r.tops[i] >= 0) {
      CRect rc = pControl->GetRect();
      pControl->SetRect(CRect(rc.left, r.tops[i], rc.right, r.tops[i] + rc.Height()));
    }
  }
  if (bExpandShown) {
    CRect rc = pExpand->GetRect();
    pExpand->SetRect(CRect(rc.left, rcArea.bottom, rc.right, rcArea.bottom + nExpandHeight));
  }
  m_scroll.nFirst = r.nFirst;
  m_scroll.nEnd = r.nEnd;
  m_scroll.rcUp = r.rcUp;
  m_scroll.rcDown = r.rcDown;
  if (bRedraw) Redraw();
}

void CXTPPopupBar::ScrollDown() {
  if (m_scroll.nEnd >= m_pControls->GetCount()) return;
  m_scroll.nEnd++;
  ScrollLayout(TRUE, TRUE);
}

void CXTPPopupBar::ScrollUp() {
  if (m_scroll.nFirst <= 0) return;
  m_scroll.nFirst--;
  ScrollLayout(FALSE, TRUE);
}

BOOL CXTPPopupBar::SetSelected(int nSelected, BOOL bKeyboard) {
  CXTPControl *pControl = m_pControls ? m_pControls->GetAt(nSelected) : nullptr;
  if (m_scroll.bActive && pControl && (pControl->GetHideFlags() & xtpHideScroll)) {
    if (nSelected < m_scroll.nFirst) {
      m_scroll.nFirst = nSelected;
      ScrollLayout(FALSE, TRUE);
    } else {
      m_scroll.nEnd = nSelected + 1;
      ScrollLayout(TRUE, TRUE);
    }
  }
  return CXTPCommandBar::SetSelected(nSelected, bKeyboard);
}

void CXTPPopupBar::ExpandMenu() {
  if (m_bExpanded || !m_bHasHidden) return;
  m_bAnimateExpanding = TRUE;
  m_bExpanded = TRUE;
  SetPopuped(-1);
  SetSelected(-1);
  OnControlsChanged();
  XTPGetMouseManager()->SetForceExpanded(TRUE);
}

void CXTPPopupBar::OnControlsChanged() {
  if (m_bInLayout || !GetSafeHwnd() || !m_nTrackingMode) return;
  XTPShadowsManager()->RemoveShadow(GetSafeHwnd());
  UpdateShortcuts();
  UpdateFlags();
  AdjustPosition(CalcDynamicLayout(0, 0));
  const int nAnimation = GetAnimationType();
  if (m_bAnimateExpanding && nAnimation >= xtpAnimateUnfold && nAnimation <= xtpAnimateFade) {
    CXTPPaintManager *pPaintManager = GetPaintManager();
    CRect rc = GetBarClientRect();
    HDC hDC = ::GetDC(GetSafeHwnd());
    CDC memDC;
    memDC.Attach(::CreateCompatibleDC(hDC));
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hDC, rc.Width(), rc.Height());
    HGDIOBJ hOld = ::SelectObject(memDC.m_hDC, hBitmap);
    DrawCommandBar(&memDC, rc);
    if (pPaintManager) pPaintManager->AnimateExpanding(this, CDC::FromHandle(hDC), &memDC);
    ::SelectObject(memDC.m_hDC, hOld);
    ::DeleteObject(hBitmap);
    memDC.DeleteDC();
    ::ReleaseDC(GetSafeHwnd(), hDC);
    XTPSoundManager()->PlaySystemSound(xtpSoundMenuPopup);
  }
  SetShadow();
  if (auto *pPopup = dynamic_cast<CXTPControlPopup *>(m_pControlPopup)) pPopup->UpdateShadow();
  Redraw();
  m_bAnimateExpanding = FALSE;
}

// Left and Right leave a menu sideways as the system's menus do: back out of
// a submenu, or on to the neighbouring menu of the menu bar the menus hang
// from. Answers FALSE for the cases the bar's own navigation handles.
BOOL CXTPPopupBar::MoveSideways(UINT nChar) {
  if ((nChar != VK_LEFT && nChar != VK_RIGHT) || !m_nTrackingMode || m_pParentBar == nullptr) return FALSE;
  const BOOL bBack = (nChar == VK_LEFT) != (IsLayoutRTL() != FALSE);
  CXTPCommandBar *pParent = m_pParentBar;
  if (bBack) {
    if (m_nPopuped != -1) return FALSE;
    CXTPReferenceHold hold(HoldableThis());
    if (dynamic_cast<CXTPPopupBar *>(pParent)) {
      pParent->SetPopuped(-1, TRUE);
      return TRUE;
    }
    return MoveToNeighbourMenu(pParent, -1);
  }
  CXTPControl *pSelected = GetSelected();
  if (pSelected && dynamic_cast<CXTPControlPopup *>(pSelected) && pSelected->GetEnabled()) return FALSE;
  CXTPReferenceHold hold(HoldableThis());
  return MoveToNeighbourMenu(GetRootParent(), 1);
}

BOOL CXTPPopupBar::MoveToNeighbourMenu(CXTPCommandBar *pRoot, int nDirection) {
  const XTPBarPosition position = pRoot->GetPosition();
  if (pRoot->GetType() != xtpBarTypeMenuBar || !pRoot->IsTrackingMode() ||
      (position != xtpBarTop && position != xtpBarBottom && position != xtpBarFloating))
    return FALSE;
  const int nFrom = pRoot->GetPopupedIndex() != -1 ? pRoot->GetPopupedIndex() : pRoot->GetSelectedIndex();
  const int nNext = pRoot->GetControls()->GetNextIndex(nFrom, nDirection);
  if (nNext == -1 || nNext == nFrom) return TRUE;
  CXTPReferenceHold holdRoot(pRoot);
  // Selected by keyboard first, so the menu that opens selects its first row.
  pRoot->SetPopuped(-1, TRUE);
  pRoot->SetSelected(nNext, TRUE);
  pRoot->SetPopuped(nNext, TRUE);
  return TRUE;
}

BOOL CXTPPopupBar::OnKeyDown(UINT nChar) {
  if (!IsCustomizeMode() && MoveSideways(nChar)) return TRUE;
  if (m_bHasHidden && nChar == VK_DOWN && m_nTrackingMode) {
    const BOOL bCtrl = ::GetKeyState(VK_CONTROL) < 0;
    const int nNext = m_pControls->GetNextIndex(m_nSelected, 1);
    // Ctrl+Down, or Down past the last row, shows the hidden commands.
    if (bCtrl || nNext == -1 || nNext <= m_nSelected) {
      CXTPReferenceHold hold(HoldableThis());
      ExpandMenu();
    }
  }
  return CXTPCommandBar::OnKeyDown(nChar);
}

CXTPCommandBar *CXTPPopupBar::GetParentCommandBar() const {
  return m_pControlPopup ? m_pControlPopup->GetParent() : nullptr;
}

int CXTPPopupBar::GetDefaultItem(BOOL bByPosition) const {
  for (int i = 0; i < m_pControls->GetCount(); i++) {
    CXTPControl *pControl = m_pControls->GetAt(i);
    if (pControl->IsVisible() && pControl->GetDefaultItem()) return bByPosition ? i : pControl->GetID();
  }
  return -1;
}

int CXTPPopupBar::GetAnimationType() const {
  if (!m_pCommandBars || (GetSafeHwnd() && ::GetWindow(GetSafeHwnd(), GW_CHILD))) return xtpAnimateNone;
  const int nAnimation = m_pCommandBars->GetCommandBarsOptions()->animationType;
  if (nAnimation == xtpAnimateWindowsDefault) {
    BOOL bAnimation = FALSE, bFade = FALSE;
    ::SystemParametersInfoW(SPI_GETMENUANIMATION, 0, &bAnimation, 0);
    if (!bAnimation) return xtpAnimateNone;
    ::SystemParametersInfoW(SPI_GETMENUFADE, 0, &bFade, 0);
    return bFade ? xtpAnimateFade : xtpAnimateSlide;
  }
  if (nAnimation == xtpAnimateRandom) {
    static const int kKinds[] = {xtpAnimateFade, xtpAnimateSlide, xtpAnimateUnfold};
    return kKinds[std::rand() % 3];
  }
  return nAnimation;
}

void CXTPPopupBar::Animate() {
  const int nAnimation = GetAnimationType();
  if (nAnimation >= xtpAnimateUnfold && nAnimation <= xtpAnimateFade && !IsCustomizeMode() && GetSafeHwnd()) {
    if (m_pParentBar && m_pParentBar->GetSafeHwnd()) ::UpdateWindow(m_pParentBar->GetSafeHwnd());
    CXTPPaintManager *pPaintManager = GetPaintManager();
    CRect rc = GetBarClientRect();
    HDC hDC = ::GetDC(GetSafeHwnd());
    CDC memDC;
    memDC.Attach(::CreateCompatibleDC(hDC));
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hDC, rc.Width(), rc.Height());
    HGDIOBJ hOld = ::SelectObject(memDC.m_hDC, hBitmap);
    DrawCommandBar(&memDC, rc);
    if (pPaintManager) pPaintManager->Animate(CDC::FromHandle(hDC), &memDC, rc, nAnimation);
    ::SelectObject(memDC.m_hDC, hOld);
    ::DeleteObject(hBitmap);
    memDC.DeleteDC();
    ::ReleaseDC(GetSafeHwnd(), hDC);
    ::ValidateRect(GetSafeHwnd(), nullptr);
  }
}

// --- Drawing and messages -------------------------------------------------------------

void CXTPPopupBar::DrawCommandBar(CDC *pDC, CRect rcClipBox) {
  CXTPCommandBar::DrawCommandBar(pDC, rcClipBox);
  CXTPPaintManager *pPaintManager = GetPaintManager();
  if (!pPaintManager) return;
  if (m_scroll.bActive) {
    const COLORREF clr = ::GetSysColor(COLOR_BTNTEXT);
    if (!m_scroll.rcDown.IsRectEmpty()) {
      CPoint pt = m_scroll.rcDown.CenterPoint();
      pPaintManager->Triangle(pDC, CPoint(pt.x, pt.y + 3), CPoint(pt.x + 3, pt.y), CPoint(pt.x - 3, pt.y),
                              clr);
    }
    if (!m_scroll.rcUp.IsRectEmpty()) {
      CPoint pt = m_scroll.rcUp.CenterPoint();
      pPaintManager->Triangle(pDC, CPoint(pt.x, pt.y - 3), CPoint(pt.x + 3, pt.y), CPoint(pt.x - 3, pt.y),
                              clr);
    }
  }
  if (m_bTearOffPopup && m_pControls->GetCount() > 0)
    pPaintManager->DrawCaptionBand(pDC, m_rcTearOffGripper, m_bTearOffHot, TRUE);
}

void CXTPPopupBar::OnScrollMouseMove(CPoint pt) {
  if (!m_scroll.bActive) return;
  UINT_PTR nWant = 0;
  if (m_scroll.rcDown.PtInRect(pt)) nWant = kScrollDownTimer;
  if (m_scroll.rcUp.PtInRect(pt)) nWant = kScrollUpTimer;
  if (nWant == m_scroll.nTimer) return;
  if (m_scroll.nTimer) ::KillTimer(GetSafeHwnd(), m_scroll.nTimer);
  m_scroll.nTimer = nWant;
  if (nWant) {
    SetPopuped(-1); // over an arrow an open submenu closes
    ::SetTimer(GetSafeHwnd(), nWant, kScrollElapse, nullptr);
  }
}

void CXTPPopupBar::OnScrollTimer(UINT_PTR nId) {
  if (nId == kScrollDownTimer) {
    ScrollDown();
    if (m_scroll.nEnd >= m_pControls->GetCount()) {
      ::KillTimer(GetSafeHwnd(), nId);
      m_scroll.nTimer = 0;
    }
  } else if (nId == kScrollUpTimer) {
    ScrollUp();
    if (m_scroll.nFirst <= 0) {
      ::KillTimer(GetSafeHwnd(), nId);
      m_scroll.nTimer = 0;
    }
  }
}

LRESULT CXTPPopupBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_MOUSEACTIVATE:
    return MA_NOACTIVATE;
  case WM_MOUSEMOVE: {
    CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    // Back in a submenu from its parent: the parent keeps its opener hot.
    if (m_pParentBar && m_pControlPopup && GetBarClientRect().PtInRect(pt) &&
        m_pParentBar->GetSelectedIndex() != m_pControlPopup->GetIndex())
      m_pParentBar->SetSelected(m_pControlPopup->GetIndex(), FALSE);
    OnScrollMouseMove(pt);
    if (!IsWindowAlive()) return 0;
    OnTearOffMouseMove(pt);
    if (!IsWindowAlive()) return 0;
    break;
  }
  case WM_LBUTTONDOWN: {
    CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    if (m_bTearOffPopup && !IsCustomizeMode() && m_rcTearOffGripper.PtInRect(pt)) {
      CXTPReferenceHold hold(HoldableThis());
      ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEALL));
      {
        CXTPMouseLock lock;
        TrackTearOff();
      }
      if (!IsWindowAlive()) return 0;
    }
    break;
  }
  case WM_TIMER:
    if (wParam == kScrollDownTimer || wParam == kScrollUpTimer) {
      OnScrollTimer(wParam);
      return 0;
    }
    if (wParam == XTP_TID_TEAROFF_HOT) {
      OnTearOffTimer();
      return 0;
    }
    break;
  default:
    break;
  }
  return CXTPCommandBar::WindowProc(message, wParam, lParam);
}

// --- Tearing off ----------------------------------------------------------------------

void CXTPPopupBar::OnTearOffMouseMove(CPoint pt) {
  if (!m_bTearOffPopup || IsCustomizeMode() || m_bTearOffHot || !m_rcTearOffGripper.PtInRect(pt)) return;
  SetPopuped(-1);
  if (!IsWindowAlive()) return;
  SetSelected(-1);
  m_nTearOffTimer = ::SetTimer(m_hWnd, XTP_TID_TEAROFF_HOT, kTearOffHotElapse, nullptr);
}

void CXTPPopupBar::OnTearOffTimer() {
  CPoint pt;
  ::GetCursorPos(&pt);
  ::ScreenToClient(m_hWnd, &pt);
  const BOOL bOver = m_rcTearOffGripper.PtInRect(pt);
  if (bOver) {
    if (!m_bTearOffHot) {
      m_bTearOffHot = TRUE;
      Redraw();
    }
    return;
  }
  if (m_bTearing) return;
  // Left before the band turned hot, or after: either way the timer is done.
  if (m_bTearOffHot) {
    m_bTearOffHot = FALSE;
    Redraw();
  }
  ::KillTimer(m_hWnd, XTP_TID_TEAROFF_HOT);
  m_nTearOffTimer = 0;
}

void CXTPPopupBar::TrackTearOff() {
  const HWND hWnd = GetSafeHwnd();
  if (!hWnd) return;
  const HWND hWndCapture = ::GetCapture();
  if (hWndCapture && hWndCapture != hWnd) return;
  CXTPReferenceHold hold(HoldableThis());
  CRect rcInside = m_rcTearOffGripper;
  ::MapWindowPoints(hWnd, nullptr, reinterpret_cast<POINT *>(&rcInside), 2);
  rcInside.InflateRect(kTearOffSlack, kTearOffSlack);
  BOOL bInside = TRUE;
  {
    // The windows under a moving torn bar repaint before the next move.
    CXTPCaptureLoop loop(hWnd, CXTPCaptureLoop::kEscapeCancels | CXTPCaptureLoop::kDispatchPaints);
    if (::GetCapture() != hWnd) return;
    struct TearingScope {
      BOOL &bTearing;
      explicit TearingScope(BOOL &b) : bTearing(b) { bTearing = TRUE; }
      ~TearingScope() { bTearing = FALSE; }
    } tearing(m_bTearing);
    CPoint ptLast(INT_MIN, INT_MIN);
    loop.Run([&](const MSG &msg) {
      if (msg.message == WM_LBUTTONUP) return CXTPCaptureLoop::kEnd;
      if (msg.message != WM_MOUSEMOVE || msg.hwnd != hWnd) return CXTPCaptureLoop::kDispatch;
      CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
      ::ClientToScreen(hWnd, &pt);
      if (pt == ptLast) return CXTPCaptureLoop::kHandled;
      ptLast = pt;
      const BOOL bNowInside = rcInside.PtInRect(pt);
      if (bNowInside != bInside) {
        bInside = bNowInside;
        ShowTornBar(bInside, pt.x, pt.y);
      }
      if (m_pTornBar && m_pTornBar->GetSafeHwnd())
        ::SetWindowPos(m_pTornBar->GetSafeHwnd(), nullptr, pt.x - m_szTornBar.cx / 2, pt.y - kTornBarDrop, 0,
                       0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return CXTPCaptureLoop::kHandled;
    });
  }
  // Ended outside the band with no bar to show for it: the menu comes back.
  if (!m_pTornBar && !bInside && IsWindowAlive() && m_nTrackingMode) ShowWindow(SW_SHOWNA);
  if (m_pTornBar) {
    // The toolbar stays where it was dropped; the menus close.
    CXTPToolBar *pTornBar = m_pTornBar;
    m_pTornBar = nullptr;
    pTornBar->InternalRelease();
    if (CXTPMouseManager *pMouse = XTPGetMouseManager()) pMouse->CloseTrackedBars();
  }
}

void CXTPPopupBar::ShowTornBar(BOOL bInside, int x, int y) {
  if (HWND hWnd = GetSafeHwnd()) ::ShowWindow(hWnd, bInside ? SW_SHOWNA : SW_HIDE);
  if (bInside) {
    if (CXTPToolBar *pTornBar = m_pTornBar) {
      m_pTornBar = nullptr;
      pTornBar->SetVisible(FALSE);
      pTornBar->InternalRelease();
    }
    return;
  }
  if (m_pTornBar) return;
  CXTPToolBar *pBar = CreateTornBar();
  if (!pBar) return;
  pBar->InternalAddRef(); // held while the drag shows it
  m_pTornBar = pBar;
  m_szTornBar = pBar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
  if (HWND hWndBar = pBar->GetSafeHwnd()) {
    ::SetWindowPos(hWndBar, nullptr, x - m_szTornBar.cx / 2, y - kTornBarDrop, m_szTornBar.cx, m_szTornBar.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(hWndBar, WM_INITIALUPDATE, 0, 0);
    pBar->Redraw();
  }
}

CXTPToolBar *CXTPPopupBar::CreateTornBar() {
  if (!m_pCommandBars) return nullptr;
  // A bar torn off before, or one the application made for these commands.
  if (CXTPToolBar *pBar = m_pCommandBars->GetToolBar(static_cast<UINT>(m_nTearOffId))) {
    if (!pBar->SetPosition(xtpBarFloating)) return nullptr;
    pBar->SetVisible(TRUE);
    m_pCommandBars->RecalcFrameLayout(FALSE);
    return pBar;
  }
  CXTPToolBar *pBar =
      m_pCommandBars->AddCustomBar(m_strTearOffCaption, static_cast<UINT>(m_nTearOffId), TRUE);
  if (!pBar) return nullptr;
  pBar->SetTearOff(TRUE);
  pBar->SetMRUWidth(m_nTearOffWidth);
  for (int i = 0; i < m_pControls->GetCount(); i++) {
    CXTPControl *pControl = m_pControls->GetAt(i);
    if (pControl->GetID() == XTP_ID_POPUPBAR_EXPAND) continue;
    CXTPControl *pCopy = pBar->GetControls()->AddClone(pControl, -1);
    pCopy->SetHideFlag(xtpHideScroll, FALSE);
    pCopy->SetHideFlag(xtpHideExpand, FALSE);
  }
  return pBar;
}

// --- Nested popups ---------------------------------------------------------------------

std::vector<CXTPPopupBar *> CXTPPopupBar::GetNestedPopupsAfter() const {
  std::vector<CXTPPopupBar *> nested;
  CXTPMouseManager *pMouse = CXTPMouseManager::FindThreadMouseManager();
  if (!pMouse) return nested;
  BOOL bAfter = FALSE;
  for (int i = 0; i < pMouse->GetTrackedCount(); i++) {
    CXTPMouseTrackedBar *pTracked = pMouse->GetTrackedBar(i);
    if (pTracked == static_cast<const CXTPMouseTrackedBar *>(this)) {
      bAfter = TRUE;
      continue;
    }
    auto *pPopup = dynamic_cast<CXTPPopupBar *>(pTracked);
    if (bAfter && pPopup && pPopup->m_bNested) nested.push_back(pPopup);
  }
  return nested;
}

int CXTPPopupBar::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM &wParam, LPARAM &lParam, LRESULT &lResult) {
  if (nMessage == WM_KEYDOWN && m_nTrackingMode && !GetNestedPopupsAfter().empty()) return xtpHookContinue;
  return CXTPCommandBar::OnHookMessage(hWnd, nMessage, wParam, lParam, lResult);
}

// --- The expand item -----------------------------------------------------------------

CXTPPopupBarExpandButton::CXTPPopupBarExpandButton() {
  m_controlType = xtpControlButton;
  m_dwFlags = 0x1A;
}

CSize CXTPPopupBarExpandButton::GetSize(CDC *pDC) {
  CXTPPaintManager *pPaintManager = GetPaintManager();
  return pPaintManager
             ? pPaintManager->DrawSpecialControl(xtpButtonExpandMenu, pDC, this, m_pParent, FALSE, 0)
             : CSize(0, 0);
}

void CXTPPopupBarExpandButton::Draw(CDC *pDC) {
  if (CXTPPaintManager *pPaintManager = GetPaintManager())
    pPaintManager->DrawSpecialControl(xtpButtonExpandMenu, pDC, this, m_pParent, TRUE, 0);
}

void CXTPPopupBarExpandButton::OnExecute() {
  if (auto *pBar = dynamic_cast<CXTPPopupBar *>(m_pParent)) pBar->ExpandMenu();
}

void CXTPPopupBarExpandButton::OnMouseHover() {
  CXTPCommandBars *pCommandBars = GetCommandBars();
  if (pCommandBars && pCommandBars->GetCommandBarsOptions()->bShowFullAfterDelay) OnExecute();
}
