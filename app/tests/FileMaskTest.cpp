// File Mask and Unmask over a real search of a FAT image: a table of masks
// and the files each keeps, checks ticked before and while masked kept by
// Unmask, Save refused while masked, and the dialog driven as a user does.
#include "FileMaskFixture.h"

#include <commctrl.h>

#include <functional>
#include <iterator>

namespace {

TEST_F(FileMask, EachMaskKeepsItsFilesUnderTheirFolders) {
  // What each mask should keep, told from the full list's nodes.
  std::vector<TreeEntryNode> all;
  for (const TreeEntryNode &node : Entries())
    if (!node.IsFolder() && !node.m_unshown) all.push_back(node);
  struct Case {
    const char *what;
    std::function<void(FileMaskCriteria &)> set;
    std::function<bool(const TreeEntryNode &)> kept;
  } const cases[] = {
      {"text files", [](FileMaskCriteria &c) { c.types = SplitMaskTypes(u"*.txt"); },
       [](const TreeEntryNode &n) { return EndsWith(Lower(n.m_name), u".txt"); }},
      {"upper case only",
       [](FileMaskCriteria &c) {
         c.types = SplitMaskTypes(u"*.TXT");
         c.matchCase = true;
       },
       [](const TreeEntryNode &n) { return EndsWith(n.m_name, u".TXT"); }},
      {"deleted bin and dat",
       [](FileMaskCriteria &c) {
         c.types = SplitMaskTypes(u"*.bin; *.dat");
         c.missing = false;
       },
       [](const TreeEntryNode &n) {
         return n.m_record.m_deleted && (EndsWith(n.m_name, u".bin") || EndsWith(n.m_name, u".dat"));
       }},
      {"1 to 2 KB",
       [](FileMaskCriteria &c) {
         c.sizeFromOn = c.sizeUptoOn = true;
         c.sizeFrom = KilobytesToBytes(1);
         c.sizeUpto = KilobytesToBytes(2);
       },
       [](const TreeEntryNode &n) { return n.m_record.m_size >= 1024 && n.m_record.m_size <= 2048; }},
      {"made in the last 2 days",
       [](FileMaskCriteria &c) {
         c.dateOn = true;
         c.dateMode = FileMaskCriteria::DateMode::LastDays;
         c.lastCount = 2;
       },
       [](const TreeEntryNode &) { return true; }},
      {"made in the nineties",
       [](FileMaskCriteria &c) {
         c.dateOn = true;
         c.dateMode = FileMaskCriteria::DateMode::Between;
         c.fromDay = DayNumber(1990, 1, 1);
         c.toDay = DayNumber(1999, 12, 31);
       },
       [](const TreeEntryNode &) { return false; }},
  };
  const size_t fullSize = Entries().Size();
  for (const Case &c : cases) {
    Names expected;
    for (const TreeEntryNode &node : all)
      if (c.kept(node)) expected.insert(node.m_name);
    FileMaskCriteria criteria;
    c.set(criteria);
    m_frame->ApplyFileMask(criteria);
    EXPECT_EQ(m_app.MaskApplied, TRUE);
    EXPECT_EQ(FileNames(), expected) << c.what;
    // Every kept file sits under a folder of the tree, and every folder
    // holds something kept.
    for (const TreeEntryNode &node : Entries()) {
      if (&node == Entries().Root()) continue;
      if (!node.IsFolder()) {
        const TreeEntryNode *parent = Entries().FindFolder(node.m_record.m_parentId);
        EXPECT_TRUE(parent != nullptr) << c.what;
      } else {
        EXPECT_FALSE(Entries().ChildrenOf(node.m_record.m_ownId).empty()) << c.what;
      }
    }
    EXPECT_TRUE(Enabled(ID_TOOLS_UNMASK));
    EXPECT_FALSE(Enabled(ID_TOOLS_FILE_MASK));
    m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_TOOLS_UNMASK, 0), 0);
    EXPECT_EQ(m_app.MaskApplied, FALSE);
    EXPECT_EQ(Entries().Size(), fullSize) << c.what;
  }
}

