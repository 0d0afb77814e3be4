#include "FileRecord.h"

namespace {

constexpr size_t kStride = 512;
constexpr size_t kMaxAttributes = 256;

bool Fail(std::string *why, const std::string &text) {
  if (why) *why = text;
  return false;
}

std::string Hex(size_t value) {
  static const char digits[] = "0123456789ABCDEF";
  std::string text;
  do {
    text.insert(text.begin(), digits[value & 0xF]);
    value >>= 4;
  } while (value);
  return "0x" + text;
}

bool HasFileSignature(const uint8_t *record, size_t size) {
  return size >= 4 && record[0] == 'F' && record[1] == 'I' && record[2] == 'L' && record[3] == 'E';
}

// The generic header of the attribute at off; false when it breaks a bound.
struct AttributeHeader {
  uint32_t m_type = 0;
  size_t m_length = 0;
  bool m_nonResident = false;
  uint8_t m_nameLength = 0;
  uint16_t m_flags = 0;
};

bool ReadAttributeHeader(const uint8_t *record, size_t size, size_t off, AttributeHeader &out,
                         std::string *why) {
  if (size - off < 16) return Fail(why, "attribute header at " + Hex(off) + " past record end");
  out.m_type = ReadLe32(record + off);                   // 0x00, u32, attribute type
  out.m_length = ReadLe32(record + off + 4);             // 0x04, u32, attribute length
  out.m_nonResident = record[off + 8] != 0;              // 0x08, u8, non-resident flag
  out.m_nameLength = record[off + 9];                    // 0x09, u8, name length in characters
  const size_t nameOffset = ReadLe16(record + off + 10); // 0x0A, u16, name offset
  out.m_flags = ReadLe16(record + off + 12);             // 0x0C, u16, attribute flags
  if (out.m_length < 16 || out.m_length > size - off)
    return Fail(why, "attribute length " + Hex(out.m_length) + " at " + Hex(off) + " past record end");
  if (out.m_nameLength && nameOffset + 2 * size_t{out.m_nameLength} > out.m_length)
    return Fail(why, "attribute name at " + Hex(off) + " past attribute end");
  return true;
}

bool ReadExtent(const uint8_t *record, size_t off, const AttributeHeader &header, AttributeExtent &out,
                std::string *why) {
  const uint8_t *a = record + off;
  out.m_flags = header.m_flags;
  out.m_resident = !header.m_nonResident;
  if (out.m_resident) {
    if (header.m_length < 0x18) return Fail(why, "resident attribute at " + Hex(off) + " too short");
    out.m_valueLength = ReadLe32(a + 0x10);        // 0x10, u32, value length
    const size_t valueOffset = ReadLe16(a + 0x14); // 0x14, u16, value offset
    if (valueOffset > header.m_length || out.m_valueLength > header.m_length - valueOffset)
      return Fail(why, "resident value at " + Hex(off) + " past attribute end");
    out.m_valueOffset = off + valueOffset;
    return true;
  }
  if (header.m_length < 0x40) return Fail(why, "non-resident attribute at " + Hex(off) + " too short");
  NonResidentHeader &nr = out.m_nonResident;
  nr.m_firstVcn = ReadLe64(a + 0x10);           // 0x10, u64, first VCN of this extent
  nr.m_lastVcn = ReadLe64(a + 0x18);            // 0x18, u64, last VCN of this extent
  const size_t runsOffset = ReadLe16(a + 0x20); // 0x20, u16, mapping pairs offset
  nr.m_compressionUnitShift = a[0x22];          // 0x22, u8, log2 of the compression unit
  nr.m_allocatedSize = ReadLe64(a + 0x28);      // 0x28, u64, allocated size
  nr.m_dataSize = ReadLe64(a + 0x30);           // 0x30, u64, data size
  nr.m_initializedSize = ReadLe64(a + 0x38);    // 0x38, u64, initialized size
  if (runsOffset < 0x40 || runsOffset >= header.m_length)
    return Fail(why, "run list offset " + Hex(runsOffset) + " at " + Hex(off) + " outside its attribute");
  nr.m_runsOffset = off + runsOffset;
  nr.m_runsLength = header.m_length - runsOffset;
  return true;
}

bool ReadStandardInformation(const uint8_t *record, const AttributeExtent &extent, FileRecordInfo &out,
                             std::string *why) {
  if (!extent.m_resident || extent.m_valueLength < 0x24)
    return Fail(why, "$STANDARD_INFORMATION value too short");
  const uint8_t *v = record + extent.m_valueOffset;
  out.m_creationTime = ReadLe64(v + 0x00);     // 0x00, u64, creation FILETIME
  out.m_modificationTime = ReadLe64(v + 0x08); // 0x08, u64, modification FILETIME
  out.m_recordChangeTime = ReadLe64(v + 0x10); // 0x10, u64, MFT record change FILETIME
  out.m_fileAttributes = ReadLe32(v + 0x20);   // 0x20, u32, file attribute flags
  out.m_hasTimes = true;
  return true;
}

// Keeps the best name seen so far: anything beats a DOS short name (namespace 2).
bool ReadFileName(const uint8_t *record, const AttributeExtent &extent, FileRecordInfo &out,
                  std::string *why) {
  if (!extent.m_resident || extent.m_valueLength < 0x42) return Fail(why, "$FILE_NAME value too short");
  const uint8_t *v = record + extent.m_valueOffset;
  const size_t length = v[0x40];     // 0x40, u8, name length in characters
  const uint8_t nameSpace = v[0x41]; // 0x41, u8, namespace (2 = DOS)
  if (0x42 + 2 * length > extent.m_valueLength) return Fail(why, "$FILE_NAME name past its value");
  if (out.m_hasName && (nameSpace == 2 || out.m_nameSpace != 2)) return true;
  out.m_parent = SplitFileReference(ReadLe64(v + 0x00)); // 0x00, u64, parent folder reference
  out.m_name.resize(length);
  for (size_t i = 0; i < length; ++i) out.m_name[i] = static_cast<char16_t>(ReadLe16(v + 0x42 + 2 * i));
  out.m_nameSpace = nameSpace;
  out.m_hasName = true;
  return true;
}

bool ReadAttribute(const uint8_t *record, size_t off, const AttributeHeader &header, FileRecordInfo &out,
                   std::string *why) {
  const bool wanted = header.m_type == kNtfsAttrStandardInformation || header.m_type == kNtfsAttrFileName ||
                      header.m_type == kNtfsAttrAttributeList ||
                      (header.m_type == kNtfsAttrData && header.m_nameLength == 0);
  if (!wanted) return true;
  AttributeExtent extent;
  if (!ReadExtent(record, off, header, extent, why)) return false;
  switch (header.m_type) {
  case kNtfsAttrStandardInformation:
    return out.m_hasTimes || ReadStandardInformation(record, extent, out, why);
  case kNtfsAttrFileName:
    return ReadFileName(record, extent, out, why);
  case kNtfsAttrAttributeList:
    out.m_hasAttributeList = true;
    out.m_attributeList = extent;
    return true;
  default:
    out.m_data.push_back(extent);
    return true;
  }
}

} // namespace

