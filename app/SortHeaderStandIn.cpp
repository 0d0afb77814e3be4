#include "SortHeaderStandIn.h"

void SortHeaderStandIn::ShowSort(CHeaderCtrl *header, int column, bool ascending) {
  m_sortColumn = column;
  m_ascending = ascending;
  if (header == nullptr) return;
  for (int index = 0; index < header->GetItemCount(); ++index) {
    HDITEMW item = {};
    item.mask = HDI_FORMAT;
    header->GetItem(index, &item);
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (index == column) item.fmt |= ascending ? HDF_SORTUP : HDF_SORTDOWN;
    header->SetItem(index, &item);
  }
}
