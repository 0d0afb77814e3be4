#include "GalleryCommandBarsFrameSection.h"

#include "GalleryBarsFrame.h"
#include "GalleryResource.h"
#include "XTPDefaultTheme.h"
#include "XTPFrameWnd.h"
#include "XTPMenuBar.h"

namespace {

const int kLabelWidth = 190;

} // namespace

void CGalleryCommandBarsFrameSection::Create(CWnd *pParent, const CRect &rcBody) {
  auto *pFrame = new CGalleryBarsFrame; // deletes itself with its window
  const CRect rc(rcBody.left + kLabelWidth, rcBody.top + 4, rcBody.left + kLabelWidth + 520,
                 rcBody.bottom - 8);
  if (CGalleryBarsFrame::CreateInPage(pFrame, pParent, rc) == nullptr) return;
  m_pFrame = pFrame;
  if (!pFrame->InitCommandBars()) return;
  CXTPCommandBars *pBars = pFrame->GetCommandBars();
  pBars->SetPaintManager(new CXTPDefaultTheme);
  pBars->SetMenu(L"Menu Bar", IDR_GALLERY_FRAME_MENU);
  if (CXTPToolBar *pStandard = pBars->Add(L"Standard", xtpBarTop))
    pStandard->LoadToolBar(IDR_GALLERY_FRAME_STANDARD);
  if (CXTPToolBar *pImages = pBars->Add(L"Images", xtpBarLeft))
    pImages->LoadToolBar(IDR_GALLERY_FRAME_IMAGES);
  // The frame's view: what the dock bars leave.
  CGalleryBarsFrame::AddEmptyView(pFrame);
  pFrame->RecalcLayout();
  pFrame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
}

void CGalleryCommandBarsFrameSection::Draw(CDC *pDC, const CRect &rcBody) {
  pDC->TextOut(rcBody.left + 4, rcBody.top + 8, L"Menu bar, Standard on top,");
  pDC->TextOut(rcBody.left + 4, rcBody.top + 26, L"Images on the left;");
  pDC->TextOut(rcBody.left + 4, rcBody.top + 44, L"View > Toolbars lists both");
}
