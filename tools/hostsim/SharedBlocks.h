#pragma once
// The five named shared-memory blocks of the host link, created by the host.
#include <windows.h>

#include <array>
#include <cstddef>
#include <string>

#include "framework/Handles.h"

namespace hostsim {

class SharedBlocks {
  public:
    enum Block { kImage, kRectImage, kPatternFeature, kCountingLine, kCameraAngle, kBlockCount };

    // Creates (or opens, when another host already made them) and maps all
    // five. A suffix is added to each name: a test's own set of blocks, which
    // no program opens (the program uses the names as they are).
    explicit SharedBlocks(const std::string& nameSuffix = "");
    // The same with each block's mapping created with the given byte count
    // instead of the one its layout needs (a host that makes them too small).
    using Sizes = std::array<std::size_t, kBlockCount>;
    SharedBlocks(const std::string& nameSuffix, const Sizes& bytes);
    SharedBlocks(const SharedBlocks&) = delete;
    SharedBlocks& operator=(const SharedBlocks&) = delete;

    bool ok() const;  // all five are mapped
    unsigned char* data(Block block) const;
    std::size_t size(Block block) const;
    static const char* Name(Block block);
    // The bytes the block's layout needs (what the default constructor makes).
    static std::size_t LayoutBytes(Block block);
    static Sizes LayoutSizes();

  private:
    struct Mapping {
        KernelHandle handle;
        MappedView view;
        std::size_t bytes = 0;
    };
    Mapping m_blocks[kBlockCount];
};

}  // namespace hostsim
