// Texts the engine builds from the string table: the value goes where the
// translation put "%s".
#include <gtest/gtest.h>

#include "Utf16Text.h"

namespace {

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
