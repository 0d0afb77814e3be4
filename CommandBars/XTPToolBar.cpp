#include "XTPToolBar.h"

#include <algorithm>

#include "Dc.h"
#include "ToolBar.h"
#include "ModuleState.h"
#include "XTPCommandBars.h"
#include "XTPImageManager.h"
#include "XTPPaintManager.h"
#include "XTPPopupBar.h"

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

// ---- the expand button

CXTPToolBarExpandButton::CXTPToolBarExpandButton() {
  m_controlType = xtpControlPopup;
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
  if (bPopup && m_pParent) {
    SetCommandBar(nullptr);
    CXTPPopupBar *pPopup = CXTPPopupBar::CreatePopupBar(m_pParent->GetCommandBars());
    pPopup->SetCustomizable(FALSE);
    // The buttons there was no room for. The dock row's other bars join them
    // once the dock bars hold rows.
    for (int i = 0; i < m_pParent->GetControlCount(); i++) {
      CXTPControl *pControl = m_pParent->GetControl(i);
      if (pControl->GetHideFlags() != xtpHideWrap) continue;
      CXTPControl *pCopy = pPopup->GetControls()->AddClone(pControl, -1, TRUE);
      pCopy->SetHideFlags(0);
    }
    SetCommandBar(pPopup);
    pPopup->InternalRelease();
  }
  CXTPControlPopup::OnSetPopup(bPopup);
  if (m_pParent) m_pParent->Redraw();
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

IMPLEMENT_DYNCREATE(CXTPToolBar, CXTPCommandBar)

BEGIN_MESSAGE_MAP(CXTPToolBar, CXTPCommandBar)
ON_MESSAGE(CXTPToolBar::kMsgRemoveTearOff, OnRemoveTearOff)
ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
ON_WM_CLOSE()
ON_WM_NCHITTEST()
ON_WM_MOUSEACTIVATE()
ON_WM_NCACTIVATE()
ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
END_MESSAGE_MAP()

CXTPToolBar::CXTPToolBar() {
  m_barType = xtpBarTypeNormal;
  m_dwStyle = 0x400000;
  m_bCloseable = TRUE;
}

CXTPToolBar::~CXTPToolBar() = default;

BOOL CXTPToolBar::ParseToolBarResource(const BYTE *pData, size_t cbData, std::vector<UINT> &ids,
                                       CSize &szBitmap) {
  ids.clear();
  ToolBarTemplate bar;
  if (!::ParseToolBarResource(pData, cbData, bar)) return FALSE;
  szBitmap = CSize(bar.width, bar.height);
  ids = std::move(bar.ids); // 0 a separator
  return TRUE;
}

BOOL CXTPToolBar::LoadToolBar(UINT nIDResource, BOOL bLoadBitmap) {
  // A language library carries no toolbars: the bar comes from whichever
  // module has it, as its bitmap does.
  HINSTANCE hModule = AfxFindResourceHandle(MAKEINTRESOURCEW(nIDResource), MAKEINTRESOURCEW(241));
  HRSRC hRes =
      hModule ? ::FindResourceW(hModule, MAKEINTRESOURCEW(nIDResource), MAKEINTRESOURCEW(241)) : nullptr;
  if (!hRes) return FALSE;
  HGLOBAL hGlobal = ::LoadResource(hModule, hRes);
  const BYTE *pData = hGlobal ? static_cast<const BYTE *>(::LockResource(hGlobal)) : nullptr;
  if (!pData) return FALSE;
  return LoadToolBarData(nIDResource, pData, ::SizeofResource(hModule, hRes), bLoadBitmap);
}

BOOL CXTPToolBar::LoadToolBarData(UINT nIDResource, const BYTE *pData, size_t cbData, BOOL bLoadBitmap) {
  m_pControls->RemoveAll();
  std::vector<UINT> ids;
  CSize szBitmap;
  if (!ParseToolBarResource(pData, cbData, ids, szBitmap)) return FALSE;
  m_nBarID = static_cast<int>(nIDResource);
  BOOL bResult = SetButtons(ids.data(), static_cast<int>(ids.size()));
  if (bLoadBitmap) {
    CXTPImageManager *pImageManager = GetImageManager();
    if (!pImageManager ||
        !pImageManager->SetIconsFromBitmap(nIDResource, ids.data(), static_cast<int>(ids.size()), szBitmap))
      bResult = FALSE;
    if (szBitmap.cx != 16) m_szIcons = szBitmap;
  }
  if (bResult) m_pControls->CreateOriginalControls();
  return bResult;
}

BOOL CXTPToolBar::SetButtons(const UINT *pButtons, int nCount) {
  m_pControls->RemoveAll();
  BOOL bSeparator = FALSE;
  for (int i = 0; i < nCount; i++) {
    if (pButtons[i] == 0) {
      bSeparator = TRUE;
      continue;
    }
    XTP_COMMANDBARS_CREATECONTROL cs = {};
    cs.nID = static_cast<int>(pButtons[i]);
    cs.bToolBar = TRUE;
    cs.nIndex = i;
    cs.pCommandBar = this;
    cs.strCaption = m_strTitle;
    cs.controlType = xtpControlButton;
    CXTPControl *pControl = nullptr;
    if (m_pControls->NotifySite(WM_XTP_BEFORECREATECONTROL, 0, reinterpret_cast<LPARAM>(&cs)) &&
        cs.pControl) {
      pControl = m_pControls->AddControl(cs.pControl, cs.nID);
    } else {
      pControl = m_pControls->Add(cs.controlType, cs.nID);
      pControl->SetStyle(static_cast<int>(cs.dwFlags));
      if (cs.controlType == xtpControlPopup) pControl->SetIconId(cs.nID);
    }
    if (bSeparator) {
      pControl->SetBeginGroup(TRUE);
      bSeparator = FALSE;
    }
    cs.pControl = pControl;
    m_pControls->NotifySite(WM_XTP_AFTERCREATECONTROL, 0, reinterpret_cast<LPARAM>(&cs));
  }
  return TRUE;
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
  if (pLayout->hDWP) AfxRepositionWindow(pLayout, m_hWnd, &rc);
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
    if (!CreateEx(dwExStyle, lpszClass, m_strTitle, 0x86000100, 0, 0, 100, 100,
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
  auto *pBar = static_cast<CXTPToolBar *>(RUNTIME_CLASS(CXTPToolBar)->CreateObject());
  pBar->Copy(this, bRecursive);
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
