// The signature page as a user drives it: the group filter, a row's check box
// (the row's own record, under any filter or sort), Select All and Unselect
// All, keys in the group box, the list's sort by column, and Finish handing
// the checked signatures to the engine. Also the choice model on its own.
#include "SignaturePageFixture.h"

#include "ComboBoxInput.h"
#include "MyComBoBox.h"

namespace {

using namespace signature_page_test;

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

TEST_F(SignaturePage, OpensSortedByNameWithTheDefaultsChecked) {
  OpenPage();
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"Alpha/DAT/2048/-", L"Photo/JPG/4096/x", L"Word/DOC/10240/x",
                                               L"Zeta/DAT/1024/-", L"writer/Doc/512/-"}));
  EXPECT_TRUE(SheetButtonEnabled(*m_sheet, ID_WIZFINISH));
  CEditList &list = Page().List();
  EXPECT_EQ(list.SortHeader().SortColumn(), kSignatureName);
  EXPECT_TRUE(list.SortHeader().Ascending());
  // The list's own header is the owner-drawn one, on every column.
  EXPECT_EQ(list.GetHeaderCtrl(), &list.SortHeader());
  for (int column = kSignatureName; column <= kSignatureSize; ++column) {
    HDITEMW item = {};
    item.mask = HDI_FORMAT;
    list.GetHeaderCtrl()->GetItem(column, &item);
    EXPECT_NE(item.fmt & HDF_OWNERDRAW, 0) << column;
  }
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

// A click on the name cell left of its box, on the name or on the extension
// selects the row and ticks nothing: the list's full-row hit test says "on
// the item" in the margin before the box. Only the box ticks.
TEST_F(SignaturePage, OnlyTheBoxOfARowTicksIt) {
  OpenPage();
  CEditList &list = Page().List();
  const int row = RowNamed(L"Zeta");
  const std::vector<std::wstring> before = Rows();
  CRect bounds, label;
  ASSERT_TRUE(list.GetItemRect(row, &bounds, LVIR_BOUNDS));
  ASSERT_TRUE(list.GetItemRect(row, &label, LVIR_LABEL));
  CRect extension;
  ASSERT_TRUE(list.GetSubItemRect(row, kSignatureExtension, LVIR_BOUNDS, extension));
  for (const CPoint &at :
       {CPoint(bounds.left, label.CenterPoint().y), label.CenterPoint(), extension.CenterPoint()}) {
    list.SetItemState(-1, 0, LVIS_SELECTED);
    Click(list, at.x, at.y);
    EXPECT_EQ(Rows(), before) << "at x " << at.x;
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), row) << "at x " << at.x;
  }
  EXPECT_EQ(Page().Choice().SelectedCount(), 2u);
  ASSERT_TRUE(ClickCheck(row));
  EXPECT_EQ(Rows()[RowNamed(L"Zeta")], L"Zeta/DAT/1024/x");
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

// The group box is the mouse-only combo box: keys typed into it move
// nothing, a choice with the mouse filters the rows.
TEST_F(SignaturePage, KeysTypedIntoTheGroupBoxDoNothingAndTheMouseChooses) {
  OpenPage();
  HWND combo = ::GetDlgItem(Page().m_hWnd, IDC_HEADER_GROUP);
  ASSERT_NE(dynamic_cast<CMyComboBox *>(CWnd::FromHandlePermanent(combo)), nullptr);
  ::SetFocus(combo);
  TypeKeys(combo, {VK_DOWN, VK_END, VK_NEXT, 'S'});
  EXPECT_EQ(::SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(Rows().size(), 5u);
  // Tab still leaves the box.
  TypeKeys(combo, {VK_TAB});
  EXPECT_NE(::GetFocus(), combo);

  ASSERT_TRUE(ChooseWithMouse(combo, 10));
  EXPECT_EQ(::SendMessageW(combo, CB_GETCURSEL, 0, 0), 10);
  EXPECT_EQ(Rows(),
            (std::vector<std::wstring>{L"Zeta/DAT/1024/-", L"Photo/JPG/4096/x", L"Alpha/DAT/2048/-"}));
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
  EXPECT_EQ(list.SortHeader().SortColumn(), kSignatureName);
  EXPECT_FALSE(list.SortHeader().Ascending());
  clickHeader(kSignatureSize); // flipped again: ascending, by number
  std::vector<std::wstring> sizes;
  for (int row = 0; row < list.GetItemCount(); ++row) sizes.emplace_back(list.GetItemText(row, 2));
  EXPECT_EQ(sizes, (std::vector<std::wstring>{L"512", L"1024", L"2048", L"4096", L"10240"}));
  EXPECT_EQ(list.SortHeader().SortColumn(), kSignatureSize);
  EXPECT_TRUE(list.SortHeader().Ascending());
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

// The ticks given to an advanced search are offered again by the next
// wizard's signature page; after a fast search the defaults come back.
TEST_F(SignaturePage, TheTicksOfTheLastSignatureSearchAreOfferedAgain) {
  OpenPage();
  ASSERT_TRUE(ClickCheck(RowNamed(L"Word")));
  ASSERT_TRUE(ClickCheck(RowNamed(L"Alpha")));
  m_sheet->PressButton(PSBTN_FINISH);
  ASSERT_TRUE(TakeStartMessage(UWM_START_ADVANCED_SCAN));
  const std::vector<std::wstring> chosen = {L"Alpha/DAT/2048/x", L"Photo/JPG/4096/x", L"Word/DOC/10240/-",
                                            L"Zeta/DAT/1024/-", L"writer/Doc/512/-"};

  OpenPage();
  EXPECT_EQ(Rows(), chosen);
  EXPECT_EQ(Page().Choice().SelectedCount(), 2u);
  m_sheet->PressButton(PSBTN_FINISH);
  ASSERT_TRUE(TakeStartMessage(UWM_START_ADVANCED_SCAN));
  OpenPage();
  EXPECT_EQ(Rows(), chosen) << "kept through a second search";
  m_sheet->PressButton(PSBTN_CANCEL);

  // A fast search takes no signatures: the next signature page offers the defaults.
  MyPropertySheet &fast = OpenModelessWizard();
  m_sheet = &fast;
  CMyTreeCtrl &tree = ToDrivePage(fast, IDC_FAST_SEARCH).DriveTree();
  ASSERT_TRUE(ClickBox(tree, ItemOfRecord(tree, 0)));
  fast.PressButton(PSBTN_FINISH);
  ASSERT_TRUE(TakeStartMessage(UWM_START_FAST_SCAN));
  OpenPage();
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"Alpha/DAT/2048/-", L"Photo/JPG/4096/x", L"Word/DOC/10240/x",
                                               L"Zeta/DAT/1024/-", L"writer/Doc/512/-"}));
}

} // namespace
