// The calibration check on real files; the rules on the bytes are tested
// natively (CalibrationFormatTest).
#include "settings/CalibrationCheck.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/File.h"
#include "framework/Handles.h"
#include "tests/win/support/TestFiles.h"

using settings::CheckCalibrationData;

namespace {

struct Shown {
    std::string text;
    UINT type;
};
std::vector<Shown> g_shown;

int Record(const char* text, UINT type) {
    g_shown.push_back({text, type});
    return IDOK;
}

std::string CoeFile(float version, std::size_t size) {
    std::string bytes(size, '\x5A');
    if (size >= 4) std::memcpy(bytes.data(), &version, 4);
    return bytes;
}

class CalibrationCheckTest : public ::testing::Test {
  protected:
    void SetUp() override { g_shown.clear(); }
    BOOL Check(const std::string& file) { return CheckCalibrationData(file, &Record); }
    TempFolder folder;
    std::string path = folder.File("stereo.coe");
};

}  // namespace

TEST_F(CalibrationCheckTest, GoodFilePassesOtherSizesAndMissingFilesFailSilently) {
    ASSERT_TRUE(WriteRaw(path, CoeFile(2.0f, 272)));
    EXPECT_TRUE(Check(path));
    ASSERT_TRUE(WriteRaw(path, CoeFile(2.0f, 271)));  // the sizes: CalibrationFormatTest
    EXPECT_FALSE(Check(path));
    for (const std::string& missing :
         {folder.File("none.coe"), folder.File("gone\\none.coe"), folder.path(), std::string()})
        EXPECT_FALSE(Check(missing)) << missing;
    EXPECT_TRUE(g_shown.empty());
}

TEST_F(CalibrationCheckTest, AFileThatCannotBeOpenedShowsTheSystemsReason) {
    ASSERT_TRUE(WriteRaw(path, CoeFile(2.0f, 272)));
    FileHandle held(::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held.valid());
    EXPECT_FALSE(Check(path));
    ASSERT_EQ(g_shown.size(), 1u);
    CFileException sharing;
    sharing.m_lOsError = ERROR_SHARING_VIOLATION;
    const std::string reason = sharing.GetErrorMessage(1024);
    ASSERT_FALSE(reason.empty());
    EXPECT_EQ(g_shown[0].text, "Can't open file: " + reason);
    EXPECT_EQ(g_shown[0].type, UINT{MB_OK | MB_ICONERROR});
    held.reset();
    EXPECT_TRUE(Check(path));  // the same file passes once the other handle is gone
}
