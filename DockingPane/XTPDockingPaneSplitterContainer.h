// CXTPDockingPaneSplitterContainer: lays its children side by side
// (horizontal) or stacked, shares the length among them within their limits
// and puts a splitter bar window between each two visible neighbours. It has
// no window of its own.
#pragma once

#include "XTPDockingPaneBase.h"

#include <memory>
#include <utility>
#include <vector>

class CXTPDockingPaneSplitterContainer;

// The length arithmetic of a splitter, free of windows.
namespace XTPSplitterLayout {

struct Child {
  int nDockingLength = 0; // the docking size along the axis
  int nMin = 0;           // tracking limits along the axis
  int nMax = 32000;
  BOOL bHoldsClient = FALSE;     // the child holds the client placeholder
  BOOL bZeroDockingSize = FALSE; // its docking size is 0 by 0
  int nLength = 0;               // out: positive a share, negative a fixed length
};

struct Totals {
  long long nTotal = 0;
  int nAvailable = 0;
  int nFiller = -1; // the child that takes what the others leave, or -1
};

// Gives every child its working length for a rectangle nRectLength long with
// bars nSplitter thick between them. bHideClient: the client area counts as
// empty, so only a child with no docking size takes the rest.
Totals Distribute(std::vector<Child> &arrChildren, int nRectLength, int nSplitter, BOOL bHideClient);

// Start and end of every child along the axis, after Distribute; the last one
// ends at nEnd. No child starts before nStart or ends after nEnd, and none is
// ever inverted.
std::vector<std::pair<int, int>> Place(const std::vector<Child> &arrChildren, const Totals &totals,
                                       int nStart, int nEnd, int nSplitter);

// Where a bar's near edge may go when the two children beside it span
// nUnionStart..nUnionEnd.
struct Limits {
  int nNear;
  int nFar;
};
Limits DragLimits(int nUnionStart, int nUnionEnd, int nMinBefore, int nMaxBefore, int nMinAfter,
                  int nMaxAfter, int nMinPaneLength, int nSplitter);

// The docking lengths of the children before and after a bar moved to
// nBarNear (bRTL: a horizontal bar in a right-to-left window).
std::pair<int, int> ApplyMove(int nBarNear, int nUnionStart, int nUnionExtent, int nLengthBefore,
                              int nLengthAfter, int nSplitter, BOOL bRTL);

} // namespace XTPSplitterLayout

class CXTPDockingPaneSplitterWnd : public CWnd {
public:
  CXTPDockingPaneSplitterWnd() = default;
  BOOL Create(CXTPDockingPaneSplitterContainer *pContainer, CXTPDockingPaneBase *pFirst,
              CXTPDockingPaneBase *pSecond);
  CXTPDockingPaneSplitterContainer *GetContainer() const { return m_pContainer; }
  CXTPDockingPaneBase *GetPaneBefore() const { return m_pFirst; }
  CXTPDockingPaneBase *GetPaneAfter() const { return m_pSecond; }
  BOOL IsHorizontal() const;

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  void OnLButtonDown(CPoint pt);
  // The children's docking lengths for the bar's near edge at nBarNear.
  void Move(int nBarNear, const CRect &rcUnion);

  CXTPDockingPaneSplitterContainer *m_pContainer = nullptr;
  CXTPDockingPaneBase *m_pFirst = nullptr;
  CXTPDockingPaneBase *m_pSecond = nullptr;
  HCURSOR m_hCursor = nullptr;
};

class CXTPDockingPaneSplitterContainer : public CXTPDockingPaneBase {
public:
  explicit CXTPDockingPaneSplitterContainer(CXTPDockingPaneLayout *pLayout);
  ~CXTPDockingPaneSplitterContainer() override;

  void Init(CXTPDockingPaneBase *pPane, BOOL bHoriz, CWnd *pFrame);
  void _InsertPane(CXTPDockingPaneBase *pPane, CXTPDockingPaneBase *pNeighbour = nullptr, BOOL bAfter = TRUE);
  void _Replace(CXTPDockingPaneBase *pOld, CXTPDockingPaneBase *pNew);

  void RemovePane(CXTPDockingPaneBase *pPane) override;
  void OnChildContainerChanged(CXTPDockingPaneBase *pContainer) override;
  void OnParentContainerChanged(CXTPDockingPaneBase *pContainer) override;
  BOOL ContainsPane(CXTPDockingPaneBase *pPane) const override;
  void FindPane(XTPDockingPaneType type, CXTPDockingPaneBaseList *pList) const override;
  BOOL IsEmpty() const override;
  CXTPDockingPaneBase *Clone(CXTPDockingPaneLayout *pLayout, CPaneMap *pMap, DWORD dwIgnoredOptions) override;
  void GetMinMaxInfo(LPMINMAXINFO pMinMaxInfo) const override;
  void OnSizeParent(CWnd *pParent, CRect rect, LPVOID lParam) override;
  BOOL DoPropExchange(CXTPPropExchange *pPX) override;
  virtual CXTPDockingPaneSplitterWnd *CreateSplitter() { return new CXTPDockingPaneSplitterWnd; }

  // The screen rectangle pPane would get inserted beside pNeighbour here
  // (after it for directions right and bottom); nothing changes.
  void CalcPaneRect(CRect &rc, CXTPDockingPaneBase *pPane, XTPDockingPaneDirection direction,
                    CXTPDockingPaneBase *pNeighbour) const;
  // The same beside an object that is in no splitter yet: the two share the
  // object's screen rectangle, side by side for left and right.
  static void CalcPaneRectBeside(CRect &rc, CXTPDockingPaneBase *pObject, CXTPDockingPaneBase *pPane,
                                 XTPDockingPaneDirection direction);
  void GetPanesByType(XTPDockingPaneType type, CXTPDockingPaneBaseList *pList) const;
  BOOL IsChildBefore(CXTPDockingPaneBase *pChild, CXTPDockingPaneBase *pPosition) const;
  BOOL IsHoriz() const { return m_bHoriz; }
  void SetHoriz(BOOL bHoriz) { m_bHoriz = bHoriz; }
  const CXTPDockingPaneBaseList &GetPanes() const { return m_lstPanes; }
  int GetSplitterCount() const { return static_cast<int>(m_lstSpliters.size()); }
  CXTPDockingPaneSplitterWnd *GetSplitter(int i) const { return m_lstSpliters[i].get(); }
  int GetSplitterSize() const;
  // Rebuilds the bars between the visible children.
  void RecreateSplitters();

private:
  static std::vector<XTPSplitterLayout::Child> MeasureChildren(const CXTPDockingPaneBaseList &lst,
                                                               BOOL bHoriz, CXTPDockingPaneBase *pClient);
  // Where pTarget of the list lies when the list shares rcScreen.
  static CRect PreviewRect(const CXTPDockingPaneBaseList &lst, BOOL bHoriz, const CRect &rcScreen,
                           CXTPDockingPaneBase *pTarget, CXTPDockingPaneManager *pManager);
  void NotifyInserted(CXTPDockingPaneBase *pPane);

  CXTPDockingPaneBaseList m_lstPanes;
  std::vector<std::unique_ptr<CXTPDockingPaneSplitterWnd>> m_lstSpliters;
  BOOL m_bHoriz = FALSE;
  BOOL m_bRecalcLayout = FALSE;
};
