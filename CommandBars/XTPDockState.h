// CXTPDockState: where every bar of a frame stands (side and row, floating
// point, visibility), as the profile keeps it between runs. A layout stored
// on a screen of another size is scaled into the present one.
#pragma once

#include <memory>
#include <vector>

#include "Framework.h"

class CXTPCommandBar;

class CXTPBarInfo {
public:
  // The record of one bar under "<profile>-Bar<n>"; a record that names no
  // stored bar answers FALSE from LoadState.
  void SaveState(LPCTSTR lpszProfileName, int nIndex) const;
  BOOL LoadState(LPCTSTR lpszProfileName, int nIndex, const class CXTPDockState *pDockState);

  UINT m_nBarID = 0;
  BOOL m_bVisible = FALSE;
  BOOL m_bFloating = FALSE;
  CPoint m_pointPos = CPoint(-1, -1);
  int m_nMRUWidth = 32767;
  UINT m_uMRUDockID = 0;
  CRect m_rectMRUDockPos = CRect(0, 0, 0, 0);
  CPoint m_ptMRUFloatPos = CPoint(0, 0);
  CXTPCommandBar *m_pBar = nullptr;
  BOOL m_bDialogBar = FALSE;
  CSize m_szDockingClient = CSize(200, 200);
  CSize m_szFloatingClient = CSize(200, 200);
};

class CXTPDockState {
public:
  // Records stored beyond this many are not read: a damaged count must not
  // make loading walk the registry for ever.
  static constexpr int kMaxStoredBars = 1024;

  CXTPDockState();
  CXTPDockState(const CXTPDockState &) = delete;
  CXTPDockState &operator=(const CXTPDockState &) = delete;

  void SaveState(LPCTSTR lpszProfileName) const;
  void LoadState(LPCTSTR lpszProfileName);
  void Clear() { m_arrBarInfo.clear(); }
  CXTPBarInfo *Add();
  int GetCount() const { return static_cast<int>(m_arrBarInfo.size()); }
  CXTPBarInfo *GetAt(int nIndex) const { return m_arrBarInfo[static_cast<size_t>(nIndex)].get(); }

  // The stored screen size and the present one; the limits of a restored point.
  void SetScreenSizes(CSize szStored, CSize szCurrent);
  // A stored point or rectangle in the present screen: scaled when the
  // screen size changed, and never so far right or down that the bar cannot
  // be grabbed.
  void ScalePoint(CPoint &point) const;
  void ScaleRectPos(CRect &rect) const;
  // A floating bar's screen point that no monitor holds any longer (a
  // monitor unplugged since) comes into the nearest work area.
  static void BringOntoMonitor(CPoint &point);

  BOOL m_bScaleNeeded = FALSE;
  CRect m_rectScreen;
  CSize m_sizeStoredScreen = CSize(0, 0);
  CRect m_rectClip;

private:
  std::vector<std::unique_ptr<CXTPBarInfo>> m_arrBarInfo;
};
