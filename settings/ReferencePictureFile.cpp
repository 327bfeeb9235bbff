#include "settings/ReferencePictureFile.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "framework/File.h"

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

BOOL StoreReferencePicture(const std::string& path, ConstReferencePixels pixels) {
    CFile file;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary)) return FALSE;
    const auto header = EncodeReferenceHeader();
    return file.Write(header.data(), static_cast<UINT>(header.size())) &&
           file.Write(pixels.data(), static_cast<UINT>(pixels.size()));
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
