#pragma once
// Files for the Windows tests: a fresh folder per test under the temporary
// folder (removed with its files afterwards), raw reads and writes, and the
// rows of an INI file's text as the host would see them on disk.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <tuple>
#include <vector>

inline std::string ReadRaw(const std::string& path) {
    std::string bytes;
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char chunk[4096];
    DWORD read = 0;
    while (::ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0)
        bytes.append(chunk, read);
    ::CloseHandle(file);
    return bytes;
}

inline bool WriteRaw(const std::string& path, const std::string& bytes) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok =
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == bytes.size();
}

inline bool Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A new, empty folder of its own. Windows process ids are reused quickly (and
// tests run side by side), so the name also carries a counter and a clock
// reading, and a folder that already exists is never taken.
class TempFolder {
  public:
    TempFolder() {
        static std::atomic<unsigned> counter{0};
        char base[MAX_PATH] = "";
        ::GetTempPathA(MAX_PATH, base);
        for (;;) {
            LARGE_INTEGER now{};
            ::QueryPerformanceCounter(&now);
            m_path = std::string(base) + "tallyscope-test-" +
                     std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++counter) +
                     "-" + std::to_string(static_cast<unsigned long long>(now.QuadPart));
            if (::CreateDirectoryA(m_path.c_str(), nullptr)) return;
            if (::GetLastError() != ERROR_ALREADY_EXISTS) return;  // the test fails on its own
        }
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() { RemoveTree(m_path); }

    const std::string& path() const { return m_path; }  // without a trailing backslash
    std::string File(const std::string& relative) const { return m_path + "\\" + relative; }

    // Writes a file below the folder, creating its folders; returns its path.
    std::string Write(const std::string& relative, const std::string& bytes) const {
        const std::string full = File(relative);
        for (size_t at = full.find('\\', m_path.size() + 1); at != std::string::npos;
             at = full.find('\\', at + 1))
            ::CreateDirectoryA(full.substr(0, at).c_str(), nullptr);
        WriteRaw(full, bytes);
        return full;
    }

    // Names of everything below folder, relative to it, sorted.
    static std::vector<std::string> List(const std::string& folder) {
        std::vector<std::string> names;
        Walk(folder, [&](const std::string& relative, bool) { names.push_back(relative); });
        std::sort(names.begin(), names.end());
        return names;
    }

  private:
    template <typename Visit>
    static void Walk(const std::string& folder, const Visit& visit,
                     const std::string& prefix = "") {
        WIN32_FIND_DATAA data{};
        HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return;
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            visit(prefix + name, isFolder);
            if (isFolder) Walk(folder + "\\" + name, visit, prefix + name + "\\");
        } while (::FindNextFileA(find, &data));
        ::FindClose(find);
    }
    static void RemoveTree(const std::string& folder) {
        std::vector<std::pair<std::string, bool>> entries;
        Walk(folder, [&](const std::string& relative, bool isFolder) {
            entries.emplace_back(folder + "\\" + relative, isFolder);
        });
        // Deepest first: files and folders below a folder come after it.
        for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
            ::SetFileAttributesA(it->first.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (it->second)
                ::RemoveDirectoryA(it->first.c_str());
            else
                ::DeleteFileA(it->first.c_str());
        }
        ::RemoveDirectoryA(folder.c_str());
    }

    std::string m_path;
};

// (section, key, value) of every key line of an INI text, in file order.
using IniRow = std::tuple<std::string, std::string, std::string>;
inline std::vector<IniRow> IniRows(const std::string& text) {
    std::vector<IniRow> rows;
    std::string section;
    for (std::size_t begin = 0; begin < text.size();) {
        std::size_t end = text.find('\n', begin);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(begin, end - begin);
        begin = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const std::size_t equals = line.find('=');
        rows.emplace_back(section, line.substr(0, equals),
                          equals == std::string::npos ? "" : line.substr(equals + 1));
    }
    return rows;
}
