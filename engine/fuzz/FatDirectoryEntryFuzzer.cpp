// Directory-entry decoding with the long-name walk on any bytes: the input is
// split into the cluster before and the cluster in hand, and every entry of
// the latter is checked and decoded.
#include "FatDirectoryEntry.h"

#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 2) return 0;
  const size_t split = data[0] * 32 % size;
  const std::vector<uint8_t> previous(data + 1, data + 1 + (split > 0 ? split - 1 : 0));
  const std::vector<uint8_t> current(data + 1 + previous.size(), data + size);
  FolderBytes folder{current.data(), current.size(), previous.empty() ? nullptr : previous.data(),
                     previous.size()};
  FatDecodeContext context;
  context.m_kind = static_cast<FatKind>(data[0] % 3);
  context.m_maxCluster = 5000;
  context.m_volumeBytes = 1 << 24;
  IsFolderContinuation(current.data(), current.size(), context.m_kind, context.m_maxCluster);
  uint32_t ids = 2;
  for (size_t offset = 0; offset + kFatEntrySize <= current.size(); offset += kFatEntrySize) {
    CheckDirectoryEntry(current.data() + offset, context.m_kind, context.m_maxCluster);
    EntryRecord work;
    std::u16string name;
    const DecodeResult result = DecodeDirectoryEntry(folder, offset, context, ids, work, name);
    if (result.m_outcome == DecodeOutcome::Record) {
      if (name.size() > kFatMaxNameLength) std::abort();
      if (work.m_firstCluster < 2 || work.m_firstCluster > context.m_maxCluster) std::abort();
    }
  }
  return 0;
}
