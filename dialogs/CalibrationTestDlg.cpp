#include "dialogs/CalibrationTestDlg.h"

#include "dialogs/CalibrationValues.h"
#include "dialogs/DialogText.h"
#include "hostlink/HostMessages.h"
#include "res/Resource.h"

namespace {

constexpr char kBuiltInFailureText[] = "Matching Failed! Please select a new test region.";
constexpr char kBuiltInDistanceLabel[] = "ROI Distance";

// The labels under the pictures start at the centre of the picture; the
// points start there too, so the first cross and its label agree.
constexpr POINT kStartPoint{CImageEditor::kWidth / 2, CImageEditor::kHeight / 2};

RECT ItemRect(HWND dialog, int id) {
    RECT rect{};
    ::GetWindowRect(::GetDlgItem(dialog, id), &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

BEGIN_MESSAGE_MAP(CCalibrationTestDlg, CDialog)
ON_MESSAGE(WM_PAINT, OnPaint)
ON_MESSAGE(WM_DESTROY, OnDestroy)
ON_MESSAGE(WM_UI_PICTURE_READY, OnPictureReady)
ON_MESSAGE(WM_UI_SELECTION_CHANGED, OnSelectionChanged)
ON_COMMAND_RANGE(IDC_CT_POINT, IDC_CT_REGION, OnTestMethod)
ON_COMMAND(IDC_CT_EXIT, OnExit)
END_MESSAGE_MAP()

CCalibrationTestDlg::CCalibrationTestDlg(CWnd* parent)
    : CDialog(IDD_CALIBRATION_TEST, parent),
      m_unitNames{calibration::kBuiltInUnitNames[0], calibration::kBuiltInUnitNames[1]},
      m_failureText(kBuiltInFailureText),
      m_distanceLabel(kBuiltInDistanceLabel) {
    m_leftPicture.Test().SetPoint(kStartPoint);
    m_rightPicture.Test().SetPoint(kStartPoint);
}

CCalibrationTestDlg::~CCalibrationTestDlg() = default;

void CCalibrationTestDlg::SetImageSource(HWND viewWnd, const BITMAPINFO* header,
                                         const void* leftBits, const void* rightBits) {
    m_viewWnd = viewWnd;
    m_header = header;
    m_leftBits = leftBits;
    m_rightBits = rightBits;
}

void CCalibrationTestDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_CT_RESULTS, m_results);
    DDX_Control(dx, IDC_CT_RIGHT_PICTURE, m_rightPicture);
    DDX_Control(dx, IDC_CT_LEFT_PICTURE, m_leftPicture);
    DDX_Radio(dx, IDC_CT_POINT, m_testMethod);
}

BOOL CCalibrationTestDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // Each picture keeps its corner and shows the 320 x 240 picture 1:1.
    for (CImageEditor* picture : {&m_leftPicture, &m_rightPicture}) {
        ::SetWindowPos(picture->m_hWnd, nullptr, 0, 0, CImageEditor::kWidth, CImageEditor::kHeight,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    m_leftPicture.Initialize(CImageEditor::kModeTestLeft, m_hWnd, m_header, m_leftBits, 0);
    m_rightPicture.Initialize(CImageEditor::kModeTestRight, m_hWnd, m_header, m_rightBits, 0);
    PassTestMethod();
    m_results.ResetContent();
    PlaceSeparator();
    ApplyTexts();
    return TRUE;
}

void CCalibrationTestDlg::ApplyTexts() {
    ApplyDialogTexts(*this, m_languageFile, IDD_CALIBRATION_TEST,
                     {{IDC_CT_METHOD_LABEL, "Test Method"},
                      {IDC_CT_POINT, "Point"},
                      {IDC_CT_REGION, "Region"},
                      {IDC_CT_EXIT, "Exit"}},
                     "Calibration Test");
    m_failureText = LookupText(m_languageFile, IDD_CALIBRATION_TEST, 0, kBuiltInFailureText);
    m_distanceLabel = LookupText(m_languageFile, IDD_CALIBRATION_TEST, 1, kBuiltInDistanceLabel);
    for (int unit = 0; unit < 2; ++unit) {
        m_unitNames[static_cast<size_t>(unit)] = LookupText(
            m_languageFile, "Unit", std::to_string(unit), calibration::kBuiltInUnitNames[unit]);
    }
}

void CCalibrationTestDlg::PlaceSeparator() {
    const RECT region = ItemRect(m_hWnd, IDC_CT_REGION);
    const RECT list = ItemRect(m_hWnd, IDC_CT_RESULTS);
    const RECT exit = ItemRect(m_hWnd, IDC_CT_EXIT);
    const int y = (exit.top - list.bottom) / 2 + list.bottom;
    m_separatorFrom = {region.left, y};
    m_separatorTo = {list.right, y};
    m_separatorPen.reset(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW)));
}

