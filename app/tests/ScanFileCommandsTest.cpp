// The scan-information and recovery commands on the program's own frame: a
// FAT image searched through the frame's services, then Select All and
// Unselect All, Save Scan Information with its name-clash question, Open
// Saved Scan Information (a wrong file keeps the results), the refusal of a
// destination on the searched drive, recovery with the "File already
// exists" question, and the offer to save before the results go; that
// Recover Selected writes what the check boxes show, on every way there.
#include "WizardTestFrame.h"

#include "AppEngineServices.h"
#include "AppText.h"
#include "CannotSaveDlg.h"
#include "FileExistsDlg.h"
#include "HeaderFile.h"
#include "SanRename.h"
#include "SearchedDriveGuard.h"
#include "FatScanEngine.h"
#include "FatTestImages.h"
#include "QuendalVarnothView.h"
#include "RecoveryPath.h"
#include "ScanSession.h"
#include "SessionScanFile.h"
#include "SimpleListView.h"

#include <cstdlib>
#include <dlgs.h>
#include <fstream>
#include <set>

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

// Every file under the folder, as paths relative to it.
std::set<std::wstring> FilesUnder(const std::wstring &folder, const std::wstring &relative = L"") {
  std::set<std::wstring> files;
  WIN32_FIND_DATAW found;
  const std::wstring here = relative.empty() ? folder : folder + L"\\" + relative;
  HANDLE search = FindFirstFileW((here + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return files;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring path = relative.empty() ? name : relative + L"\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      const std::set<std::wstring> inner = FilesUnder(folder, path);
      files.insert(inner.begin(), inner.end());
    } else {
      files.insert(path);
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return files;
}

class ScanFileCommands : public WizardTestFrame {
protected:
  void SetUp() override {
    if (FatFixtureDir().empty()) GTEST_SKIP() << "QV_FIXTURES not set: the FAT images are not made";
    WizardTestFrame::SetUp();
    m_image = FatFixtureDir() + "/fat16.img";
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    m_onSearched = std::wstring(temp) + L"qv-commands-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(m_onSearched.c_str(), nullptr);
    m_elsewhere = QV_OUTPUT_DIR;
    for (wchar_t &c : m_elsewhere)
      if (c == L'/') c = L'\\';
    RemoveTree(m_elsewhere);
    CreateDirectoryW(m_elsewhere.c_str(), nullptr);
    // Scan files go beside the recovered files: nothing is saved on the searched drive.
    m_work = m_elsewhere + L"-files";
    RemoveTree(m_work);
    CreateDirectoryW(m_work.c_str(), nullptr);
    AttachImage();
    Search();
  }
  void TearDown() override {
    // Skipped before the folders were made.
    if (m_onSearched.empty()) return;
    WizardTestFrame::TearDown();
    RemoveTree(m_onSearched);
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
    RunFatFastSearch(kDrive);
    ASSERT_EQ(m_app.ScanRunning, 0);
    ASSERT_EQ(m_app.ResultsPresent, 1);
  }
  // Opening a scan file ends the session, which lets go of the image: the
  // layer the new session reads through is given it again.
  void ReattachImage() {
    ASSERT_TRUE(static_cast<ImageDeviceLayer &>(*m_app.Devices).AttachFile(kDrive, m_image));
  }
  EntryNodeList &Entries() { return m_frame->GetLeftPane()->Entries(); }
  TreeEntryNode &Node(const std::u16string &name) {
    for (TreeEntryNode &node : Entries())
      if (node.m_name == name) return node;
    ADD_FAILURE() << "no entry " << ToUtf8(name);
    return *Entries().Root();
  }
  HTREEITEM ItemOf(TreeEntryNode &folder) { return m_frame->GetLeftPane()->ItemOf(folder); }
  // Recover Selected into a new folder on the other drive; what it wrote.
  std::set<std::wstring> RecoverSelected(const std::wstring &run) {
    const std::wstring folder = Elsewhere(run);
    CreateDirectoryW(folder.c_str(), nullptr);
    EXPECT_TRUE(m_frame->RecoverInto(folder, TRUE));
    return FilesUnder(folder);
  }
  // The files the check boxes show ticked, looked at as a user does: every
  // folder of the tree opened and selected in turn, parents first, and its
  // file rows shown checked; as paths where recovery puts them.
  std::set<std::wstring> ShownTicked() {
    CLeftView *tree = m_frame->GetLeftPane();
    CQuendalVarnothView *list = m_frame->GetRightPane();
    CTreeCtrl &items = tree->GetTreeCtrl();
    CListCtrl &rows = list->GetListCtrl();
    RecoveryPathBuilder paths(tree->Entries());
    std::set<std::wstring> shown;
    std::vector<HTREEITEM> pending{tree->RootItem()};
    while (!pending.empty()) {
      HTREEITEM item = pending.back();
      pending.pop_back();
      items.Expand(item, TVE_EXPAND);
      items.SelectItem(item);
      for (int row = 0; row < rows.GetItemCount(); ++row) {
        const TreeEntryNode *node = list->RowNode(row);
        if (!node->IsFolder() && (rows.GetItemState(row, LVIS_STATEIMAGEMASK) >> 12) == 3)
          shown.insert(Wide(paths.RelativePath(*node)));
      }
      for (HTREEITEM child = items.GetChildItem(item); child; child = items.GetNextSiblingItem(child))
        pending.push_back(child);
    }
    items.SelectItem(tree->RootItem());
    return shown;
  }
  // The state image a folder's item shows: 1 unchecked, 2 checked, 3 partly.
  UINT ItemState(const std::u16string &folder) {
    return m_frame->GetLeftPane()->GetTreeCtrl().GetItemState(ItemOf(Node(folder)), TVIS_STATEIMAGEMASK) >>
           12;
  }
  bool Enabled(UINT id) { return IsCommandEnabled(id, m_frame->CurrentCommandContext()); }
  void Command(UINT id) { m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0); }
  std::wstring Elsewhere(const std::wstring &relative) { return m_elsewhere + L"\\" + relative; }

  std::string m_image;
  std::wstring m_onSearched; // a folder on C:, the searched drive
  std::wstring m_work;       // where scan files are saved, on another drive
  std::wstring m_elsewhere;  // a folder on another drive than C:
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

// Recover Selected writes exactly the files the check boxes show ticked,
// after a search, after Select All and Unselect All, and after a scan file
// saved with a folder ticked deep in the tree is opened again.
TEST_F(ScanFileCommands, RecoverSelectedWritesWhatTheCheckBoxesShow) {
  CLeftView *tree = m_frame->GetLeftPane();
  CQuendalVarnothView *list = m_frame->GetRightPane();
  const std::wstring lost = L"Docs\\Sub\\Lost Report With A Long Name.txt";
  tree->GetTreeCtrl().SelectItem(ItemOf(Node(u"Sub")));
  for (int row = 0; row < list->GetListCtrl().GetItemCount(); ++row)
    if (list->RowNode(row)->m_name == u"Lost Report With A Long Name.txt") list->ToggleRowCheck(row);
  std::set<std::wstring> written = RecoverSelected(L"one");
  EXPECT_EQ(written, std::set<std::wstring>{lost});
  EXPECT_EQ(written, ShownTicked());

  Command(ID_EDIT_SELECT_ALL_ENTRIES);
  written = RecoverSelected(L"all");
  EXPECT_GT(written.size(), 20u);
  EXPECT_EQ(written, ShownTicked());

  Command(ID_EDIT_UNSELECT_ALL_ENTRIES);
  EXPECT_FALSE(Enabled(ID_TOOLS_RECOVER_SELECTED));
  EXPECT_TRUE(RecoverSelected(L"none").empty());
  EXPECT_TRUE(ShownTicked().empty());

  // Sub ticked in the tree; the scan file keeps it, the root's state it does not.
  tree->ToggleItemCheck(ItemOf(Node(u"Sub")));
  const std::wstring scanFile = m_work + L"\\ticked";
  m_frame->SaveScanFileAs(scanFile);
  m_frame->OpenScanFile(scanFile + L".DAT");
  ReattachImage();
  EXPECT_EQ(ItemState(u"Docs"), 3u);
  EXPECT_EQ(ItemState(u"Sub"), 2u);
  EXPECT_EQ(ItemState(u"Root"), 3u);
  EXPECT_EQ(m_app.AnyChecked, 1);
  EXPECT_TRUE(Enabled(ID_TOOLS_RECOVER_SELECTED));
  // One more file ticked at the root, as a user would.
  std::wstring atRoot;
  for (int row = 0; row < list->GetListCtrl().GetItemCount() && atRoot.empty(); ++row) {
    if (list->RowNode(row)->IsFolder()) continue;
    atRoot = Wide(RecoveryPathBuilder(Entries()).RelativePath(*list->RowNode(row)));
    list->ToggleRowCheck(row);
  }
  ASSERT_FALSE(atRoot.empty());
  written = RecoverSelected(L"opened");
  EXPECT_EQ(written, (std::set<std::wstring>{lost, atRoot}));
  EXPECT_EQ(written, ShownTicked());
}

// A folder ticked in the tree before its subfolders were ever opened:
// recovery writes every file below it and nothing else, the subfolders show
// the tick when they open, and a scan file saved then brings back the same.
TEST_F(ScanFileCommands, AFolderTickedBeforeItsSubfoldersOpenedRecoversAllBelowIt) {
  CLeftView *tree = m_frame->GetLeftPane();
  ASSERT_EQ(Node(u"Inner").m_item, nullptr);
  tree->ToggleItemCheck(ItemOf(Node(u"Old")));
  EXPECT_EQ(Node(u"Inner").m_item, nullptr);
  const std::set<std::wstring> below = {L"Old\\X.bin", L"Old\\Inner\\X.txt", L"Old\\Inner\\Deep\\X.dat"};
  EXPECT_EQ(RecoverSelected(L"ticked"), below);
  EXPECT_EQ(ItemState(u"Inner"), 2u);
  EXPECT_EQ(ItemState(u"Deep"), 2u);
  EXPECT_EQ(ShownTicked(), below);

  tree->ResetTreeToRoot();
  const std::wstring scanFile = m_work + L"\\old-ticked";
  m_frame->SaveScanFileAs(scanFile);
  m_frame->OpenScanFile(scanFile + L".DAT");
  ReattachImage();
  EXPECT_EQ(Node(u"Inner").m_item, nullptr);
  EXPECT_EQ(RecoverSelected(L"opened"), below);
  EXPECT_EQ(ItemState(u"Deep"), 2u);
  EXPECT_EQ(ShownTicked(), below);
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
    EXPECT_FALSE(m_frame->RecoverInto(m_onSearched, FALSE));
    EXPECT_TRUE(script.Finished()) << "the refusal's message expected";
  }
  EXPECT_FALSE(Exists(m_onSearched + L"\\Docs"));

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

// Volumes as a system with the searched drive C: mounted a second time in a
// folder on another drive would give them: the folder is a volume root of
// its own, with C:'s unique name.
class MountedFolderVolumes : public VolumeQueries {
public:
  explicit MountedFolderVolumes(std::u16string mountFolder) : m_mountFolder(std::move(mountFolder)) {}
  std::u16string VolumePathOf(const std::u16string &path) override {
    if (Lower(path).compare(0, m_mountFolder.size(), Lower(m_mountFolder)) == 0) return m_mountFolder + u"\\";
    return path.size() >= 2 && path[1] == u':' ? path.substr(0, 2) + u"\\" : std::u16string();
  }
  std::u16string VolumeNameOf(const std::u16string &root) override {
    if (root == u"C:\\" || Lower(root) == Lower(m_mountFolder + u"\\")) return u"\\\\?\\Volume{c}\\";
    return root.size() == 3 ? u"\\\\?\\Volume{" + root.substr(0, 1) + u"}\\" : std::u16string();
  }
  std::optional<std::vector<DiskExtent>> ExtentsOf(const std::u16string &) override { return std::nullopt; }
  std::u16string DosDeviceOf(char16_t) override { return {}; }
  std::u16string LocalPathOfShare(const std::u16string &) override { return {}; }
  std::vector<std::u16string> OwnNames() override { return {}; }

private:
  static std::u16string Lower(std::u16string text) {
    for (char16_t &c : text) c = static_cast<char16_t>(towlower(c));
    return text;
  }
  std::u16string m_mountFolder;
};

// A folder of the destination that is the searched volume mounted there is
// checked when the recovery enters it: nothing is written into it, and the
// run ends with the refusal.
TEST_F(ScanFileCommands, AMountedFolderOfTheSearchedVolumeInTheDestinationIsRefused) {
  const std::wstring docs = Elsewhere(L"Docs");
  ASSERT_TRUE(CreateDirectoryW(docs.c_str(), nullptr));
  m_app.Volumes = std::make_unique<MountedFolderVolumes>(U16(docs));
  std::wstring told;
  {
    TimerScript script({ReadMessageBox(told)}, [] {});
    EXPECT_TRUE(m_frame->RecoverInto(m_elsewhere, FALSE));
  }
  EXPECT_EQ(told, LoadWideText(IDS_DESTINATION_ON_SEARCHED_DRIVE));
  EXPECT_TRUE(FilesUnder(docs).empty());
  CSimpleListView *log = m_app.LogView;
  ASSERT_NE(log, nullptr);
  EXPECT_EQ(std::wstring(log->GetLogItemText(log->GetLogRowCount() - 1, 1)),
            LoadWideText(IDS_PROCESS_ABORTED));
}

// Types a name into a file dialog's name box and presses Save.
bool EnterFileName(HWND dialog, const std::wstring &name) {
  HWND edit = ::GetDlgItem(dialog, edt1);
  if (edit == nullptr) {
    HWND combo = ::GetDlgItem(dialog, cmb13);
    edit = combo != nullptr ? ::FindWindowExW(combo, nullptr, L"Edit", nullptr) : nullptr;
    if (edit == nullptr) edit = combo;
  }
  if (edit == nullptr) return false;
  ::SetWindowTextW(edit, name.c_str());
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return true;
}

// Save Scan Information and Save Log through their own dialogs: a name on
// the searched drive is refused with the refusal message, nothing is
// written there, and the dialog comes back for another place, where the
// file is then written.
TEST_F(ScanFileCommands, SavesOnTheSearchedDriveAreRefusedAndTheDialogAsksAgain) {
  const struct {
    UINT m_command;
    UINT m_title;
    const wchar_t *m_name;
    const wchar_t *m_written; // what the save adds to the name
  } kSaves[] = {{ID_TOOLS_SAVE_SCAN_INFO, IDS_SAVE_SCAN_INFO_TITLE, L"scan", L".DAT"},
                {ID_EDIT_SAVE_LOG, IDS_LOG_SAVE_TITLE, L"report", L".Txt"}};
  for (const auto &save : kSaves) {
    const std::wstring title = LoadWideText(save.m_title);
    const std::wstring refused = m_onSearched + L"\\" + save.m_name;
    const std::wstring taken = m_work + L"\\" + save.m_name;
    std::wstring told;
    int dialogs = 0;
    TimerScript script({[&] {
                          HWND dialog = FindDialog(title.c_str());
                          return dialog != nullptr && ++dialogs && EnterFileName(dialog, refused);
                        },
                        [&] {
                          HWND box = FindMessageBox();
                          if (box == nullptr) return false;
                          if (save.m_command == ID_TOOLS_SAVE_SCAN_INFO)
                            HoldForScreenshot("scan-file-refused");
                          told = MessageBoxTextOf(box);
                          ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                          return true;
                        },
                        [&] {
                          HWND dialog = FindDialog(title.c_str());
                          return dialog != nullptr && ++dialogs && EnterFileName(dialog, taken);
                        }},
                       [&] {
                         if (HWND box = FindMessageBox())
                           ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                         if (HWND dialog = FindDialog(title.c_str()))
                           ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                       });
    ASSERT_TRUE(Enabled(save.m_command)) << title;
    Command(save.m_command);
    EXPECT_FALSE(script.GaveUp()) << title << ": at step " << script.CurrentStep();
    EXPECT_EQ(dialogs, 2) << title;
    EXPECT_EQ(told, LoadWideText(IDS_FILE_ON_SEARCHED_DRIVE)) << title;
    EXPECT_FALSE(Exists(refused + save.m_written)) << title;
    EXPECT_TRUE(Exists(taken + save.m_written)) << title;
  }
  EXPECT_EQ(m_app.ScanInfoSaved, 1);
}

// File > Exit with results not yet saved, Yes to saving them: a name on the
// searched drive is refused, and once a name elsewhere is saved the close
// goes on; Cancel in the save dialog keeps the program open.
TEST_F(ScanFileCommands, ExitClosesOnceTheSaveItAskedForSucceeds) {
  const std::wstring title = LoadWideText(IDS_SAVE_SCAN_INFO_TITLE);
  auto enterName = [&title](const std::wstring &name) -> TimerScript::Step {
    return [&title, name] {
      HWND dialog = FindDialog(title.c_str());
      return dialog != nullptr && EnterFileName(dialog, name);
    };
  };
  auto giveUp = [&title] {
    if (HWND box = FindMessageBox()) ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    if (HWND dialog = FindDialog(title.c_str()))
      ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  };
  HWND window = m_frame->m_hWnd;
  {
    TimerScript script({AnswerMessageBox(IDYES), ClickInDialog(title.c_str(), IDCANCEL)}, giveUp);
    Command(ID_APP_EXIT);
    EXPECT_TRUE(script.Finished()) << "at step " << script.CurrentStep();
  }
  ASSERT_TRUE(::IsWindow(window)) << "Cancel in the save dialog keeps the program open";
  EXPECT_EQ(m_app.ScanInfoSaved, 0);

  const std::wstring taken = m_work + L"\\at-exit";
  {
    TimerScript script({AnswerMessageBox(IDYES), enterName(m_onSearched + L"\\at-exit"),
                        AnswerMessageBox(IDOK), enterName(m_onSearched + L"\\again"), AnswerMessageBox(IDOK),
                        enterName(taken)},
                       giveUp);
    Command(ID_APP_EXIT);
    EXPECT_TRUE(script.Finished()) << "at step " << script.CurrentStep();
  }
  EXPECT_TRUE(Exists(taken + L".DAT"));
  EXPECT_FALSE(Exists(m_onSearched + L"\\at-exit.DAT"));
  EXPECT_FALSE(::IsWindow(window)) << "the close went on after the save";
  if (!::IsWindow(window)) m_frame = nullptr; // it deleted itself with its window
}

// Tools > Add New Header with the signature file on the searched drive: Add,
// Remove and Edit are refused with the message before anything is written,
// the record dialog stays open with what was typed, and the file stays as
// it was.
TEST_F(ScanFileCommands, TheSignatureFileOnTheSearchedDriveIsNotWritten) {
  const std::wstring file = m_onSearched + L"\\HeaderFile.cfg";
  HeaderRecord mine;
  mine.m_softwareName = u"Mine";
  mine.m_extension = u"MNE";
  mine.m_signatureLength = 2;
  mine.m_signature[0] = 0x4D;
  mine.m_signature[1] = 0x4E;
  mine.m_maxSize = 1u << 20;
  ASSERT_TRUE(RewriteHeaderFile(file, {mine}));
  const std::vector<uint8_t> before = ReadBytes(file);
  m_app.SignatureFileOverride = file;
  const wchar_t *const kList = L"Add New Header";
  // The list alone is up: no record dialog over it.
  auto inList = [&](int id) -> TimerScript::Step {
    return [&, id] {
      HWND list = FindDialog(kList);
      if (list == nullptr || FindDialog(kRecordDialog) != nullptr || FindMessageBox() != nullptr)
        return false;
      PressDialogButton(list, id);
      return true;
    };
  };
  auto inRecord = InRecordDialog;
  std::vector<std::wstring> told(3);
  std::wstring kept;
  TimerScript script(
      {inList(IDYES),
       inRecord([](HWND d) { TypeRecordFields(d, L"Typed", L"TYP", L"54 59", L"0", L"3"); }, IDOK),
       [&] {
         if (FindMessageBox() == nullptr) return false;
         HoldForScreenshot("signatures-refused");
         return ReadMessageBox(told[0])();
       },
       inRecord(
           [&](HWND d) {
             wchar_t name[64] = {};
             ::GetDlgItemTextW(d, IDC_APPEND_NAME, name, 64);
             kept = name;
           },
           IDCANCEL),
       inList(IDNO), ReadMessageBox(told[1]), inList(IDC_NEW_HEADER_EDIT),
       inRecord([](HWND d) { ::SetDlgItemTextW(d, IDC_APPEND_SIZE, L"9"); }, IDOK), ReadMessageBox(told[2]),
       inRecord([](HWND) {}, IDCANCEL), inList(IDCANCEL)},
      [&] {
        if (HWND box = FindMessageBox()) ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        if (HWND record = FindDialog(kRecordDialog)) PressDialogButton(record, IDCANCEL);
        if (HWND list = FindDialog(kList)) PressDialogButton(list, IDCANCEL);
      });
  ASSERT_TRUE(Enabled(ID_TOOLS_ADD_NEW_HEADER));
  Command(ID_TOOLS_ADD_NEW_HEADER);
  EXPECT_TRUE(script.Finished()) << "at step " << script.CurrentStep();
  for (const std::wstring &text : told) EXPECT_EQ(text, LoadWideText(IDS_SIGNATURES_ON_SEARCHED_DRIVE));
  EXPECT_EQ(kept, L"Typed") << "what was typed stays in the dialog";
  EXPECT_TRUE(ReadBytes(file) == before) << "the signature file was written";
  EXPECT_FALSE(Exists(file + L".new"));
}

// Volumes as a system with disk extents would give them: D: is the volume
// that starts past 2 TiB on disk 0, E: another volume on that disk at sector
// 2048, where a start cut to 32 bits would point. Other paths are unknown.
class FarDiskVolumes : public VolumeQueries {
public:
  explicit FarDiskVolumes(uint64_t farStart, uint64_t bytes) : m_farStart(farStart), m_bytes(bytes) {}
  std::u16string VolumePathOf(const std::u16string &path) override {
    if (path.size() >= 3 && (path[0] == u'D' || path[0] == u'E')) return path.substr(0, 3);
    return {};
  }
  std::u16string VolumeNameOf(const std::u16string &) override { return {}; }
  std::optional<std::vector<DiskExtent>> ExtentsOf(const std::u16string &root) override {
    if (root == u"D:\\") return std::vector<DiskExtent>{{0, m_farStart * 512, m_bytes}};
    if (root == u"E:\\") return std::vector<DiskExtent>{{0, 2048 * 512, m_bytes}};
    return std::nullopt;
  }
  std::u16string DosDeviceOf(char16_t) override { return {}; }
  std::u16string LocalPathOfShare(const std::u16string &) override { return {}; }
  std::vector<std::u16string> OwnNames() override { return {}; }

private:
  uint64_t m_farStart;
  uint64_t m_bytes;
};

// A volume that starts at sector 2^32 + 2048 of its disk (a sparse image):
// searched, saved and opened again from its scan file, it is still the
// volume being searched for the destination guard, so a recovery and a save
// onto it are refused; the volume at sector 2048 is not taken for it.
TEST_F(ScanFileCommands, AVolumePast2TiBOpenedFromItsScanFileIsStillGuarded) {
  constexpr uint8_t kFarDisk = 0x80;
  constexpr uint64_t kFarStart = (uint64_t{1} << 32) + 2048;
  const std::vector<uint8_t> volume = ReadBytes(std::wstring(m_image.begin(), m_image.end()));
  ASSERT_GT(volume.size(), 0u);
  const std::wstring disk = m_work + L"\\far-disk.img";
  const std::string diskName(disk.begin(), disk.end());
  {
    std::ofstream out(diskName, std::ios::binary | std::ios::trunc);
    out.seekp(2048 * 512);
    out << std::string(512, 'z'); // where a start cut to 32 bits would read
    out.seekp(static_cast<std::streamoff>(kFarStart * 512));
    out.write(reinterpret_cast<const char *>(volume.data()), static_cast<std::streamsize>(volume.size()));
    ASSERT_TRUE(out.good());
  }
  // The drive's results go first: ending a session lets go of every device.
  m_app.FatEngine = nullptr;
  m_app.Session.reset();
  m_frame->GetLeftPane()->ClearTree();
  Entries().Clear();
  auto &layer = static_cast<ImageDeviceLayer &>(*m_app.Devices);
  ASSERT_TRUE(layer.AttachFile(kFarDisk, diskName));
  m_app.Volumes = std::make_unique<FarDiskVolumes>(kFarStart, volume.size());

  // A fast search of the volume through its disk, as the wizard starts one.
  ScanSession::Target target;
  target.m_driveCode = kFarDisk;
  target.m_startSector = kFarStart;
  target.m_sectors = volume.size() / 512;
  m_app.Session =
      std::make_unique<ScanSession>(m_frame->EngineServices(), *m_app.Devices, ScanKind::FatVolume, target);
  m_app.FatEngine = m_app.Session->Fat();
  m_app.ScanRunning = 1;
  m_app.StopRequested = 0;
  EXPECT_EQ(AnswerBoxWhile([&] { m_app.Session->Fat()->RunFatFastScan(); }), L"");
  ASSERT_EQ(m_app.ScanRunning, 0);
  const size_t found = Entries().Size();
  ASSERT_GT(found, 1u);
  const std::wstring scanFile = m_work + L"\\far";
  EXPECT_EQ(AnswerBoxWhile([&] { m_frame->SaveScanFileAs(scanFile); }), L"");
  ASSERT_TRUE(Exists(scanFile + L".DAT"));

  EXPECT_EQ(AnswerBoxWhile([&] { m_frame->OpenScanFile(scanFile + L".DAT"); }), L"");
  ASSERT_TRUE(m_app.Session);
  EXPECT_EQ(m_app.Session->Where().m_driveCode, kFarDisk);
  EXPECT_EQ(m_app.Session->Where().m_startSector, kFarStart);
  EXPECT_EQ(Entries().Size(), found);
  EXPECT_EQ(m_app.ResultsPresent, 1);

  std::wstring recoveryTold, saveTold;
  {
    TimerScript script({ReadMessageBox(recoveryTold)}, [] {});
    EXPECT_FALSE(m_frame->RecoverInto(L"D:\\restored", FALSE));
  }
  EXPECT_EQ(recoveryTold, LoadWideText(IDS_DESTINATION_ON_SEARCHED_DRIVE));
  {
    TimerScript script({ReadMessageBox(saveTold)}, [] {});
    EXPECT_FALSE(m_frame->SaveScanFileAs(L"D:\\again"));
  }
  EXPECT_EQ(saveTold, LoadWideText(IDS_FILE_ON_SEARCHED_DRIVE));
  const std::optional<SearchedPlace> searched = LoadedResultsPlace(m_app);
  ASSERT_TRUE(searched);
  EXPECT_EQ(CheckWriteTarget(L"E:\\restored", *searched).m_verdict, GuardVerdict::Allowed);

  // The image is let go, so it can go: it is 2 TiB long, though almost all hole.
  m_app.FatEngine = nullptr;
  m_app.Session.reset();
  layer.Attach(kFarDisk, nullptr);
  EXPECT_TRUE(DeleteFileW(disk.c_str()));
}

// A scan file that names a drive too small for the volume it describes is
// refused before anything is read, and the results on show stay.
TEST_F(ScanFileCommands, AScanFileThatDoesNotFitItsDriveIsRefusedAndTheResultsStay) {
  const std::wstring scanFile = m_work + L"\\far";
  m_frame->SaveScanFileAs(scanFile);
  ASSERT_TRUE(Exists(scanFile + L".DAT"));
  std::vector<uint8_t> bytes = ReadBytes(scanFile + L".DAT");
  // The volume's start moved past the end of the 8 MB image.
  bytes[240] = 1;
  {
    std::ofstream out(std::string(scanFile.begin(), scanFile.end()) + "-moved.DAT", std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  const size_t entries = Entries().Size();
  const int logRows = m_app.LogView->GetLogRowCount();
  std::wstring told;
  {
    TimerScript script({ReadMessageBox(told)}, [] {});
    m_frame->OpenScanFile(scanFile + L"-moved.DAT");
  }
  EXPECT_NE(told.find(L"4294967296"), std::wstring::npos) << told;
  EXPECT_EQ(Entries().Size(), entries);
  EXPECT_EQ(m_app.LogView->GetLogRowCount(), logRows) << "nothing was loaded";
  EXPECT_EQ(m_app.ResultsPresent, 1);
}

// A file that exists but may not be read (here: held open by another
// program) is there all the same: the save asks before it goes.
TEST_F(ScanFileCommands, ALockedScanFileIsAskedAboutBeforeItIsReplaced) {
  const std::wstring locked = m_work + L"\\locked.DAT";
  std::ofstream(std::string(locked.begin(), locked.end())) << "kept";
  HANDLE holder = CreateFileW(locked.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(ScanFileExists(locked));
  {
    TimerScript script({ClickInDialog(L"File already exists", IDCANCEL)}, [] {
      if (HWND box = FindMessageBox()) ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    m_frame->SaveScanFileAs(m_work + L"\\locked");
    EXPECT_TRUE(script.Finished()) << "the name clash question expected";
  }
  CloseHandle(holder);
  EXPECT_EQ(m_app.ScanInfoSaved, 0);
  EXPECT_EQ(ReadBytes(locked), (std::vector<uint8_t>{'k', 'e', 'p', 't'}));
  EXPECT_FALSE(ScanFileExists(m_work + L"\\nothing here.DAT"));
}

// Refuses to make windows of the name clash question, a few times.
int s_refusedQuestions = 0;
LRESULT CALLBACK RefuseNameClashQuestion(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && s_refusedQuestions < 5) {
    const CREATESTRUCTW *create = reinterpret_cast<CBT_CREATEWNDW *>(lParam)->lpcs;
    if (!IS_INTRESOURCE(create->lpszName) && create->lpszName != nullptr &&
        wcscmp(create->lpszName, L"File already exists") == 0) {
      ++s_refusedQuestions;
      return 1;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The question could not open: that is no answer, least of all the last
// one (a rename to a name that is taken, which would ask again forever).
TEST_F(ScanFileCommands, AQuestionThatCannotOpenSavesNothing) {
  const std::wstring taken = m_work + L"\\taken";
  std::ofstream(std::string(taken.begin(), taken.end()) + ".DAT") << "kept";
  m_app.RenameChosen = 1;
  m_app.RenameCancelled = m_app.RenameOverwrite = 0;
  lstrcpynW(m_app.ScanMessageBuffers[5], (taken + L".DAT").c_str(), 260);
  s_refusedQuestions = 0;
  HHOOK hook = SetWindowsHookExW(WH_CBT, RefuseNameClashQuestion, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  {
    // Should the loop go round, the question opens at the sixth turn and is cancelled.
    TimerScript script({ClickInDialog(L"File already exists", IDCANCEL)}, [] {});
    m_frame->SaveScanFileAs(taken);
  }
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(s_refusedQuestions, 1);
  EXPECT_EQ(m_app.RenameCancelled, 1);
  EXPECT_EQ(m_app.ScanInfoSaved, 0);
  EXPECT_EQ(m_frame->SaveCancelled, 1);
  EXPECT_EQ(ReadBytes(taken + L".DAT"), (std::vector<uint8_t>{'k', 'e', 'p', 't'}));
}

// A scan file cut short in its entries shows what could be read, says so
// in a message box with how much that was, and the log marks it incomplete.
TEST_F(ScanFileCommands, ADamagedScanFileSaysHowMuchWasRead) {
  const std::wstring scanFile = m_work + L"\\whole";
  m_frame->SaveScanFileAs(scanFile);
  std::vector<uint8_t> bytes = ReadBytes(scanFile + L".DAT");
  ASSERT_GT(bytes.size(), 2000u);
  bytes.resize(bytes.size() - 1000);
  const std::wstring cut = m_work + L"\\cut.DAT";
  std::ofstream(std::string(cut.begin(), cut.end()), std::ios::binary)
      .write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  std::wstring message;
  {
    TimerScript script({ReadMessageBox(message)}, [] {});
    m_frame->OpenScanFile(cut);
    EXPECT_TRUE(script.Finished()) << "the damage's message expected";
  }
  EXPECT_NE(message.find(cut + L" is damaged. Only its first "), std::wstring::npos) << ToUtf8(U16(message));
  EXPECT_NE(message.find(L" of " + std::to_wstring(bytes.size()) + L" bytes) could be read"),
            std::wstring::npos)
      << ToUtf8(U16(message));
  EXPECT_GT(Entries().Size(), 1u) << "what could be read is shown";
  EXPECT_EQ(m_app.ScanRunning, 0);
  const std::vector<LogRow> log = m_app.LogView->GetLogRows();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back()[1], L"Process incomplete - damaged scan file");
}

// Opening a scan file over results not yet saved asks first: Cancel keeps
// them, No lets the file replace them.
TEST_F(ScanFileCommands, OpeningAsksToSaveResultsNotYetSaved) {
  const std::wstring scanFile = m_work + L"\\earlier";
  m_frame->SaveScanFileAs(scanFile);
  m_app.ScanInfoSaved = 0;
  ScanSession *before = m_app.Session.get();
  {
    TimerScript script({AnswerMessageBox(IDCANCEL)}, [] {});
    m_frame->OpenScanFile(scanFile + L".DAT");
    EXPECT_TRUE(script.Finished()) << "\"Save logical drive's scan information?\" expected";
  }
  EXPECT_EQ(m_app.Session.get(), before);
  EXPECT_EQ(m_app.ScanInfoSaved, 0);
  {
    TimerScript script({AnswerMessageBox(IDNO)}, [] {});
    m_frame->OpenScanFile(scanFile + L".DAT");
    EXPECT_TRUE(script.Finished());
  }
  // The file's results came in (the new session may take the old one's
  // address, so the pointer tells nothing here).
  EXPECT_EQ(m_app.ScanInfoSaved, 1);
  EXPECT_EQ(m_app.ResultsPresent, 1);
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

// Rename with the name emptied (or only blanks) is refused with a message,
// and the question stays open for another answer.
TEST_F(QuestionDialogs, ScanRenameRefusesAnEmptyName) {
  for (const wchar_t *typed : {L"", L"   "}) {
    m_app.RenameChosen = m_app.RenameCancelled = m_app.RenameOverwrite = 0;
    CSanRename dialog(L"Q:\\nowhere\\mine.DAT", 130, 2, m_frame);
    bool stillOpen = false;
    TimerScript script({[typed] {
                          // Posted: the refusal's message box runs a loop of its own.
                          HWND box = FindDialog(L"File already exists");
                          if (box == nullptr) return false;
                          ::SetDlgItemTextW(box, IDC_RENAME_NEW_NAME, typed);
                          ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                                         reinterpret_cast<LPARAM>(::GetDlgItem(box, IDOK)));
                          return true;
                        },
                        AnswerMessageBox(IDOK),
                        [&] {
                          if (FindMessageBox() != nullptr) return false;
                          stillOpen = FindDialog(L"File already exists") != nullptr;
                          return true;
                        },
                        TypeAndClick(L"File already exists", 0, nullptr, IDCANCEL)},
                       [&dialog] { dialog.EndDialog(IDCANCEL); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(script.Finished()) << "step " << script.CurrentStep();
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(m_app.RenameChosen, 0);
    EXPECT_EQ(m_app.RenameCancelled, 1);
  }
}

} // namespace
