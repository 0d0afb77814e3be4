#include "XTPControlCustom.h"

#include "XTPCommandBar.h"
#include "XTPCommandBarList.h"
#include "XTPCommandBars.h"
#include "XTPPropExchange.h"

IMPLEMENT_SERIAL(CXTPControlCustom, CXTPControlButton, VERSIONABLE_SCHEMA | 8)

namespace {

// Show or hide without moving, sizing, reordering or activating.
constexpr UINT kShowFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;

// The schema from which a saved control carries its window's control id.
constexpr UINT kSchemaControlId = 6;

} // namespace

// The control keeps the button's type: wherever a button is offered
// something (the customise menu's styles and button images, the button's
// measuring and drawing) a custom control is offered it too.
CXTPControlCustom::CXTPControlCustom() {
  m_dwFlags = xtpFlagNoMovable;
}

// The hook-client part takes the control off every window it watches, and
// does so safely while the process ends and the hook manager is gone.
CXTPControlCustom::~CXTPControlCustom() = default;

void CXTPControlCustom::SetControl(CWnd *pWnd) {
  SetControl(pWnd ? pWnd->GetSafeHwnd() : nullptr);
}

void CXTPControlCustom::SetControl(HWND hWnd) {
  if (m_hWndHosted && ::IsWindow(m_hWndHosted)) XTPHookManager()->UnhookWindow(m_hWndHosted, this);
  m_hWndHosted = hWnd && ::IsWindow(hWnd) ? hWnd : nullptr;
  if (m_hWndHosted) {
    m_nHostedId = ::GetDlgCtrlID(m_hWndHosted);
    CRect rc;
    ::GetWindowRect(m_hWndHosted, &rc);
    m_szHosted = rc.Size();
    ::EnableWindow(m_hWndHosted, m_bEnabled);
    Hook();
  }
  DelayLayoutParent();
}

CWnd *CXTPControlCustom::GetControl() const {
  return HasWindow() ? CWnd::FromHandle(m_hWndHosted) : nullptr;
}

void CXTPControlCustom::Hook() {
  if (HasWindow()) XTPHookManager()->HookWindow(m_hWndHosted, this);
}

BOOL CXTPControlCustom::FindControlWindow(CXTPCommandBars *pCommandBars) {
  if (pCommandBars == nullptr || m_nHostedId == 0) return FALSE;
  HWND hWnd = nullptr;
  if (HWND hWndSite = pCommandBars->GetSiteHwnd()) hWnd = ::GetDlgItem(hWndSite, m_nHostedId);
  for (int i = 0; hWnd == nullptr && i < pCommandBars->GetCount(); i++) {
    CXTPCommandBar *pBar = pCommandBars->GetAt(i);
    if (pBar && pBar->GetSafeHwnd()) hWnd = ::GetDlgItem(pBar->GetSafeHwnd(), m_nHostedId);
  }
  if (hWnd == nullptr) return FALSE;
  const int nId = m_nHostedId;
  const CSize size = m_szHosted;
  SetControl(hWnd);
  // The saved size and id stand: the window may not have its size yet.
  m_nHostedId = nId;
  if (size != CSize(0, 0)) m_szHosted = size;
  return TRUE;
}

