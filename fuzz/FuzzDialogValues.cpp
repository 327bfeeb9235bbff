// What the user types into the dialogs and what the host answers for them:
// the typed-value rules and the answer readers must hold their promises for
// any text and any bits (never "nan" or "inf" on screen, no height of 0 or
// below, recycle periods only within their range).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/CalibrationValues.h"
#include "dialogs/CameraAngleValues.h"
#include "dialogs/CounterValues.h"
#include "dialogs/GeneralValues.h"
#include "fuzz/FuzzInput.h"

using fuzz::Check;
using fuzz::Take;

namespace {

bool ShowsNoNonsense(const std::string& text) {
    return text.find("nan") == std::string::npos && text.find("inf") == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const float a = Take<float>(data, size);
    const float b = Take<float>(data, size);
    const int32_t n = Take<int32_t>(data, size);
    const int32_t unit = Take<int32_t>(data, size);
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    // Camera Angle: the typed height is a positive, finite number or refused.
    if (const auto height = angle::ReadHeight(text, "250", a, unit)) {
        Check(std::isfinite(*height) && *height > 0.0f);
    }
    // Stored lengths are always numbers (the settings store reads NaN as 0);
    // a host answer is shown only when its angles are usable.
    if (std::isfinite(a)) Check(ShowsNoNonsense(angle::FormatLength(a, unit)));
    if (angle::AnglesUsable({a, a, a})) Check(ShowsNoNonsense(angle::FormatTilt(a)));

    // Calibration Test: an answer is a match with a sane shift, or no match.
    const calibration::RegionAnswer answer = calibration::ReadRegionAnswer(a, b, unit);
    if (answer.matched) {
        Check(answer.shift >= 0 && answer.shift <= 320 && std::isfinite(answer.distance));
        Check(ShowsNoNonsense(calibration::DistanceLine("ROI Distance", answer.distance, "cm")));
    }
    const int index = calibration::UnitIndex(unit);
    Check(index == 0 || index == 1);

    // General Settings: a typed period is a period.
    if (const auto days = general::ParseRecycleDays(text)) Check(general::IsRecyclePeriod(*days));
    const size_t addresses = size % 8;
    const int selected = general::AddressToSelect(n, addresses);
    Check(addresses == 0 ? selected == -1
                         : selected >= 0 && static_cast<size_t>(selected) < addresses);

    Check(general::RecycleChoiceDays(n) == 0 ||
          general::RecycleChoiceIndex(general::RecycleChoiceDays(n)) == n);
    if (general::RecycleChoiceIndex(n) >= 0) Check(general::IsRecyclePeriod(n));
    // Looked-up addresses: never a loopback one, never one twice.
    std::vector<std::string> lookedUp;
    for (size_t at = 0; at < text.size(); at = text.find(' ', at) + 1) {
        lookedUp.emplace_back(text.substr(at, text.find(' ', at) - at));
        if (text.find(' ', at) == std::string_view::npos) break;
    }
    const std::vector<std::string> offered = general::OfferedAddresses(lookedUp);
    for (size_t i = 0; i < offered.size(); ++i) {
        Check(offered[i].rfind("127.", 0) != 0);
        for (size_t j = 0; j < i; ++j) Check(offered[i] != offered[j]);
    }

    // Counter Settings: any stored time shows as a time of day, and a shown
    // time stored again shows the same.
    const counter::TimeOfDay time = counter::UnpackTimeOfDay(n);
    Check(time.hour >= 0 && time.hour <= 23 && time.minute >= 0 && time.minute <= 59 &&
          time.second >= 0 && time.second <= 59);
    Check(counter::UnpackTimeOfDay(counter::PackTimeOfDay(time)) == time);
    Check(!(counter::StartBeforeStop(n, unit) && counter::StartBeforeStop(unit, n)));
    // An interval shown in the fields it accepts is stored as it was shown.
    const counter::IntervalFields fields = counter::SplitInterval(n);
    if (fields.first >= 0 && fields.first <= counter::kIntervalFirstMax && fields.second >= 0 &&
        fields.second <= counter::kIntervalSecondMax) {
        Check(counter::JoinInterval(fields.first, fields.second) == n);
    }
    (void)counter::JoinInterval(n, unit);  // any fields: no overflow (UBSan watches)

    // Camera Angle: a result equal to what is stored is no change, unless it
    // is no number at all (NaN or infinite: never a mounting).
    const angle::CameraAngles angles{a, b, a};
    Check(angle::AnglesChanged(angles, angles) == !(std::isfinite(a) && std::isfinite(b)));
    Check(calibration::CoordinateText(n, unit).size() <= 26);
    return 0;
}
