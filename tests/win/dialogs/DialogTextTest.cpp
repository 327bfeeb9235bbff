#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "dialogs/DialogText.h"
#include "framework/Dialog.h"
#include "res/Resource.h"
#include "tests/win/support/UiTest.h"

namespace {

std::string WindowText(HWND wnd) {
    char text[512] = {};
    ::GetWindowTextA(wnd, text, sizeof text);
    return text;
}

}  // namespace

TEST(DialogText, FoundValuesEmptyValuesAndBuiltInTexts) {
    TempFolder folder;
    std::string alphabet;
    for (int i = 0; i < 300; ++i) alphabet += static_cast<char>('a' + i % 26);
    const std::string file =
        folder.Write("resources\\Lang\\Test.ini",
                     "[167]\r\n1005=Berechnen\r\n1015=\r\n[Unit]\r\n0=Zentimeter\r\n"
                     "[177]\r\n1=" +
                         alphabet + "\r\n3=" + alphabet.substr(0, 259) + "\r\n");
    const std::string none = folder.File("none.ini");
    const struct {
        std::string file, section, key, builtIn, expected;
    } cases[] = {{file, "167", "1005", "Calculate", "Berechnen"},
                 {file, "167", "1004", "Height", "Height"},                 // missing key
                 {file, "168", "1005", "Calculate", "Calculate"},           // missing section
                 {file, "167", "1015", "The result never be stored!", ""},  // empty value
                 {file, "Unit", "0", "cm", "Zentimeter"},
                 {file, "Unit", "1", "inch", "inch"},
                 {file, "177", "1", "ROI Distance", alphabet.substr(0, 259)},  // cut to 259
                 {file, "177", "3", "", alphabet.substr(0, 259)},        // 259 come back whole
                 {file, "177", "2", alphabet, alphabet.substr(0, 259)},  // so is a built-in text
                 {none, "177", "0", "Matching Failed!", "Matching Failed!"},
                 // A name without a folder would be looked for in the system folder: refused.
                 {"win.ini", "windows", "load", "built-in", "built-in"}};
    for (const auto& c : cases) {
        EXPECT_EQ(LookupText(c.file, c.section, c.key, c.builtIn), c.expected)
            << c.section << "/" << c.key;
    }
    EXPECT_EQ(LookupText(file, 167, 1005, "Calculate"), "Berechnen");
}

TEST(DialogText, FontSizeIsReadWithItsDefault) {
    TempFolder folder;
    const struct {
        const char* file;
        int expected;
    } cases[] = {
        {"[Common]\r\nFontSize=16\r\n", 16},  {"[Common]\r\nFontSize=14px\r\n", 14},
        {"[Other]\r\nFontSize=16\r\n", 12},   {"[Common]\r\nFontSize=200\r\n", 200},
        {"[Common]\r\nFontSize=1\r\n", 1},    {"[Common]\r\nFontSize=0\r\n", 12},
        {"[Common]\r\nFontSize=-5\r\n", 12},  {"[Common]\r\nFontSize=5000\r\n", 12},
        {"[Common]\r\nFontSize=abc\r\n", 12}, {"[Common]\r\nFontSize=99999999999\r\n", 12}};
    for (const auto& c : cases)
        EXPECT_EQ(LookupFontSize(folder.Write("Lang.ini", c.file)), c.expected) << c.file;
    EXPECT_EQ(LookupFontSize(folder.File("none.ini")), 12);
}

TEST(DialogText, DialogTitleAndControlsTakeTheirTexts) {
    TempFolder folder;
    CDialog dialog(IDD_ABOUTBOX);
    const std::string none = folder.File("none.ini");
    ApplyDialogTexts(dialog, none, IDD_ABOUTBOX, {{IDOK, "Ok"}}, "About");  // no window, no harm
    ASSERT_TRUE(dialog.Create(IDD_ABOUTBOX, &uitest::HostWindow()));
    const std::string file = folder.Write("Test.ini", "[182]\r\n182=Info\r\n1070=\r\n");
    ApplyDialogTexts(dialog, file, IDD_ABOUTBOX, {{IDC_ABOUT_WEB, "web"}, {IDOK, "Ok"}},
                     "About Tallyscope");
    EXPECT_EQ(WindowText(dialog.m_hWnd), "Info");
    EXPECT_EQ(WindowText(dialog.GetDlgItem(IDC_ABOUT_WEB)), "") << "an empty value stays empty";
    EXPECT_EQ(WindowText(dialog.GetDlgItem(IDOK)), "Ok") << "built-in text";
}
