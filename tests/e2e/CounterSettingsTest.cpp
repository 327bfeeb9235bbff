// Counter Settings as an installer uses it against the stand-in host: the
// counting line drawn on the picture and answered by the host, the masks, the
// values stored on OK, Reset All, refused input, the arrows and the tips.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "EndToEnd.h"
#include "framework/Handles.h"
#include "hostlink/HostMessages.h"
#include "hostlink/HostPacking.h"
#include "res/Resource.h"
#include "tools/hostsim/HostFixture.h"
#include "tools/hostsim/SharedBlocks.h"
#include "tools/hostsim/Simulator.h"

namespace {

using e2e::kTimeout;
using e2e::WaitFor;
using hostsim::Capture;
using hostsim::HostFixture;

constexpr char kIni[] = "Setting01.ini";
constexpr char kSection[] = "Counter Settings";

// Where an arrow picture of one colour lies in a capture, and which way it
// points when it lies across: the arrow's tail is a tall column, its tip a
// single pixel.
struct ArrowSeen {
    int left = 0;
    int right = 0;
    bool pointsRight = false;
};
std::optional<ArrowSeen> FindArrow(const Capture& capture, bool blue) {
    auto matches = [&](int x, int y) {
        const COLORREF c = capture.Pixel(x, y);
        const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
        return blue ? (b > 180 && r < 130 && g < 180) : (r > 180 && b < 130 && g < 130);
    };
    int left = capture.width, right = -1, pixels = 0;
    for (int y = 0; y < capture.height; ++y)
        for (int x = 0; x < capture.width; ++x)
            if (matches(x, y)) left = std::min(left, x), right = std::max(right, x), ++pixels;
    if (pixels < 30) return std::nullopt;  // a whole arrow, not a stray pixel
    auto columnCount = [&](int x) {
        int count = 0;
        for (int y = 0; y < capture.height; ++y) count += matches(x, y);
        return count;
    };
    return ArrowSeen{left, right, columnCount(right) < columnCount(left)};
}

class CounterSettings : public ::testing::Test {
  protected:
    void SetUp() override {
        sim.emplace(host.Host(), host.SettingsFile(1),
                    hostsim::DefaultScene(hostsim::CameraModel{}));
        ASSERT_TRUE(sim->BlocksReady());
    }
    // Starts the program on the settings written so far and opens the dialog.
    void StartAndOpen() {
        ASSERT_TRUE(e2e::Start(host));
        ASSERT_TRUE(dialog.Open(151, IDC_CS_PICTURE));
    }
    void Drag(POINT from, POINT to) { dialog.Drag(IDC_CS_PICTURE, from, to); }
    void Click(POINT p) { dialog.Click(IDC_CS_PICTURE, p); }
    std::string Stored(const char* key) const {
        return host.ReadIni(kIni, kSection, key, "<none>");
    }
    void Store(const char* key, const char* value) { host.WriteIni(kIni, kSection, key, value); }
    // The stored mask as a region of this process (null when there is none).
    RegionHandle StoredMask() const {
        const auto bytes = host.ReadFile("Mask01.bin");
        if (!bytes || bytes->size() != std::stoul(Stored("Mask Size"))) return RegionHandle{};
        return RegionHandle(::ExtCreateRegion(nullptr, static_cast<DWORD>(bytes->size()),
                                              reinterpret_cast<const RGNDATA*>(bytes->data())));
    }
    // A stored line across the picture (vertical, in angle 0 = "In" to the right).
    void StoreVerticalLine() {
        Store("Setted", "1");
        Store("Image Cnt Line Pt1 x", "160");
        Store("Image Cnt Line Pt1 y", "60");
        Store("Image Cnt Line Pt2 x", "160");
        Store("Image Cnt Line Pt2 y", "180");
        Store("AngleIN", "0.000000");
    }
    // Pixels of a colour in the main window's live picture, sent afresh.
    int ShownInView(COLORREF color, RECT area) {
        sim->SendFrame();
        return e2e::CountInPicture(HostFixture::CaptureWindow(host.ViewHwnd()), area, color);
    }

