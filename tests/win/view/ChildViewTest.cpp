// The main view in-process: its set-up from the settings, skin and language
// files, the settings menu (menus cannot be read from another process under
// Wine), enabling and graying, and the host's calibration change.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "framework/FrameWnd.h"
#include "framework/GdiPlus.h"
#include "framework/WinApp.h"
#include "hostlink/HostMessages.h"
#include "hostlink/SharedBlock.h"
#include "settings/SettingsPaths.h"
#include "support/UniqueFolder.h"
#include "view/ChildView.h"

namespace {

CWinApp g_app("Tallyscope");

std::string TempFolder(const char* tag) {
    return CreateUniqueTempFolder((std::string("tsc-view-") + tag).c_str());
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// A program folder with a skin layout and language files of the test's choice.
struct ProgramFolder {
    std::string root = TempFolder("program") + "\\";
    ProgramFolder() {
        CreateDirectoryA((root + "resources").c_str(), nullptr);
        CreateDirectoryA((root + "resources\\Lang").c_str(), nullptr);
    }
    void Layout(const std::string& text) const { WriteText(root + "resources\\Layout.ini", text); }
    void Language(const std::string& name, const std::string& text) const {
        WriteText(root + "resources\\Lang\\" + name, text);
    }
};

// A frame holding the view, as the main frame does.
class TestFrame : public CFrameWnd {
  public:
    explicit TestFrame(ViewStartup startup) { m_view.SetStartup(std::move(startup)); }
    CChildView m_view;

  protected:
    int OnCreate(LPCREATESTRUCT) {
        const RECT empty{0, 0, 0, 0};
        return m_view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, empty, this,
                             AFX_IDW_PANE_FIRST)
                   ? 0
                   : -1;
    }
    void PostNcDestroy() override {}  // the test owns the frame
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(TestFrame, CFrameWnd)
ON_MESSAGE(WM_CREATE, OnCreate)
END_MESSAGE_MAP()

class GdiplusSession {
  public:
    GdiplusSession() : m_token(StartGdiplus()) {}
    ~GdiplusSession() { ShutdownGdiplus(m_token); }

  private:
    ULONG_PTR m_token;
};

struct MenuItem {
    UINT id;
    bool separator;
    std::string text;
    bool grayed;
};

std::vector<MenuItem> ReadMenu(HMENU menu) {
    std::vector<MenuItem> items;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[300] = "";
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_STATE;
        info.dwTypeData = text;
        info.cch = sizeof text - 1;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        items.push_back(
            {info.wID, (info.fType & MFT_SEPARATOR) != 0, text, (info.fState & MFS_GRAYED) != 0});
    }
    return items;
}

bool Grayed(HMENU menu, UINT id) {
    const UINT state = GetMenuState(menu, id, MF_BYCOMMAND);
    EXPECT_NE(state, 0xFFFFFFFFu) << "no menu item " << id;
    return state != 0xFFFFFFFFu && (state & MF_GRAYED) != 0;
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

class ChildViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        settingsFolder = TempFolder("settings");
        // Every command once, in command order (tests that need another layout write their own).
        program.Layout(
            "[0]\nndx=0\n[1]\nndx=1\n[2]\nndx=2\n[3]\nndx=3\n[4]\nndx=4\n[5]\nndx=5\n[6]\nndx=6\n"
            "[7]\nndx=7\n[8]\nndx=8\n");
    }
    void TearDown() override {
        if (frame && frame->m_hWnd) frame->DestroyWindow();
        frame.reset();
        g_app.m_pMainWnd = nullptr;
        Pump();
    }

    CChildView& Start(const std::string& language = "English.ini") {
        ViewStartup startup{program.root, settingsFolder, 7, nullptr, language};
        frame = std::make_unique<TestFrame>(startup);
        g_app.m_pMainWnd = frame.get();
        const RECT rect{0, 0, 850, 600};
        EXPECT_TRUE(
            frame->Create(nullptr, "test frame", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, rect));
        Pump();
        return frame->m_view;
    }
    std::string SettingsFile() const { return settings::SettingsFilePath(settingsFolder, 7); }
    void WriteSetting(const char* section, const char* key, const std::string& value) const {
        WritePrivateProfileStringA(section, key, value.c_str(), SettingsFile().c_str());
    }
    std::string ValidCalibrationFile() const {
        std::string bytes(272, '\x5A');
        const float version = 2.0f;
        memcpy(bytes.data(), &version, 4);
        const std::string path = settingsFolder + "\\camera.coe";
        WriteText(path, bytes);
        return path;
    }

