// LZNT1, the compression of NTFS compressed files: a compression unit (16
// clusters) is stored as a sequence of chunks, each of which stands for 4096
// bytes of the file.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kLznt1ChunkSize = 4096;

// Decompresses in[0, inLength) into out[0, outLength). A chunk that yields
// fewer than 4096 bytes is followed by zeros up to its 4096-byte boundary.
// produced receives the bytes written (the rest of out is left untouched).
// False on a malformed stream: a back-reference before the chunk's start, a
// chunk header past the input, or more output than out holds.
bool DecompressLznt1(const uint8_t *in, size_t inLength, uint8_t *out, size_t outLength, size_t &produced);
