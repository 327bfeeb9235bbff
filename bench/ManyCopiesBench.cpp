// How many cameras one machine carries: start-up of 16 copies launched
// together (until all 16 have attached), CPU time per live picture per copy
// (the copies' process times over a measured stretch divided by the pictures
// they drew), and how many copies keep up with 15 and with 30 pictures a
// second (N copies streamed at once, each sent its pictures on a steady
// schedule; a copy keeps up when it took at least 95 % of them).
//
// Usage (64-bit build, under Wine with a display):
//   bench_many_copies.exe <TallyscopeSettingApp.exe> [seconds per capacity step]
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "framework/Handles.h"
#include "hostlink/HostMessages.h"
#include "hostlink/HostPacking.h"
#include "tools/hostsim/ProcessUsage.h"
#include "tools/hostsim/HostFixture.h"
#include "tools/hostsim/SharedBlocks.h"

namespace {

using Clock = std::chrono::steady_clock;
using hostsim::HostFixture;

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr DWORD kTimeout = 120000;

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// The pictures cost more than the copies' own time: the X server puts them
// on the screen and Wine's server carries every message. Both are Linux
// processes, read through drive Z: -- the X server given our display on its
// command line, and the Wine server started with our display in its environment.
struct HelperProcesses {
    std::vector<std::string> xServer, wineServer, copies;  // Z:\proc\<pid>\ folders
};

// Also the copies as Linux sees them, to check Wine's process times.
HelperProcesses FindHelperProcesses() {
    HelperProcesses found;
    char display[64] = "";
    if (!::GetEnvironmentVariableA("DISPLAY", display, sizeof display)) return found;
    for (const std::string& folder : hostsim::LinuxProcessFolders()) {
        const auto args = hostsim::SplitAtNuls(hostsim::ReadLinuxFile(folder + "cmdline"));
        if (args.empty()) continue;
        const std::string& program = args[0];
        if (program.find("Xvfb") != std::string::npos &&
            std::find(args.begin(), args.end(), display) != args.end())
            found.xServer.push_back(folder);
        const bool wineServer = program.find("wineserver") != std::string::npos;
        const bool copy = program.find("TallyscopeSettingApp.exe") != std::string::npos;
        if (wineServer || copy) {
            const auto environment =
                hostsim::SplitAtNuls(hostsim::ReadLinuxFile(folder + "environ"));
            if (std::find(environment.begin(), environment.end(),
                          std::string("DISPLAY=") + display) != environment.end())
                (wineServer ? found.wineServer : found.copies).push_back(folder);
        }
    }
    return found;
}

// User plus system time of Linux processes in milliseconds (clock ticks of 10 ms).
double LinuxCpuMilliseconds(const std::vector<std::string>& folders) {
    double total = 0;
    for (const auto& folder : folders) {
        const std::string stat = hostsim::ReadLinuxFile(folder + "stat");
        const std::size_t close = stat.rfind(')');  // the name may hold spaces
        if (close == std::string::npos) continue;
        std::vector<std::string> fields;
        std::size_t at = close + 2;
        while (at < stat.size() && fields.size() < 13) {
            const std::size_t end = std::min(stat.find(' ', at), stat.size());
            fields.push_back(stat.substr(at, end - at));
            at = end + 1;
        }
        if (fields.size() < 13) continue;  // fields 14 and 15: utime, stime
        total += 10.0 * (std::atof(fields[11].c_str()) + std::atof(fields[12].c_str()));
    }
    return total;
}

// N copies of the program, each with its own host window and settings folder.
class Copies {
  public:
    explicit Copies(int count) {
        for (int i = 0; i < count; ++i) m_hosts.push_back(std::make_unique<HostFixture>());
    }
    ~Copies() {
        for (auto& host : m_hosts) host->PostToView(WM_VIEW_CLOSE, 0, 0);
        for (auto& host : m_hosts) host->WaitForExit(30000);
    }
    bool Launch(const std::string& app) {
        for (std::size_t i = 0; i < m_hosts.size(); ++i)
            if (!m_hosts[i]->Launch(app, static_cast<int>(i % 99) + 1)) return false;
        return true;
    }
    bool AllAttached() {
        for (auto& host : m_hosts)
            if (!host->WaitForAttach(kTimeout)) return false;
        return true;
    }
    // When the last copy attached.
    Clock::time_point LastAttach() const {
        Clock::time_point last{};
        for (const auto& host : m_hosts)
            if (auto m = host->WaitForMessage(WM_HOST_ATTACH, 0)) last = std::max(last, m->time);
        return last;
    }
    std::vector<std::unique_ptr<HostFixture>>& hosts() { return m_hosts; }

