#pragma once
// The settings file's layout as one table: every key with its section, the
// record field it fills, how it is read, what an absent key reads as, what a
// new file holds and how it is written. Creating, loading and saving are all
// driven by this table, through an IniStore that does the file work (the
// private-profile functions on Windows).
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "settings/CameraSettings.h"

namespace settings {

inline constexpr const char* kSectionCalibrationData = "Calibration Data";
inline constexpr const char* kSectionGeneralSettings = "General Settings";
inline constexpr const char* kSectionCameraAngle = "Camera Angle";
inline constexpr const char* kSectionCounterSettings = "Counter Settings";
inline constexpr const char* kSectionCommon = "Common";

enum class ReadRule {
    Integer,           // IntegerFromText, as GetPrivateProfileIntA
    Text,              // the text, empty when absent
    NumberFromText,    // NumberFromText with the load default
    IntegerThenFloat,  // the integer rule, then widened to float
    IntegerLow16,      // the integer rule, low 16 bits kept
    NotRead,           // written into a new file only; the host's business
};

enum class WriteFormat {
    Integer,          // "%d"
    WorldCoordinate,  // "%d" of the 16 bits taken as signed
    OneDecimal,       // "%.1f"
    SixDecimals,      // six decimal places
    Text,             // unchanged (one line, at most 259 characters)
    NewFileOnly,      // never saved: the key stays as it stands in the file
};

using FieldRef = std::variant<std::monostate, int32_t*, uint16_t*, float*, std::string*>;
using ConstFieldRef =
    std::variant<std::monostate, const int32_t*, const uint16_t*, const float*, const std::string*>;

// Where a key's value lives in the record (both empty for keys not read).
struct FieldAccess {
    FieldRef (*get)(CameraSettings&) = nullptr;
    ConstFieldRef (*read)(const CameraSettings&) = nullptr;
};

struct SettingEntry {
    const char* section;
    const char* key;
    FieldAccess field;
    ReadRule read;
    const char*
        loadDefault;  // the absent-key value, as text for the read rule; nullptr if not read
    const char* newFileValue;  // written by CreateSettingIni; nullptr: not in a new file
    WriteFormat write;
};

// Every key in file order: sections in the order of the selector 0.
std::span<const SettingEntry> SettingsTable();

// True when LoadSettings/SaveSettings with `selector` handle `section`
// (names as in the table; the file itself matches them without case).
bool SectionSelected(std::string_view section, int32_t selector);

// The file work behind the table, one key per call.
class IniStore {
  public:
    virtual ~IniStore() = default;
    // The integer rule; defaultValue when the key is absent or empty.
    virtual int32_t ReadInteger(const char* section, const char* key, int32_t defaultValue) = 0;
    // The key's text, or defaultValue when absent.
    virtual std::string ReadText(const char* section, const char* key,
                                 const char* defaultValue) = 0;
    // Replaces the key's value where it stands, or appends the key to its
    // section (and the section to the file).
    virtual void WriteText(const char* section, const char* key, const std::string& value) = 0;
};

// Reads the keys of the selected sections into the record, one key at a time
// in table order; an absent key takes its load default. Other fields keep
// their values.
void LoadSettings(IniStore& store, CameraSettings& settings, int32_t selector);

// Writes the keys of the selected sections from the record in table order.
// Keys marked NewFileOnly are left as they stand.
void SaveSettings(IniStore& store, const CameraSettings& settings, int32_t selector);

// Writes the content of a new settings file: every key with a new-file
// value, in table order.
void WriteNewSettings(IniStore& store);

// The same keys and values gathered by section, sections and keys in table
// order: the file WriteNewSettings makes, for writing a section at a time.
struct NewFileSection {
    const char* name;
    std::vector<std::pair<const char*, const char*>> keys;  // key, value
};
std::vector<NewFileSection> NewFileSections();

// The record a missing settings file loads as: every key's load default.
CameraSettings DefaultSettings();

// The text SaveSettings writes for one entry (empty for NewFileOnly).
std::string FormatEntry(const SettingEntry& entry, const CameraSettings& settings);

}  // namespace settings
