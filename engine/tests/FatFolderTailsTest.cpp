// Joining the later clusters of deleted folders to the folder they belong to:
// the facts read from a folder cluster, and the join over those facts.
#include "FatFolderTails.h"

#include "ByteOrder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace {

constexpr uint32_t kClusterBytes = 512;

// A deleted short entry with a first cluster and a size.
void PutEntry(std::vector<uint8_t> &cluster, size_t slot, uint32_t first, uint32_t size,
              uint8_t attributes = 0x20) {
  uint8_t *entry = &cluster[slot * 32];
  std::memcpy(entry, "\xE5ILE    BIN", 11);
  entry[11] = attributes;
  WriteLe16(entry + 22, 0x5000);                               // write time
  WriteLe16(entry + 24, ((2024 - 1980) << 9) | (5 << 5) | 17); // write date
  WriteLe16(entry + 26, static_cast<uint16_t>(first));
  WriteLe32(entry + 28, size);
}

FatDecodeContext Context() {
  FatDecodeContext context;
  context.m_kind = FatKind::Fat16;
  context.m_maxCluster = 1000;
  context.m_volumeBytes = 1000 * kClusterBytes;
  return context;
}

// Every cluster free but those given.
struct Volume {
  std::set<uint64_t> m_used;
  FatNextFree NextFree() const {
    return [this](uint64_t from) {
      while (m_used.count(from) != 0) ++from;
      return from;
    };
  }
  FatAfterFree AfterFree() const {
    return [this](uint64_t from, uint64_t count) {
      for (; count != 0; ++from)
        if (m_used.count(from) == 0) --count;
      return from;
    };
  }
};

TEST(FatFolderClusterFacts, TellWhereTheFolderGoesOn) {
  const Volume volume{{30}};
  {
    // Its last file of three clusters from 28 passes over 30, in use.
    std::vector<uint8_t> cluster(kClusterBytes, 0xE5);
    for (size_t slot = 0; slot < 16; ++slot) cluster[slot * 32 + 11] = 0x0F; // long-name parts
    PutEntry(cluster, 3, 20, 100);
    PutEntry(cluster, 9, 28, 1100);
    const FatFolderClusterFacts facts = FolderClusterFacts(
        7, cluster.data(), cluster.size(), Context(), kClusterBytes, volume.NextFree(), volume.AfterFree());
    EXPECT_EQ(facts.m_cluster, 7u);
    EXPECT_EQ(facts.m_firstStart, 20u);
    EXPECT_EQ(facts.m_nextAfter, 32u);
  }
  {
    // An end mark: the folder ends in this cluster.
    std::vector<uint8_t> cluster(kClusterBytes, 0);
    PutEntry(cluster, 0, 20, 100);
    const FatFolderClusterFacts facts = FolderClusterFacts(
        7, cluster.data(), cluster.size(), Context(), kClusterBytes, volume.NextFree(), volume.AfterFree());
    EXPECT_EQ(facts.m_firstStart, 20u);
    EXPECT_EQ(facts.m_nextAfter, 0u);
  }
  {
    // A folder as the last entry: where its own contents end is not known.
    std::vector<uint8_t> cluster(kClusterBytes, 0xE5);
    for (size_t slot = 0; slot < 16; ++slot) cluster[slot * 32 + 11] = 0x0F;
    PutEntry(cluster, 0, 20, 100);
    PutEntry(cluster, 15, 22, 0, 0x10);
    const FatFolderClusterFacts facts = FolderClusterFacts(
        7, cluster.data(), cluster.size(), Context(), kClusterBytes, volume.NextFree(), volume.AfterFree());
    EXPECT_EQ(facts.m_firstStart, 20u);
    EXPECT_EQ(facts.m_nextAfter, 0u);
  }
}

struct ChainCase {
  const char *m_what;
  std::vector<FatFolderClusterFacts> m_ends;
  std::vector<FatFolderClusterFacts> m_tails;
  std::set<uint64_t> m_used;
  size_t m_maxTails;
  std::vector<FatTailChain> m_chains;
};

void PrintTo(const ChainCase &row, std::ostream *out) {
  *out << row.m_what;
}

std::string Describe(const std::vector<FatTailChain> &chains) {
  std::string text;
  for (const FatTailChain &chain : chains) {
    text += chain.m_end == kNoFolderEnd ? std::string("lost:") : "end " + std::to_string(chain.m_end) + ":";
    for (size_t tail : chain.m_tails) text += " " + std::to_string(tail);
    text += "; ";
  }
  return text;
}

class FatFolderTailChains : public ::testing::TestWithParam<ChainCase> {};

TEST_P(FatFolderTailChains, JoinOnlyWhereTheVolumeProvesIt) {
  const ChainCase &row = GetParam();
  const Volume volume{row.m_used};
  const std::vector<FatTailChain> chains =
      ChainFolderTails(row.m_ends, row.m_tails, volume.NextFree(), row.m_maxTails);
  EXPECT_EQ(Describe(chains), Describe(row.m_chains)) << row.m_what;
}

constexpr size_t kLost = kNoFolderEnd;

INSTANTIATE_TEST_SUITE_P(
    Cases, FatFolderTailChains,
    ::testing::Values(
        ChainCase{"later clusters after every file's data (mtools)",
                  {{10, 11, 20}},
                  {{41, 30, 0}, {40, 20, 30}},
                  {},
                  8,
                  {{0, {1, 0}}}},
        ChainCase{"a later cluster where the next file would have gone (Windows)",
                  {{10, 11, 15}},
                  {{15, 17, 0}},
                  {16},
                  8,
                  {{0, {0}}}},
        ChainCase{"a tail whose first file lies elsewhere is a lost folder",
                  {{10, 11, 20}},
                  {{40, 25, 0}},
                  {},
                  8,
                  {{kLost, {0}}}},
        ChainCase{"a tail lying where a file ended but its file not after it",
                  {{10, 11, 15}},
                  {{15, 19, 0}},
                  {},
                  8,
                  {{kLost, {0}}}},
        ChainCase{"two folders fit one tail: neither gets it",
                  {{10, 11, 20}, {50, 51, 20}},
                  {{40, 20, 0}},
                  {},
                  8,
                  {{kLost, {0}}}},
        ChainCase{"one folder fits two tails: neither is joined",
                  {{10, 11, 20}},
                  {{40, 20, 0}, {41, 20, 0}},
                  {},
                  8,
                  {{kLost, {0}}, {kLost, {1}}}},
        ChainCase{"a folder that ended in its cluster takes nothing",
                  {{10, 11, 0}},
                  {{40, 11, 0}},
                  {},
                  8,
                  {{kLost, {0}}}},
        ChainCase{"tails that go on from one another make one lost folder",
                  {},
                  {{41, 30, 0}, {40, 20, 30}},
                  {},
                  8,
                  {{kLost, {1, 0}}}},
        ChainCase{
            "a ring of tails is listed once", {}, {{40, 20, 30}, {41, 30, 20}}, {}, 8, {{kLost, {0, 1}}}},
        ChainCase{"no folder takes more clusters than a folder can have",
                  {{10, 11, 20}},
                  {{40, 20, 30}, {41, 30, 50}, {42, 50, 0}},
                  {},
                  2,
                  {{0, {0, 1}}, {kLost, {2}}}}),
    [](const auto &info) {
      std::string name = info.param.m_what;
      for (char &c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      return name;
    });

} // namespace
