// The folder tree and the file list in a main frame made in the test: the
// tri-state check model as both views change it, the file list's texts and
// sort order, and the keys that act on the panes.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <map>
#include <string>
#include <typeinfo>
#include <vector>

#include "../../Common/tests/MemoryCanvas.h"
#include "TextInk.h"
#include "AppFrameTest.h"
#include "AppSettings.h"
#include "LeftView.h"
#include "MainFrm.h"
#include "QuendalVarnoth.h"
#include "QuendalVarnothDoc.h"
#include "QuendalVarnothView.h"
#include "XTPDrawHelpers.h"
#include "resource.h"

namespace {

// The found entries every check case starts from (ids in brackets):
//   Root [0]
//   +- Docs [10]          notes.txt [22]
//   |  +- Letters [11]    a.txt [20], b.txt [21]
//   +- Old [12] deleted   c.txt [24]
//   top.txt [23]
struct Entry {
  const char *name;
  uint32_t id;
  uint32_t parent;
  bool folder;
};
const Entry kEntries[] = {
    {"Docs", 10, 0, true},    {"Letters", 11, 10, true},    {"a.txt", 20, 11, false},
    {"b.txt", 21, 11, false}, {"notes.txt", 22, 10, false}, {"Old", 12, 0, true},
    {"c.txt", 24, 12, false}, {"top.txt", 23, 0, false},
};

std::u16string U16(const char *text) {
  return std::u16string(text, text + strlen(text));
}

class FolderTreeTest : public AppFrameTest {
protected:
  void SetUp() override {
    AppFrameTest::SetUp();
    if (HasFatalFailure()) return;
    m_tree = m_frame->GetLeftPane();
    m_list = m_frame->GetRightPane();
    ASSERT_NE(m_tree, nullptr);
    ASSERT_NE(m_list, nullptr);
    m_frame->ShowWindow(SW_SHOW);
  }

  void AddEntry(const char *name, uint32_t id, uint32_t parent, bool folder, uint64_t size = 100,
                bool deleted = false, RecoveryGrade grade = RecoveryGrade::Good, uint32_t modifiedDate = 0,
                uint32_t modifiedTime = 0) {
    EntryRecord record;
    record.m_ownId = id;
    record.m_parentId = parent;
    record.m_attributes = folder ? kEntryAttrFolder : kEntryAttrArchive;
    record.m_size = folder ? 0 : size;
    record.m_deleted = deleted ? 1 : 0;
    record.m_grade = grade;
    record.m_dateWords[2] = modifiedTime;
    record.m_dateWords[3] = modifiedDate;
    m_tree->AddEntryToTree(record, U16(name));
  }
  // The usual results: the entries above, shown from the root as a search
  // leaves them.
  void AddStandardEntries() {
    m_tree->CreateRootItem();
    for (const Entry &e : kEntries) AddEntry(e.name, e.id, e.parent, e.folder, 100, e.id == 12);
    m_tree->ResetTreeToRoot();
    m_app.ResultsPresent = 1;
  }

  TreeEntryNode *Node(const std::string &name) {
    for (TreeEntryNode &node : m_tree->Entries()) {
      if (node.m_name == U16(name.c_str())) return &node;
    }
    ADD_FAILURE() << "no node " << name;
    return nullptr;
  }
  HTREEITEM Item(const std::string &name) {
    TreeEntryNode *node = Node(name);
    return node ? m_tree->ItemOf(*node) : nullptr;
  }
  void Select(const std::string &folder) { m_tree->GetTreeCtrl().SelectItem(Item(folder)); }
  int Row(const std::string &name) {
    CListCtrl &list = m_list->GetListCtrl();
    for (int row = 0; row < list.GetItemCount(); ++row) {
      if (list.GetItemText(row, 0) == CString(std::wstring(name.begin(), name.end()).c_str())) return row;
    }
    ADD_FAILURE() << "no row " << name;
    return -1;
  }
  std::vector<std::wstring> Column(int column) {
    std::vector<std::wstring> texts;
    CListCtrl &list = m_list->GetListCtrl();
    for (int row = 0; row < list.GetItemCount(); ++row)
      texts.emplace_back(static_cast<LPCTSTR>(list.GetItemText(row, column)));
    return texts;
  }
  // "Root=2 Docs=1 ..." for every node, in list order.
  std::string Checks() {
    std::string text;
    for (TreeEntryNode &node : m_tree->Entries()) {
      if (!text.empty()) text += ' ';
      text += std::string(node.m_name.begin(), node.m_name.end()) + "=" + std::to_string(node.Check());
    }
    return text;
  }
  // Every folder's item shows its node's state; every row its node's.
  // The list draws each row in the background the view gives it.
  void ExpectRowsDrawnAsGiven() {
    for (int row = 0; row < m_list->GetListCtrl().GetItemCount(); ++row) {
      const XT_ROWCOLOR *colours = m_list->FindRowColors(row);
      EXPECT_EQ(colours != nullptr ? colours->crBack : RGB(255, 255, 255), m_list->RowBackground(row)) << row;
      if (colours != nullptr) {
        EXPECT_EQ(colours->crText, RGB(0, 0, 0)) << row;
      }
    }
  }
  void ExpectViewsAgreeWithNodes() {
    for (TreeEntryNode &node : m_tree->Entries()) {
      if (node.m_item == nullptr) continue;
      EXPECT_EQ(m_tree->GetTreeCtrl().GetItemState(node.m_item, TVIS_STATEIMAGEMASK) >> 12, node.Check() + 1u)
          << std::string(node.m_name.begin(), node.m_name.end());
    }
    CListCtrl &list = m_list->GetListCtrl();
    for (int row = 0; row < list.GetItemCount(); ++row)
      EXPECT_EQ(list.GetItemState(row, LVIS_STATEIMAGEMASK) >> 12, m_list->RowNode(row)->Check() + 2u) << row;
  }
  void SendCommand(UINT id) { m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0); }
  void KeyDown(WPARAM key) {
    MSG message = {};
    message.hwnd = ::GetFocus();
    message.message = WM_KEYDOWN;
    message.wParam = key;
    m_frame->PreTranslateMessage(&message);
  }

  CLeftView *m_tree = nullptr;
  CQuendalVarnothView *m_list = nullptr;
};

// One step of a check case: a tree check-box hit on a folder, or a list
// check-box hit on a row of the folder selected first.
struct Step {
  enum Kind { Tree, List } kind;
  const char *folder;
  const char *row;
};

struct CheckCase {
  const char *what;
  std::vector<Step> steps;
  const char *expected;
  int anyChecked;
};

