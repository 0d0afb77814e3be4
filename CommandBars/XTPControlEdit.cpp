#include "XTPControlEdit.h"

#include "XTPCommandBar.h"
#include "XTPCommandBars.h"
#include "XTPMouseManager.h"
#include "XTPPaintManager.h"
#include "XTPPropExchange.h"

#include <vector>

namespace {

CString GetWindowTextString(HWND hWnd) {
  std::vector<wchar_t> buffer(static_cast<size_t>(::GetWindowTextLengthW(hWnd)) + 1, L'\0');
  ::GetWindowTextW(hWnd, buffer.data(), static_cast<int>(buffer.size()));
  return CString(buffer.data());
}

} // namespace

// --- The box -----------------------------------------------------------------

LRESULT CXTPControlEditCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  CXTPControlEdit *pControl = m_pControl;
  switch (message) {
  case WM_SETFOCUS: {
    if (pControl) pControl->OnEditSetFocus(reinterpret_cast<HWND>(wParam));
    const LRESULT lResult = CXTPEdit::WindowProc(message, wParam, lParam);
    ::PostMessageW(m_hWnd, EM_SETSEL, 0, -1);
    return lResult;
  }
  case WM_KILLFOCUS: {
    const LRESULT lResult = CXTPEdit::WindowProc(message, wParam, lParam);
    if (m_pControl) m_pControl->OnEditKillFocus();
    return lResult;
  }
  case WM_MOUSEMOVE: {
    const LRESULT lResult = CXTPEdit::WindowProc(message, wParam, lParam);
    // Hot tracking goes on over the box.
    CXTPCommandBar *pBar = m_pControl ? m_pControl->GetParent() : nullptr;
    if (pBar && pBar->GetSafeHwnd()) {
      CPoint pt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
      ::MapWindowPoints(m_hWnd, pBar->GetSafeHwnd(), &pt, 1);
      pBar->OnMouseMove(static_cast<UINT>(wParam), pt);
    }
    return lResult;
  }
  case WM_LBUTTONDOWN:
    if (OnLButtonDown()) return 0;
    break;
  case WM_RBUTTONDOWN:
    if (pControl && pControl->IsCustomizeMode()) {
      OnRButtonDown(static_cast<UINT>(wParam),
                    CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
      return 0;
    }
    break;
  case WM_CONTEXTMENU: {
    // No menu while customising, nor inside a menu (it cannot hold a second one).
    CXTPCommandBar *pBar = pControl ? pControl->GetParent() : nullptr;
    if (pControl && !pControl->IsCustomizeMode() && !(pBar && pBar->GetPosition() == xtpBarPopup)) {
      CPoint pt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
      if (lParam == -1)
        pt = CPoint(0, 0);
      else
        ::ScreenToClient(m_hWnd, &pt);
      ShowContextMenu(pControl, pt);
    }
    return 0;
  }
  case WM_KEYDOWN:
    // Keys that reach the box without the bar's tracking (nothing routed
    // them): Enter runs the command, Esc gives the focus back.
    if (wParam == VK_RETURN && pControl) {
      pControl->OnExecute();
      return 0;
    }
    if (wParam == VK_ESCAPE && pControl) {
      pControl->OnEditEscape();
      return 0;
    }
    break;
  case WM_CHAR:
    // Enter, Esc and Tab did their work on the key press: no beep.
    if (wParam == VK_RETURN || wParam == VK_ESCAPE || wParam == VK_TAB) return 0;
    break;
  case WM_GETDLGCODE:
    return DLGC_WANTALLKEYS | DLGC_HASSETSEL | DLGC_WANTCHARS;
  case WM_DESTROY:
    // The text outlives the window.
    if (pControl) pControl->m_strEditText = GetWindowTextString(m_hWnd);
    break;
  }
  return CXTPEdit::WindowProc(message, wParam, lParam);
}

BOOL CXTPControlEditCtrl::OnLButtonDown() {
  // In customise mode a press in the box drags the control, unless it may
  // not move; no caret goes in.
  CXTPControlEdit *pControl = m_pControl;
  if (!pControl || !pControl->IsCustomizeMode()) return FALSE;
  CXTPCommandBar *pBar = pControl->GetParent();
  if (!pBar || !pBar->IsCustomizable() || (pControl->GetFlags() & xtpFlagNoMovable)) return FALSE;
  pControl->OnClick(FALSE, CPoint(0, 0));
  return TRUE;
}

