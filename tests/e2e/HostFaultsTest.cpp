// Host faults against the real program: the host dies while a dialog waits
// for its answer and a new host starts a new copy for the same camera; the
// host window is no window from the start. What the program does then:
// - it never waits for the host: a dialog whose answer never comes stays
//   usable, its OK/Update stores to the settings file as always, and what it
//   posts to the gone host is lost without harm;
// - it keeps running until closed; with its host gone it does not rewrite the
//   whole settings file as it closes (all it confirmed was stored then), so a
//   copy a new host started for the camera loads what was confirmed and keeps
//   what it confirms itself;
// - a block opened once stays the program's own mapping until it closes, so
//   the host's going changes nothing (a block that is missing when first
//   needed: SharedBlockTest).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "EndToEnd.h"
#include "hostlink/HostMessages.h"
#include "res/Resource.h"
#include "tests/support/ProgramChecks.h"
#include "tools/hostsim/HostCommandLine.h"
#include "tools/hostsim/HostFixture.h"
#include "tools/hostsim/RelayHost.h"

namespace {

using hostsim::HostFixture;
using hostsim::RelayHost;

using e2e::kApp;
using e2e::kTimeout;
using e2e::WaitFor;
constexpr char kRelay[] = TALLYSCOPE_RELAY_HOST_EXE;
constexpr int kCamera = 6;
constexpr char kIni[] = "Setting06.ini";

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

// The message box shown now (its text), answered and gone; empty when none comes.
std::string Box(const HostFixture& host, DWORD timeoutMs = kTimeout) {
    const auto box = host.FindMessageBox(timeoutMs);
    return box ? e2e::AnswerBox(host, 0).text : "";
}

// Turns the counting line's display on in Counter Settings and confirms it
// with OK: a confirmed change that must reach the file whatever the host does.
void ConfirmCounterLineShown(HostFixture& host) {
    e2e::Dialog counter{host};
    ASSERT_TRUE(counter.Open(151, IDC_CS_PICTURE));
    counter.Press(IDC_CS_COUNTER_LINE_OFF);
    ASSERT_TRUE(counter.Close(IDC_CS_OK));
    EXPECT_TRUE(StoredSoon(host, "Counter Settings", "Display Counter Line", "1"));
}

// Closes the program as the host does and checks that it left cleanly; a
// copy without its host does not rewrite the file as it closes, so its file
// need only load.
void ExpectClosesCleanly(HostFixture& host, bool withItsHost) {
    e2e::ExpectClosesCleanly(
        host, kIni, withItsHost ? testsupport::Absent::Fault : testsupport::Absent::Allowed,
        withItsHost);
}

TEST(ReliabilityHostFaults, HostDiesWhileADialogWaitsAndANewHostsCopyLoadsWhatWasConfirmed) {
    HostFixture host;  // records what reaches the relay, the program's host
    RelayHost relay(kRelay, host, /*blocks=*/true);
    ASSERT_TRUE(relay.valid());
    ASSERT_TRUE(LaunchFor(host, relay.Window()));
    ASSERT_NE(host.WaitForAttach(kTimeout), nullptr);

    // Camera Angle asks the host for the angle of four marked corners ...
    e2e::Dialog angle{host};
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
    e2e::Dialog shown{newHost};
    ASSERT_TRUE(shown.Open(152, IDC_CA_PICTURE));
    EXPECT_EQ(shown.Text(IDC_CA_HEIGHT), "300.0");
    ASSERT_TRUE(shown.Close(IDC_CA_EXIT));
    ASSERT_TRUE(shown.Open(151, IDC_CS_PICTURE));
    EXPECT_TRUE(shown.Checked(IDC_CS_COUNTER_LINE_OFF));
    // ... and what it confirms outlives the orphan, which closes first.
    shown.Press(IDC_CS_TRACKING_FRAME_OFF);
    ASSERT_TRUE(shown.Close(IDC_CS_OK));
    EXPECT_TRUE(StoredSoon(host, "Counter Settings", "Display Tracking Frame", "1"));
    ExpectClosesCleanly(host, /*withItsHost=*/false);
    EXPECT_EQ(host.ReadIni(kIni, "Counter Settings", "Display Tracking Frame"), "1");

    ExpectClosesCleanly(newHost, /*withItsHost=*/true);
    EXPECT_EQ(host.ReadIni(kIni, "Camera Angle", "Height"), "300.0");
    EXPECT_EQ(host.ReadIni(kIni, "Counter Settings", "Display Counter Line"), "1");
    EXPECT_EQ(host.ReadIni(kIni, "Counter Settings", "Display Tracking Frame"), "1");
}

// The host window named on the command line is no window at all (a host that
// went before the program started; one that goes while it runs: above).
TEST(ReliabilityHostFaults, AHostWindowThatIsNoWindowFromTheStart) {
    HostFixture host;
    const HWND none = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x7ABC0));
    ASSERT_FALSE(::IsWindow(none));
    ASSERT_TRUE(LaunchFor(host, none));
    ASSERT_NE(host.FindView(kTimeout), nullptr);  // it runs, with nobody to tell
    ASSERT_TRUE(host.FileExists(kIni));
    ConfirmCounterLineShown(host);
    ExpectClosesCleanly(host, /*withItsHost=*/false);
    EXPECT_EQ(host.ReadIni(kIni, "Counter Settings", "Display Counter Line"), "1");
    EXPECT_EQ(host.MessageCount(), 0u);  // nothing reached anyone
}

}  // namespace
