#include "dialogs/SettingsValues.h"

#include "dialogs/CameraAngleValues.h"
#include "settings/SettingsSchema.h"

GeneralSettingsValues GeneralValuesFrom(const CameraSettings& settings) {
    return {settings.siteName,        settings.remoteAccess, settings.ipAddrIndex,
            settings.ipAddr,          settings.port,         settings.autoRecycleDaysIndex,
            settings.autoRecycleDays, settings.unit};
}

void ApplyGeneralValues(const GeneralSettingsValues& values, CameraSettings& settings) {
    settings.siteName = values.siteName;
    settings.remoteAccess = values.remoteAccess;
    settings.ipAddrIndex = values.ipAddrIndex;
    settings.ipAddr = values.ipAddr;
    settings.port = values.port;
    settings.autoRecycleDaysIndex = values.recycleIndex;
    settings.autoRecycleDays = values.recycleDays;
    settings.unit = values.unit;
}

CounterSettingsValues CounterValuesFrom(const CameraSettings& settings) {
    CounterSettingsValues values;
    if (settings.counterSetted) {
        values.line = {settings.imageLine[0].x,
                       settings.imageLine[0].y,
                       settings.imageLine[1].x,
                       settings.imageLine[1].y,
                       static_cast<int16_t>(settings.worldLine[0].x),
                       static_cast<int16_t>(settings.worldLine[0].y),
                       static_cast<int16_t>(settings.worldLine[1].x),
                       static_cast<int16_t>(settings.worldLine[1].y),
                       settings.angleIn};
    }
    values.displayCounterLine = settings.displayCounterLine;
    values.displayTrackingFrame = settings.displayTrackingFrame;
    values.displayObjectHeight = settings.displayObjectHeight;
    values.displayMask = settings.displayMask;
    values.ioDirection = settings.countingIODirection;
    values.countingMode = settings.countingIOMode;
    values.heightDetection = settings.heightDetection;
    values.operationTime = settings.counterOperationTime;
    values.autoBackgroundUpdate = settings.autoBackgroundUpdate;
    const counter::IntervalFields interval = counter::SplitInterval(settings.updateInterval);
    values.intervalFirst = interval.first;
    values.intervalSecond = interval.second;
    values.startTime = settings.operationStartTime;
    values.stopTime = settings.operationStopTime;
    values.maskColor = static_cast<uint32_t>(settings.maskColor);
    return values;
}

void ApplyCounterValues(const CounterSettingsValues& values, CameraSettings& settings) {
    const CountingLineRecord& line = values.line;
    settings.imageLine[0] = {line.imageX1, line.imageY1};
    settings.imageLine[1] = {line.imageX2, line.imageY2};
    settings.worldLine[0] = {static_cast<uint16_t>(line.worldX1),
                             static_cast<uint16_t>(line.worldY1)};
    settings.worldLine[1] = {static_cast<uint16_t>(line.worldX2),
                             static_cast<uint16_t>(line.worldY2)};
    settings.angleIn = line.angleIn;
    settings.countingIODirection = values.ioDirection;
    settings.countingIOMode = values.countingMode;
    settings.displayCounterLine = values.displayCounterLine;
    settings.displayTrackingFrame = values.displayTrackingFrame;
    settings.displayObjectHeight = values.displayObjectHeight;
    settings.displayMask = values.displayMask;
    settings.heightDetection = values.heightDetection;
    settings.autoBackgroundUpdate = values.autoBackgroundUpdate;
    settings.updateInterval = counter::JoinInterval(values.intervalFirst, values.intervalSecond);
    settings.counterOperationTime = values.operationTime;
    if (counter::StartBeforeStop(values.startTime, values.stopTime)) {
        settings.operationStartTime = values.startTime;
        settings.operationStopTime = values.stopTime;
    }
    settings.maskColor = static_cast<int32_t>(values.maskColor);
    settings.counterSetted = line.HasLine() ? 1 : 0;
}

CounterSettingsValues FactoryCounterValues() {
    return CounterValuesFrom(settings::DefaultSettings());
}

CameraAngleValues AngleValuesFrom(const CameraSettings& settings) {
    return {settings.templateDimension, settings.angleXY,      settings.angleYZ,
            settings.angleXZ,           settings.cameraHeight, settings.unit};
}

bool AcceptAngleValues(const CameraAngleValues& values, CameraSettings& settings) {
    settings.templateDimension = values.templateDimension;
    // A counting line belongs to the angle it was drawn for.
    const bool lineDropped =
        angle::AnglesChanged({settings.angleXY, settings.angleYZ, settings.angleXZ},
                             {values.angleXY, values.angleYZ, values.angleXZ});
    if (lineDropped) settings.counterSetted = 0;
    settings.angleXY = values.angleXY;
    settings.angleYZ = values.angleYZ;
    settings.angleXZ = values.angleXZ;
    settings.cameraHeight = values.height;
    settings.cameraAngleSetted = 1;
    return lineDropped;
}
