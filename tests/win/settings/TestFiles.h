#pragma once
// Files for the settings tests: a fresh folder per test under the temporary
// folder (removed afterwards), raw reads and writes, and the rows of an INI
// file's text as the host would see them on disk.
#include <windows.h>

#include "support/UniqueFolder.h"

#include <algorithm>
#include <atomic>
#include <string>
#include <tuple>
#include <vector>

class TempFolder {
  public:
    TempFolder() {
        m_parent = CreateUniqueTempFolder("tallyscope-settings");
        m_path = m_parent + "\\S";
        ::CreateDirectoryA(m_path.c_str(), nullptr);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() { RemoveTree(m_parent); }

    // The settings folder; its parent holds nothing else.
    const std::string& path() const { return m_path; }
    const std::string& parent() const { return m_parent; }
    std::string File(const std::string& name) const { return m_path + "\\" + name; }

    // Names of everything below folder, relative to it, sorted.
    static std::vector<std::string> List(const std::string& folder) {
        std::vector<std::string> names;
        ListInto(folder, "", names);
        std::sort(names.begin(), names.end());
        return names;
    }

  private:
    static void ListInto(const std::string& folder, const std::string& prefix,
                         std::vector<std::string>& names) {
        WIN32_FIND_DATAA data{};
        HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return;
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            names.push_back(prefix + name);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                ListInto(folder + "\\" + name, prefix + name + "\\", names);
            }
        } while (::FindNextFileA(find, &data));
        ::FindClose(find);
    }
    static void RemoveTree(const std::string& folder) {
        WIN32_FIND_DATAA data{};
        HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = data.cFileName;
                if (name == "." || name == "..") continue;
                const std::string full = folder + "\\" + name;
                ::SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(full);
                else
                    ::DeleteFileA(full.c_str());
            } while (::FindNextFileA(find, &data));
            ::FindClose(find);
        }
        ::RemoveDirectoryA(folder.c_str());
    }

    std::string m_parent;
    std::string m_path;
};

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

// (section, key, value) of every key line of an INI text, in file order.
using IniRow = std::tuple<std::string, std::string, std::string>;
inline std::vector<IniRow> IniRows(const std::string& text) {
    std::vector<IniRow> rows;
    std::string section;
    std::size_t begin = 0;
    while (begin < text.size()) {
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
        if (equals == std::string::npos)
            rows.emplace_back(section, line, "");
        else
            rows.emplace_back(section, line.substr(0, equals), line.substr(equals + 1));
    }
    return rows;
}
