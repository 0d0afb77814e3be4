// The log in its docking pane along the bottom of the real main frame: the
// pane's place, size, theme and caption buttons, the view it gets when it is
// first shown (and only then), log lines reaching it during a search, and
// the bar above it dragged with a ghost bar. The mouse is messages given to
// the bar; the cursor never moves.
#include "WizardTestFrame.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <typeinfo>
#include <vector>

#include "../../Common/tests/MemoryCanvas.h"
#include "FatTestImages.h"
#include "ImageDevices.h"
#include "QuendalVarnothView.h"
#include "SimpleListView.h"
#include "TextInk.h"
#include "XTPColorManager.h"
#include "XTPDockingPane.h"
#include "XTPDockingPaneAutoHidePanel.h"
#include "XTPDockingPaneManager.h"
#include "XTPDockingPanePaintManager.h"
#include "XTPDockingPaneSplitterContainer.h"
#include "XTPDockingPaneTabbedContainer.h"
#include "XTPResource.h"
#include "resource.h"

#include <cstdio>

namespace {

constexpr int kLogPaneId = 61236;
constexpr uint8_t kDrive = 2;

class LogPane : public WizardTestFrame {
protected:
  void SetUp() override {
    WizardTestFrame::SetUp();
    if (HasFatalFailure()) return;
    m_manager = m_frame->GetDockingPaneManager();
    m_pane = m_manager->FindPane(kLogPaneId);
    ASSERT_NE(m_pane, nullptr);
    m_frame->RecalcLayout();
  }
  // A window's rectangle in the frame's client coordinates.
  CRect InFrame(HWND window) const {
    CRect rect;
    ::GetWindowRect(window, &rect);
    m_frame->ScreenToClient(&rect);
    return rect;
  }
  CRect PaneRect() const { return InFrame(m_pane->GetContainer()->GetPaneHwnd()); }
  CRect StatusRect() const { return InFrame(m_frame->GetStatusBar()->m_hWnd); }
  // The log's pixels after the pumps since its lines were added equal those a
  // full redraw gives.
  static bool LooksAsAFullRedrawDrawsIt(HWND list) {
    const std::vector<DWORD> shown = WindowOnScreen(list);
    ::RedrawWindow(list, nullptr, nullptr,
                   RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    return shown == WindowOnScreen(list);
  }

  // The frame shown and drawn, and its log.
  CSimpleListView *ShownLog() {
    m_frame->ShowWindow(SW_SHOWNA);
    m_frame->UpdateWindow();
    Pump();
    return m_app.LogView;
  }

  static void AddNumberedLine(CSimpleListView &log, int line) {
    CString text;
    text.Format(L"Logical Drive C: line %d", line);
    log.AddLogEntry(L"Fast Search", text, L"Thu Dec 10 14:00:00 2026", CSimpleListView::Started);
  }

  CXTPDockingPaneManager *m_manager = nullptr;
  CXTPDockingPane *m_pane = nullptr;
};

TEST_F(LogPane, IsDockedAlongTheBottomInTheProgramsThemeWithoutCloseOrAutoHide) {
  CRect client;
  m_frame->GetClientRect(&client);
  const CRect pane = PaneRect();
  EXPECT_EQ(150, pane.Height());
  EXPECT_EQ(StatusRect().top, pane.bottom);
  EXPECT_EQ(0, pane.left);
  EXPECT_EQ(client.right, pane.right);
  EXPECT_EQ(CString(L"Quendal Varnoth File Recovery Log"), m_pane->GetTitle());
  EXPECT_EQ(1u, m_manager->GetPaneList()->size());

  EXPECT_EQ(typeid(CXTPDockingPaneTheme5), typeid(*m_manager->GetPaintManager()));
  EXPECT_EQ(DWORD(xtpPaneNoCloseable | xtpPaneNoHideable), m_manager->GetDefaultPaneOptions());
  CXTPDockingPaneCaptionButtons *buttons = m_pane->GetContainer()->GetCaptionButtons();
  for (int id : {XTP_IDS_DOCKINGPANE_CLOSE, XTP_IDS_DOCKINGPANE_AUTOHIDE}) {
    CXTPDockingPaneCaptionButton *button = buttons->FindButton(id);
    ASSERT_NE(button, nullptr) << id;
    EXPECT_FALSE(button->IsVisible()) << id;
  }

  // The tree and the list take what is left above the bar.
  const CRect tree = InFrame(m_frame->GetLeftPane()->m_hWnd);
  const CRect list = InFrame(m_frame->GetRightPane()->m_hWnd);
  EXPECT_EQ(pane.top - 4, m_manager->GetClientPane()->GetPaneWindowRect().bottom);
  EXPECT_LE(tree.bottom, pane.top - 4);
  EXPECT_LE(list.bottom, pane.top - 4);
}

COLORREF RedFace(int index) {
  return index == COLOR_3DFACE ? RGB(200, 0, 0) : ::GetSysColor(index);
}

// The system tells only the main window; the pane's colours follow.
TEST_F(LogPane, TakesUpNewSystemColoursThroughTheMainWindow) {
  CXTPColorManager *colours = XTPGetColorManager();
  colours->SetSystemColorFunction(RedFace);
  m_frame->SendMessage(WM_SYSCOLORCHANGE);
  const COLORREF face = m_manager->GetPaintManager()->GetColor(COLOR_3DFACE);
  colours->SetSystemColorFunction(nullptr);
  m_frame->SendMessage(WM_SYSCOLORCHANGE);
  EXPECT_EQ(RGB(200, 0, 0), face);
  EXPECT_EQ(::GetSysColor(COLOR_3DFACE), m_manager->GetPaintManager()->GetColor(COLOR_3DFACE));
}

TEST_F(LogPane, HoldsTheOneLogViewFromItsFirstShow) {
  ASSERT_TRUE(m_pane->IsValid());
  ASSERT_NE(m_app.LogView, nullptr);
  EXPECT_TRUE(::IsChild(m_pane->GetContainer()->GetPaneHwnd(), m_app.LogView->m_hWnd));
  EXPECT_TRUE(::IsChild(m_pane->GetChildHwnd(), m_app.LogView->m_hWnd));
  EXPECT_TRUE(m_app.LogView->IsWindowVisible());
  // Set up as a view made at start is: its columns are there.
  EXPECT_EQ(3, m_app.LogView->Header().GetItemCount());

  // Shown again (after a move), the pane keeps its view; every show is answered.
  const HWND child = m_pane->GetChildHwnd();
  CSimpleListView *view = m_app.LogView;
  EXPECT_EQ(
      1, m_frame->SendMessage(WM_DOCKINGPANE_NOTIFY, XTP_DPN_SHOWWINDOW, reinterpret_cast<LPARAM>(m_pane)));
  EXPECT_EQ(child, m_pane->GetChildHwnd());
  EXPECT_EQ(view, m_app.LogView);
  // Another pane's show is answered but gets no log view; other notices are not answered.
  CXTPDockingPane *other = m_manager->CreatePane(7, CRect(0, 0, 100, 100), xtpPaneDockRight);
  ASSERT_NE(other, nullptr);
  EXPECT_FALSE(other->IsValid());
  EXPECT_EQ(1,
            m_frame->SendMessage(WM_DOCKINGPANE_NOTIFY, XTP_DPN_SHOWWINDOW, reinterpret_cast<LPARAM>(other)));
  EXPECT_FALSE(other->IsValid());
  EXPECT_EQ(view, m_app.LogView);
  EXPECT_EQ(0,
            m_frame->SendMessage(WM_DOCKINGPANE_NOTIFY, XTP_DPN_CLOSEPANE, reinterpret_cast<LPARAM>(other)));
}

TEST_F(LogPane, TheProgramForgetsTheLogViewWhenItsWindowGoes) {
  ASSERT_NE(m_app.LogView, nullptr);
  ::DestroyWindow(m_pane->GetChildHwnd());
  EXPECT_EQ(m_app.LogView, nullptr);
  // What would have been logged is dropped, not written to a deleted view.
  AppEngineServices services(m_app, *m_frame);
  services.AddLogEntry(u"Fast Search", u"Logical Drive C:", std::nullopt, LogStatus::Started);
}

// An image that notes, at each read, how many log rows there are and
// whether the log still sits in its pane.
class LogWatchingDevice : public SectorDevice {
public:
  LogWatchingDevice(std::unique_ptr<SectorDevice> image, std::function<void()> watch)
      : m_image(std::move(image)), m_watch(std::move(watch)) {}
  uint32_t ReadAt(uint64_t byteOffset, void *buffer, uint32_t byteCount) override {
    m_watch();
    return m_image->ReadAt(byteOffset, buffer, byteCount);
  }
  uint32_t WriteAt(uint64_t, const void *, uint32_t) override { return 0; }
  uint64_t SizeInBytes() const override { return m_image->SizeInBytes(); }

private:
  std::unique_ptr<SectorDevice> m_image;
  std::function<void()> m_watch;
};

TEST_F(LogPane, ReceivesTheLogLinesOfASearchWhileItRuns) {
  if (FatFixtureDir().empty()) GTEST_SKIP() << "QV_FIXTURES not set: the FAT images are not made";
  std::unique_ptr<ImageFileDevice> file = ImageFileDevice::Open(FatFixtureDir() + "/fat16.img");
  ASSERT_NE(file, nullptr);
  int firstRows = -1, lastRows = -1;
  bool alwaysInPane = true;
  const HWND container = m_pane->GetContainer()->GetPaneHwnd();
  auto watch = [&] {
    CSimpleListView *log = m_app.LogView;
    if (log == nullptr || !::IsChild(container, log->m_hWnd)) alwaysInPane = false;
    if (log == nullptr) return;
    lastRows = log->GetLogRowCount();
    if (firstRows < 0) firstRows = lastRows;
  };
  auto layer = std::make_unique<ImageDeviceLayer>();
  layer->Attach(kDrive, std::make_unique<LogWatchingDevice>(std::move(file), watch));
  m_app.Devices = std::move(layer);
  RunFatFastSearch(kDrive);

  EXPECT_TRUE(alwaysInPane);
  ASSERT_GE(firstRows, 0) << "the image was never read";
  EXPECT_GT(lastRows, firstRows) << "lines came while the search ran";
  EXPECT_GE(m_app.LogView->GetLogRowCount(), lastRows);
  EXPECT_EQ(m_app.ResultsPresent, 1);
}

TEST_F(LogPane, AHiddenLogOutOverTheFrameStaysOutWhileTheStatusBarShowsProgress) {
  // Any layout of the frame sends a slid-out pane back; the status texts and
  // the progress bar of a search must not lay the frame out.

  // The frame has had its first idle time, as in the running program (the
  // new toolbars' first idle pass lays the frame out once).
  m_frame->RefreshCommandStates();
  // The program's log may not be hidden by the user; here it is.
  m_manager->SetDefaultPaneOptions(0);
  m_manager->HidePane(m_pane);
  ASSERT_TRUE(m_pane->IsAutoHidden());
  CXTPDockingPaneAutoHidePanel *panel = m_manager->GetLayout()->GetAutoHidePanel(xtpPaneDockBottom);
  ASSERT_NE(panel, nullptr);
  ASSERT_TRUE(panel->ShowPane(m_pane, FALSE));
  CXTPDockingPaneAutoHideWnd *window = panel->GetActiveWnd();
  ASSERT_NE(window, nullptr);
  // Only a layout may send it back here, not the cursor being elsewhere.
  window->KillTimer(CXTPDockingPaneAutoHideWnd::kTimerCheck);
  m_frame->CreateScanProgressBar(100);
  for (UINT i = 0; i < 20; i++) {
    m_frame->StepScanProgress(i);
    m_frame->UpdateTotalsPane(i, 3 * i, 1000 * i);
    m_frame->SetCurrentItemPane(L"X:\\Documents", TRUE);
    m_frame->RefreshCommandStates();
  }
  m_frame->DeleteScanProgressBar();
  m_frame->SetMessageText(AFX_IDS_IDLEMESSAGE);
  m_frame->RefreshCommandStates();
  EXPECT_EQ(window, panel->GetActiveWnd());
  // A real layout still does.
  m_frame->RecalcLayout();
  EXPECT_EQ(nullptr, panel->GetActiveWnd());
}

TEST_F(LogPane, TheBarAboveDragsWithAGhostBarAndResizesTheLogAgainstTheTreeAndList) {
  ASSERT_TRUE(m_manager->m_bSplitterTracker) << "a ghost bar, not a live drag";
  CXTPDockingPaneSplitterContainer *top = m_manager->GetTopPane();
  ASSERT_EQ(1, top->GetSplitterCount());
  const CRect paneBefore = PaneRect();
  const CRect treeBefore = InFrame(m_frame->GetLeftPane()->m_hWnd);
  const CRect listBefore = InFrame(m_frame->GetRightPane()->m_hWnd);
  CRect logBefore;
  m_app.LogView->GetClientRect(&logBefore);

  const struct {
    const char *label;
    int move; // pixels the bar is dragged down
  } cases[] = {{"up", -50}, {"down again", 80}};
  int total = 0;
  for (const auto &c : cases) {
    SCOPED_TRACE(c.label);
    const HWND bar = top->GetSplitter(0)->GetSafeHwnd();
    // Press, move, release: the move and the release wait in the queue
    // for the drag's own loop.
    ::PostMessage(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 2 + c.move));
    ::PostMessage(bar, WM_LBUTTONUP, 0, MAKELPARAM(10, 2 + c.move));
    ::SendMessage(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 2));
    total += c.move;

