#include "XTPShadowsManager.h"

#include <algorithm>

#include "XTPCommandBar.h"
#include "XTPControl.h"
#include "XTPPaintManager.h"
#include "XTPPopupBar.h"

namespace {

DWORD Premultiply(int nAlpha, double f, COLORREF clr) {
  auto channel = [f](int v) { return static_cast<DWORD>(static_cast<int>(v * f)) & 0xFF; };
  return (static_cast<DWORD>(nAlpha) << 24) | (channel(GetRValue(clr)) << 16) |
         (channel(GetGValue(clr)) << 8) | channel(GetBValue(clr));
}

} // namespace

// --- CXTPShadowWnd -----------------------------------------------------------

CXTPShadowWnd::CXTPShadowWnd(CXTPShadowsManager *pManager, BOOL bHorizontal, BOOL bThemeShadow,
                             COLORREF clrShadow)
    : m_pManager(pManager), m_bHorizontal(bHorizontal), m_bThemeShadow(bThemeShadow), m_clrShadow(clrShadow) {
}

CXTPShadowWnd::~CXTPShadowWnd() {
  if (GetSafeHwnd()) DestroyWindow();
}

CRect CXTPShadowWnd::GetWindowRectangle() const {
  CRect rc;
  ::GetWindowRect(GetSafeHwnd(), &rc);
  return rc;
}

BOOL CXTPShadowWnd::CreateShadow(HWND hWndOwner) {
  LPCTSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW));
  DWORD dwExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  if (m_pManager->IsLayeredAvailable()) dwExStyle |= WS_EX_LAYERED;
  if (!CreateEx(dwExStyle, lpszClass, L"", WS_POPUP, 0, 0, 0, 0, ::GetDesktopWindow(), nullptr)) return FALSE;
  m_hWndOwner = hWndOwner;
  return TRUE;
}

void CXTPShadowWnd::ExcludeRect(CRect rc) {
  CRect rcWindow = GetWindowRectangle();
  CRect rcCut;
  if (!rcCut.IntersectRect(rcWindow, rc)) return;
  rcCut.OffsetRect(-rcWindow.TopLeft());
  HRGN hRgn = ::CreateRectRgn(0, 0, rcWindow.Width(), rcWindow.Height());
  HRGN hOld = ::CreateRectRgn(0, 0, 0, 0);
  // Cuts made before stay cut.
  if (::GetWindowRgn(GetSafeHwnd(), hOld) != ERROR) ::CombineRgn(hRgn, hRgn, hOld, RGN_AND);
  ::DeleteObject(hOld);
  HRGN hCut = ::CreateRectRgnIndirect(&rcCut);
  ::CombineRgn(hRgn, hRgn, hCut, RGN_DIFF);
  ::DeleteObject(hCut);
  ::SetWindowRgn(GetSafeHwnd(), hRgn, FALSE); // the window owns the region now
}

std::vector<DWORD> CXTPShadowWnd::BuildBits(BOOL bHorizontal, int cx, int cy, COLORREF clr, int k) {
  std::vector<DWORD> bits(static_cast<size_t>(cx) * cy, 0);
  auto at = [&](int x, int y) -> DWORD & { return bits[static_cast<size_t>(y) * cx + x]; };
  auto corner = [&](int i, int j) {
    return Premultiply(3 * k * (i + 1) * (j + 1), (i + 1) * (j + 1) / 20.0, clr);
  };
  if (!bHorizontal) {
    if (cx != 4) return bits;
    for (int y = 0; y < cy; y++) {
      for (int x = 0; x < 4; x++) {
        at(x, y) = y < 4 ? corner(3 - x, y) : Premultiply(15 * k * (4 - x), (4 - x) / 4.0, clr);
      }
    }
    return bits;
  }
  if (cy != 4) return bits;
  for (int r = 0; r < 4; r++) {
    int j = 3 - r;
    for (int x = 0; x < cx; x++) {
      if (x < 4)
        at(x, r) = corner(x, j);
      else if (x >= cx - 4)
        at(x, r) = corner(cx - 1 - x, j);
      else
        at(x, r) = Premultiply(15 * k * (j + 1), (j + 1) / 4.0, clr);
    }
  }
  return bits;
}

