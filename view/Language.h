#pragma once
// The language file of this run, and the text lookups of the dialogs and the
// settings menu (LookupText, LookupFontSize, ApplyDialogTexts).
#include <string>

#include "dialogs/DialogText.h"

// The language folder below the program folder.
constexpr const char kLanguageFolder[] = "resources\\Lang\\";
constexpr const char kFallbackLanguageFile[] = "Default.ini";

// Program folder + "resources\Lang\" + the file named on the command line, or
// Default.ini in the same folder when no such file exists. Whether Default.ini
// exists is not checked: without it every lookup gives its built-in text.
std::string ResolveLanguageFile(const std::string& moduleFolder, const std::string& languageIni);
