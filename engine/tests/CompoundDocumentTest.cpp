#include "CompoundDocument.h"

#include "CompoundTestDocument.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kSectorsPerCluster = 8;

struct Measured {
  bool m_result = false;
  CompoundFileInfo m_info;
  size_t m_clusterReads = 0; // through the measurement's reader
  uint64_t m_blockReads = 0; // every 512-byte block it looked at
  std::vector<std::string> m_why;
};

// Measures a generated document laid out in consecutive clusters.
Measured Measure(const CompoundTestDocument &document, uint64_t volumeSectors = 1u << 22) {
  const size_t clusterBytes = kSectorsPerCluster * 512;
  auto clusterBytesAt = [&document, clusterBytes](uint64_t index) {
    std::vector<uint8_t> cluster(clusterBytes);
    for (uint32_t s = 0; s < kSectorsPerCluster; ++s) {
      const std::vector<uint8_t> block = document.BlockAt(index * kSectorsPerCluster + s);
      std::copy(block.begin(), block.end(), cluster.begin() + s * 512);
    }
    return cluster;
  };
  const std::vector<uint8_t> hit = clusterBytesAt(0);
  Measured out;
  CompoundDocument measurement(
      hit.data(), kSectorsPerCluster, volumeSectors,
      [&](uint64_t index, uint8_t *buffer) {
        ++out.m_clusterReads;
        const std::vector<uint8_t> cluster = clusterBytesAt(index);
        std::copy(cluster.begin(), cluster.end(), buffer);
        return true;
      },
      [&out](const std::string &why) { out.m_why.push_back(why); });
  out.m_result = measurement.Measure(out.m_info);
  out.m_blockReads = measurement.BlockReads();
  return out;
}

TEST(CompoundDocumentTest, ValidSectorIdsAreInsideTheFatOrSpecial) {
  EXPECT_TRUE(IsValidCompoundSectorId(128, 0));
  EXPECT_TRUE(IsValidCompoundSectorId(128, 128));
  EXPECT_FALSE(IsValidCompoundSectorId(128, 129));
  EXPECT_FALSE(IsValidCompoundSectorId(128, 0xFFFFFFFB));
  EXPECT_TRUE(IsValidCompoundSectorId(128, 0xFFFFFFFC));
  EXPECT_TRUE(IsValidCompoundSectorId(128, 0xFFFFFFFF));
}

struct KindCase {
  const char *m_label;
  std::u16string m_mainName;
  uint32_t m_mainSize;
  uint32_t m_mark;
  uint8_t m_kind;
  uint32_t m_quality;
};

class CompoundKindTest : public ::testing::TestWithParam<KindCase> {};

TEST_P(CompoundKindTest, KindAndMarkComeFromTheMainStream) {
  CompoundTestSpec spec;
  spec.m_mainName = GetParam().m_mainName;
  spec.m_mainSize = GetParam().m_mainSize;
  spec.m_mainMark = GetParam().m_mark;
  const Measured measured = Measure(CompoundTestDocument(spec));
  // A directory whose chain ends without a main stream is no document.
  EXPECT_EQ(measured.m_result, GetParam().m_quality != 0);
  EXPECT_EQ(measured.m_info.m_kind, GetParam().m_kind);
  EXPECT_EQ(measured.m_info.m_quality, GetParam().m_quality);
  // One FAT sector whose used entries end the sector's list: its free tail sets the size.
  EXPECT_GT(measured.m_info.m_size, 512u);
  EXPECT_LE(measured.m_info.m_size, 65536u + 512u);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, CompoundKindTest,
    ::testing::Values(KindCase{"WordMarked", u"WordDocument", 4096, 0xA5EC, 1, 1},
                      KindCase{"WordUnmarked", u"WordDocument", 4096, 0x1234, 1, 3},
                      KindCase{"SmallWorkbookNeedsNoMark", u"Workbook", 3000, 0, 2, 1},
                      KindCase{"BookMarked", u"Book", 4608, 0x0809, 2, 1},
                      KindCase{"PresentationOldMark", u"PowerPoint Document", 4096, 0x0BADDEED, 3, 1},
                      KindCase{"PresentationMark", u"PowerPoint Document", 4096, 0x03E8000F, 3, 1},
                      KindCase{"PresentationUnmarked", u"PowerPoint Document", 4096, 7, 3, 3},
                      KindCase{"NoMainStream", u"Contents", 4096, 0, 0, 0}),
    [](const ::testing::TestParamInfo<KindCase> &info) { return std::string(info.param.m_label); });

class CompoundFatBoundaryTest : public ::testing::TestWithParam<uint32_t> {};

