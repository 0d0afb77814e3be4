// Where the program's own libraries (language resources, the INT 13h helper)
// are found: beside the executable, by full path. A bare library name would
// let a file of that name in the current folder or on the search path be
// loaded instead.
#pragma once

#include <string>

// The full path of fileName in the executable's folder; empty when fileName
// is empty or holds a folder part, when executablePath has no folder, or when
// the result would not fit a 260-character path.
std::u16string PathBesideExecutable(const std::u16string &executablePath, const std::u16string &fileName);
