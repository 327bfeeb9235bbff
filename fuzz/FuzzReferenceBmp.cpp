// Reference picture files of any content: the reader never reads past the
// file or the 230400-byte buffer, and a refused file leaves a black picture.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "settings/ReferencePicture.h"

using namespace settings;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> file(data, size);
    // Exactly the buffer's size on the heap, so ASan sees any overrun.
    std::vector<uint8_t> pixels(kReferencePixelBytes, 0xEE);
    const bool taken =
        DecodeReferencePicture(file, ReferencePixels(pixels.data(), kReferencePixelBytes));
    const auto count = ReferencePixelBytesToRead(file);
    static const std::vector<uint8_t> black(kReferencePixelBytes, 0);
    if (!taken) {
        if (std::memcmp(pixels.data(), black.data(), kReferencePixelBytes) != 0) std::abort();
        return 0;
    }
    if (!count || *count > kReferencePixelBytes || size < kBmpHeaderBytes + *count) std::abort();
    if (std::memcmp(pixels.data(), data + kBmpHeaderBytes, *count) != 0) std::abort();
    if (std::memcmp(pixels.data() + *count, black.data(), kReferencePixelBytes - *count) != 0) {
        std::abort();
    }
    // What was read, written again the program's way, reads back the same.
    const std::vector<uint8_t> written =
        EncodeReferencePicture(ConstReferencePixels(pixels.data(), kReferencePixelBytes));
    std::vector<uint8_t> again(kReferencePixelBytes, 0xEE);
    if (!DecodeReferencePicture(written, ReferencePixels(again.data(), kReferencePixelBytes)) ||
        again != pixels) {
        std::abort();
    }
    return 0;
}
