#include "dialogs/CounterValues.h"

#include <algorithm>
#include <limits>

namespace counter {

int32_t PackTimeOfDay(const TimeOfDay& time) {
    return time.hour * 10000 + time.minute * 100 + time.second;
}

TimeOfDay UnpackTimeOfDay(int32_t packed) {
    const int32_t v = std::max<int32_t>(packed, 0);
    return {std::min<int>(v / 10000, 23), std::min<int>(v / 100 % 100, 59),
            std::min<int>(v % 100, 59)};
}

bool StartBeforeStop(int32_t start, int32_t stop) {
    return static_cast<uint32_t>(start) < static_cast<uint32_t>(stop);
}

IntervalFields SplitInterval(int32_t value) {
    return {value / 60, value % 60};
}

int32_t JoinInterval(int32_t first, int32_t second) {
    const int64_t joined = int64_t{first} * 60 + second;
    return static_cast<int32_t>(std::clamp<int64_t>(joined, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

}  // namespace counter
