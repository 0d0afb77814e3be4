#include "XTPImageManager.h"
#include "ToolBar.h"

#include <ole2.h>
#include <shlwapi.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

#include "ModuleState.h"
#include "XTPColorManager.h"
#include "XTPPropExchange.h"
#include "XTPResourceManager.h"
#include "XTPDrawHelpers.h"

namespace {

// Icons and toolbar images are small; anything a file claims beyond this is
// damage, refused before a byte is allocated for it.
const LONG kMaxImageSide = 4096;

struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<RGBQUAD> data; // top-down rows

  RGBQUAD &At(int x, int y) { return data[static_cast<size_t>(y) * width + x]; }
};

bool ReadPixels(HBITMAP hBitmap, Pixels &pixels) {
  BITMAP bm = {};
  if (!hBitmap || !::GetObject(hBitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0 ||
      bm.bmWidth > kMaxImageSide || bm.bmHeight > kMaxImageSide)
    return false;
  pixels.width = bm.bmWidth;
  pixels.height = bm.bmHeight;
  pixels.data.assign(static_cast<size_t>(bm.bmWidth) * bm.bmHeight, RGBQUAD{});
  BITMAPINFO bi = TopDownBitmapInfo(bm.bmWidth, bm.bmHeight);
  HDC hDC = ::GetDC(nullptr);
  int rows = ::GetDIBits(hDC, hBitmap, 0, bm.bmHeight, pixels.data.data(), &bi, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, hDC);
  return rows == bm.bmHeight;
}

HBITMAP MakeDib(const Pixels &pixels) {
  BITMAPINFO bi = TopDownBitmapInfo(pixels.width, pixels.height);
  void *bits = nullptr;
  HBITMAP hBitmap = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (hBitmap && bits) std::memcpy(bits, pixels.data.data(), pixels.data.size() * sizeof(RGBQUAD));
  return hBitmap;
}

HBITMAP CopyAlphaBitmap(HBITMAP hBitmap) {
  Pixels pixels;
  return ReadPixels(hBitmap, pixels) ? MakeDib(pixels) : nullptr;
}

void MirrorRows(Pixels &pixels) {
  for (int y = 0; y < pixels.height; y++) {
    auto row = pixels.data.begin() + static_cast<ptrdiff_t>(y) * pixels.width;
    std::reverse(row, row + pixels.width);
  }
}

template <typename Transform> HBITMAP TransformAlpha(HBITMAP hBitmap, Transform transform) {
  Pixels pixels;
  if (!ReadPixels(hBitmap, pixels)) return nullptr;
  for (RGBQUAD &p : pixels.data) transform(p);
  return MakeDib(pixels);
}

// Applies the transform to the pixels of an icon that its mask covers.
template <typename Transform> HICON TransformIcon(HICON hIcon, Transform transform) {
  ICONINFO info = {};
  if (!::GetIconInfo(hIcon, &info)) return nullptr;
  HICON hResult = nullptr;
  Pixels color, mask;
  if (info.hbmColor && ReadPixels(info.hbmColor, color) && ReadPixels(info.hbmMask, mask) &&
      mask.width == color.width && mask.height >= color.height) {
    for (int y = 0; y < color.height; y++)
      for (int x = 0; x < color.width; x++)
        if ((*reinterpret_cast<DWORD *>(&mask.At(x, y)) & 0xFFFFFF) == 0) transform(color.At(x, y));
    HBITMAP hColor = MakeDib(color);
    ICONINFO made = {TRUE, 0, 0, info.hbmMask, hColor};
    hResult = hColor ? ::CreateIconIndirect(&made) : nullptr;
    if (hColor) ::DeleteObject(hColor);
  } else {
    hResult = ::CopyIcon(hIcon);
  }
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
  return hResult;
}

template <typename Transform> void Derive(CXTPIconHandle &from, CXTPIconHandle &to, Transform transform) {
  if (from.IsEmpty()) return;
  if (from.IsAlpha()) {
    HBITMAP hBitmap = TransformAlpha(from.GetBitmap(), transform);
    if (hBitmap) {
      to.SetAlphaBitmap(hBitmap);
      ::DeleteObject(hBitmap);
    }
  } else {
    HICON hIcon = TransformIcon(from.GetIcon(), transform);
    if (hIcon) to.SetIcon(hIcon);
  }
}

HICON MirrorIcon(HICON hIcon) {
  ICONINFO info = {};
  if (!::GetIconInfo(hIcon, &info)) return nullptr;
  HICON hResult = nullptr;
  Pixels color, mask;
  if (info.hbmColor && ReadPixels(info.hbmColor, color) && ReadPixels(info.hbmMask, mask)) {
    MirrorRows(color);
    MirrorRows(mask);
    HBITMAP hColor = MakeDib(color);
    // The mask goes back as a one-bit bitmap of the same rows.
    HBITMAP hMask = ::CreateBitmap(mask.width, mask.height, 1, 1, nullptr);
    HDC hDC = ::GetDC(nullptr);
    BITMAPINFO bi = TopDownBitmapInfo(mask.width, mask.height);
    ::SetDIBits(hDC, hMask, 0, mask.height, mask.data.data(), &bi, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, hDC);
    ICONINFO made = {TRUE, 0, 0, hMask, hColor};
    hResult = ::CreateIconIndirect(&made);
    ::DeleteObject(hColor);
    ::DeleteObject(hMask);
  }
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
  return hResult;
}

HICON ResizeIcon(HICON hIcon, int width, int height) {
  if (!hIcon || width <= 0 || height <= 0) return nullptr;
  HIMAGELIST hList = ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 1, 0);
  if (!hList) return nullptr;
  HICON hResult = nullptr;
  if (ImageList_AddIcon(hList, hIcon) == 0) hResult = ImageList_GetIcon(hList, 0, ILD_NORMAL);
  ImageList_Destroy(hList);
  return hResult;
}

DWORD ReadLe32(const BYTE *p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<DWORD>(p[3]) << 24);
}

WORD ReadLe16(const BYTE *p) {
  return static_cast<WORD>(p[0] | (p[1] << 8));
}

