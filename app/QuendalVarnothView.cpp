#include "QuendalVarnothView.h"
#include "AppText.h"
#include "CheckBoxHit.h"

#include "EntryDates.h"
#include "FileListSort.h"
#include "LeftView.h"
#include "MainFrm.h"
#include "QuendalVarnoth.h"
#include "RightAlignedCells.h"
#include "ShownText.h"
#include "TreeEntryNode.h"
#include "resource.h"

#include <algorithm>
#include <string>

IMPLEMENT_DYNCREATE(CQuendalVarnothView, CXTListView)

BEGIN_MESSAGE_MAP(CQuendalVarnothView, CXTListView)
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_NOTIFY_REFLECT(LVN_COLUMNCLICK, OnColumnClick)
ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnListCustomDraw)
END_MESSAGE_MAP()

namespace {

constexpr int kColumnCount = 7;
enum Column { kName, kType, kSize, kModified, kCreated, kStatus, kFileId };
// Row images: folder, deleted folder, file, deleted file.
constexpr int kFolderRowImage = 0;
constexpr int kFileRowImage = 2;

// List state images 2, 3 and 4 are unchecked, checked and partly checked.
UINT RowStateOfCheck(uint8_t check) {
  return INDEXTOSTATEIMAGEMASK(check + 2);
}

UINT TypeTextId(const EntryRecord &record) {
  if (record.IsFolder()) return record.m_deleted ? IDS_DELETED_FOLDER : IDS_FOLDER;
  return record.m_deleted ? IDS_DELETED_FILE : IDS_FILE;
}

CString SizeText(const EntryRecord &record) {
  CString text;
  text.Format(L"%I64u", record.IsFolder() ? 0ULL : static_cast<unsigned long long>(record.m_size));
  return text;
}

CString GradeText(const EntryRecord &record) {
  if (record.IsFolder()) return CString();
  // An empty file has nothing to recover, whatever the engine graded it.
  if (record.m_size == 0 || record.m_grade > RecoveryGrade::NotApplicable)
    return LoadText(IDS_GRADE_NOT_APPLICABLE);
  return LoadText(IDS_GRADE_POOR + static_cast<UINT>(record.m_grade));
}

// Modified: words C/D; created: words E/F (FAT time then date, NTFS low then
// high half of the file time).
CString DateText(const EntryRecord &record, int firstWord, bool ntfs) {
  const uint32_t low = record.m_dateWords[firstWord], high = record.m_dateWords[firstWord + 1];
  if (high == 0) return kNoDateText;
  return ntfs ? NtfsDateText((static_cast<uint64_t>(high) << 32) | low).c_str()
              : FatDateText(high, low).c_str();
}

// The room a row's text takes in a column: the list's margins on both sides
// and the grid line.
constexpr int kCellTextMargin = 14;

// Digits are all of one width: texts that differ only in their digits, as
// dates and sizes do, are measured once.
std::wstring TextShape(const CString &text) {
  std::wstring shape(static_cast<LPCTSTR>(text));
  for (wchar_t &c : shape)
    if (c >= L'1' && c <= L'9') c = L'0';
  return shape;
}

} // namespace

BOOL CQuendalVarnothView::PreCreateWindow(CREATESTRUCT &cs) {
  if (m_smallImages.m_hImageList == nullptr) {
    m_smallImages.Create(IDB_FILE_LIST_SMALL, 16, 1, RGB(0, 255, 0));
    m_largeImages.Create(IDB_FILE_LIST_LARGE, 32, 1, RGB(0, 255, 0));
    m_stateImages.Create(IDB_TREE_STATES, 14, 1, RGB(255, 255, 255));
  }
  cs.style |= LVS_REPORT | LVS_SHOWSELALWAYS;
  return CXTListView::PreCreateWindow(cs);
}

