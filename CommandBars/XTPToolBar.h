// CXTPToolBar: the command bar that sits docked on a side of the frame, floats
// in a popup window of its own or lives inside a parent that sizes it with
// WM_SIZEPARENT. It is built from a toolbar resource or an array of command
// ids and adds two buttons of its own: the expand button at the end of the bar,
// which lists the buttons there was no room for, and the close button in the
// caption of a floating bar.
#pragma once

#include <memory>
#include <vector>

#include "XTPCommandBar.h"
#include "XTPControlButton.h"
#include "XTPControlPopup.h"

#define XTP_ID_TOOLBAR_EXPAND 9400
#define XTP_ID_TOOLBAR_HIDE 9401

// Sent to the site when a bar is shown or hidden (wParam the bar, lParam the flag).
#define XTP_TBN_VISIBLECHANGED 0x52C
// Sent to the site before the expand button builds its popup; the site may
// answer non-zero with a popup bar of its own in the block's first word.
#define XTP_TBN_CREATEEXPANDPOPUP 0x530

// The block of XTP_TBN_CREATEEXPANDPOPUP: seven words, all zero but the third (1).
struct XTP_TOOLBAR_EXPANDPOPUP {
  CCmdTarget *pPopupBar = nullptr; // the site's popup bar, when it answers
  DWORD_PTR dwReserved1 = 0;
  DWORD_PTR dwOne = 1;
  DWORD_PTR dwReserved[4] = {};
};

class CXTPToolBar;
class CXTPPopupBar;
class CXTPDockBar;
class CXTPDockContext;

// What the toolbar needs of the frame that docks it. The dock bars and the
// command bars manager answer this; until they exist a bar without one
// recalculates nothing and docks nowhere.
class CXTPToolBarSite {
public:
  virtual ~CXTPToolBarSite() = default;
  // The frame's layout changed (a docked bar shown, hidden or resized).
  virtual void RecalcFrameLayout(CXTPToolBar *pBar) = 0;
  // Moves the bar to a side (0-3) or floats it (4); FALSE when refused.
  virtual BOOL DockBarAt(CXTPToolBar *pBar, XTPBarPosition position) = 0;
  // What a drag needs. The dock bar of a side (0-3); null when the frame
  // has none there, and then nothing docks on that side.
  virtual CXTPDockBar *GetDockBar(int /*nPosition*/) const { return nullptr; }
  // Docks the bar into the dock bar at a screen rectangle (null: a new row)
  // and lays the frame out.
  virtual BOOL DockCommandBar(CXTPToolBar *pBar, LPCRECT lpRect, CXTPDockBar *pDockBar);
  // Makes the bar a floating window of its own where it stands.
  virtual BOOL FloatCommandBar(CXTPToolBar *pBar);
};

class CXTPToolBarExpandButton : public CXTPControlPopup {
public:
  CXTPToolBarExpandButton();
  void SetRect(CRect rcControl) override;
  void Draw(CDC *pDC) override;
  void OnSetPopup(BOOL bPopup) override;
  // Some control of the bar had no room.
  BOOL HasHiddenControls() const { return m_bHiddenControls; }

private:
  BOOL m_bHiddenControls = FALSE;
};

// One line of the "Add or Remove Buttons" list: stands for a control of the
// bar (checked while shown) or for the bar itself (the "Reset" line).
class CXTPToolBarAddRemoveButton : public CXTPControlButton {
public:
  CXTPToolBarAddRemoveButton(CXTPControl *pControl, CXTPToolBar *pToolBar);
  ~CXTPToolBarAddRemoveButton() override;
  CSize GetSize(CDC *pDC) override;
  void Draw(CDC *pDC) override;
  void OnExecute() override;
  CXTPControl *GetTargetControl() const { return m_pTarget; }
  CXTPToolBar *GetResetBar() const { return m_pToolBar; }

private:
  CXTPControl *m_pTarget = nullptr; // held
  CXTPToolBar *m_pToolBar = nullptr;
};

class CXTPToolBarCloseButton : public CXTPControlButton {
public:
  CXTPToolBarCloseButton();
  void Draw(CDC *pDC) override;
  void OnExecute() override;
};

class CXTPToolBar : public CXTPCommandBar {
  DECLARE_SERIAL(CXTPToolBar)
public:
  // Posted to a torn-off bar hidden inside a message of its own: the removal
  // waits until that message is over.
  static constexpr UINT kMsgRemoveTearOff = WM_APP + 0x3A1;
  // Extent of the expand button along the bar.
  static constexpr int kExpandButtonExtent = 11;

  CXTPToolBar();
  ~CXTPToolBar() override;

