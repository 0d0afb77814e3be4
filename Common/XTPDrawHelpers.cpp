#include "XTPDrawHelpers.h"

#include <algorithm>

#include "XTPCaptureLoop.h"

CXTPWindowRect::CXTPWindowRect(HWND hWnd) {
  if (!hWnd || !::IsWindow(hWnd) || !::GetWindowRect(hWnd, this)) SetRectEmpty();
}

CXTPClientRect::CXTPClientRect(HWND hWnd) {
  if (!hWnd || !::IsWindow(hWnd) || !::GetClientRect(hWnd, this)) SetRectEmpty();
}

CXTPClientCursorPos::CXTPClientCursorPos(HWND hWnd) {
  ::GetCursorPos(this);
  if (hWnd) ::ScreenToClient(hWnd, this);
}

CXTPFontDC::CXTPFontDC(CDC *pDC, CFont *pFont)
    : CXTPFontDC(pDC, pFont ? static_cast<HFONT>(*pFont) : nullptr) {}

CXTPFontDC::CXTPFontDC(CDC *pDC, HFONT hFont) : m_hDC(pDC->GetSafeHdc()) {
  SetFont(hFont);
}

CXTPFontDC::~CXTPFontDC() {
  if (m_hOldFont) ::SelectObject(m_hDC, m_hOldFont);
}

void CXTPFontDC::SetFont(HFONT hFont) {
  if (!hFont) return;
  HGDIOBJ hOld = ::SelectObject(m_hDC, hFont);
  if (!m_hOldFont) m_hOldFont = hOld;
}

CXTPPenDC::CXTPPenDC(CDC *pDC, COLORREF clr) : m_hDC(pDC->GetSafeHdc()) {
  SetColor(clr);
}

CXTPPenDC::~CXTPPenDC() {
  if (m_hOldPen) ::SelectObject(m_hDC, m_hOldPen);
  if (m_hPen) ::DeleteObject(m_hPen);
}

void CXTPPenDC::SetColor(COLORREF clr) {
  HPEN hPen = ::CreatePen(PS_SOLID, 1, clr);
  HGDIOBJ hOld = ::SelectObject(m_hDC, hPen);
  if (!m_hOldPen) m_hOldPen = hOld;
  if (m_hPen) ::DeleteObject(m_hPen);
  m_hPen = hPen;
}

COLORREF CXTPPenDC::GetColor() const {
  LOGPEN lp = {};
  return m_hPen && ::GetObject(m_hPen, sizeof(lp), &lp) ? lp.lopnColor : 0;
}

CXTPBrushDC::CXTPBrushDC(CDC *pDC, COLORREF clr) : m_hDC(pDC->GetSafeHdc()) {
  SetColor(clr);
}

CXTPBrushDC::~CXTPBrushDC() {
  if (m_hOldBrush) ::SelectObject(m_hDC, m_hOldBrush);
  if (m_hBrush) ::DeleteObject(m_hBrush);
}

void CXTPBrushDC::SetColor(COLORREF clr) {
  HBRUSH hBrush = ::CreateSolidBrush(clr);
  HGDIOBJ hOld = ::SelectObject(m_hDC, hBrush);
  if (!m_hOldBrush) m_hOldBrush = hOld;
  if (m_hBrush) ::DeleteObject(m_hBrush);
  m_hBrush = hBrush;
}

CXTPCompatibleDC::CXTPCompatibleDC(CDC *pDC, CBitmap *pBitmap)
    : CXTPCompatibleDC(pDC, pBitmap ? static_cast<HBITMAP>(*pBitmap) : nullptr) {}

CXTPCompatibleDC::CXTPCompatibleDC(CDC *pDC, HBITMAP hBitmap) {
  CreateCompatibleDC(pDC);
  if (m_hDC && hBitmap) m_hOldBitmap = ::SelectObject(m_hDC, hBitmap);
}

