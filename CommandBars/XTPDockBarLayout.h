// The row layout of a dock bar, kept free of windows: bars of a row are
// placed along it, overlaps resolved, bars squeezed when they may wrap, and
// the bar that does not fit pushed to a physical row of its own. The entry
// list (bars of a row, each row closed by a null) is edited by templates so
// that tests can run them over plain pointers.
#pragma once
#include <algorithm>
#include <functional>
#include <vector>

#include "Framework.h"

// Layout-mode bits handed to a bar's size calculation.
enum XTPDockLayoutMode : DWORD {
  xtpDockModeStretch = 1,
  xtpDockModeHorizontal = 2,
  xtpDockModeHorzDock = 8,
  xtpDockModeVertDock = 16,
  xtpDockModeCommit = 64,
  xtpDockModeWrap = 128,
};

// Bar flags the layout reads.
constexpr DWORD kDockBarFlagFullRow = 0x40;
constexpr DWORD kDockBarFlagWrap = 0x20;
constexpr DWORD kDockBarFlagStretch = 0x100000;

// The mode word a bar is measured with in a row. bWrapAllowed is false only
// in customise mode with the command bars' copy of that mode clear.
DWORD XTPDockGetDockFlags(BOOL bHorizontal, DWORD dwBarFlags, BOOL bWrapAllowed);

// One bar of a row as the layout sees it.
struct XTPDockRowBar {
  int nId = 0;           // the caller's key, handed back to the measure and in the result
  DWORD dwDockFlags = 0; // XTPDockGetDockFlags of the bar
  DWORD dwBarFlags = 0;  // the bar's flags word (stretch)
  int nWantedStart = 0;  // the remembered dock rectangle's near edge along the row
};

// A bar's size (cx, cy) for a length along the row and a layout mode.
using XTPDockMeasure = std::function<CSize(int nId, int nLength, DWORD dwMode)>;

struct XTPDockPlacement {
  int nId = 0;
  CRect rc; // dock-bar client coordinates
};

// Places one physical row at nAcross (y for a horizontal row, x for a
// vertical one). Returns its thickness, or 0 with nRemove set to the index
// (in bars) of the bar that must leave the row.
int XTPDockAdjustRow(const std::vector<XTPDockRowBar> &bars, int nAcross, int nLength, BOOL bHorizontal,
                     const XTPDockMeasure &measure, std::vector<XTPDockPlacement> &placed, int &nRemove);

// Places one row of the entry list, which may take several physical rows;
// returns the total thickness.
int XTPDockLayoutRows(std::vector<XTPDockRowBar> bars, int nAcross, int nLength, BOOL bHorizontal,
                      const XTPDockMeasure &measure, std::vector<XTPDockPlacement> &placed);

// Places every row; the result's thickness (cy horizontal, cx vertical)
// is the sum of the rows', its length 32767 when stretched, else 0.
CSize XTPDockLayoutAll(const std::vector<std::vector<XTPDockRowBar>> &rows, int nLength, DWORD dwMode,
                       const XTPDockMeasure &measure, std::vector<XTPDockPlacement> &placed);

// --- The entry list -------------------------------------------------------
// Entry 0 and the last entry are null; each row is followed by a null.

// First index holding pBar other than nExclude, or -1.
template <class T> int XTPDockFindBar(const std::vector<T *> &entries, const T *pBar, int nExclude = -1) {
  for (size_t i = 0; i < entries.size(); i++)
    if (entries[i] == pBar && static_cast<int>(i) != nExclude) return static_cast<int>(i);
  return -1;
}

// Removes the first entry of pBar other than nKeep and a null doubled by it.
template <class T> BOOL XTPDockRemoveEntry(std::vector<T *> &entries, const T *pBar, int nKeep = -1) {
  const int nIndex = XTPDockFindBar(entries, pBar, nKeep);
  if (nIndex < 0) return FALSE;
  entries.erase(entries.begin() + nIndex);
  if (nIndex > 0 && nIndex < static_cast<int>(entries.size()) && entries[nIndex - 1] == nullptr &&
      entries[nIndex] == nullptr)
    entries.erase(entries.begin() + nIndex);
  return TRUE;
}

// Finds the row under the coordinate nCentre across the rows and inserts
// pBar there, or opens a new row; returns the index after the row's null.
// farEdge says whether a bar is visible and gives its far edge across rows.
template <class T>
int XTPDockInsertBar(std::vector<T *> &entries, T *pBar, int nCentre,
                     const std::function<BOOL(const T *, int &)> &farEdge) {
  int nRowStart = 0, nRowFar = 0, nPrevRowFar = 0, nStop = -1;
  for (size_t i = 0; i < entries.size(); i++) {
    if (entries[i] != nullptr) {
      int nFar = 0;
      if (farEdge(entries[i], nFar)) nRowFar = std::max(nRowFar, nFar);
      continue;
    }
    if (nCentre < nRowFar) {
      nStop = static_cast<int>(i);
      break;
    }
    nPrevRowFar = nRowFar;
    nRowFar = 0;
    nRowStart = static_cast<int>(i);
  }
  if (nStop > 0 && nCentre != nPrevRowFar) {
    entries.insert(entries.begin() + nRowStart + 1, pBar);
  } else {
    // The new row: the bar and the null that closes it.
    entries.insert(entries.begin() + nRowStart + 1, nullptr);
    entries.insert(entries.begin() + nRowStart + 1, pBar);
  }
  return nRowStart + 1;
}

// Gives every full-row bar a row of its own.
template <class T>
void XTPDockFixFullRowBars(std::vector<T *> &entries, const std::function<BOOL(const T *)> &isFullRow) {
  for (size_t i = 0; i < entries.size(); i++) {
    if (entries[i] == nullptr || !isFullRow(entries[i])) continue;
    if (i > 0 && entries[i - 1] != nullptr) {
      entries.insert(entries.begin() + i, nullptr);
      i++;
    }
    if (i + 1 < entries.size() && entries[i + 1] != nullptr) entries.insert(entries.begin() + i + 1, nullptr);
  }
}

// The rows of the entry list: the bars between nulls that pass the filter.
template <class T>
std::vector<std::vector<T *>> XTPDockSplitRows(const std::vector<T *> &entries,
                                               const std::function<BOOL(const T *)> &keep) {
  std::vector<std::vector<T *>> rows(1);
  for (T *pEntry : entries) {
    if (pEntry == nullptr) {
      if (!rows.back().empty()) rows.emplace_back();
    } else if (keep(pEntry)) {
      rows.back().push_back(pEntry);
    }
  }
  if (rows.back().empty()) rows.pop_back();
  return rows;
}
