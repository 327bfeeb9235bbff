#include "app/WindowRect.h"

#include <cctype>
#include <cstdio>

namespace {

// A leading decimal integer as atoi reads it (0 when none), kept within int32.
int32_t LeadingInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > int64_t{INT32_MAX} + 1) value = int64_t{INT32_MAX} + 1;
    }
    value = negative ? -value : value;
    if (value > INT32_MAX) value = INT32_MAX;
    return static_cast<int32_t>(value);
}

}  // namespace

ScreenRect WindowRectFromProfile(std::string_view stored, const ScreenRect& desktop) {
    if (stored.empty()) return kDefaultFrameRect;
    int32_t parts[4] = {0, 0, 0, 0};
    size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        size_t comma = (i < 3) ? stored.find(',', start) : std::string_view::npos;
        const std::string_view part =
            (start <= stored.size())
                ? stored.substr(start, comma == std::string_view::npos ? std::string_view::npos
                                                                       : comma - start)
                : std::string_view{};
        parts[i] = LeadingInteger(part);
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    const ScreenRect rect{parts[0], parts[1], parts[2], parts[3]};
    const bool accepted = rect.left >= 0 && rect.top >= 0 && rect.right >= 0 && rect.bottom >= 0 &&
                          rect.left < desktop.right && rect.right < desktop.right &&
                          rect.top < desktop.bottom && rect.bottom < desktop.bottom &&
                          int64_t{rect.right} - rect.left == kFrameWidth &&
                          int64_t{rect.bottom} - rect.top == kFrameHeight;
    return accepted ? rect : kDefaultFrameRect;
}

std::string FormatWindowRect(const ScreenRect& rect) {
    char text[64];
    std::snprintf(text, sizeof text, "%d,%d,%d,%d", static_cast<int>(rect.left),
                  static_cast<int>(rect.top), static_cast<int>(rect.right),
                  static_cast<int>(rect.bottom));
    return text;
}
