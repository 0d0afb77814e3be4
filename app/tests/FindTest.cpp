// Find and Find Next over a real search of a FAT image made by the fixture
// scripts: a table of criteria and the entries each walk selects, F3 after
// the list was rebuilt by a new search, and the dialog driven as a user does.
#include "WizardTestFrame.h"

#include "AppEngineServices.h"
#include "AppText.h"
#include "ExpandingDialog.h"
#include "FatScanEngine.h"
#include "FatTestImages.h"
#include "FindFileDlg.h"
#include "HelpFiles.h"
#include "QuendalVarnothView.h"
#include "ScanSession.h"

#include <set>

namespace {

constexpr uint8_t kDrive = 2;

using Names = std::multiset<std::u16string>;

class RecordingHelpOpener : public HelpOpener {
public:
  explicit RecordingHelpOpener(std::vector<DWORD_PTR> &contexts) : m_contexts(contexts) {}
  void Open(HWND, const std::wstring &, UINT, DWORD_PTR data) override { m_contexts.push_back(data); }

private:
  std::vector<DWORD_PTR> &m_contexts;
};

class FoundEntries : public WizardTestFrame {
protected:
  void SetUp() override {
    if (FatFixtureDir().empty()) GTEST_SKIP() << "QV_FIXTURES not set: the FAT images are not made";
    WizardTestFrame::SetUp();
    if (HasFatalFailure()) return;
    m_image = FatFixtureDir() + "/fat16.img";
    auto layer = std::make_unique<ImageDeviceLayer>();
    ASSERT_TRUE(layer->AttachFile(kDrive, m_image));
    m_app.Devices = std::move(layer);
    Search();
  }
  void Search() {
    m_app.FatEngine = nullptr;
    m_app.Session.reset();
    // Ending a session lets go of the image.
    ASSERT_TRUE(static_cast<ImageDeviceLayer &>(*m_app.Devices).AttachFile(kDrive, m_image));
    if (CLeftView *tree = m_frame->GetLeftPane()) {
      tree->ClearTree();
      tree->Entries().Clear();
    }
    m_app.FindNextAvailable = 0;
    RunFatFastSearch(kDrive);
    ASSERT_EQ(m_app.ResultsPresent, 1);
  }
  // The entry whose row Find highlighted, and the folder selected with it.
  const TreeEntryNode *Highlighted() {
    CQuendalVarnothView *list = m_frame->GetRightPane();
    if (m_app.HighlightedRow == CQuendalVarnothView::kNoHighlightedRow) return nullptr;
    return list->RowNode(m_app.HighlightedRow);
  }
  std::u16string SelectedFolder() {
    CLeftView *tree = m_frame->GetLeftPane();
    TreeEntryNode *node = tree->NodeOfItem(tree->GetTreeCtrl().GetSelectedItem());
    return node != nullptr ? node->m_name : u"";
  }
  // Search Now, then F3 until the walk ends: every entry selected on the
  // way. Exactly one message box ends it: "No matching entry found." or
  // "Finished searching the tree.".
  Names FindAll(const FindCriteria &criteria) {
    CFindFileDlg find(m_frame);
    Names found;
    std::wstring told;
    TimerScript script({ReadMessageBox(told)}, [] {});
    bool more = find.SearchFirst(*m_frame, criteria);
    for (int step = 0; more && step < 500; ++step) {
      const TreeEntryNode *node = Highlighted();
      if (node == nullptr) {
        ADD_FAILURE() << "a match without a highlighted row";
        break;
      }
      found.insert(node->m_name);
      if (const TreeEntryNode *parent = Entries().FindFolder(node->m_record.m_parentId)) {
        EXPECT_EQ(SelectedFolder(), parent->m_name);
      }
      EXPECT_EQ(m_app.FindNextAvailable, 1);
      find.FindNext(*m_frame);
      more = m_app.FindNextAvailable != 0;
    }
    while (!script.Finished() && !script.GaveUp()) m_app.PumpMessages();
    EXPECT_EQ(told, LoadWideText(found.empty() ? IDS_NO_MATCH : IDS_FIND_FINISHED));
    EXPECT_EQ(m_app.FindNextAvailable, 0);
    return found;
  }
  EntryNodeList &Entries() { return m_frame->GetLeftPane()->Entries(); }
  bool Enabled(UINT id) { return IsCommandEnabled(id, m_frame->CurrentCommandContext()); }