void CXTPShadowWnd::UpdateLayered(int cx, int cy) {
  if (cx <= 0 || cy <= 0 || !m_hWndOwner || !m_pManager->IsLayeredAvailable()) return;
  std::vector<DWORD> bits = BuildBits(m_bHorizontal, cx, cy, m_clrShadow, m_bThemeShadow ? 1 : 2);
  BITMAPINFO bmi = {};
  bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
  bmi.bmiHeader.biWidth = cx;
  bmi.bmiHeader.biHeight = cy; // bottom-up: row 0 of the bits is the last row in memory
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  void *pvBits = nullptr;
  HDC hScreen = ::GetDC(nullptr);
  HDC hMem = ::CreateCompatibleDC(hScreen);
  HBITMAP hBitmap = ::CreateDIBSection(hScreen, &bmi, DIB_RGB_COLORS, &pvBits, nullptr, 0);
  if (hBitmap && pvBits) {
    auto *pDst = static_cast<DWORD *>(pvBits);
    for (int y = 0; y < cy; y++)
      std::copy_n(&bits[static_cast<size_t>(y) * cx], cx, pDst + static_cast<size_t>(cy - 1 - y) * cx);
    HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
    SIZE sz = {cx, cy};
    POINT ptSrc = {0, 0};
    BLENDFUNCTION bf = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    m_pManager->m_pfnUpdateLayeredWindow(GetSafeHwnd(), nullptr, nullptr, &sz, hMem, &ptSrc, 0, &bf,
                                         ULW_ALPHA);
    ::SelectObject(hMem, hOld);
  }
  if (hBitmap) ::DeleteObject(hBitmap);
  ::DeleteDC(hMem);
  ::ReleaseDC(nullptr, hScreen);
}

LRESULT CXTPShadowWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_NCHITTEST:
    return HTTRANSPARENT; // clicks go to the window below
  case WM_ERASEBKGND:
    return TRUE;
  case WM_PAINT: {
    PAINTSTRUCT ps;
    HDC hDC = ::BeginPaint(GetSafeHwnd(), &ps);
    CRect rc;
    ::GetClientRect(GetSafeHwnd(), &rc);
    // A layered strip shows its bitmap, not what is painted here.
    ::FillRect(hDC, &rc,
               m_pManager->IsLayeredAvailable() ? static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH))
                                                : ::GetSysColorBrush(COLOR_BTNSHADOW));
    ::EndPaint(GetSafeHwnd(), &ps);
    return 0;
  }
  case WM_SIZE:
    UpdateLayered(LOWORD(lParam), HIWORD(lParam));
    break;
  default:
    break;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

int CXTPShadowWnd::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM &wParam, LPARAM &, LRESULT &) {
  if (hWnd != m_hWndOwner) return xtpHookContinue;
  if (nMessage == WM_SHOWWINDOW) {
    ::ShowWindow(GetSafeHwnd(), wParam ? SW_SHOWNOACTIVATE : SW_HIDE);
  } else if (nMessage == WM_DESTROY) {
    m_pManager->DestroyShadow(this); // unhooks and deletes this strip
  }
  return xtpHookContinue;
}

// --- CXTPShadowsManager ------------------------------------------------------

CXTPShadowsManager::CXTPShadowsManager() {
  HMODULE hUser = ::GetModuleHandleW(L"USER32");
  if (hUser)
    m_pfnSystem = reinterpret_cast<PFNUPDATELAYEREDWINDOW>(
        reinterpret_cast<void *>(::GetProcAddress(hUser, "UpdateLayeredWindow")));
  m_pfnUpdateLayeredWindow = m_pfnSystem;
}

CXTPShadowsManager::~CXTPShadowsManager() {
  // Owners destroy their strips with them; whatever outlives its owner's
  // hook (an owner never destroyed) goes here.
  while (!m_shadows.empty()) DestroyShadow(m_shadows.front());
}

void CXTPShadowsManager::SetLayeredAvailable(BOOL bAvailable) {
  m_pfnUpdateLayeredWindow = bAvailable ? m_pfnSystem : nullptr;
}

BOOL CXTPShadowsManager::IsDropShadowOn() const {
  if (m_nDropShadowOverride >= 0) return m_nDropShadowOverride != 0;
  BOOL bDropShadow = FALSE;
  if (!::SystemParametersInfoW(SPI_GETDROPSHADOW, 0, &bDropShadow, 0)) return FALSE;
  return bDropShadow;
}

int CXTPShadowsManager::GetShadowCount(HWND hWndOwner) const {
  return static_cast<int>(std::count_if(m_shadows.begin(), m_shadows.end(), [hWndOwner](CXTPShadowWnd *p) {
    return p->m_hWndOwner == hWndOwner;
  }));
}

BOOL CXTPShadowsManager::PrepareShadows(CXTPPaintManager *pPaintManager, BOOL bCustomize) const {
  if (bCustomize) return FALSE;
  if (pPaintManager && pPaintManager->HasOwnShadow()) return TRUE;
  return IsLayeredAvailable() && IsDropShadowOn();
}

void CXTPShadowsManager::SetShadow(CXTPPopupBar *pBar, const CRect &rcExclude) {
  if (!pBar || !pBar->GetSafeHwnd()) return;
  CXTPPaintManager *pPaintManager = pBar->GetPaintManager();
  if (!PrepareShadows(pPaintManager, pBar->IsCustomizeMode())) return;
  BOOL bTheme = pPaintManager && pPaintManager->HasOwnShadow();
  CRect rc;
  ::GetWindowRect(pBar->GetSafeHwnd(), &rc);
  SetShadow(pBar->GetSafeHwnd(), rc, rcExclude, bTheme, pPaintManager ? pPaintManager->GetShadowColor() : 0);
}

