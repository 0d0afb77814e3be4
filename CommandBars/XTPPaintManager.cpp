#include "XTPPaintManager.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "StatusBar.h"
#include "XTPCommandBar.h"
#include "XTPControl.h"
#include "XTPControlComboBox.h"
#include "XTPControlPopup.h"
#include "XTPDefaultTheme.h"
#include "XTPNativeXPTheme.h"
#include "XTPOffice2003Theme.h"
#include "XTPOfficeTheme.h"
#include "XTPDrawHelpers.h"
#include "XTPImageManager.h"
#include "XTPPopupBar.h"

// The pre-Vista size, which every version of Windows accepts.
static_assert(offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth) == 500, "non-client metrics size");

CXTPNonClientMetrics::CXTPNonClientMetrics() {
  CXTPPaintManager::ReadNonClientMetrics(this);
}

CXTPPaintManager::FontExistsFunction CXTPPaintManager::s_pfnFontExists = nullptr;
CXTPPaintManager::NonClientMetricsFunction CXTPPaintManager::s_pfnNonClientMetrics = nullptr;

void CXTPPaintManager::ReadNonClientMetrics(NONCLIENTMETRICSW *pMetrics) {
  ZeroMemory(pMetrics, sizeof(NONCLIENTMETRICSW));
  pMetrics->cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
  if (s_pfnNonClientMetrics) {
    s_pfnNonClientMetrics(pMetrics);
    return;
  }
  VERIFY(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, pMetrics->cbSize, pMetrics, 0));
}

// ---------------------------------------------------------------------------
// The global paint manager and the toolkit's shutdown.

namespace {

// Holds the global paint manager. The services a paint manager draws with
// are made before the slot, so the slot ends before them at exit (statics
// end in the reverse order of their construction).
struct GlobalPaintManagerSlot {
  CXTPPaintManager *pPaintManager = nullptr;
  ~GlobalPaintManagerSlot() { Release(); }
  void Release() {
    CXTPPaintManager *p = pPaintManager;
    pPaintManager = nullptr;
    if (p) p->InternalRelease();
  }
};

GlobalPaintManagerSlot &Slot() {
  static GlobalPaintManagerSlot *pSlot = [] {
    XTPGetColorManager();
    XTPGetDrawHelpers();
    XTPGetImageManager();
    static GlobalPaintManagerSlot slot;
    return &slot;
  }();
  return *pSlot;
}

} // namespace

CXTPPaintManager *XTPGetPaintManager() {
  return Slot().pPaintManager;
}

void CXTPPaintManager::ReleaseGlobal() {
  Slot().Release();
}

void XTPShutdownToolkit() {
  CXTPPaintManager::ReleaseGlobal();
}

CXTPPaintManager *CXTPPaintManager::CreateTheme(int nTheme) {
  CXTPPaintManager *pPaintManager = nullptr;
  switch (nTheme) {
  case xtpThemeOffice:
    pPaintManager = new CXTPOfficeTheme;
    break;
  case xtpThemeOffice2003:
    pPaintManager = new CXTPOffice2003Theme;
    break;
  case xtpThemeNativeWinXP:
    pPaintManager = new CXTPNativeXPTheme;
    break;
  case xtpThemeOffice2003Variant:
    pPaintManager = new CXTPOffice2003ThemeVariant;
    break;
  default:
    pPaintManager = new CXTPDefaultTheme;
    break;
  }
  pPaintManager->m_nTheme = nTheme;
  return pPaintManager;
}

void CXTPPaintManager::SetTheme(int nTheme) {
  SetGlobalPaintManager(CreateTheme(nTheme));
  XTPGetPaintManager()->m_nTheme = nTheme;
}

void CXTPPaintManager::SetGlobalPaintManager(CXTPPaintManager *pPaintManager) {
  GlobalPaintManagerSlot &slot = Slot();
  BOOL bShowKeyboardCues = slot.pPaintManager ? slot.pPaintManager->m_bShowKeyboardCues : TRUE;
  slot.Release();
  slot.pPaintManager = pPaintManager;
  if (pPaintManager) {
    pPaintManager->m_nTheme = xtpThemeCustom;
    pPaintManager->m_bShowKeyboardCues = bShowKeyboardCues;
  }
}

// ---------------------------------------------------------------------------

CXTPPaintManager::CXTPPaintManager() : m_clrStatusTextColor(::GetSysColor(COLOR_BTNTEXT)) {
  RefreshBaseMetrics();
}

CXTPPaintManager::~CXTPPaintManager() = default;

void CXTPPaintManager::RefreshMetrics() {
  RefreshBaseMetrics();
}

void CXTPPaintManager::RefreshBaseMetrics() {
  RefreshStandardFonts();
  CXTPColorManager *pColorManager = XTPGetColorManager();
  pColorManager->RefreshColors();
  for (int i = 0; i < XPCOLOR_COUNT; i++) m_arrColor[i].SetStandardValue(pColorManager->GetColor(i));
  m_nStatusBarValue = 0;
  m_clrStatusTextColor = GetPaintColor(COLOR_BTNTEXT);
}

