#pragma once
// The Counter Settings values that need no window: the counting-line record,
// times of day packed as hour x 10000 + minute x 100 + second, and the update
// interval shown in two fields. Platform-free.
#include <cstdint>

// The counting line as the dialog edits it and the settings file keeps it.
struct CountingLineRecord {
    int32_t imageX1 = -1;  // picture pixels; -1 = no line
    int32_t imageY1 = -1;
    int32_t imageX2 = -1;
    int32_t imageY2 = -1;
    int16_t worldX1 = -1;  // the host's floor coordinates; -1 = none
    int16_t worldY1 = -1;
    int16_t worldX2 = -1;
    int16_t worldY2 = -1;
    float angleIn = 0.0f;  // radians, the direction of the "In" side

    // A line exists when none of the four picture coordinates is -1.
    bool HasLine() const {
        return imageX1 != -1 && imageY1 != -1 && imageX2 != -1 && imageY2 != -1;
    }
    bool operator==(const CountingLineRecord&) const = default;
};

namespace counter {

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool operator==(const TimeOfDay&) const = default;
};

int32_t PackTimeOfDay(const TimeOfDay& time);
// A stored value that is no time of day (negative, 25:00:00, 12:61:00) is
// brought into 00:00:00 .. 23:59:59 field by field, so a picker can show it.
TimeOfDay UnpackTimeOfDay(int32_t packed);

// Operation times are taken over only when start comes before stop,
// compared as unsigned 32-bit numbers.
bool StartBeforeStop(int32_t start, int32_t stop);

// "Update Interval" v is shown as v / 60 and v % 60 and stored as
// first x 60 + second (computed without overflow; cut to int32).
struct IntervalFields {
    int32_t first = 0;
    int32_t second = 0;
};
IntervalFields SplitInterval(int32_t value);
int32_t JoinInterval(int32_t first, int32_t second);

// The ranges the two interval fields accept.
constexpr int32_t kIntervalFirstMax = 120;
constexpr int32_t kIntervalSecondMax = 59;

}  // namespace counter
