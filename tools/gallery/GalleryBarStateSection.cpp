#include "GalleryBarStateSection.h"

#include <vector>

#include "GalleryBarsFrame.h"
#include "GalleryResource.h"
#include "XTPCustomizeCommandsPage.h"
#include "XTPCustomizeTools.h"
#include "XTPCustomizeSheet.h"
#include "Menu.h"
#include "XTPDefaultTheme.h"
#include "XTPPaintManager.h"
#include "XTPReBar.h"
#include "XTPResource.h"
#include "XTTipOfTheDay.h"

namespace {

const int kLabelWidth = 190;

// A frame inside the gallery's view whose View menu lists the toolbars and
// makes new ones.
class CGalleryCustomFrame : public CGalleryBarsFrame {
public:
  // Answering the customise command makes the frame's bars customisable:
  // their controls are saved with the bar state.
  afx_msg void OnCustomize() {
    std::unique_ptr<CXTPCustomizeSheet> pSheet = CGalleryBarStateSection::MakeCustomizeSheet(this);
    pSheet->DoModal();
  }
  afx_msg void OnNewToolbar() {
    CXTPCommandBars *pBars = GetCommandBars();
    CXTPNewToolbarDlg dlg(this, pBars);
    if (dlg.DoModal() != IDOK) return;
    // A new toolbar starts with one button for the user to drag others beside.
    if (CXTPToolBar *pBar = pBars->AddCustomBar(dlg.m_strToolbar, dlg.m_nNewID)) {
      const UINT kFirst[] = {33001};
      pBar->SetButtons(kFirst, 1);
    }
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CGalleryCustomFrame, CGalleryBarsFrame)
ON_COMMAND(ID_GALLERY_NEW_TOOLBAR, OnNewToolbar)
ON_COMMAND(ID_GALLERY_CUSTOMIZE, OnCustomize)
END_MESSAGE_MAP()

// The tip dialog's template as a child window of the page, without the
// caption and frame of the modal dialog.
std::vector<BYTE> ChildTemplate(UINT nID) {
  HINSTANCE hInstance = AfxGetResourceHandle();
  HRSRC hRes = ::FindResourceW(hInstance, MAKEINTRESOURCEW(nID), MAKEINTRESOURCEW(5));
  if (hRes == nullptr) return {};
  const BYTE *pData = static_cast<const BYTE *>(::LockResource(::LoadResource(hInstance, hRes)));
  std::vector<BYTE> bytes(pData, pData + ::SizeofResource(hInstance, hRes));
  // An extended template: version, signature, help id, extended style, then style.
  if (bytes.size() < 16 || bytes[2] != 0xFF || bytes[3] != 0xFF) return {};
  DWORD dwStyle = 0;
  memcpy(&dwStyle, &bytes[12], 4);
  dwStyle &= ~(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER);
  dwStyle |= WS_CHILD | WS_BORDER | DS_CONTROL;
  memcpy(&bytes[12], &dwStyle, 4);
  return bytes;
}

const wchar_t kCustomProfile[] = L"GalleryCustomFrame";
const UINT kMyToolsId = 0xE800;

// The customisable frame as the program builds it: menu bar, Standard and Images.
CXTPFrameWnd *BuildCustomFrame(CWnd *pParent, const CRect &rc) {
  CXTPFrameWnd *pFrame = CGalleryBarsFrame::CreateInPage(new CGalleryCustomFrame, pParent, rc);
  if (pFrame == nullptr || !pFrame->InitCommandBars()) return pFrame;
  CXTPCommandBars *pBars = pFrame->GetCommandBars();
  pBars->SetPaintManager(new CXTPDefaultTheme);
  pBars->SetMenu(L"Menu Bar", IDR_GALLERY_CUSTOM_MENU);
  if (CXTPToolBar *pStandard = pBars->Add(L"Standard", xtpBarTop)) {
    pStandard->LoadToolBar(IDR_GALLERY_FRAME_STANDARD);
    pStandard->SetBarID(IDR_GALLERY_FRAME_STANDARD);
  }
  if (CXTPToolBar *pImages = pBars->Add(L"Images", xtpBarTop)) {
    pImages->LoadToolBar(IDR_GALLERY_FRAME_IMAGES);
    pImages->SetBarID(IDR_GALLERY_FRAME_IMAGES);
  }
  CGalleryBarsFrame::AddEmptyView(pFrame);
  pFrame->RecalcLayout();
  return pFrame;
}

// What a user did in an earlier run: a toolbar of their own that took two
// of Images' buttons, and Images renamed. Saved, and the frame closed.
void SaveCustomisedFrame(CWnd *pParent, const CRect &rc) {
  CXTPFrameWnd *pFrame = BuildCustomFrame(pParent, rc);
  if (pFrame == nullptr) return;
  CXTPCommandBars *pBars = pFrame->GetCommandBars();
  CXTPToolBar *pImages = pBars ? pBars->GetToolBar(IDR_GALLERY_FRAME_IMAGES) : nullptr;
  CXTPToolBar *pMine = pBars ? pBars->AddCustomBar(L"My Tools", kMyToolsId) : nullptr;
  if (pImages && pMine) {
    for (int i = 0; i < 2 && pImages->GetControlCount() > 0; i++) {
      CXTPControl *pControl = pImages->GetControl(0);
      pMine->GetControls()->AddClone(pControl);
      pImages->GetControls()->Remove(pControl);
    }
    pImages->SetTitle(L"Pictures");
    pBars->SaveBarState(kCustomProfile);
  }
  pFrame->DestroyWindow();
}

CString ProgramFolderFile(LPCTSTR lpszName) {
  wchar_t szPath[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, szPath, MAX_PATH);
  CString strPath(szPath);
  strPath = strPath.Left(strPath.ReverseFind(L'\\') + 1);
  return strPath + lpszName;
}

} // namespace

CGalleryBarStateSection::CGalleryBarStateSection() = default;

std::unique_ptr<CXTPCustomizeSheet> CGalleryBarStateSection::MakeCustomizeSheet(CXTPFrameWnd *pFrame) {
  CXTPCommandBars *pBars = pFrame->GetCommandBars();
  auto pSheet = std::make_unique<CXTPCustomizeSheet>(pBars, pFrame);
  CXTPCustomizeCommandsPage *pPage = pSheet->GetCommandsPage();
  CMenu menu;
  if (menu.LoadMenu(IDR_GALLERY_CUSTOM_MENU)) {
    wchar_t szTitle[64] = {};
    ::GetMenuStringW(menu.m_hMenu, 0, szTitle, 64, MF_BYPOSITION);
    pPage->AddCategory(CXTPPaintManager::StripAccelerators(szTitle), menu.GetSubMenu(0));
  }
  for (int i = 0; i < pBars->GetCount(); i++) {
    CXTPCommandBar *pBar = pBars->GetAt(i);
    if (pBar->GetType() == xtpBarTypeNormal) pPage->AddCategory(pBar->GetTitle(), pBar);
  }
  return pSheet;
}

CGalleryBarStateSection::~CGalleryBarStateSection() {
  if (m_pTip && m_pTip->GetSafeHwnd()) m_pTip->DestroyWindow();
  if (m_pReBar && m_pReBar->GetSafeHwnd()) m_pReBar->DestroyWindow();
}

void CGalleryBarStateSection::Create(CWnd *pParent, const CRect &rcBody) {
  m_rcBody = rcBody;
  const int x = rcBody.left + kLabelWidth;
  // The customisable frame.
  // The customisable frame, built as the program builds it and then given
  // back the customisation saved by an earlier frame.
  const CRect rcCustom(x, rcBody.top + 4, x + 330, rcBody.top + 170);
  SaveCustomisedFrame(pParent, rcCustom);
  m_pCustomFrame = BuildCustomFrame(pParent, rcCustom);
  if (m_pCustomFrame && m_pCustomFrame->GetCommandBars()) {
    m_pCustomFrame->GetCommandBars()->LoadBarState(kCustomProfile);
    m_pCustomFrame->RecalcLayout();
    m_pCustomFrame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  }
  // The rebar frame: both toolbars in bands instead of dock bars.
  m_pReBarFrame = CGalleryBarsFrame::CreateInPage(new CXTPFrameWnd, pParent,
                                                  CRect(x, rcBody.top + 180, x + 330, rcBody.top + 300));
  if (m_pReBarFrame) {
    m_pReBar = std::make_unique<CXTPReBar>();
    m_pReBar->Create(m_pReBarFrame);
    if (m_pReBarFrame->InitCommandBars()) {
      CXTPCommandBars *pBars = m_pReBarFrame->GetCommandBars();
      pBars->SetPaintManager(new CXTPDefaultTheme);
      const struct {
        const wchar_t *title;
        UINT nID;
      } bars[] = {{L"Standard", IDR_GALLERY_FRAME_STANDARD}, {L"Images", IDR_GALLERY_FRAME_IMAGES}};
      for (const auto &b : bars) {
        CXTPToolBar *pBar = pBars->Add(b.title, xtpBarTop);
        if (pBar == nullptr) continue;
        pBar->LoadToolBar(b.nID);
        pBar->SetBarID(static_cast<int>(b.nID));
        m_pReBar->AddToolBar(pBar, RBBS_GRIPPERALWAYS);
      }
    }
    CGalleryBarsFrame::AddEmptyView(m_pReBarFrame);
    m_pReBarFrame->RecalcLayout();
    m_pReBarFrame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  }
  // The tip of the day over the program's tips, as a child of the page.
  m_pTip = std::make_unique<CXTTipOfTheDay>(ProgramFolderFile(L"tips.txt"), pParent);
  const std::vector<BYTE> child = ChildTemplate(9018);
  if (!child.empty() && m_pTip->CreateIndirect(reinterpret_cast<LPCDLGTEMPLATE>(child.data()), pParent)) {
    m_pTip->SetWindowPos(nullptr, x + 345, rcBody.top + 4, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_pTip->ShowWindow(SW_SHOWNA);
  }
}

void CGalleryBarStateSection::Draw(CDC *pDC, const CRect &rcBody) {
  pDC->TextOut(rcBody.left + 4, rcBody.top + 8, L"Alt+drag a button to");
  pDC->TextOut(rcBody.left + 4, rcBody.top + 26, L"move it, Alt+Ctrl+drag");
  pDC->TextOut(rcBody.left + 4, rcBody.top + 44, L"to copy; View > New");
  pDC->TextOut(rcBody.left + 4, rcBody.top + 62, L"Toolbar... names one");
  pDC->TextOut(rcBody.left + 4, rcBody.top + 86, L"Restored as saved:");
  pDC->TextOut(rcBody.left + 4, rcBody.top + 104, L"My Tools, Pictures");
  pDC->TextOut(rcBody.left + 4, rcBody.top + 184, L"Toolbars in rebar bands");
  pDC->TextOut(rcBody.left + 4, rcBody.top + 310, L"Tip of the day (right),");
  pDC->TextOut(rcBody.left + 4, rcBody.top + 328, L"reading tips.txt");
}
