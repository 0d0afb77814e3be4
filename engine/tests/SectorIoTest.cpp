#include "ByteOrder.h"
#include "ImageDevices.h"
#include "SectorIo.h"
#include "SimulatedLegacyDisks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

// A disk image whose every sector begins with its own number, so a read shows
// which sector it came from.
std::vector<uint8_t> NumberedImage(uint32_t sectors) {
  std::vector<uint8_t> bytes(static_cast<size_t>(sectors) * kSectorSize, 0x5A);
  for (uint32_t s = 0; s < sectors; ++s) WriteLe32(&bytes[static_cast<size_t>(s) * kSectorSize], s);
  return bytes;
}

// Records where it was asked to read; fails every read when told to.
class ProbeDevice : public SectorDevice {
public:
  uint32_t ReadAt(uint64_t byteOffset, void *buffer, uint32_t byteCount) override {
    m_offsets.push_back(byteOffset);
    if (m_fail) return 0;
    std::memset(buffer, 0x11, byteCount);
    return byteCount;
  }
  uint32_t WriteAt(uint64_t, const void *, uint32_t) override { return 0; }
  uint64_t SizeInBytes() const override { return 0; }

  std::vector<uint64_t> m_offsets;
  bool m_fail = false;
};

// Only a regular file (or, on a Unix host, a block device) is a disk image:
// a folder used to open with a size of 2^63 - 1, and a disk scan of it then
// logged a failed read per sector for ever.
TEST(ImageFileDevice, RefusesWhatIsNotADiskImage) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "qv-image-device-test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir / "folder");
  const std::string image = (dir / "disk.img").string();
  std::ofstream(image, std::ios::binary) << std::string(2 * kSectorSize, 'x');
  std::string why;
  auto device = ImageFileDevice::Open(image, false, &why);
  ASSERT_TRUE(device) << why;
  EXPECT_EQ(device->SizeInBytes(), 2u * kSectorSize);
  device.reset();

  const struct {
    std::string m_path;
    std::string m_why;
  } refused[] = {{(dir / "folder").string(), "is a folder, not a disk image"},
                 {(dir / "missing.img").string(), (dir / "missing.img").string() + ": "}};
  for (const auto &c : refused) {
    why.clear();
    EXPECT_FALSE(ImageFileDevice::Open(c.m_path, false, &why)) << c.m_path;
    EXPECT_NE(why.find(c.m_why), std::string::npos) << why;
    ImageDeviceLayer layer;
    EXPECT_FALSE(layer.AttachFile(2, c.m_path));
    EXPECT_EQ(layer.Device(2), nullptr);
  }
  std::filesystem::remove_all(dir);
}

TEST(SectorIoPaths, DriveCodesNameTheirDevices) {
  const struct {
    uint8_t code;
    std::u16string path;
  } cases[] = {{0, u"\\\\.\\A:"},
               {2, u"\\\\.\\C:"},
               {128, u"\\\\.\\PHYSICALDRIVE0"},
               {129, u"\\\\.\\PHYSICALDRIVE1"},
               {255, u"\\\\.\\PHYSICALDRIVE127"}};
  for (const auto &c : cases) EXPECT_EQ(DevicePathForDriveCode(c.code), c.path) << int(c.code);
}

class SectorIoNt : public ::testing::Test {
protected:
  ImageDeviceLayer m_layer;
  SectorIo m_io{m_layer, nullptr, false};
};

TEST_F(SectorIoNt, OffsetsBeyondFourGigabytesAreComputedIn64Bits) {
  auto *logical = new ProbeDevice;
  auto *physical = new ProbeDevice;
  m_layer.Attach(2, std::unique_ptr<SectorDevice>(logical));
  m_layer.Attach(128, std::unique_ptr<SectorDevice>(physical));
  std::vector<uint8_t> buffer(512);
  EXPECT_EQ(m_io.ReadWriteSectors(2, 0x00800000, buffer.data(), 512, 0), 1);
  EXPECT_EQ(m_io.ReadWriteSectors(128, 0x00800000, buffer.data(), 512, 0), 1);
  EXPECT_TRUE(m_io.TransferSectors(128, 0x123456789ull, buffer.data(), 512, false));
  ASSERT_EQ(logical->m_offsets.size(), 1u);
  EXPECT_EQ(logical->m_offsets[0], 0x100000000ull);
  ASSERT_EQ(physical->m_offsets.size(), 2u);
  EXPECT_EQ(physical->m_offsets[0], 0x100000000ull);
  EXPECT_EQ(physical->m_offsets[1], 0x123456789ull * 512);
}

