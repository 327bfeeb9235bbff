// Stand-in host: how many stereo pairs a second the scene renderer draws on
// one core, against a bare copy of the two pictures measured in the same run,
// and what a region match and an angle fit cost.
//
//   bench_hostsim_render [seconds]   (default 2 per measurement)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "tools/hostsim/CameraGeometry.h"
#include "tools/hostsim/CornerRefiner.h"
#include "tools/hostsim/RegionMatcher.h"
#include "tools/hostsim/StereoRenderer.h"

using namespace hostsim;
using Clock = std::chrono::steady_clock;

namespace {

// Runs `work` repeatedly for about `seconds`; returns runs per second.
template <typename F>
double RunsPerSecond(double seconds, F work) {
    const auto start = Clock::now();
    long runs = 0;
    double elapsed = 0;
    do {
        work(runs);
        ++runs;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    } while (elapsed < seconds);
    return runs / elapsed;
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 2.0;
    if (!(seconds > 0)) {
        std::fprintf(stderr, "usage: bench_hostsim_render [seconds]\n");
        return 2;
    }
    const auto setupStart = Clock::now();
    StereoRenderer renderer(DefaultScene(CameraModel{}));
    const double setupMs =
        std::chrono::duration<double, std::milli>(Clock::now() - setupStart).count();

    std::vector<unsigned char> left(kPictureBytes), right(kPictureBytes);
    std::vector<unsigned char> sourceL(kPictureBytes, 1), sourceR(kPictureBytes, 2);
    const double copies = RunsPerSecond(seconds, [&](long) {
        std::memcpy(left.data(), sourceL.data(), kPictureBytes);
        std::memcpy(right.data(), sourceR.data(), kPictureBytes);
    });
    const double pairs = RunsPerSecond(
        seconds, [&](long run) { renderer.Render(run / 15.0, left.data(), right.data()); });
    renderer.Render(0, left.data(), right.data());
    volatile float sink = 0;
    const double matches = RunsPerSecond(seconds, [&](long) {
        sink = MatchRegion(left.data(), right.data(), CameraModel{}, 200, 180, 240, 210).disparity;
    });
    const TemplateCorners corners = renderer.TemplateInPicture();
    const double fits = RunsPerSecond(seconds, [&](long) {
        const auto refined = RefineCorners(left.data(), corners);
        const auto angles = AnglesFromCorners(CameraModel{}, refined);
        sink = angles ? angles->angleYZ : 0.0f;
    });

    std::printf("scene set-up (backgrounds of both views): %.1f ms\n", setupMs);
    std::printf("bare copy of a pair (floor): %.0f pairs/s, %.3f ms/pair\n", copies, 1000 / copies);
    std::printf("render a pair (3 people): %.0f pairs/s, %.3f ms/pair (target >= 60 pairs/s)\n",
                pairs, 1000 / pairs);
    std::printf("region match 40 x 30: %.0f /s, %.3f ms\n", matches, 1000 / matches);
    std::printf("corner refinement + angle fit: %.0f /s, %.3f ms\n", fits, 1000 / fits);
    return pairs >= 60 ? 0 : 1;
}