void CXTPPaintManager::RefreshStandardFonts() {
  CXTPNonClientMetrics ncm;
  if (m_bUseStandardFont) {
    LOGFONTW lf = {};
    lf.lfHeight = ncm.lfMenuFont.lfHeight;
    if (lf.lfHeight < 0 && lf.lfHeight > -11) lf.lfHeight = -11;
    lf.lfWeight = ncm.lfMenuFont.lfWeight;
    lf.lfItalic = ncm.lfMenuFont.lfItalic;
    lstrcpynW(lf.lfFaceName, ncm.lfMenuFont.lfFaceName, LF_FACESIZE);
    HDC hDC = ::GetDC(nullptr);
    lf.lfCharSet = static_cast<BYTE>(::GetTextCharsetInfo(hDC, nullptr, 0));
    ::ReleaseDC(nullptr, hDC);
    SetCommandBarsFontIndirect(&lf, TRUE);
  }

  m_fontSmCaption.DeleteObject();
  m_fontSmCaption.CreateFontIndirect(&ncm.lfSmCaptionFont);

  LOGFONTW lfIcon = {};
  VERIFY(::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(lfIcon), &lfIcon, 0));
  m_fontIcon.DeleteObject();
  m_fontIcon.CreateFontIndirect(&lfIcon);

  LOGFONTW lfMarlett = {};
  lfMarlett.lfHeight = lfIcon.lfHeight;
  lfMarlett.lfCharSet = DEFAULT_CHARSET;
  lstrcpyW(lfMarlett.lfFaceName, L"Marlett");
  m_fontMarlettIcon.DeleteObject();
  m_fontMarlettIcon.CreateFontIndirect(&lfMarlett);

  lfIcon.lfWeight = FW_BOLD;
  m_fontIconBold.DeleteObject();
  m_fontIconBold.CreateFontIndirect(&lfIcon);
}

BOOL CXTPPaintManager::FontExists(LPCTSTR lpszFaceName) {
  if (s_pfnFontExists) return s_pfnFontExists(lpszFaceName);
  return CXTPDrawHelpers::FontExists(lpszFaceName);
}

void CXTPPaintManager::SetCommandBarsFontIndirect(const LOGFONTW *pLogFont, BOOL bUseStandardFont) {
  m_bUseStandardFont = bUseStandardFont;
  if (!pLogFont) return;

  m_fontRegular.DeleteObject();
  m_fontRegularBold.DeleteObject();
  m_fontVert.DeleteObject();
  m_fontVertBold.DeleteObject();

  LOGFONTW lf = *pLogFont;
  if (lstrcmpiW(lf.lfFaceName, L"Tahoma") == 0) m_bUseTahoma = TRUE;
  // A western font that follows the system, once Tahoma was asked for, stays
  // Tahoma: the system menu font must not take it back to another face.
  if (lf.lfCharSet <= 2 && m_bUseStandardFont && m_bUseTahoma && FontExists(L"Tahoma"))
    lstrcpyW(lf.lfFaceName, L"Tahoma");

  m_fontRegular.CreateFontIndirect(&lf);
  LOGFONTW lfBold = lf;
  lfBold.lfWeight = FW_BOLD;
  m_fontRegularBold.CreateFontIndirect(&lfBold);

  LOGFONTW lfVert = lf;
  lfVert.lfEscapement = 2700;
  lfVert.lfOrientation = 900;
  lstrcpynW(lfVert.lfFaceName, CXTPDrawHelpers::GetDefaultFontName(m_bUseTahoma), LF_FACESIZE);
  m_fontVert.CreateFontIndirect(&lfVert);
  lfVert.lfWeight = FW_BOLD;
  m_fontVertBold.CreateFontIndirect(&lfVert);

  HDC hDC = ::GetDC(nullptr);
  HGDIOBJ hOld = ::SelectObject(hDC, static_cast<HFONT>(m_fontRegular));
  SIZE size = {};
  ::GetTextExtentPoint32W(hDC, L" ", 1, &size);
  ::SelectObject(hDC, hOld);
  ::ReleaseDC(nullptr, hDC);
  m_nTextHeight = size.cy + 6;
}

COLORREF CXTPPaintManager::GetPaintColor(int nIndex) const {
  if (nIndex >= 0 && nIndex < XPCOLOR_COUNT) return m_arrColor[nIndex].GetColor();
  return static_cast<COLORREF>(nIndex);
}

void CXTPPaintManager::SetColors(int nCount, const int *pIndexes, const COLORREF *pColors) {
  for (int i = 0; i < nCount; i++)
    if (pIndexes[i] >= 0 && pIndexes[i] < XPCOLOR_COUNT) m_arrColor[pIndexes[i]].SetStandardValue(pColors[i]);
}

int CXTPPaintManager::GetCurrentSystemTheme() const {
  if (m_nSystemTheme == xtpSystemThemeDefault) {
    CXTPColorManager *pColorManager = XTPGetColorManager();
    return pColorManager->IsSystemThemeColorsDisabled() ? xtpSystemThemeUnknown
                                                        : pColorManager->GetCurrentSystemTheme();
  }
  if (m_nSystemTheme == xtpSystemThemeAuto) return XTPGetColorManager()->DetectVisualStyleTheme();
  return m_nSystemTheme;
}

CFont *CXTPPaintManager::GetCommandBarFont(CXTPCommandBar *pBar, BOOL bBold) {
  if (pBar && pBar->IsVerticalPosition()) return bBold ? &m_fontVertBold : &m_fontVert;
  return bBold ? &m_fontRegularBold : &m_fontRegular;
}

BOOL CXTPPaintManager::IsIconStyle(CXTPControl *pControl) {
  int nStyle = pControl->GetStyle();
  return (nStyle == xtpButtonAutomatic && pControl->GetType() != xtpControlPopup) ||
         nStyle == xtpButtonIcon || nStyle == xtpButtonIconAndCaption;
}

// ---------------------------------------------------------------------------
// Primitives

void CXTPPaintManager::Triangle(CDC *pDC, CPoint pt0, CPoint pt1, CPoint pt2, COLORREF clr) {
  CXTPPenDC pen(pDC, clr);
  CXTPBrushDC brush(pDC, clr);
  POINT pts[3] = {pt0, pt1, pt2};
  ::Polygon(pDC->GetSafeHdc(), pts, 3);
}

