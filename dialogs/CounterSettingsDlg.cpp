#include "dialogs/CounterSettingsDlg.h"

#include <commctrl.h>

#include "dialogs/DialogText.h"
#include "dialogs/HeightTipsDlg.h"
#include "framework/ColorDialog.h"
#include "framework/WinApp.h"
#include "hostlink/HostMessages.h"
#include "res/Resource.h"

namespace {

// The tool row: squares of 38 pixels, one step of 54 between Delete Line and
// ALL, in the order of the controls 1081..1088.
constexpr int kToolSize = 38;
constexpr int kToolOffsets[8] = {0, 38, 92, 130, 168, 206, 244, 282};
constexpr UINT kToolBitmaps[8] = {IDB_TOOL_DRAW_LINE, IDB_TOOL_DELETE_LINE, IDB_TOOL_ALL,
                                  IDB_TOOL_ELLIPSE,   IDB_TOOL_RECTANGLE,   IDB_TOOL_IRREGULAR,
                                  IDB_TOOL_COLOR,     IDB_TOOL_CLEAR};
constexpr int kToolKinds[8] = {CSkinButton::kFramedToggle, CSkinButton::kFramedPush,
                               CSkinButton::kFramedPush,   CSkinButton::kFramedToggle,
                               CSkinButton::kFramedToggle, CSkinButton::kFramedToggle,
                               CSkinButton::kFramedPush,   CSkinButton::kFramedPush};

// Said when OK is pressed with a From-To operation time that does not run
// forwards: the view would keep the old times, so the user fixes them first.
constexpr char kOperationTimeOrderText[] =
    "The start time must be earlier than the stop time.\n"
    "Please correct the operation time.";

// The date the time pickers carry with a time of day.
SYSTEMTIME TimeOfDayOnBaseDate(int32_t packed) {
    const counter::TimeOfDay time = counter::UnpackTimeOfDay(packed);
    SYSTEMTIME value{};
    value.wYear = 1899;
    value.wMonth = 12;
    value.wDay = 30;
    value.wHour = static_cast<WORD>(time.hour);
    value.wMinute = static_cast<WORD>(time.minute);
    value.wSecond = static_cast<WORD>(time.second);
    return value;
}

int32_t PackedTimeOfDay(const SYSTEMTIME& value) {
    return counter::PackTimeOfDay({value.wHour, value.wMinute, value.wSecond});
}

BitmapPtr CopyOf(Gdiplus::Bitmap* bitmap) {
    if (!bitmap) return nullptr;
    BitmapPtr copy(bitmap->Clone(0, 0, static_cast<INT>(bitmap->GetWidth()),
                                 static_cast<INT>(bitmap->GetHeight()), bitmap->GetPixelFormat()));
    if (copy && copy->GetLastStatus() != Gdiplus::Ok) copy.reset();
    return copy;
}

const std::vector<DialogText>& CounterSettingsTexts() {
    static const std::vector<DialogText> texts = {
        {1018, "Display Option"},
        {1019, "Display Counter Line"},
        {1022, "Display Tracking Frame"},
        {1023, "Display Object Height"},
        {1024, "Display Mask"},
        {1020, "On"},
        {1025, "On"},
        {1027, "On"},
        {1029, "On"},
        {1021, "Off"},
        {1026, "Off"},
        {1028, "Off"},
        {1030, "Off"},
        {1032, "In"},
        {1033, "In"},
        {1099, "Out"},
        {1100, "Out"},
        {1107, "Setup Tips for Height Detection"},
        {1034, "On"},
        {1115, "On"},
        {1035, "Off"},
        {1116, "Off"},
        {1031, "Counting Direction"},
        {1038, "Height Detection"},
        {1039, "Counter Operation Time:"},
        {1114, "Auto Background Update"},
        {1117, "Update Interval"},
        {1042, "24 Hours"},
        {1103, "Reset All"},
        {1101, "Ok"},
        {1102, "Cancel"},
    };
    return texts;
}

}  // namespace

