// The main window as the host and an installer see it: attaching, the live
// picture with its overlays, refused pictures, closing, moving.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/Handles.h"
#include "hostlink/HostMessages.h"
#include "hostlink/HostPacking.h"
#include "tools/hostsim/HostFixture.h"
#include "tools/hostsim/SharedBlocks.h"

namespace {

using hostsim::HostFixture;
using hostsim::SharedBlocks;

constexpr char kApp[] = TALLYSCOPE_APP_EXE;
constexpr DWORD kTimeout = 20000;
constexpr int kWidth = 320;
constexpr int kHeight = 240;
// Where the shipped skin puts the live picture (640 x 480 at 14, 35: twice the picture).
constexpr int kPictureLeft = 14;
constexpr int kPictureTop = 35;
constexpr int kScale = 2;

// Fills a bottom-up BGR picture: the left half blue (bytes 200, 0, 0), the
// right half red; the top 40 rows (on screen) green.
void PaintTestPicture(unsigned char* pixels) {
    for (int row = 0; row < kHeight; ++row) {
        const int screenRow = kHeight - 1 - row;
        for (int x = 0; x < kWidth; ++x) {
            unsigned char* p = pixels + (static_cast<size_t>(row) * kWidth + x) * 3;
            if (screenRow < 40) {
                p[0] = 0, p[1] = 200, p[2] = 0;
            } else if (x < kWidth / 2) {
                p[0] = 200, p[1] = 0, p[2] = 0;
            } else {
                p[0] = 0, p[1] = 0, p[2] = 200;
            }
        }
    }
}

uint32_t Frame(int width, int height) {
    return (static_cast<uint32_t>(width) << 16) | static_cast<uint32_t>(height);
}

// The colour on screen of picture pixel (x, y), from a capture of the view.
COLORREF PictureColor(const hostsim::Capture& capture, int x, int y) {
    return capture.Pixel(kPictureLeft + x * kScale + kScale / 2,
                         kPictureTop + y * kScale + kScale / 2);
}

bool Near(COLORREF c, int r, int g, int b, int tolerance = 40) {
    return std::abs(GetRValue(c) - r) <= tolerance && std::abs(GetGValue(c) - g) <= tolerance &&
           std::abs(GetBValue(c) - b) <= tolerance;
}

// Counts captured picture pixels inside a picture rectangle that match a colour.
int CountColor(const hostsim::Capture& capture, RECT area, int r, int g, int b,
               int tolerance = 60) {
    int count = 0;
    for (int y = kPictureTop + area.top * kScale; y < kPictureTop + area.bottom * kScale; ++y) {
        for (int x = kPictureLeft + area.left * kScale; x < kPictureLeft + area.right * kScale;
             ++x) {
            if (Near(capture.Pixel(x, y), r, g, b, tolerance)) ++count;
        }
    }
    return count;
}

class MainView : public ::testing::Test {
  protected:
    HWND StartProgram(int camera = 1) {
        EXPECT_TRUE(host.Launch(kApp, camera));
        HWND view = host.WaitForAttach(kTimeout);
        EXPECT_NE(view, nullptr);
        return view;
    }
    // Sends a live frame and waits until the view has handled it.
    void SendLiveFrame(int width = kWidth, int height = kHeight) {
        ASSERT_TRUE(host.SendToView(WM_VIEW_NEW_FRAME, 0, Frame(width, height)));
    }
    // Camera 1's mask: one rectangle (10, 20, 110, 120), drawn in red.
    void WriteRedMask() {
        const int32_t mask[12] = {32, 1, 1, 16, 10, 20, 110, 120, 10, 20, 110, 120};
        host.WriteFile("Mask01.bin", std::string(reinterpret_cast<const char*>(mask), sizeof mask));
        host.WriteIni("Setting01.ini", "Counter Settings", "Mask Size", "48");
        host.WriteIni("Setting01.ini", "Counter Settings", "Mask Color", "255");
    }
    hostsim::Capture CaptureView() {
        Sleep(200);  // let the screen settle after the last blit
        return HostFixture::CaptureWindow(host.ViewHwnd());
    }

