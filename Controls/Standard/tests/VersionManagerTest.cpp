// Which Windows release a version record names.
#include <gtest/gtest.h>

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
  }
}

TEST(VersionManager, ReadsTheRunningSystem) {
  const OSVERSIONINFO &info = XTGetVersionManager().GetVersionInfo();
  EXPECT_EQ(info.dwOSVersionInfoSize, sizeof(OSVERSIONINFO));
  EXPECT_EQ(info.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
  EXPECT_GE(info.dwMajorVersion, 5u);
}

} // namespace