  std::string m_image;
};

std::u16string ManyName(int i) {
  wchar_t name[64];
  swprintf(name, 64, L"long file name number %02d with padding.txt", i);
  return U16(name);
}

Names DeletedManyNames() {
  Names names;
  for (int i = 0; i < 40; i += 3) names.insert(ManyName(i));
  return names;
}

Names Plus(Names names, std::initializer_list<const char16_t *> more) {
  for (const char16_t *name : more) names.insert(name);
  return names;
}

// A deleted short name has lost its first character; the search shows "X"
// in its place (gone.txt is found as Xone.txt).
TEST_F(FoundEntries, FindWalksEveryMatchInTurn) {
  struct Case {
    const char *what;
    std::function<void(FindCriteria &)> set;
    Names expected;
  } const cases[] = {
      {"one name", [](FindCriteria &c) { c.patterns = {u"Xone.txt"}; }, {u"Xone.txt"}},
      {"case folded", [](FindCriteria &c) { c.patterns = {u"xONE.TXT"}; }, {u"Xone.txt"}},
      {"case kept",
       [](FindCriteria &c) {
         c.patterns = {u"*.TXT"};
         c.matchCase = true;
       },
       {u"XOTES.TXT"}},
      {"two patterns, deleted only",
       [](FindCriteria &c) {
         c.patterns = SplitFindPatterns(u"*.dat; ?.bin;");
         c.missing = false;
       },
       {u"X.dat", u"X.bin"}},
      {"deleted text files",
       [](FindCriteria &c) {
         c.patterns = {u"*.txt"};
         c.missing = false;
       },
       Plus(DeletedManyNames(), {u"Lost Report With A Long Name.txt", u"Xone.txt", u"XOTES.TXT", u"X.txt"})},
      {"stars that must look further",
       [](FindCriteria &c) { c.patterns = {u"*on*e.txt"}; },
       {u"Lost Report With A Long Name.txt"}},
      {"at least 2 KB",
       [](FindCriteria &c) {
         c.patterns = {u"*.txt"};
         c.sizeOn = true;
         c.sizeLimit = 2048;
       },
       {u"Lost Report With A Long Name.txt"}},
      {"at most 1 byte",
       [](FindCriteria &c) {
         c.patterns = {u"*.*"};
         c.sizeOn = true;
         c.sizeAtMost = true;
         c.sizeLimit = 1;
       },
       {u"Xone.txt", u"Docs", u"Sub", u"Old", u"Inner", u"Deep", u"Many", u"Grade", u"Mix"}},
      {"made in the last days",
       [](FindCriteria &c) {
         c.patterns = {u"?.*"};
         c.dateOn = true;
         c.dateMode = FindCriteria::DateMode::LastDays;
         c.lastCount = 2;
       },
       {u"X.bin", u"X.txt", u"X.dat"}},
      {"made in another century",
       [](FindCriteria &c) {
         c.patterns = {u"*"};
         c.dateOn = true;
         c.dateMode = FindCriteria::DateMode::Between;
         c.fromDay = DayNumber(1999, 12, 31);
         c.toDay = DayNumber(1990, 1, 1);
       },
       {}},
      {"no such name", [](FindCriteria &c) { c.patterns = {u"*.xyz"}; }, {}},
  };
  for (const Case &c : cases) {
    FindCriteria criteria;
    c.set(criteria);
    EXPECT_EQ(FindAll(criteria), c.expected) << c.what;
  }
}

TEST_F(FoundEntries, GradesChooseWhatIsFound) {
  FindCriteria criteria;
  criteria.patterns = {u"*.bin"};
  for (bool &grade : criteria.grades) grade = false;
  criteria.grades[static_cast<int>(RecoveryGrade::VeryGood)] = true;
  const Names veryGood = FindAll(criteria);
  EXPECT_EQ(veryGood.count(u"Xerygood.bin"), 1u);
  EXPECT_EQ(veryGood.count(u"Xair.bin"), 0u);
  criteria.grades[static_cast<int>(RecoveryGrade::VeryGood)] = false;
  criteria.grades[static_cast<int>(RecoveryGrade::Fair)] = true;
  const Names fair = FindAll(criteria);
  EXPECT_EQ(fair.count(u"Xair.bin"), 1u);
  EXPECT_EQ(fair.count(u"Xerygood.bin"), 0u);
}

TEST_F(FoundEntries, FindNextAfterANewSearchStartsAgain) {
  CFindFileDlg find(m_frame);
  FindCriteria criteria;
  criteria.patterns = {u"*.txt"};
  ASSERT_TRUE(find.SearchFirst(*m_frame, criteria));
  const std::u16string first = Highlighted()->m_name;
  find.FindNext(*m_frame);
  find.FindNext(*m_frame);
  EXPECT_TRUE(Enabled(ID_EDIT_FIND_NEXT_ENTRY));
  // A new search frees every node the walk passed.
  Search();
  EXPECT_FALSE(Enabled(ID_EDIT_FIND_NEXT_ENTRY));
  find.FindNext(*m_frame);
  ASSERT_NE(Highlighted(), nullptr);
  EXPECT_EQ(Highlighted()->m_name, first);
  EXPECT_EQ(m_app.FindNextAvailable, 0) << "F3 stays off until the next Search Now";
}

TEST_F(FoundEntries, TheDialogSearchesAndF3GoesOn) {
  std::vector<DWORD_PTR> helpContexts;
  m_app.Help = std::make_unique<RecordingHelpOpener>(helpContexts);
  bool emptyTextDisabled = false, typedEnabled = false;
  TimerScript script({[&] {
                        HWND dialog = FindDialog(L"Find");
                        return dialog != nullptr;
                      },
                      [&] {
                        HWND dialog = FindDialog(L"Find");
                        emptyTextDisabled = !::IsWindowEnabled(::GetDlgItem(dialog, IDOK));
                        ::PostMessageW(::GetDlgItem(dialog, IDC_FIND_TEXT), WM_KEYDOWN, VK_F1, 0);
                        ::SetDlgItemTextW(dialog, IDC_FIND_TEXT, L"*mix.bin");
                        typedEnabled = ::IsWindowEnabled(::GetDlgItem(dialog, IDOK)) != FALSE;
                        return true;
                      },
                      [&] { return !helpContexts.empty(); }, ClickInDialog(L"Find", IDOK)},
                     [] {});
  m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_EDIT_FIND_ENTRIES, 0), 0);
  ASSERT_FALSE(script.GaveUp()) << script.CurrentStep();
  EXPECT_TRUE(emptyTextDisabled);
  EXPECT_TRUE(typedEnabled);
  EXPECT_EQ(helpContexts, std::vector<DWORD_PTR>{1005});
  ASSERT_NE(Highlighted(), nullptr);
  Names found{Highlighted()->m_name};
  EXPECT_EQ(SelectedFolder(), u"Mix");
  while (Enabled(ID_EDIT_FIND_NEXT_ENTRY) && found.size() < 10) {
    TimerScript finished({AnswerMessageBox(IDOK)}, [] {});
    m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_EDIT_FIND_NEXT_ENTRY, 0), 0);
    if (m_app.FindNextAvailable) found.insert(Highlighted()->m_name);
  }
  EXPECT_EQ(found, (Names{u"First Mix.bin", u"Third Mix.bin", u"Fourth Mix.bin"}));
}

