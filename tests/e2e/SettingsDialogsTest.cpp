// General Settings, the Calibration Test and every settings menu command as
// an installer and the host meet them (what the calibration file chooser
// refuses: MenuCommandsTest).
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

using e2e::kTimeout;
using e2e::WaitFor;
using hostsim::HostFixture;
using Lines = std::vector<std::string>;

constexpr char kIni[] = "Setting01.ini";
constexpr char kFailed[] = "Matching Failed! Please select a new test region.";
constexpr UINT kFileNameCombo = 0x47C;  // the file name box of the common open dialog

class SettingsDialogs : public ::testing::Test {
  protected:
    void Refused(const char* message) {
        dialog.Press(IDC_GS_OK);
        EXPECT_EQ(e2e::AnswerBox(host).text, message);
        EXPECT_TRUE(IsWindow(dialog.hwnd()));
    }
    void Click(HWND picture, POINT p) {
        PostMessageA(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    }
    void Measure(POINT from, POINT to) {
        const size_t sent = host.Count(WM_HOST_MEASURE_REGION);
        dialog.Drag(IDC_CT_LEFT_PICTURE, from, to);
        ASSERT_TRUE(host.WaitForCount(WM_HOST_MEASURE_REGION, sent + 1, kTimeout));
    }
    void Answer(float disparity, float distance) {
        ASSERT_TRUE(host.SendToView(WM_VIEW_REGION_RESULT, hostlink::PackFloat(disparity),
                                    hostlink::PackFloat(distance)));
    }
    // The result list, with the selected line marked by a leading '>'.
    Lines Results() const {
        HWND list = dialog.Item(IDC_CT_RESULTS);
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
        const hostsim::Capture shot = dialog.Shot(IDC_CT_RIGHT_PICTURE);
        auto green = [&](int at) {
            for (int y = 52; y < 88; ++y)
                if (shot.Pixel(at, y) != RGB(0, 255, 0)) return false;
            return true;
        };
        return !shot.empty() && green(x) && !green(x - 1) && !green(x + 1);
    }

    HostFixture host;
    e2e::Dialog dialog{host};
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
    ASSERT_TRUE(e2e::Start(host));
    ASSERT_TRUE(dialog.Open(150, IDC_GS_RECYCLE_DAYS));
    // Remote access is Off: the site name and the port cannot be edited, and
    // what stands in their boxes is neither checked nor stored.
    dialog.Type(IDC_GS_PORT, "0");
    dialog.Type(IDC_GS_SITE_NAME, "Not editable");
    dialog.Type(IDC_GS_RECYCLE_DAYS, "99999999999");
    Refused("Please enter an integer between 1 and 3650.");
    SendDlgItemMessageA(dialog.hwnd(), IDC_GS_RECYCLE_DAYS, CB_SETCURSEL, 1, 0);  // "45"
    SendMessageA(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_GS_RECYCLE_DAYS, CBN_SELCHANGE), 0);
    dialog.PressNow(IDC_GS_UNIT_INCH);
    ASSERT_TRUE(dialog.Close(IDC_GS_OK));
    // Remote access stays Off with the stored address.
    EXPECT_EQ(stored(), (Lines{"1", "45", "700", "1", "1", "5", "10.1.2.3", ""}));

    // A typed period keeps the index and shows as stored next time, so OK keeps it.
    ASSERT_TRUE(dialog.Open(150, IDC_GS_RECYCLE_DAYS));
    dialog.Type(IDC_GS_RECYCLE_DAYS, "90");
    ASSERT_TRUE(dialog.Close(IDC_GS_OK));
    ASSERT_TRUE(dialog.Open(150, IDC_GS_RECYCLE_DAYS));
    EXPECT_EQ(dialog.Text(IDC_GS_RECYCLE_DAYS), "90");
    ASSERT_TRUE(dialog.Close(IDC_GS_OK));
    EXPECT_EQ(stored()[0] + "/" + stored()[1], "1/90");

