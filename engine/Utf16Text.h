// Conversion of the engine's UTF-16 texts for the C library and for logs.
#pragma once

#include <string>

// UTF-8 form of a UTF-16 text; surrogate pairs become one code point, an
// unpaired surrogate is written as it stands.
std::string Utf16ToUtf8(const std::u16string &text);
