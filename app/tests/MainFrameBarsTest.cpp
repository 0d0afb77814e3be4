// The main frame's command bars, made as the program makes them: the menu
// bar and the toolbar "Standard" in place of the window's own menu and tool
// bar, their commands and command states, the keys that reach the menus,
// tooltips, the chevron of a narrow window, View > Toolbars and the icon
// sizes. Keys and clicks are messages given to the frame and its bars; no
// window is activated.
#include "WizardTestFrame.h"

#include "../../Common/tests/MemoryCanvas.h"

#include <algorithm>
#include <string>
#include <vector>

#include "QuendalVarnothView.h"
#include "SimpleListView.h"
#include "XTPCommandBars.h"
#include "XTPControl.h"
#include "XTPControlToolbars.h"
#include "XTPHookManager.h"
#include "XTPMenuBar.h"
#include "XTPOffice2003Theme.h"
#include "XTPPaintManager.h"
#include "XTPStatusBar.h"
#include "XTPPopupBar.h"
#include "XTPShortcutManager.h"
#include "XTPToolBar.h"
#include "XTPToolTipContext.h"

namespace {

class MainFrameBars : public AppFrameTest {
protected:
  CXTPCommandBars *Bars() { return m_frame->GetCommandBars(); }
  CXTPCommandBar *MenuBar() { return Bars()->GetMenuBar(); }
  CXTPToolBar *Standard() { return m_frame->GetStandardToolBar(); }
  CXTPControl *Button(UINT id) { return Standard()->GetControls()->FindControl(static_cast<int>(id)); }

