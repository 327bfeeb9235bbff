// The stand-in host's demo program with the real settings program: the
// scripted tour ends cleanly, and a host that dies takes its program with it.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <set>
#include <string>
#include <vector>

#include "EndToEnd.h"
#include "hostlink/HostMessages.h"
#include "tools/hostsim/HostFixture.h"
#include "tools/hostsim/PngFile.h"

using namespace hostsim;

namespace {

constexpr char kMainTitle[] = "Varanis - Tallyscope";

// Distinct colours of a picture: a blank or failed capture has one or two.
std::size_t Colours(const Capture& capture) {
    return std::set<std::uint32_t>(capture.pixels.begin(), capture.pixels.end()).size();
}

// The demo program of the build tree: tools/hostsim beside tests/e2e.
std::string DemoProgram() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    folder = folder.substr(0, folder.find_last_of('\\'));  // ...\tests\e2e
    return folder + "\\..\\..\\tools\\hostsim\\TallyscopeHostSim.exe";
}

// The main window of a program the demo started (a child process of it);
// other programs' windows on the same desktop do not count.
HWND ProgramWindowOfChildOf(DWORD parent) {
    std::vector<DWORD> children;
    KernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return nullptr;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32First(snapshot.get(), &entry); more;
         more = ::Process32Next(snapshot.get(), &entry))
        if (entry.th32ParentProcessID == parent) children.push_back(entry.th32ProcessID);
    for (DWORD child : children)
        if (HWND window = HostFixture::FindTopWindow(child, kMainTitle, "", 0)) return window;
    return nullptr;
}

}  // namespace

TEST(HostsimSimulator, HeadlessTourSavesEveryDialogInItsLanguageAndClosesTheProgram) {
    HostFixture runner;  // only starts the demo and keeps its folders
    const std::string settings = runner.PathOf("Settings");
    const std::string arguments = std::string("--app \"") + e2e::kApp +
                                  "\" --headless --seconds 1 --lang Deutsch.ini --settings \"" +
                                  settings + "\" --out \"" + runner.SettingsFolder() + "\"";
    ASSERT_TRUE(runner.LaunchRaw(DemoProgram(), arguments)) << DemoProgram();
    const auto code = runner.WaitForExit(120000);
    ASSERT_TRUE(code) << "the tour did not end";
    EXPECT_EQ(*code, 0u);
    const auto png = runner.ReadFile("Deutsch\\tallyscope-main.png");
    ASSERT_TRUE(png);
    ASSERT_GT(png->size(), 8u);
    EXPECT_EQ(png->substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    GdiplusSession gdiplus;
    ASSERT_TRUE(gdiplus.ok());
    for (const char* shot :
         {"tallyscope-main.png", "settings-menu.png", "camera-angle-result.png", "camera-angle.png",
          "camera-angle-verification.png", "counter-settings.png", "height-tips.png",
          "tallyscope-counter-line.png", "calibration-test.png", "general-settings.png",
          "about.png"}) {
        const Capture picture = LoadPng(runner.PathOf(std::string("Deutsch\\") + shot));
        EXPECT_GE(picture.width, 100) << shot;
        EXPECT_GE(Colours(picture), 8u) << shot << " is an empty frame";
    }
    // The tour gave the program a calibration file, which it kept, and
    // measured the camera angle before the counter settings.
    EXPECT_EQ(runner.ReadIni("Settings\\Setting01.ini", "Calibration Data", "Path"),
              settings + "\\HostSim01.coe");
    EXPECT_EQ(runner.ReadIni("Settings\\Setting01.ini", "Camera Angle", "Setted"), "1");
    EXPECT_EQ(ProgramWindowOfChildOf(runner.ProcessId()), nullptr);
}

TEST(HostsimSimulator, DemoEndedByForceTakesTheProgramWithIt) {
    HostFixture runner;
    const std::string arguments =
        std::string("--app \"") + e2e::kApp + "\" --settings \"" + runner.PathOf("Settings") + "\"";
    ASSERT_TRUE(runner.LaunchRaw(DemoProgram(), arguments));
    HWND window = nullptr;
    ASSERT_TRUE(
        e2e::WaitFor([&] { return (window = ProgramWindowOfChildOf(runner.ProcessId())); }, 30000))
        << "the demo did not start the program";
    runner.Kill();  // the demo ends without a chance to close anything
    EXPECT_TRUE(e2e::WaitFor([&] { return !::IsWindow(window); }, 10000))
        << "the program outlived its host";
}
