#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "dialogs/DialogText.h"
#include "framework/Dialog.h"
#include "res/Resource.h"
#include "tests/win/support/UiTest.h"

namespace {

class DialogTextTest : public ::testing::Test {
  protected:
    std::string Language(const std::string& text) {
        return folder.Write("resources\\Lang\\Test.ini", text);
    }

    uitest::TempFolder folder;
};

std::string WindowText(HWND wnd) {
    char text[512] = {};
    ::GetWindowTextA(wnd, text, sizeof text);
    return text;
}

}  // namespace

TEST_F(DialogTextTest, FoundValuesAndBuiltInDefaults) {
    const std::string file =
        Language("[167]\r\n1005=Berechnen\r\n1015=\r\n[Unit]\r\n0=Zentimeter\r\n");
    EXPECT_EQ(LookupText(file, 167, 1005, "Calculate"), "Berechnen");
    EXPECT_EQ(LookupText(file, "167", "1005", "Calculate"), "Berechnen");
    EXPECT_EQ(LookupText(file, 167, 1004, "Height"), "Height") << "missing key";
    EXPECT_EQ(LookupText(file, 168, 1005, "Calculate"), "Calculate") << "missing section";
    EXPECT_EQ(LookupText(file, "Unit", "0", "cm"), "Zentimeter");
    EXPECT_EQ(LookupText(file, "Unit", "1", "inch"), "inch");
}

TEST_F(DialogTextTest, EmptyValueGivesEmptyText) {
    const std::string file = Language("[167]\r\n1015=\r\n");
    EXPECT_EQ(LookupText(file, 167, 1015, "The result never be stored!"), "");
}

TEST_F(DialogTextTest, MissingFileGivesBuiltInText) {
    EXPECT_EQ(LookupText(folder.path() + "none.ini", 177, 0,
                         "Matching Failed! Please select a new test region."),
              "Matching Failed! Please select a new test region.");
    // A name without a folder would be looked for in the system folder: refused.
    EXPECT_EQ(LookupText("win.ini", "windows", "load", "built-in"), "built-in");
}

TEST_F(DialogTextTest, LongValuesAreCutTo259Characters) {
    std::string value;
    for (int i = 0; i < 300; ++i) value += static_cast<char>('a' + i % 26);
    const std::string file = Language("[177]\r\n1=" + value + "\r\n");
    const std::string got = LookupText(file, 177, 1, "ROI Distance");
    EXPECT_EQ(got.size(), kMaxLanguageText);
    EXPECT_EQ(got, value.substr(0, 259));
    // A built-in text is cut the same way.
    EXPECT_EQ(LookupText(file, 177, 2, value).size(), kMaxLanguageText);
    // Exactly 259 characters come back whole.
    const std::string exact = value.substr(0, 259);
    const std::string exactFile = Language("[177]\r\n1=" + exact + "\r\n");
    EXPECT_EQ(LookupText(exactFile, 177, 1, ""), exact);
}

TEST_F(DialogTextTest, FontSizeIsReadWithItsDefault) {
    EXPECT_EQ(LookupFontSize(Language("[Common]\r\nFontSize=16\r\n")), 16);
    EXPECT_EQ(LookupFontSize(Language("[Common]\r\nFontSize=14px\r\n")), 14);
    EXPECT_EQ(LookupFontSize(Language("[Other]\r\nFontSize=16\r\n")), 12);
    EXPECT_EQ(LookupFontSize(folder.path() + "none.ini"), 12);
}

TEST_F(DialogTextTest, AbsurdFontSizesGiveTheDefault) {
    for (const char* bad : {"0", "-5", "5000", "abc", "99999999999"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(LookupFontSize(Language(std::string("[Common]\r\nFontSize=") + bad + "\r\n")),
                  12);
    }
    EXPECT_EQ(LookupFontSize(Language("[Common]\r\nFontSize=200\r\n")), 200);
    EXPECT_EQ(LookupFontSize(Language("[Common]\r\nFontSize=1\r\n")), 1);
}

TEST_F(DialogTextTest, DialogTitleAndControlsTakeTheirTexts) {
    CDialog dialog(IDD_ABOUTBOX);
    ASSERT_TRUE(dialog.Create(IDD_ABOUTBOX, &uitest::HostWindow()));
    const std::string file = Language("[182]\r\n182=Info\r\n1070=\r\n");
    ApplyDialogTexts(dialog, file, IDD_ABOUTBOX, {{IDC_ABOUT_WEB, "web"}, {IDOK, "Ok"}},
                     "About Tallyscope");
    EXPECT_EQ(WindowText(dialog.m_hWnd), "Info");
    EXPECT_EQ(WindowText(dialog.GetDlgItem(IDC_ABOUT_WEB)), "") << "an empty value stays empty";
    EXPECT_EQ(WindowText(dialog.GetDlgItem(IDOK)), "Ok") << "built-in text";

    // Without a language file every text is the built-in one.
    ApplyDialogTexts(dialog, folder.path() + "none.ini", IDD_ABOUTBOX,
                     {{IDC_ABOUT_WEB, "http://www.example.com/tallyscope"}}, "About Tallyscope");
    EXPECT_EQ(WindowText(dialog.m_hWnd), "About Tallyscope");
    EXPECT_EQ(WindowText(dialog.GetDlgItem(IDC_ABOUT_WEB)), "http://www.example.com/tallyscope");
}

TEST_F(DialogTextTest, NoWindowNoHarm) {
    CDialog dialog(IDD_ABOUTBOX);
    ApplyDialogTexts(dialog, folder.path() + "none.ini", IDD_ABOUTBOX, {{IDOK, "Ok"}}, "About");
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}
