#include "GalleryDockingThemesSection.h"

#include "FrameWnd.h"
#include "XTPDockingPane.h"
#include "XTPDockingPaneManager.h"
#include "XTPDockingPaneMiniWnd.h"
#include "XTPDockingPanePaintManager.h"

namespace {

const struct {
  int nTheme;
  LPCTSTR lpszName;
} kThemes[] = {{xtpPaneThemeVisio, L"Theme 3"},
               {xtpPaneThemeNativeWinXP, L"Theme 6"},
               {xtpPaneThemeWhidbey, L"Theme 7"},
               {xtpPaneThemeExplorer, L"Theme 9"},
               {xtpPaneThemeVisualStudio2005, L"Theme 10"}};

const int kColumns = 3;

CRect FrameRect(const CRect &rcBody, int i) {
  const int x = rcBody.left + 10 + (i % kColumns) * (CGalleryDockingThemesSection::kFrameWidth + 12);
  const int y = rcBody.top + 20 + (i / kColumns) * (CGalleryDockingThemesSection::kFrameHeight + 24);
  return CRect(x, y, x + CGalleryDockingThemesSection::kFrameWidth,
               y + CGalleryDockingThemesSection::kFrameHeight);
}

// The free place in the last row, where the floating frames go: theme 10's
// open one above, theme 3's rolled-up one below.
CRect FloatingRect(const CRect &rcBody, BOOL bRolledUp) {
  const CRect rcFree = FrameRect(rcBody, static_cast<int>(std::size(kThemes)));
  const int y = rcFree.top + (bRolledUp ? 150 : 0);
  return CRect(rcFree.left + 20, y, rcFree.left + 220, y + 136);
}

void AttachText(CXTPDockingPane *pPane, CWnd *pParent, LPCTSTR lpszText) {
  HWND hEdit = ::CreateWindowEx(0, L"EDIT", lpszText, WS_CHILD | ES_MULTILINE | ES_READONLY, 0, 0, 0, 0,
                                pParent->GetSafeHwnd(), nullptr, ::GetModuleHandle(nullptr), nullptr);
  ::SendMessage(hEdit, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  pPane->Attach(CWnd::FromHandle(hEdit));
}

CXTPDockingPane *AddPane(CXTPDockingPaneManager *pManager, CWnd *pFrame, UINT nID, LPCTSTR lpszTitle,
                         LPCTSTR lpszText, XTPDockingPaneDirection direction,
                         CXTPDockingPaneBase *pNeighbour = nullptr) {
  CXTPDockingPane *pPane = pManager->CreatePane(nID, CRect(0, 0, 100, 80), direction, pNeighbour);
  pPane->SetTitle(lpszTitle);
  AttachText(pPane, pFrame, lpszText);
  return pPane;
}

// A frame whose floating pane comes and goes with it: floating frames are
// top-level windows, which the gallery's pages do not hide. The pane floats
// the first time the page shows, when the screen position is known.
class CThemedPanesFrame : public CFrameWnd {
public:
  void SetFloatingPane(CXTPDockingPaneManager *pManager, CXTPDockingPane *pPane, CRect rcFloat,
                       BOOL bRollUp) {
    m_pManager = pManager;
    m_pFloating = pPane;
    m_rcFloat = rcFloat;
    m_bRollUp = bRollUp;
  }

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_SHOWWINDOW && m_pFloating != nullptr) {
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

private:
  void ShowFloating(BOOL bShow) {
    CWnd *pSite = m_pFloating->GetDockingSite();
    if (!bShow || m_bFloated) {
      if (CXTPDockingPaneMiniWnd::IsMiniWnd(pSite) &&
          !static_cast<CXTPDockingPaneMiniWnd *>(pSite)->IsEmpty())
        pSite->ShowWindow(bShow ? SW_SHOWNA : SW_HIDE);
      return;
    }
    m_bFloated = TRUE;
    CRect rc = m_rcFloat;
    GetParent()->ClientToScreen(&rc);
    // The floated pane takes the focus; the gallery keeps its own.
    HWND hFocus = ::GetFocus();
    CXTPDockingPaneMiniWnd *pMini = m_pManager->FloatPane(m_pFloating, rc);
    if (pMini != nullptr && m_bRollUp) pMini->SetCollapsed(TRUE);
    if (hFocus != nullptr && ::IsWindow(hFocus)) ::SetFocus(hFocus);
    // Taking the focus back raised the gallery over its floating frames.
    if (pMini != nullptr)
      pMini->SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (pMini != nullptr)
      pMini->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }

  static const UINT kFloatLater = WM_APP + 1;
  CXTPDockingPaneManager *m_pManager = nullptr;
  CXTPDockingPane *m_pFloating = nullptr;
  CRect m_rcFloat;
  BOOL m_bRollUp = FALSE;
  BOOL m_bFloated = FALSE;
};

} // namespace

CGalleryDockingThemesSection::CGalleryDockingThemesSection() = default;

CGalleryDockingThemesSection::~CGalleryDockingThemesSection() = default;

void CGalleryDockingThemesSection::Draw(CDC *pDC, const CRect &rcBody) {
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
  for (int i = 0; i < static_cast<int>(std::size(kThemes)); i++) {
    const CRect rc = FrameRect(rcBody, i);
    pDC->TextOut(rc.left, rc.top - 17, kThemes[i].lpszName);
  }
  const CRect rcOpen = FloatingRect(rcBody, FALSE);
  pDC->TextOut(rcOpen.left, rcOpen.top - 17, L"Floating, themed (10, 3 rolled up)");
}

void CGalleryDockingThemesSection::Create(CWnd *pParent, const CRect &rcBody) {
  // A pane that joins a tab group takes the focus; the gallery keeps its own.
  HWND hFocus = ::GetFocus();
  for (int i = 0; i < static_cast<int>(std::size(kThemes)); i++) {
    const CRect rc = FrameRect(rcBody, i);
    auto *pFrame = new CThemedPanesFrame; // deleted with its window
    if (!pFrame->CreateEx(
            WS_EX_CLIENTEDGE,
            AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), ::GetSysColorBrush(COLOR_APPWORKSPACE)),
            L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, rc.left, rc.top, rc.Width(),
            rc.Height(), pParent->GetSafeHwnd(), nullptr))
      continue;
    auto pManager = std::make_unique<CXTPDockingPaneManager>();
    pManager->InstallInFrame(pFrame);
    pManager->SetTheme(kThemes[i].nTheme);
    pManager->m_bThemedFloatingFrames = TRUE;
    CXTPDockingPaneManager *p = pManager.get();
    AddPane(p, pFrame, 101, L"Log", L"Deep scan of X: started\r\n96 signatures found", xtpPaneDockBottom);
    AddPane(p, pFrame, 102, L"Folders", L"X:\\\r\n  Documents\r\n  Pictures", xtpPaneDockLeft);
    CXTPDockingPane *pFind =
        AddPane(p, pFrame, 103, L"Find Results\nFind", L"report.doc\r\nphoto.jpg", xtpPaneDockRight);
    CXTPDockingPane *pProps =
        AddPane(p, pFrame, 104, L"Properties", L"Size: 12 KB", xtpPaneDockBottom, pFind);
    CXTPDockingPane *pSigs =
        AddPane(p, pFrame, 105, L"Signatures", L"JPEG, PDF, ZIP", xtpPaneDockBottom, pFind);
    p->AttachPane(pSigs, pProps);
    if (kThemes[i].nTheme == xtpPaneThemeVisualStudio2005)
      pFrame->SetFloatingPane(p, pSigs, FloatingRect(rcBody, FALSE), FALSE);
    if (kThemes[i].nTheme == xtpPaneThemeVisio)
      pFrame->SetFloatingPane(p, pFind, FloatingRect(rcBody, TRUE), TRUE);
    pFrame->RecalcLayout();
    pFrame->RecalcLayout(); // the second pass shows the windows the first one attached
    m_managers.push_back(std::move(pManager));
  }
  if (hFocus != nullptr && ::IsWindow(hFocus)) ::SetFocus(hFocus);
}
