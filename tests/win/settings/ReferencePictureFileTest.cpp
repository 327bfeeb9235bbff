// The reference picture on real files; the header rules are tested natively
// (ReferencePictureTest).
#include "settings/ReferencePictureFile.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "tests/win/support/MessageBoxWatcher.h"
#include "settings/SettingsPaths.h"
#include "tests/win/support/TestFiles.h"

using namespace settings;

namespace {

// The reference buffer with guard bytes behind it: a read past the 230400
// bytes would change them.
struct GuardedBuffer {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(kReferencePixelBytes + 256, 0xA5);
    ReferencePixels pixels() { return ReferencePixels(bytes.data(), kReferencePixelBytes); }
    bool GuardIntact() const {
        return std::all_of(bytes.begin() + kReferencePixelBytes, bytes.end(),
                           [](uint8_t b) { return b == 0xA5; });
    }
    bool Black() const {
        return std::all_of(bytes.begin(), bytes.begin() + kReferencePixelBytes,
                           [](uint8_t b) { return b == 0; });
    }
    std::vector<uint8_t> Picture() const {
        return std::vector<uint8_t>(bytes.begin(), bytes.begin() + kReferencePixelBytes);
    }
};

void Put32(std::string& file, std::size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<char>(value >> (8 * i));
}

class ReferencePictureFileTest : public ::testing::Test {
  protected:
    ReferencePictureFileTest() {
        for (std::size_t i = 0; i < pattern.size(); ++i) pattern[i] = static_cast<uint8_t>(i % 251);
    }
    std::string StoredFile() {
        EXPECT_TRUE(StoreReferencePicture(
            path, ConstReferencePixels(pattern.data(), kReferencePixelBytes)));
        return ReadRaw(path);
    }

    TempFolder folder;
    std::string path = ReferencePicturePath(folder.path(), 3);
    std::vector<uint8_t> pattern = std::vector<uint8_t>(kReferencePixelBytes);
};

}  // namespace

TEST_F(ReferencePictureFileTest, WritesTheHeaderAndThePixelsAndReadsThemBack) {
    const std::string file = StoredFile();
    EXPECT_TRUE(path.ends_with("\\VImage03.bmp"));
    ASSERT_EQ(file.size(), 230454u);
    const auto header = EncodeReferenceHeader();
    EXPECT_EQ(std::memcmp(file.data(), header.data(), header.size()), 0);
    EXPECT_EQ(std::memcmp(file.data() + 54, pattern.data(), pattern.size()), 0);
    GuardedBuffer buffer;
    EXPECT_TRUE(LoadReferencePicture(path, buffer.pixels()));
    EXPECT_EQ(buffer.Picture(), pattern);
    EXPECT_TRUE(buffer.GuardIntact());
}

TEST_F(ReferencePictureFileTest, ALargerImageSizeNeverReadsPastTheBuffer) {
    std::string file = StoredFile();
    Put32(file, 34, 0x7FFFFFFFu);
    file += std::string(64 * 1024, '\x33');
    ASSERT_TRUE(WriteRaw(path, file));
    GuardedBuffer buffer;
    EXPECT_TRUE(LoadReferencePicture(path, buffer.pixels()));
    EXPECT_EQ(buffer.Picture(), pattern);
    EXPECT_TRUE(buffer.GuardIntact());
}

// Which headers are refused is ReferencePictureTest's; on disk, a cut file
// and a missing one load as a black picture, silently.
TEST_F(ReferencePictureFileTest, ShortAndMissingFilesAreBlack) {
    MessageBoxWatcher watcher;
    const std::string good = StoredFile();
    for (const std::string& bytes : {std::string(), good.substr(0, good.size() - 1)}) {
        ASSERT_TRUE(WriteRaw(path, bytes));
        GuardedBuffer buffer;
        EXPECT_FALSE(LoadReferencePicture(path, buffer.pixels())) << bytes.size();
        EXPECT_TRUE(buffer.Black()) << bytes.size();
        EXPECT_TRUE(buffer.GuardIntact()) << bytes.size();
    }
    GuardedBuffer buffer;
    EXPECT_FALSE(LoadReferencePicture(folder.File("none.bmp"), buffer.pixels()));
    EXPECT_TRUE(buffer.Black());
    EXPECT_TRUE(watcher.Boxes().empty());
}

TEST_F(ReferencePictureFileTest, AFolderThatDoesNotExistIsNotWritten) {
    const std::string missing = ReferencePicturePath(folder.File("gone"), 3);
    EXPECT_FALSE(
        StoreReferencePicture(missing, ConstReferencePixels(pattern.data(), kReferencePixelBytes)));
    EXPECT_TRUE(TempFolder::List(folder.path()).empty());
}
