// The main view in-process: its set-up from the settings, skin and language
// files, the settings menu (menus cannot be read from another process under
// Wine), enabling and graying, and the host's calibration change.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/FrameWnd.h"
#include "framework/WinApp.h"
#include "hostlink/HostMessages.h"
#include "framework/Handles.h"
#include "settings/SettingsPaths.h"
#include "framework/ModalLoop.h"
#include "tests/win/support/UiTest.h"
#include "ViewFrame.h"
#include "view/ChildView.h"

namespace {

CWinApp g_app("Tallyscope");

// The menu's items as "<command> <text>", separators as "-".
std::vector<std::string> ReadMenu(HMENU menu) {
    std::vector<std::string> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[300] = "";
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text - 1;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        items.push_back((info.fType & MFT_SEPARATOR) ? "-" : std::to_string(info.wID) + " " + text);
    }
    return items;
}

// Commands 150 to 157 as '#' grayed or '.' enabled ('?' missing).
std::string GrayedCommands(HMENU menu) {
    std::string shown;
    for (UINT id = 150; id <= 157; ++id) {
        const UINT state = GetMenuState(menu, id, MF_BYCOMMAND);
        shown += state == 0xFFFFFFFFu ? '?' : (state & MF_GRAYED) ? '#' : '.';
    }
    return shown;
}

class ChildViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // Every command once, in command order (tests that need another layout write their own).
        Layout(
            "[0]\nndx=0\n[1]\nndx=1\n[2]\nndx=2\n[3]\nndx=3\n[4]\nndx=4\n[5]\nndx=5\n[6]\nndx=6\n"
            "[7]\nndx=7\n[8]\nndx=8\n");
    }
    void TearDown() override {
        if (frame && frame->m_hWnd) frame->DestroyWindow();
        frame.reset();
        g_app.m_pMainWnd = nullptr;
        uitest::PumpUntil(nullptr, 0);
    }

    void Layout(const std::string& text) const { program.Write("resources\\Layout.ini", text); }
    void Language(const std::string& name, const std::string& text) const {
        program.Write("resources\\Lang\\" + name, text);
    }
    CChildView& Start(const std::string& language = "English.ini") {
        frame = std::make_unique<ViewFrame>(
            ViewStartup{program.path() + "\\", settings.path(), 7, nullptr, language});
        g_app.m_pMainWnd = frame.get();
        const RECT rect{0, 0, 850, 600};
        EXPECT_TRUE(
            frame->Create(nullptr, "test frame", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, rect));
        uitest::PumpUntil(nullptr, 0);
        return frame->m_view;
    }
    std::string SettingsFile() const { return settings::SettingsFilePath(settings.path(), 7); }
    void WriteSetting(const char* section, const char* key, const std::string& value) const {
        WritePrivateProfileStringA(section, key, value.c_str(), SettingsFile().c_str());
    }
    int ReadSetting(const char* section, const char* key) const {
        return static_cast<int>(GetPrivateProfileIntA(section, key, -5, SettingsFile().c_str()));
    }
    std::string ValidCalibrationFile() const {
        std::string bytes(272, '\x5A');
        const float version = 2.0f;
        memcpy(bytes.data(), &version, 4);
        return settings.Write("camera.coe", bytes);
    }

    TempFolder program;
    TempFolder settings;
    std::unique_ptr<ViewFrame> frame;
};

TEST_F(ChildViewTest, MenuFollowsTheLayoutOrderWithLanguageTexts) {
    Layout(
        "[0]\nndx=0\n[1]\nndx=2\n[2]\nndx=8\n[3]\nndx=1\n[4]\nndx=3\n[5]\nndx=4\n[6]\nndx=8\n[7]"
        "\nndx=7\n[8]\nndx=6\n");
    Language("English.ini",
             "[Menu]\n0=General Settings\n1=Counter Settings\n2=Camera Angle\n"
             "3=Camera Angle Verification\n4=Calibration Test\n5=Unused\n6=About...\n"
             "7=Load Calibration File...\n");
    EXPECT_EQ(ReadMenu(Start().SettingsMenu()),
              (std::vector<std::string>{"150 General Settings", "152 Camera Angle", "-",
                                        "151 Counter Settings", "153 Camera Angle Verification",
                                        "154 Calibration Test", "-", "157 Load Calibration File...",
                                        "156 About..."}));
}