BEGIN_MESSAGE_MAP(CCounterSettingsDlg, CDialog)
ON_MESSAGE(WM_PAINT, OnPaint)
ON_MESSAGE(WM_DESTROY, OnDestroy)
ON_MESSAGE(WM_UI_PICTURE_READY, OnPictureReady)
ON_MESSAGE(WM_UI_STATIC_CLICKED, OnStaticClicked)
ON_MESSAGE(WM_UI_BUTTON_CLICKED, OnToolButton)
ON_COMMAND_RANGE(IDC_CS_DIRECTION_FIRST, IDC_CS_HEIGHT_OFF, OnDirectionOrHeight)
ON_COMMAND_RANGE(IDC_CS_UPDATE_ON, IDC_CS_UPDATE_OFF, OnAutoUpdate)
ON_CONTROL(CBN_SELCHANGE, IDC_CS_COUNTING_MODE, OnCountingModeChanged)
ON_COMMAND(IDC_CS_RESET_ALL, OnResetAll)
ON_COMMAND(IDC_CS_OK, OnOkButton)
ON_COMMAND(IDC_CS_CANCEL, OnCancelButton)
END_MESSAGE_MAP()

CCounterSettingsDlg::CCounterSettingsDlg(CWnd* parent) : CDialog(IDD_COUNTER_SETTINGS, parent) {}

CCounterSettingsDlg::~CCounterSettingsDlg() = default;

void CCounterSettingsDlg::SetImageSource(HWND notifyWnd, const BITMAPINFO* header,
                                         const void* bits) {
    m_notifyWnd = notifyWnd;
    m_header = header;
    m_bits = bits;
}

void CCounterSettingsDlg::SetCountingLine(const CountingLineRecord& record) {
    m_values.line = record;
    m_picture.Drawing().SetArrowImages(::LoadBitmapResource(AfxGetInstanceHandle(), IDB_ARROW_IN),
                                       ::LoadBitmapResource(AfxGetInstanceHandle(), IDB_ARROW_OUT));
    m_picture.Drawing().SetCountingLine(record.imageX1, record.imageY1, record.imageX2,
                                        record.imageY2, record.angleIn);
    if (m_picture.IsWindow()) m_picture.Redraw();
}

void CCounterSettingsDlg::SetCommittedMask(HRGN region) {
    m_mask = CopyRegion(region);
}

void CCounterSettingsDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_CS_PICTURE, m_picture);
    for (size_t i = 0; i < m_tools.size(); ++i)
        DDX_Control(dx, static_cast<int>(IDC_CS_DRAW_LINE + i), m_tools[i]);
    DDX_Control(dx, IDC_CS_TIPS_LINK, m_tipsLink);
    for (size_t i = 0; i < m_arrows.size(); ++i)
        DDX_Control(dx, static_cast<int>(IDC_CS_ARROW_IN_FIRST + i), m_arrows[i]);
    DDX_Control(dx, IDC_CS_COUNTING_MODE, m_countingModeList);

    DDX_Radio(dx, IDC_CS_COUNTER_LINE_ON, m_values.displayCounterLine);
    DDX_Radio(dx, IDC_CS_TRACKING_FRAME_ON, m_values.displayTrackingFrame);
    DDX_Radio(dx, IDC_CS_OBJECT_HEIGHT_ON, m_values.displayObjectHeight);
    DDX_Radio(dx, IDC_CS_MASK_ON, m_values.displayMask);
    DDX_Radio(dx, IDC_CS_DIRECTION_FIRST, m_values.ioDirection);
    DDX_Radio(dx, IDC_CS_HEIGHT_ON, m_values.heightDetection);
    DDX_Radio(dx, IDC_CS_ALL_DAY, m_values.operationTime);
    DDX_Radio(dx, IDC_CS_UPDATE_ON, m_values.autoBackgroundUpdate);
    DDX_CBIndex(dx, IDC_CS_COUNTING_MODE, m_values.countingMode);
    DDX_DateTimeCtrl(dx, IDC_CS_FROM_TIME, m_fromTime);
    DDX_DateTimeCtrl(dx, IDC_CS_TO_TIME, m_toTime);
    DDX_Text(dx, IDC_CS_INTERVAL_FIRST, m_values.intervalFirst);
    DDV_MinMaxInt(dx, m_values.intervalFirst, 0, counter::kIntervalFirstMax);
    DDX_Text(dx, IDC_CS_INTERVAL_SECOND, m_values.intervalSecond);
    DDV_MinMaxInt(dx, m_values.intervalSecond, 0, counter::kIntervalSecondMax);
}