  // The shown controls' ids of a bar, 0 before each that starts a group.
  static std::vector<int> Layout(CXTPCommandBar *bar) {
    std::vector<int> ids;
    for (int i = 0; i < bar->GetControlCount(); i++) {
      CXTPControl *control = bar->GetControl(i);
      if (control->GetHideFlags() & xtpHideGeneric) continue;
      if (control->GetBeginGroup() && !ids.empty()) ids.push_back(0);
      ids.push_back(control->GetID());
    }
    return ids;
  }
  // The popup of a top-level menu, without opening it.
  CXTPCommandBar *MenuOf(int index) { return MenuBar()->GetControl(index)->GetCommandBar(); }
  // A system key pressed and released as the system gives it: through the
  // frame's pre-translation, then to the frame, whose default handling turns
  // Alt and F10 into the keyboard-menu command.
  void SystemKey(UINT key, bool alt, HWND target = nullptr) {
    if (target == nullptr) target = m_frame->m_hWnd;
    const LPARAM context = alt ? 0x20000000 : 0;
    for (UINT message : {WM_SYSKEYDOWN, WM_SYSKEYUP}) {
      MSG msg = {target, message, key, 1 | context | (message == WM_SYSKEYUP ? 0xC0000000 : 0), 0, {0, 0}};
      if (!m_frame->PreTranslateMessage(&msg) && msg.wParam != 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
      }
    }
    Pump();
  }
  // A key while the menus track the keyboard, as the thread's keyboard hook
  // hands it to them.
  void MenuKey(UINT key) {
    CXTPThreadHooks::GetThreadHooks()->ProcessHooks(WM_KEYDOWN, key, 1);
    Pump();
  }
  // The open popup of the menu bar, or null.
  CXTPCommandBar *OpenMenu() {
    const int index = MenuBar()->GetPopupedIndex();
    return index >= 0 ? MenuOf(index) : nullptr;
  }
  void LeaveMenus() {
    for (int i = 0; i < 3 && MenuBar()->IsTrackingMode(); i++) MenuKey(VK_ESCAPE);
  }
  // The focus in the frame, as the user's keys find it.
  void FocusTree() {
    m_frame->GetLeftPane()->SetFocus();
    ASSERT_EQ(::GetFocus(), m_frame->GetLeftPane()->m_hWnd);
  }
  // A left click on a control of a docked bar, as the mouse gives it: the
  // button tracks the press until the release it finds waiting.
  static void Click(CXTPCommandBar *bar, CXTPControl *control) {
    const CPoint at = control->GetRect().CenterPoint();
    bar->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    bar->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  }
  int BarHeight(CXTPCommandBar *bar) {
    CRect rect;
    bar->GetWindowRect(&rect);
    return rect.Height();
  }
};

TEST_F(MainFrameBars, MenuBarAndStandardToolbarTakeThePlaceOfTheWindowsOwnBars) {
  EXPECT_EQ(::GetMenu(m_frame->m_hWnd), nullptr);
  CXTPCommandBar *menuBar = MenuBar();
  ASSERT_NE(menuBar, nullptr);
  EXPECT_EQ(menuBar->GetTitle(), CString(L"Menu Bar"));
  const wchar_t *menus[] = {L"&File", L"&Edit", L"&Tools", L"&View", L"&Help"};
  ASSERT_EQ(menuBar->GetControlCount(), 5);
  for (int i = 0; i < 5; i++) EXPECT_EQ(menuBar->GetControl(i)->GetCaption(), CString(menus[i])) << i;

  ASSERT_NE(Standard(), nullptr);
  EXPECT_EQ(Standard()->GetTitle(), CString(L"Standard"));
  EXPECT_TRUE(Standard()->IsVisible());
  const std::vector<int> standard = {ID_FILE_RUN_WIZARD,
                                     0,
                                     ID_EDIT_FIND_ENTRIES,
                                     ID_EDIT_FIND_NEXT_ENTRY,
                                     0,
                                     ID_TOOLS_RECOVER_SELECTED,
                                     ID_TOOLS_RECOVER_ALL,
                                     0,
                                     ID_EDIT_GO_UP,
                                     0,
                                     ID_TOOLS_FILE_MASK,
                                     0,
                                     ID_TOOLS_STOP_PROCESS,
                                     0,
                                     ID_HELP_FINDER};
  EXPECT_EQ(Layout(Standard()), standard);
  // No classic tool bar is left behind.
  EXPECT_EQ(::FindWindowExW(m_frame->m_hWnd, nullptr, TOOLBARCLASSNAMEW, nullptr), nullptr);
  EXPECT_EQ(m_frame->GetStatusBar()->GetCount(), 4);

  // Only the framework's print commands are hidden: the program's menus
  // show every item in full.
  EXPECT_TRUE(Bars()->IsControlHidden(ID_FILE_PRINT));
  EXPECT_TRUE(Bars()->IsControlHidden(ID_FILE_PRINT_PREVIEW));
  for (int menu = 0; menu < 5; menu++) {
    CXTPCommandBar *popup = MenuOf(menu);
    ASSERT_NE(popup, nullptr) << menu;
    for (int i = 0; i < popup->GetControlCount(); i++)
      EXPECT_FALSE(Bars()->IsHiddenInMenu(popup->GetControl(i))) << menu << " " << i;
  }
}

// Alt and F10 start the menu bar's keyboard tracking on its first menu;
// the arrows move along the menus and open them, Alt+letter opens one, and
// Escape closes the menu, then ends the tracking.
TEST_F(MainFrameBars, AltAndF10OpenTheMenusArrowsMoveAndEscapeCloses) {
  FocusTree();
  SystemKey(VK_MENU, true);
  ASSERT_TRUE(MenuBar()->IsTrackingMode()) << "Alt";
  EXPECT_EQ(MenuBar()->GetSelectedIndex(), 0);
  EXPECT_EQ(OpenMenu(), nullptr);
  MenuKey(VK_RIGHT);
  EXPECT_EQ(MenuBar()->GetSelectedIndex(), 1);
  MenuKey(VK_DOWN);
  EXPECT_EQ(MenuBar()->GetPopupedIndex(), 1) << "Edit opens";
  MenuKey(VK_ESCAPE);
  EXPECT_EQ(OpenMenu(), nullptr);
  EXPECT_TRUE(MenuBar()->IsTrackingMode());
  MenuKey(VK_LEFT);
  EXPECT_EQ(MenuBar()->GetSelectedIndex(), 0);
  MenuKey(VK_DOWN);
  EXPECT_EQ(MenuBar()->GetPopupedIndex(), 0) << "File opens";
  MenuKey(VK_ESCAPE);
  MenuKey(VK_ESCAPE);
  EXPECT_FALSE(MenuBar()->IsTrackingMode());

  // F10 with results to act on; without them the keyboard filter keeps
  // every function key but F3 and F4 from the window.
  m_app.ResultsPresent = 1;
  SystemKey(VK_F10, false);
  EXPECT_TRUE(MenuBar()->IsTrackingMode()) << "F10";
  EXPECT_EQ(MenuBar()->GetSelectedIndex(), 0);
  LeaveMenus();
  m_app.ResultsPresent = 0;
  SystemKey(VK_F10, false);
  EXPECT_FALSE(MenuBar()->IsTrackingMode()) << "F10 without results";

  const struct {
    UINT letter;
    int menu;
  } letters[] = {{'F', 0}, {'E', 1}, {'T', 2}, {'V', 3}, {'H', 4}};
  for (const auto &c : letters) {
    SystemKey(c.letter, true);
    EXPECT_EQ(MenuBar()->GetPopupedIndex(), c.menu) << static_cast<char>(c.letter);
    LeaveMenus();
    EXPECT_FALSE(MenuBar()->IsTrackingMode()) << static_cast<char>(c.letter);
  }
}

// The keys typed in the folder tree, which has the focus: a lone Alt opens
// the menus although the tree keeps the system keys to itself; Left and
// Right inside a menu move to the neighbouring menus, wrapping; Escape
// closes the menu, then ends the tracking with the focus back in the tree,
// so that the next Alt+letter works without a click.
TEST_F(MainFrameBars, KeysTypedInThePaneMoveAlongTheMenusAndLeaveTheFocusThere) {
  FocusTree();
  const HWND tree = ::GetFocus();
  SystemKey(VK_MENU, true, tree);
  ASSERT_TRUE(MenuBar()->IsTrackingMode()) << "Alt in the tree";
  MenuKey(VK_DOWN);
  EXPECT_EQ(MenuBar()->GetPopupedIndex(), 0);
  const struct {
    UINT key;
    int menu;
  } moves[] = {{VK_RIGHT, 1}, {VK_RIGHT, 2}, {VK_LEFT, 1}, {VK_LEFT, 0}, {VK_LEFT, 4}, {VK_RIGHT, 0}};
  for (const auto &m : moves) {
    MenuKey(m.key);
    EXPECT_EQ(MenuBar()->GetPopupedIndex(), m.menu) << m.key;
    CXTPCommandBar *open = OpenMenu();
    ASSERT_NE(open, nullptr);
    EXPECT_TRUE(open->IsVisible());
  }
  MenuKey(VK_ESCAPE);
  EXPECT_EQ(OpenMenu(), nullptr);
  EXPECT_TRUE(MenuBar()->IsTrackingMode());
  MenuKey(VK_ESCAPE);
  EXPECT_FALSE(MenuBar()->IsTrackingMode());
  EXPECT_EQ(::GetFocus(), tree);
  SystemKey('E', true, ::GetFocus());
  EXPECT_EQ(MenuBar()->GetPopupedIndex(), 1) << "Alt+E after Escape";
  LeaveMenus();
  EXPECT_EQ(::GetFocus(), tree);
}

TEST_F(MainFrameBars, MenuCommandRunsAndItsUpdateHandlerEnablesAndChecksIt) {
  FocusTree();
  // Edit > Clear Log: disabled while the log is empty; with a row, enabled,
  // and its mnemonic runs it.
  SystemKey('E', true);
  CXTPCommandBar *edit = OpenMenu();
  ASSERT_NE(edit, nullptr);
  CXTPControl *clearLog = edit->GetControls()->FindControl(ID_EDIT_CLEAR_LOG);
  ASSERT_NE(clearLog, nullptr);
  EXPECT_FALSE(clearLog->GetEnabled());
  LeaveMenus();
  m_app.LogView->AddLogEntry(L"Fast Search", L"C:", L"Started", 1);
  SystemKey('E', true);
  ASSERT_EQ(OpenMenu(), edit);
  EXPECT_TRUE(clearLog->GetEnabled());
  MenuKey('C');
  EXPECT_FALSE(MenuBar()->IsTrackingMode()) << "the command closes the menus";
  EXPECT_EQ(m_app.LogView->GetLogRowCount(), 0);

  // View > Toolbars: Small is checked at the small size; Large, chosen by
  // its mnemonic, is checked the next time.
  m_app.ProductSettings =
      SettingsWriter(HKEY_CURRENT_USER, L"Software\\Quendal Varnoth Tests\\MainFrameBars", [] {});
  auto openToolbarsMenu = [this]() -> CXTPCommandBar * {
    SystemKey('V', true);
    CXTPCommandBar *view = OpenMenu();
    if (view == nullptr) return nullptr;
    MenuKey(VK_RIGHT); // the first item, Toolbars, opens
    return view->GetControl(0)->GetCommandBar();
  };
  CXTPCommandBar *sizes = openToolbarsMenu();
  ASSERT_NE(sizes, nullptr);
  ASSERT_TRUE(sizes->IsVisible());
  CXTPControl *small = sizes->GetControls()->FindControl(ID_VIEW_TOOLBAR_SMALL);
  CXTPControl *large = sizes->GetControls()->FindControl(ID_VIEW_TOOLBAR_LARGE);
  ASSERT_NE(small, nullptr);
  ASSERT_NE(large, nullptr);
  EXPECT_TRUE(small->GetChecked());
  EXPECT_FALSE(large->GetChecked());
  MenuKey('L');
  EXPECT_FALSE(MenuBar()->IsTrackingMode());
  sizes = openToolbarsMenu();
  ASSERT_NE(sizes, nullptr);
  EXPECT_TRUE(large->GetChecked());
  EXPECT_FALSE(small->GetChecked());
  LeaveMenus();
}

// The toolbar's buttons send their commands to the frame: Go Up takes the
// tree from a folder to its parent.
TEST_F(MainFrameBars, ToolbarButtonRunsItsCommand) {
  CTreeCtrl &tree = m_frame->GetLeftPane()->GetTreeCtrl();
  HTREEITEM root = tree.InsertItem(L"Root");
  HTREEITEM folder = tree.InsertItem(L"Documents", root);
  tree.SelectItem(folder);
  m_app.ResultsPresent = 1;
  m_frame->RefreshCommandStates();
  CXTPControl *goUp = Button(ID_EDIT_GO_UP);
  ASSERT_NE(goUp, nullptr);
  ASSERT_TRUE(goUp->GetEnabled());
  Click(Standard(), goUp);
  Pump();
  EXPECT_EQ(tree.GetSelectedItem(), root);
  m_app.ResultsPresent = 0;
}

// The first show of the window gives the toolbar its commands' states before
// it paints: at start-up the wizard opens at once, and no idle pass runs
// until it closes.
TEST_F(MainFrameBars, TheToolbarShowsTheCommandStatesFromTheFirstShow) {
  // The program shows the window maximised after the document template
  // made it; no idle pass has run in between.
  m_frame->ShowWindow(SW_HIDE);
  m_frame->ShowWindow(SW_SHOWNOACTIVATE);
  for (UINT id : {ID_EDIT_FIND_ENTRIES, ID_EDIT_FIND_NEXT_ENTRY, ID_TOOLS_RECOVER_SELECTED,
                  ID_TOOLS_RECOVER_ALL, ID_EDIT_GO_UP, ID_TOOLS_FILE_MASK, ID_TOOLS_STOP_PROCESS}) {
    SCOPED_TRACE(id);
    ASSERT_NE(Button(id), nullptr);
    EXPECT_FALSE(Button(id)->GetEnabled());
  }
  EXPECT_TRUE(Button(ID_FILE_RUN_WIZARD)->GetEnabled());
  EXPECT_TRUE(Button(ID_HELP_FINDER)->GetEnabled());
}

// Counts the paints a window gets.
class PaintCounter {
public:
  explicit PaintCounter(HWND window) : m_window(window) {
    ::SetWindowSubclass(m_window, &Proc, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this));
  }
  ~PaintCounter() {
    if (::IsWindow(m_window)) ::RemoveWindowSubclass(m_window, &Proc, reinterpret_cast<UINT_PTR>(this));
  }
  int Paints() const { return m_paints; }
  void Reset() { m_paints = 0; }

private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR self) {
    if (message == WM_PAINT) ++reinterpret_cast<PaintCounter *>(self)->m_paints;
    return ::DefSubclassProc(window, message, wParam, lParam);
  }
  HWND m_window;
  int m_paints = 0;
};

