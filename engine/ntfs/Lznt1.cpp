#include "Lznt1.h"

#include "ByteOrder.h"

#include <cstring>

namespace {

// One compressed chunk into out[0, outLength) (at most 4096 bytes). Returns
// the bytes produced, or -1 when the chunk is malformed.
long DecompressChunk(const uint8_t *in, size_t inLength, uint8_t *out, size_t outLength) {
  size_t inPos = 0;
  size_t outPos = 0;
  while (inPos < inLength) {
    const uint8_t flags = in[inPos++];
    for (int bit = 0; bit < 8 && inPos < inLength; ++bit) {
      if ((flags & (1 << bit)) == 0) {
        if (outPos >= outLength) return -1;
        out[outPos++] = in[inPos++];
        continue;
      }
      if (inLength - inPos < 2 || outPos == 0) return -1;
      const uint16_t token = ReadLe16(in + inPos);
      inPos += 2;
      // The split between offset and length bits moves with the position in
      // the chunk: the further in, the more bits the offset needs.
      unsigned lengthBits = 12;
      for (size_t i = outPos - 1; i >= 0x10; i >>= 1) --lengthBits;
      const size_t offset = (token >> lengthBits) + 1;
      const size_t length = (token & ((1u << lengthBits) - 1)) + 3;
      if (offset > outPos || length > outLength - outPos) return -1;
      for (size_t i = 0; i < length; ++i, ++outPos) out[outPos] = out[outPos - offset];
    }
  }
  return static_cast<long>(outPos);
}

} // namespace

bool DecompressLznt1(const uint8_t *in, size_t inLength, uint8_t *out, size_t outLength, size_t &produced) {
  produced = 0;
  size_t inPos = 0;
  while (inPos + 2 <= inLength && produced < outLength) {
    const uint16_t header = ReadLe16(in + inPos); // u16 chunk header: size - 1, bit 15 compressed
    if (header == 0) break;
    const size_t chunkLength = (header & 0x0FFF) + 1;
    inPos += 2;
    if (chunkLength > inLength - inPos) return false;
    const size_t room = outLength - produced < kLznt1ChunkSize ? outLength - produced : kLznt1ChunkSize;
    size_t written = 0;
    if (header & 0x8000) {
      const long result = DecompressChunk(in + inPos, chunkLength, out + produced, room);
      if (result < 0) return false;
      written = static_cast<size_t>(result);
    } else {
      if (chunkLength > room) return false;
      std::memcpy(out + produced, in + inPos, chunkLength);
      written = chunkLength;
    }
    inPos += chunkLength;
    // A short chunk stands for a whole 4096 bytes; the rest is zeros.
    std::memset(out + produced + written, 0, room - written);
    produced += room;
  }
  return true;
}
