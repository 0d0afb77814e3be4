// The day a date picker of the Find and File Mask dialogs holds, kept within
// the years the rest of the program can show.
#pragma once

#include <windows.h>

#include <cstdint>

SYSTEMTIME PickerDate(HWND picker);
int64_t PickerDay(HWND picker);