bool ReadFileBytes(LPCTSTR path, std::vector<BYTE> &bytes, size_t limit) {
  HANDLE hFile = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (hFile == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size = {};
  bool ok = ::GetFileSizeEx(hFile, &size) && size.QuadPart >= 0;
  if (ok) {
    size_t wanted = static_cast<size_t>(std::min<LONGLONG>(size.QuadPart, static_cast<LONGLONG>(limit)));
    bytes.resize(wanted);
    DWORD read = 0;
    ok = wanted == 0 ||
         (::ReadFile(hFile, bytes.data(), static_cast<DWORD>(wanted), &read, nullptr) && read == wanted);
  }
  ::CloseHandle(hFile);
  return ok;
}

// A 32-bit packed DIB: header, masks when the compression says so, pixels.
HBITMAP DibFromHeader(const BYTE *pData, size_t cbData, LONG width, LONG height, bool bottomUp) {
  (void)cbData;
  Pixels pixels;
  pixels.width = width;
  pixels.height = height;
  pixels.data.resize(static_cast<size_t>(width) * height);
  for (LONG y = 0; y < height; y++) {
    LONG source = bottomUp ? height - 1 - y : y;
    std::memcpy(&pixels.data[static_cast<size_t>(y) * width], pData + static_cast<size_t>(source) * width * 4,
                static_cast<size_t>(width) * 4);
  }
  return MakeDib(pixels);
}

UINT RegisterOnce(LPCWSTR name) {
  return ::RegisterClipboardFormatW(name);
}

} // namespace

UINT XTPClipboardFormatToolBarImage() {
  static const UINT format = RegisterOnce(L"Pallux ToolBar Image");
  return format;
}

UINT XTPClipboardFormatAlphaBitmap() {
  static const UINT format = RegisterOnce(L"Alpha Bitmap Image");
  return format;
}

// ---- CXTPIconHandle

CXTPIconHandle &CXTPIconHandle::operator=(const CXTPIconHandle &other) {
  if (this == &other) return *this;
  HICON hIcon = other.m_hIcon ? ::CopyIcon(other.m_hIcon) : nullptr;
  HBITMAP hBitmap = other.m_hBitmap ? CopyAlphaBitmap(other.m_hBitmap) : nullptr;
  Clear();
  m_hIcon = hIcon;
  m_hBitmap = hBitmap;
  m_bOwned = TRUE;
  return *this;
}

CSize CXTPIconHandle::GetExtent(HICON hIcon) {
  ICONINFO info = {};
  if (!hIcon || !::GetIconInfo(hIcon, &info)) return CSize(0, 0);
  BITMAP bm = {};
  CSize size(0, 0);
  if (info.hbmColor && ::GetObject(info.hbmColor, sizeof(bm), &bm))
    size = CSize(bm.bmWidth, bm.bmHeight);
  else if (info.hbmMask && ::GetObject(info.hbmMask, sizeof(bm), &bm))
    size = CSize(bm.bmWidth, bm.bmHeight / 2);
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
  return size;
}

CSize CXTPIconHandle::GetExtent() const {
  if (m_hBitmap) {
    BITMAP bm = {};
    ::GetObject(m_hBitmap, sizeof(bm), &bm);
    return CSize(bm.bmWidth, std::abs(bm.bmHeight));
  }
  return GetExtent(m_hIcon);
}

void CXTPIconHandle::SetIcon(HICON hIcon) {
  // The handle's own icon given again stays; only its ownership changes.
  if (hIcon != nullptr && hIcon == m_hIcon) {
    m_bOwned = TRUE;
    return;
  }
  Clear();
  m_hIcon = hIcon;
  m_bOwned = TRUE;
}

void CXTPIconHandle::SetAlphaBitmap(HBITMAP hBitmap) {
  HBITMAP hCopy = CopyAlphaBitmap(hBitmap);
  Clear();
  m_hBitmap = hCopy;
  m_bOwned = TRUE;
}

void CXTPIconHandle::Clear() {
  if (m_hPreMultiplied) ::DeleteObject(m_hPreMultiplied);
  if (m_bOwned) {
    if (m_hIcon) ::DestroyIcon(m_hIcon);
    if (m_hBitmap) ::DeleteObject(m_hBitmap);
  }
  m_hIcon = nullptr;
  m_hBitmap = nullptr;
  m_hPreMultiplied = nullptr;
  m_bOwned = FALSE;
}

HBITMAP CXTPIconHandle::PreMultiply() {
  if (m_hPreMultiplied || !m_hBitmap) return m_hPreMultiplied;
  m_hPreMultiplied = TransformAlpha(m_hBitmap, [](RGBQUAD &p) {
    p.rgbRed = static_cast<BYTE>(p.rgbRed * p.rgbReserved / 255);
    p.rgbGreen = static_cast<BYTE>(p.rgbGreen * p.rgbReserved / 255);
    p.rgbBlue = static_cast<BYTE>(p.rgbBlue * p.rgbReserved / 255);
  });
  return m_hPreMultiplied;
}

// ---- CXTPImageManagerIcon

CXTPImageManagerIcon::CXTPImageManagerIcon(UINT nID, int nWidth, int nHeight,
                                           CXTPImageManagerIconSet *pIconSet)
    : m_nID(nID), m_nWidth(nWidth), m_nHeight(nHeight), m_pIconSet(pIconSet) {}

CXTPImageManager *CXTPImageManagerIcon::GetImageManager() const {
  return m_pIconSet ? m_pIconSet->GetImageManager() : XTPGetImageManager();
}

void CXTPImageManagerIcon::Refresh() {
  m_hFaded.Clear();
  m_hShadow.Clear();
  m_hDisabledAuto.Clear();
}

void CXTPImageManagerIcon::ClearAll() {
  Refresh();
  m_hIcon.Clear();
  m_hHotIcon.Clear();
  m_hCheckedIcon.Clear();
  m_hDisabledIcon.Clear();
}

// The handle given may be one of this icon's own images, which clearing the
// icon would destroy: each setter copies it before anything is cleared.
void CXTPImageManagerIcon::SetIcon(const CXTPIconHandle &hIcon) {
  CXTPIconHandle hCopy;
  hCopy = hIcon;
  ClearAll();
  m_hIcon = hCopy;
  CSize extent = m_hIcon.GetExtent();
  m_nWidth = extent.cx;
  m_nHeight = extent.cy;
  m_bScaled = FALSE;
  if (m_pIconSet) m_pIconSet->RefreshAll();
}

void CXTPImageManagerIcon::SetHotIcon(const CXTPIconHandle &hIcon) {
  CXTPIconHandle hCopy;
  hCopy = hIcon;
  Refresh();
  m_hHotIcon = hCopy;
}

void CXTPImageManagerIcon::SetCheckedIcon(const CXTPIconHandle &hIcon) {
  CXTPIconHandle hCopy;
  hCopy = hIcon;
  Refresh();
  m_hCheckedIcon = hCopy;
}

void CXTPImageManagerIcon::SetDisabledIcon(const CXTPIconHandle &hIcon) {
  CXTPIconHandle hCopy;
  hCopy = hIcon;
  Refresh();
  m_hDisabledIcon = hCopy;
}

