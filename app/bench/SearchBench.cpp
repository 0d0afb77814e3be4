// Times the program's own search of a drive: the main frame, shown,
// runs the search from its start message the way the wizard's Finish starts
// it, reading the drive through the system's device path, with the message
// pump, the progress bar, the status panes and the folder tree all live.
// Prints the time from the start message to the end of the search and what
// the tree holds, the phases that time is made of, and then the time of the
// engine alone in the same process on the same drive (its finds kept in a
// plain list, no window involved). Run it under Wine with an image mapped as
// the drive (see search-bench.sh, which sets it beside the engine alone
// built natively, on the same image).
//   SearchBench LETTER [FILESYSTEM] [--advanced | --disk] [--hidden] [--hold SECONDS]
// FILESYSTEM: the name the drive list would give (default NTFS); --advanced
// runs the advanced search and --disk the physical-disk scan of the drive
// read as a whole disk, both with every shipped signature chosen (the fast
// search chooses none); --hold keeps the window with its results up that
// long after the app's search.
#include <windows.h>
#include <x86intrin.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../../engine/bench/BenchServices.h"
#include "AppEngineServices.h"
#include "BenchFrame.h"
#include "DriveRecord.h"
#include "FatScanEngine.h"
#include "LeftView.h"
#include "MainFrm.h"
#include "NtfsAdvancedEngine.h"
#include "QuendalVarnoth.h"
#include "QuendalVarnothDoc.h"
#include "ScanSession.h"
#include "SearchStart.h"
#include "AppSettings.h"
#include "PhysicalDiskScan.h"
#include "SectorIo.h"
#include "resource.h"

namespace {

void Mark(const wchar_t *name) {
  CloseHandle(OpenEventW(SYNCHRONIZE, FALSE, name));
}
LARGE_INTEGER Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

DriveRecord Drive(char letter, const std::string &fileSystem, uint64_t sectors) {
  DriveRecord drive;
  drive.m_name = std::u16string(1, static_cast<char16_t>(letter)) + u":\\";
  drive.m_typeText = u"FIXED";
  drive.m_sizeText = u"";
  drive.m_fileSystem = std::u16string(fileSystem.begin(), fileSystem.end());
  drive.m_driveCode = static_cast<uint8_t>(letter - 'A');
  drive.m_biosDiskCode = 0; // read by letter, as a mapped drive is
  drive.m_sectors = sectors;
  return drive;
}

// The frame's own services, every call passed on unchanged, with the moments
// the search goes from one phase to the next noted on the way.
class PhaseClock : public EngineServices {
public:
  explicit PhaseClock(EngineServices &inner) : m_inner(inner) { TickSeconds(); }

  // The MFT walk: from its progress bar to the bar's removal.
  LARGE_INTEGER m_walkStart{}, m_walkEnd{};
  // Every progress bar, from its start to its removal, in order: the
  // advanced search has the cluster bitmap's, the walk's and the tree's.
  std::vector<LARGE_INTEGER> m_barStarts, m_barEnds;
  // The signature pass: from its first status text to the end of the search.
  LARGE_INTEGER m_passStart{};
  // The tree: from its first bar to the end of the search.
  LARGE_INTEGER m_treeStart{}, m_treeEnd{};
  // The tree's reset to its root (the list filled with the root's entries).
  LARGE_INTEGER m_resetStart{}, m_resetEnd{};
  unsigned m_pumps = 0;
  // Where the window's time goes: calls and seconds spent in each kind.
  struct Spent {
    unsigned m_calls = 0;
    uint64_t m_ticks = 0;
    double Seconds() const { return static_cast<double>(m_ticks) * TickSeconds(); }
  };
  Spent m_pumping, m_statusText, m_treeAdds, m_counters, m_log, m_bars;

