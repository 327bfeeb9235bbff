// The product artwork: skin pictures and Layout.ini (resources/), the language-neutral
// height-tips illustration (resources/Lang/) and the program's resource pictures (res/).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/artgen/Canvas.h"

namespace artgen {

struct GeneratedFile {
    std::string path;  // relative to the repository root, '/' separated
    std::vector<uint8_t> bytes;
};

// Every generated file, in a fixed order. Pure: the same bytes on every call.
std::vector<GeneratedFile> GenerateAll();

// Writes the files below root; returns false and says why on the first failure.
bool WriteAll(const std::filesystem::path& root, const std::vector<GeneratedFile>& files,
              std::string& error);

// Single pictures, exposed for the checks.
Image24 PaintBackground();

}  // namespace artgen
