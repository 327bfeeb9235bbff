#include "FileCheck.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

namespace artcheck {

std::filesystem::path RepoRoot() {
    if (const char* root = std::getenv("ARTGEN_REPO_ROOT"); root != nullptr && *root != '\0')
        return root;
    return ARTGEN_REPO_ROOT;
}

std::optional<std::vector<uint8_t>> ReadRepoFile(const std::string& relativePath) {
    std::ifstream in(RepoRoot() / relativePath, std::ios::binary);
    if (!in) return std::nullopt;
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

uint16_t U16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b.at(at) | (b.at(at + 1) << 8));
}

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint32_t>(U16(b, at)) | (static_cast<uint32_t>(U16(b, at + 2)) << 16);
}

int32_t I32(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<int32_t>(U32(b, at));
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

namespace {

std::string Trim(const std::string& s) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t'; };
    size_t a = 0, e = s.size();
    while (a < e && isSpace(s[a])) ++a;
    while (e > a && isSpace(s[e - 1])) --e;
    return s.substr(a, e - a);
}

}  // namespace

const IniSection* IniFile::Find(const std::string& section) const {
    for (const IniSection& s : sections) {
        if (s.name == Lower(section)) return &s;
    }
    return nullptr;
}

std::optional<std::string> IniFile::Get(const std::string& section, const std::string& key) const {
    const IniSection* s = Find(section);
    if (s == nullptr) return std::nullopt;
    for (const auto& [k, v] : s->entries) {
        if (k == Lower(key)) return v;
    }
    return std::nullopt;
}

IniFile ParseIni(const std::vector<uint8_t>& bytes) {
    IniFile ini;
    std::string text(bytes.begin(), bytes.end());
    size_t pos = 0;
    int lineNumber = 0;
    IniSection* current = nullptr;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == ';') continue;
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (trimmed[0] == '[') {
            if (trimmed.back() != ']') {
                ini.problems.push_back(where + "unclosed section name");
                continue;
            }
            const std::string name = Lower(Trim(trimmed.substr(1, trimmed.size() - 2)));
            if (ini.Find(name) != nullptr)
                ini.problems.push_back(where + "section [" + name + "] again");
            ini.sections.push_back(IniSection{name, {}});
            current = &ini.sections.back();
            continue;
        }
        const size_t eq = trimmed.find('=');
        if (eq == std::string::npos) {
            ini.problems.push_back(where + "neither a section nor a key");
            continue;
        }
        if (current == nullptr) {
            ini.problems.push_back(where + "key outside any section");
            continue;
        }
        const std::string key = Lower(Trim(trimmed.substr(0, eq)));
        const std::string value = Trim(trimmed.substr(eq + 1));
        for (const auto& entry : current->entries) {
            if (entry.first == key) ini.problems.push_back(where + "key " + key + " again");
        }
        current->entries.emplace_back(key, value);
    }
    return ini;
}

}  // namespace artcheck
