#include "RightAlignedCells.h"

namespace {

// The colours the list itself would use for the cell: a selected row of a
// full-row list shows the selection, whatever the cell was given.
void SelectionColours(CListCtrl &list, int row, COLORREF &text, COLORREF &back) {
  if ((list.GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED) == 0) return;
  if ((list.GetExtendedStyle() & LVS_EX_FULLROWSELECT) == 0) return;
  if (::GetFocus() == list.m_hWnd) {
    text = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    back = ::GetSysColor(COLOR_HIGHLIGHT);
  } else if ((list.GetStyle() & LVS_SHOWSELALWAYS) != 0) {
    text = ::GetSysColor(COLOR_BTNTEXT);
    back = ::GetSysColor(COLOR_3DFACE);
  }
}

} // namespace

bool DrawRightAlignedCell(CListCtrl &list, NMLVCUSTOMDRAW &draw, LRESULT &result) {
  if (draw.nmcd.dwDrawStage != (CDDS_ITEMPREPAINT | CDDS_SUBITEM) || draw.iSubItem <= 0) return false;
  LVCOLUMNW column = {};
  column.mask = LVCF_FMT;
  if (!list.GetColumn(draw.iSubItem, &column) || (column.fmt & LVCFMT_JUSTIFYMASK) != LVCFMT_RIGHT)
    return false;
  const int row = static_cast<int>(draw.nmcd.dwItemSpec);
  CRect cell;
  if (!list.GetSubItemRect(row, draw.iSubItem, LVIR_BOUNDS, cell) || cell.IsRectEmpty()) return false;

  COLORREF text = draw.clrText, back = draw.clrTextBk;
  if (text == CLR_DEFAULT) text = ::GetSysColor(COLOR_WINDOWTEXT);
  if (back == CLR_DEFAULT) back = ListView_GetTextBkColor(list.m_hWnd);
  SelectionColours(list, row, text, back);

  HDC dc = draw.nmcd.hdc;
  const int saved = ::SaveDC(dc);
  ::IntersectClipRect(dc, cell.left, cell.top, cell.right, cell.bottom);
  if (back != CLR_NONE) {
    ::SetBkColor(dc, back);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &cell, nullptr, 0, nullptr);
  }
  if (HFONT font = reinterpret_cast<HFONT>(list.SendMessage(WM_GETFONT))) ::SelectObject(dc, font);
  ::SetTextColor(dc, text);
  ::SetBkMode(dc, TRANSPARENT);
  CRect textRect = cell;
  textRect.DeflateRect(kRightCellTextMargin, 0);
  // The grid line takes the cell's last row of pixels: centred above it, as
  // the list centres the other columns' texts.
  if ((list.GetExtendedStyle() & LVS_EX_GRIDLINES) != 0) --textRect.bottom;
  const CString label = list.GetItemText(row, draw.iSubItem);
  // Not clipped at the text's rectangle, only at the cell: the ink of the
  // last glyph stays whole; a text too long for the cell ends in "...".
  ::DrawTextW(dc, label, -1, &textRect,
              DT_RIGHT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | DT_NOCLIP);
  ::RestoreDC(dc, saved);
  result = CDRF_SKIPDEFAULT;
  return true;
}
