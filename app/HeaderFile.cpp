#include "HeaderFile.h"

#include <array>
#include <cwchar>

#include "AppText.h"
#include "resource.h"

namespace {

constexpr size_t kNameOffset = 8;        // 8, 520, software name
constexpr size_t kExtensionOffset = 528; // 528, 520, extension
constexpr size_t kTextChars = 260;

bool TextTerminated(const uint8_t *field) {
  for (size_t i = 0; i < kTextChars; ++i)
    if (ReadLe16(field + 2 * i) == 0) return true;
  return false;
}

std::optional<HeaderRefusal> CheckRecord(const uint8_t *bytes, const HeaderRecord &record) {
  if (record.m_signatureLength == 0 || record.m_signatureLength > kHeaderMaxSignatureLength)
    return HeaderRefusal::SignatureLength;
  if (record.m_offset > kHeaderMaxOffset) return HeaderRefusal::Offset;
  if (!TextTerminated(bytes + kNameOffset) || !TextTerminated(bytes + kExtensionOffset))
    return HeaderRefusal::UnterminatedText;
  if (record.m_group >= kHeaderGroupCount) return HeaderRefusal::Group;
  return std::nullopt;
}

class FileHandle {
public:
  explicit FileHandle(HANDLE handle) : m_handle(handle) {}
  ~FileHandle() {
    if (Valid()) CloseHandle(m_handle);
  }
  FileHandle(const FileHandle &) = delete;
  FileHandle &operator=(const FileHandle &) = delete;
  bool Valid() const { return m_handle != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return m_handle; }
  // Closes now, so that a failing close (a flush that did not reach the disk) is seen.
  bool Close() {
    const bool closed = Valid() && CloseHandle(m_handle) != 0;
    m_handle = INVALID_HANDLE_VALUE;
    return closed;
  }

private:
  HANDLE m_handle;
};

bool WriteAll(HANDLE file, const std::vector<uint8_t> &bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

} // namespace

bool IsDefaultSelectedExtension(const std::u16string &extension) {
  static const char16_t *const kDefaults[] = {u"DOC", u"doc", u"XLS", u"xls", u"PPT",  u"ppt", u"BMP", u"bmp",
                                              u"AVI", u"avi", u"WAV", u"wav", u"PDF",  u"pdf", u"ZIP", u"zip",
                                              u"JPG", u"jpg", u"GIF", u"gif", u"MIDI", u"midi"};
  for (const char16_t *candidate : kDefaults)
    if (extension == candidate) return true;
  return false;
}

HeaderFileContents ParseHeaderFile(const uint8_t *bytes, size_t size) {
  HeaderFileContents contents;
  const size_t count = bytes == nullptr ? 0 : size / kHeaderRecordSize;
  contents.trailingBytes = bytes == nullptr ? 0 : size % kHeaderRecordSize;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t *recordBytes = bytes + i * kHeaderRecordSize;
    HeaderRecord record;
    ParseHeaderRecord(recordBytes, kHeaderRecordSize, record);
    if (const std::optional<HeaderRefusal> refusal = CheckRecord(recordBytes, record)) {
      contents.refused.push_back({i, *refusal});
      continue;
    }
    // The stored selection is the last session's; a new one starts from the defaults.
    record.m_selected = IsDefaultSelectedExtension(record.m_extension) ? 1 : 0;
    contents.records.push_back(std::move(record));
  }
  return contents;
}

std::vector<uint8_t> SerialiseHeaderFile(const std::vector<HeaderRecord> &records) {
  std::vector<uint8_t> bytes(records.size() * kHeaderRecordSize);
  for (size_t i = 0; i < records.size(); ++i) {
    HeaderRecord record = records[i];
    record.m_selected = record.m_selected != 0 ? 1 : 0;
    SerialiseHeaderRecord(record, bytes.data() + i * kHeaderRecordSize);
  }
  return bytes;
}

