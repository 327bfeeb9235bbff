// Compiled only into the benchmark's traced programs (see StartupTrace.h).
#include "framework/StartupTrace.h"

#include <windows.h>

#include <cstdio>

namespace {

struct Step {
    const char* name;
    LONGLONG counter;
};
Step g_steps[64];
int g_count = 0;

// The first code of the program to run: before every other static object of
// the program (the C runtime and every imported DLL are ready by then).
struct FirstStep {
    FirstStep() { StartupStep("static init"); }
};
#if defined(__GNUC__)
__attribute__((init_priority(101)))
#endif
FirstStep g_firstStep;

}  // namespace

void StartupStep(const char* name) {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    if (g_count < static_cast<int>(sizeof g_steps / sizeof g_steps[0]))
        g_steps[g_count++] = {name, now.QuadPart};
}

void StartupTraceWrite() {
    char path[MAX_PATH];
    const DWORD length = ::GetEnvironmentVariableA("TALLYSCOPE_STARTUP_TRACE", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    FILE* file = std::fopen(path, "a");
    if (!file) return;
    for (int i = 0; i < g_count; ++i)
        std::fprintf(file, "%s%s=%lld", i ? ";" : "", g_steps[i].name, g_steps[i].counter);
    std::fprintf(file, "\n");
    std::fclose(file);
    g_count = 0;
}
