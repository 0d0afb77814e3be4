// CXTPControlEdit: a single-line edit box on a command bar, with the control's
// caption as a label in front when asked. The box is a real child window of
// the bar, made the first time the control is laid out and kept in step with
// the control's enabled, hidden and read-only states and its text. While the
// box has the focus the bar tracks the keyboard with the control selected
// and hot tracking rests, so that moving the mouse does not disturb typing.
#pragma once

#include "XTPControl.h"
#include "XTPEdit.h"

class CXTPControlEdit;

// The box. It tells its control when it takes and loses the focus, and
// passes the mouse moving over it on to the bar.
class CXTPControlEditCtrl : public CXTPEdit {
public:
  explicit CXTPControlEditCtrl(CXTPControlEdit *pControl = nullptr) : m_pControl(pControl) {}
  CXTPControlEdit *GetOwnerControl() const { return m_pControl; }
  void SetOwnerControl(CXTPControlEdit *pControl) { m_pControl = pControl; }

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // The box's own notifications as its bar passes them on.
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *pResult) override;

private:
  void OnRButtonDown(UINT nFlags, CPoint point);
  BOOL OnLButtonDown();
  CXTPControlEdit *m_pControl;
  BOOL m_bNotifying = FALSE;
};

class CXTPControlEdit : public CXTPControl {
  DECLARE_SERIAL(CXTPControlEdit)
public:
  CXTPControlEdit();
  ~CXTPControlEdit() override;

  int GetWidth() const { return m_nWidth; }
  void SetWidth(int nWidth) override;
  int GetLabelWidth() const { return m_nLabelWidth; }
  // Set by the paint manager when it measures the control; a new width moves
  // the box at the next layout even when the control's rectangle stays.
  void SetLabelWidth(int nWidth);
  BOOL GetShowLabel() const { return m_bLabel; }
  void ShowLabel(BOOL bShow);
  BOOL GetReadOnly() const { return m_bReadOnly; }
  void SetReadOnly(BOOL bReadOnly);
  // The text: the box's while it exists, else the one held for it.
  CString GetEditText() const;
  void SetEditText(LPCTSTR lpszText);
  CXTPControlEditCtrl *GetEditCtrl() const { return m_pEdit; }

  BOOL IsFocusable() const { return HandleOf() != nullptr; }
  void SetFocus();

  // --- CXTPControl ---------------------------------------------------------
  void SetEnabled(BOOL bEnabled) override;
  void SetRect(CRect rcControl) override;
  BOOL IsCaptionVisible() override;
  BOOL Compare(CXTPControl *pOther) override;
  void SetHideFlags(DWORD dwFlags) override;
  // Hidden on a bar docked on a side.
  void OnCalcDynamicSize(DWORD dwMode) override;
  void DoPropExchange(CXTPPropExchange *pPX) override;
  void OnUnderlineActivate() override { SetFocus(); }
  BOOL IsFocused() const override;
  int OnHookKeyDown(UINT nChar) override;
  void SetParent(CXTPCommandBar *pParent) override;
  void Copy(CXTPControl *pControl, BOOL bRecursive = FALSE) override;
  void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
  void OnMouseHover() override;
  BOOL OnSetSelected(int bSelected) override;
  BOOL IsCustomizeResizeAllow() const override { return TRUE; }
  int GetCustomizeMinWidth() const override;

  // --- The box's events ----------------------------------------------------
  // A derived control may bring its own box.
  virtual CXTPControlEditCtrl *CreateEditControl() { return new CXTPControlEditCtrl; }
  // The box took the focus from hWndOld: the bar takes the keys with this
  // control selected and hot tracking rests.
  virtual void OnEditSetFocus(HWND hWndOld);
  virtual void OnEditKillFocus();
  // The user changed the text: the owner hears it as the control's EN_CHANGE.
  virtual void OnEditChanged();
  // The box's colours: the window's while the control is enabled, else none
  // (the box's own disabled look).
  virtual HBRUSH OnCtlColor(CDC *pDC);
  // Esc in the box: the focus goes back where it came from.
  void OnEditEscape();

private:
  HWND HandleOf() const { return XTPBarField::HandleOf(m_pEdit); }
  void MakeEditObject();
  void CreateEditWindow();
  // The focus goes back to the window the bar remembered.
  void GiveFocusBack();
  // Hot tracking comes back (the lock this control holds goes).
  void ReleaseMouseLock();

  CXTPControlEditCtrl *m_pEdit = nullptr;
  int m_nWidth = 100;
  CString m_strEditText;
  BOOL m_bLabel = TRUE;
  BOOL m_bReadOnly = FALSE;
  int m_nLabelWidth = 0;
  BOOL m_bForceReposition = FALSE;
  // Set while the box has the focus: this control holds one count of the
  // mouse manager's lock.
  BOOL m_bMouseLocked = FALSE;
  // Set while the program itself writes the box's text.
  BOOL m_bQuiet = FALSE;

  friend class CXTPControlEditCtrl;
};