// A bar docked at another side moves the panes: each is drawn again whole,
// its column header too, though the list was painting its rows at the time.
TEST_F(MainFrameBars, ALayoutAfterTheToolbarMovesDrawsThePanesAgainWhole) {
  m_frame->SetWindowPos(nullptr, 0, 0, 900, 640, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  for (int i = 0; i < 30; i++) m_app.LogView->AddLogEntry(L"Fast Search", L"C:", L"Started", 1);
  m_frame->RecalcLayout();
  ::UpdateWindow(m_frame->m_hWnd);
  Pump();
  HWND logHeader = m_app.LogView->GetListCtrl().GetHeaderCtrl()->m_hWnd;
  HWND listHeader = m_frame->GetRightPane()->GetListCtrl().GetHeaderCtrl()->m_hWnd;
  PaintCounter logPaints(logHeader), listPaints(listHeader);
  PaintCounter logRows(m_app.LogView->m_hWnd), tree(m_frame->GetLeftPane()->m_hWnd);
  ASSERT_TRUE(Bars()->DockCommandBar(Standard(), nullptr, Bars()->GetDockBar(xtpBarLeft)));
  m_frame->RecalcLayout();
  for (int i = 0; i < 5; i++) {
    ::UpdateWindow(m_frame->m_hWnd);
    Pump();
  }
  EXPECT_GT(logPaints.Paints(), 0);
  EXPECT_GT(listPaints.Paints(), 0);
  EXPECT_GT(logRows.Paints(), 0);
  EXPECT_GT(tree.Paints(), 0);

  // A layout that moves nothing draws nothing again.
  logPaints.Reset();
  listPaints.Reset();
  m_frame->RecalcLayout();
  Pump();
  EXPECT_EQ(logPaints.Paints(), 0);
  EXPECT_EQ(listPaints.Paints(), 0);
}

TEST_F(MainFrameBars, TooltipStyleCommandsSetTheBarsTips) {
  m_app.ProductSettings =
      SettingsWriter(HKEY_CURRENT_USER, L"Software\\Quendal Varnoth Tests\\MainFrameBars", [] {});
  CXTPToolTipContext *tips = Bars()->GetToolTipContext();
  ASSERT_NE(tips, nullptr);
  EXPECT_TRUE(Bars()->GetCommandBarsOptions()->bToolBarAccelTips);
  m_frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLTIP_OFFICE);
  EXPECT_EQ(tips->GetStyle(), xtpToolTipOffice);
  EXPECT_TRUE(tips->IsShowTitle());
  if (tips->IsBalloonSupported()) {
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLTIP_BALLOON);
    EXPECT_EQ(tips->GetStyle(), xtpToolTipBalloon);
    EXPECT_TRUE(tips->IsShowTitle());
  }
}

