// The stand-in host's counting engine against a recording window in place of
// the program's view: pictures and blocks, dialog brackets, and the answers to
// every request, read back the way the program reads them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "hostlink/BlockLayouts.h"
#include "hostlink/HostMessages.h"
#include "hostlink/HostPacking.h"
#include "tools/hostsim/CalibrationFile.h"
#include "tools/hostsim/HostFixture.h"
#include "tools/hostsim/Simulator.h"

using namespace hostsim;

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;
constexpr DWORD kWait = 5000;

// A block as the program sees it: opened by name and mapped.
class OpenedBlock {
  public:
    OpenedBlock(const std::string& name, std::size_t bytes)
        : m_handle(::OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name.c_str())),
          m_view(m_handle ? ::MapViewOfFile(m_handle.get(), FILE_MAP_ALL_ACCESS, 0, 0, bytes)
                          : nullptr) {}
    unsigned char* data() const { return static_cast<unsigned char*>(m_view.get()); }

  private:
    KernelHandle m_handle;
    MappedView m_view;
};

std::string Suffix() {
    return "-test-" + std::to_string(::GetCurrentProcessId());
}

Scene QuietScene() {
    Scene scene = DefaultScene(CameraModel{});
    scene.people.clear();
    return scene;
}

std::string SixDecimals(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}

class SimulatorTest : public ::testing::Test {
  protected:
    SimulatorTest()
        : sim(host.Host(), host.SettingsFile(1), QuietScene(), Suffix()), truth(QuietScene()) {}

    // The program announces its view.
    void Attach() {
        ::PostMessageA(host.HostHwnd(), WM_HOST_ATTACH, reinterpret_cast<WPARAM>(view.hwnd()),
                       0x1234);
        ASSERT_TRUE(WaitFor([&] { return sim.Snapshot().attached; }));
    }
    void ToHost(UINT msg, std::uint32_t wParam, std::uint32_t lParam) {
        ::PostMessageA(host.HostHwnd(), msg, wParam, static_cast<LPARAM>(lParam));
    }
    template <typename F>
    static bool WaitFor(F done) {
        for (int i = 0; i < 250; ++i) {
            if (done()) return true;
            ::Sleep(20);
        }
        return done();
    }
    std::string Block(SharedBlocks::Block block) { return SharedBlocks::Name(block) + Suffix(); }

    HostFixture host;  // host window and settings folder
    HostWindow view;   // stands in for the program's view
    Simulator sim;
    StereoRenderer truth;
};

}  // namespace

TEST_F(SimulatorTest, BlocksExistButWithoutAViewNoPictures) {
    ASSERT_TRUE(sim.BlocksReady());
    EXPECT_NE(OpenedBlock(Block(SharedBlocks::kRectImage), 2 * kPictureBytes).data(), nullptr);
    EXPECT_NE(OpenedBlock(Block(SharedBlocks::kPatternFeature), 32).data(), nullptr);
    EXPECT_FALSE(sim.SendFrame());
    EXPECT_FALSE(sim.PostToView(WM_VIEW_CLOSE, 0, 0));
}

