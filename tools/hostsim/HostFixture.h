#pragma once
// Host side of an end-to-end test: a host window that records what the
// settings program posts to it, a private settings folder, launching and
// ending the program, and helpers to find, read, dismiss and capture the
// program's windows from outside its process.
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tools/hostsim/ScratchFolder.h"

#include "framework/Handles.h"

namespace hostsim {

// One message that arrived at the host window.
struct HostMessage {
    UINT msg = 0;
    std::uint64_t wParam = 0;
    std::uint64_t lParam = 0;
    std::chrono::steady_clock::time_point time;
};

// A message box of another process as seen from outside.
struct MessageBoxInfo {
    HWND hwnd = nullptr;
    std::string caption;  // UTF-8
    std::string text;     // UTF-8, the box's static text (control 0xFFFF)
};

// Pixels read back from the screen; 0x00RRGGBB per pixel, rows top-down.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    bool empty() const { return pixels.empty(); }
    // Like GetPixel: a COLORREF (0x00BBGGRR); CLR_INVALID outside the capture.
    COLORREF Pixel(int x, int y) const;
};

// A host window owned by its own thread, which pumps its messages. Every
// message in the WM_APP range (0x8000..0xBFFF) is recorded in arrival order.
class HostWindow {
  public:
    HostWindow();
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND hwnd() const { return m_hwnd; }
    bool valid() const { return m_hwnd != nullptr; }

    std::vector<HostMessage> Messages() const;
    std::size_t MessageCount() const;
    std::size_t Count(UINT msg) const;
    // The first message `msg` at index >= from, waiting up to timeoutMs for it.
    std::optional<HostMessage> WaitForMessage(UINT msg, DWORD timeoutMs,
                                              std::size_t from = 0) const;
    // Waits until at least `count` messages `msg` have arrived.
    bool WaitForCount(UINT msg, std::size_t count, DWORD timeoutMs) const;
    void ClearMessages();
    // Returns once every message posted to the window before the call has
    // been recorded (the window's thread may lag behind a busy machine).
    bool Drain(DWORD timeoutMs) const;

    // Called on the window's thread for each recorded message, after recording.
    // Once SetHandler returns, the previous handler is no longer running and
    // will not be called again. A handler must not call SetHandler itself.
    void SetHandler(std::function<void(const HostMessage&)> handler);

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void Run(HANDLE ready);
    void Record(UINT msg, WPARAM wParam, LPARAM lParam);

    HWND m_hwnd = nullptr;
    DWORD m_threadId = 0;
    std::thread m_thread;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::vector<HostMessage> m_messages;
    mutable unsigned m_drainsAsked = 0;  // under m_mutex
    unsigned m_drainsDone = 0;           // under m_mutex
    std::mutex m_handlerMutex;           // held while the handler runs
    std::function<void(const HostMessage&)> m_handler;
};

class HostFixture {
  public:
    HostFixture();  // with a new, empty settings folder that it removes at the end
    // With an existing settings folder, which is kept (created when missing).
    explicit HostFixture(std::string settingsFolder);
    ~HostFixture();  // ends a still-running program, removes its own settings folder
    HostFixture(const HostFixture&) = delete;
    HostFixture& operator=(const HostFixture&) = delete;

    // ---- host window and its message log
    HostWindow& Host() { return m_host; }
    HWND HostHwnd() const { return m_host.hwnd(); }
    std::vector<HostMessage> Messages() const { return m_host.Messages(); }
    std::size_t MessageCount() const { return m_host.MessageCount(); }
    std::size_t Count(UINT msg) const { return m_host.Count(msg); }
    std::optional<HostMessage> WaitForMessage(UINT msg, DWORD timeoutMs,
                                              std::size_t from = 0) const {
        return m_host.WaitForMessage(msg, timeoutMs, from);
    }
    bool WaitForCount(UINT msg, std::size_t count, DWORD timeoutMs) const {
        return m_host.WaitForCount(msg, count, timeoutMs);
    }

