#include "XTPToolBar.h"

#include <algorithm>
#include <vector>

#include "Dc.h"
#include "FrameWnd.h"
#include "MiniFrameWnd.h"
#include "XTPCommandBars.h"
#include "XTPDockBar.h"
#include "XTPDockContext.h"
#include "XTPImageManager.h"
#include "XTPMouseManager.h"
#include "XTPPaintManager.h"
#include "XTPPopupBar.h"
#include "XTPResource.h"
#include "XTPResourceManager.h"
#include "XTPShortcutManager.h"
#include "XTPToolTipContext.h"

namespace {

// Selects the bar's font into a screen DC for the length of a layout.
class LayoutDC {
public:
  explicit LayoutDC(CXTPCommandBar *pBar) : m_hDC(::GetDC(nullptr)) {
    CXTPPaintManager *pPaintManager = pBar->GetPaintManager();
    CFont *pFont = pPaintManager ? pPaintManager->GetCommandBarFont(pBar) : nullptr;
    m_hOldFont = pFont ? ::SelectObject(m_hDC, pFont->GetSafeHandle()) : nullptr;
  }
  ~LayoutDC() {
    if (m_hOldFont) ::SelectObject(m_hDC, m_hOldFont);
    ::ReleaseDC(nullptr, m_hDC);
  }
  CDC *operator->() const { return CDC::FromHandle(m_hDC); }
  CDC *Get() const { return CDC::FromHandle(m_hDC); }

private:
  HDC m_hDC;
  HGDIOBJ m_hOldFont;
};

} // namespace

// ---- what a site gives a drag unless it knows better

BOOL CXTPToolBarSite::DockCommandBar(CXTPToolBar *pBar, LPCRECT lpRect, CXTPDockBar *pDockBar) {
  if (pBar == nullptr || pDockBar == nullptr) return FALSE;
  if (!pBar->CreateFloatingWindow(pDockBar->GetParent(), FALSE)) return FALSE;
  pDockBar->DockCommandBar(pBar, lpRect);
  RecalcFrameLayout(pBar);
  return TRUE;
}

