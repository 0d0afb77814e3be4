#include "XTButton.h"

#include "XTGlobal.h"
#include "XTMemDC.h"
#include "XTPDrawHelpers.h"
#include "XTPResourceManager.h"

IMPLEMENT_DYNAMIC(CXTButton, CButton)

BEGIN_MESSAGE_MAP(CXTButton, CButton)
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_TIMER()
ON_WM_LBUTTONDBLCLK()
ON_WM_CREATE()
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

namespace {
const UINT_PTR kHotTimer = 1;
} // namespace

CXTButton::CXTButton() : CXTThemeManagerStyleHost(RUNTIME_CLASS(CXTButtonThemeFactory)) {}

CXTButton::~CXTButton() = default;

CXTButtonTheme *CXTButton::GetTheme() const {
  return static_cast<CXTButtonTheme *>(GetSuitableTheme());
}

CXTButtonTheme *CXTButton::CurrentFactoryTheme() {
  CXTThemeManagerStyleFactory *pFactory =
      XTGetThemeManager()->FindFactory(RUNTIME_CLASS(CXTButtonThemeFactory));
  return pFactory ? static_cast<CXTButtonTheme *>(pFactory->GetSafeTheme()) : nullptr;
}

CString CXTButton::IconLoadFailure(UINT nID) {
  CString strText;
  strText.Format(L"Failed to load Icon resource %u.\n", nID);
  return strText;
}

void CXTButton::RedrawIfCreated(BOOL bRedraw) {
  if (bRedraw && ::IsWindow(m_hWnd)) Invalidate(FALSE);
}

// ---- images

BOOL CXTButton::SetIcon(CSize size, UINT nID, UINT nHotID, BOOL bRedraw) {
  ReleaseImages();
  LPCTSTR lpszName = MAKEINTRESOURCE(nID);
  HICON hIcon = static_cast<HICON>(::LoadImage(AfxFindResourceHandle(lpszName, RT_GROUP_ICON), lpszName,
                                               IMAGE_ICON, size.cx, size.cy, LR_DEFAULTCOLOR));
  if (!hIcon) {
    TRACE(IconLoadFailure(nID).GetString());
    return FALSE;
  }
  HICON hIconHot = nullptr;
  if (nHotID) {
    LPCTSTR lpszHot = MAKEINTRESOURCE(nHotID);
    hIconHot = static_cast<HICON>(::LoadImage(AfxFindResourceHandle(lpszHot, RT_GROUP_ICON), lpszHot,
                                              IMAGE_ICON, size.cx, size.cy, LR_DEFAULTCOLOR));
    if (!hIconHot) {
      TRACE0("Failed to load Icon resource.\n");
      ::DestroyIcon(hIcon);
      return FALSE;
    }
  }
  const BOOL bResult = SetIcon(size, hIcon, hIconHot, bRedraw);
  ::DestroyIcon(hIcon);
  if (hIconHot) ::DestroyIcon(hIconHot);
  return bResult;
}

BOOL CXTButton::SetIcon(CSize size, LPCTSTR lpszID, LPCTSTR lpszHotID, BOOL bRedraw) {
  return SetIcon(size, static_cast<UINT>(LOWORD(reinterpret_cast<ULONG_PTR>(lpszID))),
                 static_cast<UINT>(LOWORD(reinterpret_cast<ULONG_PTR>(lpszHotID))), bRedraw);
}

BOOL CXTButton::SetIcon(CSize size, HICON hIcon, HICON hIconHot, BOOL bRedraw) {
  ASSERT(hIcon);
  if (!hIcon) return FALSE;
  if (size.cx == 0 && size.cy == 0) size = CXTPIconHandle::GetExtent(hIcon);
  m_sizeImage = size;
  m_pIcon = std::make_unique<CXTPImageManagerIcon>(0, size.cx, size.cy);
  // The icon object keeps copies of its own.
  m_pIcon->SetIcon(CXTPIconHandle(hIcon));
  if (hIconHot) m_pIcon->SetHotIcon(CXTPIconHandle(hIconHot));
  RedrawIfCreated(bRedraw);
  return TRUE;
}

