// A whole advanced search over a small volume in memory. The input's first
// byte says how many FILE records follow (replacing the records from slot 6,
// $Bitmap, on, with any extension records it names); the rest fills the data
// clusters that $Bitmap's runs and the signature pass read. A fixed
// signature list makes hits grow. The seeds hold $Bitmap in one record, and
// continued through its attribute list in extension record 7, each followed
// by 16 clusters with its bitmap sectors (clusters 70, 71) and signatures.
#include "ImageDevices.h"
#include "NtfsAdvancedEngine.h"
#include "RecordingServices.h"
#include "../tests/NtfsTestVolume.h"
#include "../tests/SignatureTestSpace.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  constexpr size_t kSlots = 24;
  constexpr size_t kFirstSlot = 6;
  constexpr size_t kDataCluster = TestVolume::kMftCluster + 2 * kSlots;
  if (size < 1) return 0;
  TestVolume volume(kSlots, 1024);
  volume.PutSystemRecords();
  const size_t records = std::min(size - 1, (data[0] % (kSlots - kFirstSlot + 1)) * size_t{1024});
  ++data;
  --size;
  std::copy(data, data + records, volume.Bytes().begin() + TestVolume::kMftCluster * 512 + kFirstSlot * 1024);
  const size_t dataRoom = volume.Bytes().size() - 512 - kDataCluster * 512;
  const size_t rest = std::min(size - records, dataRoom);
  std::copy(data + records, data + records + rest, volume.Bytes().begin() + kDataCluster * 512);

  ImageDeviceLayer layer;
  const size_t sectors = volume.Sectors();
  layer.Attach(2, std::make_unique<MemoryDevice>(std::move(volume.Bytes())));
  SectorIo io(layer, nullptr, false);
  SectorReader reader(io, 2);
  RecordingServices services;
  services.m_selectedHeaders = {MakeHeader(u"JPG", kJpegStart, 64 * 1024), MakeHeader(u"PDF", kPdfStart, 0),
                                MakeHeader(u"BMP", kBmpStart), MakeHeader(u"DOC", kCompoundStart, 8192)};
  NtfsAdvancedEngine engine(services, reader, sectors);
  engine.RunNtfsAdvancedScan();
  return 0;
}
