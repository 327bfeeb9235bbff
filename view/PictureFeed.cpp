#include "view/PictureFeed.h"

#include <algorithm>
#include <cstring>

#include "hostlink/HostMessages.h"
#include "hostlink/PictureSizes.h"

namespace {

// The header of a 24-bit bottom-up picture as the host sends them.
BITMAPINFOHEADER PictureHeader(hostlink::FrameSize size, uint64_t imageBytes) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = static_cast<LONG>(size.width);
    header.biHeight = static_cast<LONG>(size.height);
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(imageBytes);
    return header;
}

// What can be read at a block's view: what was asked for, and no more than
// the region the system reports.
uint64_t ReadableBytes(const hostlink::SharedBlock& block) {
    return std::min<uint64_t>(block.MappedBytes(), block.RegionBytes());
}

}  // namespace

PictureFeed::PictureFeed()
    : m_left(hostlink::kRectifiedPictureBytes, 0),
      m_right(hostlink::kRectifiedPictureBytes, 0),
      m_reference(hostlink::kRectifiedPictureBytes, 0) {
    m_rectifiedHeader = PictureHeader({kWidth, kHeight}, hostlink::kRectifiedPictureBytes);
}

const BITMAPINFO* PictureFeed::LiveHeader() const {
    return reinterpret_cast<const BITMAPINFO*>(&m_liveHeader);
}

const BITMAPINFO* PictureFeed::RectifiedHeader() const {
    return reinterpret_cast<const BITMAPINFO*>(&m_rectifiedHeader);
}

bool PictureFeed::TakeLivePicture(hostlink::FrameSize size) {
    if (!m_imageBlock.IsOpen()) {
        // The first live picture fixes the mapping, the header and the buffer.
        const auto plan = hostlink::PlanFirstLivePicture(size);
        if (!plan) return false;  // nothing sensible to map: wait for a real picture
        if (!m_imageBlock.Open(plan->mapBytes)) return false;
        m_liveSize = size;
        m_liveHeader = PictureHeader(size, plan->bufferBytes);
        m_livePixels.assign(plan->bufferBytes, 0);
    }
    // A picture larger than the first one would read past the mapping or
    // write past the buffer: it is dropped, the last picture stays.
    if (!hostlink::MayCopyLivePicture(size, ReadableBytes(m_imageBlock), m_livePixels.size()))
        return false;
    std::memcpy(m_livePixels.data(), m_imageBlock.Data(),
                static_cast<size_t>(hostlink::PictureBytes(size)));
    return true;
}

bool PictureFeed::TakeRectifiedPictures(uint32_t count, hostlink::FrameSize size) {
    if (!m_rectImageBlock.IsOpen()) {
        const auto mapBytes = hostlink::PlanRectImageMapping(size);
        if (!mapBytes || !m_rectImageBlock.Open(*mapBytes)) return false;
    }
    const hostlink::RectifiedCopy copy =
        hostlink::PlanRectifiedCopy(size, count, ReadableBytes(m_rectImageBlock), m_left.size());
    if (copy.refused) return false;
    const unsigned char* block = m_rectImageBlock.Data();
    if (copy.pictures >= 1) std::memcpy(m_left.data(), block, copy.bytesEach);
    if (copy.pictures >= 2) std::memcpy(m_right.data(), block + copy.bytesEach, copy.bytesEach);
    return true;
}
