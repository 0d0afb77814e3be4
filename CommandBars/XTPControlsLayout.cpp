// The layout engine of the control list: sizes in, rows and places out.
#include "XTPControls.h"

#include <algorithm>

namespace {

int Length(const XTP_LAYOUT_RECORD &r, BOOL bVert) {
  return bVert ? r.szControl.cy : r.szControl.cx;
}

BOOL Placed(const XTP_LAYOUT_RECORD &r) {
  return r.bVisible && !r.bHide;
}

const int kGroupGap = 6;

} // namespace

int CXTPControlsLayout::WrapRecords(Records &records, int nWidth, DWORD &dwMode, BOOL bVert) {
  for (XTP_LAYOUT_RECORD &r : records) {
    r.bWrap = FALSE;
    r.bHide = FALSE;
  }
  int nWraps = 0, x = 0;
  int nRowStart = -1, nLastGroup = -1;
  BOOL bHidden = FALSE;
  const int nCount = static_cast<int>(records.size());
  for (int i = 0; i < nCount; i++) {
    XTP_LAYOUT_RECORD &r = records[i];
    if (!r.bVisible) continue;
    const BOOL bFirst = nRowStart < 0;
    const int nAdd = Length(r, bVert) + (r.bBeginGroup && !bFirst ? kGroupGap : 0);
    const BOOL bGroupBreak = (dwMode & LM_POPUP) && r.bBeginGroup && !bFirst;
    if (!bFirst && (x + nAdd > nWidth || bGroupBreak)) {
      if (dwMode & LM_HIDEWRAP) {
        for (int j = i; j < nCount; j++)
          if (records[j].bVisible) records[j].bHide = TRUE;
        dwMode |= LM_HORZ; // the pass wrapped or hid something
        bHidden = TRUE;
        break;
      }
      // Prefer to break where the row's last group starts, so a group stays
      // together on the next row.
      int nAt = (!bGroupBreak && nLastGroup > nRowStart) ? nLastGroup : i;
      records[nAt].bWrap = TRUE;
      nWraps++;
      dwMode |= LM_HORZ; // the pass wrapped or hid something
      nRowStart = nAt;
      nLastGroup = -1;
      x = 0;
      for (int j = nAt; j < i; j++) {
        if (!records[j].bVisible) continue;
        x += Length(records[j], bVert) + (records[j].bBeginGroup && j != nAt ? kGroupGap : 0);
        if (records[j].bBeginGroup && j != nAt) nLastGroup = j;
      }
      x += Length(r, bVert) + (r.bBeginGroup && i != nAt ? kGroupGap : 0);
      if (r.bBeginGroup && i != nAt) nLastGroup = i;
      continue;
    }
    if (bFirst)
      nRowStart = i;
    else if (r.bBeginGroup)
      nLastGroup = i;
    x += nAdd;
  }
  return bHidden ? nWraps : nWraps + 1;
}

CSize CXTPControlsLayout::MeasureRecords(Records &records, BOOL bVertDock) {
  // Rows run along x (columns along y, and columns go right to left).
  int nAlong = 0, nAcross = 0, nRowThickness = 0, nExtentAlong = 0;
  BOOL bFirst = TRUE;
  for (XTP_LAYOUT_RECORD &r : records) {
    if (!Placed(r)) continue;
    const int nLen = bVertDock ? r.szControl.cy : r.szControl.cx;
    const int nThick = bVertDock ? r.szControl.cx : r.szControl.cy;
    if (!bFirst && r.bWrap) {
      nAcross += nRowThickness + (r.bBeginGroup ? kGroupGap : 0);
      nAlong = 0;
      nRowThickness = 0;
    } else if (!bFirst && r.bBeginGroup) {
      nAlong += kGroupGap;
    }
    if (!bVertDock)
      r.rcControl = CRect(nAlong, nAcross, nAlong + nLen, nAcross + nThick);
    else
      r.rcControl = CRect(-nAcross - nThick, nAlong, -nAcross, nAlong + nLen);
    nAlong += nLen;
    nRowThickness = std::max(nRowThickness, nThick);
    nExtentAlong = std::max(nExtentAlong, nAlong);
    bFirst = FALSE;
  }
  const int nExtentAcross = bFirst ? 0 : nAcross + nRowThickness;
  // Columns placed from the right edge by their own widths: line them up
  // with the widest in each column on the right.
  return bVertDock ? CSize(nExtentAcross, nExtentAlong) : CSize(nExtentAlong, nExtentAcross);
}

