// TallyscopeHostSim: the stand-in counting engine. Starts the settings program
// for one camera, streams the simulated camera's pictures to it and answers
// its requests; either driven from the console or, with --headless, through a
// short scripted tour that ends with screenshots and closing the program.
#include <windows.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <deque>
#include <iostream>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "hostlink/HostMessages.h"
#include "hostlink/HostPacking.h"
#include "res/Resource.h"
#include "tools/hostsim/HostFixture.h"
#include "tools/hostsim/HostSimOptions.h"
#include "tools/hostsim/PngFile.h"
#include "tools/hostsim/Simulator.h"

using namespace hostsim;

namespace {

enum ExitCode {
    kOk = 0,
    kBadOptions = 1,
    kCannotStart = 2,
    kNeverAttached = 3,
    kDiedBeforeAttach = 4,
    kDidNotClose = 5,
    kNoDetach = 6,
    kProgramFailed = 7,
    kNoScreenshot = 8,
};

constexpr char kMainWindowTitle[] = "Varanis - Tallyscope";

std::atomic<bool> g_interrupted{false};

BOOL WINAPI OnConsoleBreak(DWORD) {
    g_interrupted = true;
    return TRUE;  // the main loop ends the program and leaves
}

void Say(const std::string& text) {
    std::printf("hostsim: %s\n", text.c_str());
    std::fflush(stdout);
}

std::string ModuleFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length < MAX_PATH ? length : 0);
    const auto slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : folder.substr(0, slash);
}

bool IsFile(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The program: as given, else beside this one, in the folder above, or where
// the build tree puts it.
std::string FindProgram(const std::string& given) {
    if (!given.empty()) return given;
    const std::string here = ModuleFolder();
    for (const std::string& candidate :
         {here + "\\TallyscopeSettingApp.exe", here + "\\..\\TallyscopeSettingApp.exe",
          here + "\\..\\..\\app\\TallyscopeSettingApp.exe"})
        if (IsFile(candidate)) return candidate;
    return here + "\\TallyscopeSettingApp.exe";
}

std::string NewSettingsFolder() {
    char temp[MAX_PATH + 1] = {};
    DWORD length = ::GetTempPathA(MAX_PATH, temp);
    std::string base = length > 0 && length <= MAX_PATH ? temp : "C:\\";
    if (base.back() == '\\') base.pop_back();
    char name[96];
    std::snprintf(name, sizeof name, "\\TallyscopeHostSim-%lu-%llu",
                  static_cast<unsigned long>(::GetCurrentProcessId()),
                  static_cast<unsigned long long>(::GetTickCount64()));
    return base + name;
}

// Lines typed on the console, read on a thread of their own (a blocking read
// cannot be interrupted, so the reader owns its share of the queue).
struct ConsoleLines {
    std::mutex mutex;
    std::deque<std::string> lines;
    bool ended = false;
};

std::shared_ptr<ConsoleLines> StartConsoleReader() {
    auto shared = std::make_shared<ConsoleLines>();
    std::thread([shared] {
        std::string line;
        while (std::getline(std::cin, line)) {
            std::lock_guard<std::mutex> lock(shared->mutex);
            shared->lines.push_back(line);
        }
        std::lock_guard<std::mutex> lock(shared->mutex);
        shared->ended = true;
    }).detach();
    return shared;
}

HWND MainWindowOf(const HostFixture& host, const Simulator& sim, DWORD timeoutMs) {
    HWND frame = host.FindTopWindow(kMainWindowTitle, "", timeoutMs);
    if (!frame) {
        const HWND announced = sim.Snapshot().mainWindow;
        if (announced && ::IsWindow(announced)) frame = announced;
    }
    return frame;
}

bool SaveCapture(const Capture& capture, const std::string& path) {
    if (!SavePng(capture, path)) {
        Say("could not save " + path);
        return false;
    }
    Say("saved " + path + " (" + std::to_string(capture.width) + " x " +
        std::to_string(capture.height) + ")");
    return true;
}

bool Screenshot(const HostFixture& host, const Simulator& sim, const std::string& path) {
    const HWND frame = MainWindowOf(host, sim, 5000);
    if (!frame) {
        Say("no main window to capture");
        return false;
    }
    return SaveCapture(HostFixture::CaptureWindow(frame), path);
}

// Waits for WM_HOST_ATTACH; tells why when it does not come.
ExitCode AwaitAttach(HostFixture& host, double seconds) {
    const DWORD timeoutMs = static_cast<DWORD>(seconds * 1000);
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < timeoutMs) {
        if (host.WaitForAttach(100)) return kOk;
        if (g_interrupted) return kNeverAttached;
        if (auto code = host.WaitForExit(0)) {
            Say("the program ended before it attached, exit code " + std::to_string(*code));
            return kDiedBeforeAttach;
        }
    }
    Say("the program did not attach within " + std::to_string(timeoutMs / 1000) + " s");
    if (auto box = host.FindMessageBox(0))
        Say("it shows a message box: \"" + box->caption + "\": " + box->text);
    return kNeverAttached;
}

