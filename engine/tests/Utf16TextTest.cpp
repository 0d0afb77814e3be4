// The engine's narrow texts widened, and string-table texts with their value
// put where the translation wants it.
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

TEST(FillInText, PutsTheValueWhereTheTranslationWantsIt) {
  struct Case {
    const char16_t *m_pattern;
    const char16_t *m_expected;
  };
  const Case cases[] = {
      {u"MFT record %s skipped:", u"MFT record 20 skipped:"},
      {u"Enregistrement MFT %s ignor\u00e9 :", u"Enregistrement MFT 20 ignor\u00e9 :"},
      {u"%s: damaged", u"20: damaged"},
      {u"Error reading sector :", u"Error reading sector : 20"}, // no place given: after it
      {u"", u" 20"},
      {u"%s and %s", u"20 and %s"}, // one value, one place
  };
  for (const Case &c : cases) EXPECT_EQ(FillInText(c.m_pattern, u"20"), c.m_expected);
}

} // namespace