BOOL CCounterSettingsDlg::OnInitDialog() {
    m_fromTime = TimeOfDayOnBaseDate(m_values.startTime);
    m_toTime = TimeOfDayOnBaseDate(m_values.stopTime);
    CDialog::OnInitDialog();  // binds the controls
    ApplyTexts();
    LayOutPictureAndTools();

    // A tool latched when the dialog last closed starts unlatched.
    if (CSkinButton* latched = ToolButton(static_cast<UINT>(m_activeTool))) latched->SetLatched(0);
    m_activeTool = 0;

    m_picture.Initialize(CImageEditor::kModeCountingLine, m_notifyWnd, m_header, m_bits, 0);
    LineAndMasks& drawing = m_picture.Drawing();
    drawing.SetDirection(m_values.ioDirection, m_values.countingMode);
    drawing.SetTool(LineAndMasks::kToolNone);
    m_picture.RestoreCursor();
    drawing.SetWholePicture(false);
    drawing.SetMask(m_mask.get());
    drawing.SetMaskColor(static_cast<COLORREF>(m_values.maskColor));

    for (HWND picker : {GetDlgItem(IDC_CS_FROM_TIME), GetDlgItem(IDC_CS_TO_TIME)})
        ::SendMessageA(picker, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>("HH:mm:ss"));

    LoadArrowPictures();
    PlaceSeparator();
    EnableObjectHeightRow(m_values.heightDetection == 0);
    EnableIntervalRow(m_values.autoBackgroundUpdate == 0);
    UpdateData(FALSE);
    m_picture.Redraw();
    // The first of the options takes the focus, not a drawing tool that a
    // stray Space would latch.
    ::SetFocus(GetDlgItem(m_values.displayCounterLine == 1 ? IDC_CS_COUNTER_LINE_OFF
                                                           : IDC_CS_COUNTER_LINE_ON));
    return FALSE;
}

void CCounterSettingsDlg::ApplyTexts() {
    ApplyDialogTexts(*this, m_languageFile, IDD_COUNTER_SETTINGS, CounterSettingsTexts(),
                     "Counter Settings Dialog");
    m_countingModeList.ResetContent();
    const char* modes[3] = {"In & Out", "In Only", "Out Only"};
    for (int key = 0; key < 3; ++key)
        m_countingModeList.AddString(
            LookupText(m_languageFile, IDD_COUNTER_SETTINGS, key, modes[key]));

    const int fontSize = LookupFontSize(m_languageFile);
    m_tipsLink.ResizeNormalFont(-fontSize, FW_NORMAL);
    m_tipsLink.ResizeHoverFont(-fontSize, FW_NORMAL);
    m_tipsLink.SetLink(1);
    m_tipsLink.SetColor(RGB(0, 0, 255));
}

