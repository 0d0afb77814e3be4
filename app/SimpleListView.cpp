#include "SimpleListView.h"

#include "QuendalVarnoth.h"
#include "SearchedDriveGuard.h"
#include "resource.h"

IMPLEMENT_DYNCREATE(CSimpleListView, CXTListView)

BEGIN_MESSAGE_MAP(CSimpleListView, CXTListView)
ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

// The room a cell's text takes beside the text itself: the list's margins
// on both sides of it.
constexpr int kCellTextMargin = 14;

} // namespace

void CSimpleListView::OnDestroy() {
  CQuendalVarnothApp &app = TheQvApp();
  if (app.LogView == this) app.LogView = nullptr;
  CXTListView::OnDestroy();
}

BOOL CSimpleListView::PreCreateWindow(CREATESTRUCT &cs) {
  cs.style |= LVS_REPORT;
  return CXTListView::PreCreateWindow(cs);
}

void CSimpleListView::OnInitialUpdate() {
  CXTListView::OnInitialUpdate();
  if (m_rowImages.GetSafeHandle() != nullptr) return;
  EnableRowColors(TRUE);
  EnableSortedColumnTint(TRUE);
  if (!m_rowImages.Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 20)) {
    OutputDebugStringW(L"Failed to create image list.\n");
    return;
  }
  struct Column {
    UINT title;
    int width;
    int format;
  };
  static const Column columns[] = {{IDS_LOG_ACTIVITY, 192, LVCFMT_LEFT},
                                   {IDS_LOG_TEXT, 300, LVCFMT_LEFT},
                                   {IDS_LOG_STATUS, 400, LVCFMT_RIGHT}};
  CListCtrl &list = GetListCtrl();
  int index = 0;
  for (const Column &column : columns) {
    CString title;
    title.LoadString(column.title);
    list.InsertColumn(index++, title, column.format, column.width);
  }
  if (m_header.SubclassWindow(ListView_GetHeader(m_hWnd))) {
    for (int column = 0; column < index; column++)
      m_header.SetBitmap(column, IDB_LOG_HEADER_ACTIVITY + column, FALSE, RGB(0, 255, 0));
    m_header.SetTheme(new CXTHeaderThemeShaded);
  }
  TheQvApp().LogView = this;
  for (UINT icon : {IDI_LOG_COMPLETED, IDI_LOG_STARTED, IDI_LOG_ERROR})
    m_rowImages.Add(AfxGetApp()->LoadIcon(icon));
  list.SetImageList(&m_rowImages, LVSIL_SMALL);
}

void CSimpleListView::AddLogEntry(LPCTSTR activity, LPCTSTR text, LPCTSTR status, int image) {
  if (m_hWnd == nullptr) return;
  CListCtrl &list = GetListCtrl();
  CQuendalVarnothApp &app = TheQvApp();
  int row = list.GetItemCount();
  app.LogRowCount = row;
  // Once the log scrolls, the list would redraw its scroll bar on the spot
  // twice for a new line, for the row and for the scroll (under Wine tens
  // of milliseconds inside the search that logs it). The line is added
  // while the window is not drawable (its own flag: the list still keeps
  // its rows and bars up to date); then the rows in view move up as the
  // list would move them, and the new row and the bars are painted with
  // the next pump.
  const bool drawable = (list.GetStyle() & WS_VISIBLE) != 0;
  const int topBefore = list.GetTopIndex();
  // Making the window not drawable validates it and its header: what was
  // still to be painted (the lines added since the last pump) is noted and
  // marked again afterwards.
  PendingPaint pending;
  if (drawable) {
    pending.Note(list);
    ::DefWindowProcW(list.m_hWnd, WM_SETREDRAW, FALSE, 0);
  }
  list.InsertItem(row, activity ? activity : L"", image & 0xFF);
  list.SetItemText(row, 1, text ? text : L"");
  list.SetItemText(row, 2, status ? status : L"");
  // The newest line stays in view: it says how the search, recovery or save ended.
  list.EnsureVisible(row, FALSE);
  if (drawable) {
    ::DefWindowProcW(list.m_hWnd, WM_SETREDRAW, TRUE, 0);
    ShowAddedRow(row, topBefore, pending);
  }
  FitActivity(row, activity);
  app.LogNotEmpty = 1;
  app.LogRowCount = row + 1;
}

CSimpleListView::PendingPaint::~PendingPaint() {
  if (m_rows) ::DeleteObject(m_rows);
}

void CSimpleListView::PendingPaint::Note(CListCtrl &list) {
  m_rows = ::CreateRectRgn(0, 0, 0, 0);
  if (::GetUpdateRgn(list.m_hWnd, m_rows, FALSE) == NULLREGION) {
    ::DeleteObject(m_rows);
    m_rows = nullptr;
  }
  if (CHeaderCtrl *header = list.GetHeaderCtrl())
    if (::GetUpdateRect(header->m_hWnd, &m_headerRect, FALSE)) m_header = header->m_hWnd;
}

void CSimpleListView::PendingPaint::MarkAgain(CListCtrl &list, int scrolledBy) const {
  if (m_rows) {
    ::OffsetRgn(m_rows, 0, scrolledBy);
    ::InvalidateRgn(list.m_hWnd, m_rows, FALSE);
  }
  if (m_header) ::InvalidateRect(m_header, &m_headerRect, FALSE);
}

