// Entry point of TallyscopeSettingApp.exe.
#include "app/CrashDump.h"
#include "app/TallyscopeApp.h"
#include "framework/StartupTrace.h"

namespace {
// Armed before the application object starts up, so that a crash at any
// point of start-up still leaves a dump.
struct CrashDumpArming {
    CrashDumpArming() { crashdump::Arm(); }
} g_crashDumpArming;
}  // namespace

CMyTallyscopeApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR cmdLine, int) {
    StartupStep("WinMain");
    return AfxWinMain(instance, cmdLine);
}
