// The button editor's grid, colour cells and preview.
#include <olectl.h>

#include <algorithm>

#include "XTPColorManager.h"
#include "XTPDrawHelpers.h"
#include "XTPImageEditor.h"
#include "XTPResource.h"

namespace {

// The checkerboard under transparent pixels: 4 by 4 squares of grey 235 and white.
int CheckerBase(int x, int y) {
  return (((x + 3) / 4 + (y + 3) / 4) & 1) ? 235 : 255;
}

// Paints into a memory bitmap and copies it out in one go, so nothing flickers.
class CBufferedPaint {
public:
  CBufferedPaint(HWND hWnd) : m_hWnd(hWnd) {
    m_hDC = ::BeginPaint(hWnd, &m_ps);
    ::GetClientRect(hWnd, &m_rc);
    m_hMemDC = ::CreateCompatibleDC(m_hDC);
    m_hBitmap = ::CreateCompatibleBitmap(m_hDC, std::max<int>(m_rc.right, 1), std::max<int>(m_rc.bottom, 1));
    m_hOld = ::SelectObject(m_hMemDC, m_hBitmap);
  }
  ~CBufferedPaint() {
    ::BitBlt(m_hDC, 0, 0, m_rc.right, m_rc.bottom, m_hMemDC, 0, 0, SRCCOPY);
    ::SelectObject(m_hMemDC, m_hOld);
    ::DeleteObject(m_hBitmap);
    ::DeleteDC(m_hMemDC);
    ::EndPaint(m_hWnd, &m_ps);
  }
  HDC DC() const { return m_hMemDC; }
  const RECT &Rect() const { return m_rc; }

private:
  HWND m_hWnd;
  PAINTSTRUCT m_ps{};
  HDC m_hDC;
  RECT m_rc{};
  HDC m_hMemDC;
  HBITMAP m_hBitmap;
  HGDIOBJ m_hOld;
};

void FillSolid(HDC hDC, const RECT &rc, COLORREF clr) {
  HBRUSH hBrush = ::CreateSolidBrush(clr);
  ::FillRect(hDC, &rc, hBrush);
  ::DeleteObject(hBrush);
}

void FrameSolid(HDC hDC, const RECT &rc, COLORREF clr) {
  HBRUSH hBrush = ::CreateSolidBrush(clr);
  ::FrameRect(hDC, &rc, hBrush);
  ::DeleteObject(hBrush);
}

BOOL OpenClipboardRetrying(HWND hWnd) {
  // Another program may hold the clipboard for a moment.
  for (int nTry = 0; nTry < 5; nTry++) {
    if (::OpenClipboard(hWnd)) return TRUE;
    ::Sleep(20);
  }
  return FALSE;
}

BOOL IsAlphaClipboard() {
  for (UINT nFormat = ::EnumClipboardFormats(0); nFormat != 0; nFormat = ::EnumClipboardFormats(nFormat)) {
    WCHAR szName[128];
    if (::GetClipboardFormatNameW(nFormat, szName, 128) > 0) {
      const WCHAR *p = wcsstr(szName, L"DIB32");
      if (p && p > szName) return TRUE;
    }
  }
  const UINT nMarker = ::RegisterClipboardFormatW(L"Alpha Bitmap Image");
  return ::IsClipboardFormatAvailable(nMarker);
}

} // namespace

// --- grid ------------------------------------------------------------------

CXTPImageEditorPicture::CXTPImageEditorPicture() = default;

CXTPImageEditorPicture::~CXTPImageEditorPicture() = default;

