// CXTPCommandBars owns every command bar of one frame (its site): the menu
// bar, the toolbars, the four dock bars along the frame's sides, the options,
// the sets of hidden and used commands, customise mode and, optionally, a
// paint and an image manager of its own. It creates, docks and floats the
// bars, routes the frame's keys and system messages to them and runs popup
// menus modally.
#pragma once

#include "FrameworkCore.h"
#include "CmdTarget.h"
#include "XTPToolBar.h"

#include <memory>
#include <set>
#include <vector>

class CXTPCommandBars;
class CXTPCommandBar;
class CXTPPopupBar;
class CXTPControl;
class CXTPPaintManager;
class CXTPImageManager;
class CArchive;
class CFile;
class CWnd;
class CXTPDockBar;
class CXTPMenuBar;
class CXTPToolBar;
class CXTPToolTipContext;
class CXTPDockState;
class CXTPCustomizeDragTool;
class CXTPPropExchange;
class CXTPCommandBarList;
struct CXTPCommandBarsExchangeParam;

enum XTPKeyboardCuesShow {
  xtpKeyboardCuesShowAlways = 0,
  xtpKeyboardCuesShowNever = 1,
  xtpKeyboardCuesShowWindowsDefault = 2,
};

class CXTPCommandBarsOptions : public CCmdTarget {
public:
  CXTPCommandBarsOptions();

  virtual void Serialize(CArchive &ar);
  // The options as a profile or an archive holds them; the user's options
  // (hidden and used commands) only with bUserOptions.
  void DoPropExchange(CXTPPropExchange *pPX, BOOL bUserOptions);

  // 0 always, 1 never, 2 as the system says (cues then follow Alt).
  void ShowKeyboardCues(int nShow);
  int GetShowKeyboardCues() const { return m_nShowKeyboardCues; }

  BOOL bAlwaysShowFullMenus = TRUE;
  BOOL bShowFullAfterDelay = TRUE;
  BOOL bToolBarScreenTips = TRUE;
  BOOL bToolBarAccelTips = FALSE;
  BOOL bLargeIcons = FALSE;
  BOOL bSyncFloatingBars = TRUE;
  BOOL bShowExpandButtonAlways = TRUE;
  BOOL bDblClickFloat = FALSE;
  BOOL bShowTextBelowIcons = FALSE;
  BOOL bAltDragCustomization = TRUE;
  BOOL bAutoHideUnusedPopups = TRUE;
  BOOL bDirtyState = FALSE; // customised
  BOOL bShowPopupBarToolTips = FALSE;
  int animationType = 0;
  int nReserved = 1;
  int keyboardCuesUse = 1; // mnemonic scope: 0 menu bar, 1 visible bars, 2 off
  CSize szIcons = CSize(0, 0);
  CSize szLargeIcons = CSize(0, 0);
  CSize szPopupIcons = CSize(16, 16);
  std::set<UINT> m_mapHiddenCommands;
  std::set<UINT> m_mapUsedCommands;
  CXTPCommandBars *m_pCommandBars = nullptr;

private:
  int m_nShowKeyboardCues = xtpKeyboardCuesShowAlways;
};

// The focus is in the edit window of a command-bar edit control, which takes
// the keys before the frame's accelerators.
BOOL XTPIsCommandBarEditFocused();

class CXTPCommandBars : public CCmdTarget, public CXTPToolBarSite {
  DECLARE_DYNCREATE(CXTPCommandBars)
public:
  // How deep IsHiddenInMenu follows popups into their popups: a damaged
  // profile may link a popup back to a bar above it.
  static constexpr int kMaxMenuDepth = 16;

  CXTPCommandBars();
  ~CXTPCommandBars() override;

  // Hidden commands are left out of shortened menus until they are used.
  virtual BOOL IsControlHidden(UINT nID) const;
  virtual BOOL IsHiddenInMenu(CXTPControl *pControl) const;
  // The menu resource id that shows now: on an MDI frame the active child's
  // document template's (the child's own without a document), the menu
  // SetMenu loaded without a child; 0 on any other site.
  virtual UINT GetActiveMenuID();
  void HideCommands(const UINT *pCommands, int nCount);
  void HideCommand(UINT nID);
  void SetCommandUsed(UINT nID);

  CXTPCommandBarsOptions *GetCommandBarsOptions() const { return m_pOptions; }
  // The tooltips of every bar of the frame (style, balloon, width). Bars
  // that show tips take a reference on it.
  CXTPToolTipContext *GetToolTipContext() const { return m_pToolTipContext; }

