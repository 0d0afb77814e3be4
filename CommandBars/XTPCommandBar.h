// CXTPCommandBar: the base window of every command bar (menu bar, toolbar,
// popup bar): the hot control and the one whose popup is open, the tracking
// mode in which the bar owns the keyboard and the mouse, keyboard navigation
// and mnemonics, mouse routing to the controls, hover and expand timers,
// locked and delayed redraw, command-state updates, drawing through the paint
// manager and the customise drop marker.
//
// A bar is counted by references: its own handlers may release the last one
// (a command that destroys the bar), so the window procedure holds one for
// the length of each message and the handlers check the window before they
// touch it again.
#pragma once

#include "Framework.h"

#include "XTPControls.h"
#include "XTPHookManager.h"
#include "XTPMouseManager.h"

#include <memory>
#include <set>
#include <vector>

class CXTPCommandBars;
class CXTPCommandBarAccessible;
class CXTPPaintManager;
class CXTPImageManager;
class CXTPCommandBarList;
class CXTPCustomizeDragTool;
class CXTPToolTipContext;
struct CXTPCommandBarsExchangeParam;

enum XTPBarType {
  xtpBarTypeMenuBar = 0,
  xtpBarTypeNormal = 1,
  xtpBarTypePopup = 2,
};

enum XTPBarPosition {
  xtpBarTop = 0,
  xtpBarBottom = 1,
  xtpBarLeft = 2,
  xtpBarRight = 3,
  xtpBarFloating = 4,
  xtpBarPopup = 5,
  xtpBarListBox = 6, // a list under its control (a combo box's)
  xtpBarNone = 7,    // not placed yet
};

class CXTPControlPopup;

// What OnNavigate does.
enum XTPNavigate {
  xtpNavigateNext = 0,
  xtpNavigatePrev = 1,
  xtpNavigateClosePopup = 2,
  xtpNavigateOpenPopup = 3,
  xtpNavigateLeave = 4,
  xtpNavigateExecute = 5,
  xtpNavigateFirst = 6,
  xtpNavigateLast = 7,
};

class CXTPCommandBar : public CWnd, public CXTPHookClient, public CXTPMouseTrackedBar {
  DECLARE_SERIAL(CXTPCommandBar)
public:
  // The hover timer of the selected control and the delayed expansion of an
  // open popup.
  static constexpr UINT_PTR kHoverTimerId = 0x1B65F;
  static constexpr UINT_PTR kExpandTimerId = 0x1B660;
  // Sent to the owner site when a menu bar starts tracking (wParam: the bar).
  static constexpr UINT kMsgMenuBarTracking = 0x534;
  // Sent to the owner site after a status text (wParam: the control or 0).
  static constexpr UINT kMsgStatusControl = 0x531;

  CXTPCommandBar();
  ~CXTPCommandBar() override;

  XTPBarType GetType() const { return m_barType; }
  XTPBarPosition GetPosition() const { return m_barPosition; }
  // Puts the bar on a side or floats it; the base has nowhere to put it.
  virtual BOOL SetPosition(XTPBarPosition /*position*/) { return FALSE; }
  // Only notes where the bar stands, for code that has just moved it there
  // itself (a dock bar taking it, a bar made floating) or lays it out where
  // nothing docks it.
  void StorePosition(XTPBarPosition position) { m_barPosition = position; }
  BOOL IsVerticalPosition() const { return m_barPosition == xtpBarLeft || m_barPosition == xtpBarRight; }
  BOOL IsPopupBar() const { return m_barType == xtpBarTypePopup; }

  CXTPControls *GetControls() const { return m_pControls; }
  CXTPCommandBars *GetCommandBars() const { return m_pCommandBars; }
  // The command bars' site when it is a frame, else null.
  CFrameWnd *GetSiteFrame() const;
  void SetCommandBars(CXTPCommandBars *pCommandBars);

  // Own, else the command bars', else the global one.
  CXTPPaintManager *GetPaintManager() const;
  void SetPaintManager(CXTPPaintManager *pPaintManager);
  // The bar's own images, before its owner's; the bar keeps the reference.
  void SetImageManager(CXTPImageManager *pImageManager);
  CXTPImageManager *GetImageManager() const;