CXTPCompatibleDC::~CXTPCompatibleDC() {
  if (m_hDC && m_hOldBitmap) ::SelectObject(m_hDC, m_hOldBitmap);
}

CXTPBufferDC::CXTPBufferDC(HDC hDestDC, const CRect &rcPaint) : m_hDestDC(hDestDC), m_rect(rcPaint) {
  Attach(::CreateCompatibleDC(hDestDC));
  if (!m_hDC) return;
  // right x bottom, so that drawing keeps the target's coordinates.
  m_hBitmap = CreateBufferBitmap(m_rect.right, m_rect.bottom);
  if (m_hBitmap) m_hOldBitmap = ::SelectObject(m_hDC, m_hBitmap);
}

CXTPBufferDC::~CXTPBufferDC() {
  HDC hDC = Detach();
  if (!hDC) return;
  if (m_hBitmap)
    ::BitBlt(m_hDestDC, m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), hDC, m_rect.left,
             m_rect.top, SRCCOPY);
  if (m_hOldBitmap) ::SelectObject(hDC, m_hOldBitmap);
  if (m_hBitmap) ::DeleteObject(m_hBitmap);
  ::DeleteDC(hDC);
}

CXTPDrawHelpers::CXTPDrawHelpers() {
  m_hMsImg32 = ::LoadLibraryW(L"msimg32.dll");
  if (m_hMsImg32)
    m_pfnGradientFill = reinterpret_cast<GradientFillProc>(
        reinterpret_cast<void *>(::GetProcAddress(m_hMsImg32, "GradientFill")));
}

CXTPDrawHelpers::~CXTPDrawHelpers() {
  if (m_hMsImg32) ::FreeLibrary(m_hMsImg32);
}

CXTPDrawHelpers *XTPGetDrawHelpers() {
  static CXTPDrawHelpers helpers;
  return &helpers;
}

BOOL CXTPDrawHelpers::IsLowResolution(HDC hDC) {
  HDC hScreen = hDC ? hDC : ::GetDC(nullptr);
  if (!hScreen) return FALSE;
  int bits = ::GetDeviceCaps(hScreen, BITSPIXEL) * ::GetDeviceCaps(hScreen, PLANES);
  if (!hDC) ::ReleaseDC(nullptr, hScreen);
  return bits > 0 && bits <= 8;
}

