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

using e2e::kApp;
using e2e::kTimeout;
using e2e::WaitFor;
using hostsim::Capture;
using hostsim::HostFixture;

constexpr char kTitle[] = "Counter Settings Dialog";
constexpr char kTipsTitle[] = "Setup Tips for Height Detection";
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
    // Starts the program on the settings written so far.
    void Start() {
        ASSERT_TRUE(host.Launch(kApp, 1));
        ASSERT_NE(host.WaitForAttach(kTimeout), nullptr);
    }

    // Opens the dialog with menu command 151 and finds its picture.
    void Open() {
        const size_t opened = host.Count(WM_HOST_DIALOG_STATE);
        ASSERT_TRUE(host.PostToView(WM_COMMAND, 151, 0));
        dialog = host.FindTopWindow(kTitle, "#32770", kTimeout);
        ASSERT_NE(dialog, nullptr);
        picture = GetDlgItem(dialog, IDC_CS_PICTURE);
        ASSERT_NE(picture, nullptr);
        ASSERT_TRUE(host.WaitForCount(WM_HOST_DIALOG_STATE, opened + 1, kTimeout));
    }
    // Presses a button of the dialog (OK, Cancel, a radio: what may open a window).
    void Press(int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
    // Presses a button that opens nothing and returns once the dialog has
    // handled it (so that input posted next comes after it).
    void PressNow(int id) {
        SendMessageTimeoutA(GetDlgItem(dialog, id), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, kTimeout,
                            nullptr);
    }
    // Closes the dialog and waits for the closing bracket, which the view
    // posts after it has stored what OK confirmed.
    void Close(int id) {
        const size_t brackets = host.Count(WM_HOST_DIALOG_STATE);
        Press(id);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
        ASSERT_TRUE(host.WaitForCount(WM_HOST_DIALOG_STATE, brackets + 1, kTimeout));
    }
    void Mouse(UINT msg, POINT p) {
        PostMessageA(picture, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(p.x, p.y));
    }
    void Drag(POINT from, POINT to) {
        Mouse(WM_LBUTTONDOWN, from);
        Mouse(WM_MOUSEMOVE, {(from.x + to.x) / 2, (from.y + to.y) / 2});
        Mouse(WM_MOUSEMOVE, to);
        Mouse(WM_LBUTTONUP, to);
    }
    void Click(POINT p) {
        Mouse(WM_LBUTTONDOWN, p);
        Mouse(WM_LBUTTONUP, p);
    }
    void SetText(int id, const char* text) {
        SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    }
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
    Capture CapturePicture() const { return HostFixture::CaptureWindow(picture); }

    HostFixture host;
    std::optional<hostsim::Simulator> sim;  // the counting engine answering the program
    HWND dialog = nullptr;
    HWND picture = nullptr;
};

TEST_F(CounterSettings, DrawnLineGoesToTheHostAndItsAnswerIsStoredOnOk) {
    Start();
    Open();
    PressNow(IDC_CS_DRAW_LINE);
    // 59 pixels are too short to send; the 60-pixel line after it is the first request.
    Drag({100, 150}, {159, 150});
    Drag({100, 160}, {160, 160});
    const auto request = host.WaitForMessage(WM_HOST_EDIT_COUNTING_LINE, kTimeout);
    ASSERT_TRUE(request.has_value());
    EXPECT_EQ(request->wParam, hostlink::PackPoint(100, 160));
    EXPECT_EQ(request->lParam, hostlink::PackPoint(160, 160));
    ASSERT_TRUE(WaitFor([&] { return sim->Snapshot().lastFloorLine.has_value(); }));
    const hostsim::FloorLine floor = *sim->Snapshot().lastFloorLine;
    // The answer is drawn with both arrows (the host's picture stays black).
    ASSERT_TRUE(WaitFor([&] {
        const Capture shot = CapturePicture();
        return FindArrow(shot, true) && FindArrow(shot, false);
    }));

    const size_t before = host.MessageCount();
    Close(IDC_CS_OK);
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

    // The live picture now shows the new band (the picture is drawn twice
    // its size at (14, 35) by the shipped skin).
    EXPECT_TRUE(WaitFor([&] {
        sim->SendFrame();
        const Capture view = HostFixture::CaptureWindow(host.ViewHwnd());
        int green = 0;
        for (int x = 14 + 2 * 100; x < 14 + 2 * 160; ++x)
            for (int y = 35 + 2 * 150; y < 35 + 2 * 170; ++y)
                green += view.Pixel(x, y) == RGB(0, 255, 0);
        return green > 100;
    }));
}

