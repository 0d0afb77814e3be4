#include "ExpandingDialog.h"

CExpandingDialog::CExpandingDialog(UINT templateId, CWnd *parent, UINT markerId, UINT buttonId, UINT secondId,
                                   CString collapsedText, CString expandedText, bool changeText,
                                   bool *expandedState)
    : CDialog(templateId, parent), m_collapsedText(std::move(collapsedText)),
      m_expandedText(std::move(expandedText)), m_markerId(markerId), m_buttonId(buttonId),
      m_secondId(secondId), m_changeText(changeText),
      m_wanted(expandedState != nullptr ? expandedState : &m_ownState) {}

BOOL CExpandingDialog::OnInitDialog() {
  const BOOL result = CDialog::OnInitDialog();
  Expand(false);
  return result;
}

BOOL CExpandingDialog::OnExpanding(bool) {
  return TRUE;
}

void CExpandingDialog::OnExpanded(bool) {}

void CExpandingDialog::Expand(bool expand) {
  if (expand == m_expanded) return;
  CWnd *marker = GetDlgItem(m_markerId);
  if (marker == nullptr) return;
  CRect markerRect;
  marker->GetWindowRect(&markerRect);
  for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    RECT childRect, common;
    ::GetWindowRect(child, &childRect);
    if (!::IntersectRect(&common, &childRect, &markerRect)) ::EnableWindow(child, expand);
  }
  CWnd *button = GetDlgItem(m_buttonId);
  CRect window;
  GetWindowRect(&window);
  if (!expand) {
    if (m_fullSize.cx == 0) m_fullSize = window.Size();
    marker->ShowWindow(SW_HIDE);
    SetWindowPos(nullptr, 0, 0, markerRect.right - window.left, markerRect.bottom - window.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    if (button != nullptr) button->SetWindowText(m_collapsedText);
  } else {
    SetWindowPos(nullptr, 0, 0, m_fullSize.cx, m_fullSize.cy, SWP_NOMOVE | SWP_NOZORDER);
    // The grown dialog may now reach past the screen's edge.
    SendMessage(DM_REPOSITION);
    if (button != nullptr) {
      if (m_changeText)
        button->SetWindowText(m_expandedText);
      else
        button->EnableWindow(FALSE);
    }
  }
  m_expanded = expand;
}

void CExpandingDialog::ToggleExpand() {
  if (!OnExpanding(m_expanded)) return;
  Expand(*m_wanted);
  if (CWnd *button = GetDlgItem(m_buttonId)) {
    HWND next = ::GetNextDlgTabItem(m_hWnd, button->m_hWnd, FALSE);
    if (next != nullptr) ::SetFocus(next);
  }
  OnExpanded(m_expanded);
}

BOOL CExpandingDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
  // Ahead of the message map, so a derived dialog's own handler of the
  // button sees the dialog already changed.
  if (LOWORD(wParam) == m_buttonId && HIWORD(wParam) == BN_CLICKED) {
    *m_wanted = !*m_wanted;
    ToggleExpand();
  }
  return CDialog::OnCommand(wParam, lParam);
}