TEST_F(ChildViewTest, LayoutWithoutIndicesAndAMissingLanguageFile) {
    Layout("[Background]\nBackSetting=none.bmp\n");
    Language("Default.ini", "[Menu]\n7=Load Calibration File (default)\n");
    EXPECT_EQ(ReadMenu(Start("Missing.ini").SettingsMenu()),
              std::vector<std::string>(9, "157 Load Calibration File (default)"));
}

TEST_F(ChildViewTest, MenuCommandsFollowTheCalibrationAndTheAcceptedAngle) {
    const struct {
        const char* what;
        bool calibration, angleAccepted;
        const char* grayed;       // commands 150 to 157
        int displayObjectHeight;  // in the file afterwards; -5: absent
    } cases[] = {{"first start: a new file", false, false, "######..", 1},
                 {"valid calibration", true, false, "##.#.#..", -5},
                 {"accepted camera angle", false, true, "........", -5}};
    for (const auto& c : cases) {
        ::DeleteFileA(SettingsFile().c_str());
        if (c.calibration) WriteSetting("Calibration Data", "Path", ValidCalibrationFile());
        if (c.angleAccepted) WriteSetting("Camera Angle", "Setted", "1");
        EXPECT_EQ(GrayedCommands(Start().SettingsMenu()), c.grayed) << c.what;
        EXPECT_EQ(ReadSetting("Counter Settings", "Display Object Height"), c.displayObjectHeight)
            << c.what;
        TearDown();
    }
}

// A command the layout lists twice: every copy follows the rules, not only the first.
TEST_F(ChildViewTest, EveryCopyOfACommandIsGrayedAndEnabledAlike) {
    Layout("[0]\nndx=0\n[1]\nndx=4\n[2]\nndx=0\n[3]\nndx=4\n[4]\nndx=7\n");
    WriteSetting("Calibration Data", "Path", ValidCalibrationFile());
    HMENU menu = Start().SettingsMenu();
    std::string byPosition;  // '#' grayed, '.' enabled
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        byPosition +=
            (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED) ? '#' : '.';
    EXPECT_EQ(byPosition.substr(0, 4), "#.#.");  // 150 waits for an angle, 154 does not
}

TEST_F(ChildViewTest, HostCalibrationChangeResetsAngleAndLineOnlyForAValidFile) {
    WriteSetting("Camera Angle", "Setted", "1");
    WriteSetting("Counter Settings", "Setted", "1");
    CChildView& view = Start();
    HMENU menu = view.SettingsMenu();

    // The host names a file that fails the check: nothing changes.
    WriteSetting("Calibration Data", "Path", settings.File("missing.coe"));
    view.SendMessage(WM_VIEW_CALIBRATION_CHANGED);
    EXPECT_EQ(GrayedCommands(menu).substr(0, 5), ".....");
    EXPECT_EQ(view.Settings().cameraAngleSetted, 1);

    WriteSetting("Calibration Data", "Path", ValidCalibrationFile());
    view.SendMessage(WM_VIEW_CALIBRATION_CHANGED);
    EXPECT_EQ(GrayedCommands(menu).substr(0, 5), "##.#.");
    EXPECT_EQ(view.Settings().cameraAngleSetted, 0);
    EXPECT_EQ(view.Settings().counterSetted, 0);
    EXPECT_EQ(ReadSetting("Camera Angle", "Setted"), 0);
    EXPECT_EQ(ReadSetting("Counter Settings", "Setted"), 0);
}

TEST_F(ChildViewTest, DragStripMovesTheMainWindowOnlyInsideIt) {
    CChildView& view = Start();
    auto drag = [&](int x, int y) {
        view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        view.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 30, y + 20));
        view.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x + 30, y + 20));
        RECT rect{};
        GetWindowRect(frame->m_hWnd, &rect);
        return rect;
    };
    EXPECT_EQ(drag(100, 28).left, 0);  // just below the strip
    EXPECT_EQ(drag(780, 10).left, 0);  // just right of it
    const RECT moved = drag(779, 27);  // its last pixel
    EXPECT_EQ(moved.left, 30);
    EXPECT_EQ(moved.top, 20);

    // Another window takes the mouse mid-drag: the drag is over.
    view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SetCapture(uitest::HostWindow().m_hWnd);
    ReleaseCapture();
    view.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, 50));
    RECT after{};
    GetWindowRect(frame->m_hWnd, &after);
    EXPECT_EQ(after.left, 30) << "the window followed the mouse after losing it";
}

