// A generator of small compound documents (structured storage with 512-byte
// sectors) for the measurement tests and the signature benchmark: header,
// FAT and DIFAT sectors, one directory sector, a main stream and a summary
// stream in the mini stream.
#pragma once

#include "ByteOrder.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct CompoundTestSpec {
  uint32_t m_fatSectors = 1;
  std::u16string m_rootName = u"Root Entry";
  std::u16string m_mainName = u"WordDocument";
  uint32_t m_mainSize = 4096;   // in the FAT when 4096 or more
  uint32_t m_mainMark = 0xA5EC; // the first u32 of the main stream
  bool m_withSummary = true;
  uint32_t m_summarySize = 200; // in the mini stream when below 4096
  uint32_t m_summaryStart = 0;  // first mini sector
  // Entries 100..127 of the last FAT sector free, 99 not (only when F > 1).
  bool m_shapedLastFat = true;
  bool m_difatLoop = false; // the first DIFAT sector names itself as the next
};

class CompoundTestDocument {
public:
  static constexpr uint32_t kEnd = 0xFFFFFFFE, kFree = 0xFFFFFFFF, kFatMark = 0xFFFFFFFD,
                            kDifatMark = 0xFFFFFFFC;

  explicit CompoundTestDocument(const CompoundTestSpec &spec) : m_spec(spec) {
    const uint32_t f = spec.m_fatSectors;
    const uint32_t difat = f > 109 ? (f - 109 + 126) / 127 : 0;
    m_directory = f + difat;
    m_main = m_directory + 1;
    const uint32_t mainSectors = spec.m_mainSize >= 4096 ? (spec.m_mainSize + 511) / 512 : 0;
    m_miniFat = m_main + mainSectors;
    m_miniStream = m_miniFat + 1;
    const uint32_t total = m_miniStream + 1;
    m_bytes.assign(size_t{total + 1} * 512, 0);
    std::vector<uint32_t> fat(size_t{f} * 128, kFree);
    for (uint32_t i = 0; i < f; ++i) fat[i] = kFatMark;
    for (uint32_t i = 0; i < difat; ++i) fat[f + i] = kDifatMark;
    fat[m_directory] = kEnd;
    for (uint32_t i = 0; i < mainSectors; ++i) fat[m_main + i] = i + 1 == mainSectors ? kEnd : m_main + i + 1;
    fat[m_miniFat] = kEnd;
    fat[m_miniStream] = kEnd;
    if (f > 1 && spec.m_shapedLastFat)
      for (uint32_t i = 0; i < 100; ++i) fat[(f - 1) * 128 + i] = kEnd;
    WriteHeader(f, difat);
    // FAT sector i is sector id i; only those that lie inside the bytes are
    // stored (the others are all free and read as zeros past the end: the
    // measurement reads only the first and the last).
    for (uint32_t i = 0; i < f; ++i) StoreFatSector(i, fat);
    WriteDirectory();
    if (mainSectors) WriteLe32(Block(m_main + 1), spec.m_mainMark);
    for (uint32_t i = 0; i < 4; ++i) WriteLe32(Block(m_miniFat + 1) + 4 * i, i == 3 ? kEnd : i + 1);
    for (uint32_t i = 4; i < 128; ++i) WriteLe32(Block(m_miniFat + 1) + 4 * i, kFree);
  }

  const std::vector<uint8_t> &Bytes() const { return m_bytes; }
  // Where the parts lie, by sector id (block id + 1), for crafted variants.
  uint32_t DirectorySector() const { return m_directory; }
  uint32_t MainSector() const { return m_main; }
  uint32_t MiniFatSector() const { return m_miniFat; }
  uint32_t MiniStreamSector() const { return m_miniStream; }
  // Crafting: a header field, a FAT entry (of FAT sector 0, the first block
  // after the header), a mini-FAT entry, a directory entry's start and size.
  void SetHeader(size_t offset, uint32_t value) { WriteLe32(Block(0) + offset, value); }
  void SetFatEntry(uint32_t sector, uint32_t next) { WriteLe32(Block(1) + 4 * sector, next); }
  void SetMiniFatEntry(uint32_t mini, uint32_t next) { WriteLe32(Block(m_miniFat + 1) + 4 * mini, next); }
  void SetStream(uint32_t slot, uint32_t start, uint32_t size) {
    WriteLe32(Block(m_directory + 1) + 128 * slot + 0x74, start);
    WriteLe32(Block(m_directory + 1) + 128 * slot + 0x78, size);
  }
  void ZeroBlock(uint64_t n) { std::memset(Block(n), 0, 512); }
  // Sectors the measurement may touch beyond the stored bytes (the last FAT
  // sector of a large FAT) live here by block number.
  std::vector<std::pair<uint64_t, std::vector<uint8_t>>> m_farBlocks;

