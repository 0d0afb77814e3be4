#include "GalleryMenuBarSection.h"

#include "Menu.h"
#include "XTPCommandBars.h"
#include "XTPDefaultTheme.h"
#include "XTPMenuBar.h"

namespace {

const LPCTSTR kRowNames[CGalleryMenuBarSection::kRows] = {L"At rest", L"Alt: first menu hot"};

// The menu the gallery's bars show; a resource would tie the gallery to ids.
HMENU MakeMenu() {
  HMENU hMenu = ::CreateMenu();
  const struct {
    LPCTSTR caption;
    UINT id;
  } kPopups[] = {{L"&File", 57601}, {L"&Edit", 57634}, {L"&View", 59393}, {L"&Tools", 32800}};
  for (const auto &p : kPopups) {
    HMENU hPopup = ::CreatePopupMenu();
    ::AppendMenuW(hPopup, MF_STRING, p.id, L"&Item");
    ::AppendMenuW(hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(hPopup), p.caption);
  }
  ::AppendMenuW(hMenu, MF_STRING, 57670, L"&Help");
  return hMenu;
}

} // namespace

CGalleryMenuBarSection::CGalleryMenuBarSection() {
  m_pCommandBars = new CXTPCommandBars;
  m_pCommandBars->SetPaintManager(new CXTPDefaultTheme);
}

CGalleryMenuBarSection::~CGalleryMenuBarSection() {
  for (CXTPMenuBar *pBar : m_bars) {
    pBar->CancelTracking();
    pBar->InternalRelease();
  }
  m_pCommandBars->InternalRelease();
}

void CGalleryMenuBarSection::Create(CWnd *pParent, const CRect &rcBody) {
  for (int nRow = 0; nRow < kRows; nRow++) {
    auto *pBar = new CXTPMenuBar;
    pBar->SetCommandBars(m_pCommandBars);
    pBar->SetOwnerWindow(pParent->GetSafeHwnd());
    pBar->SetTitle(L"Menu Bar");
    // Drawn and driven as a bar along a frame's top.
    pBar->StorePosition(xtpBarTop);
    m_bars.push_back(pBar);
    CMenu menu;
    menu.Attach(MakeMenu());
    pBar->LoadMenu(&menu);
    for (int i = 0; i < pBar->GetControlCount(); i++) pBar->GetControl(i)->SetFlags(8);
    const CSize sz = pBar->CalcDockedLayout(420, LM_HORZ | LM_HORZDOCK | LM_COMMIT | LM_HIDEWRAP);
    const CRect rc(CPoint(rcBody.left + kLabelWidth, rcBody.top + nRow * kRowHeight + 4), sz);
    if (!pBar->CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW)), L"",
                        WS_CHILD | WS_VISIBLE, rc, pParent, 0x280 + nRow))
      continue;
    pBar->SetVisible(TRUE);
    // The look after Alt, without taking the keyboard from the gallery.
    if (nRow == 1) pBar->SetSelected(0, TRUE);
  }
}

void CGalleryMenuBarSection::Draw(CDC *pDC, const CRect &rcBody) {
  for (int nRow = 0; nRow < kRows; nRow++)
    pDC->TextOut(rcBody.left + 4, rcBody.top + nRow * kRowHeight + 8, kRowNames[nRow]);
}
