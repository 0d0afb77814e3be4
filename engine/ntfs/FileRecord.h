// One NTFS FILE record of the master file table: the update-sequence fix-up
// and a single bounds-checked pass over its attributes that keeps what the
// search and the file reader need (state, names, parent, times, the unnamed
// data stream and the attribute list).
#pragma once

#include "ByteOrder.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr uint32_t kNtfsAttrStandardInformation = 0x10;
constexpr uint32_t kNtfsAttrAttributeList = 0x20;
constexpr uint32_t kNtfsAttrFileName = 0x30;
constexpr uint32_t kNtfsAttrData = 0x80;
constexpr uint32_t kNtfsAttrIndexRoot = 0x90;
constexpr uint32_t kNtfsAttrIndexAllocation = 0xA0;
constexpr uint32_t kNtfsAttrEnd = 0xFFFFFFFF;

constexpr uint16_t kNtfsRecordInUse = 0x0001;
constexpr uint16_t kNtfsRecordFolder = 0x0002;

constexpr uint32_t kNtfsFileAttrCompressed = 0x0800;
constexpr uint16_t kNtfsAttrFlagCompressed = 0x0001;
constexpr uint16_t kNtfsAttrFlagEncrypted = 0x4000;
constexpr uint16_t kNtfsAttrFlagSparse = 0x8000;

// Low 48 bits of a file reference: the record number; high 16: its sequence number.
struct NtfsFileReference {
  uint64_t m_record = 0;
  uint16_t m_sequence = 0;
};
inline NtfsFileReference SplitFileReference(uint64_t reference) {
  return {reference & 0xFFFFFFFFFFFFull, static_cast<uint16_t>(reference >> 48)};
}

// Replaces the last two bytes of every 512-byte stride by the saved words of
// the update-sequence array. NotThisStructure without the "FILE" signature;
// Corrupt when the array lies outside the record or does not fit its strides.
ParseResult ApplyRecordFixups(uint8_t *record, size_t size, std::string *why = nullptr);

// Where a non-resident attribute's clusters and sizes are described.
struct NonResidentHeader {
  uint64_t m_firstVcn = 0;
  uint64_t m_lastVcn = 0;
  uint64_t m_allocatedSize = 0;
  uint64_t m_dataSize = 0;
  uint64_t m_initializedSize = 0;
  uint8_t m_compressionUnitShift = 0; // compression unit = 2^shift clusters
  size_t m_runsOffset = 0;            // mapping pairs, offset in the record
  size_t m_runsLength = 0;            // bytes from there to the attribute's end
};

// One attribute's value or run list, by offsets into the record buffer.
struct AttributeExtent {
  bool m_resident = true;
  uint16_t m_flags = 0;     // attribute flags (compressed, encrypted, sparse)
  size_t m_valueOffset = 0; // resident: value offset in the record
  size_t m_valueLength = 0; // resident: value length
  NonResidentHeader m_nonResident;
};

struct FileRecordInfo {
  uint16_t m_sequence = 0;   // 0x10: reuse count of the record
  uint16_t m_flags = 0;      // 0x16: in use 0x01, folder 0x02
  uint64_t m_baseRecord = 0; // 0x20: base record of an extension record (0: a base record)

  bool m_hasTimes = false;
  uint64_t m_creationTime = 0; // $STANDARD_INFORMATION FILETIMEs
  uint64_t m_modificationTime = 0;
  uint64_t m_recordChangeTime = 0;
  uint32_t m_fileAttributes = 0;

  bool m_hasName = false;
  std::u16string m_name; // a Win32 or POSIX name before a DOS short name
  uint8_t m_nameSpace = 0;
  NtfsFileReference m_parent; // parent folder of the chosen name

  bool m_hasAttributeList = false;
  AttributeExtent m_attributeList;

  std::vector<AttributeExtent> m_data; // extents of the unnamed $DATA held here

  bool InUse() const { return (m_flags & kNtfsRecordInUse) != 0; }
  bool IsFolder() const { return (m_flags & kNtfsRecordFolder) != 0; }
  bool IsExtension() const { return m_baseRecord != 0; }
  bool IsCompressed() const { return (m_fileAttributes & kNtfsFileAttrCompressed) != 0; }
};

// Parses a record whose fix-up is done. Every offset, length and count is
// checked against the record and attribute bounds; Corrupt says which check
// failed in why. NotThisStructure without the "FILE" signature.
ParseResult ParseFileRecord(const uint8_t *record, size_t size, FileRecordInfo &out,
                            std::string *why = nullptr);

// One entry of an $ATTRIBUTE_LIST value.
struct AttributeListEntry {
  uint32_t m_type = 0;
  uint8_t m_nameLength = 0;
  uint64_t m_firstVcn = 0;
  NtfsFileReference m_record;
};

// Attribute lists longer than this are taken as damaged.
constexpr size_t kMaxAttributeListEntries = 65536;

ParseResult ParseAttributeList(const uint8_t *bytes, size_t length, std::vector<AttributeListEntry> &out,
                               std::string *why = nullptr);
