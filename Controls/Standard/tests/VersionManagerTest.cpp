// Which Windows release a version record names, and the display data's
// system flags, which are the version manager's answers.
#include <gtest/gtest.h>

#include "XTGlobal.h"
#include "XTVersionManager.h"

namespace {

TEST(VersionManager, EachTestNamesOneRelease) {
  struct Case {
    const char *name;
    DWORD platform, major, minor;
    BOOL win95, win98, nt4, win2k, xp;
  } cases[] = {
      {"95", VER_PLATFORM_WIN32_WINDOWS, 4, 0, TRUE, FALSE, FALSE, FALSE, FALSE},
      {"98", VER_PLATFORM_WIN32_WINDOWS, 4, 10, FALSE, TRUE, FALSE, FALSE, FALSE},
      {"Me", VER_PLATFORM_WIN32_WINDOWS, 4, 90, FALSE, FALSE, FALSE, FALSE, FALSE},
      {"NT 4", VER_PLATFORM_WIN32_NT, 4, 0, FALSE, FALSE, TRUE, FALSE, FALSE},
      {"2000", VER_PLATFORM_WIN32_NT, 5, 0, FALSE, FALSE, FALSE, TRUE, FALSE},
      {"XP", VER_PLATFORM_WIN32_NT, 5, 1, FALSE, FALSE, FALSE, FALSE, TRUE},
      {"Server 2003", VER_PLATFORM_WIN32_NT, 5, 2, FALSE, FALSE, FALSE, FALSE, FALSE},
      {"10", VER_PLATFORM_WIN32_NT, 10, 0, FALSE, FALSE, FALSE, FALSE, FALSE},
  };
  for (const Case &c : cases) {
    OSVERSIONINFO info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    info.dwPlatformId = c.platform;
    info.dwMajorVersion = c.major;
    info.dwMinorVersion = c.minor;
    CXTVersionManager version(info);
    EXPECT_EQ(version.IsWin95(), c.win95) << c.name;
    EXPECT_EQ(version.IsWin98(), c.win98) << c.name;
    EXPECT_EQ(version.IsWinNT4(), c.nt4) << c.name;
    EXPECT_EQ(version.IsWin2K(), c.win2k) << c.name;
    EXPECT_EQ(version.IsWinXP(), c.xp) << c.name;
    CXTAuxData &aux = XTGetAuxData();
    aux.SetOSFlags(version);
    EXPECT_EQ(aux.bWin95, c.win95) << c.name;
    EXPECT_EQ(aux.bWin98, c.win98) << c.name;
    EXPECT_EQ(aux.bWinNT4, c.nt4) << c.name;
    EXPECT_EQ(aux.bWin2K, c.win2k) << c.name;
    EXPECT_EQ(aux.bWinXP, c.xp) << c.name;
  }
  XTGetAuxData().SetOSFlags(XTGetVersionManager());
}

// The display data made at start answers as the version manager does: on
// any release after XP (which Wine reports) no flag is set.
TEST(VersionManager, TheDisplayDataFlagsAreTheManagersAnswers) {
  const CXTVersionManager &version = XTGetVersionManager();
  const CXTAuxData &aux = XTGetAuxData();
  EXPECT_EQ(aux.bWin95, version.IsWin95());
  EXPECT_EQ(aux.bWin98, version.IsWin98());
  EXPECT_EQ(aux.bWinNT4, version.IsWinNT4());
  EXPECT_EQ(aux.bWin2K, version.IsWin2K());
  EXPECT_EQ(aux.bWinXP, version.IsWinXP());
}

TEST(VersionManager, ReadsTheRunningSystem) {
  const OSVERSIONINFO &info = XTGetVersionManager().GetVersionInfo();
  EXPECT_EQ(info.dwOSVersionInfoSize, sizeof(OSVERSIONINFO));
  EXPECT_EQ(info.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
  EXPECT_GE(info.dwMajorVersion, 5u);
}

} // namespace
