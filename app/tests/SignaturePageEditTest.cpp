// The signature page's changes to the signature file: the size typed into
// the list (Escape, Enter, refused sizes), Remove of the chosen row after
// asking, and Edit and Add through the record dialog.
#include "SignaturePageFixture.h"

#include "AppText.h"
#include "HeaderFile.h"

#include <fstream>

namespace {

using namespace signature_page_test;

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

// While the signature file lies on the drive whose results are shown, the
// page changes nothing: a typed size and a removal are refused with the
// message, and the rows and the file stay as they were.
TEST_F(SignaturePage, NothingIsWrittenWhileTheFileIsOnTheSearchedDrive) {
  OpenPage();
  m_store->m_onSearchedDrive = true;
  const std::vector<std::wstring> before = Rows();
  const std::wstring refusal = LoadWideText(IDS_SIGNATURES_ON_SEARCHED_DRIVE);
  EXPECT_EQ(EnterSize(RowNamed(L"Zeta"), L"77"), refusal);
  CEditList &list = Page().List();
  list.SetItemState(-1, 0, LVIS_SELECTED);
  list.SetItemState(RowNamed(L"Zeta"), LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(AnswerBox(IDOK, [&] { ClickButton(Page(), IDC_HEADER_REMOVE); }), refusal);
  EXPECT_EQ(Rows(), before);
  EXPECT_EQ(m_store->m_rewrites, 0);
  EXPECT_EQ(m_store->m_file.size(), SampleSignatures().size());
}

// With no results loaded, the drive ticked in the wizard for the search
// about to start is guarded as the searched one: the signature file on it
// is not written by the page's size edit, Remove, Edit or Add, each says
// why and the Edit and Add dialogs stay open. Unticked, it is written again.
TEST_F(SignaturePage, TheSignatureFileOnTheDriveTickedForTheSearchIsNotWritten) {
  wchar_t temp[MAX_PATH] = {};
  ASSERT_GT(GetTempPathW(MAX_PATH, temp), 2u);
  ASSERT_EQ(towupper(temp[0]), L'C') << "the wizard's drive is C:";
  const std::wstring file =
      std::wstring(temp) + L"qv-ticked-" + std::to_wstring(GetCurrentProcessId()) + L".cfg";
  ASSERT_TRUE(RewriteHeaderFile(file, SampleSignatures()));
  auto bytes = [&file] {
    std::ifstream in(std::string(file.begin(), file.end()), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  };
  const std::string before = bytes();
  // Drive C: as the system has it: read by its letter, not through a disk
  // whose extents the test would have to make up.
  OpenPageOn(std::make_unique<SignatureFile>(file), LogicalDrive('C', u"FAT32", 0));
  ASSERT_FALSE(m_app.Session) << "no results loaded";
  const std::wstring refusal = LoadWideText(IDS_SIGNATURES_ON_SEARCHED_DRIVE);
  CEditList &list = Page().List();
  auto choose = [&](const wchar_t *name) {
    list.SetItemState(-1, 0, LVIS_SELECTED);
    list.SetItemState(RowNamed(name), LVIS_SELECTED, LVIS_SELECTED);
  };

  EXPECT_EQ(EnterSize(RowNamed(L"Zeta"), L"77"), refusal);
  choose(L"Zeta");
  EXPECT_EQ(AnswerBox(IDOK, [&] { ClickButton(Page(), IDC_HEADER_REMOVE); }), refusal);

  // Edit and Add: the record dialog refuses its OK and stays open.
  auto cancelAll = [] {
    if (HWND box = FindMessageBox()) ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    if (HWND record = FindDialog(kRecordDialog)) PressDialogButton(record, IDCANCEL);
  };
  std::wstring toldEdit, toldAdd;
  {
    TimerScript script({InRecordDialog([](HWND d) { ::SetDlgItemTextW(d, IDC_APPEND_SIZE, L"9"); }, IDOK),
                        ReadMessageBox(toldEdit), InRecordDialog([](HWND) {}, IDCANCEL)},
                       cancelAll);
    choose(L"Zeta");
    ClickButton(Page(), IDC_HEADER_EDIT);
    EXPECT_TRUE(script.Finished()) << "at step " << script.CurrentStep();
  }
  {
    TimerScript script(
        {InRecordDialog([](HWND d) { TypeRecordFields(d, L"Typed", L"TYP", L"54 59", L"0", L"3"); }, IDOK),
         [&] {
           if (FindMessageBox() == nullptr) return false;
           HoldForScreenshot("wizard-signatures-refused");
           return ReadMessageBox(toldAdd)();
         },
         InRecordDialog([](HWND) {}, IDCANCEL)},
        cancelAll);
    ClickButton(Page(), IDC_HEADER_ADD);
    EXPECT_TRUE(script.Finished()) << "at step " << script.CurrentStep();
  }
  EXPECT_EQ(toldEdit, refusal);
  EXPECT_EQ(toldAdd, refusal);
  EXPECT_EQ(bytes(), before) << "the signature file was written";
  EXPECT_EQ(Page().Choice().Records().size(), SampleSignatures().size());

  // The drive unticked, nothing is about to be searched there.
  CMyTreeCtrl &tree = m_sheet->DrivePage().DriveTree();
  tree.SetCheck(ItemOfRecord(tree, 0), FALSE);
  ASSERT_EQ(tree.CheckedRecord(), -1);
  EXPECT_EQ(EnterSize(RowNamed(L"Zeta"), L"77"), L"");
  EXPECT_EQ(LoadHeaderFile(file).records[1].m_maxSize, 77u * 1024);
  DeleteFileW(file.c_str());
}

} // namespace
