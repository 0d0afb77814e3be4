// A command-bars frame that lives as a child of a gallery page: its menu
// entry 59392 becomes the list of its toolbars, and every command of the
// page is enabled, since nothing runs them.
#pragma once

#include "XTPFrameWnd.h"

class CGalleryBarsFrame : public CXTPFrameWnd {
public:
  // Makes a frame (this kind or another) a child window of the page at rc;
  // nullptr where its window could not be made.
  static CXTPFrameWnd *CreateInPage(CXTPFrameWnd *pFrame, CWnd *pParent, const CRect &rc);
  // An empty view for what the frame's dock bars leave; it goes with the frame.
  static void AddEmptyView(CWnd *pFrame);

  afx_msg LRESULT OnCreateControl(WPARAM, LPARAM lParam);
  afx_msg void OnUpdateAny(CCmdUI *pCmdUI) { pCmdUI->Enable(TRUE); }
  DECLARE_MESSAGE_MAP()
};
