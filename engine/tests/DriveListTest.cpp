#include "DriveList.h"
#include "ImageDevices.h"
#include "RecordingServices.h"
#include "SectorIo.h"
#include "SimulatedLegacyDisks.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

struct FakeDrive {
  uint32_t type;
  uint64_t totalBytes;
  std::u16string fileSystem;
  std::vector<VolumeExtent> extents;
};

class FakeDriveSystem : public DriveSystem {
public:
  std::u16string LogicalDriveStrings() override {
    std::u16string strings;
    for (const auto &root : m_roots) strings += root + u'\0';
    return strings;
  }
  uint32_t DriveType(const std::u16string &root) override { return Find(root).type; }
  bool TotalBytes(const std::u16string &root, uint64_t &total) override {
    total = Find(root).totalBytes;
    return true;
  }
  std::u16string FileSystemName(const std::u16string &root) override { return Find(root).fileSystem; }
  bool VolumeExtents(char16_t letter, std::vector<VolumeExtent> &out) override {
    ++m_extentQueries;
    out = Find(std::u16string{letter, u':', u'\\'}).extents;
    return !out.empty();
  }
  bool Version(PlatformVersion &out) override {
    out = m_version;
    return true;
  }
  bool Identity(uint8_t biosDisk, DiskIdentity &out) override {
    auto it = m_identities.find(biosDisk);
    if (it == m_identities.end()) {
      // A disk that answers SMART READ DATA but not IDENTIFY.
      out = DiskIdentity{};
      out.m_attributeByte = m_smartOnly.count(biosDisk) ? m_smartOnly[biosDisk] : 0;
      return false;
    }
    out = it->second;
    return true;
  }

  void Add(const std::u16string &root, FakeDrive drive) {
    m_roots.push_back(root);
    m_drives[Upper(root)] = drive;
  }

  PlatformVersion m_version{2, 5, 1};
  std::map<uint8_t, DiskIdentity> m_identities;
  std::map<uint8_t, uint32_t> m_smartOnly;
  size_t m_extentQueries = 0;

private:
  static std::u16string Upper(std::u16string root) {
    if (!root.empty() && root[0] >= u'a' && root[0] <= u'z') root[0] = static_cast<char16_t>(root[0] - 32);
    return root;
  }
  FakeDrive Find(const std::u16string &root) {
    auto it = m_drives.find(Upper(root));
    return it == m_drives.end() ? FakeDrive{0, 0, u"", {}} : it->second;
  }
  std::vector<std::u16string> m_roots;
  std::map<std::u16string, FakeDrive> m_drives;
};

// A disk image with partition tables written into chosen sectors.
std::vector<uint8_t> PartitionedDisk(uint32_t sectors, const std::vector<std::vector<uint32_t>> &entries) {
  std::vector<uint8_t> bytes(static_cast<size_t>(sectors) * kSectorSize);
  for (const auto &e : entries) { // table sector, slot, type, relative start, count
    uint8_t *entry = &bytes[e[0] * kSectorSize + 446 + 16 * e[1]];
    entry[4] = static_cast<uint8_t>(e[2]);
    WriteLe32(entry + 8, e[3]);
    WriteLe32(entry + 12, e[4]);
  }
  return bytes;
}

// The first sector of a FAT volume that says how many sectors it has.
std::vector<uint8_t> FatVolume(uint32_t sectors) {
  std::vector<uint8_t> bytes(16 * kSectorSize);
  WriteLe16(&bytes[11], 512);
  if (sectors < 65536)
    WriteLe16(&bytes[19], static_cast<uint16_t>(sectors));
  else
    WriteLe32(&bytes[32], sectors);
  return bytes;
}

class DriveListTest : public ::testing::Test {
protected:
  const DriveRecord &Drive(size_t i) { return m_list.Drives().at(i); }

  FakeDriveSystem m_system;
  ImageDeviceLayer m_layer;
  SimulatedLegacyDisks m_legacy{m_layer};
  SectorIo m_io{m_layer, &m_legacy, false};
  RecordingServices m_services;
  DriveList m_list{m_system, m_io, m_services};
};

TEST(DriveListTexts, SizeTextsSwitchUnitsAtOneGigabyte) {
  const struct {
    uint64_t bytes;
    std::u16string text;
  } cases[] = {{1073741824ull, u"1.000 GB"},
               {1073741823ull, u"1024.000 MB"},
               {1474560, u"1.406 MB"},
               {1048575, u"0.000 MB"},
               {5ull << 40, u"5120.000 GB"}};
  for (const auto &c : cases) EXPECT_EQ(FormatSizeText(c.bytes), c.text) << c.bytes;
}

