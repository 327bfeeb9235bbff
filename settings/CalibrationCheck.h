#pragma once
// Whether a stereo calibration file (*.coe) can be used: 272 bytes starting
// with the version float 2.0. A missing file or one of another size is
// refused silently; a file that cannot be opened shows "Can't open file: "
// and the system's reason, a wrong version shows the version message, both
// with the error icon.
#include <windows.h>

#include <string>

namespace settings {

// How a message reaches the user; AfxMessageBox unless a caller (a test)
// supplies another.
using MessageBoxFunction = int (*)(const char* text, UINT type);

BOOL CheckCalibrationData(const std::string& path);
BOOL CheckCalibrationData(const std::string& path, MessageBoxFunction showMessage);

}  // namespace settings
