// The NTFS search engine: sets up the volume (boot sector, $MFT run list),
// walks every FILE record of the master file table, lists deleted files,
// deleted folders and live folders, and builds the folder tree from them
// through the application's services. One engine serves one search.
#pragma once

#include "EngineServices.h"
#include "EngineText.h"
#include "NtfsVolume.h"
#include "ReadFailureLog.h"
#include "WorkPacer.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// The engine's text ids, as the NTFS engines' code names them.
namespace NtfsText = EngineText;

struct NtfsFileTimes {
  uint64_t m_recordChange = 0;
  uint64_t m_modification = 0;
  uint64_t m_creation = 0;
};

// A deleted or live folder record met by the walk.
struct NtfsFolderNode {
  uint32_t m_parent = 0;
  uint16_t m_parentSequence = 0;
  uint32_t m_record = 0;
  uint16_t m_sequence = 0;
  std::u16string m_name;
  NtfsFileTimes m_times;
  bool m_deleted = false;
};

// A deleted file record met by the walk.
struct NtfsFileNode {
  uint64_t m_size = 0;
  uint32_t m_parent = 0;
  uint16_t m_parentSequence = 0;
  uint32_t m_record = 0;
  std::u16string m_name;
  NtfsFileTimes m_times;
  bool m_compressed = false;
  // The recorded size is more than the runs map, or than the volume holds.
  bool m_sizeBeyondClusters = false;
};

class NtfsScanEngine {
public:
  // volumeSectors: the volume's extent in sectors (0 when unknown); the
  // clock paces pumps and progress (tests give a fake one).
  NtfsScanEngine(EngineServices &services, SectorReader &reader, uint64_t volumeSectors,
                 WorkPacer::Clock clock = {});
  virtual ~NtfsScanEngine() = default;
  NtfsScanEngine(const NtfsScanEngine &) = delete;
  NtfsScanEngine &operator=(const NtfsScanEngine &) = delete;

  // The two search entries of the main frame.
  void RunNtfsFastScan();
  void RunNtfsAdvancedScan();

  bool ReadNtfsBootSector();
  bool LoadMftRunList();
  // False when the stop flag ended the walk.
  bool WalkMftRecords();
  // Lists every file the walk found, with its folders, even after a stop:
  // what was found is never dropped. A stop only keeps a later phase from starting.
  void BuildNtfsTree(bool advanced);
  bool IsFolderAdded(uint32_t id) const { return m_addedFolders.count(id) != 0; }
  void FreeNtfsEngineData();

  NtfsVolume &Volume() { return m_volume; }
  // The $MFT run list in the entry form the scan-information file keeps.
  const std::vector<MftRunEntry> &RunArray() const { return m_runArray; }
  const std::vector<NtfsFolderNode> &Folders() const { return m_folders; }
  const std::vector<NtfsFileNode> &Files() const { return m_files; }
  uint32_t FolderCount() const { return m_folderCount; }
  uint32_t FileCount() const { return m_fileCount; }
  uint32_t FoundCount() const { return m_foundCount; }
  uint64_t ByteTotal() const { return m_byteTotal; }
  uint32_t RootRecord() const { return m_rootRecord; }
  // The cluster-use map (one byte per cluster) a scan-information file
  // keeps; empty when the search built none.
  const std::vector<uint8_t> &ClusterUseMap() const { return m_clusterUseMap; }
  // Takes the run list and map of a loaded scan-information file.
  void RestoreScanTables(std::vector<MftRunEntry> runArray, std::vector<uint8_t> clusterUseMap);
  // Takes the counts of a loaded scan-information file.
  void RestoreScanTotals(uint32_t found, uint32_t folders, uint32_t files, uint64_t bytes);
  // Paces the engine's pumps; a scan-file load into the engine uses it too.
  WorkPacer &Pacer() { return m_pacer; }

protected:
  // The cluster-bitmap load and the signature search of free clusters that
  // an advanced search adds; the plain engine has neither.
  virtual bool LoadClusterBitmap() { return false; }
  virtual void SearchFreeClusters() {}

  // Lists a find of a search an advanced engine adds: counts it as found and
  // as a folder or a file (adding a file's size to the byte total) and shows
  // it in the tree (defined beside the signature search).
  void AddSearchFind(const EntryRecord &entry, const std::u16string &name);
  EngineServices &Services() { return m_services; }
  // Groups the failed reads of a pass over the volume into runs.
  ReadFailureLog &ReadFailures() { return m_readFailures; }

private:
  void RefuseInvalidVolume();
  void ListWhatWasWalked(bool walked, bool advanced);
  void WriteReadErrorLine(uint64_t first, uint64_t last);
  void LogDamagedRecord(uint64_t record, const std::string &why);
  void ExamineRecord(uint64_t record, uint8_t *bytes);
  void ClearWalkLists();
  void TakeNameFromExtensions(uint64_t record, const uint8_t *bytes, FileRecordInfo &info);
  void ListFolder(uint64_t record, const FileRecordInfo &info);
  void ListDeletedFile(uint64_t record, const uint8_t *bytes, const FileRecordInfo &info);
  bool SizeBeyondClusters(uint64_t record, const uint8_t *bytes, const FileRecordInfo &info, uint64_t size);

  void AddToTree(const EntryRecord &entry, const std::u16string &name);
  void AddToTree(const EntryRecord &entry, std::u16string &&name);
  void StartTreeOnce();
  void ShowAdded();
  // Hands the file's name over to the tree.
  void AddFileToTree(NtfsFileNode &file);
  uint32_t AddFolderChain(uint32_t parent, uint16_t parentSequence);
  const NtfsFolderNode *FindParentFolder(uint32_t record, uint16_t sequence) const;
  uint32_t AddMissingFolder(uint32_t record);
  void EmitNtfsPathFrames(std::vector<const NtfsFolderNode *> &frames, uint32_t anchor);

  EngineServices &m_services;
  WorkPacer m_pacer;
  NtfsVolume m_volume;
  uint32_t m_rootRecord = 5;
  std::vector<MftRunEntry> m_runArray;
  std::vector<NtfsFolderNode> m_folders;
  std::unordered_map<uint32_t, size_t> m_folderIndex;
  std::vector<NtfsFileNode> m_files;
  // The walk's parse of the record in hand, kept between records so its
  // storage is made once.
  FileRecordInfo m_walkRecord;
  std::unordered_set<uint32_t> m_addedFolders;
  std::unordered_map<uint32_t, uint32_t> m_missingFolderIds;
  uint32_t m_nextSyntheticId = 0xF0000000u;
  bool m_lostFolderAdded = false;
  bool m_skipUsedClusters = false;
  uint32_t m_folderCount = 0;
  uint32_t m_fileCount = 0;
  uint32_t m_secondCount = 0;
  uint32_t m_foundCount = 0;
  uint64_t m_byteTotal = 0;
  uint32_t m_progressRange = 0;
  std::vector<uint8_t> m_clusterUseMap;
  ReadFailureLog m_readFailures;
};