ParseResult ApplyRecordFixups(uint8_t *record, size_t size, std::string *why) {
  if (!HasFileSignature(record, size)) return ParseResult::NotThisStructure;
  if (size < 0x30 || size % kStride != 0) {
    Fail(why, "record size " + std::to_string(size) + " is not whole sectors");
    return ParseResult::Corrupt;
  }
  const size_t arrayOffset = ReadLe16(record + 4); // 0x04, u16, update-sequence array offset
  const size_t arrayCount = ReadLe16(record + 6);  // 0x06, u16, words in the array (1 + strides)
  const size_t strides = size / kStride;
  if (arrayOffset < 0x28 || arrayCount != strides + 1 || arrayOffset + 2 * arrayCount > kStride - 2) {
    Fail(why, "update-sequence array at " + Hex(arrayOffset) + " with " + std::to_string(arrayCount) +
                  " words does not fit the record");
    return ParseResult::Corrupt;
  }
  for (size_t i = 0; i < strides; ++i) {
    uint8_t *end = record + (i + 1) * kStride - 2;
    const uint8_t *saved = record + arrayOffset + 2 * (i + 1);
    end[0] = saved[0];
    end[1] = saved[1];
  }
  return ParseResult::Ok;
}

ParseResult ParseFileRecord(const uint8_t *record, size_t size, FileRecordInfo &out, std::string *why) {
  // A walk parses hundreds of thousands of records into one result: the
  // name's and the extents' storage is kept for the next record.
  std::u16string name = std::move(out.m_name);
  std::vector<AttributeExtent> data = std::move(out.m_data);
  name.clear();
  data.clear();
  out = FileRecordInfo();
  out.m_name = std::move(name);
  out.m_data = std::move(data);
  if (!HasFileSignature(record, size)) return ParseResult::NotThisStructure;
  if (size < 0x30) {
    Fail(why, "record shorter than its header");
    return ParseResult::Corrupt;
  }
  out.m_sequence = ReadLe16(record + 0x10);                       // 0x10, u16, sequence number
  size_t off = ReadLe16(record + 0x14);                           // 0x14, u16, first attribute offset
  out.m_flags = ReadLe16(record + 0x16);                          // 0x16, u16, in use / folder flags
  out.m_baseRecord = ReadLe64(record + 0x20) & 0xFFFFFFFFFFFFull; // 0x20, u64, base record reference
  if (off < 0x28 || off >= size) {
    Fail(why, "first attribute offset " + Hex(off) + " outside the record");
    return ParseResult::Corrupt;
  }
  for (size_t count = 0; count < kMaxAttributes; ++count) {
    if (size - off < 4) {
      Fail(why, "attribute offset " + Hex(off) + " past record end");
      return ParseResult::Corrupt;
    }
    if (ReadLe32(record + off) == kNtfsAttrEnd) return ParseResult::Ok;
    AttributeHeader header;
    if (!ReadAttributeHeader(record, size, off, header, why) || !ReadAttribute(record, off, header, out, why))
      return ParseResult::Corrupt;
    off += header.m_length;
  }
  Fail(why, "more than " + std::to_string(kMaxAttributes) + " attributes");
  return ParseResult::Corrupt;
}

