#pragma once
// Packing of window-message parameters between this program and the host.
// A point or rectangle corner travels as one 32-bit value, x in the high and
// y in the low 16 bits; a real number as the bits of a float. Only the low
// 32 bits of a WPARAM/LPARAM carry anything, on 32- and 64-bit builds alike.
#include <bit>
#include <cstdint>

namespace hostlink {

struct HostPoint {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const HostPoint&, const HostPoint&) = default;
};

struct HostRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    friend bool operator==(const HostRect&, const HostRect&) = default;
};

// The 32 bits a message parameter carries (the low half of a 64-bit one).
constexpr uint32_t ParamBits(uint64_t param) {
    return static_cast<uint32_t>(param);
}

// (x << 16) | (y & 0xFFFF): only the low 16 bits of each coordinate travel,
// so 70000 arrives as 4464 and -1 as 65535.
constexpr uint32_t PackPoint(int32_t x, int32_t y) {
    return (static_cast<uint32_t>(x) << 16) | (static_cast<uint32_t>(y) & 0xFFFFu);
}
constexpr uint32_t PackPoint(const HostPoint& p) {
    return PackPoint(p.x, p.y);
}

// param >> 16 and param & 0xFFFF of the 32-bit value: both unsigned 16-bit.
constexpr uint16_t HighHalf(uint64_t param) {
    return static_cast<uint16_t>(ParamBits(param) >> 16);
}
constexpr uint16_t LowHalf(uint64_t param) {
    return static_cast<uint16_t>(ParamBits(param) & 0xFFFFu);
}

// A window handle that travels as 32 bits (the command line, a message
// parameter from a process of the other pointer size): handles fit 32 bits on
// 64-bit Windows too and widen with sign extension, as LongToHandle does.
constexpr intptr_t HandleValue(uint64_t param) {
    return static_cast<int32_t>(ParamBits(param));
}

// Unpacked point: both coordinates in 0..65535.
constexpr HostPoint UnpackPoint(uint64_t param) {
    return {HighHalf(param), LowHalf(param)};
}

// Rectangle as two parameters: (left << 16 | top, right << 16 | bottom).
struct PackedRect {
    uint32_t topLeft = 0;
    uint32_t bottomRight = 0;
};
constexpr PackedRect PackRect(const HostRect& r) {
    return {PackPoint(r.left, r.top), PackPoint(r.right, r.bottom)};
}
constexpr HostRect UnpackRect(uint64_t topLeft, uint64_t bottomRight) {
    return {HighHalf(topLeft), LowHalf(topLeft), HighHalf(bottomRight), LowHalf(bottomRight)};
}

// Real numbers travel as their IEEE-754 single-precision bits.
constexpr uint32_t PackFloat(float value) {
    return std::bit_cast<uint32_t>(value);
}
constexpr float UnpackFloat(uint64_t param) {
    return std::bit_cast<float>(ParamBits(param));
}

// WM_VIEW_NEW_FRAME wParam: high word = which block (live / rectified),
// low word = picture count of a rectified message.
constexpr uint32_t PackFrameKind(uint32_t kind, uint32_t count) {
    return ((kind & 0xFFFFu) << 16) | (count & 0xFFFFu);
}
constexpr uint32_t FrameKind(uint64_t wParam) {
    return HighHalf(wParam);
}
constexpr uint32_t FrameCount(uint64_t wParam) {
    return LowHalf(wParam);
}

// WM_VIEW_NEW_FRAME lParam: (width << 16) | height of one picture.
struct FrameSize {
    uint32_t width = 0;
    uint32_t height = 0;
    friend bool operator==(const FrameSize&, const FrameSize&) = default;
};
constexpr uint32_t PackFrameSize(uint32_t width, uint32_t height) {
    return ((width & 0xFFFFu) << 16) | (height & 0xFFFFu);
}
constexpr FrameSize UnpackFrameSize(uint64_t lParam) {
    return {HighHalf(lParam), LowHalf(lParam)};
}

}  // namespace hostlink