// Asks the program to close and checks that it leaves as it should.
ExitCode CloseProgram(HostFixture& host, Simulator& sim) {
    sim.StopStreaming();
    if (!host.Close(15000)) {
        Say("the program did not end after WM_VIEW_CLOSE");
        if (auto box = host.FindMessageBox(0))
            Say("it shows a message box: \"" + box->caption + "\": " + box->text);
        host.Kill();
        return kDidNotClose;
    }
    const DWORD code = *host.WaitForExit(0);
    if (!sim.WaitForDetach(3000)) {
        Say("the program ended without WM_HOST_DETACH");
        return kNoDetach;
    }
    Say("the program ended, exit code " + std::to_string(code));
    return code == 0 ? kOk : kProgramFailed;
}

// A dialog's client area: without a window manager under Xvfb nobody draws
// the title bar, and its rectangle would show whatever lies behind.
bool SaveWindow(HWND window, const std::string& path) {
    RECT client{};
    ::GetClientRect(window, &client);
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return SaveCapture(HostFixture::CaptureScreenRect(client), path);
}

// Mouse input on a picture control of the program, as a user's drag.
void DragOn(HWND picture, POINT from, POINT to) {
    auto post = [picture](UINT msg, POINT p) {
        ::PostMessageA(picture, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(p.x, p.y));
    };
    post(WM_LBUTTONDOWN, from);
    for (int step = 1; step <= 4; ++step)
        post(WM_MOUSEMOVE,
             {from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4});
    post(WM_LBUTTONUP, to);
}

// Presses a button of a dialog and returns once the dialog has handled it.
void PressButton(HWND dialog, int id) {
    ::SendMessageTimeoutA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000,
                          nullptr);
}

