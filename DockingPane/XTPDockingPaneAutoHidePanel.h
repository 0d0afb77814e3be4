// The auto-hide side of docking: CXTPDockingPaneAutoHidePanel, the thin
// strip along one side of the frame that shows a row of tabs per hidden
// tabbed container, and CXTPDockingPaneAutoHideWnd, the window a hidden pane
// slides out in over the frame's client area when its tab is pointed at or
// clicked. The slide-out window goes back by itself once the mouse has been
// away from it and from the panel for a while and the pane lacks the focus.
#pragma once

#include "FrameWnd.h"
#include "XTPDockingPaneBase.h"
#include "XTPTabManager.h"

#include <memory>
#include <vector>

class CXTPDockingPaneAutoHidePanel;
class CXTPDockingPaneAutoHideWnd;
class CXTPDockingPaneTabbedContainer;
class CXTPDockingPaneAutoHidePanelDropTarget;

// One row of tabs in a panel: the panes of one hidden container.
class CXTPDockingPaneAutoHideTabs : public CXTPTabManager {
public:
  CXTPDockingPaneAutoHideTabs(CXTPDockingPaneAutoHidePanel *pPanel,
                              CXTPDockingPaneTabbedContainer *pContainer);

  void Reposition() override {}
  void RedrawControl() override;
  CXTPTabPaintManager *GetPaintManager() const override;
  BOOL DrawIcon(CDC *pDC, CPoint pt, CXTPTabManagerItem *pItem, BOOL bDraw, CSize &szIcon) const override;
  XTPTabPosition GetPosition() const override;

  CRect m_rcRow; // in the panel's client coordinates
  CXTPDockingPaneTabbedContainer *GetContainer() const { return m_pContainer; }

private:
  CXTPDockingPaneAutoHidePanel *m_pPanel;
  CXTPDockingPaneTabbedContainer *m_pContainer;
};

class CXTPDockingPaneAutoHidePanel : public CWnd, public CXTPDockingPaneBase {
  friend class CXTPDockingPaneAutoHideWnd;

public:
  explicit CXTPDockingPaneAutoHidePanel(CXTPDockingPaneLayout *pLayout);
  ~CXTPDockingPaneAutoHidePanel() override;

  // Takes the panel's strip off rect (the rest of the frame's client area).
  virtual void OnLayout(CWnd *pParent, CRect &rect, AFX_SIZEPARENTPARAMS *pLayout);
  virtual void _InsertPane(CXTPDockingPaneBase *pContainer);
  virtual BOOL Create(CWnd *pParent);

  // Slides the pane out; FALSE when refused or the window could not be made.
  BOOL ShowPane(CXTPDockingPane *pPane, BOOL bSetFocus);
  void CloseActiveWindow(BOOL bDelayed = FALSE);
  CXTPDockingPane *HitTest(CPoint pt) const;
  int GetPanelSize() const;

  XTPDockingPaneDirection GetDirection() const { return m_direction; }
  void SetDirection(XTPDockingPaneDirection direction) { m_direction = direction; }
  CXTPDockingPaneAutoHideWnd *GetActiveWnd() const { return m_pActiveWnd; }
  const std::vector<CXTPDockingPaneTabbedContainer *> &GetContainers() const { return m_lstContainers; }
  const std::vector<std::unique_ptr<CXTPDockingPaneAutoHideTabs>> &GetTabRows() const { return m_arrTabs; }
  CRect GetPanelRect() const { return m_rcPanel; }

  CXTPDockingPaneBase *Clone(CXTPDockingPaneLayout *pLayout, CPaneMap *pMap, DWORD dwIgnoredOptions) override;
  void RemovePane(CXTPDockingPaneBase *pPane) override;
  BOOL IsEmpty() const override;
  BOOL ContainsPane(CXTPDockingPaneBase *pPane) const override;
  void FindPane(XTPDockingPaneType type, CXTPDockingPaneBaseList *pList) const override;
  void InvalidatePane(BOOL bSelectionChanged) override;
  void OnChildContainerChanged(CXTPDockingPaneBase *pContainer) override;
  BOOL DoPropExchange(CXTPPropExchange *pPX) override;
  HWND GetPaneHwnd() const override { return m_hWnd; }

  // Closes any slide-out window at once without telling the site; the
  // layout does this before it deletes the containers a window points at.
  void DestroyActiveWindow();

