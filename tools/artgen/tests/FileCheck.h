// Readers used by artgen_check to look at the committed product files independently of the
// writers that made them: an INI reader that follows the rules of the Windows private-profile
// functions (names not case-sensitive, values trimmed).
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace artcheck {

std::filesystem::path RepoRoot();
// The bytes of a file below the repository root; nullopt when it cannot be read.
std::optional<std::vector<uint8_t>> ReadRepoFile(const std::string& relativePath);

// Keys in file order; section and key names folded to lower case.
struct IniSection {
    std::string name;
    std::vector<std::pair<std::string, std::string>> entries;
};
struct IniFile {
    std::vector<IniSection> sections;
    std::vector<std::string> problems;  // duplicates, lines that are neither section nor key
    const IniSection* Find(const std::string& section) const;
    std::optional<std::string> Get(const std::string& section, const std::string& key) const;
};
IniFile ParseIni(const std::vector<uint8_t>& bytes);

std::string Lower(std::string s);
uint16_t U16(const std::vector<uint8_t>& b, size_t at);
uint32_t U32(const std::vector<uint8_t>& b, size_t at);
int32_t I32(const std::vector<uint8_t>& b, size_t at);

}  // namespace artcheck
