// CXTPControl: the base of every item a command bar holds. A control carries
// its command id, type, captions and texts, state (enabled, checked,
// selected, pressed), group start, hide and behaviour flags and its
// rectangle; its bar routes the mouse and keyboard to it; it executes its
// command, takes part in customisation and is copied, compared and saved.
#pragma once

#include "FrameworkCore.h"
#include "CmdTarget.h"
#include "Dc.h"

#include <set>

class CXTPCommandBar;
class CXTPCommandBars;
class CXTPControls;
class CXTPPaintManager;
class CXTPImageManager;
class CXTPImageManagerIcon;
class CXTPPropExchange;
class CXTPControl;

// Control types.
enum XTPControlType {
  xtpControlError = 0,
  xtpControlButton = 1,
  xtpControlPopup = 2,
  xtpControlButtonPopup = 3,
  xtpControlSplitButtonPopup = 4,
  xtpControlComboBox = 5,
  xtpControlEdit = 6,
  xtpControlCustom = 7, // asks `Add` for a custom control, which has the button's type
  xtpControlLabel = 8,
};

// Hide flags: any set flag hides the control.
enum XTPControlHideFlags {
  xtpNoHide = 0x00,
  xtpHideGeneric = 0x01,
  xtpHideWrap = 0x02, // no room on the bar
  xtpHideDockingPosition = 0x04,
  xtpHideScroll = 0x08,    // scrolled out of a popup
  xtpHideCustomize = 0x10, // hidden by the user
  xtpHideExpand = 0x20,    // rarely used: only in the expanded menu
  xtpHideDocTemplate = 0x40,
};

// Behaviour flags.
enum XTPControlFlags {
  xtpFlagRightAlign = 0x01,
  xtpFlagSkipFocus = 0x02,
  xtpFlagLeftPopup = 0x04,
  xtpFlagManualUpdate = 0x08,
  xtpFlagNoMovable = 0x10,
  xtpFlagControlStretched = 0x20,
};

// Button styles.
enum XTPButtonStyle {
  xtpButtonAutomatic = 0,
  xtpButtonCaption = 1,
  xtpButtonIcon = 2,
  xtpButtonIconAndCaption = 3,
};

// The notification a control's execution sends to its update target.
#define XTP_TBN_COMMAND_NOTIFY 0x52D
#define CBN_XTP_EXECUTE 100

struct NMXTPCONTROL {
  NMHDR hdr;
  CXTPControl *pControl;
};

class CXTPControl : public CCmdTarget {
  DECLARE_SERIAL(CXTPControl)
public:
  CXTPControl();
  ~CXTPControl() override;

  // --- Virtual operations -------------------------------------------------
  virtual CString GetTooltip(LPPOINT pPoint = nullptr, LPRECT lpRectTip = nullptr, int *nHit = nullptr) const;
  virtual void SetBeginGroup(BOOL bBeginGroup);
  virtual void SetEnabled(BOOL bEnabled);
  virtual int GetSelected() const { return m_bSelected; }
  virtual void SetRect(CRect rcControl);
  virtual BOOL IsCaptionVisible();
  virtual BOOL Compare(CXTPControl *pOther);
  virtual CXTPCommandBar *GetCommandBar() { return nullptr; }
  virtual CXTPCommandBar *GetCommandBarQuery() { return nullptr; }
  virtual void SetHideFlags(DWORD dwFlags);
  virtual void OnExecute();
  virtual CSize GetSize(CDC *pDC);
  virtual void Draw(CDC *pDC);
  virtual void OnCalcDynamicSize(DWORD /*dwMode*/) {}
  virtual CXTPImageManagerIcon *GetImage(int nWidth = 16);
  virtual void DoPropExchange(CXTPPropExchange *pPX);
  virtual void OnUnderlineActivate() { OnExecute(); }
  virtual BOOL IsTabStop() { return FALSE; }
  virtual void OnTab() {}
  // A key while the bar tracks and this control has the focus: 0 the bar
  // handles it, 1 handled, 2 left to the control's window.
  virtual int OnHookKeyDown(UINT /*nChar*/) { return 0; }
  virtual void SetParent(CXTPCommandBar *pParent) { m_pParent = pParent; }
  virtual void Copy(CXTPControl *pControl, BOOL bRecursive = FALSE);
  virtual void OnSetPopup(BOOL /*bPopup*/) {}
  virtual void OnClick(BOOL /*bKeyboard*/ = FALSE, CPoint /*pt*/ = CPoint(0, 0)) {}
  virtual void OnLButtonUp(CPoint /*point*/) {}
  virtual void OnRButtonUp(CPoint /*point*/) {}
  virtual BOOL OnLButtonDblClk(CPoint point) {
    OnClick(FALSE, point);
    return TRUE;
  }
  virtual void OnMouseMove(CPoint /*point*/) {}
  virtual void OnMouseHover();
  virtual BOOL OnSetSelected(int bSelected);
  virtual void OnCustomizeStartDrag(CPoint point);
  virtual BOOL OnCustomizeResize(CPoint point);
  virtual void OnCustomizeDragOver(CXTPControl *pDataObject, CPoint point, DWORD &dwEffect);
  virtual BOOL IsCustomizeDragOverAvail(CXTPCommandBar * /*pBar*/, CPoint /*point*/, DWORD & /*dwEffect*/) {
    return TRUE;
  }
  virtual BOOL IsCustomizeResizeAllow() const { return FALSE; }
  virtual BOOL IsFocused() const { return FALSE; }
  virtual void SetWidth(int /*nWidth*/) {}
  virtual CXTPControl *Clone(BOOL bRecursive = FALSE);
  // The narrowest width a customise resize leaves.
  virtual int GetCustomizeMinWidth() const { return 0; }