// The Find dialog is an expanding dialog: it opens with its upper part, the
// expand button shows the size and date criteria, collapsing unticks them
// (hidden criteria never apply), and it opens again as it was left.
TEST_F(FoundEntries, TheFindDialogShowsItsLowerPartOnlyWhenExpanded) {
  struct Look {
    bool expanded = false;
    LONG bottom = 0;   // the dialog's bottom edge
    LONG marker = 0;   // the marker's bottom edge
    bool size = false; // the Size box can be ticked
    std::wstring button;
  };
  auto look = [](HWND dialog) {
    Look seen;
    RECT window = {}, marker = {};
    ::GetWindowRect(dialog, &window);
    ::GetWindowRect(::GetDlgItem(dialog, IDC_FIND_MARKER), &marker);
    seen.bottom = window.bottom;
    seen.marker = marker.bottom;
    seen.expanded = window.bottom > marker.bottom + 4;
    seen.size = ::IsWindowEnabled(::GetDlgItem(dialog, IDC_FIND_SIZE)) != FALSE;
    wchar_t text[64] = {};
    ::GetDlgItemTextW(dialog, IDC_FIND_EXPAND, text, 64);
    seen.button = text;
    return seen;
  };
  auto click = [](HWND dialog, int id) { ::SendMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); };
  std::vector<Look> looks;
  bool sizeKindOn = false, sizeTickedAfterCollapse = true;
  TimerScript script({[&] {
                       HWND dialog = FindDialog(L"Find");
                       if (dialog == nullptr) return false;
                       looks.push_back(look(dialog));
                       click(dialog, IDC_FIND_EXPAND);
                       looks.push_back(look(dialog));
                       click(dialog, IDC_FIND_SIZE);
                       sizeKindOn = ::IsWindowEnabled(::GetDlgItem(dialog, IDC_FIND_SIZE_KIND)) != FALSE;
                       click(dialog, IDC_FIND_EXPAND);
                       looks.push_back(look(dialog));
                       sizeTickedAfterCollapse = ::IsDlgButtonChecked(dialog, IDC_FIND_SIZE) == BST_CHECKED;
                       click(dialog, IDC_FIND_EXPAND); // left expanded
                       ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                       return true;
                     }},
                     [] {
                       if (HWND dialog = FindDialog(L"Find"))
                         ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                     });
  m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_EDIT_FIND_ENTRIES, 0), 0);
  ASSERT_TRUE(script.Finished());
  EXPECT_NE(dynamic_cast<CExpandingDialog *>(m_app.FindDialog), nullptr);
  ASSERT_EQ(looks.size(), 3u);
  const std::wstring collapsed = LoadWideText(IDS_FIND_COLLAPSED), expanded = LoadWideText(IDS_FIND_EXPANDED);
  EXPECT_FALSE(looks[0].expanded);
  EXPECT_EQ(looks[0].bottom, looks[0].marker) << "the collapsed dialog ends at the marker";
  EXPECT_FALSE(looks[0].size);
  EXPECT_EQ(looks[0].button, collapsed);
  EXPECT_TRUE(looks[1].expanded);
  EXPECT_TRUE(looks[1].size);
  EXPECT_EQ(looks[1].button, expanded);
  EXPECT_TRUE(sizeKindOn);
  EXPECT_FALSE(looks[2].expanded);
  EXPECT_FALSE(looks[2].size);
  EXPECT_FALSE(sizeTickedAfterCollapse);

  Look again;
  TimerScript reopened({[&] {
                         HWND dialog = FindDialog(L"Find");
                         if (dialog == nullptr) return false;
                         again = look(dialog);
                         ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                         return true;
                       }},
                       [] {});
  m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_EDIT_FIND_ENTRIES, 0), 0);
  EXPECT_TRUE(again.expanded);
  EXPECT_TRUE(again.size);
  EXPECT_EQ(again.button, expanded);
}

} // namespace
