#include "settings/SettingsFile.h"

#include <algorithm>
#include <vector>

#include "settings/FileReplace.h"
#include "settings/IniFile.h"
#include "settings/SettingsSchema.h"
#include "settings/ValueRules.h"

namespace settings {
namespace {

// The table's file work on one private-profile file.
class PrivateProfileStore final : public IniStore {
  public:
    explicit PrivateProfileStore(const std::string& file) : m_file(file) {}

    int32_t ReadInteger(const char* section, const char* key, int32_t defaultValue) override {
        return GetIniInt(section, key, defaultValue, m_file);
    }
    std::string ReadText(const char* section, const char* key, const char* defaultValue) override {
        return GetIniString(section, key, defaultValue, m_file);
    }
    void WriteText(const char* section, const char* key, const std::string& value) override {
        if (!::WriteIniString(section, key, value, m_file)) m_failed = true;
    }
    bool Failed() const { return m_failed; }

  private:
    const std::string& m_file;
    bool m_failed = false;
};

// A new file's keys gathered section by section and written one section per
// call: the file the key-by-key writes make, without the platform rewriting
// the whole file once per key (39 times).
class NewSectionsStore final : public IniStore {
  public:
    int32_t ReadInteger(const char*, const char*, int32_t defaultValue) override {
        return defaultValue;
    }
    std::string ReadText(const char*, const char*, const char* defaultValue) override {
        return defaultValue ? defaultValue : "";
    }
    void WriteText(const char* section, const char* key, const std::string& value) override {
        if (!section || !key) return;  // refused, as by the key-by-key writes
        auto it = std::find_if(m_sections.begin(), m_sections.end(), [&](const Section& s) {
            return ::lstrcmpiA(s.name.c_str(), section) == 0;
        });
        if (it == m_sections.end()) it = m_sections.insert(m_sections.end(), {section, {}});
        it->lines += key;
        it->lines += '=';
        it->lines += TextForFile(value);
        it->lines += '\0';
    }
    // Into a file that does not exist yet (a section written this way replaces
    // a section of that name, where a key-by-key write would merge into it).
    void WriteNewFile(const std::string& file) const {
        if (file.find_first_of("\\/") == std::string::npos) return;  // as WriteIniString
        for (const Section& section : m_sections) {
            const std::string lines = section.lines + '\0';
            ::WritePrivateProfileSectionA(section.name.c_str(), lines.c_str(), file.c_str());
        }
    }

  private:
    struct Section {
        std::string name;
        std::string lines;  // "key=value\0" each
    };
    std::vector<Section> m_sections;
};

}  // namespace

void SettingsFile::CreateSettingIni(const std::string& path) {
    m_path = path;
    if (::GetFileAttributesA(m_path.c_str()) != INVALID_FILE_ATTRIBUTES) return;  // also a folder
    FileChange change;
    change.Edit(
        m_path,
        [&](const std::string& file) {
            if (file == StagingPath(m_path)) {
                // The staging file was just made free for this file alone.
                NewSectionsStore store;
                WriteNewSettings(store);
                store.WriteNewFile(file);
            } else {
                PrivateProfileStore store(file);
                WriteNewSettings(store);
            }
        },
        true);
}

void SettingsFile::LoadSettingIni(CameraSettings& settings, int32_t selector) const {
    PrivateProfileStore store(m_path);
    LoadSettings(store, settings, selector);
}

BOOL SettingsFile::SaveSettingIni(const CameraSettings& settings, int32_t selector) const {
    return SaveSettingIni(settings, {selector});
}

BOOL SettingsFile::SaveSettingIni(const CameraSettings& settings,
                                  std::initializer_list<int32_t> selectors,
                                  FileChange* change) const {
    if (m_path.empty()) return FALSE;
    bool written = true;
    FileChange own;
    (change ? *change : own).Edit(m_path, [&](const std::string& file) {
        PrivateProfileStore store(file);
        for (const int32_t selector : selectors) SaveSettings(store, settings, selector);
        written = !store.Failed();
    });
    if (!change && !own.Commit()) return FALSE;
    return written ? TRUE : FALSE;
}

}  // namespace settings
