// A fast search of FAT12, FAT16, FAT32 and NTFS images as a user runs it on
// drives the system itself lists: the test's fixture maps each image as a
// drive of the Wine prefix, which Wine then names "NTFS" with the size of the
// host's disk. The drive page must show each with its own file system and
// size, Finish must start the engine of that file system, the search must
// find the deleted files, and Recover All through the window's folder picker
// must write them back byte for byte.
#include "WizardTestFrame.h"

#include "AppText.h"
#include "DriveList.h"
#include "ScanSession.h"

#include <shlobj.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

struct DriveCase {
  const char *image; // image, manifest and originals' name in the fixture's folder
  wchar_t letter;    // the drive the fixture maps it as
  const wchar_t *fileSystem;
  ScanKind kind;
};

struct Manifest {
  uint64_t sectors = 0;
  std::vector<std::pair<std::string, std::string>> files; // path from the root, original's name
};

// "size <TAB> sectors" and "file <TAB> path <TAB> original"; false when the
// fixture could not make the image.
bool ReadManifest(const std::string &path, Manifest &out) {
  std::ifstream in(path);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string kind, first, second;
    std::getline(fields, kind, '\t');
    std::getline(fields, first, '\t');
    std::getline(fields, second, '\t');
    if (kind == "size") out.sectors = std::stoull(first);
    if (kind == "file") out.files.emplace_back(first, second);
  }
  return out.sectors != 0 && !out.files.empty();
}

