// What the FAT and NTFS scan-information files share: the 512-byte header's
// signature text with its marker copy, the entry items after the engine's
// tables, byte sources and sinks over files (a sink writes to a temporary
// name and replaces the target only when every byte was written), and the
// common course of a save and of a load with their log lines and flags.
#pragma once

#include "EngineServices.h"
#include "EngineText.h"
#include "EntryRecord.h"
#include "SectorIo.h"
#include "SignatureSearch.h"
#include "WorkPacer.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// The engine's text ids, as the scan-information files' code names them.
namespace ScanText = EngineText;

constexpr size_t kScanHeaderSize = 512;
// The marker is a second copy of the signature text this many bytes after
// the first: a header whose signature was damaged is still recognised by it.
constexpr size_t kScanMarkerDistance = 64;
// A name is stored with a one-byte length: longer names keep their first 255 units.
constexpr size_t kMaxScanNameUnits = 255;

constexpr const char *kFatScanSignature = "Quendal Varnoth File Recovery - FAT";
constexpr size_t kFatScanSignatureOffset = 48;
constexpr const char *kNtfsScanSignature = "Quendal Varnoth File Recovery - NTFS";
constexpr size_t kNtfsScanSignatureOffset = 51;

// One node of the application's tree entry list, in list order; the first
// stands for the tree's root. The check state travels in the record.
struct ScanFileEntry {
  EntryRecord m_record;
  std::u16string m_name;
};

enum class ScanFileKind { None, Fat, Ntfs };

// Writes the signature text and its marker copy into a header.
void PutScanSignature(uint8_t *header, size_t offset, const char *text);
// True when the signature or its marker copy is in the header.
bool HasScanSignature(const uint8_t *header, size_t length, size_t offset, const char *text);
// Which reader a header belongs to (FAT first, as the open command tries them).
ScanFileKind DetectScanFileKind(const uint8_t *header, size_t length);

// Bytes read in order from a scan file or from memory.
class ScanFileSource {
public:
  virtual ~ScanFileSource() = default;
  // Reads up to size bytes; fewer at the end of the data.
  virtual size_t Read(uint8_t *into, size_t size) = 0;
  virtual uint64_t Remaining() const = 0;
  // Passes over bytes; false when fewer remain.
  bool Skip(uint64_t count);
};

class MemoryScanFileSource : public ScanFileSource {
public:
  MemoryScanFileSource(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}
  size_t Read(uint8_t *into, size_t size) override;
  uint64_t Remaining() const override { return m_size - m_offset; }

private:
  const uint8_t *m_data;
  size_t m_size;
  size_t m_offset = 0;
};

class FileScanFileSource : public ScanFileSource {
public:
  explicit FileScanFileSource(const std::u16string &path);
  ~FileScanFileSource() override;
  FileScanFileSource(const FileScanFileSource &) = delete;
  FileScanFileSource &operator=(const FileScanFileSource &) = delete;

  bool IsOpen() const { return m_file != nullptr; }
  size_t Read(uint8_t *into, size_t size) override;
  uint64_t Remaining() const override { return m_size - m_offset; }

private:
  std::FILE *m_file = nullptr;
  uint64_t m_size = 0;
  uint64_t m_offset = 0;
};

// Writes a scan file under a temporary name beside the target; Commit puts it
// in the target's place only when every write succeeded, so a failed save
// never destroys a file that was there before.
class ScanFileSink {
public:
  explicit ScanFileSink(const std::u16string &path);
  ~ScanFileSink();
  ScanFileSink(const ScanFileSink &) = delete;
  ScanFileSink &operator=(const ScanFileSink &) = delete;

  bool IsOpen() const { return m_file != nullptr; }
  void Write(const uint8_t *data, size_t size);
  void WriteZeros(uint64_t count);
  bool Failed() const { return m_failed; }
  // Closes and renames over the target; false (temporary removed) on any failure.
  bool Commit();

  // Makes every write after the given number of bytes fail (tests).
  void FailAfter(uint64_t bytes) { m_failAfter = bytes; }

private:
  void Abandon();

