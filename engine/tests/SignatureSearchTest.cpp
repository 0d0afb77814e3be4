#include "SignatureSearch.h"

#include "ByteOrder.h"
#include "CompoundTestDocument.h"
#include "RecordingServices.h"
#include "SignatureMatch.h"
#include "SignatureTestSpace.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <random>

namespace {

// ---- MatchHeader -----------------------------------------------------------

struct MatchCase {
  const char *m_label;
  std::vector<HeaderRecord> m_headers;
  std::vector<uint8_t> m_bytes;
  size_t m_length;
  bool m_expected;
  std::u16string m_extension;
};

std::vector<uint8_t> Sector(std::vector<uint8_t> start, size_t at = 0) {
  std::vector<uint8_t> sector(512, 0);
  std::copy(start.begin(), start.end(), sector.begin() + at);
  return sector;
}

std::vector<uint8_t> Bitmap(uint32_t size) {
  std::vector<uint8_t> sector = Sector(kBmpStart);
  WriteLe32(&sector[2], size);
  return sector;
}

HeaderRecord TooLong() {
  HeaderRecord header = MakeHeader(u"LONG", {1, 2, 3, 4, 5, 6, 7, 8});
  header.m_signatureLength = 12;
  return header;
}

class MatchHeaderTest : public ::testing::TestWithParam<MatchCase> {};

TEST_P(MatchHeaderTest, FirstFittingSignatureDecides) {
  const MatchCase &c = GetParam();
  std::u16string extension = u"untouched";
  HeaderRecord record;
  EXPECT_EQ(MatchHeader(c.m_headers, c.m_bytes.data(), c.m_length, &extension, &record), c.m_expected);
  EXPECT_EQ(extension, c.m_extension);
  // The index the searches use gives the same answer.
  std::u16string indexed = u"untouched";
  EXPECT_EQ(SignatureIndex(c.m_headers).Match(c.m_bytes.data(), c.m_length, &indexed, nullptr), c.m_expected);
  EXPECT_EQ(indexed, c.m_extension);
}

// Many overlapping signatures at a few offsets, sectors with some of them
// planted: the index finds the same first record as the walk in list order.
TEST(SignatureIndexTest, SameFirstMatchAsTheListWalk) {
  std::mt19937 random(7);
  auto byte = [&random] { return static_cast<uint8_t>(random() % 4); }; // few values: many overlaps
  std::vector<HeaderRecord> headers;
  for (int i = 0; i < 120; ++i) {
    std::vector<uint8_t> signature(1 + random() % 4);
    for (uint8_t &b : signature) b = byte();
    const uint32_t offsets[] = {0, 1, 4, 8, 508, 510};
    HeaderRecord header = MakeHeader(i % 17 == 0 ? u"BMP" : Widen("T" + std::to_string(i)), signature, 1,
                                     offsets[random() % 6]);
    if (i % 29 == 0) header.m_signatureLength = 0; // matches nothing either way
    headers.push_back(header);
  }
  const SignatureIndex index(headers);
  size_t hits = 0;
  for (int n = 0; n < 4000; ++n) {
    std::vector<uint8_t> sector(512);
    for (uint8_t &b : sector) b = byte();
    const size_t length = n % 10 == 0 ? random() % 512 : 512;
    std::u16string walked = u"-", indexed = u"-";
    HeaderRecord walkedRecord, indexedRecord;
    const bool expected = MatchHeader(headers, sector.data(), length, &walked, &walkedRecord);
    ASSERT_EQ(index.Match(sector.data(), length, &indexed, &indexedRecord), expected) << n;
    ASSERT_EQ(indexed, walked) << n;
    ASSERT_TRUE(indexedRecord == walkedRecord) << n;
    hits += expected;
  }
  EXPECT_GT(hits, 1000u);
}

// The quick test the scans run first never turns away a sector the full
// test would take: signatures of every length at offsets on both sides of a
// cache line and at the sector's last bytes, planted in sectors of bytes of
// the whole range; and it does turn away most sectors of noise.
TEST(SignatureIndexTest, QuickTestLetsEveryMatchThrough) {
  std::mt19937 random(11);
  auto byte = [&random] { return static_cast<uint8_t>(random()); };
  const uint32_t offsets[] = {0, 1, 2, 62, 63, 64, 257, 509, 510, 511};
  std::vector<HeaderRecord> headers;
  for (int i = 0; i < 80; ++i) {
    const uint32_t offset = offsets[i % 10];
    std::vector<uint8_t> signature(1 + random() % std::min<uint32_t>(8, 512 - offset));
    for (uint8_t &b : signature) b = byte();
    headers.push_back(MakeHeader(Widen("T" + std::to_string(i)), signature, 1, offset));
  }
  const SignatureIndex index(headers);
  size_t passed = 0;
  for (int n = 0; n < 6000; ++n) {
    std::vector<uint8_t> sector(512);
    for (uint8_t &b : sector) b = byte();
    if (n < 4000) {
      const HeaderRecord &planted = headers[n % headers.size()];
      std::memcpy(&sector[planted.m_offset], planted.m_signature, planted.m_signatureLength);
    }
    std::u16string walked = u"-", indexed = u"-";
    const bool expected = MatchHeader(headers, sector.data(), 512, &walked, nullptr);
    if (expected) {
      ASSERT_TRUE(index.MayMatch(sector.data(), 512)) << n;
    }
    ASSERT_EQ(index.Match(sector.data(), 512, &indexed, nullptr), expected) << n;
    ASSERT_EQ(indexed, walked) << n;
    if (n >= 4000) passed += index.MayMatch(sector.data(), 512);
  }
  EXPECT_LT(passed, 1000u); // of 2,000 sectors of noise
}

// A user's signature may begin at the sector's last byte and run past it:
// the bytes a scan compares to skip a sector like the last are the sector's.
TEST(SignatureIndexTest, TheSpanThatDecidesStaysInsideTheSector) {
  const std::vector<HeaderRecord> headers = {MakeHeader(u"ZER", {0, 0}),
                                             MakeHeader(u"END", {1, 2, 3, 4, 5, 6, 7, 8}, 1, 511)};
  EXPECT_EQ(SignatureIndex(headers).MatchSpan(), 512u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MatchHeaderTest,
    ::testing::Values(
        MatchCase{"NoSignaturesChosen", {}, Sector(kJpegStart), 512, false, u"untouched"},
        MatchCase{"JpegMatches",
                  {MakeHeader(u"PDF", kPdfStart), MakeHeader(u"JPG", kJpegStart)},
                  Sector(kJpegStart),
                  512,
                  true,
                  u"JPG"},
        MatchCase{"ListOrderDecides",
                  {MakeHeader(u"FF", {0xFF}), MakeHeader(u"JPG", kJpegStart)},
                  Sector(kJpegStart),
                  512,
                  true,
                  u"FF"},
        // A record no valid signature file holds must not make every cluster a hit.
        MatchCase{"EmptySignatureMatchesNothing",
                  {MakeHeader(u"ANY", {}), MakeHeader(u"JPG", kJpegStart)},
                  Sector(kJpegStart),
                  512,
                  true,
                  u"JPG"},
        MatchCase{"OffsetSignature",
                  {MakeHeader(u"TAR", {'u', 's', 't', 'a', 'r'}, 1, 257)},
                  Sector({'u', 's', 't', 'a', 'r'}, 257),
                  512,
                  true,
                  u"TAR"},
        MatchCase{"SignaturePastTheBytesReadNeverMatches",
                  {MakeHeader(u"END", {0, 0, 0, 0}, 1, 510)},
                  Sector({}),
                  512,
                  false,
                  u"untouched"},
        MatchCase{"ShortReadNeverMatchesBeyondIt",
                  {MakeHeader(u"PDF", kPdfStart)},
                  Sector(kPdfStart),
                  4,
                  false,
                  u"untouched"},
        MatchCase{"LengthAboveEightMatchesNothing",
                  {TooLong()},
                  Sector({1, 2, 3, 4, 5, 6, 7, 8, 99}),
                  512,
                  false,
                  u"untouched"},
        MatchCase{"PlausibleBitmap", {MakeHeader(u"BMP", kBmpStart)}, Bitmap(0x13FFFFF), 512, true, u"BMP"},
        MatchCase{"HugeBitmapIsNoHitEvenWithALaterMatch",
                  {MakeHeader(u"BMP", kBmpStart), MakeHeader(u"B", {'B'})},
                  Bitmap(0x1400000),
                  512,
                  false,
                  u"BMP"},
        MatchCase{"LowerCaseBmpIsNotSizeChecked",
                  {MakeHeader(u"bmp", kBmpStart)},
                  Bitmap(0x7FFFFFFF),
                  512,
                  true,
                  u"bmp"}),
    [](const ::testing::TestParamInfo<MatchCase> &info) { return std::string(info.param.m_label); });

// ---- batch size ------------------------------------------------------------

TEST(SignatureSearchTest, ClustersPerBatchIsNeverZero) {
  const std::map<std::pair<uint32_t, uint32_t>, uint32_t> cases{
      {{1024, 1}, 1024}, {{1024, 8}, 128}, {{1024, 128}, 8}, {{64, 64}, 1}, {{64, 128}, 1}, {{64, 0}, 1}};
  for (const auto &c : cases)
    EXPECT_EQ(SignatureClustersPerBatch(c.first.first, c.first.second), c.second)
        << c.first.first << " sectors, " << c.first.second << " per cluster";
}

// ---- the pass --------------------------------------------------------------

struct PassRun {
  RecordingServices m_services;
  std::vector<SignatureHit> m_hits;
  bool m_finished = false;

  std::map<uint64_t, SignatureHit> ByCluster() const {
    std::map<uint64_t, SignatureHit> out;
    for (const SignatureHit &hit : m_hits) out[hit.m_cluster] = hit;
    return out;
  }
};

void RunPass(MemoryClusterSpace &space, PassRun &run, uint32_t batchSectors = kSignatureBatchSectorsNt,
             bool unknownKindIsDocument = false) {
  SignaturePassOptions options;
  options.m_batchSectors = batchSectors;
  options.m_unknownKindIsDocument = unknownKindIsDocument;
  SignatureSearch pass(
      space, run.m_services,
      [&run] {
        run.m_services.PumpMessages();
        return run.m_services.StopRequested();
      },
      options);
  run.m_finished = pass.Run(run.m_hits);
}

TEST(SignatureSearchTest, FreeClustersFromTwoOnAreTested) {
  MemoryClusterSpace space(4, 64);
  for (uint64_t c : {0, 1, 5, 9, 20}) space.Put(c, kJpegStart);
  space.m_used.insert(9);
  PassRun run;
  run.m_services.m_selectedHeaders = {MakeHeader(u"JPG", kJpegStart, 0)};
  RunPass(space, run);
  ASSERT_TRUE(run.m_finished);
  ASSERT_EQ(run.m_hits.size(), 2u);
  EXPECT_EQ(run.m_hits[0].m_cluster, 5u);
  EXPECT_EQ(run.m_hits[1].m_cluster, 20u);
  // A largest size of 0: exactly one cluster.
  EXPECT_EQ(run.m_hits[0].m_size, 4u * 512u);
  EXPECT_EQ(run.m_hits[0].m_grade, RecoveryGrade::NotApplicable);
}

TEST(SignatureSearchTest, GrowthPassesOverUsedClustersAndStopsAtTheNextSignature) {
  MemoryClusterSpace space(2, 64);
  space.Put(10, kJpegStart);
  space.m_used.insert(11);
  space.Put(14, kPdfStart);
  PassRun run;
  run.m_services.m_selectedHeaders = {MakeHeader(u"JPG", kJpegStart), MakeHeader(u"PDF", kPdfStart, 2048)};
  RunPass(space, run);
  const auto hits = run.ByCluster();
  ASSERT_EQ(hits.size(), 2u);
  // 10, then 12 and 13 (11 is used), stopped by the signature at 14.
  EXPECT_EQ(hits.at(10).m_size, 3u * 1024u);
  EXPECT_EQ(hits.at(10).m_extension, u"JPG");
  EXPECT_EQ(hits.at(14).m_size, 2048u);
}

TEST(SignatureSearchTest, GrowthEndsAtTheLastCluster) {
  MemoryClusterSpace space(1, 40);
  space.Put(36, kZipStart);
  PassRun run;
  run.m_services.m_selectedHeaders = {MakeHeader(u"ZIP", kZipStart, 1 << 20)};
  RunPass(space, run);
  ASSERT_EQ(run.m_hits.size(), 1u);
  EXPECT_EQ(run.m_hits[0].m_size, 4u * 512u);
}

TEST(SignatureSearchTest, BitmapTakesItsOwnSize) {
  MemoryClusterSpace space(1, 16);
  space.Put(3, Bitmap(123456));
  PassRun run;
  run.m_services.m_selectedHeaders = {MakeHeader(u"BMP", kBmpStart)};
  RunPass(space, run);
  ASSERT_EQ(run.m_hits.size(), 1u);
  EXPECT_EQ(run.m_hits[0].m_size, 123456u);
}

struct BatchCase {
  uint32_t m_spc;
  uint64_t m_clusters;
  uint32_t m_batchSectors;
};

class SignatureBatchTest : public ::testing::TestWithParam<BatchCase> {};

// Every signature is found once, whatever the cluster size, batch size and
// volume length (a last batch cut short must not show the batch before it again).
TEST_P(SignatureBatchTest, EachSignatureIsOneHit) {
  const BatchCase c = GetParam();
  MemoryClusterSpace space(c.m_spc, c.m_clusters);
  std::vector<uint64_t> expected;
  for (uint64_t cluster = 2; cluster < c.m_clusters; cluster += 7) {
    space.Put(cluster, kJpegStart);
    expected.push_back(cluster);
  }
  space.Put(c.m_clusters - 1, kJpegStart);
  if (expected.back() != c.m_clusters - 1) expected.push_back(c.m_clusters - 1);
  PassRun run;
  run.m_services.m_selectedHeaders = {MakeHeader(u"JPG", kJpegStart, 0)};
  RunPass(space, run, c.m_batchSectors);
  std::vector<uint64_t> found;
  for (const SignatureHit &hit : run.m_hits) found.push_back(hit.m_cluster);
  EXPECT_EQ(found, expected);
  // Nothing past the last cluster is read.
  EXPECT_LE(space.m_sectorsRead, c.m_clusters * c.m_spc);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SignatureBatchTest,
                         ::testing::Values(BatchCase{1, 1000, 64}, BatchCase{1, 2051, 1024},
                                           BatchCase{8, 301, 1024}, BatchCase{128, 21, 1024},
                                           BatchCase{128, 21, 64}, BatchCase{64, 19, 64}));

TEST(SignatureSearchTest, FailedBatchFallsBackToSingleClusters) {
  MemoryClusterSpace space(1, 200);
  space.Put(40, kJpegStart);
  space.Put(42, kJpegStart);
  space.m_failing.insert(41);
  PassRun run;
  run.m_services.SetText(SignatureText::kErrorReadingCluster, u"Error reading cluster :");
  run.m_services.m_selectedHeaders = {MakeHeader(u"JPG", kJpegStart, 0)};
  RunPass(space, run, 64);
  ASSERT_EQ(run.m_hits.size(), 2u);
  EXPECT_EQ(run.m_hits[1].m_cluster, 42u);
  EXPECT_TRUE(run.m_services.LogContains(u"Error reading cluster : 41"));
}

TEST(SignatureSearchTest, GrowthInsideTheBatchReadsNothingMore) {
  MemoryClusterSpace space(1, 100);
  space.Put(10, kJpegStart);
  PassRun run;
  run.m_services.m_selectedHeaders = {MakeHeader(u"JPG", kJpegStart, 20 * 512)};
  RunPass(space, run, 64);
  ASSERT_EQ(run.m_hits.size(), 1u);
  EXPECT_EQ(run.m_hits[0].m_size, 20u * 512u);
  EXPECT_EQ(space.m_reads, 2u); // the two batches (2..65, 66..99)
}

// Zero-filled sectors pass the quick test of signatures that begin with
// zeros, and the pass remembers the last sector that matched nothing: a
// sector that differs from it inside the signatures' bytes is still tested
// (one right after such a miss too), one that differs only past them is not
// a hit, with or without clusters in use.
TEST(SignatureSearchTest, ZeroFilledSectorsAroundSignaturesThatBeginWithZeros) {
  struct DiskSpace : MemoryClusterSpace {
    using MemoryClusterSpace::MemoryClusterSpace;
    bool HasUsedClusters() const override { return false; }
  };
  const std::vector<uint8_t> mpeg{0, 0, 1, 0xBA};
  const std::vector<uint8_t> jp2{0, 0, 0, 0x0C, 0x6A, 0x50, 0x20, 0x20};
  for (bool disk : {false, true}) {
    std::unique_ptr<MemoryClusterSpace> space =
        disk ? std::make_unique<DiskSpace>(1, 3000) : std::make_unique<MemoryClusterSpace>(1, 3000);
    space->Put(10, mpeg);
    space->Put(20, {0, 0, 1, 0xBB});
    space->Put(21, mpeg);
    space->Cluster(30)[300] = 0xBA; // past every signature's bytes
    space->Put(40, jp2);
    space->Put(41, {0, 0, 0, 0x0C, 0x6A, 0x50, 0x20, 0x21});
    space->Put(2500, {0, 0, 0, 0x0C, 0x6A, 0x50, 0x20});
    space->Put(2501, jp2);
    PassRun run;
    run.m_services.m_selectedHeaders = {MakeHeader(u"MPG", mpeg, 0), MakeHeader(u"JP2", jp2, 0)};
    RunPass(*space, run);
    ASSERT_TRUE(run.m_finished);
    std::vector<uint64_t> found;
    for (const SignatureHit &hit : run.m_hits) found.push_back(hit.m_cluster);
    EXPECT_EQ(found, (std::vector<uint64_t>{10, 21, 40, 2501})) << (disk ? "disk" : "volume");
  }
}

TEST(SignatureSearchTest, StopEndsThePass) {
  MemoryClusterSpace space(1, 5000);
  PassRun run;
  run.m_services.m_selectedHeaders = {MakeHeader(u"JPG", kJpegStart, 0)};
  run.m_services.StopAfterPumps(10);
  RunPass(space, run, 64);
  EXPECT_FALSE(run.m_finished);
}

TEST(SignatureSearchTest, CompoundHitIsMeasuredAndRenamed) {
  CompoundTestSpec spec;
  spec.m_mainName = u"Workbook";
  spec.m_mainSize = 3000;
  CompoundTestDocument document(spec);
  MemoryClusterSpace space(1, 4000);
  space.Put(100, document.Bytes());
  PassRun run;
  run.m_services.m_selectedHeaders = {MakeHeader(u"DOC", kCompoundStart)};
  RunPass(space, run);
  ASSERT_EQ(run.m_hits.size(), 1u);
  EXPECT_EQ(run.m_hits[0].m_extension, u"XLS");
  EXPECT_EQ(run.m_hits[0].m_grade, RecoveryGrade::VeryGood);
  EXPECT_GT(run.m_hits[0].m_size, document.Bytes().size() - 1024);
}

TEST(SignatureSearchTest, BrokenCompoundHitIsPoorAndGrowsWhenUnmeasured) {
  MemoryClusterSpace space(1, 400);
  space.Put(100, kCompoundStart); // no FAT sectors: refused, size 0
  space.Put(110, kPdfStart);
  PassRun run;
  run.m_services.m_selectedHeaders = {MakeHeader(u"DOC", kCompoundStart, 1 << 20),
                                      MakeHeader(u"PDF", kPdfStart)};
  RunPass(space, run);
  const auto hits = run.ByCluster();
  ASSERT_EQ(hits.count(100), 1u);
  EXPECT_EQ(hits.at(100).m_grade, RecoveryGrade::Poor);
  EXPECT_EQ(hits.at(100).m_extension, u"DOC");
  EXPECT_EQ(hits.at(100).m_size, 9u * 512u); // 101 .. 109, stopped by the PDF
}

// Documents whose FAT sector is zeros, so that every chain of them loops on
// sector 0, packed one every 16 sectors: the pass reads about what it reads
// when their root entries are spoiled (each refused at its first check),
// counted through the space the engines read by, and grades each Poor. The
// FAT engine and the disk scan list them under their type, the NTFS engine
// as documents.
TEST(SignatureSearchTest, LoopingDocumentsCostThePassAboutWhatSpoiledOnesDo) {
  const CompoundTestDocument document = LoopingCompoundDocument();
  for (bool unknownKindIsDocument : {false, true}) {
    uint64_t sectorsRead[2] = {};
    for (bool spoiled : {false, true}) {
      MemoryClusterSpace space(1, 64 * 16);
      std::vector<uint8_t> bytes = document.Bytes();
      if (spoiled) bytes[(document.DirectorySector() + 1) * 512] = 'X'; // "Xoot Entry"
      for (uint64_t at = 0; at < 64; ++at) space.Put(2 + at * 16, bytes);
      PassRun run;
      run.m_services.m_selectedHeaders = {MakeHeader(u"XLS", kCompoundStart, 0)};
      RunPass(space, run, kSignatureBatchSectorsNt, unknownKindIsDocument);
      EXPECT_EQ(run.m_hits.size(), 64u);
      for (const SignatureHit &hit : run.m_hits) {
        EXPECT_EQ(hit.m_grade, RecoveryGrade::Poor);
        EXPECT_EQ(hit.m_extension, spoiled && unknownKindIsDocument ? u"DOC" : u"XLS");
      }
      sectorsRead[spoiled] = space.m_sectorsRead;
    }
    EXPECT_LE(sectorsRead[0], 2 * sectorsRead[1]) << sectorsRead[0] << " against " << sectorsRead[1];
  }
}

TEST(SignatureSearchTest, DocumentOfNoKnownKindKeepsOrLosesItsMatchedType) {
  for (bool unknownKindIsDocument : {false, true}) {
    MemoryClusterSpace space(1, 400);
    space.Put(100, kCompoundStart);
    PassRun run;
    run.m_services.m_selectedHeaders = {MakeHeader(u"PPT", kCompoundStart, 0)};
    RunPass(space, run, kSignatureBatchSectorsNt, unknownKindIsDocument);
    ASSERT_EQ(run.m_hits.size(), 1u);
    EXPECT_EQ(run.m_hits[0].m_extension, unknownKindIsDocument ? u"DOC" : u"PPT");
    EXPECT_EQ(run.m_hits[0].m_size, 0u);
  }
}

// ---- growth served from memory or read alone --------------------------------

struct LayoutCase {
  const char *m_label;
  uint32_t m_spc;
  uint64_t m_clusters;
  uint32_t m_batchSectors;
  uint32_t m_maxSize; // of every type but BMP
  int m_usedPercent;
  int m_failingClusters;
  bool m_withHook; // a hook sees every free cluster (and takes none), as on FAT
};

class SignatureGrowthTest : public ::testing::TestWithParam<LayoutCase> {};

// A seeded layout: signatures at random free and used clusters (some right
// at batch ends), runs of used clusters and unreadable ones.
void FillLayout(MemoryClusterSpace &space, const LayoutCase &c, std::vector<HeaderRecord> &headers) {
  std::mt19937 random(c.m_spc * 7919u + static_cast<uint32_t>(c.m_clusters));
  headers = {MakeHeader(u"JPG", kJpegStart, c.m_maxSize), MakeHeader(u"PDF", kPdfStart, c.m_maxSize),
             MakeHeader(u"ZIP", kZipStart, c.m_maxSize / 3), MakeHeader(u"BMP", kBmpStart, c.m_maxSize)};
  const std::vector<std::vector<uint8_t>> starts{kJpegStart, kPdfStart, kZipStart, Bitmap(70000)};
  for (uint64_t cluster = 2; cluster < c.m_clusters; ++cluster) {
    const uint32_t roll = random() % 1000;
    if (roll < 12) space.Put(cluster, starts[random() % starts.size()]);
    if (static_cast<int>(random() % 100) < c.m_usedPercent) {
      const uint64_t run = 1 + random() % 40;
      for (uint64_t u = cluster; u < std::min(c.m_clusters, cluster + run); ++u) space.m_used.insert(u);
      cluster += run;
    }
  }
  const uint64_t perBatch = SignatureClustersPerBatch(c.m_batchSectors, c.m_spc);
  for (uint64_t end = perBatch; end < c.m_clusters; end += perBatch) space.Put(end - 1, kJpegStart);
  for (int i = 0; i < c.m_failingClusters; ++i) space.m_failing.insert(2 + random() % (c.m_clusters - 2));
}

// Every hit of the pass, whose growth reads come from the batch, read ahead
// or read alone, has the size, type and grade that the same hit measured
// with nothing in memory gets (every growth step one transfer of its own);
// and every free cluster that begins with a signature is a hit, even where
// a growth already tested it and the pass went on behind that growth.
TEST_P(SignatureGrowthTest, HitsMatchGrowthReadOneSectorAtATime) {
  const LayoutCase &c = GetParam();
  MemoryClusterSpace space(c.m_spc, c.m_clusters);
  PassRun run;
  FillLayout(space, c, run.m_services.m_selectedHeaders);
  SignaturePassOptions options;
  options.m_batchSectors = c.m_batchSectors;
  SignatureSearch pass(space, run.m_services, nullptr, options);
  size_t hooked = 0;
  if (c.m_withHook)
    pass.SetClusterHook([&hooked](uint64_t, const uint8_t *, size_t) {
      ++hooked;
      return false;
    });
  run.m_finished = pass.Run(run.m_hits);
  ASSERT_TRUE(run.m_finished);
  // With a hook every free cluster is offered to it, also those a growth took.
  if (c.m_withHook) {
    EXPECT_EQ(hooked, c.m_clusters - 2 - space.m_used.size());
  }

  std::vector<uint64_t> expectedClusters;
  for (uint64_t cluster = 2; cluster < c.m_clusters; ++cluster)
    if (!space.IsClusterUsed(cluster) && !space.m_failing.count(cluster) &&
        MatchHeader(run.m_services.m_selectedHeaders, space.Cluster(cluster), 512, nullptr, nullptr))
      expectedClusters.push_back(cluster);
  std::vector<uint64_t> foundClusters;
  for (const SignatureHit &hit : run.m_hits) foundClusters.push_back(hit.m_cluster);
  ASSERT_EQ(foundClusters, expectedClusters);

  RecordingServices services;
  services.m_selectedHeaders = run.m_services.m_selectedHeaders;
  SignatureSearch alone(space, services, nullptr, SignaturePassOptions{});
  for (const SignatureHit &hit : run.m_hits) {
    std::u16string extension;
    HeaderRecord record;
    ASSERT_TRUE(
        MatchHeader(services.m_selectedHeaders, space.Cluster(hit.m_cluster), 512, &extension, &record));
    const SignatureHit reference =
        alone.DecideHitSize(hit.m_cluster, space.Cluster(hit.m_cluster), record, extension);
    EXPECT_EQ(hit.m_size, reference.m_size) << "hit at " << hit.m_cluster;
    EXPECT_EQ(hit.m_extension, reference.m_extension) << "hit at " << hit.m_cluster;
    EXPECT_EQ(hit.m_grade, reference.m_grade) << "hit at " << hit.m_cluster;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, SignatureGrowthTest,
    ::testing::Values(LayoutCase{"DiskSectorsOneSectorBatches", 1, 6000, 1, 64 * 512, 0, 0, false},
                      LayoutCase{"DiskSectorsNtBatches", 1, 9000, 2048, 3000 * 512, 0, 0, false},
                      LayoutCase{"DiskSectorsWithBadSectors", 1, 9000, 100, 700 * 512, 0, 12, false},
                      LayoutCase{"SmallClustersManyUsed", 4, 5000, 64, 90 * 2048, 30, 0, false},
                      LayoutCase{"SmallClustersManyUsedWithAHook", 4, 5000, 64, 90 * 2048, 30, 0, true},
                      LayoutCase{"GrowthBeyondTheWindowsRoom", 2, 6000, 64, 12 * 1024, 60, 0, true},
                      LayoutCase{"UsedAndUnreadable", 8, 3000, 1024, 200 * 4096, 20, 9, true},
                      LayoutCase{"ClusterLargerThanTheBatch", 128, 300, 64, 20 * 65536, 10, 3, false}),
    [](const ::testing::TestParamInfo<LayoutCase> &info) { return std::string(info.param.m_label); });

// A growth that runs far past its batch reads ahead in batch-sized pieces,
// which the following batches then use: every sector is read once, in a few
// transfers rather than one per sector.
TEST(SignatureSearchTest, GrowthPastTheBatchReadsAheadOnce) {
  MemoryClusterSpace space(1, 5000);
  space.Put(60, kJpegStart);
  space.Put(3000, kPdfStart);
  PassRun run;
  run.m_services.m_selectedHeaders = {MakeHeader(u"JPG", kJpegStart, 2000 * 512),
                                      MakeHeader(u"PDF", kPdfStart, 100 * 512)};
  RunPass(space, run, 64);
  const auto hits = run.ByCluster();
  ASSERT_EQ(hits.size(), 2u);
  EXPECT_EQ(hits.at(60).m_size, 2000u * 512u);
  EXPECT_EQ(hits.at(3000).m_size, 100u * 512u);
  EXPECT_EQ(space.m_sectorsRead, 5000u - 2u);
  EXPECT_LE(space.m_reads, (5000u + 63u) / 64u + 2u);
}

// A read-ahead that fails leaves the growth to read each sector alone: the
// bad sector the growth steps on is logged where it does, and the pass goes
// on behind the growth without reading that stretch again; a bad sector
// elsewhere is still logged by its batch.
TEST(SignatureSearchTest, FailedReadAheadFallsBackToSingleSectors) {
  MemoryClusterSpace space(1, 400);
  space.Put(50, kJpegStart);
  space.m_failing.insert(70);
  space.m_failing.insert(200);
  PassRun run;
  run.m_services.SetText(SignatureText::kErrorReadingCluster, u"Error reading cluster :");
  run.m_services.m_selectedHeaders = {MakeHeader(u"JPG", kJpegStart, 40 * 512)};
  RunPass(space, run, 16);
  ASSERT_EQ(run.m_hits.size(), 1u);
  EXPECT_EQ(run.m_hits[0].m_size, 40u * 512u);
  std::map<std::u16string, size_t> errors;
  for (const RecordingServices::LogRow &row : run.m_services.m_log) ++errors[row.m_text];
  EXPECT_EQ(errors[u"Error reading cluster : 70"], 1u) << run.m_services.LogAsText();
  EXPECT_EQ(errors[u"Error reading cluster : 200"], 1u) << run.m_services.LogAsText();
}

// ---- folders ---------------------------------------------------------------

TEST(SignatureSearchTest, FullFolderSendsTheNextHitToANumberedOne) {
  std::vector<std::u16string> made;
  SignatureFolders folders([&made](const std::u16string &name) {
    made.push_back(name);
    return static_cast<uint32_t>(100 + made.size());
  });
  std::map<uint32_t, size_t> perFolder;
  for (int i = 0; i < 2501; ++i) ++perFolder[folders.Place(u"PPT")];
  EXPECT_EQ(made, std::vector<std::u16string>{u"PPT"});
  EXPECT_EQ(perFolder[101], 2501u);
  ++perFolder[folders.Place(u"PPT")];
  EXPECT_EQ(made.back(), u"PPT1");
  for (int i = 0; i < 2500; ++i) ++perFolder[folders.Place(u"PPT")];
  EXPECT_EQ(perFolder[102], 2501u);
  folders.Place(u"PPT");
  EXPECT_EQ(made.back(), u"PPT2");
  folders.Place(u"JPG");
  EXPECT_EQ(made.back(), u"JPG");
}

TEST(SignatureSearchTest, NamesAndStatusText) {
  EXPECT_EQ(SignatureFileName(1234, u"JPG"), u"1234.JPG");
  EXPECT_EQ(SignatureFileName(1, std::u16string(300, u'X')).size(), 260u);
  EXPECT_EQ(SignatureStatusText(u"Reading cluster", 7, u"of", 99), u" Reading cluster 7 of 99");
}

} // namespace