void CQuendalVarnothView::OnInitialUpdate() {
  CXTListView::OnInitialUpdate();
  CQuendalVarnothApp &app = TheQvApp();
  if (app.ScanWindowInfo) app.ScanWindowInfo->listWindow = m_hWnd;
  if (m_columnsMade) return;
  m_columnsMade = true;
  // Even rows, the Find highlight and the sorted column are coloured by the list.
  EnableRowColors(TRUE);
  EnableSortedColumnTint(TRUE);
  struct ColumnInfo {
    UINT title;
    int width;
    int format;
  };
  static const ColumnInfo columns[kColumnCount] = {
      {IDS_COLUMN_NAME, 200, LVCFMT_LEFT},     {IDS_COLUMN_TYPE, 70, LVCFMT_LEFT},
      {IDS_COLUMN_SIZE, 80, LVCFMT_RIGHT},     {IDS_COLUMN_MODIFIED, 127, LVCFMT_RIGHT},
      {IDS_COLUMN_CREATED, 127, LVCFMT_RIGHT}, {IDS_COLUMN_STATUS, 70, LVCFMT_RIGHT},
      {IDS_COLUMN_FILE_ID, 80, LVCFMT_RIGHT},
  };
  CListCtrl &list = GetListCtrl();
  list.SetImageList(&m_largeImages, LVSIL_NORMAL);
  list.SetImageList(&m_smallImages, LVSIL_SMALL);
  list.SetImageList(&m_stateImages, LVSIL_STATE);
  list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
  int index = 0;
  for (const ColumnInfo &column : columns)
    list.InsertColumn(index++, LoadText(column.title), column.format, column.width);
  if (m_header.SubclassWindow(ListView_GetHeader(m_hWnd))) {
    m_header.SetTheme(new CXTHeaderThemeShaded);
    m_header.ShowSortArrow(TRUE);
  }
  m_sortingAllowed = true;
  CFrameWnd *frame = GetParentFrame();
  if (frame != nullptr && frame->IsKindOf(RUNTIME_CLASS(CMainFrame))) {
    auto *main = static_cast<CMainFrame *>(frame);
    CStatusBar *status = main->GetStatusBar();
    if (status != nullptr && status->m_hWnd != nullptr) {
      main->UpdateTotalsPane(0, 0, 0);
      main->SetCurrentItemPane(L"", TRUE);
    }
  }
}

CLeftView *CQuendalVarnothView::Tree() const {
  CFrameWnd *frame = GetParentFrame();
  if (frame == nullptr || !frame->IsKindOf(RUNTIME_CLASS(CMainFrame))) return nullptr;
  return static_cast<CMainFrame *>(frame)->GetLeftPane();
}

TreeEntryNode *CQuendalVarnothView::RowNode(int row) const {
  return row >= 0 && static_cast<size_t>(row) < m_rowNodes.size() ? m_rowNodes[row] : nullptr;
}

void CQuendalVarnothView::AppendRow(TreeEntryNode &node, bool ntfs) {
  CListCtrl &list = GetListCtrl();
  const EntryRecord &record = node.m_record;
  const int image = (record.IsFolder() ? kFolderRowImage : kFileRowImage) + (record.m_deleted ? 1 : 0);
  const int row = list.GetItemCount();
  const std::u16string name = ShownEntryName(record, node.m_name, ActiveShownWords());
  list.InsertItem(LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE, row, Wide(name),
                  RowStateOfCheck(node.Check()), LVIS_STATEIMAGEMASK, image, record.m_ownId);
  m_rowNodes.push_back(&node);
  SetCellText(row, kType, LoadText(TypeTextId(record)));
  SetCellText(row, kSize, SizeText(record));
  SetCellText(row, kModified, DateText(record, 2, ntfs));
  SetCellText(row, kCreated, DateText(record, 4, ntfs));
  SetCellText(row, kStatus, GradeText(record));
  CString id;
  id.Format(L"%7lu", static_cast<unsigned long>(record.m_ownId));
  SetCellText(row, kFileId, id);
}