TEST_F(CounterSettings, AnswersWithoutALineRequestOrAfterTheDialogAreIgnored) {
    Start();
    Open();
    // wParam 0 is no answer; a line block with nonsense values is taken as the
    // host's floor line for the picture line (none here), and nothing breaks.
    ASSERT_TRUE(host.SendToView(WM_VIEW_COUNTING_LINE_3D, 0, 0));
    ASSERT_TRUE(host.SendToView(WM_VIEW_COUNTING_LINE_3D, 1, 0));
    Close(IDC_CS_OK);
    EXPECT_EQ(Stored("Setted"), "0");
    ASSERT_TRUE(host.SendToView(WM_VIEW_COUNTING_LINE_3D, 1, 0));
    EXPECT_TRUE(host.Running());
    EXPECT_EQ(host.Count(WM_HOST_SET_COUNTING_LINE), 0u);
}

TEST_F(CounterSettings, MaskShapesAreStoredOnOkAndTinyOnesIgnored) {
    Start();
    Open();
    PressNow(IDC_CS_RECTANGLE);
    Drag({20, 20}, {60, 60});
    Drag({10, 200}, {15, 205});    // 5 x 5: ignored
    Drag({250, 100}, {255, 140});  // 5 x 40: taken
    PressNow(IDC_CS_ELLIPSE);
    Drag({100, 20}, {160, 80});
    PressNow(IDC_CS_IRREGULAR);
    for (POINT p : std::vector<POINT>{{200, 150}, {260, 150}, {230, 210}}) Click(p);
    Click({201, 151});  // inside the closing square: the polygon is closed
    Close(IDC_CS_OK);

    RegionHandle mask = StoredMask();
    ASSERT_TRUE(mask);
    struct Probe {
        POINT point;
        bool masked;
    } probes[] = {{{40, 40}, true},   {{130, 50}, true}, {{230, 170}, true}, {{252, 120}, true},
                  {{12, 202}, false}, {{5, 5}, false},   {{102, 22}, false}, {{300, 230}, false}};
    for (const Probe& probe : probes)
        EXPECT_EQ(PtInRegion(mask.get(), probe.point.x, probe.point.y) != 0, probe.masked)
            << probe.point.x << ", " << probe.point.y;
}

// A mask that cannot be stored (here a folder stands where the file goes) is
// said; the settings, the mask file and the mask the main window draws keep
// agreeing on the previous mask (none), and the rest is stored all the same.
TEST_F(CounterSettings, AMaskThatCannotBeStoredIsSaidAndThePreviousOneStaysInForce) {
    StoreVerticalLine();  // the main window draws the mask with a counting line only
    ASSERT_TRUE(CreateDirectoryA(host.PathOf("Mask01.bin").c_str(), nullptr));
    Start();
    // Pixels of a colour in the main window's picture (drawn twice its size
    // at (14, 35)) between two picture corners.
    auto shown = [&](COLORREF color, int from, int to) {
        sim->SendFrame();
        const Capture view = HostFixture::CaptureWindow(host.ViewHwnd());
        int count = 0;
        for (int x = 14 + 2 * from; x < 14 + 2 * to; ++x)
            for (int y = 35 + 2 * from; y < 35 + 2 * to; ++y) count += view.Pixel(x, y) == color;
        return count;
    };
    auto shownAroundTheMask = [&](COLORREF color) { return shown(color, 15, 65); };
    for (const bool storable : {false, true}) {
        SCOPED_TRACE(storable ? "storable" : "a folder in the way");
        if (storable) {
            ASSERT_TRUE(RemoveDirectoryA(host.PathOf("Mask01.bin").c_str()));
        }
        Open();
        PressNow(IDC_CS_RECTANGLE);
        Drag({20, 20}, {60, 60});
        PressNow(storable ? IDC_CS_TRACKING_FRAME_ON : IDC_CS_TRACKING_FRAME_OFF);
        const size_t saved = host.Count(WM_HOST_COUNTER_SETTINGS_SAVED);
        Press(IDC_CS_OK);
        if (!storable) {
            EXPECT_EQ(e2e::AnswerBox(host).text,
                      "The mask could not be stored. The previous mask stays in force.");
        }
        ASSERT_TRUE(host.WaitForCount(WM_HOST_COUNTER_SETTINGS_SAVED, saved + 1, kTimeout));
        EXPECT_EQ(Stored("Display Tracking Frame"), storable ? "0" : "1");
        EXPECT_EQ(Stored("Mask Size"), storable ? "48" : "0");
        if (storable) {
            EXPECT_TRUE(WaitFor([&] { return shownAroundTheMask(RGB(255, 0, 0)) > 100; }));
        } else {
            // The live picture is drawn with its line, and no mask on it.
            ASSERT_TRUE(WaitFor([&] { return shown(RGB(0, 255, 0), 0, 240) > 0; }));
            EXPECT_EQ(shownAroundTheMask(RGB(255, 0, 0)), 0);
        }
    }
}

