#include "XTPDockingPaneStickerWnd.h"

#include <vector>

#include "ModuleState.h"
#include "XTPColorManager.h"
#include "XTPDrawHelpers.h"
#include "XTPResource.h"

namespace {

// Where each part of a sticker goes inside the cross sticker, and where its
// picture lies on the sticker sheet.
struct StickerEntry {
  CPoint pt;
  CRect rcSource;
};

enum { kTop, kLeft, kBottom, kRight, kCentre, kHot = 5, kBackground = 10 };

const StickerEntry kStickerTable[11] = {
    {CPoint(25, 0), CRect(0, 0, 43, 30)},    {CPoint(0, 25), CRect(30, 33, 60, 76)},
    {CPoint(25, 63), CRect(43, 0, 86, 30)},  {CPoint(63, 25), CRect(0, 33, 30, 76)},
    {CPoint(30, 30), CRect(86, 0, 119, 33)}, {CPoint(25, 0), CRect(0, 76, 43, 106)},
    {CPoint(0, 25), CRect(90, 33, 120, 76)}, {CPoint(25, 63), CRect(43, 76, 86, 106)},
    {CPoint(63, 25), CRect(60, 33, 90, 76)}, {CPoint(30, 30), CRect(86, 76, 119, 109)},
    {CPoint(25, 25), CRect(0, 0, 43, 43)},
};

// The parts in the order they are drawn and hit-tested, with their entries.
const struct {
  int nPart;
  int nEntry;
} kParts[] = {
    {CXTPDockingPaneStickerWnd::partTop, kTop},       {CXTPDockingPaneStickerWnd::partLeft, kLeft},
    {CXTPDockingPaneStickerWnd::partBottom, kBottom}, {CXTPDockingPaneStickerWnd::partRight, kRight},
    {CXTPDockingPaneStickerWnd::partCentre, kCentre},
};

// The stickers' transparent colour.
const COLORREF kTransparent = RGB(0, 255, 0);

HBITMAP LoadSheet(UINT nID) {
  LPCTSTR lpszName = MAKEINTRESOURCE(nID);
  return static_cast<HBITMAP>(
      ::LoadImageW(AfxFindResourceHandle(lpszName, RT_BITMAP), lpszName, IMAGE_BITMAP, 0, 0, 0));
}

// The sheet of parts that goes with the colour scheme of the visual style.
UINT SheetForTheme() {
  switch (XTPGetColorManager()->GetCurrentSystemTheme()) {
  case xtpSystemThemeOlive:
    return XTP_IDB_DOCKINGPANE_STICKERS_OLIVE;
  case xtpSystemThemeSilver:
    return XTP_IDB_DOCKINGPANE_STICKERS_SILVER;
  default:
    return XTP_IDB_DOCKINGPANE_STICKERS;
  }
}

// A sheet selected into a memory DC for as long as the object lives.
class CSheetDC {
public:
  explicit CSheetDC(UINT nID) : m_hBitmap(LoadSheet(nID)), m_hDC(::CreateCompatibleDC(nullptr)) {
    if (m_hBitmap != nullptr) m_hOld = ::SelectObject(m_hDC, m_hBitmap);
  }
  ~CSheetDC() {
    if (m_hOld != nullptr) ::SelectObject(m_hDC, m_hOld);
    ::DeleteDC(m_hDC);
    if (m_hBitmap != nullptr) ::DeleteObject(m_hBitmap);
  }
  CSheetDC(const CSheetDC &) = delete;
  CSheetDC &operator=(const CSheetDC &) = delete;
  BOOL IsValid() const { return m_hBitmap != nullptr; }
  // Copies the entry's picture to pt, its transparent colour left out.
  void Draw(HDC hDC, const StickerEntry &entry, CPoint pt) const {
    if (!IsValid()) return;
    const CRect &rc = entry.rcSource;
    ::TransparentBlt(hDC, pt.x, pt.y, rc.Width(), rc.Height(), m_hDC, rc.left, rc.top, rc.Width(),
                     rc.Height(), kTransparent);
  }

private:
  HBITMAP m_hBitmap;
  HDC m_hDC;
  HGDIOBJ m_hOld = nullptr;
};

// A black bitmap of the given size selected into a memory DC, to draw a
// sticker into and read its pixels back.
class CBlackCanvas {
public:
  explicit CBlackCanvas(CSize size) : m_hDC(::CreateCompatibleDC(nullptr)) {
    const BITMAPINFO bmi = TopDownBitmapInfo(size.cx, size.cy);
    m_hBitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &m_pBits, nullptr, 0);
    if (m_hBitmap != nullptr) m_hOld = ::SelectObject(m_hDC, m_hBitmap);
    m_size = size;
    // A new DIB section is zero-filled: black.
  }
  ~CBlackCanvas() {
    if (m_hOld != nullptr) ::SelectObject(m_hDC, m_hOld);
    if (m_hBitmap != nullptr) ::DeleteObject(m_hBitmap);
    ::DeleteDC(m_hDC);
  }
  CBlackCanvas(const CBlackCanvas &) = delete;
  CBlackCanvas &operator=(const CBlackCanvas &) = delete;
  HDC GetDC() const { return m_hDC; }
  BOOL IsBlack(int x, int y) const {
    if (m_pBits == nullptr || x < 0 || y < 0 || x >= m_size.cx || y >= m_size.cy) return TRUE;
    ::GdiFlush();
    return (static_cast<const DWORD *>(m_pBits)[y * m_size.cx + x] & 0xFFFFFF) == 0;
  }

private:
  HDC m_hDC;
  HBITMAP m_hBitmap = nullptr;
  HGDIOBJ m_hOld = nullptr;
  void *m_pBits = nullptr;
  CSize m_size;
};

