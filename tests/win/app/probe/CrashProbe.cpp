// Crashes on purpose with the program's crash-dump writer armed, as the
// program would: armed at static initialisation, its folder set at start-up.
// Usage: win_app_probe <dump folder>
#include <windows.h>

#include <string>

#include "app/CrashDump.h"

namespace {
struct Arming {
    Arming() { crashdump::Arm(); }
} g_arming;
}  // namespace

int main(int argc, char** argv) {
    static std::string folder;
    if (argc > 1) {
        folder = std::string(argv[1]) + "\\";  // start-up hands over folders ending in a backslash
        crashdump::SetFolder(folder.c_str());
    }
    volatile int* nowhere = nullptr;
    *nowhere = 42;  // an access violation nobody handles
    return 0;
}
