// The settings menu's own commands as an installer uses them: the menu opens
// from its button, About shows centred on the view, and the calibration file
// chooser changes nothing unless a valid file is chosen.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "EndToEnd.h"
#include "hostlink/HostMessages.h"
#include "tools/hostsim/HostFixture.h"

namespace {

using e2e::kApp;
using e2e::kTimeout;
using e2e::WaitFor;
using hostsim::HostFixture;

constexpr UINT kFileNameCombo = 0x47C;  // the file name box of the common open dialog

std::string CalibrationBytes(float version, size_t size = 272) {
    std::string bytes(size, '\x11');
    std::memcpy(bytes.data(), &version, sizeof version);
    return bytes;
}

class MenuCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(host.Launch(kApp, 2));
        view = host.WaitForAttach(kTimeout);
        ASSERT_NE(view, nullptr);
    }
    // Opens the calibration file chooser and answers it with a file name, or cancels it.
    void ChooseCalibrationFile(const std::string* path) {
        ASSERT_TRUE(host.PostToView(WM_COMMAND, 157, 0));
        HWND chooser = host.FindTopWindow("", "#32770", kTimeout);
        ASSERT_NE(chooser, nullptr);
        if (path) {
            HWND name = GetDlgItem(chooser, kFileNameCombo);
            ASSERT_NE(name, nullptr);
            SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path->c_str()));
            PostMessageA(chooser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(chooser, IDOK)));
        } else {
            PostMessageA(chooser, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(chooser); }));
    }
    std::string StoredCalibration() const {
        return host.ReadIni("Setting02.ini", "Calibration Data", "Path", "<none>");
    }

    HostFixture host;
    HWND view = nullptr;
};

TEST_F(MenuCommands, MenuButtonOpensTheSettingsMenu) {
    HWND button = GetDlgItem(view, 101);
    ASSERT_NE(button, nullptr);
    PostMessageA(button, BM_CLICK, 0, 0);
    HWND menu = host.FindTopWindow("", "#32768", kTimeout);
    ASSERT_NE(menu, nullptr);
    // The menu hangs to the left of the button's right edge, above it.
    RECT menuRect{}, buttonRect{};
    GetWindowRect(menu, &menuRect);
    GetWindowRect(button, &buttonRect);
    EXPECT_LE(menuRect.right, buttonRect.right);
    EXPECT_LT(menuRect.top, buttonRect.top);
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageA(GetParent(view), WM_CANCELMODE, 0, 0);
    EXPECT_TRUE(host.Running());
}

TEST_F(MenuCommands, AboutIsShownCentredOnTheView) {
    ASSERT_TRUE(host.PostToView(WM_COMMAND, 156, 0));
    HWND about = host.FindTopWindow("About Tallyscope", "#32770", kTimeout);
    ASSERT_NE(about, nullptr);
    RECT aboutRect{}, viewRect{};
    GetWindowRect(about, &aboutRect);
    GetWindowRect(view, &viewRect);
    EXPECT_NEAR((aboutRect.left + aboutRect.right) / 2, (viewRect.left + viewRect.right) / 2, 1);
    EXPECT_NEAR((aboutRect.top + aboutRect.bottom) / 2, (viewRect.top + viewRect.bottom) / 2, 1);
    // OK hides it; About again shows the same window.
    PostMessageA(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(about); }));
    ASSERT_TRUE(host.PostToView(WM_COMMAND, 156, 0));
    EXPECT_EQ(host.FindTopWindow("About Tallyscope", "#32770", kTimeout), about);
}

TEST_F(MenuCommands, OnlyAValidCalibrationFileIsStoredAndAnnounced) {
    const auto expectNothingChanged = [&] {
        EXPECT_TRUE(host.Running());
        EXPECT_EQ(StoredCalibration(), "<none>");
        EXPECT_EQ(host.Count(WM_HOST_CALIBRATION_CHANGED), 0u);
    };
    ChooseCalibrationFile(nullptr);
    expectNothingChanged();
    const std::string wrongSize = host.PathOf("short.coe");
    ASSERT_TRUE(host.WriteFile("short.coe", CalibrationBytes(2.0f, 271)));
    ChooseCalibrationFile(&wrongSize);
    expectNothingChanged();

    const std::string oldVersion = host.PathOf("old.coe");
    ASSERT_TRUE(host.WriteFile("old.coe", CalibrationBytes(1.0f)));
    ChooseCalibrationFile(&oldVersion);
    const auto box = e2e::AnswerBox(host);
    EXPECT_EQ(box.caption, "Tallyscope");
    EXPECT_EQ(box.text, "Version error! Please input version 2.0 coe file.");
    // Wine drops a message posted while the box's loop winds down after the box has gone.
    Sleep(200);
    expectNothingChanged();

    const std::string valid = host.PathOf("camera.coe");
    ASSERT_TRUE(host.WriteFile("camera.coe", CalibrationBytes(2.0f)));
    ChooseCalibrationFile(&valid);
    ASSERT_TRUE(host.WaitForMessage(WM_HOST_CALIBRATION_CHANGED, kTimeout).has_value());
    EXPECT_EQ(StoredCalibration(), valid);
}

}  // namespace
