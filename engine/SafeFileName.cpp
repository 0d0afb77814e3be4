#include "SafeFileName.h"

namespace {

constexpr size_t kMaxNameUnits = 255;
constexpr size_t kMaxKeptExtensionUnits = 16; // with its dot

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

// The fourth character of a COM or LPT device name: Windows reserves 0 to 9
// and the superscript digits one, two and three.
bool IsDeviceDigit(char16_t c) {
  return (c >= u'0' && c <= u'9') || c == u'\u00B9' || c == u'\u00B2' || c == u'\u00B3';
}

// CON, PRN, AUX, NUL, COM0-9 and LPT0-9 (the superscript digits too) name
// devices whatever follows the first dot, and whatever spaces stand before it.
bool IsDeviceName(const std::u16string &name) {
  std::u16string base = name.substr(0, name.find(u'.'));
  while (!base.empty() && base.back() == u' ') base.pop_back();
  for (char16_t &c : base) c = Upper(c);
  if (base == u"CON" || base == u"PRN" || base == u"AUX" || base == u"NUL") return true;
  if (base.size() == 4 && (base.compare(0, 3, u"COM") == 0 || base.compare(0, 3, u"LPT") == 0))
    return IsDeviceDigit(base[3]);
  return false;
}

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}

// The extension a cut keeps: a short one after the last dot (not a leading dot).
std::u16string KeptExtension(const std::u16string &name) {
  const size_t dot = name.rfind(u'.');
  if (dot != std::u16string::npos && dot > 0 && name.size() - dot <= kMaxKeptExtensionUnits)
    return name.substr(dot);
  return {};
}

// The first units of text, at most count, never ending inside a surrogate pair.
std::u16string CutUnits(const std::u16string &text, size_t count) {
  if (text.size() <= count) return text;
  if (count > 0 && IsHighSurrogate(text[count - 1])) --count;
  return text.substr(0, count);
}

// Cuts to the limit, keeping a short extension, never inside a surrogate pair.
std::u16string CutToLimit(const std::u16string &name) {
  if (name.size() <= kMaxNameUnits) return name;
  const std::u16string extension = KeptExtension(name);
  return CutUnits(name, kMaxNameUnits - extension.size()) + extension;
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

std::u16string NumberedFileName(const std::u16string &name, const std::u16string &number) {
  // The number goes before the extension that makes the file's type.
  size_t dot = name.rfind(u'.');
  if (dot == std::u16string::npos || dot == 0) dot = name.size();
  if (name.size() + number.size() <= kMaxNameUnits) return name.substr(0, dot) + number + name.substr(dot);
  // Too long with it: the name is cut as a long name is cut, keeping the
  // extension that rule keeps, so that the number still fits.
  const std::u16string extension = KeptExtension(name);
  const std::u16string stem = name.substr(0, name.size() - extension.size());
  const size_t room =
      kMaxNameUnits > number.size() + extension.size() ? kMaxNameUnits - number.size() - extension.size() : 0;
  return CutUnits(stem, room) + number + extension;
}
