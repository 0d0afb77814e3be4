// Conversion of the engine's UTF-16 texts for the C library and for logs.
#pragma once

#include <string>

// UTF-8 form of a UTF-16 text; surrogate pairs become one code point, an
// unpaired surrogate is written as it stands.
std::string Utf16ToUtf8(const std::u16string &text);

// A string-table text with its value put in place of "%s" (a translation
// may move it); a text without "%s" gets the value after a blank.
std::u16string FillInText(const std::u16string &pattern, const std::u16string &value);
