#include "GalleryHeaderSection.h"

#include "GalleryResource.h"

namespace {

const LPCTSTR kLookNames[CGalleryHeaderSection::kLooks] = {
    L"Default: Name ascending", L"Flat: Size descending", L"Shaded, with pictures"};

} // namespace

void CGalleryHeaderSection::Draw(CDC *pDC, const CRect &rcBody) {
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
  for (int look = 0; look < kLooks; look++)
    pDC->TextOut(rcBody.left, rcBody.top + look * kRowHeight + 6, kLookNames[look]);
}

void CGalleryHeaderSection::Create(CWnd *pParent, const CRect &rcBody) {
  struct Column {
    LPCTSTR title;
    int format, width;
  };
  static const Column kColumns[] = {{L"Name", LVCFMT_LEFT, 170},
                                    {L"Size", LVCFMT_RIGHT, 90},
                                    {L"Modified Date", LVCFMT_RIGHT, 130},
                                    {L"Status", LVCFMT_CENTER, 90}};
  for (int look = 0; look < kLooks; look++) {
    const int top = rcBody.top + look * kRowHeight;
    // Only the header shows: the list is cut just below it.
    const CRect rc(rcBody.left + kLabelWidth, top, rcBody.left + kLabelWidth + kListWidth,
                   top + kRowHeight - 4);
    CListCtrl &list = m_list[look];
    if (!list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_NOSCROLL, rc, pParent, 100 + look)) continue;
    int index = 0;
    for (const Column &column : kColumns)
      list.InsertColumn(index++, column.title, column.format, column.width);
    CXTHeaderCtrl &header = m_header[look];
    if (!header.SubclassWindow(ListView_GetHeader(list.m_hWnd))) continue;
    if (look == 1) header.SetTheme(new CXTHeaderThemeFlat);
    if (look == 2) {
      for (int column = 0; column < 3; column++)
        header.SetBitmap(column, IDB_GALLERY_HEADER_FIRST + column, FALSE, RGB(0, 255, 0));
      header.SetTheme(new CXTHeaderThemeShaded);
    }
    if (look == 0) header.SetTheme(new CXTHeaderTheme);
    header.MarkSortedColumn(look == 1 ? 1 : 0, look != 1);
  }
}