ParseResult ParseAttributeList(const uint8_t *bytes, size_t length, std::vector<AttributeListEntry> &out,
                               std::string *why) {
  size_t off = 0;
  while (off < length) {
    if (length - off < 0x1A) {
      // Lists are padded to 8 bytes; a tail too short for an entry is padding.
      return ParseResult::Ok;
    }
    const size_t entryLength = ReadLe16(bytes + off + 4); // 0x04, u16, entry length
    if (entryLength < 0x1A || entryLength > length - off) {
      Fail(why, "attribute list entry length " + Hex(entryLength) + " at " + Hex(off) + " out of bounds");
      return ParseResult::Corrupt;
    }
    if (out.size() >= kMaxAttributeListEntries) {
      Fail(why, "attribute list has too many entries");
      return ParseResult::Corrupt;
    }
    AttributeListEntry entry;
    entry.m_type = ReadLe32(bytes + off);                              // 0x00, u32, attribute type
    entry.m_nameLength = bytes[off + 6];                               // 0x06, u8, name length
    entry.m_firstVcn = ReadLe64(bytes + off + 8);                      // 0x08, u64, first VCN
    entry.m_record = SplitFileReference(ReadLe64(bytes + off + 0x10)); // 0x10, u64, holding record
    if (entry.m_type == 0 || entry.m_type == kNtfsAttrEnd) return ParseResult::Ok;
    out.push_back(entry);
    off += entryLength;
  }
  return ParseResult::Ok;
}
