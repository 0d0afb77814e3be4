// The scan-information and recovery commands on the program's own frame: a
// FAT image searched through the frame's services, then Select All and
// Unselect All, Save Scan Information with its name-clash question, Open
// Saved Scan Information (a wrong file keeps the results), the refusal of a
// destination on the searched drive, recovery with the "File already
// exists" question, and the offer to save before the results go.
#include "WizardTestFrame.h"

#include "AppEngineServices.h"
#include "CannotSaveDlg.h"
#include "FileExistsDlg.h"
#include "SanRename.h"
#include "FatScanEngine.h"
#include "FatTestImages.h"
#include "ScanSession.h"
#include "SessionScanFile.h"

#include <fstream>

namespace {

constexpr uint8_t kDrive = 2; // C:, where the test's temporary folder is

bool Exists(const std::wstring &path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<uint8_t> ReadBytes(const std::wstring &path) {
  std::ifstream in(std::string(path.begin(), path.end()), std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void RemoveTree(const std::wstring &folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(folder + L"\\" + name);
      else
        DeleteFileW((folder + L"\\" + name).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

class ScanFileCommands : public WizardTestFrame {
protected:
  void SetUp() override {
    if (FatFixtureDir().empty()) GTEST_SKIP() << "QV_FIXTURES not set: the FAT images are not made";
    WizardTestFrame::SetUp();
    m_image = FatFixtureDir() + "/fat16.img";
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    m_work = std::wstring(temp) + L"qv-commands-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(m_work.c_str(), nullptr);
    m_elsewhere = QV_OUTPUT_DIR;
    for (wchar_t &c : m_elsewhere)
      if (c == L'/') c = L'\\';
    RemoveTree(m_elsewhere);
    CreateDirectoryW(m_elsewhere.c_str(), nullptr);
    AttachImage();
    Search();
  }
  void TearDown() override {
    if (m_frame == nullptr) return;
    WizardTestFrame::TearDown();
    RemoveTree(m_work);
    RemoveTree(m_elsewhere);
  }
  // Ending a session lets go of the devices; the program's layer opens them
  // again on demand, the test's is given the image again.
  void AttachImage() {
    auto layer = std::make_unique<ImageDeviceLayer>();
    ASSERT_TRUE(layer->AttachFile(kDrive, m_image));
    m_app.Devices = std::move(layer);
  }
  void Search() {
    ScanSession::Target target;
    target.m_driveCode = kDrive;
    target.m_sectors = m_app.Devices->Device(kDrive)->SizeInBytes() / 512;
    m_app.Session =
        std::make_unique<ScanSession>(m_frame->EngineServices(), *m_app.Devices, ScanKind::FatVolume, target);
    m_app.FatEngine = m_app.Session->Fat();
    m_app.ScanRunning = 1;
    m_app.StopRequested = 0;
    m_app.Session->Fat()->RunFatFastScan();
    ASSERT_EQ(m_app.ScanRunning, 0);
    ASSERT_EQ(m_app.ResultsPresent, 1);
  }
  EntryNodeList &Entries() { return m_frame->GetLeftPane()->Entries(); }
  bool Enabled(UINT id) { return IsCommandEnabled(id, m_frame->CurrentCommandContext()); }
  void Command(UINT id) { m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0); }
  std::wstring Elsewhere(const std::wstring &relative) { return m_elsewhere + L"\\" + relative; }

  std::string m_image;
  std::wstring m_work;
  std::wstring m_elsewhere; // a folder on another drive than C:
};

TEST_F(ScanFileCommands, SelectAllAndUnselectAllCheckEveryEntry) {
  EXPECT_TRUE(Enabled(ID_EDIT_SELECT_ALL_ENTRIES));
  EXPECT_FALSE(Enabled(ID_EDIT_UNSELECT_ALL_ENTRIES));
  Command(ID_EDIT_SELECT_ALL_ENTRIES);
  for (const TreeEntryNode &node : Entries()) ASSERT_EQ(node.Check(), 1) << ToUtf8(node.m_name);
  EXPECT_EQ(m_app.AllChecked, 1);
  EXPECT_EQ(m_app.AnyChecked, 1);
  EXPECT_FALSE(Enabled(ID_EDIT_SELECT_ALL_ENTRIES));
  EXPECT_TRUE(Enabled(ID_EDIT_UNSELECT_ALL_ENTRIES));
  EXPECT_TRUE(Enabled(ID_TOOLS_RECOVER_SELECTED));
  Command(ID_EDIT_UNSELECT_ALL_ENTRIES);
  for (const TreeEntryNode &node : Entries()) ASSERT_EQ(node.Check(), 0) << ToUtf8(node.m_name);
  EXPECT_EQ(m_app.AllChecked, 0);
  EXPECT_EQ(m_app.AnyChecked, 0);
  EXPECT_TRUE(Enabled(ID_EDIT_SELECT_ALL_ENTRIES));
  EXPECT_FALSE(Enabled(ID_EDIT_UNSELECT_ALL_ENTRIES));
}

// Save; save again under the same name: the question proposes a free name
// and Rename saves there; Cancel leaves the results unsaved and keeps a
// close open.
TEST_F(ScanFileCommands, SaveAsksOnAnExistingNameAndRenames) {
  const std::wstring chosen = m_work + L"\\mine";
  m_frame->SaveScanFileAs(chosen);
  EXPECT_TRUE(Exists(chosen + L".DAT"));
  EXPECT_EQ(m_app.ScanInfoSaved, 1);
  EXPECT_EQ(m_app.ResultsPresent, 1);
  EXPECT_FALSE(Enabled(ID_TOOLS_SAVE_SCAN_INFO));

  m_app.ScanInfoSaved = 0;
  {
    TimerScript script({ClickInDialog(L"File already exists", IDOK)}, [] {});
    m_frame->SaveScanFileAs(chosen);
    EXPECT_TRUE(script.Finished());
  }
  EXPECT_TRUE(Exists(m_work + L"\\HardDrv130_LogDrv2_Scan.DAT"));
  EXPECT_EQ(m_app.ScanInfoSaved, 1);

  m_app.ScanInfoSaved = 0;
  {
    TimerScript script({ClickInDialog(L"File already exists", IDCANCEL)}, [] {});
    m_frame->SaveScanFileAs(chosen);
    EXPECT_TRUE(script.Finished());
  }
  EXPECT_EQ(m_app.ScanInfoSaved, 0);
  EXPECT_EQ(m_frame->SaveCancelled, 1);
  EXPECT_FALSE(Exists(m_work + L"\\HardDrv130_LogDrv2_Scan1.DAT"));
}

// A file that is no scan file is refused before the results go; a good
// one rebuilds the tree without searching.
TEST_F(ScanFileCommands, OpenKeepsResultsForAWrongFileAndRebuildsFromAGoodOne) {
  const std::wstring scanFile = m_work + L"\\saved";
  m_frame->SaveScanFileAs(scanFile);
  const size_t entries = Entries().Size();
  ScanSession *before = m_app.Session.get();
  const std::wstring wrong = m_work + L"\\wrong.DAT";
  std::ofstream(std::string(wrong.begin(), wrong.end())) << std::string(700, 'x');
  {
    TimerScript script({AnswerMessageBox(IDOK)}, [] {});
    m_frame->OpenScanFile(wrong);
    EXPECT_TRUE(script.Finished()) << "message 61296 expected";
  }
  EXPECT_EQ(m_app.Session.get(), before);
  EXPECT_EQ(Entries().Size(), entries);
  EXPECT_EQ(m_app.ResultsPresent, 1);

  m_frame->OpenScanFile(scanFile + L".DAT");
  AttachImage();
  ASSERT_NE(m_app.Session.get(), nullptr);
  EXPECT_EQ(m_app.Session->Kind(), ScanKind::FatVolume);
  EXPECT_EQ(m_app.FatEngine, m_app.Session->Fat());
  EXPECT_EQ(Entries().Size(), entries);
  EXPECT_EQ(m_app.ResultsPresent, 1);
  EXPECT_EQ(m_app.ScanInfoSaved, 1);
  EXPECT_EQ(m_app.ScanRunning, 0);
}

// The searched drive is C: (drive code 2): a folder on C: is refused with a
// message and nothing is written; a folder on another drive takes the files.
TEST_F(ScanFileCommands, RefusesTheSearchedDriveAndRecoversElsewhere) {
  {
    TimerScript script({AnswerMessageBox(IDOK)}, [] {});
    EXPECT_FALSE(m_frame->RecoverInto(m_work, FALSE));
    EXPECT_TRUE(script.Finished()) << "the refusal's message expected";
  }
  EXPECT_FALSE(Exists(m_work + L"\\Docs"));

  EXPECT_TRUE(m_frame->RecoverInto(m_elsewhere, FALSE));
  EXPECT_EQ(m_app.ScanRunning, 0);
  EXPECT_EQ(m_app.ResultsPresent, 1);
  const std::wstring recovered = Elsewhere(L"Docs\\Sub\\Lost Report With A Long Name.txt");
  ASSERT_TRUE(Exists(recovered));
  for (const FatManifestRow &row : ReadFatManifest("fat16")) {
    if (row.m_path == "/Docs/Sub/Lost Report With A Long Name.txt") {
      EXPECT_TRUE(ReadBytes(recovered) == ReadOriginal("fat16", row));
    }
  }

  // Again, one file checked: it exists now, and Rename All names it "(1)".
  for (TreeEntryNode &node : Entries())
    node.m_record.m_checkState = node.m_name == u"Lost Report With A Long Name.txt" ? 1 : 0;
  {
    TimerScript script({ClickInDialog(L"File already exists", IDC_EXISTS_RENAME_ALL)}, [] {});
    EXPECT_TRUE(m_frame->RecoverInto(m_elsewhere, TRUE));
    EXPECT_TRUE(script.Finished());
  }
  EXPECT_TRUE(m_app.ClashAnswers.IsSet(ClashButton::RenameAll));
  EXPECT_TRUE(ReadBytes(Elsewhere(L"Docs\\Sub\\Lost Report With A Long Name (1).txt")) ==
              ReadBytes(recovered));
}

TEST_F(ScanFileCommands, OfferToSaveResultsHonoursCancelAndNo) {
  ASSERT_EQ(m_app.ScanInfoSaved, 0);
  {
    TimerScript script({AnswerMessageBox(IDCANCEL)}, [] {});
    EXPECT_FALSE(m_frame->OfferToSaveResults());
  }
  {
    TimerScript script({AnswerMessageBox(IDNO)}, [] {});
    EXPECT_TRUE(m_frame->OfferToSaveResults());
  }
  m_app.ScanInfoSaved = 1;
  EXPECT_TRUE(m_frame->OfferToSaveResults()) << "nothing to offer once saved";
}

// The three questions' buttons, each clicked on the real dialog: the answer
// it gives, and the name typed into the edit where one is asked for.
class QuestionDialogs : public WizardTestFrame {};

// A step that types into an edit of the dialog with the caption, then
// clicks a button; IDCANCEL without a button of its own is the window's
// close box (or Escape).
TimerScript::Step TypeAndClick(const wchar_t *caption, int edit, const wchar_t *text, int button) {
  return [=] {
    HWND dialog = FindDialog(caption);
    if (dialog == nullptr) return false;
    if (edit != 0) ::SetDlgItemTextW(dialog, edit, text);
    if (HWND control = ::GetDlgItem(dialog, button))
      ::SendMessageW(control, BM_CLICK, 0, 0);
    else
      ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    return true;
  };
}

TEST_F(QuestionDialogs, FileExistsButtonsGiveTheirAnswers) {
  const struct {
    int m_id;
    ClashButton m_answer;
  } cases[] = {{IDOK, ClashButton::Rename},
               {IDC_EXISTS_RENAME_ALL, ClashButton::RenameAll},
               {IDC_EXISTS_OVERWRITE, ClashButton::OverWrite},
               {IDC_EXISTS_OVERWRITE_ALL, ClashButton::OverWriteAll},
               {IDC_EXISTS_SKIP, ClashButton::Skip},
               {IDC_EXISTS_SKIP_ALL, ClashButton::SkipAll},
               {IDCANCEL, ClashButton::Skip}};
  for (const auto &c : cases) {
    CFileExistsDlg dialog(L"C:\\Out\\a.txt", L"a (1).txt", m_frame);
    TimerScript script({TypeAndClick(L"File already exists", IDC_EXISTS_RENAME_TO, L"typed.txt", c.m_id)},
                       [&dialog] { dialog.EndDialog(IDCANCEL); });
    dialog.DoModal();
    EXPECT_TRUE(script.Finished()) << c.m_id;
    EXPECT_EQ(dialog.Answer(), c.m_answer) << c.m_id;
    if (c.m_answer == ClashButton::Rename) {
      EXPECT_EQ(dialog.NewName(), L"typed.txt");
    }
  }
}

TEST_F(QuestionDialogs, FileExistsShowsTheNameAndTheProposal) {
  CFileExistsDlg dialog(L"C:\\Out\\a.txt", L"a (1).txt", m_frame);
  std::wstring shownName, shownProposal;
  TimerScript script({[&] {
                       HWND box = FindDialog(L"File already exists");
                       if (box == nullptr) return false;
                       wchar_t text[MAX_PATH] = {};
                       ::GetDlgItemTextW(box, IDC_EXISTS_NAME, text, MAX_PATH);
                       shownName = text;
                       ::GetDlgItemTextW(box, IDC_EXISTS_RENAME_TO, text, MAX_PATH);
                       shownProposal = text;
                       ::SendMessageW(::GetDlgItem(box, IDC_EXISTS_SKIP), BM_CLICK, 0, 0);
                       return true;
                     }},
                     [&dialog] { dialog.EndDialog(IDCANCEL); });
  dialog.DoModal();
  EXPECT_EQ(shownName, L"C:\\Out\\a.txt");
  EXPECT_EQ(shownProposal, L"a (1).txt");
}

TEST_F(QuestionDialogs, CannotSaveSkipsOrCancelsAndShowsTheSizeInKb) {
  for (int button : {IDC_CANNOT_SAVE_SKIP, IDCANCEL}) {
    CCannotSaveDlg dialog(L"C:\\Out\\big.bin", 100000, m_frame);
    std::wstring size;
    TimerScript script({[&] {
                         HWND box = FindDialog(L"Cannot Save");
                         if (box == nullptr) return false;
                         wchar_t text[32] = {};
                         ::GetDlgItemTextW(box, IDC_CANNOT_SAVE_SIZE, text, 32);
                         size = text;
                         ::SendMessageW(::GetDlgItem(box, button), BM_CLICK, 0, 0);
                         return true;
                       }},
                       [&dialog] { dialog.EndDialog(IDCANCEL); });
    EXPECT_EQ(dialog.DoModal(), button);
    EXPECT_EQ(size, L"98");
  }
}

TEST_F(QuestionDialogs, ScanRenameSetsExactlyOneAnswer) {
  const struct {
    int m_id;
    INT_PTR m_result;
    BYTE m_chosen, m_cancelled, m_overwrite;
  } cases[] = {{IDOK, IDOK, 1, 0, 0},
               {IDC_RENAME_OVERWRITE, CSanRename::kOverwriteResult, 0, 0, 1},
               {IDCANCEL, IDCANCEL, 0, 1, 0}};
  for (const auto &c : cases) {
    CSanRename dialog(L"Q:\\nowhere\\mine.DAT", 130, 2, m_frame);
    EXPECT_EQ(dialog.ProposedName(), L"Q:\\nowhere\\HardDrv130_LogDrv2_Scan");
    TimerScript script({TypeAndClick(L"File already exists", IDC_RENAME_NEW_NAME, L"Q:\\typed", c.m_id)},
                       [&dialog] { dialog.EndDialog(IDCANCEL); });
    EXPECT_EQ(dialog.DoModal(), c.m_result);
    EXPECT_EQ(m_app.RenameChosen, c.m_chosen);
    EXPECT_EQ(m_app.RenameCancelled, c.m_cancelled);
    EXPECT_EQ(m_app.RenameOverwrite, c.m_overwrite);
    if (c.m_chosen) {
      EXPECT_STREQ(m_app.ScanMessageBuffers[5], L"Q:\\typed.DAT");
    }
  }
}

} // namespace
