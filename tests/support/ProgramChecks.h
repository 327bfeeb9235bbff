#pragma once
// What the reliability tests check of the program from outside: crash dumps
// in its folder, message boxes answered as they come, and a settings file
// that holds every key of the settings table in a form its read rule takes.
#include <windows.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "settings/SettingsSchema.h"
#include "tools/hostsim/HostFixture.h"

namespace testsupport {

// Crash dumps the program's folder holds (the writer puts them beside the program).
inline int CrashDumps(const std::string& programPath) {
    const std::string folder = programPath.substr(0, programPath.find_last_of('\\') + 1);
    int count = 0;
    WIN32_FIND_DATAA found{};
    HANDLE search = ::FindFirstFileA((folder + "*.dmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do ++count;
    while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return count;
}

// Presses OK on every message box of the program (caption "Tallyscope", the
// application title; the dialogs carry their own captions) until stopped.
// The box is told directly (WM_COMMAND IDOK), which ends it at once.
class BoxAnswerer {
  public:
    explicit BoxAnswerer(DWORD processId)
        : m_processId(processId), m_thread([this] {
              while (!m_stop) {
                  ::EnumWindows(&AnswerBox, reinterpret_cast<LPARAM>(this));
                  ::Sleep(5);
              }
          }) {}
    ~BoxAnswerer() {
        m_stop = true;
        m_thread.join();
    }
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;
    int Answered() const { return m_answered; }

  private:
    static BOOL CALLBACK AnswerBox(HWND hwnd, LPARAM context) {
        auto* self = reinterpret_cast<BoxAnswerer*>(context);
        DWORD pid = 0;
        ::GetWindowThreadProcessId(hwnd, &pid);
        if (pid != self->m_processId || !::IsWindowVisible(hwnd)) return TRUE;
        char cls[16] = {};
        char caption[32] = {};
        ::GetClassNameA(hwnd, cls, sizeof cls);
        ::GetWindowTextA(hwnd, caption, sizeof caption);  // top level: no message sent
        if (std::string(cls) != "#32770" || std::string(caption) != "Tallyscope") return TRUE;
        // A box told already is going; one still there after a while is told again.
        const DWORD now = ::GetTickCount();
        if (hwnd == self->m_lastBox && now - self->m_lastTold < 500) return TRUE;
        if (hwnd != self->m_lastBox) ++self->m_answered;
        self->m_lastBox = hwnd;
        self->m_lastTold = now;
        ::PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return TRUE;
    }

    DWORD m_processId;
    HWND m_lastBox = nullptr;
    DWORD m_lastTold = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_answered{0};
    std::thread m_thread;
};

// Which missing keys are no fault: none; those the program only ever writes
// into a file it makes itself (a file the host made may lack them); any (a
// missing key loads as its default).
enum class Absent { Fault, NewFileOnlyAllowed, Allowed };

// The keys of the settings table that the file lacks or holds in a form its
// read rule would not take ("section/key=value"); empty when all is well.
inline std::vector<std::string> SettingsFileFaults(const hostsim::HostFixture& host,
                                                   const std::string& fileName,
                                                   Absent absent = Absent::Fault) {
    constexpr char kAbsent[] = "\x01<absent>";
    std::vector<std::string> faults;
    for (const settings::SettingEntry& entry : settings::SettingsTable()) {
        const std::string value = host.ReadIni(fileName, entry.section, entry.key, kAbsent);
        bool loadable = true;
        char* end = nullptr;
        switch (entry.read) {
            case settings::ReadRule::Integer:
            case settings::ReadRule::IntegerLow16:
            case settings::ReadRule::IntegerThenFloat:  // "100.0": the integer in front counts
            case settings::ReadRule::NotRead: {
                std::strtol(value.c_str(), &end, 10);
                loadable = end != value.c_str();
                break;
            }
            case settings::ReadRule::NumberFromText: {
                const double number = std::strtod(value.c_str(), &end);
                loadable = end != value.c_str() && *end == '\0' && std::isfinite(number);
                break;
            }
            case settings::ReadRule::Text:
                break;
        }
        const bool absentAllowed =
            absent == Absent::Allowed || (absent == Absent::NewFileOnlyAllowed &&
                                          entry.write == settings::WriteFormat::NewFileOnly);
        if (value == kAbsent && absentAllowed) continue;
        if (value == kAbsent || !loadable) {
            faults.push_back(std::string(entry.section) + "/" + entry.key + "=" +
                             (value == kAbsent ? "<absent>" : value));
        }
    }
    return faults;
}

}  // namespace testsupport
