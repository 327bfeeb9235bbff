#include "settings/IniFile.h"

#include "settings/ValueRules.h"

namespace {

bool HasFolder(const std::string& file) {
    return file.find_first_of("\\/") != std::string::npos;
}

bool MayUse(const char* section, const char* key, const std::string& file) {
    return section != nullptr && key != nullptr && HasFolder(file);
}

}  // namespace

std::string GetIniString(const char* section, const char* key, const char* defaultValue,
                         const std::string& file) {
    if (defaultValue == nullptr) defaultValue = "";
    if (!MayUse(section, key, file)) return settings::CutSettingsText(defaultValue);
    char value[260] = "";
    const DWORD length =
        ::GetPrivateProfileStringA(section, key, defaultValue, value, sizeof value, file.c_str());
    return std::string(value, length < sizeof value ? length : sizeof value - 1);
}

int GetIniInt(const char* section, const char* key, int defaultValue, const std::string& file) {
    if (!MayUse(section, key, file)) return defaultValue;
    return static_cast<int>(::GetPrivateProfileIntA(section, key, defaultValue, file.c_str()));
}

BOOL WriteIniInt(const char* section, const char* key, int value, const std::string& file) {
    if (!MayUse(section, key, file)) return FALSE;
    return ::WritePrivateProfileStringA(section, key, settings::FormatInteger(value).c_str(),
                                        file.c_str());
}

BOOL WriteIniString(const char* section, const char* key, const std::string& value,
                    const std::string& file) {
    if (!MayUse(section, key, file)) return FALSE;
    return ::WritePrivateProfileStringA(section, key, settings::TextForFile(value).c_str(),
                                        file.c_str());
}

BOOL WriteIniSection(const char* section, std::span<const std::pair<const char*, const char*>> keys,
                     const std::string& file) {
    if (!MayUse(section, "", file)) return FALSE;
    std::string lines;  // "key=value\0" each, then one more "\0"
    for (const auto& [key, value] : keys) {
        if (key == nullptr) continue;
        lines += key;
        lines += '=';
        lines += settings::TextForFile(value ? value : "");
        lines += '\0';
    }
    lines += '\0';
    return ::WritePrivateProfileSectionA(section, lines.c_str(), file.c_str());
}