    // The view window announced by WM_HOST_ATTACH (wParam), or null on timeout.
    HWND WaitForAttach(DWORD timeoutMs);
    HWND ViewHwnd() const { return m_view; }
    // The view found from outside, for a program whose WM_HOST_ATTACH went
    // elsewhere (another host window, or none): the only child of the
    // program's main window. Null on timeout.
    HWND FindView(DWORD timeoutMs);
    // Posts / sends a WM_VIEW_ message to the view; false without a view.
    bool PostToView(UINT msg, std::uint32_t wParam, std::uint32_t lParam) const;
    bool SendToView(UINT msg, std::uint32_t wParam, std::uint32_t lParam,
                    DWORD timeoutMs = 5000) const;

    // ---- settings folder (unique per fixture, under %TEMP%, no trailing backslash)
    const std::string& SettingsFolder() const { return m_folder; }
    std::string PathOf(const std::string& name) const;  // folder + "\" + name
    std::string SettingsFile(int camera) const;         // folder\Setting%02d.ini
    bool WriteFile(const std::string& name, const std::string& bytes) const;
    std::optional<std::string> ReadFile(const std::string& name) const;
    bool FileExists(const std::string& name) const;
    // GetPrivateProfileStringA on a file of the folder; `fallback` when absent.
    std::string ReadIni(const std::string& name, const std::string& section, const std::string& key,
                        const std::string& fallback = "") const;
    bool WriteIni(const std::string& name, const std::string& section, const std::string& key,
                  const std::string& value) const;
    // Keeps the folder after the fixture ends (for looking at a failure).
    void KeepFolder() {
        if (m_ownFolder) m_ownFolder->Keep();
    }

    // ---- the program
    // Starts the program with the host's command line for this fixture:
    // setting="<folder>" camera=N hwnd=<host window, hex> lang=<language>.
    bool Launch(const std::string& programPath, int camera = 1,
                const std::string& language = "English.ini");
    // Starts the program with the given text after the program name.
    bool LaunchRaw(const std::string& programPath, const std::string& arguments);
    DWORD ProcessId() const { return m_processId; }
    bool Running() const;
    // Exit code once the program has ended, nothing on timeout.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs) const;
    // Ends the program at once (no-op when none runs); waits for it to go.
    void Kill();
    // Posts WM_VIEW_CLOSE to the view and waits for the exit code.
    std::optional<DWORD> Close(DWORD timeoutMs);

    // ---- windows of a process (usable on any process id)
    // A visible top-level window of the process whose title and class contain
    // the given texts (empty = any), waiting up to timeoutMs.
    static HWND FindTopWindow(DWORD processId, const std::string& title,
                              const std::string& className, DWORD timeoutMs);
    // A message box of the process (a dialog holding only buttons and statics,
    // with the text static 0xFFFF).
    static std::optional<MessageBoxInfo> FindMessageBox(DWORD processId, DWORD timeoutMs);
    // Presses OK (or Cancel, or the only button) and waits for the box to go.
    static bool DismissMessageBox(HWND box, DWORD timeoutMs = 5000);
    // Window text through the wide call, as UTF-8.
    static std::string WindowText(HWND hwnd);
    // The window's screen rectangle read back from the screen.
    static Capture CaptureWindow(HWND hwnd);
    static Capture CaptureScreenRect(const RECT& rect);

    std::optional<MessageBoxInfo> FindMessageBox(DWORD timeoutMs) const {
        return FindMessageBox(m_processId, timeoutMs);
    }
    HWND FindTopWindow(const std::string& title, const std::string& className,
                       DWORD timeoutMs) const {
        return FindTopWindow(m_processId, title, className, timeoutMs);
    }

  private:
    bool Start(const std::string& commandLine);

    HostWindow m_host;
    std::optional<ScratchFolder> m_ownFolder;  // none: a folder given, kept
    std::string m_folder;
    KernelHandle m_job;  // ends the program with the host
    KernelHandle m_process;
    DWORD m_processId = 0;
    HWND m_view = nullptr;
};

// Wide text to UTF-8.
std::string ToUtf8(const std::wstring& text);

}  // namespace hostsim
