#include "settings/SettingsSchema.h"

#include <algorithm>

#include "settings/ValueRules.h"

namespace settings {
namespace {

// Both accessors of one record field.
#define SETTINGS_FIELD(member)                                                 \
    FieldAccess {                                                              \
        [](CameraSettings& s) -> FieldRef { return &s.member; },               \
            [](const CameraSettings& s) -> ConstFieldRef { return &s.member; } \
    }

constexpr FieldAccess kNoField{};

using R = ReadRule;
using W = WriteFormat;

constexpr const char* kCal = kSectionCalibrationData;
constexpr const char* kGen = kSectionGeneralSettings;
constexpr const char* kCam = kSectionCameraAngle;
constexpr const char* kCnt = kSectionCounterSettings;
constexpr const char* kCom = kSectionCommon;

// clang-format off
constexpr SettingEntry kTable[] = {
//   section key                       field                                    read rule            load default  new file     written as
    {kCal, "Path",                     SETTINGS_FIELD(calibrationPath),         R::Text,             "",          nullptr,     W::Text},
    {kGen, "Setted",                   SETTINGS_FIELD(generalSetted),           R::Integer,          "0",         "0",         W::Integer},
    {kGen, "Site Name",                SETTINGS_FIELD(siteName),                R::Text,             "",          nullptr,     W::Text},
    {kGen, "Remote Access",            SETTINGS_FIELD(remoteAccess),            R::Integer,          "1",         nullptr,     W::Integer},
    {kGen, "IP Addr Index",            SETTINGS_FIELD(ipAddrIndex),             R::Integer,          "-1",        nullptr,     W::Integer},
    {kGen, "IP Addr",                  SETTINGS_FIELD(ipAddr),                  R::Text,             "",          nullptr,     W::Text},
    {kGen, "Port",                     SETTINGS_FIELD(port),                    R::Integer,          "700",       nullptr,     W::Integer},
    {kGen, "Auto Recycle Days Index",  SETTINGS_FIELD(autoRecycleDaysIndex),    R::Integer,          "0",         "0",         W::Integer},
    {kGen, "Auto Recycle Days",        SETTINGS_FIELD(autoRecycleDays),         R::Integer,          "30",        "30",        W::Integer},
    {kGen, "Auto Restart",             kNoField,                                R::NotRead,          nullptr,     "0",         W::NewFileOnly},
    {kGen, "Notify Video Loss",        kNoField,                                R::NotRead,          nullptr,     "0",         W::NewFileOnly},
    {kGen, "Unit",                     SETTINGS_FIELD(unit),                    R::Integer,          "0",         "0",         W::Integer},
    {kCam, "Setted",                   SETTINGS_FIELD(cameraAngleSetted),       R::Integer,          "0",         "0",         W::Integer},
    {kCam, "Template Dimension",       SETTINGS_FIELD(templateDimension),       R::IntegerThenFloat, "100",       "100.0",     W::OneDecimal},
    {kCam, "Angle XY",                 SETTINGS_FIELD(angleXY),                 R::NumberFromText,   "0",         "0.000000",  W::SixDecimals},
    {kCam, "Angle YZ",                 SETTINGS_FIELD(angleYZ),                 R::NumberFromText,   "-0.785398", "-0.785398", W::SixDecimals},
    {kCam, "Angle XZ",                 SETTINGS_FIELD(angleXZ),                 R::NumberFromText,   "0",         "0.000000",  W::SixDecimals},
    {kCam, "Height",                   SETTINGS_FIELD(cameraHeight),            R::NumberFromText,   "240",       "240.0",     W::OneDecimal},
    {kCnt, "Setted",                   SETTINGS_FIELD(counterSetted),           R::Integer,          "0",         "0",         W::Integer},
    {kCnt, "Image Cnt Line Pt1 x",     SETTINGS_FIELD(imageLine[0].x),          R::Integer,          "-1",        "-1",        W::Integer},
    {kCnt, "Image Cnt Line Pt1 y",     SETTINGS_FIELD(imageLine[0].y),          R::Integer,          "-1",        "-1",        W::Integer},
    {kCnt, "Image Cnt Line Pt2 x",     SETTINGS_FIELD(imageLine[1].x),          R::Integer,          "-1",        "-1",        W::Integer},
    {kCnt, "Image Cnt Line Pt2 y",     SETTINGS_FIELD(imageLine[1].y),          R::Integer,          "-1",        "-1",        W::Integer},
    {kCnt, "World Cnt Line Pt1 x",     SETTINGS_FIELD(worldLine[0].x),          R::IntegerLow16,     "-1",        "-1",        W::WorldCoordinate},
    {kCnt, "World Cnt Line Pt1 y",     SETTINGS_FIELD(worldLine[0].y),          R::IntegerLow16,     "-1",        "-1",        W::WorldCoordinate},
    {kCnt, "World Cnt Line Pt2 x",     SETTINGS_FIELD(worldLine[1].x),          R::IntegerLow16,     "-1",        "-1",        W::WorldCoordinate},
    {kCnt, "World Cnt Line Pt2 y",     SETTINGS_FIELD(worldLine[1].y),          R::IntegerLow16,     "-1",        "-1",        W::WorldCoordinate},
    {kCnt, "AngleIN",                  SETTINGS_FIELD(angleIn),                 R::NumberFromText,   "0",         "0.000000",  W::SixDecimals},
    {kCnt, "Mask Size",                SETTINGS_FIELD(maskSize),                R::Integer,          "0",         "0",         W::Integer},
    {kCnt, "Mask Color",               SETTINGS_FIELD(maskColor),               R::Integer,          "255",       "255",       W::Integer},
    {kCnt, "Display Counter Line",     SETTINGS_FIELD(displayCounterLine),      R::Integer,          "0",         "0",         W::Integer},
    {kCnt, "Display Tracking Frame",   SETTINGS_FIELD(displayTrackingFrame),    R::Integer,          "0",         "0",         W::Integer},
    {kCnt, "Display Object Height",    SETTINGS_FIELD(displayObjectHeight),     R::Integer,          "0",         "1",         W::Integer},
    {kCnt, "Display Mask",             SETTINGS_FIELD(displayMask),             R::Integer,          "0",         "0",         W::Integer},
    {kCnt, "Counting IO Direction",    SETTINGS_FIELD(countingIODirection),     R::Integer,          "0",         "0",         W::Integer},
    {kCnt, "Counting IO Mode",         SETTINGS_FIELD(countingIOMode),          R::Integer,          "0",         "0",         W::Integer},
    {kCnt, "Height Detection",         SETTINGS_FIELD(heightDetection),         R::Integer,          "0",         "1",         W::Integer},
    {kCnt, "Auto Background Update",   SETTINGS_FIELD(autoBackgroundUpdate),    R::Integer,          "0",         "0",         W::Integer},
    {kCnt, "Update Interval",          SETTINGS_FIELD(updateInterval),          R::Integer,          "30",        "30",        W::Integer},
    {kCnt, "Counter Operation Time",   SETTINGS_FIELD(counterOperationTime),    R::Integer,          "0",         "0",         W::Integer},
    {kCnt, "Operation Start Time",     SETTINGS_FIELD(operationStartTime),      R::Integer,          "80000",     "80000",     W::Integer},
    {kCnt, "Operation Stop Time",      SETTINGS_FIELD(operationStopTime),       R::Integer,          "180000",    "180000",    W::Integer},
    {kCom, "Cut X1",                   SETTINGS_FIELD(cutX1),                   R::Integer,          "10",        "10",        W::Integer},
    {kCom, "Cut X2",                   SETTINGS_FIELD(cutX2),                   R::Integer,          "310",       "310",       W::Integer},
    {kCom, "VarTh",                    SETTINGS_FIELD(varTh),                   R::Integer,          "0",         "0",         W::Integer},
};
// clang-format on

#undef SETTINGS_FIELD

// Sections the selectors 1 to 4 name; "Common" has none of its own.
struct SectionSelector {
    const char* section;
    int32_t selector;
};
constexpr SectionSelector kSelectors[] = {
    {kSectionGeneralSettings, kGeneralSettings},
    {kSectionCameraAngle, kCameraAngle},
    {kSectionCounterSettings, kCounterSettings},
    {kSectionCalibrationData, kCalibrationData},
};

// Reads one key into its field. A field whose type does not suit the rule is
// left alone (the table tests rule out such rows).
void ReadEntry(IniStore& store, const SettingEntry& entry, CameraSettings& settings) {
    if (entry.read == ReadRule::NotRead || entry.field.get == nullptr) return;
    const FieldRef field = entry.field.get(settings);
    const char* loadDefault = entry.loadDefault != nullptr ? entry.loadDefault : "";
    switch (entry.read) {
        case ReadRule::Integer:
            if (auto* value = std::get_if<int32_t*>(&field)) {
                **value =
                    store.ReadInteger(entry.section, entry.key, IntegerFromText(loadDefault, 0));
            }
            break;
        case ReadRule::IntegerThenFloat:
            if (auto* value = std::get_if<float*>(&field)) {
                **value = TemplateDimensionFromInteger(
                    store.ReadInteger(entry.section, entry.key, IntegerFromText(loadDefault, 0)));
            }
            break;
        case ReadRule::IntegerLow16:
            if (auto* value = std::get_if<uint16_t*>(&field)) {
                **value = WorldCoordinateFromInteger(
                    store.ReadInteger(entry.section, entry.key, IntegerFromText(loadDefault, 0)));
            }
            break;
        case ReadRule::Text:
            if (auto* value = std::get_if<std::string*>(&field)) {
                **value = CutSettingsText(store.ReadText(entry.section, entry.key, loadDefault));
            }
            break;
        case ReadRule::NumberFromText:
            if (auto* value = std::get_if<float*>(&field)) {
                **value = NumberFromText(store.ReadText(entry.section, entry.key, ""),
                                         NumberFromText(loadDefault, 0.0f));
            }
            break;
        case ReadRule::NotRead:
            break;
    }
}

}  // namespace

std::span<const SettingEntry> SettingsTable() {
    return kTable;
}

bool SectionSelected(std::string_view section, int32_t selector) {
    if (selector == kAllSections) {
        for (const SettingEntry& entry : kTable) {
            if (section == entry.section) return true;
        }
        return false;
    }
    for (const SectionSelector& known : kSelectors) {
        if (known.selector == selector) return section == known.section;
    }
    return false;
}

std::string FormatEntry(const SettingEntry& entry, const CameraSettings& settings) {
    if (entry.field.read == nullptr) return std::string();
    const ConstFieldRef field = entry.field.read(settings);
    switch (entry.write) {
        case WriteFormat::Integer:
            if (auto* value = std::get_if<const int32_t*>(&field)) return FormatInteger(**value);
            break;
        case WriteFormat::WorldCoordinate:
            if (auto* value = std::get_if<const uint16_t*>(&field)) {
                return FormatWorldCoordinate(**value);
            }
            break;
        case WriteFormat::OneDecimal:
            if (auto* value = std::get_if<const float*>(&field)) return FormatOneDecimal(**value);
            break;
        case WriteFormat::SixDecimals:
            if (auto* value = std::get_if<const float*>(&field)) return FormatSixDecimals(**value);
            break;
        case WriteFormat::Text:
            if (auto* value = std::get_if<const std::string*>(&field)) return TextForFile(**value);
            break;
        case WriteFormat::NewFileOnly:
            break;
    }
    return std::string();
}

void LoadSettings(IniStore& store, CameraSettings& settings, int32_t selector) {
    for (const SettingEntry& entry : kTable) {
        if (SectionSelected(entry.section, selector)) ReadEntry(store, entry, settings);
    }
}

void SaveSettings(IniStore& store, const CameraSettings& settings, int32_t selector) {
    for (const SettingEntry& entry : kTable) {
        if (entry.write == WriteFormat::NewFileOnly || entry.field.read == nullptr) continue;
        if (!SectionSelected(entry.section, selector)) continue;
        store.WriteText(entry.section, entry.key, FormatEntry(entry, settings));
    }
}

CameraSettings DefaultSettings() {
    // A file without a single key: every read gives the table's default.
    class NoFile final : public IniStore {
      public:
        int32_t ReadInteger(const char*, const char*, int32_t defaultValue) override {
            return defaultValue;
        }
        std::string ReadText(const char*, const char*, const char* defaultValue) override {
            return defaultValue ? defaultValue : "";
        }
        void WriteText(const char*, const char*, const std::string&) override {}
    } noFile;
    CameraSettings settings;
    LoadSettings(noFile, settings, kAllSections);
    return settings;
}

void WriteNewSettings(IniStore& store) {
    for (const SettingEntry& entry : kTable) {
        if (entry.newFileValue != nullptr) {
            store.WriteText(entry.section, entry.key, entry.newFileValue);
        }
    }
}

std::vector<NewFileSection> NewFileSections() {
    std::vector<NewFileSection> sections;
    for (const SettingEntry& entry : kTable) {
        if (entry.newFileValue == nullptr) continue;
        auto section = std::find_if(sections.begin(), sections.end(), [&](const NewFileSection& s) {
            return std::string_view(s.name) == entry.section;
        });
        if (section == sections.end())
            section = sections.insert(sections.end(), {entry.section, {}});
        section->keys.emplace_back(entry.key, entry.newFileValue);
    }
    return sections;
}

}  // namespace settings
