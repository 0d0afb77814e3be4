// Fuzzes the decoding of a disk's IDENTIFY and SMART answers: the input is
// split into a device map byte and the blocks the device answers with.
#include "hddInfo.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

class ReplayPort : public SmartPort {
public:
  ReplayPort(const uint8_t *data, size_t size) : m_data(data, data + size) {}
  bool GetVersion(uint8_t &deviceMap) override {
    deviceMap = m_data.empty() ? 0 : m_data[0];
    return true;
  }
  bool Enable(uint8_t) override { return Next(nullptr); }
  bool Identify(uint8_t, uint8_t, uint8_t *data) override { return Next(data); }
  bool ReadData(uint8_t, uint8_t *data) override { return Next(data); }

private:
  bool Next(uint8_t *out) {
    if (m_offset >= m_data.size()) return false;
    const bool ok = (m_data[m_offset] & 1) != 0;
    if (out != nullptr) {
      std::memset(out, 0, kIdentifyDataSize);
      const size_t n = std::min(kIdentifyDataSize, m_data.size() - m_offset);
      std::memcpy(out, m_data.data() + m_offset, n);
    }
    m_offset += 97; // answers overlap, so one input exercises several blocks
    return ok;
  }
  std::vector<uint8_t> m_data;
  size_t m_offset = 1;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::vector<uint8_t> block(kIdentifyDataSize, 0);
  std::memcpy(block.data(), data, std::min(size, kIdentifyDataSize));
  DiskIdentity identity;
  DecodeIdentifyData(block.data(), identity);
  if (identity.m_model.size() > 40 || identity.m_serialNumber.size() > 20 ||
      identity.m_firmwareRevision.size() > 8)
    __builtin_trap();
  FindSmartAttribute194(block.data());
  for (bool windows9x : {false, true}) {
    ReplayPort port(data, size);
    DiskIdentity asked;
    ReadIdentifyData(size > 0 ? data[0] & 3 : 0, port, asked, windows9x);
  }
  return 0;
}
