#include "XTPControlComboBox.h"

#include <algorithm>
#include <memory>

#include "XTPColorManager.h"
#include "XTPCommandBar.h"
#include "XTPCommandBars.h"
#include "XTPPropExchange.h"

IMPLEMENT_DYNCREATE(CXTPControlComboBoxList, CXTPPopupBar)

CXTPControlComboBoxList::GetMessageFunction CXTPControlComboBoxList::s_pfnGetMessage = nullptr;

// --- The list ------------------------------------------------------------------

CXTPControlComboBoxList::CXTPControlComboBoxList() {
  // Not a menu: a list under its control.
  m_barPosition = xtpBarListBox;
}

BOOL CXTPControlComboBoxList::CreateListWindow() {
  if (GetSafeHwnd()) return TRUE;
  if (!CreateEx(WS_EX_STATICEDGE | WS_EX_TOOLWINDOW, L"LISTBOX", L"",
                WS_POPUP | WS_CLIPCHILDREN | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 0, 0,
                0, 0, nullptr, nullptr))
    return FALSE;
  for (const CString &strText : m_arrItems)
    ::SendMessageW(m_hWnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(strText)));
  ::SendMessageW(m_hWnd, LB_SETCURSEL, m_nCurSel, 0);
  return TRUE;
}

LRESULT CXTPControlComboBoxList::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // The window is the list box's; none of the menu's drawing or tracking.
  if (message == WM_ERASEBKGND) {
    CRect rc;
    ::GetClientRect(m_hWnd, &rc);
    ::FillRect(reinterpret_cast<HDC>(wParam), &rc, ::GetSysColorBrush(COLOR_WINDOW));
    return TRUE;
  }
  if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
  return DefWindowProc(message, wParam, lParam);
}

int CXTPControlComboBoxList::AddString(LPCTSTR lpszText) {
  m_arrItems.push_back(lpszText ? lpszText : L"");
  if (m_hWnd) ::SendMessageW(m_hWnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszText ? lpszText : L""));
  return static_cast<int>(m_arrItems.size()) - 1;
}

int CXTPControlComboBoxList::GetCount() const {
  return static_cast<int>(m_arrItems.size());
}

CString CXTPControlComboBoxList::GetText(int nIndex) const {
  if (nIndex < 0 || nIndex >= GetCount()) return CString();
  return m_arrItems[static_cast<size_t>(nIndex)];
}

int CXTPControlComboBoxList::GetCurSel() const {
  // While dropped down the list box moves the selection itself.
  return m_hWnd ? static_cast<int>(::SendMessageW(m_hWnd, LB_GETCURSEL, 0, 0)) : m_nCurSel;
}

void CXTPControlComboBoxList::SetCurSel(int nIndex) {
  m_nCurSel = nIndex >= 0 && nIndex < GetCount() ? nIndex : -1;
  if (m_hWnd) ::SendMessageW(m_hWnd, LB_SETCURSEL, m_nCurSel, 0);
}

void CXTPControlComboBoxList::ResetContent() {
  m_arrItems.clear();
  m_nCurSel = -1;
  if (m_hWnd) ::SendMessageW(m_hWnd, LB_RESETCONTENT, 0, 0);
}

int CXTPControlComboBoxList::GetItemHeight() const {
  return m_hWnd ? static_cast<int>(::SendMessageW(m_hWnd, LB_GETITEMHEIGHT, 0, 0)) : 16;
}

void CXTPControlComboBoxList::CopyList(CXTPControlComboBoxList *pOther) {
  ResetContent();
  m_nListWidth = pOther->m_nListWidth;
  for (int i = 0; i < pOther->GetCount(); i++) AddString(pOther->GetText(i));
}

void CXTPControlComboBoxList::ExchangeItems(CXTPPropExchange *pPX) {
  std::unique_ptr<CXTPPropExchange> pSection(pPX->GetSection(L"Items"));
  if (!pSection) return;
  if (pPX->IsStoring()) {
    const int nCount = GetCount();
    pSection->WriteCount(static_cast<DWORD>(nCount));
    for (int i = 0; i < nCount; i++) {
      CString strKey;
      strKey.Format(L"Item%i", i);
      CString strText = GetText(i);
      PX_String(pSection.get(), strKey, strText, L"");
    }
    return;
  }
  // The window waits for the first drop-down.
  ResetContent();
  const DWORD dwCount = pSection->ReadCount();
  for (DWORD i = 0; i < dwCount; i++) {
    CString strKey;
    strKey.Format(L"Item%i", static_cast<int>(i));
    CString strText;
    PX_String(pSection.get(), strKey, strText, L"");
    AddString(strText);
  }
}

