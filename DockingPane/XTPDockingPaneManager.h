// CXTPDockingPaneManager: the one object through which a frame gets dockable
// panes. A hidden child window of its frame (the site), it owns the working
// layout, the paint manager of the current theme and the image manager;
// creates panes and docks them by direction, tells the site of every step
// with WM_DOCKINGPANE_NOTIFY, and takes its room in the frame's layout pass.
#pragma once

#include "Wnd.h"
#include "XTPDockingPaneBase.h"
#include "XTPDockingPaneLayout.h"

class CFrameWnd;
class CXTPImageManager;
class CXTPToolTipContext;
class CXTPDockingPanePaintManager;
class CXTPDockingPaneContext;
class CXTPDockingPaneMiniWnd;

class CXTPDockingPaneManager : public CWnd {
public:
  CXTPDockingPaneManager();
  ~CXTPDockingPaneManager() override;

  virtual CXTPDockingPaneLayout *CreateLayout();
  virtual CXTPDockingPaneBase *OnCreatePane(int type, CXTPDockingPaneLayout *pLayout);
  virtual void OnActivatePane(BOOL bActive, CXTPDockingPane *pPane);

  void InstallInFrame(CFrameWnd *pSite);
  void SetTheme(int nTheme);
  CXTPDockingPane *CreatePane(UINT nID, CRect rc, XTPDockingPaneDirection direction,
                              CXTPDockingPaneBase *pNeighbour = nullptr);
  void DockPane(CXTPDockingPaneBase *pPane, XTPDockingPaneDirection direction,
                CXTPDockingPaneBase *pNeighbour = nullptr);
  void DetachPane(CXTPDockingPaneBase *pPane);
  void AttachPane(CXTPDockingPaneBase *pPane, CXTPDockingPaneBase *pTarget);
  void ShowPane(CXTPDockingPane *pPane);
  void ShowPane(int nID) { ShowPane(FindPane(nID)); }
  LRESULT ClosePane(CXTPDockingPane *pPane);
  // Moves a pane (or its whole group) into the auto-hide panel of its side;
  // of a hidden one, sends its slide-out window back.
  void HidePane(CXTPDockingPaneBase *pPane);
  // Floats a pane or a tabbed container in a new floating frame at rc (screen).
  CXTPDockingPaneMiniWnd *FloatPane(CXTPDockingPaneBase *pPane, CRect rc);
  // Floats what is docked, docks what floats (back into its recorded holders).
  BOOL ToggleDocking(CXTPDockingPaneBase *pPane);
  BOOL TogglePaneDocking(CXTPDockingPane *pPane, CXTPDockingPaneBase *pHolder);
  // Makes a copy of pLayout (one of CreateLayout's, filled by loading) the
  // working layout: the docked tree is rebuilt, floating frames are made and
  // shown where they were saved, and each pane's window goes to the pane of
  // the same id. Panes pLayout lacks stay, closed. pLayout is not changed.
  // FALSE (and nothing changed) for a layout that is not whole.
  BOOL SetLayout(CXTPDockingPaneLayout *pLayout);
  CXTPDockingPaneContext *GetDragContext() const { return m_pDragContext; }
  CXTPDockingPane *FindPane(int nID) const;
  CXTPDockingPaneBase *GetPaneHolder(CXTPDockingPane *pPane, BOOL bFloating) const;
  void SyncPanesState();
  // The screen rectangle pPane would take docked in that direction beside
  // pNeighbour (none: the whole docked tree); the drag preview's.
  void GetDockingRect(CRect &rc, CXTPDockingPaneBase *pPane, XTPDockingPaneDirection direction,
                      CXTPDockingPaneBase *pNeighbour = nullptr) const;
  void RecalcFramesLayout();
  // The site's answer to an action notice: non-zero refuses it.
  INT_PTR NotifyOwner(XTPDockingPaneAction action, CXTPDockingPane *pPane,
                      CXTPDockingPaneBase *pDockContainer = nullptr,
                      XTPDockingPaneDirection direction = xtpPaneDockLeft);

