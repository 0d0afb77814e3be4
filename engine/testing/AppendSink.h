// A byte sink for tests: appends what a reader streams to a vector.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

inline std::function<bool(const uint8_t *, size_t)> AppendTo(std::vector<uint8_t> &bytes) {
  return [&bytes](const uint8_t *data, size_t size) {
    bytes.insert(bytes.end(), data, data + size);
    return true;
  };
}
