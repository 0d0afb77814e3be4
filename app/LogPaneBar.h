// The log along the bottom of the main window: a bar of fixed height on the
// class library's own control bar, until the docking pane takes the log.
#pragma once

#include "Framework.h"

class CSimpleListView;

// A bar of fixed height along the bottom of the frame that holds one view.
class CLogPaneBar : public CControlBar {
public:
  static constexpr int kHeight = 150;

  BOOL Create(CWnd *parent, UINT id);
  CSimpleListView *GetLogView() const { return m_logView; }

  CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
  void OnUpdateCmdUI(CFrameWnd *, BOOL) override {}
  afx_msg void OnSize(UINT nType, int cx, int cy);

private:
  // Owned by its window: a view deletes itself when its window goes.
  CSimpleListView *m_logView = nullptr;

  DECLARE_MESSAGE_MAP()
};
