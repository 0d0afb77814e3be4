#include "GalleryApp.h"

#include "XTGlobal.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CGalleryView, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_LBN_SELCHANGE(CGalleryView::kListId, OnPageChange)
END_MESSAGE_MAP()

namespace {

std::vector<HWND> ChildWindows(const CWnd &parent) {
  std::vector<HWND> children;
  for (HWND hChild = ::GetWindow(parent.m_hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
    children.push_back(hChild);
  return children;
}

} // namespace

CGalleryView::CGalleryView() : m_sections(MakeGallerySections()) {}

BOOL CGalleryView::Create(CWnd *pParent, UINT nID) {
  LOGFONTW lf = {};
  XTGetAuxData().fontBold.GetLogFont(&lf);
  m_fontTitle.CreateFontIndirect(&lf);
  LPCTSTR lpszClass = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW));
  if (!CWnd::Create(lpszClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), pParent, nID))
    return FALSE;
  CRect rcList(kMargin, kMargin, kListWidth - kMargin, GetNeededSize().cy - kMargin);
  if (!m_wndPages.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                         rcList, this, kListId))
    return FALSE;
  m_wndPages.SetFont(&XTGetAuxData().font);
  for (size_t i = 0; i < m_sections.size(); i++) {
    m_wndPages.AddString(PageName(*m_sections[i]));
    std::vector<HWND> before = ChildWindows(*this);
    m_sections[i]->Create(this, GetBodyRect(i));
    std::vector<std::pair<HWND, bool>> made;
    for (HWND hChild : ChildWindows(*this))
      if (std::find(before.begin(), before.end(), hChild) == before.end())
        made.emplace_back(hChild, (::GetWindowLongW(hChild, GWL_STYLE) & WS_VISIBLE) != 0);
    m_sectionWindows.push_back(std::move(made));
  }
  ShowSection(0);
  return TRUE;
}

CString CGalleryView::PageName(const CGallerySection &section) {
  CString strName = section.GetTitle();
  int nColon = strName.Find(L':');
  return nColon > 0 ? strName.Left(nColon) : strName;
}

void CGalleryView::ShowSection(size_t i) {
  if (i >= m_sections.size()) return;
  m_nShown = i;
  for (size_t j = 0; j < m_sectionWindows.size(); j++)
    for (const auto &window : m_sectionWindows[j])
      ::ShowWindow(window.first, j == i && window.second ? SW_SHOWNA : SW_HIDE);
  if (m_wndPages.m_hWnd && static_cast<size_t>(m_wndPages.GetCurSel()) != i)
    m_wndPages.SetCurSel(static_cast<int>(i));
  if (m_hWnd) Invalidate();
}

void CGalleryView::OnPageChange() {
  int nPage = m_wndPages.GetCurSel();
  if (nPage >= 0) ShowSection(static_cast<size_t>(nPage));
}

CRect CGalleryView::GetBodyRect(size_t i) const {
  const int y = kMargin + kTitleHeight;
  return CRect(kListWidth, y, kListWidth + kWidth - kMargin, y + m_sections[i]->GetHeight());
}

CSize CGalleryView::GetNeededSize() const {
  int cy = 2 * kMargin + kTitleHeight;
  for (size_t i = 0; i < m_sections.size(); i++)
    cy = std::max(cy, static_cast<int>(GetBodyRect(i).bottom + kMargin));
  return CSize(kListWidth + kWidth, cy);
}

void CGalleryView::OnPaint() {
  CPaintDC dc(this);
  CRect rcClient;
  GetClientRect(&rcClient);
  dc.FillSolidRect(&rcClient, ::GetSysColor(COLOR_WINDOW));
  if (m_sections.empty()) return;
  CRect rcBody = GetBodyRect(m_nShown);
  CRect rcTitle(rcBody.left, rcBody.top - kTitleHeight, rcBody.right, rcBody.top - 3);
  dc.FillSolidRect(&rcTitle, ::GetSysColor(COLOR_BTNFACE));
  CFont *pOld = dc.SelectObject(&m_fontTitle);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(::GetSysColor(COLOR_BTNTEXT));
  CRect rcText = rcTitle;
  rcText.left += 4;
  dc.DrawText(CString(m_sections[m_nShown]->GetTitle()), &rcText, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  dc.SelectObject(pOld);
  m_sections[m_nShown]->Draw(&dc, rcBody);
}

BOOL CGalleryFrame::OnCreateClient(LPCREATESTRUCT, CCreateContext *) {
  return m_wndView.Create(this, AFX_IDW_PANE_FIRST);
}

BOOL CGalleryApp::InitInstance() {
  auto *pFrame = new CGalleryFrame;
  if (!pFrame->Create(nullptr, L"Toolkit Gallery - Quendal Varnoth", WS_OVERLAPPEDWINDOW,
                      CRect(0, 0, 100, 100)))
    return FALSE;
  m_pMainWnd = pFrame;
  // Big enough for every section, whatever the frame's borders.
  const CSize size = pFrame->m_wndView.GetNeededSize();
  CRect rcWindow(0, 0, size.cx, size.cy);
  ::AdjustWindowRectEx(&rcWindow, pFrame->GetStyle(), FALSE, pFrame->GetExStyle());
  pFrame->SetWindowPos(nullptr, 0, 0, rcWindow.Width(), rcWindow.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  const int nPage = m_lpCmdLine ? _wtoi(m_lpCmdLine) : 0;
  if (nPage > 0) pFrame->m_wndView.ShowSection(static_cast<size_t>(nPage));
  pFrame->ShowWindow(SW_SHOW);
  pFrame->UpdateWindow();
  return TRUE;
}
