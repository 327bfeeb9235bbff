#include "settings/MaskFile.h"

#include <span>
#include <vector>

#include "framework/File.h"
#include "settings/FileReplace.h"
#include "settings/RegionData.h"

namespace settings {
namespace {

// A buffer for RGNDATA of `bytes` bytes, aligned for its DWORD fields.
std::vector<DWORD> RegionBuffer(uint32_t bytes) {
    return std::vector<DWORD>((bytes + sizeof(DWORD) - 1) / sizeof(DWORD));
}

std::span<const uint8_t> Bytes(const std::vector<DWORD>& buffer, uint32_t bytes) {
    return {reinterpret_cast<const uint8_t*>(buffer.data()), bytes};
}

BOOL NoMask(RegionHandle& viewRegion, int32_t& maskSize) {
    viewRegion.reset();
    maskSize = 0;
    return FALSE;
}

}  // namespace

BOOL StoreMask(HRGN dialogRegion, RegionHandle& viewRegion, int32_t& maskSize,
               const std::string& maskPath, FileChange* change) {
    if (dialogRegion == nullptr) {
        NoMask(viewRegion, maskSize);
        return TRUE;
    }
    RegionHandle copy = CopyRegion(dialogRegion);
    if (!copy) return FALSE;
    const DWORD bytes = ::GetRegionData(copy.get(), 0, nullptr);
    // A size the loader would refuse is not stored.
    if (!IsPlausibleRegionDataSize(bytes)) return FALSE;
    std::vector<DWORD> buffer = RegionBuffer(bytes);
    if (::GetRegionData(copy.get(), bytes, reinterpret_cast<RGNDATA*>(buffer.data())) != bytes) {
        return FALSE;
    }
    if (change) {
        if (!change->Replace(maskPath, {Bytes(buffer, bytes)})) return FALSE;
    } else {
        FileChange own;
        if (!own.Replace(maskPath, {Bytes(buffer, bytes)}) || !own.Commit()) return FALSE;
    }
    viewRegion = std::move(copy);
    maskSize = static_cast<int32_t>(bytes);
    return TRUE;
}

BOOL LoadMask(const std::string& maskPath, RegionHandle& viewRegion, int32_t& maskSize) {
    if (!IsPlausibleRegionDataSize(maskSize)) return NoMask(viewRegion, maskSize);
    const auto bytes = static_cast<uint32_t>(maskSize);
    CFile file;
    if (!file.Open(maskPath, CFile::modeRead | CFile::typeBinary)) {
        return NoMask(viewRegion, maskSize);
    }
    std::vector<DWORD> buffer = RegionBuffer(bytes);
    auto* target = reinterpret_cast<uint8_t*>(buffer.data());
    uint32_t total = 0;
    while (total < bytes) {
        const UINT read = file.Read(target + total, bytes - total);
        if (read == 0) break;
        total += read;
    }
    file.Close();
    if (total != bytes || CheckRegionData(Bytes(buffer, bytes)) != RegionDataCheck::Valid) {
        return NoMask(viewRegion, maskSize);
    }
    HRGN region =
        ::ExtCreateRegion(nullptr, bytes, reinterpret_cast<const RGNDATA*>(buffer.data()));
    if (region == nullptr) return NoMask(viewRegion, maskSize);
    viewRegion.reset(region);
    return TRUE;
}

}  // namespace settings