CXTPIconHandle &CXTPImageManagerIcon::GetFadedIcon() {
  if (m_hFaded.IsEmpty()) {
    // A palette screen cannot show the lighter shades: the icon stays as it is.
    if (!m_hIcon.IsAlpha() && XTPGetColorManager()->GetDisplayBitsPerPixel() <= 8) return m_hIcon;
    Derive(m_hIcon, m_hFaded, [](RGBQUAD &p) {
      p.rgbRed = static_cast<BYTE>(p.rgbRed * 0.7 + 76.5);
      p.rgbGreen = static_cast<BYTE>(p.rgbGreen * 0.7 + 76.5);
      p.rgbBlue = static_cast<BYTE>(p.rgbBlue * 0.7 + 76.5);
    });
  }
  return m_hFaded.IsEmpty() ? m_hIcon : m_hFaded;
}

CXTPIconHandle &CXTPImageManagerIcon::GetShadowIcon() {
  if (m_hShadow.IsEmpty()) {
    COLORREF base = XTPGetColor(XPCOLOR_HIGHLIGHT);
    RGBQUAD shadow = {static_cast<BYTE>(GetBValue(base) * 0.75), static_cast<BYTE>(GetGValue(base) * 0.75),
                      static_cast<BYTE>(GetRValue(base) * 0.75), 0};
    Derive(GetHotIcon(), m_hShadow, [shadow](RGBQUAD &p) {
      p.rgbRed = shadow.rgbRed;
      p.rgbGreen = shadow.rgbGreen;
      p.rgbBlue = shadow.rgbBlue;
    });
  }
  return m_hShadow.IsEmpty() ? GetHotIcon() : m_hShadow;
}

CXTPIconHandle &CXTPImageManagerIcon::GetDisabledIcon() {
  if (!m_hDisabledIcon.IsEmpty()) return m_hDisabledIcon;
  if (m_hDisabledAuto.IsEmpty()) {
    Derive(m_hIcon, m_hDisabledAuto, [](RGBQUAD &p) {
      double g = 0.299 * p.rgbRed + 0.587 * p.rgbGreen + 0.114 * p.rgbBlue;
      BYTE v = static_cast<BYTE>(std::min(255.0, 255.0 * std::sqrt(g / 255.0)));
      p.rgbRed = p.rgbGreen = p.rgbBlue = v;
    });
  }
  return m_hDisabledAuto.IsEmpty() ? m_hIcon : m_hDisabledAuto;
}

void CXTPImageManagerIcon::Draw(CDC *pDC, CPoint pt, CXTPIconHandle &hIcon, CSize szIcon) {
  if (hIcon.IsEmpty()) return;
  if (szIcon.cx == 0) szIcon.cx = m_nWidth;
  if (szIcon.cy == 0) szIcon.cy = m_nWidth ? m_nHeight * szIcon.cx / m_nWidth : m_nHeight;
  CXTPImageManager *pManager = GetImageManager();
  const BOOL bMirrored = pManager->IsDrawMirrored();
  HDC hDC = pDC->GetSafeHdc();

  if (hIcon.IsAlpha()) {
    if (!pManager->m_pfnAlphaBlend) return;
    HBITMAP hSource = hIcon.PreMultiply();
    Pixels mirrored;
    HBITMAP hMirrored = nullptr;
    // A negative width does not mirror a blend: flip the pixels instead.
    if (bMirrored && ReadPixels(hSource, mirrored)) {
      MirrorRows(mirrored);
      hMirrored = MakeDib(mirrored);
    }
    CSize extent = hIcon.GetExtent();
    HDC hMemDC = ::CreateCompatibleDC(hDC);
    HGDIOBJ hOld = ::SelectObject(hMemDC, hMirrored ? hMirrored : hSource);
    BLENDFUNCTION bf = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    pManager->m_pfnAlphaBlend(hDC, pt.x, pt.y, szIcon.cx, szIcon.cy, hMemDC, 0, 0, extent.cx, extent.cy, bf);
    ::SelectObject(hMemDC, hOld);
    ::DeleteDC(hMemDC);
    if (hMirrored) ::DeleteObject(hMirrored);
    return;
  }

  // DrawIconEx ignores a negative width, so mirroring draws a flipped copy.
  HICON hMirrored = bMirrored ? MirrorIcon(hIcon.GetIcon()) : nullptr;
  HICON hDraw = hMirrored ? hMirrored : hIcon.GetIcon();
  if (CXTPImageManager::IsPrinterDC(hDC))
    CXTPImageManager::DrawIconThroughImageList(hDC, pt, hDraw, szIcon);
  else
    ::DrawIconEx(hDC, pt.x, pt.y, hDraw, szIcon.cx, szIcon.cy, 0, nullptr, DI_NORMAL);
  if (hMirrored) ::DestroyIcon(hMirrored);
}

void CXTPImageManagerIcon::DrawMono(CDC *pDC, CPoint pt, CXTPIconHandle &hIcon, CSize szIcon,
                                    COLORREF clrBrush) {
  if (hIcon.IsEmpty() || hIcon.IsAlpha()) return;
  if (szIcon.cx == 0) szIcon = GetExtent();
  // The silhouette of a flipped copy, drawn like the unflipped one.
  HICON hMirrored = GetImageManager()->IsDrawMirrored() ? MirrorIcon(hIcon.GetIcon()) : nullptr;
  HBRUSH hBrush = ::CreateSolidBrush(clrBrush);
  ::DrawStateW(pDC->GetSafeHdc(), hBrush, nullptr,
               reinterpret_cast<LPARAM>(hMirrored ? hMirrored : hIcon.GetIcon()), 0, pt.x, pt.y, szIcon.cx,
               szIcon.cy, DST_ICON | DSS_MONO);
  ::DeleteObject(hBrush);
  if (hMirrored) ::DestroyIcon(hMirrored);
}

// ---- CXTPImageManagerIconSet

CXTPImageManagerIconSet::CXTPImageManagerIconSet(UINT nID, CXTPImageManager *pImageManager)
    : m_nID(nID), m_pImageManager(pImageManager) {}

CXTPImageManagerIconSet::~CXTPImageManagerIconSet() {
  RemoveAll();
}

CXTPImageManagerIcon *CXTPImageManagerIconSet::GetIcon(UINT nWidth) {
  auto it = m_mapIcons.find(nWidth);
  if (it != m_mapIcons.end()) return it->second;
  auto *pIcon = new CXTPImageManagerIcon(m_nID, static_cast<int>(nWidth), 15, this);
  m_mapIcons[nWidth] = pIcon;
  return pIcon;
}