void CXTPPaintManager::Rectangle(CDC *pDC, CRect rc, int nPen, int nBrush) {
  pDC->FillSolidRect(rc, GetPaintColor(nBrush));
  pDC->Draw3dRect(rc, GetPaintColor(nPen), GetPaintColor(nPen));
}

void CXTPPaintManager::Draw3dRect(CDC *pDC, CRect rc, int nTopLeft, int nBottomRight) {
  pDC->Draw3dRect(rc, GetPaintColor(nTopLeft), GetPaintColor(nBottomRight));
}

void CXTPPaintManager::Line(CDC *pDC, int x0, int y0, int x1, int y1) {
  pDC->MoveTo(x0, y0);
  pDC->LineTo(x1, y1);
}

void CXTPPaintManager::Line(CDC *pDC, int x0, int y0, int x1, int y1, int nPen) {
  CXTPPenDC pen(pDC, GetPaintColor(nPen));
  Line(pDC, x0, y0, x1, y1);
}

void CXTPPaintManager::DrawCheckMark(CDC *pDC, CRect rc, COLORREF clr, BOOL bLayoutRTL) {
  CRect rcBox(CPoint(rc.left + (rc.Width() - 20) / 2, rc.top + (rc.Height() - 20) / 2), CSize(20, 20));
  CXTPPenDC pen(pDC, clr);
  auto polyline = [&](std::initializer_list<POINT> pts) {
    std::vector<POINT> v(pts);
    for (POINT &pt : v) {
      pt.x += rcBox.left;
      pt.y += rcBox.top;
    }
    ::Polyline(pDC->GetSafeHdc(), v.data(), static_cast<int>(v.size()));
  };
  if (!bLayoutRTL) {
    polyline({{6, 9}, {8, 11}, {13, 6}});
    polyline({{6, 10}, {8, 12}, {13, 7}});
  } else {
    polyline({{6, 7}, {10, 11}, {13, 8}});
    polyline({{6, 8}, {10, 12}, {13, 9}});
  }
}

CString CXTPPaintManager::StripAccelerators(LPCTSTR lpszText) {
  CString strResult;
  for (LPCTSTR p = lpszText; p && *p; p++) {
    if (*p == L'&') {
      if (p[1] == L'&') {
        strResult += L'&';
        p++;
      }
      continue;
    }
    strResult += *p;
  }
  return strResult;
}

int CXTPPaintManager::FindMnemonic(LPCWSTR lpszCaption, CString *pText) {
  CString strText;
  int nMnemonic = -1;
  for (LPCWSTR p = lpszCaption; p && *p; p++) {
    if (*p == L'&') {
      if (p[1] == L'&') {
        strText += L'&';
        p++;
      } else if (p[1] != 0 && nMnemonic < 0) {
        nMnemonic = strText.GetLength();
      }
      continue;
    }
    strText += *p;
  }
  if (pText) *pText = strText;
  return nMnemonic;
}

CXTPPaintManager::MnemonicSpan CXTPPaintManager::GetMnemonicSpan(const int *pnExtents, int nCount,
                                                                 int nIndex) {
  if (!pnExtents || nIndex < 0 || nIndex >= nCount) return {0, 0};
  const int nLeft = nIndex > 0 ? pnExtents[nIndex - 1] : 0;
  return {nLeft, std::max(nLeft + 1, pnExtents[nIndex] - 1)};
}

int CXTPPaintManager::FitBeforeEllipsis(const int *pnExtents, int nCount, int nEllipsis, int nWidth) {
  int nKeep = 0;
  while (nKeep < nCount && pnExtents[nKeep] + nEllipsis <= nWidth) nKeep++;
  return nKeep;
}

namespace {

// The width of the first i + 1 characters, for each i.
std::vector<int> CharacterExtents(HDC hDC, const CString &strText) {
  std::vector<int> extents(strText.GetLength());
  if (!extents.empty()) {
    SIZE size = {};
    ::GetTextExtentExPointW(hDC, strText, strText.GetLength(), 0, nullptr, extents.data(), &size);
  }
  return extents;
}

} // namespace