std::optional<uint32_t> MaximumSizeBytes(uint32_t number, uint8_t unit) {
  const unsigned shift = unit == kSizeUnitMegabytes ? 20 : 10;
  const uint64_t bytes = static_cast<uint64_t>(number) << shift;
  if (bytes > UINT32_MAX) return std::nullopt;
  return static_cast<uint32_t>(bytes);
}

uint32_t MaximumSizeNumber(const HeaderRecord &record) {
  return record.m_sizeUnit == kSizeUnitMegabytes ? record.m_maxSize >> 20 : record.m_maxSize >> 10;
}

std::wstring HeaderFilePath(HKEY root, const wchar_t *productKeyPath) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, productKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return {};
  std::array<wchar_t, MAX_PATH + 1> folder{};
  DWORD type = 0;
  DWORD size = static_cast<DWORD>((folder.size() - 1) * sizeof(wchar_t));
  const LONG status =
      RegQueryValueExW(key, L"Path", nullptr, &type, reinterpret_cast<BYTE *>(folder.data()), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return {};
  std::wstring path(folder.data(), wcsnlen(folder.data(), folder.size() - 1));
  if (path.empty()) return {};
  if (path.back() != L'\\' && path.back() != L'/') path += L'\\';
  return path + kHeaderFileName;
}

HeaderFileContents LoadHeaderFile(const std::wstring &path) {
  if (path.empty()) return {};
  FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return {};
  LARGE_INTEGER length{};
  // A signature file is small; anything past a few megabytes is not one.
  constexpr LONGLONG kLargestFile = 16ll << 20;
  if (!GetFileSizeEx(file.Get(), &length) || length.QuadPart < 0) return {};
  const size_t size = static_cast<size_t>(std::min(length.QuadPart, kLargestFile));
  std::vector<uint8_t> bytes(size);
  size_t done = 0;
  while (done < size) {
    DWORD read = 0;
    if (!ReadFile(file.Get(), bytes.data() + done, static_cast<DWORD>(size - done), &read, nullptr) ||
        read == 0)
      break;
    done += read;
  }
  return ParseHeaderFile(bytes.data(), done);
}

bool AppendHeaderFileRecord(const std::wstring &path, const HeaderRecord &record) {
  if (path.empty()) return false;
  FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  LARGE_INTEGER end{};
  if (!GetFileSizeEx(file.Get(), &end)) return false;
  // A torn earlier append would shift every later record: start at a whole record.
  end.QuadPart -= end.QuadPart % static_cast<LONGLONG>(kHeaderRecordSize);
  if (!SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) || !SetEndOfFile(file.Get())) return false;
  return WriteAll(file.Get(), SerialiseHeaderFile({record})) && file.Close();
}

bool RewriteHeaderFile(const std::wstring &path, const std::vector<HeaderRecord> &records) {
  if (path.empty()) return false;
  const std::wstring temporary = path + L".new";
  {
    FileHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return false;
    const bool written = WriteAll(file.Get(), SerialiseHeaderFile(records)) && FlushFileBuffers(file.Get());
    if (!file.Close() || !written) {
      DeleteFileW(temporary.c_str());
      return false;
    }
  }
  if (!MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

std::wstring RefusedHeaderLogText(const RefusedHeader &refused) {
  UINT reasonId = IDS_HEADER_REFUSED_LENGTH;
  switch (refused.reason) {
  case HeaderRefusal::SignatureLength:
    reasonId = IDS_HEADER_REFUSED_LENGTH;
    break;
  case HeaderRefusal::Offset:
    reasonId = IDS_HEADER_REFUSED_OFFSET;
    break;
  case HeaderRefusal::UnterminatedText:
    reasonId = IDS_HEADER_REFUSED_TEXT;
    break;
  case HeaderRefusal::Group:
    reasonId = IDS_HEADER_REFUSED_GROUP;
    break;
  }
  CString line;
  line.Format(LoadText(IDS_HEADER_RECORD_REFUSED), static_cast<unsigned>(refused.index + 1),
              LoadText(reasonId).GetString());
  return line.Str();
}
