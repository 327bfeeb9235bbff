#pragma once
// Command line of the stand-in host's demo program:
//   TallyscopeHostSim [--app PATH] [--camera N] [--lang NAME] [--settings DIR]
//                     [--fps N] [--headless] [--out DIR] [--seconds N]
//                     [--attach-timeout SECONDS] [--help]
#include <optional>
#include <string>
#include <vector>

namespace hostsim {

struct HostSimOptions {
    std::string app;  // empty: TallyscopeSettingApp.exe beside us, or one folder up
    int camera = 1;   // 0 .. 99
    std::string language = "English.ini";
    std::string settings;       // empty: a new folder under %TEMP%
    double fps = 15;            // live pictures a second, 1 .. 60
    bool headless = false;      // the scripted tour instead of the console
    std::string out = ".";      // where the tour puts its screenshots
    double seconds = 3;         // how long the tour streams before its screenshots, 0.5 .. 600
    double attachTimeout = 30;  // seconds to wait for WM_HOST_ATTACH, 1 .. 600
    bool help = false;
};

struct ParsedOptions {
    std::optional<HostSimOptions> options;
    std::string error;  // what was wrong, when options is empty
};

// `args` without the program name. Unknown options, missing or malformed
// values and values out of range are refused with a message.
ParsedOptions ParseHostSimOptions(const std::vector<std::string>& args);

std::string HostSimUsage();

}  // namespace hostsim
