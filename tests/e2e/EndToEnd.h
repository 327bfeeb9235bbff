#pragma once
// What the end-to-end tests share: the program under test, a bounded poll,
// the answer to a message box, one driver for the program's dialogs as a user
// works them, and the check that the program closed cleanly.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "hostlink/HostMessages.h"
#include "tests/support/ProgramChecks.h"
#include "tools/hostsim/HostFixture.h"
#include "tools/hostsim/Simulator.h"

namespace e2e {

// The program under test: this build's, or the one TALLYSCOPE_APP names (the
// other pointer size's, for a host and a program of different sizes).
inline const char* const kApp = [] {
    const char* named = std::getenv("TALLYSCOPE_APP");
    return named && *named ? named : TALLYSCOPE_APP_EXE;
}();
constexpr DWORD kTimeout = 20000;

// Asks done() every 20 ms until it holds or the time is up; returns its last answer.
inline bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = kTimeout) {
    for (const DWORD start = ::GetTickCount(); ::GetTickCount() - start < timeoutMs; ::Sleep(20))
        if (done()) return true;
    return done();
}

// The main window's place as the program keeps it in the registry ("<none>"
// when not stored), and a place put there (nullptr: none).
inline std::string StoredWindowRect() {
    char value[128] = "";
    DWORD size = sizeof value;
    if (::RegGetValueA(HKEY_CURRENT_USER, "Software\\Norlacy\\Varanix\\Tallyscope\\Setting",
                       "WindowRect", RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return "<none>";
    return value;
}
inline void StoreWindowRect(const char* text) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Norlacy\\Varanix\\Tallyscope\\Setting", 0,
                          nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    if (text) {
        ::RegSetValueExA(key, "WindowRect", 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                         static_cast<DWORD>(std::strlen(text) + 1));
    } else {
        ::RegDeleteValueA(key, "WindowRect");
    }
    ::RegCloseKey(key);
}

// A camera mounted this way (degrees, cm) with the template on the floor
// straight ahead, nobody walking.
inline hostsim::Scene TemplateAhead(double tilt, double roll, double pan, double height) {
    constexpr double kDeg = 3.14159265358979323846 / 180;
    hostsim::Scene scene = hostsim::DefaultScene(hostsim::CameraModel{});
    scene.pose = {tilt * kDeg, roll * kDeg, pan * kDeg, height};
    scene.people.clear();
    if (auto ahead = hostsim::CameraFrame(scene.model, scene.pose).FloorPoint(150, 125))
        scene.templateCentre = *ahead;
    return scene;
}

// Starts the program for a camera and waits for it to attach.
inline bool Start(hostsim::HostFixture& host, int camera = 1) {
    return host.Launch(kApp, camera) && host.WaitForAttach(kTimeout) != nullptr;
}

// The message box the program shows now, answered and gone with its loop
// (Wine's ending box loop can drop a message posted meanwhile); its text is
// "<no message box>" when none shows within timeoutMs.
inline hostsim::MessageBoxInfo AnswerBox(const hostsim::HostFixture& host,
                                         DWORD timeoutMs = kTimeout) {
    const auto box = host.FindMessageBox(timeoutMs);
    if (!box) return {nullptr, "", "<no message box>"};
    hostsim::HostFixture::DismissMessageBox(box->hwnd);
    // A box under another one goes only once the one on top has gone.
    WaitFor([&] { return !::IsWindowVisible(box->hwnd); });
    WaitFor([&] { return !::IsWindow(box->hwnd); }, 2000);
    return *box;
}

// A dialog of the program as a user works it, from outside its process.
class Dialog {
  public:
    explicit Dialog(hostsim::HostFixture& host) : m_host(host) {}

    // Chooses a settings-menu command and waits for the dialog holding `item`
    // (not a message box that may still be going).
    bool Open(UINT command, int item) {
        m_hwnd = nullptr;
        if (!m_host.PostToView(WM_COMMAND, command, 0)) return false;
        Search search{m_host.ProcessId(), item, nullptr};
        const bool open = WaitFor([&] {
            ::EnumWindows(&Match, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        });
        m_hwnd = search.found;
        // A modal dialog disables its owner; About is the one that stays, hidden.
        m_modal = open && !::IsWindowEnabled(::GetWindow(m_hwnd, GW_OWNER));
        return open && m_host.Host().Drain(kTimeout);
    }
    HWND hwnd() const { return m_hwnd; }
    HWND Item(int id) const { return ::GetDlgItem(m_hwnd, id); }

    // Posted, as a user's click: it comes after everything posted before.
    void Press(int id) const { ::PostMessageA(Item(id), BM_CLICK, 0, 0); }
    // Sent: returns once the dialog has handled it (for buttons that open nothing).
    void PressNow(int id) const { Send(Item(id), BM_CLICK, 0, 0); }
    void Type(int id, const std::string& text) const {
        Send(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    std::string Text(int id) const { return hostsim::HostFixture::WindowText(Item(id)); }
    bool Checked(int id) const { return Send(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != FALSE; }
    hostsim::Capture Shot(int id) const { return hostsim::HostFixture::CaptureWindow(Item(id)); }

    // The mouse on a picture control, at control coordinates.
    void Mouse(int item, UINT msg, POINT p) const {
        ::PostMessageA(Item(item), msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(p.x, p.y));
    }
    void Click(int item, POINT p) const {
        Mouse(item, WM_LBUTTONDOWN, p);
        Mouse(item, WM_LBUTTONUP, p);
    }
    void Drag(int item, POINT from, POINT to) const {
        Mouse(item, WM_LBUTTONDOWN, from);
        Mouse(item, WM_MOUSEMOVE, {(from.x + to.x) / 2, (from.y + to.y) / 2});
        Mouse(item, WM_MOUSEMOVE, to);
        Mouse(item, WM_LBUTTONUP, to);
    }

    // Presses the button that ends the dialog and returns once the view has
    // done what the dialog's end asks (stored, told the host) and the host's
    // log holds it. False when the dialog stays.
    // A message box may stand in front of the dialog for a while (Wine's
    // ending box loop can drop a click): the button is pressed again each second.
    bool Close(int button) const {
        DWORD pressed = 0;
        const bool gone = WaitFor([&] {
            if (m_modal ? !::IsWindow(m_hwnd) : !::IsWindowVisible(m_hwnd)) return true;
            if (::IsWindowVisible(m_hwnd) && ::GetTickCount() - pressed >= 1000) {
                Press(button);
                pressed = ::GetTickCount();
            }
            return false;
        });
        if (!gone) return false;
        return m_host.SendToView(WM_NULL, 0, 0, kTimeout) && m_host.Host().Drain(kTimeout);
    }

  private:
    struct Search {
        DWORD pid;
        int item;
        HWND found;
    };
    static BOOL CALLBACK Match(HWND wnd, LPARAM context) {
        auto* search = reinterpret_cast<Search*>(context);
        DWORD pid = 0;
        char cls[16] = "";
        ::GetWindowThreadProcessId(wnd, &pid);
        ::GetClassNameA(wnd, cls, sizeof cls);
        if (pid == search->pid && ::IsWindowVisible(wnd) && std::string(cls) == "#32770" &&
            ::GetDlgItem(wnd, search->item))
            search->found = wnd;
        return search->found ? FALSE : TRUE;
    }
    static LRESULT Send(HWND to, UINT msg, WPARAM wParam, LPARAM lParam) {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(to, msg, wParam, lParam, SMTO_ABORTIFHUNG, kTimeout, &result);
        return static_cast<LRESULT>(result);
    }

    hostsim::HostFixture& m_host;
    HWND m_hwnd = nullptr;
    bool m_modal = true;
};

// The shipped skin shows the 320 x 240 live picture twice its size at (14, 35)
// of the view. Pixels of a capture of the view within `tolerance` of a colour,
// in a rectangle of picture coordinates.
inline int CountInPicture(const hostsim::Capture& view, RECT area, COLORREF color,
                          int tolerance = 0) {
    int count = 0;
    for (int y = 35 + 2 * area.top; y < 35 + 2 * area.bottom; ++y) {
        for (int x = 14 + 2 * area.left; x < 14 + 2 * area.right; ++x) {
            const COLORREF c = view.Pixel(x, y);
            count += std::abs(GetRValue(c) - GetRValue(color)) <= tolerance &&
                     std::abs(GetGValue(c) - GetGValue(color)) <= tolerance &&
                     std::abs(GetBValue(c) - GetBValue(color)) <= tolerance;
        }
    }
    return count;
}

// Closes the program as the host does and checks that it left cleanly: exit
// code 0, no crash dump, every key of the settings file in a loadable form
// (`absent`: which missing keys are no fault) and, for a program that has
// this fixture's window as its host, WM_HOST_DETACH the last thing the host
// heard and only once.
inline void ExpectClosesCleanly(hostsim::HostFixture& host, const std::string& settingsFile,
                                testsupport::Absent absent = testsupport::Absent::Fault,
                                bool hostHears = true, DWORD timeoutMs = kTimeout) {
    const int dumpsBefore = testsupport::CrashDumps(kApp);
    ASSERT_TRUE(host.PostToView(WM_VIEW_CLOSE, 0, 0));
    const auto code = host.WaitForExit(timeoutMs);
    ASSERT_TRUE(code.has_value()) << "still running " << timeoutMs << " ms after the close";
    EXPECT_EQ(*code, 0u);
    const auto heard = host.Messages();
    if (hostHears) {
        ASSERT_FALSE(heard.empty());
        EXPECT_EQ(heard.back().msg, WM_HOST_DETACH);
        EXPECT_EQ(host.Count(WM_HOST_DETACH), 1u);
    }
    EXPECT_EQ(testsupport::CrashDumps(kApp), dumpsBefore);
    EXPECT_EQ(testsupport::SettingsFileFaults(host, settingsFile, absent),
              std::vector<std::string>{});
}

}  // namespace e2e
