#include "GalleryApp.h"

#include "XTGlobal.h"
#include "XTPDrawHelpers.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CGalleryView, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_VSCROLL()
ON_WM_MOUSEWHEEL()
ON_WM_SIZE()
END_MESSAGE_MAP()

CGalleryView::CGalleryView() : m_sections(MakeGallerySections()) {}

BOOL CGalleryView::Create(CWnd *pParent, UINT nID) {
  LOGFONTW lf = {};
  XTGetAuxData().fontBold.GetLogFont(&lf);
  m_fontTitle.CreateFontIndirect(&lf);
  LPCTSTR lpszClass = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW));
  if (!CWnd::Create(lpszClass, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, CRect(0, 0, 0, 0), pParent, nID))
    return FALSE;
  for (size_t i = 0; i < m_sections.size(); i++) m_sections[i]->Create(this, GetBodyRect(i));
  return TRUE;
}

CRect CGalleryView::GetBodyRect(size_t i) const {
  int y = kMargin;
  for (size_t j = 0; j < i; j++) y += kTitleHeight + m_sections[j]->GetHeight() + kGap;
  y += kTitleHeight - m_nScrollY;
  return CRect(kMargin, y, kWidth - kMargin, y + m_sections[i]->GetHeight());
}

void CGalleryView::ScrollTo(int nY) {
  CRect rcClient;
  GetClientRect(&rcClient);
  nY = std::max(0, std::min(nY, GetNeededHeight() - rcClient.Height()));
  if (nY == m_nScrollY) return;
  ::ScrollWindowEx(m_hWnd, 0, m_nScrollY - nY, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE);
  m_nScrollY = nY;
  UpdateScrollBar();
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void CGalleryView::ScrollSectionIntoView(size_t i) {
  CRect rcClient;
  GetClientRect(&rcClient);
  CRect rcBody = GetBodyRect(i);
  int nTop = rcBody.top - kTitleHeight - kMargin;
  if (nTop < 0 || rcBody.bottom > rcClient.bottom) ScrollTo(m_nScrollY + nTop);
}

void CGalleryView::UpdateScrollBar() {
  CRect rcClient;
  GetClientRect(&rcClient);
  SCROLLINFO si = {sizeof(si), SIF_ALL, 0, GetNeededHeight() - 1, static_cast<UINT>(rcClient.Height()),
                   m_nScrollY, 0};
  ::SetScrollInfo(m_hWnd, SB_VERT, &si, TRUE);
}

void CGalleryView::OnVScroll(UINT nSBCode, UINT, CScrollBar *) {
  SCROLLINFO si = {sizeof(si), SIF_ALL};
  ::GetScrollInfo(m_hWnd, SB_VERT, &si);
  switch (nSBCode) {
  case SB_LINEUP:
    ScrollTo(m_nScrollY - 40);
    break;
  case SB_LINEDOWN:
    ScrollTo(m_nScrollY + 40);
    break;
  case SB_PAGEUP:
    ScrollTo(m_nScrollY - static_cast<int>(si.nPage));
    break;
  case SB_PAGEDOWN:
    ScrollTo(m_nScrollY + static_cast<int>(si.nPage));
    break;
  case SB_THUMBTRACK:
  case SB_THUMBPOSITION:
    ScrollTo(si.nTrackPos);
    break;
  default:
    break;
  }
}

BOOL CGalleryView::OnMouseWheel(UINT, short zDelta, CPoint) {
  ScrollTo(m_nScrollY - zDelta / WHEEL_DELTA * 80);
  return TRUE;
}

void CGalleryView::OnSize(UINT, int, int) {
  UpdateScrollBar();
  ScrollTo(m_nScrollY);
}

void CGalleryView::KeepSections(const CString &strPrefix) {
  std::vector<std::unique_ptr<CGallerySection>> kept;
  for (auto &section : m_sections)
    if (CString(section->GetTitle()).Left(strPrefix.GetLength()) == strPrefix)
      kept.push_back(std::move(section));
  m_sections = std::move(kept);
}

int CGalleryView::GetNeededHeight() const {
  return m_sections.empty() ? kMargin : GetBodyRect(m_sections.size() - 1).bottom + m_nScrollY + kMargin;
}

void CGalleryView::OnPaint() {
  CPaintDC dc(this);
  CRect rcClient;
  GetClientRect(&rcClient);
  dc.FillSolidRect(&rcClient, ::GetSysColor(COLOR_WINDOW));
  for (size_t i = 0; i < m_sections.size(); i++) {
    CRect rcBody = GetBodyRect(i);
    CRect rcTitle(rcBody.left, rcBody.top - kTitleHeight, rcBody.right, rcBody.top - 3);
    dc.FillSolidRect(&rcTitle, ::GetSysColor(COLOR_BTNFACE));
    CFont *pOld = dc.SelectObject(&m_fontTitle);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(::GetSysColor(COLOR_BTNTEXT));
    CRect rcText = rcTitle;
    rcText.left += 4;
    dc.DrawText(CString(m_sections[i]->GetTitle()), &rcText, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    dc.SelectObject(pOld);
    m_sections[i]->Draw(&dc, rcBody);
  }
}

BOOL CGalleryFrame::OnCreateClient(LPCREATESTRUCT, CCreateContext *) {
  return m_wndView.Create(this, AFX_IDW_PANE_FIRST);
}

BOOL CGalleryApp::InitInstance() {
  auto *pFrame = new CGalleryFrame;
  // "--section PREFIX" shows only the sections whose title starts so: the
  // whole gallery is taller than a screen.
  CString strCommand(m_lpCmdLine ? m_lpCmdLine : L"");
  strCommand.TrimLeft();
  if (strCommand.Left(10) == L"--section ") pFrame->m_wndView.KeepSections(strCommand.Mid(10));
  if (!pFrame->Create(nullptr, L"Toolkit Gallery - Quendal Varnoth", WS_OVERLAPPEDWINDOW,
                      CRect(0, 0, 100, 100)))
    return FALSE;
  m_pMainWnd = pFrame;
  // Big enough for every section, whatever the frame's borders, as far as
  // the screen allows; the view scrolls the rest.
  CRect rcWindow(0, 0, CGalleryView::kWidth + ::GetSystemMetrics(SM_CXVSCROLL),
                 pFrame->m_wndView.GetNeededHeight());
  ::AdjustWindowRectEx(&rcWindow, pFrame->GetStyle(), FALSE, pFrame->GetExStyle());
  int nHeight = std::min(static_cast<int>(rcWindow.Height()),
                         static_cast<int>(XTPMultiMonitor::GetWorkArea().Height()));
  pFrame->SetWindowPos(nullptr, 0, 0, rcWindow.Width(), nHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  pFrame->ShowWindow(SW_SHOW);
  pFrame->UpdateWindow();
  return TRUE;
}
