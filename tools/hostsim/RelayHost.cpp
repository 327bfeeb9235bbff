#include "tools/hostsim/RelayHost.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "tools/hostsim/HostCommandLine.h"
#include "tools/hostsim/HostFixture.h"
#include "hostlink/HostPacking.h"

namespace hostsim {

RelayHost::RelayHost(const std::string& exePath, HostFixture& reportTo, bool blocks,
                     DWORD timeoutMs) {
    char report[32];
    std::snprintf(
        report, sizeof report, "%llx",
        static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(reportTo.HostHwnd())));
    const std::string commandLine =
        FullCommandLine(exePath, std::string(report) + (blocks ? " --blocks" : ""));
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const std::size_t from = reportTo.MessageCount();
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info))
        return;
    ::CloseHandle(info.hThread);
    m_process.reset(info.hProcess);
    if (auto ready = reportTo.WaitForMessage(kRelayHostReady, timeoutMs, from))
        m_window = reinterpret_cast<HWND>(hostlink::HandleValue(ready->wParam));
}

RelayHost::~RelayHost() {
    Kill();
}

bool RelayHost::Running() const {
    return m_process && ::WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT;
}

void RelayHost::Kill() {
    if (!Running()) return;
    ::TerminateProcess(m_process.get(), 0xDEAD);
    ::WaitForSingleObject(m_process.get(), 10000);
}

bool RelayHost::CloseWindow(DWORD timeoutMs) {
    if (!Running()) return false;
    ::PostMessageA(m_window, WM_CLOSE, 0, 0);
    return ::WaitForSingleObject(m_process.get(), timeoutMs) == WAIT_OBJECT_0;
}

}  // namespace hostsim
