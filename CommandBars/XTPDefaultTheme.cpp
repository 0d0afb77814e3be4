#include "XTPDefaultTheme.h"

#include <algorithm>

#include "XTPCommandBar.h"
#include "XTPCommandBars.h"
#include "XTPControl.h"
#include "XTPControlComboBox.h"
#include "XTPControlPopup.h"
#include "XTPDrawHelpers.h"
#include "XTPImageManager.h"

CXTPDefaultTheme::CXTPDefaultTheme() {
  m_iconsInfo.bUseFadedIcons = FALSE;
  m_iconsInfo.bIconsWithShadow = FALSE;
}

// ---------------------------------------------------------------------------
// Bars

void CXTPDefaultTheme::FillCommandBarEntry(CDC *pDC, CXTPCommandBar *pBar) {
  CRect rc = pBar->GetBarClientRect();
  pDC->FillSolidRect(rc, GetPaintColor(COLOR_BTNFACE));
  int nPosition = pBar->GetPosition();
  if (nPosition == xtpBarFloating || nPosition == xtpBarPopup) {
    Draw3dRect(pDC, rc, COLOR_BTNFACE, COLOR_3DDKSHADOW);
    rc.DeflateRect(1, 1);
  }
  Draw3dRect(pDC, rc, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
}

CRect CXTPDefaultTheme::GetCommandBarBorders(CXTPCommandBar *pBar) {
  if (pBar && pBar->GetType() == xtpBarTypePopup) return CRect(3, 3, 3, 3);
  return CXTPPaintManager::GetCommandBarBorders(pBar);
}

CSize CXTPDefaultTheme::DrawCommandBarGripper(CDC *pDC, CXTPCommandBar *pBar, BOOL bDraw) {
  if (pBar->IsDialogBar()) return DrawDialogBarGripper(pDC, pBar, bDraw);
  CRect rc = pBar->GetBarClientRect();
  switch (pBar->GetPosition()) {
  case xtpBarFloating: {
    CXTPFontDC font(pDC, &m_fontSmCaption);
    SIZE szBlank = {};
    ::GetTextExtentPoint32W(pDC->GetSafeHdc(), L" ", 1, &szBlank);
    int nCaption = std::max<int>(15, szBlank.cy);
    CRect rcCaption(3, 3, rc.Width() - 3, nCaption + 3);
    if (bDraw) {
      pDC->FillSolidRect(rcCaption, GetPaintColor(COLOR_ACTIVECAPTION));
      pDC->SetTextColor(GetPaintColor(COLOR_BTNHIGHLIGHT));
      pDC->SetBkMode(TRANSPARENT);
      CRect rcText(rcCaption.left + 2, rcCaption.top, rcCaption.right - 2 * nCaption, rcCaption.bottom);
      ::DrawTextW(pDC->GetSafeHdc(), pBar->GetTitle(), -1, &rcText,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    return rcCaption.Size();
  }
  case xtpBarLeft:
  case xtpBarRight:
    if (bDraw) Draw3dRect(pDC, CRect(3, 3, rc.Width() - 3, 6), COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
    return CSize(0, 8);
  case xtpBarTop:
  case xtpBarBottom:
    if (bDraw) Draw3dRect(pDC, CRect(3, 3, 6, rc.Height() - 3), COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
    return CSize(6, 0);
  default:
    return CSize(0, 0);
  }
}

CSize CXTPDefaultTheme::DrawDialogBarGripper(CDC *pDC, CXTPCommandBar * /*pBar*/, BOOL bDraw) {
  int nHeight = std::max(m_nTextHeight + 4, 22);
  if (bDraw) Draw3dRect(pDC, CRect(3, 3, 6, nHeight), COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
  return CSize(6, nHeight);
}

CSize CXTPDefaultTheme::DrawCaptionBand(CDC *pDC, CRect rc, BOOL bActive, BOOL bDraw) {
  if (bDraw) {
    CRect rcFill = rc;
    rcFill.bottom--;
    pDC->FillSolidRect(rcFill, GetPaintColor(bActive ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
  }
  return CSize(0, 8);
}

CSize CXTPDefaultTheme::DrawCommandBarSeparator(CDC *pDC, CXTPCommandBar *pBar, CXTPControl *pControl,
                                                BOOL bDraw) {
  if (!bDraw) {
    ASSERT(pBar->GetType() == xtpBarTypePopup);
    return CSize(0, 8);
  }
  CRect rc = pControl->GetRect();
  CRect rcRow = pControl->GetRowRect();
  CRect rcBar = pBar->GetBarClientRect();
  auto etched = [&](int l, int t, int r, int b) {
    Draw3dRect(pDC, CRect(l, t, r, b), COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
  };
  if (pBar->GetType() == xtpBarTypePopup) {
    etched(14, rc.top - 5, rcBar.Width() - 14, rc.top - 3);
  } else if (pBar->IsVerticalPosition()) {
    if (pControl->GetWrap())
      etched(rcRow.right + 2, rcRow.top + 4, rcRow.right + 4, rcRow.bottom);
    else
      etched(rcRow.left, rc.top - 4, rcRow.right, rc.top - 2);
  } else {
    if (pControl->GetWrap())
      etched(rcRow.left + 4, rcRow.top - 4, rcRow.right, rcRow.top - 2);
    else
      etched(rc.left - 4, rcRow.top, rc.left - 2, rcRow.bottom);
  }
  return CSize(0, 0);
}

void CXTPDefaultTheme::AdjustExcludeRect(CRect &rc, CXTPControl *pControl, BOOL bVertical) {
  if (pControl->GetType() == xtpControlComboBox) return;
  CXTPCommandBar *pParent = pControl->GetParent();
  if (pParent && pParent->GetType() == xtpBarTypePopup)
    rc.DeflateRect(1, 0);
  else if (bVertical)
    rc.InflateRect(0, 1);
  else
    rc.InflateRect(1, 0);
}

// ---------------------------------------------------------------------------
// Frames

HBITMAP CXTPDefaultTheme::CreateCheckedPatternBitmap() {
  // Monochrome rows are WORD-aligned: each 8-pixel row takes two bytes.
  static const WORD kRows[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  return ::CreateBitmap(8, 8, 1, 1, kRows);
}

void CXTPDefaultTheme::DrawCheckedPattern(CDC *pDC, CRect rc) {
  HBITMAP hPattern = CreateCheckedPatternBitmap();
  HBRUSH hBrush = ::CreatePatternBrush(hPattern);
  HDC hDC = pDC->GetSafeHdc();
  HGDIOBJ hOldBrush = ::SelectObject(hDC, hBrush);
  COLORREF clrOldBk = ::SetBkColor(hDC, GetPaintColor(COLOR_BTNFACE));
  COLORREF clrOldText = ::SetTextColor(hDC, GetPaintColor(COLOR_BTNHIGHLIGHT));
  ::PatBlt(hDC, rc.left, rc.top, rc.Width(), rc.Height(), PATCOPY);
  ::SetTextColor(hDC, clrOldText);
  ::SetBkColor(hDC, clrOldBk);
  ::SelectObject(hDC, hOldBrush);
  ::DeleteObject(hBrush);
  ::DeleteObject(hPattern);
}

void CXTPDefaultTheme::DrawControlFrame(CDC *pDC, CRect rc, int nSelected, int nPressed, BOOL bEnabled,
                                        BOOL bChecked, BOOL bPopuped, BOOL bToolBar, int /*nBarPosition*/) {
  auto sunken = [&] { Draw3dRect(pDC, rc, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT); };
  auto raised = [&] { Draw3dRect(pDC, rc, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW); };
  if (bEnabled) {
    if (bChecked && !nSelected && !nPressed) {
      DrawCheckedPattern(pDC, rc);
      sunken();
    } else if (!bChecked && !bPopuped && nPressed != 2 && !(nSelected && nPressed)) {
      if (nSelected || nPressed) raised();
    } else {
      sunken();
    }
  } else if ((bChecked && !bToolBar) || nSelected == 2) {
    sunken();
  }
}

void CXTPDefaultTheme::DrawRectangle(CDC *pDC, CRect rc, BOOL bEnabled, int nSelected, int nPressed,
                                     BOOL bChecked, BOOL bPopuped, int nBarPosition) {
  DrawControlFrame(pDC, rc, nSelected, nPressed, bEnabled, bChecked, bPopuped, TRUE, nBarPosition);
  pDC->SetTextColor(GetPaintColor(!bEnabled                     ? COLOR_GRAYTEXT
                                  : nBarPosition == xtpBarPopup ? m_nPopupBarText
                                                                : COLOR_BTNTEXT));
  pDC->SetBkMode(TRANSPARENT);
}

void CXTPDefaultTheme::DrawSplitButtonFrame(CDC *pDC, CXTPControl *pControl, CRect rc) {
  const BOOL bOpen = IsControlPopuped(pControl);
  const int nPosition = pControl->GetParent() ? pControl->GetParent()->GetPosition() : xtpBarTop;
  CRect rcButton(rc.left, rc.top, rc.right - 12, rc.bottom);
  DrawRectangle(pDC, rcButton, pControl->GetEnabled(), pControl->GetSelected() || bOpen,
                pControl->GetPressed(), pControl->GetChecked(), FALSE, nPosition);
  if ((pControl->GetSelected() || pControl->GetPressed() || bOpen) && pControl->GetEnabled()) {
    CRect rcArrow(rc.right - 12, rc.top, rc.right, rc.bottom);
    DrawRectangle(pDC, rcArrow, TRUE, TRUE, FALSE, FALSE, bOpen, nPosition);
  }
  int x = rc.right - 7, y = rc.CenterPoint().y;
  Triangle(pDC, CPoint(x, y + 1), CPoint(x + 2, y - 1), CPoint(x - 2, y - 1), pDC->GetTextColor());
}

// ---------------------------------------------------------------------------
// Images

void CXTPDefaultTheme::DrawImage(CDC *pDC, CPoint pt, CSize sz, CXTPImageManagerIcon *pIcon, int nSelected,
                                 int nPressed, BOOL bEnabled, BOOL bChecked, BOOL bPopuped,
                                 BOOL /*bToolBarImage*/) {
  if (!pIcon) return;
  if (bEnabled && !bPopuped && !bChecked) {
    if (!nSelected && !nPressed) {
      pIcon->Draw(pDC, pt, m_iconsInfo.bUseFadedIcons ? pIcon->GetFadedIcon() : pIcon->GetIcon(), sz);
    } else if ((nSelected && !nPressed) || (!nSelected && nPressed == 1)) {
      if (m_iconsInfo.bIconsWithShadow) {
        pIcon->Draw(pDC, CPoint(pt.x + 1, pt.y + 1), pIcon->GetShadowIcon(), sz);
        pIcon->Draw(pDC, CPoint(pt.x - 1, pt.y - 1), pIcon->GetHotIcon(), sz);
      } else {
        pIcon->Draw(pDC, pt, pIcon->GetHotIcon(), sz);
      }
    } else if ((nSelected && nPressed) || nPressed == 2) {
      pIcon->Draw(pDC, CPoint(pt.x + 1, pt.y + 1), pIcon->GetHotIcon(), sz);
    }
  } else if (bEnabled) {
    if (bChecked && (nSelected || nPressed))
      pIcon->Draw(pDC, pt, pIcon->GetHotIcon(), sz);
    else if (bChecked)
      pIcon->Draw(pDC, pt, pIcon->GetCheckedIcon(), sz);
    else
      pIcon->Draw(pDC, pt, pIcon->GetIcon(), sz);
  } else if (!m_iconsInfo.bUseDisabledIcons && !pIcon->IsAlpha()) {
    pIcon->DrawMono(pDC, CPoint(pt.x + 1, pt.y + 1), pIcon->GetIcon(), sz, GetPaintColor(COLOR_BTNHIGHLIGHT));
    pIcon->DrawMono(pDC, pt, pIcon->GetIcon(), sz, GetPaintColor(COLOR_BTNSHADOW));
  } else {
    pIcon->Draw(pDC, pt, pIcon->GetDisabledIcon(), sz);
  }
}

// ---------------------------------------------------------------------------
// Popup rows

CSize CXTPDefaultTheme::DrawControlText(CDC *pDC, CString strText, CRect rc, UINT nFormat, BOOL bDraw,
                                        int nSelected, BOOL bEnabled) {
  if (!bDraw) return DrawCaptionText(pDC, strText, rc, nFormat | DT_CALCRECT | DT_SINGLELINE | DT_VCENTER);
  if (!bEnabled && !nSelected) DrawTextHighlight(pDC, strText, rc, nFormat | DT_SINGLELINE | DT_VCENTER);
  DrawCaptionText(pDC, strText, rc, nFormat | DT_SINGLELINE | DT_VCENTER);
  return rc.Size();
}

CSize CXTPDefaultTheme::DrawPopupBarControl(CDC *pDC, CXTPControl *pControl, BOOL bDraw) {
  CXTPCommandBar *pBar = pControl->GetParent();
  CSize szIcon = pBar ? pBar->GetIconSize() : CSize(16, 16);
  const int nIconColumn = std::max<int>(m_nTextHeight, szIcon.cx + 4);
  const int nRowHeight = std::max<int>(m_nTextHeight, szIcon.cy + 4);
  CString strCaption = pControl->GetCaption();
  const BOOL bLayoutRTL = pBar && pBar->IsLayoutRTL();
  if (bLayoutRTL) AdjustCaption(strCaption);
  if (!m_bShowKeyboardCues) strCaption = StripAccelerators(strCaption);

  CXTPFontDC font(pDC, GetCommandBarFont(pBar, pControl->GetDefaultItem()));
  const XTPControlType type = pControl->GetType();
  const int nSelected = pControl->GetSelected();
  const BOOL bEnabled = pControl->GetEnabled();
  const BOOL bOpen = IsControlPopuped(pControl);
  const UINT nCaptionFormat = DT_END_ELLIPSIS | (m_bShowKeyboardCues ? 0 : DT_NOPREFIX);

  CString strShortcut;
  if (type == xtpControlButton) {
    strShortcut = pControl->GetShortcutText();
    if (strShortcut.IsEmpty()) strShortcut = pControl->GetKeyBindingText();
  }

  if (!bDraw) {
    // Measured whole: an ellipsis only shortens a caption drawn in less room.
    CSize szCaption = DrawControlText(pDC, strCaption, CRect(0, 0, 0, 0), nCaptionFormat & ~DT_END_ELLIPSIS,
                                      FALSE, 0, TRUE);
    int nShortcut = strShortcut.IsEmpty()
                        ? 0
                        : DrawControlText(pDC, strShortcut, CRect(0, 0, 0, 0), DT_RIGHT, FALSE, 0, TRUE).cx;
    return CSize(nIconColumn + szCaption.cx + 40 + nShortcut, nRowHeight);
  }

  CRect rc = pControl->GetRect();
  if (pControl->GetExpandedOnly()) pDC->FillSolidRect(rc, GetPaintColor(COLOR_3DLIGHT));
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(GetPaintColor(!bEnabled   ? COLOR_GRAYTEXT
                                  : nSelected ? COLOR_HIGHLIGHTTEXT
                                              : m_nPopupBarText));

  CRect rcIcon(rc.left, rc.top, rc.left + nIconColumn, rc.bottom);
  CXTPImageManagerIcon *pImage = IsIconStyle(pControl) ? pControl->GetImage(szIcon.cx) : nullptr;
  CRect rcCell(rcIcon.left, rcIcon.top, rcIcon.right + 1, rcIcon.bottom);
  if (!pImage && pControl->GetChecked()) {
    DrawControlFrame(pDC, rcCell, nSelected, FALSE, bEnabled, TRUE, FALSE, FALSE, xtpBarPopup);
    DrawCheckMark(pDC, rcIcon, GetPaintColor(m_nPopupBarText), bLayoutRTL);
  } else if (pImage) {
    DrawControlFrame(pDC, rcCell, nSelected, FALSE, bEnabled, pControl->GetChecked(), FALSE, FALSE,
                     xtpBarPopup);
    CSize szImage(szIcon.cx,
                  pImage->GetWidth() > 0 ? szIcon.cx * pImage->GetHeight() / pImage->GetWidth() : szIcon.cy);
    CPoint pt(rcIcon.left + (rcIcon.Width() - szImage.cx) / 2,
              rcIcon.top + (rcIcon.Height() - szImage.cy) / 2);
    DrawImage(pDC, pt, szImage, pImage, nSelected, FALSE, bEnabled, pControl->GetChecked(), FALSE, FALSE);
  }

  COLORREF clrText = pDC->GetTextColor();
  if (nSelected) {
    CRect rcSelection(rcIcon.right, rc.top, rc.right, rc.bottom);
    if (type == xtpControlSplitButtonPopup && bEnabled && bOpen) rcSelection.right -= 20;
    Rectangle(pDC, rcSelection, COLOR_HIGHLIGHT, COLOR_HIGHLIGHT);
  }
  if (IsPopupType(type)) {
    COLORREF clrArrow = clrText;
    if (type == xtpControlSplitButtonPopup && bEnabled && bOpen && nSelected)
      clrArrow = GetPaintColor(m_nPopupBarText);
    int x = rc.right - 11, y = rc.CenterPoint().y;
    Triangle(pDC, CPoint(x, y + 3), CPoint(x + 3, y), CPoint(x, y - 3), clrArrow);
  }
  if (type == xtpControlSplitButtonPopup && bEnabled) {
    if (!bOpen || !nSelected) {
      Line(pDC, rc.right - 20, rc.top + 1, rc.right - 20, rc.bottom - 1,
           nSelected ? COLOR_HIGHLIGHTTEXT : m_nPopupBarText);
    } else {
      Draw3dRect(pDC, CRect(rc.right - 20, rc.top, rc.right, rc.bottom), COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
    }
  }

  CRect rcText(rcIcon.right + 4, rc.top, rc.right, rc.bottom);
  DrawControlText(pDC, strCaption, rcText, nCaptionFormat, TRUE, nSelected, bEnabled);
  if (!strShortcut.IsEmpty()) {
    CRect rcShortcut(rcIcon.right + 8, rc.top, rc.right - 19, rc.bottom);
    DrawControlText(pDC, strShortcut, rcShortcut, DT_RIGHT, TRUE, nSelected, bEnabled);
  }
  return rc.Size();
}

CSize CXTPDefaultTheme::DrawSpecialControl(int nType, CDC *pDC, CXTPControl *pControl, CXTPCommandBar *pBar,
                                           BOOL bDraw, LPARAM lParam) {
  if (nType == xtpButtonHideFloating || nType == xtpButtonExpandFloating) {
    if (bDraw && (pControl->GetPressed() || pControl->GetSelected() ||
                  (nType == xtpButtonExpandFloating && IsControlPopuped(pControl))))
      pDC->FillSolidRect(pControl->GetRect(), GetPaintColor(COLOR_BTNFACE));
    return CXTPPaintManager::DrawSpecialControl(nType, pDC, pControl, pBar, bDraw, lParam);
  }
  if (nType != xtpButtonCustomize)
    return CXTPPaintManager::DrawSpecialControl(nType, pDC, pControl, pBar, bDraw, lParam);

  // A row of a popup menu whose caption and shortcut sit after two icon columns.
  if (!bDraw) return DrawPopupBarControl(pDC, pControl, FALSE);
  CSize szIcon = pBar ? pBar->GetIconSize() : CSize(16, 16);
  const int nIconColumn = std::max<int>(m_nTextHeight, szIcon.cx + 4);
  const int nSelected = pControl->GetSelected();
  const BOOL bEnabled = pControl->GetEnabled();
  CXTPFontDC font(pDC, GetCommandBarFont(pBar, FALSE));
  CRect rc = pControl->GetRect();
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(GetPaintColor(!bEnabled   ? COLOR_GRAYTEXT
                                  : nSelected ? COLOR_HIGHLIGHTTEXT
                                              : m_nPopupBarText));
  if (nSelected)
    Rectangle(pDC, CRect(rc.left + nIconColumn, rc.top, rc.right, rc.bottom), COLOR_HIGHLIGHT,
              COLOR_HIGHLIGHT);
  CString strCaption = pControl->GetCaption();
  if (!m_bShowKeyboardCues) strCaption = StripAccelerators(strCaption);
  CRect rcText(rc.left + 2 * nIconColumn + 4, rc.top, rc.right, rc.bottom);
  DrawControlText(pDC, strCaption, rcText, DT_END_ELLIPSIS | (m_bShowKeyboardCues ? 0 : DT_NOPREFIX), TRUE,
                  nSelected, bEnabled);
  CString strShortcut = pControl->GetShortcutText();
  if (!strShortcut.IsEmpty()) {
    CRect rcShortcut(rc.left + 2 * nIconColumn + 8, rc.top, rc.right - 19, rc.bottom);
    DrawControlText(pDC, strShortcut, rcShortcut, DT_RIGHT, TRUE, nSelected, bEnabled);
  }
  return rc.Size();
}

// ---------------------------------------------------------------------------
// Edit and combo box

void CXTPDefaultTheme::DrawEditFrame(CDC *pDC, CRect rc, BOOL bEnabled, int nSelected) {
  if (bEnabled)
    Draw3dRect(pDC, rc, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
  else {
    int nColor = nSelected == 2 ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT;
    Draw3dRect(pDC, rc, nColor, nColor);
  }
}

void CXTPDefaultTheme::DrawComboBoxDropButton(CDC *pDC, CRect rc, BOOL bEnabled, int /*nSelected*/,
                                              BOOL bDropped) {
  if (bEnabled) {
    CRect rcButton(rc.left - 1, rc.top + 1, rc.right - 1, rc.bottom - 1);
    Rectangle(pDC, rcButton, COLOR_BTNFACE, COLOR_BTNFACE);
    if (bDropped) {
      Draw3dRect(pDC, rcButton, COLOR_BTNSHADOW, COLOR_BTNSHADOW);
    } else {
      Draw3dRect(pDC, rcButton, COLOR_BTNFACE, 0);
      CRect rcInner = rcButton;
      rcInner.DeflateRect(1, 1);
      Draw3dRect(pDC, rcInner, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
    }
  }
  CXTPFontDC font(pDC, &m_fontMarlettIcon);
  pDC->SetTextColor(GetPaintColor(COLOR_BTNTEXT));
  pDC->SetBkMode(TRANSPARENT);
  CRect rcGlyph(rc.left + 1, rc.top + 1, rc.right, rc.bottom);
  ::DrawTextW(pDC->GetSafeHdc(), L"u", 1, &rcGlyph, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

CSize CXTPDefaultTheme::DrawEditControl(CDC *pDC, CXTPControl *pControl, BOOL bDraw) {
  auto *pEdit = dynamic_cast<CXTPControlEdit *>(pControl);
  CXTPCommandBar *pBar = pControl->GetParent();
  CSize szIcon = pBar ? pBar->GetIconSize() : CSize(16, 16);
  const int nRowHeight = std::max<int>(m_nTextHeight, szIcon.cy + 4);
  const BOOL bPopup = pBar && pBar->GetType() == xtpBarTypePopup;
  const BOOL bLabel = bPopup || (pEdit && pEdit->IsCaptionVisible());
  CXTPFontDC font(pDC, &m_fontIcon);
  CString strCaption = pControl->GetCaption();
  if (!m_bShowKeyboardCues) strCaption = StripAccelerators(strCaption);
  const UINT nFormat = m_bShowKeyboardCues ? 0 : DT_NOPREFIX;
  if (!bDraw) {
    int nCaption = DrawControlText(pDC, strCaption, CRect(0, 0, 0, 0), nFormat, FALSE, 0, TRUE).cx;
    int nLabel = bPopup ? nCaption + 9 + nRowHeight : bLabel ? nCaption + 5 : 0;
    if (pEdit) pEdit->SetLabelWidth(nLabel);
    SIZE szBlank = {};
    ::GetTextExtentPoint32W(pDC->GetSafeHdc(), L" ", 1, &szBlank);
    int nWidth = pEdit ? pEdit->GetWidth() : 100;
    return CSize(nWidth + (bPopup ? nLabel : 0), szBlank.cy + 8);
  }
  CRect rc = pControl->GetRect();
  const int nLabel = pEdit ? pEdit->GetLabelWidth() : 0;
  if (bLabel) {
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(GetPaintColor(pControl->GetEnabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    CRect rcLabel(rc.left + (bPopup ? nRowHeight + 4 : 2), rc.top, rc.left + nLabel, rc.bottom);
    DrawControlText(pDC, strCaption, rcLabel, nFormat, TRUE, pControl->GetSelected(), pControl->GetEnabled());
  }
  CRect rcEdit(rc.left + nLabel + 1, rc.top, rc.right, rc.bottom);
  if (pControl->GetEnabled()) pDC->FillSolidRect(rcEdit, GetPaintColor(COLOR_WINDOW));
  DrawEditFrame(pDC, rcEdit, pControl->GetEnabled(), pControl->GetSelected());
  return rc.Size();
}

CSize CXTPDefaultTheme::DrawComboBoxControl(CDC *pDC, CXTPControl *pControl, BOOL bDraw) {
  auto *pCombo = dynamic_cast<CXTPControlComboBox *>(pControl);
  CXTPCommandBar *pBar = pControl->GetParent();
  CSize szIcon = pBar ? pBar->GetIconSize() : CSize(16, 16);
  const int nRowHeight = std::max<int>(m_nTextHeight, szIcon.cy + 4);
  const BOOL bPopup = pBar && pBar->GetType() == xtpBarTypePopup;
  CXTPFontDC font(pDC, &m_fontIcon);
  CString strCaption = pControl->GetCaption();
  if (!m_bShowKeyboardCues) strCaption = StripAccelerators(strCaption);
  const UINT nFormat = m_bShowKeyboardCues ? 0 : DT_NOPREFIX;
  SIZE szBlank = {};
  ::GetTextExtentPoint32W(pDC->GetSafeHdc(), L" ", 1, &szBlank);
  if (!bDraw) {
    int nCaption = DrawControlText(pDC, strCaption, CRect(0, 0, 0, 0), nFormat, FALSE, 0, TRUE).cx;
    int nLabel = bPopup ? nCaption + 9 + nRowHeight : 0;
    if (pCombo) {
      pCombo->SetLabelWidth(nLabel);
      pCombo->SetThumbWidth(szBlank.cy + 2);
    }
    int nWidth = pCombo ? pCombo->GetWidth() : 100;
    return CSize(nWidth + (bPopup ? nLabel : 0), std::max<int>(nRowHeight, szBlank.cy + 8));
  }
  CRect rc = pControl->GetRect();
  const int nLabel = pCombo ? pCombo->GetLabelWidth() : 0;
  const BOOL bEnabled = pControl->GetEnabled();
  if (bPopup) {
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(GetPaintColor(bEnabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    CRect rcLabel(rc.left + nRowHeight + 4, rc.top, rc.left + nLabel, rc.bottom);
    DrawControlText(pDC, strCaption, rcLabel, nFormat, TRUE, pControl->GetSelected(), bEnabled);
  }
  CRect rcArea(rc.left + nLabel + 1, rc.top, rc.right, rc.bottom);
  const int nThumb = pCombo && pCombo->GetThumbWidth() ? pCombo->GetThumbWidth() : szBlank.cy + 2;
  CRect rcButton(rcArea.right - nThumb, rcArea.top, rcArea.right, rcArea.bottom);
  if (bEnabled) {
    Rectangle(pDC, rcArea, COLOR_WINDOW, COLOR_WINDOW);
    if (pCombo) {
      CRect rcText = rcArea;
      rcText.DeflateRect(3, 1, nThumb + 2, 1);
      pDC->SetBkMode(TRANSPARENT);
      pDC->SetTextColor(GetPaintColor(COLOR_WINDOWTEXT));
      ::DrawTextW(pDC->GetSafeHdc(), pCombo->GetEditText(), -1, &rcText,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
  }
  DrawComboBoxDropButton(pDC, rcButton, bEnabled, pControl->GetSelected(),
                         pCombo && pCombo->GetDroppedState());
  DrawEditFrame(pDC, rcArea, bEnabled, pControl->GetSelected());
  return rc.Size();
}

// ---------------------------------------------------------------------------
// The customise dialog's command list

CSize CXTPDefaultTheme::DrawListBoxControl(CDC *pDC, CXTPControl *pControl, CRect rc, BOOL bSelected,
                                           BOOL bDraw, BOOL bCommandBarsIconSize) {
  CSize szIcon(16, 16);
  CXTPCommandBars *pCommandBars = pControl ? pControl->GetCommandBars() : nullptr;
  if (bCommandBarsIconSize && pCommandBars) szIcon = pCommandBars->GetCommandBarsOptions()->szPopupIcons;
  const int nRow = std::max<int>(m_nTextHeight, szIcon.cy + 4);
  const int nCell = std::max<int>(m_nTextHeight, szIcon.cx + 4);
  if (!bDraw) return CSize(rc.Width(), nRow);
  pDC->FillSolidRect(rc, GetPaintColor(COLOR_BTNFACE));
  if (!pControl) return CSize(rc.Width(), nRow);

  CString strCaption = StripAccelerators(pControl->GetCaption());
  CXTPCommandBar *pBar = pControl->GetParent();
  if (bCommandBarsIconSize && pBar && pBar->IsLayoutRTL()) AdjustCaption(strCaption);
  CRect rcCell(rc.left, rc.top, rc.left + nCell, rc.top + nRow);
  CXTPImageManagerIcon *pImage = IsIconStyle(pControl) ? pControl->GetImage(szIcon.cx) : nullptr;
  if (pImage) {
    DrawControlFrame(pDC, rcCell, FALSE, FALSE, TRUE, FALSE, TRUE, FALSE, xtpBarPopup);
    CPoint pt(rcCell.left + (rcCell.Width() - szIcon.cx) / 2, rcCell.top + (rcCell.Height() - szIcon.cy) / 2);
    DrawImage(pDC, pt, szIcon, pImage, FALSE, FALSE, TRUE, FALSE, FALSE, FALSE);
  }
  CRect rcText(rcCell.right + 4, rc.top, rc.right, rc.bottom);
  if (bSelected)
    Rectangle(pDC, CRect(rcCell.right, rc.top, rc.right, rc.bottom), COLOR_HIGHLIGHT, COLOR_HIGHLIGHT);
  COLORREF clrText = GetPaintColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
  pDC->SetTextColor(clrText);
  pDC->SetBkMode(TRANSPARENT);
  {
    CXTPFontDC font(pDC, &m_fontRegular);
    ::DrawTextW(pDC->GetSafeHdc(), strCaption, -1, &rcText,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  const XTPControlType type = pControl->GetType();
  if (IsPopupType(type)) {
    int x = rc.right - 7, y = rc.CenterPoint().y;
    Triangle(pDC, CPoint(x, y), CPoint(x - 5, y + 5), CPoint(x - 5, y - 5), clrText);
    if (type == xtpControlSplitButtonPopup) {
      CXTPPenDC pen(pDC, clrText);
      Line(pDC, rc.right - 20, rc.top + 1, rc.right - 20, rc.bottom - 1);
    }
  }
  if (type == xtpControlComboBox || type == xtpControlEdit) {
    SIZE szBlank = {};
    ::GetTextExtentPoint32W(pDC->GetSafeHdc(), L" ", 1, &szBlank);
    CRect rcBox(rc.right - szBlank.cy - 2 - 2, rc.top + 2, rc.right - 2, rc.bottom - 2);
    Rectangle(pDC, rcBox, bSelected ? COLOR_HIGHLIGHT : COLOR_BTNFACE, COLOR_WINDOW);
    if (type == xtpControlComboBox) {
      CXTPFontDC font(pDC, &m_fontMarlettIcon);
      pDC->SetTextColor(GetPaintColor(bSelected ? XPCOLOR_HIGHLIGHT_TEXT : XPCOLOR_TOOLBAR_TEXT));
      ::DrawTextW(pDC->GetSafeHdc(), L"u", 1, &rcBox, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
  }
  return CSize(rc.Width(), nRow);
}