void CXTPDrawHelpers::GradientFill(CDC *pDC, LPCRECT lpRect, COLORREF crFrom, COLORREF crTo, BOOL bHorz) {
  CRect rc(*lpRect);
  if (rc.IsRectEmpty()) return;
  HDC hDC = pDC->GetSafeHdc();
  if (IsLowResolution(hDC) || crFrom == crTo) {
    HBRUSH hBrush = ::CreateSolidBrush(crFrom);
    ::FillRect(hDC, &rc, hBrush);
    ::DeleteObject(hBrush);
    return;
  }
  if (m_pfnGradientFill && m_bSystemGradient) {
    TRIVERTEX vert[2] = {
        {rc.left, rc.top, static_cast<COLOR16>(GetRValue(crFrom) << 8),
         static_cast<COLOR16>(GetGValue(crFrom) << 8), static_cast<COLOR16>(GetBValue(crFrom) << 8), 0},
        {rc.right, rc.bottom, static_cast<COLOR16>(GetRValue(crTo) << 8),
         static_cast<COLOR16>(GetGValue(crTo) << 8), static_cast<COLOR16>(GetBValue(crTo) << 8), 0},
    };
    GRADIENT_RECT gRect = {0, 1};
    m_pfnGradientFill(hDC, vert, 2, &gRect, 1, bHorz ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
    return;
  }
  BandFill(hDC, rc, crFrom, crTo, bHorz);
}

void CXTPDrawHelpers::BandFill(HDC hDC, const CRect &rc, COLORREF crFrom, COLORREF crTo, BOOL bHorz) {
  CRect rcClip;
  if (::GetClipBox(hDC, &rcClip) == ERROR || rcClip.IsRectEmpty()) rcClip = rc;
  rcClip.IntersectRect(&rcClip, &rc);
  const double extent = std::max(1, bHorz ? rc.Width() : rc.Height());
  const LONG first = bHorz ? rcClip.left : rcClip.top, last = bHorz ? rcClip.right : rcClip.bottom;
  for (LONG i = first; i < last; i++) {
    double weight = 1.0 - (i - (bHorz ? rc.left : rc.top)) / extent;
    HBRUSH hBrush = ::CreateSolidBrush(BlendColors(crFrom, crTo, weight));
    RECT band = bHorz ? RECT{i, rcClip.top, i + 1, rcClip.bottom} : RECT{rcClip.left, i, rcClip.right, i + 1};
    ::FillRect(hDC, &band, hBrush);
    ::DeleteObject(hBrush);
  }
}

void CXTPDrawHelpers::GradientFillPair(CDC *pDC, LPCRECT lpRect, const CXTPPaintManagerColorGradient &grc,
                                       BOOL bHorz) {
  GradientFill(pDC, lpRect, grc.clrLight_.GetColor(), grc.clrDark_.GetColor(), bHorz);
}

COLORREF CXTPDrawHelpers::BlendColors(COLORREF crA, COLORREF crB, double fAmountA) {
  auto mix = [fAmountA](int a, int b) {
    double v = a * fAmountA + b * (1.0 - fAmountA);
    return static_cast<BYTE>(std::clamp(static_cast<int>(v), 0, 255));
  };
  return RGB(mix(GetRValue(crA), GetRValue(crB)), mix(GetGValue(crA), GetGValue(crB)),
             mix(GetBValue(crA), GetBValue(crB)));
}

void CXTPDrawHelpers::BlurPoints(CDC *pDC, const POINT *pts, int nCount) {
  HDC hDC = pDC->GetSafeHdc();
  for (int i = 0; i + 1 < nCount; i += 2) {
    POINT pt = pts[i], offset = pts[i + 1];
    COLORREF a = ::GetPixel(hDC, pt.x, pt.y);
    COLORREF b = ::GetPixel(hDC, pt.x + offset.x, pt.y + offset.y);
    ::SetPixel(hDC, pt.x, pt.y,
               RGB((GetRValue(a) + GetRValue(b)) >> 1, (GetGValue(a) + GetGValue(b)) >> 1,
                   (GetBValue(a) + GetBValue(b)) >> 1));
  }
}

void CXTPDrawHelpers::Triangle(CDC *pDC, CPoint pt0, CPoint pt1, CPoint pt2) {
  POINT pts[3] = {pt0, pt1, pt2};
  ::Polygon(pDC->GetSafeHdc(), pts, 3);
}

void CXTPDrawHelpers::Triangle(CDC *pDC, CPoint pt0, CPoint pt1, CPoint pt2, COLORREF clr) {
  CXTPPenDC pen(pDC, clr);
  CXTPBrushDC brush(pDC, clr);
  Triangle(pDC, pt0, pt1, pt2);
}

namespace {

int CALLBACK StopAtFace(const LOGFONTW *lf, const TEXTMETRICW *, DWORD, LPARAM lParam) {
  return lstrcmpW(lf->lfFaceName, reinterpret_cast<LPCWSTR>(lParam)) == 0 ? 0 : 1;
}

} // namespace

BOOL CXTPDrawHelpers::FontExists(LPCTSTR lpszFaceName) {
  if (!lpszFaceName || !*lpszFaceName) return FALSE;
  HDC hDC = ::GetDC(nullptr);
  if (!hDC) return FALSE;
  LOGFONTW lf = {};
  lf.lfCharSet = DEFAULT_CHARSET;
  int result = ::EnumFontFamiliesExW(hDC, &lf, StopAtFace, reinterpret_cast<LPARAM>(lpszFaceName), 0);
  ::ReleaseDC(nullptr, hDC);
  return result == 0;
}

CString CXTPDrawHelpers::GetDefaultFontName(BOOL bUseTahoma) {
  LOGFONTW lf = {};
  ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  ::GetVersionExW(&version);
#pragma GCC diagnostic pop
  const bool nt5 = version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 5;
  if ((lf.lfCharSet > 2 && nt5) || !FontExists(L"Arial")) return CString(lf.lfFaceName);
  if (bUseTahoma && FontExists(L"Tahoma")) return CString(L"Tahoma");
  return CString(L"Arial");
}

int CXTPDrawHelpers::GetCurrentSystemTheme() {
  CXTPColorManager *pManager = XTPGetColorManager();
  return pManager->IsSystemThemeColorsDisabled() ? 0 : pManager->GetCurrentSystemTheme();
}

BITMAPINFO TopDownBitmapInfo(int width, int height) {
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return bi;
}

HBITMAP CreateBufferBitmap(int width, int height) {
  const BITMAPINFO bi = TopDownBitmapInfo(std::max(1, width), std::max(1, height));
  void *pBits = nullptr;
  return ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &pBits, nullptr, 0);
}

