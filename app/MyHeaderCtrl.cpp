#include "MyHeaderCtrl.h"

HeaderItemLayout LayoutHeaderItem(CRect item, int blankWidth, bool pressed, bool sorted, bool ascending) {
  HeaderItemLayout layout = {};
  const int o = 2 * blankWidth;
  if (pressed) {
    item.left += 1;
    item.right += 1;
    item.top += 2;
  }
  // The triangle sits in the room the title leaves at the right edge.
  const int right = item.right;
  if (sorted) item.right -= 3 * o;
  layout.text = CRect(item.left + o, item.top, item.right - o, item.bottom);
  layout.showText = layout.text.left < layout.text.right;
  layout.arrow = sorted;
  const int nearX = right - 5 * o / 2;
  const int farX = right - o;
  const int tipX = (nearX + farX) / 2;
  const int high = item.top + o;
  const int low = item.bottom - o;
  const int flatY = ascending ? low : high;
  const int tipY = ascending ? high : low;
  layout.corners[0] = {nearX, flatY};
  layout.corners[1] = {farX, flatY};
  layout.corners[2] = {tipX, tipY};
  return layout;
}

int HeaderItemWidthFor(int titleWidth, int blankWidth) {
  // The margin o on both sides and the triangle's 3 o (LayoutHeaderItem).
  return titleWidth + 5 * 2 * blankWidth;
}

void CMyHeaderCtrl::SetSort(int column, bool ascending) {
  m_sortColumn = column;
  m_ascending = ascending;
  if (m_hWnd != nullptr) Invalidate();
}

LRESULT CMyHeaderCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const bool adds = message == HDM_INSERTITEMW;
  if ((adds || message == HDM_SETITEMW) && lParam != 0) {
    // The caller's item is only read: pass on a copy that asks for owner drawing.
    HDITEMW item = *reinterpret_cast<const HDITEMW *>(lParam);
    if ((item.mask & HDI_FORMAT) == 0 && adds) {
      item.mask |= HDI_FORMAT;
      item.fmt = HDF_LEFT | HDF_STRING;
    }
    if ((item.mask & HDI_FORMAT) != 0) item.fmt |= HDF_OWNERDRAW;
    return CHeaderCtrl::WindowProc(message, wParam, reinterpret_cast<LPARAM>(&item));
  }
  return CHeaderCtrl::WindowProc(message, wParam, lParam);
}

void CMyHeaderCtrl::DrawItem(LPDRAWITEMSTRUCT drawItem) {
  CDC *dc = CDC::FromHandle(drawItem->hDC);
  const CRect rect(drawItem->rcItem);
  const int index = static_cast<int>(drawItem->itemID);
  // The pens outlive the saved state so that they are never deleted while selected.
  CPen lit(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
  CPen dark(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
  const int saved = dc->SaveDC();
  dc->IntersectClipRect(&rect);
  dc->FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
  dc->SelectObject(TitleFont());
  const int blank = dc->GetTextExtent(L" ", 1).cx;

  wchar_t text[256] = {};
  HDITEMW item = {};
  item.mask = HDI_TEXT | HDI_FORMAT;
  item.pszText = text;
  item.cchTextMax = 255;
  GetItem(index, &item);
  UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP | DT_END_ELLIPSIS;
  if ((item.fmt & HDF_JUSTIFYMASK) == HDF_CENTER)
    format |= DT_CENTER;
  else if ((item.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT)
    format |= DT_RIGHT;
  else
    format |= DT_LEFT;

  const bool sorted = index == m_sortColumn;
  HeaderItemLayout layout =
      LayoutHeaderItem(rect, blank, (drawItem->itemState & ODS_SELECTED) != 0, sorted, m_ascending);
  if (layout.showText) {
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
    dc->DrawText(text, -1, &layout.text, format);
  }
  if (layout.arrow) {
    const POINT *corner = layout.corners;
    // Lit from the right and along the flat side, dark along the left slope,
    // so the triangle stands out of the face.
    dc->SelectObject(&lit);
    dc->MoveTo(corner[2]);
    dc->LineTo(corner[1]);
    dc->LineTo(corner[0]);
    dc->SelectObject(&dark);
    dc->LineTo(corner[2]);
  }
  dc->RestoreDC(saved);
}

HGDIOBJ CMyHeaderCtrl::TitleFont() const {
  HFONT font = GetFontHandle();
  return font != nullptr ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT);
}

int CMyHeaderCtrl::WidthShowingTitle(int index) const {
  wchar_t text[256] = {};
  HDITEMW item = {};
  item.mask = HDI_TEXT;
  item.pszText = text;
  item.cchTextMax = 255;
  if (!GetItem(index, &item)) return 0;
  HDC dc = ::GetDC(m_hWnd);
  HGDIOBJ old = ::SelectObject(dc, TitleFont());
  SIZE blank = {}, title = {};
  ::GetTextExtentPoint32W(dc, L" ", 1, &blank);
  ::GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &title);
  ::SelectObject(dc, old);
  ::ReleaseDC(m_hWnd, dc);
  return HeaderItemWidthFor(title.cx, blank.cx);
}
