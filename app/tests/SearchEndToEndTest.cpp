// A whole fast search as a user runs it: Run Wizard, the fast search, the
// drive's box, Finish; the search reads a FAT or NTFS image through the real
// logical-drive device path (the test's fixture maps each image as a drive
// of the Wine prefix) and the tree and list show what was deleted on it.
#include "WizardTestFrame.h"

#include "DriveList.h"
#include "QuendalVarnothView.h"
#include "AppEngineServices.h"
#include "SignatureStore.h"

#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace {

struct DriveCase {
  const char *image; // image and manifest name in the fixture's folder
  char letter;       // the drive the fixture maps it as
  const char16_t *fileSystem;
};

struct Found {
  std::set<std::wstring> folders;
  // Each file's path with the size and type its list row shows.
  std::map<std::wstring, std::pair<std::wstring, std::wstring>> files;
};

std::wstring Widen(const std::string &text) {
  return std::wstring(text.begin(), text.end());
}

// "folder <TAB> path" and "file <TAB> path <TAB> size" lines; false when the
// fixture could not make the image.
bool ReadManifest(const std::string &path, Found &expected) {
  std::ifstream in(path);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string kind, name, size;
    std::getline(fields, kind, '\t');
    std::getline(fields, name, '\t');
    std::getline(fields, size, '\t');
    if (kind == "folder") expected.folders.insert(Widen(name));
    if (kind == "file") expected.files[Widen(name)] = {Widen(size), L"Deleted File"};
  }
  return true;
}

uint64_t FileSize(const std::string &path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  return in ? static_cast<uint64_t>(in.tellg()) : 0;
}

class SearchEndToEnd : public WizardTestFrame, public ::testing::WithParamInterface<DriveCase> {
protected:
  // Every folder of the tree by its path, and every file row of each
  // folder's list (the list also shows the folder's subfolders).
  Found ReadTreeAndList() {
    Found found;
    CLeftView *left = m_frame->GetLeftPane();
    CQuendalVarnothView *right = m_frame->GetRightPane();
    if (left == nullptr || right == nullptr || left->RootItem() == nullptr) return found;
    CTreeCtrl &tree = left->GetTreeCtrl();
    std::vector<std::pair<HTREEITEM, std::wstring>> pending = {{left->RootItem(), L""}};
    while (!pending.empty()) {
      auto [item, path] = pending.back();
      pending.pop_back();
      tree.Expand(item, TVE_EXPAND);
      std::set<std::wstring> subfolders;
      for (HTREEITEM child = tree.GetChildItem(item); child; child = tree.GetNextSiblingItem(child)) {
        const std::wstring name = tree.GetItemText(child).GetString();
        subfolders.insert(name);
        found.folders.insert(path + name);
        pending.push_back({child, path + name + L"/"});
      }
      tree.SelectItem(item);
      CListCtrl &list = right->GetListCtrl();
      for (int row = 0; row < list.GetItemCount(); ++row) {
        const std::wstring name = list.GetItemText(row, 0).GetString();
        if (subfolders.count(name) == 0)
          found.files[path + name] = {list.GetItemText(row, 2).GetString(),
                                      list.GetItemText(row, 1).GetString()};
      }
    }
    return found;
  }

  // Opens the wizard with the Run Wizard command and lets a user's clicks
  // run it: the fast search, the drive's box, Finish.
  void RunWizardOnDrive(int record) {
    MyPropertySheet *sheet = nullptr;
    TimerScript script({[&] {
                          sheet = dynamic_cast<MyPropertySheet *>(m_app.WizardSheet.get());
                          return sheet != nullptr && sheet->m_hWnd != nullptr &&
                                 sheet->SearchTypePage().m_hWnd != nullptr;
                        },
                        [&] {
                          ClickButton(sheet->SearchTypePage(), IDC_FAST_SEARCH);
                          sheet->PressButton(PSBTN_NEXT); // the message has no answer
                          return true;
                        },
                        [&] {
                          CMyTreeCtrl &tree = sheet->DrivePage().DriveTree();
                          return tree.m_hWnd != nullptr && ClickBox(tree, ItemOfRecord(tree, record));
                        },
                        PressWizardFinish(sheet)},
                       CancelWizard(sheet));
    // As Ctrl+R sends it; it returns when the wizard has closed.
    m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_FILE_RUN_WIZARD, 1), 0);
    EXPECT_TRUE(script.Finished());
    EXPECT_FALSE(script.GaveUp()) << "at step " << script.CurrentStep();
  }
};

TEST_P(SearchEndToEnd, TheTreeAndListShowWhatWasDeleted) {
  const DriveCase &c = GetParam();
  const char *folder = std::getenv("QV_WIZARD_DRIVES");
  if (folder == nullptr) GTEST_SKIP() << "no drives mapped";
  const std::string base = std::string(folder) + "/" + c.image;
  Found expected;
  if (!ReadManifest(base + ".manifest", expected)) GTEST_SKIP() << c.image << " could not be made here";
  const uint64_t size = FileSize(base + ".img");
  ASSERT_GT(size, 0u);

  // Both drives are offered; the one of this case is checked. Wine names no
  // disk for a mapped drive, so both stand directly under "My Computer".
  std::vector<DriveRecord> drives = {LogicalDrive('Q', u"FAT16", 0), LogicalDrive('R', u"NTFS", 0)};
  const int record = c.letter == 'Q' ? 0 : 1;
  drives[record].m_sectors = size / 512;
  drives[record].m_sizeText = FormatSizeText(size);
  GiveDrives(drives);

  RunWizardOnDrive(record);
  ASSERT_NE(m_app.Session, nullptr);
  // The start message: the search runs here. A message box the search shows
  // (an unreadable drive) is a failure, answered so the test goes on.
  const std::wstring boxText = AnswerBoxWhile(Pump);
  EXPECT_EQ(boxText, L"");

  EXPECT_EQ(m_app.ScanRunning, 0);
  EXPECT_EQ(m_app.StopRequested, 1);
  EXPECT_EQ(m_app.ResultsPresent, 1);
  EXPECT_EQ(m_frame->EngineCallDepth, 0);
  ASSERT_TRUE(m_app.SelectedDrive.has_value());
  EXPECT_EQ(m_app.SelectedDrive->m_name, drives[record].m_name);

  const Found found = ReadTreeAndList();
  EXPECT_EQ(found.folders, expected.folders);
  EXPECT_EQ(found.files, expected.files);
  const CString pane = m_frame->GetStatusBar()->GetPaneText(1);
  EXPECT_NE(pane.Find(L"File(s)"), -1) << pane.GetString();
}