  // Block n as the measurement would read it.
  std::vector<uint8_t> BlockAt(uint64_t n) const {
    std::vector<uint8_t> block(512, 0);
    if ((n + 1) * 512 <= m_bytes.size()) std::memcpy(block.data(), &m_bytes[n * 512], 512);
    for (const auto &far : m_farBlocks)
      if (far.first == n) block = far.second;
    return block;
  }

private:
  uint8_t *Block(uint64_t n) { return &m_bytes[n * 512]; }

  void WriteHeader(uint32_t f, uint32_t difat) {
    const uint8_t magic[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::memcpy(Block(0), magic, 8);
    WriteLe16(Block(0) + 0x1A, 3);
    WriteLe16(Block(0) + 0x1C, 0xFFFE);
    WriteLe16(Block(0) + 0x1E, 9);
    WriteLe16(Block(0) + 0x20, 6);
    WriteLe32(Block(0) + 0x2C, f);
    WriteLe32(Block(0) + 0x30, m_directory);
    WriteLe32(Block(0) + 0x38, 4096);
    WriteLe32(Block(0) + 0x3C, m_miniFat);
    WriteLe32(Block(0) + 0x40, 1);
    WriteLe32(Block(0) + 0x44, difat ? f : kEnd);
    WriteLe32(Block(0) + 0x48, difat);
    for (uint32_t i = 0; i < 109; ++i) WriteLe32(Block(0) + 0x4C + 4 * i, i < f ? i : kFree);
    for (uint32_t d = 0; d < difat; ++d) {
      uint8_t *sector = Block(f + d + 1);
      for (uint32_t i = 0; i < 127; ++i) {
        const uint32_t index = 109 + d * 127 + i;
        WriteLe32(sector + 4 * i, index < f ? index : kFree);
      }
      const uint32_t next = m_spec.m_difatLoop ? f + d : (d + 1 < difat ? f + d + 1 : kEnd);
      WriteLe32(sector + 4 * 127, next);
    }
  }

  void StoreFatSector(uint32_t i, const std::vector<uint32_t> &fat) {
    std::vector<uint8_t> sector(512);
    for (uint32_t e = 0; e < 128; ++e) WriteLe32(&sector[4 * e], fat[size_t{i} * 128 + e]);
    if (size_t{i + 2} * 512 <= m_bytes.size())
      std::memcpy(Block(i + 1), sector.data(), 512);
    else
      m_farBlocks.emplace_back(i + 1, sector);
  }

  void WriteEntry(uint32_t slot, const std::u16string &name, uint8_t type, uint32_t start, uint32_t size) {
    uint8_t *entry = Block(m_directory + 1) + 128 * slot;
    for (size_t i = 0; i < name.size() && i < 31; ++i) WriteLe16(entry + 2 * i, name[i]);
    WriteLe16(entry + 0x40, static_cast<uint16_t>(2 * (name.size() + 1)));
    entry[0x42] = type;
    WriteLe32(entry + 0x74, start);
    WriteLe32(entry + 0x78, size);
  }

  void WriteDirectory() {
    WriteEntry(0, m_spec.m_rootName, 5, m_miniStream, 512);
    WriteEntry(1, m_spec.m_mainName, 2, m_spec.m_mainSize >= 4096 ? m_main : 0, m_spec.m_mainSize);
    if (m_spec.m_withSummary)
      WriteEntry(2, std::u16string(1, u'\x0005') + u"SummaryInformation", 2, m_spec.m_summaryStart,
                 m_spec.m_summarySize);
  }

  CompoundTestSpec m_spec;
  uint32_t m_directory = 0, m_main = 0, m_miniFat = 0, m_miniStream = 0;
  std::vector<uint8_t> m_bytes;
};

// A spreadsheet whose FAT sector is zeros, so that every chain of it loops on
// sector 0, with no mini FAT and its summary far into the mini stream: the
// crafted document the measurement must not follow round and round.
inline CompoundTestDocument LoopingCompoundDocument() {
  CompoundTestSpec spec;
  spec.m_mainName = u"Workbook";
  spec.m_mainSize = 3000;
  CompoundTestDocument document(spec);
  document.ZeroBlock(1);
  document.SetHeader(0x40, 0xFFFFFFFF);
  document.SetStream(2, 0x7FFFF8, 200);
  return document;
}
