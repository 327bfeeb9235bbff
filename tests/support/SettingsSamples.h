#pragma once
// Settings shared by the native and the Windows tests of the store: what a new
// settings file holds, and a record in which every field differs from its
// load default.
#include <string>
#include <tuple>
#include <vector>

#include "settings/CameraSettings.h"

using SettingsFileRow = std::tuple<std::string, std::string, std::string>;  // section, key, value

inline const std::vector<SettingsFileRow> kNewSettingsFileRows = {
    {"General Settings", "Setted", "0"},
    {"General Settings", "Auto Recycle Days Index", "0"},
    {"General Settings", "Auto Recycle Days", "30"},
    {"General Settings", "Auto Restart", "0"},
    {"General Settings", "Notify Video Loss", "0"},
    {"General Settings", "Unit", "0"},
    {"Camera Angle", "Setted", "0"},
    {"Camera Angle", "Template Dimension", "100.0"},
    {"Camera Angle", "Angle XY", "0.000000"},
    {"Camera Angle", "Angle YZ", "-0.785398"},
    {"Camera Angle", "Angle XZ", "0.000000"},
    {"Camera Angle", "Height", "240.0"},
    {"Counter Settings", "Setted", "0"},
    {"Counter Settings", "Image Cnt Line Pt1 x", "-1"},
    {"Counter Settings", "Image Cnt Line Pt1 y", "-1"},
    {"Counter Settings", "Image Cnt Line Pt2 x", "-1"},
    {"Counter Settings", "Image Cnt Line Pt2 y", "-1"},
    {"Counter Settings", "World Cnt Line Pt1 x", "-1"},
    {"Counter Settings", "World Cnt Line Pt1 y", "-1"},
    {"Counter Settings", "World Cnt Line Pt2 x", "-1"},
    {"Counter Settings", "World Cnt Line Pt2 y", "-1"},
    {"Counter Settings", "AngleIN", "0.000000"},
    {"Counter Settings", "Mask Size", "0"},
    {"Counter Settings", "Mask Color", "255"},
    {"Counter Settings", "Display Counter Line", "0"},
    {"Counter Settings", "Display Tracking Frame", "0"},
    {"Counter Settings", "Display Object Height", "1"},
    {"Counter Settings", "Display Mask", "0"},
    {"Counter Settings", "Counting IO Direction", "0"},
    {"Counter Settings", "Counting IO Mode", "0"},
    {"Counter Settings", "Height Detection", "1"},
    {"Counter Settings", "Auto Background Update", "0"},
    {"Counter Settings", "Update Interval", "30"},
    {"Counter Settings", "Counter Operation Time", "0"},
    {"Counter Settings", "Operation Start Time", "80000"},
    {"Counter Settings", "Operation Stop Time", "180000"},
    {"Common", "Cut X1", "10"},
    {"Common", "Cut X2", "310"},
    {"Common", "VarTh", "0"},
};

inline CameraSettings Scrambled() {
    CameraSettings s;
    s.calibrationPath = "C:\\Cal\\left right.coe";
    s.generalSetted = 4;
    s.siteName = "Main Entrance";
    s.remoteAccess = 0;
    s.ipAddrIndex = 1;
    s.ipAddr = "192.168.1.20";
    s.port = 7001;
    s.autoRecycleDaysIndex = 1;
    s.autoRecycleDays = 45;
    s.unit = 1;
    s.cameraAngleSetted = 1;
    s.templateDimension = 60.0f;
    s.angleXY = 0.012345f;
    s.angleYZ = -1.047198f;
    s.angleXZ = -0.5f;
    s.cameraHeight = 275.5f;
    s.counterSetted = 1;
    s.imageLine = {{{12, 34}, {300, 220}}};
    s.worldLine = {{{0x1234, 0x8000}, {0x7FFF, 0x0001}}};
    s.angleIn = 3.141593f;
    s.maskSize = 80;
    s.maskColor = 0x0000FF00;
    s.displayCounterLine = 1;
    s.displayTrackingFrame = 1;
    s.displayObjectHeight = 1;
    s.displayMask = 1;
    s.countingIODirection = 1;
    s.countingIOMode = 2;
    s.heightDetection = 1;
    s.autoBackgroundUpdate = 1;
    s.updateInterval = 90;
    s.counterOperationTime = 1;
    s.operationStartTime = 63000;
    s.operationStopTime = 221530;
    s.cutX1 = 5;
    s.cutX2 = 315;
    s.varTh = 12;
    return s;
}
