#include "XTPOfficeTheme.h"

#include <algorithm>

#include "XTPCommandBar.h"
#include "XTPCommandBars.h"
#include "XTPControl.h"
#include "XTPControlComboBox.h"
#include "XTPControlExt.h"
#include "XTPControlPopup.h"
#include "XTPDrawHelpers.h"
#include "XTPImageManager.h"
#include "XTPPopupBar.h"

namespace {

BOOL IsOnPopup(CXTPControl *pControl) {
  CXTPCommandBar *pBar = pControl->GetParent();
  return pBar && pBar->GetType() == xtpBarTypePopup;
}

int BlankHeight(CDC *pDC) {
  SIZE sz = {};
  ::GetTextExtentPoint32W(pDC->GetSafeHdc(), L" ", 1, &sz);
  return sz.cy;
}

} // namespace

CXTPOfficeTheme::CXTPOfficeTheme() {
  m_nTheme = xtpThemeOffice;
  m_iconsInfo.bUseFadedIcons = TRUE;
  m_iconsInfo.bIconsWithShadow = TRUE;
  m_bEmbossDisabledText = FALSE;
}

void CXTPOfficeTheme::ExcludeCorners(CDC *pDC, CRect rc) {
  if (!pDC || rc.IsRectEmpty()) return;
  pDC->ExcludeClipRect(rc.left, rc.top, rc.left + 1, rc.top + 1);
  pDC->ExcludeClipRect(rc.right - 1, rc.top, rc.right, rc.top + 1);
  pDC->ExcludeClipRect(rc.left, rc.bottom - 1, rc.left + 1, rc.bottom);
  pDC->ExcludeClipRect(rc.right - 1, rc.bottom - 1, rc.right, rc.bottom);
}

// ---------------------------------------------------------------------------
// Rules

XTPOfficeStateLayers CXTPOfficeTheme::StateColors(BOOL bEnabled, int nSelected, int nPressed, BOOL bChecked,
                                                  BOOL bPopuped, BOOL bToolBar) {
  XTPOfficeStateLayers layers;
  if (!bEnabled) {
    // A disabled checked menu row keeps its checked frame, and the keyboard
    // selection is drawn over it, so both show that the row is reached.
    if (bChecked && !bToolBar) layers.first = {XPCOLOR_DISABLED, XPCOLOR_TOOLBAR_FACE};
    XTPOfficeStateColors selected = {XPCOLOR_HIGHLIGHT_BORDER,
                                     bToolBar ? XPCOLOR_HIGHLIGHT : XPCOLOR_MENUBAR_FACE};
    if (nSelected == 2) {
      if (layers.first.IsEmpty())
        layers.first = selected;
      else
        layers.overlay = selected;
    }
    return layers;
  }
  if (bPopuped)
    layers.first = {XPCOLOR_MENUBAR_BORDER, XPCOLOR_TOOLBAR_FACE};
  else if (bChecked && !nSelected && !nPressed)
    layers.first = {XPCOLOR_HIGHLIGHT_PUSHED_BORDER, XPCOLOR_HIGHLIGHT_CHECKED};
  else if (bChecked && nSelected && !nPressed)
    layers.first = {XPCOLOR_HIGHLIGHT_CHECKED_BORDER, XPCOLOR_HIGHLIGHT_PUSHED};
  else if (nPressed == 2 || (nSelected && nPressed))
    layers.first = {XPCOLOR_HIGHLIGHT_PUSHED_BORDER, XPCOLOR_HIGHLIGHT_PUSHED};
  else if (nSelected || nPressed)
    layers.first = {XPCOLOR_HIGHLIGHT_BORDER, XPCOLOR_HIGHLIGHT};
  return layers;
}

int CXTPOfficeTheme::ControlEntryTextColor(BOOL bEnabled, int nSelected, int nPressed, BOOL bChecked,
                                           BOOL bPopuped, int nBarPosition) {
  if (!bEnabled) return XPCOLOR_DISABLED;
  if (bPopuped) return XPCOLOR_TOOLBAR_TEXT;
  if (bChecked && !nSelected && !nPressed) return XPCOLOR_HIGHLIGHT_TEXT;
  if (nPressed == 2 || (nSelected && (nPressed || bChecked))) return XPCOLOR_PUSHED_TEXT;
  if (!nSelected && !nPressed)
    return nBarPosition == xtpBarPopup ? XPCOLOR_MENUBAR_TEXT : XPCOLOR_TOOLBAR_TEXT;
  return XPCOLOR_HIGHLIGHT_TEXT;
}

int CXTPOfficeTheme::TearOffGripHalfWidth(int nWidth, int nMax) {
  return std::clamp(nWidth / 2 - 10, 0, nMax);
}

int CXTPOfficeTheme::GetPopupIconCellWidth(CSize szIcon) const {
  return std::max<int>(szIcon.cx, m_nTextHeight) + 4;
}

int CXTPOfficeTheme::GetPopupRowHeightFor(CSize szIcon) const {
  return std::max<int>(m_nTextHeight, szIcon.cy + 6);
}

// ---------------------------------------------------------------------------
// Frames

