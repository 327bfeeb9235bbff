// Which language file a run uses; the lookups in it are tested with the
// dialogs' texts (DialogTextTest).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/win/support/TestFiles.h"
#include "view/Language.h"

TEST(Language, NamedFileWhenItIsAFileElseDefault) {
    TempFolder folder;
    const std::string program = folder.path() + "\\";
    const std::string lang = program + "resources\\Lang\\";
    folder.Write("resources\\Lang\\Deutsch.ini", "[167]\r\n167=Kamerawinkel\r\n");
    folder.Write("resources\\Lang\\Odd.ini\\inside.txt", "x");
    const struct {
        std::string programFolder, name, expected;
    } cases[] = {{program, "Deutsch.ini", lang + "Deutsch.ini"},
                 {folder.path(), "Deutsch.ini", lang + "Deutsch.ini"},  // no trailing backslash
                 {program, "Klingon.ini", lang + "Default.ini"},        // whether it exists or not
                 {program, "", lang + "Default.ini"},                   // not the folder itself
                 {program, "Odd.ini", lang + "Default.ini"}};           // a folder of that name
    for (const auto& c : cases)
        EXPECT_EQ(ResolveLanguageFile(c.programFolder, c.name), c.expected) << c.name;
    // Names are not case-sensitive.
    EXPECT_EQ(LookupText(ResolveLanguageFile(program, "DEUTSCH.INI"), 167, 167, "Camera Angle"),
              "Kamerawinkel");
}