TEST_F(FileMask, UnmaskKeepsTheChecksOfBothTrees) {
  CLeftView *tree = m_frame->GetLeftPane();
  // Ticked before the mask: everything in Old, deleted whole.
  tree->ToggleItemCheck(Folder(u"Old").m_item);
  // Files of a cluster at most: of Grade's three only verygood.bin.
  FileMaskCriteria criteria;
  criteria.sizeUptoOn = true;
  criteria.sizeUpto = 512;
  m_frame->ApplyFileMask(criteria);
  const Names shown = FileNames();
  ASSERT_EQ(shown.count(u"Xerygood.bin"), 1u);
  ASSERT_EQ(shown.count(u"Xair.bin"), 0u);
  ASSERT_EQ(shown.count(u"X.bin"), 0u);
  EXPECT_EQ(Files().find(u"X.dat")->second, kChecked);
  // Ticked while masked: Grade, whose other files are hidden.
  tree->ToggleItemCheck(Folder(u"Grade").m_item);
  m_frame->RemoveFileMask();
  const auto files = Files();
  for (const char16_t *name : {u"X.txt", u"X.dat", u"X.bin", u"Xerygood.bin", u"Xair.bin", u"Xood.bin"})
    ASSERT_EQ(files.count(name), 1u) << ToUtf8(name);
  // Hidden by the mask, ticked before it.
  EXPECT_EQ(files.find(u"X.txt")->second, kChecked);
  EXPECT_EQ(files.find(u"X.bin")->second, kChecked);
  EXPECT_EQ(files.find(u"X.dat")->second, kChecked);
  EXPECT_EQ(Folder(u"Old").Check(), kChecked);
  // Ticked while masked; what the mask hid stays unticked.
  EXPECT_EQ(files.find(u"Xerygood.bin")->second, kChecked);
  EXPECT_EQ(files.find(u"Xair.bin")->second, kUnchecked);
  EXPECT_EQ(files.find(u"Xood.bin")->second, kUnchecked);
  EXPECT_EQ(Folder(u"Grade").Check(), kPartlyChecked);
  // Recovery writes what the boxes show, masked and unmasked.
  EXPECT_EQ(RecoverSelected(L"unmasked-" + std::to_wstring(GetCurrentProcessId())), Ticked());
  m_frame->ApplyFileMask(criteria);
  EXPECT_EQ(RecoverSelected(L"masked-" + std::to_wstring(GetCurrentProcessId())), Ticked());
  EXPECT_EQ(Ticked().count(u"X.bin"), 0u);
}

TEST_F(FileMask, SaveIsRefusedWhileMasked) {
  FileMaskCriteria criteria;
  criteria.types = SplitMaskTypes(u"*.txt");
  m_frame->ApplyFileMask(criteria);
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring name = std::wstring(temp) + L"qv-masked-" + std::to_wstring(GetCurrentProcessId());
  std::wstring told;
  TimerScript script({ReadMessageBox(told)}, [] {});
  m_frame->SaveScanFileAs(name);
  EXPECT_EQ(told, LoadWideText(IDS_SAVE_WHILE_MASKED));
  EXPECT_EQ(GetFileAttributesW((name + L".DAT").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(m_app.ScanInfoSaved, 0);
  EXPECT_EQ(m_frame->SaveCancelled, 1);
}

TEST_F(FileMask, TheDialogSetsTheMask) {
  std::wstring told;
  TimerScript script({[] { return FindDialog(L"File Mask") != nullptr; },
                      [] {
                        HWND dialog = FindDialog(L"File Mask");
                        ::CheckDlgButton(dialog, IDC_MASK_DELETED, BST_UNCHECKED);
                        ::CheckDlgButton(dialog, IDC_MASK_MISSING, BST_UNCHECKED);
                        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_MASK_SET, BN_CLICKED), 0);
                        return true;
                      },
                      ReadMessageBox(told),
                      [] {
                        HWND dialog = FindDialog(L"File Mask");
                        if (dialog == nullptr) return false;
                        ::CheckDlgButton(dialog, IDC_MASK_DELETED, BST_CHECKED);
                        ::SetDlgItemTextW(dialog, IDC_MASK_TYPES, L"*.DAT ; *.doc");
                        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_MASK_SET, BN_CLICKED), 0);
                        return true;
                      }},
                     [] {
                       if (HWND dialog = FindDialog(L"File Mask"))
                         ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                     });
  m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_TOOLS_FILE_MASK, 0), 0);
  ASSERT_FALSE(script.GaveUp()) << script.CurrentStep();
  EXPECT_EQ(told, LoadWideText(IDS_NEED_DELETED_OR_MISSING));
  EXPECT_EQ(m_app.MaskApplied, TRUE);
  EXPECT_EQ(FileNames(), Names{u"X.dat"});
}

