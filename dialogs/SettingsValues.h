#pragma once
// What each settings dialog shows and hands back, and the rules by which the
// view copies it from the camera's settings before the dialog opens and back
// once the user has confirmed it. Platform-free.
#include <cstdint>
#include <string>

#include "dialogs/CounterValues.h"
#include "settings/CameraSettings.h"

// General Settings (radio values: 0 = the first button of the group).
struct GeneralSettingsValues {
    std::string siteName;
    int32_t remoteAccess = 1;  // 0 = On, 1 = Off
    int32_t ipAddrIndex = -1;
    std::string ipAddr;
    int32_t port = 700;
    int32_t recycleIndex = 0;
    int32_t recycleDays = 30;
    int32_t unit = 0;  // 0 = cm, 1 = inch
    bool operator==(const GeneralSettingsValues&) const = default;
};
GeneralSettingsValues GeneralValuesFrom(const CameraSettings& settings);
// After OK: all eight values go back.
void ApplyGeneralValues(const GeneralSettingsValues& values, CameraSettings& settings);

// Counter Settings: everything but the mask region, which is no value.
struct CounterSettingsValues {
    CountingLineRecord line;  // no line: picture points -1, floor points -1 (0xFFFF), angle 0
    int32_t displayCounterLine = 0;
    int32_t displayTrackingFrame = 0;
    int32_t displayObjectHeight = 0;
    int32_t displayMask = 0;
    int32_t ioDirection = 0;
    int32_t countingMode = 0;
    int32_t heightDetection = 0;
    int32_t operationTime = 0;          // 0 = 24 hours, 1 = from-to
    int32_t autoBackgroundUpdate = -1;  // -1 until the view fills it
    int32_t intervalFirst = 0;          // "Update Interval" / 60
    int32_t intervalSecond = 0;         // "Update Interval" % 60
    int32_t startTime = 80000;          // hour x 10000 + minute x 100 + second
    int32_t stopTime = 180000;
    uint32_t maskColor = 0x0000FF;  // COLORREF, red
    bool operator==(const CounterSettingsValues&) const = default;
};
// The stored line only when the settings say a line is set.
CounterSettingsValues CounterValuesFrom(const CameraSettings& settings);
// After OK: start and stop time go back only when start comes before stop;
// the line-set flag follows the line. The mask is stored by the view.
void ApplyCounterValues(const CounterSettingsValues& values, CameraSettings& settings);
// What Reset All shows: the values of a settings file without a single key.
CounterSettingsValues FactoryCounterValues();

// Camera Angle: lengths in centimetres, angles in radians.
struct CameraAngleValues {
    float templateDimension = 100.0f;  // the dialog's box is read-only: it passes through
    float angleXY = 0.0f;
    float angleYZ = 0.0f;
    float angleXZ = 0.0f;
    float height = 240.0f;
    int32_t unit = 0;
    bool operator==(const CameraAngleValues&) const = default;
};
CameraAngleValues AngleValuesFrom(const CameraSettings& settings);
// Update pressed: the template size, the angles and the height are stored
// and the angle counts as set; a counting line drawn for another angle is
// dropped. True when it was.
bool AcceptAngleValues(const CameraAngleValues& values, CameraSettings& settings);
