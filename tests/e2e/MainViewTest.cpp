// The main window as the host and an installer see it: attaching, the live
// picture with its overlays, refused pictures, closing, moving.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "EndToEnd.h"
#include "framework/Handles.h"
#include "hostlink/HostMessages.h"
#include "hostlink/HostPacking.h"
#include "tools/hostsim/HostFixture.h"
#include "tools/hostsim/SharedBlocks.h"

namespace {

using e2e::kTimeout;
using hostsim::HostFixture;
using hostsim::SharedBlocks;

constexpr int kWidth = 320;
constexpr int kHeight = 240;

uint32_t Frame(int width, int height) {
    return (static_cast<uint32_t>(width) << 16) | static_cast<uint32_t>(height);
}

// The colour on screen of picture pixel (x, y), from a capture of the view
// (the shipped skin draws the picture twice its size at (14, 35)).
COLORREF PictureColor(const hostsim::Capture& capture, int x, int y) {
    return capture.Pixel(14 + x * 2 + 1, 35 + y * 2 + 1);
}

bool Near(COLORREF c, int r, int g, int b, int tolerance = 40) {
    return std::abs(GetRValue(c) - r) <= tolerance && std::abs(GetGValue(c) - g) <= tolerance &&
           std::abs(GetBValue(c) - b) <= tolerance;
}

// Captured picture pixels inside a picture rectangle near a colour.
int CountColor(const hostsim::Capture& capture, RECT area, int r, int g, int b,
               int tolerance = 60) {
    return e2e::CountInPicture(capture, area, RGB(r, g, b), tolerance);
}

class MainView : public ::testing::Test {
  protected:
    HWND StartProgram(int camera = 1) {
        EXPECT_TRUE(e2e::Start(host, camera));
        return host.ViewHwnd();
    }
    // The host's blocks, made by the test that needs them.
    unsigned char* ImageBlock() {
        blocks.emplace();
        EXPECT_TRUE(blocks->ok());
        return blocks->data(SharedBlocks::kImage);
    }
    // The image block's picture dark grey.
    void DarkPicture() { std::memset(ImageBlock(), 0x40, kWidth * kHeight * 3); }
    // Sends a live frame and waits until the view has handled it.
    void SendLiveFrame(int width = kWidth, int height = kHeight) {
        ASSERT_TRUE(host.SendToView(WM_VIEW_NEW_FRAME, 0, Frame(width, height)));
    }
    void WriteSetting(const char* key, const char* value) {
        host.WriteIni("Setting01.ini", "Counter Settings", key, value);
    }
    void WriteLine(const char* x1, const char* y1, const char* x2, const char* y2) {
        WriteSetting("Setted", "1");
        WriteSetting("Image Cnt Line Pt1 x", x1);
        WriteSetting("Image Cnt Line Pt1 y", y1);
        WriteSetting("Image Cnt Line Pt2 x", x2);
        WriteSetting("Image Cnt Line Pt2 y", y2);
    }
    // Camera 1's mask: one rectangle (10, 20, 110, 120), drawn in red.
    void WriteRedMask() {
        const int32_t mask[12] = {32, 1, 1, 16, 10, 20, 110, 120, 10, 20, 110, 120};
        host.WriteFile("Mask01.bin", std::string(reinterpret_cast<const char*>(mask), sizeof mask));
        WriteSetting("Mask Size", "48");
        WriteSetting("Mask Color", "255");
    }
    // The view once it shows what `shown` looks for; without it, after a
    // quiet moment in which a wrong picture would have reached the screen.
    hostsim::Capture CaptureView(const std::function<bool(const hostsim::Capture&)>& shown = {}) {
        hostsim::Capture capture;
        if (!shown) Sleep(200);
        e2e::WaitFor([&] {
            capture = HostFixture::CaptureWindow(host.ViewHwnd());
            return !shown || shown(capture);
        });
        return capture;
    }
    // The dark grey picture is on the screen (overlays are drawn with it).
    static bool DarkShown(const hostsim::Capture& capture) {
        return Near(PictureColor(capture, 300, 230), 0x40, 0x40, 0x40, 8);
    }
    HostFixture host;
    std::optional<SharedBlocks> blocks;
};

TEST_F(MainView, AttachesOnAFreshCameraAndOnTheHostsCloseWritesTheSettingsAndDetachesLast) {
    HWND view = StartProgram(7);
    const auto attach = host.WaitForMessage(WM_HOST_ATTACH, kTimeout);
    ASSERT_TRUE(attach.has_value());
    EXPECT_EQ(reinterpret_cast<HWND>(attach->wParam), view);
    HWND main = reinterpret_cast<HWND>(attach->lParam);
    EXPECT_EQ(GetParent(view), main);
    EXPECT_EQ(GetAncestor(view, GA_ROOT), main);
    EXPECT_EQ(HostFixture::WindowText(main), "Varanis - Tallyscope");
    DWORD viewProcess = 0;
    GetWindowThreadProcessId(view, &viewProcess);
    EXPECT_EQ(viewProcess, host.ProcessId());
    EXPECT_FALSE(host.WaitForMessage(WM_HOST_SET_COUNTING_LINE, 1000).has_value());
    // The settings file of camera 7 was created in the host's folder.
    EXPECT_EQ(host.ReadIni("Setting07.ini", "Camera Angle", "Angle YZ"), "-0.785398");

    DeleteFileA(host.SettingsFile(7).c_str());  // only the final save can bring it back
    e2e::ExpectClosesCleanly(host, "Setting07.ini", testsupport::Absent::NewFileOnlyAllowed);
    EXPECT_EQ(host.Count(WM_HOST_ATTACH), 1u);
    EXPECT_EQ(host.Messages().front().msg, WM_HOST_ATTACH);
    EXPECT_EQ(host.ReadIni("Setting07.ini", "Common", "Cut X2"), "310");
    EXPECT_EQ(host.ReadIni("Setting07.ini", "Counter Settings", "Operation Stop Time"), "180000");
    EXPECT_EQ(host.ReadIni("Setting07.ini", "Camera Angle", "Height"), "240.0");
}

TEST_F(MainView, LivePictureIsShownMarkedAndALargerPictureIsRefused) {
    // The left half blue (bytes 200, 0, 0), the right half red; the top 40
    // rows (on screen, the picture is bottom-up) green.
    unsigned char* pixels = ImageBlock();
    for (int row = 0; row < kHeight; ++row) {
        for (int x = 0; x < kWidth; ++x) {
            unsigned char* p = pixels + (static_cast<size_t>(row) * kWidth + x) * 3;
            const bool green = kHeight - 1 - row < 40, blue = x < kWidth / 2;
            p[0] = !green && blue ? 200 : 0, p[1] = green ? 200 : 0,
            p[2] = !green && !blue ? 200 : 0;
        }
    }
    StartProgram();
    SendLiveFrame();
    ASSERT_TRUE(host.SendToView(WM_VIEW_MARKER_RECT, (100u << 16) | 100u, (200u << 16) | 180u));
    SendLiveFrame();
    hostsim::Capture capture = CaptureView([](const hostsim::Capture& c) {
        return CountColor(c, RECT{100, 100, 200, 101}, 255, 255, 255) > 20;
    });
    for (const auto& [x, y, r, g, b] :
         {std::tuple{60, 200, 0, 0, 200}, std::tuple{260, 200, 200, 0, 0},
          std::tuple{160, 10, 0, 200, 0}})
        EXPECT_TRUE(Near(PictureColor(capture, x, y), r, g, b))
            << x << "," << y << " " << std::hex << PictureColor(capture, x, y);
    // The dotted white outline lies on the rectangle's edges, nowhere inside.
    EXPECT_GT(CountColor(capture, RECT{100, 100, 200, 101}, 255, 255, 255), 20);
    EXPECT_EQ(CountColor(capture, RECT{110, 110, 190, 170}, 255, 255, 255), 0);

    // An announcement larger than the mapped picture is dropped: still running, same picture.
    SendLiveFrame(640, 480);
    SendLiveFrame(kWidth, 0xFFFF);
    EXPECT_TRUE(host.Running());
    capture = CaptureView();
    EXPECT_TRUE(Near(PictureColor(capture, 60, 200), 0, 0, 200));
}

TEST_F(MainView, StoredLineIsSentAfterAttachAndItsBandAndArrowsFollowTheSettings) {
    DarkPicture();
    WriteLine("60", "120", "260", "120");
    WriteSetting("AngleIN", "1.570796");    // in = down the picture
    WriteSetting("Counting IO Mode", "1");  // in only
    StartProgram();
    const auto line = host.WaitForMessage(WM_HOST_SET_COUNTING_LINE, kTimeout);
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(line->wParam, (60u << 16) | 120u);
    EXPECT_EQ(line->lParam, (260u << 16) | 120u);
    const auto messages = host.Messages();
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(messages[0].msg, WM_HOST_ATTACH);
    EXPECT_EQ(messages[1].msg, WM_HOST_SET_COUNTING_LINE);

    SendLiveFrame();
    hostsim::Capture capture = CaptureView(DarkShown);
    EXPECT_EQ(CountColor(capture, RECT{40, 100, 280, 140}, 0, 255, 0), 0)
        << "no band before the host's line";
    ASSERT_TRUE(host.SendToView(WM_VIEW_COUNTING_LINE, (60u << 16) | 120u, (260u << 16) | 120u));
    SendLiveFrame();
    // The band's long sides lie 3 pixels above and below the line.
    capture = CaptureView([](const hostsim::Capture& c) {
        return CountColor(c, RECT{70, 117, 250, 118}, 0, 255, 0) > 100;
    });
    EXPECT_GT(CountColor(capture, RECT{70, 117, 250, 118}, 0, 255, 0), 100);
    EXPECT_GT(CountColor(capture, RECT{70, 123, 250, 124}, 0, 255, 0), 100);
    // "In Only": the in arrow below the line, no out arrow above it.
    const auto arrowPixels = [&](RECT area) {
        return CountColor(capture, area, 0, 0, 0, 255) -
               CountColor(capture, area, 0x40, 0x40, 0x40, 8);
    };
    EXPECT_GT(arrowPixels(RECT{140, 124, 180, 150}), 50);
    EXPECT_EQ(arrowPixels(RECT{140, 90, 180, 116}), 0);
}

TEST_F(MainView, NoOverlaysButTheMarkerWithoutACountingLineSet) {
    DarkPicture();
    WriteRedMask();
    StartProgram();
    ASSERT_TRUE(host.SendToView(WM_VIEW_COUNTING_LINE, (60u << 16) | 120u, (260u << 16) | 120u));
    ASSERT_TRUE(host.SendToView(WM_VIEW_MARKER_RECT, (150u << 16) | 160u, (250u << 16) | 200u));
    SendLiveFrame();
    const hostsim::Capture capture = CaptureView([](const hostsim::Capture& c) {
        return DarkShown(c) && CountColor(c, RECT{150, 160, 250, 161}, 255, 255, 255) > 20;
    });
    EXPECT_GT(CountColor(capture, RECT{150, 160, 250, 161}, 255, 255, 255), 20);
    EXPECT_EQ(CountColor(capture, RECT{10, 20, 110, 120}, 255, 0, 0), 0);
    EXPECT_EQ(CountColor(capture, RECT{40, 100, 280, 140}, 0, 255, 0), 0);
}

TEST_F(MainView, MaskIsHatchedAndFramedInItsColour) {
    DarkPicture();
    WriteRedMask();
    WriteSetting("Setted", "1");
    StartProgram();
    SendLiveFrame();
    const hostsim::Capture capture = CaptureView([](const hostsim::Capture& c) {
        return CountColor(c, RECT{12, 22, 108, 118}, 255, 0, 0) > 500;
    });
    const int inside = CountColor(capture, RECT{12, 22, 108, 118}, 255, 0, 0);
    EXPECT_GT(inside, 500);                                                 // the hatch
    EXPECT_LT(inside, 96 * 96 * 2 * 2 / 2);                                 // ... not a fill
    EXPECT_GT(CountColor(capture, RECT{10, 20, 110, 21}, 255, 0, 0), 150);  // the frame's top edge
    EXPECT_EQ(CountColor(capture, RECT{150, 20, 250, 120}, 255, 0, 0), 0);
}

TEST_F(MainView, LargerFirstPictureShowsItsTopLeftPartAcrossTheRectangle) {
    // A 640 x 480 picture: its top-left 320 x 240 (on screen) green, the rest red.
    constexpr int width = 640, height = 480;
    SharedBlocks::Sizes sizes = SharedBlocks::LayoutSizes();
    sizes[SharedBlocks::kImage] = width * height * 3;
    blocks.emplace("", sizes);
    ASSERT_TRUE(blocks->ok());
    unsigned char* pixels = blocks->data(SharedBlocks::kImage);
    for (int row = 0; row < height; ++row) {
        const bool topHalf = height - 1 - row < height / 2;
        for (int x = 0; x < width; ++x) {
            unsigned char* p = pixels + (static_cast<size_t>(row) * width + x) * 3;
            const bool green = topHalf && x < width / 2;
            p[0] = 0, p[1] = green ? 200 : 0, p[2] = green ? 0 : 200;
        }
    }
    StartProgram();
    SendLiveFrame(width, height);
    const hostsim::Capture capture = CaptureView(
        [](const hostsim::Capture& c) { return Near(PictureColor(c, 160, 120), 0, 200, 0); });
    for (const auto& [x, y] : {std::pair{10, 10}, std::pair{300, 220}, std::pair{160, 120}}) {
        EXPECT_TRUE(Near(PictureColor(capture, x, y), 0, 200, 0))
            << x << "," << y << " " << std::hex << PictureColor(capture, x, y);
    }
}

}  // namespace
