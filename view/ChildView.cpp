#include "view/ChildView.h"

#include <commdlg.h>

#include <algorithm>

#include "dialogs/AboutDlg.h"
#include "framework/File.h"
#include "framework/ModalLoop.h"
#include "framework/StartupTrace.h"
#include "framework/WinApp.h"
#include "hostlink/HostMessages.h"
#include "hostlink/HostPacking.h"
#include "res/Resource.h"
#include "settings/CalibrationCheck.h"
#include "settings/SettingsPaths.h"
#include "view/Language.h"

using settings::CheckCalibrationData;

BEGIN_MESSAGE_MAP(CChildView, CWnd)
ON_MESSAGE(WM_PAINT, OnPaint)
ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
ON_MESSAGE(WM_LBUTTONUP, OnLButtonUp)
ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
ON_MESSAGE(WM_UI_BUTTON_CLICKED, OnButtonClicked)
ON_MESSAGE(WM_VIEW_NEW_FRAME, OnNewFrame)
ON_MESSAGE(WM_VIEW_COUNTING_LINE, OnCountingLine)
ON_MESSAGE(WM_VIEW_CLOSE, OnHostClose)
ON_MESSAGE(WM_VIEW_CALIBRATION_CHANGED, OnCalibrationChanged)
ON_MESSAGE(WM_VIEW_MARKER_RECT, OnMarkerRect)
ON_MESSAGE(WM_VIEW_COUNTER_RECT, OnCounterRect)
ON_MESSAGE(WM_VIEW_COUNTING_LINE_3D, OnCountingLine3D)
ON_MESSAGE(WM_VIEW_CAMERA_ANGLE, OnCameraAngle)
ON_MESSAGE(WM_VIEW_REGION_RESULT, OnRegionResult)
ON_MESSAGE(WM_UI_HOST_REQUEST, OnHostRequest)
ON_MESSAGE(WM_UI_CAMERA_ANGLE_ACCEPTED, OnCameraAngleAccepted)
ON_COMMAND_RANGE(ID_FIRST_MENU_COMMAND, ID_LAST_MENU_COMMAND, OnMenuCommand)
ON_COMMAND_RANGE(ID_IGNORED_FIRST, ID_IGNORED_LAST, OnIgnoredCommand)
END_MESSAGE_MAP()

CChildView::CChildView() : m_settingsMenu(::CreatePopupMenu()) {}

CChildView::~CChildView() {
    // The settings file is complete before anything the host shares goes
    // (the members, in the reverse order of their declaration). A copy whose
    // host has gone does not rewrite the whole file: everything it confirmed
    // was written when confirmed, and a copy that a new host started for the
    // same camera may have confirmed newer values since.
    if (!m_settingsFile.GetPath().empty() && !m_host.HostGone()) SaveSettingIni(kAllSections);
}

BOOL CChildView::PreCreateWindow(CREATESTRUCTA& cs) {
    if (!CWnd::PreCreateWindow(cs)) return FALSE;
    cs.style &= ~WS_BORDER;
    cs.style |= WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    cs.lpszClass =
        AfxRegisterWndClass(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                            reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr);
    return TRUE;
}

BOOL CChildView::Create(const char* className, const char* windowName, DWORD style,
                        const RECT& rect, CWnd* parent, UINT id) {
    if (!CWnd::Create(className, windowName, style, rect, parent, id)) return FALSE;
    SetUp();
    return TRUE;
}

void CChildView::CreateSettingIni(const std::string& path) {
    m_settingsFile.CreateSettingIni(path);
}
void CChildView::LoadSettingIni(int selector) {
    m_settingsFile.LoadSettingIni(m_settings, selector);
}
void CChildView::SaveSettingIni(int selector) {
    m_settingsFile.SaveSettingIni(m_settings, selector);
}

