#include "settings/ReferencePictureFile.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "framework/File.h"
#include "settings/FileReplace.h"

namespace settings {
namespace {

// Reads until count bytes arrived or the file ends.
uint32_t ReadFully(CFile& file, uint8_t* buffer, uint32_t count) {
    uint32_t total = 0;
    while (total < count) {
        const UINT read = file.Read(buffer + total, count - total);
        if (read == 0) break;
        total += read;
    }
    return total;
}

}  // namespace

BOOL StoreReferencePicture(const std::string& path, ConstReferencePixels pixels,
                           FileChange* change) {
    const auto header = EncodeReferenceHeader();
    FileChange own;
    return (change ? *change : own).Replace(path, {std::span<const uint8_t>(header), pixels});
}

BOOL LoadReferencePicture(const std::string& path, ReferencePixels pixels) {
    const auto black = [&pixels] {
        std::fill(pixels.begin(), pixels.end(), uint8_t{0});
        return FALSE;
    };
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::typeBinary)) return black();
    std::array<uint8_t, kBmpHeaderBytes> header{};
    if (ReadFully(file, header.data(), kBmpHeaderBytes) != kBmpHeaderBytes) return black();
    const std::optional<uint32_t> count = ReferencePixelBytesToRead(header);
    if (!count) return black();
    if (ReadFully(file, pixels.data(), *count) != *count) return black();
    std::fill(pixels.begin() + *count, pixels.end(), uint8_t{0});
    return TRUE;
}

}  // namespace settings