namespace {

// The extent of the rows wrapped at the width on a trial: the wrap works on a
// copy of the mode, which only the final wrap hands back to the caller.
CSize WrapTrial(CXTPControlsLayout::Records &records, int nWidth, DWORD dwMode) {
  CXTPControlsLayout::WrapRecords(records, nWidth, dwMode, FALSE);
  return CXTPControlsLayout::MeasureRecords(records, FALSE);
}

} // namespace

CSize CXTPControlsLayout::BalanceRecords(Records &records, DWORD &dwMode) {
  int nMin = WrapTrial(records, 0, dwMode).cx;
  int nMax = WrapTrial(records, 32767, dwMode).cx;
  while (nMin < nMax) {
    int nMid = (nMin + nMax) / 2;
    CSize sz = WrapTrial(records, nMid, dwMode);
    if (sz.cx >= sz.cy) {
      nMax = nMid;
      if (sz.cx == sz.cy) break;
    } else {
      if (nMin == nMid) break;
      nMin = nMid;
    }
  }
  WrapRecords(records, nMax, dwMode, FALSE);
  return MeasureRecords(records, FALSE);
}

CSize CXTPControlsLayout::FitLength(Records &records, int nLength, DWORD &dwMode) {
  DWORD dwWork = dwMode;
  if (dwMode & LM_LENGTHY) {
    int nMin = WrapTrial(records, 0, dwMode).cx;
    int nMax = WrapTrial(records, 32767, dwMode).cx;
    while (nMin < nMax) {
      int nMid = (nMin + nMax) / 2;
      CSize sz = WrapTrial(records, nMid, dwMode);
      if (sz.cy == nLength) {
        nMax = nMid;
        break;
      }
      if (sz.cy > nLength) {
        if (nMin == nMid) break;
        nMin = nMid;
      } else {
        nMax = nMid;
      }
    }
    WrapRecords(records, nMax, dwMode, FALSE);
    return MeasureRecords(records, FALSE);
  }
  const int nRows = WrapRecords(records, nLength, dwWork, FALSE);
  int nLo = 0, nHi = std::max(nLength, 0);
  while (nLo < nHi) {
    int nMid = (nLo + nHi) / 2;
    dwWork = dwMode;
    if (WrapRecords(records, nMid, dwWork, FALSE) <= nRows)
      nHi = nMid;
    else
      nLo = nMid + 1;
  }
  WrapRecords(records, nHi, dwMode, FALSE);
  return MeasureRecords(records, FALSE);
}

void CXTPControlsLayout::PositionRecords(Records &records, CRect rcMargins, DWORD dwMode, CSize szBar) {
  const BOOL bVertDock = (dwMode & LM_VERTDOCK) != 0;
  const int nShiftX = rcMargins.left + (bVertDock ? szBar.cx : 0);
  for (XTP_LAYOUT_RECORD &r : records)
    if (Placed(r)) r.rcControl.OffsetRect(nShiftX, rcMargins.top);

  // Rows: runs of placed records between wraps.
  const int nCount = static_cast<int>(records.size());
  std::vector<std::pair<int, int>> rows; // [first, last]
  for (int i = 0; i < nCount; i++) {
    if (!Placed(records[i])) continue;
    if (rows.empty() || records[i].bWrap)
      rows.push_back({i, i});
    else
      rows.back().second = i;
  }
  for (auto &row : rows) {
    CRect rcRow;
    BOOL bFirst = TRUE;
    for (int i = row.first; i <= row.second; i++) {
      if (!Placed(records[i])) continue;
      if (bFirst)
        rcRow = records[i].rcControl;
      else
        rcRow.UnionRect(rcRow, records[i].rcControl);
      bFirst = FALSE;
    }
    // The row spans the bar's length.
    if (!bVertDock) {
      rcRow.left = rcMargins.left;
      rcRow.right = rcMargins.left + szBar.cx;
    } else {
      rcRow.top = rcMargins.top;
      rcRow.bottom = rcMargins.top + szBar.cy;
    }
    for (int i = row.first; i <= row.second; i++) {
      XTP_LAYOUT_RECORD &r = records[i];
      if (!Placed(r)) continue;
      r.rcRow = rcRow;
      if (dwMode & LM_COMMIT) {
        if (!bVertDock)
          r.rcControl.OffsetRect(0, (rcRow.Height() - r.rcControl.Height()) / 2);
        else
          r.rcControl.OffsetRect((rcRow.Width() - r.rcControl.Width()) / 2, 0);
      }
    }
  }
  if (!(dwMode & LM_COMMIT) || rows.empty()) return;

  // Stretched controls share what is left of their row.
  for (auto &row : rows) {
    int nStretched = 0, nEnd = 0;
    for (int i = row.first; i <= row.second; i++) {
      if (!Placed(records[i])) continue;
      if (records[i].dwFlags & 0x20) nStretched++;
      nEnd = bVertDock ? records[i].rcControl.bottom : records[i].rcControl.right;
    }
    int nFree = (bVertDock ? rcMargins.top + szBar.cy : rcMargins.left + szBar.cx) - nEnd;
    if (!nStretched || nFree <= 0) continue;
    int nShare = nFree / nStretched, nGiven = 0, nShift = 0, nSeen = 0;
    for (int i = row.first; i <= row.second; i++) {
      XTP_LAYOUT_RECORD &r = records[i];
      if (!Placed(r)) continue;
      if (bVertDock)
        r.rcControl.OffsetRect(0, nShift);
      else
        r.rcControl.OffsetRect(nShift, 0);
      if (r.dwFlags & 0x20) {
        int nGrow = ++nSeen == nStretched ? nFree - nGiven : nShare;
        nGiven += nGrow;
        if (bVertDock)
          r.rcControl.bottom += nGrow;
        else
          r.rcControl.right += nGrow;
        nShift += nGrow;
      }
    }
  }

  // Right-aligned controls at the end of the last row go to the far edge.
  auto &last = rows.back();
  int nEdge = bVertDock ? rcMargins.top + szBar.cy : rcMargins.left + szBar.cx;
  for (int i = last.second; i >= last.first; i--) {
    XTP_LAYOUT_RECORD &r = records[i];
    if (!Placed(r)) continue;
    if (!(r.dwFlags & 0x01)) break;
    int nLen = bVertDock ? r.rcControl.Height() : r.rcControl.Width();
    if (bVertDock)
      r.rcControl.OffsetRect(0, nEdge - r.rcControl.bottom);
    else
      r.rcControl.OffsetRect(nEdge - r.rcControl.right, 0);
    nEdge -= nLen;
    if (r.bWrap) break;
  }
}