TEST_P(CompoundFatBoundaryTest, LastFatSectorComesFromHeaderOrDifat) {
  CompoundTestSpec spec;
  spec.m_fatSectors = GetParam();
  const Measured measured = Measure(CompoundTestDocument(spec));
  ASSERT_TRUE(measured.m_result);
  EXPECT_EQ(measured.m_info.m_size, GetParam() * 65536u + 512u - 28u * 512u);
  EXPECT_EQ(measured.m_info.m_quality, 1u);
}

INSTANTIATE_TEST_SUITE_P(HeaderDifatEnd, CompoundFatBoundaryTest,
                         ::testing::Values(2u, 109u, 110u, 236u, 237u));

TEST(CompoundDocumentTest, FatLargerThanTheVolumeIsRefusedWithNothingWritten) {
  CompoundTestSpec spec;
  spec.m_fatSectors = 300;
  const Measured measured = Measure(CompoundTestDocument(spec), 38000);
  EXPECT_FALSE(measured.m_result);
  EXPECT_EQ(measured.m_info.m_size, 0u);
  EXPECT_EQ(measured.m_info.m_quality, 0u);
}

TEST(CompoundDocumentTest, NoFatSectorsIsRefused) {
  CompoundTestSpec spec;
  CompoundTestDocument document(spec);
  std::vector<uint8_t> bytes = document.Bytes();
  CompoundFileInfo info;
  WriteLe32(&bytes[0x2C], 0);
  CompoundDocument measurement(bytes.data(), 1, 1u << 20, [](uint64_t, uint8_t *) { return false; });
  EXPECT_FALSE(measurement.Measure(info));
  EXPECT_EQ(info.m_quality, 0u);
}

TEST(CompoundDocumentTest, RootNotFirstIsNoDocument) {
  CompoundTestSpec spec;
  spec.m_rootName = u"Something";
  const Measured measured = Measure(CompoundTestDocument(spec));
  EXPECT_FALSE(measured.m_result);
  EXPECT_EQ(measured.m_info.m_quality, 0u);
  EXPECT_FALSE(measured.m_why.empty());
}

TEST(CompoundDocumentTest, DirectoryEndingBeforeTheSummaryKeepsKindAndSize) {
  CompoundTestSpec spec;
  spec.m_withSummary = false;
  const Measured measured = Measure(CompoundTestDocument(spec));
  EXPECT_FALSE(measured.m_result);
  EXPECT_EQ(measured.m_info.m_quality, 0u);
  EXPECT_EQ(measured.m_info.m_kind, 1u);
  EXPECT_GT(measured.m_info.m_size, 0u);
}

TEST(CompoundDocumentTest, DifatLoopEndsAsNoDocument) {
  CompoundTestSpec spec;
  spec.m_fatSectors = 400;
  spec.m_difatLoop = true;
  const Measured measured = Measure(CompoundTestDocument(spec));
  EXPECT_FALSE(measured.m_result);
  EXPECT_EQ(measured.m_info.m_quality, 0u);
}

TEST(CompoundDocumentTest, MiniSectorBeyondTheMiniFatIsNoDocument) {
  CompoundTestSpec spec;
  spec.m_summaryStart = 5000;
  const Measured measured = Measure(CompoundTestDocument(spec));
  EXPECT_FALSE(measured.m_result);
  EXPECT_EQ(measured.m_info.m_quality, 0u);
}

TEST(CompoundDocumentTest, LargeSummaryStreamChainIsWalkedThroughTheFat) {
  CompoundTestSpec spec;
  spec.m_summarySize = 5000; // names sector 0, a FAT sector whose entry is the FAT mark
  const Measured measured = Measure(CompoundTestDocument(spec));
  EXPECT_TRUE(measured.m_result);
}

TEST(CompoundDocumentTest, ClustersAreReadOncePerMeasurement) {
  CompoundTestSpec spec;
  spec.m_fatSectors = 110;
  const Measured measured = Measure(CompoundTestDocument(spec));
  ASSERT_TRUE(measured.m_result);
  // The document spans a handful of clusters; each is fetched once although
  // the walks revisit the FAT many times.
  EXPECT_LE(measured.m_clusterReads, 20u);
}

// Crafted documents whose chains loop or run on: each measurement stops
// where the chain comes back to a sector it has visited, or where it would
// hold more sectors than the document does, reads a few blocks more than
// the sound document does, and answers as for a chain that names an id
// outside the document: quality 0, the kind and size found before kept.
struct CraftedCase {
  const char *m_label;
  std::u16string m_mainName;
  uint32_t m_mainSize;
  void (*m_craft)(CompoundTestDocument &document);
  uint8_t m_kind;
  uint32_t m_size;
};

void PrintTo(const CraftedCase &row, std::ostream *out) {
  *out << row.m_label;
}

class CompoundCraftedTest : public ::testing::TestWithParam<CraftedCase> {};