TEST_F(SectorIoNt, SectorsWhoseOffsetWouldWrapAreRefused) {
  auto *probe = new ProbeDevice;
  m_layer.Attach(128, std::unique_ptr<SectorDevice>(probe));
  std::vector<uint8_t> buffer(512);
  EXPECT_FALSE(m_io.TransferSectors(128, 1ull << 56, buffer.data(), 512, false));
  EXPECT_TRUE(probe->m_offsets.empty());
}

TEST_F(SectorIoNt, ReadsThroughTheDeviceOfTheDriveCode) {
  m_layer.Attach(2, std::make_unique<MemoryDevice>(NumberedImage(16)));
  std::vector<uint8_t> buffer(3 * 512);
  ASSERT_EQ(m_io.ReadWriteSectors(2, 5, buffer.data(), 3 * 512, 0), 1);
  EXPECT_EQ(ReadLe32(&buffer[0]), 5u);
  EXPECT_EQ(ReadLe32(&buffer[1024]), 7u);
  EXPECT_EQ(m_io.ReadWriteSectors(3, 0, buffer.data(), 512, 0), 0) << "no device for D:";
}

TEST_F(SectorIoNt, AShortReadFailsAndLeavesNoStaleBytes) {
  m_layer.Attach(2, std::make_unique<MemoryDevice>(NumberedImage(3)));
  std::vector<uint8_t> buffer(4 * 512, 0xAA);
  EXPECT_EQ(m_io.ReadWriteSectors(2, 0, buffer.data(), 4 * 512, 0), 0);
  EXPECT_EQ(ReadLe32(&buffer[2 * 512]), 2u) << "the part that was read is kept";
  for (size_t i = 3 * 512; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], 0) << "byte " << i;
  std::fill(buffer.begin(), buffer.end(), 0xAA);
  EXPECT_EQ(m_io.ReadWriteSectors(2, 3, buffer.data(), 512, 0), 0) << "past the end";
  EXPECT_EQ(buffer[0], 0);
}

TEST_F(SectorIoNt, WritesNeedAWritableDeviceAndReportTheirOutcome) {
  m_layer.Attach(2, std::make_unique<MemoryDevice>(NumberedImage(4)));
  auto *writable = new MemoryDevice(NumberedImage(4), true);
  m_layer.Attach(3, std::unique_ptr<SectorDevice>(writable));
  std::vector<uint8_t> data(512, 0xEE);
  EXPECT_EQ(m_io.ReadWriteSectors(2, 1, data.data(), 512, 1), 0);
  EXPECT_EQ(m_io.ReadWriteSectors(3, 1, data.data(), 512, 1), 1);
  EXPECT_EQ(writable->Bytes()[512], 0xEE);
  EXPECT_EQ(m_io.ReadWriteSectors(3, 3, data.data(), 1024, 1), 0) << "half past the end";
}

TEST_F(SectorIoNt, APhysicalReadIsAttemptedOnce) {
  auto *probe = new ProbeDevice;
  probe->m_fail = true;
  m_layer.Attach(128, std::unique_ptr<SectorDevice>(probe));
  std::vector<uint8_t> buffer(512);
  EXPECT_EQ(m_io.PhysicalSectorIoRetry(128, 7, 0, buffer.data(), 512, 0), 0);
  EXPECT_EQ(m_io.ReadRetryCount(), 1);
  EXPECT_EQ(probe->m_offsets.size(), 1u);
}

TEST_F(SectorIoNt, DisksAreCountedUntilOneCannotBeOpened) {
  uint8_t count = 99;
  EXPECT_EQ(m_io.CountPhysicalDisks(&count), 0);
  EXPECT_EQ(count, 0);
  m_layer.Attach(128, std::make_unique<MemoryDevice>(NumberedImage(1)));
  m_layer.Attach(129, std::make_unique<MemoryDevice>(NumberedImage(1)));
  m_layer.Attach(131, std::make_unique<MemoryDevice>(NumberedImage(1)));
  EXPECT_EQ(m_io.CountPhysicalDisks(&count), 1);
  EXPECT_EQ(count, 2);
}