  std::u16string m_target;
  std::u16string m_temporary;
  std::FILE *m_file = nullptr;
  uint64_t m_written = 0;
  uint64_t m_failAfter = UINT64_MAX;
  bool m_failed = false;
};

// Converts a path for the C library: UTF-8 on POSIX systems.
std::string ScanPathUtf8(const std::u16string &path);

// One item: length byte, 64-byte record (link, tree-item and name words 0), name.
void WriteScanItem(ScanFileSink &sink, const ScanFileEntry &entry);

// Counts of a load, as the totals pane shows them.
struct ScanLoadTotals {
  uint32_t m_found = 0;
  uint32_t m_folders = 0;
  uint32_t m_files = 0;
  uint64_t m_bytes = 0;
  uint32_t m_checked = 0;
  uint32_t m_highestId = 0;
  bool m_stopped = false;
  // The items ended in a damaged one; this many bytes were left from its start.
  bool m_damaged = false;
  uint64_t m_unreadBytes = 0;
};

// True when a volume of sectors from start lies inside a drive of
// driveSectors (0: the drive's size is unknown, and anything fits).
bool ScanTargetFitsDrive(uint64_t start, uint64_t sectors, uint64_t driveSectors);
// Why the volume of sectors at the reader's start does not fit the drive the
// reader reads; empty when it fits. Only the device's size is asked, nothing
// is read.
std::string CheckScanTargetFitsDrive(SectorReader &reader, uint64_t sectors);

// The part of a save that belongs to one engine.
struct ScanFileSaveJob {
  // The text id of what the layout cannot hold of the engine's volume; the
  // save is then refused with it before anything is written. 0: it holds all.
  uint32_t m_cannotHold = 0;
  std::vector<uint8_t> m_header; // 512 bytes
  // Writes the engine's tables after the header.
  std::function<void(ScanFileSink &)> m_writeTables;
  // Test hook: fail writes after this many bytes.
  uint64_t m_failAfter = UINT64_MAX;
};

// The course of a save shared by both engines; true when the file is in place.
bool SaveScanFile(EngineServices &services, const std::u16string &path, const ScanFileSaveJob &job,
                  const std::vector<ScanFileEntry> &entries);

// The part of a load that belongs to one engine.
struct ScanFileLoadJob {
  const char *m_signature = nullptr;
  size_t m_signatureOffset = 0;
  // Checks the header and reads the tables after it; on success it puts them
  // into the engine and returns an empty text, else it says why the file was
  // refused and leaves the engine as it was. progressRange receives the
  // range of the item progress bar.
  std::function<std::string(const uint8_t *header, ScanFileSource &source, uint32_t &progressRange)>
      m_restoreTables;
  // Called for every item after the root.
  std::function<void(const EntryRecord &, const std::u16string &name)> m_onEntry;
  // Called once the items are read.
  std::function<void(const ScanLoadTotals &)> m_finish;
  // Paces the pumps while the items are read (the engine's own pacer, with
  // its clock); none: a pacer of the steady clock.
  WorkPacer *m_pacer = nullptr;
};

// The course of a load shared by both engines. source is null when the file
// could not be opened; displayPath names it in log lines and messages.
bool LoadScanFile(EngineServices &services, ScanFileSource *source, const std::u16string &displayPath,
                  const ScanFileLoadJob &job);

// Gathers, while a file's items are read, the files a signature pass had
// listed: files in a type folder whose own parent is typeFolderParent, named
// "<number>.<extension>", the number being the hit's first cluster (or
// sector) or, when namedByOwnId, the entry's own id. Their bytes are read as
// the pass measured them, so the hits are made again.
class ScanHitCollector {
public:
  ScanHitCollector(uint32_t typeFolderParent, bool namedByOwnId)
      : m_typeFolderParent(typeFolderParent), m_namedByOwnId(namedByOwnId) {}
  // Call for every item after the root, in list order.
  void Take(const EntryRecord &record, const std::u16string &name);
  std::vector<SignatureHit> &Hits() { return m_hits; }

private:
  uint32_t m_typeFolderParent;
  bool m_namedByOwnId;
  std::unordered_map<uint32_t, uint32_t> m_folderParents; // own id to parent id
  std::vector<SignatureHit> m_hits;
};