    HostFixture host;
};

TEST_F(MainView, AttachesWithViewAndMainWindowAndSetsNoLineOnAFreshCamera) {
    HWND view = StartProgram(7);
    const auto attach = host.WaitForMessage(WM_HOST_ATTACH, kTimeout);
    ASSERT_TRUE(attach.has_value());
    EXPECT_EQ(reinterpret_cast<HWND>(attach->wParam), view);
    HWND main = reinterpret_cast<HWND>(attach->lParam);
    EXPECT_EQ(GetParent(view), main);
    EXPECT_EQ(HostFixture::WindowText(main), "Varanis - Tallyscope");
    EXPECT_FALSE(host.WaitForMessage(WM_HOST_SET_COUNTING_LINE, 1000).has_value());
    // The settings file of camera 7 was created in the host's folder.
    EXPECT_TRUE(host.FileExists("Setting07.ini"));
    EXPECT_EQ(host.ReadIni("Setting07.ini", "Camera Angle", "Angle YZ"), "-0.785398");
}

TEST_F(MainView, StoredCountingLineIsSentRightAfterAttach) {
    host.WriteIni("Setting01.ini", "Counter Settings", "Setted", "1");
    host.WriteIni("Setting01.ini", "Counter Settings", "Image Cnt Line Pt1 x", "40");
    host.WriteIni("Setting01.ini", "Counter Settings", "Image Cnt Line Pt1 y", "120");
    host.WriteIni("Setting01.ini", "Counter Settings", "Image Cnt Line Pt2 x", "280");
    host.WriteIni("Setting01.ini", "Counter Settings", "Image Cnt Line Pt2 y", "130");
    StartProgram(1);
    const auto line = host.WaitForMessage(WM_HOST_SET_COUNTING_LINE, kTimeout);
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(line->wParam, (40u << 16) | 120u);
    EXPECT_EQ(line->lParam, (280u << 16) | 130u);
    const auto messages = host.Messages();
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(messages[0].msg, WM_HOST_ATTACH);
    EXPECT_EQ(messages[1].msg, WM_HOST_SET_COUNTING_LINE);
}

TEST_F(MainView, LivePictureIsShownInThePictureRectangle) {
    SharedBlocks blocks;
    ASSERT_TRUE(blocks.ok());
    unsigned char* image = blocks.data(SharedBlocks::kImage);
    PaintTestPicture(image);
    StartProgram();
    SendLiveFrame();
    const hostsim::Capture capture = CaptureView();
    ASSERT_FALSE(capture.empty());
    EXPECT_TRUE(Near(PictureColor(capture, 60, 200), 0, 0, 200))
        << std::hex << PictureColor(capture, 60, 200);
    EXPECT_TRUE(Near(PictureColor(capture, 260, 200), 200, 0, 0))
        << std::hex << PictureColor(capture, 260, 200);
    EXPECT_TRUE(Near(PictureColor(capture, 160, 10), 0, 200, 0))
        << std::hex << PictureColor(capture, 160, 10);
}

TEST_F(MainView, MarkerRectangleIsDrawnAndALargerPictureIsRefused) {
    SharedBlocks blocks;
    ASSERT_TRUE(blocks.ok());
    unsigned char* image = blocks.data(SharedBlocks::kImage);
    PaintTestPicture(image);
    StartProgram();
    SendLiveFrame();
    ASSERT_TRUE(host.SendToView(WM_VIEW_MARKER_RECT, (100u << 16) | 100u, (200u << 16) | 180u));
    SendLiveFrame();
    hostsim::Capture capture = CaptureView();
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

TEST_F(MainView, CountingLineBandAndArrowsFollowTheSettings) {
    SharedBlocks blocks;
    ASSERT_TRUE(blocks.ok());
    unsigned char* image = blocks.data(SharedBlocks::kImage);
    std::memset(image, 0x40, kWidth * kHeight * 3);  // dark grey
    host.WriteIni("Setting01.ini", "Counter Settings", "Setted", "1");
    host.WriteIni("Setting01.ini", "Counter Settings", "Image Cnt Line Pt1 x", "60");
    host.WriteIni("Setting01.ini", "Counter Settings", "Image Cnt Line Pt1 y", "120");
    host.WriteIni("Setting01.ini", "Counter Settings", "Image Cnt Line Pt2 x", "260");
    host.WriteIni("Setting01.ini", "Counter Settings", "Image Cnt Line Pt2 y", "120");
    host.WriteIni("Setting01.ini", "Counter Settings", "AngleIN",
                  "1.570796");  // in = down the picture
    host.WriteIni("Setting01.ini", "Counter Settings", "Counting IO Mode", "1");  // in only
    StartProgram();
    SendLiveFrame();
    hostsim::Capture capture = CaptureView();
    EXPECT_EQ(CountColor(capture, RECT{40, 100, 280, 140}, 0, 255, 0), 0)
        << "no band before the host's line";

    ASSERT_TRUE(host.SendToView(WM_VIEW_COUNTING_LINE, (60u << 16) | 120u, (260u << 16) | 120u));
    SendLiveFrame();
    capture = CaptureView();
    // The band's long sides lie 3 pixels above and below the line.
    EXPECT_GT(CountColor(capture, RECT{70, 117, 250, 118}, 0, 255, 0), 100);
    EXPECT_GT(CountColor(capture, RECT{70, 123, 250, 124}, 0, 255, 0), 100);
    // "In Only": the in arrow below the line, no out arrow above it.
    const int below = CountColor(capture, RECT{140, 124, 180, 150}, 0, 0, 0, 255) -
                      CountColor(capture, RECT{140, 124, 180, 150}, 0x40, 0x40, 0x40, 8);
    const int above = CountColor(capture, RECT{140, 90, 180, 116}, 0, 0, 0, 255) -
                      CountColor(capture, RECT{140, 90, 180, 116}, 0x40, 0x40, 0x40, 8);
    EXPECT_GT(below, 50);
    EXPECT_EQ(above, 0);
}

TEST_F(MainView, NoOverlaysButTheMarkerWithoutACountingLineSet) {
    SharedBlocks blocks;
    ASSERT_TRUE(blocks.ok());
    unsigned char* image = blocks.data(SharedBlocks::kImage);
    std::memset(image, 0x40, kWidth * kHeight * 3);
    WriteRedMask();
    StartProgram();
    ASSERT_TRUE(host.SendToView(WM_VIEW_COUNTING_LINE, (60u << 16) | 120u, (260u << 16) | 120u));
    SendLiveFrame();
    const hostsim::Capture capture = CaptureView();
    EXPECT_EQ(CountColor(capture, RECT{10, 20, 110, 120}, 255, 0, 0), 0);
    EXPECT_EQ(CountColor(capture, RECT{40, 100, 280, 140}, 0, 255, 0), 0);
}

TEST_F(MainView, MaskIsHatchedAndFramedInItsColour) {
    SharedBlocks blocks;
    ASSERT_TRUE(blocks.ok());
    unsigned char* image = blocks.data(SharedBlocks::kImage);
    std::memset(image, 0x40, kWidth * kHeight * 3);
    WriteRedMask();
    host.WriteIni("Setting01.ini", "Counter Settings", "Setted", "1");
    StartProgram();
    SendLiveFrame();
    const hostsim::Capture capture = CaptureView();
    const int inside = CountColor(capture, RECT{12, 22, 108, 118}, 255, 0, 0);
    EXPECT_GT(inside, 500);                                                 // the hatch
    EXPECT_LT(inside, 96 * 96 * kScale * kScale / 2);                       // ... not a fill
    EXPECT_GT(CountColor(capture, RECT{10, 20, 110, 21}, 255, 0, 0), 150);  // the frame's top edge
    EXPECT_EQ(CountColor(capture, RECT{150, 20, 250, 120}, 255, 0, 0), 0);
}

TEST_F(MainView, MissingImageBlockIsReportedOnEachPictureWhileTheProgramGoesOn) {
    KernelHandle stray(OpenFileMappingA(FILE_MAP_READ, FALSE, hostlink::kImageBlockName));
    ASSERT_FALSE(stray.valid()) << "another host holds the picture block";
    StartProgram();
    for (int attempt = 0; attempt < 2; ++attempt) {
        ASSERT_TRUE(host.PostToView(WM_VIEW_NEW_FRAME, 0, Frame(kWidth, kHeight)));
        const auto box = host.FindMessageBox(kTimeout);
        ASSERT_TRUE(box.has_value()) << attempt;
        EXPECT_EQ(box->caption, "Tallyscope");
        EXPECT_EQ(box->text, "Can't Open Shared Memory for Reading Image!");
        EXPECT_TRUE(HostFixture::DismissMessageBox(box->hwnd));
        // Wine drops a message posted while a message box winds down: wait until it is gone.
        for (int i = 0; i < 100 && IsWindow(box->hwnd); ++i) Sleep(50);
        Sleep(200);
    }
    EXPECT_TRUE(host.Running());
}

TEST_F(MainView, HostCloseWritesTheSettingsAndDetachesLast) {
    StartProgram(3);
    DeleteFileA(host.SettingsFile(3).c_str());  // only the final save can bring it back
    const auto exitCode = host.Close(kTimeout);
    ASSERT_TRUE(exitCode.has_value());
    EXPECT_EQ(*exitCode, 0u);
    const auto messages = host.Messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().msg, WM_HOST_DETACH);
    EXPECT_EQ(host.ReadIni("Setting03.ini", "Common", "Cut X2"), "310");
    EXPECT_EQ(host.ReadIni("Setting03.ini", "Counter Settings", "Operation Stop Time"), "180000");
    EXPECT_EQ(host.ReadIni("Setting03.ini", "Camera Angle", "Height"), "240.0");
}

TEST_F(MainView, ExitButtonClosesTheProgram) {
    HWND view = StartProgram();
    HWND exitButton = GetDlgItem(view, SC_CLOSE);
    ASSERT_NE(exitButton, nullptr);
    PostMessageA(exitButton, BM_CLICK, 0, 0);
    ASSERT_TRUE(host.WaitForExit(kTimeout).has_value());
    const auto messages = host.Messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().msg, WM_HOST_DETACH);
}

}  // namespace