COLORREF GetTopLeftPixel(HBITMAP hBitmap) {
  if (!hBitmap) return static_cast<COLORREF>(-1);
  HDC hDC = ::CreateCompatibleDC(nullptr);
  HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
  COLORREF clr = ::GetPixel(hDC, 0, 0);
  ::SelectObject(hDC, hOld);
  ::DeleteDC(hDC);
  return clr;
}

HICON BitmapToIcon(HBITMAP hBitmap) {
  BITMAP bm = {};
  if (!hBitmap || !::GetObject(hBitmap, sizeof(bm), &bm)) return nullptr;
  HIMAGELIST hList = ImageList_Create(bm.bmWidth, bm.bmHeight, ILC_COLOR24 | ILC_MASK, 1, 0);
  if (!hList) return nullptr;
  HICON hIcon = nullptr;
  if (ImageList_AddMasked(hList, hBitmap, GetTopLeftPixel(hBitmap)) == 0 &&
      ImageList_GetImageCount(hList) == 1)
    hIcon = ImageList_GetIcon(hList, 0, ILD_NORMAL);
  ImageList_Destroy(hList);
  return hIcon;
}

namespace {
XTPPopupContextMenuHandler g_pfnPopupContextMenu = nullptr;
} // namespace

XTPPopupContextMenuHandler XTPSetPopupContextMenuHandler(XTPPopupContextMenuHandler pfnHandler) {
  XTPPopupContextMenuHandler pfnOld = g_pfnPopupContextMenu;
  g_pfnPopupContextMenu = pfnHandler;
  return pfnOld;
}

XTPPopupContextMenuHandler XTPGetPopupContextMenuHandler() {
  return g_pfnPopupContextMenu;
}

CXTPSplitterTracker::CXTPSplitterTracker(BOOL bSolid, CRect rcBoundRect)
    : m_bSolid(bSolid), m_rcBoundRect(rcBoundRect) {}

