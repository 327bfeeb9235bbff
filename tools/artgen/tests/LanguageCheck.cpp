// Checks of the shipped language files: Windows-1252 text, every key the dialogs and the menu
// read, translations that keep the layout.
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

// English is the reference: a key another language lacks shows in English,
// one it has in addition is read by nobody.
TEST_P(LanguageFile, HasExactlyTheKeysOfTheEnglishFile) {
    const IniFile english = ParseIni(LoadLanguageBytes("English.ini"));
    const IniFile ini = ParseIni(LoadLanguageBytes(GetParam()));
    for (const auto& problem : ini.problems) ADD_FAILURE() << GetParam() << ": " << problem;
    const auto keysOf = [](const IniFile& file) {
        std::set<std::string> keys;
        for (const auto& section : file.sections)
            for (const auto& entry : section.entries) keys.insert(section.name + "/" + entry.first);
        return keys;
    };
    EXPECT_EQ(keysOf(ini), keysOf(english)) << GetParam();
    EXPECT_TRUE(keysOf(english).count("167/angleunusable")) << "the newest key is in English";
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
    EXPECT_TRUE(bytes->size() > 54 && (*bytes)[0] == 'B' && (*bytes)[1] == 'M') << name;
}

INSTANTIATE_TEST_SUITE_P(Lang, LanguageFile, testing::ValuesIn(kLanguages),
                         [](const testing::TestParamInfo<std::string>& info) {
                             return info.param.substr(0, info.param.find('.'));
                         });

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

}  // namespace
}  // namespace artcheck