  // --- Non-virtual members -------------------------------------------------
  int GetID() const { return m_nId; }
  void SetID(int nId);
  XTPControlType GetType() const { return static_cast<XTPControlType>(m_controlType); }
  void SetType(XTPControlType type) { m_controlType = type; }
  int GetIndex() const { return m_nIndex; }
  CXTPCommandBar *GetParent() const { return m_pParent; }
  CXTPControls *GetControls() const { return m_pControls; }
  void SetControls(CXTPControls *pControls) { m_pControls = pControls; }
  void SetIndex(int nIndex) { m_nIndex = nIndex; }
  CString GetCaption() const { return m_strCustomCaption.IsEmpty() ? m_strCaption : m_strCustomCaption; }
  void SetCaption(LPCTSTR lpszCaption);
  void SetCustomCaption(LPCTSTR lpszCaption) { m_strCustomCaption = lpszCaption; }
  CString GetCustomCaption() const { return m_strCustomCaption; }
  void SetPrompt(LPCTSTR lpszPrompt);
  CString GetTooltipText() const { return m_strTooltipText; }
  void SetTooltip(LPCTSTR lpszTooltip) { m_strTooltipText = lpszTooltip; }
  CString GetDescription() const { return m_strDescriptionText; }
  void SetDescription(LPCTSTR lpszDescription) { m_strDescriptionText = lpszDescription; }
  CString GetShortcutText() const { return m_strShortcutText; }
  void SetShortcutText(LPCTSTR lpszText) { m_strShortcutText = lpszText; }
  CString GetKeyBindingText() const { return m_strShortcutTextAuto; }
  CString GetParameter() const { return m_strParameter; }
  void SetParameter(LPCTSTR lpszParameter) { m_strParameter = lpszParameter; }
  CString GetCategory() const { return m_strCategory; }
  void SetCategory(LPCTSTR lpszCategory) { m_strCategory = lpszCategory; }
  BOOL GetChecked() const { return m_bChecked; }
  void SetChecked(BOOL bChecked);
  BOOL GetEnabled() const { return m_bEnabled; }
  int GetPressed() const { return m_bPressed; }
  void SetPressed(int nPressed) { m_bPressed = nPressed; }
  BOOL GetBeginGroup() const { return m_bBeginGroup; }
  BOOL GetWrap() const { return m_bWrap; }
  void SetWrap(BOOL bWrap) { m_bWrap = bWrap; }
  int GetTag() const { return m_nTag; }
  void SetTag(int nTag) { m_nTag = nTag; }
  DWORD GetFlags() const { return m_dwFlags; }
  void SetFlags(DWORD dwFlags) { m_dwFlags = dwFlags; }
  DWORD GetHideFlags() const { return m_dwHideFlags; }
  BOOL SetHideFlag(DWORD dwFlag, BOOL bSet);
  BOOL IsVisible() const { return m_dwHideFlags == xtpNoHide; }
  BOOL GetDefaultItem() const { return m_bDefaultItem; }
  void SetDefaultItem(BOOL bDefault);
  BOOL GetTemporary() const { return m_bTemporary; }
  void SetTemporary(BOOL bTemporary) { m_bTemporary = bTemporary; }
  BOOL GetCloseSubMenuOnClick() const { return m_bCloseSubMenuOnClick; }
  void SetCloseSubMenuOnClick(BOOL bClose) { m_bCloseSubMenuOnClick = bClose; }
  CRect GetRect() const { return m_rcControl; }
  CRect GetRowRect() const { return m_rcRow; }
  void SetRowRect(CRect rcRow) { m_rcRow = rcRow; }
  int GetIconId() const;
  void SetIconId(int nId);
  int GetCustomIconId() const { return m_nCustomIconId; }
  void SetCustomIconId(int nId) { m_nCustomIconId = nId; }
  int GetStyle() const { return m_nCustomStyle != 0 ? m_nCustomStyle : m_buttonStyle; }
  void SetStyle(int nStyle) { m_buttonStyle = nStyle; }
  int GetCustomStyle() const { return m_nCustomStyle; }
  void SetCustomStyle(int nStyle) { m_nCustomStyle = nStyle; }