TEST_F(SectorIoNt, DiskSizesBeyond16BitCylindersAreNotNarrowed) {
  // 70000 cylinders of 255 x 63 sectors: more than a 16-bit cylinder count holds.
  class BigDisk : public ProbeDevice {
    uint64_t SizeInBytes() const override { return 70000ull * 255 * 63 * 512; }
  };
  m_layer.Attach(128, std::make_unique<BigDisk>());
  uint64_t sectors = 0;
  m_io.GetDiskSectorCount(128, &sectors);
  EXPECT_EQ(sectors, 70000ull * 255 * 63);
  m_io.GetDiskSectorCount(129, &sectors);
  EXPECT_EQ(sectors, 0u);
}

TEST_F(SectorIoNt, DiskSizeCountsSectorsPastTheLastWholeCylinder) {
  m_layer.Attach(128, std::make_unique<MemoryDevice>(NumberedImage(255 * 63 + 100)));
  uint64_t sectors = 0;
  m_io.GetDiskSectorCount(128, &sectors);
  EXPECT_EQ(sectors, 255u * 63 + 100);
}

TEST_F(SectorIoNt, ReaderAddsTheVolumeStartAndInjectsFaults) {
  m_layer.Attach(128, std::make_unique<MemoryDevice>(NumberedImage(200)));
  SectorReader reader(m_io, 128, 63);
  std::vector<uint8_t> buffer(2 * 512);
  ASSERT_TRUE(reader.ReadSectors(1, 2, buffer.data()));
  EXPECT_EQ(ReadLe32(&buffer[0]), 64u);
  EXPECT_EQ(ReadLe32(&buffer[512]), 65u);
  reader.SetFaultFilter([](uint64_t s) { return s == 3; });
  EXPECT_FALSE(reader.ReadSectors(2, 2, buffer.data()));
  EXPECT_TRUE(reader.ReadSectors(4, 2, buffer.data()));
  EXPECT_FALSE(reader.ReadSectors(UINT64_MAX - 10, 2, buffer.data())) << "wrapping sector number";
}

class SectorIo9x : public ::testing::Test {
protected:
  ImageDeviceLayer m_layer;
  SimulatedLegacyDisks m_legacy{m_layer};
  SectorIo m_io{m_layer, &m_legacy, true};
};

TEST_F(SectorIo9x, LogicalReadLocksTransfersAndUnlocks) {
  m_layer.Attach(2, std::make_unique<MemoryDevice>(NumberedImage(16)));
  std::vector<uint8_t> buffer(2 * 512);
  ASSERT_EQ(m_io.ReadWriteSectors(2, 9, buffer.data(), 1024, 0), 1);
  EXPECT_EQ(ReadLe32(&buffer[512]), 10u);
  EXPECT_EQ(m_legacy.m_lockDepth, 0);
  ASSERT_EQ(m_legacy.m_vwin32Calls.size(), 3u);
  const auto &lock = m_legacy.m_vwin32Calls[0];
  EXPECT_EQ(lock.m_service, 1u);
  EXPECT_EQ(lock.m_registers.m_eax, 0x440Du);
  EXPECT_EQ(lock.m_registers.m_ebx, 0x103u);
  EXPECT_EQ(lock.m_registers.m_ecx, 0x084Au);
  EXPECT_EQ(lock.m_registers.m_edx, 1u);
  const auto &read = m_legacy.m_vwin32Calls[1];
  EXPECT_EQ(read.m_service, 6u);
  EXPECT_EQ(read.m_registers.m_eax, 0x7305u);
  EXPECT_EQ(read.m_registers.m_ecx, 0xFFFFu);
  EXPECT_EQ(read.m_registers.m_edx, 3u);
  EXPECT_EQ(read.m_registers.m_esi, 0u);
  EXPECT_EQ(m_legacy.m_vwin32Calls[2].m_registers.m_ecx, 0x086Au);
}

