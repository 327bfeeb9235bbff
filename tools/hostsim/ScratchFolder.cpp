#include "tools/hostsim/ScratchFolder.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <functional>

#include "framework/Handles.h"

namespace hostsim {

namespace {

// Calls visit(relative name, is a folder) for everything below `folder`, a
// folder before what it holds.
void Walk(const std::string& folder, const std::string& prefix,
          const std::function<void(const std::string&, bool)>& visit) {
    WIN32_FIND_DATAA data{};
    HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        visit(prefix + name, isFolder);
        if (isFolder) Walk(folder + "\\" + name, prefix + name + "\\", visit);
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
}

}  // namespace

ScratchFolder::ScratchFolder(const char* prefix) {
    static std::atomic<unsigned> counter{0};
    char temp[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathA(MAX_PATH, temp);
    std::string base = length == 0 || length > MAX_PATH ? "C:\\" : temp;
    if (base.back() != '\\') base += '\\';
    for (int attempt = 0; attempt < 100; ++attempt) {
        LARGE_INTEGER now{};
        ::QueryPerformanceCounter(&now);
        const std::string folder = base + prefix + std::to_string(::GetCurrentProcessId()) + "-" +
                                   std::to_string(++counter) + "-" +
                                   std::to_string(static_cast<unsigned long long>(now.QuadPart));
        if (::CreateDirectoryA(folder.c_str(), nullptr)) {
            m_path = folder;
            return;
        }
        if (::GetLastError() != ERROR_ALREADY_EXISTS) return;
    }
}

ScratchFolder::~ScratchFolder() {
    if (!m_keep && !m_path.empty()) RemoveTree(m_path);
}

std::string ScratchFolder::Write(const std::string& relative, const std::string& bytes) const {
    const std::string full = File(relative);
    for (size_t at = full.find('\\', m_path.size() + 1); at != std::string::npos;
         at = full.find('\\', at + 1))
        ::CreateDirectoryA(full.substr(0, at).c_str(), nullptr);
    WriteWholeFile(full, bytes.data(), bytes.size());
    return full;
}

std::vector<std::string> ScratchFolder::List(const std::string& folder) {
    std::vector<std::string> names;
    Walk(folder, "", [&](const std::string& relative, bool) { names.push_back(relative); });
    std::sort(names.begin(), names.end());
    return names;
}

void ScratchFolder::RemoveTree(const std::string& folder) {
    std::vector<std::pair<std::string, bool>> entries;
    Walk(folder, "", [&](const std::string& relative, bool isFolder) {
        entries.emplace_back(folder + "\\" + relative, isFolder);
    });
    // Deepest first: what a folder holds comes after it.
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        ::SetFileAttributesA(it->first.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (it->second)
            ::RemoveDirectoryA(it->first.c_str());
        else
            ::DeleteFileA(it->first.c_str());
    }
    ::RemoveDirectoryA(folder.c_str());
}

bool WriteWholeFile(const std::string& path, const void* data, std::size_t size) {
    if (size > MAXDWORD) return false;
    FileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return ::WriteFile(file.get(), data, static_cast<DWORD>(size), &written, nullptr) &&
           written == size;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    return bytes;
}

}  // namespace hostsim
