// A host window in a process of its own, for tests in which the host dies:
//   TallyscopeRelayHost <report window, hex> [--blocks]
// It creates a host window (and, with --blocks, the five shared blocks, which
// then go with the relay), announces it to the report window with
// kRelayHostReady (wParam: the relay's window) and passes every message of
// the WM_APP range that reaches it on to the report window, unchanged. A test
// starts the settings program with the relay's window as its host, reads the
// program's messages through the relay, and ends the host by force
// (TerminateProcess) or by closing its window. The relay ends by itself when
// the report window goes.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "tools/hostsim/RelayHost.h"
#include "tools/hostsim/SharedBlocks.h"
#include "hostlink/HostPacking.h"

namespace {

HWND g_report = nullptr;
constexpr UINT_PTR kWatchTimer = 1;

LRESULT CALLBACK RelayProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg >= WM_APP && msg <= 0xBFFF) {
        ::PostMessageA(g_report, msg, wParam, lParam);
        return 0;
    }
    switch (msg) {
        case WM_TIMER:
            if (!::IsWindow(g_report)) ::DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    g_report = reinterpret_cast<HWND>(hostlink::HandleValue(std::strtoull(argv[1], nullptr, 16)));
    if (!::IsWindow(g_report)) return 2;
    std::optional<hostsim::SharedBlocks> blocks;
    if (argc > 2 && std::strcmp(argv[2], "--blocks") == 0) {
        blocks.emplace();
        if (!blocks->ok()) return 4;
    }
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &RelayProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "TallyscopeRelayHostWindow";
    if (!::RegisterClassExA(&wc)) return 3;
    HWND hwnd = ::CreateWindowExA(0, wc.lpszClassName, "Tallyscope Relay Host", WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 200, 100, nullptr, nullptr,
                                  wc.hInstance, nullptr);
    if (!hwnd) return 3;
    ::SetTimer(hwnd, kWatchTimer, 500, nullptr);
    ::PostMessageA(g_report, hostsim::kRelayHostReady, reinterpret_cast<WPARAM>(hwnd), 0);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) ::DispatchMessageA(&msg);
    return 0;
}
