// General Settings, the Calibration Test and every settings menu command as
// an installer and the host meet them.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "EndToEnd.h"
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
using hostsim::HostFixture;
using Lines = std::vector<std::string>;

constexpr char kIni[] = "Setting01.ini";
constexpr char kFailed[] = "Matching Failed! Please select a new test region.";

class SettingsDialogs : public ::testing::Test {
  protected:
    void Start() {
        ASSERT_TRUE(host.Launch(kApp, 1));
        ASSERT_NE(host.WaitForAttach(kTimeout), nullptr);
    }
    void Open(UINT command, const char* title) {
        ASSERT_TRUE(host.PostToView(WM_COMMAND, command, 0));
        if (!title) return;
        dialog = host.FindTopWindow(title, "#32770", kTimeout);
        ASSERT_NE(dialog, nullptr) << title;
        left = GetDlgItem(dialog, IDC_CT_LEFT_PICTURE);
        right = GetDlgItem(dialog, IDC_CT_RIGHT_PICTURE);
    }
    // Closes with a button; returns once the view is done with the command
    // (a message sent to the view is handled only after it).
    void Close(int id) {
        PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }));
        ASSERT_TRUE(host.SendToView(WM_NULL, 0, 0));
    }
    void Refused(const char* message) {
        PostMessageA(GetDlgItem(dialog, IDC_GS_OK), BM_CLICK, 0, 0);
        EXPECT_EQ(e2e::AnswerBox(host).text, message);
        EXPECT_TRUE(IsWindow(dialog));
    }
    void PressNow(int id) {
        SendMessageTimeoutA(GetDlgItem(dialog, id), BM_CLICK, 0, 0, 0, kTimeout, nullptr);
    }
    void SetText(int id, const std::string& text) { SetDlgItemTextA(dialog, id, text.c_str()); }
    std::string Text(int id) const { return HostFixture::WindowText(GetDlgItem(dialog, id)); }
    static void Mouse(HWND picture, UINT msg, POINT p) {
        PostMessageA(picture, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(p.x, p.y));
    }
    void Drag(POINT from, POINT to) {
        for (UINT msg : {WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP})
            Mouse(left, msg, msg == WM_LBUTTONDOWN ? from : to);
    }
    void Measure(POINT from, POINT to) {
        const size_t sent = host.Count(WM_HOST_MEASURE_REGION);
        Drag(from, to);
        ASSERT_TRUE(host.WaitForCount(WM_HOST_MEASURE_REGION, sent + 1, kTimeout));
    }
    void Answer(float disparity, float distance) {
        ASSERT_TRUE(host.SendToView(WM_VIEW_REGION_RESULT, hostlink::PackFloat(disparity),
                                    hostlink::PackFloat(distance)));
    }
    // The result list, with the selected line marked by a leading '>'.
    Lines Results() const {
        HWND list = GetDlgItem(dialog, IDC_CT_RESULTS);
        Lines lines;
        const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
        for (LRESULT i = 0, n = SendMessageW(list, LB_GETCOUNT, 0, 0); i < n; ++i) {
            wchar_t text[256] = L"";  // our lines are shorter
            SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            lines.push_back((i == selected ? ">" : "") + hostsim::ToUtf8(text));
        }
        return lines;
    }
    // The right picture's outline of a region from y 50 to 90 has its left
    // edge at x: the only column green all the way (the floor never is).
    bool OutlineAt(int x) const {
        const hostsim::Capture shot = HostFixture::CaptureWindow(right);
        auto green = [&](int at) {
            for (int y = 52; y < 88; ++y)
                if (shot.Pixel(at, y) != RGB(0, 255, 0)) return false;
            return true;
        };
        return !shot.empty() && green(x) && !green(x - 1) && !green(x + 1);
    }

    HostFixture host;
    HWND dialog = nullptr, left = nullptr, right = nullptr;
};

