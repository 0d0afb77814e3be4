// Reads a FAT image through the real device path of a logical drive. Under
// Wine the image is mapped as drive X: by the test's fixture (QV_RAW_DRIVE
// names the letter); elsewhere, or without that mapping, the test is skipped.
#include "ByteOrder.h"
#include "SectorIo.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#ifdef _WIN32
#include "DriveList.h"
#include "RecordingServices.h"
#include "WinDeviceLayer.h"
#include "WinDriveSystem.h"
#endif

namespace {

#ifdef _WIN32

class WinRawDrive : public ::testing::Test {
protected:
  void SetUp() override {
    const char *letter = std::getenv("QV_RAW_DRIVE");
    if (letter == nullptr || letter[0] < 'A' || letter[0] > 'Z') GTEST_SKIP() << "no raw drive mapped";
    m_code = static_cast<uint8_t>(letter[0] - 'A');
  }

  uint8_t m_code = 0;
  WinDeviceLayer m_layer;
  SectorIo m_io{m_layer, nullptr, false};
};

TEST_F(WinRawDrive, BootSectorIsReadThroughTheDevicePath) {
  std::vector<uint8_t> boot(512);
  ASSERT_EQ(m_io.ReadWriteSectors(m_code, 0, boot.data(), 512, 0), 1);
  EXPECT_EQ(ReadLe16(&boot[510]), 0xAA55);
  EXPECT_EQ(ReadLe16(&boot[11]), 512);
  EXPECT_EQ(ReadLe16(&boot[19]), 2880);
  EXPECT_EQ(std::string(reinterpret_cast<char *>(&boot[43]), 6), "QVTEST");
  EXPECT_EQ(ReadLe32(&boot[39]), 0x51ACE1D0u);
}

TEST_F(WinRawDrive, TheFileCopiedIntoTheImageIsInItsRootFolder) {
  // 1 reserved sector and two FATs of 9 sectors come before the root folder.
  std::vector<uint8_t> root(14 * 512);
  ASSERT_EQ(m_io.ReadWriteSectors(m_code, 19, root.data(), static_cast<uint32_t>(root.size()), 0), 1);
  bool found = false;
  for (size_t i = 0; i < root.size(); i += 32) found |= std::memcmp(&root[i], "HELLO   TXT", 11) == 0;
  EXPECT_TRUE(found);
}

TEST_F(WinRawDrive, ReadsPastTheEndFailAndTheDeviceStaysOpen) {
  std::vector<uint8_t> buffer(2 * 512, 0xAA);
  EXPECT_EQ(m_io.ReadWriteSectors(m_code, 2879, buffer.data(), 1024, 0), 0);
  for (size_t i = 512; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], 0) << "byte " << i;
  SectorDevice *device = m_layer.Device(m_code);
  EXPECT_NE(device, nullptr);
  EXPECT_EQ(m_layer.Device(m_code), device);
  EXPECT_EQ(m_io.ReadWriteSectors(m_code, 2879, buffer.data(), 512, 0), 1);
}

// Wine's list of drive letters is made when its services start, before the
// fixture maps X:, so the list is narrowed to the mapped drive; every other
// question goes to the system.
class MappedDriveSystem : public WinDriveSystem {
public:
  explicit MappedDriveSystem(char16_t letter) : m_letter(letter) {}
  std::u16string LogicalDriveStrings() override { return {m_letter, u':', u'\\', u'\0'}; }

private:
  char16_t m_letter;
};

TEST_F(WinRawDrive, TheDriveListGivesTheVolumeItsOwnSize) {
  MappedDriveSystem system(static_cast<char16_t>(u'A' + m_code));
  RecordingServices services;
  DriveList list(system, m_io, services);
  ASSERT_TRUE(list.EnumerateDrives(false));
  ASSERT_EQ(list.Drives().size(), 1u);
  const DriveRecord &drive = list.Drives()[0];
  EXPECT_EQ(drive.m_driveCode, m_code);
  EXPECT_FALSE(drive.m_typeText.empty());
  EXPECT_NE(drive.m_sectors, 0u);
  // Wine answers no extents, so the size comes from the volume's boot sector.
  EXPECT_EQ(drive.m_volumeSectors, 2880u);
}

#else

TEST(WinRawDrive, NeedsWindows) {
  GTEST_SKIP() << "raw device paths exist only on Windows";
}

#endif

} // namespace
