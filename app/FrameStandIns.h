// The main window's furniture: the toolkit's status bar, and on the class
// library's own bars until the command bars and the docking pane join the
// program, a classic menu and tool bar and a fixed pane along the bottom
// holding the log view. The frame talks to its
// furniture only through this class, so replacing it leaves the frame's
// logic as it is.
#pragma once

#include "AppSettings.h"
#include "Framework.h"
#include "XTPStatusBar.h"

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

class CFrameStandIns {
public:
  CFrameStandIns() = default;
  CFrameStandIns(const CFrameStandIns &) = delete;
  CFrameStandIns &operator=(const CFrameStandIns &) = delete;

  // Status bar with its four panes, tool bar and the log pane; FALSE after a
  // debug trace naming what failed.
  BOOL Create(CFrameWnd *frame);

  CStatusBar &StatusBar() { return m_statusBar; }
  CSimpleListView *LogView() const { return m_logPane.GetLogView(); }

  // Settings the toolkit will honour; the classic bars show what they can.
  void ApplyTheme(ThemeSetting) {}
  void ApplyTooltipStyle(TooltipStyle) {}
  void ApplyToolbarSize(ToolbarSize size);
  ToolbarSize CurrentToolbarSize() const { return m_toolbarSize; }

private:
  CFrameWnd *m_frame = nullptr;
  CXTPStatusBar m_statusBar;
  CToolBar m_toolBar;
  CLogPaneBar m_logPane;
  ToolbarSize m_toolbarSize = ToolbarSize::Small;
};
