// Host faults against the real program: the host dies while a dialog waits
// for its answer and a new host starts a new copy for the same camera; the
// host window is no window from the start or closes while the program runs;
// the shared blocks vanish between the host's announcement and the program's
// reading. What the program does then:
// - it never waits for the host: a dialog whose answer never comes stays
//   usable, its OK/Update stores to the settings file as always, and what it
//   posts to the gone host is lost without harm;
// - it keeps running until closed; with its host gone it does not rewrite the
//   whole settings file as it closes (all it confirmed was stored then), so a
//   copy a new host started for the camera loads what was confirmed and keeps
//   what it confirms itself;
// - a block opened once stays the program's own mapping until it closes, so
//   the host closing its mapping changes nothing; a block not yet opened that
//   vanishes is a missing block: its message box, nothing else.
#include <windows.h>

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "EndToEnd.h"
#include "hostlink/HostMessages.h"
#include "res/Resource.h"
#include "tests/support/ProgramChecks.h"
#include "tools/hostsim/HostCommandLine.h"
#include "tools/hostsim/HostFixture.h"
#include "tools/hostsim/RelayHost.h"
#include "tools/hostsim/SharedBlocks.h"

namespace {

using hostsim::HostFixture;
using hostsim::RelayHost;

using e2e::kApp;
constexpr char kRelay[] = TALLYSCOPE_RELAY_HOST_EXE;
constexpr DWORD kTimeout = 20000;
constexpr int kCamera = 6;
constexpr char kIni[] = "Setting06.ini";

template <typename F>
bool WaitFor(F done, DWORD timeoutMs = kTimeout) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs) return false;
        ::Sleep(20);
    }
    return true;
}

// The settings file holds `value` for the key (the view saves after the dialog has gone).
bool StoredSoon(const HostFixture& host, const char* section, const char* key,
                const std::string& value) {
    return WaitFor([&] { return host.ReadIni(kIni, section, key) == value; });
}

uint32_t HandleValue(HWND hwnd) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(hwnd));
}

// Starts the program for kCamera with `hostWindow` as its host.
bool LaunchFor(HostFixture& host, HWND hostWindow) {
    return host.LaunchRaw(kApp, hostsim::ProgramArguments(host.SettingsFolder(), kCamera,
                                                          HandleValue(hostWindow), "English.ini"));
}

// Every thread of a process held still for a while: what the host does
// meanwhile happens between two of the program's messages.
class ProcessPause {
  public:
    explicit ProcessPause(DWORD processId) {
        KernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
        THREADENTRY32 entry{};
        entry.dwSize = sizeof entry;
        if (!snapshot || !::Thread32First(snapshot.get(), &entry)) return;
        do {
            if (entry.th32OwnerProcessID != processId) continue;
            HANDLE thread = ::OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID);
            if (!thread) continue;
            if (::SuspendThread(thread) == static_cast<DWORD>(-1)) {
                ::CloseHandle(thread);
                continue;
            }
            m_threads.push_back(thread);
        } while (::Thread32Next(snapshot.get(), &entry));
    }
    ~ProcessPause() {
        for (HANDLE thread : m_threads) {
            ::ResumeThread(thread);
            ::CloseHandle(thread);
        }
    }
    bool paused() const { return !m_threads.empty(); }

  private:
    std::vector<HANDLE> m_threads;
};

// A dialog of the program, opened by its menu command, and what a user does in it.
struct Dialog {
    HostFixture& host;
    HWND hwnd = nullptr;