const CheckCase kCheckCases[] = {
    {"a folder checks everything below it; its ancestors become partly checked",
     {{Step::Tree, "Letters", nullptr}},
     "Root=2 Docs=2 Letters=1 a.txt=1 b.txt=1 notes.txt=0 Old=0 c.txt=0 top.txt=0",
     1},
    {"a partly checked folder becomes checked with everything below it",
     {{Step::Tree, "Letters", nullptr}, {Step::Tree, "Docs", nullptr}},
     "Root=2 Docs=1 Letters=1 a.txt=1 b.txt=1 notes.txt=1 Old=0 c.txt=0 top.txt=0",
     1},
    {"a checked folder unchecks everything below it and its ancestors follow",
     {{Step::Tree, "Docs", nullptr}, {Step::Tree, "Docs", nullptr}},
     "Root=0 Docs=0 Letters=0 a.txt=0 b.txt=0 notes.txt=0 Old=0 c.txt=0 top.txt=0",
     0},
    {"the root checks every entry",
     {{Step::Tree, "Root", nullptr}},
     "Root=1 Docs=1 Letters=1 a.txt=1 b.txt=1 notes.txt=1 Old=1 c.txt=1 top.txt=1",
     1},
    {"checking every child one by one turns the folder checked",
     {{Step::List, "Letters", "a.txt"}, {Step::List, "Letters", "b.txt"}},
     "Root=2 Docs=2 Letters=1 a.txt=1 b.txt=1 notes.txt=0 Old=0 c.txt=0 top.txt=0",
     1},
    {"checking the last unchecked entry of a folder turns it checked",
     {{Step::Tree, "Letters", nullptr}, {Step::List, "Docs", "notes.txt"}},
     "Root=2 Docs=1 Letters=1 a.txt=1 b.txt=1 notes.txt=1 Old=0 c.txt=0 top.txt=0",
     1},
    {"unchecking one row of an all-checked tree makes every ancestor up to the root partly checked",
     {{Step::Tree, "Root", nullptr}, {Step::List, "Letters", "a.txt"}},
     "Root=2 Docs=2 Letters=2 a.txt=0 b.txt=1 notes.txt=1 Old=1 c.txt=1 top.txt=1",
     1},
    {"unchecking the only checked file's folder leaves nothing checked",
     {{Step::List, "Old", "c.txt"}, {Step::Tree, "Old", nullptr}},
     "Root=0 Docs=0 Letters=0 a.txt=0 b.txt=0 notes.txt=0 Old=0 c.txt=0 top.txt=0",
     0},
    {"unchecking the only checked file leaves nothing checked",
     {{Step::List, "Old", "c.txt"}, {Step::List, "Old", "c.txt"}},
     "Root=0 Docs=0 Letters=0 a.txt=0 b.txt=0 notes.txt=0 Old=0 c.txt=0 top.txt=0",
     0},
    {"a partly checked folder row in the list unchecks its subtree",
     {{Step::List, "Letters", "a.txt"}, {Step::List, "Docs", "Letters"}},
     "Root=0 Docs=0 Letters=0 a.txt=0 b.txt=0 notes.txt=0 Old=0 c.txt=0 top.txt=0",
     0},
    {"a folder row in the list checks its subtree; with the files beside it checked the selected folder is "
     "checked",
     {{Step::List, "Docs", "notes.txt"}, {Step::List, "Docs", "Letters"}},
     "Root=2 Docs=1 Letters=1 a.txt=1 b.txt=1 notes.txt=1 Old=0 c.txt=0 top.txt=0",
     1},
    {"a file at the root makes the root partly checked",
     {{Step::List, "Root", "top.txt"}},
     "Root=2 Docs=0 Letters=0 a.txt=0 b.txt=0 notes.txt=0 Old=0 c.txt=0 top.txt=1",
     1},
    {"every entry of the root checked one by one turns the root checked",
     {{Step::Tree, "Docs", nullptr}, {Step::Tree, "Old", nullptr}, {Step::List, "Root", "top.txt"}},
     "Root=1 Docs=1 Letters=1 a.txt=1 b.txt=1 notes.txt=1 Old=1 c.txt=1 top.txt=1",
     1},
};

TEST_F(FolderTreeTest, CheckStatesFollowBothViews) {
  for (const CheckCase &c : kCheckCases) {
    SCOPED_TRACE(c.what);
    AddStandardEntries();
    for (const Step &step : c.steps) {
      if (step.kind == Step::Tree) {
        m_tree->ToggleItemCheck(Item(step.folder));
      } else {
        Select(step.folder);
        m_list->ToggleRowCheck(Row(step.row));
      }
      ExpectViewsAgreeWithNodes();
    }
    EXPECT_EQ(Checks(), c.expected);
    EXPECT_EQ(m_app.AnyChecked, c.anyChecked);
  }
}

TEST_F(FolderTreeTest, SelectingACheckedFolderShowsItsRowsChecked) {
  AddStandardEntries();
  m_tree->ToggleItemCheck(Item("Letters"));
  Select("Letters");
  EXPECT_EQ(m_app.SelectedFolderCheck, 1);
  ExpectViewsAgreeWithNodes();
  EXPECT_EQ(m_list->GetListCtrl().GetItemState(0, LVIS_STATEIMAGEMASK) >> 12, 3u);
  Select("Docs");
  EXPECT_EQ(m_app.SelectedFolderCheck, 2);
}

TEST_F(FolderTreeTest, UncheckingAfterSelectAllEnablesSelectAllAgain) {
  AddStandardEntries();
  SendCommand(ID_EDIT_SELECT_ALL_ENTRIES);
  EXPECT_EQ(Checks(), "Root=1 Docs=1 Letters=1 a.txt=1 b.txt=1 notes.txt=1 Old=1 c.txt=1 top.txt=1");
  ExpectViewsAgreeWithNodes();
  EXPECT_FALSE(AfxIsCommandEnabled(m_frame, ID_EDIT_SELECT_ALL_ENTRIES));
  EXPECT_TRUE(AfxIsCommandEnabled(m_frame, ID_EDIT_UNSELECT_ALL_ENTRIES));
  // Whichever view unchecks something, not everything is checked any more.
  m_tree->ToggleItemCheck(Item("Old"));
  EXPECT_EQ(m_app.AllChecked, 0);
  EXPECT_TRUE(AfxIsCommandEnabled(m_frame, ID_EDIT_SELECT_ALL_ENTRIES));
  SendCommand(ID_EDIT_UNSELECT_ALL_ENTRIES);
  EXPECT_EQ(Checks(), "Root=0 Docs=0 Letters=0 a.txt=0 b.txt=0 notes.txt=0 Old=0 c.txt=0 top.txt=0");
  ExpectViewsAgreeWithNodes();
  EXPECT_TRUE(AfxIsCommandEnabled(m_frame, ID_EDIT_SELECT_ALL_ENTRIES));
  EXPECT_FALSE(AfxIsCommandEnabled(m_frame, ID_EDIT_UNSELECT_ALL_ENTRIES));
}

TEST_F(FolderTreeTest, RealClicksOnTheCheckBoxes) {
  AddStandardEntries();
  CTreeCtrl &tree = m_tree->GetTreeCtrl();
  CRect label;
  ASSERT_TRUE(tree.GetItemRect(Item("Old"), &label, TRUE));
  // The check box lies left of the folder picture, which lies left of the label.
  const CPoint box(label.left - 16 - 7, label.CenterPoint().y);
  m_tree->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(box.x, box.y));
  m_tree->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(box.x, box.y));
  EXPECT_EQ(Node("Old")->Check(), 1);
  EXPECT_EQ(Node("c.txt")->Check(), 1);

  Select("Letters");
  CRect icon;
  ASSERT_TRUE(m_list->GetListCtrl().GetItemRect(Row("b.txt"), &icon, LVIR_ICON));
  const CPoint rowBox(icon.left - 7, icon.CenterPoint().y);
  m_list->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rowBox.x, rowBox.y));
  m_list->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(rowBox.x, rowBox.y));
  EXPECT_EQ(Node("b.txt")->Check(), 1);
  EXPECT_EQ(Node("Letters")->Check(), 2);
  EXPECT_EQ(m_frame->CheckedFileCount, 2);
  // Root, Docs, Letters and Old.
  EXPECT_EQ(m_frame->CheckedFolderCount, 4);
}

// A click on each cell of a real row, as the mouse gives it: with full-row
// selection the list's own hit test says "on the item" anywhere on the row,
// yet only the box ticks it; a click elsewhere selects the row and leaves
// every tick, the tree's partial ones too, as it was.
TEST_F(FolderTreeTest, OnlyTheBoxOfARowTicksIt) {
  AddStandardEntries();
  Select("Letters");
  CListCtrl &list = m_list->GetListCtrl();
  auto click = [&](CPoint at) {
    m_list->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    m_list->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    MSG message;
    while (::PeekMessageW(&message, m_list->m_hWnd, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE))
      ::DispatchMessageW(&message);
  };
  CRect icon;
  ASSERT_TRUE(list.GetItemRect(Row("a.txt"), &icon, LVIR_ICON));
  click(CPoint(icon.left - 7, icon.CenterPoint().y));
  const std::string ticked = "Root=2 Docs=2 Letters=2 a.txt=1 b.txt=0 notes.txt=0 Old=0 c.txt=0 top.txt=0";
  ASSERT_EQ(Checks(), ticked);

  const int row = Row("b.txt");
  for (int column = 0; column < 7; ++column) {
    list.SetItemState(-1, 0, LVIS_SELECTED);
    CRect cell;
    ASSERT_TRUE(list.GetSubItemRect(row, column, column == 0 ? LVIR_LABEL : LVIR_BOUNDS, cell));
    click(cell.CenterPoint());
    EXPECT_EQ(Checks(), ticked) << "column " << column;
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), row) << "column " << column;
  }
  HoldForScreenshot("file-list-cell-clicks");
  ExpectViewsAgreeWithNodes();

  ASSERT_TRUE(list.GetItemRect(row, &icon, LVIR_ICON));
  click(CPoint(icon.left - 7, icon.CenterPoint().y));
  EXPECT_EQ(Checks(), "Root=2 Docs=2 Letters=1 a.txt=1 b.txt=1 notes.txt=0 Old=0 c.txt=0 top.txt=0");
}

