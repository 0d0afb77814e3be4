// A wrapper of a common-control image list. It destroys the list only when it
// made it (Create...); an attached or temporary list is left alone.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "Geometry.h"
#include "Object.h"

class CBitmap;
class CDC;

class CImageList;
// The handle of a wrapper that may be missing: NULL for none.
HIMAGELIST AfxGetSafeImageList(const CImageList *list);

class CImageList : public CObject {
  DECLARE_DYNAMIC(CImageList)
public:
  CImageList() = default;
  ~CImageList() override;

  HIMAGELIST m_hImageList = nullptr;

  operator HIMAGELIST() const { return m_hImageList; }
  // Classic callers ask this of a pointer that may be NULL; that gives NULL.
  HIMAGELIST GetSafeHandle() const;

  BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
  // The bitmap resource is cut into images cx wide; maskColor marks the transparent pixels.
  BOOL Create(UINT bitmapId, int cx, int grow, COLORREF maskColor);
  BOOL Create(LPCTSTR bitmapName, int cx, int grow, COLORREF maskColor);
  BOOL Create(CImageList *source);
  BOOL Attach(HIMAGELIST hImageList);
  // Takes ownership of a list someone made for this wrapper (a drag image).
  BOOL Adopt(HIMAGELIST hImageList);
  HIMAGELIST Detach();
  BOOL DeleteImageList();
  bool IsOwned() const { return m_bOwned; }

  static CImageList *FromHandle(HIMAGELIST hImageList);
  static void DeleteTempMap();

  int GetImageCount() const;
  BOOL SetImageCount(UINT count);
  BOOL GetIconSize(int *cx, int *cy) const;
  int Add(CBitmap *bitmap, CBitmap *mask);
  int Add(CBitmap *bitmap, COLORREF maskColor);
  int Add(HICON icon);
  BOOL Replace(int image, CBitmap *bitmap, CBitmap *mask);
  int Replace(int image, HICON icon);
  BOOL Remove(int image);
  BOOL RemoveAll() { return Remove(-1); }
  BOOL Draw(CDC *dc, int image, POINT point, UINT style);
  BOOL DrawEx(CDC *dc, int image, POINT point, SIZE size, COLORREF background, COLORREF foreground,
              UINT style);
  HICON ExtractIcon(int image);
  COLORREF SetBkColor(COLORREF color);
  COLORREF GetBkColor() const;
  BOOL GetImageInfo(int image, IMAGEINFO *info) const;
  BOOL SetOverlayImage(int image, int overlay);

private:
  bool m_bOwned = false;
};
