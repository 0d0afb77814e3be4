#include "GalleryToolBarDragSection.h"

#include "XTPCommandBars.h"
#include "XTPDefaultTheme.h"

CGalleryToolBarDragSection::CGalleryToolBarDragSection()
    : CGalleryDockSiteSection(
          new CXTPDefaultTheme,
          L"These bars can be dragged: press on a gripper and move it near a side of the frame "
          L"to dock, into the open to float. Drag a floating bar by its caption, resize it by "
          L"its edges; a double click on it docks it back, and floats it again.") {}

CXTPToolBar *CGalleryToolBarDragSection::AddBar(LPCTSTR lpszTitle, const std::vector<LPCTSTR> &captions,
                                                XTPBarPosition position) {
  auto *pBar = new CXTPToolBar;
  AddToFrame(pBar, lpszTitle);
  std::vector<UINT> ids;
  for (size_t i = 0; i < captions.size(); i++) ids.push_back(static_cast<UINT>(100 + i));
  pBar->SetButtons(ids.data(), static_cast<int>(ids.size()));
  for (int i = 0; i < pBar->GetControlCount(); i++) {
    CXTPControl *pControl = pBar->GetControl(i);
    pControl->SetCaption(captions[i]);
    pControl->SetStyle(xtpButtonCaption);
    pControl->SetFlags(8); // no update handler decides their state
  }
  pBar->EnableDocking(0x1F);
  if (!pBar->CreateFloatingWindow(m_pFrame, FALSE)) return pBar;
  DockBarAt(pBar, position == xtpBarFloating ? xtpBarTop : position);
  pBar->SetVisible(TRUE);
  return pBar;
}

void CGalleryToolBarDragSection::Create(CWnd *pParent, const CRect &rcBody) {
  if (!CreateFrame(pParent, rcBody, 590)) return;
  AddBar(L"Standard", {L"New", L"Open", L"Save", L"Print"}, xtpBarTop);
  AddBar(L"Scan", {L"Scan", L"Stop", L"Recover"}, xtpBarLeft);
  AddBar(L"View", {L"List", L"Details"}, xtpBarBottom);
  AddBar(L"Tools", {L"Hex", L"Map"}, xtpBarRight);
  // One floating over the frame, floated where a double click would put it.
  CXTPToolBar *pFloating = AddBar(L"Find", {L"Find", L"Next", L"Filter"}, xtpBarTop);
  FloatOnFirstShow(pFloating, [](const CRect &rcClient) { return rcClient.CenterPoint() - CSize(60, 40); });
  RecalcFrameLayout(nullptr);
}