BOOL CXTPImageEditorPicture::Attach(CXTPImageEditorDlg *pDlg, UINT nID) {
  m_pDlg = pDlg;
  if (!SubclassDlgItem(nID, pDlg)) return FALSE;
  m_szPicture = pDlg->GetPictureSize();
  CRect rcClient;
  GetClientRect(&rcClient);
  m_szCell = XTPImageEditorCellSize(rcClient.Size(), m_szPicture);
  const CSize szGrid = XTPImageEditorGridSize(m_szCell, m_szPicture);
  SetWindowPos(nullptr, 0, 0, szGrid.cx, szGrid.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  HINSTANCE hInst = AfxGetResourceHandle();
  m_hCursorLine = ::LoadCursorW(hInst, MAKEINTRESOURCEW(XTP_IDC_CURSOR_LINE));
  m_hCursorFill = ::LoadCursorW(hInst, MAKEINTRESOURCEW(XTP_IDC_CURSOR_FILL));
  m_hCursorPencil = ::LoadCursorW(hInst, MAKEINTRESOURCEW(XTP_IDC_CURSOR_PENCIL));
  m_hCursorPickColor = ::LoadCursorW(hInst, MAKEINTRESOURCEW(XTP_IDC_CURSOR_PICKCOLOR));
  return TRUE;
}

void CXTPImageEditorPicture::SetCurrent(std::unique_ptr<CXTPImageEditorImage> pImage) {
  m_pCurrent = std::move(pImage);
  Changed();
}

std::unique_ptr<CXTPImageEditorImage> CXTPImageEditorPicture::CopyOfCurrent() const {
  return m_pCurrent ? m_pCurrent->Clone()
                    : std::make_unique<CXTPImageEditorImage>(m_szPicture.cx, m_szPicture.cy);
}

void CXTPImageEditorPicture::BeginStep() {
  ASSERT(!m_bStepPending);
  m_pStrokeStart = m_pCurrent ? m_pCurrent->Clone() : nullptr;
  m_bStepPending = TRUE;
}

void CXTPImageEditorPicture::Commit(std::unique_ptr<CXTPImageEditorImage> pNew) {
  if (!m_bStepPending) return;
  if (pNew) m_pCurrent = std::move(pNew);
  m_redo.clear();
  if (m_undo.size() >= kUndoSteps) m_undo.pop_front();
  m_undo.push_back(std::move(m_pStrokeStart));
  m_bStepPending = FALSE;
  Changed();
}

void CXTPImageEditorPicture::Changed() {
  if (m_hWnd) Invalidate(FALSE);
  if (m_pDlg) m_pDlg->PictureChanged();
}

void CXTPImageEditorPicture::Undo() {
  StepBack(m_undo, m_redo);
}

void CXTPImageEditorPicture::Redo() {
  StepBack(m_redo, m_undo);
}

// The last picture of one history becomes the current one; the current one
// goes onto the other history.
void CXTPImageEditorPicture::StepBack(History &from, History &to) {
  if (from.empty() || m_bTracking) return;
  to.push_back(std::move(m_pCurrent));
  m_pCurrent = std::move(from.back());
  from.pop_back();
  Changed();
}

void CXTPImageEditorPicture::Clear() {
  BeginStep();
  m_pCurrent.reset();
  Commit(nullptr);
}

void CXTPImageEditorPicture::Move(int dx, int dy) {
  BeginStep();
  std::unique_ptr<CXTPImageEditorImage> pNew;
  if (m_pCurrent) pNew = m_pCurrent->Copy(m_szPicture.cx, m_szPicture.cy, dx, dy);
  Commit(std::move(pNew));
}

BOOL CXTPImageEditorPicture::Copy() {
  const HWND hOwner = m_pDlg ? m_pDlg->GetSafeHwnd() : m_hWnd;
  if (!OpenClipboardRetrying(hOwner)) return FALSE;
  if (!::EmptyClipboard()) {
    ::CloseClipboard();
    return FALSE;
  }
  auto pCopy = CopyOfCurrent()->Copy(m_szPicture.cx, m_szPicture.cy, 0, 0, XTP_IMAGEEDITOR_TRANSPARENT,
                                     XTPGetColor(COLOR_BTNFACE));
  HBITMAP hBitmap = pCopy->CreateBitmap();
  // The clipboard owns the bitmap once it took it.
  if (!hBitmap || !::SetClipboardData(CF_BITMAP, hBitmap)) {
    TRACE(L"CXTPImageEditorPicture::Copy() error. Error code = %x\n", ::GetLastError());
    if (hBitmap) ::DeleteObject(hBitmap);
  }
  if (pCopy->HasAlpha()) {
    if (HGLOBAL hMarker = ::GlobalAlloc(GMEM_MOVEABLE, 1)) {
      if (!::SetClipboardData(::RegisterClipboardFormatW(L"Alpha Bitmap Image"), hMarker))
        ::GlobalFree(hMarker);
    }
  }
  ::CloseClipboard();
  return TRUE;
}

BOOL CXTPImageEditorPicture::Paste() {
  const HWND hOwner = m_pDlg ? m_pDlg->GetSafeHwnd() : m_hWnd;
  if (!::IsClipboardFormatAvailable(CF_BITMAP) || !OpenClipboardRetrying(hOwner)) return FALSE;
  const BOOL bAlpha = IsAlphaClipboard();
  std::unique_ptr<CXTPImageEditorImage> pPasted =
      CXTPImageEditorImage::FromBitmap(static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP)), bAlpha);
  ::CloseClipboard();
  if (!pPasted) return FALSE;
  if (bAlpha) pPasted->CleanAlpha();
  BeginStep();
  Commit(pPasted->Copy(m_szPicture.cx, m_szPicture.cy, 0, 0, XTPGetColor(COLOR_BTNFACE),
                       XTP_IMAGEEDITOR_TRANSPARENT));
  return TRUE;
}

