#include "GalleryTabsSection.h"

#include "XTPTabAppearance.h"
#include "XTPTabColorSets.h"

namespace {

const LPCTSTR kAppearanceNames[CGalleryTabsSection::kAppearances] = {
    L"0 Page",  L"1 Selected", L"2 Office", L"3 Slanted", L"4 Flat",
    L"5 Visio", L"6 Excel",    L"7 Sloped", L"8 Box",     L"9 Rounded"};
const LPCTSTR kSetNames[CGalleryTabsSection::kSets] = {L"Default", L"Set 2", L"Set 4", L"Set 8 (XP)",
                                                       L"Set 16"};
const LPCTSTR kDemoNames[CGalleryTabsSection::kDemos] = {
    L"Top: scroll, hot, close", L"Bottom (rounded)", L"Left",
    L"Right (rounded)",         L"Compressed",       L"Several rows"};

void Label(CDC *pDC, int x, int y, LPCTSTR lpszText) {
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
  pDC->TextOut(x, y, CString(lpszText));
}

} // namespace

const int CGalleryTabsSection::kSetIds[kSets] = {1, 2, 4, 8, 16};

// --- one strip ---

CGalleryTabStrip::CGalleryTabStrip() {
  m_paint.AddChangeListener(this);
}

CGalleryTabStrip::~CGalleryTabStrip() {
  m_paint.RemoveChangeListener(this);
}

void CGalleryTabStrip::Setup(int nAppearance, int nColorSet, XTPTabPosition nPosition,
                             XTPTabLayoutStyle nLayout, const CRect &rcControl,
                             const std::vector<LPCTSTR> &arrCaptions, int nSelected) {
  m_rcControl = rcControl;
  m_paint.SetAppearance(nAppearance);
  m_paint.SetColor(nColorSet);
  m_paint.SetPosition(nPosition);
  m_paint.SetLayout(nLayout);
  m_paint.m_bShowIcons = m_bIcons;
  m_paint.m_bBoldSelected = TRUE;
  for (LPCTSTR lpszCaption : arrCaptions) AddItem(-1)->SetCaption(lpszCaption);
  SetCurSel(nSelected);
}

void CGalleryTabStrip::Reposition() {
  HDC hDC = ::GetDC(nullptr);
  CDC dc;
  dc.Attach(hDC);
  m_paint.RepositionTabControl(this, &dc, m_rcControl);
  dc.Detach();
  ::ReleaseDC(nullptr, hDC);
}

BOOL CGalleryTabStrip::DrawIcon(CDC *pDC, CPoint pt, CXTPTabManagerItem *pItem, BOOL bDraw,
                                CSize &szIcon) const {
  if (!m_bIcons) return FALSE;
  szIcon = CSize(16, 16);
  if (bDraw) {
    // A small page in the tab's own colour.
    COLORREF clr = CXTPTabPaintManager::ResolveItemColor(pItem->GetRawColor());
    pDC->FillSolidRect(pt.x + 2, pt.y + 1, 12, 14, RGB(90, 90, 90));
    pDC->FillSolidRect(pt.x + 3, pt.y + 2, 10, 12, clr);
    pDC->FillSolidRect(pt.x + 5, pt.y + 5, 6, 1, RGB(60, 60, 60));
    pDC->FillSolidRect(pt.x + 5, pt.y + 8, 6, 1, RGB(60, 60, 60));
  }
  return TRUE;
}

void CGalleryTabStrip::Draw(CDC *pDC, CPoint ptOrigin) {
  int nSaved = pDC->SaveDC();
  pDC->OffsetViewportOrg(ptOrigin.x, ptOrigin.y);
  pDC->IntersectClipRect(m_rcControl);
  m_paint.DrawTabControl(this, pDC, m_rcControl);
  pDC->RestoreDC(nSaved);
}

// --- section ---

CRect CGalleryTabsSection::CellRect(int nAppearance, int nSet) {
  int x = kLabelWidth + nAppearance * kCellWidth;
  int y = kHeader + nSet * (kCellHeight + kRowGap);
  return CRect(x, y, x + kCellWidth - 4, y + kCellHeight);
}

