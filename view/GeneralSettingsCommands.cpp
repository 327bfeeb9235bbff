// The main view's side of General Settings: the values it copies into the
// dialog and, after OK, takes back, hands on and stores. No host bracket:
// the dialog shows no picture.
#include "view/ChildView.h"

void CChildView::RunGeneralSettings() {
    CGeneralSettingsDlg& dialog = m_generalSettingsDlg;
    dialog.m_siteName = m_settings.siteName;
    dialog.m_remoteAccess = m_settings.remoteAccess;
    dialog.m_ipAddrIndex = m_settings.ipAddrIndex;
    dialog.m_ipAddr = m_settings.ipAddr;
    dialog.m_port = m_settings.port;
    dialog.m_recycleIndex = m_settings.autoRecycleDaysIndex;
    dialog.m_recycleDays = m_settings.autoRecycleDays;
    dialog.m_unit = m_settings.unit;
    if (dialog.DoModal() != IDOK) return;

    m_settings.siteName = dialog.m_siteName;
    m_settings.remoteAccess = dialog.m_remoteAccess;
    m_settings.ipAddrIndex = dialog.m_ipAddrIndex;
    m_settings.ipAddr = dialog.m_ipAddr;
    m_settings.port = dialog.m_port;
    m_settings.autoRecycleDaysIndex = dialog.m_recycleIndex;
    m_settings.autoRecycleDays = dialog.m_recycleDays;
    m_settings.unit = dialog.m_unit;
    m_calibrationTestDlg.SetUnit(m_settings.unit);
    SaveSettingIni(kGeneralSettings);
}