  // Own, else the global ones.
  CXTPPaintManager *GetPaintManager() const;
  void SetPaintManager(CXTPPaintManager *pPaintManager);
  CXTPImageManager *GetImageManager() const;
  void SetImageManager(CXTPImageManager *pImageManager);

  void SetCustomizeMode(BOOL bMode);
  BOOL IsCustomizeMode() const { return m_bCustomizeMode; }
  // The copy of customise mode that SetCustomizeMode keeps: docked bars may
  // wrap in customise mode only while it is set.
  BOOL IsCustomizeModeCopy() const { return m_bCustomizeModeCopy; }
  BOOL IsCustomizeAvail() const { return m_bCustomizeAvail; }
  CXTPControl *GetDragControl() const { return m_pDragSelected; }
  // Moves and copies controls between the bars (customise mode, Alt+drag).
  CXTPCustomizeDragTool *GetDragTool();
  void SetDragControl(CXTPControl *pControl);

  void SetSite(CWnd *pSite);
  CWnd *GetSite() const { return m_pSite; }
  // The window that receives the bars' notifications (the site's).
  HWND GetSiteHwnd() const;
  // The customise sheet's window while it is open (none yet).
  HWND GetCustomizeSheetHwnd() const { return m_hWndCustomizeSheet; }
  void SetCustomizeSheetHwnd(HWND hWnd) { m_hWndCustomizeSheet = hWnd; }

  // --- The bars, in the order mnemonics walk them -------------------------
  // The list holds a reference on each bar it lists.
  void AddBar(CXTPCommandBar *pBar);
  void RemoveBar(CXTPCommandBar *pBar);
  int GetCount() const { return static_cast<int>(m_arrBars.size()); }
  CXTPCommandBar *GetAt(int nIndex) const;
  // The menu bar SetMenu made, else the first listed bar of type menu bar,
  // or null.
  CXTPCommandBar *GetMenuBar() const;
  // Leaves every bar's tracking and lets the bars go (the destructor).
  void ReleaseBars();

  // --- Bars of the frame ---------------------------------------------------
  // The four dock bars as children of the site (top, bottom, left, right).
  // FALSE without a site, or when they exist already.
  BOOL EnableDocking();
  // 0 top, 1 bottom, 2 left, 3 right; null otherwise or before EnableDocking.
  CXTPDockBar *GetDockBar(int nPosition) const;
  // The menu bar built from a menu resource and docked at the top; it takes
  // the frame's window menu. Null when the menu cannot be loaded.
  CXTPMenuBar *SetMenu(LPCTSTR lpszName, UINT nID);
  // A new shown toolbar of the class (null: CXTPToolBar) at a side (0-3) or
  // floating (4); null when it cannot be made or placed.
  CXTPToolBar *AddToolBar(LPCTSTR lpszName, XTPBarPosition position = xtpBarTop,
                          CRuntimeClass *pToolBarClass = nullptr);
  CXTPToolBar *Add(LPCTSTR lpszName, XTPBarPosition position = xtpBarTop,
                   CRuntimeClass *pToolBarClass = nullptr) {
    return AddToolBar(lpszName, position, pToolBarClass);
  }
  // A floating or docked user toolbar that the site may prepare (message
  // WM_XTP_CREATECOMMANDBAR with its creation block).
  virtual CXTPToolBar *AddCustomBar(LPCTSTR lpszName, UINT nID, BOOL bFloating = FALSE);
  // The bar with that id (null for 0 or none), the index of a bar (-1).
  CXTPToolBar *GetToolBar(UINT nID) const;
  int FindIndex(const CXTPCommandBar *pBar) const;
  // The next visible bar from an index walking by nDirection (1 or -1).
  int GetNextVisibleBar(int nIndex, int nDirection) const;
  // Hides and lets go of a listed bar.
  void Remove(CXTPCommandBar *pBar);
  // Shows a hidden bar, hides a shown one; FALSE when there is no such bar.
  BOOL ToggleVisible(int nIndex);

