#include "DriveList.h"
#include "ImageDevices.h"
#include "RecordingServices.h"
#include "SectorIo.h"
#include "SimulatedLegacyDisks.h"

#include <gtest/gtest.h>

#include <cstring>
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

// A FAT volume's first sectors as mkfs.fat writes them (two FATs, media
// 0xF8, one sector per cluster); the kind follows from the cluster count.
std::vector<uint8_t> FatVolume(uint32_t sectors, uint16_t rootEntries, uint32_t fatSize,
                               uint16_t reserved = 1) {
  std::vector<uint8_t> bytes(16 * kSectorSize);
  WriteLe16(&bytes[11], 512);
  bytes[13] = 1;
  WriteLe16(&bytes[14], reserved);
  bytes[16] = 2;
  WriteLe16(&bytes[17], rootEntries);
  bytes[21] = 0xF8;
  if (sectors < 65536 && rootEntries != 0)
    WriteLe16(&bytes[19], static_cast<uint16_t>(sectors));
  else
    WriteLe32(&bytes[32], sectors);
  if (rootEntries != 0) {
    WriteLe16(&bytes[22], static_cast<uint16_t>(fatSize));
  } else {
    WriteLe32(&bytes[36], fatSize);
    WriteLe32(&bytes[44], 2); // root cluster
  }
  bytes[510] = 0x55;
  bytes[511] = 0xAA;
  return bytes;
}
std::vector<uint8_t> Fat12Volume() {
  return FatVolume(2880, 224, 9);
}
std::vector<uint8_t> Fat16Volume() {
  return FatVolume(16384, 512, 64);
}
std::vector<uint8_t> Fat32Volume() {
  return FatVolume(100000, 0, 784, 32);
}

// An NTFS volume of the given size whose boot sector (and its backup in the
// last sector) counts one sector less, as mkntfs writes it.
std::vector<uint8_t> NtfsVolume(uint32_t sectors) {
  std::vector<uint8_t> bytes(size_t{sectors} * kSectorSize);
  uint8_t *boot = bytes.data();
  std::memcpy(boot + 3, "NTFS    ", 8);
  WriteLe16(boot + 0x0B, 512);
  boot[0x0D] = 8;
  WriteLe64(boot + 0x28, sectors - 1);
  WriteLe64(boot + 0x30, 4);
  WriteLe64(boot + 0x38, 2);
  boot[0x40] = 0xF6; // 1024-byte records
  boot[510] = 0x55;
  boot[511] = 0xAA;
  std::memcpy(&bytes[(sectors - 1) * kSectorSize], boot, kSectorSize);
  return bytes;
}