  // What the program starts with; one value for every slide-out window.
  static double m_dAnimationDelay;
  static int m_nAnimationInterval;
  static int m_nAnimationDuration;
  static BOOL m_bCloseActiveWindow;
  static DWORD m_dwMouseTime;
  static int m_nCheckInterval;

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PostNcDestroy() override {} // the layout owns the object
  // The panel's frame is the active window; a pointed-at tab slides out only then.
  virtual BOOL IsSiteActive() const;

private:
  void RepositionTabs();
  void OnPaint();
  void OnMouseMove(CPoint pt);
  void OnMouseHover(CPoint pt);
  void OnLButtonDown(CPoint pt);
  void OnRButtonDown(CPoint pt);
  CRect GetClientRectSafe() const;
  BOOL HasWindow() const { return m_hWnd != nullptr && ::IsWindow(m_hWnd); }

  CXTPDockingPaneAutoHideWnd *m_pActiveWnd = nullptr;
  XTPDockingPaneDirection m_direction = xtpPaneDockLeft;
  std::vector<CXTPDockingPaneTabbedContainer *> m_lstContainers;
  std::vector<std::unique_ptr<CXTPDockingPaneAutoHideTabs>> m_arrTabs;
  // Slide-out windows that still point at this panel (a delayed close
  // outlives the panel's notion of its active window).
  std::vector<CXTPDockingPaneAutoHideWnd *> m_lstWindows;
  CXTPDockingPaneAutoHidePanelDropTarget *m_pDropTarget = nullptr;
  BOOL m_bDropTargetRegistered = FALSE;
  CRect m_rcPanel;

  friend class CXTPDockingPaneAutoHidePanelDropTarget;
};

// The window a hidden pane slides out in: a child of the site over its
// client area, holding the hidden tabbed container while it is out.
class CXTPDockingPaneAutoHideWnd : public CFrameWnd {
  friend class CXTPDockingPaneAutoHidePanel;

public:
  // Makes the window for pContainer's selected pane; null when the window
  // could not be made (the site is left as it was, redrawing on).
  static CXTPDockingPaneAutoHideWnd *Create(CXTPDockingPaneAutoHidePanel *pPanel,
                                            CXTPDockingPaneTabbedContainer *pContainer);
  ~CXTPDockingPaneAutoHideWnd() override;

  static BOOL IsAutoHideWnd(const CWnd *pWnd) {
    return dynamic_cast<const CXTPDockingPaneAutoHideWnd *>(pWnd) != nullptr;
  }

  void RecalcLayout(BOOL bNotify = TRUE) override;
  void GetMinMaxInfo(LPMINMAXINFO pMinMaxInfo, BOOL bIncludeSplitter) const;
  // The screen rectangle the dragged edge may move in; FALSE when it cannot move.
  BOOL GetAvailableRect(CRect &rcAvail) const;
  void ApplySize(CRect rcBand);
  void SetPosition();
  void Close();

  CXTPDockingPaneTabbedContainer *GetContainer() const { return m_pContainer; }
  CXTPDockingPaneAutoHidePanel *GetPanel() const { return m_pPanel; }
  CRect GetFinalRect() const { return m_rcFinal; }
  int GetStep() const { return m_nStep; }
  int GetStepsCount() const { return m_nStepsCount; }
  BOOL IsCollapsing() const { return m_bCollapsing; }
  int GetIdleCounter() const { return m_nIdleCounter; }

  enum { kTimerCheck = 1, kTimerSlideOut = 2, kTimerSlideIn = 3, kTimerClose = 4 };
  // The band of the window's inner edge that resizes the pane.
  static const int kSplitterSize = 4;

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PostNcDestroy() override;

private:
  CXTPDockingPaneAutoHideWnd(CXTPDockingPaneAutoHidePanel *pPanel,
                             CXTPDockingPaneTabbedContainer *pContainer);
  BOOL CreateSlideWindow();
  void OnTimer(UINT_PTR nIDEvent);
  void OnIdleCheck();
  void OnPaint();
  void OnLButtonDown(CPoint pt);
  void ResizeLive(CPoint pt, const CRect &rcAvail);
  BOOL IsHoriz() const { return m_bHoriz; }
  BOOL CursorInWindowOrPanel() const;
  CXTPDockingPaneManager *GetManager() const;
  void DetachFromPanel();

  CXTPDockingPaneTabbedContainer *m_pContainer;
  CXTPDockingPaneAutoHidePanel *m_pPanel;
  XTPDockingPaneDirection m_direction;
  BOOL m_bHoriz; // the window comes from the top or the bottom
  int m_nStep = 0;
  int m_nStepsCount = 1;
  BOOL m_bCollapsing = FALSE;
  CRect m_rcFinal;
  int m_nIdleCounter = 0;
  BOOL m_bResizing = FALSE;
};