  // Docks the bar in the dock bar (at a screen rectangle, or in a new row).
  BOOL DockCommandBar(CXTPToolBar *pBar, LPCRECT lpRect, CXTPDockBar *pDockBar);
  BOOL DockCommandBarAtPosition(CXTPToolBar *pBar, XTPBarPosition position);
  // Makes the bar a popup window of its own over the frame.
  BOOL FloatCommandBar(CXTPToolBar *pBar);
  // The dock bar a dragged bar at a screen point would dock into: the
  // current one first, then top, bottom, left, right; null when none.
  CXTPDockBar *CanDock(CPoint point, CXTPDockBar *pCurrent = nullptr) const;

  // The frame's layout, at once or at the next idle time.
  void RecalcFrameLayout(BOOL bDelay = FALSE);
  // Every visible bar re-laid out, then the frame.
  void RedrawCommandBars();
  // What a docked bar's expand button lists: the controls there was no room
  // for in every bar of its row, copied into the popup.
  virtual void GetHiddenControls(CXTPToolBar *pBar, CXTPPopupBar *pPopup);
  // The expand button's "Add or Remove Buttons" list: an entry per bar of
  // the bar's dock row (the bar alone when it floats), each opening the list
  // of its buttons when the bar may be customised here, then Customize when
  // the site offers it.
  virtual void GetAddOrRemovePopup(CXTPToolBar *pBar, CXTPPopupBar *pPopup);
  // A toolbar came or goes: a rebar of the site (child 59396) takes or
  // drops its band.
  virtual void OnToolBarAdded(CXTPToolBar *pBar);
  virtual void OnToolBarRemoved(CXTPToolBar *pBar);

  // The toolbar's view of the manager.
  void RecalcFrameLayout(CXTPToolBar *pBar) override;
  BOOL DockBarAt(CXTPToolBar *pBar, XTPBarPosition position) override;

  // --- Keyboard ------------------------------------------------------------
  // A mnemonic typed with Alt, or in a tracking bar: TRUE when a control took it.
  BOOL ProcessMnemonic(wchar_t chAccel);
  // The control a character selects, walking from the bar's selected control
  // (and, with scope 1, on through the other visible bars).
  CXTPControl *FindMnemonicControl(CXTPCommandBar *pBar, wchar_t chAccel, BOOL &bAmbiguous) const;
  // The frame's keys before its accelerators: Alt shows the cues, Alt+key
  // runs a mnemonic; TRUE when the message was used.
  BOOL PreTranslateFrameMessage(MSG *pMsg);
  // The frame's messages before its own handling: TRUE when used up (the
  // answer in pResult).
  BOOL OnFrameWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *pResult);
  // A bar started or stopped tracking: once nothing tracks, cues that follow
  // Alt hide and menus open shortened again.
  virtual void OnTrackingModeChanged(CXTPCommandBar *pBar, int nMode);
  // Gives the keyboard to a bar, or to the next shown one in the direction
  // (1 on, -1 back, 0 the bar itself), with its first control selected.
  void ActivateBar(CXTPCommandBar *pBar, int nDirection);
  BOOL IsIgnoreShiftMenuKey() const { return m_bIgnoreShiftMenuKey; }
  void SetIgnoreShiftMenuKey(BOOL bIgnore) { m_bIgnoreShiftMenuKey = bIgnore; }

  // --- Popup menus run modally --------------------------------------------
  // Shows the popup at a screen point (clear of the exclude rectangle) and
  // runs the thread's messages until it closes. 0 when it could not show;
  // with TPM_RETURNCMD the chosen command (0 for none), else TRUE. A quit
  // that arrives meanwhile closes the popup and is posted again for the
  // thread's own loop.
  static UINT TrackPopupMenu(CXTPPopupBar *pPopup, UINT nFlags, int x, int y, CWnd *pWndOwner,
                             LPCRECT lpExclude = nullptr, CWnd *pWndNotify = nullptr);
  // The toolbars popup at a screen point, outside customise mode.
  virtual void ContextMenu(int x, int y);
  // A popup listing the toolbars that want to be listed, and Customize.
  virtual CXTPPopupBar *GetToolbarsPopup();
  // Where the modal loops take their messages (GetMessageW's answers), so
  // tests can feed them.
  typedef BOOL (*GetMessageFunction)(MSG *pMsg);
  static void SetGetMessageFunction(GetMessageFunction pfn) { s_pfnGetMessage = pfn; }

  void UpdateKeyboardCues(BOOL bShow);
  BOOL IsKeyboardCuesFollowAlt() const { return m_bKeyboardCuesFollowAlt; }
  void SetKeyboardCuesFollowAlt(BOOL bFollow) { m_bKeyboardCuesFollowAlt = bFollow; }
  virtual void RedrawVisibleBars();

  // --- The layout and options in the user's profile -----------------------
  // Where every bar stands and whether the frame's status bar shows, under
  // sections named after the profile name; loading runs after the built-in
  // bars exist, and a layout from a larger screen comes back scaled.
  void SaveBarState(LPCTSTR lpszProfileName, BOOL bOnlyCustomized = TRUE);
  void LoadBarState(LPCTSTR lpszProfileName, BOOL bSilent = FALSE);
  void GetDockState(CXTPDockState &state) const;
  void SetDockState(const CXTPDockState &state);
  // The options under "<profile name>-Options" of the application's key.
  void SaveOptions(LPCTSTR lpszProfileName);
  void LoadOptions(LPCTSTR lpszProfileName);
  // The hidden file an archive too large for the profile is kept in; empty
  // (the default) names it after the program and the profile name.
  CString GetStateFileName() const { return m_strStateFileName; }
  void SetStateFileName(LPCTSTR lpszFileName) { m_strStateFileName = lpszFileName; }
  // The file a large archive of the profile name goes to.
  CString GetStateFilePath(LPCTSTR lpszProfileName) const;

  // --- The tree of bars and controls of customisable command bars ---------
  // FALSE when the archive could not be written or read.
  virtual BOOL SaveCommandBarList(CXTPPropExchange *pPX, CXTPCommandBarList *pList);
  virtual BOOL LoadCommandBarList(CXTPPropExchange *pPX, CXTPCommandBarList *pList);
  // The bars worth storing: customised ones and every bar their popups open.
  virtual void BuildStoreList(UINT &nNextID, CXTPCommandBarList *pList,
                              const CXTPCommandBarsExchangeParam &param);
  // Loaded toolbars replace the bars of the same id, or join as new ones.
  virtual void AdoptLoadedBars(CXTPCommandBarList *pList, BOOL bSilent);