// Over a toolbar button the bars' tips name the button with its shortcut
// as the title, its prompt below, in office and in balloon style.
TEST_F(MainFrameBars, ToolbarButtonsShowTipsWithTheirShortcutInBothStyles) {
  m_app.ProductSettings =
      SettingsWriter(HKEY_CURRENT_USER, L"Software\\Quendal Varnoth Tests\\MainFrameBars", [] {});
  CString shortcut;
  ASSERT_TRUE(XTPGetShortcutManager()->FindDefaultAccelerator(ID_FILE_RUN_WIZARD, shortcut));
  EXPECT_EQ(shortcut.Right(2), CString(L"+R"));
  CXTPToolTipContext *tips = Bars()->GetToolTipContext();
  CXTPControl *wizard = Button(ID_FILE_RUN_WIZARD);
  ASSERT_NE(wizard, nullptr);
  CPoint at = wizard->GetRect().CenterPoint();

  // What the bar gives for the point.
  XTP_TOOLTIP_TITLE pair = {};
  TTTOOLINFOW hit = {};
  hit.cbSize = TTTOOLINFOW_V2_SIZE;
  hit.lParam = reinterpret_cast<LPARAM>(&pair);
  ASSERT_EQ(static_cast<CWnd *>(Standard())->OnToolHitTest(at, &hit), ID_FILE_RUN_WIZARD);
  EXPECT_EQ(CString(hit.lpszText), CString(L"Run Wizard (") + shortcut + L")");
  EXPECT_EQ(CString(pair.lpszTitle), CString(L"Run Wizard (") + shortcut + L")");
  EXPECT_EQ(CString(pair.lpszDescription), CString(L"Start a new search with the search wizard"));
  free(hit.lpszText);
  free(pair.lpszTitle);
  free(pair.lpszDescription);

  // The mouse over the button reaches the bars' tips in each style.
  const struct {
    UINT command;
    int style;
  } styles[] = {{ID_VIEW_TOOLTIP_OFFICE, xtpToolTipOffice}, {ID_VIEW_TOOLTIP_BALLOON, xtpToolTipBalloon}};
  for (const auto &c : styles) {
    m_frame->SendMessage(WM_COMMAND, c.command);
    if (tips->GetStyle() != c.style) continue; // balloons need a newer common-controls library
    CPoint screen = at;
    Standard()->ClientToScreen(&screen);
    ::SetCursorPos(screen.x, screen.y);
    Standard()->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    ASSERT_NE(tips->GetToolTip(), nullptr) << c.style;
    EXPECT_EQ(tips->GetLastTool().uId, static_cast<UINT_PTR>(ID_FILE_RUN_WIZARD)) << c.style;
    EXPECT_EQ((tips->GetToolTip()->GetStyle() & TTS_BALLOON) != 0, c.style == xtpToolTipBalloon) << c.style;
    // Off the bar, no tool.
    ::SetCursorPos(0, 0);
    Standard()->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(-1, -1));
  }
}

