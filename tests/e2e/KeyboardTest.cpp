// Counter Settings from the keyboard, as a Windows user expects it: the first
// option takes the focus, Space presses a tool button, Enter is OK and
// Escape is Cancel.
#include <windows.h>

#include <gtest/gtest.h>

#include "EndToEnd.h"
#include "hostlink/HostMessages.h"
#include "res/Resource.h"
#include "tools/hostsim/HostFixture.h"

namespace {

using e2e::kApp;
using e2e::kTimeout;
using e2e::WaitFor;

HWND FocusOf(HWND dialog) {
    GUITHREADINFO input{};
    input.cbSize = sizeof input;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &input);
    return input.hwndFocus;
}

void Key(HWND target, WPARAM key) {
    PostMessageA(target, WM_KEYDOWN, key, 0x00000001);
    PostMessageA(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

TEST(Keyboard, CounterSettingsFocusSpaceEnterAndEscape) {
    hostsim::HostFixture host;
    ASSERT_TRUE(host.Launch(kApp, 1));
    ASSERT_NE(host.WaitForAttach(kTimeout), nullptr);
    auto open = [&] {
        host.PostToView(WM_COMMAND, ID_COUNTER_SETTINGS, 0);
        return host.FindTopWindow("Counter Settings", "#32770", kTimeout);
    };

    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    HWND first = GetDlgItem(dialog, IDC_CS_COUNTER_LINE_ON);
    EXPECT_TRUE(WaitFor([&] { return FocusOf(dialog) == first; })) << "not the first option";
    // Space latches Draw Line (it then shows its sunken frame, black outside),
    // and a line dragged on the picture goes to the host.
    HWND drawLine = GetDlgItem(dialog, IDC_CS_DRAW_LINE);
    Key(drawLine, VK_SPACE);
    ASSERT_TRUE(WaitFor(
        [&] { return hostsim::HostFixture::CaptureWindow(drawLine).Pixel(0, 0) == RGB(0, 0, 0); }));
    HWND picture = GetDlgItem(dialog, IDC_CS_PICTURE);
    PostMessageA(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 120));
    PostMessageA(picture, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 120));
    PostMessageA(picture, WM_LBUTTONUP, 0, MAKELPARAM(200, 120));
    EXPECT_TRUE(host.WaitForMessage(WM_HOST_EDIT_COUNTING_LINE, kTimeout).has_value());
    // Enter presses the default button, OK: the settings are stored.
    Key(FocusOf(dialog), VK_RETURN);
    EXPECT_TRUE(host.WaitForMessage(WM_HOST_COUNTER_SETTINGS_SAVED, kTimeout).has_value());
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));

    // Escape cancels: nothing more is stored.
    dialog = open();
    ASSERT_NE(dialog, nullptr);
    const size_t closed = host.Count(WM_HOST_DIALOG_STATE);
    Key(GetDlgItem(dialog, IDC_CS_COUNTER_LINE_ON), VK_ESCAPE);
    EXPECT_TRUE(host.WaitForCount(WM_HOST_DIALOG_STATE, closed + 1, kTimeout));
    EXPECT_EQ(host.Count(WM_HOST_COUNTER_SETTINGS_SAVED), 1u);
    EXPECT_EQ(host.Close(kTimeout), std::optional<DWORD>(0));
}

}  // namespace