void CXTPSplitterTracker::OnInvertTracker(const CRect &rect) {
  if (!m_hDC) return;
  if (m_bSolid) {
    ::InvertRect(m_hDC, &rect);
    return;
  }
  static const WORD kHalftone[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  HBITMAP hPattern = ::CreateBitmap(8, 8, 1, 1, kHalftone);
  HBRUSH hBrush = ::CreatePatternBrush(hPattern);
  HGDIOBJ hOld = ::SelectObject(m_hDC, hBrush);
  ::PatBlt(m_hDC, rect.left, rect.top, rect.Width(), rect.Height(), PATINVERT);
  ::SelectObject(m_hDC, hOld);
  ::DeleteObject(hBrush);
  ::DeleteObject(hPattern);
}

BOOL CXTPSplitterTracker::Track(CWnd *pTrackWnd, int nMinX, int nMinY, int nMaxX, int nMaxY, CRect &rect,
                                CPoint point, BOOL bHorz) {
  return Track(pTrackWnd ? pTrackWnd->GetSafeHwnd() : nullptr, nMinX, nMinY, nMaxX, nMaxY, rect, point,
               bHorz);
}

BOOL CXTPSplitterTracker::Track(HWND hTrackWnd, int nMinX, int nMinY, int nMaxX, int nMaxY, CRect &rect,
                                CPoint point, BOOL bHorz) {
  CXTPCaptureLoop loop(hTrackWnd, CXTPCaptureLoop::kEscapeCancels);
  HWND hDesktop = ::GetDesktopWindow();
  const BOOL bLocked = ::LockWindowUpdate(hDesktop);
  m_hDC = ::GetDCEx(hDesktop, nullptr, DCX_WINDOW | DCX_CACHE | (bLocked ? DCX_LOCKWINDOWUPDATE : 0));

  const int offset = bHorz ? rect.left - point.x : rect.top - point.y;
  auto drawAll = [&] {
    OnInvertTracker(rect);
    if (!m_rcBoundRect.IsRectEmpty()) OnInvertTracker(m_rcBoundRect);
  };
  drawAll();

  // A quit request ends the drag as cancelled; the loop posts it again for
  // the application's own loop.
  const BOOL bAccept = loop.Run([&](const MSG &msg) {
    if (msg.message == WM_LBUTTONUP) return CXTPCaptureLoop::kEnd;
    if (msg.message != WM_MOUSEMOVE) return CXTPCaptureLoop::kDispatch;
    POINT pt = {static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
    ::ClientToScreen(msg.hwnd, &pt);
    pt.x = std::clamp<LONG>(pt.x + (bHorz ? offset : 0), nMinX, std::max(nMinX, nMaxX));
    pt.y = std::clamp<LONG>(pt.y + (bHorz ? 0 : offset), nMinY, std::max(nMinY, nMaxY));
    if (bHorz ? rect.left != pt.x : rect.top != pt.y) {
      drawAll();
      if (bHorz)
        rect.OffsetRect(pt.x - rect.left, 0);
      else
        rect.OffsetRect(0, pt.y - rect.top);
      drawAll();
    }
    return CXTPCaptureLoop::kHandled;
  }) == CXTPCaptureLoop::kEnded;

  drawAll();
  loop.Release();
  if (bLocked) ::LockWindowUpdate(nullptr);
  ::ReleaseDC(hDesktop, m_hDC);
  m_hDC = nullptr;
  return bAccept;
}

namespace {

CRect PrimaryWorkArea() {
  CRect rc;
  if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rc, 0))
    rc.SetRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  return rc;
}

template <class TFunction>
void LookUp(CXTPMultiMonitor::ProcLookup pfnLookup, LPCSTR lpszName, TFunction &pfn) {
  pfn = reinterpret_cast<TFunction>(reinterpret_cast<void (*)()>(pfnLookup(lpszName)));
}

} // namespace

FARPROC CXTPMultiMonitor::LookupInUser32(LPCSTR lpszName) {
  HMODULE hUser = ::GetModuleHandleW(L"USER32");
  return hUser != nullptr ? ::GetProcAddress(hUser, lpszName) : nullptr;
}

CXTPMultiMonitor::CXTPMultiMonitor(ProcLookup pfnLookup) {
  if (pfnLookup == nullptr) return;
  LookUp(pfnLookup, "GetSystemMetrics", m_pfnGetSystemMetrics);
  LookUp(pfnLookup, "MonitorFromWindow", m_pfnMonitorFromWindow);
  LookUp(pfnLookup, "MonitorFromRect", m_pfnMonitorFromRect);
  LookUp(pfnLookup, "MonitorFromPoint", m_pfnMonitorFromPoint);
  LookUp(pfnLookup, "GetMonitorInfoW", m_pfnGetMonitorInfo);
  if (!m_pfnGetSystemMetrics || !m_pfnMonitorFromWindow || !m_pfnMonitorFromRect || !m_pfnMonitorFromPoint ||
      !m_pfnGetMonitorInfo) {
    m_pfnGetSystemMetrics = nullptr;
    m_pfnMonitorFromWindow = nullptr;
    m_pfnMonitorFromRect = nullptr;
    m_pfnMonitorFromPoint = nullptr;
    m_pfnGetMonitorInfo = nullptr;
  }
}

