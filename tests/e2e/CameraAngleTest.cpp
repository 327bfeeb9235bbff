// Camera Angle and its Verification as an installer uses them: the template's
// corners clicked on the simulated camera's picture and measured by the
// stand-in host, the result stored with the reference picture, units, refused
// input, missing blocks, late answers, and the stored picture shown again.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "EndToEnd.h"
#include "hostlink/BlockLayouts.h"
#include "hostlink/HostMessages.h"
#include "res/Resource.h"
#include "tools/hostsim/HostFixture.h"
#include "tools/hostsim/SharedBlocks.h"
#include "tools/hostsim/Simulator.h"

namespace {

using e2e::kTimeout;
using e2e::WaitFor;
using hostsim::HostFixture;

constexpr char kIni[] = "Setting01.ini";

POINT Pixel(const hostsim::Vec2& p) {
    return {std::lround(p.x), std::lround(p.y)};
}

class CameraAngle : public ::testing::Test {
  protected:
    void Start(const hostsim::Scene* scene = nullptr) {
        if (scene)
            sim = std::make_unique<hostsim::Simulator>(host.Host(), host.SettingsFile(1), *scene);
        ASSERT_TRUE(e2e::Start(host));
        if (sim) sim->StartStreaming(15);
    }
    bool UpdateEnabled() const { return dialog.Enabled(IDC_CA_UPDATE); }
    bool WarningShown() const { return IsWindowVisible(dialog.Item(IDC_CA_WARNING)); }
    void Calculate() {
        dialog.Press(IDC_CA_CALCULATE);
        ASSERT_TRUE(WaitFor([&] { return UpdateEnabled(); }));
    }
    void Update(size_t saved) {
        dialog.Press(IDC_CA_UPDATE);
        ASSERT_TRUE(host.WaitForCount(WM_HOST_CAMERA_ANGLE_SAVED, saved + 1, kTimeout));
    }
    std::string Box() const { return e2e::AnswerBox(host).text; }
    std::string Stored(const char* section, const char* key) const {
        return host.ReadIni(kIni, section, key, "<none>");
    }

    HostFixture host;
    std::unique_ptr<hostsim::Simulator> sim;
    e2e::Dialog dialog{host};
};

TEST_F(CameraAngle, MeasuredTiltIsTheMountingsAndUpdateStoresItWithTheReferencePicture) {
    host.WriteIni(kIni, "Counter Settings", "Setted", "1");
    const hostsim::Scene scene = e2e::TemplateAhead(60, 1.5, 3, 240);
    std::vector<unsigned char> left(hostsim::kPictureBytes);
    hostsim::StereoRenderer(scene).Render(0, left.data(), nullptr);
    auto green = [&](int id, int x, int y) {
        return dialog.Shot(id).Pixel(x, y) == RGB(0, 255, 0);
    };
    auto sceneShown = [&](const hostsim::Capture& capture) {  // of 4800 pixels looked at
        int same = 0;
        for (int y = 0; y < 240; y += 4)
            for (int x = 0; x < 320; x += 4) {
                const unsigned char* p = &left[static_cast<size_t>((239 - y) * 320 + x) * 3];
                same += capture.Pixel(x, y) == RGB(p[2], p[1], p[0]);
            }
        return same;
    };
    Start(&scene);
    // Verification before any angle: a black old picture; a mark goes to both pictures.
    ASSERT_TRUE(dialog.Open(153, IDC_AV_OLD));
    ASSERT_TRUE(WaitFor([&] { return dialog.Shot(IDC_AV_OLD).Pixel(160, 120) == RGB(0, 0, 0); }));
    EXPECT_EQ(sceneShown(dialog.Shot(IDC_AV_OLD)), 0);
    dialog.Click(IDC_AV_OLD, {50, 60});
    ASSERT_TRUE(WaitFor([&] { return green(IDC_AV_CURRENT, 50, 60); }));
    EXPECT_TRUE(WaitFor([&] { return green(IDC_AV_OLD, 52, 60); }));
    dialog.Click(IDC_AV_CURRENT, {100, 100});
    ASSERT_TRUE(WaitFor([&] { return green(IDC_AV_OLD, 100, 98); }));
    EXPECT_FALSE(green(IDC_AV_OLD, 52, 60));
    ASSERT_TRUE(dialog.Close(IDC_AV_EXIT));

    // The corners clicked in any order reach the host in slot order, and the
    // tilt shown is the mounting's within half a degree.
    ASSERT_TRUE(dialog.Open(152, IDC_CA_PICTURE));
    EXPECT_FALSE(UpdateEnabled() || WarningShown());
    for (size_t slot : {2, 3, 1, 0})
        dialog.Click(IDC_CA_PICTURE, Pixel(sim->TemplateInPicture()[slot]));
    Calculate();
    KernelHandle mapping(
        OpenFileMappingA(FILE_MAP_READ, FALSE, hostlink::kPatternFeatureBlockName));
    MappedView block(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 32));
    ASSERT_TRUE(block);
    const auto slots = hostlink::ReadPatternCorners(static_cast<unsigned char*>(block.get()));
    for (size_t slot = 0; slot < 4; ++slot) {
        const POINT p = Pixel(sim->TemplateInPicture()[slot]);
        EXPECT_EQ(slots[slot], (hostlink::HostPoint{p.x, p.y})) << slot;
    }
    EXPECT_NEAR(std::stod(dialog.Text(IDC_CA_ANGLE)), 60, 0.5);

