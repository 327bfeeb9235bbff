#pragma once
// Reliability tests run short in the everyday test command and long under
// scripts/soak, which sets TALLYSCOPE_LONG_RUN=1.
#include <cstdlib>
#include <cstring>

namespace testsupport {

inline bool LongRun() {
    const char* value = std::getenv("TALLYSCOPE_LONG_RUN");
    return value != nullptr && std::strcmp(value, "1") == 0;
}

// The short figure in the everyday run, the long one under scripts/soak.
template <typename T>
T ShortOrLong(T shortValue, T longValue) {
    return LongRun() ? longValue : shortValue;
}

}  // namespace testsupport
