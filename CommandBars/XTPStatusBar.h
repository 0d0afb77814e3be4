// CXTPStatusBar: the frame's status bar painted by the command bars' paint
// manager, so that it follows the current theme. Windows can be laid over
// panes (a progress bar, an icon); the bar keeps them on their panes as it
// is resized. CXTPStatusBarBasePane is a small window for such pane contents
// that paints itself flicker-free on the face colour.
#pragma once

#include <memory>
#include <vector>

#include "Framework.h"

class CXTPCommandBars;
class CXTPPaintManager;

class CXTPStatusBar : public CStatusBar {
  DECLARE_DYNAMIC(CXTPStatusBar)
public:
  // The least height the bar keeps whatever its font.
  static constexpr int kMinHeight = 20;

  CXTPStatusBar();
  ~CXTPStatusBar() override;

  // The pane windows need WS_CLIPCHILDREN: the bar paints every pane,
  // including those under its windows.
  BOOL Create(CWnd *parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT id = AFX_IDW_STATUS_BAR);

  // The bar's font first, so that the panes are measured in it.
  BOOL SetIndicators(const UINT *ids, int count);

  // Lays a window over the pane of the given indicator id. With autoDelete
  // the bar also deletes the window object when it goes (a window that
  // deletes itself in PostNcDestroy must not be given autoDelete). FALSE when
  // no pane has that id, the window is null or already placed.
  BOOL AddControl(CWnd *pWnd, UINT nID, BOOL bAutoDelete);
  // Takes the window off the bar without destroying it; FALSE when unknown.
  BOOL RemoveControl(CWnd *pWnd);
  CWnd *GetPaneControl(UINT nID) const;

  void SetCommandBars(CXTPCommandBars *pCommandBars) { m_pCommandBars = pCommandBars; }
  void EnableThemedDrawing(BOOL bEnable) { m_bThemedDrawing = bEnable; }
  // The paint manager drawing the bar; NULL when themed drawing is off.
  CXTPPaintManager *ActivePaintManager() const;
  CFont *GetBarFont() { return &m_fontBar; }

  // Where the window over pane nIndex goes: the pane less its border; the
  // last pane runs three borders past its text, or when it stretches to the
  // bar's end, short of the size grip.
  CRect GetPaneControlRect(int nIndex) const;
  struct PaneGeometry {
    CRect rcItem;   // the pane's item rectangle
    CRect rcClient; // the bar's client rectangle
    UINT nStyle;    // the pane's style
    int nWidth;     // the pane's width
    BOOL bLast;     // the bar's last pane
    BOOL bSizeGrip; // the bar has SBARS_SIZEGRIP
    int cxBorder;   // SM_CXBORDER
    int cxSmIcon;   // SM_CXSMICON
  };
  static CRect CalcPaneControlRect(const PaneGeometry &pane);
  void PlacePaneWindows();
  // Everything OnPaint draws, into any device context of the bar's size.
  void DrawBar(CDC *pDC);

  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC *pDC);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg LRESULT OnSetPaneTextMessage(WPARAM wParam, LPARAM lParam);

private:
  struct PaneControl {
    CWnd *pWnd;
    UINT nID;
    BOOL bAutoDelete;
    HWND hWnd; // the window when it was last seen bound to pWnd
  };
  // The record's window object while it still exists. An owner may delete a
  // window object it placed without taking it off the bar first: its window
  // then is gone, or no longer bound to the object, and the object is not
  // touched again.
  static CWnd *LiveWindow(PaneControl &control);

  std::vector<PaneControl> m_arrControls;
  CXTPCommandBars *m_pCommandBars = nullptr;
  CFont m_fontBar;
  BOOL m_bThemedDrawing = TRUE;
  // A paint the control asks for while it takes a new text waits for the
  // next paint of the bar.
  BOOL m_bHoldPaint = FALSE;

  DECLARE_MESSAGE_MAP()
};

class CXTPStatusBarBasePane : public CWnd {
  DECLARE_DYNCREATE(CXTPStatusBarBasePane)
public:
  CXTPStatusBarBasePane() = default;

  using CWnd::Create;
  virtual BOOL Create(LPCTSTR lpszWindowName, CWnd *pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE,
                      UINT nID = 0xFFFF);
  // Paints the pane's contents over the face colour already filled in.
  virtual void DrawContent(CDC *pDC, CRect rcClient);

  const CString &GetPaneText() const { return m_strWindowText; }

  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC *pDC);

protected:
  CString m_strWindowText;

  DECLARE_MESSAGE_MAP()
};

// A pane showing an icon, then its text; greyed while disabled.
class CXTPStatusBarIconPane : public CXTPStatusBarBasePane {
  DECLARE_DYNCREATE(CXTPStatusBarIconPane)
public:
  // The icon is not owned.
  void SetIcon(HICON hIcon);
  void DrawContent(CDC *pDC, CRect rcClient) override;

  afx_msg void OnEnable(BOOL bEnable);

private:
  HICON m_hIcon = nullptr;

  DECLARE_MESSAGE_MAP()
};
