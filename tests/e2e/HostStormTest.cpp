// A host that sends anything: storms of every host message (WM_VIEW_, the
// close request aside) and every WM_UI_ number with random parameters reach
// the real program while it is idle and while each picture dialog is open,
// with the shared blocks missing, too small or present (holding random
// bytes). The program must keep answering, write no crash dump and close
// cleanly: every key of its settings file there and loadable, the host told
// last. A few hundred messages a block state here; 100 000 in all under
// scripts/soak.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <random>
#include <string>

#include "EndToEnd.h"
#include "hostlink/HostMessages.h"
#include "res/Resource.h"
#include "tests/support/ProgramChecks.h"
#include "tests/support/RunLength.h"
#include "tools/hostsim/HostFixture.h"
#include "tools/hostsim/SharedBlocks.h"

namespace {

using hostsim::HostFixture;
using hostsim::SharedBlocks;

using e2e::kApp;
constexpr DWORD kTimeout = 20000;
constexpr int kCamera = 4;

enum class Blocks { Missing, Undersized, Present };
// Messages per view state, short and long (scripts/soak: 100 000 in all).
// A message that finds a block missing shows a message box, which Wine takes
// two seconds to take down without a window manager: those states get fewer.
struct BlockState {
    const char* name;
    Blocks blocks;
    unsigned seed;
    int shortMessages;
    int longMessages;
};
constexpr BlockState kBlockStates[] = {
    {"Missing", Blocks::Missing, 13, 40, 2000},
    {"Undersized", Blocks::Undersized, 17, 100, 4000},  // each mapping half its layout's bytes
    {"Present", Blocks::Present, 11, 100, 14000},
};

struct ViewState {
    UINT command;  // 0: the main view alone
    int closeWith;
};
constexpr ViewState kViewStates[] = {
    {0, 0}, {151, IDC_CS_CANCEL}, {152, IDC_CA_EXIT}, {153, IDC_AV_EXIT}, {154, IDC_CT_EXIT}};

constexpr int LongTotal() {
    int total = 0;
    for (const BlockState& state : kBlockStates)
        total += state.longMessages * static_cast<int>(std::size(kViewStates));
    return total;
}
static_assert(LongTotal() == 100000);

// The host's blocks in the state, holding random bytes (none when missing).
void MakeBlocks(Blocks blocks, std::optional<SharedBlocks>& made) {
    if (blocks == Blocks::Missing) return;
    SharedBlocks::Sizes sizes = SharedBlocks::LayoutSizes();
    if (blocks == Blocks::Undersized) {
        for (auto& bytes : sizes) bytes /= 2;
    }
    made.emplace("", sizes);
    std::mt19937 fill(7);
    for (int b = 0; b < SharedBlocks::kBlockCount; ++b) {
        const auto block = static_cast<SharedBlocks::Block>(b);
        for (size_t i = 0; i < made->size(block); ++i)
            made->data(block)[i] = static_cast<unsigned char>(fill());
    }
}

// One random message of those the view takes from outside.
struct RandomMessage {
    UINT msg;
    uint32_t wParam;
    uint32_t lParam;
};
RandomMessage NextMessage(std::mt19937& random) {
    static const UINT kinds[] = {
        WM_VIEW_NEW_FRAME,     WM_VIEW_COUNTING_LINE_3D,    WM_VIEW_CAMERA_ANGLE,
        WM_VIEW_REGION_RESULT, WM_VIEW_COUNTING_LINE,       WM_VIEW_CALIBRATION_CHANGED,
        WM_VIEW_MARKER_RECT,   WM_VIEW_COUNTER_RECT,        WM_UI_PICTURE_READY,
        WM_UI_HOST_REQUEST,    WM_UI_CAMERA_ANGLE_ACCEPTED, WM_UI_SELECTION_CHANGED,
        WM_UI_STATIC_CLICKED,  WM_UI_BUTTON_CLICKED,        WM_UI_MARK_POINT};
    const UINT msg = kinds[random() % std::size(kinds)];
    uint32_t w = random();
    uint32_t l = random();
    const auto plausibleSize = [](uint32_t v) { return (v & 0x01FF'01FF) | 0x0001'0001; };
    switch (random() % 5) {  // bias toward values the handlers branch on
        case 0:
            w &= 0x0003'0003;  // frame kinds and counts, request kinds
            break;
        case 1:
            l = plausibleSize(l);  // plausible and oversized picture sizes
            break;
        case 2:  // a picture the view takes, fitting its block or not
            w &= 0x0001'0003;
            l = plausibleSize(l);
            break;
        case 3:
            w = 0x7FC0'0000;  // NaN as a float; 0x7F80'0000 would be infinity
            l = 0xFF80'0000;
            break;
        default:
            break;
    }
    // The menu button's click opens the settings menu, which waits for a user.
    if (msg == WM_UI_BUTTON_CLICKED && w == 101) w = 102;
    return {msg, w, l};
}

void Storm(const BlockState& state) {
    std::optional<SharedBlocks> blocks;
    MakeBlocks(state.blocks, blocks);
    ASSERT_TRUE(!blocks || blocks->ok());

    const int dumpsBefore = testsupport::CrashDumps(kApp);
    HostFixture host;
    ASSERT_TRUE(host.Launch(kApp, kCamera));
    ASSERT_NE(host.WaitForAttach(kTimeout), nullptr);
    testsupport::BoxAnswerer answerer(host.ProcessId());

    std::mt19937 random(state.seed);
    int sent = 0;
    const auto start = std::chrono::steady_clock::now();
    for (const ViewState& view : kViewStates) {
        SCOPED_TRACE(view.command);
        HWND dialog = nullptr;
        if (view.command) {
            ASSERT_TRUE(host.PostToView(WM_COMMAND, view.command, 0));
            const DWORD begin = ::GetTickCount();
            for (;;) {  // the dialog, not a message box that is still going
                dialog = host.FindTopWindow("", "#32770", 0);
                if (dialog && ::GetDlgItem(dialog, view.closeWith)) break;
                ASSERT_LT(::GetTickCount() - begin, kTimeout);
                ::Sleep(20);
            }
        }
        const int messages = testsupport::ShortOrLong(state.shortMessages, state.longMessages);
        for (int i = 0; i < messages; ++i, ++sent) {
            const RandomMessage m = NextMessage(random);
            DWORD_PTR result = 0;
            ::SendMessageTimeoutA(host.ViewHwnd(), m.msg, m.wParam, m.lParam, SMTO_ABORTIFHUNG,
                                  5000, &result);
        }
        ASSERT_TRUE(host.Running());
        ASSERT_TRUE(host.SendToView(WM_NULL, 0, 0));  // still answering
        if (dialog) {
            // A box may still stand in front of the dialog: press until it goes.
            const DWORD begin = ::GetTickCount();
            while (::IsWindow(dialog) && ::GetTickCount() - begin < kTimeout) {
                ::PostMessageA(::GetDlgItem(dialog, view.closeWith), BM_CLICK, 0, 0);
                ::Sleep(100);
            }
            ASSERT_FALSE(::IsWindow(dialog));
        }
    }
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    std::printf("[  storm   ] blocks %s: %d messages in %lld ms, %d message boxes%s\n", state.name,
                sent, static_cast<long long>(elapsed.count()), answerer.Answered(),
                answerer.Said().c_str());

    const auto code = host.Close(kTimeout);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    ASSERT_FALSE(host.Messages().empty());
    EXPECT_EQ(host.Messages().back().msg, WM_HOST_DETACH) << [&] {
        std::string last;  // the end of the host's log, to see what came after
        const auto all = host.Messages();
        for (size_t i = all.size() > 8 ? all.size() - 8 : 0; i < all.size(); ++i)
            last += std::to_string(all[i].msg - WM_HOST_ATTACH) + "(" +
                    std::to_string(all[i].wParam) + "," + std::to_string(all[i].lParam) + ") ";
        return "last messages, as WM_HOST_ATTACH + n: " + last;
    }();
    EXPECT_EQ(testsupport::CrashDumps(kApp), dumpsBefore);
    if (state.blocks == Blocks::Missing) {
        EXPECT_GT(answerer.Answered(), 0);  // the missing blocks were said
    }
    char file[32];
    std::snprintf(file, sizeof file, "Setting%02d.ini", kCamera);
    EXPECT_EQ(testsupport::SettingsFileFaults(host, file), std::vector<std::string>{});
}

TEST(ReliabilityHostStorm, BlocksMissing) {
    Storm(kBlockStates[0]);
}
TEST(ReliabilityHostStorm, BlocksUndersized) {
    Storm(kBlockStates[1]);
}
TEST(ReliabilityHostStorm, BlocksPresent) {
    Storm(kBlockStates[2]);
}

}  // namespace
