#include "dialogs/CameraAngleDlg.h"

#include <vector>

#include "dialogs/DialogText.h"
#include "framework/WinApp.h"
#include "hostlink/HostMessages.h"
#include "res/Resource.h"

namespace {

// The whole window's height once initialised, in pixels.
constexpr int kWindowHeight = 555;

constexpr char kFourCornersText[] = "Please select the four corners of the square first!";
// Said when the host's answer holds no usable angle; the language files may
// translate it (section 167, this key).
constexpr char kAngleUnusableKey[] = "AngleUnusable";
constexpr char kAngleUnusableText[] =
    "The counting engine found no usable camera angle. Check that the four corners lie on "
    "the template and press Calculate again.";

const std::vector<DialogText>& CameraAngleTexts() {
    static const std::vector<DialogText> texts = {
        {IDC_CA_TEMPLATE_LABEL, "Template Dimension"},
        {IDC_CA_CLEAR, "Clear Selection"},
        {IDC_CA_CALCULATE, "Calculate"},
        {IDC_CA_ANGLE_LABEL, "Camera Angle:"},
        {IDC_CA_DEGREE, "Degree"},
        {IDC_CA_HEIGHT_LABEL, "Camera Height"},
        {IDC_CA_WARNING, "The result never be stored!"},
        {IDC_CA_UPDATE, "Update"},
        {IDC_CA_EXIT, "Exit"},
    };
    return texts;
}

RECT ItemRect(const CWnd& dialog, int id) {
    RECT rect{};
    ::GetWindowRect(dialog.GetDlgItem(id), &rect);
    dialog.ScreenToClient(&rect);
    return rect;
}

std::string ItemText(HWND item) {
    const int length = ::GetWindowTextLengthA(item);
    if (length <= 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(::GetWindowTextA(item, text.data(), length + 1)));
    return text;
}

// (top of the lower item - bottom of the upper item) / 2, truncated, plus the
// bottom of the upper item.
int Between(const RECT& upper, const RECT& lower) {
    return (lower.top - upper.bottom) / 2 + upper.bottom;
}

}  // namespace

BEGIN_MESSAGE_MAP(CCameraAngleDlg, CDialog)
ON_MESSAGE(WM_PAINT, OnPaint)
ON_MESSAGE(WM_DESTROY, OnDestroy)
ON_MESSAGE(WM_UI_PICTURE_READY, OnPictureReady)
ON_COMMAND(IDC_CA_CALCULATE, OnCalculate)
ON_COMMAND(IDC_CA_CLEAR, OnClearSelection)
ON_COMMAND(IDC_CA_UPDATE, OnUpdate)
ON_COMMAND(IDC_CA_EXIT, OnExit)
ON_CONTROL(EN_CHANGE, IDC_CA_HEIGHT, OnHeightChanged)
END_MESSAGE_MAP()

CCameraAngleDlg::CCameraAngleDlg(CWnd* parent) : CDialog(IDD_CAMERA_ANGLE, parent) {}

CCameraAngleDlg::~CCameraAngleDlg() = default;

void CCameraAngleDlg::SetImageSource(HWND viewWnd, const BITMAPINFO* header, const void* bits) {
    m_viewWnd = viewWnd;
    m_header = header;
    m_bits = bits;
}

void CCameraAngleDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_CA_PICTURE, m_picture);
    DDX_Control(dx, IDC_CA_WARNING, m_warning);
    DDX_Text(dx, IDC_CA_ANGLE, m_angleText);
    DDX_Text(dx, IDC_CA_HEIGHT, m_heightText);
    DDX_Text(dx, IDC_CA_TEMPLATE, m_templateText);
}

BOOL CCameraAngleDlg::OnInitDialog() {
    m_pushing = true;  // nothing the dialog puts into the boxes counts as an edit
    CDialog::OnInitDialog();

    // The picture keeps its corner and shows the 320 x 240 picture 1:1.
    ::SetWindowPos(m_picture.m_hWnd, nullptr, 0, 0, CImageEditor::kWidth, CImageEditor::kHeight,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT window{};
    GetWindowRect(&window);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, window.right - window.left + 1, kWindowHeight,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EnableUpdate(false);
    PlaceSeparators();

    m_picture.Initialize(CImageEditor::kModePoints, m_viewWnd, m_header, m_bits, 0);
    m_separatorPen.reset(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW)));
    m_picture.Corners().Clear();  // every showing starts without corners

    SetUnitLabels(m_values.unit == angle::kUnitInch ? "inch" : "cm");
    m_templateText = angle::FormatLength(m_values.templateDimension, m_values.unit);
    m_angleText = angle::FormatTilt(m_values.angleYZ);
    m_heightText = angle::FormatLength(m_values.height, m_values.unit);
    m_shownHeightText = m_heightText;
    ApplyTexts();
    SetUnitLabels(UnitName());

    ::SendMessageA(GetDlgItem(IDC_CA_HEIGHT), EM_LIMITTEXT, 32, 0);
    ShowWarning(false);
    PushTexts();
    m_pushing = false;
    m_picture.Redraw();
    return TRUE;
}

void CCameraAngleDlg::ApplyTexts() {
    ApplyDialogTexts(*this, m_languageFile, IDD_CAMERA_ANGLE, CameraAngleTexts(), "Camera Angle");
    m_unitNames[0] = LookupText(m_languageFile, "Unit", "0", "cm");
    m_unitNames[1] = LookupText(m_languageFile, "Unit", "1", "inch");
    m_warning.ResizeNormalFont(-LookupFontSize(m_languageFile), FW_NORMAL);
    m_warning.SetLink(0);
    m_warning.SetColor(RGB(255, 0, 0));
}

