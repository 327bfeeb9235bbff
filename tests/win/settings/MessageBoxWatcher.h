#pragma once
// Finds the message boxes this process shows, records their text and
// caption, and closes them with OK: lets a test run code that calls
// AfxMessageBox for real without blocking. Polls for at most a few seconds
// after the last box; never waits without a limit.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class MessageBoxWatcher {
  public:
    struct Box {
        std::string text;
        std::string caption;
    };

    MessageBoxWatcher() : m_thread([this] { Run(); }) {}
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;
    ~MessageBoxWatcher() {
        m_stop = true;
        m_thread.join();
    }

    std::vector<Box> Boxes() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_boxes;
    }

  private:
    static BOOL CALLBACK OnWindow(HWND wnd, LPARAM param) {
        auto* self = reinterpret_cast<MessageBoxWatcher*>(param);
        DWORD process = 0;
        ::GetWindowThreadProcessId(wnd, &process);
        char className[64] = "";
        ::GetClassNameA(wnd, className, sizeof className);
        if (process != ::GetCurrentProcessId() || std::string(className) != "#32770" ||
            !::IsWindowVisible(wnd)) {
            return TRUE;
        }
        for (HWND seen : self->m_closed) {
            if (seen == wnd) return TRUE;
        }
        Box box;
        char caption[256] = "";
        ::GetWindowTextA(wnd, caption, sizeof caption);
        box.caption = caption;
        // The message is the longest static text of the box.
        ::EnumChildWindows(
            wnd,
            [](HWND child, LPARAM textParam) -> BOOL {
                char cls[32] = "";
                ::GetClassNameA(child, cls, sizeof cls);
                if (lstrcmpiA(cls, "Static") != 0) return TRUE;
                char text[2048] = "";
                ::GetWindowTextA(child, text, sizeof text);
                auto* best = reinterpret_cast<std::string*>(textParam);
                if (std::string(text).size() > best->size()) *best = text;
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&box.text));
        {
            std::lock_guard<std::mutex> lock(self->m_mutex);
            self->m_boxes.push_back(box);
        }
        self->m_closed.push_back(wnd);
        ::PostMessageA(wnd, WM_COMMAND, IDOK, 0);
        return TRUE;
    }

    void Run() {
        using namespace std::chrono;
        while (!m_stop) {
            ::EnumWindows(&OnWindow, reinterpret_cast<LPARAM>(this));
            std::this_thread::sleep_for(milliseconds(20));
        }
        // One last look, for a box that appeared just before the test ended.
        ::EnumWindows(&OnWindow, reinterpret_cast<LPARAM>(this));
    }

    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::vector<Box> m_boxes;
    std::vector<HWND> m_closed;
    std::thread m_thread;
};
