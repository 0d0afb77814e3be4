// Loads a library of the program from the executable's folder, by full path.
#pragma once

#include <windows.h>

#include <string>

// The executable's full path; empty when it does not fit.
std::wstring ExecutablePath();
// Null when the library is not beside the executable or cannot be loaded.
HMODULE LoadLibraryBesideExecutable(const wchar_t *fileName);
