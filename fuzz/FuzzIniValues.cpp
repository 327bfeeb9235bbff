// Settings-file values of any text: the value rules never overrun or
// produce non-numbers, and a save/load cycle settles after one pass.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <string_view>

#include "settings/SettingsSchema.h"
#include "settings/ValueRules.h"

using namespace settings;

namespace {

// The settings table names every key exactly, so a plain map stands in for
// the file here; it keeps each run cheap enough for millions of inputs.
class TableIni final : public IniStore {
  public:
    int32_t ReadInteger(const char* section, const char* key, int32_t defaultValue) override {
        const auto found = m_values.find({section, key});
        return found == m_values.end() ? defaultValue
                                       : IntegerFromText(found->second, defaultValue);
    }
    std::string ReadText(const char* section, const char* key, const char* defaultValue) override {
        const auto found = m_values.find({section, key});
        return found == m_values.end() ? std::string(defaultValue) : found->second;
    }
    void WriteText(const char* section, const char* key, const std::string& value) override {
        m_values[{section, key}] = value;
    }

  private:
    std::map<std::pair<std::string, std::string>, std::string> m_values;
};

void Require(bool condition) {
    if (!condition) std::abort();
}

void CheckRules(std::string_view text) {
    const int32_t integer = IntegerFromText(text, 7);
    Require(IntegerFromText(FormatInteger(integer), 0) == integer);
    const uint16_t world = WorldCoordinateFromInteger(integer);
    Require(WorldCoordinateFromInteger(IntegerFromText(FormatWorldCoordinate(world), 0)) == world);

    const float number = NumberFromText(text, -0.785398f);
    Require(std::isfinite(number));
    Require(std::isfinite(NumberFromText(FormatOneDecimal(number), 0.0f)));
    Require(std::isfinite(NumberFromText(FormatSixDecimals(number), 0.0f)));

    const std::string line = TextForFile(text);
    Require(line.size() <= kMaxSettingsText);
    Require(line.find_first_of("\r\n") == std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    CheckRules(input);

    // Each line of the input is the value of the next key of the table.
    TableIni ini;
    std::size_t begin = 0;
    for (const SettingEntry& entry : SettingsTable()) {
        if (begin > input.size()) break;
        std::size_t end = input.find('\n', begin);
        if (end == std::string_view::npos) end = input.size();
        const std::string_view value = input.substr(begin, end - begin);
        CheckRules(value);
        ini.WriteText(entry.section, entry.key, std::string(value));
        begin = end + 1;
    }
    CameraSettings first;
    LoadSettings(ini, first, kAllSections);
    SaveSettings(ini, first, kAllSections);
    CameraSettings second;
    LoadSettings(ini, second, kAllSections);
    SaveSettings(ini, second, kAllSections);
    CameraSettings third;
    LoadSettings(ini, third, kAllSections);
    Require(second == third);
    return 0;
}