    HostFixture host;
    std::optional<hostsim::Simulator> sim;  // the counting engine answering the program
    e2e::Dialog dialog{host};
};

TEST_F(CounterSettings, DrawnLineGoesToTheHostAndItsAnswerIsStoredOnOk) {
    StartAndOpen();
    dialog.PressNow(IDC_CS_DRAW_LINE);
    Drag({100, 160}, {160, 160});  // 60 pixels: long enough to ask the host
    const auto request = host.WaitForMessage(WM_HOST_EDIT_COUNTING_LINE, kTimeout);
    ASSERT_TRUE(request.has_value());
    EXPECT_EQ(request->wParam, hostlink::PackPoint(100, 160));
    EXPECT_EQ(request->lParam, hostlink::PackPoint(160, 160));
    ASSERT_TRUE(WaitFor([&] { return sim->Snapshot().lastFloorLine.has_value(); }));
    const hostsim::FloorLine floor = *sim->Snapshot().lastFloorLine;
    // The answer is drawn with both arrows (the host's picture stays black).
    ASSERT_TRUE(WaitFor([&] {
        const Capture shot = dialog.Shot(IDC_CS_PICTURE);
        return FindArrow(shot, true) && FindArrow(shot, false);
    }));

    const size_t before = host.MessageCount();
    ASSERT_TRUE(dialog.Close(IDC_CS_OK));
    std::vector<UINT> order;
    const auto messages = host.Messages();
    for (size_t i = before; i < messages.size(); ++i) order.push_back(messages[i].msg);
    EXPECT_EQ(order, (std::vector<UINT>{WM_HOST_SET_COUNTING_LINE, WM_HOST_COUNTER_SETTINGS_SAVED,
                                        WM_HOST_DIALOG_STATE}));
    EXPECT_EQ(messages.back().wParam, 0u);
    EXPECT_EQ(messages.back().lParam, 1u);
    EXPECT_EQ(messages[before].wParam, hostlink::PackPoint(100, 160));

    EXPECT_EQ(Stored("Setted"), "1");
    EXPECT_EQ(Stored("Image Cnt Line Pt1 x"), "100");
    EXPECT_EQ(Stored("Image Cnt Line Pt2 x"), "160");
    EXPECT_EQ(Stored("World Cnt Line Pt1 x"), std::to_string(floor.x1));
    EXPECT_EQ(Stored("World Cnt Line Pt2 y"), std::to_string(floor.y2));
    EXPECT_NEAR(std::stod(Stored("AngleIN")), floor.angleIn, 1e-5);
    // The live picture now shows the new band.
    EXPECT_TRUE(WaitFor([&] { return ShownInView(RGB(0, 255, 0), {100, 150, 160, 170}) > 100; }));
}

TEST_F(CounterSettings, AnswersWithoutALineRequestOrAfterTheDialogAreIgnored) {
    StartAndOpen();
    // wParam 0 is no answer; a line block with nonsense values is taken as the
    // host's floor line for the picture line (none here), and nothing breaks.
    ASSERT_TRUE(host.SendToView(WM_VIEW_COUNTING_LINE_3D, 0, 0));
    ASSERT_TRUE(host.SendToView(WM_VIEW_COUNTING_LINE_3D, 1, 0));
    ASSERT_TRUE(dialog.Close(IDC_CS_OK));
    EXPECT_EQ(Stored("Setted"), "0");
    ASSERT_TRUE(host.SendToView(WM_VIEW_COUNTING_LINE_3D, 1, 0));
    EXPECT_TRUE(host.Running());
    EXPECT_EQ(host.Count(WM_HOST_SET_COUNTING_LINE), 0u);
}

// A mask that cannot be stored (here a folder stands where the file goes) is
// said; the settings, the mask file and the mask the main window draws keep
// agreeing on the previous mask (none), and the rest is stored all the same.
TEST_F(CounterSettings, AMaskThatCannotBeStoredIsSaidAndThePreviousOneStaysInForce) {
    StoreVerticalLine();  // the main window draws the mask with a counting line only
    ASSERT_TRUE(CreateDirectoryA(host.PathOf("Mask01.bin").c_str(), nullptr));
    ASSERT_TRUE(e2e::Start(host));
    for (const bool storable : {false, true}) {
        SCOPED_TRACE(storable ? "storable" : "a folder in the way");
        if (storable) {
            ASSERT_TRUE(RemoveDirectoryA(host.PathOf("Mask01.bin").c_str()));
        }
        ASSERT_TRUE(dialog.Open(151, IDC_CS_PICTURE));
        dialog.PressNow(IDC_CS_RECTANGLE);
        Drag({20, 20}, {60, 60});
        dialog.PressNow(storable ? IDC_CS_TRACKING_FRAME_ON : IDC_CS_TRACKING_FRAME_OFF);
        const size_t saved = host.Count(WM_HOST_COUNTER_SETTINGS_SAVED);
        dialog.Press(IDC_CS_OK);
        if (!storable) {
            EXPECT_EQ(e2e::AnswerBox(host).text,
                      "The mask could not be stored. The previous mask stays in force.");
        }
        ASSERT_TRUE(host.WaitForCount(WM_HOST_COUNTER_SETTINGS_SAVED, saved + 1, kTimeout));
        EXPECT_EQ(Stored("Display Tracking Frame"), storable ? "0" : "1");
        EXPECT_EQ(Stored("Mask Size"), storable ? "48" : "0");
        const RECT aroundTheMask{15, 15, 65, 65};
        if (storable) {
            EXPECT_TRUE(WaitFor([&] { return ShownInView(RGB(255, 0, 0), aroundTheMask) > 100; }));
        } else {
            // The live picture is drawn with its line, and no mask on it.
            ASSERT_TRUE(WaitFor([&] { return ShownInView(RGB(0, 255, 0), {0, 0, 320, 240}) > 0; }));
            EXPECT_EQ(ShownInView(RGB(255, 0, 0), aroundTheMask), 0);
        }
    }
}

TEST_F(CounterSettings, MaskShapesAllClearAndCancelAreStoredAsShown) {
    StartAndOpen();
    dialog.PressNow(IDC_CS_RECTANGLE);
    Drag({20, 20}, {60, 60});
    Drag({250, 100}, {255, 140});  // 5 x 40: taken
    dialog.PressNow(IDC_CS_ELLIPSE);
    Drag({100, 20}, {160, 80});
    dialog.PressNow(IDC_CS_IRREGULAR);
    for (POINT p : std::vector<POINT>{{200, 150}, {260, 150}, {230, 210}}) Click(p);
    Click({201, 151});  // inside the closing square: the polygon is closed
    ASSERT_TRUE(dialog.Close(IDC_CS_OK));
    RegionHandle mask = StoredMask();
    ASSERT_TRUE(mask);
    for (const auto& [x, y, masked] :
         {std::tuple{40, 40, true}, std::tuple{130, 50, true}, std::tuple{230, 170, true},
          std::tuple{252, 120, true}, std::tuple{5, 5, false}, std::tuple{102, 22, false},
          std::tuple{300, 230, false}})
        EXPECT_EQ(PtInRegion(mask.get(), x, y) != 0, masked) << x << ", " << y;

    // All masks the whole picture but for the shapes drawn after it.
    ASSERT_TRUE(dialog.Open(151, IDC_CS_PICTURE));
    dialog.PressNow(IDC_CS_CLEAR);
    dialog.PressNow(IDC_CS_ALL);
    dialog.PressNow(IDC_CS_RECTANGLE);
    Drag({50, 50}, {100, 100});
    ASSERT_TRUE(dialog.Close(IDC_CS_OK));
    mask = StoredMask();
    ASSERT_TRUE(mask);
    EXPECT_TRUE(PtInRegion(mask.get(), 10, 10));
    EXPECT_FALSE(PtInRegion(mask.get(), 75, 75));

    // Cancel after new shapes: the file stays as it was; then Clear and the
    // same rectangle: now it is the masked area.
    const auto stored = host.ReadFile("Mask01.bin");
    for (const int closeWith : {IDC_CS_CANCEL, IDC_CS_OK}) {
        ASSERT_TRUE(dialog.Open(151, IDC_CS_PICTURE));
        dialog.PressNow(IDC_CS_CLEAR);
        dialog.PressNow(IDC_CS_RECTANGLE);
        Drag({50, 50}, {100, 100});
        ASSERT_TRUE(dialog.Close(closeWith));
        if (closeWith == IDC_CS_CANCEL) {
            EXPECT_EQ(host.ReadFile("Mask01.bin"), stored);
        }
    }
    mask = StoredMask();
    ASSERT_TRUE(mask);
    EXPECT_FALSE(PtInRegion(mask.get(), 10, 10));
    EXPECT_TRUE(PtInRegion(mask.get(), 75, 75));

    // OK without a mask: "Mask Size" 0, the old file left alone.
    ASSERT_TRUE(dialog.Open(151, IDC_CS_PICTURE));
    dialog.PressNow(IDC_CS_CLEAR);
    ASSERT_TRUE(dialog.Close(IDC_CS_OK));
    EXPECT_EQ(Stored("Mask Size"), "0");
    EXPECT_TRUE(host.FileExists("Mask01.bin"));
}

TEST_F(CounterSettings, ResetAllThenOkStoresTheFactoryValues) {
    StoreVerticalLine();
    for (const char* key :
         {"Display Counter Line", "Display Tracking Frame", "Display Object Height", "Display Mask",
          "Height Detection", "Auto Background Update", "Counting IO Direction"})
        Store(key, "1");
    Store("Counting IO Mode", "2");
    Store("Update Interval", "601");
    Store("Counter Operation Time", "1");
    Store("Operation Start Time", "70000");
    Store("Operation Stop Time", "200000");
    Store("Mask Color", "65280");
    StartAndOpen();
    ASSERT_TRUE(host.WaitForCount(WM_HOST_SET_COUNTING_LINE, 1, kTimeout));
    dialog.PressNow(IDC_CS_RESET_ALL);
    ASSERT_TRUE(dialog.Close(IDC_CS_OK));
    EXPECT_EQ(host.Count(WM_HOST_COUNTER_SETTINGS_SAVED), 1u);
    const std::pair<const char*, const char*> expected[] = {
        {"Setted", "0"},
        {"Image Cnt Line Pt1 x", "-1"},
        {"AngleIN", "0.000000"},
        {"Display Counter Line", "0"},
        {"Display Tracking Frame", "0"},
        {"Display Object Height", "0"},
        {"Display Mask", "0"},
        {"Counting IO Direction", "0"},
        {"Counting IO Mode", "0"},
        {"Height Detection", "0"},
        {"Auto Background Update", "0"},
        {"Update Interval", "30"},
        {"Counter Operation Time", "0"},
        {"Operation Start Time", "80000"},
        {"Operation Stop Time", "180000"},
        {"Mask Size", "0"},
        {"Mask Color", "255"},
    };
    for (const auto& [key, value] : expected) EXPECT_EQ(Stored(key), value) << key;
    EXPECT_EQ(host.Count(WM_HOST_SET_COUNTING_LINE), 1u);  // only the one at start-up
}

TEST_F(CounterSettings, RefusedIntervalsAndTimesKeepTheDialogOpen) {
    Store("Counter Operation Time", "1");
    Store("Operation Start Time", "180000");
    Store("Operation Stop Time", "80000");
    StartAndOpen();
    const std::pair<int, const char*> refused[] = {
        {IDC_CS_INTERVAL_FIRST, "121"},
        {IDC_CS_INTERVAL_SECOND, "60"},
    };
    for (const auto& [id, text] : refused) {
        dialog.Type(IDC_CS_INTERVAL_FIRST, "1");
        dialog.Type(IDC_CS_INTERVAL_SECOND, "0");
        dialog.Type(id, text);
        dialog.Press(IDC_CS_OK);
        const std::string box = e2e::AnswerBox(host).text;
        EXPECT_NE(box.find("Please enter an integer"), std::string::npos) << text << ": " << box;
        EXPECT_TRUE(IsWindow(dialog.hwnd()));
    }
    // Valid interval, but the From-To time runs backwards: said, dialog stays.
    dialog.Type(IDC_CS_INTERVAL_FIRST, "0");
    dialog.Type(IDC_CS_INTERVAL_SECOND, "0");
    dialog.Press(IDC_CS_OK);
    const std::string box = e2e::AnswerBox(host).text;
    EXPECT_NE(box.find("start time must be earlier"), std::string::npos) << box;
    EXPECT_TRUE(IsWindow(dialog.hwnd()));

    // With "24 Hours" the times are not in use: OK goes through, the old
    // times stay, and auto update On with 0:00 is stored Off.
    dialog.PressNow(IDC_CS_ALL_DAY);
    ASSERT_TRUE(dialog.Close(IDC_CS_OK));
    EXPECT_EQ(Stored("Auto Background Update"), "1");
    EXPECT_EQ(Stored("Update Interval"), "0");
    EXPECT_EQ(Stored("Operation Start Time"), "180000");
    EXPECT_EQ(Stored("Operation Stop Time"), "80000");
}

TEST_F(CounterSettings, CountingModeAndDirectionDecideTheArrows) {
    StoreVerticalLine();
    StartAndOpen();
    // The four pictures beside the radios: first row "In" turned, "Out" as
    // drawn; second row the other way round.
    const std::pair<int, bool> besideRadios[] = {{IDC_CS_ARROW_IN_FIRST, false},
                                                 {IDC_CS_ARROW_OUT_FIRST, true},
                                                 {IDC_CS_ARROW_IN_SECOND, true},
                                                 {IDC_CS_ARROW_OUT_SECOND, false}};
    for (const auto& [id, pointsRight] : besideRadios) {
        const bool blue = id == IDC_CS_ARROW_IN_FIRST || id == IDC_CS_ARROW_IN_SECOND;
        std::optional<ArrowSeen> arrow;
        WaitFor([&] { return (arrow = FindArrow(dialog.Shot(id), blue)).has_value(); }, 5000);
        ASSERT_TRUE(arrow.has_value()) << id;
        EXPECT_EQ(arrow->pointsRight, pointsRight) << id;
    }

    struct Case {
        int mode;       // 0 in & out, 1 in only, 2 out only
        int direction;  // 0 or 1
        bool blue, red;
        bool bluePointsRight;  // the blue arrow stands right of the line either way
    } cases[] = {{0, 0, true, true, true},
                 {1, 0, true, false, true},
                 {2, 0, false, true, true},
                 {0, 1, true, true, false}};
    HWND list = dialog.Item(IDC_CS_COUNTING_MODE);
    for (const Case& c : cases) {
        SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(c.mode), 0);
        PostMessageA(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_CS_COUNTING_MODE, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
        dialog.Press(c.direction ? IDC_CS_DIRECTION_SECOND : IDC_CS_DIRECTION_FIRST);
        std::optional<ArrowSeen> blue, red;
        WaitFor(
            [&] {
                const Capture shot = dialog.Shot(IDC_CS_PICTURE);
                blue = FindArrow(shot, true);
                red = FindArrow(shot, false);
                return blue.has_value() == c.blue && red.has_value() == c.red &&
                       (!blue || blue->pointsRight == c.bluePointsRight);
            },
            5000);
        ASSERT_EQ(blue.has_value(), c.blue) << c.mode << "/" << c.direction;
        ASSERT_EQ(red.has_value(), c.red) << c.mode << "/" << c.direction;
        if (blue) {
            EXPECT_GT(blue->left, 160);
            EXPECT_EQ(blue->pointsRight, c.bluePointsRight);
        }
        if (red) {
            EXPECT_LT(red->right, 160);
            EXPECT_EQ(red->pointsRight, !c.bluePointsRight);
        }
    }
    ASSERT_TRUE(dialog.Close(IDC_CS_OK));
    EXPECT_EQ(Stored("Counting IO Direction"), "1");
    EXPECT_EQ(Stored("Counting IO Mode"), "0");
}

// What the tips say is HeightTipsDlgTest's; here when they open.
TEST_F(CounterSettings, TipsOpenOnHeightDetectionOnAndOnTheLinkNeverOnOff) {
    StartAndOpen();
    auto expectTips = [&](const char* what) {
        HWND tips = host.FindTopWindow("Setup Tips for Height Detection", "#32770", kTimeout);
        ASSERT_NE(tips, nullptr) << what;
        PostMessageA(tips, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(tips); })) << what;
    };
    dialog.Press(IDC_CS_HEIGHT_ON);
    expectTips("On");
    dialog.Press(IDC_CS_HEIGHT_ON);
    expectTips("On again");
    dialog.Press(IDC_CS_HEIGHT_OFF);
    // Off opens nothing: the next tips window is the link's own.
    HWND link = dialog.Item(IDC_CS_TIPS_LINK);
    PostMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    PostMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    expectTips("link");
    EXPECT_FALSE(dialog.Enabled(IDC_CS_OBJECT_HEIGHT_ON));
    ASSERT_TRUE(dialog.Close(IDC_CS_CANCEL));
}

