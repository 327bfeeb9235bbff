// Camera Angle and its Verification at 96 DPI in every shipped language: each
// item inside the dialog, none over another, every text within its item.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "dialogs/CameraAngleDlg.h"
#include "dialogs/CameraAngleVerifyDlg.h"
#include "res/Resource.h"
#include "tests/win/support/UiTest.h"

namespace {

const std::string kLanguages = std::string(TALLYSCOPE_RESOURCES_DIR) + "\\Lang\\";

// `special` draws its text with `font` rather than the dialog's.
void ExpectFinishedLayout(HWND dialog, const std::string& language, HWND special = nullptr,
                          HFONT font = nullptr) {
    RECT client{};
    ::GetClientRect(dialog, &client);
    std::vector<std::pair<HWND, RECT>> items;
    for (HWND item = ::GetWindow(dialog, GW_CHILD); item; item = ::GetWindow(item, GW_HWNDNEXT)) {
        RECT r{};
        ::GetWindowRect(item, &r);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        const int id = ::GetDlgCtrlID(item);
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right &&
                    r.bottom <= client.bottom)
            << language << ": item " << id << " leaves the dialog";
        for (const auto& [other, o] : items) {
            RECT overlap{};
            EXPECT_FALSE(::IntersectRect(&overlap, &r, &o))
                << language << ": " << id << " over " << ::GetDlgCtrlID(other);
        }
        items.emplace_back(item, r);

        char text[300] = "", kind[32] = "";
        ::GetWindowTextA(item, text, sizeof text);
        ::GetClassNameA(item, kind, sizeof kind);
        if (!text[0] || std::string(kind) == "Edit") continue;
        HDC dc = ::GetDC(item);
        HGDIOBJ old = ::SelectObject(
            dc, item == special ? font
                                : reinterpret_cast<HFONT>(::SendMessageA(item, WM_GETFONT, 0, 0)));
        SIZE size{};
        ::GetTextExtentPoint32A(dc, text, static_cast<int>(strlen(text)), &size);
        ::SelectObject(dc, old);
        ::ReleaseDC(item, dc);
        const int frame = std::string(kind) == "Button" ? 8 : 0;  // 4 pixels each side
        EXPECT_LE(size.cx + frame, r.right - r.left) << language << ": \"" << text << "\" too wide";
        EXPECT_LE(size.cy, r.bottom - r.top) << language << ": \"" << text << "\" too high";
    }
}

TEST(CameraAngleDlgLayout, EveryShippedLanguageFitsBothDialogs) {
    BITMAPINFO header{{sizeof(BITMAPINFOHEADER), 320, 240, 1, 24, BI_RGB, 0, 0, 0, 0, 0}, {}};
    std::vector<BYTE> pixels(230400, 90);
    CWnd& host = uitest::HostWindow();
    int languages = 0;
    WIN32_FIND_DATAA found{};
    HANDLE search = ::FindFirstFileA((kLanguages + "*.ini").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    do {
        const std::string language = kLanguages + found.cFileName;
        ++languages;
        for (int32_t unit : {0, 1}) {       // "inch" and its translations are the longer names
            CCameraAngleDlg dialog(&host);  // created hidden, as before DoModal shows it
            dialog.SetImageSource(host.m_hWnd, &header, pixels.data());
            dialog.SetLanguageFile(language);
            dialog.m_unit = unit;
            ASSERT_TRUE(dialog.Create(IDD_CAMERA_ANGLE, &host));
            RECT window{}, picture{};
            ::GetWindowRect(dialog.m_hWnd, &window);
            ::GetClientRect(dialog.Picture().m_hWnd, &picture);
            EXPECT_EQ(window.bottom - window.top, 555);
            EXPECT_EQ(picture.right * 1000 + picture.bottom, 320240);
            ExpectFinishedLayout(dialog.m_hWnd, language, dialog.Warning().m_hWnd,
                                 dialog.Warning().GetPaintFont());
        }
        CCameraAngleVerifyDlg verify(&host);
        verify.SetImageSource(host.m_hWnd, &header, pixels.data(), pixels.data());
        verify.SetLanguageFile(language);
        ASSERT_TRUE(verify.Create(IDD_ANGLE_VERIFY, &host));
        ExpectFinishedLayout(verify.m_hWnd, language);
        RECT current{}, old{};
        ::GetWindowRect(verify.CurrentPicture().m_hWnd, &current);
        ::GetWindowRect(verify.OldPicture().m_hWnd, &old);
        EXPECT_EQ(old.left - current.left, 325);
        EXPECT_EQ(old.right - old.left, 320);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    EXPECT_GE(languages, 6);
}

}  // namespace
