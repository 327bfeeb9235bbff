// The framework where it carries risk: message maps chained to the base
// class's, the nested modal loops (a dialog, a message box, a menu) that keep
// dispatching and that a close ends from the inside, data exchange that
// refuses or skips a field, and a frame whose creation fails.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/FrameWnd.h"
#include "framework/ModalLoop.h"
#include "framework/WinApp.h"
#include "tests/win/support/UiTest.h"

namespace {

constexpr UINT kTemplate = 100;
constexpr int kNumberField = 1003;

// ---- message maps

class BaseWindow : public CWnd {
  public:
    std::vector<std::string> heard;

  protected:
    LRESULT OnFirst(WPARAM, LPARAM) { return heard.push_back("base first"), 1; }
    LRESULT OnSecond(WPARAM, LPARAM) { return heard.push_back("base second"), 2; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(BaseWindow, CWnd)
ON_MESSAGE(WM_USER + 1, OnFirst)
ON_MESSAGE(WM_USER + 2, OnSecond)
END_MESSAGE_MAP()

class DerivedWindow : public BaseWindow {
  protected:
    LRESULT OnSecond(WPARAM, LPARAM) { return heard.push_back("derived second"), 20; }
    void OnCommands(UINT id) { heard.push_back("command " + std::to_string(id)); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(DerivedWindow, BaseWindow)
ON_MESSAGE(WM_USER + 2, OnSecond)
ON_COMMAND_RANGE(150, 157, OnCommands)
END_MESSAGE_MAP()

TEST(MessageMap, ADerivedEntryWinsTheBasesAnswersTheRestAndRangesTakeTheirIds) {
    DerivedWindow wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "map", WS_CHILD, RECT{0, 0, 10, 10},
                             uitest::HostWindow().m_hWnd, 0));
    EXPECT_EQ(wnd.SendMessage(WM_USER + 1), 1);
    EXPECT_EQ(wnd.SendMessage(WM_USER + 2), 20);
    EXPECT_EQ(wnd.SendMessage(WM_USER + 3), 0);  // nobody's: the default procedure
    for (WPARAM id : {149, 150, 157, 158}) wnd.SendMessage(WM_COMMAND, id, 0);
    EXPECT_EQ(wnd.heard, (std::vector<std::string>{"base first", "derived second", "command 150",
                                                   "command 157"}));
}

// ---- modal loops and the close that ends them

class NumberDialog : public CDialog {
  public:
    NumberDialog() : CDialog(kTemplate) {}
    int number = 5;
    bool checked = true;  // the field is range-checked (1..9)

  protected:
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Text(dx, kNumberField, number);
        if (checked) DDV_MinMaxInt(dx, number, 1, 9);
    }
};

class TestFrame : public CFrameWnd {
  public:
    explicit TestFrame(bool* deleted, bool refuseCreation = false)
        : m_deleted(deleted), m_refuse(refuseCreation) {}
    ~TestFrame() override { *m_deleted = true; }

  protected:
    int OnCreate(LPCREATESTRUCT) { return m_refuse ? -1 : 0; }
    DECLARE_MESSAGE_MAP()