void CCounterSettingsDlg::LayOutPictureAndTools() {
    RECT picture{};
    m_picture.GetWindowRect(&picture);
    ScreenToClient(&picture);
    // The picture keeps its corner and shows the 320 x 240 picture 1:1. The
    // tool row hangs from the bottom of the picture's place in the template,
    // which the template leaves just below the resized picture.
    ::SetWindowPos(m_picture.m_hWnd, nullptr, 0, 0, CImageEditor::kWidth, CImageEditor::kHeight,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const int top = picture.bottom - 15;
    for (size_t i = 0; i < m_tools.size(); ++i) {
        CSkinButton& tool = m_tools[i];
        ::SetWindowPos(tool.m_hWnd, nullptr, picture.left - 3 + kToolOffsets[i], top, kToolSize,
                       kToolSize, SWP_NOZORDER | SWP_NOACTIVATE);
        tool.LoadBitmapResource(kToolBitmaps[i], kToolKinds[i]);
    }
}

void CCounterSettingsDlg::LoadArrowPictures() {
    if (!m_arrowIn) m_arrowIn = ::LoadBitmapResource(AfxGetInstanceHandle(), IDB_ARROW_IN);
    if (!m_arrowOut) m_arrowOut = ::LoadBitmapResource(AfxGetInstanceHandle(), IDB_ARROW_OUT);
    m_picture.Drawing().SetArrowImages(CopyOf(m_arrowIn.get()), CopyOf(m_arrowOut.get()));
    m_picture.Drawing().SetCountingLine(m_values.line.imageX1, m_values.line.imageY1,
                                        m_values.line.imageX2, m_values.line.imageY2,
                                        m_values.line.angleIn);
    // First row: the in arrow turned, the out arrow as drawn; the second row
    // the other way round - the arrows the picture shows for each choice.
    struct Arrow {
        Gdiplus::Bitmap* picture;
        float degrees;
    };
    const Arrow arrows[4] = {{m_arrowIn.get(), 180.0f},
                             {m_arrowOut.get(), 0.0f},
                             {m_arrowIn.get(), 0.0f},
                             {m_arrowOut.get(), 180.0f}};
    for (size_t i = 0; i < m_arrows.size(); ++i) {
        BitmapPtr copy = CopyOf(arrows[i].picture);
        if (!copy) continue;
        const float halfWidth = static_cast<float>(copy->GetWidth()) * 0.5f;
        const float halfHeight = static_cast<float>(copy->GetHeight()) * 0.5f;
        m_arrows[i].SetImage(ImagePtr(copy.release()));
        m_arrows[i].SetRotationAbout(arrows[i].degrees, halfWidth, halfHeight);
        m_arrows[i].Invalidate();
    }
}

void CCounterSettingsDlg::PlaceSeparator() {
    RECT picture{}, group{}, lastRadio{}, resetAll{};
    m_picture.GetWindowRect(&picture);
    ::GetWindowRect(GetDlgItem(IDC_CS_DISPLAY_GROUP), &group);
    ::GetWindowRect(GetDlgItem(IDC_CS_FROM_TO), &lastRadio);
    ::GetWindowRect(GetDlgItem(IDC_CS_RESET_ALL), &resetAll);
    for (RECT* rect : {&picture, &group, &lastRadio, &resetAll}) ScreenToClient(rect);
    const int y = (lastRadio.bottom + resetAll.top) / 2;
    m_separatorFrom = {picture.left, y};
    m_separatorTo = {group.right, y};
    m_separatorPen.reset(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW)));
    Invalidate();
}

void CCounterSettingsDlg::OnPaint() {
    PaintDc paint(m_hWnd);
    if (!m_separatorPen) return;
    SelectObjectScope pen(paint.get(), m_separatorPen.get());
    ::MoveToEx(paint.get(), m_separatorFrom.x, m_separatorFrom.y, nullptr);
    ::LineTo(paint.get(), m_separatorTo.x, m_separatorTo.y);
}

void CCounterSettingsDlg::OnDestroy() {
    m_picture.ReleaseModeObjects();
    m_separatorPen.reset();
    DefWindowProc(WM_DESTROY, 0, 0);
}

void CCounterSettingsDlg::OnPictureReady(WPARAM, LPARAM) {
    if (m_picture.IsWindow()) m_picture.Redraw();
}