BOOL CXTButton::SetBitmap(CSize size, UINT nID, BOOL bRedraw) {
  ReleaseImages();
  if (CXTPImageManager::IsAlphaBitmapResource(nID)) {
    HBITMAP hBitmap = CXTPImageManager::LoadAlphaBitmap(nID);
    if (!hBitmap) return FALSE;
    BITMAP bm = {};
    ::GetObject(hBitmap, sizeof(bm), &bm);
    if (size.cx == 0 && size.cy == 0) size = CSize(bm.bmWidth, std::abs(bm.bmHeight));
    m_pIcon = std::make_unique<CXTPImageManagerIcon>(0, size.cx, size.cy);
    m_pIcon->SetIcon(CXTPIconHandle(hBitmap));
    ::DeleteObject(hBitmap);
    m_sizeImage = size;
    RedrawIfCreated(bRedraw);
    return TRUE;
  }
  CBitmap bitmap;
  if (!XTPGetResourceManager()->LoadBitmap(&bitmap, nID)) return FALSE;
  HICON hIcon = BitmapToIcon(static_cast<HBITMAP>(bitmap));
  if (!hIcon) return FALSE;
  const BOOL bResult = SetIcon(size, hIcon, nullptr, bRedraw);
  ::DestroyIcon(hIcon);
  return bResult;
}

void CXTButton::ReleaseImages() {
  m_pIcon.reset();
}

BOOL CXTButton::PlaceImageAndText(CPoint ptImage, CPoint ptText, BOOL bRedraw) {
  m_ptImage = ptImage;
  m_ptText = ptText;
  m_bUserPosition = TRUE;
  RedrawIfCreated(bRedraw);
  return TRUE;
}

// ---- style and theme

DWORD CXTButton::SetButtonStyleBits(DWORD dwxStyle, BOOL bRedraw) {
  const DWORD dwOld = m_dwxStyle;
  m_dwxStyle = dwxStyle;
  if (dwxStyle & xtButtonOffice)
    SetTheme(new CXTButtonThemeOffice(FALSE));
  else if (dwxStyle & xtButtonFlat)
    SetTheme(new CXTButtonTheme);
  else
    SetTheme(nullptr);
  RedrawIfCreated(bRedraw);
  return dwOld;
}

DWORD CXTButton::GetButtonStyleBits() {
  return m_dwxStyle;
}

BOOL CXTButton::HasTheme() {
  return GetTheme() != nullptr;
}

COLORREF CXTButton::ApplyButtonColors(COLORREF clrFace, COLORREF clrHighlight, COLORREF clrShadow,
                                      COLORREF clrText) {
  if (!HasTheme()) return 0;
  GetTheme()->ApplyButtonColors(clrFace, clrHighlight, clrShadow, clrText);
  return 1;
}

COLORREF CXTButton::SetFaceColor(COLORREF clr) {
  if (!HasTheme()) return 0;
  GetTheme()->SetFaceColor(clr);
  return 1;
}

COLORREF CXTButton::GetFaceColor() {
  return HasTheme() ? GetTheme()->GetFaceColor() : XTGetAuxData().clr3DFace;
}

COLORREF CXTButton::SetHighlightColor(COLORREF clr) {
  if (!HasTheme()) return 0;
  GetTheme()->SetHighlightColor(clr);
  return 1;
}

COLORREF CXTButton::SetShadowColor(COLORREF clr) {
  if (!HasTheme()) return 0;
  GetTheme()->SetShadowColor(clr);
  return 1;
}

COLORREF CXTButton::SetLabelColor(COLORREF clr) {
  if (!HasTheme()) return 0;
  GetTheme()->SetLabelColor(clr);
  return 1;
}

COLORREF CXTButton::SetOfficeStateColors(COLORREF clrHiliteShadow, COLORREF clrHot, COLORREF clrPushed) {
  auto *pOffice = dynamic_cast<CXTButtonThemeOffice *>(GetTheme());
  if (!pOffice) return 0;
  pOffice->SetHighlightColor(clrHiliteShadow);
  pOffice->SetShadowColor(clrHiliteShadow);
  pOffice->SetBackHiliteColor(clrHot);
  pOffice->SetBackPushedColor(clrPushed);
  return 1;
}

void CXTButton::FlipIconVisibility() {
  CXTButtonTheme *pTheme = GetTheme();
  if (!pTheme) return;
  pTheme->SetIconShown(!pTheme->IsIconShown());
  if (::IsWindow(m_hWnd)) Invalidate(FALSE);
}

HFONT CXTButton::ReplaceFont(HFONT hFont) {
  HFONT hOld = GetFontHandle();
  SetFont(hFont, TRUE);
  return hOld;
}

void CXTButton::GetWindowText(CString &strText, BOOL bRemoveAmpersand) {
  CWnd::GetWindowText(strText);
  if (bRemoveAmpersand) StripMnemonics(strText);
}

