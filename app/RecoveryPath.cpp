#include "RecoveryPath.h"

#include <unordered_set>
#include <vector>

namespace {

constexpr size_t kMaxNameUnits = 255;
// Deeper than any folder chain a real volume can hold under MAX_PATH-style
// limits; a longer chain comes from damaged parent ids.
constexpr size_t kMaxFolderDepth = 1024;
// Short paths need no long form; directories must stay below 248 units.
constexpr size_t kShortPathLimit = 240;

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

std::u16string RecoveryPathBuilder::HoldingFolder(const TreeEntryNode &node) {
  const TreeEntryNode *root = m_entries.Root();
  std::vector<const TreeEntryNode *> chain;
  std::unordered_set<const TreeEntryNode *> seen{&node};
  uint32_t parent = node.m_record.m_parentId;
  while (chain.size() < kMaxFolderDepth) {
    const TreeEntryNode *folder = m_entries.FindFolder(parent);
    if (folder == nullptr || folder == root || !seen.insert(folder).second) break;
    chain.push_back(folder);
    parent = folder->m_record.m_parentId;
  }
  std::u16string path;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    if (!path.empty()) path += u'\\';
    path += SafeFileName((*it)->m_name);
  }
  return path;
}

std::u16string RecoveryPathBuilder::RelativePath(const TreeEntryNode &node) {
  return JoinPath(HoldingFolder(node), SafeFileName(node.m_name));
}

std::u16string JoinPath(const std::u16string &folder, const std::u16string &relative) {
  if (folder.empty()) return relative;
  if (relative.empty()) return folder;
  if (folder.back() == u'\\' || folder.back() == u'/') return folder + relative;
  return folder + u'\\' + relative;
}

std::u16string LongPathForm(const std::u16string &path) {
  if (path.size() < kShortPathLimit || path.compare(0, 4, u"\\\\?\\") == 0) return path;
  // The long form is passed on unparsed: it must use backslashes only.
  std::u16string native = path;
  for (char16_t &c : native)
    if (c == u'/') c = u'\\';
  if (native.size() >= 3 && native[1] == u':' && native[2] == u'\\') return u"\\\\?\\" + native;
  if (native.compare(0, 2, u"\\\\") == 0) return u"\\\\?\\UNC\\" + native.substr(2);
  return path;
}