// While a search, a load, a save or a recovery runs, or an engine call
// still unwinds after Stop, clicks on the boxes change nothing, as the keys
// do not: a running recovery reads the checks as it goes.
TEST_F(FolderTreeTest, ClicksOnTheBoxesAreRefusedWhileSomethingRuns) {
  AddStandardEntries();
  Select("Letters");
  CRect label, icon;
  ASSERT_TRUE(m_tree->GetTreeCtrl().GetItemRect(Item("Old"), &label, TRUE));
  ASSERT_TRUE(m_list->GetListCtrl().GetItemRect(Row("b.txt"), &icon, LVIR_ICON));
  const CPoint box(label.left - 16 - 7, label.CenterPoint().y), rowBox(icon.left - 7, icon.CenterPoint().y);
  auto clickBoth = [&] {
    m_tree->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(box.x, box.y));
    m_tree->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(box.x, box.y));
    m_list->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rowBox.x, rowBox.y));
    m_list->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(rowBox.x, rowBox.y));
  };
  const std::string before = Checks();
  m_app.ScanRunning = 1;
  clickBoth();
  EXPECT_EQ(Checks(), before);
  m_app.ScanRunning = 0;
  m_frame->EngineCallDepth = 1;
  clickBoth();
  EXPECT_EQ(Checks(), before);
  m_frame->EngineCallDepth = 0;
  clickBoth();
  EXPECT_EQ(Node("Old")->Check(), 1);
  EXPECT_EQ(Node("b.txt")->Check(), 1);
  ExpectViewsAgreeWithNodes();
}

TEST_F(FolderTreeTest, SpaceTogglesTheFocusedPanesSelectionOnly) {
  AddStandardEntries();
  Select("Letters");
  m_tree->SetFocus();
  ASSERT_EQ(::GetFocus(), m_tree->m_hWnd);
  KeyDown(VK_SPACE);
  EXPECT_EQ(Node("Letters")->Check(), 1);

  // The list has the focus but no row is selected: nothing changes.
  m_list->SetFocus();
  ASSERT_EQ(::GetFocus(), m_list->m_hWnd);
  ASSERT_EQ(m_list->GetListCtrl().GetNextItem(-1, LVNI_SELECTED), -1);
  KeyDown(VK_SPACE);
  EXPECT_EQ(Node("a.txt")->Check(), 1);
  EXPECT_EQ(Node("b.txt")->Check(), 1);

  m_list->GetListCtrl().SetItemState(Row("b.txt"), LVIS_SELECTED, LVIS_SELECTED);
  KeyDown(VK_SPACE);
  EXPECT_EQ(Node("b.txt")->Check(), 0);
  EXPECT_EQ(Node("Letters")->Check(), 2);

  // Focus elsewhere (an edit box): Space leaves every check alone.
  const std::string before = Checks();
  HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, m_frame->m_hWnd, nullptr,
                              nullptr, nullptr);
  ASSERT_NE(edit, nullptr);
  ::SetFocus(edit);
  ASSERT_EQ(::GetFocus(), edit);
  KeyDown(VK_SPACE);
  KeyDown(VK_TAB);
  EXPECT_EQ(Checks(), before);
  EXPECT_EQ(::GetFocus(), edit);
  DestroyWindow(edit);
}

TEST_F(FolderTreeTest, TabMovesBetweenThePanesAndSelectsTheFirstRowOnce) {
  AddStandardEntries();
  m_tree->SetFocus();
  KeyDown(VK_TAB);
  EXPECT_EQ(::GetFocus(), m_list->m_hWnd);
  EXPECT_EQ(m_app.TreeHasFocus, 0);
  EXPECT_EQ(m_list->GetListCtrl().GetNextItem(-1, LVNI_SELECTED), 0);
  m_list->GetListCtrl().SetItemState(0, 0, LVIS_SELECTED);
  m_list->GetListCtrl().SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
  KeyDown(VK_TAB);
  EXPECT_EQ(::GetFocus(), m_tree->m_hWnd);
  EXPECT_EQ(m_app.TreeHasFocus, 1);
  // Later visits keep the list's own selection.
  KeyDown(VK_TAB);
  EXPECT_EQ(::GetFocus(), m_list->m_hWnd);
  EXPECT_EQ(m_list->GetListCtrl().GetNextItem(-1, LVNI_SELECTED), 2);
}

TEST_F(FolderTreeTest, EnterAndDoubleClickOpenAFolderRow) {
  AddStandardEntries();
  m_list->SetFocus();
  m_list->GetListCtrl().SetItemState(Row("Docs"), LVIS_SELECTED, LVIS_SELECTED);
  KeyDown(VK_RETURN);
  EXPECT_EQ(m_tree->GetTreeCtrl().GetSelectedItem(), Item("Docs"));
  EXPECT_EQ(Column(0), (std::vector<std::wstring>{L"Letters", L"notes.txt"}));

  // A file row opens nothing.
  m_list->GetListCtrl().SetItemState(Row("notes.txt"), LVIS_SELECTED, LVIS_SELECTED);
  KeyDown(VK_RETURN);
  EXPECT_EQ(m_tree->GetTreeCtrl().GetSelectedItem(), Item("Docs"));

  CRect rect;
  ASSERT_TRUE(m_list->GetListCtrl().GetItemRect(Row("Letters"), &rect, LVIR_LABEL));
  m_list->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(rect.left + 4, rect.CenterPoint().y));
  EXPECT_EQ(m_tree->GetTreeCtrl().GetSelectedItem(), Item("Letters"));
  EXPECT_EQ(Column(0), (std::vector<std::wstring>{L"a.txt", L"b.txt"}));
}