TEST_F(ChildViewTest, PictureRectangleAndButtonsFollowTheLayout) {
    Layout(
        "[Setting View Window]\nx=20\ny=40\ncx=640\ncy=480\n[Exit Btn]\ny=6\n"
        "[Setting Menu Btn]\nx=700\ny=500\ncx=60\ncy=50\n");
    CChildView& view = Start();
    EXPECT_EQ(uitest::Sides(view.PictureRect()), (std::array<LONG, 4>{20, 40, 660, 520}));
    const auto topLeftOf = [&](int id) {
        RECT rect{};
        GetWindowRect(view.GetDlgItem(id), &rect);
        MapWindowPoints(nullptr, view.m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        return std::pair{rect.left, rect.top};
    };
    EXPECT_EQ(topLeftOf(SC_CLOSE), std::pair(812L, 6L));
    EXPECT_EQ(topLeftOf(CChildView::kMenuButtonId), std::pair(700L, 500L));
}

// The menu dismissed without a choice leaves the settings button as the
// mouse left it, not showing its hover picture.
void CALLBACK DismissMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    if (fw::ModalLoop::Depth() == 0) return;  // not open yet
    KillTimer(nullptr, timer);
    fw::ModalLoop::EndAll();
}

TEST_F(ChildViewTest, SettingsButtonLeavesItsHoverWhenTheMenuIsDismissed) {
    CChildView& view = Start();
    auto* button = static_cast<CSkinButton*>(
        CWnd::FromHandlePermanent(view.GetDlgItem(CChildView::kMenuButtonId)));
    ASSERT_NE(button, nullptr);
    button->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ASSERT_EQ(button->GetHover(), 1);
    SetTimer(nullptr, 0, 50, &DismissMenu);
    view.SendMessage(WM_UI_BUTTON_CLICKED, CChildView::kMenuButtonId, 0);  // returns once dismissed
    EXPECT_EQ(button->GetHover(), 0);
    EXPECT_NE(GetCapture(), button->m_hWnd);
}

// The user inside the Camera Angle dialog's own loop: the host's answer
// arrives and the user presses Update, then Exit.
HWND g_view = nullptr;
int g_steps = 0;
int g_idle = 0;
void CALLBACK AngleUserStep(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = uitest::FindThreadDialog(GetCurrentThreadId(), "Camera Angle");
    if (!dialog && ++g_idle < 100) return;  // at most five seconds without it
    if (dialog && g_steps++ == 0) {
        SendMessageA(g_view, WM_VIEW_CAMERA_ANGLE, 0, 0);
        SendMessageA(GetDlgItem(dialog, 1013), BM_CLICK, 0, 0);  // Update
        return;
    }
    KillTimer(nullptr, timer);
    if (dialog) {
        PostMessageA(GetDlgItem(dialog, 1014), BM_CLICK, 0, 0);  // Exit
    } else {
        fw::ModalLoop::EndAll();
    }
}

TEST_F(ChildViewTest, AngleAcceptedInTheDialogEnablesTheMenuOnceItCloses) {
    WriteSetting("Calibration Data", "Path", ValidCalibrationFile());
    KernelHandle mapping(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 12,
                                            "Varanix_Tallyscope_CameraAngle"));
    MappedView block(MapViewOfFile(mapping.get(), FILE_MAP_ALL_ACCESS, 0, 0, 12));
    ASSERT_TRUE(block);
    const float answer[3] = {0.01f, -0.5f, 0.02f};
    memcpy(block.get(), answer, sizeof answer);

    CChildView& view = Start();
    HMENU menu = view.SettingsMenu();
    EXPECT_EQ(GrayedCommands(menu).substr(0, 5), "##.#.");
    g_view = view.m_hWnd;
    SetTimer(nullptr, 0, 50, &AngleUserStep);
    view.SendMessage(WM_COMMAND, 152, 0);  // returns once the dialog has closed
    EXPECT_EQ(g_steps, 2);
    EXPECT_EQ(GrayedCommands(menu).substr(0, 5), ".....");
    EXPECT_EQ(view.Settings().angleYZ, -0.5f);
    EXPECT_EQ(ReadSetting("Camera Angle", "Setted"), 1);
}

}  // namespace