void CXTPOfficeTheme::DrawStateLayer(CDC *pDC, CRect rc, const XTPOfficeStateColors &layer) {
  if (layer.IsEmpty()) return;
  if (layer.nFill >= 0) pDC->FillSolidRect(rc, GetPaintColor(layer.nFill));
  if (layer.nFrame >= 0) Draw3dRect(pDC, rc, layer.nFrame, layer.nFrame);
}

void CXTPOfficeTheme::DrawControlFrame(CDC *pDC, CRect rc, int nSelected, int nPressed, BOOL bEnabled,
                                       BOOL bChecked, BOOL bPopuped, BOOL bToolBar, int /*nBarPosition*/) {
  XTPOfficeStateLayers layers = StateColors(bEnabled, nSelected, nPressed, bChecked, bPopuped, bToolBar);
  DrawStateLayer(pDC, rc, layers.first);
  DrawStateLayer(pDC, rc, layers.overlay);
}

void CXTPOfficeTheme::DrawRectangle(CDC *pDC, CRect rc, BOOL bEnabled, int nSelected, int nPressed,
                                    BOOL bChecked, BOOL bPopuped, int nBarPosition) {
  DrawControlFrame(pDC, rc, nSelected, nPressed, bEnabled, bChecked, bPopuped, TRUE, nBarPosition);
}

void CXTPOfficeTheme::DrawControlEntry(CDC *pDC, CXTPControl *pControl, int nPosition) {
  const BOOL bPopuped = IsControlPopuped(pControl);
  DrawRectangle(pDC, pControl->GetRect(), pControl->GetEnabled(), pControl->GetSelected(),
                pControl->GetPressed(), pControl->GetChecked(), bPopuped, nPosition);
  pDC->SetTextColor(GetPaintColor(ControlEntryTextColor(pControl->GetEnabled(), pControl->GetSelected(),
                                                        pControl->GetPressed(), pControl->GetChecked(),
                                                        bPopuped, nPosition)));
  pDC->SetBkMode(TRANSPARENT);
}

// ---------------------------------------------------------------------------
// Bars

void CXTPOfficeTheme::FillPopupIconColumn(CDC *pDC, CRect rc, BOOL bExpanded) {
  pDC->FillSolidRect(rc, GetPaintColor(bExpanded ? XPCOLOR_MENUBAR_EXPANDED : XPCOLOR_TOOLBAR_FACE));
}

void CXTPOfficeTheme::DrawFloatingFrame(CDC *pDC, CRect rc, COLORREF clrFill) {
  const COLORREF clrFrame = GetPaintColor(XPCOLOR_MENUBAR_BORDER);
  pDC->FillSolidRect(rc, clrFill);
  pDC->Draw3dRect(rc, clrFrame, clrFrame);
  rc.DeflateRect(1, 1);
  pDC->Draw3dRect(rc, clrFrame, clrFrame);
  rc.InflateRect(1, 1);
  // The corner points in the frame colour: the top-left one rounds the
  // inner frame off, the other three fall on it.
  for (CPoint pt : {CPoint(rc.left + 2, rc.top + 2), CPoint(rc.right - 2, rc.top + 2),
                    CPoint(rc.left + 2, rc.bottom - 2), CPoint(rc.right - 2, rc.bottom - 2)})
    pDC->SetPixel(pt.x, pt.y, clrFrame);
}

CRect CXTPOfficeTheme::PopupGapRect(CRect rcControl, CRect rcPopup) {
  CRect rcGap;
  if (!rcGap.IntersectRect(rcControl, rcPopup)) return CRect(0, 0, 0, 0);
  if (rcGap.Width() > 1) rcGap.DeflateRect(1, 0);
  if (rcGap.Height() > 1) rcGap.DeflateRect(0, 1);
  return rcGap;
}

void CXTPOfficeTheme::FillPopupGap(CDC *pDC, CXTPCommandBar *pBar, int nColor) {
  auto *pPopupBar = dynamic_cast<CXTPPopupBar *>(pBar);
  CXTPControl *pControl = pPopupBar ? pPopupBar->GetControlPopup() : nullptr;
  if (!pControl || !pControl->GetParent()) return;
  HWND hParent = pControl->GetParent()->GetSafeHwnd(), hPopup = pBar->GetSafeHwnd();
  if (!::IsWindow(hParent) || !::IsWindow(hPopup)) return;
  CRect rcControl = pControl->GetRect();
  ::MapWindowPoints(hParent, nullptr, reinterpret_cast<POINT *>(&rcControl), 2);
  CRect rcWindow;
  ::GetWindowRect(hPopup, &rcWindow);
  CRect rcGap = PopupGapRect(rcControl, rcWindow);
  if (rcGap.IsRectEmpty()) return;
  ::MapWindowPoints(nullptr, hPopup, reinterpret_cast<POINT *>(&rcGap), 2);
  pDC->FillSolidRect(rcGap, GetPaintColor(nColor));
}