CSize CXTPControlsLayout::Calculate(Records &records, int nLength, DWORD dwMode, CRect rcMargins,
                                    int nMinLength, int nMRUWidth) {
  const int nMarginsX = rcMargins.left + rcMargins.right, nMarginsY = rcMargins.top + rcMargins.bottom;
  BOOL bAnyVisible = FALSE;
  for (const XTP_LAYOUT_RECORD &r : records) bAnyVisible |= r.bVisible;
  if (!bAnyVisible) {
    CSize sz(23 + nMarginsX, 22 + nMarginsY);
    if (dwMode & LM_HORZDOCK)
      sz.cy = std::max<int>(sz.cy, nMinLength);
    else
      sz.cx = std::max<int>(sz.cx, nMinLength);
    return sz;
  }
  if (dwMode & LM_MRUWIDTH) nLength = nMRUWidth;

  if (!(dwMode & LM_POPUP)) {
    if (dwMode & LM_HORZDOCK)
      WrapRecords(records, nLength - nMarginsX, dwMode, FALSE);
    else if (dwMode & LM_VERTDOCK)
      WrapRecords(records, nLength - nMarginsY, dwMode, TRUE);
    else
      FitLength(records, nLength - ((dwMode & LM_LENGTHY) ? nMarginsY : nMarginsX), dwMode);
  } else {
    DWORD dwWork = dwMode;
    WrapRecords(records, nMRUWidth, dwWork, FALSE);
    CSize sz = MeasureRecords(records, FALSE);
    if (sz.cy > 3 * sz.cx && nMRUWidth < 1)
      BalanceRecords(records, dwMode);
    else
      WrapRecords(records, sz.cx, dwMode, FALSE);
  }

  CSize sz = MeasureRecords(records, (dwMode & LM_VERTDOCK) != 0);
  if (nMinLength > 0) {
    if (dwMode & LM_HORZDOCK)
      sz.cy = std::max<int>(sz.cy, nMinLength - nMarginsY);
    else
      sz.cx = std::max<int>(sz.cx, nMinLength - nMarginsX);
  }
  if (dwMode & LM_STRETCH) {
    if (dwMode & LM_VERTDOCK)
      sz.cy = std::max<int>(sz.cy, nLength - nMarginsY);
    else
      sz.cx = std::max<int>(sz.cx, nLength - nMarginsX);
  }
  PositionRecords(records, rcMargins, dwMode, sz);
  return CSize(sz.cx + nMarginsX, sz.cy + nMarginsY);
}
