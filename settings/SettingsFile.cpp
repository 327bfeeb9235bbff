#include "settings/SettingsFile.h"

#include "settings/FileReplace.h"
#include "settings/IniFile.h"
#include "settings/SettingsSchema.h"

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
                for (const NewFileSection& section : NewFileSections())
                    WriteIniSection(section.name, section.keys, file);
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
