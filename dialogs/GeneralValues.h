#pragma once
// The General Settings values that need no window: the auto-recycle period
// with its three fixed choices, and the local addresses offered for remote
// access. Platform-free.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace general {

// The entries of the recycle list, in list order.
constexpr std::array<int32_t, 3> kRecycleChoices{30, 45, 60};
// A typed period must be a whole number of days in this range.
constexpr int32_t kMinRecycleDays = 1;
constexpr int32_t kMaxRecycleDays = 3650;

// Days the entry at `index` shows; 0 when there is no such entry.
int32_t RecycleChoiceDays(int32_t index);
// Index of the entry that shows `days`; -1 when none does.
int32_t RecycleChoiceIndex(int32_t days);
bool IsRecyclePeriod(int32_t days);
// The days typed into the recycle list: a whole number within the range,
// blanks around it allowed; nothing for anything else.
std::optional<int32_t> ParseRecycleDays(std::string_view text);

// The addresses the list offers, from what the host-name lookup gave (dotted
// IPv4 text, in its order): loopback addresses (127.x.x.x) cannot be reached
// from another computer and are left out, and each address appears once.
std::vector<std::string> OfferedAddresses(const std::vector<std::string>& lookedUp);

// The entry selected for a stored address index: that entry when it exists,
// else the first. -1 for an empty list.
int AddressToSelect(int32_t storedIndex, std::size_t count);

}  // namespace general
