// Where the start-up time goes: runs the traced copies of the program and of
// the minimal Win32 program (built with TALLYSCOPE_STARTUP_TRACE, see
// framework/StartupTrace.h), interleaved with the shipped program and the
// plain minimal program, and prints per step the median time since the step
// before (the first step counts from just before CreateProcess), and the
// start-up to WM_HOST_ATTACH of all four.
//
// Usage (under Wine with a display, the same pointer size throughout):
//   bench_startup_steps.exe <TallyscopeSettingApp.exe> <bench_traced_app.exe>
//       <bench_minimal_startup.exe> <bench_traced_minimal.exe> [runs] [other program.exe]
// The other program (a changed copy of the program, say) is started like the
// program, in the same turns, and its start-up printed beside.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "hostlink/HostMessages.h"
#include "tools/hostsim/HostFixture.h"

namespace {

using Clock = std::chrono::steady_clock;
using hostsim::HostFixture;

double Median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Spread(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    return values.back() - values.front();
}

LONGLONG Counter() {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double CounterMs(LONGLONG ticks) {
    static const double frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    return static_cast<double>(ticks) * 1000.0 / frequency;
}

// One run: the steps in order with their counter values.
using Steps = std::vector<std::pair<std::string, LONGLONG>>;

Steps ParseTraceLine(const std::string& line) {
    Steps steps;
    size_t at = 0;
    while (at < line.size()) {
        size_t end = line.find(';', at);
        if (end == std::string::npos) end = line.size();
        const std::string item = line.substr(at, end - at);
        const size_t equals = item.rfind('=');
        if (equals != std::string::npos)
            steps.emplace_back(item.substr(0, equals), std::atoll(item.c_str() + equals + 1));
        at = end + 1;
    }
    return steps;
}

// Waits until the traced program has appended its line (it writes after the attach).
Steps ReadTrace(const std::string& path) {
    for (int i = 0; i < 500; ++i) {
        std::ifstream file(path);
        std::string line;
        if (std::getline(file, line) && !line.empty()) {
            file.close();
            ::DeleteFileA(path.c_str());
            return ParseTraceLine(line);
        }
        ::Sleep(10);
    }
    return {};
}

struct Table {
    std::vector<std::string> order;
    std::map<std::string, std::vector<double>> deltas;  // ms since the step before
    std::map<std::string, std::vector<double>> since;   // ms since the launch
    std::vector<double> totals;                         // launch to the host's receipt

    void Add(const Steps& steps, LONGLONG launch, double total) {
        // With TALLYSCOPE_STEPS_RAW set, each run's steps in the counter's
        // milliseconds (to put beside WINEDEBUG=+timestamp output).
        if (::GetEnvironmentVariableA("TALLYSCOPE_STEPS_RAW", nullptr, 0) > 0) {
            std::printf("raw: launch %.1f", CounterMs(launch));
            for (const auto& [name, counter] : steps)
                std::printf("; %s %.1f", name.c_str(), CounterMs(counter));
            std::printf("\n");
        }
        LONGLONG previous = launch;
        for (const auto& [name, counter] : steps) {
            if (std::find(order.begin(), order.end(), name) == order.end()) order.push_back(name);
            deltas[name].push_back(CounterMs(counter - previous));
            since[name].push_back(CounterMs(counter - launch));
            previous = counter;
        }
        const LONGLONG last = steps.empty() ? launch : steps.back().second;
        const double lastMs = CounterMs(last - launch);
        deltas["(host receives WM_HOST_ATTACH)"].push_back(total - lastMs);
        totals.push_back(total);
    }

    void Print(const char* title) const {
        std::printf("%s (median of %zu runs; ms since the step before [spread], ms since launch)\n",
                    title, totals.size());
        std::vector<std::string> rows = order;
        rows.push_back("(host receives WM_HOST_ATTACH)");
        for (const std::string& name : rows) {
            const auto d = deltas.find(name);
            if (d == deltas.end()) continue;
            const auto s = since.find(name);
            std::printf("  %-34s %8.1f [%5.1f]", name.c_str(), Median(d->second),
                        Spread(d->second));
            if (s != since.end()) std::printf("   %8.1f", Median(s->second));
            std::printf("\n");
        }
        std::printf("  %-34s %8.1f [%5.1f]\n", "total to WM_HOST_ATTACH", Median(totals),
                    Spread(totals));
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr,
                     "usage: %s <TallyscopeSettingApp.exe> <bench_traced_app.exe> "
                     "<bench_minimal_startup.exe> <bench_traced_minimal.exe> [runs]\n",
                     argv[0]);
        return 2;
    }
    const std::string app = argv[1];
    const std::string tracedApp = argv[2];
    const std::string minimal = argv[3];
    const std::string tracedMinimal = argv[4];
    const int runs = argc > 5 ? std::max(1, std::atoi(argv[5])) : 9;
    const std::string other = argc > 6 ? argv[6] : "";

    char temp[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, temp);
    const std::string tracePath = std::string(temp) + "tallyscope-startup-trace.txt";
    ::DeleteFileA(tracePath.c_str());
    ::SetEnvironmentVariableA("TALLYSCOPE_STARTUP_TRACE", tracePath.c_str());

    Table appTable, minimalTable;
    std::vector<double> appTotals, minimalTotals;
    Table againTable;  // the traced program started again for the same camera
    std::vector<double> againTotals;
    std::vector<double> otherTotals, otherAgainTotals;
    const auto runApp = [&](const std::string& path, Table* table,
                            std::vector<double>* firstTotals = nullptr,
                            std::vector<double>* secondTotals = nullptr) -> bool {
        HostFixture host;
        for (int start = 0; start < 2; ++start) {
            // The second start finds the settings file that the first one made.
            const size_t from = host.MessageCount();
            const LONGLONG launch = Counter();
            const auto started = Clock::now();
            if (!host.Launch(path)) return false;
            const auto attach = host.WaitForMessage(WM_HOST_ATTACH, 30000, from);
            if (!attach) return false;
            const double total =
                std::chrono::duration<double, std::milli>(attach->time - started).count();
            if (table) {
                (start == 0 ? *table : againTable).Add(ReadTrace(tracePath), launch, total);
            } else if (firstTotals) {
                (start == 0 ? *firstTotals : *secondTotals).push_back(total);
            } else {
                (start == 0 ? appTotals : againTotals).push_back(total);
            }
            host.Kill();
        }
        return true;
    };
    const auto runMinimal = [&](const std::string& path, Table* table) -> bool {
        HostFixture host;
        char args[64];
        std::snprintf(args, sizeof args, "hwnd=%llx",
                      static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(host.HostHwnd())));
        const LONGLONG launch = Counter();
        const auto start = Clock::now();
        if (!host.LaunchRaw(path, args)) return false;
        const auto first = host.WaitForMessage(WM_HOST_ATTACH, 30000);
        if (!first) return false;
        const double total = std::chrono::duration<double, std::milli>(first->time - start).count();
        if (table) {
            table->Add(ReadTrace(tracePath), launch, total);
        } else {
            minimalTotals.push_back(total);
        }
        return true;
    };

