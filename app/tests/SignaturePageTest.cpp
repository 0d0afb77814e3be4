// The signature page as a user drives it: the group filter, a row's check box
// (the row's own record, under any filter or sort), Select All and Unselect
// All, the size typed into the list, Remove of the chosen row, the list's
// sort by column, and Finish handing the checked signatures to the engine.
// Also the choice model on its own.
#include "WizardTestFrame.h"

#include "AppEngineServices.h"
#include "SignatureChoice.h"
#include "SignatureStore.h"

#include <functional>

namespace {

HeaderRecord Signature(const char16_t *name, const char16_t *extension, uint8_t group, uint8_t predefined,
                       uint32_t maxSize, uint8_t unit = 0) {
  HeaderRecord record;
  record.m_softwareName = name;
  record.m_extension = extension;
  record.m_signatureLength = 2;
  record.m_signature[0] = static_cast<uint8_t>(extension[0]);
  record.m_signature[1] = static_cast<uint8_t>(name[0]);
  record.m_group = group;
  record.m_predefined = predefined;
  record.m_maxSize = maxSize;
  record.m_sizeUnit = unit;
  return record;
}

// Shipped DOC and JPG (chosen by default), a user "Doc" (not chosen: the
// default extensions compare exactly), and two user records sharing the
// extension DAT in the graphic group.
std::vector<HeaderRecord> SampleSignatures() {
  return {Signature(u"Word", u"DOC", 7, 1, 10 << 20), Signature(u"Zeta", u"DAT", 10, 0, 1 << 20),
          Signature(u"Photo", u"JPG", 10, 1, 4 << 20), Signature(u"Alpha", u"DAT", 10, 0, 2 << 20),
          Signature(u"writer", u"Doc", 4, 0, 512 << 10, 1)};
}

// An in-memory signature file that remembers what the page wrote.
class MemoryStore : public SignatureStore {
public:
  explicit MemoryStore(std::vector<HeaderRecord> records) : m_file(std::move(records)) {}
  std::vector<HeaderRecord> Load() override { return m_file; }
  bool Rewrite(const std::vector<HeaderRecord> &records) override {
    ++m_rewrites;
    m_file = records;
    return true;
  }
  // As the user's answers in the Edit and Add dialogs.
  bool EditRecord(CWnd &, HeaderRecord &record) override { return m_edit && m_edit(record); }
  std::optional<HeaderRecord> AddRecord(CWnd &, uint8_t group) override {
    m_addGroup = group;
    if (!m_added) return std::nullopt;
    m_file.push_back(*m_added);
    return m_added;
  }

