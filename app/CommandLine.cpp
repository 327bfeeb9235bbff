#include "app/CommandLine.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace {

constexpr std::string_view kSetting = "setting=";
constexpr std::string_view kCamera = "camera=";
constexpr std::string_view kHwnd = "hwnd=";
constexpr std::string_view kLang = "lang=";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view SkipBlanks(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    return text.substr(i);
}

// The folder between the first and the last double quote; without a quoted
// value, the text up to the next blank (the host always quotes it).
std::string ReadSetting(std::string_view value) {
    const size_t first = value.find('"');
    const size_t last = value.rfind('"');
    if (first != std::string_view::npos && first < last) {
        return std::string(value.substr(first + 1, last - first - 1));
    }
    value = SkipBlanks(value);
    size_t end = 0;
    while (end < value.size() && !IsBlank(value[end]) && value[end] != '"') ++end;
    return std::string(value.substr(0, end));
}

// "%d": optional blanks, optional sign, decimal digits. Nothing read, or a
// number outside int32, leaves the camera number as it was.
void ReadCamera(std::string_view value, int32_t& camera) {
    value = SkipBlanks(value);
    size_t i = 0;
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) negative = value[i++] == '-';
    int64_t number = 0;
    size_t digits = 0;
    for (; i < value.size() && std::isdigit(static_cast<unsigned char>(value[i])); ++i, ++digits) {
        number = number * 10 + (value[i] - '0');
        if (number > int64_t{INT32_MAX} + 1) return;
    }
    if (digits == 0) return;
    if (negative) number = -number;
    if (number < INT32_MIN || number > INT32_MAX) return;
    camera = static_cast<int32_t>(number);
}

// "%x": optional blanks, optional 0x, hexadecimal digits. A value that does
// not fit the 32-bit handle counts as unreadable.
uint32_t ReadHwnd(std::string_view value) {
    value = SkipBlanks(value);
    if (value.size() >= 3 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X') &&
        std::isxdigit(static_cast<unsigned char>(value[2]))) {
        value.remove_prefix(2);
    }
    uint64_t number = 0;
    for (char c : value) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) break;
        const int digit =
            std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : (std::tolower(c) - 'a' + 10);
        number = number * 16 + static_cast<uint64_t>(digit);
        if (number > UINT32_MAX) return 0;
    }
    return static_cast<uint32_t>(number);
}

// "%s": the value ends at the first blank; cut to the buffer's size.
void ReadLang(std::string_view value, std::string& lang) {
    value = SkipBlanks(value);
    size_t end = 0;
    while (end < value.size() && !IsBlank(value[end])) ++end;
    if (end == 0) return;
    lang.assign(value.substr(0, std::min(end, kMaxLanguageIni)));
}

}  // namespace

bool ParseCommandLine(std::string_view line, CommandLineValues& values) {
    struct Key {
        std::string_view text;
        size_t position;
    };
    std::array<Key, 4> keys{{{kSetting, line.find(kSetting)},
                             {kCamera, line.find(kCamera)},
                             {kHwnd, line.find(kHwnd)},
                             {kLang, line.find(kLang)}}};
    std::sort(keys.begin(), keys.end(),
              [](const Key& a, const Key& b) { return a.position < b.position; });

    // Each present key's value runs up to the next present key or the end of the line.
    for (size_t i = 0; i < keys.size(); ++i) {
        if (keys[i].position == std::string_view::npos) break;
        const size_t end = (i + 1 < keys.size() && keys[i + 1].position != std::string_view::npos)
                               ? keys[i + 1].position
                               : line.size();
        const size_t start = keys[i].position + keys[i].text.size();
        const std::string_view value = line.substr(start, end - start);
        if (keys[i].text == kSetting) {
            values.settingFolder = ReadSetting(value);
        } else if (keys[i].text == kCamera) {
            ReadCamera(value, values.cameraId);
        } else if (keys[i].text == kHwnd) {
            values.hostWnd = ReadHwnd(value);
            if (values.hostWnd == 0) return false;
        } else {
            ReadLang(value, values.languageIni);
        }
    }
    return true;
}