// A step that does something to the open File Mask dialog.
TimerScript::Step InMaskDialog(std::function<void(HWND)> act) {
  return [act] {
    HWND dialog = FindDialog(L"File Mask");
    if (dialog == nullptr || FindMessageBox() != nullptr) return false;
    act(dialog);
    return true;
  };
}

// Keys go through the queue as the user's do, so the dialog's own modal
// loop runs what they start.
void Type(HWND dialog, UINT editId, wchar_t character) {
  HWND edit = ::GetDlgItem(dialog, editId);
  ::PostMessageW(edit, EM_SETSEL, 0, -1);
  ::PostMessageW(edit, WM_CHAR, character, 0);
}

void PressKey(HWND dialog, UINT id, WPARAM key) {
  HWND control = ::GetDlgItem(dialog, id);
  ::SetFocus(control);
  ::PostMessageW(control, WM_KEYDOWN, key, 0);
}

void Spin(HWND dialog, UINT spinId, int delta) {
  NMUPDOWN change = {};
  change.hdr.hwndFrom = ::GetDlgItem(dialog, spinId);
  change.hdr.idFrom = spinId;
  change.hdr.code = UDN_DELTAPOS;
  change.iDelta = delta;
  ::SendMessageW(dialog, WM_NOTIFY, spinId, reinterpret_cast<LPARAM>(&change));
}

void PickDate(HWND dialog, UINT pickerId, const SYSTEMTIME &date) {
  HWND picker = ::GetDlgItem(dialog, pickerId);
  DateTime_SetSystemtime(picker, GDT_VALID, &date);
  NMDATETIMECHANGE change = {};
  change.nmhdr.hwndFrom = picker;
  change.nmhdr.idFrom = pickerId;
  change.nmhdr.code = DTN_DATETIMECHANGE;
  change.dwFlags = GDT_VALID;
  change.st = date;
  ::SendMessageW(dialog, WM_NOTIFY, pickerId, reinterpret_cast<LPARAM>(&change));
}

std::wstring Text(HWND dialog, UINT id) {
  wchar_t text[64] = {};
  ::GetDlgItemTextW(dialog, id, text, 64);
  return text;
}