void CCounterSettingsDlg::OnStaticClicked(WPARAM id, LPARAM) {
    if (id == IDC_CS_TIPS_LINK) OpenHeightTips();
}

void CCounterSettingsDlg::OpenHeightTips() {
    CHeightTipsDlg tips(this);
    tips.SetLanguageFile(m_languageFile);
    tips.DoModal();
}

bool CCounterSettingsDlg::ChooseMaskColor(COLORREF& color) {
    CColorDialog chooser(color, 0, m_hWnd);
    if (chooser.DoModal() != IDOK) return false;
    color = chooser.GetColor();
    return true;
}

CSkinButton* CCounterSettingsDlg::ToolButton(UINT id) {
    if (id < IDC_CS_DRAW_LINE || id > IDC_CS_CLEAR) return nullptr;
    CSkinButton& button = m_tools[id - IDC_CS_DRAW_LINE];
    return button.m_hWnd ? &button : nullptr;
}

void CCounterSettingsDlg::StopDrawing() {
    m_picture.Drawing().SetTool(LineAndMasks::kToolNone);
    m_picture.RestoreCursor();
}

void CCounterSettingsDlg::ClearCountingLine() {
    m_values.line = CountingLineRecord{};
    m_picture.Drawing().SetCountingLine(-1, -1, -1, -1, 0.0f);
}

void CCounterSettingsDlg::OnToolButton(WPARAM wp, LPARAM) {
    const UINT id = static_cast<UINT>(wp);
    CSkinButton* button = ToolButton(id);
    if (!button) return;
    // Every tool but COLOR and Delete Line ends the drawing tool in use.
    if (m_activeTool != 0 && id != IDC_CS_COLOR && id != IDC_CS_DELETE_LINE) {
        if (CSkinButton* active = ToolButton(static_cast<UINT>(m_activeTool)))
            active->SetLatched(0);
        m_activeTool = 0;
    }
    if (button->GetLatched()) m_activeTool = static_cast<int>(id);

    switch (id) {
        case IDC_CS_DRAW_LINE:
        case IDC_CS_ELLIPSE:
        case IDC_CS_RECTANGLE:
        case IDC_CS_IRREGULAR:
            if (button->GetLatched()) {
                m_picture.Drawing().SetTool(id == IDC_CS_DRAW_LINE   ? LineAndMasks::kToolLine
                                            : id == IDC_CS_ELLIPSE   ? LineAndMasks::kToolEllipse
                                            : id == IDC_CS_RECTANGLE ? LineAndMasks::kToolRectangle
                                                                     : LineAndMasks::kToolPolygon);
                m_picture.ApplyToolCursor();
                if (id == IDC_CS_IRREGULAR) m_picture.DiscardPolygon();
            } else {
                StopDrawing();
            }
            break;
        case IDC_CS_DELETE_LINE:
            ClearCountingLine();
            break;
        case IDC_CS_ALL:
            m_picture.Drawing().SetWholePicture(true);
            StopDrawing();
            m_picture.MaskWholePicture();
            break;
        case IDC_CS_COLOR: {
            COLORREF color = m_values.maskColor;
            if (!ChooseMaskColor(color) || color == m_values.maskColor) return;
            m_values.maskColor = color;
            m_picture.Drawing().SetMaskColor(color);
            break;
        }
        case IDC_CS_CLEAR:
            m_picture.Drawing().SetWholePicture(false);
            m_picture.Drawing().DeleteMask();
            StopDrawing();
            break;
        default:
            return;
    }
    m_picture.Redraw();
}

