#include "XTPDockingPanePaintManager.h"

#include <algorithm>

#include "WindowDc.h"
#include "XTPDockingPaneSplitterContainer.h"
#include "XTPDockingPaneTabbedContainer.h"
#include "XTPDockingPaneThemes.h"
#include "XTPDrawHelpers.h"
#include "XTPOfficeTheme.h"
#include "XTPTabPaintManager.h"

namespace {

const UINT kTitleFormat = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;

// The height of one space in the font, measured on the screen.
int SpaceHeight(CFont *pFont) {
  CWindowDC dc(nullptr);
  CXTPFontDC font(&dc, pFont);
  return dc.GetTextExtent(L" ", 1).cy;
}

void FrameRect(CDC *pDC, const CRect &rc, COLORREF clr) {
  pDC->Draw3dRect(rc, clr, clr);
}

} // namespace

LOGFONT XTPSmallCaptionFont(XTPSystemParametersProc pfnParameters) {
  NONCLIENTMETRICS ncm = {};
  ncm.cbSize = sizeof(NONCLIENTMETRICS);
  if (pfnParameters(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0)) return ncm.lfSmCaptionFont;
  // A system older than the structure refuses its full size.
  ncm.cbSize = sizeof(NONCLIENTMETRICS) - sizeof(ncm.iPaddedBorderWidth);
  if (pfnParameters(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0)) return ncm.lfSmCaptionFont;
  LOGFONT lf = {};
  ::GetObject(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
  return lf;
}

std::vector<CRect> XTPLayoutCaptionButtons(CRect &rcCaption, const std::vector<BOOL> &arrVisible, int nSize,
                                           int nGap) {
  std::vector<CRect> arrRects;
  const int nTop = (rcCaption.top + rcCaption.bottom) / 2 - nSize / 2;
  CRect rcButton(rcCaption.right - nSize, nTop, rcCaption.right, nTop + nSize);
  for (BOOL bVisible : arrVisible) {
    if (bVisible) {
      arrRects.push_back(rcButton);
      rcButton.OffsetRect(-(nSize + nGap), 0);
    } else {
      arrRects.push_back(CRect(0, 0, 0, 0));
    }
  }
  rcCaption.right = rcButton.right;
  return arrRects;
}

// ---------------------------------------------------------------------------
// The base

CXTPDockingPanePaintManager::CXTPDockingPanePaintManager() : m_strCaptionFaceName(L"Tahoma") {
  m_pTabPaintManager = new CXTPTabPaintManager;
  m_pTabPaintManager->SetLayout(xtpTabLayoutCompressed);
  m_pTabPaintManager->SetPosition(xtpTabPositionBottom);
  m_pTabPaintManager->m_clientFrame = 1;
  m_pTabPaintManager->m_bBoldSelected = FALSE;
  m_pTabPaintManager->SetToolTipMode(xtpTabToolTipAlways);

  m_pPanelPaintManager = new CXTPTabPaintManager;
  m_pPanelPaintManager->SetLayout(xtpTabLayoutSelectedText);
  m_pPanelPaintManager->m_clientFrame = 2;
  m_pPanelPaintManager->m_bBoldSelected = FALSE;
  m_pPanelPaintManager->m_bInvertGradient = TRUE;
  m_pPanelPaintManager->m_bFillBackground = FALSE;

  RefreshBaseMetrics();
}

CXTPDockingPanePaintManager::~CXTPDockingPanePaintManager() {
  m_pTabPaintManager->InternalRelease();
  m_pPanelPaintManager->InternalRelease();
}

CXTPDockingPanePaintManager *CXTPDockingPanePaintManager::CreateTheme(int nTheme) {
  CXTPDockingPanePaintManager *pTheme = nullptr;
  switch (nTheme) {
  case xtpPaneThemeOffice:
    pTheme = new CXTPDockingPaneTheme1;
    break;
  case xtpPaneThemeGrippered:
    pTheme = new CXTPDockingPaneTheme2;
    break;
  case xtpPaneThemeOffice2003:
    pTheme = new CXTPDockingPaneTheme5;
    break;
  case xtpPaneThemeShortcutBar2003:
    pTheme = new CXTPDockingPaneTheme8;
    break;
  case xtpPaneThemeVisio:
    pTheme = new CXTPDockingPaneTheme3;
    break;
  case xtpPaneThemeNativeWinXP:
    pTheme = new CXTPDockingPaneTheme6;
    break;
  case xtpPaneThemeWhidbey:
    pTheme = new CXTPDockingPaneTheme7;
    break;
  case xtpPaneThemeExplorer:
    pTheme = new CXTPDockingPaneTheme9;
    break;
  case xtpPaneThemeVisualStudio2005:
    pTheme = new CXTPDockingPaneTheme10;
    break;
  default:
    pTheme = new CXTPDockingPaneDefaultTheme;
  }
  pTheme->m_themeCurrent = nTheme;
  return pTheme;
}

COLORREF CXTPDockingPanePaintManager::GetColor(int nIndex) const {
  return static_cast<unsigned>(nIndex) < 58 ? m_arrColor[nIndex] : static_cast<COLORREF>(nIndex);
}

void CXTPDockingPanePaintManager::SetColors(int nCount, const int *pIndexes, const COLORREF *pColors) {
  for (int i = 0; i < nCount; i++)
    if (static_cast<unsigned>(pIndexes[i]) < 58) m_arrColor[pIndexes[i]] = pColors[i];
}

int CXTPDockingPanePaintManager::GetCurrentSystemTheme() const {
  CXTPColorManager *pColors = XTPGetColorManager();
  if (m_nColorSchemeChoice == 5)
    return pColors->IsSystemThemeColorsDisabled() ? 0 : pColors->GetCurrentSystemTheme();
  if (m_nColorSchemeChoice == 4) return pColors->DetectVisualStyleTheme();
  return m_nColorSchemeChoice;
}

void CXTPDockingPanePaintManager::SetCaptionFont(const LOGFONT *pLogFont, BOOL bUseSystemFont) {
  m_bUseSystemCaptionFont = bUseSystemFont;
  if (pLogFont == nullptr) return;
  m_fntCaption.DeleteObject();
  VERIFY(m_fntCaption.CreateFontIndirect(pLogFont));
  m_nCaptionHeight = std::max(SpaceHeight(&m_fntCaption), 13) + m_nCaptionPadding;
}

void CXTPDockingPanePaintManager::RefreshMetrics() {
  RefreshBaseMetrics();
}

void CXTPDockingPanePaintManager::RefreshBaseMetrics() {
  CXTPColorManager *pColors = XTPGetColorManager();
  pColors->RefreshColors();
  for (int i = 0; i < 58; i++) m_arrColor[i] = pColors->GetColor(i);

  if (m_bUseSystemCaptionFont) {
    LOGFONT lf = XTPSmallCaptionFont();
    if (!m_bKeepCaptionWeight) lf.lfWeight = FW_NORMAL;
    SetCaptionFont(&lf, TRUE);
  }
  m_pTabPaintManager->RefreshMetrics();
  m_pPanelPaintManager->RefreshMetrics();
  m_nTabsHeight = std::max(24, SpaceHeight(m_pTabPaintManager->GetFont()) + 10);
}

void CXTPDockingPanePaintManager::DrawPane(CDC *pDC, CXTPDockingPaneTabbedContainer *pPane, CRect rc) {
  pDC->FillSolidRect(rc, GetColor(COLOR_3DFACE));
  if (pPane->IsTitleVisible() && m_bShowCaption) {
    pDC->SetBkMode(TRANSPARENT);
    DrawCaption(pDC, pPane, rc);
  }
  AdjustCaptionRect(pPane, rc);
  if (pPane->IsTabsVisible()) m_pTabPaintManager->DrawTabControl(pPane, pDC, rc);
}

void CXTPDockingPanePaintManager::AdjustCaptionRect(const CXTPDockingPaneTabbedContainer *pPane, CRect &rc) {
  if (pPane->IsTitleVisible() && m_bShowCaption)
    rc.top += m_nCaptionHeight + m_rcCaptionMargin.top + m_rcCaptionMargin.bottom;
}

void CXTPDockingPanePaintManager::AdjustClientRect(CXTPDockingPaneTabbedContainer *pPane, CRect &rect,
                                                   BOOL bApply) {
  const CPoint ptTopLeft = rect.TopLeft();
  AdjustCaptionRect(pPane, rect);
  if (!pPane->IsTabsVisible()) return;
  if (bApply && pPane->GetSafeHwnd() != nullptr) {
    CClientDC dc(pPane);
    CRect rcTabs = rect;
    rcTabs.OffsetRect(-ptTopLeft.x, -ptTopLeft.y);
    m_pTabPaintManager->RepositionTabControl(pPane, &dc, rcTabs);
  }
  m_pTabPaintManager->AdjustClientRect(pPane, rect);
}

void CXTPDockingPanePaintManager::DrawCaptionButtons(CDC *pDC, CXTPDockingPaneCaptionButtons *pButtons,
                                                     CRect &rcCaption, COLORREF clr, int nButtonSize,
                                                     int nButtonGap) {
  std::vector<BOOL> arrVisible;
  for (int i = 0; i < pButtons->GetSize(); i++) arrVisible.push_back(pButtons->GetAt(i)->IsVisible());
  const std::vector<CRect> arrRects = XTPLayoutCaptionButtons(rcCaption, arrVisible, nButtonSize, nButtonGap);
  for (int i = 0; i < pButtons->GetSize(); i++) {
    pButtons->GetAt(i)->SetRect(arrRects[i]);
    if (arrVisible[i]) DrawCaptionButton(pDC, pButtons->GetAt(i), clr);
  }
}

void CXTPDockingPanePaintManager::DrawSplitter(CDC *pDC, CXTPDockingPaneSplitterWnd *pSplitter) {
  CRect rc;
  pSplitter->GetClientRect(&rc);
  pDC->FillSolidRect(rc, GetColor(51));
}

void CXTPDockingPanePaintManager::DrawTitle(CDC *pDC, const CString &strTitle, CRect rc, COLORREF clr) {
  if (strTitle.IsEmpty() || rc.IsRectEmpty()) return;
  CXTPFontDC font(pDC, &m_fntCaption);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(clr);
  pDC->DrawText(strTitle, rc, kTitleFormat);
}

// ---------------------------------------------------------------------------
// Default theme: system caption colours and frame-control buttons

CXTPDockingPaneDefaultTheme::CXTPDockingPaneDefaultTheme() {
  m_pTabPaintManager->SetAppearance(xtpTabAppearancePropertyPage);
  m_pPanelPaintManager->SetAppearance(xtpTabAppearancePropertyPage);
}

void CXTPDockingPaneDefaultTheme::DrawCaption(CDC *pDC, CXTPDockingPaneTabbedContainer *pPane, CRect rc) {
  CRect rcCaption(rc.left, rc.top + 2, rc.right, rc.top + m_nCaptionHeight + 1);
  pDC->FillSolidRect(CRect(rc.left, rc.top, rc.right, rcCaption.bottom + 2), GetColor(COLOR_3DFACE));
  CString strTitle;
  pPane->GetTitle(strTitle);
  DrawCaptionPart(pDC, pPane, rcCaption, strTitle, pPane->IsActive() && m_bHighlightActiveCaption);
}

void CXTPDockingPaneDefaultTheme::DrawCaptionPart(CDC *pDC, CXTPDockingPaneBase *pPane, CRect rcCaption,
                                                  const CString &strTitle, BOOL bActive) {
  pDC->FillSolidRect(rcCaption, GetColor(bActive ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
  rcCaption.right -= 2;
  DrawCaptionButtons(pDC, pPane->GetCaptionButtons(), rcCaption, GetColor(COLOR_BTNTEXT), 12, 2);
  DrawTitle(pDC, strTitle, CRect(rcCaption.left + 4, rcCaption.top + 1, rcCaption.right, rcCaption.bottom),
            GetColor(bActive ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
}

void CXTPDockingPaneDefaultTheme::DrawCaptionButton(CDC *pDC, CXTPDockingPaneCaptionButton *pButton,
                                                    COLORREF clr) {
  CRect rc = pButton->GetRect();
  const UINT nPushed = pButton->IsPressed() ? DFCS_PUSHED : 0;
  if (pButton->GetID() == XTP_IDS_DOCKINGPANE_CLOSE) {
    pDC->DrawFrameControl(rc, DFC_CAPTION, DFCS_CAPTIONCLOSE | nPushed);
    return;
  }
  pDC->DrawFrameControl(rc, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | nPushed);
  if (pButton->GetID() != XTP_IDS_DOCKINGPANE_AUTOHIDE) return;
  rc.DeflateRect(2, 2); // what DFCS_ADJUSTRECT leaves inside the push button's edge
  if (pButton->IsPressed()) rc.OffsetRect(1, 1);
  CXTPPenDC pen(pDC, clr);
  if (pButton->GetState() & 2) {
    const int x = rc.left - 1, y = rc.CenterPoint().y - 1;
    const POINT pts[] = {{x, y},         {x + 2, y},     {x + 2, y - 3}, {x + 4, y - 1},
                         {x + 5, y - 2}, {x + 6, y - 2}, {x + 6, y + 2}, {x + 5, y + 2},
                         {x + 4, y + 1}, {x + 2, y + 3}, {x + 2, y}};
    pDC->Polyline(pts, static_cast<int>(std::size(pts)));
  } else {
    const int x = rc.CenterPoint().x - 1, y = rc.bottom - 1;
    const POINT pts[] = {{x, y},         {x, y - 2},     {x - 3, y - 2}, {x - 3, y - 3}, {x - 1, y - 6},
                         {x - 2, y - 7}, {x - 2, y - 8}, {x + 2, y - 8}, {x + 2, y - 7}, {x + 1, y - 6},
                         {x + 3, y - 3}, {x + 3, y - 2}, {x, y - 2}};
    pDC->Polyline(pts, static_cast<int>(std::size(pts)));
  }
}

// ---------------------------------------------------------------------------
// Theme 2: raised bars beside the title, framed buttons with drawn glyphs

void CXTPDockingPaneTheme2::DrawCaption(CDC *pDC, CXTPDockingPaneTabbedContainer *pPane, CRect rc) {
  CRect rcCaption(rc.left, rc.top + m_rcCaptionMargin.top, rc.right, rc.top + m_nCaptionHeight + 1);
  pDC->FillSolidRect(CRect(rc.left, rc.top, rc.right, rcCaption.bottom), GetColor(51));
  CString strTitle;
  pPane->GetTitle(strTitle);
  DrawCaptionPart(pDC, pPane, rcCaption, strTitle, pPane->IsActive() && m_bHighlightActiveCaption);
}

void CXTPDockingPaneTheme2::DrawCaptionPart(CDC *pDC, CXTPDockingPaneBase *pPane, CRect rcCaption,
                                            const CString &strTitle, BOOL) {
  rcCaption.right -= 2;
  DrawCaptionButtons(pDC, pPane->GetCaptionButtons(), rcCaption, GetColor(COLOR_BTNTEXT), 14, 2);
  DrawTitle(pDC, strTitle, CRect(rcCaption.left + 4, rcCaption.top + 1, rcCaption.right, rcCaption.bottom),
            GetColor(COLOR_BTNTEXT));
  int nTitle = 0;
  if (!strTitle.IsEmpty()) {
    CXTPFontDC font(pDC, &m_fntCaption);
    CRect rcText(0, 0, 0, 0);
    pDC->DrawText(strTitle, rcText, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    nTitle = rcText.Width();
  }
  const int nLeft = strTitle.IsEmpty() ? rcCaption.left + 4 : rcCaption.left + nTitle + 8;
  const int nRight = rcCaption.right - 2;
  if (nRight - nLeft < 1) return;
  const int nCentre = (rcCaption.top + rcCaption.bottom) / 2;
  pDC->Draw3dRect(nLeft, nCentre - 3, nRight - nLeft, 3, GetColor(COLOR_3DHIGHLIGHT),
                  GetColor(COLOR_3DSHADOW));
  pDC->Draw3dRect(nLeft, nCentre + 1, nRight - nLeft, 3, GetColor(COLOR_3DHIGHLIGHT),
                  GetColor(COLOR_3DSHADOW));
}

void CXTPDockingPaneTheme2::DrawCaptionButton(CDC *pDC, CXTPDockingPaneCaptionButton *pButton, COLORREF clr) {
  ASSERT(pDC != nullptr);
  if (pDC == nullptr) return;
  const CRect rc = pButton->GetRect();
  CPoint pt = rc.CenterPoint();
  if (pButton->IsPressed()) {
    pDC->Draw3dRect(rc, GetColor(COLOR_BTNTEXT), GetColor(COLOR_3DHIGHLIGHT));
    pt.Offset(1, 1);
  } else if (pButton->IsSelected()) {
    pDC->Draw3dRect(rc, GetColor(COLOR_3DHIGHLIGHT), GetColor(COLOR_BTNTEXT));
  }
  DrawCaptionButtonGlyph(pDC, pButton, pt, clr);
}

void CXTPDockingPaneTheme2::DrawCaptionButtonGlyph(CDC *pDC, CXTPDockingPaneCaptionButton *pButton, CPoint pt,
                                                   COLORREF clr) {
  const int x = pt.x, y = pt.y;
  CXTPPenDC pen(pDC, clr);
  auto line = [pDC](int x0, int y0, int x1, int y1) {
    pDC->MoveTo(x0, y0);
    pDC->LineTo(x1, y1);
  };
  switch (pButton->GetID()) {
  case XTP_IDS_DOCKINGPANE_CLOSE:
    line(x - 4, y - 3, x + 3, y + 4);
    line(x - 4, y + 3, x + 3, y - 4);
    line(x - 3, y - 3, x + 4, y + 4);
    line(x - 3, y + 3, x + 4, y - 4);
    break;
  case XTP_IDS_DOCKINGPANE_AUTOHIDE:
    if (pButton->GetState() & 2) {
      line(x - 4, y, x - 1, y);
      line(x - 1, y - 3, x - 1, y + 4);
      const POINT pts[] = {{x - 1, y + 2}, {x + 3, y + 2}, {x + 3, y - 2}, {x - 1, y - 2}};
      pDC->Polyline(pts, 4);
      line(x - 1, y + 1, x + 3, y + 1);
    } else {
      line(x - 3, y + 1, x + 4, y + 1);
      line(x, y + 1, x, y + 5);
      const POINT pts[] = {{x - 2, y + 1}, {x - 2, y - 4}, {x + 2, y - 4}, {x + 2, y + 1}};
      pDC->Polyline(pts, 4);
      line(x + 1, y + 1, x + 1, y - 4);
    }
    break;
  case XTP_IDS_DOCKINGPANE_MAXIMIZE:
    FrameRect(pDC, CRect(x - 5, y - 5, x + 4, y + 4), clr);
    pDC->FillSolidRect(x - 5, y - 5, 9, 2, clr);
    break;
  case XTP_IDS_DOCKINGPANE_RESTORE:
    FrameRect(pDC, CRect(x - 4, y - 2, x + 2, y + 4), clr);
    pDC->FillSolidRect(x - 4, y - 2, 6, 2, clr);
    pDC->FillSolidRect(x - 2, y - 5, 6, 2, clr);
    pDC->SetPixel(x - 2, y - 3, clr);
    pDC->SetPixel(x + 2, y, clr);
    pDC->FillSolidRect(x + 3, y - 3, 1, 4, clr);
    break;
  case XTP_IDS_DOCKINGPANE_MENU: {
    CXTPBrushDC brush(pDC, clr);
    const POINT pts[] = {{x - 4, y - 1}, {x - 1, y + 2}, {x, y + 2}, {x + 3, y - 1}};
    pDC->Polygon(pts, 4);
    break;
  }
  default:
    break;
  }
}

// ---------------------------------------------------------------------------
// Theme 1: caption bands filled by DrawCaptionBackground

CXTPDockingPaneTheme1::CXTPDockingPaneTheme1() {
  m_pPanelPaintManager->SetAppearance(xtpTabAppearanceExcel);
  m_pTabPaintManager->SetAppearance(xtpTabAppearanceVisio);
  m_bGradientCaption = FALSE;
  m_bKeepCaptionWeight = FALSE;
  CXTPDockingPaneTheme1::RefreshMetrics();
}

void CXTPDockingPaneTheme1::RefreshMetrics() {
  CXTPDockingPanePaintManager::RefreshMetrics();
  RefreshGradients();
}

void CXTPDockingPaneTheme1::RefreshGradients() {
  m_clrActiveCaption.SetStandardValue(GetColor(COLOR_ACTIVECAPTION), GetColor(COLOR_GRADIENTACTIVECAPTION));
  m_clrNormalCaption.SetStandardValue(GetColor(COLOR_INACTIVECAPTION),
                                      ::GetSysColor(COLOR_GRADIENTINACTIVECAPTION));
  m_clrNormalCaptionText = GetColor(COLOR_BTNTEXT);
  m_clrActiveCaptionText = GetColor(COLOR_CAPTIONTEXT);
}

void CXTPDockingPaneTheme1::DrawCaptionPart(CDC *pDC, CXTPDockingPaneBase *pPane, CRect rcCaption,
                                            const CString &strTitle, BOOL bActive) {
  const COLORREF clr = DrawCaptionBackground(pDC, pPane, rcCaption, bActive);
  rcCaption.right -= 2;
  DrawCaptionButtons(pDC, pPane->GetCaptionButtons(), rcCaption, clr, 14, 2);
  DrawTitle(pDC, strTitle, CRect(rcCaption.left + 4, rcCaption.top + 1, rcCaption.right, rcCaption.bottom),
            bActive ? m_clrActiveCaptionText : m_clrNormalCaptionText);
}

COLORREF CXTPDockingPaneTheme1::DrawCaptionBackground(CDC *pDC, CXTPDockingPaneBase *, CRect rc,
                                                      BOOL bActive) {
  if (m_bGradientCaption) {
    XTPDrawHelpers()->GradientFillPair(pDC, rc, bActive ? m_clrActiveCaption : m_clrNormalCaption, TRUE);
  } else if (bActive) {
    pDC->FillSolidRect(rc, m_clrActiveCaption.clrLight_.GetColor());
  } else {
    const COLORREF clr = GetColor(52);
    pDC->FillSolidRect(rc.left + 1, rc.top, rc.Width() - 2, 1, clr);
    pDC->FillSolidRect(rc.left + 1, rc.bottom - 1, rc.Width() - 2, 1, clr);
    pDC->FillSolidRect(rc.left, rc.top + 1, 1, rc.Height() - 2, clr);
    pDC->FillSolidRect(rc.right - 1, rc.top + 1, 1, rc.Height() - 2, clr);
  }
  return GetColor(bActive ? COLOR_CAPTIONTEXT : COLOR_BTNTEXT);
}

// ---------------------------------------------------------------------------
// Theme 5: gradient bands with a gripper and rounded corners

namespace {

const int kSchemeIndexes[] = {38, 39, 40, 41, 43, 31, 32, 50, 37, 33, 36, 30, 47};

struct Theme5Scheme {
  COLORREF clrNormalDark, clrNormalLight, clr51;
  COLORREF arrColors[13]; // in kSchemeIndexes' order
};

// Blue, olive green and silver.
const Theme5Scheme kTheme5Schemes[3] = {
    {0xE2A981,
     0xFEECDD,
     0xFCE7D8,
     {0x764127, 0xCB8C6A, 0xD0966D, 0xF6F6F6, 0x962D00, 0xC2EEFF, 0x800000, 0x800000, 0x800000, 0x3E80FE,
      0x6FC0FF, 0xF5BE9E, 0x000000}},
    {0x91C6B7,
     0xDEF7F4,
     0xBFE7E2,
     {0x335E51, 0x588060, 0x7AAE9F, 0xEEF4F4, 0x5E8D75, 0xC2EEFF, 0x385D3F, 0x385D3F, 0x385D3F, 0x3E80FE,
      0x6FC0FF, 0xA7D9D9, 0x000000}},
    {0xB59799,
     0xFAF4F3,
     0xEADFDF,
     {0x755454, 0x8F6D6E, 0xBEA7A8, 0xFFFAFD, 0x947C7C, 0xC2EEFF, 0x6F4B4B, 0x6F4B4B, 0x6F4B4B, 0x3E80FE,
      0x6FC0FF, 0xE5D7D7, 0x000000}},
};

} // namespace

CXTPDockingPaneTheme5::CXTPDockingPaneTheme5() {
  m_bDrawGripper = TRUE;
  m_bRoundedCaption = TRUE;
  m_nCaptionPadding = 7;
  m_bKeepCaptionWeight = TRUE;
  for (CXTPTabPaintManager *pTabs : {m_pPanelPaintManager, m_pTabPaintManager}) {
    pTabs->SetAppearance(xtpTabAppearancePropertyPage2003);
    pTabs->SetColor(xtpTabColorOffice2003);
    pTabs->m_bHotTracking = TRUE;
  }
  CXTPDockingPaneTheme1::RefreshMetrics();
  RefreshTheme5();
}

void CXTPDockingPaneTheme5::RefreshMetrics() {
  CXTPDockingPaneTheme1::RefreshMetrics();
  RefreshTheme5();
}

void CXTPDockingPaneTheme5::RefreshTheme5() {
  m_clrNormalCaptionLight =
      CXTPColorManager::BlendColors(GetColor(COLOR_3DFACE), GetColor(COLOR_WINDOW), 205);
  m_clrNormalCaptionDark = GetColor(COLOR_3DFACE);
  m_clrActiveCaptionDark = m_clrActiveCaptionLight = GetColor(36);
  m_clrActiveCaptionTextTheme = m_clrNormalCaptionTextTheme = GetColor(COLOR_BTNTEXT);
  m_bLunaTheme = FALSE;
  const int nScheme = GetCurrentSystemTheme();
  if (nScheme >= 1 && nScheme <= 3) {
    const Theme5Scheme &scheme = kTheme5Schemes[nScheme - 1];
    m_clrNormalCaptionDark = scheme.clrNormalDark;
    m_clrNormalCaptionLight = scheme.clrNormalLight;
    const int n51 = 51;
    SetColors(1, &n51, &scheme.clr51);
    SetColors(13, kSchemeIndexes, scheme.arrColors);
    m_bLunaTheme = TRUE;
  }
  if (m_bLunaTheme) {
    m_clrActiveCaptionLight = 0x8CD5FF;
    m_clrActiveCaptionDark = 0x4CA6FF;
  }
}

void CXTPDockingPaneTheme5::DrawCaption(CDC *pDC, CXTPDockingPaneTabbedContainer *pPane, CRect rc) {
  const CRect rcCaption(rc.left, rc.top, rc.right, rc.top + m_nCaptionHeight + 3);
  CRect rcGradient = rcCaption;
  const int nSaved = pDC->SaveDC();
  if (m_bRoundedCaption) {
    rcGradient.top++;
    pDC->FillSolidRect(rcCaption, GetColor(51));
    CXTPOfficeTheme::ExcludeCorners(pDC, rcGradient);
  }
  const BOOL bActive = pPane->IsActive() && m_bHighlightActiveCaption;
  XTPDrawHelpers()->GradientFill(pDC, rcGradient, bActive ? m_clrActiveCaptionLight : m_clrNormalCaptionLight,
                                 bActive ? m_clrActiveCaptionDark : m_clrNormalCaptionDark, FALSE);
  if (!m_bRoundedCaption) {
    const COLORREF clr = GetColor(54);
    pDC->FillSolidRect(rcCaption.left, rcCaption.top, 1, rcCaption.Height(), clr);
    pDC->FillSolidRect(rcCaption.left, rcCaption.top, rcCaption.Width(), 1, clr);
    pDC->FillSolidRect(rcCaption.right - 1, rcCaption.top, 1, rcCaption.Height(), clr);
  }
  CString strTitle;
  pPane->GetTitle(strTitle);
  DrawCaptionPart(pDC, pPane, rcCaption, strTitle, bActive);
  pDC->RestoreDC(nSaved);
}

void CXTPDockingPaneTheme5::DrawCaptionPart(CDC *pDC, CXTPDockingPaneBase *pPane, CRect rcCaption,
                                            const CString &strTitle, BOOL bActive) {
  const COLORREF clrText = bActive ? m_clrActiveCaptionTextTheme : m_clrNormalCaptionTextTheme;
  rcCaption.right -= 4;
  DrawCaptionButtons(pDC, pPane->GetCaptionButtons(), rcCaption, clrText, 16, 0);
  if (m_bDrawGripper && rcCaption.Width() > 7) {
    for (int y = 5; y < rcCaption.Height() - 3; y += 4) {
      pDC->FillSolidRect(rcCaption.left + 6, y + 1, 2, 2, GetColor(COLOR_3DHIGHLIGHT));
      pDC->FillSolidRect(rcCaption.left + 5, y, 2, 2, GetColor(38));
    }
    rcCaption.left += 8;
  }
  DrawTitle(pDC, strTitle,
            CRect(rcCaption.left + 6, rcCaption.top + 1, rcCaption.right - 2, rcCaption.bottom), clrText);
}

void CXTPDockingPaneTheme5::DrawCaptionButton(CDC *pDC, CXTPDockingPaneCaptionButton *pButton, COLORREF clr) {
  DrawCaptionButtonBackground(pDC, pButton, clr);
  DrawCaptionButtonGlyph(pDC, pButton, pButton->GetRect().CenterPoint(), clr);
}

void CXTPDockingPaneTheme5::DrawCaptionButtonBackground(CDC *pDC, CXTPDockingPaneCaptionButton *pButton,
                                                        COLORREF &clr) {
  const CRect rc = pButton->GetRect();
  if (pButton->IsSelected()) {
    if (m_bLunaTheme) {
      XTPDrawHelpers()->GradientFill(pDC, rc, 0xC8F2FF, 0x97D4FF, FALSE);
      clr = 0;
    } else {
      pDC->FillSolidRect(rc, GetColor(31));
      clr = GetColor(45);
    }
    FrameRect(pDC, rc, GetColor(32));
  }
  if (pButton->IsPressed()) {
    if (m_bLunaTheme) {
      XTPDrawHelpers()->GradientFill(pDC, rc, 0x4B8EFE, 0x8BCFFF, FALSE);
      clr = 0;
    } else {
      pDC->FillSolidRect(rc, GetColor(33));
      clr = GetColor(47);
    }
    FrameRect(pDC, rc, GetColor(32));
  }
}

// ---------------------------------------------------------------------------
// Theme 8: theme 5 with plain square bands and a large bold caption font

CXTPDockingPaneTheme8::CXTPDockingPaneTheme8() {
  m_bDrawGripper = FALSE;
  m_bRoundedCaption = FALSE;
  m_nCaptionPadding = 3;
  CXTPDockingPaneTheme5::RefreshMetrics();
  RefreshTheme8();
}

void CXTPDockingPaneTheme8::RefreshMetrics() {
  CXTPDockingPaneTheme5::RefreshMetrics();
  RefreshTheme8();
}

void CXTPDockingPaneTheme8::RefreshTheme8() {
  if (m_bUseSystemCaptionFont) {
    LOGFONT lf = {};
    if (!::SystemParametersInfo(SPI_GETICONTITLELOGFONT, sizeof(lf), &lf, 0))
      ::GetObject(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    wcscpy_s(lf.lfFaceName, L"Arial");
    lf.lfWeight = FW_BOLD;
    lf.lfHeight = 20;
    SetCaptionFont(&lf, FALSE);
  }
  if (!m_bLunaTheme) {
    m_clrNormalCaptionLight =
        CXTPColorManager::BlendColors(GetColor(COLOR_3DSHADOW), GetColor(COLOR_WINDOW), 205);
    m_clrNormalCaptionDark = GetColor(COLOR_3DSHADOW);
  } else {
    CXTPColorManager *pColors = XTPGetColorManager();
    m_clrNormalCaptionDark = pColors->GetGradient(1).clrLight_.GetColor();
    m_clrNormalCaptionLight = pColors->GetGradient(0).clrLight_.GetColor();
    m_clrNormalCaptionTextTheme = 0xFFFFFF;
  }
}