  CXTPDockingPaneLayout *GetLayout() const { return m_pLayout; }
  CXTPDockingPaneInfoList *GetPaneList() const { return m_pLayout ? &m_pLayout->GetPaneList() : nullptr; }
  CXTPDockingPaneSplitterContainer *GetTopPane() const {
    return m_pLayout ? m_pLayout->GetTopContainer() : nullptr;
  }
  CXTPDockingPaneBase *GetClientPane() const { return m_pLayout ? m_pLayout->GetClientPane() : nullptr; }
  CFrameWnd *GetSite() const { return m_pSite; }
  CXTPDockingPanePaintManager *GetPaintManager() const { return m_pPaintManager; }
  CXTPImageManager *GetImageManager() const { return m_pImageManager; }
  CXTPToolTipContext *GetToolTipContext() const { return m_pToolTipContext; }
  CXTPDockingPane *GetActivePane() const { return m_pActivePane; }
  BOOL IsLayoutRTL() const;
  XTPDockingPaneDirection MirrorDirection(XTPDockingPaneDirection direction) const;
  void SetDefaultPaneOptions(DWORD dwOptions) { m_dwDefaultPaneOptions = dwOptions; }
  DWORD GetDefaultPaneOptions() const { return m_dwDefaultPaneOptions; }
  // Drags show translucent highlight windows in place of the outline (where
  // the system has layered windows), and with them the docking stickers.
  void SetAlphaDockingContext(BOOL bAlpha) { m_bAlphaDockingContext = bAlpha; }
  BOOL IsAlphaDockingContext() const { return m_bAlphaDockingContext; }
  void SetShowDockingContextStickers(BOOL bStickers) { m_bShowDockingContextStickers = bStickers; }
  BOOL IsShowDockingContextStickers() const { return m_bShowDockingContextStickers; }
  // OLE was set up by this manager (and so is to be taken down by it).
  BOOL IsOleInitialized() const { return m_bOleInitialized; }
  // A pane is being moved back into its recorded holder.
  BOOL IsAttaching() const { return m_bAttachingPane; }

  int m_nSplitterGap = 22; // the least length a moved splitter bar leaves a neighbour
  BOOL m_bCloseGroupOnButtonClick = FALSE;
  BOOL m_bHideGroupOnButtonClick = TRUE;
  BOOL m_bHideClient = FALSE;
  BOOL m_bSplitterTracker = TRUE;
  BOOL m_bShowMaximizeButton = FALSE;
  BOOL m_bLockSplitters = FALSE;
  // Floating frames draw their own caption through the paint manager, with
  // caption buttons and rolling up; RecalcFramesLayout applies a change.
  BOOL m_bThemedFloatingFrames = FALSE;
  // Floating frames made from now on keep their activation in step with the
  // site: activating one leaves the site's caption active.
  BOOL m_bSyncActiveFloatingFrames = TRUE;
  BOOL IsSyncingFloatingFrames() const { return m_bSyncActiveFloatingFrames; }
  // The title of a floating frame that holds more than one group of panes
  // (one group gives the frame its own title).
  void SetFloatingFrameCaption(LPCTSTR lpszCaption) { m_strFloatingFrameCaption = lpszCaption; }
  const CString &GetFloatingFrameCaption() const { return m_strFloatingFrameCaption; }

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  void DockPaneFree(CXTPDockingPaneBase *pPane, XTPDockingPaneDirection direction,
                    CXTPDockingPaneBase *pNeighbour);
  void RefreshColours();

  CFrameWnd *m_pSite = nullptr;
  CXTPDockingPaneLayout *m_pLayout = nullptr;
  CXTPDockingPanePaintManager *m_pPaintManager = nullptr;
  CXTPDockingPane *m_pActivePane = nullptr;
  CXTPImageManager *m_pImageManager = nullptr;
  CXTPToolTipContext *m_pToolTipContext = nullptr;
  CXTPDockingPaneContext *m_pDragContext = nullptr;
  DWORD m_dwDefaultPaneOptions = 0;
  BOOL m_bOleInitialized = FALSE;
  BOOL m_bAlphaDockingContext = FALSE;
  BOOL m_bShowDockingContextStickers = FALSE;
  BOOL m_bAttachingPane = FALSE;
  CString m_strFloatingFrameCaption;
};