    GdiplusSession gdiplus;
    ProgramFolder program;
    std::string settingsFolder;
    std::unique_ptr<TestFrame> frame;
};

const char kEnglishMenu[] =
    "[Menu]\n0=General Settings\n1=Counter Settings\n2=Camera Angle\n3=Camera Angle Verification\n"
    "4=Calibration Test\n5=Unused\n6=About...\n7=Load Calibration File...\n";

TEST_F(ChildViewTest, MenuFollowsTheLayoutOrderWithLanguageTexts) {
    program.Layout(
        "[0]\nndx=0\n[1]\nndx=2\n[2]\nndx=8\n[3]\nndx=1\n[4]\nndx=3\n[5]\nndx=4\n[6]\nndx=8\n[7]"
        "\nndx=7\n[8]\nndx=6\n");
    program.Language("English.ini", kEnglishMenu);
    const auto items = ReadMenu(Start().SettingsMenu());
    ASSERT_EQ(items.size(), 9u);
    const UINT ids[] = {150, 152, 0, 151, 153, 154, 0, 157, 156};
    const char* texts[] = {"General Settings",
                           "Camera Angle",
                           "",
                           "Counter Settings",
                           "Camera Angle Verification",
                           "Calibration Test",
                           "",
                           "Load Calibration File...",
                           "About..."};
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].separator, ids[i] == 0) << i;
        if (ids[i]) {
            EXPECT_EQ(items[i].id, ids[i]) << i;
            EXPECT_EQ(items[i].text, texts[i]) << i;
        }
    }
}

TEST_F(ChildViewTest, LayoutWithoutIndicesGivesNineLoadCalibrationItems) {
    program.Layout("[Background]\nBackSetting=none.bmp\n");
    program.Language("English.ini", kEnglishMenu);
    const auto items = ReadMenu(Start().SettingsMenu());
    ASSERT_EQ(items.size(), 9u);
    for (const MenuItem& item : items) {
        EXPECT_FALSE(item.separator);
        EXPECT_EQ(item.id, 157u);
        EXPECT_EQ(item.text, "Load Calibration File...");
    }
}

TEST_F(ChildViewTest, NamedLanguageFileDefaultFallbackAndNoFileAtAll) {
    program.Layout(
        "[0]\nndx=2\n[1]\nndx=8\n[2]\nndx=8\n[3]\nndx=8\n[4]\nndx=8\n[5]\nndx=8\n[6]\nndx=8\n[7]"
        "\nndx=8\n"
        "[8]\nndx=8\n");
    program.Language("Deutsch.ini", "[Menu]\n2=Kamerawinkel\n");
    EXPECT_EQ(ReadMenu(Start("Deutsch.ini").SettingsMenu())[0].text, "Kamerawinkel");
    TearDown();

    program.Language("Default.ini", "[Menu]\n2=Camera Angle (default)\n");
    EXPECT_EQ(ReadMenu(Start("Missing.ini").SettingsMenu())[0].text, "Camera Angle (default)");
    TearDown();

    DeleteFileA((program.root + "resources\\Lang\\Default.ini").c_str());
    EXPECT_EQ(ReadMenu(Start("Missing.ini").SettingsMenu())[0].text, "");
}

TEST_F(ChildViewTest, FirstStartGraysEverythingButAboutAndCalibrationFile) {
    CChildView& view = Start();
    HMENU menu = view.SettingsMenu();
    for (UINT id = 150; id <= 155; ++id) EXPECT_TRUE(Grayed(menu, id)) << id;
    EXPECT_FALSE(Grayed(menu, 156));
    EXPECT_FALSE(Grayed(menu, 157));
    // The new settings file holds the new-file content.
    EXPECT_EQ(GetPrivateProfileIntA("Counter Settings", "Display Object Height", -5,
                                    SettingsFile().c_str()),
              1);
    EXPECT_EQ(view.Settings().displayObjectHeight, 1);
}

