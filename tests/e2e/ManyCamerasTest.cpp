// Many cameras on one machine, as the host runs them: one copy of the program
// per camera, all started at once, sharing one settings folder. Start-ups
// wait for each other on the start-up mutex; each copy reads and writes only
// its own camera's files and talks only to the host window it was given (the
// eight copies' soak: ReliabilitySoakTest).
//
// One host window per copy: the program learns its host window from its
// command line and posts only there, so separate windows give each copy's
// messages their own log without changing what the program does.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "EndToEnd.h"
#include "framework/Handles.h"
#include "hostlink/HostMessages.h"
#include "hostlink/HostPacking.h"
#include "tests/win/support/TestFiles.h"
#include "tools/hostsim/HostFixture.h"

namespace {

using hostsim::HostFixture;

using e2e::kApp;
constexpr char kStartupMutex[] = "Tallyscope_Instance_Protection";
constexpr int kCopies = 8;
constexpr DWORD kTimeout = 60000;  // eight start-ups in a row on a loaded machine

std::string SettingsName(int camera) {
    char name[32];
    std::snprintf(name, sizeof name, "Setting%02d.ini", camera);
    return name;
}

TEST(ManyCameras, StartUpsWaitForTheStartUpMutexAndEachCopyKeepsToItsOwnFiles) {
    TempFolder folder;  // outlives the copies
    std::vector<std::unique_ptr<HostFixture>> hosts;
    for (int i = 0; i < kCopies; ++i) hosts.push_back(std::make_unique<HostFixture>(folder.path()));
    const auto host = [&](int camera) -> HostFixture& {
        return *hosts[static_cast<std::size_t>(camera - 1)];
    };
    // Cameras 1 to 4 come with settings of their own, each with its own
    // counting line; 5 to 8 have none yet. Camera 9 is not started: its
    // files, and a file of nobody's, must stay as they are.
    const auto lineOf = [](int camera) {
        return std::array<int, 4>{10 * camera, 100 + camera, 200 + camera, 120};
    };
    for (int camera = 1; camera <= 4; ++camera) {
        const auto line = lineOf(camera);
        folder.Write(SettingsName(camera),
                     "[General Settings]\r\nSetted=1\r\nSite Name=Site " + std::to_string(camera) +
                         "\r\n[Counter Settings]\r\nSetted=1\r\nImage Cnt Line Pt1 x=" +
                         std::to_string(line[0]) +
                         "\r\nImage Cnt Line Pt1 y=" + std::to_string(line[1]) +
                         "\r\nImage Cnt Line Pt2 x=" + std::to_string(line[2]) +
                         "\r\nImage Cnt Line Pt2 y=" + std::to_string(line[3]) + "\r\n");
    }
    const std::vector<std::string> bystanders = {
        folder.Write("Setting09.ini", "[General Settings]\r\nSite Name=Site 9\r\n"),
        folder.Write("Mask09.bin", std::string(64, '\x01')),
        folder.Write("VImage09.bmp", std::string(100, '\x02')),
        folder.Write("Notes.txt", "installer's notes\r\n")};
    std::vector<std::string> bystandersBefore;
    for (const auto& path : bystanders) bystandersBefore.push_back(ReadRaw(path));

    {
        KernelHandle mutex(::CreateMutexA(nullptr, TRUE, kStartupMutex));
        ASSERT_TRUE(mutex);
        ASSERT_NE(::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS))
            << "another copy of the program runs in this prefix";
        for (int camera = 1; camera <= kCopies; ++camera)
            ASSERT_TRUE(host(camera).Launch(kApp, camera)) << camera;
        // While the mutex is held, no copy gets past the start of its start-up.
        EXPECT_FALSE(host(1).WaitForMessage(WM_HOST_ATTACH, 3000).has_value());
        for (int camera = 1; camera <= kCopies; ++camera) {
            SCOPED_TRACE(camera);
            EXPECT_TRUE(host(camera).Running());
            EXPECT_EQ(host(camera).MessageCount(), 0u);
            if (camera > 4) {
                EXPECT_FALSE(Exists(folder.File(SettingsName(camera))));
            }
        }
        ASSERT_TRUE(::ReleaseMutex(mutex.get()));
    }
    for (int camera = 1; camera <= kCopies; ++camera)
        ASSERT_NE(host(camera).WaitForAttach(kTimeout), nullptr) << camera;

    // Each copy read its own settings: the counting line it announces is its camera's.
    for (int camera = 1; camera <= 4; ++camera) {
        const auto line = lineOf(camera);
        const auto announced = host(camera).WaitForMessage(WM_HOST_SET_COUNTING_LINE, kTimeout);
        ASSERT_TRUE(announced.has_value()) << camera;
        EXPECT_EQ(announced->wParam, hostlink::PackPoint(line[0], line[1])) << camera;
        EXPECT_EQ(announced->lParam, hostlink::PackPoint(line[2], line[3])) << camera;
    }
    for (int camera = 5; camera <= kCopies; ++camera)
        EXPECT_EQ(host(camera).Count(WM_HOST_SET_COUNTING_LINE), 0u) << camera;

    for (auto& copy : hosts) ASSERT_TRUE(copy->PostToView(WM_VIEW_CLOSE, 0, 0));
    for (int camera = 1; camera <= kCopies; ++camera) {
        ASSERT_EQ(host(camera).WaitForExit(kTimeout), std::optional<DWORD>(0)) << camera;
        EXPECT_EQ(host(camera).Messages().back().msg, WM_HOST_DETACH) << camera;
    }

    std::vector<std::string> expected = {"Mask09.bin", "Notes.txt", "Setting09.ini",
                                         "VImage09.bmp"};
    for (int camera = 1; camera <= kCopies; ++camera) expected.push_back(SettingsName(camera));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(TempFolder::List(folder.path()), expected);
    for (int camera = 1; camera <= kCopies; ++camera) {
        SCOPED_TRACE(camera);
        const std::string file = SettingsName(camera);
        const std::string site = camera <= 4 ? "Site " + std::to_string(camera) : "";
        EXPECT_EQ(host(camera).ReadIni(file, "General Settings", "Site Name", "<none>"), site);
        for (const char* section : {"General Settings", "Camera Angle", "Counter Settings"})
            EXPECT_NE(host(camera).ReadIni(file, section, "Setted", "<none>"), "<none>") << section;
        const int lineX = camera <= 4 ? lineOf(camera)[0] : -1;
        EXPECT_EQ(host(camera).ReadIni(file, "Counter Settings", "Image Cnt Line Pt1 x"),
                  std::to_string(lineX));
    }
    for (std::size_t i = 0; i < bystanders.size(); ++i)
        EXPECT_EQ(ReadRaw(bystanders[i]), bystandersBefore[i]) << bystanders[i];
}

}  // namespace
