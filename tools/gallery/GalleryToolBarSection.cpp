#include "GalleryToolBarSection.h"

#include <cstdlib>
#include <cstring>

#include "XTPCommandBars.h"
#include "XTPPopupBar.h"
#include "XTPDefaultTheme.h"
#include "XTPToolBar.h"

namespace {

const LPCTSTR kRowNames[CGalleryToolBarSection::kRows] = {L"Docked", L"Narrowed: chevron", L"Floating",
                                                          L"Add or Remove Buttons"};
const LPCTSTR kCaptions[] = {L"New", L"Open", L"Save", L"Cut", L"Copy", L"Paste", L"Find", L"Print"};
const int kWidths[CGalleryToolBarSection::kRows] = {420, 190, 0, 300};
const int kNarrowedRow = 1;
const int kAddRemoveRow = 3;

// The site of the gallery's bars: it answers the customise command, so the
// chevron's "Add or Remove Buttons" lists the bar's buttons.
class CustomizeSite : public CWnd {
public:
  afx_msg void OnCustomize() {}
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CustomizeSite, CWnd)
ON_COMMAND(35001, OnCustomize)
END_MESSAGE_MAP()

CGalleryToolBarSection *s_pOpenOnStart = nullptr;

void CALLBACK OpenOnStart(HWND, UINT, UINT_PTR nIDEvent, DWORD) {
  ::KillTimer(nullptr, nIDEvent);
  if (s_pOpenOnStart) s_pOpenOnStart->OpenAddOrRemoveList();
}

} // namespace

CGalleryToolBarSection::CGalleryToolBarSection() {
  m_pCommandBars = new CXTPCommandBars;
  m_pCommandBars->SetPaintManager(new CXTPDefaultTheme);
  m_pCommandBars->GetCommandBarsOptions()->bShowExpandButtonAlways = FALSE;
}

CGalleryToolBarSection::~CGalleryToolBarSection() {
  if (s_pOpenOnStart == this) s_pOpenOnStart = nullptr;
  for (CXTPToolBar *pBar : m_bars) {
    pBar->CancelTracking();
    pBar->InternalRelease();
  }
  m_pCommandBars->InternalRelease();
  if (m_pCustomizeSite) {
    m_pCustomizeSite->DestroyWindow();
    delete m_pCustomizeSite;
  }
}

void CGalleryToolBarSection::Create(CWnd *pParent, const CRect &rcBody) {
  m_pCustomizeSite = new CustomizeSite;
  if (m_pCustomizeSite->CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD, 0, 0, 0, 0, pParent->GetSafeHwnd(),
                                 nullptr))
    m_pCommandBars->SetSite(m_pCustomizeSite);
  for (int nRow = 0; nRow < kRows; nRow++) {
    auto *pBar = new CXTPToolBar;
    pBar->SetCommandBars(m_pCommandBars);
    pBar->SetOwnerWindow(pParent->GetSafeHwnd());
    pBar->SetFlags(0x3F);
    pBar->SetTitle(L"Standard");
    m_bars.push_back(pBar);
    const BOOL bFloating = kWidths[nRow] == 0;
    pBar->StorePosition(bFloating ? xtpBarFloating : xtpBarTop);
    const UINT ids[] = {1, 2, 3, 0, 4, 5, 6, 0, 7, 8};
    pBar->SetButtons(ids, 10);
    for (int i = 0; i < pBar->GetControlCount(); i++) {
      CXTPControl *pControl = pBar->GetControl(i);
      pControl->SetCaption(kCaptions[i]);
      pControl->SetStyle(xtpButtonCaption);
      pControl->SetFlags(8); // no update handler decides their state
    }
    if (nRow == kAddRemoveRow) {
      // The program's buttons; the user then took "Copy" off the bar.
      pBar->SetShowExpandButtonAlways(TRUE);
      pBar->GetControls()->CreateOriginalControls();
      pBar->GetControl(4)->SetHideFlag(xtpHideCustomize, TRUE);
    }
    CSize sz;
    if (bFloating) {
      pBar->SetMRUWidth(170);
      sz = pBar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
    } else {
      sz = pBar->CalcDockedLayout(kWidths[nRow], LM_HORZ | LM_HORZDOCK | LM_COMMIT | LM_HIDEWRAP);
    }
    const CRect rc(CPoint(rcBody.left + kLabelWidth, rcBody.top + RowTop(nRow) + 4), sz);
    if (!pBar->CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW)), L"",
                        WS_CHILD | WS_VISIBLE, rc, pParent, 0x200 + nRow))
      continue;
    pBar->SetVisible(TRUE);
  }
  if (std::getenv("QV_GALLERY_OPEN_ADDREMOVE")) {
    s_pOpenOnStart = this;
    ::SetTimer(nullptr, 0, 1500, OpenOnStart);
  }
}

void CGalleryToolBarSection::OpenAddOrRemoveList() {
  // "hidden": the narrowed bar's chevron, its buttons without room in a
  // popup laid out as a toolbar; otherwise down to the last row's list.
  const char *psz = std::getenv("QV_GALLERY_OPEN_ADDREMOVE");
  const BOOL bHidden = psz && std::strcmp(psz, "hidden") == 0;
  CXTPToolBar *pBar = GetBar(bHidden ? kNarrowedRow : kAddRemoveRow);
  if (!pBar || !pBar->GetSafeHwnd() || !pBar->IsWindowVisible()) return;
  CXTPControl *pExpand = pBar->GetControls()->FindControl(XTP_ID_TOOLBAR_EXPAND);
  if (!pExpand) return;
  pBar->SetTrackingMode(TRUE, FALSE, TRUE);
  pBar->SetSelected(pExpand->GetIndex(), TRUE);
  pBar->SetPopuped(pExpand->GetIndex(), TRUE);
  // Down the chevron's popup to the bar's list, as the arrow keys go.
  CXTPCommandBar *pPopup = pExpand->GetCommandBar();
  for (int nLevel = 0; pPopup && nLevel < (bHidden ? 0 : 2); nLevel++) {
    const int nLast = pPopup->GetControlCount() - 1;
    const int nIndex = nLevel == 0 ? nLast : 0;
    if (nIndex < 0) return;
    pPopup->SetSelected(nIndex, TRUE);
    pPopup->SetPopuped(nIndex, TRUE);
    pPopup = pPopup->GetControl(nIndex)->GetCommandBar();
  }
}

void CGalleryToolBarSection::Draw(CDC *pDC, const CRect &rcBody) {
  for (int nRow = 0; nRow < kRows; nRow++)
    pDC->TextOut(rcBody.left + 4, rcBody.top + RowTop(nRow) + 8, kRowNames[nRow]);
}
