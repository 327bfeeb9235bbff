#include <gtest/gtest.h>

#include "tools/hostsim/HostSimOptions.h"

using hostsim::ParseHostSimOptions;

TEST(HostSimOptions, DefaultsWithoutArguments) {
    const auto parsed = ParseHostSimOptions({});
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_EQ(parsed.options->camera, 1);
    EXPECT_EQ(parsed.options->language, "English.ini");
    EXPECT_EQ(parsed.options->fps, 15);
    EXPECT_FALSE(parsed.options->headless);
    EXPECT_TRUE(parsed.options->app.empty());
    EXPECT_TRUE(parsed.options->settings.empty());
}

TEST(HostSimOptions, ReadsEveryOption) {
    const auto parsed = ParseHostSimOptions(
        {"--app", "C:\\T\\TallyscopeSettingApp.exe", "--camera", "7", "--lang", "Deutsch.ini",
         "--settings", "C:\\My Data\\Cam 7\\", "--fps", "25", "--headless", "--out", "shots",
         "--seconds", "1.5", "--attach-timeout", "60"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    const auto& o = *parsed.options;
    EXPECT_EQ(o.app, "C:\\T\\TallyscopeSettingApp.exe");
    EXPECT_EQ(o.camera, 7);
    EXPECT_EQ(o.language, "Deutsch.ini");
    EXPECT_EQ(o.settings, "C:\\My Data\\Cam 7");  // no trailing backslash
    EXPECT_EQ(o.fps, 25);
    EXPECT_TRUE(o.headless);
    EXPECT_EQ(o.out, "shots");
    EXPECT_EQ(o.seconds, 1.5);
    EXPECT_EQ(o.attachTimeout, 60);
}

TEST(HostSimOptions, RefusesUnknownMissingAndBadValues) {
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"--bogus"},
             {"--camera"},
             {"--camera", "x"},
             {"--camera", "100"},
             {"--camera", "-1"},
             {"--camera", "3x"},
             {"--fps", "0"},
             {"--fps", "61"},
             {"--fps", "nan"},
             {"--fps", "inf"},
             {"--seconds", "0.1"},
             {"--lang", "Eng lish.ini"},
             {"--lang", ""},
             {"--lang", std::string(300, 'a')},
             {"--settings", "C:\\a\"b"},
             {"--app", ""},
             {"--attach-timeout", "0"},
         }) {
        const auto parsed = ParseHostSimOptions(bad);
        EXPECT_FALSE(parsed.options) << bad[0];
        EXPECT_FALSE(parsed.error.empty()) << bad[0];
    }
}

TEST(HostSimOptions, DriveRootKeepsItsBackslashAndALanguageNameMayFillItsBuffer) {
    const auto parsed =
        ParseHostSimOptions({"--settings", "C:\\", "--lang", std::string(259, 'a')});
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_EQ(parsed.options->settings, "C:\\");
}