    dialog.Type(IDC_CA_HEIGHT, "250");
    Update(0);
    char yz[32];
    std::snprintf(yz, sizeof yz, "%.6f", static_cast<double>(sim->Snapshot().lastAngles->angleYZ));
    const std::pair<const char*, std::string> stored[] = {
        {"Angle YZ", yz}, {"Height", "250.0"}, {"Template Dimension", "100.0"}, {"Setted", "1"}};
    for (const auto& [key, value] : stored) EXPECT_EQ(Stored("Camera Angle", key), value) << key;
    EXPECT_EQ(Stored("Counter Settings", "Setted"), "0");  // the angle changed
    EXPECT_EQ(sim->Snapshot().settings.height, 250.0f);    // read by the host when told
    const auto bmp = host.ReadFile("VImage01.bmp");
    ASSERT_TRUE(bmp && bmp->size() == 230454u);
    EXPECT_EQ(std::memcmp(bmp->data() + 54, left.data(), left.size()), 0);

    // The same angles again keep a counting line drawn since.
    host.WriteIni(kIni, "Counter Settings", "Setted", "1");
    Calculate();
    Update(1);
    EXPECT_EQ(Stored("Counter Settings", "Setted"), "1");
    // A result left without Update stores nothing.
    const auto ini = host.ReadFile(kIni);
    Calculate();
    ASSERT_TRUE(dialog.Close(IDC_CA_EXIT));
    ASSERT_TRUE(dialog.Open(153, IDC_AV_OLD));
    EXPECT_TRUE(WaitFor([&] { return sceneShown(dialog.Shot(IDC_AV_OLD)) > 4700; }));
    EXPECT_EQ(host.ReadFile(kIni), ini);
    EXPECT_EQ(host.ReadFile("VImage01.bmp"), bmp);
}

