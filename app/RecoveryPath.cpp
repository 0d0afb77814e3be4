#include "RecoveryPath.h"

#include <unordered_set>
#include <vector>

namespace {

// Deeper than any folder chain a real volume can hold under MAX_PATH-style
// limits; a longer chain comes from damaged parent ids.
constexpr size_t kMaxFolderDepth = 1024;
// Short paths need no long form; directories must stay below 248 units.
constexpr size_t kShortPathLimit = 240;

} // namespace

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
