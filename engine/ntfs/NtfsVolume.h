// An NTFS volume read through the sector interface: its boot sector (or the
// backup in the volume's last sector), the run list of the master file table
// ($MFT, followed into its attribute-list extension records, or $MFTMirr when
// $MFT's own record is unreadable) and reads of records and clusters.
#pragma once

#include "FileRecord.h"
#include "RunList.h"
#include "SectorIo.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct NtfsBootInfo {
  uint32_t m_sectorsPerCluster = 0;
  uint64_t m_totalSectors = 0; // the boot sector's count (one less than the volume's)
  uint64_t m_mftCluster = 0;
  uint64_t m_mftMirrorCluster = 0;
  uint32_t m_recordSize = 1024;
};

// Checks one boot sector (512 bytes): end mark 0x55 0xAA, "NTFS" at 3,
// 512-byte sectors, a power-of-two cluster size and an MFT inside the volume.
ParseResult ParseNtfsBootSector(const uint8_t *sector, NtfsBootInfo &out, std::string *why = nullptr);

class NtfsVolume {
public:
  // Told of every read that fails, with the drive's sector number of its
  // first sector and its sector count.
  using ReadErrorSink = std::function<void(uint64_t driveSector, uint64_t sectors)>;

  // volumeSectors: the partition extent in sectors, 0 when unknown (the
  // device's size is used then to find the backup boot sector).
  NtfsVolume(SectorReader &reader, uint64_t volumeSectors);
  NtfsVolume(const NtfsVolume &) = delete;
  NtfsVolume &operator=(const NtfsVolume &) = delete;

  void SetReadErrorSink(ReadErrorSink sink) { m_readErrorSink = std::move(sink); }

  // Reads the primary boot sector, else the backup at the volume's last
  // sector; true when one passed.
  bool ReadBootSector();
  // Builds the $MFT run list; true when it covers at least one record.
  bool LoadMftRuns(std::string *why = nullptr);

  const NtfsBootInfo &Boot() const { return m_boot; }
  bool UsedBackupBootSector() const { return m_usedBackup; }
  uint32_t SectorsPerCluster() const { return m_boot.m_sectorsPerCluster; }
  uint64_t ClusterSize() const { return uint64_t{m_boot.m_sectorsPerCluster} * kSectorSize; }
  uint32_t RecordSize() const { return m_boot.m_recordSize; }
  uint64_t RecordCount() const { return m_recordCount; }
  const std::vector<DataRun> &MftRuns() const { return m_mftRuns; }
  // What the last run-list build cut off at the volume's end (empty when the
  // runs lay inside it), for the log.
  const std::string &MftClampNote() const { return m_mftClampNote; }
  // The run list in entry form, each extent's list starting with an 'S' entry
  // (its first cluster field counts from 0 again).
  std::vector<MftRunEntry> MftRunEntries() const;
  uint64_t VolumeSectors() const { return m_volumeSectors; }
  SectorReader &Reader() { return m_reader; }

  // Volume-relative sectors; failures reported to the sink, the buffer zeroed there.
  bool ReadSectors(uint64_t first, uint64_t count, uint8_t *buffer);
  bool ReadClusters(uint64_t lcn, uint64_t count, uint8_t *buffer);
  // Records [first, first + count) of the $MFT, contiguous pieces in one
  // transfer each. False when a part could not be read or lies past the runs.
  bool ReadMftRecords(uint64_t first, uint64_t count, uint8_t *buffer);
  // Maps a byte offset of the $MFT data to a volume sector and the bytes
  // that follow it contiguously; false past the last run.
  bool MftOffsetToSector(uint64_t offset, uint64_t &sector, uint64_t &contiguousBytes) const;
  // Reads one record, fixes it up and parses it.
  ParseResult ReadRecord(uint64_t record, std::vector<uint8_t> &bytes, FileRecordInfo &info,
                         std::string *why = nullptr);
  // The entries of a record's attribute list (resident or in clusters).
  ParseResult LoadAttributeList(const uint8_t *record, const FileRecordInfo &info,
                                std::vector<AttributeListEntry> &out, std::string *why = nullptr);

  // Takes the boot values and the $MFT run list from a scan-information file
  // instead of the disk (each 'S' entry starts a new decoded list). False,
  // with why, when the entries do not describe a run list; the volume is
  // then unchanged.
  bool RestoreMftRuns(const NtfsBootInfo &boot, const std::vector<MftRunEntry> &entries,
                      std::string *why = nullptr);

private:
  bool TryBootSector(uint64_t sector);
  bool LoadMftRunsFrom(uint64_t cluster, std::string *why);
  bool AddDataExtents(const uint8_t *record, const FileRecordInfo &info, std::string *why);
  void AssembleMftRuns();
  uint64_t ClampMftRuns();
  uint64_t KnownVolumeSectors();

  struct Extent {
    uint64_t m_firstVcn;
    std::vector<DataRun> m_runs;
  };

  SectorReader &m_reader;
  uint64_t m_volumeSectors;
  NtfsBootInfo m_boot;
  bool m_usedBackup = false;
  std::vector<Extent> m_extents;
  std::vector<DataRun> m_mftRuns;
  uint64_t m_mftDataSize = 0;
  uint64_t m_recordCount = 0;
  std::string m_mftClampNote;
  ReadErrorSink m_readErrorSink;
};
