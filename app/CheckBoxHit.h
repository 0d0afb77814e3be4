// Whether a click falls on a check box, in every list and tree of the
// program that has them. A report list with full-row selection reports a
// click anywhere on a row with flags that hold the state-icon bit (its "on
// the item" value is the icon, label and state-icon bits together), so that
// bit alone does not tell a click on the box from one on another cell.
#pragma once

#include "Framework.h"

// The flags are exactly the state icon's, or the point lies inside the
// row's state-icon rectangle.
bool IsCheckBoxHit(UINT flags, UINT stateIconFlag, POINT point, const RECT &stateIcon);

// The rectangle of a report row's state icon: left of its icon, as wide as
// one picture of the list's state images; empty without them.
CRect ListStateIconRect(const CListCtrl &list, int row);

// The row whose check box lies under the point; -1 for none.
int ListCheckBoxRowAt(const CListCtrl &list, CPoint point);

// Whether a tree's hit flags are its check box: a tree's own hit test
// tells the box apart exactly.
inline bool IsTreeCheckBoxHit(UINT flags) {
  return IsCheckBoxHit(flags, TVHT_ONITEMSTATEICON, POINT{}, RECT{});
}
