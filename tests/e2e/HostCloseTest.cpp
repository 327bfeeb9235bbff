// The host closes the program at any moment - it shuts down or restarts a
// camera, and nobody need be at the screen. Whatever the program shows then
// (one of each kind of window: a modal dialog and a modeless one, windows
// over a dialog, the system's choosers, the menu, a drag, a message box),
// it ends by itself within a few seconds: the window's place stored, every
// section of the settings file written, WM_HOST_DETACH last and once, exit
// code 0, no crash dump; what was typed and not confirmed is dropped.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "EndToEnd.h"
#include "hostlink/HostMessages.h"
#include "hostlink/HostPacking.h"
#include "res/Resource.h"
#include "tools/hostsim/HostFixture.h"

namespace {

using e2e::kTimeout;
using e2e::WaitFor;
using hostsim::HostFixture;

constexpr int kCamera = 5;
constexpr char kIni[] = "Setting05.ini";
// "Within a few seconds": the program is given this long to end by itself.
constexpr DWORD kCloseTimeout = 8000;
// The program's message boxes on the screen now (caption "Tallyscope").
int OpenMessageBoxes(DWORD processId) {
    struct Count {
        DWORD processId;
        int boxes = 0;
        static BOOL CALLBACK Visit(HWND wnd, LPARAM context) {
            auto* c = reinterpret_cast<Count*>(context);
            DWORD pid = 0;
            GetWindowThreadProcessId(wnd, &pid);
            char cls[16] = "", caption[16] = "";
            GetClassNameA(wnd, cls, sizeof cls);
            GetWindowTextA(wnd, caption, sizeof caption);
            if (pid == c->processId && IsWindowVisible(wnd) && std::string(cls) == "#32770" &&
                std::string(caption) == "Tallyscope")
                ++c->boxes;
            return TRUE;
        }
    } count{processId};
    EnumWindows(&Count::Visit, reinterpret_cast<LPARAM>(&count));
    return count.boxes;
}

class HostClose : public ::testing::Test {
  public:  // the states below reach the program through these
    // Starts the program on a settings file that holds one key only: the
    // close must write every other one.
    void Start() {
        ASSERT_TRUE(host->WriteIni(kIni, "General Settings", "Site Name", "Lobby"));
        e2e::StoreWindowRect("not yet stored");
        ASSERT_TRUE(e2e::Start(*host, kCamera));
    }
    HWND Open(UINT command, const char* title) {
        host->PostToView(WM_COMMAND, command, 0);
        return host->FindTopWindow(title, "#32770", kTimeout);
    }
    void ExpectClosedCleanly() {
        e2e::ExpectClosesCleanly(*host, kIni, testsupport::Absent::NewFileOnlyAllowed, true,
                                 kCloseTimeout);
        EXPECT_NE(e2e::StoredWindowRect(), "not yet stored");
        EXPECT_EQ(host->ReadIni(kIni, "General Settings", "Site Name"), "Lobby");
    }

    std::optional<HostFixture> host{std::in_place};
};

TEST_F(HostClose, WhateverTheProgramShowsItEndsByItselfAndLosesNothing) {
    const struct {
        const char* state;
        std::function<bool(HostClose&)> reach;  // true once the program shows it
    } states[] = {
        {"the main window only", [](HostClose&) { return true; }},
        {"General Settings with a name typed and not confirmed",
         [](HostClose& t) {
             HWND dialog = t.Open(150, "General Settings");
             return dialog && SetDlgItemTextA(dialog, IDC_GS_SITE_NAME, "Typed, not confirmed");
         }},
        {"Counter Settings",
         [](HostClose& t) { return t.Open(151, "Counter Settings") != nullptr; }},
        {"Camera Angle", [](HostClose& t) { return t.Open(152, "Camera Angle") != nullptr; }},
        {"Camera Angle Verification",
         [](HostClose& t) { return t.Open(153, "Camera Angle Verification") != nullptr; }},
        {"Calibration Test",
         [](HostClose& t) { return t.Open(154, "Calibration Test") != nullptr; }},
        {"About", [](HostClose& t) { return t.Open(156, "About Tallyscope") != nullptr; }},
        {"the height-detection tips over Counter Settings",
         [](HostClose& t) {
             HWND dialog = t.Open(151, "Counter Settings");
             HWND link = GetDlgItem(dialog, IDC_CS_TIPS_LINK);
             PostMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
             PostMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
             return t.host->FindTopWindow("Setup Tips", "#32770", kTimeout) != nullptr;
         }},
        {"the colour chooser over Counter Settings",
         [](HostClose& t) {
             HWND dialog = t.Open(151, "Counter Settings");
             PostMessageA(dialog, WM_UI_BUTTON_CLICKED, IDC_CS_COLOR, 0);
             return t.host->FindTopWindow("Color", "#32770", kTimeout) != nullptr;
         }},
        {"the calibration file chooser",
         [](HostClose& t) { return t.Open(157, "Open") != nullptr; }},
        {"the settings menu",
         [](HostClose& t) {
             t.host->PostToView(WM_UI_BUTTON_CLICKED, 101, 0);
             return t.host->FindTopWindow("", "#32768", kTimeout) != nullptr;
         }},
        {"a drag of the window",
         [](HostClose& t) {
             HWND view = t.host->ViewHwnd();
             PostMessageA(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 10));
             PostMessageA(view, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(140, 30));
             return WaitFor([&] {
                 RECT place{};
                 GetWindowRect(GetAncestor(view, GA_ROOT), &place);
                 return place.left != 0 || place.top != 0;
             });
         }},
        {"a message box of a missing block, while pictures keep coming",
         [](HostClose& t) {
             KernelHandle stray(OpenFileMappingA(FILE_MAP_READ, FALSE, hostlink::kImageBlockName));
             if (stray) return false;  // another host holds the picture block
             const uint32_t size = hostlink::PackFrameSize(320, 240);
             t.host->PostToView(WM_VIEW_NEW_FRAME, 0, size);
             if (!t.host->FindMessageBox(kTimeout)) return false;
             // Each picture arrives inside the box's own loop: still one box.
             for (int i = 0; i < 30; ++i) t.host->SendToView(WM_VIEW_NEW_FRAME, 0, size);
             return OpenMessageBoxes(t.host->ProcessId()) == 1;
         }},
    };
    for (const auto& s : states) {
        SCOPED_TRACE(s.state);
        host.emplace();  // each state in a program and a settings folder of its own
        Start();
        ASSERT_TRUE(s.reach(*this));
        ExpectClosedCleanly();
    }
}

}  // namespace
