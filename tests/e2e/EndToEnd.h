#pragma once
// What the end-to-end tests share: the program under test, a bounded poll and
// the answer to a message box the program shows.
#include <windows.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "tools/hostsim/HostFixture.h"

namespace e2e {

// The program under test: this build's, or the one TALLYSCOPE_APP names (the
// other pointer size's, for a host and a program of different sizes).
inline const char* const kApp = [] {
    const char* named = std::getenv("TALLYSCOPE_APP");
    return named && *named ? named : TALLYSCOPE_APP_EXE;
}();
constexpr DWORD kTimeout = 20000;

// Asks done() every 50 ms until it holds or the time is up; returns its last answer.
inline bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = kTimeout) {
    for (const DWORD start = ::GetTickCount(); ::GetTickCount() - start < timeoutMs; ::Sleep(50))
        if (done()) return true;
    return done();
}

// The message box the program shows now, answered and gone with its loop
// (Wine's ending box loop can drop a message posted meanwhile); its text is
// "<no message box>" when none shows.
inline hostsim::MessageBoxInfo AnswerBox(const hostsim::HostFixture& host) {
    const auto box = host.FindMessageBox(kTimeout);
    if (!box) return {nullptr, "", "<no message box>"};
    hostsim::HostFixture::DismissMessageBox(box->hwnd);
    WaitFor([&] { return !::IsWindow(box->hwnd); });
    return *box;
}

}  // namespace e2e
