#include "settings/MaskFile.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "MessageBoxWatcher.h"
#include "TestFiles.h"
#include "framework/Handles.h"
#include "settings/SettingsPaths.h"

using namespace settings;

namespace {

std::string Words(const std::vector<uint32_t>& words) {
    std::string bytes;
    for (uint32_t w : words) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(w >> (8 * i)));
    }
    return bytes;
}

RegionHandle Ellipse() {
    return RegionHandle(::CreateEllipticRgn(40, 30, 200, 150));
}

RegionHandle Polygon() {
    const POINT points[] = {{10, 10}, {300, 40}, {160, 230}, {20, 180}, {90, 90}};
    return RegionHandle(::CreatePolygonRgn(points, 5, ALTERNATE));
}

// The whole picture with an elliptic and a rectangular hole, plus a polygon.
RegionHandle Combined() {
    RegionHandle whole(::CreateRectRgn(0, 0, 320, 240));
    RegionHandle hole(::CreateEllipticRgn(60, 40, 180, 160));
    RegionHandle box(::CreateRectRgn(200, 100, 260, 220));
    ::CombineRgn(whole.get(), whole.get(), hole.get(), RGN_DIFF);
    ::CombineRgn(whole.get(), whole.get(), box.get(), RGN_DIFF);
    RegionHandle polygon = Polygon();
    ::CombineRgn(whole.get(), whole.get(), polygon.get(), RGN_XOR);
    return whole;
}

// Both regions cover the same pixels. EqualRgn alone compares rectangle
// lists, and Wine's elliptic regions carry bands that ExtCreateRegion
// merges, so the same area can come back with fewer rectangles.
bool SameArea(HRGN a, HRGN b) {
    RegionHandle difference(::CreateRectRgn(0, 0, 0, 0));
    return ::CombineRgn(difference.get(), a, b, RGN_XOR) == NULLREGION;
}

class MaskFileTest : public ::testing::Test {
  protected:
    TempFolder folder;
    std::string path = MaskFilePath(folder.path(), 5);
    RegionHandle viewRegion;
    int32_t maskSize = -7;

    // A mask file of raw bytes, loaded with "Mask Size" = its length.
    BOOL LoadRaw(const std::string& bytes) {
        EXPECT_TRUE(WriteRaw(path, bytes));
        maskSize = static_cast<int32_t>(bytes.size());
        return LoadMask(path, viewRegion, maskSize);
    }
};

}  // namespace

TEST_F(MaskFileTest, OneRectangleIsStoredAs48Bytes) {
    RegionHandle dialog(::CreateRectRgn(10, 20, 110, 120));
    EXPECT_TRUE(StoreMask(dialog.get(), viewRegion, maskSize, path));
    EXPECT_EQ(maskSize, 48);
    EXPECT_EQ(ReadRaw(path), Words({32, 1, 1, 16, 10, 20, 110, 120, 10, 20, 110, 120}));
    ASSERT_TRUE(viewRegion.valid());
    EXPECT_NE(viewRegion.get(), dialog.get());  // the view has its own copy
    EXPECT_TRUE(::EqualRgn(viewRegion.get(), dialog.get()));
    EXPECT_TRUE(path.ends_with("\\Mask05.bin"));
}

TEST_F(MaskFileTest, RegionsSurviveARoundTrip) {
    struct Case {
        const char* name;
        RegionHandle region;
    };
    Case cases[] = {{"ellipse", Ellipse()}, {"polygon", Polygon()}, {"combined", Combined()}};
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(c.region.valid());
        RegionHandle stored;
        int32_t size = 0;
        ASSERT_TRUE(StoreMask(c.region.get(), stored, size, path));
        EXPECT_EQ(static_cast<DWORD>(size), ::GetRegionData(c.region.get(), 0, nullptr));
        EXPECT_EQ(ReadRaw(path).size(), static_cast<std::size_t>(size));
        RegionHandle loaded;
        int32_t loadedSize = size;
        ASSERT_TRUE(LoadMask(path, loaded, loadedSize));
        EXPECT_EQ(loadedSize, size);
        ASSERT_TRUE(loaded.valid());
        EXPECT_TRUE(SameArea(loaded.get(), c.region.get()));
        // A second trip gives exactly the same rectangles.
        RegionHandle again;
        int32_t againSize = 0;
        ASSERT_TRUE(StoreMask(loaded.get(), stored, againSize, path));
        ASSERT_TRUE(LoadMask(path, again, againSize));
        EXPECT_TRUE(::EqualRgn(again.get(), loaded.get()));
    }
}

TEST_F(MaskFileTest, AnExistingViewRegionIsReplacedNotLeaked) {
    viewRegion.reset(::CreateRectRgn(0, 0, 5, 5));
    const HRGN before = viewRegion.get();
    RegionHandle dialog = Ellipse();
    ASSERT_TRUE(StoreMask(dialog.get(), viewRegion, maskSize, path));
    EXPECT_EQ(viewRegion.get(), before);  // copied into the view's region
    EXPECT_TRUE(::EqualRgn(viewRegion.get(), dialog.get()));
    ASSERT_TRUE(LoadMask(path, viewRegion, maskSize));
    EXPECT_TRUE(SameArea(viewRegion.get(), dialog.get()));
}

