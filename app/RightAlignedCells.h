// The texts of a report list's right-aligned columns, drawn by the program.
//
// The list draws a right-aligned text clipped at the rectangle it places the
// text in by the text's measured width. Under Wine a long text, such as a
// date with its time, is drawn a pixel wider than the system measures it, so
// the last pixel column of its last glyph falls outside and is cut, whatever
// the column's width. Drawn here, the text
// keeps the list's margin and colours and is clipped at its cell only.
#pragma once

#include "Framework.h"

// The space between a right-aligned text and its cell's right edge.
constexpr int kRightCellTextMargin = 6;

// At the sub-item pre-paint stage, once the colours of the cell are chosen in
// draw: draws a right-aligned sub-item's background and text, sets result to
// skip the list's own drawing of it and returns true. Any other stage or
// column is left to the list (false).
bool DrawRightAlignedCell(CListCtrl &list, NMLVCUSTOMDRAW &draw, LRESULT &result);
