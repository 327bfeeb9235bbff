#pragma once
// The camera's settings file (SettingNN.ini), shared with the host: created
// with the new-file content when missing, read and written section by
// section, one key per platform call, so that keys keep their place, the
// host's own keys survive and every save is on disk when the call returns.
// A save edits a staging copy that then replaces the file in one step, so a
// kill during a save leaves the whole old or the whole new file.
// The record keeps its values whatever fails; a save says whether every key
// reached the file (or its staging copy).
#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>

#include "settings/CameraSettings.h"

namespace settings {

class FileChange;

class SettingsFile {
  public:
    // Keeps path as the settings file path; writes the new-file content when
    // no file exists there yet. The record is not touched.
    void CreateSettingIni(const std::string& path);

    // Reads the sections of the selector (SettingsSelector; any other value
    // reads nothing) into the record; absent keys take their load defaults.
    void LoadSettingIni(CameraSettings& settings, int32_t selector) const;

    // Writes the sections of the selector from the record; FALSE when a key
    // could not be written or the file could not take its new content.
    BOOL SaveSettingIni(const CameraSettings& settings, int32_t selector) const;
    // Writes the sections of several selectors, in order, as one change, or
    // as a part of `change` (which then puts the file in place on Commit:
    // FALSE here only says a key could not be written).
    BOOL SaveSettingIni(const CameraSettings& settings, std::initializer_list<int32_t> selectors,
                        FileChange* change = nullptr) const;

    const std::string& GetPath() const { return m_path; }

  private:
    std::string m_path;
};

}  // namespace settings