bool On(HWND dialog, UINT id) {
  return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

// Which of the dialog's choosable controls take input.
std::set<UINT> EnabledChoices(HWND dialog) {
  std::set<UINT> enabled;
  for (UINT id : {IDC_MASK_LOWER_LIMIT, IDC_MASK_UPPER_LIMIT, IDC_MASK_DATE_KIND, IDC_MASK_IN_MONTHS,
                  IDC_MASK_MONTHS, IDC_MASK_MONTHS_SPIN, IDC_MASK_IN_DAYS, IDC_MASK_DAYS, IDC_MASK_DAYS_SPIN,
                  IDC_MASK_BETWEEN, IDC_MASK_FROM_DATE, IDC_MASK_TO_DATE})
    if (::IsWindowEnabled(::GetDlgItem(dialog, id))) enabled.insert(id);
  return enabled;
}

TEST_F(FileMask, TheDialogChecksWhatIsTyped) {
  // A size or N field holding nothing sound is emptied and turned off.
  struct Case {
    const char *what;
    UINT edit;
    UINT box;
    wchar_t typed;
  } const cases[] = {
      {"lower limit with a letter", IDC_MASK_LOWER_LIMIT, IDC_MASK_SIZE_FROM, L'x'},
      {"upper limit of 0", IDC_MASK_UPPER_LIMIT, IDC_MASK_SIZE_UPTO, L'0'},
      {"months of 0", IDC_MASK_MONTHS, IDC_MASK_DATE, L'0'},
  };
  std::vector<std::wstring> told(std::size(cases));
  std::vector<std::pair<std::wstring, bool>> after(std::size(cases));
  std::wstring refused, lowerTold;
  std::set<UINT> atStart, withBoxes;
  std::vector<TimerScript::Step> steps{InMaskDialog([&](HWND dialog) {
    atStart = EnabledChoices(dialog);
    for (UINT box : {IDC_MASK_SIZE_FROM, IDC_MASK_SIZE_UPTO, IDC_MASK_DATE})
      ::SendMessageW(::GetDlgItem(dialog, box), BM_CLICK, 0, 0);
    withBoxes = EnabledChoices(dialog);
  })};
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case &c = cases[i];
    steps.push_back(InMaskDialog([&c](HWND dialog) {
      if (!On(dialog, c.box)) ::SendMessageW(::GetDlgItem(dialog, c.box), BM_CLICK, 0, 0);
      Type(dialog, c.edit, c.typed);
    }));
    steps.push_back(ReadMessageBox(told[i]));
    steps.push_back(InMaskDialog([&c, &after, i](HWND dialog) {
      after[i] = {Text(dialog, c.edit), On(dialog, c.box)};
    }));
  }
  // The letter once typed in the lower limit stops Set Mask until a sound
  // limit replaces it.
  steps.push_back(InMaskDialog(
      [](HWND dialog) { ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_MASK_SET, BN_CLICKED), 0); }));
  steps.push_back(ReadMessageBox(refused));
  steps.push_back(InMaskDialog([](HWND dialog) {
    ::SendMessageW(::GetDlgItem(dialog, IDC_MASK_SIZE_FROM), BM_CLICK, 0, 0);
    Type(dialog, IDC_MASK_LOWER_LIMIT, L'2');
  }));
  steps.push_back(InMaskDialog(
      [](HWND dialog) { ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_MASK_SET, BN_CLICKED), 0); }));
  TimerScript script(std::move(steps), [] {
    if (HWND box = FindMessageBox()) ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    if (HWND dialog = FindDialog(L"File Mask"))
      ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  });
  m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_TOOLS_FILE_MASK, 0), 0);
  ASSERT_FALSE(script.GaveUp()) << script.CurrentStep();
  EXPECT_EQ(atStart, std::set<UINT>{});
  EXPECT_EQ(withBoxes, (std::set<UINT>{IDC_MASK_LOWER_LIMIT, IDC_MASK_UPPER_LIMIT, IDC_MASK_DATE_KIND,
                                       IDC_MASK_IN_MONTHS, IDC_MASK_MONTHS, IDC_MASK_MONTHS_SPIN,
                                       IDC_MASK_IN_DAYS, IDC_MASK_BETWEEN}));
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(told[i], LoadWideText(IDS_INVALID_FILE_SIZE)) << cases[i].what;
    EXPECT_EQ(after[i].first, L"") << cases[i].what;
    EXPECT_FALSE(after[i].second) << cases[i].what;
  }
  EXPECT_EQ(refused, LoadWideText(IDS_INVALID_SIZE));
  // Files of 2 KB at least.
  EXPECT_EQ(m_app.MaskApplied, TRUE);
  for (const TreeEntryNode &node : Entries())
    if (!node.IsFolder() && !node.m_unshown) {
      EXPECT_GE(node.m_record.m_size, 2048u) << ToUtf8(node.m_name);
    }
}

