// What each DLL of the program costs to load and start in a fresh process:
// times LoadLibraryA of each name given, in the order given (each time only
// what the DLLs before it have not already loaded), and prints one line:
// "<name> <ms>; ...". Built twice: bench_dll_load (no manifest) and
// bench_dll_load_manifest (the program's manifest: common controls 6).
//
// Usage (under Wine with a display): bench_dll_load.exe comctl32 comdlg32 gdiplus ...
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    for (int i = 1; i < argc; ++i) {
        LARGE_INTEGER before, after;
        ::QueryPerformanceCounter(&before);
        const HMODULE module = ::LoadLibraryA(argv[i]);
        ::QueryPerformanceCounter(&after);
        std::printf("%s%s %.2f%s", i > 1 ? "; " : "", argv[i],
                    static_cast<double>(after.QuadPart - before.QuadPart) * 1000.0 /
                        static_cast<double>(frequency.QuadPart),
                    module ? "" : " (failed)");
    }
    std::printf("\n");
    return 0;
}
