// Every dialog at 96 DPI in every shipped language, created hidden as before
// DoModal shows it: each item inside the dialog, none over another, every text
// within its item (LayoutCheck.h); and the English file says what the
// program's built-in texts say.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <map>
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

using Visit = std::function<void(HWND dialog, const std::string& name)>;

// Creates every translated dialog (and each of its states that shows other
// texts) with the language file, and visits it while it stands.
void ForEachDialog(const std::string& language, const Visit& visit) {
    CWnd& host = uitest::HostWindow();
    Pictures pictures;
    const BITMAPINFO* header = &pictures.header;
    const void* bits = pictures.pixels.data();
    {
        CGeneralSettingsDlg dialog(&host);
        dialog.SetLanguageFile(language);
        dialog.SetAddressSource([] {
            return std::vector<std::string>{"192.168.100.200", "10.0.0.5"};
        });
        ASSERT_TRUE(dialog.Create(IDD_GENERAL_SETTINGS, &host));
        visit(dialog.m_hWnd, "General Settings (164)");
    }
    for (int32_t unit : {0, 1}) {  // "inch" and its translations are the longer names
        CCameraAngleDlg dialog(&host);
        dialog.SetImageSource(host.m_hWnd, header, bits);
        dialog.SetLanguageFile(language);
        dialog.Values().unit = unit;
        ASSERT_TRUE(dialog.Create(IDD_CAMERA_ANGLE, &host));
        // Again with the warning a result shows, as it is hidden until then.
        for (int shown : {SW_HIDE, SW_SHOWNA}) {
            dialog.Warning().ShowWindow(shown);
            visit(dialog.m_hWnd, unit ? "Camera Angle (167), inch" : "Camera Angle (167), cm");
        }
    }
    {
        CCounterSettingsDlg dialog(&host);
        dialog.SetImageSource(host.m_hWnd, header, bits);
        dialog.SetLanguageFile(language);
        ASSERT_TRUE(dialog.Create(IDD_COUNTER_SETTINGS, &host));
        visit(dialog.m_hWnd, "Counter Settings (168)");
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
        visit(dialog.m_hWnd, unit ? "Calibration Test (177), inch" : "Calibration Test (177), cm");
    }
    {
        CCameraAngleVerifyDlg dialog(&host);
        dialog.SetImageSource(host.m_hWnd, header, bits, bits);
        dialog.SetLanguageFile(language);
        ASSERT_TRUE(dialog.Create(IDD_ANGLE_VERIFY, &host));
        visit(dialog.m_hWnd, "Camera Angle Verification (193)");
    }
    {
        CHeightTipsDlg dialog(&host);
        dialog.SetLanguageFile(language);
        ASSERT_TRUE(dialog.Create(IDD_HEIGHT_TIPS, &host));
        visit(dialog.m_hWnd, "Height Detection Tips (197)");
    }
}

// A dialog's texts: its title, each item's, and the entries of its lists.
std::map<std::string, std::string> TextsOf(HWND dialog) {
    std::map<std::string, std::string> texts{{"title", layout::TextOf(dialog)}};
    for (HWND item = ::GetWindow(dialog, GW_CHILD); item; item = ::GetWindow(item, GW_HWNDNEXT)) {
        const std::string id = std::to_string(::GetDlgCtrlID(item));
        texts[id] = layout::TextOf(item);
        const bool combo = layout::ClassOf(item) == "ComboBox";
        const UINT count = combo ? CB_GETCOUNT : LB_GETCOUNT;
        if (!combo && layout::ClassOf(item) != "ListBox") continue;
        for (LRESULT i = 0, n = ::SendMessageA(item, count, 0, 0); i < n && i < 16; ++i) {
            char entry[300] = "";
            ::SendMessageA(item, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i),
                           reinterpret_cast<LPARAM>(entry));
            texts[id + "/" + std::to_string(i)] = entry;
        }
    }
    return texts;
}

TEST(DialogLayout, EveryDialogFitsInEveryShippedLanguage) {
    CAboutDlg about(&uitest::HostWindow());  // no translations: once is enough
    ASSERT_TRUE(about.Create(IDD_ABOUTBOX, &uitest::HostWindow()));
    layout::ExpectFinishedLayout(about.m_hWnd, "any language/About (182)");
    const std::vector<std::string> languages = ShippedLanguages();
    EXPECT_GE(languages.size(), 6u);
    for (const std::string& name : languages) {
        ForEachDialog(kLanguages + name, [&](HWND dialog, const std::string& where) {
            layout::ExpectFinishedLayout(dialog, name + "/" + where);
        });
    }
}

// English shows what the program shows with no language file at all: the
// built-in texts (where the program has one; the tips come from the file only).
TEST(DialogLayout, TheEnglishFileSaysWhatTheBuiltInTextsSay) {
    std::vector<std::map<std::string, std::string>> english, builtIn;
    ForEachDialog(kLanguages + "English.ini",
                  [&](HWND dialog, const std::string&) { english.push_back(TextsOf(dialog)); });
    ForEachDialog(kLanguages + "None.ini",
                  [&](HWND dialog, const std::string&) { builtIn.push_back(TextsOf(dialog)); });
    ASSERT_EQ(english.size(), builtIn.size());
    for (size_t i = 0; i < english.size(); ++i) {
        for (const auto& [item, text] : builtIn[i]) {
            if (text.empty()) continue;
            EXPECT_EQ(english[i][item], text) << "dialog " << english[i]["title"] << ", " << item;
        }
    }
}

}  // namespace
