// Measures the program where an installer feels it: the live picture path
// (WM_VIEW_NEW_FRAME to pixels in the window) with every overlay on, beside a
// floor measured in the same run (the copy, StretchDIBits and the HALFTONE
// stretch into the same rectangle, no overlays); and resident memory and
// handles over 10 000 frames and 100 menu commands. Start-up is
// bench_startup_steps' measure.
//
// Usage (under Wine with a display, the same pointer size as the program):
//   bench_live_picture.exe <TallyscopeSettingApp.exe> [frames]
#include <windows.h>

#include <algorithm>
#include <sstream>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "framework/Handles.h"
#include "hostlink/HostMessages.h"
#include "tools/hostsim/ProcessUsage.h"
#include "tools/hostsim/HostFixture.h"
#include "tools/hostsim/SharedBlocks.h"

namespace {

using Clock = std::chrono::steady_clock;
using hostsim::HostFixture;
using hostsim::SharedBlocks;

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr uint32_t kFrame = (kWidth << 16) | kHeight;
constexpr RECT kPictureRect{14, 35, 654, 515};  // where the shipped skin shows the picture

double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

void PaintPicture(unsigned char* pixels, int phase) {
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            unsigned char* p = pixels + (static_cast<size_t>(y) * kWidth + x) * 3;
            p[0] = static_cast<unsigned char>(x + phase);
            p[1] = static_cast<unsigned char>(y * 2);
            p[2] = static_cast<unsigned char>((x ^ y) + phase);
        }
    }
}

// The settings of a camera with a counting line, a mask and both arrows.
void WriteSettingsWithEveryOverlay(const HostFixture& host) {
    const auto set = [&](const char* key, const char* value) {
        host.WriteIni("Setting01.ini", "Counter Settings", key, value);
    };
    set("Setted", "1");
    set("Image Cnt Line Pt1 x", "40");
    set("Image Cnt Line Pt1 y", "150");
    set("Image Cnt Line Pt2 x", "280");
    set("Image Cnt Line Pt2 y", "130");
    set("AngleIN", "1.4");
    set("Mask Size", "64");
    set("Mask Color", "255");
    const int32_t mask[16] = {32, 1, 2, 32, 10, 20, 300, 80, 10, 20, 110, 60, 200, 40, 300, 80};
    host.WriteFile("Mask01.bin", std::string(reinterpret_cast<const char*>(mask), sizeof mask));
}

struct Usage {
    long long residentKiB = -1;  // anonymous resident memory of the program's process
    long long handles = -1;      // kernel handles the program holds
};

// Under Wine another process's memory counters and GUI object counts read as
// 0, so memory comes from the Linux side (Z:\proc) and handles from the
// system handle table.
// The program is told apart by its settings folder, which no other copy
// shares (copies killed earlier, or another engineer's, may still be listed).
long long ResidentKiBOf(const std::string& exeName, const std::string& settingsFolder) {
    for (const std::string& folder : hostsim::LinuxProcessFolders()) {
        const std::string commandLine = hostsim::ReadLinuxFile(folder + "cmdline");
        if (commandLine.find(exeName) == std::string::npos ||
            commandLine.find(settingsFolder) == std::string::npos ||
            commandLine.find("bench_live_picture") != std::string::npos)
            continue;
        std::istringstream status(hostsim::ReadLinuxFile(folder + "status"));
        for (std::string line; std::getline(status, line);) {
            if (line.rfind("RssAnon:", 0) == 0) return std::atoll(line.c_str() + 8);
        }
    }
    return -1;
}

Usage UsageOf(DWORD processId, const std::string& settingsFolder) {
    return {ResidentKiBOf("TallyscopeSettingApp.exe", settingsFolder),
            hostsim::KernelHandlesOf(processId)};
}

// The floor: the same copy and the same two blits, in a window of this process.
class Floor {
  public:
    explicit Floor(const unsigned char* shared)
        : m_shared(shared), m_buffer(static_cast<size_t>(kWidth) * kHeight * 3) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "LivePictureFloor";
        RegisterClassA(&wc);
        m_wnd = CreateWindowExA(0, wc.lpszClassName, "floor", WS_POPUP | WS_VISIBLE, 0, 0, 850, 600,
                                nullptr, nullptr, wc.hInstance, nullptr);
        m_header = {sizeof m_header,
                    kWidth,
                    kHeight,
                    1,
                    24,
                    BI_RGB,
                    static_cast<DWORD>(m_buffer.size()),
                    0,
                    0,
                    0,
                    0};
        m_screen = GetDC(m_wnd);
        m_memory.reset(CreateCompatibleDC(m_screen));
        m_bitmap.reset(CreateCompatibleBitmap(m_screen, kWidth, kHeight));
        m_oldBitmap = SelectObject(m_memory.get(), m_bitmap.get());
        SetStretchBltMode(m_screen, HALFTONE);
    }
    ~Floor() {
        SelectObject(m_memory.get(), m_oldBitmap);
        ReleaseDC(m_wnd, m_screen);
        DestroyWindow(m_wnd);
    }

    // Milliseconds per frame. lookAtMessages: the window's thread looks at its
    // messages after each frame, as the program's thread does between frames;
    // that is where Wine puts a window's new pixels on the X server.
    double Run(int frames, bool lookAtMessages) {
        const auto start = Clock::now();
        for (int i = 0; i < frames; ++i) {
            std::memcpy(m_buffer.data(), m_shared, m_buffer.size());
            StretchDIBits(m_memory.get(), 0, 0, kWidth, kHeight, 0, 0, kWidth, kHeight,
                          m_buffer.data(), reinterpret_cast<BITMAPINFO*>(&m_header), DIB_RGB_COLORS,
                          SRCCOPY);
            StretchBlt(m_screen, kPictureRect.left, kPictureRect.top,
                       kPictureRect.right - kPictureRect.left,
                       kPictureRect.bottom - kPictureRect.top, m_memory.get(), 0, 0, kWidth,
                       kHeight, SRCCOPY);
            GdiFlush();
            if (lookAtMessages) {
                MSG msg;
                while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            }
        }
        return Milliseconds(Clock::now() - start) / frames;
    }

  private:
    const unsigned char* m_shared;
    std::vector<unsigned char> m_buffer;
    BITMAPINFOHEADER m_header{};
    HWND m_wnd = nullptr;
    HDC m_screen = nullptr;
    MemoryDc m_memory;
    BitmapHandle m_bitmap;
    HGDIOBJ m_oldBitmap = nullptr;
};