    bool Open(UINT command, int item) {
        if (!host.PostToView(WM_COMMAND, command, 0)) return false;
        return WaitFor([&] {
            hwnd = host.FindTopWindow("", "#32770", 0);
            return hwnd && ::GetDlgItem(hwnd, item);
        });
    }
    HWND Item(int id) const { return ::GetDlgItem(hwnd, id); }
    void Press(int id) const { ::PostMessageA(Item(id), BM_CLICK, 0, 0); }
    void Click(int id, POINT p) const {
        ::PostMessageA(Item(id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        ::PostMessageA(Item(id), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    }
    void Type(int id, const char* text) const {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text),
                              SMTO_ABORTIFHUNG, 5000, &result);
    }
    std::string Text(int id) const { return HostFixture::WindowText(Item(id)); }
    bool Checked(int id) const {
        DWORD_PTR state = 0;
        ::SendMessageTimeoutA(Item(id), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state);
        return state == BST_CHECKED;
    }
    bool Close(int button) const {
        Press(button);
        return WaitFor([&] { return !::IsWindow(hwnd); });
    }
};

// The message box shown now (its text), answered and gone; empty when none comes.
std::string Box(const HostFixture& host, DWORD timeoutMs = kTimeout) {
    const auto box = host.FindMessageBox(timeoutMs);
    if (!box) return {};
    ::PostMessageA(box->hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    // A box under another one goes when the one on top has gone: hidden is enough.
    WaitFor([&] { return !::IsWindow(box->hwnd) || !::IsWindowVisible(box->hwnd); });
    return box->text;
}

// Turns the counting line's display on in Counter Settings and confirms it
// with OK: a confirmed change that must reach the file whatever the host does.
void ConfirmCounterLineShown(HostFixture& host) {
    Dialog counter{host};
    ASSERT_TRUE(counter.Open(151, IDC_CS_PICTURE));
    counter.Press(IDC_CS_COUNTER_LINE_OFF);
    ASSERT_TRUE(counter.Close(IDC_CS_OK));
    EXPECT_TRUE(StoredSoon(host, "Counter Settings", "Display Counter Line", "1"));
}

// Closes the program as the host does and checks that it left cleanly: the
// settings file holds every key, or with `absentAllowed` (a copy without its
// host, which does not rewrite the file as it closes) loads.
void ExpectClosesCleanly(HostFixture& host, int dumpsBefore, bool absentAllowed = false) {
    const auto code = host.Close(kTimeout);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    EXPECT_EQ(testsupport::CrashDumps(kApp), dumpsBefore);
    EXPECT_EQ(
        testsupport::SettingsFileFaults(
            host, kIni, absentAllowed ? testsupport::Absent::Allowed : testsupport::Absent::Fault),
        std::vector<std::string>{});
}

TEST(ReliabilityHostFaults, HostDiesWhileADialogWaitsAndANewHostsCopyLoadsWhatWasConfirmed) {
    const int dumpsBefore = testsupport::CrashDumps(kApp);
    HostFixture host;  // records what reaches the relay, the program's host
    RelayHost relay(kRelay, host, /*blocks=*/true);
    ASSERT_TRUE(relay.valid());
    ASSERT_TRUE(LaunchFor(host, relay.Window()));
    ASSERT_NE(host.WaitForAttach(kTimeout), nullptr);

    // Camera Angle asks the host for the angle of four marked corners ...
    Dialog angle{host};
    ASSERT_TRUE(angle.Open(152, IDC_CA_PICTURE));
    for (POINT p : {POINT{50, 50}, POINT{250, 50}, POINT{250, 200}, POINT{50, 200}})
        angle.Click(IDC_CA_PICTURE, p);
    angle.Press(IDC_CA_CALCULATE);
    ASSERT_TRUE(host.WaitForMessage(WM_HOST_PATTERN_FEATURES, kTimeout));
    // ... and the host dies before it answers, its blocks with it.
    relay.Kill();
    ASSERT_FALSE(::IsWindow(relay.Window()));
    const std::size_t heardBefore = host.MessageCount();

    // The dialog does not wait: it answers, asks again (to no one), and its
    // Update stores what the user typed.
    ASSERT_TRUE(host.SendToView(WM_NULL, 0, 0));
    angle.Press(IDC_CA_CALCULATE);
    EXPECT_EQ(Box(host, 500), "");  // the corner block stays the program's: nothing to say
    EXPECT_FALSE(::IsWindowEnabled(angle.Item(IDC_CA_UPDATE)));  // no answer came
    angle.Type(IDC_CA_HEIGHT, "300");
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowEnabled(angle.Item(IDC_CA_UPDATE)) != FALSE; }));
    angle.Press(IDC_CA_UPDATE);
    ASSERT_TRUE(StoredSoon(host, "Camera Angle", "Height", "300.0"));
    EXPECT_EQ(host.ReadIni(kIni, "Camera Angle", "Setted"), "1");
    ASSERT_TRUE(angle.Close(IDC_CA_EXIT));

    // Counter Settings' OK stores and tells the gone host, harmlessly.
    ConfirmCounterLineShown(host);
    ASSERT_TRUE(host.SendToView(WM_NULL, 0, 0));
    EXPECT_EQ(host.MessageCount(), heardBefore);  // nothing reached anyone

    // A new host starts a copy for the same camera beside the orphaned one:
    // it loads what was confirmed ...
    HostFixture newHost(host.SettingsFolder());
    ASSERT_TRUE(newHost.Launch(kApp, kCamera));
    ASSERT_NE(newHost.WaitForAttach(kTimeout), nullptr);
    Dialog shown{newHost};
    ASSERT_TRUE(shown.Open(152, IDC_CA_PICTURE));
    EXPECT_EQ(shown.Text(IDC_CA_HEIGHT), "300.0");
    ASSERT_TRUE(shown.Close(IDC_CA_EXIT));
    ASSERT_TRUE(shown.Open(151, IDC_CS_PICTURE));
    EXPECT_TRUE(shown.Checked(IDC_CS_COUNTER_LINE_OFF));
    // ... and what it confirms outlives the orphan, which closes first.
    shown.Press(IDC_CS_TRACKING_FRAME_OFF);
    ASSERT_TRUE(shown.Close(IDC_CS_OK));
    EXPECT_TRUE(StoredSoon(host, "Counter Settings", "Display Tracking Frame", "1"));
    ExpectClosesCleanly(host, dumpsBefore, /*absentAllowed=*/true);
    EXPECT_EQ(host.ReadIni(kIni, "Counter Settings", "Display Tracking Frame"), "1");

    ExpectClosesCleanly(newHost, dumpsBefore);
    EXPECT_EQ(newHost.Messages().back().msg, WM_HOST_DETACH);
    EXPECT_EQ(host.ReadIni(kIni, "Camera Angle", "Height"), "300.0");
    EXPECT_EQ(host.ReadIni(kIni, "Counter Settings", "Display Counter Line"), "1");
    EXPECT_EQ(host.ReadIni(kIni, "Counter Settings", "Display Tracking Frame"), "1");
}

