#pragma once
// Menu command 154: the Calibration Test with both rectified pictures, the
// region it asks the host to match, and the host's answer written into it.
#include <windows.h>

#include <cstdint>

#include "dialogs/CalibrationTestDlg.h"
#include "view/ViewContext.h"

class CalibrationTestCommand {
  public:
    explicit CalibrationTestCommand(ViewContext& context)
        : m_context(context), m_dialog(&context.view) {}
    // The pictures and the language file, at the view's set-up.
    void SetUp(const std::string& languageFile);
    void SetUnit(int32_t unit) { m_dialog.SetUnit(unit); }
    void Run();
    // WM_UI_HOST_REQUEST 3 of the open dialog: its region goes to the host.
    void RequestRegionMeasure();
    // WM_VIEW_REGION_RESULT: the host's disparity and distance.
    void OnRegionResult(WPARAM wp, LPARAM lp);

  private:
    ViewContext& m_context;
    CCalibrationTestDlg m_dialog;
    // The left picture's region last sent with WM_HOST_MEASURE_REGION: the
    // host's answer carries only its disparity and distance.
    RECT m_regionSentToHost{0, 0, 0, 0};
};
