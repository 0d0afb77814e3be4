#include "ListBox.h"

IMPLEMENT_DYNAMIC(CListBox, CWnd)

BOOL CListBox::Create(DWORD style, const RECT &rect, CWnd *parent, UINT id) {
  return CWnd::Create(L"LISTBOX", nullptr, style, rect, parent, id);
}

void CListBox::GetText(int index, CString &text) const {
  int length = GetTextLen(index);
  if (length == LB_ERR) {
    text.Empty();
    return;
  }
  int copied = GetText(index, text.GetBuffer(length + 1));
  text.ReleaseBuffer(copied == LB_ERR ? 0 : copied);
}

UINT CListBox::ItemFromPoint(CPoint point, BOOL &outside) const {
  DWORD result = static_cast<DWORD>(SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y)));
  outside = HIWORD(result) != 0;
  return LOWORD(result);
}

BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *result) {
  if (DispatchOwnerDraw(message, lParam, result)) return TRUE;
  return CWnd::OnChildNotify(message, wParam, lParam, result);
}
