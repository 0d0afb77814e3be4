// The toolkit's list: saved column widths, click-to-sort through its flat
// header, cell colours of its custom draw, column sizing rules, moving rows,
// finding a cell and its one-time set-up, on real list controls under Wine.
#include "../../../framework/tests/ControlTestWindow.h"
#include "../../../framework/tests/WindowTestKit.h"

#include <string>
#include <utility>
#include <vector>

#include "WinApp.h"
#include "XTColorRef.h"
#include "XTGlobal.h"
#include "XTListCtrlView.h"
#include "XTPResource.h"
#include "XTRegistryManager.h"

namespace {

const wchar_t kCompanyKey[] = L"Software\\QvListTestCompany";

class ListApp : public CWinApp {
public:
  ListApp() : CWinApp(L"QvListTest") { SetRegistryKey(L"QvListTestCompany"); }
};

// A list that records what its hooks were asked to do.
class RecordingList : public CXTListCtrl {
public:
  BOOL SortList(int nCol, BOOL bAscending) override {
    sorts.emplace_back(nCol, bAscending != FALSE);
    return TRUE;
  }
  void FinishListSetUp() override {
    ++setUps;
    CXTListCtrl::FinishListSetUp();
  }
  using CXTListBase::CellColors;

  std::vector<std::pair<int, bool>> sorts;
  int setUps = 0;
};

// The parent: counts the column clicks the list control passes on.
class ListParent : public CWnd {
public:
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT *pResult) override {
    const auto *pNMHDR = reinterpret_cast<const NMHDR *>(lParam);
    if (pNMHDR->code == LVN_COLUMNCLICK)
      columnClicks.push_back(reinterpret_cast<const NMLISTVIEW *>(lParam)->iSubItem);
    return CWnd::OnNotify(wParam, lParam, pResult);
  }
  std::vector<int> columnClicks;
};

class XTListTest : public ::testing::Test {
protected:
  void SetUp() override {
    CleanRegistry();
    LPCTSTR windowClass = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));
    ASSERT_TRUE(m_parent.CreateEx(0, windowClass, L"list test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                  500, 400, nullptr, nullptr));
    CreateList(m_list);
  }
  void TearDown() override {
    if (m_list.m_hWnd != nullptr) m_list.DestroyWindow();
    if (m_parent.m_hWnd != nullptr) m_parent.DestroyWindow();
    CleanRegistry();
  }
  static void CleanRegistry() { ::RegDeleteTree(HKEY_CURRENT_USER, kCompanyKey); }

  void CreateList(RecordingList &list, DWORD style = LVS_REPORT) {
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | style, CRect(0, 0, 400, 300), &m_parent, 200));
    const int widths[] = {120, 80, 60};
    const CString headings[] = {L"Name", L"Size", L"Grade"};
    ASSERT_TRUE(list.InsertColumns(3, widths, headings));
  }
  void AddRows(RecordingList &list, int count) {
    for (int i = 0; i < count; ++i) {
      const int row = list.InsertItem(list.GetItemCount(), (L"row " + std::to_wstring(i)).c_str());
      list.SetItemText(row, 1, std::to_wstring(i * 10).c_str());
      list.SetItemData(row, static_cast<DWORD_PTR>(100 + i));
    }
  }
  std::vector<int> Widths(RecordingList &list) {
    std::vector<int> widths;
    for (int i = 0; i < 3; ++i) widths.push_back(list.GetColumnWidth(i));
    return widths;
  }
  static CString Stored(LPCTSTR entry) {
    CXTRegistryManager manager(HKEY_CURRENT_USER);
    return manager.GetProfileString(L"Lists", entry, L"<none>");
  }
  static void Store(LPCTSTR entry, LPCTSTR value) {
    CXTRegistryManager manager(HKEY_CURRENT_USER);
    ASSERT_TRUE(manager.WriteProfileString(L"Lists", entry, value));
  }
  HWND Header(RecordingList &list) { return reinterpret_cast<HWND>(list.SendMessage(LVM_GETHEADER)); }
  CRect HeaderItem(RecordingList &list, int item) {
    CRect rect;
    ::SendMessage(Header(list), HDM_GETITEMRECT, item, reinterpret_cast<LPARAM>(&rect));
    return rect;
  }
  // A left click in the middle of a header item, as the mouse sends it.
  void ClickHeader(RecordingList &list, int item) {
    const CPoint centre = HeaderItem(list, item).CenterPoint();
    ::SendMessage(Header(list), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
    ::SendMessage(Header(list), WM_LBUTTONUP, 0, MAKELPARAM(centre.x, centre.y));
  }
  // Drags the divider at the right of the item by dx.
  void DragDivider(RecordingList &list, int item, int dx) {
    const CRect rect = HeaderItem(list, item);
    const int y = rect.CenterPoint().y;
    ::SendMessage(Header(list), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rect.right - 1, y));
    ::SendMessage(Header(list), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(rect.right - 1 + dx, y));
    ::SendMessage(Header(list), WM_LBUTTONUP, 0, MAKELPARAM(rect.right - 1 + dx, y));
  }
  static void Pump() {
    MSG msg;
    while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessage(&msg);
    }
  }

  ListApp m_app;
  ListParent m_parent;
  RecordingList m_list;
};

