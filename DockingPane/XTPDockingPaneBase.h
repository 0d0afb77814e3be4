// CXTPDockingPaneBase: what every object of a docking layout offers (panes,
// tabbed and splitter containers, the client placeholder), and the caption
// buttons that the paint manager draws in captions.
//
// The layout that lists an object owns it; parent containers, sites and the
// layout itself are only pointed at.
#pragma once

#include "FrameworkCore.h"
#include "Wnd.h"
#include "XTPResource.h"

#include <memory>
#include <vector>

class CXTPDockingPaneLayout;
class CXTPDockingPaneManager;
class CXTPDockingPanePaintManager;
class CXTPDockingPaneBase;
class CXTPDockingPane;
class CXTPPropExchange;

// The message a docking manager and its panes send their site (wParam:
// XTPDockingPaneNotify).
#define WM_DOCKINGPANE_NOTIFY 0x89E6

enum XTPDockingPaneNotify {
  XTP_DPN_SHOWWINDOW = 1,  // lParam: the pane about to be shown
  XTP_DPN_RCLICK = 2,      // lParam: the object right-clicked
  XTP_DPN_CLOSEPANE = 3,   // lParam: the pane; answer -1 keeps it
  XTP_DPN_ACTION = 4,      // lParam: XTP_DOCKINGPANE_ACTION*
  XTP_DPN_CONTEXTMENU = 5, // lParam: XTP_DOCKINGPANE_CLICK*
};

enum XTPDockingPaneType {
  xtpPaneTypeDockingPane = 0,
  xtpPaneTypeTabbedContainer = 1,
  xtpPaneTypeSplitterContainer = 2,
  xtpPaneTypeMiniWnd = 3,
  xtpPaneTypeClient = 4,
  xtpPaneTypeAutoHidePanel = 5,
};

enum XTPDockingPaneDirection {
  xtpPaneDockLeft = 0,
  xtpPaneDockRight = 1,
  xtpPaneDockTop = 2,
  xtpPaneDockBottom = 3,
};

enum XTPDockingPaneOptions {
  xtpPaneNoCloseable = 1,
  xtpPaneNoHideable = 2,
  xtpPaneNoFloatable = 4,
  xtpPaneNoCaption = 8,
  xtpPaneHasMenuButton = 16,
};

enum XTPDockingPaneAction {
  xtpPaneActionFloating = 0,
  xtpPaneActionFloated = 1,
  xtpPaneActionClosing = 2,
  xtpPaneActionClosed = 3,
  xtpPaneActionDocking = 4,
  xtpPaneActionDocked = 5,
  xtpPaneActionAttaching = 6,
  xtpPaneActionAttached = 7,
  xtpPaneActionPinning = 8,
  xtpPaneActionPinned = 9,
  xtpPaneActionCollapsing = 10,
  xtpPaneActionCollapsed = 11,
  xtpPaneActionExpanding = 12,
  xtpPaneActionExpanded = 13,
  xtpPaneActionActivated = 14,
  xtpPaneActionDeactivated = 15,
  xtpPaneActionDetaching = 16,
};

// The record of an action notice. Every field is pointer-sized, so the two
// pointers it carries survive on 64-bit systems and the site reads each
// field where the sender wrote it.
struct XTP_DOCKINGPANE_ACTION {
  INT_PTR action;
  INT_PTR bCancel; // the site sets it non-zero to refuse a "before" action
  CXTPDockingPane *pPane;
  CXTPDockingPaneBase *pDockContainer;
  INT_PTR dockDirection;
};

// The record of a context request.
struct XTP_DOCKINGPANE_CLICK {
  CXTPDockingPane *pPane;
  CPoint pt;
  CRect rcExclude;
};

// Caption buttons are known by the ids of their string-table texts (the
// tooltips): XTP_IDS_DOCKINGPANE_AUTOHIDE, _CLOSE, _MAXIMIZE, _RESTORE, _MENU.

class CXTPDockingPaneCaptionButton {
public:
  CXTPDockingPaneCaptionButton(int nID, CXTPDockingPaneBase *pOwner) : m_pOwner(pOwner), m_nID(nID) {}
  virtual ~CXTPDockingPaneCaptionButton() = default;
  CXTPDockingPaneCaptionButton(const CXTPDockingPaneCaptionButton &) = delete;
  CXTPDockingPaneCaptionButton &operator=(const CXTPDockingPaneCaptionButton &) = delete;

  virtual BOOL IsVisible();

  CRect GetRect() const { return m_rcButton; }
  int GetID() const { return m_nID; }
  BOOL IsPressed() const { return m_bPressed; }
  BOOL IsSelected() const { return m_bSelected; }
  DWORD GetState() const { return m_dwState; }
  void SetState(DWORD dwState) { m_dwState = dwState; }
  CXTPDockingPaneBase *GetPane() const { return m_pOwner; }
  void SetRect(const CRect &rc);
  void Redraw();
  // Follows the mouse (in the coordinates of the button rectangles); TRUE
  // when the button just became hot.
  BOOL CheckForMouseOver(CPoint pt);
  // Tracks a press that began on the button until the left button is
  // released (non-zero when released on it), Escape, a right click, a cancel
  // or a quit request (which goes back into the queue). bClient: the
  // coordinates are the window's client ones, else its window rectangle's.
  BOOL Click(CWnd *pWnd, CPoint pt, BOOL bClient = TRUE);
  // A press on the Menu button: drawn pressed while the manager's site is
  // asked for the pane's menu (WM_DOCKINGPANE_NOTIFY, XTP_DPN_CONTEXTMENU)
  // under the button's screen rectangle, drawn released after.
  void PressMenu(CXTPDockingPane *pPane, const CRect &rcScreen);

private:
  CRect m_rcButton;
  CXTPDockingPaneBase *m_pOwner;
  int m_nID;
  BOOL m_bPressed = FALSE;
  BOOL m_bSelected = FALSE;
  DWORD m_dwState = 0;
};