double Spread(std::vector<double> values, double* low) {
    std::sort(values.begin(), values.end());
    *low = values.empty() ? 0.0 : values.front();
    return values.empty() ? 0.0 : values.back();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <TallyscopeSettingApp.exe> [frames]\n", argv[0]);
        return 2;
    }
    const std::string app = argv[1];
    const int frames = argc > 2 ? std::max(100, std::atoi(argv[2])) : 2000;

    // ---- The live picture path with every overlay on.
    SharedBlocks blocks;
    if (!blocks.ok()) return 1;
    unsigned char* image = blocks.data(SharedBlocks::kImage);
    PaintPicture(image, 0);
    HostFixture host;
    WriteSettingsWithEveryOverlay(host);
    if (!host.Launch(app) || !host.WaitForAttach(30000)) return 1;
    host.SendToView(WM_VIEW_COUNTING_LINE, (40u << 16) | 150u, (280u << 16) | 130u);
    host.SendToView(WM_VIEW_MARKER_RECT, (100u << 16) | 100u, (220u << 16) | 200u);
    for (int i = 0; i < 100; ++i) host.SendToView(WM_VIEW_NEW_FRAME, 0, kFrame);
    const Usage before = UsageOf(host.ProcessId(), host.SettingsFolder());

    // The program, the message round trip and the floor take turns in
    // chunks, so that a change of load on the machine falls on all three
    // alike; the ratio is also taken chunk by chunk.
    constexpr int kChunks = 10;
    const int perChunk = std::max(10, frames / kChunks);
    Floor floor(image);
    double programMs = 0.0, roundTripMs = 0.0, floorMs = 0.0, floorLookingMs = 0.0;
    std::vector<double> chunkRatios, chunkRatiosLooking;
    for (int chunk = 0; chunk < kChunks; ++chunk) {
        const auto start = Clock::now();
        for (int i = 0; i < perChunk; ++i) host.SendToView(WM_VIEW_NEW_FRAME, 0, kFrame);
        const double program = Milliseconds(Clock::now() - start) / perChunk;
        const auto roundTripStart = Clock::now();
        for (int i = 0; i < perChunk; ++i) host.SendToView(WM_NULL, 0, 0);
        const double roundTrip = Milliseconds(Clock::now() - roundTripStart) / perChunk;
        const double floorFrame = floor.Run(perChunk, false);
        const double floorLooking = floor.Run(perChunk, true);
        programMs += program / kChunks;
        roundTripMs += roundTrip / kChunks;
        floorMs += floorFrame / kChunks;
        floorLookingMs += floorLooking / kChunks;
        chunkRatios.push_back(program / (floorFrame + roundTrip));
        chunkRatiosLooking.push_back(program / (floorLooking + roundTrip));
    }
    const double programPerFrame = programMs;
    const double roundTrip = roundTripMs;
    const double floorPerFrame = floorMs + roundTrip;
    const double floorLookingPerFrame = floorLookingMs + roundTrip;

    // ---- Leaks: 10 000 frames and 100 menu commands.
    for (int i = 0; i < 10000; ++i) {
        if (i % 100 == 0) {
            host.PostToView(WM_COMMAND, (i / 100) % 2 ? 155 : 156, 0);
            host.SendToView(WM_NULL, 0, 0);
        }
        host.SendToView(WM_VIEW_NEW_FRAME, 0, kFrame);
    }
    const Usage after = UsageOf(host.ProcessId(), host.SettingsFolder());
    host.Close(10000);

    std::printf("live picture, every overlay on (%d frames): %.3f ms/frame = %.0f frames/s\n",
                frames, programPerFrame, 1000.0 / programPerFrame);
    std::printf(
        "floor (copy + StretchDIBits + HALFTONE stretch, plus the %.3f ms message round trip): "
        "%.3f ms/frame = %.0f frames/s; ratio %.2f\n",
        roundTrip, floorPerFrame, 1000.0 / floorPerFrame, programPerFrame / floorPerFrame);
    double low = 0.0;
    double high = Spread(chunkRatios, &low);
    std::printf("ratio chunk by chunk (%d chunks of %d frames): median %.2f, %.2f-%.2f\n", kChunks,
                perChunk, Median(chunkRatios), low, high);
    std::printf(
        "floor whose window's thread also looks at its messages after each frame, as the "
        "program's does (Wine puts the pixels on the X server then): %.3f ms/frame; ratio %.2f, "
        "chunk by chunk median %.2f, ",
        floorLookingPerFrame, programPerFrame / floorLookingPerFrame, Median(chunkRatiosLooking));
    high = Spread(chunkRatiosLooking, &low);
    std::printf("%.2f-%.2f\n", low, high);
    std::printf("after 100 frames: resident anonymous memory %lld KiB, %lld kernel handles\n",
                before.residentKiB, before.handles);
    std::printf("after 10000 more frames and 100 menu commands: %lld KiB, %lld kernel handles\n",
                after.residentKiB, after.handles);
    return 0;
}