BOOL CXTPImageEditorPicture::Import(LPCTSTR pszFileName) {
  CString strExt = pszFileName;
  const int nDot = strExt.ReverseFind(L'.');
  strExt = nDot >= 0 ? strExt.Mid(nDot + 1) : CString();
  strExt.MakeLower();
  const int cx = m_szPicture.cx, cy = m_szPicture.cy;
  std::unique_ptr<CXTPImageEditorImage> pNew;
  if (strExt == L"ico") {
    if (HBITMAP hAlpha = CXTPImageManager::LoadIconFile(pszFileName, cx)) {
      if (auto pLoaded = CXTPImageEditorImage::FromBitmap(hAlpha, TRUE)) {
        pLoaded->CleanAlpha();
        pNew = pLoaded->Copy(cx, cy);
      }
      ::DeleteObject(hAlpha);
    }
    if (!pNew) {
      HICON hIcon =
          static_cast<HICON>(::LoadImageW(nullptr, pszFileName, IMAGE_ICON, cx, cy, LR_LOADFROMFILE));
      if (!hIcon) return FALSE;
      pNew = std::make_unique<CXTPImageEditorImage>(cx, cy);
      pNew->DrawIcon(hIcon);
      ::DestroyIcon(hIcon);
    }
  } else if (strExt == L"bmp") {
    HBITMAP hBitmap = static_cast<HBITMAP>(
        ::LoadImageW(nullptr, pszFileName, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!hBitmap) return FALSE;
    const BOOL bAlpha = CXTPImageManager::IsAlphaBitmapFile(pszFileName);
    auto pLoaded = CXTPImageEditorImage::FromBitmap(hBitmap, bAlpha);
    ::DeleteObject(hBitmap);
    if (!pLoaded) return FALSE;
    if (bAlpha) pLoaded->CleanAlpha();
    pNew = pLoaded->Copy(cx, cy);
  } else {
    IPicture *pPicture = nullptr;
    if (FAILED(::OleLoadPicturePath(const_cast<LPOLESTR>(pszFileName), nullptr, 0, 0, IID_IPicture,
                                    reinterpret_cast<void **>(&pPicture))) ||
        !pPicture)
      return FALSE;
    pNew = std::make_unique<CXTPImageEditorImage>(cx, cy);
    HBITMAP hBitmap = pNew->CreateBitmap();
    HDC hDC = ::CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
    OLE_XSIZE_HIMETRIC hmWidth = 0;
    OLE_YSIZE_HIMETRIC hmHeight = 0;
    pPicture->get_Width(&hmWidth);
    pPicture->get_Height(&hmHeight);
    pPicture->Render(hDC, 0, 0, cx, cy, 0, hmHeight, hmWidth, -hmHeight, nullptr);
    ::SelectObject(hDC, hOld);
    ::DeleteDC(hDC);
    pPicture->Release();
    pNew = CXTPImageEditorImage::FromBitmap(hBitmap, FALSE);
    ::DeleteObject(hBitmap);
    if (!pNew) return FALSE;
  }
  BeginStep();
  Commit(std::move(pNew));
  return TRUE;
}

HCURSOR CXTPImageEditorPicture::ToolCursor() const {
  switch (m_pDlg ? m_pDlg->GetCurrentTool() : xtpToolPencil) {
  case xtpToolFill:
    return m_hCursorFill;
  case xtpToolGetColor:
    return m_hCursorPickColor;
  case xtpToolLine:
  case xtpToolRectangle:
  case xtpToolCircle:
    return m_hCursorLine;
  default:
    return m_hCursorPencil;
  }
}

void CXTPImageEditorPicture::OnLButtonDown(CPoint pt) {
  if (!m_pDlg || m_bTracking) return;
  const CPoint ptCell = XTPImageEditorCellAt(pt, m_szCell);
  switch (m_pDlg->GetCurrentTool()) {
  case xtpToolFill: {
    auto pNew = CopyOfCurrent();
    if (!pNew->Contains(ptCell)) return;
    BeginStep();
    pNew->FloodFill(ptCell, XTPImageEditorPixel(m_pDlg->GetDrawColor()));
    pNew->MarkOpaque(m_pCurrent.get());
    Commit(std::move(pNew));
    break;
  }
  case xtpToolGetColor: {
    auto pNow = CopyOfCurrent();
    if (pNow->Contains(ptCell)) m_pDlg->ColorPicked(pNow->GetColor(ptCell.x, ptCell.y));
    break;
  }
  default:
    BeginStep();
    m_pCurrent = CopyOfCurrent();
    m_ptStart = m_ptLast = ptCell;
    m_bTracking = TRUE;
    SetCapture();
    OnMouseMove(pt);
    break;
  }
}

void CXTPImageEditorPicture::OnMouseMove(CPoint pt) {
  if (!m_bTracking || !m_pDlg) return;
  const CPoint ptCell = XTPImageEditorCellAt(pt, m_szCell);
  const COLORREF clr = m_pDlg->GetDrawColor();
  std::unique_ptr<CXTPImageEditorImage> pNew;
  const CXTPImageEditorImage *pBefore = nullptr;
  if (m_pDlg->GetCurrentTool() == xtpToolPencil) {
    pNew = CopyOfCurrent();
    // The cells between two mouse messages are drawn too: a quick stroke stays unbroken.
    for (const CPoint &cell : XTPImageEditorCellsBetween(m_ptLast, ptCell)) {
      if (pNew->Contains(cell)) pNew->SetPixel(cell.x, cell.y, XTPImageEditorPixel(clr));
    }
    pBefore = m_pCurrent.get();
  } else {
    pNew = m_pStrokeStart ? m_pStrokeStart->Clone()
                          : std::make_unique<CXTPImageEditorImage>(m_szPicture.cx, m_szPicture.cy);
    CRect rc(m_ptStart, ptCell);
    rc.NormalizeRect();
    if (m_pDlg->GetCurrentTool() == xtpToolLine)
      pNew->DrawLine(m_ptStart, ptCell, clr);
    else if (m_pDlg->GetCurrentTool() == xtpToolRectangle)
      pNew->DrawRectangle(rc, clr);
    else
      pNew->DrawEllipse(rc, clr);
    pBefore = m_pStrokeStart.get();
  }
  pNew->MarkOpaque(pBefore);
  m_pCurrent = std::move(pNew);
  m_ptLast = ptCell;
  Changed();
}

void CXTPImageEditorPicture::EndTracking() {
  if (!m_bTracking) return;
  m_bTracking = FALSE;
  Commit(nullptr);
}

void CXTPImageEditorPicture::OnPaint() {
  CBufferedPaint paint(m_hWnd);
  const RECT &rc = paint.Rect();
  const int cxClient = std::max<int>(rc.right, 1), cyClient = std::max<int>(rc.bottom, 1);
  const BITMAPINFO bmi = TopDownBitmapInfo(cxClient, cyClient);
  std::vector<DWORD> screen(static_cast<size_t>(cxClient) * cyClient);
  const CXTPImageEditorImage *pImage = m_pCurrent.get();
  for (int y = 0; y < cyClient; y++) {
    for (int x = 0; x < cxClient; x++) {
      const int base = CheckerBase(x, y);
      DWORD dw = RGB(base, base, base);
      const int px = x / m_szCell.cx, py = y / m_szCell.cy;
      if (pImage && pImage->Contains(CPoint(px, py)) && !pImage->IsTransparent(px, py)) {
        const DWORD v = pImage->GetPixel(px, py);
        if (pImage->HasAlpha()) {
          const int a = static_cast<int>(v >> 24);
          auto blend = [&](int c) { return base - (base - c) * a / 255; };
          dw = (blend((v >> 16) & 0xFF) << 16) | (blend((v >> 8) & 0xFF) << 8) | blend(v & 0xFF);
        } else {
          dw = v & 0xFFFFFF;
        }
      }
      screen[static_cast<size_t>(y) * cxClient + x] = dw;
    }
  }
  ::SetDIBitsToDevice(paint.DC(), 0, 0, cxClient, cyClient, 0, 0, 0, cyClient, screen.data(), &bmi,
                      DIB_RGB_COLORS);
  FrameSolid(paint.DC(), rc, RGB(0, 0, 0));
}

LRESULT CXTPImageEditorPicture::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const CPoint pt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
  switch (message) {
  case WM_PAINT:
    OnPaint();
    return 0;
  case WM_ERASEBKGND:
    return TRUE;
  case WM_LBUTTONDOWN:
    OnLButtonDown(pt);
    return 0;
  case WM_MOUSEMOVE:
    OnMouseMove(pt);
    return 0;
  case WM_LBUTTONUP:
    if (m_bTracking && ::GetCapture() == m_hWnd) ::ReleaseCapture();
    EndTracking();
    return 0;
  case WM_CAPTURECHANGED:
    EndTracking();
    return 0;
  case WM_SETCURSOR:
    if (HCURSOR hCursor = ToolCursor()) {
      ::SetCursor(hCursor);
      return TRUE;
    }
    break;
  case WM_NCHITTEST:
    return HTCLIENT;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

// --- colour cell -----------------------------------------------------------

void CXTPImageEditorPicker::Select(BOOL bSelected) {
  m_bSelected = bSelected;
  if (m_hWnd) Invalidate(FALSE);
}

void CXTPImageEditorPicker::OnPaint() {
  CBufferedPaint paint(m_hWnd);
  RECT rc = paint.Rect();
  HDC hDC = paint.DC();
  if (m_clr == XTP_IMAGEEDITOR_TRANSPARENT) {
    FillSolid(hDC, rc, RGB(255, 255, 255));
    const int cxHalf = rc.right / 2, cyHalf = rc.bottom / 2;
    FillSolid(hDC, RECT{0, 0, cxHalf, cyHalf}, RGB(235, 235, 235));
    FillSolid(hDC, RECT{cxHalf, cyHalf, rc.right, rc.bottom}, RGB(235, 235, 235));
  } else {
    FillSolid(hDC, rc, m_clr);
  }
  if (m_bSelected) {
    FrameSolid(hDC, rc, RGB(0, 0, 0));
    ::InflateRect(&rc, -1, -1);
    FrameSolid(hDC, rc, RGB(255, 255, 255));
    ::InflateRect(&rc, -1, -1);
    FrameSolid(hDC, rc, RGB(0, 0, 0));
  } else {
    FrameSolid(hDC, rc, XTPGetColor(COLOR_3DSHADOW));
  }
}

LRESULT CXTPImageEditorPicker::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_PAINT:
    OnPaint();
    return 0;
  case WM_ERASEBKGND:
    return TRUE;
  case WM_NCHITTEST:
    return HTCLIENT;
  case WM_LBUTTONDOWN: {
    NMHDR nm{m_hWnd, static_cast<UINT_PTR>(::GetDlgCtrlID(m_hWnd)), static_cast<UINT>(NM_CLICK)};
    ::SendMessageW(::GetParent(m_hWnd), WM_NOTIFY, nm.idFrom, reinterpret_cast<LPARAM>(&nm));
    return 0;
  }
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

// --- preview ---------------------------------------------------------------

void CXTPImageEditorPreview::OnPaint() {
  CBufferedPaint paint(m_hWnd);
  const RECT &rcClient = paint.Rect();
  HDC hDC = paint.DC();
  FillSolid(hDC, rcClient, XTPGetColor(COLOR_BTNFACE));
  if (!m_pDlg) return;
  const CSize sz = m_pDlg->GetPictureSize();
  const CPoint ptAt(10, (rcClient.bottom - sz.cy) / 2);
  CRect rc(ptAt, sz);
  rc.InflateRect(3, 3);
  auto frame3d = [&](const CRect &r, COLORREF clrTopLeft, COLORREF clrBottomRight) {
    FillSolid(hDC, RECT{r.left, r.top, r.right - 1, r.top + 1}, clrTopLeft);
    FillSolid(hDC, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, clrTopLeft);
    FillSolid(hDC, RECT{r.left, r.bottom - 1, r.right, r.bottom}, clrBottomRight);
    FillSolid(hDC, RECT{r.right - 1, r.top, r.right, r.bottom}, clrBottomRight);
  };
  frame3d(rc, RGB(255, 255, 255), XTPGetColor(COLOR_3DSHADOW));
  rc.InflateRect(1, 1);
  frame3d(rc, XTPGetColor(COLOR_BTNFACE), XTPGetColor(COLOR_3DDKSHADOW));
  const CXTPImageEditorImage *pImage = m_pDlg->GetPicture().GetCurrent();
  if (!pImage) return;
  const COLORREF clrFace = XTPGetColor(COLOR_BTNFACE);
  for (int y = 0; y < pImage->Height(); y++) {
    for (int x = 0; x < pImage->Width(); x++) {
      if (pImage->IsTransparent(x, y)) continue;
      COLORREF clr = pImage->GetColor(x, y);
      if (pImage->HasAlpha()) {
        const int a = static_cast<int>(pImage->GetPixel(x, y) >> 24);
        auto blend = [&](int base, int c) { return base - (base - c) * a / 255; };
        clr = RGB(blend(GetRValue(clrFace), GetRValue(clr)), blend(GetGValue(clrFace), GetGValue(clr)),
                  blend(GetBValue(clrFace), GetBValue(clr)));
      }
      ::SetPixelV(hDC, ptAt.x + x, ptAt.y + y, clr);
    }
  }
}

LRESULT CXTPImageEditorPreview::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_PAINT:
    OnPaint();
    return 0;
  case WM_ERASEBKGND:
    return TRUE;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}