// Without a dialog a frame is the live picture only; a dialog bracket adds the
// rectified pictures of its count.
TEST_F(SimulatorTest, LivePictureIsTheLeftViewAndADialogBracketAddsRectifiedPictures) {
    Attach();
    ASSERT_TRUE(sim.SendFrame());
    auto frame = view.WaitForMessage(WM_VIEW_NEW_FRAME, kWait);
    ASSERT_TRUE(frame);
    EXPECT_EQ(hostlink::FrameKind(frame->wParam), hostlink::kFrameLive);
    EXPECT_EQ(hostlink::UnpackFrameSize(frame->lParam), (hostlink::FrameSize{320, 240}));
    std::vector<unsigned char> left(kPictureBytes), right(kPictureBytes);
    truth.Render(0, left.data(), right.data());
    OpenedBlock image(Block(SharedBlocks::kImage), kPictureBytes);
    ASSERT_NE(image.data(), nullptr);
    EXPECT_EQ(std::memcmp(image.data(), left.data(), kPictureBytes), 0);
    ::Sleep(100);
    EXPECT_EQ(view.Count(WM_VIEW_NEW_FRAME), 1u);

    ToHost(WM_HOST_DIALOG_STATE, 1, 2);
    ASSERT_TRUE(WaitFor([&] { return sim.Snapshot().dialogPictures == 2; }));
    ASSERT_TRUE(sim.SendFrame());
    ASSERT_TRUE(view.WaitForCount(WM_VIEW_NEW_FRAME, 3, kWait));
    std::vector<HostMessage> frames;
    for (const auto& m : view.Messages())
        if (m.msg == WM_VIEW_NEW_FRAME) frames.push_back(m);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(hostlink::FrameKind(frames[2].wParam), hostlink::kFrameRectified);
    EXPECT_EQ(hostlink::FrameCount(frames[2].wParam), 2u);
    OpenedBlock rect(Block(SharedBlocks::kRectImage), 2 * kPictureBytes);
    ASSERT_NE(rect.data(), nullptr);
    EXPECT_EQ(std::memcmp(rect.data(), left.data(), kPictureBytes), 0);
    EXPECT_EQ(std::memcmp(rect.data() + kPictureBytes, right.data(), kPictureBytes), 0);

    // A count the view cannot show is cut to 2; closing ends the rectified pictures.
    ToHost(WM_HOST_DIALOG_STATE, 1, 7);
    ToHost(WM_HOST_DIALOG_STATE, 0, 1);
    ASSERT_TRUE(WaitFor([&] { return sim.Snapshot().dialogPictures == 0; }));
    ASSERT_TRUE(sim.SendFrame());
    ASSERT_TRUE(view.WaitForCount(WM_VIEW_NEW_FRAME, 4, kWait));
    ::Sleep(100);
    EXPECT_EQ(view.Count(WM_VIEW_NEW_FRAME), 4u);
    const auto events = sim.Events();
    EXPECT_NE(std::find(events.begin(), events.end(), "dialog opened: 2 rectified picture(s)"),
              events.end());
}

TEST_F(SimulatorTest, PatternCornersAnswerTheCameraAngleUnlessIncomplete) {
    Attach();
    OpenedBlock pattern(Block(SharedBlocks::kPatternFeature), 32);
    ASSERT_NE(pattern.data(), nullptr);
    hostlink::WritePatternCorners(pattern.data(),
                                  {hostlink::HostPoint{100, 180}, hostlink::HostPoint{200, 180},
                                   hostlink::kNoCorner, hostlink::HostPoint{180, 100}});
    ToHost(WM_HOST_PATTERN_FEATURES, 0, 0);
    EXPECT_FALSE(view.WaitForMessage(WM_VIEW_CAMERA_ANGLE, 500));
    const auto events = sim.Events();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), "pattern corners incomplete: no camera angle sent");

    ASSERT_TRUE(sim.SendFrame());
    const TemplateCorners exact = truth.TemplateInPicture();
    hostlink::PatternCorners clicked;
    for (std::size_t i = 0; i < 4; ++i)
        clicked[i] = {static_cast<int32_t>(std::lround(exact[i].x)),
                      static_cast<int32_t>(std::lround(exact[i].y))};
    hostlink::WritePatternCorners(pattern.data(), clicked);
    ToHost(WM_HOST_PATTERN_FEATURES, 0, 0);
    ASSERT_TRUE(view.WaitForMessage(WM_VIEW_CAMERA_ANGLE, kWait));
    OpenedBlock angle(Block(SharedBlocks::kCameraAngle), 12);
    const hostlink::CameraAngleBlock answer = hostlink::ReadCameraAngle(angle.data());
    const double tilt = (answer.angleYZ + std::numbers::pi / 2) / kDeg;
    EXPECT_NEAR(tilt, 60.0, 0.5);
    EXPECT_NEAR(answer.angleXY / kDeg, 1.5, 1.0);
    EXPECT_NEAR(answer.angleXZ / kDeg, 3.0, 1.0);
}