  // Takes the resource's id as the bar id and keeps what it built as the
  // bar's original buttons, which Reset and the customise lists go back to.
  BOOL LoadToolBar(UINT nIDResource, BOOL bLoadBitmap = TRUE) override;
  BOOL LoadToolBarData(UINT nIDResource, const BYTE *pData, size_t cbData, BOOL bLoadBitmap);

  // Lets the bar be dragged, docked and floated on the sides and ways the
  // flags allow (1 top, 2 bottom, 4 left, 8 right, 0x10 floating); the
  // first call makes the bar's drag context.
  void EnableDocking(DWORD dwFlags);
  CXTPDockContext *GetDockingContext() const { return m_pDockContext.get(); }

  void SetSite(CXTPToolBarSite *pSite) { m_pSite = pSite; }
  CXTPToolBarSite *GetSite() const { return m_pSite; }
  // 0-3 docks the bar on that side, 4 floats it, through its site; FALSE
  // for another position or without a site.
  BOOL SetPosition(XTPBarPosition position) override;

  void SetVisible(BOOL bVisible) override;
  BOOL IsVisible() const override;
  void DelayRedraw() override { m_bDelayRedraw = TRUE; }
  void OnRecalcLayout() override;
  CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
  virtual CSize CalcDockedLayout(int nLength, DWORD dwMode);
  virtual BOOL CreateFloatingWindow(CWnd *pParentFrame, BOOL bFloating);
  void OnSetPreviewMode(BOOL bPreview);
  void Copy(CXTPCommandBar *pCommandBar, BOOL bRecursive = FALSE) override;
  CXTPCommandBar *Clone(BOOL bRecursive = FALSE) override;
  void DoPropExchange(CXTPPropExchange *pPX) override;

  BOOL IsBuiltIn() const { return m_bBuiltIn; }
  void SetBuiltIn(BOOL bBuiltIn) { m_bBuiltIn = bBuiltIn; }
  BOOL IsTearOff() const { return m_bTearOff; }
  void SetTearOff(BOOL bTearOff) { m_bTearOff = bTearOff; }
  BOOL IsFloating() const { return m_barPosition == xtpBarFloating; }
  void SetShowExpandButtonAlways(BOOL bShow) { m_nShowExpandAlways = bShow ? 1 : 0; }
  BOOL GetShowExpandButtonAlways() const;

  static int FindSimilarControl(CXTPControls *pControls, CXTPControl *pControl, int nStart);

  // Asks, then puts the bar's buttons back as the program made them.
  virtual void Reset();
  // Fills pPopup with a line per button of the bar, the user's hidden ones
  // put back in their places unchecked, and the "Reset" line.
  void FillAddOrRemoveList(CXTPPopupBar *pPopup);
  // The expand popup's entries: the buttons without room in this bar's dock
  // row, then "Add or Remove Buttons" with a list per bar of the row.
  void FillExpandPopup(CXTPPopupBar *pPopup);
  BOOL OnKeyDown(UINT nChar) override;

protected:
  afx_msg LRESULT OnRemoveTearOff(WPARAM, LPARAM);
  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  afx_msg void OnClose() {}
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg int OnMouseActivate(CWnd *pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg BOOL OnNcActivate(BOOL bActive);
  afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);
  afx_msg void OnSetFocus(CWnd *pOldWnd);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  // A floating bar made while its frame is inactive starts hidden with it.
  afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpcs);

  INT_PTR OnToolHitTest(CPoint point, TTTOOLINFOW *pTI) const override;
  // A bar that may be dragged and docked; one inside a dialog is not.
  BOOL IsDockable() const { return (m_dwFlags & 0x1F) != 0; }
  // The reset question; TRUE on OK.
  BOOL AskReset() const;
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
  DECLARE_MESSAGE_MAP()

  // A press away from every control may drag the bar.
  BOOL IsDragPoint(CPoint point) const;

  CRect GetDockedBorders(CDC *pDC, DWORD dwMode);
  CXTPControl *FindOrAddExpandButton();
  CXTPControl *FindOrAddCloseButton();
  // The controls' layout; the first visible control counts.
  CSize LayoutControls(CDC *pDC, int nLength, DWORD dwMode, const CRect &rcBorders);
  void RemoveTearOff();

  CXTPToolBarSite *m_pSite = nullptr;
  std::unique_ptr<CXTPDockContext> m_pDockContext;
  BOOL m_bBuiltIn = TRUE;
  BOOL m_bTearOff = FALSE;
  BOOL m_bVisible = FALSE;
  BOOL m_bPreviewVisible = FALSE;
  BOOL m_bInPreview = FALSE;
  BOOL m_bRemovePosted = FALSE;
  int m_nShowExpandAlways = -1; // -1: as the options say
  BOOL m_bFocusRemembered = FALSE;
};
