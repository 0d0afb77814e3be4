// A whole fast search over a small volume in memory whose master file table
// holds the input as FILE records, then a read of every record's data. The
// first byte chooses whether the input replaces $MFT's own record as well.
#include "ImageDevices.h"
#include "NtfsFileReader.h"
#include "NtfsScanEngine.h"
#include "RecordingServices.h"
#include "../tests/NtfsTestVolume.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  constexpr size_t kSlots = 24;
  if (size < 1) return 0;
  TestVolume volume(kSlots, 1024);
  volume.PutSystemRecords();
  const size_t firstSlot = (data[0] & 1) ? 0 : 6;
  const size_t room = (kSlots - firstSlot) * 1024;
  std::vector<uint8_t> records(data + 1, data + 1 + std::min(size - 1, room));
  if (!records.empty())
    std::copy(records.begin(), records.end(),
              volume.Bytes().begin() + TestVolume::kMftCluster * 512 + firstSlot * 1024);

  ImageDeviceLayer layer;
  const size_t sectors = volume.Sectors();
  layer.Attach(2, std::make_unique<MemoryDevice>(std::move(volume.Bytes())));
  SectorIo io(layer, nullptr, false);
  SectorReader reader(io, 2);
  RecordingServices services;
  NtfsScanEngine engine(services, reader, sectors);
  engine.RunNtfsFastScan();
  if (engine.Volume().RecordCount() == 0) return 0;
  for (uint64_t record = 0; record < engine.Volume().RecordCount(); ++record) {
    size_t total = 0;
    ReadNtfsFile(engine.Volume(), record, [&total](const uint8_t *, size_t length) {
      total += length;
      return total < (1u << 16); // sparse claims of gigabytes stop here
    });
  }
  return 0;
}
