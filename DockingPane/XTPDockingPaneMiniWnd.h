// CXTPDockingPaneMiniWnd: the small top-level frame in which panes float
// outside the main frame. It holds one splitter container with tabbed
// containers in it, is dragged as a whole by its caption, docks its panes
// back on a caption double-click and hides (never closes itself) when its
// last pane goes. The layout owns it; its window is only shown or hidden.
// When the manager asks for themed floating frames, the paint manager draws
// its frame and caption with Close, Auto Hide and Menu buttons, and Auto Hide
// rolls the frame up to its caption while the mouse and the focus are away.
#pragma once
#include "MiniFrameWnd.h"
#include "XTPDockingPaneBase.h"

class CXTPDockingPane;
class CXTPDockingPaneSplitterContainer;

class CXTPDockingPaneMiniWnd : public CMiniFrameWnd, public CXTPDockingPaneBase {
public:
  explicit CXTPDockingPaneMiniWnd(CXTPDockingPaneLayout *pLayout);
  ~CXTPDockingPaneMiniWnd() override;

  static BOOL IsMiniWnd(const CWnd *pWnd) {
    return dynamic_cast<const CXTPDockingPaneMiniWnd *>(pWnd) != nullptr;
  }

  // Creates the window at rc (moved onto the work area when it lies off it)
  // around pPane (a pane, a tabbed container or a splitter container).
  BOOL Create(CXTPDockingPaneBase *pPane, CRect rc);
  // Creates the window of a frame whose tree is already in place (a loaded layout).
  BOOL CreateWindowAt(CRect rc);

  void RecalcLayout(BOOL bNotify = TRUE) override;
  CXTPDockingPaneSplitterContainer *GetTopPane() const { return m_pTopContainer; }
  CXTPDockingPane *GetSelectedPane() const;
  BOOL IsCloseEnabled() const { return m_bCloseEnabled; }

  // The pane base.
  void OnChildContainerChanged(CXTPDockingPaneBase *pContainer) override;
  void InvalidatePane(BOOL bSelectionChanged) override;
  void RemovePane(CXTPDockingPaneBase *pPane) override;
  BOOL IsEmpty() const override;
  BOOL ContainsPane(CXTPDockingPaneBase *pPane) const override;
  void FindPane(XTPDockingPaneType type, CXTPDockingPaneBaseList *pList) const override;
  BOOL IsCaptionButtonVisible(CXTPDockingPaneCaptionButton *pButton) override;
  BOOL DoPropExchange(CXTPPropExchange *pPX) override;
  CXTPDockingPaneBase *Clone(CXTPDockingPaneLayout *pLayout, CPaneMap *pMap, DWORD dwIgnoredOptions) override;
  HWND GetPaneHwnd() const override { return m_hWnd; }
  // Makes pTop the frame's root and lays the frame out, at once or, with
  // bDelayLayout, at the next idle time.
  void SetTopContainer(CXTPDockingPaneSplitterContainer *pTop, BOOL bDelayLayout = FALSE);
  void RedrawPane() override;

  // The themed caption.
  BOOL IsThemed() const;
  BOOL IsActive() const { return m_bActive; }
  // Follows the manager's themed-floating-frames setting.
  void RecalcFrameStyle();
  void OnCaptionButtonClick(CXTPDockingPaneCaptionButton *pButton);
  BOOL OnCaptionButtonDown(CXTPDockingPaneCaptionButton *pButton);
  // Over a button of the themed caption (point in client coordinates, so
  // negative above the client area): the button's id, its string-table text.
  INT_PTR OnToolHitTest(CPoint point, TTTOOLINFOW *pTI) const override;

  // Rolling up (themed captions only).
  BOOL IsCollapsed() const { return m_bCollapsed; }
  BOOL IsAnimating() const { return m_bAnimating; }
  BOOL IsRolledUp() const { return m_nStepCurrent < 1; }
  int GetExpandedHeight() const { return m_nExpandedHeight; }
  void SetCollapsed(BOOL bCollapsed);
  void Expand();
  // Takes pSource's collapsed mode and expanded height for a window not made
  // yet, and answers the rectangle to make it at: a collapsed frame starts
  // rolled up to its caption. Without a themed caption there is no rolling
  // up, so the frame gets its whole height back.
  CRect TakeRollUpState(const CXTPDockingPaneMiniWnd *pSource);

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PostNcDestroy() override {} // the layout owns the object

private:
  void OnClose();
  void UpdateSystemMenu();
  BOOL OnThemedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &lResult);
  void OnNcPaint();
  void OnNcCalcSize(LPARAM lParam);
  void OnNcLButtonDown(CPoint ptScreen);
  BOOL OnNcRButtonDown(CPoint ptScreen);
  void OnNcMouseMove(CPoint ptScreen);
  void OnTimer(UINT_PTR nID);
  void RelayToolTipMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnGetMinMaxInfo(MINMAXINFO *pInfo);
  void OnIdleUpdate();
  CPoint ToWindow(CPoint ptScreen) const;
  CXTPDockingPaneCaptionButton *HitTestCaptionButton(CPoint ptWindow) const;
  int RolledUpHeight() const;

  CXTPDockingPaneSplitterContainer *m_pTopContainer = nullptr;
  BOOL m_bCloseEnabled = FALSE;
  int m_nExpandedHeight = 0;
  int m_nStepsCount = 8;
  int m_nStepCurrent = 0;
  int m_nCollapseCount = 0;
  BOOL m_bCollapsed = FALSE;
  BOOL m_bAnimating = FALSE;
  BOOL m_bActive = FALSE;
};
