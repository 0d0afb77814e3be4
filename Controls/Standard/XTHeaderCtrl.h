// Interim column header until the themed header lands: it only remembers the
// sorted column and shows it with the header control's own arrows.
#pragma once

#include "FrameworkControls.h"

class CXTHeaderCtrl : public CHeaderCtrl {
  DECLARE_DYNAMIC(CXTHeaderCtrl)
public:
  virtual void SetFontBold(BOOL bBoldFont = TRUE);
  virtual void ShowSortArrow(BOOL bSortArrow) { m_bSortArrow = bSortArrow; }
  int MarkSortedColumn(int nCol, BOOL bAscending);
  int GetSortedCol(BOOL *pbAscending = nullptr) const;
  BOOL HasSortArrow() const { return m_bSortArrow; }

protected:
  int m_nSortedCol = -1;
  BOOL m_bAscending = TRUE;
  BOOL m_bSortArrow = FALSE;
};

class CXTFlatHeaderCtrl : public CXTHeaderCtrl {
  DECLARE_DYNAMIC(CXTFlatHeaderCtrl)
public:
  CXTFlatHeaderCtrl() { m_bSortArrow = TRUE; }
};