void CXTButton::SetChecked(BOOL bChecked) {
  if (m_bChecked == bChecked) return;
  m_bChecked = bChecked;
  if (::IsWindow(m_hWnd)) Invalidate(FALSE);
}

void CXTButton::OnThemeChanged() {
  if (::IsWindow(m_hWnd)) Invalidate(FALSE);
}

// ---- drawing and messages

void CXTButton::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  if (CXTButtonTheme *pTheme = GetTheme()) pTheme->DrawItem(lpDIS, this);
}

void CXTButton::MakeOwnerDrawn() {
  // Only the type bits change: or-ing BS_OWNERDRAW into them would turn a
  // radio button or group box into some other type.
  const DWORD dwStyle = GetStyle();
  if ((dwStyle & BS_TYPEMASK) != BS_OWNERDRAW) ::SetWindowLongW(m_hWnd, GWL_STYLE, OwnerDrawStyle(dwStyle));
}

void CXTButton::PreSubclassWindow() {
  CButton::PreSubclassWindow();
  MakeOwnerDrawn();
}

int CXTButton::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  const int nResult = CButton::OnCreate(lpCreateStruct);
  if (nResult != -1) MakeOwnerDrawn();
  return nResult;
}

BOOL CXTButton::TrackHotState() {
  CPoint pt;
  ::GetCursorPos(&pt);
  ScreenToClient(&pt);
  CRect rc;
  GetClientRect(&rc);
  if (!m_bPushed && rc.PtInRect(pt)) {
    CXTButtonTheme *pTheme = GetTheme();
    if (pTheme && pTheme->AllowsHotState(this) && !m_bPainted) {
      m_bHilite = TRUE;
      Invalidate(FALSE);
      m_bPainted = TRUE;
    }
    return TRUE;
  }
  KillTimer(kHotTimer);
  m_bHilite = FALSE;
  if (m_bPainted) Invalidate(FALSE);
  m_bPainted = FALSE;
  return FALSE;
}

void CXTButton::HoldHotState() {
  m_bHilite = TRUE;
  m_bPainted = TRUE;
  if (::IsWindow(m_hWnd)) Invalidate(FALSE);
}

void CXTButton::OnMouseMove(UINT nFlags, CPoint point) {
  CXTButtonTheme *pTheme = GetTheme();
  if (pTheme && pTheme->AllowsHotState(this)) {
    SetTimer(kHotTimer, 10);
    TrackHotState();
  }
  CButton::OnMouseMove(nFlags, point);
}

void CXTButton::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kHotTimer || TrackHotState()) CButton::OnTimer(nIDEvent);
}

void CXTButton::OnLButtonDown(UINT nFlags, CPoint point) {
  if (!m_bPushed) {
    m_bPushed = TRUE;
    Invalidate(FALSE);
  }
  CButton::OnLButtonDown(nFlags, point);
}

void CXTButton::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_bPushed) {
    m_bPushed = FALSE;
    Invalidate(FALSE);
  }
  CButton::OnLButtonUp(nFlags, point);
}

void CXTButton::OnLButtonDblClk(UINT nFlags, CPoint point) {
  // An owner-drawn button takes a double-click as a notification only: the
  // second press would be lost without this.
  CPoint pt;
  ::GetCursorPos(&pt);
  ScreenToClient(&pt);
  SendMessage(WM_LBUTTONDOWN, nFlags, MAKELPARAM(pt.x, pt.y));
  CButton::OnLButtonDblClk(nFlags, point);
}

BOOL CXTButton::OnEraseBkgnd(CDC *) {
  return FALSE;
}

void CXTButton::OnPaint() {
  PAINTSTRUCT ps;
  HDC hDC = ::BeginPaint(m_hWnd, &ps);
  CRect rc;
  GetClientRect(&rc);
  {
    CDC *pDC = CDC::FromHandle(hDC);
    CXTMemDC memDC(pDC, rc, XTPGetColor(COLOR_3DFACE));
    if (memDC.IsValid())
      DefWindowProc(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memDC.GetSafeHdc()), PRF_CLIENT);
    else
      DefWindowProc(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hDC), PRF_CLIENT);
  }
  ::EndPaint(m_hWnd, &ps);
}

void CXTButton::OnSysColorChange() {
  Default();
  if (CXTButtonTheme *pTheme = GetTheme()) pTheme->RefreshMetrics();
}