CXTPImageManagerIcon *CXTPImageManagerIconSet::GetIcon(UINT nWidth, BOOL bScaled) {
  auto exact = m_mapIcons.find(nWidth);
  if (exact != m_mapIcons.end()) return exact->second;
  CXTPImageManagerIcon *pNearest = nullptr;
  long long best = 0;
  for (auto &entry : m_mapIcons) {
    long long diff = std::llabs(static_cast<long long>(entry.first) - nWidth);
    if (!pNearest || diff < best) {
      pNearest = entry.second;
      best = diff;
    }
  }
  if (!pNearest || !bScaled || pNearest->IsAlpha() || nWidth == 0) return pNearest;
  CXTPImageManagerIcon *pScaled = MakeScaled(pNearest, nWidth);
  return pScaled ? pScaled : pNearest;
}

CXTPImageManagerIcon *CXTPImageManagerIconSet::MakeScaled(CXTPImageManagerIcon *pSource, UINT nWidth) {
  if (pSource->GetWidth() <= 0) return nullptr;
  int width = static_cast<int>(nWidth);
  int height = ::MulDiv(pSource->GetHeight(), width, pSource->GetWidth());
  HICON hNormal = ResizeIcon(pSource->m_hIcon.GetIcon(), width, height);
  if (!hNormal) return nullptr;
  auto *pIcon = new CXTPImageManagerIcon(m_nID, width, height, this);
  pIcon->m_hIcon.SetIcon(hNormal);
  struct {
    CXTPIconHandle &from, &to;
  } states[] = {{pSource->m_hDisabledIcon, pIcon->m_hDisabledIcon},
                {pSource->m_hHotIcon, pIcon->m_hHotIcon},
                {pSource->m_hCheckedIcon, pIcon->m_hCheckedIcon}};
  for (auto &state : states)
    if (!state.from.IsEmpty() && !state.from.IsAlpha())
      if (HICON hResized = ResizeIcon(state.from.GetIcon(), width, height)) state.to.SetIcon(hResized);
  pIcon->m_bScaled = TRUE;
  m_mapIcons[nWidth] = pIcon;
  return pIcon;
}

void CXTPImageManagerIconSet::SetIcon(const CXTPIconHandle &hIcon, UINT nWidth) {
  CXTPImageManagerIcon *pIcon = GetIcon(nWidth);
  pIcon->SetIcon(hIcon);
}

void CXTPImageManagerIconSet::SetDisabledIcon(const CXTPIconHandle &hIcon, UINT nWidth) {
  GetIcon(nWidth)->SetDisabledIcon(hIcon);
}

void CXTPImageManagerIconSet::SetHotIcon(const CXTPIconHandle &hIcon, UINT nWidth) {
  GetIcon(nWidth)->SetHotIcon(hIcon);
}

void CXTPImageManagerIconSet::SetCheckedIcon(const CXTPIconHandle &hIcon, UINT nWidth) {
  GetIcon(nWidth)->SetCheckedIcon(hIcon);
}

void CXTPImageManagerIconSet::RemoveAll() {
  for (auto &entry : m_mapIcons) delete entry.second;
  m_mapIcons.clear();
}

void CXTPImageManagerIconSet::RefreshAll() {
  for (auto it = m_mapIcons.begin(); it != m_mapIcons.end();) {
    if (it->second->IsScaled()) {
      delete it->second;
      it = m_mapIcons.erase(it);
    } else {
      it->second->Refresh();
      ++it;
    }
  }
}

// ---- CXTPImageManager

CXTPImageManager::CXTPImageManager() {
  m_hMsImg32 = ::LoadLibraryW(L"msimg32.dll");
  if (m_hMsImg32)
    m_pfnAlphaBlend = reinterpret_cast<AlphaBlendProc>(
        reinterpret_cast<void *>(::GetProcAddress(m_hMsImg32, "AlphaBlend")));
  XTPClipboardFormatToolBarImage();
  XTPClipboardFormatAlphaBitmap();
}

CXTPImageManager::~CXTPImageManager() {
  RemoveAll();
  if (m_hMsImg32) ::FreeLibrary(m_hMsImg32);
}

CXTPImageManager *XTPGetImageManager() {
  static CXTPImageManager manager;
  return &manager;
}

BOOL CXTPImageManager::SetIcon(const CXTPIconHandle &hIcon, UINT nIDCommand, CSize szIcon, int imageState) {
  if (hIcon.IsEmpty()) return FALSE;
  if (szIcon.cx == 0) szIcon = hIcon.GetExtent();
  if (szIcon.cx == 0) return FALSE;
  const UINT nWidth = static_cast<UINT>(szIcon.cx);
  CXTPImageManagerIconSet *pIconSet = GetIconSet(nIDCommand);
  if (pIconSet) {
    switch (imageState) {
    case xtpImageNormal:
      pIconSet->SetIcon(hIcon, nWidth);
      return TRUE;
    case xtpImageDisabled:
      pIconSet->SetDisabledIcon(hIcon, nWidth);
      return TRUE;
    case xtpImageHot:
      pIconSet->SetHotIcon(hIcon, nWidth);
      return TRUE;
    case xtpImageChecked:
      pIconSet->SetCheckedIcon(hIcon, nWidth);
      return TRUE;
    default:
      return FALSE;
    }
  }
  if (imageState != xtpImageNormal) return FALSE;
  pIconSet = new CXTPImageManagerIconSet(nIDCommand, this);
  m_mapImages[nIDCommand] = pIconSet;
  pIconSet->SetIcon(hIcon, nWidth);
  return TRUE;
}

UINT CXTPImageManager::AddIcon(const CXTPIconHandle &hIcon) {
  if (hIcon.IsEmpty()) return 0;
  UINT nID = ++m_nCustomID;
  return SetIcon(hIcon, nID) ? nID : 0;
}

namespace {

// Which image goes to which command: image i to id i without an id array;
// when the counts differ a zero id (a separator) takes no image.
template <typename Give> BOOL AssignImages(int nImages, const UINT *pCommands, int nCount, Give give) {
  if (!pCommands) {
    for (int i = 0; i < nImages; i++)
      if (!give(i, static_cast<UINT>(i))) return FALSE;
    return TRUE;
  }
  int image = 0;
  for (int i = 0; i < nCount && image < nImages; i++) {
    if (pCommands[i] == 0 && nCount != nImages) continue;
    if (!give(image++, pCommands[i])) return FALSE;
  }
  return TRUE;
}

} // namespace