TEST_P(CompoundCraftedTest, BrokenChainIsMeasuredWithFewReads) {
  CompoundTestSpec spec;
  spec.m_mainName = GetParam().m_mainName;
  spec.m_mainSize = GetParam().m_mainSize;
  const Measured sound = Measure(CompoundTestDocument(spec));
  ASSERT_TRUE(sound.m_result);
  CompoundTestDocument document(spec);
  GetParam().m_craft(document);
  const Measured crafted = Measure(document);
  EXPECT_FALSE(crafted.m_result);
  EXPECT_EQ(crafted.m_info.m_quality, 0u);
  EXPECT_EQ(crafted.m_info.m_kind, GetParam().m_kind);
  EXPECT_EQ(crafted.m_info.m_size, GetParam().m_size);
  EXPECT_FALSE(crafted.m_why.empty());
  EXPECT_LE(crafted.m_blockReads, 4 * sound.m_blockReads) << sound.m_blockReads;
  EXPECT_LE(crafted.m_clusterReads, sound.m_clusterReads + 1);
}

// A word-processor document of the generator: FAT sector 0, directory 1,
// main stream 2..9, mini FAT 10, mini stream 11; 12 sectors, 6,656 bytes. A
// spreadsheet whose small stream lies in the mini stream: mini FAT 2, mini
// stream 3; 2,560 bytes.
constexpr uint32_t kWordSize = 6656;
constexpr uint32_t kSheetSize = 2560;
constexpr uint32_t kWholeFatSize = 65536 + 512; // a FAT sector with no free tail

INSTANTIATE_TEST_SUITE_P(
    Chains, CompoundCraftedTest,
    ::testing::Values(
        // A FAT sector of zeros makes every chain 0, 0, 0, ...: a summary
        // far into the mini stream once walked 2^20 steps of it.
        CraftedCase{"ZeroFatSector", u"Workbook", 3000,
                    [](CompoundTestDocument &d) {
                      d.ZeroBlock(1);
                      d.SetHeader(0x40, 0xFFFFFFFF);
                      d.SetStream(2, 0x7FFFF8, 200);
                    },
                    2, kWholeFatSize},
        CraftedCase{"ZeroFatSectorNearTheStart", u"Workbook", 3000,
                    [](CompoundTestDocument &d) {
                      d.ZeroBlock(1);
                      d.SetHeader(0x40, 8);
                      d.SetStream(2, 128 * 5, 200);
                    },
                    2, kWholeFatSize},
        // The mini FAT's own sectors in the FAT: 2 -> 3 -> 2.
        CraftedCase{"MiniFatSectorsLoop", u"Workbook", 3000,
                    [](CompoundTestDocument &d) {
                      d.SetHeader(0x40, 4);
                      d.SetFatEntry(d.MiniFatSector(), d.MiniStreamSector());
                      d.SetFatEntry(d.MiniStreamSector(), d.MiniFatSector());
                      d.SetStream(2, 128 * 3, 200);
                    },
                    2, kSheetSize},
        // The summary's mini sectors in the mini FAT: 0 -> 1 -> 0.
        CraftedCase{"MiniChainLoop", u"Workbook", 3000,
                    [](CompoundTestDocument &d) { d.SetMiniFatEntry(1, 0); }, 2, kSheetSize},
        // The table walk of a word-processor document: 1 -> 1, and 1 -> 11 -> 1.
        CraftedCase{"DirectoryNamesItself", u"WordDocument", 4096,
                    [](CompoundTestDocument &d) { d.SetFatEntry(d.DirectorySector(), d.DirectorySector()); },
                    1, kWordSize},
        CraftedCase{"DirectoryTwoSectorLoop", u"WordDocument", 4096,
                    [](CompoundTestDocument &d) {
                      d.SetFatEntry(d.DirectorySector(), d.MiniStreamSector());
                      d.SetFatEntry(d.MiniStreamSector(), d.DirectorySector());
                    },
                    1, kWordSize},
        // A summary stream said to be 4 GB, far more than the document holds,
        // whose chain runs through the document's sectors and round again.
        CraftedCase{"ChainLongerThanTheFile", u"Workbook", 3000,
                    [](CompoundTestDocument &d) {
                      d.SetFatEntry(d.MiniFatSector(), d.MiniStreamSector());
                      d.SetFatEntry(d.MiniStreamSector(), d.DirectorySector());
                      d.SetFatEntry(d.DirectorySector(), d.MiniFatSector());
                      d.SetStream(2, d.MiniFatSector(), 0xFFFFFF00);
                    },
                    2, kSheetSize}),
    [](const ::testing::TestParamInfo<CraftedCase> &info) { return std::string(info.param.m_label); });

} // namespace
