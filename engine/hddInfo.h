// A physical disk's identity (model, serial number, firmware revision) and
// one byte of its SMART temperature attribute, asked of the disk with ATA
// commands through the system's SMART interface. The command sequence and the
// decoding of the answers are portable; the Windows unit sends the commands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct DiskIdentity {
  std::string m_model;            // at most 40 characters
  std::string m_serialNumber;     // at most 20 characters
  std::string m_firmwareRevision; // at most 8 characters
  uint32_t m_attributeByte = 0;   // first raw byte of SMART attribute 194, 0 when not found
};

constexpr size_t kIdentifyDataSize = 512;
constexpr uint8_t kAtaIdentifyDevice = 0xEC;
constexpr uint8_t kAtaIdentifyPacketDevice = 0xA1;

// Swaps the two bytes of each of the (length + 1) / 2 words of text.
void SwapStringBytes(char *text, uint16_t length);

// One text field of IDENTIFY data: length bytes at offset, stored with the
// bytes of each word swapped. Right-justified texts keep their last word,
// left-justified ones their first.
std::string TakeIdentifyText(const uint8_t *identify, size_t offset, size_t length);

// Fills model, serial number and firmware revision from 512 IDENTIFY bytes.
void DecodeIdentifyData(const uint8_t *identify, DiskIdentity &out);

// First raw byte of SMART attribute 194 in 512 bytes of SMART data, 0 when absent.
uint8_t FindSmartAttribute194(const uint8_t *smartData);

// The SMART commands of one open device handle.
class SmartPort {
public:
  virtual ~SmartPort() = default;
  // SMART_GET_VERSION: bit n of the device map marks a device at position n,
  // bit n + 4 a packet (ATAPI) device. False when the call fails.
  virtual bool GetVersion(uint8_t &deviceMap) = 0;
  virtual bool Enable(uint8_t position) = 0;
  // IDENTIFY (command 0xEC or 0xA1) into 512 bytes.
  virtual bool Identify(uint8_t position, uint8_t command, uint8_t *data) = 0;
  // SMART READ DATA into 512 bytes.
  virtual bool ReadData(uint8_t position, uint8_t *data) = 0;
};

// Asks every mapped device position (on the 95/98/Me family only the one of
// diskNumber, whose single handle serves all disks) for its identity and its
// SMART data. True when an IDENTIFY command answered; later answers win.
bool ReadIdentifyData(uint8_t diskNumber, SmartPort &port, DiskIdentity &out, bool isWindows9x);

// The identity of one disk as the drive list takes it: a fresh block filled
// by ReadIdentifyData and handed out whole, also when no IDENTIFY command
// answered, since the disk may still have given its SMART data.
bool ReadDiskIdentity(uint8_t diskNumber, SmartPort &port, DiskIdentity &out, bool isWindows9x);