void CXTPControlEditCtrl::OnRButtonDown(UINT nFlags, CPoint point) {
  // The bar's customise menu for the control.
  CXTPCommandBar *pBar = m_pControl->GetParent();
  if (!pBar || !pBar->GetSafeHwnd()) return;
  ::MapWindowPoints(m_hWnd, pBar->GetSafeHwnd(), &point, 1);
  ::SendMessageW(pBar->GetSafeHwnd(), WM_RBUTTONDOWN, nFlags, MAKELPARAM(point.x, point.y));
}

BOOL CXTPControlEditCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *pResult) {
  if (!m_pControl) return CXTPEdit::OnChildNotify(message, wParam, lParam, pResult);
  if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
    CDC dc;
    dc.Attach(reinterpret_cast<HDC>(wParam));
    HBRUSH hBrush = m_pControl->OnCtlColor(&dc);
    dc.Detach();
    if (!hBrush) return FALSE;
    if (pResult) *pResult = reinterpret_cast<LRESULT>(hBrush);
    return TRUE;
  }
  // The owner's own handling of the notification comes back through here
  // when the owner is a window of the framework too: it is not passed on twice.
  if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE && !m_bNotifying) {
    m_bNotifying = TRUE;
    m_pControl->OnEditChanged();
    m_bNotifying = FALSE;
    return TRUE;
  }
  return CXTPEdit::OnChildNotify(message, wParam, lParam, pResult);
}

// --- The control ---------------------------------------------------------------

IMPLEMENT_SERIAL(CXTPControlEdit, CXTPControl, VERSIONABLE_SCHEMA | 8)

CXTPControlEdit::CXTPControlEdit() {
  m_controlType = xtpControlEdit;
}

CXTPControlEdit::~CXTPControlEdit() {
  // The box is cut loose before it goes, so its last focus change cannot
  // reach a control half destroyed; the lock its focus holds goes first,
  // else hot tracking would stay dead for the rest of the session.
  ReleaseMouseLock();
  if (m_pEdit) m_pEdit->SetOwnerControl(nullptr);
  XTPBarField::Destroy(m_pEdit);
}

void CXTPControlEdit::ReleaseMouseLock() {
  if (!m_bMouseLocked) return;
  m_bMouseLocked = FALSE;
  if (CXTPMouseManager *pMouse = XTPGetMouseManager()) pMouse->UnlockMouseMove();
}

void CXTPControlEdit::SetWidth(int nWidth) {
  if (nWidth == m_nWidth) return;
  m_nWidth = nWidth;
  DelayLayoutParent();
}

void CXTPControlEdit::SetLabelWidth(int nWidth) {
  if (nWidth == m_nLabelWidth) return;
  m_nLabelWidth = nWidth;
  m_bForceReposition = TRUE;
}

void CXTPControlEdit::ShowLabel(BOOL bShow) {
  if (bShow == m_bLabel) return;
  m_bLabel = bShow;
  DelayLayoutParent();
}

void CXTPControlEdit::SetReadOnly(BOOL bReadOnly) {
  m_bReadOnly = bReadOnly;
  if (HWND hField = HandleOf()) ::SendMessageW(hField, EM_SETREADONLY, bReadOnly, 0);
}

CString CXTPControlEdit::GetEditText() const {
  if (HWND hField = HandleOf())
    const_cast<CXTPControlEdit *>(this)->m_strEditText = GetWindowTextString(hField);
  return m_strEditText;
}

void CXTPControlEdit::SetEditText(LPCTSTR lpszText) {
  MakeEditObject();
  HWND hField = HandleOf();
  if (hField && GetWindowTextString(hField) != lpszText) {
    // The owner hears only what the user changes.
    m_bQuiet = TRUE;
    ::SetWindowTextW(hField, lpszText);
    m_bQuiet = FALSE;
    return;
  }
  m_strEditText = lpszText;
}

void CXTPControlEdit::MakeEditObject() {
  if (m_pEdit) return;
  m_pEdit = CreateEditControl();
  m_pEdit->SetOwnerControl(this);
}

