#pragma once
// The pictures the host publishes: the live picture of the Image block, and
// the rectified pictures of the RectImage block that the open dialog shows.
// Each block is opened on its first picture; every later size is checked
// against the mapping and the buffers before anything is copied.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "hostlink/HostPacking.h"
#include "hostlink/SharedBlock.h"

class PictureFeed {
  public:
    // The rectified pictures and the reference picture: 320 x 240, 24 bits.
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 240;

    PictureFeed();

    // Copies the live picture out of the Image block; false when there is
    // none to show (no block, nothing sensible to map, a size the mapping or
    // the buffer cannot hold: the last picture stays).
    bool TakeLivePicture(hostlink::FrameSize size);
    // Copies `count` rectified pictures (1: the left one, 2: left and right;
    // any other count copies nothing); false when the block is missing or the
    // size is refused.
    bool TakeRectifiedPictures(uint32_t count, hostlink::FrameSize size);

    bool HasLivePicture() const { return !m_livePixels.empty(); }
    hostlink::FrameSize LiveSize() const { return m_liveSize; }
    const BITMAPINFO* LiveHeader() const;
    const uint8_t* LivePixels() const { return m_livePixels.data(); }

    const BITMAPINFO* RectifiedHeader() const;
    uint8_t* Left() { return m_left.data(); }
    uint8_t* Right() { return m_right.data(); }
    uint8_t* Reference() { return m_reference.data(); }
    const uint8_t* Reference() const { return m_reference.data(); }
    std::size_t RectifiedBytes() const { return m_left.size(); }

  private:
    // Declared first, released last: the buffers a view copies from go before
    // the blocks behind them, as the host expects.
    hostlink::SharedBlock m_imageBlock{hostlink::HostBlock::Image};
    hostlink::SharedBlock m_rectImageBlock{hostlink::HostBlock::RectImage};

    hostlink::FrameSize m_liveSize;
    BITMAPINFOHEADER m_liveHeader{};
    std::vector<uint8_t> m_livePixels;

    BITMAPINFOHEADER m_rectifiedHeader{};
    std::vector<uint8_t> m_left;
    std::vector<uint8_t> m_right;
    std::vector<uint8_t> m_reference;
};