    const CRect pane = PaneRect();
    EXPECT_EQ(paneBefore.Height() - total, pane.Height());
    EXPECT_EQ(paneBefore.bottom, pane.bottom);
    const CRect tree = InFrame(m_frame->GetLeftPane()->m_hWnd);
    const CRect list = InFrame(m_frame->GetRightPane()->m_hWnd);
    EXPECT_EQ(treeBefore.Height() + total, tree.Height());
    EXPECT_EQ(listBefore.Height() + total, list.Height());
    EXPECT_EQ(treeBefore.top, tree.top);
    CRect log;
    m_app.LogView->GetClientRect(&log);
    EXPECT_EQ(logBefore.Height() - total, log.Height());
    EXPECT_EQ(logBefore.Width(), log.Width());
  }
}

} // namespace

namespace {

// The rows the log's list draws while it is watched (custom draw asks
// before each), and the paints of its header.
class RowsDrawn {
public:
  explicit RowsDrawn(HWND list) : m_header(ListView_GetHeader(list)) {
    s_list = list;
    s_work = this;
    m_hook = SetWindowsHookExW(WH_CALLWNDPROC, Watch, nullptr, GetCurrentThreadId());
  }
  ~RowsDrawn() {
    UnhookWindowsHookEx(m_hook);
    s_work = nullptr;
  }
  RowsDrawn(const RowsDrawn &) = delete;
  RowsDrawn &operator=(const RowsDrawn &) = delete;