void CSimpleListView::ShowAddedRow(int row, int topBefore, const PendingPaint &pending) {
  CListCtrl &list = GetListCtrl();
  CRect client;
  list.GetClientRect(&client);
  CRect rows = client;
  if (CHeaderCtrl *header = list.GetHeaderCtrl()) {
    CRect headerRect;
    header->GetWindowRect(&headerRect);
    rows.top += headerRect.Height();
  }
  CRect item;
  const int shift = list.GetTopIndex() - topBefore;
  int scrolledBy = 0;
  if (shift != 0 && list.GetItemRect(list.GetTopIndex(), &item, LVIR_BOUNDS)) {
    scrolledBy = -shift * item.Height();
    ::ScrollWindowEx(list.m_hWnd, 0, scrolledBy, &rows, &rows, nullptr, nullptr, SW_INVALIDATE);
  }
  // Rows still to be painted moved with the others.
  pending.MarkAgain(list, scrolledBy);
  if (list.GetItemRect(row, &item, LVIR_BOUNDS)) list.InvalidateRect(&item, FALSE);
  // The bars lie outside the client area: only the frame is marked.
  CRect window;
  list.GetWindowRect(&window);
  list.ScreenToClient(&window);
  HRGN frame = ::CreateRectRgnIndirect(&window);
  HRGN inside = ::CreateRectRgnIndirect(&client);
  ::CombineRgn(frame, frame, inside, RGN_DIFF);
  ::RedrawWindow(list.m_hWnd, nullptr, frame, RDW_FRAME | RDW_INVALIDATE);
  ::DeleteObject(inside);
  ::DeleteObject(frame);
}

void CSimpleListView::FitActivity(int row, LPCTSTR activity) {
  // Activities are few texts, logged again and again: each is measured once.
  if (activity == nullptr || *activity == 0 || !m_fittedActivities.insert(activity).second) return;
  CListCtrl &list = GetListCtrl();
  CRect label, bounds;
  if (!list.GetItemRect(row, &label, LVIR_LABEL) || !list.GetItemRect(row, &bounds, LVIR_BOUNDS)) return;
  // The row's picture stands before the text.
  const int needed = label.left - bounds.left + list.GetStringWidth(activity) + kCellTextMargin;
  if (needed > list.GetColumnWidth(0)) list.SetColumnWidth(0, needed);
}

LRESULT CSimpleListView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CXTListView::WindowProc(message, wParam, lParam);
  // The list moves what lies right of a widened column and draws only the
  // room it gained: its rows drawn before keep the ellipsis of the old width.
  if (message == WM_NOTIFY) {
    const auto *notify = reinterpret_cast<const NMHEADERW *>(lParam);
    if (notify->hdr.hwndFrom == m_header.GetSafeHwnd() &&
        (notify->hdr.code == HDN_ITEMCHANGEDW || notify->hdr.code == HDN_ITEMCHANGEDA))
      RedrawColumn(notify->iItem);
  }
  return result;
}

void CSimpleListView::RedrawColumn(int column) {
  CListCtrl &list = GetListCtrl();
  CHeaderCtrl *header = list.GetHeaderCtrl();
  CRect item;
  if (header == nullptr || !header->GetItemRect(column, &item)) return;
  header->MapWindowPoints(&list, &item);
  CRect client;
  list.GetClientRect(&client);
  list.InvalidateRect(CRect(item.left, client.top, item.right, client.bottom), FALSE);
}

CString CSimpleListView::GetLogItemText(int row, int column) const {
  return GetListCtrl().GetItemText(row, column);
}

int CSimpleListView::GetLogRowCount() const {
  return m_hWnd ? GetListCtrl().GetItemCount() : 0;
}

void CSimpleListView::ClearLog() {
  if (m_hWnd) GetListCtrl().DeleteAllItems();
}

std::vector<LogRow> CSimpleListView::GetLogRows() const {
  std::vector<LogRow> rows;
  int count = GetLogRowCount();
  for (int row = 0; row < count; row++) {
    LogRow cells;
    for (int column = 0; column < 3; column++) cells[column] = GetLogItemText(row, column).GetString();
    rows.push_back(cells);
  }
  return rows;
}

void CSimpleListView::SaveLog(CWnd *owner) {
  CString defaultName, filterName, title, reportTitle;
  defaultName.LoadString(IDS_LOG_DEFAULT_NAME);
  filterName.LoadString(IDS_LOG_FILTER);
  title.LoadString(IDS_LOG_SAVE_TITLE);
  reportTitle.LoadString(IDS_LOG_REPORT_TITLE);
  CString filter;
  filter.Format(L"%s(*.txt)|*.txt||", filterName.GetString());
  std::wstring path;
  // A place on the drive whose results are loaded is refused and the dialog asks again.
  for (;;) {
    CFileDialog dialog(FALSE, nullptr, defaultName, OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, filter, owner);
    dialog.m_ofn.lpstrTitle = title;
    if (dialog.DoModal() != IDOK) return;
    // The full path, so the report lands in the folder the user chose whatever
    // the current folder is.
    path = LogReportFileName(dialog.GetPathName().GetString());
    if (!RefuseFileOnSearchedDrive(owner ? owner->m_hWnd : m_hWnd, path)) break;
  }
  HANDLE file =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  std::string report = BuildLogReport(reportTitle.GetString(), GetLogRows());
  DWORD written = 0;
  WriteFile(file, report.data(), (DWORD)report.size(), &written, nullptr);
  CloseHandle(file);
}