  std::vector<HeaderRecord> m_file;
  int m_rewrites = 0;
  std::function<bool(HeaderRecord &)> m_edit;
  std::optional<HeaderRecord> m_added;
  int m_addGroup = -1;
};

TEST(SignatureChoice, DefaultExtensionsAreChosenExactly) {
  SignatureChoice choice;
  choice.Load(SampleSignatures());
  std::vector<std::u16string> chosen;
  for (const HeaderRecord &record : choice.Chosen()) chosen.push_back(record.m_extension);
  EXPECT_EQ(chosen, (std::vector<std::u16string>{u"DOC", u"JPG"}));
  EXPECT_EQ(choice.RecordsOfGroup(10), (std::vector<size_t>{1, 2, 3}));
  EXPECT_EQ(choice.RecordsOfGroup(0).size(), 5u);
}

TEST(SignatureChoice, SizesInKilobytesStayExactAndWithinTheStoredWidth) {
  struct Case {
    uint64_t kilobytes;
    uint8_t unitBefore;
    bool taken;
    uint32_t maxSize;
    uint8_t unitAfter;
  };
  const Case cases[] = {
      {0, 0, false, 1 << 20, 0},              // 0 is no size
      {2048, 0, true, 2048u << 10, 0},        // still whole megabytes
      {1500, 0, true, 1500u << 10, 1},        // shown in megabytes it would be wrong
      {4194303, 1, true, 4194303u * 1024, 1}, // the largest the 32 bits hold
      {4194304, 1, false, 1 << 20, 1},        // 4 GB would wrap to 0
      {10000000000ull, 0, false, 1 << 20, 0}, // far beyond
  };
  for (const Case &c : cases) {
    SignatureChoice choice;
    HeaderRecord record = Signature(u"Zeta", u"DAT", 10, 0, 1 << 20, c.unitBefore);
    choice.Load({record});
    EXPECT_EQ(choice.SetSizeKb(0, c.kilobytes), c.taken) << c.kilobytes;
    EXPECT_EQ(choice.Records()[0].m_maxSize, c.maxSize) << c.kilobytes;
    EXPECT_EQ(choice.Records()[0].m_sizeUnit, c.unitAfter) << c.kilobytes;
  }
}

TEST(SignatureChoice, RemoveTakesOnlyTheOneUserRecord) {
  SignatureChoice choice;
  choice.Load(SampleSignatures());
  choice.SelectAll();
  EXPECT_EQ(choice.Remove(0), SignatureChoice::RemoveResult::Predefined);
  EXPECT_EQ(choice.Remove(3), SignatureChoice::RemoveResult::Removed);
  EXPECT_EQ(choice.Records().size(), 4u);
  // Every other checked user record stays, and the count is recounted.
  EXPECT_EQ(choice.SelectedCount(), 4u);
  EXPECT_EQ(choice.Remove(9), SignatureChoice::RemoveResult::NoSuchRecord);
}

class SignaturePage : public WizardTestFrame {
protected:
  // A wizard at the signature page of an advanced search of drive C:.
  CSelectHeaderFiles &OpenPage(std::vector<HeaderRecord> records = SampleSignatures()) {
    GiveDrives({LogicalDrive('C', u"FAT32")});
    MyPropertySheet &sheet = OpenModelessWizard();
    m_sheet = &sheet;
    auto store = std::make_unique<MemoryStore>(std::move(records));
    m_store = store.get();
    sheet.HeadersPage().UseStore(std::move(store));
    CMyTreeCtrl &tree = ToDrivePage(sheet, IDC_ADVANCED_SEARCH).DriveTree();
    EXPECT_TRUE(ClickBox(tree, ItemOfRecord(tree, 0)));
    sheet.PressButton(PSBTN_NEXT);
    return sheet.HeadersPage();
  }
  CSelectHeaderFiles &Page() { return m_sheet->HeadersPage(); }

  // Row texts "name/extension/size/checked" from top to bottom.
  std::vector<std::wstring> Rows() {
    CEditList &list = Page().List();
    std::vector<std::wstring> rows;
    for (int row = 0; row < list.GetItemCount(); ++row) {
      const bool checked = (list.GetItemState(row, LVIS_STATEIMAGEMASK) >> 12) == 3;
      rows.push_back(std::wstring(list.GetItemText(row, 0)) + L"/" + std::wstring(list.GetItemText(row, 1)) +
                     L"/" + std::wstring(list.GetItemText(row, 2)) + (checked ? L"/x" : L"/-"));
    }
    return rows;
  }
  int RowNamed(const wchar_t *name) {
    CEditList &list = Page().List();
    for (int row = 0; row < list.GetItemCount(); ++row)
      if (list.GetItemText(row, 0) == name) return row;
    return -1;
  }
  // A mouse click on the row's check box, found by the list's own hit test.
  bool ClickCheck(int row) {
    CEditList &list = Page().List();
    CRect label;
    if (row < 0 || !list.GetItemRect(row, &label, LVIR_LABEL)) return false;
    const int y = (label.top + label.bottom) / 2;
    for (int x = label.left; x >= 0; --x) {
      LVHITTESTINFO hit = {};
      hit.pt = CPoint(x, y);
      if (list.HitTest(&hit) == row && (hit.flags & LVHT_ONITEMSTATEICON) != 0) {
        Click(list, x, y);
        return true;
      }
    }
    return false;
  }
  static void Click(CWnd &window, int x, int y) {
    // The control follows the button until it comes up: let it find the release.
    window.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    window.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    Pump();
  }
  // Clicks the row's size cell: the in-place edit opens over it.
  HWND OpenSizeEdit(int row) {
    CEditList &list = Page().List();
    CRect cell;
    if (!list.GetSubItemRect(row, kSignatureSize, LVIR_BOUNDS, cell)) return nullptr;
    Click(list, cell.left + 5, (cell.top + cell.bottom) / 2);
    return ::GetDlgItem(list.m_hWnd, 0x1234);
  }
  void ChooseGroup(int group) {
    HWND combo = ::GetDlgItem(Page().m_hWnd, IDC_HEADER_GROUP);
    ::SendMessageW(combo, CB_SETCURSEL, group, 0);
    Page().SendMessage(WM_COMMAND, MAKEWPARAM(IDC_HEADER_GROUP, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(combo));
  }
  bool Enabled(UINT id) { return ::IsWindowEnabled(::GetDlgItem(Page().m_hWnd, id)) != FALSE; }
  // Runs the action while answering the message box it brings with the button; the box's text.
  std::wstring AnswerBox(int button, const std::function<void()> &action) {
    std::wstring text;
    TimerScript script({[&] {
                         HWND box = FindMessageBox();
                         if (box == nullptr) return false;
                         wchar_t shown[512] = {};
                         ::GetDlgItemTextW(box, 0xFFFF, shown, 512);
                         text = shown;
                         ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
                         return true;
                       }},
                       [] {});
    action();
    return text;
  }
  static void Pump() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }

