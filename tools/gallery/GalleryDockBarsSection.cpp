#include "GalleryDockBarsSection.h"

#include <algorithm>

#include "FrameWnd.h"
#include "WindowDc.h"
#include "XTPCommandBar.h"
#include "XTPCommandBars.h"
#include "XTPControlButton.h"
#include "XTPDefaultTheme.h"
#include "XTPDockBar.h"
#include "XTPPaintManager.h"

namespace {

// A bar of caption buttons that lays them out along its side: in one line,
// or wrapped into lines when the dock bar lets it and gives it less room.
class CGalleryDockedBar : public CXTPCommandBar {
public:
  CGalleryDockedBar() { m_barType = xtpBarTypeNormal; }
  BOOL IsVisible() const override { return m_hWnd != nullptr && (GetStyle() & WS_VISIBLE) != 0; }
  CSize CalcDynamicLayout(int nLength, DWORD dwMode) override {
    const BOOL bHorizontal = (dwMode & xtpDockModeHorizontal) != 0;
    const int nLimit = (dwMode & xtpDockModeWrap) ? std::max(nLength, 1) : 32767;
    int nAlong = 4, nLine = 0, nMaxAlong = 0, nLines = 1;
    for (int i = 0; i < GetControlCount(); i++) {
      const CSize sz = ButtonSize(i);
      const int nStep = bHorizontal ? sz.cx : sz.cy;
      if (nAlong + nStep + 4 > nLimit && i > 0) {
        nLines++;
        nAlong = 4;
      }
      if (dwMode & xtpDockModeCommit) {
        const int nAcross = 2 + (nLines - 1) * kLine;
        GetControl(i)->SetRect(bHorizontal ? CRect(nAlong, nAcross, nAlong + sz.cx, nAcross + sz.cy)
                                           : CRect(nAcross, nAlong, nAcross + sz.cx, nAlong + sz.cy));
      }
      nAlong += nStep;
      nMaxAlong = std::max(nMaxAlong, nAlong + 4);
      nLine = std::max<int>(nLine, bHorizontal ? sz.cy : sz.cx);
    }
    const int nThick = nLines * kLine + 2;
    if (dwMode & xtpDockModeStretch) nMaxAlong = nLength;
    if (dwMode & xtpDockModeCommit) Redraw();
    return bHorizontal ? CSize(nMaxAlong, nThick) : CSize(nThick, nMaxAlong);
  }

private:
  static const int kLine = 24;
  CSize ButtonSize(int i) const {
    CXTPControl *pControl = GetControl(i);
    const int nText = pControl->GetCaption().GetLength();
    return IsVerticalPosition() ? CSize(22, 22) : CSize(12 + nText * 7, 22);
  }
};

struct BarSpec {
  int nSide; // index into the dock bars: top, bottom, left, right
  int nRow;  // bars with the same row share it (horizontal sides)
  DWORD dwFlags;
  std::vector<LPCTSTR> captions;
};

} // namespace

CGalleryDockBarsSection::CGalleryDockBarsSection() {
  m_pCommandBars = new CXTPCommandBars;
  m_pCommandBars->SetPaintManager(new CXTPDefaultTheme);
}

CGalleryDockBarsSection::~CGalleryDockBarsSection() {
  for (CXTPCommandBar *pBar : m_bars) pBar->InternalRelease();
  m_pCommandBars->InternalRelease();
}

void CGalleryDockBarsSection::Draw(CDC *, const CRect &) {}

void CGalleryDockBarsSection::Create(CWnd *pParent, const CRect &rcBody) {
  CFrameWnd *pFrame = new CFrameWnd; // deleted with its window
  const CRect rcFrame(rcBody.left + 10, rcBody.top, rcBody.left + 560, rcBody.bottom - 4);
  if (!pFrame->CreateEx(
          WS_EX_CLIENTEDGE,
          AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), ::GetSysColorBrush(COLOR_APPWORKSPACE)),
          L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rcFrame.left, rcFrame.top, rcFrame.Width(),
          rcFrame.Height(), pParent->GetSafeHwnd(), nullptr))
    return;
  const struct {
    DWORD dwStyle;
    UINT nId;
  } kSides[] = {{kDockStyleTop, kDockBarIdTop},
                {kDockStyleBottom, kDockBarIdBottom},
                {kDockStyleLeft, kDockBarIdLeft},
                {kDockStyleRight, kDockBarIdRight}};
  for (const auto &side : kSides) {
    auto pDock = std::make_unique<CXTPDockBar>(m_pCommandBars);
    pDock->Create(pFrame, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | side.dwStyle, side.nId);
    m_dockBars.push_back(std::move(pDock));
  }
  const BarSpec kBars[] = {
      {0, 0, 0, {L"File", L"Edit", L"View", L"Help"}},
      {0, 0, kDockBarFlagWrap, {L"Scan", L"Stop", L"Recover", L"Filter", L"Find"}},
      {0, 1, kDockBarFlagStretch, {L"Address", L"Go"}},
      {1, 0, kDockBarFlagStretch, {L"Ready"}},
      {2, 0, 0, {L"A", L"B", L"C"}},
      {3, 0, kDockBarFlagWrap, {L"1", L"2", L"3", L"4", L"5"}},
  };
  int nRowOf[4] = {-1, -1, -1, -1};
  int nNextStart[4] = {};
  for (const BarSpec &spec : kBars) {
    CXTPDockBar &dock = *m_dockBars[spec.nSide];
    auto *pBar = new CGalleryDockedBar;
    pBar->SetCommandBars(m_pCommandBars);
    pBar->SetFlags(spec.dwFlags);
    pBar->StorePosition(static_cast<XTPBarPosition>(dock.GetPosition()));
    pBar->SetOwnerWindow(pFrame->GetSafeHwnd());
    m_bars.push_back(pBar);
    if (!pBar->CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW)), L"",
                        WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), &dock, 0))
      continue;
    for (LPCTSTR lpszCaption : spec.captions) {
      CXTPControl *pControl = pBar->GetControls()->Add(xtpControlButton, 0);
      pControl->SetCaption(lpszCaption);
      pControl->SetStyle(xtpButtonCaption);
    }
    if (spec.nRow == nRowOf[spec.nSide]) {
      // Beside the previous bar of the row: a rectangle whose centre lies in it.
      pFrame->RecalcLayout();
      CRect rc(nNextStart[spec.nSide], 0, nNextStart[spec.nSide] + 100, 10);
      dock.ClientToScreen(&rc);
      dock.DockCommandBar(pBar, &rc);
    } else {
      dock.DockCommandBar(pBar);
    }
    nRowOf[spec.nSide] = spec.nRow;
    nNextStart[spec.nSide] += 200;
  }
  pFrame->RecalcLayout();
}