TEST_F(SimulatorTest, CountingLineAnswersFloorPointsAndInSide) {
    // The camera angle the program stored, six decimals as it writes them.
    const CameraAngles stored = AnglesOfPose(truth.scene().pose);
    host.WriteIni("Setting01.ini", "Camera Angle", "Angle XY", SixDecimals(stored.angleXY));
    host.WriteIni("Setting01.ini", "Camera Angle", "Angle YZ", SixDecimals(stored.angleYZ));
    host.WriteIni("Setting01.ini", "Camera Angle", "Angle XZ", SixDecimals(stored.angleXZ));
    host.WriteIni("Setting01.ini", "Camera Angle", "Height", "240.0");
    Attach();
    const Vec3 floor1{-60, 120, 0}, floor2{80, 120, 0};
    const auto p1 = truth.leftCamera().Project(floor1);
    const auto p2 = truth.leftCamera().Project(floor2);
    ASSERT_TRUE(p1 && p2);
    ToHost(WM_HOST_EDIT_COUNTING_LINE,
           hostlink::PackPoint(static_cast<int>(std::lround(p1->x)),
                               static_cast<int>(std::lround(p1->y))),
           hostlink::PackPoint(static_cast<int>(std::lround(p2->x)),
                               static_cast<int>(std::lround(p2->y))));
    auto answer = view.WaitForMessage(WM_VIEW_COUNTING_LINE_3D, kWait);
    ASSERT_TRUE(answer);
    EXPECT_EQ(hostlink::ParamBits(answer->wParam), 1u);
    OpenedBlock line(Block(SharedBlocks::kCountingLine), 12);
    const hostlink::CountingLineBlock world = hostlink::ReadCountingLine(line.data());
    EXPECT_NEAR(world.worldPt1x, floor1.x, 2.0);
    EXPECT_NEAR(world.worldPt1y, floor1.y, 2.0);
    EXPECT_NEAR(world.worldPt2x, floor2.x, 2.0);
    EXPECT_NEAR(world.worldPt2y, floor2.y, 2.0);
    // The camera stands at Y = 0, nearer than the line: "in" points down the picture.
    EXPECT_GT(std::sin(world.angleIn), 0.95);
}

TEST_F(SimulatorTest, RegionAnswersDisparityAndDistanceAsFloatBits) {
    Attach();
    ASSERT_TRUE(sim.SendFrame());
    ToHost(WM_HOST_MEASURE_REGION, hostlink::PackPoint(260, 200), hostlink::PackPoint(290, 220));
    auto answer = view.WaitForMessage(WM_VIEW_REGION_RESULT, kWait);
    ASSERT_TRUE(answer);
    const float disparity = hostlink::UnpackFloat(answer->wParam);
    const float distance = hostlink::UnpackFloat(answer->lParam);
    const double expected = truth.FloorDisparityAt(274.5, 209.5);
    EXPECT_NEAR(disparity, expected, 0.25);
    EXPECT_NEAR(distance, 2600.0 / disparity, 0.01);

    // Inside the template's dark square: nothing to match.
    const TemplateCorners c = truth.TemplateInPicture();
    const int cx = static_cast<int>((c[0].x + c[1].x + c[2].x + c[3].x) / 4);
    const int cy = static_cast<int>((c[0].y + c[1].y + c[2].y + c[3].y) / 4);
    const std::size_t mark = view.MessageCount();
    ToHost(WM_HOST_MEASURE_REGION, hostlink::PackPoint(cx - 8, cy - 6),
           hostlink::PackPoint(cx + 8, cy + 6));
    auto none = view.WaitForMessage(WM_VIEW_REGION_RESULT, kWait, mark);
    ASSERT_TRUE(none);
    EXPECT_EQ(hostlink::UnpackFloat(none->wParam), 0.0f);
    EXPECT_EQ(hostlink::UnpackFloat(none->lParam), 0.0f);
}

