#include "ImageDevices.h"
#include "PartitionWalk.h"
#include "RecordingServices.h"
#include "SectorIo.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

// Builds a disk image with partition tables written into chosen sectors.
class DiskImageBuilder {
public:
  explicit DiskImageBuilder(uint32_t sectors) : m_bytes(static_cast<size_t>(sectors) * kSectorSize) {}

  DiskImageBuilder &Entry(uint32_t tableSector, int index, uint8_t type, uint32_t relativeStart,
                          uint32_t count) {
    uint8_t *table = &m_bytes[static_cast<size_t>(tableSector) * kSectorSize];
    uint8_t *e = table + 446 + 16 * index;
    e[4] = type;
    WriteLe32(e + 8, relativeStart);
    WriteLe32(e + 12, count);
    table[510] = 0x55;
    table[511] = 0xAA;
    return *this;
  }
  std::unique_ptr<SectorDevice> Device() const { return std::make_unique<MemoryDevice>(m_bytes); }

private:
  std::vector<uint8_t> m_bytes;
};

struct Expected {
  char letter;
  uint64_t start;
  uint32_t count;
  uint8_t disk;
};

class PartitionWalkTest : public ::testing::Test {
protected:
  void Attach(uint8_t code, const DiskImageBuilder &disk) { m_layer.Attach(code, disk.Device()); }
  void WalkDisks(uint8_t count) {
    m_walk.SetDiskCount(count);
    for (uint8_t n = 0; n < count; ++n) m_walk.WalkPartitionTable(static_cast<uint8_t>(0x80 + n), 0);
  }
  void ExpectPartitions(const std::vector<Expected> &expected) {
    const auto &found = m_walk.Partitions();
    ASSERT_EQ(found.size(), expected.size()) << m_log.LogAsText();
    for (size_t i = 0; i < expected.size(); ++i) {
      SCOPED_TRACE("partition " + std::to_string(i));
      EXPECT_EQ(found[i].m_letter, expected[i].letter);
      EXPECT_EQ(found[i].m_start, expected[i].start);
      EXPECT_EQ(found[i].m_count, expected[i].count);
      EXPECT_EQ(found[i].m_end, expected[i].start + expected[i].count);
      EXPECT_EQ(found[i].m_biosDisk, expected[i].disk);
    }
  }

  ImageDeviceLayer m_layer;
  SectorIo m_io{m_layer, nullptr, false};
  RecordingServices m_log;
  PartitionWalk m_walk{m_io, &m_log};
};

TEST_F(PartitionWalkTest, PrimaryFatPartitionsAreLetteredAndOthersSkipped) {
  Attach(0x80, DiskImageBuilder(64)
                   .Entry(0, 0, 0x0C, 63, 1000)   // FAT32 LBA
                   .Entry(0, 1, 0x07, 2000, 1000) // NTFS: not ours
                   .Entry(0, 2, 0x1B, 3000, 1000) // hidden FAT32: type 16 and above is skipped
                   .Entry(0, 3, 0x06, 4000, 500));
  WalkDisks(1);
  ExpectPartitions({{'C', 63, 1000, 0x80}, {'D', 4000, 500, 0x80}});
  EXPECT_TRUE(m_log.m_log.empty());
}

TEST_F(PartitionWalkTest, LogicalDrivesFollowTheExtendedChain) {
  // One disk: a primary FAT32 partition and two FAT logical drives.
  Attach(0x80, DiskImageBuilder(2000)
                   .Entry(0, 0, 0x0C, 63, 900)
                   .Entry(0, 1, 0x05, 1000, 900)   // extended partition at 1000
                   .Entry(1000, 0, 0x06, 63, 200)  // first logical: relative to its table
                   .Entry(1000, 1, 0x05, 500, 300) // next table: relative to the extended start
                   .Entry(1500, 0, 0x0B, 63, 100));
  WalkDisks(1);
  ExpectPartitions({{'C', 63, 900, 0x80}, {'D', 1063, 200, 0x80}, {'E', 1563, 100, 0x80}});
}

TEST_F(PartitionWalkTest, LaterPartitionsOfAllDisksComeAfterEachDisksFirst) {
  for (uint8_t code : {0x80, 0x81})
    Attach(code, DiskImageBuilder(1200)
                     .Entry(0, 0, 0x0B, 63, 500)
                     .Entry(0, 1, 0x0F, 1000, 100)
                     .Entry(1000, 0, 0x0E, 63, 20));
  WalkDisks(2);
  ExpectPartitions(
      {{'C', 63, 500, 0x80}, {'E', 1063, 20, 0x80}, {'D', 63, 500, 0x81}, {'F', 1063, 20, 0x81}});
}

TEST_F(PartitionWalkTest, BaseIsRestoredAfterAnExtendedEntryInTheThirdSlot) {
  Attach(0x80, DiskImageBuilder(9100)
                   .Entry(0, 0, 0x0C, 63, 100)
                   .Entry(0, 2, 0x0F, 5000, 3000)
                   .Entry(0, 3, 0x06, 9000, 50)
                   .Entry(5000, 1, 0x0B, 63, 100)   // logical drive in the second slot
                   .Entry(5000, 2, 0x05, 1000, 500) // link in the third slot
                   .Entry(6000, 0, 0x01, 63, 10));
  WalkDisks(1);
  ExpectPartitions(
      {{'C', 63, 100, 0x80}, {'D', 5063, 100, 0x80}, {'E', 6063, 10, 0x80}, {'F', 9000, 50, 0x80}});
}