TEST(ReliabilityHostFaults, HostWindowThatIsNoWindowFromTheStartOrStopsBeingOne) {
    enum class Kind { GoneBeforeStart, NoWindowAtAll, ClosedWhileRunning };
    const struct {
        const char* what;
        Kind kind;
    } cases[] = {
        {"the host went before the program started", Kind::GoneBeforeStart},
        {"a number that was never a window", Kind::NoWindowAtAll},
        {"the host closes its window while the program runs", Kind::ClosedWhileRunning},
    };
    const int dumpsBefore = testsupport::CrashDumps(kApp);
    HostFixture host;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::optional<RelayHost> relay;
        HWND hostWindow = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x7ABC0));
        if (c.kind != Kind::NoWindowAtAll) {
            relay.emplace(kRelay, host);
            ASSERT_TRUE(relay->valid());
            hostWindow = relay->Window();
            if (c.kind == Kind::GoneBeforeStart) relay->Kill();
        }
        ASSERT_EQ(::IsWindow(hostWindow) != FALSE, c.kind == Kind::ClosedWhileRunning);
        const std::size_t beforeLaunch = host.MessageCount();
        ASSERT_TRUE(LaunchFor(host, hostWindow));
        ASSERT_NE(host.FindView(kTimeout), nullptr);  // it runs, with or without anyone to tell
        if (c.kind == Kind::ClosedWhileRunning) {
            ASSERT_TRUE(host.WaitForMessage(WM_HOST_ATTACH, kTimeout, beforeLaunch));
            ASSERT_TRUE(relay->CloseWindow());
        }
        const std::size_t heard = host.MessageCount();
        ASSERT_TRUE(host.FileExists(kIni));
        ConfirmCounterLineShown(host);
        ExpectClosesCleanly(host, dumpsBefore, /*absentAllowed=*/true);
        EXPECT_EQ(host.ReadIni(kIni, "Counter Settings", "Display Counter Line"), "1");
        EXPECT_EQ(host.MessageCount(), heard);  // nothing reached anyone
        host.WriteIni(kIni, "Counter Settings", "Display Counter Line", "0");
    }
}