TEST(DriveListTexts, DriveTypesHaveTheirNames) {
  EXPECT_EQ(DriveTypeText(0), u"UNKNOWN");
  EXPECT_EQ(DriveTypeText(1), u"DRIVE_NO_ROOT_DIR");
  EXPECT_EQ(DriveTypeText(3), u"FIXED");
  EXPECT_EQ(DriveTypeText(6), u"RAMDISK");
  EXPECT_EQ(DriveTypeText(7), u"");
}

TEST_F(DriveListTest, AFloppyIsListedAsRemovable) {
  m_system.Add(u"A:\\", {2, 1474560, u"FAT12", {}});
  ASSERT_TRUE(m_list.EnumerateDrives(false));
  ASSERT_EQ(m_list.Drives().size(), 1u);
  EXPECT_EQ(Drive(0).m_name, u"A:\\");
  EXPECT_EQ(Drive(0).m_typeText, u"REMOVABLE");
  EXPECT_EQ(Drive(0).m_sizeText, u"1.406 MB");
  EXPECT_EQ(Drive(0).m_fileSystem, u"FAT12");
  EXPECT_EQ(Drive(0).m_driveCode, 0);
  EXPECT_EQ(Drive(0).m_sectors, 2880u);
  EXPECT_EQ(m_list.RemovableDriveSectors(), std::vector<uint32_t>{2880});
}

TEST_F(DriveListTest, CdDrivesEmptyDrivesAndOddRootsAreLeftOut) {
  m_system.Add(u"c:\\", {3, 1 << 30, u"NTFS", {}});
  m_system.Add(u"D:\\", {5, 700 << 20, u"CDFS", {}});
  m_system.Add(u"E:\\", {2, 0, u"", {}});
  m_system.Add(u"?:\\", {3, 1 << 30, u"FAT", {}});
  ASSERT_TRUE(m_list.EnumerateDrives(false));
  ASSERT_EQ(m_list.Drives().size(), 1u);
  EXPECT_EQ(Drive(0).m_driveCode, 2);
  EXPECT_EQ(Drive(0).m_sizeText, u"1.000 GB");
}

TEST_F(DriveListTest, NoLogicalDriveShowsAnErrorAndFails) {
  EXPECT_FALSE(m_list.EnumerateDrives(false));
  ASSERT_EQ(m_services.m_errorBoxes.size(), 1u);
  EXPECT_EQ(m_services.m_errorBoxes[0], u"No Valid Logical Drive Found");
}

TEST_F(DriveListTest, PhysicalDisksAreNamedFromOneWithTheirIdentity) {
  m_layer.Attach(0x80, std::make_unique<MemoryDevice>(std::vector<uint8_t>(255 * 63 * 512 * 3)));
  m_layer.Attach(0x81, std::make_unique<MemoryDevice>(std::vector<uint8_t>(255 * 63 * 512)));
  m_system.m_identities[0x81] = DiskIdentity{"MODEL2", "SERIAL2", "FIRMWARE9", 40};
  ASSERT_TRUE(m_list.EnumerateDrives(true));
  ASSERT_EQ(m_list.Drives().size(), 2u);
  EXPECT_EQ(Drive(0).m_name, u"Disk 1");
  EXPECT_EQ(Drive(1).m_name, u"Disk 2");
  EXPECT_EQ(Drive(0).m_biosDiskCode, 0x80);
  EXPECT_EQ(Drive(1).m_biosDiskCode, 0x81);
  EXPECT_EQ(Drive(0).m_startSector, 63u);
  EXPECT_EQ(Drive(0).m_sectors, 3u * 255 * 63);
  EXPECT_EQ(Drive(0).m_endSector, 3u * 255 * 63);
  EXPECT_TRUE(Drive(0).m_model.empty());
  EXPECT_EQ(Drive(1).m_model, "MODEL2");
  EXPECT_EQ(Drive(1).m_firmwareRevision, "FIRMWARE") << "the firmware text ends at its eighth character";
  EXPECT_EQ(Drive(1).m_attributeByte, 40u);
}

