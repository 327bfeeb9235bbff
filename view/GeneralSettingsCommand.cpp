#include "view/GeneralSettingsCommand.h"

bool GeneralSettingsCommand::Run() {
    m_dialog.Values() = GeneralValuesFrom(m_context.settings);
    if (m_dialog.DoModal() != IDOK) return false;
    ApplyGeneralValues(m_dialog.Values(), m_context.settings);
    m_context.settingsFile.SaveSettingIni(m_context.settings, kGeneralSettings);
    return true;
}
