// What every drawing routine of the toolkit shares: guards that select a pen,
// brush, font or bitmap into a device context and restore it at scope exit,
// off-screen buffers, gradient fills and colour blends, a drag tracker for
// splitters, monitor work areas and a few small text and pattern helpers.
#pragma once

#include "FrameworkCore.h"
#include "Dc.h"
#include "GdiObject.h"
#include "Wnd.h"

#include "XTPColorManager.h"

class CXTPEmptyRect : public CRect {
public:
  CXTPEmptyRect() { SetRectEmpty(); }
};

// The window's screen rectangle; empty when the window no longer exists.
class CXTPWindowRect : public CRect {
public:
  explicit CXTPWindowRect(HWND hWnd);
  explicit CXTPWindowRect(const CWnd *pWnd) : CXTPWindowRect(pWnd ? pWnd->GetSafeHwnd() : nullptr) {}
};

// The window's client rectangle; empty when the window no longer exists.
class CXTPClientRect : public CRect {
public:
  explicit CXTPClientRect(HWND hWnd);
  explicit CXTPClientRect(const CWnd *pWnd) : CXTPClientRect(pWnd ? pWnd->GetSafeHwnd() : nullptr) {}
};

// The cursor position in a window's client coordinates.
class CXTPClientCursorPos : public CPoint {
public:
  explicit CXTPClientCursorPos(HWND hWnd);
};

class CXTPFontDC {
public:
  CXTPFontDC(CDC *pDC, CFont *pFont);
  CXTPFontDC(CDC *pDC, HFONT hFont);
  ~CXTPFontDC();
  CXTPFontDC(const CXTPFontDC &) = delete;
  CXTPFontDC &operator=(const CXTPFontDC &) = delete;
  void SetFont(HFONT hFont);

private:
  HDC m_hDC;
  HGDIOBJ m_hOldFont = nullptr;
};

class CXTPPenDC {
public:
  CXTPPenDC(CDC *pDC, COLORREF clr);
  ~CXTPPenDC();
  CXTPPenDC(const CXTPPenDC &) = delete;
  CXTPPenDC &operator=(const CXTPPenDC &) = delete;
  void SetColor(COLORREF clr);
  COLORREF GetColor() const;

private:
  HDC m_hDC;
  HPEN m_hPen = nullptr;
  HGDIOBJ m_hOldPen = nullptr;
};

class CXTPBrushDC {
public:
  CXTPBrushDC(CDC *pDC, COLORREF clr);
  ~CXTPBrushDC();
  CXTPBrushDC(const CXTPBrushDC &) = delete;
  CXTPBrushDC &operator=(const CXTPBrushDC &) = delete;
  void SetColor(COLORREF clr);

private:
  HDC m_hDC;
  HBRUSH m_hBrush = nullptr;
  HGDIOBJ m_hOldBrush = nullptr;
};

// A memory context compatible with a device context, with a bitmap selected.
class CXTPCompatibleDC : public CDC {
public:
  CXTPCompatibleDC(CDC *pDC, CBitmap *pBitmap);
  CXTPCompatibleDC(CDC *pDC, HBITMAP hBitmap);
  ~CXTPCompatibleDC() override;

private:
  HGDIOBJ m_hOldBitmap = nullptr;
};

// Draws into a memory copy that uses the target's coordinates and copies the
// rectangle to the target when it ends.
class CXTPBufferDC : public CDC {
public:
  CXTPBufferDC(HDC hDestDC, const CRect &rcPaint);
  CXTPBufferDC(HDC hDestDC, int left, int top, int right, int bottom)
      : CXTPBufferDC(hDestDC, CRect(left, top, right, bottom)) {}
  ~CXTPBufferDC() override;

private:
  HDC m_hDestDC;
  CRect m_rect;
  HBITMAP m_hBitmap = nullptr;
  HGDIOBJ m_hOldBitmap = nullptr;
};

class CXTPDrawHelpers {
public:
  CXTPDrawHelpers();
  ~CXTPDrawHelpers();
  CXTPDrawHelpers(const CXTPDrawHelpers &) = delete;
  CXTPDrawHelpers &operator=(const CXTPDrawHelpers &) = delete;

  // A two-colour gradient, left to right when bHorz, else top to bottom.
  void GradientFill(CDC *pDC, LPCRECT lpRect, COLORREF crFrom, COLORREF crTo, BOOL bHorz);
  void GradientFillPair(CDC *pDC, LPCRECT lpRect, const CXTPPaintManagerColorGradient &grc, BOOL bHorz);
  // Per channel c1 * w + c2 * (1 - w), truncated and capped at 255.
  static COLORREF BlendColors(COLORREF crA, COLORREF crB, double fAmountA);
  // Pairs of (pixel, offset): the pixel becomes the average of itself and
  // the pixel at the offset; nCount counts points, so nCount / 2 pairs.
  static void BlurPoints(CDC *pDC, const POINT *pts, int nCount);
  // A filled triangle in the current pen and brush, or in one colour.
  static void Triangle(CDC *pDC, CPoint pt0, CPoint pt1, CPoint pt2);
  static void Triangle(CDC *pDC, CPoint pt0, CPoint pt1, CPoint pt2, COLORREF clr);
  static BOOL FontExists(LPCTSTR lpszFaceName);
  static CString GetDefaultFontName(BOOL bUseTahoma = FALSE);
  static BOOL IsLowResolution(HDC hDC);
  static int GetCurrentSystemTheme();

  // Gradients are then painted in bands even where msimg32 is present.
  void EnableSystemGradient(BOOL bEnable) { m_bSystemGradient = bEnable; }

private:
  void BandFill(HDC hDC, const CRect &rc, COLORREF crFrom, COLORREF crTo, BOOL bHorz);