// A disk whose IDENTIFY fails but whose SMART data was read keeps the
// attribute byte, in the physical-disk list and in the drives it holds.
TEST_F(DriveListTest, SmartDataOfADiskWithoutIdentityIsKept) {
  m_layer.Attach(0x80, std::make_unique<MemoryDevice>(std::vector<uint8_t>(255 * 63 * 512)));
  m_system.m_smartOnly[0x80] = 38;
  ASSERT_TRUE(m_list.EnumerateDrives(true));
  ASSERT_EQ(m_list.Drives().size(), 1u);
  EXPECT_TRUE(Drive(0).m_model.empty());
  EXPECT_EQ(Drive(0).m_attributeByte, 38u);

  m_system.Add(u"C:\\", {3, 1 << 30, u"NTFS", {{0, 2048 * 512, 1u << 30}}});
  ASSERT_TRUE(m_list.EnumerateDrives(false));
  ASSERT_EQ(m_list.Drives().size(), 1u);
  EXPECT_EQ(Drive(0).m_biosDiskCode, 0x80);
  EXPECT_TRUE(Drive(0).m_serialNumber.empty());
  EXPECT_EQ(Drive(0).m_attributeByte, 38u);
}

TEST_F(DriveListTest, AVolumeSpanningTwoDisksTakesTheFirstExtent) {
  m_layer.Attach(0x80, std::make_unique<MemoryDevice>(std::vector<uint8_t>(512)));
  m_layer.Attach(0x81, std::make_unique<MemoryDevice>(std::vector<uint8_t>(512)));
  m_system.Add(u"C:\\",
               {3, 3000ull * 512, u"NTFS", {{1, 63 * 512, 2000 * 512}, {0, 2048 * 512, 1100 * 512}}});
  m_system.m_identities[0x81] = DiskIdentity{"SECOND", "S", "F", 0};
  ASSERT_TRUE(m_list.EnumerateDrives(false));
  EXPECT_EQ(Drive(0).m_severalExtents, 1);
  EXPECT_EQ(Drive(0).m_biosDiskCode, 0x81);
  EXPECT_EQ(Drive(0).m_startSector, 63u);
  EXPECT_EQ(Drive(0).m_endSector, 2063u);
  EXPECT_EQ(Drive(0).m_volumeSectors, 3100u);
  EXPECT_EQ(Drive(0).m_model, "SECOND");
}

TEST_F(DriveListTest, CurrentNtSystemsUseExtentsNotThePartitionWalk) {
  m_system.Add(u"C:\\", {3, 1 << 30, u"NTFS", {{0, 2048 * 512, 1u << 30}}});
  for (const PlatformVersion version : {PlatformVersion{2, 6, 1}, PlatformVersion{2, 10, 0}}) {
    m_system.m_version = version;
    m_system.m_extentQueries = 0;
    ASSERT_TRUE(m_list.EnumerateDrives(false));
    EXPECT_EQ(m_system.m_extentQueries, 1u);
    EXPECT_EQ(Drive(0).m_biosDiskCode, 0x80);
    EXPECT_EQ(Drive(0).m_startSector, 2048u);
    EXPECT_TRUE(m_legacy.m_int13Reads.empty());
  }
}

TEST_F(DriveListTest, Nt4LeavesTheDiskFieldsEmpty) {
  m_system.m_version = PlatformVersion{2, 4, 0};
  m_system.Add(u"C:\\", {3, 1 << 30, u"FAT", {{0, 2048 * 512, 1u << 30}}});
  ASSERT_TRUE(m_list.EnumerateDrives(false));
  EXPECT_EQ(m_system.m_extentQueries, 0u);
  EXPECT_EQ(Drive(0).m_biosDiskCode, 0);
}

TEST_F(DriveListTest, WithoutExtentsTheVolumeSizeComesFromItsBootSector) {
  // As under Wine, which answers no extents: the engine still needs the volume's size.
  m_system.m_version = PlatformVersion{2, 6, 1};
  m_layer.Attach(23, std::make_unique<MemoryDevice>(FatVolume(100000)));
  m_layer.Attach(24, std::make_unique<MemoryDevice>(FatVolume(2880)));
  m_system.Add(u"X:\\", {3, 90000ull * 512, u"FAT32", {}});
  m_system.Add(u"Y:\\", {2, 2800ull * 512, u"FAT12", {}});
  ASSERT_TRUE(m_list.EnumerateDrives(false));
  EXPECT_EQ(Drive(0).m_sectors, 90000u) << "the listed size stays as the system gave it";
  EXPECT_EQ(Drive(0).m_volumeSectors, 100000u);
  EXPECT_EQ(Drive(1).m_volumeSectors, 2880u);
  EXPECT_EQ(Drive(0).m_biosDiskCode, 0);
}

