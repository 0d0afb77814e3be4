// File Mask's and Unmask's rebuilds run as a search runs: a progress bar of
// their range stepped with every entry placed, the commands and Exit held
// off while they pump messages, Stop (coming through the queue as the menu
// sends it) ending a mask with the files kept so far in a tree whose boxes
// tell the truth, Unmask run to its end whatever comes; and the dialog
// showing its last choices again.
#include "FileMaskFixture.h"

#include "ProgressBar.h"

#include <commctrl.h>

#include <functional>
#include <memory>
#include <utility>

namespace {

using FileChecks = std::vector<std::pair<std::u16string, uint8_t>>;

// A clock at which every look of the rebuild finds its pump due; before
// answering the look of a number it runs what the test wants done there
// (the first look is the pacer's own start).
WorkPacer::Clock PumpAtEveryEntry(std::function<void(int look)> atLook) {
  auto looks = std::make_shared<int>(0);
  return [looks, atLook] {
    ++*looks;
    atLook(*looks);
    return static_cast<uint64_t>(*looks) * 100;
  };
}

// Every product message box's text, answered so that it goes (No where it
// asks); never finishes, so it answers boxes to the end of the scope.
TimerScript::Step AnswerEveryBox(std::vector<std::wstring> &texts) {
  return [&texts] {
    if (HWND box = FindMessageBox()) {
      const std::wstring text = MessageBoxTextOf(box);
      if (texts.empty() || texts.back() != text) texts.push_back(text);
      ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
      ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    return false;
  };
}

// What the program shows while a rebuild runs.
struct BusyState {
  int lower = -1;
  int upper = -1;
  int position = -1;
  size_t placed = 0;
  std::set<UINT> enabled;
  bool toolBarStop = false;
  BYTE scanRunning = 0;
  int rebuildBusy = 0;
};

constexpr UINT kHeldCommands[] = {ID_FILE_RUN_WIZARD,           ID_FILE_OPEN_SCAN_INFO,
                                  ID_EDIT_FIND_ENTRIES,         ID_EDIT_SELECT_ALL_ENTRIES,
                                  ID_EDIT_UNSELECT_ALL_ENTRIES, ID_TOOLS_SAVE_SCAN_INFO,
                                  ID_TOOLS_RECOVER_ALL,         ID_TOOLS_RECOVER_SELECTED,
                                  ID_TOOLS_FILE_MASK,           ID_TOOLS_UNMASK,
                                  ID_TOOLS_ADD_NEW_HEADER,      ID_TOOLS_STOP_PROCESS};

class FileMaskRebuild : public FileMask {
protected:
  void SetUp() override {
    FileMask::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    // Every count a rebuild places moves the bar at once.
    auto now = std::make_shared<uint64_t>(0);
    m_frame->SetPaceClock([now] { return *now += CMainFrame::kFoundIntervalMs; });
  }
  BusyState Observe() {
    BusyState state;
    if (CProgressBar *bar = m_frame->GetScanProgressBar()) {
      bar->GetRange(state.lower, state.upper);
      state.position = bar->GetPos();
    }
    state.placed = Entries().Size() - 1; // the root is made, not placed
    for (UINT id : kHeldCommands)
      if (AfxIsCommandEnabled(m_frame, id)) state.enabled.insert(id);
    state.toolBarStop = ToolBarOffers(m_frame, ID_TOOLS_STOP_PROCESS);
    state.scanRunning = m_app.ScanRunning;
    state.rebuildBusy = m_frame->RebuildBusy;
    return state;
  }
  // The shown files in the list's order with their boxes.
  FileChecks FilesInOrder() {
    FileChecks files;
    for (const TreeEntryNode &node : Entries())
      if (!node.IsFolder() && !node.m_unshown) files.emplace_back(node.m_name, node.Check());
    return files;
  }
  // Every entry the tree shows sits under a folder; every folder's box and
  // item say what its entries' boxes say; in a masked tree every folder
  // holds something.
  void ExpectConsistentTree(const char *what, bool masked) {
    CTreeCtrl &control = m_frame->GetLeftPane()->GetTreeCtrl();
    for (TreeEntryNode &node : Entries()) {
      if (&node == Entries().Root() || node.m_unshown) continue;
      EXPECT_NE(Entries().FindFolder(node.m_record.m_parentId), nullptr) << what << ToUtf8(node.m_name);
      if (!node.IsFolder()) continue;
      HTREEITEM item = m_frame->GetLeftPane()->ItemOf(node);
      ASSERT_NE(item, nullptr) << what << ToUtf8(node.m_name);
      EXPECT_EQ(control.GetItemState(item, TVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(node.Check() + 1))
          << what << ToUtf8(node.m_name);
      const auto &children = Entries().ChildrenOf(node.m_record.m_ownId);
      if (masked) {
        EXPECT_FALSE(children.empty()) << what << ToUtf8(node.m_name);
      }
      if (children.empty()) continue;
      bool all = true, none = true;
      for (const TreeEntryNode *child : children) {
        all = all && child->Check() == kChecked;
        none = none && child->Check() == kUnchecked;
      }
      const uint8_t judged = all ? kChecked : none ? kUnchecked : kPartlyChecked;
      EXPECT_EQ(node.Check(), judged) << what << ToUtf8(node.m_name);
    }
  }
  void ExpectRebuildEnded() {
    EXPECT_EQ(m_app.ScanRunning, 0);
    EXPECT_EQ(m_app.ScanEnded, 1);
    EXPECT_EQ(m_app.StopRequested, 1);
    EXPECT_EQ(m_app.ResultsPresent, 1);
    EXPECT_EQ(m_frame->EngineCallDepth, 0);
    EXPECT_EQ(m_frame->RebuildBusy, 0);
    EXPECT_EQ(m_frame->GetScanProgressBar(), nullptr);
    EXPECT_FALSE(Enabled(ID_TOOLS_STOP_PROCESS));
    EXPECT_NE(m_frame->m_hWnd, nullptr);
  }
};

TEST_F(FileMaskRebuild, StopEndsTheMaskWithTheFilesKeptSoFar) {
  CLeftView *tree = m_frame->GetLeftPane();
  tree->ToggleItemCheck(Folder(u"Old").m_item);
  const FileChecks before = FilesInOrder();
  const size_t fullSize = Entries().Size();
  ASSERT_GT(before.size(), 6u);
  // Stop comes with the look before the entry halfway down the list; the
  // state is seen and Exit tried a few entries before.
  const int stopLook = static_cast<int>(fullSize / 2);
  const int probeLook = stopLook - 2;
  BusyState busy;
  m_frame->SetRebuildClock(PumpAtEveryEntry([&](int look) {
    if (look == probeLook) {
      busy = Observe();
      m_frame->PostMessage(WM_CLOSE);
    }
    if (look == stopLook) m_frame->PostMessage(WM_COMMAND, MAKEWPARAM(ID_TOOLS_STOP_PROCESS, 0), 0);
  }));
  std::wstring closeText, stopText;
  {
    TimerScript script({ReadMessageBox(closeText), ReadMessageBox(stopText, IDYES)}, [] {
      if (HWND box = FindMessageBox()) ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
    });
    m_frame->ApplyFileMask(FileMaskCriteria{});
    EXPECT_TRUE(script.Finished()) << "at step " << script.CurrentStep();
  }
  EXPECT_EQ(closeText, LoadWideText(IDS_CANNOT_EXIT));
  EXPECT_EQ(stopText, LoadWideText(IDS_STOP_QUESTION));
  // While it ran: its own bar, stepped with every entry placed; nothing
  // but Stop to be started.
  EXPECT_EQ(busy.lower, 0);
  EXPECT_EQ(busy.upper, static_cast<int>(CMainFrame::kMaskProgressRange));
  EXPECT_GT(busy.placed, 0u);
  EXPECT_EQ(busy.position, static_cast<int>(busy.placed));
  EXPECT_EQ(busy.enabled, std::set<UINT>{ID_TOOLS_STOP_PROCESS});
  EXPECT_TRUE(busy.toolBarStop);
  EXPECT_EQ(busy.scanRunning, 1);

  ExpectRebuildEnded();
  EXPECT_EQ(m_app.MaskApplied, TRUE);
  EXPECT_TRUE(Enabled(ID_TOOLS_UNMASK));
  EXPECT_FALSE(Enabled(ID_TOOLS_FILE_MASK));
  // The files kept are the first of the full list, with the boxes they had.
  const FileChecks kept = FilesInOrder();
  ASSERT_GT(kept.size(), 0u);
  ASSERT_LT(kept.size(), before.size());
  EXPECT_EQ(kept, FileChecks(before.begin(), before.begin() + static_cast<ptrdiff_t>(kept.size())));
  ExpectConsistentTree("stopped mask: ", true);
  EXPECT_EQ(RecoverSelected(L"stopped-" + std::to_wstring(GetCurrentProcessId())), Ticked());

  // Everything shown ticked; Unmask brings back the rest as it was.
  tree->ToggleItemCheck(tree->RootItem());
  m_frame->RemoveFileMask();
  FileChecks expected = before;
  for (size_t index = 0; index < kept.size(); ++index) expected[index].second = kChecked;
  EXPECT_EQ(Entries().Size(), fullSize);
  EXPECT_EQ(FilesInOrder(), expected);
  ExpectConsistentTree("unmasked: ", false);
  EXPECT_EQ(RecoverSelected(L"after-stop-" + std::to_wstring(GetCurrentProcessId())), Ticked());
}

// A quit taken by the rebuild's pump ends the mask as Stop does and is
// passed on once the rebuild has returned.
TEST_F(FileMaskRebuild, AQuitEndsTheMaskAndIsPassedOn) {
  const FileChecks before = FilesInOrder();
  m_frame->SetRebuildClock(PumpAtEveryEntry([](int look) {
    if (look == 6) ::PostQuitMessage(7);
  }));
  m_frame->ApplyFileMask(FileMaskCriteria{});
  MSG quit = {};
  ASSERT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(quit.wParam, 7u);
  ExpectRebuildEnded();
  EXPECT_EQ(m_app.MaskApplied, TRUE);
  const FileChecks kept = FilesInOrder();
  ASSERT_LT(kept.size(), before.size());
  EXPECT_EQ(kept, FileChecks(before.begin(), before.begin() + static_cast<ptrdiff_t>(kept.size())));
  ExpectConsistentTree("quit mask: ", true);
}

TEST_F(FileMaskRebuild, UnmaskRunsToItsEndWhateverComes) {
  const FileChecks before = FilesInOrder();
  const CString searchTotals = m_frame->GetStatusBar()->GetPaneText(1);
  const size_t fullSize = Entries().Size();
  FileMaskCriteria criteria;
  criteria.types = SplitMaskTypes(u"*.txt");
  m_frame->ApplyFileMask(criteria);
  ASSERT_EQ(m_app.MaskApplied, TRUE);
  // The totals count what the mask kept: the .txt files and their folders.
  size_t keptFiles = 0;
  for (const auto &file : FilesInOrder()) keptFiles += EndsWith(Lower(file.first), u".txt") ? 1 : 0;
  const CString maskTotals = m_frame->GetStatusBar()->GetPaneText(1);
  EXPECT_NE(maskTotals.Find((L" " + std::to_wstring(keptFiles) + L" " + LoadWideText(IDS_FILES)).c_str()), -1)
      << ToUtf8(U16(maskTotals.GetString()));
  CLeftView *tree = m_frame->GetLeftPane();
  tree->ToggleItemCheck(tree->RootItem());
  BusyState busy;
  // A Stop and a close come a few entries in.
  m_frame->SetRebuildClock(PumpAtEveryEntry([&](int look) {
    if (look != 4) return;
    busy = Observe();
    m_frame->PostMessage(WM_COMMAND, MAKEWPARAM(ID_TOOLS_STOP_PROCESS, 0), 0);
    m_frame->PostMessage(WM_CLOSE);
  }));
  std::vector<std::wstring> told;
  {
    TimerScript script({AnswerEveryBox(told)}, [] {});
    m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_TOOLS_UNMASK, 0), 0);
  }
  // Stop was not offered, so it never asked; the close was refused.
  EXPECT_EQ(told, std::vector<std::wstring>{LoadWideText(IDS_CANNOT_EXIT)});
  EXPECT_EQ(busy.lower, 0);
  EXPECT_EQ(busy.upper, static_cast<int>(CMainFrame::kUnmaskProgressRange));
  EXPECT_GT(busy.placed, 0u);
  EXPECT_EQ(busy.position, static_cast<int>(busy.placed));
  EXPECT_EQ(busy.enabled, std::set<UINT>{});
  EXPECT_FALSE(busy.toolBarStop);
  EXPECT_EQ(busy.scanRunning, 1);
  EXPECT_EQ(busy.rebuildBusy, 1);

  ExpectRebuildEnded();
  EXPECT_EQ(m_app.MaskApplied, FALSE);
  EXPECT_TRUE(Enabled(ID_TOOLS_FILE_MASK));
  EXPECT_FALSE(Enabled(ID_TOOLS_UNMASK));
  EXPECT_EQ(Entries().Size(), fullSize);
  EXPECT_EQ(m_frame->GetStatusBar()->GetPaneText(1), searchTotals);
  FileChecks expected = before;
  for (auto &file : expected)
    if (EndsWith(Lower(file.first), u".txt")) file.second = kChecked;
  EXPECT_EQ(FilesInOrder(), expected);
  ExpectConsistentTree("unmasked: ", false);
}

// The dialog's date kind, file types, Match Case and date option as the
// controls show them.
struct DialogChoices {
  LRESULT dateKind = -1;
  std::wstring types;
  bool matchCase = false;
  bool inDays = false;
  bool deleted = false;
  std::wstring upper;
  bool operator==(const DialogChoices &other) const {
    return dateKind == other.dateKind && types == other.types && matchCase == other.matchCase &&
           inDays == other.inDays && deleted == other.deleted && upper == other.upper;
  }
};

DialogChoices ReadChoices(HWND dialog) {
  DialogChoices choices;
  choices.dateKind = ::SendDlgItemMessageW(dialog, IDC_MASK_DATE_KIND, CB_GETCURSEL, 0, 0);
  wchar_t text[128] = {};
  ::GetDlgItemTextW(dialog, IDC_MASK_TYPES, text, 128);
  choices.types = text;
  choices.matchCase = ::IsDlgButtonChecked(dialog, IDC_MASK_MATCH_CASE) == BST_CHECKED;
  choices.inDays = ::IsDlgButtonChecked(dialog, IDC_MASK_IN_DAYS) == BST_CHECKED;
  choices.deleted = ::IsDlgButtonChecked(dialog, IDC_MASK_DELETED) == BST_CHECKED;
  ::GetDlgItemTextW(dialog, IDC_MASK_UPPER_LIMIT, text, 128);
  choices.upper = text;
  return choices;
}

TEST_F(FileMaskRebuild, TheDialogShowsItsLastChoicesAgain) {
  // Opened three times: Set Mask with Modified Date and other choices; then
  // changed and cancelled; then only looked at.
  std::vector<DialogChoices> seen;
  auto openMask = [this] { m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_TOOLS_FILE_MASK, 0), 0); };
  auto inDialog = [](std::function<void(HWND)> act) -> TimerScript::Step {
    return [act] {
      HWND dialog = FindDialog(L"File Mask");
      if (dialog == nullptr) return false;
      act(dialog);
      return true;
    };
  };
  auto giveUp = [] {
    if (HWND dialog = FindDialog(L"File Mask"))
      ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  };
  {
    TimerScript script({inDialog([&seen](HWND dialog) {
                         seen.push_back(ReadChoices(dialog));
                         ::SendDlgItemMessageW(dialog, IDC_MASK_DATE_KIND, CB_SETCURSEL, 1, 0);
                         ::SetDlgItemTextW(dialog, IDC_MASK_TYPES, L"*.BIN;*.dat");
                         ::CheckDlgButton(dialog, IDC_MASK_MATCH_CASE, BST_CHECKED);
                         ::SendMessageW(::GetDlgItem(dialog, IDC_MASK_DATE), BM_CLICK, 0, 0);
                         ::SendMessageW(::GetDlgItem(dialog, IDC_MASK_IN_DAYS), BM_CLICK, 0, 0);
                         ::SendMessageW(::GetDlgItem(dialog, IDC_MASK_DATE), BM_CLICK, 0, 0);
                         ::CheckDlgButton(dialog, IDC_MASK_DELETED, BST_UNCHECKED);
                         ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_MASK_SET, BN_CLICKED), 0);
                       })},
                       giveUp);
    openMask();
    ASSERT_TRUE(script.Finished()) << script.CurrentStep();
  }
  ASSERT_EQ(m_app.MaskApplied, TRUE);
  // Only the missing .dat files, with the upper-case extension.
  for (const auto &file : Files()) EXPECT_TRUE(EndsWith(file.first, u".dat")) << ToUtf8(file.first);
  m_frame->RemoveFileMask();
  {
    TimerScript script({inDialog([&seen](HWND dialog) {
                         seen.push_back(ReadChoices(dialog));
                         ::SendDlgItemMessageW(dialog, IDC_MASK_DATE_KIND, CB_SETCURSEL, 0, 0);
                         ::SetDlgItemTextW(dialog, IDC_MASK_TYPES, L"*.txt");
                         ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                       })},
                       giveUp);
    openMask();
    ASSERT_TRUE(script.Finished()) << script.CurrentStep();
  }
  {
    TimerScript script({inDialog([&seen](HWND dialog) {
                         seen.push_back(ReadChoices(dialog));
                         ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                       })},
                       giveUp);
    openMask();
    ASSERT_TRUE(script.Finished()) << script.CurrentStep();
  }
  EXPECT_EQ(m_app.MaskApplied, FALSE);
  ASSERT_EQ(seen.size(), 3u);
  // The first opening of the run: Created Date, nothing typed.
  EXPECT_EQ(seen[0], (DialogChoices{0, L"", false, false, true, L"10000"}));
  // Later ones: the choices of the last Set Mask; Deleted Files and the
  // upper limit start as they always start.
  const DialogChoices remembered{1, L"*.BIN;*.dat", true, true, true, L"10000"};
  EXPECT_EQ(seen[1], remembered);
  EXPECT_EQ(seen[2], remembered);
}

} // namespace
