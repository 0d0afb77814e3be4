#include "Utf16Text.h"

#include <gtest/gtest.h>

namespace {

TEST(Widen, EachByteBecomesTheCodeUnitOfTheSameValue) {
  EXPECT_EQ(Widen("Folder 42"), u"Folder 42");
  EXPECT_EQ(Widen(""), u"");
  // A signed char above 0x7F must not turn into 0xFFxx.
  EXPECT_EQ(Widen("caf\xE9"), u"caf\u00E9");
  EXPECT_EQ(Widen(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
}

TEST(Widen, GoesBackUnchangedThroughUtf8ForAscii) {
  const std::string text = "Error reading sector : 4294967296";
  EXPECT_EQ(Utf16ToUtf8(Widen(text)), text);
}

} // namespace
