#pragma once
// How values of the settings file are read from and written as text. The
// private-profile functions hand over text (or, for integers, do the integer
// rule themselves); these functions are the one place where this program
// turns text into numbers and numbers into text.
#include <cstdint>
#include <string>
#include <string_view>

namespace settings {

// Integer rule, as GetPrivateProfileIntA reads a value that is present:
// leading blanks skipped, optional sign, decimal digits; what follows is
// ignored; no digits read as 0; an empty value gives defaultValue. Digits
// beyond 32 bits wrap as the platform's conversion does.
int32_t IntegerFromText(std::string_view text, int32_t defaultValue);

// Number-from-text rule: empty text gives defaultValue; otherwise leading
// blanks are skipped and the longest decimal number at the front
// ([sign] digits [. digits] [e [sign] digits]) is converted; 0 when there is
// none. Beyond single precision the value is held as the largest float of
// its sign (and a tiny value as 0), so that it writes and reads back the same.
float NumberFromText(std::string_view text, float defaultValue);

// "Template Dimension": the integer rule, then widened to float.
float TemplateDimensionFromInteger(int32_t value);

// World points: the integer rule, then the low 16 bits.
uint16_t WorldCoordinateFromInteger(int32_t value);

// Write formats. A float that cannot be written as a number is written as
// what reading it back gives: NaN as 0, an infinity as the largest float.
std::string FormatInteger(int32_t value);           // "%d"
std::string FormatWorldCoordinate(uint16_t value);  // "%d" of the 16 bits as signed
std::string FormatOneDecimal(float value);          // "%.1f"
std::string FormatSixDecimals(float value);         // "%.6f", built from "%%.%df"
// Text as written into the file: everything up to the first line break and
// at most kMaxSettingsText characters, so one value can never turn into
// extra lines (keys, sections) of the file and always reads back whole.
std::string TextForFile(std::string_view text);

// A text value as the record holds it: at most kMaxSettingsText characters.
std::string CutSettingsText(std::string_view text);

}  // namespace settings
