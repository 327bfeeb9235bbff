#include "tools/hostsim/SharedBlocks.h"

#include "hostlink/HostMessages.h"
#include "tools/hostsim/StereoRenderer.h"

namespace hostsim {

namespace {

constexpr std::size_t kBytes[SharedBlocks::kBlockCount] = {
    kPictureBytes,                        // one live picture, 320 x 240 x 3
    2 * kPictureBytes,                    // left and right rectified pictures
    hostlink::kPatternFeatureBlockBytes,  // 32
    hostlink::kCountingLineBlockBytes,    // 12
    hostlink::kCameraAngleBlockBytes,     // 12
};

}  // namespace

const char* SharedBlocks::Name(Block block) {
    switch (block) {
        case kImage:
            return hostlink::kImageBlockName;
        case kRectImage:
            return hostlink::kRectImageBlockName;
        case kPatternFeature:
            return hostlink::kPatternFeatureBlockName;
        case kCountingLine:
            return hostlink::kCountingLineBlockName;
        case kCameraAngle:
            return hostlink::kCameraAngleBlockName;
        default:
            return "";
    }
}

std::size_t SharedBlocks::LayoutBytes(Block block) {
    if (block < 0 || block >= kBlockCount) return 0;
    return kBytes[block];
}

SharedBlocks::Sizes SharedBlocks::LayoutSizes() {
    Sizes sizes{};
    for (int i = 0; i < kBlockCount; ++i) sizes[static_cast<std::size_t>(i)] = kBytes[i];
    return sizes;
}

SharedBlocks::SharedBlocks(const std::string& nameSuffix)
    : SharedBlocks(nameSuffix, LayoutSizes()) {}

SharedBlocks::SharedBlocks(const std::string& nameSuffix, const Sizes& bytes) {
    for (int i = 0; i < kBlockCount; ++i) {
        Mapping& m = m_blocks[i];
        m.bytes = bytes[static_cast<std::size_t>(i)];
        if (m.bytes == 0) continue;  // a mapping of 0 bytes cannot be made
        m.handle.reset(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                            static_cast<DWORD>(m.bytes),
                                            (Name(static_cast<Block>(i)) + nameSuffix).c_str()));
        if (!m.handle) continue;
        m.view.reset(::MapViewOfFile(m.handle.get(), FILE_MAP_ALL_ACCESS, 0, 0, m.bytes));
    }
}

bool SharedBlocks::ok() const {
    for (const Mapping& m : m_blocks)
        if (!m.view) return false;
    return true;
}

unsigned char* SharedBlocks::data(Block block) const {
    if (block < 0 || block >= kBlockCount) return nullptr;
    return static_cast<unsigned char*>(m_blocks[block].view.get());
}

std::size_t SharedBlocks::size(Block block) const {
    if (block < 0 || block >= kBlockCount || !m_blocks[block].view) return 0;
    return m_blocks[block].bytes;
}

}  // namespace hostsim
