// CXTPControlComboBox: the combo box control of command bars. A combo shows
// a read-only text, or an edit field when it is a drop-down, beside a button that drops down a list of texts;
// choosing a text from the list sets it and runs the combo's command.
#pragma once

#include "XTPControlPopup.h"
#include "XTPEdit.h"
#include "XTPPopupBar.h"

#include <vector>

class CXTPControlComboBox;
class CXTPPropExchange;

// The drop-down list: a popup bar whose window is a list box. It holds the
// texts itself and makes its window only when it first drops down (a stored
// layout with many combos must not make a window for each), then tracks the
// mouse and keys on its own while it is down.
class CXTPControlComboBoxList : public CXTPPopupBar {
  DECLARE_DYNCREATE(CXTPControlComboBoxList)
public:
  static const int kMaxVisibleItems = 12;

  CXTPControlComboBoxList();

  BOOL CreateListWindow();
  int AddString(LPCTSTR lpszText);
  int GetCount() const;
  CString GetText(int nIndex) const;
  int GetCurSel() const;
  void SetCurSel(int nIndex);
  void ResetContent();
  int GetItemHeight() const;

  // The width the list drops down with; 0: the combo's.
  int GetListWidth() const { return m_nListWidth; }
  void SetListWidth(int nWidth) { m_nListWidth = nWidth; }

  // Drops down under the combo and tracks until it closes.
  void DropDown(CXTPControlComboBox *pCombo);
  BOOL IsDroppedDown() const { return m_bDropped; }
  void CopyList(CXTPControlComboBoxList *pOther);
  // The "Items" section: a count and one text per item.
  void ExchangeItems(CXTPPropExchange *pPX);

  // Where the drop-down loop takes its messages (tests feed it).
  typedef BOOL (*GetMessageFunction)(MSG *pMsg);
  static void SetGetMessageFunction(GetMessageFunction pfn) { s_pfnGetMessage = pfn; }

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  void Track();
  // One message of the drop-down loop; FALSE when the list closes.
  BOOL OnTrackMessage(const MSG &msg);

  CXTPControlComboBox *m_pCombo = nullptr;
  int m_nListWidth = 0;
  BOOL m_bDropped = FALSE;
  // The texts and the selection; the window, once made, shows the same.
  std::vector<CString> m_arrItems;
  int m_nCurSel = -1;
  static GetMessageFunction s_pfnGetMessage;
};

// The combo's edit field.
class CXTPControlComboBoxEditCtrl : public CXTPEdit {
public:
  explicit CXTPControlComboBoxEditCtrl(CXTPControlComboBox *pCombo) : m_pCombo(pCombo) {}
  CXTPControlComboBox *GetComboBox() const { return m_pCombo; }

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  CXTPControlComboBox *m_pCombo;
  BOOL m_bInDialogKey = FALSE;
};

class CXTPControlComboBox : public CXTPControlPopup {
  DECLARE_SERIAL(CXTPControlComboBox)
public:
  CXTPControlComboBox();
  ~CXTPControlComboBox() override;

  int GetWidth() const { return m_nWidth; }
  void SetWidth(int nWidth) override;
  int GetLabelWidth() const { return m_nLabelWidth; }
  void SetLabelWidth(int nWidth) { m_nLabelWidth = nWidth; }
  int GetThumbWidth() const { return m_nThumbWidth; }
  void SetThumbWidth(int nWidth) { m_nThumbWidth = nWidth; }
  BOOL GetDroppedState() const { return m_bDropped; }

  // The text: the edit field's while it exists, else the stored one.
  CString GetEditText() const;
  void SetEditText(LPCTSTR lpszText);

  // A drop-down combo has an edit field.
  BOOL GetDropDown() const { return m_bDropDown; }
  void SetDropDown(BOOL bDropDown);
  // The style word as it was given or loaded. What style 1 changes is not
  // known; it is kept and saved as it stands.
  int GetComboStyle() const { return m_nComboStyle; }
  void SetComboStyle(int nStyle) { m_nComboStyle = nStyle; }
  CXTPControlComboBoxEditCtrl *GetEditCtrl() const { return m_pEdit; }
  CXTPControlComboBoxList *GetList() const { return m_pList; }

  int AddString(LPCTSTR lpszText) { return m_pList->AddString(lpszText); }
  int GetCount() const { return m_pList->GetCount(); }
  int GetCurSel() const { return m_nCurSel; }
  void SetCurSel(int nIndex);
  // The list's selection became the combo's: its text shows.
  void OnSelChanged();
  void DropDown();

  // Keys typed into the edit field: TRUE handled, 2 left to the edit.
  int OnEditKeyDown(UINT nChar);
  void OnEditFocus(BOOL bFocused);

  void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
  void OnUnderlineActivate() override { OnClick(TRUE); }
  void OnSetPopup(BOOL bPopup) override { SetPopupState(bPopup); }
  void OnMouseHover() override {}
  void OnLButtonUp(CPoint /*point*/) override {}
  BOOL OnLButtonDblClk(CPoint point) override {
    OnClick(FALSE, point);
    return TRUE;
  }
  BOOL OnSetSelected(int bSelected) override { return CXTPControlButton::OnSetSelected(bSelected); }
  BOOL IsFocused() const override;
  void SetRect(CRect rcControl) override;
  void SetParent(CXTPCommandBar *pParent) override;
  void SetHideFlags(DWORD dwFlags) override;
  // Hidden on a bar docked on a side, as the edit control is.
  void OnCalcDynamicSize(DWORD dwMode) override {
    SetHideFlag(xtpHideDockingPosition, (dwMode & LM_VERTDOCK) != 0);
  }
  // A disabled combo's field takes no typing.
  void SetEnabled(BOOL bEnabled) override;
  void Copy(CXTPControl *pControl, BOOL bRecursive = FALSE) override;
  BOOL Compare(CXTPControl *pOther) override;
  void DoPropExchange(CXTPPropExchange *pPX) override;

protected:
  // The edit field's window object (a derived combo may bring its own).
  virtual CXTPControlComboBoxEditCtrl *CreateEditCtrl() { return new CXTPControlComboBoxEditCtrl(this); }

private:
  void CreateEditWindow();
  void DestroyEditWindow();
  CRect GetEditRect() const;

  CXTPControlComboBoxList *m_pList = nullptr;
  CXTPControlComboBoxEditCtrl *m_pEdit = nullptr;
  BOOL m_bDropDown = FALSE;
  int m_nComboStyle = 0;
  int m_nWidth = 100;
  int m_nLabelWidth = 0;
  int m_nThumbWidth = 0;
  BOOL m_bDropped = FALSE;
  CString m_strEditText;
  int m_nCurSel = -1;
  int m_nLastSel = -1;

  friend class CXTPControlComboBoxList;
  friend class CXTPControlComboBoxEditCtrl;
};

// The edit control was declared here first; its users still include this.
#include "XTPControlEdit.h"
