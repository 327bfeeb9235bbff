#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/Handles.h"
#include "hostlink/HostMessages.h"
#include "hostlink/SharedBlock.h"

using namespace hostlink;

namespace {

std::vector<std::string> g_shown;

void CaptureText(const char* text) {
    g_shown.emplace_back(text);
}

// Captures failure texts instead of showing message boxes, and gives every
// test mapping names of its own: Wine shares named objects between all
// processes of the prefix, including the stand-in host's tests.
class SharedBlockTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_shown.clear();
        SetBlockFailureSink(&CaptureText);
    }
    void TearDown() override { SetBlockFailureSink(nullptr); }

    static std::string UniqueName(const char* what) {
        static int counter = 0;
        return std::string("hostlink_test_") + what + "_" +
               std::to_string(::GetCurrentProcessId()) + "_" + std::to_string(++counter);
    }

    // What the host does: create the named mapping with `bytes` bytes.
    static KernelHandle CreateMapping(const std::string& name, DWORD bytes) {
        return KernelHandle(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                 bytes, name.c_str()));
    }
};

constexpr const char* kText = "Can't Open Shared Memory for Reading Image!";

}  // namespace

TEST_F(SharedBlockTest, MissingBlockShowsItsMessageOnEveryAttemptUntilTheHostCreatesIt) {
    const std::string name = UniqueName("late");
    SharedBlock block(name.c_str(), kText);
    for (int attempt = 0; attempt < 3; ++attempt) {
        EXPECT_EQ(block.Open(kCameraAngleBlockBytes), nullptr);
        EXPECT_FALSE(block.IsOpen());
    }
    EXPECT_EQ(g_shown, std::vector<std::string>(3, kText));
    EXPECT_EQ(block.MappedBytes(), 0u);
    EXPECT_EQ(block.RegionBytes(), 0u);

    KernelHandle host = CreateMapping(name, 12);
    ASSERT_TRUE(host.valid());
    MappedView hostView(::MapViewOfFile(host.get(), FILE_MAP_ALL_ACCESS, 0, 0, 12));
    ASSERT_TRUE(hostView.valid());
    const float angles[3] = {0.1f, -1.5f, 2.25f};
    std::memcpy(hostView.get(), angles, sizeof angles);

    unsigned char* data = block.Open(kCameraAngleBlockBytes);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(g_shown.size(), 3u);  // no new message
    EXPECT_TRUE(block.IsOpen());
    EXPECT_EQ(block.MappedBytes(), 12u);
    EXPECT_GE(block.RegionBytes(), 12u);
    float read[3];
    std::memcpy(read, data, sizeof read);
    EXPECT_EQ(read[1], -1.5f);

    // Writes through the block reach the host's view of the same memory.
    data[0] = 0x7E;
    EXPECT_EQ(static_cast<unsigned char*>(hostView.get())[0], 0x7E);
}

TEST_F(SharedBlockTest, OpenIsOnceAndKeepsTheFirstSize) {
    const std::string name = UniqueName("once");
    KernelHandle host = CreateMapping(name, 2 * 230400);
    ASSERT_TRUE(host.valid());
    SharedBlock block(name.c_str(), kText);
    unsigned char* first = block.Open(230400);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(block.Open(2 * 230400), first);  // no re-map on a larger request
    EXPECT_EQ(block.MappedBytes(), 230400u);
    EXPECT_GE(block.RegionBytes(), 230400u);
    EXPECT_TRUE(g_shown.empty());
}

// Asking for more than the host's mapping holds fails in MapViewOfFile; zero
// bytes would map everything: both count as not opened, and the next attempt
// starts afresh.
TEST_F(SharedBlockTest, TooManyOrZeroBytesCountAsNotOpened) {
    const std::string name = UniqueName("small");
    KernelHandle host = CreateMapping(name, 4096);
    ASSERT_TRUE(host.valid());
    SharedBlock block(name.c_str(), kText);
    EXPECT_EQ(block.Open(16 * 1024 * 1024), nullptr);
    EXPECT_FALSE(block.IsOpen());
    EXPECT_EQ(block.Open(0), nullptr);
    EXPECT_EQ(g_shown, std::vector<std::string>(2, kText));
    ASSERT_NE(block.Open(4096), nullptr);
    EXPECT_EQ(block.MappedBytes(), 4096u);
    EXPECT_EQ(g_shown.size(), 2u);
}

TEST_F(SharedBlockTest, ReleaseUnmapsAndALaterOpenMapsAgain) {
    const std::string name = UniqueName("release");
    KernelHandle host = CreateMapping(name, 32);
    ASSERT_TRUE(host.valid());
    SharedBlock block(name.c_str(), kText);
    unsigned char* data = block.Open(32);
    ASSERT_NE(data, nullptr);
    data[5] = 42;
    block.Release();
    EXPECT_FALSE(block.IsOpen());
    EXPECT_EQ(block.Data(), nullptr);
    EXPECT_EQ(block.MappedBytes(), 0u);
    // The released address no longer belongs to a committed mapping.
    MEMORY_BASIC_INFORMATION info{};
    ASSERT_EQ(::VirtualQuery(data, &info, sizeof info), sizeof info);
    EXPECT_NE(info.State, static_cast<DWORD>(MEM_COMMIT));
    block.Release();  // twice is harmless

    unsigned char* again = block.Open(32);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again[5], 42);  // the host's mapping kept the byte
    EXPECT_TRUE(g_shown.empty());
}

TEST_F(SharedBlockTest, EachBlockSaysItsOwnMessageWhenMissing) {
    const std::pair<HostBlock, const char*> cases[] = {
        {HostBlock::Image, "Can't Open Shared Memory for Reading Image!"},
        {HostBlock::RectImage, "Can't Open Shared Memory for Reading Image!"},
        {HostBlock::PatternFeature, "Can't Open Shared Memory for Writting Pattern Features!"},
        {HostBlock::CountingLine, "Can't Open Shared Memory for Reading 3D Counting Line!"},
        {HostBlock::CameraAngle, "Can't Open Shared Memory for Reading Camera Angle!"}};
    for (const auto& [block, failure] : cases)
        EXPECT_STREQ(SharedBlock(block).FailureText(), failure);
}