  std::vector<int> m_rows;
  int m_headerPaints = 0;

private:
  static LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam) {
    const auto *sent = reinterpret_cast<const CWPSTRUCT *>(lParam);
    if (code >= 0 && s_work != nullptr) {
      if (sent->hwnd == s_work->m_header && sent->message == WM_PAINT) ++s_work->m_headerPaints;
      if (sent->message == WM_NOTIFY) {
        const auto *draw = reinterpret_cast<const NMCUSTOMDRAW *>(sent->lParam);
        if (draw->hdr.hwndFrom == s_list && draw->hdr.code == NM_CUSTOMDRAW &&
            draw->dwDrawStage == CDDS_ITEMPREPAINT)
          s_work->m_rows.push_back(static_cast<int>(draw->dwItemSpec));
      }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  static HWND s_list;
  static RowsDrawn *s_work;
  HWND m_header;
  HHOOK m_hook = nullptr;
};

HWND RowsDrawn::s_list = nullptr;
RowsDrawn *RowsDrawn::s_work = nullptr;

// True when some pixel of the rectangle (on the screen) differs from the colour.
bool HoldsOtherThan(HWND window, const CRect &rect, COLORREF colour) {
  HDC dc = ::GetDC(window);
  bool found = false;
  for (int y = rect.top; y < rect.bottom && !found; ++y)
    for (int x = rect.left; x < rect.right && !found; ++x) found = ::GetPixel(dc, x, y) != colour;
  ::ReleaseDC(window, dc);
  return found;
}

// A long search logs many lines: each line costs the list the same, the one
// new row drawn and not its header, whether the log is empty, fills its
// pane or has scrolled far (a paint drew every row in view and the
// header); the newest line is in view and drawn, and the line before it
// is still drawn above it.
TEST_F(LogPane, ALineCostsTheSameHoweverLongTheLogIs) {
  CSimpleListView *log = ShownLog();
  ASSERT_NE(log, nullptr);
  CListCtrl &list = log->GetListCtrl();
  const int page = list.GetCountPerPage();
  ASSERT_GE(page, 2) << "the pane shows a few rows";
  const COLORREF background = ::GetSysColor(COLOR_WINDOW);
  auto addLine = [&] { AddNumberedLine(*log, list.GetItemCount()); };

  const struct {
    const char *label;
    int before; // lines in the log before the one watched
  } cases[] = {{"empty", 0},        {"one line", 1},           {"one short of the pane", page - 1},
               {"pane full", page}, {"three panes", 3 * page}, {"ten panes", 10 * page}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.label);
    log->ClearLog();
    while (list.GetItemCount() < c.before) addLine();
    log->UpdateWindow();
    Pump();

    RowsDrawn drawn(list.m_hWnd);
    addLine();
    log->UpdateWindow();
    const int row = c.before;
    EXPECT_EQ(std::vector<int>{row}, drawn.m_rows);
    EXPECT_EQ(0, drawn.m_headerPaints) << "the header is not drawn again for a row";

    EXPECT_LE(list.GetTopIndex(), row);
    EXPECT_LT(row, list.GetTopIndex() + page);
    CString expected;
    expected.Format(L"Logical Drive C: line %d", row);
    EXPECT_EQ(expected, list.GetItemText(row, 1));
    for (int shown = std::max(row - 1, list.GetTopIndex()); shown <= row; ++shown) {
      CRect cell;
      ASSERT_TRUE(list.GetSubItemRect(shown, 1, LVIR_LABEL, cell));
      EXPECT_TRUE(HoldsOtherThan(list.m_hWnd, cell, background)) << "row " << shown;
    }
  }
  // A paint of the whole list still draws its header.
  RowsDrawn drawn(list.m_hWnd);
  list.Invalidate();
  list.UpdateWindow();
  EXPECT_GE(drawn.m_headerPaints, 1);
  EXPECT_GE(static_cast<int>(drawn.m_rows.size()), page);
}

// A line added while a search runs is painted with the next pump, its scroll
// bar with it: after lines that scroll the log, the pane looks as a full
// redraw draws it.
TEST_F(LogPane, ScrolledLinesLeaveThePaneAsAFullRedrawDrawsIt) {
  CSimpleListView *log = ShownLog();
  ASSERT_NE(log, nullptr);
  CListCtrl &list = log->GetListCtrl();
  const int page = list.GetCountPerPage();
  ASSERT_GE(page, 2) << "the pane shows a few rows";
  for (int line = 0; line < 3 * page; ++line) {
    AddNumberedLine(*log, line);
    Pump();
  }
  ASSERT_GT(list.GetTopIndex(), 0) << "the log scrolled";
  EXPECT_TRUE(LooksAsAFullRedrawDrawsIt(list.m_hWnd));
}

// A search logs several lines between two pumps ("Process started" and
// "Process completed" of a short step): each is painted with the next pump,
// before the log scrolls and after.
TEST_F(LogPane, LinesAddedBetweenTwoPumpsAreAllPainted) {
  CSimpleListView *log = ShownLog();
  ASSERT_NE(log, nullptr);
  CListCtrl &list = log->GetListCtrl();
  const int page = list.GetCountPerPage();
  ASSERT_GE(page, 4) << "the pane shows a few rows";
  int line = 0;
  for (int burst : {1, 2, 3, 2, 3, 3, 3}) {
    for (int n = 0; n < burst; ++n, ++line) AddNumberedLine(*log, line);
    Pump();
    EXPECT_TRUE(LooksAsAFullRedrawDrawsIt(list.m_hWnd)) << "after " << line << " lines";
  }
  EXPECT_GT(list.GetTopIndex(), 0) << "the log scrolled";
}

// The longest activities the log shows are drawn whole in every language:
// the activity column grows as far as each needs, and no further. The
// widths it takes are printed.
TEST_F(LogPane, TheActivityColumnShowsItsLongestTextsWhole) {
  CSimpleListView *log = ShownLog();
  ASSERT_NE(log, nullptr);
  CListCtrl &list = log->GetListCtrl();
  EXPECT_EQ(list.GetColumnWidth(0), 192);
  const std::wstring executable = std::wstring(QV_LANGUAGE_DIR) + L"/QuendalVarnoth.exe";
  const HFONT font = reinterpret_cast<HFONT>(list.SendMessage(WM_GETFONT));
  for (DWORD language = 0; language <= 4; ++language) {
    HMODULE library = language == 0 ? nullptr : LoadLanguageLibrary(language, executable);
    ASSERT_TRUE(language == 0 || library != nullptr) << language;
    wchar_t activity[260] = {};
    ::LoadStringW(library != nullptr ? library : AfxGetResourceHandle(), IDS_SEARCHING_HEADERS, activity,
                  260);
    if (library != nullptr) FreeLibrary(library);
    ASSERT_NE(activity[0], 0) << language;
    // Each language measured from the first width.
    list.SetColumnWidth(0, 192);
    log->AddLogEntry(activity, L"Logical Drive C:", L"Thu Dec 10 14:00:00 2026", CSimpleListView::Started);
    Pump();
    const int row = list.GetItemCount() - 1;
    CRect cell;
    ASSERT_TRUE(list.GetItemRect(row, &cell, LVIR_LABEL));
    cell.right = list.GetColumnWidth(0) - list.GetScrollPos(SB_HORZ);
    HDC dc = ::GetDC(list.m_hWnd);
    const int drawn = InkIn(dc, cell).Width();
    ::ReleaseDC(list.m_hWnd, dc);
    EXPECT_EQ(drawn, WholeInkWidth(font, activity))
        << "language " << language << ": cut at " << list.GetColumnWidth(0);
    std::printf("activity column, language %lu: %d pixels\n", static_cast<unsigned long>(language),
                list.GetColumnWidth(0));
  }
}

// A column made wider shows its cells whole at once: the rows drawn before
// lose the ellipsis of the old width, whoever widened it.
TEST_F(LogPane, AWidenedColumnIsDrawnAgainWhole) {
  CSimpleListView *log = ShownLog();
  ASSERT_NE(log, nullptr);
  CListCtrl &list = log->GetListCtrl();
  const CString text =
      L"The size of the file could not be measured, so it is kept as the directory entry records it";
  for (int line = 0; line < 3; ++line) {
    log->AddLogEntry(L"Fast Search", text, L"Thu Dec 10 14:00:00 2026", CSimpleListView::Completed);
    Pump();
  }
  ASSERT_LT(list.GetColumnWidth(1), list.GetStringWidth(text)) << "the text is cut at first";
  list.SetColumnWidth(1, list.GetColumnWidth(1) + 150);
  Pump();
  EXPECT_TRUE(LooksAsAFullRedrawDrawsIt(list.m_hWnd)) << "widened by the program";

  // The user drags the column's right edge further on.
  CHeaderCtrl *header = list.GetHeaderCtrl();
  ASSERT_NE(header, nullptr);
  CRect item;
  ASSERT_TRUE(header->GetItemRect(1, &item));
  const int y = item.CenterPoint().y;
  header->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(item.right, y));
  for (int x = item.right + 20; x <= item.right + 200; x += 20)
    header->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
  header->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(item.right + 200, y));
  Pump();
  EXPECT_GT(list.GetColumnWidth(1), item.Width() + 100) << "the drag widened the column";
  EXPECT_TRUE(LooksAsAFullRedrawDrawsIt(list.m_hWnd)) << "widened by the user";
}

} // namespace
