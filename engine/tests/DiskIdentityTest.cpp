// Which SMART device answers for a disk on each family, and which of its
// positions are asked, against the simulated 95/98/Me disk services.
#include "hddInfo.h"

#include "ImageDevices.h"
#include "SimulatedLegacyDisks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const PlatformVersion kWindows98{1, 4, 10};
const PlatformVersion kWindowsXp{2, 5, 1};

// An IDENTIFY block with the model stored as a drive stores it: padded with
// blanks, the bytes of every word swapped.
std::vector<uint8_t> IdentifyWithModel(const std::string &model) {
  std::vector<uint8_t> block(kIdentifyDataSize, 0);
  std::string padded = model;
  padded.resize(40, ' ');
  for (size_t i = 0; i < 40; i += 2) {
    block[54 + i] = static_cast<uint8_t>(padded[i + 1]);
    block[54 + i + 1] = static_cast<uint8_t>(padded[i]);
  }
  return block;
}

// SMART data whose attribute 194 has the given first raw byte.
std::vector<uint8_t> SmartWithTemperature(uint8_t raw) {
  std::vector<uint8_t> data(kIdentifyDataSize, 0);
  data[2] = 194;
  data[2 + 5] = raw;
  return data;
}

SimulatedLegacyDisks::SmartDevice Disk(const std::string &model, uint8_t temperature) {
  return {IdentifyWithModel(model), SmartWithTemperature(temperature), false};
}

class DiskIdentityTest : public ::testing::Test {
protected:
  // The NT family's opener: the disk's own device, over the same simulated devices.
  SmartDiskOpener OwnDevice() {
    return [this](uint8_t biosDisk) {
      m_ownDeviceOpens.push_back(biosDisk);
      return m_legacy.SmartPortOverDevices();
    };
  }

  ImageDeviceLayer m_layer;
  SimulatedLegacyDisks m_legacy{m_layer};
  std::vector<uint8_t> m_ownDeviceOpens;
};

TEST_F(DiskIdentityTest, On9xTheOneSmartvsdDeviceAsksOnlyTheDisksOwnPosition) {
  m_legacy.SetSmartDevice(0, Disk("FIRST", 30));
  m_legacy.SetSmartDevice(1, Disk("SECOND", 41));
  DiskIdentity id;
  EXPECT_TRUE(ReadDiskIdentity(0x81, kWindows98, &m_legacy, OwnDevice(), id));
  EXPECT_EQ(id.m_model, "SECOND");
  EXPECT_EQ(id.m_attributeByte, 41u);
  EXPECT_EQ(m_legacy.m_smartVsdOpens, 1u);
  EXPECT_TRUE(m_ownDeviceOpens.empty()) << "no per-disk device on the 95/98/Me family";
  EXPECT_EQ(m_legacy.m_smartCalls, (std::vector<std::string>{"enable 1", "identify 1 236", "read 1"}));
}

TEST_F(DiskIdentityTest, On9xADiskWhosePositionIsNotMappedHasNoIdentity) {
  m_legacy.SetSmartDevice(0, Disk("FIRST", 30));
  m_legacy.SetSmartDevice(1, Disk("SECOND", 41));
  DiskIdentity id;
  id.m_model = "UNTOUCHED";
  EXPECT_FALSE(ReadDiskIdentity(0x82, kWindows98, &m_legacy, OwnDevice(), id));
  EXPECT_TRUE(m_legacy.m_smartCalls.empty());
  EXPECT_TRUE(id.m_model.empty()) << "the zeroed identity is copied whole";
}

TEST_F(DiskIdentityTest, On9xWithoutTheSmartDriverNothingIsAskedAndOutStaysAsItWas) {
  m_legacy.SetSmartDevice(0, Disk("FIRST", 30));
  m_legacy.SetSmartVsdAvailable(false);
  DiskIdentity id;
  id.m_model = "UNTOUCHED";
  EXPECT_FALSE(ReadDiskIdentity(0x80, kWindows98, &m_legacy, OwnDevice(), id));
  EXPECT_EQ(id.m_model, "UNTOUCHED");
  EXPECT_TRUE(m_ownDeviceOpens.empty());
  EXPECT_FALSE(ReadDiskIdentity(0x80, kWindows98, nullptr, OwnDevice(), id)) << "no legacy services at all";
}

TEST_F(DiskIdentityTest, On9xAPacketDeviceIsAskedWithA1AndNeverEnabled) {
  SimulatedLegacyDisks::SmartDevice cdrom = Disk("CDROM", 50);
  cdrom.m_packet = true;
  m_legacy.SetSmartDevice(2, cdrom);
  DiskIdentity id;
  EXPECT_TRUE(ReadDiskIdentity(0x82, kWindows98, &m_legacy, OwnDevice(), id));
  EXPECT_EQ(id.m_model, "CDROM");
  EXPECT_EQ(id.m_attributeByte, 0u);
  EXPECT_EQ(m_legacy.m_smartCalls, std::vector<std::string>{"identify 2 161"});
}

TEST_F(DiskIdentityTest, OnNtTheDisksOwnDeviceAsksEveryPositionAndTheLastAnswerWins) {
  m_legacy.SetSmartDevice(0, Disk("FIRST", 30));
  m_legacy.SetSmartDevice(3, Disk("FOURTH", 44));
  DiskIdentity id;
  EXPECT_TRUE(ReadDiskIdentity(0x81, kWindowsXp, &m_legacy, OwnDevice(), id));
  EXPECT_EQ(id.m_model, "FOURTH");
  EXPECT_EQ(id.m_attributeByte, 44u);
  EXPECT_EQ(m_ownDeviceOpens, std::vector<uint8_t>{0x81});
  EXPECT_EQ(m_legacy.m_smartVsdOpens, 0u);
  EXPECT_EQ(m_legacy.m_smartCalls, (std::vector<std::string>{"enable 0", "identify 0 236", "enable 3",
                                                             "identify 3 236", "read 0", "read 3"}));
}

TEST_F(DiskIdentityTest, AFailedIdentifyStillKeepsTheSmartAttribute) {
  SimulatedLegacyDisks::SmartDevice silent = Disk("", 37);
  silent.m_identify.clear(); // IDENTIFY fails, SMART answers
  m_legacy.SetSmartDevice(0, silent);
  DiskIdentity id;
  EXPECT_FALSE(ReadDiskIdentity(0x80, kWindows98, &m_legacy, OwnDevice(), id));
  EXPECT_EQ(id.m_attributeByte, 37u);
}

} // namespace