  // Runs the call, adding its count and time to spent. The window's calls
  // are counted in the processor's own ticks: under Wine a performance
  // counter read costs tens of nanoseconds, and two around each of the
  // search's hundred thousand tree adds and counters would add milliseconds
  // to the very figures they measure.
  template <typename Call> auto Timed(Spent &spent, Call call) {
    const uint64_t from = __rdtsc();
    struct Note {
      Spent &m_spent;
      uint64_t m_from;
      ~Note() {
        ++m_spent.m_calls;
        m_spent.m_ticks += __rdtsc() - m_from;
      }
    } note{spent, from};
    return call();
  }

  // The length of a tick, measured against the performance counter over
  // the run so far.
  static double TickSeconds() {
    static const uint64_t firstTick = __rdtsc();
    static const LARGE_INTEGER firstCount = Now();
    const uint64_t ticks = __rdtsc() - firstTick;
    const double seconds = ::Seconds(firstCount, Now());
    return ticks == 0 ? 0 : seconds / static_cast<double>(ticks);
  }

  std::vector<uint64_t> m_pumpTicks;
  bool PumpMessages() override {
    ++m_pumps;
    const uint64_t before = m_pumping.m_ticks;
    const bool on = Timed(m_pumping, [this] { return m_inner.PumpMessages(); });
    if (getenv("QV_BENCH_PUMPS")) m_pumpTicks.push_back(m_pumping.m_ticks - before);
    return on;
  }
  bool StopRequested() const override { return m_inner.StopRequested(); }
  void AddLogEntry(const std::optional<std::u16string> &activity, const std::u16string &text,
                   const std::optional<std::u16string> &time, LogStatus status) override {
    Timed(m_log, [&] { m_inner.AddLogEntry(activity, text, time, status); });
  }
  std::u16string CurrentTimeText() override { return m_inner.CurrentTimeText(); }
  void CreateScanProgressBar(uint32_t range) override {
    if (m_treeStart.QuadPart == 0) m_treeStart = Now();
    m_barStarts.push_back(Now());
    Mark(L"QVMARK-bar");
    Timed(m_bars, [&] { m_inner.CreateScanProgressBar(range); });
  }
  void ShowReadingProgress(uint32_t range, const std::optional<std::u16string> &text) override {
    if (m_walkStart.QuadPart == 0) m_walkStart = Now();
    m_barStarts.push_back(Now());
    Mark(L"QVMARK-bar");
    Timed(m_bars, [&] { m_inner.ShowReadingProgress(range, text); });
  }
  void StepProgress() override { m_inner.StepProgress(); }
  void StepProgressBy(uint32_t steps) override { m_inner.StepProgressBy(steps); }
  void DeleteProgressBar() override {
    Timed(m_bars, [&] { m_inner.DeleteProgressBar(); });
    m_barEnds.push_back(Now());
    if (m_walkEnd.QuadPart == 0) {
      m_walkEnd = Now();
      Mark(L"QVMARK-walkend");
    } else
      Mark(L"QVMARK-barend");
  }
  void CreateTreeRoot() override { m_inner.CreateTreeRoot(); }
  void AddTreeEntry(const EntryRecord &entry, const std::u16string &name) override {
    Timed(m_treeAdds, [&] { m_inner.AddTreeEntry(entry, name); });
  }
  void AddTreeEntryOwned(const EntryRecord &entry, std::u16string &&name) override {
    Timed(m_treeAdds, [&] { m_inner.AddTreeEntryOwned(entry, std::move(name)); });
  }
  void ResetTreeToRoot() override {
    m_resetStart = Now();
    Mark(L"QVMARK-resetstart");
    m_inner.ResetTreeToRoot();
    m_resetEnd = Now();
    Mark(L"QVMARK-resetend");
  }
  void UpdateTotalsPane(uint32_t folders, uint32_t files, uint64_t bytes) override {
    Timed(m_counters, [&] { m_inner.UpdateTotalsPane(folders, files, bytes); });
  }
  void UpdateFoundProgress(uint32_t mode, uint32_t found, uint32_t secondary) override {
    Timed(m_counters, [&] { m_inner.UpdateFoundProgress(mode, found, secondary); });
  }
  void ShowCurrentItemText(uint32_t mode, const std::u16string &text) override {
    if (mode == 0 && m_passStart.QuadPart == 0) {
      m_passStart = Now();
      Mark(L"QVMARK-passstart");
    }
    Timed(m_statusText, [&] { m_inner.ShowCurrentItemText(mode, text); });
  }
  void OnScanFinished(uint32_t found) override {
    m_treeEnd = Now();
    Mark(L"QVMARK-treeend");
    m_inner.OnScanFinished(found);
  }
  void ResetBusyFlags() override { m_inner.ResetBusyFlags(); }
  void SetScanPhaseBusy(bool busy) override { m_inner.SetScanPhaseBusy(busy); }
  void DoWaitCursor(int code) override { m_inner.DoWaitCursor(code); }
  std::u16string LoadText(uint32_t id) override { return m_inner.LoadText(id); }
  void ShowErrorBox(const std::u16string &text) override { m_inner.ShowErrorBox(text); }
  void SetScanInfoSaved(bool saved) override { m_inner.SetScanInfoSaved(saved); }
  void SetSelectionPresent(bool present) override { m_inner.SetSelectionPresent(present); }
  void SetResultsPresent(bool present) override { m_inner.SetResultsPresent(present); }
  const std::vector<HeaderRecord> &SelectedHeaders() const override { return m_inner.SelectedHeaders(); }

private:
  EngineServices &m_inner;
};

// The session the search start made, made again over the phase clock: the
// same engine on the same drive.
void ReplaceSession(CQuendalVarnothApp &app, EngineServices &services) {
  const ScanSession::Target target = app.Session->Where();
  const ScanKind kind = app.Session->Kind();
  app.FatEngine = nullptr;
  app.NtfsEngine = nullptr;
  app.Session.reset();
  app.Session = std::make_unique<ScanSession>(services, *app.Devices, kind, target);
  app.FatEngine = app.Session->Fat();
  app.NtfsEngine = app.Session->Ntfs();
}

// The engine alone on the drive of the app's session, through the same
// device path, its finds kept in a plain list as the native benchmark keeps
// them. The app's session goes first, as a new search's start does.
enum class BenchSearch { Fast, Advanced, Disk };

void TimeEngineAlone(CQuendalVarnothApp &app, BenchSearch search, const std::vector<HeaderRecord> &headers) {
  const ScanSession::Target target = app.Session->Where();
  const ScanKind kind = app.Session->Kind();
  app.FatEngine = nullptr;
  app.NtfsEngine = nullptr;
  app.Session.reset();
  BenchServices quiet(headers);
  PhaseClock phases(quiet);
  ScanSession alone(phases, *app.Devices, kind, target);
  const LARGE_INTEGER start = Now();
  if (alone.Disk() != nullptr)
    alone.Disk()->RunPhysicalDiskScan();
  else if (alone.Ntfs() != nullptr && search == BenchSearch::Advanced)
    alone.Ntfs()->RunNtfsAdvancedScan();
  else if (alone.Ntfs() != nullptr)
    alone.Ntfs()->RunNtfsFastScan();
  else if (alone.Fat() != nullptr && search == BenchSearch::Advanced)
    alone.Fat()->RunFatAdvancedScan();
  else if (alone.Fat() != nullptr)
    alone.Fat()->RunFatFastScan();
  const LARGE_INTEGER end = Now();
  std::printf("engine under Wine: %.3f s, %zu entries found", Seconds(start, end), quiet.m_found.size());
  if (search == BenchSearch::Fast && phases.m_walkEnd.QuadPart != 0 && phases.m_treeEnd.QuadPart != 0)
    std::printf(" (walk %.3f, tree %.3f s)", Seconds(phases.m_walkStart, phases.m_walkEnd),
                Seconds(phases.m_walkEnd, phases.m_treeEnd));
  if (search == BenchSearch::Advanced && phases.m_barStarts.size() >= 3 && phases.m_barEnds.size() >= 2 &&
      phases.m_passStart.QuadPart != 0 && phases.m_treeEnd.QuadPart != 0)
    std::printf(" (bitmap %.3f, walk %.3f, tree %.3f, signatures %.3f s)",
                Seconds(phases.m_barStarts[0], phases.m_barEnds[0]),
                Seconds(phases.m_barStarts[1], phases.m_barEnds[1]),
                Seconds(phases.m_barStarts[2], phases.m_passStart),
                Seconds(phases.m_passStart, phases.m_treeEnd));
  std::printf("\n");
}

void PumpWaitingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// Runs the message loop until the search has ended and its engine call returned.
void PumpUntilDone(CQuendalVarnothApp &app, CMainFrame &frame) {
  MSG message;
  while (app.ScanRunning != 0 || frame.EngineCallDepth > 0 ||
         PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      WaitMessage();
      continue;
    }
    TranslateMessage(&message);
    const uint64_t from = __rdtsc();
    DispatchMessageW(&message);
    if (getenv("QV_BENCH_DISPATCH") && app.ScanRunning == 0) {
      wchar_t name[64] = L"";
      GetClassNameW(message.hwnd, name, 64);
      std::printf("  dispatch %04x %ls %.2f ms\n", message.message, name,
                  (__rdtsc() - from) * PhaseClock::TickSeconds() * 1000);
    }
  }
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 2 || std::strlen(argv[1]) != 1) {
    std::printf("usage: SearchBench LETTER [FILESYSTEM] [--advanced | --disk] [--hidden] [--hold SECONDS]\n");
    return 2;
  }
  const char letter = static_cast<char>(toupper(static_cast<unsigned char>(argv[1][0])));
  std::string fileSystem = "NTFS";
  bool hidden = false;
  int holdSeconds = 0;
  BenchSearch search = BenchSearch::Fast;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--advanced") == 0)
      search = BenchSearch::Advanced;
    else if (std::strcmp(argv[i], "--disk") == 0)
      search = BenchSearch::Disk;
    else if (std::strcmp(argv[i], "--hidden") == 0)
      hidden = true;
    else if (std::strcmp(argv[i], "--hold") == 0 && i + 1 < argc)
      holdSeconds = std::atoi(argv[++i]);
    else
      fileSystem = argv[i];
  }

  CQuendalVarnothApp app;
  CMainFrame *frame = OpenBenchFrame(app, hidden);
  if (frame == nullptr) return 1;

  const uint8_t code = static_cast<uint8_t>(letter - 'A');
  SectorDevice *device = app.Devices->Device(code);
  if (device == nullptr) {
    std::printf("drive %c: cannot be opened\n", letter);
    return 1;
  }
  app.DriveList = {Drive(letter, fileSystem, device->SizeInBytes() / kSectorSize)};
  // The whole disk is the mapped drive, read by its letter as a disk code
  // below 128 is.
  if (search == BenchSearch::Disk) app.DriveList[0].m_biosDiskCode = code;
  app.SearchKind[0] = search == BenchSearch::Fast ? 1 : 0;
  app.SearchKind[1] = search == BenchSearch::Advanced ? 1 : 0;
  app.SearchKind[2] = search == BenchSearch::Disk ? 1 : 0;
  std::vector<HeaderRecord> headers;
  if (search != BenchSearch::Fast) {
    const std::wstring file = ProgramFolder() + L"\\HeaderFile.cfg";
    char path[MAX_PATH * 3] = {};
    WideCharToMultiByte(CP_ACP, 0, file.c_str(), -1, path, sizeof path, nullptr, nullptr);
    headers = ReadSignatureFile(path);
    if (headers.empty()) return 1;
  }
  if (!StartNewSearch(app, *frame, 0, headers)) {
    std::printf("the search could not start\n");
    return 1;
  }
  PhaseClock phases(frame->EngineServices());
  ReplaceSession(app, phases);
  // The window is up, drawn and idle before the search starts, as it is when
  // the wizard's Finish starts one: its first drawing and the first idle
  // update of its bars are not the search's.
  frame->UpdateWindow();
  PumpWaitingMessages();
  for (LONG idle = 0; app.OnIdle(idle); ++idle) {
  }
  PumpWaitingMessages();
  frame->UpdateWindow();
  Mark(L"QVMARK-start");
  const LARGE_INTEGER start = Now();
  frame->PostMessage(search == BenchSearch::Fast ? UWM_START_FAST_SCAN : UWM_START_ADVANCED_SCAN);
  PumpUntilDone(app, *frame);
  const LARGE_INTEGER end = Now();
  Mark(L"QVMARK-end");
  const size_t entries = frame->GetLeftPane()->Entries().Size();
  std::printf("app search: %.3f s, %zu entries in the tree (with the root)\n", Seconds(start, end), entries);
  if (search == BenchSearch::Fast && phases.m_walkEnd.QuadPart != 0 && phases.m_resetEnd.QuadPart != 0)
    std::printf(
        "  start %.3f, walk %.3f, tree %.3f, end %.3f, reset to root %.3f, drawing %.3f s; %u pumps\n",
        Seconds(start, phases.m_walkStart), Seconds(phases.m_walkStart, phases.m_walkEnd),
        Seconds(phases.m_walkEnd, phases.m_treeEnd), Seconds(phases.m_treeEnd, phases.m_resetStart),
        Seconds(phases.m_resetStart, phases.m_resetEnd), Seconds(phases.m_resetEnd, end), phases.m_pumps);
  // Advanced search: start, cluster bitmap, walk, tree, signature pass, end,
  // reset to root, drawing.
  if (search == BenchSearch::Advanced && phases.m_barStarts.size() >= 3 && phases.m_barEnds.size() >= 2 &&
      phases.m_passStart.QuadPart != 0 && phases.m_resetEnd.QuadPart != 0)
    std::printf("  start %.3f, bitmap %.3f, walk %.3f, tree %.3f, signatures %.3f, end %.3f, reset to root "
                "%.3f, drawing %.3f s; %u pumps\n",
                Seconds(start, phases.m_barStarts[0]), Seconds(phases.m_barStarts[0], phases.m_barEnds[0]),
                Seconds(phases.m_barStarts[1], phases.m_barEnds[1]),
                Seconds(phases.m_barStarts[2], phases.m_passStart),
                Seconds(phases.m_passStart, phases.m_treeEnd), Seconds(phases.m_treeEnd, phases.m_resetStart),
                Seconds(phases.m_resetStart, phases.m_resetEnd), Seconds(phases.m_resetEnd, end),
                phases.m_pumps);
  const auto spent = [](const char *what, const PhaseClock::Spent &s) {
    std::printf(" %s %u (%.3f s)", what, s.m_calls, s.Seconds());
  };
  std::printf("  in the window:");
  spent("pumps", phases.m_pumping);
  spent("status texts", phases.m_statusText);
  spent("tree adds", phases.m_treeAdds);
  spent("counters", phases.m_counters);
  spent("log lines", phases.m_log);
  spent("progress bars", phases.m_bars);
  for (uint64_t t : phases.m_pumpTicks) std::printf(" %.1f", t * PhaseClock::TickSeconds() * 1000);
  std::printf("\n");
  std::fflush(stdout);
  for (const DWORD until = GetTickCount() + static_cast<DWORD>(holdSeconds) * 1000; GetTickCount() < until;) {
    PumpWaitingMessages();
    Sleep(20);
  }
  TimeEngineAlone(app, search, headers);
  std::fflush(stdout);
  app.ResultsPresent = 0; // nothing to offer to save
  frame->DestroyWindow();
  app.m_pMainWnd = nullptr;
  return 0;
}
