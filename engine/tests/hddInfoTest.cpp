#include "hddInfo.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// Stores text in an IDENTIFY field the way a drive does: padded with blanks
// to the field's length, the two bytes of every word swapped.
void PutIdentifyText(std::vector<uint8_t> &block, size_t offset, size_t length, const std::string &text) {
  std::string padded = text;
  padded.resize(length, ' ');
  for (size_t i = 0; i + 1 < length; i += 2) {
    block[offset + i] = static_cast<uint8_t>(padded[i + 1]);
    block[offset + i + 1] = static_cast<uint8_t>(padded[i]);
  }
}

std::vector<uint8_t> IdentifyBlock(const std::string &model, const std::string &serial,
                                   const std::string &firmware) {
  std::vector<uint8_t> block(512, 0);
  PutIdentifyText(block, 54, 40, model);
  PutIdentifyText(block, 20, 20, serial);
  PutIdentifyText(block, 46, 8, firmware);
  return block;
}

std::vector<uint8_t> SmartData(uint8_t id, uint8_t raw) {
  std::vector<uint8_t> data(512, 0);
  data[2 + 12 * 3] = 9; // another attribute first
  data[2 + 12 * 3 + 5] = 0x77;
  data[2 + 12 * 7] = id;
  data[2 + 12 * 7 + 5] = raw;
  return data;
}

TEST(IdentifyText, FieldsAreUnswappedAndTrimmed) {
  const struct {
    const char *what;
    std::string stored;
    std::string expected;
  } cases[] = {
      {"one word and padding", "MODEL1", "MODEL1"},
      {"text ends at the first blank after the first word", "AB CD", "AB"},
      {"right-justified keeps its last word", std::string(14, ' ') + "SN1234", "SN1234"},
      {"right-justified, several words", std::string(15, ' ') + "X Y Z", "Z"},
      {"right-justified keeps trailing blanks", "    SN1234", "SN1234          "},
      {"only blanks", "", ""},
      {"a full field with no blank", std::string(20, 'Q'), std::string(20, 'Q')},
  };
  for (const auto &c : cases) {
    std::vector<uint8_t> block(512, 0);
    PutIdentifyText(block, 20, 20, c.stored);
    EXPECT_EQ(TakeIdentifyText(block.data(), 20, 20), c.expected) << c.what;
  }
}

TEST(IdentifyText, ATextStopsAtANulAndNeverReadsPastItsField) {
  std::vector<uint8_t> block(512, 'Z');
  PutIdentifyText(block, 46, 8, "FW");
  block[46 + 2] = 0; // a NUL where the padding should be
  EXPECT_EQ(TakeIdentifyText(block.data(), 46, 8), "FW");
  PutIdentifyText(block, 46, 8, "ABCDEFGH");
  EXPECT_EQ(TakeIdentifyText(block.data(), 46, 8), "ABCDEFGH") << "the model field after it is not taken";
}

TEST(IdentifyText, DecodesTheThreeFields) {
  DiskIdentity id;
  DecodeIdentifyData(IdentifyBlock("QEMU HARDDISK", std::string(13, ' ') + "QM00001", "2.5+").data(), id);
  EXPECT_EQ(id.m_model, "QEMU");
  EXPECT_EQ(id.m_serialNumber, "QM00001");
  EXPECT_EQ(id.m_firmwareRevision, "2.5+");
}

TEST(SmartAttribute, TakesTheFirstRawByteOfAttribute194) {
  EXPECT_EQ(FindSmartAttribute194(SmartData(194, 0x28).data()), 0x28);
  EXPECT_EQ(FindSmartAttribute194(SmartData(190, 0x28).data()), 0);
  auto twice = SmartData(194, 0x28);
  twice[2 + 12 * 29] = 194; // the last entry of the table
  twice[2 + 12 * 29 + 5] = 0x30;
  EXPECT_EQ(FindSmartAttribute194(twice.data()), 0x30) << "the last match wins";
}

// Answers for the devices at chosen positions and records the commands sent.
class FakeSmartPort : public SmartPort {
public:
  bool GetVersion(uint8_t &deviceMap) override {
    deviceMap = m_deviceMap;
    return true;
  }
  bool Enable(uint8_t position) override {
    m_calls.push_back("enable " + std::to_string(position));
    return true;
  }
  bool Identify(uint8_t position, uint8_t command, uint8_t *data) override {
    m_calls.push_back("identify " + std::to_string(position) + " " + std::to_string(command));
    auto it = m_identify.find(position);
    if (it == m_identify.end()) return false;
    std::copy(it->second.begin(), it->second.end(), data);
    return true;
  }
  bool ReadData(uint8_t position, uint8_t *data) override {
    m_calls.push_back("read " + std::to_string(position));
    const auto smart = SmartData(194, static_cast<uint8_t>(40 + position));
    std::copy(smart.begin(), smart.end(), data);
    return true;
  }

