#include "XTHeaderCtrl.h"

IMPLEMENT_DYNAMIC(CXTHeaderCtrl, CHeaderCtrl)
IMPLEMENT_DYNAMIC(CXTFlatHeaderCtrl, CXTHeaderCtrl)

void CXTHeaderCtrl::SetFontBold(BOOL) {}

int CXTHeaderCtrl::MarkSortedColumn(int nCol, BOOL bAscending) {
  const int nOld = m_nSortedCol;
  m_nSortedCol = nCol;
  m_bAscending = bAscending;
  if (m_hWnd == nullptr) return nOld;
  for (int i = 0; i < GetItemCount(); ++i) {
    HDITEMW item = {};
    item.mask = HDI_FORMAT;
    GetItem(i, &item);
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (i == nCol && m_bSortArrow) item.fmt |= bAscending ? HDF_SORTUP : HDF_SORTDOWN;
    SetItem(i, &item);
  }
  return nOld;
}

int CXTHeaderCtrl::GetSortedCol(BOOL *pbAscending) const {
  if (pbAscending) *pbAscending = m_bAscending;
  return m_nSortedCol;
}
