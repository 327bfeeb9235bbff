#include "settings/SettingsSchema.h"

#include <gtest/gtest.h>

#include "tests/support/NewSettingsFile.h"

#include <climits>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "MemoryIni.h"
#include "settings/CameraSettings.h"

using namespace settings;

namespace {

// A record in which every field differs from its load default.
CameraSettings Scrambled() {
    CameraSettings s;
    s.calibrationPath = "D:\\Cal\\stereo.coe";
    s.generalSetted = 3;
    s.siteName = "North Door";
    s.remoteAccess = 0;
    s.ipAddrIndex = 2;
    s.ipAddr = "10.1.2.3";
    s.port = 8080;
    s.autoRecycleDaysIndex = 2;
    s.autoRecycleDays = 60;
    s.unit = 1;
    s.cameraAngleSetted = 1;
    s.templateDimension = 55.0f;
    s.angleXY = 0.125f;
    s.angleYZ = -1.25f;
    s.angleXZ = 0.5f;
    s.cameraHeight = 310.5f;
    s.counterSetted = 1;
    s.imageLine = {{{10, 20}, {300, 200}}};
    s.worldLine = {{{0x1234, 0x8000}, {0x7FFF, 0x0001}}};
    s.angleIn = 1.570796f;
    s.maskSize = 48;
    s.maskColor = 0x00FF00;
    s.displayCounterLine = 1;
    s.displayTrackingFrame = 1;
    s.displayObjectHeight = 1;
    s.displayMask = 1;
    s.countingIODirection = 1;
    s.countingIOMode = 2;
    s.heightDetection = 1;
    s.autoBackgroundUpdate = 1;
    s.updateInterval = 125;
    s.counterOperationTime = 1;
    s.operationStartTime = 73000;
    s.operationStopTime = 193015;
    s.cutX1 = 20;
    s.cutX2 = 300;
    s.varTh = 9;
    return s;
}

std::set<std::string> SectionsIn(const std::vector<MemoryIni::Access>& log) {
    std::set<std::string> sections;
    for (const auto& access : log) sections.insert(access.section);
    return sections;
}

}  // namespace

TEST(SettingsTable, EveryRowSuitsItsField) {
    const CameraSettings record;
    std::set<std::pair<std::string, std::string>> seen;
    for (const SettingEntry& e : SettingsTable()) {
        SCOPED_TRACE(std::string(e.section) + "/" + e.key);
        EXPECT_TRUE(seen.insert({e.section, e.key}).second) << "key listed twice";
        const bool notRead = e.read == ReadRule::NotRead;
        EXPECT_EQ(notRead, e.write == WriteFormat::NewFileOnly);
        EXPECT_EQ(notRead, e.field.get == nullptr);
        EXPECT_EQ(notRead, e.field.read == nullptr);
        EXPECT_EQ(notRead, e.loadDefault == nullptr);
        if (notRead) {
            EXPECT_NE(e.newFileValue, nullptr) << "a key neither read nor written";
            continue;
        }
        const ConstFieldRef field = e.field.read(record);
        switch (e.read) {
            case ReadRule::Integer:
                EXPECT_TRUE(std::holds_alternative<const int32_t*>(field));
                EXPECT_EQ(e.write, WriteFormat::Integer);
                break;
            case ReadRule::IntegerLow16:
                EXPECT_TRUE(std::holds_alternative<const uint16_t*>(field));
                EXPECT_EQ(e.write, WriteFormat::WorldCoordinate);
                break;
            case ReadRule::IntegerThenFloat:
            case ReadRule::NumberFromText:
                EXPECT_TRUE(std::holds_alternative<const float*>(field));
                EXPECT_TRUE(e.write == WriteFormat::OneDecimal ||
                            e.write == WriteFormat::SixDecimals);
                break;
            case ReadRule::Text:
                EXPECT_TRUE(std::holds_alternative<const std::string*>(field));
                EXPECT_EQ(e.write, WriteFormat::Text);
                break;
            case ReadRule::NotRead:
                break;
        }
    }
    EXPECT_EQ(SettingsTable().size(), 45u);
}

TEST(SettingsTable, AccessorsReachDistinctFields) {
    // Writing through one accessor must change exactly one field.
    std::set<const void*> addresses;
    CameraSettings record;
    for (const SettingEntry& e : SettingsTable()) {
        if (e.field.get == nullptr) continue;
        const FieldRef ref = e.field.get(record);
        const void* address = std::visit(
            [](auto p) -> const void* {
                if constexpr (std::is_same_v<decltype(p), std::monostate>)
                    return nullptr;
                else
                    return p;
            },
            ref);
        EXPECT_NE(address, nullptr);
        EXPECT_TRUE(addresses.insert(address).second) << e.key;
    }
}

TEST(LoadSettings, AMissingFileReadsAsTheDefaultRecord) {
    MemoryIni ini;
    CameraSettings record = Scrambled();
    LoadSettings(ini, record, kAllSections);
    EXPECT_EQ(record, CameraSettings{});
    EXPECT_EQ(record.angleYZ, -0.785398f);
    EXPECT_EQ(record.worldLine[1].y, 0xFFFF);
}

