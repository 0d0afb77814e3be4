// Boot-sector checks and the FAT kind, on boot sectors written by mkfs.fat with
// one field changed at a time, and the FAT entry decoding at the copy's end.
#include "FatBootSector.h"
#include "FatTable.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// A boot sector as mkfs.fat wrote it (made by make-fat-images.sh); empty when
// the fixtures are not there.
std::vector<uint8_t> MkfsBootSector(const std::string &name) {
  const char *dir = std::getenv("QV_FIXTURES");
  if (!dir) return {};
  std::FILE *file = std::fopen((std::string(dir) + "/fat/boot-" + name + ".bin").c_str(), "rb");
  if (!file) return {};
  std::vector<uint8_t> sector(512);
  if (std::fread(sector.data(), 1, 512, file) != 512) sector.clear();
  std::fclose(file);
  return sector;
}

struct KindCase {
  const char *m_name; // mkfs.fat options in short
  FatKind m_kind;
};

class FatBootKinds : public ::testing::TestWithParam<KindCase> {};

// The kind follows the cluster count, whatever the cluster size or the
// number of reserved sectors.
TEST_P(FatBootKinds, KindFollowsTheClusterCount) {
  const KindCase &c = GetParam();
  const std::vector<uint8_t> boot = MkfsBootSector(c.m_name);
  if (boot.empty()) GTEST_SKIP() << "QV_FIXTURES not set: no mkfs.fat boot sectors";
  BootParameters p;
  const BootCheck check = DeriveFatKind(boot.data(), boot.size(), p);
  ASSERT_EQ(check.m_result, ParseResult::Ok) << check.m_reason;
  EXPECT_EQ(p.m_kind, c.m_kind) << c.m_name << " clusters " << p.m_clusterCount;
  EXPECT_GE(p.FirstDataSector() + uint64_t{p.m_clusterCount} * p.m_sectorsPerCluster, p.FirstDataSector());
  EXPECT_LE(p.FirstDataSector() + uint64_t{p.m_clusterCount} * p.m_sectorsPerCluster, p.m_totalSectors);
}

INSTANTIATE_TEST_SUITE_P(
    Mkfs, FatBootKinds,
    ::testing::Values(KindCase{"fat12", FatKind::Fat12}, KindCase{"fat12-s64", FatKind::Fat12},
                      KindCase{"fat12-s16-r40", FatKind::Fat12}, KindCase{"fat16-s1", FatKind::Fat16},
                      KindCase{"fat16-s64", FatKind::Fat16}, KindCase{"fat16-f1-a", FatKind::Fat16},
                      KindCase{"fat32-s1", FatKind::Fat32}, KindCase{"fat32-s1-a", FatKind::Fat32}),
    [](const auto &info) {
      std::string name = info.param.m_name;
      for (char &ch : name)
        if (ch == '-') ch = '_';
      return name;
    });

std::vector<uint8_t> Fat32Boot() {
  return MkfsBootSector("fat32-s1");
}

struct FlipCase {
  const char *m_what;
  size_t m_offset;
  uint32_t m_value;
  int m_width; // 1, 2 or 4 bytes
  ParseResult m_result;
};

class FatBootFlips : public ::testing::TestWithParam<FlipCase> {};

