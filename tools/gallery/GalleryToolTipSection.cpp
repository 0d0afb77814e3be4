#include "GalleryToolTipSection.h"

#include "XTGlobal.h"

BEGIN_MESSAGE_MAP(CGalleryTipBoard, CWnd)
ON_WM_PAINT()
END_MESSAGE_MAP()

CGalleryTipBoard::CGalleryTipBoard(int nStyle, LPCTSTR lpszLabel, LPCTSTR lpszTip, LPCTSTR lpszTitle,
                                   LPCTSTR lpszDescription)
    : m_pContext(std::make_unique<CXTPToolTipContext>()), m_strLabel(lpszLabel), m_strTip(lpszTip),
      m_strTitle(lpszTitle), m_strDescription(lpszDescription) {
  m_pContext->SetStyle(nStyle);
  m_pContext->ShowTitle(TRUE, 1);
  m_pContext->SetMaxTipWidth(260);
}

BOOL CGalleryTipBoard::Create(CWnd *pParent, const CRect &rc, UINT nID) {
  LPCTSTR lpszClass = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW));
  return CWnd::Create(lpszClass, L"", WS_CHILD | WS_VISIBLE, rc, pParent, nID);
}

INT_PTR CGalleryTipBoard::OnToolHitTest(CPoint point, TTTOOLINFOW *pTI) const {
  if (!ToolRect().PtInRect(point)) return -1;
  CXTPToolTipContext::FillToolDetails(pTI, m_hWnd, ToolRect(), ToolId(), m_strTip, m_strTitle,
                                      m_strDescription);
  // The gallery shows its tips even while another program is in front.
  pTI->uFlags |= TTF_ALWAYSTIP;
  return static_cast<INT_PTR>(ToolId());
}

LRESULT CGalleryTipBoard::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  m_pContext->FeedOwnerMessage(this, message, wParam, lParam);
  return CWnd::WindowProc(message, wParam, lParam);
}

void CGalleryTipBoard::OnPaint() {
  CPaintDC dc(this);
  CRect rcClient;
  GetClientRect(&rcClient);
  dc.FillSolidRect(&rcClient, ::GetSysColor(COLOR_WINDOW));
  CRect rcTool = ToolRect();
  dc.FillSolidRect(&rcTool, ::GetSysColor(COLOR_BTNFACE));
  dc.Draw3dRect(&rcTool, ::GetSysColor(COLOR_3DHILIGHT), ::GetSysColor(COLOR_3DSHADOW));
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(::GetSysColor(COLOR_BTNTEXT));
  CFont *pOld = dc.SelectObject(&XTGetAuxData().font);
  dc.DrawText(m_strLabel, &rcTool, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  if (pOld != nullptr) dc.SelectObject(pOld);
}

CGalleryToolTipsSection::CGalleryToolTipsSection() {
  m_boards[xtpToolTipStandard] = std::make_unique<CGalleryTipBoard>(
      xtpToolTipStandard, L"Standard", L"Fast File Search", L"Fast File Search",
      L"Looks for deleted entries in the folders of the drive.");
  m_boards[xtpToolTipBalloon] =
      std::make_unique<CGalleryTipBoard>(xtpToolTipBalloon, L"Balloon", L"Full Search", L"Full Search",
                                         L"Reads every cluster of the drive for lost files and folders.");
  m_boards[xtpToolTipOffice] =
      std::make_unique<CGalleryTipBoard>(xtpToolTipOffice, L"Framed", L"Save Scan Information", L"", L"");
  m_boards[xtpToolTipRTF] = std::make_unique<CGalleryTipBoard>(
      xtpToolTipRTF, L"Rich text",
      L"{\\rtf1{\\colortbl;\\red0\\green96\\blue0;\\red160\\green0\\blue0;}"
      L"{\\b report.doc}\\par Grade: {\\cf1\\b good} \\u8212? 12 KB\\par {\\cf2\\i 2 clusters overwritten}}",
      L"", L"");
}

void CGalleryToolTipsSection::Create(CWnd *pParent, const CRect &rcBody) {
  for (int i = 0; i < kStyles; i++) {
    const CRect rc(rcBody.left + i * kBoardWidth, rcBody.top, rcBody.left + (i + 1) * kBoardWidth,
                   rcBody.top + kBoardHeight);
    m_boards[i]->Create(pParent, rc, 200 + i);
  }
}
