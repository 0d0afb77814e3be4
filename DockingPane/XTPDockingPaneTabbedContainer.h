// CXTPDockingPaneTabbedContainer: the window that shows one or more panes in
// the same place: a caption with the selected pane's title and buttons, a
// tab strip when it holds more than one pane, and the selected pane's window
// in the rest. It is its own tab manager.
#pragma once

#include "Wnd.h"
#include "XTPDockingPaneBase.h"
#include "XTPTabManager.h"

#include <vector>

class CXTPDockingPaneTabbedContainerDropTarget;

class CXTPDockingPaneTabbedContainer : public CWnd, public CXTPDockingPaneBase, public CXTPTabManager {
  DECLARE_DYNAMIC(CXTPDockingPaneTabbedContainer)

public:
  explicit CXTPDockingPaneTabbedContainer(CXTPDockingPaneLayout *pLayout);
  ~CXTPDockingPaneTabbedContainer() override;

  virtual void SelectPane(CXTPDockingPane *pPane, BOOL bSetFocus = TRUE, BOOL bDelayRedraw = TRUE);
  virtual BOOL IsTabsVisible() const;
  // On the caption band or the tab band of rc: a drop there joins the tabs.
  virtual BOOL IsTabDropArea(const CRect &rc, CPoint pt) const;
  virtual void OnCaptionButtonClick(CXTPDockingPaneCaptionButton *pButton);
  virtual void Copy(CXTPDockingPaneTabbedContainer *pClone, CPaneMap *pMap, DWORD dwIgnoredOptions);
  virtual void UpdateTabs();

  BOOL ContainsPane(CXTPDockingPaneBase *pPane) const override;
  void FindPane(XTPDockingPaneType type, CXTPDockingPaneBaseList *pList) const override;
  void GetMinMaxInfo(LPMINMAXINFO pMinMaxInfo) const override;
  void OnSizeParent(CWnd *pParent, CRect rect, LPVOID lParam) override;
  void OnFocusChanged() override;
  void SetDockingSite(CWnd *pFrame) override;
  void InvalidatePane(BOOL bSelectionChanged) override;
  void OnParentContainerChanged(CXTPDockingPaneBase *pContainer) override;
  BOOL DoPropExchange(CXTPPropExchange *pPX) override;
  CXTPDockingPaneBase *Clone(CXTPDockingPaneLayout *pLayout, CPaneMap *pMap, DWORD dwIgnoredOptions) override;
  void RemovePane(CXTPDockingPaneBase *pPane) override;
  BOOL IsEmpty() const override { return m_lstPanes.empty(); }
  BOOL IsCaptionButtonVisible(CXTPDockingPaneCaptionButton *pButton) override;
  HWND GetPaneHwnd() const override { return m_hWnd; }
  BOOL IsAutoHidden() const override;

  void Reposition() override;
  void RedrawControl() override;
  CXTPTabPaintManager *GetPaintManager() const override;
  BOOL DrawIcon(CDC *pDC, CPoint pt, CXTPTabManagerItem *pItem, BOOL bDraw, CSize &szIcon) const override;

  void Init(CXTPDockingPane *pPane, CWnd *pFrame);
  void _InsertPane(CXTPDockingPane *pPane);
  CXTPDockingPane *GetPane(int nIndex) const;
  CXTPDockingPane *GetSelected() const { return m_pSelectedPane; }
  const std::vector<CXTPDockingPane *> &GetPanes() const { return m_lstPanes; }
  void GetTitle(CString &strTitle) const;
  void ShowTitle(BOOL bShow);
  BOOL IsTitleVisible() const;
  BOOL IsActive() const { return m_bActive; }
  BOOL IsMaximized() const { return m_bMaximized; }
  // References held on the drop target (the container's own and the
  // system's while the window is registered).
  ULONG GetDropTargetRefCount() const;
  // -2 on the caption, -1 on nothing, else the tab's index.
  int HitTest(CPoint pt) const;
  void SwapPanes(CXTPDockingPane *pFirst, CXTPDockingPane *pSecond);
  void Maximize();
  void Restore();
  BOOL CanMaximize() const;
  void ShowSelected();
  // The docking paint manager of the owning manager.
  CXTPDockingPanePaintManager *GetDockingPaintManager() const {
    return CXTPDockingPaneBase::GetPaintManager();
  }

  // Over a caption button its text; over a tab the tab's tip.
  INT_PTR OnToolHitTest(CPoint point, TTTOOLINFOW *pTI) const override;

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PostNcDestroy() override {}

private:
  BOOL CreateContainerWindow();
  void OnPaint();
  void OnLButtonDown(CPoint pt);
  void OnRButtonDown(CPoint pt);
  void OnMouseMove(CPoint pt);
  void OnLButtonDblClk(CPoint pt);
  void GiveFocus();
  void SizePanes(const CRect &rcClient);
  // The window still exists: after WM_DESTROY the object lives on until the
  // layout deletes it, and every window call checks this first.
  BOOL HasWindow() const { return m_hWnd != nullptr && ::IsWindow(m_hWnd); }

  BOOL m_bMaximized = FALSE;
  BOOL m_bActive = FALSE;
  BOOL m_bTitleVisible = TRUE;
  int m_nLockReposition = 0;
  CXTPDockingPane *m_pSelectedPane = nullptr;
  CXTPDockingPane *m_pTrackingPane = nullptr;
  std::vector<CRect> m_lstRects;
  std::vector<CXTPDockingPane *> m_lstPanes;
  CXTPDockingPaneTabbedContainerDropTarget *m_pDropTarget = nullptr;
  BOOL m_bDropTargetRegistered = FALSE;
};
