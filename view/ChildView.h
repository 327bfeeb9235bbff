#pragma once
// The main view: the only child of the main frame and the hub of the program.
// It owns the camera's settings, the settings menu, the skin, the picture
// feed and the host link; it shows the live picture with its overlays and
// runs the settings commands one at a time.
#include <memory>
#include <string>

#include "framework/Handles.h"
#include "framework/Wnd.h"
#include "hostlink/HostLink.h"
#include "settings/CameraSettings.h"
#include "settings/SettingsFile.h"
#include "view/CalibrationTestCommand.h"
#include "view/CameraAngleCommand.h"
#include "view/CounterSettingsCommand.h"
#include "view/GeneralSettingsCommand.h"
#include "view/LivePicture.h"
#include "view/PictureFeed.h"
#include "view/Skin.h"
#include "view/ViewContext.h"

class CAboutDlg;

// What the view needs of the command line and the program's place; the
// application hands it over before the view is created.
struct ViewStartup {
    std::string moduleFolder;   // ends with a backslash
    std::string settingFolder;  // as given on the command line, no backslash added
    int cameraId = 0;
    HWND hostWnd = nullptr;
    std::string languageIni;  // file name in resources\Lang
};

class CChildView : public CWnd {
  public:
    CChildView();
    ~CChildView() override;

    // Creates the window and, when that succeeded, runs the view's set-up.
    BOOL Create(const char* className, const char* windowName, DWORD style, const RECT& rect,
                CWnd* parent, UINT id) override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void SetStartup(ViewStartup startup) { m_startup = std::move(startup); }

    // The settings file of this camera.
    void CreateSettingIni(const std::string& path);
    void LoadSettingIni(int selector);
    void SaveSettingIni(int selector);

    const CameraSettings& Settings() const { return m_settings; }
    HMENU SettingsMenu() const { return m_settingsMenu.get(); }
    const std::string& LanguageFile() const { return m_languageFile; }
    const RECT& PictureRect() const { return m_skin.PictureRect(); }
    bool HasMask() const { return m_counterSettings.Mask() != nullptr; }
    const uint8_t* ReferencePicture() const { return m_feed.Reference(); }

    // The drag strip at the top of the view: a press there moves the main window.
    static constexpr RECT kDragStrip{0, 0, 780, 28};
    static constexpr UINT kMenuButtonId = Skin::kMenuButtonId;

  protected:
    void OnPaint();
    void OnLButtonDown(UINT flags, POINT point);
    void OnMouseMove(UINT flags, POINT point);
    void OnLButtonUp(UINT flags, POINT point);
    void OnCaptureChanged(WPARAM, LPARAM);
    void OnButtonClicked(WPARAM id, LPARAM);
    void OnMenuCommand(UINT id);
    void OnIgnoredCommand(UINT) {}

    // The host's messages.
    void OnNewFrame(WPARAM wp, LPARAM lp);
    void OnCountingLine(WPARAM wp, LPARAM lp);
    void OnHostClose(WPARAM, LPARAM);
    void OnCalibrationChanged(WPARAM, LPARAM);
    void OnMarkerRect(WPARAM wp, LPARAM lp);
    void OnCounterRect(WPARAM wp, LPARAM lp);
    void OnCountingLine3D(WPARAM wp, LPARAM lp);
    void OnCameraAngle(WPARAM wp, LPARAM lp);
    void OnRegionResult(WPARAM wp, LPARAM lp);
    // Requests of the open dialog for the host.
    void OnHostRequest(WPARAM wp, LPARAM lp);
    void OnCameraAngleAccepted(WPARAM wp, LPARAM lp);

    DECLARE_MESSAGE_MAP()

  private:
    // Posts WM_HOST_DETACH when it goes, once the view has attached. Declared
    // before everything the host shares, it goes after all of it: the
    // detach is the last word.
    struct Detach {
        hostlink::HostLink& host;
        bool attached = false;
        ~Detach() {
            if (attached) host.Detach();
        }
    };

    void SetUp();
    void EnableCommands(std::initializer_list<UINT> ids, bool enable);
    void ShowLivePicture();
    void ChooseCalibrationFile();
    void ShowAbout();

    ViewStartup m_startup;
    hostlink::HostLink m_host;
    Detach m_detach{m_host};
    CameraSettings m_settings;
    settings::SettingsFile m_settingsFile;
    std::string m_languageFile;
    PictureFeed m_feed;
    ActiveDialog m_activeDialog{m_host};
    ViewContext m_context{*this,  m_settings,     m_settingsFile,          m_host,
                          m_feed, m_activeDialog, m_startup.settingFolder, m_startup.cameraId};
    GeneralSettingsCommand m_generalSettings{m_context};
    CounterSettingsCommand m_counterSettings{m_context};
    CameraAngleCommand m_cameraAngle{m_context};
    CalibrationTestCommand m_calibrationTest{m_context};
    std::unique_ptr<CAboutDlg> m_aboutDlg;

    Skin m_skin;
    MenuHandle m_settingsMenu;
    LivePicture m_live;

    // Moving the main window by its title strip.
    bool m_dragging = false;
    POINT m_grabPoint{};
};
