// NTFS mapping pairs ("run lists"): where the clusters of a non-resident
// attribute lie on the volume, and the 16-byte run entry that the scan keeps
// of the master file table's own run list.
#pragma once

#include "ByteOrder.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One decoded run: clusters [m_vcn, m_vcn + m_clusters) of the attribute lie
// at volume cluster m_lcn onwards, or nowhere when m_sparse (read as zeros).
struct DataRun {
  uint64_t m_vcn = 0;
  uint64_t m_clusters = 0;
  uint64_t m_lcn = 0;
  bool m_sparse = false;
  int64_t m_lcnDelta = 0;   // the stored cluster field, sign-extended
  uint8_t m_deltaWidth = 0; // width of the stored cluster field in bytes (0 for a sparse run)
};

// Runs of one attribute decoded per call are capped so a damaged record
// cannot make the decoder grow without end.
constexpr size_t kMaxRunsPerList = 1u << 20;

// Decodes the mapping pairs in bytes[0, length) into out (appended), the
// first run starting at firstVcn. Ok at the terminating 0 header; Corrupt on
// a bad header, a field past the end, a cluster number below 0, a count
// overflow or more than maxRuns runs (why says which).
ParseResult DecodeRunList(const uint8_t *bytes, size_t length, uint64_t firstVcn, std::vector<DataRun> &out,
                          std::string *why = nullptr, size_t maxRuns = kMaxRunsPerList);

// Sum of the clusters of a run list.
uint64_t RunListClusters(const std::vector<DataRun> &runs);

// The master file table's run list as the scan-information file stores it:
// link, run length in sectors, stored cluster field zero-extended, its width,
// 'S' for the first run of one decoded list and 'M' for the others.
struct MftRunEntry {
  uint32_t m_link = 0;
  uint32_t m_sectors = 0;
  uint32_t m_rawCluster = 0;
  uint8_t m_width = 0;
  uint8_t m_mark = 0;
};
constexpr size_t kMftRunEntrySize = 16;

void SerialiseMftRunEntry(const MftRunEntry &entry, uint8_t *out);
ParseResult ParseMftRunEntry(const uint8_t *bytes, size_t length, MftRunEntry &out);

// True when the entry form keeps the run whole: its length fits 32 bits of
// sectors and its cluster field, read back as 4 signed bytes, is the same.
bool MftRunEntryHolds(const DataRun &run, uint32_t sectorsPerCluster);

// The entry form of one run list (first run marked 'S'). Stored cluster fields
// wider than 4 bytes keep their low 4 bytes; lengths are capped at 32 bits.
std::vector<MftRunEntry> ToMftRunEntries(const std::vector<DataRun> &runs, uint32_t sectorsPerCluster);
