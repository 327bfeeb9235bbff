// Every dialog at 96 DPI in every shipped language, created hidden as before
// DoModal shows it: each item inside the dialog, none over another, every text
// within its item (LayoutCheck.h). The check itself first fails on purpose.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "LayoutCheck.h"
#include "dialogs/AboutDlg.h"
#include "dialogs/CalibrationTestDlg.h"
#include "dialogs/CameraAngleDlg.h"
#include "dialogs/CameraAngleVerifyDlg.h"
#include "dialogs/CounterSettingsDlg.h"
#include "dialogs/GeneralSettingsDlg.h"
#include "dialogs/HeightTipsDlg.h"
#include "res/Resource.h"
#include "tests/win/support/UiTest.h"

namespace {

const std::string kLanguages = std::string(TALLYSCOPE_RESOURCES_DIR) + "\\Lang\\";

std::vector<std::string> ShippedLanguages() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    HANDLE search = ::FindFirstFileA((kLanguages + "*.ini").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.emplace_back(found.cFileName);
    while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return names;
}

struct Pictures {
    BITMAPINFO header{{sizeof(BITMAPINFOHEADER), 320, 240, 1, 24, BI_RGB, 0, 0, 0, 0, 0}, {}};
    std::vector<BYTE> pixels = std::vector<BYTE>(230400, 90);
};

TEST(DialogLayout, CheckFindsALongTextAndAnOverlap) {
    CAboutDlg about(&uitest::HostWindow());
    ASSERT_TRUE(about.Create(IDD_ABOUTBOX, &uitest::HostWindow()));
    EXPECT_TRUE(layout::CheckLayout(about.m_hWnd, "built-in/About").empty());
    const std::string text = "Tallyscope Setting Application, a much longer text than fits";
    ::SetDlgItemTextA(about.m_hWnd, IDC_ABOUT_VERSION, text.c_str());
    std::vector<std::string> problems = layout::CheckLayout(about.m_hWnd, "Test/About");
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("Test/About: control " + std::to_string(IDC_ABOUT_VERSION)),
              std::string::npos)
        << problems[0];
    EXPECT_NE(problems[0].find(" px, has "), std::string::npos) << problems[0];
    EXPECT_NONFATAL_FAILURE(layout::ExpectFinishedLayout(about.m_hWnd, "Test/About"),
                            "much longer text than fits");
    ::SetDlgItemTextA(about.m_hWnd, IDC_ABOUT_VERSION, "Tallyscope");
    // One item moved over another is the other failure.
    RECT ok{};
    ::GetWindowRect(::GetDlgItem(about.m_hWnd, IDOK), &ok);
    ::MapWindowPoints(nullptr, about.m_hWnd, reinterpret_cast<POINT*>(&ok), 2);
    ::SetWindowPos(::GetDlgItem(about.m_hWnd, IDC_ABOUT_WEB), nullptr, ok.left - 10, ok.top - 5, 0,
                   0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    problems = layout::CheckLayout(about.m_hWnd, "Test/About");
    ASSERT_FALSE(problems.empty());
    EXPECT_NE(problems.back().find("overlaps control"), std::string::npos) << problems.back();
}

TEST(DialogLayout, CheckFindsLongRadioGroupAndListTexts) {
    CGeneralSettingsDlg dialog(&uitest::HostWindow());
    dialog.SetAddressSource([] { return std::vector<std::string>{"10.0.0.5"}; });
    ASSERT_TRUE(dialog.Create(IDD_GENERAL_SETTINGS, &uitest::HostWindow()));
    EXPECT_TRUE(layout::CheckLayout(dialog.m_hWnd, "built-in/General").empty());
    const std::string longText(60, 'W');
    for (int id : {IDC_GS_REMOTE_ON, IDC_GS_SITE_GROUP})
        ::SetDlgItemTextA(dialog.m_hWnd, id, longText.c_str());
    ::SendDlgItemMessageA(dialog.m_hWnd, IDC_GS_ADDRESS, CB_ADDSTRING, 0,
                          reinterpret_cast<LPARAM>(longText.c_str()));
    const std::vector<std::string> problems = layout::CheckLayout(dialog.m_hWnd, "Test/General");
    ASSERT_EQ(problems.size(), 3u);
    std::string all;
    for (const std::string& problem : problems) all += problem + "\n";
    for (int id : {IDC_GS_REMOTE_ON, IDC_GS_SITE_GROUP, IDC_GS_ADDRESS})
        EXPECT_NE(all.find("control " + std::to_string(id) + ": \"WWW"), std::string::npos)
            << id << " in\n"
            << all;
}

TEST(DialogLayout, EveryDialogFitsInEveryShippedLanguage) {
    CWnd& host = uitest::HostWindow();
    Pictures pictures;
    const BITMAPINFO* header = &pictures.header;
    const void* bits = pictures.pixels.data();
    const std::vector<std::string> languages = ShippedLanguages();
    EXPECT_GE(languages.size(), 6u);
    {  // The About box has no translations: once is enough.
        CAboutDlg about(&host);
        ASSERT_TRUE(about.Create(IDD_ABOUTBOX, &host));
        layout::ExpectFinishedLayout(about.m_hWnd, "any language/About (182)");
    }
    for (const std::string& name : languages) {
        const std::string language = kLanguages + name;
        auto where = [&](const char* dialog) { return name + "/" + dialog; };
        {
            CGeneralSettingsDlg dialog(&host);
            dialog.SetLanguageFile(language);
            dialog.SetAddressSource([] {
                return std::vector<std::string>{"192.168.100.200", "10.0.0.5"};
            });
            ASSERT_TRUE(dialog.Create(IDD_GENERAL_SETTINGS, &host));
            layout::ExpectFinishedLayout(dialog.m_hWnd, where("General Settings (164)"));
        }
        for (int32_t unit : {0, 1}) {  // "inch" and its translations are the longer names
            CCameraAngleDlg dialog(&host);
            dialog.SetImageSource(host.m_hWnd, header, bits);
            dialog.SetLanguageFile(language);
            dialog.Values().unit = unit;
            ASSERT_TRUE(dialog.Create(IDD_CAMERA_ANGLE, &host));
            RECT window{}, picture{};
            ::GetWindowRect(dialog.m_hWnd, &window);
            ::GetClientRect(dialog.Picture().m_hWnd, &picture);
            EXPECT_EQ(window.bottom - window.top, 555);
            EXPECT_EQ(picture.right * 1000 + picture.bottom, 320240);
            // Checked again with the warning a result shows, as it is hidden until then.
            for (int shown : {SW_HIDE, SW_SHOWNA}) {
                dialog.Warning().ShowWindow(shown);
                layout::ExpectFinishedLayout(dialog.m_hWnd, where(unit ? "Camera Angle (167), inch"
                                                                       : "Camera Angle (167), cm"));
            }
        }
        {
            CCounterSettingsDlg dialog(&host);
            dialog.SetImageSource(host.m_hWnd, header, bits);
            dialog.SetLanguageFile(language);
            ASSERT_TRUE(dialog.Create(IDD_COUNTER_SETTINGS, &host));
            layout::ExpectFinishedLayout(dialog.m_hWnd, where("Counter Settings (168)"));
        }
        for (int32_t unit : {0, 1}) {
            CCalibrationTestDlg dialog(&host);
            dialog.SetImageSource(host.m_hWnd, header, bits, bits);
            dialog.SetLanguageFile(language);
            dialog.SetUnit(unit);
            ASSERT_TRUE(dialog.Create(IDD_CALIBRATION_TEST, &host));
            // The list's entries: a distance and the failure text.
            dialog.ShowRegionResult(RECT{100, 100, 140, 130}, 24.0f, 1234.5f);
            dialog.ShowRegionResult(RECT{100, 100, 140, 130}, 0.0f, 0.0f);
            EXPECT_EQ(::SendDlgItemMessageA(dialog.m_hWnd, IDC_CT_RESULTS, LB_GETCOUNT, 0, 0), 2);
            layout::ExpectFinishedLayout(dialog.m_hWnd, where(unit ? "Calibration Test (177), inch"
                                                                   : "Calibration Test (177), cm"));
        }
        {
            CCameraAngleVerifyDlg dialog(&host);
            dialog.SetImageSource(host.m_hWnd, header, bits, bits);
            dialog.SetLanguageFile(language);
            ASSERT_TRUE(dialog.Create(IDD_ANGLE_VERIFY, &host));
            layout::ExpectFinishedLayout(dialog.m_hWnd, where("Camera Angle Verification (193)"));
            RECT current{}, old{};
            ::GetWindowRect(dialog.CurrentPicture().m_hWnd, &current);
            ::GetWindowRect(dialog.OldPicture().m_hWnd, &old);
            EXPECT_EQ(old.left - current.left, 325);
            EXPECT_EQ(old.right - old.left, 320);
        }
        {
            CHeightTipsDlg dialog(&host);
            dialog.SetLanguageFile(language);
            ASSERT_TRUE(dialog.Create(IDD_HEIGHT_TIPS, &host));
            layout::ExpectFinishedLayout(dialog.m_hWnd, where("Height Detection Tips (197)"));
        }
    }
}

}  // namespace
