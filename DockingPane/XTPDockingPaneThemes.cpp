#include "XTPDockingPaneThemes.h"

#include <algorithm>

#include "XTPDockingPane.h"
#include "XTPDockingPaneMiniWnd.h"
#include "XTPDockingPaneSplitterContainer.h"
#include "XTPDockingPaneTabbedContainer.h"
#include "XTPDrawHelpers.h"
#include "XTPOfficeTheme.h"
#include "XTPTabPaintManager.h"

namespace {

// Visual-style parts and states of the classes the themes draw with.
const int kWindowSmallCaption = 2, kWindowSmallFrameLeft = 10, kWindowSmallFrameRight = 11,
          kWindowSmallFrameBottom = 12;
const int kExplorerHeaderClose = 2, kExplorerHeaderPin = 3;
const int kToolbarButton = 1, kToolbarHot = 2, kToolbarPressed = 3;

void FrameRect(CDC *pDC, const CRect &rc, COLORREF clr) {
  pDC->Draw3dRect(rc, clr, clr);
}

BOOL MiniWndActive(CXTPDockingPaneMiniWnd *pPane, BOOL bHighlight) {
  return bHighlight && pPane->IsActive();
}

CString WindowText(CWnd *pWnd) {
  CString str;
  if (pWnd->GetSafeHwnd() != nullptr) pWnd->GetWindowText(str);
  return str;
}

int TitleWidth(CDC *pDC, CFont *pFont, const CString &strTitle) {
  if (strTitle.IsEmpty()) return 0;
  CXTPFontDC font(pDC, pFont);
  CRect rcText(0, 0, 0, 0);
  pDC->DrawText(strTitle, rcText, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  return rcText.Width();
}

} // namespace

BOOL XTPIsCaptionOwnerActive(CXTPDockingPaneCaptionButton *pButton) {
  CXTPDockingPaneBase *pOwner = pButton->GetPane();
  if (pOwner == nullptr) return FALSE;
  if (pOwner->GetType() == xtpPaneTypeTabbedContainer)
    return static_cast<CXTPDockingPaneTabbedContainer *>(pOwner)->IsActive();
  if (pOwner->GetType() == xtpPaneTypeMiniWnd)
    return static_cast<CXTPDockingPaneMiniWnd *>(pOwner)->IsActive();
  return FALSE;
}

// ---------------------------------------------------------------------------
// The floating frames of the default theme's family and of theme 5

void CXTPDockingPaneDefaultTheme::DrawFloatingFrame(CDC *pDC, CXTPDockingPaneMiniWnd *pPane, CRect rc) {
  FrameRect(pDC, rc, GetColor(COLOR_3DFACE));
  rc.DeflateRect(1, 1);
  pDC->Draw3dRect(rc, GetColor(COLOR_3DHIGHLIGHT), GetColor(COLOR_3DSHADOW));
  rc.DeflateRect(1, 1);
  FrameRect(pDC, rc, GetColor(COLOR_3DFACE));
  rc.DeflateRect(1, 1);
  const CRect rcCaption(rc.left, rc.top, rc.right, rc.top + m_nCaptionHeight + 3);
  CXTPBufferDC dc(pDC->GetSafeHdc(), rcCaption);
  dc.FillSolidRect(rcCaption, GetColor(COLOR_3DFACE));
  dc.SetBkMode(TRANSPARENT);
  DrawCaptionPart(&dc, pPane, rcCaption, WindowText(pPane), MiniWndActive(pPane, m_bHighlightActiveCaption));
}

void CXTPDockingPaneTheme5::DrawFloatingFrame(CDC *pDC, CXTPDockingPaneMiniWnd *pPane, CRect rc) {
  const COLORREF clrBorder = GetColor(43);
  for (int i = 0; i < 3; i++) {
    FrameRect(pDC, rc, clrBorder);
    if (i < 2) rc.DeflateRect(1, 1);
  }
  {
    const int nSaved = pDC->SaveDC();
    CXTPOfficeTheme::ExcludeCorners(pDC, rc);
    FrameRect(pDC, rc, m_clrNormalCaptionDark);
    pDC->RestoreDC(nSaved);
  }
  rc.DeflateRect(1, 1);
  CRect rcCaption(rc.left, rc.top, rc.right, rc.top + m_nCaptionHeight + 3);
  const BOOL bActive = MiniWndActive(pPane, m_bHighlightActiveCaption);
  CXTPBufferDC dc(pDC->GetSafeHdc(), rcCaption);
  dc.SetBkMode(TRANSPARENT);
  XTPDrawHelpers()->GradientFill(&dc, rcCaption, bActive ? m_clrActiveCaptionLight : m_clrNormalCaptionLight,
                                 bActive ? m_clrActiveCaptionDark : m_clrNormalCaptionDark, FALSE);
  // The band's bottom corners join the inner ring of the frame.
  pDC->SetPixel(rcCaption.left, rcCaption.bottom, m_clrNormalCaptionDark);
  pDC->SetPixel(rcCaption.right - 1, rcCaption.bottom, m_clrNormalCaptionDark);
  rcCaption.DeflateRect(1, 0);
  DrawCaptionPart(&dc, pPane, rcCaption, WindowText(pPane), bActive);
}

// ---------------------------------------------------------------------------
// The tab colour set of themes 7 and 10

COLORREF XTPFrameGradientColor(COLORREF clrFirst, COLORREF clrSecond, int x, int nFrameLeft, int nSpan) {
  const double w = nSpan > 0 ? static_cast<double>(x - nFrameLeft) / nSpan : 0.0;
  return CXTPDrawHelpers::BlendColors(clrFirst, clrSecond, std::clamp(w, 0.0, 1.0));
}

void CXTPDockingPaneTabColorSet::RefreshMetrics() {
  CXTPTabColorSet::RefreshMetrics();
  if (m_bWhiteSelectedFace) tabFaceSelected.SetCustomValue(0xFFFFFF);
  const COLORREF clrFace = XTPGetColor(COLOR_3DFACE);
  stripFace.SetStandardValue(clrFace, CXTPColorManager::BlendColors(clrFace, XTPGetColor(COLOR_WINDOW), 205));
  themeColorsInUse = FALSE;
  m_bSchemeTabs = FALSE;
  switch (XTPGetColorManager()->GetCurrentSystemTheme()) {
  case xtpSystemThemeBlue:
  case xtpSystemThemeOlive:
    m_bSchemeTabs = TRUE;
    slantHighlight.SetStandardValue(0xFFFFFF);
    break;
  case xtpSystemThemeSilver:
    m_bSchemeTabs = TRUE;
    tabFace.SetStandardValue(0xF7F2F2);
    slantHighlight.SetStandardValue(0xFFFFFF);
    slantOutline.SetStandardValue(0x9C9B91);
    slantBorder.SetStandardValue(0x9C9B91);
    slantFace.SetStandardValue(0xD8BEBE);
    break;
  default:
    break;
  }
  stripFaceAlternate.SetStandardValue(stripFace.clrDark_.GetStandardColor(),
                                      stripFace.clrLight_.GetStandardColor());
}

void CXTPDockingPaneTabColorSet::FillFrameGradient(CDC *pDC, CRect rc, CWnd *pWnd) const {
  CRect rcFrame = rc;
  CWnd *pFrame = pWnd != nullptr && pWnd->GetSafeHwnd() != nullptr ? pWnd->GetParentFrame() : nullptr;
  if (pFrame != nullptr) {
    pFrame->GetClientRect(&rcFrame);
    pFrame->MapWindowPoints(pWnd, &rcFrame);
  }
  const int nSpan = std::max(rcFrame.Width(), ::GetSystemMetrics(SM_CXFULLSCREEN) / 2);
  const COLORREF clrFirst = stripFace.clrLight_.GetColor(), clrSecond = stripFace.clrDark_.GetColor();
  XTPDrawHelpers()->GradientFill(
      pDC, rc, XTPFrameGradientColor(clrFirst, clrSecond, rc.left, rcFrame.left, nSpan),
      XTPFrameGradientColor(clrFirst, clrSecond, rc.right, rcFrame.left, nSpan), TRUE);
}

void CXTPDockingPaneTabColorSet::PaintStrip(CDC *pDC, CRect rc, CXTPTabManager *pTabManager) {
  FillFrameGradient(pDC, rc, dynamic_cast<CWnd *>(pTabManager));
}

COLORREF CXTPDockingPaneTabColorSet::PaintTabFace(CDC *pDC, CRect rc, CXTPTabManagerItem *pItem) {
  if (m_bSchemeTabs) return CXTPTabColorSet4::PaintTabFace(pDC, rc, pItem);
  return CXTPTabColorSet::PaintTabFace(pDC, rc, pItem);
}

// ---------------------------------------------------------------------------
// Theme 3: a flat caption with four thin lines

CXTPDockingPaneTheme3::CXTPDockingPaneTheme3() {
  m_pPanelPaintManager->SetAppearance(xtpTabAppearanceExcel);
  m_pTabPaintManager->SetAppearance(xtpTabAppearanceBox);
  m_pTabPaintManager->SetPosition(xtpTabPositionTop);
  CXTPDockingPaneTheme3::RefreshMetrics();
  // Set after the refresh on purpose: the caption height keeps the padding
  // of 5 it was measured with until the next refresh, as callers that laid
  // themselves out with it expect.
  m_nCaptionPadding = 2;
}

void CXTPDockingPaneTheme3::RefreshMetrics() {
  // The caption gradients keep the values they were made with.
  CXTPDockingPanePaintManager::RefreshMetrics();
}

void CXTPDockingPaneTheme3::DrawPane(CDC *pDC, CXTPDockingPaneTabbedContainer *pPane, CRect rc) {
  const BOOL bActive = pPane->IsActive() && m_bHighlightActiveCaption;
  pDC->FillSolidRect(rc, GetColor(bActive ? 31 : 30));
  pDC->SetBkMode(TRANSPARENT);
  if (pPane->IsTitleVisible() && m_bShowCaption) {
    pDC->FillSolidRect(rc.left, rc.top, rc.Width(), 1, GetColor(51));
    DrawCaption(pDC, pPane, rc);
    rc.top++;
  }
  const CRect rcPane = rc;
  AdjustCaptionRect(pPane, rc);
  if (pPane->IsTabsVisible()) {
    m_pTabPaintManager->DrawTabControl(pPane, pDC, rc);
  } else if (m_pTabPaintManager->m_clientFrame != 2) {
    CRect rcFrame = rc;
    rcFrame.InflateRect(1, 1);
    FrameRect(pDC, rcFrame, m_pTabPaintManager->GetColorSet()->edgeDark);
  }
  const COLORREF clrCorner = GetColor(51);
  pDC->SetPixel(rcPane.left, rcPane.top, clrCorner);
  pDC->SetPixel(rcPane.right - 1, rcPane.top, clrCorner);
  pDC->SetPixel(rcPane.left, rcPane.bottom - 1, clrCorner);
  pDC->SetPixel(rcPane.right - 1, rcPane.bottom - 1, clrCorner);
}

void CXTPDockingPaneTheme3::AdjustCaptionRect(const CXTPDockingPaneTabbedContainer *pPane, CRect &rc) {
  CXTPDockingPanePaintManager::AdjustCaptionRect(pPane, rc);
  const BOOL bCaption = pPane->IsTitleVisible() && m_bShowCaption;
  rc.DeflateRect(3, bCaption ? 0 : 3, 3, 3);
  if (!pPane->IsTabsVisible() && m_pTabPaintManager->m_clientFrame != 2) rc.DeflateRect(1, 1);
}

void CXTPDockingPaneTheme3::DrawTitleAndLines(CDC *pDC, CRect rcBand, const CString &strTitle,
                                              COLORREF clrLines) {
  DrawTitle(pDC, strTitle, CRect(rcBand.left + 4, rcBand.top + 1, rcBand.right - 2, rcBand.bottom),
            GetColor(COLOR_BTNTEXT));
  const int nLeft =
      strTitle.IsEmpty() ? rcBand.left + 4 : rcBand.left + TitleWidth(pDC, &m_fntCaption, strTitle) + 14;
  const int nRight = rcBand.right - 4;
  if (nRight - nLeft < 1) return;
  const int nCentre = (rcBand.top + rcBand.bottom) / 2;
  for (int dy : {-3, -1, 1, 3}) pDC->FillSolidRect(nLeft, nCentre + dy, nRight - nLeft, 1, clrLines);
}

void CXTPDockingPaneTheme3::DrawCaption(CDC *pDC, CXTPDockingPaneTabbedContainer *pPane, CRect rc) {
  CRect rcBand(rc.left, rc.top + 2, rc.right - 1, rc.top + m_nCaptionHeight + 3);
  DrawCaptionButtons(pDC, pPane->GetCaptionButtons(), rcBand, 0, 16, 0);
  CString strTitle;
  if (CXTPDockingPane *pSelected = pPane->GetSelected()) strTitle = pSelected->GetTitle();
  const BOOL bActive = pPane->IsActive() && m_bHighlightActiveCaption;
  DrawTitleAndLines(pDC, rcBand, strTitle, GetColor(bActive ? COLOR_BTNTEXT : 38));
}

void CXTPDockingPaneTheme3::DrawCaptionButton(CDC *pDC, CXTPDockingPaneCaptionButton *pButton, COLORREF clr) {
  const CRect rc = pButton->GetRect();
  if (pButton->IsSelected()) {
    pDC->FillSolidRect(rc, GetColor(31));
    FrameRect(pDC, rc, GetColor(32));
    clr = GetColor(45);
  }
  if (pButton->IsPressed()) {
    pDC->FillSolidRect(rc, GetColor(33));
    FrameRect(pDC, rc, GetColor(32));
    clr = GetColor(47);
  }
  DrawCaptionButtonGlyph(pDC, pButton, rc.CenterPoint(), clr);
}

void CXTPDockingPaneTheme3::DrawFloatingFrame(CDC *pDC, CXTPDockingPaneMiniWnd *pPane, CRect rc) {
  const BOOL bActive = MiniWndActive(pPane, m_bHighlightActiveCaption);
  const COLORREF clr = GetColor(bActive ? 31 : 30);
  FrameRect(pDC, rc, clr);
  rc.DeflateRect(1, 1);
  pDC->Draw3dRect(rc, GetColor(COLOR_3DHIGHLIGHT), GetColor(COLOR_3DSHADOW));
  rc.DeflateRect(1, 1);
  FrameRect(pDC, rc, clr);
  rc.DeflateRect(1, 1);
  CRect rcBand(rc.left, rc.top, rc.right, rc.top + m_nCaptionHeight + 3);
  pDC->FillSolidRect(rcBand, clr);
  pDC->SetBkMode(TRANSPARENT);
  rcBand.right -= 2;
  DrawCaptionButtons(pDC, pPane->GetCaptionButtons(), rcBand, GetColor(COLOR_BTNTEXT), 16, 0);
  DrawTitleAndLines(pDC, rcBand, WindowText(pPane), GetColor(bActive ? COLOR_BTNTEXT : 38));
}

// ---------------------------------------------------------------------------
// Theme 6: the "WINDOW" and "EXPLORERBAR" visual styles

CXTPDockingPaneTheme6::CXTPDockingPaneTheme6() {
  for (CXTPTabPaintManager *pTabs : {m_pTabPaintManager, m_pPanelPaintManager}) {
    pTabs->SetAppearance(xtpTabAppearancePropertyPage);
    pTabs->SetColor(xtpTabColorWinXP);
    pTabs->m_bHotTracking = TRUE;
  }
  m_bGradientCaption = TRUE;
  m_nCaptionPadding = 7;
  CXTPDockingPaneTheme6::RefreshMetrics();
}

void CXTPDockingPaneTheme6::RefreshMetrics() {
  CXTPDockingPaneTheme1::RefreshMetrics();
  OpenThemes();
}

void CXTPDockingPaneTheme6::OpenThemes() {
  m_themeWindow.OpenThemeData(nullptr, L"WINDOW");
  m_themeExplorer.OpenThemeData(nullptr, L"EXPLORERBAR");
}

void CXTPDockingPaneTheme6::DrawCaption(CDC *pDC, CXTPDockingPaneTabbedContainer *pPane, CRect rc) {
  if (!m_themeWindow.IsAppThemed()) {
    CXTPDockingPaneTheme2::DrawCaption(pDC, pPane, rc);
    return;
  }
  const CRect rcBand(0, 0, rc.right, m_nCaptionHeight + 1);
  const BOOL bActive = pPane->IsActive() && m_bHighlightActiveCaption;
  m_themeWindow.DrawThemeBackground(pDC->GetSafeHdc(), kWindowSmallCaption, bActive ? 1 : 2, &rcBand,
                                    nullptr);
  CString strTitle;
  pPane->GetTitle(strTitle);
  DrawCaptionPart(pDC, pPane, rcBand, strTitle, bActive);
}

void CXTPDockingPaneTheme6::DrawCaptionPart(CDC *pDC, CXTPDockingPaneBase *pPane, CRect rcCaption,
                                            const CString &strTitle, BOOL bActive) {
  if (!m_themeWindow.IsAppThemed()) {
    CXTPDockingPaneTheme1::DrawCaptionPart(pDC, pPane, rcCaption, strTitle, bActive);
    return;
  }
  const COLORREF clr = GetColor(bActive ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT);
  rcCaption.right -= 2;
  DrawCaptionButtons(pDC, pPane->GetCaptionButtons(), rcCaption, clr, 16, 3);
  DrawTitle(pDC, strTitle, CRect(rcCaption.left + 4, rcCaption.top + 1, rcCaption.right, rcCaption.bottom),
            clr);
}

void CXTPDockingPaneTheme6::DrawCaptionButton(CDC *pDC, CXTPDockingPaneCaptionButton *pButton, COLORREF clr) {
  const int nID = pButton->GetID();
  if ((nID != XTP_IDS_DOCKINGPANE_CLOSE && nID != XTP_IDS_DOCKINGPANE_AUTOHIDE) ||
      !m_themeExplorer.IsAppThemed()) {
    CXTPDockingPaneTheme2::DrawCaptionButton(pDC, pButton, clr);
    return;
  }
  const CRect rc = pButton->GetRect();
  if (nID == XTP_IDS_DOCKINGPANE_CLOSE) {
    const BOOL bActive = m_bHighlightActiveCaption && XTPIsCaptionOwnerActive(pButton);
    const int nState = pButton->IsPressed() ? 3 : (bActive || pButton->IsSelected()) ? 2 : 1;
    m_themeExplorer.DrawThemeBackground(pDC->GetSafeHdc(), kExplorerHeaderClose, nState, &rc, nullptr);
    return;
  }
  int nState = pButton->IsPressed() ? 3 : pButton->IsSelected() ? 2 : 1;
  if ((pButton->GetState() & 2) == 0) nState += 3;
  m_themeExplorer.DrawThemeBackground(pDC->GetSafeHdc(), kExplorerHeaderPin, nState, &rc, nullptr);
}

void CXTPDockingPaneTheme6::DrawFloatingFrame(CDC *pDC, CXTPDockingPaneMiniWnd *pPane, CRect rc) {
  if (!m_themeWindow.IsAppThemed()) {
    CXTPDockingPaneDefaultTheme::DrawFloatingFrame(pDC, pPane, rc);
    return;
  }
  const BOOL bActive = MiniWndActive(pPane, m_bHighlightActiveCaption);
  const int nState = bActive ? 1 : 2;
  const HDC hDC = pDC->GetSafeHdc();
  const CRect rcLeft(rc.left, rc.top, rc.left + 3, rc.bottom);
  const CRect rcRight(rc.right - 3, rc.top, rc.right, rc.bottom);
  const CRect rcBottom(rc.left, rc.bottom - 3, rc.right, rc.bottom);
  m_themeWindow.DrawThemeBackground(hDC, kWindowSmallFrameLeft, nState, &rcLeft, nullptr);
  m_themeWindow.DrawThemeBackground(hDC, kWindowSmallFrameRight, nState, &rcRight, nullptr);
  m_themeWindow.DrawThemeBackground(hDC, kWindowSmallFrameBottom, nState, &rcBottom, nullptr);
  CRect rcBand(rc.left, rc.top, rc.right, rc.top + m_nCaptionHeight + 5);
  CXTPBufferDC dc(hDC, rcBand);
  dc.SetBkMode(TRANSPARENT);
  m_themeWindow.DrawThemeBackground(dc.GetSafeHdc(), kWindowSmallCaption, nState, &rcBand, nullptr);
  rcBand.DeflateRect(3, 0);
  DrawCaptionPart(&dc, pPane, rcBand, WindowText(pPane), bActive);
}

// ---------------------------------------------------------------------------
// Theme 7: gradient captions; strips and splitter bars share the frame's gradient

CXTPDockingPaneTheme7::CXTPDockingPaneTheme7() {
  CXTPTabPaintManager *pTabs = m_pTabPaintManager;
  pTabs->SetAppearance(xtpTabAppearancePropertyPage2003);
  pTabs->m_bDisableLunaColors = TRUE;
  pTabs->m_bBoldSelected = FALSE;
  pTabs->SetColorSet(new CXTPDockingPaneTabColorSet(TRUE));
  pTabs->m_bHotTracking = FALSE;
  pTabs->m_clientFrame = 2;
  CXTPTabPaintManager *pPanel = m_pPanelPaintManager;
  pPanel->m_bDisableLunaColors = TRUE;
  pPanel->SetAppearance(xtpTabAppearancePropertyPage2003);
  pPanel->m_bBoldSelected = FALSE;
  pPanel->SetColorSet(new CXTPDockingPaneTabColorSet(FALSE));
  pPanel->m_bHotTracking = FALSE;
  pPanel->SetLayout(xtpTabLayoutAutoSize);
  m_rcCaptionMargin.SetRect(0, 0, 0, 0);
  m_bGradientCaption = TRUE;
  m_bKeepCaptionWeight = FALSE;
  m_nColorSchemeChoice = 0;
  CXTPDockingPaneTheme7::RefreshMetrics();
}

void CXTPDockingPaneTheme7::RefreshMetrics() {
  CXTPDockingPaneTheme1::RefreshMetrics();
  RefreshTheme7();
}

void CXTPDockingPaneTheme7::RefreshTheme7() {
  m_clrNormalCaptionText = GetColor(COLOR_INACTIVECAPTIONTEXT);
  // The scheme choice of this theme is 0 (theme 1's colours stay classic), so
  // the scheme colours come from the colour manager itself, as the tab colour
  // set's do.
  switch (XTPGetColorManager()->GetCurrentSystemTheme()) {
  case xtpSystemThemeBlue:
  case xtpSystemThemeOlive:
    m_clrNormalCaption.SetStandardValue(0xC6D7D8, 0xE5EFEE);
    m_clrNormalCaptionText = 0;
    break;
  case xtpSystemThemeSilver:
    m_clrNormalCaption.SetStandardValue(0xEBE0E0, 0xF6F2F2);
    m_clrNormalCaptionText = 0;
    m_clrActiveCaption.SetStandardValue(0xBA9EA0, 0xEBE1E0);
    break;
  default:
    break;
  }
}

void CXTPDockingPaneTheme7::DrawSplitter(CDC *pDC, CXTPDockingPaneSplitterWnd *pSplitter) {
  CRect rc;
  pSplitter->GetClientRect(&rc);
  auto *pColors = dynamic_cast<CXTPDockingPaneTabColorSet *>(m_pTabPaintManager->GetColorSet());
  if (pColors == nullptr) {
    CXTPDockingPaneTheme1::DrawSplitter(pDC, pSplitter);
    return;
  }
  pColors->FillFrameGradient(pDC, rc, pSplitter);
}

// ---------------------------------------------------------------------------
// Theme 10: theme 7 with vertical caption gradients framed on three sides

CXTPDockingPaneTheme10::CXTPDockingPaneTheme10() {
  m_pTabPaintManager->SetAppearance(xtpTabAppearancePropertyPageRounded);
  m_pTabPaintManager->SetColorSet(new CXTPDockingPaneTabColorSet(TRUE));
  m_pPanelPaintManager->SetAppearance(xtpTabAppearancePropertyPageRounded);
  m_pPanelPaintManager->SetColorSet(new CXTPDockingPaneTabColorSet(TRUE));
  CXTPDockingPaneTheme10::RefreshMetrics();
}

void CXTPDockingPaneTheme10::RefreshMetrics() {
  CXTPDockingPaneTheme7::RefreshMetrics();
  RefreshTheme10();
}

void CXTPDockingPaneTheme10::RefreshTheme10() {
  m_clrNormalCaption.SetStandardValue(GetColor(COLOR_INACTIVECAPTION));
  m_clrActiveCaption.SetStandardValue(GetColor(COLOR_ACTIVECAPTION));
  m_clrCaptionBorder = GetColor(COLOR_3DSHADOW);
  switch (XTPGetColorManager()->GetCurrentSystemTheme()) {
  case xtpSystemThemeBlue:
    m_clrNormalCaption.SetStandardValue(0xBAC7CC);
    m_clrActiveCaption.SetStandardValue(0xED803B, 0xC56A31);
    m_clrNormalCaptionText = 0;
    break;
  case xtpSystemThemeOlive:
    m_clrNormalCaption.SetStandardValue(0xBAC7CC);
    m_clrActiveCaption.SetStandardValue(0x92C3B6, 0x75A091);
    m_clrNormalCaptionText = 0;
    break;
  case xtpSystemThemeSilver:
    m_clrNormalCaption.SetStandardValue(0xF5F0F0);
    m_clrActiveCaption.SetStandardValue(0xDDD4D3, 0xBFA5A6);
    m_clrNormalCaptionText = 0;
    m_clrCaptionBorder = 0x9C9B91;
    break;
  default:
    break;
  }
}

COLORREF CXTPDockingPaneTheme10::DrawCaptionBackground(CDC *pDC, CXTPDockingPaneBase *, CRect rc,
                                                       BOOL bActive) {
  XTPDrawHelpers()->GradientFillPair(pDC, rc, bActive ? m_clrActiveCaption : m_clrNormalCaption, FALSE);
  CXTPPenDC pen(pDC, m_clrCaptionBorder);
  pDC->MoveTo(rc.left, rc.bottom);
  pDC->LineTo(rc.left, rc.top);
  pDC->LineTo(rc.right - 1, rc.top);
  pDC->LineTo(rc.right - 1, rc.bottom - 1);
  return bActive ? m_clrActiveCaptionText : m_clrNormalCaptionText;
}

// ---------------------------------------------------------------------------
// Theme 9: captions continue the frame's rebar background; toolbar buttons

CXTPDockingPaneTheme9::CXTPDockingPaneTheme9() {
  m_bKeepCaptionWeight = FALSE;
  m_rcCaptionMargin.SetRect(0, 0, 0, 0);
  m_nCaptionPadding = 9;
  CXTPDockingPaneTheme9::RefreshMetrics();
}

void CXTPDockingPaneTheme9::RefreshMetrics() {
  CXTPDockingPanePaintManager::RefreshMetrics();
  RefreshTheme9();
}

void CXTPDockingPaneTheme9::RefreshTheme9() {
  m_themeRebar.OpenThemeData(nullptr, L"REBAR");
  m_themeToolbar.OpenThemeData(nullptr, L"TOOLBAR");
  if (m_themeRebar.IsAppThemed()) {
    for (CXTPTabPaintManager *pTabs : {m_pTabPaintManager, m_pPanelPaintManager}) {
      pTabs->SetAppearance(xtpTabAppearancePropertyPage);
      pTabs->SetColor(xtpTabColorWinXP);
      pTabs->m_bHotTracking = TRUE;
    }
  } else {
    m_pPanelPaintManager->SetAppearance(xtpTabAppearanceExcel);
    m_pTabPaintManager->SetAppearance(xtpTabAppearanceVisio);
    m_pPanelPaintManager->m_bHotTracking = FALSE;
    m_pTabPaintManager->m_bHotTracking = FALSE;
  }
}

void CXTPDockingPaneTheme9::DrawCaptionButton(CDC *pDC, CXTPDockingPaneCaptionButton *pButton, COLORREF clr) {
  if (!m_themeToolbar.IsAppThemed()) {
    CXTPDockingPaneTheme2::DrawCaptionButton(pDC, pButton, clr);
    return;
  }
  ASSERT(pDC != nullptr);
  if (pDC == nullptr) return;
  const CRect rc = pButton->GetRect();
  if (pButton->IsPressed())
    m_themeToolbar.DrawThemeBackground(pDC->GetSafeHdc(), kToolbarButton, kToolbarPressed, &rc, nullptr);
  else if (pButton->IsSelected())
    m_themeToolbar.DrawThemeBackground(pDC->GetSafeHdc(), kToolbarButton, kToolbarHot, &rc, nullptr);
  DrawCaptionButtonGlyph(pDC, pButton, rc.CenterPoint(), clr);
}

void CXTPDockingPaneTheme9::DrawCaptionPart(CDC *pDC, CXTPDockingPaneBase *pPane, CRect rcCaption,
                                            const CString &strTitle, BOOL) {
  if (m_themeRebar.IsAppThemed()) {
    // The frame's whole client area in the pane's coordinates, so that the
    // background runs on unbroken from one caption to the next.
    CRect rcFrame = rcCaption;
    if (pPane->GetType() == xtpPaneTypeMiniWnd) {
      auto *pMini = static_cast<CXTPDockingPaneMiniWnd *>(pPane);
      pMini->CWnd::GetWindowRect(&rcFrame);
      rcFrame.OffsetRect(-rcFrame.left, -rcFrame.top);
    } else {
      HWND hPane = pPane->GetPaneHwnd();
      CWnd *pFrame = hPane != nullptr ? CWnd::FromHandle(hPane)->GetParentFrame() : nullptr;
      ASSERT(pPane->GetType() == xtpPaneTypeTabbedContainer);
      if (pFrame != nullptr) {
        pFrame->GetClientRect(&rcFrame);
        ::MapWindowPoints(pFrame->GetSafeHwnd(), hPane, reinterpret_cast<POINT *>(&rcFrame), 2);
      }
    }
    m_themeRebar.DrawThemeBackground(pDC->GetSafeHdc(), 0, 0, &rcFrame, &rcCaption);
  }
  rcCaption.right -= 2;
  DrawCaptionButtons(pDC, pPane->GetCaptionButtons(), rcCaption, GetColor(COLOR_BTNTEXT), 16, 2);
  DrawTitle(pDC, strTitle, CRect(rcCaption.left + 4, rcCaption.top + 1, rcCaption.right, rcCaption.bottom),
            GetColor(COLOR_BTNTEXT));
}
