#include "OwnerDraw.h"

BOOL COwnerDrawList::DispatchOwnerDraw(UINT message, LPARAM lParam, LRESULT *result) {
  LRESULT value = TRUE;
  switch (message) {
  case WM_DRAWITEM:
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    break;
  case WM_MEASUREITEM:
    MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
    break;
  case WM_COMPAREITEM:
    value = CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
    break;
  case WM_DELETEITEM:
    DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
    break;
  default:
    return FALSE;
  }
  if (result != nullptr) *result = value;
  return TRUE;
}
