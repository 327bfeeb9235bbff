// Checks of the shipped language files: Windows-1252 text, every key the dialogs and the menu
// read, English texts equal to the program's built-in ones, translations that keep the layout.
#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FileCheck.h"

namespace artcheck {
namespace {

const std::vector<std::string> kLanguages = {"English.ini",  "Default.ini", "Deutsch.ini",
                                             "Francais.ini", "Espanol.ini", "Italiano.ini"};

// Every key the program looks up, by section.
const std::map<std::string, std::vector<std::string>>& ExpectedKeys() {
    static const std::map<std::string, std::vector<std::string>> keys = {
        {"164",
         {"164", "1077", "1078", "1079", "1046", "1047", "1080", "1096", "1097", "1073", "1060",
          "1061", "1074", "1098"}},
        {"167", {"167", "1001", "1004", "1005", "1007", "1012", "1009", "1015", "1013", "1014"}},
        {"168", {"168",  "1018", "1019", "1022", "1023", "1024", "1020", "1021", "1025",
                 "1026", "1027", "1028", "1029", "1030", "1032", "1099", "1033", "1100",
                 "1031", "1038", "1034", "1035", "1039", "1114", "1115", "1116", "1117",
                 "1042", "1103", "1101", "1102", "0",    "1",    "2",    "1107"}},
        {"177", {"177", "1104", "1064", "1065", "1075", "0", "1"}},
        {"193", {"193", "1088", "1089", "1105"}},
        {"197", {"197", "1108", "1109", "1110", "1111", "1112", "1113"}},
        {"unit", {"0", "1"}},
        {"common", {"fontsize"}},
        {"menu", {"0", "1", "2", "3", "4", "5", "6", "7"}},
    };
    return keys;
}

// The program's built-in English texts; the English file must say the same.
const std::map<std::pair<std::string, std::string>, std::string>& BuiltInTexts() {
    static const std::map<std::pair<std::string, std::string>, std::string> texts = {
        {{"164", "164"}, "General Settings"},
        {{"164", "1077"}, "SITE"},
        {{"164", "1078"}, "Site Name:"},
        {{"164", "1079"}, "Remote Access:"},
        {{"164", "1046"}, "On"},
        {{"164", "1047"}, "Off"},
        {{"164", "1080"}, "Port"},
        {{"164", "1096"}, "Auto Recycle After:"},
        {{"164", "1097"}, "Days"},
        {{"164", "1073"}, "Calculation Unit:"},
        {{"164", "1060"}, "cm"},
        {{"164", "1061"}, "inch"},
        {{"164", "1074"}, "Ok"},
        {{"164", "1098"}, "Cancel"},
        {{"167", "167"}, "Camera Angle"},
        {{"167", "1001"}, "Template Dimension"},
        {{"167", "1004"}, "Clear Selection"},
        {{"167", "1005"}, "Calculate"},
        {{"167", "1007"}, "Camera Angle:"},
        {{"167", "1012"}, "Degree"},
        {{"167", "1009"}, "Camera Height"},
        {{"167", "1015"}, "The result never be stored!"},
        {{"167", "1013"}, "Update"},
        {{"167", "1014"}, "Exit"},
        {{"168", "168"}, "Counter Settings Dialog"},
        {{"168", "1018"}, "Display Option"},
        {{"168", "1019"}, "Display Counter Line"},
        {{"168", "1022"}, "Display Tracking Frame"},
        {{"168", "1023"}, "Display Object Height"},
        {{"168", "1024"}, "Display Mask"},
        {{"168", "1020"}, "On"},
        {{"168", "1025"}, "On"},
        {{"168", "1027"}, "On"},
        {{"168", "1029"}, "On"},
        {{"168", "1021"}, "Off"},
        {{"168", "1026"}, "Off"},
        {{"168", "1028"}, "Off"},
        {{"168", "1030"}, "Off"},
        {{"168", "1032"}, "In"},
        {{"168", "1033"}, "In"},
        {{"168", "1099"}, "Out"},
        {{"168", "1100"}, "Out"},
        {{"168", "1031"}, "Counting Direction"},
        {{"168", "1038"}, "Height Detection"},
        {{"168", "1034"}, "On"},
        {{"168", "1115"}, "On"},
        {{"168", "1035"}, "Off"},
        {{"168", "1116"}, "Off"},
        {{"168", "1039"}, "Counter Operation Time:"},
        {{"168", "1114"}, "Auto Background Update"},
        {{"168", "1117"}, "Update Interval"},
        {{"168", "1042"}, "24 Hours"},
        {{"168", "1103"}, "Reset All"},
        {{"168", "1101"}, "Ok"},
        {{"168", "1102"}, "Cancel"},
        {{"168", "1107"}, "Setup Tips for Height Detection"},
        {{"168", "0"}, "In & Out"},
        {{"168", "1"}, "In Only"},
        {{"168", "2"}, "Out Only"},
        {{"177", "177"}, "Calibration Test"},
        {{"177", "1104"}, "Test Method"},
        {{"177", "1064"}, "Point"},
        {{"177", "1065"}, "Region"},
        {{"177", "1075"}, "Exit"},
        {{"177", "0"}, "Matching Failed! Please select a new test region."},
        {{"177", "1"}, "ROI Distance"},
        {{"193", "193"}, "Camera Angle Verification"},
        {{"193", "1088"}, "Current Image"},
        {{"193", "1089"}, "Old Image"},
        {{"193", "1105"}, "Exit"},
        {{"197", "197"}, "Setup Tips for Height Detection"},
        {{"197", "1108"}, "Setup Tips for Height Detection"},
        {{"unit", "0"}, "cm"},
        {{"unit", "1"}, "inch"},
        {{"common", "fontsize"}, "12"},
    };
    return texts;
}

// Bytes Windows-1252 leaves undefined.
bool UndefinedIn1252(uint8_t c) {
    return c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

std::vector<uint8_t> LoadLanguageBytes(const std::string& name) {
    const auto bytes = ReadRepoFile("resources/Lang/" + name);
    if (!bytes) ADD_FAILURE() << name << " is missing";
    return bytes.value_or(std::vector<uint8_t>{});
}

size_t CountLineBreaks(const std::string& s) {
    size_t n = 0;
    for (size_t at = s.find("\\n"); at != std::string::npos; at = s.find("\\n", at + 2)) ++n;
    return n;
}

class LanguageFile : public testing::TestWithParam<std::string> {};

TEST_P(LanguageFile, IsPlainWindows1252WithWindowsLineEnds) {
    const auto b = LoadLanguageBytes(GetParam());
    ASSERT_FALSE(b.empty());
    EXPECT_FALSE(b.size() >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF)
        << "no UTF-8 signature";
    for (size_t i = 0; i < b.size(); ++i) {
        EXPECT_FALSE(UndefinedIn1252(b[i])) << "byte " << i;
        EXPECT_FALSE(b[i] < 0x20 && b[i] != '\r' && b[i] != '\n') << "control byte at " << i;
        if (b[i] == '\n') {
            EXPECT_TRUE(i > 0 && b[i - 1] == '\r') << "bare line feed at " << i;
        }
        if (b[i] == '\r') {
            EXPECT_TRUE(i + 1 < b.size() && b[i + 1] == '\n') << "bare carriage return at " << i;
        }
        // UTF-8 saved by mistake shows as A-tilde/A-circumflex followed by a continuation byte.
        if ((b[i] == 0xC2 || b[i] == 0xC3) && i + 1 < b.size()) {
            EXPECT_FALSE(b[i + 1] >= 0x80 && b[i + 1] <= 0xBF) << "UTF-8 sequence at " << i;
        }
    }
    EXPECT_EQ(b.front(), ';') << "starts with a comment naming the language";
}

TEST_P(LanguageFile, HasExactlyTheKeysTheProgramReads) {
    const IniFile ini = ParseIni(LoadLanguageBytes(GetParam()));
    for (const auto& problem : ini.problems) ADD_FAILURE() << GetParam() << ": " << problem;
    for (const auto& [section, keys] : ExpectedKeys()) {
        const IniSection* s = ini.Find(section);
        ASSERT_NE(s, nullptr) << GetParam() << " lacks [" << section << "]";
        std::set<std::string> present;
        for (const auto& entry : s->entries) present.insert(entry.first);
        for (const auto& key : keys)
            EXPECT_TRUE(present.count(key)) << GetParam() << " [" << section << "] " << key;
        EXPECT_EQ(present.size(), keys.size())
            << GetParam() << " [" << section << "] has keys nobody reads";
    }
    EXPECT_EQ(ini.sections.size(), ExpectedKeys().size())
        << GetParam() << " has sections nobody reads";
}

TEST_P(LanguageFile, ValuesSurviveTheProfileReader) {
    const auto bytes = LoadLanguageBytes(GetParam());
    const IniFile ini = ParseIni(bytes);
    std::string text(bytes.begin(), bytes.end());
    for (const auto& section : ini.sections) {
        for (const auto& [key, value] : section.entries) {
            const std::string where = GetParam() + " [" + section.name + "] " + key;
            EXPECT_LE(value.size(), 259u) << where << ": longer values are cut";
            const bool mayBeEmpty =
                section.name == "menu" && key == "5";  // command 155 has no menu entry
            EXPECT_EQ(value.empty(), mayBeEmpty) << where;
            // The profile reader strips one pair of surrounding quotes.
            EXPECT_FALSE(value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                         value.back() == value.front())
                << where;
        }
    }
    // Leading or trailing blanks in a value would be lost by the profile reader.
    EXPECT_EQ(text.find(" \r\n"), std::string::npos) << GetParam() << ": trailing blank";
    EXPECT_EQ(text.find("= "), std::string::npos) << GetParam() << ": blank after '='";
    const auto fontSize = ini.Get("Common", "FontSize");
    ASSERT_TRUE(fontSize.has_value());
    const int size = std::atoi(fontSize->c_str());
    EXPECT_EQ(std::to_string(size), *fontSize);
    EXPECT_GE(size, 8);
    EXPECT_LE(size, 24);
}

TEST_P(LanguageFile, KeepsTheEnglishLineBreaksAndTipNumbers) {
    const IniFile english = ParseIni(LoadLanguageBytes("English.ini"));
    const IniFile ini = ParseIni(LoadLanguageBytes(GetParam()));
    int number = 1;
    for (const char* key : {"1109", "1110", "1111", "1112"}) {
        const std::string tip = ini.Get("197", key).value_or("");
        EXPECT_EQ(CountLineBreaks(tip), CountLineBreaks(english.Get("197", key).value_or("")))
            << GetParam() << " " << key;
        EXPECT_EQ(tip.rfind(std::to_string(number) + ". ", 0), 0u)
            << GetParam() << " " << key << ": " << tip;
        ++number;
    }
    for (const auto& section : ini.sections) {
        if (section.name == "197") continue;
        for (const auto& [key, value] : section.entries) {
            EXPECT_EQ(CountLineBreaks(value), 0u)
                << GetParam() << " [" << section.name << "] " << key;
        }
    }
}

TEST_P(LanguageFile, NamesAHeightTipsPictureThatExists) {
    const IniFile ini = ParseIni(LoadLanguageBytes(GetParam()));
    const std::string name = ini.Get("197", "1113").value_or("");
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(name.find_first_of("\\/:"), std::string::npos)
        << "a plain file name in the language folder";
    const auto bytes = ReadRepoFile("resources/Lang/" + name);
    ASSERT_TRUE(bytes.has_value()) << name;
    std::string error;
    EXPECT_TRUE(DecodeBmp24(*bytes, error).has_value()) << name << ": " << error;
}

TEST_P(LanguageFile, NamesEveryMenuEntryTheLayoutShows) {
    const IniFile ini = ParseIni(LoadLanguageBytes(GetParam()));
    const auto layoutBytes = ReadRepoFile("resources/Layout.ini");
    ASSERT_TRUE(layoutBytes.has_value());
    const IniFile layout = ParseIni(*layoutBytes);
    std::set<std::string> texts;
    for (int i = 0; i <= 8; ++i) {
        const std::string ndx = layout.Get(std::to_string(i), "ndx").value_or("7");
        if (ndx == "8") continue;
        const std::string text = ini.Get("Menu", ndx).value_or("");
        EXPECT_FALSE(text.empty()) << GetParam() << " menu " << ndx;
        EXPECT_TRUE(texts.insert(text).second) << GetParam() << ": two menu entries read " << text;
    }
}

INSTANTIATE_TEST_SUITE_P(Lang, LanguageFile, testing::ValuesIn(kLanguages),
                         [](const testing::TestParamInfo<std::string>& info) {
                             return info.param.substr(0, info.param.find('.'));
                         });

TEST(EnglishLanguage, SaysWhatTheProgramSaysWithoutAFile) {
    const IniFile ini = ParseIni(LoadLanguageBytes("English.ini"));
    for (const auto& [where, text] : BuiltInTexts()) {
        EXPECT_EQ(ini.Get(where.first, where.second).value_or("<missing>"), text)
            << where.first << " " << where.second;
    }
    EXPECT_EQ(ini.Get("Menu", "0").value_or(""), "General Settings");
    EXPECT_EQ(ini.Get("Menu", "1").value_or(""), "Counter Settings");
    EXPECT_EQ(ini.Get("Menu", "2").value_or(""), "Camera Angle");
    EXPECT_EQ(ini.Get("Menu", "3").value_or(""), "Camera Angle Verification");
    EXPECT_EQ(ini.Get("Menu", "4").value_or(""), "Calibration Test");
    EXPECT_EQ(ini.Get("Menu", "6").value_or(""), "About...");
    EXPECT_EQ(ini.Get("Menu", "7").value_or(""), "Load Calibration File...");
}

TEST(DefaultLanguage, IsEnglish) {
    const IniFile english = ParseIni(LoadLanguageBytes("English.ini"));
    const IniFile fallback = ParseIni(LoadLanguageBytes("Default.ini"));
    ASSERT_EQ(english.sections.size(), fallback.sections.size());
    for (size_t i = 0; i < english.sections.size(); ++i) {
        EXPECT_EQ(english.sections[i].name, fallback.sections[i].name);
        EXPECT_EQ(english.sections[i].entries, fallback.sections[i].entries)
            << english.sections[i].name;
    }
}

TEST(Translations, AreTranslated) {
    const IniFile english = ParseIni(LoadLanguageBytes("English.ini"));
    for (const std::string language :
         {"Deutsch.ini", "Francais.ini", "Espanol.ini", "Italiano.ini"}) {
        const IniFile ini = ParseIni(LoadLanguageBytes(language));
        int same = 0, total = 0;
        for (const auto& section : english.sections) {
            for (const auto& [key, value] : section.entries) {
                if (section.name == "common" || (section.name == "197" && key == "1113")) continue;
                ++total;
                if (ini.Get(section.name, key).value_or("") == value) ++same;
            }
        }
        // Only a few words such as "cm", "Port" or "Point" may stay as they are.
        EXPECT_LT(same * 10, total)
            << language << ": " << same << " of " << total << " texts are English";
        for (const char* title : {"164", "167", "168", "177", "193", "197"}) {
            EXPECT_NE(ini.Get(title, title), english.Get(title, title))
                << language << " title " << title;
        }
    }
}

}  // namespace
}  // namespace artcheck
