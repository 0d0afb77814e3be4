#include "EntryRecord.h"

#include <cstring>

const char16_t *RecoveryGradeText(RecoveryGrade grade) {
  switch (grade) {
  case RecoveryGrade::Poor:
    return u"Poor";
  case RecoveryGrade::Fair:
    return u"Fair";
  case RecoveryGrade::Good:
    return u"Good";
  case RecoveryGrade::VeryGood:
    return u"Very Good";
  case RecoveryGrade::NotApplicable:
    return u"Not Applicable";
  }
  return u"";
}

bool operator==(const EntryRecord &a, const EntryRecord &b) {
  return SerialiseEntryRecord(a) == SerialiseEntryRecord(b);
}

ParseResult ParseEntryRecord(const uint8_t *bytes, size_t length, EntryRecord &out) {
  out = EntryRecord();
  if (bytes == nullptr || length < kEntryRecordSize) return ParseResult::Corrupt;
  // 0, 4: link and tree item; only meaningful inside the process that wrote them.
  out.m_size = ReadLe64(bytes + 8);          // 8, 8, size in bytes
  out.m_parentId = ReadLe32(bytes + 16);     // 16, 4, parent folder id
  out.m_ownId = ReadLe32(bytes + 20);        // 20, 4, own id
  out.m_firstCluster = ReadLe32(bytes + 24); // 24, 4, first cluster or record number
  // 28: name pointer; names travel beside the record.
  out.m_attributes = bytes[32]; // 32, 1, attribute byte
  out.m_firstClusterHigh =
      bytes[33] | bytes[34] << 8 | uint32_t{bytes[35]} << 16;                    // 33, 3, first cluster >> 32
  for (int i = 0; i < 6; ++i) out.m_dateWords[i] = ReadLe32(bytes + 36 + 4 * i); // 36, 6 x 4, date words A..F
  out.m_checkState = bytes[60];                                                  // 60, 1, check state
  out.m_deleted = bytes[61];                                                     // 61, 1, deleted flag
  out.m_compressed = bytes[62];                                                  // 62, 1, compressed flag
  out.m_grade = static_cast<RecoveryGrade>(bytes[63]);                           // 63, 1, recovery grade
  if (out.m_checkState > 2 || bytes[63] > static_cast<uint8_t>(RecoveryGrade::NotApplicable))
    return ParseResult::Corrupt;
  return ParseResult::Ok;
}

void SerialiseEntryRecord(const EntryRecord &record, uint8_t *out) {
  std::memset(out, 0, kEntryRecordSize);
  WriteLe64(out + 8, record.m_size);
  WriteLe32(out + 16, record.m_parentId);
  WriteLe32(out + 20, record.m_ownId);
  WriteLe32(out + 24, record.m_firstCluster);
  out[32] = record.m_attributes;
  out[33] = static_cast<uint8_t>(record.m_firstClusterHigh);
  out[34] = static_cast<uint8_t>(record.m_firstClusterHigh >> 8);
  out[35] = static_cast<uint8_t>(record.m_firstClusterHigh >> 16);
  for (int i = 0; i < 6; ++i) WriteLe32(out + 36 + 4 * i, record.m_dateWords[i]);
  out[60] = record.m_checkState;
  out[61] = record.m_deleted;
  out[62] = record.m_compressed;
  out[63] = static_cast<uint8_t>(record.m_grade);
}

std::array<uint8_t, kEntryRecordSize> SerialiseEntryRecord(const EntryRecord &record) {
  std::array<uint8_t, kEntryRecordSize> bytes{};
  SerialiseEntryRecord(record, bytes.data());
  return bytes;
}

void SetFatEntryDates(EntryRecord &record, const uint8_t *entry, bool fat32) {
  const uint32_t writeTime = ReadLe16(entry + 22); // 22, 2, write time
  const uint32_t writeDate = ReadLe16(entry + 24); // 24, 2, write date
  record.m_dateWords[0] = 0;
  if (fat32) {
    record.m_dateWords[1] = ReadLe16(entry + 18); // 18, 2, last-access date
    record.m_dateWords[2] = writeTime;
    record.m_dateWords[3] = writeDate;
    record.m_dateWords[4] = ReadLe16(entry + 14); // 14, 2, creation time
    record.m_dateWords[5] = ReadLe16(entry + 16); // 16, 2, creation date
  } else {
    // Older FAT volumes are not trusted to keep access and creation stamps.
    record.m_dateWords[1] = writeDate;
    record.m_dateWords[2] = writeTime;
    record.m_dateWords[3] = writeDate;
    record.m_dateWords[4] = writeTime;
    record.m_dateWords[5] = writeDate;
  }
}

void SetNtfsEntryTimes(EntryRecord &record, uint64_t changeTime, uint64_t modificationTime,
                       uint64_t creationTime) {
  const uint64_t times[3] = {changeTime, modificationTime, creationTime};
  for (int i = 0; i < 3; ++i) {
    record.m_dateWords[2 * i] = static_cast<uint32_t>(times[i]);
    record.m_dateWords[2 * i + 1] = static_cast<uint32_t>(times[i] >> 32);
  }
}

RecoveryGrade GradeFatEntry(uint32_t firstCluster, uint64_t size, uint32_t sectorsPerCluster,
                            const ClusterInUse &inUse) {
  if (inUse(firstCluster)) return RecoveryGrade::Poor;
  const uint64_t clusterBytes = static_cast<uint64_t>(sectorsPerCluster) * 512;
  if (clusterBytes == 0) return RecoveryGrade::Poor;
  if (size <= clusterBytes) return RecoveryGrade::VeryGood;
  const uint64_t sectors = (size + 511) / 512;
  const uint64_t clusters = (sectors + sectorsPerCluster - 1) / sectorsPerCluster;
  for (uint64_t i = 1; i < clusters; ++i)
    if (inUse(static_cast<uint64_t>(firstCluster) + i)) return RecoveryGrade::Fair;
  return RecoveryGrade::Good;
}