TEST(NewSettings, HoldsExactlyTheNewFileKeysInOrder) {
    MemoryIni ini;
    WriteNewSettings(ini);
    std::vector<SettingsFileRow> rows;
    for (const auto& section : ini.sections) {
        for (const auto& key : section.keys) rows.emplace_back(section.name, key.name, key.value);
    }
    EXPECT_EQ(rows, kNewSettingsFileRows);
}

TEST(NewSettings, LoadsAsTheNewFileRecord) {
    MemoryIni ini;
    WriteNewSettings(ini);
    CameraSettings record = Scrambled();
    LoadSettings(ini, record, kAllSections);
    CameraSettings expected;
    expected.displayObjectHeight = 1;  // a new file turns these Off
    expected.heightDetection = 1;
    EXPECT_EQ(record, expected);
    EXPECT_EQ(record.remoteAccess, 1);
    EXPECT_EQ(record.ipAddrIndex, -1);
    EXPECT_EQ(record.port, 700);
    EXPECT_TRUE(record.calibrationPath.empty());
}

TEST(LoadSettings, TemplateDimensionDropsTheFraction) {
    MemoryIni ini;
    ini.Set("Camera Angle", "Template Dimension", "30.5");
    CameraSettings record;
    LoadSettings(ini, record, kCameraAngle);
    EXPECT_EQ(record.templateDimension, 30.0f);
    SaveSettings(ini, record, kCameraAngle);
    EXPECT_EQ(*ini.Get("Camera Angle", "Template Dimension"), "30.0");
}

TEST(LoadSettings, AngleYzAbsentEmptyOrLetters) {
    CameraSettings record;
    record.angleYZ = 1.0f;
    MemoryIni absent;
    LoadSettings(absent, record, kCameraAngle);
    EXPECT_EQ(record.angleYZ, -0.785398f);

    MemoryIni empty;
    empty.Set("Camera Angle", "Angle YZ", "");
    record.angleYZ = 1.0f;
    LoadSettings(empty, record, kCameraAngle);
    EXPECT_EQ(record.angleYZ, -0.785398f);

    MemoryIni letters;
    letters.Set("Camera Angle", "Angle YZ", "abc");
    LoadSettings(letters, record, kCameraAngle);
    EXPECT_EQ(record.angleYZ, 0.0f);
}

TEST(LoadSettings, IntegersReadTheirPrefixLettersReadZeroEmptyReadsDefault) {
    MemoryIni ini;
    ini.Set("General Settings", "Port", "abc");
    ini.Set("General Settings", "Auto Recycle Days", "45 days");
    ini.Set("General Settings", "IP Addr Index", "");
    CameraSettings record;
    record.ipAddrIndex = 5;
    LoadSettings(ini, record, kGeneralSettings);
    EXPECT_EQ(record.port, 0);
    EXPECT_EQ(record.autoRecycleDays, 45);
    EXPECT_EQ(record.ipAddrIndex, -1);
}

TEST(SaveSettings, LinePointsRoundTripIncludingNone) {
    CameraSettings record;
    record.imageLine[0] = {-1, -1};
    record.imageLine[1] = {319, 0};
    record.worldLine[0] = {0xFFFF, 0xFFFF};
    record.worldLine[1] = {0x8001, 12};
    MemoryIni ini;
    SaveSettings(ini, record, kCounterSettings);
    EXPECT_EQ(*ini.Get("Counter Settings", "Image Cnt Line Pt1 x"), "-1");
    EXPECT_EQ(*ini.Get("Counter Settings", "World Cnt Line Pt1 x"), "-1");
    EXPECT_EQ(*ini.Get("Counter Settings", "World Cnt Line Pt2 x"), "-32767");
    CameraSettings loaded = Scrambled();
    LoadSettings(ini, loaded, kCounterSettings);
    EXPECT_EQ(loaded.imageLine, record.imageLine);
    EXPECT_EQ(loaded.worldLine, record.worldLine);
    EXPECT_EQ(loaded.worldLine[0].x, 0xFFFF);
}

TEST(SaveSettings, EverySectionRoundTrips) {
    const CameraSettings record = Scrambled();
    MemoryIni ini;
    SaveSettings(ini, record, kAllSections);
    CameraSettings loaded;
    LoadSettings(ini, loaded, kAllSections);
    EXPECT_EQ(loaded, record);
    EXPECT_EQ(*ini.Get("Camera Angle", "Height"), "310.5");
    EXPECT_EQ(*ini.Get("Counter Settings", "AngleIN"), "1.570796");
}

