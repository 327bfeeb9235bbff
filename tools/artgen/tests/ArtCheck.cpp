// Checks of the committed skin, layout and resource pictures: the generator still produces
// exactly the committed bytes (so the shipped files are the generator's, whatever the change),
// and its bitmaps are drawn by GDI+ at their natural size. How the pictures and the layout look
// to a user is the Windows and end-to-end tests' (the view's layout, the arrows, the buttons).
#include <string>

#include <gtest/gtest.h>

#include "FileCheck.h"
#include "tools/artgen/Artwork.h"

namespace artcheck {
namespace {

TEST(Regeneration, GeneratorReproducesEveryCommittedFile) {
    const auto files = artgen::GenerateAll();
    ASSERT_FALSE(files.empty());
    for (const auto& file : files) {
        const auto committed = ReadRepoFile(file.path);
        ASSERT_TRUE(committed.has_value()) << file.path << " is not committed; run artgen";
        EXPECT_TRUE(*committed == file.bytes)
            << file.path << " differs from what artgen draws; run artgen";
    }
}

TEST(Regeneration, BitmapsLeaveTheirResolutionUnspecified) {
    // GDI+ takes an unspecified resolution as exactly 96 dpi; any stored value (3780 per metre is
    // 96.01 dpi) would make a picture drawn at its natural size come out rescaled.
    for (const auto& file : artgen::GenerateAll()) {
        if (file.path.size() < 4 || file.path.substr(file.path.size() - 4) != ".bmp") continue;
        const auto bytes = ReadRepoFile(file.path);
        ASSERT_TRUE(bytes.has_value()) << file.path;
        ASSERT_GE(bytes->size(), 54u) << file.path;
        EXPECT_EQ(I32(*bytes, 38), 0) << file.path;
        EXPECT_EQ(I32(*bytes, 42), 0) << file.path;
    }
}

}  // namespace
}  // namespace artcheck
