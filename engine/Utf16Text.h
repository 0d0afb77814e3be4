// Conversion of the engine's UTF-16 texts for the C library and for logs.
#pragma once

#include <string>
#include <string_view>

// UTF-8 form of a UTF-16 text; surrogate pairs become one code point, an
// unpaired surrogate is written as it stands.
std::string Utf16ToUtf8(const std::u16string &text);

// UTF-16 form of the engine's own narrow texts (numbers, log messages): each
// byte becomes the code unit of the same value, so a byte above 0x7F keeps its
// Latin-1 letter instead of turning into a negative char's 0xFFxx.
std::u16string Widen(std::string_view text);
// A string-table text with its value put in place of "%s" (a translation
// may move it); a text without "%s" gets the value after a blank.
std::u16string FillInText(const std::u16string &pattern, const std::u16string &value);
