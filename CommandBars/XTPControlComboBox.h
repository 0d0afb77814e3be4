// CXTPControlComboBox and CXTPControlEdit: the combo box and edit controls of
// command bars. Their class records exist so that a saved bar naming them
// loads; their windows and behaviour come with the combo box and edit.
#pragma once

#include "XTPControl.h"

class CXTPControlComboBox : public CXTPControl {
  DECLARE_SERIAL(CXTPControlComboBox)
public:
  CXTPControlComboBox();

  int GetWidth() const { return m_nWidth; }
  void SetWidth(int nWidth) override { m_nWidth = nWidth; }
  int GetLabelWidth() const { return m_nLabelWidth; }
  void SetLabelWidth(int nWidth) { m_nLabelWidth = nWidth; }
  int GetThumbWidth() const { return m_nThumbWidth; }
  void SetThumbWidth(int nWidth) { m_nThumbWidth = nWidth; }
  BOOL GetDroppedState() const { return m_bDropped; }
  CString GetEditText() const { return m_strEditText; }
  void SetEditText(LPCTSTR lpszText) { m_strEditText = lpszText; }

private:
  int m_nWidth = 100;
  int m_nLabelWidth = 0;
  int m_nThumbWidth = 0;
  BOOL m_bDropped = FALSE;
  CString m_strEditText;
};

class CXTPControlEdit : public CXTPControl {
  DECLARE_SERIAL(CXTPControlEdit)
public:
  CXTPControlEdit();

  int GetWidth() const { return m_nWidth; }
  void SetWidth(int nWidth) override { m_nWidth = nWidth; }
  int GetLabelWidth() const { return m_nLabelWidth; }
  void SetLabelWidth(int nWidth) { m_nLabelWidth = nWidth; }
  BOOL GetShowLabel() const { return m_bLabel; }
  void ShowLabel(BOOL bShow) { m_bLabel = bShow; }
  BOOL GetReadOnly() const { return m_bReadOnly; }
  void SetReadOnly(BOOL bReadOnly) { m_bReadOnly = bReadOnly; }

private:
  BOOL m_bLabel = FALSE;
  int m_nWidth = 100;
  BOOL m_bReadOnly = FALSE;
  int m_nLabelWidth = 0;
};
