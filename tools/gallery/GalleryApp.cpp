#include "GalleryApp.h"

#include "XTGlobal.h"

BEGIN_MESSAGE_MAP(CGalleryView, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CGalleryView::CGalleryView() : m_sections(MakeGallerySections()) {}

BOOL CGalleryView::Create(CWnd *pParent, UINT nID) {
  LOGFONTW lf = {};
  XTGetAuxData().fontBold.GetLogFont(&lf);
  m_fontTitle.CreateFontIndirect(&lf);
  LPCTSTR lpszClass = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW));
  if (!CWnd::Create(lpszClass, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), pParent, nID)) return FALSE;
  for (size_t i = 0; i < m_sections.size(); i++) m_sections[i]->Create(this, GetBodyRect(i));
  return TRUE;
}

CRect CGalleryView::GetBodyRect(size_t i) const {
  int y = kMargin;
  for (size_t j = 0; j < i; j++) y += kTitleHeight + m_sections[j]->GetHeight() + kGap;
  y += kTitleHeight;
  return CRect(kMargin, y, kWidth - kMargin, y + m_sections[i]->GetHeight());
}

void CGalleryView::KeepSections(const CString &strPrefix) {
  std::vector<std::unique_ptr<CGallerySection>> kept;
  for (auto &section : m_sections)
    if (CString(section->GetTitle()).Left(strPrefix.GetLength()) == strPrefix)
      kept.push_back(std::move(section));
  m_sections = std::move(kept);
}

int CGalleryView::GetNeededHeight() const {
  return m_sections.empty() ? kMargin : GetBodyRect(m_sections.size() - 1).bottom + kMargin;
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
  // Big enough for every section, whatever the frame's borders.
  CRect rcWindow(0, 0, CGalleryView::kWidth, pFrame->m_wndView.GetNeededHeight());
  ::AdjustWindowRectEx(&rcWindow, pFrame->GetStyle(), FALSE, pFrame->GetExStyle());
  pFrame->SetWindowPos(nullptr, 0, 0, rcWindow.Width(), rcWindow.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  pFrame->ShowWindow(SW_SHOW);
  pFrame->UpdateWindow();
  return TRUE;
}
