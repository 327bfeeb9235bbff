#pragma once
// The main view: the only child of the main frame and the hub of the program.
// It owns the camera's settings, the settings menu, the skin, the picture
// buffers and the host link; it shows the live picture with its overlays and
// opens the settings dialogs one at a time.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "framework/Dialog.h"
#include "framework/GdiPlus.h"
#include "framework/Handles.h"
#include "framework/Wnd.h"
#include "hostlink/HostLink.h"
#include "hostlink/OverlayGeometry.h"
#include "hostlink/SharedBlock.h"
#include "settings/CameraSettings.h"
#include "settings/SettingsFile.h"
#include "controls/CountingLinePainter.h"
#include "controls/SkinButton.h"
#include "dialogs/CameraAngleDlg.h"
#include "dialogs/CameraAngleVerifyDlg.h"
#include "dialogs/CalibrationTestDlg.h"
#include "dialogs/CounterSettingsDlg.h"
#include "dialogs/GeneralSettingsDlg.h"

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
    // Several sections saved as one change: a kill leaves all or none of them.
    void SaveSettingIni(std::initializer_list<int32_t> selectors);

    const CameraSettings& Settings() const { return m_settings; }
    HMENU SettingsMenu() const { return m_settingsMenu.get(); }
    const std::string& LanguageFile() const { return m_languageFile; }
    const RECT& PictureRect() const { return m_pictureRect; }
    bool HasMask() const { return m_maskRegion.valid(); }
    const std::vector<uint8_t>& ReferencePicture() const { return m_referencePicture; }

    // The drag strip at the top of the view: a press there moves the main window.
    static constexpr RECT kDragStrip{0, 0, 780, 28};
    static constexpr UINT kMenuButtonId = 101;
    static constexpr UINT kFirstMenuCommand = 150;
    static constexpr UINT kLastMenuCommand = 157;

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
    void SetUp();
    void ResolveLanguageFile();
    void LoadSkin();
    void EnableCommands(std::initializer_list<UINT> ids, bool enable);

    void OnLivePicture(uint32_t width, uint32_t height);
    void OnRectifiedPictures(uint32_t count, uint32_t width, uint32_t height);
    void ComposeAndShow();
    void DrawCountingLineOverlay();
    void DrawMaskOverlay();
    void DrawMarkerRectangle();
    void RebuildOverlayTransforms();

    void ChooseCalibrationFile();
    // Counter Settings (CounterSettingsCommands.cpp).
    void RunCounterSettings();
    // Stores the Counter Settings section and the mask as one change; tells
    // the user what could not be stored. False when the settings were not.
    bool StoreCounterSettings(HRGN mask);
    void RequestCountingLine();
    // Camera Angle and its Verification (CameraAngleCommands.cpp).
    void RunCameraAngle();
    void RunVerification();
    void RequestPatternFeatures();
    bool CameraAngleDialogOpen() const;
    // General Settings (GeneralSettingsCommands.cpp).
    void RunGeneralSettings();
    // Calibration Test (CalibrationTestCommands.cpp).
    void RunCalibrationTest();
    void RequestRegionMeasure();
    // Makes the dialog the one host answers go to, brackets it for the host
    // and runs it; returns what DoModal returned.
    INT_PTR RunPictureDialog(CDialog& dialog, uint32_t pictures);
    void ShowAbout();

    ViewStartup m_startup;
    CameraSettings m_settings;
    settings::SettingsFile m_settingsFile;
    std::string m_languageFile;
    std::string m_referencePicturePath;
    std::string m_maskFilePath;

    // Skin.
    BitmapPtr m_background;
    CSkinButton m_exitButton;
    CSkinButton m_menuButton;
    RECT m_pictureRect{14, 35, 334, 275};
    MenuHandle m_settingsMenu;

    // Dialogs.
    CCounterSettingsDlg m_counterSettingsDlg{this};
    CCameraAngleDlg m_cameraAngleDlg{this};
    CCameraAngleVerifyDlg m_verifyDlg{this};
    CGeneralSettingsDlg m_generalSettingsDlg{this};
    CCalibrationTestDlg m_calibrationTestDlg{this};
    std::unique_ptr<CAboutDlg> m_aboutDlg;
    CDialog* m_activeDialog = nullptr;

    // Moving the main window by its title strip.
    bool m_dragging = false;
    POINT m_grabPoint{};

    // Host link.
    hostlink::HostLink m_host;
    hostlink::SharedBlock m_imageBlock{hostlink::HostBlock::Image};
    hostlink::SharedBlock m_rectImageBlock{hostlink::HostBlock::RectImage};
    hostlink::SharedBlock m_countingLineBlock{hostlink::HostBlock::CountingLine};
    hostlink::SharedBlock m_patternBlock{hostlink::HostBlock::PatternFeature};
    hostlink::SharedBlock m_cameraAngleBlock{hostlink::HostBlock::CameraAngle};
    // The picture line last sent with WM_HOST_EDIT_COUNTING_LINE: the host's
    // answer carries only the floor coordinates.
    CountingLineRecord m_lineSentToHost;
    // The left picture's region last sent with WM_HOST_MEASURE_REGION: the
    // host's answer carries only its disparity and distance.
    RECT m_regionSentToHost{0, 0, 0, 0};

    // Live picture: header and buffer from the first live picture on.
    BITMAPINFOHEADER m_liveHeader{};
    int32_t m_liveWidth = 0;
    int32_t m_liveHeight = 0;
    std::vector<uint8_t> m_livePixels;
    // Rectified pictures for the dialogs and the reference picture.
    BITMAPINFOHEADER m_rectifiedHeader{};
    std::vector<uint8_t> m_leftPicture;
    std::vector<uint8_t> m_rightPicture;
    std::vector<uint8_t> m_referencePicture;

    // Off-screen composition: a 320 x 240 bitmap in a memory DC.
    MemoryDc m_memoryDc;
    BitmapHandle m_memoryBitmap;
    HGDIOBJ m_memoryDcOldBitmap = nullptr;
    std::unique_ptr<Gdiplus::Graphics> m_memoryGraphics;

    // Overlays and the GDI/GDI+ objects that draw them, made once.
    BitmapPtr m_arrowIn;
    BitmapPtr m_arrowOut;
    hostlink::CountingLineOverlay m_overlay;  // P1, P2 as the host sent them
    controls::CountingLinePainter m_painter;
    PenHandle m_linePen;
    PenHandle m_markerPen;
    RegionHandle m_maskRegion;
    RECT m_markerRect{0, 0, 0, 0};
    RECT m_counterRect{0, 0, 0, 0};
};