namespace {

TEST_F(MainView, HostCloseDuringAMessageBoxClosesOnceItIsAnswered) {
    StartProgram(4);
    ASSERT_TRUE(host.PostToView(WM_VIEW_NEW_FRAME, 0, Frame(kWidth, kHeight)));
    const auto box = host.FindMessageBox(kTimeout);
    ASSERT_TRUE(box.has_value());
    ASSERT_TRUE(host.PostToView(WM_VIEW_CLOSE, 0, 0));
    EXPECT_FALSE(host.WaitForExit(1500).has_value()) << "closed under an open message box";
    EXPECT_TRUE(HostFixture::DismissMessageBox(box->hwnd));
    const auto exitCode = host.WaitForExit(kTimeout);
    ASSERT_TRUE(exitCode.has_value());
    EXPECT_EQ(*exitCode, 0u);
    EXPECT_EQ(host.Messages().back().msg, WM_HOST_DETACH);
    EXPECT_EQ(host.ReadIni("Setting04.ini", "Common", "VarTh"), "0");
}

}  // namespace

namespace {

TEST_F(MainView, LargerFirstPictureShowsItsTopLeftPartAcrossTheRectangle) {
    // A 640 x 480 picture: its top-left 320 x 240 (on screen) green, the rest red.
    constexpr int width = 640, height = 480;
    KernelHandle mapping(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                            width * height * 3, hostlink::kImageBlockName));
    ASSERT_TRUE(mapping.valid());
    MappedView view(MapViewOfFile(mapping.get(), FILE_MAP_ALL_ACCESS, 0, 0, width * height * 3));
    ASSERT_TRUE(view.valid());
    auto* pixels = static_cast<unsigned char*>(view.get());
    for (int row = 0; row < height; ++row) {
        const bool topHalf = height - 1 - row < height / 2;
        for (int x = 0; x < width; ++x) {
            unsigned char* p = pixels + (static_cast<size_t>(row) * width + x) * 3;
            const bool green = topHalf && x < width / 2;
            p[0] = 0, p[1] = green ? 200 : 0, p[2] = green ? 0 : 200;
        }
    }
    StartProgram();
    ASSERT_TRUE(host.SendToView(WM_VIEW_NEW_FRAME, 0, Frame(width, height)));
    const hostsim::Capture capture = CaptureView();
    for (const auto& [x, y] : {std::pair{10, 10}, std::pair{300, 220}, std::pair{160, 120}}) {
        EXPECT_TRUE(Near(PictureColor(capture, x, y), 0, 200, 0))
            << x << "," << y << " " << std::hex << PictureColor(capture, x, y);
    }
}

}  // namespace
