#include "FileMaskCriteria.h"

#include "FindCriteria.h"

#include <algorithm>
#include <limits>

namespace {

char16_t Fold(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool SameText(const std::u16string &a, const std::u16string &b, bool matchCase) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (matchCase ? a[i] != b[i] : Fold(a[i]) != Fold(b[i])) return false;
  return true;
}

bool InRange(int64_t day, int64_t first, int64_t last) {
  return day >= std::min(first, last) && day <= std::max(first, last);
}

} // namespace

std::vector<std::u16string> SplitMaskTypes(const std::u16string &text) {
  std::vector<std::u16string> types;
  std::u16string piece;
  auto finish = [&] {
    if (!piece.empty()) types.push_back(piece.substr(0, kMaxMaskTypeLength));
    piece.clear();
  };
  for (char16_t c : text) {
    if (c == u';')
      finish();
    else if (c != u' ')
      piece += c;
  }
  finish();
  return types;
}

uint64_t KilobytesToBytes(uint64_t kilobytes) {
  constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();
  return kilobytes > kMax / 1024 ? kMax : kilobytes * 1024;
}

bool MaskTypeMatches(const std::u16string &type, const std::u16string &name, bool matchCase) {
  if (type == u"*.*") return true;
  // The extension follows the last ".": "a.b.doc" is a ".doc" file.
  const size_t dot = name.rfind(u'.');
  if (dot == std::u16string::npos) return false;
  return SameText(type, u"*." + name.substr(dot + 1), matchCase);
}

bool FileMaskKeeps(const FileMaskCriteria &criteria, const EntryRecord &record, const std::u16string &name,
                   bool ntfs, int64_t today) {
  if (!criteria.types.empty() &&
      std::none_of(criteria.types.begin(), criteria.types.end(), [&](const std::u16string &type) {
        return MaskTypeMatches(type, name, criteria.matchCase);
      }))
    return false;
  if (!(record.m_deleted ? criteria.deleted : criteria.missing)) return false;
  if (criteria.sizeFromOn && record.m_size < criteria.sizeFrom) return false;
  if (criteria.sizeUptoOn && record.m_size > criteria.sizeUpto) return false;
  if (!criteria.dateOn) return true;
  // Dates are read as the engine that found the entry wrote them.
  int64_t day = 0;
  if (!EntryDay(record, ntfs, criteria.creationDate, day)) return false;
  switch (criteria.dateMode) {
  case FileMaskCriteria::DateMode::LastMonths:
    return criteria.lastCount <= 0 || InRange(day, MonthsBefore(today, criteria.lastCount), today);
  case FileMaskCriteria::DateMode::LastDays:
    return criteria.lastCount <= 0 || InRange(day, today - criteria.lastCount, today);
  case FileMaskCriteria::DateMode::Between:
    return InRange(day, criteria.fromDay, criteria.toDay);
  }
  return false;
}
