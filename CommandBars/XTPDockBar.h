// CXTPDockBar: a child window of the frame along one side of its client area
// that holds toolbars in rows. The frame's layout pass sizes it through
// WM_SIZEPARENT; it then places its rows (XTPDockBarLayout) and moves the
// bars with deferred positioning.
//
// The entry list is typed (bars, nulls closing the rows), so a null is the
// only entry that is not a bar. The dock bar keeps where each of its bars
// wants to stand, which the row layout starts it at; a bar's drag context
// remembers only where a double click takes it back to.
#pragma once
#include <map>
#include <vector>

#include "Framework.h"
#include "XTPDockBarLayout.h"

class CXTPCommandBar;
class CXTPCommandBars;

// Window style bits that give the side.
constexpr DWORD kDockStyleTop = 0x2800;
constexpr DWORD kDockStyleBottom = 0x8200;
constexpr DWORD kDockStyleLeft = 0x1400;
constexpr DWORD kDockStyleRight = 0x4100;

// Ids of the four dock bars.
constexpr UINT kDockBarIdTop = 59419;
constexpr UINT kDockBarIdLeft = 59420;
constexpr UINT kDockBarIdRight = 59421;
constexpr UINT kDockBarIdBottom = 59422;

class CXTPDockBar : public CWnd {
  DECLARE_DYNAMIC(CXTPDockBar)

public:
  explicit CXTPDockBar(CXTPCommandBars *pCommandBars);
  ~CXTPDockBar() override;

  // pParentWnd must be a frame.
  BOOL Create(CWnd *pParentWnd, DWORD dwStyle, UINT nID);

  // 0 top, 1 bottom, 2 left, 3 right.
  int GetPosition() const;
  BOOL IsHorizontal() const { return GetPosition() < 2; }
  DWORD GetDockStyle() const { return m_dwDockStyle; }

  // Docks a bar at a screen rectangle (its centre picks the row) or, without
  // one, in a new last row.
  void DockCommandBar(CXTPCommandBar *pBar, LPCRECT lpRect = nullptr);
  // Removes the bar's entry other than nKeep.
  void RemoveCommandBar(CXTPCommandBar *pBar, int nKeep = -1);
  int FindBar(const CXTPCommandBar *pBar, int nExclude = -1) const;
  // The visible normal bars of the row holding entry nIndex, along the row.
  void GetVisibleToolbars(int nIndex, std::vector<CXTPCommandBar *> &bars) const;
  // Places every row; through the handle when the params carry one.
  CSize CalcDynamicLayout(int nLength, DWORD dwMode, AFX_SIZEPARENTPARAMS *lpLayout);

  const std::vector<CXTPCommandBar *> &GetEntries() const { return m_entries; }
  // The rows a saved layout lists (nulls end rows) take the place of the
  // bars' present places; bars of this dock bar it does not list follow.
  void LoadEntries(const std::vector<CXTPCommandBar *> &entries);
  // Where a bar of this dock bar wants to stand (client coordinates): the
  // row layout starts it there.
  void SetBarPlace(const CXTPCommandBar *pBar, const CRect &rc);
  // The dock bar that holds the bar's window, or null.
  static CXTPDockBar *FromBar(const CXTPCommandBar *pBar);

protected:
  BOOL PreCreateWindow(CREATESTRUCT &cs) override;
  afx_msg LRESULT OnSizeParent(WPARAM, LPARAM lParam);
  afx_msg void OnPaint();
  afx_msg LRESULT OnPrint(WPARAM wParam, LPARAM lParam);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

private:
  DWORD GetDockFlags(BOOL bHorizontal, const CXTPCommandBar *pBar) const;
  void FixFullRowBars();
  void RecalcParentLayout();

  DWORD m_dwDockStyle = 0;
  std::vector<CXTPCommandBar *> m_entries{nullptr};
  std::map<const CXTPCommandBar *, CRect> m_dockRects;
  CXTPCommandBars *m_pCommandBars = nullptr;
};
