#include "view/ChildView.h"

#include <commdlg.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "dialogs/AboutDlg.h"
#include "framework/File.h"
#include "framework/ModalLoop.h"
#include "framework/WinApp.h"
#include "hostlink/BlockLayouts.h"
#include "hostlink/HostMessages.h"
#include "hostlink/HostPacking.h"
#include "hostlink/PictureSizes.h"
#include "res/Resource.h"
#include "settings/CalibrationCheck.h"
#include "settings/IniFile.h"
#include "settings/MaskFile.h"
#include "settings/ReferencePictureFile.h"
#include "settings/SettingsPaths.h"
#include "view/Language.h"
#include "view/SkinLayout.h"

using settings::CheckCalibrationData;

namespace {

// The header of a 24-bit bottom-up picture as the host sends them.
BITMAPINFOHEADER PictureHeader(int32_t width, int32_t height, uint64_t imageBytes) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(imageBytes);
    return header;
}

constexpr int kComposeWidth = 320;
constexpr int kComposeHeight = 240;
constexpr size_t kRectifiedBytes = hostlink::kRectifiedPictureBytes;

}  // namespace

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
ON_COMMAND_RANGE(150, 157, OnMenuCommand)
ON_COMMAND_RANGE(103, 104, OnIgnoredCommand)
END_MESSAGE_MAP()

CChildView::CChildView()
    : m_settingsMenu(::CreatePopupMenu()),
      m_leftPicture(kRectifiedBytes, 0),
      m_rightPicture(kRectifiedBytes, 0),
      m_referencePicture(kRectifiedBytes, 0) {
    m_rectifiedHeader = PictureHeader(kComposeWidth, kComposeHeight, kRectifiedBytes);
}