  // The icon size: the bar's own, else the options' (large when asked), else 16 x 16.
  virtual CSize GetIconSize() const;
  void SetIconSize(CSize size) { m_szIcons = size; }
  // The button size: the bar's own, else the icon size plus 7 each way.
  virtual CSize GetButtonSize() const;
  void SetButtonSize(CSize size) { m_szButtons = size; }

  // Captions below the icons: 0 no, 1 yes, 2 (the start) as the options say.
  static constexpr int kTextBelowFollowOptions = 2;
  BOOL IsTextBelowIcons() const;
  void SetTextBelowIcons(int nTextBelow) { m_nTextBelow = nTextBelow; }
  int GetTextBelowIconsWord() const { return m_nTextBelow; }
  int GetMRUWidth() const { return m_nMRUWidth; }
  void SetMRUWidth(int nWidth) { m_nMRUWidth = nWidth; }
  virtual BOOL IsDialogBar() const { return FALSE; }
  BOOL IsLayoutRTL() const;
  CString GetTitle() const { return m_strTitle; }
  void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle; }
  DWORD GetFlags() const { return m_dwFlags; }
  void SetFlags(DWORD dwFlags) { m_dwFlags = dwFlags; }
  // The bar's own style word (0x400000 the gripper): dwAdd set, then dwRemove cleared.
  DWORD GetBarStyle() const { return m_dwStyle; }
  void ModifyBarStyle(DWORD dwRemove, DWORD dwAdd) { m_dwStyle = (m_dwStyle | dwAdd) & ~dwRemove; }
  int GetBarID() const { return m_nBarID; }
  void SetBarID(int nID) { m_nBarID = nID; }
  BOOL IsCustomizeMode() const;
  // The client rectangle: the window's, or for a bar without a window (one
  // laid out and drawn off screen) the size it was given.
  CRect GetBarClientRect() const;
  void SetBarClientSize(CSize size) { m_szNoWindowClient = size; }

  // --- Operations derived bars replace -------------------------------------
  // Resets selected and popuped and lays out at the next idle update.
  virtual void OnControlsChanged();
  virtual void DelayLayout() { m_bDelayLayout = TRUE; }
  virtual void DelayRedraw() { m_bDelayRedraw = TRUE; }
  // 0 off, 1 tracking, 2 tracking with an open popup; TRUE when it changed.
  virtual BOOL SetTrackingMode(int nMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE);
  virtual BOOL SetSelected(int nSelected, BOOL bKeyboard = FALSE);
  // Shows the bar as the popup of a control; the base has nothing to show.
  virtual BOOL Popup(CXTPControlPopup * /*pControlPopup*/, BOOL /*bSelectFirst*/ = FALSE) { return FALSE; }
  virtual void SetVisible(BOOL /*bVisible*/) {}
  virtual BOOL IsVisible() const { return FALSE; }
  virtual BOOL IsCustomizable() const { return m_bCustomizable; }
  void SetCustomizable(BOOL bCustomizable) { m_bCustomizable = bCustomizable; }
  // Performs the pending layout.
  virtual void OnRecalcLayout() {}
  // The bar that holds the control which opened this one.
  virtual CXTPCommandBar *GetParentCommandBar() const { return nullptr; }
  // A key while the bar tracks; TRUE when it was used.
  virtual BOOL OnKeyDown(UINT nChar);
  virtual CSize CalcDynamicLayout(int /*nLength*/, DWORD /*dwMode*/) { return CSize(0, 0); }
  // One of XTPNavigate.
  virtual void OnNavigate(int nCode);
  virtual void DrawCommandBar(CDC *pDC, CRect rcClipBox);
  virtual void Copy(CXTPCommandBar *pCommandBar, BOOL bRecursive = FALSE);
  // Whether a client point lies in the bar.
  virtual BOOL IsInside(CPoint point) const;
  virtual void OnIdleUpdateCmdUI(BOOL bDisableIfNoHandler);
  virtual CXTPCommandBar *Clone(BOOL bRecursive = FALSE);
  virtual void Redraw();

  // --- The saved tree of bars and controls ---------------------------------
  // The bar's keys and its controls; loading attaches the bar to the command
  // bars named in the exchange's parameters.
  virtual void DoPropExchange(CXTPPropExchange *pPX);
  // Adds the bar, and the popup bars its controls open, to the list of bars
  // to store; popup bars get ids from nNextID on.
  virtual void BuildStoreList(UINT &nNextID, CXTPCommandBarList *pList,
                              const CXTPCommandBarsExchangeParam &param);
  // Gives the loaded popup controls their bars from the list. pLinked holds
  // the bars already taken (a bar opens from one popup only) and nDepth how
  // deep the walk is: a damaged archive cannot build a loop or a chain
  // deeper than the menus follow.
  virtual void RelinkLoadedPopups(CXTPCommandBarList *pList, std::set<CXTPCommandBar *> &linked,
                                  int nDepth = 0);

  // --- Selection and tracking ----------------------------------------------
  int GetSelectedIndex() const { return m_nSelected; }
  CXTPControl *GetSelected() const;
  BOOL IsSelectedByKeyboard() const { return m_bKeyboardSelected; }
  // TRUE when a popup was opened.
  BOOL SetPopuped(int nPopuped, BOOL bKeyboard = FALSE);
  int GetPopupedIndex() const { return m_nPopuped; }
  int GetTrackingMode() const { return m_nTrackingMode; }
  BOOL IsTrackingMode() const { return m_nTrackingMode != 0; }
  BOOL IsTrackingStartedByMouse() const { return m_bTrackingByMouse; }
  void ClearSelection() { SetSelected(-1, FALSE); }
  void CancelTracking() { SetTrackingMode(0, TRUE, FALSE); }
  CXTPControl *GetControl(int nIndex) const;
  int GetControlCount() const { return m_pControls ? m_pControls->GetCount() : 0; }
  // The mnemonic search from the selected control: the "&" match, else the
  // first-letter match, else -1. bAmbiguous says another control matches too.
  int FindAccel(TCHAR chAccel, BOOL &bAmbiguous) const;
  // Builds the controls from a menu; FALSE for a handle that is not a menu.
  BOOL LoadMenu(CMenu *pMenu, BOOL bRemoveControls = TRUE);
  // Builds the bar from a toolbar resource (the bitmap of the same id gives
  // the pictures when asked for); the base has no such bar to build.
  virtual BOOL LoadToolBar(UINT /*nIDResource*/, BOOL /*bLoadBitmap*/ = TRUE) { return FALSE; }
  // A button per id, each offered to the site first; a 0 makes the next
  // button start a group.
  BOOL SetButtons(const UINT *pButtons, int nCount);
  // The ids of a toolbar resource (0 a separator), with the bitmap's cell
  // size; FALSE for a block that is not version 1 or is shorter than its count says.
  static BOOL ParseToolBarResource(const BYTE *pData, size_t cbData, std::vector<UINT> &ids, CSize &szBitmap);
  // Set by TrackPopupMenu: a release of the right button runs the control.
  BOOL IsTrackingRightButton() const { return m_bTrackRightButton; }
  void SetTrackRightButton(BOOL bRight) { m_bTrackRightButton = bRight; }
  BOOL IsNoNotify() const { return m_bNoNotify; }
  // Toolbars that may be closed and listed in the toolbars popup.
  BOOL IsCloseable() const { return m_bCloseable; }
  void SetCloseable(BOOL bCloseable) { m_bCloseable = bCloseable; }
  BOOL IsContextMenuPresent() const { return m_bContextMenuPresent; }
  void SetContextMenuPresent(BOOL bPresent) { m_bContextMenuPresent = bPresent; }
  void SetNoNotify(BOOL bNoNotify) { m_bNoNotify = bNoNotify; }
  // The window the focus goes back to when the bar stops taking the keys (a
  // box on the bar remembers it when it takes the focus itself).
  HWND GetFocusBefore() const { return m_hWndFocusBefore; }
  void SetFocusBefore(HWND hWnd) { m_hWndFocusBefore = hWnd; }

  // --- Redraw --------------------------------------------------------------
  void LockRedraw() { m_nLockRedraw++; }
  void UnlockRedraw();
  BOOL IsRedrawLocked() const { return m_nLockRedraw > 0; }
  void RedrawParents();

  // The control's description on the site's status bar (empty: the idle text).
  virtual void SetStatusText(CXTPControl *pControl, BOOL bShow);
  // Closes the popups tracked from this bar up to the root.
  void OnTrackLost() override;
  CXTPCommandBar *GetParentBar() const { return m_pParentBar; }
  void SetParentBar(CXTPCommandBar *pParent) { m_pParentBar = pParent; }
  CXTPCommandBar *GetRootParent() const;

  // Where the bar's commands go: the root's notify window, else the owner
  // window when set, else the site.
  HWND GetUpdateTarget() const;
  // The owner's site; without one the root's owner window, else the parent
  // frame, else the application's main window.
  HWND GetOwnerSite() const;
  void SetOwnerWindow(HWND hWnd) { m_hWndOwner = hWnd; }
  HWND GetOwnerWindow() const { return m_hWndOwner; }
  // The window a tracked popup reports its commands to (TrackPopupMenu's);
  // the owner window stays the one the popup belongs to.
  void SetNotifyWindow(HWND hWnd) { m_hWndNotify = hWnd; }
  HWND GetNotifyWindow() const { return m_hWndNotify; }

  // --- Customise drag over and drop ----------------------------------------
  // The index the drop lands at (-1 in an empty bar), whether before it, and
  // the marker's rectangle.
  int CalcDropPosition(CPoint point, BOOL &bBefore, CRect &rcMarker) const;
  void OnCustomizeDragOver(CXTPControl *pDataObject, CPoint point, DWORD &dwEffect);
  void OnCustomizeDrop(CXTPControl *pDataObject, DWORD &dwEffect, CPoint ptDrop, CPoint ptDrag);
  void OnCustomizeDragLeave();
  CRect GetDropMarker() const { return m_rcMarker; }
  BOOL IsDropMarkerVertical() const { return m_bVerticalMarker; }

  // The tooltip context the bar took when its window was made (the command
  // bars'; none for a popup unless the options show tips in popups).
  CXTPToolTipContext *GetToolTipContext() const { return m_pToolTipContext; }
  // The drag tool the bar registered with goes before the bar.
  void OnDragToolGone(CXTPCustomizeDragTool *pTool) {
    if (m_pRegisteredDragTool == pTool) m_pRegisteredDragTool = nullptr;
  }

  // What screen readers see of the bar (made on first use, lives with the bar).
  CXTPCommandBarAccessible *GetAccessible();

  // --- CXTPHookClient ------------------------------------------------------
  int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM &wParam, LPARAM &lParam, LRESULT &lResult) override;

  // --- CXTPMouseTrackedBar -------------------------------------------------
  HWND GetTrackedHwnd() const override { return GetSafeHwnd(); }
  int HitTestTrackedPoint(POINT ptScreen) override;
  BOOL IsTrustedWindowsEnabled() override { return FALSE; }
  void OnTrackingElsewhere() override;
  void OnTrackedMouseMove(UINT nFlags, POINT ptClient) override { OnMouseMove(nFlags, CPoint(ptClient)); }

  // --- Messages (popup bars and edit controls call OnMouseMove directly) ---
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnMouseLeave();

  // Set while a popup is tracked for its chosen command (TPM_RETURNCMD).
  UINT *m_pReturnCmd = nullptr;
  BOOL m_bDelayLayout = FALSE;
  BOOL m_bDelayRedraw = FALSE;
  int m_nRedrawCount = 0;