  uint8_t m_deviceMap = 0;
  std::map<uint8_t, std::vector<uint8_t>> m_identify;
  std::vector<std::string> m_calls;
};

TEST(ReadIdentifyData, AsksEveryMappedPositionOnNt) {
  FakeSmartPort port;
  port.m_deviceMap = 0x05; // positions 0 and 2
  port.m_identify[0] = IdentifyBlock("FIRST", "S0", "F0");
  port.m_identify[2] = IdentifyBlock("SECOND", "S2", "F2");
  DiskIdentity id;
  EXPECT_TRUE(ReadIdentifyData(0, port, id, false));
  EXPECT_EQ(id.m_model, "SECOND") << "a later answer overwrites an earlier one";
  EXPECT_EQ(id.m_attributeByte, 42u);
  const std::vector<std::string> expected = {"enable 0",       "identify 0 236", "enable 2",
                                             "identify 2 236", "read 0",         "read 2"};
  EXPECT_EQ(port.m_calls, expected);
}

TEST(ReadIdentifyData, OnWindows9xOnlyTheDisksOwnPositionIsAsked) {
  FakeSmartPort port;
  port.m_deviceMap = 0x03;
  port.m_identify[0] = IdentifyBlock("FIRST", "S0", "F0");
  port.m_identify[1] = IdentifyBlock("SECOND", "S1", "F1");
  DiskIdentity id;
  EXPECT_TRUE(ReadIdentifyData(1, port, id, true));
  EXPECT_EQ(id.m_model, "SECOND");
  const std::vector<std::string> expected = {"enable 1", "identify 1 236", "read 1"};
  EXPECT_EQ(port.m_calls, expected);
}

TEST(ReadIdentifyData, APacketDeviceIsNotEnabledAndKeepsNoAttribute) {
  FakeSmartPort port;
  port.m_deviceMap = 0x11; // position 0, a packet device
  port.m_identify[0] = IdentifyBlock("CDROM", "", "1.0");
  DiskIdentity id;
  EXPECT_TRUE(ReadIdentifyData(0, port, id, false));
  EXPECT_EQ(id.m_model, "CDROM");
  EXPECT_EQ(id.m_attributeByte, 0u);
  const std::vector<std::string> expected = {"identify 0 161"};
  EXPECT_EQ(port.m_calls, expected);
}

// A disk that answers SMART READ DATA but not IDENTIFY: no identity, but the
// SMART attribute byte is handed out with the block, whole, and nothing that
// the caller's block held before stays in it.
TEST(ReadDiskIdentity, KeepsTheSmartDataWhenIdentifyFails) {
  FakeSmartPort port;
  port.m_deviceMap = 0x01;
  const PlatformVersion windowsXp{2, 5, 1};
  const auto openCopy = [&port](uint8_t) -> std::unique_ptr<SmartPort> {
    return std::make_unique<FakeSmartPort>(port);
  };
  DiskIdentity id{"STALE", "STALE", "STALE", 7};
  EXPECT_FALSE(ReadDiskIdentity(0x80, windowsXp, nullptr, openCopy, id));
  EXPECT_EQ(id.m_attributeByte, 40u);
  EXPECT_TRUE(id.m_model.empty());
  EXPECT_TRUE(id.m_serialNumber.empty());
  port.m_identify[0] = IdentifyBlock("MODEL", "SN", "FW");
  EXPECT_TRUE(ReadDiskIdentity(0x80, windowsXp, nullptr, openCopy, id));
  EXPECT_EQ(id.m_model, "MODEL");
  EXPECT_EQ(id.m_attributeByte, 40u);
}

TEST(ReadIdentifyData, NothingMappedMeansNoIdentity) {
  FakeSmartPort port;
  DiskIdentity id;
  EXPECT_FALSE(ReadIdentifyData(0, port, id, false));
  EXPECT_TRUE(id.m_model.empty());
  EXPECT_TRUE(port.m_calls.empty());
}

} // namespace
