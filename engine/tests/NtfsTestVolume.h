// Generators of NTFS structures for tests and fuzzers: FILE records built
// attribute by attribute, and a small volume in memory (512-byte clusters,
// 1024-byte records) whose master file table holds the records given.
#pragma once

#include "ByteOrder.h"
#include "FileRecord.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

class TestRecord {
public:
  static constexpr size_t kSize = 1024;

  TestRecord(uint16_t flags, uint16_t sequence = 1, uint64_t baseRecord = 0) : m_bytes(kSize, 0) {
    std::memcpy(m_bytes.data(), "FILE", 4);
    WriteLe16(&m_bytes[0x04], 0x30); // update-sequence array offset
    WriteLe16(&m_bytes[0x06], 3);    // one word + one per 512 bytes
    WriteLe16(&m_bytes[0x10], sequence);
    WriteLe16(&m_bytes[0x14], 0x38); // first attribute
    WriteLe16(&m_bytes[0x16], flags);
    WriteLe64(&m_bytes[0x20], baseRecord);
    m_end = 0x38;
  }

  TestRecord &Resident(uint32_t type, const std::vector<uint8_t> &value, const std::u16string &name = u"") {
    const size_t nameBytes = name.size() * 2;
    const size_t valueOffset = (0x18 + nameBytes + 7) & ~size_t{7};
    const size_t length = (valueOffset + value.size() + 7) & ~size_t{7};
    uint8_t *a = Reserve(length);
    WriteLe32(a, type);
    WriteLe32(a + 4, static_cast<uint32_t>(length));
    a[9] = static_cast<uint8_t>(name.size());
    WriteLe16(a + 10, 0x18);
    for (size_t i = 0; i < name.size(); ++i) WriteLe16(a + 0x18 + 2 * i, name[i]);
    WriteLe32(a + 0x10, static_cast<uint32_t>(value.size()));
    WriteLe16(a + 0x14, static_cast<uint16_t>(valueOffset));
    if (!value.empty()) std::memcpy(a + valueOffset, value.data(), value.size());
    return *this;
  }

  TestRecord &NonResident(uint32_t type, const std::vector<uint8_t> &runs, uint64_t firstVcn,
                          uint64_t lastVcn, uint64_t dataSize, uint16_t flags = 0, uint8_t unitShift = 0) {
    const size_t length = (0x40 + runs.size() + 1 + 7) & ~size_t{7};
    uint8_t *a = Reserve(length);
    WriteLe32(a, type);
    WriteLe32(a + 4, static_cast<uint32_t>(length));
    a[8] = 1;
    WriteLe16(a + 10, 0x40);
    WriteLe16(a + 12, flags);
    WriteLe64(a + 0x10, firstVcn);
    WriteLe64(a + 0x18, lastVcn);
    WriteLe16(a + 0x20, 0x40);
    a[0x22] = unitShift;
    const uint64_t allocated = (lastVcn + 1) * 512;
    WriteLe64(a + 0x28, allocated);
    WriteLe64(a + 0x30, dataSize);
    WriteLe64(a + 0x38, dataSize);
    std::memcpy(a + 0x40, runs.data(), runs.size());
    return *this;
  }

  TestRecord &StandardInformation(uint64_t creation, uint64_t modification, uint64_t change,
                                  uint32_t attributes = 0) {
    std::vector<uint8_t> value(0x48, 0);
    WriteLe64(&value[0x00], creation);
    WriteLe64(&value[0x08], modification);
    WriteLe64(&value[0x10], change);
    WriteLe32(&value[0x20], attributes);
    return Resident(kNtfsAttrStandardInformation, value);
  }

  TestRecord &FileName(uint64_t parent, uint16_t parentSequence, const std::u16string &name,
                       uint8_t nameSpace = 1) {
    std::vector<uint8_t> value(0x42 + 2 * name.size(), 0);
    WriteLe64(&value[0], (uint64_t{parentSequence} << 48) | parent);
    value[0x40] = static_cast<uint8_t>(name.size());
    value[0x41] = nameSpace;
    for (size_t i = 0; i < name.size(); ++i) WriteLe16(&value[0x42 + 2 * i], name[i]);
    return Resident(kNtfsAttrFileName, value);
  }