BOOL CXTPImageManager::SetIcons(HIMAGELIST hImageList, const UINT *pCommands, int nCount, CSize szIcon,
                                int imageState) {
  if (!hImageList) return FALSE;
  int nImages = ImageList_GetImageCount(hImageList);
  if (nCount == 0 && !pCommands) nCount = nImages;
  if (szIcon.cx == 0) {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(hImageList, &cx, &cy);
    szIcon = CSize(cx, cy);
  }
  return AssignImages(std::min(nImages, pCommands ? nImages : nCount), pCommands, nCount,
                      [&](int i, UINT id) {
                        HICON hIcon = ImageList_GetIcon(hImageList, i, ILD_NORMAL);
                        if (!hIcon) return FALSE;
                        CXTPIconHandle handle;
                        handle.SetIcon(hIcon);
                        SetIcon(handle, id, szIcon, imageState);
                        return TRUE;
                      });
}

BOOL CXTPImageManager::SetIconsFromAlphaStrip(HBITMAP hStrip, const UINT *pCommands, int nCount, CSize szIcon,
                                              int imageState) {
  Pixels strip;
  if (!ReadPixels(hStrip, strip)) return FALSE;
  if (szIcon.cx == 0) szIcon = CSize(nCount > 0 ? strip.width / nCount : strip.width, strip.height);
  if (szIcon.cx <= 0 || strip.width % szIcon.cx != 0) return FALSE;
  szIcon.cy = std::min<LONG>(szIcon.cy, strip.height);
  const int nImages = strip.width / szIcon.cx;
  return AssignImages(nImages, pCommands, nCount, [&](int i, UINT id) {
    Pixels image;
    image.width = szIcon.cx;
    image.height = szIcon.cy;
    image.data.resize(static_cast<size_t>(image.width) * image.height);
    for (int y = 0; y < image.height; y++)
      for (int x = 0; x < image.width; x++) image.At(x, y) = strip.At(i * szIcon.cx + x, y);
    HBITMAP hImage = MakeDib(image);
    if (!hImage) return FALSE;
    CXTPIconHandle handle(hImage);
    BOOL ok = SetIcon(handle, id, szIcon, imageState);
    ::DeleteObject(hImage);
    return ok;
  });
}

CXTPImageManagerIconSet *CXTPImageManager::GetIconSet(UINT nCommand) const {
  auto it = m_mapImages.find(nCommand);
  return it == m_mapImages.end() ? nullptr : it->second;
}

CXTPImageManagerIcon *CXTPImageManager::GetImage(UINT nCommand, int nWidth) {
  CXTPImageManagerIconSet *pIconSet = GetIconSet(nCommand);
  return pIconSet ? pIconSet->GetIcon(static_cast<UINT>(std::max(nWidth, 0)), TRUE) : nullptr;
}

void CXTPImageManager::RemoveAll() {
  for (auto &entry : m_mapImages) delete entry.second;
  m_mapImages.clear();
}

void CXTPImageManager::RefreshAll() {
  for (auto &entry : m_mapImages) entry.second->RefreshAll();
}

BOOL CXTPImageManager::IsComCtl6() {
  HMODULE hModule = ::LoadLibraryW(L"comctl32.dll");
  if (!hModule) return FALSE;
  DWORD major = 0;
  auto fn = reinterpret_cast<DLLGETVERSIONPROC>(
      reinterpret_cast<void *>(::GetProcAddress(hModule, "DllGetVersion")));
  if (fn) {
    DLLVERSIONINFO info = {};
    info.cbSize = sizeof(info);
    if (SUCCEEDED(fn(&info))) major = info.dwMajorVersion;
  }
  ::FreeLibrary(hModule);
  return major >= 6;
}

// ---- loaders

HBITMAP CXTPImageManager::CopyAlphaBitmap(HBITMAP hBitmap) {
  return ::CopyAlphaBitmap(hBitmap);
}

BOOL CXTPImageManager::IsAlphaBitmapFile(LPCTSTR pszFileName) {
  std::vector<BYTE> bytes;
  const size_t kHeaders = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  if (!ReadFileBytes(pszFileName, bytes, kHeaders) || bytes.size() < kHeaders) return FALSE;
  const BYTE *info = bytes.data() + sizeof(BITMAPFILEHEADER);
  return bytes[0] == 'B' && bytes[1] == 'M' && ReadLe32(info) >= sizeof(BITMAPINFOHEADER) &&
         ReadLe16(info + 14) == 32;
}

HBITMAP CXTPImageManager::AlphaBitmapFromPackedDib(const BYTE *pData, size_t cbData) {
  if (!pData || cbData < sizeof(BITMAPINFOHEADER)) return nullptr;
  const DWORD headerSize = ReadLe32(pData);                   // 0, 4: header size
  const LONG width = static_cast<LONG>(ReadLe32(pData + 4));  // 4, 4: width
  const LONG height = static_cast<LONG>(ReadLe32(pData + 8)); // 8, 4: height, < 0 top-down
  const WORD bitCount = ReadLe16(pData + 14);                 // 14, 2: bits per pixel
  const DWORD compression = ReadLe32(pData + 16);             // 16, 4: compression
  if (headerSize < sizeof(BITMAPINFOHEADER) || headerSize > cbData || bitCount != 32) return nullptr;
  if (compression != BI_RGB && compression != BI_BITFIELDS) return nullptr;
  const long long absHeight = std::llabs(static_cast<long long>(height));
  if (width <= 0 || absHeight == 0 || width > kMaxImageSide || absHeight > kMaxImageSide) return nullptr;
  unsigned long long offset = headerSize;
  if (compression == BI_BITFIELDS && headerSize == sizeof(BITMAPINFOHEADER)) offset += 3 * sizeof(DWORD);
  const unsigned long long needed = offset + static_cast<unsigned long long>(width) * absHeight * 4;
  if (needed > cbData) return nullptr;
  return DibFromHeader(pData + offset, cbData - offset, width, static_cast<LONG>(absHeight), height > 0);
}

HBITMAP CXTPImageManager::AlphaBitmapFromIconFile(const BYTE *pData, size_t cbData, int nWidth) {
  if (!pData || cbData < 6 || ReadLe16(pData) != 0 || ReadLe16(pData + 2) != 1) return nullptr;
  const size_t count = ReadLe16(pData + 4); // 4, 2: entries
  if (6 + count * 16 > cbData) return nullptr;
  for (size_t i = 0; i < count; i++) {
    const BYTE *entry = pData + 6 + i * 16;
    const int entryWidth = entry[0] ? entry[0] : 256; // 0, 1: width (0 is 256)
    const WORD bitCount = ReadLe16(entry + 6);        // 6, 2: bits per pixel
    const DWORD size = ReadLe32(entry + 8);           // 8, 4: image bytes
    const DWORD offset = ReadLe32(entry + 12);        // 12, 4: image offset
    if (bitCount != 32 || (nWidth != 0 && entryWidth != nWidth)) continue;
    if (static_cast<unsigned long long>(offset) + size > cbData || size < sizeof(BITMAPINFOHEADER))
      return nullptr;
    const BYTE *image = pData + offset;
    const DWORD headerSize = ReadLe32(image);
    const LONG width = static_cast<LONG>(ReadLe32(image + 4));
    const long long height = static_cast<LONG>(ReadLe32(image + 8)) / 2; // colour plus mask
    if (headerSize < sizeof(BITMAPINFOHEADER) || headerSize > size || ReadLe16(image + 14) != 32)
      return nullptr;
    if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide) return nullptr;
    if (headerSize + static_cast<unsigned long long>(width) * height * 4 > size) return nullptr;
    return DibFromHeader(image + headerSize, size - headerSize, width, static_cast<LONG>(height), true);
  }
  return nullptr;
}

