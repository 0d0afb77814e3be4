// The safe-name rule found entries are written under, as a table of cases.
#include "SafeFileName.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Narrow(const std::u16string &text) {
  return std::string(text.begin(), text.end());
}

struct NameCase {
  const char16_t *m_name;
  const char16_t *m_safe;
};

class SafeFileNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(SafeFileNames, BecomeNamesWindowsCanCreate) {
  EXPECT_EQ(Narrow(SafeFileName(GetParam().m_name)), Narrow(GetParam().m_safe));
}

INSTANTIATE_TEST_SUITE_P(
    Table, SafeFileNames,
    ::testing::Values(
        NameCase{u"report.txt", u"report.txt"}, NameCase{u"a<b>c:d\"e/f\\g|h?i*j", u"a_b_c_d_e_f_g_h_i_j"},
        NameCase{u"tab\there", u"tab_here"}, NameCase{u"name. . .", u"name"},
        NameCase{u"trailing   ", u"trailing"}, NameCase{u".", u"_"}, NameCase{u"..", u"_"},
        NameCase{u"", u"_"}, NameCase{u"   ", u"_"}, NameCase{u"CON", u"_CON"},
        NameCase{u"con.txt", u"_con.txt"}, NameCase{u"Nul.tar.gz", u"_Nul.tar.gz"},
        NameCase{u"AUX .log", u"_AUX .log"}, NameCase{u"prn", u"_prn"}, NameCase{u"COM1", u"_COM1"},
        NameCase{u"lpt9.doc", u"_lpt9.doc"}, NameCase{u"COM0", u"_COM0"}, NameCase{u"lpt0.txt", u"_lpt0.txt"},
        NameCase{u"COM\u00B9", u"_COM\u00B9"}, NameCase{u"com\u00B2.log", u"_com\u00B2.log"},
        NameCase{u"LPT\u00B3", u"_LPT\u00B3"}, NameCase{u"LPT\u00B9 .x", u"_LPT\u00B9 .x"},
        NameCase{u"COM\u2074", u"COM\u2074"}, NameCase{u"COM10", u"COM10"}, NameCase{u"CONSOLE", u"CONSOLE"},
        NameCase{u"LPT", u"LPT"}, NameCase{u"xCON", u"xCON"}, NameCase{u".profile", u".profile"},
        NameCase{u"Lost Folder(s)", u"Lost Folder(s)"},
        // Names a crafted volume holds to climb out of the target folder.
        NameCase{u"../../etc/passwd", u".._.._etc_passwd"}, NameCase{u"..\\..\\boot.ini", u".._.._boot.ini"},
        NameCase{u"/abs", u"_abs"}, NameCase{u"C:\\x", u"C__x"}, NameCase{u"a\x01" u"b", u"a_b"}));

TEST(SafeFileName, CutsLongNamesKeepingTheExtension) {
  const std::u16string longName = std::u16string(300, u'a') + u".jpeg";
  const std::u16string safe = SafeFileName(longName);
  EXPECT_EQ(safe.size(), 255u);
  EXPECT_EQ(safe.substr(safe.size() - 5), u".jpeg");
}

TEST(SafeFileName, NeverCutsASurrogatePairInTwo) {
  // 254 letters, then a character outside the basic plane at units 254-255.
  std::u16string name = std::u16string(254, u'b') + u"\U0001F600" + std::u16string(10, u'c');
  const std::u16string safe = SafeFileName(name);
  ASSERT_FALSE(safe.empty());
  EXPECT_LE(safe.size(), 255u);
  EXPECT_FALSE(safe.back() >= 0xD800 && safe.back() <= 0xDBFF);
}

struct NumberedCase {
  std::u16string m_name;
  std::u16string m_numbered;
};

// The number always fits: a name too long for it gives way before the
// extension the long-name cut keeps; a long "extension" is cut with the name.
TEST(NumberedFileName, TheWholeNameStaysWithinTheLimit) {
  const std::u16string n251(251, u'a');
  const NumberedCase cases[] = {
      {u"a.txt", u"a (1).txt"},
      {u"archive.tar.gz", u"archive.tar (1).gz"},
      {u".profile", u".profile (1)"},
      {u"README", u"README (1)"},
      {n251 + u".txt", std::u16string(247, u'a') + u" (1).txt"},
      {std::u16string(255, u'b'), std::u16string(251, u'b') + u" (1)"},
      {std::u16string(250, u'c') + u"." + std::u16string(20, u'x'), std::u16string(250, u'c') + u". (1)"},
  };
  for (const NumberedCase &c : cases) {
    const std::u16string numbered = NumberedFileName(c.m_name, u" (1)");
    EXPECT_EQ(Narrow(numbered), Narrow(c.m_numbered)) << c.m_name.size();
    EXPECT_LE(numbered.size(), 255u);
  }
  // No surrogate pair is cut in two to make room.
  const std::u16string pair = std::u16string(246, u'd') + u"\U0001F600" + std::u16string(4, u'e') + u".txt";
  const std::u16string numbered = NumberedFileName(pair, u" (1)");
  EXPECT_EQ(Narrow(numbered), Narrow(std::u16string(246, u'd') + u" (1).txt"));
}

} // namespace
