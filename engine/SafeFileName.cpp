#include "SafeFileName.h"

namespace {

constexpr size_t kMaxNameUnits = 255;

bool IsRefusedCharacter(char16_t c) {
  if (c < 0x20) return true;
  switch (c) {
  case u'<':
  case u'>':
  case u':':
  case u'"':
  case u'/':
  case u'\\':
  case u'|':
  case u'?':
  case u'*':
    return true;
  default:
    return false;
  }
}

char16_t Upper(char16_t c) {
  return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 name devices whatever follows the
// first dot, and whatever spaces stand before it.
bool IsDeviceName(const std::u16string &name) {
  std::u16string base = name.substr(0, name.find(u'.'));
  while (!base.empty() && base.back() == u' ') base.pop_back();
  for (char16_t &c : base) c = Upper(c);
  if (base == u"CON" || base == u"PRN" || base == u"AUX" || base == u"NUL") return true;
  if (base.size() == 4 && (base.compare(0, 3, u"COM") == 0 || base.compare(0, 3, u"LPT") == 0))
    return base[3] >= u'1' && base[3] <= u'9';
  return false;
}

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}

// Cuts to the limit, keeping a short extension, never inside a surrogate pair.
std::u16string CutToLimit(const std::u16string &name) {
  if (name.size() <= kMaxNameUnits) return name;
  std::u16string extension;
  size_t dot = name.rfind(u'.');
  if (dot != std::u16string::npos && dot > 0 && name.size() - dot <= 16) extension = name.substr(dot);
  size_t keep = kMaxNameUnits - extension.size();
  if (keep > 0 && IsHighSurrogate(name[keep - 1])) --keep;
  return name.substr(0, keep) + extension;
}

} // namespace

std::u16string SafeFileName(const std::u16string &name) {
  std::u16string safe = name;
  for (char16_t &c : safe)
    if (IsRefusedCharacter(c)) c = u'_';
  while (!safe.empty() && (safe.back() == u'.' || safe.back() == u' ')) safe.pop_back();
  if (safe.empty()) return u"_";
  if (IsDeviceName(safe)) safe.insert(safe.begin(), u'_');
  safe = CutToLimit(safe);
  // Cutting may leave a trailing dot or space again.
  while (!safe.empty() && (safe.back() == u'.' || safe.back() == u' ')) safe.pop_back();
  return safe.empty() ? u"_" : safe;
}