void CXTPShadowsManager::SetShadow(CXTPControl *pControl) {
  CXTPCommandBar *pParent = pControl ? pControl->GetParent() : nullptr;
  if (!pParent || !pParent->GetSafeHwnd()) return;
  CXTPPaintManager *pPaintManager = pControl->GetPaintManager();
  // The strips under a control come only from themes that draw shadows.
  if (!pPaintManager || !pPaintManager->HasOwnShadow() || pParent->IsCustomizeMode()) return;
  CRect rc = pControl->GetRect();
  ::MapWindowPoints(pParent->GetSafeHwnd(), nullptr, reinterpret_cast<POINT *>(&rc), 2);
  CRect rcExclude;
  CXTPCommandBar *pPopup = pControl->GetCommandBar();
  if (pPopup && pPopup->GetSafeHwnd()) ::GetWindowRect(pPopup->GetSafeHwnd(), &rcExclude);
  SetShadow(pParent->GetSafeHwnd(), rc, rcExclude, TRUE, pPaintManager->GetShadowColor());
}

void CXTPShadowsManager::SetShadow(HWND hWndOwner, const CRect &rcOwner, const CRect &rcExclude,
                                   BOOL bThemeShadow, COLORREF clr) {
  CreateShadow(TRUE, rcOwner, rcExclude, hWndOwner, bThemeShadow, clr);
  CreateShadow(FALSE, rcOwner, rcExclude, hWndOwner, bThemeShadow, clr);
}

void CXTPShadowsManager::CreateShadow(BOOL bHorizontal, const CRect &rcOwner, const CRect &rcExclude,
                                      HWND hWndOwner, BOOL bThemeShadow, COLORREF clr) {
  auto *pShadow = new CXTPShadowWnd(this, bHorizontal, bThemeShadow, clr);
  if (!pShadow->CreateShadow(hWndOwner)) {
    delete pShadow;
    return;
  }
  HWND hWnd = pShadow->GetSafeHwnd();
  ::SetWindowRgn(hWnd, nullptr, FALSE);
  const int s = GetThickness();
  CRect rc = bHorizontal ? CRect(rcOwner.left + s, rcOwner.bottom, rcOwner.right + s, rcOwner.bottom + s)
                         : CRect(rcOwner.right, rcOwner.top + s, rcOwner.right + s, rcOwner.bottom);
  ::SetWindowPos(hWnd, nullptr, rc.left, rc.top, rc.Width(), rc.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);

  // A submenu's strips run on under the strips of the menu it opened from.
  for (CXTPShadowWnd *pOther : m_shadows) {
    if (pOther->m_bHorizontal == bHorizontal) continue;
    CRect rcOther = pOther->GetWindowRectangle();
    if (bHorizontal && rc.left == rcOther.right - 1 && rc.top > rcOther.top && rc.bottom < rcOther.bottom) {
      rc.left -= 2 * rcOther.Width() + 1;
    } else if (!bHorizontal && rc.top == rcOther.bottom - 1 && rc.right > rcOther.left &&
               rc.right < rcOther.right) {
      rc.top -= 2 * rcOther.Height();
    } else {
      continue;
    }
    ::SetWindowPos(hWnd, nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  }

  if (bThemeShadow) pShadow->ExcludeRect(rcExclude);
  // No strip covers a popup, its own owner included.
  std::vector<HWND> owners;
  for (CXTPShadowWnd *pOther : m_shadows) owners.push_back(pOther->m_hWndOwner);
  owners.push_back(hWndOwner);
  for (HWND hOwner : owners) {
    CRect rcCover;
    if (hOwner && ::GetWindowRect(hOwner, &rcCover)) pShadow->ExcludeRect(rcCover);
  }

  m_shadows.push_back(pShadow);
  ::SetWindowPos(hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  XTPHookManager()->SetHook(hWndOwner, pShadow);
}

void CXTPShadowsManager::DestroyShadow(CXTPShadowWnd *pShadow) {
  auto it = std::find(m_shadows.begin(), m_shadows.end(), pShadow);
  ASSERT(it != m_shadows.end());
  if (it == m_shadows.end()) return;
  m_shadows.erase(it);
  if (pShadow->m_hWndOwner) XTPHookManager()->RemoveHook(pShadow->m_hWndOwner, pShadow);
  if (pShadow->GetSafeHwnd()) ::ShowWindow(pShadow->GetSafeHwnd(), SW_HIDE);
  pShadow->m_hWndOwner = nullptr;
  pShadow->DestroyWindow();
  delete pShadow;
}

void CXTPShadowsManager::RemoveShadow(HWND hWndOwner) {
  for (auto it = m_shadows.begin(); it != m_shadows.end();) {
    CXTPShadowWnd *pShadow = *it++;
    if (pShadow->m_hWndOwner == hWndOwner) DestroyShadow(pShadow);
  }
}

CXTPShadowsManager *XTPShadowsManager() {
  static CXTPShadowsManager manager;
  return &manager;
}