TEST_F(ChildViewTest, ValidCalibrationEnablesCameraAngleAndCalibrationTest) {
    CreateDirectoryA(settingsFolder.c_str(), nullptr);
    WriteSetting("Calibration Data", "Path", ValidCalibrationFile());
    HMENU menu = Start().SettingsMenu();
    for (UINT id : {150u, 151u, 153u, 155u}) EXPECT_TRUE(Grayed(menu, id)) << id;
    EXPECT_FALSE(Grayed(menu, 152));
    EXPECT_FALSE(Grayed(menu, 154));
}

TEST_F(ChildViewTest, AcceptedCameraAngleEnablesTheWholeMenu) {
    WriteSetting("Camera Angle", "Setted", "1");
    HMENU menu = Start().SettingsMenu();
    for (UINT id = 150; id <= 157; ++id) EXPECT_FALSE(Grayed(menu, id)) << id;
}

TEST_F(ChildViewTest, HostCalibrationChangeResetsAngleAndLineOnlyForAValidFile) {
    WriteSetting("Camera Angle", "Setted", "1");
    WriteSetting("Counter Settings", "Setted", "1");
    CChildView& view = Start();
    HMENU menu = view.SettingsMenu();

    // The host names a file that fails the check: nothing changes.
    WriteSetting("Calibration Data", "Path", settingsFolder + "\\missing.coe");
    view.SendMessage(WM_VIEW_CALIBRATION_CHANGED);
    for (UINT id = 150; id <= 154; ++id) EXPECT_FALSE(Grayed(menu, id)) << id;
    EXPECT_EQ(view.Settings().cameraAngleSetted, 1);

    WriteSetting("Calibration Data", "Path", ValidCalibrationFile());
    view.SendMessage(WM_VIEW_CALIBRATION_CHANGED);
    for (UINT id : {150u, 151u, 153u}) EXPECT_TRUE(Grayed(menu, id)) << id;
    EXPECT_FALSE(Grayed(menu, 152));
    EXPECT_FALSE(Grayed(menu, 154));
    EXPECT_EQ(view.Settings().cameraAngleSetted, 0);
    EXPECT_EQ(view.Settings().counterSetted, 0);
    EXPECT_EQ(GetPrivateProfileIntA("Camera Angle", "Setted", -1, SettingsFile().c_str()), 0);
    EXPECT_EQ(GetPrivateProfileIntA("Counter Settings", "Setted", -1, SettingsFile().c_str()), 0);
}

TEST_F(ChildViewTest, ReferencePictureAndMaskAreLoadedWhenPresent) {
    // A 320 x 240 reference picture whose first pixel byte is 77.
    std::string bmp(54 + 230400, '\0');
    const unsigned char header[54] = {'B', 'M', 0x36, 0x84, 0x03, 0, 0, 0,   0, 0, 54, 0, 0, 0,  40,
                                      0,   0,   0,    0x40, 1,    0, 0, 240, 0, 0, 0,  1, 0, 24, 0};
    memcpy(bmp.data(), header, sizeof header);
    bmp[54] = 77;
    WriteText(settings::ReferencePicturePath(settingsFolder, 7), bmp);
    // One rectangle (10, 20, 110, 120) as region data, and its size.
    const int32_t mask[12] = {32, 1, 1, 16, 10, 20, 110, 120, 10, 20, 110, 120};
    WriteText(settings::MaskFilePath(settingsFolder, 7),
              std::string(reinterpret_cast<const char*>(mask), 48));
    WriteSetting("Counter Settings", "Mask Size", "48");

    CChildView& view = Start();
    EXPECT_EQ(view.ReferencePicture()[0], 77);
    EXPECT_TRUE(view.HasMask());
    EXPECT_EQ(view.Settings().maskSize, 48);
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
    RECT rect = drag(100, 28);  // just below the strip
    EXPECT_EQ(rect.left, 0);
    rect = drag(780, 10);  // just right of it
    EXPECT_EQ(rect.left, 0);
    rect = drag(779, 27);  // its last pixel
    EXPECT_EQ(rect.left, 30);
    EXPECT_EQ(rect.top, 20);
}

