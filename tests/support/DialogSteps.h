#pragma once
// Every settings-menu command with what it opens and the button that closes
// it, for the soaks that go through all of them again and again.
#include <windows.h>

#include "res/Resource.h"

namespace testsupport {

struct DialogStep {
    UINT command;
    const char* title;  // of what the command opens; nullptr: nothing
    int closeWith;
    bool withTips;  // open and close the height tips from the dialog's link first
};

inline constexpr DialogStep kDialogSteps[] = {
    {150, "General Settings", IDCANCEL, false},
    {151, "Counter Settings", IDC_CS_CANCEL, true},
    {152, "Camera Angle", IDC_CA_EXIT, false},
    {153, "Camera Angle Verification", IDC_AV_EXIT, false},
    {154, "Calibration Test", IDC_CT_EXIT, false},
    {155, nullptr, 0, false},
    {156, "About Tallyscope", IDOK, false},
};

}  // namespace testsupport
