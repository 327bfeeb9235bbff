#include "settings/FileReplace.h"

#include "framework/File.h"

namespace settings {
namespace {

BOOL WriteParts(const std::string& path, std::initializer_list<std::span<const uint8_t>> parts) {
    CFile file;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary)) return FALSE;
    for (const auto part : parts) {
        if (!file.Write(part.data(), static_cast<UINT>(part.size()))) return FALSE;
    }
    return TRUE;
}

bool ReadOnly(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// Moves the staging file into the file's place; on failure removes it.
bool TakePlace(const std::string& staging, const std::string& path, bool replace) {
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (::MoveFileExA(staging.c_str(), path.c_str(), flags)) return true;
    ::DeleteFileA(staging.c_str());
    return false;
}

}  // namespace

std::string StagingPath(const std::string& path) {
    return path + ".saving";
}

BOOL ReplaceFileContent(const std::string& path,
                        std::initializer_list<std::span<const uint8_t>> parts) {
    const std::string staging = StagingPath(path);
    if (!ReadOnly(path) && WriteParts(staging, parts) && TakePlace(staging, path, true)) {
        return TRUE;
    }
    ::DeleteFileA(staging.c_str());
    return WriteParts(path, parts);
}

void EditFileReplacing(const std::string& path, const std::function<void(const std::string&)>& edit,
                       bool createNew) {
    // A bare file name is refused by the profile calls; there is nothing to stage.
    if (path.find_first_of("\\/") == std::string::npos) return edit(path);
    const std::string staging = StagingPath(path);
    bool staged = false;
    if (createNew) {
        ::DeleteFileA(staging.c_str());
        staged = true;
    } else if (!ReadOnly(path)) {
        staged = ::CopyFileA(path.c_str(), staging.c_str(), FALSE) != 0;
    }
    if (staged) {
        edit(staging);
        if (TakePlace(staging, path, !createNew)) return;
        if (createNew && ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return;
    }
    edit(path);
}

}  // namespace settings
