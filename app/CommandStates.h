// Which of the program's commands may run in the program's present state.
// Menu items, toolbar buttons and accelerators all ask this one table, so a
// command a menu shows greyed cannot be started from its key either.
#pragma once

#include <windows.h>

// The flags the rules read: the application's scan state, the frame's busy
// flags and what the views show.
struct CommandContext {
  bool scanRunning = false;
  bool scanPhaseBusy = false;
  bool rebuildBusy = false;
  bool resultsPresent = false;
  bool scanInfoSaved = false;
  bool findNextAvailable = false;
  bool anyChecked = false;
  bool allChecked = false;
  bool maskApplied = false;
  bool logHasRows = false;
  bool treeSelectionIsRoot = true;
  bool fileListPresent = false;
  // An engine, scan-file loader or writer call is on the stack (it may still
  // be unwinding after Stop lowered the running flag).
  bool engineCallActive = false;
  // An engine's error box is up: the failed work ends once it is closed.
  bool errorBoxOpen = false;
};

// The enabled state of a command of the program's own table; commands the
// table does not name are left to the framework's rules (true).
bool IsCommandEnabled(UINT id, const CommandContext &context);
