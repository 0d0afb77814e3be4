#include "GalleryDockingSchemesSection.h"

#include "../../Common/tests/SchemeScope.h"
#include "GalleryPanesFrame.h"
#include "XTPColorManager.h"
#include "XTPDockingPane.h"
#include "XTPDockingPaneManager.h"
#include "XTPDockingPanePaintManager.h"

namespace {

const CGalleryPanesFrame::Theme kPlaces[CGalleryDockingSchemesSection::kFrames] = {
    {xtpPaneThemeWhidbey, L"Theme 7, blue"},
    {xtpPaneThemeWhidbey, L"Theme 7, olive"},
    {xtpPaneThemeWhidbey, L"Theme 7, silver"},
    {xtpPaneThemeVisualStudio2005, L"Theme 10, blue"},
    {xtpPaneThemeVisualStudio2005, L"Theme 10, olive"},
    {xtpPaneThemeVisualStudio2005, L"Theme 10, silver"}};

// The floating frame of two groups, in the first place of the third row.
CRect FloatingRect(const CRect &rcBody) {
  const CRect rcFree = CGalleryPanesFrame::PlaceOnPage(rcBody, CGalleryDockingSchemesSection::kFrames);
  return CRect(rcFree.left + 10, rcFree.top + 4, rcFree.left + 390, rcFree.top + 160);
}

} // namespace

CGalleryDockingSchemesSection::CGalleryDockingSchemesSection() = default;

CGalleryDockingSchemesSection::~CGalleryDockingSchemesSection() = default;

int CGalleryDockingSchemesSection::GetHeight() const {
  return CGalleryPanesFrame::PageHeight(2) + 190;
}

void CGalleryDockingSchemesSection::Draw(CDC *pDC, const CRect &rcBody) {
  CGalleryPanesFrame::DrawLabels(pDC, rcBody, kPlaces, kFrames);
  const CRect rc = FloatingRect(rcBody);
  pDC->TextOut(rc.left - 10, rc.top - 17,
               L"Floating, two groups side by side (theme 7, blue): no Auto Hide pin");
}

void CGalleryDockingSchemesSection::Create(CWnd *pParent, const CRect &rcBody) {
  // A pane that joins a tab group takes the focus; the gallery keeps its own.
  HWND hFocus = ::GetFocus();
  for (int i = 0; i < kFrames; i++) {
    CGalleryPanesFrame *pFrame = CGalleryPanesFrame::CreateOnPage(pParent, rcBody, i);
    if (pFrame == nullptr) continue;
    // The theme and its tab colours read the scheme when they are made.
    // Wine reports no scheme, so the automatic choice would be the classic one.
    SchemeScope scheme(SchemeOf(i));
    auto pManager = pFrame->InstallManager(kPlaces[i].nTheme);
    CXTPDockingPaneManager *p = pManager.get();
    const auto panes = pFrame->AddScanPanes(p, L"Deep scan of X: started\r\n96 signatures found",
                                            CSize(100, 70), CSize(100, 80));
    if (i == kFloatingManager) {
      // Find Results floats, and Signatures is docked beside it in the same
      // floating frame: two groups, titled by the manager.
      p->SetFloatingFrameCaption(L"Scan panes");
      CRect rc = FloatingRect(rcBody);
      rc.OffsetRect(-CGalleryPanesFrame::PlaceOnPage(rcBody, i).TopLeft());
      CGalleryPanesFrame::Floating floating;
      floating.rc = rc;
      floating.bKeepGalleryFocus = TRUE;
      floating.pBeside = panes.pSignatures;
      pFrame->SetFloatingPane(p, panes.pFind, floating);
    }
    pFrame->ShowPanes();
    m_managers.push_back(std::move(pManager));
  }
  if (hFocus != nullptr && ::IsWindow(hFocus)) ::SetFocus(hFocus);
}