private:
  void SaveControlsArchive(LPCTSTR lpszProfileName, BOOL bOnlyCustomized);
  void LoadControlsArchive(LPCTSTR lpszProfileName, BOOL bSilent);
  BOOL LoadControlsFrom(CFile *pFile, BOOL bSilent);
  void AdoptLoadedBar(CXTPToolBar *pLoaded, CXTPCommandBarList *pList, std::set<CXTPCommandBar *> &linked,
                      BOOL bSilent);

  void SaveDockBars(LPCTSTR lpszProfileName) const;
  void LoadDockBars(LPCTSTR lpszProfileName);

  BOOL IsHiddenInMenu(CXTPControl *pControl, int nDepth) const;
  // The bar given its place (docked or floating) and shown; released and
  // null when it cannot be placed.
  CXTPToolBar *PlaceNewBar(CXTPToolBar *pBar, LPCTSTR lpszName, XTPBarPosition position, DWORD dwFlags);

  CCmdTarget *m_pShared = nullptr;
  HACCEL m_hAccel = nullptr;
  BOOL m_bIgnoreShiftMenuKey = FALSE;
  // Alt or F10 pressed with no other key since: its release opens the menus.
  WPARAM m_nLoneMenuKey = 0;
  CXTPPaintManager *m_pPaintManager = nullptr;
  CXTPImageManager *m_pImageManager = nullptr;
  CXTPControl *m_pDragSelected = nullptr;
  BOOL m_bCustomizeMode = FALSE;
  BOOL m_bCustomizeAvail = FALSE;
  UINT m_nIDMenu = 0;
  BOOL m_bCustomizeModeCopy = FALSE;
  CString m_strName;
  CString m_strStateFileName;
  CXTPCommandBarsOptions *m_pOptions = nullptr;
  CWnd *m_pSite = nullptr;
  BOOL m_bKeyboardCuesFollowAlt = FALSE;
  HWND m_hWndCustomizeSheet = nullptr;
  std::vector<CXTPCommandBar *> m_arrBars;
  CXTPDockBar *m_pDocks[4] = {nullptr, nullptr, nullptr, nullptr};
  CXTPMenuBar *m_pMenuBar = nullptr;
  CXTPToolTipContext *m_pToolTipContext = nullptr;
  BOOL m_bInRedraw = FALSE;
  static GetMessageFunction s_pfnGetMessage;
  std::unique_ptr<CXTPCustomizeDragTool> m_pDragTool;
};
