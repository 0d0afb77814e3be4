// The static control (labels, icons, pictures).
#pragma once

#include "Wnd.h"

class CStatic : public CWnd {
  DECLARE_DYNAMIC(CStatic)
public:
  CStatic() = default;

  BOOL Create(LPCTSTR text, DWORD style, const RECT &rect, CWnd *parent, UINT id = 0xFFFF);

  HICON SetIcon(HICON icon) {
    return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(icon)));
  }
  HICON GetIcon() const { return reinterpret_cast<HICON>(SendMessage(STM_GETICON)); }
  HBITMAP SetBitmap(HBITMAP bitmap) {
    return reinterpret_cast<HBITMAP>(
        SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
  }
  HBITMAP GetBitmap() const { return reinterpret_cast<HBITMAP>(SendMessage(STM_GETIMAGE, IMAGE_BITMAP)); }
  HCURSOR SetCursor(HCURSOR cursor) {
    return reinterpret_cast<HCURSOR>(
        SendMessage(STM_SETIMAGE, IMAGE_CURSOR, reinterpret_cast<LPARAM>(cursor)));
  }
  HENHMETAFILE SetEnhMetaFile(HENHMETAFILE metaFile) {
    return reinterpret_cast<HENHMETAFILE>(
        SendMessage(STM_SETIMAGE, IMAGE_ENHMETAFILE, reinterpret_cast<LPARAM>(metaFile)));
  }

  // Owner-drawn statics paint here (the parent reflects WM_DRAWITEM back).
  virtual void DrawItem(LPDRAWITEMSTRUCT drawItem);

protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *result) override;
};