    // The unit chosen is the one the Calibration Test shows.
    ASSERT_TRUE(dialog.Open(154, IDC_CT_RESULTS));
    Answer(10.f, 254.f);
    EXPECT_EQ(Results(), Lines{">ROI Distance 100.0 inch"});
    PostMessageA(dialog.hwnd(), WM_COMMAND, IDCANCEL, 0);  // Escape
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog.hwnd()); }));
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
    auto shows = [&](int picture, int red) {
        return WaitFor([&] { return dialog.Shot(picture).Pixel(200, 200) == RGB(red, 0, 0); });
    };
    auto send = [&](uint32_t width, uint32_t height) {
        ASSERT_TRUE(host.SendToView(WM_VIEW_NEW_FRAME, hostlink::PackFrameKind(1, 2),
                                    hostlink::PackFrameSize(width, height)));
    };
    ASSERT_TRUE(e2e::Start(host));
    ASSERT_TRUE(dialog.Open(154, IDC_CT_RESULTS));
    HWND left = dialog.Item(IDC_CT_LEFT_PICTURE), right = dialog.Item(IDC_CT_RIGHT_PICTURE);
    paint(200, 100);
    send(640, 480);  // refused before anything was mapped
    send(320, 240);
    EXPECT_TRUE(shows(IDC_CT_LEFT_PICTURE, 200) && shows(IDC_CT_RIGHT_PICTURE, 100));
    // Uncovered or repainted, a picture shows what it showed: no new picture needed.
    for (HWND picture : {left, right})
        RedrawWindow(picture, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_TRUE(shows(IDC_CT_LEFT_PICTURE, 200) && shows(IDC_CT_RIGHT_PICTURE, 100));
    paint(50, 50);
    send(320, 241);  // refused: larger than the buffers and the mapping
    send(0xFFFF, 0xFFFF);
    // Had a refused pair been copied, its redraw would come before this click's.
    Click(left, {5, 5});
    ASSERT_TRUE(WaitFor([&] { return dialog.Text(IDC_CT_LEFT_POINT) == "(5, 5)"; }));
    EXPECT_TRUE(shows(IDC_CT_LEFT_PICTURE, 200));
    send(320, 240);
    EXPECT_TRUE(shows(IDC_CT_LEFT_PICTURE, 50) && shows(IDC_CT_RIGHT_PICTURE, 50));

    Click(right, {250, 41});
    Click(left, {30, 40});
    ASSERT_TRUE(WaitFor([&] { return dialog.Text(IDC_CT_LEFT_POINT) == "(30, 40)"; }));
    EXPECT_EQ(dialog.Text(IDC_CT_RIGHT_POINT), "(250, 41)");
    for (WPARAM key : {VK_RIGHT, VK_RIGHT, VK_UP}) PostMessageA(left, WM_KEYDOWN, key, 0);
    EXPECT_TRUE(WaitFor([&] { return dialog.Text(IDC_CT_LEFT_POINT) == "(32, 39)"; }));
    GUITHREADINFO input{};
    input.cbSize = sizeof input;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog.hwnd(), nullptr), &input);
    EXPECT_EQ(input.hwndFocus, left) << "the arrow keys took the focus elsewhere";
    EXPECT_EQ(host.MessageCount(), 2u) << "pictures and points are not for the host";

    dialog.PressNow(IDC_CT_REGION);
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
    ASSERT_TRUE(dialog.Close(IDC_CT_EXIT));
    Answer(40.f, 100.f);  // after Exit: nothing the next showing shows
    ASSERT_TRUE(dialog.Open(154, IDC_CT_RESULTS));
    EXPECT_TRUE(Results().empty());
    Click(dialog.Item(IDC_CT_RIGHT_PICTURE), {5, 5});  // redraws; in Region mode it picks nothing
    EXPECT_TRUE(WaitFor([&] { return OutlineAt(87); }));
}