protected:
  void OnFinalRelease() override;
  void PostNcDestroy() override;
  INT_PTR OnToolHitTest(CPoint point, TTTOOLINFOW *pTI) const override;
  // Every message is shown to the tips of the bars first.
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *pResult) override;
  // Whether the window still exists: a handler that ran a control's command
  // asks before it touches the window again.
  BOOL IsWindowAlive() const { return m_hWnd != nullptr && ::IsWindow(m_hWnd); }
  BOOL IsHelpMode() const;
  // This bar for a hold of its own, or null while its last release runs (a
  // hold then would delete it a second time).
  CXTPCommandBar *HoldableThis() { return m_dwRef > 0 ? this : nullptr; }

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC *pDC);
  afx_msg LRESULT OnPrint(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnIdleUpdateCmdUIMessage(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnInitialUpdate(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
  afx_msg LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  // The bytes of a toolbar resource, from whichever module has it (a
  // language library carries no toolbars); null when there is none.
  static const BYTE *FindToolBarResource(UINT nIDResource, size_t &cbData);
  // What every bar loading a toolbar resource does with its bytes: the
  // buttons of its ids in place of the bar's controls and, when asked, their
  // pictures from the bitmap of the same id (a cell other than 16 wide gives
  // the bar its icon size). FALSE for a damaged block, which leaves no
  // controls, or when the pictures cannot be had.
  BOOL BuildFromToolBarData(UINT nIDResource, const BYTE *pData, size_t cbData, BOOL bLoadBitmap);
  // Runs the mouse-button routing for the control under a point; FALSE when
  // no control is there.
  BOOL RouteButton(UINT message, UINT nFlags, CPoint point);
  // A press with Alt held drags the control to another place or bar.
  BOOL IsAltDrag(const CXTPControl *pControl) const;
  void DrawDropMarker(CDC *pDC) const;
  // The store-list and relink walks over one control list.
  static void AddControlBarsToStoreList(CXTPControls *pControls, UINT &nNextID, CXTPCommandBarList *pList,
                                        const CXTPCommandBarsExchangeParam &param);
  static void RelinkControls(CXTPControls *pControls, CXTPCommandBarList *pList,
                             std::set<CXTPCommandBar *> &linked, int nDepth);
  void DrawCustomizeSelection(CDC *pDC) const;
  // Hides the controls limited to other documents' menus, or kept out of
  // the active one's, when the update target is a frame.
  void ApplyDocTemplateFilters(CWnd *pTarget);
  // Takes the command bars' tooltip context, or the window's own tips.
  void TakeToolTipContext();
  void ReleaseToolTipContext();
  void UnregisterFromDragTool();

  XTPBarType m_barType = xtpBarTypeNormal;
  XTPBarPosition m_barPosition = xtpBarNone;
  CXTPControls *m_pControls = nullptr;
  CXTPCommandBars *m_pCommandBars = nullptr;
  CXTPPaintManager *m_pPaintManager = nullptr;
  CXTPImageManager *m_pImageManager = nullptr;
  CSize m_szIcons = CSize(0, 0);
  CSize m_szButtons = CSize(0, 0);
  int m_nTextBelow = kTextBelowFollowOptions;
  int m_nMRUWidth = 32767;
  CString m_strTitle;
  DWORD m_dwFlags = 0;
  int m_nBarID = 0;
  int m_nSelected = -1;
  int m_nPopuped = -1;
  int m_nTrackingMode = 0;
  CXTPCommandBar *m_pParentBar = nullptr;
  HWND m_hWndOwner = nullptr;
  HWND m_hWndNotify = nullptr;
  CSize m_szNoWindowClient = CSize(0, 0);
  HWND m_hWndFocusBefore = nullptr;
  BOOL m_bCustomizable = TRUE;
  BOOL m_bTrackRightButton = FALSE;
  BOOL m_bNoNotify = FALSE;
  BOOL m_bCloseable = FALSE;
  BOOL m_bContextMenuPresent = TRUE;
  BOOL m_bKeyboardSelected = FALSE;
  BOOL m_bTrackingByMouse = FALSE;
  BOOL m_bHookedThread = FALSE;
  int m_nLockRedraw = 0;
  CRect m_rcMarker;
  BOOL m_bVerticalMarker = FALSE;
  DWORD m_dwStyle = 0;
  std::unique_ptr<CXTPCommandBarAccessible> m_pAccessible;
  CXTPToolTipContext *m_pToolTipContext = nullptr;
  CXTPCustomizeDragTool *m_pRegisteredDragTool = nullptr;
};