// --- saved widths ---

TEST_F(XTListTest, StoredWidthsComeBackByColumnIndex) {
  struct Case {
    const char *name;
    const wchar_t *stored; // null: nothing stored
    const wchar_t *defaults;
    std::vector<int> widths;
  };
  const std::vector<Case> cases = {
      {"every column stored", L"50,60,70,", nullptr, {50, 60, 70}},
      {"nothing stored takes the defaults", nullptr, L"90,91,92", {90, 91, 92}},
      // A list stored before columns were added says nothing of them: width 0.
      {"fewer pieces than columns", L"50,", L"90,91,92", {50, 0, 0}},
      {"fewer pieces, no defaults", L"50,60", nullptr, {50, 60, 0}},
      {"a piece that is no number", L"50,x,70,", L"90,91,92", {50, 91, 70}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    CleanRegistry();
    if (c.stored != nullptr) Store(L"Widths", c.stored);
    RecordingList list;
    CreateList(list);
    list.EnableColumnWidthSaving(L"Lists", L"Widths", c.defaults);
    EXPECT_EQ(Widths(list), c.widths);
    list.DestroyWindow();
  }
}

TEST_F(XTListTest, WidthsAreSavedWhenTheListGoesAndKeepTheirColumns) {
  m_list.EnableColumnWidthSaving(L"Lists", L"Widths");
  // The user drags the last column to the front: widths stay with their
  // columns, not with the places they are shown at.
  int order[] = {2, 0, 1};
  ASSERT_TRUE(m_list.SetColumnOrderArray(3, order));
  m_list.SetColumnWidth(0, 30);
  m_list.SetColumnWidth(1, 40);
  m_list.SetColumnWidth(2, 55);
  m_list.DestroyWindow();
  EXPECT_EQ(Stored(L"Widths"), L"30,40,55,");

  RecordingList again;
  CreateList(again);
  ASSERT_TRUE(again.SetColumnOrderArray(3, order));
  again.EnableColumnWidthSaving(L"Lists", L"Widths");
  EXPECT_EQ(Widths(again), (std::vector<int>{30, 40, 55}));
  again.DestroyWindow();
}

TEST_F(XTListTest, DefaultSettingNamesComeFromTheToolkitStrings) {
  m_list.EnableColumnWidthSaving();
  m_list.SetColumnWidth(1, 33);
  m_list.DestroyWindow();
  CXTRegistryManager manager(HKEY_CURRENT_USER);
  EXPECT_EQ(manager.GetProfileString(L"Settings", L"Column Info", L""), L"120,33,60,");
}

// --- sorting ---

TEST_F(XTListTest, HeaderClicksSortOnceEachAndTurnTheDirection) {
  ASSERT_TRUE(m_list.AttachFlatHeader());
  AddRows(m_list, 3);
  struct Click {
    int column;
    bool ascending;
  };
  const std::vector<Click> clicks = {{1, true}, {1, false}, {1, true}, {0, true}, {2, true}, {2, false}};
  for (size_t i = 0; i < clicks.size(); ++i) {
    SCOPED_TRACE(i);
    ClickHeader(m_list, clicks[i].column);
    ASSERT_EQ(m_list.sorts.size(), i + 1) << "one sort per click";
    EXPECT_EQ(m_list.sorts.back(), std::make_pair(clicks[i].column, clicks[i].ascending));
    BOOL ascending = FALSE;
    EXPECT_EQ(m_list.GetSortedColumn(&ascending), clicks[i].column);
    EXPECT_EQ(ascending != FALSE, clicks[i].ascending);
    // The header shows the same column and direction.
    BOOL headerAscending = FALSE;
    EXPECT_EQ(m_list.GetFlatHeaderCtrl()->ReadSortedColumn(&headerAscending), clicks[i].column);
    EXPECT_EQ(headerAscending != FALSE, clicks[i].ascending);
  }
  // The parent still hears of every click, once.
  EXPECT_EQ(m_parent.columnClicks, (std::vector<int>{1, 1, 1, 0, 2, 2}));
}

TEST_F(XTListTest, HeaderCommandsSortInTheHeadersDirectionAndOtherButtonsDoNot) {
  ASSERT_TRUE(m_list.AttachFlatHeader());
  CXTFlatHeaderCtrl *header = m_list.GetFlatHeaderCtrl();
  ASSERT_NE(header, nullptr);
  auto notify = [&](int item, int button) {
    NMHEADERW nm = {};
    nm.hdr.hwndFrom = header->m_hWnd;
    nm.hdr.idFrom = 0;
    nm.hdr.code = HDN_ITEMCLICKW;
    nm.iItem = item;
    nm.iButton = button;
    m_list.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
  };
  header->MarkSortedColumn(2, FALSE); // the header's Sort Descending
  notify(2, 1);
  header->MarkSortedColumn(0, TRUE); // its Sort Ascending
  notify(0, 1);
  notify(1, 2); // a middle click sorts nothing
  EXPECT_EQ(m_list.sorts, (std::vector<std::pair<int, bool>>{{2, false}, {0, true}}));
}

TEST_F(XTListTest, AHeaderClickReachesTheParentOnceAsAColumnClick) {
  ASSERT_TRUE(m_list.AttachFlatHeader());
  MessageRecorder recorder(m_parent.m_hWnd);
  recorder.FromControl(m_list.m_hWnd).Detail([](UINT message, WPARAM, LPARAM lParam) -> LPARAM {
    const auto *pNMHDR = reinterpret_cast<const NMHDR *>(lParam);
    return message == WM_NOTIFY && pNMHDR->code == LVN_COLUMNCLICK
               ? reinterpret_cast<const NMLISTVIEW *>(lParam)->iSubItem
               : -1;
  });
  ClickHeader(m_list, 2);
  ClickHeader(m_list, 2);
  EXPECT_TRUE(recorder.Matches({
      {WM_NOTIFY, static_cast<UINT>(LVN_COLUMNCLICK), kCode | kDetail, 0, 0, 2},
      {WM_NOTIFY, static_cast<UINT>(LVN_COLUMNCLICK), kCode | kDetail, 0, 0, 2},
  }));
  EXPECT_EQ(m_list.sorts, (std::vector<std::pair<int, bool>>{{2, true}, {2, false}}));
}

TEST_F(XTListTest, TheHeadersSortCommandsSortOnce) {
  ASSERT_TRUE(m_list.AttachFlatHeader());
  CXTFlatHeaderCtrl *header = m_list.GetFlatHeaderCtrl();
  ASSERT_NE(header, nullptr);
  // The commands act on the column under the last right-click: the first
  // column, as none was made yet.
  header->SendMessage(WM_COMMAND, XT_IDC_SORTDSC);
  header->SendMessage(WM_COMMAND, XT_IDC_SORTASC);
  header->SendMessage(WM_COMMAND, XT_IDC_SORTASC); // already so: nothing
  EXPECT_EQ(m_list.sorts, (std::vector<std::pair<int, bool>>{{0, false}, {0, true}}));
  BOOL ascending = FALSE;
  EXPECT_EQ(m_list.GetSortedColumn(&ascending), 0);
  EXPECT_TRUE(ascending);
}

TEST_F(XTListTest, WithoutTheFlatHeaderClicksAreTheOwnersToSort) {
  ClickHeader(m_list, 1);
  EXPECT_TRUE(m_list.sorts.empty());
  EXPECT_EQ(m_parent.columnClicks, (std::vector<int>{1}));
}

// --- colours ---

TEST_F(XTListTest, CellColoursFollowRowSortAndListColours) {
  const COLORREF window = ::GetSysColor(COLOR_WINDOW), text = ::GetSysColor(COLOR_WINDOWTEXT);
  const COLORREF rowBack = RGB(200, 220, 255), rowText = RGB(10, 20, 30);
  const COLORREF sortBack = CXTColorRef(window).Subtract(CXTColorRef(8, 8, 8));
  struct Case {
    const char *name;
    bool rowColours, tint, selected, disabled;
    int subItem;
    COLORREF text, back;
  };
  const std::vector<Case> cases = {
      {"plain", false, false, false, false, 0, text, window},
      {"records unused without the switch", false, false, false, false, 1, text, window},
      {"row colours", true, false, false, false, 0, rowText, rowBack},
      {"sorted column", false, true, false, false, 1, text, sortBack},
      {"other column of a sorted list", false, true, false, false, 0, text, window},
      {"row in the sorted column: half and half", true, true, false, false, 1, rowText,
       CXTColorRef(rowBack).Blend(sortBack, 50)},
      {"a selected row keeps the selection colours", true, false, true, false, 0, text, window},
      {"selected in the sorted column", true, true, true, false, 1, text, sortBack},
      {"disabled", true, true, false, true, 1, text, ::GetSysColor(COLOR_3DFACE)},
  };
  AddRows(m_list, 3);
  m_list.SetRowColors(1, rowText, rowBack);
  m_list.MarkSortedColumn(1, TRUE);
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    m_list.EnableRowColors(c.rowColours);
    m_list.EnableSortedColumnTint(c.tint);
    m_list.EnableWindow(!c.disabled);
    m_list.SetItemState(1, c.selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
    // The notification as the control sends it, reflected by the parent.
    NMLVCUSTOMDRAW draw = {};
    draw.nmcd.hdr.hwndFrom = m_list.m_hWnd;
    draw.nmcd.hdr.idFrom = 200;
    draw.nmcd.hdr.code = NM_CUSTOMDRAW;
    draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT | CDDS_SUBITEM;
    draw.nmcd.dwItemSpec = 1;
    draw.iSubItem = c.subItem;
    EXPECT_EQ(m_parent.SendMessage(WM_NOTIFY, 200, reinterpret_cast<LPARAM>(&draw)), CDRF_DODEFAULT);
    EXPECT_EQ(draw.clrText, c.text);
    EXPECT_EQ(draw.clrTextBk, c.back);
  }
  for (DWORD stage : {CDDS_PREPAINT, CDDS_ITEMPREPAINT}) {
    NMLVCUSTOMDRAW draw = {};
    draw.nmcd.hdr = {m_list.m_hWnd, 200, static_cast<UINT>(NM_CUSTOMDRAW)};
    draw.nmcd.dwDrawStage = stage;
    EXPECT_EQ(m_parent.SendMessage(WM_NOTIFY, 200, reinterpret_cast<LPARAM>(&draw)), CDRF_NOTIFYSUBITEMDRAW);
  }
}

TEST_F(XTListTest, UserColoursAndRowRecords) {
  m_list.SetListColors(RGB(1, 2, 3), RGB(240, 240, 200));
  EXPECT_EQ(m_list.GetTextColor(), RGB(1, 2, 3));
  EXPECT_EQ(m_list.GetBkColor(), RGB(240, 240, 200));
  // The sorted column's tint follows the list's own background.
  EXPECT_EQ(m_list.GetSortBkColor(), RGB(232, 232, 192));
  COLORREF text = 0, back = 0;
  m_list.CellColors(0, 0, FALSE, text, back);
  EXPECT_EQ(text, RGB(1, 2, 3));
  EXPECT_EQ(back, RGB(240, 240, 200));

  m_list.SetRowColors(4, RGB(1, 1, 1), RGB(2, 2, 2));
  m_list.SetRowColors({4, RGB(9, 9, 9), RGB(8, 8, 8)}); // replaces, never doubles
  ASSERT_NE(m_list.FindRowColors(4), nullptr);
  EXPECT_EQ(m_list.FindRowColors(4)->crBack, RGB(9, 9, 9));
  EXPECT_EQ(m_list.FindRowColors(4)->crText, RGB(8, 8, 8));
  EXPECT_EQ(m_list.FindRowColors(5), nullptr);
  m_list.RemoveAllRowColors();
  EXPECT_EQ(m_list.FindRowColors(4), nullptr);
}

TEST_F(XTListTest, PaintedRowsShowTheirColoursAndTheSortedColumn) {
  AddRows(m_list, 3);
  const COLORREF rowBack = RGB(255, 200, 120), window = ::GetSysColor(COLOR_WINDOW);
  m_list.EnableRowColors(TRUE);
  m_list.EnableSortedColumnTint(TRUE);
  m_list.SetRowColors(1, RGB(0, 0, 0), rowBack);
  m_list.MarkSortedColumn(2, TRUE);
  auto cell = [&](int row, int column) {
    CRect rect;
    m_list.GetSubItemRect(row, column, LVIR_BOUNDS, rect);
    rect.DeflateRect(1, 1);
    return rect;
  };
  CRect below = cell(2, 0);
  below.OffsetRect(0, 3 * below.Height());
  CRect belowSorted = cell(2, 2);
  belowSorted.OffsetRect(0, 3 * belowSorted.Height());
  struct Case {
    const char *name;
    bool selected, disabled;
    COLORREF row1, row0Sorted, below, belowSorted;
  };
  const COLORREF sortBack = m_list.GetSortBkColor(), face = ::GetSysColor(COLOR_3DFACE);
  const COLORREF blended = CXTColorRef(rowBack).Blend(sortBack, 50);
  const std::vector<Case> cases = {
      {"enabled", false, false, rowBack, sortBack, window, sortBack},
      {"disabled: grey throughout", false, true, face, face, face, face},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    m_list.EnableWindow(!c.disabled);
    PixelProbe probe(m_list.m_hWnd);
    EXPECT_EQ(probe.Dominant(cell(1, 0)), c.row1);
    EXPECT_EQ(probe.Dominant(cell(0, 2)), c.row0Sorted);
    EXPECT_EQ(probe.Dominant(below), c.below);
    EXPECT_EQ(probe.Dominant(belowSorted), c.belowSorted);
    if (!c.disabled) {
      EXPECT_EQ(probe.Dominant(cell(1, 2)), blended);
    }
  }
  // Selected, the row is drawn in the selection's colours, not its own.
  m_list.EnableWindow(TRUE);
  m_list.SetFocus();
  m_list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  PixelProbe probe(m_list.m_hWnd);
  EXPECT_NE(probe.Dominant(cell(1, 0)), rowBack);
  EXPECT_NE(probe.Dominant(cell(1, 2)), blended);
}

TEST_F(XTListTest, ASettingChangeRefreshesTheMetrics) {
  m_list.SetMaximumColWidth(50);
  m_list.SendMessage(WM_SETTINGCHANGE, 0, 0);
  EXPECT_EQ(m_list.GetMaximumColWidth(), ::GetSystemMetrics(SM_CXFULLSCREEN));
  EXPECT_EQ(m_list.GetSortTextColor(), ::GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(m_list.GetSortBkColor(), CXTColorRef(::GetSysColor(COLOR_WINDOW)).Subtract(CXTColorRef(8, 8, 8)));
}

// --- column sizing ---

TEST_F(XTListTest, ANarrowedColumnSnapsToTheMinimum) {
  struct Case {
    const char *name;
    int minimum, drag, width;
  };
  const std::vector<Case> cases = {
      {"above the minimum", 40, -50, 70},
      {"below the minimum", 40, -100, 40},
      {"no minimum", 0, -100, 20},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    m_list.SetColumnWidth(0, 120);
    m_list.SetMinimumColWidth(c.minimum);
    DragDivider(m_list, 0, c.drag);
    EXPECT_EQ(m_list.GetColumnWidth(0), c.width);
  }
}

TEST_F(XTListTest, NoSizingRefusesDragsAndDividerDoubleClicks) {
  AddRows(m_list, 2);
  for (bool refuse : {true, false}) {
    SCOPED_TRACE(refuse ? "sizing disabled" : "sizing allowed");
    m_list.DisableColumnSizing(refuse);
    m_list.SetColumnWidth(0, 120);
    DragDivider(m_list, 0, 30);
    EXPECT_EQ(m_list.GetColumnWidth(0) == 120, refuse);
    m_list.SetColumnWidth(0, 120);
    const CRect rect = HeaderItem(m_list, 0);
    ::SendMessage(Header(m_list), WM_LBUTTONDBLCLK, MK_LBUTTON,
                  MAKELPARAM(rect.right - 1, rect.CenterPoint().y));
    EXPECT_EQ(m_list.GetColumnWidth(0) == 120, refuse);
  }
}

TEST_F(XTListTest, AutoSizeFitsTheWiderOfCellsAndHeadingWithinTheLimits) {
  AddRows(m_list, 2);
  m_list.SetItemText(0, 1, L"a rather long cell text in the size column");
  m_list.AutoSizeColumn(1);
  const int cells = m_list.GetColumnWidth(1);
  EXPECT_GT(cells, m_list.GetStringWidth(L"a rather long cell text in the size column"));
  EXPECT_EQ(m_list.GetColumnWidth(0), 120) << "other columns stay";
  m_list.SetMaximumColWidth(50);
  m_list.AutoSizeColumn(1);
  EXPECT_EQ(m_list.GetColumnWidth(1), 50);
  m_list.SetMaximumColWidth(1000);
  m_list.SetMinimumColWidth(300);
  m_list.AutoSizeColumn();
  EXPECT_EQ(Widths(m_list), (std::vector<int>{300, 300, 300}));
}

// --- building ---

TEST_F(XTListTest, ColumnsAreBuiltOnlyInReportView) {
  EXPECT_EQ(m_list.GetColumnCount(), 3);
  EXPECT_EQ(m_list.AddColumn(L"Id"), 3);
  EXPECT_EQ(m_list.GetColumnWidth(3), 60) << "-1 takes the last column's width";
  EXPECT_EQ(m_list.AddColumn(L"Date", 99, LVCFMT_RIGHT), 4);
  EXPECT_EQ(m_list.GetColumnWidth(4), 99);
  RecordingList icons;
  ASSERT_TRUE(icons.Create(WS_CHILD | LVS_ICON, CRect(0, 0, 100, 100), &m_parent, 201));
  EXPECT_EQ(icons.GetColumnCount(), -1);
  EXPECT_EQ(icons.AddColumn(L"Name", 50), -1);
  EXPECT_FALSE(icons.AttachFlatHeader());
  icons.DestroyWindow();

  // Headings from the string table.
  RecordingList named;
  ASSERT_TRUE(named.Create(WS_CHILD | LVS_REPORT, CRect(0, 0, 200, 100), &m_parent, 202));
  const int widths[] = {70, 80};
  const int ids[] = {XT_IDS_REG_SETTINGS, XT_IDS_REG_COLINFO};
  ASSERT_TRUE(named.InsertColumns(2, widths, ids));
  wchar_t heading[32] = {};
  LVCOLUMNW column = {};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = heading;
  column.cchTextMax = 32;
  ASSERT_TRUE(named.GetColumn(1, &column));
  EXPECT_STREQ(heading, L"Column Info");
  EXPECT_EQ(column.cx, 80);
  named.DestroyWindow();

  EXPECT_FALSE(m_list.ModifyExtendedStyle(0, 0));
  EXPECT_TRUE(m_list.ModifyExtendedStyle(0, LVS_EX_GRIDLINES));
  m_list.AddExtendedStyle(LVS_EX_FULLROWSELECT);
  EXPECT_EQ(m_list.GetExtendedStyle() & (LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT),
            static_cast<DWORD>(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT));
  EXPECT_TRUE(m_list.ModifyExtendedStyle(LVS_EX_GRIDLINES, 0));
  EXPECT_EQ(m_list.GetExtendedStyle() & LVS_EX_GRIDLINES, 0u);
}

// --- rows ---

TEST_F(XTListTest, CopyRowReturnsTheSourcesNewIndex) {
  struct Case {
    const char *name;
    int source, target, result;
    const wchar_t *copied; // the name at the target afterwards
  };
  const std::vector<Case> cases = {
      {"down to a lower index: the source moves one up", 3, 1, 4, L"row 3"},
      {"up to a higher index", 1, 3, 1, L"row 1"},
      {"beyond the end: appended", 0, 99, 0, L"row 0"},
      {"onto itself", 2, 2, -1, nullptr},
      {"negative source", -1, 2, -1, nullptr},
      {"negative target", 2, -1, -1, nullptr},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    m_list.DeleteAllItems();
    AddRows(m_list, 5);
    EXPECT_EQ(m_list.CopyRow(c.source, c.target), c.result);
    if (c.copied == nullptr) {
      EXPECT_EQ(m_list.GetItemCount(), 5);
      continue;
    }
    const int target = c.target < 5 ? c.target : 5;
    EXPECT_EQ(m_list.GetItemText(target, 0), c.copied);
    EXPECT_EQ(m_list.GetItemText(target, 1), m_list.GetItemText(c.result, 1));
    EXPECT_EQ(m_list.GetItemData(target), m_list.GetItemData(c.result));
    EXPECT_EQ(m_list.GetItemText(c.result, 0), c.copied) << "the source row is still there";
  }
}

TEST_F(XTListTest, CopyRowKeepsLongNamesWhole) {
  for (int length : {255, 256, 260, 300}) {
    SCOPED_TRACE(length);
    m_list.DeleteAllItems();
    AddRows(m_list, 2);
    const std::wstring name(static_cast<size_t>(length), L'n');
    const std::wstring size(static_cast<size_t>(length), L's');
    m_list.SetItemText(1, 0, name.c_str());
    m_list.SetItemText(1, 1, size.c_str());
    ASSERT_EQ(m_list.CopyRow(1, 0), 2);
    EXPECT_EQ(std::wstring(m_list.GetItemText(0, 0).GetString()), name);
    EXPECT_EQ(std::wstring(m_list.GetItemText(0, 1).GetString()), size);
  }
}

TEST_F(XTListTest, MoveRowLeavesOneCopy) {
  AddRows(m_list, 4);
  EXPECT_TRUE(m_list.MoveRow(3, 0));
  std::vector<std::wstring> names;
  for (int i = 0; i < m_list.GetItemCount(); ++i) names.emplace_back(m_list.GetItemText(i, 0).GetString());
  EXPECT_EQ(names, (std::vector<std::wstring>{L"row 3", L"row 0", L"row 1", L"row 2"}));
  EXPECT_FALSE(m_list.MoveRow(1, 1));
}

TEST_F(XTListTest, FindCellAtPointGivesRowAndDisplayPosition) {
  AddRows(m_list, 3);
  CRect row1;
  ASSERT_TRUE(m_list.GetItemRect(1, &row1, LVIR_BOUNDS));
  struct Case {
    const char *name;
    int x;
    int row, column;
  };
  const int y = row1.CenterPoint().y;
  const std::vector<Case> cases = {
      {"first column", row1.left + 10, 1, 0},
      {"second column", row1.left + 130, 1, 1},
      {"third column", row1.left + 210, 1, 2},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    int column = -1;
    EXPECT_EQ(m_list.FindCellAtPoint(CPoint(c.x, y), &column), c.row);
    EXPECT_EQ(column, c.column);
  }
  int column = -1;
  EXPECT_EQ(m_list.FindCellAtPoint(CPoint(10, 290), &column), -1) << "below the rows";
  // Reordered: the column shown first is found at position 0.
  int order[] = {2, 0, 1};
  ASSERT_TRUE(m_list.SetColumnOrderArray(3, order));
  EXPECT_EQ(m_list.FindCellAtPoint(CPoint(row1.left + 10, y), &column), 1);
  EXPECT_EQ(column, 0);
  EXPECT_EQ(m_list.FindCellAtPoint(CPoint(row1.left + 70, y), &column), 1);
  EXPECT_EQ(column, 1);
}

// --- set-up ---

TEST_F(XTListTest, SetUpRunsOnceWhetherCreatedOrSubclassed) {
  EXPECT_EQ(m_list.setUps, 1) << "created: at WM_CREATE";
  m_list.SendMessage(XTWM_INITIAL_UPDATE);
  EXPECT_EQ(m_list.setUps, 1);

  HWND hWnd = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT, 0, 0, 100, 100, m_parent.m_hWnd,
                                nullptr, nullptr, nullptr);
  ASSERT_NE(hWnd, nullptr);
  RecordingList subclassed;
  subclassed.UseToolkitFont(TRUE);
  ASSERT_TRUE(subclassed.SubclassWindow(hWnd));
  EXPECT_EQ(subclassed.setUps, 0) << "subclassed: waits for the posted message";
  Pump();
  EXPECT_EQ(subclassed.setUps, 1);
  EXPECT_EQ(subclassed.GetFontHandle(), static_cast<HFONT>(XTGetAuxData().font.GetSafeHandle()));
  subclassed.SendMessage(XTWM_INITIAL_UPDATE);
  EXPECT_EQ(subclassed.setUps, 1);
  subclassed.DestroyWindow();
}

TEST_F(XTListTest, ListViewCarriesTheSameBase) {
  auto *view = static_cast<CXTListView *>(RUNTIME_CLASS(CXTListView)->CreateObject());
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(view->Create(nullptr, L"", WS_CHILD | LVS_REPORT, CRect(0, 0, 300, 200), &m_parent, 300));
  EXPECT_TRUE(view->IsKindOf(RUNTIME_CLASS(CListView)));
  const int widths[] = {100, 50};
  const CString headings[] = {L"A", L"B"};
  ASSERT_TRUE(view->InsertColumns(2, widths, headings));
  EXPECT_EQ(view->GetColumnCount(), 2);
  EXPECT_TRUE(view->AttachFlatHeader(TRUE));
  EXPECT_NE(view->GetFlatHeaderCtrl(), nullptr);
  EXPECT_EQ(static_cast<CWnd *>(view->GetFlatHeaderCtrl()),
            CWnd::FromHandlePermanent(view->GetListCtrl().GetHeaderCtrl()->m_hWnd));
  view->DestroyWindow(); // a view deletes itself
}

} // namespace
