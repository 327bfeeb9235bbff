#pragma once
// Saving files so that a process killed at any moment leaves each of them
// with its old or its new content, never a part of each: new content is
// written to a staging file beside the file ("<name>.saving"), which then
// takes the file's place in one rename. A change that spans several files
// (a mask and the settings that give its size) stages them all first and
// renames them one right after the other, so that a kill can split the
// change only between two renames.
// Where a staging file cannot be made (a read-only file), the file is
// written in place as it always was; where it cannot take the file's place
// (a reader holding the file without delete sharing), its content is copied
// over the file.
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

namespace settings {

std::string StagingPath(const std::string& path);

class FileChange {
  public:
    FileChange() = default;
    FileChange(const FileChange&) = delete;
    FileChange& operator=(const FileChange&) = delete;
    ~FileChange() { Commit(); }

    // The parts, one after another, as the file's whole new content.
    BOOL Replace(const std::string& path, std::initializer_list<std::span<const uint8_t>> parts);

    // For files written through other calls (the private-profile functions):
    // edit(file) changes the file it is given, a staging copy of the file or,
    // without one, the file itself. createNew: the file does not exist yet,
    // and one that appears meanwhile (made by the host) is kept.
    void Edit(const std::string& path, const std::function<void(const std::string&)>& edit,
              bool createNew = false);

    // Moves every staged file into its place, in the order they were staged.
    // FALSE when one could not take its place: the files staged after it are
    // then dropped, so the caller knows that nothing after FailedPath() changed.
    BOOL Commit();
    const std::string& FailedPath() const { return m_failedPath; }

  private:
    struct Staged {
        std::string path;
        bool replace;
    };
    std::vector<Staged> m_staged;
    std::string m_failedPath;
};

}  // namespace settings
