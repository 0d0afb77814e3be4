#include "XTPDockBarLayout.h"

#include <algorithm>

DWORD XTPDockGetDockFlags(BOOL bHorizontal, DWORD dwBarFlags, BOOL bWrapAllowed) {
  DWORD dwMode = bHorizontal ? (xtpDockModeHorizontal | xtpDockModeHorzDock) : xtpDockModeVertDock;
  if (dwBarFlags & kDockBarFlagFullRow) dwMode |= xtpDockModeStretch;
  if (bWrapAllowed && (dwBarFlags & kDockBarFlagWrap)) dwMode |= xtpDockModeWrap;
  return dwMode;
}

namespace {

// An entry in row coordinates: left/right along the row, top/bottom across.
struct RowEntry {
  int nBar = 0; // index in the bars handed in
  CRect rc;
  CRect rcWanted;
  int nMinLength = 0;
  int nMinBefore = 0;
};

int Along(CSize sz, BOOL bHorizontal) {
  return bHorizontal ? sz.cx : sz.cy;
}
int Across(CSize sz, BOOL bHorizontal) {
  return bHorizontal ? sz.cy : sz.cx;
}

void ShiftTo(CRect &rc, int nLeft) {
  rc.OffsetRect(nLeft - rc.left, 0);
}

// Overlaps are pushed away from the bar that keeps its place: forward, then
// back from the row's end, then packed so that no two bars overlap.
void ResolveOverlaps(std::vector<RowEntry> &entries, int nLength) {
  int nPrevRight = 0, nPrevIndex = -1;
  BOOL bMoved = TRUE;
  for (RowEntry &e : entries) {
    if (e.rc.left < nPrevRight && (nPrevIndex < e.nBar || bMoved)) {
      ShiftTo(e.rc, nPrevRight);
      bMoved = TRUE;
    } else {
      bMoved = FALSE;
    }
    nPrevRight = e.rc.right;
    nPrevIndex = e.nBar;
  }
  int nLimit = nLength;
  nPrevIndex = -1;
  bMoved = TRUE;
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    if (it->rc.right > nLimit && (it->nBar > nPrevIndex || bMoved)) {
      ShiftTo(it->rc, nLimit - it->rc.Width());
      bMoved = TRUE;
    } else {
      bMoved = FALSE;
    }
    nLimit = it->rc.left;
    nPrevIndex = it->nBar;
  }
}

int Pack(std::vector<RowEntry> &entries) {
  int nPos = 0;
  for (RowEntry &e : entries) {
    if (e.rc.left < nPos) ShiftTo(e.rc, nPos);
    nPos = e.rc.left + e.rc.Width();
  }
  return nPos;
}

// Squeezes a row that is too long from its end; FALSE with nRemove set when
// a bar cannot get its least length.
BOOL Squeeze(std::vector<RowEntry> &entries, const std::vector<XTPDockRowBar> &bars, int nLength,
             BOOL bHorizontal, const XTPDockMeasure &measure, int &nRemove) {
  int nSum = 0;
  for (RowEntry &e : entries) {
    const XTPDockRowBar &bar = bars[e.nBar];
    e.nMinLength = (bar.dwDockFlags & xtpDockModeWrap)
                       ? Along(measure(bar.nId, 1, bar.dwDockFlags), bHorizontal)
                       : nLength;
    e.nMinBefore = nSum;
    nSum += e.nMinLength;
  }
  int nRight = nLength;
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    int nStart = std::min(it->rc.left, it->rcWanted.left);
    nStart = std::max(nStart, nRight - it->rc.Width());
    nStart = std::max(nStart, it->nMinBefore);
    if (nRight - nStart < it->nMinLength) nStart = nRight - it->nMinLength;
    if ((nRight - nStart < it->nMinLength || nStart < it->nMinBefore) && entries.size() > 1) {
      nRemove = entries.back().nBar;
      return FALSE;
    }
    it->rc.left = std::max(nStart, 0);
    it->rc.right = nRight;
    nRight = it->rc.left;
  }
  return TRUE;
}

} // namespace