// Every settings-menu command once, in one run, with the host's messages in order.
TEST_F(SettingsDialogs, EveryMenuCommandOnceInOneRunWithWhatTheHostSees) {
    hostsim::Simulator sim{host.Host(), host.SettingsFile(1),
                           hostsim::DefaultScene(hostsim::CameraModel{})};
    // The host's own match of a region on the textured floor; a 9-pixel
    // region before it is not sent.
    auto measureOnTheFloor = [&] {
        ASSERT_TRUE(WaitFor([&] { return sim.Snapshot().dialogPictures == 2 && sim.SendFrame(); }));
        dialog.PressNow(IDC_CT_REGION);
        dialog.Drag(IDC_CT_LEFT_PICTURE, {100, 50}, {109, 90});
        Measure({100, 50}, {140, 90});
        ASSERT_TRUE(WaitFor([&] { return Results().size() == 1; }));
        const hostsim::RegionMatch match = *sim.Snapshot().lastRegion;
        ASSERT_TRUE(match.matched);
        char line[64];
        std::snprintf(line, sizeof line, ">ROI Distance %.1f cm", double{match.distance});
        EXPECT_EQ(Results(), Lines{line});
        EXPECT_TRUE(WaitFor([&] { return OutlineAt(100 - int(match.disparity + 0.5f)); }));
    };
    // The calibration file chooser: a valid file is stored and announced.
    const std::string version2(std::string("\0\0\0\x40", 4));  // 2.0f
    ASSERT_TRUE(host.WriteFile("walk.coe", version2 + std::string(268, '\x11')));
    const std::string coe = host.PathOf("walk.coe");
    ASSERT_TRUE(e2e::Start(host));
    using Seen = std::vector<uint64_t>;  // message, wParam, lParam
    const Seen opened1{WM_HOST_DIALOG_STATE, 1, 1}, opened2{WM_HOST_DIALOG_STATE, 1, 2},
        closed{WM_HOST_DIALOG_STATE, 0, 1};
    const struct {
        UINT command;
        int item;  // of what it opens; 0: nothing
        int closeWith;
        std::function<void()> use;
        std::vector<Seen> host;  // what the host sees, in order
    } steps[] = {
        {150, IDC_GS_OK, IDC_GS_OK, [] {}, {}},
        {151, IDC_CS_CANCEL, IDC_CS_CANCEL, [] {}, {opened1, closed}},
        {152, IDC_CA_EXIT, IDC_CA_EXIT, [] {}, {opened1, closed}},
        {153, IDC_AV_EXIT, IDC_AV_EXIT, [] {}, {opened1, closed}},
        {154,
         IDC_CT_EXIT,
         IDC_CT_EXIT,
         measureOnTheFloor,
         {opened2, {WM_HOST_MEASURE_REGION, 0x640032, 0x8C005A}, closed}},
        {155, 0, 0, [] {}, {}},
        {156,
         IDOK,
         IDOK,
         [&] {  // shown centred on the view
             RECT about{}, view{};
             GetWindowRect(dialog.hwnd(), &about);
             GetWindowRect(host.ViewHwnd(), &view);
             EXPECT_NEAR((about.left + about.right) / 2, (view.left + view.right) / 2, 1);
             EXPECT_NEAR((about.top + about.bottom) / 2, (view.top + view.bottom) / 2, 1);
         },
         {}},
        {157,
         kFileNameCombo,
         IDOK,
         [&] { dialog.Type(kFileNameCombo, coe); },
         {{WM_HOST_CALIBRATION_CHANGED, 0, 0}}},
    };
    std::vector<Seen> expected;
    for (const auto& step : steps) {
        SCOPED_TRACE(step.command);
        if (step.item) {
            ASSERT_TRUE(dialog.Open(step.command, step.item));
            step.use();
            ASSERT_TRUE(dialog.Close(step.closeWith));
        } else {
            ASSERT_TRUE(host.PostToView(WM_COMMAND, step.command, 0));
        }
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