// With no style stored, the tips are in the style the View menu shows
// checked.
TEST_F(MainFrameBars, WithoutAStoredStyleTheTipsAreTheCheckedStyle) {
  if (ReadRegistryDword(HKEY_LOCAL_MACHINE, kProductKeyPath, L"KOVA_Tt")) GTEST_SKIP() << "a style is stored";
  CXTPToolTipContext *tips = Bars()->GetToolTipContext();
  const bool balloonChecked = m_app.BalloonTooltips != 0;
  ASSERT_TRUE(balloonChecked) << "balloons are the program's first choice";
  if (!tips->IsBalloonSupported()) GTEST_SKIP() << "no balloons in this common-controls library";
  EXPECT_EQ(tips->GetStyle(), xtpToolTipBalloon);
  EXPECT_TRUE(tips->IsShowTitle());
}

// A window too narrow for the toolbar moves the last buttons behind the
// chevron, which lists them.
TEST_F(MainFrameBars, NarrowWindowMovesButtonsBehindTheChevron) {
  m_frame->ShowWindow(SW_SHOWNOACTIVATE);
  m_frame->SetWindowPos(nullptr, 0, 0, 800, 600, SWP_NOZORDER | SWP_NOACTIVATE);
  m_frame->RecalcLayout();
  CXTPControl *expand = Standard()->GetControls()->FindControl(XTP_ID_TOOLBAR_EXPAND);
  auto hiddenIds = [this] {
    std::vector<int> ids;
    for (int i = 0; i < Standard()->GetControlCount(); i++)
      if (Standard()->GetControl(i)->GetHideFlags() & xtpHideWrap)
        ids.push_back(Standard()->GetControl(i)->GetID());
    return ids;
  };
  EXPECT_TRUE(hiddenIds().empty());

  m_frame->SetWindowPos(nullptr, 0, 0, 120, 600, SWP_NOZORDER | SWP_NOACTIVATE);
  m_frame->RecalcLayout();
  const std::vector<int> hidden = hiddenIds();
  ASSERT_FALSE(hidden.empty());
  EXPECT_EQ(hidden.back(), ID_HELP_FINDER);
  expand = Standard()->GetControls()->FindControl(XTP_ID_TOOLBAR_EXPAND);
  ASSERT_NE(expand, nullptr);
  expand->OnSetPopup(TRUE);
  CXTPCommandBar *list = expand->GetCommandBar();
  ASSERT_NE(list, nullptr);
  std::vector<int> listed;
  for (int i = 0; i < list->GetControlCount(); i++) listed.push_back(list->GetControl(i)->GetID());
  EXPECT_EQ(listed, hidden);
  expand->OnSetPopup(FALSE);

  m_frame->SetWindowPos(nullptr, 0, 0, 800, 600, SWP_NOZORDER | SWP_NOACTIVATE);
  m_frame->RecalcLayout();
  EXPECT_TRUE(hiddenIds().empty());
}

