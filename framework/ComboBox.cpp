#include "ComboBox.h"

IMPLEMENT_DYNAMIC(CComboBox, CWnd)

BOOL CComboBox::Create(DWORD style, const RECT &rect, CWnd *parent, UINT id) {
  return CWnd::Create(L"COMBOBOX", nullptr, style, rect, parent, id);
}

void CComboBox::GetLBText(int index, CString &text) const {
  int length = GetLBTextLen(index);
  if (length == CB_ERR) {
    text.Empty();
    return;
  }
  int copied = GetLBText(index, text.GetBuffer(length + 1));
  text.ReleaseBuffer(copied == CB_ERR ? 0 : copied);
}

BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *result) {
  if (DispatchOwnerDraw(message, lParam, result)) return TRUE;
  return CWnd::OnChildNotify(message, wParam, lParam, result);
}
