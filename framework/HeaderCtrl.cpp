#include "HeaderCtrl.h"

#include "CommonControls.h"

#include "ImageList.h"

IMPLEMENT_DYNAMIC(CHeaderCtrl, CWnd)

BOOL CHeaderCtrl::Create(DWORD style, const RECT &rect, CWnd *parent, UINT id) {
  return AfxCreateCommonControl(this, ICC_LISTVIEW_CLASSES, WC_HEADER, 0, style | WS_CHILD, rect, parent, id);
}

CImageList *CHeaderCtrl::SetImageList(CImageList *imageList) {
  HIMAGELIST list = imageList != nullptr ? imageList->GetSafeHandle() : nullptr;
  return CImageList::FromHandle(
      reinterpret_cast<HIMAGELIST>(SendMessage(HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list))));
}

CImageList *CHeaderCtrl::GetImageList() const {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(HDM_GETIMAGELIST)));
}

void CHeaderCtrl::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CHeaderCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *result) {
  if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, result);
  DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
  if (result != nullptr) *result = TRUE;
  return TRUE;
}