HBITMAP CXTPImageManager::LoadIconFile(LPCTSTR lpszFileName, int nWidth) {
  // An icon file of sensible images is far below this; more is not read.
  const size_t kLimit = 16 * 1024 * 1024;
  std::vector<BYTE> bytes;
  if (!ReadFileBytes(lpszFileName, bytes, kLimit)) return nullptr;
  return AlphaBitmapFromIconFile(bytes.data(), bytes.size(), nWidth);
}

namespace {

bool BitmapResourceBytes(UINT nIDResource, const BYTE *&pData, size_t &cbData) {
  LPCTSTR name = MAKEINTRESOURCE(nIDResource);
  HINSTANCE hModule = AfxFindResourceHandle(name, RT_BITMAP);
  HRSRC hRes = hModule ? ::FindResource(hModule, name, RT_BITMAP) : nullptr;
  HGLOBAL hGlobal = hRes ? ::LoadResource(hModule, hRes) : nullptr;
  pData = hGlobal ? static_cast<const BYTE *>(::LockResource(hGlobal)) : nullptr;
  cbData = hRes ? ::SizeofResource(hModule, hRes) : 0;
  return pData && cbData >= sizeof(BITMAPINFOHEADER);
}

} // namespace

BOOL CXTPImageManager::IsAlphaBitmapResource(UINT nIDResource) {
  const BYTE *pData = nullptr;
  size_t cbData = 0;
  return BitmapResourceBytes(nIDResource, pData, cbData) && ReadLe16(pData + 14) == 32;
}

HBITMAP CXTPImageManager::LoadAlphaBitmap(UINT nIDResource) {
  const BYTE *pData = nullptr;
  size_t cbData = 0;
  return BitmapResourceBytes(nIDResource, pData, cbData) ? AlphaBitmapFromPackedDib(pData, cbData) : nullptr;
}

// ---- persistence

namespace {

// Pixels stored in an archive are icon-sized; a stored count that claims
// more is damage.
const LONG kMaxStoredSide = 1024;
const DWORD kStoredInfoSize = sizeof(BITMAPINFOHEADER) + 3 * sizeof(DWORD);

void WriteBitmap(CArchive &ar, HBITMAP hBitmap) {
  Pixels pixels;
  if (!ReadPixels(hBitmap, pixels)) {
    ar.WriteCount(0);
    return;
  }
  BYTE info[kStoredInfoSize] = {};
  BITMAPINFO bi = TopDownBitmapInfo(pixels.width, pixels.height);
  std::memcpy(info, &bi.bmiHeader, sizeof(bi.bmiHeader));
  ar.WriteCount(kStoredInfoSize);
  ar.Write(info, kStoredInfoSize);
  const DWORD bytes = static_cast<DWORD>(pixels.data.size() * sizeof(RGBQUAD));
  ar.WriteCount(bytes);
  ar.Write(pixels.data.data(), bytes);
}

// After the count n (not 0) has been read: the header and the pixels.
bool ReadBitmapBody(CArchive &ar, DWORD_PTR n, Pixels &pixels) {
  if (n != kStoredInfoSize) AfxThrowArchiveException(CArchiveException::badIndex);
  BYTE info[kStoredInfoSize];
  if (ar.Read(info, kStoredInfoSize) != kStoredInfoSize)
    AfxThrowArchiveException(CArchiveException::endOfFile);
  const LONG width = static_cast<LONG>(ReadLe32(info + 4));
  const long long height = std::llabs(static_cast<long long>(static_cast<LONG>(ReadLe32(info + 8))));
  if (ReadLe32(info) != sizeof(BITMAPINFOHEADER) || ReadLe16(info + 14) != 32 || width <= 0 || height <= 0 ||
      width > kMaxStoredSide || height > kMaxStoredSide)
    AfxThrowArchiveException(CArchiveException::badIndex);
  const DWORD_PTR m = ar.ReadCount();
  if (m != static_cast<DWORD_PTR>(width) * height * 4) AfxThrowArchiveException(CArchiveException::badIndex);
  pixels.width = width;
  pixels.height = static_cast<int>(height);
  pixels.data.resize(static_cast<size_t>(width) * height);
  if (ar.Read(pixels.data.data(), static_cast<UINT>(m)) != m)
    AfxThrowArchiveException(CArchiveException::endOfFile);
  return true;
}

HBITMAP MakeMask(const Pixels &mask) {
  HBITMAP hMask = ::CreateBitmap(mask.width, mask.height, 1, 1, nullptr);
  HDC hDC = ::GetDC(nullptr);
  BITMAPINFO bi = TopDownBitmapInfo(mask.width, mask.height);
  ::SetDIBits(hDC, hMask, 0, mask.height, mask.data.data(), &bi, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, hDC);
  return hMask;
}

} // namespace

