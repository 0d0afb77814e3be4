#include "ImageList.h"

#include "Dc.h"
#include "GdiObject.h"
#include "HandleMap.h"
#include "ModuleState.h"

IMPLEMENT_DYNAMIC(CImageList, CObject)

namespace {

CTempHandleMap<HIMAGELIST, CImageList> &TempMap() {
  return AfxThreadTempMap<HIMAGELIST, CImageList>();
}

HBITMAP BitmapOf(CBitmap *bitmap) {
  return bitmap != nullptr ? static_cast<HBITMAP>(bitmap->m_hObject) : nullptr;
}

} // namespace

HIMAGELIST AfxGetSafeImageList(const CImageList *list) {
  return list != nullptr ? list->m_hImageList : nullptr;
}

HIMAGELIST CImageList::GetSafeHandle() const {
  return AfxGetSafeImageList(this);
}

CImageList::~CImageList() {
  DeleteImageList();
}

BOOL CImageList::Adopt(HIMAGELIST hImageList) {
  if (hImageList == nullptr) return FALSE;
  DeleteImageList();
  m_hImageList = hImageList;
  m_bOwned = true;
  return TRUE;
}

BOOL CImageList::Attach(HIMAGELIST hImageList) {
  if (hImageList == nullptr) return FALSE;
  DeleteImageList();
  m_hImageList = hImageList;
  m_bOwned = false;
  return TRUE;
}

HIMAGELIST CImageList::Detach() {
  HIMAGELIST hImageList = m_hImageList;
  m_hImageList = nullptr;
  m_bOwned = false;
  return hImageList;
}

BOOL CImageList::DeleteImageList() {
  if (m_hImageList == nullptr) return FALSE;
  bool owned = m_bOwned;
  HIMAGELIST hImageList = Detach();
  return owned ? ImageList_Destroy(hImageList) : TRUE;
}

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow) {
  return Adopt(ImageList_Create(cx, cy, flags, initial, grow));
}

BOOL CImageList::Create(UINT bitmapId, int cx, int grow, COLORREF maskColor) {
  return Create(MAKEINTRESOURCE(bitmapId), cx, grow, maskColor);
}

BOOL CImageList::Create(LPCTSTR bitmapName, int cx, int grow, COLORREF maskColor) {
  HINSTANCE module = AfxFindResourceHandle(bitmapName, RT_BITMAP);
  return Adopt(ImageList_LoadImageW(module, bitmapName, cx, grow, maskColor, IMAGE_BITMAP, 0));
}

BOOL CImageList::Create(CImageList *source) {
  if (source == nullptr || source->m_hImageList == nullptr) return FALSE;
  return Adopt(ImageList_Duplicate(source->m_hImageList));
}

CImageList *CImageList::FromHandle(HIMAGELIST hImageList) {
  if (hImageList == nullptr) return nullptr;
  return TempMap().Lookup(hImageList, [hImageList](CImageList &list) { list.m_hImageList = hImageList; });
}

void CImageList::DeleteTempMap() {
  TempMap().DeleteAll();
}

int CImageList::GetImageCount() const {
  return ImageList_GetImageCount(m_hImageList);
}
BOOL CImageList::SetImageCount(UINT count) {
  return ImageList_SetImageCount(m_hImageList, count);
}
BOOL CImageList::GetIconSize(int *cx, int *cy) const {
  return ImageList_GetIconSize(m_hImageList, cx, cy);
}

int CImageList::Add(CBitmap *bitmap, CBitmap *mask) {
  return ImageList_Add(m_hImageList, BitmapOf(bitmap), BitmapOf(mask));
}

int CImageList::Add(CBitmap *bitmap, COLORREF maskColor) {
  return ImageList_AddMasked(m_hImageList, BitmapOf(bitmap), maskColor);
}

int CImageList::Add(HICON icon) {
  return ImageList_AddIcon(m_hImageList, icon);
}

BOOL CImageList::Replace(int image, CBitmap *bitmap, CBitmap *mask) {
  return ImageList_Replace(m_hImageList, image, BitmapOf(bitmap), BitmapOf(mask));
}

int CImageList::Replace(int image, HICON icon) {
  return ImageList_ReplaceIcon(m_hImageList, image, icon);
}

BOOL CImageList::Remove(int image) {
  return ImageList_Remove(m_hImageList, image);
}

BOOL CImageList::Draw(CDC *dc, int image, POINT point, UINT style) {
  if (dc == nullptr) return FALSE;
  return ImageList_Draw(m_hImageList, image, dc->GetSafeHdc(), point.x, point.y, style);
}

BOOL CImageList::DrawEx(CDC *dc, int image, POINT point, SIZE size, COLORREF background, COLORREF foreground,
                        UINT style) {
  if (dc == nullptr) return FALSE;
  return ImageList_DrawEx(m_hImageList, image, dc->GetSafeHdc(), point.x, point.y, size.cx, size.cy,
                          background, foreground, style);
}

HICON CImageList::ExtractIcon(int image) {
  return ImageList_GetIcon(m_hImageList, image, ILD_NORMAL);
}

COLORREF CImageList::SetBkColor(COLORREF color) {
  return ImageList_SetBkColor(m_hImageList, color);
}
COLORREF CImageList::GetBkColor() const {
  return ImageList_GetBkColor(m_hImageList);
}

BOOL CImageList::GetImageInfo(int image, IMAGEINFO *info) const {
  return ImageList_GetImageInfo(m_hImageList, image, info);
}

BOOL CImageList::SetOverlayImage(int image, int overlay) {
  return ImageList_SetOverlayImage(m_hImageList, image, overlay);
}