class DriveList9xTest : public DriveListTest {
protected:
  void SetUp() override {
    m_system.m_version = PlatformVersion{1, 4, 10};
    m_io.SetWindows9x(true);
  }
  void AddFixed(const char16_t *root) { m_system.Add(root, {3, 1000ull * 512, u"FAT32", {}}); }
  void ExpectPlace(size_t i, uint8_t disk, uint64_t start, uint64_t end) {
    SCOPED_TRACE("drive " + std::to_string(i));
    EXPECT_EQ(Drive(i).m_biosDiskCode, disk);
    EXPECT_EQ(Drive(i).m_startSector, start);
    EXPECT_EQ(Drive(i).m_endSector, end);
  }
};

TEST_F(DriveList9xTest, OneDiskWithAPrimaryAndTwoLogicalDrives) {
  m_layer.Attach(0x80, std::make_unique<MemoryDevice>(PartitionedDisk(4000, {{0, 0, 0x0C, 63, 900},
                                                                             {0, 1, 0x05, 1000, 2000},
                                                                             {1000, 0, 0x06, 63, 200},
                                                                             {1000, 1, 0x05, 500, 300},
                                                                             {1500, 0, 0x0B, 63, 100}})));
  for (const char16_t *root : {u"C:\\", u"D:\\", u"E:\\"}) AddFixed(root);
  ASSERT_TRUE(m_list.EnumerateDrives(false));
  ExpectPlace(0, 0x80, 63, 963);
  ExpectPlace(1, 0x80, 1063, 1263);
  ExpectPlace(2, 0x80, 1563, 1663);
  EXPECT_EQ(Drive(1).m_volumeSectors, 200u);
}

TEST_F(DriveList9xTest, TwoDisksLetterTheirPrimariesFirst) {
  for (uint8_t code : {0x80, 0x81})
    m_layer.Attach(code,
                   std::make_unique<MemoryDevice>(PartitionedDisk(
                       2000, {{0, 0, 0x0B, 63, 500}, {0, 1, 0x0F, 1000, 500}, {1000, 0, 0x0E, 63, 20}})));
  for (const char16_t *root : {u"C:\\", u"D:\\", u"E:\\", u"F:\\"}) AddFixed(root);
  ASSERT_TRUE(m_list.EnumerateDrives(false));
  ExpectPlace(0, 0x80, 63, 563);
  ExpectPlace(1, 0x81, 63, 563);
  ExpectPlace(2, 0x80, 1063, 1083);
  ExpectPlace(3, 0x81, 1063, 1083);
}

TEST_F(DriveList9xTest, ADiskWithoutFatPartitionsGetsNoLetters) {
  m_layer.Attach(0x80, std::make_unique<MemoryDevice>(PartitionedDisk(2000, {{0, 0, 0x07, 63, 500}})));
  m_layer.Attach(0x81, std::make_unique<MemoryDevice>(PartitionedDisk(2000, {{0, 0, 0x0C, 63, 500}})));
  AddFixed(u"C:\\");
  ASSERT_TRUE(m_list.EnumerateDrives(false));
  ExpectPlace(0, 0x81, 63, 563);
}

TEST_F(DriveList9xTest, ADiskNoLargerThanARemovableDriveIsThatDrive) {
  // A 40000-sector disk seen both by the BIOS and as removable drive A:.
  m_layer.Attach(0x80, std::make_unique<MemoryDevice>(PartitionedDisk(40000, {{0, 0, 0x06, 63, 30000}})));
  m_layer.Attach(0x81, std::make_unique<MemoryDevice>(PartitionedDisk(100000, {{0, 0, 0x0C, 63, 500}})));
  m_system.Add(u"A:\\", {2, 20000ull * 512, u"FAT16", {}});
  AddFixed(u"C:\\");
  ASSERT_TRUE(m_list.EnumerateDrives(false));
  EXPECT_EQ(Drive(0).m_biosDiskCode, 0);
  ExpectPlace(1, 0x81, 63, 563);
}

TEST_F(DriveList9xTest, ADamagedTableLogsAndTheDriveIsStillListed) {
  m_layer.Attach(0x80, std::make_unique<MemoryDevice>(PartitionedDisk(
                           100, {{0, 0, 0x06, 63, 20}, {0, 1, 0x05, 50, 10}, {50, 0, 0x05, 0, 5}})));
  AddFixed(u"C:\\");
  AddFixed(u"D:\\");
  ASSERT_TRUE(m_list.EnumerateDrives(false));
  ASSERT_EQ(m_list.Drives().size(), 2u);
  ExpectPlace(0, 0x80, 63, 83);
  EXPECT_EQ(Drive(1).m_biosDiskCode, 0);
  EXPECT_TRUE(m_services.LogContains(u"loops back")) << m_services.LogAsText();
}

} // namespace