TEST(Selectors, EachHandlesOnlyItsSectionInTableOrder) {
    const struct {
        int32_t selector;
        const char* section;
    } cases[] = {{kGeneralSettings, "General Settings"},
                 {kCameraAngle, "Camera Angle"},
                 {kCounterSettings, "Counter Settings"},
                 {kCalibrationData, "Calibration Data"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.section);
        MemoryIni loadIni;
        CameraSettings record;
        LoadSettings(loadIni, record, c.selector);
        EXPECT_EQ(SectionsIn(loadIni.log), std::set<std::string>{c.section});

        MemoryIni saveIni;
        SaveSettings(saveIni, Scrambled(), c.selector);
        EXPECT_EQ(SectionsIn(saveIni.log), std::set<std::string>{c.section});

        std::vector<std::string> expectedKeys;
        for (const SettingEntry& e : SettingsTable()) {
            if (std::string(e.section) == c.section && e.field.read != nullptr) {
                expectedKeys.push_back(e.key);
            }
        }
        std::vector<std::string> savedKeys;
        for (const auto& access : saveIni.log) savedKeys.push_back(access.key);
        EXPECT_EQ(savedKeys, expectedKeys);
    }
}

TEST(Selectors, OnlyAllSectionsTouchesCommonAndKeepsSectionOrder) {
    MemoryIni ini;
    SaveSettings(ini, Scrambled(), kAllSections);
    std::vector<std::string> order;
    for (const auto& access : ini.log) {
        if (order.empty() || order.back() != access.section) order.push_back(access.section);
    }
    const std::vector<std::string> expected = {"Calibration Data", "General Settings",
                                               "Camera Angle", "Counter Settings", "Common"};
    EXPECT_EQ(order, expected);
    for (int32_t selector = 1; selector <= 4; ++selector) {
        MemoryIni other;
        SaveSettings(other, Scrambled(), selector);
        CameraSettings loaded;
        LoadSettings(other, loaded, selector);
        EXPECT_EQ(SectionsIn(other.log).count("Common"), 0u) << selector;
    }
}

TEST(Selectors, CounterSettingsLeavesCommonValuesInTheRecordAlone) {
    MemoryIni ini;
    ini.Set("Common", "Cut X1", "1");
    ini.Set("Common", "Cut X2", "2");
    ini.Set("Common", "VarTh", "3");
    CameraSettings record;
    LoadSettings(ini, record, kCounterSettings);
    EXPECT_EQ(record.cutX1, 10);
    EXPECT_EQ(record.varTh, 0);
    SaveSettings(ini, record, kCounterSettings);
    EXPECT_EQ(*ini.Get("Common", "Cut X1"), "1");
    EXPECT_EQ(*ini.Get("Common", "VarTh"), "3");
}

TEST(Selectors, GeneralSettingsLeavesAutoRestartAndNotifyVideoLoss) {
    MemoryIni ini;
    ini.Set("General Settings", "Auto Restart", "1");
    ini.Set("General Settings", "Notify Video Loss", "7");
    SaveSettings(ini, Scrambled(), kGeneralSettings);
    SaveSettings(ini, Scrambled(), kAllSections);
    EXPECT_EQ(*ini.Get("General Settings", "Auto Restart"), "1");
    EXPECT_EQ(*ini.Get("General Settings", "Notify Video Loss"), "7");
    for (const auto& access : ini.log) {
        EXPECT_NE(access.key, "Auto Restart");
        EXPECT_NE(access.key, "Notify Video Loss");
    }
}

TEST(Selectors, UnknownSelectorsHandleNothing) {
    for (int32_t selector : {5, 6, 100, -1, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(selector);
        MemoryIni ini;
        ini.Set("General Settings", "Port", "1");
        CameraSettings record = Scrambled();
        LoadSettings(ini, record, selector);
        SaveSettings(ini, CameraSettings{}, selector);
        EXPECT_TRUE(ini.log.empty());
        EXPECT_EQ(record, Scrambled());
        EXPECT_FALSE(SectionSelected("Common", selector));
        EXPECT_FALSE(SectionSelected("General Settings", selector));
    }
}

TEST(Selectors, LoadingOneSectionKeepsTheOtherFields) {
    MemoryIni ini;
    SaveSettings(ini, CameraSettings{}, kAllSections);
    for (int32_t selector = 1; selector <= 4; ++selector) {
        CameraSettings record = Scrambled();
        LoadSettings(ini, record, selector);
        CameraSettings untouched = Scrambled();
        // Every field of the loaded section now has its default; the rest kept.
        for (const SettingEntry& e : SettingsTable()) {
            if (!SectionSelected(e.section, selector) || e.field.get == nullptr) continue;
            CameraSettings defaults;
            std::visit(
                [&](auto target) {
                    using P = decltype(target);
                    if constexpr (!std::is_same_v<P, std::monostate>) {
                        *target = *std::get<P>(e.field.get(defaults));
                    }
                },
                e.field.get(untouched));
        }
        EXPECT_EQ(record, untouched) << selector;
    }
}

TEST(LoadSettings, LongTextsAreCutTo259) {
    MemoryIni ini;
    ini.Set("General Settings", "Site Name", std::string(400, 's'));
    CameraSettings record;
    LoadSettings(ini, record, kGeneralSettings);
    EXPECT_EQ(record.siteName, std::string(259, 's'));
}

TEST(SaveSettings, TextsCannotAddLinesToTheFile) {
    CameraSettings record;
    record.siteName = "Hall\r\n[Common]\r\nVarTh=99";
    MemoryIni ini;
    SaveSettings(ini, record, kGeneralSettings);
    EXPECT_EQ(*ini.Get("General Settings", "Site Name"), "Hall");
}
