#include "dialogs/GeneralSettingsDlg.h"

#include "dialogs/DialogText.h"
#include "dialogs/GeneralValues.h"
#include "dialogs/LocalAddresses.h"
#include "framework/WinApp.h"
#include "res/Resource.h"
#include "settings/CameraSettings.h"

namespace {

// The camera rows of the template belong to another product: hidden.
constexpr int kCameraRows[] = {IDC_GS_CAMERA_GROUP,
                               IDC_GS_LEFT_CHANNEL_LABEL,
                               IDC_GS_LEFT_CHANNEL,
                               IDC_GS_RIGHT_CHANNEL_LABEL,
                               IDC_GS_RIGHT_CHANNEL,
                               IDC_GS_VIDEO_LABEL,
                               IDC_GS_NTSC,
                               IDC_GS_PAL,
                               IDC_GS_RESOLUTION_LABEL,
                               IDC_GS_RESOLUTION,
                               IDC_GS_AUTO_RESTART_LABEL,
                               IDC_GS_AUTO_RESTART_ON,
                               IDC_GS_AUTO_RESTART_OFF,
                               IDC_GS_NOTIFY_LOSS_LABEL,
                               IDC_GS_NOTIFY_LOSS_ON,
                               IDC_GS_NOTIFY_LOSS_OFF};
// What remote access Off disables (the radios follow the address list).
constexpr int kSiteControls[] = {IDC_GS_SITE_GROUP,   IDC_GS_SITE_NAME_LABEL, IDC_GS_SITE_NAME,
                                 IDC_GS_REMOTE_LABEL, IDC_GS_ADDRESS,         IDC_GS_PORT_LABEL,
                                 IDC_GS_PORT};
// Rows after the hidden ones keep this gap, in pixels.
constexpr int kRowGap = 20;
// Below the buttons: the outer height is their bottom plus this.
constexpr int kBottomMargin = 40;
// The port edit takes at most "65535".
constexpr int kPortDigits = 5;

RECT ItemRect(HWND dialog, int id) {
    RECT rect{};
    ::GetWindowRect(::GetDlgItem(dialog, id), &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void MoveItem(HWND dialog, int id, int x, int y) {
    ::SetWindowPos(::GetDlgItem(dialog, id), nullptr, x, y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string ItemText(HWND item) {
    const int length = ::GetWindowTextLengthA(item);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    const int got = ::GetWindowTextA(item, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

}  // namespace

BEGIN_MESSAGE_MAP(CGeneralSettingsDlg, CDialog)
ON_COMMAND_RANGE(IDC_GS_REMOTE_ON, IDC_GS_REMOTE_OFF, OnRemoteAccess)
ON_CONTROL(CBN_SELCHANGE, IDC_GS_RECYCLE_DAYS, OnRecycleChosen)
ON_COMMAND(IDC_GS_OK, OnOkButton)
ON_COMMAND(IDC_GS_CANCEL, OnCancelButton)
END_MESSAGE_MAP()

CGeneralSettingsDlg::CGeneralSettingsDlg(CWnd* parent)
    : CDialog(IDD_GENERAL_SETTINGS, parent), m_addressSource(&LookUpHostAddresses) {}

CGeneralSettingsDlg::~CGeneralSettingsDlg() = default;

void CGeneralSettingsDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_GS_ADDRESS, m_addressList);
    DDX_Control(dx, IDC_GS_RECYCLE_DAYS, m_recycleList);
    DDX_Control(dx, IDC_GS_LINK, m_link);
    DDX_Text(dx, IDC_GS_SITE_NAME, m_values.siteName);
    DDX_Radio(dx, IDC_GS_REMOTE_ON, m_values.remoteAccess);
    DDX_Text(dx, IDC_GS_PORT, m_values.port);
    DDV_MinMaxInt(dx, m_values.port, 1, 65535);
    DDX_Radio(dx, IDC_GS_UNIT_CM, m_values.unit);
}

BOOL CGeneralSettingsDlg::OnInitDialog() {
    // A stored value that is no radio choice shows (and is kept) as the
    // safe one: remote access Off, centimetres.
    if (m_values.remoteAccess != kOn) m_values.remoteAccess = kOff;
    if (m_values.unit != 1) m_values.unit = 0;
    CDialog::OnInitDialog();  // binds the controls
    FillRecycleList();
    HideCameraRows();
    MoveRowsUp();
    ApplyTexts();
    ::SendDlgItemMessageA(m_hWnd, IDC_GS_SITE_NAME, EM_LIMITTEXT, kMaxSettingsText, 0);
    ::SendDlgItemMessageA(m_hWnd, IDC_GS_PORT, EM_LIMITTEXT, kPortDigits, 0);

    if (BuildAddressList(m_values.ipAddrIndex) && m_values.remoteAccess != kOff) {
        EnableSiteControls(true);
        EnableRemoteRadios(true);
    } else {
        m_values.remoteAccess = kOff;
        EnableSiteControls(false);
        EnableRemoteRadios(BuildAddressList(m_values.ipAddrIndex));
    }
    UpdateData(FALSE);
    return TRUE;
}

void CGeneralSettingsDlg::FillRecycleList() {
    m_recycleList.ResetContent();
    for (int32_t days : general::kRecycleChoices) m_recycleList.AddString(std::to_string(days));
    m_recycleList.SetCurSel(m_values.recycleIndex);
    // A period typed earlier is shown as it is stored, so that OK keeps it.
    if (general::IsRecyclePeriod(m_values.recycleDays) &&
        general::RecycleChoiceDays(m_values.recycleIndex) != m_values.recycleDays) {
        ::SetWindowTextA(m_recycleList.m_hWnd, std::to_string(m_values.recycleDays).c_str());
    }
}

void CGeneralSettingsDlg::HideCameraRows() {
    for (int id : kCameraRows) ::ShowWindow(GetDlgItem(id), SW_HIDE);
}

void CGeneralSettingsDlg::MoveRowsUp() {
    const RECT group = ItemRect(m_hWnd, IDC_GS_CAMERA_GROUP);
    const RECT recycleLabel = ItemRect(m_hWnd, IDC_GS_RECYCLE_LABEL);
    MoveItem(m_hWnd, IDC_GS_RECYCLE_LABEL, group.left, group.top);
    MoveItem(m_hWnd, IDC_GS_RECYCLE_DAYS, ItemRect(m_hWnd, IDC_GS_RECYCLE_DAYS).left, group.top);
    MoveItem(m_hWnd, IDC_GS_DAYS_LABEL, ItemRect(m_hWnd, IDC_GS_DAYS_LABEL).left, group.top);

    const int unitTop = group.top + (recycleLabel.bottom - recycleLabel.top) + kRowGap;
    MoveItem(m_hWnd, IDC_GS_UNIT_LABEL, group.left, unitTop);
    for (int id : {IDC_GS_UNIT_CM, IDC_GS_UNIT_INCH})
        MoveItem(m_hWnd, id, ItemRect(m_hWnd, id).left, unitTop);

    const RECT unitLabel = ItemRect(m_hWnd, IDC_GS_UNIT_LABEL);
    for (int id : {IDC_GS_OK, IDC_GS_CANCEL})
        MoveItem(m_hWnd, id, ItemRect(m_hWnd, id).left, unitLabel.bottom + kRowGap);

    RECT window{};
    GetWindowRect(&window);
    const RECT cancel = ItemRect(m_hWnd, IDC_GS_CANCEL);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, window.right - window.left + 1,
                   cancel.bottom + kBottomMargin, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CGeneralSettingsDlg::ApplyTexts() {
    ApplyDialogTexts(*this, m_languageFile, IDD_GENERAL_SETTINGS,
                     {{IDC_GS_SITE_GROUP, "SITE"},
                      {IDC_GS_SITE_NAME_LABEL, "Site Name:"},
                      {IDC_GS_REMOTE_LABEL, "Remote Access:"},
                      {IDC_GS_REMOTE_ON, "On"},
                      {IDC_GS_REMOTE_OFF, "Off"},
                      {IDC_GS_PORT_LABEL, "Port"},
                      {IDC_GS_RECYCLE_LABEL, "Auto Recycle After:"},
                      {IDC_GS_DAYS_LABEL, "Days"},
                      {IDC_GS_UNIT_LABEL, "Calculation Unit:"},
                      {IDC_GS_UNIT_CM, "cm"},
                      {IDC_GS_UNIT_INCH, "inch"},
                      {IDC_GS_OK, "Ok"},
                      {IDC_GS_CANCEL, "Cancel"}},
                     "General Settings");
}

bool CGeneralSettingsDlg::BuildAddressList(int indexToSelect) {
    m_addressList.ResetContent();
    m_addresses =
        general::OfferedAddresses(m_addressSource ? m_addressSource() : std::vector<std::string>{});
    for (const std::string& address : m_addresses) m_addressList.AddString(address);
    const int selected = general::AddressToSelect(indexToSelect, m_addresses.size());
    if (selected >= 0) m_addressList.SetCurSel(selected);
    return !m_addresses.empty();
}

void CGeneralSettingsDlg::EnableSiteControls(bool enable) {
    for (int id : kSiteControls) ::EnableWindow(GetDlgItem(id), enable);
}

void CGeneralSettingsDlg::EnableRemoteRadios(bool enable) {
    for (int id : {IDC_GS_REMOTE_ON, IDC_GS_REMOTE_OFF}) ::EnableWindow(GetDlgItem(id), enable);
}

void CGeneralSettingsDlg::OnRemoteAccess(UINT id) {
    // The address the user picked stays picked across the rebuild.
    const int current = m_addressList.GetCurSel();
    const bool any = BuildAddressList(current >= 0 ? current : m_values.ipAddrIndex);
    EnableSiteControls(id == IDC_GS_REMOTE_ON);
    EnableRemoteRadios(any);
}

void CGeneralSettingsDlg::OnRecycleChosen() {
    const int selection = m_recycleList.GetCurSel();
    if (selection >= 0) m_values.recycleIndex = selection;
}

// The typed or chosen period; a text that is no period is refused with the
// standard range message and the field selected.
bool CGeneralSettingsDlg::ReadRecycleDays() {
    const std::optional<int32_t> days = general::ParseRecycleDays(ItemText(m_recycleList.m_hWnd));
    if (!days) {
        AfxMessageBox(fw::IntRangeMessage(general::kMinRecycleDays, general::kMaxRecycleDays),
                      MB_ICONEXCLAMATION);
        ::SetFocus(m_recycleList.m_hWnd);
        m_recycleList.SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
        return false;
    }
    // A typed number leaves the list without a selection: the entry that
    // shows it, else the one chosen last, keeps the index.
    const int selection = m_recycleList.GetCurSel();
    const int32_t shown = general::RecycleChoiceIndex(*days);
    m_values.recycleIndex = shown >= 0 ? shown : selection >= 0 ? selection : m_values.recycleIndex;
    m_values.recycleDays = *days;
    return true;
}

void CGeneralSettingsDlg::OnOK() {
    if (!UpdateData(TRUE)) return;
    if (!ReadRecycleDays()) return;
    if (m_values.remoteAccess == kOn && !m_addresses.empty()) {
        const int selection = m_addressList.GetCurSel();
        m_values.ipAddrIndex = selection >= 0 ? selection : 0;
        m_addressList.SetCurSel(m_values.ipAddrIndex);
        m_values.ipAddr = m_addresses[static_cast<size_t>(m_values.ipAddrIndex)];
    } else if (m_addresses.empty()) {
        m_values.remoteAccess = kOff;
    }
    EndDialog(IDOK);
}
