#pragma once
// The host's command line: setting="<folder>" camera=<n> hwnd=<hex> lang=<file>,
// keys in any order. Platform-free so that it can be tested and fuzzed natively.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct CommandLineValues {
    uint32_t hostWnd = 0;                      // the host's main window (32-bit handle value)
    int32_t cameraId = 0;                      // camera number
    std::optional<std::string> settingFolder;  // no value until "setting=" was read
    std::string languageIni;                   // at most kMaxLanguageIni characters
};

// The language file name lives in a 260-character buffer: longer names are cut.
constexpr size_t kMaxLanguageIni = 259;

// Parses line into values (members of absent keys keep their values). Returns
// false when the command line is refused: "hwnd=" that reads as 0 or not at all.
bool ParseCommandLine(std::string_view line, CommandLineValues& values);
