#include "XTPReBar.h"

#include "FrameWnd.h"
#include "WindowDc.h"
#include "XTPCommandBars.h"
#include "XTPDockBar.h"
#include "XTPToolBar.h"

IMPLEMENT_DYNAMIC(CXTPReBar, CControlBar)

BEGIN_MESSAGE_MAP(CXTPReBar, CControlBar)
ON_WM_PAINT()
ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
ON_NOTIFY_REFLECT(RBN_CHILDSIZE, OnChildSize)
END_MESSAGE_MAP()

namespace {
constexpr DWORD kGripperStyle = 0x400000;
}

BOOL CXTPReBar::Create(CWnd *pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_COOL_CLASSES};
  ::InitCommonControlsEx(&icc);
  m_dwStyle = dwStyle & CBRS_ALL;
  const DWORD dwWindowStyle = (dwStyle & ~CBRS_ALL) | dwCtrlStyle | CCS_NODIVIDER | CCS_NOPARENTALIGN;
  return CWnd::CreateEx(0, REBARCLASSNAMEW, nullptr, dwWindowStyle, 0, 0, 0, 0, pParentWnd->GetSafeHwnd(),
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)));
}

int CXTPReBar::GetBandCount() const {
  return static_cast<int>(::SendMessageW(m_hWnd, RB_GETBANDCOUNT, 0, 0));
}

BOOL CXTPReBar::AddToolBar(CXTPToolBar *pToolBar, DWORD dwBandStyle) {
  if (pToolBar == nullptr || pToolBar->GetSafeHwnd() == nullptr || m_hWnd == nullptr) return FALSE;
  const CSize size = pToolBar->CalcDockedLayout(32000, LM_COMMIT | LM_HORZDOCK | LM_HORZ);
  pToolBar->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  if (CXTPDockBar *pDockBar = CXTPDockBar::FromBar(pToolBar)) {
    pDockBar->RemoveCommandBar(pToolBar);
    pToolBar->SetFlags(0);
    pToolBar->ModifyBarStyle(kGripperStyle, 0);
  }
  // The structure's size as this build has it: the 64-bit one is larger
  // than the 80 bytes of the 32-bit one, and a wrong size is refused.
  REBARBANDINFOW band = {};
  band.cbSize = sizeof(band);
  band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_ID;
  band.fStyle = dwBandStyle;
  band.hwndChild = pToolBar->GetSafeHwnd();
  band.cxMinChild = 0;
  band.cyMinChild = size.cy;
  band.cx = size.cx;
  band.wID = static_cast<UINT>(pToolBar->GetBarID());
  if (!::SendMessageW(m_hWnd, RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band)))
    return FALSE;
  if (CFrameWnd *pFrame = dynamic_cast<CFrameWnd *>(GetParent())) pFrame->RecalcLayout();
  return TRUE;
}

CXTPToolBar *CXTPReBar::GetToolBar(int nBand) const {
  REBARBANDINFOW band = {};
  band.cbSize = sizeof(band);
  band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_SIZE;
  if (!::SendMessageW(m_hWnd, RB_GETBANDINFOW, static_cast<WPARAM>(nBand), reinterpret_cast<LPARAM>(&band)))
    return nullptr;
  return dynamic_cast<CXTPToolBar *>(CWnd::FromHandlePermanent(band.hwndChild));
}

int CXTPReBar::FindBand(const CXTPToolBar *pToolBar) const {
  for (int i = GetBandCount() - 1; i >= 0; i--)
    if (GetToolBar(i) == pToolBar) return i;
  return -1;
}

void CXTPReBar::DeleteToolBar(CXTPToolBar *pToolBar) {
  const int nBand = FindBand(pToolBar);
  if (nBand >= 0) ::SendMessageW(m_hWnd, RB_DELETEBAND, static_cast<WPARAM>(nBand), 0);
}

LRESULT CXTPReBar::OnSizeParent(WPARAM, LPARAM lParam) {
  auto *pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS *>(lParam);
  if (!(GetStyle() & WS_VISIBLE)) return 0;
  const int nWidth = pLayout->rect.right - pLayout->rect.left;
  // The control's height for the frame's width: the bands wrap to it.
  CRect rcFit(0, 0, nWidth, 0);
  ::MoveWindow(m_hWnd, pLayout->rect.left, pLayout->rect.top, nWidth, 400, FALSE);
  const int nHeight = static_cast<int>(::SendMessageW(m_hWnd, RB_GETBARHEIGHT, 0, 0));
  CRect rc(pLayout->rect.left, pLayout->rect.top, pLayout->rect.right, pLayout->rect.top + nHeight);
  pLayout->rect.top += nHeight;
  if (pLayout->hDWP)
    pLayout->hDWP = ::DeferWindowPos(pLayout->hDWP, m_hWnd, nullptr, rc.left, rc.top, rc.Width(), rc.Height(),
                                     SWP_NOZORDER | SWP_NOACTIVATE);
  return 0;
}

void CXTPReBar::OnChildSize(NMHDR *pNMHDR, LRESULT *pResult) {
  OnHeightChange(pNMHDR, pResult);
}

void CXTPReBar::OnHeightChange(NMHDR * /*pNMHDR*/, LRESULT *pResult) {
  // A band's toolbar changed its size, and the bands' height with it: the
  // frame lays out again around the control (a layout already running is
  // not started twice).
  if (pResult) *pResult = 0;
  if (CFrameWnd *pFrame = dynamic_cast<CFrameWnd *>(GetParent())) pFrame->RecalcLayout();
}

void CXTPReBar::OnPaint() {
  CPaintDC paintDC(this);
  CRect rcClient;
  GetClientRect(&rcClient);
  // Drawn off screen, then copied: the control's own painting flickers.
  HDC hMemDC = ::CreateCompatibleDC(paintDC.GetSafeHdc());
  HBITMAP hBitmap = ::CreateCompatibleBitmap(paintDC.GetSafeHdc(), rcClient.Width(), rcClient.Height());
  HGDIOBJ hOld = ::SelectObject(hMemDC, hBitmap);
  ::FillRect(hMemDC, &rcClient, ::GetSysColorBrush(COLOR_BTNFACE));
  DefWindowProc(WM_ERASEBKGND, reinterpret_cast<WPARAM>(hMemDC), 0);
  DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(hMemDC), 0);
  ::BitBlt(paintDC.GetSafeHdc(), 0, 0, rcClient.Width(), rcClient.Height(), hMemDC, 0, 0, SRCCOPY);
  ::SelectObject(hMemDC, hOld);
  ::DeleteObject(hBitmap);
  ::DeleteDC(hMemDC);
}

// --- The command bars' side ------------------------------------------------

namespace {
CXTPReBar *SiteReBar(CWnd *pSite) {
  if (pSite == nullptr || pSite->GetSafeHwnd() == nullptr) return nullptr;
  return dynamic_cast<CXTPReBar *>(CWnd::FromHandlePermanent(::GetDlgItem(pSite->GetSafeHwnd(), kReBarId)));
}
} // namespace

void CXTPCommandBars::OnToolBarAdded(CXTPToolBar *pBar) {
  if (CXTPReBar *pReBar = SiteReBar(m_pSite)) pReBar->AddToolBar(pBar, RBBS_BREAK | RBBS_GRIPPERALWAYS);
}

void CXTPCommandBars::OnToolBarRemoved(CXTPToolBar *pBar) {
  if (CXTPReBar *pReBar = SiteReBar(m_pSite)) pReBar->DeleteToolBar(pBar);
}
