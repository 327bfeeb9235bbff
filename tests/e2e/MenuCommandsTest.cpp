// The settings menu's own commands as an installer uses them: the menu opens
// from its button, and the calibration file chooser changes nothing unless a
// valid file is chosen (a valid one, and About: SettingsDialogsTest).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "EndToEnd.h"
#include "hostlink/HostMessages.h"
#include "tools/hostsim/HostFixture.h"

namespace {

using e2e::kTimeout;
using e2e::WaitFor;
using hostsim::HostFixture;

constexpr UINT kFileNameCombo = 0x47C;  // the file name box of the common open dialog

class MenuCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(e2e::Start(host, 2));
        view = host.ViewHwnd();
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

TEST_F(MenuCommands, OnlyAValidCalibrationFileIsStoredAndAnnounced) {
    const auto calibration = [&](const char* name, float version, size_t size) {
        std::string bytes(size, '\x11');
        std::memcpy(bytes.data(), &version, sizeof version);
        EXPECT_TRUE(host.WriteFile(name, bytes));
        return host.PathOf(name);
    };
    const auto expectNothingChanged = [&] {
        EXPECT_TRUE(host.Running());
        EXPECT_EQ(host.ReadIni("Setting02.ini", "Calibration Data", "Path", "<none>"), "<none>");
        EXPECT_EQ(host.Count(WM_HOST_CALIBRATION_CHANGED), 0u);
    };
    e2e::Dialog chooser{host};
    ASSERT_TRUE(chooser.Open(157, kFileNameCombo));
    ASSERT_TRUE(chooser.Close(IDCANCEL));
    expectNothingChanged();
    ASSERT_TRUE(chooser.Open(157, kFileNameCombo));
    chooser.Type(kFileNameCombo, calibration("short.coe", 2.0f, 271));
    ASSERT_TRUE(chooser.Close(IDOK));
    expectNothingChanged();

    ASSERT_TRUE(chooser.Open(157, kFileNameCombo));
    chooser.Type(kFileNameCombo, calibration("old.coe", 1.0f, 272));
    chooser.Press(IDOK);
    const auto box = e2e::AnswerBox(host);
    EXPECT_EQ(box.caption, "Tallyscope");
    EXPECT_EQ(box.text, "Version error! Please input version 2.0 coe file.");
    ASSERT_TRUE(host.SendToView(WM_NULL, 0, 0));
    expectNothingChanged();
}

}  // namespace