TEST(ReliabilityHostFaults, BlocksThatVanishBetweenAnnouncementAndReading) {
    const int dumpsBefore = testsupport::CrashDumps(kApp);
    HostFixture host;
    ASSERT_TRUE(host.Launch(kApp, kCamera));
    ASSERT_NE(host.WaitForAttach(kTimeout), nullptr);
    const uint32_t live320x240 = (320u << 16) | 240u;
    const uint32_t rectified2 = (hostlink::kFrameRectified << 16) | 2u;

    // Not yet opened by the program: what vanished is a missing block, said once
    // for each message that needed it.
    Dialog angle{host};
    ASSERT_TRUE(angle.Open(152, IDC_CA_PICTURE));
    {
        std::optional<hostsim::SharedBlocks> blocks(std::in_place);
        ASSERT_TRUE(blocks->ok());
        ProcessPause pause(host.ProcessId());
        ASSERT_TRUE(pause.paused());
        host.PostToView(WM_VIEW_NEW_FRAME, 0, live320x240);
        host.PostToView(WM_VIEW_NEW_FRAME, rectified2, live320x240);
        host.PostToView(WM_VIEW_CAMERA_ANGLE, 0, 0);
        blocks.reset();  // the host closes its mappings before the program reads
    }
    // Each box's loop handles the next message; a failure whose box is on the
    // screen already (the rectified picture's, under the live one's) shows none.
    std::vector<std::string> said;
    for (int i = 0; i < 2; ++i) said.push_back(Box(host));
    std::sort(said.begin(), said.end());
    EXPECT_EQ(said, (std::vector<std::string>{hostlink::kCameraAngleBlockFailedText,
                                              hostlink::kImageBlockFailedText}));
    EXPECT_EQ(Box(host, 500), "");
    EXPECT_FALSE(::IsWindowEnabled(angle.Item(IDC_CA_UPDATE)));  // no angle arrived

    // Opened once: the program keeps its own mapping, the host's closing
    // changes nothing, and the next message reads the last bytes written.
    {
        std::optional<hostsim::SharedBlocks> blocks(std::in_place);
        ASSERT_TRUE(blocks->ok());
        unsigned char* angleBlock = blocks->data(hostsim::SharedBlocks::kCameraAngle);
        const float first[3] = {0.01f, -0.6f, 0.02f};
        std::memcpy(angleBlock, first, sizeof first);
        ASSERT_TRUE(host.SendToView(WM_VIEW_NEW_FRAME, 0, live320x240));
        ASSERT_TRUE(host.SendToView(WM_VIEW_NEW_FRAME, rectified2, live320x240));
        ASSERT_TRUE(host.SendToView(WM_VIEW_CAMERA_ANGLE, 0, 0));
        EXPECT_EQ(angle.Text(IDC_CA_ANGLE), "55.6");
        ProcessPause pause(host.ProcessId());
        ASSERT_TRUE(pause.paused());
        const float last[3] = {0.01f, -0.2f, 0.02f};
        std::memcpy(angleBlock, last, sizeof last);
        host.PostToView(WM_VIEW_NEW_FRAME, 0, live320x240);
        host.PostToView(WM_VIEW_NEW_FRAME, rectified2, live320x240);
        host.PostToView(WM_VIEW_CAMERA_ANGLE, 0, 0);
        blocks.reset();  // the host closes its mappings before the program reads
    }
    EXPECT_TRUE(WaitFor([&] { return angle.Text(IDC_CA_ANGLE) == "78.5"; }));
    EXPECT_EQ(Box(host, 500), "");
    ASSERT_TRUE(host.SendToView(WM_NULL, 0, 0));
    ASSERT_TRUE(angle.Close(IDC_CA_EXIT));
    ExpectClosesCleanly(host, dumpsBefore);
    EXPECT_EQ(host.Messages().back().msg, WM_HOST_DETACH);
}

}  // namespace