void CQuendalVarnothView::SetCellText(int row, int column, const CString &text) {
  CListCtrl &list = GetListCtrl();
  list.SetItemText(row, column, text);
  if (text.IsEmpty() || static_cast<size_t>(column) >= m_widestCellText.size()) return;
  std::wstring shape = TextShape(text);
  shape.insert(shape.begin(), static_cast<wchar_t>(L'0' + column));
  if (!m_measuredCellShapes.insert(std::move(shape)).second) return;
  m_widestCellText[column] = std::max(m_widestCellText[column], list.GetStringWidth(text) + kCellTextMargin);
}

void CQuendalVarnothView::ShowNodeGrade(const TreeEntryNode &node) {
  for (size_t row = 0; row < m_rowNodes.size(); ++row)
    if (m_rowNodes[row] == &node)
      GetListCtrl().SetItemText(static_cast<int>(row), kStatus, GradeText(node.m_record));
}

void CQuendalVarnothView::FillFileList(DWORD parentId) {
  CQuendalVarnothApp &app = TheQvApp();
  app.SortAscending = 0;
  app.HighlightedRow = kNoHighlightedRow;
  CListCtrl &list = GetListCtrl();
  SetRedraw(FALSE);
  list.DeleteAllItems();
  m_rowNodes.clear();
  m_widestCellText.assign(kColumnCount, 0);
  m_measuredCellShapes.clear();
  RemoveAllRowColors();
  list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  if (CLeftView *tree = Tree()) {
    const bool ntfs = app.NtfsEngine != nullptr;
    const std::vector<TreeEntryNode *> &children = tree->Entries().ChildrenOf(parentId);
    m_rowNodes.reserve(children.size());
    for (TreeEntryNode *node : children) AppendRow(*node, ntfs);
  }
  for (int row = 0; row < list.GetItemCount(); row += 2) ColourRow(row);
  WidenCutColumns();
  SetRedraw(TRUE);
  Invalidate();
}

// The widths the columns start with are the least they have: a translated
// title, a long type or grade, a date with its time would be cut at them.
// A column only grows, so a width the user made larger stays. The name
// column keeps its width, as names can be of any length.
void CQuendalVarnothView::WidenCutColumns() {
  CListCtrl &list = GetListCtrl();
  // The title keeps room for the sort arrow, which any column may show.
  int titleMargin = 2 * 6 + 8 + 2 * 10;
  if (m_header.m_hWnd != nullptr)
    if (const CXTHeaderTheme *theme = m_header.GetTheme())
      titleMargin = 2 * theme->m_sizePadding.cx + theme->m_sizeArrow.cx + 2 * theme->m_iArrowPadding;
  for (int column = kType; column < kColumnCount; ++column) {
    wchar_t title[256] = {};
    LVCOLUMNW info = {};
    info.mask = LVCF_TEXT;
    info.pszText = title;
    info.cchTextMax = 256;
    if (!list.GetColumn(column, &info)) continue;
    int needed = list.GetStringWidth(title) + titleMargin;
    if (static_cast<size_t>(column) < m_widestCellText.size())
      needed = std::max(needed, m_widestCellText[column]);
    if (needed > list.GetColumnWidth(column)) list.SetColumnWidth(column, needed);
  }
}

void CQuendalVarnothView::ClearFileList() {
  CListCtrl &list = GetListCtrl();
  // An empty list told to delete its rows, or to drop grid lines it does not
  // have, draws itself whole again (its header too): a search's start would
  // draw the empty list of a new window once more.
  if (list.GetItemCount() != 0) list.DeleteAllItems();
  m_rowNodes.clear();
  RemoveAllRowColors();
  if ((list.GetExtendedStyle() & LVS_EX_GRIDLINES) != 0)
    list.SetExtendedStyle(list.GetExtendedStyle() & ~LVS_EX_GRIDLINES);
  TheQvApp().ResultsPresent = 0;
}

