// The 95/98/Me disk services of a real system, as far as a Windows NT-family
// system (or Wine) can show them: without the helper library beside the
// program no physical disk is found, and nothing is read.
#include <gtest/gtest.h>

#ifdef _WIN32
#include "ImageDevices.h"
#include "My32DiskPort.h"
#include "SectorIo.h"

#include <vector>

namespace {

TEST(My32DiskPort, WithoutTheHelperLibraryBesideTheProgramNoDiskIsFound) {
  My32DiskPort port;
  EXPECT_FALSE(port.HasInt13Entries());
  ImageDeviceLayer images;
  SectorIo io(images, &port, true);
  uint8_t count = 9;
  EXPECT_EQ(io.CountPhysicalDisks(&count), 0);
  EXPECT_EQ(count, 0);
  std::vector<uint8_t> sector(512);
  EXPECT_EQ(io.ReadWriteSectors(128, 0, sector.data(), 512, 0), 0);
  EXPECT_EQ(io.ReadWriteSectors(2, 0, sector.data(), 512, 0), 0) << "no \\\\.\\vwin32 device";
}

} // namespace
#else
TEST(My32DiskPort, NeedsWindows) {
  GTEST_SKIP() << "the helper library is a Windows library";
}
#endif