    for (int run = 0; run < runs; ++run) {
        if (!runApp(app, nullptr) || !runMinimal(minimal, nullptr) ||
            !runApp(tracedApp, &appTable) || !runMinimal(tracedMinimal, &minimalTable) ||
            (!other.empty() && !runApp(other, nullptr, &otherTotals, &otherAgainTotals))) {
            std::printf("a start-up failed\n");
            return 1;
        }
    }
    appTable.Print("traced program");
    againTable.Print(
        "traced program, started again for the same camera (its settings file exists)");
    minimalTable.Print("traced minimal Win32 program");
    std::printf(
        "untraced, same runs: program %.1f [%.1f] ms, minimal %.1f [%.1f] ms, ratio %.2f; "
        "traced ratio %.2f\n",
        Median(appTotals), Spread(appTotals), Median(minimalTotals), Spread(minimalTotals),
        Median(appTotals) / Median(minimalTotals),
        Median(appTable.totals) / Median(minimalTable.totals));
    std::printf("untraced, started again for the same camera: %.1f [%.1f] ms, ratio %.2f\n",
                Median(againTotals), Spread(againTotals),
                Median(againTotals) / Median(minimalTotals));
    if (!other.empty()) {
        std::printf(
            "other program, same runs: %.1f [%.1f] ms, ratio %.2f; started again: %.1f "
            "[%.1f] ms, ratio %.2f\n",
            Median(otherTotals), Spread(otherTotals), Median(otherTotals) / Median(minimalTotals),
            Median(otherAgainTotals), Spread(otherAgainTotals),
            Median(otherAgainTotals) / Median(minimalTotals));
        // Turn by turn: the other program against the program started just before it.
        std::vector<double> quotients;
        for (size_t i = 0; i < otherTotals.size() && i < appTotals.size(); ++i)
            quotients.push_back(otherTotals[i] / appTotals[i]);
        std::printf("other / program, turn by turn: median %.3f [%.3f]\n", Median(quotients),
                    Spread(quotients));
    }
    return 0;
}
