#pragma once
// What a new settings file holds: every key a new file gets, in file order,
// with its value. Shared by the native and the Windows tests of the store.
#include <string>
#include <tuple>
#include <vector>

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
