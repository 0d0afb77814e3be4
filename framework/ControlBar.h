// CControlBar: a bar docked along one edge of its frame (the tool bar at the
// top, the status bar at the bottom). The frame's RepositionBars sends every
// bar WM_SIZEPARENT; the bar takes its strip off the layout rectangle. While
// the program is idle the bar updates its items from the command handlers.
#pragma once

#include "CmdUI.h"
#include "Wnd.h"

// Control bar styles (CControlBar::m_dwStyle).
#ifndef CBRS_ALIGN_LEFT
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_BORDER_ANY 0x0F00L
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L
#define CBRS_FLOAT_MULTI 0x0040L
#define CBRS_BORDER_3D 0x0080L
#define CBRS_HIDE_INPLACE 0x0008L
#define CBRS_SIZE_DYNAMIC 0x0004L
#define CBRS_SIZE_FIXED 0x0002L
#define CBRS_FLOATING 0x0001L
#define CBRS_GRIPPER 0x00400000L
#define CBRS_ORIENT_HORZ (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)
#define CBRS_ORIENT_VERT (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)
#define CBRS_ALL 0x0040FFFFL
#define CBRS_NOALIGN 0x00000000L
#define CBRS_LEFT (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_RIGHT (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)
#endif

class CControlBar : public CWnd {
  DECLARE_DYNAMIC(CControlBar)
public:
  CControlBar() = default;

  // CBRS_ flags; the window style keeps only the window's own bits.
  DWORD m_dwStyle = 0;
  int m_cxLeftBorder = 6;
  int m_cxRightBorder = 6;
  int m_cyTopBorder = 2;
  int m_cyBottomBorder = 2;
  BOOL m_bAutoDelete = FALSE;
  // Pending show or hide, applied at the next idle update.
  enum StateFlags { delayHide = 1, delayShow = 2 };
  UINT m_nStateFlags = 0;

  DWORD GetBarStyle() const { return m_dwStyle; }
  void SetBarStyle(DWORD style) { m_dwStyle = style; }
  void SetBorders(int left = 0, int top = 0, int right = 0, int bottom = 0);
  BOOL IsVisible() const;
  void DelayShow(BOOL show);
  void EnableDocking(DWORD) {}
  BOOL IsFloating() const { return FALSE; }

  // The size the bar wants: the full width of the frame when stretched.
  virtual CSize CalcFixedLayout(BOOL stretch, BOOL horizontal);
  // Asks the command handlers of pTarget for the state of every item.
  virtual void OnUpdateCmdUI(CFrameWnd *target, BOOL disableIfNoHandler) = 0;

  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);

protected:
  // Splits a Create style into the bar's CBRS_ bits and the window's style bits.
  DWORD TakeBarStyle(DWORD style);
  void PostNcDestroy() override;

  DECLARE_MESSAGE_MAP()
};