// The commands sent to a window of this thread, seen on their way.
HWND g_commandTarget = nullptr;
std::vector<UINT> g_commandsSent;
LRESULT CALLBACK WatchCommands(int code, WPARAM wParam, LPARAM lParam) {
  const auto *sent = reinterpret_cast<const CWPSTRUCT *>(lParam);
  if (code == HC_ACTION && sent->hwnd == g_commandTarget && sent->message == WM_COMMAND)
    g_commandsSent.push_back(LOWORD(sent->wParam));
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The main frame offers no Customize command: Alt with a press on a toolbar
// button or a menu title is an ordinary press, however far the mouse goes
// before the release. Every button and title stays in its place, and a
// button released where it was pressed sends the frame its command.
TEST_F(MainFrameBars, AltPressOnTheBarsMovesNothing) {
  m_frame->ShowWindow(SW_SHOWNOACTIVATE);
  m_frame->RecalcLayout();
  Pump();
  ASSERT_FALSE(Bars()->IsCustomizeAvail());
  const std::vector<int> standard = Layout(Standard()), menus = Layout(MenuBar());
  BYTE keys[256] = {};
  keys[VK_MENU] = 0x80;
  g_commandTarget = m_frame->m_hWnd;
  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, WatchCommands, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  const struct {
    const char *name;
    bool menu;
    bool back; // the mouse comes back to the control before the release
  } cases[] = {
      {"a button released far away", false, false},
      {"a button taken far away and back", false, true},
      {"a menu title released far away", true, false},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    CXTPCommandBar *bar = c.menu ? MenuBar() : static_cast<CXTPCommandBar *>(Standard());
    // Go Up does nothing to an empty tree; the press runs it when it is enabled.
    CXTPControl *control = c.menu ? bar->GetControl(0) : Button(ID_EDIT_GO_UP);
    ASSERT_NE(control, nullptr);
    control->SetEnabled(TRUE);
    // Where a drag would drop it: the far end of its bar.
    CXTPControl *farOne = c.menu ? bar->GetControl(bar->GetControlCount() - 1) : Button(ID_HELP_FINDER);
    ASSERT_NE(farOne, nullptr);
    ASSERT_TRUE(::SetKeyboardState(keys));
    const CPoint at = control->GetRect().CenterPoint(), away = farOne->GetRect().CenterPoint();
    const CPoint release = c.back ? at : away;
    // A drag measures from where the cursor is: it rests on the control.
    CPoint screen = at;
    bar->ClientToScreen(&screen);
    ::SetCursorPos(screen.x, screen.y);
    g_commandsSent.clear();
    bar->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(away.x, away.y));
    bar->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(release.x, release.y));
    bar->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(release.x, release.y));
    bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    Pump();
    BYTE none[256] = {};
    ::SetKeyboardState(none);
    LeaveMenus();
    EXPECT_FALSE(Bars()->IsCustomizeMode());
    EXPECT_EQ(Layout(Standard()), standard);
    EXPECT_EQ(Layout(MenuBar()), menus);
    const std::vector<UINT> expected =
        c.back ? std::vector<UINT>{static_cast<UINT>(ID_EDIT_GO_UP)} : std::vector<UINT>{};
    EXPECT_EQ(g_commandsSent, expected);
  }
  UnhookWindowsHookEx(hook);
  g_commandTarget = nullptr;
}