CSize CXTPPaintManager::DrawCaptionText(CDC *pDC, LPCWSTR lpszText, CRect rc, UINT nFormat) {
  HDC hDC = pDC->GetSafeHdc();
  // A rotated font runs its characters along another axis: the system lays
  // those out itself.
  LOGFONTW lf = {};
  if (::GetObjectW(::GetCurrentObject(hDC, OBJ_FONT), sizeof(lf), &lf) && lf.lfEscapement != 0) {
    CRect rcText = rc;
    ::DrawTextW(hDC, lpszText, -1, &rcText, nFormat | DT_SINGLELINE);
    return rcText.Size();
  }
  CString strText;
  int nMnemonic = -1;
  if (nFormat & DT_NOPREFIX)
    strText = lpszText ? lpszText : L"";
  else
    nMnemonic = FindMnemonic(lpszText, &strText);

  TEXTMETRICW tm = {};
  ::GetTextMetricsW(hDC, &tm);
  std::vector<int> extents = CharacterExtents(hDC, strText);
  int nWidth = extents.empty() ? 0 : extents.back();
  if (nFormat & DT_CALCRECT) return CSize(nWidth, tm.tmHeight);

  if ((nFormat & DT_END_ELLIPSIS) && nWidth > rc.Width()) {
    SIZE szEllipsis = {};
    ::GetTextExtentPoint32W(hDC, L"...", 3, &szEllipsis);
    const int nKeep =
        FitBeforeEllipsis(extents.data(), static_cast<int>(extents.size()), szEllipsis.cx, rc.Width());
    strText = strText.Left(nKeep) + L"...";
    if (nMnemonic >= nKeep) nMnemonic = -1;
    extents = CharacterExtents(hDC, strText);
    nWidth = extents.back();
  }

  // Placed where DrawText places a line, to the pixel.
  const int x = (nFormat & DT_RIGHT)    ? rc.right - nWidth
                : (nFormat & DT_CENTER) ? (rc.left + rc.right - nWidth) / 2
                                        : rc.left;
  const int y = (nFormat & DT_VCENTER)  ? rc.top + rc.Height() / 2 - tm.tmHeight / 2
                : (nFormat & DT_BOTTOM) ? rc.bottom - tm.tmHeight
                                        : rc.top;
  std::vector<int> advances(extents.size());
  for (size_t i = 0; i < extents.size(); i++) advances[i] = extents[i] - (i > 0 ? extents[i - 1] : 0);
  const BOOL bClip = (nFormat & DT_NOCLIP) == 0;
  const UINT nAlign = ::SetTextAlign(hDC, TA_LEFT | TA_TOP | TA_NOUPDATECP);
  ::ExtTextOutW(hDC, x, y, bClip ? ETO_CLIPPED : 0, &rc, strText, strText.GetLength(),
                advances.empty() ? nullptr : advances.data());
  ::SetTextAlign(hDC, nAlign);

  if (nMnemonic >= 0) {
    const MnemonicSpan span = GetMnemonicSpan(extents.data(), static_cast<int>(extents.size()), nMnemonic);
    const int yLine = y + tm.tmAscent + 1;
    CRect rcLine(x + span.nLeft, yLine, x + span.nRight, yLine + 1);
    if (!bClip || rcLine.IntersectRect(rcLine, rc)) {
      HBRUSH hBrush = ::CreateSolidBrush(::GetTextColor(hDC));
      ::FillRect(hDC, rcLine, hBrush);
      ::DeleteObject(hBrush);
    }
  }
  return CSize(nWidth, tm.tmHeight);
}

