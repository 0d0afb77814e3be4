// The command table: each command's enabled state in the program's states.
#include <gtest/gtest.h>

#include <vector>

#include "AfxRes.h"
#include "CommandStates.h"
#include "resource.h"

namespace {

// The states the program passes through.
CommandContext Idle() {
  return {};
}

CommandContext Searching() {
  CommandContext c;
  c.scanRunning = true;
  c.logHasRows = true;
  return c;
}

// A phase of a search that only Stop may end (the FAT load, the record walk).
CommandContext SearchingBusyPhase() {
  CommandContext c = Searching();
  c.scanPhaseBusy = true;
  return c;
}

CommandContext Rebuilding() {
  CommandContext c = Searching();
  c.rebuildBusy = true;
  return c;
}

CommandContext WithResults() {
  CommandContext c;
  c.resultsPresent = true;
  c.logHasRows = true;
  c.fileListPresent = true;
  return c;
}

CommandContext WithResultsChecked() {
  CommandContext c = WithResults();
  c.anyChecked = true;
  c.allChecked = true;
  c.findNextAvailable = true;
  c.maskApplied = true;
  c.scanInfoSaved = true;
  c.treeSelectionIsRoot = false;
  return c;
}

struct Case {
  UINT id;
  const char *name;
  // Expected in: idle, searching, searching in a busy phase (Stop still
  // works there), rebuilding, with results, with results all checked (saved, masked).
  bool enabled[6];
};

const std::vector<Case> kCases = {
    {ID_FILE_RUN_WIZARD, "Run Wizard", {true, false, false, false, true, true}},
    {ID_FILE_OPEN_SCAN_INFO, "Open Saved Scan Information", {true, false, false, false, true, true}},
    {ID_EDIT_FIND_ENTRIES, "Find", {false, false, false, false, true, true}},
    {ID_EDIT_FIND_NEXT_ENTRY, "Find Next", {false, false, false, false, false, true}},
    {ID_EDIT_SELECT_ALL_ENTRIES, "Select All", {false, false, false, false, true, false}},
    {ID_EDIT_UNSELECT_ALL_ENTRIES, "Unselect All", {false, false, false, false, false, true}},
    {ID_EDIT_SAVE_LOG, "Save Log", {false, false, false, false, true, true}},
    {ID_EDIT_CLEAR_LOG, "Clear Log", {false, false, false, false, true, true}},
    {ID_EDIT_GO_UP, "Go Up", {false, false, false, false, false, true}},
    {ID_TOOLS_STOP_PROCESS, "Stop", {false, true, true, false, false, false}},
    {ID_TOOLS_SAVE_SCAN_INFO, "Save Scan Information", {false, false, false, false, true, false}},
    {ID_TOOLS_RECOVER_ALL, "Recover All", {false, false, false, false, true, true}},
    {ID_TOOLS_RECOVER_SELECTED, "Recover Selected", {false, false, false, false, false, true}},
    {ID_TOOLS_FILE_MASK, "File Mask", {false, false, false, false, true, false}},
    {ID_TOOLS_UNMASK, "Unmask", {false, false, false, false, false, true}},
    {ID_TOOLS_ADD_NEW_HEADER, "Add New Header", {true, false, false, false, true, true}},
    {ID_VIEW_DETAILS, "Details", {false, false, false, false, true, true}},
    {ID_VIEW_TOOLBAR_LARGE, "Large toolbar (always)", {true, true, true, true, true, true}},
    {ID_VIEW_THEME_OFFICE2003, "Office 2003 theme (always)", {true, true, true, true, true, true}},
};

TEST(CommandStatesTest, EachCommandInEachState) {
  const CommandContext states[6] = {Idle(),       Searching(),   SearchingBusyPhase(),
                                    Rebuilding(), WithResults(), WithResultsChecked()};
  const char *stateNames[6] = {"idle", "searching", "busy phase", "rebuilding", "results", "all checked"};
  for (const Case &c : kCases)
    for (int s = 0; s < 6; s++)
      EXPECT_EQ(IsCommandEnabled(c.id, states[s]), c.enabled[s]) << c.name << " while " << stateNames[s];
}

TEST(CommandStatesTest, ResultsDoNotUnlockCommandsDuringASearch) {
  CommandContext c = WithResultsChecked();
  c.scanRunning = true;
  for (UINT id : {ID_FILE_RUN_WIZARD, ID_EDIT_FIND_ENTRIES, ID_EDIT_FIND_NEXT_ENTRY, ID_EDIT_SAVE_LOG,
                  ID_TOOLS_RECOVER_ALL, ID_TOOLS_RECOVER_SELECTED, ID_TOOLS_UNMASK, ID_TOOLS_SAVE_SCAN_INFO})
    EXPECT_FALSE(IsCommandEnabled(id, c)) << id;
}

TEST(CommandStatesTest, NoStopUnderAnErrorBox) {
  CommandContext c = Searching();
  c.errorBoxOpen = true;
  EXPECT_FALSE(IsCommandEnabled(ID_TOOLS_STOP_PROCESS, c));
  EXPECT_FALSE(IsCommandEnabled(ID_FILE_RUN_WIZARD, c));
}

TEST(CommandStatesTest, SaveLogNeedsRows) {
  CommandContext c = WithResults();
  c.logHasRows = false;
  EXPECT_FALSE(IsCommandEnabled(ID_EDIT_SAVE_LOG, c));
  EXPECT_FALSE(IsCommandEnabled(ID_EDIT_CLEAR_LOG, c));
}

} // namespace

// After Stop the running flag is down while the engine still unwinds inside
// the message pump: what would free the engine or replace the results waits.
TEST(CommandStatesTest, CommandsThatFreeTheEngineWaitWhileAnEngineCallUnwinds) {
  struct Case {
    UINT id;
    const char *name;
    bool enabledWhileUnwinding;
  };
  const Case cases[] = {
      {ID_FILE_RUN_WIZARD, "Run Wizard", false}, {ID_FILE_OPEN_SCAN_INFO, "Open", false},
      {ID_TOOLS_FILE_MASK, "File Mask", false},  {ID_TOOLS_SAVE_SCAN_INFO, "Save Scan Information", false},
      {ID_EDIT_SAVE_LOG, "Save Log", true},      {ID_EDIT_FIND_ENTRIES, "Find", true},
  };
  CommandContext c = WithResults();
  c.engineCallActive = true;
  for (const Case &k : cases) EXPECT_EQ(IsCommandEnabled(k.id, c), k.enabledWhileUnwinding) << k.name;
  c.maskApplied = true;
  EXPECT_FALSE(IsCommandEnabled(ID_TOOLS_UNMASK, c));
}
