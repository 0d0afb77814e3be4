// Reads a found NTFS file's bytes: the unnamed data stream of its record,
// resident or in runs, gathered across attribute-list extension records in
// cluster order, sparse runs as zeros and compressed units decompressed, cut
// to the exact file size.
#pragma once

#include "NtfsVolume.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct NtfsDataStream {
  bool m_resident = false;
  std::vector<uint8_t> m_residentBytes;
  std::vector<DataRun> m_runs;    // in cluster (VCN) order, without gaps
  uint64_t m_size = 0;            // file size in bytes
  uint64_t m_initializedSize = 0; // bytes past this read as zeros
  bool m_compressed = false;
  bool m_encrypted = false;
  uint32_t m_compressionUnitClusters = 0;
};

// The unnamed $DATA of a record (bytes/info as ReadRecord gives them),
// following its attribute list. Corrupt when it is missing, an extension
// record belongs to another file, or its extents leave a gap.
ParseResult LoadNtfsDataStream(NtfsVolume &volume, uint64_t record, const std::vector<uint8_t> &bytes,
                               const FileRecordInfo &info, NtfsDataStream &out, std::string *why = nullptr);

// Receives the file's bytes in order; returning false stops the read.
using NtfsByteSink = std::function<bool(const uint8_t *data, size_t length)>;

// Bytes the stream's runs (sparse ones included) map, up to 2^64 - 1.
uint64_t NtfsRunBytes(const std::vector<DataRun> &runs, uint64_t clusterSize);
// The bytes a read hands on: the recorded size, but no more than the runs
// map when the size was damaged past them.
uint64_t NtfsBytesHeld(const NtfsDataStream &stream, uint64_t clusterSize);

// Streams exactly m_size bytes to the sink. True when every byte was read
// (a failed cluster read goes on with zeros and makes the result false).
// A size past what the runs map is damaged: only the bytes the runs hold are
// handed on, the result is false and, when given, cutToRuns is set (and
// left clear on every other outcome).
bool StreamNtfsData(NtfsVolume &volume, const NtfsDataStream &stream, const NtfsByteSink &sink,
                    std::string *why = nullptr, bool *cutToRuns = nullptr);

// The two steps above for one MFT record number (an NTFS entry's first-cluster field).
bool ReadNtfsFile(NtfsVolume &volume, uint64_t record, const NtfsByteSink &sink, std::string *why = nullptr,
                  bool *cutToRuns = nullptr);
// What ReadNtfsFile would hand on for the record (NtfsBytesHeld); 0 when its
// data cannot be found.
uint64_t NtfsFileBytesHeld(NtfsVolume &volume, uint64_t record);