void CXTPImageManagerIcon::SerializeHandle(CArchive &ar, CXTPIconHandle &hIcon) {
  if (ar.IsStoring()) {
    if (hIcon.IsEmpty()) {
      ar.WriteCount(0);
      ar.WriteCount(0);
    } else if (hIcon.IsAlpha()) {
      WriteBitmap(ar, hIcon.GetBitmap());
      ar.WriteCount(0);
    } else {
      ICONINFO info = {};
      ::GetIconInfo(hIcon.GetIcon(), &info);
      WriteBitmap(ar, info.hbmColor);
      WriteBitmap(ar, info.hbmMask);
      if (info.hbmColor) ::DeleteObject(info.hbmColor);
      if (info.hbmMask) ::DeleteObject(info.hbmMask);
    }
    return;
  }
  hIcon.Clear();
  DWORD_PTR n = ar.ReadCount();
  if (n == 0) {
    // No colour bitmap: an empty handle (no mask either), or a monochrome
    // icon, whose mask holds both its AND and XOR halves.
    const DWORD_PTR maskCount = ar.ReadCount();
    if (maskCount == 0) return;
    Pixels mask;
    ReadBitmapBody(ar, maskCount, mask);
    if (mask.height < 2 || mask.height % 2 != 0) AfxThrowArchiveException(CArchiveException::badIndex);
    HBITMAP hMask = MakeMask(mask);
    if (!hMask) AfxThrowMemoryException();
    ICONINFO made = {TRUE, 0, 0, hMask, nullptr};
    HICON hMade = ::CreateIconIndirect(&made);
    ::DeleteObject(hMask);
    if (hMade) hIcon.SetIcon(hMade);
    return;
  }
  Pixels color;
  ReadBitmapBody(ar, n, color);
  DWORD_PTR maskCount = ar.ReadCount();
  HBITMAP hColor = MakeDib(color);
  if (!hColor) AfxThrowMemoryException();
  if (maskCount == 0) {
    hIcon.SetAlphaBitmap(hColor);
    ::DeleteObject(hColor);
    return;
  }
  Pixels mask;
  try {
    ReadBitmapBody(ar, maskCount, mask);
  } catch (...) {
    ::DeleteObject(hColor);
    throw;
  }
  HBITMAP hMask = MakeMask(mask);
  ICONINFO made = {TRUE, 0, 0, hMask, hColor};
  HICON hMade = ::CreateIconIndirect(&made);
  ::DeleteObject(hColor);
  ::DeleteObject(hMask);
  if (hMade) hIcon.SetIcon(hMade);
}

void CXTPImageManagerIcon::Serialize(CArchive &ar) {
  int nSchema = 8;
  if (ar.IsStoring()) {
    ar << m_nHeight << nSchema;
  } else {
    ar >> m_nHeight >> nSchema;
  }
  SerializeHandle(ar, m_hIcon);
  SerializeHandle(ar, m_hDisabledIcon);
  SerializeHandle(ar, m_hHotIcon);
  if (nSchema >= 8) SerializeHandle(ar, m_hCheckedIcon);
  if (ar.IsLoading()) {
    Refresh();
    CSize extent = m_hIcon.GetExtent();
    if (extent.cx > 0) {
      m_nWidth = extent.cx;
      m_nHeight = extent.cy;
    }
  }
}

void CXTPImageManagerIconSet::DoPropExchange(CXTPPropExchange *pPX) {
  if (m_pImageManager && m_nID > m_pImageManager->m_nCustomID) m_pImageManager->m_nCustomID = m_nID;
  CString strCheckSum(L"CXTPImageManagerIcons");
  PX_String(pPX, L"CheckSum", strCheckSum, L"");
  if (pPX->IsLoading() && strCheckSum != CString(L"CXTPImageManagerIcons"))
    AfxThrowArchiveException(CArchiveException::badClass);
  if (pPX->IsLoading()) RemoveAll();

  std::vector<CXTPImageManagerIcon *> stored;
  for (auto &entry : m_mapIcons)
    if (!entry.second->IsScaled()) stored.push_back(entry.second);

  std::unique_ptr<CXTPPropExchangeEnumerator> pEnum(pPX->GetEnumerator(L"Icon"));
  POSITION pos = pEnum->GetPosition(static_cast<DWORD>(stored.size()), FALSE);
  size_t index = 0;
  while (pos) {
    std::unique_ptr<CXTPPropExchange> pSection(pEnum->GetNext(pos));
    int nWidth = pPX->IsStoring() ? stored[index++]->GetWidth() : 16;
    PX_Int(pSection.get(), L"Width", nWidth, 16);
    CXTPImageManagerIcon *pIcon = nullptr;
    if (pPX->IsStoring()) {
      pIcon = stored[index - 1];
    } else {
      if (nWidth <= 0 || nWidth > kMaxStoredSide) AfxThrowArchiveException(CArchiveException::badIndex);
      pIcon = GetIcon(static_cast<UINT>(nWidth));
    }
    CArchive *pArchive = pSection->GetArchive(L"Data");
    if (!pArchive) continue;
    try {
      pIcon->Serialize(*pArchive);
    } catch (...) {
      pSection->ReleaseArchive(L"Data", pArchive);
      throw;
    }
    pSection->ReleaseArchive(L"Data", pArchive);
  }
}

void CXTPImageManager::DoPropExchange(CXTPPropExchange *pPX) {
  if (pPX->IsLoading()) RemoveAll();
  std::vector<CXTPImageManagerIconSet *> sets;
  for (auto &entry : m_mapImages) sets.push_back(entry.second);

  std::unique_ptr<CXTPPropExchangeEnumerator> pEnum(pPX->GetEnumerator(L"IconSet"));
  POSITION pos = pEnum->GetPosition(static_cast<DWORD>(sets.size()), FALSE);
  size_t index = 0;
  while (pos) {
    std::unique_ptr<CXTPPropExchange> pSection(pEnum->GetNext(pos));
    DWORD dwId = pPX->IsStoring() ? sets[index]->GetID() : 0;
    PX_DWord(pSection.get(), L"Id", dwId, 0);
    CXTPImageManagerIconSet *pSet = nullptr;
    if (pPX->IsStoring()) {
      pSet = sets[index++];
    } else {
      pSet = GetIconSet(dwId);
      if (!pSet) {
        pSet = new CXTPImageManagerIconSet(dwId, this);
        m_mapImages[dwId] = pSet;
      }
    }
    pSet->DoPropExchange(pSection.get());
  }
}

BOOL CXTPImageManager::ExchangeCustomIconSet(UINT nCommand, CXTPPropExchange *pPX) {
  if (pPX->IsStoring()) {
    if (CXTPImageManagerIconSet *pSet = GetIconSet(nCommand)) {
      pSet->DoPropExchange(pPX);
    } else {
      CXTPImageManagerIconSet empty(nCommand, nullptr);
      empty.DoPropExchange(pPX);
    }
    return TRUE;
  }
  const BOOL bCustom = nCommand > kCustomIdBase;
  // Read with no manager, so a refused id does not move the next custom id.
  auto pSet = std::make_unique<CXTPImageManagerIconSet>(nCommand, bCustom ? this : nullptr);
  pSet->DoPropExchange(pPX);
  if (!bCustom) return FALSE;
  if (pSet->GetIcons().empty()) return TRUE;
  delete GetIconSet(nCommand);
  m_mapImages[nCommand] = pSet.release();
  return TRUE;
}

void CXTPImageManager::Serialize(CArchive &ar) {
  CXTPPropExchangeArchive px(ar);
  DoPropExchange(&px);
}

