#include "SignatureStore.h"

#include "AppSettings.h"

#include <windows.h>

#include <cstdio>

std::vector<HeaderRecord> SignatureFile::Load() {
  std::vector<HeaderRecord> records;
  FILE *file = _wfopen(m_path.c_str(), L"rb");
  if (file == nullptr) return records;
  uint8_t bytes[kHeaderRecordSize];
  // A short trailing part is no record; a damaged record is left out alone.
  while (fread(bytes, 1, sizeof bytes, file) == sizeof bytes) {
    HeaderRecord record;
    if (ParseHeaderRecord(bytes, sizeof bytes, record) == ParseResult::Ok)
      records.push_back(std::move(record));
  }
  fclose(file);
  return records;
}

bool SignatureFile::Rewrite(const std::vector<HeaderRecord> &records) {
  // A failed write must not cost the signatures the file holds: write a
  // second file and put it in place only when it is whole.
  const std::wstring temporary = m_path + L".new";
  FILE *file = _wfopen(temporary.c_str(), L"wb");
  if (file == nullptr) return false;
  bool written = true;
  uint8_t bytes[kHeaderRecordSize];
  for (const HeaderRecord &record : records) {
    SerialiseHeaderRecord(record, bytes);
    written = written && fwrite(bytes, 1, sizeof bytes, file) == sizeof bytes;
  }
  written = fclose(file) == 0 && written;
  if (written && ::MoveFileExW(temporary.c_str(), m_path.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
  ::DeleteFileW(temporary.c_str());
  return false;
}

std::unique_ptr<SignatureStore> MakeInstalledSignatureStore() {
  return std::make_unique<SignatureFile>(ProgramFolder() + L"\\HeaderFile.cfg");
}
