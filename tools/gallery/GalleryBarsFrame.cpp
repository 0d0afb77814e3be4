#include "GalleryBarsFrame.h"

#include "XTPControlToolbars.h"

BEGIN_MESSAGE_MAP(CGalleryBarsFrame, CXTPFrameWnd)
ON_MESSAGE(WM_XTP_BEFORECREATECONTROL, OnCreateControl)
ON_UPDATE_COMMAND_UI_RANGE(1, 0xEFFF, OnUpdateAny)
END_MESSAGE_MAP()

namespace {

class CEmptyView : public CWnd {
protected:
  void PostNcDestroy() override { delete this; }
};

} // namespace

CXTPFrameWnd *CGalleryBarsFrame::CreateInPage(CXTPFrameWnd *pFrame, CWnd *pParent, const CRect &rc) {
  if (!pFrame->Create(nullptr, L"Frame", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_CLIPCHILDREN, rc, pParent))
    return nullptr;
  return pFrame;
}

void CGalleryBarsFrame::AddEmptyView(CWnd *pFrame) {
  CWnd *pView = new CEmptyView;
  pView->CreateEx(WS_EX_CLIENTEDGE, AfxRegisterWndClass(0, nullptr, ::GetSysColorBrush(COLOR_WINDOW)), L"",
                  WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), pFrame, AFX_IDW_PANE_FIRST);
}

LRESULT CGalleryBarsFrame::OnCreateControl(WPARAM, LPARAM lParam) {
  auto *pCreate = reinterpret_cast<XTP_COMMANDBARS_CREATECONTROL *>(lParam);
  if (pCreate->nID != XTP_ID_TOOLBARLIST) return FALSE;
  pCreate->pControl = new CXTPControlToolbars;
  return TRUE;
}