void CChildView::EnableCommands(std::initializer_list<UINT> ids, bool enable) {
    // By position: the layout may list a command more than once, and every
    // copy follows the rules (by command only the first one would).
    HMENU menu = m_settingsMenu.get();
    for (int position = 0, count = ::GetMenuItemCount(menu); position < count; ++position) {
        const UINT id = ::GetMenuItemID(menu, position);
        if (std::find(ids.begin(), ids.end(), id) == ids.end()) continue;
        ::EnableMenuItem(menu, static_cast<UINT>(position),
                         MF_BYPOSITION | (enable ? MF_ENABLED : (MF_GRAYED | MF_DISABLED)));
    }
}

void CChildView::SetUp() {
    StartupStep("main and view windows");
    m_host.SetHostWindow(m_startup.hostWnd);

    CreateSettingIni(settings::SettingsFilePath(m_startup.settingFolder, m_startup.cameraId));
    StartupStep("settings file: made when missing");
    LoadSettingIni(kAllSections);
    StartupStep("settings file: read");

    m_languageFile = ResolveLanguageFile(m_startup.moduleFolder, m_startup.languageIni);
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    ::GetWindowPlacement(AfxGetMainWnd(), &placement);
    const RECT& frame = placement.rcNormalPosition;
    m_skin.Load(*this, frame.right - frame.left, frame.bottom - frame.top, m_startup.moduleFolder,
                m_languageFile, m_settingsMenu.get());
    StartupStep("language file, skin, menu");

    EnableCommands({ID_GENERAL_SETTINGS, ID_COUNTER_SETTINGS, ID_CAMERA_ANGLE,
                    ID_ANGLE_VERIFICATION, ID_CALIBRATION_TEST, ID_NO_ACTION},
                   false);
    if (CheckCalibrationData(m_settings.calibrationPath))
        EnableCommands({ID_CAMERA_ANGLE, ID_CALIBRATION_TEST}, true);

    StartupStep("calibration check");
    m_live.LoadArrows();
    StartupStep("arrow pictures");
    m_aboutDlg = std::make_unique<CAboutDlg>(this);
    if (!m_aboutDlg->Create(IDD_ABOUTBOX, this)) m_aboutDlg.reset();
    StartupStep("About dialog");
    if (m_settings.cameraAngleSetted) {
        EnableCommands(
            {ID_GENERAL_SETTINGS, ID_COUNTER_SETTINGS, ID_CAMERA_ANGLE, ID_ANGLE_VERIFICATION,
             ID_CALIBRATION_TEST, ID_NO_ACTION, ID_CALIBRATION_FILE},
            true);
    }
    // The dialogs' pictures, units and language file; the reference picture
    // and the mask from their files.
    m_cameraAngle.SetUp(m_languageFile);
    m_counterSettings.SetUp(m_languageFile);
    m_calibrationTest.SetUp(m_languageFile);
    m_generalSettings.SetLanguageFile(m_languageFile);
    StartupStep("dialogs' pictures, reference picture, mask");

    m_live.Create(m_hWnd);
    m_live.SetInAngle(m_settings.angleIn);
    StartupStep("off-screen bitmap, pens");

    m_host.Attach(m_hWnd, AfxGetMainWnd());
    m_detach.attached = true;
    StartupStep("WM_HOST_ATTACH posted");
    if (m_settings.counterSetted) {
        m_host.SetCountingLine({m_settings.imageLine[0].x, m_settings.imageLine[0].y},
                               {m_settings.imageLine[1].x, m_settings.imageLine[1].y});
    }
}

// ---- Painting and the pictures ----

void CChildView::OnPaint() {
    PaintDc paint(m_hWnd);
    m_skin.PaintBackground(paint.get());
    ShowLivePicture();
}

void CChildView::ShowLivePicture() {
    m_live.Show(m_hWnd, m_skin.PictureRect(), m_feed, m_settings, m_counterSettings.Mask());
}

void CChildView::OnNewFrame(WPARAM wp, LPARAM lp) {
    const hostlink::FrameSize size = hostlink::UnpackFrameSize(static_cast<uint64_t>(lp));
    switch (hostlink::FrameKind(static_cast<uint64_t>(wp))) {
        case hostlink::kFrameLive:
            if (m_feed.TakeLivePicture(size)) ShowLivePicture();
            break;
        case hostlink::kFrameRectified: {
            // Only while a picture dialog is open, and it is told of them.
            CDialog* dialog = m_activeDialog.Get();
            if (dialog &&
                m_feed.TakeRectifiedPictures(hostlink::FrameCount(static_cast<uint64_t>(wp)), size))
                dialog->PostMessage(WM_UI_PICTURE_READY, 0, 0);
            break;
        }
        default:
            break;  // any other kind is not a picture of ours
    }
}