// The bytes with the first sector wiped, as on a damaged volume.
std::vector<uint8_t> WithoutFirstSector(std::vector<uint8_t> bytes) {
  std::fill(bytes.begin(), bytes.begin() + kSectorSize, 0);
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

// The message is the user's language's, as every other text.
TEST_F(DriveListTest, NoLogicalDriveMessageComesFromTheStringTable) {
  m_services.SetText(61483, u"Aucun lecteur logique valide");
  EXPECT_FALSE(m_list.EnumerateDrives(false));
  ASSERT_EQ(m_services.m_errorBoxes.size(), 1u);
  EXPECT_EQ(m_services.m_errorBoxes[0], u"Aucun lecteur logique valide");
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
  m_layer.Attach(23, std::make_unique<MemoryDevice>(Fat32Volume()));
  m_layer.Attach(24, std::make_unique<MemoryDevice>(Fat12Volume()));
  m_system.Add(u"X:\\", {3, 90000ull * 512, u"FAT32", {}});
  m_system.Add(u"Y:\\", {2, 2800ull * 512, u"FAT12", {}});
  ASSERT_TRUE(m_list.EnumerateDrives(false));
  EXPECT_EQ(Drive(0).m_sectors, 90000u) << "the system's size stays where it is kept";
  EXPECT_EQ(Drive(0).m_volumeSectors, 100000u);
  EXPECT_EQ(Drive(1).m_volumeSectors, 2880u);
  EXPECT_EQ(Drive(0).m_biosDiskCode, 0);
}

TEST_F(DriveListTest, TheBootSectorNamesTheFileSystemAndTheSize) {
  // Wine names every mapped drive "NTFS" with the host disk's size.
  const struct {
    const char *what;
    std::vector<uint8_t> volume;
    std::u16string fileSystem;
    uint64_t sectors;
    std::u16string sizeText;
  } cases[] = {
      {"FAT12", Fat12Volume(), u"FAT12", 2880, u"1.406 MB"},
      {"FAT16", Fat16Volume(), u"FAT16", 16384, u"8.000 MB"},
      {"FAT32", Fat32Volume(), u"FAT32", 100000, u"48.828 MB"},
      {"NTFS, counting its backup boot sector", NtfsVolume(4096), u"NTFS", 4096, u"2.000 MB"},
      {"FAT32 from the copy in sector 6",
       [] {
         std::vector<uint8_t> v = Fat32Volume();
         std::copy(v.begin(), v.begin() + kSectorSize, v.begin() + 6 * kSectorSize);
         return WithoutFirstSector(v);
       }(),
       u"FAT32", 100000, u"48.828 MB"},
      {"NTFS from the copy in its last sector", WithoutFirstSector(NtfsVolume(4096)), u"NTFS", 4096,
       u"2.000 MB"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    m_layer.Attach(16, std::make_unique<MemoryDevice>(c.volume));
    FakeDriveSystem system;
    system.m_version = PlatformVersion{2, 6, 1};
    system.Add(u"Q:\\", {3, 270552150016ull, u"NTFS", {}});
    DriveList list(system, m_io, m_services);
    ASSERT_TRUE(list.EnumerateDrives(false));
    ASSERT_EQ(list.Drives().size(), 1u);
    const DriveRecord &drive = list.Drives()[0];
    EXPECT_EQ(drive.m_fileSystem, c.fileSystem);
    EXPECT_EQ(drive.m_sizeText, c.sizeText);
    EXPECT_EQ(drive.m_volumeSectors, c.sectors);
  }
}

TEST_F(DriveListTest, WithoutABootSectorTheSystemsAnswerStands) {
  // A FAT16 copy in sector 6 is no backup: only FAT32 keeps one there.
  std::vector<uint8_t> fat16 = Fat16Volume();
  std::copy(fat16.begin(), fat16.begin() + kSectorSize, fat16.begin() + 6 * kSectorSize);
  m_layer.Attach(2, std::make_unique<MemoryDevice>(WithoutFirstSector(fat16)));
  m_system.Add(u"C:\\", {3, 1 << 30, u"NTFS", {}});
  m_system.Add(u"D:\\", {3, 1 << 30, u"FAT32", {}}); // no device: unreadable
  ASSERT_TRUE(m_list.EnumerateDrives(false));
  ASSERT_EQ(m_list.Drives().size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(Drive(i).m_sizeText, u"1.000 GB");
    EXPECT_EQ(Drive(i).m_volumeSectors, 0u);
  }
  EXPECT_EQ(Drive(0).m_fileSystem, u"NTFS");
  EXPECT_EQ(Drive(1).m_fileSystem, u"FAT32");
}

TEST_F(DriveListTest, AVolumeTheSystemCannotSizeIsListedFromItsBootSector) {
  // Windows calls such a volume "RAW" and gives no size.
  m_layer.Attach(4, std::make_unique<MemoryDevice>(Fat16Volume()));
  m_layer.Attach(0, std::make_unique<MemoryDevice>(Fat12Volume()));
  m_system.Add(u"A:\\", {2, 0, u"", {}}); // a floppy drive is not read without a size
  m_system.Add(u"E:\\", {2, 0, u"RAW", {}});
  m_system.Add(u"F:\\", {3, 0, u"RAW", {}}); // no boot sector either
  ASSERT_TRUE(m_list.EnumerateDrives(false));
  ASSERT_EQ(m_list.Drives().size(), 1u);
  EXPECT_EQ(Drive(0).m_name, u"E:\\");
  EXPECT_EQ(Drive(0).m_fileSystem, u"FAT16");
  EXPECT_EQ(Drive(0).m_sizeText, u"8.000 MB");
  EXPECT_EQ(Drive(0).m_sectors, 16384u);
  EXPECT_EQ(Drive(0).m_volumeSectors, 16384u);
}

TEST_F(DriveListTest, AnExtentKeepsItsSizeAndTheBootSectorNamesTheFileSystem) {
  m_layer.Attach(2, std::make_unique<MemoryDevice>(Fat32Volume()));
  m_system.Add(u"C:\\", {3, 90000ull * 512, u"RAW", {{0, 2048 * 512, 100352ull * 512}}});
  ASSERT_TRUE(m_list.EnumerateDrives(false));
  EXPECT_EQ(Drive(0).m_fileSystem, u"FAT32");
  EXPECT_EQ(Drive(0).m_sizeText, u"48.828 MB");
  EXPECT_EQ(Drive(0).m_volumeSectors, 100352u);
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
