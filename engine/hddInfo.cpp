#include "hddInfo.h"

#include <algorithm>
#include <vector>

namespace {

constexpr size_t kModelOffset = 54, kModelLength = 40;
constexpr size_t kSerialOffset = 20, kSerialLength = 20;
constexpr size_t kFirmwareOffset = 46, kFirmwareLength = 8;
constexpr size_t kSmartTableOffset = 2, kSmartEntrySize = 12, kSmartEntries = 30;

std::string KeepLastWord(const std::string &text) {
  size_t end = text.find_last_not_of(' ');
  if (end == std::string::npos) return std::string();
  size_t start = text.rfind(' ', end);
  start = start == std::string::npos ? 0 : start + 1;
  return text.substr(start);
}

std::string KeepFirstWord(const std::string &text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  return text.substr(0, text.find(' ', first));
}

} // namespace

void SwapStringBytes(char *text, uint16_t length) {
  for (size_t i = 0; i + 1 < static_cast<size_t>(length) + 1; i += 2) std::swap(text[i], text[i + 1]);
}

std::string TakeIdentifyText(const uint8_t *identify, size_t offset, size_t length) {
  // Work on a copy of the field's own bytes only (an even count), so the
  // swap never touches the field after it.
  std::vector<char> field(length + (length & 1), ' ');
  std::copy(identify + offset, identify + offset + length, field.begin());
  const bool rightJustified = length > 0 && field[0] == ' ';
  SwapStringBytes(field.data(), static_cast<uint16_t>(field.size() - 1));
  std::string text(field.data(), length);
  text = text.substr(0, text.find('\0'));
  std::string kept = rightJustified ? KeepLastWord(text) : KeepFirstWord(text);
  if (kept.size() > length) kept.resize(length);
  return kept;
}

void DecodeIdentifyData(const uint8_t *identify, DiskIdentity &out) {
  out.m_model = TakeIdentifyText(identify, kModelOffset, kModelLength);
  out.m_serialNumber = TakeIdentifyText(identify, kSerialOffset, kSerialLength);
  out.m_firmwareRevision = TakeIdentifyText(identify, kFirmwareOffset, kFirmwareLength);
}

uint8_t FindSmartAttribute194(const uint8_t *smartData) {
  uint8_t value = 0;
  for (size_t i = 0; i < kSmartEntries; ++i) {
    const uint8_t *entry = smartData + kSmartTableOffset + i * kSmartEntrySize;
    if (entry[0] == 194) value = entry[5]; // 0, 1, attribute id; 5, 1, first raw-value byte
  }
  return value;
}

bool ReadIdentifyData(uint8_t diskNumber, SmartPort &port, DiskIdentity &out, bool isWindows9x) {
  uint8_t deviceMap = 0;
  port.GetVersion(deviceMap);
  bool answered = false;
  uint8_t enabled = 0;
  std::vector<uint8_t> data(kIdentifyDataSize);
  const auto asked = [&](uint8_t position, uint8_t mask) {
    return (mask & (1u << position)) != 0 && (!isWindows9x || position == diskNumber);
  };
  for (uint8_t position = 0; position < 4; ++position) {
    if (!asked(position, deviceMap)) continue;
    const bool packet = (deviceMap & (0x10u << position)) != 0;
    if (!packet && port.Enable(position)) enabled |= static_cast<uint8_t>(1u << position);
    std::fill(data.begin(), data.end(), 0);
    if (port.Identify(position, packet ? kAtaIdentifyPacketDevice : kAtaIdentifyDevice, data.data())) {
      DecodeIdentifyData(data.data(), out);
      answered = true;
    }
  }
  for (uint8_t position = 0; position < 4; ++position) {
    if (!asked(position, enabled)) continue;
    std::fill(data.begin(), data.end(), 0);
    if (port.ReadData(position, data.data())) out.m_attributeByte = FindSmartAttribute194(data.data());
  }
  return answered;
}

bool ReadDiskIdentity(uint8_t diskNumber, SmartPort &port, DiskIdentity &out, bool isWindows9x) {
  DiskIdentity identity;
  const bool answered = ReadIdentifyData(diskNumber, port, identity, isWindows9x);
  out = identity;
  return answered;
}
