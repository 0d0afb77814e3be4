// Nothing the program writes may land on the drive whose results are
// loaded: a scan file, a log report or a recovered file saved there could
// take the very clusters that still hold the deleted files. This is the
// recovery destination guard's view of the loaded results, and the refusal
// every save shows.
#pragma once

#include "RecoveryDestinationGuard.h"

#include <windows.h>

#include <optional>
#include <string>

class CQuendalVarnothApp;

// Where the loaded results were read from; nothing when no results of a
// drive are loaded.
std::optional<SearchedPlace> LoadedResultsPlace(const CQuendalVarnothApp &app);

// The guard's answer for a file or folder about to be written.
GuardAnswer CheckWriteTarget(const std::wstring &path, const SearchedPlace &searched);

// True, after the refusal message (owned by owner), when the file at path
// would be written on the drive the loaded results come from; the caller
// then lets the user choose another place.
bool RefuseFileOnSearchedDrive(HWND owner, const std::wstring &path);
