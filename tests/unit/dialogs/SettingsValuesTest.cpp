// What the view copies into each dialog from the settings and back after the
// user confirmed it.
#include <gtest/gtest.h>

#include "dialogs/SettingsValues.h"
#include "settings/SettingsSchema.h"

namespace {

TEST(SettingsValues, GeneralSettingsTakeAndGiveBackAllEightValues) {
    CameraSettings settings;
    settings.siteName = "Gate";
    settings.remoteAccess = 0;
    settings.ipAddrIndex = 2;
    settings.ipAddr = "10.0.0.5";
    settings.port = 4242;
    settings.autoRecycleDaysIndex = 1;
    settings.autoRecycleDays = 45;
    settings.unit = 1;
    const GeneralSettingsValues values = GeneralValuesFrom(settings);
    EXPECT_EQ(values, (GeneralSettingsValues{"Gate", 0, 2, "10.0.0.5", 4242, 1, 45, 1}));
    CameraSettings back;
    ApplyGeneralValues(values, back);
    EXPECT_EQ(back, settings);
}

TEST(SettingsValues, CounterSettingsShowTheStoredLineOnlyWhenItIsSet) {
    CameraSettings settings;
    settings.imageLine = {{{10, 20}, {300, 40}}};
    settings.worldLine = {{{0xFFFF, 120}, {400, 0x8000}}};
    settings.angleIn = 1.5f;
    settings.updateInterval = 90;
    settings.maskColor = 0x00FF00;
    EXPECT_EQ(CounterValuesFrom(settings).line, CountingLineRecord{}) << "a line not set";
    settings.counterSetted = 1;
    const CounterSettingsValues values = CounterValuesFrom(settings);
    EXPECT_EQ(values.line, (CountingLineRecord{10, 20, 300, 40, -1, 120, 400, -32768, 1.5f}));
    EXPECT_EQ(values.intervalFirst, 1);
    EXPECT_EQ(values.intervalSecond, 30);
    EXPECT_EQ(values.maskColor, 0x00FF00u);
}

TEST(SettingsValues, CounterSettingsGiveBackTimesOnlyInOrderAndTheLineSetsTheFlag) {
    CounterSettingsValues values;
    values.line = {10, 20, 300, 40, -1, 120, 400, -32768, 0.25f};
    values.displayMask = 1;
    values.countingMode = 2;
    values.autoBackgroundUpdate = 1;
    values.intervalFirst = 2;
    values.intervalSecond = 5;
    values.operationTime = 1;
    values.maskColor = 0x123456;
    const struct {
        int32_t start, stop;
        bool taken;
    } times[] = {{70000, 190000, true},
                 {190000, 70000, false},
                 {90000, 90000, false},
                 {-1, 90000, false}};  // compared as unsigned numbers: -1 is no earlier
    for (const auto& t : times) {
        values.startTime = t.start;
        values.stopTime = t.stop;
        CameraSettings settings;
        ApplyCounterValues(values, settings);
        EXPECT_EQ(settings.operationStartTime, t.taken ? t.start : 80000) << t.start;
        EXPECT_EQ(settings.operationStopTime, t.taken ? t.stop : 180000) << t.start;
        EXPECT_EQ(settings.imageLine[1], (CameraSettings::ImagePoint{300, 40}));
        EXPECT_EQ(settings.worldLine[0], (CameraSettings::WorldPoint{0xFFFF, 120}));
        EXPECT_EQ(settings.worldLine[1], (CameraSettings::WorldPoint{400, 0x8000}));
        EXPECT_EQ(settings.angleIn, 0.25f);
        EXPECT_EQ(settings.updateInterval, 125);
        EXPECT_EQ(settings.displayMask, 1);
        EXPECT_EQ(settings.countingIOMode, 2);
        EXPECT_EQ(settings.autoBackgroundUpdate, 1);
        EXPECT_EQ(settings.counterOperationTime, 1);
        EXPECT_EQ(settings.maskColor, 0x123456);
        EXPECT_EQ(settings.counterSetted, 1);
    }
    for (int32_t* coordinate :
         {&values.line.imageX1, &values.line.imageY1, &values.line.imageX2, &values.line.imageY2}) {
        const int32_t kept = *coordinate;
        *coordinate = -1;
        CameraSettings settings;
        settings.counterSetted = 1;
        ApplyCounterValues(values, settings);
        EXPECT_EQ(settings.counterSetted, 0) << "one end missing: no line";
        *coordinate = kept;
    }
}

TEST(SettingsValues, ResetAllShowsWhatASettingsFileWithoutKeysLoads) {
    CounterSettingsValues expected;
    expected.autoBackgroundUpdate = 0;
    expected.intervalSecond = 30;
    expected.maskColor = 255;
    EXPECT_EQ(FactoryCounterValues(), expected);
    EXPECT_EQ(settings::DefaultSettings(), CameraSettings{});
}

TEST(SettingsValues, AnAcceptedAngleDropsALineDrawnForAnotherAngle) {
    const struct {
        float angleYZ;
        bool dropped;
    } cases[] = {{-0.785398f, false}, {-0.7853985f, false}, {-0.7854f, true}, {-0.6f, true}};
    for (const auto& c : cases) {
        CameraSettings settings;
        settings.counterSetted = 1;
        const CameraAngleValues values{50.0f, 0.0f, c.angleYZ, 0.0f, 310.5f, 1};
        EXPECT_EQ(AcceptAngleValues(values, settings), c.dropped) << c.angleYZ;
        EXPECT_EQ(settings.counterSetted, c.dropped ? 0 : 1);
        EXPECT_EQ(settings.cameraAngleSetted, 1);
        EXPECT_EQ(settings.angleYZ, c.angleYZ);
        EXPECT_EQ(settings.cameraHeight, 310.5f);
        EXPECT_EQ(settings.templateDimension, 50.0f);
        EXPECT_EQ(settings.unit, 0) << "the unit is General Settings' to store";
    }
    EXPECT_EQ(AngleValuesFrom(CameraSettings{}),
              (CameraAngleValues{100.0f, 0.0f, -0.785398f, 0.0f, 240.0f, 0}));
}

}  // namespace
