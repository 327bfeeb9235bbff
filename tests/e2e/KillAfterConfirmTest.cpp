// Every kind of confirmed change survives the program being killed without
// warning the moment the change is confirmed, and the next start loads it:
// a copy started again and closed by the host writes back what it loaded.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "EndToEnd.h"
#include "framework/Handles.h"
#include "hostlink/HostMessages.h"
#include "res/Resource.h"
#include "tools/hostsim/HostFixture.h"
#include "tools/hostsim/Simulator.h"
#include "tools/hostsim/StereoRenderer.h"

namespace {

using hostsim::HostFixture;

using e2e::kTimeout;
using e2e::WaitFor;
constexpr char kIni[] = "Setting01.ini";
constexpr UINT kFileNameCombo = 0x47C;  // the file name box of the common open dialog

class ReliabilityKillAfterConfirm : public ::testing::Test {
  protected:
    void SetUp() override {
        sim.emplace(host.Host(), host.SettingsFile(1), scene);
        ASSERT_TRUE(sim->BlocksReady());
    }
    void Start() {
        host.Host().ClearMessages();
        ASSERT_TRUE(e2e::Start(host));
        sim->StartStreaming(15);
    }
    // Kills the program the moment the host hears of the confirmed change.
    void KillOn(UINT msg) {
        ASSERT_TRUE(host.WaitForMessage(msg, kTimeout).has_value());
        host.Kill();
        sim->StopStreaming();
        ASSERT_FALSE(host.Running());
    }
    std::string Stored(const char* section, const char* key) const {
        return host.ReadIni(kIni, section, key, "<none>");
    }

    const hostsim::Scene scene = e2e::TemplateAhead(60, 0, 0, 240);
    HostFixture host;
    std::optional<hostsim::Simulator> sim;
    e2e::Dialog dialog{host};
};

TEST_F(ReliabilityKillAfterConfirm, EachConfirmedChangeOutlivesAKillAndLoadsNextTime) {
    // A chosen calibration file: stored, then announced to the host.
    std::string calibration(272, '\x11');
    const float version = 2.0f;
    std::memcpy(calibration.data(), &version, sizeof version);
    ASSERT_TRUE(host.WriteFile("camera.coe", calibration));
    const std::string calibrationPath = host.PathOf("camera.coe");
    Start();
    ASSERT_TRUE(dialog.Open(157, kFileNameCombo));
    dialog.Type(kFileNameCombo, calibrationPath);
    dialog.Press(IDOK);
    KillOn(WM_HOST_CALIBRATION_CHANGED);
    EXPECT_EQ(Stored("Calibration Data", "Path"), calibrationPath);

    // General Settings OK: confirmed once the view has handled the command.
    Start();
    ASSERT_TRUE(dialog.Open(150, IDC_GS_RECYCLE_DAYS));
    dialog.Type(IDC_GS_RECYCLE_DAYS, "90");
    ASSERT_TRUE(dialog.Close(IDC_GS_OK));
    host.Kill();
    sim->StopStreaming();
    EXPECT_EQ(Stored("General Settings", "Auto Recycle Days"), "90");

    // Update in Camera Angle: the angle, the height and the reference picture.
    Start();
    ASSERT_TRUE(dialog.Open(152, IDC_CA_PICTURE));
    // The user clicks on the picture they see: wait until it shows the scene.
    ASSERT_TRUE(WaitFor([&] {
        const hostsim::Capture shown = dialog.Shot(IDC_CA_PICTURE);
        int lit = 0;
        for (int y = 0; y < shown.height; y += 8)
            for (int x = 0; x < shown.width; x += 8) lit += shown.Pixel(x, y) != RGB(0, 0, 0);
        return lit > 500;
    }));
    for (const hostsim::Vec2& corner : sim->TemplateInPicture())
        dialog.Click(IDC_CA_PICTURE, {std::lround(corner.x), std::lround(corner.y)});
    dialog.Press(IDC_CA_CALCULATE);
    ASSERT_TRUE(WaitFor([&] { return dialog.Enabled(IDC_CA_UPDATE); }));
    dialog.Type(IDC_CA_HEIGHT, "250");
    dialog.Press(IDC_CA_UPDATE);
    KillOn(WM_HOST_CAMERA_ANGLE_SAVED);
    EXPECT_EQ(Stored("Camera Angle", "Setted"), "1");
    EXPECT_EQ(Stored("Camera Angle", "Height"), "250.0");
    const std::string angleYZ = Stored("Camera Angle", "Angle YZ");
    std::vector<unsigned char> left(hostsim::kPictureBytes);
    hostsim::StereoRenderer(scene).Render(0, left.data(), nullptr);
    const auto picture = host.ReadFile("VImage01.bmp");
    ASSERT_TRUE(picture && picture->size() == 54 + left.size());
    EXPECT_EQ(std::memcmp(picture->data() + 54, left.data(), left.size()), 0);

    // Counter Settings OK with a rectangle mask.
    Start();
    ASSERT_TRUE(dialog.Open(151, IDC_CS_PICTURE));
    dialog.PressNow(IDC_CS_RECTANGLE);
    dialog.Drag(IDC_CS_PICTURE, {20, 30}, {90, 100});
    dialog.Press(IDC_CS_OK);
    KillOn(WM_HOST_COUNTER_SETTINGS_SAVED);
    const std::string maskSize = Stored("Counter Settings", "Mask Size");
    const auto mask = host.ReadFile("Mask01.bin");
    ASSERT_TRUE(mask.has_value());
    ASSERT_EQ(std::to_string(mask->size()), maskSize);
    RegionHandle region(ExtCreateRegion(nullptr, static_cast<DWORD>(mask->size()),
                                        reinterpret_cast<const RGNDATA*>(mask->data())));
    EXPECT_TRUE(PtInRegion(region.get(), 50, 60));
    EXPECT_FALSE(PtInRegion(region.get(), 150, 160));

    // The next start loads all of it: closing it writes back what it holds,
    // a mask it could not load included (its size would be 0).
    Start();
    ASSERT_EQ(host.Close(kTimeout), std::optional<DWORD>(0));
    const std::pair<const char*, const char*> keys[] = {{"Calibration Data", "Path"},
                                                        {"General Settings", "Auto Recycle Days"},
                                                        {"Camera Angle", "Height"},
                                                        {"Camera Angle", "Angle YZ"},
                                                        {"Counter Settings", "Mask Size"}};
    const std::string expected[] = {calibrationPath, "90", "250.0", angleYZ, maskSize};
    for (size_t i = 0; i < std::size(keys); ++i)
        EXPECT_EQ(Stored(keys[i].first, keys[i].second), expected[i]) << keys[i].second;
}

}  // namespace