TEST_F(ChildViewTest, PictureRectangleAndButtonsFollowTheLayout) {
    program.Layout(
        "[Setting View Window]\nx=20\ny=40\ncx=640\ncy=480\n[Exit Btn]\ny=6\n"
        "[Setting Menu Btn]\nx=700\ny=500\ncx=60\ncy=50\n");
    CChildView& view = Start();
    const RECT& picture = view.PictureRect();
    EXPECT_EQ(picture.left, 20);
    EXPECT_EQ(picture.top, 40);
    EXPECT_EQ(picture.right, 660);
    EXPECT_EQ(picture.bottom, 520);
    RECT exit{};
    GetWindowRect(view.GetDlgItem(SC_CLOSE), &exit);
    MapWindowPoints(nullptr, view.m_hWnd, reinterpret_cast<POINT*>(&exit), 2);
    EXPECT_EQ(exit.left, 812);
    EXPECT_EQ(exit.top, 6);
    RECT menuButton{};
    GetWindowRect(view.GetDlgItem(CChildView::kMenuButtonId), &menuButton);
    MapWindowPoints(nullptr, view.m_hWnd, reinterpret_cast<POINT*>(&menuButton), 2);
    EXPECT_EQ(menuButton.left, 700);
    EXPECT_EQ(menuButton.top, 500);
}

}  // namespace

namespace {
std::vector<std::string> g_blockFailures;
void RecordBlockFailure(const char* text) {
    g_blockFailures.push_back(text);
}

TEST_F(ChildViewTest, LivePictureWithoutTheImageBlockIsReportedEachTime) {
    hostlink::SetBlockFailureSink(&RecordBlockFailure);
    g_blockFailures.clear();
    CChildView& view = Start();
    view.SendMessage(WM_VIEW_NEW_FRAME, 0, (320 << 16) | 240);
    view.SendMessage(WM_VIEW_NEW_FRAME, 0, (320 << 16) | 240);
    hostlink::SetBlockFailureSink(nullptr);
    ASSERT_EQ(g_blockFailures.size(), 2u);
    EXPECT_EQ(g_blockFailures[0], "Can't Open Shared Memory for Reading Image!");
}
}  // namespace

namespace {
// The user inside the Camera Angle dialog's own loop: the host's answer
// arrives and the user presses Update, then Exit.
HWND g_view = nullptr;
int g_steps = 0;
int g_idle = 0;
void CALLBACK AngleUserStep(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindWindowA("#32770", "Camera Angle");
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
        CDialog::EndAllModal(IDCANCEL);
    }
}

TEST_F(ChildViewTest, AngleAcceptedInTheDialogEnablesTheMenuOnceItCloses) {
    CreateDirectoryA(settingsFolder.c_str(), nullptr);
    WriteSetting("Calibration Data", "Path", ValidCalibrationFile());
    KernelHandle mapping(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 12,
                                            "Varanix_Tallyscope_CameraAngle"));
    MappedView block(MapViewOfFile(mapping.get(), FILE_MAP_ALL_ACCESS, 0, 0, 12));
    ASSERT_TRUE(block);
    const float answer[3] = {0.01f, -0.5f, 0.02f};
    memcpy(block.get(), answer, sizeof answer);

    CChildView& view = Start();
    HMENU menu = view.SettingsMenu();
    for (UINT id : {150u, 151u, 153u}) EXPECT_TRUE(Grayed(menu, id)) << id;
    g_view = view.m_hWnd;
    SetTimer(nullptr, 0, 50, &AngleUserStep);
    view.SendMessage(WM_COMMAND, 152, 0);  // returns once the dialog has closed
    EXPECT_EQ(g_steps, 2);
    for (UINT id = 150; id <= 154; ++id) EXPECT_FALSE(Grayed(menu, id)) << id;
    EXPECT_EQ(view.Settings().angleYZ, -0.5f);
    EXPECT_EQ(GetPrivateProfileIntA("Camera Angle", "Setted", 0, SettingsFile().c_str()), 1);
}
}  // namespace
