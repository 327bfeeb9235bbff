#pragma once
// Two complete saves of one camera that differ in every stored value: the
// settings record, the mask (two regions of the same byte size) and the
// reference picture. The save-loop probe alternates between them; the kill
// test checks that whatever a kill leaves is one of the two.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/Handles.h"
#include "settings/CameraSettings.h"
#include "settings/FileReplace.h"
#include "settings/MaskFile.h"
#include "settings/ReferencePictureFile.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsPaths.h"
#include "tests/support/SettingsSamples.h"

struct SaveSample {
    CameraSettings record;
    RECT maskRect;
    uint8_t pictureByte;
};

inline SaveSample SampleOld() {
    return {CameraSettings{}, {10, 10, 60, 40}, 0x11};
}
inline SaveSample SampleNew() {
    return {Scrambled(), {200, 150, 250, 180}, 0x22};
}

struct CameraFiles {
    explicit CameraFiles(const std::string& folder)
        : settings(settings::SettingsFilePath(folder, 7)),
          mask(folder + "\\Mask07.bin"),
          picture(folder + "\\Reference07.bmp") {}
    std::string settings, mask, picture;
};

// Saves as the program does after a confirmed change: the mask, the picture
// and the settings staged, then put in place together.
inline void SaveCamera(const CameraFiles& files, SaveSample sample) {
    settings::FileChange change;
    RegionHandle dialogRegion(::CreateRectRgnIndirect(&sample.maskRect));
    RegionHandle viewRegion;
    settings::StoreMask(dialogRegion.get(), viewRegion, sample.record.maskSize, files.mask,
                        &change);
    std::vector<uint8_t> pixels(settings::kReferencePixelBytes, sample.pictureByte);
    settings::StoreReferencePicture(
        files.picture, settings::ConstReferencePixels(pixels.data(), pixels.size()), &change);
    settings::SettingsFile file;
    file.CreateSettingIni(files.settings);
    file.SaveSettingIni(sample.record, {kAllSections}, &change);
    change.Commit();
}
