#include "NtfsFileReader.h"

#include "Lznt1.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace {

constexpr uint64_t kChunkBytes = 1u << 20;

bool Fail(std::string *why, const std::string &text) {
  if (why) *why = text;
  return false;
}

struct Extent {
  uint64_t m_firstVcn;
  std::vector<DataRun> m_runs;
};

bool CollectExtents(const uint8_t *record, const FileRecordInfo &info, NtfsDataStream &out,
                    std::vector<Extent> &extents, std::string *why) {
  for (const AttributeExtent &extent : info.m_data) {
    if (extent.m_resident) {
      out.m_resident = true;
      out.m_residentBytes.assign(record + extent.m_valueOffset,
                                 record + extent.m_valueOffset + extent.m_valueLength);
      out.m_size = out.m_initializedSize = extent.m_valueLength;
      continue;
    }
    const NonResidentHeader &nr = extent.m_nonResident;
    Extent piece{nr.m_firstVcn, {}};
    if (DecodeRunList(record + nr.m_runsOffset, nr.m_runsLength, nr.m_firstVcn, piece.m_runs, why) !=
        ParseResult::Ok)
      return false;
    if (nr.m_firstVcn == 0) {
      out.m_size = nr.m_dataSize;
      out.m_initializedSize = std::min(nr.m_initializedSize, nr.m_dataSize);
      out.m_compressed = (extent.m_flags & kNtfsAttrFlagCompressed) != 0;
      out.m_encrypted = (extent.m_flags & kNtfsAttrFlagEncrypted) != 0;
      out.m_compressionUnitClusters = nr.m_compressionUnitShift < 16 ? 1u << nr.m_compressionUnitShift : 0;
    }
    extents.push_back(std::move(piece));
  }
  return true;
}

bool JoinExtents(std::vector<Extent> &extents, NtfsDataStream &out, std::string *why) {
  std::sort(extents.begin(), extents.end(),
            [](const Extent &a, const Extent &b) { return a.m_firstVcn < b.m_firstVcn; });
  uint64_t nextVcn = 0;
  for (const Extent &extent : extents) {
    if (extent.m_firstVcn != nextVcn)
      return Fail(why, "data extents leave a gap at cluster " + std::to_string(nextVcn));
    out.m_runs.insert(out.m_runs.end(), extent.m_runs.begin(), extent.m_runs.end());
    nextVcn += RunListClusters(extent.m_runs);
  }
  return true;
}

class StreamWriter {
public:
  StreamWriter(NtfsVolume &volume, const NtfsDataStream &stream, const NtfsByteSink &sink)
      : m_volume(volume), m_stream(stream), m_sink(sink), m_clusterSize(volume.ClusterSize()),
        m_size(NtfsBytesHeld(stream, m_clusterSize)) {}

  bool Run(std::string *why, bool *cutToRuns);

private:
  // Hands on bytes of the file from m_written, zeroing what lies past the initialized size.
  bool Emit(uint8_t *data, uint64_t length);
  bool WritePlainRuns(std::string *why);
  bool WriteCompressedUnits(std::string *why);
  bool WriteUnit(uint64_t firstVcn, std::vector<uint8_t> &unit, std::vector<uint8_t> &packed,
                 std::string *why);

  NtfsVolume &m_volume;
  const NtfsDataStream &m_stream;
  const NtfsByteSink &m_sink;
  uint64_t m_clusterSize;
  // The bytes handed on: the recorded size, cut to what the runs map.
  uint64_t m_size;
  uint64_t m_written = 0;
  bool m_readFailed = false;
  bool m_sinkStopped = false;
};

bool StreamWriter::Emit(uint8_t *data, uint64_t length) {
  length = std::min(length, m_size - m_written);
  if (m_written + length > m_stream.m_initializedSize) {
    const uint64_t keep = m_stream.m_initializedSize > m_written ? m_stream.m_initializedSize - m_written : 0;
    std::memset(data + keep, 0, length - keep);
  }
  if (length && !m_sink(data, length)) {
    m_sinkStopped = true;
    return false;
  }
  m_written += length;
  return true;
}