TEST_F(SettingsDialogs, GeneralSettingsStoresWhatOkTakesAndRefusesWhatCannotBeStored) {
    host.WriteIni(kIni, "General Settings", "IP Addr Index", "5");
    host.WriteIni(kIni, "General Settings", "IP Addr", "10.1.2.3");
    auto stored = [&] {
        Lines values;
        for (const char* key : {"Auto Recycle Days Index", "Auto Recycle Days", "Port", "Unit",
                                "Remote Access", "IP Addr Index", "IP Addr", "Site Name"})
            values.push_back(host.ReadIni(kIni, "General Settings", key, "<none>"));
        return values;
    };
    Start();
    Open(150, "General Settings");
    // Remote access is Off: the site name and the port cannot be edited, and
    // what stands in their boxes is neither checked nor stored.
    SetText(IDC_GS_PORT, "0");
    SetText(IDC_GS_SITE_NAME, "Not editable");
    for (const char* days : {"", "abc", "99999999999"}) {
        SetText(IDC_GS_RECYCLE_DAYS, days);
        Refused("Please enter an integer between 1 and 3650.");
    }
    SendDlgItemMessageA(dialog, IDC_GS_RECYCLE_DAYS, CB_SETCURSEL, 1, 0);  // "45"
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_GS_RECYCLE_DAYS, CBN_SELCHANGE), 0);
    PressNow(IDC_GS_UNIT_INCH);
    Close(IDC_GS_OK);
    // Remote access stays Off with the stored address.
    EXPECT_EQ(stored(), (Lines{"1", "45", "700", "1", "1", "5", "10.1.2.3", ""}));

    // A typed period keeps the index and shows as stored next time, so OK keeps it.
    Open(150, "General Settings");
    SetText(IDC_GS_RECYCLE_DAYS, "90");
    Close(IDC_GS_OK);
    Open(150, "General Settings");
    EXPECT_EQ(Text(IDC_GS_RECYCLE_DAYS), "90");
    Close(IDC_GS_OK);
    EXPECT_EQ(stored()[0] + "/" + stored()[1], "1/90");

    // The unit chosen is the one the Calibration Test shows.
    Open(154, "Calibration Test");
    Answer(10.f, 254.f);
    EXPECT_EQ(Results(), Lines{">ROI Distance 100.0 inch"});
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);  // Escape
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
}

TEST_F(SettingsDialogs, PicturesPointsAndRegionsWithTheHostsAnswers) {
    hostsim::SharedBlocks blocks;
    ASSERT_TRUE(blocks.ok());
    const size_t half = blocks.size(hostsim::SharedBlocks::kRectImage) / 2;
    auto paint = [&](unsigned char leftRed, unsigned char rightRed) {
        unsigned char* pair = blocks.data(hostsim::SharedBlocks::kRectImage);
        for (size_t i = 0; i < 2 * half; ++i)
            pair[i] = i % 3 != 2 ? 0 : i < half ? leftRed : rightRed;
    };
    auto shows = [](HWND picture, int red) {
        return WaitFor(
            [&] { return HostFixture::CaptureWindow(picture).Pixel(200, 200) == RGB(red, 0, 0); });
    };
    auto send = [&](uint32_t width, uint32_t height) {
        ASSERT_TRUE(host.SendToView(WM_VIEW_NEW_FRAME, hostlink::PackFrameKind(1, 2),
                                    hostlink::PackFrameSize(width, height)));
    };
    Start();
    Open(154, "Calibration Test");
    paint(200, 100);
    send(640, 480);  // refused before anything was mapped
    send(320, 240);
    EXPECT_TRUE(shows(left, 200) && shows(right, 100));
    // Uncovered or repainted, a picture shows what it showed: no new picture needed.
    for (HWND picture : {left, right})
        RedrawWindow(picture, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_TRUE(shows(left, 200) && shows(right, 100));
    paint(50, 50);
    send(320, 241);  // refused: larger than the buffers and the mapping
    send(0xFFFF, 0xFFFF);
    // Had a refused pair been copied, its redraw would come before this click's.
    Mouse(left, WM_LBUTTONDOWN, {5, 5});
    ASSERT_TRUE(WaitFor([&] { return Text(IDC_CT_LEFT_POINT) == "(5, 5)"; }));
    EXPECT_TRUE(shows(left, 200));
    send(320, 240);
    EXPECT_TRUE(shows(left, 50) && shows(right, 50));

    Mouse(right, WM_LBUTTONDOWN, {250, 41});
    Mouse(left, WM_LBUTTONDOWN, {30, 40});
    ASSERT_TRUE(WaitFor([&] { return Text(IDC_CT_LEFT_POINT) == "(30, 40)"; }));
    EXPECT_EQ(Text(IDC_CT_RIGHT_POINT), "(250, 41)");
    for (WPARAM key : {VK_RIGHT, VK_RIGHT, VK_UP}) PostMessageA(left, WM_KEYDOWN, key, 0);
    EXPECT_TRUE(WaitFor([&] { return Text(IDC_CT_LEFT_POINT) == "(32, 39)"; }));
    GUITHREADINFO input{};
    input.cbSize = sizeof input;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &input);
    EXPECT_EQ(input.hwndFocus, left) << "the arrow keys took the focus elsewhere";
    EXPECT_EQ(host.MessageCount(), 2u) << "pictures and points are not for the host";

    PressNow(IDC_CT_REGION);
    Measure({140, 90}, {100, 50});  // dragged upwards, sent in order all the same
    EXPECT_EQ(host.Messages().back().wParam, 0x640032u);
    const struct {
        float disparity;
        const char* line;
        int leftEdge;
    } cases[] = {{12.4f, "ROI Distance 300.0 cm", 88},
                 {12.5f, "ROI Distance 300.0 cm", 87},
                 {0.f, kFailed, 87},
                 {-6.f, kFailed, 87},
                 {std::numeric_limits<float>::quiet_NaN(), kFailed, 87}};
    Lines lines;
    for (const auto& c : cases) {
        Answer(c.disparity, 300.f);
        if (!lines.empty()) lines.back().erase(0, 1);
        lines.push_back(std::string(">") + c.line);
        EXPECT_EQ(Results(), lines) << c.disparity;
        EXPECT_TRUE(WaitFor([&] { return OutlineAt(c.leftEdge); })) << c.disparity;
    }
    Close(IDC_CT_EXIT);
    Answer(40.f, 100.f);  // after Exit: nothing the next showing shows
    Open(154, "Calibration Test");
    EXPECT_TRUE(Results().empty());
    Mouse(right, WM_LBUTTONDOWN, {5, 5});  // redraws; in Region mode it picks nothing
    EXPECT_TRUE(WaitFor([&] { return OutlineAt(87); }));
}