void CXTPOfficeTheme::FillCommandBarEntry(CDC *pDC, CXTPCommandBar *pBar) {
  CRect rc = pBar->GetBarClientRect();
  const int nPosition = pBar->GetPosition();
  if (nPosition == xtpBarFloating) {
    DrawFloatingFrame(
        pDC, rc, GetPaintColor(pBar->GetType() == xtpBarTypeMenuBar ? COLOR_BTNFACE : XPCOLOR_TOOLBAR_FACE));
  } else if (pBar->GetType() == xtpBarTypeMenuBar) {
    pDC->FillSolidRect(rc, GetPaintColor(COLOR_BTNFACE));
  } else if (nPosition == xtpBarPopup) {
    Rectangle(pDC, rc, XPCOLOR_MENUBAR_BORDER, XPCOLOR_MENUBAR_FACE);
    if (pBar->GetType() == xtpBarTypePopup)
      FillPopupIconColumn(
          pDC, CRect(CPoint(1, 2), CSize(GetPopupIconCellWidth(pBar->GetIconSize()), rc.Height() - 4)),
          FALSE);
    FillPopupGap(pDC, pBar, XPCOLOR_TOOLBAR_FACE);
  } else {
    pDC->FillSolidRect(rc, GetPaintColor(XPCOLOR_TOOLBAR_FACE));
    Draw3dRect(pDC, rc, COLOR_BTNFACE, COLOR_BTNFACE);
    const COLORREF clrFace = GetPaintColor(COLOR_BTNFACE);
    for (CPoint pt : {CPoint(rc.left + 1, rc.top + 1), CPoint(rc.right - 2, rc.top + 1),
                      CPoint(rc.left + 1, rc.bottom - 2), CPoint(rc.right - 2, rc.bottom - 2)})
      pDC->SetPixel(pt.x, pt.y, clrFace);
  }
}