BOOL CXTPImageManager::CopyToClipboard(UINT nCommand) {
  CXTPImageManagerIconSet *pSet = GetIconSet(nCommand);
  if (!pSet) return FALSE;
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store, 4096);
    CXTPPropExchangeArchive px(ar);
    pSet->DoPropExchange(&px);
    ar.Close();
  }
  const size_t size = static_cast<size_t>(file.GetLength());
  BYTE *pBytes = file.Detach();
  HGLOBAL hData = ::GlobalAlloc(GMEM_MOVEABLE, size ? size : 1);
  BOOL ok = FALSE;
  if (hData) {
    if (void *p = ::GlobalLock(hData)) {
      std::memcpy(p, pBytes, size);
      ::GlobalUnlock(hData);
      ok = ::SetClipboardData(XTPClipboardFormatToolBarImage(), hData) != nullptr;
    }
    if (!ok) ::GlobalFree(hData);
  }
  free(pBytes);
  return ok;
}

UINT CXTPImageManager::PasteFromClipboard() {
  return PasteFromClipboard(::GetClipboardData(XTPClipboardFormatToolBarImage()));
}

UINT CXTPImageManager::PasteFromClipboard(COleDataObject &data) {
  const CLIPFORMAT cf = static_cast<CLIPFORMAT>(XTPClipboardFormatToolBarImage());
  if (!data.IsDataAvailable(cf)) return 0;
  HGLOBAL hData = data.GetGlobalData(cf);
  if (!hData) return 0;
  const UINT nID = PasteFromClipboard(hData);
  ::GlobalFree(hData);
  return nID;
}

UINT CXTPImageManager::PasteFromClipboard(IDataObject *pDataObject) {
  if (!pDataObject) return 0;
  COleDataObject data;
  data.Attach(pDataObject, FALSE);
  const UINT nID = PasteFromClipboard(data);
  return nID;
}

UINT CXTPImageManager::PasteFromClipboard(HGLOBAL hData) {
  if (!hData) return 0;
  const SIZE_T size = ::GlobalSize(hData);
  const BYTE *p = static_cast<const BYTE *>(::GlobalLock(hData));
  if (!p) return 0;
  std::vector<BYTE> bytes(p, p + size);
  ::GlobalUnlock(hData);

  const UINT nID = ++m_nCustomID;
  auto pSet = std::make_unique<CXTPImageManagerIconSet>(nID, this);
  try {
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load, 4096);
    CXTPPropExchangeArchive px(ar);
    pSet->DoPropExchange(&px);
  } catch (CException *e) {
    e->Delete();
    return 0;
  }
  if (pSet->GetIcons().empty()) return 0;
  delete GetIconSet(nID);
  m_mapImages[nID] = pSet.release();
  return nID;
}

// ---- printing

BOOL CXTPImageManager::IsPrinterDC(HDC hDC) {
  return hDC && ::GetDeviceCaps(hDC, TECHNOLOGY) == DT_RASPRINTER;
}

BOOL CXTPImageManager::DrawIconThroughImageList(HDC hDC, CPoint pt, HICON hIcon, CSize szIcon) {
  // Printer drivers take a masked image list's blits where an icon's own
  // drawing may come out black or not at all.
  HIMAGELIST hList = ImageList_Create(szIcon.cx, szIcon.cy, ILC_COLOR24 | ILC_MASK, 1, 0);
  if (!hList) return FALSE;
  const BOOL bDrawn =
      ImageList_ReplaceIcon(hList, -1, hIcon) == 0 && ImageList_Draw(hList, 0, hDC, pt.x, pt.y, ILD_NORMAL);
  ImageList_Destroy(hList);
  return bDrawn;
}

// ---- toolbar resources

BOOL CXTPImageManager::ParseToolBarResource(const BYTE *pData, size_t cbData, std::vector<UINT> &ids) {
  ids.clear();
  ToolBarTemplate bar;
  if (!::ParseToolBarResource(pData, cbData, bar)) return FALSE;
  for (UINT id : bar.ids)
    if (id) ids.push_back(id); // 0 a separator
  return TRUE;
}

BOOL CXTPImageManager::SetIcons(UINT nIDToolBar, UINT nIDBitmap, int imageState) {
  LPCTSTR name = MAKEINTRESOURCE(nIDToolBar);
  LPCTSTR type = MAKEINTRESOURCE(241);
  HINSTANCE hModule = AfxFindResourceHandle(name, type);
  HRSRC hRes = hModule ? ::FindResource(hModule, name, type) : nullptr;
  HGLOBAL hGlobal = hRes ? ::LoadResource(hModule, hRes) : nullptr;
  const BYTE *pData = hGlobal ? static_cast<const BYTE *>(::LockResource(hGlobal)) : nullptr;
  std::vector<UINT> ids;
  if (!pData || !ParseToolBarResource(pData, ::SizeofResource(hModule, hRes), ids) || ids.empty())
    return FALSE;
  return SetIconsFromBitmap(nIDBitmap, ids.data(), static_cast<int>(ids.size()), CSize(0, 0), imageState);
}

BOOL CXTPImageManager::SetIconsFromBitmap(UINT nIDBitmap, const UINT *pCommands, int nCount, CSize szIcon,
                                          int imageState) {
  if (IsAlphaBitmapResource(nIDBitmap)) {
    HBITMAP hStrip = LoadAlphaBitmap(nIDBitmap);
    if (!hStrip) return FALSE;
    BOOL ok = SetIconsFromAlphaStrip(hStrip, pCommands, nCount, szIcon, imageState);
    ::DeleteObject(hStrip);
    return ok;
  }
  CBitmap bitmap;
  if (!XTPGetResourceManager()->LoadBitmap(&bitmap, nIDBitmap)) return FALSE;
  BITMAP bm = {};
  if (!::GetObject(static_cast<HBITMAP>(bitmap), sizeof(bm), &bm) || bm.bmWidth <= 0) return FALSE;
  if (szIcon.cx == 0) szIcon = CSize(nCount > 0 ? bm.bmWidth / nCount : bm.bmWidth, bm.bmHeight);
  if (szIcon.cx <= 0 || szIcon.cy <= 0) return FALSE;
  if (nCount == 0) nCount = bm.bmWidth / szIcon.cx;
  HIMAGELIST hList = ImageList_Create(szIcon.cx, szIcon.cy, ILC_COLOR24 | ILC_MASK, nCount, 0);
  if (!hList) return FALSE;
  COLORREF clrMask = m_clrMask != static_cast<COLORREF>(-1) ? m_clrMask : GetTopLeftPixel(bitmap);
  BOOL ok = ImageList_AddMasked(hList, bitmap, clrMask) != -1 &&
            SetIcons(hList, pCommands, pCommands ? nCount : 0, szIcon, imageState);
  ImageList_Destroy(hList);
  return ok;
}
