// A host that sends anything: storms of host and internal messages with
// random parameters reach the real program while it is idle and while each
// picture dialog is open, with the shared blocks present (holding random
// bytes) or missing. The program must keep answering, write no crash dump
// and close cleanly with the host told last.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <cstdint>
#include <random>
#include <string>
#include <thread>

#include "hostlink/HostMessages.h"
#include "res/Resource.h"
#include "tools/hostsim/HostFixture.h"
#include "tools/hostsim/SharedBlocks.h"

namespace {

using hostsim::HostFixture;

constexpr char kApp[] = TALLYSCOPE_APP_EXE;
constexpr DWORD kTimeout = 20000;
// Per state; with the blocks missing most messages end in a message box,
// which costs Wine about two seconds each to take down without a window
// manager, so that storm is shorter.
constexpr int kMessagesPerState = 600;
constexpr int kMessagesPerStateWithoutBlocks = 40;

// Crash dumps the program folder holds (the writer puts them beside the program).
int CrashDumps() {
    std::string folder = kApp;
    folder = folder.substr(0, folder.find_last_of('\\') + 1);
    int count = 0;
    WIN32_FIND_DATAA found{};
    HANDLE search = ::FindFirstFileA((folder + "*.dmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do ++count;
    while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return count;
}

// Answers every message box the program shows (a missing block says so on
// every attempt) until stopped.
class BoxAnswerer {
  public:
    explicit BoxAnswerer(DWORD processId)
        : m_thread([this, processId] {
              while (!m_stop) {
                  if (auto box = HostFixture::FindMessageBox(processId, 50)) {
                      ++m_answered;
                      HostFixture::DismissMessageBox(box->hwnd, 2000);
                  }
              }
          }) {}
    ~BoxAnswerer() {
        m_stop = true;
        m_thread.join();
    }
    int Answered() const { return m_answered; }

  private:
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_answered{0};
    std::thread m_thread;
};

// One random message of those the view takes from outside (the close
// request and the menu button's click, which opens the menu, left out).
struct RandomMessage {
    UINT msg;
    uint32_t wParam;
    uint32_t lParam;
};
RandomMessage NextMessage(std::mt19937& random) {
    static const UINT kinds[] = {
        WM_VIEW_NEW_FRAME,     WM_VIEW_COUNTING_LINE_3D,   WM_VIEW_CAMERA_ANGLE,
        WM_VIEW_REGION_RESULT, WM_VIEW_COUNTING_LINE,      WM_VIEW_CALIBRATION_CHANGED,
        WM_VIEW_MARKER_RECT,   WM_VIEW_COUNTER_RECT,       WM_UI_PICTURE_READY,
        WM_UI_HOST_REQUEST,    WM_UI_CAMERA_ANGLE_ACCEPTED};
    const UINT msg = kinds[random() % std::size(kinds)];
    uint32_t w = random();
    uint32_t l = random();
    switch (random() % 4) {  // bias toward values the handlers branch on
        case 0:
            w &= 0x0003'0003;  // frame kinds and counts, request kinds
            break;
        case 1:
            l = (l & 0x01FF'01FF) | 0x0001'0001;  // plausible and oversized picture sizes
            break;
        case 2:
            w = 0x7FC0'0000;  // NaN as a float; 0x7F80'0000 would be infinity
            l = 0xFF80'0000;
            break;
        default:
            break;
    }
    return {msg, w, l};
}

class HostStorm : public ::testing::TestWithParam<bool> {};  // blocks present?

TEST_P(HostStorm, ProgramSurvivesAndClosesCleanlyInEveryState) {
    const bool blocksPresent = GetParam();
    std::optional<hostsim::SharedBlocks> blocks;
    if (blocksPresent) {
        blocks.emplace();
        ASSERT_TRUE(blocks->ok());
        std::mt19937 fill(7);
        for (int b = 0; b < hostsim::SharedBlocks::kBlockCount; ++b) {
            const auto block = static_cast<hostsim::SharedBlocks::Block>(b);
            for (size_t i = 0; i < blocks->size(block); ++i)
                blocks->data(block)[i] = static_cast<unsigned char>(fill());
        }
    }
    const int dumpsBefore = CrashDumps();
    HostFixture host;
    ASSERT_TRUE(host.Launch(kApp, 4));
    ASSERT_NE(host.WaitForAttach(kTimeout), nullptr);
    BoxAnswerer answerer(host.ProcessId());

    struct State {
        UINT command;  // 0: the main view alone
        int closeWith;
    } states[] = {
        {0, 0}, {151, IDC_CS_CANCEL}, {152, IDC_CA_EXIT}, {153, IDC_AV_EXIT}, {154, IDC_CT_EXIT}};
    std::mt19937 random(blocksPresent ? 11 : 13);
    for (const State& state : states) {
        SCOPED_TRACE(state.command);
        HWND dialog = nullptr;
        if (state.command) {
            ASSERT_TRUE(host.PostToView(WM_COMMAND, state.command, 0));
            dialog = host.FindTopWindow("", "#32770", kTimeout);
            ASSERT_NE(dialog, nullptr);
        }
        const int messages = blocksPresent ? kMessagesPerState : kMessagesPerStateWithoutBlocks;
        for (int i = 0; i < messages; ++i) {
            const RandomMessage m = NextMessage(random);
            DWORD_PTR result = 0;
            ::SendMessageTimeoutA(host.ViewHwnd(), m.msg, m.wParam, m.lParam, SMTO_ABORTIFHUNG,
                                  5000, &result);
        }
        ASSERT_TRUE(host.Running());
        ASSERT_TRUE(host.SendToView(WM_NULL, 0, 0));  // still answering
        if (dialog) {
            // A box may still stand in front of the dialog: press until it goes.
            const DWORD start = ::GetTickCount();
            while (::IsWindow(dialog) && ::GetTickCount() - start < kTimeout) {
                ::PostMessageA(::GetDlgItem(dialog, state.closeWith), BM_CLICK, 0, 0);
                ::Sleep(100);
            }
            ASSERT_FALSE(::IsWindow(dialog));
        }
    }
    const auto code = host.Close(kTimeout);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    EXPECT_EQ(host.Messages().back().msg, WM_HOST_DETACH);
    EXPECT_EQ(CrashDumps(), dumpsBefore);
    if (!blocksPresent) {
        EXPECT_GT(answerer.Answered(), 0);  // the missing blocks were said
    }
    // What the settings file holds still loads: every section is there.
    for (const char* section : {"General Settings", "Camera Angle", "Counter Settings"}) {
        EXPECT_NE(host.ReadIni("Setting04.ini", section, "Setted", "<none>"), "<none>") << section;
    }
}

INSTANTIATE_TEST_SUITE_P(Blocks, HostStorm, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Present" : "Missing"; });

}  // namespace
