// CMDIFrameWnd and CMDIChildWnd: a frame whose client area is the system's
// MDI client, holding any number of child frames, one of them active.
//
// The window menu follows the active child: each child may bring a menu of
// its own (its document type's) and the frame's default menu comes back when
// no child is left. The change goes to the MDI client as WM_MDISETMENU, so a
// menu bar that hooks the client can take it instead of the window.
#pragma once

#include "FrameWnd.h"

class CMDIChildWnd;

// The window menu's list of children takes command ids from here on.
#define AFX_IDM_FIRST_MDICHILD 0xFF00

class CMDIFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CMDIFrameWnd)
public:
  CMDIFrameWnd() = default;

  HWND m_hWndMDIClient = nullptr;

  // Creates the MDI client; the window list goes into pWindowMenu when given.
  virtual BOOL CreateClient(LPCREATESTRUCT lpcs, CMenu *pWindowMenu);
  BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext *pContext) override;

  // The active child and whether it is maximised; null without children.
  CMDIChildWnd *MDIGetActive(BOOL *pbMaximized = nullptr) const;
  void MDIActivate(CWnd *pWndActivate);
  void MDIMaximize(CWnd *pWnd);
  void MDIRestore(CWnd *pWnd);
  void MDINext();
  // Asks the client to set the frame's menu; the previous menu comes back.
  HMENU MDISetMenu(HMENU hMenuFrame, HMENU hMenuWindow);

  CFrameWnd *GetActiveFrame() override;
  // The active child's menu, else hMenuAlt, else the default menu.
  void OnUpdateFrameMenu(HMENU hMenuAlt) override;
  BOOL OnCmdMsg(UINT nID, int nCode, void *pExtra, AFX_CMDHANDLERINFO *pHandlerInfo) override;
  BOOL PreTranslateMessage(MSG *pMsg) override;
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnSetFocus(CWnd *pOldWnd);
  DECLARE_MESSAGE_MAP()
};

class CMDIChildWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CMDIChildWnd)
public:
  CMDIChildWnd() = default;

  // The menu the frame shows while this child is active (its document
  // type's); null for the frame's default menu. Not owned: the document
  // template that loaded it keeps it.
  HMENU m_hMenuShared = nullptr;

  // Creates the child inside pParentWnd's MDI client (WM_MDICREATE).
  BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
              DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, const RECT &rect = rectDefault,
              CMDIFrameWnd *pParentWnd = nullptr, CCreateContext *pContext = nullptr);
  BOOL LoadFrame(UINT nIDResource,
                 DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 CWnd *pParentWnd = nullptr, CCreateContext *pContext = nullptr) override;
  CMDIFrameWnd *GetMDIFrame() const;

  void MDIActivate();
  void MDIMaximize();
  void MDIRestore();
  void MDIDestroy();
  BOOL DestroyWindow() override;
  void ActivateFrame(int nCmdShow = -1) override;
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg LRESULT OnMDIActivate(WPARAM wParam, LPARAM lParam);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()
};
