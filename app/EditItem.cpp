#include "EditItem.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CEditItem, CEdit)
ON_WM_CREATE()
ON_WM_GETDLGCODE()
ON_WM_CHAR()
ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

int CEditItem::OnCreate(LPCREATESTRUCT create) {
  if (CEdit::OnCreate(create) == -1) return -1;
  CWnd *list = GetParent();
  if (list != nullptr) SetFont(list->GetFont());
  SetWindowText(m_text);
  SetFocus();
  SetSel(0, 0);
  return 0;
}

// Enter and Escape end the edit here instead of pressing the dialog's buttons.
UINT CEditItem::OnGetDlgCode() {
  return CEdit::OnGetDlgCode() | DLGC_WANTALLKEYS;
}

void CEditItem::OnChar(UINT character, UINT repeat, UINT flags) {
  CWnd *list = GetParent();
  if (character == VK_ESCAPE || character == VK_RETURN) {
    if (character == VK_ESCAPE) m_cancelled = true;
    if (list != nullptr) list->SetFocus();
    return;
  }
  CEdit::OnChar(character, repeat, flags);
  if (list == nullptr) return;
  // Widen to the text typed, as far as the list reaches.
  CString text;
  GetWindowText(text);
  CWindowDC dc(this);
  CFont *old = dc.SelectObject(GetFont());
  const CSize size = dc.GetTextExtent(text);
  dc.SelectObject(old);
  CRect rect, client;
  GetWindowRect(&rect);
  list->ScreenToClient(&rect);
  list->GetClientRect(&client);
  const int wanted = std::min<int>(rect.left + size.cx + 5, client.right);
  if (wanted > rect.right)
    SetWindowPos(nullptr, 0, 0, wanted - rect.left, rect.Height(), SWP_NOMOVE | SWP_NOZORDER);
}

void CEditItem::OnKillFocus(CWnd *next) {
  CEdit::OnKillFocus(next);
  CString text;
  GetWindowText(text);
  CWnd *list = GetParent();
  CWnd *owner = list != nullptr ? list->GetParent() : nullptr;
  if (owner != nullptr) {
    NMLVDISPINFOW info = {};
    info.hdr.hwndFrom = list->m_hWnd;
    info.hdr.idFrom = static_cast<UINT_PTR>(list->GetDlgCtrlID());
    info.hdr.code = LVN_ENDLABELEDITW;
    info.item.mask = LVIF_TEXT;
    info.item.iItem = m_row;
    info.item.iSubItem = m_column;
    info.item.pszText = m_cancelled ? nullptr : const_cast<LPWSTR>(text.GetString());
    info.item.cchTextMax = m_cancelled ? 0 : text.GetLength();
    owner->SendMessage(WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
  }
  DestroyWindow();
}
