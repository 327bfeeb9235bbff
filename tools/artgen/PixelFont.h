// A small 5 x 7 pixel font (with two rows below the baseline for descenders) for the few words
// drawn into the artwork. Capitals and digits stand on rows 0..6.
#pragma once

#include <string>

namespace artgen {

constexpr int kGlyphColumns = 5;
constexpr int kGlyphRows = 9;
constexpr int kGlyphAdvance = 6;  // columns from one letter to the next

struct Glyph {
    char ch;
    const char* rows[kGlyphRows];
};

// The glyph of a character; characters the font lacks draw as blanks. '^' is the degree sign.
const Glyph& GlyphFor(char ch);
bool FontHas(char ch);
int TextWidth(const std::string& text, int scale);

}  // namespace artgen
