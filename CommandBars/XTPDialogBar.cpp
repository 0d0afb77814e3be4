#include "XTPDialogBar.h"

#include <algorithm>

#include "XTPCommandBars.h"
#include "XTPControls.h"
#include "XTPDockContext.h"
#include "XTPDrawHelpers.h"
#include "XTPPaintManager.h"

namespace {

// The caption's buttons are this high, the close button this wide.
constexpr int kCaptionButton = 16;
// Each side of the window this wide resizes it.
constexpr int kEdge = 3;

// The caption's font: the paint manager's caption font, the same however
// the bar is docked (never the vertical font of a bar at a side, since the
// caption row reads across).
CFont *CaptionFont(CXTPPaintManager *pPaintManager) {
  if (pPaintManager == nullptr) return nullptr;
  CFont *pFont = &pPaintManager->m_fontSmCaption;
  return pFont->GetSafeHandle() ? pFont : pPaintManager->GetRegularFont();
}

// Selects the caption's font into a screen DC for the length of a measurement.
class MeasureDC {
public:
  explicit MeasureDC(CXTPCommandBar *pBar) : m_hDC(::GetDC(nullptr)) {
    CFont *pFont = CaptionFont(pBar->GetPaintManager());
    m_hOldFont = pFont ? ::SelectObject(m_hDC, pFont->GetSafeHandle()) : nullptr;
  }
  ~MeasureDC() {
    if (m_hOldFont) ::SelectObject(m_hDC, m_hOldFont);
    ::ReleaseDC(nullptr, m_hDC);
  }
  CDC *Get() const { return CDC::FromHandle(m_hDC); }

private:
  HDC m_hDC;
  HGDIOBJ m_hOldFont;
};

} // namespace

// ---- the caption's buttons

CXTPDialogBarCaptionPopup::CXTPDialogBarCaptionPopup() {
  m_controlType = xtpControlPopup;
  // Neither the command update nor a customise drag touches the caption.
  m_dwFlags = xtpFlagManualUpdate | xtpFlagNoMovable | xtpFlagSkipFocus;
}

