#pragma once
// Saving a file so that a process killed at any moment leaves either its old
// or its new content, never a part of each: the new content is written to a
// staging file beside it ("<name>.saving"), which then takes the file's
// place in one rename. Where the staging file cannot be made or cannot take
// the file's place (a read-only file, a reader that holds the file without
// delete sharing), the file is written in place as it always was.
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <span>
#include <string>

namespace settings {

std::string StagingPath(const std::string& path);

// Writes the parts, one after another, as the file's whole new content.
BOOL ReplaceFileContent(const std::string& path,
                        std::initializer_list<std::span<const uint8_t>> parts);

// For files written through other calls (the private-profile functions):
// edit(file) changes the file it is given. It is first given a staging copy
// of the file, which then replaces the file; without a copy it is given the
// file itself. createNew: the file does not exist yet, and one that appears
// meanwhile (made by the host) is kept.
void EditFileReplacing(const std::string& path, const std::function<void(const std::string&)>& edit,
                       bool createNew = false);

}  // namespace settings