// View > Toolbars lists "Standard", checked while it shows; choosing it
// hides the bar and gives its room to the views, choosing it again brings it
// back.
TEST_F(MainFrameBars, ViewToolbarsHidesAndShowsStandard) {
  CXTPCommandBar *toolbarsMenu = MenuOf(3)->GetControl(0)->GetCommandBar();
  ASSERT_NE(toolbarsMenu, nullptr);
  CXTPControl *list = toolbarsMenu->GetControls()->FindControl(XTP_ID_TOOLBARLIST);
  ASSERT_NE(list, nullptr);
  ASSERT_TRUE(list->IsKindOf(RUNTIME_CLASS(CXTPControlToolbars)));
  auto standardItem = [&]() -> CXTPControl * {
    list->OnCalcDynamicSize(0);
    CXTPControl *item = toolbarsMenu->GetControl(list->GetIndex() + 1);
    return item != nullptr && item->GetCaption() == CString(L"Standard") ? item : nullptr;
  };
  CRect viewsBefore;
  m_frame->GetLeftPane()->GetWindowRect(&viewsBefore);

  CXTPControl *item = standardItem();
  ASSERT_NE(item, nullptr);
  EXPECT_TRUE(item->GetChecked());
  item->OnExecute();
  Pump();
  EXPECT_FALSE(Standard()->IsVisible());
  EXPECT_FALSE(Standard()->IsWindowVisible());
  CRect viewsHidden;
  m_frame->GetLeftPane()->GetWindowRect(&viewsHidden);
  EXPECT_LT(viewsHidden.top, viewsBefore.top);

  item = standardItem();
  ASSERT_NE(item, nullptr);
  EXPECT_FALSE(item->GetChecked());
  item->OnExecute();
  Pump();
  EXPECT_TRUE(Standard()->IsVisible());
  CRect viewsShown;
  m_frame->GetLeftPane()->GetWindowRect(&viewsShown);
  EXPECT_EQ(viewsShown.top, viewsBefore.top);
}