TEST_F(CounterSettings, AllCutsHolesClearStartsOverAndCancelDropsTheShowing) {
    Start();
    Open();
    PressNow(IDC_CS_ALL);
    PressNow(IDC_CS_RECTANGLE);
    Drag({50, 50}, {100, 100});
    Close(IDC_CS_OK);
    RegionHandle mask = StoredMask();
    ASSERT_TRUE(mask);
    EXPECT_TRUE(PtInRegion(mask.get(), 10, 10));
    EXPECT_FALSE(PtInRegion(mask.get(), 75, 75));

    // Cancel after new shapes: the file stays as it was.
    const auto stored = host.ReadFile("Mask01.bin");
    Open();
    PressNow(IDC_CS_CLEAR);
    PressNow(IDC_CS_RECTANGLE);
    Drag({50, 50}, {100, 100});
    Close(IDC_CS_CANCEL);
    EXPECT_EQ(host.ReadFile("Mask01.bin"), stored);

    // CLEAR and the same rectangle: now it is the masked area.
    Open();
    PressNow(IDC_CS_CLEAR);
    PressNow(IDC_CS_RECTANGLE);
    Drag({50, 50}, {100, 100});
    Close(IDC_CS_OK);
    mask = StoredMask();
    ASSERT_TRUE(mask);
    EXPECT_FALSE(PtInRegion(mask.get(), 10, 10));
    EXPECT_TRUE(PtInRegion(mask.get(), 75, 75));

    // OK without a mask: "Mask Size" 0, the old file left alone.
    Open();
    PressNow(IDC_CS_CLEAR);
    Close(IDC_CS_OK);
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
    Start();
    ASSERT_TRUE(host.WaitForCount(WM_HOST_SET_COUNTING_LINE, 1, kTimeout));

    Open();
    PressNow(IDC_CS_RESET_ALL);
    Close(IDC_CS_OK);
    ASSERT_TRUE(host.WaitForCount(WM_HOST_COUNTER_SETTINGS_SAVED, 1, kTimeout));
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
    Start();
    Open();
    const std::pair<int, const char*> refused[] = {
        {IDC_CS_INTERVAL_FIRST, "121"},
        {IDC_CS_INTERVAL_SECOND, "60"},
        {IDC_CS_INTERVAL_SECOND, "x"},
    };
    for (const auto& [id, text] : refused) {
        SetText(IDC_CS_INTERVAL_FIRST, "1");
        SetText(IDC_CS_INTERVAL_SECOND, "0");
        SetText(id, text);
        Press(IDC_CS_OK);
        const std::string box = e2e::AnswerBox(host).text;
        EXPECT_NE(box.find("Please enter an integer"), std::string::npos) << text << ": " << box;
        EXPECT_TRUE(IsWindow(dialog));
    }
    // Valid interval, but the From-To time runs backwards: said, dialog stays.
    SetText(IDC_CS_INTERVAL_FIRST, "0");
    SetText(IDC_CS_INTERVAL_SECOND, "0");
    Press(IDC_CS_OK);
    const std::string box = e2e::AnswerBox(host).text;
    EXPECT_NE(box.find("start time must be earlier"), std::string::npos) << box;
    EXPECT_TRUE(IsWindow(dialog));

    // With "24 Hours" the times are not in use: OK goes through, the old
    // times stay, and auto update On with 0:00 is stored Off.
    PressNow(IDC_CS_ALL_DAY);
    Close(IDC_CS_OK);
    EXPECT_EQ(Stored("Auto Background Update"), "1");
    EXPECT_EQ(Stored("Update Interval"), "0");
    EXPECT_EQ(Stored("Operation Start Time"), "180000");
    EXPECT_EQ(Stored("Operation Stop Time"), "80000");
}