// The one signature the advanced search below is given: JPEG's start.
class JpegOnlyStore : public SignatureStore {
public:
  std::vector<HeaderRecord> Load() override {
    HeaderRecord jpeg;
    jpeg.m_softwareName = u"JPEG image";
    jpeg.m_extension = u"JPG";
    jpeg.m_signatureLength = 4;
    const uint8_t start[] = {0xFF, 0xD8, 0xFF, 0xE0};
    std::copy(std::begin(start), std::end(start), jpeg.m_signature);
    jpeg.m_maxSize = 64 << 10;
    jpeg.m_sizeUnit = 1;
    jpeg.m_group = 10;
    return {jpeg};
  }
  bool Rewrite(const std::vector<HeaderRecord> &) override { return true; }
  bool EditRecord(CWnd &, HeaderRecord &) override { return false; }
  std::optional<HeaderRecord> AddRecord(CWnd &, uint8_t) override { return std::nullopt; }
};

// The advanced search of the FAT drive with the JPEG signature checked on
// the signature page finds the JPEG file that lies in free space with no
// directory entry: in the raw data folder, in its type's folder, named by
// its cluster.
TEST_F(SearchEndToEnd, AdvancedSearchFindsAFileInFreeSpaceByTheCheckedSignature) {
  const char *folder = std::getenv("QV_WIZARD_DRIVES");
  if (folder == nullptr) GTEST_SKIP() << "no drives mapped";
  const std::string base = std::string(folder) + "/fat";
  std::ifstream manifest(base + ".manifest");
  std::string line, cluster;
  while (std::getline(manifest, line))
    if (line.rfind("signature\tJPG\t", 0) == 0) cluster = line.substr(14, line.find('\t', 14) - 14);
  if (cluster.empty()) GTEST_SKIP() << "the FAT image could not be made here";
  const uint64_t size = FileSize(base + ".img");
  std::vector<DriveRecord> drives = {LogicalDrive('Q', u"FAT16", 0)};
  drives[0].m_sectors = size / 512;
  drives[0].m_sizeText = FormatSizeText(size);
  GiveDrives(drives);

  MyPropertySheet *sheet = nullptr;
  TimerScript script({[&] {
                        sheet = dynamic_cast<MyPropertySheet *>(m_app.WizardSheet.get());
                        if (sheet == nullptr || sheet->m_hWnd == nullptr ||
                            sheet->SearchTypePage().m_hWnd == nullptr)
                          return false;
                        sheet->HeadersPage().UseStore(std::make_unique<JpegOnlyStore>());
                        ClickButton(sheet->SearchTypePage(), IDC_ADVANCED_SEARCH);
                        sheet->PressButton(PSBTN_NEXT);
                        return true;
                      },
                      [&] {
                        CMyTreeCtrl &tree = sheet->DrivePage().DriveTree();
                        return tree.m_hWnd != nullptr && ClickBox(tree, ItemOfRecord(tree, 0));
                      },
                      [&] {
                        sheet->PressButton(PSBTN_NEXT);
                        return true;
                      },
                      [&] {
                        if (sheet->HeadersPage().m_hWnd == nullptr) return false;
                        EXPECT_EQ(sheet->HeadersPage().Choice().SelectedCount(), 1u);
                        sheet->PressButton(PSBTN_FINISH);
                        return true;
                      }},
                     CancelWizard(sheet));
  m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_FILE_RUN_WIZARD, 1), 0);
  ASSERT_TRUE(script.Finished()) << "at step " << script.CurrentStep();
  ASSERT_EQ(m_frame->EngineServices().SelectedHeaders().size(), 1u);
  const std::wstring boxText = AnswerBoxWhile(Pump);
  EXPECT_EQ(boxText, L"");
  EXPECT_EQ(m_app.ScanRunning, 0);
  const Found found = ReadTreeAndList();
  EXPECT_EQ(found.folders.count(L"Raw Data Folder/JPG"), 1u);
  EXPECT_EQ(found.files.count(L"Raw Data Folder/JPG/" + Widen(cluster) + L".JPG"), 1u);
  // Nothing else in free space starts like a JPEG file.
  size_t raw = 0;
  for (const auto &file : found.files) raw += file.first.rfind(L"Raw Data Folder/", 0) == 0 ? 1 : 0;
  EXPECT_EQ(raw, 1u);
}

INSTANTIATE_TEST_SUITE_P(Drives, SearchEndToEnd,
                         ::testing::Values(DriveCase{"fat", 'Q', u"FAT16"}, DriveCase{"ntfs", 'R', u"NTFS"}),
                         [](const auto &info) { return std::string(info.param.image); });

} // namespace
