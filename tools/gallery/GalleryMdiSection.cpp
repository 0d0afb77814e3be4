#include "GalleryMdiSection.h"

#include "GalleryOwnedBars.h"
#include "GalleryResource.h"
#include "ModuleState.h"
#include "MDIFrameWnd.h"
#include "XTPCommandBars.h"
#include "XTPDefaultTheme.h"
#include "XTPMenuBar.h"

namespace {

const LPCTSTR kRowNames[CGalleryMdiSection::kRows] = {L"Picture child maximised", L"Children restored"};

// A child whose menu is its document type's; the frame's menu bar takes
// the menu from the client's WM_MDISETMENU.
CMDIChildWnd *AddChild(CMDIFrameWnd *pFrame, LPCTSTR lpszTitle, HMENU hMenuShared, UINT nMenuId, CRect rc) {
  auto *pChild = new CMDIChildWnd;
  pChild->m_hMenuShared = hMenuShared;
  pChild->m_nIDHelp = nMenuId;
  const HICON hIcon = ::LoadIconW(nullptr, hMenuShared ? IDI_INFORMATION : IDI_APPLICATION);
  LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                                          reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), hIcon);
  if (!pChild->Create(lpszClass, lpszTitle, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, rc, pFrame))
    return nullptr;
  return pChild;
}

} // namespace

CGalleryMdiSection::CGalleryMdiSection() {
  m_pCommandBars = new CXTPCommandBars;
  m_pCommandBars->SetPaintManager(new CXTPDefaultTheme);
}

CGalleryMdiSection::~CGalleryMdiSection() {
  // The frames are windows of the view and go with it; the bars are ours.
  DestroyOwnedBars(m_bars);
  m_pCommandBars->InternalRelease();
  if (m_hMenuPicture) ::DestroyMenu(m_hMenuPicture);
}

void CGalleryMdiSection::Create(CWnd *pParent, const CRect &rcBody) {
  m_hMenuPicture = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_GALLERY_MDI_PICTURE));
  for (int nRow = 0; nRow < kRows; nRow++) {
    auto *pFrame = new CMDIFrameWnd;
    const CRect rc(CPoint(rcBody.left + kLabelWidth, rcBody.top + nRow * kRowHeight + 4),
                   CSize(kFrameWidth, kFrameHeight));
    if (!pFrame->CreateEx(WS_EX_CLIENTEDGE, AfxRegisterWndClass(0), L"",
                          WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rc.left, rc.top, rc.Width(), rc.Height(),
                          pParent->GetSafeHwnd(), nullptr))
      continue;
    m_frames.push_back(pFrame);
    // A frame inside the page has no window menu: its default menu is the
    // one it asks the client to show when a child without its own is active.
    pFrame->m_hMenuDefault = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_GALLERY_MDI_FRAME));

    auto *pBar = new CXTPMenuBar;
    pBar->SetCommandBars(m_pCommandBars);
    pBar->SetOwnerWindow(pFrame->GetSafeHwnd());
    pBar->SetTitle(L"Menu Bar");
    pBar->StorePosition(xtpBarTop);
    // Stretched, so the child's buttons go to the far end.
    pBar->SetFlags(xtpFlagAddMDISysPopup | 0x40);
    m_bars.push_back(pBar);
    if (!pBar->CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW)), L"",
                        WS_CHILD | WS_VISIBLE, CRect(0, 0, kFrameWidth, 24), pFrame,
                        AFX_IDW_CONTROLBAR_FIRST))
      continue;
    pBar->LoadMenu(IDR_GALLERY_MDI_FRAME);
    pBar->SetVisible(TRUE);
    pFrame->RecalcLayout();

    CMDIChildWnd *pNotes =
        AddChild(pFrame, L"Notes.txt", nullptr, IDR_GALLERY_MDI_FRAME, CRect(10, 6, 230, 100));
    CMDIChildWnd *pPicture =
        AddChild(pFrame, L"Photo.jpg", m_hMenuPicture, IDR_GALLERY_MDI_PICTURE, CRect(250, 6, 500, 100));
    if (nRow == 0 && pPicture) pPicture->MDIMaximize();
    if (nRow == 1 && pNotes) pNotes->MDIActivate();
    // The buttons follow a change once it has settled (a posted timer); the
    // page does not wait for it.
    pBar->RefreshMdiButtons();
    // No update handler decides the states of the gallery's commands.
    for (int i = 0; i < pBar->GetControlCount(); i++)
      pBar->GetControl(i)->SetFlags(pBar->GetControl(i)->GetFlags() | xtpFlagManualUpdate);
    pFrame->RecalcLayout();
  }
}

void CGalleryMdiSection::Draw(CDC *pDC, const CRect &rcBody) {
  for (int nRow = 0; nRow < kRows; nRow++)
    pDC->TextOut(rcBody.left + 4, rcBody.top + nRow * kRowHeight + 8, kRowNames[nRow]);
}