  MyPropertySheet *m_sheet = nullptr;
  MemoryStore *m_store = nullptr;
};

TEST_F(SignaturePage, OpensSortedByNameWithTheDefaultsChecked) {
  OpenPage();
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"Alpha/DAT/2048/-", L"Photo/JPG/4096/x", L"Word/DOC/10240/x",
                                               L"Zeta/DAT/1024/-", L"writer/Doc/512/-"}));
  EXPECT_TRUE(SheetButtonEnabled(*m_sheet, ID_WIZFINISH));
  EXPECT_EQ(HeaderSortArrow(Page().List().GetHeaderCtrl(), kSignatureName), 1);
}

TEST_F(SignaturePage, AToggleUnderAFilterChangesTheRowsOwnRecord) {
  OpenPage();
  ChooseGroup(10);
  // The filter shows its records in file order.
  EXPECT_EQ(Rows(),
            (std::vector<std::wstring>{L"Zeta/DAT/1024/-", L"Photo/JPG/4096/x", L"Alpha/DAT/2048/-"}));
  // Alpha shares its extension with Zeta, which comes first in the file.
  ASSERT_TRUE(ClickCheck(RowNamed(L"Alpha")));
  EXPECT_EQ(Page().Choice().Records()[3].m_selected, 1);
  EXPECT_EQ(Page().Choice().Records()[1].m_selected, 0);
  ChooseGroup(0);
  EXPECT_EQ(Rows()[3], L"Alpha/DAT/2048/x");
  EXPECT_EQ(Rows()[1], L"Zeta/DAT/1024/-");
}

TEST_F(SignaturePage, UncheckingTheLastCheckDisablesFinishAndSelectAllPairsByRecord) {
  OpenPage();
  ASSERT_TRUE(ClickCheck(RowNamed(L"Word")));
  EXPECT_TRUE(SheetButtonEnabled(*m_sheet, ID_WIZFINISH));
  ASSERT_TRUE(ClickCheck(RowNamed(L"Photo")));
  EXPECT_FALSE(SheetButtonEnabled(*m_sheet, ID_WIZFINISH));
  EXPECT_FALSE(Enabled(IDC_HEADER_UNSELECT_ALL));
  EXPECT_TRUE(Enabled(IDC_HEADER_SELECT_ALL));

  // Sorted by size, then filtered: rows and records stand in other orders.
  Page().List().SortListColumn(kSignatureSize);
  ClickButton(Page(), IDC_HEADER_SELECT_ALL);
  EXPECT_EQ(Page().Choice().SelectedCount(), 5u);
  for (const std::wstring &row : Rows()) EXPECT_EQ(row.substr(row.size() - 2), L"/x") << row;
  EXPECT_FALSE(Enabled(IDC_HEADER_SELECT_ALL));
  EXPECT_TRUE(SheetButtonEnabled(*m_sheet, ID_WIZFINISH));

  ChooseGroup(10);
  ClickButton(Page(), IDC_HEADER_UNSELECT_ALL);
  EXPECT_EQ(Page().Choice().SelectedCount(), 0u);
  for (const std::wstring &row : Rows()) EXPECT_EQ(row.substr(row.size() - 2), L"/-") << row;
  EXPECT_FALSE(SheetButtonEnabled(*m_sheet, ID_WIZFINISH));
}

