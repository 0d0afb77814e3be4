#include "GalleryDockingPanesSection.h"

#include "FrameWnd.h"
#include "XTPDockingPane.h"
#include "XTPDockingPaneManager.h"
#include "XTPDockingPaneMiniWnd.h"
#include "XTPDockingPanePaintManager.h"

namespace {

const struct {
  int nTheme;
  LPCTSTR lpszName;
} kThemes[] = {{xtpPaneThemeDefault, L"Default (0)"},
               {xtpPaneThemeOffice, L"Theme 1"},
               {xtpPaneThemeGrippered, L"Theme 2"},
               {xtpPaneThemeOffice2003, L"Theme 5 (the program's)"},
               {xtpPaneThemeShortcutBar2003, L"Theme 8"}};

CRect FrameRect(const CRect &rcBody, int i) {
  const int x = rcBody.left + 10 + (i % 3) * (CGalleryDockingPanesSection::kFrameWidth + 12);
  const int y = rcBody.top + 20 + (i / 3) * (CGalleryDockingPanesSection::kFrameHeight + 24);
  return CRect(x, y, x + CGalleryDockingPanesSection::kFrameWidth,
               y + CGalleryDockingPanesSection::kFrameHeight);
}

// A read-only text box to fill a pane.
void AttachText(CXTPDockingPane *pPane, CWnd *pParent, LPCTSTR lpszText) {
  HWND hEdit = ::CreateWindowEx(0, L"EDIT", lpszText, WS_CHILD | ES_MULTILINE | ES_READONLY, 0, 0, 0, 0,
                                pParent->GetSafeHwnd(), nullptr, ::GetModuleHandle(nullptr), nullptr);
  ::SendMessage(hEdit, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  pPane->Attach(CWnd::FromHandle(hEdit));
}

// A frame whose floating pane comes and goes with it. Floating frames are
// top-level windows, which the gallery's pages do not hide: the pane is
// floated the first time the page shows (when the frame's place on the
// screen is known) and its frame is hidden and shown with the page.
class CPanesFrame : public CFrameWnd {
public:
  void SetFloatingPane(CXTPDockingPaneManager *pManager, CXTPDockingPane *pPane) {
    m_pManager = pManager;
    m_pFloating = pPane;
  }

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_SHOWWINDOW && m_pFloating != nullptr) {
      // The first floating waits until the gallery's own frame is up and placed.
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
    CRect rc;
    GetWindowRect(&rc);
    m_pManager->FloatPane(m_pFloating, CRect(rc.right + 24, rc.top + 16, rc.right + 204, rc.top + 146));
  }

  static const UINT kFloatLater = WM_APP + 1;
  CXTPDockingPaneManager *m_pManager = nullptr;
  CXTPDockingPane *m_pFloating = nullptr;
  BOOL m_bFloated = FALSE;
};

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

void CGalleryDockingPanesSection::Draw(CDC *pDC, const CRect &rcBody) {
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
  for (int i = 0; i < static_cast<int>(std::size(kThemes)); i++) {
    const CRect rc = FrameRect(rcBody, i);
    pDC->TextOut(rc.left, rc.top - 17, kThemes[i].lpszName);
  }
}

void CGalleryDockingPanesSection::Create(CWnd *pParent, const CRect &rcBody) {
  // A pane that joins a tab group takes the focus; the gallery keeps its own.
  HWND hFocus = ::GetFocus();
  for (int i = 0; i < static_cast<int>(std::size(kThemes)); i++) {
    const CRect rc = FrameRect(rcBody, i);
    auto *pFrame = new CPanesFrame; // deleted with its window
    if (!pFrame->CreateEx(
            WS_EX_CLIENTEDGE,
            AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), ::GetSysColorBrush(COLOR_APPWORKSPACE)),
            L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, rc.left, rc.top, rc.Width(),
            rc.Height(), pParent->GetSafeHwnd(), nullptr))
      continue;
    auto pManager = std::make_unique<CXTPDockingPaneManager>();
    pManager->InstallInFrame(pFrame);
    pManager->SetTheme(kThemes[i].nTheme);
    pManager->m_bShowMaximizeButton = i % 2 == 1;
    CXTPDockingPane *pLog = pManager->CreatePane(101, CRect(0, 0, 150, 70), xtpPaneDockBottom);
    pLog->SetTitle(L"Log");
    AttachText(pLog, pFrame, L"Fast search of X: started\r\n812 files found");
    CXTPDockingPane *pFolders = pManager->CreatePane(102, CRect(0, 0, 100, 100), xtpPaneDockLeft);
    pFolders->SetTitle(L"Folders");
    AttachText(pFolders, pFrame, L"X:\\\r\n  Documents\r\n  Pictures");
    CXTPDockingPane *pFind = pManager->CreatePane(103, CRect(0, 0, 100, 100), xtpPaneDockRight);
    pFind->SetTitle(L"Find Results\nFind");
    AttachText(pFind, pFrame, L"report.doc\r\nphoto.jpg");
    CXTPDockingPane *pProps = pManager->CreatePane(104, CRect(0, 0, 100, 100), xtpPaneDockBottom, pFind);
    pProps->SetTitle(L"Properties");
    AttachText(pProps, pFrame, L"Size: 12 KB");
    CXTPDockingPane *pSigs = pManager->CreatePane(105, CRect(0, 0, 100, 100), xtpPaneDockBottom, pFind);
    pSigs->SetTitle(L"Signatures");
    AttachText(pSigs, pFrame, L"JPEG, PDF, ZIP");
    pManager->AttachPane(pSigs, pProps);
    // The first frames keep a pane hidden along their left side: its tab
    // slides it out.
    if (i < 3) {
      CXTPDockingPane *pSearch = pManager->CreatePane(106, CRect(0, 0, 120, 100), xtpPaneDockLeft);
      pSearch->SetTitle(L"Search");
      AttachText(pSearch, pFrame, L"Fast search\r\nDeep scan");
      pManager->HidePane(pSearch);
    }
    // Theme 8's frame shows one pane floating beside it while its page is up.
    if (kThemes[i].nTheme == xtpPaneThemeShortcutBar2003) pFrame->SetFloatingPane(pManager.get(), pSigs);
    pFrame->RecalcLayout();
    pFrame->RecalcLayout(); // the second pass shows the windows the first one attached
    m_managers.push_back(std::move(pManager));
  }
  // In the first free place after the frames.
  const CRect rcCheck = FrameRect(rcBody, static_cast<int>(std::size(kThemes)));
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
