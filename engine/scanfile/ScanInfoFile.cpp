#include "ScanInfoFile.h"

#include "ProcessLog.h"
#include "Utf16Text.h"

#include <algorithm>
#include <cstring>

#ifdef _WIN32
#include <cwchar>
#endif

namespace {

constexpr size_t kSignatureField = 64;

#ifdef _WIN32
std::wstring WidePath(const std::u16string &path) {
  return std::wstring(path.begin(), path.end());
}
#endif

std::FILE *OpenPath(const std::u16string &path, bool write) {
#ifdef _WIN32
  return _wfopen(WidePath(path).c_str(), write ? L"wb" : L"rb");
#else
  return std::fopen(ScanPathUtf8(path).c_str(), write ? "wb" : "rb");
#endif
}

bool RemovePath(const std::u16string &path) {
#ifdef _WIN32
  return _wremove(WidePath(path).c_str()) == 0;
#else
  return std::remove(ScanPathUtf8(path).c_str()) == 0;
#endif
}

bool RenamePath(const std::u16string &from, const std::u16string &to) {
#ifdef _WIN32
  return _wrename(WidePath(from).c_str(), WidePath(to).c_str()) == 0;
#else
  return std::rename(ScanPathUtf8(from).c_str(), ScanPathUtf8(to).c_str()) == 0;
#endif
}

// The Windows rename does not replace an existing file: the old file steps
// aside first and comes back when the new one cannot take its place.
bool ReplaceFile(const std::u16string &temporary, const std::u16string &target) {
#ifdef _WIN32
  const auto PathExists = [](const std::u16string &path) {
    std::FILE *file = OpenPath(path, false);
    if (!file) return false;
    std::fclose(file);
    return true;
  };
  if (!PathExists(target)) return RenamePath(temporary, target);
  const std::u16string aside = target + u".old";
  RemovePath(aside);
  if (!RenamePath(target, aside)) return false;
  if (!RenamePath(temporary, target)) {
    RenamePath(aside, target);
    return false;
  }
  RemovePath(aside);
  return true;
#else
  return RenamePath(temporary, target);
#endif
}

bool TextAt(const uint8_t *header, size_t length, size_t offset, const char *text) {
  const size_t size = std::strlen(text) + 1;
  if (offset + size > length) return false;
  return std::memcmp(header + offset, text, size) == 0;
}

void LogFailure(EngineServices &services, uint32_t activityId, const std::u16string &text) {
  services.AddLogEntry(services.LoadText(activityId), text, services.LoadText(ScanText::kProcessFailed),
                       LogStatus::Error);
}

void LogDamage(EngineServices &services, const std::u16string &path, const std::string &why) {
  services.AddLogEntry(std::nullopt,
                       FillInText(services.LoadText(ScanText::kDamagedScanFile), path) + u" " + Widen(why),
                       std::nullopt, LogStatus::Error);
}

// Reads one item; false at the end of the data or where it is damaged (why
// then says what is wrong; it stays empty at a clean end).
bool ReadScanItem(ScanFileSource &source, ScanFileEntry &out, std::string &why) {
  const uint64_t offsetBefore = source.Remaining();
  uint8_t length = 0;
  if (source.Read(&length, 1) == 0) return false;
  uint8_t record[kEntryRecordSize];
  if (source.Read(record, sizeof record) != sizeof record) {
    why = "item cut short in its record (" + std::to_string(offsetBefore) + " bytes before the end)";
    return false;
  }
  out.m_record = EntryRecord{};
  if (ParseEntryRecord(record, sizeof record, out.m_record) != ParseResult::Ok) {
    why = "item record out of range (" + std::to_string(offsetBefore) + " bytes before the end)";
    return false;
  }
  uint8_t name[2 * kMaxScanNameUnits];
  const size_t nameBytes = size_t{length} * 2;
  if (source.Read(name, nameBytes) != nameBytes) {
    why = "item cut short in its name (" + std::to_string(offsetBefore) + " bytes before the end)";
    return false;
  }
  out.m_name.clear();
  for (size_t i = 0; i < length; ++i) out.m_name.push_back(static_cast<char16_t>(ReadLe16(name + 2 * i)));
  return true;
}

std::u16string Decimal(uint64_t value) {
  return Widen(std::to_string(value));
}

// The text with each "%s" replaced by the next value, in one pass.
std::u16string FillIn(const std::u16string &text, const std::vector<std::u16string> &values) {
  std::u16string out;
  size_t next = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'%' && i + 1 < text.size() && text[i + 1] == u's' && next < values.size()) {
      out += values[next++];
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

void CountEntry(const EntryRecord &record, ScanLoadTotals &totals) {
  if (record.IsFolder())
    ++totals.m_folders;
  else
    ++totals.m_files;
  AddFoundBytes(totals.m_bytes, record.m_size);
  if (record.m_checkState == 1) ++totals.m_checked;
  totals.m_highestId = std::max(totals.m_highestId, record.m_ownId);
}

void ReadItems(EngineServices &services, ScanFileSource &source, const std::u16string &path,
               const ScanFileLoadJob &job, uint32_t progressRange, ScanLoadTotals &totals) {
  ScanFileEntry entry;
  // Pumps by time, as a search does: a pump per item costs more than the
  // item under Wine, where each is a round trip to the window server.
  WorkPacer ownPacer(services);
  WorkPacer &pacer = job.m_pacer != nullptr ? *job.m_pacer : ownPacer;
  for (;;) {
    if (pacer.ShouldStop()) {
      totals.m_stopped = true;
      return;
    }
    std::string why;
    const uint64_t unread = source.Remaining();
    if (!ReadScanItem(source, entry, why)) {
      if (!why.empty()) LogDamage(services, path, why);
      totals.m_damaged = !why.empty();
      totals.m_unreadBytes = unread;
      return;
    }
    CountEntry(entry.m_record, totals);
    if (totals.m_found == 0) {
      // The first item stands for the tree's root and is not added itself.
      totals.m_found = 1;
      services.CreateScanProgressBar(progressRange);
      services.CreateTreeRoot();
      continue;
    }
    ++totals.m_found;
    if (job.m_onEntry) job.m_onEntry(entry.m_record, entry.m_name);
    services.AddTreeEntry(entry.m_record, entry.m_name);
    services.UpdateTotalsPane(totals.m_folders, totals.m_files, totals.m_bytes);
    services.UpdateFoundProgress(0, totals.m_found, 0);
  }
}

} // namespace

std::string ScanPathUtf8(const std::u16string &path) {
  return Utf16ToUtf8(path);
}

void PutScanSignature(uint8_t *header, size_t offset, const char *text) {
  const size_t size = std::min(std::strlen(text) + 1, kSignatureField);
  std::memcpy(header + offset, text, size);
  std::memcpy(header + offset + kScanMarkerDistance, text, size);
}

bool HasScanSignature(const uint8_t *header, size_t length, size_t offset, const char *text) {
  return TextAt(header, length, offset, text) || TextAt(header, length, offset + kScanMarkerDistance, text);
}

ScanFileKind DetectScanFileKind(const uint8_t *header, size_t length) {
  if (HasScanSignature(header, length, kFatScanSignatureOffset, kFatScanSignature)) return ScanFileKind::Fat;
  if (HasScanSignature(header, length, kNtfsScanSignatureOffset, kNtfsScanSignature))
    return ScanFileKind::Ntfs;
  return ScanFileKind::None;
}

bool ScanFileSource::Skip(uint64_t count) {
  if (count > Remaining()) return false;
  uint8_t buffer[4096];
  while (count > 0) {
    const size_t piece = static_cast<size_t>(std::min<uint64_t>(count, sizeof buffer));
    if (Read(buffer, piece) != piece) return false;
    count -= piece;
  }
  return true;
}

size_t MemoryScanFileSource::Read(uint8_t *into, size_t size) {
  const size_t count = std::min(size, m_size - m_offset);
  if (count) std::memcpy(into, m_data + m_offset, count);
  m_offset += count;
  return count;
}

FileScanFileSource::FileScanFileSource(const std::u16string &path) : m_file(OpenPath(path, false)) {
  if (!m_file) return;
#ifdef _WIN32
  if (_fseeki64(m_file, 0, SEEK_END) == 0) {
    const long long end = _ftelli64(m_file);
    if (end > 0) m_size = static_cast<uint64_t>(end);
  }
  _fseeki64(m_file, 0, SEEK_SET);
#else
  if (fseeko(m_file, 0, SEEK_END) == 0) {
    const off_t end = ftello(m_file);
    if (end > 0) m_size = static_cast<uint64_t>(end);
  }
  fseeko(m_file, 0, SEEK_SET);
#endif
}

FileScanFileSource::~FileScanFileSource() {
  if (m_file) std::fclose(m_file);
}

size_t FileScanFileSource::Read(uint8_t *into, size_t size) {
  if (!m_file || size == 0) return 0;
  const size_t count = std::fread(into, 1, size, m_file);
  m_offset += count;
  return count;
}

ScanFileSink::ScanFileSink(const std::u16string &path)
    : m_target(path), m_temporary(path + u".tmp"), m_file(OpenPath(m_temporary, true)) {}

ScanFileSink::~ScanFileSink() {
  Abandon();
}

void ScanFileSink::Write(const uint8_t *data, size_t size) {
  if (size == 0) return;
  if (m_failed || !m_file) {
    m_failed = true;
    return;
  }
  if (m_written + size > m_failAfter || std::fwrite(data, 1, size, m_file) != size) m_failed = true;
  m_written += size;
}

void ScanFileSink::WriteZeros(uint64_t count) {
  static const uint8_t kZeros[4096] = {};
  while (count > 0 && !m_failed) {
    const size_t piece = static_cast<size_t>(std::min<uint64_t>(count, sizeof kZeros));
    Write(kZeros, piece);
    count -= piece;
  }
}

bool ScanFileSink::Commit() {
  if (!m_file) return false;
  if (std::fflush(m_file) != 0 || std::ferror(m_file)) m_failed = true;
  const bool closed = std::fclose(m_file) == 0;
  m_file = nullptr;
  if (m_failed || !closed || !ReplaceFile(m_temporary, m_target)) {
    m_failed = true;
    RemovePath(m_temporary);
    return false;
  }
  return true;
}

void ScanFileSink::Abandon() {
  if (!m_file) return;
  std::fclose(m_file);
  m_file = nullptr;
  RemovePath(m_temporary);
}

void WriteScanItem(ScanFileSink &sink, const ScanFileEntry &entry) {
  const size_t units = std::min(entry.m_name.size(), kMaxScanNameUnits);
  uint8_t bytes[1 + kEntryRecordSize + 2 * kMaxScanNameUnits];
  bytes[0] = static_cast<uint8_t>(units);
  SerialiseEntryRecord(entry.m_record, bytes + 1);
  for (size_t i = 0; i < units; ++i) WriteLe16(bytes + 1 + kEntryRecordSize + 2 * i, entry.m_name[i]);
  sink.Write(bytes, 1 + kEntryRecordSize + 2 * units);
}

bool ScanTargetFitsDrive(uint64_t start, uint64_t sectors, uint64_t driveSectors) {
  if (driveSectors == 0) return true;
  return start < driveSectors && sectors <= driveSectors - start;
}

std::string CheckScanTargetFitsDrive(SectorReader &reader, uint64_t sectors) {
  SectorDevice *device = reader.Io().Devices().Device(reader.DriveCode());
  const uint64_t driveSectors = device ? device->SizeInBytes() / kSectorSize : 0;
  if (ScanTargetFitsDrive(reader.StartSector(), sectors, driveSectors)) return {};
  return "volume of " + std::to_string(sectors) + " sectors at sector " +
         std::to_string(reader.StartSector()) + " does not fit drive " + std::to_string(reader.DriveCode()) +
         " of " + std::to_string(driveSectors) + " sectors";
}

bool SaveScanFile(EngineServices &services, const std::u16string &path, const ScanFileSaveJob &job,
                  const std::vector<ScanFileEntry> &entries) {
  if (job.m_cannotHold != 0) {
    // Written, the file would send every later read to other sectors.
    services.ShowErrorBox(
        FillInText(services.LoadText(ScanText::kScanFileCannotHold), services.LoadText(job.m_cannotHold)));
    services.ResetBusyFlags();
    services.OnScanFinished(static_cast<uint32_t>(entries.size()));
    return false;
  }
  services.ShowReadingProgress(static_cast<uint32_t>(entries.size()),
                               services.LoadText(ScanText::kSavingFiles));
  services.PumpMessages();
  ScanFileSink sink(path);
  sink.FailAfter(job.m_failAfter);
  if (!sink.IsOpen()) {
    services.DeleteProgressBar();
    services.ShowErrorBox(services.LoadText(ScanText::kUnableToSave));
    services.ResetBusyFlags();
    services.OnScanFinished(static_cast<uint32_t>(entries.size()));
    return false;
  }
  LogProcessStarted(services, services.LoadText(ScanText::kSavingScanInformation));
  sink.Write(job.m_header.data(), job.m_header.size());
  if (job.m_writeTables) job.m_writeTables(sink);
  for (const ScanFileEntry &entry : entries) {
    if (sink.Failed()) break;
    WriteScanItem(sink, entry);
    services.StepProgress();
  }
  const bool saved = sink.Commit();
  services.DeleteProgressBar();
  if (saved) {
    LogProcessEnded(services, false);
    services.SetScanInfoSaved(true);
  } else {
    // The target keeps what it held before; the results stay unsaved.
    LogFailure(services, ScanText::kSavingScanInformation, path);
    services.ShowErrorBox(services.LoadText(ScanText::kUnableToSave));
  }
  services.SetResultsPresent(true);
  services.ResetBusyFlags();
  services.OnScanFinished(static_cast<uint32_t>(entries.size()));
  return saved;
}

bool LoadScanFile(EngineServices &services, ScanFileSource *source, const std::u16string &displayPath,
                  const ScanFileLoadJob &job) {
  LogProcessStarted(services, services.LoadText(ScanText::kCreatingTreeFromScanFile));
  services.DoWaitCursor(0);
  if (!source) {
    LogFailure(services, ScanText::kUnableToOpen, displayPath);
    services.ShowErrorBox(services.LoadText(ScanText::kErrorOpeningFile) + u" " + displayPath);
    return false;
  }
  services.PumpMessages();
  const uint64_t fileSize = source->Remaining();
  uint8_t header[kScanHeaderSize] = {};
  const size_t headerRead = source->Read(header, sizeof header);
  std::string why;
  uint32_t progressRange = 0;
  if (headerRead != sizeof header)
    why = "header cut short at " + std::to_string(headerRead) + " bytes";
  else if (!HasScanSignature(header, sizeof header, job.m_signatureOffset, job.m_signature))
    why = "no signature text";
  else
    why = job.m_restoreTables(header, *source, progressRange);
  if (!why.empty()) {
    LogDamage(services, displayPath, why);
    LogFailure(services, ScanText::kNotValidScanFile, displayPath);
    services.ShowErrorBox(services.LoadText(ScanText::kNotValidScanFileLong));
    return false;
  }
  services.SetScanInfoSaved(true);
  ScanLoadTotals totals;
  ReadItems(services, *source, displayPath, job, progressRange, totals);
  if (totals.m_damaged && !totals.m_stopped)
    LogProcessIncomplete(services);
  else
    LogProcessEnded(services, totals.m_stopped);
  if (job.m_finish) job.m_finish(totals);
  if (totals.m_checked != 0) services.SetSelectionPresent(true);
  services.ShowCurrentItemText(1, u"");
  services.OnScanFinished(totals.m_found);
  services.ResetTreeToRoot();
  // Said once the part that could be read is shown behind the message.
  if (totals.m_damaged && !totals.m_stopped) {
    const uint32_t entries = totals.m_found > 0 ? totals.m_found - 1 : 0; // the root is no entry
    services.ShowErrorBox(
        FillIn(services.LoadText(ScanText::kScanFileDamaged),
               {displayPath, Decimal(entries), Decimal(fileSize - totals.m_unreadBytes), Decimal(fileSize)}));
  }
  return true;
}

void ScanHitCollector::Take(const EntryRecord &record, const std::u16string &name) {
  if (record.IsFolder()) {
    m_folderParents[record.m_ownId] = record.m_parentId;
    return;
  }
  const auto parent = m_folderParents.find(record.m_parentId);
  if (record.m_deleted || parent == m_folderParents.end() || parent->second != m_typeFolderParent) return;
  const auto namedBy = [&name](uint64_t value) {
    const std::string number = std::to_string(value) + ".";
    return name.size() > number.size() && std::equal(number.begin(), number.end(), name.begin())
               ? number.size()
               : size_t{0};
  };
  // A disk's hit past 2^32 sectors keeps its high bits beside the record's
  // first-cluster word; files written before that held anything in those
  // bytes, so the low word alone still names the hit when they disagree.
  uint64_t cluster = m_namedByOwnId ? record.m_firstCluster : record.FirstCluster();
  size_t numberLength = namedBy(m_namedByOwnId ? record.m_ownId : cluster);
  if (numberLength == 0 && !m_namedByOwnId && cluster != record.m_firstCluster) {
    cluster = record.m_firstCluster;
    numberLength = namedBy(cluster);
  }
  if (numberLength == 0) return;
  SignatureHit hit;
  hit.m_extension = name.substr(numberLength);
  hit.m_cluster = cluster;
  hit.m_size = static_cast<uint32_t>(record.m_size);
  hit.m_grade = record.m_grade;
  hit.m_ownId = record.m_ownId;
  m_hits.push_back(hit);
}