BOOL CXTPToolBarSite::FloatCommandBar(CXTPToolBar *pBar) {
  CXTPDockBar *pDockBar = CXTPDockBar::FromBar(pBar);
  if (pBar == nullptr || pBar->GetSafeHwnd() == nullptr || pDockBar == nullptr) return FALSE;
  CRect rc;
  pBar->GetWindowRect(&rc);
  // Owned by the top-level window: a frame that is itself a child window
  // cannot own a popup, which would then sink below the application.
  CWnd *pOwner = CWnd::FromHandle(::GetAncestor(pDockBar->GetSafeHwnd(), GA_ROOT));
  if (!pBar->CreateFloatingWindow(pOwner, TRUE)) return FALSE;
  pDockBar->RemoveCommandBar(pBar);
  pBar->StorePosition(xtpBarFloating);
  pBar->SetWindowPos(nullptr, rc.left, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  pBar->OnRecalcLayout();
  RecalcFrameLayout(pBar);
  return TRUE;
}

// ---- the expand button

CXTPToolBarExpandButton::CXTPToolBarExpandButton() {
  // A button popup: the mouse passing over it while another popup of the bar
  // is open does not open its list; only a click, or the keys, do.
  m_controlType = xtpControlButtonPopup;
  m_dwFlags = 0x1C;
}

void CXTPToolBarExpandButton::SetRect(CRect rcControl) {
  CXTPControlPopup::SetRect(rcControl);
  m_bHiddenControls = FALSE;
  if (CXTPCommandBar *pBar = m_pParent)
    for (int i = 0; i < pBar->GetControlCount(); i++)
      if (pBar->GetControl(i)->GetHideFlags() == xtpHideWrap) m_bHiddenControls = TRUE;
}

void CXTPToolBarExpandButton::Draw(CDC *pDC) {
  if (CXTPPaintManager *pPaintManager = m_pParent ? m_pParent->GetPaintManager() : nullptr) {
    const int nType =
        m_pParent->GetPosition() == xtpBarFloating ? xtpButtonExpandFloating : xtpButtonExpandToolbar;
    pPaintManager->DrawSpecialControl(nType, pDC, this, m_pParent, TRUE, m_bHiddenControls);
  }
}

void CXTPToolBarExpandButton::OnSetPopup(BOOL bPopup) {
  auto *pToolBar = dynamic_cast<CXTPToolBar *>(m_pParent);
  if (bPopup && pToolBar) {
    SetCommandBar(nullptr);
    XTP_TOOLBAR_EXPANDPOPUP block;
    CXTPPopupBar *pPopup = nullptr;
    const HWND hWndSite = pToolBar->GetOwnerSite();
    if (hWndSite &&
        ::SendMessageW(hWndSite, XTP_TBN_CREATEEXPANDPOPUP, 0, reinterpret_cast<LPARAM>(&block)) &&
        block.pPopupBar && block.pPopupBar->IsKindOf(RUNTIME_CLASS(CXTPPopupBar))) {
      pPopup = static_cast<CXTPPopupBar *>(block.pPopupBar);
      pPopup->InternalAddRef(); // ours now as well as the site's
    } else {
      // The buttons there was no room for keep their toolbar look.
      pPopup = CXTPPopupToolBar::CreatePopupToolBar(pToolBar->GetCommandBars());
    }
    pPopup->SetCustomizable(FALSE);
    pToolBar->FillExpandPopup(pPopup);
    SetCommandBar(pPopup);
    pPopup->InternalRelease();
  }
  CXTPControlPopup::OnSetPopup(bPopup);
  if (m_pParent) m_pParent->Redraw();
}

// ---- a line of the "Add or Remove Buttons" list

CXTPToolBarAddRemoveButton::CXTPToolBarAddRemoveButton(CXTPControl *pControl, CXTPToolBar *pToolBar)
    : m_pTarget(pControl), m_pToolBar(pToolBar) {
  if (m_pTarget) m_pTarget->InternalAddRef();
  // Ticking a button keeps the list open for the next one.
  SetCloseSubMenuOnClick(m_pToolBar != nullptr);
  SetFlags(GetFlags() | xtpFlagManualUpdate);
}

CXTPToolBarAddRemoveButton::~CXTPToolBarAddRemoveButton() {
  if (m_pTarget) m_pTarget->InternalRelease();
}

CSize CXTPToolBarAddRemoveButton::GetSize(CDC *pDC) {
  CXTPPaintManager *pPaintManager = GetPaintManager();
  return pPaintManager ? pPaintManager->DrawSpecialControl(xtpButtonCustomize, pDC, this, m_pParent, FALSE, 0)
                       : CSize(0, 0);
}

void CXTPToolBarAddRemoveButton::Draw(CDC *pDC) {
  CXTPPaintManager *pPaintManager = GetPaintManager();
  if (!pPaintManager) return;
  pPaintManager->DrawSpecialControl(xtpButtonCustomize, pDC, this, m_pParent, TRUE, 0);
  // The row leaves its two first columns to the line: the tick of a button
  // on the bar, then the button's icon.
  const CRect rc = GetRect();
  const int nColumn = rc.Height();
  if (GetChecked()) {
    LOGFONTW lf = {};
    lf.lfHeight = -std::max(nColumn - 6, 8);
    lf.lfCharSet = SYMBOL_CHARSET;
    wcscpy(lf.lfFaceName, L"Marlett");
    HFONT hFont = ::CreateFontIndirectW(&lf);
    HGDIOBJ hOld = ::SelectObject(pDC->GetSafeHdc(), hFont);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF clrOld = pDC->SetTextColor(::GetSysColor(GetEnabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    CRect rcCheck(rc.left, rc.top, rc.left + nColumn, rc.bottom);
    ::DrawTextW(pDC->GetSafeHdc(), L"a", 1, &rcCheck, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    pDC->SetTextColor(clrOld);
    pDC->SetBkMode(nOldMode);
    ::SelectObject(pDC->GetSafeHdc(), hOld);
    ::DeleteObject(hFont);
  }
  if (CXTPImageManagerIcon *pIcon = GetImage(16)) {
    const CPoint pt(rc.left + nColumn + (nColumn - 16) / 2, rc.top + (rc.Height() - 16) / 2);
    pPaintManager->DrawImage(pDC, pt, CSize(16, 16), pIcon, FALSE, FALSE, GetEnabled(), FALSE, FALSE, FALSE);
  }
}

void CXTPToolBarAddRemoveButton::OnExecute() {
  CXTPReferenceHold holdThis(this);
  if (m_pToolBar) {
    CXTPReferenceHold holdBar(m_pToolBar);
    if (m_pParent) m_pParent->GetRootParent()->OnTrackLost();
    m_pToolBar->Reset();
    return;
  }
  if (!m_pTarget) return;
  CXTPCommandBar *pBar = m_pTarget->GetParent();
  ASSERT(pBar && pBar->GetCommandBars());
  const BOOL bHidden = (m_pTarget->GetHideFlags() & xtpHideCustomize) != 0;
  m_pTarget->SetHideFlag(xtpHideCustomize, !bHidden);
  if (CXTPCommandBars *pCommandBars = pBar ? pBar->GetCommandBars() : nullptr)
    pCommandBars->GetCommandBarsOptions()->bDirtyState = TRUE;
  SetChecked(bHidden); // shown again: ticked
  if (pBar) {
    CXTPReferenceHold holdBar(pBar);
    pBar->OnRecalcLayout();
    pBar->Redraw();
  }
  if (m_pParent) m_pParent->RedrawParents();
  RedrawParent();
}

// ---- the close button

CXTPToolBarCloseButton::CXTPToolBarCloseButton() {
  m_dwFlags = 0x1A;
}

void CXTPToolBarCloseButton::Draw(CDC *pDC) {
  if (CXTPPaintManager *pPaintManager = m_pParent ? m_pParent->GetPaintManager() : nullptr)
    pPaintManager->DrawSpecialControl(xtpButtonHideFloating, pDC, this, m_pParent, TRUE, 0);
}

void CXTPToolBarCloseButton::OnExecute() {
  CXTPReferenceHold holdControl(this);
  CXTPReferenceHold holdParent(m_pParent);
  if (m_pParent) m_pParent->SetVisible(FALSE);
}

// ---- the toolbar

IMPLEMENT_SERIAL(CXTPToolBar, CXTPCommandBar, VERSIONABLE_SCHEMA | 8)

BEGIN_MESSAGE_MAP(CXTPToolBar, CXTPCommandBar)
ON_MESSAGE(CXTPToolBar::kMsgRemoveTearOff, OnRemoveTearOff)
ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
ON_WM_CLOSE()
ON_WM_NCHITTEST()
ON_WM_MOUSEACTIVATE()
ON_WM_NCACTIVATE()
ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
ON_WM_SETFOCUS()
ON_WM_RBUTTONDOWN()
ON_WM_NCCREATE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_NCLBUTTONDOWN()
END_MESSAGE_MAP()

CXTPToolBar::CXTPToolBar() {
  m_barType = xtpBarTypeNormal;
  m_dwStyle = 0x400000;
  m_bCloseable = TRUE;
}

CXTPToolBar::~CXTPToolBar() = default;

BOOL CXTPToolBar::LoadToolBar(UINT nIDResource, BOOL bLoadBitmap) {
  size_t cbData = 0;
  const BYTE *pData = FindToolBarResource(nIDResource, cbData);
  return pData != nullptr && LoadToolBarData(nIDResource, pData, cbData, bLoadBitmap);
}

BOOL CXTPToolBar::LoadToolBarData(UINT nIDResource, const BYTE *pData, size_t cbData, BOOL bLoadBitmap) {
  m_nBarID = static_cast<int>(nIDResource);
  const BOOL bResult = BuildFromToolBarData(nIDResource, pData, cbData, bLoadBitmap);
  if (bResult) m_pControls->CreateOriginalControls();
  return bResult;
}

void CXTPToolBar::EnableDocking(DWORD dwFlags) {
  if (!m_pDockContext) m_pDockContext = std::make_unique<CXTPDockContext>(this);
  m_dwFlags = dwFlags;
}

BOOL CXTPToolBar::IsDragPoint(CPoint point) const {
  return m_pDockContext && (m_dwFlags & 0x1F) && m_pControls->HitTest(point) == nullptr;
}

void CXTPToolBar::OnLButtonDown(UINT nFlags, CPoint point) {
  if (m_barPosition == xtpBarFloating && m_hWnd)
    SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  if (m_pControls->HitTest(point) == nullptr) {
    if (CXTPMouseManager *pMouse = XTPGetMouseManager()) pMouse->SendTrackLost();
    if (IsDragPoint(point)) {
      CXTPReferenceHold hold(HoldableThis());
      ClientToScreen(&point);
      m_pDockContext->StartDrag(point);
      return;
    }
  }
  CXTPCommandBar::OnLButtonDown(nFlags, point);
}

void CXTPToolBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
  if (m_pDockContext && m_pControls->HitTest(point) == nullptr) {
    CXTPReferenceHold hold(HoldableThis());
    m_pDockContext->ToggleDocking();
    return;
  }
  CXTPCommandBar::OnLButtonDblClk(nFlags, point);
}

void CXTPToolBar::OnNcLButtonDown(UINT nHitTest, CPoint point) {
  if (!m_pDockContext) return;
  if (nHitTest >= HTLEFT && nHitTest <= HTBOTTOMRIGHT) {
    SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    if (CXTPMouseManager *pMouse = XTPGetMouseManager()) pMouse->SendTrackLost();
    CXTPReferenceHold hold(HoldableThis());
    m_pDockContext->StartResize(static_cast<int>(nHitTest), point);
    return;
  }
  CXTPCommandBar::OnNcLButtonDown(nHitTest, point);
}

BOOL CXTPToolBar::SetPosition(XTPBarPosition position) {
  if (position < xtpBarTop || position > xtpBarFloating || !m_pSite) return FALSE;
  if (!m_pSite->DockBarAt(this, position)) return FALSE;
  m_barPosition = position;
  return TRUE;
}

void CXTPToolBar::SetVisible(BOOL bVisible) {
  bVisible = bVisible ? TRUE : FALSE;
  if (bVisible == m_bVisible) return;
  CXTPReferenceHold hold(HoldableThis());
  m_bVisible = bVisible;
  if (!bVisible) SetTrackingMode(FALSE, TRUE, FALSE);
  if (m_hWnd) ShowWindow(bVisible ? SW_SHOWNA : SW_HIDE);
  if (m_barPosition != xtpBarFloating && m_pSite) m_pSite->RecalcFrameLayout(this);
  if (HWND hWndSite = GetOwnerSite())
    ::SendMessageW(hWndSite, XTP_TBN_VISIBLECHANGED, reinterpret_cast<WPARAM>(this), bVisible);
  if (m_bTearOff && !bVisible) RemoveTearOff();
}

void CXTPToolBar::RemoveTearOff() {
  // The close button hides the bar inside a click on the bar itself: the
  // window must outlive that click, so the removal waits for it to end.
  if (IsWindowAlive()) {
    if (!m_bRemovePosted) {
      m_bRemovePosted = TRUE;
      ::PostMessageW(m_hWnd, kMsgRemoveTearOff, 0, 0);
    }
    return;
  }
  if (m_pCommandBars) m_pCommandBars->RemoveBar(this);
}

LRESULT CXTPToolBar::OnRemoveTearOff(WPARAM, LPARAM) {
  m_bRemovePosted = FALSE;
  // Shown again before the message came: the bar stays.
  if (!m_bVisible && m_pCommandBars) m_pCommandBars->RemoveBar(this);
  return 0;
}

BOOL CXTPToolBar::IsVisible() const {
  // The flag, not the window's state: floating bars are hidden while the
  // application is inactive and must not be saved as hidden.
  return m_bVisible && m_hWnd != nullptr;
}

LRESULT CXTPToolBar::OnNcHitTest(CPoint point) {
  if (m_barPosition != xtpBarFloating) return CXTPCommandBar::OnNcHitTest(point);
  // A floating bar is sized by a 3-pixel band around its window.
  CRect rc;
  GetWindowRect(&rc);
  rc.DeflateRect(3, 3);
  if (point.y < rc.top) return HTTOP;
  if (point.y >= rc.bottom) return HTBOTTOM;
  if (point.x < rc.left) return HTLEFT;
  if (point.x >= rc.right) return HTRIGHT;
  return CXTPCommandBar::OnNcHitTest(point);
}

int CXTPToolBar::OnMouseActivate(CWnd *pDesktopWnd, UINT nHitTest, UINT message) {
  // A click on a floating bar must leave the frame active.
  if (m_barPosition == xtpBarFloating) return MA_NOACTIVATE;
  // Nor may it take the focus from a tool window (a mini frame) of an
  // active frame: the click would end the tool window's edit.
  CWnd *pTop = GetTopLevelParent();
  if (pTop && ::GetActiveWindow() == pTop->GetSafeHwnd()) {
    for (CWnd *pWnd = CWnd::GetFocus(); pWnd; pWnd = pWnd->GetParentFrame())
      if (dynamic_cast<CMiniFrameWnd *>(pWnd)) return MA_NOACTIVATE;
  }
  return CXTPCommandBar::OnMouseActivate(pDesktopWnd, nHitTest, message);
}

BOOL CXTPToolBar::OnNcActivate(BOOL bActive) {
  if (bActive) return FALSE;
  return CXTPCommandBar::OnNcActivate(bActive);
}

LRESULT CXTPToolBar::OnFloatStatus(WPARAM wParam, LPARAM) {
  const DWORD dwStyle = static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE));
  const BOOL bAnswer = (dwStyle & 0x100) && (wParam & FS_SYNCACTIVE);
  const BOOL bSync = m_pCommandBars ? m_pCommandBars->GetCommandBarsOptions()->bSyncFloatingBars : TRUE;
  const UINT nFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
  if (m_barPosition == xtpBarFloating && m_bVisible && bSync) {
    HWND hWndTop = ::GetAncestor(m_hWnd, GA_ROOTOWNER);
    const BOOL bTopActive = hWndTop && hWndTop != m_hWnd && ::GetActiveWindow() == hWndTop;
    if ((wParam & FS_DEACTIVATE) && !bTopActive) {
      SetWindowPos(nullptr, 0, 0, 0, 0, nFlags | SWP_HIDEWINDOW);
    } else if ((wParam & FS_ACTIVATE) && !(dwStyle & WS_VISIBLE) && bTopActive) {
      HWND hWndFore = ::GetForegroundWindow();
      if (hWndFore && ::IsWindowVisible(hWndFore) && !::IsIconic(hWndFore))
        SetWindowPos(nullptr, 0, 0, 0, 0, nFlags | SWP_SHOWWINDOW);
    }
  }
  if (wParam & (FS_SHOW | FS_HIDE))
    SetWindowPos(nullptr, 0, 0, 0, 0, nFlags | ((wParam & FS_SHOW) ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
  if (wParam & (FS_ENABLE | FS_DISABLE)) EnableWindow((wParam & FS_ENABLE) != 0);
  return bAnswer;
}

BOOL CXTPToolBar::GetShowExpandButtonAlways() const {
  if (m_nShowExpandAlways >= 0) return m_nShowExpandAlways;
  if (!m_pCommandBars) return TRUE;
  return m_pCommandBars->GetCommandBarsOptions()->bShowExpandButtonAlways;
}

CXTPControl *CXTPToolBar::FindOrAddExpandButton() {
  CXTPControl *pExpand = m_pControls->FindControl(XTP_ID_TOOLBAR_EXPAND);
  if (!pExpand)
    pExpand = m_pControls->AddControl(new CXTPToolBarExpandButton, XTP_ID_TOOLBAR_EXPAND, L"", -1, TRUE);
  pExpand->SetHideFlags(xtpHideGeneric);
  return pExpand;
}

CXTPControl *CXTPToolBar::FindOrAddCloseButton() {
  CXTPControl *pClose = m_pControls->FindControl(XTP_ID_TOOLBAR_HIDE);
  if (!pClose)
    pClose = m_pControls->AddControl(new CXTPToolBarCloseButton, XTP_ID_TOOLBAR_HIDE, L"", -1, TRUE);
  pClose->SetHideFlags(xtpHideGeneric);
  return pClose;
}

CSize CXTPToolBar::LayoutControls(CDC *pDC, int nLength, DWORD dwMode, const CRect &rcBorders) {
  return m_pControls->CalcDynamicSize(pDC, nLength, dwMode, rcBorders);
}

CRect CXTPToolBar::GetDockedBorders(CDC *pDC, DWORD dwMode) {
  CXTPPaintManager *pPaintManager = GetPaintManager();
  CRect rcBorders = pPaintManager ? pPaintManager->GetCommandBarBorders(this) : CRect(2, 2, 2, 2);
  if ((m_dwStyle & 0x400000) && pPaintManager) {
    const CSize szGripper = pPaintManager->DrawCommandBarGripper(pDC, this, FALSE);
    if (dwMode & LM_HORZDOCK)
      rcBorders.left += szGripper.cx;
    else
      rcBorders.top += szGripper.cy;
  }
  return rcBorders;
}

CSize CXTPToolBar::CalcDockedLayout(int nLength, DWORD dwMode) {
  LayoutDC dc(this);
  CRect rcBorders = GetDockedBorders(dc.Get(), dwMode);
  if (CXTPControl *pClose = m_pControls->FindControl(XTP_ID_TOOLBAR_HIDE))
    pClose->SetHideFlags(xtpHideGeneric);
  const BOOL bHorz = (dwMode & LM_HORZDOCK) != 0;
  CXTPControl *pExpand = nullptr;
  BOOL bShowExpand = FALSE;
  CSize sz;
  // Bars inside a dialog (no dock site and no drag) have no expand button.
  if (m_barType != xtpBarTypeMenuBar && (m_dwFlags & 0x1F)) pExpand = FindOrAddExpandButton();
  CRect rcReserved = rcBorders;
  (bHorz ? rcReserved.right : rcReserved.bottom) += kExpandButtonExtent;
  if (!pExpand) {
    sz = LayoutControls(dc.Get(), nLength, dwMode, rcBorders);
  } else if (GetShowExpandButtonAlways()) {
    sz = LayoutControls(dc.Get(), nLength, dwMode, rcReserved);
    bShowExpand = TRUE;
  } else if (!(dwMode & LM_COMMIT)) {
    sz = LayoutControls(dc.Get(), nLength, dwMode, rcBorders);
    const CSize szMin = LayoutControls(dc.Get(), 1, dwMode, rcBorders);
    int nVisible = 0;
    for (int i = 0; i < m_pControls->GetCount(); i++) {
      const DWORD dwHide = m_pControls->GetAt(i)->GetHideFlags();
      if (dwHide == 0 || dwHide == xtpHideWrap) nVisible++;
    }
    if (nVisible > 1) {
      if (bHorz)
        sz.cx = std::max<LONG>(sz.cx, szMin.cx + kExpandButtonExtent);
      else
        sz.cy = std::max<LONG>(sz.cy, szMin.cy + kExpandButtonExtent);
    }
  } else {
    sz = LayoutControls(dc.Get(), nLength, dwMode, rcBorders);
    BOOL bHidden = FALSE;
    for (int i = 0; i < m_pControls->GetCount(); i++)
      if (m_pControls->GetAt(i)->GetHideFlags() == xtpHideWrap) bHidden = TRUE;
    if (bHidden) {
      sz = LayoutControls(dc.Get(), nLength, dwMode, rcReserved);
      bShowExpand = TRUE;
    }
  }
  if (bShowExpand) {
    pExpand->SetHideFlags(0);
    // The bar's last pixels, as the paint manager places it.
    pExpand->SetRect(bHorz ? CRect(sz.cx - 13, 2, sz.cx - 2, sz.cy - 2)
                           : CRect(2, sz.cy - 13, sz.cx - 2, sz.cy - 2));
  }
  return sz;
}

CSize CXTPToolBar::CalcDynamicLayout(int nLength, DWORD dwMode) {
  ASSERT(!(dwMode & (LM_HORZDOCK | LM_VERTDOCK)));
  LayoutDC dc(this);
  CXTPPaintManager *pPaintManager = GetPaintManager();
  const int h = pPaintManager ? pPaintManager->DrawCommandBarGripper(dc.Get(), this, FALSE).cy : 14;
  const CRect rcBorders(3, h + 4, 3, 3);
  CXTPControl *pClose = nullptr;
  CXTPControl *pExpand = nullptr;
  if (m_barType != xtpBarTypeMenuBar && m_bCloseable) pClose = FindOrAddCloseButton();
  if (m_barType != xtpBarTypeMenuBar) pExpand = FindOrAddExpandButton();
  const CSize sz = LayoutControls(dc.Get(), nLength, dwMode, rcBorders);
  int x = sz.cx - 3;
  if (pClose) {
    pClose->SetHideFlags(0);
    pClose->SetRect(CRect(x - h, 3, x, h + 3));
    x -= h;
  }
  if (pExpand && x - h > 0 && GetShowExpandButtonAlways()) {
    pExpand->SetHideFlags(0);
    pExpand->SetRect(CRect(x - h, 3, x, h + 3));
  }
  return sz;
}

LRESULT CXTPToolBar::OnSizeParent(WPARAM, LPARAM lParam) {
  auto *pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS *>(lParam);
  if (!(GetStyle() & WS_VISIBLE)) return 0;
  DWORD dwMode = LM_HORZ | LM_HORZDOCK | LM_COMMIT;
  if (m_dwFlags & 0x40) dwMode |= LM_STRETCH;
  if (m_dwFlags & 0x20) dwMode |= LM_HIDEWRAP;
  if (!pLayout->hDWP) dwMode &= ~LM_COMMIT;
  CRect rcRemaining(pLayout->rect);
  const CSize sz = CalcDockedLayout(rcRemaining.Width(), dwMode);
  CRect rc(rcRemaining.left, rcRemaining.top, rcRemaining.left + std::min<LONG>(sz.cx, rcRemaining.Width()),
           rcRemaining.top + std::min<LONG>(sz.cy, rcRemaining.Height()));
  pLayout->rect.top += rc.Height();
  pLayout->sizeTotal.cx = std::max<LONG>(pLayout->sizeTotal.cx, rc.Width());
  pLayout->sizeTotal.cy += rc.Height();
  if (pLayout->hDWP) {
    AfxRepositionWindow(pLayout, m_hWnd, &rc);
    m_bDelayLayout = FALSE; // the layout put off to the idle time is this one
  }
  return 0;
}

void CXTPToolBar::OnRecalcLayout() {
  if (m_barPosition == xtpBarFloating) {
    const CSize sz = CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
    if (m_hWnd) {
      CRect rc;
      GetWindowRect(&rc);
      SetWindowPos(nullptr, rc.left, rc.top, sz.cx, sz.cy, SWP_NOZORDER | SWP_NOACTIVATE);
      Invalidate(FALSE);
    }
    return;
  }
  if (m_pSite) m_pSite->RecalcFrameLayout(this);
}

BOOL CXTPToolBar::CreateFloatingWindow(CWnd *pParentFrame, BOOL bFloating) {
  if (!m_hWnd) {
    DWORD dwExStyle = 0;
    if (HWND hOwner = m_hWndOwner ? m_hWndOwner : (pParentFrame ? pParentFrame->GetSafeHwnd() : nullptr))
      if (::GetWindowLongW(hOwner, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) dwExStyle |= WS_EX_LAYOUTRTL;
    const LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW));
    // A bar that floated before comes back at its last floating size.
    CSize size(100, 100);
    if (m_pDockContext && m_pDockContext->m_sizeLastFloating != CSize(0, 0))
      size = m_pDockContext->m_sizeLastFloating;
    if (!CreateEx(dwExStyle, lpszClass, m_strTitle, 0x86000100, 0, 0, size.cx, size.cy,
                  pParentFrame ? pParentFrame->GetSafeHwnd() : nullptr, nullptr))
      return FALSE;
    ShowWindow(SW_SHOWNA);
  }
  HWND hWndFrame = pParentFrame ? pParentFrame->GetSafeHwnd() : nullptr;
  if (bFloating) {
    ::SetWindowLongPtrW(m_hWnd, GWLP_HWNDPARENT, 0);
    ModifyStyle(WS_CHILD, 0x80000100);
    ::SetWindowLongPtrW(m_hWnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(hWndFrame));
  } else {
    ModifyStyle(WS_POPUP, WS_CHILD);
  }
  return TRUE;
}

void CXTPToolBar::OnSetPreviewMode(BOOL bPreview) {
  if (bPreview == m_bInPreview) return;
  m_bInPreview = bPreview;
  if (bPreview) {
    m_bPreviewVisible = m_bVisible;
    if (m_bVisible) {
      m_bVisible = FALSE;
      if (m_hWnd) ShowWindow(SW_HIDE);
    }
  } else if (m_bPreviewVisible) {
    m_bVisible = TRUE;
    if (m_hWnd) ShowWindow(SW_SHOWNA);
  }
  // Leaving preview, the frame brings its menu up to date; with a menu bar
  // the frame has handed its menu over and none comes back on the window.
  if (!bPreview && m_barType == xtpBarTypeMenuBar) {
    CWnd *pSite = CWnd::FromHandlePermanent(GetOwnerSite());
    if (pSite && pSite->IsFrameWnd()) static_cast<CFrameWnd *>(pSite)->OnUpdateFrameMenu(nullptr);
  }
}

void CXTPToolBar::Copy(CXTPCommandBar *pCommandBar, BOOL bRecursive) {
  CXTPCommandBar::Copy(pCommandBar, bRecursive);
  if (auto *pToolBar = dynamic_cast<CXTPToolBar *>(pCommandBar)) {
    m_bBuiltIn = pToolBar->m_bBuiltIn;
    m_bTearOff = pToolBar->m_bTearOff;
    m_bCloseable = pToolBar->m_bCloseable;
  }
}

CXTPCommandBar *CXTPToolBar::Clone(BOOL bRecursive) {
  // A bar of a derived class clones into that class, not a plain toolbar.
  auto *pBar = static_cast<CXTPCommandBar *>(GetRuntimeClass()->CreateObject());
  if (pBar) pBar->Copy(this, bRecursive);
  return pBar;
}

int CXTPToolBar::FindSimilarControl(CXTPControls *pControls, CXTPControl *pControl, int nStart) {
  if (!pControl || !pControls) return -1;
  for (int i = std::max(nStart, 0); i < pControls->GetCount(); i++) {
    CXTPControl *p = pControls->GetAt(i);
    if (p->GetID() == pControl->GetID() && p->GetType() == pControl->GetType()) return i;
  }
  return -1;
}

// ---- Add or Remove Buttons

void CXTPToolBar::FillExpandPopup(CXTPPopupBar *pPopup) {
  CXTPControls *pControls = pPopup->GetControls();
  // The buttons there was no room for: of every bar in the dock row, or of
  // this bar alone when no dock bar holds it.
  std::vector<CXTPCommandBar *> row;
  if (CXTPDockBar *pDockBar = CXTPDockBar::FromBar(this)) {
    const int nEntry = pDockBar->FindBar(this);
    if (nEntry >= 0) pDockBar->GetVisibleToolbars(nEntry, row);
  }
  if (row.empty()) row.push_back(this);
  if (m_pCommandBars && row.size() > 1) {
    m_pCommandBars->GetHiddenControls(this, pPopup);
  } else {
    for (int i = 0; i < GetControlCount(); i++) {
      CXTPControl *pControl = GetControl(i);
      if (pControl->GetHideFlags() != xtpHideWrap) continue;
      CXTPControl *pCopy = pControls->AddClone(pControl, -1, TRUE);
      pCopy->SetHideFlags(0);
      pCopy->SetBeginGroup(FALSE);
    }
  }
  const BOOL bCustomizable = m_pCommandBars && m_pCommandBars->IsCustomizeAvail();
  if (!GetShowExpandButtonAlways() && !bCustomizable) return;
  CString strCaption;
  XTPGetResourceManager()->LoadString(&strCaption, XTP_IDS_ADDORREMOVE);
  CXTPControl *pAddRemove = pControls->Add(xtpControlPopup, 0);
  pAddRemove->SetCaption(strCaption);
  pAddRemove->SetFlags(pAddRemove->GetFlags() | xtpFlagManualUpdate);
  if (pControls->GetCount() > 1) pAddRemove->SetBeginGroup(TRUE);
  auto *pAddRemoveBar = dynamic_cast<CXTPPopupBar *>(pAddRemove->GetCommandBar());
  if (!pAddRemoveBar) return;
  if (m_pCommandBars) {
    m_pCommandBars->GetAddOrRemovePopup(this, pAddRemoveBar);
    return;
  }
  // Without command bars: one entry per bar of the row.
  for (CXTPCommandBar *pRowBar : row) {
    auto *pToolBar = dynamic_cast<CXTPToolBar *>(pRowBar);
    if (pToolBar == nullptr) continue;
    CXTPControl *pEntry = pAddRemoveBar->GetControls()->Add(xtpControlPopup, 0);
    pEntry->SetCaption(pToolBar->m_strTitle);
    pEntry->SetFlags(pEntry->GetFlags() | xtpFlagManualUpdate);
    pEntry->SetEnabled(pToolBar->m_bBuiltIn && pToolBar->IsCustomizable() &&
                       (!m_pCommandBars || m_pCommandBars->IsCustomizeAvail()));
    if (pEntry->GetEnabled())
      if (auto *pList = dynamic_cast<CXTPPopupBar *>(pEntry->GetCommandBar()))
        pToolBar->FillAddOrRemoveList(pList);
  }
}

void CXTPToolBar::FillAddOrRemoveList(CXTPPopupBar *pPopup) {
  CXTPControls *pOriginal = m_pControls->GetOriginalControls();
  CXTPControls *pCopy = pOriginal ? pOriginal->Duplicate(TRUE) : new CXTPControls;
  CXTPControl *pSelected = GetSelected();
  CXTPControl *pPopuped = GetControl(m_nPopuped);
  auto keepIndexes = [&] {
    m_nSelected = pSelected ? pSelected->GetIndex() : -1;
    m_nPopuped = pPopuped ? pPopuped->GetIndex() : -1;
  };
  // The user's hidden buttons come back below in their original places.
  for (int i = m_pControls->GetCount() - 1; i >= 0; i--) {
    CXTPControl *pControl = m_pControls->GetAt(i);
    if (!(pControl->GetHideFlags() & xtpHideCustomize)) continue;
    if (pControl == pSelected) pSelected = nullptr;
    if (pControl == pPopuped) pPopuped = nullptr;
    m_pControls->RemoveAt(i);
  }
  keepIndexes();

  CXTPControls *pLines = pPopup->GetControls();
  int i = 0, j = 0;
  while (i < pCopy->GetCount() || j < m_pControls->GetCount()) {
    if (i < pCopy->GetCount()) {
      CXTPControl *pWanted = pCopy->GetAt(i);
      const int nFound = FindSimilarControl(m_pControls, pWanted, j);
      if (nFound == -1) {
        CXTPControl *pClone = m_pControls->AddClone(pWanted, j, TRUE);
        pClone->SetHideFlags(pClone->GetHideFlags() | xtpHideCustomize);
        keepIndexes();
        i++;
      } else if (nFound == j) {
        i++;
      } else {
        // The bar's control at j was moved here by the user: its later
        // original entry is this one.
        const int nLater = FindSimilarControl(pCopy, m_pControls->GetAt(j), i + 1);
        if (nLater != -1) pCopy->RemoveAt(nLater);
      }
    }
    if (j >= m_pControls->GetCount()) continue;
    CXTPControl *pControl = m_pControls->GetAt(j++);
    const int nId = pControl->GetID();
    if (nId == XTP_ID_TOOLBAR_EXPAND || nId == XTP_ID_TOOLBAR_HIDE) continue;
    if (pControl->GetHideFlags() & (xtpHideGeneric | xtpHideDocTemplate)) continue;
    auto *pLine = new CXTPToolBarAddRemoveButton(pControl, nullptr);
    pLines->AddControl(pLine, nId);
    pLine->SetCaption(pControl->GetCaption());
    const int nType = pControl->GetType();
    if (nType >= xtpControlButton && nType <= 4) pLine->SetIconId(pControl->GetIconId());
    CString strShortcut;
    if (XTPGetShortcutManager()->FindDefaultAccelerator(static_cast<UINT>(nId), strShortcut))
      pLine->SetShortcutText(strShortcut);
    pLine->SetEnabled(FindSimilarControl(pCopy, pControl, 0) != -1);
    pLine->SetChecked(!(pControl->GetHideFlags() & xtpHideCustomize));
  }
  pCopy->InternalRelease();

  if (pOriginal && !m_bTearOff && m_bBuiltIn) {
    CString strReset;
    XTPGetResourceManager()->LoadString(&strReset, XTP_IDS_RESET_TOOLBAR);
    CXTPControl *pReset = pLines->AddControl(new CXTPToolBarAddRemoveButton(nullptr, this), 0);
    pReset->SetCaption(strReset);
    pReset->SetBeginGroup(TRUE);
    pReset->SetJoinsTickColumn(TRUE);
  }
}

BOOL CXTPToolBar::AskReset() const {
  CString strFormat;
  VERIFY(XTPGetResourceManager()->LoadString(&strFormat, XTP_IDS_CONFIRM_RESETDATA));
  CString strPrompt;
  strPrompt.Format(strFormat, static_cast<LPCTSTR>(m_strTitle));
  return AfxMessageBox(strPrompt, MB_OKCANCEL | MB_ICONEXCLAMATION, 0) == IDOK;
}

void CXTPToolBar::Reset() {
  if (!m_bBuiltIn || m_nBarID == 0 || !IsCustomizable()) return;
  if (!AskReset()) return;
  CXTPReferenceHold hold(HoldableThis());
  SetTrackingMode(0, TRUE, FALSE);
  CXTPControls *pOriginal = m_pControls->GetOriginalControls();
  if (!pOriginal) {
    LoadToolBar(static_cast<UINT>(m_nBarID), FALSE);
  } else {
    pOriginal->InternalAddRef(); // the list keeps its original set; held while copied from
    m_pControls->RemoveAll();
    for (int i = 0; i < pOriginal->GetCount(); i++) {
      CXTPControl *pControl = pOriginal->GetAt(i);
      if (!pControl->GetTemporary()) m_pControls->AddClone(pControl, -1, TRUE);
    }
    pOriginal->InternalRelease();
  }
  OnIdleUpdateCmdUI(TRUE);
  OnRecalcLayout();
}

// ---- tooltips, keys and focus

INT_PTR CXTPToolBar::OnToolHitTest(CPoint point, TTTOOLINFOW *pTI) const {
  const INT_PTR nHit = CWnd::OnToolHitTest(point, pTI);
  if (nHit != -1) return nHit;
  CXTPMouseManager *pMouse = XTPGetMouseManager();
  if (pMouse && (pMouse->IsMouseLocked() || pMouse->IsTrackedLock(this))) return -1;
  if (m_nTrackingMode == 2 && m_barPosition != xtpBarPopup) return -1;
  CXTPCommandBarsOptions *pOptions = m_pCommandBars ? m_pCommandBars->GetCommandBarsOptions() : nullptr;
  if (pOptions && !pOptions->bToolBarScreenTips) return -1;
  for (int i = 0; i < m_pControls->GetCount(); i++) {
    CXTPControl *pControl = m_pControls->GetAt(i);
    CRect rc = pControl->GetRect();
    if (!pControl->IsVisible() || !rc.PtInRect(point)) continue;
    const int nId = pControl->GetID();
    CString strTip = pControl->GetTooltip(&point, &rc, nullptr);
    CString strCaption = pControl->GetCaption();
    CString strShortcut = pControl->GetShortcutText();
    if (pOptions && pOptions->bToolBarAccelTips) {
      if (strShortcut.IsEmpty())
        XTPGetShortcutManager()->FindDefaultAccelerator(static_cast<UINT>(nId), strShortcut);
      if (!strShortcut.IsEmpty()) {
        strTip += L" (" + strShortcut + L")";
        strCaption += L" (" + strShortcut + L")";
      }
    }
    if (strTip.IsEmpty()) return -1;
    if (pTI)
      CXTPToolTipContext::FillToolDetails(pTI, m_hWnd, rc, static_cast<UINT_PTR>(nId), strTip, strCaption,
                                          pControl->GetDescription());
    return nId != 0 ? nId : -1;
  }
  return -1;
}

BOOL CXTPToolBar::OnKeyDown(UINT nChar) {
  // A bar inside a dialog passes Tab on to the dialog's next item.
  if (nChar == VK_TAB && !IsDockable() && m_hWnd) {
    HWND hWndParent = ::GetParent(m_hWnd);
    const BOOL bPrevious = ::GetKeyState(VK_SHIFT) < 0;
    HWND hWndNext = hWndParent ? ::GetNextDlgTabItem(hWndParent, m_hWnd, bPrevious) : nullptr;
    if (hWndNext && hWndNext != m_hWnd) {
      SetTrackingMode(0, TRUE, FALSE);
      ::SetFocus(hWndNext);
      return TRUE;
    }
  }
  return CXTPCommandBar::OnKeyDown(nChar);
}

void CXTPToolBar::OnSetFocus(CWnd *pOldWnd) {
  if (!m_bFocusRemembered) {
    m_bFocusRemembered = TRUE;
    m_hWndFocusBefore = pOldWnd->GetSafeHwnd();
  }
  Default();
  if (!IsDockable()) SetTrackingMode(TRUE, TRUE, FALSE);
}

void CXTPToolBar::OnRButtonDown(UINT nFlags, CPoint point) {
  if (IsCustomizeMode()) {
    CXTPCommandBar::OnRButtonDown(nFlags, point);
    return;
  }
  CXTPReferenceHold hold(HoldableThis());
  SetTrackingMode(0, TRUE, FALSE);
  SetSelected(-1);
  Redraw();
  // The toolbars list, as View > Toolbars shows it.
  if (m_pCommandBars && IsWindowAlive()) {
    CPoint ptScreen = point;
    ClientToScreen(&ptScreen);
    m_pCommandBars->ContextMenu(ptScreen.x, ptScreen.y);
  }
}

BOOL CXTPToolBar::OnNcCreate(LPCREATESTRUCT lpcs) {
  if (!Default()) return FALSE;
  if (!(lpcs->style & 0x100)) return TRUE;
  // The frame's activation as the frame would report it (WM_FLOATSTATUS).
  HWND hWndFrame = lpcs->hwndParent;
  HWND hWndActive = ::GetActiveWindow();
  BOOL bActive = hWndFrame != nullptr && hWndFrame == hWndActive;
  if (!bActive && hWndFrame != nullptr) {
    HWND hWndTop = ::GetAncestor(hWndFrame, GA_ROOT);
    bActive = hWndTop != nullptr && hWndTop == hWndActive &&
              ::SendMessageW(hWndTop, WM_FLOATSTATUS, FS_SYNCACTIVE, 0) != 0;
  }
  ::SendMessageW(m_hWnd, WM_FLOATSTATUS, bActive ? FS_ACTIVATE : FS_DEACTIVATE, 0);
  return TRUE;
}
