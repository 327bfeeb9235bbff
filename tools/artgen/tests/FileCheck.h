// Readers used by artgen_check to look at the committed product files independently of the
// writers that made them: a strict 24-bit bitmap reader and an INI reader that follows the
// rules of the Windows private-profile functions (names not case-sensitive, values trimmed).
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

struct Rgb8 {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb8&) const = default;
};
constexpr Rgb8 kKey{255, 255, 0};

struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<Rgb8> pixels;  // top-down
    Rgb8 At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    bool IsKey(int x, int y) const { return At(x, y) == kKey; }
};
// Accepts only BITMAPFILEHEADER + BITMAPINFOHEADER, 24 bits, BI_RGB, bottom-up, exact sizes and
// zero padding; error says what is wrong.
std::optional<Bitmap> DecodeBmp24(const std::vector<uint8_t>& bytes, std::string& error);

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
