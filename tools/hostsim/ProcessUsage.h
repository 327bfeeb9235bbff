#pragma once
// What a process holds, for the leak checks of the long runs and the
// many-copies benchmark. Under Wine 8, GetGuiResources and
// GetProcessHandleCount answer 0 for every process, and
// GetProcessMemoryInfo fills the working set but not the private bytes, so:
// - GDI and USER objects are counted inside this process, by asking every
//   16-bit handle value what it is (Wine takes a handle whose upper 16 bits
//   are zero as any generation of that slot);
// - kernel handles of any process come from the system handle table;
// - resident memory of any process is its working set;
// - what Wine does not tell of another process, Linux does: its /proc is
//   drive Z:'s \proc folder.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace hostsim {

// GDI objects (DCs, bitmaps, pens, brushes, fonts, regions, ...) of this process.
inline int GdiObjectsOfThisProcess() {
    int count = 0;
    for (std::uintptr_t value = 1; value <= 0xFFFF; ++value)
        count += ::GetObjectType(reinterpret_cast<HGDIOBJ>(value)) != 0;
    return count;
}

struct UserObjects {
    int windows = 0;  // of this process, hidden and message-only ones included
    int menus = 0;
    int total() const { return windows + menus; }
};

// Windows and menus of this process. USER handles are even values from 0x20.
inline UserObjects UserObjectsOfThisProcess() {
    UserObjects objects;
    const DWORD self = ::GetCurrentProcessId();
    for (std::uintptr_t value = 0x20; value <= 0xFFFF; value += 2) {
        auto* handle = reinterpret_cast<HWND>(value);
        DWORD owner = 0;
        if (::IsWindow(handle)) {
            ::GetWindowThreadProcessId(handle, &owner);
            objects.windows += owner == self;
        } else if (::IsMenu(reinterpret_cast<HMENU>(value))) {
            ++objects.menus;  // menus are the process's own
        }
    }
    return objects;
}

// Kernel handles a process holds, from the system handle table; -1 when it cannot be read.
inline long long KernelHandlesOf(DWORD processId) {
    using QuerySystemInformation = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<QuerySystemInformation>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return -1;
    struct Entry {  // SYSTEM_HANDLE_TABLE_ENTRY_INFO
        ULONG ownerPid;
        BYTE objectType;
        BYTE flags;
        USHORT value;
        void* object;
        ACCESS_MASK access;
    };
    constexpr ULONG kSystemHandleInformation = 16;
    std::vector<unsigned char> buffer(1 << 20);
    for (int attempt = 0; attempt < 6; ++attempt) {
        ULONG needed = 0;
        if (query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                  &needed) == 0) {
            const ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
            const std::size_t fits = (buffer.size() - sizeof(void*)) / sizeof(Entry);
            if (count > fits) return -1;
            const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(void*));
            long long held = 0;
            for (ULONG i = 0; i < count; ++i) held += entries[i].ownerPid == processId;
            return held;
        }
        buffer.resize(buffer.size() * 4);
    }
    return -1;
}

// Resident memory (working set) of a process in bytes; -1 when it cannot be read.
inline long long ResidentBytesOf(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!::GetProcessMemoryInfo(process, &counters, sizeof counters)) return -1;
    return static_cast<long long>(counters.WorkingSetSize);
}

// User plus kernel CPU time a process has used, in milliseconds; -1 when unknown.
inline double CpuMillisecondsOf(HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!::GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1;
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;  // 100 ns units
}

// The Linux processes, one "Z:\\proc\\<pid>\\" folder each.
inline std::vector<std::string> LinuxProcessFolders() {
    std::vector<std::string> folders;
    WIN32_FIND_DATAA entry{};
    const HANDLE search = ::FindFirstFileA("Z:\\proc\\*", &entry);
    if (search == INVALID_HANDLE_VALUE) return folders;
    do {
        if (std::isdigit(static_cast<unsigned char>(entry.cFileName[0])))
            folders.push_back(std::string("Z:\\proc\\") + entry.cFileName + "\\");
    } while (::FindNextFileA(search, &entry));
    ::FindClose(search);
    return folders;
}

// A file of such a folder read whole ("cmdline", "environ", "status", "stat").
inline std::string ReadLinuxFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), {});
}

// A NUL-separated list ("cmdline", "environ") as its parts.
inline std::vector<std::string> SplitAtNuls(const std::string& text) {
    std::vector<std::string> parts;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\0', at), text.size());
        parts.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return parts;
}

}  // namespace hostsim
