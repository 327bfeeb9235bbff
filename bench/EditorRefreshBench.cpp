// Measures one refresh of the settings dialogs' picture control with the
// busiest overlay (counting line, both arrows, a mask and the counter
// rectangle) against a floor measured in the same run: the same picture put
// into a memory bitmap with StretchDIBits and copied to the same window.
// Also checks that refreshing creates no GDI objects.
//
// Usage (64-bit build, under Wine with a display): bench_editor_refresh.exe [refreshes]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "dialogs/ImageEditor.h"
#include "framework/GdiPlus.h"
#include "framework/Handles.h"
#include "framework/WinApp.h"
#include "res/Resource.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kWidth = CImageEditor::kWidth;
constexpr int kHeight = CImageEditor::kHeight;
constexpr int kRounds = 11;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// Milliseconds per call of `step`, the median of `rounds` rounds.
double MillisecondsPerCall(int calls, const std::function<void()>& step, int roundCount = kRounds) {
    std::vector<double> rounds;
    for (int r = 0; r < roundCount; ++r) {
        const auto start = Clock::now();
        for (int i = 0; i < calls; ++i) step();
        ::GdiFlush();
        rounds.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count() /
                         calls);
    }
    std::sort(rounds.begin(), rounds.end());
    return rounds[rounds.size() / 2];
}

void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
}

int Run(int refreshes) {
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    header.bmiHeader.biWidth = kWidth;
    header.bmiHeader.biHeight = kHeight;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 24;
    std::vector<unsigned char> pixels(static_cast<size_t>(kWidth) * kHeight * 3);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned char>(i * 7 / 3);

    CWnd host;
    if (!host.CreateEx(0, nullptr, "Editor refresh", WS_POPUP | WS_VISIBLE, RECT{0, 0, 400, 300},
                       nullptr, 0)) {
        std::printf("cannot create the window\n");
        return 1;
    }
    CImageEditor editor;
    if (!editor.CreateEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE,
                         RECT{10, 10, 10 + kWidth, 10 + kHeight}, host.m_hWnd, 1016)) {
        std::printf("cannot create the picture control\n");
        return 1;
    }
    editor.Initialize(CImageEditor::kModeCountingLine, nullptr, &header, pixels.data(), 0);
    LineAndMasks& drawing = editor.Drawing();
    drawing.SetArrowImages(LoadBitmapResource(AfxGetInstanceHandle(), IDB_ARROW_IN),
                           LoadBitmapResource(AfxGetInstanceHandle(), IDB_ARROW_OUT));
    drawing.SetCountingLine(40, 150, 280, 130, 1.4f);
    RegionHandle mask(::CreateRectRgn(10, 20, 110, 60));
    RegionHandle more(::CreateEllipticRgn(200, 40, 300, 80));
    ::CombineRgn(mask.get(), mask.get(), more.get(), RGN_OR);
    drawing.SetMask(mask.get());
    drawing.SetCounterRect({60, 40, 260, 200});
    Pump();

    // The floor: what any refresh of this picture has to do.
    MemoryDc floorDc;
    BitmapHandle floorBitmap;
    {
        WindowDc window(editor.m_hWnd);
        floorDc.reset(::CreateCompatibleDC(window.get()));
        floorBitmap.reset(::CreateCompatibleBitmap(window.get(), kWidth, kHeight));
    }
    SelectObjectScope selected(floorDc.get(), floorBitmap.get());
    const auto floorStep = [&] {
        ::StretchDIBits(floorDc.get(), 0, 0, kWidth, kHeight, 0, 0, kWidth, kHeight, pixels.data(),
                        &header, DIB_RGB_COLORS, SRCCOPY);
        WindowDc window(editor.m_hWnd);
        ::BitBlt(window.get(), 0, 0, kWidth, kHeight, floorDc.get(), 0, 0, SRCCOPY);
    };
    const auto editorStep = [&] { editor.Redraw(); };

    for (int i = 0; i < 50; ++i) {  // warm-up
        floorStep();
        editorStep();
    }
    const int perRound = std::max(1, refreshes / kRounds);
    const DWORD objectsBefore = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    // The floor and the refresh take turns round by round, so that a change
    // of load on the machine falls on both alike; the ratio is also taken
    // round by round.
    std::vector<double> floorRounds, editorRounds, ratioRounds;
    for (int r = 0; r < kRounds; ++r) {
        const double floorRound = MillisecondsPerCall(perRound, floorStep, 1);
        const double editorRound = MillisecondsPerCall(perRound, editorStep, 1);
        floorRounds.push_back(floorRound);
        editorRounds.push_back(editorRound);
        ratioRounds.push_back(floorRound > 0.0 ? editorRound / floorRound : 0.0);
    }
    const double floorMs = Median(floorRounds);
    const double editorMs = Median(editorRounds);
    const DWORD objectsAfter = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);

    std::printf("refreshes per measurement: %d (median of %d rounds)\n", perRound * kRounds,
                kRounds);
    std::printf("picture control refresh (line, arrows, mask, counter rectangle): %.3f ms\n",
                editorMs);
    std::printf("floor (StretchDIBits into a memory bitmap + BitBlt to the window): %.3f ms\n",
                floorMs);
    std::printf("ratio: %.2f (target <= 1.5)\n", floorMs > 0.0 ? editorMs / floorMs : 0.0);
    std::sort(ratioRounds.begin(), ratioRounds.end());
    std::printf("ratio round by round: median %.2f, %.2f-%.2f\n", Median(ratioRounds),
                ratioRounds.front(), ratioRounds.back());
    if (objectsBefore == 0 && objectsAfter == 0) {
        std::printf("GDI objects: not reported by this system\n");
    } else {
        std::printf("GDI objects before %lu, after %lu: %s\n", objectsBefore, objectsAfter,
                    objectsAfter > objectsBefore ? "GROWTH" : "no growth");
    }
    std::fflush(stdout);
    return objectsAfter > objectsBefore ? 2 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    const int refreshes = argc > 1 ? std::max(kRounds, std::atoi(argv[1])) : 2200;
    const ULONG_PTR gdiplus = StartGdiplus();
    const int rc = Run(refreshes);
    ShutdownGdiplus(gdiplus);
    return rc;
}