void CXTPControlCustom::ShowHostedWindow() {
  if (!HasWindow()) return;
  const BOOL bShow = m_bWindowShown && m_dwHideFlags == 0;
  ::SetWindowPos(m_hWndHosted, nullptr, 0, 0, 0, 0, kShowFlags | (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void CXTPControlCustom::SetEnabled(BOOL bEnabled) {
  if (m_bEnabled == bEnabled) return;
  m_bEnabled = bEnabled;
  if (HasWindow()) ::EnableWindow(m_hWndHosted, bEnabled);
  RedrawParent();
}

void CXTPControlCustom::SetRect(CRect rcControl) {
  const BOOL bInBar = HasWindow() && m_pParent && ::GetParent(m_hWndHosted) == m_pParent->GetSafeHwnd();
  if (rcControl == m_rcControl && (!HasWindow() || bInBar)) return;
  m_rcControl = rcControl;
  if (!HasWindow()) return;
  // A bar without a window (one laid out off screen) cannot take the window.
  if (m_pParent == nullptr || m_pParent->GetSafeHwnd() == nullptr) return;
  if (!bInBar) ::SetParent(m_hWndHosted, m_pParent->GetSafeHwnd());
  CRect rc = rcControl;
  rc.DeflateRect(m_rcBorders.left, m_rcBorders.top, m_rcBorders.right, m_rcBorders.bottom);
  ::MoveWindow(m_hWndHosted, rc.left, rc.top, rc.Width(), rc.Height(), TRUE);
  ShowHostedWindow();
}

void CXTPControlCustom::SetHideFlags(DWORD dwFlags) {
  if (m_dwHideFlags == dwFlags) return;
  m_dwHideFlags = dwFlags;
  ShowHostedWindow();
  DelayLayoutParent();
}

CSize CXTPControlCustom::GetSize(CDC *pDC) {
  if (HasWindow() && m_bWindowShown)
    return CSize(m_szHosted.cx + m_rcBorders.left + m_rcBorders.right,
                 m_szHosted.cy + m_rcBorders.top + m_rcBorders.bottom);
  return CXTPControlButton::GetSize(pDC);
}

void CXTPControlCustom::Draw(CDC *pDC) {
  if (HasWindow() && ::IsWindowVisible(m_hWndHosted)) return;
  CXTPControlButton::Draw(pDC);
}

void CXTPControlCustom::OnCalcDynamicSize(DWORD dwMode) {
  const BOOL bVertical = (dwMode & LM_VERTDOCK) != 0;
  switch (m_nVerticalMode) {
  case xtpVerticalHide:
    SetHideFlags(bVertical ? (m_dwHideFlags | xtpHideDockingPosition)
                           : (m_dwHideFlags & ~static_cast<DWORD>(xtpHideDockingPosition)));
    break;
  case xtpVerticalButton:
    m_bWindowShown = !bVertical;
    ShowHostedWindow();
    break;
  default:
    break;
  }
}

void CXTPControlCustom::DoPropExchange(CXTPPropExchange *pPX) {
  CXTPControlButton::DoPropExchange(pPX);
  // A stored type other than the button's (an older archive's 7) would take
  // the control out of the button's commands again.
  if (pPX->IsLoading()) m_controlType = xtpControlButton;
  PX_Rect(pPX, L"Borders", m_rcBorders, CRect(0, 0, 0, 0));
  PX_Size(pPX, L"ControlSize", m_szHosted, CSize(0, 0));
  PX_Int(pPX, L"VerticalOptions", m_nVerticalMode, 0);
  if (pPX->m_nSchema >= kSchemaControlId) PX_Int(pPX, L"ControlId", m_nHostedId, 0);
  // The window is found again among the children of the command bars' site
  // and bars: those the archive is read for, else those of the control's bar.
  if (pPX->IsLoading() && m_nHostedId != 0) {
    CXTPCommandBarsExchangeParam *pParam = CXTPCommandBarsExchangeParam::FromExchange(pPX);
    FindControlWindow(pParam && pParam->pCommandBars ? pParam->pCommandBars : GetCommandBars());
  }
}

void CXTPControlCustom::Copy(CXTPControl *pControl, BOOL bRecursive) {
  auto *pSource = dynamic_cast<CXTPControlCustom *>(pControl);
  ASSERT(pSource != nullptr);
  if (pSource) {
    m_rcBorders = pSource->m_rcBorders;
    m_nVerticalMode = pSource->m_nVerticalMode;
    m_szHosted = pSource->m_szHosted;
    // Shared with the source: either may outlive the window, so each checks it.
    if (m_hWndHosted != pSource->m_hWndHosted && m_hWndHosted && ::IsWindow(m_hWndHosted))
      XTPHookManager()->UnhookWindow(m_hWndHosted, this);
    m_hWndHosted = pSource->HasWindow() ? pSource->m_hWndHosted : nullptr;
    m_nHostedId = pSource->m_nHostedId;
    Hook();
  }
  CXTPControlButton::Copy(pControl, bRecursive);
}

void CXTPControlCustom::OnClick(BOOL bKeyboard, CPoint pt) {
  if (HasWindow() && ::IsWindowVisible(m_hWndHosted) && !IsCustomizeMode()) return;
  CXTPControlButton::OnClick(bKeyboard, pt);
}

BOOL CXTPControlCustom::IsCustomizeDragOverAvail(CXTPCommandBar *pBar, CPoint /*point*/, DWORD &dwEffect) {
  if (pBar && pBar->GetType() == xtpBarTypePopup) return TRUE;
  dwEffect = DROPEFFECT_NONE;
  return FALSE;
}

CXTPControl *CXTPControlCustom::Clone(BOOL bRecursive) {
  auto *pControl = static_cast<CXTPControlCustom *>(RUNTIME_CLASS(CXTPControlCustom)->CreateObject());
  pControl->Copy(this, bRecursive);
  return pControl;
}

int CXTPControlCustom::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM &wParam, LPARAM &lParam,
                                     LRESULT & /*lResult*/) {
  if (nMessage != WM_MOUSEMOVE || m_pParent == nullptr || m_pParent->GetSafeHwnd() == nullptr)
    return xtpHookContinue;
  POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ::MapWindowPoints(hWnd, m_pParent->GetSafeHwnd(), &pt, 1);
  m_pParent->OnMouseMove(static_cast<UINT>(wParam), CPoint(pt));
  return xtpHookContinue;
}
