#include "GalleryToolBarSection.h"

#include "XTPCommandBars.h"
#include "XTPDefaultTheme.h"
#include "XTPToolBar.h"

namespace {

const LPCTSTR kRowNames[CGalleryToolBarSection::kRows] = {L"Docked", L"Narrowed: chevron", L"Floating"};
const LPCTSTR kCaptions[] = {L"New", L"Open", L"Save", L"Cut", L"Copy", L"Paste", L"Find", L"Print"};
const int kWidths[CGalleryToolBarSection::kRows] = {420, 190, 0};

} // namespace

CGalleryToolBarSection::CGalleryToolBarSection() {
  m_pCommandBars = new CXTPCommandBars;
  m_pCommandBars->SetPaintManager(new CXTPDefaultTheme);
  m_pCommandBars->GetCommandBarsOptions()->bShowExpandButtonAlways = FALSE;
}

CGalleryToolBarSection::~CGalleryToolBarSection() {
  for (CXTPToolBar *pBar : m_bars) {
    pBar->CancelTracking();
    pBar->InternalRelease();
  }
  m_pCommandBars->InternalRelease();
}

void CGalleryToolBarSection::Create(CWnd *pParent, const CRect &rcBody) {
  for (int nRow = 0; nRow < kRows; nRow++) {
    auto *pBar = new CXTPToolBar;
    pBar->SetCommandBars(m_pCommandBars);
    pBar->SetOwnerWindow(pParent->GetSafeHwnd());
    pBar->SetFlags(0x3F);
    pBar->SetTitle(L"Standard");
    m_bars.push_back(pBar);
    const BOOL bFloating = kWidths[nRow] == 0;
    if (bFloating) static_cast<CXTPCommandBar *>(pBar)->SetPosition(xtpBarFloating);
    const UINT ids[] = {1, 2, 3, 0, 4, 5, 6, 0, 7, 8};
    pBar->SetButtons(ids, 10);
    for (int i = 0; i < pBar->GetControlCount(); i++) {
      CXTPControl *pControl = pBar->GetControl(i);
      pControl->SetCaption(kCaptions[i]);
      pControl->SetStyle(xtpButtonCaption);
      pControl->SetFlags(8); // no update handler decides their state
    }
    CSize sz;
    if (bFloating) {
      pBar->SetMRUWidth(170);
      sz = pBar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
    } else {
      sz = pBar->CalcDockedLayout(kWidths[nRow], LM_HORZ | LM_HORZDOCK | LM_COMMIT | LM_HIDEWRAP);
    }
    const CRect rc(CPoint(rcBody.left + kLabelWidth, rcBody.top + nRow * kRowHeight + 4), sz);
    if (!pBar->CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW)), L"",
                        WS_CHILD | WS_VISIBLE, rc, pParent, 0x200 + nRow))
      continue;
    pBar->SetVisible(TRUE);
  }
}

void CGalleryToolBarSection::Draw(CDC *pDC, const CRect &rcBody) {
  for (int nRow = 0; nRow < kRows; nRow++)
    pDC->TextOut(rcBody.left + 4, rcBody.top + nRow * kRowHeight + 8, kRowNames[nRow]);
}
