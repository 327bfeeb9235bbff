#include "dialogs/CameraAngleVerifyDlg.h"

#include <vector>

#include "dialogs/DialogText.h"
#include "hostlink/HostMessages.h"
#include "res/Resource.h"

namespace {

const std::vector<DialogText>& VerifyTexts() {
    static const std::vector<DialogText> texts = {
        {IDC_AV_CURRENT_LABEL, "Current Image"},
        {IDC_AV_OLD_LABEL, "Old Image"},
        {IDC_AV_EXIT, "Exit"},
    };
    return texts;
}

}  // namespace

BEGIN_MESSAGE_MAP(CCameraAngleVerifyDlg, CDialog)
ON_MESSAGE(WM_PAINT, OnPaint)
ON_MESSAGE(WM_UI_PICTURE_READY, OnPictureReady)
ON_MESSAGE(WM_UI_MARK_POINT, OnMarkPoint)
ON_COMMAND(IDC_AV_EXIT, OnExit)
END_MESSAGE_MAP()

CCameraAngleVerifyDlg::CCameraAngleVerifyDlg(CWnd* parent)
    : CDialog(IDD_ANGLE_VERIFY, parent),
      m_separatorPen(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW))) {}

CCameraAngleVerifyDlg::~CCameraAngleVerifyDlg() = default;

void CCameraAngleVerifyDlg::SetImageSource(HWND viewWnd, const BITMAPINFO* header,
                                           const void* currentBits, const void* oldBits) {
    m_viewWnd = viewWnd;
    m_header = header;
    m_currentBits = currentBits;
    m_oldBits = oldBits;
}

void CCameraAngleVerifyDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_AV_OLD, m_old);
    DDX_Control(dx, IDC_AV_CURRENT, m_current);
}

BOOL CCameraAngleVerifyDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    RECT current{};
    m_current.GetWindowRect(&current);
    ScreenToClient(&current);
    ::SetWindowPos(m_current.m_hWnd, nullptr, 0, 0, CImageEditor::kWidth, CImageEditor::kHeight,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(m_old.m_hWnd, nullptr, current.left + kOldPictureOffset, current.top,
                   CImageEditor::kWidth, CImageEditor::kHeight, SWP_NOZORDER | SWP_NOACTIVATE);

    // The dialog itself hears the clicks: it mirrors them onto the other picture.
    m_current.Initialize(CImageEditor::kModeMarkPoint, m_hWnd, m_header, m_currentBits, 0);
    m_old.Initialize(CImageEditor::kModeMarkPoint, m_hWnd, m_header, m_oldBits, 1);

    RECT label{}, exit{};
    ::GetWindowRect(GetDlgItem(IDC_AV_CURRENT_LABEL), &label);
    ::GetWindowRect(GetDlgItem(IDC_AV_EXIT), &exit);
    ScreenToClient(&label);
    ScreenToClient(&exit);
    const int y = (exit.top - label.bottom) / 2 + label.bottom;
    m_separatorFrom = {label.left, y};
    m_separatorTo = {exit.right, y};

    ApplyTexts();
    return TRUE;
}

void CCameraAngleVerifyDlg::ApplyTexts() {
    ApplyDialogTexts(*this, m_languageFile, IDD_ANGLE_VERIFY, VerifyTexts(),
                     "Camera Angle Verification");
}

void CCameraAngleVerifyDlg::OnPaint() {
    PaintDc paint(m_hWnd);
    if (!m_separatorPen) return;
    SelectObjectScope pen(paint.get(), m_separatorPen.get());
    ::MoveToEx(paint.get(), m_separatorFrom.x, m_separatorFrom.y, nullptr);
    ::LineTo(paint.get(), m_separatorTo.x, m_separatorTo.y);
}

void CCameraAngleVerifyDlg::OnPictureReady(WPARAM, LPARAM) {
    if (m_currentBits && m_current.IsWindow()) m_current.Redraw();
    if (m_oldBits && m_old.IsWindow()) m_old.Redraw();
}

void CCameraAngleVerifyDlg::OnMarkPoint(WPARAM tag, LPARAM) {
    // The clicked picture draws its own cross; the other one follows at once.
    CImageEditor& clicked = tag == 0 ? m_current : m_old;
    CImageEditor& other = tag == 0 ? m_old : m_current;
    other.Mark().Follow(clicked.Mark());
    if (other.IsWindow()) other.Redraw();
}