void CQuendalVarnothView::ShowRowCheck(int row, uint8_t check) {
  GetListCtrl().SetItemState(row, RowStateOfCheck(check), LVIS_STATEIMAGEMASK);
}

void CQuendalVarnothView::ShowNodeChecks() {
  for (size_t row = 0; row < m_rowNodes.size(); ++row)
    ShowRowCheck(static_cast<int>(row), m_rowNodes[row]->Check());
}

void CQuendalVarnothView::SetAllRowsCheck(int mode, int state, LPCTSTR text, DWORD id) {
  CLeftView *tree = Tree();
  if (tree == nullptr) return;
  const uint8_t check = state == 2 ? kChecked : state == 1 ? kUnchecked : kPartlyChecked;
  CListCtrl &list = GetListCtrl();
  for (size_t row = 0; row < m_rowNodes.size(); ++row) {
    const int index = static_cast<int>(row);
    if (mode == 0 && (list.GetItemData(index) != id || list.GetItemText(index, kName) != text)) continue;
    tree->CheckModel().SetNode(*m_rowNodes[row], check);
    ShowRowCheck(index, check);
    if (mode == 0) return;
  }
}

void CQuendalVarnothView::SetRowsAndFolderCheck(BOOL checked, DWORD folderId) {
  CLeftView *tree = Tree();
  if (tree == nullptr) return;
  const uint8_t check = checked ? kChecked : kUnchecked;
  for (TreeEntryNode *node : tree->Entries().ChildrenOf(folderId)) tree->CheckModel().SetNode(*node, check);
  ShowNodeChecks();
}

COLORREF CQuendalVarnothView::RowBackground(int row) const {
  if (row == TheQvApp().HighlightedRow) return kHighlightColour;
  return row % 2 == 0 ? kAlternateRowColour : RGB(255, 255, 255);
}

void CQuendalVarnothView::HighlightRowByData(DWORD id) {
  RestoreHighlightedRowColor();
  CListCtrl &list = GetListCtrl();
  for (int row = 0; row < list.GetItemCount(); ++row) {
    if (list.GetItemData(row) != id) continue;
    list.EnsureVisible(row, FALSE);
    TheQvApp().HighlightedRow = row;
    ColourRow(row);
    return;
  }
}

void CQuendalVarnothView::RestoreHighlightedRowColor() {
  CQuendalVarnothApp &app = TheQvApp();
  if (app.HighlightedRow == kNoHighlightedRow) return;
  const int row = app.HighlightedRow;
  app.HighlightedRow = kNoHighlightedRow;
  ColourRow(row);
}

void CQuendalVarnothView::ColourRow(int row) {
  SetRowColors(row, RGB(0, 0, 0), RowBackground(row));
}

void CQuendalVarnothView::RecountChecks() {
  CLeftView *tree = Tree();
  if (tree == nullptr) return;
  UINT folders = 0, files = 0;
  tree->CountCheckedEntries(folders, files);
  CFrameWnd *frame = GetParentFrame();
  if (frame != nullptr && frame->IsKindOf(RUNTIME_CLASS(CMainFrame))) {
    auto *main = static_cast<CMainFrame *>(frame);
    main->CheckedFolderCount = static_cast<int>(folders);
    main->CheckedFileCount = static_cast<int>(files);
    main->SetCurrentItemPane(L"", TRUE);
  }
  TheQvApp().AnyChecked = folders != 0 ? 1 : 0;
}