class CXTPDockingPaneCaptionButtons {
public:
  int GetSize() const { return static_cast<int>(m_arrButtons.size()); }
  CXTPDockingPaneCaptionButton *GetAt(int i) const { return m_arrButtons[i].get(); }
  void Add(CXTPDockingPaneCaptionButton *pButton) { m_arrButtons.emplace_back(pButton); }
  CXTPDockingPaneCaptionButton *FindButton(int nID) const;
  // TRUE when any button changed its hot state.
  BOOL CheckForMouseOver(CPoint pt);

private:
  std::vector<std::unique_ptr<CXTPDockingPaneCaptionButton>> m_arrButtons;
};

typedef std::vector<CXTPDockingPaneBase *> CXTPDockingPaneBaseList;

class CXTPDockingPaneBase {
  friend class CXTPDockingPaneLayout;

public:
  CXTPDockingPaneBase(XTPDockingPaneType type, CXTPDockingPaneLayout *pLayout);
  virtual ~CXTPDockingPaneBase();
  CXTPDockingPaneBase(const CXTPDockingPaneBase &) = delete;
  CXTPDockingPaneBase &operator=(const CXTPDockingPaneBase &) = delete;

  virtual void RedrawPane();
  virtual BOOL ContainsPane(CXTPDockingPaneBase *pPane) const { return pPane == this; }
  virtual void FindPane(XTPDockingPaneType type, CXTPDockingPaneBaseList *pList) const;
  virtual void GetMinMaxInfo(LPMINMAXINFO pMinMaxInfo) const;
  virtual void OnSizeParent(CWnd *pParent, CRect rect, LPVOID lParam);
  virtual void OnFocusChanged() {}
  virtual void SetDockingSite(CWnd *pFrame) { m_pDockingSite = pFrame; }
  virtual void SetParentContainer(CXTPDockingPaneBase *pContainer) { m_pParentContainer = pContainer; }
  virtual void OnChildContainerChanged(CXTPDockingPaneBase * /*pContainer*/) {}
  virtual void InvalidatePane(BOOL bSelectionChanged);
  virtual void OnParentContainerChanged(CXTPDockingPaneBase * /*pContainer*/) {}
  virtual BOOL DoPropExchange(CXTPPropExchange *pPX);
  // Old to new pairs of a copy, for callers that copy a whole tree.
  typedef std::vector<std::pair<CXTPDockingPaneBase *, CXTPDockingPaneBase *>> CPaneMap;
  virtual CXTPDockingPaneBase *Clone(CXTPDockingPaneLayout *pLayout, CPaneMap *pMap, DWORD dwIgnoredOptions);
  virtual void RemovePane(CXTPDockingPaneBase * /*pPane*/) {}
  virtual BOOL IsEmpty() const;
  virtual void OnCaptionButtonRectChanged(CXTPDockingPaneCaptionButton * /*pButton*/) {}
  virtual BOOL IsCaptionButtonVisible(CXTPDockingPaneCaptionButton * /*pButton*/) { return TRUE; }
  virtual HWND GetPaneHwnd() const { return nullptr; }
  virtual BOOL IsAutoHidden() const { return FALSE; }

  XTPDockingPaneType GetType() const { return m_type; }
  CXTPDockingPaneManager *GetDockingPaneManager() const;
  CXTPDockingPanePaintManager *GetPaintManager() const;
  CXTPDockingPaneLayout *GetLayout() const { return m_pLayout; }
  void GetWindowRect(LPRECT lpRect) const;
  CRect GetPaneWindowRect() const { return m_rcWindow; }
  CXTPDockingPaneBase *GetContainer() const { return m_pParentContainer; }
  CXTPDockingPaneBase *GetParentContainer() const { return m_pParentContainer; }
  CWnd *GetDockingSite() const { return m_pDockingSite; }
  CSize GetDockingSize() const { return m_szDocking; }
  void SetDockingSize(CSize sz) { m_szDocking = sz; }
  CXTPDockingPaneCaptionButtons *GetCaptionButtons() { return &m_arrCaptionButtons; }
  int GetLength() const { return m_nLength; }
  void SetLength(int nLength) { m_nLength = nLength; }
  int GetIndex() const { return m_nIndex; }

protected:
  // The frame that a sizing pass belongs to asks for a layout at idle time.
  void DelayRecalcSite() const;

  CSize m_szDocking{0, 0};
  CXTPDockingPaneLayout *m_pLayout;
  CXTPDockingPaneBase *m_pParentContainer = nullptr;
  CWnd *m_pDockingSite = nullptr;
  XTPDockingPaneType m_type;
  CRect m_rcWindow;
  CXTPDockingPaneCaptionButtons m_arrCaptionButtons;
  int m_nLength = 0;
  int m_nIndex = 0;
};
