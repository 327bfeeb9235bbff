#pragma once
// Reading a fuzz input as values, and failing loudly when a promise breaks.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace fuzz {

// The next sizeof(T) bytes as a T (zeros past the end of the input).
template <typename T>
T Take(const uint8_t*& data, size_t& size) {
    T value{};
    const size_t n = size < sizeof value ? size : sizeof value;
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

inline void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace fuzz
