// Stand-in for the toolkit's owner-drawn sort header until the toolkit joins
// the program: the plain header control's own sort arrows mark the sorted
// column. Every list that shows a sort direction goes through this unit, so
// the toolkit's header replaces this one place.
#pragma once

#include "Framework.h"

class SortHeaderStandIn {
public:
  // The sorted column (-1: none) and its direction, as the owning list sorted.
  int SortColumn() const { return m_sortColumn; }
  bool Ascending() const { return m_ascending; }

  // Marks the column (-1: none) on the header and clears every other mark.
  void ShowSort(CHeaderCtrl *header, int column, bool ascending);

private:
  int m_sortColumn = -1;
  bool m_ascending = true;
};
