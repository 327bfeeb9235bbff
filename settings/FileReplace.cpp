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

bool Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool ReadOnly(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// A bare file name is refused by the profile calls: there is nothing to stage.
bool HasFolder(const std::string& path) {
    return path.find_first_of("\\/") != std::string::npos;
}

}  // namespace

std::string StagingPath(const std::string& path) {
    return path + ".saving";
}

BOOL FileChange::Replace(const std::string& path,
                         std::initializer_list<std::span<const uint8_t>> parts) {
    const std::string staging = StagingPath(path);
    if (HasFolder(path) && !ReadOnly(path) && WriteParts(staging, parts)) {
        m_staged.push_back({path, true});
        return TRUE;
    }
    ::DeleteFileA(staging.c_str());
    return WriteParts(path, parts);
}

void FileChange::Edit(const std::string& path, const std::function<void(const std::string&)>& edit,
                      bool createNew) {
    const std::string staging = StagingPath(path);
    bool staged = false;
    if (!HasFolder(path)) {
        staged = false;
    } else if (createNew) {
        staged = ::DeleteFileA(staging.c_str()) || !Exists(staging);
    } else if (!ReadOnly(path)) {
        staged = ::CopyFileA(path.c_str(), staging.c_str(), FALSE) != 0;
    }
    if (!staged) return edit(path);
    edit(staging);
    m_staged.push_back({path, !createNew});
}

BOOL FileChange::Commit() {
    BOOL committed = TRUE;
    for (const Staged& file : m_staged) {
        const std::string staging = StagingPath(file.path);
        if (!committed) {
            ::DeleteFileA(staging.c_str());  // after a failure: dropped
            continue;
        }
        const DWORD flags = MOVEFILE_WRITE_THROUGH | (file.replace ? MOVEFILE_REPLACE_EXISTING : 0);
        if (::MoveFileExA(staging.c_str(), file.path.c_str(), flags)) continue;
        // A new file the host made meanwhile is kept; an existing one gets
        // the new content the slower way.
        if (file.replace || !Exists(file.path)) {
            if (!::CopyFileA(staging.c_str(), file.path.c_str(), FALSE)) {
                committed = FALSE;
                m_failedPath = file.path;
            }
        }
        ::DeleteFileA(staging.c_str());
    }
    m_staged.clear();
    return committed;
}

}  // namespace settings