void CQuendalVarnothView::ToggleRowCheck(int row) {
  CLeftView *tree = Tree();
  TreeEntryNode *node = RowNode(row);
  if (tree == nullptr || node == nullptr) return;
  CListCtrl &list = GetListCtrl();
  const uint8_t value = node->Check() == kUnchecked ? kChecked : kUnchecked;
  if (value == kUnchecked) TheQvApp().AllChecked = 0;
  tree->CheckModel().SetNode(*node, value);
  ShowRowCheck(row, value);
  std::vector<uint8_t> states;
  states.reserve(m_rowNodes.size());
  for (const TreeEntryNode *rowNode : m_rowNodes) states.push_back(rowNode->Check());
  const CheckSummary summary = SummariseChecks(states.data(), states.size());
  tree->SetSubtreeCheck(value, list.GetItemText(row, kName), list.GetItemText(row, kType), summary,
                        static_cast<DWORD>(list.GetItemData(row)));
  ShowNodeChecks();
  RecountChecks();
}

void CQuendalVarnothView::ToggleSelectedRowCheck() {
  if (GetListCtrl().GetItemCount() == 0) return;
  const int row = GetListCtrl().GetNextItem(-1, LVNI_SELECTED);
  // Space with no row selected has nothing to act on.
  if (row < 0) return;
  TheQvApp().TreeHasFocus = 0;
  ToggleRowCheck(row);
}

void CQuendalVarnothView::OnLButtonDown(UINT nFlags, CPoint point) {
  CListCtrl &list = GetListCtrl();
  if (list.GetItemCount() > 0) {
    const int row = ListCheckBoxRowAt(list, point);
    if (row >= 0) {
      CLeftView *tree = Tree();
      // As the keys are, a click on a box is refused while anything runs.
      if (tree != nullptr && tree->ChecksLocked()) return;
      TheQvApp().TreeHasFocus = 0;
      ToggleRowCheck(row);
    } else {
      RecountChecks();
    }
  }
  CXTListView::OnLButtonDown(nFlags, point);
}

void CQuendalVarnothView::OpenFolderRow(int row) {
  TreeEntryNode *node = RowNode(row);
  CLeftView *tree = Tree();
  if (node == nullptr || tree == nullptr || !node->IsFolder()) return;
  tree->OpenChildFolder(node->m_record.m_ownId);
}

void CQuendalVarnothView::OnLButtonDblClk(UINT nFlags, CPoint point) {
  const int row = GetListCtrl().HitTest(point, nullptr);
  CXTListView::OnLButtonDblClk(nFlags, point);
  if (row >= 0) OpenFolderRow(row);
}

void CQuendalVarnothView::OpenSelectedFolder() {
  if (TheQvApp().ScanRunning != 0) return;
  const int row = GetListCtrl().GetNextItem(-1, LVNI_SELECTED);
  if (row >= 0) OpenFolderRow(row);
}

void CQuendalVarnothView::ExchangeRows(int a, int b) {
  CListCtrl &list = GetListCtrl();
  wchar_t textA[kColumnCount][512], textB[kColumnCount][512];
  for (int column = 0; column < kColumnCount; ++column) {
    list.GetItemText(a, column, textA[column], 512);
    list.GetItemText(b, column, textB[column], 512);
  }
  LVITEMW itemA = {}, itemB = {};
  itemA.mask = itemB.mask = LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
  itemA.stateMask = itemB.stateMask = LVIS_STATEIMAGEMASK | LVIS_SELECTED | LVIS_FOCUSED;
  itemA.iItem = a;
  itemB.iItem = b;
  list.GetItem(&itemA);
  list.GetItem(&itemB);
  std::swap(itemA.iItem, itemB.iItem);
  list.SetItem(&itemA);
  list.SetItem(&itemB);
  for (int column = 0; column < kColumnCount; ++column) {
    list.SetItemText(a, column, textB[column]);
    list.SetItemText(b, column, textA[column]);
  }
  std::swap(m_rowNodes[a], m_rowNodes[b]);
  // The Find highlight marks an entry, not a place in the list.
  int &highlighted = TheQvApp().HighlightedRow;
  if (highlighted != a && highlighted != b) return;
  highlighted = highlighted == a ? b : a;
  ColourRow(a);
  ColourRow(b);
}

