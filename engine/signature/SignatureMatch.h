// The signature test of the searches that read free clusters and whole
// disks: which of the chosen file signatures a cluster or sector begins with.
#pragma once

#include "HeaderRecord.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A bitmap whose size field is this large or larger is taken for noise.
constexpr uint32_t kLargestBitmapSize = 0x1400000;

// Tests the chosen signatures in list order against the bytes read from the
// start of a sector or cluster (HeaderRecord::Matches); the first that
// matches decides. On a match the extension and
// (when record is not null) the record are written; a "BMP" match is still
// refused when its size field (u32 at bytes 2..5) is implausibly large.
bool MatchHeader(const std::vector<HeaderRecord> &headers, const uint8_t *buffer, size_t length,
                 std::u16string *extension, HeaderRecord *record);