  typedef BOOL(WINAPI *GradientFillProc)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
  HMODULE m_hMsImg32 = nullptr;
  GradientFillProc m_pfnGradientFill = nullptr;
  BOOL m_bSystemGradient = TRUE;
};

CXTPDrawHelpers *XTPGetDrawHelpers();
inline CXTPDrawHelpers *XTPDrawHelpers() {
  return XTPGetDrawHelpers();
}

// The header of a 32-bit top-down DIB: row 0 of the bits is the top row.
BITMAPINFO TopDownBitmapInfo(int width, int height);
// A 32-bit bitmap to draw into off screen before copying to a window, or
// nullptr. It is a DIB section, not a bitmap compatible with the screen:
// drawing into it, image lists and icons included, stays in the process,
// where a screen bitmap (and every image drawn into one) makes Wine ask its
// server about the displays each time.
HBITMAP CreateBufferBitmap(int width, int height);
// The colour of pixel (0, 0), or (COLORREF)-1 without a bitmap.
COLORREF GetTopLeftPixel(HBITMAP hBitmap);
// An icon of the bitmap whose transparent colour is its top-left pixel.
HICON BitmapToIcon(HBITMAP hBitmap);

// A ghost rectangle that follows the mouse along one axis while a splitter
// or edge is dragged.
class CXTPSplitterTracker {
public:
  explicit CXTPSplitterTracker(BOOL bSolid = FALSE, CRect rcBoundRect = CRect(0, 0, 0, 0));
  // TRUE when the drag ended with the left button; FALSE on Esc, loss of
  // capture or a quit request (which goes back into the queue). rect moves
  // in place along the axis, x when bHorz.
  BOOL Track(CWnd *pTrackWnd, int nMinX, int nMinY, int nMaxX, int nMaxY, CRect &rect, CPoint point,
             BOOL bHorz);
  BOOL Track(HWND hTrackWnd, int nMinX, int nMinY, int nMaxX, int nMaxY, CRect &rect, CPoint point,
             BOOL bHorz);
  BOOL Track(CWnd *pTrackWnd, const CRect &rcAvail, CRect &rect, CPoint point, BOOL bHorz) {
    return Track(pTrackWnd, rcAvail.left, rcAvail.top, rcAvail.right, rcAvail.bottom, rect, point, bHorz);
  }

private:
  void OnInvertTracker(const CRect &rect);

  HDC m_hDC = nullptr;
  BOOL m_bSolid;
  CRect m_rcBoundRect;
};

// The monitor functions, looked up by name in USER32 once: a system without
// them (or without any one of them) has one screen, whose work area is the
// system's. The lookup is the caller's so that tests can take functions away.
class CXTPMultiMonitor {
public:
  typedef FARPROC (*ProcLookup)(LPCSTR lpszName);
  explicit CXTPMultiMonitor(ProcLookup pfnLookup = LookupInUser32);

  // TRUE when every monitor function was found.
  BOOL HasMonitorFunctions() const { return m_pfnMonitorFromPoint != nullptr; }
  CRect GetWorkArea(const RECT &rect) const;
  CRect GetWorkArea(POINT point) const;
  CRect GetWorkAreaOfWindow(HWND hWnd) const;

  static FARPROC LookupInUser32(LPCSTR lpszName);

private:
  CRect WorkAreaOf(HMONITOR hMonitor) const;

  int(WINAPI *m_pfnGetSystemMetrics)(int) = nullptr;
  HMONITOR(WINAPI *m_pfnMonitorFromWindow)(HWND, DWORD) = nullptr;
  HMONITOR(WINAPI *m_pfnMonitorFromRect)(LPCRECT, DWORD) = nullptr;
  HMONITOR(WINAPI *m_pfnMonitorFromPoint)(POINT, DWORD) = nullptr;
  BOOL(WINAPI *m_pfnGetMonitorInfo)(HMONITOR, LPMONITORINFO) = nullptr;
};

CXTPMultiMonitor &XTPGetMultiMonitor();

namespace XTPMultiMonitor {
CRect GetWorkArea(const RECT &rect);
CRect GetWorkArea(POINT point);
CRect GetWorkArea();
CRect GetWorkAreaOfWindow(HWND hWnd);
CRect GetWorkAreaAtCursor();
} // namespace XTPMultiMonitor

// Shows a popup menu for a window. When the application's frame has command
// bars the menu is a command-bar popup (its pictures from the toolbar
// resource nIDBitmap when above 0), tracked with TPM_NONOTIFY; otherwise the
// menu is tracked plainly. Returns the tracking's result. A handler set by a
// test stands in for both (it is given the flags with TPM_NONOTIFY).
typedef UINT (*XTPPopupContextMenuHandler)(HMENU hMenu, UINT nFlags, int x, int y, HWND hWnd, int nIDBitmap);
XTPPopupContextMenuHandler XTPSetPopupContextMenuHandler(XTPPopupContextMenuHandler pfnHandler);
XTPPopupContextMenuHandler XTPGetPopupContextMenuHandler();
UINT XTPPopupContextMenu(HMENU hMenu, UINT nFlags, int x, int y, HWND hWnd, int nIDBitmap = 0);

// Removes each "&" that marks a mnemonic; "&&" stays as it is.
CString StripMnemonics(LPCTSTR lpszText);
void StripMnemonics(CString &strText);
// Fills with the one-pixel checked pattern in colours 15 and 20.
void DrawCheckedPattern(CDC *pDC, const CRect &rc);
