// Every shipped file type, found by the physical-disk scan with every shipped
// signature chosen: a sample of each type (made by the fixture script with
// the real tools or a generator of the format's header) lies on a bare disk
// between runs of noise, and must come back with its type's extension and
// its whole bytes.
#include "ByteOrder.h"
#include "FatScanEngine.h"
#include "ImageDevices.h"
#include "PhysicalDiskScan.h"
#include "RecordingServices.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> ReadBytes(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<HeaderRecord> ShippedSignatures() {
  const std::vector<uint8_t> bytes = ReadBytes(QV_HEADER_FILE);
  std::vector<HeaderRecord> headers;
  for (size_t at = 0; at + kHeaderRecordSize <= bytes.size(); at += kHeaderRecordSize) {
    HeaderRecord header;
    EXPECT_EQ(ParseHeaderRecord(bytes.data() + at, kHeaderRecordSize, header), ParseResult::Ok);
    header.m_selected = 1;
    headers.push_back(header);
  }
  return headers;
}

struct Sample {
  std::string m_extension;
  std::vector<uint8_t> m_bytes;
  uint64_t m_sector = 0;
};

std::vector<Sample> ReadSamples(const std::string &dir) {
  std::vector<Sample> samples;
  std::ifstream list(dir + ".list");
  std::string name;
  while (std::getline(list, name)) {
    const size_t dash = name.find('-');
    if (dash == std::string::npos) continue;
    samples.push_back({name.substr(dash + 1), ReadBytes(dir + "/" + name)});
  }
  return samples;
}

TEST(SignatureSamplesTest, EveryShippedTypeIsFoundWholeOnABareDisk) {
  const char *fixtures = std::getenv("QV_FIXTURES");
  if (!fixtures) GTEST_SKIP() << "QV_FIXTURES not set: the samples are made by the CTest fixture";
  std::vector<Sample> samples = ReadSamples(std::string(fixtures) + "/signature-samples");
  if (samples.empty()) GTEST_SKIP() << "no samples made (python3 missing)";
  const std::vector<HeaderRecord> headers = ShippedSignatures();
  ASSERT_GE(headers.size(), 60u);

  // Each sample starts a 4 KB cluster of the disk; noise lies between them.
  std::mt19937 random(11);
  std::vector<uint8_t> disk;
  const auto pad = [&disk, &random](size_t to) {
    while (disk.size() < to) disk.push_back(static_cast<uint8_t>(random() % 200 + 1));
  };
  pad(64 * 512);
  for (Sample &sample : samples) {
    sample.m_sector = disk.size() / 512;
    disk.insert(disk.end(), sample.m_bytes.begin(), sample.m_bytes.end());
    pad((disk.size() + 4096 + 4095) / 4096 * 4096);
  }
  pad(disk.size() + 64 * 512);

  ImageDeviceLayer layer;
  layer.Attach(128, std::make_unique<MemoryDevice>(disk));
  SectorIo io(layer, nullptr, false);
  SectorReader reader(io, 128, 0);
  RecordingServices services;
  services.m_selectedHeaders = headers;
  PhysicalDiskScan scan(services, reader, disk.size() / 512, false);
  scan.RunPhysicalDiskScan();

  std::map<std::string, EntryRecord> found; // "<sector>.<EXT>" to its entry
  for (const auto &entry : services.m_treeEntries)
    if (!entry.m_entry.IsFolder())
      found[std::string(entry.m_name.begin(), entry.m_name.end())] = entry.m_entry;
  EXPECT_EQ(found.size(), samples.size()) << "a sample was missed or found twice";
  for (const Sample &sample : samples) {
    const std::string name = std::to_string(sample.m_sector) + "." + sample.m_extension;
    const auto hit = found.find(name);
    if (hit == found.end()) {
      ADD_FAILURE() << sample.m_extension << " sample at sector " << sample.m_sector << " not found as "
                    << name;
      continue;
    }
    EXPECT_GE(hit->second.m_size, sample.m_bytes.size()) << name;
    std::vector<uint8_t> back;
    EXPECT_TRUE(scan.ReadFoundFile(hit->second, [&back](const uint8_t *data, size_t size) {
      back.insert(back.end(), data, data + size);
      return true;
    })) << name;
    back.resize(std::min(back.size(), sample.m_bytes.size()));
    EXPECT_TRUE(back == sample.m_bytes) << name << ": bytes read back differ";
  }
}

