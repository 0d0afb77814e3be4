// Stop during a running search, as a user gives it. The search starts the
// way the wizard's Finish starts it (the session, then the start message
// through the frame's handler) over an image; in the named phase the Stop
// command comes through the message pump. There the menu and the tool bar
// offer Stop alike and closing is refused; "Yes" ends the search in that
// phase with results by what it had found, "No" lets it run to its end.
#include "WizardTestFrame.h"

#include "FatTestImages.h"
#include "ImageDevices.h"
#include "LeftView.h"
#include "QuendalVarnothView.h"
#include "SearchStart.h"
#include "SignatureTestSpace.h"
#include "SimpleListView.h"

#include <commctrl.h>

#include <fstream>
#include <functional>

namespace {

constexpr uint8_t kVolumeDrive = 'Q' - 'A';
constexpr uint8_t kDisk = 0x80;

// An image whose first read in the named phase calls the action once.
class PhaseTriggerDevice : public SectorDevice {
public:
  PhaseTriggerDevice(std::unique_ptr<SectorDevice> image, std::function<bool()> inPhase,
                     std::function<void()> action)
      : m_image(std::move(image)), m_inPhase(std::move(inPhase)), m_action(std::move(action)) {}
  uint32_t ReadAt(uint64_t byteOffset, void *buffer, uint32_t byteCount) override {
    if (!m_fired && m_inPhase()) {
      m_fired = true;
      m_action();
    }
    return m_image->ReadAt(byteOffset, buffer, byteCount);
  }
  uint32_t WriteAt(uint64_t, const void *, uint32_t) override { return 0; }
  uint64_t SizeInBytes() const override { return m_image->SizeInBytes(); }
  bool Fired() const { return m_fired; }

private:
  std::unique_ptr<SectorDevice> m_image;
  std::function<bool()> m_inPhase;
  std::function<void()> m_action;
  bool m_fired = false;
};

enum class Kind { Fast, Advanced, Disk };

struct StopCase {
  const char *m_label;
  const char *m_image; // under the fixture folder
  Kind m_kind;
  const char16_t *m_fileSystem;
  UINT m_phase; // the phase's activity text
  bool m_yes;   // the answer to "Stop current process ?"
  BYTE m_resultsAfter;
  bool m_tryClose; // a close comes first (each box costs the test seconds under Wine)
};

std::wstring Text(UINT id) {
  CString text;
  text.LoadString(id);
  return text.GetString();
}

// The text of the thread's product message box, or "" when none is up.
std::wstring MessageBoxText() {
  HWND box = FindMessageBox();
  return box == nullptr ? L"" : MessageBoxTextOf(box);
}

class SearchStop : public WizardTestFrame, public ::testing::WithParamInterface<StopCase> {
protected:
  void SetUp() override {
    if (FatFixtureDir().empty()) GTEST_SKIP() << "QV_FIXTURES not set: the images are not made";
    WizardTestFrame::SetUp();
  }

  // The newest log row is the start of the phase.
  bool InPhase(UINT phase) {
    const int rows = m_app.LogView->GetLogRowCount();
    return rows > 0 && m_app.LogView->GetLogItemText(rows - 1, 0).Find(Text(phase).c_str()) == 0;
  }

  // While the search runs in the phase: a close, refused, and then the Stop
  // command as the menu sends it. The pause lets the engine's next look at
  // its clock find its pump due.
  void CloseThenStop(bool tryClose) {
    if (tryClose) m_frame->SendMessage(WM_CLOSE);
    m_frame->PostMessage(WM_COMMAND, MAKEWPARAM(ID_TOOLS_STOP_PROCESS, 0), 0);
    ::Sleep(2 * WorkPacer::kDefaultIntervalMs);
  }

