#pragma once
// Files for the Windows tests: a fresh folder per test (the stand-in host's
// scratch folder, removed with its files afterwards), raw reads and writes,
// and the rows of an INI file's text as the host would see them on disk.
#include <windows.h>

#include <string>
#include <tuple>
#include <vector>

#include "tools/hostsim/ScratchFolder.h"

using TempFolder = hostsim::ScratchFolder;

inline std::string ReadRaw(const std::string& path) {
    return hostsim::ReadWholeFile(path).value_or("");
}

inline bool WriteRaw(const std::string& path, const std::string& bytes) {
    return hostsim::WriteWholeFile(path, bytes.data(), bytes.size());
}

inline bool Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

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
