#include "GalleryPanesFrame.h"

#include "Dc.h"
#include "XTPDockingPane.h"
#include "XTPDockingPaneManager.h"
#include "XTPDockingPaneMiniWnd.h"

CRect CGalleryPanesFrame::PlaceOnPage(const CRect &rcBody, int i) {
  const int x = rcBody.left + 10 + (i % 3) * (kWidth + 12);
  const int y = rcBody.top + 20 + (i / 3) * (kHeight + 24);
  return CRect(x, y, x + kWidth, y + kHeight);
}

void CGalleryPanesFrame::DrawLabels(CDC *pDC, const CRect &rcBody, const Theme *pThemes, int nCount) {
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
  for (int i = 0; i < nCount; i++) {
    const CRect rc = PlaceOnPage(rcBody, i);
    pDC->TextOut(rc.left, rc.top - 17, pThemes[i].lpszName);
  }
}

CGalleryPanesFrame *CGalleryPanesFrame::CreateOnPage(CWnd *pParent, const CRect &rcBody, int i) {
  const CRect rc = PlaceOnPage(rcBody, i);
  auto *pFrame = new CGalleryPanesFrame; // deleted with its window
  if (!pFrame->CreateEx(
          WS_EX_CLIENTEDGE,
          AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), ::GetSysColorBrush(COLOR_APPWORKSPACE)),
          L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, rc.left, rc.top, rc.Width(),
          rc.Height(), pParent->GetSafeHwnd(), nullptr))
    return nullptr;
  return pFrame;
}

std::unique_ptr<CXTPDockingPaneManager> CGalleryPanesFrame::InstallManager(int nTheme) {
  auto pManager = std::make_unique<CXTPDockingPaneManager>();
  pManager->InstallInFrame(this);
  pManager->SetTheme(nTheme);
  return pManager;
}

CXTPDockingPane *CGalleryPanesFrame::AddPane(CXTPDockingPaneManager *pManager, UINT nID, LPCTSTR lpszTitle,
                                             LPCTSTR lpszText, CSize size, XTPDockingPaneDirection direction,
                                             CXTPDockingPaneBase *pNeighbour) {
  CXTPDockingPane *pPane = pManager->CreatePane(nID, CRect(CPoint(0, 0), size), direction, pNeighbour);
  pPane->SetTitle(lpszTitle);
  HWND hEdit = ::CreateWindowEx(0, L"EDIT", lpszText, WS_CHILD | ES_MULTILINE | ES_READONLY, 0, 0, 0, 0,
                                GetSafeHwnd(), nullptr, ::GetModuleHandle(nullptr), nullptr);
  ::SendMessage(hEdit, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  pPane->Attach(CWnd::FromHandle(hEdit));
  return pPane;
}

CGalleryPanesFrame::ScanPanes CGalleryPanesFrame::AddScanPanes(CXTPDockingPaneManager *pManager,
                                                               LPCTSTR lpszLog, CSize szLog, CSize szPane) {
  AddPane(pManager, 101, L"Log", lpszLog, szLog, xtpPaneDockBottom);
  AddPane(pManager, 102, L"Folders", L"X:\\\r\n  Documents\r\n  Pictures", szPane, xtpPaneDockLeft);
  CXTPDockingPane *pFind =
      AddPane(pManager, 103, L"Find Results\nFind", L"report.doc\r\nphoto.jpg", szPane, xtpPaneDockRight);
  CXTPDockingPane *pProps =
      AddPane(pManager, 104, L"Properties", L"Size: 12 KB", szPane, xtpPaneDockBottom, pFind);
  CXTPDockingPane *pSigs =
      AddPane(pManager, 105, L"Signatures", L"JPEG, PDF, ZIP", szPane, xtpPaneDockBottom, pFind);
  pManager->AttachPane(pSigs, pProps);
  return {pFind, pSigs};
}

void CGalleryPanesFrame::SetFloatingPane(CXTPDockingPaneManager *pManager, CXTPDockingPane *pPane,
                                         const Floating &floating) {
  m_pManager = pManager;
  m_pFloating = pPane;
  m_floating = floating;
}

void CGalleryPanesFrame::ShowPanes() {
  RecalcLayout();
  RecalcLayout();
}

LRESULT CGalleryPanesFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SHOWWINDOW && m_pFloating != nullptr) {
    // The first floating waits until the gallery's own frame is up and placed.
    if (wParam != 0 && !m_bFloated)
      PostMessage(kFloatLater);
    else
      ShowFloating(wParam != 0);
  }
  if (message == kFloatLater) {
    if (IsWindowVisible()) ShowFloating(TRUE);
    return 0;
  }
  return CFrameWnd::WindowProc(message, wParam, lParam);
}

void CGalleryPanesFrame::ShowFloating(BOOL bShow) {
  if (bShow && !m_bFloated) {
    FloatFirstTime();
    return;
  }
  CWnd *pSite = m_pFloating->GetDockingSite();
  if (CXTPDockingPaneMiniWnd::IsMiniWnd(pSite) && !static_cast<CXTPDockingPaneMiniWnd *>(pSite)->IsEmpty())
    pSite->ShowWindow(bShow ? SW_SHOWNA : SW_HIDE);
}

void CGalleryPanesFrame::FloatFirstTime() {
  m_bFloated = TRUE;
  CRect rcFrame;
  GetWindowRect(&rcFrame);
  CRect rc = m_floating.rc;
  rc.OffsetRect(rcFrame.TopLeft());
  // The floated pane takes the focus.
  HWND hFocus = ::GetFocus();
  CXTPDockingPaneMiniWnd *pMini = m_pManager->FloatPane(m_pFloating, rc);
  if (pMini != nullptr && m_floating.pBeside != nullptr) {
    m_pManager->DockPane(m_floating.pBeside, xtpPaneDockRight, m_pFloating);
    pMini->RecalcLayout();
  }
  if (pMini != nullptr && m_floating.bRolledUp) pMini->SetCollapsed(TRUE);
  if (!m_floating.bKeepGalleryFocus) return;
  if (hFocus != nullptr && ::IsWindow(hFocus)) ::SetFocus(hFocus);
  if (pMini == nullptr) return;
  // Taking the focus back raised the gallery over its floating frames.
  pMini->SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  pMini->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}
