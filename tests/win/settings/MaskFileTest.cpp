#include "settings/MaskFile.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/win/support/MessageBoxWatcher.h"
#include "framework/Handles.h"
#include "settings/SettingsPaths.h"
#include "tests/win/support/TestFiles.h"

using namespace settings;

namespace {

std::string Words(const std::vector<uint32_t>& words) {
    std::string bytes;
    for (uint32_t w : words) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(w >> (8 * i)));
    }
    return bytes;
}

const std::string kOneRect = Words({32, 1, 1, 16, 10, 20, 110, 120, 10, 20, 110, 120});
const std::string kTwoRects =
    Words({32, 1, 2, 32, 10, 20, 110, 130, 10, 20, 110, 120, 10, 120, 60, 130});

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
};

}  // namespace

TEST_F(MaskFileTest, OneRectangleIsStoredAs48BytesIntoTheViewsOwnRegion) {
    viewRegion.reset(::CreateRectRgn(0, 0, 5, 5));
    RegionHandle dialog(::CreateRectRgn(10, 20, 110, 120));
    EXPECT_TRUE(StoreMask(dialog.get(), viewRegion, maskSize, path));
    EXPECT_EQ(maskSize, 48);
    EXPECT_EQ(ReadRaw(path), kOneRect);
    EXPECT_TRUE(path.ends_with("\\Mask05.bin"));
    EXPECT_NE(viewRegion.get(), dialog.get());  // a copy of its own
    EXPECT_TRUE(::EqualRgn(viewRegion.get(), dialog.get()));
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

TEST_F(MaskFileTest, NoDialogRegionDeletesTheMaskButLeavesTheFile) {
    RegionHandle dialog = Ellipse();
    ASSERT_TRUE(StoreMask(dialog.get(), viewRegion, maskSize, path));
    const std::string file = ReadRaw(path);
    EXPECT_TRUE(StoreMask(nullptr, viewRegion, maskSize, path));
    EXPECT_FALSE(viewRegion.valid());
    EXPECT_EQ(maskSize, 0);
    EXPECT_EQ(ReadRaw(path), file);
}

// What the view draws must stay what the file and the size say: a mask that
// cannot be written leaves the previous one in force.
TEST_F(MaskFileTest, AnUnwritableFileLeavesThePreviousMaskAndSize) {
    const std::string missing = MaskFilePath(folder.File("gone"), 5);
    viewRegion.reset(::CreateRectRgn(10, 20, 110, 120));
    maskSize = 48;
    RegionHandle dialog = Polygon();
    EXPECT_FALSE(StoreMask(dialog.get(), viewRegion, maskSize, missing));
    EXPECT_EQ(maskSize, 48);
    RegionHandle previous(::CreateRectRgn(10, 20, 110, 120));
    ASSERT_TRUE(viewRegion.valid());
    EXPECT_TRUE(::EqualRgn(viewRegion.get(), previous.get()));
    EXPECT_TRUE(TempFolder::List(folder.path()).empty());
}

// Every load that fails leaves no region and "Mask Size" 0, and says nothing
// (each damaged header word: RegionDataTest).
TEST_F(MaskFileTest, MissingDamagedOrMismatchedFilesLeaveNoRegion) {
    MessageBoxWatcher watcher;
    const auto patched = [](std::string bytes, std::size_t at, char value) {
        bytes[at] = value;
        return bytes;
    };
    struct Case {
        std::string what;
        std::optional<std::string> file;  // none: no file at all
        std::optional<int32_t> maskSize;  // none: the file's length
    };
    std::vector<Case> cases = {
        {"mask size zero", kOneRect, 0},
        {"missing file", std::nullopt, 48},
        {"count wraps", patched(kTwoRects, 11, '\x10'), std::nullopt},    // 0x10000002 rectangles
        {"inverted rectangle", patched(kTwoRects, 40, 5), std::nullopt},  // right edge left of left
        {"mask size 64 of a longer file", kOneRect + kOneRect, 64},
    };
    for (std::size_t cut : {0, 47})
        cases.push_back({"file cut to " + std::to_string(cut), kOneRect.substr(0, cut), 48});
    for (int32_t size : {-48, 47, 49, INT32_MIN})  // what is plausible: RegionDataTest
        cases.push_back({"mask size " + std::to_string(size), kOneRect, size});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ::DeleteFileA(path.c_str());
        if (c.file) {
            ASSERT_TRUE(WriteRaw(path, *c.file));
        }
        viewRegion.reset(::CreateRectRgn(0, 0, 5, 5));
        maskSize = c.maskSize ? *c.maskSize : static_cast<int32_t>(c.file->size());
        EXPECT_FALSE(LoadMask(path, viewRegion, maskSize));
        EXPECT_FALSE(viewRegion.valid());
        EXPECT_EQ(maskSize, 0);
    }
    // The intact files load, also when "Mask Size" reads only the first of two copies.
    for (const auto& [file, size] :
         {std::pair{kTwoRects, 64}, std::pair{kOneRect + kOneRect, 48}}) {
        ASSERT_TRUE(WriteRaw(path, file));
        maskSize = size;
        EXPECT_TRUE(LoadMask(path, viewRegion, maskSize)) << size;
        EXPECT_TRUE(viewRegion.valid());
    }
    EXPECT_TRUE(watcher.Boxes().empty());
}
