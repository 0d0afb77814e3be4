// The size of the volume a search reads, from the drive list's record through
// the session to the engine: the system gives only the data area (Windows
// counts a FAT volume's clusters, an NTFS volume's clusters less the backup
// boot sector); the engines must get the whole volume.
#include "AppendSink.h"
#include "DriveList.h"
#include "FatBootSector.h"
#include "FatScanEngine.h"
#include "FatTestImages.h"
#include "NtfsAdvancedEngine.h"
#include "NtfsTestImages.h"
#include "RecordingServices.h"
#include "ScanSession.h"
#include "SearchStart.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

constexpr uint8_t kLetterQ = 16;

// One fixed drive Q: of the size and file-system name the system would give.
class OneDriveSystem : public DriveSystem {
public:
  OneDriveSystem(uint64_t bytes, std::u16string fileSystem)
      : m_bytes(bytes), m_fileSystem(std::move(fileSystem)) {}
  std::u16string LogicalDriveStrings() override { return std::u16string(u"Q:\\") + u'\0'; }
  uint32_t DriveType(const std::u16string &) override { return 3; }
  bool TotalBytes(const std::u16string &, uint64_t &total) override {
    total = m_bytes;
    return true;
  }
  std::u16string FileSystemName(const std::u16string &) override { return m_fileSystem; }
  bool VolumeExtents(char16_t, std::vector<VolumeExtent> &) override { return false; }
  bool Version(PlatformVersion &out) override {
    out = PlatformVersion{2, 6, 1};
    return true;
  }
  bool Identity(uint8_t, DiskIdentity &) override { return false; }

private:
  uint64_t m_bytes;
  std::u16string m_fileSystem;
};

std::vector<uint8_t> FirstSector(const std::string &path) {
  std::vector<uint8_t> bytes(512);
  std::ifstream in(path, std::ios::binary);
  in.read(reinterpret_cast<char *>(bytes.data()), bytes.size());
  return in ? bytes : std::vector<uint8_t>();
}

// What Windows reports as the size of the volume that starts with this boot sector.
uint64_t SystemReportedBytes(const std::vector<uint8_t> &boot) {
  BootParameters fat;
  if (DeriveFatKind(boot.data(), boot.size(), fat).m_result == ParseResult::Ok)
    return uint64_t{fat.m_clusterCount} * fat.ClusterBytes();
  NtfsBootInfo ntfs;
  if (ParseNtfsBootSector(boot.data(), ntfs) == ParseResult::Ok)
    return ntfs.m_totalSectors / ntfs.m_sectorsPerCluster * ntfs.m_sectorsPerCluster * 512;
  return 0;
}

// The drive list over an image mapped as Q:, and a session made from its
// record as the wizard's Finish makes one.
struct ListedImage {
  explicit ListedImage(const std::string &path) {
    EXPECT_TRUE(m_layer.AttachFile(kLetterQ, path)) << path;
    if (SectorDevice *device = m_layer.Device(kLetterQ)) m_imageSectors = device->SizeInBytes() / 512;
    OneDriveSystem system(SystemReportedBytes(FirstSector(path)), u"NTFS");
    SectorIo io(m_layer, nullptr, false);
    DriveList list(system, io, m_services);
    EXPECT_TRUE(list.EnumerateDrives(false));
    if (list.Drives().size() == 1) m_drive = list.Drives()[0];
    m_session = std::make_unique<ScanSession>(m_services, m_layer, SessionKindFor(m_drive, false),
                                              ScanSession::VolumeTarget(m_drive));
  }

  RecordingServices m_services;
  ImageDeviceLayer m_layer;
  uint64_t m_imageSectors = 0;
  DriveRecord m_drive;
  std::unique_ptr<ScanSession> m_session;
};

struct SizeCase {
  const char *name;
  const char *image; // below the fixture folder
  const char16_t *fileSystem;
};

class SessionVolumeSize : public ::testing::TestWithParam<SizeCase> {};

TEST_P(SessionVolumeSize, TheEngineGetsTheWholeVolume) {
  if (NtfsFixtureDir().empty()) GTEST_SKIP() << "QV_FIXTURES not set: the images are not made";
  const std::string path = NtfsFixtureDir() + "/" + GetParam().image;
  if (FirstSector(path).empty()) GTEST_SKIP() << path << " could not be made here";
  ListedImage listed(path);
  EXPECT_EQ(listed.m_drive.m_fileSystem, GetParam().fileSystem);
  ASSERT_GT(listed.m_imageSectors, 0u);
  // mkfs.fat and mkntfs fill the image: its size is the volume's.
  EXPECT_EQ(listed.m_session->Where().m_sectors, listed.m_imageSectors);
  if (FatScanEngine *fat = listed.m_session->Fat()) {
    EXPECT_EQ(fat->Volume().DriveSectors(), listed.m_imageSectors);
  } else {
    NtfsAdvancedEngine *ntfs = listed.m_session->Ntfs();
    ASSERT_NE(ntfs, nullptr);
    EXPECT_EQ(ntfs->Volume().VolumeSectors(), listed.m_imageSectors) << "the backup boot sector is the last";
  }
}

INSTANTIATE_TEST_SUITE_P(Images, SessionVolumeSize,
                         ::testing::Values(SizeCase{"fat12", "fat/fat12.img", u"FAT12"},
                                           SizeCase{"fat16", "fat/fat16.img", u"FAT16"},
                                           SizeCase{"fat32", "fat/fat32.img", u"FAT32"},
                                           SizeCase{"ntfs", "ntfs-512.img", u"NTFS"}),
                         [](const auto &info) { return std::string(info.param.name); });

// A FAT volume filled to its last cluster whose last file was deleted: that
// cluster lies beyond the size Windows reports, and is found and read back
// only when the engine knows the whole volume.
TEST(SessionVolumeSize, AFileInTheLastClusterIsReadBack) {
  QV_REQUIRE_FAT_FIXTURES();
  const std::string image = "fat12-full";
  ListedImage listed(FatFixtureDir() + "/" + image + ".img");
  FatScanEngine *fat = listed.m_session->Fat();
  ASSERT_NE(fat, nullptr);
  fat->RunFatFastScan();
  size_t compared = 0;
  for (const FatManifestRow &row : ReadFatManifest(image)) {
    if (!row.m_deleted) continue;
    const std::string name = ExpectedFoundPath(row.m_path).substr(1);
    for (const RecordingServices::TreeEntry &entry : listed.m_services.m_treeEntries) {
      if (ToUtf8(entry.m_name) != name) continue;
      std::vector<uint8_t> bytes;
      EXPECT_TRUE(listed.m_session->ReadFoundFile(entry.m_entry, AppendTo(bytes))) << name;
      EXPECT_TRUE(bytes == ReadOriginal(image, row)) << name << " differs from its original";
      ++compared;
    }
  }
  EXPECT_EQ(compared, 1u) << listed.m_services.LogAsText();
}

} // namespace
