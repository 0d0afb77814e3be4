// One FILE record: fix-up, attribute walk with names, parent and times, the
// run lists of its data extents and a resident attribute list.
#include "FileRecord.h"
#include "RunList.h"

#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const size_t recordSize = size > 1024 ? 4096 : 1024;
  std::vector<uint8_t> record(recordSize, 0);
  std::memcpy(record.data(), data, size < recordSize ? size : recordSize);
  if (ApplyRecordFixups(record.data(), record.size()) != ParseResult::Ok) return 0;
  FileRecordInfo info;
  std::string why;
  if (ParseFileRecord(record.data(), record.size(), info, &why) != ParseResult::Ok) return 0;
  for (const AttributeExtent &extent : info.m_data) {
    if (extent.m_resident) continue;
    std::vector<DataRun> runs;
    DecodeRunList(record.data() + extent.m_nonResident.m_runsOffset, extent.m_nonResident.m_runsLength,
                  extent.m_nonResident.m_firstVcn, runs, &why);
  }
  if (info.m_hasAttributeList && info.m_attributeList.m_resident) {
    std::vector<AttributeListEntry> entries;
    ParseAttributeList(record.data() + info.m_attributeList.m_valueOffset, info.m_attributeList.m_valueLength,
                       entries, &why);
  }
  return 0;
}
