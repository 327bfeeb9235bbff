#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/win/support/UiTest.h"
#include "view/Language.h"

namespace {

// A program folder of its own with a language folder below it.
class LanguageTest : public ::testing::Test {
  protected:
    std::string LangFile(const std::string& name, const std::string& text) {
        return folder.Write("resources\\Lang\\" + name, text);
    }
    std::string Expected(const std::string& name) const {
        return folder.path() + "resources\\Lang\\" + name;
    }

    uitest::TempFolder folder;
};

const char kDeutsch[] =
    "[167]\r\n167=Kamerawinkel\r\n1005=Berechnen\r\n[Common]\r\nFontSize=16\r\n";
const char kDefault[] = "[167]\r\n1005=Calculate (default file)\r\n";

}  // namespace

TEST_F(LanguageTest, NamedFileIsUsedWhenItExists) {
    LangFile("Deutsch.ini", kDeutsch);
    LangFile("Default.ini", kDefault);
    const std::string path = ResolveLanguageFile(folder.path(), "Deutsch.ini");
    EXPECT_EQ(path, Expected("Deutsch.ini"));
    EXPECT_EQ(LookupText(path, 167, 1005, "Calculate"), "Berechnen");
    EXPECT_EQ(LookupFontSize(path), 16);
}

TEST_F(LanguageTest, MissingFileFallsBackToDefault) {
    LangFile("Default.ini", kDefault);
    const std::string path = ResolveLanguageFile(folder.path(), "Klingon.ini");
    EXPECT_EQ(path, Expected("Default.ini"));
    EXPECT_EQ(LookupText(path, 167, 1005, "Calculate"), "Calculate (default file)");
}

TEST_F(LanguageTest, NeitherFileGivesBuiltInTexts) {
    const std::string path = ResolveLanguageFile(folder.path(), "Deutsch.ini");
    EXPECT_EQ(path, Expected("Default.ini"));
    EXPECT_EQ(LookupText(path, 167, 1005, "Calculate"), "Calculate");
    EXPECT_EQ(LookupText(path, "Menu", "3", ""), "");
    EXPECT_EQ(LookupFontSize(path), 12);
}

TEST_F(LanguageTest, EmptyNameIsNotTheFolder) {
    LangFile("Default.ini", kDefault);
    EXPECT_EQ(ResolveLanguageFile(folder.path(), ""), Expected("Default.ini"));
}

TEST_F(LanguageTest, AFolderOfThatNameIsNoLanguageFile) {
    LangFile("Default.ini", kDefault);
    LangFile("Odd.ini\\inside.txt", "x");
    EXPECT_EQ(ResolveLanguageFile(folder.path(), "Odd.ini"), Expected("Default.ini"));
}

TEST_F(LanguageTest, ProgramFolderWithoutTrailingBackslash) {
    LangFile("Deutsch.ini", kDeutsch);
    std::string bare = folder.path();
    bare.pop_back();
    EXPECT_EQ(ResolveLanguageFile(bare, "Deutsch.ini"), Expected("Deutsch.ini"));
}

TEST_F(LanguageTest, NamesAreNotCaseSensitive) {
    LangFile("Deutsch.ini", kDeutsch);
    const std::string path = ResolveLanguageFile(folder.path(), "DEUTSCH.INI");
    EXPECT_EQ(LookupText(path, 167, 167, "Camera Angle"), "Kamerawinkel");
    EXPECT_EQ(LookupText(path, "common", "fontsize", "?"), "16");
}
