// The floor for the start-up benchmark: the least a Win32 program does before
// it can talk to its host: create a window, post one message, run a loop.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "framework/StartupTrace.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR cmdLine, int) {
    StartupStep("WinMain");
    unsigned long long host = 0;
    if (const char* key = std::strstr(cmdLine, "hwnd=")) std::sscanf(key + 5, "%llx", &host);
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = "MinimalStartup";
    RegisterClassA(&wc);
    HWND wnd = CreateWindowExA(0, "MinimalStartup", "minimal", WS_POPUP | WS_VISIBLE, 0, 0, 100,
                               100, nullptr, nullptr, instance, nullptr);
    StartupStep("window");
    PostMessageA(reinterpret_cast<HWND>(static_cast<UINT_PTR>(host)), WM_APP + 0x100,
                 reinterpret_cast<WPARAM>(wnd), 0);
    StartupStep("message posted");
    StartupTraceWrite();
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
