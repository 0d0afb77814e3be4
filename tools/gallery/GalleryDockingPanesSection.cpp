#include "GalleryDockingPanesSection.h"

#include "GalleryPanesFrame.h"
#include "XTPDockingPane.h"
#include "XTPDockingPaneManager.h"
#include "XTPDockingPanePaintManager.h"

namespace {

const CGalleryPanesFrame::Theme kThemes[] = {{xtpPaneThemeDefault, L"Default (0)"},
                                             {xtpPaneThemeOffice, L"Theme 1"},
                                             {xtpPaneThemeGrippered, L"Theme 2"},
                                             {xtpPaneThemeOffice2003, L"Theme 5 (the program's)"},
                                             {xtpPaneThemeShortcutBar2003, L"Theme 8"}};

// Turns translucent drags with docking stickers on and off in every frame.
class CStickersCheck : public CWnd {
public:
  explicit CStickersCheck(const std::vector<std::unique_ptr<CXTPDockingPaneManager>> &managers)
      : m_managers(managers) {}
  void Apply() {
    const BOOL bOn = SendMessage(BM_GETCHECK) == BST_CHECKED;
    for (const auto &pManager : m_managers) {
      pManager->SetAlphaDockingContext(bOn);
      pManager->SetShowDockingContextStickers(bOn);
    }
  }
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *pResult) override {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
      Apply();
      if (pResult != nullptr) *pResult = 0;
      return TRUE;
    }
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
  }

protected:
  void PostNcDestroy() override { delete this; }

private:
  const std::vector<std::unique_ptr<CXTPDockingPaneManager>> &m_managers;
};

} // namespace

CGalleryDockingPanesSection::CGalleryDockingPanesSection() = default;

CGalleryDockingPanesSection::~CGalleryDockingPanesSection() = default;

int CGalleryDockingPanesSection::GetHeight() const {
  return CGalleryPanesFrame::PageHeight(2);
}

void CGalleryDockingPanesSection::Draw(CDC *pDC, const CRect &rcBody) {
  CGalleryPanesFrame::DrawLabels(pDC, rcBody, kThemes, static_cast<int>(std::size(kThemes)));
}

void CGalleryDockingPanesSection::Create(CWnd *pParent, const CRect &rcBody) {
  // A pane that joins a tab group takes the focus; the gallery keeps its own.
  HWND hFocus = ::GetFocus();
  for (int i = 0; i < static_cast<int>(std::size(kThemes)); i++) {
    CGalleryPanesFrame *pFrame = CGalleryPanesFrame::CreateOnPage(pParent, rcBody, i);
    if (pFrame == nullptr) continue;
    auto pManager = pFrame->InstallManager(kThemes[i].nTheme);
    pManager->m_bShowMaximizeButton = i % 2 == 1;
    CXTPDockingPaneManager *p = pManager.get();
    CXTPDockingPane *pSigs = pFrame
                                 ->AddScanPanes(p, L"Fast search of X: started\r\n812 files found",
                                                CSize(150, 70), CSize(100, 100))
                                 .pSignatures;
    // The first frames keep a pane hidden along their left side: its tab
    // slides it out.
    if (i < 3) {
      CXTPDockingPane *pSearch =
          pFrame->AddPane(p, 106, L"Search", L"Fast search\r\nDeep scan", CSize(120, 100), xtpPaneDockLeft);
      p->HidePane(pSearch);
    }
    // Theme 8's frame shows one pane floating beside it while its page is up.
    if (kThemes[i].nTheme == xtpPaneThemeShortcutBar2003) {
      const int cx = CGalleryPanesFrame::kWidth;
      pFrame->SetFloatingPane(p, pSigs, {CRect(cx + 24, 16, cx + 204, 146)});
    }
    pFrame->ShowPanes();
    m_managers.push_back(std::move(pManager));
  }
  // In the first free place after the frames.
  const CRect rcCheck = CGalleryPanesFrame::PlaceOnPage(rcBody, static_cast<int>(std::size(kThemes)));
  auto *pCheck = new CStickersCheck(m_managers); // deleted with its window
  if (pCheck->CreateEx(0, L"BUTTON", L"Translucent drags with docking stickers",
                       WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
                       CRect(rcCheck.left, rcCheck.top, rcCheck.right, rcCheck.top + 20), pParent, 0)) {
    pCheck->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    pCheck->SendMessage(BM_SETCHECK, BST_CHECKED);
    pCheck->Apply();
    m_hStickers = pCheck->GetSafeHwnd();
  } else {
    delete pCheck;
  }
  if (hFocus != nullptr && ::IsWindow(hFocus)) ::SetFocus(hFocus);
}
