#pragma once
// A new, empty folder under the temporary folder for one test. Windows process
// ids are reused quickly (and tests run side by side), so a name made of the
// process id alone can meet a folder an earlier test left behind: the name
// also carries a counter and a clock reading, and a folder that already
// exists is never taken.
#include <windows.h>

#include <atomic>
#include <string>

inline std::string CreateUniqueTempFolder(const char* prefix) {
    static std::atomic<unsigned> counter{0};
    char base[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, base);
    for (;;) {
        LARGE_INTEGER now{};
        ::QueryPerformanceCounter(&now);
        const std::string folder = std::string(base) + prefix + "-" +
                                   std::to_string(::GetCurrentProcessId()) + "-" +
                                   std::to_string(++counter) + "-" +
                                   std::to_string(static_cast<unsigned long long>(now.QuadPart));
        if (::CreateDirectoryA(folder.c_str(), nullptr)) return folder;
        if (::GetLastError() != ERROR_ALREADY_EXISTS)
            return folder;  // let the test fail on its own terms
    }
}
