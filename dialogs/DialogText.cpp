#include "dialogs/DialogText.h"

#include <string>

#include "framework/Wnd.h"
#include "settings/IniFile.h"

namespace {
// Larger values would make labels that no dialog can hold.
constexpr int kLargestFontSize = 200;
}  // namespace

std::string LookupText(const std::string& languageFile, const std::string& section,
                       const std::string& key, const std::string& builtIn) {
    return GetIniString(section.c_str(), key.c_str(), builtIn.c_str(), languageFile);
}

std::string LookupText(const std::string& languageFile, int section, int key,
                       const std::string& builtIn) {
    return LookupText(languageFile, std::to_string(section), std::to_string(key), builtIn);
}

int LookupFontSize(const std::string& languageFile) {
    const int size = GetIniInt("Common", "FontSize", kDefaultFontSize, languageFile);
    if (size < 1 || size > kLargestFontSize) return kDefaultFontSize;
    return size;
}

void ApplyDialogTexts(CWnd& dialog, const std::string& languageFile, int sectionNumber,
                      const std::vector<DialogText>& texts, const std::string& builtInTitle) {
    if (!dialog.m_hWnd) return;
    const std::string section = std::to_string(sectionNumber);
    const std::string title =
        LookupText(languageFile, section, std::to_string(sectionNumber), builtInTitle);
    ::SetWindowTextA(dialog.m_hWnd, title.c_str());
    for (const DialogText& text : texts) {
        const std::string value =
            LookupText(languageFile, section, std::to_string(text.controlId), text.builtIn);
        ::SetDlgItemTextA(dialog.m_hWnd, text.controlId, value.c_str());
    }
}