bool StreamWriter::WritePlainRuns(std::string *why) {
  std::vector<uint8_t> buffer;
  for (const DataRun &run : m_stream.m_runs) {
    for (uint64_t done = 0; done < run.m_clusters && m_written < m_size;) {
      // Rounded up without adding first: a damaged size near 2^64 would wrap
      // to nothing wanted, and the loop would never move on.
      const uint64_t left = m_size - m_written;
      const uint64_t wanted = left / m_clusterSize + (left % m_clusterSize != 0 ? 1 : 0);
      const uint64_t clusters = std::min({run.m_clusters - done, kChunkBytes / m_clusterSize + 1, wanted});
      buffer.assign(clusters * m_clusterSize, 0);
      if (!run.m_sparse && !m_volume.ReadClusters(run.m_lcn + done, clusters, buffer.data()))
        m_readFailed = true;
      if (!Emit(buffer.data(), buffer.size())) return Fail(why, "the receiver stopped the read");
      done += clusters;
    }
  }
  return true;
}

// One compression unit: all clusters stored means it was kept plain, none
// stored means zeros, and a stored prefix holds the LZNT1 stream.
bool StreamWriter::WriteUnit(uint64_t firstVcn, std::vector<uint8_t> &unit, std::vector<uint8_t> &packed,
                             std::string *why) {
  const uint64_t unitClusters = m_stream.m_compressionUnitClusters;
  std::fill(unit.begin(), unit.end(), 0);
  uint64_t stored = 0;
  for (uint64_t vcn = firstVcn; vcn < firstVcn + unitClusters;) {
    auto it = std::upper_bound(m_stream.m_runs.begin(), m_stream.m_runs.end(), vcn,
                               [](uint64_t v, const DataRun &run) { return v < run.m_vcn; });
    if (it == m_stream.m_runs.begin()) break;
    const DataRun &run = *(it - 1);
    if (vcn >= run.m_vcn + run.m_clusters || run.m_sparse) break;
    const uint64_t count = std::min(run.m_vcn + run.m_clusters, firstVcn + unitClusters) - vcn;
    if (!m_volume.ReadClusters(run.m_lcn + (vcn - run.m_vcn), count, packed.data() + stored * m_clusterSize))
      m_readFailed = true;
    stored += count;
    vcn += count;
  }
  if (stored == unitClusters) {
    std::memcpy(unit.data(), packed.data(), unit.size());
  } else if (stored != 0) {
    size_t produced = 0;
    if (!DecompressLznt1(packed.data(), stored * m_clusterSize, unit.data(), unit.size(), produced))
      m_readFailed = true;
  }
  if (!Emit(unit.data(), unit.size())) return Fail(why, "the receiver stopped the read");
  return true;
}

bool StreamWriter::WriteCompressedUnits(std::string *why) {
  const uint64_t unitClusters = m_stream.m_compressionUnitClusters;
  std::vector<uint8_t> unit(unitClusters * m_clusterSize);
  std::vector<uint8_t> packed(unit.size());
  for (uint64_t vcn = 0; m_written < m_size; vcn += unitClusters)
    if (!WriteUnit(vcn, unit, packed, why)) return false;
  return true;
}

bool StreamWriter::Run(std::string *why, bool *cutToRuns) {
  if (m_stream.m_resident) {
    std::vector<uint8_t> copy = m_stream.m_residentBytes;
    return Emit(copy.data(), copy.size()) || Fail(why, "the receiver stopped the read");
  }
  if (m_stream.m_encrypted) return Fail(why, "the data is encrypted");
  bool ok;
  if (m_stream.m_compressed) {
    if (m_stream.m_compressionUnitClusters < 2 || m_stream.m_compressionUnitClusters > 64)
      return Fail(why, "compression unit out of range");
    ok = WriteCompressedUnits(why);
  } else {
    ok = WritePlainRuns(why);
  }
  if (!ok) return false;
  if (m_readFailed) return Fail(why, "some clusters could not be read");
  if (m_size < m_stream.m_size) {
    if (cutToRuns) *cutToRuns = true;
    return Fail(why,
                "runs cover " + std::to_string(m_size) + " of " + std::to_string(m_stream.m_size) + " bytes");
  }
  return true;
}

} // namespace

