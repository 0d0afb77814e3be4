#include "GalleryCommandBarsFrameSection.h"

#include "GalleryResource.h"
#include "XTPControlToolbars.h"
#include "XTPDefaultTheme.h"
#include "XTPFrameWnd.h"
#include "XTPMenuBar.h"

// A frame that lives as a child of the gallery's view; its menu entry 59392
// becomes the toolbars list.
class CGalleryBarsFrame : public CXTPFrameWnd {
public:
  afx_msg LRESULT OnCreateControl(WPARAM, LPARAM lParam) {
    auto *pCreate = reinterpret_cast<XTP_COMMANDBARS_CREATECONTROL *>(lParam);
    if (pCreate->nID != XTP_ID_TOOLBARLIST) return FALSE;
    pCreate->pControl = new CXTPControlToolbars;
    return TRUE;
  }
  // Every command of the page is enabled: nothing runs them.
  afx_msg void OnUpdateAny(CCmdUI *pCmdUI) { pCmdUI->Enable(TRUE); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CGalleryBarsFrame, CXTPFrameWnd)
ON_MESSAGE(WM_XTP_BEFORECREATECONTROL, OnCreateControl)
ON_UPDATE_COMMAND_UI_RANGE(1, 0xEFFF, OnUpdateAny)
END_MESSAGE_MAP()

namespace {

const int kLabelWidth = 190;

// The frame's view: an empty window that goes with the frame.
class CEmptyView : public CWnd {
protected:
  void PostNcDestroy() override { delete this; }
};

} // namespace

void CGalleryCommandBarsFrameSection::Create(CWnd *pParent, const CRect &rcBody) {
  auto *pFrame = new CGalleryBarsFrame; // deletes itself with its window
  const CRect rc(rcBody.left + kLabelWidth, rcBody.top + 4, rcBody.left + kLabelWidth + 520,
                 rcBody.bottom - 8);
  if (!pFrame->Create(nullptr, L"Frame", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_CLIPCHILDREN, rc, pParent))
    return;
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
  CWnd *pView = new CEmptyView;
  pView->CreateEx(WS_EX_CLIENTEDGE, AfxRegisterWndClass(0, nullptr, ::GetSysColorBrush(COLOR_WINDOW)), L"",
                  WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), pFrame, AFX_IDW_PANE_FIRST);
  pFrame->RecalcLayout();
  pFrame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
}

void CGalleryCommandBarsFrameSection::Draw(CDC *pDC, const CRect &rcBody) {
  pDC->TextOut(rcBody.left + 4, rcBody.top + 8, L"Menu bar, Standard on top,");
  pDC->TextOut(rcBody.left + 4, rcBody.top + 26, L"Images on the left;");
  pDC->TextOut(rcBody.left + 4, rcBody.top + 44, L"View > Toolbars lists both");
}
