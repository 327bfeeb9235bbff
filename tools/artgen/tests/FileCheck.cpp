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

std::optional<Bitmap> DecodeBmp24(const std::vector<uint8_t>& b, std::string& error) {
    constexpr size_t kHeaders = 14 + 40;
    if (b.size() < kHeaders) return error = "shorter than the headers", std::nullopt;
    if (b[0] != 'B' || b[1] != 'M') return error = "no BM signature", std::nullopt;
    if (U32(b, 2) != b.size())
        return error = "file size field differs from the file size", std::nullopt;
    if (U16(b, 6) != 0 || U16(b, 8) != 0) return error = "reserved fields not zero", std::nullopt;
    if (U32(b, 10) != kHeaders) return error = "pixel offset is not 54", std::nullopt;
    if (U32(b, 14) != 40) return error = "not a BITMAPINFOHEADER", std::nullopt;
    const int32_t width = I32(b, 18), height = I32(b, 22);
    if (width <= 0 || width > 4096 || height <= 0 || height > 4096) {
        return error = "width or height out of range (or top-down)", std::nullopt;
    }
    if (U16(b, 26) != 1) return error = "planes is not 1", std::nullopt;
    if (U16(b, 28) != 24) return error = "not 24 bits a pixel", std::nullopt;
    if (U32(b, 30) != 0) return error = "compressed", std::nullopt;
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    const size_t imageSize = stride * static_cast<size_t>(height);
    if (U32(b, 34) != 0 && U32(b, 34) != imageSize)
        return error = "image size field is wrong", std::nullopt;
    if (U32(b, 46) != 0) return error = "a 24-bit bitmap with a colour table", std::nullopt;
    if (b.size() != kHeaders + imageSize) return error = "pixel data size is wrong", std::nullopt;
    Bitmap bmp{width, height, std::vector<Rgb8>(static_cast<size_t>(width) * height)};
    for (int row = 0; row < height; ++row) {
        const size_t base = kHeaders + static_cast<size_t>(row) * stride;
        const int y = height - 1 - row;
        for (int x = 0; x < width; ++x) {
            const size_t i = base + static_cast<size_t>(x) * 3;
            bmp.pixels[static_cast<size_t>(y) * width + x] = Rgb8{b[i + 2], b[i + 1], b[i]};
        }
        for (size_t pad = static_cast<size_t>(width) * 3; pad < stride; ++pad) {
            if (b[base + pad] != 0) return error = "row padding not zero", std::nullopt;
        }
    }
    return bmp;
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

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