  // The record as on disk: end marker, used size and the update sequence in place.
  std::vector<uint8_t> Bytes() const {
    std::vector<uint8_t> bytes = m_bytes;
    WriteLe32(&bytes[m_end], kNtfsAttrEnd);
    WriteLe32(&bytes[0x18], static_cast<uint32_t>(m_end + 8));
    WriteLe32(&bytes[0x1C], kSize);
    const uint16_t usn = 0x0007;
    WriteLe16(&bytes[0x30], usn);
    for (size_t stride = 0; stride < 2; ++stride) {
      uint8_t *end = &bytes[(stride + 1) * 512 - 2];
      bytes[0x32 + 2 * stride] = end[0];
      bytes[0x33 + 2 * stride] = end[1];
      WriteLe16(end, usn);
    }
    return bytes;
  }

  size_t End() const { return m_end; }

private:
  uint8_t *Reserve(size_t length) {
    uint8_t *a = &m_bytes[m_end];
    m_end += length;
    return a;
  }

  std::vector<uint8_t> m_bytes;
  size_t m_end;
};

// One attribute-list entry.
inline std::vector<uint8_t> AttributeListEntryBytes(uint32_t type, uint64_t firstVcn, uint64_t record,
                                                    uint16_t sequence = 1) {
  std::vector<uint8_t> entry(0x20, 0);
  WriteLe32(&entry[0], type);
  WriteLe16(&entry[4], 0x20);
  entry[7] = 0x1A;
  WriteLe64(&entry[8], firstVcn);
  WriteLe64(&entry[0x10], (uint64_t{sequence} << 48) | record);
  return entry;
}

// A volume of 512-byte clusters: boot sector at 0, its backup in the last
// sector, $MFT from cluster kMftCluster with room for recordSlots records.
class TestVolume {
public:
  static constexpr uint64_t kMftCluster = 16;
  static constexpr uint64_t kMirrorCluster = 8;

  TestVolume(size_t recordSlots, size_t sectors = 4096) : m_bytes(sectors * 512, 0), m_slots(recordSlots) {
    std::array<uint8_t, 512> boot{};
    const char oemName[] = "NTFS    ";
    std::copy(oemName, oemName + 8, boot.begin() + 3);
    WriteLe16(&boot[0x0B], 512);
    boot[0x0D] = 1;
    WriteLe64(&boot[0x28], sectors - 1);
    WriteLe64(&boot[0x30], kMftCluster);
    WriteLe64(&boot[0x38], kMirrorCluster);
    boot[0x40] = 0xF6; // 2^10 = 1024-byte records
    boot[510] = 0x55;
    boot[511] = 0xAA;
    std::copy(boot.begin(), boot.end(), m_bytes.begin());
    std::copy(boot.begin(), boot.end(), m_bytes.begin() + (sectors - 1) * 512);
  }

  // $MFT's own record with one run over all record slots.
  static TestRecord MftRecord(size_t slots) {
    const uint8_t clusters = static_cast<uint8_t>(slots * 2);
    return TestRecord(kNtfsRecordInUse)
        .StandardInformation(1, 1, 1)
        .FileName(5, 5, u"$MFT")
        .NonResident(kNtfsAttrData, {0x11, clusters, static_cast<uint8_t>(kMftCluster), 0}, 0, clusters - 1,
                     slots * 1024);
  }

  void Put(size_t slot, const std::vector<uint8_t> &record) {
    std::memcpy(&m_bytes[(kMftCluster * 512) + slot * 1024], record.data(), record.size());
  }
  void PutMirror(const std::vector<uint8_t> &record) {
    std::memcpy(&m_bytes[kMirrorCluster * 512], record.data(), record.size());
  }
  void PutClusters(uint64_t cluster, const std::vector<uint8_t> &bytes) {
    std::memcpy(&m_bytes[cluster * 512], bytes.data(), bytes.size());
  }
  // $MFT and the root folder; tests add the rest.
  void PutSystemRecords() {
    Put(0, MftRecord(m_slots).Bytes());
    Put(5, TestRecord(kNtfsRecordInUse | kNtfsRecordFolder, 5)
               .StandardInformation(1, 1, 1)
               .FileName(5, 5, u".")
               .Bytes());
  }

  std::vector<uint8_t> &Bytes() { return m_bytes; }
  size_t Sectors() const { return m_bytes.size() / 512; }

private:
  std::vector<uint8_t> m_bytes;
  size_t m_slots;
};
