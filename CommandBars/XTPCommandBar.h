// CXTPCommandBar: the base window of every command bar (menu bar, toolbar,
// popup bar). What its controls and the paint manager ask of it is here;
// the bar's own tracking, keyboard and drawing come with the bar window.
#pragma once

#include "Framework.h"

#include "XTPControls.h"

class CXTPCommandBars;
class CXTPPaintManager;
class CXTPImageManager;

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
  xtpBarNone = 6,
};

class CXTPCommandBar : public CWnd {
  DECLARE_DYNCREATE(CXTPCommandBar)
public:
  CXTPCommandBar();
  ~CXTPCommandBar() override;

  XTPBarType GetType() const { return m_barType; }
  XTPBarPosition GetPosition() const { return m_barPosition; }
  void SetPosition(XTPBarPosition position) { m_barPosition = position; }
  BOOL IsVerticalPosition() const { return m_barPosition == xtpBarLeft || m_barPosition == xtpBarRight; }
  BOOL IsPopupBar() const { return m_barType == xtpBarTypePopup; }

  CXTPControls *GetControls() const { return m_pControls; }
  CXTPCommandBars *GetCommandBars() const { return m_pCommandBars; }
  void SetCommandBars(CXTPCommandBars *pCommandBars);

  // Own, else the command bars', else the global one.
  CXTPPaintManager *GetPaintManager() const;
  void SetPaintManager(CXTPPaintManager *pPaintManager);
  CXTPImageManager *GetImageManager() const;

  // The icon size: the bar's own, else the options' (large when asked), else 16 x 16.
  virtual CSize GetIconSize() const;
  void SetIconSize(CSize size) { m_szIcons = size; }
  // The button size: the bar's own, else the icon size plus 7 each way.
  virtual CSize GetButtonSize() const;
  void SetButtonSize(CSize size) { m_szButtons = size; }

  BOOL IsTextBelowIcons() const;
  void SetTextBelowIcons(BOOL bTextBelow) { m_bTextBelow = bTextBelow; }
  int GetMRUWidth() const { return m_nMRUWidth; }
  void SetMRUWidth(int nWidth) { m_nMRUWidth = nWidth; }
  virtual BOOL IsDialogBar() const { return FALSE; }
  BOOL IsLayoutRTL() const;
  CString GetTitle() const { return m_strTitle; }
  void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle; }
  DWORD GetFlags() const { return m_dwFlags; }
  void SetFlags(DWORD dwFlags) { m_dwFlags = dwFlags; }
  int GetBarID() const { return m_nBarID; }
  void SetBarID(int nID) { m_nBarID = nID; }
  BOOL IsCustomizeMode() const;
  // The client rectangle: the window's, or for a bar without a window (one
  // laid out and drawn off screen) the size it was given.
  CRect GetBarClientRect() const;
  void SetBarClientSize(CSize size) { m_szNoWindowClient = size; }

  // Controls and tracking, as far as the controls need them.
  virtual void OnControlsChanged() { DelayLayout(); }
  virtual void DelayLayout() { m_bDelayLayout = TRUE; }
  virtual void DelayRedraw() { m_bDelayRedraw = TRUE; }
  virtual void Redraw();
  virtual BOOL SetSelected(int nSelected, BOOL bKeyboard = FALSE);
  int GetSelectedIndex() const { return m_nSelected; }
  CXTPControl *GetSelected() const;
  virtual BOOL SetPopuped(int nPopuped, BOOL bKeyboard = FALSE);
  int GetPopupedIndex() const { return m_nPopuped; }
  virtual BOOL SetTrackingMode(int nMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE);
  int GetTrackingMode() const { return m_nTrackingMode; }
  virtual void OnIdleUpdateCmdUI(BOOL /*bDisableIfNoHandler*/) {}
  virtual void SetStatusText(CXTPControl * /*pControl*/, BOOL /*bShow*/) {}
  // Closes the popups tracked from this bar up to the root.
  virtual void OnTrackLost() {}
  CXTPCommandBar *GetParentBar() const { return m_pParentBar; }
  void SetParentBar(CXTPCommandBar *pParent) { m_pParentBar = pParent; }
  CXTPCommandBar *GetRootParent() const;

  // Where the bar's commands go: the owner window when set, else the site.
  HWND GetUpdateTarget() const;
  void SetOwnerWindow(HWND hWnd) { m_hWndOwner = hWnd; }
  HWND GetOwnerWindow() const { return m_hWndOwner; }

  // Set while a popup is tracked for its chosen command (TPM_RETURNCMD).
  UINT *m_pReturnCmd = nullptr;
  BOOL m_bDelayLayout = FALSE;
  BOOL m_bDelayRedraw = FALSE;
  int m_nRedrawCount = 0;

protected:
  XTPBarType m_barType = xtpBarTypeNormal;
  XTPBarPosition m_barPosition = xtpBarTop;
  CXTPControls *m_pControls = nullptr;
  CXTPCommandBars *m_pCommandBars = nullptr;
  CXTPPaintManager *m_pPaintManager = nullptr;
  CSize m_szIcons = CSize(0, 0);
  CSize m_szButtons = CSize(0, 0);
  BOOL m_bTextBelow = FALSE;
  int m_nMRUWidth = 32767;
  CString m_strTitle;
  DWORD m_dwFlags = 0;
  int m_nBarID = 0;
  int m_nSelected = -1;
  int m_nPopuped = -1;
  int m_nTrackingMode = 0;
  CXTPCommandBar *m_pParentBar = nullptr;
  HWND m_hWndOwner = nullptr;
  CSize m_szNoWindowClient = CSize(0, 0);
};