ParseResult LoadNtfsDataStream(NtfsVolume &volume, uint64_t record, const std::vector<uint8_t> &bytes,
                               const FileRecordInfo &info, NtfsDataStream &out, std::string *why) {
  out = NtfsDataStream();
  std::vector<Extent> extents;
  if (!CollectExtents(bytes.data(), info, out, extents, why)) return ParseResult::Corrupt;
  if (info.m_hasAttributeList) {
    std::vector<AttributeListEntry> entries;
    const ParseResult listed = volume.LoadAttributeList(bytes.data(), info, entries, why);
    if (listed != ParseResult::Ok) return listed;
    std::set<uint64_t> seen{record};
    for (const AttributeListEntry &entry : entries) {
      if (entry.m_type != kNtfsAttrData || entry.m_nameLength != 0) continue;
      if (!seen.insert(entry.m_record.m_record).second) continue;
      std::vector<uint8_t> extension;
      FileRecordInfo extensionInfo;
      if (volume.ReadRecord(entry.m_record.m_record, extension, extensionInfo, why) != ParseResult::Ok)
        return ParseResult::Corrupt;
      if (extensionInfo.m_baseRecord != record) {
        Fail(why, "extension record " + std::to_string(entry.m_record.m_record) + " belongs to another file");
        return ParseResult::Corrupt;
      }
      if (!CollectExtents(extension.data(), extensionInfo, out, extents, why)) return ParseResult::Corrupt;
    }
  }
  if (out.m_resident) return ParseResult::Ok;
  if (extents.empty()) {
    Fail(why, "no unnamed data stream");
    return ParseResult::NotThisStructure;
  }
  return JoinExtents(extents, out, why) ? ParseResult::Ok : ParseResult::Corrupt;
}

uint64_t NtfsRunBytes(const std::vector<DataRun> &runs, uint64_t clusterSize) {
  uint64_t clusters = 0;
  for (const DataRun &run : runs)
    clusters = run.m_clusters > UINT64_MAX - clusters ? UINT64_MAX : clusters + run.m_clusters;
  return clusterSize != 0 && clusters > UINT64_MAX / clusterSize ? UINT64_MAX : clusters * clusterSize;
}

uint64_t NtfsBytesHeld(const NtfsDataStream &stream, uint64_t clusterSize) {
  if (stream.m_resident) return stream.m_size;
  return std::min(stream.m_size, NtfsRunBytes(stream.m_runs, clusterSize));
}

bool StreamNtfsData(NtfsVolume &volume, const NtfsDataStream &stream, const NtfsByteSink &sink,
                    std::string *why, bool *cutToRuns) {
  if (cutToRuns) *cutToRuns = false;
  StreamWriter writer(volume, stream, sink);
  return writer.Run(why, cutToRuns);
}

bool ReadNtfsFile(NtfsVolume &volume, uint64_t record, const NtfsByteSink &sink, std::string *why,
                  bool *cutToRuns) {
  if (cutToRuns) *cutToRuns = false;
  std::vector<uint8_t> bytes;
  FileRecordInfo info;
  if (volume.ReadRecord(record, bytes, info, why) != ParseResult::Ok) return false;
  NtfsDataStream stream;
  if (LoadNtfsDataStream(volume, record, bytes, info, stream, why) != ParseResult::Ok) return false;
  return StreamNtfsData(volume, stream, sink, why, cutToRuns);
}

uint64_t NtfsFileBytesHeld(NtfsVolume &volume, uint64_t record) {
  std::vector<uint8_t> bytes;
  FileRecordInfo info;
  NtfsDataStream stream;
  if (volume.ReadRecord(record, bytes, info) != ParseResult::Ok ||
      LoadNtfsDataStream(volume, record, bytes, info, stream) != ParseResult::Ok)
    return 0;
  return NtfsBytesHeld(stream, volume.ClusterSize());
}
