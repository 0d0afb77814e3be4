// Where a recovered entry goes under the destination folder: its folder
// chain from parent ids through the tree's entry list, each name made safe
// for a Windows file system, and the long-path form the file functions need
// once a path grows past MAX_PATH.
#pragma once

#include "SafeFileName.h"
#include "TreeEntryNode.h"

#include <string>

class RecoveryPathBuilder {
public:
  explicit RecoveryPathBuilder(EntryNodeList &entries) : m_entries(entries) {}

  // The folders from the destination down to the one that holds the node,
  // joined by '\'; empty for entries directly under the root. An entry whose
  // parent is not in the list goes directly under the root as well, and a
  // parent chain that loops or runs deeper than any real tree stops there.
  std::u16string HoldingFolder(const TreeEntryNode &node);
  // The holding folder and the node's own safe name.
  std::u16string RelativePath(const TreeEntryNode &node);

private:
  EntryNodeList &m_entries;
};

// destination + '\' + relative (no doubled separator).
std::u16string JoinPath(const std::u16string &folder, const std::u16string &relative);
// The form the wide file functions take for any length: "\\?\C:\..." for a
// drive path and "\\?\UNC\server\share\..." for a share; paths already in
// that form and short paths are given back as they are.
std::u16string LongPathForm(const std::u16string &path);
