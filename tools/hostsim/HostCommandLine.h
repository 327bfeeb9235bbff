#pragma once
// The command line with which the host starts the settings program for one
// camera: setting="<folder>" camera=N hwnd=<hex> lang=<name>.
#include <cstdint>
#include <string>

namespace hostsim {

// The arguments after the program name, exactly as the host passes them.
std::string ProgramArguments(const std::string& settingFolder, int camera, std::uint32_t hostWindow,
                             const std::string& languageFile);

// A full CreateProcess command line: the program path in double quotes, one
// blank, then the arguments as given.
std::string FullCommandLine(const std::string& programPath, const std::string& arguments);

}  // namespace hostsim
