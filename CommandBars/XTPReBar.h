// CXTPReBar: a standard rebar control whose bands hold command-bar toolbars,
// for a frame that wants its toolbars in bands rather than in the dock bars.
// A frame that makes one as its child 59396 gets every toolbar the command
// bars add as a band of it.
#pragma once

#include "ControlBar.h"

#include <commctrl.h>

class CXTPToolBar;

constexpr UINT kReBarId = 59396;

class CXTPReBar : public CControlBar {
  DECLARE_DYNAMIC(CXTPReBar)
public:
  CXTPReBar() = default;

  // The rebar control along the top of the frame.
  BOOL Create(CWnd *pParentWnd, DWORD dwCtrlStyle = RBS_BANDBORDERS | RBS_VARHEIGHT,
              DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CBRS_TOP,
              UINT nID = kReBarId);

  // The toolbar leaves its dock bar and becomes the child of a new last band
  // whose id is the bar's id.
  BOOL AddToolBar(CXTPToolBar *pToolBar, DWORD dwBandStyle = RBBS_BREAK | RBBS_GRIPPERALWAYS);
  void DeleteToolBar(CXTPToolBar *pToolBar);
  CXTPToolBar *GetToolBar(int nBand) const;
  int FindBand(const CXTPToolBar *pToolBar) const;
  int GetBandCount() const;
  // The bands' toolbars update themselves.
  void OnUpdateCmdUI(CFrameWnd * /*pTarget*/, BOOL /*bDisableIfNoHandler*/) override {}

protected:
  afx_msg void OnPaint();
  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  // Reflected from the frame: a band's child was sized (RBN_CHILDSIZE).
  afx_msg void OnChildSize(NMHDR *pNMHDR, LRESULT *pResult);
  // The frame follows a change of the control's height.
  afx_msg void OnHeightChange(NMHDR *pNMHDR, LRESULT *pResult);
  DECLARE_MESSAGE_MAP()
};