CSize CXTPOfficeTheme::DrawCommandBarGripper(CDC *pDC, CXTPCommandBar *pBar, BOOL bDraw) {
  if (pBar->IsDialogBar()) return DrawDialogBarGripper(pDC, pBar, bDraw);
  CRect rc = pBar->GetBarClientRect();
  switch (pBar->GetPosition()) {
  case xtpBarFloating: {
    CXTPFontDC font(pDC, &m_fontSmCaption);
    const int nCaption = std::max(15, BlankHeight(pDC));
    CRect rcCaption(3, 3, rc.Width() - 3, nCaption + 3);
    if (bDraw) {
      pDC->FillSolidRect(rcCaption, GetFloatingCaptionColor());
      pDC->SetTextColor(GetPaintColor(COLOR_BTNHIGHLIGHT));
      pDC->SetBkMode(TRANSPARENT);
      // The close and expand buttons sit in the caption's right end.
      CRect rcText(5, rcCaption.top, rcCaption.right - 2 * nCaption, rcCaption.bottom);
      ::DrawTextW(pDC->GetSafeHdc(), pBar->GetTitle(), -1, &rcText,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    return rcCaption.Size();
  }
  case xtpBarLeft:
  case xtpBarRight:
    if (bDraw)
      for (int x = 5; x < rc.Width() - 5; x += 2) Line(pDC, x, 3, x, 6, XPCOLOR_TOOLBAR_GRIPPER);
    return CSize(0, 8);
  case xtpBarTop:
  case xtpBarBottom:
    if (bDraw)
      for (int y = 5; y < rc.Height() - 5; y += 2) Line(pDC, 3, y, 6, y, XPCOLOR_TOOLBAR_GRIPPER);
    return CSize(6, 0);
  default:
    return CSize(0, 0);
  }
}

CSize CXTPOfficeTheme::DrawDialogBarGripper(CDC *pDC, CXTPCommandBar * /*pBar*/, BOOL bDraw) {
  const int nHeight = std::max(22, m_nTextHeight + 4);
  if (bDraw)
    for (int y = 6; y < nHeight - 2; y += 2) Line(pDC, 3, y, 6, y, XPCOLOR_TOOLBAR_GRIPPER);
  return CSize(6, nHeight);
}

CSize CXTPOfficeTheme::DrawCommandBarSeparator(CDC *pDC, CXTPCommandBar *pBar, CXTPControl *pControl,
                                               BOOL bDraw) {
  if (!bDraw) return CSize(0, 3);
  CRect rc = pControl->GetRect();
  CRect rcRow = pControl->GetRowRect();
  CRect rcBar = pBar->GetBarClientRect();
  if (pBar->GetType() == xtpBarTypePopup) {
    const int nCell = GetPopupIconCellWidth(pBar->GetIconSize());
    const int nLeft = nCell + 9 + (pControl->GetJoinsTickColumn() ? nCell - 1 : 0);
    Line(pDC, nLeft, rc.top - 2, rcBar.right - 1, rc.top - 2, XPCOLOR_SEPARATOR);
  } else if (!pBar->IsVerticalPosition()) {
    if (pControl->GetWrap())
      Line(pDC, rcRow.left + 4, rcRow.top - 4, rcRow.right, rcRow.top - 4, XPCOLOR_SEPARATOR);
    else
      Line(pDC, rc.left - 4, rcRow.top, rc.left - 4, rcRow.bottom, XPCOLOR_SEPARATOR);
  } else {
    if (pControl->GetWrap())
      Line(pDC, rcRow.right + 2, rcRow.top + 4, rcRow.right + 2, rcRow.bottom, XPCOLOR_SEPARATOR);
    else
      Line(pDC, rcRow.left, rc.top - 4, rcRow.right, rc.top - 4, XPCOLOR_SEPARATOR);
  }
  return CSize(0, 0);
}

void CXTPOfficeTheme::AdjustExcludeRect(CRect &rc, CXTPControl *pControl, BOOL bVertical) {
  if (IsOnPopup(pControl)) {
    rc.InflateRect(1, 0);
    return;
  }
  if (pControl->GetType() == xtpControlComboBox) return;
  if (bVertical)
    rc.DeflateRect(1, 0);
  else
    rc.DeflateRect(0, 1);
}

CSize CXTPOfficeTheme::DrawCaptionBand(CDC *pDC, CRect rc, BOOL bActive, BOOL bDraw) {
  if (!bDraw) return CSize(0, 9);
  pDC->FillSolidRect(rc, GetPaintColor(XPCOLOR_MENUBAR_FACE));
  CRect rcStrip = rc;
  rcStrip.DeflateRect(1, 1);
  const int k = TearOffGripHalfWidth(rcStrip.Width(), 16);
  const int nCenter = rcStrip.CenterPoint().x;
  if (bActive) {
    Rectangle(pDC, rcStrip, XPCOLOR_HIGHLIGHT_BORDER, XPCOLOR_HIGHLIGHT);
    if (k > 0)
      for (int dy : {4, 6})
        Line(pDC, nCenter - k, rc.top + dy, nCenter + k, rc.top + dy, XPCOLOR_HIGHLIGHT_TEXT);
  } else {
    pDC->FillSolidRect(rcStrip, GetPaintColor(XPCOLOR_TOOLBAR_FACE));
    if (k > 0)
      for (int dy : {3, 5, 7})
        Line(pDC, nCenter - k, rc.top + dy, nCenter + k, rc.top + dy, XPCOLOR_TOOLBAR_GRIPPER);
  }
  return CSize(0, 9);
}

void CXTPOfficeTheme::DrawStatusBarPaneBorder(CDC *pDC, CRect rc, BOOL /*bGripperPane*/) {
  Draw3dRect(pDC, rc, COLOR_BTNSHADOW, COLOR_BTNSHADOW);
}

// ---------------------------------------------------------------------------
// Images

void CXTPOfficeTheme::DrawImage(CDC *pDC, CPoint pt, CSize sz, CXTPImageManagerIcon *pIcon, int nSelected,
                                int nPressed, BOOL bEnabled, BOOL bChecked, BOOL bPopuped,
                                BOOL /*bToolBarImage*/) {
  if (!pIcon) return;
  if (!bEnabled) {
    if (!m_iconsInfo.bUseDisabledIcons && !pIcon->IsAlpha())
      pIcon->DrawMono(pDC, pt, pIcon->GetIcon(), sz, GetPaintColor(XPCOLOR_DISABLED));
    else
      pIcon->Draw(pDC, pt, pIcon->GetDisabledIcon(), sz);
    return;
  }
  if (bChecked) {
    pIcon->Draw(pDC, pt, (nSelected || nPressed) ? pIcon->GetHotIcon() : pIcon->GetCheckedIcon(), sz);
    return;
  }
  if (bPopuped) {
    pIcon->Draw(pDC, pt, pIcon->GetIcon(), sz);
    return;
  }
  if (!nSelected && !nPressed) {
    pIcon->Draw(pDC, pt, m_iconsInfo.bUseFadedIcons ? pIcon->GetFadedIcon() : pIcon->GetIcon(), sz);
  } else if ((nSelected && !nPressed) || (!nSelected && nPressed == 1)) {
    if (m_iconsInfo.bIconsWithShadow) {
      pIcon->Draw(pDC, CPoint(pt.x + 1, pt.y + 1), pIcon->GetShadowIcon(), sz);
      pIcon->Draw(pDC, CPoint(pt.x - 1, pt.y - 1), pIcon->GetHotIcon(), sz);
    } else {
      pIcon->Draw(pDC, pt, pIcon->GetHotIcon(), sz);
    }
  } else {
    pIcon->Draw(pDC, pt, pIcon->GetHotIcon(), sz);
  }
}

// ---------------------------------------------------------------------------
// Popup rows

CSize CXTPOfficeTheme::DrawPopupText(CDC *pDC, CString strText, CRect rc, UINT nFormat, BOOL bDraw) {
  nFormat |= DT_SINGLELINE | DT_VCENTER;
  if (!m_bShowKeyboardCues) {
    strText = StripAccelerators(strText);
    nFormat |= DT_NOPREFIX;
  }
  if (!bDraw) {
    return DrawCaptionText(pDC, strText, CRect(0, 0, 0, 0),
                           (nFormat & ~(DT_END_ELLIPSIS | DT_RIGHT)) | DT_CALCRECT);
  }
  DrawCaptionText(pDC, strText, rc, nFormat);
  return rc.Size();
}

CSize CXTPOfficeTheme::DrawPopupBarControl(CDC *pDC, CXTPControl *pControl, BOOL bDraw) {
  CXTPCommandBar *pBar = pControl->GetParent();
  const CSize szIcon = pBar ? pBar->GetIconSize() : CSize(16, 16);
  const int nCell = GetPopupIconCellWidth(szIcon);
  const int nRowHeight = GetPopupRowHeightFor(szIcon);
  CXTPFontDC font(pDC, GetCommandBarFont(pBar, pControl->GetDefaultItem()));
  CString strCaption = pControl->GetCaption();
  if (pBar && pBar->IsLayoutRTL()) AdjustCaption(strCaption);
  const XTPControlType type = pControl->GetType();
  CString strShortcut;
  if (type == xtpControlButton) {
    strShortcut = pControl->GetShortcutText();
    if (strShortcut.IsEmpty()) strShortcut = pControl->GetKeyBindingText();
  }

  if (!bDraw) {
    int nCaption = DrawPopupText(pDC, strCaption, CRect(), 0, FALSE).cx;
    int nShortcut = strShortcut.IsEmpty() ? 0 : DrawPopupText(pDC, strShortcut, CRect(), 0, FALSE).cx;
    return CSize(nCell + nCaption + 40 + nShortcut, nRowHeight);
  }

  const CRect rc = pControl->GetRect();
  const int nSelected = pControl->GetSelected();
  const BOOL bEnabled = pControl->GetEnabled();
  const BOOL bChecked = pControl->GetChecked();
  const BOOL bOpen = IsControlPopuped(pControl);

  if (pControl->GetExpandedOnly()) FillPopupIconColumn(pDC, CRect(1, rc.top, nCell + 1, rc.bottom), TRUE);
  if (dynamic_cast<CXTPControlLabel *>(pControl))
    pDC->FillSolidRect(CRect(nCell + 3, rc.top, rc.right, rc.bottom), GetPaintColor(XPCOLOR_SPLITTER_FACE));
  else
    DrawControlFrame(pDC, rc, nSelected, FALSE, bEnabled, FALSE, FALSE, FALSE, xtpBarPopup);

  const CRect rcCell(rc.left, rc.top, rc.left + nCell, rc.bottom);
  CXTPImageManagerIcon *pImage = IsIconStyle(pControl) ? pControl->GetImage(szIcon.cx) : nullptr;
  if (pImage) {
    if (bChecked && bEnabled)
      DrawControlFrame(pDC, CRect(rcCell.left + 1, rcCell.top + 1, rcCell.right - 1, rcCell.bottom - 1),
                       nSelected, FALSE, bEnabled, TRUE, FALSE, FALSE, xtpBarPopup);
    CSize szImage(szIcon.cx,
                  pImage->GetWidth() > 0 ? szIcon.cx * pImage->GetHeight() / pImage->GetWidth() : szIcon.cy);
    CPoint pt(rcCell.left + (rcCell.Width() - szImage.cx) / 2,
              rcCell.top + (rcCell.Height() - szImage.cy) / 2);
    DrawImage(pDC, pt, szImage, pImage, nSelected, FALSE, bEnabled, bChecked, FALSE, FALSE);
  } else if (bChecked) {
    if (bEnabled)
      DrawControlFrame(pDC, CRect(rcCell.left + 1, rcCell.top + 1, rcCell.right - 1, rcCell.bottom - 1),
                       nSelected, FALSE, bEnabled, TRUE, FALSE, FALSE, xtpBarPopup);
    DrawCheckMark(pDC, rcCell, GetPaintColor(bEnabled ? XPCOLOR_MENUBAR_TEXT : XPCOLOR_DISABLED),
                  pBar && pBar->IsLayoutRTL());
  }

  const int nText = !bEnabled ? XPCOLOR_GRAYTEXT : nSelected ? XPCOLOR_HIGHLIGHT_TEXT : XPCOLOR_MENUBAR_TEXT;
  pDC->SetTextColor(GetPaintColor(nText));
  pDC->SetBkMode(TRANSPARENT);

  if (IsPopupType(type)) {
    COLORREF clrArrow = GetPaintColor(nText);
    if (type == xtpControlSplitButtonPopup && bEnabled) {
      if (nSelected && bOpen) {
        Rectangle(pDC, CRect(rc.right - 20, rc.top, rc.right, rc.bottom), XPCOLOR_HIGHLIGHT_BORDER,
                  XPCOLOR_HIGHLIGHT_PUSHED);
        clrArrow = GetPaintColor(XPCOLOR_PUSHED_TEXT);
      } else {
        Line(pDC, rc.right - 20, rc.top + 1, rc.right - 20, rc.bottom - 1,
             nSelected ? XPCOLOR_HIGHLIGHT_BORDER : COLOR_BTNSHADOW);
      }
    }
    const int x = rc.right - 11, y = rc.CenterPoint().y;
    Triangle(pDC, CPoint(x, y + 3), CPoint(x + 3, y), CPoint(x, y - 3), clrArrow);
  }

  DrawPopupText(pDC, strCaption, CRect(nCell + 8, rc.top, rc.right, rc.bottom), DT_END_ELLIPSIS, TRUE);
  if (!strShortcut.IsEmpty())
    DrawPopupText(pDC, strShortcut, CRect(nCell + 8, rc.top, rc.right - 19, rc.bottom), DT_RIGHT, TRUE);
  return rc.Size();
}

CSize CXTPOfficeTheme::DrawSpecialControl(int nType, CDC *pDC, CXTPControl *pControl, CXTPCommandBar *pBar,
                                          BOOL bDraw, LPARAM lParam) {
  if (nType != xtpButtonCustomize)
    return CXTPPaintManager::DrawSpecialControl(nType, pDC, pControl, pBar, bDraw, lParam);

  const CSize szIcon = pBar ? pBar->GetIconSize() : CSize(16, 16);
  const int nCell = GetPopupIconCellWidth(szIcon);
  if (!bDraw) {
    CSize sz = DrawPopupBarControl(pDC, pControl, FALSE);
    return CSize(sz.cx + nCell, sz.cy);
  }
  const CRect rc = pControl->GetRect();
  const int nSelected = pControl->GetSelected();
  const BOOL bEnabled = pControl->GetEnabled();
  CXTPFontDC font(pDC, GetCommandBarFont(pBar, FALSE));
  // Across the separator's gap above the row, when it joins the column.
  const int nColumnTop = rc.top - (pControl->GetJoinsTickColumn() ? 3 : 0);
  FillPopupIconColumn(pDC, CRect(1, nColumnTop, nCell + 1, rc.bottom), FALSE);
  DrawControlFrame(pDC, rc, nSelected, FALSE, bEnabled, FALSE, FALSE, FALSE, xtpBarPopup);
  const CRect rcCell(rc.left + nCell, rc.top, rc.left + 2 * nCell, rc.bottom);
  CXTPImageManagerIcon *pImage = IsIconStyle(pControl) ? pControl->GetImage(szIcon.cx) : nullptr;
  if (pImage) {
    CPoint pt(rcCell.left + (rcCell.Width() - szIcon.cx) / 2, rcCell.top + (rcCell.Height() - szIcon.cy) / 2);
    DrawImage(pDC, pt, szIcon, pImage, nSelected, FALSE, bEnabled, pControl->GetChecked(), FALSE, FALSE);
  } else if (pControl->GetChecked()) {
    DrawCheckMark(pDC, rcCell, GetPaintColor(bEnabled ? XPCOLOR_MENUBAR_TEXT : XPCOLOR_DISABLED));
  }
  pDC->SetTextColor(GetPaintColor(!bEnabled   ? XPCOLOR_GRAYTEXT
                                  : nSelected ? XPCOLOR_HIGHLIGHT_TEXT
                                              : XPCOLOR_MENUBAR_TEXT));
  pDC->SetBkMode(TRANSPARENT);
  DrawPopupText(pDC, pControl->GetCaption(), CRect(rc.left + 8 + 2 * nCell, rc.top, rc.right, rc.bottom),
                DT_END_ELLIPSIS, TRUE);
  CString strShortcut = pControl->GetShortcutText();
  if (!strShortcut.IsEmpty())
    DrawPopupText(pDC, strShortcut, CRect(rc.left + 8 + 2 * nCell, rc.top, rc.right - 19, rc.bottom),
                  DT_RIGHT, TRUE);
  return rc.Size();
}

// ---------------------------------------------------------------------------
// Edit and combo box

void CXTPOfficeTheme::DrawComboGlyph(CDC *pDC, CRect rc, int nColor) {
  CXTPFontDC font(pDC, &m_fontMarlettIcon);
  pDC->SetTextColor(GetPaintColor(nColor));
  pDC->SetBkMode(TRANSPARENT);
  rc.OffsetRect(1, 1);
  ::DrawTextW(pDC->GetSafeHdc(), L"u", 1, &rc, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

namespace {

// What the edit and combo boxes share: where the caption goes and in which
// colour, and the measured width of the label part.
struct FieldLayout {
  BOOL bPopup;
  BOOL bLabel;
  int nCell;
  int nRowHeight;
};

} // namespace

CSize CXTPOfficeTheme::DrawEditControl(CDC *pDC, CXTPControl *pControl, BOOL bDraw) {
  auto *pEdit = dynamic_cast<CXTPControlEdit *>(pControl);
  CXTPCommandBar *pBar = pControl->GetParent();
  const CSize szIcon = pBar ? pBar->GetIconSize() : CSize(16, 16);
  FieldLayout layout = {IsOnPopup(pControl), FALSE, GetPopupIconCellWidth(szIcon),
                        GetPopupRowHeightFor(szIcon)};
  layout.bLabel = layout.bPopup || (pEdit && pEdit->IsCaptionVisible());
  CXTPFontDC font(pDC, &m_fontIcon);
  const CString strCaption = pControl->GetCaption();
  const int nCaptionLeft = layout.bPopup ? layout.nCell + 7 : 2;
  if (!bDraw) {
    int nLabel = layout.bLabel ? nCaptionLeft + DrawPopupText(pDC, strCaption, CRect(), 0, FALSE).cx + 5 : 0;
    if (pEdit) pEdit->SetLabelWidth(nLabel);
    int nWidth = pEdit ? pEdit->GetWidth() : 100;
    return CSize(nWidth + (layout.bPopup ? nLabel : 0),
                 std::max(layout.bPopup ? layout.nRowHeight : 0, BlankHeight(pDC) + 8));
  }
  const CRect rc = pControl->GetRect();
  const BOOL bEnabled = pControl->GetEnabled();
  const int nSelected = pControl->GetSelected();
  const int nLabel = pEdit ? pEdit->GetLabelWidth() : 0;
  pDC->SetBkMode(TRANSPARENT);
  if (layout.bLabel) {
    if (layout.bPopup && nSelected && bEnabled)
      DrawControlFrame(pDC, rc, nSelected, FALSE, TRUE, FALSE, FALSE, FALSE, xtpBarPopup);
    int nColor = layout.bPopup ? (!bEnabled   ? XPCOLOR_GRAYTEXT
                                  : nSelected ? XPCOLOR_HIGHLIGHT_TEXT
                                              : XPCOLOR_MENUBAR_TEXT)
                               : (bEnabled ? XPCOLOR_TOOLBAR_TEXT : XPCOLOR_DISABLED);
    pDC->SetTextColor(GetPaintColor(nColor));
    DrawPopupText(pDC, strCaption, CRect(rc.left + nCaptionLeft, rc.top, rc.left + nLabel, rc.bottom), 0,
                  TRUE);
  }
  CRect rcField(rc.left + nLabel, rc.top, rc.right, rc.bottom);
  if (!bEnabled) {
    Rectangle(pDC, rcField, nSelected == 2 ? XPCOLOR_HIGHLIGHT_BORDER : XPCOLOR_DISABLED, COLOR_BTNFACE);
  } else if (nSelected) {
    Rectangle(pDC, rcField, XPCOLOR_HIGHLIGHT_BORDER, COLOR_WINDOW);
  } else {
    CRect rcInside = rcField;
    rcInside.DeflateRect(1, 1);
    pDC->FillSolidRect(rcInside, GetPaintColor(COLOR_WINDOW));
    if (layout.bPopup) Draw3dRect(pDC, rcField, XPCOLOR_3DSHADOW, XPCOLOR_3DSHADOW);
  }
  return rc.Size();
}

CSize CXTPOfficeTheme::DrawComboBoxControl(CDC *pDC, CXTPControl *pControl, BOOL bDraw) {
  auto *pCombo = dynamic_cast<CXTPControlComboBox *>(pControl);
  CXTPCommandBar *pBar = pControl->GetParent();
  const CSize szIcon = pBar ? pBar->GetIconSize() : CSize(16, 16);
  const BOOL bPopup = IsOnPopup(pControl);
  // On a toolbar the caption shows when the control's style shows it.
  const BOOL bLabel = bPopup || pControl->IsCaptionVisible();
  const int nCell = GetPopupIconCellWidth(szIcon);
  CXTPFontDC font(pDC, &m_fontIcon);
  const CString strCaption = pControl->GetCaption();
  const int nBlank = BlankHeight(pDC);
  const int nCaptionLeft = bPopup ? nCell + 7 : 2;
  if (!bDraw) {
    int nLabel = bLabel ? nCaptionLeft + DrawPopupText(pDC, strCaption, CRect(), 0, FALSE).cx + 5 : 0;
    if (pCombo) {
      pCombo->SetLabelWidth(nLabel);
      pCombo->SetThumbWidth(nBlank + 2);
    }
    int nWidth = pCombo ? pCombo->GetWidth() : 100;
    return CSize(nWidth + nLabel, std::max(bPopup ? GetPopupRowHeightFor(szIcon) : 0, nBlank + 8));
  }
  const CRect rc = pControl->GetRect();
  const BOOL bEnabled = pControl->GetEnabled();
  const int nSelected = pControl->GetSelected();
  const BOOL bDropped = pCombo && pCombo->GetDroppedState();
  const int nLabel = pCombo ? pCombo->GetLabelWidth() : 0;
  pDC->SetBkMode(TRANSPARENT);
  if (bLabel) {
    if (bPopup && nSelected && bEnabled)
      DrawControlFrame(pDC, rc, nSelected, FALSE, TRUE, FALSE, FALSE, FALSE, xtpBarPopup);
    const int nColor = bPopup ? (!bEnabled   ? XPCOLOR_GRAYTEXT
                                 : nSelected ? XPCOLOR_HIGHLIGHT_TEXT
                                             : XPCOLOR_MENUBAR_TEXT)
                              : (bEnabled ? XPCOLOR_TOOLBAR_TEXT : XPCOLOR_DISABLED);
    pDC->SetTextColor(GetPaintColor(nColor));
    DrawPopupText(pDC, strCaption, CRect(rc.left + nCaptionLeft, rc.top, rc.left + nLabel, rc.bottom), 0,
                  TRUE);
  }
  CRect rcField(rc.left + nLabel, rc.top, rc.right, rc.bottom);
  const int nThumb = pCombo && pCombo->GetThumbWidth() ? pCombo->GetThumbWidth() : nBlank + 2;
  CRect rcButton(rcField.right - nThumb, rcField.top, rcField.right, rcField.bottom);
  int nGlyph = XPCOLOR_TOOLBAR_TEXT;
  if (!bEnabled) {
    Rectangle(pDC, rcField, nSelected == 2 ? XPCOLOR_HIGHLIGHT_BORDER : XPCOLOR_DISABLED, COLOR_BTNFACE);
    nGlyph = XPCOLOR_DISABLED;
  } else {
    pDC->FillSolidRect(CRect(rcField.left, rcField.top, rcButton.left, rcField.bottom),
                       GetPaintColor(COLOR_WINDOW));
    CRect rcInner = rcButton;
    rcInner.DeflateRect(1, 1);
    if (nSelected || bDropped) {
      Rectangle(pDC, rcField, XPCOLOR_HIGHLIGHT_BORDER, COLOR_WINDOW);
      Rectangle(pDC, rcButton, XPCOLOR_HIGHLIGHT_BORDER,
                bDropped ? XPCOLOR_HIGHLIGHT_PUSHED : XPCOLOR_HIGHLIGHT);
      nGlyph = bDropped ? XPCOLOR_PUSHED_TEXT : XPCOLOR_HIGHLIGHT_TEXT;
    } else if (bPopup) {
      Draw3dRect(pDC, rcField, XPCOLOR_3DSHADOW, XPCOLOR_3DSHADOW);
      Rectangle(pDC, rcInner, COLOR_WINDOW, XPCOLOR_3DSHADOW);
    } else {
      pDC->FillSolidRect(rcInner, GetPaintColor(COLOR_BTNFACE));
      Draw3dRect(pDC, rcInner, COLOR_WINDOW, COLOR_WINDOW);
    }
    if (pCombo && !bPopup) {
      CRect rcText(rcField.left + 3, rcField.top + 1, rcButton.left, rcField.bottom - 1);
      pDC->SetTextColor(GetPaintColor(COLOR_WINDOWTEXT));
      ::DrawTextW(pDC->GetSafeHdc(), pCombo->GetEditText(), -1, &rcText,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
  }
  DrawComboGlyph(pDC, rcButton, nGlyph);
  return rc.Size();
}

// ---------------------------------------------------------------------------
// The rows of a drop-down list

CSize CXTPOfficeTheme::DrawListBoxControl(CDC *pDC, CXTPControl *pControl, CRect rc, BOOL bSelected,
                                          BOOL bDraw, BOOL bCommandBarsIconSize) {
  CSize szIcon(16, 16);
  CXTPCommandBar *pBar = pControl ? pControl->GetParent() : nullptr;
  if (bCommandBarsIconSize && pBar) szIcon = pBar->GetIconSize();
  const int nRow = std::max<int>(szIcon.cy + 6, m_nTextHeight);
  const int nCell = GetPopupIconCellWidth(szIcon);
  if (!bDraw) return CSize(rc.Width(), nRow);
  pDC->FillSolidRect(rc, GetPaintColor(XPCOLOR_MENUBAR_FACE));
  const CRect rcCell(rc.left, rc.top, rc.left + nCell, rc.top + nRow);
  FillPopupIconColumn(pDC, rcCell, FALSE);
  if (!pControl) return CSize(rc.Width(), nRow);
  if (bSelected) DrawControlFrame(pDC, rc, TRUE, FALSE, TRUE, FALSE, FALSE, FALSE, xtpBarPopup);
  CXTPImageManagerIcon *pImage = IsIconStyle(pControl) ? pControl->GetImage(szIcon.cx) : nullptr;
  if (pImage) {
    CPoint pt(rcCell.left + (rcCell.Width() - szIcon.cx) / 2, rcCell.top + (rcCell.Height() - szIcon.cy) / 2);
    DrawImage(pDC, pt, szIcon, pImage, bSelected, FALSE, TRUE, FALSE, FALSE, FALSE);
  }
  const COLORREF clrText = GetPaintColor(bSelected ? XPCOLOR_HIGHLIGHT_TEXT : XPCOLOR_MENUBAR_TEXT);
  pDC->SetTextColor(clrText);
  pDC->SetBkMode(TRANSPARENT);
  {
    CXTPFontDC font(pDC, &m_fontRegular);
    CString strCaption = StripAccelerators(pControl->GetCaption());
    CRect rcText(rc.left + nCell + 8, rc.top, rc.right, rc.bottom);
    ::DrawTextW(pDC->GetSafeHdc(), strCaption, -1, &rcText,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  const XTPControlType type = pControl->GetType();
  if (IsPopupType(type)) {
    int x = rc.right - 7, y = rc.CenterPoint().y;
    Triangle(pDC, CPoint(x, y), CPoint(x - 5, y + 5), CPoint(x - 5, y - 5), clrText);
    if (type == xtpControlSplitButtonPopup)
      Line(pDC, rc.right - 20, rc.top + 1, rc.right - 20, rc.bottom - 1,
           bSelected ? XPCOLOR_HIGHLIGHT_BORDER : COLOR_BTNSHADOW);
  }
  if (type == xtpControlComboBox || type == xtpControlEdit) {
    const int nBlank = BlankHeight(pDC);
    CRect rcBox(rc.right - nBlank - 2 - 2, rc.top + 2, rc.right - 2, rc.bottom - 2);
    Rectangle(pDC, rcBox, bSelected ? XPCOLOR_HIGHLIGHT_BORDER : COLOR_BTNFACE, COLOR_WINDOW);
    if (type == xtpControlComboBox) {
      CRect rcInner = rcBox;
      rcInner.DeflateRect(2, 2);
      if (bSelected)
        DrawControlFrame(pDC, rcInner, TRUE, FALSE, TRUE, FALSE, FALSE, FALSE, xtpBarPopup);
      else
        pDC->FillSolidRect(rcInner, GetPaintColor(COLOR_BTNFACE));
      DrawComboGlyph(pDC, rcBox, bSelected ? XPCOLOR_HIGHLIGHT_TEXT : XPCOLOR_TOOLBAR_TEXT);
    }
  }
  return CSize(rc.Width(), nRow);
}