CSize CXTPPaintManager::DrawTextWithAccelerator(CDC *pDC, CString strText, CRect rc, BOOL bDraw,
                                                BOOL bVertical, BOOL bCentered, BOOL bTriangle,
                                                BOOL bEmbossed) {
  CString strStripped = StripAccelerators(strText);
  HDC hDC = pDC->GetSafeHdc();
  SIZE szText = {};
  if (strStripped.IsEmpty())
    ::GetTextExtentPoint32W(hDC, L" ", 1, &szText);
  else
    ::GetTextExtentPoint32W(hDC, strStripped, strStripped.GetLength(), &szText);
  CSize sz(szText.cx, szText.cy);

  if (!bDraw) {
    if (bTriangle) sz.cx += 10;
    return bVertical ? CSize(sz.cy, sz.cx) : sz;
  }

  if (!bVertical) {
    int nWidth = sz.cx + (bTriangle ? 5 : 0);
    if (bCentered) rc.left += (rc.Width() - nWidth) / 2;
    if (bEmbossed) DrawTextHighlight(pDC, strStripped, rc, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (m_bShowKeyboardCues)
      DrawCaptionText(pDC, strText, rc, DT_SINGLELINE | DT_VCENTER);
    else
      DrawCaptionText(pDC, strStripped, rc, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (bTriangle) {
      int x = rc.left + sz.cx + 5, y = rc.CenterPoint().y;
      Triangle(pDC, CPoint(x, y + 1), CPoint(x + 2, y - 1), CPoint(x - 2, y - 1), pDC->GetTextColor());
    }
    return sz;
  }

  // A vertical font draws downwards from its origin, which is the text's
  // right-hand side; the column is centred across the bar.
  CRect rcText = rc;
  rcText.left = rc.right - (rc.Width() - sz.cy + 1) / 2;
  if (bCentered) rcText.top += (rc.Height() - sz.cx - (bTriangle ? 5 : 0)) / 2;
  const UINT nFormat = DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX;
  if (bEmbossed) DrawTextHighlight(pDC, strStripped, rcText, nFormat);
  ::DrawTextW(hDC, strStripped, -1, &rcText, nFormat);
  if (bTriangle) {
    int x = rc.CenterPoint().x, y = rcText.top + sz.cx + 5;
    Triangle(pDC, CPoint(x, y), CPoint(x + 2, y + 2), CPoint(x + 2, y - 2), pDC->GetTextColor());
  }
  return CSize(sz.cy, sz.cx);
}

void CXTPPaintManager::BlendPixels(const DWORD *pSrc, DWORD *pDest, int nCount, int nAlpha) {
  for (int i = 0; i < nCount; i++) {
    const BYTE *s = reinterpret_cast<const BYTE *>(&pSrc[i]);
    BYTE *d = reinterpret_cast<BYTE *>(&pDest[i]);
    for (int c = 0; c < 3; c++) d[c] = static_cast<BYTE>((d[c] * (255 - nAlpha) + s[c] * nAlpha) >> 8);
  }
}

void CXTPPaintManager::GradientFill(CDC *pDC, LPCRECT lpRect, COLORREF crFrom, COLORREF crTo, BOOL bHorz) {
  XTPGetDrawHelpers()->GradientFill(pDC, lpRect, crFrom, crTo, bHorz);
}

void CXTPPaintManager::DrawTextHighlight(CDC *pDC, LPCWSTR lpszText, CRect rc, UINT nFormat) {
  COLORREF clrText = pDC->GetTextColor();
  pDC->SetTextColor(GetPaintColor(COLOR_BTNHIGHLIGHT));
  rc.OffsetRect(1, 1);
  if (nFormat & DT_SINGLELINE)
    DrawCaptionText(pDC, lpszText, rc, nFormat);
  else
    ::DrawTextW(pDC->GetSafeHdc(), lpszText, -1, &rc, nFormat);
  pDC->SetTextColor(clrText);
}

void CXTPPaintManager::DrawDownTriangle(CXTPPaintManager *pPM, CDC *pDC, int x, int y, COLORREF clr) {
  pPM->Triangle(pDC, CPoint(x, y + 1), CPoint(x + 2, y - 1), CPoint(x - 2, y - 1), clr);
}

// ---------------------------------------------------------------------------
// Controls

namespace {

int BarPosition(CXTPControl *pControl) {
  return pControl->GetParent() ? pControl->GetParent()->GetPosition() : xtpBarTop;
}

} // namespace

CSize CXTPPaintManager::DrawControl(CDC *pDC, CXTPControl *pControl, BOOL bDraw) {
  CXTPCommandBar *pBar = pControl->GetParent();
  switch (pControl->GetType()) {
  case xtpControlEdit:
    return DrawEditControl(pDC, pControl, bDraw);
  case xtpControlComboBox:
    return DrawComboBoxControl(pDC, pControl, bDraw);
  default:
    if (pBar && pBar->GetType() == xtpBarTypePopup) return DrawPopupBarControl(pDC, pControl, bDraw);
    return DrawToolBarControl(pDC, pControl, bDraw);
  }
}

void CXTPPaintManager::DrawControlEntry(CDC *pDC, CXTPControl *pControl) {
  DrawControlEntry(pDC, pControl, BarPosition(pControl));
}

void CXTPPaintManager::DrawControlEntry(CDC *pDC, CXTPControl *pControl, int nBarPosition) {
  DrawRectangle(pDC, pControl->GetRect(), pControl->GetEnabled(), pControl->GetSelected(),
                pControl->GetPressed(), pControl->GetChecked(), IsControlPopuped(pControl), nBarPosition);
}

void CXTPPaintManager::DrawSplitButtonFrame(CDC *pDC, CXTPControl *pControl, CRect rc) {
  BOOL bOpen = IsControlPopuped(pControl);
  CRect rcButton = rc;
  if (!bOpen) rcButton.right -= 11;
  DrawRectangle(pDC, rcButton, pControl->GetEnabled(), pControl->GetSelected(), pControl->GetPressed(),
                pControl->GetChecked(), bOpen, BarPosition(pControl));
  if ((pControl->GetSelected() || pControl->GetPressed()) && pControl->GetEnabled() && !bOpen) {
    CRect rcArrow(rc.right - 12, rc.top, rc.right, rc.bottom);
    DrawRectangle(pDC, rcArrow, TRUE, TRUE, FALSE, FALSE, FALSE, BarPosition(pControl));
  }
  DrawDownTriangle(this, pDC, rc.right - 7, rc.CenterPoint().y, pDC->GetTextColor());
}

CSize CXTPPaintManager::DrawToolBarControl(CDC *pDC, CXTPControl *pControl, BOOL bDraw) {
  CXTPCommandBar *pBar = pControl->GetParent();
  CXTPFontDC font(pDC, GetCommandBarFont(pBar, pControl->GetDefaultItem()));
  CRect rc = bDraw ? pControl->GetRect() : CRect(0, 0, 0, 0);
  CSize szIcon = pBar ? pBar->GetIconSize() : CSize(16, 16);
  CSize szButton = pBar ? pBar->GetButtonSize() : CSize(szIcon.cx + 7, szIcon.cy + 7);
  const BOOL bVert = pBar && pBar->IsVerticalPosition();
  const XTPControlType type = pControl->GetType();

  CXTPImageManagerIcon *pImage = IsIconStyle(pControl) ? pControl->GetImage(szIcon.cx) : nullptr;
  const BOOL bDrawImage = pImage != nullptr;
  const BOOL bCaption = pControl->IsCaptionVisible();
  CString strCaption = pControl->GetCaption();
  if (pBar && pBar->IsLayoutRTL()) AdjustCaption(strCaption);

  if (bDraw) {
    if (type == xtpControlSplitButtonPopup)
      DrawSplitButtonFrame(pDC, pControl, rc);
    else
      DrawControlEntry(pDC, pControl);
  }

  CSize szImage = szIcon;
  if (pImage && pImage->GetWidth() > 0) szImage.cy = szIcon.cx * pImage->GetHeight() / pImage->GetWidth();
  auto drawImage = [&](CPoint pt) {
    DrawImage(pDC, pt, szImage, pImage, pControl->GetSelected(), pControl->GetPressed(),
              pControl->GetEnabled(), pControl->GetChecked(), IsControlPopuped(pControl), TRUE);
  };
  const BOOL bEmbossed = m_bEmbossDisabledText && !pControl->GetEnabled();
  const BOOL bTriangleType = type == xtpControlPopup;

  // Text below icons.
  if (pBar && pBar->IsTextBelowIcons() && bDrawImage) {
    CSize szText = DrawTextWithAccelerator(pDC, strCaption, rc, FALSE, FALSE, FALSE, bTriangleType);
    if (!bDraw) {
      int cx = std::max<int>(szText.cx + 10, szButton.cx) + (type == xtpControlSplitButtonPopup ? 11 : 0);
      int cy = szButton.cy + szText.cy;
      return CSize(std::max(cx, cy), cy);
    }
    CRect rcImage = rc;
    if (type == xtpControlSplitButtonPopup) rcImage.right -= 11;
    drawImage(CPoint(rcImage.CenterPoint().x - szImage.cx / 2, rc.top + 4));
    CRect rcText(rc.left, rc.top - 4 + szButton.cy, rcImage.right, rc.bottom);
    DrawTextWithAccelerator(pDC, strCaption, rcText, TRUE, FALSE, TRUE, bTriangleType, bEmbossed);
    return rc.Size();
  }

  auto imagePoint = [&](BOOL bLeft) {
    if (bVert && !bLeft) return CPoint(rc.CenterPoint().x - szImage.cx / 2, rc.top + 4);
    return CPoint(rc.left + 3, rc.top + (rc.Height() - szImage.cy) / 2);
  };

  // Icon and caption side by side (stacked on vertical bars). The caption
  // starts after the icon's button cell, so it never runs over the icon.
  auto iconAndCaption = [&](CRect rcLayout) -> CSize {
    if (bDrawImage && bDraw) drawImage(imagePoint(FALSE));
    if (!bVert) {
      int nStart = bDrawImage ? szButton.cx - 1 : 4;
      CRect rcText(rcLayout.left + nStart, rcLayout.top, rcLayout.right, rcLayout.bottom);
      CSize szText = DrawTextWithAccelerator(pDC, strCaption, rcText, bDraw, FALSE, FALSE, FALSE, bEmbossed);
      return CSize((bDrawImage ? szButton.cx : 4) + szText.cx + 3,
                   std::max<int>(szText.cy + 6, bDrawImage ? szButton.cy : 0));
    }
    int nStart = bDrawImage ? szButton.cy - 1 : 4;
    CRect rcText(rcLayout.left, rcLayout.top + nStart, rcLayout.right, rcLayout.bottom);
    CSize szText = DrawTextWithAccelerator(pDC, strCaption, rcText, bDraw, TRUE, FALSE, FALSE, bEmbossed);
    return CSize(std::max<int>(szText.cx + 6, bDrawImage ? szButton.cx : 0),
                 (bDrawImage ? szButton.cy : 4) + szText.cy + 3);
  };

  switch (type) {
  case xtpControlButton:
  case xtpControlButtonPopup:
  case xtpControlLabel:
    if (!bCaption) {
      if (bDrawImage && bDraw) drawImage(imagePoint(FALSE));
      return bDrawImage ? szButton : CSize(23, 23);
    }
    return iconAndCaption(rc);

  case xtpControlPopup:
    if (bDrawImage && !bCaption) {
      if (bDraw) {
        drawImage(imagePoint(TRUE));
        DrawDownTriangle(this, pDC, rc.right - 7, rc.CenterPoint().y, pDC->GetTextColor());
      }
      return CSize(szButton.cx + 7, szButton.cy);
    }
    if (bDrawImage) return iconAndCaption(rc);
    {
      BOOL bTriangle = pBar && pBar->GetType() != xtpBarTypeMenuBar;
      CSize szText = DrawTextWithAccelerator(pDC, strCaption, rc, bDraw, bVert, TRUE, bTriangle, bEmbossed);
      return CSize(szText.cx + 6, szText.cy + 6);
    }

  case xtpControlSplitButtonPopup: {
    if (!bDrawImage && !bCaption) return CSize(23, 23);
    if (bCaption) {
      CRect rcLayout = rc;
      rcLayout.right -= 11;
      CSize sz = iconAndCaption(rcLayout);
      return CSize(sz.cx + 11, sz.cy);
    }
    if (bDraw) drawImage(imagePoint(TRUE));
    return CSize(szButton.cx + 11, szButton.cy);
  }

  default:
    return CSize(0, 0);
  }
}

CSize CXTPPaintManager::DrawSpecialControl(int nType, CDC *pDC, CXTPControl *pControl, CXTPCommandBar *pBar,
                                           BOOL bDraw, LPARAM lParam) {
  switch (nType) {
  case xtpButtonExpandToolbar: {
    if (!pBar) return CSize(0, 0);
    CRect rcBar = pBar->GetBarClientRect();
    const BOOL bVert = pBar->IsVerticalPosition();
    if (!bDraw) {
      CRect rc = bVert ? CRect(2, rcBar.Height() - 13, rcBar.Width() - 2, rcBar.Height() - 2)
                       : CRect(rcBar.Width() - 13, 2, rcBar.Width() - 2, rcBar.Height() - 2);
      pControl->SetRect(rc);
      return rc.Size();
    }
    DrawControlEntry(pDC, pControl);
    CRect rc = pControl->GetRect();
    COLORREF clr = pDC->GetTextColor();
    if (!bVert) {
      DrawDownTriangle(this, pDC, rc.CenterPoint().x, rc.bottom - 6, clr);
    } else {
      int x = rc.left + 4, y = rc.top + 5;
      Triangle(pDC, CPoint(x, y), CPoint(x + 2, y + 2), CPoint(x + 2, y - 2), clr);
    }
    if (lParam) {
      CXTPPenDC pen(pDC, clr);
      static const POINT chevrons[4][3] = {{{2, 4}, {4, 6}, {1, 9}},
                                           {{3, 4}, {5, 6}, {2, 9}},
                                           {{6, 4}, {8, 6}, {5, 9}},
                                           {{7, 4}, {9, 6}, {6, 9}}};
      for (const auto &line : chevrons) {
        POINT pts[3];
        for (int i = 0; i < 3; i++) {
          // Vertical bars turn the chevrons to point down from the top-right.
          pts[i] = !bVert ? POINT{rc.left + line[i].x, rc.top + line[i].y}
                          : POINT{rc.right + line[i].y - 12, rc.top + line[i].x};
        }
        ::Polyline(pDC->GetSafeHdc(), pts, 3);
      }
    }
    return rc.Size();
  }
  case xtpButtonExpandMenu: {
    if (!bDraw) return CSize(0, 12);
    DrawControlEntry(pDC, pControl);
    CRect rc = pControl->GetRect();
    CPoint c = rc.CenterPoint();
    CXTPPenDC pen(pDC, pDC->GetTextColor());
    static const POINT chevrons[4][3] = {{{-2, 2}, {0, 4}, {3, 1}},
                                         {{-2, 3}, {0, 5}, {3, 2}},
                                         {{-2, 6}, {0, 8}, {3, 5}},
                                         {{-2, 7}, {0, 9}, {3, 6}}};
    for (const auto &line : chevrons) {
      POINT pts[3];
      for (int i = 0; i < 3; i++)
        pts[i] = POINT{c.x + line[i].x, rc.top + line[i].y + (rc.Height() - 12) / 2};
      ::Polyline(pDC->GetSafeHdc(), pts, 3);
    }
    return rc.Size();
  }
  case xtpButtonHideFloating: {
    if (!bDraw) return pControl->GetRect().Size();
    CFont font;
    int nLogPixels = pDC->GetDeviceCaps(LOGPIXELSY);
    font.CreatePointFont(nLogPixels > 0 ? 80 * 96 / nLogPixels : 80, L"Marlett", pDC);
    CXTPFontDC fontDC(pDC, &font);
    DrawControlEntry(pDC, pControl);
    if (!pControl->GetPressed() && !pControl->GetSelected())
      pDC->SetTextColor(GetPaintColor(COLOR_HIGHLIGHTTEXT));
    CRect rc = pControl->GetRect();
    ::DrawTextW(pDC->GetSafeHdc(), L"r", 1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    return rc.Size();
  }
  case xtpButtonExpandFloating: {
    if (!bDraw) return pControl->GetRect().Size();
    DrawControlEntry(pDC, pControl);
    if (!pControl->GetSelected() && !IsControlPopuped(pControl))
      pDC->SetTextColor(GetPaintColor(COLOR_HIGHLIGHTTEXT));
    CRect rc = pControl->GetRect();
    CPoint c = rc.CenterPoint();
    Triangle(pDC, CPoint(c.x, c.y + 1), CPoint(c.x + 3, c.y - 2), CPoint(c.x - 3, c.y - 2),
             pDC->GetTextColor());
    return rc.Size();
  }
  default:
    return CSize(0, 0);
  }
}

CRect CXTPPaintManager::GetCommandBarBorders(CXTPCommandBar * /*pBar*/) {
  return CRect(2, 2, 2, 2);
}

// ---------------------------------------------------------------------------
// Status bar and dock bars

CRect CXTPPaintManager::GetStatusBarPaneRect(CStatusBar *pStatusBar, int nIndex) {
  CRect rc;
  pStatusBar->GetItemRect(nIndex, &rc);
  if (nIndex != pStatusBar->GetCount() - 1) return rc;
  UINT nID = 0, nStyle = 0;
  int nWidth = 0;
  pStatusBar->GetPaneInfo(nIndex, nID, nStyle, nWidth);
  // The status window runs its last pane to the end of the bar; the bevel
  // stops at the pane's text width, or short of the size grip.
  const int cxEdge = ::GetSystemMetrics(SM_CXEDGE);
  if (!(nStyle & SBPS_STRETCH)) {
    rc.right = rc.left + nWidth + 3 * cxEdge;
  } else {
    CRect rcClient;
    ::GetClientRect(pStatusBar->GetSafeHwnd(), &rcClient);
    rc.right = rcClient.right;
    if (::GetWindowLongW(pStatusBar->GetSafeHwnd(), GWL_STYLE) & SBARS_SIZEGRIP)
      rc.right -= ::GetSystemMetrics(SM_CXSMICON) + cxEdge;
  }
  return rc;
}

void CXTPPaintManager::DrawStatusBarPane(CDC *pDC, CStatusBar *pStatusBar, int nIndex) {
  CRect rc = GetStatusBarPaneRect(pStatusBar, nIndex);
  UINT nID = 0, nStyle = 0;
  int nWidth = 0;
  pStatusBar->GetPaneInfo(nIndex, nID, nStyle, nWidth);
  if (!(nStyle & SBPS_NOBORDERS)) DrawStatusBarPaneBorder(pDC, rc, nIndex == pStatusBar->GetCount() - 1);
  if (!(nStyle & SBPS_DISABLED)) {
    CString strText = pStatusBar->GetPaneText(nIndex);
    rc.DeflateRect(2, 1);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(m_clrStatusTextColor);
    ::DrawTextW(pDC->GetSafeHdc(), strText, -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS);
  }
}

void CXTPPaintManager::DrawStatusBarPaneBorder(CDC *pDC, CRect rc, BOOL /*bGripperPane*/) {
  Draw3dRect(pDC, rc, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
}

void CXTPPaintManager::DrawStatusBarGripper(CDC *pDC, CRect rcClient) {
  for (int i = 0; i < 3; i++) {
    Line(pDC, rcClient.right - 3 - 4 * i, rcClient.bottom - 2, rcClient.right - 1,
         rcClient.bottom - 4 - 4 * i, COLOR_BTNSHADOW);
    Line(pDC, rcClient.right - 4 - 4 * i, rcClient.bottom - 2, rcClient.right - 1,
         rcClient.bottom - 5 - 4 * i, COLOR_BTNSHADOW);
    Line(pDC, rcClient.right - 5 - 4 * i, rcClient.bottom - 2, rcClient.right - 1,
         rcClient.bottom - 6 - 4 * i, COLOR_BTNHIGHLIGHT);
  }
}

void CXTPPaintManager::FillDockBar(CDC *pDC, CWnd *pDockBar) {
  CRect rc;
  ::GetClientRect(pDockBar->GetSafeHwnd(), &rc);
  pDC->FillSolidRect(rc, GetPaintColor(COLOR_BTNFACE));
}

void CXTPPaintManager::FillStatusBar(CDC *pDC, CWnd *pStatusBar) {
  FillDockBar(pDC, pStatusBar);
}

// ---------------------------------------------------------------------------
// Animations

void CXTPPaintManager::Animate(CDC *pDestDC, CDC *pSrcDC, CRect rc, int nAnimationType) {
  const int nSteps = std::max(1, m_nAnimationSteps);
  const DWORD dwFrame = static_cast<DWORD>(m_nAnimationTime / nSteps);
  const int w = rc.Width(), h = rc.Height();
  HDC hDest = pDestDC->GetSafeHdc(), hSrc = pSrcDC->GetSafeHdc();
  switch (nAnimationType) {
  case xtpAnimateUnfold:
    for (int i = 1; i <= nSteps; i++) {
      int cx = w * i / nSteps, cy = h * i / nSteps;
      ::BitBlt(hDest, rc.left, rc.top, cx, cy, hSrc, rc.right - cx, rc.bottom - cy, SRCCOPY);
      ::Sleep(dwFrame);
    }
    break;
  case xtpAnimateSlide:
    for (int i = 1; i <= nSteps; i++) {
      int cy = h * i / nSteps;
      ::BitBlt(hDest, rc.left, rc.top, w, cy, hSrc, rc.left, rc.bottom - cy, SRCCOPY);
      ::Sleep(dwFrame);
    }
    break;
  case xtpAnimateFade: {
    if (w <= 0 || h <= 0) break;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    DWORD *pPopup = nullptr, *pScreen = nullptr, *pWork = nullptr;
    HBITMAP hPopup =
        ::CreateDIBSection(hDest, &bi, DIB_RGB_COLORS, reinterpret_cast<void **>(&pPopup), nullptr, 0);
    HBITMAP hScreen =
        ::CreateDIBSection(hDest, &bi, DIB_RGB_COLORS, reinterpret_cast<void **>(&pScreen), nullptr, 0);
    HBITMAP hWork =
        ::CreateDIBSection(hDest, &bi, DIB_RGB_COLORS, reinterpret_cast<void **>(&pWork), nullptr, 0);
    HDC hMem = ::CreateCompatibleDC(hDest);
    if (hPopup && hScreen && hWork && hMem) {
      HGDIOBJ hOld = ::SelectObject(hMem, hPopup);
      ::BitBlt(hMem, 0, 0, w, h, hSrc, rc.left, rc.top, SRCCOPY);
      ::SelectObject(hMem, hScreen);
      ::BitBlt(hMem, 0, 0, w, h, hDest, rc.left, rc.top, SRCCOPY);
      ::SelectObject(hMem, hWork);
      ::GdiFlush();
      for (int i = 1; i < nSteps; i++) {
        DWORD dwStart = ::GetTickCount();
        int nAlpha = i * 255 / nSteps;
        std::copy(pScreen, pScreen + w * h, pWork);
        BlendPixels(pPopup, pWork, w * h, nAlpha);
        ::BitBlt(hDest, rc.left, rc.top, w, h, hMem, 0, 0, SRCCOPY);
        DWORD dwSpent = ::GetTickCount() - dwStart;
        if (dwSpent < dwFrame) ::Sleep(dwFrame - dwSpent);
      }
      ::SelectObject(hMem, hOld);
    }
    if (hMem) ::DeleteDC(hMem);
    if (hPopup) ::DeleteObject(hPopup);
    if (hScreen) ::DeleteObject(hScreen);
    if (hWork) ::DeleteObject(hWork);
    break;
  }
  default:
    break;
  }
}

void CXTPPaintManager::AnimateExpanding(CXTPCommandBar *pBar, CDC *pDestDC, CDC *pSrcDC) {
  CRect rcClient = pBar->GetBarClientRect();
  const int nSteps = std::max(1, m_nAnimationSteps);
  CXTPControls *pControls = pBar->GetControls();
  HDC hDest = pDestDC->GetSafeHdc(), hSrc = pSrcDC->GetSafeHdc();
  for (int i = 1; i <= nSteps; i++) {
    double dRatio = static_cast<double>(i) / nSteps;
    int nSrcTop = 0, nDestTop = 0;
    BOOL bBandExpanded = FALSE;
    auto copyBand = [&](int nSrcBottom) {
      int nHeight = nSrcBottom - nSrcTop;
      if (nHeight <= 0) return;
      int nDestHeight = bBandExpanded ? static_cast<int>(nHeight * dRatio) : nHeight;
      ::StretchBlt(hDest, 0, nDestTop, rcClient.Width(), nDestHeight, hSrc, 0, nSrcTop, rcClient.Width(),
                   nHeight, SRCCOPY);
      nDestTop += nDestHeight;
      nSrcTop = nSrcBottom;
    };
    for (int j = 0; j < pControls->GetCount(); j++) {
      CXTPControl *pControl = pControls->GetAt(j);
      if (!pControl->IsVisible()) continue;
      if (pControl->GetExpandedOnly() != bBandExpanded) {
        copyBand(pControl->GetRect().top);
        bBandExpanded = pControl->GetExpandedOnly();
      }
    }
    copyBand(rcClient.bottom);
    ::Sleep(static_cast<DWORD>(m_nAnimationTime / nSteps));
  }
}

BOOL CXTPPaintManager::IsControlPopuped(CXTPControl *pControl) {
  auto *pPopup = dynamic_cast<CXTPControlPopup *>(pControl);
  return pPopup && pPopup->GetPopup();
}

BOOL CXTPPaintManager::IsPopupType(int nType) {
  return nType == xtpControlPopup || nType == xtpControlButtonPopup || nType == xtpControlSplitButtonPopup;
}