TEST_F(SignaturePage, KeysTypedIntoTheGroupBoxDoNothing) {
  OpenPage();
  HWND combo = ::GetDlgItem(Page().m_hWnd, IDC_HEADER_GROUP);
  ::SetFocus(combo);
  auto type = [combo](std::initializer_list<UINT> keys) {
    for (UINT key : keys) {
      ::PostMessageW(combo, WM_KEYDOWN, key, 0);
      ::PostMessageW(combo, WM_KEYUP, key, 0);
    }
    // The thread's own pump, where the page sees its keys first.
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
      if (!AfxPreTranslateMessage(&message)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
      }
  };
  type({VK_DOWN, VK_END, 'S'});
  EXPECT_EQ(::SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(Rows().size(), 5u);
  // Tab still leaves the box.
  type({VK_TAB});
  EXPECT_NE(::GetFocus(), combo);
}

TEST_F(SignaturePage, TheSizeTypedInTheListReachesTheRecordAndTheFile) {
  OpenPage();
  const int row = RowNamed(L"Photo");
  HWND edit = OpenSizeEdit(row);
  ASSERT_NE(edit, nullptr);
  wchar_t shown[32] = {};
  ::GetWindowTextW(edit, shown, 32);
  EXPECT_STREQ(shown, L"4096");
  // Escape leaves everything as it was.
  ::SetWindowTextW(edit, L"77");
  ::SendMessageW(edit, WM_CHAR, VK_ESCAPE, 0);
  Pump();
  EXPECT_FALSE(::IsWindow(edit));
  EXPECT_EQ(Page().List().GetItemText(row, kSignatureSize), CString(L"4096"));
  EXPECT_EQ(m_store->m_rewrites, 0);

  // 1500 KB: a megabyte unit could not show it, so the unit becomes kilobytes.
  edit = OpenSizeEdit(row);
  ASSERT_NE(edit, nullptr);
  ::SetWindowTextW(edit, L"1500");
  ::SendMessageW(edit, WM_CHAR, VK_RETURN, 0);
  Pump();
  EXPECT_FALSE(::IsWindow(edit));
  EXPECT_EQ(Page().List().GetItemText(row, kSignatureSize), CString(L"1500"));
  ASSERT_EQ(m_store->m_rewrites, 1);
  EXPECT_EQ(m_store->m_file[2].m_maxSize, 1500u * 1024);
  EXPECT_EQ(m_store->m_file[2].m_sizeUnit, 1);

  // 0, letters and 4 GB are refused with the message and change nothing.
  for (const wchar_t *wrong : {L"0", L"12a", L"4194304"}) {
    edit = OpenSizeEdit(row);
    ASSERT_NE(edit, nullptr);
    ::SetWindowTextW(edit, wrong);
    const std::wstring text = AnswerBox(IDOK, [&] {
      ::SendMessageW(edit, WM_CHAR, VK_RETURN, 0);
      Pump();
    });
    EXPECT_EQ(text, L"Invalid size entered, re-enter size") << wrong;
    EXPECT_EQ(Page().List().GetItemText(row, kSignatureSize), CString(L"1500")) << wrong;
    EXPECT_EQ(m_store->m_rewrites, 1) << wrong;
  }
}

TEST_F(SignaturePage, RemoveAsksAndTakesOnlyTheChosenRow) {
  OpenPage();
  ClickButton(Page(), IDC_HEADER_SELECT_ALL);
  CEditList &list = Page().List();
  // A shipped record is refused.
  list.SetItemState(-1, 0, LVIS_SELECTED);
  list.SetItemState(RowNamed(L"Word"), LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(AnswerBox(IDOK, [&] { ClickButton(Page(), IDC_HEADER_REMOVE); }),
            L"Pre-defined header cannot be removed.");
  EXPECT_EQ(m_store->m_rewrites, 0);
  // "No" keeps it.
  list.SetItemState(-1, 0, LVIS_SELECTED);
  list.SetItemState(RowNamed(L"Zeta"), LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(AnswerBox(IDNO, [&] { ClickButton(Page(), IDC_HEADER_REMOVE); }),
            L"Remove the file signature \"Zeta\" (DAT)?");
  EXPECT_EQ(m_store->m_rewrites, 0);
  // "Yes" removes that one alone, though the other user records are checked.
  AnswerBox(IDYES, [&] { ClickButton(Page(), IDC_HEADER_REMOVE); });
  ASSERT_EQ(m_store->m_rewrites, 1);
  std::vector<std::u16string> left;
  for (const HeaderRecord &record : m_store->m_file) left.push_back(record.m_softwareName);
  EXPECT_EQ(left, (std::vector<std::u16string>{u"Word", u"Photo", u"Alpha", u"writer"}));
  // The rows stand in file order, every one still checked.
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"Word/DOC/10240/x", L"Photo/JPG/4096/x", L"Alpha/DAT/2048/x",
                                               L"writer/Doc/512/x"}));
  EXPECT_EQ(Page().Choice().SelectedCount(), 4u);
}

