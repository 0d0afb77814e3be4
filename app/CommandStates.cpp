#include "CommandStates.h"

#include "resource.h"

#include "AfxRes.h"

bool IsCommandEnabled(UINT id, const CommandContext &c) {
  const bool idle = !c.scanRunning;
  // Commands that free the engine or replace the results wait until no
  // engine call is left on the stack.
  const bool engineFree = idle && !c.engineCallActive;
  switch (id) {
  case ID_FILE_RUN_WIZARD:
    return engineFree && !c.scanPhaseBusy;
  case ID_FILE_OPEN_SCAN_INFO:
    return engineFree;
  case ID_EDIT_FIND_ENTRIES:
    return idle && c.resultsPresent;
  case ID_EDIT_FIND_NEXT_ENTRY:
    return idle && c.findNextAvailable;
  case ID_EDIT_SELECT_ALL_ENTRIES:
    return idle && c.resultsPresent && !c.allChecked;
  case ID_EDIT_UNSELECT_ALL_ENTRIES:
    return idle && c.resultsPresent && c.anyChecked;
  case ID_EDIT_SAVE_LOG:
  case ID_EDIT_CLEAR_LOG:
    return idle && c.logHasRows;
  case ID_EDIT_GO_UP:
    return c.resultsPresent && !c.treeSelectionIsRoot;
  case ID_TOOLS_STOP_PROCESS:
    // Every phase of a search can be stopped; a scan file being written or
    // read in cannot, and neither can a search whose error box is up.
    return c.scanRunning && !c.rebuildBusy && !c.errorBoxOpen;
  case ID_TOOLS_SAVE_SCAN_INFO:
    return engineFree && c.resultsPresent && !c.scanInfoSaved;
  case ID_TOOLS_RECOVER_ALL:
    return idle && c.resultsPresent;
  case ID_TOOLS_RECOVER_SELECTED:
    return idle && c.anyChecked;
  case ID_TOOLS_FILE_MASK:
    return engineFree && c.resultsPresent && !c.maskApplied;
  case ID_TOOLS_UNMASK:
    return engineFree && c.resultsPresent && c.maskApplied;
  case ID_TOOLS_ADD_NEW_HEADER:
    return idle;
  case ID_VIEW_LARGEICON:
  case ID_VIEW_SMALLICON:
  case ID_VIEW_LIST:
  case ID_VIEW_DETAILS:
    return c.fileListPresent;
  default:
    return true;
  }
}
