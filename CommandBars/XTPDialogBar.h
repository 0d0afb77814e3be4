// CXTPDialogBar: a toolbar that hosts one child window of the application's
// (a dialog, a tree, any window) under a caption row. The caption shows the
// bar's title as a drop-down button listing the commands of a popup bar of
// the bar's own, and a close button when the bar may be closed. The bar
// docks and floats like a toolbar, keeps one size of its child area while
// docked and another while floating, and is resized by its edges.
#pragma once

#include "XTPControlPopup.h"
#include "XTPPopupBar.h"
#include "XTPToolBar.h"

#define XTP_ID_DIALOGBAR_CAPTION 9399

class CXTPDialogBar;

// The caption's drop-down button: the title, and an arrow while it can
// open. It is enabled (and opens) only while its popup has commands and the
// bar lets it; disabled, it is a plain title.
class CXTPDialogBarCaptionPopup : public CXTPControlPopup {
public:
  CXTPDialogBarCaptionPopup();
  void Draw(CDC *pDC) override;
};

// The caption's close button: the "r" glyph of Marlett; hides the bar.
class CXTPDialogBarCloseButton : public CXTPToolBarCloseButton {
public:
  void Draw(CDC *pDC) override;
};

// The caption button's commands: they drop down right-aligned under it.
class CXTPDialogBarPopupBar : public CXTPPopupBar {
  DECLARE_DYNCREATE(CXTPDialogBarPopupBar)
public:
  void UpdateFlags() override;
};

class CXTPDialogBar : public CXTPToolBar {
  DECLARE_DYNCREATE(CXTPDialogBar)
public:
  // The smallest window a resize leaves, and the child area both sizes start at.
  static constexpr int kMinSize = 50;
  static constexpr int kDefaultClientSize = 200;
  // The docking flag of a bar that fills its dock row: such a bar is not
  // resized at its edge along the row (the outer edge), which the row owns.
  static constexpr DWORD kFlagFullRow = 0x40;

  CXTPDialogBar();
  ~CXTPDialogBar() override;

  // Hosts the window (null: none) in the client area; the bar does not own it.
  void SetChild(CWnd *pWnd);
  void SetChild(HWND hWnd);
  HWND GetChild() const { return m_hWndChild != nullptr && ::IsWindow(m_hWndChild) ? m_hWndChild : nullptr; }

  // The caption popup's commands; the application adds them.
  CXTPPopupBar *GetCaptionPopupBar() const { return m_pPopupBar; }
  // The caption's buttons, made by the first layout (null before).
  CXTPDialogBarCaptionPopup *GetCaptionPopup() const;
  CXTPControl *GetCloseButton() const;

  void SetCaption(LPCTSTR lpszCaption);
  CString GetCaption() const { return m_strCaption; }
  void SetCaptionVisible(BOOL bVisible);
  BOOL IsCaptionVisible() const { return m_bCaptionVisible; }
  void EnableCaptionPopup(BOOL bEnable);
  BOOL IsCaptionPopupEnabled() const { return m_bCaptionPopup; }
  void SetResizable(BOOL bResizable) { m_bResizable = bResizable; }
  BOOL IsResizable() const { return m_bResizable; }
  void SetMargins(CRect rcMargins);
  CRect GetMargins() const { return m_rcMargins; }
  void SetMinSize(CSize size) { m_szMin = size; }
  CSize GetMinSize() const { return m_szMin; }
  // The child area's size while docked and while floating.
  void SetDockingClientSize(CSize size) { m_szDockingClient = size; }
  CSize GetDockingClientSize() const { return m_szDockingClient; }
  void SetFloatingClientSize(CSize size) { m_szFloatingClient = size; }
  CSize GetFloatingClientSize() const { return m_szFloatingClient; }
  // Top margin and caption row, as the last layout measured them.
  int GetCaptionHeight() const { return m_nCaptionHeight; }

  // 1 on the caption row, -2 elsewhere (client point).
  int HitTestCaption(CPoint point) const;
  // The resize code of a screen point, or 0 where the edges do not resize:
  // the outer 3 pixels of the window, by how the bar stands.
  static int HitTestEdges(const CRect &rcWindow, CPoint point, XTPBarPosition position, DWORD dwFlags);
  // Takes a window rectangle a drag of an edge (hit-test code 10 to 17)
  // asks for; one below the minimum size is refused (FALSE).
  BOOL Resize(const CRect &rcWindow, int nHitTest);

  BOOL IsDialogBar() const override { return TRUE; }
  CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
  CSize CalcDockedLayout(int nLength, DWORD dwMode) override;
  CXTPCommandBar *Clone(BOOL bRecursive = FALSE) override;
  void Copy(CXTPCommandBar *pCommandBar, BOOL bRecursive = FALSE) override;

protected:
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

  // The size for a child area: the margins, the caption row and the stretch.
  CSize CalcLayout(int nLength, DWORD dwMode, CSize szClient);
  // Places the caption's buttons along a bar of that width.
  void PlaceCaptionControls(int cx);
  void PlaceChild(int cx, int cy);
  int GetCaptionRowHeight() const { return m_nCaptionHeight - m_rcMargins.top; }

  CRect m_rcMargins = CRect(3, 3, 3, 3);
  BOOL m_bResizable = TRUE;
  CSize m_szMin = CSize(kMinSize, kMinSize);
  BOOL m_bCaptionVisible = TRUE;
  BOOL m_bCaptionPopup = TRUE;
  int m_nCaptionHeight = 0;
  CSize m_szGripper = CSize(0, 0);
  CSize m_szDockingClient = CSize(kDefaultClientSize, kDefaultClientSize);
  CSize m_szFloatingClient = CSize(kDefaultClientSize, kDefaultClientSize);
  HWND m_hWndChild = nullptr;
  CString m_strCaption;
  CXTPDialogBarPopupBar *m_pPopupBar = nullptr; // one reference held
};
