#pragma once
// Texts of a dialog from the current language file: section = the dialog's
// resource number, key = the control identifier (the title's key is the
// resource number), with the built-in English text as default.
#include <windows.h>

#include <string>
#include <vector>

class CWnd;

// The longest text a language-file value gives (longer values are cut).
constexpr size_t kMaxLanguageText = 259;
// Height in pixels of a dialog's emphasised label when the file says nothing.
constexpr int kDefaultFontSize = 12;

// One value of the file, or builtIn when the file, section or key is missing;
// a key with an empty value gives an empty text.
std::string LookupText(const std::string& languageFile, const std::string& section,
                       const std::string& key, const std::string& builtIn);
std::string LookupText(const std::string& languageFile, int section, int key,
                       const std::string& builtIn);

// "FontSize" of section "Common"; 12 when missing or not a sensible pixel size.
int LookupFontSize(const std::string& languageFile);

struct DialogText {
    int controlId;
    std::string builtIn;
};

// Sets the dialog's title (key = sectionNumber) and the listed controls' texts.
void ApplyDialogTexts(CWnd& dialog, const std::string& languageFile, int sectionNumber,
                      const std::vector<DialogText>& texts, const std::string& builtInTitle);