CRect CXTPMultiMonitor::WorkAreaOf(HMONITOR hMonitor) const {
  MONITORINFO info = {};
  info.cbSize = sizeof(info);
  if (!hMonitor || !m_pfnGetMonitorInfo || !m_pfnGetMonitorInfo(hMonitor, &info)) return PrimaryWorkArea();
  return CRect(info.rcWork);
}

CRect CXTPMultiMonitor::GetWorkArea(const RECT &rect) const {
  return WorkAreaOf(m_pfnMonitorFromRect ? m_pfnMonitorFromRect(&rect, MONITOR_DEFAULTTONULL) : nullptr);
}

CRect CXTPMultiMonitor::GetWorkArea(POINT point) const {
  return WorkAreaOf(m_pfnMonitorFromPoint ? m_pfnMonitorFromPoint(point, MONITOR_DEFAULTTONULL) : nullptr);
}

CRect CXTPMultiMonitor::GetWorkAreaOfWindow(HWND hWnd) const {
  return WorkAreaOf(hWnd && m_pfnMonitorFromWindow ? m_pfnMonitorFromWindow(hWnd, MONITOR_DEFAULTTONULL)
                                                   : nullptr);
}

CXTPMultiMonitor &XTPGetMultiMonitor() {
  static CXTPMultiMonitor monitor;
  return monitor;
}

namespace XTPMultiMonitor {

CRect GetWorkArea(const RECT &rect) {
  return XTPGetMultiMonitor().GetWorkArea(rect);
}

CRect GetWorkArea(POINT point) {
  return XTPGetMultiMonitor().GetWorkArea(point);
}

CRect GetWorkArea() {
  return PrimaryWorkArea();
}

CRect GetWorkAreaOfWindow(HWND hWnd) {
  return XTPGetMultiMonitor().GetWorkAreaOfWindow(hWnd);
}

CRect GetWorkAreaAtCursor() {
  POINT pt;
  ::GetCursorPos(&pt);
  return GetWorkArea(pt);
}

} // namespace XTPMultiMonitor

CString StripMnemonics(LPCTSTR lpszText) {
  CString result;
  for (LPCTSTR p = lpszText; p && *p; p++) {
    if (*p == L'&' && p[1] == L'&') {
      result += L"&&";
      p++;
    } else if (*p != L'&' || p[1] == 0) {
      result += *p;
    }
  }
  return result;
}

void StripMnemonics(CString &strText) {
  strText = StripMnemonics(static_cast<LPCTSTR>(strText));
}

void DrawCheckedPattern(CDC *pDC, const CRect &rc) {
  HDC hDC = pDC->GetSafeHdc();
  static const WORD kRows[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  HBITMAP hPattern = ::CreateBitmap(8, 8, 1, 1, kRows);
  HBRUSH hBrush = ::CreatePatternBrush(hPattern);
  COLORREF oldText = ::SetTextColor(hDC, XTPGetColor(COLOR_BTNFACE));
  COLORREF oldBack = ::SetBkColor(hDC, XTPGetColor(COLOR_BTNHIGHLIGHT));
  HGDIOBJ hOld = ::SelectObject(hDC, hBrush);
  ::PatBlt(hDC, rc.left, rc.top, rc.Width(), rc.Height(), PATCOPY);
  ::SelectObject(hDC, hOld);
  ::SetTextColor(hDC, oldText);
  ::SetBkColor(hDC, oldBack);
  ::DeleteObject(hBrush);
  ::DeleteObject(hPattern);
}