std::string CCameraAngleDlg::UnitName() const {
    return m_unitNames[m_values.unit == angle::kUnitInch ? 1 : 0];
}

void CCameraAngleDlg::SetUnitLabels(const std::string& name) {
    ::SetDlgItemTextA(m_hWnd, IDC_CA_TEMPLATE_UNIT, name.c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_CA_HEIGHT_UNIT, name.c_str());
}

void CCameraAngleDlg::PlaceSeparators() {
    const RECT label = ItemRect(*this, IDC_CA_TEMPLATE_LABEL);
    const RECT calculate = ItemRect(*this, IDC_CA_CALCULATE);
    const RECT angleLabel = ItemRect(*this, IDC_CA_ANGLE_LABEL);
    const RECT update = ItemRect(*this, IDC_CA_UPDATE);
    const RECT exit = ItemRect(*this, IDC_CA_EXIT);
    const int first = Between(calculate, angleLabel);
    const int second = Between(update, exit);
    m_firstFrom = {label.left, first};
    m_firstTo = {calculate.right, first};
    m_secondFrom = {label.left, second};
    m_secondTo = {calculate.right, second};
}

void CCameraAngleDlg::PushTexts() {
    const bool wasPushing = m_pushing;
    m_pushing = true;
    UpdateData(FALSE);
    m_pushing = wasPushing;
}

void CCameraAngleDlg::ShowWarning(bool show) {
    m_warning.ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CCameraAngleDlg::EnableUpdate(bool enable) {
    HWND update = GetDlgItem(IDC_CA_UPDATE);
    // A button that loses its enabled state while it has the focus would
    // leave the keyboard nowhere: the focus moves on to Exit first.
    if (!enable && ::GetFocus() == update) ::SetFocus(GetDlgItem(IDC_CA_EXIT));
    ::EnableWindow(update, enable);
}

BOOL CCameraAngleDlg::PreTranslateMessage(MSG* msg) {
    // Neither Enter nor Escape closes the dialog, in whichever box they are pressed.
    if (msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE) &&
        m_hWnd && (msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd))) {
        return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}

void CCameraAngleDlg::OnPaint() {
    PaintDc paint(m_hWnd);
    if (!m_separatorPen) return;
    SelectObjectScope pen(paint.get(), m_separatorPen.get());
    ::MoveToEx(paint.get(), m_firstFrom.x, m_firstFrom.y, nullptr);
    ::LineTo(paint.get(), m_firstTo.x, m_firstTo.y);
    ::MoveToEx(paint.get(), m_secondFrom.x, m_secondFrom.y, nullptr);
    ::LineTo(paint.get(), m_secondTo.x, m_secondTo.y);
}

void CCameraAngleDlg::OnDestroy() {
    m_picture.ReleaseModeObjects();
    m_separatorPen.reset();
    DefWindowProc(WM_DESTROY, 0, 0);
}

void CCameraAngleDlg::OnPictureReady(WPARAM, LPARAM) {
    if (m_picture.IsWindow()) m_picture.Redraw();
}

void CCameraAngleDlg::OnCalculate() {
    if (m_picture.Corners().Points().size() == CornerPoints::kMaxPoints) {
        ::PostMessageA(m_viewWnd, WM_UI_HOST_REQUEST, hostlink::kRequestPatternFeatures, 0);
    } else {
        AfxMessageBox(kFourCornersText, MB_OK);
    }
}

void CCameraAngleDlg::OnClearSelection() {
    m_picture.Corners().Clear();
    m_picture.Redraw();  // at once, not only with the next picture
}

void CCameraAngleDlg::OnHeightChanged() {
    if (m_pushing) return;
    m_heightText = ItemText(GetDlgItem(IDC_CA_HEIGHT));
    ShowWarning(true);
    EnableUpdate(true);
}

void CCameraAngleDlg::ShowResult(const angle::CameraAngles& angles) {
    m_values.angleXY = angles.angleXY;
    m_values.angleYZ = angles.angleYZ;
    m_values.angleXZ = angles.angleXZ;
    ShowWarning(true);
    EnableUpdate(true);
    m_angleText = angle::FormatTilt(m_values.angleYZ);
    PushTexts();  // the height box keeps what was typed: m_heightText follows it
}

void CCameraAngleDlg::ShowUnusableAnswer() {
    AfxMessageBox(LookupText(m_languageFile, std::to_string(IDD_CAMERA_ANGLE), kAngleUnusableKey,
                             kAngleUnusableText),
                  MB_OK | MB_ICONEXCLAMATION);
}

void CCameraAngleDlg::OnUpdate() {
    m_heightText = ItemText(GetDlgItem(IDC_CA_HEIGHT));
    const std::optional<float> height =
        angle::ReadHeight(m_heightText, m_shownHeightText, m_values.height, m_values.unit);
    if (!height) {
        AfxMessageBox(angle::kHeightRefusedText, MB_OK | MB_ICONEXCLAMATION);
        HWND box = GetDlgItem(IDC_CA_HEIGHT);
        ::SetFocus(box);
        ::SendMessageA(box, EM_SETSEL, 0, -1);
        return;
    }
    m_values.height = *height;
    m_heightText = angle::FormatLength(m_values.height, m_values.unit);
    m_shownHeightText = m_heightText;
    PushTexts();
    ::PostMessageA(m_viewWnd, WM_UI_CAMERA_ANGLE_ACCEPTED, 0, 0);
    ShowWarning(false);
    EnableUpdate(false);
}

void CCameraAngleDlg::OnExit() {
    EndDialog(IDCANCEL);
}