TEST_F(SettingsDialogs, EveryMenuCommandOnceInOneRunWithWhatTheHostSees) {
    hostsim::Simulator sim{host.Host(), host.SettingsFile(1),
                           hostsim::DefaultScene(hostsim::CameraModel{})};
    // The host's own match of a region on the textured floor; a 9-pixel
    // region before it is not sent.
    auto measureOnTheFloor = [&] {
        ASSERT_TRUE(WaitFor([&] { return sim.Snapshot().dialogPictures == 2 && sim.SendFrame(); }));
        PressNow(IDC_CT_REGION);
        Drag({100, 50}, {109, 90});
        Measure({100, 50}, {140, 90});
        ASSERT_TRUE(WaitFor([&] { return Results().size() == 1; }));
        const hostsim::RegionMatch match = *sim.Snapshot().lastRegion;
        ASSERT_TRUE(match.matched);
        char line[64];
        std::snprintf(line, sizeof line, ">ROI Distance %.1f cm", double{match.distance});
        EXPECT_EQ(Results(), Lines{line});
        EXPECT_TRUE(WaitFor([&] { return OutlineAt(100 - int(match.disparity + 0.5f)); }));
    };
    const std::string version2(std::string("\0\0\0\x40", 4));  // 2.0f
    ASSERT_TRUE(host.WriteFile("walk.coe", version2 + std::string(268, '\x11')));
    Start();
    using Seen = std::vector<uint64_t>;  // message, wParam, lParam
    const Seen opened1{WM_HOST_DIALOG_STATE, 1, 1}, opened2{WM_HOST_DIALOG_STATE, 1, 2},
        closed{WM_HOST_DIALOG_STATE, 0, 1};
    const std::string coe = host.PathOf("walk.coe");
    const struct {
        UINT command;
        const char* title;  // of what it opens; nullptr: nothing
        int closeWith;
        std::function<void()> use;
        std::vector<Seen> host;  // what the host sees, in order
    } steps[] = {
        {150, "General Settings", IDC_GS_OK, [] {}, {}},
        {151, "Counter Settings Dialog", IDC_CS_CANCEL, [] {}, {opened1, closed}},
        {152, "Camera Angle", IDC_CA_EXIT, [] {}, {opened1, closed}},
        {153, "Camera Angle Verification", IDC_AV_EXIT, [] {}, {opened1, closed}},
        {154,
         "Calibration Test",
         IDC_CT_EXIT,
         measureOnTheFloor,
         {opened2, {WM_HOST_MEASURE_REGION, 0x640032, 0x8C005A}, closed}},
        {155, nullptr, 0, [] {}, {}},
        {156, "About Tallyscope", IDOK, [] {}, {}},
        {157, "", IDOK, [&] { SetText(0x47C, coe); }, {{WM_HOST_CALIBRATION_CHANGED, 0, 0}}},
    };
    std::vector<Seen> expected;
    for (const auto& step : steps) {
        SCOPED_TRACE(step.command);
        Open(step.command, step.title);
        step.use();
        if (step.title) Close(step.closeWith);
        expected.insert(expected.end(), step.host.begin(), step.host.end());
        ASSERT_TRUE(WaitFor([&] { return host.MessageCount() >= 1 + expected.size(); }));
    }
    EXPECT_EQ(host.ReadIni(kIni, "Calibration Data", "Path"), coe);
    ASSERT_TRUE(host.Close(kTimeout).has_value());
    std::vector<Seen> seen;
    for (const hostsim::HostMessage& m : host.Messages())
        seen.push_back({m.msg, m.wParam, m.lParam});
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen.front()[0], WM_HOST_ATTACH);
    EXPECT_EQ(seen.back(), (Seen{WM_HOST_DETACH, 0, 0}));
    EXPECT_EQ(std::vector<Seen>(seen.begin() + 1, seen.end() - 1), expected);
}

}  // namespace