// Where a part is drawn in a sticker of this mask.
CPoint PartPoint(DWORD dwMask, int nEntry) {
  return CXTPDockingPaneStickerWnd::IsCrossMask(dwMask) ? kStickerTable[nEntry].pt : CPoint(0, 0);
}

} // namespace

CXTPDockingPaneStickerWnd::~CXTPDockingPaneStickerWnd() {
  if (m_hWnd != nullptr) DestroyWindow();
}

CSize CXTPDockingPaneStickerWnd::GetStickerSize(DWORD dwMask) {
  if (IsCrossMask(dwMask)) return CSize(kCrossSize, kCrossSize);
  for (const auto &part : kParts)
    if (dwMask == static_cast<DWORD>(part.nPart)) return kStickerTable[part.nEntry].rcSource.Size();
  return CSize(0, 0);
}

BOOL CXTPDockingPaneStickerWnd::Create(CWnd *pOwner, const CRect &rc, HRGN hRgnShape) {
  if (!CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), nullptr), L"",
                WS_POPUP, rc, pOwner, 0))
    return FALSE;
  if (hRgnShape != nullptr) {
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    ::CombineRgn(hRgn, hRgnShape, nullptr, RGN_COPY);
    // The window owns the region from here on.
    ::SetWindowRgn(m_hWnd, hRgn, FALSE);
  }
  ::SetWindowPos(m_hWnd, nullptr, rc.left, rc.top, rc.Width(), rc.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  return TRUE;
}

