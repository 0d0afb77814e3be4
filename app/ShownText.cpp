#include "ShownText.h"

#include <cwchar>
#include <optional>

#include "AppText.h"
#include "NtfsAdvancedEngine.h"
#include "resource.h"

namespace {

struct LoadedWords {
  HINSTANCE from = nullptr; // the resource module they were loaded from
  std::optional<ShownWords> words;
};

LoadedWords &Loaded() {
  static LoadedWords loaded;
  return loaded;
}

// A string-table text, or the English word when the table lacks it.
void LoadInto(std::u16string &word, UINT id) {
  CString text;
  if (text.LoadString(id) && !text.IsEmpty()) word = U16(text.Str());
}

bool IsDigits(const std::u16string &text, size_t from) {
  if (from >= text.size()) return false;
  for (size_t i = from; i < text.size(); ++i)
    if (text[i] < u'0' || text[i] > u'9') return false;
  return true;
}

} // namespace

const ShownWords &ActiveShownWords() {
  LoadedWords &loaded = Loaded();
  std::optional<ShownWords> &words = loaded.words;
  // Loaded again when the language library changes.
  if (words && loaded.from == AfxGetResourceHandle()) return *words;
  loaded.from = AfxGetResourceHandle();
  words.emplace();
  LoadInto(words->lostFolders, IDS_SHOWN_LOST_FOLDERS);
  LoadInto(words->folderNumber, IDS_SHOWN_FOLDER_NUMBER);
  LoadInto(words->rawDataFolder, IDS_RAW_DATA_FOLDER);
  LoadInto(words->lostFolder, IDS_LOST_FOLDER);
  LoadInto(words->gigabytes, IDS_UNIT_GB);
  LoadInto(words->megabytes, IDS_UNIT_MB);
  for (UINT i = 0; i < 7; ++i) LoadInto(words->driveTypes[i], IDS_DRIVE_TYPE_UNKNOWN + i);
  std::u16string locale;
  LoadInto(locale, IDS_LOG_DATE_LOCALE);
  if (!locale.empty()) words->dateLocale = WideString(locale);
  return *words;
}

std::u16string ShownEntryName(const EntryRecord &record, const std::u16string &name, const ShownWords &words) {
  if (!record.IsFolder()) return name;
  const ShownWords english;
  if (record.m_ownId == kSpecialFolderId || record.m_ownId == kNtfsRawFolderId) {
    if (name == english.lostFolders) return words.lostFolders;
    if (name == english.rawDataFolder) return words.rawDataFolder;
  }
  if (record.m_ownId == kLostFolderId && name == english.lostFolder) return words.lostFolder;
  // "Folder 1234" under "Lost Folder(s)": the number stays, the word is the language's.
  static const std::u16string kFolderWord = u"Folder ";
  if (record.m_parentId == kSpecialFolderId && name.compare(0, kFolderWord.size(), kFolderWord) == 0 &&
      IsDigits(name, kFolderWord.size())) {
    std::u16string shown = words.folderNumber;
    const size_t at = shown.find(u"%s");
    if (at == std::u16string::npos) return name;
    return shown.replace(at, 2, name.substr(kFolderWord.size()));
  }
  return name;
}

std::u16string ShownDriveType(const std::u16string &type, const ShownWords &words) {
  const ShownWords english;
  for (size_t i = 0; i < 7; ++i)
    if (type == english.driveTypes[i]) return words.driveTypes[i];
  return type;
}

std::u16string ShownSizeText(const std::u16string &size, const ShownWords &words) {
  const ShownWords english;
  for (const auto &[from, to] : {std::pair{&english.gigabytes, &words.gigabytes},
                                 std::pair{&english.megabytes, &words.megabytes}}) {
    const std::u16string tail = u" " + *from;
    if (size.size() > tail.size() && size.compare(size.size() - tail.size(), tail.size(), tail) == 0)
      return size.substr(0, size.size() - from->size()) + *to;
  }
  return size;
}

std::u16string LogTimeText(const SYSTEMTIME &local, const ShownWords &words) {
  if (words.dateLocale == L"en-US") {
    static const wchar_t *const kDays[] = {L"Sun", L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat"};
    static const wchar_t *const kMonths[] = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                             L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
    wchar_t text[64];
    swprintf(text, 64, L"%ls %ls %2u %02u:%02u:%02u %u", kDays[local.wDayOfWeek % 7],
             kMonths[(local.wMonth + 11) % 12], local.wDay, local.wHour, local.wMinute, local.wSecond, local.wYear);
    return U16(text);
  }
  wchar_t date[128] = {}, time[64] = {};
  if (::GetDateFormatEx(words.dateLocale.c_str(), DATE_LONGDATE, &local, nullptr, date, 128, nullptr) == 0 ||
      ::GetTimeFormatEx(words.dateLocale.c_str(), 0, &local, L"HH':'mm':'ss", time, 64) == 0)
    return LogTimeText(local, ShownWords());
  return U16(date) + u" " + U16(time);
}
