// CXTPTabClientWnd: the MDI client of a frame shown as tabbed document
// groups. Every MDI child gets a tab; the tabs gather in workspaces (tab
// groups) that share the client side by side or one above the other, with a
// splitter between two of them that the user drags. The group commands move
// the active document to the previous or next group or open a new one.
#pragma once

#include "FrameworkCore.h"
#include "Wnd.h"

#include <vector>

#include "XTPResource.h"
#include "XTPTabManager.h"
#include "XTPTabPaintManager.h"

class CMDIFrameWnd;
class CXTPTabClientWnd;
class CXTPCommandBars;
class CCmdUI;

// How MoveItem places the item.
enum XTPTabClientMoveMode {
  xtpTabClientMoveToGroup = 2,
  xtpTabClientNewHorizontalGroup = 3,
  xtpTabClientNewVerticalGroup = 4,
};

// One tab group: its tab strip, the splitter after it and its share of the
// client's length along the groups.
class CXTPTabClientWorkspace : public CXTPTabManager {
public:
  explicit CXTPTabClientWorkspace(CXTPTabClientWnd *pClient) : m_pClient(pClient) {}

  CXTPTabPaintManager *GetPaintManager() const override;
  void Reposition() override;
  void RedrawControl() override;
  BOOL DrawIcon(CDC *pDC, CPoint pt, CXTPTabManagerItem *pItem, BOOL bDraw, CSize &szIcon) const override;
  CString GetItemCaption(const CXTPTabManagerItem *pItem) const override;
  // Choosing a tab activates its document.
  void OnItemClick(CXTPTabManagerItem *pItem) override;

  CXTPTabManagerItem *FindItemByWindow(HWND hWnd) const;
  CXTPTabClientWnd *GetClient() const { return m_pClient; }

  double m_dWeight = 1;
  CRect m_rcSplitter;

private:
  CXTPTabClientWnd *m_pClient;
};

class CXTPTabClientWnd : public CWnd {
public:
  CXTPTabClientWnd();
  ~CXTPTabClientWnd() override;

  // Subclasses the frame's MDI client and gives its children tabs.
  BOOL Attach(CMDIFrameWnd *pFrame);
  void Detach();
  BOOL IsAttached() const { return m_bAttached; }

  int GetWorkspaceCount() const { return static_cast<int>(m_arrWorkspaces.size()); }
  CXTPTabClientWorkspace *GetWorkspace(int nIndex) const;
  int FindIndex(const CXTPTabManager *pWorkspace) const;
  CXTPTabManagerItem *FindItem(HWND hWnd) const;
  HWND GetActiveChild() const;
  CMDIFrameWnd *GetFrame() const { return m_pFrame; }
  CXTPTabPaintManager *GetPaintManager() const { return &m_paintManager; }

  BOOL IsHorizontalGroups() const { return m_bHorizontalGroups; }
  int GetSplitterSize() const { return m_nSplitterSize; }

  // The group commands: whether one can run (the active item's workspace
  // out), and running it.
  BOOL CanRunGroupCommand(UINT nID, CXTPTabClientWorkspace **ppWorkspace = nullptr) const;
  void OnGroupCommand(UINT nID);
  // Enables the command interface's item; FALSE for ids not ours.
  BOOL OnUpdateGroupCommand(CCmdUI *pCmdUI) const;
  // Frames route their commands here first (group commands and their updates).
  BOOL OnCmdMsg(UINT nID, int nCode, void *pExtra, AFX_CMDHANDLERINFO *pHandlerInfo) override;

  void MoveItem(CXTPTabManagerItem *pItem, CXTPTabClientWorkspace *pTarget, int nMode);
  void Refresh(BOOL bRecalcFrame = FALSE);
  // Matches the tabs to the MDI children and places groups and children.
  virtual void RecalcLayout();
  // The command bars that lay out the frame, for Refresh; null by default.
  virtual CXTPCommandBars *GetCommandBars() const { return nullptr; }

  // --- Weights ---------------------------------------------------------
  // After a splitter moved to nSplitterPos inside a band (start, length):
  // the two groups' new weights. A band of no length (a collapsed client)
  // leaves them as they are; a weight is never below 0.
  static void ReweightSplitter(double &dFirst, double &dSecond, int nSplitterPos, int nBandStart,
                               int nBandLength, int nSplitterSize, BOOL bMirrored);
  // A group of weight dOld split in two: the new group's weight out, the
  // old one's in place (never below 0).
  static double SplitWeight(double &dOld, int nSplitterSize);
  // Lengths of groups of these weights sharing nLength with splitters between.
  static std::vector<int> ShareLength(const std::vector<double> &arrWeights, int nLength, int nSplitterSize);

  // The splitter drag's message source (tests feed it).
  typedef BOOL (*GetMessageFunction)(MSG *pMsg);
  static void SetGetMessageFunction(GetMessageFunction pfn) { s_pfnGetMessage = pfn; }
  // Drags the splitter after workspace nIndex from a client point.
  void TrackSplitter(int nIndex, CPoint point);

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  virtual CXTPTabClientWorkspace *AddWorkspace(int nIndex);

private:
  void SyncItems();
  void RemoveEmptyWorkspaces();
  void ResetWeightsToLengths();
  void PlaceChildren();
  void OnPaint();
  BOOL OnButtonDown(CPoint point);
  int SplitterHit(CPoint point) const;

  std::vector<CXTPTabClientWorkspace *> m_arrWorkspaces;
  CXTPTabClientWorkspace *m_pActiveWorkspace = nullptr; // the active document's group at the last layout
  CMDIFrameWnd *m_pFrame = nullptr;
  BOOL m_bAttached = FALSE;
  BOOL m_bHorizontalGroups = FALSE;
  int m_nSplitterSize = 4;
  HCURSOR m_hCursorHoriz = nullptr;
  HCURSOR m_hCursorVert = nullptr;
  BOOL m_bRefreshing = FALSE;
  BOOL m_bDirty = FALSE;
  BOOL m_bLockActivate = FALSE;
  BOOL m_bLockLayout = FALSE;
  BOOL m_bInLayout = FALSE;
  mutable CXTPTabPaintManager m_paintManager;
  static GetMessageFunction s_pfnGetMessage;
};