void CQuendalVarnothView::SortRows(int column, bool ascending) {
  CListCtrl &list = GetListCtrl();
  const int count = list.GetItemCount();
  if (count < 2) return;
  auto exchangeWith = [this](auto &keys) {
    return [this, &keys](int a, int b) {
      ExchangeRows(a, b);
      std::swap(keys[a], keys[b]);
    };
  };
  if (column == kName || column == kType || column == kStatus) {
    std::vector<std::wstring> keys;
    for (int row = 0; row < count; ++row) keys.emplace_back(list.GetItemText(row, column));
    QuickSortRows(keys, 0, count - 1, ascending, CompareTextKeys, exchangeWith(keys));
    return;
  }
  std::vector<int64_t> keys;
  for (int row = 0; row < count; ++row) {
    const std::wstring text = static_cast<LPCTSTR>(list.GetItemText(row, column));
    keys.push_back(column == kSize || column == kFileId ? NumberSortKey(text) : DateSortKey(text));
  }
  auto compare = [](int64_t a, int64_t b) { return a < b ? -1 : a > b ? 1 : 0; };
  QuickSortRows(keys, 0, count - 1, ascending, compare, exchangeWith(keys));
}

void CQuendalVarnothView::OnHeaderClick(int column) {
  if (!m_sortingAllowed) return;
  CQuendalVarnothApp &app = TheQvApp();
  if (app.LastSortColumn == 100) app.LastSortColumn = static_cast<BYTE>(column);
  if (app.LastSortColumn != column) {
    app.SortAscending = 1;
    app.LastSortColumn = static_cast<BYTE>(column);
  } else {
    app.SortAscending = app.SortAscending ? 0 : 1;
  }
  SortRowsShown(column, app.SortAscending != 0);
}

void CQuendalVarnothView::OnHeaderSortCommand(int column, bool ascending) {
  if (!m_sortingAllowed) return;
  CQuendalVarnothApp &app = TheQvApp();
  app.SortAscending = ascending ? 1 : 0;
  app.LastSortColumn = static_cast<BYTE>(column);
  SortRowsShown(column, ascending);
}

void CQuendalVarnothView::SortRowsShown(int column, bool ascending) {
  CQuendalVarnothApp &app = TheQvApp();
  app.SortColumn = static_cast<BYTE>(column);
  const int columns = m_header.GetSafeHwnd() != nullptr ? m_header.GetItemCount() : 0;
  if (column < 0 || column >= columns) return;
  // The list tints the column it marks, and its header shows the arrow.
  if (app.ResultsPresent) MarkSortedColumn(column, ascending ? TRUE : FALSE);
  SortRows(column, ascending);
}

BOOL CQuendalVarnothView::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT *result) {
  const auto *notify = reinterpret_cast<const NMHEADERW *>(lParam);
  // The header's menu clicks the column as button 1 with the direction it
  // asks for. Handled here, the list makes no column click of it, so the
  // rows are sorted once and the way the menu said.
  if (notify->hdr.code == HDN_ITEMCLICKW && notify->hdr.hwndFrom == m_header.GetSafeHwnd() &&
      notify->iButton == 1) {
    BOOL ascending = TRUE;
    m_header.ReadSortedColumn(&ascending);
    OnHeaderSortCommand(notify->iItem, ascending != FALSE);
    *result = 0;
    return TRUE;
  }
  return CXTListView::OnNotify(wParam, lParam, result);
}

void CQuendalVarnothView::OnListCustomDraw(NMHDR *notify, LRESULT *result) {
  // The toolkit chooses each cell's colours; the dates, sizes, grades and
  // ids are drawn whole.
  OnCustomDraw(notify, result);
  DrawRightAlignedCell(GetListCtrl(), *reinterpret_cast<NMLVCUSTOMDRAW *>(notify), *result);
}

void CQuendalVarnothView::OnColumnClick(NMHDR *header, LRESULT *result) {
  *result = 0;
  OnHeaderClick(reinterpret_cast<NMLISTVIEW *>(header)->iSubItem);
}
