#include "GalleryDockSiteSection.h"

#include "Dc.h"
#include "FrameWnd.h"
#include "GalleryOwnedBars.h"
#include "XTPCommandBars.h"
#include "XTPDockBar.h"
#include "XTPDockContext.h"

namespace {

const int kTextHeight = 40;

class CDockSiteFrame : public CFrameWnd {
public:
  std::vector<CXTPToolBar *> *pBars = nullptr;
  // Run once, when the page is first shown and the frame's place on the
  // screen is known.
  std::function<void()> onFirstShow;

protected:
  static constexpr UINT kMsgFirstShow = WM_APP + 1;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_SHOWWINDOW && pBars)
      for (CXTPToolBar *pBar : *pBars)
        if (pBar->IsFloating() && pBar->IsVisible()) pBar->ShowWindow(wParam ? SW_SHOWNA : SW_HIDE);
    // After the message: the gallery's window may itself be shown only
    // later, and would then come above a bar floated now.
    if (message == WM_SHOWWINDOW && wParam && onFirstShow) PostMessage(kMsgFirstShow);
    if (message == kMsgFirstShow && onFirstShow) {
      std::function<void()> first = std::move(onFirstShow);
      onFirstShow = nullptr;
      first();
      return 0;
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
  }
};

} // namespace

CGalleryDockSiteSection::CGalleryDockSiteSection(CXTPPaintManager *pTheme, LPCTSTR lpszIntro)
    : m_lpszIntro(lpszIntro) {
  m_pCommandBars = new CXTPCommandBars;
  m_pCommandBars->SetPaintManager(pTheme);
  m_pCommandBars->GetCommandBarsOptions()->bDblClickFloat = TRUE;
}

CGalleryDockSiteSection::~CGalleryDockSiteSection() {
  DestroyOwnedBars(m_bars);
  m_pCommandBars->InternalRelease();
}

void CGalleryDockSiteSection::Draw(CDC *pDC, const CRect &rcBody) {
  CRect rcText(rcBody.left + 10, rcBody.top, rcBody.right - 10, rcBody.top + kTextHeight);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
  pDC->DrawText(CString(m_lpszIntro), &rcText, DT_WORDBREAK | DT_LEFT);
}

BOOL CGalleryDockSiteSection::CreateFrame(CWnd *pParent, const CRect &rcBody, int cxFrame) {
  auto *pFrame = new CDockSiteFrame;
  pFrame->pBars = &m_bars;
  m_pFrame = pFrame;
  const int x = rcBody.left + 10;
  const CRect rcFrame(x, rcBody.top + kTextHeight, x + cxFrame, rcBody.bottom - 4);
  if (!m_pFrame->CreateEx(
          WS_EX_CLIENTEDGE,
          AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), ::GetSysColorBrush(COLOR_APPWORKSPACE)),
          L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rcFrame.left, rcFrame.top, rcFrame.Width(),
          rcFrame.Height(), pParent->GetSafeHwnd(), nullptr))
    return FALSE;
  const DWORD kStyles[4] = {kDockStyleTop, kDockStyleBottom, kDockStyleLeft, kDockStyleRight};
  const UINT kIds[4] = {kDockBarIdTop, kDockBarIdBottom, kDockBarIdLeft, kDockBarIdRight};
  for (int i = 0; i < 4; i++) {
    auto pDock = std::make_unique<CXTPDockBar>(m_pCommandBars);
    pDock->Create(m_pFrame, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | kStyles[i], kIds[i]);
    m_dockBars.push_back(std::move(pDock));
  }
  return TRUE;
}

void CGalleryDockSiteSection::AddToFrame(CXTPToolBar *pBar, LPCTSTR lpszTitle) {
  pBar->SetCommandBars(m_pCommandBars);
  pBar->SetOwnerWindow(m_pFrame->GetSafeHwnd());
  pBar->SetSite(this);
  pBar->SetTitle(lpszTitle);
  m_bars.push_back(pBar);
}

void CGalleryDockSiteSection::FloatOnFirstShow(CXTPToolBar *pBar,
                                               std::function<CPoint(const CRect &rcScreenClient)> where,
                                               std::function<void()> then) {
  static_cast<CDockSiteFrame *>(m_pFrame)->onFirstShow = [this, pBar, where, then] {
    CRect rcClient;
    m_pFrame->GetClientRect(&rcClient);
    m_pFrame->ClientToScreen(&rcClient);
    if (CXTPDockContext *pContext = pBar->GetDockingContext()) {
      pContext->m_ptMRUFloatPos = where(rcClient);
      pContext->ToggleDocking();
    }
    m_pCommandBars->GetCommandBarsOptions()->bDirtyState = FALSE;
    if (then) then();
  };
}

void CGalleryDockSiteSection::RecalcFrameLayout(CXTPToolBar *) {
  if (m_pFrame && m_pFrame->GetSafeHwnd()) m_pFrame->RecalcLayout();
}

BOOL CGalleryDockSiteSection::DockBarAt(CXTPToolBar *pBar, XTPBarPosition position) {
  if (position == xtpBarFloating) return FloatCommandBar(pBar);
  return DockCommandBar(pBar, nullptr, GetDockBar(position));
}

CXTPDockBar *CGalleryDockSiteSection::GetDockBar(int nPosition) const {
  return nPosition >= 0 && nPosition < static_cast<int>(m_dockBars.size()) ? m_dockBars[nPosition].get()
                                                                           : nullptr;
}
