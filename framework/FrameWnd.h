// CFrameWnd: a top-level window with a menu, accelerators, control bars
// docked along its edges and one view (or splitter) in the rest.
//
// Commands go to the active view first (which asks its document), then to the
// frame, then to the application. Before a command from an accelerator or a
// control runs, its update handler is asked; a disabled command is dropped.
#pragma once

#include <vector>

#include "CreateContext.h"
#include "Wnd.h"

class CView;
class CDocument;

// Frame styles (in the low word, unused by the frame's window class).
#define FWS_ADDTOTITLE 0x00008000L
#define FWS_PREFIXTITLE 0x00004000L
#define FWS_SNAPTOBARS 0x00002000L

class CFrameWnd : public CWnd {
  DECLARE_DYNCREATE(CFrameWnd)
public:
  CFrameWnd() = default;
  ~CFrameWnd() override = default;

  static const RECT rectDefault;

  HACCEL m_hAccelTable = nullptr;
  HMENU m_hMenuDefault = nullptr;
  UINT m_nIDHelp = 0;
  BOOL m_bAutoMenuEnable = TRUE; // menu items without a handler are disabled
  CString m_strTitle;
  RECT m_rectBorder = {0, 0, 0, 0};

  BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
              const RECT &rect = rectDefault, CWnd *pParentWnd = nullptr, LPCTSTR lpszMenuName = nullptr,
              DWORD dwExStyle = 0, CCreateContext *pContext = nullptr);
  // Creates the frame with the menu, accelerators, icon and title of resource nIDResource.
  virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                         CWnd *pParentWnd = nullptr, CCreateContext *pContext = nullptr);
  BOOL LoadAccelTable(LPCTSTR lpszResourceName);

  virtual CView *GetActiveView() const { return m_pViewActive; }
  void SetActiveView(CView *pViewNew, BOOL bNotify = TRUE);
  virtual CDocument *GetActiveDocument();
  virtual CFrameWnd *GetActiveFrame() { return this; }

  // Lays the control bars out along the edges and gives the rest to the pane.
  virtual void RecalcLayout(BOOL bNotify = TRUE);
  void DelayRecalcLayout(BOOL bNotify = TRUE);
  virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext *pContext);
  CWnd *CreateView(CCreateContext *pContext, UINT nID = AFX_IDW_PANE_FIRST);
  void InitialUpdateFrame(CDocument *pDoc, BOOL bMakeVisible);
  virtual void ActivateFrame(int nCmdShow = -1);
  virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
  virtual void OnUpdateFrameMenu(HMENU hMenuAlt);
  void UpdateFrameTitleForDocument(LPCTSTR lpszDocName);
  void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle; }
  // Another owner (a menu bar) takes hMenu: when it is the default menu the
  // frame forgets it, so it neither destroys it nor sets it on the window again.
  void HandOffMenu(HMENU hMenu) {
    if (hMenu != nullptr && hMenu == m_hMenuDefault) m_hMenuDefault = nullptr;
  }
  CString GetTitle() const { return m_strTitle; }

  // The status bar (the descendant with id AFX_IDW_STATUS_BAR).
  virtual CWnd *GetMessageBar();
  void SetMessageText(LPCTSTR lpszText);
  void SetMessageText(UINT nID);
  virtual void GetMessageString(UINT nID, CString &rMessage) const;
  void ShowControlBar(CWnd *pBar, BOOL bShow, BOOL bDelay);

  BOOL IsFrameWnd() const override { return TRUE; }
  BOOL OnCmdMsg(UINT nID, int nCode, void *pExtra, AFX_CMDHANDLERINFO *pHandlerInfo) override;
  BOOL PreTranslateMessage(MSG *pMsg) override;
  BOOL PreCreateWindow(CREATESTRUCT &cs) override;
  // The update pass over the frame's own plain toolbars (common-control ones).
  void UpdatePlainToolBars(BOOL bDisableIfNoHndler);

  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnDestroy();
  afx_msg void OnClose();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnSetFocus(CWnd *pOldWnd);
  afx_msg BOOL OnEraseBkgnd(CDC *pDC);
  afx_msg void OnInitMenuPopup(CMenu *pMenu, UINT nIndex, BOOL bSysMenu);
  afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
  afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  // Puts back the prompt a bar saved from WM_SETMESSAGESTRING's answer.
  afx_msg LRESULT OnPopMessageString(WPARAM wParam, LPARAM lParam);
  // A child frame's icon (its class's, small first); 0 from any other frame.
  afx_msg LRESULT OnChildFrameIcon(WPARAM wParam, LPARAM lParam);
  // Floating bars are popups this frame owns: they are told (WM_FLOATSTATUS)
  // when the frame is activated, deactivated, enabled or disabled, and while
  // one of them that asks for it (FS_SYNCACTIVE) is active the frame's
  // caption stays active.
  afx_msg void OnActivate(UINT nState, CWnd *pWndOther, BOOL bMinimized);
  afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
  afx_msg BOOL OnNcActivate(BOOL bActive);
  afx_msg void OnEnable(BOOL bEnable);
  void NotifyFloatingWindows(DWORD dwFlags);
  void NotifyFloatingActivation(BOOL bActive);
  // The id of the prompt the status bar shows (0 for a text).
  UINT GetLastMessageId() const { return m_nIDLastMessage; }
  // The caption is kept active for a floating bar that has the activation.
  BOOL IsStayingActive() const { return m_bStayActive; }
  afx_msg BOOL OnBarCheck(UINT nID);
  afx_msg void OnUpdateControlBarMenu(CCmdUI *pCmdUI);
  // Shift+F1 (ID_CONTEXT_HELP): help mode. The cursor shows the help cursor
  // until the next click; a click inside this frame hands the window under
  // it to OnContextHelpClick, Escape, a right click or a click elsewhere
  // leave the mode without help.
  afx_msg void OnContextHelp();
  afx_msg void OnSysColorChange();
  afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
  // Passes a colour or setting change on to every descendant and owned popup.
  void RelaySystemChange(UINT message, WPARAM wParam, LPARAM lParam);
  BOOL IsInHelpMode() const { return m_bHelpMode; }

protected:
  enum IdleFlags { idleMenu = 1, idleTitle = 2, idleNotify = 4, idleLayout = 8 };
  UINT m_nIdleFlags = 0;
  CView *m_pViewActive = nullptr;
  BOOL m_bInRecalcLayout = FALSE;

  BOOL m_bHelpMode = FALSE;
  UINT m_nIDLastMessage = 0;
  BOOL m_bStayActive = FALSE;
  int m_nFloatingActive = -1; // what the floating bars were told last: -1 nothing yet

  // What help mode's click chose: the deepest visible window of this frame
  // under the point (this frame itself on its own area), and the point on
  // the screen.
  virtual void OnContextHelpClick(HWND /*hWndHit*/, CPoint /*ptScreen*/) {}
  // The deepest visible window of this frame under a screen point; null
  // outside the frame.
  HWND HelpHitWindow(CPoint ptScreen) const;

  void PostNcDestroy() override { delete this; } // frames are always made with new
  virtual HACCEL GetDefaultAccelerator() { return m_hAccelTable; }

  DECLARE_MESSAGE_MAP()
};

// The top-level windows of the owner's thread owned, directly or through
// other owned windows, by it.
std::vector<HWND> AfxOwnedPopups(HWND hWndOwner);

// The n-th '\n'-separated part of a template string.
BOOL AfxExtractSubString(CString &rString, LPCTSTR lpszFullString, int iSubString, wchar_t chSep = L'\n');
