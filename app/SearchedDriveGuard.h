// Nothing the program writes may land on the drive whose results are
// loaded, nor on the one ticked in the wizard for the search about to
// start: a scan file, a log report, the signature file or a recovered file
// saved there could take the very clusters that still hold the deleted
// files. This is the recovery destination guard's view of those two drives,
// and the refusal every save shows.
#pragma once

#include "RecoveryDestinationGuard.h"

#include <windows.h>

#include <optional>
#include <string>

class CQuendalVarnothApp;

// Where the loaded results were read from; nothing when no results of a
// drive are loaded.
std::optional<SearchedPlace> LoadedResultsPlace(const CQuendalVarnothApp &app);

// Where the search the open wizard is about to start would read: the drive
// or disk ticked on its drive page; nothing while no wizard is open or no
// drive is ticked.
std::optional<SearchedPlace> WizardChosenPlace(const CQuendalVarnothApp &app);

// The guard's answer for a file or folder about to be written.
GuardAnswer CheckWriteTarget(const std::wstring &path, const SearchedPlace &searched);

// Whether the file at path would be written on the drive the loaded results
// come from or on the one ticked in the open wizard.
bool OnGuardedDrive(const std::wstring &path);

// True, after the refusal message (owned by owner), when the file at path
// would be written on a guarded drive; the caller then lets the user
// choose another place.
bool RefuseFileOnSearchedDrive(HWND owner, const std::wstring &path);