TEST_F(PartitionWalkTest, ALoopingChainEndsWithALogLine) {
  Attach(0x80, DiskImageBuilder(3000)
                   .Entry(0, 0, 0x05, 1000, 2000)
                   .Entry(1000, 0, 0x06, 63, 10)
                   .Entry(1000, 1, 0x05, 1000, 10) // on to 2000
                   .Entry(2000, 0, 0x06, 63, 10)
                   .Entry(2000, 1, 0x05, 0, 10)); // back to 1000
  WalkDisks(1);
  ExpectPartitions({{'C', 1063, 10, 0x80}, {'D', 2063, 10, 0x80}});
  EXPECT_TRUE(m_log.LogContains(u"loops back")) << m_log.LogAsText();
}

TEST_F(PartitionWalkTest, ATableThatPointsAtItselfEndsToo) {
  Attach(0x80, DiskImageBuilder(8).Entry(0, 0, 0x05, 0, 8));
  EXPECT_FALSE(m_walk.HasFatPartition(0x80, 0));
  EXPECT_TRUE(m_log.LogContains(u"loops back"));
}

TEST_F(PartitionWalkTest, AnUnreadableTableEndsOnlyItsBranch) {
  Attach(0x80, DiskImageBuilder(100)
                   .Entry(0, 0, 0x05, 5000, 10) // table past the end of the image
                   .Entry(0, 1, 0x06, 63, 20));
  WalkDisks(1);
  ExpectPartitions({{'C', 63, 20, 0x80}});
  EXPECT_TRUE(m_log.LogContains(u"cannot be read"));
}

TEST_F(PartitionWalkTest, EntriesBeyondAKnownDiskEndAreSkipped) {
  Attach(0x80, DiskImageBuilder(100)
                   .Entry(0, 0, 0x06, 0xFFFFFF00u, 0x1000) // would wrap a 32-bit end sector
                   .Entry(0, 1, 0x06, 50, 60)              // runs past the end
                   .Entry(0, 2, 0x06, 10, 40)
                   .Entry(0, 3, 0x05, 200, 10));
  m_walk.SetDiskSectors(100);
  WalkDisks(1);
  ExpectPartitions({{'C', 10, 40, 0x80}});
  EXPECT_TRUE(m_log.LogContains(u"beyond the end of the disk"));
}

TEST_F(PartitionWalkTest, HasFatPartitionLooksWithoutRecording) {
  Attach(0x80, DiskImageBuilder(1100)
                   .Entry(0, 0, 0x07, 63, 100)
                   .Entry(0, 1, 0x05, 1000, 100)
                   .Entry(1000, 0, 0x0B, 63, 10));
  Attach(0x81, DiskImageBuilder(64).Entry(0, 0, 0x07, 63, 1));
  EXPECT_TRUE(m_walk.HasFatPartition(0x80, 0));
  EXPECT_FALSE(m_walk.HasFatPartition(0x81, 0));
  EXPECT_FALSE(m_walk.HasFatPartition(0x82, 0)) << "no disk";
  EXPECT_TRUE(m_walk.Partitions().empty());
}

TEST_F(PartitionWalkTest, ADeepChainIsCut) {
  DiskImageBuilder disk(200);
  disk.Entry(0, 0, 0x05, 1, 199);
  for (uint32_t t = 1; t < 199; ++t) disk.Entry(t, 0, 0x05, t + 1 - 1, 1); // each table links to the next
  Attach(0x80, disk);
  EXPECT_FALSE(m_walk.HasFatPartition(0x80, 0));
  EXPECT_TRUE(m_log.LogContains(u"too deep"));
}

#ifndef _WIN32
// A partitioned image made by sfdisk, with mkfs.fat writing the file systems.
TEST(PartitionWalkRealTables, ReadsWhatSfdiskWrote) {
  setenv("PATH", (std::string(std::getenv("PATH") ? std::getenv("PATH") : "") + ":/usr/sbin:/sbin").c_str(),
         1);
  if (std::system("command -v sfdisk >/dev/null 2>&1 && command -v mkfs.fat >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "sfdisk or mkfs.fat missing";
  char dir[] = "/tmp/qv-partwalk-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string image = std::string(dir) + "/disk.img";
  const std::string script =
      "truncate -s 64M " + image +
      " && printf 'label: dos\\n2048,20480,c\\n22528,,5\\n24576,10240,6\\n36864,,b\\n' | "
      "sfdisk -q " +
      image + " >/dev/null 2>&1 && mkfs.fat -F 32 --offset 2048 " + image + " 20480 >/dev/null 2>&1";
  ASSERT_EQ(std::system(script.c_str()), 0) << script;
  ImageDeviceLayer layer;
  ASSERT_TRUE(layer.AttachFile(0x80, image));
  SectorIo io(layer, nullptr, false);
  RecordingServices log;
  PartitionWalk walk(io, &log);
  walk.SetDiskCount(1);
  walk.SetDiskSectors(64 * 2048);
  walk.WalkPartitionTable(0x80, 0);
  const auto &found = walk.Partitions();
  ASSERT_EQ(found.size(), 3u) << log.LogAsText();
  EXPECT_EQ(found[0].m_start, 2048u);
  EXPECT_EQ(found[0].m_count, 20480u);
  EXPECT_EQ(found[1].m_start, 24576u);
  EXPECT_EQ(found[1].m_count, 10240u);
  EXPECT_EQ(found[2].m_start, 36864u);
  EXPECT_EQ((std::string{found[0].m_letter, found[1].m_letter, found[2].m_letter}), "CDE");
  // The partition really holds the file system mkfs.fat wrote.
  std::vector<uint8_t> boot(512);
  ASSERT_TRUE(io.TransferSectors(0x80, found[0].m_start, boot.data(), 512, false));
  EXPECT_EQ(std::string(reinterpret_cast<char *>(&boot[82]), 5), "FAT32");
  std::system((std::string("rm -rf ") + dir).c_str());
}
#endif

} // namespace
