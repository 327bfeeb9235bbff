#include "dialogs/GeneralValues.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace general {

int32_t RecycleChoiceDays(int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= kRecycleChoices.size()) return 0;
    return kRecycleChoices[static_cast<std::size_t>(index)];
}

int32_t RecycleChoiceIndex(int32_t days) {
    const auto found = std::find(kRecycleChoices.begin(), kRecycleChoices.end(), days);
    return found == kRecycleChoices.end() ? -1
                                          : static_cast<int32_t>(found - kRecycleChoices.begin());
}

bool IsRecyclePeriod(int32_t days) {
    return days >= kMinRecycleDays && days <= kMaxRecycleDays;
}

std::optional<int32_t> ParseRecycleDays(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return std::nullopt;
    const std::size_t last = text.find_last_not_of(" \t");
    const std::string digits(text.substr(first, last - first + 1));
    if (digits.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    // More digits than any period has are refused before they can overflow.
    if (digits.size() > 9) return std::nullopt;
    const auto days = static_cast<int32_t>(std::strtol(digits.c_str(), nullptr, 10));
    if (!IsRecyclePeriod(days)) return std::nullopt;
    return days;
}

std::vector<std::string> OfferedAddresses(const std::vector<std::string>& lookedUp) {
    std::vector<std::string> offered;
    for (const std::string& address : lookedUp) {
        if (address.empty() || address.rfind("127.", 0) == 0) continue;
        if (std::find(offered.begin(), offered.end(), address) == offered.end())
            offered.push_back(address);
    }
    return offered;
}

int AddressToSelect(int32_t storedIndex, std::size_t count) {
    if (count == 0) return -1;
    if (storedIndex < 0 || static_cast<std::size_t>(storedIndex) >= count) return 0;
    return storedIndex;
}

}  // namespace general
