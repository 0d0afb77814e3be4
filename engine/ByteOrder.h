// Little-endian field access over raw disk and file bytes. On-disk layouts are
// always read and written field by field through these helpers, never by
// casting a byte pointer to an integer or a packed structure.
#pragma once

#include <cstdint>

inline uint16_t ReadLe16(const uint8_t *p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t ReadLe32(const uint8_t *p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline uint64_t ReadLe64(const uint8_t *p) {
  return static_cast<uint64_t>(ReadLe32(p)) | (static_cast<uint64_t>(ReadLe32(p + 4)) << 32);
}

inline void WriteLe16(uint8_t *p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

inline void WriteLe32(uint8_t *p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

inline void WriteLe64(uint8_t *p, uint64_t v) {
  WriteLe32(p, static_cast<uint32_t>(v));
  WriteLe32(p + 4, static_cast<uint32_t>(v >> 32));
}

// Outcome of parsing one on-disk structure. On a damaged disk Corrupt is
// common: the caller logs it and carries on with the walk.
enum class ParseResult { Ok, NotThisStructure, Corrupt };