TEST_F(SimulatorTest, SavedCounterSettingsAreShownFromTheFileAndASetLineIsEchoed) {
    host.WriteIni("Setting01.ini", "Counter Settings", "Setted", "1");
    host.WriteIni("Setting01.ini", "Counter Settings", "Image Cnt Line Pt1 x", "40");
    host.WriteIni("Setting01.ini", "Counter Settings", "Image Cnt Line Pt1 y", "150");
    host.WriteIni("Setting01.ini", "Counter Settings", "Image Cnt Line Pt2 x", "280");
    host.WriteIni("Setting01.ini", "Counter Settings", "Image Cnt Line Pt2 y", "160");
    host.WriteIni("Setting01.ini", "Common", "Cut X1", "400");  // beyond the picture: cut
    host.WriteIni("Setting01.ini", "Common", "Cut X2", "25");
    Attach();
    std::size_t mark = view.MessageCount();
    ToHost(WM_HOST_COUNTER_SETTINGS_SAVED, 0, 0);
    auto line = view.WaitForMessage(WM_VIEW_COUNTING_LINE, kWait, mark);
    auto counter = view.WaitForMessage(WM_VIEW_COUNTER_RECT, kWait, mark);
    ASSERT_TRUE(line && counter);
    EXPECT_EQ(hostlink::UnpackPoint(line->wParam), (hostlink::HostPoint{40, 150}));
    EXPECT_EQ(hostlink::UnpackPoint(line->lParam), (hostlink::HostPoint{280, 160}));
    EXPECT_EQ(hostlink::UnpackRect(counter->wParam, counter->lParam),
              (hostlink::HostRect{25, 0, 319, 239}));

    mark = view.MessageCount();
    ToHost(WM_HOST_SET_COUNTING_LINE, hostlink::PackPoint(10, 20), hostlink::PackPoint(300, 220));
    line = view.WaitForMessage(WM_VIEW_COUNTING_LINE, kWait, mark);
    ASSERT_TRUE(line);
    EXPECT_EQ(hostlink::ParamBits(line->wParam), hostlink::PackPoint(10, 20));
    EXPECT_EQ(hostlink::ParamBits(line->lParam), hostlink::PackPoint(300, 220));
}

TEST_F(SimulatorTest, CalibrationChangeLoadsAGoodFileAndKeepsTheModelForABadOne) {
    Attach();
    CameraModel wide;
    wide.focalLength = 200;
    wide.baseline = 12;
    ASSERT_TRUE(WriteCalibrationFile(host.PathOf("Wide.coe"), wide));
    host.WriteIni("Setting01.ini", "Calibration Data", "Path", host.PathOf("Wide.coe"));
    ToHost(WM_HOST_CALIBRATION_CHANGED, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return sim.model().focalLength == 200.0f; }));
    EXPECT_EQ(sim.model().baseline, 12.0f);

    ASSERT_TRUE(host.WriteFile("Short.coe", std::string(100, '\0')));
    host.WriteIni("Setting01.ini", "Calibration Data", "Path", host.PathOf("Short.coe"));
    const std::size_t before = sim.Events().size();
    ToHost(WM_HOST_CALIBRATION_CHANGED, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return sim.Events().size() > before; }));
    EXPECT_EQ(sim.model().focalLength, 200.0f);
}

TEST_F(SimulatorTest, ProvidesACalibrationFileWhenTheSettingsNameNone) {
    sim.ProvideCalibrationOnAttach(host.PathOf("HostSim01.coe"));
    Attach();
    ASSERT_TRUE(view.WaitForMessage(WM_VIEW_CALIBRATION_CHANGED, kWait));
    EXPECT_EQ(host.ReadIni("Setting01.ini", "Calibration Data", "Path"),
              host.PathOf("HostSim01.coe"));
    const auto bytes = host.ReadFile("HostSim01.coe");
    ASSERT_TRUE(bytes);
    ASSERT_EQ(bytes->size(), 272u);
    float version = 0;
    std::memcpy(&version, bytes->data(), 4);
    EXPECT_EQ(version, 2.0f);
}

TEST_F(SimulatorTest, StreamsSteadilyUntilTheProgramDetaches) {
    Attach();
    sim.StartStreaming(30);
    ASSERT_TRUE(view.WaitForCount(WM_VIEW_NEW_FRAME, 10, kWait));
    ToHost(WM_HOST_DETACH, 0, 0);
    ASSERT_TRUE(sim.WaitForDetach(kWait));
    ::Sleep(200);  // a picture already on its way may still land
    const std::size_t after = view.Count(WM_VIEW_NEW_FRAME);
    ::Sleep(300);
    EXPECT_EQ(view.Count(WM_VIEW_NEW_FRAME), after);
    EXPECT_FALSE(sim.SendFrame());
    sim.StopStreaming();
}

TEST_F(SimulatorTest, UnknownMessagesAreOnlyNoted) {
    Attach();
    ToHost(0x8123, 5, 6);
    ASSERT_TRUE(WaitFor([&] {
        const auto e = sim.Events();
        return !e.empty() && e.back() == "ignored message 8123 (00000005, 00000006)";
    }));
}