TEST_F(SectorIo9x, AnErrorReportedOnlyInTheCarryFlagFailsTheRead) {
  m_layer.Attach(2, std::make_unique<MemoryDevice>(NumberedImage(16)));
  m_legacy.SetCarryOnSector([](uint32_t s) { return s == 4; });
  std::vector<uint8_t> buffer(512);
  EXPECT_EQ(m_io.ReadWriteSectors(2, 4, buffer.data(), 512, 0), 0);
  EXPECT_EQ(m_legacy.m_lockDepth, 0) << "the volume is unlocked after a failure too";
  EXPECT_EQ(m_io.ReadWriteSectors(2, 5, buffer.data(), 512, 0), 1);
}

TEST_F(SectorIo9x, LogicalRequestsTheTransferBlockCannotHoldFail) {
  m_layer.Attach(2, std::make_unique<MemoryDevice>(NumberedImage(16)));
  std::vector<uint8_t> buffer(512);
  EXPECT_FALSE(m_io.TransferSectors(2, 0x100000000ull, buffer.data(), 512, false));
  EXPECT_TRUE(m_legacy.m_vwin32Calls.empty());
  m_legacy.SetVwin32Available(false);
  EXPECT_EQ(m_io.ReadWriteSectors(2, 0, buffer.data(), 512, 0), 0);
}

TEST_F(SectorIo9x, FillPatternCountsTheDisksThatAnswer) {
  m_layer.Attach(128, std::make_unique<MemoryDevice>(NumberedImage(4)));
  // A second disk whose first sector really is all 0xF6 is told apart by the second fill.
  std::vector<uint8_t> f6(4 * 512, 0xF6);
  m_layer.Attach(129, std::make_unique<MemoryDevice>(f6));
  uint8_t count = 0;
  EXPECT_EQ(m_io.CountPhysicalDisks(&count), 1);
  EXPECT_EQ(count, 2);
  ASSERT_FALSE(m_legacy.m_int13Reads.empty());
  EXPECT_EQ(m_legacy.m_int13Reads.back().m_biosDrive, 0x82);
  EXPECT_EQ(m_legacy.m_int13Reads.back().m_sectorCount, 1u);
}

TEST_F(SectorIo9x, WithoutTheHelperLibraryNoDiskIsFound) {
  m_layer.Attach(128, std::make_unique<MemoryDevice>(NumberedImage(4)));
  m_legacy.SetHasInt13Entries(false);
  uint8_t count = 5;
  EXPECT_EQ(m_io.CountPhysicalDisks(&count), 0);
  EXPECT_EQ(count, 0);
  uint64_t total = 7;
  m_io.Ei13GetDriveParameters(0x80, &total);
  EXPECT_EQ(total, 0u);
}

TEST_F(SectorIo9x, PhysicalReadsFailWhenNothingWasRead) {
  m_layer.Attach(128, std::make_unique<MemoryDevice>(NumberedImage(4)));
  std::vector<uint8_t> buffer(2 * 512);
  EXPECT_EQ(m_io.ReadWriteSectors(128, 2, buffer.data(), 1024, 0), 1);
  EXPECT_EQ(ReadLe32(&buffer[512]), 3u);
  EXPECT_EQ(m_io.ReadWriteSectors(129, 2, buffer.data(), 1024, 0), 0) << "absent disk, not sector 0";
  EXPECT_EQ(m_io.ReadWriteSectors(128, 3, buffer.data(), 1024, 0), 0) << "runs past the disk's end";
}

TEST_F(SectorIo9x, APhysicalWriteIsRefusedRatherThanReadInstead) {
  m_layer.Attach(128, std::make_unique<MemoryDevice>(NumberedImage(4), true));
  std::vector<uint8_t> buffer(512, 0xEE);
  EXPECT_EQ(m_io.ReadWriteSectors(128, 1, buffer.data(), 512, 1), 0);
  EXPECT_EQ(buffer[0], 0xEE);
  EXPECT_TRUE(m_legacy.m_int13Reads.empty());
}

TEST_F(SectorIo9x, DiskSizeComesFromTheHelperNotTheGeometry) {
  m_layer.Attach(128, std::make_unique<MemoryDevice>(NumberedImage(40)));
  uint64_t sectors = 1;
  m_io.GetDiskSectorCount(128, &sectors);
  EXPECT_EQ(sectors, 0u);
  m_io.Ei13GetDriveParameters(0x80, &sectors);
  EXPECT_EQ(sectors, 40u);
}

} // namespace