// The test is the host here: it chooses the answers.
TEST_F(CameraAngle, MissingBlocksFewCornersInchesRefusedHeightAndStrayAnswers) {
    host.WriteIni(kIni, "General Settings", "Unit", "1");
    host.WriteIni(kIni, "Camera Angle", "Height", "250.0");
    Start();
    ASSERT_TRUE(dialog.Open(152, IDC_CA_PICTURE));
    EXPECT_EQ(
        dialog.Text(IDC_CA_HEIGHT) + dialog.Text(IDC_CA_TEMPLATE) + dialog.Text(IDC_CA_HEIGHT_UNIT),
        "98.439.4inch");
    for (WPARAM key : {VK_RETURN, VK_ESCAPE})
        PostMessageA(dialog.Item(IDC_CA_HEIGHT), WM_KEYDOWN, key, 0);
    for (POINT p : {POINT{200, 50}, POINT{200, 200}, POINT{50, 200}})
        dialog.Click(IDC_CA_PICTURE, p);
    dialog.Press(IDC_CA_CALCULATE);
    EXPECT_EQ(Box(), "Please select the four corners of the square first!");
    dialog.Click(IDC_CA_PICTURE, {50, 50});
    dialog.Press(IDC_CA_CALCULATE);
    EXPECT_EQ(Box(), "Can't Open Shared Memory for Writting Pattern Features!");
    host.PostToView(WM_VIEW_CAMERA_ANGLE, 0, 0);
    EXPECT_EQ(Box(), "Can't Open Shared Memory for Reading Camera Angle!");
    EXPECT_EQ(dialog.Text(IDC_CA_ANGLE), "45.0");
    EXPECT_FALSE(UpdateEnabled());
    EXPECT_EQ(host.Count(WM_HOST_PATTERN_FEATURES), 0u);

    hostsim::SharedBlocks blocks;
    ASSERT_TRUE(blocks.ok());
    dialog.Press(IDC_CA_CALCULATE);
    ASSERT_TRUE(host.WaitForMessage(WM_HOST_PATTERN_FEATURES, kTimeout));
    auto answer = [&](float yz) {  // returns once the view has handled it
        hostlink::WriteCameraAngle(blocks.data(hostsim::SharedBlocks::kCameraAngle),
                                   {0.01f, yz, 0.02f});
        host.SendToView(WM_VIEW_CAMERA_ANGLE, 0, 0);
    };
    // No angle at all: the user is told, and the dialog keeps its values.
    hostlink::WriteCameraAngle(blocks.data(hostsim::SharedBlocks::kCameraAngle),
                               {0.01f, std::numeric_limits<float>::quiet_NaN(), 0.02f});
    host.PostToView(WM_VIEW_CAMERA_ANGLE, 0, 0);
    EXPECT_EQ(Box(),
              "The counting engine found no usable camera angle. Check that the four corners "
              "lie on the template and press Calculate again.");
    EXPECT_FALSE(UpdateEnabled());
    EXPECT_EQ(dialog.Text(IDC_CA_ANGLE), "45.0");
    answer(-0.6f);
    EXPECT_TRUE(UpdateEnabled() && WarningShown());
    EXPECT_EQ(dialog.Text(IDC_CA_ANGLE), "55.6");
    Update(0);  // the height untouched: 250 cm, not 98.4 inches back
    EXPECT_EQ(Stored("Camera Angle", "Height"), "250.0");
    EXPECT_EQ(Stored("Camera Angle", "Angle YZ"), "-0.600000");
    EXPECT_FALSE(UpdateEnabled() || WarningShown());

    dialog.Type(IDC_CA_HEIGHT, "abc");
    dialog.Press(IDC_CA_UPDATE);
    EXPECT_EQ(Box(), "Please enter the camera height as a number greater than 0.");
    dialog.Type(IDC_CA_HEIGHT, "100");
    Update(1);
    EXPECT_EQ(Stored("Camera Angle", "Height"), "254.0");
    EXPECT_EQ(dialog.Text(IDC_CA_HEIGHT), "100.0");
    EXPECT_EQ(host.Count(WM_HOST_CAMERA_ANGLE_SAVED), 2u);

    // An answer after Exit reaches no dialog: the next showing has the stored angle.
    ASSERT_TRUE(dialog.Close(IDC_CA_EXIT));
    answer(-0.2f);
    ASSERT_TRUE(dialog.Open(152, IDC_CA_PICTURE));
    EXPECT_EQ(dialog.Text(IDC_CA_ANGLE), "55.6");
    EXPECT_FALSE(UpdateEnabled());
}

}  // namespace