// A host that answers with the extremes of its value ranges and no usable in
// angle: what is stored stays loadable.
TEST(CounterSettingsHostFaults, NonsenseAnswersAreStoredSafely) {
    HostFixture host;
    hostsim::SharedBlocks blocks;  // no counting engine: the test answers itself
    ASSERT_TRUE(blocks.ok());
    const int16_t world[4] = {-32768, 32767, 0, -1};
    const float notANumber = std::nanf("");
    unsigned char* line = blocks.data(hostsim::SharedBlocks::kCountingLine);
    std::memcpy(line, world, sizeof world);
    std::memcpy(line + 8, &notANumber, sizeof notANumber);
    ASSERT_TRUE(e2e::Start(host));
    e2e::Dialog dialog{host};
    ASSERT_TRUE(dialog.Open(151, IDC_CS_PICTURE));
    dialog.PressNow(IDC_CS_DRAW_LINE);
    dialog.Drag(IDC_CS_PICTURE, {40, 100}, {200, 100});
    ASSERT_TRUE(host.WaitForMessage(WM_HOST_EDIT_COUNTING_LINE, kTimeout).has_value());
    ASSERT_TRUE(host.SendToView(WM_VIEW_COUNTING_LINE_3D, 1, 0));
    ASSERT_TRUE(dialog.Close(IDC_CS_OK));
    EXPECT_EQ(host.Count(WM_HOST_COUNTER_SETTINGS_SAVED), 1u);
    const auto stored = [&](const char* key) { return host.ReadIni(kIni, kSection, key); };
    EXPECT_EQ(stored("Setted"), "1");
    EXPECT_EQ(stored("World Cnt Line Pt1 x"), "-32768");
    EXPECT_EQ(stored("World Cnt Line Pt1 y"), "32767");
    EXPECT_EQ(stored("World Cnt Line Pt2 y"), "-1");
    EXPECT_EQ(stored("AngleIN"), "0.000000");  // never "nan"
    EXPECT_TRUE(host.Running());
}

}  // namespace