TEST_F(SignaturePage, EditChangesTheSelectedRowsRecordAndAddShowsTheNewRecordsGroup) {
  OpenPage();
  m_store->m_edit = [](HeaderRecord &record) {
    record.m_softwareName = u"Picture";
    record.m_maxSize = 8 << 20;
    return true;
  };
  CEditList &list = Page().List();
  list.SetItemState(-1, 0, LVIS_SELECTED);
  list.SetItemState(RowNamed(L"Photo"), LVIS_SELECTED, LVIS_SELECTED);
  ClickButton(Page(), IDC_HEADER_EDIT);
  EXPECT_EQ(Rows()[1], L"Picture/JPG/8192/x");
  ASSERT_EQ(m_store->m_rewrites, 1);
  EXPECT_EQ(m_store->m_file[2].m_softwareName, u"Picture");

  ChooseGroup(10);
  m_store->m_added = Signature(u"Notes", u"TXT", 4, 0, 1 << 20);
  ClickButton(Page(), IDC_HEADER_ADD);
  // The dialog is offered the shown group; the page then shows the new record's.
  EXPECT_EQ(m_store->m_addGroup, 10);
  EXPECT_EQ(::SendDlgItemMessageW(Page().m_hWnd, IDC_HEADER_GROUP, CB_GETCURSEL, 0, 0), 4);
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"Notes/TXT/1024/-", L"writer/Doc/512/-"}));
  EXPECT_EQ(Page().Choice().Records().size(), 6u);
  // Appended by the dialog: no rewrite.
  EXPECT_EQ(m_store->m_rewrites, 1);
}

TEST_F(SignaturePage, HeaderClicksSortTextsByCodeUnitAndSizesByNumber) {
  OpenPage();
  CEditList &list = Page().List();
  // A mouse click on a column's header item sorts by that column.
  auto clickHeader = [&list](int column) {
    CHeaderCtrl *header = list.GetHeaderCtrl();
    RECT item = {};
    ::SendMessageW(header->m_hWnd, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&item));
    Click(*header, (item.left + item.right) / 2, (item.top + item.bottom) / 2);
  };
  clickHeader(kSignatureName); // the second sort by name: descending
  EXPECT_EQ(Rows().front(), L"writer/Doc/512/-");
  EXPECT_EQ(HeaderSortArrow(list.GetHeaderCtrl(), kSignatureName), -1);
  clickHeader(kSignatureSize); // flipped again: ascending, by number
  std::vector<std::wstring> sizes;
  for (int row = 0; row < list.GetItemCount(); ++row) sizes.emplace_back(list.GetItemText(row, 2));
  EXPECT_EQ(sizes, (std::vector<std::wstring>{L"512", L"1024", L"2048", L"4096", L"10240"}));
  EXPECT_EQ(HeaderSortArrow(list.GetHeaderCtrl(), kSignatureSize), 1);
  EXPECT_EQ(HeaderSortArrow(list.GetHeaderCtrl(), kSignatureName), 0);
  // Rows keep their records through the sort.
  EXPECT_EQ(Page().RecordOfRow(RowNamed(L"Zeta")), 1u);
}

TEST_F(SignaturePage, FinishHandsTheCheckedSignaturesToTheEngine) {
  OpenPage();
  ChooseGroup(10);
  ASSERT_TRUE(ClickCheck(RowNamed(L"Alpha")));
  m_sheet->PressButton(PSBTN_FINISH);
  EXPECT_TRUE(TakeStartMessage(UWM_START_ADVANCED_SCAN));
  const std::vector<HeaderRecord> &chosen = m_frame->EngineServices().SelectedHeaders();
  std::vector<std::u16string> names;
  for (const HeaderRecord &record : chosen) names.push_back(record.m_softwareName);
  EXPECT_EQ(names, (std::vector<std::u16string>{u"Word", u"Photo", u"Alpha"}));
}

TEST_F(SignaturePage, WithoutASignatureFileTheSearchStartsWithNone) {
  OpenPage({});
  EXPECT_EQ(Page().List().GetItemCount(), 0);
  EXPECT_TRUE(SheetButtonEnabled(*m_sheet, ID_WIZFINISH));
  m_sheet->PressButton(PSBTN_FINISH);
  EXPECT_TRUE(TakeStartMessage(UWM_START_ADVANCED_SCAN));
  EXPECT_TRUE(m_frame->EngineServices().SelectedHeaders().empty());
}

} // namespace
