// The one rule for the name a found entry is written under, shared by the
// application's recovery and the engine's image tools: a found name may hold
// anything a damaged or crafted volume puts there, so it must never reach the
// file functions as a path of its own ("/", "\\", "..") or as a name
// Windows refuses.
#pragma once

#include <string>

// A name that Windows can create: characters it refuses become '_', trailing
// dots and spaces go, device names (CON, PRN, AUX, NUL, COM0-9, LPT0-9 and
// COM or LPT with a superscript 1, 2 or 3, with or without an extension) get a leading '_', "." and ".." and
// empty names become "_", and a name longer than 255 units is cut, keeping its extension.
std::u16string SafeFileName(const std::u16string &name);

// The name with a number text (" (2)") put before its extension, cut so that
// the whole stays within 255 units: the part before the number gives way,
// and an extension the cut of a long name keeps stays.
std::u16string NumberedFileName(const std::u16string &name, const std::u16string &number);
