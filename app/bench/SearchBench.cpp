// Times the program's own fast search of a drive: the main frame, shown,
// runs the search from its start message the way the wizard's Finish starts
// it, reading the drive through the system's device path, with the message
// pump, the progress bar, the status panes and the folder tree all live.
// Prints the time from the start message to the end of the search and what
// the tree holds. Run it under Wine with an image mapped as the drive (see
// search-bench.sh, which sets it beside the engine alone on the same image).
//   SearchBench LETTER [FILESYSTEM] [--hidden]
// FILESYSTEM: the name the drive list would give (default NTFS).
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "BenchFrame.h"
#include "DriveRecord.h"
#include "LeftView.h"
#include "MainFrm.h"
#include "QuendalVarnoth.h"
#include "QuendalVarnothDoc.h"
#include "SearchStart.h"
#include "SectorIo.h"
#include "resource.h"

namespace {

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
    DispatchMessageW(&message);
  }
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 2 || std::strlen(argv[1]) != 1) {
    std::printf("usage: SearchBench LETTER [FILESYSTEM] [--hidden]\n");
    return 2;
  }
  const char letter = static_cast<char>(toupper(static_cast<unsigned char>(argv[1][0])));
  std::string fileSystem = "NTFS";
  bool hidden = false;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--hidden") == 0)
      hidden = true;
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
  app.SearchKind[0] = 1;
  app.SearchKind[1] = app.SearchKind[2] = 0;
  if (!StartNewSearch(app, *frame, 0)) {
    std::printf("the search could not start\n");
    return 1;
  }
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  frame->PostMessage(UWM_START_FAST_SCAN);
  PumpUntilDone(app, *frame);
  QueryPerformanceCounter(&end);
  const size_t entries = frame->GetLeftPane()->Entries().Size();
  std::printf("app search: %.3f s, %zu entries in the tree (with the root)\n", Seconds(start, end), entries);
  std::fflush(stdout);
  app.ResultsPresent = 0; // nothing to offer to save
  frame->DestroyWindow();
  app.m_pMainWnd = nullptr;
  return 0;
}