std::vector<char> ReadBytes(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::wstring Widen(const std::string &text) {
  return std::wstring(text.begin(), text.end());
}

std::string WindowsPath(std::string path) {
  for (char &c : path)
    if (c == '/') c = '\\';
  return path;
}

// The thread's visible folder picker, if one is up.
HWND FindFolderPicker() {
  HWND found = nullptr;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND window, LPARAM result) -> BOOL {
        wchar_t className[16] = {};
        ::GetClassNameW(window, className, 16);
        if (wcscmp(className, L"#32770") != 0 || !::IsWindowVisible(window)) return TRUE;
        if (::FindWindowExW(window, nullptr, L"SysTreeView32", nullptr) == nullptr) return TRUE;
        *reinterpret_cast<HWND *>(result) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

class SystemDrives : public WizardTestFrame, public ::testing::WithParamInterface<DriveCase> {
protected:
  // The drive page's item for a drive letter, found as the user finds it: by its text.
  static HTREEITEM ItemOfLetter(CMyTreeCtrl &tree, wchar_t letter) {
    std::vector<HTREEITEM> pending = {tree.GetRootItem()};
    while (!pending.empty()) {
      HTREEITEM item = pending.back();
      pending.pop_back();
      if (item == nullptr) continue;
      const CString text = tree.GetItemText(item);
      if (tree.HasBox(item) && text.GetLength() >= 2 && text[0] == letter && text[1] == L':') return item;
      for (HTREEITEM child = tree.GetChildItem(item); child != nullptr;
           child = tree.GetNextSiblingItem(child))
        pending.push_back(child);
    }
    return nullptr;
  }

  // Run Wizard, the fast search, the drive's box, Finish; the drive item's
  // text as the page showed it.
  std::wstring RunWizardOnLetter(wchar_t letter) {
    MyPropertySheet *sheet = nullptr;
    std::wstring itemText;
    TimerScript script({[&] {
                          sheet = dynamic_cast<MyPropertySheet *>(m_app.WizardSheet.get());
                          return sheet != nullptr && sheet->m_hWnd != nullptr &&
                                 sheet->SearchTypePage().m_hWnd != nullptr;
                        },
                        [&] {
                          ClickButton(sheet->SearchTypePage(), IDC_FAST_SEARCH);
                          sheet->PressButton(PSBTN_NEXT);
                          return true;
                        },
                        [&] {
                          CMyTreeCtrl &tree = sheet->DrivePage().DriveTree();
                          HTREEITEM item = tree.m_hWnd != nullptr ? ItemOfLetter(tree, letter) : nullptr;
                          if (item == nullptr) return false;
                          itemText = tree.GetItemText(item).GetString();
                          HoldForScreenshot("drive-page");
                          return ClickBox(tree, item);
                        },
                        PressWizardFinish(sheet)},
                       CancelWizard(sheet));
    m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_FILE_RUN_WIZARD, 1), 0);
    EXPECT_FALSE(script.GaveUp()) << "no drive " << static_cast<char>(letter) << ": at step "
                                  << script.CurrentStep();
    return itemText;
  }

  // Runs the posted search; a message box it shows (an unreadable or
  // invalid drive) is answered and its text returned.
  std::wstring RunSearch() { return AnswerBoxWhile(Pump); }

  // Tools > Recover All, the folder picker pointed at the folder and OK once
  // its tree shows the folder chosen (the picker fills its tree as it goes).
  void RecoverAllInto(const std::wstring &folder) {
    const std::wstring leaf = folder.substr(folder.find_last_of(L'\\') + 1);
    int attempts = 0;
    int nextRequest = 0;
    TimerScript script(
        {[&] {
          HWND picker = FindFolderPicker();
          if (picker == nullptr) return false;
          // Asked again only now and then, each time waiting twice as
          // long: a request starts the picker's walk down its tree afresh,
          // and the first walk in a new process (the shell reading the
          // host's root) can take many seconds on a busy machine.
          if (attempts++ == nextRequest) {
            nextRequest = nextRequest * 2 + 50;
            ::SendMessageW(picker, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
          }
          HWND tree = ::FindWindowExW(picker, nullptr, L"SysTreeView32", nullptr);
          wchar_t text[MAX_PATH] = {};
          TVITEMW item = {};
          item.mask = TVIF_TEXT;
          item.hItem = TreeView_GetSelection(tree);
          item.pszText = text;
          item.cchTextMax = MAX_PATH;
          if (item.hItem == nullptr || !TreeView_GetItem(tree, &item) || leaf != text) return false;
          ::PostMessageW(picker, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
          return true;
        }},
        [] {
          if (HWND picker = FindFolderPicker())
            ::PostMessageW(picker, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        },
        5000);
    m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_TOOLS_RECOVER_ALL, 0), 0);
    EXPECT_FALSE(script.GaveUp()) << "the folder picker never showed the folder";
  }
};

TEST_P(SystemDrives, AreListedByTheirBootSectorSearchedAndRecovered) {
  const DriveCase &c = GetParam();
  const char *folder = std::getenv("QV_SYSTEM_DRIVES");
  if (folder == nullptr) GTEST_SKIP() << "no drives mapped";
  const std::string base = std::string(folder) + "/" + c.image;
  Manifest manifest;
  if (!ReadManifest(base + ".manifest", manifest)) GTEST_SKIP() << c.image << " could not be made here";

  // The system's own drive list, as the program uses it.
  ASSERT_NE(dynamic_cast<SystemDriveSource *>(m_app.DriveFinder.get()), nullptr);
  const std::wstring item = RunWizardOnLetter(c.letter);
  const std::wstring size = Wide(FormatSizeText(manifest.sectors * 512));
  EXPECT_EQ(item, std::wstring(1, c.letter) + L":   ( " + c.fileSystem + L",  " + size + L" )");
  ASSERT_NE(m_app.Session, nullptr);
  EXPECT_EQ(m_app.Session->Kind(), c.kind);
  EXPECT_EQ(m_app.Session->Where().m_sectors, manifest.sectors);
  ASSERT_TRUE(m_app.SelectedDrive.has_value());
  EXPECT_EQ(Wide(m_app.SelectedDrive->m_sizeText), size) << "the size the log shows";

  EXPECT_EQ(RunSearch(), L"");
  EXPECT_EQ(m_app.ScanRunning, 0);
  EXPECT_EQ(m_app.ResultsPresent, 1);
  if (c.kind == ScanKind::FatVolume) HoldForScreenshot("fat-search");

  // In the prefix's own temporary folder, not beside the images: the folder
  // picker lists every folder on its way down, and the host's folders on the
  // way to the build tree can be many (a shared /tmp holds hundreds).
  char temp[MAX_PATH] = {};
  ASSERT_NE(::GetTempPathA(MAX_PATH, temp), 0u);
  const std::string destination = std::string(temp) + "qv-recovered-" + c.image + "-" +
                                  std::to_string(::GetCurrentProcessId()) + "-" +
                                  std::to_string(::GetTickCount());
  ASSERT_TRUE(::CreateDirectoryW(Widen(destination).c_str(), nullptr));
  RecoverAllInto(Widen(destination));
  for (const auto &[path, original] : manifest.files) {
    const std::vector<char> expected = ReadBytes(base + ".orig/" + original);
    ASSERT_FALSE(expected.empty()) << original;
    EXPECT_TRUE(ReadBytes(destination + "\\" + WindowsPath(path)) == expected)
        << path << " not recovered byte for byte";
  }
}

INSTANTIATE_TEST_SUITE_P(Drives, SystemDrives,
                         ::testing::Values(DriveCase{"fat12", L'K', L"FAT12", ScanKind::FatVolume},
                                           DriveCase{"fat16", L'L', L"FAT16", ScanKind::FatVolume},
                                           DriveCase{"fat32", L'M', L"FAT32", ScanKind::FatVolume},
                                           DriveCase{"ntfs", L'N', L"NTFS", ScanKind::NtfsVolume}),
                         [](const auto &info) { return std::string(info.param.image); });

} // namespace