void CChildView::OnCountingLine(WPARAM wp, LPARAM lp) {
    m_live.SetHostLine(hostlink::UnpackPoint(static_cast<uint64_t>(wp)),
                       hostlink::UnpackPoint(static_cast<uint64_t>(lp)));
}

void CChildView::OnMarkerRect(WPARAM wp, LPARAM lp) {
    const hostlink::HostRect r =
        hostlink::UnpackRect(static_cast<uint64_t>(wp), static_cast<uint64_t>(lp));
    m_live.SetMarker({r.left, r.top, r.right, r.bottom});
}

void CChildView::OnCounterRect(WPARAM wp, LPARAM lp) {
    const hostlink::HostRect r =
        hostlink::UnpackRect(static_cast<uint64_t>(wp), static_cast<uint64_t>(lp));
    m_counterSettings.SetCounterRect({r.left, r.top, r.right, r.bottom});
}

void CChildView::OnHostClose(WPARAM, LPARAM) {
    ::PostMessageA(AfxGetMainWnd(), WM_CLOSE, 0, 0);
}

void CChildView::OnCalibrationChanged(WPARAM, LPARAM) {
    LoadSettingIni(kCalibrationData);
    if (!CheckCalibrationData(m_settings.calibrationPath)) return;
    // A new calibration invalidates the camera angle and the counting line.
    EnableCommands({ID_GENERAL_SETTINGS, ID_COUNTER_SETTINGS, ID_CAMERA_ANGLE,
                    ID_ANGLE_VERIFICATION, ID_CALIBRATION_TEST},
                   false);
    EnableCommands({ID_CAMERA_ANGLE, ID_CALIBRATION_TEST}, true);
    m_settings.counterSetted = 0;
    m_settings.cameraAngleSetted = 0;
    m_settingsFile.SaveSettingIni(m_settings, {kCounterSettings, kCameraAngle});
}

// ---- The settings menu ----

void CChildView::OnButtonClicked(WPARAM id, LPARAM) {
    CSkinButton& button = m_skin.MenuButton();
    if (id != kMenuButtonId || !button.m_hWnd) return;
    RECT place{};
    button.GetWindowRect(&place);
    fw::TrackPopupMenu(m_settingsMenu.get(), TPM_RIGHTALIGN, place.right, place.top - 135, m_hWnd);
    // Dismissed without a choice, the button would keep its hover picture.
    button.ResetHover();
}

void CChildView::OnMenuCommand(UINT id) {
    m_skin.MenuButton().ResetHover();
    switch (id) {
        case ID_GENERAL_SETTINGS:
            if (m_generalSettings.Run()) m_calibrationTest.SetUnit(m_settings.unit);
            break;
        case ID_COUNTER_SETTINGS:
            m_counterSettings.Run();
            m_live.SetInAngle(m_settings.angleIn);  // the line may have turned
            break;
        case ID_CAMERA_ANGLE:
            if (m_cameraAngle.Run()) {
                EnableCommands({ID_GENERAL_SETTINGS, ID_COUNTER_SETTINGS, ID_CAMERA_ANGLE,
                                ID_ANGLE_VERIFICATION, ID_CALIBRATION_TEST},
                               true);
            }
            m_live.SetInAngle(m_settings.angleIn);  // read again from the file
            break;
        case ID_ANGLE_VERIFICATION:
            m_cameraAngle.RunVerification();
            break;
        case ID_CALIBRATION_TEST:
            m_calibrationTest.Run();
            break;
        case ID_ABOUT:
            ShowAbout();
            break;
        case ID_CALIBRATION_FILE:
            ChooseCalibrationFile();
            return;  // repaints the strip itself
        default:
            break;  // ID_NO_ACTION
    }
    ::InvalidateRect(m_hWnd, &kDragStrip, TRUE);
}