TEST_P(FatBootFlips, SaysWhichCheckFailed) {
  const FlipCase &c = GetParam();
  std::vector<uint8_t> boot = Fat32Boot();
  if (boot.empty()) GTEST_SKIP() << "QV_FIXTURES not set: no mkfs.fat boot sectors";
  if (c.m_width == 1) boot[c.m_offset] = static_cast<uint8_t>(c.m_value);
  if (c.m_width == 2) WriteLe16(&boot[c.m_offset], static_cast<uint16_t>(c.m_value));
  if (c.m_width == 4) WriteLe32(&boot[c.m_offset], c.m_value);
  BootParameters p;
  const BootCheck check = DeriveFatKind(boot.data(), boot.size(), p);
  EXPECT_EQ(check.m_result, c.m_result) << c.m_what;
  if (c.m_result != ParseResult::Ok) {
    EXPECT_FALSE(check.m_reason.empty()) << c.m_what;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Fields, FatBootFlips,
    ::testing::Values(FlipCase{"sectors per cluster 3", 13, 3, 1, ParseResult::NotThisStructure},
                      FlipCase{"sectors per cluster 0", 13, 0, 1, ParseResult::NotThisStructure},
                      FlipCase{"bytes per sector 1024", 11, 1024, 2, ParseResult::NotThisStructure},
                      FlipCase{"no reserved sectors", 14, 0, 2, ParseResult::NotThisStructure},
                      FlipCase{"no FATs", 16, 0, 1, ParseResult::NotThisStructure},
                      FlipCase{"media byte 0x12", 21, 0x12, 1, ParseResult::NotThisStructure},
                      FlipCase{"FAT size 0", 36, 0, 4, ParseResult::Corrupt},
                      FlipCase{"root cluster 1", 44, 1, 4, ParseResult::Corrupt},
                      FlipCase{"root cluster past the end", 44, 0x0FFFFFF0, 4, ParseResult::Corrupt},
                      FlipCase{"fixed root on FAT32", 17, 512, 2, ParseResult::Corrupt},
                      FlipCase{"sector count 0", 32, 0, 4, ParseResult::Corrupt},
                      FlipCase{"FAT past the volume", 36, 0x7FFFFFF, 4, ParseResult::Corrupt},
                      // FAT sizes the old limits turned away: a FAT32 volume of 2 TB has a FAT of far more
                      // than 80000 sectors, a small one fewer than 277.
                      FlipCase{"FAT size 276", 36, 276, 4, ParseResult::Ok},
                      FlipCase{"FAT size 200000 on a large volume", 32, 0xF0000000u, 4, ParseResult::Ok}));

TEST(FatBootSector, ShortInputIsNotABootSector) {
  std::array<uint8_t, 100> bytes{};
  BootParameters p;
  EXPECT_EQ(DeriveFatKind(bytes.data(), bytes.size(), p).m_result, ParseResult::NotThisStructure);
  EXPECT_EQ(DeriveFatKind(nullptr, 512, p).m_result, ParseResult::NotThisStructure);
}

// A FAT12 copy holds 1.5 bytes per entry: the last entry that fits is decoded,
// the next is refused rather than read past the copy (AddressSanitizer checks).
TEST(FatTable, Fat12EntriesStopAtTheEndOfTheCopy) {
  std::vector<uint8_t> bytes(512, 0);
  // Entries 340 (even) and 341 (odd) share bytes 510..511 and one past: only 340 fits.
  bytes[510] = 0x34;
  bytes[511] = 0x12;
  const FatTable table(FatKind::Fat12, 400, bytes);
  ASSERT_TRUE(table.Entry(340).has_value());
  EXPECT_EQ(*table.Entry(340), 0x234u);
  EXPECT_FALSE(table.Entry(341).has_value());
  EXPECT_FALSE(table.Entry(0xFFFFFFFFu).has_value());
  // The map of the clusters the copy describes, and no more.
  const ClusterMap map = table.BuildClusterMap();
  EXPECT_TRUE(map.IsInUse(340));
  EXPECT_FALSE(map.IsInUse(339));
  EXPECT_TRUE(map.IsInUse(401)); // past the volume
}

TEST(FatTable, DecodesEachWidthAndMasksFat32) {
  std::vector<uint8_t> bytes(512, 0);
  // FAT12: entries 2 and 3 in bytes 3..5 = 0x003, 0xFFF.
  bytes[3] = 0x03;
  bytes[4] = 0xF0;
  bytes[5] = 0xFF;
  EXPECT_EQ(*FatTable(FatKind::Fat12, 100, bytes).Entry(2), 0x003u);
  EXPECT_EQ(*FatTable(FatKind::Fat12, 100, bytes).Entry(3), 0xFFFu);
  std::vector<uint8_t> wide(512, 0);
  WriteLe16(&wide[4], 0xFFF7);
  EXPECT_EQ(*FatTable(FatKind::Fat16, 200, wide).Entry(2), 0xFFF7u);
  WriteLe32(&wide[8], 0xF0000005);
  const FatTable fat32(FatKind::Fat32, 100, wide);
  EXPECT_EQ(*fat32.Entry(2), 5u); // the top four bits are reserved
  // Bad clusters are not in use; the end mark is.
  EXPECT_FALSE(FatTable(FatKind::Fat16, 200, wide).BuildClusterMap().IsInUse(2));
}

// The next free cluster passes over whole words in use and single clusters
// alike, and says so when none is left.
TEST(FatTable, NextFreeClusterPassesOverUsedStretches) {
  ClusterMap map(300);
  for (uint32_t c = 2; c < 200; ++c) map.MarkInUse(c);
  map.MarkInUse(201);
  EXPECT_EQ(map.NextFree(0), 200u);
  EXPECT_EQ(map.NextFree(201), 202u);
  EXPECT_EQ(map.NextFree(300), 300u);
  // Counting free clusters: 200, then 202 on; none below 200.
  EXPECT_EQ(map.AfterFree(2, 1), 201u);
  EXPECT_EQ(map.AfterFree(2, 2), 203u);
  EXPECT_EQ(map.AfterFree(64, 50), 251u);
  EXPECT_EQ(map.AfterFree(202, 99), 301u);
  EXPECT_EQ(map.AfterFree(202, 100), 301u); // only 99 free from 202 to 300
  EXPECT_EQ(map.AfterFree(250, 0), 250u);
  for (uint32_t c = 200; c <= 300; ++c) map.MarkInUse(c);
  EXPECT_EQ(map.NextFree(2), 301u);
  EXPECT_EQ(map.NextFree(5000), 301u);
}

} // namespace
