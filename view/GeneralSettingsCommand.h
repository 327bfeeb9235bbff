#pragma once
// Menu command 150: General Settings, shown with the settings' values; after
// OK they go back into the settings and the section is saved. No bracket for
// the host: the dialog shows no picture.
#include "dialogs/GeneralSettingsDlg.h"
#include "view/ViewContext.h"

class GeneralSettingsCommand {
  public:
    explicit GeneralSettingsCommand(ViewContext& context)
        : m_context(context), m_dialog(&context.view) {}
    void SetLanguageFile(const std::string& path) { m_dialog.SetLanguageFile(path); }
    // True when the user confirmed (the unit may have changed).
    bool Run();

  private:
    ViewContext& m_context;
    CGeneralSettingsDlg m_dialog;
};
