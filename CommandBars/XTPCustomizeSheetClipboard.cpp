// The customise sheet's button images through the clipboard: a plain bitmap
// any program can paste, marked when it carries alpha, and the toolkit's own
// image format beside it.
#include "XTPCustomizeSheet.h"

#include <commctrl.h>

#include <cstdlib>

#include "XTPCommandBars.h"

HBITMAP CXTPCustomizeSheet::MakeClipboardBitmap(CXTPImageManagerIcon *pImage, BOOL &bAlpha) {
  bAlpha = pImage->IsAlpha();
  if (bAlpha) return CXTPImageManager::CopyAlphaBitmap(pImage->GetIcon().GetBitmap());
  const CSize size = pImage->GetExtent();
  if (size.cx <= 0 || size.cy <= 0) return nullptr;
  HDC hScreen = ::GetDC(nullptr);
  HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, size.cx, size.cy);
  HDC hDC = ::CreateCompatibleDC(hScreen);
  ::ReleaseDC(nullptr, hScreen);
  if (hBitmap == nullptr || hDC == nullptr) {
    if (hBitmap) ::DeleteObject(hBitmap);
    if (hDC) ::DeleteDC(hDC);
    return nullptr;
  }
  HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
  RECT rc = {0, 0, size.cx, size.cy};
  ::FillRect(hDC, &rc, ::GetSysColorBrush(COLOR_BTNFACE));
  pImage->Draw(CDC::FromHandle(hDC), CPoint(0, 0), size);
  ::SelectObject(hDC, hOld);
  ::DeleteDC(hDC);
  return hBitmap;
}

BOOL CXTPCustomizeSheet::CopyButtonImage() {
  CXTPControl *pControl = GetSelectedControl();
  if (!HasButtonImage(pControl)) return FALSE;
  CXTPImageManager *pImages = GetImageManager();
  const UINT nIconId = static_cast<UINT>(pControl->GetIconId());
  CXTPImageManagerIcon *pImage = pImages->GetImage(nIconId, 16);
  if (pImage == nullptr) return FALSE;
  BOOL bAlpha = FALSE;
  HBITMAP hBitmap = MakeClipboardBitmap(pImage, bAlpha);
  if (hBitmap == nullptr) return FALSE;
  if (!::OpenClipboard(m_hWnd)) {
    ::DeleteObject(hBitmap);
    return FALSE;
  }
  if (!::EmptyClipboard()) {
    ::CloseClipboard();
    ::DeleteObject(hBitmap);
    return FALSE;
  }
  // Once set, the bitmap is the clipboard's: deleting it here would leave
  // the clipboard a dead handle. It stays ours only when the call fails.
  if (::SetClipboardData(CF_BITMAP, hBitmap) == nullptr) {
    TRACE(L"CXTPCustomizeSheet::OnCustomizeCopyImage() error. Error code = %x\n", ::GetLastError());
    ::DeleteObject(hBitmap);
  }
  if (bAlpha) {
    HGLOBAL hMarker = ::GlobalAlloc(GMEM_MOVEABLE, 1);
    if (hMarker && ::SetClipboardData(XTPClipboardFormatAlphaBitmap(), hMarker) == nullptr)
      ::GlobalFree(hMarker);
  }
  if (pImages->GetIconSet(nIconId)) pImages->CopyToClipboard(nIconId);
  ::CloseClipboard();
  return TRUE;
}

namespace {

// The one image of a plain bitmap, its button-face pixels transparent; the
// clipboard's bitmap is left as it was (masking rewrites the bitmap it adds).
HICON IconFromPlainBitmap(HBITMAP hBitmap) {
  BITMAP bm = {};
  if (!::GetObject(hBitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight == 0) return nullptr;
  const int cx = bm.bmWidth, cy = std::abs(bm.bmHeight);
  HBITMAP hCopy = static_cast<HBITMAP>(::CopyImage(hBitmap, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (hCopy == nullptr) return nullptr;
  HICON hIcon = nullptr;
  HIMAGELIST hList = ::ImageList_Create(cx, cy, ILC_COLOR24 | ILC_MASK, 0, 1);
  if (hList) {
    ::ImageList_AddMasked(hList, hCopy, ::GetSysColor(COLOR_BTNFACE));
    if (::ImageList_GetImageCount(hList) == 1) hIcon = ::ImageList_GetIcon(hList, 0, ILD_NORMAL);
    ::ImageList_Destroy(hList);
  }
  ::DeleteObject(hCopy);
  return hIcon;
}

} // namespace

BOOL CXTPCustomizeSheet::PasteButtonImage() {
  CXTPControl *pControl = GetSelectedControl();
  if (!IsStyleable(pControl)) return FALSE;
  if (!::OpenClipboard(m_hWnd)) return FALSE;
  CXTPImageManager *pImages = GetImageManager();
  UINT nID = 0;
  if (::IsClipboardFormatAvailable(XTPClipboardFormatToolBarImage())) {
    nID = pImages->PasteFromClipboard();
  } else if (HBITMAP hBitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP))) {
    CXTPIconHandle hIcon;
    if (::IsClipboardFormatAvailable(XTPClipboardFormatAlphaBitmap()))
      hIcon.SetAlphaBitmap(hBitmap);
    else if (HICON hPlain = IconFromPlainBitmap(hBitmap))
      hIcon.SetIcon(hPlain);
    if (!hIcon.IsEmpty()) nID = pImages->AddIcon(hIcon);
  }
  ::CloseClipboard();
  if (nID == 0) return FALSE;
  pControl->SetCustomIconId(static_cast<int>(nID));
  LayoutControlBar(pControl);
  return TRUE;
}
