#include "tools/hostsim/HostSimOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace hostsim {

namespace {

bool ReadInt(const std::string& text, int low, int high, int& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < low || v > high) return false;
    value = static_cast<int>(v);
    return true;
}

bool ReadNumber(const std::string& text, double low, double high, double& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(v) || v < low || v > high) return false;
    value = v;
    return true;
}

}  // namespace

ParsedOptions ParseHostSimOptions(const std::vector<std::string>& args) {
    HostSimOptions options;
    ParsedOptions result;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (name == "--headless") {
            options.headless = true;
            continue;
        }
        if (name == "--help" || name == "-h" || name == "/?") {
            options.help = true;
            continue;
        }
        const bool takesValue = name == "--app" || name == "--camera" || name == "--lang" ||
                                name == "--settings" || name == "--fps" || name == "--out" ||
                                name == "--seconds" || name == "--attach-timeout";
        if (!takesValue) {
            result.error = "unknown option: " + name;
            return result;
        }
        if (i + 1 >= args.size()) {
            result.error = name + " needs a value";
            return result;
        }
        const std::string& value = args[++i];
        bool ok = true;
        if (name == "--app") {
            ok = !value.empty();
            options.app = value;
        } else if (name == "--camera") {
            ok = ReadInt(value, 0, 99, options.camera);
        } else if (name == "--lang") {
            ok = !value.empty() && value.size() < 260 &&
                 value.find_first_of(" \t\"") == std::string::npos;
            options.language = value;
        } else if (name == "--settings") {
            ok = !value.empty() && value.find('"') == std::string::npos;
            options.settings = value;
            while (options.settings.size() > 3 &&
                   (options.settings.back() == '\\' || options.settings.back() == '/'))
                options.settings.pop_back();
        } else if (name == "--fps") {
            ok = ReadNumber(value, 1, 60, options.fps);
        } else if (name == "--out") {
            ok = !value.empty();
            options.out = value;
        } else if (name == "--seconds") {
            ok = ReadNumber(value, 0.5, 600, options.seconds);
        } else {
            ok = ReadNumber(value, 1, 600, options.attachTimeout);
        }
        if (!ok) {
            result.error = "bad value for " + name + ": \"" + value + "\"";
            return result;
        }
    }
    result.options = options;
    return result;
}

std::string HostSimUsage() {
    return "TallyscopeHostSim: stand-in host for the Tallyscope settings program.\n"
           "  --app PATH          the program (default: TallyscopeSettingApp.exe beside this\n"
           "                      one, else in the folder above)\n"
           "  --camera N          camera number 0..99 (default 1)\n"
           "  --lang NAME         language file name (default English.ini)\n"
           "  --settings DIR      settings folder (default: a new folder under %TEMP% with a\n"
           "                      sample calibration file)\n"
           "  --fps N             live pictures a second, 1..60 (default 15)\n"
           "  --headless          scripted tour: stream, send a counting line and a marker,\n"
           "                      save screenshots, close the program; exit 0 when all went well\n"
           "  --out DIR           folder for the tour's screenshots (default .)\n"
           "  --seconds N         how long the tour streams before its screenshots (default 3)\n"
           "  --attach-timeout N  seconds to wait for the program to attach (default 30)\n"
           "Console commands (without --headless): help, status, line X1 Y1 X2 Y2,\n"
           "  marker L T R B, counter L T R B, calibration, shot FILE.png, close, kill.\n";
}

}  // namespace hostsim
