#include "GalleryDockingThemesSection.h"

#include "GalleryPanesFrame.h"
#include "XTPDockingPane.h"
#include "XTPDockingPaneManager.h"
#include "XTPDockingPanePaintManager.h"

namespace {

const CGalleryPanesFrame::Theme kThemes[] = {{xtpPaneThemeVisio, L"Theme 3"},
                                             {xtpPaneThemeNativeWinXP, L"Theme 6"},
                                             {xtpPaneThemeWhidbey, L"Theme 7"},
                                             {xtpPaneThemeExplorer, L"Theme 9"},
                                             {xtpPaneThemeVisualStudio2005, L"Theme 10"}};

// The free place in the last row, where the floating frames go: theme 10's
// open one above, theme 3's rolled-up one below.
CRect FloatingRect(const CRect &rcBody, BOOL bRolledUp) {
  const CRect rcFree = CGalleryPanesFrame::PlaceOnPage(rcBody, static_cast<int>(std::size(kThemes)));
  const int y = rcFree.top + (bRolledUp ? 150 : 0);
  return CRect(rcFree.left + 20, y, rcFree.left + 220, y + 136);
}

// The floating frame at its place on the page, seen from the frame of the
// page's i-th place.
CGalleryPanesFrame::Floating FloatingFrom(const CRect &rcBody, int i, BOOL bRolledUp) {
  CRect rc = FloatingRect(rcBody, bRolledUp);
  rc.OffsetRect(-CGalleryPanesFrame::PlaceOnPage(rcBody, i).TopLeft());
  return {rc, bRolledUp, TRUE};
}

} // namespace

CGalleryDockingThemesSection::CGalleryDockingThemesSection() = default;

CGalleryDockingThemesSection::~CGalleryDockingThemesSection() = default;

int CGalleryDockingThemesSection::GetHeight() const {
  return CGalleryPanesFrame::PageHeight(2);
}

void CGalleryDockingThemesSection::Draw(CDC *pDC, const CRect &rcBody) {
  CGalleryPanesFrame::DrawLabels(pDC, rcBody, kThemes, static_cast<int>(std::size(kThemes)));
  const CRect rcOpen = FloatingRect(rcBody, FALSE);
  pDC->TextOut(rcOpen.left, rcOpen.top - 17, L"Floating, themed (10, 3 rolled up)");
}

void CGalleryDockingThemesSection::Create(CWnd *pParent, const CRect &rcBody) {
  // A pane that joins a tab group takes the focus; the gallery keeps its own.
  HWND hFocus = ::GetFocus();
  for (int i = 0; i < static_cast<int>(std::size(kThemes)); i++) {
    CGalleryPanesFrame *pFrame = CGalleryPanesFrame::CreateOnPage(pParent, rcBody, i);
    if (pFrame == nullptr) continue;
    auto pManager = pFrame->InstallManager(kThemes[i].nTheme);
    pManager->m_bThemedFloatingFrames = TRUE;
    CXTPDockingPaneManager *p = pManager.get();
    const auto panes = pFrame->AddScanPanes(p, L"Deep scan of X: started\r\n96 signatures found",
                                            CSize(100, 80), CSize(100, 80));
    if (kThemes[i].nTheme == xtpPaneThemeVisualStudio2005)
      pFrame->SetFloatingPane(p, panes.pSignatures, FloatingFrom(rcBody, i, FALSE));
    if (kThemes[i].nTheme == xtpPaneThemeVisio)
      pFrame->SetFloatingPane(p, panes.pFind, FloatingFrom(rcBody, i, TRUE));
    pFrame->ShowPanes();
    m_managers.push_back(std::move(pManager));
  }
  if (hFocus != nullptr && ::IsWindow(hFocus)) ::SetFocus(hFocus);
}
