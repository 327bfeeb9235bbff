#pragma once
// The relay host (RelayHostMain.cpp, TallyscopeRelayHost.exe): a host window
// in a process of its own that passes what the settings program posts to it
// on to a test's host window, so that a test can end the host by force.
#include <windows.h>

#include <optional>
#include <string>

#include "framework/Handles.h"

namespace hostsim {

class HostFixture;

// Posted by the relay to the report window once its own window exists;
// wParam is the relay's window. In the WM_APP range, outside every number of
// the host protocol, so a HostWindow records it.
constexpr UINT kRelayHostReady = 0xBF00;

// A running relay host process, started for a fixture's host window.
class RelayHost {
  public:
    // Starts `exePath` reporting to the fixture's host window and waits for
    // its window; valid() is false when it did not come up. With `blocks` the
    // relay creates the five shared blocks too (they end with it).
    RelayHost(const std::string& exePath, HostFixture& reportTo, bool blocks = false,
              DWORD timeoutMs = 20000);
    ~RelayHost();  // ends the relay if it still runs
    RelayHost(const RelayHost&) = delete;
    RelayHost& operator=(const RelayHost&) = delete;

    bool valid() const { return m_window != nullptr; }
    HWND Window() const { return m_window; }
    // The host dies: the process is ended by force, its window with it.
    void Kill();
    // The host closes its window and ends on its own.
    bool CloseWindow(DWORD timeoutMs = 10000);
    bool Running() const;

  private:
    KernelHandle m_process;
    HWND m_window = nullptr;
};

}  // namespace hostsim
