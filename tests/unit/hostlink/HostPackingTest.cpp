#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>

#include "hostlink/HostMessages.h"
#include "hostlink/HostPacking.h"

using namespace hostlink;

// x travels in the high half, y in the low one, each as its low 16 bits
// (unsigned): a large or negative y must not spill into x.
TEST(HostPacking, PointLayoutIsXHighYLowSixteenBitsEach) {
    const struct {
        int32_t x, y;
        uint32_t packed;
        HostPoint arrives;
    } cases[] = {{0x1234, 0x5678, 0x12345678u, {0x1234, 0x5678}},
                 {70000, 70001, 0x11701171u, {4464, 4465}},  // 70000 = 0x11170
                 {5, 0x7FFFFFFF, 0x0005FFFFu, {5, 0xFFFF}},
                 {-1, -1, 0xFFFFFFFFu, {65535, 65535}},
                 {-2, 5, 0xFFFE0005u, {65534, 5}},
                 {5, -2, 0x0005FFFEu, {5, 65534}},
                 {-32768, 100, 0x80000064u, {32768, 100}},
                 {65535, 32768, 0xFFFF8000u, {65535, 32768}},
                 {319, 240, 0x013F00F0u, {319, 240}}};
    for (const auto& c : cases) {
        EXPECT_EQ(PackPoint(c.x, c.y), c.packed) << c.x << "," << c.y;
        EXPECT_EQ(UnpackPoint(PackPoint(c.x, c.y)), c.arrives) << c.x << "," << c.y;
    }
    EXPECT_EQ(HighHalf(0x12345678u), 0x1234);
    EXPECT_EQ(LowHalf(0x12345678u), 0x5678);
}

TEST(HostPacking, OnlyTheLowThirtyTwoBitsOfAWideParameterCount) {
    const uint64_t wide = 0xDEADBEEF'00140028ull;  // upper half of a 64-bit WPARAM
    EXPECT_EQ(UnpackPoint(wide), (HostPoint{0x14, 0x28}));
    EXPECT_EQ(UnpackFrameSize(0xFFFFFFFF'01400000ull), (FrameSize{320, 0}));
    EXPECT_EQ(FrameKind(0x00000001'00000002ull), 0u);
    EXPECT_EQ(FrameCount(0x00000001'00000002ull), 2u);
    // A window handle widens with sign extension from its 32 bits, whatever
    // the upper half of the parameter held (LongToHandle, not a zero-extension).
    EXPECT_EQ(HandleValue(0x80000010u), intptr_t{-0x7FFFFFF0});
    EXPECT_EQ(HandleValue(0xFFFFFFFF'00010020ull), intptr_t{0x10020});
}

TEST(HostPacking, RectangleRoundTrip) {
    const HostRect r{10, 20, 300, 220};
    const PackedRect packed = PackRect(r);
    EXPECT_EQ(packed.topLeft, (10u << 16) | 20u);
    EXPECT_EQ(packed.bottomRight, (300u << 16) | 220u);
    EXPECT_EQ(UnpackRect(packed.topLeft, packed.bottomRight), r);
    // Negative corners come back as their low 16 bits.
    const PackedRect neg = PackRect({-1, -2, -3, -4});
    EXPECT_EQ(UnpackRect(neg.topLeft, neg.bottomRight), (HostRect{65535, 65534, 65533, 65532}));
}

TEST(HostPacking, FloatTravelsAsItsBits) {
    for (float v :
         {0.0f, -0.0f, 1.0f, -2.5f, 254.0f, 1.1920929e-7f, 3.4028235e38f,
          std::numeric_limits<float>::denorm_min(), std::numeric_limits<float>::infinity()}) {
        EXPECT_EQ(UnpackFloat(PackFloat(v)), v);
        EXPECT_EQ(std::signbit(UnpackFloat(PackFloat(v))), std::signbit(v));
    }
    EXPECT_EQ(PackFloat(1.0f), 0x3F800000u);
    EXPECT_EQ(UnpackFloat(0x40200000u), 2.5f);
    EXPECT_TRUE(std::isnan(UnpackFloat(PackFloat(std::numeric_limits<float>::quiet_NaN()))));
    // Upper half of a 64-bit parameter is ignored.
    EXPECT_EQ(UnpackFloat(0xFFFFFFFF'3F800000ull), 1.0f);
}

TEST(HostPacking, FrameKindAndSize) {
    EXPECT_EQ(PackFrameKind(kFrameRectified, 2), 0x00010002u);
    EXPECT_EQ(FrameKind(PackFrameKind(kFrameRectified, 2)), kFrameRectified);
    EXPECT_EQ(FrameCount(PackFrameKind(kFrameRectified, 2)), 2u);
    EXPECT_EQ(FrameKind(PackFrameKind(kFrameLive, 0)), kFrameLive);
    EXPECT_EQ(FrameKind(0x00020001u), 2u);  // unknown kinds stay visible to the caller
    EXPECT_EQ(PackFrameSize(320, 240), (320u << 16) | 240u);
    EXPECT_EQ(UnpackFrameSize(PackFrameSize(320, 240)), (FrameSize{320, 240}));
    EXPECT_EQ(UnpackFrameSize(PackFrameSize(65535, 65535)), (FrameSize{65535, 65535}));
    EXPECT_EQ(UnpackFrameSize(PackFrameSize(65536, 1)), (FrameSize{0, 1}));
}

// The numbers the host was built with: each family counted from its own
// base, consecutive, and apart from the others.
static_assert(WM_HOST_ATTACH == 0x8100 && WM_HOST_EDIT_COUNTING_LINE == 0x8101 &&
              WM_HOST_PATTERN_FEATURES == 0x8102 && WM_HOST_MEASURE_REGION == 0x8103 &&
              WM_HOST_DIALOG_STATE == 0x8104 && WM_HOST_SET_COUNTING_LINE == 0x8105 &&
              WM_HOST_DETACH == 0x8106 && WM_HOST_CALIBRATION_CHANGED == 0x8107 &&
              WM_HOST_CAMERA_ANGLE_SAVED == 0x8108 && WM_HOST_COUNTER_SETTINGS_SAVED == 0x8109 &&
              kFirstHostMessage == 0x8100 && kLastHostMessage == 0x8109);
static_assert(WM_VIEW_NEW_FRAME == 0x8200 && WM_VIEW_COUNTING_LINE_3D == 0x8201 &&
              WM_VIEW_CAMERA_ANGLE == 0x8202 && WM_VIEW_REGION_RESULT == 0x8203 &&
              WM_VIEW_COUNTING_LINE == 0x8204 && WM_VIEW_CLOSE == 0x8205 &&
              WM_VIEW_CALIBRATION_CHANGED == 0x8206 && WM_VIEW_MARKER_RECT == 0x8207 &&
              WM_VIEW_COUNTER_RECT == 0x8208 && kFirstViewMessage == 0x8200 &&
              kLastViewMessage == 0x8208);
static_assert(WM_UI_MARK_POINT < kFirstHostMessage && WM_UI_PICTURE_READY > kWmApp);
static_assert(std::string_view(kImageBlockName) == "Varanix_Tallyscope_Image" &&
              std::string_view(kRectImageBlockName) == "Varanix_Tallyscope_RectImage" &&
              std::string_view(kPatternFeatureBlockName) == "Varanix_Tallyscope_PatternFeature" &&
              std::string_view(kCountingLineBlockName) == "Varanix_Tallyscope_CountingLine" &&
              std::string_view(kCameraAngleBlockName) == "Varanix_Tallyscope_CameraAngle");
