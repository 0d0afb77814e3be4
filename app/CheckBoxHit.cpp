#include "CheckBoxHit.h"

bool IsCheckBoxHit(UINT flags, UINT stateIconFlag, POINT point, const RECT &stateIcon) {
  return flags == stateIconFlag || ::PtInRect(&stateIcon, point) != FALSE;
}

CRect ListStateIconRect(const CListCtrl &list, int row) {
  HIMAGELIST states = ListView_GetImageList(list.m_hWnd, LVSIL_STATE);
  int width = 0, height = 0;
  CRect icon;
  if (states == nullptr || !ImageList_GetIconSize(states, &width, &height) ||
      !list.GetItemRect(row, &icon, LVIR_ICON))
    return CRect();
  return CRect(icon.left - width, icon.top, icon.left, icon.bottom);
}

int ListCheckBoxRowAt(const CListCtrl &list, CPoint point) {
  LVHITTESTINFO hit = {};
  hit.pt = point;
  const int row =
      static_cast<int>(::SendMessageW(list.m_hWnd, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (row < 0) return -1;
  return IsCheckBoxHit(hit.flags, LVHT_ONITEMSTATEICON, point, ListStateIconRect(list, row)) ? row : -1;
}
