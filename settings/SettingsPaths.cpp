#include "settings/SettingsPaths.h"

#include <cstdio>

namespace settings {
namespace {

// "%s%s%02d.<ext>" with the folder of any length.
std::string CameraFileName(std::string_view folder, const char* namePart, int cameraId,
                           const char* extension) {
    char number[16];
    std::snprintf(number, sizeof number, "%02d", cameraId);
    std::string path(folder);
    path += namePart;
    path += number;
    path += '.';
    path += extension;
    return path;
}

}  // namespace

std::string SettingsFilePath(std::string_view settingsFolder, int cameraId) {
    return CameraFileName(settingsFolder, "\\Setting", cameraId, "ini");
}

std::string ReferencePicturePath(std::string_view settingsFolder, int cameraId) {
    return CameraFileName(settingsFolder, "\\VImage", cameraId, "bmp");
}

std::string MaskFilePath(std::string_view settingsFolder, int cameraId) {
    return CameraFileName(settingsFolder, "\\Mask", cameraId, "bin");
}

}  // namespace settings