  // The mark of a command shown only when its menu is expanded (a rarely
  // used command of a shortened menu). Clearing it also clears hide flag 32,
  // so the command shows in the menu again.
  BOOL GetExpandedOnly() const { return m_bExpandedOnly; }
  void SetExpandedOnly(BOOL bExpandedOnly);

  // A row of a popup list whose rows have a tick column before the icon
  // (the "Add or Remove Buttons" list) that begins a group: the separator
  // above it starts where its caption starts, and its tick column reaches up
  // across the separator's gap, so the column runs on unbroken. The list
  // sets it on its lines that begin a group.
  BOOL GetJoinsTickColumn() const { return m_bJoinsTickColumn; }
  void SetJoinsTickColumn(BOOL bJoins) { m_bJoinsTickColumn = bJoins; }

  std::set<UINT> &GetDocTemplatesAssigned() { return m_setDocTemplatesAssigned; }
  std::set<UINT> &GetDocTemplatesExcluded() { return m_setDocTemplatesExcluded; }

  BOOL IsCursorOver() const;
  BOOL IsCustomizeMode() const;
  CXTPImageManager *GetImageManager() const;
  CXTPPaintManager *GetPaintManager() const;
  CXTPCommandBars *GetCommandBars() const;
  void RedrawParent();
  void InvalidateParent();
  void DelayLayoutParent();
  void DelayRedraw() { RedrawParent(); }
  void DelayLayout() { DelayLayoutParent(); }

  // The result pointer of a popup tracked for its command (TrackPopupMenu
  // with TPM_RETURNCMD), found on the root of the parent bar chain.
  static UINT *GetRootReturnCommand(CXTPCommandBar *pParent);

  // The message source of the press and resize loops: GetMessage,
  // replaceable by tests.
  typedef BOOL (*GetMessageFunction)(MSG *pMsg);
  static void SetGetMessageFunction(GetMessageFunction pfn) { s_pfnGetMessage = pfn; }
  void CustomizeStartDrag(CPoint point) { OnCustomizeStartDrag(point); }

protected:
  // Where the dragged edge of a customise resize may go.
  static int ClampResizeEdge(int x, int nFixedEdge, BOOL bLeftEdge, int nMinWidth);
  // The custom picture travels with the control through the command bars'
  // image manager.
  void ExchangeCustomIcon(CXTPPropExchange *pPX);

protected:
  static GetMessageFunction s_pfnGetMessage;
  void *m_pReserved = nullptr;
  int m_nTag = 0;
  int m_nIndex = 0;
  int m_nId = 0;
  int m_nIconId = 0;
  int m_nCustomIconId = 0;
  BOOL m_bWrap = FALSE;
  BOOL m_bBeginGroup = FALSE;
  BOOL m_bEnabled = TRUE;
  BOOL m_bChecked = FALSE;
  int m_bSelected = 0;
  int m_bPressed = 0;
  BOOL m_bTemporary = FALSE;
  CRect m_rcRow;
  CRect m_rcControl;
  DWORD m_dwHideFlags = 0;
  DWORD m_dwFlags = 0;
  CString m_strCaption;
  CString m_strCustomCaption;
  CString m_strShortcutText;
  CString m_strShortcutTextAuto;
  CString m_strTooltipText;
  CString m_strDescriptionText;
  CString m_strParameter;
  CXTPControls *m_pControls = nullptr;
  int m_controlType = xtpControlError;
  CXTPCommandBar *m_pParent = nullptr;
  BOOL m_bExpandedOnly = FALSE;
  BOOL m_bJoinsTickColumn = FALSE;
  CString m_strCategory;
  BOOL m_bDefaultItem = FALSE;
  std::set<UINT> m_setDocTemplatesAssigned;
  std::set<UINT> m_setDocTemplatesExcluded;
  int m_buttonStyle = xtpButtonAutomatic;
  int m_nCustomStyle = 0;
  BOOL m_bCloseSubMenuOnClick = TRUE;

  friend class CXTPControls;
};

// Holds one reference on a reference-counted object for a scope.
class CXTPReferenceHold {
public:
  explicit CXTPReferenceHold(CCmdTarget *pTarget) : m_pTarget(pTarget) {
    if (m_pTarget) m_pTarget->InternalAddRef();
  }
  ~CXTPReferenceHold() {
    if (m_pTarget) m_pTarget->InternalRelease();
  }
  CXTPReferenceHold(const CXTPReferenceHold &) = delete;
  CXTPReferenceHold &operator=(const CXTPReferenceHold &) = delete;

private:
  CCmdTarget *m_pTarget;
};
