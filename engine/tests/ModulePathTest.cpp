#include "ModulePath.h"

#include <gtest/gtest.h>

namespace {

TEST(ModulePath, LibrariesAreTakenFromTheExecutablesFolderOnly) {
  const struct {
    const char *what;
    std::u16string exe;
    std::u16string file;
    std::u16string expected;
  } cases[] = {
      {"beside the program", u"C:\\Program Files\\QV\\qv.exe", u"My32.DLL",
       u"C:\\Program Files\\QV\\My32.DLL"},
      {"forward slashes", u"Z:/build/app.exe", u"French.dll", u"Z:/build/French.dll"},
      {"no folder in the program path", u"qv.exe", u"My32.DLL", u""},
      {"a folder part in the name", u"C:\\QV\\qv.exe", u"..\\My32.DLL", u""},
      {"a drive in the name", u"C:\\QV\\qv.exe", u"D:My32.DLL", u""},
      {"an empty name", u"C:\\QV\\qv.exe", u"", u""},
      {"too long for a path", u"C:\\" + std::u16string(250, u'a') + u"\\qv.exe", u"German.dll", u""},
  };
  for (const auto &c : cases) EXPECT_EQ(PathBesideExecutable(c.exe, c.file), c.expected) << c.what;
}

} // namespace
