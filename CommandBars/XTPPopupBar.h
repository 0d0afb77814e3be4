// CXTPPopupBar: the bar of a drop-down menu, a submenu or a context menu. A
// top-most window that never takes the activation, placed against the control
// that opened it (or a point) on the work area of that control's monitor. It
// can hide rarely used commands behind an expand item, scrolls when it is
// taller than the work area, and shadows itself.
#pragma once

#include <vector>

#include "XTPCommandBar.h"
#include "XTPControlButton.h"

class CXTPControlPopup;
class CXTPToolBar;

// Messages a popup sends to its owner window: about to appear, closed (LPARAM
// the bar).
#define XTP_TBN_POPUPSHOWING 0x533
#define XTP_TBN_POPUPCLOSED 0x535

// The expand item at the bottom of a shortened menu.
#define XTP_ID_POPUPBAR_EXPAND 9402

// Placement flags.
enum XTPPopupFlags {
  xtpPopupLeft = 1, // opens towards the left: its right edge at the reference
  xtpPopupDown = 2, // drops down from a horizontal bar
};

// The timer that makes the tear-off band hot under a resting mouse.
#define XTP_TID_TEAROFF_HOT 5003

class CXTPPopupBar : public CXTPCommandBar {
  DECLARE_SERIAL(CXTPPopupBar)
public:
  CXTPPopupBar();
  ~CXTPPopupBar() override;
  static CXTPPopupBar *CreatePopupBar(CXTPCommandBars *pCommandBars);
  // The buttons (and pictures) of a toolbar resource, as a palette holds
  // them; a popup keeps neither the resource's id nor the buttons as an
  // original set, which only the program's toolbars are reset to.
  BOOL LoadToolBar(UINT nIDResource, BOOL bLoadBitmap = TRUE) override;
  // The popup control that opens this bar, or null.
  CXTPControl *GetControlPopup() const { return m_pControlPopup; }
  void SetControlPopup(CXTPControl *pControl) { m_pControlPopup = pControl; }

  // Opens at a point, keeping clear of the exclude rectangle (screen) when given.
  BOOL Popup(int x, int y, LPCRECT lpExclude);
  // Opens for the control (null: at the stored point).
  BOOL Popup(CXTPControlPopup *pControl, BOOL bSelectFirst = FALSE) override;
  BOOL SetTrackingMode(int nMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE) override;
  BOOL SetSelected(int nSelected, BOOL bKeyboard = FALSE) override;
  void DelayRedraw() override { Redraw(); }
  void OnControlsChanged() override;
  BOOL DestroyWindow() override;
  BOOL IsVisible() const override;
  BOOL OnKeyDown(UINT nChar) override;
  void OnRecalcLayout() override { OnControlsChanged(); }
  CXTPCommandBar *GetParentCommandBar() const override;
  // The bar's part, and how it tears off, shadows itself and borders a
  // toolbar layout.
  void Copy(CXTPCommandBar *pCommandBar, BOOL bRecursive = FALSE) override;
  void DoPropExchange(CXTPPropExchange *pPX) override;

  // A menu lays its rows out top-down; a popup of toolbar type lays its
  // controls out in rows within its borders.
  CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
  virtual void UpdateFlags();
  virtual void UpdateShortcuts();
  void DrawCommandBar(CDC *pDC, CRect rcClipBox) override;
  // Shows the rarely used commands too; later menus open whole until the
  // tracking ends.
  void ExpandMenu();
  // Id (or index) of the first visible control marked default, -1 without.
  int GetDefaultItem(BOOL bByPosition) const;
  // The animation kind the popup plays (2 unfold, 3 slide, 4 fade, 5 none).
  int GetAnimationType() const;
  // The work area the popup is kept on: the exclude rectangle's monitor, or
  // the monitor under the cursor.
  virtual CRect GetWorkArea() const;

  BOOL HasHiddenCommands() const { return m_bHasHidden; }
  BOOL IsExpanded() const { return m_bExpanded; }
  int GetPopupFlags() const { return m_nPopupFlags; }
  CRect GetExcludeRect() const { return m_rcExclude; }
  CPoint GetPopupPoint() const { return m_ptPopup; }
  BOOL GetShowShadow() const { return m_bShowShadow; }
  void SetShowShadow(BOOL bShow) { m_bShowShadow = bShow; }
  BOOL IsTearOffPopup() const { return m_bTearOffPopup; }
  void SetTearOffPopup(LPCTSTR lpszCaption, int nId, int nWidth = 400);
  CString GetTearOffCaption() const { return m_strTearOffCaption; }
  int GetTearOffId() const { return m_nTearOffId; }
  int GetTearOffWidth() const { return m_nTearOffWidth; }
  // The band along the top that is dragged to tear the menu off (client).
  CRect GetTearOffGripperRect() const { return m_rcTearOffGripper; }
  BOOL IsTearOffHot() const { return m_bTearOffHot; }
  BOOL IsTearingOff() const { return m_bTearing; }
  // The toolbar shown while the drag is outside the band, or null.
  CXTPToolBar *GetTornBar() const { return m_pTornBar; }
  CRect GetBorders() const { return m_rcBorders; }
  void SetBorders(const CRect &rcBorders) { m_rcBorders = rcBorders; }

  // Placement flags a caller asks for before popping the bar up at a point
  // (TrackPopupMenu's alignment); a bar opened by a control works its own out.
  void SetPopupFlags(int nFlags) { m_nPopupFlags = m_nAskedFlags = nFlags; }
  // A nested popup is tracked from inside another one and leaves the popups
  // already open alone.
  BOOL IsNested() const { return m_bNested; }
  void SetNested(BOOL bNested) { m_bNested = bNested; }