void CCalibrationTestDlg::OnPaint() {
    PaintDc paint(m_hWnd);
    if (!m_separatorPen) return;
    SelectObjectScope pen(paint.get(), m_separatorPen.get());
    ::MoveToEx(paint.get(), m_separatorFrom.x, m_separatorFrom.y, nullptr);
    ::LineTo(paint.get(), m_separatorTo.x, m_separatorTo.y);
}

void CCalibrationTestDlg::OnDestroy() {
    m_separatorPen.reset();
    m_leftPicture.ReleaseModeObjects();
    m_rightPicture.ReleaseModeObjects();
    DefWindowProc(WM_DESTROY, 0, 0);
}

void CCalibrationTestDlg::OnPictureReady(WPARAM, LPARAM) {
    for (CImageEditor* picture : {&m_leftPicture, &m_rightPicture})
        if (picture->HasPicture() && picture->IsWindow()) picture->Redraw();
}

void CCalibrationTestDlg::OnSelectionChanged(WPARAM kind, LPARAM mode) {
    if (kind == hostlink::kSelectionPoint) {
        const CImageEditor* picture = mode == CImageEditor::kModeTestLeft    ? &m_leftPicture
                                      : mode == CImageEditor::kModeTestRight ? &m_rightPicture
                                                                             : nullptr;
        if (!picture) return;
        HWND label = GetDlgItem(picture == &m_leftPicture ? IDC_CT_LEFT_POINT : IDC_CT_RIGHT_POINT);
        if (!label) return;
        const POINT p = picture->Test().Point();
        ::SetWindowTextA(label, calibration::CoordinateText(p.x, p.y).c_str());
    } else if (kind == hostlink::kSelectionRegion) {
        if (m_viewWnd)
            ::PostMessageA(m_viewWnd, WM_UI_HOST_REQUEST, hostlink::kRequestMeasureRegion, 0);
    }
}

void CCalibrationTestDlg::OnTestMethod(UINT) {
    CDataExchange dx(this, TRUE);
    DDX_Radio(&dx, IDC_CT_POINT, m_testMethod);
    PassTestMethod();
    // The other overlay shows at once, not only with the next picture.
    OnPictureReady(0, 0);
}

void CCalibrationTestDlg::PassTestMethod() {
    if (m_testMethod != PickTest::kPoint && m_testMethod != PickTest::kRegion) return;
    m_leftPicture.Test().SetMethod(m_testMethod);
    m_rightPicture.Test().SetMethod(m_testMethod);
}

void CCalibrationTestDlg::ShowRegionResult(const RECT& chosenRegion, float disparity,
                                           float distanceCm) {
    const calibration::RegionAnswer answer =
        calibration::ReadRegionAnswer(disparity, distanceCm, m_unit);
    if (!answer.matched) {
        AddResultLine(m_failureText);
        return;
    }
    m_rightPicture.Test().SetRegion({chosenRegion.left - answer.shift, chosenRegion.top,
                                     chosenRegion.right - answer.shift, chosenRegion.bottom});
    if (m_rightPicture.HasPicture() && m_rightPicture.IsWindow()) m_rightPicture.Redraw();
    AddResultLine(calibration::DistanceLine(
        m_distanceLabel, answer.distance,
        m_unitNames[static_cast<size_t>(calibration::UnitIndex(m_unit))]));
}

void CCalibrationTestDlg::AddResultLine(const std::string& line) {
    if (!m_results.IsWindow()) return;
    m_results.AddString(line);
    m_results.SetCurSel(m_results.GetCount() - 1);
}