void CXTPControlComboBoxList::DropDown(CXTPControlComboBox *pCombo) {
  CXTPCommandBar *pBar = pCombo->GetParent();
  if (!pBar || !pBar->GetSafeHwnd() || !CreateListWindow()) return;
  m_pCombo = pCombo;
  // The list reads in the owner's direction.
  LONG lExStyle =
      ::GetWindowLongW(m_hWnd, GWL_EXSTYLE) & ~(WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR);
  if (::GetWindowLongW(pBar->GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL)
    lExStyle |= WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR;
  ::SetWindowLongW(m_hWnd, GWL_EXSTYLE, lExStyle);
  // The list reads in the font of the combo's field, else the GUI font.
  HWND hEdit = pCombo->GetEditCtrl() ? pCombo->GetEditCtrl()->GetSafeHwnd() : nullptr;
  LRESULT lFont = hEdit ? ::SendMessageW(hEdit, WM_GETFONT, 0, 0) : 0;
  if (!lFont) lFont = reinterpret_cast<LRESULT>(::GetStockObject(DEFAULT_GUI_FONT));
  if (::SendMessageW(m_hWnd, WM_GETFONT, 0, 0) != lFont)
    ::SendMessageW(m_hWnd, WM_SETFONT, static_cast<WPARAM>(lFont), 0);
  const int nRows = std::clamp(GetCount(), 1, kMaxVisibleItems);
  const int nHeight = nRows * GetItemHeight() + 4;
  const int nWidth = m_nListWidth > 0 ? m_nListWidth : pCombo->GetWidth();
  CRect rc = pCombo->GetRect();
  ::MapWindowPoints(pBar->GetSafeHwnd(), nullptr, reinterpret_cast<POINT *>(&rc), 2);
  SetCurSel(pCombo->GetCurSel());
  ::SetWindowPos(m_hWnd, HWND_TOPMOST, rc.right - nWidth, rc.bottom, nWidth, nHeight,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
  m_bDropped = TRUE;
  pCombo->m_bDropped = TRUE;
  pCombo->RedrawParent();
  Track();
  ::ShowWindow(m_hWnd, SW_HIDE);
  m_bDropped = FALSE;
  pCombo->m_bDropped = FALSE;
  pCombo->RedrawParent();
  m_pCombo = nullptr;
}

void CXTPControlComboBoxList::Track() {
  CXTPReferenceHold holdCombo(m_pCombo);
  CXTPReferenceHold holdList(this);
  ::SetCapture(m_hWnd);
  for (;;) {
    MSG msg;
    const BOOL bGot = s_pfnGetMessage ? s_pfnGetMessage(&msg) : ::GetMessageW(&msg, nullptr, 0, 0);
    if (bGot == 0) {
      // The quit belongs to the thread's own loop.
      if (!s_pfnGetMessage) ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (bGot == -1 || !OnTrackMessage(msg)) break;
    if (::GetCapture() != m_hWnd && !s_pfnGetMessage) break;
  }
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
}

BOOL CXTPControlComboBoxList::OnTrackMessage(const MSG &msg) {
  CRect rcClient;
  ::GetClientRect(m_hWnd, &rcClient);
  CPoint pt(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
  if (msg.hwnd && msg.hwnd != m_hWnd) ::MapWindowPoints(msg.hwnd, m_hWnd, &pt, 1);
  switch (msg.message) {
  case WM_MOUSEMOVE:
    if (rcClient.PtInRect(pt)) {
      const LRESULT lHit = ::SendMessageW(m_hWnd, LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y));
      if (HIWORD(lHit) == 0 && static_cast<int>(LOWORD(lHit)) != GetCurSel()) SetCurSel(LOWORD(lHit));
    }
    return TRUE;
  case WM_LBUTTONUP:
    if (!rcClient.PtInRect(pt)) return TRUE; // the release of the press that opened the list
    m_pCombo->OnSelChanged();
    ::ShowWindow(m_hWnd, SW_HIDE);
    m_pCombo->OnExecute();
    return FALSE;
  case WM_LBUTTONDOWN:
  case WM_RBUTTONDOWN:
  case WM_MBUTTONDOWN: {
    CRect rcWindow;
    ::GetWindowRect(m_hWnd, &rcWindow);
    CPoint ptScreen = pt;
    ::ClientToScreen(m_hWnd, &ptScreen);
    if (rcWindow.PtInRect(ptScreen)) {
      if (!rcClient.PtInRect(pt)) {
        // The scroll bar: the list box works it itself, without the capture.
        ::ReleaseCapture();
        ::SendMessageW(m_hWnd, WM_NCLBUTTONDOWN,
                       ::SendMessageW(m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(ptScreen.x, ptScreen.y)),
                       MAKELPARAM(ptScreen.x, ptScreen.y));
        ::SetCapture(m_hWnd);
      }
      return TRUE;
    }
    return FALSE;
  }
  case WM_MOUSEWHEEL:
    DefWindowProc(msg.message, msg.wParam, msg.lParam);
    return TRUE;
  case WM_KEYDOWN:
  case WM_SYSKEYDOWN:
    switch (msg.wParam) {
    case VK_ESCAPE:
      return FALSE;
    case VK_TAB:
      return TRUE;
    case VK_RETURN:
      m_pCombo->OnSelChanged();
      ::ShowWindow(m_hWnd, SW_HIDE);
      m_pCombo->OnExecute();
      return FALSE;
    default: {
      const int nBefore = GetCurSel();
      DefWindowProc(WM_KEYDOWN, msg.wParam, msg.lParam);
      if (GetCurSel() != nBefore) m_pCombo->OnSelChanged();
      return TRUE;
    }
    }
  case WM_CHAR:
  case WM_KEYUP:
  case WM_SYSKEYUP:
  case WM_SYSCHAR:
    return TRUE;
  case WM_CANCELMODE:
  case WM_ACTIVATEAPP:
    return FALSE;
  }
  ::TranslateMessage(&msg);
  ::DispatchMessageW(&msg);
  return TRUE;
}

// --- The edit field -------------------------------------------------------------------

LRESULT CXTPControlComboBoxEditCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_KEYDOWN:
    if (!m_bInDialogKey && m_pCombo) {
      m_bInDialogKey = TRUE;
      const int nResult = m_pCombo->OnEditKeyDown(static_cast<UINT>(wParam));
      m_bInDialogKey = FALSE;
      if (nResult != 2) return 0;
    }
    break;
  case WM_CHAR:
    // Enter and Esc did their work on the key press: no beep.
    if (wParam == VK_RETURN || wParam == VK_ESCAPE || wParam == VK_TAB) return 0;
    break;
  case WM_GETDLGCODE:
    return DLGC_WANTALLKEYS | DLGC_HASSETSEL | DLGC_WANTCHARS;
  case WM_SETFOCUS: {
    const LRESULT lResult = CXTPEdit::WindowProc(message, wParam, lParam);
    SetSel(0, -1);
    if (m_pCombo) m_pCombo->OnEditFocus(TRUE);
    return lResult;
  }
  case WM_KILLFOCUS: {
    const LRESULT lResult = CXTPEdit::WindowProc(message, wParam, lParam);
    if (m_pCombo) m_pCombo->OnEditFocus(FALSE);
    return lResult;
  }
  case WM_CONTEXTMENU:
    if (m_pCombo && !m_pCombo->IsCustomizeMode()) {
      CPoint pt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
      if (lParam == -1)
        pt = CPoint(0, 0);
      else
        ::ScreenToClient(m_hWnd, &pt);
      ShowContextMenu(m_pCombo, pt);
    }
    return 0;
  case WM_DESTROY:
    // The text outlives the window.
    if (m_pCombo) {
      wchar_t szText[1024] = {};
      ::GetWindowTextW(m_hWnd, szText, 1024);
      m_pCombo->m_strEditText = szText;
    }
    break;
  }
  return CXTPEdit::WindowProc(message, wParam, lParam);
}

// --- The combo -------------------------------------------------------------------------------

IMPLEMENT_SERIAL(CXTPControlComboBox, CXTPControlPopup, VERSIONABLE_SCHEMA | 8)

CXTPControlComboBox::CXTPControlComboBox() {
  m_controlType = xtpControlComboBox;
  m_pList = new CXTPControlComboBoxList;
  SetCommandBar(m_pList);
  m_pList->InternalRelease(); // the popup base holds it
}

CXTPControlComboBox::~CXTPControlComboBox() {
  DestroyEditWindow();
}

void CXTPControlComboBox::SetWidth(int nWidth) {
  if (nWidth == m_nWidth) return;
  m_nWidth = nWidth;
  DelayLayoutParent();
}

CString CXTPControlComboBox::GetEditText() const {
  if (m_pEdit && m_pEdit->GetSafeHwnd()) {
    wchar_t szText[1024] = {};
    ::GetWindowTextW(m_pEdit->GetSafeHwnd(), szText, 1024);
    return szText;
  }
  return m_strEditText;
}

void CXTPControlComboBox::SetEditText(LPCTSTR lpszText) {
  if (m_pEdit && m_pEdit->GetSafeHwnd())
    ::SetWindowTextW(m_pEdit->GetSafeHwnd(), lpszText);
  else
    m_strEditText = lpszText;
  InvalidateParent();
}

void CXTPControlComboBox::SetDropDown(BOOL bDropDown) {
  m_bDropDown = bDropDown;
  if (bDropDown)
    CreateEditWindow();
  else
    DestroyEditWindow();
}

CRect CXTPControlComboBox::GetEditRect() const {
  CRect rc = GetRect();
  rc.left += m_nLabelWidth + 1 + 3;
  rc.right -= (m_nThumbWidth > 0 ? m_nThumbWidth : 16) + 2;
  rc.DeflateRect(0, 3);
  return rc;
}

void CXTPControlComboBox::CreateEditWindow() {
  if (m_pEdit && m_pEdit->GetSafeHwnd()) return;
  // The field lives on its bar's window: it comes once the bar has one.
  if (!m_bDropDown || !m_pParent || !m_pParent->GetSafeHwnd()) return;
  if (!m_pEdit) m_pEdit = CreateEditCtrl();
  const CString strText = m_strEditText;
  if (!m_pEdit->Create(WS_CHILD | ES_AUTOHSCROLL, GetEditRect(), m_pParent, 0)) return;
  XTPBarField::Dress(m_pEdit->GetSafeHwnd(), m_pParent->GetSafeHwnd(), strText, m_bEnabled);
  if (IsVisible() && !GetRect().IsRectEmpty()) ::ShowWindow(m_pEdit->GetSafeHwnd(), SW_SHOWNA);
}

void CXTPControlComboBox::DestroyEditWindow() {
  XTPBarField::Destroy(m_pEdit);
}

void CXTPControlComboBox::SetRect(CRect rcControl) {
  CXTPControlPopup::SetRect(rcControl);
  CreateEditWindow();
  if (HWND hField = XTPBarField::HandleOf(m_pEdit))
    XTPBarField::Place(hField, m_pParent, GetEditRect(), IsVisible() && !rcControl.IsRectEmpty());
}

void CXTPControlComboBox::SetParent(CXTPCommandBar *pParent) {
  CXTPControlPopup::SetParent(pParent);
  XTPBarField::FollowBar(m_pEdit, pParent);
}

void CXTPControlComboBox::SetHideFlags(DWORD dwFlags) {
  if (dwFlags == m_dwHideFlags) return;
  CXTPControlPopup::SetHideFlags(dwFlags);
  XTPBarField::ShowUnlessHidden(XTPBarField::HandleOf(m_pEdit), dwFlags);
  DelayLayoutParent();
}

void CXTPControlComboBox::SetEnabled(BOOL bEnabled) {
  CXTPControlPopup::SetEnabled(bEnabled);
  if (m_pEdit && m_pEdit->GetSafeHwnd()) ::EnableWindow(m_pEdit->GetSafeHwnd(), bEnabled);
}

BOOL CXTPControlComboBox::IsFocused() const {
  return m_pEdit && m_pEdit->GetSafeHwnd() && ::GetFocus() == m_pEdit->GetSafeHwnd();
}

void CXTPControlComboBox::SetCurSel(int nIndex) {
  m_nLastSel = nIndex;
  const BOOL bChanged = nIndex != m_nCurSel;
  m_nCurSel = nIndex;
  m_pList->SetCurSel(nIndex);
  if (bChanged) OnSelChanged();
}

void CXTPControlComboBox::OnSelChanged() {
  m_nCurSel = m_pList->GetCurSel();
  if (m_nCurSel >= 0) SetEditText(m_pList->GetText(m_nCurSel));
  InvalidateParent();
}

void CXTPControlComboBox::DropDown() {
  if (!m_bEnabled || m_pList->IsDroppedDown()) return;
  m_pList->DropDown(this);
}

int CXTPControlComboBox::OnEditKeyDown(UINT nChar) {
  if (!m_pEdit || !m_pEdit->GetSafeHwnd()) return TRUE;
  switch (nChar) {
  case VK_ESCAPE:
    if (IsFocused() && m_pParent) {
      ::SetFocus(m_pParent->GetSafeHwnd());
      m_pParent->Invalidate(FALSE);
      m_pParent->OnIdleUpdateCmdUI(TRUE);
    }
    return TRUE;
  case VK_F4:
    DropDown();
    return TRUE;
  case VK_RETURN:
    // The typed text is the command's argument.
    OnExecute();
    return TRUE;
  }
  return m_pEdit->ProcessDialogKey(nChar) ? TRUE : 2;
}

void CXTPControlComboBox::OnEditFocus(BOOL /*bFocused*/) {
  InvalidateParent();
}

void CXTPControlComboBox::OnClick(BOOL bKeyboard, CPoint pt) {
  if (IsCustomizeMode()) {
    if (m_pParent) m_pParent->SetSelected(-1);
    CXTPControlButton::OnClick(bKeyboard, pt);
    return;
  }
  if (!m_bEnabled) return;
  if (!bKeyboard || !m_pEdit || !m_pEdit->GetSafeHwnd()) {
    DropDown();
    return;
  }
  if (IsFocused())
    OnExecute();
  else
    ::SetFocus(m_pEdit->GetSafeHwnd());
}

void CXTPControlComboBox::Copy(CXTPControl *pControl, BOOL bRecursive) {
  auto *pOther = dynamic_cast<CXTPControlComboBox *>(pControl);
  ASSERT(pOther != nullptr);
  if (pOther) {
    m_nComboStyle = pOther->m_nComboStyle;
    m_nWidth = pOther->m_nWidth;
    m_strEditText = pOther->GetEditText();
    m_bDropDown = pOther->m_bDropDown;
    m_pList->CopyList(pOther->m_pList);
    if (pOther->m_pEdit && pOther->m_pEdit->GetSafeHwnd()) CreateEditWindow();
  }
  // The popup base copies the rest, but the list stays this combo's own.
  CXTPControlButton::Copy(pControl, bRecursive);
}

BOOL CXTPControlComboBox::Compare(CXTPControl *pOther) {
  auto *pCombo = dynamic_cast<CXTPControlComboBox *>(pOther);
  return CXTPControl::Compare(pOther) && pCombo && pCombo->m_nWidth == m_nWidth;
}

void CXTPControlComboBox::DoPropExchange(CXTPPropExchange *pPX) {
  CXTPControl::DoPropExchange(pPX);
  // The popup's keys: the list is part of the combo and stored below with
  // its items, so no bar id is linked.
  long lListId = 0;
  PX_Long(pPX, L"CommandBarId", lListId, 0);
  if (pPX->m_nSchema > 4) PX_Int(pPX, L"Style", m_buttonStyle, 0);
  BOOL bDropDown = m_bDropDown;
  PX_Bool(pPX, L"DropDown", bDropDown, FALSE);
  PX_Int(pPX, L"Width", m_nWidth, 100);
  PX_Int(pPX, L"ComboStyle", m_nComboStyle, 0);
  if (pPX->IsLoading()) SetDropDown(bDropDown);
  m_pList->ExchangeItems(pPX);
}
