// Crashes on purpose with the program's crash-dump writer armed, as the
// program would: armed at static initialisation, its folder set at start-up.
// Usage: win_app_probe <dump folder> [access | throw]
//   access (the default): an access violation nobody handles;
//   throw: a C++ exception (an allocation failure) thrown from a window
//   procedure that nobody catches.
// An empty dump folder is handed over as start-up would hand an empty
// program folder.
#include <windows.h>

#include <cstring>
#include <new>
#include <string>

#include "app/CrashDump.h"

namespace {
struct Arming {
    Arming() { crashdump::Arm(); }
} g_arming;

LRESULT CALLBACK ThrowingProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_USER) throw std::bad_alloc();
    return ::DefWindowProcA(wnd, msg, wp, lp);
}

void ThrowFromAWindowProcedure() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &ThrowingProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "CrashProbeWindow";
    ::RegisterClassA(&wc);
    HWND wnd = ::CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 wc.hInstance, nullptr);
    ::SendMessageA(wnd, WM_USER, 0, 0);
}
}  // namespace

int main(int argc, char** argv) {
    static std::string folder;
    if (argc > 1) {
        // Start-up hands over folders ending in a backslash, or nothing at all.
        folder = argv[1][0] ? std::string(argv[1]) + "\\" : "";
        crashdump::SetFolder(folder.c_str());
    }
    if (argc > 2 && std::strcmp(argv[2], "throw") == 0) ThrowFromAWindowProcedure();
    volatile int* nowhere = nullptr;
    *nowhere = 42;  // an access violation nobody handles
    return 0;
}
