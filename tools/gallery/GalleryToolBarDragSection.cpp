#include "GalleryToolBarDragSection.h"

#include <functional>

#include "FrameWnd.h"
#include "XTPCommandBars.h"
#include "XTPDefaultTheme.h"
#include "XTPDockBar.h"
#include "XTPDockContext.h"

namespace {

const int kTextHeight = 40;

// The demonstration's frame: its floating toolbars are popups, not its
// children, so they follow it when the gallery shows another page.
class CDragDemoFrame : public CFrameWnd {
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

CGalleryToolBarDragSection::CGalleryToolBarDragSection() {
  m_pCommandBars = new CXTPCommandBars;
  m_pCommandBars->SetPaintManager(new CXTPDefaultTheme);
  m_pCommandBars->GetCommandBarsOptions()->bDblClickFloat = TRUE;
}

CGalleryToolBarDragSection::~CGalleryToolBarDragSection() {
  for (CXTPToolBar *pBar : m_bars) {
    pBar->CancelTracking();
    if (pBar->GetSafeHwnd()) pBar->DestroyWindow();
    pBar->InternalRelease();
  }
  m_pCommandBars->InternalRelease();
}

void CGalleryToolBarDragSection::Draw(CDC *pDC, const CRect &rcBody) {
  CRect rcText(rcBody.left + 10, rcBody.top, rcBody.right - 10, rcBody.top + kTextHeight);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
  pDC->DrawText(CString(L"These bars can be dragged: press on a gripper and move it near a side of the frame "
                        L"to dock, into the open to float. Drag a floating bar by its caption, resize it by "
                        L"its edges; a double click on it docks it back, and floats it again."),
                &rcText, DT_WORDBREAK | DT_LEFT);
}

CXTPToolBar *CGalleryToolBarDragSection::AddBar(LPCTSTR lpszTitle, const std::vector<LPCTSTR> &captions,
                                                XTPBarPosition position) {
  auto *pBar = new CXTPToolBar;
  pBar->SetCommandBars(m_pCommandBars);
  pBar->SetOwnerWindow(m_pFrame->GetSafeHwnd());
  pBar->SetSite(this);
  pBar->SetTitle(lpszTitle);
  m_bars.push_back(pBar);
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
  auto *pFrame = new CDragDemoFrame;
  pFrame->pBars = &m_bars;
  m_pFrame = pFrame;
  const CRect rcFrame(rcBody.left + 10, rcBody.top + kTextHeight, rcBody.left + 600, rcBody.bottom - 4);
  if (!m_pFrame->CreateEx(
          WS_EX_CLIENTEDGE,
          AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), ::GetSysColorBrush(COLOR_APPWORKSPACE)),
          L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rcFrame.left, rcFrame.top, rcFrame.Width(),
          rcFrame.Height(), pParent->GetSafeHwnd(), nullptr))
    return;
  const DWORD kStyles[4] = {kDockStyleTop, kDockStyleBottom, kDockStyleLeft, kDockStyleRight};
  const UINT kIds[4] = {kDockBarIdTop, kDockBarIdBottom, kDockBarIdLeft, kDockBarIdRight};
  for (int i = 0; i < 4; i++) {
    auto pDock = std::make_unique<CXTPDockBar>(m_pCommandBars);
    pDock->Create(m_pFrame, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | kStyles[i], kIds[i]);
    m_dockBars.push_back(std::move(pDock));
  }
  AddBar(L"Standard", {L"New", L"Open", L"Save", L"Print"}, xtpBarTop);
  AddBar(L"Scan", {L"Scan", L"Stop", L"Recover"}, xtpBarLeft);
  AddBar(L"View", {L"List", L"Details"}, xtpBarBottom);
  AddBar(L"Tools", {L"Hex", L"Map"}, xtpBarRight);
  // One floating over the frame, floated where a double click would put it.
  CXTPToolBar *pFloating = AddBar(L"Find", {L"Find", L"Next", L"Filter"}, xtpBarTop);
  pFrame->onFirstShow = [this, pFloating] {
    CRect rcClient;
    m_pFrame->GetClientRect(&rcClient);
    m_pFrame->ClientToScreen(&rcClient);
    if (CXTPDockContext *pContext = pFloating->GetDockingContext()) {
      pContext->m_ptMRUFloatPos = rcClient.CenterPoint() - CSize(60, 40);
      pContext->ToggleDocking();
    }
    m_pCommandBars->GetCommandBarsOptions()->bDirtyState = FALSE;
  };
  RecalcFrameLayout(nullptr);
}

void CGalleryToolBarDragSection::RecalcFrameLayout(CXTPToolBar *) {
  if (m_pFrame && m_pFrame->GetSafeHwnd()) m_pFrame->RecalcLayout();
}

BOOL CGalleryToolBarDragSection::DockBarAt(CXTPToolBar *pBar, XTPBarPosition position) {
  if (position == xtpBarFloating) return FloatCommandBar(pBar);
  return DockCommandBar(pBar, nullptr, GetDockBar(position));
}

CXTPDockBar *CGalleryToolBarDragSection::GetDockBar(int nPosition) const {
  return nPosition >= 0 && nPosition < static_cast<int>(m_dockBars.size()) ? m_dockBars[nPosition].get()
                                                                           : nullptr;
}