TEST_F(CounterSettings, CountingModeAndDirectionDecideTheArrows) {
    StoreVerticalLine();
    Start();
    Open();
    // The four pictures beside the radios: first row "In" turned, "Out" as
    // drawn; second row the other way round.
    const std::pair<int, bool> besideRadios[] = {{IDC_CS_ARROW_IN_FIRST, false},
                                                 {IDC_CS_ARROW_OUT_FIRST, true},
                                                 {IDC_CS_ARROW_IN_SECOND, true},
                                                 {IDC_CS_ARROW_OUT_SECOND, false}};
    for (const auto& [id, pointsRight] : besideRadios) {
        const bool blue = id == IDC_CS_ARROW_IN_FIRST || id == IDC_CS_ARROW_IN_SECOND;
        std::optional<ArrowSeen> arrow;
        WaitFor(
            [&] {
                arrow = FindArrow(HostFixture::CaptureWindow(GetDlgItem(dialog, id)), blue);
                return arrow.has_value();
            },
            5000);
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
    HWND list = GetDlgItem(dialog, IDC_CS_COUNTING_MODE);
    for (const Case& c : cases) {
        SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(c.mode), 0);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_CS_COUNTING_MODE, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
        Press(c.direction ? IDC_CS_DIRECTION_SECOND : IDC_CS_DIRECTION_FIRST);
        std::optional<ArrowSeen> blue, red;
        WaitFor(
            [&] {
                const Capture shot = CapturePicture();
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
    Close(IDC_CS_OK);
    EXPECT_EQ(Stored("Counting IO Direction"), "1");
    EXPECT_EQ(Stored("Counting IO Mode"), "0");
}

TEST_F(CounterSettings, TipsOpenOnHeightDetectionOnAndOnTheLinkNeverOnOff) {
    Start();
    Open();
    auto expectTips = [&](const char* what) {
        HWND tips = host.FindTopWindow(kTipsTitle, "#32770", kTimeout);
        ASSERT_NE(tips, nullptr) << what;
        EXPECT_EQ(HostFixture::WindowText(GetDlgItem(tips, IDC_TIPS_FIRST)),
                  "1. Camera angle must be 60~75 degree.");
        EXPECT_EQ(HostFixture::WindowText(GetDlgItem(tips, IDC_TIPS_SECOND)),
                  "2. Camera height must be 240~450 cm\n    above the floor and at least 60 cm\n"
                  "    above the tallest person.");
        RECT picture{};
        GetWindowRect(GetDlgItem(tips, IDC_TIPS_PICTURE), &picture);
        EXPECT_EQ(picture.right - picture.left, 300);  // the language's HeightTips.bmp
        EXPECT_EQ(picture.bottom - picture.top, 150);
        PostMessageA(tips, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(tips); })) << what;
    };
    Press(IDC_CS_HEIGHT_ON);
    expectTips("On");
    Press(IDC_CS_HEIGHT_ON);
    expectTips("On again");
    Press(IDC_CS_HEIGHT_OFF);
    // Off opens nothing: the next tips window is the link's own.
    HWND link = GetDlgItem(dialog, IDC_CS_TIPS_LINK);
    PostMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    PostMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    expectTips("link");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_CS_OBJECT_HEIGHT_ON)));
    Close(IDC_CS_CANCEL);
}

// A host whose counting-line block is missing, and then one that answers
// with the extremes of its value ranges and no usable in angle.
class CounterSettingsHostFaults : public CounterSettings {
  protected:
    void SetUp() override {}  // no counting engine: the test answers itself
};

TEST_F(CounterSettingsHostFaults, MissingBlockIsSaidAndNonsenseAnswersAreStoredSafely) {
    Start();
    Open();
    ASSERT_TRUE(host.PostToView(WM_VIEW_COUNTING_LINE_3D, 1, 0));
    EXPECT_EQ(e2e::AnswerBox(host).text, "Can't Open Shared Memory for Reading 3D Counting Line!");
    ASSERT_TRUE(IsWindow(dialog));

    hostsim::SharedBlocks blocks;
    ASSERT_TRUE(blocks.ok());
    const int16_t world[4] = {-32768, 32767, 0, -1};
    const float notANumber = std::nanf("");
    unsigned char* line = blocks.data(hostsim::SharedBlocks::kCountingLine);
    std::memcpy(line, world, sizeof world);
    std::memcpy(line + 8, &notANumber, sizeof notANumber);
    PressNow(IDC_CS_DRAW_LINE);
    Drag({40, 100}, {200, 100});
    ASSERT_TRUE(host.WaitForMessage(WM_HOST_EDIT_COUNTING_LINE, kTimeout).has_value());
    ASSERT_TRUE(host.SendToView(WM_VIEW_COUNTING_LINE_3D, 1, 0));
    Close(IDC_CS_OK);
    ASSERT_TRUE(host.WaitForCount(WM_HOST_COUNTER_SETTINGS_SAVED, 1, kTimeout));
    EXPECT_EQ(Stored("Setted"), "1");
    EXPECT_EQ(Stored("World Cnt Line Pt1 x"), "-32768");
    EXPECT_EQ(Stored("World Cnt Line Pt1 y"), "32767");
    EXPECT_EQ(Stored("World Cnt Line Pt2 y"), "-1");
    EXPECT_EQ(Stored("AngleIN"), "0.000000");  // never "nan"
    EXPECT_TRUE(host.Running());
}

}  // namespace
