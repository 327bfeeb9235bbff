// The release archive: the same bytes for the same files whatever their
// times, and an archive that an ordinary unpacker restores exactly.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tools/packzip/PackZip.h"

namespace fs = std::filesystem;

namespace {

fs::path NewFolder(const std::string& tag) {
    const fs::path path =
        fs::temp_directory_path() /
        ("packzip-" + tag + "-" +
         std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
         std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(path);
    return path;
}

void Write(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(PackZip, Crc32IsTheZipChecksum) {
    const std::string check = "123456789";
    EXPECT_EQ(packzip::Crc32(reinterpret_cast<const unsigned char*>(check.data()), check.size()),
              0xCBF43926u);
}

TEST(PackZip, SameFilesGiveTheSameBytesAndUnpackAsTheyWere) {
    const fs::path folder = NewFolder("in");
    const std::string binary("\x00\xff\x10\r\n", 5);
    Write(folder / "TallyscopeSettingApp.exe", binary + std::string(70000, 'x'));
    Write(folder / "resources" / "Lang" / "English.ini", "[Menu]\r\n0=General Settings\r\n");
    Write(folder / "resources" / "Layout.ini", "");

    auto pack = [&] {
        std::vector<packzip::Entry> entries;
        std::string error;
        EXPECT_TRUE(packzip::ReadFolder(folder.string(), entries, error)) << error;
        return packzip::BuildArchive(entries);
    };
    const auto first = pack();
    ASSERT_FALSE(first.empty());
    fs::last_write_time(
        folder / "resources" / "Layout.ini",
        fs::last_write_time(folder / "resources" / "Layout.ini") + std::chrono::hours(5));
    EXPECT_EQ(pack(), first);

    const fs::path archive = NewFolder("zip") / "program.zip";
    std::ofstream(archive, std::ios::binary)
        .write(reinterpret_cast<const char*>(first.data()),
               static_cast<std::streamsize>(first.size()));
    const fs::path out = NewFolder("out");
    const std::string command =
        "cd \"" + out.string() + "\" && cmake -E tar xf \"" + archive.string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(Read(out / "TallyscopeSettingApp.exe"), binary + std::string(70000, 'x'));
    EXPECT_EQ(Read(out / "resources" / "Lang" / "English.ini"), "[Menu]\r\n0=General Settings\r\n");
    EXPECT_TRUE(fs::exists(out / "resources" / "Layout.ini"));
    EXPECT_EQ(fs::file_size(out / "resources" / "Layout.ini"), 0u);
    for (const fs::path& p : {folder, archive.parent_path(), out}) fs::remove_all(p);
}

TEST(PackZip, AMissingFolderIsRefused) {
    std::vector<packzip::Entry> entries;
    std::string error;
    EXPECT_FALSE(packzip::ReadFolder("/nonexistent/program-folder", entries, error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
