#include "settings/SettingsSchema.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>
#include <vector>

#include "MemoryIni.h"
#include "settings/CameraSettings.h"
#include "tests/support/SettingsSamples.h"

using namespace settings;

namespace {

std::set<std::string> SectionsIn(const std::vector<MemoryIni::Access>& log) {
    std::set<std::string> sections;
    for (const auto& access : log) sections.insert(access.section);
    return sections;
}

}  // namespace

TEST(LoadSettings, AMissingFileReadsAsTheDefaultRecord) {
    MemoryIni ini;
    CameraSettings record = Scrambled();
    LoadSettings(ini, record, kAllSections);
    EXPECT_EQ(record, CameraSettings{});
    EXPECT_EQ(record.angleYZ, -0.785398f);
    EXPECT_EQ(record.worldLine[1].y, 0xFFFF);
}

// One key in an otherwise empty file: the rest read as their defaults.
TEST(LoadSettings, EachReadRuleOnTheKeysText) {
    using Change = void (*)(CameraSettings&);
    const struct {
        const char* section;
        const char* key;
        std::string text;
        Change expect;
    } cases[] = {
        {"Camera Angle", "Template Dimension", "30.5", [](auto& s) { s.templateDimension = 30; }},
        {"Camera Angle", "Angle YZ", "", [](auto&) {}},  // empty: the default
        {"Camera Angle", "Angle YZ", "abc", [](auto& s) { s.angleYZ = 0; }},
        {"General Settings", "Port", "abc", [](auto& s) { s.port = 0; }},
        {"General Settings", "Auto Recycle Days", "45 days",
         [](auto& s) { s.autoRecycleDays = 45; }},
        {"General Settings", "IP Addr Index", "", [](auto&) {}},
        {"General Settings", "Site Name", std::string(400, 's'),
         [](auto& s) { s.siteName = std::string(259, 's'); }},
    };
    for (const auto& c : cases) {
        MemoryIni ini;
        ini.Set(c.section, c.key, c.text);
        CameraSettings record = Scrambled();
        LoadSettings(ini, record, kAllSections);
        CameraSettings expected;
        c.expect(expected);
        EXPECT_EQ(record, expected) << c.key << "=" << c.text;
    }
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
    EXPECT_EQ(*ini.Get("Camera Angle", "Template Dimension"), "60.0");
    EXPECT_EQ(*ini.Get("Camera Angle", "Height"), "275.5");
    EXPECT_EQ(*ini.Get("Counter Settings", "AngleIN"), "3.141593");
}

TEST(Selectors, EachHandlesOnlyItsSectionsInTableOrder) {
    using Sections = std::vector<std::string>;
    const struct {
        int32_t selector;
        Sections sections;  // in the order a save writes them
    } cases[] = {
        {kGeneralSettings, {"General Settings"}},
        {kCameraAngle, {"Camera Angle"}},
        {kCounterSettings, {"Counter Settings"}},
        {kCalibrationData, {"Calibration Data"}},
        {kAllSections,
         {"Calibration Data", "General Settings", "Camera Angle", "Counter Settings", "Common"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selector);
        const std::set<std::string> sectionSet(c.sections.begin(), c.sections.end());
        MemoryIni loadIni;
        CameraSettings record;
        LoadSettings(loadIni, record, c.selector);
        EXPECT_EQ(SectionsIn(loadIni.log), sectionSet);

        MemoryIni saveIni;
        saveIni.Set("General Settings", "Auto Restart", "1");
        saveIni.Set("General Settings", "Notify Video Loss", "7");
        SaveSettings(saveIni, Scrambled(), c.selector);
        Sections order;
        std::vector<std::string> savedKeys;
        for (const auto& access : saveIni.log) {
            if (order.empty() || order.back() != access.section) order.push_back(access.section);
            savedKeys.push_back(access.key);
        }
        EXPECT_EQ(order, c.sections);
        std::vector<std::string> expectedKeys;
        for (const SettingEntry& e : SettingsTable()) {
            if (sectionSet.count(e.section) && e.field.read != nullptr)
                expectedKeys.push_back(e.key);
        }
        EXPECT_EQ(savedKeys, expectedKeys);
        // Keys the program only puts into a new file stay the host's.
        EXPECT_EQ(*saveIni.Get("General Settings", "Auto Restart"), "1");
        EXPECT_EQ(*saveIni.Get("General Settings", "Notify Video Loss"), "7");
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

// A new file is written a section at a time, each write replacing a section
// of its name: every section once, with the keys, values and order that the
// key-by-key writes make.
TEST(NewFile, SectionsHoldWhatTheKeyByKeyWritesMake) {
    MemoryIni keyByKey;
    WriteNewSettings(keyByKey);
    const std::vector<NewFileSection> sections = NewFileSections();
    ASSERT_EQ(sections.size(), keyByKey.sections.size());
    for (std::size_t s = 0; s < sections.size(); ++s) {
        const MemoryIni::Section& expected = keyByKey.sections[s];
        EXPECT_EQ(sections[s].name, expected.name);
        ASSERT_EQ(sections[s].keys.size(), expected.keys.size()) << expected.name;
        for (std::size_t k = 0; k < expected.keys.size(); ++k) {
            EXPECT_EQ(sections[s].keys[k].first, expected.keys[k].name);
            EXPECT_EQ(sections[s].keys[k].second, expected.keys[k].value);
        }
    }
}
