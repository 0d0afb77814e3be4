// CXTPCommandBars owns every command bar of one frame, its options, the sets
// of hidden and used commands, customise mode and, optionally, a paint and an
// image manager of its own. Here is what the controls, the control list and
// the paint manager reach it for; docking, keyboard routing, popup tracking
// and saving come with the manager's other operations.
#pragma once

#include "FrameworkCore.h"
#include "CmdTarget.h"

#include <set>
#include <vector>

class CXTPCommandBars;
class CXTPCommandBar;
class CXTPPopupBar;
class CXTPControl;
class CXTPPaintManager;
class CXTPImageManager;
class CArchive;
class CWnd;

enum XTPKeyboardCuesShow {
  xtpKeyboardCuesShowAlways = 0,
  xtpKeyboardCuesShowNever = 1,
  xtpKeyboardCuesShowWindowsDefault = 2,
};

class CXTPCommandBarsOptions : public CCmdTarget {
public:
  CXTPCommandBarsOptions();

  virtual void Serialize(CArchive &ar);

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

class CXTPCommandBars : public CCmdTarget {
  DECLARE_DYNCREATE(CXTPCommandBars)
public:
  CXTPCommandBars();
  ~CXTPCommandBars() override;

  // Hidden commands are left out of shortened menus until they are used.
  virtual BOOL IsControlHidden(UINT nID) const;
  virtual BOOL IsHiddenInMenu(CXTPControl *pControl) const;
  void HideCommands(const UINT *pCommands, int nCount);
  void HideCommand(UINT nID);
  void SetCommandUsed(UINT nID);

  CXTPCommandBarsOptions *GetCommandBarsOptions() const { return m_pOptions; }

  // Own, else the global ones.
  CXTPPaintManager *GetPaintManager() const;
  void SetPaintManager(CXTPPaintManager *pPaintManager);
  CXTPImageManager *GetImageManager() const;
  void SetImageManager(CXTPImageManager *pImageManager);

  void SetCustomizeMode(BOOL bMode);
  BOOL IsCustomizeMode() const { return m_bCustomizeMode; }
  BOOL IsCustomizeAvail() const { return m_bCustomizeAvail; }
  CXTPControl *GetDragControl() const { return m_pDragSelected; }
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
  // The listed bar of type menu bar, or null.
  CXTPCommandBar *GetMenuBar() const;
  // Leaves every bar's tracking and lets the bars go (the destructor).
  void ReleaseBars();

  // --- Keyboard ------------------------------------------------------------
  // A mnemonic typed with Alt, or in a tracking bar: TRUE when a control took it.
  BOOL ProcessMnemonic(wchar_t chAccel);
  // The control a character selects, walking from the bar's selected control
  // (and, with scope 1, on through the other visible bars).
  CXTPControl *FindMnemonicControl(CXTPCommandBar *pBar, wchar_t chAccel, BOOL &bAmbiguous) const;
  // The frame's keys before its accelerators: Alt shows the cues, Alt+key
  // runs a mnemonic; TRUE when the message was used.
  BOOL PreTranslateFrameMessage(MSG *pMsg);
  void OnTrackingModeChanged(CXTPCommandBar *pBar, int nMode);
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
  void ContextMenu(int x, int y);
  // A popup listing the toolbars that want to be listed, and Customize.
  CXTPPopupBar *GetToolbarsPopup();
  // Where the modal loops take their messages (GetMessageW's answers), so
  // tests can feed them.
  typedef BOOL (*GetMessageFunction)(MSG *pMsg);
  static void SetGetMessageFunction(GetMessageFunction pfn) { s_pfnGetMessage = pfn; }

  void UpdateKeyboardCues(BOOL bShow);
  BOOL IsKeyboardCuesFollowAlt() const { return m_bKeyboardCuesFollowAlt; }
  void SetKeyboardCuesFollowAlt(BOOL bFollow) { m_bKeyboardCuesFollowAlt = bFollow; }
  virtual void RedrawVisibleBars();

private:
  CCmdTarget *m_pShared = nullptr;
  HACCEL m_hAccel = nullptr;
  BOOL m_bIgnoreShiftMenuKey = FALSE;
  CXTPPaintManager *m_pPaintManager = nullptr;
  CXTPImageManager *m_pImageManager = nullptr;
  CXTPControl *m_pDragSelected = nullptr;
  BOOL m_bCustomizeMode = FALSE;
  BOOL m_bCustomizeAvail = FALSE;
  UINT m_nIDMenu = 0;
  BOOL m_bCustomizeModeCopy = FALSE;
  CString m_strName;
  CXTPCommandBarsOptions *m_pOptions = nullptr;
  CWnd *m_pSite = nullptr;
  BOOL m_bKeyboardCuesFollowAlt = FALSE;
  HWND m_hWndCustomizeSheet = nullptr;
  std::vector<CXTPCommandBar *> m_arrBars;
  static GetMessageFunction s_pfnGetMessage;
};