TEST_F(MaskFileTest, NoDialogRegionDeletesTheMaskButLeavesTheFile) {
    RegionHandle dialog = Ellipse();
    ASSERT_TRUE(StoreMask(dialog.get(), viewRegion, maskSize, path));
    const std::string file = ReadRaw(path);
    EXPECT_TRUE(StoreMask(nullptr, viewRegion, maskSize, path));
    EXPECT_FALSE(viewRegion.valid());
    EXPECT_EQ(maskSize, 0);
    EXPECT_EQ(ReadRaw(path), file);
}

TEST_F(MaskFileTest, AnUnwritableFileKeepsTheRegionForTheRun) {
    const std::string missing = MaskFilePath(folder.path() + "\\gone", 5);
    RegionHandle dialog = Polygon();
    EXPECT_FALSE(StoreMask(dialog.get(), viewRegion, maskSize, missing));
    EXPECT_EQ(maskSize, 0);
    ASSERT_TRUE(viewRegion.valid());
    EXPECT_TRUE(::EqualRgn(viewRegion.get(), dialog.get()));
    EXPECT_TRUE(TempFolder::List(folder.path()).empty());
}

TEST_F(MaskFileTest, MaskSizeZeroMeansNoMask) {
    RegionHandle dialog = Ellipse();
    ASSERT_TRUE(StoreMask(dialog.get(), viewRegion, maskSize, path));
    maskSize = 0;
    EXPECT_FALSE(LoadMask(path, viewRegion, maskSize));
    EXPECT_FALSE(viewRegion.valid());
    EXPECT_EQ(maskSize, 0);
}

TEST_F(MaskFileTest, MissingFileLeavesNoRegionAndMaskSizeZero) {
    viewRegion.reset(::CreateRectRgn(0, 0, 5, 5));
    maskSize = 48;
    EXPECT_FALSE(LoadMask(path, viewRegion, maskSize));
    EXPECT_FALSE(viewRegion.valid());
    EXPECT_EQ(maskSize, 0);
}

TEST_F(MaskFileTest, DamagedFilesLeaveNoRegionAndMaskSizeZero) {
    MessageBoxWatcher watcher;
    const std::string good =
        Words({32, 1, 2, 32, 10, 20, 110, 130, 10, 20, 110, 120, 10, 120, 60, 130});
    ASSERT_TRUE(LoadRaw(good));
    ASSERT_TRUE(viewRegion.valid());

    struct Bad {
        const char* what;
        std::string bytes;
    };
    std::string wrongHeader = good;
    wrongHeader[0] = 40;
    std::string wrongType = good;
    wrongType[4] = 2;
    std::string countTooBig = good;
    countTooBig[8] = 3;
    std::string countHuge = good;
    countHuge[11] = '\x10';  // 0x10000002 rectangles
    std::string countSmall = good;
    countSmall[8] = 1;
    std::string inverted = good;
    inverted[40] = 5;  // first rectangle's right edge left of its left edge
    const Bad bad[] = {{"wrong header size", wrongHeader}, {"wrong type", wrongType},
                       {"count too big", countTooBig},     {"count wraps", countHuge},
                       {"count too small", countSmall},    {"inverted rectangle", inverted}};
    for (const Bad& b : bad) {
        SCOPED_TRACE(b.what);
        viewRegion.reset(::CreateRectRgn(0, 0, 5, 5));
        EXPECT_FALSE(LoadRaw(b.bytes));
        EXPECT_FALSE(viewRegion.valid());
        EXPECT_EQ(maskSize, 0);
    }
    EXPECT_TRUE(watcher.Boxes().empty());
}

TEST_F(MaskFileTest, AFileShorterThanMaskSizeLeavesNoRegion) {
    const std::string good = Words({32, 1, 1, 16, 10, 20, 110, 120, 10, 20, 110, 120});
    for (std::size_t cut : {std::size_t{0}, std::size_t{16}, std::size_t{32}, std::size_t{47}}) {
        ASSERT_TRUE(WriteRaw(path, good.substr(0, cut)));
        maskSize = 48;
        EXPECT_FALSE(LoadMask(path, viewRegion, maskSize)) << cut;
        EXPECT_FALSE(viewRegion.valid());
        EXPECT_EQ(maskSize, 0);
    }
}

TEST_F(MaskFileTest, ImpossibleMaskSizesAreRefusedBeforeReading) {
    const std::string good = Words({32, 1, 1, 16, 10, 20, 110, 120, 10, 20, 110, 120});
    ASSERT_TRUE(WriteRaw(path, good));
    for (int32_t size : {-48, -1, 16, 31, 47, 49, INT32_MAX, INT32_MIN}) {
        maskSize = size;
        EXPECT_FALSE(LoadMask(path, viewRegion, maskSize)) << size;
        EXPECT_FALSE(viewRegion.valid());
        EXPECT_EQ(maskSize, 0);
    }
    // A "Mask Size" smaller than the file reads only that much, and that is not a region.
    ASSERT_TRUE(WriteRaw(path, good + good));
    maskSize = 48;
    EXPECT_TRUE(LoadMask(path, viewRegion, maskSize));
    maskSize = 64;
    EXPECT_FALSE(LoadMask(path, viewRegion, maskSize));
}