  private:
    bool* m_deleted;
    bool m_refuse;
};
BEGIN_MESSAGE_MAP(TestFrame, CFrameWnd)
ON_MESSAGE(WM_CREATE, OnCreate)
END_MESSAGE_MAP()

// What the timer does next, inside whatever modal loop dispatches it.
std::vector<std::function<void()>> g_steps;
void CALLBACK NextStep(HWND, UINT, UINT_PTR timer, DWORD) {
    if (g_steps.empty()) {
        KillTimer(nullptr, timer);
        return;
    }
    auto step = std::move(g_steps.front());
    g_steps.erase(g_steps.begin());
    step();
}

TEST(ModalLoop, ACloseEndsADialogABoxAndAMenuInsideEachOtherThenCloses) {
    bool deleted = false;
    auto* frame = new TestFrame(&deleted);  // deletes itself with its window
    ASSERT_TRUE(frame->Create(nullptr, "frame", WS_POPUP, RECT{0, 0, 200, 100}));
    HWND frameWnd = frame->m_hWnd;
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 150, "item");
    NumberDialog dialog;
    int boxAnswer = 0;
    int depthInside = 0;
    bool menuReturned = false;
    INT_PTR lateDialog = 0;
    g_steps = {
        [&] {  // inside the dialog's loop
            boxAnswer = AfxMessageBox("inside the dialog");
            lateDialog = NumberDialog().DoModal();  // while the close waits: refused
        },
        [&] {  // inside the box's loop
            fw::TrackPopupMenu(menu, 0, 10, 10, frameWnd);
            menuReturned = true;
        },
        [&] {  // inside the menu's loop: the host asks to close
            depthInside = fw::ModalLoop::Depth();
            PostMessageA(frameWnd, WM_CLOSE, 0, 0);
        },
    };
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, &NextStep);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(depthInside, 3);
    EXPECT_TRUE(menuReturned);
    EXPECT_EQ(boxAnswer, IDCANCEL);
    EXPECT_EQ(lateDialog, IDCANCEL);
    EXPECT_FALSE(deleted) << "destroyed under the loops";
    EXPECT_TRUE(uitest::PumpUntil([&] { return deleted; }, 5000)) << "never closed";
    EXPECT_FALSE(IsWindow(frameWnd));
    EXPECT_FALSE(fw::ModalLoop::Closing());
    KillTimer(nullptr, timer);
    DestroyMenu(menu);
}

TEST(ModalLoop, PostedMessagesKeepBeingDispatchedWhileADialogRuns) {
    CWnd target;
    ASSERT_TRUE(target.CreateEx(0, nullptr, "target", WS_CHILD, RECT{0, 0, 10, 10},
                                uitest::HostWindow().m_hWnd, 0));
    NumberDialog dialog;
    std::string seen;
    g_steps = {[&] {
                   PostMessageA(target.m_hWnd, WM_SETTEXT, 0, 0);  // any posted message
                   SetWindowTextA(target.m_hWnd, "posted and handled");
               },
               [&] {
                   seen = target.GetWindowText();
                   dialog.EndDialog(IDOK);
               }};
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &NextStep);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(seen, "posted and handled");
    KillTimer(nullptr, timer);
}

// ---- data exchange

TEST(DataExchange, ARefusedNumberIsSaidAndKeptOutADisabledFieldIsNeitherReadNorChecked) {
    NumberDialog dialog;
    ASSERT_TRUE(dialog.Create(kTemplate, &uitest::HostWindow()));
    HWND field = dialog.GetDlgItem(kNumberField);
    int boxes = 0;
    // Answers any box the exchange shows (and counts it) from inside its loop.
    g_steps.assign(40, [&] {
        if (fw::ModalLoop::Depth() > 0) ++boxes, fw::ModalLoop::EndAll();
    });
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &NextStep);
    for (const char* text : {"abc", "12"}) {  // no number; out of 1..9
        SetWindowTextA(field, text);
        EXPECT_FALSE(dialog.UpdateData(TRUE)) << text;
        EXPECT_EQ(GetFocus(), field) << text;
    }
    EXPECT_EQ(boxes, 2);
    // Disabled, the field keeps the value it was given, even one the range refuses.
    dialog.number = 42;
    dialog.UpdateData(FALSE);
    EnableWindow(field, FALSE);
    SetWindowTextA(field, "7");
    EXPECT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_EQ(dialog.number, 42);
    EXPECT_EQ(boxes, 2);
    KillTimer(nullptr, timer);
    g_steps.clear();
    dialog.DestroyWindow();
}

// ---- frames

TEST(FrameWnd, AFrameWhoseCreationFailsStaysItsCreatorsToDeleteOnce) {
    bool deleted = false;
    auto* frame = new TestFrame(&deleted, true);
    EXPECT_FALSE(frame->Create(nullptr, "refused", WS_POPUP, RECT{0, 0, 10, 10}));
    EXPECT_FALSE(deleted) << "deleted under its creator";
    EXPECT_EQ(frame->m_hWnd, nullptr);
    delete frame;
    EXPECT_TRUE(deleted);
}

}  // namespace