CRect CGalleryTabsSection::DemoRect(int nDemo) {
  const int kWidths[kDemos] = {180, 140, 130, 130, 150, 150};
  int x = 0;
  for (int i = 0; i < nDemo; i++) x += kWidths[i] + 8;
  return CRect(x, kDemoTop + 14, x + kWidths[nDemo], kDemoTop + 14 + kDemoHeight);
}

CGalleryTabsSection::CGalleryTabsSection() {
  // Two tabs per cell: one selected, one not.
  const std::vector<LPCTSTR> arrCells = {L"Ab", L"Cd"};
  for (int a = 0; a < kAppearances; a++) {
    for (int s = 0; s < kSets; s++) {
      auto pStrip = std::make_unique<CGalleryTabStrip>();
      pStrip->Setup(a, kSetIds[s], xtpTabPositionTop, xtpTabLayoutAutoSize, CellRect(a, s), arrCells, 0);
      m_cells.push_back(std::move(pStrip));
    }
  }
  const std::vector<LPCTSTR> arrDemo = {L"Drives", L"Folders", L"Files", L"Log", L"Signatures", L"Find"};
  const std::vector<LPCTSTR> arrShort = {L"Drives", L"Files", L"Log"};
  const struct {
    int appearance, set;
    XTPTabPosition position;
    XTPTabLayoutStyle layout;
    int selected;
  } kDemoSetup[kDemos] = {
      {2, 4, xtpTabPositionTop, xtpTabLayoutAutoSize, 3},
      {9, 4, xtpTabPositionBottom, xtpTabLayoutAutoSize, 1},
      {2, 1, xtpTabPositionLeft, xtpTabLayoutAutoSize, 1},
      {9, 4, xtpTabPositionRight, xtpTabLayoutAutoSize, 1},
      {6, 16, xtpTabPositionTop, xtpTabLayoutCompressed, 1},
      {0, 1, xtpTabPositionTop, xtpTabLayoutMultiRow, 4},
  };
  for (int d = 0; d < kDemos; d++) {
    auto pStrip = std::make_unique<CGalleryTabStrip>();
    pStrip->m_bIcons = d == 0 || d == 2;
    if (d == 0) {
      pStrip->GetPaintManager()->m_bHotTracking = TRUE;
      pStrip->FindNavigateButton(xtpTabNavigateButtonClose)->SetFlags(xtpTabNavigateButtonAutomatic);
    }
    BOOL bShort = d == 1 || d == 3;
    pStrip->Setup(kDemoSetup[d].appearance, kDemoSetup[d].set, kDemoSetup[d].position, kDemoSetup[d].layout,
                  DemoRect(d), bShort ? arrShort : arrDemo, kDemoSetup[d].selected);
    if (d == 0) {
      // Scrolled one step, with a tab under the mouse.
      pStrip->OnScroll(TRUE);
      pStrip->SetHighlightedItem(pStrip->GetItem(2));
    }
    m_demos.push_back(std::move(pStrip));
  }
}

void CGalleryTabsSection::Draw(CDC *pDC, const CRect &rcBody) {
  const CPoint org = rcBody.TopLeft();
  CGdiObject *pOld = pDC->SelectStockObject(DEFAULT_GUI_FONT);
  for (int a = 0; a < kAppearances; a++)
    Label(pDC, org.x + CellRect(a, 0).left, org.y - 1, kAppearanceNames[a]);
  for (int s = 0; s < kSets; s++) {
    Label(pDC, org.x, org.y + CellRect(0, s).top + 12, kSetNames[s]);
    for (int a = 0; a < kAppearances; a++) GetCell(a, s).Draw(pDC, org);
  }
  for (int d = 0; d < kDemos; d++) {
    Label(pDC, org.x + DemoRect(d).left, org.y + DemoRect(d).top - 15, kDemoNames[d]);
    GetDemo(d).Draw(pDC, org);
  }
  pDC->SelectObject(pOld);
}