// The end of a search shows the root open and selected with its first level
// closed, and lists the root's entries, whatever was open or selected while
// the entries came in, and whether the root was selected then or not.
TEST_F(FolderTreeTest, TheEndShowsTheRootWhateverWasOpenOrSelected) {
  CTreeCtrl &tree = m_tree->GetTreeCtrl();
  const auto expanded = [&tree](HTREEITEM item) {
    return (tree.GetItemState(item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
  };
  for (const char *selected : {"", "Root", "Docs", "Letters"}) {
    m_tree->CreateRootItem();
    for (const Entry &e : kEntries) AddEntry(e.name, e.id, e.parent, e.folder, 100, e.id == 12);
    tree.Expand(Item("Docs"), TVE_EXPAND);
    if (*selected) Select(selected);
    m_tree->ResetTreeToRoot();
    EXPECT_EQ(tree.GetSelectedItem(), m_tree->RootItem()) << selected;
    EXPECT_TRUE(expanded(m_tree->RootItem())) << selected;
    EXPECT_FALSE(expanded(Item("Docs"))) << selected;
    EXPECT_EQ(Column(0), (std::vector<std::wstring>{L"Docs", L"Old", L"top.txt"})) << selected;
    ExpectViewsAgreeWithNodes();
  }
}

// A new window's first search clears panes that are still empty: they stay
// as drawn. The end of a search leaves the window around both panes drawing
// again and both panes to be drawn whole; a clear of shown results draws the
// emptied panes again.
TEST_F(FolderTreeTest, ClearsAndTheEndOfASearchDrawOnlyWhatChanged) {
  const HWND tree = m_tree->GetTreeCtrl().m_hWnd;
  const HWND list = m_list->GetListCtrl().m_hWnd;
  const auto drawAll = [this] {
    ::RedrawWindow(m_frame->m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
  };
  const auto waitsWhole = [](HWND pane) {
    CRect client, update;
    ::GetClientRect(pane, &client);
    return ::GetUpdateRect(pane, &update, FALSE) && update == client;
  };
  drawAll();
  m_tree->ClearTree();
  EXPECT_FALSE(::GetUpdateRect(tree, nullptr, FALSE));
  EXPECT_FALSE(::GetUpdateRect(list, nullptr, FALSE));

  AddStandardEntries();
  EXPECT_TRUE(::IsWindowVisible(::GetParent(m_tree->m_hWnd)));
  EXPECT_TRUE(waitsWhole(tree));
  EXPECT_TRUE(waitsWhole(list));
  EXPECT_EQ(Column(0), (std::vector<std::wstring>{L"Docs", L"Old", L"top.txt"}));

  drawAll();
  m_tree->ClearTree();
  EXPECT_EQ(m_list->GetListCtrl().GetItemCount(), 0);
  EXPECT_EQ(m_tree->GetTreeCtrl().GetCount(), 0u);
  EXPECT_TRUE(::GetUpdateRect(tree, nullptr, FALSE));
  EXPECT_TRUE(::GetUpdateRect(list, nullptr, FALSE));
}

// While folders pour in the tree does not draw; when it draws again it
// shows its items, frame and scroll bars exactly as a full redraw does,
// and a paint the list was waiting for is still to come.
TEST_F(FolderTreeTest, TheTreeDrawnAgainLooksAsAFullRedrawDrawsIt) {
  const HWND tree = m_tree->m_hWnd;
  const HWND list = m_list->GetListCtrl().m_hWnd;
  const auto drawAll = [this] {
    ::RedrawWindow(m_frame->m_hWnd, nullptr, nullptr,
                   RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
  };
  m_tree->CreateRootItem();
  drawAll();
  const DWORD noBars = ::GetWindowLongW(tree, GWL_STYLE) & WS_VSCROLL;
  ASSERT_EQ(noBars, 0u);
  // Enough folders for a vertical scroll bar: it comes while the tree is not drawn.
  for (uint32_t i = 0; i < 120; ++i) {
    const std::string name = "folder" + std::to_string(1000 + i);
    AddEntry(name.c_str(), 100 + i, 0, true);
  }
  const RECT part = {0, 0, 10, 10};
  ::InvalidateRect(list, &part, FALSE);
  ::Sleep(150); // past the tree's interval between drawings
  m_tree->SendMessage(CLeftView::kResumeRedrawMessage);
  EXPECT_TRUE(::IsWindowVisible(tree));
  EXPECT_NE(::GetWindowLongW(tree, GWL_STYLE) & WS_VSCROLL, 0);
  RECT pending;
  EXPECT_TRUE(::GetUpdateRect(list, &pending, FALSE)) << "the list's paint was lost";
  SCROLLINFO bar = {sizeof(bar), SIF_RANGE};
  ASSERT_TRUE(::GetScrollInfo(tree, SB_VERT, &bar));
  EXPECT_EQ(bar.nMax, 120); // the root and its 120 folders, from 0
  Pump();
  const std::vector<DWORD> resumed = WindowOnScreen(tree);
  drawAll();
  EXPECT_EQ(resumed, WindowOnScreen(tree)) << "the tree drawn again differs from a full redraw";
}

TEST_F(FolderTreeTest, GoUpFollowsTreeItemsNotTheirText) {
  m_tree->CreateRootItem();
  AddEntry("Root", 10, 0, true);
  AddEntry("inner", 11, 10, true);
  m_tree->ResetTreeToRoot();
  m_app.ResultsPresent = 1;
  EXPECT_FALSE(AfxIsCommandEnabled(m_frame, ID_EDIT_GO_UP));
  // A found folder that happens to be called "Root" can still go up.
  Select("inner");
  SendCommand(ID_EDIT_GO_UP);
  EXPECT_EQ(m_tree->GetTreeCtrl().GetSelectedItem(), m_tree->ItemOf(*m_tree->Entries().FindFolder(10)));
  EXPECT_TRUE(AfxIsCommandEnabled(m_frame, ID_EDIT_GO_UP));
  SendCommand(ID_EDIT_GO_UP);
  EXPECT_EQ(m_tree->GetTreeCtrl().GetSelectedItem(), m_tree->RootItem());
  EXPECT_FALSE(AfxIsCommandEnabled(m_frame, ID_EDIT_GO_UP));
}

TEST_F(FolderTreeTest, TreeItemsAreSortedDeletedFoldersMarkedAndOrphansKept) {
  m_tree->CreateRootItem();
  AddEntry("zeta", 10, 0, true);
  AddEntry("Alpha", 11, 0, true, 0, true);
  AddEntry("mid", 12, 0, true);
  AddEntry("beta", 13, 0, true);
  AddEntry("orphan", 14, 999, true);
  AddEntry("file.txt", 15, 0, false);
  CTreeCtrl &tree = m_tree->GetTreeCtrl();
  std::vector<std::wstring> names;
  for (HTREEITEM child = tree.GetChildItem(m_tree->RootItem()); child; child = tree.GetNextSiblingItem(child))
    names.emplace_back(static_cast<LPCTSTR>(tree.GetItemText(child)));
  EXPECT_EQ(names, (std::vector<std::wstring>{L"Alpha", L"beta", L"mid", L"zeta"}));
  int image = -1, selected = -1;
  tree.GetItemImage(Item("Alpha"), image, selected);
  EXPECT_EQ(image, 2);
  EXPECT_EQ(selected, 3);
  tree.GetItemImage(Item("beta"), image, selected);
  EXPECT_EQ(image, 0);
  EXPECT_EQ(Item("orphan"), nullptr);
  EXPECT_EQ(Item("file.txt"), nullptr);
  EXPECT_EQ(m_tree->Entries().Size(), 7u);
  EXPECT_EQ(tree.GetItemText(m_tree->RootItem()), CString(L"Root"));
  EXPECT_EQ(tree.GetItemData(m_tree->RootItem()), 0u);
}

// The items of a folder's subfolders are made when the folder first opens:
// until then it shows its button when it has any; then they come in the
// order, with the images and boxes, that adding them at once gave.
//   Root
//   +- top [10]        alpha [13] (deep [15] under it), Beta [12] deleted,
//   |                  beta [14], zed [11] (only a file), later [18]
//   +- leaf [16]       lost [17] came before its parent later [18]
//   +- top2 [10]       a second folder of top's id
TEST_F(FolderTreeTest, SubfolderItemsAreMadeWhenTheirFolderFirstOpens) {
  m_tree->CreateRootItem();
  AddEntry("top", 10, 0, true);
  AddEntry("zed", 11, 10, true);
  AddEntry("Beta", 12, 10, true, 0, true);
  AddEntry("alpha", 13, 10, true);
  AddEntry("beta", 14, 10, true);
  AddEntry("deep", 15, 13, true);
  AddEntry("in-zed.txt", 30, 11, false);
  AddEntry("leaf", 16, 0, true);
  AddEntry("lost", 17, 18, true);
  AddEntry("later", 18, 10, true);
  AddEntry("top2", 10, 0, true);
  m_tree->ResetTreeToRoot();
  CTreeCtrl &tree = m_tree->GetTreeCtrl();
  auto hasButton = [&](HTREEITEM item) {
    TVITEMW query = {};
    query.mask = TVIF_CHILDREN;
    query.hItem = item;
    return tree.GetItem(&query) && query.cChildren != 0;
  };
  auto childNames = [&](HTREEITEM item) {
    std::vector<std::wstring> names;
    for (HTREEITEM child = tree.GetChildItem(item); child; child = tree.GetNextSiblingItem(child))
      names.emplace_back(static_cast<LPCTSTR>(tree.GetItemText(child)));
    return names;
  };
  HTREEITEM top = Node("top")->m_item;
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(Node("alpha")->m_item, nullptr);
  EXPECT_EQ(tree.GetChildItem(top), nullptr);
  EXPECT_TRUE(hasButton(top));
  EXPECT_FALSE(hasButton(Node("leaf")->m_item));
  EXPECT_FALSE(hasButton(Node("top2")->m_item));

  tree.Expand(top, TVE_EXPAND);
  EXPECT_EQ(childNames(top), (std::vector<std::wstring>{L"alpha", L"Beta", L"beta", L"later", L"zed"}));
  int image = -1, selected = -1;
  tree.GetItemImage(Node("Beta")->m_item, image, selected);
  EXPECT_EQ(image, 2);
  EXPECT_EQ(selected, 3);
  tree.GetItemImage(Node("beta")->m_item, image, selected);
  EXPECT_EQ(image, 0);
  EXPECT_TRUE(hasButton(Node("alpha")->m_item));
  EXPECT_FALSE(hasButton(Node("zed")->m_item));
  EXPECT_FALSE(hasButton(Node("later")->m_item));
  EXPECT_EQ(Node("deep")->m_item, nullptr);
  EXPECT_EQ(tree.GetItemData(Node("zed")->m_item), 11u);
  ExpectViewsAgreeWithNodes();

  // A folder found under an open one takes its place at once.
  AddEntry("middle", 19, 10, true);
  EXPECT_EQ(childNames(top),
            (std::vector<std::wstring>{L"alpha", L"Beta", L"beta", L"later", L"middle", L"zed"}));
  // Opening the parent of a folder that came before it shows nothing more;
  // neither does the second folder of an id.
  tree.Expand(Node("later")->m_item, TVE_EXPAND);
  EXPECT_EQ(tree.GetChildItem(Node("later")->m_item), nullptr);
  EXPECT_EQ(Item("lost"), nullptr);
  // A folder found under one whose subfolders were looked for while it had
  // none (the list's row of a folder with no place asked to open) gives it
  // its button and its item at once.
  Select("later");
  m_tree->OpenChildFolder(17);
  EXPECT_EQ(tree.GetSelectedItem(), Node("later")->m_item);
  AddEntry("newer", 20, 18, true);
  EXPECT_TRUE(hasButton(Node("later")->m_item));
  EXPECT_EQ(childNames(Node("later")->m_item), std::vector<std::wstring>{L"newer"});
  tree.Expand(Node("top2")->m_item, TVE_EXPAND);
  EXPECT_EQ(tree.GetChildItem(Node("top2")->m_item), nullptr);
  // A folder asked for by its node is made with its parent's other folders.
  HTREEITEM deep = Item("deep");
  ASSERT_NE(deep, nullptr);
  EXPECT_EQ(tree.GetParentItem(deep), Node("alpha")->m_item);
  EXPECT_EQ(childNames(Node("alpha")->m_item), std::vector<std::wstring>{L"deep"});
}

// While a search runs, a folder found under a folder not yet opened gives
// that folder its button at once, as a made item would.
TEST_F(FolderTreeTest, AFolderFoundUnderAClosedOneShowsItsButtonAtOnce) {
  m_tree->CreateRootItem();
  AddEntry("outer", 10, 0, true);
  CTreeCtrl &tree = m_tree->GetTreeCtrl();
  HTREEITEM outer = Item("outer");
  TVITEMW query = {};
  query.mask = TVIF_CHILDREN;
  query.hItem = outer;
  ASSERT_TRUE(tree.GetItem(&query));
  EXPECT_EQ(query.cChildren, 0);
  AddEntry("inner", 11, 10, true);
  ASSERT_TRUE(tree.GetItem(&query));
  EXPECT_EQ(query.cChildren, 1);
  EXPECT_EQ(Node("inner")->m_item, nullptr);
  m_tree->ResetTreeToRoot();
  tree.Expand(outer, TVE_EXPAND);
  EXPECT_EQ(tree.GetItemText(tree.GetChildItem(outer)), CString(L"inner"));
}

// The keys a user opens folders with make the items they show.
TEST_F(FolderTreeTest, KeysOpenFoldersWhoseSubfoldersWereNeverShown) {
  AddStandardEntries();
  CTreeCtrl &tree = m_tree->GetTreeCtrl();
  tree.SelectItem(Node("Docs")->m_item);
  m_tree->SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_NE(tree.GetItemState(Node("Docs")->m_item, TVIS_EXPANDED) & TVIS_EXPANDED, 0u);
  m_tree->SendMessage(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(tree.GetItemText(tree.GetSelectedItem()), CString(L"Letters"));
  EXPECT_EQ(Column(0), std::vector<std::wstring>({L"a.txt", L"b.txt"}));
  m_tree->SendMessage(WM_KEYDOWN, VK_LEFT, 0);
  m_tree->SendMessage(WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(tree.GetSelectedItem(), Node("Docs")->m_item);
}

// A folder ticked before its subfolders were ever shown: they show the
// tick when they open, their files too, and a change below goes back up.
TEST_F(FolderTreeTest, ATickReachesSubfoldersNeverShown) {
  AddStandardEntries();
  m_tree->ToggleItemCheck(Node("Docs")->m_item);
  EXPECT_EQ(Node("Letters")->m_item, nullptr);
  EXPECT_EQ(Checks(), "Root=2 Docs=1 Letters=1 a.txt=1 b.txt=1 notes.txt=1 Old=0 c.txt=0 top.txt=0");
  CTreeCtrl &tree = m_tree->GetTreeCtrl();
  tree.Expand(Node("Docs")->m_item, TVE_EXPAND);
  ASSERT_NE(Node("Letters")->m_item, nullptr);
  EXPECT_EQ(tree.GetItemState(Node("Letters")->m_item, TVIS_STATEIMAGEMASK) >> 12, 2u);
  Select("Letters");
  ExpectViewsAgreeWithNodes();
  m_list->ToggleRowCheck(Row("a.txt"));
  EXPECT_EQ(Checks(), "Root=2 Docs=2 Letters=2 a.txt=0 b.txt=1 notes.txt=1 Old=0 c.txt=0 top.txt=0");
  ExpectViewsAgreeWithNodes();
}

TEST_F(FolderTreeTest, ExpandingAFolderGivesItsEntriesItsState) {
  m_tree->CreateRootItem();
  // As a scan file brings them back: the folder saved checked, its entries
  // not yet.
  EntryRecord folder;
  folder.m_ownId = 10;
  folder.m_attributes = kEntryAttrFolder;
  folder.m_checkState = 1;
  m_tree->AddEntryToTree(folder, u"saved");
  AddEntry("inner", 11, 10, true);
  AddEntry("file.txt", 12, 10, false);
  EXPECT_EQ(m_tree->GetTreeCtrl().GetItemState(Item("saved"), TVIS_STATEIMAGEMASK) >> 12, 2u);
  m_app.StopRequested = 1;
  m_tree->GetTreeCtrl().Expand(Item("saved"), TVE_EXPAND);
  EXPECT_EQ(Node("inner")->Check(), 1);
  EXPECT_EQ(Node("file.txt")->Check(), 1);
  ExpectViewsAgreeWithNodes();
}

// As a scan file brings them back, Letters saved checked and the root's own
// state not in the file: the end of the load shows every saved check, and
// looking at the folders changes none of them.
TEST_F(FolderTreeTest, ChecksOfALoadAreShownAsTheyWereSaved) {
  m_tree->CreateRootItem();
  for (const Entry &e : kEntries) {
    EntryRecord record;
    record.m_ownId = e.id;
    record.m_parentId = e.parent;
    record.m_attributes = e.folder ? kEntryAttrFolder : kEntryAttrArchive;
    record.m_checkState = e.id == 10 ? 2 : e.id == 11 || e.id == 20 || e.id == 21 ? 1 : 0;
    m_tree->AddEntryToTree(record, U16(e.name));
  }
  m_app.StopRequested = 1;
  m_tree->ResetTreeToRoot();
  const char *saved = "Root=2 Docs=2 Letters=1 a.txt=1 b.txt=1 notes.txt=0 Old=0 c.txt=0 top.txt=0";
  EXPECT_EQ(Checks(), saved);
  ExpectViewsAgreeWithNodes();
  EXPECT_EQ(m_app.AnyChecked, 1);
  EXPECT_EQ(m_frame->CheckedFileCount, 2);
  for (const char *folder : {"Docs", "Letters", "Old", "Root"}) {
    Select(folder);
    ExpectViewsAgreeWithNodes();
  }
  EXPECT_EQ(Checks(), saved);
}

TEST_F(FolderTreeTest, SelectFolderByIdShowsItsEntries) {
  AddStandardEntries();
  m_tree->SelectFolderById(11);
  EXPECT_EQ(m_tree->GetTreeCtrl().GetSelectedItem(), Item("Letters"));
  EXPECT_EQ(Column(0), (std::vector<std::wstring>{L"a.txt", L"b.txt"}));
  m_tree->SelectFolderById(4242);
  EXPECT_EQ(m_tree->GetTreeCtrl().GetSelectedItem(), Item("Letters"));
}

TEST_F(FolderTreeTest, RowTexts) {
  m_tree->CreateRootItem();
  const uint32_t date = ((2023 - 1980) << 9) | (3 << 5) | 15, time = (9 << 11) | (59 << 5) | 29;
  AddEntry("folder", 10, 0, true);
  AddEntry("gone", 11, 0, true, 0, true);
  AddEntry("empty.txt", 12, 0, false, 0, false, RecoveryGrade::VeryGood);
  AddEntry("poor.doc", 13, 0, false, 5000000000ULL, true, RecoveryGrade::Poor, date, time);
  AddEntry("fair.doc", 1234567, 0, false, 7, false, RecoveryGrade::Fair);
  m_tree->ResetTreeToRoot();
  EXPECT_EQ(Column(0),
            (std::vector<std::wstring>{L"folder", L"gone", L"empty.txt", L"poor.doc", L"fair.doc"}));
  EXPECT_EQ(Column(1),
            (std::vector<std::wstring>{L"Folder", L"Deleted Folder", L"File", L"Deleted File", L"File"}));
  EXPECT_EQ(Column(2), (std::vector<std::wstring>{L"0", L"0", L"0", L"5000000000", L"7"}));
  EXPECT_EQ(Column(3), (std::vector<std::wstring>{L"--------", L"--------", L"--------",
                                                  L"15-03-2023 09:59:58", L"--------"}));
  EXPECT_EQ(Column(5), (std::vector<std::wstring>{L"", L"", L"Not Applicable", L"Poor", L"Fair"}));
  EXPECT_EQ(Column(6),
            (std::vector<std::wstring>{L"     10", L"     11", L"     12", L"     13", L"1234567"}));
}

// Each column but the name's shows its title, with room for the sort arrow,
// and the widest of its texts whole; the name column keeps its width.
void ExpectColumnsShowTheirTextsWhole(CListCtrl &list) {
  EXPECT_EQ(list.GetColumnWidth(0), 200);
  CHeaderCtrl *header = list.GetHeaderCtrl();
  ASSERT_NE(header, nullptr);
  for (int column = 1; column < 7; ++column) {
    wchar_t title[128] = {};
    HDITEMW item = {};
    item.mask = HDI_TEXT;
    item.pszText = title;
    item.cchTextMax = 128;
    ASSERT_TRUE(header->GetItem(column, &item));
    const int width = list.GetColumnWidth(column);
    const int arrowRoom = 8 + 2 * 10;
    EXPECT_GE(width, list.GetStringWidth(title) + 12 + arrowRoom) << "title of column " << column;
    for (int row = 0; row < list.GetItemCount(); ++row) {
      const CString text = list.GetItemText(row, column);
      EXPECT_GE(width, list.GetStringWidth(text) + 12) << "column " << column << " row " << row;
    }
  }
}

// After a search: a type, a date with its time and a grade longer than the
// columns' first widths, and titles that fit them as they are.
TEST_F(FolderTreeTest, ColumnsWidenToShowTheirTitleAndWidestTextWhole) {
  CListCtrl &list = m_list->GetListCtrl();
  const int firstWidths[7] = {200, 70, 80, 127, 127, 70, 80};
  for (int column = 0; column < 7; ++column) {
    EXPECT_EQ(list.GetColumnWidth(column), firstWidths[column]) << column;
  }
  m_tree->CreateRootItem();
  const uint32_t date = ((2023 - 1980) << 9) | (12 << 5) | 28, time = (12 << 11) | (51 << 5) | 9;
  AddEntry("a rather long name of a deleted file that the name column cuts.txt", 13, 0, false, 5000000000ULL,
           true, RecoveryGrade::Poor, date, time);
  AddEntry("gone", 11, 0, true, 0, true);
  AddEntry("empty.txt", 12, 0, false, 0, false, RecoveryGrade::VeryGood, date, time);
  m_tree->ResetTreeToRoot();
  ASSERT_EQ(list.GetItemCount(), 3);
  ExpectColumnsShowTheirTextsWhole(list);
  EXPECT_GT(list.GetColumnWidth(1), 70) << "\"Deleted Folder\" is cut at 70";
  EXPECT_GT(list.GetColumnWidth(5), 70) << "\"Not Applicable\" is cut at 70";
  EXPECT_EQ(list.GetColumnWidth(2), 80) << "a size that fits leaves its column as it is";

  // A column the user made wider stays so; one made narrower grows again.
  list.SetColumnWidth(2, 300);
  list.SetColumnWidth(3, 40);
  m_tree->ResetTreeToRoot();
  EXPECT_EQ(list.GetColumnWidth(2), 300);
  ExpectColumnsShowTheirTextsWhole(list);
}

// The list's client area as a picture: the window's own pixels, or what the
// list prints into a memory DC.
class ListPicture {
public:
  ListPicture(CListCtrl &list, bool printed) {
    CRect client;
    list.GetClientRect(&client);
    m_window = list.m_hWnd;
    if (!printed) {
      list.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      m_dc = ::GetDC(m_window);
      return;
    }
    m_memory = ::CreateCompatibleDC(nullptr);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = client.Width();
    info.bmiHeader.biHeight = -client.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    m_bitmap = ::CreateDIBSection(m_memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_old = ::SelectObject(m_memory, m_bitmap);
    list.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(m_memory), PRF_CLIENT);
    m_dc = m_memory;
  }
  ~ListPicture() {
    if (m_memory != nullptr) {
      ::SelectObject(m_memory, m_old);
      ::DeleteObject(m_bitmap);
      ::DeleteDC(m_memory);
    } else {
      ::ReleaseDC(m_window, m_dc);
    }
  }
  HDC Dc() const { return m_dc; }

private:
  HWND m_window = nullptr;
  HDC m_dc = nullptr;
  HDC m_memory = nullptr;
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_old = nullptr;
};

// Every text of the right-aligned columns is drawn whole to its last pixel
// column, on screen and printed, in the colours of its row: a date with its
// time draws a pixel wider than it measures under Wine, and the list clipped
// it at its measured width.
TEST_F(FolderTreeTest, RightAlignedTextsAreDrawnWholeToTheirLastPixel) {
  m_tree->CreateRootItem();
  auto fatDate = [](int year, int month, int day) { return ((year - 1980) << 9) | (month << 5) | day; };
  auto fatTime = [](int hour, int minute, int second) { return (hour << 11) | (minute << 5) | (second / 2); };
  AddEntry("letter.txt", 14, 0, false, 123458, true, RecoveryGrade::Good, fatDate(2024, 3, 15),
           fatTime(12, 51, 18));
  AddEntry("photo.jpg", 25, 0, false, 48215, true, RecoveryGrade::Poor, fatDate(2023, 12, 28),
           fatTime(9, 59, 58));
  AddEntry("figures.csv", 38, 0, false, 5000000004ULL, false, RecoveryGrade::Fair, fatDate(2025, 7, 4),
           fatTime(23, 48, 34));
  m_tree->ResetTreeToRoot();
  CListCtrl &list = m_list->GetListCtrl();
  ASSERT_EQ(list.GetItemCount(), 3);
  m_frame->ShowWindow(SW_SHOWMAXIMIZED);
  // A selected row with the focus elsewhere shows the selection's grey.
  list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
  const HFONT font = reinterpret_cast<HFONT>(list.SendMessage(WM_GETFONT));
  for (bool printed : {false, true}) {
    SCOPED_TRACE(printed ? "printed" : "on screen");
    ListPicture picture(list, printed);
    for (int row = 0; row < list.GetItemCount(); ++row) {
      CRect typeCell;
      ASSERT_TRUE(list.GetSubItemRect(row, 1, LVIR_BOUNDS, typeCell));
      const COLORREF rowBack = ::GetPixel(picture.Dc(), typeCell.right - 3, typeCell.top + 2);
      for (int column = 2; column < 7; ++column) {
        const CString text = list.GetItemText(row, column);
        CRect cell;
        ASSERT_TRUE(list.GetSubItemRect(row, column, LVIR_BOUNDS, cell));
        const Ink ink = InkIn(picture.Dc(), cell);
        EXPECT_EQ(ink.Width(), WholeInkWidth(font, text))
            << "row " << row << " column " << column << " \""
            << std::string(text.GetString(), text.GetString() + text.GetLength()) << "\"";
        EXPECT_LE(ink.last, cell.right - 1 - 4) << "row " << row << " column " << column;
        EXPECT_EQ(::GetPixel(picture.Dc(), cell.left + 2, cell.top + 2), rowBack)
            << "row " << row << " column " << column;
      }
    }
  }
  // A column too narrow for its dates shows them cut with "...", inside it.
  list.SetColumnWidth(3, 60);
  ListPicture picture(list, false);
  for (int row = 0; row < list.GetItemCount(); ++row) {
    CRect cell, sizeCell;
    ASSERT_TRUE(list.GetSubItemRect(row, 3, LVIR_BOUNDS, cell));
    ASSERT_TRUE(list.GetSubItemRect(row, 2, LVIR_BOUNDS, sizeCell));
    const Ink ink = InkIn(picture.Dc(), cell);
    EXPECT_GT(ink.Width(), 0) << row;
    EXPECT_GE(ink.first, cell.left) << row;
    EXPECT_LE(ink.last, cell.right - 1 - 4) << row;
    EXPECT_EQ(InkIn(picture.Dc(), sizeCell).Width(), WholeInkWidth(font, list.GetItemText(row, 2))) << row;
  }
}

// The French titles and texts are longer than the English ones: after a
// search every one is shown whole.
TEST_F(FolderTreeTest, FrenchTitlesAndTextsAreShownWhole) {
  const std::wstring executable = std::wstring(QV_LANGUAGE_DIR) + L"/QuendalVarnoth.exe";
  HMODULE french = LoadLanguageLibrary(1, executable);
  ASSERT_NE(french, nullptr);
  HINSTANCE own = AfxGetResourceHandle();
  AfxSetResourceHandle(french);
  const bool made = RemakeFrame();
  if (made) {
    m_tree = m_frame->GetLeftPane();
    m_list = m_frame->GetRightPane();
    CListCtrl &list = m_list->GetListCtrl();
    m_tree->CreateRootItem();
    AddEntry("gone", 11, 0, true, 0, true);
    AddEntry("empty.txt", 12, 0, false, 0, true, RecoveryGrade::VeryGood);
    m_tree->ResetTreeToRoot();
    EXPECT_EQ(list.GetItemText(1, 1), CString(L"Fichier supprim\u00e9"));
    ExpectColumnsShowTheirTextsWhole(list);
    EXPECT_GT(list.GetColumnWidth(3), 127) << "\"Date de modification\" and its sort arrow are cut at 127";
  }
  AfxSetResourceHandle(own);
  EXPECT_TRUE(made);
  if (m_frame != nullptr && m_frame->m_hWnd != nullptr) m_frame->DestroyWindow();
  DrainQueue();
  m_frame = nullptr;
  FreeLibrary(french);
}

// A grade the engine lowers once its search has ended reaches the entry and
// the row that shows it, after a sort too; a folder has no grade to change.
TEST_F(FolderTreeTest, ALoweredGradeReachesItsEntryAndRow) {
  AddStandardEntries();
  m_list->OnHeaderClick(0);
  const int row = Row("top.txt");
  EXPECT_EQ(m_list->GetListCtrl().GetItemText(row, 5), CString(L"Good"));
  m_tree->SetEntryGrade(23, RecoveryGrade::Fair);
  EXPECT_EQ(m_list->GetListCtrl().GetItemText(row, 5), CString(L"Fair"));
  EXPECT_EQ(Node("top.txt")->m_record.m_grade, RecoveryGrade::Fair);
  // A file in a folder not shown: its entry changes, the rows stay.
  m_tree->SetEntryGrade(20, RecoveryGrade::Fair);
  EXPECT_EQ(Node("a.txt")->m_record.m_grade, RecoveryGrade::Fair);
  m_tree->SetEntryGrade(12, RecoveryGrade::Poor);
  EXPECT_EQ(Node("Old")->m_record.m_grade, RecoveryGrade::Good);
  m_tree->SetEntryGrade(4242, RecoveryGrade::Poor);
  Select("Letters");
  EXPECT_EQ(Column(5), (std::vector<std::wstring>{L"Fair", L"Good"}));
}

TEST_F(FolderTreeTest, RowColoursAlternateAndFindHighlightMovesRow) {
  AddStandardEntries();
  EXPECT_EQ(m_list->RowBackground(0), CQuendalVarnothView::kAlternateRowColour);
  EXPECT_EQ(m_list->RowBackground(1), RGB(255, 255, 255));
  ExpectRowsDrawnAsGiven();
  m_list->HighlightRowByData(12);
  const int first = Row("Old");
  EXPECT_EQ(m_app.HighlightedRow, first);
  EXPECT_EQ(m_list->RowBackground(first), CQuendalVarnothView::kHighlightColour);
  ExpectRowsDrawnAsGiven();
  m_list->HighlightRowByData(23);
  EXPECT_EQ(m_list->RowBackground(Row("top.txt")), CQuendalVarnothView::kHighlightColour);
  EXPECT_EQ(m_list->RowBackground(first),
            first % 2 == 0 ? CQuendalVarnothView::kAlternateRowColour : RGB(255, 255, 255));
  ExpectRowsDrawnAsGiven();
  m_list->RestoreHighlightedRowColor();
  EXPECT_EQ(m_app.HighlightedRow, CQuendalVarnothView::kNoHighlightedRow);
  ExpectRowsDrawnAsGiven();
}

class FileListSortingTest : public FolderTreeTest {
protected:
  static uint32_t Date(int year, int month, int day) { return ((year - 1980) << 9) | (month << 5) | day; }
  static uint32_t Time(int hour, int minute, int second) {
    return (hour << 11) | (minute << 5) | (second / 2);
  }
  void SetUp() override {
    FolderTreeTest::SetUp();
    m_tree->CreateRootItem();
    AddEntry("delta.txt", 20, 0, false, 3000000000ULL, false, RecoveryGrade::Good, Date(2023, 3, 15),
             Time(14, 30, 6));
    AddEntry("Bravo.doc", 21, 0, false, 5, false, RecoveryGrade::Good, 0, 0);
    AddEntry("alpha.jpg", 22, 0, false, 70, false, RecoveryGrade::Good, Date(2023, 3, 15), Time(9, 59, 58));
    AddEntry("charlie", 23, 0, false, 600, false, RecoveryGrade::Good, Date(2022, 12, 31), Time(23, 0, 0));
    m_tree->ResetTreeToRoot();
    m_app.ResultsPresent = 1;
  }
  std::vector<std::wstring> Names() { return Column(0); }
};

TEST_F(FileListSortingTest, HeaderClicksSortAndFlip) {
  m_list->OnHeaderClick(0);
  EXPECT_EQ(Names(), (std::vector<std::wstring>{L"alpha.jpg", L"Bravo.doc", L"charlie", L"delta.txt"}));
  m_list->OnHeaderClick(0);
  EXPECT_EQ(Names(), (std::vector<std::wstring>{L"delta.txt", L"charlie", L"Bravo.doc", L"alpha.jpg"}));
  // A new column starts ascending; sizes of 2 GB and more sort last.
  m_list->OnHeaderClick(2);
  EXPECT_EQ(Names(), (std::vector<std::wstring>{L"Bravo.doc", L"alpha.jpg", L"charlie", L"delta.txt"}));
  EXPECT_EQ(m_app.SortColumn, 2);
  BOOL ascending = FALSE;
  EXPECT_EQ(m_list->SortHeader().ReadSortedColumn(&ascending), 2);
  EXPECT_TRUE(ascending);
}

// The list's header is the toolkit's: shaded, with sort arrows.
TEST_F(FileListSortingTest, TheHeaderIsTheShadedSortHeader) {
  const CXTHeaderCtrl &header = m_list->SortHeader();
  ASSERT_EQ(header.GetSafeHwnd(), ListView_GetHeader(m_list->m_hWnd));
  EXPECT_EQ(m_list->GetListCtrl().GetHeaderCtrl(), &header);
  ASSERT_NE(header.GetTheme(), nullptr);
  EXPECT_EQ(typeid(*header.GetTheme()), typeid(CXTHeaderThemeShaded));
  EXPECT_NE(header.GetTheme()->GetDrawStyle() & XTHDR_SORTARROW, 0u);
  EXPECT_EQ(header.GetItemCount(), 7);
}

TEST_F(FileListSortingTest, AClickOnTheHeaderSortsOnce) {
  CHeaderCtrl *header = m_list->GetListCtrl().GetHeaderCtrl();
  ASSERT_NE(header, nullptr);
  CRect rect;
  ASSERT_TRUE(header->GetItemRect(0, &rect));
  const LPARAM point = MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y);
  // Twice sorted would flip the direction back: a first click sorts ascending.
  header->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, point);
  header->SendMessage(WM_LBUTTONUP, 0, point);
  EXPECT_EQ(Names(), (std::vector<std::wstring>{L"alpha.jpg", L"Bravo.doc", L"charlie", L"delta.txt"}));
  EXPECT_EQ(m_app.SortAscending, 1);
  header->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, point);
  header->SendMessage(WM_LBUTTONUP, 0, point);
  EXPECT_EQ(Names(), (std::vector<std::wstring>{L"delta.txt", L"charlie", L"Bravo.doc", L"alpha.jpg"}));
  BOOL ascending = TRUE;
  EXPECT_EQ(m_list->SortHeader().ReadSortedColumn(&ascending), 0);
  EXPECT_FALSE(ascending);
}

UINT g_headerMenus = 0;
UINT CountHeaderMenu(HMENU hMenu, UINT, int, int, HWND, int) {
  g_headerMenus++;
  return hMenu != nullptr ? 0 : 0;
}

// The header's right-click menu sorts the way it says, once: the list turns
// no column click of it as well (which would sort the rows again by the
// click rules).
TEST_F(FileListSortingTest, TheHeaderMenuSortsOnceTheWayItSays) {
  HWND header = m_list->SortHeader().GetSafeHwnd();
  CRect rect;
  ASSERT_TRUE(Header_GetItemRect(header, 2, &rect));
  XTPPopupContextMenuHandler previous = XTPSetPopupContextMenuHandler(CountHeaderMenu);
  g_headerMenus = 0;
  ::SendMessageW(header, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y));
  XTPSetPopupContextMenuHandler(previous);
  EXPECT_EQ(g_headerMenus, 1u);

  const struct {
    UINT command;
    BYTE ascending;
    std::vector<std::wstring> names;
  } kSteps[] = {
      {XT_IDC_SORTDSC, 0, {L"delta.txt", L"charlie", L"alpha.jpg", L"Bravo.doc"}},
      {XT_IDC_SORTDSC, 0, {L"delta.txt", L"charlie", L"alpha.jpg", L"Bravo.doc"}}, // already so: nothing
      {XT_IDC_SORTASC, 1, {L"Bravo.doc", L"alpha.jpg", L"charlie", L"delta.txt"}},
  };
  for (const auto &step : kSteps) {
    ::SendMessageW(header, WM_COMMAND, step.command, 0);
    EXPECT_EQ(Names(), step.names) << step.command;
    EXPECT_EQ(m_app.SortAscending, step.ascending) << step.command;
    EXPECT_EQ(m_app.SortColumn, 2);
  }
  // A left click afterwards follows the click rules from there: it flips.
  m_list->OnHeaderClick(2);
  EXPECT_EQ(m_app.SortAscending, 0);
}

TEST_F(FileListSortingTest, UndatedRowsFirstAndTimesWithinADay) {
  m_list->OnHeaderClick(3);
  EXPECT_EQ(Names(), (std::vector<std::wstring>{L"Bravo.doc", L"charlie", L"alpha.jpg", L"delta.txt"}));
}

TEST_F(FileListSortingTest, ARefillResetsTheDirection) {
  m_list->OnHeaderClick(0);
  m_list->OnHeaderClick(0);
  EXPECT_EQ(m_app.SortAscending, 0);
  m_list->FillFileList(0);
  EXPECT_EQ(m_app.SortAscending, 0);
  // The first click after a refill on the same column sorts ascending.
  m_list->OnHeaderClick(0);
  EXPECT_EQ(Names(), (std::vector<std::wstring>{L"alpha.jpg", L"Bravo.doc", L"charlie", L"delta.txt"}));
}

TEST_F(FileListSortingTest, RowsKeepTheirEntriesAndChecksWhenExchanged) {
  m_list->ToggleRowCheck(Row("charlie"));
  m_list->OnHeaderClick(6);
  m_list->OnHeaderClick(6);
  EXPECT_EQ(Names(), (std::vector<std::wstring>{L"charlie", L"alpha.jpg", L"Bravo.doc", L"delta.txt"}));
  for (int row = 0; row < 4; ++row) {
    EXPECT_EQ(m_list->GetListCtrl().GetItemData(row), m_list->RowNode(row)->m_record.m_ownId);
    EXPECT_EQ(m_list->GetListCtrl().GetItemText(row, 0),
              CString(reinterpret_cast<const wchar_t *>(m_list->RowNode(row)->m_name.c_str())));
  }
  ExpectViewsAgreeWithNodes();
  EXPECT_EQ(m_list->GetListCtrl().GetItemState(0, LVIS_STATEIMAGEMASK) >> 12, 3u);
}

// Find's highlight stays on the entry it found whatever the sorts do.
TEST_F(FileListSortingTest, TheFindHighlightStaysOnItsEntryAcrossSorts) {
  m_list->HighlightRowByData(22);
  for (int column : {0, 0, 2, 3, 6, 6}) {
    m_list->OnHeaderClick(column);
    SCOPED_TRACE(column);
    ASSERT_NE(m_app.HighlightedRow, CQuendalVarnothView::kNoHighlightedRow);
    EXPECT_EQ(m_list->RowNode(m_app.HighlightedRow)->m_record.m_ownId, 22u);
    for (int row = 0; row < m_list->GetListCtrl().GetItemCount(); ++row)
      EXPECT_EQ(m_list->RowBackground(row) == CQuendalVarnothView::kHighlightColour, row == Row("alpha.jpg"))
          << row;
    ExpectRowsDrawnAsGiven();
  }
}

TEST_F(FileListSortingTest, AColumnBeyondTheHeaderSortsNothing) {
  const std::vector<std::wstring> before = Names();
  m_list->OnHeaderClick(7);
  EXPECT_EQ(Names(), before);
}

TEST_F(FileListSortingTest, AnEmptyFolderShowsNoRows) {
  AddEntry("empty", 30, 0, true);
  m_list->OnHeaderClick(0);
  m_list->FillFileList(30);
  EXPECT_EQ(m_list->GetListCtrl().GetItemCount(), 0);
  EXPECT_EQ(m_app.SortAscending, 0);
}

// View > Large Icons, List, Small Icons and Details: the whole list is drawn
// anew at once, and each shows its own layout (List: one column of small
// items, top to bottom; the icon views: items side by side).
TEST_F(FolderTreeTest, ListViewModesRedrawAtOnceInTheirOwnLayout) {
  AddStandardEntries();
  CListCtrl &list = m_list->GetListCtrl();
  ASSERT_EQ(list.GetItemCount(), 3);
  struct Case {
    UINT m_command;
    bool m_column; // the second item below the first, else beside it
    bool m_small;  // items of a small icon's height
  };
  const Case cases[] = {{ID_VIEW_LARGEICON, false, false}, {ID_VIEW_LIST, true, true},
                        {ID_VIEW_SMALLICON, false, true},  {ID_VIEW_DETAILS, true, true},
                        {ID_VIEW_LIST, true, true},        {ID_VIEW_LARGEICON, false, false}};
  for (const Case &c : cases) {
    m_list->UpdateWindow();
    ASSERT_FALSE(::GetUpdateRect(list.m_hWnd, nullptr, FALSE)) << c.m_command;
    m_frame->SendMessage(WM_COMMAND, c.m_command);
    CRect client, dirty;
    list.GetClientRect(&client);
    ::GetUpdateRect(list.m_hWnd, &dirty, FALSE);
    EXPECT_TRUE(dirty == client) << c.m_command << ": " << dirty.left << "," << dirty.top << " "
                                 << dirty.right << "," << dirty.bottom << " of " << client.right << ","
                                 << client.bottom;

    CRect first, second;
    ASSERT_TRUE(list.GetItemRect(0, &first, LVIR_BOUNDS)) << c.m_command;
    ASSERT_TRUE(list.GetItemRect(1, &second, LVIR_BOUNDS)) << c.m_command;
    if (c.m_column) {
      EXPECT_EQ(second.left, first.left) << c.m_command;
      EXPECT_GE(second.top, first.bottom) << c.m_command;
    } else {
      EXPECT_EQ(second.top, first.top) << c.m_command;
      EXPECT_GE(second.left, first.right) << c.m_command;
    }
    EXPECT_EQ(first.Height() < 32, c.m_small) << c.m_command << " height " << first.Height();
  }
}

} // namespace
