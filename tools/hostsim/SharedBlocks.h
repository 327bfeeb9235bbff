#pragma once
// The five named shared-memory blocks of the host link, created by the host.
#include <windows.h>

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
    SharedBlocks(const SharedBlocks&) = delete;
    SharedBlocks& operator=(const SharedBlocks&) = delete;

    bool ok() const;  // all five are mapped
    unsigned char* data(Block block) const;
    std::size_t size(Block block) const;
    static const char* Name(Block block);

  private:
    struct Mapping {
        KernelHandle handle;
        MappedView view;
        std::size_t bytes = 0;
    };
    Mapping m_blocks[kBlockCount];
};

}  // namespace hostsim