int XTPDockAdjustRow(const std::vector<XTPDockRowBar> &bars, int nAcross, int nLength, BOOL bHorizontal,
                     const XTPDockMeasure &measure, std::vector<XTPDockPlacement> &placed, int &nRemove) {
  nRemove = -1;
  std::vector<RowEntry> entries;
  entries.reserve(bars.size());
  for (size_t i = 0; i < bars.size(); i++) {
    const CSize sz = measure(bars[i].nId, nLength, bars[i].dwDockFlags);
    RowEntry e;
    e.nBar = static_cast<int>(i);
    e.rc = CRect(bars[i].nWantedStart, nAcross, bars[i].nWantedStart + Along(sz, bHorizontal),
                 nAcross + Across(sz, bHorizontal));
    e.rcWanted = e.rc;
    entries.push_back(e);
  }
  // Bars at the same start keep their order in the row.
  std::stable_sort(entries.begin(), entries.end(),
                   [](const RowEntry &a, const RowEntry &b) { return a.rc.left < b.rc.left; });
  ResolveOverlaps(entries, nLength);
  if (Pack(entries) > nLength && !Squeeze(entries, bars, nLength, bHorizontal, measure, nRemove)) return 0;

  int nThickness = 0;
  for (const RowEntry &e : entries) {
    const XTPDockRowBar &bar = bars[e.nBar];
    nThickness = std::max(nThickness, Across(measure(bar.nId, e.rc.Width(), bar.dwDockFlags), bHorizontal));
  }
  for (size_t i = 0; i < entries.size(); i++) {
    RowEntry &e = entries[i];
    const XTPDockRowBar &bar = bars[e.nBar];
    DWORD dwMode = bar.dwDockFlags | xtpDockModeCommit;
    if (bar.dwBarFlags & kDockBarFlagStretch) {
      e.rc.right = i + 1 < entries.size() ? entries[i + 1].rc.left : nLength;
      e.rc.left = i == 0 ? 0 : std::min(entries[i - 1].rc.right, e.rc.left);
      dwMode |= xtpDockModeStretch;
    }
    const CSize sz = measure(bar.nId, e.rc.Width(), dwMode);
    const int nAlong = Along(sz, bHorizontal), nThick = Across(sz, bHorizontal);
    XTPDockPlacement p;
    p.nId = bar.nId;
    p.rc = bHorizontal ? CRect(e.rc.left, nAcross, e.rc.left + nAlong, nAcross + nThick)
                       : CRect(nAcross, e.rc.left, nAcross + nThick, e.rc.left + nAlong);
    e.rc.right = e.rc.left + nAlong;
    placed.push_back(p);
  }
  return nThickness;
}

int XTPDockLayoutRows(std::vector<XTPDockRowBar> bars, int nAcross, int nLength, BOOL bHorizontal,
                      const XTPDockMeasure &measure, std::vector<XTPDockPlacement> &placed) {
  std::vector<XTPDockRowBar> overflow;
  int nTotal = 0;
  while (!bars.empty()) {
    int nRemove = -1;
    const int nThickness = XTPDockAdjustRow(bars, nAcross, nLength, bHorizontal, measure, placed, nRemove);
    if (nThickness != 0) {
      nTotal += nThickness;
      nAcross += nThickness;
      bars.swap(overflow);
      overflow.clear();
      continue;
    }
    if (nRemove < 0) break; // a row of bars without thickness
    overflow.push_back(bars[nRemove]);
    bars.erase(bars.begin() + nRemove);
  }
  return nTotal;
}

CSize XTPDockLayoutAll(const std::vector<std::vector<XTPDockRowBar>> &rows, int nLength, DWORD dwMode,
                       const XTPDockMeasure &measure, std::vector<XTPDockPlacement> &placed) {
  const BOOL bHorizontal = (dwMode & xtpDockModeHorizontal) != 0;
  const BOOL bStretch = (dwMode & xtpDockModeStretch) != 0;
  CSize size(bStretch && bHorizontal ? 32767 : 0, bStretch && !bHorizontal ? 32767 : 0);
  int nAcross = 0;
  for (const auto &row : rows) {
    if (row.empty()) continue;
    nAcross += XTPDockLayoutRows(row, nAcross, nLength, bHorizontal, measure, placed);
    if (bHorizontal)
      size.cy = std::max<int>(size.cy, nAcross);
    else
      size.cx = std::max<int>(size.cx, nAcross);
  }
  return size;
}