  // --- Scrolling ---------------------------------------------------------
  BOOL IsScrolling() const { return m_scroll.bActive; }
  int GetFirstVisible() const { return m_scroll.nFirst; }
  int GetEndVisible() const { return m_scroll.nEnd; }
  CRect GetScrollUpRect() const { return m_scroll.rcUp; }
  CRect GetScrollDownRect() const { return m_scroll.rcDown; }
  // One step of the scroll buttons' timers.
  void ScrollDown();
  void ScrollUp();

  // --- Geometry that needs no window --------------------------------------
  struct Placement {
    CRect rcWindow;
    int nFlags;
    BOOL bNeedScroll;
  };
  // Where a popup of size sz goes on the work area: against the exclude
  // rectangle when it has one, else at the point.
  static Placement PlacePopup(const CRect &rcWork, const CRect &rcExclude, CPoint pt, CSize sz, int nFlags);

  struct ScrollItem {
    int nHeight;
    BOOL bBeginGroup;
    BOOL bVisible; // not hidden by anything but the scrolling
  };
  struct ScrollResult {
    std::vector<int> tops; // top of each item; -1 scrolled out or not visible
    int nFirst;
    int nEnd;
    CRect rcUp;
    CRect rcDown;
  };
  // Lays items out in the area (the client less the borders), from the
  // first index downwards or from the end index upwards; arrows of 16 pixels
  // take the top and bottom where items are scrolled out there.
  static ScrollResult ScrollItems(const std::vector<ScrollItem> &items, int nFirst, int nEnd,
                                  BOOL bFromBottom, const CRect &rcArea, int nSeparator);

  // The widest a menu row may be: a share of the work area's right edge.
  static int GetMaxRowWidth(const CRect &rcWork);
  static double m_dMaxWidthDivisor;

  int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM &wParam, LPARAM &lParam, LRESULT &lResult) override;

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // The drag that tears the menu off, from a press on the band to the release.
  virtual void TrackTearOff();
  // Shows the menu while the drag is inside the band, the torn bar at the
  // cursor (screen) while it is outside.
  virtual void ShowTornBar(BOOL bInside, int x, int y);
  // The toolbar a tear-off shows: the command bars' bar of the tear-off id,
  // or a new floating one holding a copy of the menu's rows.
  virtual CXTPToolBar *CreateTornBar();
  void OnTearOffMouseMove(CPoint pt);
  // Left or Right that leave the menu: TRUE when taken.
  BOOL MoveSideways(UINT nChar);
  // Closes the open menu of the tracking menu bar and opens its neighbour
  // (1 next, -1 previous, wrapping); TRUE when the root is such a bar.
  static BOOL MoveToNeighbourMenu(CXTPCommandBar *pRoot, int nDirection);
  void OnTearOffTimer();
  // Nested popups tracked after this bar: they take the keys while they
  // track, and close with it.
  std::vector<CXTPPopupBar *> GetNestedPopupsAfter() const;
  BOOL CreatePopupWindow();
  void AdjustPosition(CSize sz);
  CSize CalcToolBarLayout();
  void HideRarelyUsed();
  void ScrollLayout(BOOL bFromBottom, BOOL bRedraw);
  void OnScrollMouseMove(CPoint pt);
  void OnScrollTimer(UINT_PTR nId);
  void Animate();
  void SetShadow();
  CSize MeasureSeparator();

  CXTPControl *m_pControlPopup = nullptr;
  CPoint m_ptPopup = CPoint(0, 0);
  CRect m_rcExclude = CRect(0, 0, 0, 0);
  int m_nPopupFlags = 0;
  int m_nAskedFlags = 0; // what the caller asked for a popup at a point
  BOOL m_bInLayout = FALSE;
  BOOL m_bHasHidden = FALSE;
  BOOL m_bExpanded = FALSE;
  BOOL m_bAnimateExpanding = FALSE;
  BOOL m_bTearOffPopup = FALSE;
  CRect m_rcTearOffGripper = CRect(0, 0, 0, 0);
  BOOL m_bTearOffHot = FALSE;
  CString m_strTearOffCaption;
  int m_nTearOffId = 0;
  int m_nTearOffWidth = 0;
  UINT_PTR m_nTearOffTimer = 0;
  BOOL m_bTearing = FALSE;
  CSize m_szTornBar = CSize(0, 0);
  CXTPToolBar *m_pTornBar = nullptr;
  BOOL m_bShowShadow = TRUE;
  CRect m_rcBorders = CRect(2, 4, 2, 4);
  BOOL m_bNested = FALSE;

  struct ScrollInfo {
    BOOL bActive = FALSE;
    int nFirst = 0;
    int nEnd = 0;
    CRect rcUp = CRect(0, 0, 0, 0);
    CRect rcDown = CRect(0, 0, 0, 0);
    UINT_PTR nTimer = 0; // 5001 down, 5002 up, 0 stopped
  } m_scroll;
};

// A popup laid out as a toolbar: a palette of buttons in rows, such as the
// buttons a toolbar has no room for.
class CXTPPopupToolBar : public CXTPPopupBar {
  DECLARE_SERIAL(CXTPPopupToolBar)
public:
  CXTPPopupToolBar();
  static CXTPPopupToolBar *CreatePopupToolBar(CXTPCommandBars *pCommandBars);
  CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
  CXTPCommandBar *Clone(BOOL bRecursive = FALSE) override;
};

// The expand item of a shortened menu: executing it (or resting the mouse on
// it) shows the whole menu.
class CXTPPopupBarExpandButton : public CXTPControlButton {
public:
  CXTPPopupBarExpandButton();
  CSize GetSize(CDC *pDC) override;
  void Draw(CDC *pDC) override;
  void OnExecute() override;
  void OnMouseHover() override;
};
