#pragma once
// Names of a camera's files in the host's settings folder: the folder as
// given (no backslash added or expected), a fixed name part and the camera
// number with at least two digits ("%s%s%02d.ini": camera 7 gives
// <folder>\Setting07.ini).
#include <string>
#include <string_view>

namespace settings {

std::string SettingsFilePath(std::string_view settingsFolder, int cameraId);      // \SettingNN.ini
std::string ReferencePicturePath(std::string_view settingsFolder, int cameraId);  // \VImageNN.bmp
std::string MaskFilePath(std::string_view settingsFolder, int cameraId);          // \MaskNN.bin

}  // namespace settings
