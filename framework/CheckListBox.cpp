#include "CheckListBox.h"

#include <algorithm>

#include "Dc.h"

IMPLEMENT_DYNAMIC(CCheckListBox, CListBox)

void CCheckListBox::SetCheck(int nIndex, int nCheck) {
  if (nIndex < 0 || nIndex >= static_cast<int>(m_checks.size())) return;
  if (m_checks[static_cast<size_t>(nIndex)] == nCheck) return;
  m_checks[static_cast<size_t>(nIndex)] = nCheck;
  CRect rc;
  if (m_hWnd && GetItemRect(nIndex, &rc) != LB_ERR) InvalidateRect(&rc, FALSE);
}

int CCheckListBox::GetCheck(int nIndex) const {
  if (nIndex < 0 || nIndex >= static_cast<int>(m_checks.size())) return 0;
  return m_checks[static_cast<size_t>(nIndex)];
}

CRect CCheckListBox::CheckBoxRect(const CRect &rcItem) {
  const int nSize = std::min(13, static_cast<int>(rcItem.Height()) - 2);
  const int y = rcItem.top + (rcItem.Height() - nSize) / 2;
  return CRect(rcItem.left + 2, y, rcItem.left + 2 + nSize, y + nSize);
}

void CCheckListBox::Toggle(int nIndex) {
  if (nIndex < 0 || nIndex >= static_cast<int>(m_checks.size())) return;
  SetCheck(nIndex, GetCheck(nIndex) ? 0 : 1);
  if (HWND hWndParent = ::GetParent(m_hWnd))
    ::SendMessageW(hWndParent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), CLBN_CHKCHANGE),
                   reinterpret_cast<LPARAM>(m_hWnd));
}

void CCheckListBox::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  if (static_cast<int>(lpDIS->itemID) < 0) return;
  HDC hDC = lpDIS->hDC;
  CRect rcItem(lpDIS->rcItem);
  const BOOL bSelected = (lpDIS->itemState & ODS_SELECTED) != 0;
  CRect rcBox = CheckBoxRect(rcItem);
  ::FillRect(hDC, &rcItem, ::GetSysColorBrush(COLOR_WINDOW));
  UINT nState = DFCS_BUTTONCHECK | DFCS_FLAT;
  if (GetCheck(static_cast<int>(lpDIS->itemID))) nState |= DFCS_CHECKED;
  ::DrawFrameControl(hDC, &rcBox, DFC_BUTTON, nState);

  CRect rcText(rcBox.right + 3, rcItem.top, rcItem.right, rcItem.bottom);
  CString strText;
  GetText(static_cast<int>(lpDIS->itemID), strText);
  ::FillRect(hDC, &rcText, ::GetSysColorBrush(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  ::SetBkMode(hDC, TRANSPARENT);
  ::SetTextColor(hDC, ::GetSysColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  CRect rcLabel = rcText;
  rcLabel.left += 2;
  ::DrawTextW(hDC, strText, -1, &rcLabel, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (lpDIS->itemState & ODS_FOCUS) ::DrawFocusRect(hDC, &rcText);
}

LRESULT CCheckListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case LB_RESETCONTENT:
    m_checks.clear();
    break;
  case LB_DELETESTRING: {
    const LRESULT lResult = CListBox::WindowProc(message, wParam, lParam);
    if (lResult != LB_ERR && wParam < m_checks.size())
      m_checks.erase(m_checks.begin() + static_cast<long>(wParam));
    return lResult;
  }
  case LB_ADDSTRING:
  case LB_INSERTSTRING: {
    const LRESULT lResult = CListBox::WindowProc(message, wParam, lParam);
    if (lResult >= 0 && static_cast<size_t>(lResult) <= m_checks.size())
      m_checks.insert(m_checks.begin() + static_cast<long>(lResult), 0);
    return lResult;
  }
  case WM_LBUTTONDOWN: {
    const CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    BOOL bOutside = TRUE;
    const int nIndex = static_cast<int>(ItemFromPoint(point, bOutside));
    CRect rcItem;
    if (!bOutside && GetItemRect(nIndex, &rcItem) != LB_ERR) {
      CRect rcBox = CheckBoxRect(rcItem);
      rcBox.InflateRect(1, 1);
      if (rcBox.PtInRect(point)) {
        const LRESULT lResult = CListBox::WindowProc(message, wParam, lParam);
        Toggle(nIndex);
        return lResult;
      }
    }
    break;
  }
  case WM_KEYDOWN:
    if (wParam == VK_SPACE) {
      Toggle(GetCaretIndex());
      return 0;
    }
    break;
  }
  return CListBox::WindowProc(message, wParam, lParam);
}
