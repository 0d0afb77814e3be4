#include "RunList.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

void Fail(std::string *why, const std::string &text) {
  if (why) *why = text;
}

uint64_t ReadUnsigned(const uint8_t *p, unsigned width) {
  uint64_t value = 0;
  for (unsigned i = 0; i < width; ++i) value |= static_cast<uint64_t>(p[i]) << (8 * i);
  return value;
}

int64_t ReadSigned(const uint8_t *p, unsigned width) {
  uint64_t value = ReadUnsigned(p, width);
  if (width < 8 && (p[width - 1] & 0x80)) value |= ~uint64_t{0} << (8 * width);
  return static_cast<int64_t>(value);
}

} // namespace

ParseResult DecodeRunList(const uint8_t *bytes, size_t length, uint64_t firstVcn, std::vector<DataRun> &out,
                          std::string *why, size_t maxRuns) {
  size_t pos = 0;
  uint64_t vcn = firstVcn;
  int64_t lcn = 0;
  size_t decoded = 0;
  while (true) {
    if (pos >= length) {
      Fail(why, "run list runs past its attribute without an end mark");
      return ParseResult::Corrupt;
    }
    const uint8_t header = bytes[pos];
    if (header == 0) return ParseResult::Ok;
    const unsigned lengthWidth = header & 0x0F;
    const unsigned clusterWidth = header >> 4;
    if (lengthWidth < 1 || lengthWidth > 8 || clusterWidth > 8) {
      Fail(why, "run header byte out of range at run offset " + std::to_string(pos));
      return ParseResult::Corrupt;
    }
    if (length - pos - 1 < lengthWidth + clusterWidth) {
      Fail(why, "run fields past the attribute end at run offset " + std::to_string(pos));
      return ParseResult::Corrupt;
    }
    const uint64_t clusters = ReadUnsigned(bytes + pos + 1, lengthWidth);
    if (clusters == 0 || clusters > std::numeric_limits<uint64_t>::max() - vcn) {
      Fail(why, "run length 0 or past the largest cluster number");
      return ParseResult::Corrupt;
    }
    if (++decoded > maxRuns) {
      Fail(why, "more runs than the run array holds");
      return ParseResult::Corrupt;
    }
    DataRun run;
    run.m_vcn = vcn;
    run.m_clusters = clusters;
    run.m_deltaWidth = static_cast<uint8_t>(clusterWidth);
    if (clusterWidth == 0) {
      run.m_sparse = true;
    } else {
      const int64_t delta = ReadSigned(bytes + pos + 1 + lengthWidth, clusterWidth);
      if ((delta < 0 && lcn < std::numeric_limits<int64_t>::min() - delta) ||
          (delta > 0 && lcn > std::numeric_limits<int64_t>::max() - delta) || lcn + delta < 0) {
        Fail(why, "run cluster number below 0 or overflowing");
        return ParseResult::Corrupt;
      }
      lcn += delta;
      run.m_lcnDelta = delta;
      run.m_lcn = static_cast<uint64_t>(lcn);
    }
    out.push_back(run);
    vcn += clusters;
    pos += 1 + lengthWidth + clusterWidth;
  }
}

uint64_t RunListClusters(const std::vector<DataRun> &runs) {
  uint64_t total = 0;
  for (const DataRun &run : runs) total += run.m_clusters;
  return total;
}

void SerialiseMftRunEntry(const MftRunEntry &entry, uint8_t *out) {
  WriteLe32(out + 0, entry.m_link);       // 0, u32, list link
  WriteLe32(out + 4, entry.m_sectors);    // 4, u32, run length in sectors
  WriteLe32(out + 8, entry.m_rawCluster); // 8, u32, stored cluster field
  out[12] = entry.m_width;                // 12, u8, width of that field
  out[13] = entry.m_mark;                 // 13, u8, 'S' first run / 'M' later runs
  out[14] = 0;
  out[15] = 0;
}

ParseResult ParseMftRunEntry(const uint8_t *bytes, size_t length, MftRunEntry &out) {
  if (length < kMftRunEntrySize) return ParseResult::Corrupt;
  out.m_link = ReadLe32(bytes + 0);
  out.m_sectors = ReadLe32(bytes + 4);
  out.m_rawCluster = ReadLe32(bytes + 8);
  out.m_width = bytes[12];
  out.m_mark = bytes[13];
  if (out.m_width > 4 || (out.m_mark != 'S' && out.m_mark != 'M')) return ParseResult::Corrupt;
  return ParseResult::Ok;
}

bool MftRunEntryHolds(const DataRun &run, uint32_t sectorsPerCluster) {
  if (run.m_clusters > 0xFFFFFFFFu / std::max<uint32_t>(sectorsPerCluster, 1)) return false;
  return run.m_sparse || (run.m_lcnDelta >= INT32_MIN && run.m_lcnDelta <= INT32_MAX);
}

std::vector<MftRunEntry> ToMftRunEntries(const std::vector<DataRun> &runs, uint32_t sectorsPerCluster) {
  std::vector<MftRunEntry> entries;
  entries.reserve(runs.size());
  for (size_t i = 0; i < runs.size(); ++i) {
    MftRunEntry entry;
    const uint64_t sectors = runs[i].m_clusters * sectorsPerCluster;
    entry.m_sectors = sectors > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(sectors);
    const uint8_t width = runs[i].m_deltaWidth > 4 ? 4 : runs[i].m_deltaWidth;
    const uint64_t mask = width == 0 ? 0 : (width == 4 ? 0xFFFFFFFFu : ((uint64_t{1} << (8 * width)) - 1));
    entry.m_rawCluster = static_cast<uint32_t>(static_cast<uint64_t>(runs[i].m_lcnDelta) & mask);
    entry.m_width = width;
    entry.m_mark = i == 0 ? 'S' : 'M';
    entries.push_back(entry);
  }
  return entries;
}
