#include "GalleryBarWindowSection.h"

#include "XTPCommandBar.h"
#include "XTPCommandBars.h"
#include "XTPControlButton.h"
#include "XTPDefaultTheme.h"
#include "WindowDc.h"

namespace {

const LPCTSTR kRowNames[CGalleryBarWindowSection::kRows] = {L"Selected by keyboard", L"Cues hidden until Alt",
                                                            L"Customise: drop marker"};

// A bar of the gallery: kind and position are set here, and its controls are
// laid out in a row from the theme's measures.
class CGalleryLiveBar : public CXTPCommandBar {
public:
  CGalleryLiveBar(XTPBarType type, XTPBarPosition position) {
    m_barType = type;
    m_barPosition = position;
  }
  void OnRecalcLayout() override {
    if (!GetSafeHwnd()) return;
    CClientDC dc(this);
    CFont *pOld = dc.SelectObject(GetPaintManager()->GetCommandBarFont(this));
    int x = 2;
    const int nHeight = GetBarClientRect().Height();
    for (int i = 0; i < GetControlCount(); i++) {
      CXTPControl *pControl = GetControl(i);
      if (pControl->GetBeginGroup() && i > 0) x += 6;
      const CSize sz = GetPaintManager()->DrawControl(&dc, pControl, FALSE);
      pControl->SetRect(CRect(x, (nHeight - sz.cy) / 2, x + sz.cx, (nHeight + sz.cy) / 2));
      x += sz.cx;
    }
    dc.SelectObject(pOld);
    Redraw();
  }
};

} // namespace

CGalleryBarWindowSection::CGalleryBarWindowSection() {
  m_pCommandBars = new CXTPCommandBars;
  m_pCustomizeBars = new CXTPCommandBars;
  m_pTheme = new CXTPDefaultTheme;
  m_pHiddenCuesTheme = new CXTPDefaultTheme;
  m_pHiddenCuesTheme->SetKeyboardCuesShown(FALSE);
}

CGalleryBarWindowSection::~CGalleryBarWindowSection() {
  for (CXTPCommandBar *pBar : m_bars) {
    pBar->CancelTracking();
    pBar->InternalRelease();
  }
  m_pTheme->InternalRelease();
  m_pHiddenCuesTheme->InternalRelease();
  m_pCommandBars->InternalRelease();
  m_pCustomizeBars->InternalRelease();
}

void CGalleryBarWindowSection::Create(CWnd *pParent, const CRect &rcBody) {
  for (int nRow = 0; nRow < kRows; nRow++) {
    const BOOL bMenu = nRow < 2;
    auto *pBar = new CGalleryLiveBar(bMenu ? xtpBarTypeMenuBar : xtpBarTypeNormal, xtpBarTop);
    CXTPDefaultTheme *pTheme = nRow == 1 ? m_pHiddenCuesTheme : m_pTheme;
    pTheme->InternalAddRef();
    pBar->SetPaintManager(pTheme);
    pBar->SetCommandBars(nRow == 2 ? m_pCustomizeBars : m_pCommandBars);
    pBar->SetOwnerWindow(pParent->GetSafeHwnd());
    m_bars.push_back(pBar);
    const CRect rc(rcBody.left + kLabelWidth, rcBody.top + nRow * kRowHeight + 4,
                   rcBody.left + kLabelWidth + 420, rcBody.top + nRow * kRowHeight + 4 + 24);
    if (!pBar->CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW)), L"",
                        WS_CHILD | WS_VISIBLE, rc, pParent, 0x100 + nRow))
      continue;
    if (bMenu) {
      for (LPCTSTR lpszCaption : {L"&File", L"&Edit", L"&View", L"&Tools", L"&Help"}) {
        CXTPControl *pControl = pBar->GetControls()->Add(xtpControlButton, 0);
        pControl->SetCaption(lpszCaption);
        pControl->SetStyle(xtpButtonCaption);
        pControl->SetFlags(8); // no update handler decides their state
      }
    } else {
      for (LPCTSTR lpszCaption : {L"New", L"Open", L"Save", L"Print", L"Find"}) {
        CXTPControl *pControl = pBar->GetControls()->Add(xtpControlButton, 0);
        pControl->SetCaption(lpszCaption);
        pControl->SetStyle(xtpButtonCaption);
        pControl->SetFlags(8);
      }
      pBar->GetControl(3)->SetBeginGroup(TRUE);
    }
    pBar->OnRecalcLayout();
  }
  if (m_bars.size() < kRows) return;
  // The first bar as Alt+E leaves it: Edit selected by keyboard (without
  // the tracking itself, which would take the gallery's keys).
  m_bars[0]->SetSelected(1, TRUE);
  // The third in customise mode, "Open" selected.
  m_pCustomizeBars->SetCustomizeMode(TRUE);
  m_pCustomizeBars->SetDragControl(m_bars[2]->GetControl(1));
}

void CGalleryBarWindowSection::Draw(CDC *pDC, const CRect &rcBody) {
  // A drop about to land after "Save": drag-over marks only a bar on screen.
  if (m_bars.size() == kRows && m_bars[2]->GetDropMarker().IsRectEmpty() &&
      ::IsWindowVisible(m_bars[2]->GetSafeHwnd())) {
    DWORD dwEffect = DROPEFFECT_COPY;
    const CRect rcSave = m_bars[2]->GetControl(2)->GetRect();
    m_bars[2]->OnCustomizeDragOver(m_bars[2]->GetControl(4), CPoint(rcSave.right - 2, rcSave.CenterPoint().y),
                                   dwEffect);
  }
  for (int nRow = 0; nRow < kRows; nRow++)
    pDC->TextOut(rcBody.left + 4, rcBody.top + nRow * kRowHeight + 8, kRowNames[nRow]);
}
