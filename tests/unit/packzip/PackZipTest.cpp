// The release packer; that a second build packs the same bytes is checked by
// scripts/test, and that the archive unpacks into a program that runs by the
// end-to-end ReleaseArchive tests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/packzip/PackZip.h"

namespace {

TEST(PackZip, Crc32IsTheZipChecksum) {
    const std::string check = "123456789";
    EXPECT_EQ(packzip::Crc32(reinterpret_cast<const unsigned char*>(check.data()), check.size()),
              0xCBF43926u);
}

TEST(PackZip, AMissingFolderIsRefused) {
    std::vector<packzip::Entry> entries;
    std::string error;
    EXPECT_FALSE(packzip::ReadFolder("/nonexistent/program-folder", entries, error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