TEST_F(FileMask, TheDateOptionsFollowSpinsKeysAndPickers) {
  std::vector<std::wstring> spun;
  std::vector<UINT> chosen;
  std::vector<std::set<UINT>> enabled;
  SYSTEMTIME today = {};
  GetLocalTime(&today);
  SYSTEMTIME later = today;
  later.wYear = 2040;
  later.wMonth = 3;
  later.wDay = 5;
  SYSTEMTIME pickerShows = {};
  std::wstring monthsAfterPick, daysAfterPick;
  auto record = [&chosen, &enabled](HWND dialog) {
    UINT option = 0;
    for (UINT id : {IDC_MASK_IN_MONTHS, IDC_MASK_IN_DAYS, IDC_MASK_BETWEEN})
      if (On(dialog, id)) option = option == 0 ? id : UINT(-1);
    chosen.push_back(option);
    enabled.push_back(EnabledChoices(dialog));
  };
  std::vector<TimerScript::Step> steps{InMaskDialog([&](HWND dialog) {
    ::SendMessageW(::GetDlgItem(dialog, IDC_MASK_DATE), BM_CLICK, 0, 0);
    // From the start's 0: down wraps to 999, up past 999 to 1.
    for (int delta : {-1, +1, +1, -1, -1}) {
      Spin(dialog, IDC_MASK_MONTHS_SPIN, delta);
      spun.push_back(Text(dialog, IDC_MASK_MONTHS));
    }
    Spin(dialog, IDC_MASK_DAYS_SPIN, -1);
    spun.push_back(Text(dialog, IDC_MASK_DAYS));
    PressKey(dialog, IDC_MASK_IN_MONTHS, VK_DOWN);
  })};
  for (WPARAM key : {VK_DOWN, VK_DOWN, VK_UP, VK_UP, VK_UP})
    steps.push_back(InMaskDialog([&record, key](HWND dialog) {
      record(dialog);
      for (UINT id : {IDC_MASK_IN_MONTHS, IDC_MASK_IN_DAYS, IDC_MASK_BETWEEN})
        if (::GetFocus() == ::GetDlgItem(dialog, id)) PressKey(dialog, id, key);
    }));
  steps.push_back(InMaskDialog([&](HWND dialog) {
    record(dialog); // months, after the last Up
    // Today changes nothing; a later date chooses between.
    PickDate(dialog, IDC_MASK_FROM_DATE, today);
    record(dialog);
    PickDate(dialog, IDC_MASK_TO_DATE, later);
    record(dialog);
    DateTime_GetSystemtime(::GetDlgItem(dialog, IDC_MASK_TO_DATE), &pickerShows);
    monthsAfterPick = Text(dialog, IDC_MASK_MONTHS);
    daysAfterPick = Text(dialog, IDC_MASK_DAYS);
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  }));
  TimerScript script(std::move(steps), [] {
    if (HWND dialog = FindDialog(L"File Mask"))
      ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  });
  m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_TOOLS_FILE_MASK, 0), 0);
  ASSERT_FALSE(script.GaveUp()) << script.CurrentStep();
  EXPECT_EQ(spun, (std::vector<std::wstring>{L"999", L"1", L"2", L"1", L"999", L"999"}));
  // Down from months: days, between, and between stays; Up goes back.
  EXPECT_EQ(chosen, (std::vector<UINT>{IDC_MASK_IN_DAYS, IDC_MASK_BETWEEN, IDC_MASK_BETWEEN, IDC_MASK_IN_DAYS,
                                       IDC_MASK_IN_MONTHS, IDC_MASK_IN_MONTHS, IDC_MASK_IN_MONTHS,
                                       IDC_MASK_BETWEEN}));
  const std::set<UINT> options{IDC_MASK_DATE_KIND, IDC_MASK_IN_MONTHS, IDC_MASK_IN_DAYS, IDC_MASK_BETWEEN};
  auto with = [&options](std::initializer_list<UINT> more) {
    std::set<UINT> all = options;
    all.insert(more);
    return all;
  };
  ASSERT_EQ(enabled.size(), chosen.size());
  EXPECT_EQ(enabled[0], with({IDC_MASK_DAYS, IDC_MASK_DAYS_SPIN}));
  EXPECT_EQ(enabled[1], with({IDC_MASK_FROM_DATE, IDC_MASK_TO_DATE}));
  EXPECT_EQ(enabled[4], with({IDC_MASK_MONTHS, IDC_MASK_MONTHS_SPIN}));
  EXPECT_EQ(enabled[7], with({IDC_MASK_FROM_DATE, IDC_MASK_TO_DATE}));
  // A year past 2030 becomes 2015; the N fields are emptied.
  EXPECT_EQ(pickerShows.wYear, 2015);
  EXPECT_EQ(pickerShows.wMonth, 3);
  EXPECT_EQ(pickerShows.wDay, 5);
  EXPECT_EQ(monthsAfterPick, L"");
  EXPECT_EQ(daysAfterPick, L"");
  EXPECT_EQ(m_app.MaskApplied, FALSE);
}

} // namespace
