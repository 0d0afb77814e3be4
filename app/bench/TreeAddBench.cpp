// Times the folder tree's adding path: 20,000 and 200,000 found entries
// (folders and files, parents before children, names in random order) go
// through the real AddEntryToTree of the tree view in a main frame, the way
// a search or a scan-file load feeds them. Prints the total and the time per
// entry; the time per entry must not grow with the count.
//   TreeAddBench [--count n] [--hidden] [--hold seconds]
// --count times one count only, --hidden leaves the window hidden, --hold
// keeps the filled window up afterwards.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "BenchFrame.h"
#include "LeftView.h"
#include "MainFrm.h"
#include "QuendalVarnoth.h"
#include "QuendalVarnothDoc.h"
#include "QuendalVarnothView.h"
#include "resource.h"

namespace {

struct FoundEntry {
  EntryRecord record;
  std::u16string name;
};

std::u16string RandomName(std::mt19937 &random, const char *suffix) {
  static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::u16string name;
  const int length = 4 + static_cast<int>(random() % 12);
  for (int i = 0; i < length; ++i) name += static_cast<char16_t>(letters[random() % (sizeof(letters) - 1)]);
  for (const char *c = suffix; *c; ++c) name += static_cast<char16_t>(*c);
  return name;
}

// One in five entries is a folder. Most land under a random earlier folder;
// one folder in ten goes into a single wide folder, which is where a
// sorted insertion that walks its siblings would show.
std::vector<FoundEntry> MakeEntries(size_t count) {
  std::mt19937 random(12345);
  std::vector<uint32_t> folders = {0};
  std::vector<FoundEntry> entries;
  entries.reserve(count);
  const uint32_t wideFolder = 2;
  for (size_t i = 0; i < count; ++i) {
    FoundEntry entry;
    const uint32_t id = static_cast<uint32_t>(i) + 2;
    const bool folder = i == 0 || random() % 5 == 0;
    entry.record.m_ownId = id;
    entry.record.m_parentId = i == 0 ? 0 : folders[random() % folders.size()];
    if (folder && i > 0 && random() % 10 == 0) entry.record.m_parentId = wideFolder;
    entry.record.m_attributes = folder ? kEntryAttrFolder : kEntryAttrArchive;
    entry.record.m_size = folder ? 0 : random() % 100000;
    entry.record.m_deleted = random() % 3 == 0 ? 1 : 0;
    entry.record.m_grade = static_cast<RecoveryGrade>(random() % 4);
    // FAT stamps: time then date, for the modified and created columns.
    const uint32_t date = ((20 + random() % 25) << 9) | ((1 + random() % 12) << 5) | (1 + random() % 28);
    const uint32_t time = ((random() % 24) << 11) | ((random() % 60) << 5) | (random() % 30);
    entry.record.m_dateWords[2] = entry.record.m_dateWords[4] = time;
    entry.record.m_dateWords[3] = entry.record.m_dateWords[5] = folder ? 0 : date;
    entry.name = RandomName(random, folder ? "" : ".txt");
    if (folder) folders.push_back(id);
    entries.push_back(std::move(entry));
  }
  return entries;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void PumpWaitingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void Run(CLeftView &tree, CQuendalVarnothApp &app, size_t count) {
  const std::vector<FoundEntry> entries = MakeEntries(count);
  app.StopRequested = 0;
  LARGE_INTEGER start, added, shown;
  tree.CreateRootItem();
  PumpWaitingMessages();
  QueryPerformanceCounter(&start);
  for (size_t i = 0; i < entries.size(); ++i) {
    tree.AddEntryToTree(entries[i].record, entries[i].name);
    // A search lets the window breathe as it goes.
    if (i % 1000 == 0) PumpWaitingMessages();
  }
  QueryPerformanceCounter(&added);
  app.StopRequested = 1;
  tree.ResetTreeToRoot();
  PumpWaitingMessages();
  QueryPerformanceCounter(&shown);
  const double addSeconds = Seconds(start, added);
  std::printf("%7zu entries: added in %.2f s (%.2f us per entry); reset to root %.2f s; %zu nodes\n", count,
              addSeconds, addSeconds * 1e6 / static_cast<double>(count), Seconds(added, shown),
              tree.Entries().Size());
  std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv) {
  int holdSeconds = 0;
  std::vector<size_t> counts = {20000, 200000};
  bool hidden = false;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--hold" && i + 1 < argc) holdSeconds = std::atoi(argv[++i]);
    if (option == "--count" && i + 1 < argc) counts = {static_cast<size_t>(std::atol(argv[++i]))};
    if (option == "--hidden") hidden = true;
  }
  CQuendalVarnothApp app;
  CMainFrame *frame = OpenBenchFrame(app, hidden);
  if (frame == nullptr) return 1;
  CLeftView *tree = frame->GetLeftPane();
  for (size_t count : counts) Run(*tree, app, count);
  app.ResultsPresent = 1;
  if (holdSeconds > 0) {
    // Something to look at: the first folder checked, opened and selected.
    if (TreeEntryNode *first = tree->Entries().FindFolder(2)) {
      tree->ToggleItemCheck(first->m_item);
      tree->GetTreeCtrl().Expand(first->m_item, TVE_EXPAND);
      tree->GetTreeCtrl().SelectItem(first->m_item);
    }
    const DWORD end = GetTickCount() + static_cast<DWORD>(holdSeconds) * 1000;
    while (GetTickCount() < end) {
      PumpWaitingMessages();
      Sleep(20);
    }
  }
  frame->DestroyWindow();
  app.m_pMainWnd = nullptr;
  return 0;
}
