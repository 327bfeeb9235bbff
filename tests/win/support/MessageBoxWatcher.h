#pragma once
// Finds the message boxes this process shows, records their text and
// caption, and closes them with the host fixture's own calls: lets a test run
// code that calls AfxMessageBox for real without blocking. Polls in short
// bounded looks until destroyed, then looks once more; never waits without a
// limit.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "tools/hostsim/HostFixture.h"

class MessageBoxWatcher {
  public:
    using Box = hostsim::MessageBoxInfo;

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
    void Run() {
        std::vector<HWND> seen;
        for (bool last = false; !last;) {
            last = m_stop;  // one last look for a box that appeared just before the end
            const auto box = hostsim::HostFixture::FindMessageBox(::GetCurrentProcessId(), 20);
            if (!box || std::find(seen.begin(), seen.end(), box->hwnd) != seen.end()) continue;
            seen.push_back(box->hwnd);
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_boxes.push_back(*box);
            }
            hostsim::HostFixture::DismissMessageBox(box->hwnd);
        }
    }

    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::vector<Box> m_boxes;
    std::thread m_thread;
};