void CXTPDialogBarCaptionPopup::Draw(CDC *pDC) {
  CXTPPaintManager *pPaintManager = GetPaintManager();
  if (!pPaintManager) return;
  const CRect rc = GetRect();
  const BOOL bEnabled = GetEnabled();
  // Button text, unless the theme gives the state a colour of its own (hot
  // and pressed captions take the theme's hot and pressed text colours).
  pDC->SetTextColor(pPaintManager->GetPaintColor(COLOR_BTNTEXT));
  // The caption row is horizontal however the bar stands.
  if (bEnabled) pPaintManager->DrawControlEntry(pDC, this, xtpBarTop);
  pDC->SetBkMode(TRANSPARENT);
  CXTPFontDC font(pDC, CaptionFont(pPaintManager));
  CRect rcText(rc.left + 2, rc.top, rc.right - (bEnabled ? 15 : 2), rc.bottom);
  ::DrawTextW(pDC->GetSafeHdc(), GetCaption(), -1, &rcText,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (bEnabled) {
    const int x = rc.right - 9, y = rc.CenterPoint().y;
    pPaintManager->Triangle(pDC, CPoint(x, y + 2), CPoint(x + 4, y - 2), CPoint(x - 4, y - 2),
                            pDC->GetTextColor());
  }
}

void CXTPDialogBarCloseButton::Draw(CDC *pDC) {
  CXTPPaintManager *pPaintManager = GetPaintManager();
  if (!pPaintManager) return;
  const CRect rc = GetRect();
  pPaintManager->DrawRectangle(pDC, rc, GetEnabled(), GetSelected(), GetPressed(), FALSE, FALSE, xtpBarTop);
  CXTPFontDC font(pDC, &pPaintManager->m_fontMarlettIcon);
  pDC->SetTextColor(pPaintManager->GetPaintColor(COLOR_BTNTEXT));
  pDC->SetBkMode(TRANSPARENT);
  CRect rcGlyph = rc;
  ::DrawTextW(pDC->GetSafeHdc(), L"r", 1, &rcGlyph, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

IMPLEMENT_DYNCREATE(CXTPDialogBarPopupBar, CXTPPopupBar)

void CXTPDialogBarPopupBar::UpdateFlags() {
  CXTPPopupBar::UpdateFlags();
  // Down from the caption, its right edge under the caption's right edge,
  // however the bar is docked (the caption row is always horizontal).
  m_nPopupFlags = xtpPopupLeft | xtpPopupDown;
  if (m_pControlPopup) m_ptPopup = CPoint(m_rcExclude.left, m_rcExclude.bottom);
}

// ---- the bar

IMPLEMENT_DYNCREATE(CXTPDialogBar, CXTPToolBar)

BEGIN_MESSAGE_MAP(CXTPDialogBar, CXTPToolBar)
ON_WM_NCHITTEST()
ON_WM_SIZE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

CXTPDialogBar::CXTPDialogBar() {
  m_pPopupBar = static_cast<CXTPDialogBarPopupBar *>(RUNTIME_CLASS(CXTPDialogBarPopupBar)->CreateObject());
}

CXTPDialogBar::~CXTPDialogBar() {
  if (m_pPopupBar) {
    if (m_pPopupBar->GetSafeHwnd()) m_pPopupBar->DestroyWindow();
    m_pPopupBar->InternalRelease();
  }
}

void CXTPDialogBar::SetChild(CWnd *pWnd) {
  SetChild(pWnd ? pWnd->GetSafeHwnd() : nullptr);
}

void CXTPDialogBar::SetChild(HWND hWnd) {
  m_hWndChild = hWnd && ::IsWindow(hWnd) ? hWnd : nullptr;
  if (!m_hWndChild || !m_hWnd) return;
  if (::GetParent(m_hWndChild) != m_hWnd) ::SetParent(m_hWndChild, m_hWnd);
  CRect rc;
  GetClientRect(&rc);
  PlaceChild(rc.Width(), rc.Height());
}

void CXTPDialogBar::SetCaption(LPCTSTR lpszCaption) {
  m_strCaption = lpszCaption;
  DelayLayout();
}

void CXTPDialogBar::SetCaptionVisible(BOOL bVisible) {
  m_bCaptionVisible = bVisible;
  DelayLayout();
}

void CXTPDialogBar::EnableCaptionPopup(BOOL bEnable) {
  m_bCaptionPopup = bEnable;
  DelayLayout();
}

void CXTPDialogBar::SetMargins(CRect rcMargins) {
  m_rcMargins = rcMargins;
  DelayLayout();
}

int CXTPDialogBar::HitTestCaption(CPoint point) const {
  if (!m_bCaptionVisible) return -2;
  const CRect rcClient = GetBarClientRect();
  const CRect rcCaption(m_rcMargins.left, m_rcMargins.top, rcClient.right - m_rcMargins.right,
                        m_nCaptionHeight);
  return rcCaption.PtInRect(point) ? 1 : -2;
}

CSize CXTPDialogBar::CalcDynamicLayout(int /*nLength*/, DWORD dwMode) {
  return CalcLayout(32000, dwMode, m_szFloatingClient);
}

CSize CXTPDialogBar::CalcDockedLayout(int nLength, DWORD dwMode) {
  return CalcLayout(nLength, dwMode, m_szDockingClient);
}

CSize CXTPDialogBar::CalcLayout(int nLength, DWORD dwMode, CSize szClient) {
  CSize sz(szClient.cx + m_rcMargins.left + m_rcMargins.right,
           szClient.cy + m_rcMargins.top + m_rcMargins.bottom);
  if (!m_bCaptionVisible) {
    // The child then starts at the top margin.
    m_nCaptionHeight = m_rcMargins.top;
    if (CXTPControl *pPopup = GetCaptionPopup()) pPopup->SetHideFlags(xtpHideGeneric);
    if (CXTPControl *pClose = GetCloseButton()) pClose->SetHideFlags(xtpHideGeneric);
    return sz;
  }
  {
    MeasureDC dc(this);
    CXTPPaintManager *pPaintManager = GetPaintManager();
    m_szGripper = pPaintManager ? pPaintManager->DrawDialogBarGripper(dc.Get(), this, FALSE) : CSize(6, 22);
  }
  m_nCaptionHeight = m_szGripper.cy + m_rcMargins.top;
  sz.cy += m_nCaptionHeight;
  if (dwMode & LM_STRETCH) {
    if (dwMode & LM_VERTDOCK)
      sz.cy = std::max<LONG>(sz.cy, nLength);
    else
      sz.cx = std::max<LONG>(sz.cx, nLength);
    if (dwMode & LM_HORZ)
      sz.cx = std::min<LONG>(sz.cx, nLength);
    else
      sz.cy = std::min<LONG>(sz.cy, nLength);
  }
  PlaceCaptionControls(sz.cx);
  return sz;
}

CXTPDialogBarCaptionPopup *CXTPDialogBar::GetCaptionPopup() const {
  return dynamic_cast<CXTPDialogBarCaptionPopup *>(m_pControls->FindControl(XTP_ID_DIALOGBAR_CAPTION));
}

CXTPControl *CXTPDialogBar::GetCloseButton() const {
  return dynamic_cast<CXTPDialogBarCloseButton *>(m_pControls->FindControl(XTP_ID_TOOLBAR_HIDE));
}

void CXTPDialogBar::PlaceCaptionControls(int cx) {
  if (!m_bCaptionVisible) return;
  const int nRow = GetCaptionRowHeight();
  const int nButtonTop = m_rcMargins.top + nRow / 2 - kCaptionButton / 2;
  int nRight = cx - m_rcMargins.right;
  CXTPControl *pClose = GetCloseButton();
  if (m_bCloseable) {
    if (!pClose)
      pClose = m_pControls->AddControl(new CXTPDialogBarCloseButton, XTP_ID_TOOLBAR_HIDE, L"", -1, TRUE);
    pClose->SetHideFlags(0);
    pClose->SetRect(CRect(nRight - kCaptionButton, nButtonTop, nRight, nButtonTop + kCaptionButton));
    nRight -= kCaptionButton;
  } else if (pClose) {
    pClose->SetHideFlags(xtpHideGeneric);
  }
  CXTPDialogBarCaptionPopup *pPopup = GetCaptionPopup();
  if (!pPopup) {
    pPopup = new CXTPDialogBarCaptionPopup;
    m_pControls->AddControl(pPopup, XTP_ID_DIALOGBAR_CAPTION, L"", -1, TRUE);
    pPopup->SetCommandBar(m_pPopupBar);
  }
  m_pPopupBar->SetCommandBars(m_pCommandBars);
  pPopup->SetEnabled(m_bCaptionPopup && m_pPopupBar->GetControlCount() > 0);
  pPopup->SetHideFlags(0);
  pPopup->SetRect(
      CRect(m_rcMargins.left + m_szGripper.cx, nButtonTop, std::max(nRight, 0), nButtonTop + kCaptionButton));
  pPopup->SetCaption(m_strTitle.IsEmpty() ? m_strCaption : m_strTitle);
}

void CXTPDialogBar::PlaceChild(int cx, int cy) {
  HWND hWndChild = GetChild();
  if (!hWndChild) return;
  const int nTop = m_bCaptionVisible ? m_nCaptionHeight : m_rcMargins.top;
  ::SetWindowPos(hWndChild, nullptr, m_rcMargins.left, nTop,
                 std::max<int>(0, cx - m_rcMargins.left - m_rcMargins.right),
                 std::max<int>(0, cy - nTop - m_rcMargins.bottom), SWP_NOZORDER | SWP_NOACTIVATE);
  ::InvalidateRect(hWndChild, nullptr, FALSE);
}

void CXTPDialogBar::OnSize(UINT nType, int cx, int cy) {
  CXTPToolBar::OnSize(nType, cx, cy);
  // The dock row may have given the bar another width than it measured.
  PlaceCaptionControls(cx);
  PlaceChild(cx, cy);
  Invalidate(FALSE);
}

int CXTPDialogBar::HitTestEdges(const CRect &rcWindow, CPoint point, XTPBarPosition position, DWORD dwFlags) {
  CRect rc = rcWindow;
  rc.DeflateRect(kEdge, kEdge);
  const BOOL bAbove = point.y < rc.top, bBelow = point.y >= rc.bottom;
  const BOOL bLeft = point.x < rc.left, bRight = point.x >= rc.right;
  if (position == xtpBarFloating) {
    if (bAbove) return bLeft ? HTTOPLEFT : bRight ? HTTOPRIGHT : HTTOP;
    if (bBelow) return bLeft ? HTBOTTOMLEFT : bRight ? HTBOTTOMRIGHT : HTBOTTOM;
    if (bLeft) return HTLEFT;
    if (bRight) return HTRIGHT;
    return 0;
  }
  // Docked, the edge that faces the frame's middle resizes; a bar that
  // fills its row leaves the edge along the row to the row.
  const BOOL bFullRow = (dwFlags & kFlagFullRow) != 0;
  const BOOL bVertical = position == xtpBarLeft || position == xtpBarRight;
  if (position == xtpBarBottom) {
    if (point.y <= rc.top) return HTTOP;
  } else if (bBelow && !(bFullRow && bVertical)) {
    return HTBOTTOM;
  }
  if (position == xtpBarRight) {
    if (point.x <= rc.left) return HTLEFT;
  } else if (bRight && !(bFullRow && !bVertical)) {
    return HTRIGHT;
  }
  return 0;
}

LRESULT CXTPDialogBar::OnNcHitTest(CPoint point) {
  // A bar that may not be resized offers no edge, floating or docked.
  if (!m_bResizable) return CXTPCommandBar::OnNcHitTest(point);
  CRect rcWindow;
  GetWindowRect(&rcWindow);
  const int nCode = HitTestEdges(rcWindow, point, m_barPosition, m_dwFlags);
  return nCode ? nCode : CXTPToolBar::OnNcHitTest(point);
}

BOOL CXTPDialogBar::Resize(const CRect &rcWindow, int nHitTest) {
  if (!m_bResizable || rcWindow.Width() < m_szMin.cx || rcWindow.Height() < m_szMin.cy) return FALSE;
  const CSize szClient(rcWindow.Width() - m_rcMargins.left - m_rcMargins.right,
                       rcWindow.Height() - m_rcMargins.top - m_rcMargins.bottom -
                           (m_bCaptionVisible ? m_nCaptionHeight : 0));
  if (m_barPosition != xtpBarFloating) {
    if (nHitTest == HTLEFT || nHitTest == HTRIGHT)
      m_szDockingClient.cx = szClient.cx;
    else
      m_szDockingClient.cy = szClient.cy;
    if (m_pSite) m_pSite->RecalcFrameLayout(this);
    return TRUE;
  }
  m_szFloatingClient = szClient;
  CalcDynamicLayout(0, LM_HORZ | LM_COMMIT);
  if (m_hWnd) {
    SetWindowPos(nullptr, rcWindow.left, rcWindow.top, rcWindow.Width(), rcWindow.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
  return TRUE;
}

void CXTPDialogBar::OnLButtonDown(UINT nFlags, CPoint point) {
  // Only the caption row drags the bar; the margins round the child do not.
  if (HitTestCaption(point) != 1 && m_pControls->HitTest(point) == nullptr) {
    CXTPCommandBar::OnLButtonDown(nFlags, point);
    return;
  }
  CXTPToolBar::OnLButtonDown(nFlags, point);
}

void CXTPDialogBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
  if (HitTestCaption(point) != 1 && m_pControls->HitTest(point) == nullptr) {
    CXTPCommandBar::OnLButtonDblClk(nFlags, point);
    return;
  }
  CXTPToolBar::OnLButtonDblClk(nFlags, point);
}

void CXTPDialogBar::Copy(CXTPCommandBar *pCommandBar, BOOL bRecursive) {
  CXTPToolBar::Copy(pCommandBar, bRecursive);
  if (auto *pSource = dynamic_cast<CXTPDialogBar *>(pCommandBar)) {
    m_rcMargins = pSource->m_rcMargins;
    m_bResizable = pSource->m_bResizable;
    m_szMin = pSource->m_szMin;
    m_bCaptionVisible = pSource->m_bCaptionVisible;
    m_bCaptionPopup = pSource->m_bCaptionPopup;
    m_szDockingClient = pSource->m_szDockingClient;
    m_szFloatingClient = pSource->m_szFloatingClient;
    m_strCaption = pSource->m_strCaption;
  }
}

CXTPCommandBar *CXTPDialogBar::Clone(BOOL bRecursive) {
  auto *pBar = static_cast<CXTPDialogBar *>(RUNTIME_CLASS(CXTPDialogBar)->CreateObject());
  pBar->Copy(this, bRecursive);
  return pBar;
}
