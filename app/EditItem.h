// CEditItem: the edit the signature lists open over a cell to change its
// text in place.
#pragma once

#include "Framework.h"

// The in-place edit over one cell. It owns itself: it ends by telling the
// list's parent the text (none when Escape cancelled it) and destroying itself.
class CEditItem : public CEdit {
public:
  CEditItem(int row, int column, CString text) : m_row(row), m_column(column), m_text(std::move(text)) {}

  afx_msg int OnCreate(LPCREATESTRUCT create);
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnChar(UINT character, UINT repeat, UINT flags);
  afx_msg void OnKillFocus(CWnd *next);

protected:
  void PostNcDestroy() override { delete this; }

private:
  int m_row;
  int m_column;
  CString m_text;
  bool m_cancelled = false;

  DECLARE_MESSAGE_MAP()
};