// Clicks a picture control of the program, as a user's click.
void ClickOn(HWND picture, POINT at) {
    ::PostMessageA(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    ::PostMessageA(picture, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

struct DialogSearch {
    DWORD processId;
    int itemId;
    HWND found = nullptr;
};

BOOL CALLBACK MatchDialog(HWND hwnd, LPARAM context) {
    auto* search = reinterpret_cast<DialogSearch*>(context);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    char cls[16] = {};
    ::GetClassNameA(hwnd, cls, sizeof cls);
    if (pid != search->processId || !::IsWindowVisible(hwnd) || std::string(cls) != "#32770" ||
        !::GetDlgItem(hwnd, search->itemId))
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

// The program's visible dialog holding the item `itemId`: by its controls,
// not its title, which changes with the language.
HWND FindDialog(const HostFixture& host, int itemId, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        DialogSearch search{host.ProcessId(), itemId};
        ::EnumWindows(&MatchDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found || ::GetTickCount() - start >= timeoutMs) return search.found;
        ::Sleep(50);
    }
}

// Opens a dialog of the settings menu and returns it once it shows the item
// `itemId` (null when it did not open).
HWND OpenDialog(HostFixture& host, UINT command, int itemId) {
    host.PostToView(WM_COMMAND, command, 0);
    return FindDialog(host, itemId, 10000);
}

// Presses a button after everything posted to the dialog so far, and waits
// until the dialog has gone.
bool CloseDialog(HWND dialog, int buttonId) {
    ::PostMessageA(::GetDlgItem(dialog, buttonId), BM_CLICK, 0, 0);
    for (int attempt = 0; attempt < 100 && ::IsWindow(dialog); ++attempt) ::Sleep(100);
    return !::IsWindow(dialog);
}

// Camera Angle as an installer measures it first: the template's four
// corners clicked where the camera sees them, Calculate, the height typed,
// Update; then Camera Angle Verification with a mark on the stored picture.
bool CameraAngleTour(HostFixture& host, Simulator& sim, const HostSimOptions& options) {
    const std::size_t saved = host.Count(WM_HOST_CAMERA_ANGLE_SAVED);
    sim.StartStreaming(options.fps);
    HWND dialog = OpenDialog(host, 152, IDC_CA_PICTURE);
    if (!dialog) {
        Say("the Camera Angle dialog did not open");
        return false;
    }
    Say("Camera Angle: clicking the template's corners, Calculate, a height of 250 cm, Update");
    const TemplateCorners corners = sim.TemplateInPicture();
    auto pixel = [](const Vec2& p) {
        return POINT{static_cast<LONG>(std::lround(p.x)), static_cast<LONG>(std::lround(p.y))};
    };
    // Clockwise from the upper left, as a user goes round the square.
    for (std::size_t slot : {2u, 3u, 1u, 0u})
        ClickOn(::GetDlgItem(dialog, IDC_CA_PICTURE), pixel(corners[slot]));
    ::PostMessageA(::GetDlgItem(dialog, IDC_CA_CALCULATE), BM_CLICK, 0, 0);
    for (int i = 0; i < 100 && !sim.Snapshot().lastAngles; ++i) ::Sleep(50);
    if (!sim.Snapshot().lastAngles) {
        Say("the camera angle was not calculated");
        CloseDialog(dialog, IDC_CA_EXIT);
        return false;
    }
    ::SendMessageTimeoutA(::GetDlgItem(dialog, IDC_CA_HEIGHT), WM_SETTEXT, 0,
                          reinterpret_cast<LPARAM>("250"), SMTO_ABORTIFHUNG, 5000, nullptr);
    ::Sleep(300);  // the result, not stored yet: the warning shows
    bool shots = SaveWindow(dialog, options.out + "\\camera-angle-result.png");
    ::PostMessageA(::GetDlgItem(dialog, IDC_CA_UPDATE), BM_CLICK, 0, 0);
    if (!host.WaitForCount(WM_HOST_CAMERA_ANGLE_SAVED, saved + 1, 10000)) {
        Say("the camera angle was not saved");
        CloseDialog(dialog, IDC_CA_EXIT);
        return false;
    }
    ::Sleep(600);  // a few pictures with the corners
    shots = SaveWindow(dialog, options.out + "\\camera-angle.png") && shots;
    if (!CloseDialog(dialog, IDC_CA_EXIT)) return false;

    dialog = OpenDialog(host, 153, IDC_AV_OLD);
    if (!dialog) {
        Say("the Camera Angle Verification dialog did not open");
        return false;
    }
    Say("Camera Angle Verification: a mark on the stored picture's template corner");
    ClickOn(::GetDlgItem(dialog, IDC_AV_OLD), pixel(corners[2]));
    ::Sleep(600);
    shots = SaveWindow(dialog, options.out + "\\camera-angle-verification.png") && shots;
    return CloseDialog(dialog, IDC_AV_EXIT) && shots;
}

// The height detection tips, opened from Counter Settings' link as an
// installer does; OK returns to Counter Settings.
bool HeightTipsTour(HostFixture& host, HWND counterSettings, const HostSimOptions& options) {
    ::PostMessageA(counterSettings, WM_UI_STATIC_CLICKED, IDC_CS_TIPS_LINK, 0);
    const HWND tips = FindDialog(host, IDC_TIPS_PICTURE, 10000);
    if (!tips) {
        Say("the height detection tips did not open");
        return false;
    }
    ::Sleep(300);  // painted
    const bool shot = SaveWindow(tips, options.out + "\\height-tips.png");
    return CloseDialog(tips, IDOK) && shot;
}

// Counter Settings as an installer sets it up: a counting line across the
// floor, answered by the host, and a rectangle mask; OK, and the main window
// shows the new line and mask.
bool CounterSettingsTour(HostFixture& host, Simulator& sim, const HostSimOptions& options) {
    const std::size_t saved = host.Count(WM_HOST_COUNTER_SETTINGS_SAVED);
    sim.StartStreaming(options.fps);
    const HWND dialog = OpenDialog(host, 151, IDC_CS_PICTURE);
    HWND picture = dialog ? ::GetDlgItem(dialog, IDC_CS_PICTURE) : nullptr;
    if (!picture) {
        Say("the Counter Settings dialog did not open");
        return false;
    }
    Say("Counter Settings: drawing a counting line and a mask");
    PressButton(dialog, IDC_CS_DRAW_LINE);
    DragOn(picture, {60, 175}, {260, 175});
    for (int i = 0; i < 100 && !sim.Snapshot().lastFloorLine; ++i) ::Sleep(50);
    PressButton(dialog, IDC_CS_RECTANGLE);
    DragOn(picture, {230, 20}, {300, 90});
    ::Sleep(600);  // a few pictures with the new overlay
    bool shots = SaveWindow(dialog, options.out + "\\counter-settings.png");
    shots = HeightTipsTour(host, dialog, options) && shots;
    ::PostMessageA(::GetDlgItem(dialog, IDC_CS_OK), BM_CLICK, 0, 0);
    if (!host.WaitForCount(WM_HOST_COUNTER_SETTINGS_SAVED, saved + 1, 10000)) {
        Say("Counter Settings was not saved");
        return false;
    }
    ::Sleep(600);
    sim.StopStreaming();
    sim.SendFrame();
    ::Sleep(300);
    shots = Screenshot(host, sim, options.out + "\\tallyscope-counter-line.png") && shots;
    return shots;
}

// Clicks a picture control of the program and waits until the label under
// it shows the point.
void ClickOn(HWND picture, POINT at, HWND label) {
    ::PostMessageA(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    ::PostMessageA(picture, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    const std::string shown = "(" + std::to_string(at.x) + ", " + std::to_string(at.y) + ")";
    for (int i = 0; i < 100 && HostFixture::WindowText(label) != shown; ++i) ::Sleep(50);
}

// Waits until a dialog of the program has gone.
bool DialogClosed(HWND dialog) {
    for (int i = 0; i < 200 && ::IsWindow(dialog); ++i) ::Sleep(50);
    return !::IsWindow(dialog);
}

// Calibration Test as an installer checks a calibration: a region dragged on
// the textured floor is matched by the host and outlined on the right
// picture with its distance, and one floor feature is clicked on each picture
// (the same row in both).
bool CalibrationTestTour(HostFixture& host, Simulator& sim, const HostSimOptions& options) {
    const HWND dialog = OpenDialog(host, 154, IDC_CT_LEFT_PICTURE);
    const HWND left = dialog ? ::GetDlgItem(dialog, IDC_CT_LEFT_PICTURE) : nullptr;
    const HWND right = dialog ? ::GetDlgItem(dialog, IDC_CT_RIGHT_PICTURE) : nullptr;
    if (!left || !right) {
        Say("the Calibration Test dialog did not open");
        return false;
    }
    // The pictures stand still while the region is measured, so the outline
    // drawn with the answer is the one the screenshot shows.
    for (int i = 0; i < 100 && sim.Snapshot().dialogPictures != 2; ++i) ::Sleep(50);
    sim.StopStreaming();
    sim.SendFrame();
    Say("Calibration Test: a region on the floor and a point on each picture");
    const POINT from{250, 185}, to{300, 225};
    PressButton(dialog, IDC_CT_REGION);
    DragOn(left, from, to);
    for (int i = 0; i < 100 && !sim.Snapshot().lastRegion; ++i) ::Sleep(50);
    const auto region = sim.Snapshot().lastRegion;
    if (!region) {
        Say("the region was not measured");
        return false;
    }
    const POINT feature{(from.x + to.x) / 2, (from.y + to.y) / 2};
    PressButton(dialog, IDC_CT_POINT);
    ClickOn(left, feature, ::GetDlgItem(dialog, IDC_CT_LEFT_POINT));
    ClickOn(right, {feature.x - static_cast<int>(region->disparity + 0.5f), feature.y},
            ::GetDlgItem(dialog, IDC_CT_RIGHT_POINT));
    PressButton(dialog, IDC_CT_REGION);
    sim.SendFrame();
    ::Sleep(500);
    const bool shot = SaveWindow(dialog, options.out + "\\calibration-test.png");
    ::PostMessageA(::GetDlgItem(dialog, IDC_CT_EXIT), BM_CLICK, 0, 0);
    return DialogClosed(dialog) && shot;
}

// General Settings as it opens on this computer.
bool GeneralSettingsTour(HostFixture& host, const HostSimOptions& options) {
    const HWND dialog = OpenDialog(host, 150, IDC_GS_SITE_NAME);
    if (!dialog) {
        Say("the General Settings dialog did not open");
        return false;
    }
    ::Sleep(300);
    const bool shot = SaveWindow(dialog, options.out + "\\general-settings.png");
    ::PostMessageA(::GetDlgItem(dialog, IDC_GS_CANCEL), BM_CLICK, 0, 0);
    return DialogClosed(dialog) && shot;
}

// The settings menu as the menu button opens it; the picture holds the main
// window and the menu, which sticks out of it.
bool SettingsMenuTour(HostFixture& host, Simulator& sim, const HostSimOptions& options) {
    const HWND frame = MainWindowOf(host, sim, 5000);
    host.PostToView(WM_UI_BUTTON_CLICKED, 101, 0);
    const HWND menu = host.FindTopWindow("", "#32768", 10000);
    if (!frame || !menu) {
        Say("the settings menu did not open");
        return false;
    }
    ::Sleep(300);  // painted
    RECT around{}, popup{};
    ::GetWindowRect(frame, &around);
    ::GetWindowRect(menu, &popup);
    ::UnionRect(&around, &around, &popup);
    const RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::IntersectRect(&around, &around, &screen);
    const Capture capture = HostFixture::CaptureScreenRect(around);
    const std::string path = options.out + "\\settings-menu.png";
    const bool shot = SavePng(capture, path);
    Say(shot ? "saved " + path : "could not save " + path);
    // Escape closes the menu; the menu's own loop reads it.
    ::PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    for (int i = 0; i < 100 && ::IsWindowVisible(menu); ++i) ::Sleep(50);
    if (::IsWindowVisible(menu)) {
        Say("the settings menu did not close");
        return false;
    }
    return shot;
}

// About, from the settings menu's last command; OK hides it.
bool AboutTour(HostFixture& host, const HostSimOptions& options) {
    host.PostToView(WM_COMMAND, 156, 0);
    const HWND about = FindDialog(host, IDC_ABOUT_VERSION, 10000);
    if (!about) {
        Say("the About dialog did not open");
        return false;
    }
    ::Sleep(300);  // painted
    const bool shot = SaveWindow(about, options.out + "\\about.png");
    ::PostMessageA(::GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
    for (int i = 0; i < 100 && ::IsWindowVisible(about); ++i) ::Sleep(50);
    return !::IsWindowVisible(about) && shot;
}

// The language's name, from its file: Deutsch.ini gives Deutsch.
std::string LanguageName(const std::string& file) {
    std::string name = file.substr(file.find_last_of("\\/") + 1);
    const auto dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name.empty() ? std::string("English") : name;
}

ExitCode Tour(HostFixture& host, Simulator& sim, const HostSimOptions& given) {
    // Each language's pictures in a folder of their own, so that a
    // translator finds theirs together.
    HostSimOptions options = given;
    ::CreateDirectoryA(options.out.c_str(), nullptr);
    options.out += "\\" + LanguageName(options.language);
    // Stream, then hold the picture still and show a counting line across its
    // lower part and a marker around the first walker, as a counting engine
    // does, for the screenshot.
    const DWORD settle = 300;
    ::Sleep(static_cast<DWORD>(options.seconds * 1000));
    sim.StopStreaming();
    sim.SendFrame();
    sim.PostToView(WM_VIEW_COUNTING_LINE, hostlink::PackPoint(60, 170),
                   hostlink::PackPoint(260, 170));
    const auto box = sim.WalkerBoxNow(0);
    if (box[2] > box[0] && box[3] > box[1])
        sim.PostToView(WM_VIEW_MARKER_RECT, hostlink::PackPoint(box[0], box[1]),
                       hostlink::PackPoint(box[2] - 1, box[3] - 1));
    ::Sleep(settle);
    sim.SendFrame();  // the view draws its overlays with the next picture
    ::Sleep(settle);
    ::CreateDirectoryA(options.out.c_str(), nullptr);
    GdiplusSession gdiplus;
    bool shot = gdiplus.ok() && Screenshot(host, sim, options.out + "\\tallyscope-main.png");
    // A real installer measures the angle first: only an accepted angle
    // makes Counter Settings available.
    shot = gdiplus.ok() && CameraAngleTour(host, sim, options) && shot;
    shot = gdiplus.ok() && CounterSettingsTour(host, sim, options) && shot;
    shot = gdiplus.ok() && CalibrationTestTour(host, sim, options) && shot;
    shot = gdiplus.ok() && GeneralSettingsTour(host, options) && shot;
    // The menu once every command is available.
    shot = gdiplus.ok() && SettingsMenuTour(host, sim, options) && shot;
    shot = gdiplus.ok() && AboutTour(host, options) && shot;
    const auto state = sim.Snapshot();
    Say("streamed " + std::to_string(state.liveFrames) + " live pictures");
    const ExitCode closed = CloseProgram(host, sim);
    if (closed != kOk) return closed;
    return shot ? kOk : kNoScreenshot;
}

void Help() {
    Say("commands: help, status, line X1 Y1 X2 Y2, marker L T R B, counter L T R B, "
        "calibration, shot FILE.png, close, kill");
}

// Console loop; returns when the program has gone.
ExitCode Console(HostFixture& host, Simulator& sim) {
    Help();
    auto console = StartConsoleReader();
    GdiplusSession gdiplus;
    for (;;) {
        if (g_interrupted) {
            Say("interrupted: ending the program");
            sim.StopStreaming();
            host.Kill();
            return kOk;
        }
        if (auto code = host.WaitForExit(100)) {
            sim.StopStreaming();
            Say("the program ended, exit code " + std::to_string(*code) +
                (sim.Snapshot().detached ? "" : " (without WM_HOST_DETACH)"));
            return *code == 0 ? kOk : kProgramFailed;
        }
        std::string line;
        {
            std::lock_guard<std::mutex> lock(console->mutex);
            if (console->lines.empty()) continue;
            line = console->lines.front();
            console->lines.pop_front();
        }
        std::istringstream words(line);
        std::string command;
        words >> command;
        int a = 0, b = 0, c = 0, d = 0;
        if (command.empty()) continue;
        if (command == "help") {
            Help();
        } else if (command == "status") {
            const auto s = sim.Snapshot();
            Say("live pictures " + std::to_string(s.liveFrames) + ", rectified " +
                std::to_string(s.rectifiedFrames) + ", dialog pictures " +
                std::to_string(s.dialogPictures) + (s.detached ? ", detached" : ""));
        } else if ((command == "line" || command == "marker" || command == "counter") &&
                   (words >> a >> b >> c >> d)) {
            const UINT msg = command == "line"     ? WM_VIEW_COUNTING_LINE
                             : command == "marker" ? WM_VIEW_MARKER_RECT
                                                   : WM_VIEW_COUNTER_RECT;
            if (!sim.PostToView(msg, hostlink::PackPoint(a, b), hostlink::PackPoint(c, d)))
                Say("no view to tell");
        } else if (command == "calibration") {
            sim.PostToView(WM_VIEW_CALIBRATION_CHANGED, 0, 0);
        } else if (command == "shot") {
            std::string file;
            words >> file;
            if (file.empty()) file = "tallyscope-main.png";
            if (gdiplus.ok()) Screenshot(host, sim, file);
        } else if (command == "close") {
            return CloseProgram(host, sim);
        } else if (command == "kill") {
            sim.StopStreaming();
            host.Kill();
            Say("program ended by force");
            return kOk;
        } else {
            Say("unknown command or missing numbers: " + line);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const ParsedOptions parsed = ParseHostSimOptions(args);
    if (!parsed.options || parsed.options->help) {
        if (!parsed.options) std::fprintf(stderr, "hostsim: %s\n", parsed.error.c_str());
        std::fputs(HostSimUsage().c_str(), parsed.options ? stdout : stderr);
        return parsed.options ? kOk : kBadOptions;
    }
    const HostSimOptions& options = *parsed.options;
    ::SetConsoleCtrlHandler(&OnConsoleBreak, TRUE);

    const bool ownFolder = options.settings.empty();
    const std::string folder = ownFolder ? NewSettingsFolder() : options.settings;
    HostFixture host(folder);
    if (::GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES) {
        Say("cannot create the settings folder " + folder);
        return kCannotStart;
    }
    char settingsName[32];
    std::snprintf(settingsName, sizeof settingsName, "Setting%02d.ini", options.camera);
    Simulator sim(host.Host(), host.PathOf(settingsName), DefaultScene(CameraModel{}));
    sim.SetEventSink(Say);
    if (!sim.BlocksReady()) {
        Say("cannot create the shared memory blocks");
        return kCannotStart;
    }
    char calibrationName[32];
    std::snprintf(calibrationName, sizeof calibrationName, "HostSim%02d.coe", options.camera);
    sim.ProvideCalibrationOnAttach(host.PathOf(calibrationName));

    const std::string program = FindProgram(options.app);
    Say("settings folder " + folder);
    Say("starting " + program);
    if (!host.Launch(program, options.camera, options.language)) {
        Say("cannot start " + program);
        return kCannotStart;
    }
    if (const ExitCode attached = AwaitAttach(host, options.attachTimeout); attached != kOk) {
        host.Kill();
        return attached;
    }
    sim.StartStreaming(options.fps);
    const ExitCode result = options.headless ? Tour(host, sim, options) : Console(host, sim);
    sim.StopStreaming();
    host.Kill();  // never leave the program behind
    return result;
}
