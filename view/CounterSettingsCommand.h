#pragma once
// Menu command 151: Counter Settings - what it is shown, the counting line it
// asks the host for, the host's answer, and what OK stores (the section and
// the mask, as one change) and tells the host. It keeps the camera's mask,
// which the main window draws.
#include <windows.h>

#include <string>

#include "dialogs/CounterSettingsDlg.h"
#include "framework/Handles.h"
#include "hostlink/SharedBlock.h"
#include "view/ViewContext.h"

class CounterSettingsCommand {
  public:
    explicit CounterSettingsCommand(ViewContext& context)
        : m_context(context), m_dialog(&context.view) {}
    // The picture, the language file and the stored mask, at the view's set-up.
    void SetUp(const std::string& languageFile);
    // True when OK stored new settings (the line or its in angle may have changed).
    bool Run();
    // WM_UI_HOST_REQUEST 1 of the open dialog: its drawn line goes to the host.
    void RequestCountingLine();
    // WM_VIEW_COUNTING_LINE_3D: the host's floor line for it.
    void OnCountingLine3D(WPARAM wp);
    // WM_VIEW_COUNTER_RECT: shown in the dialog the next time it opens.
    void SetCounterRect(const RECT& rect) { m_counterRect = rect; }
    // The mask in force (null when there is none).
    HRGN Mask() const { return m_mask.get(); }

  private:
    // Stores the section and the mask as one change and says what could not
    // be stored. False when the settings were not.
    bool Store(HRGN mask);

    ViewContext& m_context;
    CCounterSettingsDlg m_dialog;
    RegionHandle m_mask;
    std::string m_maskFilePath;
    RECT m_counterRect{0, 0, 0, 0};
    hostlink::SharedBlock m_countingLineBlock{hostlink::HostBlock::CountingLine};
    // The picture line last sent with WM_HOST_EDIT_COUNTING_LINE: the host's
    // answer carries only the floor coordinates.
    CountingLineRecord m_lineSentToHost;
};
