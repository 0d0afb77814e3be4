#include "QuendalVarnothView.h"

#include "resource.h"

IMPLEMENT_DYNCREATE(CQuendalVarnothView, CListView)

BOOL CQuendalVarnothView::PreCreateWindow(CREATESTRUCT &cs) {
  cs.style |= LVS_REPORT | LVS_SHOWSELALWAYS;
  return CListView::PreCreateWindow(cs);
}

void CQuendalVarnothView::OnInitialUpdate() {
  CListView::OnInitialUpdate();
  if (m_columnsMade) return;
  m_columnsMade = true;
  struct Column {
    UINT title;
    int width;
    int format;
  };
  static const Column columns[] = {
      {IDS_COLUMN_NAME, 200, LVCFMT_LEFT},     {IDS_COLUMN_TYPE, 70, LVCFMT_LEFT},
      {IDS_COLUMN_SIZE, 80, LVCFMT_RIGHT},     {IDS_COLUMN_MODIFIED, 127, LVCFMT_RIGHT},
      {IDS_COLUMN_CREATED, 127, LVCFMT_RIGHT}, {IDS_COLUMN_STATUS, 70, LVCFMT_RIGHT},
      {IDS_COLUMN_FILE_ID, 80, LVCFMT_RIGHT},
  };
  CListCtrl &list = GetListCtrl();
  list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
  int index = 0;
  for (const Column &column : columns) {
    CString title;
    title.LoadString(column.title);
    list.InsertColumn(index++, title, column.format, column.width);
  }
}
