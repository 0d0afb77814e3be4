// Fuzzes the partition-table walk: the input is a disk image read as BIOS
// disk 0x80, walked with and without a known disk size.
#include "ImageDevices.h"
#include "PartitionWalk.h"
#include "RecordingServices.h"
#include "SectorIo.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  constexpr size_t kMaxImage = 256 * 1024;
  if (size > kMaxImage) return 0;
  std::vector<uint8_t> image(data, data + size);
  image.resize((size + kSectorSize - 1) / kSectorSize * kSectorSize);
  const uint64_t sectors = image.size() / kSectorSize;
  ImageDeviceLayer layer;
  layer.Attach(0x80, std::make_unique<MemoryDevice>(std::move(image)));
  SectorIo io(layer, nullptr, false);
  RecordingServices log;
  for (uint64_t known : {uint64_t{0}, sectors}) {
    PartitionWalk walk(io, &log);
    walk.SetDiskCount(1);
    walk.SetDiskSectors(known);
    walk.HasFatPartition(0x80, 0);
    walk.WalkPartitionTable(0x80, 0);
    for (const PartitionNode &node : walk.Partitions())
      if (known != 0 && node.m_end > known) __builtin_trap();
  }
  return 0;
}