void CXTPDockingPaneStickerWnd::SetHotPart(int nPart) {
  if (nPart == m_nHotPart) return;
  m_nHotPart = nPart;
  if (m_hWnd != nullptr) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CXTPDockingPaneStickerWnd::DrawStickers(HDC hDC) const {
  CSheetDC sheet(SheetForTheme());
  if (IsCross()) {
    CSheetDC back(XTP_IDB_DOCKINGPANE_STICKERS_BACK);
    back.Draw(hDC, kStickerTable[kBackground], kStickerTable[kBackground].pt);
  }
  for (const auto &part : kParts) {
    if ((m_dwMask & static_cast<DWORD>(part.nPart)) == 0) continue;
    const int nEntry = part.nEntry + (part.nPart == m_nHotPart ? kHot : 0);
    sheet.Draw(hDC, kStickerTable[nEntry], PartPoint(m_dwMask, part.nEntry));
  }
}

int CXTPDockingPaneStickerWnd::HitTest(CPoint ptScreen) const {
  if (m_hWnd == nullptr) return partNone;
  CRect rcClient;
  ::GetClientRect(m_hWnd, &rcClient);
  CPoint pt = ptScreen;
  ::ScreenToClient(m_hWnd, &pt);
  if (!rcClient.PtInRect(pt)) return partNone;
  CBlackCanvas canvas(rcClient.Size());
  CSheetDC sheet(XTP_IDB_DOCKINGPANE_STICKERS);
  CSheetDC back(XTP_IDB_DOCKINGPANE_STICKERS_BACK);
  for (const auto &part : kParts) {
    if ((m_dwMask & static_cast<DWORD>(part.nPart)) == 0) continue;
    // The centre counts over the whole background square the arrows stand on.
    if (part.nPart == partCentre)
      back.Draw(canvas.GetDC(), kStickerTable[kBackground], kStickerTable[kBackground].pt);
    else
      sheet.Draw(canvas.GetDC(), kStickerTable[part.nEntry], PartPoint(m_dwMask, part.nEntry));
    if (!canvas.IsBlack(pt.x, pt.y)) return part.nPart;
  }
  return partNone;
}

HRGN CXTPDockingPaneStickerWnd::CreateShapeRegion(DWORD dwMask, CSize size) {
  CXTPDockingPaneStickerWnd sticker(dwMask);
  CBlackCanvas canvas(size);
  sticker.DrawStickers(canvas.GetDC());
  // One rectangle for each run of lit pixels in each row.
  std::vector<RECT> rects;
  for (int y = 0; y < size.cy; y++) {
    int x = 0;
    while (x < size.cx) {
      while (x < size.cx && canvas.IsBlack(x, y)) x++;
      const int nStart = x;
      while (x < size.cx && !canvas.IsBlack(x, y)) x++;
      if (x > nStart) rects.push_back(RECT{nStart, y, x, y + 1});
    }
  }
  std::vector<BYTE> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  auto *pData = reinterpret_cast<RGNDATA *>(data.data());
  pData->rdh.dwSize = sizeof(RGNDATAHEADER);
  pData->rdh.iType = RDH_RECTANGLES;
  pData->rdh.nCount = static_cast<DWORD>(rects.size());
  pData->rdh.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
  pData->rdh.rcBound = RECT{0, 0, size.cx, size.cy};
  if (!rects.empty()) memcpy(pData->Buffer, rects.data(), rects.size() * sizeof(RECT));
  return ::ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), pData);
}

LRESULT CXTPDockingPaneStickerWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_ERASEBKGND:
    return 1;
  case WM_PAINT: {
    PAINTSTRUCT ps;
    HDC hDC = ::BeginPaint(m_hWnd, &ps);
    CRect rc;
    ::GetClientRect(m_hWnd, &rc);
    // Drawn off screen first, so the arrows never flicker as they light up.
    HDC hMem = ::CreateCompatibleDC(hDC);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hDC, rc.Width(), rc.Height());
    HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
    ::FillRect(hMem, &rc, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    DrawStickers(hMem);
    ::BitBlt(hDC, 0, 0, rc.Width(), rc.Height(), hMem, 0, 0, SRCCOPY);
    ::SelectObject(hMem, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hMem);
    ::EndPaint(m_hWnd, &ps);
    return 0;
  }
  case WM_MOUSEACTIVATE:
    return MA_NOACTIVATE;
  default:
    return CWnd::WindowProc(message, wParam, lParam);
  }
}