// The same samples in the free clusters of an empty FAT16 volume, found by
// the advanced search under "Raw Data Folder".
TEST(SignatureSamplesTest, EveryShippedTypeIsFoundWholeInFreeFatClusters) {
  const char *fixtures = std::getenv("QV_FIXTURES");
  if (!fixtures) GTEST_SKIP() << "QV_FIXTURES not set: the samples are made by the CTest fixture";
  std::vector<Sample> samples = ReadSamples(std::string(fixtures) + "/signature-samples");
  std::vector<uint8_t> volume = ReadBytes(std::string(fixtures) + "/signature-samples-fat16.img");
  if (samples.empty() || volume.size() < 512) GTEST_SKIP() << "no samples or no volume made";

  const uint8_t *boot = volume.data();
  const uint32_t clusterSectors = boot[13];                    // 13, 1, sectors per cluster
  const uint32_t reserved = ReadLe16(boot + 14);               // 14, 2, reserved sectors
  const uint32_t fats = boot[16];                              // 16, 1, number of FATs
  const uint32_t rootSectors = ReadLe16(boot + 17) * 32 / 512; // 17, 2, root entries of 32 bytes
  const uint32_t fatSectors = ReadLe16(boot + 22);             // 22, 2, sectors per FAT
  const uint64_t dataStart = uint64_t{reserved + fats * fatSectors + rootSectors} * 512;
  const uint64_t clusterBytes = uint64_t{clusterSectors} * 512;
  ASSERT_EQ(clusterBytes, 4096u);

  // From cluster 10 on, each sample starts a cluster with a cluster of noise behind it.
  std::mt19937 random(13);
  std::map<uint64_t, const Sample *> byCluster;
  uint64_t cluster = 10;
  for (const Sample &sample : samples) {
    const uint64_t at = dataStart + (cluster - 2) * clusterBytes;
    const uint64_t clusters = (sample.m_bytes.size() + clusterBytes - 1) / clusterBytes + 1;
    ASSERT_LE(at + clusters * clusterBytes, volume.size());
    for (uint64_t i = 0; i < clusters * clusterBytes; ++i)
      volume[at + i] = static_cast<uint8_t>(random() % 200 + 1);
    std::copy(sample.m_bytes.begin(), sample.m_bytes.end(), volume.begin() + at);
    byCluster[cluster] = &sample;
    cluster += clusters;
  }

  ImageDeviceLayer layer;
  layer.Attach(2, std::make_unique<MemoryDevice>(volume));
  SectorIo io(layer, nullptr, false);
  SectorReader reader(io, 2, 0);
  RecordingServices services;
  services.m_selectedHeaders = ShippedSignatures();
  FatScanEngine engine(services, reader, volume.size() / 512);
  engine.RunFatAdvancedScan();

  std::map<uint32_t, EntryRecord> entries;
  for (const auto &entry : services.m_treeEntries) entries[entry.m_entry.m_ownId] = entry.m_entry;
  std::map<uint64_t, const SignatureHit *> hits;
  for (const SignatureHit &hit : engine.SignatureHits()) hits[hit.m_cluster] = &hit;
  EXPECT_EQ(hits.size(), samples.size()) << "a sample was missed or found twice";
  for (const auto &[first, sample] : byCluster) {
    const auto hit = hits.find(first);
    if (hit == hits.end()) {
      ADD_FAILURE() << sample->m_extension << " sample at cluster " << first << " not found";
      continue;
    }
    const std::string extension(hit->second->m_extension.begin(), hit->second->m_extension.end());
    EXPECT_EQ(extension, sample->m_extension) << "cluster " << first;
    EXPECT_GE(hit->second->m_size, sample->m_bytes.size()) << extension;
    std::vector<uint8_t> back;
    EXPECT_TRUE(engine.ReadFoundFile(entries[hit->second->m_ownId], [&back](const uint8_t *data,
                                                                            size_t size) {
      back.insert(back.end(), data, data + size);
      return true;
    })) << extension;
    back.resize(std::min(back.size(), sample->m_bytes.size()));
    EXPECT_TRUE(back == sample->m_bytes) << extension << ": bytes read back differ";
  }
}

} // namespace