// Only the radio groups are read back here: a half-typed interval must not
// bring up its range message when the user merely clicks a radio.
void CCounterSettingsDlg::OnDirectionOrHeight(UINT id) {
    CDataExchange dx(this, TRUE);
    DDX_Radio(&dx, IDC_CS_DIRECTION_FIRST, m_values.ioDirection);
    DDX_Radio(&dx, IDC_CS_HEIGHT_ON, m_values.heightDetection);
    switch (id) {
        case IDC_CS_DIRECTION_FIRST:
        case IDC_CS_DIRECTION_SECOND:
            PassDirectionToPicture();
            break;
        case IDC_CS_HEIGHT_ON:
            EnableObjectHeightRow(true);
            OpenHeightTips();
            break;
        case IDC_CS_HEIGHT_OFF:
            EnableObjectHeightRow(false);
            break;
        default:
            break;
    }
}

void CCounterSettingsDlg::OnAutoUpdate(UINT id) {
    CDataExchange dx(this, TRUE);
    DDX_Radio(&dx, IDC_CS_UPDATE_ON, m_values.autoBackgroundUpdate);
    EnableIntervalRow(id == IDC_CS_UPDATE_ON);
}

void CCounterSettingsDlg::OnCountingModeChanged() {
    const int selection = m_countingModeList.GetCurSel();
    if (selection >= 0) m_values.countingMode = selection;
    PassDirectionToPicture();
}

void CCounterSettingsDlg::PassDirectionToPicture() {
    m_picture.Drawing().SetDirection(m_values.ioDirection, m_values.countingMode);
    m_picture.Redraw();
}

void CCounterSettingsDlg::EnableObjectHeightRow(bool enable) {
    for (int id : {IDC_CS_OBJECT_HEIGHT_LABEL, IDC_CS_OBJECT_HEIGHT_ON, IDC_CS_OBJECT_HEIGHT_OFF})
        ::EnableWindow(GetDlgItem(id), enable);
}

void CCounterSettingsDlg::EnableIntervalRow(bool enable) {
    for (int id : {IDC_CS_INTERVAL_LABEL, IDC_CS_INTERVAL_COLON, IDC_CS_INTERVAL_FIRST,
                   IDC_CS_INTERVAL_SECOND})
        ::EnableWindow(GetDlgItem(id), enable);
}

void CCounterSettingsDlg::OnResetAll() {
    // The values of a settings file without a single key; the tool in use
    // and the whole-picture flag stay as they are.
    m_values = FactoryCounterValues();
    m_fromTime = TimeOfDayOnBaseDate(m_values.startTime);
    m_toTime = TimeOfDayOnBaseDate(m_values.stopTime);
    EnableIntervalRow(m_values.autoBackgroundUpdate == 0);
    EnableObjectHeightRow(m_values.heightDetection == 0);
    ClearCountingLine();
    m_mask.reset();
    m_picture.Drawing().DeleteMask();
    m_picture.Drawing().SetMaskColor(static_cast<COLORREF>(m_values.maskColor));
    PassDirectionToPicture();
    UpdateData(FALSE);
}

void CCounterSettingsDlg::OnOK() {
    const int selection = m_countingModeList.GetCurSel();
    if (selection >= 0) m_values.countingMode = selection;
    if (!UpdateData(TRUE)) return;

    const int32_t start = PackedTimeOfDay(m_fromTime);
    const int32_t stop = PackedTimeOfDay(m_toTime);
    if (m_values.operationTime == 1 && !counter::StartBeforeStop(start, stop)) {
        AfxMessageBox(kOperationTimeOrderText, MB_OK | MB_ICONEXCLAMATION);
        ::SetFocus(GetDlgItem(IDC_CS_FROM_TIME));
        return;
    }
    if (m_values.autoBackgroundUpdate == 0 && m_values.intervalFirst == 0 &&
        m_values.intervalSecond == 0)
        m_values.autoBackgroundUpdate = 1;
    m_values.startTime = start;
    m_values.stopTime = stop;

    SetCommittedMask(m_picture.Drawing().Mask());
    StopDrawing();
    EndDialog(IDOK);
}

void CCounterSettingsDlg::OnCancel() {
    StopDrawing();
    m_picture.DiscardPolygon();
    EndDialog(IDCANCEL);
}
