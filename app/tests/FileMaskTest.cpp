// File Mask and Unmask over a real search of a FAT image: a table of masks
// and the files each keeps, checks ticked before and while masked kept by
// Unmask, Save refused while masked, and the dialog driven as a user does.
#include "WizardTestFrame.h"

#include "AppEngineServices.h"
#include "AppText.h"
#include "FatScanEngine.h"
#include "FatTestImages.h"
#include "FileMaskCriteria.h"
#include "FindCriteria.h"
#include "ScanSession.h"

#include <functional>
#include <map>
#include <set>

namespace {

constexpr uint8_t kDrive = 2;

using Names = std::multiset<std::u16string>;

bool EndsWith(const std::u16string &name, const std::u16string &end) {
  return name.size() >= end.size() && name.compare(name.size() - end.size(), end.size(), end) == 0;
}

std::u16string Lower(std::u16string text) {
  for (char16_t &c : text)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return text;
}

class FileMask : public WizardTestFrame {
protected:
  void SetUp() override {
    if (FatFixtureDir().empty()) GTEST_SKIP() << "QV_FIXTURES not set: the FAT images are not made";
    WizardTestFrame::SetUp();
    if (HasFatalFailure()) return;
    auto layer = std::make_unique<ImageDeviceLayer>();
    ASSERT_TRUE(layer->AttachFile(kDrive, FatFixtureDir() + "/fat16.img"));
    m_app.Devices = std::move(layer);
    ScanSession::Target target;
    target.m_driveCode = kDrive;
    target.m_sectors = m_app.Devices->Device(kDrive)->SizeInBytes() / 512;
    m_app.Session =
        std::make_unique<ScanSession>(m_frame->EngineServices(), *m_app.Devices, ScanKind::FatVolume, target);
    m_app.FatEngine = m_app.Session->Fat();
    m_app.ScanRunning = 1;
    m_app.StopRequested = 0;
    m_app.Session->Fat()->RunFatFastScan();
    ASSERT_EQ(m_app.ResultsPresent, 1);
  }
  EntryNodeList &Entries() { return m_frame->GetLeftPane()->Entries(); }
  // The shown files of the tree's list with their check bytes.
  std::multimap<std::u16string, uint8_t> Files() {
    std::multimap<std::u16string, uint8_t> files;
    for (const TreeEntryNode &node : Entries())
      if (!node.IsFolder() && !node.m_unshown) files.emplace(node.m_name, node.Check());
    return files;
  }
  Names FileNames() {
    Names names;
    for (const auto &file : Files()) names.insert(file.first);
    return names;
  }
  TreeEntryNode &Folder(const std::u16string &name) {
    for (TreeEntryNode &node : Entries())
      if (node.IsFolder() && node.m_name == name) return node;
    ADD_FAILURE() << "no folder";
    return *Entries().Root();
  }
  bool Enabled(UINT id) { return IsCommandEnabled(id, m_frame->CurrentCommandContext()); }
  // The names of the files Recover Selected writes into a new folder.
  Names RecoverSelected(const std::wstring &run) {
    std::wstring folder = std::wstring(QV_OUTPUT_DIR) + L"\\" + run;
    for (wchar_t &c : folder)
      if (c == L'/') c = L'\\';
    CreateDirectoryW(QV_OUTPUT_DIR, nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
    EXPECT_TRUE(m_frame->RecoverInto(folder, TRUE));
    Names names;
    std::vector<std::wstring> pending{folder};
    while (!pending.empty()) {
      const std::wstring here = pending.back();
      pending.pop_back();
      WIN32_FIND_DATAW found;
      HANDLE search = FindFirstFileW((here + L"\\*").c_str(), &found);
      if (search == INVALID_HANDLE_VALUE) continue;
      do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          pending.push_back(here + L"\\" + name);
        else
          names.insert(U16(name));
        DeleteFileW((here + L"\\" + name).c_str());
      } while (FindNextFileW(search, &found));
      FindClose(search);
    }
    return names;
  }
  Names Ticked() {
    Names names;
    for (const auto &file : Files())
      if (file.second == kChecked) names.insert(file.first);
    return names;
  }
};

int64_t Today() {
  SYSTEMTIME now = {};
  GetSystemTime(&now);
  return DayNumber(now.wYear, now.wMonth, now.wDay);
}

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
  TimerScript script({[&told] {
                       HWND box = FindMessageBox();
                       if (box == nullptr) return false;
                       wchar_t text[512] = {};
                       ::GetDlgItemTextW(box, 0xFFFF, text, 512);
                       told = text;
                       ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                       return true;
                     }},
                     [] {});
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
                      [&told] {
                        HWND box = FindMessageBox();
                        if (box == nullptr) return false;
                        wchar_t text[512] = {};
                        ::GetDlgItemTextW(box, 0xFFFF, text, 512);
                        told = text;
                        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                        return true;
                      },
                      [] {
                        HWND dialog = FindDialog(L"File Mask");
                        if (dialog == nullptr) return false;
                        ::CheckDlgButton(dialog, IDC_MASK_DELETED, BST_CHECKED);
                        ::SetDlgItemTextW(dialog, IDC_MASK_TYPES, L"*.DAT ; *.doc");
                        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_MASK_SET, BN_CLICKED), 0);
                        return true;
                      }},
                     [] {
                       if (HWND dialog = FindDialog(L"File Mask")) ::EndDialog(dialog, IDCANCEL);
                     });
  m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_TOOLS_FILE_MASK, 0), 0);
  ASSERT_FALSE(script.GaveUp()) << script.CurrentStep();
  EXPECT_EQ(told, LoadWideText(IDS_NEED_DELETED_OR_MISSING));
  EXPECT_EQ(m_app.MaskApplied, TRUE);
  EXPECT_EQ(FileNames(), Names{u"X.dat"});
}

} // namespace
