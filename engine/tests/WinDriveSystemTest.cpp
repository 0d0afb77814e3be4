// The drive list's questions to Windows that need no raw device: here the
// size of a drive, asked with the extended free-space call or, where the
// system lacks it, with the older one.
#include <gtest/gtest.h>

#ifdef _WIN32
#include "WinDriveSystem.h"

#include <windows.h>

#include <cstring>
#endif

namespace {

#ifdef _WIN32

// A system whose kernel32 has no GetDiskFreeSpaceEx.
class OldKernelDriveSystem : public WinDriveSystem {
protected:
  void *KernelEntry(const char *name) override {
    return std::strncmp(name, "GetDiskFreeSpaceEx", 18) == 0 ? nullptr : WinDriveSystem::KernelEntry(name);
  }
};

TEST(WinDriveSystem, WithoutTheExtendedCallTheSizeComesFromTheClusterCount) {
  wchar_t windows[MAX_PATH] = {};
  ASSERT_NE(GetWindowsDirectoryW(windows, MAX_PATH), 0u);
  const std::u16string root = {static_cast<char16_t>(windows[0]), u':', u'\\'};
  const std::wstring wideRoot(root.begin(), root.end());
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
  ASSERT_TRUE(
      GetDiskFreeSpaceW(wideRoot.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters));

  OldKernelDriveSystem old;
  uint64_t total = 0;
  ASSERT_TRUE(old.TotalBytes(root, total));
  EXPECT_EQ(total, uint64_t{clusters} * bytesPerSector * sectorsPerCluster);
  EXPECT_NE(total, 0u);

  WinDriveSystem current;
  uint64_t extended = 0;
  ASSERT_TRUE(current.TotalBytes(root, extended));
  EXPECT_NE(extended, 0u);

  EXPECT_FALSE(old.TotalBytes(u"?:\\", total)) << "a drive that is not there has no size";
}

#else

TEST(WinDriveSystem, NeedsWindows) {
  GTEST_SKIP() << "the drive list asks Windows only on Windows";
}

#endif

} // namespace