void CChildView::ChooseCalibrationFile() {
    CFileDialog dialog(TRUE, "coe", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       "Calibration Data (*.coe)|*.coe||", m_hWnd);
    if (dialog.DoModal() == IDOK) {
        const std::string path = dialog.GetPathName();
        // A file that fails its check changes nothing (the check says why).
        if (!CheckCalibrationData(path)) return;
        m_settings.calibrationPath = path;
        SaveSettingIni(kCalibrationData);
        m_host.CalibrationChanged();
    }
    ::InvalidateRect(m_hWnd, &kDragStrip, TRUE);
}

void CChildView::ShowAbout() {
    if (!m_aboutDlg || !m_aboutDlg->m_hWnd) return;
    RECT view{};
    RECT about{};
    GetWindowRect(&view);
    m_aboutDlg->GetWindowRect(&about);
    const int viewWidth = view.right - view.left;
    const int viewHeight = view.bottom - view.top;
    const int aboutWidth = about.right - about.left;
    const int aboutHeight = about.bottom - about.top;
    const int dx = view.left - about.left + (viewWidth - aboutWidth) / 2;
    const int dy = view.top - about.top + (viewHeight - aboutHeight) / 2;
    ::OffsetRect(&about, dx, dy);
    m_aboutDlg->MoveWindow(about);
    m_aboutDlg->ShowWindow(SW_SHOW);
}

// ---- Moving the main window by the title strip ----

void CChildView::OnLButtonDown(UINT flags, POINT point) {
    if (::PtInRect(&kDragStrip, point)) {
        m_grabPoint = point;
        m_dragging = true;
        ::SetCapture(m_hWnd);
    }
    DefWindowProc(WM_LBUTTONDOWN, flags, MAKELPARAM(point.x, point.y));
}

void CChildView::OnMouseMove(UINT flags, POINT point) {
    if (m_dragging) {
        HWND main = AfxGetMainWnd();
        RECT rect{};
        ::GetWindowRect(main, &rect);
        ::OffsetRect(&rect, point.x - m_grabPoint.x, point.y - m_grabPoint.y);
        ::MoveWindow(main, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     TRUE);
    }
    DefWindowProc(WM_MOUSEMOVE, flags, MAKELPARAM(point.x, point.y));
}

void CChildView::OnCaptureChanged(WPARAM, LPARAM) {
    // Another window took the mouse (a message box, a menu): the drag is
    // over, or the window would follow the mouse until the next release.
    m_dragging = false;
}

void CChildView::OnLButtonUp(UINT flags, POINT point) {
    if (m_dragging) {
        m_dragging = false;
        ::ReleaseCapture();
    }
    DefWindowProc(WM_LBUTTONUP, flags, MAKELPARAM(point.x, point.y));
}

// ---- The open dialog's requests and the host's answers for them ----

void CChildView::OnHostRequest(WPARAM wp, LPARAM) {
    switch (hostlink::ParamBits(wp)) {
        case hostlink::kRequestCountingLine:
            m_counterSettings.RequestCountingLine();
            break;
        case hostlink::kRequestPatternFeatures:
            m_cameraAngle.RequestPatternFeatures();
            break;
        case hostlink::kRequestMeasureRegion:
            m_calibrationTest.RequestRegionMeasure();
            break;
        default:
            break;  // not a request of a dialog of ours
    }
}

void CChildView::OnCountingLine3D(WPARAM wp, LPARAM) {
    m_counterSettings.OnCountingLine3D(wp);
}

void CChildView::OnCameraAngle(WPARAM, LPARAM) {
    m_cameraAngle.OnCameraAngle();
}

void CChildView::OnCameraAngleAccepted(WPARAM, LPARAM) {
    m_cameraAngle.OnCameraAngleAccepted();
}

void CChildView::OnRegionResult(WPARAM wp, LPARAM lp) {
    m_calibrationTest.OnRegionResult(wp, lp);
}
