#include "view/Language.h"

#include "framework/File.h"

std::string ResolveLanguageFile(const std::string& moduleFolder, const std::string& languageIni) {
    std::string folder = moduleFolder;
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
    folder += kLanguageFolder;

    const std::string named = folder + languageIni;
    CFileStatus status;
    // A folder is no language file (an empty name would point at the folder itself).
    if (CFile::GetStatus(named, status) && !(status.m_attribute & FILE_ATTRIBUTE_DIRECTORY)) {
        return named;
    }
    return folder + kFallbackLanguageFile;
}