  private:
    std::vector<std::unique_ptr<HostFixture>> m_hosts;
};

struct StreamResult {
    double seconds = 0;
    std::vector<long long> framesShown;   // per copy
    std::vector<double> cpuMilliseconds;  // per copy, over the stretch
    int keptUp = 0;                       // copies that took at least 95 % of their pictures
    double cpuPerFrame = 0;               // ms, over all copies
    double xServerPerFrame = -1;          // ms of the X server a picture; -1 when not found
    double wineServerPerFrame = -1;       // ms of the Wine server a picture
    double copyPerFrameLinux = -1;        // ms a picture a copy as Linux counts it
};

// Streams live pictures to every copy at `fps` for `seconds`, one sender
// thread per copy; a picture a copy has not drawn by the next one's turn is
// not made up for.
StreamResult Stream(Copies& copies, double fps, double seconds) {
    const HelperProcesses helpers = FindHelperProcesses();
    auto& hosts = copies.hosts();
    const std::size_t n = hosts.size();
    StreamResult result;
    result.framesShown.assign(n, 0);
    result.cpuMilliseconds.assign(n, 0);
    std::vector<KernelHandle> processes;
    for (auto& host : hosts)
        processes.emplace_back(::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, host->ProcessId()));
    const uint32_t kind = hostlink::PackFrameKind(hostlink::kFrameLive, 0);
    const uint32_t size = hostlink::PackFrameSize(kWidth, kHeight);
    std::atomic<bool> measuring{false};
    std::atomic<bool> stop{false};
    std::vector<std::thread> senders;
    for (std::size_t i = 0; i < n; ++i) {
        senders.emplace_back([&, i] {
            const auto period = std::chrono::duration_cast<Clock::duration>(
                std::chrono::duration<double>(1.0 / fps));
            auto next = Clock::now();
            while (!stop) {
                const bool counted = measuring;
                if (hosts[i]->SendToView(WM_VIEW_NEW_FRAME, kind, size, 10000) && counted)
                    ++result.framesShown[i];
                next += period;
                const auto now = Clock::now();
                if (next < now) next = now;
                std::this_thread::sleep_until(next);
            }
        });
    }
    std::this_thread::sleep_for(std::chrono::seconds(2));  // every copy drawing steadily
    std::vector<double> cpuBefore(n);
    for (std::size_t i = 0; i < n; ++i)
        cpuBefore[i] = hostsim::CpuMillisecondsOf(processes[i].get());
    const double xBefore = LinuxCpuMilliseconds(helpers.xServer);
    const double wineBefore = LinuxCpuMilliseconds(helpers.wineServer);
    const double copiesBefore = LinuxCpuMilliseconds(helpers.copies);
    const auto start = Clock::now();
    measuring = true;
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    measuring = false;
    result.seconds = Seconds(Clock::now() - start);
    const double xCpu = LinuxCpuMilliseconds(helpers.xServer) - xBefore;
    const double wineCpu = LinuxCpuMilliseconds(helpers.wineServer) - wineBefore;
    const double copiesCpu = LinuxCpuMilliseconds(helpers.copies) - copiesBefore;
    for (std::size_t i = 0; i < n; ++i)
        result.cpuMilliseconds[i] = hostsim::CpuMillisecondsOf(processes[i].get()) - cpuBefore[i];
    stop = true;
    for (auto& sender : senders) sender.join();

    double cpu = 0;
    long long frames = 0;
    for (std::size_t i = 0; i < n; ++i) {
        cpu += result.cpuMilliseconds[i];
        frames += result.framesShown[i];
        if (result.framesShown[i] >= 0.95 * fps * result.seconds) ++result.keptUp;
    }
    if (frames > 0) {
        result.cpuPerFrame = cpu / static_cast<double>(frames);
        if (!helpers.xServer.empty()) result.xServerPerFrame = xCpu / static_cast<double>(frames);
        if (!helpers.wineServer.empty())
            result.wineServerPerFrame = wineCpu / static_cast<double>(frames);
        if (helpers.copies.size() == n)
            result.copyPerFrameLinux = copiesCpu / static_cast<double>(frames);
    }
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <TallyscopeSettingApp.exe> [seconds per step]\n", argv[0]);
        return 2;
    }
    const std::string app = argv[1];
    const double stepSeconds = argc > 2 ? std::max(2.0, std::atof(argv[2])) : 10.0;

    hostsim::SharedBlocks blocks;
    if (!blocks.ok()) return 1;
    unsigned char* image = blocks.data(hostsim::SharedBlocks::kImage);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth * 3; ++x)
            image[y * kWidth * 3 + x] = static_cast<unsigned char>(x ^ y);

    // ---- Start-up of 16 copies launched together.
    for (int run = 0; run < 2; ++run) {
        Copies copies(16);
        const auto start = Clock::now();
        if (!copies.Launch(app) || !copies.AllAttached()) return 1;
        const double total = Seconds(copies.LastAttach() - start);
        std::printf("16 copies launched together: all attached after %.2f s (%.0f ms a copy)\n",
                    total, total * 1000 / 16);
    }

    // ---- CPU per picture, and how many copies keep up.
    for (const double fps : {15.0, 30.0}) {
        int carried = 0;
        for (const int n : {2, 4, 6, 8, 12, 16, 24, 32}) {
            Copies copies(n);
            if (!copies.Launch(app) || !copies.AllAttached()) return 1;
            const StreamResult r = Stream(copies, fps, stepSeconds);
            long long fewest = r.framesShown.empty() ? 0 : r.framesShown[0];
            for (long long f : r.framesShown) fewest = std::min(fewest, f);
            // Wine's process times of another process miss most of its work:
            // the copies' own figure comes from Linux when it could be read.
            const double copy = r.copyPerFrameLinux >= 0 ? r.copyPerFrameLinux : r.cpuPerFrame;
            const double total =
                copy + std::max(0.0, r.xServerPerFrame) + std::max(0.0, r.wineServerPerFrame);
            std::printf(
                "%2d copies at %2.0f pictures/s: %2d kept up (fewest pictures %lld of %.0f); CPU "
                "a picture: copy %.2f ms (GetProcessTimes says %.2f), X server %.2f ms, Wine "
                "server %.2f ms; all %.0f %% of one core; 2 cores would carry %.0f copies by "
                "CPU\n",
                n, fps, r.keptUp, fewest, fps * r.seconds, copy, r.cpuPerFrame, r.xServerPerFrame,
                r.wineServerPerFrame, 100.0 * total * fps * n / 1000.0, 2000.0 / (total * fps));
            std::fflush(stdout);
            if (r.keptUp < n) break;
            carried = n;
        }
        std::printf("at %.0f pictures/s this machine carried %d copies\n", fps, carried);
    }
    return 0;
}