// Each icon size lays the bar out again at its height, and the views make
// room for it.
TEST_F(MainFrameBars, IconSizesLayTheBarOutAgain) {
  m_app.ProductSettings =
      SettingsWriter(HKEY_CURRENT_USER, L"Software\\Quendal Varnoth Tests\\MainFrameBars", [] {});
  const struct {
    UINT command;
    int icon;
  } cases[] = {{ID_VIEW_TOOLBAR_LARGE, 48}, {ID_VIEW_TOOLBAR_MEDIUM, 32}, {ID_VIEW_TOOLBAR_SMALL, 16}};
  for (const auto &c : cases) {
    m_frame->SendMessage(WM_COMMAND, c.command);
    CXTPControl *wizard = Button(ID_FILE_RUN_WIZARD);
    ASSERT_NE(wizard, nullptr);
    EXPECT_GE(wizard->GetRect().Height(), c.icon) << c.icon;
    EXPECT_LT(wizard->GetRect().Height(), c.icon + 16) << c.icon;
    EXPECT_GE(BarHeight(Standard()), c.icon) << c.icon;
    CRect bar, tree;
    Standard()->GetWindowRect(&bar);
    m_frame->GetLeftPane()->GetWindowRect(&tree);
    EXPECT_GE(tree.top, bar.bottom) << c.icon;
  }
}

// View > Themes switches the whole window at once: the menu bar, the
// toolbar and the status bar draw through the theme just chosen, and the
// choice is stored for the next start.
TEST_F(MainFrameBars, ThemeCommandsRedrawTheWindowInTheChosenTheme) {
  const wchar_t key[] = L"Software\\Quendal Varnoth Tests\\MainFrameBarsThemes";
  HKEY created = nullptr;
  ASSERT_EQ(
      RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &created, nullptr),
      ERROR_SUCCESS);
  m_app.ProductSettings = SettingsWriter(HKEY_CURRENT_USER, key, [] {});
  // The menu bar's top-left pixel as it paints now.
  auto corner = [&] {
    CRect rc;
    MenuBar()->GetClientRect(&rc);
    MemoryCanvas canvas(rc.Width(), rc.Height(), 0xFF00FF);
    MenuBar()->SendMessage(WM_PRINT, reinterpret_cast<WPARAM>(canvas.dc.GetSafeHdc()), PRF_CLIENT);
    return canvas.Pixel(0, 0);
  };
  const struct {
    UINT command;
    int nTheme;
    DWORD stored;
  } cases[] = {{ID_VIEW_THEME_OFFICEXP, xtpThemeOffice, 2},
               {ID_VIEW_THEME_OFFICE2003, xtpThemeOffice2003, 3},
               {ID_VIEW_THEME_NATIVEXP, xtpThemeNativeWinXP, 4},
               {ID_VIEW_THEME_OFFICE2000, xtpThemeDefault, 1}};
  for (const auto &c : cases) {
    m_frame->SendMessage(WM_COMMAND, c.command);
    CXTPPaintManager *theme = XTPGetPaintManager();
    ASSERT_NE(theme, nullptr);
    EXPECT_EQ(theme->GetCurrentTheme(), c.nTheme);
    EXPECT_EQ(Bars()->GetPaintManager(), theme);
    EXPECT_EQ(static_cast<CXTPStatusBar *>(m_frame->GetStatusBar())->ActivePaintManager(), theme);
    EXPECT_TRUE(theme->GetIconsInfo()->bUseDisabledIcons);
    EXPECT_EQ(ReadRegistryDword(HKEY_CURRENT_USER, key, L"KOVA_T").value_or(0), c.stored);
    const COLORREF pixel = corner();
    if (c.nTheme == xtpThemeDefault) { // raised border
      EXPECT_EQ(pixel, theme->GetColor(COLOR_BTNHIGHLIGHT));
    }
    if (c.nTheme == xtpThemeOffice) { // flat face
      EXPECT_EQ(pixel, theme->GetColor(COLOR_BTNFACE));
    }
    if (c.nTheme == xtpThemeOffice2003) { // dock gradient
      EXPECT_EQ(pixel, static_cast<CXTPOffice2003Theme *>(theme)->m_clrDockBarDark);
    }
  }
  RegCloseKey(created);
  RegDeleteKeyW(HKEY_CURRENT_USER, key);
}

} // namespace