CChildView::~CChildView() {
    // The order matters to the host: the settings file is complete before the
    // blocks are released, and WM_HOST_DETACH is the last word.
    m_background.reset();
    m_referencePicture = {};
    m_aboutDlg.reset();
    m_memoryGraphics.reset();
    if (m_memoryDc && m_memoryDcOldBitmap) ::SelectObject(m_memoryDc.get(), m_memoryDcOldBitmap);
    m_memoryBitmap.reset();
    m_memoryDc.reset();
    // A copy whose host has gone does not rewrite the whole file: everything
    // it confirmed was written when confirmed, and a copy that a new host
    // started for the same camera may have confirmed newer values since.
    if (!m_settingsFile.GetPath().empty() && !m_host.HostGone()) SaveSettingIni(kAllSections);
    m_arrowIn.reset();
    m_arrowOut.reset();
    m_imageBlock.Release();
    m_livePixels = {};
    m_rectImageBlock.Release();
    m_countingLineBlock.Release();
    m_leftPicture = {};
    m_rightPicture = {};
    if (!m_settingsFile.GetPath().empty()) m_host.Detach();
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
void CChildView::SaveSettingIni(std::initializer_list<int32_t> selectors) {
    m_settingsFile.SaveSettingIni(m_settings, selectors);
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
    m_host.SetHostWindow(m_startup.hostWnd);

    CreateSettingIni(settings::SettingsFilePath(m_startup.settingFolder, m_startup.cameraId));
    LoadSettingIni(kAllSections);

    ResolveLanguageFile();
    LoadSkin();

    EnableCommands({150, 151, 152, 153, 154, 155}, false);
    if (CheckCalibrationData(m_settings.calibrationPath)) EnableCommands({152, 154}, true);

    m_arrowIn = LoadBitmapResource(AfxGetInstanceHandle(), IDB_ARROW_IN);
    m_arrowOut = LoadBitmapResource(AfxGetInstanceHandle(), IDB_ARROW_OUT);

    const auto* rectified = reinterpret_cast<const BITMAPINFO*>(&m_rectifiedHeader);
    m_cameraAngleDlg.SetImageSource(m_hWnd, rectified, m_leftPicture.data());
    m_counterSettingsDlg.SetImageSource(m_hWnd, rectified, m_leftPicture.data());
    m_verifyDlg.SetImageSource(m_hWnd, rectified, m_leftPicture.data(), m_referencePicture.data());
    m_calibrationTestDlg.SetImageSource(m_hWnd, rectified, m_leftPicture.data(),
                                        m_rightPicture.data());

    m_aboutDlg = std::make_unique<CAboutDlg>(this);
    if (!m_aboutDlg->Create(IDD_ABOUTBOX, this)) m_aboutDlg.reset();

    m_calibrationTestDlg.SetUnit(m_settings.unit);

    if (m_settings.cameraAngleSetted) EnableCommands({150, 151, 152, 153, 154, 155, 157}, true);

    m_referencePicturePath =
        settings::ReferencePicturePath(m_startup.settingFolder, m_startup.cameraId);
    settings::LoadReferencePicture(
        m_referencePicturePath,
        settings::ReferencePixels(m_referencePicture.data(), kRectifiedBytes));

    m_maskFilePath = settings::MaskFilePath(m_startup.settingFolder, m_startup.cameraId);
    if (m_settings.maskSize != 0)
        settings::LoadMask(m_maskFilePath, m_maskRegion, m_settings.maskSize);

    {
        WindowDc windowDc(m_hWnd);
        m_memoryDc.reset(::CreateCompatibleDC(windowDc.get()));
        m_memoryBitmap.reset(
            ::CreateCompatibleBitmap(windowDc.get(), kComposeWidth, kComposeHeight));
    }
    if (m_memoryDc && m_memoryBitmap) {
        m_memoryDcOldBitmap = ::SelectObject(m_memoryDc.get(), m_memoryBitmap.get());
        m_memoryGraphics = std::make_unique<Gdiplus::Graphics>(m_memoryDc.get());
    }
    // What draws the overlays lives as long as the view, not one frame.
    m_linePen.reset(::CreatePen(PS_SOLID, 1, RGB(0, 255, 0)));
    m_markerPen.reset(::CreatePen(PS_DOT, 0, RGB(255, 255, 255)));
    RebuildOverlayTransforms();

    m_host.Attach(m_hWnd, AfxGetMainWnd());
    if (m_settings.counterSetted) {
        m_host.SetCountingLine({m_settings.imageLine[0].x, m_settings.imageLine[0].y},
                               {m_settings.imageLine[1].x, m_settings.imageLine[1].y});
    }

    m_counterSettingsDlg.SetLanguageFile(m_languageFile);
    m_cameraAngleDlg.SetLanguageFile(m_languageFile);
    m_verifyDlg.SetLanguageFile(m_languageFile);
    m_generalSettingsDlg.SetLanguageFile(m_languageFile);
    m_calibrationTestDlg.SetLanguageFile(m_languageFile);
}

void CChildView::ResolveLanguageFile() {
    m_languageFile = ::ResolveLanguageFile(m_startup.moduleFolder, m_startup.languageIni);
}

void CChildView::LoadSkin() {
    const std::string folder = m_startup.moduleFolder + "resources\\";
    const std::string skin = folder + "Layout.ini";

    // The frame's normal size, never below the base 850 x 600.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    ::GetWindowPlacement(AfxGetMainWnd(), &placement);
    const SkinSize size =
        BaseSkinSize(placement.rcNormalPosition.right - placement.rcNormalPosition.left,
                     placement.rcNormalPosition.bottom - placement.rcNormalPosition.top);

    m_background = LoadBitmapFile(
        folder + GetIniString("Background", "BackSetting", "tSk-Setting-Back.bmp", skin));

    auto createButton = [&](CSkinButton& button, const char* section, const char* up,
                            const char* hover, const char* down, const char* tip, const RECT& rect,
                            UINT id) {
        const std::string tipText = GetIniString(section, "tip", tip, skin);
        button.Create("BUTTON", tipText.c_str(), WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, rect, this,
                      id);
        button.LoadBitmaps(folder + GetIniString(section, "BU", up, skin),
                           folder + GetIniString(section, "BF", hover, skin),
                           folder + GetIniString(section, "BD", down, skin), "");
    };

    const int exitTop = GetIniInt("Exit Btn", "y", 5, skin);
    const RECT exitRect = ExitButtonRect(size, exitTop, GetIniInt("Exit Btn", "cx", 24, skin),
                                         GetIniInt("Exit Btn", "cy", 24, skin));
    createButton(m_exitButton, "Exit Btn", "tSk-Btn-Exit-u.bmp", "tSk-Btn-Exit-f.bmp",
                 "tSk-Btn-Exit-d.bmp", "Exit", exitRect, SC_CLOSE);

    const int menuX = GetIniInt("Setting Menu Btn", "x", 771, skin);
    const int menuY = GetIniInt("Setting Menu Btn", "y", 535, skin);
    const int menuCx = GetIniInt("Setting Menu Btn", "cx", 71, skin);
    const int menuCy = GetIniInt("Setting Menu Btn", "cy", 57, skin);
    createButton(m_menuButton, "Setting Menu Btn", "tSk-Btn-Menu-u.bmp", "tSk-Btn-Menu-f.bmp",
                 "tSk-Btn-Menu-d.bmp", "Menu", ButtonRect(menuX, menuY, menuCx, menuCy),
                 kMenuButtonId);

    // The layout chooses which commands appear and in which order; the
    // language file names them.
    std::array<int, kMenuPositions> indices{};
    for (int position = 0; position < kMenuPositions; ++position) {
        const std::string section = std::to_string(position);
        indices[static_cast<size_t>(position)] = GetIniInt(section.c_str(), "ndx", 7, skin);
    }
    for (const MenuItem& item : BuildMenuItems(indices)) {
        if (item.separator) {
            ::AppendMenuA(m_settingsMenu.get(), MF_SEPARATOR, 0, nullptr);
        } else {
            const std::string text =
                GetIniString("Menu", std::to_string(item.index).c_str(), "", m_languageFile);
            ::AppendMenuA(m_settingsMenu.get(), MF_STRING, item.command, text.c_str());
        }
    }

    const int viewX = GetIniInt("Setting View Window", "x", 14, skin);
    const int viewY = GetIniInt("Setting View Window", "y", 35, skin);
    const int viewCx = GetIniInt("Setting View Window", "cx", 320, skin);
    const int viewCy = GetIniInt("Setting View Window", "cy", 240, skin);
    m_pictureRect = PictureRectangle(size, viewX, viewY, viewCx, viewCy);
}

// ---- Painting and the live picture ----

void CChildView::OnPaint() {
    PaintDc paint(m_hWnd);
    if (m_background) {
        Gdiplus::Graphics graphics(paint.get());
        graphics.DrawImage(m_background.get(), 0, 0, static_cast<INT>(m_background->GetWidth()),
                           static_cast<INT>(m_background->GetHeight()));
    }
    if (m_imageBlock.IsOpen()) ComposeAndShow();
}

void CChildView::OnNewFrame(WPARAM wp, LPARAM lp) {
    const hostlink::FrameSize size = hostlink::UnpackFrameSize(static_cast<uint64_t>(lp));
    switch (hostlink::FrameKind(static_cast<uint64_t>(wp))) {
        case hostlink::kFrameLive:
            OnLivePicture(size.width, size.height);
            break;
        case hostlink::kFrameRectified:
            OnRectifiedPictures(hostlink::FrameCount(static_cast<uint64_t>(wp)), size.width,
                                size.height);
            break;
        default:
            break;  // any other kind is not a picture of ours
    }
}

void CChildView::OnLivePicture(uint32_t width, uint32_t height) {
    const hostlink::FrameSize size{width, height};
    if (!m_imageBlock.IsOpen()) {
        // The first live picture fixes the mapping, the header and the buffer.
        const auto plan = hostlink::PlanFirstLivePicture(size);
        if (!plan) return;  // nothing sensible to map: wait for a real picture
        if (!m_imageBlock.Open(plan->mapBytes)) return;
        m_liveWidth = static_cast<int32_t>(width);
        m_liveHeight = static_cast<int32_t>(height);
        m_liveHeader = PictureHeader(m_liveWidth, m_liveHeight, plan->bufferBytes);
        m_livePixels.assign(plan->bufferBytes, 0);
    }
    // A picture larger than the first one would read past the mapping or
    // write past the buffer: it is dropped, the last picture stays.
    if (!hostlink::MayCopyLivePicture(
            size, std::min<uint64_t>(m_imageBlock.MappedBytes(), m_imageBlock.RegionBytes()),
            m_livePixels.size())) {
        return;
    }
    std::memcpy(m_livePixels.data(), m_imageBlock.Data(),
                static_cast<size_t>(hostlink::PictureBytes(size)));
    ComposeAndShow();
}

void CChildView::OnRectifiedPictures(uint32_t count, uint32_t width, uint32_t height) {
    if (!m_activeDialog) return;
    const hostlink::FrameSize size{width, height};
    if (!m_rectImageBlock.IsOpen()) {
        const auto mapBytes = hostlink::PlanRectImageMapping(size);
        if (!mapBytes) return;
        if (!m_rectImageBlock.Open(*mapBytes)) return;
    }
    const hostlink::RectifiedCopy copy = hostlink::PlanRectifiedCopy(
        size, count,
        std::min<uint64_t>(m_rectImageBlock.MappedBytes(), m_rectImageBlock.RegionBytes()),
        kRectifiedBytes);
    if (copy.refused) return;
    if (copy.pictures >= 1)
        std::memcpy(m_leftPicture.data(), m_rectImageBlock.Data(), copy.bytesEach);
    if (copy.pictures >= 2) {
        std::memcpy(m_rightPicture.data(), m_rectImageBlock.Data() + copy.bytesEach,
                    copy.bytesEach);
    }
    if (m_activeDialog->IsWindow()) m_activeDialog->PostMessage(WM_UI_PICTURE_READY, 0, 0);
}

void CChildView::ComposeAndShow() {
    if (!m_memoryDc || m_livePixels.empty()) return;
    HDC memory = m_memoryDc.get();
    ::StretchDIBits(memory, 0, 0, m_liveWidth, m_liveHeight, 0, 0, m_liveWidth, m_liveHeight,
                    m_livePixels.data(), reinterpret_cast<const BITMAPINFO*>(&m_liveHeader),
                    DIB_RGB_COLORS, SRCCOPY);
    if (m_settings.counterSetted) {
        DrawCountingLineOverlay();
        DrawMaskOverlay();
    }
    DrawMarkerRectangle();

    // Only what the 320 x 240 bitmap holds is stretched: a larger picture
    // shows its top-left part, never undefined pixels beyond the bitmap.
    const int sourceWidth = std::min<int>(m_liveWidth, kComposeWidth);
    const int sourceHeight = std::min<int>(m_liveHeight, kComposeHeight);
    WindowDc window(m_hWnd);
    ::SetStretchBltMode(window.get(), HALFTONE);
    ::SetBrushOrgEx(window.get(), 0, 0, nullptr);
    ::StretchBlt(window.get(), m_pictureRect.left, m_pictureRect.top,
                 m_pictureRect.right - m_pictureRect.left, m_pictureRect.bottom - m_pictureRect.top,
                 memory, 0, 0, sourceWidth, sourceHeight, SRCCOPY);
}

void CChildView::DrawCountingLineOverlay() {
    if (m_settings.imageLine[0].x == -1 || !m_arrowIn || !m_arrowOut || !m_memoryGraphics) return;
    m_painter.DrawLine(m_memoryDc.get(), *m_memoryGraphics, m_linePen.get(), m_arrowIn.get(),
                       m_arrowOut.get(), m_settings.countingIODirection, m_settings.countingIOMode);
    m_memoryGraphics->Flush(Gdiplus::FlushIntentionSync);
}

void CChildView::DrawMaskOverlay() {
    if (!m_maskRegion) return;
    m_painter.DrawMask(m_memoryDc.get(), m_maskRegion.get(),
                       static_cast<COLORREF>(m_settings.maskColor) & 0x00FFFFFF);
}

void CChildView::DrawMarkerRectangle() {
    HDC memory = m_memoryDc.get();
    SelectObjectScope pen(memory, m_markerPen.get());
    SelectObjectScope brush(memory, ::GetStockObject(NULL_BRUSH));
    ::Rectangle(memory, m_markerRect.left, m_markerRect.top, m_markerRect.right,
                m_markerRect.bottom);
}

void CChildView::RebuildOverlayTransforms() {
    const int32_t arrowWidth = m_arrowIn ? static_cast<int32_t>(m_arrowIn->GetWidth()) : 0;
    const int32_t arrowHeight = m_arrowIn ? static_cast<int32_t>(m_arrowIn->GetHeight()) : 0;
    m_overlay = hostlink::ComputeCountingLineOverlay(m_overlay.p1, m_overlay.p2, m_settings.angleIn,
                                                     arrowWidth, arrowHeight);
    m_painter.SetOverlay(m_overlay);
}

// ---- Host messages that need no dialog ----

void CChildView::OnCountingLine(WPARAM wp, LPARAM lp) {
    m_overlay.p1 = hostlink::UnpackPoint(static_cast<uint64_t>(wp));
    m_overlay.p2 = hostlink::UnpackPoint(static_cast<uint64_t>(lp));
    RebuildOverlayTransforms();
}

void CChildView::OnMarkerRect(WPARAM wp, LPARAM lp) {
    const hostlink::HostRect r =
        hostlink::UnpackRect(static_cast<uint64_t>(wp), static_cast<uint64_t>(lp));
    m_markerRect = {r.left, r.top, r.right, r.bottom};
}

void CChildView::OnCounterRect(WPARAM wp, LPARAM lp) {
    const hostlink::HostRect r =
        hostlink::UnpackRect(static_cast<uint64_t>(wp), static_cast<uint64_t>(lp));
    m_counterRect = {r.left, r.top, r.right, r.bottom};
}

void CChildView::OnHostClose(WPARAM, LPARAM) {
    ::PostMessageA(AfxGetMainWnd(), WM_CLOSE, 0, 0);
}

void CChildView::OnCalibrationChanged(WPARAM, LPARAM) {
    LoadSettingIni(kCalibrationData);
    if (!CheckCalibrationData(m_settings.calibrationPath)) return;
    // A new calibration invalidates the camera angle and the counting line.
    EnableCommands({150, 151, 152, 153, 154}, false);
    EnableCommands({152, 154}, true);
    m_settings.counterSetted = 0;
    m_settings.cameraAngleSetted = 0;
    SaveSettingIni({kCounterSettings, kCameraAngle});
}

// ---- The settings menu ----

void CChildView::OnButtonClicked(WPARAM id, LPARAM) {
    if (id != kMenuButtonId || !m_menuButton.m_hWnd) return;
    RECT button{};
    m_menuButton.GetWindowRect(&button);
    fw::TrackPopupMenu(m_settingsMenu.get(), TPM_RIGHTALIGN, button.right, button.top - 135,
                       m_hWnd);
    // Dismissed without a choice, the button would keep its hover picture.
    m_menuButton.ResetHover();
}

void CChildView::OnMenuCommand(UINT id) {
    m_menuButton.ResetHover();
    bool repaintStrip = true;
    switch (id) {
        case 156:
            ShowAbout();
            break;
        case 157: {
            CFileDialog dialog(TRUE, "coe", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                               "Calibration Data (*.coe)|*.coe||", m_hWnd);
            if (dialog.DoModal() == IDOK) {
                const std::string path = dialog.GetPathName();
                if (CheckCalibrationData(path)) {
                    m_settings.calibrationPath = path;
                    SaveSettingIni(kCalibrationData);
                    m_host.CalibrationChanged();
                } else {
                    repaintStrip = false;
                }
            }
            break;
        }
        case 150:
            RunGeneralSettings();
            break;
        case 151:
            RunCounterSettings();
            break;
        case 152:
            RunCameraAngle();
            break;
        case 153:
            RunVerification();
            break;
        case 154:
            RunCalibrationTest();
            break;
        default:
            break;  // 155 does nothing
    }
    if (repaintStrip) ::InvalidateRect(m_hWnd, &kDragStrip, TRUE);
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

// ---- Dialogs and the host's answers for them ----

INT_PTR CChildView::RunPictureDialog(CDialog& dialog, uint32_t pictures) {
    m_activeDialog = &dialog;
    m_host.DialogOpening(pictures);
    return dialog.DoModal();
}

void CChildView::OnHostRequest(WPARAM wp, LPARAM) {
    switch (hostlink::ParamBits(wp)) {
        case hostlink::kRequestCountingLine:
            RequestCountingLine();
            break;
        case hostlink::kRequestPatternFeatures:
            RequestPatternFeatures();
            break;
        case hostlink::kRequestMeasureRegion:
            RequestRegionMeasure();
            break;
        default:
            break;  // not a request of a dialog of ours
    }
}
