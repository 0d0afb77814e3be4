// The physical-disk scan over a fuzzed disk image with a fixed list of
// signatures (documents included): no crash, no hang, every hit inside the
// disk and found once.
#include "ImageDevices.h"
#include "PhysicalDiskScan.h"
#include "RecordingServices.h"

#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

namespace {

HeaderRecord Header(const char16_t *extension, const std::vector<uint8_t> &signature, uint32_t maxSize) {
  HeaderRecord header;
  header.m_extension = extension;
  header.m_signatureLength = static_cast<uint8_t>(signature.size());
  std::memcpy(header.m_signature, signature.data(), signature.size());
  header.m_maxSize = maxSize;
  return header;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 512 || size > (2u << 20)) return 0;
  std::vector<uint8_t> bytes(data, data + size);
  bytes.resize((size + 511) / 512 * 512, 0);
  const uint64_t sectors = bytes.size() / 512;
  RecordingServices services;
  services.m_selectedHeaders = {Header(u"DOC", {0xD0, 0xCF, 0x11, 0xE0}, 1 << 20),
                                Header(u"JPG", {0xFF, 0xD8}, 64 * 1024), Header(u"BMP", {'B', 'M'}, 0),
                                Header(u"ZIP", {'P', 'K'}, 8 * 1024)};
  ImageDeviceLayer layer;
  layer.Attach(128, std::make_unique<MemoryDevice>(std::move(bytes)));
  SectorIo io(layer, nullptr, false);
  SectorReader reader(io, 128, 0);
  PhysicalDiskScan scan(services, reader, sectors, (data[0] & 1) != 0);
  scan.RunPhysicalDiskScan();
  std::set<uint64_t> seen;
  for (const RecordingServices::TreeEntry &entry : services.m_treeEntries) {
    if (entry.m_entry.IsFolder()) continue;
    if (entry.m_entry.FirstCluster() >= sectors || !seen.insert(entry.m_entry.FirstCluster()).second)
      std::abort();
  }
  return 0;
}
