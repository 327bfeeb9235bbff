// The stand-in host's demo program with the real settings program: the
// scripted tour saves every picture the README shows and ends cleanly.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>

#include "EndToEnd.h"
#include "hostlink/HostMessages.h"
#include "tools/hostsim/HostFixture.h"
#include "tools/hostsim/PngFile.h"

using namespace hostsim;

namespace {

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
}
