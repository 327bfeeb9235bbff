#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <numbers>

#include "hostlink/BlockLayouts.h"

using namespace hostlink;

namespace {

// A block placed at an odd address inside a larger buffer, with guard bytes
// on both sides to catch writes past the block's byte count.
template <std::size_t N>
struct GuardedBlock {
    static constexpr unsigned char kGuard = 0xA5;
    std::array<unsigned char, N + 9> raw;
    GuardedBlock() { raw.fill(kGuard); }
    unsigned char* data() { return raw.data() + 1; }  // deliberately misaligned
    bool GuardsIntact() const {
        if (raw[0] != kGuard) return false;
        for (std::size_t i = N + 1; i < raw.size(); ++i)
            if (raw[i] != kGuard) return false;
        return true;
    }
};

int32_t Int32At(const unsigned char* p) {
    return static_cast<int32_t>(uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 |
                                uint32_t{p[3]} << 24);
}

}  // namespace

TEST(BlockLayouts, PatternCornersAreEightByteLittleEndianPairsInSlotOrder) {
    GuardedBlock<kPatternFeatureBlockBytes> block;
    const PatternCorners corners{{{10, 100}, {100, 100}, {10, 10}, {-1, -1}}};
    WritePatternCorners(block.data(), corners);
    EXPECT_TRUE(block.GuardsIntact());
    const unsigned char* b = block.data();
    EXPECT_EQ(Int32At(b + 0), 10);
    EXPECT_EQ(Int32At(b + 4), 100);
    EXPECT_EQ(Int32At(b + 8), 100);
    EXPECT_EQ(Int32At(b + 12), 100);
    EXPECT_EQ(Int32At(b + 16), 10);
    EXPECT_EQ(Int32At(b + 20), 10);
    EXPECT_EQ(b[24], 0xFF);  // -1 as all bits set
    EXPECT_EQ(Int32At(b + 28), -1);
    EXPECT_EQ(ReadPatternCorners(b), corners);
}

TEST(BlockLayouts, CountingLineReadsSignedShortsAndTheAngle) {
    GuardedBlock<kCountingLineBlockBytes> block;
    // As the host writes it: -150, 300, -1, -1, then 1.5f.
    const unsigned char bytes[12] = {0x6A, 0xFF, 0x2C, 0x01, 0xFF, 0xFF,
                                     0xFF, 0xFF, 0x00, 0x00, 0xC0, 0x3F};
    std::memcpy(block.data(), bytes, sizeof bytes);
    const CountingLineBlock line = ReadCountingLine(block.data());
    EXPECT_EQ(line.worldPt1x, -150);
    EXPECT_EQ(line.worldPt1y, 300);
    EXPECT_EQ(line.worldPt2x, -1);
    EXPECT_EQ(line.worldPt2y, -1);
    EXPECT_EQ(line.angleIn, 1.5f);

    GuardedBlock<kCountingLineBlockBytes> copy;
    WriteCountingLine(copy.data(), line);
    EXPECT_TRUE(copy.GuardsIntact());
    EXPECT_EQ(std::memcmp(copy.data(), bytes, sizeof bytes), 0);
}

TEST(BlockLayouts, CameraAngleIsThreeFloatsInOrder) {
    GuardedBlock<kCameraAngleBlockBytes> block;
    const CameraAngleBlock angle{0.25f, -std::numbers::pi_v<float> / 2, -3.0f};
    WriteCameraAngle(block.data(), angle);
    EXPECT_TRUE(block.GuardsIntact());
    float yz;
    std::memcpy(&yz, block.data() + 4, sizeof yz);
    EXPECT_EQ(yz, angle.angleYZ);
    float xz;
    std::memcpy(&xz, block.data() + 8, sizeof xz);
    EXPECT_EQ(xz, -3.0f);
    const CameraAngleBlock back = ReadCameraAngle(block.data());
    EXPECT_EQ(back.angleXY, 0.25f);
    EXPECT_EQ(back.angleYZ, angle.angleYZ);
    EXPECT_EQ(back.angleXZ, -3.0f);
}
