#include "tools/hostsim/HostCommandLine.h"

#include <cstdio>

namespace hostsim {

std::string ProgramArguments(const std::string& settingFolder, int camera, std::uint32_t hostWindow,
                             const std::string& languageFile) {
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, " camera=%d hwnd=%x lang=", camera,
                  static_cast<unsigned>(hostWindow));
    return "setting=\"" + settingFolder + "\"" + numbers + languageFile;
}

std::string FullCommandLine(const std::string& programPath, const std::string& arguments) {
    std::string line = "\"" + programPath + "\"";
    if (!arguments.empty()) line += " " + arguments;
    return line;
}

}  // namespace hostsim
