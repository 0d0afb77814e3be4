#include "FatDirectoryEntry.h"

namespace {

uint8_t Attributes(const uint8_t *entry) {
  return entry[11];
} // 11, 1, attribute byte

bool IsLongNamePart(const uint8_t *entry) {
  return Attributes(entry) == kFatLongNameAttributes;
}

// Appends the 13 UTF-16 characters of one long-name part; false at the name's end.
bool AppendLongNamePart(const uint8_t *part, std::u16string &name) {
  static constexpr size_t kOffsets[] = {1, 3, 5, 7, 9, 14, 16, 18, 20, 22, 24, 28, 30};
  for (size_t offset : kOffsets) {
    const char16_t c = static_cast<char16_t>(ReadLe16(part + offset));
    if (c == 0) return false;
    if (c == 0xFFFF) continue;
    if (name.size() >= kFatMaxNameLength) return false;
    name.push_back(c);
  }
  return true;
}

// Bytes above 0x7F are shown in Latin-1: the OEM code page of the disk is not known here.
// lower: the entry marks this part as lower case (no long name was needed for it).
void AppendOemText(const uint8_t *bytes, size_t count, bool lower, std::u16string &out) {
  size_t length = 0;
  while (length < count && bytes[length] != ' ') ++length;
  for (size_t i = 0; i < length; ++i) {
    char16_t c = static_cast<char16_t>(bytes[i]);
    if (lower && c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    out.push_back(c);
  }
}

} // namespace

EntryCheckResult CheckDirectoryEntry(const uint8_t *entry, FatKind kind, uint32_t maxCluster) {
  const uint8_t attributes = Attributes(entry);
  if (attributes == kFatLongNameAttributes) return {EntryPlausibility::NoData, "long-name part", false};
  const uint16_t writeTime = ReadLe16(entry + 22); // 22, 2, write time
  const uint16_t writeDate = ReadLe16(entry + 24); // 24, 2, write date
  if (writeDate == 0) return {EntryPlausibility::Implausible, "write date 0", false};
  if (writeTime == 0) return {EntryPlausibility::Implausible, "write time 0", false};
  if (attributes > 63) return {EntryPlausibility::Implausible, "attribute above 63", false};
  const uint32_t cluster = EntryFirstCluster(entry, kind);
  if (cluster > maxCluster) return {EntryPlausibility::Implausible, "first cluster past the volume", false};
  const bool folder = (attributes & kEntryAttrFolder) != 0;
  for (size_t i = 0; i < 11; ++i)
    if (entry[i] == 0) return {EntryPlausibility::Implausible, "NUL inside the name", false};
  const unsigned month = (writeDate >> 5) & 15;
  if (month == 0 || month > 12) return {EntryPlausibility::Implausible, "month out of range", false};
  if (cluster < 2) return {EntryPlausibility::NoData, "no first cluster", false};
  if (attributes & kFatVolumeLabel) return {EntryPlausibility::NoData, "volume label", false};
  return {EntryPlausibility::Plausible, "", folder};
}

bool IsFolderStart(const uint8_t *sector, size_t length) {
  return length >= 2 * kFatEntrySize && sector[0] == '.' && sector[kFatEntrySize] == '.';
}

bool HasDotEntry(const uint8_t *cluster, size_t length) {
  if (length >= kFatEntrySize && cluster[0] == '.') return true;
  return length >= 2 * kFatEntrySize && cluster[kFatEntrySize] == '.';
}

bool IsFolderContinuation(const uint8_t *cluster, size_t length, FatKind kind, uint32_t maxCluster) {
  if (length < kFatEntrySize || cluster[0] == 0 || HasDotEntry(cluster, length)) return false;
  for (size_t offset = 0; offset + kFatEntrySize <= length; offset += kFatEntrySize) {
    const uint8_t *entry = cluster + offset;
    if (entry[0] == 0) continue;
    // 0x3F holds every attribute bit a real entry uses; fill bytes such as 0xE5 or 0xF6 have more.
    if (entry[0] == kFatDeletedMark && Attributes(entry) <= 0x3F) continue;
    if (CheckDirectoryEntry(entry, kind, maxCluster).m_verdict == EntryPlausibility::Implausible)
      return false;
  }
  return true;
}

namespace {

// A date and time word pair as one key in 10 ms steps; the packed fields
// (year, month, day; hour, minute, 2 s) order as the time does.
uint64_t TimeKey(uint32_t time, uint32_t date, uint32_t tenMs) {
  return ((uint64_t{date & 0xFFFF} << 16) | (time & 0xFFFF)) * 200 + tenMs;
}

} // namespace

FatEntryTimes EntryTimesFromWords(uint32_t createdTime, uint32_t createdDate, uint32_t writtenTime,
                                  uint32_t writtenDate) {
  FatEntryTimes times;
  if ((createdDate & 0xFFFF) != 0) {
    times.m_created = TimeKey(createdTime, createdDate, 0);
    times.m_createdStep = 200;
  }
  if ((writtenDate & 0xFFFF) != 0) times.m_written = TimeKey(writtenTime, writtenDate, 0);
  return times;
}

FatEntryTimes ReadEntryTimes(const uint8_t *entry) {
  FatEntryTimes times = EntryTimesFromWords(ReadLe16(entry + 14),  // 14, 2, creation time
                                            ReadLe16(entry + 16),  // 16, 2, creation date
                                            ReadLe16(entry + 22),  // 22, 2, write time
                                            ReadLe16(entry + 24)); // 24, 2, write date
  const uint8_t tenMs = entry[13];                                 // 13, 1, creation time in 10 ms (0..199)
  if (times.m_created == 0 || tenMs > 199) {
    times.m_created = 0;
    return times;
  }
  times.m_created += tenMs;
  times.m_createdStep = 1;
  return times;
}

uint32_t EntryFirstCluster(const uint8_t *entry, FatKind kind) {
  const uint32_t low = ReadLe16(entry + 26); // 26, 2, first cluster, low word
  if (kind != FatKind::Fat32) return low;
  return (static_cast<uint32_t>(ReadLe16(entry + 20)) << 16) | low; // 20, 2, first cluster, high word (FAT32)
}

std::u16string ShortEntryName(const uint8_t *entry) {
  const uint8_t caseFlags = entry[12]; // 12, 1, 0x08 name and 0x10 extension in lower case
  std::u16string name;
  AppendOemText(entry, 8, (caseFlags & 0x08) != 0, name);
  if (!name.empty() && entry[0] == kFatDeletedMark) name[0] = u'X';
  if (!name.empty() && entry[0] == 0x05) name[0] = 0xE5; // 0x05 stands for a real first byte 0xE5
  std::u16string extension;
  AppendOemText(entry + 8, 3, (caseFlags & 0x10) != 0, extension);
  if (!extension.empty()) name += u"." + extension;
  return name;
}

std::u16string AssembleLongName(const FolderBytes &folder, size_t offset) {
  std::u16string name;
  const uint8_t *bytes = folder.m_current;
  size_t position = offset;
  bool inPrevious = false;
  for (size_t parts = 0; parts < kFatMaxLongNameParts; ++parts) {
    if (position < kFatEntrySize) {
      // The parts go on at the end of the cluster before, when there is one.
      if (inPrevious || folder.m_previous == nullptr || folder.m_previousBytes < kFatEntrySize) break;
      bytes = folder.m_previous;
      position = folder.m_previousBytes - folder.m_previousBytes % kFatEntrySize;
      inPrevious = true;
    }
    position -= kFatEntrySize;
    const uint8_t *part = bytes + position;
    if (!IsLongNamePart(part)) break;
    if (!AppendLongNamePart(part, name)) break;
  }
  return name;
}

bool LongNameMayBeCut(const FolderBytes &folder, size_t offset) {
  if (folder.m_previous != nullptr || offset > folder.m_currentBytes) return false;
  size_t position = offset;
  while (position >= kFatEntrySize && IsLongNamePart(folder.m_current + position - kFatEntrySize))
    position -= kFatEntrySize;
  if (position != 0 || position == offset) return false;
  // The name's last part ends it with a NUL and 0xFFFF fill, unless the name
  // fills the part exactly.
  static constexpr size_t kOffsets[] = {1, 3, 5, 7, 9, 14, 16, 18, 20, 22, 24, 28, 30};
  for (size_t at : kOffsets) {
    const uint16_t c = ReadLe16(folder.m_current + at);
    if (c == 0 || c == 0xFFFF) return false;
  }
  return true;
}

DecodeResult DecodeDirectoryEntry(const FolderBytes &folder, size_t offset, const FatDecodeContext &context,
                                  uint32_t &idCounter, EntryRecord &work, std::u16string &name) {
  if (offset + kFatEntrySize > folder.m_currentBytes)
    return {DecodeOutcome::Skipped, "entry past the folder"};
  const uint8_t *entry = folder.m_current + offset;
  if (entry[0] == '.') return {DecodeOutcome::Skipped, "dot entry"};
  if (entry[0] == 0) return {DecodeOutcome::Skipped, "end of folder"};
  const uint8_t attributes = Attributes(entry);
  if (attributes == kFatLongNameAttributes) return {DecodeOutcome::Skipped, "long-name part"};
  if (attributes & kFatVolumeLabel) return {DecodeOutcome::Skipped, "volume label"};
  work.m_attributes = attributes;

  const uint32_t cluster = EntryFirstCluster(entry, context.m_kind);
  if (cluster > context.m_maxCluster) return {DecodeOutcome::Rejected, "first cluster past the volume"};
  work.m_ownId = idCounter++;
  if (cluster < 2) return {DecodeOutcome::Rejected, "no first cluster"};
  work.m_firstCluster = cluster;

  SetFatEntryDates(work, entry, context.m_kind == FatKind::Fat32);
  work.m_size = ReadLe32(entry + 28); // 28, 4, file size in bytes
  if (work.m_size > context.m_volumeBytes) return {DecodeOutcome::Rejected, "size larger than the volume"};

  name = AssembleLongName(folder, offset);
  if (name.empty()) name = ShortEntryName(entry);
  if (entry[0] == kFatDeletedMark) work.m_deleted = 1;
  if (work.IsFolder()) work.m_size = 0;
  return {DecodeOutcome::Record, ""};
}