void CXTPControlEdit::CreateEditWindow() {
  HWND hBar = XTPBarField::BarWindow(m_pParent);
  if (!hBar) return;
  const CString strText = m_strEditText;
  if (!m_pEdit->Create(WS_CHILD | ES_AUTOHSCROLL, CRect(0, 0, 0, 0), m_pParent, 0)) return;
  m_bQuiet = TRUE;
  XTPBarField::Dress(m_pEdit->GetSafeHwnd(), hBar, strText, m_bEnabled);
  m_bQuiet = FALSE;
  // The box writes in the font the bar draws its controls with.
  if (CXTPPaintManager *pPaintManager = GetPaintManager()) {
    if (HFONT hFont = static_cast<HFONT>(pPaintManager->GetIconFont()->GetSafeHandle()))
      ::SendMessageW(m_pEdit->GetSafeHwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(hFont), 0);
  }
}

void CXTPControlEdit::SetRect(CRect rcControl) {
  MakeEditObject();
  HWND hField = HandleOf();
  HWND hBar = XTPBarField::BarWindow(m_pParent);
  if (rcControl == m_rcControl && !m_bForceReposition && hField && ::GetParent(hField) == hBar) return;
  m_rcControl = rcControl;
  if (!hField && hBar) {
    CreateEditWindow();
    hField = HandleOf();
  }
  if (hField && hBar) {
    ::SendMessageW(hField, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    ::SendMessageW(hField, EM_SETREADONLY, m_bReadOnly, 0);
    CRect rcBox = rcControl;
    rcBox.left += m_nLabelWidth + 4;
    rcBox.top += 3;
    rcBox.right -= 3;
    rcBox.bottom -= 3;
    XTPBarField::Place(hField, m_pParent, rcBox, IsVisible() && !rcControl.IsRectEmpty());
  }
  m_bForceReposition = FALSE;
}

void CXTPControlEdit::SetEnabled(BOOL bEnabled) {
  if (bEnabled == m_bEnabled) return;
  m_bEnabled = bEnabled;
  if (HWND hField = HandleOf()) ::EnableWindow(hField, bEnabled);
  RedrawParent();
}

BOOL CXTPControlEdit::IsCaptionVisible() {
  return m_bLabel && !GetCaption().IsEmpty();
}

BOOL CXTPControlEdit::Compare(CXTPControl *pOther) {
  auto *pEdit = dynamic_cast<CXTPControlEdit *>(pOther);
  return CXTPControl::Compare(pOther) && pEdit && pEdit->m_nWidth == m_nWidth;
}

void CXTPControlEdit::SetHideFlags(DWORD dwFlags) {
  if (dwFlags == m_dwHideFlags) return;
  m_dwHideFlags = dwFlags;
  XTPBarField::ShowUnlessHidden(HandleOf(), dwFlags);
  DelayLayoutParent();
}

void CXTPControlEdit::OnCalcDynamicSize(DWORD dwMode) {
  SetHideFlag(xtpHideDockingPosition, (dwMode & LM_VERTDOCK) != 0);
}

void CXTPControlEdit::DoPropExchange(CXTPPropExchange *pPX) {
  CXTPControl::DoPropExchange(pPX);
  // Older layouts carry fewer of the box's options: what they lack stays.
  if (pPX->m_nSchema >= 6) {
    PX_Bool(pPX, L"HasLabel", m_bLabel, FALSE);
    PX_Int(pPX, L"Width", m_nWidth, 0);
  }
  if (pPX->m_nSchema >= 8) {
    BOOL bReadOnly = m_bReadOnly;
    PX_Bool(pPX, L"ReadOnly", bReadOnly, FALSE);
    if (pPX->IsLoading()) SetReadOnly(bReadOnly);
  }
}

BOOL CXTPControlEdit::IsFocused() const {
  HWND hField = HandleOf();
  return hField && ::GetFocus() == hField;
}

void CXTPControlEdit::SetFocus() {
  if (HWND hField = HandleOf()) ::SetFocus(hField);
}

int CXTPControlEdit::OnHookKeyDown(UINT nChar) {
  HWND hField = HandleOf();
  if (!hField) return 2;
  if (nChar == VK_ESCAPE) {
    if (::GetFocus() != hField) return 0;
    OnEditEscape();
    return 1;
  }
  return m_pEdit->ProcessDialogKey(nChar) ? 1 : 2;
}

void CXTPControlEdit::OnEditEscape() {
  CXTPCommandBar *pBar = m_pParent;
  if (!pBar || !IsFocused()) return;
  CXTPReferenceHold hold(pBar);
  GiveFocusBack();
  // A toolbar stops taking the keys with the focus gone: the keys typed next
  // are the window's, not the bar's mnemonics. A menu stays open.
  if (!pBar->IsPopupBar() && pBar->IsTrackingMode()) pBar->SetTrackingMode(0, TRUE, FALSE);
  if (pBar->GetSafeHwnd()) {
    pBar->Invalidate(FALSE);
    pBar->OnIdleUpdateCmdUI(TRUE);
  }
}

void CXTPControlEdit::GiveFocusBack() {
  HWND hWndBefore = m_pParent ? m_pParent->GetFocusBefore() : nullptr;
  if (!hWndBefore || !::IsWindow(hWndBefore)) hWndBefore = m_pParent ? m_pParent->GetOwnerSite() : nullptr;
  ::SetFocus(hWndBefore);
  if (m_pParent && m_pParent->GetSafeHwnd()) m_pParent->Invalidate(FALSE);
}

void CXTPControlEdit::SetParent(CXTPCommandBar *pParent) {
  m_pParent = pParent;
  if (!pParent) XTPBarField::Destroy(m_pEdit);
}

void CXTPControlEdit::Copy(CXTPControl *pControl, BOOL bRecursive) {
  auto *pOther = dynamic_cast<CXTPControlEdit *>(pControl);
  ASSERT(pOther != nullptr);
  if (!pOther) return;
  m_nWidth = pOther->m_nWidth;
  m_strEditText = pOther->GetEditText();
  m_bLabel = pOther->m_bLabel;
  SetReadOnly(pOther->m_bReadOnly);
  CXTPControl::Copy(pControl, bRecursive);
}

void CXTPControlEdit::OnClick(BOOL bKeyboard, CPoint pt) {
  if (IsCustomizeMode()) {
    if (m_pParent) {
      m_pParent->SetPopuped(-1);
      m_pParent->SetSelected(-1);
    }
    OnCustomizeStartDrag(pt);
    return;
  }
  if (bKeyboard && IsFocused())
    OnExecute();
  else
    SetFocus();
}

void CXTPControlEdit::OnMouseHover() {
  // While the box has the keys, hovering over the bar closes nothing.
  CXTPMouseManager *pMouse = XTPGetMouseManager();
  if (pMouse && pMouse->IsMouseLocked()) return;
  CXTPControl::OnMouseHover();
}

BOOL CXTPControlEdit::OnSetSelected(int bSelected) {
  if (!CXTPControl::OnSetSelected(bSelected)) return FALSE;
  if (!bSelected && IsFocused()) GiveFocusBack();
  return TRUE;
}

int CXTPControlEdit::GetCustomizeMinWidth() const {
  return m_bLabel ? m_nLabelWidth + 10 : 10;
}

void CXTPControlEdit::OnEditSetFocus(HWND hWndOld) {
  CXTPCommandBar *pBar = m_pParent;
  if (!pBar) return;
  CXTPReferenceHold hold(pBar);
  if (!pBar->GetFocusBefore()) pBar->SetFocusBefore(hWndOld ? hWndOld : pBar->GetOwnerSite());
  pBar->SetPopuped(-1);
  pBar->SetTrackingMode(1, FALSE, FALSE);
  pBar->SetSelected(m_nIndex, FALSE);
  if (!m_bMouseLocked) {
    if (CXTPMouseManager *pMouse = XTPGetMouseManager()) {
      pMouse->LockMouseMove();
      m_bMouseLocked = TRUE;
    }
  }
}

void CXTPControlEdit::OnEditKillFocus() {
  ReleaseMouseLock();
}

void CXTPControlEdit::OnEditChanged() {
  if (m_bQuiet) return;
  HWND hTarget = m_pParent ? m_pParent->GetUpdateTarget() : nullptr;
  if (hTarget && m_nId != 0)
    ::SendMessageW(hTarget, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(m_nId), EN_CHANGE),
                   reinterpret_cast<LPARAM>(HandleOf()));
}

HBRUSH CXTPControlEdit::OnCtlColor(CDC *pDC) {
  if (!m_bEnabled) return nullptr;
  pDC->SetBkColor(::GetSysColor(COLOR_WINDOW));
  return ::GetSysColorBrush(COLOR_WINDOW);
}
