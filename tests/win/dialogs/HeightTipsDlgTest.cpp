// Setup Tips for Height Detection from a language file: tips with line
// breaks, the bold heading at the file's font size, a missing picture.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "dialogs/HeightTipsDlg.h"
#include "res/Resource.h"
#include "tests/win/support/TestFiles.h"
#include "tests/win/support/UiTest.h"

namespace {

LOGFONTA FontOf(HFONT font) {
    LOGFONTA description{};
    ::GetObjectA(font, sizeof description, &description);
    return description;
}

std::string ItemText(HWND dialog, int id) {
    char text[512] = {};
    ::GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

TEST(HeightTipsDlg, TipsHeadingAndPictureComeFromTheLanguage) {
    TempFolder folder;
    const struct {
        const char* common;
        LONG height;
    } cases[] = {{"[Common]\r\nFontSize=16\r\n", -16}, {"", -12}};
    for (const auto& c : cases) {
        const std::string language = folder.Write(
            "resources\\Lang\\Test.ini",
            std::string(c.common) +
                "[197]\r\n197=Tipps\r\n1109=Erster\\nZweiter\r\n1113=NoSuchPicture.bmp\r\n");
        CHeightTipsDlg tips(&uitest::HostWindow());
        tips.SetLanguageFile(language);
        ASSERT_TRUE(tips.Create(IDD_HEIGHT_TIPS, &uitest::HostWindow()));
        EXPECT_EQ(ItemText(tips.m_hWnd, IDC_TIPS_FIRST), "Erster\nZweiter");
        EXPECT_EQ(ItemText(tips.m_hWnd, IDC_TIPS_SECOND), "") << "a tip the file lacks is empty";
        EXPECT_EQ(ItemText(tips.m_hWnd, IDC_TIPS_HEADING), "Setup Tips for Height Detection");
        const LOGFONTA heading = FontOf(tips.Heading().GetNormalFont());
        EXPECT_EQ(heading.lfHeight, c.height);
        EXPECT_EQ(heading.lfWeight, FW_BOLD);
        EXPECT_EQ(tips.Heading().GetLink(), 0);
        // A picture that cannot be read leaves nothing to show, and the tips still open.
        RECT picture{};
        ::GetWindowRect(::GetDlgItem(tips.m_hWnd, IDC_TIPS_PICTURE), &picture);
        EXPECT_EQ(picture.right - picture.left, 0);
        EXPECT_EQ(picture.bottom - picture.top, 0);
        EXPECT_NE(tips.PictureFile().find("\\Resources\\Lang\\NoSuchPicture.bmp"),
                  std::string::npos);
        tips.DestroyWindow();
    }
}

}  // namespace
