#include "settings/ReferencePictureFile.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "MessageBoxWatcher.h"
#include "TestFiles.h"
#include "settings/SettingsPaths.h"

using namespace settings;

namespace {

constexpr std::size_t kGuard = 256;

// The reference buffer with guard bytes behind it: a read past the 230400
// bytes would change them.
struct GuardedBuffer {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(kReferencePixelBytes + kGuard, 0xA5);
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

std::vector<uint8_t> Pattern() {
    std::vector<uint8_t> pixels(kReferencePixelBytes);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i % 251);
    return pixels;
}

void Put32(std::string& file, std::size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<char>(value >> (8 * i));
}

class ReferencePictureFileTest : public ::testing::Test {
  protected:
    TempFolder folder;
    std::string path = ReferencePicturePath(folder.path(), 3);
    std::vector<uint8_t> pattern = Pattern();

    std::string StoredFile() {
        EXPECT_TRUE(StoreReferencePicture(
            path, ConstReferencePixels(pattern.data(), kReferencePixelBytes)));
        return ReadRaw(path);
    }
};

}  // namespace

TEST_F(ReferencePictureFileTest, WritesTheHeaderTableAndThePixels) {
    const std::string file = StoredFile();
    ASSERT_EQ(file.size(), 230454u);
    const auto header = EncodeReferenceHeader();
    EXPECT_EQ(std::memcmp(file.data(), header.data(), header.size()), 0);
    EXPECT_EQ(file.substr(0, 2), "BM");
    EXPECT_EQ(std::memcmp(file.data() + 54, pattern.data(), pattern.size()), 0);
    EXPECT_TRUE(path.ends_with("\\VImage03.bmp"));
}

TEST_F(ReferencePictureFileTest, ReadsBackWhatItWrote) {
    StoredFile();
    GuardedBuffer buffer;
    EXPECT_TRUE(LoadReferencePicture(path, buffer.pixels()));
    EXPECT_EQ(buffer.Picture(), pattern);
    EXPECT_TRUE(buffer.GuardIntact());
}

TEST_F(ReferencePictureFileTest, ImageSizeZeroReads230400Bytes) {
    std::string file = StoredFile();
    Put32(file, 34, 0);
    ASSERT_TRUE(WriteRaw(path, file));
    GuardedBuffer buffer;
    EXPECT_TRUE(LoadReferencePicture(path, buffer.pixels()));
    EXPECT_EQ(buffer.Picture(), pattern);
}

TEST_F(ReferencePictureFileTest, OtherDepthOrSizeIsBlack) {
    const std::string good = StoredFile();
    struct Change {
        std::size_t at;
        uint32_t value;
    };
    for (const Change change : {Change{28, 32}, Change{18, 640}, Change{22, 480}}) {
        std::string file = good;
        if (change.at == 28) {
            file[28] = static_cast<char>(change.value);
        } else {
            Put32(file, change.at, change.value);
        }
        ASSERT_TRUE(WriteRaw(path, file));
        GuardedBuffer buffer;
        EXPECT_FALSE(LoadReferencePicture(path, buffer.pixels())) << change.at;
        EXPECT_TRUE(buffer.Black());
        EXPECT_TRUE(buffer.GuardIntact());
    }
    // A real 640 x 480 file, 32 bits.
    std::string big = good.substr(0, 54);
    Put32(big, 18, 640);
    Put32(big, 22, 480);
    big[28] = 32;
    Put32(big, 34, 640 * 480 * 4);
    big += std::string(640 * 480 * 4, '\x7f');
    ASSERT_TRUE(WriteRaw(path, big));
    GuardedBuffer buffer;
    EXPECT_FALSE(LoadReferencePicture(path, buffer.pixels()));
    EXPECT_TRUE(buffer.Black());
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

TEST_F(ReferencePictureFileTest, ShortOrMissingFilesAreBlack) {
    MessageBoxWatcher watcher;
    const std::string good = StoredFile();
    for (std::size_t size : {std::size_t{0}, std::size_t{20}, std::size_t{54}, good.size() - 1}) {
        ASSERT_TRUE(WriteRaw(path, good.substr(0, size)));
        GuardedBuffer buffer;
        EXPECT_FALSE(LoadReferencePicture(path, buffer.pixels())) << size;
        EXPECT_TRUE(buffer.Black()) << size;
    }
    GuardedBuffer buffer;
    EXPECT_FALSE(LoadReferencePicture(folder.File("none.bmp"), buffer.pixels()));
    EXPECT_TRUE(buffer.Black());
    EXPECT_TRUE(watcher.Boxes().empty());
}

TEST_F(ReferencePictureFileTest, AFolderThatDoesNotExistIsNotWritten) {
    const std::string missing = ReferencePicturePath(folder.path() + "\\gone", 3);
    EXPECT_FALSE(
        StoreReferencePicture(missing, ConstReferencePixels(pattern.data(), kReferencePixelBytes)));
    EXPECT_TRUE(TempFolder::List(folder.path()).empty());
}