  bool ToolBarOffersStop() { return ToolBarOffers(m_frame, ID_TOOLS_STOP_PROCESS); }
};

TEST_P(SearchStop, StopIsOfferedAndHonouredInThePhase) {
  const StopCase &c = GetParam();
  const std::string image = std::string(std::getenv("QV_FIXTURES")) + "/" + c.m_image;
  std::unique_ptr<ImageFileDevice> file = ImageFileDevice::Open(image);
  if (file == nullptr) GTEST_SKIP() << image << " was not made here";
  const uint64_t sectors = file->SizeInBytes() / 512;

  DriveRecord drive = c.m_kind == Kind::Disk ? PhysicalDisk(1) : LogicalDrive('Q', c.m_fileSystem, 0);
  drive.m_sectors = sectors;
  auto device = std::make_unique<PhaseTriggerDevice>(
      std::move(file), [this, &c] { return InPhase(c.m_phase); },
      [this, &c] { CloseThenStop(c.m_tryClose); });
  PhaseTriggerDevice &trigger = *device;
  auto layer = std::make_unique<ImageDeviceLayer>();
  layer->Attach(c.m_kind == Kind::Disk ? kDisk : kVolumeDrive, std::move(device));
  m_app.Devices = std::move(layer);
  m_app.DriveList = {drive};
  m_app.SearchKind[0] = c.m_kind == Kind::Fast;
  m_app.SearchKind[1] = c.m_kind == Kind::Advanced;
  m_app.SearchKind[2] = c.m_kind == Kind::Disk;
  // A signature the image surely holds: the jump at the start of its boot
  // sector (mkfs.fat's for FAT12/16), so a disk scan that runs to its end finds it.
  std::vector<HeaderRecord> headers;
  if (c.m_kind != Kind::Fast) headers = {MakeHeader(u"BIN", {0xEB, 0x3C, 0x90}, 0)};
  ASSERT_TRUE(StartNewSearch(m_app, *m_frame, 0, headers));

  std::wstring closeText;
  bool menuOffersStop = false, toolBarOffersStop = false;
  {
    std::vector<TimerScript::Step> steps;
    if (c.m_tryClose)
      steps.push_back([&] {
        closeText = MessageBoxText();
        return !closeText.empty() && AnswerMessageBox(IDOK)();
      });
    steps.push_back([&] {
      if (MessageBoxText() != Text(IDS_STOP_QUESTION)) return false;
      menuOffersStop = AfxIsCommandEnabled(m_frame, ID_TOOLS_STOP_PROCESS) != FALSE;
      toolBarOffersStop = ToolBarOffersStop();
      return AnswerMessageBox(c.m_yes ? IDYES : IDNO)();
    });
    TimerScript script(std::move(steps), [] {
      if (HWND box = FindMessageBox()) ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    m_frame->PostMessage(c.m_kind == Kind::Fast ? UWM_START_FAST_SCAN : UWM_START_ADVANCED_SCAN);
    Pump();
    EXPECT_TRUE(script.Finished()) << "at step " << script.CurrentStep();
  }
  ASSERT_TRUE(trigger.Fired()) << "the phase never read";

  if (c.m_tryClose) {
    EXPECT_EQ(closeText, Text(IDS_CANNOT_EXIT));
    EXPECT_NE(m_frame->m_hWnd, nullptr);
  }
  EXPECT_TRUE(menuOffersStop);
  EXPECT_TRUE(toolBarOffersStop);

  // The search has ended either way, and the bars know it.
  EXPECT_EQ(m_app.ScanRunning, 0);
  EXPECT_EQ(m_frame->EngineCallDepth, 0);
  EXPECT_FALSE(ToolBarOffersStop());
  // What was found is shown, and the offer to save follows what is shown:
  // a search stopped before it found anything shows the root alone.
  EXPECT_EQ(m_app.ResultsPresent, c.m_resultsAfter);
  CLeftView *tree = m_frame->GetLeftPane();
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(tree->Entries().Size() > 1, c.m_resultsAfter == 1) << tree->Entries().Size();
  // The list shows the root's entries at the end, as after every search.
  if (c.m_resultsAfter == 1) {
    ASSERT_NE(m_frame->GetRightPane(), nullptr);
    EXPECT_GT(m_frame->GetRightPane()->GetListCtrl().GetItemCount(), 0);
  }
  if (std::string(c.m_label) == "NtfsFreeClusters") HoldForScreenshot("ntfs-stopped");
  const int rows = m_app.LogView->GetLogRowCount();
  ASSERT_GT(rows, 0);
  const CString last = m_app.LogView->GetLogItemText(rows - 1, 1);
  if (c.m_yes)
    EXPECT_EQ(last, CString(Text(IDS_PROCESS_ABORTED).c_str()));
  else
    EXPECT_NE(last, CString(Text(IDS_PROCESS_ABORTED).c_str()));
}

INSTANTIATE_TEST_SUITE_P(
    Phases, SearchStop,
    ::testing::Values(
        StopCase{"NtfsRecordWalk", "ntfs-4k.img", Kind::Fast, u"NTFS", IDS_CALCULATING_PARAMETERS, true, 0,
                 true},
        StopCase{"NtfsRecordWalkNo", "ntfs-4k.img", Kind::Fast, u"NTFS", IDS_CALCULATING_PARAMETERS, false, 1,
                 false},
        StopCase{"NtfsBitmap", "ntfs-4k.img", Kind::Advanced, u"NTFS", IDS_SEARCHING_CRITICAL_INFO, true, 0,
                 false},
        StopCase{"NtfsFreeClusters", "ntfs-4k.img", Kind::Advanced, u"NTFS", IDS_SEARCHING_HEADERS, true, 1,
                 false},
        StopCase{"FatLoad", "fat/fat16.img", Kind::Fast, u"FAT16", IDS_LOADING_FAT, true, 0, true},
        StopCase{"FatTreeWalk", "fat/fat16.img", Kind::Fast, u"FAT16", IDS_CREATING_TREE, true, 0, false},
        StopCase{"FatSignatures", "fat/fat16.img", Kind::Advanced, u"FAT16", IDS_SEARCHING_HEADERS, true, 1,
                 false},
        StopCase{"DiskScan", "fat/fat16.img", Kind::Disk, u"", IDS_SEARCHING_HEADERS, true, 0, false},
        StopCase{"DiskScanNo", "fat/fat16.img", Kind::Disk, u"", IDS_SEARCHING_HEADERS, false, 1, false}),
    [](const auto &info) { return std::string(info.param.m_label); });

} // namespace
